// The frame of each record kind, in the order the kinds are tested: the first kind a
// record supports decides. A kind whose frame is not built yet has no factory; its
// records open an empty window.

#include "uBiuroRachunkoweFrame.h"
#include "uDaneAdresoweDzialanosciFrame.h"
#include "uDaneAdresoweFrame.h"
#include "uDaneBankuFrame.h"
#include "uDaneDokumentuTozsamosciFrame.h"
#include "uDaneNFZFrame.h"
#include "uDaneNumerowIdentyfikacyjnychFrame.h"
#include "uDaneObywatelstwaFrame.h"
#include "uDaneRachunkuFrame.h"
#include "uDaneReprezentantaFrame.h"
#include "uDaneSaduRejonowegoFrame.h"
#include "uDaneSpolkiFrame.h"
#include "uDaneUrzeduStatystycznegoFrame.h"
#include "uDaneWspolnikaFrame.h"
#include "uDaneZUSFrame.h"
#include "uDaneZamawiajacegoFrame.h"
#include "uEwidarRecordForm.h"
#include "uOddzialFrame.h"
#include "uPodmiotFrame.h"
#include "uRodzajDzialalnosciFrame.h"
#include "uSpolkaPodmiotuFrame.h"

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
    {&IObywatelstwo::IID, &Create<TDaneObywatelstwaFrame>},
    {&IDokumentTozsamosci::IID, &Create<TDaneDokumentuTozsamosciFrame>},
    {&IAdres::IID, &Create<TDaneAdresoweFrame>},
    {&IAdresDzialalnosci::IID, &Create<TDaneAdresoweDzialanosciFrame>},
    {&IOddzial::IID, &Create<TOddzialFrame>},
    {&IRodzajDzialalnosci::IID, &Create<TRodzajDzialalnosciFrame>},
    {&IDaneZUS::IID, &Create<TDaneZUSFrame>},
    {&IUrzadStatystyczny::IID, &Create<TDaneUrzeduStatystycznegoFrame>},
    {&IDaneNFZ::IID, &Create<TDaneNFZFrame>},
    {&ISadRejonowy::IID, &Create<TDaneSaduRejonowegoFrame>},
    {&IDaneBanku::IID, &Create<TDaneBankuFrame>},
    {&INrIdentyfikacyjny::IID, &Create<TDaneNumerowIdentyfikacyjnychFrame>},
    {&IWspolnik::IID, &Create<TDaneWspolnikaFrame>},
    {&ISpolka::IID, &Create<TDaneSpolkiFrame>},
    {&ISpolkaPodmiotu::IID, &Create<TSpolkaPodmiotuFrame>},
    {&IRachunekBankowy::IID, &Create<TDaneRachunkuFrame>},
    {&IDaneZamawiajacego::IID, &Create<TDaneZamawiajacego>},
    {&IReprezentant::IID, &Create<TDaneReprezentantaFrame>},
    {&IBiuroRachunkowe::IID, &Create<TBiuroRachunkoweFrames>},
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
