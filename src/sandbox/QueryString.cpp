// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/QueryString.h"

namespace {

QByteArray decoded(QByteArray text)
{
    return QByteArray::fromPercentEncoding(text.replace('+', ' '));
}

} // namespace

QueryString QueryString::parse(const QByteArray& raw)
{
    QueryString query;
    for (const QByteArray& pair : raw.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype equals = pair.indexOf('=');
        if (equals < 0)
            query.m_pairs.insert(decoded(pair), QByteArray());
        else
            query.m_pairs.insert(decoded(pair.left(equals)), decoded(pair.mid(equals + 1)));
    }
    return query;
}

QByteArray QueryString::value(const QByteArray& name) const
{
    return m_pairs.value(name);
}
