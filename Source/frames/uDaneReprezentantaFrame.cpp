#include "uDaneReprezentantaFrame.h"

#include "uFrameOpeners.h"
#include "uUserMessagesModule.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

struct TPodmiotPanel {
    const char* Name;
    const TInternalFieldRecord* Field;
    // Placed beside the panel before it.
    bool SameRow;
};

const TPodmiotPanel kPodmiotPanels[] = {
    {"pnlImie", &cDanePodmiotuPierwszeImie, false},
    {"pnlNazwisko", &cDanePodmiotuNazwisko, true},
    {"pnlTelefon", &cDanePodmiotuNrTelefonu, false},
    {"pnlKodKraju", &cDanePodmiotuKodKrajuNadaniaNumeru, false},
    {"pnlNip", &cDanePodmiotuNIP, false},
    {"pnlPesel", &cDanePodmiotuPESEL, true},
    {"pnlWlasciwyIdentyfikatorPodatkowy", &cDanePodmiotuWlasciwyIdentyfikatorPodatkowy, false},
};

} // namespace

const TSectionDescription& TDaneReprezentantaFrame::Declaration() {
    static const TSectionDescription d{
        "TDaneReprezentantaFrame",
        QStringLiteral("Dane reprezentanta"),
        {{"pnlRodzajReprezentanta", &cDaneReprezentantaRodzajReprezentanta},
         {.Name = "pnlPosiadaUpowaznienie",
          .Field = &cDaneReprezentantaPosiadaUpowaznienie,
          .BevelBefore = "Bevel1"}},
        {kPracownik},
        440,
    };
    return d;
}

TDaneReprezentantaFrame::TDaneReprezentantaFrame(QWidget* Parent)
    : TSectionFrame(Declaration(), Parent), pnlRodzajReprezentanta(Panel("pnlRodzajReprezentanta")),
      pnlPosiadaUpowaznienie(Panel("pnlPosiadaUpowaznienie")), Bevel1(Bevel("Bevel1")) {
    Panel1 = new TPanel(pnlContainer);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->Header()->SetCaptionLabel(QStringLiteral("Dane podstawowe"));
    Panel1->SetBorderLeft(false);
    Panel1->SetBorderRight(false);
    Panel1->SetBorderBottom(false);
    AddBelowPanels(Panel1);
    QHBoxLayout* line = nullptr;
    QList<TPanel*> panels;
    for (const TPodmiotPanel& row : kPodmiotPanels) {
        auto* panel = new TPanel(Panel1);
        panel->setObjectName(QLatin1String(row.Name));
        if (!row.SameRow) {
            line = new QHBoxLayout;
            line->setSpacing(0);
            Panel1->Layout()->addLayout(line);
        }
        line->addWidget(panel, 1);
        if (row.Field->FieldType == ctRadioGroup)
            AddGroupOptions(panel, *row.Field);
        panel->SetField(*row.Field);
        panel->SetReadOnly(true);
        // Shown, never edited, posted or counted as a change of the representative.
        panel->OwnerFrame()->RemovePanel(panel);
        panels.append(panel);
    }
    pnlImie = panels[0];
    pnlNazwisko = panels[1];
    pnlTelefon = panels[2];
    pnlKodKraju = panels[3];
    pnlNip = panels[4];
    pnlPesel = panels[5];
    pnlWlasciwyIdentyfikatorPodatkowy = panels[6];
    Panel1->Header()->SetEditOnClick([this] { Choose(); });
    Panel1->Header()->SetDeleteOnClick([this] { Unlink(); });
    Panel1->Header()->SetEditLabel(QStringLiteral("Ustaw/Zmień"));
    Panel1->Header()->SetDeleteLabel(QStringLiteral("Usuń"));
    Panel1->Header()->SetDeleteLabelEnabled(false);
}

QList<TPanel*> TDaneReprezentantaFrame::PodmiotPanels() const {
    return {
        pnlImie, pnlNazwisko, pnlTelefon, pnlKodKraju, pnlNip, pnlPesel, pnlWlasciwyIdentyfikatorPodatkowy};
}

TIntfPtr<IPodmiot> TDaneReprezentantaFrame::CurrentPodmiot() const {
    return FReprezentant ? FReprezentant->GetPodmiot() : TIntfPtr<IPodmiot>();
}

void TDaneReprezentantaFrame::SetEwidarRecord(const TIntfPtr<IEwidarRecord>& Record) {
    TSectionFrame::SetEwidarRecord(Record);
    FReprezentant = Supports<IReprezentant>(Record.get());
    FPodmiot = CurrentPodmiot();
    ShowPodmiot(FPodmiot);
}

void TDaneReprezentantaFrame::ShowPodmiot(const TIntfPtr<IPodmiot>& Podmiot) {
    const TIntfPtr<IDataFields> fields = Podmiot ? Podmiot->GetDataFields() : TIntfPtr<IDataFields>();
    for (TPanel* panel : PodmiotPanels())
        panel->SetDataFields(fields);
    Panel1->Header()->SetDeleteLabelEnabled(bool(Podmiot));
}

void TDaneReprezentantaFrame::Choose() {
    if (!FReprezentant)
        return;
    const TIntfPtr<IPodmiot> picked =
        Supports<IPodmiot>(FrameOpeners::ChooseSubject(window(), EwidarDataBase().get()).get());
    if (!picked)
        return;
    FReprezentant->SetPodmiot(picked.get());
    ShowPodmiot(picked);
}

void TDaneReprezentantaFrame::Unlink() {
    const TIntfPtr<IPodmiot> current = CurrentPodmiot();
    if (!current)
        return;
    QString summary;
    if (const TIntfPtr<IEwidarRecordInfo> info = current->GetRecordInfo())
        summary = QString::fromStdU16String(info->GetSummary());
    if (ShowUserMessage(302, {DescribeCommaText(summary)}, window()) != ModalResult::mrYes)
        return;
    FReprezentant->SetPodmiot(nullptr);
    ShowPodmiot({});
}

bool TDaneReprezentantaFrame::GetModified() {
    if (ViewOnly())
        return false;
    const TIntfPtr<IPodmiot> current = CurrentPodmiot();
    if (bool(current) != bool(FPodmiot) || (current && current->GetID() != FPodmiot->GetID()))
        return true;
    return TSectionFrame::GetModified();
}

void TDaneReprezentantaFrame::AcceptChanges() {
    TSectionFrame::AcceptChanges();
    FPodmiot = CurrentPodmiot();
}

void TDaneReprezentantaFrame::CancelChanges() {
    TSectionFrame::CancelChanges();
    if (FReprezentant)
        FReprezentant->SetPodmiot(FPodmiot.get());
}

void TDaneReprezentantaFrame::SetReadOnly(bool Value) {
    TSectionFrame::SetReadOnly(Value);
    Panel1->Header()->SetEditLabel(Value ? QString() : QStringLiteral("Ustaw/Zmień"));
    Panel1->Header()->SetDeleteLabel(Value ? QString() : QStringLiteral("Usuń"));
    Panel1->Header()->SetDeleteLabelEnabled(bool(CurrentPodmiot()));
}

void TDaneReprezentantaFrame::SetKontekst(TKontekst Value) {
    TSectionFrame::SetKontekst(Value);
    Bevel1->setVisible(Value != kKontrahent);
    pnlPosiadaUpowaznienie->setVisible(Value != kKontrahent);
}

void TDaneReprezentantaFrame::SetSize() {
    Panel1->adjustSize();
    TSectionFrame::SetSize();
}
