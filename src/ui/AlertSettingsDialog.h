#pragma once

#include "alerts/AlertChannel.h"

#include <QDialog>

class AlertSettings;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class RemoteAlerts;

// "提醒设置": where alerts go besides this computer's desktop, asking for
// just what the chosen service gives its user; the heartbeat address; and a
// test message to try them before saving.
class AlertSettingsDialog : public QDialog {
    Q_OBJECT

public:
    AlertSettingsDialog(AlertSettings& settings, RemoteAlerts& remote, QWidget* parent = nullptr);

    void sendTest();
    void accept() override;

private:
    void showFieldsOf(AlertChannel::Kind kind);
    AlertChannel::Kind chosenKind() const;
    AlertChannel chosenChannel() const;

    AlertSettings& m_settings;
    RemoteAlerts& m_remote;
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
    QLabel* m_testResult;
};
