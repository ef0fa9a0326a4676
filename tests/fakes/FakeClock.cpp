#include "fakes/FakeClock.h"

QTime FakeClock::timeOfDay() const
{
    const QTime time = m_now.time();
    return QTime(time.hour(), time.minute(), time.second());
}
