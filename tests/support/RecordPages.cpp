// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/RecordPages.h"

#include <QStringEncoder>

QString paymentMarkup(const Payment& payment)
{
    return QStringLiteral("<tr><a href=\"d.htm?tradeNo=%1&t=1\" title=\"%2\">x</a>"
                          "<span class=\"amount-pay-in\">+%3</span>"
                          "<a href=\"m.htm?tradeNo=%1\">m</a></tr>\n")
        .arg(payment.tradeNo, payment.title, payment.amount);
}

QByteArray recordPage(const QList<Payment>& payments)
{
    QString page = QStringLiteral("<html><body><table>\n");
    for (const Payment& payment : payments)
        page += paymentMarkup(payment);
    page += QStringLiteral("</table></body></html>\n");
    return QStringEncoder("GBK").encode(page);
}

QString tradeNumber(int serial)
{
    return QStringLiteral("2024030922001404950%1").arg(serial, 9, 10, QLatin1Char('0'));
}
