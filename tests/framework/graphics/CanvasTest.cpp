#include "framework/graphics/Graphics.h"
#include "tests/common/TestSupport.h"
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

// Pixels of the bitmap that differ from white, as a set of "x,y" points.
std::set<std::pair<int, int>> painted(TBitmap &b)
{
    std::set<std::pair<int, int>> out;
    const QImage &img = b.Image();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) != QColor(Qt::white))
                out.insert({x, y});
    return out;
}

std::set<std::pair<int, int>> rectPixels(int l, int t, int r, int b)
{
    std::set<std::pair<int, int>> out;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            out.insert({x, y});
    return out;
}

} // namespace

TEST(Colors, SystemColoursResolveAndPlainColoursPassThrough)
{
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    EXPECT_EQ(ColorToRGB(clNone), 0x1FFFFFFFu);
    EXPECT_EQ(RGB(1, 2, 3), 0x030201u);
    EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
    QColor hl = QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
    EXPECT_EQ(ColorToRGB(clHighlight), RGB(hl.red(), hl.green(), hl.blue()));
    EXPECT_EQ(ColorToQColor(clBlue), QColor(0, 0, 255));
    EXPECT_EQ(StringToColor("clTeal"), clTeal);
    EXPECT_EQ(StringToColor("$000080FF"), 0x80FF);
    EXPECT_EQ(ColorToString(clHighlight), "clHighlight");
    EXPECT_THROW(StringToColor("teal-ish"), EConvertError);
}

TEST(GraphicsObjects, FontSizeAndHeightAreOneValue)
{
    TFont f;
    int changes = 0;
    f.OnChange = [&](TObject *) { ++changes; };
    EXPECT_EQ(f.Size(), 8);
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);
    f.SetPixelsPerInch(600);
    EXPECT_EQ(f.Size(), 12);
    EXPECT_EQ(f.Height(), -100);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(f.ToQFont().pixelSize(), 100);
}

TEST(GraphicsObjects, QtFontFollowsEveryChangeAfterItWasBuilt)
{
    TFont f;
    f.ToQFont();
    f.SetName(QStringLiteral("Courier New"));
    EXPECT_EQ(f.ToQFont().family(), QStringLiteral("Courier New"));
    f.SetHeight(-20);
    EXPECT_EQ(f.ToQFont().pixelSize(), 20);
    f.SetStyle({fsBold, fsUnderline});
    EXPECT_TRUE(f.ToQFont().bold());
    EXPECT_TRUE(f.ToQFont().underline());
    f.SetPitch(fpFixed);
    EXPECT_TRUE(f.ToQFont().fixedPitch());
    f.SetPixelsPerInch(192);
    EXPECT_EQ(f.ToQFont().pixelSize(), 40);
    TFont plain;
    f.Assign(&plain);
    EXPECT_FALSE(f.ToQFont().bold());
    EXPECT_EQ(f.ToQFont().pixelSize(), 21);
}

TEST(GraphicsObjects, BrushOfColourNoneIsClear)
{
    TBrush b;
    b.SetColor(clNone);
    EXPECT_EQ(b.Style(), bsClear);
    b.SetColor(clRed);
    EXPECT_EQ(b.Style(), bsSolid);
}

TEST(Canvas, FillRectExcludesRightAndBottomEdges)
{
    TBitmap b(20, 20);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(2, 2, 12, 12));
    EXPECT_EQ(painted(b), rectPixels(2, 2, 12, 12));
    EXPECT_EQ(b.Canvas()->Pixels(2, 2), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(12, 12), clWhite);
}

TEST(Canvas, LineToLeavesOutItsEndPoint)
{
    struct Case { TPoint from, to; std::set<std::pair<int, int>> want; };
    const Case cases[] = {
        {{2, 5}, {8, 5}, rectPixels(2, 5, 8, 6)},
        {{5, 9}, {5, 3}, rectPixels(5, 4, 6, 10)},
        {{1, 1}, {5, 5}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}}},
        {{3, 3}, {4, 3}, {{3, 3}}},
        {{3, 3}, {3, 3}, {}},
    };
    for (const Case &c : cases) {
        TBitmap b(12, 12);
        b.Canvas()->MoveTo(c.from.X, c.from.Y);
        b.Canvas()->LineTo(c.to.X, c.to.Y);
        EXPECT_EQ(painted(b), c.want) << c.from.X << "," << c.from.Y << " -> " << c.to.X << "," << c.to.Y;
        EXPECT_EQ(b.Canvas()->PenPos(), c.to);
    }
}

TEST(Canvas, RectangleFramesWithPenAndFillsWithBrush)
{
    TBitmap b(12, 12);
    TCanvas *c = b.Canvas();
    c->Pen()->SetColor(clBlue);
    c->Brush()->SetColor(clLime);
    c->Rectangle(1, 1, 6, 5);
    EXPECT_EQ(painted(b), rectPixels(1, 1, 6, 5));
    EXPECT_EQ(c->Pixels(1, 1), clBlue);
    EXPECT_EQ(c->Pixels(5, 4), clBlue);
    EXPECT_EQ(c->Pixels(2, 2), clLime);

    // A clear brush leaves the inside alone.
    c->Brush()->SetStyle(bsClear);
    c->Pen()->SetColor(clRed);
    c->Rectangle(7, 7, 11, 11);
    EXPECT_EQ(c->Pixels(7, 10), clRed);
    EXPECT_EQ(c->Pixels(8, 8), clWhite);
}

TEST(Canvas, TextOutFillsBackgroundUnlessBrushIsClear)
{
    TBitmap b(120, 40);
    TCanvas *c = b.Canvas();
    c->Font()->SetColor(clBlack);
    c->Brush()->SetColor(clYellow);
    TSize ext = c->TextExtent("Wg");
    ASSERT_GT(ext.cx, 0);
    ASSERT_GT(ext.cy, 0);
    c->TextOut(10, 5, "Wg");
    // The extent is covered (yellow or glyph) and nothing is painted outside it.
    int yellow = 0;
    for (const auto &[x, y] : painted(b)) {
        EXPECT_TRUE(x >= 10 && x < 10 + ext.cx && y >= 5 && y < 5 + ext.cy) << x << "," << y;
        yellow += c->Pixels(x, y) == clYellow;
    }
    EXPECT_GT(yellow, ext.cx * ext.cy / 3);
    EXPECT_EQ(c->Pixels(10, 5), clYellow);
    EXPECT_EQ(c->PenPos(), TPoint(10 + ext.cx, 5));

    TBitmap clear(120, 40);
    clear.Canvas()->Brush()->SetStyle(bsClear);
    clear.Canvas()->TextOut(10, 5, "Wg");
    for (const auto &[x, y] : painted(clear))
        EXPECT_NE(clear.Canvas()->Pixels(x, y), clYellow);
    EXPECT_FALSE(painted(clear).empty());
}

TEST(Canvas, DrawTextMeasuresAndWraps)
{
    TBitmap b(200, 200);
    TCanvas *c = b.Canvas();
    const int lh = c->TextHeight("A");
    TRect r(0, 0, 1000, 0);
    EXPECT_EQ(c->DrawText("one two", r, DT_CALCRECT | DT_SINGLELINE), lh);
    EXPECT_EQ(r.Width(), c->TextWidth("one two"));

    // Wrapped into a box narrower than two words: one line per word.
    const int wide = c->TextWidth("three");
    r = Rect(0, 0, wide + 2, 0);
    EXPECT_EQ(c->DrawText("one two three", r, DT_CALCRECT | DT_WORDBREAK), 3 * lh);
    EXPECT_EQ(r.Bottom, 3 * lh);
    EXPECT_LE(r.Width(), wide + 2);

    // Line breaks count without word break; the prefix & disappears unless DT_NOPREFIX.
    r = Rect(0, 0, 0, 0);
    EXPECT_EQ(c->DrawText("a\r\nb\nc", r, DT_CALCRECT), 3 * lh);
    r = Rect(0, 0, 0, 0);
    c->DrawText("&Open", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), c->TextWidth("Open"));
    r = Rect(0, 0, 0, 0);
    c->DrawText("&Open", r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(r.Width(), c->TextWidth("&Open"));

    // End ellipsis keeps drawn text inside the box; right alignment puts it at the right edge.
    c->Brush()->SetColor(clAqua);
    TRect box(10, 10, 60, 10 + lh);
    c->DrawText("a rather long text that does not fit", box, DT_SINGLELINE | DT_END_ELLIPSIS | DT_RIGHT);
    for (const auto &[x, y] : painted(b))
        EXPECT_TRUE(box.Contains(TPoint(x, y))) << x << "," << y;
}

TEST(Canvas, ClippingLimitsDrawing)
{
    TBitmap b(20, 20);
    TCanvas *c = b.Canvas();
    c->Brush()->SetColor(clRed);
    c->IntersectClipRect(Rect(0, 0, 10, 10));
    c->IntersectClipRect(Rect(5, 5, 20, 20));
    EXPECT_EQ(c->ClipRect(), Rect(5, 5, 10, 10));
    c->FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(painted(b), rectPixels(5, 5, 10, 10));
    c->ResetClip();
    EXPECT_EQ(c->ClipRect(), Rect(0, 0, 20, 20));
    c->ExcludeClipRect(Rect(0, 0, 20, 19));
    c->FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(painted(b).size(), 25u + 20u);
}

TEST(Canvas, FocusRectTogglesAndEdgesAdjust)
{
    TBitmap b(16, 16);
    TCanvas *c = b.Canvas();
    c->DrawFocusRect(Rect(2, 2, 12, 10));
    auto once = painted(b);
    EXPECT_FALSE(once.empty());
    for (const auto &[x, y] : once)
        EXPECT_TRUE(x == 2 || x == 11 || y == 2 || y == 9);
    c->DrawFocusRect(Rect(2, 2, 12, 10));
    EXPECT_TRUE(painted(b).empty());

    TRect r(0, 0, 10, 10);
    c->DrawEdge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    EXPECT_EQ(r, Rect(2, 2, 8, 8));
    EXPECT_EQ(c->Pixels(0, 0), TColor(ColorToRGB(clBtnShadow)));
}

TEST(Canvas, AttachedPainterIsRestoredOnDetach)
{
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    TCanvas c;
    EXPECT_THROW(c.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
    c.AttachPainter(&p);
    c.Brush()->SetColor(clBlue);
    c.SetClipRect(Rect(0, 0, 3, 3));
    c.FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(c.Pixels(2, 2), clBlue);
    c.DetachPainter();
    EXPECT_FALSE(p.hasClipping());
    p.end();
    EXPECT_EQ(img.pixelColor(2, 2), QColor(0, 0, 255));
    EXPECT_EQ(img.pixelColor(3, 3), QColor(Qt::white));
}
