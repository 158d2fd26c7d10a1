// Behaviour of single section frames over the real SQL backend: the social-insurance
// defaults, the identity document's description, the business address's descriptive
// field, context layouts, and the dictionary actions through the installed dictionaries.

#include "FrameKinds.h"
#include "TCheckBox.h"
#include "TEdit.h"
#include "TRadioButton.h"
#include "uDaneAdresoweDzialanosciFrame.h"
#include "uDaneAdresoweFrame.h"
#include "uDaneDokumentuTozsamosciFrame.h"
#include "uDaneNumerowIdentyfikacyjnychFrame.h"
#include "uDaneRachunkuFrame.h"
#include "uDaneReprezentantaFrame.h"
#include "uDaneSpolkiFrame.h"
#include "uDaneZUSFrame.h"
#include "uDataValidate.h"
#include "uFrameOpeners.h"

#include <QComboBox>
#include <QTest>

namespace {

// A dictionary module with the operations of the real one: it records what it was
// asked and answers with a prepared record.
struct TFakeRecord {
    QString KrajNazwa, KrajKod, Wojewodztwo, Powiat, Gmina, Miejscowosc, Ulica, USNazwa;
};
struct TFakeModule {
    void Kraj(QWidget*, const QString& KrajNazwa, TFakeRecord& Result) {
        Asked = QStringList{QStringLiteral("Kraj"), KrajNazwa};
        Result = Answer;
    }
    void Powiat(QWidget*, const QString& W, const QString& P, TFakeRecord& Result) {
        Asked = QStringList{QStringLiteral("Powiat"), W, P};
        Result = Answer;
    }
    void Gmina(QWidget*, const QString& W, const QString& P, const QString& G, TFakeRecord& Result) {
        Asked = QStringList{QStringLiteral("Gmina"), W, P, G};
        Result = Answer;
    }
    void Miejscowosc(QWidget*, const QString& W, const QString& P, const QString& G, const QString& M,
                     TFakeRecord& Result) {
        Asked = QStringList{QStringLiteral("Miejscowosc"), W, P, G, M};
        Result = Answer;
    }
    QString WojewodztwaCommaText() { return QStringLiteral("\"dolnośląskie\",\"mazowieckie\""); }

    TFakeRecord Answer;
    QStringList Asked;
};

class FrameBehaviourTest : public FramesTest {
protected:
    void SetUp() override {
        FramesTest::SetUp();
        FrameOpeners::InstallDictionaryModule(&Module);
    }
    void TearDown() override {
        FrameOpeners::SetDictionaries(nullptr);
        FramesTest::TearDown();
    }
    template <class T> T* OpenFrame(const char* Frame, TKontekst Kontekst = kPodatnik) {
        record = NewRecord(KindOf(Frame));
        return qobject_cast<T*>(Host(record, Kontekst));
    }
    static void Click(QAbstractButton* Button) {
        QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(6, Button->height() / 2));
    }

    TFakeModule Module;
    TIntfPtr<IEwidarRecord> record;
};

} // namespace

TEST_F(FrameBehaviourTest, NewSocialInsuranceOfficeShowsTheFourAccountNamesUnmodified) {
    auto* frame = OpenFrame<TDaneZUSFrame>("TDaneZUSFrame");
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->Panel7->Header()->CaptionLabel(),
              QStringLiteral("Rachunki bankowe zakładu ubezpieczeń społecznych"));
    const QStringList names = {frame->pnlNazwa1->Value(), frame->pnlNazwa2->Value(),
                               frame->pnlNazwa3->Value(), frame->pnlNazwa4->Value()};
    EXPECT_EQ(names, (QStringList{QStringLiteral("ubezpieczenie społeczne"),
                                  QStringLiteral("ubezpieczenie zdrowotne"), QStringLiteral("FP i FGŚP"),
                                  QStringLiteral("Fundusz Emerytur Pomostowych")}));
    EXPECT_FALSE(frame->pnlNazwa1->CaptionLabel() && frame->pnlNazwa1->CaptionLabel()->isVisible());
    EXPECT_FALSE(frame->Modified());
    EXPECT_TRUE(frame->Close()) << "closing asks nothing";
    EXPECT_EQ(Messages->Count(), 0);

    // A stored office keeps its own names.
    auto stored = NewRecord(KindOf("TDaneZUSFrame"));
    SetValue(stored.get(), cDaneZUSNazwaRachunku1.Symbol, QStringLiteral("własna"));
    ASSERT_TRUE(stored->Post());
    auto* again = qobject_cast<TDaneZUSFrame*>(Host(stored, kPodatnik));
    EXPECT_EQ(again->pnlNazwa1->Value(), QStringLiteral("własna"));
    EXPECT_EQ(again->pnlNazwa2->Value(), QString());
}

TEST_F(FrameBehaviourTest, IdentityDocumentDescriptionOpenForOtherDocumentOrWhileItHoldsText) {
    auto* frame = OpenFrame<TDaneDokumentuTozsamosciFrame>("TDaneDokumentuTozsamosciFrame");
    ASSERT_TRUE(frame && frame->pnlRodzaj->ComboBox());
    EXPECT_FALSE(frame->pnlRodzaj->ComboBox()->isEditable()) << "a list, no free text";
    EXPECT_EQ(frame->pnlRodzaj->ComboBox()->count(), 11);
    EXPECT_EQ(frame->pnlRodzaj->ComboBox()->itemText(10),
              QStringLiteral("inny dokument potwierdzający tożsamość"));
    frame->pnlRodzaj->SetValue(QStringLiteral("Dowod"));
    EXPECT_FALSE(frame->pnlRodzajInny->isEnabled());
    frame->pnlRodzaj->SetValue(QStringLiteral("InnyDokument"));
    EXPECT_TRUE(frame->pnlRodzajInny->isEnabled());
    frame->pnlRodzajInny->SetValue(QStringLiteral("legitymacja"));
    frame->pnlRodzaj->SetValue(QStringLiteral("Dowod"));
    EXPECT_TRUE(frame->pnlRodzajInny->isEnabled())
        << "a description that no longer fits can still be cleared";
    EXPECT_EQ(frame->pnlRodzajInny->Error(), uDataValidate::cErrIdentityDocument);
    frame->pnlRodzajInny->SetValue(QString());
    EXPECT_FALSE(frame->pnlRodzajInny->isEnabled());
    EXPECT_TRUE(frame->pnlRodzajInny->Error().Empty());

    // Shown read-only and back, the list stays a list.
    frame->SetReadOnly(true);
    frame->SetReadOnly(false);
    EXPECT_FALSE(frame->pnlRodzaj->ComboBox()->isEditable());
}

TEST_F(FrameBehaviourTest, IdentityDocumentOfAKindOutsideTheListKeepsItsKindThroughAPost) {
    auto document = NewRecord(KindOf("TDaneDokumentuTozsamosciFrame"));
    SetValue(document.get(), cDaneDokumentuTozsamosciRodzaj.Symbol, QStringLiteral("Legitymacja"));
    ASSERT_TRUE(document->Post());
    auto* frame = qobject_cast<TDaneDokumentuTozsamosciFrame*>(Host(document, kPodatnik));
    EXPECT_EQ(frame->pnlRodzaj->Value(), QStringLiteral("Legitymacja"));
    EXPECT_FALSE(frame->Modified());
    frame->pnlNumer->SetValue(QStringLiteral("123"));
    ASSERT_TRUE(frame->btnPostClick());
    EXPECT_EQ(Value(Reread(KindOf("TDaneDokumentuTozsamosciFrame"), document->GetID()).get(),
                    cDaneDokumentuTozsamosciRodzaj.Symbol),
              QStringLiteral("Legitymacja"));
}

TEST_F(FrameBehaviourTest, BusinessAddressDescriptionFollowsTheAdditionalPlaceBox) {
    auto* frame = OpenFrame<TDaneAdresoweDzialanosciFrame>("TDaneAdresoweDzialanosciFrame");
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->pnlAdresOpisowy->isHidden());
    auto* box = frame->pnlTypAdresu->findChild<TCheckBox*>(QStringLiteral("CheckBox2"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("Adres dodatkowego miejsca wykonywania działalności gospodarczej"));
    box->setChecked(true);
    EXPECT_FALSE(frame->pnlAdresOpisowy->isHidden());
    box->setChecked(false);
    EXPECT_TRUE(frame->pnlAdresOpisowy->isHidden());

    // A stored address with the box ticked opens with the field shown.
    SetValue(record.get(), cDaneAdresoweDzialanosciTypAdresu.Symbol, QStringLiteral("0,0,1"));
    auto* again = qobject_cast<TDaneAdresoweDzialanosciFrame*>(Host(record, kPodatnik));
    EXPECT_FALSE(again->pnlAdresOpisowy->isHidden());
}

TEST_F(FrameBehaviourTest, ContractorContextHidesWhatAContractorDoesNotHave) {
    auto* address = OpenFrame<TDaneAdresoweFrame>("TDaneAdresoweFrame", kKontrahent);
    EXPECT_TRUE(address->pnlBrakAdresuZameldowania->isHidden());
    EXPECT_TRUE(address->Bevel1->isHidden());
    address = OpenFrame<TDaneAdresoweFrame>("TDaneAdresoweFrame", kPracownik);
    EXPECT_FALSE(address->pnlBrakAdresuZameldowania->isHidden());

    auto* business = OpenFrame<TDaneAdresoweDzialanosciFrame>("TDaneAdresoweDzialanosciFrame", kKontrahent);
    for (QWidget* w : {static_cast<QWidget*>(business->pnlAdresDzialalnosciTakiSamJakZamieszkania),
                       static_cast<QWidget*>(business->pnlAdresDoreczeiTakiSamJakZamieszkania),
                       business->Bevel1, business->Bevel2})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();

    auto* rep = OpenFrame<TDaneReprezentantaFrame>("TDaneReprezentantaFrame", kKontrahent);
    EXPECT_TRUE(rep->pnlPosiadaUpowaznienie->isHidden());
    EXPECT_TRUE(rep->Bevel1->isHidden());
    rep = OpenFrame<TDaneReprezentantaFrame>("TDaneReprezentantaFrame", kPodatnik);
    EXPECT_FALSE(rep->pnlPosiadaUpowaznienie->isHidden());
}

TEST_F(FrameBehaviourTest, EmployeeAccountIsPersonalAndCannotBeChanged) {
    // A new account starts personal without counting as a change.
    auto* frame = OpenFrame<TDaneRachunkuFrame>("TDaneRachunkuFrame", kPracownik);
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->Osobisty->isChecked());
    EXPECT_FALSE(frame->Firmowy->isChecked());
    EXPECT_FALSE(frame->Osobisty->isEnabled());
    EXPECT_FALSE(frame->Firmowy->isEnabled());
    EXPECT_FALSE(frame->Modified());
    frame->SetReadOnly(false);
    EXPECT_FALSE(frame->Firmowy->isEnabled()) << "rebuilding the editors keeps the rule";

    // A stored company account opened for an employee becomes personal: a change to save.
    SetValue(record.get(), cDaneRachunkuCharakterRachunku.Symbol, QStringLiteral("0"));
    ASSERT_TRUE(record->Post()) << record->GetLastErrorCode();
    frame = qobject_cast<TDaneRachunkuFrame*>(Host(record, kPracownik));
    EXPECT_EQ(frame->pnlCharakterRachunku->Value(), QStringLiteral("1"));
    EXPECT_TRUE(frame->Modified());

    frame = qobject_cast<TDaneRachunkuFrame*>(Host(record, kPodatnik));
    EXPECT_TRUE(frame->Firmowy->isChecked());
    EXPECT_TRUE(frame->Firmowy->isEnabled());
}

TEST_F(FrameBehaviourTest, CountryCodeIsATwoLetterEditThatPicksOnlyTheCode) {
    auto* frame = OpenFrame<TDaneSpolkiFrame>("TDaneSpolkiFrame");
    TPanel* code = frame->pnlKrajNadaniaNumeru;
    ASSERT_TRUE(code->Edit());
    frame->SetReadOnly(true);
    frame->SetReadOnly(false);
    ASSERT_TRUE(code->Edit());
    EXPECT_EQ(code->Edit()->width(), 40);
    code->Edit()->setFocus();
    code->Edit()->clear();
    QTest::keyClicks(code->Edit(), QStringLiteral("DEU"));
    EXPECT_EQ(code->Value(), QStringLiteral("DE")) << "two letters typed at most";
    EXPECT_EQ(code->IconHint(), QStringLiteral("Tablica krajów (Shift + Enter)"));

    code->SetValue(QStringLiteral("PL"));
    Module.Answer = {QStringLiteral("Niemcy"), QString()};
    code->OnIconClick()(code);
    EXPECT_EQ(Module.Asked, (QStringList{QStringLiteral("Kraj"), QStringLiteral("PL")}));
    EXPECT_EQ(code->Value(), QStringLiteral("PL")) << "a result without a code leaves the code";
    Module.Answer = {QStringLiteral("Niemcy"), QStringLiteral("DE")};
    code->OnIconClick()(code);
    EXPECT_EQ(code->Value(), QStringLiteral("DE"));
    EXPECT_EQ(frame->pnlNazwa->Value(), QString()) << "only the code is written";
}

TEST_F(FrameBehaviourTest, AddressDictionariesWriteEveryNamedPanelAndLeaveTheRest) {
    auto* frame = OpenFrame<TDaneAdresoweFrame>("TDaneAdresoweFrame");
    const auto panel = [frame](const char* Name) {
        return frame->Panel(Name);
    };
    EXPECT_EQ(panel("pnlWojewodztwo")->ComboBoxItems(),
              (QStringList{QStringLiteral("dolnośląskie"), QStringLiteral("mazowieckie")}));
    const QList<QPair<const char*, QString>> icons = {
        {"pnlKraj", QStringLiteral("Tablica krajów")},
        {"pnlPowiat", QStringLiteral("Tablica powiatów")},
        {"pnlGmina", QStringLiteral("Tablica gmin")},
        {"pnlMiejscowosc", QStringLiteral("Tablica miejscowości")}};
    for (const auto& [name, hint] : icons) {
        EXPECT_FALSE(panel(name)->Icon().isNull()) << name;
        EXPECT_EQ(panel(name)->IconHint(), hint + QStringLiteral(" (Shift + Enter)")) << name;
    }
    panel("pnlWojewodztwo")->SetValue(QStringLiteral("mazowieckie"));
    panel("pnlPowiat")->SetValue(QStringLiteral("war"));
    panel("pnlGmina")->SetValue(QStringLiteral("Stara gmina"));
    panel("pnlUlica")->SetValue(QStringLiteral("Długa"));
    Module.Answer = {QStringLiteral("Polska"),
                     QStringLiteral("PL"),
                     QStringLiteral("mazowieckie"),
                     QStringLiteral("warszawski zachodni"),
                     QString(),
                     QStringLiteral("Ożarów")};
    panel("pnlMiejscowosc")->OnIconClick()(panel("pnlMiejscowosc"));
    EXPECT_EQ(Module.Asked, (QStringList{QStringLiteral("Miejscowosc"), QStringLiteral("mazowieckie"),
                                         QStringLiteral("war"), QStringLiteral("Stara gmina"), QString()}));
    EXPECT_EQ(panel("pnlKraj")->Value(), QStringLiteral("Polska"));
    EXPECT_EQ(panel("pnlPowiat")->Value(), QStringLiteral("warszawski zachodni"));
    EXPECT_EQ(panel("pnlGmina")->Value(), QStringLiteral("Stara gmina"))
        << "an empty result leaves its panel";
    EXPECT_EQ(panel("pnlMiejscowosc")->Value(), QStringLiteral("Ożarów"));
    EXPECT_EQ(panel("pnlUlica")->Value(), QStringLiteral("Długa"));

    Module.Answer = {};
    panel("pnlPowiat")->OnIconClick()(panel("pnlPowiat"));
    EXPECT_EQ(Module.Asked.value(0), QStringLiteral("Powiat"));
    EXPECT_EQ(panel("pnlPowiat")->Value(), QStringLiteral("warszawski zachodni"))
        << "nothing picked, nothing changed";
}

TEST_F(FrameBehaviourTest, IdentificationNumberPicksNameAndCodeFromEitherIcon) {
    auto* frame = OpenFrame<TDaneNumerowIdentyfikacyjnychFrame>("TDaneNumerowIdentyfikacyjnychFrame");
    EXPECT_EQ(frame->pnlTyp->GroupRadioButtons().size(), 2);
    EXPECT_EQ(frame->pnlTyp->GroupRadioButtons().value(1)->text(), QStringLiteral("ubezpieczeniowy"));
    frame->pnlKraj->SetValue(QStringLiteral("Fran"));
    Module.Answer = {QStringLiteral("Francja"), QStringLiteral("FR")};
    frame->pnlKodKraju->OnIconClick()(frame->pnlKodKraju);
    EXPECT_EQ(Module.Asked, (QStringList{QStringLiteral("Kraj"), QStringLiteral("Fran")}));
    EXPECT_EQ(frame->pnlKraj->Value(), QStringLiteral("Francja"));
    EXPECT_EQ(frame->pnlKodKraju->Value(), QStringLiteral("FR"));
}

TEST_F(FrameBehaviourTest, LongerStoredCountryCodeIsShownWholeAndMarked) {
    auto office = NewRecord(KindOf("TBiuroRachunkoweFrames"));
    SetValue(office.get(), cBiuroRachunkoweKodKrajuNadaniaNumeru.Symbol, QStringLiteral("POL"));
    TBaseFrame* frame = Host(office, kPodatnik);
    TPanel* code = static_cast<TSectionFrame*>(frame)->Panel("pnlKrajNadaniaNumeru");
    EXPECT_EQ(code->Value(), QStringLiteral("POL")) << "nothing cut on loading";
    EXPECT_FALSE(frame->Modified());
}
