#include "uEwidarComponents_Pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace EwidarPictures {

namespace {

QPixmap Blank() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap DictionaryIcon() {
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 70, 130), 1));
    p.setBrush(QColor(70, 110, 190));
    p.drawRoundedRect(QRectF(3.5, 1.5, 10, 13), 1.5, 1.5);
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(QPointF(5.5, 2.5), QPointF(5.5, 13.5));
    p.drawLine(QPointF(7.5, 5.5), QPointF(11.5, 5.5));
    p.drawLine(QPointF(7.5, 7.5), QPointF(11.5, 7.5));
    return pixmap;
}

QPixmap DeleteFieldIcon() {
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 40, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
    return pixmap;
}

QPixmap EditFieldIcon() {
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.moveTo(11, 2);
    body.lineTo(14, 5);
    body.lineTo(6, 13);
    body.lineTo(3, 10);
    body.closeSubpath();
    p.setPen(QPen(QColor(120, 80, 20), 1));
    p.setBrush(QColor(240, 180, 60));
    p.drawPath(body);
    QPainterPath tip;
    tip.moveTo(3, 10);
    tip.lineTo(6, 13);
    tip.lineTo(2, 14);
    tip.closeSubpath();
    p.setBrush(QColor(60, 60, 60));
    p.drawPath(tip);
    return pixmap;
}

} // namespace EwidarPictures
