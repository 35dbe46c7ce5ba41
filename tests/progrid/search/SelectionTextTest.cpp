// The selection as text, running numbers, swaps and the row hooks.
#include "tests/progrid/grid/GridFixture.h"
#include <gtest/gtest.h>

TEST(SelectedText, TabsBetweenCellsAndCrLfBetweenRows)
{
    TTestGrid g;
    g.SetColCount(4);
    g.SetRowCount(4);
    g.SetCells(1, 1, "a");
    g.SetCells(2, 1, "b");
    g.SetCells(1, 2, "c");
    g.SetCells(2, 2, "d");
    g.SelectCells(1, 1, 2, 2);
    EXPECT_EQ(g.SelectedText(), "a\tb\r\nc\td");

    // Rich cells give their plain text; multi-line cells are quoted for spreadsheets.
    g.SetCells(1, 1, "{\\rtf1\\ansi {\\b bold} text\\par}");
    g.SetCells(2, 2, "one\r\ntwo");
    g.SetExcelClipboardFormat(true);
    EXPECT_EQ(g.SelectedText(), "bold text\tb\r\nc\t\"one\vtwo\"");

    g.SetOptions(g.Options() + goRowSelect);
    g.DragDropSettings()->SetOleEntireRows(true);
    g.SetCells(0, 2, "row2");
    g.SetExcelClipboardFormat(false);
    g.SelectCells(1, 2, 2, 2);
    EXPECT_EQ(g.SelectedText(), "row2\tc\tone\r\ntwo\t");
}

TEST(SelectedText, FixedCellsAreNeverSelected)
{
    TTestGrid g;
    g.SetColCount(3);
    g.SetRowCount(3);
    g.SelectCells(0, 0, 2, 2);
    EXPECT_FALSE(g.IsSelected(0, 1));
    EXPECT_FALSE(g.IsSelected(1, 0));
    EXPECT_TRUE(g.IsSelected(1, 1));
}

TEST(AutoNumber, ColumnsAndRowsCountFromTheFirstNormalCell)
{
    struct TCase
    {
        TSortDirection Dir;
        int Start, Offset;
        QStringList Expect;
    };
    const TCase cases[] = {
        {sdAscending, 0, 0, {"", "1", "2", "3", "4"}},
        {sdDescending, 0, 0, {"", "4", "3", "2", "1"}},
        {sdAscending, 1, 10, {"", "", "12", "13", "14"}},
    };
    for (const TCase &t : cases) {
        TTestGrid g;
        g.SetColCount(3);
        g.SetRowCount(5);
        g.SetAutoNumberDirection(t.Dir);
        g.SetAutoNumberStart(t.Start);
        g.SetAutoNumberOffset(t.Offset);
        g.AutoNumberCol(1);
        EXPECT_EQ(ReadColumn(g, 1), t.Expect);
    }
    TTestGrid g;
    g.SetColCount(5);
    g.SetRowCount(2);
    g.SetFixedRightCols(1);
    g.SetAutoNumberDirection(sdDescending);
    g.AutoNumberRow(1);
    EXPECT_EQ(g.Cells(1, 1), "3");
    EXPECT_EQ(g.Cells(3, 1), "1");
    EXPECT_EQ(g.Cells(4, 1), "");
}

TEST(Swap, ColumnsTakeTheirTextsWidthsAndSortIndicator)
{
    TTestGrid g;
    g.SetColCount(4);
    g.SetRowCount(3);
    g.SetCells(1, 1, "one");
    g.SetCells(3, 1, "three");
    g.GetCellProperties(3, 2)->SetBrushColor(clRed);
    g.SetColWidths(1, 40);
    g.SetColWidths(3, 90);
    g.SortSettings()->SetColumn(1);
    g.SwapColumns(1, 3);
    EXPECT_EQ(g.Cells(1, 1), "three");
    EXPECT_EQ(g.Cells(3, 1), "one");
    EXPECT_EQ(g.ColWidths(1), 90);
    EXPECT_EQ(g.ColWidths(3), 40);
    EXPECT_EQ(g.SortSettings()->Column(), 3);
    EXPECT_EQ(g.GetCellProperties(1, 2)->BrushColor(), clRed);
    EXPECT_EQ(g.GetCellProperties(1, 2)->OwnerCol(), 1);
}

TEST(Swap, RowsTakeTheirTextsAndHeights)
{
    TTestGrid g;
    g.SetColCount(3);
    g.SetRowCount(4);
    g.SetCells(1, 1, "first");
    g.SetCells(1, 3, "third");
    g.SetRowHeights(3, 40);
    g.SortSettings()->SetColumn(1);
    g.SwapRows(1, 3);
    EXPECT_EQ(g.Cells(1, 1), "third");
    EXPECT_EQ(g.Cells(1, 3), "first");
    EXPECT_EQ(g.RowHeights(1), 40);
    EXPECT_EQ(g.SortSettings()->Column(), 1);
}

TEST(Hooks, DeletingTheOnlyNormalRowClearsIt)
{
    TTestGrid g;
    g.SetColCount(2);
    g.SetRowCount(3);
    g.SetCells(1, 1, "x");
    g.SetCells(1, 2, "y");
    std::vector<int> deleted;
    g.OnAutoDeleteRow = [&](TObject *, int ARow) { deleted.push_back(ARow); };
    g.AutoDeleteRow(1);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.Cells(1, 1), "y");
    g.AutoDeleteRow(1);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.Cells(1, 1), "");
    EXPECT_EQ(deleted, (std::vector<int>{1, 1}));

    g.AutoInsertRow(1);
    EXPECT_EQ(g.RowCount(), 3);
}

TEST(Hooks, EventsReportSelectionAndFixedEditor)
{
    TTestGrid g;
    std::vector<int> sel;
    g.OnSelectionChanged = [&](TObject *, int l, int t, int r, int b) { sel = {l, t, r, b}; };
    g.SelectionChanged(1, 2, 3, 4);
    EXPECT_EQ(sel, (std::vector<int>{1, 2, 3, 4}));
    g.OnFixedEdit = [](TObject *, int, int ARow, TGridFixedCellEditor &E, TStrings *Values) {
        E = ARow == 0 ? fceComboList : fceEdit;
        Values->Add("choice");
    };
    TGridFixedCellEditor e = fceEdit;
    TStringList values;
    g.FixedEdit(1, 0, e, &values);
    EXPECT_EQ(e, fceComboList);
    EXPECT_EQ(values.Count(), 1);
}
