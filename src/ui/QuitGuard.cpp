// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/QuitGuard.h"

#include "state/WindowState.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

QuitGuard::QuitGuard(QWidget& window, const WindowState& state, bool trayAvailable, QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_state(state)
    , m_trayAvailable(trayAvailable)
{
    m_window.installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this] { m_sessionEnding = true; });
}

void QuitGuard::requestQuit()
{
    if (shouldAsk())
        ask();
    else
        Q_EMIT quitConfirmed();
}

bool QuitGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_window || event->type() != QEvent::Close)
        return QObject::eventFilter(watched, event);
    if (shouldAsk()) {
        event->ignore();
        ask();
        return true;
    }
    Q_EMIT quitConfirmed();
    return false;
}

bool QuitGuard::shouldAsk() const
{
    // Logging out or shutting down is no time for questions.
    if (m_sessionEnding || qGuiApp->isSavingSession())
        return false;
    const ScanState state = m_state.scanState();
    return state == ScanState::Scanning || state == ScanState::SessionLost ||
           state == ScanState::IntervalInvalid;
}

void QuitGuard::ask()
{
    if (m_question) {
        m_question->raise();
        return;
    }
    auto* question = new QMessageBox(QMessageBox::Question, QStringLiteral("退出 Tollwick"),
                                     QStringLiteral("关闭后将停止自动发货，确定退出吗？"),
                                     QMessageBox::NoButton, &m_window);
    question->setObjectName(QStringLiteral("quitQuestion"));
    question->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* quit = question->addButton(QStringLiteral("退出"), QMessageBox::AcceptRole);
    QPushButton* toTray = m_trayAvailable ? question->addButton(QStringLiteral("最小化到托盘"),
                                                                QMessageBox::ActionRole)
                                          : nullptr;
    QPushButton* stay = question->addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    question->setDefaultButton(stay);
    question->setEscapeButton(stay);
    connect(question, &QMessageBox::finished, this, [this, question, quit, toTray] {
        if (question->clickedButton() == quit)
            Q_EMIT quitConfirmed();
        else if (toTray && question->clickedButton() == toTray)
            m_window.hide();
    });
    m_question = question;
    question->open();
}
