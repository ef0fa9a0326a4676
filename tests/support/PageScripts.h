// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>
#include <QString>
#include <QVariant>

class QWebEnginePage;

// The value of `script` in `page`, waiting at most `timeoutMs` for it;
// invalid when no answer came.
QVariant evaluateInPage(QWebEnginePage& page, const QString& script, int timeoutMs);

// Where to point at the middle of the element with `elementId`, in the
// view's coordinates; null when the page did not say.
QPoint centreOfElement(QWebEnginePage& page, const QString& elementId, int timeoutMs);
