// SPDX-License-Identifier: GPL-3.0-or-later

#include "journal/PaymentList.h"

#include "journal/DeliveryJournal.h"
#include "journal/PaymentBook.h"
#include "journal/SearchPattern.h"
#include "scan/RetrySchedule.h"

#include <QSqlQuery>

namespace {

// The hidden columns the state's words are made of.
constexpr int Refusals = PaymentList::Shown;
constexpr int LastRefusal = PaymentList::Shown + 1;

const char* const Headings[] = {"首次看到", "付款说明", "金额",    "交易号",
                                "状态",     "尝试次数", "最后回复"};
// A state in the owner's words, by PaymentMemory::State.
const char* const Words[] = {"历史", "待送达", "已送达", "已放弃"};

} // namespace

PaymentList::PaymentList(DeliveryJournal& journal, QObject* parent)
    : QSqlQueryModel(parent)
    , m_journal(journal)
{
    refresh();
}

void PaymentList::setFilter(std::optional<PaymentMemory::State> state, const QString& text)
{
    m_state = state;
    m_text = text;
    refresh();
}

void PaymentList::refresh()
{
    QSqlQuery query(m_journal.database());
    query.prepare(
        QStringLiteral(
            "SELECT p.first_seen, p.title, p.amount, p.trade_no, p.state, "
            "(SELECT COUNT(*) FROM %2 a WHERE a.trade_no = p.trade_no), "
            "(SELECT reply FROM %2 a WHERE a.trade_no = p.trade_no ORDER BY id DESC LIMIT 1), "
            "p.refusals, p.last_refusal FROM %1 p "
            "WHERE (? = '' OR p.state = ?) AND "
            "(p.trade_no LIKE ? ESCAPE '\\' OR p.title LIKE ? ESCAPE '\\') "
            "ORDER BY p.seq DESC")
            .arg(DeliveryJournal::PaymentTable, DeliveryJournal::Table));
    const QString state = m_state ? PaymentBook::code(*m_state) : QStringLiteral("");
    const QString pattern = containingText(m_text);
    execWith(query, {state, state, pattern, pattern});
    setQuery(std::move(query));
    while (canFetchMore())
        fetchMore();
    for (int column = 0; column < Shown; ++column)
        setHeaderData(column, Qt::Horizontal, QString::fromUtf8(Headings[column]));
}

TradeRecord PaymentList::recordAt(int row) const
{
    return {QSqlQueryModel::data(index(row, TradeNo)).toString(),
            QSqlQueryModel::data(index(row, Title)).toString(),
            QSqlQueryModel::data(index(row, Amount)).toString()};
}

QString PaymentList::wordsOf(PaymentMemory::State state)
{
    return QString::fromUtf8(Words[int(state)]);
}

QVariant PaymentList::data(const QModelIndex& index, int role) const
{
    // Long texts show their ends; pointed at, all of it.
    if (role == Qt::ToolTipRole)
        role = Qt::DisplayRole;
    if (index.column() != State || role != Qt::DisplayRole)
        return QSqlQueryModel::data(index, role);
    const auto column = [&](int c) {
        return QSqlQueryModel::data(this->index(index.row(), c));
    };
    const PaymentMemory::State state =
        PaymentBook::stateOfCode(QSqlQueryModel::data(index).toString())
            .value_or(PaymentMemory::State::History);
    const QString words = wordsOf(state);
    PaymentMemory::Payment payment;
    payment.refusals = column(Refusals).toInt();
    if (state != PaymentMemory::State::Pending || payment.refusals == 0)
        return words;
    payment.lastRefusal =
        QDateTime::fromString(column(LastRefusal).toString(), DeliveryJournal::TimeFormat);
    return QStringLiteral("%1（下次 %2）")
        .arg(words, RetrySchedule::nextTry(payment).toString(QStringLiteral("M/d H:mm")));
}
