#include "uOperatorForm.h"

#include "TCheckBox.h"
#include "TEdit.h"
#include "uMessagePresenter.h"
#include "uOperatorsControls.h"
#include "uStrings.h"
#include "uUserMessagesModule.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

// "Login operatora nie może być pusta."
constexpr uint32_t kEmptyLoginMessage = 324;

constexpr int kEditWidth = 240;

const QString kPasswordsDiffer = QStringLiteral("Hasła nie są zgodne: wpisz to samo hasło w obu polach.");

TEdit* NamedEdit(QWidget* Parent, const char* Name) {
    return OperatorsControls::NamedEdit(Parent, Name, kEditWidth);
}

} // namespace

TOperatorForm::TOperatorForm(QWidget* OwnerForm, TFormMode FormMode, TNodeData* NodeData)
    : TForm(OwnerForm), FFormMode(FormMode), FNodeData(NodeData) {
    setObjectName(QStringLiteral("OperatorForm"));
    setWindowTitle(QStringLiteral("OperatorForm"));
    CreateComponents();
    if (FFormMode == fmEdit && FNodeData && FNodeData->User) {
        ReadOperator(FNodeData->User.get());
        Label1->setText(QStringLiteral("Ustaw nowe hasło"));
        chkChangePassword->setVisible(true);
        chkChangePasswordClick();
    } else {
        Label1->setText(QStringLiteral("Hasło"));
        chkChangePassword->setVisible(false);
    }
    lbledtLogin->setFocus();
}

void TOperatorForm::CreateComponents() {
    // Created in tab order: the password follows "Zmień hasło", which unlocks it.
    lbledtLogin = NamedEdit(this, "lbledtLogin");
    chkChangePassword = new TCheckBox(QStringLiteral("Zmień hasło"), this);
    chkChangePassword->setObjectName(QStringLiteral("chkChangePassword"));
    chkChangePassword->SetOnChange([this](TCheckBox*) { chkChangePasswordClick(); });
    medtPassword = NamedEdit(this, "medtPassword");
    medtPassword->setEchoMode(QLineEdit::Password);
    // The password shows one "*" per character.
    medtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    medtPasswordAgain = NamedEdit(this, "medtPasswordAgain");
    medtPasswordAgain->setEchoMode(QLineEdit::Password);
    medtPasswordAgain->setStyleSheet(medtPassword->styleSheet());
    edtFirstName = NamedEdit(this, "edtFirstName");
    edtLastName = NamedEdit(this, "edtLastName");
    edtPhone = NamedEdit(this, "edtPhone");
    edtEmail = NamedEdit(this, "edtEmail");
    lbledtLoginLabel =
        OperatorsControls::NamedLabel(this, "lbledtLoginLabel", QStringLiteral("Login"), lbledtLogin);
    Label1 = OperatorsControls::NamedLabel(this, "Label1", QStringLiteral("Hasło"), medtPassword);
    lblPasswordAgain = OperatorsControls::NamedLabel(this, "lblPasswordAgain",
                                                     QStringLiteral("Powtórz hasło"), medtPasswordAgain);
    lblFirstName = OperatorsControls::NamedLabel(this, "lblFirstName", QStringLiteral("Imię"), edtFirstName);
    lblLastName = OperatorsControls::NamedLabel(this, "lblLastName", QStringLiteral("Nazwisko"), edtLastName);
    lblPhone = OperatorsControls::NamedLabel(this, "lblPhone", QStringLiteral("Telefon"), edtPhone);
    lblEmail = OperatorsControls::NamedLabel(this, "lblEmail", QStringLiteral("Email"), edtEmail);
    btnPost = new QPushButton(QStringLiteral("OK"), this);
    btnPost->setObjectName(QStringLiteral("btnPost"));
    btnPost->setDefault(true);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(10);
    fields->setVerticalSpacing(6);
    const std::pair<QLabel*, QWidget*> rows[] = {{lbledtLoginLabel, lbledtLogin},
                                                 {nullptr, chkChangePassword},
                                                 {Label1, medtPassword},
                                                 {lblPasswordAgain, medtPasswordAgain},
                                                 {lblFirstName, edtFirstName},
                                                 {lblLastName, edtLastName},
                                                 {lblPhone, edtPhone},
                                                 {lblEmail, edtEmail}};
    int row = 0;
    for (const auto& [label, editor] : rows) {
        if (label)
            fields->addWidget(label, row, 0);
        fields->addWidget(editor, row++, 1);
    }
    OperatorsControls::LayOutFieldsAndButtons(this, fields, {btnPost});
    connect(btnPost, &QPushButton::clicked, this, &TOperatorForm::btnPostClick);
}

void TOperatorForm::ReadOperator(IUser* User) {
    lbledtLogin->setText(toQ(User->GetLogin()));
    edtFirstName->setText(toQ(User->GetFirstName()));
    edtLastName->setText(toQ(User->GetLastName()));
    edtPhone->setText(toQ(User->GetPhone()));
    edtEmail->setText(toQ(User->GetEmail()));
}

void TOperatorForm::chkChangePasswordClick() {
    const bool enabled = chkChangePassword->isChecked();
    medtPassword->setEnabled(enabled);
    Label1->setEnabled(enabled);
    medtPasswordAgain->setEnabled(enabled);
    lblPasswordAgain->setEnabled(enabled);
}

IUser* TOperatorForm::Target() {
    if (!FTarget && FNodeData) {
        if (FFormMode == fmNew && FNodeData->UserGroup) {
            if (TIntfPtr<IUsers> users = FNodeData->UserGroup->GetUsers())
                FTarget = users->AddUser();
        } else if (FFormMode == fmEdit) {
            FTarget = FNodeData->User;
        }
    }
    return FTarget.get();
}

void TOperatorForm::btnPostClick() {
    if (lbledtLogin->text().trimmed().isEmpty()) {
        ShowUserMessage(kEmptyLoginMessage, this);
        return;
    }
    const bool setsPassword = FFormMode == fmNew || chkChangePassword->isChecked();
    if (setsPassword && medtPassword->text() != medtPasswordAgain->text()) {
        ShowMessageBox(this, windowTitle(), kPasswordsDiffer, TMsgDlgType::mtWarning);
        medtPasswordAgain->clear();
        medtPasswordAgain->setFocus();
        return;
    }
    IUser* user = Target();
    if (!user)
        return;
    user->SetLogin(toU16(lbledtLogin->text()));
    if (setsPassword)
        user->SetPassword(toU16(medtPassword->text()));
    user->SetFirstName(toU16(edtFirstName->text()));
    user->SetLastName(toU16(edtLastName->text()));
    user->SetPhone(toU16(edtPhone->text()));
    user->SetEmail(toU16(edtEmail->text()));
    if (user->Post()) {
        FCloseResult = true;
        accept();
        return;
    }
    ShowUserMessage(static_cast<uint32_t>(user->GetLastErrorCode()), this);
}

bool ShowOperatorForm(QWidget* OwnerForm, TFormMode FormMode, TNodeData* NodeData) {
    if (!NodeData || (FormMode == fmEdit && !NodeData->User) || (FormMode == fmNew && !NodeData->UserGroup))
        return false;
    TOperatorForm form(OwnerForm, FormMode, NodeData);
    form.exec();
    return form.CloseResult();
}
