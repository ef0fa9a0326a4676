// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/Alert.h"

QString Alert::causeName() const
{
    switch (cause) {
    case Cause::SessionLost:
        return QStringLiteral("sessionLost");
    case Cause::IntervalInvalid:
        return QStringLiteral("intervalInvalid");
    case Cause::PaymentRejected:
        return QStringLiteral("paymentRejected");
    case Cause::RecordPageUnreadable:
        return QStringLiteral("recordPageUnreadable");
    case Cause::JournalFailed:
        return QStringLiteral("journalFailed");
    case Cause::PaymentGivenUp:
        return QStringLiteral("paymentGivenUp");
    case Cause::UnseenPayments:
        return QStringLiteral("unseenPayments");
    }
    Q_UNREACHABLE();
}

QString Alert::clearedText() const
{
    switch (cause) {
    case Cause::SessionLost:
        return QStringLiteral("已恢复：支付宝登录有效，扫描继续");
    case Cause::IntervalInvalid:
        return QStringLiteral("已恢复：扫描间隔有效，扫描继续");
    case Cause::PaymentRejected:
    case Cause::PaymentGivenUp:
        return QStringLiteral("已恢复：交易号 %1 的付款已通知网站成功").arg(subject);
    case Cause::RecordPageUnreadable:
        return QStringLiteral("已恢复：支付宝收款记录页又能读取了");
    case Cause::JournalFailed:
        return QStringLiteral("已恢复：发货记录又能正常写入了");
    case Cause::UnseenPayments:
        return QStringLiteral("已恢复：收款记录页上又有见过的付款了");
    }
    Q_UNREACHABLE();
}
