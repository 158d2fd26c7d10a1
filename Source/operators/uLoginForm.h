#pragma once
// The login window: collects a login and a password and asks the root data
// object to accept them. A refused login keeps the window open with the
// backend's message; the window reports whether an operator was logged in.

#include "TForm.h"
#include "uEwidarQuorDBIntf.h"

class QLabel;
class QPushButton;
class TEdit;

enum TLoginFormStatus { lfsCancel, lfsLogged };

class TLoginForm : public TForm {
    Q_OBJECT
public:
    TLoginForm(QWidget* OwnerForm, IEwidarDataBase* EwidarDataBase);

    TLoginFormStatus LoginFormStatus() const { return FLoginFormStatus; }

    // "Zaloguj" (also Enter): logs in with both texts exactly as typed.
    void btnZalogujClick();

    QLabel* lblLogin;
    TEdit* edtLogin;
    QLabel* lblPassword;
    TEdit* edtPassword;
    QPushButton* btnZaloguj;
    QPushButton* btnAnuluj;

private:
    TLoginFormStatus FLoginFormStatus = lfsCancel;
    TIntfPtr<IEwidarDataBase> FEwidarDataBase;
};

// Shows the login window modally over Owner; lfsCancel at once without a root object.
// After a successful login Login (when given) receives the login as typed.
TLoginFormStatus ShowLogin(QWidget* Owner, IEwidarDataBase* EwidarDataBase, QString* Login = nullptr);
