// The collection grid: loading, cells, check marks, sorting, widths, painting, events.

#include "GridFakes.h"
#include "TestSupport.h"
#include "uEwidarDrawGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <numeric>

namespace {

const QString kBrak = QStringLiteral("<brak danych>");

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_grid.resize(600, 300);
        m_grid.SetTitleBar(QStringLiteral("Nazwa,Adres"));
        m_banks = MakeCollection<IDaneBankow>();
    }
    // Three banks, deliberately out of order and in mixed case.
    void AddThreeBanks() {
        m_banks->Add(11, {QStringLiteral("bank B"), QStringLiteral("Wrocław")});
        m_banks->Add(12, {QStringLiteral("Bank a"), QStringLiteral("Łódź")});
        m_banks->Add(13, {QStringLiteral("BANK C"), QStringLiteral("Gdańsk")});
    }
    void Load(IEwidarRecord* Selected = nullptr) { m_grid.SetEwidarCollection(m_banks.get(), Selected); }
    QStringList Column(int Col) const {
        QStringList out;
        for (int r = m_grid.FixedRows(); r < m_grid.RowCount(); ++r)
            out << m_grid.Cells(Col, r);
        return out;
    }

    TDrawGrid m_grid;
    TIntfPtr<FakeCollection<IDaneBankow>> m_banks;
};

TEST_F(GridTest, EmptyCollectionShowsTheTitleRowAndOneEmptyRowWithoutCheckBoxes) {
    Load();
    EXPECT_EQ(m_grid.RowCount(), 2);
    EXPECT_EQ(m_grid.FixedRows(), 1);
    EXPECT_EQ(m_grid.ColCount(), 2);
    EXPECT_FALSE(m_grid.VisibleCheckBox());
    EXPECT_EQ(m_grid.Cells(0, 0), QStringLiteral("Nazwa"));
    EXPECT_EQ(m_grid.Cells(1, 0), QStringLiteral("Adres"));
    EXPECT_EQ(m_grid.Cells(0, 1), QString());
    EXPECT_FALSE(m_grid.EwidarRecord(1));
    EXPECT_FALSE(m_grid.horizontalHeader()->isHidden());

    m_grid.SetEwidarCollection(nullptr);
    EXPECT_EQ(m_grid.RowCount(), 2);
    EXPECT_FALSE(m_grid.EwidarCollection());
}

TEST_F(GridTest, RecordsBecomeRowsAfterTheCheckBoxColumn) {
    AddThreeBanks();
    Load();
    ASSERT_TRUE(m_grid.VisibleCheckBox());
    EXPECT_EQ(m_grid.ColCount(), 3);
    EXPECT_EQ(m_grid.RowCount(), 4);
    EXPECT_EQ(m_grid.Cells(0, 0), QString());
    EXPECT_EQ(m_grid.Cells(1, 0), QStringLiteral("Nazwa"));
    EXPECT_EQ(m_grid.Cells(1, 2), QStringLiteral("Bank a"));
    EXPECT_EQ(m_grid.Cells(2, 3), QStringLiteral("Gdańsk"));
    EXPECT_EQ(m_grid.EwidarRecord(1)->GetID(), 11);
    EXPECT_FALSE(m_grid.EwidarRecord(0));
    EXPECT_FALSE(m_grid.EwidarRecord(4));
    EXPECT_FALSE(m_grid.EwidarRecord(-1));
    EXPECT_TRUE(m_grid.EwidarCollection());

    m_grid.SetVisibleCheckBoxEnabled(false);
    Load();
    EXPECT_FALSE(m_grid.VisibleCheckBox());
    EXPECT_EQ(m_grid.ColCount(), 2);
    EXPECT_EQ(m_grid.Cells(0, 2), QStringLiteral("Bank a"));
}

TEST_F(GridTest, MissingOrBlankPartsReadBrakDanychUnlessEmptyCellsAreEnabled) {
    m_banks->Add(1, {});
    m_banks->Add(2, {QStringLiteral("  "), QStringLiteral(" Kraków ")});
    m_banks->Add(3, {})->NoInfo = true;
    Load();
    EXPECT_EQ(m_grid.Cells(1, 1), kBrak);
    EXPECT_EQ(m_grid.Cells(2, 1), kBrak);
    EXPECT_EQ(m_grid.Cells(1, 2), kBrak);
    EXPECT_EQ(m_grid.Cells(2, 2), QStringLiteral(" Kraków ")); // kept as given
    EXPECT_EQ(m_grid.Cells(2, 3), kBrak);

    m_grid.SetEmptyCellsEnabled(true);
    Load();
    EXPECT_EQ(m_grid.Cells(1, 1), QString());
    EXPECT_EQ(m_grid.Cells(1, 2), QStringLiteral("  "));
}

TEST_F(GridTest, RecordsThatAreNewAreSkipped) {
    AddThreeBanks();
    m_banks->Add(14, {QStringLiteral("nowy")})->New = true;
    Load();
    EXPECT_EQ(m_grid.RowCount(), 4);
    EXPECT_FALSE(Column(1).contains(QStringLiteral("nowy")));
}

TEST_F(GridTest, OnlyNewRecordsLeaveTheEmptyRowAndNoCheckBoxRowsToTick) {
    m_banks->Add(14, {QStringLiteral("nowy")})->New = true;
    Load();
    // The count said one record, so the check-box column exists; the only row is the empty one.
    EXPECT_EQ(m_grid.RowCount(), 2);
    EXPECT_FALSE(m_grid.EwidarRecord(1));
    m_grid.SetChecked(1, true);
    EXPECT_FALSE(m_grid.Checked(1));
}

TEST_F(GridTest, WithoutTitleBarTheWidestDescriptionSetsTheColumns) {
    m_grid.SetTitleBar(QString());
    m_banks->Add(1, {QStringLiteral("a")});
    m_banks->Add(2, {QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")});
    m_grid.SetVisibleCheckBoxEnabled(false);
    Load();
    EXPECT_EQ(m_grid.FixedRows(), 0);
    EXPECT_TRUE(m_grid.horizontalHeader()->isHidden());
    EXPECT_EQ(m_grid.RowCount(), 2);
    EXPECT_EQ(m_grid.ColCount(), 3);
    EXPECT_EQ(m_grid.Cells(0, 0), QStringLiteral("a"));
    EXPECT_EQ(m_grid.Cells(2, 0), kBrak);
    EXPECT_EQ(m_grid.Cells(2, 1), QStringLiteral("d"));
}

TEST_F(GridTest, QuotedTitlesMayHoldCommasAndBlanks) {
    m_grid.SetTitleBar(
        QStringLiteral("\"Opis lub imię i nazwisko / Nazwa firmy\",\"Numer identyfikacyjny\",Miejscowość"));
    Load();
    ASSERT_EQ(m_grid.ColCount(), 3);
    EXPECT_EQ(m_grid.Cells(0, 0), QStringLiteral("Opis lub imię i nazwisko / Nazwa firmy"));
    EXPECT_EQ(m_grid.Cells(2, 0), QStringLiteral("Miejscowość"));
}

TEST_F(GridTest, WritingCellsTrimsACopyAndIgnoresCellsOutsideTheGrid) {
    AddThreeBanks();
    Load();
    m_grid.SetCells(1, 1, QStringLiteral("   "));
    EXPECT_EQ(m_grid.Cells(1, 1), kBrak);
    m_grid.SetCells(1, 1, QStringLiteral(" x "));
    EXPECT_EQ(m_grid.Cells(1, 1), QStringLiteral(" x "));
    m_grid.SetCells(5, 1, QStringLiteral("poza"));
    m_grid.SetCells(1, 9, QStringLiteral("poza"));
    m_grid.SetCells(-1, -1, QStringLiteral("poza"));
    EXPECT_EQ(m_grid.Cells(5, 1), QString());
    EXPECT_EQ(m_grid.Cells(1, 9), QString());
    EXPECT_EQ(m_grid.ColCount(), 3);
    EXPECT_EQ(m_grid.RowCount(), 4);
}

TEST_F(GridTest, PlainTextUseGrowsCellsUpToTheGridSize) {
    m_grid.SetEmptyCellsEnabled(true);
    m_grid.SetColCount(3);
    m_grid.SetRowCount(2);
    m_grid.SetFixedRows(1);
    m_grid.SetCells(0, 0, QStringLiteral("Kod PKD"));
    m_grid.SetCells(2, 1, QStringLiteral("tak"));
    EXPECT_EQ(m_grid.Cells(2, 1), QStringLiteral("tak"));
    EXPECT_EQ(m_grid.Cells(1, 1), QString());
    EXPECT_EQ(m_grid.model()->headerData(0, Qt::Horizontal), QStringLiteral("Kod PKD"));
    EXPECT_FALSE(m_grid.horizontalHeader()->isHidden());
    m_grid.SetRowCount(3);
    m_grid.SetCells(0, 2, QStringLiteral("drugi"));
    EXPECT_EQ(m_grid.model()->rowCount(), 2);
    EXPECT_EQ(m_grid.model()->index(1, 0).data(), QStringLiteral("drugi"));
    // Without the fixed row the title row is an ordinary row again.
    m_grid.SetFixedRows(0);
    EXPECT_TRUE(m_grid.horizontalHeader()->isHidden());
    EXPECT_EQ(m_grid.model()->rowCount(), 3);
    EXPECT_EQ(m_grid.model()->index(0, 0).data(), QStringLiteral("Kod PKD"));
    m_grid.SetRowCount(0);
    EXPECT_EQ(m_grid.RowCount(), 0);
    m_grid.SetFixedRows(1); // no row to fix
    EXPECT_EQ(m_grid.FixedRows(), 0);
}

TEST_F(GridTest, ACollectionOfNoKnownKindListsNothing) {
    auto unknown = MakeCollection<IEwidarCollection>();
    unknown->Add(1, {QStringLiteral("x")});
    m_grid.SetEwidarCollection(unknown.get());
    EXPECT_FALSE(m_grid.EwidarCollection());
    EXPECT_EQ(m_grid.RowCount(), 2);
    EXPECT_FALSE(m_grid.EwidarRecord(1));
}

TEST_F(GridTest, CheckMarksNeedAnActiveRowAndRememberTheIdentifier) {
    AddThreeBanks();
    Load();
    EXPECT_FALSE(m_grid.Checked(0));
    EXPECT_FALSE(m_grid.Checked(99));
    m_grid.SetChecked(0, true); // title row: no box
    EXPECT_FALSE(m_grid.Checked(0));
    m_grid.SetChecked(2, true);
    EXPECT_TRUE(m_grid.Checked(2));
    EXPECT_EQ(m_grid.CheckedIDList(), QStringList{QStringLiteral("12")});
    m_grid.SetChecked(2, false);
    EXPECT_TRUE(m_grid.CheckedIDList().isEmpty());

    m_grid.SetVisibleCheckBoxEnabled(false);
    Load();
    m_grid.SetChecked(2, true);
    EXPECT_FALSE(m_grid.Checked(2));
}

TEST_F(GridTest, CheckMarksSurviveReloadsUntilClearOldValueCheckbox) {
    AddThreeBanks();
    Load();
    m_grid.SetChecked(3, true); // id 13
    // The same record comes back at another position.
    std::reverse(m_banks->Records.begin(), m_banks->Records.end());
    Load();
    EXPECT_EQ(m_grid.EwidarRecord(1)->GetID(), 13);
    EXPECT_TRUE(m_grid.Checked(1));
    EXPECT_FALSE(m_grid.Checked(3));

    m_grid.ClearOldValueCheckbox();
    Load();
    EXPECT_FALSE(m_grid.Checked(1));
}

TEST_F(GridTest, TheAllBoxTicksAndClearsEveryRow) {
    AddThreeBanks();
    Load();
    m_grid.FixedCellClick(0);
    EXPECT_TRUE(m_grid.CheckBoxGroupValue());
    for (int r = 1; r <= 3; ++r)
        EXPECT_TRUE(m_grid.Checked(r)) << r;
    EXPECT_EQ(m_grid.CheckedIDList().size(), 3);
    EXPECT_EQ(m_grid.SortColumn(), -1); // the box column does not sort

    m_grid.FixedCellClick(0);
    EXPECT_FALSE(m_grid.Checked(2));
    EXPECT_TRUE(m_grid.CheckedIDList().isEmpty());

    m_grid.FixedCellClick(0);
    Load(); // a reload puts the box back to false, the rows stay ticked by identifier
    EXPECT_FALSE(m_grid.CheckBoxGroupValue());
    EXPECT_TRUE(m_grid.Checked(3));
}

TEST_F(GridTest, SameTitleSortsAscendingThenDescendingAnotherStartsAscending) {
    AddThreeBanks();
    Load();
    m_grid.FixedCellClick(1);
    EXPECT_EQ(Column(1),
              (QStringList{QStringLiteral("Bank a"), QStringLiteral("bank B"), QStringLiteral("BANK C")}));
    EXPECT_EQ(m_grid.SortColumn(), 1);
    EXPECT_FALSE(m_grid.MinToMaxSort()); // the next click sorts the other way

    m_grid.FixedCellClick(1);
    EXPECT_EQ(Column(1),
              (QStringList{QStringLiteral("BANK C"), QStringLiteral("bank B"), QStringLiteral("Bank a")}));

    m_grid.FixedCellClick(2);
    // Upper-cased ordinal order puts "Ł" after the ASCII letters.
    EXPECT_EQ(Column(2),
              (QStringList{QStringLiteral("Gdańsk"), QStringLiteral("Wrocław"), QStringLiteral("Łódź")}));
    EXPECT_EQ(m_grid.SortColumn(), 2);
    EXPECT_EQ(m_grid.LastFixedColClick(), 2);
}

TEST_F(GridTest, SortingMovesRecordsChecksAndTheCurrentRowWithTheirRows) {
    AddThreeBanks();
    Load();
    m_grid.SetChecked(1, true); // id 11, "bank B"
    m_grid.SetRow(1);
    m_grid.FixedCellClick(1);
    EXPECT_EQ(m_grid.EwidarRecord(2)->GetID(), 11);
    EXPECT_TRUE(m_grid.Checked(2));
    EXPECT_FALSE(m_grid.Checked(1));
    EXPECT_EQ(m_grid.Row(), 2);
}

// A collection that reads its rows in one pass fills the same cells as one read record by
// record, with and without titles, and a row's record is made only when it is asked for.
TEST_F(GridTest, RowsReadInOnePassShowTheSameCellsAndMakeRecordsOnlyWhenAskedFor) {
    const std::vector<std::pair<int32_t, QStringList>> records = {
        {21, {QStringLiteral("Żabka"), QStringLiteral("Łódź"), QStringLiteral("90-001")}},
        {22, {QStringLiteral("  "), QStringLiteral("Gdańsk")}},
        {23, {QStringLiteral("bank a")}},
        {24, {QStringLiteral("Alior"), QString(), QStringLiteral("00-950")}},
    };
    auto plain = MakeCollection<IDaneBankow>();
    auto rows = MakeRowCollection<IDaneBankow>();
    rows->LineCount = 3;
    for (const auto& [id, parts] : records) {
        plain->Add(id, parts);
        rows->Add(id, parts);
    }
    for (const QString& titles : {QStringLiteral("Nazwa,Miasto"), QString()}) {
        SCOPED_TRACE(titles.toStdString());
        TDrawGrid byRecord;
        byRecord.SetTitleBar(titles);
        byRecord.SetEwidarCollection(plain.get());
        m_grid.SetTitleBar(titles);
        rows->ItemCalls = rows->ByIDCalls = 0;
        m_grid.SetEwidarCollection(rows.get());
        EXPECT_EQ(rows->ItemCalls, 0);
        EXPECT_EQ(rows->ByIDCalls, 0);
        ASSERT_EQ(m_grid.RowCount(), byRecord.RowCount());
        ASSERT_EQ(m_grid.ColCount(), byRecord.ColCount());
        for (int r = 0; r < m_grid.RowCount(); ++r) {
            EXPECT_EQ(m_grid.RowID(r), byRecord.RowID(r)) << r;
            for (int c = 0; c < m_grid.ColCount(); ++c)
                EXPECT_EQ(m_grid.Cells(c, r), byRecord.Cells(c, r)) << c << "," << r;
        }
    }
    m_grid.SetTitleBar(QStringLiteral("Nazwa,Miasto"));
    m_grid.SetEwidarCollection(rows.get(), rows->Records[2].get()); // selected by identifier
    EXPECT_EQ(m_grid.Row(), 3);
    m_grid.SetChecked(1, true);
    EXPECT_EQ(m_grid.CheckedIDList(), QStringList{QStringLiteral("21")});
    m_grid.FixedCellClick(1); // sorted by name: the ticked row moves with its identifier
    EXPECT_EQ(rows->ByIDCalls, 0);
    for (int r = m_grid.FixedRows(); r < m_grid.RowCount(); ++r) {
        const TIntfPtr<IEwidarRecord> record = m_grid.EwidarRecord(r);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->GetID(), m_grid.RowID(r));
        EXPECT_EQ(m_grid.Checked(r), record->GetID() == 21);
    }
    EXPECT_EQ(rows->ByIDCalls, 4);
    m_grid.EwidarRecord(1); // made once
    EXPECT_EQ(rows->ByIDCalls, 4);
    EXPECT_FALSE(m_grid.EwidarRecord(0));
    // Setting one cell of such a row keeps the row's other cells, and the other rows'.
    QStringList before;
    for (int r = 0; r < m_grid.RowCount(); ++r)
        for (int c = 0; c < m_grid.ColCount(); ++c)
            before << m_grid.Cells(c, r);
    const int last = m_grid.ColCount() - 1;
    m_grid.SetCells(last, 2, QStringLiteral("zmienione"));
    before[2 * m_grid.ColCount() + last] = QStringLiteral("zmienione");
    QStringList after;
    for (int r = 0; r < m_grid.RowCount(); ++r)
        for (int c = 0; c < m_grid.ColCount(); ++c)
            after << m_grid.Cells(c, r);
    EXPECT_EQ(after, before);
}

TEST_F(GridTest, AReloadKeepsTheSortColumnAndDirection) {
    AddThreeBanks();
    Load();
    m_grid.FixedCellClick(1);
    m_grid.FixedCellClick(1); // descending
    m_banks->Add(10, {QStringLiteral("Bank D"), QString()});
    Load();
    EXPECT_EQ(Column(1).first(), QStringLiteral("Bank D"));
    EXPECT_EQ(Column(1).last(), QStringLiteral("Bank a"));
    EXPECT_EQ(m_grid.SortColumn(), 1);
    // The next click on the same title turns it ascending again.
    m_grid.FixedCellClick(1);
    EXPECT_EQ(Column(1).first(), QStringLiteral("Bank a"));
}

TEST_F(GridTest, EqualKeysKeepTheirOrder) {
    for (int i = 0; i < 50; ++i)
        m_banks->Add(100 + i, {QStringLiteral("same"), QString::number(i)});
    Load();
    m_grid.FixedCellClick(1);
    for (int r = 1; r <= 50; ++r)
        EXPECT_EQ(m_grid.EwidarRecord(r)->GetID(), 99 + r);
}

TEST_F(GridTest, TheSelectedRecordIsFoundByIdentifierAfterSorting) {
    AddThreeBanks();
    Load();
    m_grid.FixedCellClick(1);
    auto other = MakeIntf<FakeRecord, FakeRecord>(12, QStringList());
    Load(other.get());
    EXPECT_EQ(m_grid.Row(), 1); // "Bank a" sorts first
    EXPECT_EQ(m_grid.EwidarRecord(m_grid.Row())->GetID(), 12);

    auto missing = MakeIntf<FakeRecord, FakeRecord>(77, QStringList());
    Load(missing.get());
    EXPECT_EQ(m_grid.Row(), 1);

    m_banks->Records.clear();
    Load(other.get());
    EXPECT_EQ(m_grid.Row(), 1); // the empty row
    EXPECT_FALSE(m_grid.EwidarRecord(m_grid.Row()));
}

TEST_F(GridTest, ClearDropsEverything) {
    AddThreeBanks();
    Load();
    m_grid.Clear();
    EXPECT_EQ(m_grid.RowCount(), 0);
    EXPECT_EQ(m_grid.ColCount(), 0);
    EXPECT_FALSE(m_grid.EwidarCollection());
    EXPECT_EQ(m_grid.Row(), -1);
    // Records are released: only the collection still holds them.
    EXPECT_EQ(dynamic_cast<FakeRecord*>(m_banks->Records[0].get())->RefCount(), 1);
}

} // namespace
