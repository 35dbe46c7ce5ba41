// Counts, fixed counts, the current row, the save range and the used cells.
#include "GridFixture.h"
#include <gtest/gtest.h>

TEST(Dimensions, NewGridDefaults)
{
    TTestGrid g;
    EXPECT_EQ(g.RowCount(), 10);
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.DefaultRowHeight(), 22);
    EXPECT_EQ(g.FixedRowHeight(), 22);
    EXPECT_EQ(g.FNormalRowCount, 10);
}

TEST(Dimensions, FixedRowAlwaysClampsAndComesBack)
{
    TTestGrid g;
    g.SetFixedRowAlways(true);
    g.SetRowCount(3);
    g.SetFixedRows(5);
    EXPECT_EQ(g.FixedRows(), 2);
    g.SetRowCount(10);
    EXPECT_EQ(g.FixedRows(), 5);
    g.SetFixedRows(0);
    EXPECT_EQ(g.FixedRows(), 1);
}

TEST(Dimensions, FixedCountNotBelowTheCountFailsWithoutTheAlwaysSwitch)
{
    TTestGrid g;
    try {
        g.SetFixedRows(g.RowCount());
        FAIL() << "no error";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), "Fixed row count must be less than row count");
    }
    g.SetFixedColAlways(true);
    g.SetFixedCols(9);
    EXPECT_EQ(g.FixedCols(), 4);
}

TEST(Dimensions, LoweringAndRaisingCountsKeepsCellsAndProperties)
{
    TTestGrid g;
    g.SetCells(4, 9, "corner");
    g.SetColors(4, 9, clRed);
    g.SetCells(2, 5, "mid");
    g.SetRowCount(3);
    g.SetColCount(2);
    EXPECT_EQ(g.FNormalRowCount, 3);
    g.SetRowCount(10);
    g.SetColCount(5);
    EXPECT_EQ(g.Cells(4, 9), "corner");
    EXPECT_EQ(g.Cells(2, 5), "mid");
    EXPECT_EQ(g.GetColors(4, 9), clRed);
    EXPECT_EQ(g.FMaxRowCount, 10);
}

TEST(Dimensions, RowWriteReportsRowChangesOnce)
{
    TTestGrid g;
    std::vector<std::pair<int, int>> fired;
    g.OnRowUpdate = [&](TObject *, int o, int n) { fired.emplace_back(o, n); };
    g.SetRow(2);
    g.SetRow(5);
    g.SetRow(5);
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_EQ(fired[0], std::make_pair(-1, 2));
    EXPECT_EQ(fired[1], std::make_pair(2, 5));
    EXPECT_EQ(g.Row(), 5);
}

TEST(Dimensions, TopRowOutsideTheScrollableRowsIsIgnored)
{
    TTestGrid g;
    g.SetRowCount(100);
    g.SetTopRow(20);
    const int top = g.TopRow();
    g.SetTopRow(g.RowCount());
    EXPECT_EQ(g.TopRow(), top);
    g.SetTopRow(0);
    EXPECT_EQ(g.TopRow(), top);
}

TEST(Dimensions, FixedRowHeightSizesOnlyTheFixedRows)
{
    TTestGrid g;
    g.SetFixedRows(2);
    g.SetFixedRowHeight(30);
    EXPECT_EQ(g.RowHeights(0), 30);
    EXPECT_EQ(g.RowHeights(1), 30);
    EXPECT_EQ(g.RowHeights(2), 22);
}

TEST(Dimensions, SaveRange)
{
    struct Case {
        bool fixedCells, fixedRows, fixedCols;
        int startCol, endCol, colCount, startRow, endRow, rowCount;
    };
    // 10 x 5 grid, one fixed row and column, one footer row, one right fixed column.
    const Case cases[] = {
        {true, false, false, 0, 4, 5, 0, 9, 10},
        {false, false, false, 1, 3, 3, 1, 8, 8},
        {false, true, false, 1, 3, 3, 0, 9, 10},
        {false, false, true, 0, 4, 5, 1, 8, 8},
    };
    for (const Case &k : cases) {
        TTestGrid g;
        g.SetFixedFooters(1);
        g.SetFixedRightCols(1);
        g.SetSaveFixedCells(k.fixedCells);
        g.SetSaveFixedRows(k.fixedRows);
        g.SetSaveFixedCols(k.fixedCols);
        EXPECT_EQ(g.SaveStartCol(), k.startCol);
        EXPECT_EQ(g.SaveEndCol(), k.endCol);
        EXPECT_EQ(g.SaveColCount(), k.colCount);
        EXPECT_EQ(g.SaveStartRow(), k.startRow);
        EXPECT_EQ(g.SaveEndRow(), k.endRow);
        EXPECT_EQ(g.SaveRowCount(), k.rowCount);
    }
}

TEST(Dimensions, UsedCells)
{
    TTestGrid g;
    EXPECT_EQ(g.UsedCells(), TRect(0, 0, 0, 0));
    g.SetCells(2, 3, "x");
    EXPECT_EQ(g.UsedCells(), TRect(2, 3, 2, 3));
    g.SetCells(4, 1, "y");
    g.SetCells(1, 7, "z");
    EXPECT_EQ(g.UsedCells(), TRect(1, 1, 4, 7));
}

TEST(Dimensions, SyncGridFollowsTheCurrentRowAndColumn)
{
    TTestGrid a, b;
    a.SyncGrid()->SetGrid(&a);
    EXPECT_EQ(a.SyncGrid()->Grid(), nullptr) << "a grid does not follow itself";
    a.SyncGrid()->SetGrid(&b);
    a.SetRow(4);
    EXPECT_EQ(b.Row(), 1) << "row following is off";

    a.SyncGrid()->SetSelectionRow(true);
    a.SyncGrid()->SetSelectionColumn(true);
    TSyncGrid settings(nullptr);
    settings.SetGrid(&a);
    settings.SetSelectionRow(true);
    settings.SetSelectionColumn(true);
    b.SetSyncGrid(&settings);
    EXPECT_EQ(b.SyncGrid()->Grid(), &a);
    EXPECT_NE(b.SyncGrid(), &settings);
    // Each grid follows the other and the pair comes to rest.
    a.SetRow(6);
    EXPECT_EQ(b.Row(), 6);
    b.SetCol(3);
    EXPECT_EQ(a.Col(), 3);

    auto *c = new TTestGrid;
    a.SyncGrid()->SetGrid(c);
    delete c;
    EXPECT_EQ(a.SyncGrid()->Grid(), nullptr);
    a.SetRow(2);
    EXPECT_EQ(b.Row(), 6);
}
