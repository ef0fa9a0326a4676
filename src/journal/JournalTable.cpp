// SPDX-License-Identifier: GPL-3.0-or-later

#include "journal/JournalTable.h"

#include "journal/DeliveryJournal.h"
#include "journal/SearchPattern.h"

#include <QSqlDriver>
#include <QSqlField>
#include <QSqlRecord>

#include <span>

namespace {

struct Column {
    const char* field;
    const char* heading;
    bool whole = false;
};

// In the order shown.
const Column Attempts[] = {{"time", "时间", true},    {"trade_no", "交易号", true},
                           {"amount", "金额", true},  {"title", "付款说明"},
                           {"outcome", "结果", true}, {"http_status", "HTTP 状态", true},
                           {"reply", "网站回复"},     {"charset", "网站编码"},
                           {"address", "发货网址"},   {"kind", "方式", true}};
const Column AlertSends[] = {{"time", "时间", true},       {"cause", "原因"},
                             {"kind", "提醒方式"},         {"verdict", "结果"},
                             {"http_status", "HTTP 状态"}, {"reply", "回复"}};

std::span<const Column> columnsOf(const QString& table)
{
    return table == DeliveryJournal::Table ? std::span<const Column>(Attempts) : AlertSends;
}

// How `column` of `model` is shown; null when it is not.
const Column* shownAs(const QSqlTableModel& model, int column)
{
    const QString field = model.record().fieldName(column);
    for (const Column& shown : columnsOf(model.tableName())) {
        if (field == QLatin1String(shown.field))
            return &shown;
    }
    return nullptr;
}

} // namespace

JournalTable::JournalTable(DeliveryJournal& journal, const QString& table, QObject* parent)
    : QSqlTableModel(parent, journal.database())
{
    setTable(table);
    setEditStrategy(OnManualSubmit);
    setSort(fieldIndex(QStringLiteral("id")), Qt::DescendingOrder);
    for (const Column& column : columnsOf(table))
        setHeaderData(fieldIndex(QString::fromLatin1(column.field)), Qt::Horizontal,
                      QString::fromUtf8(column.heading));
}

bool JournalTable::isShown(int column) const
{
    return shownAs(*this, column);
}

bool JournalTable::readsWhole(int column) const
{
    const Column* shown = shownAs(*this, column);
    return shown && shown->whole;
}

void JournalTable::search(const QString& text)
{
    if (text.isEmpty()) {
        setFilter(QString());
        return;
    }
    // Titles are typed by payers: the text goes in as an escaped literal.
    QSqlField pattern(QStringLiteral("pattern"), QMetaType(QMetaType::QString));
    pattern.setValue(containingText(text));
    const QString literal = database().driver()->formatValue(pattern);
    setFilter(
        QStringLiteral("trade_no LIKE %1 ESCAPE '\\' OR title LIKE %1 ESCAPE '\\'").arg(literal));
}

TradeRecord JournalTable::recordAt(int row) const
{
    const QSqlRecord attempt = record(row);
    return {attempt.value(QStringLiteral("trade_no")).toString(),
            attempt.value(QStringLiteral("title")).toString(),
            attempt.value(QStringLiteral("amount")).toString()};
}

QVariant JournalTable::data(const QModelIndex& index, int role) const
{
    // Long texts show their ends; pointed at, all of it.
    if (role == Qt::ToolTipRole)
        role = Qt::DisplayRole;
    const QVariant value = QSqlTableModel::data(index, role);
    if (role != Qt::DisplayRole)
        return value;
    const QString field = record().fieldName(index.column());
    for (const DeliveryJournal::Code& code : DeliveryJournal::Codes) {
        if (code.table != tableName() || code.column != field || code.code != value.toString())
            continue;
        if (field != u"verdict")
            return code.words;
        return code.words +
               QSqlTableModel::data(index.siblingAtColumn(fieldIndex(QStringLiteral("reason"))))
                   .toString();
    }
    return value;
}
