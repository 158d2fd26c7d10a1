#pragma once
// "Dane adresowe": one address of a subject with its kinds (registered, residence,
// correspondence). A contractor has no registration address, so the "no registration
// address" box is hidden in that context. The address panels pick from the dictionaries.

#include "uSectionFrame.h"

class TDaneAdresoweFrame : public TSectionFrame {
    Q_OBJECT
public:
    explicit TDaneAdresoweFrame(QWidget* Parent = nullptr);

    static const TSectionDescription& Declaration();

    void SetKontekst(TKontekst Value) override;

    TPanel* pnlTypAdresu;
    TPanel* pnlBrakAdresuZameldowania;
    TPanel* pnlSkrytkaPocztowa;
    QWidget* Bevel1;
};
