// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/AccountPages.h"

namespace {

QString page(const QString& heading, const QString& body)
{
    return QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                          "<title>%1</title>\n</head>\n<body>\n<h1>%1</h1>\n%2</body>\n</html>\n")
        .arg(heading.toHtmlEscaped(), body);
}

QString paymentList(const QList<SimulatedPayment>& newestFirst)
{
    if (newestFirst.isEmpty())
        return QStringLiteral("<p>暂无收款 / No payments yet.</p>\n");
    QString rows;
    for (const SimulatedPayment& payment : newestFirst) {
        rows += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\n")
                    .arg(payment.tradeNo, payment.title.toHtmlEscaped(), payment.amount);
    }
    return QStringLiteral("<table border=\"1\">\n<tr><th>交易号 Trade no.</th><th>名称 Name</th>"
                          "<th>金额 Amount</th></tr>\n%1</table>\n")
        .arg(rows);
}

} // namespace

QString AccountPages::login(const QString& error)
{
    const QString errorLine =
        error.isEmpty() ? QString()
                        : QStringLiteral("<p class=\"error\">%1</p>\n").arg(error.toHtmlEscaped());
    return page(QStringLiteral("登录 - Sandbox login"),
                errorLine +
                    QStringLiteral(
                        "<p>这是本机模拟的收款账户。测试账户：用户名 sandbox，密码 sandbox。<br>\n"
                        "This is a simulated payment account on this machine. Test account: "
                        "user <b>sandbox</b>, password <b>sandbox</b>.</p>\n"
                        "<form id=\"login\" method=\"post\" action=\"/login\">\n"
                        "<p><label>用户名 User <input id=\"user\" name=\"user\" "
                        "value=\"sandbox\"></label></p>\n"
                        "<p><label>密码 Password <input id=\"password\" name=\"password\" "
                        "type=\"password\" value=\"sandbox\"></label></p>\n"
                        "<p><button type=\"submit\">登录 Log in</button></p>\n"
                        "</form>\n"));
}

QString AccountPages::home(const QList<SimulatedPayment>& newestFirst)
{
    return page(QStringLiteral("我的账户 - Sandbox account"),
                QStringLiteral("<p>已登录 / Logged in as sandbox.</p>\n<h2>收款 Payments</h2>\n") +
                    paymentList(newestFirst) +
                    QStringLiteral("<p><a href=\"/sandbox\">添加收款 / Add a payment</a></p>\n"));
}

QString AccountPages::keepAlive()
{
    return page(QStringLiteral("账户 - Sandbox account"),
                QStringLiteral("<p>会话已续期 / Session renewed.</p>\n"
                               "<p><a href=\"/portal/i.htm\">我的账户 / My account</a></p>\n"));
}

QString AccountPages::sandbox(const QList<SimulatedPayment>& newestFirst,
                              const QString& recordPageUrl, const QString& controlToken)
{
    return page(
        QStringLiteral("模拟收款 - Sandbox payments"),
        QStringLiteral("<p>在此添加一笔收款，程序下次扫描时会通知商店。<br>\n"
                       "Add a payment here; the program notifies the shop on its next scan.</p>\n"
                       "<form method=\"post\" action=\"/sandbox/pay\" accept-charset=\"utf-8\">\n"
                       "<input type=\"hidden\" name=\"token\" value=\"%1\">\n"
                       "<p><label>名称 Title <input name=\"title\" value=\"Order 1001\"></label>\n"
                       "<label>金额 Amount <input name=\"amount\" value=\"0.01\"></label>\n"
                       "<button type=\"submit\">添加 Add</button></p>\n"
                       "</form>\n<h2>收款 Payments</h2>\n")
                .arg(controlToken.toHtmlEscaped()) +
            paymentList(newestFirst) +
            QStringLiteral("<p><a href=\"/sandbox/expire\">结束所有登录 / End every session</a>"
                           "</p>\n"
                           "<p>今天的记录页 / Today's record page (after logging in): "
                           "<a href=\"%1\">%1</a></p>\n")
                .arg(recordPageUrl.toHtmlEscaped()));
}

QString AccountPages::paymentAdded(const SimulatedPayment& payment)
{
    return page(QStringLiteral("已添加 - Payment added"),
                QStringLiteral("<p>已添加收款 / Added payment %1: %2, %3.</p>\n"
                               "<p><a href=\"/sandbox\">返回 / Back</a></p>\n")
                    .arg(payment.tradeNo, payment.title.toHtmlEscaped(), payment.amount));
}

QString AccountPages::sessionsExpired()
{
    return page(QStringLiteral("会话已结束 - Sessions expired"),
                QStringLiteral("<p>所有登录都已失效；程序下次扫描时会发现。<br>\n"
                               "Every session has ended; the program finds out at its next "
                               "scan.</p>\n<p><a href=\"/sandbox\">返回 / Back</a></p>\n"));
}

QString AccountPages::paymentRefused(const QString& reason)
{
    return page(QStringLiteral("未添加 - Payment refused"),
                QStringLiteral("<p>%1</p>\n<p><a href=\"/sandbox\">返回 / Back</a></p>\n")
                    .arg(reason.toHtmlEscaped()));
}

QString AccountPages::foreignRequestRefused()
{
    return page(QStringLiteral("拒绝 - Refused"),
                QStringLiteral("<p>沙盒只接受它自己页面上的请求。<br>\n"
                               "The sandbox only takes requests from its own pages.</p>\n"));
}

QString AccountPages::recordQueryRefused(const QString& expectedQuery)
{
    return page(QStringLiteral("查询条件有误 - Bad record query"),
                QStringLiteral("<p>只提供今天之前十五天到今天的记录，查询串必须完全一致：<br>\n"
                               "Only the last fifteen days are served, asked with exactly this "
                               "query:</p>\n<pre>%1</pre>\n")
                    .arg(expectedQuery.toHtmlEscaped()));
}
