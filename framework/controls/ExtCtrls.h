#pragma once
// Panels, radio groups, images and timers.
#include "framework/controls/StdCtrls.h"
#include <memory>
#include <vector>

class QRadioButton;
class QTimer;

class TCustomPanel : public TCustomControl
{
public:
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut v);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut v);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    void AdjustClientRect(TRect &Rect) const override;

protected:
    explicit TCustomPanel(TComponent *AOwner);
    void Paint() override;
    void ApplyText(const QString &v) override;

private:
    void changed();
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel
{
public:
    explicit TPanel(TComponent *AOwner) : TCustomPanel(AOwner) {}
};

// A group of radio buttons, one per item.
class TRadioGroup : public TCustomGroupBox
{
public:
    explicit TRadioGroup(TComponent *AOwner);
    ~TRadioGroup() override;

    TStrings *Items() const { return items_.get(); }
    void SetItems(TStrings *v) { items_->Assign(v); }
    int ItemIndex() const { return itemIndex_; }
    // Values past the last item select the last one; below -1, none. A change clicks the group.
    void SetItemIndex(int v);
    int Columns() const { return columns_; }
    void SetColumns(int v);
    // The radio button widget of an item (for tests and painting).
    QRadioButton *Buttons(int Index) const;

protected:
    void Resize() override;

private:
    void itemsChanged();
    void arrange();
    void buttonClicked(int Index);
    std::unique_ptr<TStringList> items_;
    std::vector<QRadioButton *> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

class TImage : public TGraphicControl
{
public:
    explicit TImage(TComponent *AOwner);
    ~TImage() override;
    TPicture *Picture() const { return picture_.get(); }
    void SetPicture(TPicture *v) { picture_->Assign(v); }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v) { stretch_ = v; Invalidate(); }
    bool Center() const { return center_; }
    void SetCenter(bool v) { center_ = v; Invalidate(); }
    bool Proportional() const { return proportional_; }
    void SetProportional(bool v) { proportional_ = v; Invalidate(); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) { transparent_ = v; Invalidate(); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    // Where the picture goes inside the control.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void pictureChanged();
    std::unique_ptr<TPicture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
};

class TTimer : public TComponent
{
public:
    explicit TTimer(TComponent *AOwner);
    ~TTimer() override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    Cardinal Interval() const { return interval_; }
    void SetInterval(Cardinal v);
    // Fires every Interval ms while Enabled and Interval is not 0.
    TNotifyEvent OnTimer;
    // The timer's window: each WM_TIMER is one tick, which fires the timer while it is enabled
    // with a non-zero interval (a stopped timer gets no ticks). Tests deliver ticks here.
    void WndProc(TMessage &Message);

protected:
    virtual void Timer();

private:
    void update();
    std::unique_ptr<QTimer> timer_;
    bool enabled_ = true;
    Cardinal interval_ = 1000;
};
