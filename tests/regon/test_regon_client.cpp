// The transport of the register client against a local fake: headers, settings, the session
// identifier, the picture, broken and slow answers.

#include "RegistryTestSupport.h"
#include "RegonFixture.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTcpServer>

namespace {

using TReply = std::optional<TFakeHttpReply>;

TEST_F(RegonFixture, LoginSendsTheKeyAndThenTheSessionOnEveryRequest) {
    QImage picture;
    ASSERT_TRUE(Client.StartSession(picture));
    EXPECT_EQ(Client.Sid(), Service.SessionId);
    EXPECT_TRUE(Client.CheckCaptcha(Service.Code));
    QString message;
    EXPECT_TRUE(Client.Message(message));

    ASSERT_EQ(Service.Operations(),
              (QStringList{"Zaloguj", "pobierzCaptcha", "sprawdzCaptcha", "DaneKomunikat"}));
    const auto& requests = Service.Server.Requests;
    EXPECT_EQ(requests[0].Body, RegonBodies::LoginBody(Service.UserKey));
    EXPECT_EQ(requests[0].Headers.value("sid"),
              QByteArray()); // the single blank (blanks around a value are not part of it)
    EXPECT_TRUE(requests[0].Headers.contains("sid"));
    for (qsizetype i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].Method, "POST");
        EXPECT_EQ(requests[i].Headers.value("content-type"), "application/json") << i;
        if (i > 0) {
            EXPECT_EQ(requests[i].Headers.value("sid"), Service.SessionId.toLatin1()) << i;
        }
    }
    EXPECT_TRUE(requests[1].Body.isEmpty());
}

TEST_F(RegonFixture, AnUnknownKeyOpensNoSessionAndAsksForNoPicture) {
    SetSetting(RegonSettings::UserKeyName, QStringLiteral("inny"));
    QImage picture;
    EXPECT_FALSE(Client.StartSession(picture));
    EXPECT_TRUE(Client.Sid().isEmpty());
    EXPECT_TRUE(picture.isNull());
    EXPECT_EQ(Service.Operations(), QStringList{"Zaloguj"});
}

TEST_F(RegonFixture, ASessionIdentifierThatIsNotLettersAndDigitsIsRefused) {
    for (const QString& sid : {QStringLiteral("abc def"), QStringLiteral("abc\r\nX-Evil: 1"),
                               QStringLiteral("sesjaą"), QStringLiteral("abc;"), QStringLiteral("abc\"")}) {
        Service.SessionId = sid;
        EXPECT_FALSE(Client.Login()) << sid.toStdString();
        EXPECT_TRUE(Client.Sid().isEmpty());
        EXPECT_EQ(Client.LastError(),
                  QStringLiteral("Usługa REGON podała nieprawidłowy identyfikator sesji."));
    }
    // The next request carries no part of a refused identifier.
    QString message;
    Client.Message(message);
    EXPECT_FALSE(Service.Server.Requests.last().Headers.contains("x-evil"));
    EXPECT_FALSE(Service.Server.Requests.last().Headers.value("sid").contains("abc"));
}

TEST_F(RegonFixture, ThePictureIsDecodedWhateverItsFormat) {
    for (const char* format : {"JPG", "PNG", "BMP"}) {
        Service.PictureFormat = format;
        QImage picture;
        ASSERT_TRUE(Client.StartSession(picture)) << format << Client.LastError().toStdString();
        EXPECT_EQ(picture.size(), TFakeRegonService::Picture().size()) << format;
        EXPECT_LT(qGray(picture.pixel(10, 10)), 64) << format;
        EXPECT_GT(qGray(picture.pixel(40, 10)), 192) << format;
    }
    const struct {
        QByteArray Body;
        bool Error; // an empty picture is a failure without a message
    } broken[] = {{R"({"d":""})", false}, {R"({"d":"not base64!"})", true}, {R"({"d":"aGVsbG8="})", true}};
    for (const auto& b : broken) {
        Service.Override = [&](const QString& Op, const TFakeHttpRequest&) -> TReply {
            if (Op != u"pobierzCaptcha")
                return std::nullopt;
            return TFakeHttpReply{200, "application/json", b.Body};
        };
        QImage picture;
        EXPECT_FALSE(Client.Captcha(picture)) << b.Body.constData();
        EXPECT_TRUE(picture.isNull());
        EXPECT_EQ(Client.LastError().isEmpty(), !b.Error) << b.Body.constData();
    }
}

TEST_F(RegonFixture, BrokenAnswersFailWithAClearText) {
    OpenSession();
    const QByteArray html =
        "<html><head><title>Runtime Error</title></head><body><h1>Server Error</h1></body></html>";
    const struct {
        TFakeHttpReply Reply;
        QString Error;
    } cases[] = {
        {{500, "text/html", html}, QStringLiteral("Usługa REGON odpowiedziała błędem HTTP 500.")},
        {{503, "text/html", ""}, QStringLiteral("Usługa REGON odpowiedziała błędem HTTP 503.")},
        {{200, "text/html", html}, QStringLiteral("Nieczytelna odpowiedź usługi REGON.")},
        {{200, "application/json", R"({"d":"[{\"fiz_regon9\":\"12345)"},
         QStringLiteral("Nieczytelna odpowiedź usługi REGON.")},
        {{200, "application/json", R"({"d":"[{\"fiz_regon9\":\"12345\",\"x"})"},
         QStringLiteral("Nieczytelna odpowiedź usługi REGON.")},
    };
    for (const auto& c : cases) {
        Service.Override = [&](const QString&, const TFakeHttpRequest&) -> TReply {
            return c.Reply;
        };
        TRegonAnswer answer;
        EXPECT_FALSE(Client.Search(QStringLiteral("123456785"), {}, {}, answer));
        EXPECT_EQ(Client.LastError(), c.Error);
        EXPECT_FALSE(answer.Found());
        const auto result = Client.RunSearch(QStringLiteral("123456785"), {}, {}, Service.Code);
        EXPECT_EQ(result.Outcome, TRegonClient::TSearchOutcome::soFailed);
        EXPECT_EQ(Client.LastError(), c.Error);
    }
    // A connection closed in the middle of the answer.
    Service.Override = [&](const QString&, const TFakeHttpRequest&) -> TReply {
        TFakeHttpReply reply{200, "application/json", TFakeRegonService::Envelope(QString(400, u'x'))};
        reply.CutShort = true;
        return reply;
    };
    QString message;
    EXPECT_FALSE(Client.Message(message));
    EXPECT_FALSE(Client.LastError().isEmpty());
    EXPECT_TRUE(message.isEmpty());
}

TEST_F(RegonFixture, AnUnusableAddressSendsNothing) {
    SetSetting(RegonSettings::ServiceAddressName, QStringLiteral("http://wyszukiwarkaregon.stat.gov.pl/"));
    EXPECT_FALSE(Client.Login());
    EXPECT_TRUE(Client.LastError().contains(QStringLiteral("RegonServiceAddress")));
    EXPECT_TRUE(Service.Server.Requests.isEmpty());
}

TEST_F(RegonFixture, TheSettingsGetTheirDefaultsOnFirstUse) {
    TestSupport::ClearSettings();
    // Read without sending anything: a test never reaches the public service.
    EXPECT_EQ(RegonSettings::UserKey(), QStringLiteral("mmmmmmnnnnnooooopppp"));
    EXPECT_EQ(RegonSettings::ServiceAddress(), RegonSettings::DefaultServiceAddress);
    EXPECT_EQ(Registry::ReadString(QuorDataBaseDefs::EwidarKey, RegonSettings::UserKeyName, {}),
              QStringLiteral("mmmmmmnnnnnooooopppp"));
    EXPECT_EQ(Registry::ReadString(QuorDataBaseDefs::EwidarKey, RegonSettings::ServiceAddressName, {}),
              RegonSettings::DefaultServiceAddress);
}

TEST_F(RegonFixture, UnreadableSettingsFailTheRequestWithoutThrowing) {
    const RegistryTest::TUnreadableUserStore unreadable;
    EXPECT_FALSE(Client.Login());
    EXPECT_TRUE(Client.LastError().startsWith(QStringLiteral("Błąd zapytania do usługi REGON: ")))
        << Client.LastError().toStdString();
    QString message;
    EXPECT_FALSE(Client.Message(message));
    EXPECT_TRUE(Service.Server.Requests.isEmpty());
}

// Elapsed milliseconds of one Message request.
qint64 TimedMessage(TRegonClient& Client, bool& Ok) {
    QElapsedTimer timer;
    timer.start();
    QString message;
    Ok = Client.Message(message);
    return timer.elapsed();
}

TEST_F(RegonFixture, SlowAnswersWithinTheTimeoutArriveLateOnesFail) {
    Client.SetTimeout(700);
    int delay = 150;
    Service.Override = [&](const QString&, const TFakeHttpRequest&) -> TReply {
        TFakeHttpReply reply{200, "application/json", TFakeRegonService::Envelope(QStringLiteral("wolno"))};
        reply.DelayMs = delay;
        return reply;
    };
    bool ok = false;
    TimedMessage(Client, ok);
    EXPECT_TRUE(ok) << Client.LastError().toStdString();

    delay = 3000;
    const qint64 elapsed = TimedMessage(Client, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Client.LastError(), QStringLiteral("Usługa REGON nie odpowiedziała w ciągu 0.7 s."));
    EXPECT_GE(elapsed, 650);
    EXPECT_LT(elapsed, 700 + 1000);
}

TEST_F(RegonFixture, APortThatNeverAnswersFailsWithinTheTimeout) {
    // Connections are taken into the backlog and never read.
    QTcpServer silent;
    silent.setMaxPendingConnections(1);
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    silent.pauseAccepting();
    SetSetting(RegonSettings::ServiceAddressName,
               QStringLiteral("http://127.0.0.1:%1/ajaxEndpoint/").arg(silent.serverPort()));
    Client.SetTimeout(1000);
    bool ok = true;
    const qint64 elapsed = TimedMessage(Client, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Client.LastError(), QStringLiteral("Usługa REGON nie odpowiedziała w ciągu 1 s."));
    EXPECT_LT(elapsed, 1000 + 1000);
    // The default applies to every request unless set.
    EXPECT_EQ(TRegonClient().Timeout(), 30000);
}

} // namespace

namespace {

TEST_F(RegonFixture, AnHttpsAddressNeverFallsBackToPlainText) {
    // The fake speaks plain HTTP: the TLS handshake fails and nothing is read as an answer.
    QString address = Service.BaseAddress();
    SetSetting(RegonSettings::ServiceAddressName,
               address.replace(QStringLiteral("http://"), QStringLiteral("https://")));
    Client.SetTimeout(5000);
    EXPECT_FALSE(Client.Login());
    EXPECT_TRUE(Client.LastError().startsWith(QStringLiteral("Brak połączenia z usługą REGON: ")))
        << Client.LastError().toStdString();
    EXPECT_TRUE(Client.Sid().isEmpty());
}

} // namespace

namespace {

// A redirect to another address (here another loopback port) is not followed: nothing, neither
// the session identifier nor the search, reaches the other listener.
TEST_F(RegonFixture, ARedirectIsNotFollowed) {
    OpenSession();
    TFakeHttpServer elsewhere([](const TFakeHttpRequest&) {
        return TFakeHttpReply{200, "application/json", TFakeRegonService::Envelope(QStringLiteral("[]"))};
    });
    Service.Override = [&](const QString& Operation, const TFakeHttpRequest&) -> TReply {
        if (Operation != u"daneSzukaj")
            return std::nullopt;
        TFakeHttpReply moved{307, "text/html", "<html>Moved</html>"};
        moved.ExtraHeaders = "Location: " + elsewhere.Address(TFakeRegonService::Path + "daneSzukaj").toLatin1() +
                             "\r\n";
        return moved;
    };
    TRegonAnswer answer;
    EXPECT_FALSE(Client.Search(RegonData::PersonRegon, {}, {}, answer));
    EXPECT_TRUE(Client.LastError().startsWith(QStringLiteral("Usługa REGON przekierowała zapytanie")))
        << Client.LastError().toStdString();
    QTest::qWait(100);
    EXPECT_TRUE(elsewhere.Requests.isEmpty());
}

// An answer over the limit is refused: announced as such, or streamed without a length (the
// connection kept open), in which case it is cut off while it arrives, long before the timeout.
TEST_F(RegonFixture, AnOversizedAnswerIsRefusedWhileItArrives) {
    Client.SetTimeout(20000);
    // An announced length over the real limit is refused from the header; an answer streamed
    // without a length is counted as it arrives, here against a smaller limit so that the
    // case does not hang on moving megabytes through a loaded machine.
    struct TCase {
        bool Streamed;
        qint64 Limit;
        QString Error;
    };
    const TCase cases[] = {
        {false, TRegonClient::MaxAnswerBytes,
         QStringLiteral("Odpowiedź usługi REGON jest za duża (ponad 8 MiB); odrzucono ją.")},
        {true, 256 * 1024, QStringLiteral("Odpowiedź usługi REGON jest za duża (ponad 256 KiB); odrzucono ją.")},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Streamed);
        Client.SetMaxAnswerBytes(c.Limit);
        Service.Override = [&](const QString&, const TFakeHttpRequest&) -> TReply {
            TFakeHttpReply huge{200, "application/json", QByteArray(c.Limit + 4096, ' ')};
            huge.Unbounded = c.Streamed;
            return huge;
        };
        QString message;
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(Client.Message(message));
        EXPECT_EQ(Client.LastError(), c.Error);
        EXPECT_LT(timer.elapsed(), 15000); // ended by the size, not by the timeout
    }
}

} // namespace
