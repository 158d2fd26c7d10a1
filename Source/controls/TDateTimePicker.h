#pragma once
// The system's date picker: a date edit with a drop-down calendar that can be
// blank. Backspace or Delete blanks it; picking a date in the calendar shows it
// unless it is the zero date. A blank picker keeps its date.
//
// Digits typed into a blank picker, or over its whole selected text, are taken as
// a date in the shown format from the first key ("14.05.1944", the dots may be
// left out): the typed text is shown as it is, and a complete possible date
// becomes the picker's date, shown. An impossible or unfinished date (31.02.2020,
// or "14.0" when the focus leaves) is never turned into another date: the text
// stays shown, the date (shown or blank) is left as it was and the picker reports
// the text as invalid. Backspace takes typed characters back, Escape drops the
// typed text. Any other key on a blank picker shows its date again with the first
// date part selected.

#include <QDate>
#include <QDateEdit>

class QCalendarWidget;

class TDateTimePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit TDateTimePicker(QWidget* Parent = nullptr);

    // True exactly when the display format is empty (the date is shown); false
    // makes the format a single space and the control shows nothing.
    bool DateVisible() const { return FFormat.isEmpty(); }
    void SetDateVisible(bool Value);
    QString Format() const { return FFormat; }

    // The zero date of the system's date arithmetic, shown as blank when picked.
    static QDate ZeroDate() { return QDate(1899, 12, 30); }
    // The format of a shown date.
    static QString DateFormat() { return QStringLiteral("dd.MM.yyyy"); }

    // The text being typed (shown instead of the date), empty when none.
    QString TypedText() const { return FTyped; }
    // True while the typed text is an impossible or unfinished date.
    bool TypedDateInvalid() const { return FInvalid; }

    QValidator::State validate(QString& Input, int& Pos) const override;
    void fixup(QString& Input) const override;

    // The drop-down calendar, made on first use (a click or a key on the picker can
    // open it): a window of many pickers does not pay for calendars nobody opens.
    QCalendarWidget* Calendar();

signals:
    // The typed text became an impossible date, or stopped being one.
    void TypedDateInvalidChanged(bool Invalid);
    // A date was clicked or chosen in the calendar, after the picker took it.
    void CalendarPicked(QDate Date);

protected:
    QString textFromDateTime(const QDateTime& DateTime) const override;
    void keyPressEvent(QKeyEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;

private:
    bool CalendarDroppedDown() const;
    void CalendarDatePicked(QDate Date);
    // Redisplays the date (or nothing) after the visibility changed.
    void RefreshText();
    // Typing a date: adds a typed character, takes the last one back, and judges the
    // text (Final: the typing is over, an unfinished date counts as invalid).
    bool TypeDateKey(const QKeyEvent* Event);
    void TypedBackspace();
    void JudgeTyped(bool Final);
    void ShowTyped(const QString& Text);
    void SetInvalid(bool Value);

    QCalendarWidget* FCalendar = nullptr;
    QString FFormat;
    QString FTyped;
    bool FInvalid = false;
};
