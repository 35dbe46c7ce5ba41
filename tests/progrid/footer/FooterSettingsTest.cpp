// The floating footer's settings and what they do to the grid and to the strip.
#include "FooterFixture.h"

TEST_F(FooterTest, DefaultsAndTheRowHeight)
{
    const TFloatingFooter *ff = footer();
    EXPECT_FALSE(ff->Visible());
    EXPECT_EQ(ff->FooterStyle(), fsFixedLastRow);
    EXPECT_EQ(ff->Color(), clBtnFace);
    EXPECT_EQ(ff->BorderColor(), clNone);
    EXPECT_EQ(ff->Column(), 0);
    EXPECT_TRUE(ff->CustomTemplate().isEmpty());
    EXPECT_TRUE(ff->CalculateHiddenRows());
    EXPECT_FALSE(ff->ShowHint());
    EXPECT_TRUE(ff->EnableCalculation());
    EXPECT_EQ(ff->Height(), 22) << "the grid's row height";
    EXPECT_EQ(panel()->Height(), 0);

    // A new row height reaches the strip at full height while it shows.
    grid->SetDefaultRowHeight(30);
    EXPECT_EQ(ff->Height(), 30);
    footer()->SetVisible(true);
    EXPECT_EQ(panel()->Height(), 29);
    grid->SetDefaultRowHeight(26);
    EXPECT_EQ(panel()->Height(), 26);
}

TEST_F(FooterTest, VisibleAndStyleDecideTheFooterRow)
{
    footer()->SetHeight(25);
    footer()->SetVisible(true);
    EXPECT_TRUE(panel()->Visible());
    EXPECT_EQ(panel()->Height(), 24);
    EXPECT_EQ(grid->FixedFooters(), 1);
    EXPECT_TRUE(grid->FHideLastRow);

    // Another style shows the last row again but keeps the footer row count.
    footer()->SetFooterStyle(fsColumnPreview);
    EXPECT_FALSE(grid->FHideLastRow);
    EXPECT_EQ(grid->FixedFooters(), 1);
    footer()->SetFooterStyle(fsFixedLastRow);
    EXPECT_TRUE(grid->FHideLastRow);

    footer()->SetVisible(false);
    EXPECT_FALSE(panel()->Visible());
    EXPECT_EQ(panel()->Height(), 0);
    EXPECT_EQ(grid->FixedFooters(), 0);
    EXPECT_FALSE(grid->FHideLastRow);

    footer()->SetFooterStyle(fsCustomPreview);
    footer()->SetVisible(true);
    EXPECT_EQ(grid->FixedFooters(), 0);
    EXPECT_FALSE(grid->FHideLastRow);
}

TEST_F(FooterTest, TheGridLeavesItsLastRowToTheStrip)
{
    grid->SetRowCount(5);
    grid->SetColors(2, 4, clRed);
    grid->SetColors(2, 3, clRed);
    const TRect last = grid->CellRect(2, 4), before = grid->CellRect(2, 3);
    auto red = [&](const TRect &r) {
        const QImage img = grid->ClientWidget()->grab().toImage();
        return pixel(img, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2) == clRed;
    };
    footer()->SetVisible(true);
    EXPECT_FALSE(red(last));
    EXPECT_TRUE(red(before));
    footer()->SetVisible(false);
    EXPECT_TRUE(red(last));
}

TEST_F(FooterTest, HeightAndHintSwitchReachTheStrip)
{
    footer()->SetVisible(true);
    footer()->SetHeight(40);
    EXPECT_EQ(panel()->Height(), 39);
    footer()->SetHeight(0);
    EXPECT_EQ(footer()->Height(), 0);
    EXPECT_EQ(panel()->Height(), 39) << "no height for the strip below one pixel";
    footer()->SetShowHint(true);
    EXPECT_TRUE(panel()->ShowHint());
    footer()->SetShowHint(false);
    EXPECT_FALSE(panel()->ShowHint());
}

TEST_F(FooterTest, AssignCopiesTheLookButNotHeightBorderOrCalculation)
{
    TTestGrid other(&form);
    other.SetParent(&form);
    TFloatingFooter *src = other.FloatingFooter();
    src->SetVisible(true);
    src->SetFooterStyle(fsFixedLastRow);
    src->SetColor(clYellow);
    src->SetColumn(3);
    src->SetCustomTemplate("Sum <#3>");
    src->SetCalculateHiddenRows(false);
    src->SetShowHint(true);
    src->SetHeight(50);
    src->SetBorderColor(clRed);
    src->SetEnableCalculation(false);
    src->OnCalcFooter = [](TObject *, int, int, QString &v) { v = "x"; };

    footer()->Assign(src);
    const TFloatingFooter *ff = footer();
    EXPECT_TRUE(ff->Visible());
    EXPECT_EQ(grid->FixedFooters(), 1) << "Visible goes through its setter";
    EXPECT_TRUE(panel()->Visible());
    EXPECT_EQ(ff->FooterStyle(), fsFixedLastRow);
    EXPECT_EQ(ff->Color(), clYellow);
    EXPECT_EQ(ff->Column(), 3);
    EXPECT_EQ(ff->CustomTemplate(), "Sum <#3>");
    EXPECT_FALSE(ff->CalculateHiddenRows());
    EXPECT_TRUE(ff->ShowHint());
    EXPECT_FALSE(panel()->ShowHint()) << "the hint switch is only stored";
    EXPECT_EQ(ff->Height(), 22);
    EXPECT_EQ(ff->BorderColor(), clNone);
    EXPECT_TRUE(ff->EnableCalculation());
    EXPECT_FALSE(ff->OnCalcFooter);

    // Anything else leaves the footer as it was.
    TBalloonSettings balloon;
    footer()->Assign(&balloon);
    EXPECT_EQ(ff->Color(), clYellow);
}

TEST(FooterWindow, MadeWhenTheGridGetsItsParent)
{
    TForm form(nullptr);
    auto *grid = new TTestGrid(&form);
    int created = 0;
    grid->OnCreatedFloatingFooter = [&](TObject *Sender) {
        ++created;
        EXPECT_EQ(Sender, grid);
    };
    grid->FloatingFooter()->SetHeight(30);
    grid->FloatingFooter()->SetVisible(true);
    EXPECT_EQ(grid->FooterPanel()->Height(), 29);
    grid->SetParent(&form);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(grid->FooterPanel()->Height(), 30) << "the full height when the window is made";
    EXPECT_TRUE(grid->FooterPanel()->Visible());
    grid->SetParent(nullptr);
    grid->SetParent(&form);
    EXPECT_EQ(created, 1) << "once";

    auto *hidden = new TTestGrid(&form);
    hidden->FloatingFooter()->SetHeight(30);
    hidden->SetParent(&form);
    EXPECT_EQ(hidden->FooterPanel()->Height(), 0);
}
