// Tree rows: node levels and parents, contracting and expanding nested nodes, rows inserted and
// removed under nodes, the glyph's hit area, and nodes together with filters, Clear and freeing.
#include "../grid/GridFixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class TTreeGrid : public TTestGrid
{
public:
    using TBaseGrid::HasCellProperties;
    using TProStringGrid::GetGridObjectsEx;
};

// One fixed row, rows 0 .. rows - 1 with "r<n>" in column 1.
void Fill(TTreeGrid &g, int rows)
{
    g.SetColCount(3);
    g.SetRowCount(rows);
    for (int r = 0; r < rows; ++r)
        g.SetCells(1, r, QString("r%1").arg(r));
}

// The real rows shown, read back from their texts.
std::vector<int> Shown(TTreeGrid &g)
{
    std::vector<int> out;
    for (int r = 0; r < g.RowCount(); ++r)
        out.push_back(g.Cells(1, r).mid(1).toInt());
    return out;
}

int Level(TTreeGrid &g, int ARow)
{
    return g.HasCellProperties(0, ARow) ? g.GetCellProperties(0, ARow)->NodeLevel() : 0;
}

TCellGraphic *Graphic(TTreeGrid &g, int ARow) { return dynamic_cast<TCellGraphic *>(g.GetGraphicObjectEx(0, ARow)); }

// The state of a node on a hidden row, read from the row's stored properties.
bool HiddenNodeContracted(TTreeGrid &g, int ARealRow)
{
    auto *props = dynamic_cast<TCellProperties *>(g.GetGridObjectsEx(0, ARealRow));
    auto *node = props ? dynamic_cast<TCellGraphic *>(props->GraphicObject()) : nullptr;
    return node && node->CellType() == ctNode && node->CellBoolean();
}

// Rows 0 .. 5 (or more); node 1 spans 3 rows and node 2 inside it 2 rows.
void Nested(TTreeGrid &g, int rows = 6)
{
    Fill(g, rows);
    g.AddNode(1, 3);
    g.AddNode(2, 2);
}

} // namespace

TEST(TreeRows, AddNodeRaisesLevelsOfItsSpanAndParentsFollowThem)
{
    TTreeGrid g;
    Fill(g, 6);
    EXPECT_EQ(g.GetParentRow(3), -1) << "no node in the grid";
    g.SetCol(0);
    g.AddNode(1, 3);
    EXPECT_EQ(g.Col(), 1) << "the current column leaves the glyph column";
    EXPECT_EQ((std::vector<int>{Level(g, 1), Level(g, 2), Level(g, 3), Level(g, 4)}), (std::vector<int>{1, 1, 1, 0}));
    g.AddNode(2, 2);
    EXPECT_EQ((std::vector<int>{Level(g, 1), Level(g, 2), Level(g, 3), Level(g, 4)}), (std::vector<int>{1, 2, 2, 0}));
    EXPECT_EQ(g.NumNodes(), 2);

    const TCellGraphic *node = Graphic(g, 2);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->CellType(), ctNode);
    EXPECT_EQ(node->CellAngle(), 2);
    EXPECT_EQ(node->CellHAlign(), haBeforeText);
    EXPECT_EQ(node->CellVAlign(), vaCenter);
    EXPECT_EQ(node->CellVar().AsInteger(), -1);
    EXPECT_EQ(g.Cells(1, 2), "r2") << "the row keeps its text";

    struct
    {
        int Row, Parent, Level, Span, SubNodes;
    } cases[] = {
        {1, 1, 1, 3, 0},    // a top-level node is its own parent
        {2, 1, 2, 2, 0},    // a nested node answers its outer node
        {3, 2, -1, -1, 0},  // a child row answers the node it sits in
        {4, -1, -1, -1, 0}, // outside every node
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Row);
        EXPECT_EQ(g.GetParentRow(c.Row), c.Parent);
        EXPECT_EQ(g.GetNodeLevel(c.Row), c.Level);
        EXPECT_EQ(g.GetNodeSpan(c.Row), c.Span);
        EXPECT_EQ(g.GetSubNodeCount(c.Row), c.SubNodes);
    }
    // The span and state setters leave rows that are no node alone.
    g.SetNodeSpan(4, 9);
    g.UpdateSubNodeCount(4, 2);
    g.SetNodeState(4, true);
    EXPECT_EQ(g.GetNodeSpan(4), -1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    g.UpdateNodeSpan(2, 3);
    g.UpdateSubNodeCount(2, 1);
    EXPECT_EQ(g.GetNodeSpan(2), 5);
    EXPECT_EQ(g.GetSubNodeCount(2), 1);
}

TEST(TreeRows, ContractingAnOuterNodeHidesEachRowOnceAndExpandingBringsThemBack)
{
    TTreeGrid g;
    Nested(g);
    g.SetColors(2, 3, clRed);
    g.ContractNode(1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 4, 5}));
    EXPECT_TRUE(g.GetNodeState(1));
    EXPECT_EQ(g.NumHiddenRows(), 2);
    g.ExpandNode(1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(g.GetNodeState(1));
    EXPECT_EQ(g.GetColors(2, 3), clRed) << "hidden rows keep their cell properties";

    // The inner node first: contracting the outer one around it hides row 2 and only row 2.
    g.ContractNode(2);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 4, 5}));
    g.SetNodeState(1, true);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 4, 5}));
    EXPECT_EQ(g.NumHiddenRows(), 2);
    EXPECT_FALSE(HiddenNodeContracted(g, 2)) << "the inner node is marked expanded";
    g.SetNodeState(1, false);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(g.GetNodeState(2));
    EXPECT_EQ(g.GetNodeLevel(2), 2);
    EXPECT_EQ(g.GetParentRow(3), 2);

    // A contracted node below another contracted one still finds its parent.
    g.ContractNode(2);
    EXPECT_EQ(g.GetParentRow(4), -1);
    EXPECT_EQ(g.GetParentRow(2), 1);
}

TEST(TreeRows, ExpandOneContractsTheNodeOpenBeforeButNotTheOnesAround)
{
    TTreeGrid g;
    Fill(g, 8);
    g.AddNode(1, 3); // rows 1 .. 3
    g.AddNode(4, 4); // rows 4 .. 7
    g.AddNode(5, 2); // rows 5 .. 6
    g.CellNode()->SetExpandOne(true);
    g.ContractNode(5);
    g.ContractNode(4);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4}));
    g.ExpandNode(4);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 4, 5, 6, 7})) << "node 1 was open and is contracted";
    EXPECT_TRUE(g.GetNodeState(1));
    g.ExpandNode(1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4}));
    // The nested node opens inside its open parent.
    g.ExpandNode(4);
    g.ContractNode(5);
    g.ExpandNode(5);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 4, 5, 6, 7}));
}

TEST(TreeRows, SpanZeroReachesTheNextNodeRowOrTheEnd)
{
    TTreeGrid g;
    Fill(g, 7);
    g.AddNode(1, 0);
    g.AddNode(4, 2);
    g.ContractNode(1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 4, 5, 6}));
    g.ExpandNode(1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    g.RemoveNode(4);
    g.ContractNode(1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1}));
    EXPECT_EQ(g.GetParentRow(1), 1);
    g.ExpandNode(1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

TEST(TreeRows, ExpandAllAndContractAll)
{
    TTreeGrid g;
    Fill(g, 9);
    g.AddNode(1, 4); // rows 1 .. 4
    g.AddNode(2, 2); // rows 2 .. 3
    g.AddNode(5, 3); // rows 5 .. 7
    g.ContractAll();
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 5, 8}));
    EXPECT_TRUE(g.GetNodeState(1));
    EXPECT_TRUE(g.GetNodeState(2)) << "display row 2 is node 5";
    EXPECT_EQ(g.FilterLevel(), 0) << "contracted rows are no filter level";
    g.ExpandNode(1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4, 5, 8}));
    EXPECT_FALSE(g.GetNodeState(2)) << "the nested node stays marked expanded";
    g.ContractNode(2);
    g.ExpandAll();
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    for (int r : {1, 2, 5})
        EXPECT_FALSE(g.GetNodeState(r)) << r;
}

TEST(TreeRows, ContractedRowsSurviveFiltersAndComeBackOnlyByExpanding)
{
    TTreeGrid g;
    Fill(g, 9);
    g.SetCells(2, 8, "drop");
    g.AddNode(1, 3); // rows 1 .. 3
    g.AddNode(4, 3); // rows 4 .. 6
    TFilterData *item = g.Filter()->Add();
    item->SetColumn(2);
    item->SetCondition("!drop");
    // A filter first, then every node contracted, then the filter taken off.
    g.ApplyFilter();
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    g.ContractAll();
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 4, 7}));
    EXPECT_EQ(g.FilterLevel(), 1);
    g.RemoveAllFilters();
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 4, 7, 8})) << "the filtered row comes back in place, nodes stay shut";
    EXPECT_EQ(g.Cells(2, 4), "drop");
    g.ExpandNode(4);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 4, 5, 6, 7, 8}));
    g.ExpandNode(1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));

    // A node contracted over a filtered row: expanding shows the node's rows, never that one.
    g.SetCells(2, 8, "");
    g.SetCells(2, 3, "drop");
    g.ApplyFilter();
    g.ContractNode(1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 4, 5, 6, 7, 8}));
    g.ExpandNode(1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 4, 5, 6, 7, 8}));
    g.RemoveAllFilters();
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(TreeRows, RemovingNodesLowersLevelsAndReachesRowsAFilterHides)
{
    TTreeGrid g;
    Nested(g, 8);
    g.AddNode(5, 2);
    g.ContractNode(5);
    g.RemoveNode(2);
    EXPECT_EQ((std::vector<int>{Level(g, 1), Level(g, 2), Level(g, 3)}), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(g.GetNodeLevel(2), -1);
    EXPECT_EQ(g.NumNodes(), 2);
    g.RemoveNode(3); // no node: nothing changes
    EXPECT_EQ(g.NumNodes(), 2);

    // Node 1 hidden by a filter is removed as well; contracted node 5's rows come back.
    g.SetCells(2, 1, "drop");
    TFilterData *item = g.Filter()->Add();
    item->SetColumn(2);
    item->SetCondition("!drop");
    g.SetFilterNormalCellsOnly(false);
    g.ApplyFilter();
    g.RemoveAllNodes();
    EXPECT_EQ(g.NumNodes(), 0);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 2, 3, 4, 5, 6, 7}));
    g.RemoveAllFilters();
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    for (int r = 0; r < 8; ++r) {
        EXPECT_FALSE(g.IsNode(r)) << r;
        EXPECT_EQ(Level(g, r), 0) << r;
    }
}

TEST(TreeRows, InsertChildRowOnANodeRowMovesItsContentsIntoTheNewRow)
{
    TTreeGrid g;
    Fill(g, 5);
    g.SetCells(0, 1, "n");
    g.SetCells(2, 1, "x");
    g.SetColors(2, 1, clRed);
    g.AddNode(1, 2);
    g.InsertChildRow(1, 0);
    EXPECT_EQ(g.RowCount(), 6);
    EXPECT_TRUE(g.IsNode(1));
    EXPECT_EQ((QStringList{g.Cells(0, 1), g.Cells(1, 1), g.Cells(2, 1)}), (QStringList{"", "", ""}));
    EXPECT_FALSE(g.HasCellProperties(2, 1)) << "the header keeps only its glyph";
    EXPECT_EQ((QStringList{g.Cells(0, 2), g.Cells(1, 2), g.Cells(2, 2)}), (QStringList{"n", "r1", "x"}));
    EXPECT_EQ(g.GetColors(2, 2), clRed);
    EXPECT_EQ(g.Cells(1, 3), "r2");
    EXPECT_EQ(g.GetNodeSpan(1), 3);
    EXPECT_EQ(g.GetSubNodeCount(1), 1);
    EXPECT_EQ(Level(g, 2), 1);
    g.ContractNode(1);
    EXPECT_EQ(g.RowCount(), 4) << "the new row belongs to the node";
}

TEST(TreeRows, ChildRowsUnderANestedNodeKeepTheDataCountOfEveryAncestor)
{
    TTreeGrid g;
    Fill(g, 7);
    g.AddNode(1, 4); // rows 1 .. 4, level 1
    g.AddNode(2, 3); // rows 2 .. 4, level 2
    auto dataRows = [&](int r) { return g.GetNodeSpan(r) - g.GetSubNodeCount(r) - 1; };
    g.InsertChildRow(3, 1);
    EXPECT_EQ(g.Cells(1, 4), "");
    EXPECT_EQ(g.Cells(1, 5), "r4");
    EXPECT_EQ(Level(g, 4), 2);
    EXPECT_EQ((std::vector<int>{g.GetNodeSpan(1), g.GetSubNodeCount(1), dataRows(1)}), (std::vector<int>{5, 1, 3}));
    EXPECT_EQ((std::vector<int>{g.GetNodeSpan(2), g.GetSubNodeCount(2), dataRows(2)}), (std::vector<int>{4, 1, 2}));
    g.ContractNode(1);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 5, 6}));
    g.ExpandNode(1);

    const int maxRows = g.FMaxRowCount;
    g.RemoveChildRow(4);
    EXPECT_EQ(g.RowCount(), 7);
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(g.FMaxRowCount, maxRows - 1);
    EXPECT_EQ((std::vector<int>{g.GetNodeSpan(1), g.GetSubNodeCount(1)}), (std::vector<int>{4, 0}));
    EXPECT_EQ((std::vector<int>{g.GetNodeSpan(2), g.GetSubNodeCount(2)}), (std::vector<int>{3, 0}));

    // Insertion under a contracted parent opens it; rows hidden further down move with their rows.
    g.ContractNode(1);
    g.HideRow(6);
    g.InsertChildRow(1, 1);
    EXPECT_FALSE(g.GetNodeState(1));
    EXPECT_EQ(Shown(g), (std::vector<int>{0, 1, 0, 2, 3, 4, 5}));
    EXPECT_TRUE(g.IsHiddenRow(7));
    g.UnHideRow(7);
    EXPECT_EQ(g.Cells(1, g.RowCount() - 1), "r6");
}

TEST(TreeRows, AncestorWalksEndAtANodeThatIsItsOwnParent)
{
    // Spans shrunk below a deeper node: the outer node no longer holds it.
    TTreeGrid g;
    Fill(g, 8);
    g.AddNode(1, 6); // level 1
    g.AddNode(2, 5); // level 2
    g.AddNode(3, 3); // level 3
    g.SetNodeSpan(1, 1);
    EXPECT_EQ(g.GetParentRow(2), 2);
    EXPECT_EQ(g.GetParentRow(3), 2);
    auto spans = [&] { return std::vector<int>{g.GetNodeSpan(1), g.GetNodeSpan(2), g.GetNodeSpan(3)}; };
    g.InsertChildRow(4, 1);
    EXPECT_EQ(spans(), (std::vector<int>{1, 6, 4}));
    EXPECT_EQ(g.RowCount(), 9);
    g.RemoveChildRow(5);
    EXPECT_EQ(spans(), (std::vector<int>{1, 5, 3}));
    EXPECT_EQ(g.RowCount(), 8);
}

TEST(TreeRows, NormalRowsAndSummaryRows)
{
    TTreeGrid g;
    Nested(g, 7);
    g.ContractNode(2);
    g.InsertNormalRow(5);
    EXPECT_EQ(g.RowCount(), 7);
    EXPECT_EQ(g.Cells(1, 4), "");
    EXPECT_EQ(g.Cells(1, 5), "r5");
    g.ExpandNode(2);
    EXPECT_EQ(g.Cells(1, 3), "r3") << "the hidden row kept its place above the new one";
    const int maxRows = g.FMaxRowCount;
    g.RemoveNormalRow(5);
    EXPECT_EQ(g.Cells(1, 5), "r5");
    EXPECT_EQ(g.FMaxRowCount, maxRows - 1);
    g.MarkSummaryRow(4);
    EXPECT_TRUE(g.IsSummary(4));
    EXPECT_FALSE(g.IsNode(4));
}

TEST(TreeRows, NodeGlyphHitAreaByNodeType)
{
    TTreeGrid g;
    Fill(g, 4);
    g.SetBounds(0, 0, 300, 200);
    g.AddNode(1, 3);
    g.AddNode(2, 2);
    TBitmap glyph(10, 10);
    struct
    {
        TNodeType Type;
        bool Glyph;
        int Row, Lo, Hi; // the X values inside, Lo .. Hi
    } cases[] = {
        {cnFlat, false, 1, 5, 15},  {cnXP, false, 1, 5, 15},   {cn3D, false, 1, 1, 17},
        {cnLeaf, false, 1, 3, 19},  {cnGlyph, true, 1, 3, 16}, {cnGlyph, false, 1, 1, 11},
        {cnFlat, false, 2, 17, 27},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.Type << " row " << c.Row);
        g.CellNode()->SetNodeType(c.Type);
        TBitmap empty;
        g.CellNode()->SetExpandGlyph(c.Glyph ? &glyph : &empty);
        EXPECT_FALSE(g.IsInNodeGlyph(c.Row, c.Lo - 1));
        EXPECT_TRUE(g.IsInNodeGlyph(c.Row, c.Lo));
        EXPECT_TRUE(g.IsInNodeGlyph(c.Row, c.Hi));
        EXPECT_FALSE(g.IsInNodeGlyph(c.Row, c.Hi + 1));
    }
    g.CellNode()->SetNodeType(cnFlat);
    // Right to left the glyph sits at the right edge: 300 - 2 - 12 - 4 = 282 up to 299.
    g.SetBiDiMode(bdRightToLeft);
    EXPECT_FALSE(g.IsInNodeGlyph(1, 281));
    EXPECT_TRUE(g.IsInNodeGlyph(1, 282));
    EXPECT_TRUE(g.IsInNodeGlyph(1, 299));
    EXPECT_FALSE(g.IsInNodeGlyph(1, 300));
    g.SetBiDiMode(bdLeftToRight);
    // Anywhere in the column without the precise click.
    g.MouseActions()->SetPreciseNodeClick(false);
    EXPECT_TRUE(g.IsInNodeGlyph(1, 200));
}

TEST(TreeRows, ClearRemovesEveryNodeAndFreeingLeavesNothingBehind)
{
    int freed = 0;
    {
        TTreeGrid g;
        Nested(g, 8);
        g.AddNode(5, 2);
        for (int r = 2; r <= 6; ++r)
            g.SetCellProperties(2, r, new TCountedProps(&g, 2, r, freed));
        g.ContractNode(2);
        g.ContractNode(1);
        g.ContractNode(5);
    }
    EXPECT_EQ(freed, 5);

    TTreeGrid g;
    Nested(g, 8);
    g.ContractNode(2);
    g.ContractNode(1);
    g.Clear();
    EXPECT_EQ(g.NumNodes(), 0);
    EXPECT_EQ(g.RowCount(), 8) << "the rows come back, empty";
    for (int r = 0; r < g.RowCount(); ++r) {
        EXPECT_FALSE(g.IsNode(r)) << r;
        EXPECT_EQ(g.Cells(1, r), "") << r;
    }
    EXPECT_EQ(g.NumHiddenRows(), 0);
}
