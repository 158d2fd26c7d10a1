#include "TDateTimePicker.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace {

// Keys that move the focus, answer the window or only modify another key: they
// leave the picker's blank state alone.
bool PassesThrough(const QKeyEvent* Event) {
    switch (Event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        break;
    }
    // Pasting or cutting would edit the hidden text: like typing, it only reveals the date.
    if (Event->matches(QKeySequence::Paste) || Event->matches(QKeySequence::Cut))
        return false;
    return Event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

} // namespace

TDateTimePicker::TDateTimePicker(QWidget* Parent) : QDateEdit(Parent) {
    setDisplayFormat(DateFormat());
    setCalendarPopup(true);
    if (QCalendarWidget* calendar = calendarWidget()) {
        connect(calendar, &QCalendarWidget::clicked, this, &TDateTimePicker::CalendarDatePicked);
        connect(calendar, &QCalendarWidget::activated, this, &TDateTimePicker::CalendarDatePicked);
    }
}

void TDateTimePicker::SetDateVisible(bool Value) {
    if (Value == DateVisible())
        return;
    FFormat = Value ? QString() : QStringLiteral(" ");
    RefreshText();
}

void TDateTimePicker::RefreshText() {
    // Re-applying the display format rebuilds the edit's text from the date.
    setDisplayFormat(displayFormat());
    update();
}

QString TDateTimePicker::textFromDateTime(const QDateTime& DateTime) const {
    return DateVisible() ? QDateEdit::textFromDateTime(DateTime) : QString();
}

bool TDateTimePicker::CalendarDroppedDown() const {
    const QCalendarWidget* calendar = calendarPopup() ? calendarWidget() : nullptr;
    return calendar && calendar->isVisible();
}

void TDateTimePicker::CalendarDatePicked(QDate Date) {
    SetDateVisible(Date != ZeroDate());
}

void TDateTimePicker::keyPressEvent(QKeyEvent* Event) {
    const int key = Event->key();
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && !CalendarDroppedDown()) {
        // The date stays; only its display goes. The key must not edit the text.
        SetDateVisible(false);
        Event->accept();
        return;
    }
    if (!DateVisible() && !PassesThrough(Event)) {
        SetDateVisible(true);
        setSelectedSection(sectionAt(0));
        Event->accept();
        return;
    }
    QDateEdit::keyPressEvent(Event);
}

void TDateTimePicker::wheelEvent(QWheelEvent* Event) {
    // A blank picker does not step a date nobody sees.
    if (!DateVisible()) {
        Event->ignore();
        return;
    }
    QDateEdit::wheelEvent(Event);
}
