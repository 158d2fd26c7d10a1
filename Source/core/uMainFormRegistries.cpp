#include "uMainFormRegistries.h"

#include "uCollectionBaseFrame.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uStrings.h"

#include <QBoxLayout>
#include <QToolButton>

namespace MainFormRegistries {

namespace {

constexpr int kNone = -1;

// Registry getters as plain functions, so the table stays a constant.
template <class I, TIntfPtr<I> (IEwidarRegistries::*Get)(const std::u16string&)>
TIntfPtr<IEwidarCollection> Getter(IEwidarRegistries* Registries, const std::u16string& Filter) {
    return TIntfPtr<IEwidarCollection>((Registries->*Get)(Filter));
}

// clang-format off
constexpr std::array<TRegistry, RegistryCount> kRegistries = {{
    {"rbpodmioty", "Wszystkiepodmioty1", "Wszystkie podmioty", "Podmioty", Qt::Key_W, kBrak,
     true, false, false, {lbView, kNone}, &Getter<IPodmioty, &IEwidarRegistries::GetPodmioty>},
    {"rbPodatnicy", "Podatnicy1", "Podatnicy", "Podatnicy", Qt::Key_P, kPodatnik,
     true, true, true, {lbAdd, lbView}, &Getter<IPodatnicy, &IEwidarRegistries::GetPodatnicy>},
    {"rbPracownicy", "Pracownicy1", "Pracownicy", "Pracownicy", Qt::Key_A, kBrak,
     true, true, true, {lbView, kNone}, &Getter<IPracownicy, &IEwidarRegistries::GetPracownicy>},
    {"rbKontrahenci", "Kontrahenci1", "Kontrahenci", "Kontrahenci", Qt::Key_K, kBrak,
     true, true, true, {lbView, kNone}, &Getter<IKontrahenci, &IEwidarRegistries::GetKontrahenci>},
    {"rbSpki", "Spki1", "Spółki", "Spółki", Qt::Key_S, kBrak,
     false, true, true, {lbAdd, kNone}, &Getter<ISpolki, &IEwidarRegistries::GetSpolki>},
    {"rbBanki", "Banki1", "Banki", "Banki", Qt::Key_B, kBrak,
     false, true, true, {lbAdd, kNone}, &Getter<IDaneBankow, &IEwidarRegistries::GetDaneBankow>},
    {"rbDaneZUS", "DaneZUS1", "Dane ZUS", "Dane ZUS", Qt::Key_Z, kBrak,
     false, true, true, {lbAdd, kNone}, &Getter<IDaneZUSow, &IEwidarRegistries::GetDaneZUSow>},
    {"rbDaneNFZ", "DaneNFZ1", "Dane NFZ", "Dane NFZ", Qt::Key_N, kBrak,
     false, true, true, {lbAdd, kNone}, &Getter<IDaneNFZow, &IEwidarRegistries::GetDaneNFZow>},
    {"rbUrzedyStatystyczne", "Urzdystatystyczne1", "Urzędy statystyczne", "Urzędy statystyczne", Qt::Key_U,
     kBrak, false, true, true, {lbAdd, kNone},
     &Getter<IUrzedyStatystyczne, &IEwidarRegistries::GetUrzedyStatystyczne>},
    {"rbSadyRejonowe", "Sdyrejonowe1", "Sądy rejonowe", "Sądy rejonowe", Qt::Key_R, kBrak,
     false, true, true, {lbAdd, kNone}, &Getter<ISadyRejonowe, &IEwidarRegistries::GetSadyRejonowe>},
    {"rbBiuraRachunkowe", "Biurarachunkowe1", "Biura rachunkowe", "Biura rachunkowe", Qt::Key_I, kBrak,
     false, true, true, {lbAdd, kNone},
     &Getter<IBiuraRachunkowe, &IEwidarRegistries::GetBiuraRachunkowe>},
}};
// clang-format on

QToolButton* ButtonOf(TCollectionBaseFrame* Frame, int Button) {
    switch (Button) {
    case lbView:
        return Frame->btnView;
    case lbAdd:
        return Frame->btnAdd;
    case lbEdit:
        return Frame->btnEdit;
    default:
        return nullptr;
    }
}

void MoveToLeftEnd(TCollectionBaseFrame* Frame, QToolButton* Button) {
    auto* bar = qobject_cast<QBoxLayout*>(Frame->Panel3->layout());
    if (!bar || !Button)
        return;
    bar->removeWidget(Button);
    bar->insertWidget(0, Button);
}

} // namespace

const std::array<TRegistry, RegistryCount>& Registries() {
    return kRegistries;
}

void ApplyToFrame(TCollectionBaseFrame* Frame, const TRegistry& Registry) {
    Frame->Panel1->Header()->SetCaptionLabel(Registry.HeaderText());
    Frame->SetKontekst(Registry.Kontekst);
    // Several registries list the same subjects under the same identifiers: a tick
    // never follows the operator into another registry.
    Frame->DrawGrid1->ClearOldValueCheckbox();
    Frame->btnView->setVisible(Registry.View);
    Frame->btnAdd->setVisible(Registry.Add);
    Frame->btnEdit->setVisible(Registry.Edit);
    for (int button : Registry.MoveLeft)
        MoveToLeftEnd(Frame, ButtonOf(Frame, button));
}

TIntfPtr<IEwidarCollection> OpenRegistry(IEwidarDataBase* DataBase, const TRegistry& Registry,
                                         const QString& Filter) {
    if (!DataBase)
        return {};
    TIntfPtr<IEwidarRegistries> registries = DataBase->GetRegistries();
    if (!registries)
        return {};
    return Registry.Getter(registries.get(), toU16(Filter));
}

} // namespace MainFormRegistries
