#include "uCollectionTitles.h"

#include "uEwidarQuorDBIntf.h"

#include <array>

namespace {

struct TTitlesEntry {
    const TGUID* IID;
    const char16_t* Titles;
};

const char16_t* const kSubjects =
    u"\"Opis lub imię i nazwisko / Nazwa firmy\",\"Numer identyfikacyjny\",\"Miejscowość\"";

const std::array<TTitlesEntry, 23> kTitles = {{
    {&IObywatelstwa::IID, u"Obywatelstwo"},
    {&IDokumentyTozsamosci::IID, u"Rodzaj,Seria,Numer"},
    {&IAdresy::IID, u"Miejscowość,Ulica"},
    {&IAdresyDzialalnosci::IID, u"Miejscowość,Ulica"},
    {&IOddzialy::IID, u"Nazwa,REGON"},
    {&ISpolki::IID, u"Nazwa,REGON"},
    {&ISpolkiPodmiotu::IID, u"Nazwa,REGON"},
    {&IRodzajeDzialalnosci::IID, u"\"Kod wg PKD\",\"Opis wg PKD\""},
    {&IDaneZUSow::IID, u"Nazwa,Adres"},
    {&IUrzedyStatystyczne::IID, u"Nazwa,Adres"},
    {&ISadyRejonowe::IID, u"Nazwa,Adres"},
    {&IDaneBankow::IID, u"Nazwa,Adres"},
    {&IDaneNFZow::IID, u"Kod,Nazwa"},
    {&INrIdentyfikacyjne::IID, u"Kraj,Numer"},
    {&IWspolnicy::IID, u"Imię,Nazwisko"},
    {&IDaneZamawiajacych::IID, u"Imię,Nazwisko"},
    {&IReprezentanci::IID, u"Imię,Nazwisko"},
    {&IRachunkiBankowe::IID, u"\"Numer rachunku\",Nazwa"},
    {&IBiuraRachunkowe::IID, u"\"Nazwa / imię i nazwisko\",NIP"},
    {&IPodmioty::IID, kSubjects},
    {&IPodatnicy::IID, kSubjects},
    {&IKontrahenci::IID, kSubjects},
    {&IPracownicy::IID, u"\"Opis lub imię i nazwisko\",\"Numer identyfikacyjny\",\"Miejscowość\""},
}};

} // namespace

QString CollectionTitleBar(IInterface* Collection) {
    for (const TTitlesEntry& entry : kTitles)
        if (SupportsIID(Collection, *entry.IID))
            return QString::fromUtf16(entry.Titles);
    return QString();
}
