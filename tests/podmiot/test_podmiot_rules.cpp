// The subject editor's layout, context table and rules over the real backend.

#include "PodmiotFixture.h"
#include "TCheckBox.h"
#include "TEdit.h"
#include "TestSupport.h"
#include "TRadioButton.h"
#include "uCollectionBaseFrame.h"
#include "uDataValidate.h"
#include "uDynamicFieldsFrame.h"
#include "uEditingOpeners.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uFrameOpeners.h"
#include "uPodmiotFrameParts.h"
#include "uPodmiotyForm.h"

#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

bool TabShown(TPodmiotFrame* F, const char* Name) {
    return F->PageControl1->isTabVisible(F->PageControl1->indexOf(F->Tab(Name)));
}

} // namespace

TEST_F(PodmiotTest, EveryDeclaredPanelIsBoundAndShowsTheStoredValue) {
    QList<std::pair<QString, QString>> values;
    for (const PodmiotParts::TFieldRow* row : PodmiotParts::AllRows())
        if (row->Field->FieldType == ctEdit)
            values.append({row->Field->Symbol, QStringLiteral("v-") + QLatin1String(row->Name)});
    auto taxpayer = NewTaxpayer(values);
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
    for (const PodmiotParts::TFieldRow* row : PodmiotParts::AllRows()) {
        TPanel* panel = f->Panel(row->Name);
        ASSERT_TRUE(panel) << row->Name;
        ASSERT_TRUE(panel->DataField()) << row->Name;
        EXPECT_EQ(QString::fromStdU16String(panel->DataField()->GetSymbol()), row->Field->Symbol)
            << row->Name;
        if (row->Field->FieldType == ctEdit) { // a longer country code is shown whole and marked
            EXPECT_EQ(panel->Value(), QStringLiteral("v-") + QLatin1String(row->Name)) << row->Name;
            if (row->Rule == &uDataValidate::ValidateCountryCode) {
                EXPECT_EQ(panel->Error(), uDataValidate::cErrCountryCode) << row->Name;
            }
        }
    }
    EXPECT_EQ(f->PageControl1->count(), 13);
    EXPECT_FALSE(f->Modified());
    for (int office = 1; office <= 2; ++office)
        EXPECT_EQ(f->AccountPanels(office).size(), 8);
    EXPECT_EQ(f->DynamicFieldsFrame1->parentWidget(), f->Panel("pnlDynamicField"));
}

// Which tabs each context shows (the registry tabs follow the record's kind).
TEST_F(PodmiotTest, TabsFollowTheContextAndTheKind) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    auto employee = NewEmployee(taxpayer.get(), QStringLiteral("Kowal"));
    struct TCase {
        TKontekst Kontekst;
        bool Employee;
        QList<const char*> ShownTabs, HiddenTabs;
    };
    const TCase cases[] = {
        {kPodatnik,
         false,
         {"TabSheet1", "TabSheet3", "TabSheet4", "TabSheet5", "TabSheet6", "TabSheet8", "TabSheet11",
          "TabSheet12"},
         {"TabSheet13"}},
        {kPracownik,
         true,
         {"TabSheet1", "TabSheet4", "TabSheet9", "TabSheet13"},
         {"TabSheet3", "TabSheet5", "TabSheet6", "TabSheet8", "TabSheet11", "TabSheet12"}},
        {kKontrahent,
         true,
         {"TabSheet1", "TabSheet3", "TabSheet8", "TabSheet13"},
         {"TabSheet4", "TabSheet5", "TabSheet6", "TabSheet11", "TabSheet12"}},
    };
    for (const TCase& c : cases) {
        TPodmiotFrame* f = Open(c.Employee ? employee : taxpayer, c.Kontekst);
        for (const char* tab : c.ShownTabs)
            EXPECT_TRUE(TabShown(f, tab)) << int(c.Kontekst) << " " << tab;
        for (const char* tab : c.HiddenTabs)
            EXPECT_FALSE(TabShown(f, tab)) << int(c.Kontekst) << " " << tab;
        EXPECT_EQ(f->btnSearchRregonGUS->isHidden(), c.Kontekst == kPracownik);
        EXPECT_EQ(f->Panel("pnlRabatPanel")->isHidden(), c.Kontekst != kKontrahent);
        EXPECT_EQ(f->Panel("pnlStanowisko")->isHidden(), c.Kontekst != kPracownik);
        EXPECT_EQ(f->Panel("pnlImieOjca")->isHidden(), c.Kontekst == kKontrahent);
        // The active strip only for a person reached through a taxpayer.
        EXPECT_EQ(f->Panel4->isHidden(), !c.Employee);
    }
}

TEST_F(PodmiotTest, ActiveEmployeeMarkedLegalPersonIsFlaggedUntilUnticked) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    auto employee = NewEmployee(taxpayer.get(), QStringLiteral("Kowal"));
    TPodmiotFrame* f = Open(employee, kPracownik);
    ASSERT_TRUE(f->chkAktywny->isChecked());
    EXPECT_EQ(f->chkAktywny->text(), QStringLiteral("Pracownik aktywny"));
    Check(f, 6);
    EXPECT_EQ(f->Panel("pnlDaneOsoby")->Error().ErrMsg,
              QStringLiteral("Zaznaczono \"osoba prawna\" dla pracownika - popraw zaznaczenie."));
    Click(f->chkAktywny);
    EXPECT_NE(f->Panel("pnlDaneOsoby")->Error().ErrMsg,
              QStringLiteral("Zaznaczono \"osoba prawna\" dla pracownika - popraw zaznaczenie."));
    // The flag counts as a change and is stored by the post.
    Check(f, 5);
    EXPECT_TRUE(f->Modified());
    ASSERT_TRUE(f->PostPodmiot()) << Shown().toStdString();
    auto list = Supports<IPodatnik>(taxpayer)->GetPracownicy(0, 0);
    for (int32_t i = 0; i < list->GetCount(); ++i) {
        if (auto item = list->GetItem(i); item->GetID() == employee->GetID()) {
            EXPECT_FALSE(Supports<IPracownik>(item)->GetAktywny());
        }
    }
}

TEST_F(PodmiotTest, LegalPersonWithTaxCardIsFlaggedAndTheBoxDisablesOnceUnticked) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuOsobaFizycznaOsobaPrawna.Symbol, QStringLiteral("1")},
                                 {cDanePodmiotuFormaOplacaniaPodatku.Symbol, QStringLiteral("0,0,0,1,0")}});
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
    ASSERT_TRUE(f->CheckBox[8]->isChecked()) << f->Panel("pnlFormaOplacaniaPodatku")->Value().toStdString();
    EXPECT_EQ(f->Panel("pnlFormaOplacaniaPodatku")->Error().ErrMsg,
              QStringLiteral("Zaznaczono nieprawidłową formę opłacania podatku dochodowego."));
    EXPECT_TRUE(f->CheckBox[8]->isEnabled());
    EXPECT_FALSE(f->CheckBox[5]->isEnabled());
    EXPECT_TRUE(f->CheckBox[9]->isEnabled());
    Click(f->CheckBox[8]);
    EXPECT_FALSE(f->CheckBox[8]->isEnabled());
    EXPECT_TRUE(f->Panel("pnlFormaOplacaniaPodatku")->Error().ErrMsg.isEmpty());
    // Natural-person switches follow: disabled for a legal person.
    EXPECT_FALSE(f->RadioButton[7]->isEnabled());
    Check(f, 5);
    EXPECT_TRUE(f->RadioButton[7]->isEnabled());
    EXPECT_FALSE(f->RadioButton[9]->isEnabled());
    Check(f, 8);
    EXPECT_TRUE(f->RadioButton[9]->isEnabled());
    Check(f, 9);
    // Back to "not self-employed" with "entrepreneur" still checked: rule B flags it.
    Check(f, 7);
    EXPECT_FALSE(f->Panel("pnlDaneOsobyProwadzacejDzialalnoscSamodzielnie")->Error().ErrMsg.isEmpty());
    EXPECT_TRUE(f->RadioButton[9]->isEnabled()); // checked: stays changeable
    EXPECT_FALSE(f->RadioButton[10]->isEnabled());
}

TEST_F(PodmiotTest, TaxOfficeRolesBelongToOneOfficeAndFilledDataNeedsARole) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwaUS2.Symbol, QStringLiteral("US Kraków")}});
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
    const QString error = QStringLiteral(
        "Podano dane urzędu skarbowego a nie określono dla nich właściwości naczelnika urzędu skarbowego - "
        "należy zaznaczyć przełącznik(-i) bezpośrednio nad tymi danymi.");
    EXPECT_EQ(f->Panel("pnlNazwaUS2")->Error().ErrMsg, error);
    EXPECT_TRUE(f->Panel("pnlNazwaUS2")->isEnabled());
    EXPECT_FALSE(f->Panel("pnlNaczelnikUS2")->isEnabled());
    EXPECT_FALSE(f->Panel("pnlNazwaUS1")->isEnabled());
    Click(f->CheckBox[1]);
    EXPECT_FALSE(f->CheckBox[3]->isEnabled());
    EXPECT_TRUE(f->CheckBox[4]->isEnabled());
    EXPECT_TRUE(f->Panel("pnlNazwaUS1")->isEnabled());
    EXPECT_FALSE(f->Panel("pnlNazwaUS1")->Icon().isNull());
    EXPECT_TRUE(f->Panel("pnlNazwaUS1")->IconHint().startsWith(QStringLiteral("Tablica urzędów skarbowych")));
    Click(f->CheckBox[4]);
    EXPECT_TRUE(f->Panel("pnlNazwaUS2")->Error().ErrMsg.isEmpty());
    EXPECT_FALSE(f->CheckBox[2]->isEnabled());
    Click(f->CheckBox[1]);
    EXPECT_TRUE(f->CheckBox[3]->isEnabled());
    EXPECT_TRUE(f->Panel("pnlNazwaUS1")->Icon().isNull());
}

TEST_F(PodmiotTest, TaxpayerCannotTakeItselfAsItsEmployee) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    auto other = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Zięba")}});
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
    TIntfPtr<IEwidarRecord> pick = taxpayer;
    FrameOpeners::SetSubjectChooser([&pick](QWidget*, IEwidarDataBase*) { return pick; });
    f->List("PracownicyCollection")->btnList->click();
    EXPECT_EQ(Shown(), QStringLiteral("Nie można podpiąć samego siebie."));
    EXPECT_EQ(Supports<IPodatnik>(taxpayer)->GetPracownicy(0, 0)->GetCount(), 0);
    pick = other;
    f->List("KontrahenciCollection")->btnList->click();
    EXPECT_EQ(Messages->Count(), 1);
    EXPECT_EQ(Supports<IPodatnik>(taxpayer)->GetKontrahenci(0, 0)->GetCount(), 1);
    EXPECT_EQ(Supports<IPodatnik>(taxpayer)->GetPracownicy(0, 0)->GetCount(), 0);
}

// "Wybierz z Listy" picks a person in the subject chooser, whose list of all subjects
// offers no adding or deleting.
TEST_F(PodmiotTest, PickingAPersonFromTheListOpensTheReadOnlySubjectChooser) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    auto other = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Zięba")}});
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
    FrameOpeners::SetSubjectChooser(&ChooseSubject);
    bool readOnly = false;
    TestSupport::WhenModal<TPodmiotyForm>([&](TPodmiotyForm* form) {
        TCollectionBaseFrame* all = form->PodmiotyCollection;
        readOnly = all->Panel3->isHidden() && !all->btnDelete->isVisible() && !all->btnAdd->isVisible();
        for (int row = all->DrawGrid1->FixedRows(); row < all->DrawGrid1->RowCount(); ++row)
            if (all->DrawGrid1->EwidarRecord(row)->GetID() == other->GetID())
                all->DrawGrid1->SetRow(row);
        form->btnAccept->click();
    });
    f->List("PracownicyCollection")->btnList->click();
    EXPECT_TRUE(readOnly);
    auto employees = Supports<IPodatnik>(taxpayer)->GetPracownicy(0, 0);
    ASSERT_EQ(employees->GetCount(), 1);
    EXPECT_EQ(employees->GetItem(0)->GetID(), other->GetID());
}

// The register search gets this frame; a country pick writes the code, a cancelled one nothing.
TEST_F(PodmiotTest, RegisterSearchAndCountryPickReachTheirWindows) {
    auto taxpayer = NewTaxpayer({{cDanePodmiotuNazwisko.Symbol, QStringLiteral("Nowak")}});
    TPodmiotFrame* f = Open(taxpayer, kPodatnik);
    TPodmiotFrame* searched = nullptr;
    PodmiotOpeners::SetRegonSearchOpener([&searched](QWidget*, TPodmiotFrame* Frame) { searched = Frame; });
    f->btnSearchRregonGUS->click();
    PodmiotOpeners::SetRegonSearchOpener({});
    EXPECT_EQ(searched, f);
    QString code = QStringLiteral("DE");
    TDictionaryModule::SetDictionaryFormOpener(
        [&code](QWidget*, const TDictionaryRecord&, TDictionaryType Type, TDictionaryRecord& Result) {
            EXPECT_EQ(Type, dtKraje);
            Result.KrajKod = code;
        });
    TPanel* country = f->Panel("pnlKrajNadaniaNumeru2");
    country->OnIconClick()(country);
    EXPECT_EQ(country->Value(), QStringLiteral("DE"));
    code.clear();
    country->OnIconClick()(country);
    EXPECT_EQ(country->Value(), QStringLiteral("DE"));
    EXPECT_TRUE(f->Modified());
}
