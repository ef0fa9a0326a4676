#pragma once

#include "fakes/FakePlatform.h"
#include "ui/Endpoints.h"
#include "ui/Form1.h"

// The real window on fake platform objects, with the real service's addresses.
struct FakeWindow {
    FakePlatform fake;
    Form1 window{fake.platform(), Endpoints::service()};

    // The browser completes the personal home page: scanning starts.
    void logIn() { fake.browser.complete(Endpoints::service().PersonalHomeUrl); }
};
