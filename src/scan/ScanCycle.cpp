#include "scan/ScanCycle.h"

#include "platform/Clock.h"
#include "platform/TransferControl.h"
#include "scan/NotificationAddress.h"
#include "scan/RecordPageParser.h"
#include "ui/Form1.h"
#include "ui/SettingValues.h"
#include "ui/StatusTexts.h"
#include "ui/TextBox.h"
#include "web/Delay.h"
#include "web/PageFetch.h"

#include <QComboBox>
#include <QScopedValueRollback>
#include <QLineEdit>
#include <QPlainTextEdit>

const QString ScanCycle::DeliveredOutcome = QStringLiteral("发送成功");
const QString ScanCycle::RejectedOutcome = QStringLiteral("发送失败,检查发货网址和编码格式");
const QString ScanCycle::AlreadyDeliveredOutcome = QStringLiteral("已完结,不再发送");
const QString ScanCycle::BusyOutcome = QStringLiteral("发送失败,网站无响应");

namespace {
const QString RecordPageCharset = QStringLiteral("gb2312");
constexpr int DaysScanned = 15;
constexpr int PauseBetweenCallsSeconds = 3;
} // namespace

ScanCycle::ScanCycle(Form1& window)
    : m_window(window)
{
}

void ScanCycle::Timer1_Timer()
{
    // The waits below handle events, this timer's own ticks among them; a
    // scan started inside a running one would deliver payments twice and
    // erase the outer scan's lines.
    if (m_running)
        return;
    const QString address = recordPageAddress();
    if (m_window.Text1->text() != ScanningStatus)
        return;
    const QScopedValueRollback running(m_running, true);
    m_window.Text2->setText(QString());

    const QString page = m_window.pageFetch().GetResponse(address, RecordPageCharset);

    // Handlers run during the waits below, so every setting is read again
    // right where it is used; only the count of positions is fixed here.
    const int positions = recordCount(m_window.Combo2->currentText());
    QString remaining = page;
    for (int position = 1; position <= positions; ++position) {
        const auto cut = CutTradeRecord(remaining);
        if (!cut)
            return;
        remaining = cut->remainder;

        const bool delivered = alreadyDelivered(cut->record.TradeNo);
        if (m_window.Inet1.StillExecuting())
            writeResultLine(cut->record, BusyOutcome);
        else if (delivered)
            writeResultLine(cut->record, AlreadyDeliveredOutcome);
        else
            writeResultLine(cut->record, deliver(position, cut->record));
    }
}

QString ScanCycle::recordPageAddress() const
{
    const QDate today = m_window.clock().today();
    const QString format = QStringLiteral("yyyy.MM.dd");
    return m_window.endpoints().RecordQueryUrl + today.addDays(-DaysScanned).toString(format) +
           QStringLiteral("&endDate=") + today.toString(format);
}

bool ScanCycle::alreadyDelivered(const QString& tradeNo) const
{
    const int slots = recordCount(m_window.Combo2->currentText());
    for (int slot = 1; slot <= slots; ++slot) {
        if (m_window.SentTradeNo[slot] == tradeNo)
            return true;
    }
    return false;
}

QString ScanCycle::deliver(int position, const TradeRecord& record)
{
    // The first call's reply is never read; the second one, after a pause,
    // is the one whose answer counts.
    m_window.Inet1.Execute(currentNotificationAddress(record), QStringLiteral("get"));
    Delay(PauseBetweenCallsSeconds, m_window.clock(), m_window.pump());
    const QString reply = m_window.pageFetch().GetResponse(currentNotificationAddress(record),
                                                           m_window.Combo3->currentText());

    if (reply.contains(QStringLiteral("success"))) {
        m_window.SentTradeNo[position] = record.TradeNo;
        return DeliveredOutcome;
    }
    return trimSpaces(m_window.Text3->toPlainText()) + RejectedOutcome;
}

QString ScanCycle::currentNotificationAddress(const TradeRecord& record) const
{
    return notificationAddress(m_window.Text3->toPlainText(), trimSpaces(m_window.Text4->text()),
                               record, m_window.Combo3->currentText());
}

void ScanCycle::writeResultLine(const TradeRecord& record, const QString& outcome)
{
    // The time goes in front of everything the box already holds.
    const QString time = m_window.clock().now().toString(QStringLiteral("yyyy/M/d H:mm:ss"));
    m_window.Text2->setText(time + m_window.Text2->text() + QStringLiteral("\r\n") + record.Title +
                            u',' + record.Amount + u',' + record.TradeNo + u',' + outcome);
}
