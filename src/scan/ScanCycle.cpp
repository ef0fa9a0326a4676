// SPDX-License-Identifier: GPL-3.0-or-later

#include "scan/ScanCycle.h"

#include "platform/Clock.h"
#include "scan/NotificationAddress.h"
#include "scan/RecordPageParser.h"
#include "state/Endpoints.h"
#include "state/SettingValues.h"
#include "state/WindowState.h"
#include "web/PageFetch.h"
#include "web/TransferControl.h"

#include <QUrl>

const QString ScanCycle::DeliveredOutcome = QStringLiteral("发送成功");
const QString ScanCycle::RejectedOutcome = QStringLiteral("发送失败,检查发货网址和编码格式");
const QString ScanCycle::AlreadyDeliveredOutcome = QStringLiteral("已完结,不再发送");
const QString ScanCycle::BusyOutcome = QStringLiteral("发送失败,网站无响应");

namespace {
constexpr qsizetype MiB = 1024 * 1024;
const QString RecordPageCharset = QStringLiteral("gb2312");
// The shop delivered the payment when its reply contains this word.
const QString SuccessWord = QStringLiteral("success");
constexpr int DaysScanned = 15;
constexpr int PauseBetweenCallsSeconds = 3;
constexpr qsizetype ReplyExcerptLength = 200;

bool isSuccessStatus(int status)
{
    return status >= 200 && status < 300;
}

} // namespace

// Thousands of records fit in this; a longer page is not the account's, and
// its fetch fails whole rather than giving a page cut short.
const BodyLimit ScanCycle::RecordPageLimit{16 * MiB, 16 * MiB};
// Far beyond any shop's answer. A longer one, like a download the delivery
// URL points at by mistake, is looked through for the word's ASCII bytes,
// which are the same in both charsets offered, and let go.
const BodyLimit ScanCycle::ShopReplyLimit{1 * MiB, BodyLimit::DefaultReadAtMost,
                                          SuccessWord.toLatin1()};

ScanCycle::ScanCycle(WindowState& state, const Endpoints& endpoints, PageFetch& accountPages,
                     PageFetch& shopPages, TransferControl& inet1, const Clock& clock,
                     TimerFactory& timers, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_endpoints(endpoints)
    , m_accountPages(accountPages)
    , m_shopPages(shopPages)
    , m_inet1(inet1)
    , m_clock(clock)
    , m_pause(clock, timers)
{
    connect(&m_accountPages, &PageFetch::finished, this, &ScanCycle::onRecordPage);
    connect(&m_pause, &Delay::finished, this, &ScanCycle::secondCall);
    connect(&m_shopPages, &PageFetch::finished, this, &ScanCycle::onShopReply);
}

void ScanCycle::Timer1_Timer()
{
    // A scan started beside a running one would deliver payments twice and
    // erase the other's lines.
    if (running() || m_state.scanState() != ScanState::Scanning || m_state.keyPending())
        return;
    m_job = Job::Scan;
    m_recordAddress = recordPageAddress();
    Q_EMIT scanStarted();
    m_state.setPage(QString());
    setFetching(true);
    m_accountPages.GetResponse(m_recordAddress, RecordPageCharset);
}

QString ScanCycle::recordPageAddress() const
{
    const QDate today = m_clock.today();
    const QString format = QStringLiteral("yyyy.MM.dd");
    return m_endpoints.RecordQueryUrl + today.addDays(-DaysScanned).toString(format) +
           QStringLiteral("&endDate=") + today.toString(format);
}

void ScanCycle::onRecordPage(const PageReply& page)
{
    setFetching(false);
    const bool atAddressAsked = QUrl(page.address) == QUrl(m_recordAddress);
    m_pageRead = isSuccessStatus(page.status) && atAddressAsked;
    if (!page.address.isEmpty() && !atAddressAsked)
        Q_EMIT recordPageRedirected(page.address);

    m_page = page.text;
    m_remaining = m_page;
    // Settings are read where they are used; only the count of positions is
    // fixed for the whole scan.
    m_positions = positionsToScan(m_state.recordCount());
    m_position = 0;
    nextPosition();
}

void ScanCycle::nextPosition()
{
    while (++m_position <= m_positions) {
        // A Stop ends the scan before its next payment.
        if (m_state.scanState() != ScanState::Scanning)
            break;
        const auto cut = CutTradeRecord(m_remaining);
        if (!cut)
            break;
        m_remaining = cut->remainder;
        const TradeRecord& record = cut->record;

        const bool delivered = alreadyDelivered(record.TradeNo);
        if (m_inet1.StillExecuting()) {
            finishPosition({.record = record, .outcome = DeliveryAttempt::Outcome::Busy});
        } else if (delivered) {
            finishPosition(
                {.record = record, .outcome = DeliveryAttempt::Outcome::AlreadyDelivered});
        } else {
            startNotification(record);
            return;
        }
    }
    endScan();
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
    if (running() || m_state.keyPending())
        return Refusal::ScanRunning;
    if (m_inet1.StillExecuting())
        return Refusal::FirstCallBusy;
    m_job = Job::Renotify;
    startNotification(record);
    return Refusal::None;
}

void ScanCycle::startNotification(const TradeRecord& record)
{
    // The first call's reply is never read; the second one, after a pause,
    // is the one whose answer counts.
    m_attempt = DeliveryAttempt{.record = record, .manual = m_job == Job::Renotify};
    m_inet1.Execute(currentNotificationAddress(record));
    m_pause.start(PauseBetweenCallsSeconds);
}

void ScanCycle::secondCall()
{
    m_sentKey = trimSpaces(m_state.interfaceKey());
    const QString address = currentNotificationAddress(m_attempt.record);
    // Listeners keep the address; the key stays with the shop.
    m_attempt.address = withoutKey(address);
    m_attempt.charset = m_state.shopCharset();
    setFetching(true);
    m_shopPages.GetResponse(address, m_attempt.charset);
}

void ScanCycle::onShopReply(const PageReply& reply)
{
    setFetching(false);
    DeliveryAttempt attempt = m_attempt;
    attempt.outcome = reply.text.contains(SuccessWord) || reply.soughtInRest
                          ? DeliveryAttempt::Outcome::Delivered
                          : DeliveryAttempt::Outcome::Rejected;
    attempt.status = reply.status;
    attempt.replyCut = reply.cut;
    attempt.reply = withoutEchoedKey(reply.text, m_sentKey, attempt.charset);
    attempt.reply.truncate(ReplyExcerptLength);

    if (m_job == Job::Renotify) {
        m_job = Job::None;
        Q_EMIT deliveryFinished(attempt);
        return;
    }
    if (attempt.outcome == DeliveryAttempt::Outcome::Delivered)
        m_state.SentTradeNo[m_position] = attempt.record.TradeNo;
    finishPosition(attempt);
    nextPosition();
}

void ScanCycle::finishPosition(const DeliveryAttempt& attempt)
{
    writeResultLine(attempt.record, outcomeText(attempt.outcome));
    Q_EMIT deliveryFinished(attempt);
}

void ScanCycle::endScan()
{
    // The position that ended the loop is past the last record handled.
    const int found = m_position - 1;
    const bool pageRead = m_pageRead;
    m_job = Job::None;
    m_page.clear();
    m_remaining = {};
    Q_EMIT scanEnded(found, pageRead);
}

void ScanCycle::giveUpWaitingFetch()
{
    m_accountPages.giveUp();
    m_shopPages.giveUp();
}

void ScanCycle::setFetching(bool fetching)
{
    // Only a scan shows its progress; a re-notify leaves the box to it.
    if (m_job == Job::Scan)
        m_state.setActivity(fetching ? Activity::Fetching : Activity::Idle);
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
