// The grid's drawing routines, checked on the pixels of offscreen bitmaps.
#include "editors/ProDropDown.h"
#include "grid/core/ProUtil.h"

#include "framework/graphics/Graphics.h"
#include "tests/common/PixelSheet.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

namespace
{
using Sheet = TPixelSheet;
} // namespace

TEST(Gradients, EqualColoursFillOneColour)
{
    Sheet s(40, 20);
    GradientFill(s.c(), 0x3366CC, 0x3366CC, true, Rect(0, 0, 40, 20), 64);
    EXPECT_EQ(s.count(0x3366CC), 40 * 20);

    Sheet v(40, 20);
    GradientFill(v.c(), 0x3366CC, 0x3366CC, false, Rect(0, 0, 40, 20), 16);
    EXPECT_EQ(v.count(0x3366CC), 40 * 20);

    Sheet d(40, 20);
    DrawGradientSteps(d.c(), 0x3366CC, 0x3366CC, 80, Rect(0, 0, 40, 20), true);
    EXPECT_EQ(d.count(0x3366CC), 40 * 20);
}

TEST(Gradients, BandsRunFromOneColourToTheOther)
{
    // Width 9: extent 8, four steps of 2 pixels, five bands 3 pixels long: red 0, 64, 128, 191, 255.
    Sheet s(9, 4);
    GradientFill(s.c(), 0x000000, 0x0000FF, true, Rect(0, 0, 9, 4), 4);
    EXPECT_EQ(s.at(1, 1), 0x000000);
    EXPECT_EQ(s.at(3, 1), 0x000040);
    EXPECT_EQ(s.at(5, 1), 0x000080);
    EXPECT_EQ(s.at(7, 1), 0x0000BF);
    EXPECT_EQ(s.at(8, 1), 0x0000FF);

    // A reversed rectangle is drawn the right way up; a flat one draws nothing.
    Sheet r(9, 4);
    GradientFill(r.c(), clRed, clRed, false, Rect(0, 4, 9, 0), 16);
    EXPECT_EQ(r.count(clRed), 9 * 4);
    Sheet f(9, 4);
    GradientFill(f.c(), clRed, clBlue, false, Rect(0, 2, 9, 2), 16);
    EXPECT_EQ(f.count(clWhite), 9 * 4);

    // clNone at either end: a plain fill in the other colour.
    Sheet n(9, 4);
    GradientFill(n.c(), clNone, clBlue, true, Rect(0, 0, 9, 4), 16);
    EXPECT_EQ(n.count(clBlue), 9 * 4);
}

TEST(Gradients, StepBandsStopOneStepShortOfTheEndColour)
{
    // One step: the start colour only.
    Sheet one(30, 10);
    DrawGradientSteps(one.c(), clRed, clBlue, 1, Rect(0, 0, 30, 10), false);
    EXPECT_EQ(one.count(clRed), 30 * 10);
    Sheet zero(30, 10);
    DrawGradientSteps(zero.c(), clRed, clBlue, 0, Rect(0, 0, 30, 10), true);
    EXPECT_EQ(zero.count(clRed), 30 * 10);

    // Two vertical bands over 11 pixels (10 after the right edge moves in): 0..5 red, 5..10 the
    // half-way colour (255 - 128 red, 128 blue, halves rounded to even).
    Sheet two(11, 4);
    DrawGradientSteps(two.c(), clRed, clBlue, 2, Rect(0, 0, 11, 4), true);
    EXPECT_EQ(two.at(4, 2), clRed);
    EXPECT_EQ(two.at(5, 2), 0x80007F);
    EXPECT_EQ(two.at(10, 2), 0x80007F);
    EXPECT_EQ(two.at(10, 3), 0x80007F);
}

TEST(Colours, ShadeDarkenAndBlend)
{
    EXPECT_EQ(ShadeColor(0x646464, -20), 0x505050);
    EXPECT_EQ(ShadeColor(0x0A6496, 50), TColor(RGB(0x96 + 0x4B, 0x64 + 0x32, 0x0F)));
    EXPECT_EQ(ShadeColor(0xF0F0F0, 20), 0xFFFFFF); // kept within a channel
    EXPECT_EQ(DarkenHalf(0x80FF41), 0x407F20);
    EXPECT_EQ(BlendColor(0x123456, clNone, 0, 5, 10), 0x123456);
    EXPECT_EQ(BlendColor(0x000000, 0x0000C8, 0, 5, 10), 0x000064);
    EXPECT_EQ(BlendColor(0x000000, 0x0000C8, 0, 10, 10), 0x0000C8);
    EXPECT_EQ(BlendColor(0x000000, 0x0000C8, 4, 4, 4), 0x000000); // an empty range stays put
}

TEST(CellProgress, PositionAboveTheMaximumDrawsAFullBarWithItsPercentage)
{
    const TRect r(0, 0, 80, 20);
    auto draw = [&](double pos, const QString &fmt, int max, int min) {
        auto s = std::make_unique<Sheet>(80, 20);
        s->c()->Font()->SetColor(clBlack);
        DrawCellProgress(s->c(), r, clBlue, clYellow, clWhite, clBlack, clBlack, fmt, max, min, 1, 1, pos);
        return s;
    };
    auto full = draw(150, QString(), 100, 0);
    EXPECT_EQ(full->at(3, 3), clBlue);
    EXPECT_EQ(full->at(76, 16), clBlue);
    EXPECT_GT(full->count(clYellow), 0); // the label in the filled part's text colour
    EXPECT_EQ(full->count(clBlack, Rect(2, 2, 78, 18)), 0);
    EXPECT_EQ(full->at(1, 1), clBlack); // border
    // The label reads "150%": the same picture as a format that writes it.
    auto formatted = draw(150, QStringLiteral("%d%%"), 100, 0);
    EXPECT_EQ(full->bmp.Image(), formatted->bmp.Image());
    auto hundred = draw(100, QString(), 100, 0);
    EXPECT_NE(full->bmp.Image(), hundred->bmp.Image());

    auto half = draw(50, QStringLiteral("%d"), 200, 100);
    EXPECT_EQ(half->at(76, 16), clWhite); // below the minimum: empty
}

TEST(CellProgress, AnEmptyRangeIsEmptyBelowItsValueAndFullFromIt)
{
    for (const auto &[pos, fill] : {std::pair{4.0, clWhite}, {5.0, clBlue}, {9.0, clBlue}}) {
        Sheet s(80, 20);
        DrawCellProgress(s.c(), Rect(0, 0, 80, 20), clBlue, clYellow, clWhite, clBlack, clBlack, QStringLiteral("%.1f"),
                         5, 5, 1, 1, pos);
        EXPECT_EQ(s.at(3, 3), fill) << pos;
        EXPECT_EQ(s.at(76, 16), fill) << pos;
    }
}

TEST(CellShapes, CircleTakesTheSmallerSideAtTheTopLeft)
{
    Sheet s(20, 10);
    DrawCellShape(s.c(), 0, 0, clBlack, clRed, csCircle, 10, 20);
    EXPECT_EQ(s.at(5, 5), clRed);
    EXPECT_EQ(s.at(0, 5), clBlack);
    EXPECT_EQ(s.at(12, 5), clWhite);
    EXPECT_EQ(s.at(15, 5), clWhite);
    EXPECT_EQ(s.count(clWhite, Rect(10, 0, 20, 10)), 100);

    Sheet e(20, 10);
    DrawCellShape(e.c(), 0, 0, clBlack, clRed, csEllips, 10, 20);
    EXPECT_EQ(e.at(15, 5), clRed);
}

TEST(CellShapes, ShapesStayInTheirBox)
{
    for (int shape = csRectangle; shape <= csHalfStar; ++shape) {
        Sheet s(40, 40);
        DrawCellShape(s.c(), 10, 10, clBlack, clRed, TCellShape(shape), 20, 20);
        EXPECT_GT(s.count(clWhite, Rect(10, 10, 30, 30)), 0) << shape;
        EXPECT_LT(s.count(clWhite, Rect(10, 10, 30, 30)), 400) << shape;
        EXPECT_EQ(s.count(clWhite), 40 * 40 - (400 - s.count(clWhite, Rect(10, 10, 30, 30)))) << shape;
    }
    // The up arrow's head spans the width, its shaft the middle half.
    Sheet a(20, 20);
    DrawCellShape(a.c(), 0, 0, clRed, clRed, csArrowUp, 20, 20);
    EXPECT_EQ(a.at(10, 16), clRed);
    EXPECT_EQ(a.at(2, 16), clWhite);
    EXPECT_EQ(a.at(2, 9), clRed);
}

TEST(Buttons, TonesPaintTheStatesBrush)
{
    TColorTones tones;
    tones.Background = {0x101010, 0x202020, 0x303030};
    tones.Hover = {0x00C0C0, 0x00A0A0, 0x008080};
    tones.Selected = {0xC000C0, 0xA000A0, 0x800080};
    tones.Disabled = {0xC0C0C0, 0xA0A0A0, 0x808080};
    for (const auto &[state, brush] : {std::pair{bstNormal, TColor(0x101010)}, {bstHot, TColor(0x00C0C0)},
                                       {bstDown, TColor(0xC000C0)}, {bstDisabled, TColor(0xC0C0C0)}}) {
        Sheet s(40, 20);
        DrawDropDownButton(s.c(), 0, Rect(0, 0, 40, 20), tones, state, blkTones);
        // Button: x 24..38, y 1..19; its left line at 25, the arrow around (29..35, 9..12).
        EXPECT_EQ(s.at(27, 3), brush) << state;
        EXPECT_EQ(s.at(37, 17), brush) << state;
        EXPECT_EQ(s.at(25, 10), 0x202020) << state;
        EXPECT_EQ(s.at(32, 9), 0x303030) << state;
        EXPECT_EQ(s.at(22, 10), clWhite) << state;

        Sheet p(30, 20);
        DrawPushButton(p.c(), 0, Rect(0, 0, 30, 20), tones, state, blkTones);
        EXPECT_EQ(p.at(10, 10), brush) << state;

        Sheet sp(30, 20);
        DrawSpinButtons(sp.c(), 0, Rect(0, 1, 30, 21), tones, state, blkTones);
        EXPECT_EQ(sp.at(15, 1), brush) << state;
        EXPECT_EQ(sp.at(15, 18), brush) << state;
        EXPECT_EQ(sp.at(13, 10), clWhite) << state;
    }
    // The other looks draw inside the button's place too.
    for (int look : {blkThemed, blkClassic, blkFlat}) {
        Sheet s(40, 20);
        DrawDropDownButton(s.c(), 0, Rect(0, 0, 40, 20), tones, bstNormal, look);
        EXPECT_LT(s.count(clWhite, Rect(21, 1, 38, 19)), 17 * 18) << look;
        EXPECT_EQ(s.count(clWhite, Rect(0, 0, 21, 20)), 21 * 20) << look;
    }
}

TEST(Pie, FillsItsOwnSectorClockwiseFromTheTop)
{
    const TColor fill = 0x00C000;
    auto pie = [&](int pct) {
        auto s = std::make_unique<Sheet>(21, 21);
        DrawPie(s->c(), Rect(0, 0, 21, 21), fill, false, pct);
        return s;
    };
    EXPECT_EQ(pie(0)->count(fill), 0);
    // A 1% sector is a sliver, not the rest of the disc (about 346 pixels).
    const int sliver = pie(1)->count(fill);
    EXPECT_LT(sliver, 10);
    // A 5% sector (about 17 pixels of the disc) shows its fill between its two radii.
    const int small = pie(5)->count(fill);
    EXPECT_GT(small, 0);
    EXPECT_LT(small, 30);
    auto quarter = pie(25);
    EXPECT_EQ(quarter->at(15, 5), fill);
    EXPECT_NE(quarter->at(15, 15), fill);
    EXPECT_NE(quarter->at(5, 5), fill);
    auto half = pie(50);
    EXPECT_EQ(half->at(15, 10), fill);
    EXPECT_NE(half->at(5, 10), fill);
    const int whole = pie(100)->count(fill);
    EXPECT_GT(whole, 250);
    EXPECT_NEAR(half->count(fill), whole / 2, whole / 10);
    EXPECT_EQ(pie(100)->at(0, 10), 0x808080);
}

TEST(Bars, CentredBarGrowsFromTheMiddle)
{
    Sheet s(44, 10);
    DrawCenteredBar(s.c(), Rect(0, 0, 44, 10), -5, clGreen, clRed, false, 10); // c = 20, x = -10
    EXPECT_EQ(s.count(clRed), 10 * 6);
    EXPECT_EQ(s.at(12, 5), clRed);
    EXPECT_EQ(s.at(11, 5), clWhite);
    Sheet p(44, 10);
    DrawCenteredBar(p.c(), Rect(0, 0, 44, 10), 30, clGreen, clRed, false, 10); // limited to the range
    EXPECT_EQ(p.count(clGreen), 20 * 6);
}

TEST(Bars, LevelProgressPicksTheColourOfItsLevel)
{
    TLevelProgressAppearance a;
    a.ShowGradient = false;
    a.ShowPercentage = false;
    a.UnCompleteColor = clWhite;
    for (const auto &[pct, color] : {std::pair{50, a.Level0Color}, {80, a.Level1Color}, {95, a.Level2Color},
                                     {100, a.Level3Color}}) {
        Sheet s(102, 10);
        DrawLevelProgress(s.c(), Rect(0, 0, 102, 10), pct, a);
        EXPECT_EQ(s.at(1, 5), color) << pct;
        EXPECT_EQ(s.count(color, Rect(1, 5, 101, 6)), pct) << pct;
    }
    // Stacked: each level keeps its own stretch.
    a.Stacked = true;
    Sheet s(102, 10);
    DrawLevelProgress(s.c(), Rect(0, 0, 102, 10), 100, a);
    EXPECT_EQ(s.count(a.Level0Color, Rect(1, 5, 101, 6)), 70);
    EXPECT_EQ(s.count(a.Level1Color, Rect(1, 5, 101, 6)), 20);
    EXPECT_EQ(s.count(a.Level3Color, Rect(1, 5, 101, 6)), 10);
}

TEST(Glyphs, TransparentBitmapShowsTheBackgroundWhereTheCornerColourIs)
{
    TBitmap glyph(3, 2);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 3, 2));
    glyph.Canvas()->SetPixels(1, 1, clBlue);
    Sheet s(10, 10);
    DrawTransparentBitmap(s.c(), &glyph, clGreen, Rect(4, 4, 10, 10));
    EXPECT_EQ(s.at(4, 4), clGreen);
    EXPECT_EQ(s.at(5, 5), clBlue);
    EXPECT_EQ(s.at(7, 4), clWhite);
    EXPECT_EQ(s.count(clFuchsia), 0);

    Sheet n(20, 20);
    EXPECT_TRUE(DrawTransparentResource(n.c(), QStringLiteral("XPNODEC"), clGreen, Rect(0, 0, 20, 20)));
    EXPECT_GT(n.count(clBlack), 4); // the plus
    EXPECT_EQ(n.count(clFuchsia), 0);
    EXPECT_FALSE(DrawTransparentResource(n.c(), QStringLiteral("NOSUCHGLYPH"), clGreen, Rect(0, 0, 20, 20)));
}

TEST(SmallShapes, CellBackgroundTriangleFillAndUnderline)
{
    Sheet s(20, 20);
    FillCellBackground(s.c(), Rect(0, 0, 20, 10), clRed, true, true, clBlue, true, clNone, clNone, clNone);
    EXPECT_EQ(s.at(5, 5), clRed);
    EXPECT_EQ(s.at(0, 5), clBlue);
    EXPECT_EQ(s.at(19, 5), clBlue);
    EXPECT_EQ(s.at(5, 0), clRed); // sides only

    Sheet m(20, 20);
    FillCellBackground(m.c(), Rect(0, 0, 20, 20), clRed, true, false, clNone, true, clGreen, clGreen, clRed);
    EXPECT_EQ(m.at(5, 4), clRed);
    EXPECT_EQ(m.at(5, 15), clGreen);

    Sheet t(20, 20);
    DrawDownTriangle(t.c(), 10, 5, clBlack);
    EXPECT_EQ(t.at(10, 6), clBlack);
    EXPECT_EQ(t.at(10, 3), clWhite);

    Sheet f(20, 20);
    FillRectColor(f.c(), Rect(2, 2, 6, 6), clNavy);
    EXPECT_EQ(f.count(clNavy), 16);

    Sheet u(80, 20);
    DrawErrorUnderline(nullptr, u.c(), QStringLiteral("speling error"), 7, 1, 10, Rect(0, 0, 80, 20));
    EXPECT_GT(u.count(clRed, Rect(0, 9, 80, 15)), 10);
    EXPECT_EQ(u.count(clRed, Rect(0, 0, 80, 9)), 0);
}

TEST(SmallShapes, RoundedSelectionFrameAndFill)
{
    Sheet s(30, 20);
    DrawRoundedSelectionShape(s.c(), clYellow, clNone, 0, Rect(0, 0, 30, 20), clSilver, clGray, clAqua, clLime, clBlack,
                              clNone, clNone);
    EXPECT_EQ(s.at(10, 8), clYellow);
    EXPECT_EQ(s.at(10, 0), clBlack);  // edge line
    EXPECT_EQ(s.at(10, 1), clAqua);   // top line
    EXPECT_EQ(s.at(10, 16), clLime);  // bottom line
    EXPECT_EQ(s.at(0, 8), clBlack);   // outer left edge
    EXPECT_EQ(s.at(1, 0), clGray);    // inner corner
    EXPECT_EQ(s.at(0, 0), clSilver);  // outer corner
}
