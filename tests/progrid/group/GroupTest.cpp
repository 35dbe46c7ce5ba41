// Grouping rows by a column, the group calculations, moves with cell controls and the column order.
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "tests/progrid/grid/GridFixture.h"
#include <gtest/gtest.h>

namespace {

// One fixed row; column 1 names, column 2 the groups, column 3 numbers.
void Fill(TProStringGrid &g)
{
    g.SetColCount(4);
    g.SetRowCount(5);
    g.SetFixedRows(1);
    g.SetFixedCols(1);
    const char *names[] = {"n1", "n2", "n3", "n4"};
    const char *groups[] = {"A", "A", "B", "B"};
    const char *values[] = {"1", "2", "4", "8"};
    g.SetCells(2, 0, "group");
    for (int r = 1; r <= 4; ++r) {
        g.SetCells(1, r, names[r - 1]);
        g.SetCells(2, r, groups[r - 1]);
        g.SetCells(3, r, values[r - 1]);
    }
    g.SetColWidths(2, 77);
}

QStringList Column(TProStringGrid &g, int c) { return ReadColumn(g, c); }

} // namespace

TEST(Group, HeadersBecomeNodesAndTheColumnGoes)
{
    TTestGrid g;
    Fill(g);
    g.Group(2);
    EXPECT_EQ(g.GroupColumn(), 2);
    ASSERT_EQ(g.RowCount(), 7);
    EXPECT_EQ(g.ColCount(), 3);
    EXPECT_EQ(Column(g, 1), (QStringList{"", "A", "n1", "n2", "B", "n3", "n4"}));
    EXPECT_EQ(Column(g, 2), (QStringList{"", "", "1", "2", "", "4", "8"}));
    EXPECT_TRUE(g.IsNode(1));
    EXPECT_EQ(g.GetNodeSpan(1), 3);
    EXPECT_TRUE(g.IsNode(4));
    EXPECT_EQ(g.GetNodeSpan(4), 3);
    EXPECT_FALSE(g.IsNode(2));
    EXPECT_EQ(g.Row(), 1);

    g.UnGroup();
    EXPECT_EQ(g.GroupColumn(), -1);
    ASSERT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(Column(g, 1), (QStringList{"", "n1", "n2", "n3", "n4"}));
    EXPECT_EQ(Column(g, 2), (QStringList{"group", "A", "A", "B", "B"}));
    EXPECT_EQ(Column(g, 3), (QStringList{"", "1", "2", "4", "8"}));
    EXPECT_EQ(g.ColWidths(2), 77);
    EXPECT_EQ(g.NumNodes(), 0);
}

TEST(Group, SummaryRowsTakeTheGroupCalculations)
{
    TTestGrid g;
    Fill(g);
    g.Grouping()->SetSummary(true);
    g.Group(2);
    ASSERT_EQ(g.RowCount(), 9);
    EXPECT_EQ(Column(g, 1), (QStringList{"", "A", "n1", "n2", "", "B", "n3", "n4", ""}));
    EXPECT_TRUE(g.IsSummary(4));
    EXPECT_TRUE(g.IsSummary(8));
    g.GroupSum(2);
    EXPECT_DOUBLE_EQ(g.Floats(2, 4), 3.0);
    EXPECT_DOUBLE_EQ(g.Floats(2, 8), 12.0);
    EXPECT_EQ(g.Cells(2, 1), "");
    g.GroupCount(2);
    EXPECT_EQ(g.Cells(2, 4), "2");
    g.GroupMax(2);
    EXPECT_DOUBLE_EQ(g.Floats(2, 8), 8.0);
    g.GroupAvg(2);
    EXPECT_DOUBLE_EQ(g.Floats(2, 4), 1.5);

    g.UnGroup();
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(Column(g, 2), (QStringList{"group", "A", "A", "B", "B"}));
}

TEST(Group, CalculationsWithoutSummaryGoToTheHeaderAndSkipContractedNodes)
{
    TTestGrid g;
    Fill(g);
    g.Group(2);
    g.ContractNode(4);
    g.GroupSum(2);
    EXPECT_DOUBLE_EQ(g.Floats(2, 1), 3.0);
    EXPECT_EQ(g.Cells(2, 4), "");
    double seen = -1;
    g.OnGroupCalc = [&](TObject *, int, int FromRow, int ToRow, double &Res) {
        seen = FromRow * 10 + ToRow;
        Res = 42;
    };
    g.GroupCustomCalc(2);
    EXPECT_DOUBLE_EQ(seen, 23);
    EXPECT_DOUBLE_EQ(g.Floats(2, 1), 42.0);
}

TEST(Group, ColumnPropertyAndEdgesThatChangeNothing)
{
    TTestGrid g;
    Fill(g);
    g.SetGroupColumn(0);
    EXPECT_EQ(g.GroupColumn(), -1);
    g.Group(0);
    EXPECT_EQ(g.RowCount(), 5);
    g.SetGroupColumn(2);
    EXPECT_EQ(g.RowCount(), 7);
    // Grouping again ungroups first.
    g.SetGroupColumn(3);
    EXPECT_EQ(g.GroupColumn(), 3);
    EXPECT_EQ(g.Cells(1, 1), "1");
    g.SetGroupColumn(-1);
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(Column(g, 2), (QStringList{"group", "A", "A", "B", "B"}));
}

TEST(Group, GroupingByColumnOneWritesTheHeaderNextToIt)
{
    TTestGrid g;
    Fill(g);
    g.Group(1);
    // The names were the group values; the header text ends in the column that moved into 1.
    EXPECT_EQ(g.Cells(1, 1), "n1");
    EXPECT_TRUE(g.IsNode(1));
    g.UnGroup();
    EXPECT_EQ(Column(g, 1), (QStringList{"", "n1", "n2", "n3", "n4"}));
    EXPECT_EQ(Column(g, 2), (QStringList{"group", "A", "A", "B", "B"}));
}

TEST(Moves, CellControlsFollowTheirColumns)
{
    TForm form(nullptr);
    TTestGrid *g = new TTestGrid(&form);
    g->SetParent(&form);
    g->SetColCount(5);
    g->SetRowCount(3);
    TCheckBox *boxes[4];
    for (int c = 1; c <= 3; ++c) {
        boxes[c] = new TCheckBox(&form);
        boxes[c]->SetParent(g);
        g->ControlList()->AddControl(c, 1, boxes[c]);
    }
    g->SetCells(1, 1, "one");
    g->MoveColumn(1, 3);
    EXPECT_EQ(g->Cells(3, 1), "one");
    auto columnOf = [&](TCheckBox *b) {
        for (int i = 0; i < g->ControlList()->Count(); ++i)
            if (g->ControlList()->GetControl(i)->FObject == b)
                return g->ControlList()->GetControl(i)->FX;
        return -1;
    };
    EXPECT_EQ(columnOf(boxes[1]), 3);
    EXPECT_EQ(columnOf(boxes[2]), 1);
    EXPECT_EQ(columnOf(boxes[3]), 2);

    g->SetCells(1, 2, "row2");
    g->MoveRow(2, 1);
    EXPECT_EQ(g->Cells(1, 1), "row2");
}

TEST(ColumnOrder, ResetBringsMovedAndHiddenColumnsBack)
{
    TTestGrid g;
    g.SetColCount(5);
    for (int c = 0; c < 5; ++c)
        g.SetCells(c, 0, QString("h%1").arg(c));
    g.SetColumnOrder();
    g.MoveColumn(1, 3);
    EXPECT_EQ(g.Cells(3, 0), "h1");
    EXPECT_EQ(g.ColumnOrder()->GetInteger(3), 1);
    g.HideColumn(4);
    EXPECT_EQ(g.ColCount(), 4);
    g.ResetColumnOrder();
    EXPECT_EQ(g.ColCount(), 5);
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(g.Cells(c, 0), QString("h%1").arg(c));
}

TEST(ColumnOrder, ColumnsAddedLaterJoinTheList)
{
    TTestGrid g;
    g.SetColCount(3);
    g.SetColumnOrder();
    g.SetColCount(5);
    for (int c = 0; c < 5; ++c)
        g.SetCells(c, 0, QString("h%1").arg(c));
    g.MoveColumn(4, 1);
    EXPECT_EQ(g.Cells(1, 0), "h4");
    EXPECT_NO_THROW(g.ResetColumnOrder());
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(g.Cells(c, 0), QString("h%1").arg(c));
}

TEST(ScrollInView, AVisibleCellMovesNothingAndAFarOneComesIntoView)
{
    TTestGrid g;
    g.SetBounds(0, 0, 300, 200);
    g.SetColCount(30);
    g.SetRowCount(100);
    g.FocusCell(2, 2);
    g.ScrollInView(1, 3);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.TopRow(), 1);
    EXPECT_EQ(g.LeftCol(), 1);
    g.ScrollInView(20, 60);
    EXPECT_EQ(g.Col(), 20);
    EXPECT_EQ(g.Row(), 60);
    EXPECT_LE(g.TopRow(), 60);
    EXPECT_GT(g.TopRow() + g.VisibleRowCount(), 60);
    EXPECT_LE(g.LeftCol(), 20);
    EXPECT_GT(g.LeftCol() + g.VisibleColCount(), 20);
    g.ScrollInView(40, 1);
    EXPECT_EQ(g.Col(), 20);
}

TEST(SubGroup, SecondLevelInsideTheGroupsAndBack)
{
    TTestGrid g;
    g.SetColCount(5);
    g.SetRowCount(5);
    const char *outer[] = {"A", "A", "B", "B"};
    const char *inner[] = {"x", "y", "x", "x"};
    for (int r = 1; r <= 4; ++r) {
        g.SetCells(1, r, QString("n%1").arg(r));
        g.SetCells(2, r, outer[r - 1]);
        g.SetCells(3, r, inner[r - 1]);
        g.SetCells(4, r, QString("z%1").arg(r));
    }
    g.Group(2);
    ASSERT_EQ(Column(g, 2), (QStringList{"", "", "x", "y", "", "x", "x"}));
    g.SubGroup(2);
    EXPECT_EQ(g.GroupColumn(), 2);
    EXPECT_EQ(Column(g, 1), (QStringList{"", "A", "", "n1", "", "n2", "B", "", "n3", "n4"}));
    EXPECT_EQ(Column(g, 2), (QStringList{"", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(Column(g, 3), (QStringList{"", "", "x", "z1", "y", "z2", "", "x", "z3", "z4"}));
    const std::pair<int, int> spans[] = {{2, 2}, {4, 2}, {7, 3}};
    for (const auto &[row, span] : spans) {
        ASSERT_TRUE(g.IsNode(row)) << row;
        EXPECT_EQ(g.GetNodeSpan(row), span) << row;
    }
    EXPECT_EQ(g.GetNodeSpan(1), 5);

    g.SubUnGroup(2);
    EXPECT_EQ(Column(g, 1), (QStringList{"", "A", "n1", "n2", "B", "n3", "n4"}));
    EXPECT_EQ(Column(g, 2), (QStringList{"", "", "x", "y", "", "x", "x"}));
    EXPECT_EQ(Column(g, 3), (QStringList{"", "", "z1", "z2", "", "z3", "z4"}));
    EXPECT_TRUE(g.IsNode(1));
    EXPECT_FALSE(g.IsNode(2));

    // The last column has no neighbour for its headers: nothing happens.
    const int rows = g.RowCount();
    g.SubGroup(g.ColCount() - 1);
    EXPECT_EQ(g.RowCount(), rows);
}
