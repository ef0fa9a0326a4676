// SPDX-License-Identifier: GPL-3.0-or-later

#include "fakes/FakeBrowserControl.h"

void FakeBrowserControl::complete(const QString& address, bool loaded)
{
    location = address;
    Q_EMIT DocumentComplete(loaded);
}
