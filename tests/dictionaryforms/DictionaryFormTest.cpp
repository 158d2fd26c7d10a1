// The dictionary window over small tables: matching, select then filter mode, the
// province rule, the tax-office row-to-index list, cancel paths, navigation keys and
// the filter timer.

#include "FakeMessagePresenter.h"
#include "TEdit.h"
#include "TestSupport.h"
#include "uDictionaryForm.h"
#include "uDictionaryModule.h"
#include "uDictionaryTables.h"
#include "uEwidarDrawGrid.h"
#include "uInstallWindows.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct TMatchCase {
    const char* Filter;
    const char* Value;
    TShowDataMode Mode;
    bool Expected;
};

TEST(DictionaryFilterTest, SpacesAndLetterCaseAreIgnored) {
    const TMatchCase cases[] = {
        {"nowawieś", "Nowa Wieś", sdmFilter, true},
        {"nowa wieś", "Nowa Wieś", sdmSelect, true},
        {"NOWAWIEŚ", "Nowa  Wieś", sdmSelect, true},
        {"wieś", "Nowa Wieś", sdmFilter, true},
        {"wieś", "Nowa Wieś", sdmSelect, false}, // select mode wants the whole value
        {"wies", "Nowa Wieś", sdmFilter, false}, // diacritics are letters, not decoration
        {"łódź", "ŁÓDŹ", sdmSelect, true},
        {"", "Cokolwiek", sdmSelect, true}, // no filter given
        {"x", "", sdmFilter, false},
    };
    for (const TMatchCase& c : cases)
        EXPECT_EQ(
            TDictionaryFilterText(QString::fromUtf8(c.Filter), c.Mode).Matches(QString::fromUtf8(c.Value)),
            c.Expected)
            << c.Filter << " / " << c.Value << " / mode " << c.Mode;
}

TEST(DictionaryFilterTest, AWholeProvinceNameFiltersByEquality) {
    const QStringList provinces = {QStringLiteral("kujawsko-pomorskie"), QStringLiteral("pomorskie"),
                                   QStringLiteral("zachodniopomorskie")};
    const TDictionaryFilterText whole = ProvinceFilter(QStringLiteral("Pomorskie"), sdmFilter, provinces);
    EXPECT_TRUE(whole.Matches(QStringLiteral("pomorskie")));
    EXPECT_FALSE(whole.Matches(QStringLiteral("kujawsko-pomorskie")));
    EXPECT_FALSE(whole.Matches(QStringLiteral("zachodniopomorskie")));
    // A part of a name still finds every province containing it.
    const TDictionaryFilterText part = ProvinceFilter(QStringLiteral("pomor"), sdmFilter, provinces);
    EXPECT_TRUE(part.Matches(QStringLiteral("kujawsko-pomorskie")));
    EXPECT_TRUE(part.Matches(QStringLiteral("zachodniopomorskie")));
}

class DictionaryFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDictionaryTables();
        TDictionaryTables& t = DictionaryTables();
        t.Kraje = {{"DE", "Niemcy"}, {"PL", "Polska"}};
        t.Wojewodztwa = {{"04", "kujawsko-pomorskie"}, {"22", "pomorskie"}, {"14", "mazowieckie"}};
        t.Powiaty = {{"0401", "aleksandrowski", "kujawsko-pomorskie"},
                     {"0402", "brodnicki", "kujawsko-pomorskie"},
                     {"2201", "bytowski", "pomorskie"},
                     {"2202", "chojnicki", "pomorskie"},
                     {"2203", "człuchowski", "pomorskie"},
                     {"1401", "białobrzeski", "mazowieckie"}};
        t.Miejscowosci = {{"pomorskie", "bytowski", "Bytów", "Bytów"},
                          {"mazowieckie", "białobrzeski", "Promna", "Nowa Wieś"},
                          {"pomorskie", "chojnicki", "Chojnice", "Nowawieś Chojnicka"},
                          {"mazowieckie", "białobrzeski", "Stara Błotnica", "Stara Błotnica"}};
        t.UrzedySkarbowe = {
            {"Urząd Skarbowy w Bytowie", "Anna Nowak", "ul. Wojska Polskiego 1", "PIT-B", "", "CIT-B",
             "VAT-B", "", "", "DOCH-B", "IND-B", "", "2201"},
            {"Urząd Skarbowy w Chojnicach", "Jan Kowalski", "ul. Kościuszki 2", "PIT-C", "STD-C", "CIT-C",
             "VAT-C", "UE-C", "VIU-C", "DOCH-C", "IND-C", "", "2202"},
        };
        MarkAllTablesLoaded();
        TestSupport::ClearSettings();
    }
    void TearDown() override { ResetDictionaryTables(); }

    // Types Polish text into a box (keyClicks cannot) and lets the filter timer fire.
    // Types, then waits until the window's filter timer has fired and the list is refilled
    // (however slow the machine), with a pause first for the timer to start.
    static void TypeAndWait(QLineEdit* Box, const QString& Text) {
        Box->insert(Text);
        QTest::qWait(50);
        auto* form = qobject_cast<TDictionaryForm*>(Box->window());
        if (form) {
            EXPECT_TRUE(QTest::qWaitFor([form] { return !form->tmrFilter->isActive(); }, 10000));
        }
        QTest::qWait(50);
    }
    // Acts on the next dictionary window once its first filling is over (the filling
    // lets timers run while it paints its caption, so the action waits for it to return).
    static void WhenFilled(std::function<void(TDictionaryForm*)> Action) {
        TestSupport::WhenModal([Action](QWidget* w) {
            auto* form = qobject_cast<TDictionaryForm*>(w);
            ASSERT_NE(form, nullptr);
            QTimer::singleShot(100, form, [form, Action] { Action(form); });
        });
    }
    static QStringList Column(const TDictionaryForm& Form, int Col) {
        QStringList cells;
        for (int r = 1; r < Form.DrawGrid1->RowCount(); ++r)
            cells.append(Form.DrawGrid1->Cells(Col, r));
        return cells;
    }
};

TEST_F(DictionaryFormTest, CountiesOpenOnTheEqualRowThenFilterWithinTheProvince) {
    TDictionaryForm form(nullptr, dtPowiaty);
    TDictionaryRecord input;
    input.Wojewodztwo = QStringLiteral("POMORSKIE");
    input.Powiat = QStringLiteral("Chojnicki");
    form.SetInput(input);
    form.FormActivate();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tablica powiatów"));
    EXPECT_EQ(form.DataRowCount(), 6); // select mode: every county shown
    EXPECT_EQ(form.Label6->text(), QStringLiteral("Liczba rekordów: 6"));
    EXPECT_EQ(form.DrawGrid1->Cells(1, form.DrawGrid1->Row()), QStringLiteral("chojnicki"));
    EXPECT_EQ(form.ShowDataMode(), sdmFilter);
    EXPECT_FALSE(form.edtGmina->isVisibleTo(&form));
    EXPECT_FALSE(form.pnlKraj->isVisibleTo(&form));

    form.edtPowiat->clear();
    TypeAndWait(form.edtPowiat, QStringLiteral("ski"));
    // "pomorskie" is a whole province name: kujawsko-pomorskie's "aleksandrowski" stays out.
    EXPECT_EQ(Column(form, 1), QStringList({"bytowski", "człuchowski"}));
    TDictionaryRecord record;
    ASSERT_TRUE(form.GetCurrentRecord(record));
    EXPECT_EQ(record.KrajNazwa, QStringLiteral("Polska"));
    EXPECT_EQ(record.KrajKod, QStringLiteral("PL"));
    EXPECT_EQ(record.Wojewodztwo, QStringLiteral("pomorskie"));
    EXPECT_EQ(record.Powiat, QStringLiteral("bytowski"));
}

TEST_F(DictionaryFormTest, LocalityWordsRunTogetherInLowerCaseFindTheSpacedName) {
    TDictionaryForm form(nullptr, dtMiejscowosci);
    form.SetInput(TDictionaryRecord());
    form.FormActivate();
    EXPECT_EQ(form.DataRowCount(), 4);
    TypeAndWait(form.edtMiejscowosc, QStringLiteral("nowawieś"));
    EXPECT_EQ(Column(form, 3), QStringList({"Nowa Wieś", "Nowawieś Chojnicka"}));
    TypeAndWait(form.edtGmina, QStringLiteral("prom"));
    EXPECT_EQ(Column(form, 3), QStringList({"Nowa Wieś"}));
    TDictionaryRecord record;
    ASSERT_TRUE(form.GetCurrentRecord(record));
    EXPECT_EQ(record.Gmina, QStringLiteral("Promna"));
    EXPECT_EQ(record.Powiat, QStringLiteral("białobrzeski"));
}

TEST_F(DictionaryFormTest, NoMatchShowsOneEmptyRowWhoseChoiceIsACancel) {
    TDictionaryForm form(nullptr, dtKraje);
    form.SetInput(TDictionaryRecord());
    form.FormActivate();
    TypeAndWait(form.edtFiltr, QStringLiteral("zzz"));
    EXPECT_EQ(form.DataRowCount(), 0);
    EXPECT_EQ(form.DrawGrid1->RowCount(), 2);
    EXPECT_EQ(form.Label6->text(), QStringLiteral("Liczba rekordów: 0"));
    TDictionaryRecord record;
    record.KrajNazwa = QStringLiteral("stale");
    EXPECT_FALSE(form.GetCurrentRecord(record));
    EXPECT_TRUE(record.IsEmpty());
}

TEST_F(DictionaryFormTest, AcceptedRowFillsTheResultEscapeAndAnulujLeaveItCleared) {
    TDictionaryRecord input;
    input.KrajNazwa = QStringLiteral("polska");
    TDictionaryRecord result;
    WhenFilled([](TDictionaryForm* form) {
        EXPECT_EQ(form->width(), 500);
        form->btnPost->click();
    });
    ShowDictionaryForm(nullptr, input, dtKraje, result);
    EXPECT_EQ(result.KrajNazwa, QStringLiteral("Polska"));
    EXPECT_EQ(result.KrajKod, QStringLiteral("PL"));

    for (bool escape : {true, false}) {
        TDictionaryRecord cancelled;
        WhenFilled([escape](TDictionaryForm* form) {
            EXPECT_GE(form->DrawGrid1->Row(), 1); // a row is selected
            if (escape)
                QTest::keyClick(form->edtFiltr, Qt::Key_Escape);
            else
                form->btnClose->click();
        });
        ShowDictionaryForm(nullptr, input, dtKraje, cancelled);
        EXPECT_TRUE(cancelled.IsEmpty()) << "escape " << escape;
    }
}

TEST_F(DictionaryFormTest, EmptyTableOpensNoWindowAndSaysHowToInstall) {
    DictionaryTables().Miejscowosci.clear();
    FakeMessagePresenter presenter;
    TDictionaryRecord result;
    ShowDictionaryForm(nullptr, TDictionaryRecord(), dtMiejscowosci, result);
    EXPECT_TRUE(result.IsEmpty());
    ASSERT_EQ(presenter.Count(), 1);
    EXPECT_TRUE(presenter.Last().Text.contains(QStringLiteral("Kwadrel2015Import")));
}

TEST_F(DictionaryFormTest, TaxOfficeChosenAfterFilteringReturnsItsOwnAccounts) {
    TDictionaryForm form(nullptr, dtUS);
    form.SetInput(TDictionaryRecord());
    form.FormActivate();
    TypeAndWait(form.edtFiltr, QStringLiteral("kościuszki"));
    ASSERT_EQ(form.DataRowCount(), 1);
    TDictionaryRecord record;
    ASSERT_TRUE(form.GetCurrentRecord(record));
    EXPECT_EQ(record.USNazwa, QStringLiteral("Urząd Skarbowy w Chojnicach"));
    EXPECT_EQ(record.USNaczelnik, QStringLiteral("Jan Kowalski"));
    const QStringList accounts = {record.USRachPit,   record.USRachPitStd, record.USRachCit,
                                  record.USRachVat,   record.USRachVatUe,  record.USRachViuVin,
                                  record.USRachDoch1, record.USRachInD};
    EXPECT_EQ(accounts,
              QStringList({"PIT-C", "STD-C", "CIT-C", "VAT-C", "UE-C", "VIU-C", "DOCH-C", "IND-C"}));
    EXPECT_TRUE(record.USKonto.isEmpty());
}

TEST_F(DictionaryFormTest, TaxOfficesShowTheirCodeFirstAndFilterByIt) {
    TDictionaryForm form(nullptr, dtUS);
    form.SetInput(TDictionaryRecord());
    form.FormActivate();
    EXPECT_EQ(form.DrawGrid1->Cells(0, 0), QStringLiteral("Kod"));
    EXPECT_EQ(Column(form, 0), (QStringList{"2201", "2202"}));
    TypeAndWait(form.edtFiltr, QStringLiteral("2202"));
    ASSERT_EQ(form.DataRowCount(), 1);
    EXPECT_EQ(form.DrawGrid1->Cells(1, 1), QStringLiteral("Urząd Skarbowy w Chojnicach"));
}

TEST_F(DictionaryFormTest, NavigationKeysMoveTheGridAndKeepTheCaret) {
    TDictionaryForm form(nullptr, dtPowiaty);
    form.SetInput(TDictionaryRecord());
    form.show();
    form.FormActivate();
    form.edtPowiat->setText(QStringLiteral("ki"));
    form.edtPowiat->setCursorPosition(1);
    QTest::qWait(450);
    ASSERT_EQ(form.DataRowCount(), 6);
    ASSERT_EQ(form.DrawGrid1->Row(), 1);
    QTest::keyClick(form.edtPowiat, Qt::Key_End);
    EXPECT_EQ(form.DrawGrid1->Row(), 6);
    EXPECT_EQ(form.edtPowiat->cursorPosition(), 1);
    QTest::keyClick(form.edtPowiat, Qt::Key_Down); // already on the last row
    EXPECT_EQ(form.DrawGrid1->Row(), 6);
    QTest::keyClick(form.edtPowiat, Qt::Key_PageUp);
    EXPECT_EQ(form.DrawGrid1->Row(), 5);
    QTest::keyClick(form.edtPowiat, Qt::Key_Home);
    EXPECT_EQ(form.DrawGrid1->Row(), 1);
    QTest::keyClick(form.edtPowiat, Qt::Key_Up); // never onto the title row
    EXPECT_EQ(form.DrawGrid1->Row(), 1);
    form.edtPowiat->setSelection(0, 2);
    QTest::keyClick(form.edtPowiat, Qt::Key_Down);
    EXPECT_EQ(form.DrawGrid1->Row(), 2);
    EXPECT_EQ(form.edtPowiat->selectedText(), QStringLiteral("ki"));
    EXPECT_EQ(form.edtPowiat->text(), QStringLiteral("ki"));
}

TEST_F(DictionaryFormTest, ABurstOfKeystrokesRefillsOnceAndActivationFillsOnce) {
    TDictionaryForm form(nullptr, dtMiejscowosci);
    form.SetInput(TDictionaryRecord());
    form.FormActivate();
    form.FormActivate(); // a second activation does not refill
    EXPECT_EQ(form.FillCount(), 1);
    for (const char* letter : {"n", "o", "w", "a"}) {
        form.edtMiejscowosc->insert(QString::fromLatin1(letter));
        QTest::qWait(100);
    }
    EXPECT_EQ(form.FillCount(), 1);
    QTest::qWait(450);
    EXPECT_EQ(form.FillCount(), 2);
    EXPECT_EQ(form.DataRowCount(), 2);
}

TEST_F(DictionaryFormTest, InstalledWindowServesTheModuleAndResetRemovesIt) {
    InstallWindows();
    TDictionaryModule module;
    TDictionaryRecord result;
    WhenFilled([](TDictionaryForm* form) {
        EXPECT_EQ(form->cbbWojewodztwo->currentText(), QStringLiteral("mazowieckie"));
        EXPECT_EQ(form->edtMiejscowosc->text(), QStringLiteral("Nowa Wieś"));
        form->btnPost->click();
    });
    module.Miejscowosc(nullptr, QStringLiteral("mazowieckie"), QString(), QString(),
                       QStringLiteral("Nowa Wieś"), result);
    EXPECT_EQ(result.Gmina, QStringLiteral("Promna"));
    ResetWindows();
    module.Miejscowosc(nullptr, QStringLiteral("mazowieckie"), QString(), QString(),
                       QStringLiteral("Nowa Wieś"), result);
    EXPECT_TRUE(result.IsEmpty());
}

} // namespace
