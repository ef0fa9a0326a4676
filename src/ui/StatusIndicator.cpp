// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/StatusIndicator.h"

#include "alerts/AlertPolicy.h"
#include "alerts/AlertSettings.h"
#include "alerts/Heartbeat.h"
#include "alerts/ReadableTitle.h"
#include "alerts/RemoteAlerts.h"
#include "journal/DeliveryJournal.h"
#include "scan/ScanCycle.h"
#include "state/StatusTexts.h"
#include "state/WindowState.h"
#include "ui/AppIcon.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace {

// Notification servers may render markup in the text, and titles are typed
// by payers.
QString plain(QString text)
{
    return text.replace(u'&', QStringLiteral("&amp;"))
        .replace(u'<', QStringLiteral("&lt;"))
        .replace(u'>', QStringLiteral("&gt;"));
}

} // namespace

QIcon StatusIndicator::iconOf(State state)
{
    switch (state) {
    case State::Scanning:
        return statusIcon(StatusSymbol::Tick, QColor(40, 140, 60));
    case State::Stopped:
        return statusIcon(StatusSymbol::Pause, QColor(110, 110, 110));
    case State::LoginNeeded:
        return statusIcon(StatusSymbol::Padlock, QColor(200, 110, 0));
    case State::Failing:
        return statusIcon(StatusSymbol::Exclamation, QColor(200, 30, 30));
    }
    Q_UNREACHABLE();
}

StatusIndicator::StatusIndicator(QWidget& window, WindowState& state, ScanCycle& scan,
                                 AlertPolicy& alerts, DeliveryJournal& journal,
                                 AlertSettings& settings, const RemoteAlerts& remote,
                                 const Heartbeat& heartbeat, bool trayAvailable, QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_caption(window.windowTitle())
    , m_state(state)
    , m_alerts(alerts)
    , m_settings(settings)
    , m_remote(remote)
    , m_heartbeat(heartbeat)
    , m_journalProblem(journal.problem())
{
    if (trayAvailable)
        m_tray = createTray();
    connect(&state, &WindowState::scanStateChanged, this, &StatusIndicator::update);
    connect(&state, &WindowState::interfaceKeyChanged, this, &StatusIndicator::update);
    connect(&alerts, &AlertPolicy::raised, this, [this](const Alert& alert) {
        notify(QStringLiteral("Tollwick 提醒"), alert.text, QSystemTrayIcon::Warning);
        update();
    });
    connect(&alerts, &AlertPolicy::cleared, this, [this](const Alert& alert) {
        notify(QStringLiteral("Tollwick 已恢复"), alert.clearedText(),
               QSystemTrayIcon::Information);
        update();
    });
    connect(&remote, &RemoteAlerts::problemChanged, this, &StatusIndicator::update);
    connect(&heartbeat, &Heartbeat::problemChanged, this, &StatusIndicator::update);
    connect(&journal, &DeliveryJournal::failed, this, [this](const QString& problem) {
        m_journalProblem = problem;
        update();
    });
    connect(&journal, &DeliveryJournal::recovered, this, [this] {
        m_journalProblem.clear();
        update();
    });
    connect(&scan, &ScanCycle::deliveryFinished, this, &StatusIndicator::onDelivery);
    update();
}

StatusIndicator::State StatusIndicator::current() const
{
    if (!m_alerts.active().isEmpty())
        return State::Failing;
    switch (m_state.scanState()) {
    case ScanState::Scanning:
        return State::Scanning;
    case ScanState::Stopped:
        return State::Stopped;
    case ScanState::WaitingForLogin:
    case ScanState::SessionLost:
        return State::LoginNeeded;
    case ScanState::IntervalInvalid:
        return State::Failing;
    }
    Q_UNREACHABLE();
}

QString StatusIndicator::describe() const
{
    switch (current()) {
    case State::Scanning:
        return ScanningStatus;
    case State::Stopped:
        return StoppedStatus;
    case State::LoginNeeded:
        return QStringLiteral("请登录支付宝");
    case State::Failing:
        return QStringLiteral("出错：") + (m_alerts.active().isEmpty()
                                               ? IntervalInvalidStatus
                                               : m_alerts.active().constLast().text);
    }
    Q_UNREACHABLE();
}

void StatusIndicator::update()
{
    // Troubles that stop nothing, but that the owner should mend.
    QStringList troubles;
    const auto add = [&troubles](const char* what, const QString& problem) {
        if (!problem.isEmpty())
            troubles.append(QString::fromUtf8(what) + problem);
    };
    add("发货记录出错：", m_journalProblem);
    add("提醒网址发送失败：", m_remote.problem());
    add("心跳网址发送失败：", m_heartbeat.problem());
    const QStringList keyWarning =
        m_state.interfaceKeyIsPublic() ? QStringList{PublicKeyWarning} : QStringList{};
    QStringList title{m_caption};
    if (!m_tray)
        title << describe() << keyWarning;
    m_window.setWindowTitle((title + troubles).join(QStringLiteral(" - ")));
    if (m_tray) {
        m_tray->setIcon(iconOf(current()));
        m_tray->setToolTip(
            (QStringList{QStringLiteral("Tollwick：") + describe()} + keyWarning + troubles)
                .join(u'\n'));
    }
}

void StatusIndicator::notify(const QString& heading, const QString& text,
                             QSystemTrayIcon::MessageIcon icon)
{
    if (m_tray)
        m_tray->showMessage(plain(heading), plain(text), icon);
    QApplication::alert(&m_window);
}

void StatusIndicator::onDelivery(const DeliveryAttempt& attempt)
{
    if (!m_tray || attempt.outcome != DeliveryAttempt::Outcome::Delivered ||
        !m_settings.notifyEachDelivery())
        return;
    m_tray->showMessage(QStringLiteral("已发货"),
                        plain(QStringLiteral("%1，%2 元")
                                  .arg(readableTitle(attempt.record.Title), attempt.record.Amount)),
                        QSystemTrayIcon::Information);
}

QSystemTrayIcon* StatusIndicator::createTray()
{
    auto* tray = new QSystemTrayIcon(this);
    auto* menu = new QMenu(&m_window);
    menu->addAction(QStringLiteral("显示窗口"), this, &StatusIndicator::windowRequested);
    menu->addAction(QStringLiteral("发货记录"), this, &StatusIndicator::historyRequested);
    menu->addAction(QStringLiteral("设置"), this, &StatusIndicator::settingsRequested);
    QAction* eachDelivery = menu->addAction(QStringLiteral("每笔发货都提醒"));
    eachDelivery->setCheckable(true);
    eachDelivery->setChecked(m_settings.notifyEachDelivery());
    connect(eachDelivery, &QAction::toggled, &m_settings, &AlertSettings::setNotifyEachDelivery);
    menu->addSeparator();
    menu->addAction(QStringLiteral("退出"), this, &StatusIndicator::quitRequested);
    tray->setContextMenu(menu);
    connect(tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::Trigger)
            Q_EMIT windowRequested();
    });
    tray->show();
    return tray;
}
