// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class Clock;
class DeliveryJournal;
class JournalTable;
class PaymentList;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class ScanCycle;
struct DeliveryAttempt;
struct TradeRecord;

// "发货记录": the delivery journal for the owner. First every payment seen,
// newest first, with its state, filtered by state; today's payments by
// state with their sums; a payment opened (double-click or Enter) shows its
// attempts on the second tab, every attempt newest first. Both are filtered
// by trade number or title; export writes what the tab shown holds; and
// "重新通知" calls the shop again for the payment selected. A third tab
// shows every message sent to the alert address and how it fared.
class HistoryWindow : public QWidget {
    Q_OBJECT

public:
    HistoryWindow(DeliveryJournal& journal, ScanCycle& scan, const Clock& clock,
                  QWidget* parent = nullptr);

    // Shows the payments and attempts whose trade number or title holds `text`.
    void setFilterText(const QString& text);
    // Writes the rows the tab shown holds, with their headings, as CSV.
    bool exportTo(const QString& path, QString& error);
    // The attempts of the payment in `row` of the payments tab.
    void openPayment(int row);
    // The payments tab, the journal's first view.
    void showPayments();
    // Calls the shop again for the payment in the selected row, once the
    // owner has said yes.
    void renotifySelected();
    // Asks where to export, in a dialog that leaves the program running.
    void chooseExportFile();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    // The table of the tab shown.
    QTableView* shownTable() const;
    void renotify(const TradeRecord& record);
    void onDelivery(const DeliveryAttempt& attempt);

    DeliveryJournal& m_journal;
    ScanCycle& m_scan;
    const Clock& m_clock;
    JournalTable* m_model;
    PaymentList* m_payments;
    QComboBox* m_stateFilter;
    QLineEdit* m_filter;
    QTabWidget* m_tabs;
    QTableView* m_paymentTable;
    QTableView* m_table;
    QLabel* m_today;
    QPushButton* m_renotify;
    QLabel* m_message;
    // Over the table while it shows no row.
    QLabel* m_empty;
    JournalTable* m_alertModel;
};
