// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPixmap>
#include <QWidget>

// What the browser's place shows while the browser sleeps: the page as it
// last looked, and one line saying that a click brings it back. A click or
// a key on it asks for the browser.
class SleepPicture : public QWidget {
    Q_OBJECT

public:
    explicit SleepPicture(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);

Q_SIGNALS:
    void wakeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap m_picture;
};
