// Request bodies, decoding of answers and the readers over them; no network.

#include "uRegonAnswer.h"
#include "uRegonBodies.h"
#include "uRegonSettings.h"

#include <gtest/gtest.h>

using namespace RegonBodies;

TEST(RegonBodies, MatchTheServiceTemplatesByteForByte) {
    EXPECT_EQ(LoginBody(QStringLiteral("mmmmmmnnnnnooooopppp")),
              QByteArray(R"({"pKluczUzytkownika":"mmmmmmnnnnnooooopppp"})"));
    EXPECT_EQ(CodeBody(QStringLiteral("x7Kp")), QByteArray(R"({"pCaptcha":"x7Kp"})"));
    EXPECT_EQ(ReportBody(QStringLiteral("123456785"), QStringLiteral("PublDaneRaportFizycznaOsoba"),
                         QStringLiteral("1")),
              QByteArray(
                  R"({"pRegon":"123456785","pNazwaRaportu":"PublDaneRaportFizycznaOsoba", "pSilosID":"1"})"));
    EXPECT_EQ(
        SearchBody(QStringLiteral("123456785"), QStringLiteral("1111111111"), QStringLiteral("0000123456")),
        QByteArray(
            R"({"pParametryWyszukiwania": {"NazwaPodmiotu": null,"AdsSymbolGminy": null,)"
            R"("AdsSymbolMiejscowosci": null,"AdsSymbolPowiatu": null,"AdsSymbolUlicy": null,)"
            R"("AdsSymbolWojewodztwa": null,"Dzialalnosci": null,"PrzewazajacePKD": false,)"
            R"("Regon": "123456785","Krs": "0000123456","Nip": "1111111111","Regony9zn": null,)"
            R"("Regony14zn": null,"Krsy": null,"Nipy": null,"NumerwRejestrzeLubEwidencji": null,)"
            R"("OrganRejestrowy": null,"RodzajRejestru": null,"FormaPrawna": null},"jestWojPowGmn": true})"));
    // Empty search texts give empty string values.
    EXPECT_TRUE(SearchBody({}, {}, {}).contains(R"("Regon": "","Krs": "","Nip": "",)"));
}

TEST(RegonBodies, TypedValuesAreEscapedAsJsonStrings) {
    EXPECT_EQ(CodeBody(QStringLiteral("a\"b\\c\nd\x01")), QByteArray(R"({"pCaptcha":"a\"b\\c\nd\u0001"})"));
    // A typed value cannot close the string and add a member of its own.
    EXPECT_EQ(SearchBody(QStringLiteral("1\",\"Nip\": \"2"), {}, {}).count("\"Nip\":"), 1);
    EXPECT_EQ(LoginBody(QStringLiteral("żółć")), QStringLiteral("{\"pKluczUzytkownika\":\"żółć\"}").toUtf8());
}

namespace {

TRegonAnswer Parsed(const QByteArray& Raw) {
    TRegonAnswer answer;
    QString error;
    EXPECT_TRUE(TRegonAnswer::Parse(Raw, answer, error)) << Raw.constData() << " " << error.toStdString();
    return answer;
}

} // namespace

TEST(RegonAnswer, DecodesTheEnvelope) {
    const struct {
        QByteArray Raw;
        QString DValue;
    } cases[] = {
        {R"({"d":"Sesja42"})", QStringLiteral("Sesja42")},
        {R"( { "d" : "a\"b\\c\/d\n" } )", QStringLiteral("a\"b\\c/d\n")},
        {R"({"d":"\u0141\u00f3d\u017a"})", QStringLiteral("Łódź")},
        {"{\"d\":\"Łódź\"}", QStringLiteral("Łódź")},
        {R"({"d":"{}"})", QStringLiteral("{}")},
        {R"({"d":null})", QString()},
        {R"({"d":42})", QStringLiteral("42")},
        {R"({"d":true})", QStringLiteral("true")},
        {R"({"d":"x","e":"y"})", QStringLiteral("x")},
        {R"({})", QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parsed(c.Raw).Text(), c.DValue) << c.Raw.constData();
}

TEST(RegonAnswer, BrokenAnswersAreRefusedWithAReason) {
    const QByteArray cases[] = {
        "",
        "<html><head><title>Runtime Error</title></head><body>Server Error in '/' Application.</body></html>",
        R"({"d":"[{\"fiz_regon9\":\"1234)",        // cut off inside the envelope
        R"({"d":"[{\"fiz_regon9\":\"123\",\"f"})", // the envelope whole, its document cut off
        R"({"d":"x"} trailing)",
        R"({"d":"\x"})",
        R"({"d":"\u12"})",
        R"({"d":"\u+12a"})",
        R"(["d"])",
    };
    for (const QByteArray& raw : cases) {
        TRegonAnswer answer;
        QString error;
        EXPECT_FALSE(TRegonAnswer::Parse(raw, answer, error)) << raw.constData();
        EXPECT_EQ(error, QStringLiteral("Nieczytelna odpowiedź usługi REGON.")) << raw.constData();
        EXPECT_FALSE(answer.Found());
        EXPECT_TRUE(answer.Text().isEmpty());
    }
    // Deep nesting is refused instead of exhausting the stack.
    TRegonAnswer answer;
    QString error;
    EXPECT_FALSE(TRegonAnswer::Parse("{\"d\":\"" + QByteArray(100000, '[') + "\"}", answer, error));
}

TEST(RegonAnswer, ValuesAreReadInDocumentOrder) {
    const TRegonAnswer answer =
        Parsed(R"({"d":"[{\"fiz_nazwaFormyWlasnosci\":\"215 - WŁASNOŚĆ KRAJOWYCH OSÓB FIZYCZNYCH\",)"
               R"(\"fiz_imie1\":\"Jan\",\"fiz_imie2\":null,\"fiz_nazwisko\":\"Kowalski\",)"
               R"(\"fiz_nazwa\":\"  Firma \\\"Pod Lip\\u0105\\\" }  \",\"praw_numerTelefonu\":221234567,)"
               R"(\"fiz_dataSkresleniazRegon\":\"\",\"lista\":[\"luz\",{\"fiz_nip\":\"1111111111\"}]},)"
               R"({\"fiz_imie1\":\"Drugi\"}]"})");
    EXPECT_TRUE(answer.Found());
    EXPECT_EQ(answer.ValueOf(QStringLiteral("fiz_imie1")), QStringLiteral("Jan"));
    // A null reads as empty, never as the next field's value.
    EXPECT_EQ(answer.ValueOf(QStringLiteral("fiz_imie2")), QString());
    EXPECT_EQ(answer.ValueOf(QStringLiteral("fiz_nazwisko")), QStringLiteral("Kowalski"));
    // Quotation marks and braces inside a value are kept; blanks around it trimmed.
    EXPECT_EQ(answer.ValueOf(QStringLiteral("fiz_nazwa")), QStringLiteral("Firma \"Pod Lipą\" }"));
    EXPECT_EQ(answer.ValueOf(QStringLiteral("praw_numerTelefonu")), QStringLiteral("221234567"));
    EXPECT_EQ(answer.ValueOf(QStringLiteral("fiz_nip")), QStringLiteral("1111111111"));
    EXPECT_EQ(answer.ValueOf(QStringLiteral("fiz_nazwaFormy")), QString());
    EXPECT_EQ(answer.ValueOf(QStringLiteral("Nazwa")), QString());

    EXPECT_FALSE(Parsed(R"({"d":""})").Found());
    EXPECT_FALSE(Parsed(R"({"d":"[]"})").Found());
    EXPECT_FALSE(Parsed(R"({"d":"Komunikat bez danych"})").Found());
}

TEST(RegonAnswer, ActivityAndLocalUnitRowsFollowTheirFirstKey) {
    const TRegonAnswer activities =
        Parsed(R"({"d":"[)"
               R"({\"praw_pkdKod\":\"9999Z\",\"praw_pkdNazwa\":\"x\",\"p\":\"1\"},)"
               R"({\"fiz_pkdKod\":\"6920Z\",\"fiz_pkdNazwa\":\"Rachunkowość\",)"
               R"(\"fiz_pkdPrzewazajace\":\"1\"},)"
               R"({\"fiz_pkdKod\":\"6201Z\",\"fiz_pkdNazwa\":null,)"
               R"(\"fiz_pkdPrzewazajace\":0}]"})");
    const QList<QStringList> expected{{"6920Z", "Rachunkowość", "1"}, {"6201Z", "", "0"}};
    EXPECT_EQ(activities.Activities(), expected);

    const TRegonAnswer legal = Parsed(R"({"d":"{\"praw_pkdKod\":\"6920Z\",\"praw_pkdNazwa\":\"R\",)"
                                      R"(\"praw_pkdPrzewazajace\":\"1\",\"praw_pkdKod\":\"7022Z\"}"})");
    const QList<QStringList> legalRows{{"6920Z", "R", "1"}, {"7022Z", "", ""}};
    EXPECT_EQ(legal.Activities(), legalRows);

    const TRegonAnswer units = Parsed(
        R"({"d":"[{\"lokpraw_regon14\":\"55667788900028\",\"lokpraw_nazwa\":\"Oddział\",\"w\":\"MAZOWIECKIE\",)"
        R"(\"p\":\"Warszawa\",\"g\":\"Mokotów\",\"m\":\"Warszawa\",\"u\":null,\"d\":\"\"}]"})");
    const QList<QStringList> unitRows{
        {"55667788900028", "Oddział", "MAZOWIECKIE", "Warszawa", "Mokotów", "Warszawa", "", ""}};
    EXPECT_EQ(units.LocalUnits(), unitRows);
    EXPECT_TRUE(units.Activities().isEmpty());
}

// The register's activity reports of local units, and the date a unit ended taken by its name
// wherever it stands among the unit's values.
TEST(RegonAnswer, LocalUnitActivitiesAndEndDates) {
    const struct {
        const char* Document;
        QList<QStringList> Activities;
    } activityCases[] = {
        {R"([{\"lokfiz_pkd_Kod\":\"4771Z\",\"lokfiz_pkd_Nazwa\":\"Odzież\",\"lokfiz_pkd_Przewazajace\":\"1\",)"
         R"(\"lokfiz_Silos_Symbol\":\"1\"},{\"lokfiz_pkd_Kod\":\"4719Z\",\"lokfiz_pkd_Nazwa\":\"Inna\",)"
         R"(\"lokfiz_pkd_Przewazajace\":\"0\",\"lokfiz_Silos_Symbol\":\"1\"}])",
         {{"4771Z", "Odzież", "1"}, {"4719Z", "Inna", "0"}}},
        {R"([{\"lokpraw_pkdKod\":\"6920Z\",\"lokpraw_pkdNazwa\":\"R\",\"lokpraw_pkdPrzewazajace\":\"1\"}])",
         {{"6920Z", "R", "1"}}},
        {R"([{\"fiz_pkd_Kod\":\"0111Z\",\"fiz_pkd_Nazwa\":\"Zboża\",\"fiz_pkd_Przewazajace\":\"1\"}])",
         {{"0111Z", "Zboża", "1"}}},
    };
    for (const auto& c : activityCases)
        EXPECT_EQ(Parsed(QByteArray(R"({"d":")") + c.Document + R"("})").Activities(), c.Activities)
            << c.Document;

    // Two units: the first ended (its end of activity listed after the street, before other
    // values), the second active with both dates named but empty.
    const TRegonAnswer units = Parsed(
        R"({"d":"[{\"lokfiz_regon14\":\"12345678500011\",\"lokfiz_nazwa\":\"Sklep\",\"w\":\"Ł\",)"
        R"(\"p\":\"Ł\",\"g\":\"Ł\",\"m\":\"Łódź\",\"u\":\"ul. A\",\"lokfiz_silosID\":\"1\",)"
        R"(\"lokfiz_dataZakonczeniaDzialalnosci\":\"2019-05-31\",\"lokfiz_dataSkresleniazRegonu\":null},)"
        R"({\"lokfiz_regon14\":\"12345678500028\",\"lokfiz_nazwa\":\"Hurtownia\",\"w\":\"Ł\",)"
        R"(\"p\":\"Ł\",\"g\":\"Ł\",\"m\":\"Łódź\",\"u\":\"ul. B\",\"lokfiz_silosID\":\"1\",)"
        R"(\"lokfiz_dataZakonczeniaDzialalnosci\":\"\",\"lokfiz_dataSkresleniazRegonu\":\"\"}]"})");
    const QList<QStringList> unitRows{
        {"12345678500011", "Sklep", "Ł", "Ł", "Ł", "Łódź", "ul. A", "2019-05-31"},
        {"12345678500028", "Hurtownia", "Ł", "Ł", "Ł", "Łódź", "ul. B", ""}};
    EXPECT_EQ(units.LocalUnits(), unitRows);
}

// Unclosed link prefixes, as a hostile answer could send them: read in one pass.
TEST(RegonAnswer, UnclosedLinksAreReadInLinearWork) {
    const QString prefix = QStringLiteral("danePobierzPelnyRaport(\"1\",\"R\", 1 ");
    QString hostile;
    while (hostile.size() < 1024 * 1024)
        hostile += prefix;
    qsizetype work = 0;
    EXPECT_TRUE(ReportLinksIn(hostile, &work).isEmpty());
    EXPECT_LE(work, 4 * hostile.size());

    // Prefixes whose arguments break off, before one good link: every prefix is tried, the
    // link is found, and the work stays proportional to the text.
    const QString broken = QStringLiteral("danePobierzPelnyRaport(\"1\" x ");
    QString mixed;
    while (mixed.size() < 1024 * 1024)
        mixed += broken;
    mixed += QStringLiteral("danePobierzPelnyRaport(\"7\",\"R\", 2)");
    work = 0;
    EXPECT_EQ(ReportLinksIn(mixed, &work), (QList<TRegonReportLink>{{"7", "R", "2"}}));
    EXPECT_LE(work, 4 * mixed.size());
}

TEST(RegonAnswer, ReportLinksInOrderOfTheText) {
    const TRegonAnswer answer = Parsed(
        R"({"d":"[{\"a\":\"danePobierzPelnyRaport(\\\"123456785\\\",\\\"PublDaneRaportFizycznaOsoba\\\", 1)\",)"
        R"(\"b\":\"danePobierzPelnyRaport(\\\"123456785\\\",\\\"PublDaneRaportDzialalnosciFizycznej\\\", \\\"3\\\" ))"
        R"( i danePobierzPelnyRaport(\\\"1\\\",\\\"Zly\\\" bez konca\"}]"})");
    const QList<TRegonReportLink> expected{{"123456785", "PublDaneRaportFizycznaOsoba", "1"},
                                           {"123456785", "PublDaneRaportDzialalnosciFizycznej", "3"}};
    EXPECT_EQ(answer.ReportLinks(), expected);
    // A d-value that is not a document is searched as text.
    EXPECT_EQ(
        Parsed(R"({"d":"<a href=\"javascript:danePobierzPelnyRaport('1','X', 2)\">"})").ReportLinks().size(),
        0);
    EXPECT_EQ(ReportLinksIn(QStringLiteral("x danePobierzPelnyRaport( \"7\" , \"R\" ,2)")),
              (QList<TRegonReportLink>{{"7", "R", "2"}}));
}

TEST(RegonAnswer, SiloHeadings) {
    EXPECT_EQ(SiloHeading(QStringLiteral("1")),
              QStringLiteral("DZIAŁALNOŚĆ GOSPODARCZA PODLEGAJĄCA WPISOWI DO CEIDG"));
    EXPECT_EQ(SiloHeading(QStringLiteral(" 2 ")), QStringLiteral("DZIAŁALNOŚĆ ROLNICZA"));
    EXPECT_EQ(SiloHeading(QStringLiteral("3")),
              QStringLiteral("DZIAŁALNOŚĆ GOSPODARCZA, KTÓRA NIE JEST WPISANA DO CEIDG"));
    for (const char* other : {"0", "4", "", "x", "1x"})
        EXPECT_EQ(SiloHeading(QString::fromLatin1(other)), QString()) << other;
}

TEST(RegonSettings, OnlyHttpsOrLoopbackAddressesAreUsed) {
    const struct {
        const char* Address;
        const char* Url; // empty: refused
    } cases[] = {
        {"https://wyszukiwarkaregon.stat.gov.pl/wsBIR/UslugaBIRzewnPubl.svc/ajaxEndpoint/",
         "https://wyszukiwarkaregon.stat.gov.pl/wsBIR/UslugaBIRzewnPubl.svc/ajaxEndpoint/Zaloguj"},
        {"https://example.pl/a", "https://example.pl/a/Zaloguj"},
        {"http://127.0.0.1:8080/x/", "http://127.0.0.1:8080/x/Zaloguj"},
        {"http://localhost/x/", "http://localhost/x/Zaloguj"},
        {"http://[::1]:81/", "http://[::1]:81/Zaloguj"},
        {"http://wyszukiwarkaregon.stat.gov.pl/", ""},
        {"http://127.0.0.1.example.pl/", ""},
        {"ftp://127.0.0.1/", ""},
        {"wyszukiwarkaregon.stat.gov.pl", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        QUrl url;
        QString error;
        const bool ok = RegonSettings::OperationUrl(QString::fromLatin1(c.Address), QStringLiteral("Zaloguj"),
                                                    url, error);
        EXPECT_EQ(ok, *c.Url != 0) << c.Address;
        if (ok)
            EXPECT_EQ(url.toString(), QString::fromLatin1(c.Url));
        else
            EXPECT_TRUE(error.contains(QStringLiteral("RegonServiceAddress"))) << c.Address;
    }
}
