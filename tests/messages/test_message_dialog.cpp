// The real message dialog: its look, its buttons' results and where it appears.

#include "TestSupport.h"
#include "uUserMessagesModule.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace ModalResult;

QRect ScreenRect() {
    return QGuiApplication::primaryScreen()->geometry();
}

QStringList ButtonCaptions(const QWidget* dialog) {
    QStringList captions;
    // Children are listed in creation order, which is the left-to-right order.
    for (const QPushButton* b : dialog->findChildren<QPushButton*>())
        captions << b->text();
    return captions;
}

TMessageRequest Request202() {
    const TUserMessagesModule module(nullptr);
    const TUserMessageRecord entry = module.FindUserMessage(202);
    TMessageRequest r;
    r.Title = QStringLiteral("Ewidar Quor");
    r.Text = entry.errMsg;
    r.Icon = entry.errIcon;
    r.Buttons = TUserMessagesModule::DialogButtons(entry.Buttons);
    return r;
}

// Shows a message through the module and the real dialogs; action runs on the dialog.
int ShowAndAct(uint32_t code, QWidget* owner, std::function<void(QWidget*)> action) {
    TUserMessagesModule module(nullptr);
    TestSupport::WhenModal(std::move(action));
    return module.ShowUserMessage(owner, code);
}

TEST(MessageDialog, LooksLikeTheSystemsMessageBox) {
    const std::unique_ptr<QDialog> dialog = TDialogMessagePresenter::CreateDialog(Request202());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Ewidar Quor"));
    EXPECT_EQ(dialog->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(dialog->autoFillBackground());
    EXPECT_EQ(dialog->palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_EQ(ButtonCaptions(dialog.get()),
              (QStringList{QStringLiteral("Powiązania"), QStringLiteral("Zamknij")}));
    auto* first = dialog->findChild<QPushButton*>(QStringLiteral("OK"));
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isDefault());
    ASSERT_NE(dialog->findChild<QPushButton*>(QStringLiteral("Close")), nullptr);

    auto* text = dialog->findChild<QLabel*>(QStringLiteral("Message"));
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(text->text().contains(QLatin1Char('\r')));
    EXPECT_EQ(text->text().count(QLatin1Char('\n')), 3);
    EXPECT_TRUE(text->text().startsWith(QStringLiteral("Nie można usunąć danych")));
    auto* image = dialog->findChild<QLabel*>(QStringLiteral("Image"));
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->pixmap().isNull());
    // Every line of the text is inside the dialog.
    EXPECT_LE(text->geometry().right(), dialog->width());
    EXPECT_GE(text->height(), text->fontMetrics().lineSpacing() * 4);
}

TEST(MessageDialog, LongLinesWrapWithinHalfTheScreen) {
    const TUserMessagesModule module(nullptr);
    TMessageRequest r;
    r.Text = module.FindUserMessage(307).errMsg;
    r.Buttons = TUserMessagesModule::DialogButtons(module.FindUserMessage(307).Buttons);
    const std::unique_ptr<QDialog> dialog = TDialogMessagePresenter::CreateDialog(r);
    auto* text = dialog->findChild<QLabel*>(QStringLiteral("Message"));
    ASSERT_NE(text, nullptr);
    EXPECT_LE(text->width(), ScreenRect().width() / 2 + 2);
    EXPECT_LE(dialog->width(), ScreenRect().width());
}

TEST(MessageDialog, ButtonsReturnTheirDialogResults) {
    TestSupport::AnswerModalWithButton(QStringLiteral("Zamknij"));
    EXPECT_EQ(TUserMessagesModule(nullptr).ShowUserMessage(nullptr, 202), mrClose);
    TestSupport::AnswerModalWithButton(QStringLiteral("Powiązania"));
    EXPECT_EQ(TUserMessagesModule(nullptr).ShowUserMessage(nullptr, 202), mrOk);
    TestSupport::AnswerModalWithButton(QStringLiteral("Ok"));
    EXPECT_EQ(TUserMessagesModule(nullptr).ShowUserMessage(nullptr, 309), mrYes);
    TestSupport::AnswerModalWithButton(QStringLiteral("Tak"));
    EXPECT_EQ(TUserMessagesModule(nullptr).ShowUserMessage(nullptr, 300), mrYes);
    TestSupport::AnswerModalWithButton(QStringLiteral("Ok"));
    EXPECT_EQ(TUserMessagesModule(nullptr).ShowUserMessage(nullptr, 1), mrOk);
}

TEST(MessageDialog, EscapeAndTheCloseBoxNeverAnswerYes) {
    EXPECT_EQ(ShowAndAct(300, nullptr, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }), mrNo);
    EXPECT_EQ(ShowAndAct(202, nullptr, [](QWidget* w) { w->close(); }), mrClose);
    EXPECT_EQ(ShowAndAct(103, nullptr, [](QWidget* w) { w->close(); }), mrOk);
}

TEST(MessageDialog, EnterPressesTheFirstButton) {
    EXPECT_EQ(ShowAndAct(202, nullptr, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }), mrOk);
}

TEST(MessageDialog, CentredOverItsOwner) {
    QWidget owner;
    owner.setGeometry(ScreenRect().x() + 100, ScreenRect().y() + 100, 500, 400);
    QRect shown;
    ShowAndAct(305, &owner, [&shown](QWidget* w) {
        shown = w->frameGeometry();
        w->close();
    });
    ASSERT_TRUE(shown.isValid());
    EXPECT_EQ(shown.x(), owner.frameGeometry().x() + (owner.frameGeometry().width() - shown.width()) / 2);
    EXPECT_EQ(shown.y(), owner.frameGeometry().y() + (owner.frameGeometry().height() - shown.height()) / 2);
}

TEST(MessageDialog, OwnerNearTheRightEdgeCentresOnTheScreen) {
    const QRect screen = ScreenRect();
    QWidget owner;
    owner.setGeometry(screen.right() - 60, screen.y() + 100, 120, 300);
    QRect shown;
    ShowAndAct(202, &owner, [&shown](QWidget* w) {
        shown = w->frameGeometry();
        w->close();
    });
    ASSERT_TRUE(shown.isValid());
    EXPECT_EQ(shown.x(), screen.x() + (screen.width() - shown.width()) / 2);
    EXPECT_EQ(shown.y(), screen.y() + (screen.height() - shown.height()) / 2);
    EXPECT_LE(shown.right(), screen.right());
}

TEST(MessageDialog, OwnerIsAChildWidgetOfItsWindow) {
    QWidget window;
    window.setGeometry(ScreenRect().x() + 50, ScreenRect().y() + 60, 600, 450);
    auto* child = new QWidget(&window);
    child->setGeometry(10, 10, 20, 20);
    QWidget* parent = nullptr;
    QRect shown;
    ShowAndAct(305, child, [&](QWidget* w) {
        parent = w->parentWidget();
        shown = w->frameGeometry();
        w->close();
    });
    EXPECT_EQ(parent, &window);
    EXPECT_EQ(shown.center().x(), QRect(window.frameGeometry()).center().x());
}

} // namespace
