#pragma once
// The system's scrolling area: the mouse wheel scrolls by its delta in pixels
// (one notch of 120 moves 120 pixels) when no Shift, Ctrl or Alt is held and no
// child took the wheel; a horizontal wheel scrolls sideways likewise.

#include <QScrollArea>

class TScrollBox : public QScrollArea {
    Q_OBJECT
public:
    explicit TScrollBox(QWidget* Parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* Event) override;
};
