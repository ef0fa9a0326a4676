// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// A payer's title as the owner is shown it in alerts and notifications: the
// record page's character references decoded ("&amp;" shows as "&"),
// control and bidirectional-override characters taken out, so that a title
// can neither break lines nor turn the text around it, and at most 64
// characters.
QString readableTitle(const QString& pageTitle);
