// Where cell graphics sit and how big they are, markers, node span types and the placement of
// rotated text.
#include "tests/progrid/paint/GraphicFixture.h"

TEST(GraphicLayout, CellWithoutGraphicReportsNothingAndKeepsItsText)
{
    TGraphicGrid g;
    TCellVAlign va = vaFull;
    TCellHAlign ha = haFull;
    bool withText = false;
    int h = 7, w = 7;
    EXPECT_EQ(g.GetCellGraphicLayout(1, 1, va, ha, withText, h, w), nullptr);
    EXPECT_EQ(va, vaTop);
    EXPECT_EQ(ha, haLeft);
    EXPECT_TRUE(withText);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(w, 0);
}

TEST(GraphicLayout, SizeAndTextByType)
{
    struct Case
    {
        TCellType type;
        int index, angle;
        int w, h;
        bool withText;
    };
    // Check size 15 and radio size 10 by default; rows 24 high with offsets of 2.
    const Case cases[] = {
        {ctCheckBox, 0, 0, 15, 15, true},
        {ctTriStateCheckBox, 0, 0, 15, 15, true},
        {ctDataCheckBox, 0, 0, 15, 15, false},
        {ctVirtCheckBox, 0, 0, 15, 15, false},
        {ctRadioButton, 0, 0, 14, 14, true},
        {ctRotated, 0, 90, 0, 0, false},
        {ctRadio, 0, 0, 0, 0, false},
        {ctXPProgress, 0, 0, 0, 0, false},
        {ctProgress, 0, 0, 0, 0, false},
        {ctButton, (20 << 16) | 30, 0, 30, 20, true},
        {ctProgressPie, 0, 0, 20, 20, true},
        {ctShape, 0, 0, 20, 20, true},
        {ctRating, 0, 5, 90, 16, false},
        {ctComment, 0, 0, 0, 0, true},
    };
    for (const Case &c : cases) {
        TGraphicGrid g;
        g.SetRowHeights(2, 24);
        TCellGraphic *gr = g.Graphic(3, 2, c.type);
        gr->SetCellIndex(c.index);
        gr->SetCellAngle(c.angle);
        gr->SetCellHAlign(haAfterText);
        gr->SetCellVAlign(vaUnderText);
        TCellVAlign va;
        TCellHAlign ha;
        bool withText;
        int h, w;
        EXPECT_EQ(g.GetCellGraphicLayout(3, 2, va, ha, withText, h, w), gr) << c.type;
        EXPECT_EQ(w, c.w) << c.type;
        EXPECT_EQ(h, c.h) << c.type;
        EXPECT_EQ(withText, c.withText) << c.type;
        EXPECT_EQ(ha, haAfterText);
        EXPECT_EQ(va, vaUnderText);
    }
}

TEST(GraphicLayout, MarkerComesFromAnyGraphic)
{
    TGraphicGrid g;
    int pos = -1, len = -1;
    g.GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(len, 0);
    TCellGraphic *gr = g.Graphic(1, 1, ctCheckBox);
    gr->SetCellErrFrom(3);
    gr->SetCellErrLen(4);
    g.GetMarker(1, 1, pos, len);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(len, 4);
}

TEST(GraphicLayout, NodeSpanTypeEndsOrContinuesTheTreeLine)
{
    TGraphicGrid g;
    g.SetRowCount(8);
    g.Graphic(0, 1, ctNode);
    auto level = [&](int r, int l) { g.GetCellProperties(0, r)->SetNodeLevel(l); };
    level(1, 1);
    level(2, 2);
    level(3, 2);
    level(4, 1);
    EXPECT_EQ(g.GetNodeSpanType(1), 0);
    EXPECT_EQ(g.GetNodeSpanType(2), 2); // next row as deep
    EXPECT_EQ(g.GetNodeSpanType(3), 1); // next row shallower
    EXPECT_EQ(g.GetNodeSpanType(4), 1); // next row without properties
    EXPECT_EQ(g.GetNodeSpanType(7), 1); // last row
    level(5, 1);
    level(6, 1);
    EXPECT_EQ(g.GetNodeSpanType(5), 2);
    g.SetFixedFooters(1);
    EXPECT_EQ(g.GetNodeSpanType(6), 1); // the row above the footer
}

TEST(RotatedText, PlacementByQuadrantAndAlignment)
{
    // R = (10, 20, 110, 60): width 100, height 40. A=6, B=30, C=8, D=40; half spill (A+B-h)/2 = -2.
    struct Case
    {
        int angle;
        TAlignment ha;
        TVAlignment va;
        int left, top;
    };
    const Case cases[] = {
        {45, taLeftJustify, vtaTop, 10, 50},      {90, taRightJustify, vtaCenter, 62, 52},
        {30, taCenter, vtaBottom, 36, 54},        {120, taLeftJustify, vtaTop, 50, 56},
        {180, taRightJustify, vtaCenter, 102, 58}, {150, taCenter, vtaBottom, 76, 60},
        {200, taLeftJustify, vtaTop, 58, 26},     {270, taRightJustify, vtaCenter, 110, 28},
        {240, taCenter, vtaBottom, 84, 30},       {300, taLeftJustify, vtaTop, 18, 20},
        {359, taRightJustify, vtaCenter, 70, 22}, {330, taCenter, vtaBottom, 44, 24},
    };
    for (const Case &c : cases) {
        TRect r = Rect(10, 20, 110, 60);
        TProStringGrid::PlaceRotatedText(r, c.ha, c.va, 6, 30, 8, 40, c.angle);
        EXPECT_EQ(r.Left, c.left) << c.angle;
        EXPECT_EQ(r.Top, c.top) << c.angle;
    }
}

TEST(RotatedText, QuarterTurnStartsAtTheLeftAndTheTextWidthBelowTheTop)
{
    TGraphicGrid g;
    const QString text = QStringLiteral("Sites");
    TCanvas *c = g.Canvas();
    c->Font()->Assign(g.Font());
    const int w = c->TextWidth(text);
    ASSERT_GT(w, 10);
    TRect r = Rect(4, 6, 84, 106);
    g.RotatedTextRect(r, 90, vtaTop, taLeftJustify, text);
    EXPECT_EQ(r.Left, 6);
    EXPECT_EQ(r.Top, 8 + w);
}

TEST(XPProgress, PercentageOfTheRange)
{
    struct Case
    {
        int value, from, to, pct;
    };
    const Case cases[] = {
        {50, 0, 200, 25}, {-50, 0, 200, 25}, {30, 10, 50, 50}, {13, 10, 18, 38},
        // An empty range divides by nothing: empty below its value, full at and above it.
        {9, 10, 10, 0},   {10, 10, 10, 100}, {11, 10, 10, 100},
    };
    for (const Case &c : cases)
        EXPECT_EQ(XPProgressPercentage(c.value, c.from, c.to), c.pct) << c.value << " " << c.from << " " << c.to;
}
