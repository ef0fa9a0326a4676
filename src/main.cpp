#include "platform/qt/EngineEnvironment.h"
#include "platform/qt/QtPlatform.h"
#include "ui/Endpoints.h"
#include "ui/Form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    prepareEngineEnvironment(false);
    QApplication application(argc, argv);
    QtPlatform platform;
    Form1 window(platform.platform(), Endpoints::service());
    window.show();
    return application.exec();
}
