// The search footer's panel used with keys and the mouse: its buttons follow the search box, Enter
// and Ctrl+Enter search, the box turns red while nothing matches, and its layout.
#include "framework/controls/Forms.h"
#include "tests/common/InputEvents.h"
#include "tests/progrid/grid/GridFixture.h"
#include <QImage>
#include <gtest/gtest.h>

namespace {

class SearchPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.SetBounds(0, 0, 700, 400);
        grid = new TTestGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 600, 300);
        grid->SetColCount(4);
        grid->SetRowCount(6);
        grid->SetCells(1, 1, "beta");
        grid->SetCells(2, 1, "alpha");
        grid->SetCells(1, 3, "Beta");
        TSearchFooter *sf = grid->SearchFooter();
        sf->SetFindNextCaption("Find &next");
        sf->SetFindPrevCaption("Find &previous");
        sf->SetHighLightCaption("&Highlight");
        sf->SetMatchCaseCaption("Match &case");
        sf->SetVisible(true);
    }

    TSearchPanel *panel() const { return grid->SearchPanel(); }
    QWidget *box() const { return panel()->EditControl()->Widget(); }
    // A click in the middle of one of the panel's controls.
    static void click(TControl *c) { mouseClick(c->Widget(), QPoint(c->Width() / 2, c->Height() / 2)); }
    bool buttonsEnabled() const
    {
        return panel()->ForwardButton()->Enabled() && panel()->BackwardButton()->Enabled() &&
               panel()->HiliteButton()->Enabled();
    }
    bool buttonsDisabled() const
    {
        return !panel()->ForwardButton()->Enabled() && !panel()->BackwardButton()->Enabled() &&
               !panel()->HiliteButton()->Enabled();
    }

    TForm form{nullptr};
    TTestGrid *grid = nullptr;
};

} // namespace

TEST_F(SearchPanelTest, ButtonsFollowTheTextOfTheSearchBox)
{
    ASSERT_TRUE(panel()->Visible());
    EXPECT_EQ(panel()->Height(), 32);
    EXPECT_TRUE(buttonsDisabled());
    typeText(box(), "z");
    EXPECT_EQ(panel()->EditControl()->Text(), "z");
    EXPECT_TRUE(buttonsEnabled());
    sendKey(box(), Qt::Key_Backspace);
    EXPECT_EQ(panel()->EditControl()->Text(), "");
    EXPECT_TRUE(buttonsDisabled());
}

TEST_F(SearchPanelTest, TypingSearchesAndTheBoxTurnsRedWhileNothingMatches)
{
    std::vector<std::pair<TSearchAction, TPoint>> actions;
    grid->OnSearchFooterAction = [&](TObject *, const QString &, int ACol, int ARow, TSearchAction A) {
        actions.emplace_back(A, TPoint(ACol, ARow));
    };
    typeText(box(), "al");
    EXPECT_EQ(grid->SearchCell(), TPoint(2, 1));
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(panel()->EditControl()->Color(), clWindow);
    ASSERT_FALSE(actions.empty());
    EXPECT_EQ(actions.back().first, saFindFirst);

    typeText(box(), "x");
    EXPECT_EQ(grid->SearchCell(), TPoint(-1, -1));
    EXPECT_EQ(panel()->EditControl()->Color(), clRed);
    EXPECT_EQ(panel()->EditControl()->Width(), 110);
    sendKey(box(), Qt::Key_Backspace);
    EXPECT_EQ(panel()->EditControl()->Color(), clWindow);
    for (int i = 0; i < 2; ++i)
        sendKey(box(), Qt::Key_Backspace);
    EXPECT_EQ(panel()->EditControl()->Color(), clWindow);

    // The application may keep the search to itself.
    grid->OnSearchEditChange = [](TObject *, const QString &, bool &Default) { Default = false; };
    typeText(box(), "zz");
    EXPECT_EQ(panel()->EditControl()->Color(), clWindow);
}

TEST_F(SearchPanelTest, EnterFindsForwardAndCtrlEnterBackwardWithoutALineBreak)
{
    std::vector<TSearchAction> actions;
    grid->OnSearchFooterAction = [&](TObject *, const QString &, int, int, TSearchAction A) { actions.push_back(A); };
    typeText(box(), "bet");
    ASSERT_EQ(grid->SearchCell(), TPoint(1, 1));
    sendKey(box(), Qt::Key_Return);
    EXPECT_EQ(grid->SearchCell(), TPoint(1, 3));
    EXPECT_EQ(actions.back(), saFindNext);
    sendKey(box(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(grid->SearchCell(), TPoint(1, 1));
    EXPECT_EQ(actions.back(), saFindPrevious);
    EXPECT_EQ(panel()->EditControl()->Text(), "bet");

    // Match case: only the lower-case one.
    click(panel()->MatchCase());
    ASSERT_TRUE(panel()->MatchCase()->Checked());
    click(panel()->ForwardButton());
    EXPECT_EQ(grid->SearchCell(), TPoint(-1, -1));
    click(panel()->ForwardButton());
    EXPECT_EQ(grid->SearchCell(), TPoint(1, 1));
}

TEST_F(SearchPanelTest, LayoutMovesTheMatchCaseBoxAndMirrorsRightToLeft)
{
    EXPECT_EQ(panel()->EditControl()->Left(), 25);
    EXPECT_EQ(panel()->ForwardButton()->Left(), 140);
    EXPECT_EQ(panel()->BackwardButton()->Left(), 235);
    EXPECT_EQ(panel()->HiliteButton()->Left(), 330);
    EXPECT_EQ(panel()->MatchCase()->Left(), 425);
    EXPECT_EQ(panel()->ExitButton()->Left(), 5);
    EXPECT_EQ(panel()->ForwardButton()->Caption(), "Find &next");
    grid->SearchFooter()->SetShowHighLight(false);
    EXPECT_FALSE(panel()->HiliteButton()->Visible());
    EXPECT_EQ(panel()->MatchCase()->Left(), 330);

    grid->SetBiDiMode(bdRightToLeft);
    grid->SyncSearchPanel();
    EXPECT_EQ(panel()->ExitButton()->Left(), panel()->Width() - 19);
    EXPECT_EQ(panel()->EditControl()->Left(), panel()->Width() - 110 - 25);
}

TEST_F(SearchPanelTest, AltAcceleratorFindsOnlyWhileTheFooterShows)
{
    typeText(box(), "bet");
    ASSERT_EQ(grid->SearchCell(), TPoint(1, 1));
    sendKey(grid->Widget(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(grid->SearchCell(), TPoint(1, 3));
    sendKey(grid->Widget(), Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(grid->SearchCell(), TPoint(1, 1));

    grid->SearchFooter()->SetVisible(false);
    EXPECT_EQ(panel()->Height(), 0);
    sendKey(grid->Widget(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(grid->SearchCell(), TPoint(1, 1));
}

TEST_F(SearchPanelTest, HighlightButtonMarksEveryMatchAndCloseHidesTheFooter)
{
    typeText(box(), "alp");
    click(panel()->HiliteButton());
    ASSERT_TRUE(panel()->HiliteButton()->Down());
    EXPECT_NE(grid->GetGridCell(2, 1), "alpha");
    EXPECT_TRUE(grid->GetGridCell(2, 1).contains("alp"));
    click(panel()->HiliteButton());
    EXPECT_FALSE(panel()->HiliteButton()->Down());
    EXPECT_EQ(grid->GetGridCell(2, 1), "alpha");

    int closes = 0;
    grid->OnSearchFooterClose = [&](TObject *Sender) {
        EXPECT_EQ(Sender, grid);
        ++closes;
    };
    click(panel()->ExitButton());
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(grid->SearchFooter()->Visible());
    EXPECT_FALSE(panel()->Visible());
}

TEST_F(SearchPanelTest, BackgroundIsFlatOrShadedDownToColorTo)
{
    panel()->SetColor(TColor(0xFFFFFF));
    panel()->SetColorTo(clNone);
    QImage flat = panel()->Widget()->grab().toImage();
    const int x = panel()->Width() - 5, h = panel()->Height();
    ASSERT_GT(flat.width(), x);
    EXPECT_EQ(QColorToColor(flat.pixelColor(x, 3)), QColorToColor(flat.pixelColor(x, h - 2)));
    panel()->SetColorTo(TColor(0x000000));
    QImage shaded = panel()->Widget()->grab().toImage();
    const QColor top = shaded.pixelColor(x, 2), bottom = shaded.pixelColor(x, h - 2);
    EXPECT_GT(top.lightness(), 200);
    EXPECT_LT(bottom.lightness(), 40);
    // The top edge is a line in the grid-line colour.
    EXPECT_EQ(QColorToColor(shaded.pixelColor(x, 0)), grid->GridLineColor());
}
