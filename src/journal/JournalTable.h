// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "scan/TradeRecord.h"

#include <QSqlTableModel>

class DeliveryJournal;

// The journal's attempts or alert sends as the owner reads them, newest
// first: the columns shown, headed in the owner's words, with the codes
// kept turned into those words, and each cell's whole text when pointed at.
class JournalTable : public QSqlTableModel {
public:
    // `table` is DeliveryJournal::Table or DeliveryJournal::AlertTable.
    JournalTable(DeliveryJournal& journal, const QString& table, QObject* parent = nullptr);

    bool isShown(int column) const;
    // Short enough to be read whole.
    bool readsWhole(int column) const;
    // Keeps the attempts whose trade number or title holds `text`, taken
    // literally; all when it is empty.
    void search(const QString& text);
    // The payment of the attempt in `row`.
    TradeRecord recordAt(int row) const;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};
