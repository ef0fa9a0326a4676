// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/PageFetch.h"
#include "fakes/FakeHttpClient.h"
#include "support/TestRegistry.h"

#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(FakeResponse)

namespace {

struct FetchFixture {
    FakeClock clock;
    FakeHttpClient http{clock};
    PageFetch fetch{http, {.keep = 1024}};
    QSignalSpy replies{&fetch, &PageFetch::finished};

    PageReply onlyReply()
    {
        if (replies.size() != 1)
            qFatal("expected one reply, got %lld", qlonglong(replies.size()));
        return replies.takeFirst().at(0).value<PageReply>();
    }
};

} // namespace

class PageFetchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The answer of any status is taken as it came, decoded in the charset
    // the caller names; an empty body is no text.
    void replyTellsTextStatusAndAddress_data()
    {
        QTest::addColumn<FakeResponse>("response");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("address");
        QTest::newRow("page") << FakeResponse{"page"} << "page"
                              << "http://x/a b";
        QTest::newRow("error page") << FakeResponse{"<h1>404</h1>", 404} << "<h1>404</h1>"
                                    << "http://x/a b";
        QTest::newRow("redirected") << FakeResponse{"login", 200, "http://x/login"} << "login"
                                    << "http://x/login";
        QTest::newRow("no answer") << FakeResponse{{}, 0, {}} << QString() << "http://x/a b";
    }

    void replyTellsTextStatusAndAddress()
    {
        QFETCH(FakeResponse, response);
        FetchFixture f;
        f.http.respond = [&](const QString&) {
            return response;
        };
        f.fetch.GetResponse("http://x/a b", "utf-8");
        QVERIFY(f.fetch.waiting());
        f.clock.advance(0);
        const PageReply reply = f.onlyReply();
        QTEST(reply.text, "text");
        QCOMPARE(reply.status, response.status);
        QTEST(reply.address, "address");
        QCOMPARE(f.http.sent, QStringList{"http://x/a b"});
        QVERIFY(!f.fetch.waiting());
    }

    // Giving up answers at once with nothing, lets go of the request, and
    // its late answer never arrives; with no fetch waiting it does nothing.
    void givingUpEndsTheWaitOnce()
    {
        FetchFixture f;
        f.http.respond = [](const QString&) {
            return FakeResponse{"late", 200, {}, 5000};
        };
        f.fetch.GetResponse("http://x/", "utf-8");
        f.fetch.giveUp();
        const PageReply reply = f.onlyReply();
        QCOMPARE(reply.text, QString());
        QCOMPARE(reply.status, 0);
        QCOMPARE(f.http.abandoned, 1);

        f.fetch.giveUp();
        f.clock.advanceSeconds(10);
        QVERIFY(f.replies.isEmpty());
    }
};

TOLLWICK_TEST(PageFetchTest)
#include "PageFetchTest.moc"
