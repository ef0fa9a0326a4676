#include "platform/qt/EngineEnvironment.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QtGlobal>

#include <unistd.h>

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void appendEngineFlags(const QByteArray& flags)
{
    QByteArray all = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!all.isEmpty())
        all += ' ';
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", all + flags);
}

} // namespace

void prepareEngineEnvironment(bool headless)
{
    // The engine's context dumps its set-up at every start; its warnings
    // still show, and QT_LOGGING_RULES still overrides this.
    QLoggingCategory::setFilterRules(
        QStringLiteral("qt.webenginecontext.debug=false\nqt.webenginecontext.info=false"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && (headless || !hasDisplay()))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen")
        appendEngineFlags("--disable-gpu");
    // The program talks to the account and the shop only.
    appendEngineFlags("--disable-background-networking --disable-component-update "
                      "--disable-sync --no-first-run");
}
