#pragma once

#include "scan/TradeRecord.h"

#include <QString>

class Form1;

// The scan timer's tick: reads the newest payments from the record page and
// delivers each new one to the shop, one result line per payment.
class ScanCycle {
public:
    static const QString DeliveredOutcome;
    static const QString RejectedOutcome;
    static const QString AlreadyDeliveredOutcome;
    static const QString BusyOutcome;

    explicit ScanCycle(Form1& window);

    void Timer1_Timer();

private:
    QString recordPageAddress() const;
    bool alreadyDelivered(const QString& tradeNo) const;
    // Delivers and returns the outcome text of the result line.
    QString deliver(int position, const TradeRecord& record);
    QString currentNotificationAddress(const TradeRecord& record) const;
    void writeResultLine(const TradeRecord& record, const QString& outcome);

    Form1& m_window;
    bool m_running = false;
};
