// The order and the conditions of what the cell drawing routine paints: focus rectangle, text and
// graphic, sort indicators, the modified-row bar, fixed-cell looks, background tiles, rich text.
#include "TextPaintFixture.h"
#include "framework/controls/Forms.h"
#include "framework/graphics/RichText.h"
#include <QApplication>
#include <gtest/gtest.h>

namespace {
const TColor kGreen = 0x00A000, kYellow = 0x00FFFF;

// Every cell of the grid painted onto one sheet.
QImage PaintAll(TPaintGrid &g)
{
    TBitmap bmp(g.Width(), g.Height());
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect(0, 0, g.Width(), g.Height()));
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            if (!g.CellRect(c, r).IsEmpty())
                g.PaintCell(bmp.Canvas(), c, r, g.CellRect(c, r), TGridDrawState());
    return bmp.Image().copy();
}
}  // namespace

// Whether painting the cell with the focus rectangle allowed differs from painting it with
// HideFocusRect: the focus rectangle is the only thing HideFocusRect takes away.
static bool HasFocusRect(TPaintGrid &g, int ACol, int ARow)
{
    g.SetHideFocusRect(true);
    const QImage hidden = g.PaintCellOnly(ACol, ARow);
    g.SetHideFocusRect(false);
    return g.PaintCellOnly(ACol, ARow) != hidden;
}

TEST(DrawCell, FocusRectangleOnlyOnTheFocusedCurrentCellWithoutRowSelect)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 500, 300);
    TPaintGrid *g = new TPaintGrid(&form);
    g->SetParent(&form);
    TPaintGrid *other = new TPaintGrid(&form);
    other->SetParent(&form);
    other->SetTop(200);
    form.Show();
    other->SetFocus();
    QApplication::processEvents();
    g->SetCol(1);
    g->SetRow(1);
    ASSERT_FALSE(g->Focused());
    EXPECT_FALSE(HasFocusRect(*g, 1, 1)) << "without the focus";
    g->SetFocus();
    QApplication::processEvents();
    ASSERT_TRUE(g->Focused());
    EXPECT_TRUE(HasFocusRect(*g, 1, 1));
    EXPECT_FALSE(HasFocusRect(*g, 2, 1)) << "not the current cell";
    g->SetOptions(g->Options() + goRowSelect);
    EXPECT_FALSE(HasFocusRect(*g, 1, 1)) << "goRowSelect";
}

TEST(DrawCell, MergedBlockGetsTheFocusRectangleOnlyThroughItsBaseCell)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 500, 300);
    TPaintGrid *g = new TPaintGrid(&form);
    g->SetParent(&form);
    form.Show();
    g->MergeCells(1, 1, 2, 1);
    g->SetCol(1);
    g->SetRow(1);
    g->SetFocus();
    QApplication::processEvents();
    ASSERT_TRUE(g->Focused());
    const QImage withFocus = PaintAll(*g);
    g->SetHideFocusRect(true);
    const QImage without = PaintAll(*g);
    // The dotted frame runs around the whole block, once.
    const TRect block = g->CellRect(1, 1);
    int changed = 0, outside = 0;
    for (int y = 0; y < withFocus.height(); ++y)
        for (int x = 0; x < withFocus.width(); ++x)
            if (withFocus.pixel(x, y) != without.pixel(x, y)) {
                ++changed;
                outside += x < block.Left || y < block.Top || x >= block.Left + 160 || y >= block.Bottom;
            }
    EXPECT_GT(changed, 100);
    EXPECT_EQ(outside, 0);
}

TEST(DrawCell, GraphicCoversTheTextAndNoImageAndTextLeavesTheTextOut)
{
    TBitmap block(24, 12);
    block.Canvas()->Brush()->SetColor(kGreen);
    block.Canvas()->FillRect(TRect(0, 0, 24, 12));
    auto cell = [&](const QString &text, bool noText) {
        TPaintGrid g;
        g.SetCells(2, 2, text);
        g.CreateCellGraphic(2, 2)->SetBitmap(&block, false, haLeft, vaTop);
        g.SetNoImageAndText(noText);
        return g.PaintCellOnly(2, 2);
    };
    const QString text = QStringLiteral("WWWWWWWW");
    const QImage over = cell(text, false);
    // The text starts under the bitmap and runs on beyond it; the bitmap is whole on top.
    const TRect bitmapArea = InkOf(over, kGreen);
    EXPECT_EQ(bitmapArea.Width() * bitmapArea.Height(), 24 * 12);
    EXPECT_EQ(CountColor(over, kGreen), 24 * 12);
    EXPECT_FALSE(InkOfNonWhite(over, TRect(bitmapArea.Right, 0, 78, 20)).IsEmpty());

    EXPECT_EQ(cell(text, true), cell(QString(), false));
    EXPECT_NE(cell(text, false), cell(QString(), false));
}

TEST(DrawCell, OnlyTheFirstColumnOfAMultiColumnSortShowsAnIndicatorUnlessIndexShow)
{
    auto header = [](bool indexShow, int col) {
        TPaintGrid g;
        g.SetLook(glStandard);
        g.SetFixedColor(0xC0C0C0);
        g.SortSettings()->SetShow(true);
        g.SortSettings()->SetColumn(1);
        g.SortSettings()->SetIndexShow(indexShow);
        g.SortSettings()->SetIndexColor(kYellow);
        g.SortIndexes()->AddIndex(1, true);
        g.SortIndexes()->AddIndex(2, false);
        g.SetCells(col, 0, QStringLiteral("H"));
        return g.PaintCellOnly(col, 0);
    };
    // The plain indicator is a white and grey outline on the grey header.
    EXPECT_GT(CountColor(header(false, 1), clWhite), 4);
    EXPECT_EQ(CountColor(header(false, 2), clWhite), 0);
    EXPECT_GT(CountColor(header(true, 1), kYellow), 10);
    EXPECT_GT(CountColor(header(true, 2), kYellow), 10);
}

TEST(DrawCell, ModifiedRowBarSitsInDisplayColumnZeroBehindAHiddenColumn)
{
    TPaintGrid g;
    g.SetFixedCols(0);
    g.ShowModified()->SetEnabled(true);
    g.ShowModified()->SetColor(kGreen);
    g.SetRowModified(2, true);
    g.HideColumn(0);
    const QImage cell = g.PaintCellOnly(0, 2);
    // Four pixels wide at the right edge, inside the grid lines.
    EXPECT_EQ(InkOf(cell, kGreen), TRect(79 - 4, 1, 79, 21));
    EXPECT_EQ(CountColor(g.PaintCellOnly(1, 2), kGreen), 0);
    EXPECT_EQ(CountColor(g.PaintCellOnly(0, 1), kGreen), 0);
}

TEST(DrawCell, VistaFixedCellsGetWhiteSideLines)
{
    auto fixedCell = [](TGridLook look) {
        TPaintGrid g;
        g.SetLook(look);
        g.SetDUZGradientFrom(0xC0C0C0);
        return g.PaintCellOnly(1, 0);
    };
    const QImage vista = fixedCell(glVista);
    EXPECT_EQ(PixelColor(vista, 0, 10), clWhite);
    EXPECT_EQ(PixelColor(vista, 78, 10), clWhite);
    for (TGridLook look : {glWin7, glOffice2007})
        EXPECT_NE(PixelColor(fixedCell(look), 0, 10), clWhite) << look;
}

TEST(DrawCell, BackgroundTilesRunOnAcrossCellsAndScrollingAndSpareOwnColours)
{
    // A 7 x 5 tile whose every pixel is different.
    TBitmap tile(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            tile.Canvas()->SetPixels(x, y, TColor(0x102030 + x * 0x10 + y * 0x1000));
    auto tileAt = [](int x, int y) { return TColor(0x102030 + x * 0x10 + y * 0x1000); };
    TPaintGrid g;
    g.SetColCount(8);
    g.SetOptions(g.Options() - goVertLine - goHorzLine);
    g.BackGround()->SetBitmap(&tile);
    g.SetColors(3, 3, kGreen);
    const QImage all = PaintAll(g);
    // The tiling starts at the first normal cell's top-left corner and runs on without seams.
    const TRect first = g.CellRect(1, 1);
    for (int c = 1; c <= 3; ++c) {
        const TRect r = g.CellRect(c, 2);
        for (int x = r.Left + 1; x < r.Right - 1; x += 3)
            for (int y = r.Top + 1; y < r.Bottom - 1; y += 2)
                ASSERT_EQ(PixelColor(all, x, y), tileAt((x - first.Left) % 7, (y - first.Top) % 5)) << c << " " << x << "," << y;
    }
    // A cell with its own colour shows no tile.
    const TRect own = g.CellRect(3, 3);
    EXPECT_EQ(PixelColor(all, own.Left + 10, own.Top + 10), kGreen);

    // Scrolled by two columns, the cell keeps its tile pattern.
    const QImage before = g.PaintCellOnly(4, 2);
    g.SetLeftCol(3);
    EXPECT_EQ(g.PaintCellOnly(4, 2), before);
}

TEST(DrawCell, RichCellPaintsItsBoldRunBoldAndSavesAsPlainText)
{
    const QString rtf = QStringLiteral("{\\rtf1\\ansi ab{\\b cd}\\par}");
    TPaintGrid g;
    g.SetCells(1, 2, rtf);
    g.SetCells(2, 2, QStringLiteral("{\\rtf1\\ansi abcd\\par}"));
    const QImage rich = g.PaintCellOnly(1, 2), plain = g.PaintCellOnly(2, 2);
    // "ab" looks the same, "cd" has more ink in bold.
    const TRect ink = InkOfNonWhite(rich, TRect(0, 0, 79, 21));
    ASSERT_FALSE(ink.IsEmpty());
    int richInk = 0, plainInk = 0, leftDiff = 0;
    const int mid = ink.Left + (ink.Right - ink.Left) / 3;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 79; ++x) {
            const bool r = PixelColor(rich, x, y) != clWhite, p = PixelColor(plain, x, y) != clWhite;
            if (x < mid)
                leftDiff += r != p;
            else {
                richInk += r;
                plainInk += p;
            }
        }
    EXPECT_EQ(leftDiff, 0);
    EXPECT_GT(richInk, plainInk);

    QString saved;
    g.SaveCell(1, 2, saved);
    EXPECT_EQ(saved, QStringLiteral("abcd\n"));
    g.SetSaveWithRTF(true);
    g.SetCells(1, 2, QStringLiteral("{\\rtf1\\ansi ab\r\n{\\b cd}\\par\r\n}"));
    g.SaveCell(1, 2, saved);
    EXPECT_EQ(saved, QStringLiteral("{\\rtf1\\ansi ab{\\b cd}\\par}"));
}

TEST(DrawCell, BorderLinesSitWhereTheGridLinesLeaveRoom)
{
    // Cell (2, 2) spans x 160..239 and y 44..65; a 1-pixel pen with horizontal and vertical
    // grid lines moves the right and bottom borders one pixel in.
    const struct
    {
        TCellBorder Side;
        TRect Ink;
    } cases[] = {
        {cbLeft, TRect(160, 44, 161, 65)},
        {cbRight, TRect(238, 44, 239, 65)},
        {cbTop, TRect(161, 44, 239, 45)},
        {cbBottom, TRect(159, 64, 239, 65)},
    };
    for (const auto &k : cases) {
        TPaintGrid g;
        g.OnGetCellBorder = [&](TObject *, int ARow, int ACol, TPen *APen, TCellBorders &Borders) {
            if (ACol == 2 && ARow == 2) {
                APen->SetColor(kYellow);
                Borders = TCellBorders{k.Side};
            }
        };
        EXPECT_EQ(InkOf(g.Paint(2, 2), kYellow), k.Ink) << k.Side;
        // Each side's pen can be changed on its own.
        g.OnGetCellBorderProp = [](TObject *, int, int, TPen *, TPen *, TPen *, TPen *BottomPen) {
            BottomPen->SetColor(kGreen);
        };
        const QImage img = g.Paint(2, 2);
        EXPECT_EQ(CountColor(img, kGreen) > 0, k.Side == cbBottom) << k.Side;
    }
}
