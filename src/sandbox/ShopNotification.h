// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// One call of the shop's delivery address, its values as the shop reads them.
struct ShopNotification {
    QString act;
    QString jine;
    QString tradeno;
    QString title;
};
