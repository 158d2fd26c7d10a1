#pragma once
// The two-level tree of the operators window: groups at the top level, their
// operators below. Every node owns its TNodeData. An operator node can be
// dragged and dropped onto a group node; the drop names the dragged operator by
// its node ID, so it never depends on which node happens to be selected.

#include "uOperatorsNodeData.h"

#include <QTreeWidget>

#include <functional>
#include <memory>

class QDropEvent;
class QMimeData;

// A tree node with the data it owns.
class TNodeItem : public QTreeWidgetItem {
public:
    TNodeItem(const QString& Text, const QIcon& Icon, std::unique_ptr<TNodeData> Data);
    TNodeData* Data() const { return FData.get(); }

private:
    std::unique_ptr<TNodeData> FData;
};

class TOperatorsTree : public QTreeWidget {
    Q_OBJECT
public:
    // Target: the group node the operator was dropped on.
    using TDropEvent = std::function<void(const QString& OperatorID, QTreeWidgetItem* Target)>;

    explicit TOperatorsTree(QWidget* Parent = nullptr);

    // Data of a node; none for no node.
    static TNodeData* NodeData(QTreeWidgetItem* Item);
    // The first node whose data has this ID; none when no node has it.
    QTreeWidgetItem* FindNode(const QString& ID) const;
    // What a drag of Item carries: only an operator node with data can be dragged.
    static std::unique_ptr<QMimeData> DragData(QTreeWidgetItem* Item);

    void SetOnDropOperator(TDropEvent Handler) { FOnDropOperator = std::move(Handler); }

    static const QIcon& GroupIcon();
    static const QIcon& OperatorIcon();
    static const char* MimeType;
    // Where a drag comes from: the source widget of the drag in progress, none for a drag
    // from another program. Replaceable, because no real drag runs without a window system.
    static std::function<const QObject*(const QDropEvent&)> DragSourceOf;

protected:
    void startDrag(Qt::DropActions SupportedActions) override;
    void dragEnterEvent(QDragEnterEvent* Event) override;
    void dragMoveEvent(QDragMoveEvent* Event) override;
    void dropEvent(QDropEvent* Event) override;

private:
    // The group node under the mouse when the drag carries an operator of this tree,
    // dragged from this tree; none otherwise.
    QTreeWidgetItem* DropTarget(const QDropEvent& Event) const;

    TDropEvent FOnDropOperator;
};
