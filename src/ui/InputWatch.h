// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

class QWidget;

// Tells of mouse and keyboard input anywhere in a widget and the widgets it
// holds, also those added later: the browser's view makes its drawing
// surface anew for each renderer.
class InputWatch : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    void watch(QWidget* widget);

Q_SIGNALS:
    void input();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
