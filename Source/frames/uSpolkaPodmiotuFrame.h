#pragma once
// "Dane spółki podmiotu": a subject's share in a company, with the company itself shown
// below, read-only, and chosen or removed from its header. Taxpayers only: refused in
// the employee and contractor contexts.

#include "uSectionFrame.h"

class TDaneSpolkiFrame;
class TLinkedRecordSection;

class TSpolkaPodmiotuFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TSpolkaPodmiotuFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    void SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) override;
    void SetReadOnly(bool Value) override;
    void SetKontekst(TKontekst Value) override;
    void CancelChanges() override;

    TPanel* pnlUdzial;
    TDaneSpolkiFrame* DaneSpolkiFrame1;
    // The linked company: choose, unlink, put back.
    TLinkedRecordSection* Spolka;

private:
    TIntfPtr<ISpolkaPodmiotu> FSpolkaPodmiotu;
};
