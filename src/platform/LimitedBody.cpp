// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/LimitedBody.h"

#include <algorithm>

namespace {

QByteArrayView lastBytes(QByteArrayView bytes, qsizetype count)
{
    return bytes.last(std::min(count, bytes.size()));
}

} // namespace

LimitedBody::LimitedBody(BodyLimit limit)
    : m_limit(std::move(limit))
{
}

bool LimitedBody::take(QByteArrayView piece)
{
    m_read += piece.size();
    if (m_read > m_limit.readAtMost)
        return false;
    const qsizetype room = std::max<qsizetype>(0, m_limit.keep - m_kept.size());
    const qsizetype keptSize = std::min(room, piece.size());
    m_kept.append(piece.first(keptSize));
    lookThrough(piece, keptSize);
    return true;
}

void LimitedBody::lookThrough(QByteArrayView piece, qsizetype keptSize)
{
    const QByteArrayView sought = m_limit.sought;
    if (sought.isEmpty() || m_soughtInRest)
        return;
    const qsizetype carried = sought.size() - 1;
    const QByteArrayView rest = piece.sliced(keptSize);
    if (!rest.isEmpty()) {
        // A word that begins in the bytes before the rest runs on into it.
        const QByteArray before =
            QByteArray(m_tail).append(lastBytes(piece.first(keptSize), carried)).right(carried);
        const QByteArray seam =
            QByteArray(before).append(rest.first(std::min(carried, rest.size())));
        m_soughtInRest = seam.contains(sought) || rest.contains(sought);
    }
    m_tail = QByteArray(m_tail).append(lastBytes(piece, carried)).right(carried);
}

HttpAnswer LimitedBody::answer(int status, const QString& address) const
{
    return {status, address, m_kept, m_read > m_limit.keep, m_soughtInRest};
}
