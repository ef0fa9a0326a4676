#pragma once

#include "platform/MessagePump.h"

class QtMessagePump : public MessagePump {
public:
    void processPendingMessages(int wakeAfterMs = -1) override;
};
