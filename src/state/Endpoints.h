// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// The addresses the program works with. It talks to the real
// service; tests and the sandbox point them at local servers.
struct Endpoints {
    // Home pages are recognised by the first 34 characters of the address.
    static constexpr qsizetype HomePrefixLength = 34;
    // The record page's query as the service takes it, up to the first date.
    static inline const QString RecordQueryStart = QStringLiteral(
        "_input_charset=utf-8&tradeType=all&status=success&fundFlow=in&beginTime=00%3A00"
        "&dateType=createDate&endTime=24%3A00&dateRange=customDate&beginDate=");

    QString PersonalHomeUrl;
    QString PortalHomeUrl;
    QString MerchantHomeUrl;
    QString AccountRootUrl;
    // The record page's query, up to the first date.
    QString RecordQueryUrl;
    QString HelpPageUrl;
    QString DefaultNotifyUrl;

    static Endpoints service();

    QStringList homePagePrefixes() const;
    // Empty when the configuration can be used. PersonalHomeUrl must be a
    // whole prefix: a home page is recognised by the first 34 characters of
    // its address, and the personal home page by all of its own.
    QString validationError() const;
};
