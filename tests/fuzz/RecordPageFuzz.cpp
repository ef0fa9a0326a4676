// SPDX-License-Identifier: GPL-3.0-or-later

#include "ReferenceCut.h"

#include "platform/CharsetLabels.h"
#include "scan/NotificationAddress.h"
#include "scan/RecordPageParser.h"
#include "web/EncodingConvertor.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// The input is "LABEL\nDELIVERY URL\nKEY\nPAGE": the page's bytes are decoded
// in the charset LABEL names, as the program decodes a fetched page, and every
// record cut from it is put into a notification address with the URL and the
// key, in the same charset. Lines keep the seeds readable and let the fuzzer
// reach any charset label, not only those in the dictionary.

// Aborts, so that libFuzzer keeps the input, also in builds without asserts.
#define REQUIRE(condition)                                                                         \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);           \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace {

QByteArrayView takeLine(QByteArrayView& input)
{
    const qsizetype end = input.indexOf('\n');
    const QByteArrayView line = end < 0 ? input : input.first(end);
    input = end < 0 ? QByteArrayView() : input.sliced(end + 1);
    return line;
}

QString decodedPage(const QByteArray& body, const QString& label)
{
    const QString text = EncodingConvertor(body, label);
    // A page in a charset nobody can name must not be read as some other one.
    if (encodingForLabel(label).isEmpty())
        REQUIRE(text.isEmpty());
    return text;
}

// Cuts until no record is left, holding every cut to the reference, and
// returns the records.
QList<TradeRecord> cutEveryRecord(const QString& page)
{
    QList<TradeRecord> records;
    QStringView remaining = page;
    QString expectedRemaining = page;
    for (;;) {
        const auto cut = CutTradeRecord(remaining);
        const auto expected = ReferenceCut::cutTradeRecord(expectedRemaining);
        REQUIRE(cut.has_value() == expected.has_value());
        if (!cut)
            return records;
        REQUIRE(cut->record == expected->record);
        REQUIRE(cut->remainder == expected->remainder);
        // A proper suffix, so a scan that cuts again and again always ends,
        // and a view of the page rather than a copy.
        REQUIRE(cut->remainder.size() < remaining.size());
        REQUIRE(cut->remainder.data() + cut->remainder.size() ==
                remaining.data() + remaining.size());
        records.append(cut->record);
        remaining = cut->remainder;
        expectedRemaining = expected->remainder;
    }
}

void checkAddress(const QString& deliveryUrl, const QString& key, const TradeRecord& record,
                  const QString& charset)
{
    const QString address = notificationAddress(deliveryUrl, key, record, charset);
    QString typedUrl = deliveryUrl;
    typedUrl.removeIf([](QChar c) { return c == u'\t' || c == u'\r' || c == u'\n'; });
    REQUIRE(address.startsWith(typedUrl));

    // Exactly four fields in their order: a raw '&' in a value would add one.
    const QList<QStringView> fields = QStringView(address).sliced(typedUrl.size()).split(u'&');
    REQUIRE(fields.size() == 4);
    const QStringView names[] = {u"?act=", u"jine=", u"tradeno=", u"title="};
    for (int i = 0; i < 4; ++i) {
        REQUIRE(fields[i].startsWith(names[i]));
        const QStringView value = fields[i].sliced(names[i].size());
        REQUIRE(!value.contains(u'#') && !value.contains(u' '));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArrayView input(data, qsizetype(size));
    const QString label = QString::fromUtf8(takeLine(input));
    const QString deliveryUrl = QString::fromUtf8(takeLine(input));
    const QString key = QString::fromUtf8(takeLine(input));
    const QByteArray body = input.toByteArray();

    // A page no charset could decode is still cut, read as UTF-8.
    QString page = decodedPage(body, label);
    if (page.isEmpty())
        page = QString::fromUtf8(body);

    REQUIRE(ExtractAmount(page) == ReferenceCut::extractAmount(page));
    const QList<TradeRecord> records = cutEveryRecord(page);
    // A scan delivers no more records than these; sending every record of a
    // page packed with them would only slow the run down.
    for (const TradeRecord& record : records.first(std::min<qsizetype>(records.size(), 12)))
        checkAddress(deliveryUrl, key, record, label);
    // Arbitrary text as every value, also where the page holds no record.
    checkAddress(deliveryUrl, key, TradeRecord{page, page, page}, label);
    return 0;
}
