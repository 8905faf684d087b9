#include "desktop/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace AppIcon {

void paint(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0, QColor(0x1f, 0x8a, 0x8a));
    tile.setColorAt(1, QColor(0x12, 0x4e, 0x66));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    painter.setBrush(QColor(0xff, 0xff, 0xff, 0xe6));
    painter.drawRoundedRect(QRectF(13, 36, 10, 16), 2, 2);
    painter.drawRoundedRect(QRectF(27, 27, 10, 25), 2, 2);
    painter.drawRoundedRect(QRectF(41, 16, 10, 36), 2, 2);

    painter.setBrush(QColor(0xff, 0xc8, 0x3d));
    QPainterPath arrow;
    arrow.moveTo(40, 8);
    arrow.lineTo(54, 8);
    arrow.lineTo(54, 22);
    arrow.closeSubpath();
    painter.drawPath(arrow);
}

namespace {

QPixmap drawIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.scale(size / 64.0, size / 64.0);
    paint(painter);
    return pixmap;
}

}  // namespace

QIcon icon()
{
    QIcon icon;
    for (int size : sizes)
        icon.addPixmap(drawIcon(size));
    return icon;
}

}  // namespace AppIcon
