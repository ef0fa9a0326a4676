// SPDX-License-Identifier: GPL-3.0-or-later

#include "journal/PaymentList.h"
#include "fakes/FakeClock.h"
#include "journal/DayTotals.h"
#include "journal/DeliveryJournal.h"
#include "journal/PaymentBook.h"
#include "support/ModelTexts.h"
#include "support/RecordPages.h"
#include "support/TestRegistry.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

using State = PaymentMemory::State;

// A journal that saw five payments today and one yesterday.
struct ListFixture {
    QTemporaryDir folder;
    FakeClock clock;
    DeliveryJournal journal{folder.filePath("journal.db"), clock};
    PaymentBook book{journal, clock};

    ListFixture()
    {
        const QDateTime today = clock.now();
        clock.set(today.addDays(-1));
        add(1, "yesterday", "5.00", State::Delivered);
        clock.set(today);
        add(2, "mug", "1,280.50", State::Delivered);
        add(3, "cup 50%", "0.01", State::Pending);
        add(4, "refused", "2.00", State::Pending);
        // Refused three times, the last at noon: next at 12:04.
        for (int i = 0; i < 3; ++i)
            book.addRefusal(tradeNumber(4), QDateTime(today.date(), QTime(12, 0)));
        add(5, "old", "9.99", State::History);
        add(6, "day gone", "3.30", State::GivenUp);
    }
    void add(int serial, const QString& title, const QString& amount, State state)
    {
        book.rememberFirstSightings({{{tradeNumber(serial), title, amount}, state}});
    }
};

} // namespace

Q_DECLARE_METATYPE(std::optional<PaymentMemory::State>)

class PaymentListTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filtersByStateAndText_data()
    {
        QTest::addColumn<std::optional<State>>("state");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("all, newest first")
            << std::optional<State>() << ""
            << QStringList{"day gone", "old", "refused", "cup 50%", "mug", "yesterday"}
            << QStringList{"已放弃", "历史",   "待送达（下次 3/9 12:04）",
                           "待送达", "已送达", "已送达"};
        QTest::newRow("delivered")
            << std::optional(State::Delivered) << "" << QStringList{"mug", "yesterday"}
            << QStringList{"已送达", "已送达"};
        QTest::newRow("pending, by title") << std::optional(State::Pending) << "%"
                                           << QStringList{"cup 50%"} << QStringList{"待送达"};
        QTest::newRow("by trade number") << std::optional<State>() << tradeNumber(6)
                                         << QStringList{"day gone"} << QStringList{"已放弃"};
    }

    void filtersByStateAndText()
    {
        QFETCH(std::optional<State>, state);
        QFETCH(QString, text);
        ListFixture f;
        PaymentList list(f.journal);
        list.setFilter(state, text);
        QTEST(columnTexts(list, PaymentList::Title), "titles");
        QTEST(columnTexts(list, PaymentList::State), "words");
    }

    // Today's payments by state, history left out, summed in exact cents.
    void totalsCountTodaysPaymentsByState()
    {
        ListFixture f;
        const DayTotals today = dayTotals(f.journal, f.clock.now().date());
        const auto sum = [](const DayTotals::Sum& s) {
            return std::pair(s.payments, s.cents);
        };
        QCOMPARE(sum(today.seen), std::pair(4, qint64(128050 + 1 + 200 + 330)));
        QCOMPARE(sum(today.delivered), std::pair(1, qint64(128050)));
        QCOMPARE(sum(today.pending), std::pair(2, qint64(201)));
        QCOMPARE(sum(today.givenUp), std::pair(1, qint64(330)));
        QCOMPARE(today.undeliveredTitles, (QStringList{"cup 50%", "refused", "day gone"}));
    }
};

TOLLWICK_TEST(PaymentListTest)
#include "PaymentListTest.moc"
