#include "framework/controls/ExtCtrls.h"
#include <QFontMetrics>
#include <QGroupBox>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TCustomPanel

TCustomPanel::TCustomPanel(TComponent *AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() + csOpaque);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::changed()
{
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut v) { bevelInner_ = v; changed(); }
void TCustomPanel::SetBevelOuter(TBevelCut v) { bevelOuter_ = v; changed(); }
void TCustomPanel::SetBevelWidth(int v) { bevelWidth_ = std::max(v, 1); changed(); }
void TCustomPanel::SetBorderWidth(int v) { borderWidth_ = std::max(v, 0); changed(); }
void TCustomPanel::SetAlignment(TAlignment v) { alignment_ = v; Invalidate(); }

void TCustomPanel::ApplyText(const QString &v)
{
    SetTextRaw(v);
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect &Rect) const
{
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone)
        inset += bevelWidth_;
    if (bevelInner_ != bvNone)
        inset += bevelWidth_;
    InflateRect(Rect, -inset, -inset);
}

static void frame3D(TCanvas *c, TRect &r, TColor topLeft, TColor bottomRight, int width)
{
    for (int i = 0; i < width; ++i) {
        c->Pen()->SetColor(topLeft);
        c->MoveTo(r.Left, r.Bottom - 1);
        c->LineTo(r.Left, r.Top);
        c->LineTo(r.Right - 1, r.Top);
        c->Pen()->SetColor(bottomRight);
        c->MoveTo(r.Right - 1, r.Top);
        c->LineTo(r.Right - 1, r.Bottom - 1);
        c->LineTo(r.Left - 1, r.Bottom - 1);
        InflateRect(r, -1, -1);
    }
}

void TCustomPanel::Paint()
{
    TCanvas *c = Canvas();
    TRect r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        const bool raised = cut == bvRaised;
        frame3D(c, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, bevelWidth_);
    };
    bevel(bevelOuter_);
    frame3D(c, r, Color(), Color(), borderWidth_);
    bevel(bevelInner_);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    const QString caption = Caption();
    if (caption.isEmpty())
        return;
    c->Brush()->SetStyle(bsClear);
    uint32_t flags = DT_VCENTER | DT_SINGLELINE;
    flags |= alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
    c->DrawText(caption, r, flags);
}

// ---------------------------------------------------------------------------------------------
// TRadioGroup

TRadioGroup::TRadioGroup(TComponent *AOwner) : TCustomGroupBox(AOwner), items_(std::make_unique<TStringList>())
{
    items_->OnChange = [this](TObject *) { itemsChanged(); };
    SetTabStop(true);
}

TRadioGroup::~TRadioGroup()
{
    items_->OnChange = nullptr;
}

QRadioButton *TRadioGroup::Buttons(int Index) const
{
    if (Index < 0 || Index >= static_cast<int>(buttons_.size()))
        ListIndexError(Index);
    return buttons_[static_cast<size_t>(Index)];
}

void TRadioGroup::itemsChanged()
{
    const int n = items_->Count();
    while (static_cast<int>(buttons_.size()) > n) {
        delete buttons_.back();
        buttons_.pop_back();
    }
    while (static_cast<int>(buttons_.size()) < n) {
        auto *b = new QRadioButton(Widget());
        const int index = static_cast<int>(buttons_.size());
        QObject::connect(b, &QRadioButton::toggled, SignalContext(), [this, index](bool on) {
            if (on && !updating_)
                SafeCall(this, [this, index] { buttonClicked(index); });
        });
        b->show();
        buttons_.push_back(b);
    }
    if (itemIndex_ >= n)
        itemIndex_ = n - 1;
    updating_ = true;
    for (int i = 0; i < n; ++i) {
        buttons_[static_cast<size_t>(i)]->setText(items_->Get(i));
        buttons_[static_cast<size_t>(i)]->setChecked(i == itemIndex_);
    }
    updating_ = false;
    arrange();
}

void TRadioGroup::buttonClicked(int Index)
{
    if (Index == itemIndex_)
        return;
    itemIndex_ = Index;
    Click();
}

void TRadioGroup::SetItemIndex(int v)
{
    const int n = static_cast<int>(buttons_.size());
    if (v < -1)
        v = -1;
    if (v >= n)
        v = n - 1;
    if (v == itemIndex_)
        return;
    itemIndex_ = v;
    updating_ = true;
    // Radio buttons in one parent exclude each other; none checked needs that off for a moment.
    for (QRadioButton *b : buttons_)
        b->setAutoExclusive(false);
    for (int i = 0; i < n; ++i)
        buttons_[static_cast<size_t>(i)]->setChecked(i == v);
    for (QRadioButton *b : buttons_)
        b->setAutoExclusive(true);
    updating_ = false;
    if (v >= 0)
        Click();
}

void TRadioGroup::SetColumns(int v)
{
    columns_ = std::clamp(v, 1, 16);
    arrange();
}

void TRadioGroup::Resize()
{
    arrange();
    TCustomGroupBox::Resize();
}

void TRadioGroup::arrange()
{
    const int n = static_cast<int>(buttons_.size());
    if (n == 0)
        return;
    // The buttons share the area inside the frame and below the caption, so that none sits on
    // either.
    TRect area = ClientRect();
    AdjustClientRect(area);
    constexpr int indent = 6;
    const int perCol = (n + columns_ - 1) / columns_;
    const int buttonWidth = std::max(area.Width() - indent, 0) / columns_;
    const int buttonHeight = std::max(area.Height() / perCol, 1);
    const int top = area.Top + std::max(area.Height() % perCol, 0) / 2;
    for (int i = 0; i < n; ++i)
        buttons_[static_cast<size_t>(i)]->setGeometry(area.Left + indent + (i / perCol) * buttonWidth,
                                                      top + (i % perCol) * buttonHeight,
                                                      std::max(buttonWidth - 2, 0), buttonHeight);
}

// ---------------------------------------------------------------------------------------------
// TImage

TImage::TImage(TComponent *AOwner) : TGraphicControl(AOwner), picture_(std::make_unique<TPicture>())
{
    picture_->OnChange = [this](TObject *) { pictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage()
{
    picture_->OnChange = nullptr;
}

void TImage::pictureChanged()
{
    if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0)
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    Invalidate();
}

void TImage::SetAutoSize(bool v)
{
    autoSize_ = v;
    pictureChanged();
}

TRect TImage::DestRect() const
{
    int w = picture_->Width(), h = picture_->Height();
    const int cw = ClientWidth(), ch = ClientHeight();
    if (stretch_ || (proportional_ && (w > cw || h > ch))) {
        if (proportional_ && w > 0 && h > 0) {
            const double xy = double(w) / h;
            if (cw / xy <= ch) {
                w = cw;
                h = int(cw / xy);
            } else {
                h = ch;
                w = int(ch * xy);
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r(0, 0, w, h);
    if (center_)
        OffsetRect(r, (cw - w) / 2, (ch - h) / 2);
    return r;
}

void TImage::Paint()
{
    if (TGraphic *g = picture_->Graphic(); g && !g->Empty())
        Canvas()->StretchDraw(DestRect(), g);
}

// ---------------------------------------------------------------------------------------------
// TTimer

TTimer::TTimer(TComponent *AOwner) : TComponent(AOwner), timer_(std::make_unique<QTimer>())
{
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] {
        TMessage m;
        m.Msg = WM_TIMER;
        SafeCall(this, [this, &m] { WndProc(m); });
    });
    update();
}

TTimer::~TTimer() = default;

void TTimer::update()
{
    timer_->stop();
    if (enabled_ && interval_ > 0)
        timer_->start(static_cast<int>(interval_));
}

void TTimer::SetEnabled(bool v)
{
    enabled_ = v;
    update();
}

void TTimer::SetInterval(Cardinal v)
{
    interval_ = v;
    update();
}

void TTimer::WndProc(TMessage &Message)
{
    if (Message.Msg == WM_TIMER && enabled_ && interval_ > 0)
        Timer();
}

void TTimer::Timer()
{
    if (OnTimer)
        OnTimer(this);
}
