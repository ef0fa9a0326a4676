#include "scan/ScanCycle.h"

#include "platform/Clock.h"
#include "platform/TransferControl.h"
#include "scan/NotificationAddress.h"
#include "scan/RecordPageParser.h"
#include "state/Endpoints.h"
#include "state/SettingValues.h"
#include "state/StatusTexts.h"
#include "state/WindowState.h"
#include "web/Delay.h"
#include "web/PageFetch.h"

#include <QScopedValueRollback>
#include <QUrl>

const QString ScanCycle::DeliveredOutcome = QStringLiteral("发送成功");
const QString ScanCycle::RejectedOutcome = QStringLiteral("发送失败,检查发货网址和编码格式");
const QString ScanCycle::AlreadyDeliveredOutcome = QStringLiteral("已完结,不再发送");
const QString ScanCycle::BusyOutcome = QStringLiteral("发送失败,网站无响应");

namespace {
const QString RecordPageCharset = QStringLiteral("gb2312");
constexpr int DaysScanned = 15;
constexpr int PauseBetweenCallsSeconds = 3;
constexpr qsizetype ReplyExcerptLength = 200;

bool isSuccessStatus(int status)
{
    return status >= 200 && status < 300;
}

} // namespace

ScanCycle::ScanCycle(WindowState& state, const Endpoints& endpoints, PageFetch& accountPages,
                     PageFetch& shopPages, TransferControl& inet1, const Clock& clock,
                     MessagePump& pump, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_endpoints(endpoints)
    , m_accountPages(accountPages)
    , m_shopPages(shopPages)
    , m_inet1(inet1)
    , m_clock(clock)
    , m_pump(pump)
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
    if (m_state.status() != ScanningStatus)
        return;
    const QScopedValueRollback running(m_running, true);
    Q_EMIT scanStarted();
    m_state.setPage(QString());

    const PageReply page = m_accountPages.fetch(address, RecordPageCharset);
    const bool atAddressAsked = QUrl(page.address) == QUrl(address);
    if (!page.address.isEmpty() && !atAddressAsked)
        Q_EMIT recordPageRedirected(page.address);

    const int found = deliverNewest(page.text);
    Q_EMIT scanEnded(found, isSuccessStatus(page.status) && atAddressAsked);
}

QString ScanCycle::recordPageAddress() const
{
    const QDate today = m_clock.today();
    const QString format = QStringLiteral("yyyy.MM.dd");
    return m_endpoints.RecordQueryUrl + today.addDays(-DaysScanned).toString(format) +
           QStringLiteral("&endDate=") + today.toString(format);
}

int ScanCycle::deliverNewest(const QString& page)
{
    // Handlers run during the waits below, so every setting is read again
    // right where it is used; only the count of positions is fixed here.
    const int positions = positionsToScan(m_state.recordCount());
    QStringView remaining = page;
    for (int position = 1; position <= positions; ++position) {
        const auto cut = CutTradeRecord(remaining);
        if (!cut)
            return position - 1;
        remaining = cut->remainder;
        const TradeRecord& record = cut->record;

        const bool delivered = alreadyDelivered(record.TradeNo);
        DeliveryAttempt attempt{.record = record};
        if (m_inet1.StillExecuting())
            attempt.outcome = DeliveryAttempt::Outcome::Busy;
        else if (delivered)
            attempt.outcome = DeliveryAttempt::Outcome::AlreadyDelivered;
        else
            attempt = notify(record, PageFetch::Progress::Shown);
        if (attempt.outcome == DeliveryAttempt::Outcome::Delivered)
            m_state.SentTradeNo[position] = record.TradeNo;
        writeResultLine(record, outcomeText(attempt.outcome));
        Q_EMIT deliveryFinished(attempt);
    }
    return positions;
}

bool ScanCycle::alreadyDelivered(const QString& tradeNo) const
{
    const int slots = positionsToScan(m_state.recordCount());
    for (int slot = 1; slot <= slots; ++slot) {
        if (m_state.SentTradeNo[slot] == tradeNo)
            return true;
    }
    return false;
}

ScanCycle::Refusal ScanCycle::renotify(const TradeRecord& record)
{
    if (m_running)
        return Refusal::ScanRunning;
    if (m_inet1.StillExecuting())
        return Refusal::FirstCallBusy;
    const QScopedValueRollback running(m_running, true);
    DeliveryAttempt attempt = notify(record, PageFetch::Progress::Hidden);
    attempt.manual = true;
    Q_EMIT deliveryFinished(attempt);
    return Refusal::None;
}

DeliveryAttempt ScanCycle::notify(const TradeRecord& record, PageFetch::Progress progress)
{
    // The first call's reply is never read; the second one, after a pause,
    // is the one whose answer counts.
    m_inet1.Execute(currentNotificationAddress(record), QStringLiteral("get"));
    Delay(PauseBetweenCallsSeconds, m_clock, m_pump);

    const QString key = trimSpaces(m_state.interfaceKey());
    const QString address = currentNotificationAddress(record);
    DeliveryAttempt attempt{.record = record};
    attempt.charset = m_state.shopCharset();
    const PageReply reply = m_shopPages.fetch(address, attempt.charset, progress);
    attempt.outcome = reply.text.contains(QStringLiteral("success"))
                          ? DeliveryAttempt::Outcome::Delivered
                          : DeliveryAttempt::Outcome::Rejected;
    attempt.status = reply.status;
    // Listeners keep these; the key stays with the shop.
    attempt.address = withoutKey(address);
    attempt.reply = reply.text;
    if (!key.isEmpty())
        attempt.reply.replace(key, QStringLiteral("***"));
    attempt.reply.truncate(ReplyExcerptLength);
    return attempt;
}

QString ScanCycle::currentNotificationAddress(const TradeRecord& record) const
{
    return notificationAddress(m_state.deliveryUrl(), trimSpaces(m_state.interfaceKey()), record,
                               m_state.shopCharset());
}

QString ScanCycle::outcomeText(DeliveryAttempt::Outcome outcome) const
{
    switch (outcome) {
    case DeliveryAttempt::Outcome::Delivered:
        return DeliveredOutcome;
    case DeliveryAttempt::Outcome::Rejected:
        return trimSpaces(m_state.deliveryUrl()) + RejectedOutcome;
    case DeliveryAttempt::Outcome::AlreadyDelivered:
        return AlreadyDeliveredOutcome;
    case DeliveryAttempt::Outcome::Busy:
        return BusyOutcome;
    }
    Q_UNREACHABLE();
}

void ScanCycle::writeResultLine(const TradeRecord& record, const QString& outcome)
{
    // The time goes in front of everything the box already holds.
    const QString time = m_clock.now().toString(QStringLiteral("yyyy/M/d H:mm:ss"));
    m_state.setPage(time + m_state.page() + QStringLiteral("\r\n") + record.Title + u',' +
                    record.Amount + u',' + record.TradeNo + u',' + outcome);
}
