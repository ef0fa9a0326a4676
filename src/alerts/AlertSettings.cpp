#include "alerts/AlertSettings.h"

#include <QSettings>

namespace {
const QString AddressKey = QStringLiteral("alerts/address");
const QString MethodKey = QStringLiteral("alerts/method");
const QString EachDeliveryKey = QStringLiteral("alerts/notifyEachDelivery");
const QString PostJson = QStringLiteral("post-json");
} // namespace

QString AlertSettings::address() const
{
    return QSettings().value(AddressKey).toString();
}

AlertSettings::Method AlertSettings::method() const
{
    return QSettings().value(MethodKey).toString() == PostJson ? Method::PostJson : Method::Get;
}

bool AlertSettings::notifyEachDelivery() const
{
    return QSettings().value(EachDeliveryKey, true).toBool();
}

void AlertSettings::setAddress(const QString& address)
{
    QSettings().setValue(AddressKey, address.trimmed());
}

void AlertSettings::setMethod(Method method)
{
    QSettings().setValue(MethodKey, method == Method::PostJson ? PostJson : QStringLiteral("get"));
}

void AlertSettings::setNotifyEachDelivery(bool notify)
{
    QSettings().setValue(EachDeliveryKey, notify);
}
