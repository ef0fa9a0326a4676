// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sandbox/Sandbox.h"
#include "watch/AccountWatch.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

class QWebEngineView;

// The sandbox inside the test process: the real window on the real platform,
// against the simulated account and shop, with the account on a free
// four-digit port. The window is shown (offscreen) so its browser draws pages
// and takes clicks.
class InProcessSandbox {
public:
    // WebEngine start-up alone can take many seconds on a small machine.
    static constexpr int Timeout = 60000;

    // `options` as given, but logging in by itself and on a free port.
    explicit InProcessSandbox(SandboxOptions options);

    // Starts both sites and shows the window; empty when that worked,
    // otherwise why not. The browser's first page loads once events are
    // handled.
    QString start();
    // Waits until the window has recognised the home page and scans.
    bool waitUntilScanning();
    // One scan tick, as the window's timer runs it; returns once its scan
    // ended, false when that took longer than Timeout.
    bool tick();
    // The page box's result lines, without the times written in front.
    QStringList resultLines();
    // The value of `script` in the browser's page; invalid after Timeout.
    QVariant evaluate(const QString& script);
    QWebEngineView& view();

    Sandbox& sandbox() { return m_sandbox; }
    Form1& window() { return m_sandbox.window(); }
    AccountWatch& watch() { return m_sandbox.watch(); }
    WindowState& state() { return m_sandbox.watch().state(); }
    BrowserControl& browser() { return m_sandbox.watch().platform().browser; }
    SimulatedAccount& account() { return m_sandbox.account(); }
    SimulatedShop& shop() { return m_sandbox.shop(); }

private:
    // Holds the run's journal.
    QTemporaryDir m_folder;
    Sandbox m_sandbox;
};
