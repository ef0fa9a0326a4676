// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scan/TradeRecord.h"

#include <QString>

// The shop's delivery URL with the payment in its query: act (the interface
// key), jine (amount), tradeno and title. Each value is percent-encoded as
// bytes of the shop's charset, so a site that decodes its query sees exactly
// what the record page held, whatever the customer typed as title. The URL
// itself is used as typed, less tabs and line breaks.
QString notificationAddress(const QString& deliveryUrl, const QString& key,
                            const TradeRecord& record, const QString& shopCharset);

// `address` as built above, with the interface key's value replaced by "***",
// for anything that keeps or shows addresses.
QString withoutKey(const QString& address);

// `text`, a shop's reply, with every form of `key` a shop may echo replaced by
// "***": as it is, HTML-escaped, and percent-encoded as the address above
// writes it in the shop's charset and in UTF-8, a space also written as '+'.
QString withoutEchoedKey(QString text, const QString& key, const QString& shopCharset);
