// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where the watch stands. Ticks scan only while Scanning; everything shown to
// the owner (buttons, status box, tray, title, alerts) follows from this.
enum class ScanState {
    // No login seen since the program started.
    WaitingForLogin,
    Scanning,
    // The owner pressed Stop; only Start resumes.
    Stopped,
    // The record page answered from elsewhere: the account's session ended.
    SessionLost,
    // The interval list holds no usable number of seconds.
    IntervalInvalid,
};

// What the watch is doing this moment, shown while it scans.
enum class Activity {
    Idle,
    // A scan waits for the record page or the shop's reply.
    Fetching,
    // The keep-alive refreshes the session.
    Refreshing,
};

// What the browser last showed, which tells the owner what to do while a
// login is awaited.
enum class BrowserNote {
    // Nothing since the login was asked for.
    None,
    // A page that is not a home page: the login form, as a rule.
    OtherPage,
    // The account's home page, loaded by the program, did not load.
    LoadFailed,
};
