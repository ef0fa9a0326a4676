// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QList>
#include <QString>

// When each payment appeared on the record page and when the shop was
// called for it, to tell how long a payment waits for its delivery.
class PaymentTimeline {
public:
    struct Spread {
        int count = 0;
        double minimum = 0;
        double median = 0;
        double maximum = 0;
    };

    // Times in seconds on one clock.
    void paymentAppeared(const QString& title, double at);
    // Calls for titles that never appeared here (payments made before the
    // bench started) are left out.
    void shopCalled(const QString& title, double at);

    int appeared() const { return int(m_order.size()); }
    // Payments whose shop has had its second call.
    int delivered() const;
    // From appearing to the shop's first and second call, and between them.
    Spread toFirstCall() const;
    Spread toSecondCall() const;
    Spread betweenCalls() const;

private:
    struct Entry {
        double appearedAt = 0;
        QList<double> calls;
    };
    template <typename Measure> Spread spread(Measure measure) const;

    QList<QString> m_order;
    QHash<QString, Entry> m_entries;
};
