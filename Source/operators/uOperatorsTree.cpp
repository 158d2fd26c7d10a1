#include "uOperatorsTree.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QTreeWidgetItemIterator>

namespace {

constexpr int kIconSize = 16;

// A head and shoulders at (X, Y), Scale 1 filling the 16-pixel icon.
void PaintPerson(QPainter& P, qreal X, qreal Y, qreal Scale, const QColor& Color) {
    P.setPen(QPen(Color.darker(150), 1));
    P.setBrush(Color);
    P.drawEllipse(QRectF(X + 4.5 * Scale, Y + 1 * Scale, 7 * Scale, 7 * Scale));
    P.drawRoundedRect(QRectF(X + 2 * Scale, Y + 9 * Scale, 12 * Scale, 6.5 * Scale), 3 * Scale, 3 * Scale);
}

QIcon PaintedIcon(bool Group) {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (Group) {
        PaintPerson(p, 5, -1, 0.7, QColor(150, 170, 200));
        PaintPerson(p, -1, 3, 0.8, QColor(70, 120, 190));
    } else {
        PaintPerson(p, 0, 0, 1, QColor(90, 160, 90));
    }
    return QIcon(pixmap);
}

} // namespace

const char* TOperatorsTree::MimeType = "application/x-ewidar-operator";
std::function<const QObject*(const QDropEvent&)> TOperatorsTree::DragSourceOf = [](const QDropEvent& Event) {
    return static_cast<const QObject*>(Event.source());
};

TNodeItem::TNodeItem(const QString& Text, const QIcon& Icon, std::unique_ptr<TNodeData> Data)
    : FData(std::move(Data)) {
    setText(0, Text);
    setIcon(0, Icon);
}

TOperatorsTree::TOperatorsTree(QWidget* Parent) : QTreeWidget(Parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setIconSize(QSize(kIconSize, kIconSize));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

const QIcon& TOperatorsTree::GroupIcon() {
    static const QIcon icon = PaintedIcon(true);
    return icon;
}

const QIcon& TOperatorsTree::OperatorIcon() {
    static const QIcon icon = PaintedIcon(false);
    return icon;
}

TNodeData* TOperatorsTree::NodeData(QTreeWidgetItem* Item) {
    auto* node = dynamic_cast<TNodeItem*>(Item);
    return node ? node->Data() : nullptr;
}

QTreeWidgetItem* TOperatorsTree::FindNode(const QString& ID) const {
    for (QTreeWidgetItemIterator it(const_cast<TOperatorsTree*>(this)); *it; ++it) {
        const TNodeData* data = NodeData(*it);
        if (data && data->ID == ID)
            return *it;
    }
    return nullptr;
}

std::unique_ptr<QMimeData> TOperatorsTree::DragData(QTreeWidgetItem* Item) {
    const TNodeData* data = NodeData(Item);
    if (!Item || !Item->parent() || !data || !data->User)
        return nullptr;
    auto mime = std::make_unique<QMimeData>();
    mime->setData(QLatin1String(MimeType), data->ID.toUtf8());
    return mime;
}

void TOperatorsTree::startDrag(Qt::DropActions) {
    std::unique_ptr<QMimeData> mime = DragData(currentItem());
    if (!mime)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(mime.release());
    drag->setPixmap(OperatorIcon().pixmap(kIconSize, kIconSize));
    drag->exec(Qt::MoveAction);
}

QTreeWidgetItem* TOperatorsTree::DropTarget(const QDropEvent& Event) const {
    // Another operators window (perhaps of another database), or another program, may
    // carry the same type of data: its operator IDs mean nothing here.
    const QMimeData* Mime = Event.mimeData();
    if (!Mime || !Mime->hasFormat(QLatin1String(MimeType)) || DragSourceOf(Event) != this)
        return nullptr;
    const QPoint Pos = Event.position().toPoint();
    const TNodeData* dragged = NodeData(FindNode(QString::fromUtf8(Mime->data(QLatin1String(MimeType)))));
    if (!dragged || !dragged->User)
        return nullptr;
    QTreeWidgetItem* target = itemAt(Pos);
    const TNodeData* data = NodeData(target);
    if (!target || target->parent() || !data || !data->UserGroup)
        return nullptr;
    return target;
}

void TOperatorsTree::dragEnterEvent(QDragEnterEvent* Event) {
    // Entered anywhere; whether a drop is possible is decided while the mouse moves.
    if (Event->mimeData()->hasFormat(QLatin1String(MimeType)) && DragSourceOf(*Event) == this)
        Event->acceptProposedAction();
    else
        Event->ignore();
}

void TOperatorsTree::dragMoveEvent(QDragMoveEvent* Event) {
    if (DropTarget(*Event)) {
        Event->setDropAction(Qt::MoveAction);
        Event->accept();
    } else {
        Event->ignore();
    }
}

void TOperatorsTree::dropEvent(QDropEvent* Event) {
    QTreeWidgetItem* target = DropTarget(*Event);
    if (!target) {
        Event->ignore();
        return;
    }
    Event->setDropAction(Qt::MoveAction);
    Event->accept();
    const QString id = QString::fromUtf8(Event->mimeData()->data(QLatin1String(MimeType)));
    // The handler may rebuild the tree: nothing here touches a node afterwards.
    if (FOnDropOperator)
        FOnDropOperator(id, target);
}
