// The update lock: nested, never below zero, one repaint at the outermost end.
#include "GridFixture.h"
#include <gtest/gtest.h>

TEST(UpdateLock, NestedLockRepaintsOnceAtTheEnd)
{
    TTestGrid g;
    g.Invalidates = 0;
    g.BeginUpdate();
    g.BeginUpdate();
    EXPECT_TRUE(g.LockUpdate());
    EXPECT_FALSE(g.ClientWidget()->updatesEnabled()); // nothing paints while locked
    g.EndUpdate();
    EXPECT_TRUE(g.LockUpdate());
    EXPECT_FALSE(g.ClientWidget()->updatesEnabled());
    EXPECT_EQ(g.Invalidates, 0);
    g.EndUpdate();
    EXPECT_FALSE(g.LockUpdate());
    EXPECT_TRUE(g.ClientWidget()->updatesEnabled());
    EXPECT_EQ(g.Invalidates, 1);
    // An unbalanced end repaints at once and leaves the counter at zero, so the next
    // lock still holds.
    g.EndUpdate();
    EXPECT_EQ(g.Invalidates, 2);
    g.BeginUpdate();
    EXPECT_TRUE(g.LockUpdate());
    g.EndUpdate();
    EXPECT_FALSE(g.LockUpdate());
}

TEST(UpdateLock, HiddenGridDoesNotCountButStartUpdateDoes)
{
    TTestGrid g;
    g.Hide();
    g.BeginUpdate();
    EXPECT_FALSE(g.LockUpdate());
    g.StartUpdate();
    g.StartUpdate();
    EXPECT_TRUE(g.LockUpdate());
    g.ResetUpdate();
    EXPECT_FALSE(g.LockUpdate());
    g.Show();
    g.SetLockUpdate(true);
    EXPECT_TRUE(g.LockUpdate());
    g.SetLockUpdate(false);
    EXPECT_FALSE(g.LockUpdate());
}

