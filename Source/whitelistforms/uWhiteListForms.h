#pragma once
// The VAT white list in the subject editor:
//   "Sprawdź w wykazie VAT"  the subject's status for today, the listed accounts and whether
//                            each of the subject's own accounts is among them;
//   "Wypełnij z wykazu VAT"  name, NIP, REGON, KRS, the address and the listed accounts copied
//                            into the editor the way the REGON search copies (one transaction,
//                            a question before overwriting, stopped by the first refused record).
// The NIP asked about is the editor's (company NIP first, then the person's); without one it
// is asked for.

#include "uEwidarQuorDBIntf.h"
#include "uWhiteListAnswer.h"
#include "uWyszukiwarkaRegonCopy.h"

#include <QDate>
#include <QDialog>
#include <QString>
#include <QStringList>

class QTextBrowser;
class TBaseFrame;

namespace WhiteListForms {

void CheckSubject(QWidget* Owner, TBaseFrame* Editor);
void FillSubject(QWidget* Owner, TBaseFrame* Editor);

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
