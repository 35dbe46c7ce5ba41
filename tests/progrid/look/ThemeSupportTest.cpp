// Detection of the desktop and office themes, the handle list and the theme notifier.
#include "grid/core/ProStyleIF.h"

#include "framework/controls/Forms.h"
#include "framework/rtl/Exceptions.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

TEST(ThemeProbes, ThemedDesktopWithoutOffice)
{
    EXPECT_TRUE(IsWinXPOrLater());
    EXPECT_TRUE(IsVistaOrLater());
    EXPECT_TRUE(IsComCtl6());
    EXPECT_EQ(OfficeVersion(), 0);
    EXPECT_EQ(XPThemeScheme(), 0);
    EXPECT_EQ(CurrentOfficeTheme(), ot2003Classic);
}

TEST(ThemeProbes, OfficeThemeFromTheSettings)
{
    const struct
    {
        int t2010, t2007, xp;
        TOfficeTheme theme;
    } cases[] = {
        {1, -1, 0, ot2010Blue},   {2, 3, 0, ot2010Silver},   {3, -1, 0, ot2010Black}, {7, 1, 0, ot2003Blue},
        {-1, 1, 0, ot2007Blue},   {-1, 2, 3, ot2007Silver},  {-1, 3, 0, ot2007Black}, {-1, 0, 0, ot2003Blue},
        {-1, -1, 0, ot2003Classic}, {-1, -1, 1, ot2003Blue}, {-1, -1, 2, ot2003Olive}, {-1, -1, 3, ot2003Silver},
    };
    for (const auto &c : cases)
        EXPECT_EQ(OfficeThemeOf(c.t2010, c.t2007, c.xp), c.theme) << c.t2010 << " " << c.t2007 << " " << c.xp;
}

TEST(HandleList, AddInsertDeleteAndFind)
{
    THandleList l;
    EXPECT_EQ(l.Add(10), 0);
    EXPECT_EQ(l.Add(30), 1);
    l.Insert(1, 20);
    l.Add(20);
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l.Items(1), 20u);
    EXPECT_TRUE(l.HasValue(30));
    l.DeleteValue(20); // the first of two
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.Items(1), 30u);
    EXPECT_EQ(l.Items(2), 20u);
    l.DeleteValue(99); // not there: nothing happens
    EXPECT_EQ(l.Count(), 3);
    l.Delete(0);
    l.SetItems(0, 40);
    EXPECT_EQ(l.Items(0), 40u);
    EXPECT_FALSE(l.HasValue(10));
    EXPECT_THROW(l.Items(2), EListError);
    EXPECT_THROW(l.Delete(-1), EListError);
    EXPECT_THROW(l.Insert(5, 1), EListError);
}

TEST(ThemeNotifier, OneNotifierAndNothingToWatchWithoutOffice)
{
    TForm owner(nullptr);
    TThemeNotifier *n = GetThemeNotifier(&owner);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(GetThemeNotifier(nullptr), n);
    EXPECT_FALSE(n->Watching());
    EXPECT_EQ(n->Notifier(), nullptr);
    n->RegisterWindow(owner.Handle());
    n->RegisterWindow(owner.Handle());
    EXPECT_EQ(n->WinList().Count(), 0);
    n->UnRegisterWindow(12345);
    delete n;
    // Freed with its owner or by hand, the next call makes a new one.
    TThemeNotifier *again = GetThemeNotifier(&owner);
    EXPECT_NE(again, nullptr);
    delete again;
}

TEST(ThemeNotifier, HiddenWindowAnnouncesTheChangeMessage)
{
    TForm owner(nullptr);
    auto *w = new TThemeNotifierWindow(&owner);
    w->SetParent(&owner);
    int fired = 0;
    w->OnOfficeThemeChange = [&](TObject *) { ++fired; };
    EXPECT_FALSE(w->Visible());
    w->Perform(WM_OFFICETHEMECHANGED, 0, 0);
    w->Perform(WM_USER + 1, 0, 0);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(SendMessage(w->Handle(), 2993, 0, 0), 0);
    EXPECT_EQ(fired, 2);
}
