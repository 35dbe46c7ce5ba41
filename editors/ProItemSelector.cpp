// The item selector: its items, their look, the panel that lays them out and paints them, and the
// scrolling control around it.
#include "editors/ProDropDown.h"

#include "framework/controls/Forms.h"
#include "framework/rtl/SysUtils.h"
#include "grid/core/ProUtil.h"
#include "grid/core/PsgHTMLE.h"

#include <algorithm>

// ---- TSelectorItem ---------------------------------------------------------------------------

TSelectorItem::TSelectorItem(TCollection *Collection) : TCollectionItem(Collection), FImage(new TPicture) {}

TSelectorItem::~TSelectorItem()
{
    // Leaves the collection while whole, so that the re-layout it causes reads no dead item.
    SetCollection(nullptr);
    delete FImage;
}

void TSelectorItem::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TSelectorItem *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->FCaption);
    SetColor(s->FColor);
    SetImageIndex(s->FImageIndex);
    FImage->Assign(s->FImage);
    FEnabled = s->FEnabled;
    FHint = s->FHint;
}

void TSelectorItem::SetCaption(const QString &v)
{
    if (FCaption == v)
        return;
    FCaption = v;
    Changed(false);
}

void TSelectorItem::SetColor(TColor v)
{
    if (FColor == v)
        return;
    FColor = v;
    Changed(false);
}

void TSelectorItem::SetImageIndex(int32_t v)
{
    if (FImageIndex == v)
        return;
    FImageIndex = v;
    Changed(false);
}

// An item joins the collection before its own fields exist: the change it reports then waits
// until it is whole.
TSelectorItems::TSelectorItems(TPersistent *AOwner)
    : TCollection([](TCollection *c) -> TCollectionItem * {
          auto *items = static_cast<TSelectorItems *>(c);
          ++items->FCreating;
          TSelectorItem *item = nullptr;
          try {
              item = new TSelectorItem(c);
          } catch (...) {
              --items->FCreating;
              throw;
          }
          --items->FCreating;
          items->Update(item);
          return item;
      }),
      FMyOwner(AOwner)
{
}

void TSelectorItems::Update(TCollectionItem *)
{
    if (FCreating == 0 && OnChange)
        OnChange(this);
}

// ---- TItemAppearance -------------------------------------------------------------------------

TItemAppearance::TItemAppearance(TPersistent *AOwner) : FOwner(AOwner), FFont(new TFont)
{
    FFont->SetName(QStringLiteral("Tahoma"));
    SetColorStyle(scOffice2007);
    FColorSelectedText = clBlack;
    FColorHotText = clBlack;
    FBorderColorHot = clNone;
    FBorderColorSelected = clNone;
}

TItemAppearance::~TItemAppearance() { delete FFont; }

void TItemAppearance::SetColorStyle(TSelectionColorStyle Value)
{
    if (Value == FColorStyle)
        return;
    FColorStyle = Value;
    struct Preset
    {
        TColor hot, hotTo, mirrorHot, mirrorHotTo, top, bottom, border, edge, sel, selTo, mirrorSel, mirrorSelTo;
    };
    static const Preset presets[] = {
        {TColor(0xD7FFFD), TColor(0x58D4FC), TColor(0x58D4FC), TColor(0xB3F1FC), TColor(0xF4FEFF), TColor(0xCAF8FF),
         TColor(0x8DD7D3), TColor(0xC3D9DF), TColor(0xA6FFFB), TColor(0x04B9F4), TColor(0x15C1FB), TColor(0x68E3F9)},
        {TColor(0xFDF8F1), TColor(0xFCEFD5), clNone, clNone, TColor(0xFDFBF6), TColor(0xFDF5E7), TColor(0xFDDE99),
         TColor(0xFCEDCB), TColor(0xFAEEDE), TColor(0xFAE3B4), clNone, clNone},
        {TColor(0xFCEBDC), TColor(0xFCDBC1), clNone, clNone, TColor(0xFDF4EB), TColor(0xFDEADB), TColor(0xCEA27D),
         TColor(0xE0C5AE), TColor(0xF9D8B9), TColor(0xFBCAA2), clNone, clNone},
    };
    if (Value < scOffice2007 || Value > scWindows7)
        return;
    const Preset &p = presets[Value - scOffice2007];
    FColorHot = p.hot;
    FColorHotTo = p.hotTo;
    FColorMirrorHot = p.mirrorHot;
    FColorMirrorHotTo = p.mirrorHotTo;
    FBorderColorTop = p.top;
    FBorderColorBottom = p.bottom;
    FBorderColor = p.border;
    FEdgeColor = p.edge;
    FColorSelected = p.sel;
    FColorSelectedTo = p.selTo;
    FColorMirrorSelected = p.mirrorSel;
    FColorMirrorSelectedTo = p.mirrorSelTo;
    changed();
}

void TItemAppearance::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TItemAppearance *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FColorMirrorHotTo = s->FColorMirrorHotTo;
    FBorderColor = s->FBorderColor;
    FColorMirrorHot = s->FColorMirrorHot;
    FColorSelectedTo = s->FColorSelectedTo;
    FColorSelected = s->FColorSelected;
    FEdgeColor = s->FEdgeColor;
    FColorHotTo = s->FColorHotTo;
    FBorderColorBottom = s->FBorderColorBottom;
    FColorHot = s->FColorHot;
    FBorderColorTop = s->FBorderColorTop;
    FColorMirrorSelectedTo = s->FColorMirrorSelectedTo;
    FColorMirrorSelected = s->FColorMirrorSelected;
    FFont->Assign(s->FFont);
    SetColorStyle(s->FColorStyle);
    FColorSelectedText = s->FColorSelectedText;
    FBorderColorHot = s->FBorderColorHot;
    FBorderColorSelected = s->FBorderColorSelected;
    changed();
}

// ---- TCustomItemSelector ---------------------------------------------------------------------

TCustomItemSelector::TCustomItemSelector(TComponent *AOwner) : TCustomControl(AOwner)
{
    FProItemSelector = dynamic_cast<TProCustomItemSelector *>(AOwner);
    if (!FProItemSelector)
        throw Exception(QStringLiteral("Invalid parent"));
    SetParentColor(true);
}

int32_t TCustomItemSelector::Columns() const { return FProItemSelector->FColumns; }
TSelectorItems *TCustomItemSelector::Items() const { return FProItemSelector->FItems; }
TSelectorType TCustomItemSelector::SelectorType() const { return FProItemSelector->FSelectorType; }
TItemLayout TCustomItemSelector::ItemLayout() const { return FProItemSelector->FItemLayout; }
TCustomImageList *TCustomItemSelector::Images() const { return FProItemSelector->FImages; }
int32_t TCustomItemSelector::ColorBoxHeight() const { return FProItemSelector->FColorBoxHeight; }
int32_t TCustomItemSelector::ColorBoxWidth() const { return FProItemSelector->FColorBoxWidth; }
TSelectionColorStyle TCustomItemSelector::ItemColorStyle() const { return FProItemSelector->FItemAppearance->ColorStyle(); }
TColor TCustomItemSelector::ItemColorHot() const { return FProItemSelector->FItemAppearance->ColorHot(); }
TColor TCustomItemSelector::ItemColorHotTo() const { return FProItemSelector->FItemAppearance->ColorHotTo(); }
TColor TCustomItemSelector::ItemColorSelected() const { return FProItemSelector->FItemAppearance->ColorSelected(); }
TColor TCustomItemSelector::ItemColorSelectedTo() const { return FProItemSelector->FItemAppearance->ColorSelectedTo(); }

bool TCustomItemSelector::validIndex(int32_t Index) const
{
    return Items() && Index >= 0 && Index < Items()->Count();
}

void TCustomItemSelector::SetItemIndex(int32_t Value)
{
    if (validIndex(Value) && !Items()->Items(Value)->Enabled())
        return;
    if (Value >= 0 && !validIndex(Value))
        return;
    const int32_t old = FItemIndex;
    if (old >= 0 && old != Value) {
        FItemIndex = -1;
        InvalidateItem(old);
    }
    FItemIndex = Value;
    if (Value >= 0) {
        InvalidateItem(Value);
        if (OnItemSelect)
            OnItemSelect(this);
    }
}

void TCustomItemSelector::SetItemHot(int32_t Value)
{
    if (Value == FItemHot)
        return;
    if (validIndex(Value) && !Items()->Items(Value)->Enabled())
        return;
    const int32_t old = FItemHot;
    FItemHot = -1;
    if (old >= 0)
        InvalidateItem(old);
    FItemHot = validIndex(Value) ? Value : -1;
    if (FItemHot >= 0)
        InvalidateItem(FItemHot);
}

void TCustomItemSelector::SelectFirst()
{
    if (Items() && Items()->Count() > 0)
        SetItemIndex(0);
}

void TCustomItemSelector::SelectLast()
{
    if (Items() && Items()->Count() > 0)
        SetItemIndex(Items()->Count() - 1);
}

void TCustomItemSelector::SelectNext()
{
    if (!Items() || Items()->Count() == 0)
        return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex < Items()->Count() - 1)
        SetItemIndex(FItemIndex + 1);
}

void TCustomItemSelector::SelectPrevious()
{
    if (!Items() || Items()->Count() == 0)
        return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex > 0)
        SetItemIndex(FItemIndex - 1);
}

void TCustomItemSelector::HotNext()
{
    if (!Items() || Items()->Count() == 0)
        return;
    if (FItemHot < 0)
        SetItemHot(0);
    else if (FItemHot < Items()->Count() - 1)
        SetItemHot(FItemHot + 1);
}

void TCustomItemSelector::HotPrevious()
{
    if (!Items() || Items()->Count() == 0)
        return;
    if (FItemHot < 0)
        SetItemHot(0);
    else if (FItemHot > 0)
        SetItemHot(FItemHot - 1);
}

bool TCustomItemSelector::LookupItem(const QString &s)
{
    if (!Items())
        return false;
    for (int i = 0; i < Items()->Count(); ++i) {
        const QString plain = AnsiUpperCase(Trim(StripHTMLText(Items()->Items(i)->Caption())));
        if (plain.startsWith(s)) {
            SetItemIndex(i);
            return true;
        }
    }
    return false;
}

int32_t TCustomItemSelector::ItemAtPos(int X, int Y) const
{
    if (!Items())
        return -1;
    for (int i = 0; i < Items()->Count(); ++i)
        if (PtInRect(Items()->Items(i)->FRect, TPoint{X, Y}))
            return i;
    return -1;
}

void TCustomItemSelector::GetInnerRect(TRect &R)
{
    R = ClientRect();
    InflateRect(R, -FOffSetX, -FOffSetY);
}

void TCustomItemSelector::GetItemSize(TSize &ASize)
{
    if (FProItemSelector->OnItemSize) {
        FProItemSelector->OnItemSize(this, ASize);
        return;
    }
    int w = 0, h = 0;
    TSelectorItems *items = Items();
    if (SelectorType() == stColor) {
        w = ColorBoxWidth();
        h = ColorBoxHeight();
    } else if (items) {
        for (int i = 0; i < items->Count(); ++i) {
            TSelectorItem *it = items->Items(i);
            if (it->Image()->Graphic() && !it->Image()->Graphic()->Empty()) {
                w = std::max(w, it->Image()->Width());
                h = std::max(h, it->Image()->Height());
            } else if (Images() && it->ImageIndex() >= 0) {
                w = std::max(w, Images()->Width());
                h = std::max(h, Images()->Height());
            }
        }
    }
    int cw = 0, ch = 0;
    if (items) {
        Canvas()->Font()->Assign(FProItemSelector->FItemAppearance->Font());
        for (int i = 0; i < items->Count(); ++i) {
            TPoint size;
            DrawHTMLCaption(Canvas(), items->Items(i)->Caption(), Rect(0, 0, 1000, 500), Images(), false, 0, size);
            cw = std::max(cw, size.X);
            ch = std::max(ch, size.Y);
        }
    }
    if (cw > 0)
        cw += 4;
    switch (ItemLayout()) {
    case ilCaptionLeft:
    case ilCaptionRight:
        ASize.cx = 2 * FItemOffSetX + (w > 0 ? w : 0) + (w > 0 && cw > 0 ? FCaptionGap : 0) + cw;
        ASize.cy = std::max(ch, h) + 2 * FItemOffSetY;
        break;
    case ilCaptionTop:
    case ilCaptionBottom:
        ASize.cx = std::max(cw, w) + 2 * FItemOffSetX;
        ASize.cy = 2 * FItemOffSetY + (h > 0 ? h : 0) + (h > 0 && ch > 0 ? FCaptionGap : 0) + ch;
        break;
    }
}

void TCustomItemSelector::InvalidateItem(int32_t Index)
{
    if (validIndex(Index))
        Invalidate();
}

void TCustomItemSelector::UpdateLayout()
{
    TSelectorItems *items = Items();
    if (!items || items->Count() == 0) {
        SetBounds(Left(), Top(), 100, 50);
        return;
    }
    FItemHot = -1;
    TSize size{0, 0};
    GetItemSize(size);
    TRect inner;
    GetInnerRect(inner);
    const int x0 = inner.Left, y0 = inner.Top, w = size.cx, h = size.cy;
    const int columns = std::max(1, Columns());
    int x = x0, y = y0, column = 0, widest = x0;
    for (int i = 0; i < items->Count(); ++i) {
        items->Items(i)->FRect = Rect(x, y, x + w, y + h);
        widest = std::max(widest, x);
        if (i == items->Count() - 1)
            break;
        if (++column < columns) {
            x += w;
        } else {
            column = 0;
            y += h;
            x = x0;
        }
    }
    SetBounds(Left(), Top(), widest + w + x0, y + h + y0);
    Invalidate();
}

void TCustomItemSelector::Paint()
{
    if (!Items())
        return;
    for (int i = 0; i < Items()->Count(); ++i)
        DrawItem(i, Canvas());
}

void TCustomItemSelector::DrawItem(int32_t Index, TCanvas *ACanvas)
{
    if (!validIndex(Index) || !ACanvas || !FProItemSelector)
        return;
    TSelectorItem *item = Items()->Items(Index);
    TRect r = item->FRect;
    if (r.Left < 0 && r.Right < 0)
        return;
    TItemAppearance *look = FProItemSelector->FItemAppearance;
    const bool hot = Index == FItemHot, selected = Index == FItemIndex;
    TColor c1 = clNone, c2 = clNone, mirror = clNone, mirrorTo = clNone;
    TColor border = look->BorderColor(), top = look->BorderColorTop(), bottom = look->BorderColorBottom(),
           edge = look->EdgeColor();
    if (hot) {
        c1 = look->ColorHot();
        c2 = look->ColorHotTo();
        mirror = look->ColorMirrorHot();
        mirrorTo = look->ColorMirrorHotTo();
    }
    if (selected) {
        c1 = look->ColorSelected();
        c2 = look->ColorSelectedTo();
        mirror = look->ColorMirrorSelected();
        mirrorTo = look->ColorMirrorSelectedTo();
    }
    const TColor own = selected ? look->BorderColorSelected() : hot ? look->BorderColorHot() : clNone;
    if ((hot || selected) && own != clNone) {
        border = own;
        top = bottom = edge = clNone;
    }
    if (!hot && !selected) {
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(Color());
        ACanvas->FillRect(r);
    } else if (top == clNone) {
        DrawGradientBox(ACanvas, r, c1, c2, border, 1, gdVertical);
    } else {
        DrawRoundedSelectionShape(ACanvas, c1, c2, 0, r, Color(), edge, top, bottom, border, mirrorTo, mirror);
    }
    if (FProItemSelector->OnDrawItem) {
        FProItemSelector->OnDrawItem(this, ACanvas, r, Index);
        return;
    }

    // The content: colour box, picture or image of the list.
    int w = 0, h = 0;
    const bool picture = item->Image()->Graphic() && !item->Image()->Graphic()->Empty();
    const bool listImage = !picture && Images() && item->ImageIndex() >= 0;
    if (SelectorType() == stColor) {
        w = ColorBoxWidth();
        h = ColorBoxHeight();
    } else if (picture) {
        w = item->Image()->Width();
        h = item->Image()->Height();
    } else if (listImage) {
        w = Images()->Width();
        h = Images()->Height();
    }
    TRect content = r;
    InflateRect(content, -FItemOffSetX, -FItemOffSetY);
    ACanvas->Font()->Assign(look->Font());
    if (hot)
        ACanvas->Font()->SetColor(look->ColorHotText());
    if (selected)
        ACanvas->Font()->SetColor(look->ColorSelectedText());
    ACanvas->Brush()->SetStyle(bsClear);

    const QString caption = item->Caption();
    auto drawCaption = [&](TRect area, bool centred) {
        if (caption.isEmpty())
            return TPoint{0, 0};
        TPoint size;
        if (centred) {
            DrawHTMLCaption(ACanvas, caption, area, Images(), false, 0, size);
            if (size.Y < content.Height())
                area.Top += (content.Height() - size.Y) / 2;
        }
        ACanvas->Brush()->SetStyle(bsClear);
        DrawHTMLCaption(ACanvas, caption, area, Images(), true, 0, size);
        return size;
    };
    // Draws the content at (x, y); the box's top-left, else the picture or image.
    auto drawContent = [&](int x, int y, bool centreVertically) {
        if (SelectorType() == stColor) {
            ACanvas->Pen()->SetStyle(psSolid);
            ACanvas->Pen()->SetColor(clBlack);
            ACanvas->Brush()->SetStyle(bsSolid);
            ACanvas->Brush()->SetColor(item->Color());
            ACanvas->Rectangle(x, y, x + w, y + h);
            ACanvas->Brush()->SetStyle(bsClear);
            return;
        }
        if (centreVertically)
            y = content.Top + (content.Height() - h) / 2;
        if (picture)
            ACanvas->Draw(x, y, item->Image()->Graphic());
        else if (listImage)
            Images()->Draw(ACanvas, x, y, item->ImageIndex(), Enabled());
    };

    switch (ItemLayout()) {
    case ilCaptionLeft:
        if (!caption.isEmpty()) {
            TRect area = content;
            area.Right -= w;
            TPoint size;
            DrawHTMLCaption(ACanvas, caption, area, Images(), false, 0, size);
            drawCaption(area, true);
            content.Left = area.Left + size.X + FCaptionGap;
        }
        drawContent(content.Left, content.Top, true);
        break;
    case ilCaptionRight: {
        drawContent(content.Left, content.Top, true);
        TRect area = content;
        area.Left = content.Left + w + FCaptionGap;
        drawCaption(area, true);
        break;
    }
    case ilCaptionTop:
        if (!caption.isEmpty()) {
            TRect area = content;
            area.Bottom -= h;
            const TPoint size = drawCaption(area, false);
            content.Top = area.Top + size.Y + FCaptionGap;
        } else {
            content.Top += (content.Height() - h) / 2;
        }
        content.Left += (content.Width() - w) / 2;
        drawContent(content.Left, content.Top, false);
        break;
    case ilCaptionBottom: {
        if (caption.isEmpty())
            content.Top += (content.Height() - h) / 2;
        content.Left += (content.Width() - w) / 2;
        drawContent(content.Left, content.Top, false);
        TRect area = content;
        area.Top = content.Top + h + FCaptionGap;
        drawCaption(area, false);
        break;
    }
    }
}

void TCustomItemSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const int32_t i = ItemAtPos(X, Y);
    if (i >= 0 && Items()->Items(i)->Enabled())
        SetItemIndex(i);
}

void TCustomItemSelector::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    const int32_t i = ItemAtPos(X, Y);
    if (i < 0) {
        SetItemHot(-1);
        return;
    }
    TSelectorItem *item = Items()->Items(i);
    SetItemHot(item->Enabled() ? i : -1);
    // The next hint shows this item's text.
    if (Hint() != item->Hint()) {
        SetHint(item->Hint());
        Application->HideHint();
    }
}

bool TCustomItemSelector::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    return FProItemSelector->DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TCustomItemSelector::MouseLeave()
{
    TCustomControl::MouseLeave();
    SetItemHot(-1);
}

// ---- TProCustomItemSelector ------------------------------------------------------------------

TProCustomItemSelector::TProCustomItemSelector(TComponent *AOwner) : TScrollingWinControl(AOwner)
{
    FItems = new TSelectorItems(this);
    FItems->OnChange = [this](TObject *) { UpdateSelectorPanel(); };
    FItemAppearance = new TItemAppearance(this);
    FItemAppearance->OnChange = [](TObject *) {};
    SetAutoScroll(true);
    FItemSelectorPanel = new TCustomItemSelector(this);
    FItemSelectorPanel->SetParent(this);
    FItemSelectorPanel->OnItemSelect = [this](TObject *) {
        if (OnItemSelect)
            OnItemSelect(this);
    };
    UpdateSelectorPanel();
}

TProCustomItemSelector::~TProCustomItemSelector()
{
    FItems->OnChange = nullptr;
    if (FItemSelectorPanel) {
        TCustomItemSelector *p = FItemSelectorPanel;
        FItemSelectorPanel = nullptr;
        delete p;
    }
    delete FItems;
    FItems = nullptr;
    delete FItemAppearance;
}

void TProCustomItemSelector::SetColumns(int32_t v)
{
    if (v <= 0 || v == FColumns)
        return;
    FColumns = v;
    UpdateSelectorPanel();
}

int32_t TProCustomItemSelector::ItemIndex() const { return FItemSelectorPanel ? FItemSelectorPanel->ItemIndex() : -1; }

void TProCustomItemSelector::SetItemIndex(int32_t v)
{
    if (!FItemSelectorPanel)
        return;
    FItemSelectorPanel->SetItemIndex(v);
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

int32_t TProCustomItemSelector::ItemHot() const { return FItemSelectorPanel ? FItemSelectorPanel->ItemHot() : -1; }

void TProCustomItemSelector::SetSelectorType(TSelectorType v)
{
    if (v == FSelectorType)
        return;
    FSelectorType = v;
    UpdateSelectorPanel();
}

void TProCustomItemSelector::SetImages(TCustomImageList *v)
{
    if (v == FImages)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = v;
    if (v)
        v->FreeNotification(this);
    UpdateSelectorPanel();
}

void TProCustomItemSelector::SetColorBoxHeight(int32_t v)
{
    if (v == FColorBoxHeight)
        return;
    FColorBoxHeight = v;
    UpdateSelectorPanel();
}

void TProCustomItemSelector::SetColorBoxWidth(int32_t v)
{
    if (v == FColorBoxWidth)
        return;
    FColorBoxWidth = v;
    UpdateSelectorPanel();
}

void TProCustomItemSelector::Notification(TComponent *AComponent, TOperation Operation)
{
    TScrollingWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages && !ComponentState().Contains(csDestroying))
        FImages = nullptr;
    if (Operation == opRemove && AComponent == FItemSelectorPanel)
        FItemSelectorPanel = nullptr;
}

#define TARVIX_FORWARD(Name, Index) \
    void TProCustomItemSelector::Name() \
    { \
        if (!FItemSelectorPanel) \
            return; \
        FItemSelectorPanel->Name(); \
        ScrollItemInView(FItemSelectorPanel->Index()); \
    }
TARVIX_FORWARD(SelectFirst, ItemIndex)
TARVIX_FORWARD(SelectLast, ItemIndex)
TARVIX_FORWARD(SelectNext, ItemIndex)
TARVIX_FORWARD(SelectPrevious, ItemIndex)
TARVIX_FORWARD(HotNext, ItemHot)
TARVIX_FORWARD(HotPrevious, ItemHot)
#undef TARVIX_FORWARD

bool TProCustomItemSelector::LookupItem(const QString &s)
{
    if (!FItemSelectorPanel)
        return false;
    const bool found = FItemSelectorPanel->LookupItem(s);
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
    return found;
}

void TProCustomItemSelector::UpdateSelectorPanel()
{
    if (FItemSelectorPanel)
        FItemSelectorPanel->UpdateLayout();
}

void TProCustomItemSelector::ScrollItemInView(int32_t Index)
{
    if (!FItemSelectorPanel || !FItems || Index < 0 || Index >= FItems->Count() || !VertScrollBar()->IsScrollBarVisible())
        return;
    TRect r = FItems->Items(Index)->ItemRect();
    r.Top -= VertScrollBar()->Margin();
    r.Bottom += VertScrollBar()->Margin();
    // Into the selector's client coordinates.
    const int top = FItemSelectorPanel->Top() + r.Top;
    const int bottom = FItemSelectorPanel->Top() + r.Bottom;
    if (top < 0)
        VertScrollBar()->SetPosition(VertScrollBar()->Position() + top);
    else if (bottom > ClientHeight())
        VertScrollBar()->SetPosition(VertScrollBar()->Position() + std::min(bottom - ClientHeight(), top));
}

int32_t TProCustomItemSelector::GetVisibleItemCount()
{
    if (!FItemSelectorPanel || !FItems || FItems->Count() == 0)
        return 0;
    const int itemHeight = FItems->Items(0)->ItemRect().Height();
    if (itemHeight <= 0)
        return 0;
    const int h = Height() - (HorzScrollBar()->IsScrollBarVisible() ? 20 : 0);
    return h / itemHeight * FColumns;
}

void TProCustomItemSelector::GetPanelSize(TSize &Size)
{
    if (!FItemSelectorPanel) {
        Size = TSize{100, 50};
        return;
    }
    Size = TSize{FItemSelectorPanel->Width(), FItemSelectorPanel->Height()};
}

void TProCustomItemSelector::WMVScroll(TMessage &Message)
{
    // The view follows a dragged thumb at once.
    if (Message.WParamLo() == SB_THUMBTRACK) {
        VertScrollBar()->SetPosition(int(Message.WParamHi()));
        return;
    }
    TScrollingWinControl::WMVScroll(Message);
}

void TProCustomItemSelector::Dispatch(TMessage &Message) { TScrollingWinControl::Dispatch(Message); }
