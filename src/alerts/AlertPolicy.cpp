// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/AlertPolicy.h"

#include "alerts/ReadableTitle.h"
#include "journal/DeliveryJournal.h"
#include "watch/AccountWatch.h"

#include <algorithm>

using Cause = Alert::Cause;

AlertPolicy::AlertPolicy(AccountWatch& watch, DeliveryJournal& journal, QObject* parent)
    : QObject(parent)
{
    ScanCycle& scan = watch.scanCycle();
    connect(&watch.state(), &WindowState::scanStateChanged, this, &AlertPolicy::onScanState);
    connect(&watch.schedule(), &ScanSchedule::intervalStillInvalid, this, [this] {
        raise(Cause::IntervalInvalid,
              QStringLiteral("扫描间隔无效：请在“扫描间隔”中填写秒数，扫描才会继续。"));
    });
    connect(&scan, &ScanCycle::deliveryFinished, this, &AlertPolicy::onDelivery);
    connect(&scan, &ScanCycle::paymentGivenUp, this, [this](const TradeRecord& record) {
        raise(Cause::PaymentGivenUp,
              QStringLiteral(
                  "付款 %1 %2 %3 24 小时内未能送达，已停止自动重试，可在发货记录中重新通知")
                  .arg(readableTitle(record.Title), record.Amount, record.TradeNo),
              record.TradeNo);
    });
    connect(&scan, &ScanCycle::pageJudged, this, [this](bool allUnseen) {
        if (!allUnseen) {
            clear(Cause::UnseenPayments);
            return;
        }
        raise(
            Cause::UnseenPayments,
            QStringLiteral("收款记录页上的付款都没有见过：可能登录了另一个账户，或者停机期间的付款"
                           "超过了一页，请核对收款记录"));
    });
    connect(&scan, &ScanCycle::scanEnded, this,
            [this](int, bool pageRead) { onScanEnded(pageRead); });
    connect(&journal, &DeliveryJournal::failed, this,
            [this](const QString& problem) { raise(Cause::JournalFailed, problem); });
    connect(&journal, &DeliveryJournal::recovered, this, [this] { clear(Cause::JournalFailed); });
}

void AlertPolicy::raise(Alert::Cause cause, const QString& text, const QString& subject)
{
    if (isActive(cause, subject))
        return;
    const Alert alert{cause, subject, text};
    m_active.append(alert);
    Q_EMIT raised(alert);
}

void AlertPolicy::clear(Alert::Cause cause, const QString& subject)
{
    const qsizetype found = indexOf(cause, subject);
    if (found < 0)
        return;
    Q_EMIT cleared(m_active.takeAt(found));
}

bool AlertPolicy::isActive(Alert::Cause cause, const QString& subject) const
{
    return indexOf(cause, subject) >= 0;
}

qsizetype AlertPolicy::indexOf(Alert::Cause cause, const QString& subject) const
{
    const auto found = std::ranges::find_if(m_active, [&](const Alert& alert) {
        return alert.cause == cause && alert.subject == subject;
    });
    return found == m_active.cend() ? -1 : found - m_active.cbegin();
}

void AlertPolicy::onScanState(ScanState state)
{
    if (state == ScanState::SessionLost) {
        raise(Cause::SessionLost, QStringLiteral("支付宝登录已失效，请在窗口中重新登录。"));
    } else if (state == ScanState::Scanning) {
        clear(Cause::SessionLost);
        clear(Cause::IntervalInvalid);
    }
}

void AlertPolicy::onDelivery(const DeliveryAttempt& attempt)
{
    const QString& tradeNo = attempt.record.TradeNo;
    switch (attempt.outcome) {
    case DeliveryAttempt::Outcome::Rejected:
        if (attempt.manual)
            break;
        m_rejectedNow.insert(tradeNo, attempt.record);
        if (attempt.belowPositions)
            m_onSchedule.insert(tradeNo);
        else
            m_onSchedule.remove(tradeNo);
        break;
    case DeliveryAttempt::Outcome::Delivered:
    case DeliveryAttempt::Outcome::AlreadyDelivered:
        // Delivered at last, by a scan or by hand.
        m_onSchedule.remove(tradeNo);
        m_rejections.remove(tradeNo);
        clear(Cause::PaymentRejected, tradeNo);
        clear(Cause::PaymentGivenUp, tradeNo);
        break;
    case DeliveryAttempt::Outcome::Busy:
        break;
    }
}

void AlertPolicy::onScanEnded(bool pageRead)
{
    if (pageRead) {
        m_unreadScans = 0;
        clear(Cause::SessionLost);
        clear(Cause::RecordPageUnreadable);
    } else if (++m_unreadScans >= FailuresInARow && !isActive(Cause::SessionLost)) {
        raise(Cause::RecordPageUnreadable,
              QStringLiteral("连续 %1 次无法读取支付宝收款记录页。").arg(m_unreadScans));
    }

    // At the scanned positions only a rejection at every scan counts towards
    // the alert; below them, where a payment is tried on a schedule, every
    // refused try does.
    QHash<QString, int> rejections = m_rejections;
    rejections.removeIf([this](const auto& counted) {
        return !m_onSchedule.contains(counted.key()) || m_rejectedNow.contains(counted.key());
    });
    for (const TradeRecord& record : std::as_const(m_rejectedNow)) {
        const int inARow = m_rejections.value(record.TradeNo) + 1;
        rejections.insert(record.TradeNo, inARow);
        if (inARow >= FailuresInARow)
            raise(Cause::PaymentRejected,
                  QStringLiteral("付款“%1”（%2 元，交易号 %3）连续 %4 次通知网站失败。")
                      .arg(readableTitle(record.Title), record.Amount, record.TradeNo)
                      .arg(inARow),
                  record.TradeNo);
    }
    m_rejections = rejections;
    m_rejectedNow.clear();
}
