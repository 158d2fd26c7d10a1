#include "uLoginForm.h"

#include "TEdit.h"
#include "uOperatorsControls.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

// Message shown when the backend refuses a login without saying why.
constexpr uint32_t kWrongLoginMessage = 21;

constexpr int kEditWidth = 200;

} // namespace

TLoginForm::TLoginForm(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase)
    : TForm(OwnerForm), FEwidarDataBase(EwidarDataBase) {
    setObjectName(QStringLiteral("LoginForm"));
    setWindowTitle(QStringLiteral("Logowanie do ewidary"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    edtLogin = OperatorsControls::NamedEdit(this, "edtLogin", kEditWidth);
    edtPassword = OperatorsControls::NamedEdit(this, "edtPassword", kEditWidth);
    edtPassword->setEchoMode(QLineEdit::Password);
    // The password shows one "*" per character.
    edtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    lblLogin = OperatorsControls::NamedLabel(this, "lblLogin", QStringLiteral("Login:"), edtLogin);
    lblPassword = OperatorsControls::NamedLabel(this, "lblPassword", QStringLiteral("Hasło:"), edtPassword);

    btnZaloguj = new QPushButton(QStringLiteral("Zaloguj"), this);
    btnZaloguj->setObjectName(QStringLiteral("btnZaloguj"));
    btnZaloguj->setDefault(true);
    btnAnuluj = new QPushButton(QStringLiteral("Anuluj"), this);
    btnAnuluj->setObjectName(QStringLiteral("btnAnuluj"));

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(6);
    fields->addWidget(lblLogin, 0, 0);
    fields->addWidget(edtLogin, 0, 1);
    fields->addWidget(lblPassword, 1, 0);
    fields->addWidget(edtPassword, 1, 1);
    OperatorsControls::LayOutFieldsAndButtons(this, fields, {btnZaloguj, btnAnuluj});

    connect(btnZaloguj, &QPushButton::clicked, this, &TLoginForm::btnZalogujClick);
    // Escape and the window's close box reject the dialog as well: the status stays lfsCancel.
    connect(btnAnuluj, &QPushButton::clicked, this, &QDialog::reject);
    edtLogin->setFocus();
}

void TLoginForm::btnZalogujClick() {
    if (!FEwidarDataBase)
        return;
    if (FEwidarDataBase->Login(toU16(edtLogin->text()), toU16(edtPassword->text()))) {
        FLoginFormStatus = lfsLogged;
        accept();
        return;
    }
    // A refusal never goes unexplained: without a code of its own the backend's
    // refusal reads as a wrong login or password.
    const int32_t code = FEwidarDataBase->GetLastErrorCode();
    ShowUserMessage(code != 0 ? static_cast<uint32_t>(code) : kWrongLoginMessage, this);
}

TLoginFormStatus ShowLogin(QWidget* Owner, IEwidarDataBase* EwidarDataBase, QString* Login) {
    if (!EwidarDataBase)
        return lfsCancel;
    TLoginForm form(Owner, EwidarDataBase);
    form.exec();
    if (Login && form.LoginFormStatus() == lfsLogged)
        *Login = form.edtLogin->text();
    return form.LoginFormStatus();
}
