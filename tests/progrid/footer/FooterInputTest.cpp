// Clicks and hints on the footer strip, sent as mouse events to its window.
#include "FooterFixture.h"

namespace {

struct TClick
{
    int Row, Col;
};

} // namespace

TEST_F(FooterTest, ClicksReportTheFooterCellUnderTheMouse)
{
    columns(20, 64);
    grid->SetLeftCol(5);
    ASSERT_EQ(grid->LeftCol(), 5);
    std::vector<TObject *> clicks;
    std::vector<TClick> cells;
    grid->OnClick = [&](TObject *Sender) { clicks.push_back(Sender); };
    grid->OnClickCell = [&](TObject *Sender, int ARow, int ACol) {
        EXPECT_EQ(Sender, grid);
        cells.push_back({ARow, ACol});
    };
    // The fixed column from 0 to 64, then column 5 from 64 to 128, column 6 after it.
    const std::pair<int, int> cases[] = {{10, 0}, {64, 0}, {70, 5}, {127, 5}, {129, 6}};
    for (const auto &[x, col] : cases) {
        cells.clear();
        mouseClick(strip(), at(x));
        ASSERT_EQ(cells.size(), 1u) << x;
        EXPECT_EQ(cells[0].Row, grid->RowCount() - 1);
        EXPECT_EQ(cells[0].Col, col) << x;
    }
    EXPECT_EQ(clicks.size(), std::size(cases));
    EXPECT_EQ(clicks.front(), grid);
}

TEST_F(FooterTest, AClickBesideThePaintedColumnsIsOnlyAClick)
{
    columns(3, 50);
    ASSERT_GT(panel()->ClientWidth(), 200);
    int clicks = 0, cells = 0;
    grid->OnClick = [&](TObject *) { ++clicks; };
    grid->OnClickCell = [&](TObject *, int, int) { ++cells; };
    mouseClick(strip(), at(180));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(cells, 0);
    EXPECT_EQ(panel()->ColumnAt(150), 2);
    EXPECT_EQ(panel()->ColumnAt(151), -1);
}

TEST_F(FooterTest, RightToLeftGridsCountColumnsFromTheRightEdge)
{
    columns(3, 50);
    grid->SetBiDiMode(bdRightToLeft);
    const int w = panel()->ClientWidth();
    std::vector<int> cells;
    grid->OnClickCell = [&](TObject *, int, int ACol) { cells.push_back(ACol); };
    mouseClick(strip(), at(w - 10));
    mouseClick(strip(), at(w - 120));
    mouseClick(strip(), at(10));
    EXPECT_EQ(cells, (std::vector<int>{0, 2}));
}

TEST_F(FooterTest, EachFooterCellHasItsOwnHint)
{
    columns(5, 60);
    footer()->SetShowHint(true);
    std::vector<TClick> asked;
    grid->OnGridHint = [&](TObject *Sender, int ARow, int ACol, QString &Hint) {
        EXPECT_EQ(Sender, grid);
        asked.push_back({ARow, ACol});
        Hint = QString("total of %1").arg(ACol);
    };
    auto shown = [] { return Application->HintWindow() ? Application->HintWindow()->Caption() : QString(); };

    toolTipAt(strip(), at(70));
    EXPECT_EQ(shown(), "total of 1");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Row, grid->RowCount() - 1);
    EXPECT_EQ(panel()->FLastHintX, 1);

    mouseMove(strip(), at(100));
    EXPECT_EQ(shown(), "total of 1") << "still the same cell";
    mouseMove(strip(), at(130));
    EXPECT_EQ(shown(), QString()) << "the next cell cancels the hint";
    EXPECT_EQ(panel()->FLastHintX, 2);
    toolTipAt(strip(), at(130));
    EXPECT_EQ(shown(), "total of 2");

    mouseLeave(strip());
    EXPECT_EQ(panel()->FLastHintX, -1) << "leaving forgets the cell";
    EXPECT_EQ(shown(), QString());

    // Beside the painted columns there is no hint.
    toolTipAt(strip(), at(400));
    EXPECT_EQ(shown(), QString());
    EXPECT_EQ(panel()->FLastHintX, -1);
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(FooterTest, NoHintsWhileTheSwitchIsOff)
{
    columns(5, 60);
    int asked = 0;
    grid->OnGridHint = [&](TObject *, int, int, QString &Hint) {
        ++asked;
        Hint = "x";
    };
    footer()->SetShowHint(true);
    toolTipAt(strip(), at(70));
    ASSERT_NE(Application->HintWindow(), nullptr);
    footer()->SetShowHint(false);
    mouseMove(strip(), at(130));
    toolTipAt(strip(), at(130));
    EXPECT_EQ(asked, 1);
    Application->HideHint();
    // The hint message itself refuses while the switch is off.
    Application->ActivateHint(panel(), Point(130, 5));
    EXPECT_EQ(Application->HintWindow(), nullptr);
    EXPECT_EQ(panel()->FLastHintX, -1);
    EXPECT_EQ(asked, 1);
}
