// SPDX-License-Identifier: GPL-3.0-or-later

#include "alerts/DailySummary.h"

#include "alerts/AlertSettings.h"
#include "alerts/ReadableTitle.h"
#include "alerts/RemoteAlerts.h"
#include "journal/DayTotals.h"
#include "journal/DeliveryJournal.h"
#include "platform/Clock.h"
#include "platform/TimerControl.h"

#include <QSqlQuery>
#include <QVariant>

const QString DailySummary::Cause = QStringLiteral("dailySummary");

namespace {

constexpr int LookEveryMs = 20 * 1000;
constexpr qsizetype TitlesNamed = 10;

} // namespace

DailySummary::DailySummary(const AlertSettings& settings, RemoteAlerts& remote,
                           DeliveryJournal& journal, Platform platform, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_remote(remote)
    , m_journal(journal)
    , m_clock(platform.clock)
    , m_timer(platform.timers.createTimer())
    , m_lastLook(m_clock.now())
{
    connect(m_timer.get(), &TimerControl::Timer, this, &DailySummary::look);
    m_timer->setInterval(LookEveryMs);
    m_timer->setEnabled(true);
}

DailySummary::~DailySummary() = default;

QString DailySummary::text(const DayTotals& totals, QDate day)
{
    QString text =
        QStringLiteral("每日汇总 %1：收款 %2；已送达 %3，待送达 %4，已放弃 %5")
            .arg(day.toString(Qt::ISODate), inWords(totals.seen), inWords(totals.delivered),
                 inWords(totals.pending), inWords(totals.givenUp));
    const QStringList& titles = totals.undeliveredTitles;
    if (titles.isEmpty())
        return text;
    QStringList named;
    for (const QString& title : titles.first(std::min(titles.size(), TitlesNamed)))
        named.append(readableTitle(title));
    text += QStringLiteral("\n未送达：") + named.join(QStringLiteral("、"));
    if (titles.size() > TitlesNamed)
        text += QStringLiteral(" 等 %1 笔").arg(titles.size());
    return text;
}

void DailySummary::look()
{
    const QDateTime now = m_clock.now();
    const QDateTime lastLook = std::exchange(m_lastLook, now);
    const std::optional<QTime> time = m_settings.dailySummary();
    if (!time || !m_settings.channel().isSet())
        return;
    const QDateTime due(now.date(), *time);
    if (lastLook < due && due <= now && !sentOn(now.date()))
        m_remote.send(Cause, text(dayTotals(m_journal, now.date()), now.date()));
}

bool DailySummary::sentOn(QDate day) const
{
    QSqlQuery query(m_journal.database());
    query.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE cause = ? AND substr(time, 1, 10) = ?")
                      .arg(DeliveryJournal::AlertTable));
    return execWith(query, {Cause, day.toString(Qt::ISODate)}) && query.next();
}
