// The VIES client against a local fake: the request with and without the office as requester,
// valid and invalid numbers, the service's own refusals, and questions never sent.

#include "FakeHttpServer.h"
#include "TestSupport.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uViesClient.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

class ViesFixture : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::ClearSettings();
        Registry::WriteString(QuorDataBaseDefs::EwidarKey, ViesSettings::ServiceAddressName,
                              Server.Address(QStringLiteral("/rest-api/")));
    }
    void TearDown() override { TestSupport::ClearSettings(); }

    // Valid for German numbers ending in 9; a consultation number only for a requester.
    TFakeHttpReply Answer(const TFakeHttpRequest& Request) {
        TFakeHttpReply reply;
        if (!Override.isEmpty()) {
            reply.Status = OverrideStatus;
            reply.Body = Override;
            return reply;
        }
        const QJsonObject in = QJsonDocument::fromJson(Request.Body).object();
        const QString number = in.value("vatNumber").toString();
        QJsonObject out{{"countryCode", in.value("countryCode")},
                        {"vatNumber", number},
                        {"requestDate", "2026-12-10+01:00"},
                        {"valid", number.endsWith(u'9')},
                        {"name", number.endsWith(u'9') ? "Muster GmbH" : "---"},
                        {"address", number.endsWith(u'9') ? "Hauptstr. 1\n10115 Berlin" : "---"}};
        if (in.contains("requesterNumber"))
            out.insert("requestIdentifier", "WAPIAAAAY123");
        reply.Body = QJsonDocument(out).toJson();
        return reply;
    }

    QByteArray Override;
    int OverrideStatus = 200;
    TFakeHttpServer Server{[this](const TFakeHttpRequest& R) { return Answer(R); }};
    TViesClient Client;
};

TEST_F(ViesFixture, ValidAndInvalidNumbersWithTheConsultationNumberOnlyForARequester) {
    TViesCheck check;
    ASSERT_TRUE(Client.Check(QStringLiteral("de"), QStringLiteral("DE 123 456 789"), check))
        << Client.LastError().toStdString();
    ASSERT_EQ(Server.Requests.size(), 1);
    EXPECT_EQ(Server.Requests[0].Method, "POST");
    EXPECT_EQ(Server.Requests[0].Path, "/rest-api/check-vat-number");
    const QJsonObject sent = QJsonDocument::fromJson(Server.Requests[0].Body).object();
    EXPECT_EQ(sent.value("countryCode").toString(), QStringLiteral("DE"));
    EXPECT_EQ(sent.value("vatNumber").toString(), QStringLiteral("123456789"));
    EXPECT_FALSE(sent.contains("requesterNumber"));
    EXPECT_TRUE(check.Valid);
    EXPECT_EQ(check.Name, QStringLiteral("Muster GmbH"));
    EXPECT_TRUE(check.RequestIdentifier.isEmpty());

    Registry::WriteString(QuorDataBaseDefs::EwidarKey, ViesSettings::RequesterName, QStringLiteral("PL 526-025-09-95"));
    ASSERT_TRUE(Client.Check(QStringLiteral("DE"), QStringLiteral("123456780"), check));
    const QJsonObject withRequester = QJsonDocument::fromJson(Server.Requests.last().Body).object();
    EXPECT_EQ(withRequester.value("requesterMemberStateCode").toString(), QStringLiteral("PL"));
    EXPECT_EQ(withRequester.value("requesterNumber").toString(), QStringLiteral("5260250995"));
    EXPECT_FALSE(check.Valid);
    EXPECT_TRUE(check.Name.isEmpty()); // "---" means no name
    EXPECT_EQ(check.RequestIdentifier, QStringLiteral("WAPIAAAAY123"));
    EXPECT_FALSE(check.Raw.isEmpty());
}

TEST_F(ViesFixture, RefusalsAndUnreadableAnswersKeepNothing) {
    using F = TViesClient::TFailure;
    const struct {
        int Status;
        QByteArray Body;
        F Failure;
        QString Start;
    } cases[] = {
        {200, R"({"actionSucceed":false,"errorWrappers":[{"error":"MS_UNAVAILABLE"}]})", F::fUnreachable,
         QStringLiteral("System państwa członkowskiego nie odpowiada")},
        {400, R"({"actionSucceed":false,"errorWrappers":[{"error":"INVALID_INPUT"}]})", F::fRefused,
         QStringLiteral("System VIES odrzucił numer")},
        {500, "<html/>", F::fUnreachable, QStringLiteral("System VIES odpowiedział błędem HTTP 500.")},
        {200, R"({"valid":"tak"})", F::fUnreadable, QStringLiteral("Nieczytelna odpowiedź systemu VIES.")},
    };
    for (const auto& c : cases) {
        Override = c.Body;
        OverrideStatus = c.Status;
        TViesCheck check;
        EXPECT_FALSE(Client.Check(QStringLiteral("FR"), QStringLiteral("12345678901"), check)) << c.Body.constData();
        EXPECT_EQ(Client.Failure(), c.Failure) << c.Body.constData();
        EXPECT_TRUE(Client.LastError().startsWith(c.Start)) << Client.LastError().toStdString();
        EXPECT_TRUE(check.Raw.isEmpty());
    }
    const qsizetype sent = Server.Requests.size();
    TViesCheck check;
    EXPECT_FALSE(Client.Check(QStringLiteral("US"), QStringLiteral("123456789"), check));
    EXPECT_FALSE(Client.Check(QStringLiteral("DE"), QStringLiteral("12<script>"), check));
    EXPECT_EQ(Client.Failure(), F::fInput);
    EXPECT_EQ(Server.Requests.size(), sent);
}

} // namespace
