// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sandbox/SandboxOptions.h"
#include "sandbox/SimulatedAccount.h"
#include "sandbox/SimulatedShop.h"

#include <QObject>

#include <memory>

class AccountWatch;
class Form1;
class Program;

// The real window, on the real platform, working against a simulated account
// and shop on this machine: the whole road of a payment without the internet.
class Sandbox : public QObject {
    Q_OBJECT

public:
    explicit Sandbox(SandboxOptions options, QObject* parent = nullptr);
    ~Sandbox() override;

    // Starts both sites and opens the window on them. False, with `error`
    // saying why, when a site cannot listen.
    bool start(QString& error);

    Program& program() { return *m_program; }
    AccountWatch& watch();
    Form1& window();
    SimulatedAccount& account() { return m_account; }
    SimulatedShop& shop() { return m_shop; }
    int scansEnded() const { return m_scansEnded; }

Q_SIGNALS:
    // A scan has run to its end.
    void scanEnded(int scansEnded);

private:
    void typeSettings();
    void logInWhenAsked();

    SandboxOptions m_options;
    SimulatedAccount m_account;
    SimulatedShop m_shop;
    std::unique_ptr<Program> m_program;
    int m_scansEnded = 0;
};
