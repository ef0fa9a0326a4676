#include "platform/LimitedBody.h"

#include <QTest>

// A body arrives in pieces cut anywhere: the word looked for past the kept
// bytes must be found wherever the cuts fall, and nowhere it is not.
class LimitedBodyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keepsTheStartAndFindsTheWordInTheRest_data()
    {
        QTest::addColumn<QByteArrayList>("pieces");
        QTest::addColumn<int>("keep");
        QTest::addColumn<QByteArray>("kept");
        QTest::addColumn<bool>("soughtInRest");
        QTest::newRow("short body")
            << QByteArrayList{"a success"} << 16 << QByteArray("a success") << false;
        QTest::newRow("word in the rest")
            << QByteArrayList{"0123456789", "..success"} << 4 << QByteArray("0123") << true;
        QTest::newRow("word over three pieces")
            << QByteArrayList{"xxxx", "su", "cc", "ess"} << 4 << QByteArray("xxxx") << true;
        QTest::newRow("word begins in the kept bytes")
            << QByteArrayList{"xxxxsucc", "ess"} << 8 << QByteArray("xxxxsucc") << true;
        QTest::newRow("cut inside the word")
            << QByteArrayList{"xxxxsuccess"} << 6 << QByteArray("xxxxsu") << true;
        QTest::newRow("word only in the kept bytes")
            << QByteArrayList{"success", "yyyy"} << 7 << QByteArray("success") << false;
        QTest::newRow("near miss")
            << QByteArrayList{"xxxx", "succe", "xss"} << 4 << QByteArray("xxxx") << false;
        QTest::newRow("match starts again")
            << QByteArrayList{"xxxx", "ssucc", "ess"} << 4 << QByteArray("xxxx") << true;
    }

    void keepsTheStartAndFindsTheWordInTheRest()
    {
        QFETCH(QByteArrayList, pieces);
        QFETCH(int, keep);
        LimitedBody body({.keep = keep, .sought = "success"});
        for (const QByteArray& piece : pieces)
            QVERIFY(body.take(piece));
        const HttpAnswer answer = body.answer(200, "http://shop/");
        QTEST(answer.body, "kept");
        QCOMPARE(answer.cut, pieces.join().size() > keep);
        QTEST(answer.soughtInRest, "soughtInRest");
    }

    void readingEndsPastTheLimit_data()
    {
        QTest::addColumn<QByteArrayList>("pieces");
        QTest::addColumn<bool>("whole");
        QTest::newRow("up to the limit") << QByteArrayList{"12345", "67890"} << true;
        QTest::newRow("one byte more") << QByteArrayList{"12345", "678901"} << false;
    }

    void readingEndsPastTheLimit()
    {
        QFETCH(QByteArrayList, pieces);
        QFETCH(bool, whole);
        LimitedBody body({.keep = 4, .readAtMost = 10});
        bool taken = true;
        for (const QByteArray& piece : pieces)
            taken = body.take(piece);
        QCOMPARE(taken, whole);
    }
};

QTEST_GUILESS_MAIN(LimitedBodyTest)
#include "LimitedBodyTest.moc"
