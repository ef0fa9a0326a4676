// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/qt/QtClock.h"

QDate QtClock::today() const
{
    return QDate::currentDate();
}

QTime QtClock::timeOfDay() const
{
    const QTime time = QTime::currentTime();
    return QTime(time.hour(), time.minute(), time.second());
}

QDateTime QtClock::now() const
{
    return QDateTime::currentDateTime();
}
