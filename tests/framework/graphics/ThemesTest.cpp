#include "framework/graphics/Themes.h"
#include "tests/common/TestSupport.h"
#include <QGuiApplication>
#include <QPalette>
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

TEST(Themes, ComboAndSpinButtonsPaintInsideTheirRectangle)
{
    const TRect r(4, 4, 21, 24), outside(0, 0, 30, 4);
    const std::function<void(TCanvas *)> parts[] = {
        [&](TCanvas *c) { DrawThemedComboButton(c, r, tsNormal); },
        [&](TCanvas *c) { DrawThemedSpinButton(c, r, true, tsHot); },
        [&](TCanvas *c) { DrawThemedSpinButton(c, r, false, tsDisabled); },
    };
    for (const auto &draw : parts) {
        TBitmap b(30, 30);
        draw(b.Canvas());
        EXPECT_GT(changedPixels(b, r), 20);
        EXPECT_EQ(changedPixels(b, outside), 0);
    }
}

TEST(Themes, ThemeDataByClassPartAndState)
{
    EXPECT_NE(OpenThemeData(0, "combobox"), 0);
    EXPECT_NE(OpenThemeData(0, "Spin"), 0);
    EXPECT_NE(OpenThemeData(0, "nothing;button"), 0);
    EXPECT_EQ(OpenThemeData(0, "treeview"), 0);
    const HTHEME spin = OpenThemeData(0, "spin"), button = OpenThemeData(0, "button");
    const TRect r(2, 2, 18, 18);
    const struct
    {
        HTHEME theme;
        int part, state;
        bool drawn;
    } cases[] = {
        {spin, 1, 1, true}, {spin, 2, 4, true}, {spin, 3, 1, true}, {spin, 4, 2, true}, {spin, 5, 1, false}, {button, 3, 5, true},
        {button, 2, 9, false}, {button, 1, 3, true}, {0, 1, 1, false},
    };
    for (const auto &c : cases) {
        TBitmap b(20, 20);
        EXPECT_EQ(DrawThemeBackground(c.theme, b.Canvas(), c.part, c.state, r), c.drawn) << c.part << " " << c.state;
        EXPECT_EQ(changedPixels(b, r) > 0, c.drawn);
        CloseThemeData(c.theme);
    }
    // States of a check box: checked and unchecked differ.
    TBitmap on(20, 20), off(20, 20);
    DrawThemeBackground(button, on.Canvas(), 3, 5, r);
    DrawThemeBackground(button, off.Canvas(), 3, 1, r);
    EXPECT_NE(on.Image(), off.Image());
}

TEST(Themes, FrameControls)
{
    const TRect r(2, 2, 20, 16);
    TBitmap up(24, 20), pushed(24, 20), arrow(24, 20), grey(24, 20);
    EXPECT_TRUE(DrawFrameControl(up.Canvas(), r, DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_TRUE(DrawFrameControl(pushed.Canvas(), r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED));
    EXPECT_NE(up.Image(), pushed.Image());
    EXPECT_EQ(changedPixels(up, Rect(0, 0, 24, 2)), 0);
    EXPECT_TRUE(DrawFrameControl(arrow.Canvas(), r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX));
    EXPECT_TRUE(DrawFrameControl(grey.Canvas(), r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_INACTIVE));
    EXPECT_EQ(arrow.Canvas()->Pixels(11, 9), TColor(ColorToRGB(clBtnText)));
    EXPECT_EQ(grey.Canvas()->Pixels(11, 9), TColor(ColorToRGB(clGrayText)));
    EXPECT_FALSE(DrawFrameControl(up.Canvas(), r, 99, 0));
    // Scroll arrows to the sides: the tip on the side they point to.
    TBitmap left(24, 20), right(24, 20);
    EXPECT_TRUE(DrawFrameControl(left.Canvas(), r, DFC_SCROLL, DFCS_SCROLLLEFT));
    EXPECT_TRUE(DrawFrameControl(right.Canvas(), r, DFC_SCROLL, DFCS_SCROLLRIGHT));
    const TColor text = TColor(ColorToRGB(clBtnText));
    EXPECT_EQ(left.Canvas()->Pixels(10, 9), text);
    EXPECT_NE(left.Canvas()->Pixels(13, 9), text);
    EXPECT_EQ(right.Canvas()->Pixels(12, 9), text);
    EXPECT_NE(right.Canvas()->Pixels(9, 9), text);
}

TEST(Themes, PlatformProbes)
{
    EXPECT_EQ(Win32MajorVersion(), 6);
    EXPECT_EQ(Win32MinorVersion(), 1);
    QString file, scheme, size;
    GetCurrentThemeName(file, scheme, size);
    EXPECT_FALSE(file.isEmpty());
    for (const char *xp : {"NormalColor", "HomeStead", "Metallic"})
        EXPECT_NE(scheme, QString::fromLatin1(xp));
    EXPECT_EQ(InstalledOfficeVersion(), 0);
    EXPECT_EQ(OfficeThemeSetting(12), -1);
    EXPECT_EQ(OfficeThemeSetting(14), -1);
}
