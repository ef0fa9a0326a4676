// SPDX-License-Identifier: GPL-3.0-or-later

#include "journal/DeliveryJournal.h"
#include "platform/qt/QtClock.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

// Writes COUNT attempts into the journal at PATH, saying so after each, then
// waits to be killed.
int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    QtClock clock;
    DeliveryJournal journal(arguments.value(1), clock);
    const int count = arguments.value(2).toInt();
    for (int i = 1; i <= count; ++i) {
        DeliveryAttempt attempt{.record = {QString::number(i), QStringLiteral("t"), "1.00"}};
        attempt.outcome = DeliveryAttempt::Outcome::Delivered;
        journal.record(attempt);
        std::printf("written %d\n", i);
        std::fflush(stdout);
    }
    QThread::sleep(60);
    return 0;
}
