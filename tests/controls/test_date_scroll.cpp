// The date picker's blank state and keys; the scroll box's wheel.
#include "TDateTimePicker.h"
#include "TScrollBox.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

// ---------------------------------------------------------------------------
// Date picker

class DatePickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        picker.setDate(QDate(2024, 2, 29));
        picker.resize(140, 24);
        picker.show();
        picker.setFocus();
    }
    QString Shown() const { return picker.findChild<QLineEdit*>()->text(); }

    TDateTimePicker picker;
};

TEST_F(DatePickerTest, ShowsItsDateByDefault) {
    EXPECT_TRUE(picker.DateVisible());
    EXPECT_TRUE(picker.Format().isEmpty());
    EXPECT_EQ(Shown(), QStringLiteral("29.02.2024"));
}

TEST_F(DatePickerTest, HiddenDateKeepsItsValueAndShowsNothing) {
    picker.SetDateVisible(false);
    EXPECT_EQ(picker.Format(), QStringLiteral(" "));
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_EQ(picker.date(), QDate(2024, 2, 29));
    // A date set from code on a blank picker stays blank until shown.
    picker.setDate(QDate(2020, 1, 2));
    EXPECT_FALSE(picker.DateVisible());
    EXPECT_TRUE(Shown().isEmpty());
    picker.SetDateVisible(true);
    EXPECT_EQ(Shown(), QStringLiteral("02.01.2020"));
}

TEST_F(DatePickerTest, BackspaceOrDeleteBlanksIt) {
    QTest::keyClick(&picker, Qt::Key_Backspace);
    EXPECT_FALSE(picker.DateVisible());
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_EQ(picker.date(), QDate(2024, 2, 29));
    picker.SetDateVisible(true);
    QTest::keyClick(&picker, Qt::Key_Delete);
    EXPECT_FALSE(picker.DateVisible());
    EXPECT_EQ(picker.date(), QDate(2024, 2, 29));
}

// Typed into a blank picker (or over its whole text), a date in the shown format is
// taken from the first key; an impossible or unfinished one is kept as typed, marked
// and never turned into another date.
TEST_F(DatePickerTest, TypedDateIsTakenFromTheFirstKeyAndAnImpossibleOneIsMarked) {
    struct TCase {
        bool Blank; // typed into a blank picker; else over the whole selected date
        const char* Typed;
        QDate Date; // the date afterwards (invalid: unchanged)
        const char* Shown;
        bool Invalid;
        bool LeaveAfter = false; // the focus leaves after typing
    };
    const QDate before(2024, 2, 29);
    const TCase cases[] = {
        {true, "14.05.1944", QDate(1944, 5, 14), "14.05.1944", false},
        {true, "14051944", QDate(1944, 5, 14), "14.05.1944", false},
        {true, "1.5.1944", QDate(1944, 5, 1), "01.05.1944", false},
        {false, "02.01.2020", QDate(2020, 1, 2), "02.01.2020", false},
        {true, "31.02.2020", before, "31.02.2020", true},
        {true, "99.99.9999", before, "99.99.9999", true},
        {false, "30.02.2021", before, "30.02.2021", true},
        {true, "14.0", before, "14.0", true, true}, // unfinished when the focus leaves
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Typed);
        picker.setDate(before);
        picker.SetDateVisible(true);
        picker.setFocus();
        if (c.Blank)
            QTest::keyClick(&picker, Qt::Key_Backspace);
        else
            QTest::keyClick(&picker, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(&picker, c.Typed);
        if (c.LeaveAfter) {
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(&picker, &out);
        }
        EXPECT_EQ(picker.date(), c.Date);
        EXPECT_EQ(Shown(), QLatin1String(c.Shown));
        EXPECT_EQ(picker.TypedDateInvalid(), c.Invalid);
        EXPECT_EQ(picker.DateVisible(), !(c.Invalid && c.Blank)) << "an invalid text leaves the blank state";
    }
    // Backspace takes typed characters back; Escape drops the typing and leaves it blank.
    picker.SetDateVisible(true);
    QTest::keyClick(&picker, Qt::Key_Backspace);
    QTest::keyClicks(&picker, "31.02.2020");
    EXPECT_TRUE(picker.TypedDateInvalid());
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(&picker, Qt::Key_Backspace);
    EXPECT_EQ(Shown(), QStringLiteral("3"));
    QTest::keyClicks(&picker, "0.01.2020");
    EXPECT_FALSE(picker.TypedDateInvalid());
    EXPECT_EQ(picker.date(), QDate(2020, 1, 30));
    QTest::keyClick(&picker, Qt::Key_Backspace);
    QTest::keyClicks(&picker, "1.1");
    QTest::keyClick(&picker, Qt::Key_Escape);
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_FALSE(picker.DateVisible());
    EXPECT_EQ(picker.date(), QDate(2020, 1, 30));
}

TEST_F(DatePickerTest, FocusAndWindowKeysLeaveABlankPickerBlank) {
    picker.SetDateVisible(false);
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Shift, Qt::Key_Control}) {
        QTest::keyClick(&picker, key);
        EXPECT_FALSE(picker.DateVisible()) << key;
    }
    QTest::keyClick(&picker, Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(picker.DateVisible());
    QTest::keyClick(&picker, Qt::Key_Up);
    EXPECT_TRUE(picker.DateVisible());
    EXPECT_EQ(picker.date(), QDate(2024, 2, 29));
    // Pasting into a blank picker only reveals its date too.
    picker.SetDateVisible(false);
    QGuiApplication::clipboard()->setText(QStringLiteral("01.01.2001"));
    QTest::keyClick(&picker, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(picker.DateVisible());
    EXPECT_EQ(picker.date(), QDate(2024, 2, 29));
}

TEST_F(DatePickerTest, BlankPickerSurvivesLosingTheFocusAndTheWheel) {
    picker.SetDateVisible(false);
    QWheelEvent wheel(QPointF(10, 10), picker.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&picker, &wheel);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&picker, &out);
    EXPECT_FALSE(picker.DateVisible());
    EXPECT_EQ(picker.date(), QDate(2024, 2, 29));
}

TEST_F(DatePickerTest, PickingInTheCalendarShowsTheDateUnlessItIsTheZeroDate) {
    QCalendarWidget* calendar = picker.Calendar();
    ASSERT_NE(calendar, nullptr);
    picker.SetDateVisible(false);
    calendar->setSelectedDate(QDate(2023, 7, 14));
    emit calendar->clicked(QDate(2023, 7, 14));
    EXPECT_TRUE(picker.DateVisible());
    EXPECT_EQ(picker.date(), QDate(2023, 7, 14));

    calendar->setSelectedDate(TDateTimePicker::ZeroDate());
    emit calendar->activated(TDateTimePicker::ZeroDate());
    EXPECT_FALSE(picker.DateVisible());
}

// The calendar is made when the picker is first clicked or typed into; a date picked
// in a calendar opened either way shows, and the picker reports the pick.
TEST_F(DatePickerTest, ACalendarMadeOnFirstUseStillShowsThePickedDate) {
    EXPECT_EQ(picker.findChild<QCalendarWidget*>(), nullptr);
    QStyleOptionSpinBox option;
    option.initFrom(&picker);
    const QRect arrow =
        picker.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, &picker);
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey);
        TDateTimePicker other;
        other.setDate(QDate(2024, 2, 29));
        other.resize(140, 24);
        other.show();
        other.SetDateVisible(false);
        QList<QDate> picks;
        QObject::connect(&other, &TDateTimePicker::CalendarPicked, &other, [&](QDate d) { picks << d; });
        if (byKey)
            QTest::keyClick(&other, Qt::Key_Select);
        else
            QTest::mouseClick(&other, Qt::LeftButton, {}, arrow.isValid() ? arrow.center() : QPoint(130, 12));
        auto* calendar = other.findChild<QCalendarWidget*>();
        ASSERT_NE(calendar, nullptr);
        emit calendar->clicked(QDate(2023, 7, 14));
        EXPECT_TRUE(other.DateVisible());
        EXPECT_EQ(picks, QList<QDate>{QDate(2023, 7, 14)});
        if (QWidget* popup = calendar->window(); popup != &other)
            popup->hide();
    }
}

// ---------------------------------------------------------------------------
// Scroll box

class ScrollBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        content = new QWidget;
        content->setFixedSize(1000, 2000);
        box.setWidget(content);
        box.resize(200, 200);
        box.show();
    }
    void Wheel(QWidget* target, QPoint angle, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWheelEvent e(QPointF(20, 20), target->mapToGlobal(QPointF(20, 20)), QPoint(), angle, Qt::NoButton,
                      mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
        lastAccepted = e.isAccepted();
    }
    int V() const { return box.verticalScrollBar()->value(); }
    int H() const { return box.horizontalScrollBar()->value(); }

    TScrollBox box;
    QWidget* content = nullptr;
    bool lastAccepted = false;
};

TEST_F(ScrollBoxTest, OneNotchScrollsOneHundredTwentyPixels) {
    Wheel(box.viewport(), QPoint(0, -120));
    EXPECT_EQ(V(), 120);
    EXPECT_TRUE(lastAccepted);
    Wheel(box.viewport(), QPoint(0, -240));
    EXPECT_EQ(V(), 360);
    Wheel(box.viewport(), QPoint(0, 120));
    EXPECT_EQ(V(), 240);
    Wheel(box.viewport(), QPoint(0, 100000));
    EXPECT_EQ(V(), 0);
}

TEST_F(ScrollBoxTest, ShiftCtrlOrAltStopTheWheel) {
    for (Qt::KeyboardModifier mod : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
        Wheel(box.viewport(), QPoint(0, -120), mod);
        Wheel(box.viewport(), QPoint(-120, 0), mod);
        EXPECT_EQ(V(), 0);
        EXPECT_EQ(H(), 0);
        EXPECT_FALSE(lastAccepted);
    }
}

TEST_F(ScrollBoxTest, HorizontalWheelScrollsSideways) {
    Wheel(box.viewport(), QPoint(-120, 0));
    EXPECT_EQ(H(), 120);
    EXPECT_EQ(V(), 0);
    Wheel(box.viewport(), QPoint(60, 0));
    EXPECT_EQ(H(), 60);
}

} // namespace
