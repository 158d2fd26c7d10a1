#include "uGetPodatnikInfoSymbols.h"

namespace PodatnikInfoSymbols {

const TSymbolList& Personal() {
    static const TSymbolList list = {&cDanePodmiotuOpis,
                                     &cDanePodmiotuOsobaFizycznaOsobaPrawna,
                                     &cDanePodmiotuCzyProwadzilaDzialalnoscSamodzielnie,
                                     &cDanePodmiotuCzyPrzedsiebiorca,
                                     &cDanePodmiotuNazwisko,
                                     &cDanePodmiotuPierwszeImie,
                                     &cDanePodmiotuDrugieImie,
                                     &cDanePodmiotuNazwiskoRodowe,
                                     &cDanePodmiotuImieOjca,
                                     &cDanePodmiotuImieMatki,
                                     &cDanePodmiotuPESEL,
                                     &cDanePodmiotuNiePosiadaNrPesel,
                                     &cDanePodmiotuKodKrajuNadaniaNumeruOF,
                                     &cDanePodmiotuNIPOF,
                                     &cDanePodmiotuNiePosiadaNrNIPOF,
                                     &cDanePodmiotuWlasciwyIdentyfikatorPodatkowy,
                                     &cDanePodmiotuDataUrodzenia,
                                     &cDanePodmiotuMiejsceUrodzenia,
                                     &cDanePodmiotuPlec,
                                     &cDanePodmiotuRezydent};
    return list;
}

const TSymbolList& Registry() {
    static const TSymbolList list = {&cDanePodmiotuNazwaFirmy,
                                     &cDanePodmiotuNazwaOrganuProwadzacegoEwidencje,
                                     &cDanePodmiotuNazwaEwidencji,
                                     &cDanePodmiotuDataRejestracji,
                                     &cDanePodmiotuNumerEwidencji,
                                     &cDanePodmiotuSkroconaNazwaFirmy,
                                     &cDanePodmiotuDataRozpoczeciaDzialalnosci,
                                     &cDanePodmiotuKodKrajuNadaniaNumeru,
                                     &cDanePodmiotuNIP,
                                     &cDanePodmiotuNiePosiadaNrNIP,
                                     &cDanePodmiotuREGON,
                                     &cDanePodmiotuNiePosiadaNrRegon};
    return list;
}

const TSymbolList& Contact() {
    static const TSymbolList list = {&cDanePodmiotuNrTelefonu,       &cDanePodmiotuNrFaksu,
                                     &cDanePodmiotuAdresEMail,       &cDanePodmiotuStronaWWW,
                                     &cDanePodmiotuKomunikatorNazwa, &cDanePodmiotuKomunikatorNumer};
    return list;
}

const TSymbolList& TaxOffice(int Office) {
    static const TSymbolList first = {&cDanePodmiotuTypNaczelnika1,    &cDanePodmiotuNazwaUS1,
                                      &cDanePodmiotuNaczelnikUS1,      &cDanePodmiotuAdresUS1,
                                      &cDanePodmiotuUS1RachunekPIT,    &cDanePodmiotuUS1RachunekPITSTD,
                                      &cDanePodmiotuUS1RachunekCIT,    &cDanePodmiotuUS1RachunekVAT,
                                      &cDanePodmiotuUS1RachunekVATUE1, &cDanePodmiotuUS1RachunekVIUDVINDMOSS,
                                      &cDanePodmiotuUS1RachunekDoch,   &cDanePodmiotuUS1RachunekIND};
    static const TSymbolList second = {&cDanePodmiotuTypNaczelnika2,    &cDanePodmiotuNazwaUS2,
                                       &cDanePodmiotuNaczelnikUS2,      &cDanePodmiotuAdresUS2,
                                       &cDanePodmiotuUS2RachunekPIT,    &cDanePodmiotuUS2RachunekPITSTD,
                                       &cDanePodmiotuUS2RachunekCIT,    &cDanePodmiotuUS2RachunekVAT,
                                       &cDanePodmiotuUS2RachunekVATUE1, &cDanePodmiotuUS2RachunekVIUDVINDMOSS,
                                       &cDanePodmiotuUS2RachunekDoch,   &cDanePodmiotuUS2RachunekIND};
    return Office == 2 ? second : first;
}

const TSymbolList& TaxForms() {
    static const TSymbolList list = {&cDanePodmiotuFormaOplacaniaPodatku, &cDanePodmiotuFormaWplatyZaliczki,
                                     &cDanePodmiotuRodzajProwadzonejDokumentacjiRachunkowej,
                                     &cDanePodmiotuProwadzenieDokumentacjiRachunkowej};
    return list;
}

const TSymbolList& AccountingAddress() {
    static const TSymbolList list = {&cDanePodmiotuAdresDokumentacjiRachunkowejKraj,
                                     &cDanePodmiotuAdresDokumentacjiRachunkowejWojewodztwo,
                                     &cDanePodmiotuAdresDokumentacjiRachunkowejPowiat,
                                     &cDanePodmiotuAdresDokumentacjiRachunkowejGmina,
                                     &cDanePodmiotuAdresDokumentacjiRachunkowejDzielnica,
                                     &cDanePodmiotuAdresDokumentacjiRachunkowejMiejscowosc,
                                     &cDanePodmiotuAdresDokumentacjiRachunkowejUlica,
                                     &cDanePodmiotuAdresDokumentacjiRachunkowejNrDomu,
                                     &cDanePodmiotuAdresDokumentacjiRachunkowejNrLokalu,
                                     &cDanePodmiotuAdresDokumentacjiRachunkowejKodPocztowy,
                                     &cDanePodmiotuAdresDokumentacjiRachunkowejPoczta};
    return list;
}

const TSymbolList& OtherTax() {
    static const TSymbolList list = {&cDanePodmiotuProwadziZakladPracyChronionej,
                                     &cDanePodmiotuZagranicznePrzedsiebiorstwoDrobnaWytworczosc,
                                     &cDanePodmiotuDzialalnoscWylacznieSpolkaCywilna,
                                     &cDanePodmiotuCzyPodatnikVAT,
                                     &cDanePodmiotuProwadziDzialalnoscNaTerenieStrefy,
                                     &cDanePodmiotuSposobRozliczaniaPodatkuOdTowarow};
    return list;
}

const TSymbolList& PersonalOther() {
    static const TSymbolList list = {&cCzyLaczyWspolnoscMajatkowa, &cWspolnoscMajatkowaUstalaDnia,
                                     &cKodTytuluUbezpieczenia};
    return list;
}

const TSymbolList& Disability() {
    static const TSymbolList list = {&cStopienNiepelnosprawnosci, &cDataOrzeczenieOd, &cDataOrzeczenieDo};
    return list;
}

const TSymbolList& Pension() {
    static const TSymbolList list = {&cEmeryturaRenta, &cEmerRentDataOd, &cEmerRentDataDo};
    return list;
}

} // namespace PodatnikInfoSymbols
