// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "alerts/AlertPolicy.h"
#include "alerts/AlertSettings.h"
#include "alerts/DailySummary.h"
#include "alerts/Heartbeat.h"
#include "alerts/RemoteAlerts.h"
#include "journal/DeliveryJournal.h"
#include "journal/PaymentBook.h"
#include "platform/qt/QtPlatform.h"
#include "settings/RememberedSettings.h"
#include "settings/SecretStore.h"
#include "settings/SettingsFile.h"
#include "ui/Form1.h"
#include "ui/QuitGuard.h"
#include "ui/StatusIndicator.h"
#include "watch/AccountWatch.h"

#include <QPointer>

#include <chrono>
#include <memory>

class HistoryWindow;

// The pauses of the alert address's retries and of the heartbeat; shorter
// only in tests.
struct AlertTiming {
    std::chrono::milliseconds firstRetry = std::chrono::seconds(30);
    std::chrono::milliseconds heartbeatEvery = std::chrono::minutes(1);
};

// The whole program as its executables start it: the real platform, the
// watch, the window bound to it, and what an owner needs for a day without
// looking: the delivery journal, the alerts and their settings, the heartbeat.
class Program : public QObject {
    Q_OBJECT

public:
    // The journal lives at `journalPath`, the settings at `settingsPath`
    // (secrets in the desktop's keyring where one answers), or for this run
    // only when it is empty. Throws std::invalid_argument when the endpoints
    // cannot be used.
    Program(const Endpoints& endpoints, const QString& journalPath, const QString& settingsPath,
            AlertTiming timing = {}, QObject* parent = nullptr);
    ~Program() override;

    // Where the program keeps its journal unless told otherwise.
    static QString defaultJournalPath();

    QtPlatform& platform() { return m_platform; }
    AccountWatch& watch() { return m_watch; }
    AlertPolicy& alerts() { return m_alerts; }
    AlertSettings& alertSettings() { return m_alertSettings; }
    RemoteAlerts& remoteAlerts() { return m_remoteAlerts; }
    Heartbeat& heartbeat() { return m_heartbeat; }
    Form1& window() { return m_window; }

    // Brings the main window to the front.
    void showWindow();
    void showHistory();
    void showSettings();

private:
    QtPlatform m_platform;
    AccountWatch m_watch;
    DeliveryJournal m_journal;
    PaymentBook m_paymentBook;
    AlertPolicy m_alerts;
    AlertSettings m_alertSettings;
    SecretStore m_secrets;
    std::unique_ptr<SettingsFile> m_settingsFile;
    RemoteAlerts m_remoteAlerts;
    DailySummary m_dailySummary;
    Heartbeat m_heartbeat;
    Form1 m_window;
    RememberedSettings m_remembered;
    StatusIndicator m_indicator;
    QuitGuard m_quitGuard;
    QPointer<HistoryWindow> m_history;
};
