// Drawing routines of the grid utilities.
#include "grid/core/ProUtil.h"

#include <algorithm>
#include <cmath>

#include "framework/controls/Controls.h"
#include "framework/controls/Layered.h"
#include "framework/graphics/Themes.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"

namespace
{
struct Rgb
{
    int r, g, b;
    explicit Rgb(TColor c)
    {
        const TColorRef v = ColorToRGB(c);
        r = GetRValue(v);
        g = GetGValue(v);
        b = GetBValue(v);
    }
};

TColor MakeColor(int64_t r, int64_t g, int64_t b)
{
    auto ch = [](int64_t v) { return uint8_t(std::clamp<int64_t>(v, 0, 255)); };
    return TColor(RGB(ch(r), ch(g), ch(b)));
}

// Pen and brush in one colour, then the rectangle.
void FillBox(TCanvas *Canvas, int l, int t, int r, int b, TColor c)
{
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(c);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(c);
    // A one-pixel frame in the fill colour covers what a plain fill does, at a fraction of the cost.
    Canvas->FillRect(TRect(std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)));
}

void Line(TCanvas *Canvas, int x1, int y1, int x2, int y2, TColor c)
{
    Canvas->Pen()->SetColor(c);
    Canvas->MoveTo(x1, y1);
    Canvas->LineTo(x2, y2);
}

void Pixel(TCanvas *Canvas, int x, int y, TColor c) { Canvas->SetPixels(x, y, c); }

const TColorTone &ToneOf(const TColorTones &Tones, int32_t State)
{
    switch (State) {
    case bstHot: return Tones.Hover;
    case bstDown: return Tones.Selected;
    case bstDisabled: return Tones.Disabled;
    default: return Tones.Background;
    }
}

// The sections of a level progress bar run along its length: from the left, or up from the
// bottom for a vertical bar; Across is the bar's other dimension.
TRect Section(const TRect &Bar, bool Vertical, int From, int Len)
{
    if (Vertical)
        return Rect(Bar.Left, Bar.Bottom - From - Len, Bar.Right, Bar.Bottom - From);
    return Rect(Bar.Left + From, Bar.Top, Bar.Left + From + Len, Bar.Bottom);
}

void FillSection(TCanvas *Canvas, const TRect &S, bool Vertical, TColor Color, TColor ColorTo, bool Gradient,
                 int32_t Steps)
{
    if (S.IsEmpty())
        return;
    if (!Gradient || ColorTo == clNone) {
        FillBox(Canvas, S.Left, S.Top, S.Right, S.Bottom, Color);
        return;
    }
    // Split lengthwise: the first half runs from ColorTo to Color, the second back again.
    if (Vertical) {
        const int mid = S.Left + S.Width() / 2;
        GradientFill(Canvas, ColorTo, Color, true, Rect(S.Left, S.Top, mid, S.Bottom), Steps);
        GradientFill(Canvas, Color, ColorTo, true, Rect(mid, S.Top, S.Right, S.Bottom), Steps);
    } else {
        const int mid = S.Top + S.Height() / 2;
        GradientFill(Canvas, ColorTo, Color, false, Rect(S.Left, S.Top, S.Right, mid), Steps);
        GradientFill(Canvas, Color, ColorTo, false, Rect(S.Left, mid, S.Right, S.Bottom), Steps);
    }
}

} // namespace

void GradientFill(TCanvas *Canvas, TColor FromColor, TColor ToColor, bool Horizontal, TRect R, int32_t StepLimit)
{
    if (!Canvas || R.Bottom == R.Top)
        return;
    if (R.Bottom < R.Top)
        std::swap(R.Top, R.Bottom);
    if (FromColor == clNone || ToColor == clNone) {
        const TColor c = FromColor == clNone ? (ToColor == clNone ? FromColor : ToColor) : FromColor;
        if (c != clNone)
            FillBox(Canvas, R.Left, R.Top, R.Right, R.Bottom, c);
        return;
    }
    const int extent = Horizontal ? R.Width() - 1 : R.Height() - 1;
    const int steps = std::max(1, std::min(StepLimit, extent));
    const double size = double(std::max(extent, 0)) / steps;
    const Rgb f(FromColor), t(ToColor);
    const int far = Horizontal ? R.Right : R.Bottom;
    // Pen and brush end as the last band's box left them; between bands only the colour changes.
    TColor last = clNone;
    Canvas->Brush()->SetStyle(bsSolid);
    for (int i = 0; i <= steps; ++i) {
        const TColor c = MakeColor(f.r + Round(double(i) * (t.r - f.r) / steps), f.g + Round(double(i) * (t.g - f.g) / steps),
                                   f.b + Round(double(i) * (t.b - f.b) / steps));
        const int start = (Horizontal ? R.Left : R.Top) + int(std::trunc(i * size));
        const int end = std::min(far, start + int(std::trunc(size + 1)));
        if (end <= start)
            continue;
        if (c != last)
            Canvas->Brush()->SetColor(c);
        last = c;
        if (Horizontal)
            Canvas->FillRect(TRect(start, R.Top, end, R.Bottom));
        else
            Canvas->FillRect(TRect(R.Left, start, R.Right, end));
    }
    if (last != clNone) {
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetColor(last);
    }
}

void FillCellBackground(TCanvas *Canvas, const TRect &R, TColor Color, bool Fill, bool SidesOnly, TColor BorderColor,
                        bool Direction, TColor MirrorColorTo, TColor MirrorColor, TColor ColorTo)
{
    if (!Canvas)
        return;
    if (Fill && Color != clNone) {
        if (MirrorColor == clNone) {
            if (ColorTo == clNone)
                FillBox(Canvas, R.Left, R.Top, R.Right, R.Bottom + 1, Color);
            else
                GradientFill(Canvas, Color, ColorTo, !Direction, R, 128);
        } else if (Direction) {
            const int mid = R.Top + R.Height() / 2;
            GradientFill(Canvas, Color, ColorTo, false, Rect(R.Left, R.Top, R.Right, mid), 128);
            GradientFill(Canvas, MirrorColor, MirrorColorTo, false, Rect(R.Left, mid, R.Right, R.Bottom), 128);
        } else {
            const int mid = R.Left + R.Width() / 2;
            GradientFill(Canvas, Color, ColorTo, true, Rect(R.Left, R.Top, mid, R.Bottom), 128);
            GradientFill(Canvas, MirrorColor, MirrorColorTo, true, Rect(mid, R.Top, R.Right, R.Bottom), 128);
        }
    }
    if (BorderColor == clNone)
        return;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    if (SidesOnly) {
        Line(Canvas, R.Left, R.Top, R.Left, R.Bottom, BorderColor);
        Line(Canvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom, BorderColor);
    } else {
        Canvas->Pen()->SetColor(BorderColor);
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Rectangle(R);
        Canvas->Brush()->SetStyle(bsSolid);
    }
}

TColor BlendColor(TColor FromColor, TColor ToColor, int32_t RangeStart, int32_t Position, int32_t RangeEnd)
{
    // An empty range has no way from one colour to the other.
    if (ToColor == clNone || RangeEnd == RangeStart)
        return FromColor;
    const Rgb f(FromColor), t(ToColor);
    const double span = double(RangeEnd) - RangeStart;
    return MakeColor(f.r + Round((t.r - f.r) / span * Position), f.g + Round((t.g - f.g) / span * Position),
                     f.b + Round((t.b - f.b) / span * Position));
}

TColor DarkenHalf(TColor Color)
{
    const Rgb c(Color);
    return MakeColor(c.r / 2, c.g / 2, c.b / 2);
}

TColor ShadeColor(TColor Color, int32_t Percentage)
{
    const Rgb c(Color);
    auto shade = [&](int v) { return Round(v + double(Percentage) * v / 100.0); };
    return MakeColor(shade(c.r), shade(c.g), shade(c.b));
}

void DrawRoundedSelectionShape(TCanvas *Canvas, TColor FromColor, TColor ToColor, int32_t CornerType, const TRect &R,
                               TColor OuterCornerColor, TColor InnerCornerColor, TColor TopColor, TColor BottomColor,
                               TColor EdgeColor, TColor MirrorColorTo, TColor MirrorColor)
{
    if (!Canvas)
        return;
    const int l = R.Left, t = R.Top, r = R.Right - 1, b = R.Bottom - 2; // r and b exclusive
    if (r - l < 4 || b - t < 4)
        return;
    const bool rl = CornerType == 0 || CornerType == 1, rr = CornerType == 0 || CornerType == 2;
    const int mid = (t + b) / 2;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    // Inside first, so the frame lines stay on top.
    const TRect in = Rect(rl ? l + 2 : l, t + 2, rr ? r - 2 : r, b - 2);
    if (!in.IsEmpty()) {
        if (ToColor == clNone)
            FillBox(Canvas, in.Left, in.Top, in.Right, in.Bottom, FromColor);
        else if (MirrorColor == clNone)
            GradientFill(Canvas, FromColor, ToColor, false, in, 16);
        else {
            const int m = in.Top + in.Height() / 2;
            GradientFill(Canvas, FromColor, ToColor, false, Rect(in.Left, in.Top, in.Right, m), 16);
            GradientFill(Canvas, MirrorColor, MirrorColorTo, false, Rect(in.Left, m, in.Right, in.Bottom), 16);
        }
    }
    Line(Canvas, l + (rl ? 1 : 0), t + 1, r - (rr ? 1 : 0), t + 1, TopColor);
    if (rl)
        Line(Canvas, l + 1, t + 1, l + 1, mid, TopColor);
    if (rr)
        Line(Canvas, r - 2, t + 1, r - 2, mid, TopColor);
    Line(Canvas, l + (rl ? 1 : 0), b - 2, r - (rr ? 1 : 0), b - 2, BottomColor);
    if (rl)
        Line(Canvas, l + 1, mid, l + 1, b - 2, BottomColor);
    if (rr)
        Line(Canvas, r - 2, mid, r - 2, b - 2, BottomColor);
    Line(Canvas, l + (rl ? 2 : 0), t, r - (rr ? 2 : 0), t, EdgeColor);
    Line(Canvas, l + (rl ? 2 : 0), b - 1, r - (rr ? 2 : 0), b - 1, EdgeColor);
    if (rl) {
        Line(Canvas, l, t + 2, l, b - 2, EdgeColor);
        for (auto [x, y] : {std::pair{l + 1, t}, {l, t + 1}, {l + 1, t + 1}, {l + 1, b - 1}, {l, b - 2}, {l + 1, b - 2}})
            Pixel(Canvas, x, y, InnerCornerColor);
        Pixel(Canvas, l, t, OuterCornerColor);
        Pixel(Canvas, l, b - 1, OuterCornerColor);
    }
    if (rr) {
        Line(Canvas, r - 1, t + 2, r - 1, b - 2, EdgeColor);
        for (auto [x, y] : {std::pair{r - 2, t}, {r - 1, t + 1}, {r - 2, t + 1}, {r - 2, b - 1}, {r - 1, b - 2}, {r - 2, b - 2}})
            Pixel(Canvas, x, y, InnerCornerColor);
        Pixel(Canvas, r - 1, t, OuterCornerColor);
        Pixel(Canvas, r - 1, b - 1, OuterCornerColor);
    }
}

void DrawDropDownButton(TCanvas *Canvas, uintptr_t ThemeWindow, const TRect &R, const TColorTones &Tones, int32_t State,
                        int32_t Look)
{
    if (!Canvas)
        return;
    TRect b = Rect(R.Right - 17 - 2, R.Top + 1, R.Right - 2, R.Bottom - 1);
    switch (Look) {
    case blkThemed: {
        const HTHEME th = OpenThemeData(ThemeWindow, QStringLiteral("combobox"));
        DrawThemeBackground(th, Canvas, 1, State == bstDisabled ? 4 : 1, b);
        CloseThemeData(th);
        break;
    }
    case blkClassic:
    case blkFlat:
        DrawFrameControl(Canvas, b, DFC_SCROLL,
                         DFCS_SCROLLCOMBOBOX | (State == bstDisabled ? DFCS_INACTIVE : 0) | (Look == blkFlat ? DFCS_FLAT : 0));
        break;
    default: {
        b.Left += 3;
        FillBox(Canvas, b.Left, b.Top, b.Right, b.Bottom, ToneOf(Tones, State).BrushColor);
        Line(Canvas, b.Left + 1, b.Top, b.Left + 1, b.Bottom, Tones.Background.BorderColor);
        Canvas->Pen()->SetColor(Tones.Background.TextColor);
        Canvas->Brush()->SetColor(Tones.Background.TextColor);
        Canvas->Polygon({TPoint(b.Left + 5, b.Top + 8), TPoint(b.Left + 11, b.Top + 8), TPoint(b.Left + 8, b.Top + 11)});
        break;
    }
    }
}

void DrawPushButton(TCanvas *Canvas, uintptr_t ThemeWindow, const TRect &R, const TColorTones &Tones, int32_t State,
                    int32_t Look)
{
    if (!Canvas)
        return;
    switch (Look) {
    case blkThemed: {
        const HTHEME th = OpenThemeData(ThemeWindow, QStringLiteral("button"));
        const int st = State == bstHot ? 2 : State == bstDown ? 3 : State == bstDisabled ? 4 : 1;
        DrawThemeBackground(th, Canvas, 1, st, R);
        CloseThemeData(th);
        break;
    }
    case blkClassic:
    case blkFlat: {
        uint32_t st = DFCS_BUTTONPUSH | (Look == blkFlat ? DFCS_FLAT : 0);
        st |= State == bstHot ? DFCS_HOT : State == bstDown ? DFCS_PUSHED : State == bstDisabled ? DFCS_INACTIVE : 0;
        DrawFrameControl(Canvas, R, DFC_BUTTON, st);
        break;
    }
    default: {
        const TColorTone &tone = ToneOf(Tones, State);
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(1);
        Canvas->Brush()->SetColor(tone.BrushColor);
        Canvas->Pen()->SetColor(tone.BorderColor);
        Canvas->Rectangle(R);
        break;
    }
    }
}

void DrawSpinButtons(TCanvas *Canvas, uintptr_t ThemeWindow, const TRect &R, const TColorTones &Tones, int32_t State,
                     int32_t Look)
{
    if (!Canvas)
        return;
    const TRect s = Rect(R.Right - 16, R.Top - 1, R.Right - 1, R.Bottom - 1);
    const int mid = (s.Top + s.Bottom) / 2;
    const TRect up = Rect(s.Left, s.Top, s.Right, mid), down = Rect(s.Left, mid + 1, s.Right, s.Bottom);
    switch (Look) {
    case blkThemed: {
        const HTHEME th = OpenThemeData(ThemeWindow, QStringLiteral("spin"));
        const int st = State == bstDisabled ? 4 : 1;
        DrawThemeBackground(th, Canvas, 1, st, up);
        DrawThemeBackground(th, Canvas, 2, st, down);
        CloseThemeData(th);
        break;
    }
    case blkClassic:
    case blkFlat: {
        const uint32_t st = (State == bstDisabled ? DFCS_INACTIVE : 0) | (Look == blkFlat ? DFCS_FLAT : 0);
        DrawFrameControl(Canvas, up, DFC_SCROLL, DFCS_SCROLLUP | st);
        DrawFrameControl(Canvas, down, DFC_SCROLL, DFCS_SCROLLDOWN | st);
        break;
    }
    default: {
        const TColor c = ToneOf(Tones, State).BrushColor;
        FillBox(Canvas, up.Left, up.Top, up.Right, up.Bottom, c);
        FillBox(Canvas, down.Left, down.Top, down.Right, down.Bottom, c);
        Canvas->Pen()->SetColor(clBlack);
        Canvas->Brush()->SetColor(clBlack);
        const int ul = up.Left, ut = up.Top, dl = down.Left, dt = down.Top;
        Canvas->Polygon({TPoint(ul + 5, ut + 5), TPoint(ul + 9, ut + 5), TPoint(ul + 7, ut + 3)});
        Canvas->Polygon({TPoint(dl + 5, dt + 1), TPoint(dl + 9, dt + 1), TPoint(dl + 7, dt + 3)});
        break;
    }
    }
}

void DrawCellProgress(TCanvas *Canvas, TRect R, TColor Color, TColor TextColor, TColor BKColor, TColor BKTextColor,
                      TColor BorderColor, const QString &Fmt, int32_t Max, int32_t Min, int32_t MarginY,
                      int32_t MarginX, double Position)
{
    if (!Canvas)
        return;
    const TColor entryBrush = Canvas->Brush()->Color();
    QString text;
    int64_t pct;
    if (!Fmt.isEmpty()) {
        if (Fmt.contains(QLatin1Char('d'), Qt::CaseInsensitive) || Fmt.contains(QLatin1Char('u'), Qt::CaseInsensitive))
            text = Format(Fmt, {int(Round(Position))});
        else
            text = Format(Fmt, {Position});
        // An empty range is empty below its value and full from it on.
        if (Max == Min)
            pct = Position >= Max ? 100 : 0;
        else
            pct = Round((Position - Min) * 100.0 / (double(Max) - Min));
    } else {
        pct = Round(Position);
        text = IntToStr(pct) + QLatin1Char('%');
    }
    pct = std::clamp<int64_t>(pct, 0, 100);

    R = Rect(R.Left + MarginX, R.Top + MarginY, R.Right - MarginX, R.Bottom - MarginY);
    if (R.IsEmpty())
        return;
    const int split = R.Left + int(Round(double(pct) * R.Width() / 100.0));
    const TSize ext = Canvas->TextExtent(text);
    const int tx = R.Left + (R.Width() - ext.cx) / 2, ty = R.Top + (R.Height() - ext.cy) / 2;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    const TColor fontColor = Canvas->Font()->Color();
    auto part = [&](const TRect &P, TColor bk, TColor fg) {
        if (P.IsEmpty())
            return;
        Canvas->Brush()->SetColor(bk);
        Canvas->FillRect(P);
        Canvas->Font()->SetColor(fg);
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->TextRect(P, tx, ty, text);
        Canvas->Brush()->SetStyle(bsSolid);
    };
    part(Rect(R.Left, R.Top, split, R.Bottom), Color, TextColor);
    part(Rect(split, R.Top, R.Right, R.Bottom), BKColor, BKTextColor);
    Canvas->Font()->SetColor(fontColor);
    if (BorderColor != clNone) {
        Canvas->Brush()->SetColor(BorderColor);
        Canvas->FrameRect(R);
    }
    if (entryBrush != clNone) {
        Canvas->Brush()->SetColor(entryBrush);
        Canvas->FrameRect(Rect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1));
    }
    Canvas->Brush()->SetColor(entryBrush);
}

void DrawLevelProgress(TCanvas *Canvas, TRect R, int32_t Percentage, const TLevelProgressAppearance &A)
{
    if (!Canvas || R.IsEmpty())
        return;
    auto outline = [&] {
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(1);
        Canvas->Pen()->SetColor(A.ShowBorder ? A.BorderColor : A.UnCompleteColor);
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Rectangle(R);
        Canvas->Brush()->SetStyle(bsSolid);
    };
    FillBox(Canvas, R.Left, R.Top, R.Right, R.Bottom, A.UnCompleteColor);
    outline();
    const TRect bar = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    const int len = A.Vertical ? bar.Height() : bar.Width();
    const int pct = std::clamp(Percentage, 0, 100);
    auto fill = [&](int from, int n, TColor c, TColor cTo) {
        n = std::min(n, len - from);
        if (n > 0)
            FillSection(Canvas, Section(bar, A.Vertical, from, n), A.Vertical, c, cTo, A.ShowGradient, A.Steps);
    };
    auto lengthOf = [&](double p) { return int(Round(p / 100.0 * len)); };
    if (pct > 0) {
        if (A.Stacked) {
            const int p0 = std::min(pct, A.Level1Perc);
            const int l0 = lengthOf(p0);
            fill(0, l0, A.Level0Color, A.Level0ColorTo);
            if (pct > A.Level1Perc) {
                const int p1 = std::min(pct, A.Level2Perc);
                const int l1 = lengthOf(p1 - A.Level1Perc);
                fill(l0, l1, A.Level1Color, A.Level1ColorTo);
                if (pct > A.Level2Perc) {
                    const int done = l0 + std::max(l1, 0);
                    const int l2 = pct >= 100 ? len - done : lengthOf(pct - A.Level2Perc);
                    fill(done, l2, A.Level3Color, A.Level3ColorTo);
                }
            }
        } else {
            TColor c = A.Level2Color, cTo = A.Level2ColorTo;
            if (pct < A.Level1Perc)
                c = A.Level0Color, cTo = A.Level0ColorTo;
            else if (pct < A.Level2Perc)
                c = A.Level1Color, cTo = A.Level1ColorTo;
            else if (pct >= 100)
                c = A.Level3Color, cTo = A.Level3ColorTo;
            if (A.CompletionSmooth) {
                fill(0, lengthOf(pct), c, cTo);
            } else {
                const int t = int(Round(double(pct) * len / 100.0));
                if (t > 9) {
                    // 7-pixel blocks on a 9-pixel pitch, starting 2 pixels inside the outline.
                    for (int from = 1; from < t; from += 9) {
                        const int rest = t - from;
                        if (rest <= 2)
                            break;
                        fill(from, std::min(7, rest), c, cTo);
                    }
                } else if (t >= 2) {
                    fill(0, t - 1, c, cTo);
                }
            }
        }
    }
    if (A.ShowPercentage) {
        const QString text = IntToStr(pct) + QLatin1Char('%');
        const TColor saved = Canvas->Font()->Color();
        const int orient = Canvas->Font()->Orientation();
        if (A.Font)
            Canvas->Font()->Assign(A.Font);
        Canvas->Font()->SetColor(A.CompleteFontColor);
        Canvas->Brush()->SetStyle(bsClear);
        const TSize ext = Canvas->TextExtent(text);
        if (A.Vertical) {
            Canvas->Font()->SetOrientation(900);
            Canvas->TextOut(R.Left + (R.Width() - ext.cy) / 2, R.Bottom - (R.Height() - ext.cx) / 2, text);
        } else {
            Canvas->TextOut(R.Left + (R.Width() - ext.cx) / 2, R.Top + (R.Height() - ext.cy) / 2, text);
        }
        Canvas->Font()->SetOrientation(orient);
        Canvas->Font()->SetColor(saved);
        Canvas->Brush()->SetStyle(bsSolid);
    }
    outline();
}

void DrawCenteredBar(TCanvas *Canvas, TRect R, double Value, TColor PosColor, TColor NegColor, bool ShowValue,
                     double Range)
{
    if (!Canvas)
        return;
    R = Rect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
    if (R.IsEmpty() || !(Range > 0))
        return;
    const int c = R.Width() / 2;
    Value = std::clamp(Value, -Range, Range);
    const int x = int(Round(c * Value / Range));
    if (x < 0)
        FillBox(Canvas, R.Left + c + x, R.Top, R.Left + c, R.Bottom, NegColor);
    else if (x > 0)
        FillBox(Canvas, R.Left + c, R.Top, R.Left + c + x, R.Bottom, PosColor);
    if (ShowValue) {
        TRect t = R;
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->DrawText(IntToStr(Round(Value)), t, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        Canvas->Brush()->SetStyle(bsSolid);
    }
}

void DrawPie(TCanvas *Canvas, const TRect &R, TColor FillColor, bool, int32_t Percentage)
{
    if (!Canvas || R.IsEmpty())
        return;
    // The sector is filled as a shape of its own, so a narrow one fills only itself.
    const int pct = std::clamp(Percentage, 0, 100);
    const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
    const double a = pct / 100.0 * 2 * M_PI;
    const int ex = cx + int(Round((R.Width() + 1) / 2.0 * std::sin(a)));
    const int ey = cy - int(Round((R.Height() + 1) / 2.0 * std::cos(a)));
    if (pct > 0) {
        Canvas->Pen()->SetStyle(psClear);
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(FillColor);
        if (pct >= 100)
            Canvas->Ellipse(R);
        else
            Canvas->Pie(R.Left, R.Top, R.Right, R.Bottom, ex, ey, cx, R.Top);
    }
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(0x808080);
    Canvas->Brush()->SetStyle(bsClear);
    Canvas->Ellipse(R);
    Canvas->MoveTo(cx, R.Top);
    Canvas->LineTo(cx, cy);
    Canvas->LineTo(ex, ey);
    Canvas->Brush()->SetStyle(bsSolid);
}

void DrawCellShape(TCanvas *Canvas, int32_t X, int32_t Y, TColor PenColor, TColor BrushColor, TCellShape Shape,
                   int32_t Height, int32_t Width)
{
    if (!Canvas)
        return;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetWidth(1);
    Canvas->Pen()->SetColor(PenColor);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(BrushColor);
    if (Shape == csCircle || Shape == csSquare || Shape == csRoundSquare)
        Width = Height = std::min(Width, Height);
    const int w = Width, h = Height, r = X + w - 1, b = Y + h - 1, mx = X + w / 2, my = Y + h / 2;
    auto star = [&](int k) {
        const double a = k * 36.0 * M_PI / 180.0;
        const double rx = (k % 2 == 0) ? w / 2.0 : w / 6.0, ry = (k % 2 == 0) ? h / 2.0 : h / 6.0;
        return TPoint(mx + int(Round(rx * std::sin(a))), my - int(Round(ry * std::cos(a))));
    };
    const int we = w & ~1, he = h & ~1;
    // Outlines that reach the far edges end on the box's last pixel.
    auto polygon = [&](std::vector<TPoint> pts) {
        for (TPoint &p : pts) {
            p.X = std::clamp(p.X, X, std::max(X, r));
            p.Y = std::clamp(p.Y, Y, std::max(Y, b));
        }
        Canvas->Polygon(pts);
    };
    switch (Shape) {
    case csRectangle:
    case csSquare: Canvas->Rectangle(X + 1, Y + 1, X + w - 1, Y + h - 1); break;
    case csCircle:
    case csEllips: Canvas->Ellipse(X, Y, X + w, Y + h); break;
    case csTriangleLeft: Canvas->Polygon({TPoint(X, my), TPoint(r, Y), TPoint(r, b)}); break;
    case csTriangleRight: Canvas->Polygon({TPoint(r, my), TPoint(X, Y), TPoint(X, b)}); break;
    case csTriangleUp: Canvas->Polygon({TPoint(mx, Y), TPoint(r, b), TPoint(X, b)}); break;
    case csTriangleDown: Canvas->Polygon({TPoint(mx, b), TPoint(X, Y), TPoint(r, Y)}); break;
    case csDiamond: Canvas->Polygon({TPoint(mx, Y), TPoint(r, my), TPoint(mx, b), TPoint(X, my)}); break;
    case csLineVert: FillBox(Canvas, mx, Y, mx + 1, Y + h, PenColor); break;
    case csLineHorz: FillBox(Canvas, X, my, X + w, my + 1, PenColor); break;
    case csRoundRect:
    case csRoundSquare: Canvas->RoundRect(X, Y, X + w, Y + h, 10, 10); break;
    case csStar: {
        std::vector<TPoint> pts;
        for (int k = 0; k < 10; ++k)
            pts.push_back(star(k));
        polygon(pts);
        break;
    }
    case csHalfStar: polygon({star(0), star(5), star(6), star(7), star(8), star(9)}); break;
    case csArrowUp:
        polygon({TPoint(X + we / 2, Y), TPoint(X + we, Y + h / 2), TPoint(X + 3 * we / 4, Y + h / 2),
                         TPoint(X + 3 * we / 4, b), TPoint(X + we / 4, b), TPoint(X + we / 4, Y + h / 2), TPoint(X, Y + h / 2)});
        break;
    case csArrowDown:
        polygon({TPoint(X + we / 2, b), TPoint(X + we, Y + h / 2), TPoint(X + 3 * we / 4, Y + h / 2),
                         TPoint(X + 3 * we / 4, Y), TPoint(X + we / 4, Y), TPoint(X + we / 4, Y + h / 2), TPoint(X, Y + h / 2)});
        break;
    case csArrowLeft:
        polygon({TPoint(X, Y + he / 2), TPoint(X + w / 2, Y), TPoint(X + w / 2, Y + he / 4), TPoint(r, Y + he / 4),
                         TPoint(r, Y + 3 * he / 4), TPoint(X + w / 2, Y + 3 * he / 4), TPoint(X + w / 2, Y + he)});
        break;
    case csArrowRight:
        polygon({TPoint(r, Y + he / 2), TPoint(X + w / 2, Y), TPoint(X + w / 2, Y + he / 4), TPoint(X, Y + he / 4),
                         TPoint(X, Y + 3 * he / 4), TPoint(X + w / 2, Y + 3 * he / 4), TPoint(X + w / 2, Y + he)});
        break;
    }
}

void DrawTransparentBitmap(TCanvas *Canvas, TBitmap *Bitmap, TColor BkColor, const TRect &R)
{
    if (!Canvas || !Bitmap || Bitmap->Empty())
        return;
    TBitmap tmp;
    tmp.Assign(Bitmap);
    tmp.SetTransparent(false);
    tmp.SetPixelFormat(pf24bit);
    const uint8_t *first = tmp.ScanLine(0);
    const uint8_t key[3] = {first[0], first[1], first[2]};
    const TColorRef bk = ColorToRGB(BkColor);
    const uint8_t to[3] = {GetBValue(bk), GetGValue(bk), GetRValue(bk)};
    for (int y = 0; y < tmp.Height(); ++y) {
        uint8_t *line = tmp.ScanLine(y);
        for (int x = 0; x < tmp.Width(); ++x, line += 3)
            if (line[0] == key[0] && line[1] == key[1] && line[2] == key[2])
                std::copy(to, to + 3, line);
    }
    Canvas->Draw(R.Left, R.Top, &tmp);
}

namespace
{

// The grid's own glyphs are painted on magenta, the colour their bottom-left pixel gives away
// as transparent.
constexpr TColor GlyphKey = clFuchsia;

void StartGlyph(TBitmap &Bitmap, int Size)
{
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(Size, Size);
    FillBox(Bitmap.Canvas(), 0, 0, Size, Size, GlyphKey);
}

// A tick from the lower left up to the right, three pixels thick.
void Tick(TCanvas *c, int l, int t, TColor Color)
{
    for (int d = 0; d < 3; ++d) {
        Line(c, l + 3, t + 5 + d, l + 5, t + 7 + d, Color);
        Line(c, l + 5, t + 7 + d, l + 10, t + 2 + d, Color);
    }
}

// Check boxes: n 1..4 office look, 5..8 XP look; odd checked, 1-2 and 5-6 enabled.
void PaintCheckGlyph(TBitmap &Bitmap, int n)
{
    StartGlyph(Bitmap, 13);
    TCanvas *c = Bitmap.Canvas();
    const bool xp = n >= 5, checked = n % 2 == 1, enabled = (n - 1) % 4 < 2;
    const TColor border = !enabled ? (xp ? TColor(0xBBC8CA) : TColor(0xB2B2B2)) : xp ? TColor(0x80511C) : TColor(0x6B2408);
    if (enabled && xp)
        GradientFill(c, TColor(0xDCE4E6), clWhite, false, Rect(1, 1, 12, 12), 11);
    else
        FillBox(c, 1, 1, 12, 12, enabled ? clWhite : TColor(0xF4F4F4));
    c->Pen()->SetColor(border);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(0, 0, 13, 13);
    c->Brush()->SetStyle(bsSolid);
    // Softly rounded corners; the bottom-left one gives the transparent colour away.
    for (const auto &[x, y] : {std::pair{0, 0}, {12, 0}, {0, 12}, {12, 12}})
        c->SetPixels(x, y, GlyphKey);
    if (checked)
        Tick(c, 0, 1, !enabled ? TColor(0xA0A0A0) : xp ? TColor(0x21A121) : clBlack);
}

// Radio buttons: the same numbering, odd selected.
void PaintRadioGlyph(TBitmap &Bitmap, int n)
{
    StartGlyph(Bitmap, 13);
    TCanvas *c = Bitmap.Canvas();
    const bool xp = n >= 5, selected = n % 2 == 1, enabled = (n - 1) % 4 < 2;
    c->Pen()->SetColor(!enabled ? (xp ? TColor(0xBBC8CA) : TColor(0xB2B2B2)) : xp ? TColor(0x80511C) : TColor(0x6B2408));
    c->Brush()->SetColor(enabled ? clWhite : TColor(0xF4F4F4));
    c->Ellipse(0, 0, 13, 13);
    if (selected) {
        const TColor dot = !enabled ? TColor(0xA0A0A0) : xp ? TColor(0x21A121) : clBlack;
        c->Pen()->SetColor(dot);
        c->Brush()->SetColor(dot);
        c->Ellipse(4, 4, 9, 9);
    }
}

// Tree nodes: a leaf-green rounded box, or the XP look's shaded box; a plus when closed.
void PaintNodeGlyph(TBitmap &Bitmap, bool Leaf, bool Closed)
{
    // A free rim keeps every corner transparent.
    const int size = Leaf ? 12 : 10, o = 1, s = Leaf ? 9 : 8;
    StartGlyph(Bitmap, size);
    TCanvas *c = Bitmap.Canvas();
    if (Leaf) {
        c->Pen()->SetColor(TColor(0x2E8B2E));
        c->Brush()->SetColor(TColor(0xD4F0D4));
        c->RoundRect(o, o, o + s, o + s, 4, 4);
    } else {
        GradientFill(c, clWhite, TColor(0xC6D2D6), false, Rect(o + 1, o + 1, o + s - 1, o + s - 1), s - 2);
        c->Pen()->SetColor(TColor(0x9C8470));
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(o, o, o + s, o + s);
        c->Brush()->SetStyle(bsSolid);
    }
    const TColor sign = Leaf ? TColor(0x145214) : clBlack;
    const int m = o + s / 2;
    Line(c, o + 2, m, o + s - 2, m, sign);
    if (Closed)
        Line(c, m, o + 2, m, o + s - 2, sign);
}

// The filter button: a funnel.
void PaintFilterGlyph(TBitmap &Bitmap)
{
    StartGlyph(Bitmap, 12);
    TCanvas *c = Bitmap.Canvas();
    for (int y = 2; y < 6; ++y)
        FillBox(c, 1 + (y - 2), y, 11 - (y - 2), y + 1, clBlack);
    FillBox(c, 5, 6, 7, 11, clBlack);
}

} // namespace

bool LoadGridResourceBitmap(const QString &ResName, TBitmap &Bitmap)
{
    const QString name = ResName.toUpper();
    if (name == QLatin1String("PSGFILT")) {
        PaintFilterGlyph(Bitmap);
        return true;
    }
    if (name == QLatin1String("PSGLEAFCLOSE") || name == QLatin1String("PSGLEAFOPEN")) {
        PaintNodeGlyph(Bitmap, true, name.endsWith(QLatin1String("CLOSE")));
        return true;
    }
    if (name == QLatin1String("XPNODEC") || name == QLatin1String("XPNODEO")) {
        PaintNodeGlyph(Bitmap, false, name.endsWith(QLatin1Char('C')));
        return true;
    }
    const bool check = name.startsWith(QLatin1String("PSGCHK")), radio = name.startsWith(QLatin1String("PSGRAD"));
    if ((check || radio) && name.size() == 8) {
        bool ok = false;
        const int n = name.mid(6).toInt(&ok);
        if (ok && n >= 1 && n <= 8) {
            if (check)
                PaintCheckGlyph(Bitmap, n);
            else
                PaintRadioGlyph(Bitmap, n);
            return true;
        }
    }
    return false;
}

bool DrawTransparentResource(TCanvas *Canvas, const QString &ResName, TColor BkColor, const TRect &R)
{
    TBitmap bmp;
    if (!LoadGridResourceBitmap(ResName, bmp))
        return false;
    DrawTransparentBitmap(Canvas, &bmp, BkColor, R);
    return true;
}

void DrawDownTriangle(TCanvas *Canvas, int32_t X, int32_t Y, TColor Color)
{
    if (!Canvas)
        return;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetColor(Color);
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->Polygon({TPoint(X - 3, Y), TPoint(X + 3, Y), TPoint(X, Y + 3)});
}

void FillRectColor(TCanvas *Canvas, const TRect &R, TColor Color)
{
    if (!Canvas)
        return;
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(Color);
    Canvas->FillRect(R);
}

void DrawErrorUnderline(TWinControl *Owner, TCanvas *Canvas, const QString &Text, int32_t Len, int32_t Start,
                        int32_t LineOffset, const TRect &R)
{
    if (!Canvas || Len <= 0 || Start < 1)
        return;
    // Measured in the editor's font, as a single-line edit at R would place the characters.
    TFont saved;
    saved.Assign(Canvas->Font());
    if (Owner)
        Canvas->Font()->Assign(Owner->Font());
    const int n = int(Text.size());
    auto posOf = [&](int index) { // left edge of the character at 0-based index
        if (index >= n)
            return R.Left + Canvas->TextWidth(Text) + 4;
        return R.Left + Canvas->TextWidth(Text.left(index));
    };
    const int x1 = posOf(Start - 1), x2 = posOf(Start - 1 + Len);
    Canvas->Font()->Assign(&saved);
    const int y = R.Top + LineOffset;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetColor(clRed);
    Canvas->Pen()->SetWidth(2);
    Canvas->MoveTo(x1, y);
    bool down = true;
    for (int x = x1 + 3; x <= std::max(x2, x1 + 3); x += 3, down = !down)
        Canvas->LineTo(x, y + (down ? 3 : 0));
    Canvas->Pen()->SetWidth(1);
}

bool DynUpdateLayeredWindow(uintptr_t Wnd, const TPoint *Pos, TBitmap *Source, uint8_t Alpha)
{
    return UpdateLayeredWindow(Wnd, Pos, Source, Alpha);
}

bool DynSetLayeredWindowAttributes(uintptr_t Wnd, TColor Key, uint8_t Alpha, uint32_t Flags)
{
    return SetLayeredWindowAttributes(Wnd, ColorToRGB(Key), Alpha, Flags);
}
