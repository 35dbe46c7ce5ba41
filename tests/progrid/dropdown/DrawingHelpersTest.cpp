// The drawing helpers of the drop-down classes: colour mixing, boxes, images with text, glyphs,
// text measuring and shortening, mini-HTML captions and painting a control's children.
#include "editors/ProDropDown.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "tests/common/PixelSheet.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

TEST(ColourMixing, BlendColorMixesChannelByChannel)
{
    struct Case
    {
        TColor a, b;
        int percent;
        TColor want;
    };
    // 20 % red over white: red 255, green and blue 0.8 x 255 = 204.
    const Case cases[] = {
        {clRed, clWhite, 20, TColor(0xCCCCFF)}, {clRed, clWhite, 100, clRed}, {clRed, clWhite, 150, clRed},
        {clRed, clWhite, 0, clWhite},           {clRed, clWhite, -5, clWhite},
        // 127.5 rounds to the even 128.
        {clBlack, clWhite, 50, TColor(0x808080)}, {TColor(0x102030), TColor(0x3020A0), 25, TColor(0x282084)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(BlendColor(c.a, c.b, c.percent), c.want) << c.percent;
}

TEST(ColourMixing, AdjustColorPercentScalesDownAndLiftsZeroChannels)
{
    // Red 0xE1 x 0.9 = 202.5, rounded to the even 202 (0xCA); green 0xF0 x 0.9 = 216 (0xD8).
    EXPECT_EQ(AdjustColorPercent(TColor(0xF5F0E1), -10, -10, 0), TColor(0xF5D8CA));
    // Raising keeps a channel (at most 100 %); a channel at 0 takes the percentage itself.
    EXPECT_EQ(AdjustColorPercent(TColor(0x646464), 10, -50, -100), TColor(0x003264));
    EXPECT_EQ(AdjustColorPercent(TColor(0x000000), 20, -20, 300), TColor(0xFF0014));
}

TEST(TextFitting, TruncateTextDropsLettersUntilTheRestIsNarrower)
{
    TPixelSheet s(10, 10);
    TCanvas *c = s.c();
    const QString word = QStringLiteral("WWWWW");
    ASSERT_GT(c->TextWidth(word), c->TextWidth(QStringLiteral("WWW...")));
    EXPECT_EQ(TruncateText(c, word, c->TextWidth(word), true), word);
    EXPECT_EQ(TruncateText(c, word, c->TextWidth(QStringLiteral("WWW...")) + 1, true), QStringLiteral("WWW..."));
    EXPECT_EQ(TruncateText(c, word, c->TextWidth(QStringLiteral("WWW")) + 1, false), QStringLiteral("WWW"));
    // A candidate exactly as wide as the room is one letter too long.
    EXPECT_EQ(TruncateText(c, word, c->TextWidth(QStringLiteral("WWW...")), true), QStringLiteral("WW..."));
    // When not even the ellipsis fits, the text stays whole.
    EXPECT_EQ(TruncateText(c, word, 1, true), word);

    TSize size{7, 7};
    GetTextExtent(c, QString(), size);
    EXPECT_EQ(size, (TSize{0, 0}));
    // Measured as the text shows: the accelerator mark takes no room.
    GetTextExtent(c, QStringLiteral("A&B"), size);
    EXPECT_EQ(size.cx, c->TextWidth(QStringLiteral("AB")));
    EXPECT_EQ(size.cy, c->TextHeight(QStringLiteral("AB")));
}

TEST(Boxes, DrawGradientBoxFillsInTheGivenDirectionAndFramesIt)
{
    // From black to blue: the blue channel grows along the direction and stays across it.
    auto blue = [](TColor c) { return int(GetBValue(TColorRef(c))); };
    TPixelSheet v(40, 40);
    DrawGradientBox(v.c(), Rect(0, 0, 40, 40), clBlack, clBlue, clRed, 1, gdVertical);
    EXPECT_EQ(v.at(0, 0), clRed);
    EXPECT_EQ(v.at(39, 20), clRed);
    EXPECT_LT(blue(v.at(5, 2)), 0x20);
    EXPECT_GT(blue(v.at(5, 37)), 0xE0);
    for (int y = 1; y < 39; y += 6) {
        EXPECT_EQ(v.at(5, y), v.at(30, y));
        EXPECT_LT(blue(v.at(5, y)), blue(v.at(5, y + 6)));
    }

    TPixelSheet h(40, 40);
    DrawGradientBox(h.c(), Rect(0, 0, 40, 40), clBlack, clBlue, clNone, 1, gdHorizontal);
    EXPECT_LT(blue(h.at(0, 0)), 0x10);
    EXPECT_GT(blue(h.at(38, 5)), 0xE0);
    for (int x = 0; x < 38; x += 6) {
        EXPECT_EQ(h.at(x, 0), h.at(x, 39));
        EXPECT_LT(blue(h.at(x, 5)), blue(h.at(x + 6, 5)));
    }

    // One colour fills; no colour leaves the background; no pen width, no frame.
    TPixelSheet p(20, 20);
    DrawGradientBox(p.c(), Rect(0, 0, 20, 20), clLime, clNone, clRed, 0, gdVertical);
    EXPECT_EQ(p.count(clLime), 400);
    TPixelSheet n(20, 20);
    DrawGradientBox(n.c(), Rect(0, 0, 20, 20), clNone, clNone, clRed, 2, gdVertical);
    EXPECT_EQ(n.at(10, 10), clWhite);
    EXPECT_EQ(n.at(0, 10), clRed);
}

TEST(Boxes, DrawImageAndTextCentresTheTextOnlyWithoutAnImage)
{
    TCustomImageList images(12, 10);
    TBitmap pic(12, 10);
    pic.Canvas()->Brush()->SetColor(clLime);
    pic.Canvas()->FillRect(Rect(0, 0, 12, 10));
    images.Add(&pic, nullptr);

    TPixelSheet plain(200, 30);
    plain.c()->Brush()->SetStyle(bsClear);
    DrawImageAndText(plain.c(), Rect(0, 0, 200, 30), QStringLiteral("Text"), &images, -1);
    const TRect ink = plain.ink(Rect(0, 0, 200, 30));
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LE(std::abs(ink.Left - (200 - ink.Right)), 2);
    EXPECT_EQ(plain.count(clLime), 0);

    TPixelSheet with(200, 30);
    with.c()->Brush()->SetStyle(bsClear);
    DrawImageAndText(with.c(), Rect(0, 0, 200, 30), QStringLiteral("Text"), &images, 0);
    EXPECT_EQ(with.count(clLime), 120);
    EXPECT_EQ(with.ink(Rect(0, 0, 200, 30)).Left, 4);
    EXPECT_EQ(with.at(4, 10), clLime);
    EXPECT_EQ(with.at(4, 9), clWhite);
    // The text starts after the image and 8 pixels of room, not in the middle.
    const TRect text = with.ink(Rect(17, 0, 200, 30));
    EXPECT_GE(text.Left, 4 + 12 + 4);
    EXPECT_LT(text.Left, 40);

    // A text too long for the room ends in an ellipsis, kept inside the rectangle.
    TPixelSheet longer(60, 30);
    DrawImageAndText(longer.c(), Rect(0, 0, 60, 30), QStringLiteral("A rather long caption"), nullptr, -1);
    EXPECT_LE(longer.ink(Rect(0, 0, 60, 30)).Right, 60);
}

TEST(Boxes, DrawTransparentGlyphPutsTheBackColourWhereTheCornerColourWas)
{
    TBitmap glyph(4, 4);
    glyph.Canvas()->Brush()->SetColor(clGreen);
    glyph.Canvas()->FillRect(Rect(0, 0, 4, 4));
    glyph.Canvas()->SetPixels(2, 1, clRed);
    TPixelSheet s(20, 20);
    DrawTransparentGlyph(s.c(), &glyph, clYellow, Rect(10, 10, 14, 14));
    EXPECT_EQ(s.count(clYellow), 15);
    EXPECT_EQ(s.at(12, 11), clRed);
    EXPECT_EQ(s.count(clGreen), 0);
    EXPECT_EQ(s.count(clWhite), 400 - 16);
    // The glyph itself is not changed.
    EXPECT_EQ(glyph.Canvas()->Pixels(0, 0), clGreen);
}

TEST(Captions, DrawHTMLCaptionMeasuresOrDraws)
{
    TPixelSheet measure(200, 40);
    TPoint size{5, 5};
    DrawHTMLCaption(measure.c(), QString(), Rect(0, 0, 200, 40), nullptr, true, 0, size);
    EXPECT_EQ(size, (TPoint{0, 0}));
    DrawHTMLCaption(measure.c(), QStringLiteral("<b>Bold</b> text"), Rect(0, 0, 200, 40), nullptr, false, 0, size);
    EXPECT_GT(size.X, 0);
    EXPECT_GT(size.Y, 0);
    EXPECT_EQ(measure.count(clWhite), 200 * 40);

    TPixelSheet draw(200, 40);
    TPoint drawn;
    DrawHTMLCaption(draw.c(), QStringLiteral("<b>Bold</b> text"), Rect(0, 0, 200, 40), nullptr, true, 0, drawn);
    EXPECT_EQ(drawn, size);
    const TRect ink = draw.ink(Rect(0, 0, 200, 40));
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LE(ink.Right, size.X + 1);
}

TEST(ChildPainting, PaintCtrlsPaintsTheChildrenFromTheGivenOneOn)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 100, 60);
    auto *host = new TPanel(&form);
    host->SetParent(&form);
    host->SetBounds(0, 0, 100, 60);
    TPanel *parts[2];
    const TColor colours[2] = {clRed, clBlue};
    for (int i = 0; i < 2; ++i) {
        parts[i] = new TPanel(&form);
        parts[i]->SetParent(host);
        parts[i]->SetBevelOuter(bvNone);
        parts[i]->SetColor(colours[i]);
        parts[i]->SetBounds(10 + 40 * i, 10, 30, 30);
    }
    form.Show();

    TPixelSheet all(100, 60);
    TWinCtrl::PaintCtrls(host, all.c(), nullptr);
    EXPECT_EQ(all.at(25, 25), clRed);
    EXPECT_EQ(all.at(65, 25), clBlue);
    EXPECT_EQ(all.at(5, 5), clWhite);

    TPixelSheet from(100, 60);
    TWinCtrl::PaintCtrls(host, from.c(), parts[1]);
    EXPECT_EQ(from.at(25, 25), clWhite);
    EXPECT_EQ(from.at(65, 25), clBlue);
}
