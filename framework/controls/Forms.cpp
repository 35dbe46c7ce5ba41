#include "framework/controls/Forms.h"
#include "framework/controls/ControlBridge.h"
#include "framework/controls/Menus.h"
#include "framework/controls/UiSeam.h"
#include <QAbstractScrollArea>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPointer>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include "framework/controls/SysMetrics.h"

namespace {

TApplication g_application;
TScreen g_screen;

void destroyFormsAtExit()
{
    Application->DestroyForms();
}

void ensureCleanup()
{
    static bool registered = false;
    if (!registered) {
        registered = true;
        qAddPostRoutine(destroyFormsAtExit);
    }
}

}  // namespace

TApplication *Application = &g_application;
TScreen *Screen = &g_screen;

// ---------------------------------------------------------------------------------------------
// TCustomForm

namespace {
// The form's widget holds the menu bar on top and the client area below it.
class TFormClient : public QWidget
{
public:
    using QWidget::QWidget;
};
}  // namespace

static QWidget *newFormWidget()
{
    auto *w = new QWidget;
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    return w;
}

TCustomForm::TCustomForm(TComponent *AOwner) : TWinControl(AOwner, newFormWidget())
{
    ensureCleanup();
    client_ = new TFormClient(widget_);
    client_->setMouseTracking(true);
    client_->setAttribute(Qt::WA_NoMousePropagation);
    bridge_->Watch(client_);
    InitVisible(false);
    SetControlStyle(ControlStyle() + csAcceptsControls);
    SetParentFont(false);
    ApplyFont();
    ApplyColor();
    SetBounds(0, 0, 320, 240);
    Screen->forms_.push_back(this);
}

TCustomForm::~TCustomForm()
{
    DetachBridge();
    auto &v = Screen->forms_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
    if (Application->mainForm_ == this)
        Application->mainForm_ = nullptr;
    if (menu_ && menu_->MenuBar())
        menu_->MenuBar()->setParent(nullptr);
    if (menu_)
        menu_->RemoveFreeNotification(this);
    if (modalLoop_)
        modalLoop_->quit();
}

void TCustomForm::Notification(TComponent *AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == menu_) {
        menu_ = nullptr;
        LayoutWidget();
    }
}

void TCustomForm::AfterConstruction()
{
    if (created_)
        return;
    created_ = true;
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::BeforeDestruction()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    if (OnDestroy)
        OnDestroy(this);
}

QString TCustomForm::GetText() const
{
    return widget_ ? widget_->windowTitle() : QString();
}

void TCustomForm::ApplyText(const QString &v)
{
    widget_->setWindowTitle(v);
}

void TCustomForm::LayoutWidget()
{
    if (!widget_ || !client_)
        return;
    int top = 0;
    if (menu_ && menu_->MenuBar()) {
        QMenuBar *bar = menu_->MenuBar();
        top = bar->sizeHint().height();
        bar->setGeometry(0, 0, widget_->width(), top);
    }
    client_->setGeometry(0, top, widget_->width(), std::max(widget_->height() - top, 0));
}

TRect TCustomForm::ClientRect() const
{
    return Rect(0, 0, client_->width(), client_->height());
}

void TCustomForm::SetMenu(TMainMenu *v)
{
    if (menu_ == v)
        return;
    if (menu_) {
        menu_->RemoveFreeNotification(this);
        if (menu_->MenuBar()) {
            menu_->MenuBar()->hide();
            menu_->MenuBar()->setParent(nullptr);
        }
    }
    menu_ = v;
    if (v) {
        v->FreeNotification(this);
        if (QMenuBar *bar = v->MenuBar()) {
            bar->setParent(widget_);
            bar->show();
        }
    }
    LayoutWidget();
    Realign();
}

void TCustomForm::applyWindowFlags()
{
    Qt::WindowFlags f = Qt::Window;
    switch (borderStyle_) {
    case bsNone: f |= Qt::FramelessWindowHint; break;
    case bsDialog: f = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint; break;
    case bsToolWindow: case bsSizeToolWin: f = Qt::Tool; break;
    case bsSingle: f |= Qt::MSWindowsFixedSizeDialogHint; break;
    default: break;
    }
    if (borderStyle_ != bsDialog && borderStyle_ != bsNone) {
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (borderIcons_.Contains(biSystemMenu)) f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (borderIcons_.Contains(biMinimize)) f |= Qt::WindowMinimizeButtonHint;
        if (borderIcons_.Contains(biMaximize)) f |= Qt::WindowMaximizeButtonHint;
    }
    if (formStyle_ == fsStayOnTop)
        f |= Qt::WindowStaysOnTopHint;
    const bool shown = widget_->isVisible();
    widget_->setWindowFlags(f);
    if (shown)
        widget_->show();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v)
{
    borderStyle_ = v;
    applyWindowFlags();
}

void TCustomForm::SetBorderIcons(const TBorderIcons &v)
{
    borderIcons_ = v;
    applyWindowFlags();
}

void TCustomForm::SetFormStyle(TFormStyle v)
{
    formStyle_ = v;
    applyWindowFlags();
}

TWindowState TCustomForm::WindowState() const
{
    const Qt::WindowStates s = widget_->windowState();
    if (s & Qt::WindowMinimized) return wsMinimized;
    if (s & Qt::WindowMaximized) return wsMaximized;
    return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState v)
{
    const Qt::WindowState s = v == wsMinimized ? Qt::WindowMinimized : v == wsMaximized ? Qt::WindowMaximized : Qt::WindowNoState;
    widget_->setWindowState(s);
}

void TCustomForm::SetModalResult(TModalResult v)
{
    modalResult_ = v;
    if (v != mrNone && modalLoop_)
        modalLoop_->quit();
}

void TCustomForm::SetActiveControl(TWinControl *v)
{
    if (v && (v == this || !ContainsControl(v)))
        throw EInvalidOperation(QStringLiteral("Invalid active control"));
    activeControl_ = v;
    if (v && Visible() && v->CanFocus())
        v->SetFocus();
}

void TCustomForm::SendCancelMode(TControl *Sender)
{
    if (activeControl_)
        activeControl_->Perform(CM_CANCELMODE, 0, LPARAM(Sender));
}

bool TCustomForm::Active() const
{
    return widget_ && widget_->isActiveWindow();
}

void TCustomForm::placeOnShow()
{
    if (placed_)
        return;
    placed_ = true;
    QRect area;
    TCustomForm *over = nullptr;
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
        if (QScreen *s = QGuiApplication::primaryScreen())
            area = s->availableGeometry();
        break;
    case poMainFormCenter:
        over = Application->MainForm();
        break;
    case poOwnerFormCenter:
        over = dynamic_cast<TCustomForm *>(Owner());
        break;
    default:
        return;
    }
    if (over && over != this)
        area = over->widget_->frameGeometry();
    else if (area.isNull() && QGuiApplication::primaryScreen())
        area = QGuiApplication::primaryScreen()->availableGeometry();
    if (area.isNull())
        return;
    SetBounds(area.x() + (area.width() - Width()) / 2, area.y() + (area.height() - Height()) / 2, Width(), Height());
}

void TCustomForm::focusActiveControl()
{
    if (activeControl_ && activeControl_->CanFocus()) {
        activeControl_->Widget()->setFocus(Qt::OtherFocusReason);
        return;
    }
    activeControl_ = nullptr;
    std::vector<TWinControl *> list;
    GetTabOrderList(list);
    for (TWinControl *c : list)
        if (c->TabStop() && c->CanFocus()) {
            activeControl_ = c;
            c->Widget()->setFocus(Qt::TabFocusReason);
            return;
        }
}

void TCustomForm::SetVisible(bool v)
{
    if (v == Visible())
        return;
    InitVisible(v);
    if (v) {
        placeOnShow();
        DoShow();
        if (!Visible())
            return;
        widget_->setGeometry(Left(), Top(), Width(), Height());
        if (wndParent_)
            applyWndParent();
        widget_->show();
        widget_->raise();
        widget_->activateWindow();
        focusActiveControl();
    } else {
        if (sizingEdge_ != HTNOWHERE) {
            sizingEdge_ = HTNOWHERE;
            SetMouseCapture(false);
        }
        DoHide();
        widget_->hide();
    }
}

void TCustomForm::SetWndParent(HWND v)
{
    wndParent_ = v;
    if (widget_->isVisible())
        applyWndParent();
}

void TCustomForm::applyWndParent()
{
    TWinControl *owner = FindControl(wndParent_);
    QWidget *ow = owner && owner->Widget() ? owner->Widget()->window() : nullptr;
    if (ow == widget_.data())
        ow = nullptr;
    if (!ow && !widget_->windowHandle())
        return;
    widget_->winId();
    if (ow)
        ow->winId();
    if (QWindow *w = widget_->windowHandle())
        w->setTransientParent(ow ? ow->windowHandle() : nullptr);
}

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::BringToFront()
{
    if (!widget_)
        return;
    widget_->raise();
    if (widget_->isVisible())
        widget_->activateWindow();
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

int TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || formState_.Contains(fsModal))
        throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    formState_.Include(fsModal);
    modalResult_ = mrNone;
    widget_->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    modalLoop_ = &loop;
    auto restore = [this] {
        modalLoop_ = nullptr;
        formState_.Exclude(fsModal);
        if (Visible())
            SetVisible(false);
        widget_->setWindowModality(Qt::NonModal);
    };
    try {
        Show();
        while (modalResult_ == mrNone || !closeModal()) {
            if (Application->Terminated()) {
                modalResult_ = mrCancel;
                break;
            }
            if (modalResult_ == mrNone)
                loop.exec();
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return modalResult_;
}

bool TCustomForm::closeModal()
{
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone) {
        modalResult_ = mrNone;
        return false;
    }
    if (action == caFree)
        Release();
    return true;
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction &Action)
{
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::Close()
{
    if (formState_.Contains(fsModal)) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        SetVisible(false);
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TCustomForm::Release()
{
    auto alive = Bridge() ? Bridge()->Alive() : std::make_shared<bool>(false);
    QTimer::singleShot(0, qApp, [this, alive] {
        if (*alive) {
            BeforeDestruction();
            delete this;
        }
    });
}

void TCustomForm::SetFocus()
{
    if (!widget_->isVisible())
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    widget_->activateWindow();
    focusActiveControl();
}

bool TCustomForm::CanFocus() const
{
    return Visible() && Enabled();
}

TWinControl *TCustomForm::FindNextControl(TWinControl *CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const
{
    std::vector<TWinControl *> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const int n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[i] == CurControl)
            start = i;
    if (start < 0)
        start = GoForward ? n - 1 : 0;
    for (int k = 1; k <= n; ++k) {
        int i = GoForward ? (start + k) % n : (start - k + n) % n;
        TWinControl *c = list[i];
        if ((!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == CurControl->Parent()) && c->CanFocus())
            return c;
    }
    return nullptr;
}

void TCustomForm::SelectNext(TWinControl *CurControl, bool GoForward, bool CheckTabStop)
{
    if (TWinControl *c = FindNextControl(CurControl, GoForward, CheckTabStop, false))
        c->SetFocus();
}

bool TCustomForm::IsShortCut(Word Key, TShiftState Shift)
{
    return menu_ && menu_->IsShortCut(Key, Shift);
}

void TCustomForm::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case CM_DIALOGKEY:
        CMDialogKey(Message);
        return;
    case WM_CLOSE:
        Close();
        return;
    case WM_ACTIVATE:
        WMActivate(Message);
        return;
    case WM_NCHITTEST:
        Message.Result = HTCLIENT;
        return;
    case WM_NCLBUTTONDOWN:
        if (LRESULT(Message.WParam) >= HTLEFT && LRESULT(Message.WParam) <= HTBOTTOMRIGHT) {
            beginSizing(LRESULT(Message.WParam), Message.Pos());
            return;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (sizingMouse(Message))
            return;
        break;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}

void TCustomForm::WMActivate(TMessage &Message)
{
    if (Message.WParamLo() != WA_INACTIVE) {
        if (OnActivate)
            OnActivate(this);
    } else if (OnDeactivate) {
        OnDeactivate(this);
    }
}

static bool isSizingEdge(LRESULT ht) { return ht >= HTLEFT && ht <= HTBOTTOMRIGHT; }

void TCustomForm::beginSizing(LRESULT HitTest, const TPoint &ScreenPos)
{
    sizingEdge_ = HitTest;
    sizingStart_ = ScreenPos;
    sizingRect_ = BoundsRect();
    SetMouseCapture(true);
}

bool TCustomForm::sizingMouse(TMessage &Message)
{
    const TPoint screen = ClientToScreen(Message.Pos());
    if (sizingEdge_ == HTNOWHERE) {
        if (Message.Msg == WM_LBUTTONUP)
            return false;
        const LRESULT ht = Perform(WM_NCHITTEST, 0, MakeLParam(screen.X, screen.Y));
        if (Message.Msg == WM_LBUTTONDOWN) {
            if (!isSizingEdge(ht))
                return false;
            Perform(WM_NCLBUTTONDOWN, WPARAM(ht), MakeLParam(screen.X, screen.Y));
            return true;
        }
        // Over an edge the pointer shows the way it sizes.
        const bool edge = isSizingEdge(ht) && (Message.Keys() & MK_LBUTTON) == 0;
        if (edge != sizingCursor_) {
            sizingCursor_ = edge;
            QCursor cursor = CursorToQCursor(Cursor());
            switch (ht) {
            case HTLEFT: case HTRIGHT: cursor = QCursor(Qt::SizeHorCursor); break;
            case HTTOP: case HTBOTTOM: cursor = QCursor(Qt::SizeVerCursor); break;
            case HTTOPLEFT: case HTBOTTOMRIGHT: cursor = QCursor(Qt::SizeFDiagCursor); break;
            case HTTOPRIGHT: case HTBOTTOMLEFT: cursor = QCursor(Qt::SizeBDiagCursor); break;
            default: break;
            }
            client_->setCursor(cursor);
        }
        return false;
    }
    if (Message.Msg == WM_LBUTTONUP) {
        sizingEdge_ = HTNOWHERE;
        SetMouseCapture(false);
        return true;
    }
    if (Message.Msg != WM_MOUSEMOVE)
        return true;
    const int dx = screen.X - sizingStart_.X, dy = screen.Y - sizingStart_.Y;
    TRect r = sizingRect_;
    WPARAM side = 0;
    switch (sizingEdge_) {
    case HTLEFT: r.Left += dx; side = WMSZ_LEFT; break;
    case HTRIGHT: r.Right += dx; side = WMSZ_RIGHT; break;
    case HTTOP: r.Top += dy; side = WMSZ_TOP; break;
    case HTBOTTOM: r.Bottom += dy; side = WMSZ_BOTTOM; break;
    case HTTOPLEFT: r.Left += dx; r.Top += dy; side = WMSZ_TOPLEFT; break;
    case HTTOPRIGHT: r.Right += dx; r.Top += dy; side = WMSZ_TOPRIGHT; break;
    case HTBOTTOMLEFT: r.Left += dx; r.Bottom += dy; side = WMSZ_BOTTOMLEFT; break;
    default: r.Right += dx; r.Bottom += dy; side = WMSZ_BOTTOMRIGHT; break;
    }
    Perform(WM_SIZING, side, reinterpret_cast<LPARAM>(&r));
    // A dragged left or top edge moves the window; the constraints hold the opposite edge.
    int w = r.Width(), h = r.Height();
    Constraints()->Apply(w, h);
    const bool fromLeft = side == WMSZ_LEFT || side == WMSZ_TOPLEFT || side == WMSZ_BOTTOMLEFT;
    const bool fromTop = side == WMSZ_TOP || side == WMSZ_TOPLEFT || side == WMSZ_TOPRIGHT;
    SetBounds(fromLeft ? r.Right - w : r.Left, fromTop ? r.Bottom - h : r.Top, w, h);
    return true;
}

void TCustomForm::CMDialogKey(TMessage &Message)
{
    const TShiftState shift = GetShiftState();
    switch (Message.CharCode()) {
    case VK_TAB:
        if (!shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
            SelectNext(activeControl_, !shift.Contains(ssShift), true);
            Message.Result = 1;
            return;
        }
        break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
        if (activeControl_ && activeControl_->Parent()) {
            const bool fwd = Message.CharCode() == VK_RIGHT || Message.CharCode() == VK_DOWN;
            if (TWinControl *c = FindNextControl(activeControl_, fwd, false, true))
                c->SetFocus();
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}

void TCustomForm::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

void TCustomForm::WMPaint(TMessage &Message)
{
    if (!OnPaint) {
        DefaultHandler(Message);
        return;
    }
    QPainter painter(client_);
    std::unique_ptr<TCanvas> &canvas = canvas_;
    if (!canvas)
        canvas = std::make_unique<TCanvas>();
    canvas->AttachPainter(&painter);
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetColor(Color());
    try {
        canvas->FillRect(ClientRect());
        Paint();
    } catch (...) {
        canvas->DetachPainter();
        throw;
    }
    canvas->DetachPainter();
}

TCanvas *TCustomForm::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>();
    return canvas_.get();
}

bool TCustomForm::QtEvent(QEvent *e)
{
    switch (e->type()) {
    case QEvent::Close:
        // The window's close box: the form decides, through OnCloseQuery and OnClose.
        e->ignore();
        SafeCall(this, [this] { Close(); });
        return true;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate: {
        // The window gets the event from the window system; Qt hands it on to the client
        // widget, which must not count a second time.
        if (!e->spontaneous())
            return false;
        // The window that takes the activation in exchange: the new active window when this
        // one loses it, the one that had it when this one gains it (activation comes first).
        static QPointer<QWidget> lastActive;
        const bool on = e->type() == QEvent::WindowActivate;
        QWidget *other = on ? lastActive.data() : QApplication::activeWindow();
        if (on)
            lastActive = widget_.data();
        HWND h = 0;
        if (auto *wc = dynamic_cast<TWinControl *>(other && other != widget_ ? FindControlOfWidget(other) : nullptr))
            h = wc->Handle();
        SafeCall(this, [this, on, h] { Perform(WM_ACTIVATE, on ? WA_ACTIVE : WA_INACTIVE, LPARAM(h)); });
        return false;
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------------
// TApplication

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication()
{
    // Reached at process exit: forms still here outlived Qt's shutdown (an exit() from
    // inside the program) and can no longer be freed safely.
    while (ComponentCount() > 0)
        RemoveComponent(Components(ComponentCount() - 1));
}

void TApplication::SetTitle(const QString &v)
{
    // Kept here only: as Qt's display name it would be appended to every window's caption.
    title_ = v;
}

QString TApplication::ExeName() const
{
    return QCoreApplication::applicationFilePath();
}

void TApplication::formCreated(TCustomForm *form)
{
    if (!mainForm_)
        mainForm_ = form;
    form->AfterConstruction();
}

void TApplication::Run()
{
    if (!mainForm_)
        return;
    if (showMainForm_)
        mainForm_->Show();
    QEventLoop loop;
    loop_ = &loop;
    while (!terminated_)
        loop.exec();
    loop_ = nullptr;
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::HandleMessage()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TApplication::Terminate()
{
    terminated_ = true;
    if (loop_)
        loop_->quit();
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (QEventLoop *l = Screen->Forms(i)->modalLoop_)
            l->quit();
}

int TApplication::MessageBox(const QString &Text, const QString &Caption, uint32_t Flags)
{
    return UiMessageBox(Text, Caption.isEmpty() ? title_ : Caption, Flags);
}

void TApplication::HandleException(TObject *Sender)
{
    if (!std::current_exception())
        return;
    auto handle = [this, Sender](const Exception &e) {
        if (OnException) {
            try {
                OnException(Sender, e);
                return;
            } catch (const EAbort &) {
                return;
            } catch (const Exception &inner) {
                ShowException(inner);
                return;
            } catch (...) {
            }
        }
        ShowException(e);
    };
    try {
        throw;
    } catch (const EAbort &) {
    } catch (const Exception &e) {
        handle(e);
    } catch (const std::exception &e) {
        handle(Exception(QString::fromUtf8(e.what())));
    } catch (...) {
        handle(Exception(QStringLiteral("Unknown exception")));
    }
}

void TApplication::ShowException(const Exception &E)
{
    QString msg = E.Message();
    // As the original: a message gets a closing full stop unless it ends in punctuation.
    if (!msg.isEmpty() && msg.back() > QLatin1Char('.'))
        msg += QLatin1Char('.');
    MessageBox(msg, title_, MB_OK | MB_ICONSTOP);
}

void TApplication::BringToFront()
{
    if (mainForm_)
        mainForm_->BringToFront();
}

void TApplication::Minimize()
{
    if (mainForm_)
        mainForm_->SetWindowState(wsMinimized);
}

void TApplication::Restore()
{
    if (mainForm_)
        mainForm_->SetWindowState(wsNormal);
}

void TApplication::SetHint(const QString &v)
{
    hint_ = v;
    if (OnHint)
        SafeCall(this, [this] { OnHint(this); });
}

void TApplication::Notification(TComponent *AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == hintControl_) {
        hintControl_ = nullptr;
        HideHint();
    }
    if (Operation == opRemove && AComponent == hintWindow_)
        hintWindow_ = nullptr;
}

void TApplication::ActivateHint(TControl *Control, const TPoint &CursorPos)
{
    HideHint();
    if (!Control)
        return;
    THintInfo info;
    info.HintControl = Control;
    info.HintWindowClass = HintWindowClass;
    const TPoint screen = Control->ClientToScreen(CursorPos);
    // Below the mouse pointer, clear of the cursor.
    info.HintPos = Point(screen.X, screen.Y + 20);
    info.HintMaxWidth = Screen->Width() > 0 ? Screen->Width() : 1024;
    info.HintColor = hintColor_;
    info.CursorRect = Control->ClientRect();
    info.CursorPos = CursorPos;
    info.HideTimeout = hintHidePause_;
    info.HintStr = GetShortHint(Control->Hint());
    if (Control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0 || info.HintStr.isEmpty())
        return;
    THintWindow *w = info.HintWindowClass ? info.HintWindowClass(this) : new THintWindow(this);
    if (!w)
        return;
    hintWindow_ = w;
    hintControl_ = Control;
    Control->FreeNotification(this);
    w->FreeNotification(this);
    w->SetColor(info.HintColor);
    TRect r = w->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    OffsetRect(r, info.HintPos.X, info.HintPos.Y);
    w->ActivateHintData(r, info.HintStr, info.HintData);
    if (info.HideTimeout > 0)
        QTimer::singleShot(info.HideTimeout, w->SignalContext(), [this] { HideHint(); });
}

void TApplication::HideHint()
{
    THintWindow *w = hintWindow_;
    hintWindow_ = nullptr;
    if (hintControl_) {
        hintControl_->RemoveFreeNotification(this);
        hintControl_ = nullptr;
    }
    delete w;
}

void TApplication::DestroyForms()
{
    HideHint();
    for (int i = ComponentCount() - 1; i >= 0; i = std::min(i - 1, ComponentCount() - 1))
        if (auto *f = dynamic_cast<TCustomForm *>(Components(i)))
            f->BeforeDestruction();
    DestroyComponents();
    mainForm_ = nullptr;
}

// ---------------------------------------------------------------------------------------------
// TScreen

TScreen::TScreen() : TComponent(nullptr) {}

void TScreen::SetCursor(TCursor v)
{
    if (v == cursor_)
        return;
    const bool had = cursor_ != crDefault;
    cursor_ = v;
    if (!qApp)
        return;
    if (v == crDefault) {
        if (had)
            QGuiApplication::restoreOverrideCursor();
    } else if (had) {
        QGuiApplication::changeOverrideCursor(CursorToQCursor(v));
    } else {
        QGuiApplication::setOverrideCursor(CursorToQCursor(v));
    }
}

TCustomForm *TScreen::Forms(int Index) const
{
    if (Index < 0 || Index >= FormCount())
        ListIndexError(Index);
    return forms_[static_cast<size_t>(Index)];
}

TCustomForm *TScreen::ActiveForm() const
{
    QWidget *w = QApplication::activeWindow();
    return w ? dynamic_cast<TCustomForm *>(FindControlOfWidget(w)) : nullptr;
}

TWinControl *TScreen::ActiveControl() const
{
    TCustomForm *f = ActiveForm();
    return f ? f->ActiveControl() : nullptr;
}

int TScreen::MonitorCount() const
{
    return int(QGuiApplication::screens().size());
}

TMonitor *TScreen::Monitors(int Index) const
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (Index < 0 || Index >= screens.size())
        return nullptr;
    // The primary display comes first.
    QList<QScreen *> ordered = screens;
    if (QScreen *p = QGuiApplication::primaryScreen()) {
        ordered.removeAll(p);
        ordered.prepend(p);
    }
    while (int(monitors_.size()) < ordered.size())
        monitors_.push_back(std::make_unique<TMonitor>());
    TMonitor *m = monitors_[size_t(Index)].get();
    const QRect g = ordered[Index]->geometry(), a = ordered[Index]->availableGeometry();
    m->num_ = Index;
    m->bounds_ = Rect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
    m->workarea_ = Rect(a.left(), a.top(), a.left() + a.width(), a.top() + a.height());
    return m;
}

TMonitor *TScreen::MonitorFromPoint(const TPoint &Point, TMonitorDefaultTo Default) const
{
    int nearest = -1;
    long best = 0;
    for (int i = 0; i < MonitorCount(); ++i) {
        const TRect b = Monitors(i)->BoundsRect();
        if (b.Contains(Point))
            return Monitors(i);
        const long dx = Point.X < b.Left ? b.Left - Point.X : Point.X >= b.Right ? Point.X - b.Right + 1 : 0;
        const long dy = Point.Y < b.Top ? b.Top - Point.Y : Point.Y >= b.Bottom ? Point.Y - b.Bottom + 1 : 0;
        const long d = dx * dx + dy * dy;
        if (nearest < 0 || d < best) {
            nearest = i;
            best = d;
        }
    }
    switch (Default) {
    case mdNearest: return nearest < 0 ? nullptr : Monitors(nearest);
    case mdPrimary: return Monitors(0);
    default: return nullptr;
    }
}

TRect TScreen::WorkAreaRect() const
{
    TMonitor *m = Monitors(0);
    return m ? m->WorkareaRect() : TRect();
}

int TScreen::Width() const
{
    QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 0;
}

int TScreen::Height() const
{
    QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 0;
}

const QStringList &TScreen::Fonts() const
{
    if (fonts_.isEmpty())
        fonts_ = QFontDatabase::families();
    return fonts_;
}

// ---------------------------------------------------------------------------------------------
// TScrollingWinControl

void TControlScrollBar::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TControlScrollBar *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    increment_ = s->increment_;
    margin_ = s->margin_;
    tracking_ = s->tracking_;
    visible_ = s->visible_;
    range_ = s->range_;
    control_->UpdateScrollBars();
    SetPosition(s->position_);
}

void TControlScrollBar::SetPosition(int v)
{
    const int top = std::max(0, range_ - control_->clientExtent(*this));
    v = std::clamp(v, 0, top);
    if (v == position_)
        return;
    const int delta = position_ - v;
    position_ = v;
    control_->ScrollBy(vertical_ ? 0 : delta, vertical_ ? delta : 0);
    control_->syncBar(*this);
}

void TControlScrollBar::SetRange(int v)
{
    range_ = std::max(0, v);
    control_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool v)
{
    visible_ = v;
    control_->UpdateScrollBars();
}

bool TControlScrollBar::IsScrollBarVisible() const { return shown_; }

namespace {

QAbstractScrollArea *scrollAreaOf(const TScrollingWinControl *c)
{
    return static_cast<QAbstractScrollArea *>(c->Widget());
}

}  // namespace

TScrollingWinControl::TScrollingWinControl(TComponent *AOwner)
    : TWinControl(AOwner, new QAbstractScrollArea),
      horz_(std::make_unique<TControlScrollBar>(this, false)),
      vert_(std::make_unique<TControlScrollBar>(this, true))
{
    QAbstractScrollArea *sa = scrollAreaOf(this);
    sa->setFrameShape(QFrame::NoFrame);
    sa->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sa->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sa->viewport()->setAutoFillBackground(true);
    for (TControlScrollBar *b : {horz_.get(), vert_.get()}) {
        QScrollBar *bar = b->vertical_ ? sa->verticalScrollBar() : sa->horizontalScrollBar();
        const UINT msg = b->vertical_ ? WM_VSCROLL : WM_HSCROLL;
        QObject::connect(bar, &QScrollBar::actionTriggered, SignalContext(), [this, bar, msg](int action) {
            if (syncing_)
                return;
            int code = -1;
            switch (action) {
            case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
            case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
            case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
            case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
            case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
            case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
            default: return;
            }
            SafeCall(this, [this, bar, msg, code] {
                // The handler decides where the view goes, not the bar.
                bar->setSliderPosition(bar->value());
                inBarAction_ = true;
                Perform(msg, MakeWParam(code, 0), 0);
                Perform(msg, MakeWParam(SB_ENDSCROLL, 0), 0);
                inBarAction_ = false;
            });
        });
        QObject::connect(bar, &QScrollBar::sliderMoved, SignalContext(), [this, msg](int v) {
            if (syncing_)
                return;
            SafeCall(this, [this, msg, v] {
                inBarAction_ = true;
                Perform(msg, MakeWParam(SB_THUMBTRACK, v), 0);
                inBarAction_ = false;
            });
        });
        QObject::connect(bar, &QScrollBar::sliderReleased, SignalContext(), [this, bar, msg] {
            if (syncing_)
                return;
            SafeCall(this, [this, bar, msg] {
                inBarAction_ = true;
                Perform(msg, MakeWParam(SB_THUMBPOSITION, bar->sliderPosition()), 0);
                Perform(msg, MakeWParam(SB_ENDSCROLL, 0), 0);
                inBarAction_ = false;
            });
        });
        // The wheel, or anything else that sets the bar's value, scrolls as well.
        QObject::connect(bar, &QScrollBar::valueChanged, SignalContext(), [this, b, bar](int v) {
            if (syncing_ || inBarAction_ || bar->isSliderDown())
                return;
            SafeCall(this, [b, v] { b->SetPosition(v); });
        });
    }
}

TScrollingWinControl::~TScrollingWinControl() { DetachBridge(); }

void TScrollingWinControl::SetAutoScroll(bool v)
{
    if (autoScroll_ == v)
        return;
    autoScroll_ = v;
    if (!v) {
        horz_->SetPosition(0);
        vert_->SetPosition(0);
        horz_->range_ = vert_->range_ = 0;
    }
    UpdateScrollBars();
}

void TScrollingWinControl::ScrollBy(int DeltaX, int DeltaY)
{
    if (DeltaX == 0 && DeltaY == 0)
        return;
    const bool was = updating_;
    updating_ = true;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl *c = Controls(i);
        c->SetBounds(c->Left() + DeltaX, c->Top() + DeltaY, c->Width(), c->Height());
    }
    updating_ = was;
}

void TScrollingWinControl::ScrollInView(TControl *AControl)
{
    if (!AControl || AControl->Parent() != this)
        return;
    auto fit = [this](TControlScrollBar &b, int lo, int hi) {
        const int extent = clientExtent(b);
        lo -= b.margin_;
        hi += b.margin_;
        if (lo < 0)
            b.SetPosition(b.position_ + lo);
        else if (hi > extent)
            b.SetPosition(b.position_ + std::min(hi - extent, lo));
    };
    fit(*horz_, AControl->Left(), AControl->Left() + AControl->Width());
    fit(*vert_, AControl->Top(), AControl->Top() + AControl->Height());
}

int TScrollingWinControl::clientExtent(const TControlScrollBar &Bar) const
{
    return Bar.vertical_ ? ClientHeight() : ClientWidth();
}

void TScrollingWinControl::calcAutoRange()
{
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl *c = Controls(i);
        if (!c->Visible())
            continue;
        right = std::max(right, c->Left() + c->Width() + horz_->position_);
        bottom = std::max(bottom, c->Top() + c->Height() + vert_->position_);
    }
    horz_->range_ = right;
    vert_->range_ = bottom;
}

void TScrollingWinControl::syncBar(TControlScrollBar &Bar)
{
    QAbstractScrollArea *sa = scrollAreaOf(this);
    QScrollBar *bar = Bar.vertical_ ? sa->verticalScrollBar() : sa->horizontalScrollBar();
    const int extent = clientExtent(Bar);
    syncing_ = true;
    bar->setRange(0, std::max(0, Bar.range_ - extent));
    bar->setPageStep(std::max(1, extent));
    bar->setSingleStep(Bar.increment_);
    bar->setValue(Bar.position_);
    syncing_ = false;
}

void TScrollingWinControl::UpdateScrollBars()
{
    if (updating_ || !widget_)
        return;
    updating_ = true;
    if (autoScroll_)
        calcAutoRange();
    const int w = Width(), h = Height();
    const int bw = GetSystemMetrics(SM_CXVSCROLL), bh = GetSystemMetrics(SM_CYHSCROLL);
    bool showV = vert_->visible_ && vert_->range_ > h;
    const bool showH = horz_->visible_ && horz_->range_ > w - (showV ? bw : 0);
    if (!showV && showH)
        showV = vert_->visible_ && vert_->range_ > h - bh;
    horz_->shown_ = showH;
    vert_->shown_ = showV;
    QAbstractScrollArea *sa = scrollAreaOf(this);
    sa->setHorizontalScrollBarPolicy(showH ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    sa->setVerticalScrollBarPolicy(showV ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    updating_ = false;
    // A hidden bar or a grown client area may leave a position out of range.
    for (TControlScrollBar *b : {horz_.get(), vert_.get()}) {
        const int top = b->shown_ ? std::max(0, b->range_ - clientExtent(*b)) : 0;
        if (b->position_ > top)
            b->SetPosition(top);
        syncBar(*b);
    }
}

void TScrollingWinControl::AlignControls(TControl *AControl, TRect &Rect)
{
    TWinControl::AlignControls(AControl, Rect);
    UpdateScrollBars();
}

bool TScrollingWinControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    TControlScrollBar *b = vert_->shown_ ? vert_.get() : horz_->shown_ ? horz_.get() : nullptr;
    if (!b)
        return false;
    b->SetPosition(b->position_ - WheelDelta / WHEEL_DELTA * 3 * b->increment_);
    return true;
}

void TScrollingWinControl::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_HSCROLL: WMHScroll(Message); break;
    case WM_VSCROLL: WMVScroll(Message); break;
    default: TWinControl::Dispatch(Message); break;
    }
}

void TScrollingWinControl::scrollMessage(TControlScrollBar &Bar, TMessage &Message)
{
    const int code = Message.WParamLo();
    const int pos = int(Message.WParamHi());
    const int page = clientExtent(Bar);
    switch (code) {
    case SB_LINEUP: Bar.SetPosition(Bar.position_ - Bar.increment_); break;
    case SB_LINEDOWN: Bar.SetPosition(Bar.position_ + Bar.increment_); break;
    case SB_PAGEUP: Bar.SetPosition(Bar.position_ - page); break;
    case SB_PAGEDOWN: Bar.SetPosition(Bar.position_ + page); break;
    case SB_THUMBPOSITION: Bar.SetPosition(pos); break;
    case SB_THUMBTRACK:
        if (Bar.tracking_)
            Bar.SetPosition(pos);
        break;
    case SB_TOP: Bar.SetPosition(0); break;
    case SB_BOTTOM: Bar.SetPosition(Bar.range_); break;
    default: break;
    }
    Message.Result = 0;
}
