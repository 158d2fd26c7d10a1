// Window placement, the frame's window and panel list.
#include "TForm.h"
#include "TFrame.h"
#include "TestSupport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <optional>

namespace {

QRect ScreenRect() {
    return QGuiApplication::primaryScreen()->geometry();
}

// ---------------------------------------------------------------------------
// Placement rules

TEST(FormPlacement, CentredOverTheOwner) {
    const QRect screen(0, 0, 1280, 1024);
    EXPECT_EQ(TForm::WindowPosition(QRect(100, 100, 600, 400), QSize(300, 150), screen), QPoint(250, 225));
    // Rounded towards zero: (100 - 151) / 2 = -25.
    EXPECT_EQ(TForm::WindowPosition(QRect(500, 500, 100, 100), QSize(151, 151), screen), QPoint(475, 475));
}

TEST(FormPlacement, WithoutOwnerCentredOnTheScreen) {
    EXPECT_EQ(TForm::WindowPosition(std::nullopt, QSize(400, 300), QRect(0, 0, 1280, 1024)),
              QPoint(440, 362));
}

TEST(FormPlacement, KeptThirtyFivePixelsAboveTheBottomEdge) {
    const QRect screen(0, 0, 1280, 1024);
    // Centred over an owner near the bottom the window would end at 1000.
    const QPoint p = TForm::WindowPosition(QRect(400, 800, 400, 200), QSize(300, 300), screen);
    EXPECT_EQ(p, QPoint(450, 1024 - 300 - 35));
    // Ending exactly 35 pixels above the edge is left alone.
    EXPECT_EQ(TForm::WindowPosition(QRect(400, 689, 300, 300), QSize(300, 300), screen), QPoint(400, 689));
    EXPECT_EQ(TForm::WindowPosition(QRect(400, 690, 300, 300), QSize(300, 300), screen), QPoint(400, 689));
}

TEST(FormPlacement, KeptInsideTheRightAndLeftEdges) {
    const QRect screen(0, 0, 1280, 1024);
    EXPECT_EQ(TForm::WindowPosition(QRect(1100, 100, 300, 300), QSize(400, 200), screen), QPoint(880, 150));
    EXPECT_EQ(TForm::WindowPosition(QRect(-100, 100, 300, 300), QSize(400, 200), screen), QPoint(0, 150));
    EXPECT_EQ(TForm::WindowPosition(QRect(100, -250, 300, 300), QSize(400, 400), screen), QPoint(50, 0));
}

TEST(FormPlacement, LargerThanTheScreenSitsAtTheOrigin) {
    const QRect screen(0, 0, 1280, 1024);
    EXPECT_EQ(TForm::WindowPosition(std::nullopt, QSize(1500, 1100), screen), QPoint(0, 0));
    EXPECT_EQ(TForm::WindowPosition(QRect(200, 200, 300, 300), QSize(1500, 1100), screen), QPoint(0, 0));
    // Taller than the screen less the taskbar margin only.
    EXPECT_EQ(TForm::WindowPosition(std::nullopt, QSize(200, 1000), screen), QPoint(540, 0));
}

TEST(FormPlacement, OwnerWhollyOffTheScreenKeepsTheCentredPosition) {
    const QRect screen(0, 0, 1280, 1024);
    EXPECT_EQ(TForm::WindowPosition(QRect(1280, 100, 300, 300), QSize(100, 100), screen), QPoint(1380, 200));
    EXPECT_EQ(TForm::WindowPosition(QRect(-300, 100, 300, 300), QSize(100, 100), screen), QPoint(-200, 200));
    EXPECT_EQ(TForm::WindowPosition(QRect(100, 1024, 300, 300), QSize(100, 100), screen), QPoint(200, 1124));
    EXPECT_EQ(TForm::WindowPosition(QRect(100, -300, 300, 300), QSize(100, 100), screen), QPoint(200, -200));
    // One pixel on the screen is enough to be clamped.
    EXPECT_EQ(TForm::WindowPosition(QRect(1279, 100, 300, 300), QSize(100, 100), screen), QPoint(1180, 200));
}

TEST(FormPlacement, ScreenWithAnOffsetOrigin) {
    const QRect screen(-1280, 0, 1280, 1024);
    EXPECT_EQ(TForm::WindowPosition(std::nullopt, QSize(400, 300), screen), QPoint(-840, 362));
    EXPECT_EQ(TForm::WindowPosition(QRect(-200, 900, 300, 100), QSize(400, 300), screen), QPoint(-400, 689));
}

// ---------------------------------------------------------------------------
// The real window

TEST(Form, HiddenUntilShownThenPlacedOnceOverItsOwner) {
    const QRect screen = ScreenRect();
    QWidget owner;
    owner.setGeometry(screen.x() + 100, screen.bottom() - 150, 300, 200);
    TForm form(&owner);
    form.resize(200, 200);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.FirstActivation());
    form.show();
    EXPECT_FALSE(form.FirstActivation());
    // Sizes include the window frame, known once the window is shown.
    const QRect frame = form.frameGeometry();
    EXPECT_EQ(frame.bottom() + 1, screen.bottom() + 1 - TForm::TaskbarMargin);
    EXPECT_EQ(frame.x(), owner.frameGeometry().x() + (owner.frameGeometry().width() - frame.width()) / 2);

    // Shown again after a move: it stays where it was put.
    form.hide();
    form.move(screen.x() + 5, screen.y() + 5);
    form.show();
    EXPECT_EQ(form.pos(), QPoint(screen.x() + 5, screen.y() + 5));
}

TEST(Form, PlacedAgainOnRequestAfterAResize) {
    const QRect screen = ScreenRect();
    TForm form;
    form.resize(100, 100);
    form.show();
    const QSize frame = form.frameGeometry().size();
    EXPECT_EQ(form.pos(), QPoint(screen.x() + (screen.width() - frame.width()) / 2,
                                 screen.y() + (screen.height() - frame.height()) / 2));
    form.resize(screen.width() + 50, 100);
    form.PlaceWindow();
    EXPECT_EQ(form.pos().x(), screen.x());
}

TEST(Form, WhiteBackgroundAndBlackText) {
    TForm form;
    EXPECT_TRUE(form.autoFillBackground());
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_EQ(form.palette().color(QPalette::WindowText), QColor(0, 0, 0));
    form.resize(50, 50);
    const QImage image = form.grab().toImage();
    EXPECT_EQ(image.pixelColor(25, 25), QColor(255, 255, 255));
}

TEST(Form, OwnerGoneMeansCentredOnTheScreen) {
    auto owner = std::make_unique<QWidget>();
    owner->setGeometry(ScreenRect().x(), ScreenRect().y(), 50, 50);
    TForm form(owner.get());
    owner.reset();
    EXPECT_EQ(form.OwnerWindow(), nullptr);
    form.resize(100, 100);
    form.show();
    const QSize frame = form.frameGeometry().size();
    EXPECT_EQ(form.pos(), QPoint(ScreenRect().x() + (ScreenRect().width() - frame.width()) / 2,
                                 ScreenRect().y() + (ScreenRect().height() - frame.height()) / 2));
}

// ---------------------------------------------------------------------------
// Frame

class FakeField : public TInterfacedObject<IDataField> {
public:
    explicit FakeField(std::u16string symbol) : m_symbol(std::move(symbol)) {}
    void SetCaption(const std::u16string&) override {}
    void SetValue(const std::u16string&) override {}
    void SetFieldType(const std::u16string&) override {}
    std::u16string GetSymbol() override { return m_symbol; }
    std::u16string GetCaption() override { return {}; }
    std::u16string GetValue() override { return {}; }
    std::u16string GetFieldType() override { return {}; }

private:
    std::u16string m_symbol;
};

class FakePanel : public QWidget, public IFramePanel {
public:
    explicit FakePanel(QWidget* parent, const QString& symbol = QString()) : QWidget(parent) {
        if (!symbol.isEmpty())
            m_field = MakeIntf<IDataField, FakeField>(symbol.toStdU16String());
    }
    TIntfPtr<IDataField> FramePanelDataField() const override { return m_field; }

private:
    TIntfPtr<IDataField> m_field;
};

TEST(Frame, FindsTheNearestEnclosingFormAndKeepsIt) {
    TForm outer;
    auto* inner = new TForm(nullptr, &outer);
    auto* box = new QWidget(inner);
    auto* frame = new TFrame(box);
    EXPECT_EQ(frame->ParentForm(), inner);

    TForm other;
    frame->setParent(&other);
    EXPECT_EQ(frame->ParentForm(), inner);
}

TEST(Frame, WithoutAFormItLooksAgainLater) {
    TForm form;
    auto* plain = new QWidget;
    auto* frame = new TFrame(plain);
    EXPECT_EQ(frame->ParentForm(), nullptr);
    plain->setParent(&form);
    EXPECT_EQ(frame->ParentForm(), &form);
}

TEST(Frame, PanelsJoinOnceInOrderAndLeaveWhenFreed) {
    TFrame frame;
    auto* a = new FakePanel(&frame, QStringLiteral("cA"));
    auto* b = new FakePanel(&frame, QStringLiteral("cB"));
    frame.AddPanel(a);
    frame.AddPanel(b);
    frame.AddPanel(a);
    frame.AddPanel(nullptr);
    EXPECT_EQ(frame.Panels(), (QList<QWidget*>{a, b}));
    delete a;
    EXPECT_EQ(frame.Panels(), (QList<QWidget*>{b}));
    EXPECT_FALSE(frame.SymbolExists(QStringLiteral("cA")));
    frame.RemovePanel(b);
    EXPECT_TRUE(frame.Panels().isEmpty());
    EXPECT_TRUE(frame.FPanelList.isEmpty());
}

TEST(Frame, SymbolExistsIgnoresCaseAndSkipsPanelsWithoutAField) {
    TFrame frame;
    frame.AddPanel(new FakePanel(&frame));
    frame.AddPanel(new QWidget(&frame));
    frame.AddPanel(new FakePanel(&frame, QStringLiteral("cDanePodmiotuREGON")));
    frame.AddPanel(new FakePanel(&frame, QStringLiteral("cŻółwiaPole")));
    EXPECT_TRUE(frame.SymbolExists(QStringLiteral("CDANEPODMIOTUREGON")));
    EXPECT_TRUE(frame.SymbolExists(QStringLiteral("cdanepodmioturegon")));
    EXPECT_TRUE(frame.SymbolExists(QStringLiteral("CŻÓŁWIAPOLE")));
    EXPECT_FALSE(frame.SymbolExists(QStringLiteral("cDanePodmiotu")));
    EXPECT_FALSE(frame.SymbolExists(QString()));
    // A panel that is not in the list does not count.
    new FakePanel(&frame, QStringLiteral("cInne"));
    EXPECT_FALSE(frame.SymbolExists(QStringLiteral("cInne")));
}

} // namespace
