// Column and row calculations.
#include "../grid/GridFixture.h"
#include <gtest/gtest.h>

namespace {
// Records the export notifications the calculations send.
class TNotedGrid : public TTestGrid
{
public:
    std::vector<std::pair<int, int>> Notes;

protected:
    void ExportNotification(TGridExportState AState, int ARow) override { Notes.emplace_back(int(AState), ARow); }
};

void FillRows(TProStringGrid &g, int col, const QStringList &texts)
{
    g.SetRowCount(texts.size() + 1);
    for (int i = 0; i < texts.size(); ++i)
        g.SetCells(col, i + 1, texts[i]);
}
} // namespace

TEST(ColumnCalc, BlankCountsZeroAndTextIsSkipped)
{
    TTestGrid g;
    FillRows(g, 1, {"1", "2", "", "x"});
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, -1, -1), 3.0);
    EXPECT_DOUBLE_EQ(g.ColumnAvg(1, -1, -1), 0.75);
    EXPECT_DOUBLE_EQ(g.ColumnMin(1, -1, -1), 0.0);
    EXPECT_DOUBLE_EQ(g.ColumnMax(1, -1, -1), 2.0);
    EXPECT_DOUBLE_EQ(g.ColumnDistinct(1, -1, -1), 4.0);
    EXPECT_EQ(GridErrorOf([&] { g.ColumnStdDev(1, -1, -1); }), "Cell does not contain a float value");
    // A first cell that is no number is the start value of minimum and maximum: it raises.
    EXPECT_EQ(GridErrorOf([&] { g.ColumnMax(1, 4, 4); }), "Cell does not contain a float value");
}

TEST(ColumnCalc, StdDevDistinctAndEmptyRanges)
{
    TTestGrid g;
    FillRows(g, 1, {"2", "4", "4", "4", "5", "5", "7", "9"});
    // Mean 5, squared deviations 9+1+1+1+0+0+4+16 = 32, 32 / 8 = 4.
    EXPECT_DOUBLE_EQ(g.ColumnStdDev(1, -1, -1), 2.0);
    EXPECT_DOUBLE_EQ(g.ColumnAvg(1, 1, 4), 3.5);
    FillRows(g, 2, {"a", "A", "b"});
    EXPECT_DOUBLE_EQ(g.ColumnDistinct(2, 1, 3), 2.0);
    EXPECT_DOUBLE_EQ(g.ColumnDistinct(2, 1, 4), 3.0) << "an empty text is one more value";

    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 3, 2), 0.0);
    EXPECT_DOUBLE_EQ(g.ColumnAvg(1, 3, 2), 0.0);
    EXPECT_DOUBLE_EQ(g.ColumnStdDev(1, 3, 2), 0.0);
    EXPECT_DOUBLE_EQ(g.ColumnDistinct(1, 3, 2), 0.0);
    EXPECT_DOUBLE_EQ(g.ColumnMin(1, 3, 2), 4.0) << "the start value";
}

TEST(ColumnCalc, FooterRowsAndMergedCellsStayOut)
{
    TTestGrid g;
    FillRows(g, 1, {"5", "7", "1", "100"});
    g.SetFixedFooters(1);
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, -1, -1), 13.0);
    g.MergeCells(1, 1, 1, 2);
    // Row 2 lies under the block of row 1: only the base cell counts.
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, -1, -1), 6.0);
    EXPECT_DOUBLE_EQ(g.ColumnMax(1, -1, -1), 5.0);
    EXPECT_DOUBLE_EQ(g.ColumnAvg(1, -1, -1), 2.0) << "6 over the 3 rows of the range";
}

TEST(ColumnCalc, RangesBeyondTheShownRowsCountRealRows)
{
    TTestGrid g;
    FillRows(g, 1, {"1", "2", "3", "4", "5"});
    g.HideRow(2);
    ASSERT_EQ(g.RowCount(), 5);
    // Shown rows 1..4 are real rows 1, 3, 4, 5; row 5 is past the end and empty.
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 5), 13.0);
    // A range past RowCount counts real rows, the hidden row 2 among them.
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, 1, 6), 15.0);
    EXPECT_DOUBLE_EQ(g.ColumnMin(1, 1, 6), 0.0);
}

TEST(ColumnCalc, NotificationsAndCustomCalculations)
{
    TNotedGrid g;
    FillRows(g, 1, {"1", "x", "3"});
    g.ColumnSum(1, -1, -1);
    const std::vector<std::pair<int, int>> expected = {
        {esExportStart, 1}, {esExportNextRow, 1}, {esExportNextRow, 3}, {esExportDone, -1}};
    EXPECT_EQ(g.Notes, expected);

    EXPECT_DOUBLE_EQ(g.ColumnCustomCalc(1, -1, -1), 0.0);
    g.OnColumnCalc = [](TObject *, int c, int f, int t, double &res) { res = c * 100 + f * 10 + t; };
    EXPECT_DOUBLE_EQ(g.ColumnCustomCalc(2, -1, 4), 2 * 100 - 10 + 4);
    g.OnGroupCalc = [](TObject *, int, int, int, double &res) { res += 0.5; };
    EXPECT_DOUBLE_EQ(g.GroupCustomCalc(1, 1, 2), 0.5);
}

TEST(RowCalc, SumAverageMinimumMaximum)
{
    TTestGrid g;
    const QStringList row = {"1", "x", "2.5", "", "-3"};
    for (int c = 0; c < row.size(); ++c)
        g.SetCells(c, 1, row[c]);
    EXPECT_DOUBLE_EQ(g.RowSum(1, 0, 4), 0.5);
    EXPECT_DOUBLE_EQ(g.RowAvg(1, 0, 4), 0.1);
    EXPECT_DOUBLE_EQ(g.RowMin(1, 0, 4), -3.0);
    EXPECT_DOUBLE_EQ(g.RowMax(1, 0, 4), 2.5);
    EXPECT_DOUBLE_EQ(g.RowSum(1, 3, 2), 0.0);
    EXPECT_DOUBLE_EQ(g.RowAvg(1, 3, 2), 0.0);
    EXPECT_DOUBLE_EQ(g.RowMax(1, 2, 1), 2.5);
    EXPECT_EQ(GridErrorOf([&] { g.RowMin(1, 1, 4); }), "Cell does not contain a float value");
    g.MergeCells(2, 1, 2, 1);
    EXPECT_DOUBLE_EQ(g.RowSum(1, 0, 4), 0.5) << "the covered column 3 is empty anyway";
    g.SetGridCell(3, 1, "100");
    EXPECT_DOUBLE_EQ(g.RowSum(1, 0, 4), 0.5) << "a covered cell never counts";
}

namespace {
class TNodeGrid : public TTestGrid
{
public:
    using TProStringGrid::CreateCellGraphic;
    using TProStringGrid::FGroupColumn;
};
} // namespace

TEST(ColumnCalc, GroupRowsStayOutOnlyWhileGrouped)
{
    TNodeGrid g;
    FillRows(g, 1, {"1", "2", "4", "8"});
    g.CreateCellGraphic(0, 1)->SetCellType(ctNode);
    g.CreateCellGraphic(0, 4)->SetCellType(ctSummary);
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, -1, -1), 15.0);
    // Marked grouped without regrouping the rows.
    g.FGroupColumn = 2;
    EXPECT_DOUBLE_EQ(g.ColumnSum(1, -1, -1), 6.0);
    // The start value is read without the row test.
    EXPECT_DOUBLE_EQ(g.ColumnMax(1, -1, -1), 4.0);
    EXPECT_DOUBLE_EQ(g.ColumnMin(1, -1, -1), 1.0);
}
