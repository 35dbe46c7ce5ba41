#include "editors/ProDropDownStrips.h"

#include "framework/controls/Forms.h"
#include "framework/rtl/Exceptions.h"

#include <algorithm>

// ---- TDbgList --------------------------------------------------------------------------------

void TDbgList::AssignList(TList *ListA)
{
    Clear();
    if (!ListA)
        return;
    for (int i = 0; i < ListA->Count(); ++i)
        Add(ListA->Items(i));
}

void *TDbgList::ItemsEx(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw Exception(QStringLiteral("Index out of bounds in list read access"));
    return Items(Index);
}

void TDbgList::SetItemsEx(int Index, void *Item)
{
    if (Index < 0 || Index >= Count())
        throw Exception(QStringLiteral("Index out of bounds in list write access"));
    SetItems(Index, Item);
}

// ---- Buttons of the strips -------------------------------------------------------------------

THeaderButton::THeaderButton(TCollection *Collection) : TCollectionItem(Collection) {}

void THeaderButton::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<THeaderButton *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->FCaption);
    SetImageIndex(s->FImageIndex);
    SetEnabled(s->FEnabled);
    SetHeight(s->FHeight);
    SetWidth(s->FWidth);
}

void THeaderButton::SetCaption(const QString &v)
{
    if (FCaption == v)
        return;
    FCaption = v;
    Changed(false);
}

void THeaderButton::SetEnabled(bool v)
{
    if (FEnabled == v)
        return;
    FEnabled = v;
    Changed(false);
}

void THeaderButton::SetWidth(int32_t v)
{
    if (FWidth == v)
        return;
    FWidth = v;
    Changed(false);
}

TFooterButton::TFooterButton(TCollection *Collection) : TCollectionItem(Collection) {}

void TFooterButton::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TFooterButton *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->FCaption);
    SetImageIndex(s->FImageIndex);
    SetModalResult(s->FModalResult);
    SetEnabled(s->FEnabled);
    SetHeight(s->FHeight);
    SetWidth(s->FWidth);
}

void TFooterButton::SetCaption(const QString &v)
{
    if (FCaption == v)
        return;
    FCaption = v;
    Changed(false);
}

void TFooterButton::SetEnabled(bool v)
{
    if (FEnabled == v)
        return;
    FEnabled = v;
    Changed(false);
}

void TFooterButton::SetWidth(int32_t v)
{
    if (FWidth == v)
        return;
    FWidth = v;
    Changed(false);
}

THeaderButtons::THeaderButtons(TPersistent *AOwner)
    : TOwnedCollection(AOwner, CollectionItemClass<THeaderButton>()), FMyOwner(AOwner)
{
}

void THeaderButtons::Update(TCollectionItem *)
{
    if (OnChange)
        OnChange(this);
}

TFooterButtons::TFooterButtons(TPersistent *AOwner)
    : TCollection(CollectionItemClass<TFooterButton>()), FMyOwner(AOwner)
{
}

void TFooterButtons::Update(TCollectionItem *)
{
    if (OnChange)
        OnChange(this);
}

// ---- Settings of the strips ------------------------------------------------------------------

TStripAppearance::TStripAppearance(TPersistent *AOwner) : FOwner(AOwner), FFont(std::make_unique<TFont>()) {}

TStripAppearance::~TStripAppearance() = default;

void TStripAppearance::SetVisible(bool v)
{
    if (FVisible == v)
        return;
    FVisible = v;
    if (OnChange)
        OnChange(this);
}

void TStripAppearance::buttonsChanged()
{
    if (OnButtonsChanged)
        OnButtonsChanged(this);
}

void TStripAppearance::AssignColors(TStripAppearance *Source)
{
    if (!Source)
        return;
    FColor = Source->FColor;
    FColorTo = Source->FColorTo;
    FBorderColor = Source->FBorderColor;
    FFont->Assign(Source->FFont.get());
    FGradientDirection = Source->FGradientDirection;
}

void TStripAppearance::assignFrom(TStripAppearance *Source)
{
    FHeight = Source->FHeight;
    FBorderWidth = Source->FBorderWidth;
    FImageIndex = Source->FImageIndex;
    FCaption = Source->FCaption;
    AssignColors(Source);
    FButtonAlignment = Source->FButtonAlignment;
    ButtonCollection()->Assign(Source->ButtonCollection());
    SetVisible(Source->FVisible);
}

THeaderAppearance::THeaderAppearance(TPersistent *AOwner)
    : TStripAppearance(AOwner), FButtons(std::make_unique<THeaderButtons>(AOwner))
{
    FFont->SetName(QStringLiteral("Tahoma"));
    FButtons->OnChange = [this](TObject *) { buttonsChanged(); };
}

THeaderAppearance::~THeaderAppearance() { FButtons->OnChange = nullptr; }

void THeaderAppearance::Assign(TPersistent *Source)
{
    if (auto *s = dynamic_cast<THeaderAppearance *>(Source))
        assignFrom(s);
}

TFooterAppearance::TFooterAppearance(TPersistent *AOwner)
    : TStripAppearance(AOwner), FButtons(std::make_unique<TFooterButtons>(AOwner))
{
    FButtons->OnChange = [this](TObject *) { buttonsChanged(); };
}

TFooterAppearance::~TFooterAppearance() { FButtons->OnChange = nullptr; }

void TFooterAppearance::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TFooterAppearance *>(Source);
    if (!s)
        return;
    FSizeGrip = s->FSizeGrip;
    assignFrom(s);
}

// ---- The strip controls ----------------------------------------------------------------------

TProDropDownStrip::TProDropDownStrip(TComponent *AOwner, std::unique_ptr<TStripAppearance> Appearance, bool IsFooter)
    : TCustomControl(AOwner), FAppearance(std::move(Appearance)), FButtonList(std::make_unique<TDbgList>()),
      FIsFooter(IsFooter)
{
    FAppearance->OnChange = [this](TObject *) { appearanceChanged(); };
    TControlStyle style{csAcceptsControls, csClickEvents, csDoubleClicks};
    if (IsFooter)
        style.Include(csCaptureMouse);
    SetControlStyle(style);
}

TProDropDownStrip::~TProDropDownStrip()
{
    DetachBridge();
    FAppearance->OnChange = nullptr;
    FAppearance->OnButtonsChanged = nullptr;
    ClearButtons();
}

void TProDropDownStrip::appearanceChanged()
{
    SetVisible(FAppearance->Visible());
    SetHeight(FAppearance->Height());
}

TStripAppearance *TProDropDownStrip::editAppearance() const
{
    if (!FProDropDown)
        return nullptr;
    if (FIsFooter)
        return FProDropDown->FDropDownFooter;
    return FProDropDown->FDropDownHeader;
}

void TProDropDownStrip::SetProDropDown(TProCustomDropDown *Edit)
{
    FProDropDown = Edit;
    if (Edit) {
        SetImages(Edit->FImages);
        if (TStripAppearance *a = editAppearance())
            FAppearance->Assign(a);
    } else {
        SetImages(nullptr);
    }
}

void TProDropDownStrip::SetImages(TCustomImageList *v)
{
    if (FImages == v)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = v;
    if (v)
        v->FreeNotification(this);
    Invalidate();
}

void TProDropDownStrip::Notification(TComponent *AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        FImages = nullptr;
}

void TProDropDownStrip::RefreshButtons()
{
    if (FProDropDown)
        CreateButtons();
}

bool TProDropDownStrip::gripShown() const
{
    if (!FIsFooter || !FProDropDown)
        return false;
    return static_cast<TFooterAppearance *>(FAppearance.get())->SizeGrip() && FProDropDown->FDropDownSizeable;
}

TRect TProDropDownStrip::ButtonArea() const
{
    const TRect r = ClientRect();
    if (!FIsFooter)
        return Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 3);
    return Rect(r.Left + 2, r.Top + 2, r.Right - (gripShown() ? 14 : 2), r.Bottom - 2);
}

void TProDropDownStrip::buttonClick(TObject *Sender)
{
    auto *b = dynamic_cast<TProButton *>(Sender);
    if (!b || !FProDropDown)
        return;
    const TDropDownButtonItemClick &handler =
        FIsFooter ? FProDropDown->OnDropDownFooterButtonClick : FProDropDown->OnDropDownHeaderButtonClick;
    if (handler)
        handler(FProDropDown, int32_t(b->Tag()));
}

void TProDropDownStrip::CreateButtons()
{
    TStripAppearance *a = editAppearance();
    if (!FProDropDown || !a)
        return;
    TCollection *items = a->ButtonCollection();
    ClearButtons();
    const int areaHeight = ButtonArea().Height();
    for (int i = 0; i < items->Count(); ++i) {
        auto *b = new TProButton(this);
        b->SetParent(this);
        b->SetAppearance(FProDropDown->FButtonAppearance);
        int32_t width = 0, height = 0;
        if (FIsFooter) {
            auto *item = static_cast<TFooterButton *>(items->Items(i));
            b->SetCaption(item->Caption());
            b->SetImages(FImages);
            b->SetImageIndex(item->ImageIndex());
            b->SetEnabled(item->Enabled());
            b->SetProDropDown(FProDropDown);
            b->SetModalResult(item->ModalResult());
            width = item->Width();
            height = item->Height();
        } else {
            auto *item = static_cast<THeaderButton *>(items->Items(i));
            b->SetCaption(item->Caption());
            b->SetImages(FImages);
            b->SetImageIndex(item->ImageIndex());
            b->SetEnabled(item->Enabled());
            width = item->Width();
            height = item->Height();
        }
        b->SizeToContent();
        if (width > 0)
            b->SetWidth(width);
        if (height > 0)
            b->SetHeight(height);
        if (b->Height() > areaHeight)
            b->SetHeight(areaHeight);
        b->SetTag(i);
        b->OnClick = [this](TObject *Sender) { buttonClick(Sender); };
        FButtonList->Add(b);
    }
    ArrangeButtons();
}

void TProDropDownStrip::ClearButtons()
{
    for (int i = FButtonList->Count() - 1; i >= 0; --i)
        delete static_cast<TProButton *>(FButtonList->Items(i));
    FButtonList->Clear();
}

void TProDropDownStrip::ArrangeButtons()
{
    const TRect area = ButtonArea();
    int x = FAppearance->ButtonAlignment() == baRight ? area.Right : area.Left;
    for (int i = 0; i < FButtonList->Count(); ++i) {
        auto *b = static_cast<TProButton *>(FButtonList->Items(i));
        const int top = std::max(area.Top, (area.Bottom - b->Height()) / 2);
        if (FAppearance->ButtonAlignment() == baRight) {
            x -= b->Width();
            b->SetBounds(x, top, b->Width(), b->Height());
        } else {
            b->SetBounds(x, top, b->Width(), b->Height());
            x += b->Width();
        }
    }
}

void TProDropDownStrip::UpdateButtons()
{
    TStripAppearance *a = editAppearance();
    if (!FProDropDown || !a)
        return;
    TCollection *items = a->ButtonCollection();
    for (int i = 0; i < FButtonList->Count(); ++i) {
        auto *b = static_cast<TProButton *>(FButtonList->Items(i));
        b->SetAppearance(FProDropDown->FButtonAppearance);
        b->SetImages(FImages);
        if (i < items->Count()) {
            if (FIsFooter) {
                auto *item = static_cast<TFooterButton *>(items->Items(i));
                b->SetCaption(item->Caption());
                b->SetImageIndex(item->ImageIndex());
                b->SetEnabled(item->Enabled());
            } else {
                auto *item = static_cast<THeaderButton *>(items->Items(i));
                b->SetCaption(item->Caption());
                b->SetImageIndex(item->ImageIndex());
                b->SetEnabled(item->Enabled());
            }
        }
        // The strip's buttons keep the size of their contents.
        b->SizeToContent();
    }
    ArrangeButtons();
}

void TProDropDownStrip::Dispatch(TMessage &Message)
{
    TCustomControl::Dispatch(Message);
    if (Message.Msg == WM_SIZE)
        ArrangeButtons();
}

void TProDropDownStrip::Paint()
{
    TCanvas *c = Canvas();
    const TRect client = ClientRect();
    if (OnDrawBackGround) {
        OnDrawBackGround(this, c, client);
        return;
    }
    const TStripAppearance *a = FAppearance.get();
    // Background.
    if (a->ColorTo() == clNone) {
        if (a->Color() != clNone) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(a->Color());
            c->FillRect(client);
        }
    } else {
        DrawGradientSteps(c, a->Color(), a->ColorTo(), 80, client, a->GradientDirection() == gdHorizontal);
    }

    // Border: the line towards the hosted control always, the other sides only when the pop-up
    // draws no frame of its own.
    const int bw = a->BorderWidth();
    if (a->BorderColor() != clNone && bw > 0) {
        const bool frame = !FProDropDown || FProDropDown->FDropDownBorderWidth <= 0 ||
                           FProDropDown->FDropDownBorderColor == clNone;
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(a->BorderColor());
        const int w = client.Width(), h = client.Height();
        if (FIsFooter)
            c->FillRect(Rect(0, 0, w, bw));
        else
            c->FillRect(Rect(0, h - bw, w, h));
        TRect inner = client;
        if (FIsFooter)
            inner.Top += bw;
        else
            inner.Bottom -= bw;
        if (frame) {
            if (FIsFooter)
                c->FillRect(Rect(0, h - bw, w, h));
            else
                c->FillRect(Rect(0, 0, w, bw));
            c->FillRect(Rect(0, 0, bw, h));
            c->FillRect(Rect(w - bw, 0, w, h));
            // The highlight stays inside the frame.
            inner = Rect(bw, bw, w - bw, h - bw);
        }
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(BlendColor(a->BorderColor(), clWhite, 20));
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(inner);
        c->Brush()->SetStyle(bsSolid);
    }

    // Image and caption.
    TRect content = client;
    InflateRect(content, -bw, -bw);
    if (a->ImageIndex() >= 0 && FImages) {
        FImages->Draw(c, content.Left + 4, content.Top + (content.Height() - FImages->Height()) / 2, a->ImageIndex(),
                      true);
        content.Left += FImages->Width() + 8;
    }
    QString caption = a->Caption();
    if (OnGetText)
        OnGetText(this, caption);
    if (!caption.isEmpty()) {
        if (FButtonList->Count() > 0)
            content.Right = static_cast<TProButton *>(FButtonList->Items(FButtonList->Count() - 1))->Left() - 2;
        c->Font()->Assign(a->Font());
        c->Brush()->SetStyle(bsClear);
        TPoint size{0, 0};
        DrawHTMLCaption(c, caption, content, FImages, false, uintptr_t(Handle()), size);
        if (size.Y < content.Height())
            content.Top += (content.Height() - size.Y) / 2;
        DrawHTMLCaption(c, caption, content, FImages, true, uintptr_t(Handle()), size);
        c->Brush()->SetStyle(bsSolid);
    }

    // Size grip: six white dots, each with a shadow one pixel up and to the left.
    if (gripShown()) {
        const TRect g = Rect(client.Right - bw - 16, 1, client.Right - bw - 1, client.Bottom);
        static const TPoint dots[] = {{5, -4}, {9, -4}, {13, -4}, {13, -8}, {13, -12}, {9, -8}};
        c->Brush()->SetStyle(bsSolid);
        for (const TPoint &d : dots) {
            const int x = g.Left + d.X, y = g.Bottom + d.Y;
            c->Brush()->SetColor(a->BorderColor());
            c->FillRect(Rect(x - 1, y - 1, x + 1, y + 1));
            c->Brush()->SetColor(clWhite);
            c->FillRect(Rect(x, y, x + 2, y + 2));
        }
    }
}

// ---- TProHeader, TProFooter ------------------------------------------------------------------

TProHeader::TProHeader(TComponent *AOwner)
    : TProDropDownStrip(AOwner, std::make_unique<THeaderAppearance>(AOwner), false)
{
}

THeaderButtons *TProHeader::Buttons() const
{
    return FProDropDown ? FProDropDown->FDropDownHeader->Buttons() : nullptr;
}

TProFooter::TProFooter(TComponent *AOwner)
    : TProDropDownStrip(AOwner, std::make_unique<TFooterAppearance>(AOwner), true)
{
    // The footer follows changes of its copy's buttons; the header does not.
    FAppearance->OnButtonsChanged = [this](TObject *) { UpdateButtons(); };
}

TFooterButtons *TProFooter::Buttons() const
{
    return FProDropDown ? FProDropDown->FDropDownFooter->Buttons() : nullptr;
}

bool TProFooter::inGrip(int X, int Y) const { return X > Width() - 12 && Y > Height() - 15; }

void TProFooter::restoreCursor()
{
    if (Screen)
        Screen->SetCursor(FOldCursor);
}

void TProFooter::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        if (gripShown() && Screen && Screen->Cursor() != crSizeNWSE)
            FOldCursor = Screen->Cursor();
        break;
    case CM_MOUSELEAVE:
        if (gripShown())
            restoreCursor();
        break;
    default:
        break;
    }
    TProDropDownStrip::Dispatch(Message);
}

void TProFooter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TProDropDownStrip::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !gripShown() || !inGrip(X, Y))
        return;
    TCustomForm *popup = FProDropDown && FProDropDown->FDropDownForm ? FProDropDown->FDropDownForm : GetParentForm();
    if (!popup)
        return;
    // The pop-up sizes itself from here on, as from its own corner.
    SetMouseCapture(false);
    const TPoint p = ClientToScreen(Point(X, Y));
    SendMessage(popup->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MakeLParam(p.X, p.Y));
}

void TProFooter::MouseMove(TShiftState Shift, int X, int Y)
{
    TProDropDownStrip::MouseMove(Shift, X, Y);
    if (!gripShown())
        return;
    if (inGrip(X, Y)) {
        if (Screen)
            Screen->SetCursor(crSizeNWSE);
    } else {
        restoreCursor();
    }
}

void TProFooter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TProDropDownStrip::MouseUp(Button, Shift, X, Y);
    if (gripShown())
        restoreCursor();
}
