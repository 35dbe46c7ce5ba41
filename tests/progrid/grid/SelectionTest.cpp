// Disjunct row and column selection, modified and disabled rows, the hidden selection.
#include "GridFixture.h"
#include "framework/controls/Forms.h"
#include <gtest/gtest.h>

namespace
{
void ExpectGridError(const std::function<void()> &f, const QString &message)
{
    try {
        f();
        ADD_FAILURE() << "no error";
    } catch (const EProGridError &e) {
        EXPECT_EQ(e.Message(), message);
    }
}
} // namespace

TEST(RowSelection, RangeChecksAndTheRectangleSelection)
{
    TTestGrid g;
    g.SetRowCount(10);
    ExpectGridError([&] { g.RowSelect(10); }, "Invalid row 10 accessed");
    ExpectGridError([&] { g.SetRowSelect(-1, true); }, "Invalid row accessed");
    ExpectGridError([&] { g.ColSelect(5); }, "Invalid column accessed");
    ExpectGridError([&] { g.SetColSelect(-1, true); }, "Invalid column accessed");
    // A selection from row 5 up to row 3.
    g.SetSelection(GridRect(1, 5, 2, 3));
    EXPECT_TRUE(g.RowSelect(4));
    EXPECT_FALSE(g.RowSelect(6));
    EXPECT_EQ(g.RowSelectCount(), 3);
    g.SelectRows(8, 5);
    EXPECT_EQ(g.Selection(), GridRect(1, 8, 4, 9));
    g.SelectCols(2, 2);
    EXPECT_EQ(g.Selection(), GridRect(2, 1, 3, 9));
    EXPECT_EQ(g.ColSelectCount(), 2);
}

TEST(RowSelection, DisjunctRowsKeepTheirOrderAndAskFirst)
{
    TTestGrid g;
    g.SetRowCount(10);
    g.MouseActions()->SetDisjunctRowSelect(true);
    g.SelectRows(8, 5);
    EXPECT_TRUE(g.RowSelect(8));
    EXPECT_TRUE(g.RowSelect(9));
    EXPECT_FALSE(g.RowSelect(7));
    EXPECT_EQ(g.RowSelectCount(), 2);
    g.SetRowSelect(7, true);
    g.SetRowSelect(7, true);
    EXPECT_EQ(g.SelectedRows()->StrValue(), "8,9,7");
    g.SetRowSelect(8, false);
    EXPECT_EQ(g.SelectedRows()->StrValue(), "9,7");

    int asked = 0, told = 0;
    g.OnRowDisjunctSelect = [&](TObject *, int, bool, bool &Allow) {
        ++asked;
        Allow = false;
    };
    g.OnRowDisjunctSelected = [&](TObject *, int) { ++told; };
    g.SetRowSelect(9, false);
    EXPECT_TRUE(g.RowSelect(9));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(told, 0);
    // No change asks nothing.
    g.SetRowSelect(9, true);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(told, 1);

    g.OnRowDisjunctSelect = nullptr;
    g.UnSelectRows(9, 1);
    EXPECT_FALSE(g.RowSelect(9));
    g.ClearRowSelect();
    EXPECT_EQ(g.RowSelectCount(), 0);
    EXPECT_EQ(g.SelectedRows()->Count(), 0);
}

TEST(RowSelection, SelectionToRowSelectAndRemovals)
{
    TTestGrid g;
    FillColumn(g, 0, {"h", "a", "b", "c", "d", "e"});
    g.MouseActions()->SetDisjunctRowSelect(true);
    g.SetSelection(GridRect(1, 2, 1, 3));
    g.SelectionToRowSelect(false);
    EXPECT_EQ(g.SelectedRows()->StrValue(), "2,3");
    g.SetRowSelect(5, true);
    g.ClearSelection();
    EXPECT_EQ(ReadColumn(g, 0), QStringList({"h", "a", "", "", "d", ""}));
    g.RemoveSelectedRows();
    EXPECT_EQ(ReadColumn(g, 0), QStringList({"h", "a", "d"}));
    EXPECT_EQ(g.RowSelectCount(), 0);

    FillColumn(g, 0, {"h", "a", "b", "c"});
    g.SetRowSelect(2, true);
    g.RemoveUnSelectedRows();
    EXPECT_EQ(ReadColumn(g, 0), QStringList({"h", "b"}));
}

TEST(RowSelection, RowRemovalAndInsertionMoveTheFlags)
{
    TTestGrid g;
    g.SetRowCount(10);
    g.MouseActions()->SetDisjunctRowSelect(true);
    g.SetRowSelect(6, true);
    g.RemoveRows(2, 2);
    EXPECT_TRUE(g.RowSelect(4));
    EXPECT_EQ(g.SelectedRows()->StrValue(), "4");
    g.InsertRows(1, 3, true);
    EXPECT_TRUE(g.RowSelect(7));
    EXPECT_FALSE(g.RowSelect(4));
    EXPECT_EQ(g.SelectedRows()->StrValue(), "7");
}

TEST(ColSelection, DisjunctColumnsAndTheirRemoval)
{
    TTestGrid g;
    g.SetColCount(6);
    for (int c = 0; c < 6; ++c)
        g.SetCells(c, 1, QString::number(c));
    g.MouseActions()->SetDisjunctColSelect(true);
    g.SelectCols(2, 2);
    EXPECT_TRUE(g.ColSelect(3));
    EXPECT_EQ(g.ColSelectCount(), 2);
    g.RemoveSelectedCols();
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.Cells(2, 1), "4");
    g.SetColSelect(2, true);
    g.RemoveUnSelectedCols();
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(g.Cells(1, 1), "4");
    EXPECT_EQ(g.ColSelectCount(), 0);
}

TEST(RowState, ModifiedRowsGrowOnDemand)
{
    TTestGrid g;
    g.SetRowCount(12);
    g.SetRowModified(10, true);
    EXPECT_EQ(g.ModifiedRowCount(), 1);
    EXPECT_TRUE(g.RowModified(10));
    EXPECT_FALSE(g.RowModified(9));
    EXPECT_FALSE(g.RowModified(11));
    g.SetRowModified(10, false);
    EXPECT_EQ(g.ModifiedRowCount(), 0);

    g.ShowModified()->SetEnabled(true);
    g.SetRowModified(5, true);
    g.InsertRows(2, 3, true);
    EXPECT_TRUE(g.RowModified(8));
    g.RemoveRows(1, 2);
    EXPECT_TRUE(g.RowModified(6));
    EXPECT_EQ(g.ModifiedRowCount(), 1);
}

TEST(RowState, DisablingTheCurrentRowMovesIt)
{
    TTestGrid g;
    g.SetRowCount(8);
    g.SetRowEnabled(1, false);
    g.SetRow(3);
    g.SetRowEnabled(3, false);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_FALSE(g.RowEnabled(3));
    EXPECT_TRUE(g.RowEnabled(7));
    g.RemoveRows(2, 1);
    EXPECT_FALSE(g.RowEnabled(2));
    EXPECT_FALSE(g.RowEnabled(1));
}

TEST(Selection, HideAndUnhide)
{
    TTestGrid g;
    g.SetRowCount(10);
    g.SetSelection(GridRect(2, 3, 3, 5));
    g.HideSelection();
    EXPECT_TRUE(g.SelHidden());
    EXPECT_EQ(g.Selection().Top, 10);
    g.UnHideSelection();
    EXPECT_EQ(g.Selection(), GridRect(2, 3, 3, 5));
    g.HideSelection();
    g.SetRowCount(3);
    g.UnHideSelection();
    EXPECT_EQ(g.Selection(), GridRect(1, 1, 1, 1));

    g.SetRowCount(10);
    g.SelectRange(1, 2, 4, 6);
    EXPECT_EQ(g.Row(), 6);
    EXPECT_EQ(g.Selection(), GridRect(1, 4, 2, 6));
    g.GotoCell(3, 2);
    EXPECT_EQ(g.Col(), 3);
    EXPECT_EQ(g.Row(), 2);
}

TEST(Selection, SwapCellsExchangesTextsAndProperties)
{
    TTestGrid g;
    g.SetCells(1, 1, "a");
    g.SetColors(1, 1, clRed);
    g.SetCells(2, 3, "b");
    g.SwapCells({1, 1}, {2, 3});
    EXPECT_EQ(g.Cells(1, 1), "b");
    EXPECT_EQ(g.Cells(2, 3), "a");
    EXPECT_EQ(g.GetColors(2, 3), clRed);
    EXPECT_EQ(g.GetGridObject(1, 1), nullptr);
}

TEST(Selection, EditCellOpensTheEditorOnTheCell)
{
    TForm form(nullptr);
    auto *g = new TTestGrid(&form);
    g->SetParent(&form);
    g->SetOptions(g->Options() + goEditing);
    g->SetCells(2, 3, "x");
    form.Show();
    g->EditCell(2, 3);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_TRUE(g->EditorMode());
}

TEST(Repaint, RectanglesOutOfViewRepaintTheWholeGrid)
{
    TForm form(nullptr);
    auto *g = new TTestGrid(&form);
    g->SetParent(&form);
    g->SetRowCount(200);
    form.Show();
    const int before = g->Invalidates;
    g->RepaintRect(TRect(-1, 1, 2, 2));
    EXPECT_EQ(g->Invalidates, before);
    g->RepaintRect(TRect(1, 1, 2, 2));
    EXPECT_EQ(g->Invalidates, before);
    g->RepaintRect(TRect(1, 150, 2, 151));
    EXPECT_EQ(g->Invalidates, before + 1);
}

TEST(Selection, GrowingAGridOfOnlyAFixedRowShowsTheSelectionAgain)
{
    TTestGrid g;
    g.SetFixedRowAlways(true);
    g.SetRowCount(1);
    ASSERT_EQ(g.FixedRows(), 1);
    g.HideSelection();
    g.SetRowCount(5);
    EXPECT_FALSE(g.SelHidden());
    EXPECT_LT(g.Selection().Top, 5);
}
