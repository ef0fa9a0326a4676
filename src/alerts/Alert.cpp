// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/Alert.h"

namespace {

const char* const PaymentDelivered = "已恢复：交易号 %1 的付款已通知网站成功";

// By Alert::Cause: its name, and what works again once it clears.
const struct {
    const char* name;
    const char* cleared;
} Causes[] = {
    {"sessionLost", "已恢复：支付宝登录有效，扫描继续"},
    {"intervalInvalid", "已恢复：扫描间隔有效，扫描继续"},
    {"paymentRejected", PaymentDelivered},
    {"recordPageUnreadable", "已恢复：支付宝收款记录页又能读取了"},
    {"journalFailed", "已恢复：发货记录又能正常写入了"},
    {"paymentGivenUp", PaymentDelivered},
    {"unseenPayments", "已恢复：收款记录页上又有见过的付款了"},
};

} // namespace

QString Alert::causeName() const
{
    return QString::fromLatin1(Causes[int(cause)].name);
}

QString Alert::clearedText() const
{
    const QString text = QString::fromUtf8(Causes[int(cause)].cleared);
    // Only a payment's alerts have a subject, its trade number, and name it.
    return subject.isEmpty() ? text : text.arg(subject);
}
