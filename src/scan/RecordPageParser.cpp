// SPDX-License-Identifier: GPL-3.0-or-later

#include "scan/RecordPageParser.h"

#include <algorithm>

namespace {

constexpr QStringView TradeNoMarker = u"tradeNo=";
constexpr QStringView TitleMarker = u"title=";
constexpr QStringView AmountMarker = u"<span class=\"amount-pay-";
constexpr QStringView AmountEnd = u"</span>";
constexpr qsizetype TradeNoLength = 28;

// The text from `offset` on; nothing when that is past its end, where a fixed
// count after a marker (or after -1 for a missing one) can reach.
std::optional<QStringView> from(QStringView text, qsizetype offset)
{
    if (offset > text.size())
        return std::nullopt;
    return text.sliced(offset);
}

// The text before the first `marker`; nothing when there is none.
std::optional<QStringView> upTo(QStringView text, QStringView marker)
{
    const qsizetype end = text.indexOf(marker);
    if (end < 0)
        return std::nullopt;
    return text.first(end);
}

} // namespace

std::optional<QString> ExtractAmount(QStringView afterTitle)
{
    // The marker, then `in">+` (or `out">`). Without a marker the count
    // still applies, from the start.
    const qsizetype markerAt = afterTitle.indexOf(AmountMarker);
    const auto figure = from(afterTitle, markerAt + AmountMarker.size() + 5);
    if (!figure)
        return std::nullopt;
    const auto amount = upTo(*figure, AmountEnd);
    if (!amount)
        return std::nullopt;
    return amount->toString();
}

std::optional<TradeCut> CutTradeRecord(QStringView remaining)
{
    const qsizetype tradeNoAt = remaining.indexOf(TradeNoMarker);
    if (tradeNoAt < 0)
        return std::nullopt;

    // Starts two characters into the marker, with "adeNo=".
    const QStringView fromMarker = remaining.sliced(tradeNoAt + 2);
    // Skips the title's opening quote as well; with no title marker, the
    // count runs from the start.
    const auto afterTitle =
        from(fromMarker, fromMarker.indexOf(TitleMarker) + TitleMarker.size() + 1);
    if (!afterTitle)
        return std::nullopt;

    // The 28 characters that end 34 into the text; its last ones where it is shorter.
    const QStringView head = fromMarker.first(std::min<qsizetype>(fromMarker.size(), 34));
    const QStringView tradeNo = head.last(std::min(head.size(), TradeNoLength));
    const auto title = upTo(*afterTitle, u"\"");
    const auto amount = ExtractAmount(*afterTitle);
    // Every record carries its trade number a second time after the title;
    // the next cut starts on that number's last digit, past the marker. The
    // payer types the title, so a "tradeNo=" inside it must not pass for the
    // second marker: the marker followed by this record's own number does.
    qsizetype secondMarkerAt = afterTitle->indexOf(TradeNoMarker.toString().append(tradeNo));
    if (secondMarkerAt < 0)
        secondMarkerAt = afterTitle->indexOf(TradeNoMarker);
    const auto remainder =
        from(*afterTitle, secondMarkerAt + TradeNoMarker.size() + TradeNoLength - 1);
    if (!title || !amount || !remainder)
        return std::nullopt;

    return TradeCut{{tradeNo.toString(), title->toString(), *amount}, *remainder};
}
