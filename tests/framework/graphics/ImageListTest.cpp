#include "framework/graphics/ImgList.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>

namespace {

// A w x h bitmap filled with Back, with a Fore square of 2 x 2 at (x, y).
std::unique_ptr<TBitmap> glyph(int w, int h, TColor Back, TColor Fore, int x, int y)
{
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(Back);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    b->Canvas()->Brush()->SetColor(Fore);
    b->Canvas()->FillRect(Rect(x, y, x + 2, y + 2));
    return b;
}

QColor at(TBitmap &b, int x, int y) { return b.Image().pixelColor(x, y); }

} // namespace

TEST(ImageList, MaskedImageDrawsOnlyItsOpaquePixels)
{
    TImageList list(4, 4);
    // Two images side by side: the mask colour (fuchsia) is the background.
    auto strip = glyph(8, 4, clFuchsia, clBlue, 1, 1);
    strip->Canvas()->Brush()->SetColor(clRed);
    strip->Canvas()->FillRect(Rect(6, 2, 8, 4));
    EXPECT_EQ(list.AddMasked(strip.get(), clFuchsia), 0);
    EXPECT_EQ(list.Count(), 2);

    TBitmap target(10, 10);
    target.Canvas()->Brush()->SetColor(clYellow);
    target.Canvas()->FillRect(Rect(0, 0, 10, 10));
    list.Draw(target.Canvas(), 3, 3, 0);
    list.Draw(target.Canvas(), 3, 3, 1);
    list.Draw(target.Canvas(), 0, 0, 2);  // outside the list: nothing
    list.Draw(target.Canvas(), 0, 0, -1);

    EXPECT_EQ(at(target, 4, 4), QColor(Qt::blue));
    EXPECT_EQ(at(target, 5, 4), QColor(Qt::blue));
    EXPECT_EQ(at(target, 6, 6), QColor(Qt::red));   // image 1's square at (2, 2)
    EXPECT_EQ(at(target, 5, 5), QColor(Qt::red));   // drawn last, over image 0
    EXPECT_EQ(at(target, 3, 3), QColor(Qt::yellow)); // mask colour left the canvas alone
    EXPECT_EQ(at(target, 6, 3), QColor(Qt::yellow));
    EXPECT_EQ(at(target, 0, 0), QColor(Qt::yellow));
    EXPECT_EQ(at(target, 8, 8), QColor(Qt::yellow));

    // A disabled image is not drawn in its own colour.
    TBitmap grey(4, 4);
    list.Draw(grey.Canvas(), 0, 0, 0, false);
    QColor g = at(grey, 1, 1);
    EXPECT_NE(g, QColor(Qt::blue));
    EXPECT_EQ(g.red(), g.blue());
}

TEST(ImageList, MonochromeMaskAndDefaultMaskColour)
{
    TImageList list(3, 3);
    auto img = glyph(3, 3, clGreen, clGreen, 0, 0);
    // White mask pixels are transparent: only the top-left pixel stays.
    auto mask = glyph(3, 3, clWhite, clBlack, -1, -1);
    EXPECT_EQ(list.Add(img.get(), mask.get()), 0);
    EXPECT_EQ(list.Add(img.get(), nullptr), 1);  // no mask: opaque
    // clDefault takes the bottom-left pixel as the mask colour.
    auto dot = glyph(3, 3, clWhite, clRed, 0, 0);
    EXPECT_EQ(list.AddMasked(dot.get(), clDefault), 2);

    TBitmap out;
    ASSERT_TRUE(list.GetBitmap(0, &out));
    EXPECT_EQ(out.PixelFormat(), pf32bit);
    EXPECT_EQ(out.Width(), 3);
    EXPECT_EQ(out.Image().pixelColor(0, 0), QColor(Qt::darkGreen));
    EXPECT_EQ(out.Image().pixelColor(1, 1).alpha(), 0);
    EXPECT_EQ(list.GetImage(1).pixelColor(2, 2), QColor(Qt::darkGreen));
    EXPECT_EQ(list.GetImage(2).pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(list.GetImage(2).pixelColor(2, 2).alpha(), 0);
    EXPECT_FALSE(list.GetBitmap(3, &out));
}

TEST(ImageList, ReplaceDeleteClearAndErrors)
{
    TImageList list(2, 2);
    int changes = 0;
    list.OnChange = [&](TObject *) { ++changes; };
    auto red = glyph(2, 2, clRed, clRed, 0, 0);
    auto blue = glyph(2, 2, clBlue, clBlue, 0, 0);
    list.Add(red.get(), nullptr);
    list.Add(blue.get(), nullptr);
    list.Replace(0, blue.get(), nullptr);
    EXPECT_EQ(list.GetImage(0).pixelColor(0, 0), QColor(Qt::blue));
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(changes, 4);

    EXPECT_THROW(list.Delete(1), EInvalidOperation);
    EXPECT_THROW(list.Delete(-1), EInvalidOperation);
    EXPECT_THROW(list.Replace(5, red.get(), nullptr), EInvalidOperation);
    TBitmap empty;
    EXPECT_THROW(list.Add(&empty, nullptr), EInvalidOperation);
    EXPECT_THROW(list.AddMasked(nullptr, clRed), EInvalidOperation);
    EXPECT_EQ(list.Count(), 1);

    // A new size cannot hold the old images.
    list.SetWidth(8);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Width(), 8);
    list.Add(red.get(), nullptr);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_THROW(list.SetHeight(0), EInvalidOperation);
}
