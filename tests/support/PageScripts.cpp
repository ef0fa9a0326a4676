// SPDX-License-Identifier: GPL-3.0-or-later

#include "support/PageScripts.h"

#include <QTest>
#include <QWebEnginePage>

#include <memory>
#include <optional>

QVariant evaluateInPage(QWebEnginePage& page, const QString& script, int timeoutMs)
{
    // Shared, so an answer arriving after a timeout still writes to live memory.
    auto answer = std::make_shared<std::optional<QVariant>>();
    page.runJavaScript(script, [answer](const QVariant& value) { *answer = value; });
    if (!QTest::qWaitFor([&] { return answer->has_value(); }, timeoutMs))
        return {};
    return answer->value();
}

QPoint centreOfElement(QWebEnginePage& page, const QString& elementId, int timeoutMs)
{
    const QVariantList box =
        evaluateInPage(page,
                       QStringLiteral("(() => { const r = document.getElementById('%1')"
                                      ".getBoundingClientRect(); return [r.x + r.width / 2, "
                                      "r.y + r.height / 2]; })()")
                           .arg(elementId),
                       timeoutMs)
            .toList();
    if (box.size() != 2)
        return {};
    return QPoint(qRound(box[0].toDouble()), qRound(box[1].toDouble()));
}
