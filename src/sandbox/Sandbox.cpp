// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/Sandbox.h"

#include "app/Program.h"
#include "state/Endpoints.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWebEnginePage>
#include <QWebEngineView>

Sandbox::Sandbox(SandboxOptions options, QObject* parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_shop(m_options.key, m_options.charset)
{
}

Sandbox::~Sandbox() = default;

AccountWatch& Sandbox::watch()
{
    return m_program->watch();
}

Form1& Sandbox::window()
{
    return m_program->window();
}

bool Sandbox::start(QString& error)
{
    if (!m_account.listen(m_options.port)) {
        error = QStringLiteral("cannot listen on 127.0.0.1:%1 for the account").arg(m_options.port);
        return false;
    }
    if (!m_shop.listen(0)) {
        error = QStringLiteral("cannot listen on 127.0.0.1 for the shop");
        return false;
    }
    for (const SandboxOptions::Payment& payment : m_options.payments)
        m_account.addPayment(payment.title, payment.amount);
    if (m_options.recordPage)
        m_account.setRecordPage(*m_options.recordPage);
    m_shop.failNext(m_options.shopFailures);

    Endpoints endpoints = m_account.endpoints();
    endpoints.HelpPageUrl = Endpoints::service().HelpPageUrl;
    endpoints.DefaultNotifyUrl = m_shop.notifyUrl();
    error = endpoints.validationError();
    if (!error.isEmpty())
        return false;

    // Its own journal, never the program's, and alert settings for this run only.
    m_program = std::make_unique<Program>(
        endpoints, m_options.journal.isEmpty() ? Program::defaultJournalPath() : m_options.journal,
        QString(),
        AlertTiming{std::chrono::seconds(m_options.alertRetryFirstSeconds),
                    std::chrono::seconds(m_options.heartbeatEverySeconds)});
    typeSettings();
    watch().browserSleep().setIdleTime(m_options.browserSleep * 1000);
    if (m_options.headless)
        logInWhenAsked();
    connect(&watch().scanCycle(), &ScanCycle::scanEnded, this,
            [this] { Q_EMIT scanEnded(++m_scansEnded); });
    return true;
}

void Sandbox::typeSettings()
{
    if (!m_options.notifyUrl.isEmpty())
        window().Text3->setPlainText(m_options.notifyUrl);
    window().Text4->setText(m_options.key);
    window().Combo1->setEditText(m_options.interval);
    window().Combo2->setEditText(m_options.records);
    window().Combo3->setEditText(m_options.charset);
    AlertSettings& alerts = m_program->alertSettings();
    alerts.setChannel(m_options.alertChannel);
    alerts.setHeartbeatAddress(m_options.heartbeatUrl);
}

// Without a person at the window, the sandbox does what the owner would: it
// submits the login form whenever the browser shows it, through the browser.
void Sandbox::logInWhenAsked()
{
    auto* view = qobject_cast<QWebEngineView*>(m_program->platform().browser().view());
    connect(view, &QWebEngineView::loadFinished, this, [this, view](bool ok) {
        if (ok && view->url().toString().startsWith(m_account.loginUrl()))
            view->page()->runJavaScript(
                QStringLiteral("document.getElementById('login').submit()"));
    });
}
