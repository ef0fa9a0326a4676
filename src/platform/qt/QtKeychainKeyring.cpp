// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtKeychainKeyring.h"

#include <qt6keychain/keychain.h>

namespace {

const QString Service = QStringLiteral("tollwick");

} // namespace

void QtKeychainKeyring::read(const QString& name, std::function<void(const Reading&)> done)
{
    auto* job = new QKeychain::ReadPasswordJob(Service);
    job->setKey(name);
    QObject::connect(job, &QKeychain::Job::finished, job, [job, done](QKeychain::Job*) {
        // A missing entry is an answer too; any other error means that no
        // keyring answered.
        if (job->error() == QKeychain::NoError)
            done({true, job->textData()});
        else
            done({job->error() == QKeychain::EntryNotFound, std::nullopt});
    });
    job->start();
}

void QtKeychainKeyring::write(const QString& name, const QString& secret,
                              std::function<void(bool stored)> done)
{
    auto* job = new QKeychain::WritePasswordJob(Service);
    job->setKey(name);
    job->setTextData(secret);
    QObject::connect(job, &QKeychain::Job::finished, job,
                     [job, done](QKeychain::Job*) { done(job->error() == QKeychain::NoError); });
    job->start();
}

void QtKeychainKeyring::remove(const QString& name)
{
    auto* job = new QKeychain::DeletePasswordJob(Service);
    job->setKey(name);
    job->start();
}
