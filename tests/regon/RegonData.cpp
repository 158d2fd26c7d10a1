#include "RegonData.h"

#include "FakeRegonService.h"

using namespace FakeDoc;

namespace RegonData {

namespace {

QString SearchHit(const QString& Regon, const QString& Name, const QString& Type, const QString& Report,
                  const QString& Silo) {
    return Array({Object({{"Regon", Regon},
                          {"Nazwa", Name},
                          {"Typ", Type},
                          {"SilosID", Silo},
                          {"Raport", Link(Regon, Report, Silo)}})});
}

void FillPersons(TFakeRegonService& S) {
    const QString regon = PersonRegon;
    S.Searches[PersonNip] = S.Searches[regon] =
        SearchHit(regon, "JAN KOWALSKI USŁUGI", "F", "PublDaneRaportFizycznaOsoba", "1");
    S.Reports[regon + "|PublDaneRaportFizycznaOsoba"] =
        Array({Object({{"fiz_regon9", regon},
                       {"fiz_nip", PersonNip},
                       {"fiz_imie1", "Jan"},
                       Null("fiz_imie2"),
                       {"fiz_nazwisko", "Kowalski"},
                       {"fiz_dataWpisuDoREGON", "2001-02-03"},
                       {"Dzialalnosc", Link(regon, "PublDaneRaportDzialalnoscFizycznejCeidg", "1")},
                       {"Pkd", Link(regon, "PublDaneRaportDzialalnosciFizycznej", "1")},
                       {"Lokalne", Link(regon, "PublDaneRaportLokalneFizycznej", "1")}})});
    S.Reports[regon + "|PublDaneRaportDzialalnoscFizycznejCeidg"] =
        Array({Object({{"fiz_nazwaFormyWlasnosci", "215 - WŁASNOŚĆ KRAJOWYCH OSÓB FIZYCZNYCH"},
                       {"fiz_nazwa", "JAN KOWALSKI USŁUGI \"POD LIPĄ\""},
                       {"fiz_adSiedzNazwaMiejscowosci", "Łódź"},
                       Null("fiz_adSiedzNumerLokalu"),
                       {"fiz_adSiedzKodPocztowy", "90001"}})});
    S.Reports[regon + "|PublDaneRaportDzialalnosciFizycznej"] =
        Array({Object({{"fiz_pkdKod", "6920Z"},
                       {"fiz_pkdNazwa", "Działalność rachunkowo-księgowa"},
                       {"fiz_pkdPrzewazajace", "1"}}),
               Object({{"fiz_pkdKod", "6201Z"},
                       {"fiz_pkdNazwa", "Działalność związana z oprogramowaniem"},
                       {"fiz_pkdPrzewazajace", "0"}})});
    S.Reports[regon + "|PublDaneRaportLokalneFizycznej"] =
        Array({Object({{"lokfiz_regon14", PersonUnitRegon},
                       {"lokfiz_nazwa", "Sklep"},
                       {"lokfiz_wojewodztwo", "ŁÓDZKIE"},
                       {"lokfiz_powiat", "Łódź"},
                       {"lokfiz_gmina", "Łódź-Bałuty"},
                       {"lokfiz_miejscowosc", "Łódź"},
                       Null("lokfiz_ulica"),
                       {"lokfiz_dataSkresleniazRegon", ""},
                       // Back to the person's report: must not be read again.
                       {"Osoba", Link(regon, "PublDaneRaportFizycznaOsoba", "1")}})});

    const QString sole = "987654325";
    S.Searches[SolePersonNip] = SearchHit(sole, "ANNA NOWAK", "F", "PublDaneRaportFizycznaOsoba", "2");
    S.Reports[sole + "|PublDaneRaportFizycznaOsoba"] =
        Array({Object({{"fiz_regon9", sole},
                       {"fiz_nip", SolePersonNip},
                       {"fiz_imie1", "Anna"},
                       {"fiz_imie2", "Maria"},
                       {"fiz_nazwisko", "Nowak"},
                       {"Pkd", Link(sole, "PublDaneRaportDzialalnosciFizycznej", "2")}})});
    S.Reports[sole + "|PublDaneRaportDzialalnosciFizycznej"] = Array(
        {Object({{"fiz_pkdKod", "0111Z"}, {"fiz_pkdNazwa", "Uprawa zbóż"}, {"fiz_pkdPrzewazajace", "1"}})});
}

void FillLegal(TFakeRegonService& S) {
    const QString regon = "556677889";
    S.Searches[LegalKrs] = SearchHit(regon, "BIURO RACHUNKOWE BILANS", "P", "PublDaneRaportPrawna", "6");
    QList<TField> fields{{"praw_regon9", regon},
                         {"praw_nip", "3333333333"},
                         {"praw_nazwa", "Biuro Rachunkowe \"Bilans\" Sp. z o.o."},
                         Number("praw_numerTelefonu", "221234567"),
                         Null("praw_numerFaksu"),
                         {"praw_adresEmail", "biuro@example.pl"},
                         {"praw_pkdKod", "6920Z"},
                         {"praw_pkdNazwa", "Działalność rachunkowo-księgowa"},
                         {"praw_pkdPrzewazajace", "1"},
                         {"praw_pkdKod", "7022Z"},
                         {"praw_pkdNazwa", "Doradztwo"},
                         {"praw_pkdPrzewazajace", ""}};
    for (const char* unit : {LegalUnitRegon, "55667788900035"})
        fields << TField{"lokpraw_regon14", unit} << TField{"lokpraw_nazwa", "Oddział"}
               << TField{"lokpraw_wojewodztwo", "MAZOWIECKIE"} << TField{"lokpraw_powiat", "Warszawa"}
               << TField{"lokpraw_gmina", "Mokotów"} << TField{"lokpraw_miejscowosc", "Warszawa"}
               << TField{"lokpraw_ulica", "ul. Puławska"} << TField{"lokpraw_dataSkresleniazRegon", ""};
    S.Reports[regon + "|PublDaneRaportPrawna"] = Array({Object(fields)});
}

void FillUnits(TFakeRegonService& S) {
    S.Searches[PersonUnitRegon] =
        SearchHit(PersonUnitRegon, "Sklep", "LF", "PublDaneRaportJednostkaLokalnaFizycznej", "1");
    S.Reports[QString(PersonUnitRegon) + "|PublDaneRaportJednostkaLokalnaFizycznej"] =
        Array({Object({{"lokfiz_regon14", PersonUnitRegon},
                       {"lokfiz_nazwa", "Sklep"},
                       {"lokfiz_nazwaOrganuRejestrowego", "MINISTER ROZWOJU"},
                       {"lokfiz_adSiedzNazwaMiejscowosci", "Łódź"},
                       {"Pkd", Link(PersonUnitRegon, "BIR11JednLokalnaOsFizycznejPkd", "1")}})});
    // The register's activity report of a natural person's local unit, with its field names.
    S.Reports[QString(PersonUnitRegon) + "|BIR11JednLokalnaOsFizycznejPkd"] =
        Array({Object({{"lokfiz_pkd_Kod", "4771Z"},
                       {"lokfiz_pkd_Nazwa", "Sprzedaż detaliczna odzieży"},
                       {"lokfiz_pkd_Przewazajace", "1"},
                       {"lokfiz_Silos_Symbol", "1"}}),
               Object({{"lokfiz_pkd_Kod", "4719Z"},
                       {"lokfiz_pkd_Nazwa", "Pozostała sprzedaż detaliczna"},
                       {"lokfiz_pkd_Przewazajace", "0"},
                       {"lokfiz_Silos_Symbol", "1"}})});
    S.Searches[LegalUnitRegon] =
        SearchHit(LegalUnitRegon, "Oddział", "LP", "PublDaneRaportJednostkaLokalnaPrawnej", "0");
    S.Reports[QString(LegalUnitRegon) + "|PublDaneRaportJednostkaLokalnaPrawnej"] =
        Array({Object({{"lokpraw_regon14", LegalUnitRegon},
                       {"lokpraw_nazwa", "Oddział"},
                       {"lokpraw_nazwaOrganuRejestrowego", "SĄD REJONOWY"},
                       {"lokpraw_adSiedzNazwaMiejscowosci", "Warszawa"},
                       {"Pkd", Link(LegalUnitRegon, "BIR11JednLokalnaOsPrawnejPkd", "0")}})});
    S.Reports[QString(LegalUnitRegon) + "|BIR11JednLokalnaOsPrawnejPkd"] =
        Array({Object({{"lokpraw_pkdKod", "6920Z"},
                       {"lokpraw_pkdNazwa", "Działalność rachunkowo-księgowa"},
                       {"lokpraw_pkdPrzewazajace", "1"}})});
}

} // namespace

void Fill(TFakeRegonService& Service) {
    FillPersons(Service);
    FillLegal(Service);
    FillUnits(Service);
}

} // namespace RegonData
