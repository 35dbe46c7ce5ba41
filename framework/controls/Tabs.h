#pragma once
// A row of tabs without pages.
#include "framework/controls/Controls.h"
#include "framework/rtl/Strings.h"
#include <memory>

class QTabBar;

using TTabChangeEvent = std::function<void(TObject *Sender, int NewTab, bool &AllowChange)>;

class TTabSet : public TCustomControl
{
public:
    explicit TTabSet(TComponent *AOwner);
    ~TTabSet() override;
    TStrings *Tabs() const { return tabs_.get(); }
    void SetTabs(TStrings *v) { tabs_->Assign(v); }
    int TabIndex() const { return tabIndex_; }
    // Asks OnChange first; a change clicks the tab set. Raises EListError out of range.
    void SetTabIndex(int v);
    bool SoftTop() const { return softTop_; }
    void SetSoftTop(bool v) { softTop_ = v; }
    TColor SelectedColor() const { return selectedColor_; }
    void SetSelectedColor(TColor v);
    TColor UnselectedColor() const { return unselectedColor_; }
    void SetUnselectedColor(TColor v);
    bool DitherBackground() const { return dither_; }
    void SetDitherBackground(bool v) { dither_ = v; }
    TColor BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor v);
    QTabBar *Bar() const { return bar_; }

    TTabChangeEvent OnChange;

protected:
    virtual bool CanChange(int NewIndex);
    void Resize() override;

private:
    void tabsChanged();
    void applyLook();
    std::unique_ptr<TStringList> tabs_;
    QTabBar *bar_;
    int tabIndex_ = -1;
    bool softTop_ = false;
    bool dither_ = true;
    bool syncing_ = false;
    TColor selectedColor_ = clBtnFace;
    TColor unselectedColor_ = clWindow;
    TColor backgroundColor_ = clBtnFace;
};
