#include "uDaneSpolkiFrame.h"

#include "uCollectionBaseFrame.h"
#include "uDataValidate.h"
#include "uEwidarDrawGrid.h"

#include <QVBoxLayout>

namespace {
constexpr int kPartnersHeight = 160;
} // namespace

const TSectionDescription& TDaneSpolkiFrame::Declaration() {
    using namespace uDataValidate;
    static const TSectionDescription d{
        "TDaneSpolkiFrame",
        QStringLiteral("Dane spółki"),
        {{"pnlNazwa", &cDaneSpolkiNazwa},
         {"pnlKrajNadaniaNumeru",
          &cDaneSpolkiKodKraju,
          ValidateCountryCode,
          {"pnlNIP"},
          fdKrajKod,
          psCountryCode},
         {"pnlNIP", &cDaneSpolkiNIP, ValidateNIPWithCountry, {"pnlKrajNadaniaNumeru"}},
         {"pnlRegon", &cDaneSpolkiREGON, ValidateREGON},
         {"pnlMiejsceProwadzenia", &cDaneSpolkiMiejsceProwadzenia},
         {"pnlRodzaj", &cDaneSpolkiRodzaj}},
        {kPracownik, kKontrahent},
        440,
    };
    return d;
}

TDaneSpolkiFrame::TDaneSpolkiFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlNazwa(Panel("pnlNazwa")),
      pnlKrajNadaniaNumeru(Panel("pnlKrajNadaniaNumeru")), pnlNIP(Panel("pnlNIP")),
      pnlRegon(Panel("pnlRegon")), pnlMiejsceProwadzenia(Panel("pnlMiejsceProwadzenia")),
      pnlRodzaj(Panel("pnlRodzaj")) {
    CollectionBaseFrame1 = new TCollectionBaseFrame(pnlContainer);
    CollectionBaseFrame1->setObjectName(QStringLiteral("CollectionBaseFrame1"));
    CollectionBaseFrame1->Panel1->Header()->SetCaptionLabel(QStringLiteral("Wspólnicy: "));
    CollectionBaseFrame1->Panel1->SetBorderLeft(false);
    CollectionBaseFrame1->Panel1->SetBorderRight(false);
    CollectionBaseFrame1->Panel1->SetBorderBottom(false);
    CollectionBaseFrame1->pnlFilter->hide();
    CollectionBaseFrame1->setMinimumHeight(kPartnersHeight);
    AddBelowPanels(CollectionBaseFrame1, 1);
}

void TDaneSpolkiFrame::SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) {
    TSectionFrame::SetEwidarRecord(Record);
    FSpolka = Supports<ISpolka>(Record.get());
    if (FSpolka) {
        CollectionBaseFrame1->SetEwidarDataBase(EwidarDataBase().get());
        CollectionBaseFrame1->SetEwidarCollection(FSpolka->GetWspolnicy().get());
    } else {
        CollectionBaseFrame1->SetEwidarCollection(nullptr);
    }
}

void TDaneSpolkiFrame::SetReadOnly(bool Value) {
    TSectionFrame::SetReadOnly(Value);
    CollectionBaseFrame1->DrawGrid1->SetVisibleCheckBoxEnabled(!Value);
    CollectionBaseFrame1->Panel5->setVisible(!Value);
}

void TDaneSpolkiFrame::SetKontekst(TKontekst Value) {
    TSectionFrame::SetKontekst(Value);
    CollectionBaseFrame1->SetKontekst(Value);
}
