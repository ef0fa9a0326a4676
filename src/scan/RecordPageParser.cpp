#include "scan/RecordPageParser.h"

namespace {

const QString TradeNoMarker = QStringLiteral("tradeNo=");
const QString TitleMarker = QStringLiteral("title=");
const QString AmountMarker = QStringLiteral("<span class=\"amount-pay-");
const QString AmountEnd = QStringLiteral("</span>");

// The counts below are those of the page format, written with 1-based
// positions where 0 means "not found".
qsizetype position(const QString& text, const QString& marker)
{
    return text.indexOf(marker) + 1;
}

qsizetype position(const QString& text, QChar marker)
{
    return text.indexOf(marker) + 1;
}

// Removes the first `count` characters; nothing when that is more than there are.
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

std::optional<QString> ExtractAmount(const QString& afterTitle)
{
    // The marker, then the five characters `in">+` (or `out">-`'s first five).
    const qsizetype markerAt = position(afterTitle, AmountMarker);
    const auto figure = withoutFirst(afterTitle, markerAt + AmountMarker.size() + 4);
    if (!figure)
        return std::nullopt;
    return firstCharacters(*figure, position(*figure, AmountEnd) - 1);
}

std::optional<TradeCut> CutTradeRecord(const QString& remaining)
{
    const qsizetype tradeNoAt = position(remaining, TradeNoMarker);
    if (tradeNoAt == 0)
        return std::nullopt;

    // Starts two characters into the marker, with "adeNo=".
    const QString fromMarker = remaining.mid(tradeNoAt + 1);
    const qsizetype titleAt = position(fromMarker, TitleMarker);
    // Skips the title's opening quote as well.
    const auto afterTitle = withoutFirst(fromMarker, titleAt + TitleMarker.size());
    if (!afterTitle)
        return std::nullopt;

    const QString tradeNo = fromMarker.left(34).right(28);
    const auto title = firstCharacters(*afterTitle, position(*afterTitle, QChar(u'"')) - 1);
    const auto amount = ExtractAmount(*afterTitle);
    // Every record carries its trade number a second time after the title;
    // the next cut starts on that number's last digit, past the marker. The
    // payer types the title, so a "tradeNo=" inside it must not pass for the
    // second marker: the marker followed by this record's own number does.
    qsizetype secondMarkerAt = position(*afterTitle, TradeNoMarker + tradeNo);
    if (secondMarkerAt == 0)
        secondMarkerAt = position(*afterTitle, TradeNoMarker);
    const auto remainder = withoutFirst(*afterTitle, secondMarkerAt + TradeNoMarker.size() + 26);
    if (!title || !amount || !remainder)
        return std::nullopt;

    TradeRecord record;
    record.TradeNo = tradeNo;
    record.Title = *title;
    record.Amount = *amount;
    return TradeCut{record, *remainder};
}
