// Check boxes and radio buttons: one notification per real change, the radio
// button's toggling, word-wrapped captions.
#include "TCheckBox.h"
#include "TRadioButton.h"
#include "TestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// ---------------------------------------------------------------------------
// Check box

TEST(CheckBox, NotifiesOncePerRealChangeWhateverItsSource) {
    TCheckBox box(QStringLiteral("Czynny podatnik VAT"));
    box.resize(200, 30);
    box.show();
    int changes = 0;
    box.SetOnChange([&changes](TCheckBox*) { ++changes; });
    EXPECT_FALSE(box.LastState());

    box.setChecked(true);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(box.LastState());
    // Ticking an already ticked box from code is no change.
    box.setChecked(true);
    box.setCheckState(Qt::Checked);
    EXPECT_EQ(changes, 1);

    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(5, box.height() / 2));
    EXPECT_FALSE(box.isChecked());
    EXPECT_EQ(changes, 2);
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(changes, 3);
    box.click();
    box.toggle();
    EXPECT_EQ(changes, 5);
}

TEST(CheckBox, StartsFromTheStateAtCreation) {
    TCheckBox box;
    box.setChecked(true);
    int changes = 0;
    box.SetOnChange([&changes](TCheckBox*) { ++changes; });
    box.setChecked(true);
    EXPECT_EQ(changes, 0);
    box.setChecked(false);
    EXPECT_EQ(changes, 1);
}

TEST(CheckBox, LongCaptionsWrapAndTheWholeControlAnswersClicks) {
    const QString caption =
        QStringLiteral("Podmiot prowadzi działalność gospodarczą zarejestrowaną w CEIDG oraz "
                       "jest czynnym podatnikiem podatku od towarów i usług");
    TCheckBox box(caption);
    EXPECT_TRUE(box.WordWrap());
    EXPECT_TRUE(box.hasHeightForWidth());
    const int oneLine = box.heightForWidth(2000);
    const int narrow = box.heightForWidth(150);
    EXPECT_GT(narrow, oneLine * 2);
    box.resize(150, narrow);
    box.show();
    // A click on the last line of the caption ticks the box.
    QTest::mouseClick(&box, Qt::LeftButton, Qt::NoModifier, QPoint(100, narrow - 3));
    EXPECT_TRUE(box.isChecked());

    box.SetWordWrap(false);
    EXPECT_FALSE(box.WordWrap());
    EXPECT_EQ(box.sizeHint(), QCheckBox(caption).sizeHint());
}

TEST(CheckBox, WrappedCaptionIsPainted) {
    TCheckBox box(QStringLiteral("Tak"));
    box.resize(100, 30);
    const QImage wrapped = box.grab().toImage();
    QImage blank(wrapped.size(), wrapped.format());
    blank.fill(box.palette().color(QPalette::Window));
    EXPECT_NE(wrapped, blank);
}

// ---------------------------------------------------------------------------
// Radio button

TEST(RadioButton, ButtonsOfOneParentAreNotExclusive) {
    QWidget group;
    auto* a = new TRadioButton(QStringLiteral("Osoba fizyczna"), &group);
    auto* b = new TRadioButton(QStringLiteral("Osoba prawna"), &group);
    EXPECT_FALSE(a->autoExclusive());
    a->setChecked(true);
    b->setChecked(true);
    EXPECT_TRUE(a->isChecked());
    EXPECT_TRUE(b->isChecked());
}

TEST(RadioButton, ClickOrSpaceOnASelectedButtonClearsIt) {
    TRadioButton radio(QStringLiteral("Osoba fizyczna"));
    radio.resize(150, 24);
    radio.show();
    int changes = 0;
    radio.SetOnChange([&changes](TRadioButton*) { ++changes; });

    QTest::mouseClick(&radio, Qt::LeftButton, Qt::NoModifier, QPoint(5, 12));
    EXPECT_TRUE(radio.isChecked());
    QTest::mouseClick(&radio, Qt::LeftButton, Qt::NoModifier, QPoint(5, 12));
    EXPECT_FALSE(radio.isChecked());
    QTest::keyClick(&radio, Qt::Key_Space);
    EXPECT_TRUE(radio.isChecked());
    QTest::keyClick(&radio, Qt::Key_Space);
    EXPECT_FALSE(radio.isChecked());
    EXPECT_EQ(changes, 4);
    // Code that sets the same state again is no change.
    radio.setChecked(false);
    EXPECT_EQ(changes, 4);
    radio.setChecked(true);
    EXPECT_EQ(changes, 5);
    EXPECT_TRUE(radio.LastState());
}

TEST(RadioButton, DoubleClickNotifiesAndTogglesOnlyOnce) {
    TRadioButton radio(QStringLiteral("Osoba prawna"));
    radio.resize(150, 24);
    radio.show();
    int doubleClicks = 0;
    int changes = 0;
    radio.SetOnDblClick([&doubleClicks](TRadioButton*) { ++doubleClicks; });
    radio.SetOnChange([&changes](TRadioButton*) { ++changes; });
    // Press, release, double-click press, release: what a double-click delivers.
    QTest::mouseClick(&radio, Qt::LeftButton, Qt::NoModifier, QPoint(5, 12));
    QTest::mouseDClick(&radio, Qt::LeftButton, Qt::NoModifier, QPoint(5, 12));
    QTest::mouseRelease(&radio, Qt::LeftButton, Qt::NoModifier, QPoint(5, 12));
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_TRUE(radio.isChecked());
    EXPECT_EQ(changes, 1);
}

} // namespace
