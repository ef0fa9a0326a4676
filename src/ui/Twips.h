// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Converts the layout's twips (1/1440 inch) to pixels at the screen's
// logical resolution: 15 twips to the pixel at 96 dpi.
class Twips {
public:
    explicit Twips(const QWidget& widget);

    int pixels(int twips) const;
    QSize size(int width, int height) const;
    QRect rect(int left, int top, int width, int height) const;

private:
    double m_dotsPerInch;
};
