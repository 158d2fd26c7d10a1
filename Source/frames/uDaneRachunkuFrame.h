#pragma once
// "Dane rachunku": a bank account of a subject, with its bank shown below, read-only,
// and chosen or removed from its header. The account number is judged by the bank's
// country, so it is judged again whenever the bank changes. An employee's account is
// always personal.

#include "uSectionFrame.h"

class QToolButton;
class TDaneBankuFrame;
class TLinkedRecordSection;
class TRadioButton;

class TDaneRachunkuFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneRachunkuFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    void SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) override;
    void SetReadOnly(bool Value) override;
    // The bank is a registry record of no context: a contractor's account shows it
    // (and chooses it) without the contractor context, which the bank frame refuses.
    void SetKontekst(TKontekst Value) override;
    void CancelChanges() override;

    TPanel* pnlCharakterRachunku;
    TPanel* pnlPosiadaczRachunku;
    TPanel* pnlNrRachunku;
    TPanel* pnlSWIFT;
    TRadioButton* Firmowy;
    TRadioButton* Osobisty;
    TDaneBankuFrame* DaneBankuFrame1;
    // The linked bank: choose, unlink, put back.
    TLinkedRecordSection* Bank;
    // "Sprawdź rachunek w wykazie VAT": the number against the VAT white list for a date.
    QToolButton* btnWykazVAT;

private:
    // In the employee context the kind is fixed to "Osobisty".
    void ApplyKontekstLayout();

    TIntfPtr<IRachunekBankowy> FRachunekBankowy;
};
