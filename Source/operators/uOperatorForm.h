#pragma once
// The operator window: login, password, names, phone and e-mail of one
// operator. A new operator gets the typed password; an existing one keeps the
// stored password unless "Zmień hasło" is ticked.

#include "TForm.h"
#include "uOperatorsNodeData.h"

class QLabel;
class QPushButton;
class TCheckBox;
class TEdit;

class TOperatorForm : public TForm {
    Q_OBJECT
public:
    // fmNew adds an operator to the group of NodeData; fmEdit edits the operator
    // of NodeData (which must have one).
    TOperatorForm(QWidget* OwnerForm, TFormMode FormMode, TNodeData* NodeData);

    // True when the operator was stored.
    bool CloseResult() const { return FCloseResult; }

    // OK (also Enter): checks the login, stores the operator and closes on success.
    void btnPostClick();
    // Ticking enables the password box and its label, unticking disables both.
    void chkChangePasswordClick();

    QLabel* lbledtLoginLabel;
    TEdit* lbledtLogin;
    TCheckBox* chkChangePassword;
    QLabel* Label1;
    TEdit* medtPassword;
    // The password typed a second time: a mistyped one is never stored.
    QLabel* lblPasswordAgain;
    TEdit* medtPasswordAgain;
    QLabel* lblFirstName;
    TEdit* edtFirstName;
    QLabel* lblLastName;
    TEdit* edtLastName;
    QLabel* lblPhone;
    TEdit* edtPhone;
    QLabel* lblEmail;
    TEdit* edtEmail;
    QPushButton* btnPost;

private:
    void CreateComponents();
    void ReadOperator(IUser* User);
    IUser* Target();

    TFormMode FFormMode;
    TNodeData* FNodeData;
    bool FCloseResult = false;
    // The operator OK stores into, kept between attempts.
    TIntfPtr<IUser> FTarget;
};

// Shows the operator window modally; true when an operator was stored.
bool ShowOperatorForm(QWidget* OwnerForm, TFormMode FormMode, TNodeData* NodeData);
