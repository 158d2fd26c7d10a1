// The frame of each record kind, in the order the kinds are tested: the first kind a
// record supports decides. A kind whose frame is not built yet has no factory; its
// records open an empty window.

#include "uDaneBankuFrame.h"
#include "uDaneNFZFrame.h"
#include "uEwidarRecordForm.h"
#include "uPodmiotFrame.h"

#include <array>

namespace {

using TFrameFactory = TBaseFrame* (*)(QWidget* Parent);

template <class T> TBaseFrame* Create(QWidget* Parent) {
    return new T(Parent);
}

struct TFrameRow {
    const TGUID* Kind;
    TFrameFactory Factory;
};

const std::array<TFrameRow, 23> kFrames = {{
    {&IObywatelstwo::IID, nullptr},
    {&IDokumentTozsamosci::IID, nullptr},
    {&IAdres::IID, nullptr},
    {&IAdresDzialalnosci::IID, nullptr},
    {&IOddzial::IID, nullptr},
    {&IRodzajDzialalnosci::IID, nullptr},
    {&IDaneZUS::IID, nullptr},
    {&IUrzadStatystyczny::IID, nullptr},
    {&IDaneNFZ::IID, &Create<TDaneNFZFrame>},
    {&ISadRejonowy::IID, nullptr},
    {&IDaneBanku::IID, &Create<TDaneBankuFrame>},
    {&INrIdentyfikacyjny::IID, nullptr},
    {&IWspolnik::IID, nullptr},
    {&ISpolka::IID, nullptr},
    {&ISpolkaPodmiotu::IID, nullptr},
    {&IRachunekBankowy::IID, nullptr},
    {&IDaneZamawiajacego::IID, nullptr},
    {&IReprezentant::IID, nullptr},
    {&IBiuroRachunkowe::IID, nullptr},
    {&IPodmiot::IID, &Create<TPodmiotFrame>},
    {&IPodatnik::IID, &Create<TPodmiotFrame>},
    {&IPracownik::IID, &Create<TPodmiotFrame>},
    {&IKontrahent::IID, &Create<TPodmiotFrame>},
}};

} // namespace

TBaseFrame* CreateRecordFrame(IEwidarRecord* Record, QWidget* Parent) {
    for (const TFrameRow& row : kFrames)
        if (SupportsIID(Record, *row.Kind))
            return row.Factory ? row.Factory(Parent) : nullptr;
    return nullptr;
}

TBaseFrame* CreateRecordFrameOfKind(const TGUID& Kind, QWidget* Parent) {
    for (const TFrameRow& row : kFrames)
        if (*row.Kind == Kind)
            return row.Factory ? row.Factory(Parent) : nullptr;
    return nullptr;
}
