#include "ui/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

// The icon is drawn on a 48-unit grid, the size it was designed at.
constexpr qreal Grid = 48;

void drawOnGrid(QPainter& painter, int side)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / Grid, side / Grid);
}

} // namespace

QImage appIconImage(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);

    QPainter painter(&image);
    drawOnGrid(painter, side);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(64, 64, 200));
    painter.drawRoundedRect(QRectF(2, 2, Grid - 4, Grid - 4), 9, 9);

    // A coin with a tick: a payment that has arrived.
    painter.setBrush(QColor(255, 214, 64));
    painter.drawEllipse(QRectF(9, 9, 30, 30));
    QPen tick(QColor(40, 120, 40), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(tick);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({QPointF(16, 24), QPointF(22, 30), QPointF(33, 17)}));
    painter.end();
    return image;
}

QIcon appIcon()
{
    QIcon icon;
    for (int side : AppIconSizes)
        icon.addPixmap(QPixmap::fromImage(appIconImage(side)));
    return icon;
}

QIcon statusIcon(const QColor& colour)
{
    QIcon icon;
    for (int side : AppIconSizes) {
        QImage image = appIconImage(side);
        QPainter painter(&image);
        drawOnGrid(painter, side);
        painter.setPen(QPen(Qt::white, 3));
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(26, 26, 20, 20));
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}
