// SPDX-License-Identifier: GPL-3.0-or-later

#include "ReferenceCut.h"

namespace {

const QString TradeNoMarker = QStringLiteral("tradeNo=");
const QString TitleMarker = QStringLiteral("title=");
const QString AmountMarker = QStringLiteral("<span class=\"amount-pay-");
const QString AmountEnd = QStringLiteral("</span>");

// 1-based; 0 when absent.
qsizetype position(const QString& text, const QString& marker)
{
    return text.indexOf(marker) + 1;
}

// Nothing when `count` is more than there are characters.
std::optional<QString> withoutFirst(const QString& text, qsizetype count)
{
    if (count > text.size())
        return std::nullopt;
    return text.mid(count);
}

std::optional<QString> firstCharacters(const QString& text, qsizetype count)
{
    if (count < 0)
        return std::nullopt;
    return text.left(count);
}

} // namespace

namespace ReferenceCut {

std::optional<QString> extractAmount(const QString& afterTitle)
{
    const qsizetype markerAt = position(afterTitle, AmountMarker);
    const auto figure = withoutFirst(afterTitle, markerAt + AmountMarker.size() + 4);
    if (!figure)
        return std::nullopt;
    return firstCharacters(*figure, position(*figure, AmountEnd) - 1);
}

std::optional<Cut> cutTradeRecord(const QString& remaining)
{
    const qsizetype tradeNoAt = position(remaining, TradeNoMarker);
    if (tradeNoAt == 0)
        return std::nullopt;

    const QString fromMarker = remaining.mid(tradeNoAt + 1);
    const qsizetype titleAt = position(fromMarker, TitleMarker);
    const auto afterTitle = withoutFirst(fromMarker, titleAt + TitleMarker.size());
    if (!afterTitle)
        return std::nullopt;

    const QString tradeNo = fromMarker.left(34).right(28);
    const auto title =
        firstCharacters(*afterTitle, position(*afterTitle, QStringLiteral("\"")) - 1);
    const auto amount = extractAmount(*afterTitle);
    qsizetype secondMarkerAt = position(*afterTitle, TradeNoMarker + tradeNo);
    if (secondMarkerAt == 0)
        secondMarkerAt = position(*afterTitle, TradeNoMarker);
    const auto remainder = withoutFirst(*afterTitle, secondMarkerAt + TradeNoMarker.size() + 26);
    if (!title || !amount || !remainder)
        return std::nullopt;

    return Cut{TradeRecord{tradeNo, *title, *amount}, *remainder};
}

} // namespace ReferenceCut
