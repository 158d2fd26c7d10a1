#include "uSpolkaPodmiotuFrame.h"

#include "uDaneSpolkiFrame.h"
#include "uLinkedRecordSection.h"

#include <QVBoxLayout>

const TSectionDescription& TSpolkaPodmiotuFrame::Declaration() {
    static const TSectionDescription d{
        "TSpolkaPodmiotuFrame",
        QStringLiteral("Dane spółki podmiotu"),
        {{"pnlUdzial", &cSpolkaPodmiotuUdzial}},
        {kPracownik, kKontrahent},
        440,
    };
    return d;
}

TSpolkaPodmiotuFrame::TSpolkaPodmiotuFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlUdzial(Panel("pnlUdzial")) {
    DaneSpolkiFrame1 = new TDaneSpolkiFrame(pnlContainer);
    DaneSpolkiFrame1->setObjectName(QStringLiteral("DaneSpolkiFrame1"));
    AddBelowPanels(DaneSpolkiFrame1, 1);
    Spolka = new TLinkedRecordSection(this, DaneSpolkiFrame1,
                                      {&ISpolka::IID,
                                       [](IEwidarRecord* Owner) {
                                           const auto share = Supports<ISpolkaPodmiotu>(Owner);
                                           return share ? TIntfPtr<IEwidarRecord>(share->GetSpolka())
                                                        : TIntfPtr<IEwidarRecord>();
                                       },
                                       [](IEwidarRecord* Owner, IEwidarRecord* Target) {
                                           if (const auto share = Supports<ISpolkaPodmiotu>(Owner))
                                               share->SetSpolka(Target);
                                       },
                                       [](IEwidarRegistries* R) {
                                           return TIntfPtr<IEwidarCollection>(R->GetSpolki({}));
                                       }});
    Spolka->SetOwnerReadOnly(false);
    DaneSpolkiFrame1->pnlContainer->SetBorderBottom(false);
}

void TSpolkaPodmiotuFrame::SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) {
    TSectionFrame::SetEwidarRecord(Record);
    FSpolkaPodmiotu = Supports<ISpolkaPodmiotu>(Record.get());
    DaneSpolkiFrame1->SetEwidarDataBase(EwidarDataBase());
    Spolka->Bind();
}

void TSpolkaPodmiotuFrame::SetReadOnly(bool Value) {
    TSectionFrame::SetReadOnly(Value);
    Spolka->SetOwnerReadOnly(Value);
}

void TSpolkaPodmiotuFrame::SetKontekst(TKontekst Value) {
    TSectionFrame::SetKontekst(Value);
    DaneSpolkiFrame1->SetKontekst(Value);
}

void TSpolkaPodmiotuFrame::CancelChanges() {
    TSectionFrame::CancelChanges();
    Spolka->CancelChanges();
}
