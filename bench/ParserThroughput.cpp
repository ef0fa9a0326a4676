// SPDX-License-Identifier: GPL-3.0-or-later

#include "ParserThroughput.h"

#include "scan/RecordPageParser.h"

#include <QElapsedTimer>

namespace {

constexpr int Payments = 12;
constexpr qsizetype PageSize = 1024 * 1024;

// Real pages carry far more markup than payments: pad every row with it.
QString generatedPage()
{
    const QString padding = QStringLiteral("<td class=\"info\"><div>说明 detail text</div></td>");
    const qsizetype rowPadding = PageSize / Payments / padding.size();
    QString page;
    page.reserve(PageSize + 4096);
    for (int i = 0; i < Payments; ++i) {
        const QString tradeNo = QStringLiteral("2024030922001404950%1").arg(i, 9, 10, QChar(u'0'));
        page += QStringLiteral("<tr><a href=\"d.htm?tradeNo=%1&t=1\" title=\"订单 %2\">x</a>")
                    .arg(tradeNo)
                    .arg(i);
        page += padding.repeated(rowPadding / 2);
        page += QStringLiteral("<span class=\"amount-pay-in\">+%1.00</span>").arg(i + 1);
        page += padding.repeated(rowPadding / 2);
        page += QStringLiteral("<a href=\"m.htm?tradeNo=%1\">m</a></tr>").arg(tradeNo);
    }
    return page;
}

int cutAll(QStringView page)
{
    int records = 0;
    QStringView remaining = page;
    while (const auto cut = CutTradeRecord(remaining)) {
        remaining = cut->remainder;
        ++records;
    }
    return records;
}

} // namespace

QString measureParserThroughput()
{
    const QString page = generatedPage();
    constexpr int Rounds = 200;
    QElapsedTimer timer;
    timer.start();
    int records = 0;
    for (int round = 0; round < Rounds; ++round)
        records += cutAll(page);
    const double seconds = timer.nsecsElapsed() / 1e9;
    // The page as the parser holds it: UTF-16, two bytes a character here.
    const qsizetype bytes = page.size() * qsizetype(sizeof(QChar));
    return QStringLiteral("parser: %1 pages of %2 characters (%3 bytes of UTF-16), %4 records "
                          "each, %5 ms per page, %6 G characters per second, %7 GB of UTF-16 "
                          "per second")
        .arg(Rounds)
        .arg(page.size())
        .arg(bytes)
        .arg(records / Rounds)
        .arg(seconds * 1000 / Rounds, 0, 'f', 3)
        .arg(double(page.size()) * Rounds / seconds / 1e9, 0, 'f', 2)
        .arg(double(bytes) * Rounds / seconds / 1e9, 0, 'f', 2);
}
