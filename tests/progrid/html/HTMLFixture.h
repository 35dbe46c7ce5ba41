#pragma once
// Mini-HTML drawn on a white offscreen bitmap, with every output of the renderer kept.
#include "grid/core/PsgHTMLE.h"

#include <gtest/gtest.h>

struct HTMLOut
{
    bool Result = false;
    QString AnchorVal = QStringLiteral("none"), StripVal, FocusAnchor, AnchorTitle;
    int32_t XSize = -1, YSize = -1, LinkCount = -1, MouseLink = -2;
    TRect HoverRect{-5, -5, -5, -5}, ControlRect{-5, -5, -5, -5};
    QString ControlID, ControlValue, ControlType;
};

class HTMLSheet : public ::testing::Test
{
protected:
    TBitmap bmp{300, 120};
    TPictureContainer container;
    THTMLPictureCache cache;
    TRect rect{10, 5, 290, 115};
    int32_t XPos = -1, YPos = -1, FocusLink = -1;
    TCustomImageList *Images = nullptr;
    bool WordWrap = false, HitTestOnly = false, MeasureOnly = false;

    void SetUp() override
    {
        bmp.SetPixelFormat(pf32bit);
        Clear();
        C()->Font()->SetName(QStringLiteral("DejaVu Sans"));
        C()->Font()->SetSize(10);
        C()->Font()->SetColor(clBlack);
    }
    TCanvas *C() { return bmp.Canvas(); }
    void Clear()
    {
        C()->Brush()->SetColor(clWhite);
        C()->FillRect(TRect(0, 0, bmp.Width(), bmp.Height()));
    }
    TColor At(int x, int y) { return C()->Pixels(x, y) & 0xFFFFFF; }
    int Count(TColor c)
    {
        int n = 0;
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                n += At(x, y) == (c & 0xFFFFFF);
        return n;
    }
    int NonWhite(int *left = nullptr)
    {
        int n = 0, l = bmp.Width();
        for (int y = 0; y < bmp.Height(); ++y)
            for (int x = 0; x < bmp.Width(); ++x)
                if (At(x, y) != 0xFFFFFF) {
                    ++n;
                    l = std::min(l, x);
                }
        if (left)
            *left = l;
        return n;
    }
    QImage Pixels() { return bmp.Image().copy(); }
    int W(const QString &s) { return C()->TextWidth(s); }
    int GH() { return C()->TextHeight(QStringLiteral("gh")); }

    HTMLOut Draw(const QString &text, HTMLOut o = HTMLOut())
    {
        o.Result = DrawHTMLText(C(), text, rect, Images, XPos, YPos, FocusLink, -1, 1, HitTestOnly, MeasureOnly, false,
                                false, true, false, WordWrap, false, 1.0, 0xFF0000, clNone, clNone, 0x808080,
                                o.AnchorVal, o.StripVal, o.FocusAnchor, o.AnchorTitle, o.XSize, o.YSize, o.LinkCount,
                                o.MouseLink, o.HoverRect, o.ControlRect, o.ControlID, o.ControlValue, o.ControlType,
                                &cache, &container, 0, bdLeftToRight);
        return o;
    }
};
