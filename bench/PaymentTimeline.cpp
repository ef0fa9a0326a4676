// SPDX-License-Identifier: GPL-3.0-or-later

#include "PaymentTimeline.h"

#include <algorithm>

void PaymentTimeline::paymentAppeared(const QString& title, double at)
{
    if (m_entries.contains(title))
        return;
    m_order.append(title);
    m_entries.insert(title, Entry{at, {}});
}

void PaymentTimeline::shopCalled(const QString& title, double at)
{
    const auto entry = m_entries.find(title);
    if (entry != m_entries.end())
        entry->calls.append(at);
}

int PaymentTimeline::delivered() const
{
    return int(std::count_if(m_entries.begin(), m_entries.end(),
                             [](const Entry& entry) { return entry.calls.size() >= 2; }));
}

template <typename Measure> PaymentTimeline::Spread PaymentTimeline::spread(Measure measure) const
{
    // Only the first delivery counts: a payment the shop refused is called
    // again at later scans, which says nothing about the delay.
    QList<double> values;
    for (const QString& title : m_order) {
        const Entry& entry = m_entries[title];
        if (entry.calls.size() >= 2)
            values.append(measure(entry));
    }
    if (values.isEmpty())
        return {};
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    const double median =
        values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    return {int(values.size()), values.first(), median, values.last()};
}

PaymentTimeline::Spread PaymentTimeline::toFirstCall() const
{
    return spread([](const Entry& e) { return e.calls[0] - e.appearedAt; });
}

PaymentTimeline::Spread PaymentTimeline::toSecondCall() const
{
    return spread([](const Entry& e) { return e.calls[1] - e.appearedAt; });
}

PaymentTimeline::Spread PaymentTimeline::betweenCalls() const
{
    return spread([](const Entry& e) { return e.calls[1] - e.calls[0]; });
}
