// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "alerts/AlertChannel.h"

#include <QDialog>

#include <optional>

class AlertSettings;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTimeEdit;
class RememberedSettings;
class RemoteAlerts;
class SecretStore;

// "设置": where alerts go besides this computer's desktop, asking for just
// what the chosen service gives its user; the heartbeat address; a test
// message to try them before saving; whether the window's settings are
// restored at the next start; and where the secrets are kept.
class SettingsDialog : public QDialog {
    Q_OBJECT

public:
    SettingsDialog(AlertSettings& settings, RemoteAlerts& remote, RememberedSettings& remembered,
                   const SecretStore& secrets, QWidget* parent = nullptr);

    void sendTest();
    void accept() override;

private:
    void showFieldsOf(std::optional<AlertChannel::Kind> kind);
    // Nothing while "不发送" is chosen.
    std::optional<AlertChannel::Kind> chosenKind() const;
    AlertChannel chosenChannel() const;

    AlertSettings& m_settings;
    RemoteAlerts& m_remote;
    RememberedSettings& m_remembered;
    QFormLayout* m_form;
    QComboBox* m_kind;
    QLineEdit* m_address;
    QLineEdit* m_server;
    QLineEdit* m_key;
    QLineEdit* m_chat;
    QLineEdit* m_secret;
    QPlainTextEdit* m_body;
    QComboBox* m_contentType;
    QLabel* m_note;
    QLineEdit* m_heartbeat;
    QCheckBox* m_summary;
    QTimeEdit* m_summaryTime;
    QLabel* m_testResult;
    QCheckBox* m_remember;
};
