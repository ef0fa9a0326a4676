// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>

// A label that works as a link, for the help link: a click, or Enter or Space
// while it has the keyboard's focus, reports clicked().
class ClickableLabel : public QLabel {
    Q_OBJECT

public:
    ClickableLabel(const QString& text, QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
