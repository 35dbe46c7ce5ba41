#pragma once
// Forms, the application object and the screen.
#include "framework/controls/Controls.h"
#include <QStringList>
#include <memory>
#include <new>
#include <vector>

class QEventLoop;
class TMainMenu;

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
    poMainFormCenter, poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

using TCloseEvent = std::function<void(TObject *Sender, TCloseAction &Action)>;
using TCloseQueryEvent = std::function<void(TObject *Sender, bool &CanClose)>;

class TScrollingWinControl;

// One scroll bar of a scrolling control: where the view stands (Position), how far the content
// reaches (Range) and how a click on the bar moves it. The bar shows while Visible and the range
// exceeds the client area.
class TControlScrollBar : public TPersistent
{
public:
    TControlScrollBar(TScrollingWinControl *AControl, bool AVertical) : control_(AControl), vertical_(AVertical) {}
    void Assign(TPersistent *Source) override;

    bool Vertical() const { return vertical_; }
    // What a line step moves.
    int Increment() const { return increment_; }
    void SetIncrement(int v) { increment_ = v < 1 ? 1 : v; }
    // Room kept beyond a control that is scrolled into view.
    int Margin() const { return margin_; }
    void SetMargin(int v) { margin_ = v < 0 ? 0 : v; }
    // Kept within 0 .. Range less the client extent; a change scrolls the children.
    int Position() const { return position_; }
    void SetPosition(int v);
    // The content's extent; with AutoScroll the control sets it from its children.
    int Range() const { return range_; }
    void SetRange(int v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    // A dragged thumb scrolls at once rather than when it is released.
    bool Tracking() const { return tracking_; }
    void SetTracking(bool v) { tracking_ = v; }
    bool IsScrollBarVisible() const;

private:
    friend class TScrollingWinControl;
    TScrollingWinControl *control_;
    bool vertical_;
    int increment_ = 8;
    int margin_ = 0;
    int position_ = 0;
    int range_ = 0;
    bool visible_ = true;
    bool tracking_ = false;
    bool shown_ = false;
};

// A windowed control whose children scroll: the bars appear when the children reach beyond the
// client area (AutoScroll) or beyond a range set by hand, and moving a bar moves the children.
// What a user does with a bar arrives as WM_HSCROLL / WM_VSCROLL.
class TScrollingWinControl : public TWinControl
{
public:
    explicit TScrollingWinControl(TComponent *AOwner);
    ~TScrollingWinControl() override;

    TControlScrollBar *HorzScrollBar() const { return horz_.get(); }
    void SetHorzScrollBar(TControlScrollBar *v) { horz_->Assign(v); }
    TControlScrollBar *VertScrollBar() const { return vert_.get(); }
    void SetVertScrollBar(TControlScrollBar *v) { vert_->Assign(v); }
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool v);
    // Moves every child by the given amounts.
    void ScrollBy(int DeltaX, int DeltaY);
    // Scrolls so that AControl (a child) shows whole, with the bars' margins.
    void ScrollInView(TControl *AControl);

    void Dispatch(TMessage &Message) override;

protected:
    void AlignControls(TControl *AControl, TRect &Rect) override;
    // Unless a handler takes it, a wheel notch scrolls three lines vertically (horizontally
    // without a vertical bar).
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    virtual void WMHScroll(TMessage &Message) { scrollMessage(*horz_, Message); }
    virtual void WMVScroll(TMessage &Message) { scrollMessage(*vert_, Message); }
    // Shows or hides the bars for the ranges and the size, and keeps the positions in range.
    void UpdateScrollBars();

private:
    friend class TControlScrollBar;
    void scrollMessage(TControlScrollBar &Bar, TMessage &Message);
    void calcAutoRange();
    void syncBar(TControlScrollBar &Bar);
    int clientExtent(const TControlScrollBar &Bar) const;

    std::unique_ptr<TControlScrollBar> horz_;
    std::unique_ptr<TControlScrollBar> vert_;
    bool autoScroll_ = true;
    bool updating_ = false;
    bool syncing_ = false;
    bool inBarAction_ = false;
};

class TCustomForm : public TWinControl
{
public:
    explicit TCustomForm(TComponent *AOwner);
    ~TCustomForm() override;

    // Runs OnCreate; the application calls it once the constructor has finished.
    virtual void AfterConstruction();
    // Runs OnDestroy while the form is still whole; the application calls it before freeing.
    virtual void BeforeDestruction();

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle v);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(const TBorderIcons &v);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition v) { position_ = v; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle v);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState v);
    const TFormState &FormState() const { return formState_; }

    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult v);
    TWinControl *ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl *v);
    // CM_CANCELMODE to the active control, LParam Sender.
    void SendCancelMode(TControl *Sender);
    TMainMenu *Menu() const { return menu_; }
    void SetMenu(TMainMenu *v);
    bool Active() const;
    // The window this one belongs to (0: none): the form stays above it, and GetParent answers
    // it for the form.
    HWND WndParent() const { return wndParent_; }
    void SetWndParent(HWND v);

    void SetVisible(bool v) override;
    // Shows the form and brings it to the front.
    void Show();
    // Shows the form modally in a nested event loop; returns the ModalResult that ended it.
    virtual int ShowModal();
    // OnCloseQuery, then OnClose; the action decides between hiding, freeing and nothing.
    // Closing the main form ends the application; closing a modal form ends ShowModal with mrCancel.
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the events in hand are done.
    void Release();
    void BringToFront();
    void SetFocus() override;
    bool CanFocus() const override;
    // Moves the focus to the next (or previous) control in tab order after CurControl.
    void SelectNext(TWinControl *CurControl, bool GoForward, bool CheckTabStop);
    TWinControl *FindNextControl(TWinControl *CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
    // Fires the menu item whose shortcut matches the key (its item and parents enabled and visible).
    virtual bool IsShortCut(Word Key, TShiftState Shift);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnPaint;

    void Dispatch(TMessage &Message) override;
    QWidget *ClientWidget() const override { return client_; }
    TRect ClientRect() const override;
    // Valid inside OnPaint.
    TCanvas *Canvas();

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    QString GetText() const override;
    void ApplyText(const QString &v) override;
    void LayoutWidget() override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction &Action);
    void Paint() override;
    void WMPaint(TMessage &Message) override;
    virtual void CMDialogKey(TMessage &Message);
    // WM_ACTIVATE, from the window system's activation changes: the form's OnActivate or
    // OnDeactivate.
    virtual void WMActivate(TMessage &Message);
    bool QtEvent(QEvent *e) override;

private:
    friend class TControlBridge;
    friend class TWinControl;
    friend class TApplication;
    void applyWindowFlags();
    void placeOnShow();
    bool closeModal();
    void focusActiveControl();
    void applyWndParent();
    // Sizing by dragging an edge or corner that WM_NCHITTEST answered for a press.
    bool sizingMouse(TMessage &Message);
    void beginSizing(LRESULT HitTest, const TPoint &ScreenPos);

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    TFormState formState_;
    bool keyPreview_ = false;
    TModalResult modalResult_ = mrNone;
    TWinControl *activeControl_ = nullptr;
    TWinControl *entered_ = nullptr;
    TMainMenu *menu_ = nullptr;
    QEventLoop *modalLoop_ = nullptr;
    QWidget *client_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
    bool created_ = false;
    bool destroyed_ = false;
    bool placed_ = false;
    HWND wndParent_ = 0;
    LRESULT sizingEdge_ = HTNOWHERE;
    TPoint sizingStart_;
    TRect sizingRect_;
    bool sizingCursor_ = false;
};

class TForm : public TCustomForm
{
public:
    explicit TForm(TComponent *AOwner) : TCustomForm(AOwner) {}
};

using TExceptionEvent = std::function<void(TObject *Sender, const Exception &E)>;

// Message box flags and answers of the platform's MessageBox.
constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_OKCANCEL = 0x1;
constexpr uint32_t MB_ABORTRETRYIGNORE = 0x2;
constexpr uint32_t MB_YESNOCANCEL = 0x3;
constexpr uint32_t MB_YESNO = 0x4;
constexpr uint32_t MB_RETRYCANCEL = 0x5;
constexpr uint32_t MB_ICONHAND = 0x10;
constexpr uint32_t MB_ICONSTOP = 0x10;
constexpr uint32_t MB_ICONERROR = 0x10;
constexpr uint32_t MB_ICONQUESTION = 0x20;
constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
constexpr uint32_t MB_ICONWARNING = 0x30;
constexpr uint32_t MB_ICONASTERISK = 0x40;
constexpr uint32_t MB_ICONINFORMATION = 0x40;
constexpr uint32_t MB_DEFBUTTON1 = 0x000;
constexpr uint32_t MB_DEFBUTTON2 = 0x100;
constexpr uint32_t MB_DEFBUTTON3 = 0x200;
constexpr uint32_t MB_APPLMODAL = 0x0000;
constexpr uint32_t MB_TASKMODAL = 0x2000;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;


class TApplication : public TComponent
{
public:
    TApplication();
    ~TApplication() override;

    void Initialize() {}
    const QString &Title() const { return title_; }
    void SetTitle(const QString &v);
    QString ExeName() const;

    // Creates a form owned by the application. Reference is set before the constructor runs,
    // so the form's own code can already use its global variable; the first form becomes
    // the main form.
    template <typename T>
    void CreateForm(T *&Reference)
    {
        void *mem = ::operator new(sizeof(T));
        Reference = static_cast<T *>(mem);
        T *form;
        try {
            form = new (mem) T(this);
        } catch (...) {
            Reference = nullptr;
            ::operator delete(mem);
            throw;
        }
        formCreated(form);
    }

    TCustomForm *MainForm() const { return mainForm_; }
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool v) { showMainForm_ = v; }
    // Shows the main form and runs the event loop until Terminate or the main form closes.
    void Run();
    void ProcessMessages();
    // Waits for and handles at least one event.
    void HandleMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Shows a message box through the dialog seam; returns IDOK, IDYES... .
    int MessageBox(const QString &Text, const QString &Caption = QString(), uint32_t Flags = MB_OK);
    // Handles the exception in flight (call inside a catch block): OnException when set,
    // else ShowException; EAbort is silent.
    void HandleException(TObject *Sender);
    void ShowException(const Exception &E);

    void BringToFront();
    void Minimize();
    void Restore();

    const QString &Hint() const { return hint_; }
    void SetHint(const QString &v);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v) { showHint_ = v; }
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor v) { hintColor_ = v; }
    int HintPause() const { return hintPause_; }
    void SetHintPause(int v) { hintPause_ = v; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int v) { hintHidePause_ = v; }
    THintWindowClass HintWindowClass;

    TExceptionEvent OnException;
    TNotifyEvent OnHint;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

    // Frees every form (OnDestroy first); runs before Qt shuts down.
    void DestroyForms();
    // Shows the hint of Control for the mouse at CursorPos (client coordinates), after the
    // control's CM_HINTSHOW; HideHint takes it away.
    void ActivateHint(TControl *Control, const TPoint &CursorPos);
    void HideHint();
    THintWindow *HintWindow() const { return hintWindow_; }

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    friend class TCustomForm;
    void formCreated(TCustomForm *form);
    QString title_;
    TCustomForm *mainForm_ = nullptr;
    bool showMainForm_ = true;
    bool terminated_ = false;
    QString hint_;
    bool showHint_ = true;
    TColor hintColor_ = clInfoBk;
    int hintPause_ = 500;
    int hintHidePause_ = 2500;
    QEventLoop *loop_ = nullptr;
    THintWindow *hintWindow_ = nullptr;
    TControl *hintControl_ = nullptr;
};

enum TMonitorDefaultTo { mdNearest, mdNull, mdPrimary };

// One display of the desktop.
class TMonitor
{
public:
    int MonitorNum() const { return num_; }
    bool Primary() const { return num_ == 0; }
    TRect BoundsRect() const { return bounds_; }
    // The part of the display that windows may take (without task bars and panels).
    TRect WorkareaRect() const { return workarea_; }

private:
    friend class TScreen;
    int num_ = 0;
    TRect bounds_;
    TRect workarea_;
};

class TScreen : public TComponent
{
public:
    TScreen();
    // The cursor shown over the whole application; crDefault lets each control show its own.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor v);
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm *Forms(int Index) const;
    int CustomFormCount() const { return FormCount(); }
    TCustomForm *CustomForms(int Index) const { return Forms(Index); }
    TCustomForm *ActiveForm() const;
    TWinControl *ActiveControl() const;
    int Width() const;
    int Height() const;
    int PixelsPerInch() const { return 96; }
    int MonitorCount() const;
    // Display Index (0 is the primary one); nullptr outside the list.
    TMonitor *Monitors(int Index) const;
    // The display that holds Point, or by Default the nearest, none or the primary one.
    TMonitor *MonitorFromPoint(const TPoint &Point, TMonitorDefaultTo Default = mdNearest) const;
    // The work area of the primary display.
    TRect WorkAreaRect() const;
    const QStringList &Fonts() const;

private:
    friend class TCustomForm;
    std::vector<TCustomForm *> forms_;
    TCursor cursor_ = crDefault;
    mutable QStringList fonts_;
    mutable std::vector<std::unique_ptr<TMonitor>> monitors_;
};

extern TApplication *Application;
extern TScreen *Screen;
