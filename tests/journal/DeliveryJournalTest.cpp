// SPDX-License-Identifier: GPL-3.0-or-later

#include "journal/DeliveryJournal.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeWatch.h"
#include "journal/CsvFile.h"
#include "journal/JournalTable.h"
#include "journal/PaymentBook.h"
#include "support/ModelTexts.h"
#include "support/RecordPages.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString Key = QStringLiteral("S3cr3t-Key");

DeliveryAttempt attempt(const QString& tradeNo, const QString& amount,
                        DeliveryAttempt::Outcome outcome)
{
    DeliveryAttempt a{.record = {tradeNo, QStringLiteral("订单 ") + amount, amount}};
    a.outcome = outcome;
    a.status = 200;
    a.charset = QStringLiteral("gb2312");
    a.address = QStringLiteral("http://shop/n.php?act=***&jine=") + amount;
    return a;
}

int rows(const DeliveryJournal& journal)
{
    QSqlQuery count(journal.database());
    count.exec(QStringLiteral("SELECT COUNT(*) FROM attempts"));
    return count.next() ? count.value(0).toInt() : -1;
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs `statements` on the SQLite file at `path`, as another program would.
bool run(const QString& path, const QStringList& statements)
{
    bool done = true;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", "other");
        database.setDatabaseName(path);
        done = database.open();
        QSqlQuery query(database);
        for (const QString& statement : statements)
            done = done && query.exec(statement);
    }
    QSqlDatabase::removeDatabase("other");
    return done;
}

constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

} // namespace

class DeliveryJournalTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keepsEachAttemptThatCalledTheShopOnce()
    {
        QTemporaryDir folder;
        FakeClock clock;
        DeliveryJournal journal(folder.filePath("journal.db"), clock);
        using Outcome = DeliveryAttempt::Outcome;
        journal.record(attempt(tradeNumber(1), "1,280.50", Outcome::Delivered));
        journal.record(attempt(tradeNumber(2), "0.01", Outcome::Rejected));
        journal.record(attempt(tradeNumber(2), "0.01", Outcome::Busy));
        journal.record(attempt(tradeNumber(1), "1,280.50", Outcome::AlreadyDelivered));
        DeliveryAttempt again = attempt(tradeNumber(1), "1,280.50", Outcome::Delivered);
        again.manual = true;
        journal.record(again);
        journal.record(attempt(tradeNumber(3), "25.00", Outcome::Delivered));
        clock.set(clock.now().addDays(1));
        journal.record(attempt(tradeNumber(4), "9.99", Outcome::Delivered));

        QVERIFY2(journal.problem().isEmpty(), qPrintable(journal.problem()));
        QCOMPARE(rows(journal), 5);
    }

    void anOlderJournalIsUpgradedOrLeftAsItWas_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::newRow("upgraded") << false;
        QTest::newRow("refused halfway") << true;
    }

    // Older journals kept the owner's words and no payments. Upgraded, they
    // read the same and learn their payments from their attempts: delivered
    // ones as delivered, the rest as history, with their first values. A
    // failed upgrade leaves the file as it was, and the journal unavailable
    // until the next start, even once the obstacle is gone.
    void anOlderJournalIsUpgradedOrLeftAsItWas()
    {
        QFETCH(bool, refused);
        QTemporaryDir folder;
        const QString path = folder.filePath("journal.db");
        QStringList older{
            "PRAGMA journal_mode=WAL",
            "CREATE TABLE attempts (id INTEGER PRIMARY KEY AUTOINCREMENT, time, "
            "trade_no, amount, amount_cents, title, outcome, http_status, reply, "
            "charset, address, kind)",
            "CREATE TABLE alert_sends (id INTEGER PRIMARY KEY AUTOINCREMENT, time, "
            "cause, kind, verdict, http_status, reply)",
            "INSERT INTO attempts (time, trade_no, amount, title, outcome, kind) VALUES "
            "('t1', 'T1', '1.00', 'a', '发送失败', '扫描'), "
            "('t2', 'T1', '9.99', 'a', '发送成功', '重新通知'), "
            "('t3', 'T2', '2.00', 'b', '发送失败', '扫描')",
            "INSERT INTO alert_sends (cause, kind, verdict) VALUES "
            "('sessionLost', 'wecom', '发送失败，稍后重试：网址不存在 (404)'), "
            "('test', 'wecom', '发送成功'), "
            "('cleared', 'wecom', '发送失败，不再重试：超时')"};
        if (refused)
            older.append("CREATE TRIGGER refuse BEFORE UPDATE ON alert_sends "
                         "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        QVERIFY(run(path, older));
        const QByteArray before = bytesOf(path);
        FakeClock clock;
        DeliveryJournal journal(path, clock);
        if (refused) {
            QVERIFY2(journal.problem().contains("refused"), qPrintable(journal.problem()));
            QCOMPARE(bytesOf(path), before);
            QVERIFY(run(path, {"DROP TRIGGER refuse"}));
            QVERIFY(!journal.readyToWrite());
            return;
        }
        QVERIFY2(journal.problem().isEmpty(), qPrintable(journal.problem()));
        QSqlQuery stored(journal.database());
        QVERIFY(stored.exec("SELECT group_concat(outcome || '/' || kind, ' '), "
                            "(SELECT amount FROM payments ORDER BY seq) FROM attempts"));
        QVERIFY(stored.next());
        QCOMPARE(stored.value(0).toString(),
                 QStringLiteral("rejected/scan delivered/renotify rejected/scan"));
        QCOMPARE(stored.value(1).toString(), QStringLiteral("1.00"));
        // Rows written since read alike.
        journal.record(attempt("T3", "3.00", DeliveryAttempt::Outcome::Delivered));
        AlertSend retry;
        retry.verdict = AlertSend::Verdict::WillRetry;
        retry.reason = "超时";
        journal.recordAlertSend(retry);
        JournalTable attempts(journal, DeliveryJournal::Table);
        attempts.select();
        QCOMPARE(columnTexts(attempts, attempts.fieldIndex("outcome")),
                 (QStringList{"发送成功", "发送失败", "发送成功", "发送失败"}));
        QCOMPARE(columnTexts(attempts, attempts.fieldIndex("kind")),
                 (QStringList{"扫描", "扫描", "重新通知", "扫描"}));
        JournalTable alerts(journal, DeliveryJournal::AlertTable);
        alerts.select();
        QCOMPARE(columnTexts(alerts, alerts.fieldIndex("verdict")),
                 (QStringList{"发送失败，稍后重试：超时", "发送失败，不再重试：超时", "发送成功",
                              "发送失败，稍后重试：网址不存在 (404)"}));
        QCOMPARE(columnTexts(alerts, alerts.fieldIndex("reason")),
                 (QStringList{"超时", "超时", "", "网址不存在 (404)"}));

        PaymentBook book(journal, clock);
        QCOMPARE(book.stateOf("T1"), PaymentMemory::State::Delivered);
        QCOMPARE(book.stateOf("T2"), PaymentMemory::State::History);
    }

    // The key goes to the shop and nowhere else: not into the database, its
    // companions or an export, all of which only the owner may read.
    void keyStaysOutOfEveryFile()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("journal.db");
        FakeWatch w;
        DeliveryJournal journal(path, w.fake.clock);
        connect(&w.watch.scanCycle(), &ScanCycle::deliveryFinished, &journal,
                &DeliveryJournal::record);
        w.logIn();
        w.state.setDeliveryUrl(QStringLiteral("http://shop/n.php"));
        w.state.setInterfaceKey(Key);
        w.state.setRecordCount(QStringLiteral("3"));
        w.fake.http.respond = [](const QString& address) {
            if (address.startsWith(Endpoints::service().RecordQueryUrl))
                return FakeResponse{recordPage({{tradeNumber(1), "a", "1.00"},
                                                {tradeNumber(2), "=cmd|' /C calc'!A0", "2.00"},
                                                {tradeNumber(3), "\t=HYPERLINK(1)", "3.00"}})};
            // A shop that echoes its query back.
            return FakeResponse{address.toUtf8()};
        };
        w.fake.clock.advanceSeconds(30);
        QCOMPARE(rows(journal), 3);

        const QString csv = folder.filePath("export.csv");
        QFile(csv).open(QIODevice::WriteOnly);
        QFile::setPermissions(csv, OwnerOnly | QFile::ReadOther | QFile::ReadGroup);
        QList<QStringList> table;
        QSqlQuery all(journal.database());
        all.exec(QStringLiteral("SELECT title, address, reply FROM attempts"));
        while (all.next())
            table.append(
                {all.value(0).toString(), all.value(1).toString(), all.value(2).toString()});
        QString error;
        QVERIFY2(writeCsvFile(csv, table, error), qPrintable(error));

        for (const QString& file : {path, path + "-wal", path + "-shm", csv}) {
            const QByteArray bytes = bytesOf(file);
            QVERIFY2(!bytes.contains(Key.toUtf8()), qPrintable(file));
            QCOMPARE(QFile::permissions(file) & ~(QFile::ReadUser | QFile::WriteUser), OwnerOnly);
        }
        QCOMPARE(QFile::permissions(folder.path()) & 0x0077, QFile::Permissions());

        // Opens in a spreadsheet as text, nothing of it run as a formula.
        const QByteArray exported = bytesOf(csv);
        QVERIFY(exported.startsWith("\xEF\xBB\xBF"));
        QVERIFY(exported.contains("\"'=cmd|' /C calc'!A0\""));
        QVERIFY(exported.contains("\"'\t=HYPERLINK(1)\""));
    }

    // A journal put in a shared folder leaves it shared; only the folders
    // it makes are its own.
    void onlyFoldersItMakesAreMadePrivate()
    {
        QTemporaryDir folder;
        const QByteArray shared = QFile::encodeName(folder.filePath("shared"));
        QVERIFY(::mkdir(shared, 01777) == 0 && ::chmod(shared, 01777) == 0);
        FakeClock clock;
        DeliveryJournal journal(folder.filePath("shared/made/journal.db"), clock);
        QVERIFY2(journal.problem().isEmpty(), qPrintable(journal.problem()));
        struct stat status {};
        QVERIFY(::stat(shared, &status) == 0 && (status.st_mode & 07777) == 01777);
        QVERIFY(::stat(shared + "/made", &status) == 0 && (status.st_mode & 07777) == 0700);
    }

    void anUnreadableFileIsSetAsideWhole()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("journal.db");
        const QByteArray damaged = QByteArray("SQLite format 3") + QByteArray(4000, '\x7f');
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(damaged);
        }
        FakeClock clock;
        DeliveryJournal journal(path, clock);
        QVERIFY(!journal.problem().isEmpty());
        const QStringList setAside =
            QDir(folder.path()).entryList({QStringLiteral("journal.db.unreadable-*")}, QDir::Files);
        QVERIFY2(setAside.contains("journal.db.unreadable-20240309-120000"),
                 qPrintable(setAside.join(' ')));
        QCOMPARE(bytesOf(folder.filePath("journal.db.unreadable-20240309-120000")), damaged);

        QSignalSpy recovered(&journal, &DeliveryJournal::recovered);
        journal.record(attempt(tradeNumber(1), "1.00", DeliveryAttempt::Outcome::Delivered));
        QCOMPARE(rows(journal), 1);
        QCOMPARE(recovered.size(), 1);
        QVERIFY(journal.problem().isEmpty());
    }

    void aDeletedOrReplacedFileIsOpenedAnew_data()
    {
        QTest::addColumn<bool>("replaced");
        QTest::newRow("deleted") << false;
        QTest::newRow("replaced by an empty file") << true;
    }

    // SQLite would go on writing into the file that is gone, where nobody
    // ever finds the attempts again.
    void aDeletedOrReplacedFileIsOpenedAnew()
    {
        QFETCH(bool, replaced);
        QTemporaryDir folder;
        const QString path = folder.filePath("journal.db");
        FakeClock clock;
        DeliveryJournal journal(path, clock);
        journal.record(attempt(tradeNumber(1), "1.00", DeliveryAttempt::Outcome::Delivered));
        QSignalSpy failed(&journal, &DeliveryJournal::failed);
        QSignalSpy recovered(&journal, &DeliveryJournal::recovered);
        QVERIFY(QFile::remove(path));
        if (replaced) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        journal.record(attempt(tradeNumber(2), "2.00", DeliveryAttempt::Outcome::Delivered));
        QCOMPARE(failed.size(), 1);
        QVERIFY(failed[0][0].toString().contains(QStringLiteral("被删除或替换")));
        QCOMPARE(recovered.size(), 1);
        QCOMPARE(rows(journal), 1);
        QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), OwnerOnly);
    }

    // Raised once the program's parts listen, and again at each write that
    // still fails.
    void aJournalThatCannotOpenSaysSoOnceHeard()
    {
        QTemporaryDir folder;
        QFile blocker(folder.filePath("not-a-folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        FakeClock clock;
        DeliveryJournal journal(blocker.fileName() + "/journal.db", clock);
        QSignalSpy failed(&journal, &DeliveryJournal::failed);
        QTRY_COMPARE(failed.size(), 1);
        journal.record(attempt(tradeNumber(1), "1.00", DeliveryAttempt::Outcome::Delivered));
        QCOMPARE(failed.size(), 2);
    }

    // Every attempt written before the process is killed is still there.
    void aKilledProcessLosesNoFinishedAttempt()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("journal.db");
        QProcess writer;
        writer.start(QStringLiteral(TOLLWICK_JOURNAL_WRITER), {path, QStringLiteral("25")});
        QVERIFY(writer.waitForStarted());
        QByteArray said;
        while (!said.contains("written 25\n") && writer.waitForReadyRead(10000))
            said += writer.readAllStandardOutput();
        QVERIFY2(said.contains("written 25\n"), said.constData());
        writer.kill();
        QVERIFY(writer.waitForFinished());

        FakeClock clock;
        DeliveryJournal journal(path, clock);
        QVERIFY(journal.problem().isEmpty());
        QCOMPARE(rows(journal), 25);
    }
};

TOLLWICK_TEST(DeliveryJournalTest)
#include "DeliveryJournalTest.moc"
