// The white list client against a local fake: the two questions, what is sent, and every way
// an answer can fail (refusal, limit, unreadable, too large, silent) with nothing kept.

#include "FakeWhiteListService.h"
#include "RegistryTestSupport.h"
#include "TestSupport.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uWhiteListClient.h"
#include "uWhiteListSettings.h"

#include <gtest/gtest.h>

namespace {

const QString kNip = QStringLiteral("5260250995");
const QString kAccount = QStringLiteral("12105000997603123456789123");

class WhiteListFixture : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::ClearSettings();
        Service.Subjects.insert(kNip, TFakeWhiteListService::Sample());
        SetAddress(Service.BaseAddress());
    }
    void TearDown() override { TestSupport::ClearSettings(); }

    static void SetAddress(const QString& Address) {
        Registry::WriteString(QuorDataBaseDefs::EwidarKey, WhiteListSettings::ServiceAddressName, Address);
    }

    TFakeWhiteListService Service;
    TWhiteListClient Client;
};

TEST_F(WhiteListFixture, SearchReadsTheSubjectAndSendsTheDateAskedAbout) {
    TWhiteListSearch search;
    ASSERT_TRUE(Client.SearchNip(QStringLiteral("526-025-09-95"), QDate(2026, 3, 2), search))
        << Client.LastError().toStdString();
    ASSERT_EQ(Service.Server.Requests.size(), 1);
    EXPECT_EQ(Service.Server.Requests[0].Method, "GET");
    EXPECT_EQ(Service.Server.Requests[0].Path, "/api/search/nip/5260250995?date=2026-03-02");
    ASSERT_TRUE(search.Found);
    EXPECT_EQ(search.Status(), QStringLiteral("Czynny"));
    EXPECT_EQ(search.Subject.Name, QStringLiteral("PRZEDSIĘBIORSTWO PRÓBNE SPÓŁKA Z O.O."));
    EXPECT_EQ(search.Subject.Krs, QStringLiteral("0000123456"));
    EXPECT_EQ(search.Subject.RegistrationLegalDate, QStringLiteral("2001-05-01"));
    EXPECT_TRUE(search.Subject.Pesel.isEmpty()); // null reads empty
    EXPECT_EQ(search.Subject.AccountNumbers.size(), 2);
    EXPECT_FALSE(search.RequestId.isEmpty());
    EXPECT_FALSE(search.Raw.isEmpty());

    // A NIP not on the list is an answer, not a failure.
    ASSERT_TRUE(Client.SearchNip(QStringLiteral("1234563218"), QDate::currentDate(), search));
    EXPECT_FALSE(search.Found);
    EXPECT_EQ(search.Status(), QStringLiteral("Niezarejestrowany"));
}

TEST_F(WhiteListFixture, CheckTellsAssignedFromNotAssigned) {
    TWhiteListCheck check;
    ASSERT_TRUE(Client.CheckAccount(kNip, QStringLiteral("PL12 1050 0099 7603 1234 5678 9123"), QDate(2026, 1, 5),
                                    check));
    EXPECT_EQ(Service.Server.Requests.last().Path,
              "/api/check/nip/5260250995/bank-account/12105000997603123456789123?date=2026-01-05");
    EXPECT_TRUE(check.Assigned);
    ASSERT_TRUE(Client.CheckAccount(kNip, QStringLiteral("99105000997603123456789123"), QDate(2026, 1, 5), check));
    EXPECT_FALSE(check.Assigned);
    EXPECT_FALSE(check.RequestId.isEmpty());
}

TEST_F(WhiteListFixture, WrongQuestionsAreNeverSent) {
    TWhiteListSearch search;
    TWhiteListCheck check;
    EXPECT_FALSE(Client.SearchNip(QStringLiteral("5260250994"), QDate::currentDate(), search));
    EXPECT_EQ(Client.Failure(), TWhiteListClient::TFailure::fInput);
    EXPECT_FALSE(Client.SearchNip(kNip, QDate::currentDate().addDays(1), search));
    EXPECT_EQ(Client.LastError().left(47), QStringLiteral("Wykaz podatników VAT nie odpowiada na dzień z p"));
    EXPECT_FALSE(Client.CheckAccount(kNip, QStringLiteral("DE89370400440532013000"), QDate::currentDate(), check));
    EXPECT_EQ(Client.Failure(), TWhiteListClient::TFailure::fInput);
    EXPECT_EQ(Service.RequestCount, 0);

    // Plain http to another machine, or an address with a query of its own, is refused.
    for (const QString& address : {QStringLiteral("http://wl-api.mf.gov.pl/"), QStringLiteral("ftp://127.0.0.1/"),
                                   QStringLiteral("https://example.org/?x=1")}) {
        SetAddress(address);
        EXPECT_FALSE(Client.SearchNip(kNip, QDate::currentDate(), search)) << address.toStdString();
        EXPECT_EQ(Client.Failure(), TWhiteListClient::TFailure::fSettings);
    }
    EXPECT_EQ(Service.RequestCount, 0);
}

TEST_F(WhiteListFixture, TheAddressIsTheDefaultUntilSetAndCanBeImposedMachineWide) {
    RegistryTest::ResetAll();
    EXPECT_EQ(WhiteListSettings::ServiceAddress(), WhiteListSettings::DefaultServiceAddress);
    RegistryTest::ResetAll();
    const QString group = QStringLiteral("Ewidar");
    RegistryTest::SetMachine(group, WhiteListSettings::ServiceAddressName + QStringLiteral("/UseHKLM"), 2);
    RegistryTest::SetMachine(group, WhiteListSettings::ServiceAddressName, Service.BaseAddress());
    SetAddress(QStringLiteral("https://inny.example/"));
    EXPECT_EQ(WhiteListSettings::ServiceAddress(), Service.BaseAddress());
    TWhiteListSearch search;
    EXPECT_TRUE(Client.SearchNip(kNip, QDate::currentDate(), search)) << Client.LastError().toStdString();
    RegistryTest::ResetAll();
}

struct TBadAnswer {
    const char* Case;
    TFakeHttpReply Reply;
    TWhiteListClient::TFailure Failure;
    QString ErrorStart;
};

TEST_F(WhiteListFixture, FailedAnswersGiveAClearTextAndKeepNothing) {
    auto reply = [](int Status, QByteArray Body) {
        TFakeHttpReply r;
        r.Status = Status;
        r.Body = std::move(Body);
        return r;
    };
    TFakeHttpReply silent;
    silent.Silent = true;
    TFakeHttpReply huge = reply(200, QByteArray(2 * 1024 * 1024, ' '));
    TFakeHttpReply cut = reply(200, R"({"result":{"subject":null,"requestId":"x1","requestDateTime":""}})");
    cut.CutShort = true;
    TFakeHttpReply moved = reply(302, "");
    moved.ExtraHeaders = "Location: http://127.0.0.1:1/\r\n";
    using F = TWhiteListClient::TFailure;
    const TBadAnswer cases[] = {
        {"refusal", reply(400, R"({"code":"WL-115","message":"Nieprawidłowy NIP."})"), F::fRefused,
         QStringLiteral("Wykaz podatników VAT odrzucił zapytanie: Nieprawidłowy NIP. (WL-115)")},
        {"400 without text", reply(400, "<html>bad</html>"), F::fRefused,
         QStringLiteral("Usługa wykazu podatników VAT odpowiedziała błędem HTTP 400.")},
        {"limit", reply(429, ""), F::fLimit, QStringLiteral("Wyczerpano limit zapytań")},
        {"server error", reply(500, ""), F::fUnreachable, QStringLiteral("Usługa wykazu podatników VAT odpowiedziała")},
        {"redirect", moved, F::fUnreachable, QStringLiteral("Usługa wykazu podatników VAT przekierowała")},
        {"html", reply(200, "<html><body>Przerwa techniczna</body></html>"), F::fUnreadable, WhiteListAnswer::UnreadableText},
        {"no result", reply(200, R"({"code":"WL-100"})"), F::fUnreadable, WhiteListAnswer::UnreadableText},
        {"no request id", reply(200, R"({"result":{"subject":null}})"), F::fUnreadable, WhiteListAnswer::UnreadableText},
        {"subject not an object", reply(200, R"({"result":{"subject":7,"requestId":"a"}})"), F::fUnreadable,
         WhiteListAnswer::UnreadableText},
        {"bad account", reply(200, R"({"result":{"subject":{"name":"A","nip":"5260250995","accountNumbers":["12"]},"requestId":"a"}})"),
         F::fUnreadable, WhiteListAnswer::UnreadableText},
        {"truncated", reply(200, R"({"result":{"subject":null,"requestId")"), F::fUnreadable, WhiteListAnswer::UnreadableText},
        {"cut short", cut, F::fUnreachable, QStringLiteral("Odpowiedź usługi wykazu podatników VAT została przerwana")},
        {"too large", huge, F::fUnreachable, QStringLiteral("Odpowiedź usługi wykazu podatników VAT jest za duża")},
        {"silent", silent, F::fUnreachable, QStringLiteral("Usługa wykazu podatników VAT nie odpowiedziała w ciągu 0.5 s.")},
    };
    Client.SetTimeout(500);
    for (const TBadAnswer& c : cases) {
        Service.Override = [&](const TFakeHttpRequest&) { return std::optional<TFakeHttpReply>(c.Reply); };
        TWhiteListSearch search;
        EXPECT_FALSE(Client.SearchNip(kNip, QDate::currentDate(), search)) << c.Case;
        EXPECT_EQ(Client.Failure(), c.Failure) << c.Case;
        EXPECT_TRUE(Client.LastError().startsWith(c.ErrorStart)) << c.Case << ": " << Client.LastError().toStdString();
        EXPECT_TRUE(search.Raw.isEmpty() && search.RequestId.isEmpty() && !search.Found) << c.Case;
    }
    // A check answer that is neither TAK nor NIE is not read as either.
    Service.Override = [&](const TFakeHttpRequest&) {
        return std::optional<TFakeHttpReply>(reply(200, R"({"result":{"accountAssigned":"MOZE","requestId":"a"}})"));
    };
    TWhiteListCheck check;
    EXPECT_FALSE(Client.CheckAccount(kNip, kAccount, QDate::currentDate(), check));
    EXPECT_EQ(Client.Failure(), F::fUnreadable);
    EXPECT_TRUE(check.Raw.isEmpty());
}

TEST_F(WhiteListFixture, ASpentLimitSaysSoAndLeavesTheQuestionToTheFlatFile) {
    Service.Limit = 1;
    TWhiteListCheck check;
    EXPECT_TRUE(Client.CheckAccount(kNip, kAccount, QDate::currentDate(), check));
    EXPECT_FALSE(Client.ServiceUnavailable());
    EXPECT_FALSE(Client.CheckAccount(kNip, kAccount, QDate::currentDate(), check));
    EXPECT_TRUE(Client.ServiceUnavailable());
    EXPECT_EQ(Client.Failure(), TWhiteListClient::TFailure::fLimit);
}

} // namespace
