// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

// A port from `first` to `last` that nothing on 127.0.0.1 listened on a
// moment ago, found by binding it; 0 when no try found one. Another process
// may still take it before the caller does, so callers retry on a failed start.
quint16 freeLocalPort(quint16 first, quint16 last);
