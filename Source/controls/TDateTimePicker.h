#pragma once
// The system's date picker: a date edit with a drop-down calendar that can be
// blank. Backspace or Delete blanks it; any typing key on a blank picker shows
// its date again with the first date part selected (the key itself is not
// taken); picking a date in the calendar shows it unless it is the zero date.
// A blank picker keeps its date.

#include <QDate>
#include <QDateEdit>

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

protected:
    QString textFromDateTime(const QDateTime& DateTime) const override;
    void keyPressEvent(QKeyEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;

private:
    bool CalendarDroppedDown() const;
    void CalendarDatePicked(QDate Date);
    // Redisplays the date (or nothing) after the visibility changed.
    void RefreshText();

    QString FFormat;
};
