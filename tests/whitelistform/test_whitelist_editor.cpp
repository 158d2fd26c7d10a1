// The VAT white list buttons of the real subject editor over the fake service: filling a
// subject (round trip to the SQL backend), the question before overwriting, the check window
// with the subject's own accounts, and a failed answer that changes nothing.

#include "FakeWhiteListService.h"
#include "PodmiotFixture.h"
#include "TRadioButton.h"
#include "TestSupport.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarQuorDBSymbole.h"
#include "uQuorDataBaseDefs.h"
#include "uRegistry.h"
#include "uWhiteListForms.h"
#include "uWhiteListSettings.h"

#include <QTextBrowser>
#include <QToolButton>

namespace {

const QString kNip = QStringLiteral("5260250995");
const QString kListed = QStringLiteral("12105000997603123456789123");
const QString kListed2 = QStringLiteral("61109010140000071219812874");

class WhiteListEditorTest : public PodmiotTest {
protected:
    void SetUp() override {
        TestSupport::ClearSettings();
        PodmiotTest::SetUp();
        TFakeWhiteListEntry e;
        e.Name = QStringLiteral("PRZEDSIĘBIORSTWO PRÓBNE SPÓŁKA Z O.O.");
        e.Regon = QStringLiteral("012345675");
        e.Krs = QStringLiteral("0000123456");
        e.WorkingAddress = QStringLiteral("DŁUGA 5/7, 00-950 WARSZAWA");
        e.RegistrationLegalDate = QStringLiteral("2001-05-01");
        e.Accounts = {kListed, kListed2};
        Service.Subjects.insert(kNip, e);
        Registry::WriteString(QuorDataBaseDefs::EwidarKey, WhiteListSettings::ServiceAddressName,
                              Service.BaseAddress());
        PodmiotOpeners::SetWhiteListOpener([](QWidget* Owner, TPodmiotFrame* Frame, PodmiotOpeners::TWhiteListAction A) {
            if (A == PodmiotOpeners::TWhiteListAction::waCheck)
                WhiteListForms::CheckSubject(Owner, Frame);
            else
                WhiteListForms::FillSubject(Owner, Frame);
        });
    }
    void TearDown() override {
        PodmiotOpeners::SetWhiteListOpener({});
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
    EXPECT_TRUE(html.contains(QStringLiteral("Status:\nCzynny"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("Data rejestracji jako podatnika VAT:\n2001-05-01")));
    EXPECT_TRUE(html.contains(QStringLiteral("PL12 1050 0099 7603 1234 5678 9123\njest w wykazie")));
    EXPECT_TRUE(html.contains(QStringLiteral("PL27114020040000300201355387\nbrak w wykazie")));
    EXPECT_TRUE(html.contains(QStringLiteral("61 1090 1014 0000 0712 1981 2874")));
}

TEST_F(WhiteListEditorTest, AFailedAnswerIsShownAndNothingIsCopied) {
    auto subject = NewTaxpayer({});
    TPodmiotFrame* f = Open(subject, kPodatnik);
    f->Panel("pnlNIP2")->SetValue(kNip);
    Service.Limit = 0;
    f->btnWypelnijZWykazuVAT->click();
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_TRUE(Messages->Last().Text.startsWith(QStringLiteral("Wyczerpano limit zapytań"))) << Shown().toStdString();
    EXPECT_TRUE(f->Panel("pnlNazwaFirmy")->Value().isEmpty());
    EXPECT_TRUE(Stored(subject->GetID(), &Accounts, {cDaneRachunkuNrRachunku.Symbol}).isEmpty());
}

} // namespace
