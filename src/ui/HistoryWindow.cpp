// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/HistoryWindow.h"

#include "journal/CsvFile.h"
#include "journal/DayTotals.h"
#include "journal/DeliveryJournal.h"
#include "journal/JournalTable.h"
#include "journal/PaymentList.h"
#include "platform/Clock.h"
#include "scan/ScanCycle.h"

#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// A read-only view of `model`, one row selected at a time. Long texts show
// both ends, and all of it when pointed at. Tab goes past the table in one
// step, on to the buttons.
void showTable(QAbstractItemModel* model, QTableView* view)
{
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setTextElideMode(Qt::ElideMiddle);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
}

// A view of the journal's `model`, its columns as the journal shows them;
// short columns read whole.
void showJournalTable(JournalTable* model, QTableView* view)
{
    showTable(model, view);
    for (int column = 0; column < model->columnCount(); ++column) {
        view->setColumnHidden(column, !model->isShown(column));
        if (model->readsWhole(column))
            view->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

} // namespace

HistoryWindow::HistoryWindow(DeliveryJournal& journal, ScanCycle& scan, const Clock& clock,
                             QWidget* parent)
    : QWidget(parent)
    , m_journal(journal)
    , m_scan(scan)
    , m_clock(clock)
    , m_model(new JournalTable(journal, DeliveryJournal::Table, this))
    , m_payments(new PaymentList(journal, this))
    , m_stateFilter(new QComboBox(this))
    , m_filter(new QLineEdit(this))
    , m_tabs(new QTabWidget(this))
    , m_paymentTable(new QTableView(this))
    , m_table(new QTableView(this))
    , m_today(new QLabel(this))
    , m_renotify(new QPushButton(QStringLiteral("重新通知"), this))
    , m_message(new QLabel(this))
    , m_empty(new QLabel(m_table->viewport()))
    , m_alertModel(new JournalTable(journal, DeliveryJournal::AlertTable, this))
{
    setWindowTitle(QStringLiteral("发货记录"));
    setObjectName(QStringLiteral("HistoryWindow"));
    resize(900, 480);

    showJournalTable(m_model, m_table);
    m_empty->setAlignment(Qt::AlignCenter);
    m_table->viewport()->installEventFilter(this);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    auto* alerts = new QTableView(this);
    showJournalTable(m_alertModel, alerts);

    showTable(m_payments, m_paymentTable);
    for (int column = PaymentList::Shown; column < m_payments->columnCount(); ++column)
        m_paymentTable->setColumnHidden(column, true);
    for (int column : {PaymentList::FirstSeen, PaymentList::Amount, PaymentList::TradeNo,
                       PaymentList::State, PaymentList::Attempts})
        m_paymentTable->horizontalHeader()->setSectionResizeMode(column,
                                                                 QHeaderView::ResizeToContents);
    m_stateFilter->addItem(QStringLiteral("全部状态"));
    using State = PaymentMemory::State;
    for (const State state : {State::Delivered, State::Pending, State::GivenUp, State::History})
        m_stateFilter->addItem(PaymentList::wordsOf(state), int(state));

    m_filter->setPlaceholderText(QStringLiteral("按交易号或付款说明查找"));
    auto* exportButton = new QPushButton(QStringLiteral("导出 CSV"), this);
    using Named = std::pair<QWidget*, const char*>;
    for (const auto& [widget, name] :
         {Named{m_stateFilter, "stateFilter"}, Named{m_filter, "filter"},
          Named{m_paymentTable, "payments"}, Named{m_table, "deliveries"},
          Named{alerts, "alertSends"}, Named{m_empty, "empty"}, Named{m_today, "today"},
          Named{m_renotify, "renotify"}, Named{m_message, "message"}})
        widget->setObjectName(QString::fromLatin1(name));

    auto* top = new QHBoxLayout;
    top->addWidget(m_stateFilter);
    top->addWidget(m_filter, 1);
    top->addWidget(exportButton);
    top->addWidget(m_renotify);
    setTabOrder(m_stateFilter, m_filter);
    setTabOrder(m_filter, m_tabs);
    setTabOrder(m_paymentTable, m_table);
    setTabOrder(m_table, alerts);
    setTabOrder(alerts, exportButton);
    setTabOrder(exportButton, m_renotify);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_today);
    bottom->addStretch();
    bottom->addWidget(m_message);
    m_tabs->addTab(m_paymentTable, QStringLiteral("收款"));
    m_tabs->addTab(m_table, QStringLiteral("发货"));
    // What was sent to the alert address, and whether it got there.
    m_tabs->addTab(alerts, QStringLiteral("提醒发送"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(bottom);

    connect(m_stateFilter, &QComboBox::currentIndexChanged, this,
            [this] { setFilterText(m_filter->text()); });
    connect(m_paymentTable, &QTableView::activated, this,
            [this](const QModelIndex& index) { openPayment(index.row()); });
    connect(m_filter, &QLineEdit::textChanged, this, &HistoryWindow::setFilterText);
    connect(exportButton, &QPushButton::clicked, this, &HistoryWindow::chooseExportFile);
    connect(m_renotify, &QPushButton::clicked, this, &HistoryWindow::renotifySelected);
    connect(&m_journal, &DeliveryJournal::recorded, this, &HistoryWindow::refresh);
    connect(&m_scan, &ScanCycle::deliveryFinished, this, &HistoryWindow::onDelivery);
    refresh();
}

void HistoryWindow::setFilterText(const QString& text)
{
    if (m_filter->text() != text) {
        // The box's textChanged comes back here with the same text.
        m_filter->setText(text);
        return;
    }
    const QVariant state = m_stateFilter->currentData();
    m_payments->setFilter(
        state.isValid() ? std::optional(PaymentMemory::State(state.toInt())) : std::nullopt, text);
    m_model->search(text);
    refresh();
}

bool HistoryWindow::exportTo(const QString& path, QString& error)
{
    const QTableView* table = shownTable();
    QAbstractItemModel* model = table->model();
    while (model->canFetchMore({}))
        model->fetchMore({});
    // The headings, then the rows, filled column by column.
    QList<QStringList> rows(model->rowCount() + 1);
    for (int column = 0; column < model->columnCount(); ++column) {
        if (table->isColumnHidden(column))
            continue;
        rows[0].append(model->headerData(column, Qt::Horizontal).toString());
        for (int row = 0; row < model->rowCount(); ++row)
            rows[row + 1].append(model->index(row, column).data().toString());
    }
    return writeCsvFile(path, rows, error);
}

void HistoryWindow::openPayment(int row)
{
    setFilterText(m_payments->recordAt(row).TradeNo);
    m_tabs->setCurrentWidget(m_table);
}

void HistoryWindow::showPayments()
{
    m_tabs->setCurrentWidget(m_paymentTable);
}

QTableView* HistoryWindow::shownTable() const
{
    return qobject_cast<QTableView*>(m_tabs->currentWidget());
}

void HistoryWindow::renotifySelected()
{
    const QTableView* table = shownTable();
    const QModelIndexList selected = table->selectionModel()->selectedRows();
    if (selected.isEmpty() || (table != m_table && table != m_paymentTable)) {
        m_message->setText(QStringLiteral("请先选中一笔付款。"));
        return;
    }
    const int row = selected.constFirst().row();
    const TradeRecord record =
        table == m_paymentTable ? m_payments->recordAt(row) : m_model->recordAt(row);
    // The shop may deliver the goods again: the owner says so first.
    auto* question = new QMessageBox(
        QMessageBox::Question, QStringLiteral("重新通知"),
        QStringLiteral("再通知网站一次这笔付款吗？\n\n付款说明：%1\n金额：%2 元\n交易号：%3")
            .arg(record.Title, record.Amount, record.TradeNo),
        QMessageBox::NoButton, this);
    question->setObjectName(QStringLiteral("renotifyQuestion"));
    question->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* send = question->addButton(QStringLiteral("重新通知"), QMessageBox::AcceptRole);
    QPushButton* cancel = question->addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    question->setDefaultButton(cancel);
    connect(question, &QMessageBox::finished, this, [this, question, send, record] {
        if (question->clickedButton() == send)
            renotify(record);
    });
    question->open();
}

void HistoryWindow::renotify(const TradeRecord& record)
{
    switch (m_scan.renotify(record)) {
    case ScanCycle::Refusal::None:
        // The outcome comes as the attempt's event, a few seconds on.
        m_renotify->setEnabled(false);
        m_message->setText(QStringLiteral("正在重新通知……"));
        break;
    case ScanCycle::Refusal::ScanRunning:
        m_message->setText(QStringLiteral("正在扫描或通知，请稍后再试。"));
        break;
    case ScanCycle::Refusal::FirstCallBusy:
        m_message->setText(QStringLiteral("上一笔通知尚未完成，请稍后再试。"));
        break;
    }
}

void HistoryWindow::onDelivery(const DeliveryAttempt& attempt)
{
    if (!attempt.manual)
        return;
    m_renotify->setEnabled(true);
    m_message->setText(QStringLiteral("已重新通知，结果见第一行。"));
}

void HistoryWindow::refresh()
{
    m_model->select();
    m_empty->setText(m_model->filter().isEmpty() ? QStringLiteral("还没有发货记录")
                                                 : QStringLiteral("没有符合的记录"));
    m_empty->setVisible(m_model->rowCount() == 0);
    m_alertModel->select();
    m_payments->refresh();
    const DayTotals today = dayTotals(m_journal, m_clock.now().date());
    m_today->setText(QStringLiteral("今日收款 %1：已送达 %2，待送达 %3，已放弃 %4")
                         .arg(inWords(today.seen), inWords(today.delivered), inWords(today.pending),
                              inWords(today.givenUp)));
}

void HistoryWindow::chooseExportFile()
{
    // Opened without a loop of its own, so scans go on while the owner picks.
    auto* dialog = new QFileDialog(this, QStringLiteral("导出发货记录"),
                                   QStringLiteral("发货记录.csv"), QStringLiteral("CSV (*.csv)"));
    dialog->setObjectName(QStringLiteral("exportDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
        QString error;
        m_message->setText(exportTo(path, error) ? QStringLiteral("已导出到 %1").arg(path)
                                                 : QStringLiteral("导出失败：%1").arg(error));
    });
    dialog->open();
}

bool HistoryWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The word for an empty table covers the table's viewport, whatever its size.
    if (watched == m_table->viewport() && event->type() == QEvent::Resize)
        m_empty->setGeometry(m_table->viewport()->rect());
    return QWidget::eventFilter(watched, event);
}
