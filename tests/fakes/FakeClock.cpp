// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/FakeClock.h"

void FakeClock::advance(qint64 milliseconds)
{
    const qint64 end = m_elapsed + milliseconds;
    while (!m_due.empty() && m_due.begin()->first.first <= end) {
        auto due = m_due.extract(m_due.begin());
        m_now = m_now.addMSecs(due.key().first - m_elapsed);
        m_elapsed = due.key().first;
        due.mapped()();
    }
    m_now = m_now.addMSecs(end - m_elapsed);
    m_elapsed = end;
}

FakeClock::Handle FakeClock::schedule(qint64 delayMs, std::function<void()> action)
{
    const Handle handle = ++m_next;
    m_due.emplace(std::pair(m_elapsed + std::max<qint64>(delayMs, 0), handle), std::move(action));
    return handle;
}

void FakeClock::cancel(Handle handle)
{
    std::erase_if(m_due, [handle](const auto& due) { return due.first.second == handle; });
}
