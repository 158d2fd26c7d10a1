// The message catalogue and the rules of ShowUserMessage, answered by the fake
// presenter; the backend's texts come from a fake router function.

#include "FakeDataBase.h"
#include "FakeMessagePresenter.h"
#include "TestSupport.h"
#include "uDataBaseModule.h"
#include "uUserMessagesModule.h"

#include <QDir>
#include <QSet>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using namespace ModalResult;

// A root object that only identifies its database.
class TFakeRoot : public TFakeDataBase {
public:
    TFakeRoot() { m_dataBaseID = u"baza-1"; }
};

// What the fake router function answers and what it was asked.
struct BackendErrors {
    bool known = true;
    std::u16string text;
    std::u16string link;
    int calls = 0;
    int32_t lastCode = 0;
    std::u16string lastID;
};
BackendErrors g_backend;

bool FakeGetLastError(int32_t ErrCode, const std::u16string& DataBaseID, std::u16string& Text,
                      std::u16string& Link) {
    ++g_backend.calls;
    g_backend.lastCode = ErrCode;
    g_backend.lastID = DataBaseID;
    Text = g_backend.text;
    Link = g_backend.link;
    return g_backend.known;
}

class MessagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::ClearSettings();
        g_backend = BackendErrors{};
        // An empty folder, also as the current one: no router is found, so the
        // test sets the root object and the router function itself.
        const QString saved = QDir::currentPath();
        const QString empty = TestSupport::NewTempDir(QStringLiteral("norouter"));
        QDir::setCurrent(empty);
        db = std::make_unique<TDataBaseModule>(empty);
        QDir::setCurrent(saved);
        ASSERT_FALSE(db->GetDLLLoaded());
        module = std::make_unique<TUserMessagesModule>(db.get());
    }
    void ConnectBackend() {
        db->FEwidarDataBase = MakeIntf<IEwidarDataBase, TFakeRoot>();
        db->FGetLastError = &FakeGetLastError;
    }
    void BackendSays(const QString& Text, const QString& Link) {
        g_backend.text = Text.toStdU16String();
        g_backend.link = Link.toStdU16String();
    }

    FakeMessagePresenter presenter;
    std::unique_ptr<TDataBaseModule> db;
    std::unique_ptr<TUserMessagesModule> module;
};

QSet<uint32_t> CodesWhere(const TUserMessages& all,
                          const std::function<bool(const TUserMessageRecord&)>& pred) {
    QSet<uint32_t> codes;
    for (const TUserMessageRecord& m : all)
        if (pred(m))
            codes.insert(m.errCode);
    return codes;
}

// ---------------------------------------------------------------------------
// The catalogue

TEST(MessageCatalogue, HoldsEveryNumberInOrderAndOnce) {
    const TUserMessagesModule module(nullptr);
    const TUserMessages& all = module.UserMessages();
    ASSERT_EQ(all.size(), 61);
    QList<uint32_t> expected;
    for (uint32_t c = 1; c <= 14; ++c)
        expected << c;
    for (uint32_t c = 20; c <= 24; ++c)
        expected << c;
    for (uint32_t c = 101; c <= 106; ++c)
        expected << c;
    for (uint32_t c = 200; c <= 205; ++c)
        expected << c;
    for (uint32_t c = 300; c <= 329; ++c)
        expected << c;
    QList<uint32_t> codes;
    for (const TUserMessageRecord& m : all)
        codes << m.errCode;
    EXPECT_EQ(codes, expected);
    EXPECT_TRUE(module.FEnabled);
}

TEST(MessageCatalogue, IconsByNumber) {
    const TUserMessagesModule module(nullptr);
    const TUserMessages& all = module.UserMessages();
    auto withIcon = [&](TMsgDlgType t) {
        return CodesWhere(all, [t](auto& m) { return m.errIcon == t; });
    };
    EXPECT_EQ(withIcon(TMsgDlgType::mtWarning),
              (QSet<uint32_t>{103, 105, 106, 200, 202, 204, 303, 304, 309, 313, 315, 317, 322, 323, 324, 329}));
    EXPECT_EQ(withIcon(TMsgDlgType::mtInformation), (QSet<uint32_t>{305, 306, 307, 312, 314, 318, 328}));
    EXPECT_EQ(withIcon(TMsgDlgType::mtConfirmation),
              (QSet<uint32_t>{300, 301, 302, 308, 311, 316, 320, 321, 325, 326, 327}));
    EXPECT_EQ(withIcon(TMsgDlgType::mtError).size(), 61 - 16 - 7 - 11);
}

TEST(MessageCatalogue, ButtonsByNumber) {
    const TUserMessagesModule module(nullptr);
    const TUserMessages& all = module.UserMessages();
    const TMsgButtons yesNo{{TMsgDlgBtn::mbYes, QStringLiteral("Tak")},
                            {TMsgDlgBtn::mbNo, QStringLiteral("Nie")}};
    const TMsgButtons ok{{TMsgDlgBtn::mbOK, QStringLiteral("Ok")}};
    EXPECT_EQ(CodesWhere(all, [&](auto& m) { return m.Buttons == yesNo; }),
              (QSet<uint32_t>{300, 301, 302, 308, 311, 315, 316, 320, 321, 325, 326, 327}));
    // Single buttons of the Yes kind, answering 6.
    const QMap<uint32_t, QString> yesOnly{{309, QStringLiteral("Ok")}, {310, QStringLiteral("Ok")},
                                          {312, QStringLiteral("Ok")}, {317, QStringLiteral("Zamknij")},
                                          {318, QStringLiteral("Ok")}, {319, QStringLiteral("Ok")}};
    for (auto it = yesOnly.begin(); it != yesOnly.end(); ++it)
        EXPECT_EQ(module.FindUserMessage(it.key()).Buttons, (TMsgButtons{{TMsgDlgBtn::mbYes, it.value()}}))
            << it.key();
    EXPECT_EQ(module.FindUserMessage(202).Buttons,
              (TMsgButtons{{TMsgDlgBtn::mbOK, QStringLiteral("Powiązania")},
                           {TMsgDlgBtn::mbClose, QStringLiteral("Zamknij")}}));
    // Everything else: one OK button captioned "Ok".
    EXPECT_EQ(CodesWhere(all, [&](auto& m) { return m.Buttons == ok; }).size(), 61 - 12 - 6 - 1);
}

TEST(MessageCatalogue, TextsKeepTheirLineBreaksQuotesAndPlaceholders) {
    const TUserMessagesModule module(nullptr);
    EXPECT_EQ(module.FindUserMessage(12).errMsg, QStringLiteral("Brak klucza głównego."));
    EXPECT_EQ(module.FindUserMessage(104).errMsg, module.FindUserMessage(12).errMsg);
    EXPECT_EQ(module.FindUserMessage(13).errMsg, QStringLiteral("Wzkazany PORT nie jest liczbą."));
    EXPECT_EQ(module.FindUserMessage(201).errMsg,
              QStringLiteral("Katastrofalny błąd podczas usuwania danych"));
    EXPECT_EQ(
        module.FindUserMessage(202).errMsg,
        QStringLiteral("Nie można usunąć danych powiązanych z innymi danymi.\r\n\r\nAby sprawdzić z czym "
                       "jest powiązany dany rekord, kliknij na niego prawym przyciskiem myszki i wybierz "
                       "\"powiązania\"\r\nlub naciśnij przycisk \"powiązania\" poniżej."));
    EXPECT_EQ(module.FindUserMessage(300).errMsg,
              QStringLiteral("Pola zostały zmodyfikowane.\r\nCzy na pewno zamknąć?"));
    EXPECT_EQ(
        module.FindUserMessage(307).errMsg,
        QStringLiteral("Należy wpisać tylko cyfry środkowe z 26-znakowego numeru rachunku bankowego, tj. "
                       "pominąć dwie cyfry kontrolne i siedem ostatnich cyfr:\r\nXX_ _ _ _ _ _ _ _ _ _ _ _ "
                       "_ _ _ _ _ XXXXXXX.\r\nPozostałe cyfry program uzupełni z automatu w zależności od "
                       "potrzeb: CIT, VAT, PIT, itd."));
    EXPECT_EQ(module.FindUserMessage(319).errMsg,
              QStringLiteral("Nie odnaleziono Biblioteki QuorDataBase.dll\r\nlub wystąpił błąd podczas jej "
                             "uruchamiania."));
    EXPECT_EQ(module.FindUserMessage(321).errMsg, QStringLiteral("Usunać operatora \"%s\" ?"));
    EXPECT_EQ(
        CodesWhere(module.UserMessages(), [](auto& m) { return m.errMsg.contains(QStringLiteral("%s")); }),
        (QSet<uint32_t>{301, 302, 308, 311, 320, 321, 325, 326, 327}));
    for (const TUserMessageRecord& m : module.UserMessages())
        EXPECT_EQ(m.errMsg.count(QStringLiteral("%s")), m.errMsg.count(QLatin1Char('%'))) << m.errCode;
}

TEST(MessageCatalogue, LookupOfAMissingNumberGivesAnEmptyRecord) {
    const TUserMessagesModule module(nullptr);
    for (uint32_t code : {0u, 15u, 19u, 25u, 100u, 107u, 206u, 299u, 330u, 0xFFFFFFFFu}) {
        const TUserMessageRecord r = module.FindUserMessage(code);
        EXPECT_EQ(r.errCode, 0u) << code;
        EXPECT_TRUE(r.errMsg.isEmpty());
        EXPECT_TRUE(r.Buttons.isEmpty());
    }
}

// ---------------------------------------------------------------------------
// Showing numbered messages

TEST_F(MessagesTest, CodeZeroShowsNothingInEitherForm) {
    ConnectBackend();
    BackendSays(QStringLiteral("tekst"), QStringLiteral("link"));
    EXPECT_EQ(module->ShowUserMessage(nullptr, 0), mrNotShown);
    EXPECT_EQ(module->ShowUserMessage(nullptr, 0, {QStringLiteral("x")}), mrNotShown);
    EXPECT_EQ(presenter.Count(), 0);
    EXPECT_EQ(g_backend.calls, 0);
}

TEST_F(MessagesTest, DisabledModuleShowsNothing) {
    module->FEnabled = false;
    EXPECT_EQ(module->ShowUserMessage(nullptr, 2), mrNotShown);
    EXPECT_EQ(module->ShowUserMessage(nullptr, 301, {QStringLiteral("x")}), mrNotShown);
    EXPECT_EQ(presenter.Count(), 0);
}

TEST_F(MessagesTest, AnEntryIsShownWithTitleTextIconButtonsAndOwner) {
    QWidget owner;
    presenter.QueueResult(mrOk);
    EXPECT_EQ(module->ShowUserMessage(&owner, 105), mrOk);
    ASSERT_EQ(presenter.Count(), 1);
    const TMessageRequest& r = presenter.Last();
    EXPECT_EQ(r.Title, QStringLiteral("Ewidar Quor"));
    EXPECT_EQ(r.Text,
              QStringLiteral("Dane aktualnie są zablokowane, inny użytkownik jest w trakcie edycji."));
    EXPECT_EQ(r.Icon, TMsgDlgType::mtWarning);
    EXPECT_EQ(presenter.LastCaptions(), QStringList{QStringLiteral("Ok")});
    EXPECT_EQ(r.Owner.data(), &owner);

    module->ShowUserMessage(nullptr, 1);
    EXPECT_EQ(presenter.Last().Icon, TMsgDlgType::mtError);
    EXPECT_EQ(presenter.Last().Owner.data(), nullptr);
}

TEST_F(MessagesTest, Codes12And104ShowTheSameText) {
    module->ShowUserMessage(nullptr, 12);
    module->ShowUserMessage(nullptr, 104);
    ASSERT_EQ(presenter.Count(), 2);
    EXPECT_EQ(presenter.Shown[0].Text, presenter.Shown[1].Text);
    EXPECT_EQ(presenter.Shown[0].Text, QStringLiteral("Brak klucza głównego."));
}

TEST_F(MessagesTest, Message202HasTwoButtonsAnsweringOneAndEight) {
    presenter.QueueButton(QStringLiteral("Powiązania"));
    EXPECT_EQ(module->ShowUserMessage(nullptr, 202), mrOk);
    EXPECT_EQ(presenter.LastCaptions(),
              (QStringList{QStringLiteral("Powiązania"), QStringLiteral("Zamknij")}));
    presenter.QueueButton(QStringLiteral("Zamknij"));
    EXPECT_EQ(module->ShowUserMessage(nullptr, 202), mrClose);
}

TEST_F(MessagesTest, YesKindSingleButtonsAnswerSix) {
    for (uint32_t code : {309u, 310u, 312u, 317u, 318u, 319u}) {
        EXPECT_EQ(module->ShowUserMessage(nullptr, code), mrYes) << code;
        ASSERT_EQ(presenter.Last().Buttons.size(), 1);
        EXPECT_EQ(presenter.Last().Buttons[0].ButtonType, TMsgDlgBtn::mbYes);
    }
    EXPECT_EQ(presenter.Shown[0].Text, QStringLiteral("Proszę wypełnić wszystkie pola."));
    EXPECT_EQ(presenter.Shown[3].Buttons[0].ButtonCaption, QStringLiteral("Zamknij"));
}

TEST_F(MessagesTest, ConfirmationsAnswerYesOrNo) {
    presenter.QueueButton(QStringLiteral("Nie"));
    EXPECT_EQ(module->ShowUserMessage(nullptr, 300), mrNo);
    presenter.QueueButton(QStringLiteral("Tak"));
    EXPECT_EQ(module->ShowUserMessage(nullptr, 315), mrYes);
    EXPECT_EQ(presenter.Last().Icon, TMsgDlgType::mtWarning);
    EXPECT_EQ(presenter.LastCaptions(), (QStringList{QStringLiteral("Tak"), QStringLiteral("Nie")}));
}

TEST_F(MessagesTest, ArgumentsFillThePlaceholder) {
    EXPECT_EQ(module->ShowUserMessage(nullptr, 301, {QStringLiteral("Kowalski, Jan, 50%")}), mrYes);
    EXPECT_EQ(presenter.Last().Text,
              QStringLiteral("Czy na pewno usunąć wybrane dane?\r\n\r\nKowalski, Jan, 50%"));
    EXPECT_EQ(presenter.Last().Icon, TMsgDlgType::mtConfirmation);
    module->ShowUserMessage(nullptr, 308, {3});
    EXPECT_EQ(presenter.Last().Text, QStringLiteral("Czy na pewno usunąć zaznaczone (3) rekordy?"));
    // Extra arguments and arguments for a text without a placeholder are ignored.
    module->ShowUserMessage(nullptr, 320, {QStringLiteral("Księgowe"), QStringLiteral("zbędny")});
    EXPECT_EQ(presenter.Last().Text,
              QStringLiteral("Usunać grupę \"Księgowe\" wraz z jej wszystkimi operatorami?"));
    module->ShowUserMessage(nullptr, 2, {QStringLiteral("zbędny")});
    EXPECT_EQ(presenter.Last().Text, QStringLiteral("Brak połączenia z bazą danych."));
}

TEST_F(MessagesTest, EmptyArgumentsBehaveAsTheTwoArgumentForm) {
    ConnectBackend();
    BackendSays(QStringLiteral("Błąd zaplecza"), QStringLiteral("https://example.invalid/b"));
    EXPECT_EQ(module->ShowUserMessage(nullptr, 301, QVariantList{}), mrYes);
    EXPECT_EQ(presenter.Last().Text, QStringLiteral("Czy na pewno usunąć wybrane dane?\r\n\r\n%s"));
    // With no arguments an unknown code still shows the backend's text.
    EXPECT_EQ(module->ShowUserMessage(nullptr, 9001, QVariantList{}), mrOk);
    EXPECT_TRUE(presenter.Last().Text.startsWith(QStringLiteral("Błąd zaplecza")));
}

TEST_F(MessagesTest, ArgumentsWithAnUnknownCodeShowNothingAndAskNoBackend) {
    ConnectBackend();
    BackendSays(QStringLiteral("tekst"), QStringLiteral("link"));
    EXPECT_EQ(module->ShowUserMessage(nullptr, 9001, {QStringLiteral("x")}), mrNotShown);
    EXPECT_EQ(presenter.Count(), 0);
    EXPECT_EQ(g_backend.calls, 0);
}

TEST_F(MessagesTest, UnknownCodeWithoutBackendShowsNothing) {
    EXPECT_EQ(module->ShowUserMessage(nullptr, 9001), mrNotShown);
    // A router function but no root object: the router is not asked.
    db->FGetLastError = &FakeGetLastError;
    BackendSays(QStringLiteral("tekst"), QStringLiteral("link"));
    EXPECT_EQ(module->ShowUserMessage(nullptr, 9001), mrNotShown);
    EXPECT_EQ(g_backend.calls, 0);
    // A root object but no router function.
    db->FGetLastError = nullptr;
    db->FEwidarDataBase = MakeIntf<IEwidarDataBase, TFakeRoot>();
    EXPECT_EQ(module->ShowUserMessage(nullptr, 9001), mrNotShown);
    EXPECT_EQ(presenter.Count(), 0);
    // No database module at all.
    TUserMessagesModule bare(nullptr);
    EXPECT_EQ(bare.ShowUserMessage(nullptr, 9001), mrNotShown);
    EXPECT_EQ(presenter.Count(), 0);
}

TEST_F(MessagesTest, UnknownCodeShowsTheBackendTextWithItsLink) {
    ConnectBackend();
    BackendSays(QStringLiteral("Naruszenie klucza obcego."),
                QStringLiteral("https://example.invalid/err/1451"));
    QWidget owner;
    EXPECT_EQ(module->ShowUserMessage(&owner, 1451), mrOk);
    EXPECT_EQ(g_backend.lastCode, 1451);
    EXPECT_EQ(g_backend.lastID, u"baza-1");
    ASSERT_EQ(presenter.Count(), 1);
    const TMessageRequest& r = presenter.Last();
    EXPECT_EQ(r.Text, QStringLiteral("Naruszenie klucza obcego.\r\n\r\nWięcej informacji:\r\n"
                                     "https://example.invalid/err/1451"));
    EXPECT_EQ(r.Icon, TMsgDlgType::mtError);
    EXPECT_EQ(r.Buttons, (TMsgButtons{{TMsgDlgBtn::mbOK, QStringLiteral("Ok")}}));
    EXPECT_EQ(r.Title, QStringLiteral("Ewidar Quor"));
    EXPECT_EQ(r.Owner.data(), &owner);
}

TEST_F(MessagesTest, BackendTextWithoutLinkOrLinkWithoutText) {
    ConnectBackend();
    BackendSays(QStringLiteral("Tylko tekst."), QString());
    EXPECT_EQ(module->ShowUserMessage(nullptr, 1451), mrOk);
    EXPECT_EQ(presenter.Last().Text, QStringLiteral("Tylko tekst."));
    BackendSays(QString(), QStringLiteral("https://example.invalid/x"));
    EXPECT_EQ(module->ShowUserMessage(nullptr, 1451), mrNotShown);
    EXPECT_EQ(presenter.Count(), 1);
}

TEST_F(MessagesTest, BackendThatDoesNotKnowTheCodeIsNotShown) {
    ConnectBackend();
    g_backend.known = false;
    BackendSays(QStringLiteral("stary tekst"), QStringLiteral("stary link"));
    EXPECT_EQ(module->ShowUserMessage(nullptr, 1451), mrNotShown);
    EXPECT_EQ(presenter.Count(), 0);
}

TEST_F(MessagesTest, CatalogueEntryWinsOverTheBackendText) {
    ConnectBackend();
    BackendSays(QStringLiteral("Tekst zaplecza."), QStringLiteral("https://example.invalid/2"));
    EXPECT_EQ(module->ShowUserMessage(nullptr, 2), mrOk);
    EXPECT_EQ(presenter.Last().Text, QStringLiteral("Brak połączenia z bazą danych."));
}

TEST_F(MessagesTest, DatabaseModuleGivenAfterCreation) {
    TUserMessagesModule late(nullptr);
    EXPECT_EQ(late.DataBaseModule(), nullptr);
    ConnectBackend();
    BackendSays(QStringLiteral("Tekst."), QStringLiteral("link"));
    EXPECT_EQ(late.ShowUserMessage(nullptr, 7777), mrNotShown);
    late.SetDataBaseModule(db.get());
    EXPECT_EQ(late.ShowUserMessage(nullptr, 7777), mrOk);
}

// ---------------------------------------------------------------------------
// The global accessor windows use

TEST_F(MessagesTest, FreeFunctionsUseTheRegisteredModule) {
    ConnectBackend();
    BackendSays(QStringLiteral("Tekst zaplecza."), QStringLiteral("link"));
    SetUserMessagesModule(module.get());
    EXPECT_EQ(UserMessagesModule(), module.get());
    QWidget owner;
    EXPECT_EQ(ShowUserMessage(4242, &owner), mrOk);
    EXPECT_TRUE(presenter.Last().Text.startsWith(QStringLiteral("Tekst zaplecza.")));
    EXPECT_EQ(presenter.Last().Owner.data(), &owner);
    EXPECT_EQ(ShowUserMessage(302, {QStringLiteral("Adres")}, &owner), mrYes);
    EXPECT_EQ(presenter.Last().Text, QStringLiteral("Czy usunąć powiązanie?\r\n\r\nAdres"));

    // Unregistered: catalogue messages still appear, backend texts do not.
    SetUserMessagesModule(nullptr);
    EXPECT_NE(UserMessagesModule(), module.get());
    EXPECT_EQ(ShowUserMessage(4242), mrNotShown);
    EXPECT_EQ(ShowUserMessage(303), mrOk);
    EXPECT_EQ(presenter.Last().Text, QStringLiteral("Te dane są aktualnie edytowane w innym oknie."));
}

// ---------------------------------------------------------------------------
// Helpers of the module and the presenter

TEST(MessageFormatting, PlaceholdersPercentSignsAndMissingArguments) {
    EXPECT_EQ(TUserMessagesModule::FormatMessage(QStringLiteral("a %s b"), {QStringLiteral("X")}),
              QStringLiteral("a X b"));
    EXPECT_EQ(TUserMessagesModule::FormatMessage(QStringLiteral("100%% %s"), {QStringLiteral("%s")}),
              QStringLiteral("100% %s"));
    EXPECT_EQ(TUserMessagesModule::FormatMessage(QStringLiteral("%s i %s"), {1}), QStringLiteral("1 i %s"));
    EXPECT_EQ(TUserMessagesModule::FormatMessage(QStringLiteral("koniec %"), {1}),
              QStringLiteral("koniec %"));
    EXPECT_EQ(TUserMessagesModule::FormatMessage(QStringLiteral("%d"), {1}), QStringLiteral("%d"));
}

TEST(MessageButtons, OneButtonPerKindInKindOrderCaptionsByPosition) {
    const TMsgButtons given{{TMsgDlgBtn::mbClose, QStringLiteral("A")},
                            {TMsgDlgBtn::mbYes, QStringLiteral("B")},
                            {TMsgDlgBtn::mbClose, QStringLiteral("C")}};
    EXPECT_EQ(
        TUserMessagesModule::DialogButtons(given),
        (TMsgButtons{{TMsgDlgBtn::mbYes, QStringLiteral("A")}, {TMsgDlgBtn::mbClose, QStringLiteral("B")}}));
    EXPECT_TRUE(TUserMessagesModule::DialogButtons({}).isEmpty());
}

TEST(MessageButtons, ClosingWithoutAButtonIsNeverYes) {
    using B = TMsgDlgBtn;
    EXPECT_EQ(CloseResultOf({{B::mbYes, "Tak"}, {B::mbNo, "Nie"}}), mrNo);
    EXPECT_EQ(CloseResultOf({{B::mbOK, "Powiązania"}, {B::mbClose, "Zamknij"}}), mrClose);
    EXPECT_EQ(CloseResultOf({{B::mbYes, "Ok"}}), mrYes);
    EXPECT_EQ(CloseResultOf({{B::mbOK, "Ok"}}), mrOk);
    EXPECT_EQ(CloseResultOf({{B::mbYes, "Tak"}, {B::mbOK, "Ok"}}), mrCancel);
    EXPECT_EQ(CloseResultOf({}), mrCancel);
}

TEST(MessagePlacement, CentredOverTheOwnerWhenItFits) {
    const QRect screen(0, 0, 1280, 1024);
    EXPECT_EQ(MessageDialogPosition(QRect(100, 100, 600, 400), QSize(300, 150), screen), QPoint(250, 225));
    // Halves round towards zero: (100 - 151) / 2 = -25, not -26.
    EXPECT_EQ(MessageDialogPosition(QRect(500, 500, 100, 100), QSize(151, 151), screen), QPoint(475, 475));
}

TEST(MessagePlacement, CentredOnTheScreenWhenItWouldLeaveIt) {
    const QRect screen(0, 0, 1280, 1024);
    const QSize dialog(400, 200);
    const QPoint centre(440, 412);
    // Near the right edge, past the left edge, below the bottom, above the top.
    EXPECT_EQ(MessageDialogPosition(QRect(1100, 300, 300, 300), dialog, screen), centre);
    EXPECT_EQ(MessageDialogPosition(QRect(-50, 300, 300, 300), dialog, screen), centre);
    EXPECT_EQ(MessageDialogPosition(QRect(300, 950, 300, 100), dialog, screen), centre);
    EXPECT_EQ(MessageDialogPosition(QRect(300, -80, 300, 100), dialog, screen), centre);
    // Exactly touching the right edge still fits.
    EXPECT_EQ(MessageDialogPosition(QRect(880, 300, 400, 300), dialog, screen), QPoint(880, 350));
    // A screen whose origin is not 0,0.
    EXPECT_EQ(MessageDialogPosition(QRect(1100, 300, 300, 300), dialog, QRect(100, 50, 1280, 1024)),
              QPoint(540, 462));
}

} // namespace
