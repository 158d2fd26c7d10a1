#include "uRegonServiceDialog.h"

#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uRegonSettings.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

TRegonServiceDialog::TRegonServiceDialog(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("RegonServiceDialog"));
    setWindowTitle(QStringLiteral("Usługa REGON"));
    edtAddress = new QLineEdit(RegonSettings::ServiceAddress(), this);
    edtAddress->setObjectName(QStringLiteral("edtAddress"));
    edtAddress->setMinimumWidth(420);
    edtUserKey = new QLineEdit(RegonSettings::UserKey(), this);
    edtUserKey->setObjectName(QStringLiteral("edtUserKey"));
    edtUserKey->setEchoMode(QLineEdit::Password);
    lblError = new QLabel(this);
    lblError->setObjectName(QStringLiteral("lblError"));
    lblError->setWordWrap(true);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Anuluj"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Adres usługi:"), edtAddress);
    form->addRow(QStringLiteral("Klucz użytkownika:"), edtUserKey);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addWidget(lblError);
    outer->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &TRegonServiceDialog::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TRegonServiceDialog::btnOKClick() {
    const QString address = edtAddress->text().trimmed();
    const QString key = edtUserKey->text().trimmed();
    QUrl url;
    QString error;
    if (!RegonSettings::OperationUrl(address, QStringLiteral("Zaloguj"), url, error)) {
        lblError->setText(error);
        edtAddress->setFocus();
        return;
    }
    if (key.isEmpty()) {
        lblError->setText(QStringLiteral("Klucz użytkownika usługi REGON nie może być pusty."));
        edtUserKey->setFocus();
        return;
    }
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, RegonSettings::ServiceAddressName, address);
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, RegonSettings::UserKeyName, key);
    accept();
}

bool ShowRegonServiceDialog(QWidget* Parent) {
    TRegonServiceDialog dialog(Parent);
    return dialog.exec() == QDialog::Accepted;
}
