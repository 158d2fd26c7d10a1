#pragma once
// The VAT white list in the subject editor:
//   "Sprawdź w wykazie VAT"  the subject's status for today, the listed accounts and whether
//                            each of the subject's own accounts is among them;
//   "Wypełnij z wykazu VAT"  name, NIP, REGON, KRS, the address and the listed accounts copied
//                            into the editor the way the REGON search copies (one transaction,
//                            a question before overwriting, stopped by the first refused record).
// The NIP asked about is the editor's (company NIP first, then the person's); without one it
// is asked for.

#include "uEwidarRegisterChecksIntf.h"
#include "uWhiteListAnswer.h"
#include "uWyszukiwarkaRegonCopy.h"

#include <QDate>
#include <QDialog>
#include <QPushButton>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QDateEdit;
class QTableWidget;
class QLineEdit;
class QTextBrowser;
class TBaseFrame;

namespace WhiteListForms {

void CheckSubject(QWidget* Owner, TBaseFrame* Editor);
void FillSubject(QWidget* Owner, TBaseFrame* Editor);
// "Sprawdź rachunek w wykazie VAT" of an account section: asks for the NIP (the owning
// subject's, when the section is shown over its editor) and the date (today), then says
// whether the list assigns the account to that NIP on that date.
// When the service cannot be asked (unreachable, or its daily limit spent) the account is
// checked in the imported flat file instead (CheckAccountInFlatFile).
void CheckAccount(QWidget* Owner, QWidget* Frame, const QString& Account);
// The account checked in the imported flat file, for the file's own day only: the answer is
// shown naming its source, after ServiceError (why the service did not answer), and kept as
// proof with the source "plik płaski" and the request identifier "plik płaski <file's day>".
void CheckAccountInFlatFile(QWidget* Owner, TBaseFrame* Editor, IEwidarDataBase* DataBase, const QString& Nip,
                            const QString& Account, const QDate& Date, const QString& ServiceError);

// "Sprawdź w VIES" of an identification-number section (panels pnlTyp, pnlKodKraju, pnlNumer
// of Frame): only a tax number ("podatkowy") with a member state's code is asked about.
void CheckVies(QWidget* Owner, QWidget* Frame);

// "Weryfikacje": the stored checks of the editor's subject (of its NIP while it is not stored).
void ShowChecks(QWidget* Owner, TBaseFrame* Editor);

// Keeps the proof of an answer with the editor's subject (Editor may be nullptr: then with no
// subject, found by the number asked about). False after a message when it was not stored.
bool KeepProof(QWidget* Owner, TBaseFrame* Editor, IEwidarDataBase* DataBase, TRegisterCheck& Check);
// The confirmation page of one stored check.
QString ConfirmationHtml(const TRegisterCheck& Check);

// The subject editor that Widget is part of or was opened over (its windows' owners
// followed up); nullptr when there is none.
TBaseFrame* OwningSubjectEditor(QWidget* Widget);

// The NIP of the editor (or typed by the operator); empty when none was given.
QString EditorNip(QWidget* Owner, TBaseFrame* Editor);
// The subject's own account numbers as its account sections hold them.
QStringList SubjectAccounts(IPodmiot* Podmiot);
// The answer as an HTML page: status with its dates and bases, the listed accounts, and each
// own account marked as listed or not.
QString SearchHtml(const TWhiteListSearch& Search, const QDate& Date, const QStringList& OwnAccounts);
// What the register copy receives from a listed subject.
RegonCopy::TInput FillInput(const TWhiteListSubject& Subject);

} // namespace WhiteListForms

// Shows one answer of the list.
class TWhiteListResultForm : public QDialog {
public:
    TWhiteListResultForm(QWidget* Owner, const QString& Html);
    QTextBrowser* Text = nullptr;
};

// The NIP and date of an account check.
class TWhiteListAccountForm : public QDialog {
public:
    TWhiteListAccountForm(QWidget* Owner, const QString& Account, const QString& Nip);
    QLineEdit* edtNIP = nullptr;
    QDateEdit* edtData = nullptr;
};

// The stored checks of a subject; "Drukuj potwierdzenie" shows the chosen one as a page.
class TRegisterChecksForm : public QDialog {
public:
    TRegisterChecksForm(QWidget* Owner, std::vector<TRegisterCheck> Checks);
    QTableWidget* grdChecks = nullptr;
    QPushButton* btnPrint = nullptr;
    // Shows the page (the HTML viewer unless replaced).
    std::function<void(QWidget* Owner, const QString& Html)> ShowPage;

private:
    std::vector<TRegisterCheck> m_checks;
};
