// SPDX-License-Identifier: GPL-3.0-or-later

#include "journal/PaymentBook.h"

#include "journal/DeliveryJournal.h"
#include "platform/Clock.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// By PaymentMemory::State.
const QStringList Codes{QStringLiteral("history"), QStringLiteral("pending"),
                        QStringLiteral("delivered"), QStringLiteral("given_up")};

} // namespace

PaymentBook::PaymentBook(DeliveryJournal& journal, const Clock& clock)
    : m_journal(journal)
    , m_clock(clock)
{
}

std::optional<PaymentMemory::State> PaymentBook::stateOfCode(const QString& code)
{
    const qsizetype found = Codes.indexOf(code);
    return found < 0 ? std::nullopt : std::optional(State(found));
}

QString PaymentBook::code(State state)
{
    return Codes[int(state)];
}

bool PaymentBook::available()
{
    return m_journal.readyToWrite();
}

bool PaymentBook::knowsAny()
{
    QSqlQuery query(m_journal.database());
    return query.exec(
               QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(DeliveryJournal::PaymentTable)) &&
           query.next();
}

std::optional<PaymentMemory::State> PaymentBook::stateOf(const QString& tradeNo)
{
    QSqlQuery query(m_journal.database());
    query.prepare(QStringLiteral("SELECT state FROM %1 WHERE trade_no = ?")
                      .arg(DeliveryJournal::PaymentTable));
    if (!execWith(query, {tradeNo}) || !query.next())
        return std::nullopt;
    return stateOfCode(query.value(0).toString());
}

bool PaymentBook::rememberFirstSightings(const QList<Sighting>& oldestFirst)
{
    if (oldestFirst.isEmpty())
        return true;
    const QString seen = m_clock.now().toString(DeliveryJournal::TimeFormat);
    return m_journal.write([&](QSqlQuery& query) {
        query.prepare(QStringLiteral("INSERT OR IGNORE INTO %1 "
                                     "(trade_no, amount, title, first_seen, state) "
                                     "VALUES (?, ?, ?, ?, ?)")
                          .arg(DeliveryJournal::PaymentTable));
        for (const Sighting& sighting : oldestFirst) {
            if (!execWith(query, {sighting.record.TradeNo, sighting.record.Amount,
                                  sighting.record.Title, seen, code(sighting.state)}))
                return false;
        }
        return true;
    });
}

void PaymentBook::setState(const QString& tradeNo, State state)
{
    m_journal.write([&](QSqlQuery& query) {
        query.prepare(QStringLiteral("UPDATE %1 SET state = ? WHERE trade_no = ?")
                          .arg(DeliveryJournal::PaymentTable));
        return execWith(query, {code(state), tradeNo});
    });
}

void PaymentBook::addRefusal(const QString& tradeNo, const QDateTime& time)
{
    m_journal.write([&](QSqlQuery& query) {
        query.prepare(QStringLiteral("UPDATE %1 SET refusals = refusals + 1, last_refusal = ? "
                                     "WHERE trade_no = ?")
                          .arg(DeliveryJournal::PaymentTable));
        return execWith(query, {time.toString(DeliveryJournal::TimeFormat), tradeNo});
    });
}

QList<PaymentMemory::Payment> PaymentBook::pending()
{
    QList<Payment> payments;
    QSqlQuery query(m_journal.database());
    query.prepare(QStringLiteral("SELECT trade_no, title, amount, first_seen, refusals, "
                                 "last_refusal FROM %1 WHERE state = ? ORDER BY seq")
                      .arg(DeliveryJournal::PaymentTable));
    if (!execWith(query, {code(State::Pending)}))
        return payments;
    while (query.next()) {
        payments.append({.record = {query.value(0).toString(), query.value(1).toString(),
                                    query.value(2).toString()},
                         .firstSeen = QDateTime::fromString(query.value(3).toString(),
                                                            DeliveryJournal::TimeFormat),
                         .refusals = query.value(4).toInt(),
                         .lastRefusal = QDateTime::fromString(query.value(5).toString(),
                                                              DeliveryJournal::TimeFormat)});
    }
    return payments;
}
