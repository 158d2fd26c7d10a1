#pragma once
// The parts through which the collection grid paints: the header that shows
// the title row and takes its clicks, and the delegate that paints data cells.
// Both hand the drawing to TDrawGrid::DrawCell.

#include <QHeaderView>
#include <QStyledItemDelegate>

class TDrawGrid;

class TEwidarGridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TEwidarGridHeader(TDrawGrid* Grid);

protected:
    void paintSection(QPainter* Painter, const QRect& Rect, int LogicalIndex) const override;
    void mousePressEvent(QMouseEvent* Event) override;

private:
    TDrawGrid* m_grid;
};

class TEwidarGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TEwidarGridDelegate(TDrawGrid* Grid);

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override;

private:
    TDrawGrid* m_grid;
};
