// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "fakes/FakePlatform.h"
#include "state/Endpoints.h"
#include "watch/AccountWatch.h"

// The program without its window, on fake platform objects, with the real
// service's addresses.
struct FakeWatch {
    FakePlatform fake;
    AccountWatch watch{fake.platform(), Endpoints::service()};
    WindowState& state = watch.state();

    // The browser completes the personal home page: scanning starts.
    void logIn() { fake.browser.complete(Endpoints::service().PersonalHomeUrl); }
};
