#pragma once
// A bitmap filled with one colour to paint on, read back pixel by pixel.
#include "framework/graphics/Graphics.h"

#include <algorithm>

struct TPixelSheet
{
    TBitmap bmp;
    TColor bg;
    TPixelSheet(int w, int h, TColor Background = clWhite) : bmp(w, h), bg(Background)
    {
        bmp.Canvas()->Brush()->SetColor(bg);
        bmp.Canvas()->FillRect(Rect(0, 0, w, h));
    }
    TCanvas *c() { return bmp.Canvas(); }
    TColor at(int x, int y) { return bmp.Canvas()->Pixels(x, y); }
    int count(TColor color, const TRect &r)
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += at(x, y) == color;
        return n;
    }
    int count(TColor color) { return count(color, Rect(0, 0, bmp.Width(), bmp.Height())); }
    // The bounding box of every pixel not in the background colour; empty when there is none.
    TRect ink(const TRect &r)
    {
        TRect b(r.Right, r.Bottom, r.Left, r.Top);
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (at(x, y) != bg) {
                    b.Left = std::min(b.Left, x);
                    b.Top = std::min(b.Top, y);
                    b.Right = std::max(b.Right, x + 1);
                    b.Bottom = std::max(b.Bottom, y + 1);
                }
        return b.Left < b.Right ? b : TRect();
    }
};
