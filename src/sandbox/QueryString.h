// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QHash>

// A query string or form body read the way PHP fills $_GET and $_POST:
// pairs split on '&' and the first '=', '+' standing for a space, escapes
// decoded to raw bytes (what they mean depends on the site's charset).
class QueryString {
public:
    static QueryString parse(const QByteArray& raw);

    // The last value given for `name`; empty when it is missing.
    QByteArray value(const QByteArray& name) const;

private:
    // A later value for a name takes the place of an earlier one.
    QHash<QByteArray, QByteArray> m_pairs;
};
