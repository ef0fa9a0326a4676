// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/ChineseInterface.h"
#include "app/CommandLine.h"
#include "app/Program.h"
#include "platform/qt/EngineEnvironment.h"
#include "platform/qt/SingleInstance.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    // Answered before anything starts: without a display, and while a copy runs.
    QTextStream out(stdout), errors(stderr);
    if (const std::optional<int> answered = answerCommandLine(argumentsOf(argc, argv), out, errors))
        return *answered;

    prepareEngineEnvironment(false);
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("tollwick"));
    speakChinese(application);

    // A second scanner would deliver every payment twice.
    SingleInstance instance(QStringLiteral("tollwick"));
    if (!instance.claim())
        return 0;

    Program program(Endpoints::service(), Program::defaultJournalPath(),
                    SettingsFile::defaultPath());
    QObject::connect(&instance, &SingleInstance::activated, &program, &Program::showWindow);
    program.window().show();
    return application.exec();
}
