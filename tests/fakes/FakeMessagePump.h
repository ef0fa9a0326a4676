#pragma once

#include "platform/MessagePump.h"

#include <QList>

#include <functional>

// Stands in for the event loop: each pass runs the handler a test installed,
// as if an event had arrived while the program waited.
class FakeMessagePump : public MessagePump {
public:
    void processPendingMessages(int wakeAfterMs = -1) override;

    // Called with the number of the pass, from 1.
    std::function<void(int pass)> onPass;
    int passes = 0;
    QList<int> wakeRequests;
};
