#include "grid/core/ProGridButton.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "framework/controls/Layered.h"
#include "framework/graphics/Themes.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/System.h"

namespace
{
// The character after a single '&' of a caption, or a null character.
QChar AccelOf(const QString &Caption)
{
    for (qsizetype i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != QLatin1Char('&'))
            continue;
        if (Caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return Caption[i + 1];
    }
    return QChar();
}

bool IsAccel(WPARAM Key, const QString &Caption)
{
    const QChar a = AccelOf(Caption);
    return !a.isNull() && a.toUpper() == QChar(char16_t(Key)).toUpper();
}

struct TLookPreset
{
    TColor Color, ColorTo, ColorHot, ColorHotTo, ColorDown, ColorDownTo, ColorChecked, ColorCheckedTo, BorderDown, BorderHot;
};

constexpr TLookPreset LookPresets[7] = {
    {0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, clNone, 0xAF987A, 0xC3CECE},
    {clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31, 0xC56A31},
    {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000},
    {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000},
    {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000},
    {clBtnFace, clNone, clBtnFace, clNone, 0xD8D3D2, clNone, 0xCAC7C7, clNone, clNone, clNone},
    {0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, 0x808080, 0x808080},
};

TRect Inflate(const TRect &R, int d) { return Rect(R.Left - d, R.Top - d, R.Right + d, R.Bottom + d); }
} // namespace

// ---- Action link -----------------------------------------------------------------------------------

TProGridButtonActionLink::TProGridButtonActionLink(TProGridButton *AClient) : TActionLink(AClient), FClient(AClient) {}

bool TProGridButtonActionLink::IsCaptionLinked() const
{
    auto *a = dynamic_cast<TAction *>(Action());
    return TActionLink::IsCaptionLinked() && a && FClient->Caption() == a->Caption();
}

bool TProGridButtonActionLink::IsCheckedLinked() const
{
    auto *a = dynamic_cast<TAction *>(Action());
    return TActionLink::IsCheckedLinked() && a && FClient->GroupIndex() != 0 && FClient->AllowAllUp() &&
           FClient->Down() == a->Checked();
}

bool TProGridButtonActionLink::IsGroupIndexLinked() const
{
    auto *a = dynamic_cast<TAction *>(Action());
    return TActionLink::IsGroupIndexLinked() && a && a->GroupIndex() == FClient->GroupIndex();
}

void TProGridButtonActionLink::SetCaption(const QString &Value)
{
    if (IsCaptionLinked())
        FClient->SetCaption(Value);
}

void TProGridButtonActionLink::SetChecked(bool Value)
{
    if (IsCheckedLinked())
        FClient->SetDown(Value);
}

void TProGridButtonActionLink::SetGroupIndex(int Value)
{
    if (IsGroupIndexLinked())
        FClient->SetGroupIndex(Value);
}

// ---- Button ----------------------------------------------------------------------------------------

TProGridButton::TProGridButton(TComponent *AOwner)
    : TGraphicControl(AOwner), FIsComCtl6(IsComCtl6()), FGlyph(std::make_unique<TBitmap>()),
      FGlyphDisabled(std::make_unique<TBitmap>()), FGlyphHot(std::make_unique<TBitmap>()),
      FGlyphDown(std::make_unique<TBitmap>()), FGlyphShade(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, 22, 23);
    SetControlStyle({csCaptureMouse, csDoubleClicks});
    SetParentFont(true);
    SetColor(clBtnFace);
    FGlyph->OnChange = [this](TObject *) { Invalidate(); };
}

TProGridButton::~TProGridButton()
{
    FGlyph->OnChange = nullptr;
    if (FDropDownMenu)
        FDropDownMenu->RemoveFreeNotification(this);
}

TBasicAction *TProGridButton::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TProGridButton::SetAction(TBasicAction *Value)
{
    if (!Value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink)
        FActionLink = std::make_unique<TProGridButtonActionLink>(this);
    FActionLink->SetAction(Value);
    // A new action brings what the button does not have yet.
    if (auto *a = dynamic_cast<TAction *>(Value)) {
        if (Caption().isEmpty())
            SetCaption(a->Caption());
        if (FGroupIndex == 0)
            SetGroupIndex(a->GroupIndex());
        if (a->Checked() && !FDown)
            SetDown(true);
    }
}

void TProGridButton::Click()
{
    if (!OnClick && FActionLink && FActionLink->Execute())
        return;
    TGraphicControl::Click();
}

void TProGridButton::Notification(TComponent *AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDropDownMenu)
        FDropDownMenu = nullptr;
}

void TProGridButton::SetAllowAllUp(bool Value)
{
    if (Value == FAllowAllUp)
        return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TProGridButton::SetGroupIndex(int32_t Value)
{
    if (Value == FGroupIndex)
        return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TProGridButton::SetAutoThemeAdapt(bool Value)
{
    FAutoThemeAdapt = Value;
    if (Value)
        ThemeAdapt();
}

void TProGridButton::SetBorderColor(TColor Value) { FBorderColor = Value; Invalidate(); }
void TProGridButton::SetColorTo(TColor Value) { FColorTo = Value; Invalidate(); }
void TProGridButton::SetColorChecked(TColor Value) { FColorChecked = Value; Invalidate(); }
void TProGridButton::SetColorCheckedTo(TColor Value) { FColorCheckedTo = Value; Invalidate(); }
void TProGridButton::SetStyle(TProGridButtonStyle Value) { FStyle = Value; Invalidate(); }
void TProGridButton::SetRounded(bool Value) { FRounded = Value; Invalidate(); }
void TProGridButton::SetDropDownButton(bool Value) { FDropDownButton = Value; Invalidate(); }

void TProGridButton::SetDropDownMenu(TPopupMenu *Value)
{
    if (FDropDownMenu)
        FDropDownMenu->RemoveFreeNotification(this);
    FDropDownMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TProGridButton::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    Invalidate();
}

void TProGridButton::SetLayout(TButtonLayout Value)
{
    if (Value == FLayout)
        return;
    FLayout = Value;
    Invalidate();
}

void TProGridButton::SetSpacing(int32_t Value)
{
    if (Value == FSpacing)
        return;
    FSpacing = Value;
    Invalidate();
}

void TProGridButton::SetShowCaption(bool Value)
{
    if (Value == FShowCaption)
        return;
    FShowCaption = Value;
    Invalidate();
}

void TProGridButton::SetMargin(int32_t Value)
{
    if (Value == FMargin || Value < -1)
        return;
    FMargin = Value;
    Invalidate();
}

void TProGridButton::SetShaded(bool Value)
{
    FShaded = Value;
    if (Value && !FLoading)
        MakeShadeGlyph();
}

void TProGridButton::SetGlyph(TBitmap *Value)
{
    FGlyph->Assign(Value);
    if (FGlyphDisabled->Empty())
        MakeDisabledGlyph();
    Invalidate();
}

void TProGridButton::SetGlyphHot(TBitmap *Value) { FGlyphHot->Assign(Value); Invalidate(); }
void TProGridButton::SetGlyphDown(TBitmap *Value) { FGlyphDown->Assign(Value); Invalidate(); }
void TProGridButton::SetGlyphDisabled(TBitmap *Value) { FGlyphDisabled->Assign(Value); Invalidate(); }

void TProGridButton::MakeDisabledGlyph()
{
    if (FGlyph->Empty())
        return;
    TBitmap grey;
    grey.Assign(FGlyph.get());
    grey.SetTransparent(false);
    grey.SetPixelFormat(pf24bit);
    for (int y = 0; y < grey.Height(); ++y) {
        uint8_t *p = grey.ScanLine(y);
        for (int x = 0; x < grey.Width(); ++x, p += 3) {
            const uint8_t g = uint8_t((p[0] + p[1] + p[2]) / 3 / 2 + 96);
            p[0] = p[1] = p[2] = g;
        }
    }
    FGlyphDisabled->Assign(&grey);
}

void TProGridButton::MakeShadeGlyph()
{
    FGlyphShade->Assign(nullptr);
    if (FGlyph->Empty())
        return;
    TBitmap shade;
    shade.Assign(FGlyph.get());
    shade.SetTransparent(false);
    shade.SetPixelFormat(pf24bit);
    const uint8_t *bottom = shade.ScanLine(shade.Height() - 1);
    const uint8_t key[3] = {bottom[0], bottom[1], bottom[2]};
    for (int y = 0; y < shade.Height(); ++y) {
        uint8_t *p = shade.ScanLine(y);
        for (int x = 0; x < shade.Width(); ++x, p += 3)
            if (p[0] != key[0] || p[1] != key[1] || p[2] != key[2])
                p[0] = p[1] = p[2] = 0x80;
    }
    shade.SetTransparent(true);
    FGlyphShade->Assign(&shade);
}

void TProGridButton::SetLook(int32_t Value)
{
    if (Value < 0 || Value > 6)
        return;
    FLook = Value;
    const TLookPreset &p = LookPresets[Value];
    SetColor(p.Color);
    FColorTo = p.ColorTo;
    FColorHot = p.ColorHot;
    FColorHotTo = p.ColorHotTo;
    FColorDown = p.ColorDown;
    FColorDownTo = p.ColorDownTo;
    FColorChecked = p.ColorChecked;
    FColorCheckedTo = p.ColorCheckedTo;
    FBorderDownColor = p.BorderDown;
    FBorderHotColor = p.BorderHot;
    FBorderColor = clNone;
    FFlat = true;
    FRounded = Value == 0;
    Invalidate();
}

void TProGridButton::ThemeAdapt()
{
    switch (GetXPColorScheme()) {
    case 1: SetLook(2); break;
    case 2: SetLook(3); break;
    case 3: SetLook(4); break;
    default: SetLook(1); break;
    }
}

void TProGridButton::Loaded()
{
    FLoading = false;
    if (FAutoThemeAdapt)
        ThemeAdapt();
    if (FShaded)
        MakeShadeGlyph();
}

void TProGridButton::SetDown(bool Value)
{
    if (FGroupIndex == 0 && FStyle == tasButton)
        Value = false;
    if (FStyle == tasCheck) {
        FDown = Value;
        Invalidate();
        return;
    }
    if (Value == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = Value;
    if (Value) {
        if (FState == bsUp)
            Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Invalidate();
    }
}

void TProGridButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto *other = dynamic_cast<TProGridButton *>(Parent()->Controls(i)); other && other != this)
            other->ButtonPressed(this);
}

void TProGridButton::ButtonPressed(TProGridButton *Sender)
{
    if (Sender->FGroupIndex != FGroupIndex)
        return;
    if (Sender->FDown && FDown) {
        FDown = false;
        FState = bsUp;
        if (FActionLink) {
            if (auto *a = dynamic_cast<TAction *>(FActionLink->Action()); a && FActionLink->IsCheckedLinked())
                a->SetChecked(false);
        }
        Invalidate();
    }
    FAllowAllUp = Sender->FAllowAllUp;
}

bool TProGridButton::Inside(int X, int Y) const
{
    return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
}

void TProGridButton::SyncHot()
{
    const bool hot = Enabled() && Showing() && ClientRect().Contains(ScreenToClient(GetCursorPos()));
    if (hot != FMouseInControl) {
        FMouseInControl = hot;
        Invalidate();
    }
}

void TProGridButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    if (FDropDownButton && X > ClientWidth() - 12) {
        FState = bsUp;
        if (OnDropDown)
            OnDropDown(this);
        if (FDropDownMenu) {
            const TPoint pt = ClientToScreen(TPoint(0, Height()));
            FDropDownMenu->Popup(pt.X, pt.Y);
        }
        return;
    }
    if (!FDown) {
        FState = bsDown;
        Invalidate();
    }
    if (FStyle == tasCheck)
        FState = bsDown;
    FDragging = true;
}

void TProGridButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (FDragging) {
        TButtonState s = FDown ? bsExclusive : (Inside(X, Y) ? bsDown : bsUp);
        if (FStyle == tasCheck && FDown)
            s = bsDown;
        if (s != FState) {
            FState = s;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        SyncHot();
    }
}

void TProGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging)
        return;
    FDragging = false;
    const bool inside = Inside(X, Y);
    if (FGroupIndex == 0) {
        FState = bsUp;
        if (FStyle == tasCheck) {
            SetDown(!FDown);
            FState = bsUp;
        }
        if (inside && !FDown)
            Invalidate();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown)
            Invalidate();
    } else {
        if (FDown)
            FState = bsExclusive;
        Invalidate();
    }
    if (inside)
        Click();
    SyncHot();
}

void TProGridButton::MouseEnter()
{
    if (Enabled() && !MouseCapture()) {
        FMouseInControl = true;
        Invalidate();
        TGraphicControl::MouseEnter();
    }
}

void TProGridButton::MouseLeave()
{
    if (!FDragging) {
        FMouseInControl = false;
        Invalidate();
        TGraphicControl::MouseLeave();
    }
}

void TProGridButton::WMDblClk(TMessage &Message, TMouseButton Button)
{
    TGraphicControl::WMDblClk(Message, Button);
    if (Button == mbLeft && FDown)
        DblClick();
}

void TProGridButton::ApplyText(const QString &v)
{
    TGraphicControl::ApplyText(v);
    Invalidate();
}

void TProGridButton::WndProc(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_THEMECHANGED:
        if (FAutoThemeAdapt)
            ThemeAdapt();
        break;
    case CM_ENABLEDCHANGED:
        TGraphicControl::WndProc(Message);
        SyncHot();
        Invalidate();
        return;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(Message.WParam, Caption()) && Enabled() && Visible() && Parent() && Parent()->Showing()) {
            Click();
            Message.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TGraphicControl::WndProc(Message);
}

void TProGridButton::CalcLayout(TPoint &GlyphPos, TRect &TextBounds)
{
    const TRect client = ClientRect();
    const int cw = client.Width(), ch = client.Height();
    const TBitmap *g = FGlyph.get();
    const int w = g->Empty() ? 0 : g->Width(), h = g->Empty() ? 0 : g->Height();
    int tw = 0, th = 0;
    const QString caption = FShowCaption ? Caption() : QString();
    if (!caption.isEmpty()) {
        TRect m = Rect(0, 0, cw, 0);
        Canvas()->Font()->Assign(Font());
        Canvas()->DrawText(caption, m, DT_CALCRECT | DT_CENTER);
        tw = m.Width();
        th = m.Height();
    }
    TButtonLayout layout = FLayout;
    if (FRightToLeft)
        layout = layout == blGlyphLeft ? blGlyphRight : layout == blGlyphRight ? blGlyphLeft : layout;
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    int gx = (cw - w + 1) / 2, gy = (ch - h + 1) / 2;
    int tx = (cw - tw + 1) / 2, ty = (ch - th + 1) / 2;
    int spacing = FSpacing, margin = FMargin;
    if (caption.isEmpty() || w == 0)
        spacing = 0;
    const int space = across ? cw : ch, gs = across ? w : h, ts = across ? tw : th;
    if (margin == -1) {
        if (spacing == -1)
            spacing = margin = (space - gs - ts) / 3;
        else
            margin = (space - gs - ts - spacing + 1) / 2;
    } else if (spacing == -1) {
        spacing = (space - margin - gs - ts) / 2;
    }
    switch (layout) {
    case blGlyphLeft: gx = margin; tx = margin + w + spacing; break;
    case blGlyphRight: gx = cw - margin - w; tx = gx - spacing - tw; break;
    case blGlyphTop: gy = margin; ty = margin + h + spacing; break;
    case blGlyphBottom: gy = ch - margin - h; ty = gy - spacing - th; break;
    }
    GlyphPos = TPoint(client.Left + gx, client.Top + gy);
    TextBounds = Rect(client.Left + tx, client.Top + ty, client.Left + tx + tw, client.Top + ty + th);
}

void TProGridButton::PaintFill(const TRect &R, TColor From, TColor To, TColor Border)
{
    if (To == clNone) {
        TCanvas *c = Canvas();
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(From);
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(Border == clNone ? From : Border);
        c->Rectangle(R);
    } else {
        DrawButtonGradient(Canvas(), From, To, false, R, 16, Border);
    }
}

void TProGridButton::PaintFlat(TRect &R)
{
    TCanvas *c = Canvas();
    const TRect client = ClientRect();
    TRect fr = client;
    if (FBorderDownColor == clNone || FRounded)
        fr = Inflate(fr, -1);
    const bool hot = FMouseInControl && Enabled();
    auto roundOutline = [&](TColor color) {
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetColor(color);
        c->Brush()->SetStyle(bsClear);
        c->RoundRect(client.Left, client.Top, client.Right, client.Bottom, 6, 6);
        c->Brush()->SetStyle(bsSolid);
    };
    if (!hot) {
        if (FStyle == tasCheck && FDown) {
            PaintFill(fr, FColorChecked, FColorCheckedTo, FBorderDownColor == clNone ? FColorChecked : FBorderDownColor);
        } else if (FColorTo == clNone) {
            if (Color() != clNone)
                PaintFill(fr, Color(), clNone, Color());
        } else {
            PaintFill(fr, Color(), FColorTo, FRounded ? clNone : (FDown ? FBorderDownColor : FBorderColor));
        }
        if (FBorderColor != clNone) {
            if (FRounded) {
                roundOutline(FBorderColor);
            } else {
                c->Brush()->SetColor(FBorderColor);
                c->FrameRect(fr);
            }
        }
    } else {
        TColor from = FColorHot, to = FColorHotTo, border = FBorderHotColor;
        if (FState == bsDown)
            from = FColorDown, to = FColorDownTo, border = FBorderDownColor;
        else if (FStyle == tasCheck && FDown)
            from = FColorChecked, to = FColorCheckedTo, border = FBorderDownColor;
        const TColor lineColor = border == clNone ? from : border;
        PaintFill(fr, from, to, FRounded ? (to == clNone ? from : clNone) : lineColor);
        if (FRounded)
            roundOutline(FState == bsDown ? FBorderDownColor : FBorderHotColor);
        if (FDropDownButton) {
            c->Pen()->SetColor(lineColor);
            c->MoveTo(fr.Right - 12, fr.Top);
            c->LineTo(fr.Right - 12, fr.Bottom);
        }
    }
    R = Inflate(fr, -1);
}

void TProGridButton::Paint()
{
    TCanvas *c = Canvas();
    if (!Enabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    if (FStyle == tasCheck && FDown)
        FState = bsDown;
    c->Font()->Assign(Font());
    const bool hot = FMouseInControl && Enabled();
    TRect r = ClientRect();
    if (FFlat) {
        PaintFlat(r);
    } else if (IsWinXPOrLater() && FAutoXPStyle && FIsComCtl6 && IsThemeActive()) {
        DrawThemedButton(c, r, FState == bsDown || FState == bsExclusive ? tsPressed : hot ? tsHot : tsNormal);
    } else {
        DrawFrameControl(c, r, DFC_BUTTON, DFCS_BUTTONPUSH | (FState == bsDown || FState == bsExclusive ? DFCS_PUSHED : 0));
        r = Inflate(r, -2);
    }
    TPoint offset(0, 0);
    if (FState == bsDown || FState == bsExclusive) {
        if (FState == bsExclusive && (!FFlat || !hot))
            PaintFill(Inflate(r, 1), FColorChecked, FColorCheckedTo, FDown ? FBorderDownColor : FBorderColor);
        if (!FFlat)
            offset = TPoint(1, 1);
    }
    if (FFlat && hot && Enabled() && FShaded && FState != bsDown)
        offset = TPoint(-1, -1);
    if (FDropDownButton) {
        const int m = (r.Top + r.Bottom) / 2;
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetColor(Font()->Color());
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Font()->Color());
        c->Polygon({TPoint(r.Right - 8, m - 1), TPoint(r.Right - 4, m - 1), TPoint(r.Right - 6, m + 1)});
    }

    TPoint gp;
    TRect tb;
    CalcLayout(gp, tb);
    const bool hasCaption = FShowCaption && !Caption().isEmpty();
    TBitmap *glyph = FGlyph.get();
    if (hot && !FDown && FState != bsDown && FState != bsExclusive) {
        if (!FGlyphHot->Empty())
            glyph = FGlyphHot.get();
    } else if (FState == bsDown || FState == bsExclusive || FDown) {
        if (!FGlyphDown->Empty())
            glyph = FGlyphDown.get();
    }
    if (!Enabled() && !FGlyphDisabled->Empty())
        glyph = FGlyphDisabled.get();
    if (!glyph->Empty()) {
        const TPoint at = hasCaption ? TPoint(gp.X + offset.X, gp.Y + offset.Y) : TPoint(offset.X, offset.Y);
        if (hot && FShaded && Enabled() && FState != bsDown && !FGlyphShade->Empty()) {
            const TPoint sh = hasCaption ? TPoint(at.X + 2, at.Y + 2) : at;
            c->Draw(sh.X, sh.Y, FGlyphShade.get());
        }
        TBitmap shown;
        shown.Assign(glyph);
        shown.SetTransparent(true);
        c->Draw(at.X, at.Y, &shown);
    }
    if (FShowCaption && !Caption().isEmpty()) {
        TRect t = Rect(tb.Left + offset.X, tb.Top + offset.Y, tb.Right + offset.X, tb.Bottom + offset.Y);
        if (FDropDownButton)
            t.Right = std::min(t.Right, r.Right - 12);
        if (hot && FShaded)
            t = Rect(t.Left + 1, t.Top + 1, t.Right + 1, t.Bottom + 1);
        uint32_t flags = DT_CENTER | DT_VCENTER | (FRightToLeft ? DT_RTLREADING : 0);
        c->Brush()->SetStyle(bsClear);
        if (!Enabled()) {
            TRect t1 = Rect(t.Left + 1, t.Top + 1, t.Right + 1, t.Bottom + 1);
            c->Font()->SetColor(clBtnHighlight);
            c->DrawText(Caption(), t1, flags);
            c->Font()->SetColor(clBtnShadow);
        }
        c->DrawText(Caption(), t, flags);
        c->Brush()->SetStyle(bsSolid);
    }
}

// ---- Check box -------------------------------------------------------------------------------------

TProCheckBox::TProCheckBox(TComponent *AOwner)
    : TCustomControl(AOwner), FIsWinXP(IsWinXPOrLater()), FBkgBmp(std::make_unique<TBitmap>())
{
    nativeInput_ = false;
    // Clicks come from the box's own mouse and key handling.
    SetControlStyle({csCaptureMouse, csSetCaption, csDoubleClicks});
    SetBounds(Left(), Top(), 98, 20);
    SetCaption(QStringLiteral("TProCheckBox"));
    SetColor(clWindow);
    SetParentColor(true);
    SetParentFont(true);
    SetTabStop(true);
}

TProCheckBox::~TProCheckBox() = default;

void TProCheckBox::SetAlignment(TLeftRight Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Invalidate();
}

void TProCheckBox::SetButtonVertAlign(TTextLayout Value)
{
    if (Value == FBtnVAlign)
        return;
    FBtnVAlign = Value;
    Invalidate();
}

void TProCheckBox::SetEllipsis(bool Value)
{
    if (Value == FEllipsis)
        return;
    FEllipsis = Value;
    Invalidate();
}

void TProCheckBox::SetChecked(bool Value)
{
    SetState(Value ? cbChecked : cbUnchecked);
    Invalidate();
}

void TProCheckBox::SetState(TCheckBoxState Value)
{
    if (Value == FState)
        return;
    FState = Value;
    Invalidate();
}

void TProCheckBox::SetTransparent(bool Value)
{
    if (Value != FTransparent) {
        FTransparent = Value;
        FBkgCache = false;
    }
    Invalidate();
}

void TProCheckBox::SetDown(bool Value)
{
    if (Value == FDown)
        return;
    FDown = Value;
    Invalidate();
}

void TProCheckBox::Toggle()
{
    if (!FReadOnly)
        SetChecked(!Checked());
}

void TProCheckBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FTransparent) {
        FBkgCache = false;
        Invalidate();
    }
}

void TProCheckBox::ApplyText(const QString &v)
{
    TCustomControl::ApplyText(v);
    FCaption = v;
    Invalidate();
}

void TProCheckBox::Paint()
{
    TCanvas *c = Canvas();
    c->Font()->Assign(Font());
    // A transparent box lets the parent show through where it paints nothing.
    if (!FTransparent) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Color());
        c->FillRect(ClientRect());
    }
    const int cw = ClientWidth(), ch = ClientHeight();
    if (IsXPThemed()) {
        const int x = FAlignment == taLeft ? cw - 15 : 0;
        const int y = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? ch / 2 - 6 : ch - 14;
        TThemedState st = !Enabled() ? tsDisabled : FDown ? tsPressed : FHot ? tsHot : tsNormal;
        DrawThemedCheckBox(c, Bounds(x, y, 14, 14), FState, st);
    } else {
        const int x = FAlignment == taLeft ? cw - 13 : 0;
        const int y = FBtnVAlign == tlTop ? 4 : FBtnVAlign == tlCenter ? ch / 2 - 6 : ch - 17;
        DrawFrameControl(c, Bounds(x, y, 13, 13), DFC_BUTTON,
                         DFCS_BUTTONCHECK | (FState == cbChecked ? DFCS_CHECKED : 0) |
                             (!Enabled() || FState == cbGrayed ? DFCS_INACTIVE : 0));
    }
    TRect t = ClientRect();
    if (FAlignment == taLeft) {
        t.Left = 6;
        t.Right -= 9;
    } else {
        t.Left = 15;
    }
    t.Top = 4;
    const uint32_t flags = DT_LEFT | DT_SINGLELINE | (FEllipsis ? DT_END_ELLIPSIS : 0);
    c->Brush()->SetStyle(bsClear);
    if (Enabled()) {
        c->DrawText(FCaption, t, flags);
    } else {
        TRect t1 = Rect(t.Left + 1, t.Top + 1, t.Right + 1, t.Bottom + 1);
        c->Font()->SetColor(clWhite);
        c->DrawText(FCaption, t1, flags);
        c->Font()->SetColor(0x808080);
        c->DrawText(FCaption, t, flags);
    }
    c->Brush()->SetStyle(bsSolid);
    if (Focused()) {
        const TSize ext = c->TextExtent(FCaption);
        c->DrawFocusRect(Rect(t.Left - 2, t.Top, t.Left + ext.cx + 1, t.Top + ext.cy + 1));
    }
}

void TProCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled())
        return;
    if (!Focused() && CanFocus())
        SetFocus();
    SetMouseCapture(true);
    FMouseDown = true;
    FClicksDisabled = false;
    SetDown(true);
}

void TProCheckBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (FMouseDown)
        SetDown(X >= 0 && X <= Width() && Y >= 0 && Y <= Height());
}

void TProCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !FMouseDown)
        return;
    FMouseDown = false;
    SetMouseCapture(false);
    SetDown(false);
    // A press whose focus went elsewhere before the release does not count.
    if (X >= 0 && X <= Width() && Y >= 0 && Y <= Height() && !FClicksDisabled) {
        Toggle();
        Click();
    }
}

void TProCheckBox::DoExit()
{
    if (FMouseDown)
        FClicksDisabled = true;
    TCustomControl::DoExit();
}

void TProCheckBox::MouseEnter()
{
    FHot = true;
    Invalidate();
    TCustomControl::MouseEnter();
}

void TProCheckBox::MouseLeave()
{
    FHot = false;
    Invalidate();
    TCustomControl::MouseLeave();
}

void TProCheckBox::KeyDown(Word &Key, TShiftState Shift)
{
    if (Key == VK_SPACE)
        SetDown(true);
    TCustomControl::KeyDown(Key, Shift);
}

void TProCheckBox::KeyUp(Word &Key, TShiftState Shift)
{
    if (Key == VK_SPACE && FDown) {
        SetDown(false);
        Toggle();
        Click();
    }
    TCustomControl::KeyUp(Key, Shift);
}

void TProCheckBox::KeyPress(QChar &Key)
{
    if (Key == QChar(13) && FReturnIsTab) {
        Key = QChar();
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
        return;
    }
    TCustomControl::KeyPress(Key);
}

LRESULT TProCheckBox::GetDlgCode() const { return DLGC_WANTCHARS; }

void TProCheckBox::WndProc(TMessage &Message)
{
    if (Message.Msg == CM_DIALOGCHAR && IsAccel(Message.WParam, FCaption) && Enabled() && Visible()) {
        Toggle();
        if (TabStop() && CanFocus())
            SetFocus();
        Message.Result = 1;
        return;
    }
    if (Message.Msg == WM_ERASEBKGND && FTransparent) {
        Message.Result = 1;
        return;
    }
    TCustomControl::WndProc(Message);
}

// ---- Popup windows ---------------------------------------------------------------------------------

void TArrowWindow::Init(TWinControl *AOwner, TArrowDirection Direction)
{
    static const std::vector<TPoint> outlines[4] = {
        {{5, 0}, {10, 5}, {7, 5}, {7, 9}, {3, 9}, {3, 5}, {0, 5}},
        {{3, 0}, {7, 0}, {7, 4}, {9, 4}, {5, 8}, {1, 4}, {3, 4}},
        {{0, 3}, {0, 7}, {4, 7}, {4, 10}, {8, 5}, {4, 0}, {4, 3}},
        {{0, 5}, {4, 10}, {4, 7}, {8, 7}, {8, 3}, {4, 3}, {4, 0}},
    };
    FDir = Direction;
    FArrow = outlines[Direction];
    SetColor(0x00FF00);
    SetBevelOuter(bvNone);
    SetParent(AOwner);
    SetVisible(false);
    MakePopupWindow(this, WS_POPUP, 0);
    SetWindowRgn(Handle(), FArrow, true);
}

void TArrowWindow::Paint()
{
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

TGridFocusWindow::TGridFocusWindow(TComponent *AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 0, 0);
    SetColor(0x0000FF);
    SetVisible(false);
    MakePopupWindow(this, WS_POPUP | WS_DISABLED, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
}

// ---- Alpha mask ------------------------------------------------------------------------------------

TGridAlphaMask::TGridAlphaMask() { SetPixelFormat(pf32bit); }

void TGridAlphaMask::Assign(TPersistent *Source)
{
    if (auto *m = dynamic_cast<TGridAlphaMask *>(Source)) {
        FOpacity = m->FOpacity;
        TBitmap::Assign(Source);
    } else {
        TBitmap::Assign(Source);
    }
    SetPixelFormat(pf32bit);
}

void TGridAlphaMask::MergeMask(TBitmap *Mask, TBitmap *Bitmap, TColor)
{
    if (!Mask || !Bitmap || Bitmap->PixelFormat() != pf24bit || Bitmap->Empty())
        return;
    SetPixelFormat(pf32bit);
    SetSize(Bitmap->Width(), Bitmap->Height());
    TBitmap mask;
    mask.Assign(Mask);
    mask.SetPixelFormat(pf24bit);
    for (int y = 0; y < Height(); ++y) {
        uint8_t *out = ScanLine(y);
        const uint8_t *src = Bitmap->ScanLine(y);
        const uint8_t *m = y < mask.Height() ? mask.ScanLine(y) : nullptr;
        for (int x = 0; x < Width(); ++x) {
            const int alpha = m && x < mask.Width() ? m[x * 3 + 2] : 0;
            for (int k = 0; k < 3; ++k)
                out[x * 4 + k] = uint8_t(Round(src[x * 3 + k] * alpha / 255.0));
            out[x * 4 + 3] = uint8_t(alpha);
        }
    }
}

// ---- Probes and routines ---------------------------------------------------------------------------

bool IsXPThemed() { return IsWinXPOrLater() && IsThemeActive() && IsComCtl6(); }

int32_t GetXPColorScheme()
{
    if (!IsWinXPOrLater() || !IsThemeActive())
        return 0;
    return CurrentColorSchemeNumber();
}

void DrawButtonGradient(TCanvas *Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect &R,
                        int32_t Steps, TColor BorderColor)
{
    if (!Canvas || R.IsEmpty())
        return;
    Steps = std::max(Steps, 1);
    const TColorRef f = ColorToRGB(FromColor), t = ColorToRGB(ToColor);
    const double dr = (double(GetRValue(t)) - GetRValue(f)) / Steps, dg = (double(GetGValue(t)) - GetGValue(f)) / Steps,
                 db = (double(GetBValue(t)) - GetBValue(f)) / Steps;
    const int extent = Horizontal ? R.Width() : R.Height();
    Canvas->Brush()->SetStyle(bsSolid);
    for (int i = 0; i < Steps; ++i) {
        const TColor c = TColor(RGB(uint8_t(std::clamp<int64_t>(GetRValue(f) + Round(i * dr), 0, 255)),
                                    uint8_t(std::clamp<int64_t>(GetGValue(f) + Round(i * dg), 0, 255)),
                                    uint8_t(std::clamp<int64_t>(GetBValue(f) + Round(i * db), 0, 255))));
        const int from = int(int64_t(i) * extent / Steps), to = std::min(extent, int(int64_t(i + 1) * extent / Steps) + 1);
        if (to <= from)
            continue;
        Canvas->Brush()->SetColor(c);
        if (Horizontal)
            Canvas->FillRect(Rect(R.Left + from, R.Top, R.Left + to, R.Bottom));
        else
            Canvas->FillRect(Rect(R.Left, R.Top + from, R.Right, R.Top + to));
    }
    if (BorderColor != clNone) {
        Canvas->Brush()->SetColor(BorderColor);
        Canvas->FrameRect(R);
    }
}

void DrawRoundRectMask(TBitmap *Bitmap, int32_t Width, int32_t Height, int32_t PenWidth, int32_t Corner, double Radius)
{
    if (!Bitmap)
        return;
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(Width, Height);
    if (Bitmap->Empty())
        return;
    TCanvas *c = Bitmap->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(0, 0, Width, Height));
    const int h = PenWidth / 2;
    c->Pen()->SetStyle(psSolid);
    if (PenWidth >= 1) {
        c->Pen()->SetWidth(PenWidth);
        c->Pen()->SetColor(clWhite);
        c->Brush()->SetColor(clBlack);
    } else {
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(clWhite);
        c->Brush()->SetColor(clWhite);
    }
    c->RoundRect(2 + h, 2 + h, Width - 2 - h, Height - 2 - h, Corner, Corner);
    c->Pen()->SetWidth(1);
    if (Radius > 0)
        BlurBitmap(Bitmap, Radius);
}

void BlurBitmap(TBitmap *Bitmap, double Radius)
{
    if (!Bitmap || Bitmap->PixelFormat() != pf24bit)
        throw EInvalidGraphicOperation(QStringLiteral("Blur only works for 24-bit bitmaps"));
    if (Bitmap->Empty() || !(Radius > 0))
        return;
    double k[21];
    double sum = 0;
    for (int i = 0; i <= 20; ++i) {
        const double d = (i - 10) / Radius;
        k[i] = std::exp(-d * d / 2);
        sum += k[i];
    }
    for (double &v : k)
        v /= sum;
    int n = 10;
    double tail = 0;
    while (tail < 1.0 / (2 * 255) && n > 1) {
        tail += 2 * k[10 + n];
        --n;
    }
    sum = 0;
    for (int i = 10 - n; i <= 10 + n; ++i)
        sum += k[i];
    for (int i = 10 - n; i <= 10 + n; ++i)
        k[i] /= sum;

    // One line of m pixels, 3 bytes each.
    auto blurLine = [&](std::vector<uint8_t> &line) {
        const int m = int(line.size() / 3);
        std::vector<uint8_t> out(line.size());
        for (int a = 0; a < m; ++a) {
            double s[3] = {0, 0, 0};
            for (int j = -n; j <= n; ++j) {
                const int idx = std::clamp(a - j, 0, m - 1);
                for (int ch = 0; ch < 3; ++ch)
                    s[ch] += k[10 + j] * line[size_t(idx) * 3 + ch];
            }
            for (int ch = 0; ch < 3; ++ch) {
                // Sums land a hair below a whole value in floating point; a full 255 stays 255.
                const double v = s[ch] + 1e-9;
                out[size_t(a) * 3 + ch] = uint8_t(std::clamp(int(std::trunc(v)), 0, 255));
            }
        }
        line.swap(out);
    };

    const int w = Bitmap->Width(), h = Bitmap->Height();
    std::vector<uint8_t> line;
    for (int y = 0; y < h; ++y) {
        uint8_t *row = Bitmap->ScanLine(y);
        if (y > 20 && y < h - 20) {
            const uint8_t *src = Bitmap->ScanLine(15);
            std::copy(src, src + size_t(w) * 3, Bitmap->ScanLine(y));
            continue;
        }
        line.assign(row, row + size_t(w) * 3);
        blurLine(line);
        std::copy(line.begin(), line.end(), Bitmap->ScanLine(y));
    }
    for (int x = 0; x < w; ++x) {
        if (x > 20 && x < w - 20) {
            for (int y = 0; y < h; ++y) {
                uint8_t *row = Bitmap->ScanLine(y);
                std::copy(row + 15 * 3, row + 15 * 3 + 3, row + size_t(x) * 3);
            }
            continue;
        }
        line.resize(size_t(h) * 3);
        for (int y = 0; y < h; ++y) {
            const uint8_t *row = Bitmap->ScanLine(y);
            std::copy(row + size_t(x) * 3, row + size_t(x) * 3 + 3, line.begin() + size_t(y) * 3);
        }
        blurLine(line);
        for (int y = 0; y < h; ++y)
            std::copy(line.begin() + size_t(y) * 3, line.begin() + size_t(y) * 3 + 3, Bitmap->ScanLine(y) + size_t(x) * 3);
    }
}
