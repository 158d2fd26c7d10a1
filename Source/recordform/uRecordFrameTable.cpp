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
    // The kind's name in the settings and the caption of a new record's window.
    const char* Name;
    const char* NewTitle;
};

// The four subject kinds share one frame; the most specific kind comes first, so the
// caption and the remembered size follow the registry the subject was added to.
const std::array<TFrameRow, 23> kFrames = {{
    {&IObywatelstwo::IID, &Create<TDaneObywatelstwaFrame>, "Obywatelstwo", "Nowe obywatelstwo"},
    {&IDokumentTozsamosci::IID, &Create<TDaneDokumentuTozsamosciFrame>, "DokumentTozsamosci",
     "Nowy dokument tożsamości"},
    {&IAdres::IID, &Create<TDaneAdresoweFrame>, "Adres", "Nowy adres"},
    {&IAdresDzialalnosci::IID, &Create<TDaneAdresoweDzialanosciFrame>, "AdresDzialalnosci",
     "Nowy adres działalności"},
    {&IOddzial::IID, &Create<TOddzialFrame>, "Oddzial", "Nowy oddział"},
    {&IRodzajDzialalnosci::IID, &Create<TRodzajDzialalnosciFrame>, "RodzajDzialalnosci",
     "Nowy rodzaj działalności"},
    {&IDaneZUS::IID, &Create<TDaneZUSFrame>, "DaneZUS", "Nowy oddział ZUS"},
    {&IUrzadStatystyczny::IID, &Create<TDaneUrzeduStatystycznegoFrame>, "UrzadStatystyczny",
     "Nowy urząd statystyczny"},
    {&IDaneNFZ::IID, &Create<TDaneNFZFrame>, "DaneNFZ", "Nowy oddział NFZ"},
    {&ISadRejonowy::IID, &Create<TDaneSaduRejonowegoFrame>, "SadRejonowy", "Nowy sąd rejonowy"},
    {&IDaneBanku::IID, &Create<TDaneBankuFrame>, "DaneBanku", "Nowy bank"},
    {&INrIdentyfikacyjny::IID, &Create<TDaneNumerowIdentyfikacyjnychFrame>, "NrIdentyfikacyjny",
     "Nowy numer identyfikacyjny"},
    {&IWspolnik::IID, &Create<TDaneWspolnikaFrame>, "Wspolnik", "Nowy wspólnik"},
    {&ISpolka::IID, &Create<TDaneSpolkiFrame>, "Spolka", "Nowa firma"},
    {&ISpolkaPodmiotu::IID, &Create<TSpolkaPodmiotuFrame>, "SpolkaPodmiotu", "Nowy udział w spółce"},
    {&IRachunekBankowy::IID, &Create<TDaneRachunkuFrame>, "RachunekBankowy", "Nowy rachunek bankowy"},
    {&IDaneZamawiajacego::IID, &Create<TDaneZamawiajacego>, "DaneZamawiajacego", "Nowy zamawiający"},
    {&IReprezentant::IID, &Create<TDaneReprezentantaFrame>, "Reprezentant", "Nowy reprezentant"},
    {&IBiuroRachunkowe::IID, &Create<TBiuroRachunkoweFrames>, "BiuroRachunkowe", "Nowe biuro rachunkowe"},
    {&IPracownik::IID, &Create<TPodmiotFrame>, "Pracownik", "Nowy pracownik"},
    {&IKontrahent::IID, &Create<TPodmiotFrame>, "Kontrahent", "Nowy zleceniobiorca"},
    {&IPodatnik::IID, &Create<TPodmiotFrame>, "Podatnik", "Nowy podatnik"},
    {&IPodmiot::IID, &Create<TPodmiotFrame>, "Podmiot", "Nowy podmiot"},
}};

const TFrameRow* RowOf(IEwidarRecord* Record) {
    if (Record)
        for (const TFrameRow& row : kFrames)
            if (SupportsIID(Record, *row.Kind))
                return &row;
    return nullptr;
}

} // namespace

TBaseFrame* CreateRecordFrame(IEwidarRecord* Record, QWidget* Parent) {
    const TFrameRow* row = RowOf(Record);
    return row && row->Factory ? row->Factory(Parent) : nullptr;
}

QString RecordKindName(IEwidarRecord* Record) {
    const TFrameRow* row = RowOf(Record);
    return row ? QLatin1String(row->Name) : QString();
}

QString NewRecordTitle(IEwidarRecord* Record) {
    const TFrameRow* row = RowOf(Record);
    return row ? QString::fromUtf8(row->NewTitle) : QString();
}

TBaseFrame* CreateRecordFrameOfKind(const TGUID& Kind, QWidget* Parent) {
    for (const TFrameRow& row : kFrames)
        if (*row.Kind == Kind)
            return row.Factory ? row.Factory(Parent) : nullptr;
    return nullptr;
}
