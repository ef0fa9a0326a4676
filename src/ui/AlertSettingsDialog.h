#pragma once

#include "alerts/AlertSettings.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class RemoteAlerts;

// "提醒设置": where alerts go besides this computer's desktop, and a test
// message to try it before saving.
class AlertSettingsDialog : public QDialog {
    Q_OBJECT

public:
    AlertSettingsDialog(AlertSettings& settings, RemoteAlerts& remote, QWidget* parent = nullptr);

    void sendTest();
    void accept() override;

private:
    AlertSettings::Method chosenMethod() const;

    AlertSettings& m_settings;
    RemoteAlerts& m_remote;
    QLineEdit* m_address;
    QComboBox* m_method;
    QLabel* m_testResult;
};
