#include "uDaneRachunkuFrame.h"

#include "TRadioButton.h"
#include "uDaneBankuFrame.h"
#include "uDataValidate.h"
#include "uFrameOpeners.h"
#include "uLinkedRecordSection.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Values of the account kind: the index of the chosen button.
const QString kOsobisty = QStringLiteral("1");

// The bank frame and the bank chooser serve every context but the contractor's; a bank
// is the same record whoever's account names it.
TKontekst BankKontekst(TKontekst Owner) {
    return Owner == kKontrahent ? kBrak : Owner;
}
} // namespace

const TSectionDescription& TDaneRachunkuFrame::Declaration() {
    static const TSectionDescription d{
        "TDaneRachunkuFrame",
        QStringLiteral("Dane rachunku"),
        {{"pnlCharakterRachunku", &cDaneRachunkuCharakterRachunku},
         {"pnlPosiadaczRachunku", &cDaneRachunkuPosiadaczRachunku},
         {"pnlNrRachunku", &cDaneRachunkuNrRachunku},
         {"pnlSWIFT", &cDaneRachunkuSWIFT}},
        {},
        440,
    };
    return d;
}

TDaneRachunkuFrame::TDaneRachunkuFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlCharakterRachunku(Panel("pnlCharakterRachunku")),
      pnlPosiadaczRachunku(Panel("pnlPosiadaczRachunku")), pnlNrRachunku(Panel("pnlNrRachunku")),
      pnlSWIFT(Panel("pnlSWIFT")) {
    const QList<TRadioButton*> kinds = pnlCharakterRachunku->GroupRadioButtons();
    Firmowy = kinds.value(0);
    Osobisty = kinds.value(1);
    Firmowy->setObjectName(QStringLiteral("Firmowy"));
    Osobisty->setObjectName(QStringLiteral("Osobisty"));

    DaneBankuFrame1 = new TDaneBankuFrame(pnlContainer);
    DaneBankuFrame1->setObjectName(QStringLiteral("DaneBankuFrame1"));
    AddBelowPanels(DaneBankuFrame1);
    Bank = new TLinkedRecordSection(
        this, DaneBankuFrame1,
        {&IDaneBanku::IID,
         [](IEwidarRecord* Owner) {
             const auto account = Supports<IRachunekBankowy>(Owner);
             return account ? TIntfPtr<IEwidarRecord>(account->GetDaneBanku()) : TIntfPtr<IEwidarRecord>();
         },
         [](IEwidarRecord* Owner, IEwidarRecord* Target) {
             if (const auto account = Supports<IRachunekBankowy>(Owner))
                 account->SetDaneBanku(Target);
         },
         [](IEwidarRegistries* R) { return TIntfPtr<IEwidarCollection>(R->GetDaneBankow({})); },
         BankKontekst});
    Bank->SetOwnerReadOnly(false);
    // The number is judged by the bank's country.
    pnlNrRachunku->SetOnValidate(uDataValidate::ValidateBankAccount);
    pnlNrRachunku->SetValidateRefCompoments({DaneBankuFrame1->pnlKraj});
    Bank->OnLinkChanged = [this] {
        uDataValidate::RunRule(pnlNrRachunku);
    };
    btnWykazVAT = new QToolButton(pnlContainer);
    btnWykazVAT->setObjectName(QStringLiteral("btnWykazVAT"));
    btnWykazVAT->setText(QStringLiteral("Sprawdź rachunek w wykazie VAT"));
    btnWykazVAT->setToolButtonStyle(Qt::ToolButtonTextOnly);
    AddBelowPanels(btnWykazVAT);
    connect(btnWykazVAT, &QToolButton::clicked, this, [this] {
        FrameOpeners::CheckAccountInWhiteList(window(), this, pnlNrRachunku->Value());
    });
}

void TDaneRachunkuFrame::SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) {
    FRachunekBankowy = Supports<IRachunekBankowy>(Record.get());
    DaneBankuFrame1->SetEwidarDataBase(EwidarDataBase());
    TSectionFrame::SetEwidarRecord(Record);
    Bank->Bind();
    // Binding judged the number by the bank shown before: judge it by this record's bank.
    uDataValidate::RunRule(pnlNrRachunku);
    if (Kontekst() == kPracownik && Record && pnlCharakterRachunku->Value() != kOsobisty) {
        // A new employee account starts personal; a stored one is changed to it (a change to save).
        const TIntfPtr<IDataField> field = pnlCharakterRachunku->DataField();
        if (Record->GetID() == 0 && field) {
            field->SetValue(kOsobisty.toStdU16String());
            pnlCharakterRachunku->SetDataField(field);
        } else {
            pnlCharakterRachunku->SetValue(kOsobisty);
        }
    }
    ApplyKontekstLayout();
}

void TDaneRachunkuFrame::SetReadOnly(bool Value) {
    TSectionFrame::SetReadOnly(Value);
    Bank->SetOwnerReadOnly(Value);
    ApplyKontekstLayout();
}

void TDaneRachunkuFrame::SetKontekst(TKontekst Value) {
    TSectionFrame::SetKontekst(Value);
    DaneBankuFrame1->SetKontekst(BankKontekst(Value));
    ApplyKontekstLayout();
}

void TDaneRachunkuFrame::CancelChanges() {
    TSectionFrame::CancelChanges();
    Bank->CancelChanges();
}

void TDaneRachunkuFrame::ApplyKontekstLayout() {
    if (Kontekst() == kPracownik) {
        if (pnlCharakterRachunku->Value() != kOsobisty)
            pnlCharakterRachunku->SetValue(kOsobisty);
        Firmowy->setEnabled(false);
        Osobisty->setEnabled(false);
    } else if (!ReadOnly()) {
        Firmowy->setEnabled(true);
        Osobisty->setEnabled(true);
    }
}
