// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Twips.h"

#include <QWidget>

#include <cmath>

namespace {
constexpr double TwipsPerInch = 1440.0;
}

Twips::Twips(const QWidget& widget)
    : m_dotsPerInch(widget.logicalDpiX())
{
}

int Twips::pixels(int twips) const
{
    return int(std::lround(twips * m_dotsPerInch / TwipsPerInch));
}

QSize Twips::size(int width, int height) const
{
    return {pixels(width), pixels(height)};
}

QRect Twips::rect(int left, int top, int width, int height) const
{
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}
