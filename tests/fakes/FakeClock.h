#pragma once

#include "platform/Clock.h"

// A clock that moves only when told to.
class FakeClock : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2024, 3, 9), QTime(12, 0)))
        : m_now(std::move(start))
    {
    }

    QDate today() const override { return m_now.date(); }
    QTime timeOfDay() const override;
    QDateTime now() const override { return m_now; }

    void set(const QDateTime& now) { m_now = now; }
    void advanceMilliseconds(qint64 milliseconds) { m_now = m_now.addMSecs(milliseconds); }

private:
    QDateTime m_now;
};
