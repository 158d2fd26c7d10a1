#pragma once
// "Dane spółki": a company with its tax numbers and, below, the list of its partners.
// Taxpayers only: refused in the employee and contractor contexts. Embedded read-only
// in the company-share frame as its linked company.

#include "uSectionFrame.h"

class TCollectionBaseFrame;

class TDaneSpolkiFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneSpolkiFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    void SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) override;
    void SetReadOnly(bool Value) override;
    void SetKontekst(TKontekst Value) override;

    TPanel* pnlNazwa;
    TPanel* pnlKrajNadaniaNumeru;
    TPanel* pnlNIP;
    TPanel* pnlRegon;
    TPanel* pnlMiejsceProwadzenia;
    TPanel* pnlRodzaj;
    TCollectionBaseFrame* CollectionBaseFrame1;

private:
    // The company whose partners are listed.
    TIntfPtr<ISpolka> FSpolka;
};
