// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

// The beginning of a reply kept for the owner to read, in characters.
constexpr qsizetype ReplyExcerptLength = 200;

#include "platform/HttpClient.h"

#include <QByteArray>
#include <QByteArrayView>

// An answer's body taken piece by piece as it arrives, under a BodyLimit:
// its beginning kept, the rest looked through for the sought bytes and let
// go. Both HTTP clients read through it.
class LimitedBody {
public:
    explicit LimitedBody(BodyLimit limit);

    // Takes the next piece. False once the body has run past the limit's
    // readAtMost: reading must end, and the request fails.
    bool take(QByteArrayView piece);
    // The answer with what was taken as its body.
    HttpAnswer answer(int status, const QString& address) const;

private:
    void lookThrough(QByteArrayView piece, qsizetype keptSize);

    BodyLimit m_limit;
    QByteArray m_kept;
    qint64 m_read = 0;
    // The last bytes read, as many as a sought word may have begun in.
    QByteArray m_tail;
    bool m_soughtInRest = false;
};
