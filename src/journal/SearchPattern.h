// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// A LIKE pattern, with ESCAPE '\', that finds `text` anywhere: titles are
// typed by payers, so their own % and _ are taken literally.
inline QString containingText(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'%', QStringLiteral("\\%"));
    text.replace(u'_', QStringLiteral("\\_"));
    return u'%' + text + u'%';
}
