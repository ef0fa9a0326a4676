// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Program.h"

#include "ui/HistoryWindow.h"
#include "ui/SettingsDialog.h"

#include <QApplication>
#include <QShortcut>
#include <QStandardPaths>
#include <QSysInfo>
#include <QSystemTrayIcon>

Program::Program(const Endpoints& endpoints, const QString& journalPath,
                 const QString& settingsPath, AlertTiming timing, QObject* parent)
    : QObject(parent)
    , m_watch(m_platform.platform(), endpoints)
    , m_journal(journalPath, m_platform.platform().clock)
    , m_paymentBook(m_journal, m_platform.platform().clock)
    , m_alerts(m_watch, m_journal)
    , m_secrets(m_platform.platform().keyring, settingsPath)
    , m_settingsFile(settingsPath.isEmpty()
                         ? nullptr
                         : std::make_unique<SettingsFile>(m_alertSettings, m_secrets, settingsPath,
                                                          SettingsFile::earlierDefaultPath()))
    , m_remoteAlerts(m_alerts, m_alertSettings, m_platform.platform(), QSysInfo::machineHostName(),
                     timing.firstRetry)
    , m_dailySummary(m_alertSettings, m_remoteAlerts, m_journal, m_platform.platform())
    , m_heartbeat(m_watch.scanCycle(), m_alertSettings, m_platform.platform(),
                  timing.heartbeatEvery)
    , m_window(m_watch, m_platform.browser().view())
    , m_remembered(m_watch.state(), m_secrets, settingsPath)
    , m_indicator(m_window, m_watch.state(), m_watch.scanCycle(), m_alerts, m_journal,
                  m_alertSettings, m_remoteAlerts, m_heartbeat,
                  QSystemTrayIcon::isSystemTrayAvailable())
    , m_quitGuard(m_window, m_watch.state(), QSystemTrayIcon::isSystemTrayAvailable())
{
    // The window has its defaults; what the owner chose to keep goes over them.
    m_remembered.restore();
    m_watch.scanCycle().setMemory(&m_paymentBook);
    connect(&m_watch.scanCycle(), &ScanCycle::deliveryFinished, &m_journal,
            &DeliveryJournal::record);
    connect(&m_remoteAlerts, &RemoteAlerts::sent, &m_journal, &DeliveryJournal::recordAlertSend);

    // Keys of the window, so that its layout stays as it is; the settings'
    // key also serves desktops without a tray, where the tray's menu is missing.
    new QShortcut(QKeySequence(Qt::Key_F3), &m_window, this, &Program::showHistory);
    new QShortcut(QKeySequence(Qt::Key_F4), &m_window, this, &Program::showSettings);
    connect(&m_indicator, &StatusIndicator::windowRequested, this, &Program::showWindow);
    connect(&m_indicator, &StatusIndicator::historyRequested, this, &Program::showHistory);
    connect(&m_indicator, &StatusIndicator::settingsRequested, this, &Program::showSettings);
    connect(&m_indicator, &StatusIndicator::quitRequested, &m_quitGuard, &QuitGuard::requestQuit);
    // After the window's close has run its course.
    connect(&m_quitGuard, &QuitGuard::quitConfirmed, qApp, &QApplication::quit,
            Qt::QueuedConnection);
}

Program::~Program()
{
    // Views over the journal go before it.
    delete m_history;
}

QString Program::defaultJournalPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/journal.db");
}

void Program::showWindow()
{
    m_window.showNormal();
    m_window.raise();
    m_window.activateWindow();
}

void Program::showHistory()
{
    if (!m_history) {
        m_history = new HistoryWindow(m_journal, m_watch.scanCycle(), m_platform.platform().clock);
        m_history->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_history->showPayments();
    m_history->show();
    m_history->raise();
    m_history->activateWindow();
}

void Program::showSettings()
{
    // Window-modal without a loop of its own: deliveries go on behind it.
    auto* dialog =
        new SettingsDialog(m_alertSettings, m_remoteAlerts, m_remembered, m_secrets, &m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}
