#include "platform/qt/QtByteStream.h"

#include <QTest>

namespace {

const QString orderText = QString::fromUtf8("镕瑢测试訂單");
// orderText in GBK; the first two and the last two characters are not in GB 2312.
const QByteArray orderTextGbk = QByteArray::fromHex("e946ac8cb2e2cad4d38686ce");

// Writes bytes into a fresh stream and rewinds it to read them as text.
std::unique_ptr<QtByteStream> textStreamHolding(const QByteArray& bytes)
{
    auto stream = std::make_unique<QtByteStream>();
    if (!stream->setType(ByteStream::BinaryType) || !stream->setMode(ByteStream::ReadWriteMode) ||
        !stream->Open() || !stream->Write(bytes) || !stream->setPosition(0) ||
        !stream->setType(ByteStream::TextType))
        return nullptr;
    return stream;
}

} // namespace

class TestQtByteStream : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gbkLabelsDecodeAllOfGbk_data();
    void gbkLabelsDecodeAllOfGbk();
    void utf8LabelsDecodeUtf8_data();
    void utf8LabelsDecodeUtf8();
    void otherLabelsDecode();
    void unknownNamesAreRefused_data();
    void unknownNamesAreRefused();
    void readsFromThePosition();
    void writeOverwritesAtThePosition();
    void callsOutOfOrderFail();
    void closeForgetsTheBytes();
};

void TestQtByteStream::gbkLabelsDecodeAllOfGbk_data()
{
    QTest::addColumn<QString>("label");
    for (const char* label : {"gb2312", "GB2312", "Gb2312", "gbk", "GBK", "chinese", "csgb2312",
                              "csiso58gb231280", "gb_2312", "gb_2312-80", "iso-ir-58", "x-gbk",
                              "cp936", "windows-936", "Windows-936", " gb2312", "gb2312 "})
        QTest::newRow(label) << QString::fromLatin1(label);
}

void TestQtByteStream::gbkLabelsDecodeAllOfGbk()
{
    QFETCH(QString, label);
    auto stream = textStreamHolding(orderTextGbk);
    QVERIFY(stream);
    QVERIFY(stream->setCharset(label));
    QCOMPARE(stream->ReadText(), orderText);
}

void TestQtByteStream::utf8LabelsDecodeUtf8_data()
{
    QTest::addColumn<QString>("label");
    for (const char* label :
         {"utf-8", "UTF-8", "utf8", "Utf8", "unicode-1-1-utf-8", "unicode11utf8", "unicode20utf8",
          "x-unicode20utf8", "utf-8 ", "utf-8\t"})
        QTest::newRow(label) << QString::fromLatin1(label);
}

void TestQtByteStream::utf8LabelsDecodeUtf8()
{
    QFETCH(QString, label);
    auto stream = textStreamHolding(orderText.toUtf8());
    QVERIFY(stream);
    QVERIFY(stream->setCharset(label));
    QCOMPARE(stream->ReadText(), orderText);
}

void TestQtByteStream::otherLabelsDecode()
{
    auto stream = textStreamHolding(QByteArray("caf\xe9"));
    QVERIFY(stream);
    QVERIFY(stream->setCharset(u"ISO-8859-1"_qs));
    QCOMPARE(stream->ReadText(), QString::fromUtf8("café"));

    stream = textStreamHolding(orderTextGbk);
    QVERIFY(stream);
    QVERIFY(stream->setCharset(u"gb18030"_qs));
    QCOMPARE(stream->ReadText(), orderText);
}

void TestQtByteStream::unknownNamesAreRefused_data()
{
    QTest::addColumn<QString>("label");
    QTest::newRow("made up") << u"gb-nonsense"_qs;
    QTest::newRow("strict GB 2312 in ICU") << u"euc-cn"_qs;
    QTest::newRow("blank inside") << u"gb 2312"_qs;
    QTest::newRow("trailing vertical tab") << u"utf-8\v"_qs;
    QTest::newRow("empty") << QString();
    QTest::newRow("non-ascii") << QString::fromUtf8("gbk中");
}

void TestQtByteStream::unknownNamesAreRefused()
{
    QFETCH(QString, label);
    auto stream = textStreamHolding(orderTextGbk);
    QVERIFY(stream);
    QVERIFY(!stream->setCharset(label));
    QCOMPARE(stream->ReadText(), std::nullopt);
}

void TestQtByteStream::readsFromThePosition()
{
    auto stream = textStreamHolding(orderTextGbk);
    QVERIFY(stream);
    QVERIFY(stream->setCharset(u"gbk"_qs));
    QVERIFY(stream->setPosition(4));
    QCOMPARE(stream->ReadText(), orderText.mid(2));
    QCOMPARE(stream->ReadText(), QString());
}

void TestQtByteStream::writeOverwritesAtThePosition()
{
    QtByteStream stream;
    QVERIFY(stream.Open());
    QVERIFY(stream.Write("abcdef"));
    QVERIFY(stream.setPosition(2));
    QVERIFY(stream.Write("XY"));
    QVERIFY(stream.setPosition(0));
    QVERIFY(stream.setType(ByteStream::TextType));
    QVERIFY(stream.setCharset(u"utf-8"_qs));
    QCOMPARE(stream.ReadText(), u"abXYef"_qs);
}

void TestQtByteStream::callsOutOfOrderFail()
{
    QtByteStream stream;
    QVERIFY2(!stream.Write("x"), "write before Open");
    QVERIFY2(!stream.setPosition(0), "position before Open");
    QVERIFY2(!stream.setCharset(u"gbk"_qs), "charset in binary type");
    QVERIFY2(!stream.setType(3), "unknown type");
    QVERIFY2(!stream.setMode(1), "unknown mode");
    QVERIFY(stream.setMode(ByteStream::ReadWriteMode));
    QVERIFY(stream.Open());
    QVERIFY2(!stream.Open(), "second Open");
    QVERIFY2(!stream.setMode(ByteStream::ReadWriteMode), "mode while open");
    QVERIFY(stream.Write(orderTextGbk));
    QVERIFY2(!stream.setType(ByteStream::TextType), "text type away from the start");
    QVERIFY2(!stream.setPosition(orderTextGbk.size() + 1), "position past the end");
    QVERIFY2(!stream.setPosition(-1), "negative position");
    QCOMPARE(stream.ReadText(), std::nullopt); // binary type
    QVERIFY(stream.setPosition(0));
    QVERIFY(stream.setType(ByteStream::TextType));
    QCOMPARE(stream.ReadText(), std::nullopt); // no charset yet
    QVERIFY2(!stream.Write("x"), "bytes into a text stream");
    QVERIFY(stream.setCharset(u"gb2312"_qs));
    QCOMPARE(stream.ReadText(), orderText);
    QVERIFY(stream.Close());
    QVERIFY2(!stream.Close(), "second Close");
    QCOMPARE(stream.ReadText(), std::nullopt); // closed
}

void TestQtByteStream::closeForgetsTheBytes()
{
    auto stream = textStreamHolding(orderTextGbk);
    QVERIFY(stream);
    QVERIFY(stream->setCharset(u"gbk"_qs));
    QVERIFY(stream->Close());
    QVERIFY(stream->Open());
    QCOMPARE(stream->ReadText(), QString());
}

QTEST_GUILESS_MAIN(TestQtByteStream)
#include "QtByteStreamTest.moc"
