// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Clock.h"

class QtClock : public Clock {
public:
    QDate today() const override;
    QTime timeOfDay() const override;
    QDateTime now() const override;
};
