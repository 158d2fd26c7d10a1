// Copying a result into the subject: panels, kind switch, and the activity address,
// activities and branches stored in one transaction of the real backend.

#include "BackendFixture.h"
#include "FakeRegonService.h"
#include "RegonData.h"
#include "RegonFormFixture.h"
#include "uEwidarComponents_Panel.h"
#include "uEwidarDrawGrid.h"
#include "uWyszukiwarkaRegonForm.h"

#include <QPushButton>
#include <QRadioButton>

using namespace FakeDoc;

namespace {

const QStringList kAddress{"cDaneAdresoweDzialanosciMiejscowosc", "cDaneAdresoweDzialanosciKodPocztowy",
                           "cDaneAdresoweDzialanosciAdresOpisowy", "cDaneAdresoweDzialanosciTypAdresu"};
const QStringList kPkd{"cRodzajDzialalnosciKodPKD", "cRodzajDzialalnosciOpisPKD"};
// The register writes provinces in capitals; the copy stores them as addresses spell them.
const QStringList kBranch{"cDaneOddzialuREGON", "cDaneOddzialuNazwa", "cDaneOddzialuUlica", "cDaneOddzialuWojewodztwo"};

} // namespace

TEST_F(RegonFormTest, NaturalPersonCopiesPanelsAddressActivitiesAndBranches) {
    Editor->Panel("pnlNrTelefonu")->SetValue(QStringLiteral("600100200")); // not filled by this case
    Search({}, RegonData::PersonNip);
    Form->btnPost->click();
    EXPECT_EQ(Messages->Count(), 0); // nothing the case fills was filled
    EXPECT_EQ(Form->result(), QDialog::Accepted);

    EXPECT_TRUE(Editor->RadioButton5->isChecked());
    EXPECT_EQ(Editor->Panel("pnlPierwszeImie")->Value(), "Jan");
    EXPECT_EQ(Editor->Panel("pnlNazwisko")->Value(), "Kowalski");
    EXPECT_EQ(Editor->Panel("pnlNIP")->Value(), RegonData::PersonNip);
    EXPECT_EQ(Editor->Panel("pnlREGON")->Value(), RegonData::PersonRegon);
    for (TPanel* same : Editor->findChildren<TPanel*>("pnlREGON")) {
        if (same != Editor->Panel("pnlREGON")) {
            EXPECT_TRUE(same->Value().isEmpty()); // another record's panel of the same name
        }
    }
    EXPECT_EQ(Editor->Panel("pnlNazwaFirmy")->Value(), "JAN KOWALSKI USŁUGI \"POD LIPĄ\"");
    EXPECT_EQ(Editor->Panel("pnlNrTelefonu")->Value(), "600100200");

    EXPECT_EQ(Stored("adresy", kAddress), QStringList{"Łódź|90001||1,0,0"});
    EXPECT_EQ(Stored("pkd", kPkd), (QStringList{"6201Z|Działalność związana z oprogramowaniem",
                                                "6920Z|Działalność rachunkowo-księgowa"}));
    EXPECT_EQ(Stored("oddzialy", kBranch), QStringList{QString(RegonData::PersonUnitRegon) + "|Sklep||łódzkie"});
    // Only the activity marked "1" is predominant, not the one marked "0".
    const TIntfPtr<IEwidarRecord> main = Supports<IPodmiot>(Subject)->GetRodzajPrzewazajacejDzialalnosci();
    ASSERT_TRUE(main);
    EXPECT_EQ(StoredValue(main.get(), "cRodzajDzialalnosciKodPKD"), "6920Z");
    ASSERT_TRUE(Editor->RodzajDzialalnosciFrame1->EwidarRecord());
    EXPECT_EQ(
        StoredValue(Editor->RodzajDzialalnosciFrame1->EwidarRecord().get(), "cRodzajDzialalnosciKodPKD"),
        "6920Z");
}

TEST_F(RegonFormTest, OverwriteQuestionOnlyOverFilledPanelsAndNoKeepsEverything) {
    Editor->Panel("pnlNazwaFirmy")->SetValue(QStringLiteral("Stara nazwa"));
    Search({}, RegonData::PersonNip);
    Messages->QueueButton(QStringLiteral("Nie"));
    Form->btnPost->click();
    ASSERT_EQ(Messages->Count(), 1);
    EXPECT_EQ(Messages->Last().Text, "Istniejące dane zostaną nadpisane.\r\nCzy skopiować mimo to?");
    EXPECT_NE(Form->result(), QDialog::Accepted);
    EXPECT_EQ(Editor->Panel("pnlNazwaFirmy")->Value(), "Stara nazwa");
    EXPECT_TRUE(Editor->Panel("pnlPierwszeImie")->Value().isEmpty());
    EXPECT_FALSE(Editor->RadioButton5->isChecked());
    EXPECT_TRUE(Stored("adresy", kAddress).isEmpty());
    EXPECT_TRUE(Stored("pkd", kPkd).isEmpty());

    // A date shown counts as filled too.
    Editor->Panel("pnlNazwaFirmy")->SetValue(QString());
    Editor->Panel("pnlDataRejestracji")->SetValue(QStringLiteral("2020-01-02"));
    ASSERT_EQ(Editor->Panel("pnlDataRejestracji")->Value(), "2020-01-02");
    Messages->QueueButton(QStringLiteral("Tak"));
    Form->btnPost->click();
    EXPECT_EQ(Messages->Count(), 2);
    EXPECT_EQ(Form->result(), QDialog::Accepted);
    EXPECT_EQ(Editor->Panel("pnlNazwaFirmy")->Value(), "JAN KOWALSKI USŁUGI \"POD LIPĄ\"");
    // An empty register value empties the panel: the date is no longer shown.
    EXPECT_TRUE(Editor->Panel("pnlDataRejestracji")->Value().startsWith('H'));
}

TEST_F(RegonFormTest, LegalPersonTakesCompanyNipAndOnlyMarkedActivityIsPredominant) {
    Editor->Panel("pnlNIP")->SetValue(QStringLiteral("1234563218")); // a person's NIP stays
    Search({}, {}, RegonData::LegalKrs);
    Form->btnPost->click();
    EXPECT_EQ(Messages->Count(), 0);
    EXPECT_TRUE(Editor->RadioButton6->isChecked());
    EXPECT_EQ(Editor->Panel("pnlNIP2")->Value(), "3333333333");
    EXPECT_EQ(Editor->Panel("pnlNIP")->Value(), "1234563218");
    EXPECT_EQ(Editor->Panel("pnlNrTelefonu")->Value(), "221234567");
    EXPECT_EQ(Editor->Panel("pnlAdresEMail")->Value(), "biuro@example.pl");
    EXPECT_EQ(Stored("pkd", kPkd).size(), 2);
    EXPECT_EQ(StoredValue(Supports<IPodmiot>(Subject)->GetRodzajPrzewazajacejDzialalnosci().get(),
                          "cRodzajDzialalnosciKodPKD"),
              "6920Z");
    EXPECT_EQ(Stored("oddzialy", kBranch),
              (QStringList{QString(RegonData::LegalUnitRegon) + "|Oddział|ul. Puławska|mazowieckie",
                           "55667788900035|Oddział|ul. Puławska|mazowieckie"}));
}

// The local units of either kind: REGON, name and register data, the activity address, no
// branches; a legal person's unit selects the legal-person switch.
TEST_F(RegonFormTest, LocalUnitsCopyWithoutBranchesUnderTheirOwnersKind) {
    struct TUnit {
        const char* Regon;
        const char* Organ;
        const char* City;
        bool Legal;
    };
    const QStringList personUnitActivities{"4719Z|Pozostała sprzedaż detaliczna",
                                           "4771Z|Sprzedaż detaliczna odzieży"};
    const QStringList legalUnitActivities{"6920Z|Działalność rachunkowo-księgowa"};
    for (const TUnit& u : {TUnit{RegonData::PersonUnitRegon, "MINISTER ROZWOJU", "Łódź", false},
                           TUnit{RegonData::LegalUnitRegon, "SĄD REJONOWY", "Warszawa", true}}) {
        SCOPED_TRACE(u.Regon);
        Subject = nullptr;
        NewEditor();
        Search(QLatin1String(u.Regon));
        Form->btnPost->click();
        EXPECT_EQ(Form->result(), QDialog::Accepted);
        EXPECT_EQ(Editor->RadioButton6->isChecked(), u.Legal);
        EXPECT_EQ(Editor->RadioButton5->isChecked(), !u.Legal);
        EXPECT_EQ(Editor->Panel("pnlREGON")->Value(), u.Regon);
        EXPECT_EQ(Editor->Panel("pnlNazwaOrganuProwadzacegoEwidencje")->Value(), QString::fromUtf8(u.Organ));
        EXPECT_TRUE(Editor->Panel("pnlNIP")->Value().isEmpty());
        EXPECT_EQ(Stored("adresy", kAddress), QStringList{QString::fromUtf8(u.City) + "|||1,0,0"});
        EXPECT_TRUE(Stored("oddzialy", kBranch).isEmpty());
        // The unit's own activities, the one marked "1" predominant.
        EXPECT_EQ(Stored("pkd", kPkd), u.Legal ? legalUnitActivities : personUnitActivities);
        const TIntfPtr<IEwidarRecord> main = Supports<IPodmiot>(Subject)->GetRodzajPrzewazajacejDzialalnosci();
        ASSERT_TRUE(main);
        EXPECT_EQ(StoredValue(main.get(), "cRodzajDzialalnosciKodPKD"), u.Legal ? "6920Z" : "4771Z");
    }
}

// A local unit removed from the register or whose activity ended shows its date in the grid,
// is named in the status line and is not copied as a branch; the active one is.
TEST_F(RegonFormTest, EndedLocalUnitsAreShownDatedAndNotCopied) {
    QString& legal = Service.Reports["556677889|PublDaneRaportPrawna"];
    legal.replace(QStringLiteral("\"lokpraw_dataSkresleniazRegon\":\"\"}"),
                  QStringLiteral("\"lokpraw_dataSkresleniazRegon\":\"\",\"lokpraw_dataZakonczeniaDzialalnosci\":"
                                 "\"2020-06-30\"}"));
    ASSERT_TRUE(legal.contains("2020-06-30"));
    Search({}, {}, RegonData::LegalKrs);
    ASSERT_EQ(Form->DrawGrid2->RowCount(), 3);
    EXPECT_EQ(Form->DrawGrid2->Cells(7, 1), "");
    EXPECT_EQ(Form->DrawGrid2->Cells(7, 2), "2020-06-30");
    EXPECT_TRUE(Form->lblTextStatus->text().contains("(1)")) << Form->lblTextStatus->text().toStdString();
    EXPECT_FALSE(Form->Panel5->isHidden());
    Form->btnPost->click();
    EXPECT_EQ(Form->result(), QDialog::Accepted);
    EXPECT_EQ(Stored("oddzialy", kBranch), QStringList{QString(RegonData::LegalUnitRegon) + "|Oddział|ul. Puławska|mazowieckie"});
}

TEST_F(RegonFormTest, NonTypicalLocationGivesAddressType101) {
    Service.Searches["7777777777"] =
        Array({Object({{"praw_regon9", "111111111"},
                       {"praw_nazwa", "Spółka"},
                       {"praw_adSiedzNazwaMiejscowosci", "Gdańsk"},
                       {"praw_adSiedzNietypoweMiejsceLokalizacji", "Nabrzeże 3"}})});
    Search({}, QStringLiteral("7777777777"));
    Form->btnPost->click();
    EXPECT_EQ(Stored("adresy", kAddress), QStringList{"Gdańsk||Nabrzeże 3|1,0,1"});
}

TEST_F(RegonFormTest, SecondCopyAddsNoDuplicates) {
    Search({}, RegonData::PersonNip);
    Form->btnPost->click();
    Search({}, RegonData::PersonNip);
    Messages->QueueButton(QStringLiteral("Tak"));
    Form->btnPost->click();
    EXPECT_EQ(Messages->Count(), 1);
    EXPECT_EQ(Stored("adresy", kAddress).size(), 1);
    EXPECT_EQ(Stored("pkd", kPkd).size(), 2);
    EXPECT_EQ(Stored("oddzialy", kBranch).size(), 1);
}

// The subject is deleted (inside the copy's transaction) once the activity address has been
// stored, so the first activity is refused: its code is shown, nothing of the copy is stored
// and the window stays open.
TEST_F(RegonFormTest, RefusedRecordShowsItsCodeAndStoresNothing) {
    ASSERT_TRUE(Subject->Post()) << Subject->GetLastErrorCode();
    const QVariant before = RawScalar(m_path, QStringLiteral("SELECT COUNT(*) FROM ew_record"));
    Search({}, RegonData::PersonNip);
    const TIntfPtr<IAdresyDzialalnosci> watched = Supports<IPodmiot>(Subject)->GetAdresyDzialalnosci();
    bool deleted = false;
    watched->SetOnChange([&](IInterface*) {
        if (!deleted)
            deleted = Subject->Delete();
    });
    Form->btnPost->click();
    watched->SetOnChange({});
    ASSERT_TRUE(deleted);
    ASSERT_EQ(Messages->Count(), 1);
    // The refused record's own code, not a failed commit.
    EXPECT_EQ(Messages->Last().Text, "Dane zostały usunięte.");
    EXPECT_NE(Form->result(), QDialog::Accepted);
    EXPECT_EQ(RawScalar(m_path, QStringLiteral("SELECT COUNT(*) FROM ew_record")), before);
    EXPECT_EQ(Stored("adresy", kAddress).size(), 0);
    EXPECT_TRUE(Subject->Refresh()); // the deletion was rolled back with the rest
}
