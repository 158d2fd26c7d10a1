#include "TDateTimePicker.h"

#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
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

bool IsDateSeparator(QChar C) {
    return C == u'.' || C == u',' || C == u'-' || C == u'/';
}

// A digit or a date separator typed without Ctrl, Alt or Meta.
QChar DateCharacter(const QKeyEvent* Event) {
    if (Event->modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier) ||
        Event->text().size() != 1)
        return {};
    const QChar c = Event->text().at(0);
    return c.isDigit() || IsDateSeparator(c) ? c : QChar();
}

} // namespace

TDateTimePicker::TDateTimePicker(QWidget* Parent) : QDateEdit(Parent) {
    setDisplayFormat(DateFormat());
    setCalendarPopup(true);
}

QCalendarWidget* TDateTimePicker::Calendar() {
    if (!FCalendar) {
        FCalendar = calendarWidget();
        connect(FCalendar, &QCalendarWidget::clicked, this, &TDateTimePicker::CalendarDatePicked);
        connect(FCalendar, &QCalendarWidget::activated, this, &TDateTimePicker::CalendarDatePicked);
    }
    return FCalendar;
}

void TDateTimePicker::mousePressEvent(QMouseEvent* Event) {
    Calendar();
    QDateEdit::mousePressEvent(Event);
}

void TDateTimePicker::SetDateVisible(bool Value) {
    if (!FTyped.isEmpty()) { // a date set from code replaces what was being typed
        FTyped.clear();
        SetInvalid(false);
        if (Value == DateVisible()) {
            RefreshText();
            return;
        }
    }
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
    if (!FTyped.isEmpty())
        return FTyped;
    return DateVisible() ? QDateEdit::textFromDateTime(DateTime) : QString();
}

bool TDateTimePicker::CalendarDroppedDown() const {
    return FCalendar && FCalendar->isVisible();
}

void TDateTimePicker::CalendarDatePicked(QDate Date) {
    SetDateVisible(Date != ZeroDate());
    emit CalendarPicked(Date);
}

QValidator::State TDateTimePicker::validate(QString& Input, int& Pos) const {
    // Typed text is judged by the picker itself, never corrected by the date edit.
    if (!FTyped.isEmpty())
        return QValidator::Intermediate;
    return QDateEdit::validate(Input, Pos);
}

void TDateTimePicker::fixup(QString& Input) const {
    if (FTyped.isEmpty())
        QDateEdit::fixup(Input);
}

void TDateTimePicker::ShowTyped(const QString& Text) {
    FTyped = Text;
    if (FTyped.isEmpty()) {
        SetInvalid(false);
        RefreshText();
        return;
    }
    // The date and whether it is shown stay as they were until the text is a date.
    lineEdit()->setText(FTyped);
    lineEdit()->setCursorPosition(int(FTyped.size()));
}

void TDateTimePicker::SetInvalid(bool Value) {
    if (FInvalid == Value)
        return;
    FInvalid = Value;
    emit TypedDateInvalidChanged(FInvalid);
}

bool TDateTimePicker::TypeDateKey(const QKeyEvent* Event) {
    const QChar c = DateCharacter(Event);
    if (c.isNull())
        return false;
    const bool wholeSelected = !lineEdit()->text().isEmpty() && lineEdit()->selectedText() == lineEdit()->text();
    if (FTyped.isEmpty() && DateVisible() && !wholeSelected)
        return false; // a part of a shown date is edited by the date edit
    QString text = FTyped;
    const QStringList parts = text.split(QLatin1Char('.'));
    if (IsDateSeparator(c)) {
        // A separator closes a non-empty day or month; a second one in a row is ignored.
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('.')) && parts.size() < 3)
            text += QLatin1Char('.');
    } else if (parts.size() < 3 && parts.last().size() == 2) {
        text += QLatin1Char('.') + c; // two digits of a day or month close it
    } else if (parts.size() < 3 || parts.last().size() < 4) {
        text += c;
    }
    ShowTyped(text);
    JudgeTyped(false);
    return true;
}

void TDateTimePicker::TypedBackspace() {
    ShowTyped(FTyped.chopped(1));
    if (!FTyped.isEmpty())
        JudgeTyped(false);
}

void TDateTimePicker::JudgeTyped(bool Final) {
    static const QRegularExpression complete(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})$"));
    const QRegularExpressionMatch m = complete.match(FTyped);
    if (!m.hasMatch()) {
        SetInvalid(Final);
        return;
    }
    const QDate date(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!date.isValid() || date < minimumDate() || date > maximumDate()) {
        SetInvalid(true);
        return;
    }
    FTyped.clear();
    SetInvalid(false);
    FFormat.clear();
    setDate(date);
    RefreshText();
}

void TDateTimePicker::keyPressEvent(QKeyEvent* Event) {
    Calendar();
    if (TypeDateKey(Event)) {
        Event->accept();
        return;
    }
    const int key = Event->key();
    if (!FTyped.isEmpty()) {
        if (key == Qt::Key_Backspace) {
            TypedBackspace();
        } else if (key == Qt::Key_Escape) { // the typing is dropped, the picker stays blank
            ShowTyped(QString());
        } else {
            // Leaving or accepting ends the typing; other keys do not edit typed text.
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter)
                JudgeTyped(true);
            if (PassesThrough(Event)) {
                QDateEdit::keyPressEvent(Event);
                return;
            }
        }
        Event->accept();
        return;
    }
    if (Event->matches(QKeySequence::SelectAll) && DateVisible()) {
        lineEdit()->selectAll();
        Event->accept();
        return;
    }
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

void TDateTimePicker::focusOutEvent(QFocusEvent* Event) {
    if (!FTyped.isEmpty())
        JudgeTyped(true);
    QDateEdit::focusOutEvent(Event);
}

void TDateTimePicker::wheelEvent(QWheelEvent* Event) {
    // A blank picker does not step a date nobody sees.
    if (!DateVisible()) {
        Event->ignore();
        return;
    }
    QDateEdit::wheelEvent(Event);
}
