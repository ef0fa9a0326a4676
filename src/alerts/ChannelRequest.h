// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "alerts/AlertChannel.h"
#include "alerts/AlertMessage.h"
#include "platform/WebHook.h"

#include <QDateTime>

// The request that hands `message` to the channel's service, in the form
// the service documents, signed at `now` where the bot checks a signature.
WebHookRequest channelRequest(const AlertChannel& channel, const AlertMessage& message,
                              const QDateTime& now);

// Where a placeholder stands, and so how its value is escaped.
enum class PlaceholderContext { Url, Json, Form };

// `pattern` with every "{text}", "{cause}" and "{time}" replaced by the
// message's, escaped for `context`. Values are never searched again, so a
// placeholder a payer typed into a title stays as typed.
QString fillPlaceholders(const QString& pattern, const AlertMessage& message,
                         PlaceholderContext context);
