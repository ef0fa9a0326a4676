// SPDX-License-Identifier: GPL-3.0-or-later

#include "journal/DeliveryJournal.h"

#include "journal/Cents.h"
#include "journal/PaymentBook.h"
#include "platform/Clock.h"
#include "platform/PrivateFile.h"

#include <QDateTime>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <optional>

const QString DeliveryJournal::Table = QStringLiteral("attempts");
const QString DeliveryJournal::AlertTable = QStringLiteral("alert_sends");
const QString DeliveryJournal::PaymentTable = QStringLiteral("payments");
const QString DeliveryJournal::TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

namespace {

// SQLite keeps these beside the database in WAL mode.
const QStringList Companions{QStringLiteral("-wal"), QStringLiteral("-shm")};

// What an attempt and an alert send keep; Codes gives the owner's words.
const QString Delivered = QStringLiteral("delivered");
const QString Rejected = QStringLiteral("rejected");
const QString ByScan = QStringLiteral("scan");
const QString ByHand = QStringLiteral("renotify");
// By AlertSend::Verdict.
const QString Verdicts[] = {Delivered, QStringLiteral("will_retry"), QStringLiteral("gave_up")};
// After the excerpt of a reply longer than the scan reads.
const QString CutReplyNote = QStringLiteral("……（回复过长，只读了开头）");
// The user_version of a file up to date. Version 0 kept the owner's words
// in place of codes, and a failed alert send's reason in its verdict.
constexpr int Version = 1;

// Bound as the empty text: a null QString would be bound as NULL.
QVariant text(const QString& value)
{
    return QVariant(value.isNull() ? QStringLiteral("") : value);
}

// SQLite's own word that the file is damaged or is no database at all, as
// against a failure to reach it (permissions, a full disk, a lock).
bool saysUnreadable(const QSqlError& error)
{
    constexpr int Corrupt = 11;
    constexpr int NotADatabase = 26;
    const int primary = error.nativeErrorCode().toInt() & 0xff;
    return primary == Corrupt || primary == NotADatabase;
}

} // namespace

const QList<DeliveryJournal::Code> DeliveryJournal::Codes{
    {Table, QStringLiteral("outcome"), Delivered, QStringLiteral("发送成功")},
    {Table, QStringLiteral("outcome"), Rejected, QStringLiteral("发送失败")},
    {Table, QStringLiteral("kind"), ByScan, QStringLiteral("扫描")},
    {Table, QStringLiteral("kind"), ByHand, QStringLiteral("重新通知")},
    {AlertTable, QStringLiteral("verdict"), Verdicts[0], QStringLiteral("发送成功")},
    {AlertTable, QStringLiteral("verdict"), Verdicts[1], QStringLiteral("发送失败，稍后重试：")},
    {AlertTable, QStringLiteral("verdict"), Verdicts[2], QStringLiteral("发送失败，不再重试：")},
};

DeliveryJournal::DeliveryJournal(const QString& path, const Clock& clock, QObject* parent)
    : QObject(parent)
    , m_path(path)
    , m_clock(clock)
    , m_connection(QStringLiteral("journal-%1").arg(quintptr(this)))
{
    open();
    m_started = true;
    // Told once the program's parts are in place and listen.
    if (!m_problem.isEmpty())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_problem.isEmpty())
                    Q_EMIT failed(m_problem);
            },
            Qt::QueuedConnection);
}

DeliveryJournal::~DeliveryJournal()
{
    closeConnection();
}

void DeliveryJournal::closeConnection()
{
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

QSqlDatabase DeliveryJournal::database() const
{
    return QSqlDatabase::database(m_connection, false);
}

void DeliveryJournal::open()
{
    const Opening opening = tryOpen();
    if (opening == Opening::Opened)
        return;
    if (opening == Opening::Failed) {
        fail(QStringLiteral("发货记录无法打开：%1").arg(m_openError));
        return;
    }
    // Whatever is there may still matter to somebody: it is moved, not removed.
    const QString setAside = m_path + QStringLiteral(".unreadable-") +
                             m_clock.now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString problem = m_openError;
    bool moved = QFile::rename(m_path, setAside);
    for (const QString& companion : Companions) {
        if (QFile::exists(m_path + companion))
            moved &= QFile::rename(m_path + companion, setAside + companion);
    }
    if (!moved) {
        fail(QStringLiteral("发货记录无法打开，也无法另存：%1").arg(problem));
        return;
    }
    const bool started = tryOpen() == Opening::Opened;
    fail(
        started
            ? QStringLiteral("发货记录已损坏，已另存为 %1，并新建了一个：%2").arg(setAside, problem)
            : QStringLiteral("发货记录已损坏，已另存为 %1，但无法新建：%2")
                  .arg(setAside, m_openError));
}

DeliveryJournal::Opening DeliveryJournal::tryOpen()
{
    closeConnection();
    // The database and its companions, created private before SQLite opens
    // them, as SQLite would create them with the umask's permissions.
    for (const QString& suffix : QStringList{QString()} + Companions) {
        if (!makePrivateFile(m_path + suffix, m_openError))
            return Opening::Failed;
    }

    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    database.setDatabaseName(m_path);
    if (!database.open())
        return failedWith(database.lastError());
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return failedWith(query.lastError());
    if (!query.next() || query.value(0).toString() != u"ok") {
        m_openError = query.value(0).toString();
        return Opening::Unreadable;
    }
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !query.exec(QStringLiteral("PRAGMA synchronous=FULL")) ||
        !query.exec(QStringLiteral("SELECT user_version, EXISTS (SELECT 1 FROM sqlite_master) "
                                   "FROM pragma_user_version")) ||
        !query.next())
        return failedWith(query.lastError());
    const int version = query.value(0).toInt();
    const bool older = version < Version && query.value(1).toBool();
    if (!upgrade(query, version)) {
        const QSqlError error =
            query.lastError().isValid() ? query.lastError() : database.lastError();
        if (!older)
            return failedWith(error);
        // What an earlier version kept stays as it was, for the owner to
        // keep, and is not tried again while the program runs.
        m_openError = QStringLiteral("旧记录无法更新：%1").arg(error.text());
        database.close();
        m_upgradeFailed = true;
        return Opening::Failed;
    }
    m_identity = identityOf(m_path);
    return Opening::Opened;
}

DeliveryJournal::Opening DeliveryJournal::failedWith(const QSqlError& error)
{
    m_openError = error.text();
    return saysUnreadable(error) ? Opening::Unreadable : Opening::Failed;
}

bool DeliveryJournal::upgrade(QSqlQuery& query, int version)
{
    QSqlDatabase database = this->database();
    // The tables as version 0 made them.
    bool done = database.transaction() &&
                query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 ("
                                          "id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                          "time TEXT NOT NULL, "
                                          "trade_no TEXT NOT NULL, "
                                          "amount TEXT NOT NULL, "
                                          "amount_cents INTEGER, "
                                          "title TEXT NOT NULL, "
                                          "outcome TEXT NOT NULL, "
                                          "http_status INTEGER NOT NULL, "
                                          "reply TEXT NOT NULL, "
                                          "charset TEXT NOT NULL, "
                                          "address TEXT NOT NULL, "
                                          "kind TEXT NOT NULL)")
                               .arg(Table)) &&
                query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 ("
                                          "id INTEGER PRIMARY KEY AUTOINCREMENT, "
                                          "time TEXT NOT NULL, "
                                          "cause TEXT NOT NULL, "
                                          "kind TEXT NOT NULL, "
                                          "verdict TEXT NOT NULL, "
                                          "http_status INTEGER NOT NULL, "
                                          "reply TEXT NOT NULL)")
                               .arg(AlertTable));
    if (version < 1) {
        const bool hasPayments =
            done &&
            query.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = '%1'")
                           .arg(PaymentTable)) &&
            query.next();
        done =
            done &&
            query.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN reason TEXT NOT NULL DEFAULT ''")
                           .arg(AlertTable)) &&
            // The payments tab counts each payment's attempts at every refresh.
            query.exec(
                QStringLiteral("CREATE INDEX IF NOT EXISTS attempts_by_trade_no ON %1 (trade_no)")
                    .arg(Table));
        for (const Code& code : Codes) {
            // A verdict's words were followed by its reason.
            done = done && query.prepare(QString::fromLatin1(
                                             code.column == u"verdict"
                                                 ? "UPDATE %1 SET %2 = :code, reason = substr(%2, "
                                                   "length(:words) + 1) WHERE substr(%2, 1, "
                                                   "length(:words)) = :words"
                                                 : "UPDATE %1 SET %2 = :code WHERE %2 = :words")
                                             .arg(code.table, code.column));
            query.bindValue(QStringLiteral(":code"), code.code);
            query.bindValue(QStringLiteral(":words"), code.words);
            done = done && query.exec();
        }
        // A journal from before payments were kept learns them from its
        // attempts: delivered ones as delivered, the others as history, so
        // that nothing old is delivered again by itself.
        if (!hasPayments)
            done = done &&
                   query.exec(QStringLiteral("CREATE TABLE %1 ("
                                             "seq INTEGER PRIMARY KEY AUTOINCREMENT, "
                                             "trade_no TEXT NOT NULL UNIQUE, "
                                             "amount TEXT NOT NULL, "
                                             "title TEXT NOT NULL, "
                                             "first_seen TEXT NOT NULL, "
                                             "state TEXT NOT NULL, "
                                             "refusals INTEGER NOT NULL DEFAULT 0, "
                                             "last_refusal TEXT)")
                                  .arg(PaymentTable)) &&
                   query.prepare(
                       QStringLiteral(
                           "INSERT INTO %1 (trade_no, amount, title, first_seen, state) "
                           "SELECT a.trade_no, a.amount, a.title, a.time, "
                           "CASE WHEN EXISTS (SELECT 1 FROM %2 d WHERE d.trade_no = a.trade_no "
                           "AND d.outcome = ?) THEN ? ELSE ? END "
                           "FROM %2 a WHERE a.id = "
                           "(SELECT MIN(id) FROM %2 f WHERE f.trade_no = a.trade_no) "
                           "ORDER BY a.id")
                           .arg(PaymentTable, Table)) &&
                   execWith(query, {Delivered, PaymentBook::code(PaymentMemory::State::Delivered),
                                    PaymentBook::code(PaymentMemory::State::History)});
        done = done && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(Version));
    }
    if (!done || !database.commit()) {
        database.rollback();
        return false;
    }
    return true;
}

bool DeliveryJournal::write(const std::function<bool(QSqlQuery&)>& work)
{
    if (!readyToWrite())
        return false;
    QSqlDatabase database = this->database();
    database.transaction();
    QSqlQuery query(database);
    if (!work(query) || !database.commit()) {
        const QString error =
            query.lastError().isValid() ? query.lastError().text() : database.lastError().text();
        database.rollback();
        fail(QStringLiteral("发货记录无法写入：%1").arg(error));
        return false;
    }
    succeed();
    Q_EMIT recorded();
    return true;
}

void DeliveryJournal::record(const DeliveryAttempt& attempt)
{
    using Outcome = DeliveryAttempt::Outcome;
    if (attempt.outcome != Outcome::Delivered && attempt.outcome != Outcome::Rejected)
        return;
    const std::optional<qint64> cents = centsOf(attempt.record.Amount);
    insert(Table,
           QStringLiteral("trade_no, amount, amount_cents, title, outcome, http_status, reply, "
                          "charset, address, kind"),
           {text(attempt.record.TradeNo), text(attempt.record.Amount),
            cents ? QVariant(*cents) : QVariant(), text(attempt.record.Title),
            attempt.outcome == Outcome::Delivered ? Delivered : Rejected, QVariant(attempt.status),
            text(attempt.replyCut ? attempt.reply + CutReplyNote : attempt.reply),
            text(attempt.charset), text(attempt.address), attempt.manual ? ByHand : ByScan});
}

void DeliveryJournal::recordAlertSend(const AlertSend& send)
{
    insert(AlertTable, QStringLiteral("cause, kind, verdict, reason, http_status, reply"),
           {text(send.cause), text(send.kind), Verdicts[int(send.verdict)], text(send.reason),
            QVariant(send.status), text(send.reply)});
}

void DeliveryJournal::insert(const QString& table, const QString& columns,
                             const QVariantList& values)
{
    write([&](QSqlQuery& insert) {
        insert.prepare(QStringLiteral("INSERT INTO %1 (time, %2) VALUES (?%3)")
                           .arg(table, columns, QStringLiteral(", ?").repeated(values.size())));
        return execWith(insert, QVariantList{text(m_clock.now().toString(TimeFormat))} + values);
    });
}

bool execWith(QSqlQuery& query, const QVariantList& values)
{
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

bool DeliveryJournal::readyToWrite()
{
    if (m_upgradeFailed)
        return false;
    if (!database().isOpen()) {
        open();
        return database().isOpen();
    }
    if (identityOf(m_path) == m_identity)
        return true;
    // SQLite would go on writing into a file that is gone from the folder.
    open();
    fail(QStringLiteral("发货记录文件 %1 被删除或替换，已重新打开").arg(m_path));
    return database().isOpen();
}

void DeliveryJournal::fail(const QString& problem)
{
    m_problem = problem;
    if (m_started)
        Q_EMIT failed(problem);
}

void DeliveryJournal::succeed()
{
    if (m_problem.isEmpty())
        return;
    m_problem.clear();
    Q_EMIT recovered();
}
