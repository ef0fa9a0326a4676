#pragma once

#include <QObject>
#include <QString>

// The owner's choices about alerts, remembered across runs in the program's
// settings file (unlike the window's settings, which start anew each time).
class AlertSettings : public QObject {
    Q_OBJECT

public:
    // How messages reach the alert address: a GET of it with "{text}"
    // replaced by the message, or a POST of the message as JSON.
    enum class Method { Get, PostJson };

    using QObject::QObject;

    // Empty when alerts go to this computer's desktop only.
    QString address() const;
    Method method() const;
    // A desktop notification for every payment delivered.
    bool notifyEachDelivery() const;

    void setAddress(const QString& address);
    void setMethod(Method method);
    void setNotifyEachDelivery(bool notify);
};
