#pragma once

#include <QString>
#include <QStringList>

// The addresses the program works with. It talks to the real
// service; tests and the sandbox point them at local servers.
struct Endpoints {
    // Home pages are recognised by the first 34 characters of the address.
    static constexpr qsizetype HomePrefixLength = 34;

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
    // whole prefix: it is written into the page box to make a waiting fetch
    // give up, and a longer or shorter text would never match.
    QString validationError() const;
};
