// SPDX-License-Identifier: GPL-3.0-or-later

#include <QByteArray>
#include <QStandardPaths>
#include <QtGlobal>

// Every test runs without a display, and the browser engine runs as root in
// a machine without a network: set that up before any QApplication exists.
// Tests that start the engine also link EngineEnvironment.cpp, which gives
// it the program's own flags. Settings and data go to the test folders,
// never the user's.
static void setUpHeadlessEnvironment()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QStandardPaths::setTestModeEnabled(true);
}
Q_CONSTRUCTOR_FUNCTION(setUpHeadlessEnvironment)
