// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The processor time one page fetch costs while it waits `seconds` on a
// local server that never answers.
QString measureWaitCost(int seconds);
