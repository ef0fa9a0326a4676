#include "app/Program.h"
#include "platform/qt/EngineEnvironment.h"
#include "platform/qt/SingleInstance.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    prepareEngineEnvironment(false);
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("tollwick"));

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
