#include "editors/PSGEdit.h"
#include "framework/controls/NativeControls.h"
#include "framework/graphics/Themes.h"
#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TProSpeedButton

TProSpeedButton::TProSpeedButton(TComponent *AOwner) : TSpeedButton(AOwner) {}

void TProSpeedButton::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    Invalidate();
}

void TProSpeedButton::SetFlat(bool v)
{
    FFlat = v;
    Invalidate();
}

void TProSpeedButton::MouseEnter()
{
    FHot = true;
    Invalidate();
    TSpeedButton::MouseEnter();
}

void TProSpeedButton::MouseLeave()
{
    FHot = false;
    Invalidate();
    TSpeedButton::MouseLeave();
}

void TProSpeedButton::Paint()
{
    TCanvas *c = Canvas();
    c->Font()->Assign(Font());
    auto *owner = dynamic_cast<TPsgEditButton *>(Owner());
    const bool pressed = State() == bsDown || State() == bsExclusive;
    TRect r = Rect(0, 0, Width(), Height());

    if (owner && owner->ButtonColor() != clNone) {
        FFlat = true;
        c->Brush()->SetColor(pressed ? owner->ButtonColorDown() : FHot ? owner->ButtonColorHot() : owner->ButtonColor());
        c->FillRect(ClientRect());
    } else if (FIsWinXP && IsThemeActive()) {
        const HTHEME theme = OpenThemeData(owner ? owner->Handle() : 0, QStringLiteral("button"));
        DrawThemeBackground(theme, c, 1, pressed ? 3 : FHot ? 2 : 1, r);
        CloseThemeData(theme);
    } else if (FFlat) {
        c->DrawEdge(r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    } else {
        DrawFrameControl(c, r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    }

    const int shift = State() == bsDown ? 1 : 0;
    TBitmap *glyph = Glyph();
    if (!glyph->Empty()) {
        glyph->SetTransparent(true);
        const int x = glyph->Width() < Width() ? (Width() - glyph->Width()) / 2 : 0;
        const int y = glyph->Height() < Height() ? (Height() - glyph->Height()) / 2 : 0;
        c->Draw(x + shift, y + shift, glyph);
    }
    if (!Caption().isEmpty()) {
        c->Font()->SetColor(clBlack);
        c->Brush()->SetStyle(bsClear);
        TRect tr = Rect(r.Left + shift, r.Top + shift, r.Right + shift, r.Bottom + shift);
        c->DrawText(Caption(), tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

// ---------------------------------------------------------------------------------------------
// TPsgEditButton

TPsgEditButton::TPsgEditButton(TComponent *AOwner) : TWinControl(AOwner, nullptr)
{
    SetControlStyle(ControlStyle() - csAcceptsControls - csSetCaption + csOpaque);
    SetBounds(0, 0, 20, 25);
    // A click on the button leaves the focus where it is; the release decides where it goes.
    SetFocusOnClick(this, false);
    SetCursor(crArrow);
    FButton = new TProSpeedButton(this);
    FButton->SetParent(this);
    FButton->SetAlign(alClient);
    FButton->OnMouseUp = [this](TObject *, TMouseButton Button, TShiftState, int, int) { BtnMouseUp(Button); };
}

void TPsgEditButton::setColor(TColor &field, TColor v)
{
    field = v;
    FButton->Invalidate();
}

void TPsgEditButton::SetFlat(bool v)
{
    FFlat = v;
    FButton->SetFlat(v);
}

void TPsgEditButton::SetFocusControl(TWinControl *v)
{
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v)
        v->FreeNotification(this);
}

void TPsgEditButton::Notification(TComponent *AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TPsgEditButton::BtnMouseUp(TMouseButton Button)
{
    if (Button != mbLeft)
        return;
    if (OnClick)
        OnClick(this);
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

// ---------------------------------------------------------------------------------------------
// TPsgEditBtn

TPsgEditBtn::TPsgEditBtn(TComponent *AOwner) : TCustomEdit(AOwner)
{
    SetControlStyle(ControlStyle() - csSetCaption);
    FButton = new TPsgEditButton(this);
    FButton->SetBounds(0, 0, 18, 18);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](TObject *) { ButtonClick(FButton); };
    SetText(QStringLiteral("0"));
    // What the window's creation does: the first size places the button.
    Perform(WM_SIZE, 0, MakeLParam(ClientWidth(), ClientHeight()));
}

void TPsgEditBtn::ButtonClick(TObject *Sender)
{
    if (OnClickBtn)
        OnClickBtn(Sender);
}

void TPsgEditBtn::SetButtonWidth(int v)
{
    FButtonWidth = v;
    FButton->SetWidth(v);
    // Keeps the wider or narrower button at the right edge.
    PlaceButton();
}

void TPsgEditBtn::SetIsWinXP(bool v)
{
    FIsWinXP = v;
    FButton->Button()->SetIsWinXP(v);
}

void TPsgEditBtn::SetRightAlign(bool v)
{
    if (v == FRightAlign)
        return;
    FRightAlign = v;
    SetAlignment(v ? taRightJustify : taLeftJustify);
    SetEditRect();
}

void TPsgEditBtn::SetCtl3D(bool v)
{
    if (v == FCtl3D)
        return;
    FCtl3D = v;
    PlaceButton();
}

int TPsgEditBtn::GetMinHeight() const
{
    TCanvas canvas;
    TFont systemFont;
    canvas.Font()->Assign(&systemFont);
    const int hs = canvas.TextHeight(QStringLiteral("0"));
    canvas.Font()->Assign(Font());
    const int hf = canvas.TextHeight(QStringLiteral("0"));
    return hf + std::min(hs, hf) / 4;
}

TRect TPsgEditBtn::InnerRect() const
{
    const int b = BorderStyle() == bsNone ? 0 : FCtl3D ? 2 : 1;
    return Rect(b, b, std::max(b, Width() - b), std::max(b, Height() - b));
}

void TPsgEditBtn::PlaceButton()
{
    if (!FButton)
        return;
    const TRect in = InnerRect();
    const int bw = FButton->Width();
    if (FCtl3D) {
        const int d = BorderStyle() == bsNone ? 1 : 5;
        FButton->SetBounds(in.Left + Width() - bw - d, in.Top, bw, Height() - d);
    } else {
        FButton->SetBounds(in.Left + Width() - bw, in.Top + 1, bw, Height() - 3);
    }
    SetEditRect();
}

void TPsgEditBtn::SetEditRect()
{
    if (!FButton)
        return;
    const TRect in = InnerRect();
    const int m = BorderStyle() == bsSingle ? 1 : 3;
    const int right = in.Width() - (FButton->Width() + FUnitSize + 5) - (FUnitSize > 0 ? 3 : 0);
    TRect r = Rect(in.Left + m, in.Top + m, in.Left + right, in.Top + in.Height() + 1);
    Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&r));
}

void TPsgEditBtn::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_PASTE:
    case WM_CUT:
        if (FEditorEnabled && !ReadOnly())
            TCustomEdit::Dispatch(Message);
        break;
    case CM_BORDERCHANGED:
        TCustomEdit::Dispatch(Message);
        PlaceButton();
        break;
    default:
        TCustomEdit::Dispatch(Message);
        break;
    }
}

void TPsgEditBtn::WMSize(TMessage &Message)
{
    TCustomEdit::WMSize(Message);
    if (!FButton)
        return;
    const int minHeight = GetMinHeight();
    if (Height() < minHeight)
        SetHeight(minHeight);
    else
        PlaceButton();
}

void TPsgEditBtn::WMChar(TMessage &Message)
{
    if (FEditorEnabled)
        TCustomEdit::WMChar(Message);
}

void TPsgEditBtn::KeyDown(Word &Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == VK_F4 && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt))
        ButtonClick(this);
}

void TPsgEditBtn::DoEnter()
{
    // A click into the text places the caret instead.
    if (AutoSelect() && GetKeyState(VK_LBUTTON) >= 0)
        SelectAll();
    TWinControl::DoEnter();
}

// ---------------------------------------------------------------------------------------------
// TPsgUnitEditBtn

TPsgUnitEditBtn::TPsgUnitEditBtn(TComponent *AOwner)
    : TPsgEditBtn(AOwner), FUnits(std::make_unique<TStringList>()), FCanvas(std::make_unique<TCanvas>())
{
    FUnitMenu = new TPopupMenu(this);
    SetUnitSpace(20);
    SetRightAlign(true);
}

TPsgUnitEditBtn::~TPsgUnitEditBtn()
{
    DetachBridge();
}

void TPsgUnitEditBtn::SetUnits(TStrings *v)
{
    if (v)
        FUnits->Assign(v);
}

void TPsgUnitEditBtn::SetUnitID(const QString &v)
{
    FUnitID = v;
    Invalidate();
}

void TPsgUnitEditBtn::SetUnitSpace(int v)
{
    FUnitSize = v;
    SetEditRect();
    Invalidate();
}

void TPsgUnitEditBtn::SetTextAndUnit(const QString &v)
{
    for (int i = 0; i < FUnits->Count(); ++i) {
        const QString u = FUnits->Strings(i);
        if (u.isEmpty())
            continue;
        // The first occurrence must be the one that ends the string.
        const qsizetype at = v.indexOf(u);
        if (at >= 0 && at == v.size() - u.size()) {
            SetText(v.left(at));
            SetUnitID(u);
            return;
        }
    }
}

void TPsgUnitEditBtn::ButtonClick(TObject *Sender)
{
    if (OnClickBtn)
        OnClickBtn(this);
    FUnitMenu->Items()->Clear();
    for (int i = 0; i < FUnits->Count(); ++i) {
        auto *item = new TMenuItem(FUnitMenu);
        item->SetCaption(FUnits->Strings(i));
        const int id = i + 1;
        item->OnClick = [this, id](TObject *) { Perform(WM_COMMAND, MakeWParam(id, 0), 0); };
        FUnitMenu->Items()->Add(item);
    }
    if (FUnits->Count() == 0)
        return;
    const TRect in = InnerRect();
    const TPoint at = ClientToScreen(Point(in.Left + in.Width() - 15, in.Top + in.Height()));
    FUnitMenu->Popup(at.X, at.Y);
}

void TPsgUnitEditBtn::Dispatch(TMessage &Message)
{
    if (Message.Msg != WM_COMMAND || Message.WParamHi() == EN_CHANGE) {
        TPsgEditBtn::Dispatch(Message);
        return;
    }
    const int id = Message.WParamLo();
    if (id < 1 || id > FUnits->Count())
        return;
    const QString old = FUnitID;
    SetUnitID(FUnits->Strings(id - 1));
    if (FUnitID != old && OnUnitChanged)
        OnUnitChanged(this, FUnitID);
}

void TPsgUnitEditBtn::WMPaint(TMessage &Message)
{
    const bool painted = PaintOverNative(this, Message, FCanvas.get(), [this] {
        const TRect in = InnerRect();
        const int right = in.Left + in.Width() - (Button()->Width() + 3);
        TRect r = Rect(right - FUnitSize, in.Top + 2, right, in.Top + in.Height());
        FCanvas->DrawText(FUnitID, r, DT_EDITCONTROL);
    });
    if (!painted)
        TPsgEditBtn::WMPaint(Message);
}
