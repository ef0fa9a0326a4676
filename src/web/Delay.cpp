#include "web/Delay.h"

#include "platform/Clock.h"
#include "platform/MessagePump.h"

#include <QDateTime>

#include <algorithm>
#include <limits>

namespace {

// Date plus time of day, compared as plain calendar values: a wait spans
// midnight and ignores daylight-saving shifts.
QDateTime reading(const Clock& clock)
{
    const QDate date = clock.today();
    return QDateTime(date, clock.timeOfDay(), Qt::UTC);
}

int secondsBetween(const QDateTime& earlier, const QDateTime& later)
{
    return int(std::clamp<qint64>(earlier.secsTo(later), std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

// The clock is only read in whole seconds, so waking at each second boundary
// is enough to end on time; it also notices the clock being set forward.
int millisecondsToNextSecond(const Clock& clock)
{
    return 1000 - clock.now().time().msec();
}

} // namespace

void Delay(int seconds, const Clock& clock, MessagePump& pump)
{
    const QDateTime start = reading(clock);
    int elapsed = 0;
    while (elapsed < seconds) {
        pump.processPendingMessages(millisecondsToNextSecond(clock));
        elapsed = secondsBetween(start, reading(clock));
    }
}
