#include "alerts/AlertPolicy.h"
#include "alerts/AlertSettings.h"
#include "alerts/RemoteAlerts.h"
#include "fakes/FakeWatch.h"
#include "journal/DeliveryJournal.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The watch, its journal and the alert policy, with every alert written down
// as "+cause" when raised and "-cause" when cleared.
struct AlertFixture : FakeWatch {
    QTemporaryDir folder;
    DeliveryJournal journal{folder.filePath("journal.db"), fake.clock};
    AlertPolicy policy{watch, journal};
    QStringList heard;

    AlertFixture()
    {
        QObject::connect(&policy, &AlertPolicy::raised,
                         [this](const Alert& a) { heard.append('+' + a.causeName()); });
        QObject::connect(&policy, &AlertPolicy::cleared,
                         [this](const Alert& a) { heard.append('-' + a.causeName()); });
    }

    ScanCycle& scan() { return watch.scanCycle(); }
    void enter(ScanState scanState) { state.setScanState(scanState); }
    void scanEnded(bool pageRead) { Q_EMIT scan().scanEnded(1, pageRead); }
    void delivery(const QString& tradeNo, DeliveryAttempt::Outcome outcome)
    {
        DeliveryAttempt attempt{.record = {tradeNo, QStringLiteral("订单"), "1.00"}};
        attempt.outcome = outcome;
        Q_EMIT scan().deliveryFinished(attempt);
    }
};

using Outcome = DeliveryAttempt::Outcome;

} // namespace

class AlertsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // One alert per cause until it clears, one clearing; the unreadable
    // pages of a lost session are that one problem. Stop is no problem.
    void eachCauseAlertsOnceUntilItClears()
    {
        AlertFixture f;
        f.enter(ScanState::Scanning);
        f.enter(ScanState::SessionLost);
        for (int scan = 0; scan < 3; ++scan)
            f.scanEnded(false);
        f.enter(ScanState::Scanning);
        f.enter(ScanState::Stopped);
        f.enter(ScanState::IntervalInvalid);
        Q_EMIT f.watch.schedule().intervalStillInvalid();
        Q_EMIT f.watch.schedule().intervalStillInvalid();
        f.enter(ScanState::Scanning);
        Q_EMIT f.journal.failed(QStringLiteral("disk full"));
        Q_EMIT f.journal.failed(QStringLiteral("disk full"));
        Q_EMIT f.journal.recovered();
        QCOMPARE(f.heard, (QStringList{"+sessionLost", "-sessionLost", "+intervalInvalid",
                                       "-intervalInvalid", "+journalFailed", "-journalFailed"}));
    }

    void failuresCountOnlyInARow()
    {
        AlertFixture f;
        for (bool read : {false, false, true, false, false, false, false})
            f.scanEnded(read);
        QCOMPARE(f.heard, QStringList{"+recordPageUnreadable"});
        f.scanEnded(true);
        QCOMPARE(f.heard.last(), QStringLiteral("-recordPageUnreadable"));

        f.heard.clear();
        const QString a = QStringLiteral("A"), b = QStringLiteral("B");
        for (int scan = 1; scan <= 4; ++scan) {
            f.delivery(a, Outcome::Rejected);
            // B is rejected at scans 1, 2 and 4 only.
            f.delivery(b, scan == 3 ? Outcome::Busy : Outcome::Rejected);
            f.scanEnded(true);
        }
        QCOMPARE(f.heard, QStringList{"+paymentRejected"});
        QCOMPARE(f.policy.active().constFirst().subject, a);
        f.delivery(a, Outcome::Delivered);
        QCOMPARE(f.heard.last(), QStringLiteral("-paymentRejected"));
    }

    // Each message goes out once; one that fails waits and goes first when
    // the next one comes.
    void remoteMessagesKeepTheirOrder()
    {
        AlertFixture f;
        AlertSettings settings;
        settings.setAddress(QStringLiteral("http://bot/send?msg={text}"));
        settings.setMethod(AlertSettings::Method::Get);
        RemoteAlerts remote(f.policy, settings, f.fake.webHook, f.fake.clock);

        f.enter(ScanState::SessionLost);
        QCOMPARE(f.fake.webHook.calls.size(), 1);
        QVERIFY(
            f.fake.webHook.calls[0].request.address.startsWith("http://bot/send?msg=%E6%94%AF"));
        QVERIFY(f.fake.webHook.calls[0].request.body.isEmpty());
        f.fake.webHook.answer(0);
        QCOMPARE(remote.waiting(), 1);

        settings.setMethod(AlertSettings::Method::PostJson);
        f.enter(ScanState::Scanning);
        QCOMPARE(f.fake.webHook.calls.size(), 2);
        f.fake.webHook.answer(200);
        QCOMPARE(f.fake.webHook.calls.size(), 3);
        f.fake.webHook.answer(204);
        QCOMPARE(remote.waiting(), 0);

        const auto body = [&](int call) {
            return QJsonDocument::fromJson(f.fake.webHook.calls[call].request.body).object();
        };
        QCOMPARE(body(1).value("cause").toString(), QStringLiteral("sessionLost"));
        QCOMPARE(body(2).value("cause").toString(), QStringLiteral("cleared"));
        QVERIFY(body(2).value("text").toString().startsWith(QStringLiteral("已恢复：")));
        const QString time = body(2).value("time").toString();
        QVERIFY2(time.startsWith("2024-03-09T12:00:00") &&
                     QDateTime::fromString(time, Qt::ISODate) == f.fake.clock.now(),
                 qPrintable(time));

        settings.setAddress(QString());
        f.enter(ScanState::SessionLost);
        QCOMPARE(f.fake.webHook.calls.size(), 3);
    }
};

QTEST_GUILESS_MAIN(AlertsTest)
#include "AlertsTest.moc"
