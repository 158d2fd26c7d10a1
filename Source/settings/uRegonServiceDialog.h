#pragma once
// The register service's address and user key, edited from the settings window
// (which only an administrator opens once operators exist). The key is masked like a
// password; OK stores both in the program's settings after the address was checked.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TRegonServiceDialog : public QDialog {
    Q_OBJECT
public:
    explicit TRegonServiceDialog(QWidget* Parent);
    // OK: an unusable address is refused in lblError and nothing is stored.
    void btnOKClick();

    QLineEdit* edtAddress;
    QLineEdit* edtUserKey;
    QLabel* lblError;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// Shows the dialog modally; true when the values were stored.
bool ShowRegonServiceDialog(QWidget* Parent);
