#pragma once

#include "alerts/Alert.h"
#include "alerts/AlertSettings.h"

#include <QDateTime>
#include <QList>
#include <QObject>

#include <functional>

class AlertPolicy;
class Clock;
class WebHook;

// Sends every alert and every clearing to the owner's alert address, so it
// reaches a phone through whatever push service or group bot the owner uses.
// One message at a time, each sent once; a message that could not be sent is
// kept and sent before the next one. A failing address never holds up
// anything else.
class RemoteAlerts : public QObject {
    Q_OBJECT

public:
    RemoteAlerts(AlertPolicy& policy, const AlertSettings& settings, WebHook& webHook,
                 const Clock& clock, QObject* parent = nullptr);

    // Sends a test message at once, to `address` by `method`, before they
    // are saved; `done` gets the answer's HTTP status, 0 when none came.
    void sendTest(const QString& address, AlertSettings::Method method,
                  std::function<void(int status)> done);
    // Messages kept because they could not be sent yet.
    int waiting() const { return int(m_waiting.size()); }

private:
    struct Message {
        QString cause;
        QString text;
        QDateTime time;
    };

    void queue(const QString& cause, const QString& text);
    void sendNext();
    void send(const QString& address, AlertSettings::Method method, const Message& message,
              std::function<void(int status)> done);

    const AlertSettings& m_settings;
    WebHook& m_webHook;
    const Clock& m_clock;
    QList<Message> m_waiting;
    bool m_sending = false;
};
