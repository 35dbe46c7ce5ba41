// Message translation, layout and ownership of the control classes.
#include "framework/controls/Controls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/UiSeam.h"
#include "tests/common/TestSupport.h"
#include "tests/common/InputEvents.h"
#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

// Records what reaches the virtual handlers; keeps arrows and tabs from the dialog.
class TProbe : public TCustomControl
{
public:
    explicit TProbe(TComponent *AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
    std::vector<std::pair<Word, TShiftState>> downs;
    QString chars;
    QStringList log;
    std::vector<UINT> timers;
    std::vector<std::pair<UINT, WPARAM>> messages;
    bool swallowDown = false;

    void KeyDown(Word &Key, TShiftState Shift) override
    {
        downs.push_back({Key, Shift});
        if (swallowDown)
            Key = 0;
        TCustomControl::KeyDown(Key, Shift);
    }
    void KeyPress(QChar &Key) override { chars += Key; }
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        log << QStringLiteral("down %1,%2%3").arg(X).arg(Y).arg(Shift.Contains(ssDouble) ? " dbl" : "");
        TCustomControl::MouseDown(Button, Shift, X, Y);
    }
    void MouseUp(TMouseButton, TShiftState, int X, int Y) override { log << QStringLiteral("up %1,%2").arg(X).arg(Y); }
    void Click() override { log << "click"; TCustomControl::Click(); }
    void DblClick() override { log << "dblclick"; }
    bool DoMouseWheelDown(TShiftState, TPoint) override { log << "wheel down"; return true; }
    bool DoMouseWheelUp(TShiftState, TPoint) override { log << "wheel up"; return true; }

protected:
    LRESULT GetDlgCode() const override { return DLGC_WANTTAB | DLGC_WANTARROWS; }
    void WMTimer(TMessage &Message) override { timers.push_back(Message.TimerID()); }
    void DefaultHandler(TMessage &Message) override
    {
        if (Message.Msg >= 0xC000)
            messages.push_back({Message.Msg, Message.WParam});
        TCustomControl::DefaultHandler(Message);
    }
};

void sendMouse(QWidget *w, QEvent::Type t, QPoint p, Qt::MouseButton b = Qt::LeftButton)
{
    Qt::MouseButtons buttons = t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(b);
    QMouseEvent e(t, QPointF(p), QPointF(w->mapToGlobal(p)), b, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// Runs the event loop until cond holds or a generous limit passes.
template <typename F>
bool waitFor(F cond, int limitMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!cond() && t.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return cond();
}

struct FormFixture : ::testing::Test
{
    TForm *form = new TForm(nullptr);
    TProbe *probe = new TProbe(form);
    void SetUp() override
    {
        probe->SetParent(form);
        probe->SetBounds(10, 10, 100, 50);
    }
    void TearDown() override { delete form; }
};

}  // namespace

TEST_F(FormFixture, KeysBecomeKeyDownThenCharacters)
{
    // Ctrl+C types the control character 3; the key itself arrives as 'C' with Ctrl, and
    // GetKeyState answers for the event in hand.
    SmallInt ctrlState = 0;
    probe->OnKeyDown = [&](TObject *, Word &, TShiftState) { ctrlState = GetKeyState(VK_CONTROL); };
    sendKey(probe->Widget(), Qt::Key_C, Qt::ControlModifier, QStringLiteral("c"));
    EXPECT_LT(ctrlState, 0);
    probe->OnKeyDown = nullptr;
    ASSERT_EQ(probe->downs.size(), 1u);
    EXPECT_EQ(probe->downs[0].first, Word('C'));
    EXPECT_TRUE(probe->downs[0].second.Contains(ssCtrl));
    EXPECT_EQ(probe->chars, QString(QChar(3)));

    // Shift+Tab comes from Qt as Backtab and reaches KeyDown as VK_TAB with Shift.
    probe->downs.clear();
    sendKey(probe->Widget(), Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(probe->downs.size(), 1u);
    EXPECT_EQ(probe->downs[0].first, VK_TAB);
    EXPECT_TRUE(probe->downs[0].second.Contains(ssShift));

    // Plain text, and Enter without text in the Qt event, still give their characters.
    probe->chars.clear();
    sendKey(probe->Widget(), Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    sendKey(probe->Widget(), Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(probe->chars, QStringLiteral("a\r"));
}

TEST_F(FormFixture, KeyClearedInKeyDownSuppressesKeyPress)
{
    probe->swallowDown = true;
    sendKey(probe->Widget(), Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    EXPECT_EQ(probe->downs.size(), 1u);
    EXPECT_TRUE(probe->chars.isEmpty());
}

TEST_F(FormFixture, KeyPreviewLetsTheFormSeeKeysFirst)
{
    QString order;
    form->SetKeyPreview(true);
    form->OnKeyDown = [&](TObject *, Word &Key, TShiftState) { order += "form "; if (Key == 'Q') Key = 0; };
    probe->OnKeyDown = [&](TObject *, Word &, TShiftState) { order += "control "; };
    sendKey(probe->Widget(), Qt::Key_W, Qt::NoModifier, QStringLiteral("w"));
    sendKey(probe->Widget(), Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    EXPECT_EQ(order, QStringLiteral("form control form "));
    EXPECT_EQ(probe->chars, QStringLiteral("w"));
}

TEST_F(FormFixture, TimerDeliversItsIdUntilKilled)
{
    const HWND h = probe->Handle();
    ASSERT_EQ(SetTimer(h, 111, 500), 111u);
    ASSERT_TRUE(waitFor([&] { return !probe->timers.empty(); }));
    EXPECT_EQ(probe->timers.front(), 111u);
    EXPECT_TRUE(KillTimer(h, 111));
    const size_t seen = probe->timers.size();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 1200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(probe->timers.size(), seen);
    EXPECT_FALSE(KillTimer(h, 111));
}

TEST_F(FormFixture, PostedMessagesWaitForTheCurrentHandler)
{
    const UINT msg = RegisterWindowMessage(QStringLiteral("ProbeDone"));
    EXPECT_GE(msg, 0xC000u);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("ProbeDone")), msg);
    EXPECT_NE(RegisterWindowMessage(QStringLiteral("OtherName")), msg);

    const HWND h = probe->Handle();
    size_t seenInsideHandler = 99;
    probe->OnClick = [&](TObject *) {
        PostMessage(h, msg, 1, 0);
        SendMessage(h, msg, 2, 0);
        seenInsideHandler = probe->messages.size();
    };
    probe->Click();
    EXPECT_EQ(seenInsideHandler, 1u);
    ASSERT_EQ(probe->messages.size(), 1u);
    EXPECT_EQ(probe->messages[0].second, 2u);
    ASSERT_TRUE(waitFor([&] { return probe->messages.size() == 2; }));
    EXPECT_EQ(probe->messages[1].second, 1u);

    // A message posted to a control that is gone is dropped, not delivered to freed memory.
    auto *doomed = new TProbe(nullptr);
    const HWND dh = doomed->Handle();
    EXPECT_TRUE(PostMessage(dh, msg, 3, 0));
    delete doomed;
    EXPECT_FALSE(PostMessage(dh, msg, 3, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(FindControl(dh), nullptr);
}

TEST_F(FormFixture, MouseReachesHandlersWithClickBeforeMouseUp)
{
    QWidget *w = probe->Widget();
    sendMouse(w, QEvent::MouseButtonPress, {5, 6});
    sendMouse(w, QEvent::MouseButtonRelease, {5, 6});
    sendMouse(w, QEvent::MouseButtonDblClick, {5, 6});
    sendMouse(w, QEvent::MouseButtonRelease, {5, 6});
    // Released outside the control: no click.
    sendMouse(w, QEvent::MouseButtonPress, {5, 6});
    sendMouse(w, QEvent::MouseButtonRelease, {500, 6});
    EXPECT_EQ(probe->log, QStringList({"down 5,6", "click", "up 5,6", "dblclick", "down 5,6 dbl", "up 5,6",
                                       "down 5,6", "up 500,6"}));
}

TEST_F(FormFixture, WheelNotchesAccumulateFromFineSteps)
{
    auto wheel = [&](int dy) {
        QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(probe->Widget(), &e);
    };
    wheel(40);
    wheel(40);
    EXPECT_TRUE(probe->log.isEmpty());
    wheel(40);
    wheel(-240);
    EXPECT_EQ(probe->log, QStringList({"wheel up", "wheel down", "wheel down"}));
}

TEST_F(FormFixture, ExceptionInHandlerBecomesOneMessageBox)
{
    TUiScript script;
    Application->SetTitle(QStringLiteral("Probe"));
    probe->OnMouseDown = [](TObject *, TMouseButton, TShiftState, int, int) { throw EConvertError("'x' is not a valid integer value"); };
    sendMouse(probe->Widget(), QEvent::MouseButtonPress, {1, 1});
    probe->OnMouseDown = [](TObject *, TMouseButton, TShiftState, int, int) { Abort(); };
    sendMouse(probe->Widget(), QEvent::MouseButtonPress, {1, 1});
    ASSERT_EQ(script.Messages(), QStringList({"'x' is not a valid integer value."}));
    EXPECT_EQ(script.Records()[0].Caption, QStringLiteral("Probe"));
    // Still alive and still handling events.
    probe->OnMouseDown = nullptr;
    sendMouse(probe->Widget(), QEvent::MouseButtonPress, {1, 1});
    EXPECT_EQ(probe->log.size(), 3);
}

TEST(Align, ControlsShareTheClientAreaInDelphiOrder)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    const TRect client = form.ClientRect();
    auto make = [&](TAlign a, int w, int h) {
        auto *c = new TProbe(&form);
        c->SetBounds(0, 0, w, h);
        c->SetParent(&form);
        c->SetAlign(a);
        return c;
    };
    TProbe *fill = make(alClient, 10, 10);
    TProbe *left = make(alLeft, 50, 10);
    TProbe *top = make(alTop, 10, 30);
    TProbe *bottom = make(alBottom, 10, 20);
    TProbe *right = make(alRight, 60, 10);
    const int W = client.Width(), H = client.Height();
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, W, 30));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, H - 20, W, H));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 30, 50, H - 20));
    EXPECT_EQ(right->BoundsRect(), Rect(W - 60, 30, W, H - 20));
    EXPECT_EQ(fill->BoundsRect(), Rect(50, 30, W - 60, H - 20));

    // Hiding a side control gives its room to the client; resizing the form re-lays out.
    left->SetVisible(false);
    EXPECT_EQ(fill->Left(), 0);
    form.SetBounds(0, 0, 500, 300);
    EXPECT_EQ(fill->Width(), form.ClientWidth() - 60);

    // Anchored to the right and bottom: keeps its distances.
    auto *anchored = new TProbe(&form);
    anchored->SetParent(&form);
    anchored->SetBounds(form.ClientWidth() - 40, form.ClientHeight() - 30, 20, 10);
    anchored->SetAnchors({akRight, akBottom});
    form.SetBounds(0, 0, 600, 400);
    EXPECT_EQ(anchored->Left(), form.ClientWidth() - 40);
    EXPECT_EQ(anchored->Top(), form.ClientHeight() - 30);
}

TEST(Ownership, ParentFreesChildrenOnceWhateverTheOwner)
{
    // Children owned by the form but parented to a panel; one freed early, one owned by nobody.
    auto *form = new TForm(nullptr);
    auto *panel = new TProbe(form);
    panel->SetParent(form);
    auto *a = new TProbe(form);
    a->SetParent(panel);
    auto *b = new TProbe(nullptr);
    b->SetParent(panel);
    auto *c = new TProbe(form);
    c->SetParent(panel);
    QPointer<QWidget> wa = a->Widget(), wb = b->Widget(), wp = panel->Widget();
    delete c;
    EXPECT_EQ(panel->ControlCount(), 2);
    EXPECT_EQ(form->ComponentCount(), 2);
    delete panel;  // takes a and b with it
    EXPECT_TRUE(wa.isNull());
    EXPECT_TRUE(wb.isNull());
    EXPECT_TRUE(wp.isNull());
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_EQ(form->ControlCount(), 0);
    delete form;
}

namespace {

// A self-painted control over a scroll area, as a grid builds it.
class TScrolled : public TCustomControl
{
public:
    explicit TScrolled(TComponent *AOwner) : TCustomControl(AOwner, new QAbstractScrollArea) {}
    int paints = 0;
    TPoint down{-1, -1};
    bool canvasReady = false;

protected:
    void Paint() override
    {
        ++paints;
        canvasReady = Canvas()->HandleAllocated();
        Canvas()->FillRect(ClientRect());
    }
    void MouseDown(TMouseButton, TShiftState, int X, int Y) override { down = Point(X, Y); }
};

}  // namespace

TEST(CustomControl, ScrollAreaViewportIsTheClientArea)
{
    TForm form(nullptr);
    auto *c = new TScrolled(&form);
    c->SetParent(&form);
    c->SetBounds(0, 0, 200, 150);
    auto *sa = static_cast<QAbstractScrollArea *>(c->Widget());
    sa->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(c->ClientWidget(), sa->viewport());
    EXPECT_LT(c->ClientWidth(), 200);
    EXPECT_EQ(c->ClientWidth(), sa->viewport()->width());

    // Mouse positions are viewport positions; painting happens with a live canvas.
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(7, 9), QPointF(sa->viewport()->mapToGlobal(QPoint(7, 9))),
                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(sa->viewport(), &e);
    EXPECT_EQ(c->down, Point(7, 9));
    form.Show();
    QCoreApplication::processEvents();  // the window is exposed from the event loop
    c->Repaint();
    EXPECT_GT(c->paints, 0);
    EXPECT_TRUE(c->canvasReady);
    EXPECT_FALSE(c->Canvas()->HandleAllocated());  // only inside Paint
}

TEST(Hints, ControlMayRewriteItsHintThroughCmHintShow)
{
    class THinted : public TProbe
    {
    public:
        using TProbe::TProbe;
        void Dispatch(TMessage &Message) override
        {
            if (Message.Msg == CM_HINTSHOW) {
                auto *info = reinterpret_cast<THintInfo *>(Message.LParam);
                info->HintStr = QStringLiteral("cell %1,%2").arg(info->CursorPos.X).arg(info->CursorPos.Y);
                Message.Result = 0;
                return;
            }
            TProbe::Dispatch(Message);
        }
    };
    TForm form(nullptr);
    auto *c = new THinted(&form);
    c->SetParent(&form);
    c->SetHint("short|long text");
    EXPECT_EQ(GetShortHint(c->Hint()), QStringLiteral("short"));
    EXPECT_EQ(GetLongHint(c->Hint()), QStringLiteral("long text"));
    c->SetShowHint(true);
    Application->ActivateHint(c, Point(3, 4));
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_EQ(Application->HintWindow()->Caption(), QStringLiteral("cell 3,4"));
    EXPECT_GT(Application->HintWindow()->Width(), 6);
    delete c;  // the hint goes with its control
    EXPECT_EQ(Application->HintWindow(), nullptr);
}

TEST(CustomControl, AlignedChildrenFollowTheViewportWhenBarsComeAndGo)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto *c = new TScrolled(&form);
    c->SetParent(&form);
    c->SetBounds(0, 0, 200, 150);
    auto *strip = new TPanel(c);
    strip->SetParent(c);
    strip->SetAlign(alBottom);
    strip->SetHeight(20);
    form.Show();
    QCoreApplication::processEvents();
    const int full = c->ClientHeight();
    ASSERT_EQ(strip->Top() + strip->Height(), full);
    auto *sa = static_cast<QAbstractScrollArea *>(c->Widget());
    sa->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QCoreApplication::processEvents();
    EXPECT_LT(c->ClientHeight(), full);
    EXPECT_EQ(strip->Top() + strip->Height(), c->ClientHeight()) << "the strip stays above the bar";
    sa->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QCoreApplication::processEvents();
    EXPECT_EQ(strip->Top() + strip->Height(), full);
}

TEST(Screen, CursorOverridesTheApplicationCursorUntilDefault)
{
    Screen->SetCursor(crHourGlass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen->SetCursor(crHandPoint);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(FormFixture, ContextMenuPopsUpTheControlsPopupMenu)
{
    auto *menu = new TPopupMenu(form);
    int popups = 0;
    menu->OnPopup = [&](TObject *) { ++popups; };
    probe->SetPopupMenu(menu);
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(3, 3), probe->Widget()->mapToGlobal(QPoint(3, 3)));
    QCoreApplication::sendEvent(probe->Widget(), &e);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupComponent(), probe);
    menu->QtMenu()->hide();
    delete menu;  // the control lets go of it
    EXPECT_EQ(probe->PopupMenu(), nullptr);
}
