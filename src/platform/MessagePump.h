#pragma once

// Lets the window handle its pending events from inside a running handler.
class MessagePump {
public:
    virtual ~MessagePump() = default;

    // Handles the pending events once. When none is pending it blocks until
    // one arrives or, when wakeAfterMs is not negative, until that many
    // milliseconds have passed, so that waiting costs no processor time.
    virtual void processPendingMessages(int wakeAfterMs = -1) = 0;
};
