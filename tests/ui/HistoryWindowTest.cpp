// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/HistoryWindow.h"
#include "fakes/FakeWatch.h"
#include "journal/DeliveryJournal.h"
#include "journal/PaymentBook.h"
#include "support/ModelTexts.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A journal with payments, and their attempts, whose titles a payer could
// have typed to trip a filter pasted into SQL. Shown on the attempts tab.
struct HistoryFixture : FakeWatch {
    QTemporaryDir folder;
    DeliveryJournal journal{folder.filePath("journal.db"), fake.clock};
    PaymentBook book{journal, fake.clock};
    HistoryWindow window{journal, watch.scanCycle(), fake.clock};

    HistoryFixture()
    {
        QObject::connect(&watch.scanCycle(), &ScanCycle::deliveryFinished, &journal,
                         &DeliveryJournal::record);
        watch.scanCycle().setMemory(&book);
        const QStringList titles{"50% off", "a_b", "O'Brien", "x' OR '1'='1", "plain"};
        for (int i = 0; i < titles.size(); ++i) {
            DeliveryAttempt attempt{.record = {QStringLiteral("2024%1").arg(i, 24, 10, QChar(u'0')),
                                               titles[i], QStringLiteral("1%1.25").arg(i)}};
            attempt.outcome =
                i == 4 ? DeliveryAttempt::Outcome::Rejected : DeliveryAttempt::Outcome::Delivered;
            book.rememberFirstSightings(
                {{attempt.record,
                  i == 4 ? PaymentMemory::State::Pending : PaymentMemory::State::Delivered}});
            journal.record(attempt);
        }
        // Laid out, so that clicks land on the buttons.
        window.show();
        window.findChild<QTabWidget*>()->setCurrentWidget(table());
    }

    QTableView* table() { return window.findChild<QTableView*>("deliveries"); }
    QStringList shownTitles() { return columnTexts(*table()->model(), 5); }
};

// Clicks "重新通知" and answers the question it asks, which must name the payment.
void askToRenotify(HistoryFixture& f, bool send)
{
    QTest::mouseClick(f.window.findChild<QPushButton*>("renotify"), Qt::LeftButton);
    auto* question = f.window.findChild<QMessageBox*>("renotifyQuestion");
    QVERIFY(question);
    QVERIFY(question->text().contains(QStringLiteral("x' OR '1'='1")));
    for (QAbstractButton* button : question->buttons()) {
        if ((button->text() == QStringLiteral("重新通知")) == send)
            button->click();
    }
    QTRY_VERIFY(!f.window.findChild<QMessageBox*>("renotifyQuestion"));
}

} // namespace

class HistoryWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Newest first; a payment opened shows its attempts, and only those.
    void showsNewestFirstAndOpensAPaymentsAttempts()
    {
        HistoryFixture f;
        QCOMPARE(f.shownTitles(),
                 (QStringList{"plain", "x' OR '1'='1", "O'Brien", "a_b", "50% off"}));
        auto* tabs = f.window.findChild<QTabWidget*>();
        tabs->setCurrentIndex(0);
        QCOMPARE(tabs->tabText(0), QStringLiteral("收款"));
        auto* payments = f.window.findChild<QTableView*>("payments");
        payments->setFocus();
        payments->selectRow(1);
        QTest::keyClick(payments, Qt::Key_Enter);
        QCOMPARE(tabs->currentWidget(), f.table());
        QCOMPARE(f.shownTitles(), QStringList{"x' OR '1'='1"});
    }

    // The filter's text is taken literally, whatever a payer put in a title.
    void filterTakesTheTextLiterally_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("percent") << "%" << QStringList{"50% off"};
        QTest::newRow("underscore") << "_" << QStringList{"a_b"};
        QTest::newRow("quote") << "'" << QStringList{"x' OR '1'='1", "O'Brien"};
        QTest::newRow("injection") << "' OR '1'='1" << QStringList{"x' OR '1'='1"};
        QTest::newRow("trade number") << "000003" << QStringList{"x' OR '1'='1"};
        QTest::newRow("nothing") << "none" << QStringList{};
    }

    void filterTakesTheTextLiterally()
    {
        QFETCH(QString, text);
        HistoryFixture f;
        QTest::keyClicks(f.window.findChild<QLineEdit*>("filter"), text);
        QTEST(f.shownTitles(), "titles");
        // A search that finds nothing says so.
        const auto* empty = f.window.findChild<QLabel*>("empty");
        QCOMPARE(empty->isVisibleTo(f.table()), f.shownTitles().isEmpty());
        QCOMPARE(empty->text(), QStringLiteral("没有符合的记录"));
    }

    // The time, the trade number and the amount are read whole; Tab crosses
    // the table in one step; Esc closes the window.
    void readsWholeAndWorksFromTheKeyboard()
    {
        HistoryFixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        QAbstractItemModel* model = f.table()->model();
        for (int column : {1, 2, 3}) {
            const QString text = model->index(0, column).data().toString();
            const int needed = f.table()->fontMetrics().horizontalAdvance(text);
            QVERIFY2(f.table()->columnWidth(column) > needed, qPrintable(text));
        }
        QCOMPARE(model->index(0, 10).data(Qt::ToolTipRole), model->index(0, 10).data());

        auto* filter = f.window.findChild<QLineEdit*>("filter");
        filter->setFocus();
        QTest::keyClick(filter, Qt::Key_Tab);
        // Past the tabs' bar, where the arrow keys choose a tab.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.table());
        QTest::keyClick(f.table(), Qt::Key_Tab);
        QCOMPARE(qobject_cast<QPushButton*>(QApplication::focusWidget())->text(),
                 QStringLiteral("导出 CSV"));
        QTest::keyClick(&f.window, Qt::Key_Escape);
        QVERIFY(!f.window.isVisible());
    }

    void exportsWhatTheFilterShows()
    {
        HistoryFixture f;
        f.window.setFilterText(QStringLiteral("'"));
        const QString path = f.folder.filePath("export.csv");
        QString error;
        QVERIFY2(f.window.exportTo(path, error), qPrintable(error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].startsWith("\xEF\xBB\xBF\"时间\",\"交易号\""));
        QVERIFY(lines[1].contains("\"x' OR '1'='1\""));
        QCOMPARE(QFile::permissions(path) & 0x0077, QFile::Permissions());
    }

    // The outcome comes seconds later; meanwhile the button waits, and a
    // first call still under way refuses another.
    void renotifyCallsTheShopForTheSelectedPayment()
    {
        HistoryFixture f;
        f.state.setDeliveryUrl(QStringLiteral("http://shop/n.php"));
        f.fake.http.respond = [](const QString&) {
            return FakeResponse{"success", 200, {}, 100};
        };
        auto* message = f.window.findChild<QLabel*>("message");
        auto* renotify = f.window.findChild<QPushButton*>("renotify");

        QTest::mouseClick(renotify, Qt::LeftButton);
        QCOMPARE(message->text(), QStringLiteral("请先选中一笔付款。"));
        f.table()->selectRow(1);
        // Asked first, naming the payment; No sends nothing.
        askToRenotify(f, false);
        QVERIFY(f.fake.http.sent.isEmpty());
        askToRenotify(f, true);
        QCOMPARE(message->text(), QStringLiteral("正在重新通知……"));
        QVERIFY(!renotify->isEnabled());
        f.fake.clock.advanceSeconds(5);
        QCOMPARE(message->text(), QStringLiteral("已重新通知，结果见第一行。"));
        QVERIFY(renotify->isEnabled());

        QCOMPARE(f.fake.http.sent.size(), 2);
        QVERIFY(f.fake.http.sent[0].endsWith("&title=x%27%20OR%20%271%27%3D%271"));
        QCOMPARE(f.shownTitles().first(), QStringLiteral("x' OR '1'='1"));
        QCOMPARE(f.table()->model()->index(0, 11).data().toString(), QStringLiteral("重新通知"));

        // The first call of the next one hangs on past the second.
        f.fake.http.respond = [&](const QString&) {
            return FakeResponse{"success", 200, {}, f.fake.http.sent.size() % 2 ? 60000 : 0};
        };
        // The attempt just kept is now the newest row.
        f.table()->selectRow(0);
        askToRenotify(f, true);
        f.fake.clock.advanceSeconds(5);
        f.table()->selectRow(0);
        askToRenotify(f, true);
        QCOMPARE(message->text(), QStringLiteral("上一笔通知尚未完成，请稍后再试。"));
    }
};

TOLLWICK_TEST(HistoryWindowTest)
#include "HistoryWindowTest.moc"
