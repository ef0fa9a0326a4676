// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/RecordPage.h"

#include "platform/CharsetRegistry.h"

#include <QStringEncoder>

QString RecordPage::row(const SimulatedPayment& payment)
{
    const QString title = payment.title.toHtmlEscaped();
    return QStringLiteral("<tr><td><a href=\"detail.htm?tradeNo=%1&t=1\" title=\"%2\">%2</a></td>"
                          "<td><span class=\"amount-pay-in\">+%3</span></td>"
                          "<td><a href=\"memo.htm?tradeNo=%1\">memo</a></td></tr>\n")
        .arg(payment.tradeNo, title, payment.amount);
}

QByteArray RecordPage::render(const QList<SimulatedPayment>& newestFirst)
{
    QString page = QStringLiteral(
        "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"GBK\">\n"
        "<title>交易记录 - Sandbox account records</title>\n</head>\n<body>\n"
        "<h1>交易记录 Records</h1>\n"
        "<p>最近十五天的收入 / Incoming payments of the last fifteen days.</p>\n"
        "<table>\n<tr><th>名称 Name</th><th>金额 Amount</th><th>备注 Memo</th></tr>\n");
    for (const SimulatedPayment& payment : newestFirst)
        page += row(payment);
    page += QStringLiteral("</table>\n<p>共 %1 笔 / %1 payments.</p>\n</body>\n</html>\n")
                .arg(newestFirst.size());
    return encoderForCharset(QStringLiteral("gbk")).encode(page);
}
