#pragma once

#include "platform/TimerControl.h"

class QtTimerFactory : public TimerFactory {
public:
    std::unique_ptr<TimerControl> createTimer() override;
};
