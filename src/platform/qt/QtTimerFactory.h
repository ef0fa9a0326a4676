// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/qt/QtTimerControl.h"

class QtTimerFactory : public TimerFactory {
public:
    std::unique_ptr<TimerControl> createTimer() override
    {
        return std::make_unique<QtTimerControl>();
    }
};
