#include "platform/qt/QtMessagePump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

void QtMessagePump::processPendingMessages(int wakeAfterMs)
{
    // The timer's event is what ends the wait when nothing else happens.
    QTimer wake;
    if (wakeAfterMs >= 0) {
        wake.setSingleShot(true);
        wake.setTimerType(Qt::PreciseTimer);
        wake.start(wakeAfterMs);
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
