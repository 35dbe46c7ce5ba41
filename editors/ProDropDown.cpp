#include "editors/ProDropDown.h"
#include "editors/ProButton.h"
#include "editors/ProDropDownStrips.h"

#include "framework/controls/SysMetrics.h"
#include "framework/graphics/Themes.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "grid/core/PsgHTMLE.h"

#include <QImage>
#include <algorithm>
#include <iterator>
#include <vector>

// ---- Drawing helpers -------------------------------------------------------------------------

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

TColor BlendColor(TColor Color1, TColor Color2, int32_t Percent)
{
    if (Percent >= 100)
        return Color1;
    if (Percent <= 0)
        return Color2;
    const TColorRef a = ColorToRGB(Color1), b = ColorToRGB(Color2);
    const double p = Percent / 100.0;
    auto mix = [p](int c1, int c2) { return uint8_t(Round(p * c1 + (1 - p) * c2)); };
    return TColor(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b))));
}

TColor AdjustColorPercent(TColor Color, int32_t RPercent, int32_t GPercent, int32_t BPercent)
{
    const TColorRef c = ColorToRGB(Color);
    auto adjust = [](int v, int32_t d) -> uint8_t {
        if (v == 0)
            return uint8_t(std::clamp<int32_t>(d, 0, 255));
        const int64_t m = std::min<int32_t>(100, 100 + d);
        return uint8_t(std::clamp<int64_t>(Round(double(v * m) / 100.0), 0, 255));
    };
    return TColor(RGB(adjust(GetRValue(c), RPercent), adjust(GetGValue(c), GPercent), adjust(GetBValue(c), BPercent)));
}

void DrawGradientBox(TCanvas *Canvas, TRect R, TColor FromColor, TColor ToColor, TColor BorderColor, int32_t PenWidth,
                     TGradientDirection Direction)
{
    if (!Canvas)
        return;
    if (ToColor != clNone) {
        DrawGradientSteps(Canvas, FromColor, ToColor, 80, R, Direction == gdHorizontal);
    } else if (FromColor != clNone) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(FromColor);
        Canvas->FillRect(R);
    }
    if (BorderColor != clNone && PenWidth > 0) {
        Canvas->Brush()->SetStyle(bsClear);
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetWidth(PenWidth);
        Canvas->Pen()->SetColor(BorderColor);
        Canvas->Rectangle(R);
        Canvas->Brush()->SetStyle(bsSolid);
    }
}

void DrawImageAndText(TCanvas *Canvas, TRect R, const QString &Text, TCustomImageList *Images, int32_t ImageIndex)
{
    if (!Canvas)
        return;
    const bool image = ImageIndex >= 0 && Images;
    if (image) {
        Images->Draw(Canvas, R.Left + 4, R.Top + (R.Height() - Images->Height()) / 2, ImageIndex, true);
        R.Left += Images->Width() + 8;
    }
    Canvas->DrawText(Text, R, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | (image ? DT_LEFT : DT_CENTER));
}

void DrawTransparentGlyph(TCanvas *Canvas, TBitmap *Glyph, TColor BackColor, TRect R)
{
    if (!Canvas || !Glyph || Glyph->Empty())
        return;
    QImage img = Glyph->ToImage().convertToFormat(QImage::Format_RGB32);
    const QRgb key = img.pixel(0, 0) & 0xFFFFFF;
    const TColorRef back = ColorToRGB(BackColor);
    const QRgb with = qRgb(GetRValue(back), GetGValue(back), GetBValue(back));
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = with;
    }
    TBitmap tmp;
    tmp.SetImage(img);
    Canvas->StretchDraw(R, &tmp);
}

void GetTextExtent(TCanvas *Canvas, const QString &Text, TSize &Size)
{
    Size = TSize{0, 0};
    if (!Canvas || Text.isEmpty())
        return;
    TRect r = Rect(0, 0, 1000, 500);
    Canvas->DrawText(Text, r, DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
    Size = TSize{r.Width(), r.Height()};
}

QString TruncateText(TCanvas *Canvas, const QString &Text, int32_t MaxWidth, bool Ellipsis)
{
    if (!Canvas || Canvas->TextWidth(Text) <= MaxWidth)
        return Text;
    QString s = Text;
    while (!s.isEmpty()) {
        s.chop(1);
        const QString candidate = Ellipsis ? s + QStringLiteral("...") : s;
        if (Canvas->TextWidth(candidate) < MaxWidth)
            return candidate;
    }
    return Text;
}

void DrawHTMLCaption(TCanvas *Canvas, const QString &HTML, TRect R, TCustomImageList *Images, bool Draw,
                     uintptr_t WindowHandle, TPoint &Size)
{
    Size = TPoint{0, 0};
    if (!Canvas || HTML.isEmpty())
        return;
    QString anchor, strip, focusAnchor, title, controlID, controlValue, controlType;
    int32_t xs = 0, ys = 0, links = 0, mouseLink = 0;
    TRect hoverRect, controlRect;
    DrawHTMLText(Canvas, HTML, R, Images, -1, -1, -1, -1, 1, false, !Draw, false, false, false, false, true, false, 1.0,
                 clBlue, clNone, clNone, 0x808080, anchor, strip, focusAnchor, title, xs, ys, links, mouseLink, hoverRect,
                 controlRect, controlID, controlValue, controlType, nullptr, nullptr, WindowHandle, bdLeftToRight);
    Size = TPoint{xs, ys};
}

// ---- TDropDownForm ---------------------------------------------------------------------------

TDropDownForm::TDropDownForm(TComponent *AOwner, int32_t) : TForm(AOwner)
{
    // Stays above the other windows.
    SetFormStyle(fsStayOnTop);
}

int32_t TDropDownForm::borderWidth() const
{
    return FProDropDown ? std::max(FProDropDown->FDropDownBorderWidth, 0) : 0;
}

void TDropDownForm::InitializeAndUpdate()
{
    TProCustomDropDown *dd = FProDropDown;
    if (!dd)
        return;
    // A strip is made the first time its settings are visible at an update, then kept.
    if (THeaderAppearance *a = dd->FDropDownHeader) {
        if (FHeader) {
            FHeader->SetProDropDown(dd);
            // A height set since the strip was made applies too.
            FHeader->SetHeight(a->Height());
            FHeader->RefreshButtons();
            FHeader->SetVisible(a->Visible());
        } else if (a->Visible()) {
            FHeader = new TProHeader(this);
            FHeader->SetParent(this);
            FHeader->SetHeight(a->Height());
            FHeader->SetProDropDown(dd);
            FHeader->RefreshButtons();
            FHeader->SetAlign(alTop);
        }
        if (FHeader) {
            FHeader->OnDrawBackGround = dd->OnDrawHeader;
            FHeader->OnGetText = dd->OnGetHeaderText;
            FHeader->Invalidate();
        }
    }
    if (TFooterAppearance *a = dd->FDropDownFooter) {
        if (FFooter) {
            FFooter->SetProDropDown(dd);
            FFooter->SetHeight(a->Height());
            FFooter->RefreshButtons();
            FFooter->SetVisible(a->Visible());
        } else if (a->Visible()) {
            FFooter = new TProFooter(this);
            FFooter->SetParent(this);
            FFooter->SetHeight(a->Height());
            FFooter->SetProDropDown(dd);
            FFooter->RefreshButtons();
            FFooter->SetAlign(alBottom);
        }
        if (FFooter) {
            FFooter->OnDrawBackGround = dd->OnDrawFooter;
            FFooter->OnGetText = dd->OnGetFooterText;
            FFooter->Invalidate();
        }
    }
}

void TDropDownForm::AdjustClientRect(TRect &Rect) const
{
    TForm::AdjustClientRect(Rect);
    const int32_t b = borderWidth();
    InflateRect(Rect, -b, -b);
}

void TDropDownForm::SetVisible(bool v)
{
    // The window belongs to the one of the edit: it stays above it.
    if (v && FProDropDown)
        if (TCustomForm *f = FProDropDown->GetParentForm())
            SetWndParent(f->Handle());
    TForm::SetVisible(v);
}

void TDropDownForm::Dispatch(TMessage &Message)
{
    TForm::Dispatch(Message);
    switch (Message.Msg) {
    case WM_NCHITTEST:
        if (FSizeable) {
            const TPoint p = ScreenToClient(Message.Pos());
            if (p.X > Width() - 10 && p.Y > Height() - 10)
                Message.Result = HTBOTTOMRIGHT;
        }
        break;
    case WM_SIZING:
        if (OnSizing)
            OnSizing(this);
        break;
    case WM_SIZE:
        Invalidate();
        break;
    default:
        break;
    }
}

void TDropDownForm::WMPaint(TMessage &Message)
{
    TForm::WMPaint(Message);
    if (!FProDropDown)
        return;
    TControlCanvas canvas(this);
    if (!canvas.Painter())
        return;
    const TProCustomDropDown *dd = FProDropDown;
    const int32_t b = borderWidth();
    const TRect client = ClientRect();
    TRect r = client;
    InflateRect(r, -b, -b);
    if (dd->FDropDownColor != clNone && dd->FDropDownColorTo != clNone) {
        DrawGradientSteps(&canvas, dd->FDropDownColor, dd->FDropDownColorTo, 80, r, dd->FDropDownGradient == gdHorizontal);
    } else if (dd->FDropDownColor != clNone) {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(dd->FDropDownColor);
        canvas.FillRect(r);
    }
    if (b > 0 && dd->FDropDownBorderColor != clNone) {
        canvas.Brush()->SetStyle(bsClear);
        canvas.Pen()->SetStyle(psSolid);
        canvas.Pen()->SetWidth(b);
        canvas.Pen()->SetColor(dd->FDropDownBorderColor);
        canvas.Rectangle(client.Left + b / 2, client.Top + b / 2, client.Right, client.Bottom);
    }
}

void TDropDownForm::WMActivate(TMessage &Message)
{
    TForm::WMActivate(Message);
    if (FBlockActivate)
        return;
    if (Message.WParamLo() != WA_INACTIVE) {
        // The window of the edit keeps its active look while the pop-up has the focus.
        if (auto *owner = dynamic_cast<TControl *>(Owner())) {
            TControl *top = owner;
            while (top->Parent())
                top = top->Parent();
            if (auto *w = dynamic_cast<TWinControl *>(top))
                SendMessage(w->Handle(), WM_NCACTIVATE, 1, 0);
        }
        return;
    }
    if (!Visible())
        return;
    FDeActivate = GetTickCount();
    // A window that belongs to the pop-up (a dialog opened from it) leaves it open.
    for (HWND h = HWND(Message.LParam); h; h = GetParent(h))
        if (h == Handle())
            return;
    if (FProDropDown)
        FProDropDown->HideDropDown(FCancelOnDeActivate);
    else
        Hide();
}

// ---- TProDropDownSpeedButton -----------------------------------------------------------------

TProDropDownSpeedButton::TProDropDownSpeedButton(TComponent *AOwner) : TSpeedButton(AOwner)
{
    FIsWinXP = (CommonControlsVersion() >> 16) > 5;
}

void TProDropDownSpeedButton::SetEtched(bool v)
{
    if (v == FEtched)
        return;
    FEtched = v;
    Invalidate();
}

void TProDropDownSpeedButton::SetFocused(bool v)
{
    if (v == FFocused)
        return;
    FFocused = v;
    Invalidate();
}

void TProDropDownSpeedButton::SetButtonStyle(TButtonStyle v)
{
    if (v == FButtonStyle)
        return;
    FButtonStyle = v;
    Invalidate();
}

void TProDropDownSpeedButton::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        FHot = true;
        Invalidate();
        break;
    case CM_MOUSELEAVE:
        FHot = false;
        Invalidate();
        break;
    default:
        break;
    }
    TSpeedButton::Dispatch(Message);
}

TProCustomDropDown *TProDropDownSpeedButton::edit() const
{
    auto *container = dynamic_cast<TDropDownEditButton *>(Parent());
    if (!container)
        return nullptr;
    if (auto *e = dynamic_cast<TProCustomDropDown *>(container->FocusControl()))
        return e;
    return dynamic_cast<TProCustomDropDown *>(container->Parent());
}

int TProDropDownSpeedButton::themeState(bool Enabled) const
{
    if (!Enabled)
        return 4;
    if (state_ == bsDown && !FUp)
        return 3;
    if (FHot)
        return 2;
    return 1;
}

void TProDropDownSpeedButton::Paint()
{
    if (FButtonStyle == bsDropDown)
        paintDropDown();
    else
        paintButton();
}

void TProDropDownSpeedButton::paintDropDown()
{
    TCanvas *c = Canvas();
    const TRect r = ClientRect();
    auto *container = dynamic_cast<TDropDownEditButton *>(Parent());
    TProCustomDropDown *e = edit();
    const bool down = state_ == bsDown && !FUp;
    const std::vector<TPoint> arrow{Point(5, 7), Point(11, 7), Point(8, 10)};

    if (!container || container->FButtonColor == clNone) {
        if (!Glyph()->Empty()) {
            c->Brush()->SetStyle(bsSolid);
            c->Brush()->SetColor(clBtnFace);
            c->Pen()->SetColor(TColor(0x808080));
            c->Rectangle(r);
            TBitmap g;
            g.Assign(Glyph());
            g.SetTransparent(true);
            c->Draw(0, 0, &g);
            return;
        }
        // The button looks enabled only while the edit can open.
        const bool enabled = Enabled() && (!e || (e->Enabled() && !e->ReadOnly()));
        if (FIsWinXP && IsThemeActive()) {
            TRect tr = r;
            if (IsVistaOrLater()) {
                tr.Left += 1;
            } else {
                InflateRect(tr, 1, 1);
                tr.Left += 2;
            }
            const HTHEME theme = OpenThemeData(0, QStringLiteral("combobox"));
            DrawThemeBackground(theme, c, 1, themeState(enabled), tr);
            CloseThemeData(theme);
            return;
        }
        TSpeedButton::Paint();
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(clBtnFace);
        c->MoveTo(Width() - 2, 0);
        c->LineTo(0, 0);
        c->LineTo(0, Height() - 1);
        c->Pen()->SetColor(clWhite);
        c->MoveTo(Width() - 3, 1);
        c->LineTo(1, 1);
        c->LineTo(1, Height() - 2);
        c->Pen()->SetColor(clBlack);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(enabled ? clBlack : clGray);
        c->Polygon(arrow);
        return;
    }

    TColor fill = container->FButtonColor, text = container->FButtonTextColor;
    if (FHot) {
        fill = container->FButtonColorHot;
        text = container->FButtonTextColorHot;
    }
    if (down) {
        fill = container->FButtonColorDown;
        text = container->FButtonTextColorDown;
    }
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(fill);
    c->FillRect(r);
    if (e && e->FBorderColor != clNone) {
        c->Pen()->SetStyle(psSolid);
        c->Pen()->SetWidth(1);
        c->Pen()->SetColor(e->FBorderColor);
        c->MoveTo(0, 0);
        c->LineTo(0, Height());
    }
    c->Pen()->SetColor(text);
    c->Brush()->SetColor(text);
    c->Polygon(arrow);
}

void TProDropDownSpeedButton::paintButton()
{
    TCanvas *c = Canvas();
    const TRect r = ClientRect();
    TProCustomDropDown *e = edit();
    if (e)
        c->Font()->Assign(e->Font());
    const bool down = state_ == bsDown && !FUp;
    const int shift = down ? 1 : 0;
    const QString caption = Caption();
    TBitmap *glyph = Glyph();

    if (FIsWinXP && IsThemeActive()) {
        c->FillRect(r);
        const HTHEME theme = OpenThemeData(0, QStringLiteral("button"));
        DrawThemeBackground(theme, c, 1, themeState(Enabled()), Rect(0, 0, Width() + 1, Height() + 1));
        CloseThemeData(theme);
        TRect in = r;
        InflateRect(in, -2, -2);
        int gw = 0;
        if (!glyph->Empty()) {
            gw = glyph->Width();
            int x = in.Left, y = in.Top;
            if (!caption.isEmpty())
                x = in.Left + 2;
            else if (gw < in.Width())
                x = in.Left + (in.Width() - gw) / 2;
            if (glyph->Height() < in.Height())
                y = in.Top + (in.Height() - glyph->Height()) / 2;
            TBitmap g;
            g.Assign(glyph);
            g.SetTransparent(true);
            c->Draw(x + shift, y + shift, &g);
        }
        if (!caption.isEmpty()) {
            c->Brush()->SetStyle(bsClear);
            if (glyph->Empty()) {
                TRect tr = r;
                InflateRect(tr, -3, -1);
                OffsetRect(tr, shift, shift);
                c->DrawText(caption, tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            } else {
                TRect tr = r;
                InflateRect(tr, -2, -2);
                tr.Left += 2 + gw + 2;
                OffsetRect(tr, shift, shift - 1);
                c->DrawText(caption, tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            }
            c->Brush()->SetStyle(bsSolid);
        }
        return;
    }
    if (e && e->FFlat) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(r);
        TRect er = Rect(r.Left, r.Top, r.Right + 1, r.Bottom + 1);
        c->DrawEdge(er, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (down ? BF_FLAT : 0));
        if (!glyph->Empty()) {
            TRect gr = r;
            InflateRect(gr, -3, -3);
            OffsetRect(gr, shift, shift);
            gr = Bounds(gr.Left, gr.Top, std::min(gr.Width(), glyph->Width()), std::min(gr.Height(), glyph->Height()));
            DrawTransparentGlyph(c, glyph, clBtnFace, gr);
        }
        if (!caption.isEmpty()) {
            TRect tr = r;
            InflateRect(tr, -3, -1);
            c->Brush()->SetStyle(bsClear);
            c->DrawText(caption, tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            c->Brush()->SetStyle(bsSolid);
        }
        return;
    }
    TSpeedButton::Paint();
}

// ---- TDropDownEditButton ---------------------------------------------------------------------

TDropDownEditButton::TDropDownEditButton(TComponent *AOwner) : TWinControl(AOwner, nullptr)
{
    SetControlStyle(ControlStyle() - csAcceptsControls - csSetCaption + csOpaque);
    FButton = new TProDropDownSpeedButton(this);
    FButton->SetParent(this);
    FButton->SetVisible(true);
    FButton->SetButtonStyle(bsDropDown);
    // The arrow opens on the release of the left button, wherever it is released.
    FButton->OnClick = nullptr;
    FButton->OnMouseUp = [this](TObject *, TMouseButton Button, TShiftState, int, int) {
        if (Button == mbLeft && OnClick)
            OnClick(this);
    };
    SetBounds(Left(), Top(), 16, 25);
}

TBitmap *TDropDownEditButton::Glyph() const { return FButton->Glyph(); }

void TDropDownEditButton::SetGlyph(TBitmap *v)
{
    if (v)
        FButton->SetGlyph(v);
    else
        FButton->Glyph()->SetSize(0, 0);
    FButton->Invalidate();
}

QString TDropDownEditButton::ButtonCaption() const { return FButton->Caption(); }

void TDropDownEditButton::SetButtonCaption(const QString &v) { FButton->SetCaption(v); }

int TDropDownEditButton::NumGlyphs() const { return FButton->NumGlyphs(); }

void TDropDownEditButton::SetNumGlyphs(int v) { FButton->SetNumGlyphs(v); }

void TDropDownEditButton::SetFocusControl(TWinControl *v)
{
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v)
        v->FreeNotification(this);
}

void TDropDownEditButton::SetButtonWidth(int v)
{
    FBWidth = v;
    SetBounds(Left(), Top(), v, Height());
}

void TDropDownEditButton::invalidateButton()
{
    if (FButton)
        FButton->Invalidate();
}

void TDropDownEditButton::adjustWinSize(int &W, int &H)
{
    if (!FButton)
        return;
    W = FBWidth;
    FButton->SetBounds(0, 0, FBWidth, H);
}

void TDropDownEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    adjustWinSize(AWidth, AHeight);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TDropDownEditButton::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_SIZE: {
        int w = Width(), h = Height();
        adjustWinSize(w, h);
        if (w != Width() || h != Height())
            TWinControl::SetBounds(Left(), Top(), w, h);
        Message.Result = 0;
        return;
    }
    case CM_ENABLEDCHANGED:
        if (FButton && !ComponentState().Contains(csDesigning))
            FButton->SetEnabled(Enabled());
        break;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}

void TDropDownEditButton::Notification(TComponent *AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

// ---- TProCustomDropDown ----------------------------------------------------------------------

TProCustomDropDown::TProCustomDropDown(TComponent *AOwner) : TCustomMaskEdit(AOwner)
{
    FIsWinXP = Win32MajorVersion() > 5 || (Win32MajorVersion() == 5 && Win32MinorVersion() >= 1);
    FIsThemed = (CommonControlsVersion() >> 16) > 5;
    SetBounds(Left(), Top(), 200, 21);
    SetReadOnly(false);
    SetControlStyle(ControlStyle() - csSetCaption);
    TProCustomDropDown::SetText(QString());
    FLabelFont = new TFont;
    FLabelFont->OnChange = [this](TObject *) {
        if (!FLabel)
            return;
        updateLabel();
        if (isDesigning() && !isLoading())
            SetParentFont(false);
    };
    FDropDownHeader = new THeaderAppearance(this);
    FButtonAppearance = new TProButtonAppearance;
    FDropDownFooter = new TFooterAppearance(this);
    // Changed settings show at once in an open pop-up.
    FDropDownHeader->OnChange = [this](TObject *) { appearanceChanged(); };
    FDropDownHeader->OnButtonsChanged = [this](TObject *) { appearanceChanged(); };
    FDropDownFooter->OnChange = [this](TObject *) { appearanceChanged(); };
    FDropDownFooter->OnButtonsChanged = [this](TObject *) { appearanceChanged(); };
}

void TProCustomDropDown::appearanceChanged()
{
    if (FDropDownForm && FDropDownForm->Visible())
        FDropDownForm->InitializeAndUpdate();
}

TProCustomDropDown::~TProCustomDropDown()
{
    if (FDropDownForm) {
        TDropDownForm *f = FDropDownForm;
        FDropDownForm = nullptr;
        f->BeforeDestruction();
        delete f;
    }
    if (FLabel) {
        TLabel *l = FLabel;
        FLabel = nullptr;
        delete l;
    }
    FLabelFont->OnChange = nullptr;
    delete FLabelFont;
    FDropDownHeader->OnChange = nullptr;
    FDropDownHeader->OnButtonsChanged = nullptr;
    FDropDownFooter->OnChange = nullptr;
    FDropDownFooter->OnButtonsChanged = nullptr;
    delete FDropDownHeader;
    delete FDropDownFooter;
    delete FButtonAppearance;
}

void TProCustomDropDown::AfterConstruction()
{
    if (FConstructed)
        return;
    FConstructed = true;
    if (!isDesigning())
        CreateDropDownForm();
    CreateDropDownButton();
    SetSelectionColorStyle(scOffice2007);
    SetComponentStyle(tsOffice2007Luna);
    SetEditRect();
    UpdateButtonBounds();
}

// ---- the operations a picker overrides

void TProCustomDropDown::DoLabelClick()
{
    if (OnLabelClick)
        OnLabelClick(this);
}

void TProCustomDropDown::DoLabelDblClick()
{
    if (OnLabelDblClick)
        OnLabelDblClick(this);
}

int32_t TProCustomDropDown::GetVersionNr() { return 0x01020100; }

void TProCustomDropDown::CreateDropDownForm()
{
    if (FDropDownForm)
        return;
    FDropDownForm = new TDropDownForm(this);
    FDropDownForm->SetBorderStyle(bsNone);
    FDropDownForm->SetBounds(0, 0, FDropDownWidth, FDropDownHeight);
    FDropDownForm->SetProDropDown(this);
    // Until it first shows, the pop-up leaves its children at the sizes they were given: the
    // first opening takes its size from the hosted control.
    FDropDownForm->DisableAlign();
    FAlignHeld = true;
    FDropDownForm->OnClose = [](TObject *, TCloseAction &) {};
    FDropDownForm->OnHide = [this](TObject *) { DropDownClosed(); };
    FDropDownForm->OnKeyPress = [this](TObject *, QChar &Key) { FormKeyPress(Key); };
    FDropDownForm->OnKeyDown = [this](TObject *, Word &Key, TShiftState Shift) { FormKeyDown(Key, Shift); };
    FDropDownForm->OnKeyUp = [this](TObject *, Word &Key, TShiftState Shift) { FormKeyUp(Key, Shift); };
    FDropDownForm->OnMouseWheelDown = [this](TObject *, TShiftState Shift, TPoint MousePos, bool &Handled) {
        FormMouseWheelDown(Shift, MousePos, Handled);
    };
    FDropDownForm->OnMouseWheelUp = [this](TObject *, TShiftState Shift, TPoint MousePos, bool &Handled) {
        FormMouseWheelUp(Shift, MousePos, Handled);
    };
    FDropDownForm->OnDestroy = [this](TObject *) { DropDownFormDestroyed(); };
    FDropDownForm->OnSizing = [this](TObject *) { DropDownFormResize(); };
}

void TProCustomDropDown::CreateDropDownButton()
{
    if (!FButton) {
        FButton = new TDropDownEditButton(this);
        FButton->SetParent(this);
        FButton->OnClick = [this](TObject *Sender) { DropDownButtonClick(Sender); };
        if (isDesigning())
            FButton->SetColor(clBtnFace);
    }
    SizeDropDownButton();
}

void TProCustomDropDown::SizeDropDownButton()
{
    if (!FButton)
        return;
    FButton->SetButtonWidth(FButtonWidth);
    FButton->SetHeight(17);
    FButton->SetVisible(true);
    FButton->SetFocusControl(this);
}

void TProCustomDropDown::BeforeDropDown()
{
    if (OnBeforeDropDown)
        OnBeforeDropDown(this);
}

void TProCustomDropDown::FocusDropDownControl()
{
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
}

void TProCustomDropDown::ShowDropDown()
{
    if (isDesigning() || !FDropDownForm || FDropDownForm->Visible() || !Enabled() || ReadOnly())
        return;
    BeforeDropDown();
    TDropDownForm *form = FDropDownForm;
    form->SetShadow(FDropDownShadow);
    form->InitializeAndUpdate();
    form->SetBounds(Left(), Top(), form->Width(), form->Height());
    SizeDropDownForm();
    PlaceDropDownControl();
    form->Constraints()->SetMinWidth(80);
    form->Constraints()->SetMinHeight(50);
    if (auto *wc = dynamic_cast<TWinControl *>(FControl)) {
        wc->OnKeyDown = [this](TObject *, Word &Key, TShiftState Shift) { ControlKeyDown(Key, Shift); };
        wc->OnKeyUp = [this](TObject *, Word &Key, TShiftState Shift) { ControlKeyUp(Key, Shift); };
        wc->OnKeyPress = [this](TObject *, QChar &Key) { ControlKeyPress(Key); };
    }

    const TPoint anchor = Parent() ? Parent()->ClientToScreen(Point(Left(), Top())) : ClientToScreen(Point(0, 0));
    int left = anchor.X, top = anchor.Y;
    switch (FDropPosition) {
    case dpDown:
        top = anchor.Y + Height() - 1;
        break;
    case dpUp:
        top = anchor.Y - form->Height();
        break;
    default:
        top = GetSystemMetrics(SM_CYSCREEN) > anchor.Y + form->Height() ? anchor.Y + Height() - 1
                                                                           : anchor.Y - form->Height();
        break;
    }
    form->SetBounds(left, top, form->Width(), form->Height());

    bool accept = true;
    if (OnDropDown)
        OnDropDown(this, accept);
    if (!accept)
        return;

    // Pushed back inside the work area on the right; no other clamping.
    TRect work = Screen->WorkAreaRect();
    if (TMonitor *m = Screen->MonitorFromPoint(anchor, mdNearest))
        work = m->WorkareaRect();
    if (work.Left >= 0 && form->Left() + form->Width() > work.Right && form->Left() < work.Right)
        form->SetLeft(work.Right - form->Width());

    left = form->Left();
    top = form->Top();
    int width = form->Width(), height = form->Height();
    if (FUserDropDownWidth != -1)
        width = FUserDropDownWidth;
    if (FUserDropDownHeight != -1)
        height = FUserDropDownHeight;

    // The platform has no window shadow to force into view: the pop-up opens once, in place.
    form->SetBounds(left, top, width, height);
    if (FAlignHeld) {
        FAlignHeld = false;
        form->EnableAlign();
    }
    FDroppedDown = true;
    form->Show();
    if (!form->Visible()) {
        FDroppedDown = false;
        return;
    }
    FocusDropDownControl();
}

void TProCustomDropDown::PlaceDropDownControl()
{
    if (!FDropDownForm || !FControl)
        return;
    FControl->SetParent(FDropDownForm);
    if (FDropDownHeader && FDropDownHeader->Visible())
        FControl->SetTop(FDropDownHeader->Height() + 2);
    else
        FControl->SetTop(FDropDownBorderWidth);
    FControl->SetAlign(alClient);
}

void TProCustomDropDown::SizeDropDownForm()
{
    if (!FDropDownForm)
        return;
    const bool control = FControl && FControl->Visible();
    int w = FDropDownWidth;
    if (w <= 0)
        w = control ? FControl->Width() : Width();
    int h = FDropDownHeight;
    if (h <= 0) {
        h = 2 * FDropDownBorderWidth;
        if (FDropDownHeader && FDropDownHeader->Visible())
            h += FDropDownHeader->Height();
        if (FDropDownFooter && FDropDownFooter->Visible())
            h += FDropDownFooter->Height();
        if (control)
            h += FControl->Height();
    }
    FDropDownForm->SetWidth(w);
    FDropDownForm->SetHeight(h);
}

void TProCustomDropDown::HideDropDown(bool CancelChanges)
{
    if (isDesigning() || !FDropDownForm || !FDropDownForm->Visible())
        return;
    if (OnBeforeDropUp)
        OnBeforeDropUp(this);
    // The size the pop-up has now (the user may have dragged it) is the one of the next opening.
    FUserDropDownWidth = FDropDownForm->Width();
    FUserDropDownHeight = FDropDownForm->Height();
    FDropDownForm->Hide();
    Application->HideHint();
    if (CancelChanges)
        SetText(FOldText);
    if (OnDropUp)
        OnDropUp(this, CancelChanges);
}

void TProCustomDropDown::DropDownClosed()
{
    FDroppedDown = false;
    if (!TabStop() || !CanFocus() || Focused() || IsDestroying())
        return;
    // A window that took the activation from the pop-up keeps it.
    TCustomForm *active = Screen->ActiveForm();
    if (active && active != FDropDownForm && active != GetParentForm())
        return;
    SetFocus();
}

void TProCustomDropDown::DropDownFormDestroyed() {}

void TProCustomDropDown::FormMouseWheelDown(TShiftState, TPoint, bool &) { WheelDownAction(); }

void TProCustomDropDown::FormMouseWheelUp(TShiftState, TPoint, bool &) { WheelUpAction(); }

void TProCustomDropDown::FormKeyPress(QChar &Key) { SendMessage(Handle(), WM_CHAR, Key.unicode(), 0); }

void TProCustomDropDown::FormKeyDown(Word &Key, TShiftState) { SendMessage(Handle(), WM_KEYDOWN, Key, 0); }

void TProCustomDropDown::FormKeyUp(Word &Key, TShiftState) { SendMessage(Handle(), WM_KEYUP, Key, 0); }

void TProCustomDropDown::ControlKeyDown(Word &Key, TShiftState) { SendMessage(Handle(), WM_KEYDOWN, Key, 0); }

void TProCustomDropDown::ControlKeyUp(Word &Key, TShiftState) { SendMessage(Handle(), WM_KEYUP, Key, 0); }

void TProCustomDropDown::ControlKeyPress(QChar &Key) { SendMessage(Handle(), WM_CHAR, Key.unicode(), 0); }

void TProCustomDropDown::DropDownFormResize() {}

void TProCustomDropDown::WheelDownAction() {}

void TProCustomDropDown::WheelUpAction() {}

void TProCustomDropDown::DrawDisplayText()
{
    if (FEditorEnabled || !Focused() || !FFocusDraw || isDesigning())
        return;
    // Drawing happens inside the edit's painting.
    if (!FPaintingDisplay) {
        Invalidate();
        return;
    }
    TControlCanvas canvas(this);
    if (!canvas.Painter())
        return;
    const int bw = FButton ? FButton->Width() : 0;
    TRect r = Rect(2, 2, Width() - bw - 1, Height() - 2);
    canvas.Pen()->SetStyle(psSolid);
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetColor(clBlack);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clHighlight);
    canvas.Rectangle(r);
    r.Left += 2;
    r.Right -= 3;
    canvas.Font()->Assign(Font());
    canvas.Font()->SetColor(clHighlightText);
    canvas.Brush()->SetStyle(bsClear);
    canvas.DrawText(Text(), r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}

void TProCustomDropDown::SetEditRect()
{
    TRect r;
    Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    if (BorderStyle() == bsNone) {
        r.Left = 2;
        r.Top = 3;
    } else {
        r.Left = 1;
        r.Top = 1;
    }
    r.Right = ClientWidth() - FButtonWidth - 3;
    r.Bottom = ClientHeight() + 1;
    FEditRect = r;
    if (!Ctl3D())
        ++r.Left;
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

int TProCustomDropDown::minHeight()
{
    TCanvas canvas;
    canvas.Font()->Assign(Font());
    const int font = canvas.TextHeight(QStringLiteral("0"));
    TFont system;
    canvas.Font()->Assign(&system);
    const int sys = canvas.TextHeight(QStringLiteral("0"));
    return font + std::min(font, sys) / 4;
}

void TProCustomDropDown::UpdateButtonBounds()
{
    const int mh = minHeight();
    if (Height() < mh) {
        // The size message that follows places the button.
        SetHeight(mh);
        return;
    }
    if (FButton) {
        if (Ctl3D() && BorderStyle() == bsSingle) {
            const int b = FFlat ? 3 : 4;
            FButton->SetBounds(Width() - FButtonWidth - b, FFlat ? 2 : 0, FButtonWidth, Height() - b);
        } else {
            FButton->SetBounds(Width() - FButtonWidth - (Ctl3D() ? 0 : 2), 1, FButtonWidth, Height() - 2);
        }
    }
    SetEditRect();
    Invalidate();
}

void TProCustomDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    FSelectionColorStyle = Value;
    switch (Value) {
    case scOffice2007:
        FSelectionColor = TColor(0xD7FFFD);
        FSelectionColorTo = TColor(0x58D4FC);
        break;
    case scWindowsVista:
        FSelectionColor = TColor(0xFDF8F1);
        FSelectionColorTo = TColor(0xFCEFD5);
        break;
    case scWindows7:
        FSelectionColor = TColor(0xFCEBDC);
        FSelectionColorTo = TColor(0xFCDBC1);
        break;
    default:
        break;
    }
}

void TProCustomDropDown::DrawSelectionBackground(TCanvas *Canvas, TRect Rect, TColor Background, int32_t Ends)
{
    if (!Canvas)
        return;
    if (FSelectionColorStyle == scCustom) {
        Canvas->Brush()->SetStyle(bsSolid);
        Canvas->Brush()->SetColor(FSelectionColor);
        Canvas->Pen()->SetStyle(psSolid);
        Canvas->Pen()->SetColor(FSelectionColor);
        Canvas->Rectangle(Rect);
        return;
    }
    struct Shape
    {
        TColor edge, border, bottom, top, mirrorTo, mirrorFrom;
    };
    static const Shape office{TColor(0xC3D9DF), TColor(0x8DD7D3), TColor(0xCAF8FF), TColor(0xF4FEFF), TColor(0xB3F1FC),
                              TColor(0x58D4FC)};
    static const Shape vista{TColor(0xFCEDCB), TColor(0xFDDE99), TColor(0xFDF5E7), TColor(0xFDFBF6), clNone, clNone};
    static const Shape seven{TColor(0xE0C5AE), TColor(0xCEA27D), TColor(0xFDEADB), TColor(0xFDF4EB), clNone, clNone};
    const Shape &s = FSelectionColorStyle == scOffice2007 ? office : FSelectionColorStyle == scWindowsVista ? vista : seven;
    DrawRoundedSelectionShape(Canvas, FSelectionColor, FSelectionColorTo, Ends, Rect, Background, s.edge, s.top, s.bottom,
                              s.border, s.mirrorTo, s.mirrorFrom);
}

void TProCustomDropDown::DrawBackground(TCanvas *Canvas, TColor FromColor, TColor ToColor, int32_t Steps, TRect Rect,
                                        bool Vertical)
{
    DrawGradientSteps(Canvas, FromColor, ToColor, Steps, Rect, !Vertical);
}

void TProCustomDropDown::SetComponentStyle(TDUZStyle AStyle)
{
    FDUZStyle = AStyle;
    struct Popup
    {
        TColor color, colorTo, border;
        bool setBorder;
    };
    // The pop-up's background and frame by style (the header, footer and button colours go with
    // their own settings).
    static const Popup popup[] = {
        {clWhite, clNone, clNone, false},                                   // tsOffice2003Blue
        {clWhite, clNone, clNone, false},                                   // tsOffice2003Silver
        {clWhite, clNone, clNone, true},                                    // tsOffice2003Olive
        {TColor(0xF2F2F2), TColor(0xF2F2F2), clNone, true},                 // tsOffice2003Classic
        {TColor(0xF3E5DA), TColor(0xF0DED0), clNone, true},                 // tsOffice2007Luna
        {clWhite, clNone, clNone, true},                                    // tsOffice2007Obsidian
        {clWhite, clNone, clNone, false},                                   // tsWindowsXP
        {TColor(0xF5F9FA), TColor(0xF5F9FA), clNone, true},                 // tsWhidbey
        {clNone, clNone, clNone, false},                                    // tsCustom
        {TColor(0xF8F4F1), TColor(0xF0E8E3), clNone, true},                 // tsOffice2007Silver
        {clWhite, clWhite, TColor(0x979797), true},                         // tsWindowsVista
        {clWhite, clWhite, TColor(0x979797), true},                         // tsWindows7
        {clWhite, clWhite, TColor(0x808080), true},                         // tsTerminal
        {clWhite, TColor(0xF1EFED), TColor(0xEDEDEC), true},                // tsOffice2010Blue
        {clWhite, TColor(0xF1EFED), TColor(0xEDEDEC), true},                // tsOffice2010Silver
        {clWhite, TColor(0xF1EFED), TColor(0xEDEDEC), true},                // tsOffice2010Black
    };
    if (AStyle == tsCustom || int(AStyle) < 0 || int(AStyle) >= int(std::size(popup)))
        return;
    const Popup &p = popup[AStyle];
    FDropDownColor = p.color;
    FDropDownColorTo = p.colorTo;
    if (p.setBorder)
        FDropDownBorderColor = p.border;
}

void TProCustomDropDown::SetColorTones(const TColorTones &ATones)
{
    if (FButton) {
        FButton->SetButtonColor(ATones.Background.BrushColor);
        FButton->SetButtonColorHot(ATones.Hover.BrushColor);
        FButton->SetButtonColorDown(ATones.Selected.BrushColor);
        FButton->SetButtonBorderColor(ATones.Background.BorderColor);
    }
    SetBorderColor(ATones.Background.BorderColor);
}

// ---- properties

void TProCustomDropDown::SetDropDownWidth(int32_t v)
{
    if (v == FDropDownWidth)
        return;
    FDropDownWidth = v;
    FUserDropDownWidth = -1;
}

void TProCustomDropDown::SetDropDownHeight(int32_t v)
{
    if (v == FDropDownHeight)
        return;
    FDropDownHeight = v;
    FUserDropDownHeight = -1;
}

void TProCustomDropDown::SetEditorEnabled(bool v)
{
    FEditorEnabled = v;
    if (v)
        SetControlStyle(ControlStyle() + csDoubleClicks);
    else
        SetControlStyle(ControlStyle() - csDoubleClicks);
}

void TProCustomDropDown::SetImages(TCustomImageList *v)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = v;
    if (v)
        v->FreeNotification(this);
}

void TProCustomDropDown::SetDropDownButtonHint(const QString &v)
{
    if (v == FButtonHint)
        return;
    FButtonHint = v;
    if (FButton) {
        FButton->SetHint(v);
        FButton->SetShowHint(!v.isEmpty());
    }
}

void TProCustomDropDown::SetDropDownButtonWidth(int32_t v)
{
    if (!FButton || v == FButtonWidth)
        return;
    FButtonWidth = v;
    FButton->SetButtonWidth(v);
    UpdateButtonBounds();
}

void TProCustomDropDown::SetDropDownButtonGlyph(TBitmap *v)
{
    if (FButton)
        FButton->SetGlyph(v);
}

void TProCustomDropDown::SetFocusControl(TWinControl *v)
{
    if (FFocusControl && FFocusControl != FControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = v;
    if (v)
        v->FreeNotification(this);
}

void TProCustomDropDown::SetControl(TControl *v)
{
    if (v == FControl)
        return;
    if (FControl && FControl != FFocusControl)
        FControl->RemoveFreeNotification(this);
    FControl = v;
    if (v)
        v->FreeNotification(this);
    if (!isDesigning())
        PlaceDropDownControl();
}

void TProCustomDropDown::SetBorderColor(TColor v)
{
    if (v == FBorderColor)
        return;
    FBorderColor = v;
    Invalidate();
    if (FButton && FButton->FButton)
        FButton->FButton->Repaint();
}

void TProCustomDropDown::SetDisabledBorder(bool v)
{
    if (v == FDisabledBorder)
        return;
    FDisabledBorder = v;
    Invalidate();
}

QString TProCustomDropDown::Version()
{
    const uint32_t v = uint32_t(GetVersionNr());
    return QStringLiteral("%1.%2.%3.%4").arg(v >> 24).arg((v >> 16) & 0xFF).arg((v >> 8) & 0xFF).arg(v & 0xFF);
}

void TProCustomDropDown::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TProCustomDropDown *>(Source);
    if (!s)
        return;
    FFocusDraw = s->FFocusDraw;
    FForceShadow = s->FForceShadow;
    FDropDownEnabled = s->FDropDownEnabled;
    FDropDownColor = s->FDropDownColor;
    FDropDownColorTo = s->FDropDownColorTo;
    FDropDownGradient = s->FDropDownGradient;
    FDropDownBorderColor = s->FDropDownBorderColor;
    FDropDownBorderWidth = s->FDropDownBorderWidth;
    FDropDownShadow = s->FDropDownShadow;
    SetDropDownWidth(s->FDropDownWidth);
    SetDropDownHeight(s->FDropDownHeight);
    FDropDownSizeable = s->FDropDownSizeable;
    FEditType = s->FEditType;
    FReturnIsTab = s->FReturnIsTab;
    FLengthLimit = s->FLengthLimit;
    FPrecision = s->FPrecision;
    FPrefix = s->FPrefix;
    FSuffix = s->FSuffix;
    FDefaultHandling = s->FDefaultHandling;
    FCanUndo = s->FCanUndo;
    FExcelStyleDecimalSeparator = s->FExcelStyleDecimalSeparator;
    FValidChars = s->FValidChars;
    FSigned = s->FSigned;
    FAutoThousandSeparator = s->FAutoThousandSeparator;
    FButtonAppearance->Assign(s->FButtonAppearance);
    FDropDownHeader->Assign(s->FDropDownHeader);
    FDropDownFooter->Assign(s->FDropDownFooter);
    FDropPosition = s->FDropPosition;
    FFlat = s->FFlat;
    SetDropDownButtonWidth(s->FButtonWidth);
    SetDropDownButtonHint(s->FButtonHint);
    FEditorEnabled = s->FEditorEnabled;
    if (FButton && s->FButton) {
        SetDropDownButtonGlyph(s->FButton->Glyph()->Empty() ? nullptr : s->FButton->Glyph());
        FButton->SetButtonCaption(s->FButton->ButtonCaption());
    }
    FEtched = s->FEtched;
    SetImages(s->FImages);
    FSelectionColorStyle = s->FSelectionColorStyle;
    FSelectionColor = s->FSelectionColor;
    FSelectionColorTo = s->FSelectionColorTo;
}

void TProCustomDropDown::DropDownButtonClick(TObject *)
{
    if (isDesigning() || !FDropDownForm || FDropDownForm->Visible())
        return;
    if (GetTickCount() - FDropDownForm->DeActivateTime() > 250)
        ShowDropDown();
}

void TProCustomDropDown::toggleDropDown()
{
    if (FDroppedDown && FDropDownForm && FDropDownForm->Visible())
        HideDropDown(false);
    else
        ShowDropDown();
}

// ---- framework overrides

QString TProCustomDropDown::GetText() const
{
    QString t = TCustomMaskEdit::GetText();
    if (!FPrefix.isEmpty() && t.startsWith(FPrefix))
        t.remove(0, FPrefix.size());
    if (!FSuffix.isEmpty())
        t.chop(std::min(FSuffix.size(), t.size()));
    return t;
}

void TProCustomDropDown::KeyDown(Word &Key, TShiftState Shift)
{
    TCustomMaskEdit::KeyDown(Key, Shift);
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN))
        toggleDropDown();
}

void TProCustomDropDown::KeyPress(QChar &Key)
{
    TCustomMaskEdit::KeyPress(Key);
    // An edit beeps at Enter.
    if (Key == QChar(13))
        Key = QChar(0);
}

void TProCustomDropDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomMaskEdit::MouseDown(Button, Shift, X, Y);
    if (!FEditorEnabled && Button == mbLeft)
        DropDownButtonClick(this);
}

bool TProCustomDropDown::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    const bool handled = TCustomMaskEdit::DoMouseWheelDown(Shift, MousePos);
    WheelDownAction();
    return handled;
}

bool TProCustomDropDown::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    const bool handled = TCustomMaskEdit::DoMouseWheelUp(Shift, MousePos);
    WheelUpAction();
    return handled;
}

void TProCustomDropDown::DoEnter()
{
    SetEditRect();
    TCustomMaskEdit::DoEnter();
    // The prefix and suffix are never part of the selection.
    if (AutoSelect() && FEditorEnabled)
        SelectAll();
}

void TProCustomDropDown::Change()
{
    // A rewrite of the text by the edit itself is no change.
    if (FBlockChange) {
        FBlockChange = false;
        return;
    }
    TCustomMaskEdit::Change();
}

void TProCustomDropDown::WMPaint(TMessage &Message)
{
    DefaultPaint(Message);
    FPaintingDisplay = true;
    try {
        DrawDisplayText();
        if (bordersPainted())
            drawBorders();
    } catch (...) {
        FPaintingDisplay = false;
        throw;
    }
    FPaintingDisplay = false;
}

void TProCustomDropDown::Notification(TComponent *AComponent, TOperation Operation)
{
    TCustomMaskEdit::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
    if (AComponent == FControl)
        FControl = nullptr;
    if (AComponent == FFocusControl)
        FFocusControl = nullptr;
    if (AComponent == FLabel)
        FLabel = nullptr;
}

void TProCustomDropDown::WndProc(TMessage &Message)
{
    TCustomMaskEdit::WndProc(Message);
    if (Message.Msg == EM_SETREADONLY && FButton && FButton->FButton)
        FButton->FButton->Invalidate();
}

void TProCustomDropDown::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_KEYDOWN:
        wmKeyDown(Message);
        return;
    case WM_CHAR:
        // A display-only edit takes no typing.
        wmChar(Message);
        return;
    case WM_COPY:
        wmCopy(Message);
        return;
    case WM_CUT:
        wmCut(Message);
        return;
    case WM_PASTE:
        wmPaste(Message);
        return;
    case WM_CLEAR:
        clampSelection();
        break;
    case WM_LBUTTONDOWN:
        wmMouseDown(Message);
        return;
    case WM_LBUTTONUP:
        wmMouseUp(Message);
        return;
    case WM_SETFOCUS:
        TCustomMaskEdit::Dispatch(Message);
        if (FEditorEnabled) {
            FOldString = Text();
            if (AutoSelect())
                SelectAll();
            else if (FEditType == etFloat || FEditType == etMoney)
                SelectBeforeDecimal();
        } else {
            Invalidate();
        }
        return;
    case WM_KILLFOCUS:
        wmKillFocusTyped();
        TCustomMaskEdit::Dispatch(Message);
        if (!FEditorEnabled)
            Invalidate();
        return;
    case WM_SIZE:
        TCustomMaskEdit::Dispatch(Message);
        UpdateButtonBounds();
        return;
    case CM_FONTCHANGED:
        TCustomMaskEdit::Dispatch(Message);
        SetEditRect();
        return;
    case CM_ENABLEDCHANGED:
        TCustomMaskEdit::Dispatch(Message);
        if (FButton)
            FButton->SetEnabled(Enabled());
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (Enabled())
            FMouseInControl = Message.Msg == CM_MOUSEENTER;
        TCustomMaskEdit::Dispatch(Message);
        hotChanged();
        return;
    case CM_ENTER:
    case CM_EXIT:
        TCustomMaskEdit::Dispatch(Message);
        hotChanged();
        return;
    case CM_PARENTFONTCHANGED:
        TCustomMaskEdit::Dispatch(Message);
        if (FLabel && ParentFont())
            FLabel->Font()->Assign(Font());
        return;
    case CM_WANTSPECIALKEY:
        cmWantSpecialKey(Message);
        return;
    default:
        break;
    }
    TCustomMaskEdit::Dispatch(Message);
}

void TProCustomDropDown::wmKeyDown(TMessage &Message)
{
    const Word key = Message.CharCode();
    if (GetKeyState(VK_MENU) < 0 && (key == VK_UP || key == VK_DOWN)) {
        toggleDropDown();
        return;
    }
    if (!FEditorEnabled) {
        if (ReadOnly()) {
            TCustomMaskEdit::Dispatch(Message);
            return;
        }
        switch (key) {
        case VK_RETURN:
            HideDropDown(false);
            break;
        case VK_ESCAPE:
            HideDropDown(true);
            break;
        case VK_F4:
            if (FDropDownForm && FDropDownForm->Visible())
                HideDropDown(false);
            else
                ShowDropDown();
            break;
        default:
            break;
        }
        // A display-only edit passes on Enter and Esc only.
        if (key == VK_RETURN || key == VK_ESCAPE)
            TCustomMaskEdit::Dispatch(Message);
        return;
    }
    const TShiftState shift = GetShiftState();
    if (shift.Contains(ssCtrl) && (key == VK_TAB || key == VK_RETURN)) {
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    if (key == VK_RETURN && FReturnIsTab) {
        Message.SetCharCode(VK_TAB);
        if (Visible())
            PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (typedKeyDown(Message))
        return;
    TCustomMaskEdit::Dispatch(Message);
    typedKeyDownAfter(key);
    switch (Message.CharCode()) {
    case VK_RETURN:
        HideDropDown(false);
        break;
    case VK_ESCAPE:
        HideDropDown(true);
        break;
    case VK_F4:
        if (FDropDownForm && FDropDownForm->Visible())
            HideDropDown(false);
        else
            ShowDropDown();
        break;
    default:
        break;
    }
}

void TProCustomDropDown::wmMouseDown(TMessage &Message)
{
    if (FEditorEnabled && Focused() && SelLength() > 0) {
        const int pos = int(Perform(EM_CHARFROMPOS, 0, Message.LParam) & 0xFFFF);
        if (pos >= SelStart() && pos < SelStart() + SelLength()) {
            // Held back so that the selected text can be dragged away.
            FButtonDown = true;
            return;
        }
    }
    TCustomMaskEdit::Dispatch(Message);
}

void TProCustomDropDown::wmMouseUp(TMessage &Message)
{
    if (FButtonDown) {
        FButtonDown = false;
        const int pos = int(Perform(EM_CHARFROMPOS, 0, Message.LParam) & 0xFFFF);
        SetSelStart(pos);
        SetSelLength(0);
    }
    TCustomMaskEdit::Dispatch(Message);
    if (FEditorEnabled)
        typedMouseUp();
    if (!FEditorEnabled || ReadOnly())
        DrawDisplayText();
}

void TProCustomDropDown::cmWantSpecialKey(TMessage &Message)
{
    TCustomForm *form = GetParentForm();
    if (!form) {
        TCustomMaskEdit::Dispatch(Message);
        return;
    }
    const Word key = Message.CharCode();
    if (key == VK_ESCAPE && FCanUndo && !form->KeyPreview()) {
        SelectAll();
        SetModified(false);
        FIsModified = false;
        Message.Result = 1;
        if (Parent() && FDefaultHandling) {
            PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
            PostMessage(Parent()->Handle(), WM_KEYUP, VK_ESCAPE, 0);
        }
    } else if (key == VK_RETURN && FDefaultHandling && !form->KeyPreview() && Parent() && Parent()->Focused()) {
        PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_RETURN, 0);
        PostMessage(Parent()->Handle(), WM_KEYUP, VK_RETURN, 0);
    }
    const LRESULT claimed = Message.Result;
    TCustomMaskEdit::Dispatch(Message);
    if (claimed)
        Message.Result = claimed;
    if (key == VK_ESCAPE && FDroppedDown)
        Message.Result = 1;
}

// ---- caption label

QString TProCustomDropDown::LabelCaption() const { return FLabel ? FLabel->Caption() : QString(); }

void TProCustomDropDown::SetLabelCaption(const QString &v)
{
    if (!FLabel) {
        FLabel = new TLabel(this);
        FLabel->SetParent(Parent());
        FLabel->SetFocusControl(this);
        FLabel->Font()->Assign(FLabelFont);
        FLabel->SetParentFont(ParentFont());
        FLabel->OnClick = [this](TObject *) { DoLabelClick(); };
        FLabel->OnDblClick = [this](TObject *) { DoLabelDblClick(); };
    }
    FLabel->SetCaption(v);
    updateLabel();
}

void TProCustomDropDown::SetLabelPosition(TLabelPosition v)
{
    FLabelPosition = v;
    updateLabel();
}

void TProCustomDropDown::SetLabelMargin(int32_t v)
{
    FLabelMargin = v;
    updateLabel();
}

void TProCustomDropDown::SetLabelTransparent(bool v)
{
    FLabelTransparent = v;
    updateLabel();
}

void TProCustomDropDown::SetLabelFont(TFont *v)
{
    if (!ParentFont())
        FLabelFont->Assign(v);
}

void TProCustomDropDown::updateLabel()
{
    if (!FLabel)
        return;
    FLabel->SetTransparent(FLabelTransparent);
    FLabel->Font()->Assign(FParentFnt ? Font() : FLabelFont);
    TCanvas measure;
    measure.Font()->Assign(FLabel->Font());
    TRect tr = Rect(0, 0, 1000, 255);
    measure.DrawText(FLabel->Caption(), tr, DT_CALCRECT | DT_HIDEPREFIX);
    const int w = tr.Width();
    const TRect e = BoundsRect();
    const int eh = e.Height(), ew = e.Width(), lh = FLabel->Height(), lw = FLabel->Width();
    const int m = FLabelMargin;
    const int vCentre = lh < eh ? e.Top + (eh - lh) / 2 : e.Top - (lh - eh) / 2;
    const int hCentre = lw < ew ? e.Left + (ew - lw) / 2 : e.Left - (lw - ew) / 2;
    const int above = e.Top - lh - m, below = e.Top + eh + m, bottomAligned = e.Top + eh - lh;
    const int leftOf = e.Left - w - m, rightOf = e.Left + ew + m, rightAligned = e.Left + ew - lw;
    int top = e.Top, left = e.Left;
    switch (FLabelPosition) {
    case lpLeftTop: top = e.Top; left = leftOf; break;
    case lpLeftCenter: top = vCentre; left = leftOf; break;
    case lpLeftBottom: top = bottomAligned; left = leftOf; break;
    case lpTopLeft: top = above; left = e.Left; break;
    case lpBottomLeft: top = below; left = e.Left; break;
    case lpLeftTopLeft: top = e.Top; left = e.Left - m; break;
    case lpLeftCenterLeft: top = vCentre; left = e.Left - m; break;
    case lpLeftBottomLeft: top = bottomAligned; left = e.Left - m; break;
    case lpTopCenter: top = above; left = hCentre; break;
    case lpBottomCenter: top = below; left = hCentre; break;
    case lpRightTop: top = e.Top; left = rightOf; break;
    case lpRightCenter: top = vCentre; left = rightOf; break;
    case lpRighBottom: top = bottomAligned; left = rightOf; break;
    case lpTopRight: top = above; left = rightAligned; break;
    case lpBottomRight: top = below; left = rightAligned; break;
    }
    FLabel->SetBounds(left, top, lw, lh);
    FLabel->SetVisible(Visible());
}

void TProCustomDropDown::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomMaskEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FLabel && FLabel->Parent())
        updateLabel();
}

void TProCustomDropDown::SetParent(TWinControl *AParent)
{
    TCustomMaskEdit::SetParent(AParent);
    if (FLabel && !IsDestroying()) {
        FLabel->SetParent(AParent);
        updateLabel();
    }
}

void TProCustomDropDown::Loaded()
{
    SetComponentStateItem(csLoading, false);
    FParentFnt = ParentFont();
    SetEditRect();
    UpdateButtonBounds();
    if (FButton)
        FButton->SetEnabled(Enabled());
    if (FLabel && !FLabelAlwaysEnabled)
        FLabel->SetEnabled(Enabled());
    updateLabel();
    if (FLabel && ParentFont())
        FLabel->Font()->Assign(Font());
}

void TProCustomDropDown::SetDropDownHeader(THeaderAppearance *v) { FDropDownHeader->Assign(v); }

void TProCustomDropDown::SetDropDownFooter(TFooterAppearance *v) { FDropDownFooter->Assign(v); }

void TProCustomDropDown::SetButtonAppearance(TProButtonAppearance *v) { FButtonAppearance->Assign(v); }

// ---- borders and the hot state

bool TProCustomDropDown::IsHot() const
{
    if (isDesigning())
        return false;
    return FMouseInControl || (Screen && Screen->ActiveControl() == this);
}

void TProCustomDropDown::hotChanged()
{
    // The button shows the edit's hot state; at design time its enabled state.
    if (FButton && FButton->FButton)
        FButton->FButton->SetFocused(isDesigning() ? Enabled() : IsHot());
    if (bordersPainted())
        Invalidate();
}

bool TProCustomDropDown::bordersPainted() const
{
    return !Enabled() || FFlat || FBorderColor != clNone || FFocusBorderColor != clNone;
}

void TProCustomDropDown::drawBorders()
{
    if (isDesigning())
        return;
    TControlCanvas canvas(this);
    if (!canvas.Painter())
        return;
    TRect r = Rect(0, 0, Width(), Height());
    auto frame = [&canvas](const TRect &fr, TColor color) {
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(color);
        canvas.FrameRect(fr);
    };
    if (!Enabled() && FIsThemed && FDisabledBorder) {
        frame(r, clSilver);
    } else if (FBorderColor != clNone && (!Focused() || FFocusBorderColor == clNone)) {
        frame(r, FBorderColor);
    } else if (FFocusBorderColor != clNone) {
        if (Focused())
            frame(r, FFocusBorderColor);
    } else if (IsHot()) {
        canvas.DrawEdge(r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        frame(r, clBtnFace);
    } else {
        const TColor parent = Parent() ? Parent()->Color() : Color();
        frame(r, parent);
        InflateRect(r, -1, -1);
        frame(r, parent);
    }
    if (FButton && FButton->FButton)
        FButton->FButton->SetFocused(IsHot());
}
