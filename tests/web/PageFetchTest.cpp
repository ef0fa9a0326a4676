#include "web/PageFetch.h"
#include "fakes/FakeByteStream.h"
#include "fakes/FakeHttpRequest.h"
#include "fakes/FakeMessagePump.h"
#include "fakes/FakeTimerControl.h"
#include "platform/qt/QtByteStreamFactory.h"
#include "state/StatusTexts.h"
#include "state/WindowState.h"

#include <QStringEncoder>
#include <QTest>

namespace {

const QString Home = QStringLiteral("https://my.alipay.com/portal/i.htm");
const QString PortalPrefix = QStringLiteral("https://my.alipay.com/portal/home.");
const QString MerchantPrefix = QStringLiteral("https://shanghu.alipay.com/home/i.");

struct FetchFixture {
    FakeHttpRequestFactory requests;
    QtByteStreamFactory streams;
    FakeMessagePump pump;
    FakeTimerControl timer1;
    FakeTimerControl timer2;
    WindowState state{timer1, timer2};
    PageFetch fetch{requests, streams, pump, state, {Home, PortalPrefix, MerchantPrefix}};
    QStringList statusHistory;

    FetchFixture()
    {
        QObject::connect(&state, &WindowState::statusChanged,
                         [this](const QString& text) { statusHistory.append(text); });
    }

    void answer(const QByteArray& body, int pendingReads = 0)
    {
        requests.respond = [=](const QString&) {
            return FakeResponse{body, pendingReads};
        };
    }
};

} // namespace

class PageFetchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void completedAtFirstLookNeverShowsProgress()
    {
        FetchFixture f;
        f.answer("page");
        QCOMPARE(f.fetch.GetResponse("http://x/a b", "utf-8"), QStringLiteral("page"));
        QCOMPARE(f.requests.calls.first(), QStringLiteral("Open GET http://x/a b 1"));
        QCOMPARE(f.pump.passes, 0);
        QCOMPARE(f.statusHistory, QStringList{ScanningStatus});
    }

    // Handlers that run during the wait see the progress status.
    void showsProgressBeforeEachWait()
    {
        FetchFixture f;
        f.answer("page", 2);
        QStringList seenDuringWait;
        f.pump.onPass = [&](int) {
            seenDuringWait.append(f.state.status());
        };
        QCOMPARE(f.fetch.GetResponse("http://x/", "utf-8"), QStringLiteral("page"));
        QCOMPARE(seenDuringWait, QStringList(2, FetchingStatus));
        QCOMPARE(f.state.status(), ScanningStatus);
    }

    void givesUpOnAnExactHomePrefix_data()
    {
        QTest::addColumn<QString>("pageBox");
        QTest::addColumn<bool>("givesUp");
        QTest::newRow("personal home") << Home << true;
        QTest::newRow("portal prefix") << PortalPrefix << true;
        QTest::newRow("merchant prefix") << MerchantPrefix << true;
        QTest::newRow("prefix followed by a result line") << Home + "\r\nline" << false;
        QTest::newRow("other letter case") << Home.toUpper() << false;
        QTest::newRow("empty") << QString() << false;
    }

    void givesUpOnAnExactHomePrefix()
    {
        QFETCH(QString, pageBox);
        QFETCH(bool, givesUp);
        FetchFixture f;
        f.answer("page", 5);
        f.pump.onPass = [&](int pass) {
            if (pass == 2)
                f.state.setPage(pageBox);
        };
        const QString result = f.fetch.GetResponse("http://x/", "utf-8");
        QCOMPARE(result, givesUp ? QString() : QStringLiteral("page"));
        QCOMPARE(f.pump.passes, givesUp ? 2 : 5);
        QCOMPARE(f.state.status(), ScanningStatus);
    }

    void givesUpAtOnceWhenTheHomeAddressIsAlreadyShown()
    {
        FetchFixture f;
        f.answer("page", 1);
        f.state.setPage(Home);
        QCOMPARE(f.fetch.GetResponse("http://x/", "utf-8"), QString());
        QCOMPARE(f.pump.passes, 0);
        QCOMPARE(f.statusHistory, QStringList{ScanningStatus});
    }

    // The request state is looked at before the page box.
    void completedRequestWinsOverGivingUp()
    {
        FetchFixture f;
        f.answer("page");
        f.state.setPage(Home);
        QCOMPARE(f.fetch.GetResponse("http://x/", "utf-8"), QStringLiteral("page"));
    }

    void requestThatCannotBeMadeWaitsForTheGiveUp()
    {
        FetchFixture f;
        f.requests.creationFails = true;
        f.pump.onPass = [&](int pass) {
            if (pass == 3)
                f.state.setPage(Home);
        };
        QCOMPARE(f.fetch.GetResponse("http://x/", "utf-8"), QString());
        QCOMPARE(f.pump.passes, 3);
        QCOMPARE(f.statusHistory, (QStringList{FetchingStatus, ScanningStatus}));
    }

    // Stop writes its status, the next poll writes the progress again and
    // the end writes "scanning" whatever the box held.
    void stopDuringTheWaitDoesNotHold()
    {
        FetchFixture f;
        f.answer("page", 2);
        QStringList seen;
        f.pump.onPass = [&](int pass) {
            if (pass == 1)
                f.state.setStatus(QStringLiteral("已停止"));
            else
                seen.append(f.state.status());
        };
        f.fetch.GetResponse("http://x/", "utf-8");
        QCOMPARE(seen, QStringList{FetchingStatus});
        QCOMPARE(f.state.status(), ScanningStatus);
    }

    void bodyDecodingRules_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("charset");
        QTest::addColumn<QString>("text");
        const QString chinese = QStringLiteral("镕瑢测试訂單");
        QTest::newRow("GBK read as gb2312") << QByteArray(QStringEncoder("GBK").encode(chinese))
                                            << QStringLiteral("gb2312") << chinese;
        QTest::newRow("error page body")
            << QByteArray("<h1>404 Not Found</h1>") << QStringLiteral("utf-8")
            << QStringLiteral("<h1>404 Not Found</h1>");
        QTest::newRow("unknown charset")
            << QByteArray("page") << QStringLiteral("no-such-charset") << QString();
    }

    void bodyDecodingRules()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, charset);
        FetchFixture f;
        f.answer(body);
        QTEST(f.fetch.GetResponse("http://x/", charset), "text");
    }

    void emptyBodyIsNotDecoded()
    {
        FakeHttpRequestFactory requests;
        FakeByteStreamFactory streams;
        FakeMessagePump pump;
        FakeTimerControl timer1;
        FakeTimerControl timer2;
        WindowState state(timer1, timer2);
        PageFetch fetch(requests, streams, pump, state, {Home});
        QCOMPARE(fetch.GetResponse("http://x/", "utf-8"), QString());
        QVERIFY(streams.calls.isEmpty());
    }

    // What a listener needs beyond the text: where the answer came from and
    // with which status; nothing when the fetch gave up.
    void replyTellsStatusAndAddress()
    {
        FetchFixture f;
        f.requests.respond = [](const QString&) {
            FakeResponse moved("login form");
            moved.status = 200;
            moved.finalAddress = "http://x/login";
            return moved;
        };
        const PageReply reply = f.fetch.fetch("http://x/records", "utf-8");
        QCOMPARE(reply.text, QStringLiteral("login form"));
        QCOMPARE(reply.status, 200);
        QCOMPARE(reply.address, QStringLiteral("http://x/login"));

        f.answer("late", 5);
        f.state.setPage(Home);
        const PageReply abandoned = f.fetch.fetch("http://x/records", "utf-8");
        QCOMPARE(abandoned.status, 0);
        QVERIFY(abandoned.address.isEmpty());
    }
};

QTEST_MAIN(PageFetchTest)
#include "PageFetchTest.moc"
