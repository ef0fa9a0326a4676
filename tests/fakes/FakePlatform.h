// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fakes/FakeBrowserControl.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeHttpClient.h"
#include "fakes/FakeKeyring.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeTimerControl.h"
#include "fakes/FakeWebHook.h"
#include "platform/Platform.h"

// Every platform object faked, all on one fake clock. One fake network
// answers both the account's and the shop's requests.
struct FakePlatform {
    FakeClock clock;
    FakeBrowserControl browser;
    FakeHttpClient http{clock};
    FakeTimerFactory timers{clock};
    FakeShell shell;
    FakeWebHook webHook;
    FakeKeyring keyring{clock};

    Platform platform() { return {browser, http, http, clock, timers, shell, webHook, keyring}; }
};
