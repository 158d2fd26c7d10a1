// The shared progress window: layouts, the painted strip, cancel, the owner.

#include "TestSupport.h"
#include "uLoadingForm.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using namespace uLoadingForm;

class LoadingFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_owner.resize(800, 600);
        m_owner.move(100, 100);
        m_owner.show();
    }
    void TearDown() override { HideLoading(); }

    QWidget m_owner;
};

TEST_F(LoadingFormTest, OwnerIsDisabledWhileTheWindowExists) {
    ShowLoading(&m_owner, TLayout::lCaption, QStringLiteral("Trwa łączenie..."), 0);
    ASSERT_NE(LoadingForm(), nullptr);
    EXPECT_FALSE(m_owner.isEnabled());
    EXPECT_TRUE(LoadingForm()->isVisible());
    EXPECT_EQ(LoadingForm()->Caption(), QStringLiteral("Trwa łączenie..."));
    HideLoading();
    EXPECT_EQ(LoadingForm(), nullptr);
    EXPECT_TRUE(m_owner.isEnabled());
}

TEST_F(LoadingFormTest, LayoutsShowTheirParts) {
    ShowLoading(&m_owner, TLayout::lCaption, QStringLiteral("a"), 0);
    auto* form = LoadingForm();
    auto* caption = form->findChild<QLabel*>(QStringLiteral("lblCaption"));
    auto* strip = form->findChild<QWidget*>(QStringLiteral("pnlProgress"));
    auto* cancel = form->findChild<QToolButton*>(QStringLiteral("btnCancel"));
    ASSERT_TRUE(caption && strip && cancel);
    EXPECT_TRUE(caption->isVisible());
    EXPECT_FALSE(strip->isVisible());
    EXPECT_FALSE(cancel->isVisible());

    ShowLoading(&m_owner, TLayout::lProgressBar, QStringLiteral("a"), 10);
    EXPECT_FALSE(caption->isVisible());
    EXPECT_TRUE(strip->isVisible());
    EXPECT_TRUE(cancel->isVisible());

    ShowLoading(&m_owner, TLayout::lCaptionProgressBar, QStringLiteral("Importowanie danych..."), 20);
    EXPECT_TRUE(caption->isVisible());
    EXPECT_TRUE(strip->isVisible());
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_EQ(cancel->text(), QStringLiteral("Anuluj"));

    // lNone changes no visibility.
    ShowLoading(&m_owner, TLayout::lNone, QStringLiteral("a"), 30);
    EXPECT_TRUE(caption->isVisible());
    EXPECT_TRUE(strip->isVisible());
}

TEST_F(LoadingFormTest, CentredOverTheOwnerOnlyWhenTheLayoutChanges) {
    ShowLoading(&m_owner, TLayout::lCaption, QStringLiteral("a"), 0);
    auto* form = LoadingForm();
    EXPECT_EQ(form->geometry().center().x() / 2, m_owner.frameGeometry().center().x() / 2);
    form->move(5, 5);
    ShowLoading(&m_owner, TLayout::lCaption, QStringLiteral("b"), 50);
    EXPECT_EQ(form->pos(), QPoint(5, 5));
    ShowLoading(&m_owner, TLayout::lCaptionProgressBar, QStringLiteral("b"), 50);
    EXPECT_NE(form->pos(), QPoint(5, 5));
}

TEST_F(LoadingFormTest, StripPaintsTheRoundedShareAndTheText) {
    ShowLoading(&m_owner, TLayout::lProgressBar, QString(), 0);
    auto* strip = LoadingForm()->findChild<TProgressStrip*>(QStringLiteral("pnlProgress"));
    ASSERT_TRUE(strip);
    auto* mirror = LoadingForm()->findChild<QLabel*>(QStringLiteral("FProgressLabel"));
    ASSERT_TRUE(mirror);
    const QColor fill(0xA6, 0xCA, 0xF0);

    EXPECT_EQ(strip->filledWidth(), 0);
    EXPECT_EQ(mirror->text(), QStringLiteral("0%"));
    QImage img = strip->grab().toImage();
    EXPECT_NE(img.pixelColor(1, 1), fill);

    ShowLoading(&m_owner, TLayout::lProgressBar, QString(), 100);
    EXPECT_EQ(strip->filledWidth(), strip->width());
    EXPECT_EQ(mirror->text(), QStringLiteral("100%"));
    img = strip->grab().toImage();
    EXPECT_EQ(img.pixelColor(1, 1), fill); // inside the one-pixel border
    EXPECT_EQ(img.pixelColor(img.width() - 2, 1), fill);

    // The filled width is rounded to the nearest pixel.
    strip->setFixedWidth(333);
    strip->setProcent(50);
    EXPECT_EQ(strip->filledWidth(), 167); // 166.5 rounds up
    strip->setProcent(1);
    EXPECT_EQ(strip->filledWidth(), 3); // 3.33
}

TEST_F(LoadingFormTest, CancelIsRememberedUntilHidden) {
    EXPECT_EQ(ShowLoading(&m_owner, TLayout::lCaptionProgressBar, QStringLiteral("x"), 5),
              TCloseType::ctNormal);
    auto* cancel = LoadingForm()->findChild<QToolButton*>(QStringLiteral("btnCancel"));
    ASSERT_TRUE(cancel);
    EXPECT_TRUE(cancel->isEnabled()); // the disabled owner does not disable its progress window
    cancel->click();
    EXPECT_FALSE(LoadingForm()->isVisible());
    EXPECT_EQ(ShowLoading(&m_owner, TLayout::lCaptionProgressBar, QStringLiteral("x"), 6),
              TCloseType::ctCancelProgress);
    EXPECT_EQ(ShowLoading(&m_owner, TLayout::lCaption, QStringLiteral("x"), 7), TCloseType::ctCancelProgress);
    HideLoading();
    EXPECT_EQ(ShowLoading(&m_owner, TLayout::lCaption, QStringLiteral("x"), 0), TCloseType::ctNormal);
}

TEST_F(LoadingFormTest, HideWithoutAnInstanceDoesNothing) {
    HideLoading();
    HideLoading();
    EXPECT_EQ(LoadingForm(), nullptr);
    EXPECT_TRUE(m_owner.isEnabled());
}

TEST_F(LoadingFormTest, WithoutAnOwnerItIsCentredOnTheScreen) {
    ShowLoading(nullptr, TLayout::lCaption, QStringLiteral("x"), 0);
    ASSERT_NE(LoadingForm(), nullptr);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE(std::abs(LoadingForm()->geometry().center().x() - screen.center().x()), 1);
}

} // namespace
