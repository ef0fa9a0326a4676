#pragma once

#include "fakes/FakeBrowserControl.h"
#include "fakes/FakeByteStream.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeHttpRequest.h"
#include "fakes/FakeMessagePump.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeTransferControl.h"
#include "platform/Platform.h"
#include "platform/qt/QtByteStreamFactory.h"

// Every platform object faked, except the charset decoder: the real one
// needs no network, and the record page must be read as GBK.
struct FakePlatform {
    FakeBrowserControl browser;
    FakeTransferControl inet1;
    FakeTransferControl inet2;
    FakeHttpRequestFactory requests;
    QtByteStreamFactory streams;
    FakeClock clock;
    FakeMessagePump pump;
    FakeShell shell;

    Platform platform() { return {browser, inet1, inet2, requests, streams, clock, pump, shell}; }
};
