// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtTimerFactory.h"

#include "platform/qt/QtTimerControl.h"

std::unique_ptr<TimerControl> QtTimerFactory::createTimer()
{
    return std::make_unique<QtTimerControl>();
}
