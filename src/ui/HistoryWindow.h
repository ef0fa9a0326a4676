// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class Clock;
class DeliveryJournal;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlTableModel;
class QTableView;
class ScanCycle;
struct DeliveryAttempt;
struct TradeRecord;

// "发货记录": the delivery journal for the owner. Every attempt newest first,
// read-only; a filter by trade number or title; the payments delivered today
// and their sum; export of what the filter shows; and "重新通知", which calls
// the shop again for the payment selected. A second tab shows every message
// sent to the alert address and how it fared.
class HistoryWindow : public QWidget {
    Q_OBJECT

public:
    HistoryWindow(DeliveryJournal& journal, ScanCycle& scan, const Clock& clock,
                  QWidget* parent = nullptr);

    // Shows the attempts whose trade number or title holds `text`.
    void setFilterText(const QString& text);
    // Writes the rows the filter shows, with their headings, as CSV.
    bool exportTo(const QString& path, QString& error);
    // Calls the shop again for the payment in the selected row, once the
    // owner has said yes.
    void renotifySelected();
    // Asks where to export, in a dialog that leaves the program running.
    void chooseExportFile();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void renotify(const TradeRecord& record);
    void onDelivery(const DeliveryAttempt& attempt);

    DeliveryJournal& m_journal;
    ScanCycle& m_scan;
    const Clock& m_clock;
    QSqlTableModel* m_model;
    QLineEdit* m_filter;
    QTableView* m_table;
    QLabel* m_today;
    QPushButton* m_renotify;
    QLabel* m_message;
    // Over the table while it shows no row.
    QLabel* m_empty;
    QSqlTableModel* m_alertModel;
};
