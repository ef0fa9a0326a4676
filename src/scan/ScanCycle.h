#pragma once

#include "scan/DeliveryAttempt.h"
#include "web/PageFetch.h"

#include <QObject>
#include <QString>

class Clock;
class MessagePump;
class TransferControl;
class WindowState;
struct Endpoints;

// The scan timer's tick: reads the newest payments from the record page and
// delivers each new one to the shop, one result line per payment in the page
// box. What happens is also told as events, for listeners that keep records
// or raise alarms.
class ScanCycle : public QObject {
    Q_OBJECT

public:
    static const QString DeliveredOutcome;
    static const QString RejectedOutcome;
    static const QString AlreadyDeliveredOutcome;
    static const QString BusyOutcome;

    // `accountPages` reads the record page, `shopPages` the shop's replies.
    ScanCycle(WindowState& state, const Endpoints& endpoints, PageFetch& accountPages,
              PageFetch& shopPages, TransferControl& inet1, const Clock& clock, MessagePump& pump,
              QObject* parent = nullptr);

    void Timer1_Timer();

    enum class Refusal { None, ScanRunning, FirstCallBusy };
    // Both calls for `record` again, with the settings of now, at the
    // owner's request: refused while a scan (or another re-notify) runs and
    // while the first call of an earlier payment is still under way. The
    // scan's ticks do nothing meanwhile. Leaves the slots, the page box and
    // the status box alone; the attempt is told like any other, as manual.
    Refusal renotify(const TradeRecord& record);

Q_SIGNALS:
    void scanStarted();
    // `recordsFound` records were cut from the page; `pageRead` tells whether
    // the record page answered with a 2xx status from the address asked for.
    void scanEnded(int recordsFound, bool pageRead);
    // The record page's request ended at another address, as when the
    // account sends a lost session to its login page.
    void recordPageRedirected(const QString& address);
    void deliveryFinished(const DeliveryAttempt& attempt);

private:
    QString recordPageAddress() const;
    // Handles the newest payments on `page`; returns how many were cut.
    int deliverNewest(const QString& page);
    bool alreadyDelivered(const QString& tradeNo) const;
    // Both calls to the shop for one payment.
    DeliveryAttempt notify(const TradeRecord& record, PageFetch::Progress progress);
    QString currentNotificationAddress(const TradeRecord& record) const;
    // The end of the result line; a rejection names the delivery URL as it
    // reads now.
    QString outcomeText(DeliveryAttempt::Outcome outcome) const;
    void writeResultLine(const TradeRecord& record, const QString& outcome);

    WindowState& m_state;
    const Endpoints& m_endpoints;
    PageFetch& m_accountPages;
    PageFetch& m_shopPages;
    TransferControl& m_inet1;
    const Clock& m_clock;
    MessagePump& m_pump;
    bool m_running = false;
};
