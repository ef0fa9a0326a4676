// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "sandbox/SimulatedPayment.h"

#include <QList>
#include <QString>

// The simulated account's pages for people, as HTML text. Every value shown
// is escaped.
namespace AccountPages {

// The login form (id "login"), filled in with the test credentials so that
// a script may submit it as it is; `error` is shown above it unless empty.
QString login(const QString& error);

QString home(const QList<SimulatedPayment>& newestFirst);

// The small page the session refresh answers with.
QString keepAlive();

// Where a person adds payments by hand, through a form that carries
// `controlToken`. `recordPageUrl` is today's address of the record page,
// shown for reference.
QString sandbox(const QList<SimulatedPayment>& newestFirst, const QString& recordPageUrl,
                const QString& controlToken);

QString paymentAdded(const SimulatedPayment& payment);

// After /sandbox/expire has logged everybody out.
QString sessionsExpired();

// A rejected /sandbox/pay request.
QString paymentRefused(const QString& reason);

// A request from another site, or without the control token.
QString foreignRequestRefused();

// A record page request for a window other than today's; the program must
// find no payment in it.
QString recordQueryRefused(const QString& expectedQuery);

} // namespace AccountPages
