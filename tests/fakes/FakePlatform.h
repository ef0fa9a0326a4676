#pragma once

#include "fakes/FakeBrowserControl.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeHttpRequest.h"
#include "fakes/FakeMessagePump.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeTimerControl.h"
#include "fakes/FakeTransferControl.h"
#include "fakes/FakeWebHook.h"
#include "platform/Platform.h"
#include "platform/qt/QtByteStreamFactory.h"

// Every platform object faked, except the charset decoder: the real one
// needs no network, and the record page must be read as GBK. One fake
// answers both the account's and the shop's requests.
struct FakePlatform {
    FakeBrowserControl browser;
    FakeTransferControl inet1;
    FakeTransferControl inet2;
    FakeHttpRequestFactory requests;
    QtByteStreamFactory streams;
    FakeClock clock;
    FakeMessagePump pump;
    FakeShell shell;
    FakeTimerControl timer1;
    FakeTimerControl timer2;
    FakeWebHook webHook;

    Platform platform()
    {
        return {browser, inet1, inet2, requests, requests, streams,
                clock,   pump,  shell, timer1,   timer2,   webHook};
    }
};
