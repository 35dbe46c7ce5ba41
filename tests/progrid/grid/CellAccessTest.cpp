// Cell access by real column and row, and the current cell.
#include "GridFixture.h"
#include <gtest/gtest.h>

TEST(CellAccess, CellsExMatchesCellsWithoutHiddenRowsOrColumns)
{
    TTestGrid g;
    g.SetCells(1, 1, "base");
    g.MergeCells(1, 1, 2, 2);
    g.SetCells(4, 9, "z");
    for (int c = 0; c < g.ColCount(); ++c)
        for (int r = 0; r < g.RowCount(); ++r)
            EXPECT_EQ(g.GetCellsEx(c, r), g.GetCellEx(c, r));
    g.SetCellsEx(2, 2, "w");
    EXPECT_EQ(g.GetGridCellsEx(1, 1), "w");
    EXPECT_EQ(g.AllColCount(), 5);
    EXPECT_EQ(g.AllRowCount(), 10);
}

TEST(CellAccess, ObjectsExGiveTheUserObject)
{
    TTestGrid g;
    TObject user;
    g.SetObjectsEx(2, 3, &user);
    EXPECT_EQ(g.GetObjectsEx(2, 3), &user);
    EXPECT_EQ(g.GetGridObjectsEx(2, 3), g.GetCellProperties(2, 3));
    EXPECT_EQ(g.Cells(2, 3), "");
    EXPECT_EQ(g.GetObjectsEx(3, 3), nullptr);
}

TEST(CellAccess, CurrentCellResolvesMergedBlocks)
{
    TTestGrid g;
    g.SetCells(2, 3, "block");
    g.MergeCells(2, 3, 2, 2);
    g.FocusCell(3, 4, true);
    EXPECT_EQ(g.CurrentCell(), "block");
    g.OnGetDisplText = [](TObject *, int, int, QString &v) { v = v.toUpper(); };
    EXPECT_EQ(g.CurrentCellDisplayText(), "BLOCK");
    g.SetCurrentCell("new");
    EXPECT_EQ(g.GetGridCell(2, 3), "new");
    EXPECT_EQ(g.GetEditText(3, 4), "new");
    g.SetEditText(3, 4, "edited");
    EXPECT_EQ(g.GetGridCell(2, 3), "edited");
    EXPECT_EQ(g.GetGridCell(3, 4), "");
}
