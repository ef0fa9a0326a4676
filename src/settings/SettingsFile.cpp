// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/SettingsFile.h"

#include "alerts/AlertServices.h"
#include "alerts/AlertSettings.h"
#include "platform/PrivateFile.h"
#include "settings/SecretStore.h"

#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardPaths>

#include <memory>

namespace {

const QString KindKey = QStringLiteral("alerts/kind");
const QString AddressKey = QStringLiteral("alerts/address");
const QString SecretKey = QStringLiteral("alerts/secret");
const QString BodyKey = QStringLiteral("alerts/body");
const QString ContentTypeKey = QStringLiteral("alerts/contentType");
const QString HeartbeatKey = QStringLiteral("alerts/heartbeat");
const QString EachDeliveryKey = QStringLiteral("alerts/notifyEachDelivery");
// "HH:mm", or empty while off.
const QString DailySummaryKey = QStringLiteral("alerts/dailySummary");
const QString TimeFormat = QStringLiteral("HH:mm");
// How earlier versions told a GET from a POST of JSON.
const QString MethodKey = QStringLiteral("alerts/method");

} // namespace

SettingsFile::SettingsFile(AlertSettings& settings, SecretStore& secrets, const QString& path,
                           const QString& earlierPath, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_secrets(secrets)
    , m_path(path)
{
    moveIn(earlierPath);
    load();
    loadSecrets();
    connect(&settings, &AlertSettings::changed, this, &SettingsFile::save);
}

QString SettingsFile::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tollwick/tollwick.conf");
}

QString SettingsFile::earlierDefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Unknown Organization/tollwick.conf");
}

void SettingsFile::moveIn(const QString& earlierPath)
{
    if (QFile::exists(m_path) || !QFile::exists(earlierPath) ||
        !makePrivateFile(m_path, "Alert settings"))
        return;
    const QSettings earlier(earlierPath, QSettings::IniFormat);
    QSettings file(m_path, QSettings::IniFormat);
    for (const QString& key : earlier.allKeys())
        file.setValue(key, earlier.value(key));
    file.sync();
    if (file.status() == QSettings::NoError)
        QFile::remove(earlierPath);
}

void SettingsFile::load()
{
    QSettings file(m_path, QSettings::IniFormat);
    AlertChannel channel;
    channel.body = file.value(BodyKey).toString();
    channel.contentType = file.value(ContentTypeKey).toString() == u"form"
                              ? AlertChannel::ContentType::Form
                              : AlertChannel::ContentType::Json;
    if (const auto kind = channelKindNamed(file.value(KindKey).toString())) {
        channel.kind = *kind;
    } else if (file.value(MethodKey).toString() == u"post-json") {
        channel.kind = AlertChannel::Kind::CustomPost;
        channel.body = DefaultPostBody;
    }
    // Set without a signal: what was just read needs no saving.
    const QSignalBlocker quiet(m_settings);
    m_settings.setLoaded(false);
    m_settings.setChannel(channel);
    m_settings.setNotifyEachDelivery(file.value(EachDeliveryKey, true).toBool());
    const QTime summary = QTime::fromString(file.value(DailySummaryKey).toString(), TimeFormat);
    m_settings.setDailySummary(summary.isValid() ? std::optional(summary) : std::nullopt);
    if (file.contains(MethodKey) && makePrivateFile(m_path, "Alert settings")) {
        file.remove(MethodKey);
        file.setValue(KindKey, channelKindName(channel.kind));
        file.setValue(BodyKey, channel.body);
    }
}

void SettingsFile::loadSecrets()
{
    // Each answer fills its part; the settings are whole once all three came.
    auto channel = std::make_shared<AlertChannel>(m_settings.channel());
    auto heartbeat = std::make_shared<QString>();
    auto answers = std::make_shared<int>(0);
    QPointer<SettingsFile> self(this);
    const auto read = [&](const QString& key, QString* part) {
        m_secrets.read(key, [self, channel, heartbeat, answers, part](const QString& secret) {
            *part = secret;
            if (++*answers < 3 || !self)
                return;
            {
                const QSignalBlocker quiet(self->m_settings);
                self->m_settings.setChannel(*channel);
                self->m_settings.setHeartbeatAddress(*heartbeat);
            }
            self->m_settings.setLoaded(true);
        });
    };
    read(AddressKey, &channel->address);
    read(SecretKey, &channel->secret);
    read(HeartbeatKey, heartbeat.get());
}

void SettingsFile::save()
{
    // Half-read settings must not overwrite what is kept.
    if (!m_settings.loaded() || !makePrivateFile(m_path, "Alert settings"))
        return;
    const AlertChannel channel = m_settings.channel();
    {
        QSettings file(m_path, QSettings::IniFormat);
        file.setValue(KindKey, channelKindName(channel.kind));
        file.setValue(BodyKey, channel.body);
        file.setValue(ContentTypeKey, channel.contentType == AlertChannel::ContentType::Form
                                          ? QStringLiteral("form")
                                          : QStringLiteral("json"));
        file.setValue(EachDeliveryKey, m_settings.notifyEachDelivery());
        const std::optional<QTime> summary = m_settings.dailySummary();
        file.setValue(DailySummaryKey, summary ? summary->toString(TimeFormat) : QString());
    }
    m_secrets.write(AddressKey, channel.address);
    m_secrets.write(SecretKey, channel.secret);
    m_secrets.write(HeartbeatKey, m_settings.heartbeatAddress());
}
