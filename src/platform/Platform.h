// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class BrowserControl;
class Clock;
class HttpClient;
class Keyring;
class Shell;
class TimerControl;
class TimerFactory;
class WebHook;

// The platform objects the program works with; real ones in the program,
// fakes in tests. Nothing here owns them.
struct Platform {
    BrowserControl& browser;
    // Requests for the account's pages, which carry the login's cookies.
    HttpClient& accountPages;
    // The two calls to the shop's delivery page.
    HttpClient& shopCalls;
    Clock& clock;
    // The scan timer and the keep-alive timer.
    TimerControl& timer1;
    TimerControl& timer2;
    // Every other timer: pauses, limits, retries.
    TimerFactory& timers;
    Shell& shell;
    // Alerts to the owner's phone.
    WebHook& webHook;
    // Where secrets are kept.
    Keyring& keyring;
};
