#pragma once
// Page controls, tab sheets, progress bars and track bars.
#include "framework/controls/Controls.h"
#include <vector>

class QProgressBar;
class QSlider;
class QTabWidget;
class TPageControl;

class TTabSheet : public TWinControl
{
public:
    explicit TTabSheet(TComponent *AOwner);
    ~TTabSheet() override;
    TPageControl *PageControl() const;
    void SetPageControl(TPageControl *v);
    int PageIndex() const;
    void SetPageIndex(int v);
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool v);
    // The index among the visible tabs, -1 when hidden.
    int TabIndex() const;

protected:
    void ApplyText(const QString &v) override;

private:
    friend class TPageControl;
    bool tabVisible_ = true;
};

class TPageControl : public TWinControl
{
public:
    explicit TPageControl(TComponent *AOwner);
    ~TPageControl() override;
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet *Pages(int Index) const;
    TTabSheet *ActivePage() const;
    void SetActivePage(TTabSheet *v);
    int ActivePageIndex() const;
    void SetActivePageIndex(int v);
    // The next visible page after (or before) CurrentPage, wrapping round.
    TTabSheet *FindNextPage(TTabSheet *CurrentPage, bool GoForward, bool CheckTabVisible) const;
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);
    QTabWidget *Tabs() const;

    // The user moved to another tab.
    TNotifyEvent OnChange;

protected:
    void ControlInserted(TControl *AControl) override;
    void ControlRemoving(TControl *AControl) override;
    virtual void Change();

private:
    friend class TTabSheet;
    void movePage(TTabSheet *page, int index);
    std::vector<TTabSheet *> pages_;
    bool switching_ = false;
};

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl
{
public:
    explicit TProgressBar(TComponent *AOwner);
    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Position() const { return position_; }
    // Clamped to Min..Max.
    void SetPosition(int v);
    int Step() const { return step_; }
    void SetStep(int v) { step_ = v; }
    // Advances by Step; past Max it starts over from Min, as the platform's bar does.
    void StepIt();
    // Advances by Delta, clamped.
    void StepBy(int Delta);
    TProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation v);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool v) { smooth_ = v; }

private:
    void apply();
    QProgressBar *bar() const;
    int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
    TProgressBarOrientation orientation_ = pbHorizontal;
    bool smooth_ = false;
};

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

class TTrackBar : public TWinControl
{
public:
    explicit TTrackBar(TComponent *AOwner);
    int Min() const;
    void SetMin(int v);
    int Max() const;
    void SetMax(int v);
    int Position() const;
    void SetPosition(int v);
    int Frequency() const;
    void SetFrequency(int v);
    int LineSize() const;
    void SetLineSize(int v);
    int PageSize() const;
    void SetPageSize(int v);
    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation v);
    TTickMark TickMarks() const { return tickMarks_; }
    void SetTickMarks(TTickMark v);
    TTickStyle TickStyle() const { return tickStyle_; }
    void SetTickStyle(TTickStyle v);
    QSlider *Slider() const;

    // Position changed, by the user or the code.
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
    LRESULT GetDlgCode() const override { return DLGC_WANTARROWS; }

private:
    void applyTicks();
    TTrackBarOrientation orientation_ = trHorizontal;
    TTickMark tickMarks_ = tmBottomRight;
    TTickStyle tickStyle_ = tsAuto;
};
