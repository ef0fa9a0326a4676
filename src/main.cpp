#include "platform/qt/EngineEnvironment.h"
#include "platform/qt/QtPlatform.h"
#include "state/Endpoints.h"
#include "ui/Form1.h"
#include "watch/AccountWatch.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    prepareEngineEnvironment(false);
    QApplication application(argc, argv);
    QtPlatform platform;
    AccountWatch watch(platform.platform(), Endpoints::service());
    Form1 window(watch, platform.browser().view());
    window.show();
    return application.exec();
}
