// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/RememberedSettings.h"

#include "platform/PrivateFile.h"
#include "settings/SecretStore.h"
#include "state/WindowState.h"

#include <QPointer>
#include <QSettings>

namespace {

const QString EnabledKey = QStringLiteral("window/remember");
const QString DeliveryUrlKey = QStringLiteral("window/deliveryUrl");
const QString ScanIntervalKey = QStringLiteral("window/scanInterval");
const QString RecordCountKey = QStringLiteral("window/recordCount");
const QString ShopCharsetKey = QStringLiteral("window/shopCharset");
const QString InterfaceKeyName = QStringLiteral("window/interfaceKey");

} // namespace

RememberedSettings::RememberedSettings(WindowState& state, SecretStore& secrets,
                                       const QString& path, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_secrets(secrets)
    , m_path(path)
{
    for (auto changed : {&WindowState::deliveryUrlChanged, &WindowState::scanIntervalChanged,
                         &WindowState::recordCountChanged, &WindowState::shopCharsetChanged})
        connect(&state, changed, this, &RememberedSettings::save);
    connect(&state, &WindowState::interfaceKeyChanged, this, &RememberedSettings::saveKey);
}

bool RememberedSettings::enabled() const
{
    return !m_path.isEmpty() && QSettings(m_path, QSettings::IniFormat).value(EnabledKey).toBool();
}

void RememberedSettings::setEnabled(bool enabled)
{
    if (m_path.isEmpty() || enabled == this->enabled())
        return;
    if (!makePrivateFile(m_path, "Settings"))
        return;
    {
        QSettings file(m_path, QSettings::IniFormat);
        file.setValue(EnabledKey, enabled);
        if (!enabled) {
            for (const QString& key :
                 {DeliveryUrlKey, ScanIntervalKey, RecordCountKey, ShopCharsetKey})
                file.remove(key);
        }
    }
    if (enabled) {
        save();
        saveKey();
    } else {
        m_secrets.write(InterfaceKeyName, {});
    }
}

void RememberedSettings::restore()
{
    if (!enabled())
        return;
    // All read before any is set: setting one saves them all.
    const QSettings file(m_path, QSettings::IniFormat);
    const QString deliveryUrl = file.value(DeliveryUrlKey, m_state.deliveryUrl()).toString();
    const QString scanInterval = file.value(ScanIntervalKey, m_state.scanInterval()).toString();
    const QString recordCount = file.value(RecordCountKey, m_state.recordCount()).toString();
    const QString shopCharset = file.value(ShopCharsetKey, m_state.shopCharset()).toString();
    m_state.setDeliveryUrl(deliveryUrl);
    m_state.setScanInterval(scanInterval);
    m_state.setRecordCount(recordCount);
    m_state.setShopCharset(shopCharset);
    m_state.setKeyPending(true);
    QPointer<RememberedSettings> self(this);
    m_secrets.read(InterfaceKeyName, [self](const QString& key) {
        if (!self)
            return;
        if (!key.isEmpty())
            self->m_state.setInterfaceKey(key);
        self->m_state.setKeyPending(false);
    });
}

void RememberedSettings::save()
{
    if (!enabled())
        return;
    QSettings file(m_path, QSettings::IniFormat);
    file.setValue(DeliveryUrlKey, m_state.deliveryUrl());
    file.setValue(ScanIntervalKey, m_state.scanInterval());
    file.setValue(RecordCountKey, m_state.recordCount());
    file.setValue(ShopCharsetKey, m_state.shopCharset());
}

void RememberedSettings::saveKey()
{
    // The key being read is not yet the owner's; writing now would lose it.
    if (enabled() && !m_state.keyPending())
        m_secrets.write(InterfaceKeyName, m_state.interfaceKey());
}
