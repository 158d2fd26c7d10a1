// The login window: the texts go to the backend exactly as typed, a refusal keeps
// the window open with the backend's message, Enter, Escape and the close box.

#include "FakeDataBase.h"
#include "FakeMessagePresenter.h"
#include "TEdit.h"
#include "TestSupport.h"
#include "uLoginForm.h"
#include "uUserMessagesModule.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Accepts one login and password; otherwise refuses with a code.
class LoginDataBase : public TFakeDataBase {
public:
    bool Login(const std::u16string& L, const std::u16string& P) override {
        Calls.emplace_back(L, P);
        const bool ok = L == Login_ && P == Password;
        m_errorCode = ok ? 0 : RefusalCode;
        return ok;
    }
    std::u16string Login_ = u"jan";
    std::u16string Password = u"tajne";
    int32_t RefusalCode = 21;
    std::vector<std::pair<std::u16string, std::u16string>> Calls;
};

class LoginTest : public ::testing::Test {
protected:
    void SetUp() override { Db = MakeIntf<LoginDataBase, LoginDataBase>(); }

    // Shows the window and runs Action on it once it is up.
    TLoginFormStatus Show(std::function<void(TLoginForm*)> Action) {
        TestSupport::WhenModal([Action](QWidget* w) {
            auto* form = qobject_cast<TLoginForm*>(w);
            if (!form) {
                ADD_FAILURE() << "expected the login window";
                w->close();
                return;
            }
            Action(form);
        });
        return ShowLogin(&Owner, Db.get());
    }

    QWidget Owner;
    FakeMessagePresenter Messages;
    TIntfPtr<LoginDataBase> Db;
};

} // namespace

TEST_F(LoginTest, WithoutARootObjectNothingIsShown) {
    bool shown = false;
    TestSupport::WhenModal(
        [&](QWidget* w) {
            shown = true;
            w->close();
        },
        200);
    EXPECT_EQ(ShowLogin(&Owner, nullptr), lfsCancel);
    QTest::qWait(250);
    EXPECT_FALSE(shown);
}

TEST_F(LoginTest, WindowHasItsCaptionLabelsMaskedPasswordAndButtons) {
    TLoginForm form(&Owner, Db.get());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Logowanie do ewidary"));
    EXPECT_EQ(form.lblLogin->text(), QStringLiteral("Login:"));
    EXPECT_EQ(form.lblPassword->text(), QStringLiteral("Hasło:"));
    EXPECT_EQ(form.lblLogin->buddy(), form.edtLogin);
    EXPECT_EQ(form.edtLogin->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(form.edtPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(form.btnZaloguj->text(), QStringLiteral("Zaloguj"));
    EXPECT_EQ(form.btnAnuluj->text(), QStringLiteral("Anuluj"));
    EXPECT_TRUE(form.btnZaloguj->isDefault());
    EXPECT_EQ(form.LoginFormStatus(), lfsCancel);
    // The mask character is "*".
    form.show();
    form.edtPassword->setText(QStringLiteral("ab"));
    EXPECT_EQ(form.edtPassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                   form.edtPassword),
              '*');
}

TEST_F(LoginTest, EnterWithEmptyBoxesSendsEmptyTexts) {
    Db->Login_.clear();
    Db->Password.clear();
    const TLoginFormStatus status = Show([](TLoginForm* f) { QTest::keyClick(f->edtLogin, Qt::Key_Return); });
    EXPECT_EQ(status, lfsLogged);
    ASSERT_EQ(Db->Calls.size(), 1u);
    EXPECT_EQ(Db->Calls[0], std::make_pair(std::u16string(), std::u16string()));
}

TEST_F(LoginTest, TextsGoToTheBackendExactlyAsTyped) {
    Db->Login_ = u" Łukasz ";
    Db->Password = u"zażółć gęślą ";
    const TLoginFormStatus status = Show([](TLoginForm* f) {
        f->edtLogin->insert(QStringLiteral(" Łukasz "));
        f->edtPassword->insert(QStringLiteral("zażółć gęślą "));
        QTest::keyClick(f->edtPassword, Qt::Key_Enter);
    });
    EXPECT_EQ(status, lfsLogged);
    ASSERT_EQ(Db->Calls.size(), 1u);
    EXPECT_EQ(Db->Calls[0].first, u" Łukasz ");
    EXPECT_EQ(Db->Calls[0].second, u"zażółć gęślą ");
    EXPECT_EQ(Messages.Count(), 0);
}

TEST_F(LoginTest, RefusalsKeepTheWindowOpenWithTheBackendsMessage) {
    int stillOpen = 0;
    const TLoginFormStatus status = Show([&](TLoginForm* f) {
        f->edtLogin->setText(QStringLiteral("jan"));
        f->edtPassword->setText(QStringLiteral("zle"));
        for (int i = 0; i < 3; ++i) {
            f->btnZaloguj->click();
            stillOpen += f->isVisible() ? 1 : 0;
        }
        EXPECT_EQ(f->edtLogin->text(), QStringLiteral("jan"));
        EXPECT_EQ(f->edtPassword->text(), QStringLiteral("zle"));
        f->edtPassword->setText(QStringLiteral("tajne"));
        f->btnZaloguj->click();
    });
    EXPECT_EQ(stillOpen, 3);
    EXPECT_EQ(status, lfsLogged);
    EXPECT_EQ(Db->Calls.size(), 4u);
    ASSERT_EQ(Messages.Count(), 3);
    EXPECT_EQ(Messages.Last().Text, QStringLiteral("Błędna nazwa użytkownika lub hasło."));
}

TEST_F(LoginTest, RefusalCarriesTheBackendsOwnCodeAndNeverGoesUnexplained) {
    Db->RefusalCode = 20;
    Show([](TLoginForm* f) {
        f->btnZaloguj->click();
        f->reject();
    });
    ASSERT_EQ(Messages.Count(), 1);
    EXPECT_EQ(Messages.Last().Text, UserMessagesModule()->FindUserMessage(20).errMsg);
    // A refusal without a code reads as a wrong login or password.
    Db->RefusalCode = 0;
    Show([](TLoginForm* f) {
        f->btnZaloguj->click();
        f->reject();
    });
    ASSERT_EQ(Messages.Count(), 2);
    EXPECT_EQ(Messages.Last().Text, QStringLiteral("Błędna nazwa użytkownika lub hasło."));
}

TEST_F(LoginTest, EscapeCancelAndTheCloseBoxReturnCancel) {
    EXPECT_EQ(Show([](TLoginForm* f) { QTest::keyClick(f->edtLogin, Qt::Key_Escape); }), lfsCancel);
    EXPECT_EQ(Show([](TLoginForm* f) { f->btnAnuluj->click(); }), lfsCancel);
    EXPECT_EQ(Show([](TLoginForm* f) {
                  f->edtLogin->setText(QStringLiteral("jan"));
                  f->edtPassword->setText(QStringLiteral("tajne"));
                  f->close();
              }),
              lfsCancel);
    EXPECT_TRUE(Db->Calls.empty());
}
