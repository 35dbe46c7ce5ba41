#include "framework/controls/ComCtrls.h"
#include <QProgressBar>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>

// ---------------------------------------------------------------------------------------------
// TTabSheet

TTabSheet::TTabSheet(TComponent *AOwner) : TWinControl(AOwner, nullptr)
{
    SetControlStyle(ControlStyle() + csAcceptsControls);
}

TTabSheet::~TTabSheet() { DetachBridge(); }

TPageControl *TTabSheet::PageControl() const { return dynamic_cast<TPageControl *>(Parent()); }

void TTabSheet::SetPageControl(TPageControl *v) { SetParent(v); }

int TTabSheet::PageIndex() const
{
    TPageControl *pc = PageControl();
    if (!pc)
        return -1;
    auto it = std::find(pc->pages_.begin(), pc->pages_.end(), this);
    return it == pc->pages_.end() ? -1 : static_cast<int>(it - pc->pages_.begin());
}

void TTabSheet::SetPageIndex(int v)
{
    if (TPageControl *pc = PageControl())
        pc->movePage(this, v);
}

void TTabSheet::SetTabVisible(bool v)
{
    tabVisible_ = v;
    // Only a real change reaches Qt: its tab bar takes a call that changes nothing as "laid
    // out", so a change made earlier while the window was hidden would show stale tabs.
    if (TPageControl *pc = PageControl(); pc && pc->Tabs()->isTabVisible(PageIndex()) != v)
        pc->Tabs()->setTabVisible(PageIndex(), v);
}

int TTabSheet::TabIndex() const
{
    TPageControl *pc = PageControl();
    if (!pc || !tabVisible_)
        return -1;
    int n = 0;
    for (TTabSheet *p : pc->pages_) {
        if (p == this)
            return n;
        if (p->tabVisible_)
            ++n;
    }
    return -1;
}

void TTabSheet::ApplyText(const QString &v)
{
    SetTextRaw(v);
    if (TPageControl *pc = PageControl())
        pc->Tabs()->setTabText(PageIndex(), v);
}

// ---------------------------------------------------------------------------------------------
// TPageControl

TPageControl::TPageControl(TComponent *AOwner) : TWinControl(AOwner, new QTabWidget)
{
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
    QObject::connect(Tabs(), &QTabWidget::currentChanged, SignalContext(), [this](int) {
        if (!switching_)
            SafeCall(this, [this] { Change(); });
    });
}

TPageControl::~TPageControl() { DetachBridge(); }

QTabWidget *TPageControl::Tabs() const { return static_cast<QTabWidget *>(Widget()); }

TTabSheet *TPageControl::Pages(int Index) const
{
    if (Index < 0 || Index >= PageCount())
        ListIndexError(Index);
    return pages_[static_cast<size_t>(Index)];
}

void TPageControl::ControlInserted(TControl *AControl)
{
    auto *sheet = dynamic_cast<TTabSheet *>(AControl);
    if (!sheet)
        return;
    pages_.push_back(sheet);
    switching_ = true;
    const int i = Tabs()->addTab(sheet->Widget(), sheet->Caption());
    Tabs()->setTabVisible(i, sheet->tabVisible_);
    switching_ = false;
}

void TPageControl::ControlRemoving(TControl *AControl)
{
    // By address: a sheet being freed is no longer a TTabSheet to dynamic_cast.
    auto it = std::find_if(pages_.begin(), pages_.end(), [AControl](TTabSheet *p) { return static_cast<TControl *>(p) == AControl; });
    if (it == pages_.end())
        return;
    switching_ = true;
    Tabs()->removeTab(static_cast<int>(it - pages_.begin()));
    switching_ = false;
    pages_.erase(it);
}

void TPageControl::movePage(TTabSheet *page, int index)
{
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end())
        return;
    index = std::clamp(index, 0, PageCount() - 1);
    const int from = static_cast<int>(it - pages_.begin());
    pages_.erase(it);
    pages_.insert(pages_.begin() + index, page);
    switching_ = true;
    Tabs()->tabBar()->moveTab(from, index);
    switching_ = false;
}

TTabSheet *TPageControl::ActivePage() const
{
    const int i = Tabs()->currentIndex();
    return i >= 0 && i < PageCount() ? pages_[static_cast<size_t>(i)] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet *v)
{
    if (v && v->PageControl() != this)
        return;
    switching_ = true;
    Tabs()->setCurrentIndex(v ? v->PageIndex() : -1);
    switching_ = false;
}

int TPageControl::ActivePageIndex() const
{
    TTabSheet *p = ActivePage();
    return p ? p->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int v)
{
    SetActivePage(v >= 0 && v < PageCount() ? pages_[static_cast<size_t>(v)] : nullptr);
}

TTabSheet *TPageControl::FindNextPage(TTabSheet *CurrentPage, bool GoForward, bool CheckTabVisible) const
{
    const int n = PageCount();
    if (n == 0)
        return nullptr;
    int start = CurrentPage ? CurrentPage->PageIndex() : -1;
    if (start < 0)
        start = GoForward ? n - 1 : 0;
    for (int k = 1; k <= n; ++k) {
        TTabSheet *p = pages_[static_cast<size_t>(GoForward ? (start + k) % n : (start - k + n) % n)];
        if (!CheckTabVisible || p->TabVisible())
            return p;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible)
{
    TTabSheet *p = FindNextPage(ActivePage(), GoForward, CheckTabVisible);
    if (p && p != ActivePage()) {
        SetActivePage(p);
        Change();
    }
}

void TPageControl::Change()
{
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------------------------------------
// TProgressBar

TProgressBar::TProgressBar(TComponent *AOwner) : TWinControl(AOwner, new QProgressBar)
{
    bar()->setTextVisible(false);
    SetBounds(0, 0, 150, 16);
    apply();
}

QProgressBar *TProgressBar::bar() const { return static_cast<QProgressBar *>(Widget()); }

void TProgressBar::apply()
{
    bar()->setRange(min_, std::max(min_, max_));
    bar()->setValue(position_);
}

void TProgressBar::SetMin(int v)
{
    min_ = v;
    position_ = std::max(position_, min_);
    apply();
}

void TProgressBar::SetMax(int v)
{
    max_ = v;
    position_ = std::min(position_, std::max(max_, min_));
    apply();
}

void TProgressBar::SetPosition(int v)
{
    position_ = std::clamp(v, min_, std::max(min_, max_));
    apply();
}

void TProgressBar::StepIt()
{
    int p = position_ + step_;
    const int span = max_ - min_;
    if (p > max_)
        p = span > 0 ? min_ + (p - min_) % span : min_;
    else if (p < min_)
        p = span > 0 ? max_ - (max_ - p) % span : min_;
    position_ = p;
    apply();
}

void TProgressBar::StepBy(int Delta)
{
    SetPosition(position_ + Delta);
}

void TProgressBar::SetOrientation(TProgressBarOrientation v)
{
    orientation_ = v;
    bar()->setOrientation(v == pbHorizontal ? Qt::Horizontal : Qt::Vertical);
}

// ---------------------------------------------------------------------------------------------
// TTrackBar

TTrackBar::TTrackBar(TComponent *AOwner) : TWinControl(AOwner, new QSlider(Qt::Horizontal))
{
    SetTabStop(true);
    SetBounds(0, 0, 150, 45);
    Slider()->setRange(0, 10);
    Slider()->setPageStep(2);
    Slider()->setTickInterval(1);
    applyTicks();
    QObject::connect(Slider(), &QSlider::valueChanged, SignalContext(), [this](int) { SafeCall(this, [this] { Changed(); }); });
}

QSlider *TTrackBar::Slider() const { return static_cast<QSlider *>(Widget()); }

int TTrackBar::Min() const { return Slider()->minimum(); }
void TTrackBar::SetMin(int v) { Slider()->setMinimum(v); }
int TTrackBar::Max() const { return Slider()->maximum(); }
void TTrackBar::SetMax(int v) { Slider()->setMaximum(v); }
int TTrackBar::Position() const { return Slider()->value(); }
void TTrackBar::SetPosition(int v) { Slider()->setValue(v); }
int TTrackBar::Frequency() const { return Slider()->tickInterval(); }
void TTrackBar::SetFrequency(int v) { Slider()->setTickInterval(v); }
int TTrackBar::LineSize() const { return Slider()->singleStep(); }
void TTrackBar::SetLineSize(int v) { Slider()->setSingleStep(v); }
int TTrackBar::PageSize() const { return Slider()->pageStep(); }
void TTrackBar::SetPageSize(int v) { Slider()->setPageStep(v); }

void TTrackBar::SetOrientation(TTrackBarOrientation v)
{
    orientation_ = v;
    Slider()->setOrientation(v == trHorizontal ? Qt::Horizontal : Qt::Vertical);
    applyTicks();
}

void TTrackBar::SetTickMarks(TTickMark v)
{
    tickMarks_ = v;
    applyTicks();
}

void TTrackBar::SetTickStyle(TTickStyle v)
{
    tickStyle_ = v;
    applyTicks();
}

void TTrackBar::applyTicks()
{
    if (tickStyle_ == tsNone) {
        Slider()->setTickPosition(QSlider::NoTicks);
        return;
    }
    switch (tickMarks_) {
    case tmTopLeft: Slider()->setTickPosition(QSlider::TicksAbove); break;
    case tmBoth: Slider()->setTickPosition(QSlider::TicksBothSides); break;
    default: Slider()->setTickPosition(QSlider::TicksBelow); break;
    }
}

void TTrackBar::Changed()
{
    if (OnChange)
        OnChange(this);
}
