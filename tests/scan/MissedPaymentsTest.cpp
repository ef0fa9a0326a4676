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

#include <memory>

namespace {

// One scan: the record page it reads (serials, newest first), or a failed
// fetch; and the payments whose calls it makes, in order.
struct Step {
    QList<int> page;
    QList<int> delivered;
    bool fetchFails = false;
    // The program is closed before this scan and started again.
    bool restart = false;
};

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

    // The payments whose second call went out, in order.
    QStringList secondCalls() const
    {
        QStringList tradeNumbers;
        const QStringList calls = notifications();
        for (qsizetype i = 1; i < calls.size(); i += 2)
            tradeNumbers.append(calls[i].section(QStringLiteral("tradeno="), 1).left(28));
        return tradeNumbers;
    }
    std::optional<PaymentMemory::State> stateOf(int serial)
    {
        return book.stateOf(tradeNumber(serial));
    }
};

QList<Payment> pageOf(const QList<int>& serials)
{
    QList<Payment> page;
    for (int serial : serials)
        page.append(payment(serial));
    return page;
}

QStringList tradeNumbersOf(const QList<int>& serials)
{
    QStringList numbers;
    for (int serial : serials)
        numbers.append(tradeNumber(serial));
    return numbers;
}

// The serials from `first` to `last`, either way.
QList<int> serials(int first, int last)
{
    QList<int> list;
    for (int serial = first; serial != last; serial += first < last ? 1 : -1)
        list.append(serial);
    return list << last;
}

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class MissedPaymentsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each scan's calls, with exactly two calls per payment delivered.
    void everyNewPaymentReachesTheShop_data()
    {
        QTest::addColumn<QString>("records");
        QTest::addColumn<QList<Step>>("steps");
        // Scans that end with the unseen-page alert standing.
        QTest::addColumn<int>("unseenAlerts");
        QTest::newRow("a burst of four after an empty page")
            << "1" << QList<Step>{{{}, {}}, {{4, 3, 2, 1}, {4, 1, 2, 3}}, {{4, 3, 2, 1}, {}}} << 0;
        QTest::newRow("positions shift as before")
            << "3" << QList<Step>{{{3, 2, 1}, {3, 2, 1}}, {{4, 3, 2}, {4, 3, 2}}, {{4, 3, 2}, {}}}
            << 0;
        QTest::newRow("three paid while closed")
            << "1"
            << QList<Step>{{{1}, {1}}, {{4, 3, 2, 1}, {4, 2, 3}, false, true}, {{4, 3, 2, 1}, {}}}
            << 0;
        QTest::newRow("a first start with twenty old payments")
            << "1" << QList<Step>{{serials(20, 1), {20}}, {serials(20, 1), {}}} << 0;
        QTest::newRow("another account, then the first again")
            << "1"
            << QList<Step>{{{2, 1}, {2}}, {{102, 101}, {102}}, {{3, 2, 1}, {3}}, {{3, 2, 1}, {}}}
            << 1;
        QTest::newRow("a failed fetch between two reads")
            << "1" << QList<Step>{{{1}, {1}}, {{}, {}, true}, {{3, 2, 1}, {3, 2}}} << 0;
        QTest::newRow("more than one scan's bound")
            << "1"
            << QList<Step>{{{}, {}},
                           {serials(23, 1), QList<int>{23} + serials(1, 20)},
                           {serials(23, 1), {21, 22}},
                           {serials(23, 1), {}}}
            << 0;
    }

    void everyNewPaymentReachesTheShop()
    {
        QFETCH(QString, records);
        QFETCH(QList<Step>, steps);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("journal.db"));
        auto f = std::make_unique<MemoryFixture>(path);
        int unseen = 0;
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const Step& step = steps[i];
            if (step.restart)
                f = std::make_unique<MemoryFixture>(path);
            f->state.setRecordCount(records);
            f->payments = pageOf(step.page);
            f->recordPageStatus = step.fetchFails ? 500 : 200;
            f->fake.http.sent.clear();
            f->tick();
            QVERIFY2(!f->watch.scanCycle().running(), qPrintable(QString::number(i)));
            QCOMPARE(f->secondCalls(), tradeNumbersOf(step.delivered));
            QCOMPARE(f->notifications().size(), 2 * step.delivered.size());
            unseen += std::count_if(
                f->alerts.active().cbegin(), f->alerts.active().cend(),
                [](const Alert& alert) { return alert.cause == Alert::Cause::UnseenPayments; });
        }
        QTEST(unseen, "unseenAlerts");
    }

    // The shop refuses one payment until the owner steps in; it slid below
    // the scanned position at once.
    void aRefusedPaymentIsTriedOnScheduleAndGivenUpAfterADay()
    {
        QTemporaryDir folder;
        MemoryFixture f(folder.filePath(QStringLiteral("journal.db")));
        const QString refused = tradeNumber(1);
        bool accepts = false;
        f.fake.http.respond = [&](const QString& address) {
            if (address.startsWith(Endpoints::service().RecordQueryUrl))
                return FakeResponse{recordPage(f.payments)};
            const bool refuse = address.contains(refused) && !accepts;
            return FakeResponse{refuse ? "no" : "success"};
        };
        QSignalSpy raised(&f.alerts, &AlertPolicy::raised);
        QSignalSpy cleared(&f.alerts, &AlertPolicy::cleared);
        const QDateTime start = f.fake.clock.now();

        // A scan every 20 s for 25 hours; when the shop refused the payment,
        // in seconds since the first scan.
        constexpr int Every = 20;
        QList<qint64> tries;
        f.payments = pageOf({1});
        for (int scan = 0; scan * Every <= 25 * 3600; ++scan) {
            f.fake.clock.set(start.addSecs(scan * Every));
            f.fake.http.sent.clear();
            f.tick();
            if (f.secondCalls().contains(refused))
                tries.append(scan * Every);
            f.payments = pageOf({2, 1});
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
        QList<Alert::Cause> causes;
        for (const QVariantList& alert : raised)
            causes.append(alert[0].value<Alert>().cause);
        // Three refusals alert as at the scanned positions; the day's end once.
        QCOMPARE(causes, (QList<Alert::Cause>{Alert::Cause::PaymentRejected,
                                              Alert::Cause::PaymentGivenUp}));
        QVERIFY(raised[1][0].value<Alert>().text.contains(refused));

        accepts = true;
        QVERIFY(f.watch.scanCycle().renotify({refused, QStringLiteral("Order1"), "0.01"}) ==
                ScanCycle::Refusal::None);
        f.runScan();
        QCOMPARE(f.stateOf(1), PaymentMemory::State::Delivered);
        QCOMPARE(cleared.size(), 2);
    }

    // While the journal cannot be written, the scanned position goes on and
    // the reference stays; payments that came meanwhile are judged after.
    void paymentsDuringAJournalOutageAreDeliveredAfter()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("journal.db"));
        MemoryFixture f(path);
        f.payments = pageOf({1});
        f.tick();

        QVERIFY(QFile::rename(path, path + QStringLiteral(".away")));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("journal.db")));
        f.payments = pageOf({3, 2, 1});
        f.fake.http.sent.clear();
        f.tick();
        QCOMPARE(f.secondCalls(), tradeNumbersOf({3}));

        QVERIFY(QDir(folder.path()).rmdir(QStringLiteral("journal.db")));
        QVERIFY(QFile::rename(path + QStringLiteral(".away"), path));
        f.fake.http.sent.clear();
        f.tick();
        QCOMPARE(f.secondCalls(), tradeNumbersOf({2}));
        QCOMPARE(f.stateOf(2), PaymentMemory::State::Delivered);
    }
};

TOLLWICK_TEST(MissedPaymentsTest)
#include "MissedPaymentsTest.moc"
