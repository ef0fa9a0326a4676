// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/EncodingConvertor.h"
#include "support/TestRegistry.h"

#include <QStringEncoder>
#include <QTest>

class EncodingConvertorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decodesInTheNamedCharset_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QString>("text");
        const QString chinese = QStringLiteral("镕瑢测试訂單");
        QTest::newRow("GBK read as gb2312") << QByteArray(QStringEncoder("GBK").encode(chinese))
                                            << QStringLiteral("gb2312") << chinese;
        QTest::newRow("label in capitals, blanks around")
            << chinese.toUtf8() << QStringLiteral(" UTF-8 ") << chinese;
        QTest::newRow("unknown charset")
            << QByteArray("page") << QStringLiteral("klingon") << QString();
    }

    void decodesInTheNamedCharset()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, charset);
        QTEST(EncodingConvertor(body, charset), "text");
    }
};

TOLLWICK_TEST(EncodingConvertorTest)
#include "EncodingConvertorTest.moc"
