#pragma once
// Controls: every control wraps one Qt widget; Qt events reach it as window messages.
//
// Ownership: a control's widget belongs to the control, never the other way round. A
// TWinControl frees its child controls when it is freed (each child deletes its own widget,
// which leaves the parent widget's children by itself), then deletes its own widget. Qt never
// deletes a widget that a control still holds.
#include "framework/controls/Messages.h"
#include "framework/graphics/Graphics.h"
#include "framework/rtl/Classes.h"
#include <QCursor>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QWidget;
class QEvent;
class TControl;
class TWinControl;
class TCustomForm;
class TPopupMenu;
class TControlBridge;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrClose = 8;
constexpr TModalResult mrHelp = 9;
constexpr TModalResult mrTryAgain = 10;
constexpr TModalResult mrContinue = 11;
constexpr TModalResult mrAll = 12;
constexpr TModalResult mrNoToAll = 13;
constexpr TModalResult mrYesToAll = 14;
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

enum TControlStyleItem {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
    csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
    csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents
};
using TControlStyle = TSet<TControlStyleItem>;
enum TControlStateItem {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
    csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = TSet<TControlStateItem>;

using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;

// The Qt cursor of a cursor number (crDefault gives the arrow).
QCursor CursorToQCursor(TCursor c);

using TMouseEvent = std::function<void(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject *Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject *Sender, Word &Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject *Sender, QChar &Key)>;
using TMouseWheelEvent = std::function<void(TObject *Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool &Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject *Sender, TShiftState Shift, TPoint MousePos, bool &Handled)>;

// Smallest and largest size a control may take; 0 leaves that side free. A change re-applies the
// control's bounds.
class TSizeConstraints : public TPersistent
{
public:
    explicit TSizeConstraints(TControl *AControl) : control_(AControl) {}
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int v) { set(minWidth_, v); }
    int MinHeight() const { return minHeight_; }
    void SetMinHeight(int v) { set(minHeight_, v); }
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int v) { set(maxWidth_, v); }
    int MaxHeight() const { return maxHeight_; }
    void SetMaxHeight(int v) { set(maxHeight_, v); }
    void Assign(TPersistent *Source) override;
    // Width and height kept within the limits.
    void Apply(int &AWidth, int &AHeight) const;

private:
    void set(int &field, int v);
    TControl *control_;
    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};

// Runs f inside the exception barrier: an exception that leaves it goes to
// Application->HandleException(Sender) instead of unwinding through Qt.
void SafeCall(TObject *Sender, const std::function<void()> &f);

class TControl : public TComponent
{
public:
    ~TControl() override;

    // The widget behind the control, and the one that holds its client area (a scroll area's
    // viewport; the widget itself otherwise).
    QWidget *Widget() const { return widget_; }
    virtual QWidget *ClientWidget() const;

    TWinControl *Parent() const { return parent_; }
    virtual void SetParent(TWinControl *AParent);
    // The form the control sits on, or nullptr.
    TCustomForm *GetParentForm() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect &r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    TPoint ClientOrigin() const;
    TPoint ScreenToClient(const TPoint &p) const;
    TPoint ClientToScreen(const TPoint &p) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign v);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(const TAnchors &v);
    TSizeConstraints *Constraints() const { return constraints_.get(); }
    void SetConstraints(TSizeConstraints *v) { constraints_->Assign(v); }

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to the form showing too.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);

    TColor Color() const { return color_; }
    void SetColor(TColor v);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    TFont *Font() const { return font_.get(); }
    void SetFont(TFont *v) { font_->Assign(v); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);

    QString Caption() const { return GetText(); }
    void SetCaption(const QString &v) { SetText(v); }
    QString Text() const { return GetText(); }
    void SetText(const QString &v);
    const QString &Hint() const { return hint_; }
    void SetHint(const QString &v);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor v);
    TPopupMenu *PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu *v);

    const TControlStyle &ControlStyle() const { return controlStyle_; }
    void SetControlStyle(const TControlStyle &v) { controlStyle_ = v; }
    const TControlState &ControlState() const { return controlState_; }
    void SetControlState(const TControlState &v) { controlState_ = v; }

    bool MouseCapture() const;
    void SetMouseCapture(bool v);

    virtual void Invalidate();
    virtual void Repaint();
    virtual void Update();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // Dispatches a message at once and returns its result.
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void WndProc(TMessage &Message);
    // Runs the handler of Message.Msg; unknown messages reach DefaultHandler.
    virtual void Dispatch(TMessage &Message);
    // What the platform does with a message nobody handled: the widget's own processing of
    // the Qt event it came from, or of an equivalent event for key messages sent by code.
    virtual void DefaultHandler(TMessage &Message);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;

    virtual void Click();
    virtual void DblClick();

    TControlBridge *Bridge() const { return bridge_.get(); }
    // The receiver to connect widget signals to: they stop when the control starts to go.
    QObject *SignalContext() const;

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    // AWidget is adopted; nullptr gives a plain QWidget.
    TControl(TComponent *AOwner, QWidget *AWidget);

    virtual QString GetText() const { return text_; }
    // Puts the text on the widget; Text() must answer it afterwards.
    virtual void ApplyText(const QString &v) { text_ = v; }
    // The palette role that Color paints (the background of plain controls, the base of edits).
    virtual int ColorRole() const;
    virtual void ApplyColor();
    virtual void ApplyFont();
    virtual void VisibleChanging() {}
    // Qt events that have no message (window close, activation...); true consumes the event.
    virtual bool QtEvent(QEvent *e) { return false; }
    // Places the widget's inner parts after a size change (a form's menu bar and client area).
    virtual void LayoutWidget() {}
    void InitVisible(bool v) { visible_ = v; }

    // A left press tells the focused control of every form around this one (CM_CANCELMODE,
    // LParam the pressed control), so that an open drop-down list can close.
    void SendCancelMode(TControl *Sender);
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Resize();
    virtual void Paint() {}

    // Message handlers reached through Dispatch.
    virtual void WMMouseDown(TMessage &Message, TMouseButton Button);
    virtual void WMMouseUp(TMessage &Message, TMouseButton Button);
    virtual void WMMouseMove(TMessage &Message);
    virtual void WMDblClk(TMessage &Message, TMouseButton Button);
    virtual void WMMouseWheel(TMessage &Message);
    virtual void WMSize(TMessage &Message);
    virtual void WMPaint(TMessage &Message);

    // Sets the bounds without touching the anchor memory (used by alignment).
    void UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight, bool fromAlign);
    void RequestParentAlign();
    void ParentColorChanged();
    void ParentFontChanged();
    void SetTextRaw(const QString &v) { text_ = v; }
    // Inside WM_PAINT: the widget paints itself now instead of after the handlers return, so
    // that a handler can draw over it (with a TControlCanvas) afterwards.
    void DefaultPaint(TMessage &Message);
    bool IsDestroying() const { return ComponentState().Contains(csDestroying) || tearingDown_; }
    // Stops event translation before the derived parts go away.
    void DetachBridge();

    QPointer<QWidget> widget_;
    std::unique_ptr<TControlBridge> bridge_;
    bool tearingDown_ = false;

private:
    friend class TWinControl;
    friend class TControlBridge;
    void fontChanged();

    TWinControl *parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    // Anchor memory: the bounds set by hand and the parent's client size at that time.
    TRect anchorRect_;
    TSize anchorParent_;
    TAlign align_ = alNone;
    TAnchors anchors_{akLeft, akTop};
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TSizeConstraints> constraints_;
    bool parentFont_ = true;
    bool applyingParentFont_ = false;
    QString text_;
    QString hint_;
    bool showHint_ = false;
    TCursor cursor_ = crDefault;
    TPopupMenu *popupMenu_ = nullptr;
    TControlStyle controlStyle_;
    TControlState controlState_;
    int wheelAccumulator_ = 0;
};

class TWinControl : public TControl
{
public:
    ~TWinControl() override;

    // A process-unique number naming the control for SendMessage, PostMessage and SetTimer;
    // made on first use.
    HWND Handle() const;
    bool HandleAllocated() const { return handle_ != 0; }
    void HandleNeeded() const { Handle(); }

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl *Controls(int Index) const;
    void InsertControl(TControl *AControl);
    void RemoveControl(TControl *AControl);
    bool ContainsControl(TControl *Control) const;

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v);
    int TabOrder() const;
    void SetTabOrder(int v);
    // Child windowed controls in tab order.
    void GetTabOrderList(std::vector<TWinControl *> &List) const;

    virtual bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;

    // Lays out the children by Align and Anchors within the client area.
    void Realign();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign() { if (--alignDisabled_ == 0) Realign(); }
    // The part of the client area that aligned children share (a panel's bevels, a group's caption).
    virtual void AdjustClientRect(TRect &Rect) const {}

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    void Dispatch(TMessage &Message) override;
    void DefaultHandler(TMessage &Message) override;

protected:
    TWinControl(TComponent *AOwner, QWidget *AWidget);

    virtual void AlignControls(TControl *AControl, TRect &Rect);
    // A child's widget has just been placed in ClientWidget (a page control moves it into a tab).
    virtual void ControlInserted(TControl *AControl) {}
    virtual void ControlRemoving(TControl *AControl) {}
    virtual void KeyDown(Word &Key, TShiftState Shift);
    virtual void KeyUp(Word &Key, TShiftState Shift);
    virtual void KeyPress(QChar &Key);
    // Key messages go through these first; the form with KeyPreview sees the key before the control.
    // They return true when the key was consumed.
    virtual bool DoKeyDown(TMessage &Message);
    virtual bool DoKeyPress(TMessage &Message);
    virtual bool DoKeyUp(TMessage &Message);
    virtual void DoEnter();
    virtual void DoExit();
    // Which keys the control keeps from the dialog (WM_GETDLGCODE answer).
    virtual LRESULT GetDlgCode() const { return 0; }

    virtual void WMKeyDown(TMessage &Message);
    virtual void WMKeyUp(TMessage &Message);
    virtual void WMChar(TMessage &Message);
    virtual void WMSetFocus(TMessage &Message);
    virtual void WMKillFocus(TMessage &Message);
    virtual void CMEnter(TMessage &Message);
    virtual void CMExit(TMessage &Message);
    virtual void WMTimer(TMessage &Message) { DefaultHandler(Message); }
    // Paints the visible child controls from First on (all of them when First is not a child)
    // onto Canvas at their places, as they would paint themselves.
    void PaintControls(TCanvas *Canvas, TControl *First);

    // Controls without a native widget behaviour (custom-painted ones) keep Qt from handling
    // their key and mouse input a second time.
    bool nativeInput_ = true;
    // Whether a click gives the control the focus (it does by default). A control that decides
    // itself where a click puts the focus turns it off; the click then focuses nothing by itself.
    void SetClickFocus(bool v);

private:
    friend class TControl;
    friend class TControlBridge;
    std::vector<TControl *> controls_;
    std::vector<TWinControl *> tabList_;
    bool tabStop_ = false;
    bool clickFocus_ = true;
    mutable HWND handle_ = 0;
    int alignDisabled_ = 0;
    bool aligning_ = false;
};

// A windowed control that paints itself: Canvas is valid inside Paint.
class TCustomControl : public TWinControl
{
public:
    explicit TCustomControl(TComponent *AOwner);
    ~TCustomControl() override;
    TCanvas *Canvas() const { return canvas_.get(); }

protected:
    // For derived controls that bring their own widget (a scroll area, for example).
    TCustomControl(TComponent *AOwner, QWidget *AWidget);
    void WMPaint(TMessage &Message) override;

private:
    void init();
    std::unique_ptr<TCanvas> canvas_;
};

class THintWindow;
using THintWindowClass = std::function<THintWindow *(TComponent *AOwner)>;

// What CM_HINTSHOW hands to a control (LParam points to it): the control may change the
// text, where it shows and the window class, or answer non-zero to show no hint.
struct THintInfo
{
    TControl *HintControl = nullptr;
    THintWindowClass HintWindowClass;
    TPoint HintPos;        // screen coordinates
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;
    TPoint CursorPos;      // client coordinates
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    QString HintStr;
    void *HintData = nullptr;
};

// The small window that shows a hint; sized to its text.
class THintWindow : public TCustomControl
{
public:
    explicit THintWindow(TComponent *AOwner);
    // The rectangle (0, 0, w, h) the text needs within MaxWidth.
    virtual TRect CalcHintRect(int MaxWidth, const QString &AHint, void *AData);
    // Shows the hint at Rect (screen coordinates) without taking the focus.
    virtual void ActivateHint(const TRect &Rect, const QString &AHint);
    virtual void ActivateHintData(const TRect &Rect, const QString &AHint, void *AData) { ActivateHint(Rect, AHint); }
    // Hides the window.
    virtual void ReleaseHandle();

protected:
    void Paint() override;
};

// The part of a hint before '|'.
QString GetShortHint(const QString &Hint);
QString GetLongHint(const QString &Hint);

// A control without keyboard focus that paints itself.
class TGraphicControl : public TControl
{
public:
    explicit TGraphicControl(TComponent *AOwner);
    ~TGraphicControl() override;
    TCanvas *Canvas() const { return canvas_.get(); }

protected:
    TGraphicControl(TComponent *AOwner, QWidget *AWidget);
    void WMPaint(TMessage &Message) override;
    // Native widgets (a label) paint themselves; self-painted ones paint through Paint.
    bool selfPainted_ = true;

private:
    std::unique_ptr<TCanvas> canvas_;
};

// A canvas on a control's client area, for drawing over what the control painted itself; it
// can draw only while the control handles WM_PAINT (after DefaultPaint).
class TControlCanvas : public TCanvas
{
public:
    explicit TControlCanvas(TControl *AControl) : control_(AControl) {}
    ~TControlCanvas() override;
    TControl *Control() const { return control_; }

protected:
    QPainter *CreatePainter() override;

private:
    TControl *control_;
};

// The control behind a handle, or nullptr when it is gone.
TWinControl *FindControl(HWND Handle);
// The control that owns the widget (or one of its ancestors), or nullptr.
TControl *FindControlOfWidget(QWidget *w);

// The window above Handle: its parent control, or for a form the owner window it was given
// (TCustomForm::SetWndParent); 0 for none.
HWND GetParent(HWND Handle);

// Dispatches at once to the control behind Handle; 0 when there is none.
LRESULT SendMessage(HWND Handle, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// Queues the message through the event loop; false when the handle names no control.
bool PostMessage(HWND Handle, UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
// Starts (or restarts) timer IDEvent of the control: WM_TIMER with WParam = IDEvent every Elapse ms.
// Returns IDEvent, or 0 when the handle names no control.
UINT SetTimer(HWND Handle, UINT IDEvent, UINT Elapse, void *TimerFunc = nullptr);
bool KillTimer(HWND Handle, UINT IDEvent);

// State of a key or mouse button during the event being handled (the live state otherwise):
// negative while down.
SmallInt GetKeyState(int VirtKey);
SmallInt GetAsyncKeyState(int VirtKey);
TShiftState GetShiftState();
// Shift state of Qt modifiers and buttons.
TShiftState ShiftStateOf(Qt::KeyboardModifiers m, Qt::MouseButtons b = Qt::NoButton);
// The MK_* flags of Qt modifiers and buttons, as mouse messages carry them in WParam.
Word MouseKeysOf(Qt::KeyboardModifiers m, Qt::MouseButtons b);
// The virtual-key code of a Qt key (0 when it has none).
Word QtKeyToVirtualKey(int QtKey);
int VirtualKeyToQtKey(Word Key);

// Where the mouse pointer is, in screen coordinates; inside a mouse event, where that event
// happened.
TPoint GetCursorPos();
