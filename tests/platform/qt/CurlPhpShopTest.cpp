#include "e2e/PhpShop.h"
#include "platform/qt/CurlHttpRequestFactory.h"
#include "platform/qt/CurlMulti.h"
#include "platform/qt/CurlTransferControl.h"

#include <QTest>

// PHP's built-in server closes each connection after an answer without a
// length: the answer on which Qt's own client sends a call a second time.
class TestCurlPhpShop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachCallArrivesOnce();
};

void TestCurlPhpShop::eachCallArrivesOnce()
{
    PhpShop shop;
    QString error;
    QVERIFY2(shop.start(error), qPrintable(error));
    CurlMulti multi;
    CurlTransferControl control(multi, nullptr);
    CurlHttpRequestFactory requests(multi, nullptr);
    QList<QByteArray> sent;
    for (int payment = 0; payment < 50; ++payment) {
        // Both calls of a payment, as the program makes them.
        const QString address = shop.notifyUrl() + u"?tradeno=%1"_qs.arg(payment);
        control.Execute(address + u"a"_qs, u"get"_qs);
        QVERIFY(QTest::qWaitFor([&] { return !control.StillExecuting(); }, 10000));
        const auto request = requests.createRequest();
        request->Open(u"GET"_qs, address + u"b"_qs, true);
        request->send();
        QVERIFY(QTest::qWaitFor([&] { return request->ReadyState() == 4; }, 10000));
        QCOMPARE(request->responseBody(), "success"_qba);
        sent << QByteArray::number(payment) + 'a' << QByteArray::number(payment) + 'b';
    }
    // A resent call would follow within milliseconds.
    QTest::qWait(200);
    QList<QByteArray> received;
    for (const PhpShop::Call& call : shop.calls())
        received.append(call.value(u"tradeno"_qs));
    QCOMPARE(received, sent);
}

QTEST_GUILESS_MAIN(TestCurlPhpShop)
#include "CurlPhpShopTest.moc"
