#include "editors/PsgCombo.h"
#include "framework/controls/Forms.h"
#include "framework/controls/NativeControls.h"
#include "framework/controls/SysMetrics.h"
#include "framework/graphics/Themes.h"
#include <algorithm>

namespace {

// The frame of the combo's window when it is disabled under visual styles without DisabledBorder.
constexpr TColor kDisabledFrameColor = TColor(0xB99D7F);

TRect shrunk(const TRect &r, int d) { return Rect(r.Left + d, r.Top + d, r.Right - d, r.Bottom - d); }

void frame(TCanvas *c, const TRect &r, TColor color)
{
    c->Brush()->SetColor(color);
    c->FrameRect(r);
}

// A colour that is not set stands for what the system would draw there.
TColor orElse(TColor v, TColor fallback) { return v != clNone ? v : fallback; }

}  // namespace

TPsgCustomCombo::TPsgCustomCombo(TComponent *AOwner)
    : TComboBox(AOwner), FButtonWidth(GetSystemMetrics(SM_CXVSCROLL) + 2),
      FIsThemed((CommonControlsVersion() >> 16) > 5), FLabelFont(std::make_unique<TFont>()),
      FCanvas(std::make_unique<TCanvas>())
{
    FLabelFont->OnChange = [this](TObject *) {
        if (designing() && !loading())
            SetParentFont(false);
        placeLabel();
    };
    // Record the colour now, so that a combo made at run time returns to its own colour when
    // the focus leaves, not to black.
    Init();
}

TPsgCustomCombo::~TPsgCustomCombo()
{
    DetachBridge();
    FLabelFont->OnChange = nullptr;
    delete FLabel;
}

void TPsgCustomCombo::SelectItem(const QString &AString)
{
    const int i = Items()->IndexOf(AString);
    if (i >= 0)
        SetItemIndex(i);
}

void TPsgCustomCombo::Init()
{
    FNormalColor = Color();
}

void TPsgCustomCombo::Loaded()
{
    SetComponentStateItem(csLoading, false);
    SetDropWidth(FDropWidth);
    FOldColor = FLoadedColor;
    if (FFlat || !FFlatParentColor)
        SetColor(FLoadedColor);
    if (FLabel) {
        if (!FLabelAlwaysEnabled)
            FLabel->SetEnabled(Enabled());
        if (ParentFont())
            FLabel->Font()->Assign(Font());
        placeLabel();
    }
    Init();
}

bool TPsgCustomCombo::styleActive() const { return FIsThemed && IsThemeActive(); }

bool TPsgCustomCombo::disabledStyleFrame() const { return !Enabled() && styleActive() && !FDisabledBorder; }

bool TPsgCustomCombo::active() const
{
    if (designing())
        return Enabled();
    return FMouseInControl || (Screen && Screen->ActiveControl() == this);
}

void TPsgCustomCombo::setColor(TColor &field, TColor v)
{
    field = v;
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Property writers

void TPsgCustomCombo::SetFlat(bool v)
{
    if (v == FFlat)
        return;
    FFlat = v;
    FCtl3D = !v;
    if (v && FFlatParentColor) {
        if (Parent())
            SetColor(Parent()->Color());
    } else {
        SetColor(FLoadedColor);
    }
    Invalidate();
}

void TPsgCustomCombo::SetEtched(bool v)
{
    FEtched = v;
    Invalidate();
}

void TPsgCustomCombo::SetButtonWidth(int v)
{
    if (v < 14 || v > 32)
        return;
    FButtonWidth = v;
    Invalidate();
}

void TPsgCustomCombo::SetFocusBorder(bool v)
{
    FFocusBorder = v;
    Invalidate();
}

void TPsgCustomCombo::SetDropWidth(int v)
{
    FDropWidth = v;
    if (v > 0)
        Perform(CB_SETDROPPEDWIDTH, WPARAM(v));
}

void TPsgCustomCombo::SetFlatLineColor(TColor v)
{
    FFlatLineColor = v;
    Invalidate();
}

void TPsgCustomCombo::SetFlatParentColor(bool v)
{
    FFlatParentColor = v;
    Invalidate();
}

void TPsgCustomCombo::SetFocusBorderColor(TColor v)
{
    FFocusBorderColor = v;
    Invalidate();
}

void TPsgCustomCombo::SetBorderColor(TColor v)
{
    if (v == FBorderColor)
        return;
    FBorderColor = v;
    Perform(WM_NCPAINT);
}

void TPsgCustomCombo::SetDisabledBorder(bool v)
{
    FDisabledBorder = v;
    Invalidate();
}

void TPsgCustomCombo::SetEnabled(bool v)
{
    const bool changed = v != Enabled();
    TComboBox::SetEnabled(v);
    if (changed && !loading() && !designing() && FLabel) {
        if (!FLabelAlwaysEnabled)
            FLabel->SetEnabled(v);
        placeLabel();
    }
}

void TPsgCustomCombo::SetVisible(bool v)
{
    TComboBox::SetVisible(v);
    if (FLabel)
        FLabel->SetVisible(v);
}

void TPsgCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!IsDestroying())
        placeLabel();
}

void TPsgCustomCombo::SetParent(TWinControl *AParent)
{
    TComboBox::SetParent(AParent);
    // The label lives beside the combo, on the same parent.
    if (FLabel && !IsDestroying()) {
        FLabel->SetParent(AParent);
        placeLabel();
    }
}

// ---------------------------------------------------------------------------------------------
// Label

QString TPsgCustomCombo::LabelCaption() const { return FLabel ? FLabel->Caption() : QString(); }

void TPsgCustomCombo::SetLabelCaption(const QString &v)
{
    if (!FLabel) {
        FLabel = new TLabel(this);
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->Font()->Assign(FLabelFont.get());
        FLabel->SetParentFont(ParentFont());
    }
    FLabel->SetCaption(v);
    placeLabel();
}

void TPsgCustomCombo::SetLabelAlwaysEnabled(bool v)
{
    FLabelAlwaysEnabled = v;
    placeLabel();
}

void TPsgCustomCombo::SetLabelTransparent(bool v)
{
    FLabelTransparent = v;
    placeLabel();
}

void TPsgCustomCombo::SetLabelMargin(int v)
{
    FLabelMargin = v;
    placeLabel();
}

void TPsgCustomCombo::SetLabelPosition(TLabelPosition v)
{
    FLabelPosition = v;
    placeLabel();
}

void TPsgCustomCombo::setLabelBold(bool v)
{
    if (!FLabel)
        return;
    TFontStyles s = FLabel->Font()->Style();
    if (v)
        s.Include(fsBold);
    else
        s.Exclude(fsBold);
    FLabel->Font()->SetStyle(s);
}

void TPsgCustomCombo::placeLabel()
{
    if (!FLabel)
        return;
    FLabel->SetTransparent(FLabelTransparent);
    if (!ParentFont())
        FLabel->Font()->Assign(FLabelFont.get());
    TCanvas *lc = FLabel->Canvas();
    lc->Font()->Assign(FLabel->Font());
    const QString text = FLabel->ShowAccelChar() ? StripHotkey(FLabel->Caption()) : FLabel->Caption();
    const int w = lc->TextWidth(text);
    const TRect c = BoundsRect();
    const int ch = c.Height(), cw = c.Width(), lh = FLabel->Height(), lw = FLabel->Width();
    const int m = FLabelMargin;
    const int vCentre = lh <= ch ? c.Top + (ch - lh) / 2 : c.Top - (lh - ch) / 2;
    const int hCentre = lw <= cw ? c.Left + (cw - lw) / 2 : c.Left - (lw - cw) / 2;
    const int above = c.Top - lh - m, below = c.Top + ch + m, bottomAligned = c.Top + ch - lh;
    const int leftOf = c.Left - w - m, rightOf = c.Left + cw + m;
    int top = c.Top, left = c.Left;
    switch (FLabelPosition) {
    case lpLeftTop: top = c.Top; left = leftOf; break;
    case lpLeftCenter: top = vCentre; left = leftOf; break;
    case lpLeftBottom: top = bottomAligned; left = leftOf; break;
    case lpTopLeft: top = above; left = c.Left; break;
    case lpBottomLeft: top = below; left = c.Left; break;
    case lpLeftTopLeft: top = c.Top; left = c.Left - m; break;
    case lpLeftCenterLeft: top = vCentre; left = c.Left - m; break;
    case lpLeftBottomLeft: top = bottomAligned; left = c.Left - m; break;
    case lpTopCenter: top = above; left = hCentre; break;
    case lpBottomCenter: top = below; left = hCentre; break;
    case lpRightTop: top = c.Top; left = rightOf; break;
    case lpRightCenter: top = vCentre; left = rightOf; break;
    case lpRighBottom: top = bottomAligned; left = rightOf; break;
    // The drop-down edits' two right-aligned places, shared through the one position type.
    case lpTopRight: top = above; left = c.Left + cw - lw; break;
    case lpBottomRight: top = below; left = c.Left + cw - lw; break;
    }
    FLabel->SetBounds(left, top, lw, lh);
    FLabel->SetVisible(Visible());
}

void TPsgCustomCombo::Notification(TComponent *AComponent, TOperation Operation)
{
    TComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FLabel)
        FLabel = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Messages and events

void TPsgCustomCombo::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_NCPAINT:
        // The borders are drawn with the rest of the combo.
        Invalidate();
        break;
    case CM_COLORCHANGED:
        if (loading())
            FLoadedColor = Color();
        TComboBox::Dispatch(Message);
        break;
    case CM_ENABLEDCHANGED:
        if (FFlat && !loading()) {
            if (!Enabled()) {
                FOldParentColor = ParentColor();
                FOldColor = Color();
                SetParentColor(true);
            } else {
                SetColor(FOldColor);
                SetParentColor(FOldParentColor);
            }
        }
        TComboBox::Dispatch(Message);
        Invalidate();
        break;
    case CM_FONTCHANGED:
        TComboBox::Dispatch(Message);
        if (!FLabel)
            break;
        if (ParentFont()) {
            // The parent's font came down: the label (on the same parent) takes it too.
            if (FLabel->ParentFont())
                FLabel->SetParentFont(true);
            placeLabel();
        } else if ((designing() || loading()) && FLabel->ParentFont()) {
            FLabel->Font()->Assign(Font());
        }
        break;
    default:
        TComboBox::Dispatch(Message);
        break;
    }
}

void TPsgCustomCombo::CNCommand(TMessage &Message)
{
    TComboBox::CNCommand(Message);
    const Word code = Message.WParamHi();
    if (code != CBN_DROPDOWN && code != CBN_CLOSEUP)
        return;
    Invalidate();
    if (code == CBN_CLOSEUP && OnDropUp)
        OnDropUp(this);
}

void TPsgCustomCombo::DoEnter()
{
    if (!designing()) {
        FHasFocus = true;
        Invalidate();
        if (FFocusColor != clNone)
            SetColor(FFocusColor);
        if (FFocusLabel)
            setLabelBold(true);
    }
    TComboBox::DoEnter();
}

void TPsgCustomCombo::DoExit()
{
    if (!designing()) {
        FHasFocus = false;
        Invalidate();
        if (FNormalColor != clNone && FFocusColor != clNone)
            SetColor(FNormalColor);
        setLabelBold(false);
    }
    TComboBox::DoExit();
}

void TPsgCustomCombo::WMSetFocus(TMessage &Message)
{
    TComboBox::WMSetFocus(Message);
    if (FFocusBorderColor != clNone)
        Invalidate();
    if (FFocusColor != clNone)
        SetColor(FFocusColor);
    if (FFocusLabel)
        setLabelBold(true);
}

void TPsgCustomCombo::WMKillFocus(TMessage &Message)
{
    TComboBox::WMKillFocus(Message);
    if (FNormalColor != clNone && FFocusColor != clNone)
        SetColor(FNormalColor);
    setLabelBold(false);
    Invalidate();
}

void TPsgCustomCombo::MouseEnter()
{
    if (!FMouseInControl && Enabled()) {
        FMouseInControl = true;
        Invalidate();
    }
    if (FAutoFocus && !designing()) {
        TCustomForm *form = GetParentForm();
        if ((!form || form->Active()) && CanFocus() && !Focused())
            SetFocus();
    }
    if (FIsWinXP)
        Invalidate();
    TComboBox::MouseEnter();
}

void TPsgCustomCombo::MouseLeave()
{
    if (FMouseInControl && Enabled()) {
        FMouseInControl = false;
        Invalidate();
    }
    FButtonHover = false;
    if (FIsWinXP)
        Invalidate();
    TComboBox::MouseLeave();
}

void TPsgCustomCombo::MouseMove(TShiftState Shift, int X, int Y)
{
    const bool hover = Width() - FButtonWidth < X && X < Width();
    if (hover != FButtonHover) {
        FButtonHover = hover;
        Invalidate();
    }
    TComboBox::MouseMove(Shift, X, Y);
}

// ---------------------------------------------------------------------------------------------
// Painting

void TPsgCustomCombo::WMPaint(TMessage &Message)
{
    const bool focusFrame = FFocusBorderColor != clNone && Focused();
    const bool custom = !(FIsVista && FButtonColor == clNone) &&
                        (FFlat || FButtonColor != clNone || FBorderColor != clNone || focusFrame || disabledStyleFrame());
    // What the frame painting adds even when the combo paints itself.
    const bool borders = FFlat || disabledStyleFrame() || focusFrame || FBorderColor != clNone;
    if (!custom && !borders) {
        TComboBox::WMPaint(Message);
        return;
    }
    const bool painted = PaintOverNative(this, Message, FCanvas.get(), [this, custom] {
        TCanvas *c = FCanvas.get();
        if (custom && Style() != csSimple) {
            // The button's strip is left out of the combo's own painting, and so is whatever
            // the desktop style drew of its own button.
            const int strip = std::min(ClientWidth() - FButtonWidth - 4, StyleButtonRect().Left);
            c->Brush()->SetColor(Color());
            c->FillRect(Rect(strip, 0, Width(), Height()));
            drawButton(c);
        }
        drawBorders(c);
    });
    if (!painted)
        TComboBox::WMPaint(Message);
}

void TPsgCustomCombo::drawButton(TCanvas *c)
{
    TRect r = shrunk(Rect(ClientWidth() - FButtonWidth + 2, 0, Width(), Height()), 1);
    const bool mouseDown = GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0;
    if (FButtonColor != clNone) {
        const TColor fill = mouseDown && FButtonHover ? orElse(FButtonColorDown, FButtonColor)
                            : FButtonHover            ? orElse(FButtonColorHot, FButtonColor)
                                                      : FButtonColor;
        c->Brush()->SetColor(fill);
        c->Pen()->SetColor(fill);
        r = Rect(r.Left - 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        c->FillRect(r);
        if (FButtonBorderColor != clNone) {
            c->Pen()->SetColor(FButtonBorderColor);
            c->MoveTo(r.Left, r.Top);
            c->LineTo(r.Left, r.Bottom);
        }
        const TColor arrow = orElse(mouseDown ? FButtonTextColorDown : FButtonTextColor, clBtnText);
        c->Pen()->SetColor(arrow);
        c->Brush()->SetColor(arrow);
        c->Polygon({Point(r.Left + 4, r.Top + 7), Point(r.Left + 10, r.Top + 7), Point(r.Left + 7, r.Top + 10)});
    } else if (styleActive()) {
        const int state = !Enabled()                              ? 4
                          : mouseDown && DroppedDown()            ? 3
                          : mouseDown || !FButtonHover || DroppedDown() ? 1
                                                                  : 2;
        const HTHEME theme = OpenThemeData(Handle(), QStringLiteral("combobox"));
        DrawThemeBackground(theme, c, 1, state, r);
        CloseThemeData(theme);
    } else {
        r = Rect(r.Left - 4, r.Top + 1, r.Right, r.Bottom - 1);
        DrawFrameControl(c, r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled() ? DFCS_FLAT : DFCS_INACTIVE));
    }
}

void TPsgCustomCombo::drawBorders(TCanvas *c)
{
    if (Enabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone)
        return;
    if (FIsVista && FBorderColor == clNone)
        return;
    TRect r = Rect(0, 0, Width(), Height());
    if (disabledStyleFrame()) {
        frame(c, r, kDisabledFrameColor);
        return;
    }
    if (FBorderColor != clNone && !(FHasFocus && FFocusBorderColor != clNone)) {
        frame(c, r, FBorderColor);
    } else if (FFocusBorderColor != clNone) {
        if (FHasFocus)
            frame(c, r, FFocusBorderColor);
    } else {
        // The flat look: the parent's colour around the combo, a sunken edge while the focus
        // border is wanted.
        const bool focusBorder = FFocusBorder && !designing() && active();
        const TColor outer = focusBorder ? clBtnFace : Parent() ? Parent()->Color() : Color();
        const TColor inner = Color();
        if (focusBorder) {
            c->DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
            frame(c, r, outer);
            r = shrunk(r, 1);
            frame(c, r, inner);
        } else {
            frame(c, r, outer);
            r = shrunk(r, 1);
            frame(c, Rect(r.Left, r.Top, r.Right - FButtonWidth, r.Bottom), outer);
            r = shrunk(r, 1);
            frame(c, r, inner);
        }
        if (FFlat && FFlatLineColor != clNone) {
            c->Pen()->SetColor(FFlatLineColor);
            c->MoveTo(r.Left - 2, Height() - 1);
            c->LineTo(r.Right - FButtonWidth - 1, Height() - 1);
        }
    }
    if (Style() == csSimple || (FIsWinXP && styleActive()))
        return;
    // The button's edge: shown while the combo is active, covered with the button face otherwise.
    const int cw = ClientWidth(), ch = ClientHeight();
    c->ExcludeClipRect(Rect(cw - FButtonWidth + 4, 4, cw - 4, ch - 4));
    TRect e = shrunk(Rect(cw - FButtonWidth - 2, 0, Width(), Height()), 2);
    if (!active()) {
        e = Rect(e.Left, e.Top + 1, e.Right - 1, e.Bottom - 1);
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(e);
    }
    c->ExcludeClipRect(e);
}
