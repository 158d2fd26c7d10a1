#include "uPodmiotFrameParts.h"

#include "uDataValidate.h"
#include "uDictionaryModule.h"
#include "uPodmiotFrame.h"

using namespace uDataValidate;

namespace PodmiotParts {

namespace {

enum TSectionIndex {
    sDanePersonalne,
    sDaneWpisuEwidencji,
    sDaneKontaktowe,
    sDaneWlasciwychUrzedow,
    sPanel35,
    sAdresDokumentacji,
    sPozostaleDaneInfo,
    sPozostaleDanePersonalne,
    sNiepelnosprawnosc,
    sEmeryturaRenta,
    sRabat,
    sUwagi,
};

TFieldRow Plain(const char* Name, const TInternalFieldRecord& Field, const char* Group = nullptr) {
    return {Name, &Field, nullptr, {}, Group};
}

const QList<TSectionDeclaration>& Sections() {
    static const QList<TSectionDeclaration> s = {
        {"pnlDanePersonalne",
         QStringLiteral("Dane personalne"),
         {{"pnlNazwisko", &cDanePodmiotuNazwisko, &ValidateSurname, {"pnlDaneOsoby"}},
          {"pnlPierwszeImie", &cDanePodmiotuPierwszeImie, &ValidateFirstName, {"pnlDaneOsoby"}},
          Plain("pnlDrugieImie", cDanePodmiotuDrugieImie),
          Plain("pnlNazwiskoRodowe", cDanePodmiotuNazwiskoRodowe),
          Plain("pnlImieOjca", cDanePodmiotuImieOjca),
          Plain("pnlImieMatki", cDanePodmiotuImieMatki),
          {"pnlPESEL",
           &cDanePodmiotuPESEL,
           &ValidatePESEL,
           {"pnlDataUrodzenia", "pnlPlec", "pnlWlasciwyIdentyfikatorPodatkowy"}},
          Plain("pnlNiePosiadaNrPesel", cDanePodmiotuNiePosiadaNrPesel),
          {"pnlKrajNadaniaNumeru", &cDanePodmiotuKodKrajuNadaniaNumeruOF, &ValidateCountryCode, {"pnlNIP"}},
          {"pnlNIP",
           &cDanePodmiotuNIPOF,
           &ValidateNIP,
           {"pnlWlasciwyIdentyfikatorPodatkowy", "pnlKrajNadaniaNumeru"}},
          Plain("pnlNiePosiadaNrNIP", cDanePodmiotuNiePosiadaNrNIPOF),
          {"pnlWlasciwyIdentyfikatorPodatkowy",
           &cDanePodmiotuWlasciwyIdentyfikatorPodatkowy,
           &ValidateTaxIdentifierChoice,
           {"pnlPESEL", "pnlNIP", "pnlDaneOsoby"}},
          {"pnlDataUrodzenia", &cDanePodmiotuDataUrodzenia, &ValidateBirthDate, {"pnlPESEL"}},
          Plain("pnlMiejsceUrodzenia", cDanePodmiotuMiejsceUrodzenia),
          {"pnlPlec", &cDanePodmiotuPlec, &ValidateSex, {"pnlPESEL"}},
          Plain("pnlRezydent", cDanePodmiotuRezydent)}},
        {"pnlDaneWpisuEwidencji",
         QStringLiteral("Dane wynikające z wpisu do ewidencji lub rejestru"),
         {{"pnlNazwaFirmy", &cDanePodmiotuNazwaFirmy, &ValidateCompanyName, {"pnlDaneOsoby"}},
          Plain("pnlNazwaOrganuProwadzacegoEwidencje", cDanePodmiotuNazwaOrganuProwadzacegoEwidencje),
          Plain("pnlNazwaEwidencji", cDanePodmiotuNazwaEwidencji),
          Plain("pnlDataRejestracji", cDanePodmiotuDataRejestracji),
          Plain("pnlNumerEwidencji", cDanePodmiotuNumerEwidencji),
          Plain("pnlSkroconaNazwaFirmy", cDanePodmiotuSkroconaNazwaFirmy),
          Plain("pnlDataRozpoczeciaDzialalnosci", cDanePodmiotuDataRozpoczeciaDzialalnosci),
          {"pnlRegonPanel"},
          {"pnlREGON", &cDanePodmiotuREGON, &ValidateREGON, {}, "pnlRegonPanel"},
          Plain("pnlNiePosiadaNrRegon", cDanePodmiotuNiePosiadaNrRegon, "pnlRegonPanel"),
          {"pnlNIP2",
           &cDanePodmiotuNIP,
           &ValidateNIP,
           {"pnlWlasciwyIdentyfikatorPodatkowy", "pnlKrajNadaniaNumeru2"}},
          Plain("pnlNiePosiadaNrNIP2", cDanePodmiotuNiePosiadaNrNIP),
          {"pnlKrajNadaniaNumeru2", &cDanePodmiotuKodKrajuNadaniaNumeru, &ValidateCountryCode, {"pnlNIP2"}}}},
        {"pnlDaneKontaktowe",
         QStringLiteral("Dane kontaktowe"),
         {Plain("pnlNrTelefonu", cDanePodmiotuNrTelefonu),
          Plain("pnlNrFaksu", cDanePodmiotuNrFaksu),
          {"pnlAdresEMail", &cDanePodmiotuAdresEMail, &ValidateEmail},
          Plain("pnlStronaWWW", cDanePodmiotuStronaWWW),
          Plain("pnlKomunikatorNazwa", cDanePodmiotuKomunikatorNazwa),
          Plain("pnlKomunikatorNumer", cDanePodmiotuKomunikatorNumer)}},
        {"pnlDaneWlasciwychUrzedow",
         QStringLiteral("Dane urzędów skarbowych"),
         {Plain("pnlTypNaczelnika1", cDanePodmiotuTypNaczelnika1),
          Plain("pnlNazwaUS1", cDanePodmiotuNazwaUS1),
          Plain("pnlNaczelnikUS1", cDanePodmiotuNaczelnikUS1),
          Plain("pnlAdresUS1", cDanePodmiotuAdresUS1),
          {"pnlKontoUS1"},
          Plain("pnlTypNaczelnika2", cDanePodmiotuTypNaczelnika2),
          Plain("pnlNazwaUS2", cDanePodmiotuNazwaUS2),
          Plain("pnlNaczelnikUS2", cDanePodmiotuNaczelnikUS2),
          Plain("pnlAdresUS2", cDanePodmiotuAdresUS2),
          {"pnlKontoUS2"}}},
        {"Panel35",
         QStringLiteral("Pozostałe dane – podatkowe"),
         {Plain("pnlFormaOplacaniaPodatku", cDanePodmiotuFormaOplacaniaPodatku),
          Plain("pnlFormaWplatyZaliczki", cDanePodmiotuFormaWplatyZaliczki),
          Plain("pnlRodzajProwadzonejDokumentacjiRachunkowej",
                cDanePodmiotuRodzajProwadzonejDokumentacjiRachunkowej),
          Plain("pnlProwadzenieDokumentacjiRachunkowej", cDanePodmiotuProwadzenieDokumentacjiRachunkowej)}},
        {"pnlAdresMiejscaDokumentacjiRachunkowej",
         QStringLiteral("Adres miejsca przechowywania dokumentacji rachunkowej"),
         {Plain("pnlKraj", cDanePodmiotuAdresDokumentacjiRachunkowejKraj),
          Plain("pnlWojewodztwo", cDanePodmiotuAdresDokumentacjiRachunkowejWojewodztwo),
          Plain("pnlPowiat", cDanePodmiotuAdresDokumentacjiRachunkowejPowiat),
          Plain("pnlGmina", cDanePodmiotuAdresDokumentacjiRachunkowejGmina),
          Plain("pnlDzielnica", cDanePodmiotuAdresDokumentacjiRachunkowejDzielnica),
          Plain("pnlMiejscowosc", cDanePodmiotuAdresDokumentacjiRachunkowejMiejscowosc),
          Plain("pnlUlica", cDanePodmiotuAdresDokumentacjiRachunkowejUlica),
          Plain("pnlNrDomu", cDanePodmiotuAdresDokumentacjiRachunkowejNrDomu),
          Plain("pnlNrLokalu", cDanePodmiotuAdresDokumentacjiRachunkowejNrLokalu),
          {"pnlKodPocztowy", &cDanePodmiotuAdresDokumentacjiRachunkowejKodPocztowy, &ValidatePostalCode},
          Plain("pnlPoczta", cDanePodmiotuAdresDokumentacjiRachunkowejPoczta)}},
        {"pnlPozostaleDaneInfo",
         QStringLiteral("Pozostałe dane - informacyjne"),
         {Plain("pnlProwadziZakladPracyChronionej", cDanePodmiotuProwadziZakladPracyChronionej),
          Plain("pnlZagranicznePrzedsiebiorstwoDrobnaWytworczosc",
                cDanePodmiotuZagranicznePrzedsiebiorstwoDrobnaWytworczosc),
          Plain("pnlDzialalnoscWylacznieSpolkaCywilna", cDanePodmiotuDzialalnoscWylacznieSpolkaCywilna),
          Plain("pnlCzyPodatnikVAT", cDanePodmiotuCzyPodatnikVAT),
          Plain("pnlProwadziDzialalnoscNaTerenieStrefy", cDanePodmiotuProwadziDzialalnoscNaTerenieStrefy),
          Plain("pnlSposobRozliczaniaPodatkuOdTowarow", cDanePodmiotuSposobRozliczaniaPodatkuOdTowarow)}},
        {"pnlPozostaleDanePersonalne",
         QStringLiteral("Pozostałe dane - personalne"),
         {Plain("pnlCzyLaczyWspolnoscMajatkowa", cCzyLaczyWspolnoscMajatkowa),
          Plain("pnlWspolnoscMajatkowaUstalaDnia", cWspolnoscMajatkowaUstalaDnia),
          Plain("pnlKodTytuluUbezpieczenia", cKodTytuluUbezpieczenia),
          Plain("pnlWymiarCzasuPracy", cWymiarCzasuPracy), Plain("pnlStanowisko", cStanowisko),
          Plain("pnlRodzajZatrudnienia", cRodzajZatrudnienia),
          Plain("pnlDataZwolnieniaZPracy", cDataZwolnieniaZPracy),
          Plain("pnlPokrewienstwoZPracodawca", cPokrewienstwoZPracodawca)}},
        {"pnlInformacjeOStopniuNiepelnosprawnosci",
         QStringLiteral("Informacje o stopniu niepełnosprawności"),
         {Plain("pnlStopienNiepelnosprawnosci", cStopienNiepelnosprawnosci),
          Plain("pnlDataOrzeczenieOd", cDataOrzeczenieOd), Plain("pnlDataOrzeczenieDo", cDataOrzeczenieDo)}},
        {"pnlInformacjeOEmeryturzeRencie",
         QStringLiteral("Informacje o emeryturze / rencie"),
         {{"pnlEmeryturaRenta", &cEmeryturaRenta, nullptr, {}, nullptr, true},
          Plain("pnlEmerRentDataOd", cEmerRentDataOd),
          Plain("pnlEmerRentDataDo", cEmerRentDataDo)}},
        {"pnlRabatPanel", {}, {{"pnlRabat", &cRabat, nullptr, {}, nullptr, true}}, &cRabat},
        {"pnlUwagiPanel", {}, {{"pnlUwagi", &cUwagi, nullptr, {}, nullptr, true}}, &cUwagi},
    };
    return s;
}

TTabItem SectionItem(int Index) {
    return {TTabItem::kSection, nullptr, {}, Index};
}
TTabItem ListItem(const char* Name, const QString& Title, bool Registry = false) {
    return {TTabItem::kList, Name, Title, -1, Registry};
}
TTabItem LinkedItem(const char* Name) {
    return {TTabItem::kLinked, Name};
}
TTabItem ViewerItem(const char* Name) {
    return {TTabItem::kViewer, Name};
}

const QList<TTabDescription>& Tabs() {
    static const QList<TTabDescription> t = {
        {"TabSheet1",
         QStringLiteral("Dane personalne"),
         {SectionItem(sDanePersonalne), ListItem("ObywatelstwaCollection", QStringLiteral("Obywatelstwa")),
          ListItem("DokumentyTozsamosciCollection",
                   QStringLiteral("Dokumenty potwierdzające tożsamość/pozostałe numery identyfikacyjne")),
          ListItem("AdresyCollection", QStringLiteral("Dane adresowe"))}},
        {"TabSheet3",
         QStringLiteral("Dane firmy"),
         {SectionItem(sDaneWpisuEwidencji),
          ListItem("AdresyDzialalnosciCollection", QStringLiteral("Adresy działalności")),
          ListItem("RodzajeDzialalnosciCollection", QStringLiteral("Rodzaje działalności")),
          LinkedItem("RodzajDzialalnosciFrame1"),
          ListItem("OddzialyCollection", QStringLiteral("Oddziały / jednostki lokalne"))}},
        {"TabSheet2", QStringLiteral("Dane kontaktowe"), {SectionItem(sDaneKontaktowe)}},
        {"TabSheet4",
         QStringLiteral("Dane właściwych urzędów"),
         {SectionItem(sDaneWlasciwychUrzedow), LinkedItem("DaneZUSFrame1"),
          LinkedItem("DaneUrzeduStatystycznegoFrame1"), LinkedItem("DaneNFZFrame1"),
          LinkedItem("DaneSaduRejonowegoFrame1")}},
        {"TabSheet5",
         QStringLiteral("Pozostałe dane - podatkowe"),
         {SectionItem(sPanel35), LinkedItem("BiuroRachunkoweFrames1"), SectionItem(sAdresDokumentacji),
          SectionItem(sPozostaleDaneInfo)}},
        {"TabSheet6",
         QStringLiteral("Dane spółek"),
         {ListItem("SpolkiCollection", QStringLiteral("Lista spółek")), ViewerItem("SpolkaPodmiotuFrame1")}},
        {"TabSheet7",
         QStringLiteral("Rachunki bankowe"),
         {ListItem("RachunkiBankoweCollection", QStringLiteral("Lista rachunków")),
          ViewerItem("DaneRachunkuFrame1")}},
        {"TabSheet8",
         QStringLiteral("Osoby uprawnione do reprezentowania"),
         {ListItem("ReprezentanciCollection", QStringLiteral("Lista reprezentantów")),
          ViewerItem("DaneReprezentantaFrame1")}},
        {"TabSheet9",
         QStringLiteral("Pozostałe dane - personalne"),
         {SectionItem(sPozostaleDanePersonalne), SectionItem(sNiepelnosprawnosc),
          SectionItem(sEmeryturaRenta),
          ListItem("ZamawiajacyCollection", QStringLiteral("Dane osób zamawiających")), SectionItem(sRabat)}},
        {"TabSheet11", QStringLiteral("Pracownicy"), {ListItem("PracownicyCollection", QString(), true)}},
        {"TabSheet12", QStringLiteral("Kontrahenci"), {ListItem("KontrahenciCollection", QString(), true)}},
        {"TabSheet13", QStringLiteral("Podatnicy"), {ListItem("PodatnicyCollection", QString(), true)}},
        {"TabSheet10",
         QStringLiteral("Uwagi i pola własne"),
         {SectionItem(sUwagi), {TTabItem::kDynamic, "pnlDynamicField"}}},
    };
    return t;
}

template <class K, class G, class S>
TLinkedRecordSection::TLink Link(G Get, S Set,
                                 std::function<TIntfPtr<IEwidarCollection>(IEwidarRegistries*)> Registry) {
    return {&K::IID,
            [Get](IEwidarRecord* Owner) -> TIntfPtr<IEwidarRecord> {
                TIntfPtr<IPodmiot> p = Supports<IPodmiot>(Owner);
                return p ? TIntfPtr<IEwidarRecord>(((*p).*Get)()) : nullptr;
            },
            [Set](IEwidarRecord* Owner, IEwidarRecord* Target) {
                if (TIntfPtr<IPodmiot> p = Supports<IPodmiot>(Owner))
                    ((*p).*Set)(Target);
            },
            std::move(Registry)};
}

} // namespace

int TabCount() {
    return int(Tabs().size());
}
const TTabDescription& TabAt(int Index) {
    return Tabs().at(Index);
}
const TSectionDeclaration& SectionAt(int Index) {
    return Sections().at(Index);
}

const QList<TFieldRow>& Switches() {
    static const QList<TFieldRow> s = {
        {"pnlDaneOsoby",
         &cDanePodmiotuOsobaFizycznaOsobaPrawna,
         &ValidatePersonKind,
         {"pnlWlasciwyIdentyfikatorPodatkowy", "pnlNazwisko", "pnlPierwszeImie", "pnlNazwaFirmy"}},
        {"pnlDaneOsobyFizycznej", &cDanePodmiotuCzyProwadzilaDzialalnoscSamodzielnie},
        {"pnlDaneOsobyProwadzacejDzialalnoscSamodzielnie", &cDanePodmiotuCzyPrzedsiebiorca},
    };
    return s;
}

QList<const TFieldRow*> AllRows() {
    QList<const TFieldRow*> rows;
    for (const TFieldRow& r : Switches())
        rows.append(&r);
    for (const TSectionDeclaration& s : Sections())
        for (const TFieldRow& r : s.Panels)
            if (r.Field)
                rows.append(&r);
    return rows;
}

const QList<TLinkedDeclaration>& LinkedSections() {
    static const QList<TLinkedDeclaration> l = {
        {"RodzajDzialalnosciFrame1", QStringLiteral("Rodzaj przeważającej działalności"), true,
         Link<IRodzajDzialalnosci>(&IPodmiot::GetRodzajPrzewazajacejDzialalnosci,
                                   &IPodmiot::SetRodzajPrzewazajacejDzialalnosci, nullptr)},
        {"DaneZUSFrame1", QStringLiteral("Dane ZUS"), false,
         Link<IDaneZUS>(
             &IPodmiot::GetDaneZUS, &IPodmiot::SetDaneZUS,
             [](IEwidarRegistries* R) { return TIntfPtr<IEwidarCollection>(R->GetDaneZUSow(u"")); })},
        {"DaneUrzeduStatystycznegoFrame1", QStringLiteral("Dane urzędu statystycznego"), false,
         Link<IUrzadStatystyczny>(&IPodmiot::GetUrzadStatystyczny, &IPodmiot::SetUrzadStatystyczny,
                                  [](IEwidarRegistries* R) {
                                      return TIntfPtr<IEwidarCollection>(R->GetUrzedyStatystyczne(u""));
                                  })},
        {"DaneNFZFrame1", QStringLiteral("Dane NFZ"), false,
         Link<IDaneNFZ>(
             &IPodmiot::GetDaneNFZ, &IPodmiot::SetDaneNFZ,
             [](IEwidarRegistries* R) { return TIntfPtr<IEwidarCollection>(R->GetDaneNFZow(u"")); })},
        {"DaneSaduRejonowegoFrame1", QStringLiteral("Dane sądu rejonowego"), false,
         Link<ISadRejonowy>(
             &IPodmiot::GetSadRejonowy, &IPodmiot::SetSadRejonowy,
             [](IEwidarRegistries* R) { return TIntfPtr<IEwidarCollection>(R->GetSadyRejonowe(u"")); })},
        {"BiuroRachunkoweFrames1", QStringLiteral("Dane biura rachunkowego"), false,
         Link<IBiuroRachunkowe>(
             &IPodmiot::GetBiuroRachunkowe, &IPodmiot::SetBiuroRachunkowe,
             [](IEwidarRegistries* R) { return TIntfPtr<IEwidarCollection>(R->GetBiuraRachunkowe(u"")); })},
    };
    return l;
}

const QList<TViewerDeclaration>& Viewers() {
    static const QList<TViewerDeclaration> v = {
        {"SpolkaPodmiotuFrame1", QStringLiteral("Podgląd spółki"), &ISpolkaPodmiotu::IID},
        {"DaneRachunkuFrame1", QStringLiteral("Podgląd rachunku"), &IRachunekBankowy::IID},
        {"DaneReprezentantaFrame1", QStringLiteral("Podgląd reprezentanta"), &IReprezentant::IID},
    };
    return v;
}

QList<std::pair<const char*, const char*>> ViewerLists() {
    return {{"SpolkiCollection", "SpolkaPodmiotuFrame1"},
            {"RachunkiBankoweCollection", "DaneRachunkuFrame1"},
            {"ReprezentanciCollection", "DaneReprezentantaFrame1"}};
}

QList<const TInternalFieldRecord*> AccountFields(int Office) {
    if (Office == 1)
        return {&cDanePodmiotuUS1RachunekPIT,    &cDanePodmiotuUS1RachunekPITSTD,
                &cDanePodmiotuUS1RachunekCIT,    &cDanePodmiotuUS1RachunekVAT,
                &cDanePodmiotuUS1RachunekVATUE1, &cDanePodmiotuUS1RachunekVIUDVINDMOSS,
                &cDanePodmiotuUS1RachunekDoch,   &cDanePodmiotuUS1RachunekIND};
    return {&cDanePodmiotuUS2RachunekPIT,    &cDanePodmiotuUS2RachunekPITSTD,
            &cDanePodmiotuUS2RachunekCIT,    &cDanePodmiotuUS2RachunekVAT,
            &cDanePodmiotuUS2RachunekVATUE1, &cDanePodmiotuUS2RachunekVIUDVINDMOSS,
            &cDanePodmiotuUS2RachunekDoch,   &cDanePodmiotuUS2RachunekIND};
}

QList<std::pair<const char*, QString>> AddressIcons() {
    return {{"pnlKraj", QStringLiteral("Tablica krajów")},
            {"pnlPowiat", QStringLiteral("Tablica powiatów")},
            {"pnlGmina", QStringLiteral("Tablica gmin")},
            {"pnlMiejscowosc", QStringLiteral("Tablica miejscowości")}};
}

void AddressIconClick(TPodmiotFrame* Frame, TPanel* Sender) {
    TDictionaryModule* module = PodmiotOpeners::DictionaryModule();
    if (!module)
        return;
    auto value = [Frame](const char* Name) {
        return Frame->Panel(Name)->Value();
    };
    TDictionaryRecord r;
    const QString name = Sender->objectName();
    if (name == QLatin1String("pnlKraj"))
        module->Kraj(Frame->window(), value("pnlKraj"), r);
    else if (name == QLatin1String("pnlPowiat"))
        module->Powiat(Frame->window(), value("pnlWojewodztwo"), value("pnlPowiat"), r);
    else if (name == QLatin1String("pnlGmina"))
        module->Gmina(Frame->window(), value("pnlWojewodztwo"), value("pnlPowiat"), value("pnlGmina"), r);
    else
        module->Miejscowosc(Frame->window(), value("pnlWojewodztwo"), value("pnlPowiat"), value("pnlGmina"),
                            value("pnlMiejscowosc"), r);
    const std::pair<const char*, QString> parts[] = {
        {"pnlKraj", r.KrajNazwa}, {"pnlWojewodztwo", r.Wojewodztwo}, {"pnlPowiat", r.Powiat},
        {"pnlGmina", r.Gmina},    {"pnlMiejscowosc", r.Miejscowosc}, {"pnlUlica", r.Ulica}};
    for (const auto& [panel, text] : parts)
        if (!text.isEmpty())
            Frame->Panel(panel)->SetValue(text);
}

void CountryCodeIconClick(TPodmiotFrame* Frame, TPanel* Sender) {
    TDictionaryModule* module = PodmiotOpeners::DictionaryModule();
    if (!module)
        return;
    TDictionaryRecord r;
    module->Kraj(Frame->window(), Sender->Value(), r);
    if (!r.KrajKod.isEmpty())
        Sender->SetValue(r.KrajKod);
}

} // namespace PodmiotParts
