// The edit with its icon, hint and key actions; the label with its icon and
// change callback.
#include "TEdit.h"
#include "TLabel.h"
#include "TestSupport.h"

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QToolTip>

#include <functional>

#include <gtest/gtest.h>

namespace {

QPixmap SolidIcon(const QColor& colour, int size = 16) {
    QPixmap p(size, size);
    p.fill(colour);
    return p;
}

void MoveMouse(QWidget* w, int x, int y) {
    const QPointF local(x, y);
    QMouseEvent move(QEvent::MouseMove, local, w->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void Enter(QWidget* w) {
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), w->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(w, &enter);
}

void Leave(QWidget* w) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
}

// ---------------------------------------------------------------------------
// Edit: icon and margin

TEST(EditIcon, MarginAndIconFollowTheIcon) {
    TEdit edit;
    edit.resize(200, 24);
    EXPECT_FALSE(edit.IconVisible());
    EXPECT_EQ(edit.textMargins().right(), 0);
    edit.SetIcon(SolidIcon(Qt::red));
    EXPECT_TRUE(edit.IconVisible());
    EXPECT_EQ(edit.textMargins().right(), TEdit::IconMargin);
    // Drawn inside the right end, 2 pixels from the top.
    const QImage image = edit.grab().toImage();
    EXPECT_EQ(image.pixelColor(200 - 18 + 4, 2 + 4), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(200 - 18 - 3, 2 + 4), QColor(Qt::red));
    edit.SetIcon(QPixmap());
    EXPECT_FALSE(edit.IconVisible());
    EXPECT_EQ(edit.textMargins().right(), 0);
    EXPECT_NE(edit.grab().toImage().pixelColor(200 - 18 + 4, 2 + 4), QColor(Qt::red));
}

TEST(EditIcon, ShownOnlyWhileFocusedOrHoveredWhenAsked) {
    QWidget window;
    auto* edit = new TEdit(&window);
    auto* other = new TEdit(&window);
    edit->SetShowIconOnlyWhenFocused(true);
    edit->SetIcon(SolidIcon(Qt::blue));
    window.show();
    other->setFocus();
    QApplication::setActiveWindow(&window);
    EXPECT_FALSE(edit->IconVisible());

    Enter(edit);
    EXPECT_TRUE(edit->MouseInClient());
    EXPECT_TRUE(edit->IconVisible());
    Leave(edit);
    EXPECT_FALSE(edit->IconVisible());

    edit->setFocus();
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &in);
    EXPECT_TRUE(edit->IconVisible());
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    other->setFocus();
    QApplication::sendEvent(edit, &out);
    EXPECT_FALSE(edit->IconVisible());
}

TEST(EditIcon, OtherMarginsAreKept) {
    TEdit edit;
    edit.setTextMargins(3, 1, 0, 2);
    edit.SetIcon(SolidIcon(Qt::red));
    EXPECT_EQ(edit.textMargins(), QMargins(3, 1, 18, 2));
    edit.SetIcon(QPixmap());
    EXPECT_EQ(edit.textMargins(), QMargins(3, 1, 0, 2));
}

// ---------------------------------------------------------------------------
// Edit: hint over the icon area

TEST(EditHint, OnlyOverTheRightmostTwentyTwoPixels) {
    TEdit edit;
    edit.resize(150, 24);
    edit.SetIcon(SolidIcon(Qt::red));
    edit.SetIconHint(QStringLiteral("Wybór ze słownika (Ctrl + Enter)"));
    edit.show();

    MoveMouse(&edit, 150 - 22, 5);
    EXPECT_TRUE(edit.toolTip().isEmpty());
    EXPECT_EQ(edit.cursor().shape(), Qt::IBeamCursor);

    MoveMouse(&edit, 150 - 21, 5);
    EXPECT_EQ(edit.toolTip(), QStringLiteral("Wybór ze słownika (Ctrl + Enter)"));
    EXPECT_EQ(edit.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Wybór ze słownika (Ctrl + Enter)"));

    MoveMouse(&edit, 10, 5);
    EXPECT_TRUE(edit.toolTip().isEmpty());
    EXPECT_EQ(edit.cursor().shape(), Qt::IBeamCursor);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

TEST(EditHint, NoHintWithoutAnIconHint) {
    TEdit edit;
    edit.resize(150, 24);
    edit.SetIcon(SolidIcon(Qt::red));
    edit.show();
    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    MoveMouse(&edit, 145, 5);
    EXPECT_TRUE(edit.toolTip().isEmpty());
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(edit.cursor().shape(), Qt::ArrowCursor);
}

// ---------------------------------------------------------------------------
// Edit: keys

struct KeyCounts {
    int dictionary = 0;
    int special = 0;
};

void WireCounts(TEdit& edit, KeyCounts& counts) {
    edit.SetOnDictionaryClick([&counts](TEdit*) { ++counts.dictionary; });
    edit.SetOnSpeciaButton([&counts](TEdit*) { ++counts.special; });
}

TEST(EditKeys, CtrlEnterCallsTheDictionaryOnlyWithAnIcon) {
    TEdit edit;
    KeyCounts counts;
    WireCounts(edit, counts);
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(counts.dictionary, 0);
    EXPECT_EQ(counts.special, 0);
    edit.SetIcon(SolidIcon(Qt::red));
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(&edit, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(counts.dictionary, 2);
    EXPECT_EQ(counts.special, 0);
}

TEST(EditKeys, EnterAndShiftEnterCallTheSpecialButton) {
    TEdit edit;
    KeyCounts counts;
    WireCounts(edit, counts);
    int returnPressed = 0;
    QObject::connect(&edit, &QLineEdit::returnPressed, [&] { ++returnPressed; });
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(counts.special, 2);
    EXPECT_EQ(counts.dictionary, 0);
    // The key is still handled as usual afterwards.
    EXPECT_EQ(returnPressed, 2);
    // Without handlers nothing happens.
    TEdit bare;
    QTest::keyClick(&bare, Qt::Key_Return);
    QTest::keyClick(&bare, Qt::Key_Return, Qt::ControlModifier);
}

TEST(EditKeys, OtherKeysTypeAsUsual) {
    TEdit edit;
    KeyCounts counts;
    WireCounts(edit, counts);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("ż"));
    QApplication::sendEvent(&edit, &press);
    edit.insert(QStringLiteral("ółw"));
    EXPECT_EQ(edit.text(), QStringLiteral("żółw"));
    EXPECT_EQ(counts.special + counts.dictionary, 0);
}

TEST(EditKeys, AHandlerMayFreeTheEdit) {
    auto* edit = new TEdit;
    edit->SetOnSpeciaButton([](TEdit* sender) { delete sender; });
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(edit, &press);
    SUCCEED();
}

// ---------------------------------------------------------------------------
// Label

TEST(Label, CaptionSetsWidthAlignmentAndNotifiesWithThePanel) {
    QWidget panel;
    auto* label = new TLabel(&panel);
    label->SetPanel(&panel);
    QList<QPair<TLabel*, QWidget*>> calls;
    label->SetOnChange([&calls](TLabel* l, QWidget* p) { calls.append({l, p}); });

    label->SetCaption(QStringLiteral("Nazwa skrócona"));
    const int textWidth = label->fontMetrics().horizontalAdvance(QStringLiteral("Nazwa skrócona"));
    EXPECT_EQ(label->width(), textWidth);
    EXPECT_TRUE(label->alignment() & Qt::AlignLeft);
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].first, label);
    EXPECT_EQ(calls[0].second, &panel);

    // Every setting notifies, also of the same text.
    label->SetCaption(QStringLiteral("Nazwa skrócona"));
    EXPECT_EQ(calls.size(), 2);
}

TEST(Label, IconLayoutLeavesRoomAtTheLeft) {
    TLabel label;
    label.SetCaption(QStringLiteral("Pesel"));
    const int textWidth = label.fontMetrics().horizontalAdvance(QStringLiteral("Pesel"));
    label.resize(label.width(), 20);
    label.SetIcon(SolidIcon(Qt::green));
    EXPECT_TRUE(label.IconLayout());
    EXPECT_EQ(label.width(), textWidth + TLabel::IconSpace);
    EXPECT_TRUE(label.alignment() & Qt::AlignRight);
    EXPECT_EQ(label.sizeHint().width(),
              QLabel(QStringLiteral("Pesel")).sizeHint().width() + TLabel::IconSpace);
    const QImage image = label.grab().toImage();
    EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::green));

    label.SetCaption(QStringLiteral("Numer PESEL"));
    EXPECT_EQ(label.width(),
              label.fontMetrics().horizontalAdvance(QStringLiteral("Numer PESEL")) + TLabel::IconSpace);
    EXPECT_TRUE(label.alignment() & Qt::AlignRight);

    label.SetIcon(QPixmap());
    EXPECT_FALSE(label.IconLayout());
    EXPECT_TRUE(label.alignment() & Qt::AlignLeft);
    label.SetCaption(QStringLiteral("Pesel"));
    EXPECT_EQ(label.width(), textWidth);
}

TEST(Label, AmpersandsAndMarkupAreShownAsWritten) {
    TLabel label;
    label.SetCaption(QStringLiteral("Kowalski & <b>Syn</b>"));
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
    EXPECT_EQ(label.Caption(), QStringLiteral("Kowalski & <b>Syn</b>"));
    EXPECT_EQ(label.width(), label.fontMetrics().horizontalAdvance(QStringLiteral("Kowalski & <b>Syn</b>")));
}

} // namespace

// A wrapped label answers every width as Qt's own label does, whatever changed in
// between: text, font, margin, indent, alignment, wrapping.
TEST(Label, WrappedHeightFollowsEveryChange) {
    QWidget parent;
    TLabel label(&parent);
    QLabel reference;
    reference.setTextFormat(Qt::PlainText);
    const QString longText = QStringLiteral("Nazwa organu prowadzącego ewidencję działalności gospodarczej");
    const std::function<void(QLabel*)> steps[] = {
        [](QLabel* L) { L->setWordWrap(true); },
        [&](QLabel* L) { L->setText(QStringLiteral("Imię")); },
        [&](QLabel* L) { L->setText(longText); },
        [](QLabel* L) { L->setFont(QFont(L->font().family(), 20)); },
        [](QLabel* L) { L->setMargin(9); },
        [](QLabel* L) { L->setIndent(30); },
        [](QLabel* L) { L->setContentsMargins(5, 5, 40, 5); },
        [](QLabel* L) { L->setText(L->text() + QStringLiteral("\nDruga linia")); },
        [](QLabel* L) { L->setWordWrap(false); },
    };
    int step = 0;
    for (const auto& change : steps) {
        change(&label);
        change(&reference);
        ++step;
        // Each width asked twice: the second answer comes from what the first one kept.
        for (int pass = 0; pass < 2; ++pass)
            for (int width : {60, 120, 400, 60, 1000, 37})
                ASSERT_EQ(label.heightForWidth(width), reference.heightForWidth(width))
                    << "step " << step << " width " << width;
    }
    // A font the label inherits from its parent counts as well.
    TLabel child(longText, &parent);
    child.setWordWrap(true);
    const int before = child.heightForWidth(80);
    QFont big = parent.font();
    big.setPointSize(big.pointSize() * 3);
    parent.setFont(big);
    EXPECT_GT(child.heightForWidth(80), before);
}
