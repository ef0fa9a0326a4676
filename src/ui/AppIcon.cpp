// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/AppIcon.h"

#include <QPainter>
#include <QPixmap>

#include <functional>

namespace {

// The icon is drawn on a 48-unit grid, the size it was designed at.
constexpr qreal Grid = 48;

// The frame and the coin, a payment, with `over` painted on them on the
// same grid.
QImage coinImage(int side, const std::function<void(QPainter&)>& over)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / Grid, side / Grid);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(64, 64, 200));
    painter.drawRoundedRect(QRectF(2, 2, Grid - 4, Grid - 4), 9, 9);
    painter.setBrush(QColor(255, 214, 64));
    painter.drawEllipse(QRectF(9, 9, 30, 30));
    over(painter);
    painter.end();
    return image;
}

QPen symbolPen(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// `symbol` in white on the badge that fills the lower right of the grid,
// each with a shape of its own even at tray size.
void drawSymbol(QPainter& painter, StatusSymbol symbol)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(symbolPen(Qt::white, 5));
    switch (symbol) {
    case StatusSymbol::Tick:
        painter.drawPolyline(
            QPolygonF({QPointF(25.5, 34), QPointF(31, 39.5), QPointF(40.5, 27.5)}));
        break;
    case StatusSymbol::Pause:
        painter.drawLine(QPointF(28.5, 27), QPointF(28.5, 41));
        painter.drawLine(QPointF(38.5, 27), QPointF(38.5, 41));
        break;
    case StatusSymbol::Padlock:
        painter.setPen(symbolPen(Qt::white, 3.5));
        painter.drawArc(QRectF(28, 23.5, 11, 13), 0, 180 * 16);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(24.5, 30, 18, 12), 2, 2);
        break;
    case StatusSymbol::Exclamation:
        painter.drawLine(QPointF(33.5, 25.5), QPointF(33.5, 34.5));
        painter.setPen(symbolPen(Qt::white, 6));
        painter.drawPoint(QPointF(33.5, 41));
        break;
    }
}

} // namespace

QImage appIconImage(int side)
{
    return coinImage(side, [](QPainter& painter) {
        // A tick on the coin: a payment that has arrived.
        painter.setPen(symbolPen(QColor(40, 120, 40), 4));
        painter.drawPolyline(QPolygonF({QPointF(16, 24), QPointF(22, 30), QPointF(33, 17)}));
    });
}

QIcon appIcon()
{
    QIcon icon;
    for (int side : AppIconSizes)
        icon.addPixmap(QPixmap::fromImage(appIconImage(side)));
    return icon;
}

QIcon statusIcon(StatusSymbol symbol, const QColor& colour)
{
    QIcon icon;
    for (int side : AppIconSizes) {
        icon.addPixmap(QPixmap::fromImage(coinImage(side, [&](QPainter& painter) {
            painter.setPen(QPen(Qt::white, 2));
            painter.setBrush(colour);
            painter.drawEllipse(QRectF(18, 18, 29, 29));
            drawSymbol(painter, symbol);
        })));
    }
    return icon;
}
