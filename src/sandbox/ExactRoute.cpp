// SPDX-License-Identifier: GPL-3.0-or-later

#include "sandbox/ExactRoute.h"

#include <QRegularExpression>

QString exactRoute(const QString& path)
{
    return QRegularExpression::escape(path);
}
