// The VAT white list buttons of the real subject editor over the fake service: filling a
// subject (round trip to the SQL backend), the question before overwriting, the check window
// with the subject's own accounts, and a failed answer that changes nothing.

#include "FakeWhiteListService.h"
#include "FlatFileMaker.h"
#include "PodmiotFixture.h"
#include "TRadioButton.h"
#include "TestSupport.h"
#include "uEwidarRegisterChecksIntf.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarQuorDBSymbole.h"
#include "uDaneNumerowIdentyfikacyjnychFrame.h"
#include "uFrameOpeners.h"
#include "uViesClient.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uWhiteListAddress.h"
#include "uWhiteListFlatFile.h"
#include "uWhiteListFlatImport.h"
#include "uWhiteListForms.h"
#include "uWhiteListSettings.h"

#include <QDateEdit>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>

#include <stdexcept>

namespace {

const QString kNip = QStringLiteral("5260250995");
const QString kListed = QStringLiteral("12105000997603123456789123");
const QString kListed2 = QStringLiteral("61109010140000071219812874");

class WhiteListEditorTest : public PodmiotTest {
protected:
    void SetUp() override {
        TestSupport::ClearSettings();
        PodmiotTest::SetUp();
        Service.Subjects.insert(kNip, TFakeWhiteListService::Sample());
        Registry::WriteString(QuorDataBaseDefs::EwidarKey, WhiteListSettings::ServiceAddressName,
                              Service.BaseAddress());
        PodmiotOpeners::SetWhiteListOpener([](QWidget* Owner, TPodmiotFrame* Frame, PodmiotOpeners::TWhiteListAction A) {
            if (A == PodmiotOpeners::TWhiteListAction::waCheck)
                WhiteListForms::CheckSubject(Owner, Frame);
            else if (A == PodmiotOpeners::TWhiteListAction::waFill)
                WhiteListForms::FillSubject(Owner, Frame);
            else
                WhiteListForms::ShowChecks(Owner, Frame);
        });
        FrameOpeners::SetAccountCheckOpener(&WhiteListForms::CheckAccount);
    }
    void TearDown() override {
        PodmiotOpeners::SetWhiteListOpener({});
        FrameOpeners::SetAccountCheckOpener({});
        PodmiotTest::TearDown();
        TestSupport::ClearSettings();
    }
    // The rows of a section collection of the stored subject, the symbols' values joined by "|".
    QStringList Stored(int32_t ID, TIntfPtr<IEwidarCollection> (*Get)(IPodmiot*), const QStringList& Symbols) {
        const TIntfPtr<IPodmiot> p = Supports<IPodmiot>(FindSubject(ID));
        QStringList rows;
        if (!p)
            return rows;
        const TIntfPtr<IEwidarCollection> c = Get(p.get());
        for (int32_t i = 0; c && i < c->GetCount(); ++i) {
            TIntfPtr<IEwidarRecord> r;
            if (auto s = Supports<IEwidarSectionCollection>(c))
                r = s->GetItem(i);
            else if (auto l = Supports<IEwidarListCollection>(c))
                r = l->GetItem(i);
            QStringList values;
            for (const QString& symbol : Symbols)
                values << Value(r.get(), symbol);
            rows << values.join(u'|');
        }
        return rows;
    }
    // The subject's editor showing a new stored account section of Account; its "Sprawdź
    // rachunek w wykazie VAT" button (nullptr when missing).
    QToolButton* AccountCheckButton(const TIntfPtr<IEwidarRecord>& Subject, const QString& Account) {
        auto account = Supports<IPodmiot>(Subject)->GetRachunkiBankowe()->New();
        SetValue(account.get(), cDaneRachunkuNrRachunku.Symbol, Account);
        EXPECT_TRUE(account->Post()) << account->GetLastErrorCode();
        TBaseFrame* viewer = Open(Subject, kPodatnik)->Viewer("DaneRachunkuFrame1");
        viewer->SetEwidarRecord(account);
        return viewer->findChild<QToolButton*>(QStringLiteral("btnWykazVAT"));
    }
    static TIntfPtr<IEwidarCollection> Addresses(IPodmiot* P) { return P->GetAdresyDzialalnosci(); }
    static TIntfPtr<IEwidarCollection> Accounts(IPodmiot* P) { return P->GetRachunkiBankowe(); }

    TFakeWhiteListService Service;
};

TEST_F(WhiteListEditorTest, FillFromTheListIsStoredWithTheSubject) {
    auto subject = NewTaxpayer({});
    TPodmiotFrame* f = Open(subject, kPodatnik);
    f->Panel("pnlNIP2")->SetValue(kNip);
    f->btnWypelnijZWykazuVAT->click();
    // Only the NIP was filled, with the very NIP asked by: nothing to ask about.
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
    EXPECT_TRUE(f->RadioButton[6]->isChecked());
    EXPECT_EQ(f->Panel("pnlNazwaFirmy")->Value(), QStringLiteral("PRZEDSIĘBIORSTWO PRÓBNE SPÓŁKA Z O.O."));
    EXPECT_EQ(f->Panel("pnlNumerEwidencji")->Value(), QStringLiteral("0000123456"));
    ASSERT_TRUE(f->PostPodmiot()) << Shown().toStdString();
    const int32_t id = subject->GetID();
    EXPECT_EQ(StoredValue(id, cDanePodmiotuNIP.Symbol), kNip);
    EXPECT_EQ(StoredValue(id, cDanePodmiotuREGON.Symbol), QStringLiteral("012345675"));
    EXPECT_EQ(StoredValue(id, cDanePodmiotuNazwaEwidencji.Symbol), QStringLiteral("Krajowy Rejestr Sądowy"));
    EXPECT_EQ(Stored(id, &Addresses,
                     {cDaneAdresoweDzialanosciUlica.Symbol, cDaneAdresoweDzialanosciNrDomu.Symbol,
                      cDaneAdresoweDzialanosciNrLokalu.Symbol, cDaneAdresoweDzialanosciKodPocztowy.Symbol,
                      cDaneAdresoweDzialanosciMiejscowosc.Symbol, cDaneAdresoweDzialanosciTypAdresu.Symbol}),
              QStringList{QStringLiteral("DŁUGA|5|7|00-950|WARSZAWA|1,0,0")});
    EXPECT_EQ(Stored(id, &Accounts, {cDaneRachunkuNrRachunku.Symbol}), (QStringList{kListed, kListed2}));

    // Again over the same values: nothing to ask; the accounts held already are not added twice.
    f->btnWypelnijZWykazuVAT->click();
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
    // A name of the operator's own is asked about before it is overwritten.
    f->Panel("pnlNazwaFirmy")->SetValue(QStringLiteral("Nazwa własna"));
    Messages->QueueButton(QStringLiteral("Tak"));
    f->btnWypelnijZWykazuVAT->click();
    EXPECT_EQ(Messages->Count(), 1);
    EXPECT_EQ(f->Panel("pnlNazwaFirmy")->Value(), QStringLiteral("PRZEDSIĘBIORSTWO PRÓBNE SPÓŁKA Z O.O."));
    EXPECT_EQ(Stored(id, &Accounts, {cDaneRachunkuNrRachunku.Symbol}).size(), 2);
}

TEST_F(WhiteListEditorTest, DecliningTheOverwriteChangesNothing) {
    auto subject = NewTaxpayer({{cDanePodmiotuNazwaFirmy.Symbol, QStringLiteral("Stara nazwa")}});
    TPodmiotFrame* f = Open(subject, kPodatnik);
    f->Panel("pnlNIP2")->SetValue(kNip);
    Messages->QueueButton(QStringLiteral("Nie"));
    f->btnWypelnijZWykazuVAT->click();
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_EQ(Messages->Last().Text, "Istniejące dane zostaną nadpisane.\r\nCzy skopiować mimo to?");
    EXPECT_EQ(f->Panel("pnlNazwaFirmy")->Value(), QStringLiteral("Stara nazwa"));
    EXPECT_TRUE(Stored(subject->GetID(), &Accounts, {cDaneRachunkuNrRachunku.Symbol}).isEmpty());
    EXPECT_TRUE(Stored(subject->GetID(), &Addresses, {cDaneAdresoweDzialanosciUlica.Symbol}).isEmpty());
}

TEST_F(WhiteListEditorTest, CheckShowsTheStatusAndWhichOwnAccountsAreListed) {
    auto subject = NewTaxpayer({{cDanePodmiotuNIP.Symbol, kNip}});
    const TIntfPtr<IPodmiot> p = Supports<IPodmiot>(subject);
    for (const QString& n : {QStringLiteral("PL12 1050 0099 7603 1234 5678 9123"), QStringLiteral("PL27114020040000300201355387")}) {
        auto account = p->GetRachunkiBankowe()->New();
        SetValue(account.get(), cDaneRachunkuNrRachunku.Symbol, n);
        ASSERT_TRUE(account->Post()) << account->GetLastErrorCode();
    }
    TPodmiotFrame* f = Open(subject, kPodatnik);
    QString html;
    TestSupport::WhenModal([&](QWidget* Modal) {
        if (auto* text = Modal->findChild<QTextBrowser*>(QStringLiteral("Text")))
            html = text->toPlainText();
        Modal->close();
    });
    f->btnWykazVAT->click();
    EXPECT_EQ(Messages->Count(), 0) << Shown().toStdString();
    // The answer is kept with the subject, and listed and printed from "Weryfikacje".
    std::vector<TRegisterCheck> checks;
    ASSERT_TRUE(RegisterChecks(m_db)->GetRegisterChecks(subject->GetID(), {}, checks));
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_EQ(checks[0].Outcome, u"Czynny");
    EXPECT_EQ(checks[0].Identifier, kNip.toStdU16String());
    EXPECT_EQ(checks[0].AskedDate, QDate::currentDate().toString(Qt::ISODate).toStdU16String());
    EXPECT_NE(QString::fromStdU16String(checks[0].Raw).indexOf(QStringLiteral("PRZEDSIĘBIORSTWO")), -1);
    QString page;
    int rows = 0;
    TestSupport::WhenModal([&](QWidget* Modal) {
        if (auto* form = dynamic_cast<TRegisterChecksForm*>(Modal)) {
            rows = form->grdChecks->rowCount();
            form->ShowPage = [&](QWidget*, const QString& Html) { page = Html; };
            form->btnPrint->click();
        }
        Modal->close();
    });
    f->btnWeryfikacje->click();
    EXPECT_EQ(rows, 1) << Shown().toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("Potwierdzenie sprawdzenia: Wykaz podatników VAT"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QString::fromStdU16String(checks[0].RequestId)));
    EXPECT_TRUE(html.contains(QStringLiteral("Status:\nCzynny"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("Data rejestracji jako podatnika VAT:\n2001-05-01")));
    EXPECT_TRUE(html.contains(QStringLiteral("PL12 1050 0099 7603 1234 5678 9123\njest w wykazie")));
    EXPECT_TRUE(html.contains(QStringLiteral("PL27114020040000300201355387\nbrak w wykazie")));
    EXPECT_TRUE(html.contains(QStringLiteral("61 1090 1014 0000 0712 1981 2874")));
}

TEST_F(WhiteListEditorTest, AnAccountSectionIsCheckedForTheSubjectsNipOnTheChosenDate) {
    auto subject = NewTaxpayer({{cDanePodmiotuNIP.Symbol, kNip}});
    QToolButton* button = AccountCheckButton(subject, kListed2);
    ASSERT_TRUE(button);
    QString nipShown;
    auto answer = [&](const QDate& Date) {
        TestSupport::WhenModal([&, Date](QWidget* Modal) {
            auto* form = dynamic_cast<TWhiteListAccountForm*>(Modal);
            if (!form)
                return Modal->close(), void();
            nipShown = form->edtNIP->text();
            form->edtData->setDate(Date);
            form->accept();
        });
        button->click();
    };
    answer(QDate(2026, 1, 5));
    EXPECT_EQ(nipShown, kNip);
    EXPECT_EQ(Service.Server.Requests.last().Path,
              QByteArray("/api/check/nip/") + kNip.toLatin1() + "/bank-account/" + kListed2.toLatin1() + "?date=2026-01-05");
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_TRUE(Messages->Last().Text.contains(QStringLiteral("JEST przypisany"))) << Shown().toStdString();
    EXPECT_FALSE(Messages->Last().Text.contains(QStringLiteral("NIE JEST")));

    // Another subject's account is not assigned to this NIP.
    Service.Subjects[kNip].Accounts.removeAll(kListed2);
    answer(QDate::currentDate());
    ASSERT_EQ(Messages->Count(), 2);
    EXPECT_TRUE(Messages->Last().Text.contains(QStringLiteral("NIE JEST przypisany"))) << Shown().toStdString();
    std::vector<TRegisterCheck> checks;
    ASSERT_TRUE(RegisterChecks(m_db)->GetRegisterChecks(subject->GetID(), {}, checks));
    ASSERT_EQ(checks.size(), 2u);
    EXPECT_EQ(checks[0].Outcome, u"nieprzypisany");
    EXPECT_EQ(checks[1].Outcome, u"przypisany");
    EXPECT_EQ(checks[1].AskedDate, u"2026-01-05");
    EXPECT_EQ(checks[1].Account, kListed2.toStdU16String());
}

// With the service's limit spent the account is checked in the imported flat file, for the
// file's own day only; the answer names its source and is kept as proof marked so.
TEST_F(WhiteListEditorTest, ASpentLimitIsAnsweredFromTheImportedFlatFile) {
    auto subject = NewTaxpayer({{cDanePodmiotuNIP.Symbol, kNip}});
    QToolButton* button = AccountCheckButton(subject, kListed2);
    ASSERT_TRUE(button);
    auto ask = [&](const QDate& Date) {
        TestSupport::WhenModal([Date](QWidget* Modal) {
            auto* form = dynamic_cast<TWhiteListAccountForm*>(Modal);
            if (!form)
                return Modal->close(), void();
            form->edtData->setDate(Date);
            form->accept();
        });
        button->click();
    };
    auto stored = [&] {
        std::vector<TRegisterCheck> checks;
        EXPECT_TRUE(RegisterChecks(m_db)->GetRegisterChecks(subject->GetID(), {}, checks));
        return checks;
    };
    Service.Limit = 0;
    QFile::remove(WhiteListFlatFile::StorePath());
    const QDate today = QDate::currentDate();
    const QString day = today.toString(Qt::ISODate);

    // Nothing imported yet: the service's failure and why the file cannot answer.
    ask(today);
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_TRUE(Messages->Last().Text.startsWith(QStringLiteral("Wyczerpano limit zapytań"))) << Shown().toStdString();
    EXPECT_TRUE(Messages->Last().Text.contains(QStringLiteral("Nie zaimportowano pliku płaskiego"))) << Shown().toStdString();
    EXPECT_TRUE(stored().empty());

    // "Importuj plik płaski wykazu VAT…" of today's file.
    QTemporaryDir dir;
    TFlatFileMaker maker;
    maker.Date = today.toString(QStringLiteral("yyyyMMdd"));
    maker.Active = {{kNip, kListed2}};
    maker.Exempt = {{QStringLiteral("1234563218"), kListed}};
    const QString source = dir.filePath(QStringLiteral("plik.json"));
    TFlatFileMaker::Write(source, maker.Json());
    WhiteListFlatImport::SetFileChooser([source](QWidget*) { return source; });
    EXPECT_TRUE(WhiteListFlatImport::Run(button->window()));
    WhiteListFlatImport::SetFileChooser({});
    ASSERT_EQ(Messages->Count(), 2);
    EXPECT_TRUE(Messages->Last().Text.contains(QStringLiteral("z dnia %1:\nskróty podatników czynnych: 1\nskróty "
                                                              "podatników zwolnionych: 1").arg(day)))
        << Shown().toStdString();

    ask(today);
    ASSERT_EQ(Messages->Count(), 3);
    const QString said = Messages->Last().Text;
    EXPECT_TRUE(said.startsWith(QStringLiteral("Odpowiedź z pliku płaskiego z dnia ") + day)) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("Wyczerpano limit zapytań"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("JEST przypisany")) && !said.contains(QStringLiteral("NIE JEST")))
        << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("Podatnik VAT czynny"))) << said.toStdString();
    std::vector<TRegisterCheck> checks = stored();
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_EQ(checks[0].Source, u"plik płaski");
    EXPECT_EQ(checks[0].RequestId, (QStringLiteral("plik płaski ") + day).toStdU16String());
    EXPECT_EQ(checks[0].Outcome, u"przypisany");
    EXPECT_EQ(checks[0].Account, kListed2.toStdU16String());
    EXPECT_TRUE(QString::fromStdU16String(checks[0].Raw)
                    .contains(QString::fromLatin1(TFlatFileMaker::Hash(maker.Date, kNip, kListed2, maker.Rounds))))
        << QString::fromStdU16String(checks[0].Raw).toStdString();

    // The day before: the file cannot answer, and nothing is kept.
    ask(today.addDays(-1));
    ASSERT_EQ(Messages->Count(), 4);
    EXPECT_TRUE(Messages->Last().Text.contains(QStringLiteral("odpowiada tylko na ten dzień"))) << Shown().toStdString();
    EXPECT_EQ(stored().size(), 1u);

    // The service answering again is asked, and says so.
    Service.Limit = -1;
    ask(today);
    ASSERT_EQ(Messages->Count(), 5);
    EXPECT_TRUE(Messages->Last().Text.contains(QStringLiteral("Odpowiedź usługi wykazu podatników VAT")))
        << Shown().toStdString();
    checks = stored();
    ASSERT_EQ(checks.size(), 2u);
    EXPECT_EQ(checks[0].Source, u"usługa");
}

// A fake VIES valid for numbers ending in 9, naming the consultation for a requester.
TFakeHttpReply ViesAnswer(const TFakeHttpRequest& Request) {
    const QJsonObject in = QJsonDocument::fromJson(Request.Body).object();
    const bool valid = in.value("vatNumber").toString().endsWith(u'9');
    QJsonObject out{{"countryCode", in.value("countryCode")}, {"vatNumber", in.value("vatNumber")},
                    {"valid", valid}, {"name", valid ? "Muster GmbH" : "---"}, {"address", "---"}};
    if (in.contains("requesterNumber"))
        out.insert("requestIdentifier", "WAPIAAAAY777");
    TFakeHttpReply reply;
    reply.Body = QJsonDocument(out).toJson();
    return reply;
}

TEST_F(WhiteListEditorTest, AnIdentificationNumberIsCheckedInViesOnlyAsATaxNumber) {
    TFakeHttpServer vies(&ViesAnswer);
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, ViesSettings::ServiceAddressName, vies.Address(QStringLiteral("/")));
    Registry::WriteString(QuorDataBaseDefs::EwidarKey, ViesSettings::RequesterName, QStringLiteral("PL5260250995"));
    FrameOpeners::SetViesCheckOpener(&WhiteListForms::CheckVies);
    THostForm host([](QWidget* P) -> TBaseFrame* { return new TDaneNumerowIdentyfikacyjnychFrame(P); });
    auto* frame = static_cast<TDaneNumerowIdentyfikacyjnychFrame*>(host.Frame);
    frame->SetEwidarDataBase(m_db);
    frame->pnlTyp->SetValue(QStringLiteral("1")); // "ubezpieczeniowy"
    frame->pnlKodKraju->SetValue(QStringLiteral("DE"));
    frame->pnlNumer->SetValue(QStringLiteral("123456789"));
    frame->btnVIES->click();
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_TRUE(Messages->Last().Text.contains(QStringLiteral("numer podatkowy")));
    EXPECT_TRUE(vies.Requests.isEmpty());

    frame->pnlTyp->SetValue(QStringLiteral("0"));
    frame->btnVIES->click();
    ASSERT_EQ(Messages->Count(), 2);
    EXPECT_TRUE(Messages->Last().Text.startsWith(QStringLiteral("Numer VAT DE123456789 jest ważny"))) << Shown().toStdString();
    EXPECT_TRUE(Messages->Last().Text.contains(QStringLiteral("Numer konsultacji: WAPIAAAAY777")));
    std::vector<TRegisterCheck> checks;
    ASSERT_TRUE(RegisterChecks(m_db)->GetRegisterChecks(0, u"DE123456789", checks));
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_EQ(checks[0].Register, u"VIES");
    EXPECT_EQ(checks[0].Outcome, u"ważny");
    EXPECT_EQ(checks[0].RequestId, u"WAPIAAAAY777");
    FrameOpeners::SetViesCheckOpener({});
}

TEST_F(WhiteListEditorTest, AFailedAnswerIsShownAndNothingIsCopied) {
    auto subject = NewTaxpayer({});
    TPodmiotFrame* f = Open(subject, kPodatnik);
    f->Panel("pnlNIP2")->SetValue(kNip);
    Service.Limit = 0;
    f->btnWypelnijZWykazuVAT->click();
    std::vector<TRegisterCheck> checks;
    ASSERT_TRUE(RegisterChecks(m_db)->GetRegisterChecks(subject->GetID(), {}, checks));
    EXPECT_TRUE(checks.empty()); // a failed answer is no proof
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_TRUE(Messages->Last().Text.startsWith(QStringLiteral("Wyczerpano limit zapytań"))) << Shown().toStdString();
    EXPECT_TRUE(f->Panel("pnlNazwaFirmy")->Value().isEmpty());
    EXPECT_TRUE(Stored(subject->GetID(), &Accounts, {cDaneRachunkuNrRachunku.Symbol}).isEmpty());
}

// The list's one address line split into the fields; what is not recognised stays in the street.
TEST(WhiteListAddress, TheLineIsSplitIntoAddressFields) {
    const struct {
        const char* Line;
        const char* Fields; // street|house|flat|postal code|locality
    } cases[] = {
        {"PUŁAWSKA 15, 02-515 WARSZAWA", "PUŁAWSKA|15||02-515|WARSZAWA"},
        {"UL. DŁUGA 5 LOK. 7, 00-950 WARSZAWA", "DŁUGA|5|7|00-950|WARSZAWA"},
        {"ALEJA KRAKOWSKA 12A/3B, 05-090 SĘKOCIN STARY", "ALEJA KRAKOWSKA|12A|3B|05-090|SĘKOCIN STARY"},
        {"11 LISTOPADA 7 M. 2, 05-800 PRUSZKÓW", "11 LISTOPADA|7|2|05-800|PRUSZKÓW"},
        {"BEZ NUMERU, 00-001 WARSZAWA", "BEZ NUMERU|||00-001|WARSZAWA"},
        {"ADRES ZAGRANICZNY BERLIN", "ADRES ZAGRANICZNY BERLIN||||"},
    };
    for (const auto& c : cases) {
        const TWhiteListAddress a = SplitWhiteListAddress(QString::fromUtf8(c.Line));
        EXPECT_EQ(QStringList({a.Street, a.House, a.Flat, a.PostalCode, a.Locality}).join(u'|'),
                  QString::fromUtf8(c.Fields))
            << c.Line;
    }
}

} // namespace
