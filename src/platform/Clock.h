// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

// The local wall clock, injectable so that time-dependent behaviour is tested
// without sleeping.
class Clock {
public:
    virtual ~Clock() = default;

    virtual QDate today() const = 0;
    // Whole seconds: the milliseconds are always zero.
    virtual QTime timeOfDay() const = 0;
    virtual QDateTime now() const = 0;
};
