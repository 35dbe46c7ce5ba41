// Size and place of the pop-up: automatic sizes, the size constraints, the user's size, and
// where it opens on the screen.
#include "tests/progrid/dropdown/DropDownSupport.h"

#include "framework/controls/SysMetrics.h"

#include <ostream>

namespace
{
TRect boundsOf(TControl *c) { return c->BoundsRect(); }
} // namespace

void PrintTo(const TRect &r, std::ostream *os) { *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")"; }

TEST_F(DropDownForm, AutomaticSizeFollowsTheEditAndTheConstraints)
{
    struct Case
    {
        int editWidth, border, width, height;  // what is set
        int wantW, wantH;
    };
    // Without a control the height is the border on both sides, raised to 50; the width is the
    // edit's, raised to 80.
    const Case cases[] = {
        {200, 1, 0, 0, 200, 50}, {60, 1, 0, 0, 80, 50}, {200, 30, 0, 0, 200, 60},
        {200, 1, 120, 90, 120, 90}, {200, 1, 40, 30, 80, 50},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.editWidth << " " << c.border << " " << c.width << " " << c.height);
        edit->SetWidth(c.editWidth);
        edit->SetDropDownBorderWidth(c.border);
        edit->SetDropDownWidth(c.width);
        edit->SetDropDownHeight(c.height);
        edit->ShowDropDown();
        ASSERT_TRUE(edit->DroppedDown());
        EXPECT_EQ(popup()->Width(), c.wantW);
        EXPECT_EQ(popup()->Height(), c.wantH);
        edit->HideDropDown(false);
        // Forget the size this opening left behind.
        edit->SetDropDownWidth(-1);
        edit->SetDropDownHeight(-1);
        settle();
    }
}

TEST_F(DropDownForm, ASizeTheUserDraggedIsReusedUntilTheSizeIsSetAgain)
{
    popup()->SetSizeable(true);
    edit->ShowDropDown();
    settle();
    ASSERT_EQ(boundsOf(popup()).Width(), 200);
    ASSERT_EQ(boundsOf(popup()).Height(), 50);

    // Drag the bottom-right corner 40 to the right and 30 down.
    QWidget *client = popup()->ClientWidget();
    mousePress(client, QPoint(195, 45));
    mouseMove(client, QPoint(235, 75), Qt::LeftButton);
    mouseRelease(client, QPoint(235, 75));
    EXPECT_EQ(popup()->Width(), 240);
    EXPECT_EQ(popup()->Height(), 80);
    EXPECT_EQ(edit->resized, 1);
    // The size constraints hold while dragging.
    mousePress(client, QPoint(235, 75));
    mouseMove(client, QPoint(20, 10), Qt::LeftButton);
    mouseRelease(client, QPoint(20, 10));
    EXPECT_EQ(popup()->Width(), 80);
    EXPECT_EQ(popup()->Height(), 50);
    mousePress(client, QPoint(75, 45));
    mouseMove(client, QPoint(235, 75), Qt::LeftButton);
    mouseRelease(client, QPoint(235, 75));
    ASSERT_EQ(popup()->Width(), 240);

    edit->HideDropDown(false);
    settle();
    edit->ShowDropDown();
    EXPECT_EQ(popup()->Width(), 240);
    EXPECT_EQ(popup()->Height(), 80);
    edit->HideDropDown(false);

    // A new width forgets the dragged width only.
    edit->SetDropDownWidth(150);
    edit->ShowDropDown();
    EXPECT_EQ(popup()->Width(), 150);
    EXPECT_EQ(popup()->Height(), 80);
    edit->HideDropDown(false);
    // The same width again changes nothing.
    edit->SetDropDownWidth(150);
    edit->SetDropDownHeight(70);
    edit->ShowDropDown();
    EXPECT_EQ(popup()->Width(), 150);
    EXPECT_EQ(popup()->Height(), 70);
}

TEST_F(DropDownForm, OnlyTheBottomRightCornerSizesASizeablePopup)
{
    edit->ShowDropDown();
    const TPoint origin = popup()->ClientOrigin();
    const int w = popup()->Width(), h = popup()->Height();
    auto hit = [&](int x, int y) {
        return popup()->Perform(WM_NCHITTEST, 0, MakeLParam(origin.X + x, origin.Y + y));
    };
    struct Case
    {
        int x, y;
        LRESULT sizeable;
    };
    const Case cases[] = {{w - 1, h - 1, HTBOTTOMRIGHT}, {w - 9, h - 9, HTBOTTOMRIGHT}, {w - 10, h - 1, HTCLIENT},
                          {w - 1, h - 10, HTCLIENT},     {5, 5, HTCLIENT},               {w - 1, 5, HTCLIENT}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        popup()->SetSizeable(false);
        EXPECT_EQ(hit(c.x, c.y), HTCLIENT);
        popup()->SetSizeable(true);
        EXPECT_EQ(hit(c.x, c.y), c.sizeable);
    }
    // A press outside the corner does not size.
    QWidget *client = popup()->ClientWidget();
    mousePress(client, QPoint(w - 12, h - 3));
    mouseMove(client, QPoint(w + 30, h + 30), Qt::LeftButton);
    mouseRelease(client, QPoint(w + 30, h + 30));
    EXPECT_EQ(popup()->Width(), w);
    EXPECT_EQ(popup()->Height(), h);
}

TEST_F(DropDownForm, ThePopupOpensBelowAboveOrPushedInsideTheScreen)
{
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_GT(screenW, 400);
    ASSERT_GT(screenH, 300);
    edit->SetDropDownHeight(100);
    auto anchor = [&] { return form->ClientToScreen(Point(edit->Left(), edit->Top())); };
    auto open = [&](TDropPosition pos) {
        edit->SetDropPosition(pos);
        edit->ShowDropDown();
        const TRect r = popup()->BoundsRect();
        edit->HideDropDown(false);
        edit->SetDropDownWidth(0);
        edit->SetDropDownHeight(-1);
        edit->SetDropDownHeight(100);
        return r;
    };

    TPoint a = anchor();
    EXPECT_EQ(open(dpDown), Bounds(a.X, a.Y + 20, 200, 100));
    EXPECT_EQ(open(dpAuto), Bounds(a.X, a.Y + 20, 200, 100));
    EXPECT_EQ(open(dpUp), Bounds(a.X, a.Y - 100, 200, 100));

    // Near the bottom of the screen the automatic place is above the edit.
    form->SetTop(form->Top() + (screenH - 50) - anchor().Y);
    settle();
    a = anchor();
    ASSERT_LE(screenH, a.Y + 100);
    EXPECT_EQ(open(dpAuto), Bounds(a.X, a.Y - 100, 200, 100));
    EXPECT_EQ(open(dpDown), Bounds(a.X, a.Y + 20, 200, 100));

    // Wider than the room to the right of the edit: pushed left to the work area's edge.
    form->SetBounds(screenW - 120, 100, 400, 300);
    settle();
    a = anchor();
    const TRect work = Screen->MonitorFromPoint(a)->WorkareaRect();
    ASSERT_LT(a.X, work.Right);
    ASSERT_GT(a.X + 200, work.Right);
    EXPECT_EQ(open(dpDown), Bounds(work.Right - 200, a.Y + 20, 200, 100));
}
