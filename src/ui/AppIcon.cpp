#include "ui/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int Side = 48;

QPixmap drawnIcon()
{
    QPixmap pixmap(Side, Side);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(64, 64, 200));
    painter.drawRoundedRect(QRectF(2, 2, Side - 4, Side - 4), 9, 9);

    // A coin with a tick: a payment that has arrived.
    painter.setBrush(QColor(255, 214, 64));
    painter.drawEllipse(QRectF(9, 9, 30, 30));
    QPen tick(QColor(40, 120, 40), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(tick);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF({QPointF(16, 24), QPointF(22, 30), QPointF(33, 17)}));
    painter.end();
    return pixmap;
}

} // namespace

QIcon appIcon()
{
    return QIcon(drawnIcon());
}

QIcon statusIcon(const QColor& colour)
{
    QPixmap pixmap = drawnIcon();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(Side - 22, Side - 22, 20, 20));
    return QIcon(pixmap);
}
