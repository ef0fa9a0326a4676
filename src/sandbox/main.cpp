// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ChineseInterface.h"
#include "app/CommandLine.h"
#include "app/Program.h"
#include "platform/qt/EngineEnvironment.h"
#include "sandbox/Sandbox.h"
#include "sandbox/SandboxLog.h"

#include <QApplication>
#include <QTextStream>

// The program against a simulated account and shop on this machine. The
// control token first, then every change of the two boxes and every
// notification the shop receives is written to standard output as a line of
// JSON.
int main(int argc, char* argv[])
{
    QString error;
    const auto options = SandboxOptions::parse(argumentsOf(argc, argv), error);
    if (!options) {
        QTextStream(stderr) << "tollwick-sandbox: " << error << Qt::endl;
        return 2;
    }
    if (!options->help.isEmpty()) {
        QTextStream(stdout) << options->help;
        return 0;
    }

    if (options->notifiesAnotherMachine()) {
        QTextStream(stderr) << "tollwick-sandbox: warning: --notify-url \"" << options->notifyUrl
                            << "\" is not on this machine: every payment added here is delivered "
                               "to that shop"
                            << Qt::endl;
    }
    prepareEngineEnvironment(options->headless);
    QApplication application(argc, argv);
    // Its own data folder and settings, never the program's.
    application.setApplicationName(QStringLiteral("tollwick-sandbox"));
    speakChinese(application);

    SandboxLog log;
    Sandbox sandbox(*options);
    if (!sandbox.start(error)) {
        QTextStream(stderr) << "tollwick-sandbox: " << error << Qt::endl;
        return 1;
    }

    log.control(sandbox.account().controlToken());
    const WindowState& state = sandbox.watch().state();
    QObject::connect(&state, &WindowState::statusChanged, [&](const QString& t) { log.status(t); });
    QObject::connect(&state, &WindowState::pageChanged, [&](const QString& t) { log.page(t); });
    QObject::connect(&sandbox.shop(), &SimulatedShop::notified,
                     [&](const ShopNotification& n) { log.shop(n); });
    QObject::connect(&sandbox.watch().scanCycle(), &ScanCycle::deliveryFinished,
                     [&](const DeliveryAttempt& a) { log.delivery(a); });
    AlertPolicy& alerts = sandbox.program().alerts();
    QObject::connect(&alerts, &AlertPolicy::raised, [&](const Alert& a) { log.alert(a); });
    QObject::connect(&alerts, &AlertPolicy::cleared, [&](const Alert& a) { log.cleared(a); });
    QObject::connect(&sandbox.program().remoteAlerts(), &RemoteAlerts::sent,
                     [&](const AlertSend& send) { log.alertSent(send); });
    QObject::connect(&sandbox.program().heartbeat(), &Heartbeat::sent,
                     [&](int status) { log.heartbeat(status); });
    QObject::connect(&sandbox, &Sandbox::scanEnded, [&](int scans) {
        if (options->ticks && scans >= *options->ticks)
            application.quit();
    });
    QObject::connect(&application, &QApplication::lastWindowClosed, &application,
                     &QApplication::quit);

    if (!options->headless)
        sandbox.window().show();
    const int status = application.exec();
    log.exit(sandbox.scansEnded());
    return status;
}
