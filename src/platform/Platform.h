#pragma once

class BrowserControl;
class ByteStreamFactory;
class Clock;
class HttpRequestFactory;
class MessagePump;
class Shell;
class TimerControl;
class TransferControl;
class WebHook;

// The platform objects the program works with; real ones in the program,
// fakes in tests. Nothing here owns them.
struct Platform {
    BrowserControl& browser;
    // The first call to the shop.
    TransferControl& inet1;
    // The session refresh at the account.
    TransferControl& inet2;
    // Requests for the account's pages, which carry the login's cookies.
    HttpRequestFactory& accountRequests;
    // Requests for the shop's delivery page.
    HttpRequestFactory& shopRequests;
    ByteStreamFactory& streams;
    Clock& clock;
    MessagePump& pump;
    Shell& shell;
    // The scan timer and the keep-alive timer.
    TimerControl& timer1;
    TimerControl& timer2;
    // Alerts to the owner's phone.
    WebHook& webHook;
};
