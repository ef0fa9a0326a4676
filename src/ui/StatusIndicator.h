// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

class AlertPolicy;
class AlertSettings;
class DeliveryJournal;
class Heartbeat;
class QWidget;
class RemoteAlerts;
class ScanCycle;
class WindowState;
struct DeliveryAttempt;

// Tells the owner, away from the window, whether the watching goes on: a
// tray icon whose icon and tooltip show the state where the desktop has a
// tray, the window's title where it has none, both also warning while the
// interface key is the public default; a desktop notification and a
// flash in the task bar for every alert and its clearing; a notification for
// each payment delivered, unless switched off. The tooltip, or the title,
// also tells of a journal, alert address or heartbeat that fails.
class StatusIndicator : public QObject {
    Q_OBJECT

public:
    enum class State { Scanning, Stopped, LoginNeeded, Failing };

    StatusIndicator(QWidget& window, WindowState& state, ScanCycle& scan, AlertPolicy& alerts,
                    DeliveryJournal& journal, AlertSettings& settings, const RemoteAlerts& remote,
                    const Heartbeat& heartbeat, bool trayAvailable, QObject* parent = nullptr);

    State current() const;
    // The tray's icon for `state`: each with a symbol of its own.
    static QIcon iconOf(State state);
    // The state in the owner's words.
    QString describe() const;

Q_SIGNALS:
    void windowRequested();
    void historyRequested();
    void settingsRequested();
    void quitRequested();

private:
    void update();
    void notify(const QString& heading, const QString& text, QSystemTrayIcon::MessageIcon icon);
    void onDelivery(const DeliveryAttempt& attempt);
    QSystemTrayIcon* createTray();

    QWidget& m_window;
    const QString m_caption;
    WindowState& m_state;
    AlertPolicy& m_alerts;
    AlertSettings& m_settings;
    const RemoteAlerts& m_remote;
    const Heartbeat& m_heartbeat;
    QString m_journalProblem;
    QSystemTrayIcon* m_tray = nullptr;
};
