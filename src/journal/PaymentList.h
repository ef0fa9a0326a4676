// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scan/PaymentMemory.h"

#include <QSqlQueryModel>

#include <optional>

class DeliveryJournal;

// Every payment the journal has seen, newest first, as the owner reads
// them: when first seen, title, amount, trade number, state in words (with
// the time of a refused payment's next try), attempts so far and the last
// reply's excerpt. Filtered by state and by a text in the trade number or
// title, taken literally.
class PaymentList : public QSqlQueryModel {
public:
    enum Column { FirstSeen, Title, Amount, TradeNo, State, Attempts, LastReply, Shown };

    explicit PaymentList(DeliveryJournal& journal, QObject* parent = nullptr);

    void setFilter(std::optional<PaymentMemory::State> state, const QString& text);
    // Reads the table again.
    void refresh();
    TradeRecord recordAt(int row) const;
    // A state in the owner's words, as the table and its filter show it.
    static QString wordsOf(PaymentMemory::State state);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    DeliveryJournal& m_journal;
    std::optional<PaymentMemory::State> m_state;
    QString m_text;
};
