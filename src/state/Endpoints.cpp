// SPDX-License-Identifier: GPL-3.0-or-later

#include "state/Endpoints.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

namespace {

// The help page shipped with the program: installed under share/ beside its
// bin/, or in the source tree for a program run from its build tree.
QString helpPageUrl()
{
    const QFileInfo installed(QCoreApplication::applicationDirPath() +
                              QStringLiteral("/../share/tollwick/help/index.html"));
    const QString page = installed.exists()
                             ? installed.canonicalFilePath()
                             : QStringLiteral(TOLLWICK_SOURCE_DIR "/help/index.html");
    return QUrl::fromLocalFile(page).toString();
}

} // namespace

Endpoints Endpoints::service()
{
    return {
        .PersonalHomeUrl = QStringLiteral("https://my.alipay.com/portal/i.htm"),
        .PortalHomeUrl = QStringLiteral("https://my.alipay.com/portal/home.htm"),
        .MerchantHomeUrl = QStringLiteral("https://shanghu.alipay.com/home/i.htm"),
        .AccountRootUrl = QStringLiteral("https://my.alipay.com"),
        .RecordQueryUrl = QStringLiteral("https://consumeprod.alipay.com/record/standard.htm?") +
                          RecordQueryStart,
        .HelpPageUrl = helpPageUrl(),
        .DefaultNotifyUrl = QStringLiteral("http://localhost/notify.php"),
    };
}

QStringList Endpoints::homePagePrefixes() const
{
    return {PersonalHomeUrl.left(HomePrefixLength), PortalHomeUrl.left(HomePrefixLength),
            MerchantHomeUrl.left(HomePrefixLength)};
}

QString Endpoints::validationError() const
{
    if (PersonalHomeUrl.size() != HomePrefixLength)
        return QStringLiteral("PersonalHomeUrl must be exactly %1 characters long, not %2: %3")
            .arg(HomePrefixLength)
            .arg(PersonalHomeUrl.size())
            .arg(PersonalHomeUrl);
    return {};
}
