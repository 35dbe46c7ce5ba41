// Where a cell's text is painted: by the grid's default alignment unless the cell asks for its
// own, in normal and in fixed cells.
#include "GridFixture.h"
#include "framework/graphics/Graphics.h"
#include <gtest/gtest.h>

namespace {

// Left and right ends of the text painted in a cell, in pixels from the cell's left edge.
struct TInk
{
    int First = -1, Last = -1;
};

TInk PaintedText(TTestGrid &Grid, int ACol, int ARow)
{
    TBitmap bmp(Grid.Width(), Grid.Height());
    const TRect r = Grid.CellRect(ACol, ARow);
    Grid.PaintCell(bmp.Canvas(), ACol, ARow, r, TGridDrawState());
    const TColor background = bmp.Canvas()->Pixels(r.Left + 1, r.Bottom - 3);
    TInk ink;
    // The grid lines lie on the cell's right and bottom edges; the text stays inside them.
    for (int x = r.Left; x < r.Right - 2; ++x)
        for (int y = r.Top; y < r.Bottom - 2; ++y)
            if (bmp.Canvas()->Pixels(x, y) != background) {
                if (ink.First < 0)
                    ink.First = x - r.Left;
                ink.Last = x - r.Left;
                break;
            }
    return ink;
}

}  // namespace

TEST(CellText, DrawsByTheGridsAlignmentUnlessTheCellAsksForItsOwn)
{
    enum TWhere { Left, Centre, Right };
    const struct
    {
        const char *Case;
        TAlignment Grid;
        bool OwnProps;
        TAlignment Cell;
        TWhere Where;
    } cases[] = {
        {"grid default", taLeftJustify, false, taLeftJustify, Left},
        {"grid centred", taCenter, false, taLeftJustify, Centre},
        {"grid right", taRightJustify, false, taLeftJustify, Right},
        {"cell right in a left grid", taLeftJustify, true, taRightJustify, Right},
        {"cell centred in a left grid", taLeftJustify, true, taCenter, Centre},
        {"cell left in a right grid", taRightJustify, true, taLeftJustify, Left},
    };
    for (const auto &k : cases) {
        for (const int col : {0, 1}) {  // a fixed title cell and a data cell
            TTestGrid g;
            g.SetBounds(0, 0, 600, 200);
            g.SetColCount(3);
            g.SetRowCount(3);
            g.SetColWidths(col, 240);
            g.SetCells(col, 1, QStringLiteral("ab"));
            g.SetDefaultAlignment(k.Grid);
            if (k.OwnProps)
                g.GetCellProperties(col, 1)->SetAlignment(k.Cell);
            const TInk ink = PaintedText(g, col, 1);
            const int width = g.CellRect(col, 1).Width();
            ASSERT_GE(ink.First, 0) << k.Case << ", column " << col;
            // The text is a few pixels wide; where its ends fall says where it was placed.
            switch (k.Where) {
            case Left:
                EXPECT_LE(ink.First, 6) << k.Case << ", column " << col;
                break;
            case Centre:
                EXPECT_NEAR((ink.First + ink.Last) / 2, width / 2, 6) << k.Case << ", column " << col;
                break;
            case Right:
                EXPECT_GE(ink.Last, width - 10) << k.Case << ", column " << col;
                break;
            }
        }
    }
}
