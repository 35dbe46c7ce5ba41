// Hidden columns and rows, filter levels and the cell access by real row.
#include "GridFixture.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include <gtest/gtest.h>

namespace
{
// A grid of cols x rows whose cell (c, r) reads "c.r".
void FillGrid(TTestGrid &g, int cols, int rows)
{
    g.SetColCount(cols);
    g.SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            g.SetCells(c, r, QString("%1.%2").arg(c).arg(r));
}

// Column c of every display row.
QStringList Column(TTestGrid &g, int c)
{
    QStringList out;
    for (int r = 0; r < g.RowCount(); ++r)
        out << g.GetGridCell(c, r);
    return out;
}

QStringList Rows(std::initializer_list<int> rows, int c = 0)
{
    QStringList out;
    for (int r : rows)
        out << QString("%1.%2").arg(c).arg(r);
    return out;
}

TIntList *MakeList(std::initializer_list<int> values)
{
    auto *l = new TIntList(0, 0);
    for (int v : values)
        l->Add(v);
    return l;
}
} // namespace

TEST(HiddenColumns, HideMapsIndicesAndUnhideGivesBackTextsAndWidth)
{
    TTestGrid g;
    FillGrid(g, 5, 4);
    g.SetColWidths(2, 91);
    g.SetColWidths(3, 33);
    g.HideColumn(2);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.DisplColIndex(3), 2);
    EXPECT_EQ(g.RealColIndex(2), 3);
    EXPECT_TRUE(g.IsHiddenColumn(2));
    EXPECT_EQ(g.ColWidths(2), 33);
    EXPECT_EQ(g.GetAllColWidths(2), 91);
    EXPECT_EQ(g.AllColCount(), 5);
    // Cells stay addressed by real column while hidden.
    g.SetCells(2, 1, "kept");
    g.UnHideColumn(2);
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_FALSE(g.IsHiddenColumn(2));
    EXPECT_EQ(g.Cells(2, 1), "kept");
    EXPECT_EQ(g.Cells(2, 3), "2.3");
    EXPECT_EQ(g.ColWidths(2), 91);
    EXPECT_EQ(g.ColWidths(3), 33);
}

TEST(HiddenColumns, TheLastShownColumnStays)
{
    TTestGrid g;
    FillGrid(g, 5, 2);
    g.HideColumns(0, 4);
    EXPECT_EQ(g.ColCount(), 1);
    EXPECT_EQ(g.NumHiddenColumns(), 4);
    EXPECT_FALSE(g.IsHiddenColumn(4));
    EXPECT_EQ(g.RealColIndex(0), 4);
    g.UnHideColumnsAll();
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.NumHiddenColumns(), 0);
}

TEST(HiddenColumns, AnyColumnOfAWideGridCanBeHidden)
{
    TTestGrid g;
    g.SetColCount(600);
    g.HideColumn(5);
    EXPECT_EQ(g.ColCount(), 599);
    EXPECT_EQ(g.RealColIndex(511), 512);
    EXPECT_EQ(g.DisplColIndex(599), 598);
    EXPECT_EQ(g.RealColIndex(598), 599);
    g.HideColumn(550);
    EXPECT_TRUE(g.IsHiddenColumn(550));
    EXPECT_EQ(g.RealColIndex(548), 549);
    EXPECT_EQ(g.RealColIndex(549), 551);
    g.SetAllColWidths(550, 17);
    EXPECT_EQ(g.GetAllColWidths(550), 17);
    g.UnHideColumn(550);
    EXPECT_EQ(g.ColWidths(g.DisplColIndex(550)), 17);
    EXPECT_FALSE(g.IsHiddenColumn(600));
}

TEST(HiddenColumns, InsertAndRemoveColumnsCarryTheFlags)
{
    TTestGrid g;
    FillGrid(g, 6, 2);
    g.HideColumn(4);
    g.InsertCols(1, 1);
    EXPECT_TRUE(g.IsHiddenColumn(5));
    EXPECT_FALSE(g.IsHiddenColumn(4));
    EXPECT_EQ(g.GetGridCell(5, 1), "4.1");
    // Removing a block that holds the hidden column takes it out of the hidden count too.
    g.RemoveCols(4, 2);
    EXPECT_EQ(g.NumHiddenColumns(), 0);
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.GetGridCell(4, 1), "5.1");
}

TEST(HiddenRows, HideRowsSkipsRowsHiddenAlready)
{
    TTestGrid g;
    FillGrid(g, 3, 10);
    g.HideRow(6);
    EXPECT_EQ(g.RowCount(), 9);
    g.HideRows(5, 7);
    EXPECT_EQ(g.RowCount(), 7);
    EXPECT_EQ(g.NumHiddenRows(), 3);
    EXPECT_EQ(g.GetCellsEx(1, 5), "1.5");
    EXPECT_EQ(g.GetCellsEx(1, 7), "1.7");
    EXPECT_EQ(Column(g, 0), Rows({0, 1, 2, 3, 4, 8, 9}));
    g.HideRows(5, 7);
    EXPECT_EQ(g.RowCount(), 7);
}

TEST(HiddenRows, HideRowMapsIndicesAndUnhideRestoresTheRow)
{
    TTestGrid g;
    FillGrid(g, 4, 8);
    g.HideColumn(2);
    g.SetColors(1, 3, clRed);
    g.SetColors(2, 3, clBlue);
    g.SetRowHeights(3, 40);
    g.HideRow(3);
    EXPECT_EQ(g.DisplRowIndex(4), 3);
    EXPECT_EQ(g.RealRowIndex(3), 4);
    EXPECT_TRUE(g.IsHiddenRow(3));
    EXPECT_EQ(g.AllRowCount(), 8);
    EXPECT_EQ(g.GetCellsEx(2, 3), "2.3");
    g.UnHideRow(3);
    EXPECT_FALSE(g.IsHiddenRow(3));
    EXPECT_EQ(g.RowCount(), 8);
    EXPECT_EQ(g.GetGridCell(0, 3), "0.3");
    EXPECT_EQ(g.GetGridCell(2, 3), "2.3");
    EXPECT_EQ(g.GetColors(1, 3), clRed);
    EXPECT_EQ(g.GetColors(2, 3), clBlue);
    EXPECT_EQ(g.RowHeights(3), 40);
    EXPECT_EQ(Column(g, 3), Rows({0, 1, 2, 3, 4, 5, 6, 7}, 3));
}

TEST(HiddenRows, UnHideRowsAllRestoresEveryRun)
{
    TTestGrid g;
    FillGrid(g, 2, 10);
    g.HideRow(2);
    g.HideRow(3);
    g.HideRow(7);
    EXPECT_EQ(g.RowCount(), 7);
    EXPECT_EQ(g.RealRowIndex(2), 4);
    EXPECT_EQ(g.RealRowIndex(5), 8);
    g.UnHideRowsAll();
    EXPECT_EQ(g.NumHiddenRows(), 0);
    EXPECT_EQ(Column(g, 1), Rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1));
}

TEST(HiddenRows, UnHideRowsOfAMixedRangePutsEachRowInItsPlace)
{
    TTestGrid g;
    FillGrid(g, 2, 10);
    g.HideRow(2);
    g.HideRow(5);
    g.UnHideRows(2, 6);
    EXPECT_EQ(g.NumHiddenRows(), 0);
    EXPECT_EQ(Column(g, 0), Rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(HiddenRows, RowEditsKeepHiddenRowsInStep)
{
    TTestGrid g;
    FillGrid(g, 2, 10);
    g.HideRow(6);
    g.RemoveRows(1, 2);
    EXPECT_TRUE(g.IsHiddenRow(4));
    EXPECT_EQ(g.GetCellsEx(0, 4), "0.6");
    g.InsertRows(1, 1, true);
    EXPECT_TRUE(g.IsHiddenRow(5));
    // A hidden row above the edit keeps its index.
    g.RemoveRows(6, 1);
    EXPECT_TRUE(g.IsHiddenRow(5));
    g.UnHideRowsAll();
    EXPECT_EQ(Column(g, 0), QStringList({"0.0", "", "0.3", "0.4", "0.5", "0.6", "0.7", "0.9"}));
}

TEST(HiddenRows, HideRowsExKeepsOtherHiddenRows)
{
    TTestGrid g;
    FillGrid(g, 2, 10);
    g.HideRow(1);
    g.HideRow(8);
    g.HideRowsEx(4, 5);
    EXPECT_EQ(g.RowCount(), 6);
    for (int r : {1, 4, 5, 8})
        EXPECT_TRUE(g.IsHiddenRow(r)) << r;
    EXPECT_EQ(g.GetCellsEx(1, 8), "1.8");
    EXPECT_EQ(g.GetCellsEx(1, 5), "1.5");
    g.UnHideRowsAll();
    EXPECT_EQ(Column(g, 1), Rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1));
}

TEST(HiddenRows, TwoFilterLevelsComeBackInOrder)
{
    TTestGrid g;
    FillGrid(g, 3, 10);
    g.SetRowHeights(4, 31);
    g.HideColumn(1);
    std::unique_ptr<TIntList> first(MakeList({1, 4, 5, 9}));
    g.HideRowList(first.get());
    EXPECT_EQ(g.FilterLevel(), 1);
    EXPECT_EQ(Column(g, 0), Rows({0, 2, 3, 6, 7, 8}));
    // Display rows of the first level's result.
    std::unique_ptr<TIntList> second(MakeList({0, 3}));
    g.HideRowList(second.get());
    EXPECT_EQ(Column(g, 0), Rows({2, 3, 7, 8}));
    g.UnHideRowList();
    g.SetFilterLevel(g.FilterLevel() - 1);
    EXPECT_EQ(Column(g, 0), Rows({0, 2, 3, 6, 7, 8}));
    g.UnHideRowList();
    g.SetFilterLevel(g.FilterLevel() - 1);
    EXPECT_EQ(Column(g, 0), Rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(Column(g, 1), Rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1));
    EXPECT_EQ(g.RowHeights(4), 31);
    EXPECT_EQ(g.NumHiddenRows(), 0);
}

TEST(HiddenRows, FilterLevelsLeaveRowsHiddenOneByOneAlone)
{
    TTestGrid g;
    FillGrid(g, 2, 10);
    // A filter that rejects no row still opens its level.
    std::unique_ptr<TIntList> none(MakeList({}));
    g.HideRowList(none.get());
    EXPECT_EQ(g.FilterLevel(), 1);
    g.UnHideRowList();
    g.SetFilterLevel(g.FilterLevel() - 1);
    EXPECT_EQ(g.FilterLevel(), 0);
    EXPECT_EQ(g.RowCount(), 10);

    g.HideRow(2);
    std::unique_ptr<TIntList> level(MakeList({4})); // display row 4 is real row 5
    g.HideRowList(level.get());
    EXPECT_EQ(Column(g, 0), Rows({0, 1, 3, 4, 6, 7, 8, 9}));
    g.UnHideRowList();
    g.SetFilterLevel(g.FilterLevel() - 1);
    EXPECT_EQ(Column(g, 0), Rows({0, 1, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_TRUE(g.IsHiddenRow(2));
    EXPECT_EQ(g.GetCellsEx(1, 2), "1.2");
    g.UnHideRowsAll();
    EXPECT_EQ(Column(g, 0), Rows({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(HiddenRows, CellAccessReachesHiddenRows)
{
    TTestGrid g;
    FillGrid(g, 2, 6);
    g.HideRow(3);
    g.SetColCount(7);
    EXPECT_EQ(g.GetGridCellsEx(1, 3), "1.3");
    EXPECT_EQ(g.GetCellsEx(-1, 3), "");
    g.SetCellsEx(5, 3, "far");
    EXPECT_EQ(g.GridItems()->Find(3)->Items()->Count(), 6);
    EXPECT_EQ(g.GetCellsEx(4, 3), "");
    g.SetGridCellsEx(0, 3, "raw");
    EXPECT_THROW(g.SetGridCellsEx(6, 3, "x"), EListError);
    // A visible row is reached through its display row.
    g.SetCellsEx(1, 4, "shown");
    EXPECT_EQ(g.GetGridCell(1, 3), "shown");
    g.UnHideRow(3);
    EXPECT_EQ(g.Cells(5, 3), "far");
    EXPECT_EQ(g.Cells(0, 3), "raw");
    EXPECT_EQ(g.Cells(1, 4), "shown");
}

TEST(HiddenRows, UserObjectsOfHiddenRowsLiveInTheirProperties)
{
    TTestGrid g;
    FillGrid(g, 3, 5);
    TObject user;
    g.HideRow(2);
    g.SetObjectsEx(1, 2, &user);
    EXPECT_EQ(g.GetObjectsEx(1, 2), &user);
    EXPECT_NE(dynamic_cast<TCellProperties *>(g.GetGridObjectsEx(1, 2)), nullptr);
    g.UnHideRow(2);
    EXPECT_EQ(g.GetObjectEx(1, 2), &user);
    EXPECT_EQ(g.GetObjectsEx(1, 2), &user);
}

TEST(HiddenRows, ClearAllAndDestructionFreeTheHiddenRowsProperties)
{
    int freed = 0;
    {
        TTestGrid g;
        FillGrid(g, 3, 8);
        g.SetCellProperties(1, 2, new TCountedProps(&g, 1, 2, freed));
        g.SetCellProperties(1, 5, new TCountedProps(&g, 1, 5, freed));
        g.SetCellProperties(2, 6, new TCountedProps(&g, 2, 6, freed));
        g.HideRow(2);
        std::unique_ptr<TIntList> level(MakeList({4}));
        g.HideRowList(level.get());
        std::unique_ptr<TIntList> level2(MakeList({4}));
        g.HideRowList(level2.get());
        EXPECT_EQ(g.NumHiddenRows(), 3);
        EXPECT_EQ(freed, 0);
    }
    EXPECT_EQ(freed, 3);

    freed = 0;
    TTestGrid g;
    FillGrid(g, 2, 5);
    g.SetCellProperties(0, 1, new TCountedProps(&g, 0, 1, freed));
    g.HideRow(1);
    g.ClearAll();
    EXPECT_EQ(freed, 1);
    g.UnHideRow(1);
    EXPECT_EQ(g.GetGridCell(0, 1), "");
    EXPECT_EQ(g.GetGridObject(0, 1), nullptr);
}

TEST(HiddenRows, HideSelectedAndUnselectedRows)
{
    TTestGrid g;
    FillGrid(g, 2, 8);
    g.MouseActions()->SetDisjunctRowSelect(true);
    g.SetRowSelect(2, true);
    g.SetRowSelect(5, true);
    g.HideSelectedRows();
    EXPECT_EQ(Column(g, 0), Rows({0, 1, 3, 4, 6, 7}));
    EXPECT_TRUE(g.IsHiddenRow(2));
    EXPECT_TRUE(g.IsHiddenRow(5));
    g.UnHideRowsAll();
    g.ClearRowSelect();
    g.SetRowSelect(3, true);
    g.HideUnSelectedRows();
    EXPECT_EQ(Column(g, 0), Rows({0, 3}));
}

TEST(HiddenRows, CellControlsFollowTheirRows)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 600, 400);
    auto *g = new TTestGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 500, 300);
    auto *panel = new TPanel(&form);
    panel->SetParent(g);
    FillGrid(*g, 4, 8);
    g->GetCellProperties(2, 3)->SetControl(panel);
    form.Show();
    g->CellControlsUpdate(true);
    ASSERT_EQ(g->ControlList()->Count(), 1);
    const TRect cell = g->TCustomGrid::CellRect(2, 3);
    EXPECT_TRUE(panel->Visible());
    EXPECT_EQ(panel->Left(), cell.Left - 1);
    EXPECT_EQ(panel->Top(), cell.Top - 1);
    EXPECT_EQ(panel->Width(), cell.Right - cell.Left + 1);
    g->HideRow(3);
    EXPECT_FALSE(panel->Visible());
    g->UnHideRow(3);
    EXPECT_TRUE(panel->Visible());
    g->HideColumn(2);
    g->CellControlsUpdate(false);
    EXPECT_FALSE(panel->Visible());
}
