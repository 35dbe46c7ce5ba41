// The scrolling windowed control: bars that follow the children, positions kept in range, the
// scroll messages, and the wheel.
#include "framework/controls/ControlBridge.h"
#include "framework/controls/Forms.h"
#include "framework/controls/SysMetrics.h"
#include "tests/common/InputEvents.h"
#include "tests/common/TestSupport.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

struct Scrolling : ::testing::Test
{
    TForm form{nullptr};
    TScrollingWinControl *box = nullptr;
    TCustomControl *child = nullptr;

    void SetUp() override
    {
        form.SetBounds(100, 100, 300, 300);
        box = new TScrollingWinControl(&form);
        box->SetParent(&form);
        box->SetBounds(0, 0, 100, 100);
        child = new TCustomControl(&form);
        child->SetParent(box);
        child->SetBounds(0, 0, 50, 300);
        form.Show();
        QCoreApplication::processEvents();
    }
};

}  // namespace

TEST_F(Scrolling, BarsFollowTheChildrenAndPositionsStayInRange)
{
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    TControlScrollBar *v = box->VertScrollBar();
    EXPECT_TRUE(v->IsScrollBarVisible());
    EXPECT_FALSE(box->HorzScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(v->Range(), 300);
    EXPECT_EQ(box->ClientWidth(), 100 - bar);
    EXPECT_EQ(box->ClientHeight(), 100);

    v->SetPosition(50);
    EXPECT_EQ(child->Top(), -50);
    v->SetPosition(1000);
    EXPECT_EQ(v->Position(), 200);
    EXPECT_EQ(child->Top(), -200);
    v->SetPosition(-5);
    EXPECT_EQ(v->Position(), 0);

    // A wider child needs the horizontal bar as well, which takes height from the client.
    child->SetWidth(150);
    EXPECT_TRUE(box->HorzScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(box->ClientHeight(), 100 - GetSystemMetrics(SM_CYHSCROLL));

    // Content that fits hides the bars and scrolls back.
    v->SetPosition(120);
    child->SetBounds(child->Left(), child->Top(), 40, 40);
    EXPECT_FALSE(v->IsScrollBarVisible());
    EXPECT_EQ(v->Position(), 0);
    EXPECT_EQ(child->Top(), 0);
}

TEST_F(Scrolling, ScrollMessagesAndTheWheel)
{
    TControlScrollBar *v = box->VertScrollBar();
    struct Step
    {
        int code, pos, want;
    };
    v->SetIncrement(10);
    const Step steps[] = {{SB_LINEDOWN, 0, 10}, {SB_PAGEDOWN, 0, 110}, {SB_LINEUP, 0, 100},
                          {SB_THUMBTRACK, 30, 100}, {SB_THUMBPOSITION, 30, 30}, {SB_BOTTOM, 0, 200}, {SB_TOP, 0, 0}};
    for (const Step &s : steps) {
        box->Perform(WM_VSCROLL, MakeWParam(s.code, s.pos), 0);
        EXPECT_EQ(v->Position(), s.want) << s.code;
        EXPECT_EQ(child->Top(), -s.want);
    }
    v->SetTracking(true);
    box->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 40), 0);
    EXPECT_EQ(v->Position(), 40);

    // A wheel notch towards the user scrolls three lines down.
    mouseWheel(box->ClientWidget(), QPoint(60, 60), -1);
    EXPECT_EQ(v->Position(), 40 + 3 * 10);
    EXPECT_EQ(child->Top(), -70);
}
