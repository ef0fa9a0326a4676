// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/TimerControl.h"

class QtTimerFactory : public TimerFactory {
public:
    std::unique_ptr<TimerControl> createTimer() override;
};
