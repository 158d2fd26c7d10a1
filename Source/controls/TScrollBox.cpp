#include "TScrollBox.h"

#include <QScrollBar>
#include <QWheelEvent>

TScrollBox::TScrollBox(QWidget* Parent) : QScrollArea(Parent) {}

void TScrollBox::wheelEvent(QWheelEvent* Event) {
    // Reached only when no child under the pointer took the wheel.
    const Qt::KeyboardModifiers keys = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if (Event->modifiers() & keys) {
        Event->ignore();
        return;
    }
    const QPoint delta = Event->angleDelta();
    if (delta.y() != 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - delta.y());
    // A positive horizontal delta means a move to the left, as for the vertical wheel upwards.
    if (delta.x() != 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - delta.x());
    Event->accept();
}
