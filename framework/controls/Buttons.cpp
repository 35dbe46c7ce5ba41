#include "framework/controls/Buttons.h"
#include "framework/controls/Forms.h"
#include <QIcon>
#include <QPixmap>
#include <QPushButton>

// ---------------------------------------------------------------------------------------------
// TBitBtn

TBitBtn::TBitBtn(TComponent *AOwner) : TButton(AOwner), glyph_(std::make_unique<TBitmap>())
{
    glyph_->OnChange = [this](TObject *) { glyphChanged(); };
}

TBitBtn::~TBitBtn()
{
    glyph_->OnChange = nullptr;
}

void TBitBtn::glyphChanged()
{
    QPushButton *b = static_cast<QPushButton *>(Widget());
    if (glyph_->Empty()) {
        b->setIcon(QIcon());
        return;
    }
    b->setIcon(QIcon(QPixmap::fromImage(glyph_->ToImage())));
    b->setIconSize(QSize(glyph_->Width(), glyph_->Height()));
}

void TBitBtn::SetLayout(TButtonLayout v)
{
    layout_ = v;
    Widget()->setLayoutDirection(v == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
}

void TBitBtn::SetKind(TBitBtnKind v)
{
    kind_ = v;
    struct TKindInfo
    {
        const char *caption;
        TModalResult result;
    };
    static const TKindInfo kinds[] = {
        {"", mrNone}, {"OK", mrOk}, {"Cancel", mrCancel}, {"&Help", mrNone}, {"&Yes", mrYes},
        {"&No", mrNo}, {"&Close", mrNone}, {"Abort", mrAbort}, {"&Retry", mrRetry},
        {"&Ignore", mrIgnore}, {"&All", mrAll},
    };
    if (v == bkCustom)
        return;
    SetCaption(QLatin1String(kinds[v].caption));
    SetModalResult(kinds[v].result);
    if (v == bkOK || v == bkYes)
        SetDefault(true);
    if (v == bkCancel || v == bkNo)
        SetCancel(true);
}

void TBitBtn::Click()
{
    if (kind_ == bkClose) {
        if (TCustomForm *f = GetParentForm()) {
            f->Close();
            TControl::Click();
            return;
        }
    }
    TButton::Click();
}

// ---------------------------------------------------------------------------------------------
// TSpeedButton

TSpeedButton::TSpeedButton(TComponent *AOwner) : TGraphicControl(AOwner), glyph_(std::make_unique<TBitmap>())
{
    // Clicks come from MouseUp, which knows about groups.
    SetControlStyle(TControlStyle{csCaptureMouse, csDoubleClicks, csOpaque});
    glyph_->OnChange = [this](TObject *) { Invalidate(); };
    SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton()
{
    glyph_->OnChange = nullptr;
}

void TSpeedButton::ApplyText(const QString &v)
{
    SetTextRaw(v);
    Invalidate();
}

void TSpeedButton::SetDown(bool v)
{
    if (groupIndex_ == 0)
        v = false;
    if (v == down_)
        return;
    if (down_ && !allowAllUp_)
        return;
    down_ = v;
    state_ = v ? bsExclusive : bsUp;
    Invalidate();
    if (v && Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto *other = dynamic_cast<TSpeedButton *>(Parent()->Controls(i));
            if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) {
                other->down_ = false;
                other->state_ = bsUp;
                other->Invalidate();
            }
        }
    }
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Enabled()) {
        if (!down_) {
            state_ = bsDown;
            Invalidate();
        }
        dragging_ = true;
    }
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!dragging_)
        return;
    TButtonState s = down_ ? bsExclusive : bsUp;
    if (ClientRect().Contains(Point(X, Y)))
        s = down_ ? bsExclusive : bsDown;
    if (s != state_) {
        state_ = s;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!dragging_)
        return;
    dragging_ = false;
    const bool doClick = ClientRect().Contains(Point(X, Y));
    if (groupIndex_ == 0) {
        state_ = bsUp;
        mouseInControl_ = false;
    } else if (doClick) {
        SetDown(!down_);
        if (down_)
            state_ = bsExclusive;
    } else if (down_) {
        state_ = bsExclusive;
    } else {
        state_ = bsUp;
    }
    Invalidate();
    if (doClick)
        Click();
}

void TSpeedButton::Click()
{
    TGraphicControl::Click();
}

void TSpeedButton::MouseEnter()
{
    mouseInControl_ = true;
    if (flat_)
        Invalidate();
    TGraphicControl::MouseEnter();
}

void TSpeedButton::MouseLeave()
{
    mouseInControl_ = false;
    if (flat_)
        Invalidate();
    TGraphicControl::MouseLeave();
}

void TSpeedButton::Paint()
{
    TCanvas *c = Canvas();
    TRect r = ClientRect();
    const bool pressed = state_ == bsDown || state_ == bsExclusive;
    if (!(transparent_ && flat_ && !pressed)) {
        c->Brush()->SetColor(Color());
        c->FillRect(r);
    }
    if (!flat_ || mouseInControl_ || pressed)
        c->DrawEdge(r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    const int shift = pressed ? 1 : 0;
    int textLeft = r.Left;
    if (!glyph_->Empty()) {
        const int gw = glyph_->Width() / numGlyphs_, gh = glyph_->Height();
        const bool alone = Caption().isEmpty();
        const int gx = alone ? (r.Width() - gw) / 2 : 4;
        const int gy = (r.Height() - gh) / 2;
        TBitmap part(gw, gh);
        part.SetImage(glyph_->ToImage().copy(0, 0, gw, gh));
        part.SetTransparent(true);
        c->Draw(r.Left + gx + shift, r.Top + gy + shift, &part);
        textLeft += gx + gw + 4;
    }
    if (!Caption().isEmpty()) {
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(Enabled() ? clBtnText : clGrayText);
        TRect tr(textLeft + shift, r.Top + shift, r.Right + shift, r.Bottom + shift);
        c->DrawText(StripHotkey(Caption()), tr, DT_SINGLELINE | DT_VCENTER | (glyph_->Empty() ? DT_CENTER : DT_LEFT));
    }
}
