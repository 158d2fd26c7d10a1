// Whole sessions against the fake service: searches by each identifier, reading the answers
// and following report links, the lapsed code, and the guards on report links.

#include "RegonFixture.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

using TOutcome = TRegonClient::TSearchOutcome;
using TReply = std::optional<TFakeHttpReply>;

// Everything that reading the results hands to the window.
struct TRead {
    QStringList Reports; // "regon|name|silo" in the order requested
    QMap<QString, QString> Values;
    QList<QStringList> Activities;
    QList<QStringList> Units;
    bool Ok = false;
};

const QStringList Identifiers{"fiz_regon9",
                              "fiz_nip",
                              "fiz_imie1",
                              "fiz_imie2",
                              "fiz_nazwisko",
                              "fiz_nazwa",
                              "fiz_adSiedzNazwaMiejscowosci",
                              "fiz_adSiedzNumerLokalu",
                              "praw_regon9",
                              "praw_nazwa",
                              "praw_numerTelefonu",
                              "praw_numerFaksu",
                              "praw_adresEmail",
                              "lokfiz_regon14",
                              "lokfiz_nazwaOrganuRejestrowego",
                              "lokpraw_regon14",
                              "lokpraw_nazwaOrganuRejestrowego"};

class RegonSession : public RegonFixture {
protected:
    TRead Search(const QString& Regon, const QString& Nip, const QString& Krs) {
        TRead read;
        const auto result = Client.RunSearch(Regon, Nip, Krs, Service.Code);
        EXPECT_EQ(result.Outcome, TOutcome::soFound) << Client.LastError().toStdString();
        read.Ok = Client.ReadResults(
            result.Answer,
            [&](const TRegonAnswer& answer) {
                // As the window does: a non-empty value replaces the shown one.
                for (const QString& id : Identifiers)
                    if (const QString v = answer.ValueOf(id); !v.isEmpty())
                        read.Values[id] = v;
                read.Activities << answer.Activities();
                read.Units << answer.LocalUnits();
            },
            [&](const TRegonReportLink& link) {
                read.Reports << link.Regon + u'|' + link.ReportName + u'|' + link.Silo;
            });
        return read;
    }
};

TEST_F(RegonSession, NaturalPersonWithALocalUnit) {
    OpenSession();
    const TRead read = Search({}, RegonData::PersonNip, {});
    ASSERT_TRUE(read.Ok) << Client.LastError().toStdString();
    // Depth first in the order of the text; the unit's link back to the person is not followed.
    EXPECT_EQ(read.Reports, (QStringList{"123456785|PublDaneRaportFizycznaOsoba|1",
                                         "123456785|PublDaneRaportDzialalnoscFizycznejCeidg|1",
                                         "123456785|PublDaneRaportDzialalnosciFizycznej|1",
                                         "123456785|PublDaneRaportLokalneFizycznej|1"}));
    EXPECT_EQ(Service.RequestsOf("danePobierzPelnyRaport").size(), 4);
    EXPECT_EQ(
        Service.RequestsOf("danePobierzPelnyRaport")[1].Body,
        R"({"pRegon":"123456785","pNazwaRaportu":"PublDaneRaportDzialalnoscFizycznejCeidg", "pSilosID":"1"})");

    EXPECT_EQ(read.Values.value("fiz_imie1"), "Jan");
    EXPECT_FALSE(read.Values.contains("fiz_imie2")); // null: empty, not the surname
    EXPECT_EQ(read.Values.value("fiz_nazwisko"), "Kowalski");
    EXPECT_EQ(read.Values.value("fiz_nazwa"), "JAN KOWALSKI USŁUGI \"POD LIPĄ\"");
    EXPECT_EQ(read.Values.value("fiz_adSiedzNazwaMiejscowosci"), "Łódź");
    EXPECT_FALSE(read.Values.contains("fiz_adSiedzNumerLokalu"));
    EXPECT_EQ(read.Activities,
              (QList<QStringList>{{"6920Z", "Działalność rachunkowo-księgowa", "1"},
                                  {"6201Z", "Działalność związana z oprogramowaniem", "0"}}));
    EXPECT_EQ(read.Units, (QList<QStringList>{{"12345678500011", "Sklep", "ŁÓDZKIE", "Łódź", "Łódź-Bałuty",
                                               "Łódź", "", ""}}));
    EXPECT_EQ(SiloHeading(read.Reports.first().section(u'|', 2)),
              QStringLiteral("DZIAŁALNOŚĆ GOSPODARCZA PODLEGAJĄCA WPISOWI DO CEIDG"));
    for (const TFakeHttpRequest& r : Service.Server.Requests.mid(1))
        EXPECT_EQ(r.Headers.value("sid"), Service.SessionId.toLatin1());
}

TEST_F(RegonSession, NaturalPersonWithoutLocalUnits) {
    OpenSession();
    const TRead read = Search({}, RegonData::SolePersonNip, {});
    ASSERT_TRUE(read.Ok);
    EXPECT_EQ(read.Values.value("fiz_imie2"), "Maria");
    EXPECT_EQ(read.Values.value("fiz_nazwisko"), "Nowak");
    EXPECT_TRUE(read.Units.isEmpty());
    EXPECT_EQ(read.Activities, (QList<QStringList>{{"0111Z", "Uprawa zbóż", "1"}}));
    EXPECT_EQ(SiloHeading(read.Reports.first().section(u'|', 2)), QStringLiteral("DZIAŁALNOŚĆ ROLNICZA"));
}

TEST_F(RegonSession, LegalPersonWithActivitiesAndLocalUnits) {
    OpenSession();
    const TRead read = Search({}, {}, RegonData::LegalKrs);
    ASSERT_TRUE(read.Ok);
    const auto body = Service.RequestsOf("daneSzukaj").value(0).Body;
    EXPECT_EQ(body, RegonBodies::SearchBody({}, {}, RegonData::LegalKrs));
    EXPECT_EQ(read.Values.value("praw_nazwa"), "Biuro Rachunkowe \"Bilans\" Sp. z o.o.");
    EXPECT_EQ(read.Values.value("praw_numerTelefonu"), "221234567");
    EXPECT_FALSE(read.Values.contains("praw_numerFaksu")); // null, not the e-mail after it
    EXPECT_EQ(read.Values.value("praw_adresEmail"), "biuro@example.pl");
    EXPECT_EQ(read.Activities, (QList<QStringList>{{"6920Z", "Działalność rachunkowo-księgowa", "1"},
                                                   {"7022Z", "Doradztwo", ""}}));
    ASSERT_EQ(read.Units.size(), 2);
    EXPECT_EQ(read.Units[1], (QStringList{"55667788900035", "Oddział", "MAZOWIECKIE", "Warszawa", "Mokotów",
                                          "Warszawa", "ul. Puławska", ""}));
    EXPECT_EQ(SiloHeading(read.Reports.first().section(u'|', 2)), QString()); // silo 6: heading unchanged
}

TEST_F(RegonSession, LocalUnitsOfEachKindByTheirLongRegon) {
    OpenSession();
    const struct {
        const char* Regon;
        const char* RegonId;
        const char* OrganId;
        const char* Organ;
    } cases[] = {
        {RegonData::PersonUnitRegon, "lokfiz_regon14", "lokfiz_nazwaOrganuRejestrowego", "MINISTER ROZWOJU"},
        {RegonData::LegalUnitRegon, "lokpraw_regon14", "lokpraw_nazwaOrganuRejestrowego", "SĄD REJONOWY"}};
    const QList<QList<QStringList>> activities{
        {{"4771Z", "Sprzedaż detaliczna odzieży", "1"}, {"4719Z", "Pozostała sprzedaż detaliczna", "0"}},
        {{"6920Z", "Działalność rachunkowo-księgowa", "1"}}};
    for (const auto& c : cases) {
        const TRead read = Search(c.Regon, {}, {});
        ASSERT_TRUE(read.Ok);
        // The unit's own activity report is read.
        EXPECT_EQ(read.Activities, activities[&c - cases]);
        EXPECT_EQ(read.Values.value(c.RegonId), c.Regon);
        EXPECT_EQ(read.Values.value(c.OrganId), QString::fromUtf8(c.Organ));
        EXPECT_FALSE(read.Values.contains("fiz_regon9"));
        EXPECT_FALSE(read.Values.contains("praw_regon9"));
    }
}

TEST_F(RegonSession, NothingFoundGivesTheServiceMessage) {
    OpenSession();
    const auto result = Client.RunSearch({}, QStringLiteral("0000000000"), {}, Service.Code);
    EXPECT_EQ(result.Outcome, TOutcome::soMessage);
    EXPECT_EQ(result.Message, Service.NothingFoundMessage);
    EXPECT_EQ(Service.Operations().mid(3), (QStringList{"daneSzukaj", "DaneKomunikat"}));
}

TEST_F(RegonSession, ALapsedCodeIsCheckedAgainAndTheSearchRepeated) {
    OpenSession();
    Service.CodeLapsed = true;
    const auto result = Client.RunSearch(RegonData::PersonRegon, {}, {}, Service.Code);
    EXPECT_EQ(result.Outcome, TOutcome::soFound);
    EXPECT_TRUE(result.Answer.Found());
    EXPECT_EQ(Service.Operations().mid(3),
              (QStringList{"daneSzukaj", "DaneKomunikat", "sprawdzCaptcha", "daneSzukaj"}));
    EXPECT_EQ(Service.Server.Requests.last().Body, RegonBodies::SearchBody(RegonData::PersonRegon, {}, {}));
}

TEST_F(RegonSession, ALapsedCodeRefusedAgainReturnsToTheCodeStepWithANewPicture) {
    OpenSession();
    Service.CodeLapsed = true;
    Service.AcceptCodeAgain = false;
    const auto result = Client.RunSearch(RegonData::PersonRegon, {}, {}, Service.Code);
    EXPECT_EQ(result.Outcome, TOutcome::soCodeRejected);
    EXPECT_FALSE(result.Picture.isNull());
    EXPECT_TRUE(Client.LastError().isEmpty());
    // No new login.
    EXPECT_EQ(Service.Operations().mid(3),
              (QStringList{"daneSzukaj", "DaneKomunikat", "sprawdzCaptcha", "pobierzCaptcha"}));
    EXPECT_EQ(Service.RequestsOf("sprawdzCaptcha").last().Body, RegonBodies::CodeBody(Service.Code));
}

TEST_F(RegonSession, AWrongCodeIsRefusedWithoutAnError) {
    QImage picture;
    ASSERT_TRUE(Client.StartSession(picture));
    EXPECT_FALSE(Client.CheckCaptcha(QStringLiteral("zz\"}")));
    EXPECT_TRUE(Client.LastError().isEmpty());
    EXPECT_EQ(Service.Server.Requests.last().Body, QByteArray(R"({"pCaptcha":"zz\"}"})"));
    EXPECT_TRUE(Client.CheckCaptcha(Service.Code.toLower().toUpper()));
}

TEST_F(RegonSession, AFailedReportEndsTheLinksOfItsTextOnly) {
    OpenSession();
    // The activity report fails: the person's later links (pkd, units) are not followed.
    Service.Override = [](const QString&, const TFakeHttpRequest& r) -> TReply {
        if (r.Body.contains("PublDaneRaportDzialalnoscFizycznejCeidg"))
            return TFakeHttpReply{500, "text/html", "<html>Błąd</html>"};
        return std::nullopt;
    };
    const TRead read = Search(RegonData::PersonRegon, {}, {});
    EXPECT_FALSE(read.Ok);
    EXPECT_EQ(Client.LastError(), QStringLiteral("Usługa REGON odpowiedziała błędem HTTP 500."));
    EXPECT_EQ(read.Reports.size(), 2);
    EXPECT_EQ(read.Values.value("fiz_nazwisko"), "Kowalski");
}

TEST_F(RegonSession, AReportNamedAgainUnderAnotherSiloIsNotReadAgain) {
    OpenSession();
    // The person's report names its activity report once more, under silo 3.
    QString& person = Service.Reports[QString(RegonData::PersonRegon) + "|PublDaneRaportFizycznaOsoba"];
    const QString again = FakeDoc::Object(
        {{"Znowu", FakeDoc::Link(RegonData::PersonRegon, "PublDaneRaportDzialalnosciFizycznej", "3")}});
    person.replace(QStringLiteral("}]"), u',' + again.mid(1) + u']');
    const TRead read = Search({}, RegonData::PersonNip, {});
    ASSERT_TRUE(read.Ok) << Client.LastError().toStdString();
    EXPECT_EQ(Service.RequestsOf("danePobierzPelnyRaport").size(), 4);
    EXPECT_EQ(read.Reports.filter(QStringLiteral("PublDaneRaportDzialalnosciFizycznej")).size(), 1);
    EXPECT_EQ(read.Activities.size(), 2);
}

TEST_F(RegonSession, ReportChainsStopAtTheDepthAndCountLimits) {
    // Every report links to a new one, twice: an endless tree.
    Service.Override = [](const QString& Op, const TFakeHttpRequest& r) -> TReply {
        if (Op != u"danePobierzPelnyRaport")
            return std::nullopt;
        const QString name = QJsonDocument::fromJson(r.Body).object().value(u"pNazwaRaportu").toString();
        const QString doc = FakeDoc::Array({FakeDoc::Object(
            {{"a", FakeDoc::Link("1", name + "a", "1")}, {"b", FakeDoc::Link("1", name + "b", "1")}})});
        return TFakeHttpReply{200, "application/json", TFakeRegonService::Envelope(doc)};
    };
    const QString start = FakeDoc::Array({FakeDoc::Object({{"x", FakeDoc::Link("1", "R", "1")}})});
    TRegonAnswer answer;
    QString error;
    ASSERT_TRUE(TRegonAnswer::Parse(TFakeRegonService::Envelope(start), answer, error));
    int deepest = 0;
    int reports = 0;
    EXPECT_TRUE(Client.ReadResults(answer, {}, [&](const TRegonReportLink& link) {
        ++reports;
        deepest = std::max(deepest, int(link.ReportName.size()));
    }));
    EXPECT_EQ(reports, TRegonClient::MaxReports);
    EXPECT_EQ(Service.RequestsOf("danePobierzPelnyRaport").size(), TRegonClient::MaxReports);
    EXPECT_EQ(deepest, TRegonClient::MaxReportDepth); // "R" plus one letter per level below the first
}

} // namespace
