// The collection grid on screen: column widths, painting, mouse, keys, scrolling;
// and the comma lists its titles are written in.

#include "GridFakes.h"
#include "TestSupport.h"
#include "uCommaText.h"
#include "uEwidarDrawGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <numeric>

namespace {

// Two texts whose widths in the grid font differ by at most 10 pixels, the first narrower.
std::pair<QString, QString> CloseWidths(const QFont& Font) {
    const QString a = QStringLiteral("wwwwwwww");
    QString b = a + QStringLiteral("i");
    EXPECT_GT(TDrawGrid::TextWidth(Font, b), TDrawGrid::TextWidth(Font, a));
    EXPECT_LE(TDrawGrid::TextWidth(Font, b), TDrawGrid::TextWidth(Font, a) + 10);
    return {a, b};
}

class GridViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_grid.SetTitleBar(QStringLiteral("A,B"));
        m_grid.SetVisibleCheckBoxEnabled(false);
        m_grid.show();
        m_banks = MakeCollection<IDaneBankow>();
    }
    void Load() { m_grid.SetEwidarCollection(m_banks.get()); }
    // Natural widths: a client too narrow to spread a surplus.
    void Narrow() {
        m_grid.resize(20, 200);
        m_grid.SetWidthColumns();
    }

    TDrawGrid m_grid;
    TIntfPtr<FakeCollection<IDaneBankow>> m_banks;
};

TEST_F(GridViewTest, ALaterCellWithinTenPixelsOfTheWidestDoesNotWidenTheColumn) {
    const auto [a, b] = CloseWidths(m_grid.font());
    m_grid.SetTitleBar(QStringLiteral("x,y"));
    m_banks->Add(1, {a, QStringLiteral("q")});
    m_banks->Add(2, {b, QStringLiteral("q")});
    Load();
    Narrow();
    EXPECT_EQ(m_grid.ColWidths(0), TDrawGrid::TextWidth(m_grid.font(), a) + 10);

    // In the other order the wider one comes first and sets the width.
    std::reverse(m_banks->Records.begin(), m_banks->Records.end());
    Load();
    Narrow();
    EXPECT_EQ(m_grid.ColWidths(0), TDrawGrid::TextWidth(m_grid.font(), b) + 10);
}

TEST_F(GridViewTest, TitlesAreMeasuredInBoldAndEveryLineOfACellCounts) {
    m_grid.SetTitleBar(QStringLiteral("\"Numer rachunku\",x"));
    m_banks->Add(1, {QStringLiteral("a"), QStringLiteral("krótki\r\nznacznie dłuższy wiersz")});
    Load();
    Narrow();
    EXPECT_EQ(m_grid.ColWidths(0),
              TDrawGrid::TextWidth(m_grid.TitleFont(), QStringLiteral("Numer rachunku")) + 10);
    EXPECT_EQ(m_grid.ColWidths(1),
              TDrawGrid::TextWidth(m_grid.font(), QStringLiteral("znacznie dłuższy wiersz")) + 10);
}

TEST_F(GridViewTest, TheSurplusIsSpreadAndTheLastColumnFillsTheClient) {
    m_grid.SetVisibleCheckBoxEnabled(true);
    m_grid.SetTitleBar(QStringLiteral("a,b,c"));
    m_banks->Add(1, {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")});
    Load();
    Narrow();
    std::vector<int> natural;
    for (int c = 0; c < 4; ++c)
        natural.push_back(m_grid.ColWidths(c));
    EXPECT_EQ(natural[0], TDrawGrid::CheckBoxColumnWidth);

    m_grid.resize(400, 200);
    m_grid.SetWidthColumns();
    const int client = m_grid.viewport()->width();
    const int surplus = client - std::accumulate(natural.begin(), natural.end(), 0);
    const int add = static_cast<int>(std::lround(surplus / 3.0));
    EXPECT_EQ(m_grid.ColWidths(0), TDrawGrid::CheckBoxColumnWidth);
    EXPECT_EQ(m_grid.ColWidths(1), natural[1] + add);
    EXPECT_EQ(m_grid.ColWidths(2), natural[2] + add);
    int sum = 0;
    for (int c = 0; c < 4; ++c)
        sum += m_grid.ColWidths(c);
    EXPECT_EQ(sum, client);
}

TEST_F(GridViewTest, ResizingRefitsOnlyWhenAsked) {
    m_banks->Add(1, {QStringLiteral("x"), QStringLiteral("y")});
    Load();
    m_grid.resize(300, 200);
    QApplication::sendPostedEvents();
    const int before = m_grid.ColWidths(1);
    m_grid.SetSetWidthColumnsInResize(false);
    m_grid.resize(500, 200);
    QApplication::sendPostedEvents();
    EXPECT_EQ(m_grid.ColWidths(1), before);
    m_grid.SetSetWidthColumnsInResize(true); // re-fits at once
    EXPECT_EQ(m_grid.ColWidths(0) + m_grid.ColWidths(1), m_grid.viewport()->width());
}

class GridPaintTest : public GridViewTest {
protected:
    void SetUp() override {
        GridViewTest::SetUp();
        for (int i = 1; i <= 4; ++i)
            m_banks->Add(i, {QStringLiteral("r%1").arg(i), QString()});
        m_grid.resize(300, 200);
        Load();
        m_grid.SetRow(2);
    }
    // Colour at the right end of a grid row (no text there).
    QColor RowColour(int Row) {
        const QImage image = m_grid.viewport()->grab().toImage();
        const int y = m_grid.rowViewportPosition(Row - m_grid.FixedRows()) + 8;
        return image.pixelColor(image.width() - 3, y);
    }
};

TEST_F(GridPaintTest, RowsAlternateAndTheCurrentRowIsHighlightedOnlyWithFocus) {
    ASSERT_FALSE(m_grid.hasFocus());
    EXPECT_EQ(RowColour(1), QColor(240, 240, 240));
    EXPECT_EQ(RowColour(2), QColor(Qt::white)); // current, but the grid has no focus
    EXPECT_EQ(RowColour(3), QColor(240, 240, 240));
    m_grid.SetDrawSelectOnlyWhenFocus(false);
    EXPECT_EQ(RowColour(2), QColor(166, 202, 240));
    EXPECT_EQ(RowColour(1), QColor(240, 240, 240));
}

TEST_F(GridPaintTest, TheSortedTitleShowsItsArrow) {
    auto blackIn = [this](int Col) {
        const QImage image = m_grid.horizontalHeader()->viewport()->grab().toImage();
        const int right = m_grid.horizontalHeader()->sectionViewportPosition(Col) + m_grid.ColWidths(Col) - 1;
        int black = 0;
        for (int x = right - 17; x <= right - 10; ++x)
            for (int y = 7; y <= 11; ++y)
                black += image.pixelColor(x, y) == QColor(Qt::black);
        return black;
    };
    EXPECT_EQ(blackIn(1), 0);
    m_grid.FixedCellClick(1);
    EXPECT_GT(blackIn(1), 5);
    EXPECT_EQ(blackIn(0), 0);
}

TEST_F(GridPaintTest, TheOwnersDrawingRunsAfterTheGrids) {
    QList<QPoint> drawn;
    m_grid.SetOnDrawCell(
        [&](TDrawGrid*, int Col, int Row, const QRect&, QPainter*) { drawn << QPoint(Col, Row); });
    m_grid.viewport()->grab();
    m_grid.horizontalHeader()->viewport()->grab();
    EXPECT_TRUE(drawn.contains(QPoint(1, 3)));
    EXPECT_TRUE(drawn.contains(QPoint(0, 0)));
}

class GridInputTest : public GridViewTest {
protected:
    void SetUp() override {
        GridViewTest::SetUp();
        m_grid.SetVisibleCheckBoxEnabled(true);
        for (int i = 1; i <= 40; ++i)
            m_banks->Add(i, {QStringLiteral("r%1").arg(i), QString()});
        m_grid.resize(300, 200);
        m_grid.show();
        Load();
    }
    QPoint CellCentre(int Col, int Row) {
        return m_grid.visualRect(m_grid.model()->index(Row - m_grid.FixedRows(), Col)).center();
    }
};

TEST_F(GridInputTest, APressMovesTheCurrentRowAndTicksInTheBoxColumn) {
    QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, {}, CellCentre(1, 3));
    EXPECT_EQ(m_grid.Row(), 3);
    EXPECT_FALSE(m_grid.Checked(3));
    QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, {}, CellCentre(0, 4));
    EXPECT_EQ(m_grid.Row(), 4);
    EXPECT_TRUE(m_grid.Checked(4));
    QTest::mouseClick(m_grid.viewport(), Qt::LeftButton, {}, CellCentre(0, 4));
    EXPECT_FALSE(m_grid.Checked(4));
    QTest::mouseClick(m_grid.viewport(), Qt::RightButton, {}, CellCentre(0, 5));
    EXPECT_EQ(m_grid.Row(), 5);
    EXPECT_FALSE(m_grid.Checked(5));
}

TEST_F(GridInputTest, SpaceTogglesTheCurrentRow) {
    m_grid.SetRow(2);
    QTest::keyClick(&m_grid, Qt::Key_Space);
    EXPECT_TRUE(m_grid.Checked(2));
    QTest::keyClick(&m_grid, Qt::Key_Space);
    EXPECT_FALSE(m_grid.Checked(2));
}

TEST_F(GridInputTest, ADoubleClickReportsTheRowAndWhetherItIsTheTitle) {
    QList<std::pair<int, bool>> calls;
    int plain = 0;
    m_grid.SetOnRowDblClick([&](TDrawGrid*, int Row, bool Fixed) { calls.append({Row, Fixed}); });
    QObject::connect(&m_grid, &TDrawGrid::DblClick, [&] { ++plain; });
    QTest::mouseDClick(m_grid.viewport(), Qt::LeftButton, {}, CellCentre(1, 2));
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0], std::make_pair(2, false));
    QHeaderView* header = m_grid.horizontalHeader();
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {},
                       QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[1], std::make_pair(0, true));
    EXPECT_EQ(plain, 2);
}

TEST_F(GridInputTest, ClickingATitleSortsAndClickingTheBoxTitleTicksAll) {
    QHeaderView* header = m_grid.horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
    EXPECT_EQ(m_grid.SortColumn(), 1);
    EXPECT_EQ(m_grid.Cells(1, 1), QStringLiteral("r1"));
    EXPECT_EQ(m_grid.Cells(1, 2), QStringLiteral("r10")); // text order
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(5, header->height() / 2));
    EXPECT_TRUE(m_grid.CheckBoxGroupValue());
    EXPECT_TRUE(m_grid.Checked(40));
}

TEST_F(GridInputTest, ScrollingIsReportedBeforeItHappensAndCanBeReplayed) {
    QList<int> valuesSeen;
    TScrollMessage last;
    m_grid.SetOnScroll([&](TDrawGrid* Sender, const TScrollMessage& Msg) {
        valuesSeen << Sender->verticalScrollBar()->value();
        last = Msg;
    });
    ASSERT_GT(m_grid.verticalScrollBar()->maximum(), 0);
    m_grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    ASSERT_EQ(valuesSeen.size(), 1);
    EXPECT_EQ(valuesSeen[0], 0);
    EXPECT_EQ(last.Orientation, Qt::Vertical);
    EXPECT_EQ(last.Position, 1);
    EXPECT_EQ(m_grid.verticalScrollBar()->value(), 1);

    TDrawGrid other;
    other.SetTitleBar(QStringLiteral("A,B"));
    other.resize(300, 200);
    other.show();
    other.SetEwidarCollection(m_banks.get());
    other.PerformScroll(last);
    EXPECT_EQ(other.verticalScrollBar()->value(), 1);
    EXPECT_EQ(other.TopRow(), 2);
}

TEST(CommaText, ItemsAreSeparatedByCommasOrBlanksAndQuotesGroup) {
    EXPECT_EQ(ParseCommaText(QStringLiteral("Rodzaj,Seria,Numer")),
              (QStringList{QStringLiteral("Rodzaj"), QStringLiteral("Seria"), QStringLiteral("Numer")}));
    EXPECT_EQ(ParseCommaText(QStringLiteral("\"Numer rachunku\",Nazwa")),
              (QStringList{QStringLiteral("Numer rachunku"), QStringLiteral("Nazwa")}));
    EXPECT_EQ(ParseCommaText(QStringLiteral("a b")), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(ParseCommaText(QStringLiteral("a,,b")),
              (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
    EXPECT_EQ(ParseCommaText(QStringLiteral("\"say \"\"hi\"\", ok\"")),
              QStringList{QStringLiteral("say \"hi\", ok")});
    EXPECT_EQ(ParseCommaText(QStringLiteral("a,")), (QStringList{QStringLiteral("a"), QString()}));
    EXPECT_TRUE(ParseCommaText(QString()).isEmpty());
    EXPECT_TRUE(ParseCommaText(QStringLiteral("   ")).isEmpty());
    EXPECT_EQ(ParseCommaText(QStringLiteral("\"unterminated")), QStringList{QStringLiteral("unterminated")});
}

TEST(CommaText, DescriptionsDropEmptyItemsAndTheTrailingComma) {
    EXPECT_EQ(DescribeCommaText(QStringLiteral("Jan,,Kowalski,\"ul. Polna 1\",")),
              QStringLiteral("Jan, Kowalski, ul. Polna 1"));
    EXPECT_EQ(DescribeCommaText(QString()), QString());
    EXPECT_EQ(DescribeCommaText(QStringLiteral(",,")), QString());
}

} // namespace

namespace {

TEST(GridTextWidth, AgreesWithTheFontsOwnMeasureOfALine) {
    TDrawGrid grid;
    for (const QFont& font : {grid.font(), grid.TitleFont()}) {
        const QFontMetrics metrics(font);
        for (const QString& text :
             {QStringLiteral("Kowalski Jan"), QStringLiteral("Łódź, ul. Żółkiewskiego 12/4"),
              QStringLiteral("„Cytat” – myślnik…"), QStringLiteral("WWWWWWWWWWiiiiiiiiii"), QString()}) {
            EXPECT_NEAR(TDrawGrid::TextWidth(font, text), metrics.horizontalAdvance(text), 1)
                << text.toStdString();
        }
        // Other scripts are measured as a whole.
        EXPECT_EQ(TDrawGrid::TextWidth(font, QStringLiteral("Москва")),
                  metrics.horizontalAdvance(QStringLiteral("Москва")));
    }
}

} // namespace
