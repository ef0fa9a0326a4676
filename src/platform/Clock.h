// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>

// The local wall clock, injectable so that time-dependent behaviour is tested
// without sleeping.
class Clock {
public:
    virtual ~Clock() = default;

    virtual QDateTime now() const = 0;
};
