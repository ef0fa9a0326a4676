// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/LimitedBody.h"
#include "support/TestRegistry.h"

#include <QTest>

// A body arrives in pieces cut anywhere: the word looked for past the kept
// bytes must be found wherever the cuts fall, and nowhere it is not.
class LimitedBodyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void findsTheWordPastTheKeptBytes_data()
    {
        QTest::addColumn<QByteArrayList>("pieces");
        QTest::addColumn<bool>("found");
        const QByteArray kept = "12345678";
        QTest::newRow("over three pieces") << QByteArrayList{kept, "su", "cc", "ess"} << true;
        QTest::newRow("begun in the kept bytes") << QByteArrayList{"1234succ", "ess"} << true;
        QTest::newRow("only in the kept bytes") << QByteArrayList{"success", "yy"} << false;
        QTest::newRow("near miss") << QByteArrayList{kept, "succe", "xss"} << false;
        QTest::newRow("match starts again") << QByteArrayList{kept, "ssucc", "ess"} << true;
    }

    void findsTheWordPastTheKeptBytes()
    {
        QFETCH(QByteArrayList, pieces);
        LimitedBody body({.keep = 8, .sought = "success"});
        for (const QByteArray& piece : pieces)
            QVERIFY(body.take(piece));
        const HttpAnswer answer = body.answer(200, QString());
        QCOMPARE(answer.body, pieces.join().left(8));
        QTEST(answer.soughtInRest, "found");
    }
};

TOLLWICK_TEST(LimitedBodyTest)
#include "LimitedBodyTest.moc"
