#pragma once

class BrowserControl;
class ByteStreamFactory;
class Clock;
class HttpRequestFactory;
class MessagePump;
class Shell;
class TransferControl;

// The platform objects the window works with; real ones in the program,
// fakes in tests. The window does not own them.
struct Platform {
    BrowserControl& browser;
    TransferControl& inet1;
    TransferControl& inet2;
    HttpRequestFactory& requests;
    ByteStreamFactory& streams;
    Clock& clock;
    MessagePump& pump;
    Shell& shell;
};
