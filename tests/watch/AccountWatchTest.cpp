// SPDX-License-Identifier: GPL-3.0-or-later

#include "watch/AccountWatch.h"
#include "fakes/FakeWatch.h"
#include "state/StatusTexts.h"
#include "support/RecordPages.h"
#include "support/TestRegistry.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString Login = QStringLiteral("https://auth.alipay.com/login/index.htm");

// The watch with its timers running on the fake clock, the record page
// listing one payment unless told otherwise.
struct Watch : FakeWatch {
    QString recordPageReachedAt;
    qint64 recordPageDelayMs = 0;

    Watch()
    {
        fake.http.respond = [this](const QString& address) {
            if (!address.startsWith(Endpoints::service().RecordQueryUrl))
                return FakeResponse{"success"};
            return FakeResponse{recordPage({{tradeNumber(1), "t", "1.00"}}), 200,
                                recordPageReachedAt, recordPageDelayMs};
        };
    }

    int scans() const
    {
        return int(
            std::count_if(fake.http.sent.begin(), fake.http.sent.end(), [](const QString& address) {
                return address.startsWith(Endpoints::service().RecordQueryUrl);
            }));
    }
    void seconds(int count) { fake.clock.advanceSeconds(count); }
};

} // namespace

class AccountWatchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Neither a fetch that ends, nor the keep-alive, nor a home page undoes
    // a Stop; only Start does.
    void stopHoldsUntilStart()
    {
        Watch w;
        w.recordPageDelayMs = 5000;
        w.logIn();
        w.seconds(22);
        QCOMPARE(w.state.status(), FetchingStatus);
        w.watch.stop();
        w.seconds(8);
        w.logIn();
        w.seconds(300);
        QCOMPARE(w.scans(), 1);
        QCOMPARE(w.state.status(), StoppedStatus);
        QVERIFY(w.state.startButtonEnabled());

        w.watch.start();
        QCOMPARE(w.state.status(), ScanningStatus);
        QVERIFY(w.state.stopButtonShown());
        w.seconds(20);
        QCOMPARE(w.scans(), 2);
    }

    // The record page sent to the login form: the window says so, the
    // browser goes once to the home page so the form shows, ticks wait, and
    // a login resumes scanning.
    void lostSessionShowsTheLoginForm()
    {
        Watch w;
        w.logIn();
        w.recordPageReachedAt = Login;
        w.seconds(20);
        QCOMPARE(w.state.scanState(), ScanState::SessionLost);
        QCOMPARE(w.state.status(), SessionLostStatus);
        QCOMPARE(w.fake.browser.navigations, QStringList{Endpoints::service().PersonalHomeUrl});
        QVERIFY(w.state.stopButtonShown());
        w.fake.browser.complete(Login);
        QCOMPARE(w.state.status(), LoginRequestStatus);
        w.seconds(100);
        QCOMPARE(w.scans(), 1);

        w.recordPageReachedAt.clear();
        w.logIn();
        QCOMPARE(w.state.status(), ScanningStatus);
        w.seconds(30);
        QCOMPARE(w.scans(), 2);
        QCOMPARE(w.fake.browser.navigations.size(), 1);
    }

    // Straight back to the home page with no login form: the redirect had
    // another cause, and the next ones are no lost session.
    void redirectWithoutLogoutIsNotASessionLost()
    {
        Watch w;
        w.logIn();
        w.recordPageReachedAt = QStringLiteral("https://my.alipay.com/notice.htm");
        w.seconds(20);
        QCOMPARE(w.state.scanState(), ScanState::SessionLost);
        w.logIn();
        QCOMPARE(w.state.scanState(), ScanState::Scanning);
        w.seconds(60);
        QCOMPARE(w.scans(), 4);
        QCOMPARE(w.state.scanState(), ScanState::Scanning);
        QCOMPARE(w.fake.browser.navigations.size(), 1);
    }

    // A new interval applies from the next tick: the one after it comes
    // one new period later.
    void intervalChangedWhileScanningAppliesAtTheNextTick()
    {
        Watch w;
        w.logIn();
        w.seconds(5);
        w.state.setScanInterval(QStringLiteral("30"));
        w.seconds(15);
        QCOMPARE(w.scans(), 1);
        w.seconds(29);
        QCOMPARE(w.scans(), 1);
        w.seconds(1);
        QCOMPARE(w.scans(), 2);
    }

    void intervalRules_data()
    {
        QTest::addColumn<QString>("interval");
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("listed") << "20" << 20000;
        QTest::newRow("typed, blanks around") << " 35 " << 35000;
        QTest::newRow("fraction rounds down") << "20.9" << 20000;
        QTest::newRow("longest a timer takes") << "2147483" << 2147483000;
        QTest::newRow("longer") << "2147484" << 0;
        QTest::newRow("not a number") << "abc" << 0;
        QTest::newRow("zero") << "0.5" << 0;
        QTest::newRow("negative") << "-20" << 0;
        QTest::newRow("empty") << "" << 0;
    }

    void intervalRules()
    {
        QFETCH(QString, interval);
        QFETCH(int, milliseconds);
        Watch w;
        w.state.setScanInterval(interval);
        w.logIn();
        QCOMPARE(w.state.scanState(),
                 milliseconds ? ScanState::Scanning : ScanState::IntervalInvalid);
        if (milliseconds)
            QCOMPARE(w.watch.Timer1->Interval(), milliseconds);
        else
            QCOMPARE(w.state.status(), IntervalInvalidStatus);
    }

    // An unusable interval shows at once, stops the ticks and alerts only if
    // it stays a minute; a usable one typed resumes scanning at once, at its
    // period. Stopped, a usable value waits for Start.
    void invalidIntervalShowsAndResumes()
    {
        Watch w;
        QSignalSpy stillInvalid(&w.watch.schedule(), &ScanSchedule::intervalStillInvalid);
        w.logIn();
        w.seconds(20);
        w.state.setScanInterval(QString());
        w.seconds(20);
        QCOMPARE(w.state.scanState(), ScanState::IntervalInvalid);
        QVERIFY(w.state.stopButtonShown());
        QVERIFY(!w.watch.Timer1->Enabled());
        w.state.setScanInterval(QStringLiteral("30"));
        QCOMPARE(w.state.scanState(), ScanState::Scanning);
        w.seconds(29);
        QCOMPARE(w.scans(), 1);
        w.seconds(1);
        QCOMPARE(w.scans(), 2);

        w.state.setScanInterval(QStringLiteral("x"));
        w.seconds(30 + 30);
        w.state.setScanInterval(QStringLiteral("y"));
        w.seconds(29);
        QCOMPARE(stillInvalid.size(), 0);
        w.seconds(1);
        QCOMPARE(stillInvalid.size(), 1);
        w.seconds(120);
        QCOMPARE(stillInvalid.size(), 1);
        QCOMPARE(w.scans(), 2);

        w.watch.stop();
        w.state.setScanInterval(QStringLiteral("20"));
        QCOMPARE(w.state.scanState(), ScanState::Stopped);
    }
};

TOLLWICK_TEST(AccountWatchTest)
#include "AccountWatchTest.moc"
