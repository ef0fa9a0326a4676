// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"

#include <QDateTime>
#include <QObject>

#include <memory>

class AlertSettings;
class DeliveryJournal;
class RemoteAlerts;
class TimerControl;
struct DayTotals;

// The day's summary, when the owner asks for one: at the chosen time, one
// message through the alert address with the day's payments by state and
// the titles of those not delivered. It goes only when the program runs at
// that time, and once a day whatever restarts: the journal's alert log
// tells whether it went.
class DailySummary : public QObject {
    Q_OBJECT

public:
    // Its cause in the alert log and in messages to other programs.
    static const QString Cause;

    DailySummary(const AlertSettings& settings, RemoteAlerts& remote, DeliveryJournal& journal,
                 Platform platform, QObject* parent = nullptr);
    ~DailySummary() override;

    static QString text(const DayTotals& totals, QDate day);

private:
    void look();
    bool sentOn(QDate day) const;

    const AlertSettings& m_settings;
    RemoteAlerts& m_remote;
    DeliveryJournal& m_journal;
    const Clock& m_clock;
    std::unique_ptr<TimerControl> m_timer;
    // The time of the last look: a summary falls due between two looks.
    QDateTime m_lastLook;
};
