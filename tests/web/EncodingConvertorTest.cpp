#include "web/EncodingConvertor.h"
#include "fakes/FakeByteStream.h"

#include <QTest>

class EncodingConvertorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void convertsInTheStreamsOrder()
    {
        FakeByteStreamFactory streams;
        QCOMPARE(EncodingConvertor(streams, "ok", "utf-8"), QStringLiteral("ok"));
        QCOMPARE(streams.calls, (QStringList{"Type 1", "Mode 3", "Open", "Write 6f6b", "Position 0",
                                             "Type 2", "Charset utf-8", "ReadText", "Close"}));
    }

    // Any failing step voids the text, yet the later steps still run.
    void anyFailureGivesTheEmptyText_data()
    {
        QTest::addColumn<QString>("failingCall");
        QTest::newRow("type") << "Type 2";
        QTest::newRow("mode") << "Mode";
        QTest::newRow("open") << "Open";
        QTest::newRow("write") << "Write";
        QTest::newRow("position") << "Position";
        QTest::newRow("charset") << "Charset";
        QTest::newRow("read") << "ReadText";
        QTest::newRow("close after a good read") << "Close";
    }

    void anyFailureGivesTheEmptyText()
    {
        QFETCH(QString, failingCall);
        FakeByteStreamFactory streams;
        streams.failingCall = failingCall;
        QCOMPARE(EncodingConvertor(streams, "ok", "utf-8"), QString());
        QCOMPARE(streams.calls.size(), 9);
        QCOMPARE(streams.calls.last(), QStringLiteral("Close"));
    }

    void unknownCharsetAndMissingStreamGiveTheEmptyText()
    {
        FakeByteStreamFactory streams;
        QCOMPARE(EncodingConvertor(streams, "ok", "klingon"), QString());
        streams.creationFails = true;
        QCOMPARE(EncodingConvertor(streams, "ok", "utf-8"), QString());
    }
};

QTEST_GUILESS_MAIN(EncodingConvertorTest)
#include "EncodingConvertorTest.moc"
