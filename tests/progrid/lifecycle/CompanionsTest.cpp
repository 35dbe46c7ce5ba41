// The grid's settings companions: cell-control look, progress bars, grouping, background,
// drag scrolling and filters.
#include "tests/progrid/grid/GridFixture.h"
#include <gtest/gtest.h>

using TCountingGrid = TTestGrid;

TEST(ControlLook, NewLookReadsTheDocumentedColours)
{
    TCountingGrid g;
    TControlLook *l = g.ControlLook();
    EXPECT_EQ(l->FixedGradientHoverFrom(), clGray);
    EXPECT_EQ(l->FixedGradientHoverTo(), clWhite);
    EXPECT_EQ(l->FixedGradientDownFrom(), clGray);
    EXPECT_EQ(l->FixedGradientDownTo(), clSilver);
    EXPECT_EQ(l->FixedGradientHoverBorder(), clSilver);
    EXPECT_EQ(l->FixedGradientDownBorder(), clGray);
    EXPECT_EQ(l->FixedGradientFrom(), clNone);
    EXPECT_EQ(l->CommentColor(), TColor(0x0000FF));
    EXPECT_EQ(l->CheckSize(), 15);
    EXPECT_EQ(l->RadioSize(), 10);
    EXPECT_EQ(l->DropDownCount(), 8);
    EXPECT_EQ(l->ControlStyle(), csTheme);
    EXPECT_EQ(g.DUZGradientHoverMirrorFrom(), clNone);
}

TEST(ControlLook, GradientColoursReachTheGridUnlessNone)
{
    TCountingGrid g;
    TControlLook *l = g.ControlLook();
    const TColor before = g.DUZGradientTo();
    g.Invalidates = 0;
    l->SetFixedGradientTo(clNone);
    EXPECT_EQ(l->FixedGradientTo(), clNone);
    EXPECT_EQ(g.DUZGradientTo(), before);
    EXPECT_EQ(g.Invalidates, 0);
    l->SetFixedGradientTo(clRed);
    EXPECT_EQ(g.DUZGradientTo(), TColor(0x0000FF));
    EXPECT_EQ(g.Invalidates, 1);
    // A system colour arrives as the RGB value it stands for.
    l->SetFixedGradientFrom(clBtnFace);
    EXPECT_EQ(g.DUZGradientFrom(), TColor(ColorToRGB(clBtnFace)));
    EXPECT_GE(g.DUZGradientFrom(), 0);

    l->SetFixedGradientMirrorFrom(clRed);
    EXPECT_EQ(g.DUZGradientMirrorFrom(), TColor(0x0000FF));
    l->SetFixedGradientMirrorFrom(clNone);
    EXPECT_EQ(g.DUZGradientMirrorFrom(), clNone);

    // Hot and pressed colours are stored without a repaint.
    g.Invalidates = 0;
    l->SetFixedGradientHoverFrom(clYellow);
    l->SetFixedGradientDownBorder(clNone);
    EXPECT_EQ(g.DUZGradientHoverFrom(), clYellow);
    EXPECT_EQ(g.DUZGradientDownBorder(), clNone);
    l->SetFixedGradientDownBorder(clGreen);
    EXPECT_EQ(g.DUZGradientDownBorder(), clGreen);
    EXPECT_EQ(g.Invalidates, 0);
}

TEST(ControlLook, OtherSettersRepaintAndAssignCopiesQuietly)
{
    TCountingGrid a, b;
    a.Invalidates = 0;
    a.ControlLook()->SetFlatButton(true);
    a.ControlLook()->SetControlStyle(csFlat);
    EXPECT_EQ(a.Invalidates, 2);
    a.ControlLook()->SetCheckSize(20);
    a.ControlLook()->SetFixedGradientHoverTo(clRed);
    a.ControlLook()->SetNoDisabledButtonLook(true);
    b.Invalidates = 0;
    const TColor gridHover = b.DUZGradientHoverTo();
    b.ControlLook()->Assign(a.ControlLook());
    EXPECT_EQ(b.Invalidates, 0);
    EXPECT_EQ(b.ControlLook()->CheckSize(), 20);
    EXPECT_EQ(b.ControlLook()->ControlStyle(), csFlat);
    EXPECT_EQ(b.ControlLook()->FixedGradientHoverTo(), clRed);
    EXPECT_EQ(b.DUZGradientHoverTo(), gridHover);
    // Not copied.
    EXPECT_FALSE(b.ControlLook()->FlatButton());
    EXPECT_FALSE(b.ControlLook()->NoDisabledButtonLook());
}

TEST(ProgressAppearance, ReportsRealChangesAndOneForAssign)
{
    TGridProgressAppearance a, b;
    EXPECT_EQ(a.Steps(), 11);
    EXPECT_EQ(a.Level1Perc(), 70);
    EXPECT_EQ(a.Level2Perc(), 90);
    EXPECT_EQ(a.Level2Color(), TColor(0x53A9FF));
    int changes = 0;
    a.OnChange = [&](TObject *) { ++changes; };
    a.SetSteps(11);
    EXPECT_EQ(changes, 0);
    a.SetSteps(12);
    EXPECT_EQ(changes, 1);
    b.SetShowBorder(true);
    b.SetLevel0Color(clBlack);
    b.SetStyle(psClassic);
    a.Assign(&b);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(a.Steps(), 11);
    EXPECT_TRUE(a.ShowBorder());
    EXPECT_EQ(a.Level0Color(), clBlack);
    EXPECT_EQ(a.Style(), psClassic);
    TGrouping other;
    a.Assign(&other);
    EXPECT_EQ(changes, 2);
}

TEST(ProgressAppearance, GridRepaintsOnChange)
{
    TCountingGrid g;
    g.Invalidates = 0;
    g.ProgressAppearance()->SetCompleteColor(clGreen);
    EXPECT_EQ(g.Invalidates, 1);
}

TEST(Grouping, AssignLeavesLinesAndSummary)
{
    TGrouping src, dst;
    src.SetSummary(true);
    src.SetHeaderLineColor(clRed);
    src.SetSummaryLineColor(clRed);
    src.SetHeaderLineWidth(5);
    src.SetSummaryLineWidth(6);
    src.SetMergeHeader(true);
    src.SetSummaryLine(true);
    src.SetGroupCountFormat("(%d)");
    src.SetHeaderColor(clYellow);
    dst.Assign(&src);
    EXPECT_FALSE(dst.Summary());
    EXPECT_EQ(dst.HeaderLineColor(), TColor(0xFF0000));
    EXPECT_EQ(dst.SummaryLineColor(), TColor(0xFF0000));
    EXPECT_EQ(dst.HeaderLineWidth(), 2);
    EXPECT_EQ(dst.SummaryLineWidth(), 2);
    EXPECT_TRUE(dst.MergeHeader());
    EXPECT_TRUE(dst.SummaryLine());
    EXPECT_EQ(dst.GroupCountFormat(), "(%d)");
    EXPECT_EQ(dst.HeaderColor(), clYellow);
}

TEST(BackGround, SettersRepaintTheGrid)
{
    TCountingGrid g;
    EXPECT_EQ(g.BackGround()->Display(), bdTile);
    EXPECT_EQ(g.BackGround()->Color(), clWindow);
    EXPECT_EQ(g.BackGround()->ColorTo(), clBtnFace);
    g.Invalidates = 0;
    g.BackGround()->SetDisplay(bdGradientVert);
    EXPECT_EQ(g.Invalidates, 1);
    g.BackGround()->SetCells(bcAll);
    EXPECT_EQ(g.Invalidates, 2);
}

TEST(DragScrollOptions, AssignCopiesDelaysMarginsAndActive)
{
    TDragScrollOptions a, b;
    EXPECT_EQ(a.Delays()->InitialDelay(), 1000);
    EXPECT_EQ(a.Delays()->RepeatDelay(), 250);
    EXPECT_EQ(a.Margins()->LeftMargin(), 50);
    b.SetActive(true);
    b.Delays()->SetRepeatDelay(40);
    b.Margins()->SetBottomMargin(7);
    TDragScrollDelays *own = a.Delays();
    a.Assign(&b);
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(a.Delays(), own);
    EXPECT_EQ(a.Delays()->RepeatDelay(), 40);
    EXPECT_EQ(a.Margins()->BottomMargin(), 7);
    EXPECT_EQ(a.Margins()->TopMargin(), 50);
}

TEST(Filter, ConditionsJoinAndFindTheirColumn)
{
    TCountingGrid g;
    TFilterData *first = g.Filter()->Add();
    EXPECT_EQ(first->Operation(), foNONE);
    EXPECT_TRUE(first->CaseSensitive());
    EXPECT_EQ(first->Data(), fcVirtual);
    TFilterData *c3 = g.Filter()->ColumnFilter(3);
    EXPECT_EQ(c3->Operation(), foAND);
    EXPECT_EQ(c3->Column(), 3);
    EXPECT_EQ(g.Filter()->ColumnFilter(3), c3);
    EXPECT_TRUE(g.Filter()->HasFilter(3));
    g.Filter()->RemoveColumnFilter(3);
    EXPECT_FALSE(g.Filter()->HasFilter(3));
    EXPECT_EQ(g.Filter()->Count(), 1);
}
