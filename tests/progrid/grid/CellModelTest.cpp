// Per-cell properties, merged blocks and the display-text hooks.
#include "GridFixture.h"
#include <gtest/gtest.h>

TEST(CellModel, FreshCellHasNoPropertiesUntilAsked)
{
    TTestGrid g;
    EXPECT_EQ(g.GetObjectEx(2, 2), nullptr);
    EXPECT_TRUE(g.IsBaseCell(2, 2));
    EXPECT_EQ(g.CellSpan(2, 2), TPoint(0, 0));
    EXPECT_EQ(g.BaseCell(2, 2), TPoint(2, 2));
    EXPECT_FALSE(g.FHasCellProps);

    g.SetColor(0x123456);
    TCellProperties *p = g.GetCellProperties(2, 2);
    EXPECT_TRUE(g.FHasCellProps);
    EXPECT_EQ(p->CellSpanX(), -1);
    EXPECT_EQ(p->CellSpanY(), -1);
    EXPECT_EQ(p->BrushColor(), 0x123456);
    EXPECT_EQ(p->BrushColorTo(), clNone);
    EXPECT_EQ(p->FontName(), g.Font()->Name());
    EXPECT_EQ(g.GetCellProperties(2, 2), p);
    // A second request keeps what was set on the object.
    p->SetBrushColor(clRed);
    EXPECT_EQ(g.GetCellProperties(2, 2)->BrushColor(), clRed);
}

TEST(CellModel, MergedBlockReadsAndWritesItsBaseCell)
{
    TTestGrid g;
    g.SetCells(1, 1, "base");
    g.SetCells(3, 2, "own");
    g.MergeCells(1, 1, 3, 2);

    EXPECT_EQ(g.GetCellProperties(1, 1)->CellSpanX(), 2);
    EXPECT_EQ(g.GetCellProperties(1, 1)->CellSpanY(), 1);
    EXPECT_FALSE(g.IsBaseCell(3, 2));
    EXPECT_EQ(g.BaseCell(3, 2), TPoint(1, 1));
    EXPECT_EQ(g.CellSpan(3, 2), TPoint(2, 1));
    EXPECT_EQ(g.CellExt(2, 1), TPoint(1, 1));
    EXPECT_EQ(g.FullCell(2, 2), TRect(1, 1, 3, 2));
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r)
            EXPECT_TRUE(g.IsMergedCell(c, r)) << c << "," << r;
    EXPECT_FALSE(g.IsMergedCell(4, 2));
    EXPECT_EQ(g.Cells(3, 2), "base");

    g.SetCellEx(3, 2, "v");
    EXPECT_EQ(g.GetGridCell(1, 1), "v");
    EXPECT_EQ(g.GetCellEx(2, 1), "v");
    EXPECT_EQ(g.GetGridCell(3, 2), "own");

    g.SplitCells(2, 2);
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r) {
            EXPECT_FALSE(g.IsMergedCell(c, r));
            EXPECT_EQ(g.GetCellProperties(c, r)->CellSpanX(), -1);
        }
    EXPECT_EQ(g.Cells(3, 2), "own");
    EXPECT_EQ(g.Cells(1, 1), "v");
}

TEST(CellModel, OneByOneMergeIsNotMerged)
{
    TTestGrid g;
    g.MergeCells(2, 2, 1, 1);
    EXPECT_EQ(g.GetCellProperties(2, 2)->CellSpanX(), 0);
    EXPECT_FALSE(g.IsMergedCell(2, 2));
}

TEST(CellModel, SpanComparisons)
{
    TTestGrid g;
    EXPECT_FALSE(g.RowSpanIdentical(1, 2));
    g.MergeCells(1, 1, 1, 3);
    EXPECT_TRUE(g.RowSpanIdentical(1, 2));
    EXPECT_FALSE(g.RowSpanIdentical(1, 5));
    EXPECT_EQ(g.MaxRowSpan(2), 2);
    EXPECT_EQ(g.MinRowSpan(4), g.RowCount());
}

TEST(CellModel, WideHookEncodesNormalRowsOnly)
{
    TTestGrid g;
    g.SetCells(1, 1, "ab");
    g.SetCells(1, 9, "ab");
    g.OnGetDisplWideText = [](TObject *, int, int, QString &) {};
    const QString expected = QString("|\\") + QChar(0) + 'a' + QChar(0) + 'b';
    EXPECT_EQ(g.Cells(1, 1), expected);
    g.FNormalRowCount = 9;
    EXPECT_EQ(g.Cells(1, 9), "ab");
}

TEST(CellModel, DisplayHookSeesTheBaseCell)
{
    TTestGrid g;
    g.MergeCells(1, 1, 2, 2);
    TPoint seen(-1, -1);
    g.OnGetDisplText = [&](TObject *, int c, int r, QString &v) { seen = {c, r}; v += "!"; };
    g.SetCells(1, 1, "x");
    EXPECT_EQ(g.Cells(2, 2), "x!");
    EXPECT_EQ(seen, TPoint(1, 1));
}

TEST(CellModel, WritingTheHiddenLastRowIsReported)
{
    TTestGrid g;
    g.FHideLastRow = true;
    g.SetCells(1, g.RowCount() - 1, "f");
    g.SetCells(1, g.RowCount() - 2, "n");
    EXPECT_EQ(g.LastRowWrites, 1);
}

TEST(CellModel, ArrowKeysAndWheelStepOverMergedBlocks)
{
    TTestGrid g;
    g.SetColCount(8);
    g.MergeCells(3, 3, 2, 3); // columns 3-4, rows 3-5
    struct Step {
        Word key;
        TPoint from, to;
    };
    const Step steps[] = {
        {VK_RIGHT, {2, 4}, {3, 3}}, // into the block: its base cell
        {VK_RIGHT, {3, 3}, {5, 3}}, // out past its last column
        {VK_LEFT, {5, 4}, {3, 3}},
        {VK_LEFT, {4, 5}, {2, 5}}, // from a covered cell: the column just before the block
        {VK_UP, {4, 5}, {4, 2}},
        {VK_DOWN, {3, 3}, {3, 6}},
        {VK_DOWN, {3, 2}, {3, 3}},
    };
    for (const Step &s : steps) {
        g.FocusCell(s.from.X, s.from.Y, true);
        Word key = s.key;
        g.KeyDown(key, TShiftState());
        EXPECT_EQ(TPoint(g.Col(), g.Row()), s.to) << s.key << " from " << s.from.X << "," << s.from.Y;
    }

    g.FocusCell(3, 3, true);
    g.DoMouseWheelDown(TShiftState(), TPoint());
    EXPECT_EQ(TPoint(g.Col(), g.Row()), TPoint(3, 6));
    g.DoMouseWheelUp(TShiftState(), TPoint());
    EXPECT_EQ(TPoint(g.Col(), g.Row()), TPoint(3, 3));
}

TEST(CellModel, NegativeIndicesAreRejected)
{
    TTestGrid g;
    const std::vector<std::function<void()>> calls = {
        [&] { g.GetCellEx(-1, 0); },
        [&] { g.SetCellEx(0, -1, "x"); },
        [&] { g.GetCellProperties(-1, -1); },
        [&] { g.SetObjectEx(-2, 1, nullptr); },
        [&] { g.MergeCells(-1, 1, 2, 2); },
        [&] { g.SplitCells(1, -3); },
        [&] { g.RemoveRows(-1, 2); },
        [&] { g.InsertRows(-2, 1, true); },
        [&] { g.RemoveCols(-1, 1); },
        [&] { g.ClearRect(-1, 0, 2, 2); },
    };
    for (size_t i = 0; i < calls.size(); ++i)
        EXPECT_THROW(calls[i](), EProGridError) << "call " << i;
    // The cell access layer answers an empty text instead.
    EXPECT_EQ(g.GetCellsEx(-1, 2), QString());
    EXPECT_EQ(g.GetCellsEx(2, -1), QString());
}

TEST(CellModel, PropertiesBeyondTheCountsAreFreedWithTheGrid)
{
    int freed = 0;
    {
        TTestGrid g;
        g.SetColCount(8);
        g.SetRowCount(20);
        g.SetCellProperties(7, 19, new TCountedProps(&g, 7, 19, freed));
        g.SetCellProperties(2, 15, new TCountedProps(&g, 2, 15, freed));
        g.SetCellProperties(1, 1, new TCountedProps(&g, 1, 1, freed));
        g.SetRowCount(5);
        g.SetColCount(3);
        g.SetCellProperties(1, 1, new TCountedProps(&g, 1, 1, freed));
        EXPECT_EQ(freed, 1);
    }
    EXPECT_EQ(freed, 4);
}

namespace
{
// Paints each cell in its own brush colour, as the component's look does.
class TColourGrid : public TTestGrid
{
public:
    int TextCalls = 0;
    void GetVisualProperties(int ACol, int ARow, TGridDrawState &AState, bool Print, bool Select,
                             bool Remap, TBrush *ABrush, TColor &AColorTo, TColor &AMirrorColor,
                             TColor &AMirrorColorTo, TFont *AFont, TAlignment &HA, TVAlignment &VA,
                             bool &WW, TCellGradientDirection &GD) override
    {
        if (HasCellProperties(ACol, ARow))
            ABrush->SetColor(GetCellProperties(ACol, ARow)->BrushColor());
    }

protected:
    void DrawCellText(TCanvas *, int, int, const TRect &, TGridDrawState) override { ++TextCalls; }
};
} // namespace

TEST(CellModel, CoveredCellPaintsTheWholeBlockOncePerPass)
{
    TColourGrid g;
    g.MergeCells(1, 1, 2, 1);
    g.SetColors(1, 1, clRed);
    g.SetColors(2, 1, clBlue);
    g.SetColors(3, 1, clBlue);
    TBitmap bmp(400, 250);
    const TRect block = g.CellRect(2, 1);
    ASSERT_EQ(block, g.CellRect(1, 1));
    ASSERT_GT(block.Width(), 100);
    g.PaintCell(bmp.Canvas(), 2, 1, block, TGridDrawState());
    EXPECT_EQ(bmp.Canvas()->Pixels(block.Left + 5, block.Top + 5), clRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(block.Right - 8, block.Top + 5), clRed);
    EXPECT_EQ(g.TextCalls, 1);
    // The block was painted in this pass: the covered cell does not paint it again.
    g.PaintCell(bmp.Canvas(), 2, 1, block, TGridDrawState());
    EXPECT_EQ(g.TextCalls, 1);
    const TRect other = g.CellRect(3, 1);
    g.PaintCell(bmp.Canvas(), 3, 1, other, TGridDrawState());
    EXPECT_EQ(bmp.Canvas()->Pixels(other.Left + 5, other.Top + 5), clBlue);
    EXPECT_EQ(g.TextCalls, 2);
}
