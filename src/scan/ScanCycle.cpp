// SPDX-License-Identifier: GPL-3.0-or-later

#include "scan/ScanCycle.h"

#include "platform/Clock.h"
#include "platform/LimitedBody.h"
#include "scan/NotificationAddress.h"
#include "scan/PageJudgement.h"
#include "scan/RecordPageParser.h"
#include "scan/RetrySchedule.h"
#include "state/Endpoints.h"
#include "state/SettingValues.h"
#include "state/WindowState.h"
#include "web/PageFetch.h"
#include "web/TransferControl.h"

#include <QUrl>

#include <algorithm>
#include <span>

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
    const QDate today = m_clock.now().date();
    const QString format = QStringLiteral("yyyy.MM.dd");
    return m_endpoints.RecordQueryUrl + today.addDays(-DaysScanned).toString(format) +
           QStringLiteral("&endDate=") + today.toString(format);
}

void ScanCycle::onRecordPage(const PageReply& page)
{
    setFetching(false);
    const bool atAddressAsked = QUrl(page.address) == QUrl(m_recordAddress);
    m_pageRead = page.status >= 200 && page.status < 300 && atAddressAsked;
    if (!page.address.isEmpty() && !atAddressAsked)
        Q_EMIT recordPageRedirected(page.address);

    m_page = page.text;
    m_remaining = m_page;
    // Settings are read where they are used; only the count of positions is
    // fixed for the whole scan.
    m_positions = positionsToScan(m_state.recordCount());
    m_position = 0;
    m_atPositions.clear();
    m_belowAllowed = m_pageRead && learnFromPage();
    nextPosition();
}

bool ScanCycle::learnFromPage()
{
    if (!m_memory || !m_memory->available())
        return false;
    const QList<TradeRecord> payments = paymentsOn(m_page);
    const PageJudgement judgement = judgePage(payments, m_reference, *m_memory);
    // Recorded before the first call, so a payment found new is never lost.
    if (!m_memory->rememberFirstSightings(judgement.firstSightings))
        return false;
    m_reference.emplace();
    for (const TradeRecord& payment : payments)
        m_reference->append(payment.TradeNo);
    if (judgement.allUnseen || judgement.anyKnown)
        Q_EMIT pageJudged(judgement.allUnseen);
    return true;
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
        m_atPositions.insert(record.TradeNo);

        if (m_inet1.StillExecuting()) {
            finishPosition({.record = record, .outcome = DeliveryAttempt::Outcome::Busy});
        } else if (alreadyDelivered(record.TradeNo)) {
            finishPosition(
                {.record = record, .outcome = DeliveryAttempt::Outcome::AlreadyDelivered});
        } else {
            startNotification(record);
            return;
        }
    }
    // The position that ended the loop is past the last record handled.
    m_found = m_position - 1;
    if (m_state.scanState() == ScanState::Scanning && m_belowAllowed)
        startBelowPositions();
    nextBelowPositions();
}

void ScanCycle::startBelowPositions()
{
    m_belowAllowed = false;
    const QDateTime now = m_clock.now();
    const QList<PaymentMemory::Payment> pending = m_memory->pending();
    for (const PaymentMemory::Payment& payment : pending) {
        // Never twice in one scan.
        if (m_atPositions.contains(payment.record.TradeNo))
            continue;
        switch (RetrySchedule::decide(payment, now)) {
        case RetrySchedule::Decision::TryNow:
            if (m_below.size() < MostBelowPositions)
                m_below.append(payment.record);
            break;
        case RetrySchedule::Decision::GiveUp:
            m_memory->setState(payment.record.TradeNo, PaymentMemory::State::GivenUp);
            Q_EMIT paymentGivenUp(payment.record);
            break;
        case RetrySchedule::Decision::Wait:
            break;
        }
    }
}

void ScanCycle::nextBelowPositions()
{
    while (!m_below.isEmpty() && m_state.scanState() == ScanState::Scanning) {
        const TradeRecord record = m_below.takeFirst();
        if (m_inet1.StillExecuting()) {
            finishPosition({.record = record,
                            .outcome = DeliveryAttempt::Outcome::Busy,
                            .belowPositions = true});
        } else {
            startNotification(record, /*belowPositions=*/true);
            return;
        }
    }
    m_below.clear();
    endScan();
}

bool ScanCycle::alreadyDelivered(const QString& tradeNo) const
{
    const auto slots = std::span(SentTradeNo).subspan(1, positionsToScan(m_state.recordCount()));
    return std::ranges::find(slots, tradeNo) != slots.end();
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

void ScanCycle::startNotification(const TradeRecord& record, bool belowPositions)
{
    // The first call's reply is never read; the second one, after a pause,
    // is the one whose answer counts.
    m_attempt = DeliveryAttempt{
        .record = record, .manual = m_job == Job::Renotify, .belowPositions = belowPositions};
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
        rememberOutcome(attempt);
        Q_EMIT deliveryFinished(attempt);
        return;
    }
    if (attempt.belowPositions) {
        // Below the positions no slot is written.
        finishPosition(attempt);
        nextBelowPositions();
        return;
    }
    if (attempt.outcome == DeliveryAttempt::Outcome::Delivered)
        SentTradeNo[m_position] = attempt.record.TradeNo;
    finishPosition(attempt);
    nextPosition();
}

void ScanCycle::finishPosition(const DeliveryAttempt& attempt)
{
    // The time goes in front of everything the box already holds.
    const QString time = m_clock.now().toString(QStringLiteral("yyyy/M/d H:mm:ss"));
    const TradeRecord& record = attempt.record;
    m_state.setPage(time + m_state.page() + QStringLiteral("\r\n") + record.Title + u',' +
                    record.Amount + u',' + record.TradeNo + u',' + outcomeText(attempt.outcome));
    rememberOutcome(attempt);
    Q_EMIT deliveryFinished(attempt);
}

void ScanCycle::rememberOutcome(const DeliveryAttempt& attempt)
{
    if (!m_memory || !m_memory->available())
        return;
    using Outcome = DeliveryAttempt::Outcome;
    using State = PaymentMemory::State;
    const QString& tradeNo = attempt.record.TradeNo;
    const std::optional<State> state = m_memory->stateOf(tradeNo);
    // Already delivered: the slots say so, in this run.
    if (attempt.outcome == Outcome::Delivered || attempt.outcome == Outcome::AlreadyDelivered) {
        if (!state)
            m_memory->rememberFirstSightings({{attempt.record, State::Delivered}});
        else if (*state != State::Delivered)
            m_memory->setState(tradeNo, State::Delivered);
    } else if (!attempt.manual &&
               (attempt.outcome == Outcome::Rejected || attempt.outcome == Outcome::Busy)) {
        // Refused or crowded out at a scan: still to be delivered.
        if (!state)
            m_memory->rememberFirstSightings({{attempt.record, State::Pending}});
        else if (*state == State::History)
            m_memory->setState(tradeNo, State::Pending);
        if (attempt.outcome == Outcome::Rejected)
            m_memory->addRefusal(tradeNo, m_clock.now());
    }
}

void ScanCycle::endScan()
{
    m_job = Job::None;
    m_page.clear();
    m_remaining = {};
    Q_EMIT scanEnded(m_found, m_pageRead);
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
