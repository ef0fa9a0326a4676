// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QPointer>

class QMessageBox;
class QWidget;
class WindowState;

// Closing the window, or the tray's "退出", ends the program and every
// delivery with it. While deliveries are meant to go on (scanning, or
// waiting to resume after a lost login or an unusable interval) the owner is
// asked first; waiting for the first login or stopped, the program ends at
// once, and so it does when the desktop session ends.
class QuitGuard : public QObject {
    Q_OBJECT

public:
    QuitGuard(QWidget& window, const WindowState& state, bool trayAvailable,
              QObject* parent = nullptr);

    // The tray's "退出".
    void requestQuit();

Q_SIGNALS:
    // The program is to end now.
    void quitConfirmed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Deliveries run and the desktop session goes on: closing must ask first.
    bool shouldAsk() const;
    void ask();

    QWidget& m_window;
    const WindowState& m_state;
    bool m_trayAvailable;
    bool m_sessionEnding = false;
    QPointer<QMessageBox> m_question;
};
