#include "uDaneAdresoweDzialanosciFrame.h"

#include "uDataValidate.h"

namespace {
// The box "Adres dodatkowego miejsca wykonywania działalności gospodarczej".
constexpr int kAdditionalPlace = 2;
} // namespace

const TSectionDescription& TDaneAdresoweDzialanosciFrame::Declaration() {
    static const TSectionDescription d = [] {
        TSectionDescription d{
            "TDaneAdresoweDzialanosciFrame",
            QStringLiteral("Dane adresowe działalności"),
            {{"pnlTypAdresu", &cDaneAdresoweDzialanosciTypAdresu, uDataValidate::ValidateBusinessAddressType},
             {.Name = "pnlAdresDzialalnosciTakiSamJakZamieszkania",
              .Field = &cDaneAdresoweDzialanosciAdresDzialalnosciTakiSamJakZamieszkania,
              .BevelBefore = "Bevel1"},
             {"pnlAdresDoreczeiTakiSamJakZamieszkania",
              &cDaneAdresoweDzialanosciAdresDoreczeiTakiSamJakZamieszkania}},
            {kPracownik},
            440};
        d.Panels += AddressPanels(QStringLiteral("cDaneAdresoweDzialanosci"));
        d.Panels[3].BevelBefore = "Bevel2";
        d.Panels.append({"pnlAdresOpisowy", &cDaneAdresoweDzialanosciAdresOpisowy});
        return d;
    }();
    return d;
}

TDaneAdresoweDzialanosciFrame::TDaneAdresoweDzialanosciFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlTypAdresu(Panel("pnlTypAdresu")),
      pnlAdresDzialalnosciTakiSamJakZamieszkania(Panel("pnlAdresDzialalnosciTakiSamJakZamieszkania")),
      pnlAdresDoreczeiTakiSamJakZamieszkania(Panel("pnlAdresDoreczeiTakiSamJakZamieszkania")),
      pnlAdresOpisowy(Panel("pnlAdresOpisowy")), Bevel1(Bevel("Bevel1")), Bevel2(Bevel("Bevel2")) {
    pnlTypAdresu->SetOnChange([this](TPanel*) { UpdateAdresOpisowy(); });
    UpdateAdresOpisowy();
}

void TDaneAdresoweDzialanosciFrame::SetKontekst(TKontekst Value) {
    TSectionFrame::SetKontekst(Value);
    for (QWidget* w : {static_cast<QWidget*>(pnlAdresDzialalnosciTakiSamJakZamieszkania),
                       static_cast<QWidget*>(pnlAdresDoreczeiTakiSamJakZamieszkania), Bevel1, Bevel2})
        w->setVisible(Value != kKontrahent);
}

void TDaneAdresoweDzialanosciFrame::SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) {
    TSectionFrame::SetEwidarRecord(Record);
    UpdateAdresOpisowy();
}

void TDaneAdresoweDzialanosciFrame::UpdateAdresOpisowy() {
    pnlAdresOpisowy->setVisible(pnlTypAdresu->Value().split(u',').value(kAdditionalPlace) == u"1");
}
