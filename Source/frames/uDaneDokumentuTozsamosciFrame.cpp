#include "uDaneDokumentuTozsamosciFrame.h"

#include "uDataValidate.h"

const TSectionDescription& TDaneDokumentuTozsamosciFrame::Declaration() {
    using uDataValidate::ValidateIdentityDocument;
    static const TSectionDescription d{
        "TDaneDokumentuTozsamosciFrame",
        QStringLiteral("Dokument stwierdzający tożsamość / pozostały numer identyfikacyjny"),
        {{.Name = "pnlRodzaj",
          .Field = &cDaneDokumentuTozsamosciRodzaj,
          .Rule = ValidateIdentityDocument,
          .Refs = {"pnlRodzajInny"},
          .Shape = psDropDownList},
         {"pnlRodzajInny", &cDaneDokumentuTozsamosciRodzajInny, ValidateIdentityDocument, {"pnlRodzaj"}},
         {"pnlKraj", &cDaneDokumentuTozsamosciKraj},
         {.Name = "pnlKodKraju", .Field = &cDaneDokumentuTozsamosciKodKraju, .Shape = psCountryCode},
         {"pnlSeria", &cDaneDokumentuTozsamosciSeria},
         {"pnlNumer", &cDaneDokumentuTozsamosciNumer}},
        {},
        440,
    };
    return d;
}

TDaneDokumentuTozsamosciFrame::TDaneDokumentuTozsamosciFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlRodzaj(Panel("pnlRodzaj")),
      pnlRodzajInny(Panel("pnlRodzajInny")), pnlKraj(Panel("pnlKraj")), pnlKodKraju(Panel("pnlKodKraju")),
      pnlSeria(Panel("pnlSeria")), pnlNumer(Panel("pnlNumer")) {
    for (const TComboBoxSymbolItemRecord& item : IdentityDocumentItems())
        pnlRodzaj->AddComboBoxSymbolItem(item);
    pnlRodzaj->SetOnChange([this](TPanel*) { UpdateRodzajInny(); });
    pnlRodzajInny->SetOnChange([this](TPanel*) { UpdateRodzajInny(); });
    UpdateRodzajInny();
}

void TDaneDokumentuTozsamosciFrame::SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) {
    TSectionFrame::SetEwidarRecord(Record);
    UpdateRodzajInny();
}

void TDaneDokumentuTozsamosciFrame::SetReadOnly(bool Value) {
    TSectionFrame::SetReadOnly(Value);
    UpdateRodzajInny();
}

void TDaneDokumentuTozsamosciFrame::UpdateRodzajInny() {
    pnlRodzajInny->setEnabled(pnlRodzaj->Value() == cRodzajDokumentuInnyDokument.Symbol ||
                              !pnlRodzajInny->Value().isEmpty());
}
