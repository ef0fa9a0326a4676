// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/HttpClient.h"
#include "scan/DeliveryAttempt.h"
#include "scan/PaymentMemory.h"
#include "web/Delay.h"
#include "web/PageReply.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

class Clock;
class PageFetch;
class TimerFactory;
class TransferControl;
class WindowState;
struct Endpoints;

// The scan timer's tick: reads the newest payments from the record page and
// delivers each new one to the shop, one result line per payment in the page
// box. A scan is a sequence of steps on the event loop: the record page's
// reply, then for each payment in page order its first call, a pause, the
// second call and its line. With a memory of the payments seen before, it
// then delivers, oldest first, the payments below the scanned positions
// that are new or still pending, so that none is missed when more arrive
// in one interval than it scans, or while the program was closed. What
// happens is also told as events, for listeners that keep records or raise
// alarms.
class ScanCycle : public QObject {
    Q_OBJECT

public:
    static const QString DeliveredOutcome;
    static const QString RejectedOutcome;
    static const QString AlreadyDeliveredOutcome;
    static const QString BusyOutcome;
    // What the scan reads of the record page and of the shop's replies;
    // the fetches it is given read that way.
    static const BodyLimit RecordPageLimit;
    static const BodyLimit ShopReplyLimit;
    // Payments below the scanned positions one scan delivers at most; the
    // rest wait for the next.
    static constexpr int MostBelowPositions = 20;

    // `accountPages` reads the record page, `shopPages` the shop's replies.
    ScanCycle(WindowState& state, const Endpoints& endpoints, PageFetch& accountPages,
              PageFetch& shopPages, TransferControl& inet1, const Clock& clock,
              TimerFactory& timers, QObject* parent = nullptr);

    // Starts a scan while scanning and none runs; a tick that falls due
    // during a scan does nothing.
    void Timer1_Timer();

    enum class Refusal { None, ScanRunning, FirstCallBusy };
    // Both calls for `record` again, with the settings of now, at the
    // owner's request: refused while a scan (or another re-notify) runs and
    // while the first call of an earlier payment is still under way. The
    // scan's ticks do nothing meanwhile. Leaves the slots, the page box and
    // the status box alone; the attempt is told like any other, as manual.
    Refusal renotify(const TradeRecord& record);
    // Whether a scan or a re-notify is under way.
    bool running() const { return m_job != Job::None; }

    // A waiting fetch of the scan ends at once with the empty reply, as
    // when the session was just refreshed.
    void giveUpWaitingFetch();

    // What the scan learns from and writes to; without one, it delivers
    // the scanned positions only.
    void setMemory(PaymentMemory* memory) { m_memory = memory; }

    // Slot k holds the trade number last delivered from page position k;
    // slot 0 is unused.
    std::array<QString, 13> SentTradeNo;

Q_SIGNALS:
    void scanStarted();
    // `recordsFound` records were cut from the page; `pageRead` tells whether
    // the record page answered with a 2xx status from the address asked for.
    void scanEnded(int recordsFound, bool pageRead);
    // The record page's request ended at another address, as when the
    // account sends a lost session to its login page.
    void recordPageRedirected(const QString& address);
    void deliveryFinished(const DeliveryAttempt& attempt);
    // A payment below the scanned positions was refused for a day and is no
    // longer tried by itself.
    void paymentGivenUp(const TradeRecord& record);
    // Whether the page just read held only payments never seen, though
    // payments were seen before.
    void pageJudged(bool allUnseen);

private:
    enum class Job { None, Scan, Renotify };

    QString recordPageAddress() const;
    void onRecordPage(const PageReply& page);
    // Handles the positions up to the next payment that needs the shop, and
    // starts its calls; ends the scan after the last.
    void nextPosition();
    // Keeps what the page shows that was never seen; false when the memory
    // could not, and nothing below the positions is to be delivered.
    bool learnFromPage();
    // After the positions: the payments below them that are due.
    void startBelowPositions();
    void nextBelowPositions();
    // What an attempt of a scan or by hand tells of its payment.
    void rememberOutcome(const DeliveryAttempt& attempt);
    bool alreadyDelivered(const QString& tradeNo) const;
    // The first call to the shop, then the pause.
    void startNotification(const TradeRecord& record, bool belowPositions = false);
    // After the pause: the call whose answer counts.
    void secondCall();
    void onShopReply(const PageReply& reply);
    // Writes the payment's result line and tells the attempt.
    void finishPosition(const DeliveryAttempt& attempt);
    void endScan();
    void setFetching(bool fetching);
    QString currentNotificationAddress(const TradeRecord& record) const;
    // The end of the result line; a rejection names the delivery URL as it
    // reads now.
    QString outcomeText(DeliveryAttempt::Outcome outcome) const;

    WindowState& m_state;
    const Endpoints& m_endpoints;
    PageFetch& m_accountPages;
    PageFetch& m_shopPages;
    TransferControl& m_inet1;
    const Clock& m_clock;
    Delay m_pause;

    Job m_job = Job::None;
    // Of the scan under way.
    QString m_recordAddress;
    QString m_page;
    QStringView m_remaining;
    int m_positions = 0;
    int m_position = 0;
    int m_found = 0;
    bool m_pageRead = false;
    // The payments handled at the positions, and those due below them.
    QSet<QString> m_atPositions;
    bool m_belowAllowed = false;
    QList<TradeRecord> m_below;

    PaymentMemory* m_memory = nullptr;
    // The trade numbers on the last page read in this run.
    std::optional<QStringList> m_reference;
    // The payment whose calls are under way, and the key its second call
    // carries, which a shop may echo.
    DeliveryAttempt m_attempt;
    QString m_sentKey;
};
