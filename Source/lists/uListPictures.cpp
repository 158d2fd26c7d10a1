#include "uListPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace ListPictures {

namespace {

constexpr int kSize = 16;

template <class Paint> QPixmap Glyph(Paint paint) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return pixmap;
}

} // namespace

QPixmap AddGlyph() {
    return Glyph([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 150, 60));
        p.drawRect(6, 2, 4, 12);
        p.drawRect(2, 6, 12, 4);
    });
}

QPixmap EditGlyph() {
    return Glyph([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(230, 180, 60));
        QPainterPath body;
        body.moveTo(3, 11);
        body.lineTo(11, 3);
        body.lineTo(13, 5);
        body.lineTo(5, 13);
        body.closeSubpath();
        p.drawPath(body);
        p.setBrush(QColor(60, 60, 60));
        p.drawPolygon(QPolygonF({QPointF(3, 11), QPointF(5, 13), QPointF(2, 14)}));
    });
}

QPixmap DeleteGlyph() {
    return Glyph([](QPainter& p) {
        p.setPen(QPen(QColor(200, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(4, 4, 12, 12);
        p.drawLine(12, 4, 4, 12);
    });
}

QPixmap AcceptGlyph() {
    return Glyph([](QPainter& p) {
        p.setPen(QPen(QColor(40, 150, 60), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(3, 8), QPointF(7, 12), QPointF(13, 4)}));
    });
}

QPixmap ViewGlyph() {
    return Glyph([](QPainter& p) {
        p.setPen(QColor(80, 80, 80));
        p.setBrush(Qt::white);
        p.drawRect(3, 1, 10, 14);
        for (int y = 4; y <= 12; y += 3)
            p.drawLine(5, y, 11, y);
    });
}

QPixmap FilterIcon() {
    return Glyph([](QPainter& p) {
        p.setPen(QColor(70, 70, 70));
        p.setBrush(QColor(120, 160, 210));
        p.drawPolygon(QPolygonF(
            {QPointF(1, 2), QPointF(15, 2), QPointF(10, 8), QPointF(10, 14), QPointF(6, 12), QPointF(6, 8)}));
    });
}

} // namespace ListPictures
