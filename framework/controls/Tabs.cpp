#include "framework/controls/Tabs.h"
#include <QTabBar>

TTabSet::TTabSet(TComponent *AOwner) : TCustomControl(AOwner), tabs_(std::make_unique<TStringList>()), bar_(new QTabBar(Widget()))
{
    bar_->setShape(QTabBar::RoundedSouth);
    bar_->setDrawBase(false);
    bar_->show();
    tabs_->OnChange = [this](TObject *) { tabsChanged(); };
    QObject::connect(bar_, &QTabBar::currentChanged, SignalContext(), [this](int i) {
        if (syncing_)
            return;
        SafeCall(this, [this, i] {
            const int old = tabIndex_;
            try {
                SetTabIndex(i);
            } catch (...) {
                syncing_ = true;
                bar_->setCurrentIndex(old);
                syncing_ = false;
                throw;
            }
            if (tabIndex_ != i) {
                // Refused: the bar goes back to the tab that stays selected.
                syncing_ = true;
                bar_->setCurrentIndex(tabIndex_);
                syncing_ = false;
            }
        });
    });
    SetBounds(0, 0, 185, 21);
    applyLook();
}

TTabSet::~TTabSet()
{
    tabs_->OnChange = nullptr;
    DetachBridge();
}

void TTabSet::tabsChanged()
{
    syncing_ = true;
    while (bar_->count() > tabs_->Count())
        bar_->removeTab(bar_->count() - 1);
    for (int i = 0; i < tabs_->Count(); ++i) {
        if (i < bar_->count())
            bar_->setTabText(i, tabs_->Get(i));
        else
            bar_->addTab(tabs_->Get(i));
    }
    if (tabIndex_ >= tabs_->Count())
        tabIndex_ = tabs_->Count() - 1;
    bar_->setCurrentIndex(tabIndex_);
    syncing_ = false;
}

bool TTabSet::CanChange(int NewIndex)
{
    bool allow = true;
    if (OnChange)
        OnChange(this, NewIndex, allow);
    return allow;
}

void TTabSet::SetTabIndex(int v)
{
    if (v == tabIndex_)
        return;
    if (v < -1 || v >= tabs_->Count())
        throw EListError(QStringLiteral("Tab index out of bounds"));
    if (!CanChange(v))
        return;
    tabIndex_ = v;
    syncing_ = true;
    bar_->setCurrentIndex(v);
    syncing_ = false;
    Invalidate();
    Click();
}

void TTabSet::applyLook()
{
    QPalette pal = bar_->palette();
    pal.setColor(QPalette::Button, ColorToQColor(unselectedColor_));
    pal.setColor(QPalette::Window, ColorToQColor(selectedColor_));
    bar_->setPalette(pal);
    SetColor(backgroundColor_);
}

void TTabSet::SetSelectedColor(TColor v) { selectedColor_ = v; applyLook(); }
void TTabSet::SetUnselectedColor(TColor v) { unselectedColor_ = v; applyLook(); }
void TTabSet::SetBackgroundColor(TColor v) { backgroundColor_ = v; applyLook(); }

void TTabSet::Resize()
{
    bar_->setGeometry(0, 0, Width(), Height());
    TCustomControl::Resize();
}
