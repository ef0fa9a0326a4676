// SPDX-License-Identifier: GPL-3.0-or-later

#include "InProcessSandbox.h"

#include "platform/BrowserControl.h"
#include "platform/TimerControl.h"
#include "scan/ScanCycle.h"
#include "state/StatusTexts.h"
#include "support/PageScripts.h"
#include "ui/Form1.h"

#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

// The window recognises home pages by 34 characters, which the account's
// addresses only have with a four-digit port. The port is bound once to be
// sure nothing else holds it; 0 when no free one turned up.
quint16 freeFourDigitPort()
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        const auto port = quint16(QRandomGenerator::global()->bounded(1000, 10000));
        QTcpServer probe;
        if (probe.listen(QHostAddress::LocalHost, port))
            return port;
    }
    return 0;
}

SandboxOptions inProcess(SandboxOptions options, const QString& journal)
{
    options.headless = true;
    options.port = freeFourDigitPort();
    options.journal = journal;
    return options;
}

} // namespace

InProcessSandbox::InProcessSandbox(SandboxOptions options)
    : m_sandbox(inProcess(std::move(options), m_folder.filePath(QStringLiteral("journal.db"))))
{
}

QString InProcessSandbox::start()
{
    QString error;
    if (!m_sandbox.start(error))
        return error;
    // Shown without waiting, so no event is handled before the caller
    // connects to what it watches.
    window().show();
    return {};
}

bool InProcessSandbox::waitUntilScanning()
{
    return QTest::qWaitFor([this] { return state().status() == ScanningStatus; }, Timeout);
}

bool InProcessSandbox::tick()
{
    Q_EMIT watch().Timer1->Timer();
    return QTest::qWaitFor([this] { return !watch().scanCycle().running(); }, Timeout);
}

QStringList InProcessSandbox::resultLines()
{
    const QString text = state().page();
    if (text.isEmpty())
        return {};
    return text.split(QStringLiteral("\r\n")).mid(1);
}

QVariant InProcessSandbox::evaluate(const QString& script)
{
    return evaluateInPage(*view().page(), script, Timeout);
}

QWebEngineView& InProcessSandbox::view()
{
    return *qobject_cast<QWebEngineView*>(window().WebBrowser1);
}
