// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/CharsetRegistry.h"
#include "platform/CharsetLabels.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <algorithm>
#include <iterator>

namespace {

struct Probe {
    const char* encoding;
    const char* hexBytes;
    const char16_t* text;
};

// Bytes each encoding must decode to the text beside them, chosen so that a
// near miss (Latin-1 for windows-1252, ICU's strict gb2312 for gbk, Big5
// without the Hong Kong supplement) decodes them differently.
const Probe probes[] = {
    {"utf-8", "efbbbfe99595e791a2", u"镕瑢"}, // the byte order mark is dropped
    {"utf-16be", "95557462", u"镕瑢"},
    {"utf-16le", "55956274", u"镕瑢"},
    {"ibm866", "8fe0a8a2a5e2", u"Привет"},
    {"iso-8859-2", "a3f364bc", u"Łódź"},
    {"iso-8859-3", "a1f5bf", u"Ħġż"},
    {"iso-8859-4", "d3efb6", u"Ķīļ"},
    {"iso-8859-5", "bfe0d8d2d5e2", u"Привет"},
    {"iso-8859-6", "d3e4c7e5", u"سلام"},
    {"iso-8859-7", "c5ebebdce4e1a4", u"Ελλάδα€"},
    {"iso-8859-8", "f9ece5ed", u"שלום"},
    {"iso-8859-8-i", "f9ece5ed", u"שלום"},
    {"iso-8859-10", "afbb", u"Ŋŧ"},
    {"iso-8859-13", "a5e0f8a1", u"„ąų”"},
    {"iso-8859-14", "d0fe", u"Ŵŷ"},
    {"iso-8859-15", "a4bd", u"€œ"},
    {"koi8-r", "f0d2c9d7c5d4", u"Привет"},
    {"koi8-u", "b7d6c1cb", u"Їжак"},
    {"macintosh", "6361668eaa", u"café™"},
    {"windows-874", "e4b7c280", u"ไทย€"},
    {"windows-1250", "a3f3649f80", u"Łódź€"},
    {"windows-1251", "cff0e8e2e5f288", u"Привет€"},
    {"windows-1252", "80e9", u"€é"},
    {"windows-1253", "c5ebebdce4e1", u"Ελλάδα"},
    {"windows-1254", "f0fdfe", u"ğış"},
    {"windows-1255", "f9ece5eda4", u"שלום₪"},
    {"windows-1256", "d3e1c7e3", u"سلام"},
    {"windows-1257", "e0f880", u"ąų€"},
    {"windows-1258", "5669eaf274", u"Viê\u0323t"},
    {"x-mac-cyrillic", "8ff0e8e2e5f2", u"Привет"},
    {"gbk", "e946ac8c80", u"镕瑢€"},
    {"gb18030", "e94695328236", u"镕𠀀"},
    {"big5", "a4a4a4e59df8", u"中文啲"},
    {"euc-jp", "c6fccbdc8eb18fb0a1", u"日本ｱ丂"},
    {"iso-2022-jp", "1b2442467c4b5c1b2842", u"日本"},
    {"shift_jis", "93fa967b5c8740", u"日本\\①"},
    {"euc-kr", "c7d1b1b98141", u"한국갂"},
};

const QStringList refusedEncodings{u"replacement"_qs, u"x-user-defined"_qs, u"iso-8859-16"_qs};

} // namespace

class CharsetRegistryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void labelsOfTheStandard_data();
    void labelsOfTheStandard();
    void otherNamesAreRefused_data();
    void otherNamesAreRefused();
    void queriesAreEncodedAsBrowsersSendThem_data();
    void queriesAreEncodedAsBrowsersSendThem();
};

void CharsetRegistryTest::labelsOfTheStandard_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("encoding");
    QFile file(QStringLiteral(TOLLWICK_ENCODINGS_JSON));
    QVERIFY2(file.open(QIODevice::ReadOnly), TOLLWICK_ENCODINGS_JSON);
    QJsonArray encodings{
        QJsonObject{{"name", "gbk"}, {"labels", QJsonArray{"cp936", "windows-936"}}}};
    for (const QJsonValue& heading : QJsonDocument::fromJson(file.readAll()).array())
        for (const QJsonValue& encoding : heading["encodings"].toArray())
            encodings.append(encoding);
    QVERIFY(encodings.size() > 40);
    for (const QJsonValue& encoding : encodings) {
        for (const QJsonValue& labelValue : encoding["labels"].toArray()) {
            const QString label = labelValue.toString();
            const QString name = encoding["name"].toString();
            QTest::addRow("%s", qPrintable(label)) << label << name;
            if (label.toUpper() != label)
                QTest::addRow("%s", qPrintable(label.toUpper())) << label.toUpper() << name;
            QTest::addRow("%s with blanks", qPrintable(label)) << "\t\n\f\r " + label + " \r\n"
                                                               << name;
        }
    }
}

void CharsetRegistryTest::labelsOfTheStandard()
{
    QFETCH(QString, label);
    QFETCH(QString, encoding);
    QCOMPARE(encodingForLabel(label), encoding);

    QStringDecoder decoder = decoderForCharset(label);
    QCOMPARE(decoder.isValid(), !refusedEncodings.contains(encoding));
    QCOMPARE(encoderForCharset(label).isValid(), decoder.isValid() || encoding == u"replacement");
    if (!decoder.isValid())
        return;
    const auto probe = std::find_if(std::begin(probes), std::end(probes),
                                    [&](const Probe& p) { return encoding == p.encoding; });
    QVERIFY2(probe != std::end(probes), "every encoding we decode has a probe");
    QCOMPARE(decoder.decode(QByteArray::fromHex(probe->hexBytes)),
             QStringView(probe->text).toString());
}

void CharsetRegistryTest::otherNamesAreRefused_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("encoding");
    // Names ICU or Qt accept that browsers do not; some mean strict GB 2312.
    for (const char* name : {"euc-cn", "gb-2312", "GB2312-80", "latin-1", "UTF16", "replacement"})
        QTest::newRow(name) << QString::fromLatin1(name) << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("vertical tab") << u"utf-8\v"_qs << QString();
    QTest::newRow("no-break space inside") << u"utf\u00A0-8"_qs << QString();
    QTest::newRow("no-break space before") << u"\u00A0utf-8"_qs << QString();
    QTest::newRow("Kelvin sign") << u"\u212Aoi8-r"_qs << QString();
    QTest::newRow("NUL after") << QString::fromLatin1("gbk\0", 4) << QString();
    QTest::newRow("no ICU converter") << u"x-user-defined"_qs << u"x-user-defined"_qs;
    QTest::newRow("not in Debian's ICU") << u"iso-8859-16"_qs << u"iso-8859-16"_qs;
    QTest::newRow("read as replacement") << u"iso-2022-kr"_qs << u"replacement"_qs;
}

void CharsetRegistryTest::otherNamesAreRefused()
{
    QFETCH(QString, label);
    QFETCH(QString, encoding);
    QCOMPARE(encodingForLabel(label), encoding);
    QVERIFY(!decoderForCharset(label).isValid());
    if (encoding.isEmpty())
        QVERIFY(!encoderForCharset(label).isValid());
}

void CharsetRegistryTest::queriesAreEncodedAsBrowsersSendThem_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("gb2312") << u"gb2312"_qs << u"订单镕瑢€"_qs
                            << QByteArray::fromHex("b6a9b5a5e946ac8c80");
    QTest::newRow("latin1") << u"latin1"_qs << u"€é"_qs << QByteArray::fromHex("80e9");
    for (const char* label : {"utf-8 ", "utf-16le", "UTF-16BE", "unicode", "iso-2022-kr"})
        QTest::newRow(label) << QString::fromLatin1(label) << u"镕€"_qs
                             << QByteArray::fromHex("e99595e282ac");
}

void CharsetRegistryTest::queriesAreEncodedAsBrowsersSendThem()
{
    QFETCH(QString, label);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QStringEncoder encoder = encoderForCharset(label);
    QVERIFY(encoder.isValid());
    QCOMPARE(QByteArray(encoder.encode(text)), bytes);
}

TOLLWICK_TEST(CharsetRegistryTest)
#include "CharsetRegistryTest.moc"
