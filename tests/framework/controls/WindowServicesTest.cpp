// Window services of pop-up windows: size constraints, sizing from a hit-tested edge, activation
// messages, owner windows, the displays, the tick count, posted keys and the edit's text rectangle.
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "framework/rtl/SysUtils.h"
#include "tests/common/InputEvents.h"
#include "tests/common/TestSupport.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Sized by its right edge (the last 5 pixels); a sizing step may only reach widths in tens.
class TEdgeForm : public TForm
{
public:
    using TForm::TForm;
    QList<UINT> activations;
    QList<HWND> others;
    void Dispatch(TMessage &Message) override
    {
        TForm::Dispatch(Message);
        if (Message.Msg == WM_NCHITTEST && ScreenToClient(Message.Pos()).X >= Width() - 5)
            Message.Result = HTRIGHT;
        if (Message.Msg == WM_SIZING) {
            auto *r = reinterpret_cast<TRect *>(Message.LParam);
            r->Right = r->Left + r->Width() / 10 * 10;
        }
    }

protected:
    void WMActivate(TMessage &Message) override
    {
        activations << Message.WParamLo();
        others << HWND(Message.LParam);
        TForm::WMActivate(Message);
    }
};

} // namespace

TEST(SizeConstraints, BoundsStayWithinTheLimits)
{
    TForm form(nullptr);
    form.SetBounds(10, 10, 100, 100);
    form.Constraints()->SetMinWidth(80);
    form.Constraints()->SetMaxHeight(60);
    // A new limit applies to the size the control has.
    EXPECT_EQ(form.Height(), 60);
    form.SetBounds(10, 10, 20, 20);
    EXPECT_EQ(form.Width(), 80);
    EXPECT_EQ(form.Height(), 20);
    form.SetBounds(10, 10, 300, 300);
    EXPECT_EQ(form.Width(), 300);
    EXPECT_EQ(form.Height(), 60);
    form.Constraints()->SetMaxHeight(0);
    form.SetHeight(300);
    EXPECT_EQ(form.Height(), 300);
}

TEST(FormSizing, AnEdgeTheHitTestNamesSizesTheWindow)
{
    TEdgeForm form(nullptr);
    form.SetBorderStyle(bsNone);
    form.SetBounds(50, 50, 100, 80);
    form.Show();
    settle();
    QWidget *client = form.ClientWidget();
    int clicks = 0;
    form.OnClick = [&](TObject *) { ++clicks; };

    // Inside: an ordinary click.
    mouseClick(client, QPoint(50, 40));
    EXPECT_EQ(clicks, 1);
    // On the edge: dragging sizes, in the steps WM_SIZING allows.
    mousePress(client, QPoint(97, 40));
    mouseMove(client, QPoint(134, 60), Qt::LeftButton);
    EXPECT_EQ(form.BoundsRect(), Bounds(50, 50, 130, 80));
    mouseRelease(client, QPoint(134, 60));
    EXPECT_EQ(clicks, 1);
    // The sizing ended with the release.
    mouseMove(client, QPoint(20, 20), Qt::NoButton);
    EXPECT_EQ(form.Width(), 130);
    // The constraints hold.
    form.Constraints()->SetMinWidth(90);
    mousePress(client, QPoint(127, 40));
    mouseMove(client, QPoint(10, 40), Qt::LeftButton);
    mouseRelease(client, QPoint(10, 40));
    EXPECT_EQ(form.Width(), 90);

    // A press message on the frame starts sizing as well.
    const TPoint p = form.ClientToScreen(Point(89, 10));
    form.Perform(WM_NCLBUTTONDOWN, WPARAM(HTRIGHT), MakeLParam(p.X, p.Y));
    mouseMove(client, QPoint(109, 10), Qt::LeftButton);
    mouseRelease(client, QPoint(109, 10));
    EXPECT_EQ(form.Width(), 110);
}

TEST(FormActivation, ActivationMessagesNameTheOtherWindowAndOwnersChain)
{
    TEdgeForm a(nullptr), b(nullptr);
    a.SetBounds(0, 0, 100, 100);
    b.SetBounds(200, 0, 100, 100);
    int deactivated = 0;
    a.OnDeactivate = [&](TObject *) { ++deactivated; };
    a.Show();
    settle();
    ASSERT_TRUE(a.Active());
    a.activations.clear();
    a.others.clear();
    b.Show();
    settle();
    ASSERT_TRUE(b.Active());
    EXPECT_EQ(a.activations, QList<UINT>({WA_INACTIVE}));
    EXPECT_EQ(a.others, QList<HWND>({b.Handle()}));
    EXPECT_EQ(b.activations.value(0), UINT(WA_ACTIVE));
    EXPECT_EQ(b.others.value(0), a.Handle());
    EXPECT_EQ(deactivated, 1);

    // Owner windows: a form's parent window is the one it was given, a control's its parent.
    auto *edit = new TEdit(&a);
    edit->SetParent(&a);
    EXPECT_EQ(GetParent(edit->Handle()), a.Handle());
    EXPECT_EQ(GetParent(b.Handle()), HWND(0));
    b.SetWndParent(a.Handle());
    EXPECT_EQ(GetParent(b.Handle()), a.Handle());
    EXPECT_EQ(GetParent(0), HWND(0));
}

TEST(Displays, TheMonitorOfAPointAndItsWorkArea)
{
    ASSERT_GE(Screen->MonitorCount(), 1);
    TMonitor *primary = Screen->Monitors(0);
    ASSERT_TRUE(primary);
    EXPECT_TRUE(primary->Primary());
    EXPECT_EQ(primary->BoundsRect().Width(), Screen->Width());
    EXPECT_EQ(Screen->WorkAreaRect(), primary->WorkareaRect());
    EXPECT_EQ(Screen->MonitorFromPoint(Point(10, 10)), primary);
    const TPoint far = Point(primary->BoundsRect().Right + 5000, -5000);
    EXPECT_EQ(Screen->MonitorFromPoint(far, mdNearest), primary);
    EXPECT_EQ(Screen->MonitorFromPoint(far, mdNull), nullptr);
    EXPECT_EQ(Screen->Monitors(Screen->MonitorCount()), nullptr);
}

TEST(TickCount, TheSourceCanBeSetAndRestored)
{
    uint32_t now = 0xFFFFFF00u;
    SetTickCountSource([&] { return now; });
    EXPECT_EQ(GetTickCount(), 0xFFFFFF00u);
    now += 0x200;  // wraps like the platform's count
    EXPECT_EQ(GetTickCount() - 0xFFFFFF00u, 0x200u);
    SetTickCountSource(nullptr);
    const uint32_t a = GetTickCount(), b = GetTickCount();
    EXPECT_LE(a, b);
    EXPECT_LT(b - a, 1000u);
}

TEST(PostedKeys, APostedKeyReachesTheDialogKeysLikeATypedOne)
{
    TForm form(nullptr);
    auto *edit = new TEdit(&form);
    edit->SetParent(&form);
    auto *cancel = new TButton(&form);
    cancel->SetParent(&form);
    cancel->SetTop(40);
    cancel->SetCancel(true);
    int clicks = 0;
    cancel->OnClick = [&](TObject *) { ++clicks; };
    form.Show();
    settle();
    PostMessage(edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    settle();
    EXPECT_EQ(clicks, 1);
    // A key the control keeps goes to it.
    edit->SetText(QStringLiteral("ab"));
    edit->SetSelStart(2);
    PostMessage(edit->Handle(), WM_KEYDOWN, VK_LEFT, 0);
    settle();
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(clicks, 1);
}

TEST(EditMessages, TheTextRectangleReadOnlyStateAndCharacterPositions)
{
    TForm form(nullptr);
    auto *edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(0, 0, 120, 24);
    TRect r = Rect(3, 2, 100, 30);
    edit->Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
    TRect back;
    edit->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(back, r);

    EXPECT_FALSE(edit->ReadOnly());
    edit->SetReadOnly(true);
    EXPECT_TRUE(edit->ReadOnly());
    edit->Perform(EM_SETREADONLY, 0);
    EXPECT_FALSE(edit->ReadOnly());

    edit->SetText(QStringLiteral("iiiiiiii"));
    const int first = int(edit->Perform(EM_CHARFROMPOS, 0, MakeLParam(0, 10)));
    const int later = int(edit->Perform(EM_CHARFROMPOS, 0, MakeLParam(90, 10)));
    EXPECT_EQ(first, 0);
    EXPECT_GT(later, first);
    EXPECT_LE(later, 8);

    edit->SetBorderStyle(bsNone);
    EXPECT_EQ(edit->BorderStyle(), bsNone);
}
