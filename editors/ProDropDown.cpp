#include "editors/ProDropDown.h"

#include "framework/rtl/System.h"

void DrawGradientSteps(TCanvas *Canvas, TColor FromColor, TColor ToColor, int32_t Steps, TRect R, bool Direction)
{
    if (!Canvas)
        return;
    if (Steps < 1)
        Steps = 1;
    const TColorRef f = ColorToRGB(FromColor), t = ColorToRGB(ToColor);
    const int fr = GetRValue(f), fg = GetGValue(f), fb = GetBValue(f);
    const int dr = GetRValue(t) - fr, dg = GetGValue(t) - fg, db = GetBValue(t) - fb;
    if (Direction)
        --R.Right;
    else
        --R.Bottom;
    const double d = double(Direction ? R.Width() : R.Height()) / Steps;
    const int len = int(Round(d)) + 1;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Brush()->SetStyle(bsSolid);
    for (int n = 0; n < Steps; ++n) {
        const TColor c = TColor(RGB(uint8_t(fr + Round(double(n) * dr / Steps)), uint8_t(fg + Round(double(n) * dg / Steps)),
                                    uint8_t(fb + Round(double(n) * db / Steps))));
        Canvas->Pen()->SetColor(c);
        Canvas->Brush()->SetColor(c);
        const int start = int16_t((Direction ? R.Left : R.Top) + Round(n * d));
        if (Direction)
            Canvas->Rectangle(start, R.Top, start + len, R.Bottom);
        else
            Canvas->Rectangle(R.Left, start, R.Right, start + len);
    }
}
