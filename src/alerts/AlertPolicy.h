// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "alerts/Alert.h"
#include "scan/DeliveryAttempt.h"
#include "state/ScanState.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>

class AccountWatch;
class DeliveryJournal;

// Decides from the watch's state and events and the journal's when the owner
// is to be alerted: once per cause when it arises, and once more when it
// clears.
class AlertPolicy : public QObject {
    Q_OBJECT

public:
    // Scans in a row that make a failure worth an alert.
    static constexpr int FailuresInARow = 3;

    AlertPolicy(AccountWatch& watch, DeliveryJournal& journal, QObject* parent = nullptr);

    // The alerts raised and not yet cleared.
    QList<Alert> active() const { return m_active; }

Q_SIGNALS:
    void raised(const Alert& alert);
    void cleared(const Alert& alert);

private:
    void raise(Alert::Cause cause, const QString& text, const QString& subject = {});
    void clear(Alert::Cause cause, const QString& subject = {});
    bool isActive(Alert::Cause cause, const QString& subject = {}) const;
    qsizetype indexOf(Alert::Cause cause, const QString& subject) const;

    void onScanState(ScanState state);
    void onDelivery(const DeliveryAttempt& attempt);
    void onScanEnded(bool pageRead);

    QList<Alert> m_active;
    int m_unreadScans = 0;
    // Rejections in a row of each payment rejected at the last scan, and of
    // those tried on a schedule below the scanned positions.
    QHash<QString, int> m_rejections;
    QSet<QString> m_onSchedule;
    // The payments rejected during the scan under way.
    QHash<QString, TradeRecord> m_rejectedNow;
};
