#pragma once

#include <QObject>
#include <QString>

class AlertPolicy;
class AlertSettings;
class DeliveryJournal;
class QSystemTrayIcon;
class QWidget;
class ScanCycle;
class WindowState;
struct DeliveryAttempt;

// Tells the owner, away from the window, whether the watching goes on: a
// tray icon whose icon and tooltip show the state where the desktop has a
// tray, the window's title where it has none, both also warning while the
// interface key is the public default; a desktop notification and a
// flash in the task bar for every alert and its clearing; a notification for
// each payment delivered, unless switched off.
class StatusIndicator : public QObject {
    Q_OBJECT

public:
    enum class State { Scanning, Stopped, LoginNeeded, Failing };

    StatusIndicator(QWidget& window, WindowState& state, ScanCycle& scan, AlertPolicy& alerts,
                    DeliveryJournal& journal, AlertSettings& settings, bool trayAvailable,
                    QObject* parent = nullptr);
    ~StatusIndicator() override;

    State current() const;
    // The state in the owner's words.
    QString describe() const;

Q_SIGNALS:
    void windowRequested();
    void historyRequested();
    void alertSettingsRequested();
    void quitRequested();

private:
    void update();
    void notify(const QString& heading, const QString& text);
    void onDelivery(const DeliveryAttempt& attempt);
    QSystemTrayIcon* createTray();

    QWidget& m_window;
    const QString m_caption;
    WindowState& m_state;
    AlertPolicy& m_alerts;
    AlertSettings& m_settings;
    QString m_journalProblem;
    QSystemTrayIcon* m_tray = nullptr;
};
