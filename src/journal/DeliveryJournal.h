#pragma once

#include "scan/DeliveryAttempt.h"

#include <QDate>
#include <QObject>
#include <QSqlDatabase>
#include <QString>

class Clock;

// Every delivery attempt, kept in a SQLite file the owner can look back at
// after the page box has long been emptied: each attempt is written in a
// transaction of its own as it finishes, so a crash or power cut loses at
// most the one in flight. The file and its companions are the owner's only
// (0600). A file that cannot be opened or fails its check is set aside with
// its bytes unchanged and a new one started; the journal never stops
// anything else from working.
class DeliveryJournal : public QObject {
    Q_OBJECT

public:
    static const QString Table;

    DeliveryJournal(const QString& path, const Clock& clock, QObject* parent = nullptr);
    ~DeliveryJournal() override;

    // For views over the table; invalid while the journal cannot be written.
    QSqlDatabase database() const;
    // The last failure, empty while the journal works.
    QString problem() const { return m_problem; }

    // Keeps a finished attempt that called the shop; already delivered and
    // busy outcomes repeat at every tick and are not kept.
    void record(const DeliveryAttempt& attempt);

    struct Totals {
        int payments = 0;
        qint64 cents = 0;
    };
    // The distinct payments delivered on `day` and the sum of their amounts.
    Totals deliveredOn(QDate day) const;

Q_SIGNALS:
    void recorded();
    // The journal could not be opened, was set aside, or could not write.
    void failed(const QString& problem);
    // It works again after a failure.
    void recovered();

private:
    enum class Opening { Opened, Unreadable, Failed };

    void open();
    Opening tryOpen();
    void fail(const QString& problem);
    void succeed();

    QString m_path;
    const Clock& m_clock;
    QString m_connection;
    QString m_problem;
};
