#include "GridArtwork.h"

#include <QPainter>
#include <QPainterPath>

namespace korvex {

QImage CheckBoxPicture(bool checked, const QColor& background) {
    QImage image(15, 15, QImage::Format_RGB32);
    image.fill(background);
    QPainter p(&image);
    p.fillRect(QRect(1, 1, 13, 13), Qt::white);
    p.setPen(QColor(0x70, 0x70, 0x90));
    p.drawRect(QRect(1, 1, 12, 12));
    if (checked) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x10, 0x60, 0x10), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(3.5, 7.5);
        tick.lineTo(6.2, 10.5);
        tick.lineTo(11.5, 3.8);
        p.drawPath(tick);
    }
    return image;
}

QImage ThumbErrorPicture() {
    // White areas around and inside the mark take the current cell's colour when it is current.
    QImage image(90, 67, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QColor(0xb0, 0xb0, 0xb0));
    p.drawRect(QRect(20, 14, 50, 40));
    p.setPen(QPen(QColor(0xc0, 0x30, 0x30), 3));
    p.drawLine(QPoint(36, 25), QPoint(54, 43));
    p.drawLine(QPoint(54, 25), QPoint(36, 43));
    return image;
}

} // namespace korvex
