// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/EngineEnvironment.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QLoggingCategory>
#include <QtGlobal>

#include <algorithm>

#include <unistd.h>

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QByteArray switchName(const QByteArray& flag)
{
    const qsizetype equals = flag.indexOf('=');
    return equals < 0 ? flag : flag.left(equals);
}

// `given`'s list with the items of `flag`'s list it lacks.
void mergeList(QByteArray& given, const QByteArray& flag)
{
    const qsizetype start = switchName(given).size() + 1;
    QByteArrayList items = given.mid(start).split(',');
    for (const QByteArray& item : flag.mid(start).split(',')) {
        if (!items.contains(item))
            items.append(item);
    }
    items.removeAll(QByteArray());
    given = switchName(given) + '=' + items.join(',');
}

// Adds `flags` after the ones already in QTWEBENGINE_CHROMIUM_FLAGS. A
// switch given there already keeps its value: Chromium reads only the last
// of two, so adding ours would silently drop the user's. Feature lists are
// merged instead, for the same reason.
void appendEngineFlags(const QByteArrayList& flags)
{
    QByteArrayList all = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").simplified().split(' ');
    all.removeAll(QByteArray());
    for (const QByteArray& flag : flags) {
        const QByteArray name = switchName(flag);
        const auto given = std::ranges::find(all, name, switchName);
        if (given == all.end())
            all.append(flag);
        else if (name == "--disable-features" || name == "--enable-features")
            mergeList(*given, flag);
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", all.join(' '));
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
    // One login page needs no graphics card: Chromium composites in software
    // and the view draws without OpenGL, which keeps the GL driver's memory
    // out of the process.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    appendEngineFlags({
        "--disable-gpu",
        // The program talks to the account and the shop only.
        "--disable-background-networking",
        "--disable-component-update",
        "--disable-sync",
        "--no-first-run",
        // Qt runs the GPU thread inside this process, so the zygote that forks
        // the GPU and utility processes would only sit idle. The renderers'
        // zygote stays: it keeps them sandboxed for an ordinary user.
        "--no-unsandboxed-zygote",
        // The window shows one page: one renderer, no spare one kept warm for
        // the next site, and no page kept alive for the Back button.
        "--renderer-process-limit=1",
        "--disable-features=SpareRendererForSitePerProcess,BackForwardCache",
    });
}
