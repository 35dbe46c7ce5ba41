#include "framework/controls/Controls.h"
#include "framework/controls/ControlBridge.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include <QAbstractScrollArea>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QResizeEvent>
#include <QWidget>
#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

std::unordered_map<HWND, TWinControl *> &handleMap()
{
    static std::unordered_map<HWND, TWinControl *> m;
    return m;
}
HWND g_nextHandle = 0x1000;

const char *kControlProperty = "tarvixControl";

}  // namespace

QCursor CursorToQCursor(TCursor c)
{
    switch (c) {
    case crNone: return QCursor(Qt::BlankCursor);
    case crCross: return QCursor(Qt::CrossCursor);
    case crIBeam: return QCursor(Qt::IBeamCursor);
    case crSizeNESW: return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS: return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE: return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE: return QCursor(Qt::SizeHorCursor);
    case crUpArrow: return QCursor(Qt::UpArrowCursor);
    case crHourGlass: case crSQLWait: return QCursor(Qt::WaitCursor);
    case crDrag: case crMultiDrag: return QCursor(Qt::DragCopyCursor);
    case crNoDrop: case crNo: return QCursor(Qt::ForbiddenCursor);
    case crHSplit: return QCursor(Qt::SplitHCursor);
    case crVSplit: return QCursor(Qt::SplitVCursor);
    case crAppStart: return QCursor(Qt::BusyCursor);
    case crHelp: return QCursor(Qt::WhatsThisCursor);
    case crHandPoint: return QCursor(Qt::PointingHandCursor);
    case crSizeAll: return QCursor(Qt::SizeAllCursor);
    default: return QCursor(Qt::ArrowCursor);
    }
}

void SafeCall(TObject *Sender, const std::function<void()> &f)
{
    try {
        f();
    } catch (...) {
        Application->HandleException(Sender);
    }
}

// ---------------------------------------------------------------------------------------------
// TSizeConstraints

void TSizeConstraints::set(int &field, int v)
{
    v = std::max(v, 0);
    if (v == field)
        return;
    field = v;
    if (control_)
        control_->SetBounds(control_->Left(), control_->Top(), control_->Width(), control_->Height());
}

void TSizeConstraints::Assign(TPersistent *Source)
{
    auto *c = dynamic_cast<TSizeConstraints *>(Source);
    if (!c) {
        TPersistent::Assign(Source);
        return;
    }
    minWidth_ = c->minWidth_;
    minHeight_ = c->minHeight_;
    maxWidth_ = c->maxWidth_;
    maxHeight_ = c->maxHeight_;
    if (control_)
        control_->SetBounds(control_->Left(), control_->Top(), control_->Width(), control_->Height());
}

void TSizeConstraints::Apply(int &AWidth, int &AHeight) const
{
    if (maxWidth_ > 0)
        AWidth = std::min(AWidth, maxWidth_);
    if (maxHeight_ > 0)
        AHeight = std::min(AHeight, maxHeight_);
    AWidth = std::max(AWidth, minWidth_);
    AHeight = std::max(AHeight, minHeight_);
}

// ---------------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent *AOwner, QWidget *AWidget)
    : TComponent(AOwner), widget_(AWidget ? AWidget : new QWidget), font_(std::make_unique<TFont>()),
      constraints_(std::make_unique<TSizeConstraints>(this))
{
    widget_->setProperty(kControlProperty, QVariant::fromValue(static_cast<void *>(this)));
    widget_->hide();
    widget_->setMouseTracking(true);
    widget_->setAttribute(Qt::WA_NoMousePropagation);
    bridge_ = std::make_unique<TControlBridge>(this);
    bridge_->Watch(widget_);
    width_ = widget_->width();
    height_ = widget_->height();
    controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    font_->OnChange = [this](TObject *) { fontChanged(); };
}

TControl::~TControl()
{
    DetachBridge();
    if (parent_)
        parent_->RemoveControl(this);
    if (widget_) {
        widget_->setProperty(kControlProperty, QVariant());
        delete widget_.data();
    }
}

QWidget *TControl::ClientWidget() const
{
    if (auto *sa = qobject_cast<QAbstractScrollArea *>(widget_.data()))
        return sa->viewport();
    return widget_;
}

QObject *TControl::SignalContext() const
{
    return bridge_.get();
}

void TControl::DetachBridge()
{
    tearingDown_ = true;
    if (bridge_)
        bridge_->Detach();
    bridge_.reset();
}

void TControl::Notification(TComponent *AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupMenu_)
        popupMenu_ = nullptr;
}

void TControl::SetParent(TWinControl *AParent)
{
    if (AParent == parent_)
        return;
    if (AParent == this)
        throw EInvalidOperation(QStringLiteral("A control cannot have itself as its parent"));
    if (parent_)
        parent_->RemoveControl(this);
    if (AParent)
        AParent->InsertControl(this);
}

TCustomForm *TControl::GetParentForm() const
{
    const TControl *c = this;
    while (c->parent_)
        c = c->parent_;
    return dynamic_cast<TCustomForm *>(const_cast<TControl *>(c));
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    UpdateBounds(ALeft, ATop, AWidth, AHeight, false);
}

void TControl::UpdateBounds(int ALeft, int ATop, int AWidth, int AHeight, bool fromAlign)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (constraints_)
        constraints_->Apply(AWidth, AHeight);
    if (!fromAlign) {
        anchorRect_ = Bounds(ALeft, ATop, AWidth, AHeight);
        if (parent_)
            anchorParent_ = {parent_->ClientWidth(), parent_->ClientHeight()};
    }
    const bool moved = ALeft != left_ || ATop != top_;
    const bool sized = AWidth != width_ || AHeight != height_;
    if (!moved && !sized)
        return;
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    if (widget_)
        widget_->setGeometry(ALeft, ATop, AWidth, AHeight);
    if (sized)
        LayoutWidget();
    if (sized && !IsDestroying())
        Perform(WM_SIZE, 0, MakeLParam(ClientWidth(), ClientHeight()));
    if (!fromAlign)
        RequestParentAlign();
}

void TControl::RequestParentAlign()
{
    if (parent_ && (align_ != alNone || !parent_->aligning_))
        parent_->Realign();
}

TRect TControl::ClientRect() const
{
    QWidget *cw = ClientWidget();
    if (cw && cw != widget_.data()) {
        // A scroll area lays out its viewport when it receives its resize; do it now if due.
        if (widget_->testAttribute(Qt::WA_PendingResizeEvent)) {
            QResizeEvent e(widget_->size(), QSize());
            widget_->setAttribute(Qt::WA_PendingResizeEvent, false);
            QCoreApplication::sendEvent(widget_, &e);
        }
        return Rect(0, 0, cw->width(), cw->height());
    }
    return Rect(0, 0, width_, height_);
}

void TControl::SetClientWidth(int v)
{
    SetWidth(width_ + v - ClientWidth());
}

void TControl::SetClientHeight(int v)
{
    SetHeight(height_ + v - ClientHeight());
}

TPoint TControl::ClientOrigin() const
{
    return ClientToScreen(Point(0, 0));
}

TPoint TControl::ScreenToClient(const TPoint &p) const
{
    QPoint q = ClientWidget()->mapFromGlobal(QPoint(p.X, p.Y));
    return {q.x(), q.y()};
}

TPoint TControl::ClientToScreen(const TPoint &p) const
{
    QPoint q = ClientWidget()->mapToGlobal(QPoint(p.X, p.Y));
    return {q.x(), q.y()};
}

void TControl::SetAlign(TAlign v)
{
    if (v == align_)
        return;
    align_ = v;
    if (parent_)
        parent_->Realign();
}

void TControl::SetAnchors(const TAnchors &v)
{
    anchors_ = v;
    anchorRect_ = BoundsRect();
    if (parent_)
        anchorParent_ = {parent_->ClientWidth(), parent_->ClientHeight()};
}

void TControl::SetVisible(bool v)
{
    if (v == visible_)
        return;
    VisibleChanging();
    visible_ = v;
    if (widget_ && (parent_ || !v))
        widget_->setVisible(v);
    Perform(CM_VISIBLECHANGED, v ? 1 : 0);
    if (parent_ && align_ != alNone)
        parent_->Realign();
}

bool TControl::Showing() const
{
    for (const TControl *c = this; c; c = c->parent_) {
        if (!c->visible_)
            return false;
        if (!c->parent_)
            return dynamic_cast<const TCustomForm *>(c) != nullptr || (c->widget_ && c->widget_->isVisible());
    }
    return false;
}

void TControl::SetEnabled(bool v)
{
    if (v == enabled_)
        return;
    enabled_ = v;
    if (widget_)
        widget_->setEnabled(v);
    Perform(CM_ENABLEDCHANGED);
}

int TControl::ColorRole() const { return QPalette::Window; }

void TControl::ApplyColor()
{
    if (!widget_)
        return;
    QPalette pal = widget_->palette();
    pal.setColor(QPalette::ColorRole(ColorRole()), ColorToQColor(color_));
    widget_->setPalette(pal);
    if (ColorRole() == QPalette::Window)
        widget_->setAutoFillBackground(true);
}

void TControl::SetColor(TColor v)
{
    parentColor_ = false;
    if (v == color_)
        return;
    color_ = v;
    ApplyColor();
    Perform(CM_COLORCHANGED);
    if (auto *w = dynamic_cast<TWinControl *>(this))
        for (TControl *c : w->controls_)
            c->ParentColorChanged();
    Invalidate();
}

void TControl::SetParentColor(bool v)
{
    parentColor_ = v;
    if (v)
        ParentColorChanged();
}

void TControl::ParentColorChanged()
{
    if (!parentColor_ || !parent_)
        return;
    SetColor(parent_->Color());
    parentColor_ = true;
}

void TControl::ApplyFont()
{
    if (!widget_)
        return;
    widget_->setFont(font_->ToQFont());
    QPalette pal = widget_->palette();
    const QColor c = ColorToQColor(font_->Color());
    // The disabled group keeps the style's greyed text, so that a disabled control or menu
    // looks disabled.
    for (const QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
        for (const QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            pal.setColor(g, r, c);
    widget_->setPalette(pal);
}

void TControl::fontChanged()
{
    if (!applyingParentFont_)
        parentFont_ = false;
    ApplyFont();
    Perform(CM_FONTCHANGED);
    if (auto *w = dynamic_cast<TWinControl *>(this))
        for (TControl *c : w->controls_)
            c->ParentFontChanged();
    Invalidate();
}

void TControl::SetParentFont(bool v)
{
    parentFont_ = v;
    if (v)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || !parent_)
        return;
    applyingParentFont_ = true;
    try {
        font_->Assign(parent_->Font());
    } catch (...) {
        applyingParentFont_ = false;
        throw;
    }
    applyingParentFont_ = false;
}

void TControl::SetText(const QString &v)
{
    if (v == GetText())
        return;
    ApplyText(v);
    Perform(CM_TEXTCHANGED);
}

QString GetShortHint(const QString &Hint)
{
    const int bar = Hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? Hint : Hint.left(bar);
}

QString GetLongHint(const QString &Hint)
{
    const int bar = Hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? Hint : Hint.mid(bar + 1);
}

// Hints are shown by the application's hint window, not by Qt's tooltips.
void TControl::SetHint(const QString &v) { hint_ = v; }

void TControl::SetShowHint(bool v) { showHint_ = v; }

void TControl::SetCursor(TCursor v)
{
    cursor_ = v;
    if (ClientWidget())
        ClientWidget()->setCursor(CursorToQCursor(v));
    Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu *v)
{
    if (popupMenu_)
        popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = v;
    if (v)
        v->FreeNotification(this);
}

bool TControl::MouseCapture() const
{
    return widget_ && (QWidget::mouseGrabber() == widget_.data() || QWidget::mouseGrabber() == ClientWidget());
}

void TControl::SetMouseCapture(bool v)
{
    if (!widget_)
        return;
    if (v)
        ClientWidget()->grabMouse();
    else if (MouseCapture())
        QWidget::mouseGrabber()->releaseMouse();
}

void TControl::Invalidate()
{
    if (ClientWidget())
        ClientWidget()->update();
}

void TControl::Repaint()
{
    if (ClientWidget())
        ClientWidget()->repaint();
}

void TControl::Update()
{
    if (widget_)
        QCoreApplication::sendPostedEvents(widget_->window(), QEvent::UpdateRequest);
}

void TControl::BringToFront()
{
    if (widget_)
        widget_->raise();
    if (parent_) {
        auto &v = parent_->controls_;
        v.erase(std::find(v.begin(), v.end(), this));
        v.push_back(this);
    }
}

void TControl::SendToBack()
{
    if (widget_)
        widget_->lower();
    if (parent_) {
        auto &v = parent_->controls_;
        v.erase(std::find(v.begin(), v.end(), this));
        v.insert(v.begin(), this);
    }
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m;
    m.Msg = Msg;
    m.WParam = WParam;
    m.LParam = LParam;
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage &Message)
{
    Dispatch(Message);
}

void TControl::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN: WMMouseDown(Message, mbLeft); break;
    case WM_RBUTTONDOWN: WMMouseDown(Message, mbRight); break;
    case WM_MBUTTONDOWN: WMMouseDown(Message, mbMiddle); break;
    case WM_LBUTTONUP: WMMouseUp(Message, mbLeft); break;
    case WM_RBUTTONUP: WMMouseUp(Message, mbRight); break;
    case WM_MBUTTONUP: WMMouseUp(Message, mbMiddle); break;
    case WM_LBUTTONDBLCLK: WMDblClk(Message, mbLeft); break;
    case WM_RBUTTONDBLCLK: WMDblClk(Message, mbRight); break;
    case WM_MBUTTONDBLCLK: WMDblClk(Message, mbMiddle); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); break;
    case WM_SIZE: WMSize(Message); break;
    case WM_PAINT: WMPaint(Message); break;
    case CM_MOUSEENTER: MouseEnter(); DefaultHandler(Message); break;
    case CM_MOUSELEAVE: MouseLeave(); DefaultHandler(Message); break;
    default: DefaultHandler(Message); break;
    }
}

void TControl::DefaultHandler(TMessage &Message)
{
    if (Message.Msg == WM_SETREDRAW) {
        // Redraw off holds back every repaint until it is switched on again.
        if (widget_)
            widget_->setUpdatesEnabled(Message.WParam != 0);
        if (QWidget *client = ClientWidget(); client && client != widget_)
            client->setUpdatesEnabled(Message.WParam != 0);
        return;
    }
    if (TQtEventContext *ctx = CurrentQtEvent(); ctx && ctx->Message == &Message)
        ctx->PassNative = true;
}

void TControl::DefaultPaint(TMessage &Message)
{
    TQtEventContext *ctx = CurrentQtEvent();
    if (!ctx || ctx->Message != &Message || !ctx->Target || Message.Msg != WM_PAINT) {
        DefaultHandler(Message);
        return;
    }
    QEvent *saved = g_PassThroughEvent;
    g_PassThroughEvent = ctx->Event;
    ctx->Target->event(ctx->Event);
    g_PassThroughEvent = saved;
    ctx->PassNative = false;
}

static TShiftState mouseShift(const TMessage &m)
{
    TShiftState s;
    const Word k = m.Keys();
    if (k & MK_SHIFT) s.Include(ssShift);
    if (k & MK_CONTROL) s.Include(ssCtrl);
    if (k & MK_LBUTTON) s.Include(ssLeft);
    if (k & MK_RBUTTON) s.Include(ssRight);
    if (k & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

void TControl::SendCancelMode(TControl *Sender)
{
    std::vector<TCustomForm *> forms;
    for (TControl *c = this; c; c = c->Parent())
        if (auto *form = dynamic_cast<TCustomForm *>(c))
            forms.push_back(form);
    for (TCustomForm *form : forms)
        form->SendCancelMode(Sender);
}

void TControl::WMMouseDown(TMessage &Message, TMouseButton Button)
{
    if (Button == mbLeft) {
        // The focused control may free this one when it closes.
        QPointer<QObject> alive(SignalContext());
        const bool watched = alive;
        SendCancelMode(this);
        if (watched && !alive)
            return;
    }
    DefaultHandler(Message);
    if (Button == mbLeft && controlStyle_.Contains(csClickEvents))
        controlState_.Include(csClicked);
    MouseDown(Button, mouseShift(Message), Message.XPos(), Message.YPos());
}

void TControl::WMMouseUp(TMessage &Message, TMouseButton Button)
{
    DefaultHandler(Message);
    if (Button == mbLeft && controlState_.Contains(csClicked)) {
        controlState_.Exclude(csClicked);
        if (ClientRect().Contains(Message.Pos()))
            Click();
    }
    MouseUp(Button, mouseShift(Message), Message.XPos(), Message.YPos());
}

void TControl::WMDblClk(TMessage &Message, TMouseButton Button)
{
    if (!controlStyle_.Contains(csDoubleClicks)) {
        // Without double clicks the second press is an ordinary one.
        WMMouseDown(Message, Button);
        return;
    }
    if (Button == mbLeft) {
        // The focused control may free this one when it closes.
        QPointer<QObject> alive(SignalContext());
        const bool watched = alive;
        SendCancelMode(this);
        if (watched && !alive)
            return;
    }
    DefaultHandler(Message);
    if (Button == mbLeft && controlStyle_.Contains(csClickEvents))
        DblClick();
    MouseDown(Button, mouseShift(Message) + ssDouble, Message.XPos(), Message.YPos());
}

void TControl::WMMouseMove(TMessage &Message)
{
    DefaultHandler(Message);
    MouseMove(mouseShift(Message), Message.XPos(), Message.YPos());
}

void TControl::WMMouseWheel(TMessage &Message)
{
    TShiftState shift = mouseShift(Message);
    if (!DoMouseWheel(shift, Message.WheelDelta(), ScreenToClient(Message.Pos())))
        DefaultHandler(Message);
    else
        Message.Result = 1;
}

void TControl::WMSize(TMessage &Message)
{
    DefaultHandler(Message);
    if (auto *w = dynamic_cast<TWinControl *>(this))
        w->Realign();
    Resize();
}

void TControl::WMPaint(TMessage &Message)
{
    DefaultHandler(Message);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (!handled) {
        wheelAccumulator_ += WheelDelta;
        while (wheelAccumulator_ >= WHEEL_DELTA) {
            wheelAccumulator_ -= WHEEL_DELTA;
            handled = DoMouseWheelUp(Shift, MousePos) || handled;
        }
        while (wheelAccumulator_ <= -WHEEL_DELTA) {
            wheelAccumulator_ += WHEEL_DELTA;
            handled = DoMouseWheelDown(Shift, MousePos) || handled;
        }
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
}

void TControl::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TControl::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

// ---------------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent *AOwner, QWidget *AWidget) : TControl(AOwner, AWidget)
{
    if (auto *sa = qobject_cast<QAbstractScrollArea *>(widget_.data())) {
        sa->viewport()->setMouseTracking(true);
        sa->viewport()->setAttribute(Qt::WA_NoMousePropagation);
        bridge_->Watch(sa->viewport());
    }
    widget_->setFocusPolicy(Qt::ClickFocus);
}

TWinControl::~TWinControl()
{
    DetachBridge();
    // Children go first, each with its own widget.
    while (!controls_.empty()) {
        TControl *c = controls_.back();
        RemoveControl(c);
        delete c;
    }
    if (handle_)
        handleMap().erase(handle_);
}

HWND TWinControl::Handle() const
{
    if (!handle_) {
        handle_ = g_nextHandle;
        g_nextHandle += 4;
        handleMap()[handle_] = const_cast<TWinControl *>(this);
    }
    return handle_;
}

TControl *TWinControl::Controls(int Index) const
{
    if (Index < 0 || Index >= ControlCount())
        ListIndexError(Index);
    return controls_[static_cast<size_t>(Index)];
}

void TWinControl::InsertControl(TControl *AControl)
{
    if (!AControl || AControl->parent_ == this)
        return;
    if (AControl->parent_)
        AControl->parent_->RemoveControl(AControl);
    controls_.push_back(AControl);
    if (auto *w = dynamic_cast<TWinControl *>(AControl))
        tabList_.push_back(w);
    AControl->parent_ = this;
    if (AControl->widget_ && ClientWidget()) {
        QWidget *host = ClientWidget();
        AControl->widget_->setParent(host);
        AControl->widget_->setGeometry(AControl->left_, AControl->top_, AControl->width_, AControl->height_);
        AControl->widget_->setVisible(AControl->visible_);
    }
    ControlInserted(AControl);
    AControl->anchorRect_ = AControl->BoundsRect();
    AControl->anchorParent_ = {ClientWidth(), ClientHeight()};
    AControl->ParentColorChanged();
    AControl->ParentFontChanged();
    if (AControl->align_ != alNone || AControl->anchors_ != TAnchors{akLeft, akTop})
        Realign();
}

void TWinControl::RemoveControl(TControl *AControl)
{
    auto it = std::find(controls_.begin(), controls_.end(), AControl);
    if (it == controls_.end())
        return;
    if (!IsDestroying())
        ControlRemoving(AControl);
    controls_.erase(it);
    auto t = std::find(tabList_.begin(), tabList_.end(), AControl);
    if (t != tabList_.end())
        tabList_.erase(t);
    AControl->parent_ = nullptr;
    if (TCustomForm *f = GetParentForm()) {
        // By address through the parent chain: a control being freed can no longer be cast.
        auto forget = [AControl](TWinControl *&p) {
            for (TControl *x = p; x; x = x->parent_)
                if (x == AControl) {
                    p = nullptr;
                    return;
                }
        };
        forget(f->activeControl_);
        forget(f->entered_);
    }
    if (AControl->widget_ && !AControl->IsDestroying()) {
        AControl->widget_->hide();
        AControl->widget_->setParent(nullptr);
    }
    if (!IsDestroying() && AControl->align_ != alNone)
        Realign();
}

bool TWinControl::ContainsControl(TControl *Control) const
{
    for (TControl *c = Control; c; c = c->parent_)
        if (c == this)
            return true;
    return false;
}

void TWinControl::SetTabStop(bool v)
{
    tabStop_ = v;
    if (widget_)
        widget_->setFocusPolicy(v ? (clickFocus_ ? Qt::StrongFocus : Qt::TabFocus)
                                  : (clickFocus_ ? Qt::ClickFocus : Qt::NoFocus));
}

void TWinControl::SetClickFocus(bool v)
{
    clickFocus_ = v;
    SetTabStop(tabStop_);
}

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    auto &v = Parent()->tabList_;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

void TWinControl::SetTabOrder(int v)
{
    if (!Parent())
        return;
    auto &list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    v = std::clamp(v, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + v, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl *> &List) const
{
    for (TWinControl *c : tabList_) {
        List.push_back(c);
        c->GetTabOrderList(List);
    }
}

bool TWinControl::CanFocus() const
{
    for (const TControl *c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return GetParentForm() != nullptr;
}

void TWinControl::SetFocus()
{
    TCustomForm *form = GetParentForm();
    if (!CanFocus() && form != this)
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    if (form && form != this)
        form->activeControl_ = this;
    if (form && form->Widget()->isVisible() && !form->Widget()->isActiveWindow())
        form->Widget()->activateWindow();
    if (widget_)
        widget_->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const
{
    return widget_ && widget_->hasFocus();
}

void TWinControl::Realign()
{
    if (alignDisabled_ > 0 || aligning_ || IsDestroying())
        return;
    TRect r = ClientRect();
    AdjustClientRect(r);
    aligning_ = true;
    try {
        AlignControls(nullptr, r);
    } catch (...) {
        aligning_ = false;
        throw;
    }
    aligning_ = false;
}

void TWinControl::AlignControls(TControl *AControl, TRect &Rect)
{
    // Anchored controls follow the parent's size first.
    for (TControl *c : controls_) {
        if (c->align_ != alNone || !c->visible_)
            continue;
        const TAnchors a = c->anchors_;
        if (a == TAnchors{akLeft, akTop})
            continue;
        const TRect o = c->anchorRect_;
        const int dw = ClientWidth() - c->anchorParent_.cx;
        const int dh = ClientHeight() - c->anchorParent_.cy;
        int l = o.Left, t = o.Top, w = o.Width(), h = o.Height();
        if (a.Contains(akRight)) {
            if (a.Contains(akLeft)) w += dw; else l += dw;
        } else if (!a.Contains(akLeft)) {
            l += dw / 2;
        }
        if (a.Contains(akBottom)) {
            if (a.Contains(akTop)) h += dh; else t += dh;
        } else if (!a.Contains(akTop)) {
            t += dh / 2;
        }
        c->UpdateBounds(l, t, w, h, true);
    }
    // Then the aligned ones: tops, bottoms, lefts, rights, and the client last. Within one
    // kind the control nearest its edge goes first.
    const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign al : order) {
        std::vector<TControl *> list;
        for (TControl *c : controls_)
            if (c->align_ == al && c->visible_)
                list.push_back(c);
        std::stable_sort(list.begin(), list.end(), [al](TControl *a, TControl *b) {
            switch (al) {
            case alTop: return a->top_ < b->top_;
            case alBottom: return a->top_ + a->height_ > b->top_ + b->height_;
            case alLeft: return a->left_ < b->left_;
            case alRight: return a->left_ + a->width_ > b->left_ + b->width_;
            default: return false;
            }
        });
        for (TControl *c : list) {
            const int rw = std::max(Rect.Width(), 0), rh = std::max(Rect.Height(), 0);
            switch (al) {
            case alTop:
                c->UpdateBounds(Rect.Left, Rect.Top, rw, c->height_, true);
                Rect.Top += c->height_;
                break;
            case alBottom:
                c->UpdateBounds(Rect.Left, Rect.Bottom - c->height_, rw, c->height_, true);
                Rect.Bottom -= c->height_;
                break;
            case alLeft:
                c->UpdateBounds(Rect.Left, Rect.Top, c->width_, rh, true);
                Rect.Left += c->width_;
                break;
            case alRight:
                c->UpdateBounds(Rect.Right - c->width_, Rect.Top, c->width_, rh, true);
                Rect.Right -= c->width_;
                break;
            default:
                c->UpdateBounds(Rect.Left, Rect.Top, rw, rh, true);
                break;
            }
        }
    }
}

void TWinControl::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: WMKeyDown(Message); break;
    case WM_KEYUP: case WM_SYSKEYUP: WMKeyUp(Message); break;
    case WM_CHAR: WMChar(Message); break;
    case WM_SETFOCUS: WMSetFocus(Message); break;
    case WM_KILLFOCUS: WMKillFocus(Message); break;
    case CM_ENTER: CMEnter(Message); break;
    case CM_EXIT: CMExit(Message); break;
    case WM_TIMER: WMTimer(Message); break;
    case WM_GETDLGCODE: Message.Result = GetDlgCode(); break;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
        // Offered to every child until one takes it.
        for (size_t i = 0; i < controls_.size() && Message.Result == 0; ++i)
            controls_[i]->WndProc(Message);
        break;
    default: TControl::Dispatch(Message); break;
    }
}

static QKeyEvent *keyEventFor(const TMessage &m)
{
    const bool up = m.Msg == WM_KEYUP || m.Msg == WM_SYSKEYUP;
    const bool chr = m.Msg == WM_CHAR;
    Qt::KeyboardModifiers mods;
    const TShiftState s = GetShiftState();
    if (s.Contains(ssShift)) mods |= Qt::ShiftModifier;
    if (s.Contains(ssCtrl)) mods |= Qt::ControlModifier;
    if (s.Contains(ssAlt)) mods |= Qt::AltModifier;
    if (chr) {
        const QChar c(m.CharCode());
        int key = c.toUpper().unicode();
        if (c == QChar(13)) key = Qt::Key_Return;
        else if (c == QChar(8)) key = Qt::Key_Backspace;
        else if (c == QChar(27)) key = Qt::Key_Escape;
        else if (c == QChar(9)) key = Qt::Key_Tab;
        return new QKeyEvent(QEvent::KeyPress, key, mods, QString(c));
    }
    return new QKeyEvent(up ? QEvent::KeyRelease : QEvent::KeyPress, VirtualKeyToQtKey(m.CharCode()), mods);
}

void TWinControl::DefaultHandler(TMessage &Message)
{
    if (Message.Msg == WM_SETREDRAW) {
        TControl::DefaultHandler(Message);
        return;
    }
    TQtEventContext *ctx = CurrentQtEvent();
    if (ctx && ctx->Message == &Message) {
        ctx->PassNative = true;
        return;
    }
    // A key message sent by code reaches the widget as the key it stands for.
    switch (Message.Msg) {
    case WM_KEYDOWN: case WM_KEYUP: case WM_SYSKEYDOWN: case WM_SYSKEYUP: case WM_CHAR: {
        if (!nativeInput_ || !widget_ || Message.CharCode() == 0)
            return;
        std::unique_ptr<QKeyEvent> ev(keyEventFor(Message));
        if (ev->key() == 0 && ev->text().isEmpty())
            return;
        QEvent *saved = g_PassThroughEvent;
        g_PassThroughEvent = ev.get();
        static_cast<QObject *>(widget_.data())->event(ev.get());
        g_PassThroughEvent = saved;
        break;
    }
    default:
        break;
    }
}

void TWinControl::WMKeyDown(TMessage &Message)
{
    if (!DoKeyDown(Message))
        DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage &Message)
{
    if (!DoKeyUp(Message))
        DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage &Message)
{
    if (!DoKeyPress(Message))
        DefaultHandler(Message);
}

static TShiftState keyShift()
{
    TShiftState s = GetShiftState();
    s -= TShiftState{ssLeft, ssRight, ssMiddle, ssDouble};
    return s;
}

bool TWinControl::DoKeyDown(TMessage &Message)
{
    TCustomForm *form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyDown(Message))
        return true;
    if (!ControlStyle().Contains(csNoStdEvents)) {
        Word key = Message.CharCode();
        KeyDown(key, keyShift());
        Message.SetCharCode(key);
        if (key == 0)
            return true;
    }
    return false;
}

bool TWinControl::DoKeyUp(TMessage &Message)
{
    TCustomForm *form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyUp(Message))
        return true;
    if (!ControlStyle().Contains(csNoStdEvents)) {
        Word key = Message.CharCode();
        KeyUp(key, keyShift());
        Message.SetCharCode(key);
        if (key == 0)
            return true;
    }
    return false;
}

bool TWinControl::DoKeyPress(TMessage &Message)
{
    TCustomForm *form = GetParentForm();
    if (form && form != this && form->KeyPreview() && form->DoKeyPress(Message))
        return true;
    if (!ControlStyle().Contains(csNoStdEvents)) {
        QChar ch(Message.CharCode());
        KeyPress(ch);
        Message.SetCharCode(ch.unicode());
        if (ch.unicode() == 0)
            return true;
    }
    return false;
}

void TWinControl::KeyDown(Word &Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word &Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(QChar &Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::WMSetFocus(TMessage &Message)
{
    DefaultHandler(Message);
}

void TWinControl::WMKillFocus(TMessage &Message)
{
    DefaultHandler(Message);
}

void TWinControl::CMEnter(TMessage &Message)
{
    DoEnter();
}

void TWinControl::CMExit(TMessage &Message)
{
    DoExit();
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::PaintControls(TCanvas *Canvas, TControl *First)
{
    QPainter *p = Canvas ? Canvas->Painter() : nullptr;
    if (!p || !p->isActive())
        return;
    auto from = std::find(controls_.begin(), controls_.end(), First);
    if (from == controls_.end())
        from = controls_.begin();
    for (auto it = from; it != controls_.end(); ++it) {
        TControl *c = *it;
        if (!c->Visible() || !c->Widget())
            continue;
        c->Widget()->render(p, QPoint(c->Left(), c->Top()), QRegion(), QWidget::DrawChildren);
    }
}

// ---------------------------------------------------------------------------------------------
// TControlCanvas

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

QPainter *TControlCanvas::CreatePainter()
{
    QWidget *w = control_ ? control_->ClientWidget() : nullptr;
    if (!w || !w->testAttribute(Qt::WA_WState_InPaintEvent))
        return nullptr;
    return new QPainter(w);
}

// ---------------------------------------------------------------------------------------------
// TCustomControl, TGraphicControl

TCustomControl::TCustomControl(TComponent *AOwner) : TWinControl(AOwner, nullptr) { init(); }

TCustomControl::TCustomControl(TComponent *AOwner, QWidget *AWidget) : TWinControl(AOwner, AWidget) { init(); }

void TCustomControl::init()
{
    canvas_ = std::make_unique<TCanvas>();
    nativeInput_ = false;
    ClientWidget()->setAttribute(Qt::WA_OpaquePaintEvent);
    SetControlStyle(ControlStyle() + csAcceptsControls);
}

TCustomControl::~TCustomControl() { DetachBridge(); }

static void paintWithCanvas(TControl *c, TCanvas *canvas, const std::function<void()> &paint)
{
    QWidget *target = c->ClientWidget();
    QPainter painter(target);
    canvas->AttachPainter(&painter);
    canvas->Font()->Assign(c->Font());
    canvas->Brush()->SetColor(c->Color());
    try {
        if (!c->ControlStyle().Contains(csOpaque))
            canvas->FillRect(c->ClientRect());
        paint();
    } catch (...) {
        canvas->DetachPainter();
        throw;
    }
    canvas->DetachPainter();
}

void TCustomControl::WMPaint(TMessage &Message)
{
    paintWithCanvas(this, canvas_.get(), [this] { Paint(); });
}

THintWindow::THintWindow(TComponent *AOwner) : TCustomControl(AOwner)
{
    widget_->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    widget_->setAttribute(Qt::WA_ShowWithoutActivating);
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
}

TRect THintWindow::CalcHintRect(int MaxWidth, const QString &AHint, void *)
{
    const QFontMetrics fm(Font()->ToQFont());
    const QRect r = fm.boundingRect(QRect(0, 0, std::max(MaxWidth, 1), 1 << 20), Qt::AlignLeft | Qt::TextWordWrap, AHint);
    return Rect(0, 0, r.width() + 6, r.height() + 2);
}

void THintWindow::ActivateHint(const TRect &Rect, const QString &AHint)
{
    SetCaption(AHint);
    SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    InitVisible(true);
    widget_->show();
    widget_->raise();
    Invalidate();
}

void THintWindow::ReleaseHandle()
{
    InitVisible(false);
    widget_->hide();
}

void THintWindow::Paint()
{
    TRect r = ClientRect();
    r.Left += 2;
    r.Top += 2;
    Canvas()->Brush()->SetStyle(bsClear);
    Canvas()->Font()->SetColor(clInfoText);
    Canvas()->DrawText(Caption(), r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

TGraphicControl::TGraphicControl(TComponent *AOwner) : TGraphicControl(AOwner, nullptr) {}

TGraphicControl::TGraphicControl(TComponent *AOwner, QWidget *AWidget)
    : TControl(AOwner, AWidget), canvas_(std::make_unique<TCanvas>())
{
    widget_->setFocusPolicy(Qt::NoFocus);
    SetControlStyle(ControlStyle() + csOpaque);
}

TGraphicControl::~TGraphicControl() { DetachBridge(); }

void TGraphicControl::WMPaint(TMessage &Message)
{
    if (!selfPainted_) {
        DefaultHandler(Message);
        return;
    }
    paintWithCanvas(this, canvas_.get(), [this] { Paint(); });
}

// ---------------------------------------------------------------------------------------------
// Handles and messages

TWinControl *FindControl(HWND Handle)
{
    auto it = handleMap().find(Handle);
    return it == handleMap().end() ? nullptr : it->second;
}

TControl *FindControlOfWidget(QWidget *w)
{
    for (; w; w = w->parentWidget()) {
        const QVariant v = w->property(kControlProperty);
        if (v.isValid())
            return static_cast<TControl *>(v.value<void *>());
    }
    return nullptr;
}

HWND GetParent(HWND Handle)
{
    TWinControl *c = FindControl(Handle);
    if (!c)
        return 0;
    if (c->Parent())
        return c->Parent()->Handle();
    if (auto *f = dynamic_cast<TCustomForm *>(c))
        return f->WndParent();
    return 0;
}

LRESULT SendMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TWinControl *c = FindControl(Handle);
    return c ? c->Perform(Msg, WParam, LParam) : 0;
}

bool PostMessage(HWND Handle, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TWinControl *c = FindControl(Handle);
    if (!c || !c->Bridge())
        return false;
    TMessage m;
    m.Msg = Msg;
    m.WParam = WParam;
    m.LParam = LParam;
    c->Bridge()->Post(m);
    return true;
}

UINT SetTimer(HWND Handle, UINT IDEvent, UINT Elapse, void *)
{
    TWinControl *c = FindControl(Handle);
    if (!c || !c->Bridge())
        return 0;
    return c->Bridge()->StartTimer(IDEvent, Elapse);
}

bool KillTimer(HWND Handle, UINT IDEvent)
{
    TWinControl *c = FindControl(Handle);
    return c && c->Bridge() && c->Bridge()->StopTimer(IDEvent);
}

UINT RegisterWindowMessage(const QString &Name)
{
    static std::map<QString, UINT> names;
    static UINT next = 0xC000;
    auto it = names.find(Name);
    if (it != names.end())
        return it->second;
    names[Name] = next;
    return next++;
}

TPoint GetCursorPos()
{
    // Inside a mouse event the pointer is where that event happened.
    QPoint p;
    if (!CurrentMouseScreenPos(p))
        p = QCursor::pos();
    return {p.x(), p.y()};
}
