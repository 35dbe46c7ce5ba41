#include "framework/controls/ControlBridge.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QWheelEvent>
#include <QWidget>
#include <set>

QEvent *g_PassThroughEvent = nullptr;

namespace {

TQtEventContext *g_context = nullptr;

// Input state of the event in hand, for GetKeyState and GetShiftState.
struct TInputState
{
    bool valid = false;
    Qt::KeyboardModifiers mods;
    Qt::MouseButtons buttons;
    // The pointer of a mouse event, in screen coordinates.
    bool hasPos = false;
    QPoint pos;
};
TInputState g_input;
std::set<Word> g_keysDown;

struct TInputScope
{
    TInputState saved = g_input;
    TInputScope(Qt::KeyboardModifiers m, Qt::MouseButtons b) { g_input = {true, m, b, false, QPoint()}; }
    TInputScope(Qt::KeyboardModifiers m, Qt::MouseButtons b, QPoint screen) { g_input = {true, m, b, true, screen}; }
    ~TInputScope() { g_input = saved; }
};

struct TContextScope
{
    TQtEventContext ctx;
    TContextScope(QEvent *e, const TMessage *m)
    {
        ctx.Event = e;
        ctx.Message = m;
        ctx.Outer = g_context;
        g_context = &ctx;
    }
    ~TContextScope() { g_context = ctx.Outer; }
};

const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::registerEventType());

class TPostedMessageEvent : public QEvent
{
public:
    explicit TPostedMessageEvent(const TMessage &m) : QEvent(kPostedMessage), Message(m) {}
    TMessage Message;
};

struct TKeyPair
{
    int qt;
    Word vk;
};

const TKeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB}, {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR}, {Qt::Key_Return, VK_RETURN}, {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT}, {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE}, {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE}, {Qt::Key_PageUp, VK_PRIOR}, {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END}, {Qt::Key_Home, VK_HOME}, {Qt::Key_Left, VK_LEFT}, {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT}, {Qt::Key_Down, VK_DOWN}, {Qt::Key_Select, VK_SELECT},
    {Qt::Key_Print, VK_SNAPSHOT}, {Qt::Key_Execute, VK_EXECUTE}, {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Help, VK_HELP}, {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Menu, VK_APPS}, {Qt::Key_NumLock, VK_NUMLOCK}, {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_OEM_PLUS}, {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Minus, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD}, {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Semicolon, VK_OEM_1}, {Qt::Key_Colon, VK_OEM_1}, {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_QuoteLeft, VK_OEM_3}, {Qt::Key_AsciiTilde, VK_OEM_3}, {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4}, {Qt::Key_Backslash, VK_OEM_5}, {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_BracketRight, VK_OEM_6}, {Qt::Key_BraceRight, VK_OEM_6}, {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7}, {Qt::Key_Less, VK_OEM_COMMA}, {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Question, VK_OEM_2}, {Qt::Key_Underscore, VK_OEM_MINUS},
};

}  // namespace

TQtEventContext *CurrentQtEvent() { return g_context; }

Word QtKeyToVirtualKey(int QtKey)
{
    if ((QtKey >= Qt::Key_A && QtKey <= Qt::Key_Z) || (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9))
        return Word(QtKey);
    if (QtKey >= Qt::Key_F1 && QtKey <= Qt::Key_F24)
        return Word(VK_F1 + (QtKey - Qt::Key_F1));
    for (const TKeyPair &p : kKeys)
        if (p.qt == QtKey)
            return p.vk;
    // Shifted digits on a US layout keep the digit's code.
    static const char shifted[] = ")!@#$%^&*(";
    for (int i = 0; i < 10; ++i)
        if (QtKey == shifted[i])
            return Word('0' + i);
    return 0;
}

int VirtualKeyToQtKey(Word Key)
{
    if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9'))
        return Key;
    if (Key >= VK_F1 && Key < VK_F1 + 24)
        return Qt::Key_F1 + (Key - VK_F1);
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9)
        return Qt::Key_0 + (Key - VK_NUMPAD0);
    for (const TKeyPair &p : kKeys)
        if (p.vk == Key)
            return p.qt;
    return 0;
}

Word MouseKeysOf(Qt::KeyboardModifiers m, Qt::MouseButtons b)
{
    Word k = 0;
    if (b & Qt::LeftButton) k |= MK_LBUTTON;
    if (b & Qt::RightButton) k |= MK_RBUTTON;
    if (b & Qt::MiddleButton) k |= MK_MBUTTON;
    if (m & Qt::ShiftModifier) k |= MK_SHIFT;
    if (m & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers m, Qt::MouseButtons b)
{
    TShiftState s;
    if (m & Qt::ShiftModifier) s.Include(ssShift);
    if (m & Qt::ControlModifier) s.Include(ssCtrl);
    if (m & Qt::AltModifier) s.Include(ssAlt);
    if (b & Qt::LeftButton) s.Include(ssLeft);
    if (b & Qt::RightButton) s.Include(ssRight);
    if (b & Qt::MiddleButton) s.Include(ssMiddle);
    return s;
}

TShiftState GetShiftState()
{
    if (g_input.valid)
        return ShiftStateOf(g_input.mods, g_input.buttons);
    return ShiftStateOf(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons());
}

bool CurrentMouseScreenPos(QPoint &Pos)
{
    if (!g_input.valid || !g_input.hasPos)
        return false;
    Pos = g_input.pos;
    return true;
}

SmallInt GetKeyState(int VirtKey)
{
    const TShiftState s = GetShiftState();
    bool down = false;
    switch (VirtKey) {
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: down = s.Contains(ssShift); break;
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: down = s.Contains(ssCtrl); break;
    case VK_MENU: case VK_LMENU: case VK_RMENU: down = s.Contains(ssAlt); break;
    case VK_LBUTTON: down = s.Contains(ssLeft); break;
    case VK_RBUTTON: down = s.Contains(ssRight); break;
    case VK_MBUTTON: down = s.Contains(ssMiddle); break;
    default: down = g_keysDown.count(Word(VirtKey)) > 0; break;
    }
    return down ? SmallInt(-128) : SmallInt(0);
}

SmallInt GetAsyncKeyState(int VirtKey) { return GetKeyState(VirtKey); }

// ---------------------------------------------------------------------------------------------

TControlBridge::~TControlBridge()
{
    *alive_ = false;
}

void TControlBridge::Watch(QWidget *w)
{
    w->installEventFilter(this);
}

UINT TControlBridge::StartTimer(UINT id, UINT ms)
{
    StopTimer(id);
    const int qid = startTimer(static_cast<int>(ms));
    if (qid == 0)
        return 0;
    timers_[qid] = id;
    return id;
}

bool TControlBridge::StopTimer(UINT id)
{
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second == id) {
            killTimer(it->first);
            timers_.erase(it);
            return true;
        }
    }
    return false;
}

void TControlBridge::Post(const TMessage &m)
{
    QCoreApplication::postEvent(this, new TPostedMessageEvent(m));
}

void TControlBridge::timerEvent(QTimerEvent *ev)
{
    auto it = timers_.find(ev->timerId());
    if (it == timers_.end() || !control_)
        return;
    TControl *c = control_;
    const UINT id = it->second;
    SafeCall(c, [c, id] { c->Perform(WM_TIMER, id, 0); });
}

void TControlBridge::customEvent(QEvent *ev)
{
    if (ev->type() != kPostedMessage || !control_)
        return;
    TControl *c = control_;
    const TMessage m = static_cast<TPostedMessageEvent *>(ev)->Message;
    SafeCall(c, [this, c, m] {
        // A posted key goes through the same preprocessing as a typed one, as the message
        // loop does it: dialog keys (Tab, Enter, Esc...) reach the form first.
        auto *wc = dynamic_cast<TWinControl *>(c);
        if (wc && m.Msg == WM_KEYDOWN) {
            auto alive = alive_;
            if (preprocessKey(wc, Word(m.WParam), m.LParam, GetShiftState()) || !*alive)
                return;
        }
        c->Perform(m.Msg, m.WParam, m.LParam);
    });
}

bool TControlBridge::eventFilter(QObject *obj, QEvent *ev)
{
    if (!control_ || ev == g_PassThroughEvent)
        return false;
    // Nothing reaches the handlers of a control whose form or parent is being freed (the
    // focus moving among the remaining children, for one).
    for (TControl *p = control_; p; p = p->parent_)
        if (p->IsDestroying())
            return false;
    bool consumed = false;
    TControl *c = control_;
    try {
        consumed = translate(obj, ev);
    } catch (...) {
        Application->HandleException(c);
        consumed = true;
    }
    return consumed;
}

bool TControlBridge::translate(QObject *obj, QEvent *ev)
{
    TControl *c = control_;
    auto *wc = dynamic_cast<TWinControl *>(c);
    const bool native = !wc || wc->nativeInput_;
    const bool isClient = obj == c->ClientWidget();
    const bool isScrollFrame = obj == c->Widget() && !isClient;

    if (c->QtEvent(ev))
        return true;

    switch (ev->type()) {
    case QEvent::ToolTip: {
        auto *he = static_cast<QHelpEvent *>(ev);
        if (Application->ShowHint() && c->ShowHint()) {
            QPoint p = he->pos();
            if (obj != c->ClientWidget())
                p = c->ClientWidget()->mapFromGlobal(he->globalPos());
            Application->ActivateHint(c, Point(p.x(), p.y()));
        }
        return true;
    }
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        Application->HideHint();
        break;
    default:
        break;
    }

    switch (ev->type()) {
    case QEvent::KeyPress:
        return wc ? keyPress(obj, static_cast<QKeyEvent *>(ev)) : false;
    case QEvent::KeyRelease:
        return wc ? keyRelease(obj, static_cast<QKeyEvent *>(ev)) : false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        if (isScrollFrame)
            return false;
        return mouse(obj, static_cast<QMouseEvent *>(ev)) || !native;
    case QEvent::Wheel: {
        if (isScrollFrame)
            return false;
        auto *we = static_cast<QWheelEvent *>(ev);
        // Fine wheels send parts of a notch; whole notches go out as they add up.
        wheelPending_ += we->angleDelta().y();
        const int notches = wheelPending_ / WHEEL_DELTA;
        if (notches == 0)
            return !native;
        wheelPending_ -= notches * WHEEL_DELTA;
        TInputScope in(we->modifiers(), we->buttons());
        const QPoint gp = we->globalPosition().toPoint();
        TMessage m;
        m.Msg = WM_MOUSEWHEEL;
        m.WParam = MakeWParam(MouseKeysOf(we->modifiers(), we->buttons()), notches * WHEEL_DELTA);
        m.LParam = MakeLParam(gp.x(), gp.y());
        TContextScope scope(ev, &m);
        c->WndProc(m);
        return !(scope.ctx.PassNative && native);
    }
    case QEvent::Enter:
    case QEvent::Leave: {
        if (!isClient && !(obj == c->Widget()))
            return false;
        if (isScrollFrame)
            return false;
        TMessage m;
        m.Msg = ev->type() == QEvent::Enter ? CM_MOUSEENTER : CM_MOUSELEAVE;
        TContextScope scope(ev, &m);
        c->WndProc(m);
        return false;
    }
    case QEvent::ContextMenu: {
        TPopupMenu *pm = c->PopupMenu();
        if (!pm || !pm->AutoPopup())
            return !native;
        auto *ce = static_cast<QContextMenuEvent *>(ev);
        pm->SetPopupComponent(c);
        pm->Popup(ce->globalPos().x(), ce->globalPos().y());
        return true;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        if (!wc || obj != c->Widget())
            return false;
        auto *fe = static_cast<QFocusEvent *>(ev);
        const bool in = ev->type() == QEvent::FocusIn;
        if (fe->reason() == Qt::PopupFocusReason)
            return false;
        auto alive = alive_;
        // Enter and exit follow the focus inside the form; a window losing and regaining
        // the activation moves no focus there.
        TCustomForm *form = wc->GetParentForm();
        if (in) {
            if (form && form != wc)
                form->activeControl_ = wc;
            TMessage m;
            m.Msg = WM_SETFOCUS;
            TContextScope scope(ev, &m);
            wc->WndProc(m);
            if (*alive && (!form || form->entered_ != wc)) {
                if (form)
                    form->entered_ = wc;
                wc->Perform(CM_ENTER);
            }
            return *alive && !scope.ctx.PassNative;
        }
        if (fe->reason() != Qt::ActiveWindowFocusReason) {
            if (form && form->entered_ == wc)
                form->entered_ = nullptr;
            wc->Perform(CM_EXIT);
        }
        if (!*alive)
            return true;
        TMessage m;
        m.Msg = WM_KILLFOCUS;
        TContextScope scope(ev, &m);
        wc->WndProc(m);
        return *alive && !scope.ctx.PassNative;
    }
    case QEvent::Paint: {
        if (!isClient)
            return false;
        TMessage m;
        m.Msg = WM_PAINT;
        TContextScope scope(ev, &m);
        scope.ctx.Target = obj;
        c->WndProc(m);
        return !scope.ctx.PassNative;
    }
    case QEvent::Resize: {
        if (obj != c->Widget()) {
            // A scroll area's viewport changes size with its bars; aligned children follow it.
            if (obj == c->ClientWidget() && wc)
                wc->Realign();
            return false;
        }
        QWidget *w = c->Widget();
        // Only sizes that did not come from SetBounds (a window resized from outside) are news.
        if (w->width() != c->width_ || w->height() != c->height_) {
            c->width_ = w->width();
            c->height_ = w->height();
            TMessage m;
            m.Msg = WM_SIZE;
            m.LParam = MakeLParam(c->ClientWidth(), c->ClientHeight());
            // The native layout (a scroll area's viewport) must happen before our handlers.
            QEvent *saved = g_PassThroughEvent;
            g_PassThroughEvent = ev;
            QCoreApplication::sendEvent(obj, ev);
            g_PassThroughEvent = saved;
            c->LayoutWidget();
            c->WndProc(m);
            return true;
        }
        return false;
    }
    case QEvent::Move: {
        if (obj == c->Widget() && c->Widget()->isWindow()) {
            // Client-area geometry, as SetBounds sets it.
            c->left_ = c->Widget()->geometry().x();
            c->top_ = c->Widget()->geometry().y();
        }
        return false;
    }
    default:
        return false;
    }
}

bool TControlBridge::mouse(QObject *obj, QMouseEvent *me)
{
    TControl *c = control_;
    const Qt::MouseButton b = me->button();
    TMessage m;
    const QEvent::Type t = me->type();
    Qt::MouseButtons buttons = me->buttons();
    if (t == QEvent::MouseMove) {
        m.Msg = WM_MOUSEMOVE;
    } else {
        const int idx = b == Qt::LeftButton ? 0 : b == Qt::RightButton ? 1 : b == Qt::MiddleButton ? 2 : -1;
        if (idx < 0)
            return false;
        static const UINT down[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
        static const UINT up[] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
        static const UINT dbl[] = {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK};
        m.Msg = t == QEvent::MouseButtonPress ? down[idx] : t == QEvent::MouseButtonRelease ? up[idx] : dbl[idx];
    }
    // The position relative to the client area, whichever widget got the event.
    QPoint p = me->position().toPoint();
    if (obj != c->ClientWidget())
        p = c->ClientWidget()->mapFromGlobal(me->globalPosition().toPoint());
    m.WParam = MouseKeysOf(me->modifiers(), buttons);
    m.LParam = MakeLParam(p.x(), p.y());
    TInputScope in(me->modifiers(), buttons, me->globalPosition().toPoint());
    TContextScope scope(me, &m);
    auto alive = alive_;
    c->WndProc(m);
    return !(*alive && scope.ctx.PassNative);
}

static QString charsOf(QKeyEvent *ke, Word vk, TShiftState shift)
{
    if (shift.Contains(ssAlt))
        return QString();
    if (shift.Contains(ssCtrl)) {
        // Ctrl+letter types the control characters 1 to 26.
        if (vk >= 'A' && vk <= 'Z')
            return QString(QChar(vk - 'A' + 1));
    }
    QString text = ke->text();
    if (text.isEmpty()) {
        switch (vk) {
        case VK_RETURN: return QStringLiteral("\r");
        case VK_ESCAPE: return QString(QChar(27));
        case VK_BACK: return QString(QChar(8));
        case VK_TAB: return QStringLiteral("\t");
        default: return QString();
        }
    }
    if (vk == VK_DELETE)
        return QString();
    if (vk == VK_RETURN)
        return QStringLiteral("\r");
    return text;
}

// The keypad's keys carry their scan code in bits 16-23 of the key data (the divide and enter
// keys also the extended-key bit 24), so that a program can tell them from the main keys.
static LPARAM keypadKeyData(QKeyEvent *ke)
{
    if (!(ke->modifiers() & Qt::KeypadModifier))
        return 0;
    int scan = 0;
    bool extended = false;
    switch (ke->key()) {
    case Qt::Key_7: case Qt::Key_Home: scan = 0x47; break;
    case Qt::Key_8: case Qt::Key_Up: scan = 0x48; break;
    case Qt::Key_9: case Qt::Key_PageUp: scan = 0x49; break;
    case Qt::Key_Minus: scan = 0x4A; break;
    case Qt::Key_4: case Qt::Key_Left: scan = 0x4B; break;
    case Qt::Key_5: case Qt::Key_Clear: scan = 0x4C; break;
    case Qt::Key_6: case Qt::Key_Right: scan = 0x4D; break;
    case Qt::Key_Plus: scan = 0x4E; break;
    case Qt::Key_1: case Qt::Key_End: scan = 0x4F; break;
    case Qt::Key_2: case Qt::Key_Down: scan = 0x50; break;
    case Qt::Key_3: case Qt::Key_PageDown: scan = 0x51; break;
    case Qt::Key_0: case Qt::Key_Insert: scan = 0x52; break;
    case Qt::Key_Period: case Qt::Key_Comma: case Qt::Key_Delete: scan = 0x53; break;
    case Qt::Key_Asterisk: scan = 0x37; break;
    case Qt::Key_Slash: scan = 0x35; extended = true; break;
    case Qt::Key_Enter: scan = 0x1C; extended = true; break;
    default: return 0;
    }
    return (LPARAM(scan) << 16) | (extended ? LPARAM(1) << 24 : 0);
}

static void sendNative(QObject *obj, QKeyEvent *ke)
{
    QEvent *saved = g_PassThroughEvent;
    g_PassThroughEvent = ke;
    obj->event(ke);
    g_PassThroughEvent = saved;
}

bool TControlBridge::preprocessKey(TWinControl *c, Word vk, LPARAM keyData, TShiftState shift)
{
    auto alive = alive_;
    TCustomForm *form = c->GetParentForm();
    // Menu shortcuts come before the focused control sees the key.
    if (form && form->IsShortCut(vk, shift))
        return true;
    if (!*alive)
        return true;
    // Alt and a letter or digit: the control whose caption marks that character takes it.
    if (form && shift.Contains(ssAlt) && !shift.Contains(ssCtrl) &&
        ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))) {
        if (form->Perform(CM_DIALOGCHAR, vk, keyData) != 0 || !*alive)
            return true;
    }
    LRESULT mask = 0;
    switch (vk) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
    }
    return mask && c->Perform(CM_WANTSPECIALKEY, vk, keyData) == 0 && (c->Perform(WM_GETDLGCODE) & mask) == 0 &&
           form && form->Perform(CM_DIALOGKEY, vk, keyData) != 0;
}

bool TControlBridge::keyPress(QObject *obj, QKeyEvent *ke)
{
    auto *c = static_cast<TWinControl *>(control_);
    auto alive = alive_;
    const Word vk = QtKeyToVirtualKey(ke->key());
    const Qt::KeyboardModifiers mods = ke->modifiers();
    TInputScope in(mods, QGuiApplication::mouseButtons());
    const TShiftState shift = ShiftStateOf(mods);
    ke->accept();
    if (vk)
        g_keysDown.insert(vk);

    const LPARAM keyData = (ke->isAutoRepeat() ? LPARAM(1) << 30 : 0) | keypadKeyData(ke);
    if (vk && (preprocessKey(c, vk, keyData, shift) || !*alive))
        return true;

    TMessage down;
    down.Msg = shift.Contains(ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    down.WParam = vk;
    down.LParam = keyData;
    bool downPassed = true;
    if (vk) {
        TContextScope scope(ke, &down);
        c->WndProc(down);
        downPassed = scope.ctx.PassNative;
    }
    if (!*alive || !downPassed)
        return true;

    const QString text = charsOf(ke, vk, shift);
    QString passed;
    for (QChar ch : text) {
        TMessage cm;
        cm.Msg = WM_CHAR;
        cm.WParam = ch.unicode();
        cm.LParam = keyData;
        TContextScope scope(ke, &cm);
        c->WndProc(cm);
        if (!*alive)
            return true;
        if (scope.ctx.PassNative && cm.CharCode() != 0)
            passed += QChar(cm.CharCode());
    }
    if (!c->nativeInput_)
        return true;
    if (text.isEmpty() || passed == text) {
        sendNative(obj, ke);
    } else if (!passed.isEmpty()) {
        QKeyEvent changed(QEvent::KeyPress, passed.size() == 1 ? passed[0].toUpper().unicode() : 0, mods, passed);
        sendNative(obj, &changed);
    }
    ke->accept();
    return true;
}

bool TControlBridge::keyRelease(QObject *obj, QKeyEvent *ke)
{
    auto *c = static_cast<TWinControl *>(control_);
    const Word vk = QtKeyToVirtualKey(ke->key());
    if (vk && !ke->isAutoRepeat())
        g_keysDown.erase(vk);
    ke->accept();
    if (!vk) {
        if (c->nativeInput_)
            sendNative(obj, ke);
        return true;
    }
    TInputScope in(ke->modifiers(), QGuiApplication::mouseButtons());
    TMessage up;
    up.Msg = ke->modifiers() & Qt::AltModifier ? WM_SYSKEYUP : WM_KEYUP;
    up.WParam = vk;
    up.LParam = (LPARAM(1) << 30) | (LPARAM(1) << 31);
    auto alive = alive_;
    bool passed;
    {
        TContextScope scope(ke, &up);
        c->WndProc(up);
        passed = scope.ctx.PassNative;
    }
    if (*alive && passed && c->nativeInput_)
        sendNative(obj, ke);
    return true;
}
