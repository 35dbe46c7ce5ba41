// Cell graphics and cell backgrounds, checked on the pixels of offscreen bitmaps.
#include "tests/progrid/paint/GraphicFixture.h"
#include "framework/graphics/Themes.h"

namespace {

const TRect Cell = Rect(0, 0, 100, 30);

void Paint(TGraphicGrid &g, TGraphicSheet &s, int c, int r, const TRect &R = Cell, TAlignment HA = taLeftJustify, int TW = 0,
           TVAlignment VA = vtaTop)
{
    g.DrawCellGraphic(s.c(), R, c, c, r, TGridDrawState(), g.GetCellGraphic(c, r), HA, VA, TW);
}

TColor Rgb(TColor c) { return TColor(ColorToRGB(c)); }

} // namespace

TEST(GraphicPaint, CentredCheckBoxWithoutTextSitsInTheMiddleAndLeftOfCentredText)
{
    TGraphicGrid g;
    g.ControlLook()->SetControlStyle(csBorland);
    g.Graphic(1, 1, ctCheckBox)->SetCellVAlign(vaCenter);
    // The box's highlight is white: a yellow sheet shows all of it.
    TGraphicSheet s(100, 30, clYellow);
    Paint(g, s, 1, 1, Cell, taCenter, 0);
    const TRect box = s.ink(Cell);
    EXPECT_EQ(box.Width(), 15);
    EXPECT_LE(std::abs(box.Left - (Cell.Right - box.Right)), 1);
    EXPECT_LE(std::abs(box.Top - (Cell.Bottom - box.Bottom)), 1);

    // A 40 pixel text centred in the cell starts at 30: the box ends before it.
    TGraphicSheet t(100, 30, clYellow);
    Paint(g, t, 1, 1, Cell, taCenter, 40);
    const TRect beside = t.ink(Cell);
    EXPECT_EQ(beside.Width(), 15);
    EXPECT_LE(beside.Right, 30);
    EXPECT_GE(beside.Right, 26);
}

TEST(GraphicPaint, ReadOnlyCheckBoxIsDisabledUnlessAlwaysActive)
{
    TGraphicGrid g;
    g.SetOptions(g.Options() + goEditing);
    g.ControlLook()->SetControlStyle(csBorland);
    g.Graphic(1, 1, ctCheckBox);
    auto face = [&] {
        TGraphicSheet s(100, 30);
        Paint(g, s, 1, 1);
        const TRect box = s.ink(Cell);
        return s.at(box.Left + 7, box.Top + 4);
    };
    EXPECT_EQ(face(), Rgb(clBtnFace));
    g.GetCellProperties(1, 1)->SetReadOnly(true);
    EXPECT_EQ(face(), Rgb(clBtnShadow));
    g.ControlLook()->SetCheckAlwaysActive(true);
    EXPECT_EQ(face(), Rgb(clBtnFace));
    g.ControlLook()->SetCheckAlwaysActive(false);
    g.ControlLook()->SetNoDisabledCheckRadioLook(true);
    EXPECT_EQ(face(), Rgb(clBtnFace));
    // Without editing no box can change.
    g.ControlLook()->SetNoDisabledCheckRadioLook(false);
    g.GetCellProperties(1, 1)->SetReadOnly(false);
    g.SetOptions(g.Options() - goEditing);
    EXPECT_EQ(face(), Rgb(clBtnShadow));
}

TEST(GraphicPaint, BitmapStyleGlyphsAreDrawnTransparent)
{
    for (TCellControlStyle style : {csWinXP, csDUZ}) {
        TGraphicGrid g;
        g.ControlLook()->SetControlStyle(style);
        g.Graphic(1, 1, ctCheckBox)->SetCellBoolean(true);
        g.Graphic(2, 1, ctRadioButton);
        TGraphicSheet s(100, 30), r(100, 30);
        Paint(g, s, 1, 1);
        Paint(g, r, 2, 1);
        EXPECT_GT(s.ink(Cell).Width(), 10);
        EXPECT_GT(r.ink(Cell).Width(), 10);
        EXPECT_EQ(s.count(clFuchsia, Cell), 0);
        EXPECT_EQ(r.count(clFuchsia, Cell), 0);
    }
}

TEST(GraphicPaint, GridGlyphsByName)
{
    // Pairs that must look different: checked / unchecked and enabled / disabled.
    const char *pairs[][2] = {
        {"PSGCHK01", "PSGCHK02"}, {"PSGCHK01", "PSGCHK03"}, {"PSGCHK05", "PSGCHK06"}, {"PSGCHK05", "PSGCHK07"},
        {"PSGCHK01", "PSGCHK05"}, {"PSGRAD01", "PSGRAD02"}, {"PSGRAD01", "PSGRAD03"}, {"PSGRAD05", "PSGRAD06"},
        {"PSGRAD07", "PSGRAD08"}, {"PSGLEAFCLOSE", "PSGLEAFOPEN"}, {"XPNODEC", "XPNODEO"},
        {"PSGCHK04", "PSGCHK08"},
    };
    for (auto &p : pairs) {
        TBitmap a, b;
        ASSERT_TRUE(LoadGridResourceBitmap(QString::fromLatin1(p[0]), a)) << p[0];
        ASSERT_TRUE(LoadGridResourceBitmap(QString::fromLatin1(p[1]), b)) << p[1];
        // The bottom-left pixel is the transparent colour.
        EXPECT_EQ(a.Canvas()->Pixels(0, a.Height() - 1), clFuchsia) << p[0];
        EXPECT_EQ(b.Canvas()->Pixels(0, b.Height() - 1), clFuchsia) << p[1];
        EXPECT_NE(a.ToImage(), b.ToImage()) << p[0] << " " << p[1];
    }
    TBitmap none;
    EXPECT_FALSE(LoadGridResourceBitmap(QStringLiteral("PSGCHK09"), none));
    EXPECT_FALSE(LoadGridResourceBitmap(QStringLiteral("PSGRAD"), none));
}

TEST(GraphicPaint, RatingOfTwoAndAHalfShowsFullHalfAndEmptyStars)
{
    TGraphicGrid g;
    g.SetCells(1, 1, QStringLiteral("2.5"));
    TCellGraphic *gr = g.Graphic(1, 1, ctRating);
    gr->SetCellAngle(5);
    gr->SetCellBitmapColor(clSilver);
    gr->SetCellIndex(int(clRed));
    TGraphicSheet s(120, 24);
    Paint(g, s, 1, 1, Rect(0, 0, 120, 24));
    // Stars start 2 pixels in (offset 2 less 1, plus 1) and 18 apart.
    const char *expected[] = {"full", "full", "half", "empty", "empty"};
    for (int i = 0; i < 5; ++i) {
        const TRect star = Rect(2 + 18 * i, 2, 18 + 18 * i, 18);
        const int red = s.count(clRed, star), silver = s.count(clSilver, star);
        const QString kind = red > 0 && silver == 0 ? "full" : red > 0 && silver > 0 ? "half" : silver > 0 ? "empty" : "none";
        EXPECT_EQ(kind, QString::fromLatin1(expected[i])) << i;
    }
}

TEST(GraphicPaint, RadioGroupWithoutIndexSelectsTheOptionEqualToTheCellText)
{
    TGraphicGrid g;
    g.ControlLook()->SetControlStyle(csBorland);
    g.ControlLook()->SetColor(clRed);
    g.SetCells(1, 1, QStringLiteral("B"));
    TCellGraphic *gr = g.Graphic(1, 1, ctRadio);
    auto *items = new TStringList();
    items->Add(QStringLiteral("A"));
    items->Add(QStringLiteral("B"));
    items->Add(QStringLiteral("C"));
    gr->SetCellBitmapObject(items);
    gr->SetCellCreated(true);
    gr->SetCellIndex(-1);
    auto selectedRows = [&] {
        TGraphicSheet s(100, 80);
        Paint(g, s, 1, 1, Rect(0, 0, 100, 80));
        const int h = std::max(16, s.c()->TextHeight(QStringLiteral("gh")));
        QString rows;
        for (int i = 0; i < 3; ++i)
            if (s.count(clRed, Rect(0, 3 + h * i, 20, 3 + h * i + 16)) > 0)
                rows += QString::number(i);
        return rows;
    };
    EXPECT_EQ(selectedRows(), QStringLiteral("1"));
    gr->SetCellIndex(0);
    EXPECT_EQ(selectedRows(), QStringLiteral("0"));
    g.SetCells(1, 1, QStringLiteral("D"));
    gr->SetCellIndex(-1);
    EXPECT_EQ(selectedRows(), QString());
}

TEST(GraphicPaint, XPProgressWithAnEmptyRangeIsEmptyBelowAndFullFromItsValue)
{
    TGraphicGrid g;
    TGridProgressAppearance *pa = g.ProgressAppearance();
    pa->SetShowPercentage(false);
    pa->SetShowGradient(false);
    pa->SetUnCompleteColor(clWhite);
    TCellGraphic *gr = g.Graphic(1, 1, ctXPProgress);
    gr->SetCellErrFrom(10);
    gr->SetCellErrLen(10);
    auto inked = [&](const QString &value) {
        g.SetCells(1, 1, value);
        TGraphicSheet s(100, 30);
        Paint(g, s, 1, 1);
        const TRect r = s.ink(Cell);
        return r.Width() * r.Height();
    };
    EXPECT_EQ(inked(QStringLiteral("5")), 0);
    EXPECT_GT(inked(QStringLiteral("10")), 1000);
    EXPECT_GT(inked(QStringLiteral("12")), 1000);
}

TEST(GraphicPaint, QuarterTurnTextStartsAtTheShrunkLeftEdgeAndRunsUpFromItsWidth)
{
    TGraphicGrid g;
    g.SetCells(1, 1, QStringLiteral("Sites"));
    g.Graphic(1, 1, ctRotated)->SetCellAngle(90);
    TGraphicSheet s(60, 100);
    s.c()->Font()->Assign(g.Font());
    s.c()->Font()->SetColor(clBlack);
    const int w = s.c()->TextWidth(QStringLiteral("Sites"));
    const int h = s.c()->TextHeight(QStringLiteral("Sites"));
    Paint(g, s, 1, 1, Rect(0, 0, 60, 100));
    const TRect ink = s.ink(Rect(0, 0, 60, 100));
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, 2);
    EXPECT_LE(ink.Right, 2 + h);
    EXPECT_GE(ink.Top, 2);
    EXPECT_LE(ink.Bottom, 2 + w);
    EXPECT_GT(ink.Height(), w / 2);
}

TEST(GraphicPaint, FlatNodeShowsAPlusWhenContracted)
{
    TGraphicGrid g;
    g.CellNode()->SetNodeType(cnFlat);
    g.CellNode()->SetShowTree(false);
    g.CellNode()->SetNodeColor(clRed);
    g.CellNode()->SetColor(clWhite);
    TCellGraphic *node = g.Graphic(0, 1, ctNode);
    g.GetCellProperties(0, 1)->SetNodeLevel(1);
    // Indent 12: the box starts at 12 - 6 - 4 + 4 = 6, 8 down in a 24 pixel row.
    auto paint = [&](bool closed) {
        node->SetCellBoolean(closed);
        auto s = std::make_unique<TGraphicSheet>(60, 24);
        Paint(g, *s, 0, 1, Rect(0, 0, 60, 24));
        return s;
    };
    auto open = paint(false);
    EXPECT_EQ(open->at(9, 12), clRed);  // minus
    EXPECT_EQ(open->at(10, 10), clWhite);
    EXPECT_EQ(open->at(6, 8), clRed);   // frame
    auto closed = paint(true);
    EXPECT_EQ(closed->at(10, 10), clRed); // the plus's upright
}

// ---- Cell backgrounds ------------------------------------------------------------------------

namespace {

struct Painted
{
    TRect r;
    std::unique_ptr<TBitmap> bmp = std::make_unique<TBitmap>(400, 200);
    TColor at(int x, int y) { return bmp->Canvas()->Pixels(x, y); }
};

Painted PaintGridCell(TGraphicGrid &g, int c, int r, TGridDrawState state = TGridDrawState())
{
    Painted p;
    p.r = g.CellRect(c, r);
    g.PaintCell(p.bmp->Canvas(), c, r, p.r, state);
    return p;
}

int Red(TColor c) { return int(c & 0xFF); }
int Blue(TColor c) { return int((c >> 16) & 0xFF); }

} // namespace

TEST(CellBackground, GradientRunsTopToBottomOrLeftToRight)
{
    TGraphicGrid g;
    TCellProperties *props = g.GetCellProperties(2, 2);
    props->SetBrushColor(clRed);
    props->SetBrushColorTo(clBlue);
    Painted v = PaintGridCell(g, 2, 2);
    EXPECT_EQ(v.at(v.r.Left + 5, v.r.Top), clRed);
    const TColor low = v.at(v.r.Left + 5, v.r.Bottom - 2);
    EXPECT_GT(Blue(low), 0xD0);
    EXPECT_LT(Red(low), 0x30);
    EXPECT_EQ(v.at(v.r.Right - 3, v.r.Top), clRed);

    props->SetGradientDirection(GradientHorizontal);
    Painted h = PaintGridCell(g, 2, 2);
    EXPECT_EQ(h.at(h.r.Left, h.r.Top + 5), clRed);
    const TColor right = h.at(h.r.Right - 2, h.r.Top + 5);
    EXPECT_GT(Blue(right), 0xD0);
    EXPECT_LT(Red(right), 0x30);
    EXPECT_EQ(h.at(h.r.Left, h.r.Bottom - 3), clRed);
}

TEST(CellBackground, HoverAndActiveRowsTakeTheirGradients)
{
    TGraphicGrid g;
    g.SetHoverRow(true);
    g.FHoverRowIdx = 2;
    g.SetHoverRowColor(clRed);
    g.SetHoverRowColorTo(clBlue);
    Painted hover = PaintGridCell(g, 3, 2);
    EXPECT_EQ(hover.at(hover.r.Left + 5, hover.r.Top), clRed);
    EXPECT_GT(Blue(hover.at(hover.r.Left + 5, hover.r.Bottom - 2)), 0xD0);

    g.SetHoverRow(false);
    g.SetActiveRowShow(true);
    g.SetActiveRowColor(clLime);
    g.SetActiveRowColorTo(clBlue);
    g.SetActiveRowMirrorColor(clRed);
    g.SetActiveRowMirrorColorTo(clYellow);
    Painted active = PaintGridCell(g, 3, g.Row());
    // The upper half runs lime to blue, the lower half red to yellow.
    EXPECT_EQ(active.at(active.r.Left + 5, active.r.Top), clLime);
    const int mid = active.r.Top + active.r.Height() / 2;
    EXPECT_EQ(active.at(active.r.Left + 5, mid), clRed);
}

TEST(CellBackground, SelectionBoxColoursFollowStyleAndFocus)
{
    struct Case
    {
        TGridSelectionStyle style;
        bool focusSelected;
        TColor fillFrom, border;
    };
    const Case cases[] = {
        {ssVista, true, 0xFDF8F1, 0xFDDE99},
        {ssWin7, true, 0xFCEBDC, 0xCEA27D},
        {ssOffice2007, true, 0xD7FFFD, 0x8DD7D3},
        {ssVista, false, 0xF8F8F8, 0xD9D9D9},
    };
    for (const Case &c : cases) {
        TGraphicGrid g;
        g.SetSelectionStyle(c.style);
        if (c.focusSelected)
            g.SetOptions(g.Options() + goDrawFocusSelected);
        Painted p = PaintGridCell(g, 2, 2, TGridDrawState() + gdSelected);
        const int mx = p.r.Left + p.r.Width() / 2;
        EXPECT_EQ(p.at(mx, p.r.Top), c.border) << c.style;
        EXPECT_EQ(p.at(mx, p.r.Top + 2), c.fillFrom) << c.style;
    }
}

TEST(CellBackground, SelectionBoxIsOpenInsideAMultiColumnSelection)
{
    TGraphicGrid g;
    g.SetSelectionStyle(ssVista);
    g.SetOptions(g.Options() + goDrawFocusSelected + goRangeSelect);
    g.SetSelection(GridRect(1, 2, 3, 2));
    Painted inner = PaintGridCell(g, 2, 2, TGridDrawState() + gdSelected);
    EXPECT_EQ(inner.at(inner.r.Left, inner.r.Top), TColor(0xFDDE99));
    Painted left = PaintGridCell(g, 1, 2, TGridDrawState() + gdSelected);
    EXPECT_NE(left.at(left.r.Left, left.r.Top), TColor(0xFDDE99));
    // The grid line takes the last column.
    EXPECT_EQ(left.at(left.r.Right - 2, left.r.Top), TColor(0xFDDE99));
}

TEST(GraphicPaint, ButtonKeepsItsOffsetInTheCellForHitTests)
{
    TGraphicGrid g;
    TCellGraphic *b = g.Graphic(1, 1, ctButton);
    b->SetButton(30, 16, QStringLiteral("Go"), haRight, vaBottom);
    TGraphicSheet s(120, 60);
    Paint(g, s, 1, 1, Rect(10, 20, 110, 50));
    // Shrunk by 1: (11, 21, 109, 49); right: 109 - 30 - 1 = 78; bottom: 49 - 16 - 1 = 32.
    const int v = int(b->CellValue());
    EXPECT_EQ(v & 0xFFFF, 78 - 10);
    EXPECT_EQ(v >> 16, 32 - 20);
}

TEST(GraphicPaint, CommentTriangleInTheTopRightCorner)
{
    TGraphicGrid g;
    g.ControlLook()->SetCommentColor(clRed);
    TCellGraphic *c = g.Graphic(1, 1, ctComment);
    c->SetCellAngle(int(clNone));
    TGraphicSheet s(100, 30);
    Paint(g, s, 1, 1);
    EXPECT_EQ(s.at(96, 1), clRed);
    EXPECT_EQ(s.at(92, 4), clWhite);
    EXPECT_EQ(s.at(90, 10), clWhite);
    // A colour of its own.
    c->SetCellAngle(0);
    c->SetCellIndex(int(clBlue));
    TGraphicSheet t(100, 30);
    Paint(g, t, 1, 1);
    EXPECT_EQ(t.at(96, 1), clBlue);
    // No comment colour: nothing.
    g.ControlLook()->SetCommentColor(clNone);
    TGraphicSheet u(100, 30);
    Paint(g, u, 1, 1);
    EXPECT_TRUE(u.ink(Cell).IsEmpty());
}

TEST(GraphicPaint, TransparentBitmapShowsTheSelectionColourBehindItWhenSelected)
{
    TGraphicGrid g;
    g.SetSelectionColor(clLime);
    TBitmap glyph(6, 6);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 6, 6));
    glyph.Canvas()->Brush()->SetColor(clBlue);
    glyph.Canvas()->FillRect(Rect(2, 2, 4, 4));
    g.Graphic(1, 1, ctBitmap)->SetBitmap(&glyph, true, haLeft, vaTop);
    TGraphicSheet s(100, 30);
    s.c()->Brush()->SetColor(clYellow);
    g.DrawCellGraphic(s.c(), Cell, 1, 1, 1, TGridDrawState() + gdSelected, g.GetCellGraphic(1, 1), taLeftJustify,
                      vtaTop, 0);
    // At (2, 2): shrunk by 1, then 1 in.
    EXPECT_EQ(s.at(2, 2), clLime);
    EXPECT_EQ(s.at(4, 4), clBlue);
    TGraphicSheet t(100, 30);
    t.c()->Brush()->SetColor(clYellow);
    g.DrawCellGraphic(t.c(), Cell, 1, 1, 1, TGridDrawState(), g.GetCellGraphic(1, 1), taLeftJustify, vtaTop, 0);
    EXPECT_EQ(t.at(2, 2), clYellow);
}

TEST(GraphicPaint, RotatedSortedHeaderKeepsItsSortIndicator)
{
    TGraphicGrid g;
    g.SetCells(1, 0, QStringLiteral("Sites"));
    g.Graphic(1, 0, ctRotated)->SetCellAngle(90);
    auto corner = [&] {
        TGraphicSheet s(60, 100);
        Paint(g, s, 1, 0, Rect(0, 0, 60, 100));
        return s.ink(Rect(36, 0, 60, 24));
    };
    EXPECT_TRUE(corner().IsEmpty());
    g.SortSettings()->SetShow(true);
    g.SortSettings()->SetColumn(1);
    // Around (R.Right - 10, R.Top + 8) of the cell shrunk by 1: (49, 9).
    const TRect mark = corner();
    ASSERT_FALSE(mark.IsEmpty());
    EXPECT_LE(mark.Left, 49);
    EXPECT_GE(mark.Right, 49);
    EXPECT_LE(mark.Top, 9);
    EXPECT_GE(mark.Bottom, 9);
}

TEST(GraphicPaint, HorizontalRadioGroupPlacesEachGlyphAfterTheTextsBeforeIt)
{
    TGraphicGrid g;
    g.ControlLook()->SetColor(clRed);
    TStringList items;
    items.Add(QStringLiteral("Wide option"));
    items.Add(QStringLiteral("B"));
    TGraphicSheet s(300, 30);
    const int textWidth = s.c()->TextWidth(QStringLiteral("Wide option"));
    g.DrawRadioGroup(s.c(), Rect(0, 0, 300, 30), false, 1, csBorland, 1, 1, false, &items, false, true, 1, 2);
    // Glyphs 16 wide at 2 and at 2 * 16 - 14 + the first text's width, 7 down; the selected one
    // has its inner diamond around its centre.
    const int second = 18 + textWidth;
    EXPECT_EQ(s.at(second + 8, 15), clRed);
    EXPECT_NE(s.at(2 + 8, 15), clRed);
    EXPECT_EQ(s.count(clRed, Rect(0, 0, second, 30)), 0);
}
