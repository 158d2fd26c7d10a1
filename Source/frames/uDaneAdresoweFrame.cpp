#include "uDaneAdresoweFrame.h"

const TSectionDescription& TDaneAdresoweFrame::Declaration() {
    static const TSectionDescription d = [] {
        TSectionDescription d{"TDaneAdresoweFrame",
                              QStringLiteral("Dane adresowe"),
                              {{"pnlTypAdresu", &cDaneAdresoweTypAdresu},
                               {"pnlBrakAdresuZameldowania", &cDaneAdresoweBrakAdresuZameldowania}},
                              {}};
        d.Panels += AddressPanels(QStringLiteral("cDaneAdresowe"));
        d.Panels[2].BevelBefore = "Bevel1";
        d.Panels.append({"pnlSkrytkaPocztowa", &cDaneAdresoweSkrytkaPocztowa});
        return d;
    }();
    return d;
}

TDaneAdresoweFrame::TDaneAdresoweFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlTypAdresu(Panel("pnlTypAdresu")),
      pnlBrakAdresuZameldowania(Panel("pnlBrakAdresuZameldowania")),
      pnlSkrytkaPocztowa(Panel("pnlSkrytkaPocztowa")), Bevel1(Bevel("Bevel1")) {}

void TDaneAdresoweFrame::SetKontekst(TKontekst Value) {
    TSectionFrame::SetKontekst(Value);
    Bevel1->setVisible(Value != kKontrahent);
    pnlBrakAdresuZameldowania->setVisible(Value != kKontrahent);
}
