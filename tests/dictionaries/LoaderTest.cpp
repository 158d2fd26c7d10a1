// The loader thread against an in-process library stand-in: what lands in each table,
// and what happens when a cursor is missing, throws, miscounts, or the program ends.

#include "FakeAdrDict.h"
#include "uDictionaryModule.h"
#include "uDictionaryTables.h"
#include "uInitializeTableThread.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <climits>
#include <thread>

namespace {

TIntfPtr<TFakeAdrDict> StandardFake() {
    TIntfPtr<TFakeAdrDict> fake(new TFakeAdrDict);
    auto& t = fake->Tables;
    t[dtWojewodztwa].Rows = {{"02", "DOLNOŚLĄSKIE"}, {"04", "KUJAWSKO-POMORSKIE"}};
    t[dtPowiaty].Rows = {{"DOLNOŚLĄSKIE", "0201", "bolesławiecki"}};
    t[dtGminy].Rows = {{"DOLNOŚLĄSKIE", "bolesławiecki", "0201011", "Bolesławiec"}};
    t[dtMiejscowosci].Rows = {{"DOLNOŚLĄSKIE", "bolesławiecki", "Bolesławiec", "Bożejowice"}};
    t[dtUS].Rows = {{"US A", "Jan", "ul. A 1", "", "", "", "", "", "", "", "", " 10101010001234562 "}};
    t[dtKraje].Rows = {{"PL", "Polska"}};
    return fake;
}

void LoadAll(const TIntfPtr<TFakeAdrDict>& Fake) {
    TInitializeTableThread thread{TIntfPtr<IAdrDictIntf>(Fake.get())};
    thread.wait();
}

void ExpectAllFlagsClear() {
    for (int t = 0; t < cDictionaryTypeCount; ++t)
        EXPECT_TRUE(TableLoaded(TDictionaryType(t))) << "flag " << t;
}

} // namespace

TEST(Loader, CopiesEveryTableIntoItsFields) {
    LoadAll(StandardFake());
    const TDictionaryTables& t = DictionaryTables();
    ExpectAllFlagsClear();
    ASSERT_EQ(t.Wojewodztwa.size(), 2u);
    EXPECT_EQ(t.Wojewodztwa[1].KodWojewodztwa, QStringLiteral("04"));
    EXPECT_EQ(t.Wojewodztwa[1].NazwaWojewodztwa, QStringLiteral("KUJAWSKO-POMORSKIE"));
    ASSERT_EQ(t.Powiaty.size(), 1u);
    EXPECT_EQ(t.Powiaty[0].KodPowiatu, QStringLiteral("0201"));
    EXPECT_EQ(t.Powiaty[0].NazwaPowiatu, QStringLiteral("bolesławiecki"));
    EXPECT_EQ(t.Powiaty[0].NazwaWojewodztwa, QStringLiteral("DOLNOŚLĄSKIE"));
    ASSERT_EQ(t.Gminy.size(), 1u);
    EXPECT_EQ(t.Gminy[0].KodGminy, QStringLiteral("0201011"));
    EXPECT_EQ(t.Gminy[0].NazwaGminy, QStringLiteral("Bolesławiec"));
    EXPECT_EQ(t.Gminy[0].NazwaPowiatu, QStringLiteral("bolesławiecki"));
    EXPECT_EQ(t.Gminy[0].NazwaWojewodztwa, QStringLiteral("DOLNOŚLĄSKIE"));
    ASSERT_EQ(t.Miejscowosci.size(), 1u);
    EXPECT_EQ(t.Miejscowosci[0].NazwaGminy, QStringLiteral("Bolesławiec"));
    EXPECT_EQ(t.Miejscowosci[0].NazwaMiejscowosci, QStringLiteral("Bożejowice"));
    ASSERT_EQ(t.Kraje.size(), 1u);
    EXPECT_EQ(t.Kraje[0].KodKraju, QStringLiteral("PL"));
    EXPECT_EQ(t.Kraje[0].NazwaKraju, QStringLiteral("Polska"));
    // A tax office with only its middle digits gets the four accounts built from them;
    // the others stay as the library gave them.
    ASSERT_EQ(t.UrzedySkarbowe.size(), 1u);
    const TUrzadSkarbowyRecord& us = t.UrzedySkarbowe[0];
    EXPECT_EQ(us.RachCit, QStringLiteral("76101010100012345621000000"));
    EXPECT_EQ(us.RachVat, QStringLiteral("26101010100012345622000000"));
    EXPECT_EQ(us.RachPit, QStringLiteral("73101010100012345623000000"));
    EXPECT_EQ(us.RachInD, QStringLiteral("67101010100012345627000000"));
    EXPECT_EQ(us.RachPitStd, QString());
    EXPECT_EQ(us.RachVatUe, QString());
    EXPECT_EQ(us.RachViuVin, QString());
    EXPECT_EQ(us.RachDoch1, QString());
}

TEST(Loader, AccountsTheLibraryGaveAreKept) {
    TUrzadSkarbowyRecord us;
    us.RachDoch = QStringLiteral("10101010001234562");
    us.RachCit = QStringLiteral("given");
    us.RachPit = QStringLiteral("  ");
    CompleteTaxOfficeAccounts(us);
    EXPECT_EQ(us.RachCit, QStringLiteral("given"));
    EXPECT_EQ(us.RachPit, QStringLiteral("73101010100012345623000000"));
    TUrzadSkarbowyRecord none;
    CompleteTaxOfficeAccounts(none);
    EXPECT_EQ(none.RachCit, QString());
}

TEST(Loader, ATableWithoutCursorStaysEmptyAndTheOthersLoad) {
    TIntfPtr<TFakeAdrDict> fake = StandardFake();
    fake->Tables[dtMiejscowosci].NoCursor = true;
    LoadAll(fake);
    ExpectAllFlagsClear();
    EXPECT_TRUE(DictionaryTables().Miejscowosci.empty());
    EXPECT_EQ(DictionaryTables().Gminy.size(), 1u);
    EXPECT_EQ(DictionaryTables().Kraje.size(), 1u);
}

TEST(Loader, AThrowMidwayKeepsTheRowsReadEndsTheLoadAndClearsEveryFlag) {
    TIntfPtr<TFakeAdrDict> fake = StandardFake();
    fake->Tables[dtMiejscowosci].GeneratedRows = 10;
    fake->Tables[dtMiejscowosci].ThrowAtRow = 3;
    LoadAll(fake);
    ExpectAllFlagsClear();
    const TDictionaryTables& t = DictionaryTables();
    EXPECT_EQ(t.Wojewodztwa.size(), 2u);
    ASSERT_EQ(t.Miejscowosci.size(), 3u);
    EXPECT_EQ(t.Miejscowosci[2].NazwaMiejscowosci, QStringLiteral("row 2"));
    EXPECT_TRUE(t.Gminy.empty());
    EXPECT_TRUE(t.UrzedySkarbowe.empty());
    EXPECT_TRUE(t.Kraje.empty());
}

struct TMiscount {
    int Count, Rows, Expected;
};

class LoaderMiscount : public ::testing::TestWithParam<TMiscount> {};

TEST_P(LoaderMiscount, ATableHoldsOnlyRowsReallyReadAndNoMoreThanTheCount) {
    TIntfPtr<TFakeAdrDict> fake = StandardFake();
    fake->Tables[dtMiejscowosci].GeneratedRows = GetParam().Rows;
    fake->Tables[dtMiejscowosci].Count = GetParam().Count;
    LoadAll(fake);
    const auto& rows = DictionaryTables().Miejscowosci;
    ASSERT_EQ(int(rows.size()), GetParam().Expected);
    for (const TMiejscowosciRecord& r : rows)
        EXPECT_FALSE(r.NazwaMiejscowosci.isEmpty()) << "no entry left unfilled";
    EXPECT_EQ(DictionaryTables().Gminy.size(), 1u) << "the next table loads as usual";
}

INSTANTIATE_TEST_SUITE_P(Counts, LoaderMiscount,
                         ::testing::Values(TMiscount{2, 5, 2}, TMiscount{5, 2, 2}, TMiscount{0, 3, 0},
                                           TMiscount{-7, 3, 0}, TMiscount{INT_MAX, 3, 3}));

TEST(Loader, EndingTheProgramDuringTheLocalitiesStopsAfterTheCurrentRow) {
    TIntfPtr<TFakeAdrDict> fake = StandardFake();
    std::atomic<int> reached{0};
    fake->Tables[dtMiejscowosci].GeneratedRows = 1000000;
    fake->Tables[dtMiejscowosci].BeforeRow = [&](int Row) {
        reached = Row;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    QElapsedTimer timer;
    {
        TInitializeTableThread thread{TIntfPtr<IAdrDictIntf>(fake.get())};
        while (reached < 20)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        timer.start();
    } // the destructor asks the thread to stop and waits for it
    EXPECT_LT(timer.elapsed(), 500);
    ExpectAllFlagsClear();
    const size_t read = DictionaryTables().Miejscowosci.size();
    EXPECT_GE(read, 20u);
    EXPECT_EQ(int(read), reached + 1) << "the row being read when asked to stop is the last one";
    EXPECT_TRUE(DictionaryTables().Gminy.empty());
    EXPECT_EQ(fake->Requests, 2) << "no dictionary is asked for after the stop";
}

TEST(Loader, ASelectionAskedBeforeItsTableIsLoadedReturnsOnlyAfterwards) {
    TIntfPtr<TFakeAdrDict> fake = StandardFake();
    std::atomic<bool> open{false}, released{false};
    fake->Tables[dtWojewodztwa].BeforeRow = [&](int) {
        while (!open)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    TInitializeTableThread thread{TIntfPtr<IAdrDictIntf>(fake.get())};
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        released = true;
        open = true;
    });
    bool countiesFinal = false;
    TDictionaryModule::SetDictionaryFormOpener(
        [&](QWidget*, const TDictionaryRecord&, TDictionaryType, TDictionaryRecord&) {
            countiesFinal = TableLoaded(dtPowiaty) && DictionaryTables().Powiaty.size() == 1;
        });
    TDictionaryModule module;
    TDictionaryRecord result;
    module.Powiat(nullptr, {}, {}, result);
    EXPECT_TRUE(released);
    EXPECT_TRUE(countiesFinal);
    EXPECT_EQ(module.WojewodztwaCommaText(), QStringLiteral("\"DOLNOŚLĄSKIE\",\"KUJAWSKO-POMORSKIE\""));
    releaser.join();
    TDictionaryModule::SetDictionaryFormOpener({});
}
