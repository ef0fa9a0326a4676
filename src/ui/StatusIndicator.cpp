#include "ui/StatusIndicator.h"

#include "alerts/AlertPolicy.h"
#include "alerts/AlertSettings.h"
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

QColor colourOf(StatusIndicator::State state)
{
    switch (state) {
    case StatusIndicator::State::Scanning:
        return QColor(40, 160, 60);
    case StatusIndicator::State::Stopped:
        return QColor(140, 140, 140);
    case StatusIndicator::State::LoginNeeded:
        return QColor(240, 150, 20);
    case StatusIndicator::State::Failing:
        return QColor(210, 30, 30);
    }
    Q_UNREACHABLE();
}

} // namespace

StatusIndicator::StatusIndicator(QWidget& window, WindowState& state, ScanCycle& scan,
                                 AlertPolicy& alerts, DeliveryJournal& journal,
                                 AlertSettings& settings, bool trayAvailable, QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_caption(window.windowTitle())
    , m_state(state)
    , m_alerts(alerts)
    , m_settings(settings)
    , m_journalProblem(journal.problem())
{
    if (trayAvailable)
        m_tray = createTray();
    connect(&state, &WindowState::scanStateChanged, this, &StatusIndicator::update);
    connect(&state, &WindowState::interfaceKeyChanged, this, &StatusIndicator::update);
    connect(&alerts, &AlertPolicy::raised, this, [this](const Alert& alert) {
        notify(QStringLiteral("Tollwick 提醒"), alert.text);
        update();
    });
    connect(&alerts, &AlertPolicy::cleared, this, [this](const Alert& alert) {
        notify(QStringLiteral("Tollwick 已恢复"), alert.clearedText());
        update();
    });
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

StatusIndicator::~StatusIndicator()
{
    delete m_tray;
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
        return QStringLiteral("扫描中");
    case State::Stopped:
        return QStringLiteral("已停止");
    case State::LoginNeeded:
        return QStringLiteral("请登录支付宝");
    case State::Failing:
        if (m_alerts.active().isEmpty())
            return QStringLiteral("出错：") + IntervalInvalidStatus;
        return QStringLiteral("出错：") + m_alerts.active().constLast().text;
    }
    Q_UNREACHABLE();
}

void StatusIndicator::update()
{
    const QString journalProblem = m_journalProblem.isEmpty()
                                       ? QString()
                                       : QStringLiteral("发货记录出错：") + m_journalProblem;
    const QString keyWarning = m_state.interfaceKeyIsPublic() ? PublicKeyWarning : QString();
    QStringList title{m_caption};
    if (!m_tray)
        title << describe() << journalProblem << keyWarning;
    else
        title << journalProblem;
    title.removeAll(QString());
    m_window.setWindowTitle(title.join(QStringLiteral(" - ")));
    if (m_tray) {
        m_tray->setIcon(statusIcon(colourOf(current())));
        QStringList tip{QStringLiteral("Tollwick：") + describe(), journalProblem, keyWarning};
        tip.removeAll(QString());
        m_tray->setToolTip(tip.join(u'\n'));
    }
}

void StatusIndicator::notify(const QString& heading, const QString& text)
{
    if (m_tray)
        m_tray->showMessage(heading, text, QSystemTrayIcon::Warning);
    QApplication::alert(&m_window);
}

void StatusIndicator::onDelivery(const DeliveryAttempt& attempt)
{
    if (!m_tray || attempt.outcome != DeliveryAttempt::Outcome::Delivered ||
        !m_settings.notifyEachDelivery())
        return;
    m_tray->showMessage(
        QStringLiteral("已发货"),
        QStringLiteral("%1，%2 元").arg(attempt.record.Title, attempt.record.Amount),
        QSystemTrayIcon::Information);
}

QSystemTrayIcon* StatusIndicator::createTray()
{
    auto* tray = new QSystemTrayIcon;
    auto* menu = new QMenu(&m_window);
    connect(menu->addAction(QStringLiteral("显示窗口")), &QAction::triggered, this,
            &StatusIndicator::windowRequested);
    connect(menu->addAction(QStringLiteral("发货记录")), &QAction::triggered, this,
            &StatusIndicator::historyRequested);
    connect(menu->addAction(QStringLiteral("提醒设置")), &QAction::triggered, this,
            &StatusIndicator::alertSettingsRequested);
    QAction* eachDelivery = menu->addAction(QStringLiteral("每笔发货都提醒"));
    eachDelivery->setCheckable(true);
    eachDelivery->setChecked(m_settings.notifyEachDelivery());
    connect(eachDelivery, &QAction::toggled, &m_settings, &AlertSettings::setNotifyEachDelivery);
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("退出")), &QAction::triggered, this,
            &StatusIndicator::quitRequested);
    tray->setContextMenu(menu);
    connect(tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::Trigger)
            Q_EMIT windowRequested();
    });
    tray->show();
    return tray;
}
