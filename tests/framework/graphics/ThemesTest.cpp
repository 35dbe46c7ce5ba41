#include "framework/graphics/Themes.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>

namespace {
int changedPixels(TBitmap &b, const TRect &r)
{
    int n = 0;
    const QImage &img = b.Image();
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            n += img.pixelColor(x, y) != QColor(Qt::white);
    return n;
}
} // namespace

TEST(Themes, ProbesGiveFixedAnswers)
{
    EXPECT_TRUE(IsThemeActive());
    EXPECT_EQ(CommonControlsVersion() >> 16, 6u);
    EXPECT_EQ(IsDarkColorScheme(), QGuiApplication::palette().color(QPalette::Base).lightness() < 128);
}

TEST(Themes, ThemedPartsPaintInsideTheirRectangle)
{
    const TRect r(4, 4, 44, 24), outside(0, 0, 60, 4);
    const std::function<void(TCanvas *)> parts[] = {
        [&](TCanvas *c) { DrawThemedButton(c, r, tsPressed, "OK"); },
        [&](TCanvas *c) { DrawThemedHeader(c, r, tsNormal, "Site"); },
        [&](TCanvas *c) { DrawThemedCheckBox(c, Rect(4, 4, 20, 20), cbChecked, tsNormal); },
        [&](TCanvas *c) { DrawThemedProgress(c, r, 150, 0, 100); },
    };
    for (const auto &draw : parts) {
        TBitmap b(60, 30);
        draw(b.Canvas());
        EXPECT_GT(changedPixels(b, r), 20);
        EXPECT_EQ(changedPixels(b, outside), 0);
    }
    // A checked box differs from an unchecked one.
    TBitmap on(20, 20), off(20, 20);
    DrawThemedCheckBox(on.Canvas(), Rect(2, 2, 18, 18), cbChecked, tsNormal);
    DrawThemedCheckBox(off.Canvas(), Rect(2, 2, 18, 18), cbUnchecked, tsNormal);
    EXPECT_NE(on.Image(), off.Image());
}
