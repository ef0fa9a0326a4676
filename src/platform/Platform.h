// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class BrowserControl;
class Clock;
class HttpClient;
class Keyring;
class Shell;
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
    // Every timer: the scan's, the keep-alive's, pauses, limits, retries.
    TimerFactory& timers;
    Shell& shell;
    // Alerts to the owner's phone.
    WebHook& webHook;
    // Where secrets are kept.
    Keyring& keyring;
};
