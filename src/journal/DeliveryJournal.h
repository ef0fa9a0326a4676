// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "alerts/AlertSend.h"
#include "platform/PrivateFile.h"
#include "scan/DeliveryAttempt.h"

#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

class Clock;
class QSqlError;

// Every delivery attempt, kept in a SQLite file the owner can look back at
// after the page box has long been emptied: each attempt is written in a
// transaction of its own as it finishes, so a crash or power cut loses at
// most the one in flight. The file and its companions are the owner's only
// (0600). A file that cannot be opened or fails its check is set aside with
// its bytes unchanged and a new one started; one deleted or replaced while
// the program runs is opened anew at the next write. Each of these is a
// failure reported by failed(), also one at the start, once the event loop
// runs. An older file is brought up to date once, as it is opened, in one
// transaction; when that fails the file is left as it was and the journal
// stays unavailable until the next start. The journal never stops anything
// else from working. It also keeps every message sent to the alert address.
class DeliveryJournal : public QObject {
    Q_OBJECT

public:
    static const QString Table;
    static const QString AlertTable;
    // Every payment seen on the record page, with its state.
    static const QString PaymentTable;
    // How every table writes a local time.
    static const QString TimeFormat;

    // A code the journal keeps in a column, and the owner's words for it:
    // the words may change without changing what older rows mean. An alert
    // send's verdict reads as its words followed by its reason.
    struct Code {
        QString table;
        QString column;
        QString code;
        QString words;
    };
    static const QList<Code> Codes;

    DeliveryJournal(const QString& path, const Clock& clock, QObject* parent = nullptr);
    ~DeliveryJournal() override;

    // For views over the table; invalid while the journal cannot be written.
    QSqlDatabase database() const;
    // The last failure, empty while the journal works.
    QString problem() const { return m_problem; }

    // Keeps a finished attempt that called the shop; already delivered and
    // busy outcomes repeat at every tick and are not kept.
    void record(const DeliveryAttempt& attempt);
    void recordAlertSend(const AlertSend& send);
    // Runs `work` in a transaction of its own; false, and the journal's
    // failure, when it could not be written.
    bool write(const std::function<bool(QSqlQuery&)>& work);
    // Opens the journal anew when it could not be opened before, or when its
    // file is no longer the one opened; false when it cannot be written.
    bool readyToWrite();

Q_SIGNALS:
    // A delivery attempt, an alert send or a payment's state was written.
    void recorded();
    // The journal could not be opened, was set aside, or could not write.
    void failed(const QString& problem);
    // It works again after a failure.
    void recovered();

private:
    enum class Opening { Opened, Unreadable, Failed };

    void open();
    Opening tryOpen();
    // Keeps why the opening failed: unreadable when SQLite says the file is
    // damaged, failed otherwise.
    Opening failedWith(const QSqlError& error);
    void closeConnection();
    // Brings a new file, or one at an earlier `version`, up to date in one
    // transaction.
    bool upgrade(QSqlQuery& query, int version);
    // Inserts a row stamped with the time into `table`: `values` for the
    // comma-separated `columns`.
    void insert(const QString& table, const QString& columns, const QVariantList& values);
    void fail(const QString& problem);
    void succeed();

    QString m_path;
    const Clock& m_clock;
    QString m_connection;
    QString m_problem;
    // Why the last opening failed.
    QString m_openError;
    FileIdentity m_identity;
    // Failures before then are told once the program is in place.
    bool m_started = false;
    // An older file failed to be brought up to date: it is not tried again
    // while the program runs.
    bool m_upgradeFailed = false;
};

// Runs the prepared `query` with `values` bound in order.
bool execWith(QSqlQuery& query, const QVariantList& values);
