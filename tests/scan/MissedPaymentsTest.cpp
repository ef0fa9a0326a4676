// SPDX-License-Identifier: GPL-3.0-or-later

#include "ScanFixture.h"
#include "alerts/AlertPolicy.h"
#include "journal/DeliveryJournal.h"
#include "journal/PaymentBook.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

// One scan: the record page it reads (serials, newest first), the payments
// whose calls it makes, in order, and what befalls it; the program is closed
// and started again before a Restart's scan.
struct Step {
    enum Event { None, FetchFails, Restart, JournalAway };
    QList<int> page;
    QList<int> delivered;
    Event event = None;
};
using Steps = QList<Step>;

// The scan with the program's memory: the journal on a file, and the alerts.
struct MemoryFixture : ScanFixture {
    DeliveryJournal journal;
    PaymentBook book{journal, fake.clock};
    AlertPolicy alerts{watch, journal};

    explicit MemoryFixture(const QString& path)
        : journal(path, fake.clock)
    {
        watch.scanCycle().setMemory(&book);
        QObject::connect(&watch.scanCycle(), &ScanCycle::deliveryFinished, &journal,
                         &DeliveryJournal::record);
    }

    // The trade numbers of the shop's calls, in the order sent.
    QStringList calls() const
    {
        QStringList tradeNumbers;
        for (const QString& call : notifications())
            tradeNumbers.append(call.section(QStringLiteral("tradeno="), 1).left(28));
        return tradeNumbers;
    }
    auto stateOf(int serial) { return book.stateOf(tradeNumber(serial)); }
};

// The serials from `first` to `last`, either way.
QList<int> serials(int first, int last)
{
    QList<int> list;
    for (int serial = first; serial != last; serial += first < last ? 1 : -1)
        list.append(serial);
    return list << last;
}

} // namespace

Q_DECLARE_METATYPE(Steps)

class MissedPaymentsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each scan's calls, both calls of each payment delivered in turn, and
    // each such payment written down as delivered.
    void everyNewPaymentReachesTheShop_data()
    {
        QTest::addColumn<QString>("records");
        QTest::addColumn<Steps>("steps");
        // Scans that end with the unseen-page alert standing.
        QTest::addColumn<int>("unseenAlerts");
        QTest::newRow("a burst of four after an empty page")
            << "1" << Steps{{{}, {}}, {{4, 3, 2, 1}, {4, 1, 2, 3}}, {{4, 3, 2, 1}, {}}} << 0;
        QTest::newRow("positions shift as before")
            << "3" << Steps{{{3, 2, 1}, {3, 2, 1}}, {{4, 3, 2}, {4, 3, 2}}, {{4, 3, 2}, {}}} << 0;
        QTest::newRow("three paid while closed")
            << "1"
            << Steps{{{1}, {1}}, {{4, 3, 2, 1}, {4, 2, 3}, Step::Restart}, {{4, 3, 2, 1}, {}}} << 0;
        QTest::newRow("a first start with twenty old payments")
            << "1" << Steps{{serials(20, 1), {20}}, {serials(20, 1), {}}} << 0;
        QTest::newRow("another account, then the first again")
            << "1" << Steps{{{2, 1}, {2}}, {{102, 101}, {102}}, {{3, 2, 1}, {3}}, {{3, 2, 1}, {}}}
            << 1;
        QTest::newRow("a failed fetch between two reads")
            << "1" << Steps{{{1}, {1}}, {{}, {}, Step::FetchFails}, {{3, 2, 1}, {3, 2}}} << 0;
        QTest::newRow("more than one scan's bound")
            << "1"
            << Steps{{{}, {}},
                     {serials(23, 1), QList<int>{23} + serials(1, 20)},
                     {serials(23, 1), {21, 22}},
                     {serials(23, 1), {}}}
            << 0;
        // The scanned position goes on and the reference stays; the payment
        // that came meanwhile is judged after.
        QTest::newRow("a journal outage")
            << "1" << Steps{{{1}, {1}}, {{3, 2, 1}, {3}, Step::JournalAway}, {{3, 2, 1}, {2}}} << 0;
    }

    void everyNewPaymentReachesTheShop()
    {
        QFETCH(QString, records);
        QFETCH(Steps, steps);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("journal.db"));
        auto f = std::make_unique<MemoryFixture>(path);
        int unseen = 0;
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            if (step.event == Step::Restart)
                f = std::make_unique<MemoryFixture>(path);
            // A folder takes the journal's place.
            const bool away = step.event == Step::JournalAway;
            QVERIFY(!away || (QFile::rename(path, path + ".away") && QDir().mkdir(path)));
            f->state.setRecordCount(records);
            f->payments.clear();
            for (int serial : step.page)
                f->payments.append(payment(serial));
            f->recordPageStatus = step.event == Step::FetchFails ? 500 : 200;
            f->fake.http.sent.clear();
            f->tick();
            QVERIFY(!away || (QDir().rmdir(path) && QFile::rename(path + ".away", path)));
            QVERIFY2(!f->watch.scanCycle().running(), qPrintable(QString::number(i)));
            QStringList calls;
            for (int serial : step.delivered)
                calls << tradeNumber(serial) << tradeNumber(serial);
            QCOMPARE(f->calls(), calls);
            for (int serial : away ? QList<int>{} : step.delivered)
                QCOMPARE(f->stateOf(serial), PaymentMemory::State::Delivered);
            unseen +=
                std::ranges::count(f->alerts.active(), Alert::Cause::UnseenPayments, &Alert::cause);
        }
        QTEST(unseen, "unseenAlerts");
    }

    // The shop refuses one payment until the owner steps in; it slid below
    // the scanned position at once.
    void aRefusedPaymentIsTriedOnScheduleAndGivenUpAfterADay()
    {
        QTemporaryDir folder;
        MemoryFixture f(folder.filePath(QStringLiteral("journal.db")));
        const QString refused = f.refused = tradeNumber(1);
        QSignalSpy raised(&f.alerts, &AlertPolicy::raised);
        QSignalSpy cleared(&f.alerts, &AlertPolicy::cleared);
        const QDateTime start = f.fake.clock.now();

        // A scan every 20 s for 25 hours; when the shop refused the payment,
        // in seconds since the first scan.
        constexpr int Every = 20;
        QList<qint64> tries;
        f.payments = {payment(1)};
        for (int scan = 0; scan * Every <= 25 * 3600; ++scan) {
            f.fake.clock.set(start.addSecs(scan * Every));
            f.fake.http.sent.clear();
            f.tick();
            if (f.calls().contains(refused))
                tries.append(scan * Every);
            f.payments = {payment(2), payment(1)};
        }
        // Each pause from the last refusal, give or take a scan and its calls.
        const QList<int> minutes = {1, 2, 4, 8, 16, 30, 30, 30};
        QVERIFY(tries.size() > 40);
        for (qsizetype i = 0; i < minutes.size(); ++i) {
            const qint64 pause = tries[i + 1] - tries[i];
            QVERIFY2(pause >= minutes[i] * 60 && pause <= minutes[i] * 60 + 2 * Every,
                     qPrintable(QString::number(pause)));
        }
        QVERIFY(tries.constLast() < 24 * 3600);
        QCOMPARE(f.stateOf(1), PaymentMemory::State::GivenUp);
        // Three refusals alert as at the scanned positions; the day's end once.
        QCOMPARE(raised.size(), 2);
        QVERIFY(raised[0][0].value<Alert>().cause == Alert::Cause::PaymentRejected);
        QVERIFY(raised[1][0].value<Alert>().cause == Alert::Cause::PaymentGivenUp);
        QVERIFY(raised[1][0].value<Alert>().text.contains(refused));

        f.refused.clear();
        QVERIFY(f.watch.scanCycle().renotify({refused, QStringLiteral("Order1"), "0.01"}) ==
                ScanCycle::Refusal::None);
        f.runScan();
        QCOMPARE(f.stateOf(1), PaymentMemory::State::Delivered);
        QCOMPARE(cleared.size(), 2);
    }
};

TOLLWICK_TEST(MissedPaymentsTest)
#include "MissedPaymentsTest.moc"
