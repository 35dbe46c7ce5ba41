#include "editors/ProButton.h"

#include "framework/controls/Forms.h"
#include "framework/controls/NativeControls.h"
#include "framework/controls/StdCtrls.h"

// ---- TProButtonAppearance --------------------------------------------------------------------

TProButtonAppearance::TProButtonAppearance()
    : FColorCheckedTo(AdjustColorPercent(TColor(0xF9D2B2), -10, -10, 0)),
      FColorChecked(AdjustColorPercent(TColor(0xF5F0E1), -10, -10, 0)), FFont(std::make_unique<TFont>())
{
    FFont->SetName(QStringLiteral("Tahoma"));
}

TProButtonAppearance::~TProButtonAppearance() = default;

void TProButtonAppearance::changed()
{
    if (OnChange)
        OnChange(this);
}

void TProButtonAppearance::set(TColor &Field, TColor v)
{
    if (Field == v)
        return;
    Field = v;
    changed();
}

void TProButtonAppearance::SetGradient(TGradientDirection v)
{
    if (FGradient == v)
        return;
    FGradient = v;
    changed();
}

void TProButtonAppearance::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TProButtonAppearance *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    SetBorderColor(s->FBorderColor);
    SetBorderColorHot(s->FBorderColorHot);
    SetBorderColorDown(s->FBorderColorDown);
    SetBorderColorDisabled(s->FBorderColorDisabled);
    SetBorderColorChecked(s->FBorderColorChecked);
    SetColor(s->FColor);
    SetColorTo(s->FColorTo);
    SetColorDown(s->FColorDown);
    SetColorDownTo(s->FColorDownTo);
    SetColorHot(s->FColorHot);
    SetColorHotTo(s->FColorHotTo);
    SetColorChecked(s->FColorChecked);
    SetColorCheckedTo(s->FColorCheckedTo);
    SetColorDisabled(s->FColorDisabled);
    SetColorDisabledTo(s->FColorDisabledTo);
    SetGradient(s->FGradient);
}

// ---- TProButton ------------------------------------------------------------------------------

namespace {

// The character after the single '&' of a caption, upper-cased; a null character when there is none.
QChar accelOf(const QString &Caption)
{
    for (int i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != QLatin1Char('&'))
            continue;
        if (Caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return Caption[i + 1].toUpper();
    }
    return QChar();
}

}  // namespace

TProButton::TProButton(TComponent *AOwner) : TCustomControl(AOwner)
{
    SetBounds(Left(), Top(), 23, 22);
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks});
    SetParentFont(true);
    Font()->SetName(QStringLiteral("Tahoma"));
    SetShowHint(false);
    FUnHotTimer = new TTimer(this);
    FUnHotTimer->SetInterval(1);
    FUnHotTimer->SetEnabled(false);
    FUnHotTimer->OnTimer = [this](TObject *) { unHotTimerTick(); };
}

TProButton::~TProButton()
{
    DetachBridge();
    if (FUnHotTimer)
        FUnHotTimer->OnTimer = nullptr;
}

void TProButton::SetImages(TCustomImageList *Images)
{
    if (FImages == Images)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Images;
    if (Images)
        Images->FreeNotification(this);
    Invalidate();
}

void TProButton::SetProDropDown(TProCustomDropDown *Edit)
{
    if (FProDropDown != Edit)
        FProDropDown = Edit;
}

void TProButton::SetAppearance(TProButtonAppearance *v)
{
    FAppearance = v;
    Invalidate();
}

void TProButton::SetImageIndex(int32_t v)
{
    FImageIndex = v;
    Invalidate();
}

void TProButton::SetStyle(TProButtonStyle v)
{
    FStyle = v;
    Invalidate();
}

void TProButton::SizeToContent()
{
    if (!FAppearance)
        return;
    TCanvas *c = Canvas();
    c->Font()->Assign(FAppearance->Font());
    TSize s{0, 0};
    GetTextExtent(c, Caption(), s);
    int w = s.cx, h = s.cy;
    if (FImages && FImageIndex >= 0) {
        w = std::max(w, FImages->Width());
        h = std::max(h, FImages->Height());
    }
    SetBounds(Left(), Top(), w + 8, h + 4);
}

void TProButton::SetDown(bool Value)
{
    if (loading())
        FInitialDown = Value;
    if (FGroupIndex == 0 && FStyle == tasButton)
        Value = false;
    if (FStyle == tasCheck) {
        FDown = Value;
        FState = Value ? absDown : absUp;
        Repaint();
        return;
    }
    if (Value == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = Value;
    if (Value) {
        if (FState == absUp)
            Invalidate();
        FState = absExclusive;
        if (TWinControl *p = Parent()) {
            TMessage m;
            m.Msg = CM_BUTTONPRESSED;
            m.WParam = WPARAM(FGroupIndex);
            m.LParam = reinterpret_cast<LPARAM>(static_cast<TObject *>(this));
            for (int i = 0; i < p->ControlCount(); ++i) {
                TControl *c = p->Controls(i);
                if (c != this)
                    c->WndProc(m);
            }
        }
    } else {
        FState = absUp;
        Repaint();
    }
}

void TProButton::Loaded()
{
    SetComponentStateItem(csLoading, false);
    if (FInitialDown)
        SetDown(FInitialDown);
}

void TProButton::Notification(TComponent *AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages && !IsDestroying())
        FImages = nullptr;
}

void TProButton::doClick(bool Internal)
{
    if (TCustomForm *f = GetParentForm())
        f->SetModalResult(FModalResult);
    if (FProDropDown) {
        switch (FModalResult) {
        case mrOk: case mrCancel: case mrAbort: case mrIgnore: case mrYes: case mrNo: case mrAll: case mrNoToAll:
        case mrYesToAll: {
            const bool cancel = FModalResult == mrCancel || FModalResult == mrAbort || FModalResult == mrIgnore ||
                                FModalResult == mrNo || FModalResult == mrNoToAll;
            FProDropDown->HideDropDown(cancel);
            break;
        }
        default:
            break;
        }
    }
    if (!Internal)
        TCustomControl::Click();
}

void TProButton::Click()
{
    doClick(FInternalClick);
}

// ---- painting

void TProButton::paintParentBackground(TCanvas *ACanvas)
{
    PaintParentBackground(this, ACanvas);
}

void TProButton::Paint()
{
    if (!Enabled()) {
        FState = absDisabled;
        FDragging = false;
    } else if (FState == absDisabled) {
        FState = FDown && FGroupIndex != 0 ? absExclusive : absUp;
    }
    if (FStyle == tasCheck && FDown)
        FState = absDown;
    paintParentBackground(Canvas());
    DrawButton(Canvas());
}

void TProButton::DrawButton(TCanvas *ACanvas)
{
    if (!FAppearance || !ACanvas)
        return;
    const TProButtonAppearance *a = FAppearance;
    TColor from, to, border;
    if (!Enabled()) {
        from = a->ColorDisabled();
        to = a->ColorDisabledTo();
        border = a->BorderColorDisabled();
    } else if (FMouseDownInControl && FMouseInControl) {
        from = a->ColorDown();
        to = clNone;
        border = a->BorderColorDown();
    } else if (FDown) {
        from = a->ColorChecked();
        to = clNone;
        border = a->BorderColorChecked();
    } else if (FMouseInControl || Focused()) {
        from = a->ColorHot();
        to = clNone;
        border = a->BorderColorHot();
    } else {
        from = a->Color();
        to = a->ColorTo();
        border = a->BorderColor();
    }
    const TRect r = ClientRect();
    DrawGradientBox(ACanvas, r, from, to, border, 1, a->Gradient());
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->Font()->Assign(a->Font());
    DrawImageAndText(ACanvas, r, Caption(), FImages, FImageIndex);
}

// ---- mouse, hover and keys

void TProButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled() || designing())
        return;
    FMouseDownInControl = true;
    if (!FDown) {
        FState = absDown;
        Invalidate();
    }
    if (FStyle == tasCheck) {
        FState = absDown;
        Repaint();
    }
    FDragging = true;
}

void TProButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (FDragging) {
        TProButtonState s;
        if (FDown)
            s = absExclusive;
        else
            s = ClientRect().Contains(Point(X, Y)) ? absDown : absUp;
        if (FStyle == tasCheck && FDown)
            s = absDown;
        if (s != FState) {
            FState = s;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        checkHover(Point(X, Y));
    }
}

void TProButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FMouseDownInControl = false;
    Invalidate();
    if (FDragging) {
        FDragging = false;
        const bool inside = ClientRect().Contains(Point(X, Y));
        if (FGroupIndex != 0) {
            if (inside) {
                SetDown(!FDown);
                if (FDown)
                    Repaint();
            } else if (FDown) {
                FState = absExclusive;
                Repaint();
            }
        } else {
            FState = absUp;
            FMouseInControl = false;
            FHot = false;
            if (FStyle == tasCheck) {
                SetDown(!FDown);
                FState = absUp;
            }
            if (inside && FState != absDown && FState != absExclusive)
                Invalidate();
        }
    }
    checkHover(Point(X, Y));
}

void TProButton::checkHover(TPoint P)
{
    // The pointer's place in the event is where the cursor is.
    if (ClientRect().Contains(P))
        Perform(CM_MOUSEENTER);
    else
        Perform(CM_MOUSELEAVE);
}

void TProButton::unHotTimerTick()
{
    const TPoint p = ScreenToClient(GetCursorPos());
    if (ClientRect().Contains(p))
        return;
    FUnHotTimer->SetEnabled(false);
    FMouseInControl = false;
    FHot = false;
    if (Enabled())
        Invalidate();
}

void TProButton::KeyDown(Word &Key, TShiftState Shift)
{
    if (Key == VK_RETURN || Key == VK_SPACE) {
        FState = absDown;
        if (FStyle == tasCheck)
            Repaint();
        else
            Invalidate();
        FInternalClick = true;
        try {
            Click();
        } catch (...) {
            FInternalClick = false;
            throw;
        }
        FInternalClick = false;
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TProButton::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        if (designing())
            break;
        FMouseInControl = true;
        FHot = true;
        if (Enabled())
            Invalidate();
        FUnHotTimer->SetEnabled(true);
        break;
    case CM_MOUSELEAVE:
        FUnHotTimer->SetEnabled(false);
        FMouseInControl = false;
        FHot = false;
        FPropHot = false;
        if (Enabled())
            Invalidate();
        break;
    case CM_ENABLEDCHANGED:
    case CM_FOCUSCHANGED:
        Invalidate();
        break;
    case CM_BUTTONPRESSED: {
        auto *sender = dynamic_cast<TProButton *>(reinterpret_cast<TObject *>(Message.LParam));
        if (Message.WParam == WPARAM(FGroupIndex) && sender && sender != this) {
            if (sender->FDown && FDown) {
                FDown = false;
                FState = absUp;
                Invalidate();
            }
            FAllowAllUp = sender->FAllowAllUp;
        }
        return;
    }
    case CM_DIALOGCHAR:
        if (Enabled() && !accelOf(Caption()).isNull() && QChar(Message.CharCode()).toUpper() == accelOf(Caption())) {
            Click();
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}
