#include "uEditingPictures.h"

#include "uListPictures.h"

#include <QPainter>

namespace EditingPictures {

QPixmap PostGlyph() {
    return ListPictures::AcceptGlyph();
}

QPixmap CloseGlyph() {
    return ListPictures::DeleteGlyph();
}

QPixmap AddFieldGlyph() {
    return ListPictures::AddGlyph();
}

QPixmap TableIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(70, 90, 140));
    p.setBrush(QColor(225, 235, 250));
    p.drawRect(1, 2, 13, 11);
    p.fillRect(2, 3, 12, 3, QColor(120, 150, 200));
    for (int x : {5, 9})
        p.drawLine(x, 3, x, 13);
    for (int y : {6, 9})
        p.drawLine(1, y, 14, y);
    return pixmap;
}

} // namespace EditingPictures
