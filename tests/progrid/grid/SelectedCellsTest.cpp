// Which cells, rows and columns are selected, in the rectangle and in the disjunct selections;
// clearing the cell selection and the modified rows.
#include "GridFixture.h"
#include "framework/rtl/Classes.h"
#include <gtest/gtest.h>

namespace {

QString CellsListed(TProStringGrid &g)
{
    QStringList out;
    const int n = g.SelectedCellsCount();
    for (int i = 0; i < n; ++i) {
        const TGridCoord c = g.GetSelectedCell(i);
        out << QStringLiteral("%1:%2").arg(c.X).arg(c.Y);
    }
    return out.join(' ');
}

} // namespace

TEST(SelectedCells, TheRectangleIsListedColumnByColumn)
{
    TTestGrid g;
    g.SetColCount(6);
    g.SetRowCount(8);
    // Three columns by two rows, selected from its bottom-right corner.
    g.SetSelection(GridRect(4, 3, 2, 2));
    EXPECT_EQ(g.SelectedCellsCount(), 6);
    EXPECT_EQ(g.GetSelectedCell(0), (TGridCoord{2, 2}));
    EXPECT_EQ(g.GetSelectedCell(1), (TGridCoord{2, 3}));
    EXPECT_EQ(CellsListed(g), "2:2 2:3 3:2 3:3 4:2 4:3");
    EXPECT_THROW(g.GetSelectedCell(6), EListError);
    EXPECT_THROW(g.GetSelectedCell(-1), EListError);
    EXPECT_TRUE(g.SelectedCells(3, 3));
    EXPECT_TRUE(g.SelectedCells(2, 2));
    EXPECT_FALSE(g.SelectedCells(5, 3));
    EXPECT_FALSE(g.SelectedCells(3, 4));

    // Counting again lists the new rectangle only.
    g.FocusCell(5, 7);
    EXPECT_EQ(CellsListed(g), "5:7");
}

TEST(SelectedCells, TheDisjunctSelectionIsItsOwnList)
{
    TTestGrid g;
    g.SetColCount(6);
    g.SetRowCount(8);
    g.MouseActions()->SetDisjunctCellSelect(true);
    g.SetSelection(GridRect(1, 1, 3, 3));
    EXPECT_EQ(g.SelectedCellsCount(), 0) << "the rectangle is not the disjunct selection";
    g.SetSelectedCells(4, 6, true);
    g.SetSelectedCells(2, 1, true);
    g.SetSelectedCells(4, 6, true);
    EXPECT_EQ(CellsListed(g), "4:6 2:1");
    EXPECT_TRUE(g.SelectedCells(2, 1));
    EXPECT_FALSE(g.SelectedCells(2, 2));
    g.SetSelectedCells(4, 6, false);
    g.SetSelectedCells(5, 5, false);
    EXPECT_EQ(CellsListed(g), "2:1");

    g.ClearSelectedCells();
    EXPECT_EQ(g.SelectedCellsCount(), 0);
    EXPECT_EQ(g.Selection(), GridRect(1, 1, 1, 1));
}

TEST(SelectedCells, ClearingReturnsToTheFirstNormalCell)
{
    TTestGrid g;
    g.SetColCount(6);
    g.SetRowCount(8);
    g.SetFixedCols(2);
    g.SetFixedRows(3);
    g.SetSelection(GridRect(3, 4, 5, 7));
    EXPECT_EQ(g.SelectedCellsCount(), 12);
    const int before = g.Invalidates;
    g.ClearSelectedCells();
    EXPECT_EQ(g.Selection(), GridRect(2, 3, 2, 3));
    EXPECT_EQ(g.SelectedCellsCount(), 1);
    EXPECT_EQ(g.GetSelectedCell(0), (TGridCoord{2, 3}));
    EXPECT_GT(g.Invalidates, before);
}

TEST(SelectedRows, RowsOfTheRectangleAndOfMergedBlocks)
{
    TTestGrid g;
    g.SetColCount(8);
    g.SetRowCount(12);
    g.SetSelection(GridRect(2, 6, 3, 5));
    EXPECT_EQ(g.SelectedRowCount(), 2);
    EXPECT_EQ(g.GetSelectedRow(0), 5);
    EXPECT_EQ(g.GetSelectedRow(1), 6);
    EXPECT_EQ(g.GetSelectedRow(2), -1);
    EXPECT_EQ(g.GetSelectedRow(-1), -1);

    // Column 1, rows 2 to 4 are one cell; columns 4 to 6 of row 8 another.
    g.MergeCells(1, 2, 1, 3);
    g.MergeCells(4, 8, 3, 1);
    struct TCase
    {
        TGridRect Sel;
        int Rows, Cols;
    };
    const TCase cases[] = {
        {GridRect(1, 2, 1, 3), 3, 1},  // starts on the block and stays inside it
        {GridRect(1, 3, 1, 3), 3, 1},  // a cell inside the block
        {GridRect(1, 1, 1, 3), 4, 1},  // ends inside the block: rows 1 to 4
        {GridRect(1, 2, 2, 6), 5, 2},  // starts on the block and runs past it
        {GridRect(4, 8, 4, 8), 1, 3},  // the three merged columns
        {GridRect(2, 8, 5, 8), 1, 5},  // ends inside them: columns 2 to 6
        {GridRect(2, 5, 3, 9), 5, 2},  // no merged corner
    };
    for (const TCase &c : cases) {
        g.SetSelection(c.Sel);
        EXPECT_EQ(g.SelectedRowCount(), c.Rows) << c.Sel.Left << "," << c.Sel.Top << "-" << c.Sel.Right << "," << c.Sel.Bottom;
        EXPECT_EQ(g.SelectedColCount(), c.Cols) << c.Sel.Left << "," << c.Sel.Top << "-" << c.Sel.Right << "," << c.Sel.Bottom;
    }
}

TEST(SelectedRows, TheDisjunctSelectionsCountTheirEntries)
{
    TTestGrid g;
    g.SetColCount(8);
    g.SetRowCount(12);
    g.MouseActions()->SetDisjunctRowSelect(true);
    g.SetRowSelect(9, true);
    g.SetRowSelect(3, true);
    EXPECT_EQ(g.SelectedRowCount(), 2);
    EXPECT_EQ(g.GetSelectedRow(0), 9);
    EXPECT_EQ(g.GetSelectedRow(1), 3);
    EXPECT_EQ(g.GetSelectedRow(2), -1);

    g.MouseActions()->SetDisjunctColSelect(true);
    g.SetColSelect(2, true);
    g.SetColSelect(5, true);
    // Reading a flag far out grows the flag list; the count stays that of the flagged columns.
    EXPECT_FALSE(g.ColSelect(7));
    EXPECT_EQ(g.SelectedColCount(), 2);
}

TEST(ModifiedRows, ClearingForgetsEveryMark)
{
    TTestGrid g;
    g.SetRowCount(6);
    g.SetRowModified(2, true);
    g.SetRowModified(4, true);
    EXPECT_EQ(g.ModifiedRowCount(), 2);
    const int before = g.Invalidates;
    g.ClearModifiedRows();
    EXPECT_EQ(g.ModifiedRowCount(), 0);
    EXPECT_FALSE(g.RowModified(4));
    EXPECT_GT(g.Invalidates, before);
}
