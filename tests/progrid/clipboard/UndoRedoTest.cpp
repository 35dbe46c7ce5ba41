// The undo history of a grid: single changes, sequences, the history limit, new changes after
// an undo, the events, and the link between grid and history when either goes away.
#include "../grid/GridFixture.h"
#include "grid/core/ProGridUndo.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// Writes the cell and records it, as an edit does.
void Change(TProStringGrid &g, TProGridUndoRedo &u, int c, int r, const QString &v)
{
    u.RegisterChange(c, r, g.Cells(c, r), v);
    g.SetCells(c, r, v);
}

struct UndoFixture : ::testing::Test
{
    TTestGrid g;
    TProGridUndoRedo u;
    void SetUp() override
    {
        g.SetColCount(4);
        g.SetRowCount(4);
        g.SetUndoRedo(&u);
    }
};

} // namespace

TEST_F(UndoFixture, UndoAndRedoStepThroughSingleChanges)
{
    EXPECT_EQ(u.Grid(), &g);
    g.SetCells(1, 1, "a0");
    g.SetCells(2, 2, "b0");
    Change(g, u, 1, 1, "A");
    Change(g, u, 2, 2, "B");
    u.Undo();
    EXPECT_EQ(g.Cells(2, 2), QString("b0"));
    EXPECT_EQ(g.Cells(1, 1), QString("A"));
    EXPECT_EQ(u.Level(), 1);
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.Row(), 2);
    EXPECT_TRUE(u.CanRedo());
    u.Redo();
    EXPECT_EQ(g.Cells(2, 2), QString("B"));
    EXPECT_EQ(u.Level(), 2);
    EXPECT_FALSE(u.CanRedo());
    u.Reset();
    EXPECT_FALSE(u.CanUndo());
    EXPECT_FALSE(u.CanRedo());
}

TEST_F(UndoFixture, ANewChangeDropsTheStepsUndoneBeforeIt)
{
    g.SetCells(1, 1, "a0");
    Change(g, u, 1, 1, "A");
    u.Undo();
    Change(g, u, 2, 1, "C");
    EXPECT_EQ(u.Items()->Count(), 1);
    EXPECT_EQ(u.Level(), 1);
    EXPECT_FALSE(u.CanRedo());
    u.Undo();
    EXPECT_EQ(g.Cells(2, 1), QString());
    u.Undo();
    EXPECT_EQ(g.Cells(1, 1), QString("a0"));
    EXPECT_EQ(u.Level(), 0);
}

TEST_F(UndoFixture, ASequenceUndoesAndRedoesInOneStep)
{
    Change(g, u, 0, 0, "before");
    u.StartSequence();
    Change(g, u, 1, 1, "x");
    Change(g, u, 2, 1, "y");
    Change(g, u, 1, 1, "z");
    u.StopSequence();
    u.Undo();
    EXPECT_EQ(g.Cells(1, 1), QString());
    EXPECT_EQ(g.Cells(2, 1), QString());
    EXPECT_EQ(g.Cells(0, 0), QString("before"));
    EXPECT_EQ(u.Level(), 1);
    u.Redo();
    // First change first: the cell changed twice ends with the later text.
    EXPECT_EQ(g.Cells(1, 1), QString("z"));
    EXPECT_EQ(g.Cells(2, 1), QString("y"));
    EXPECT_EQ(u.Level(), 6);
}

TEST_F(UndoFixture, MarkersAloneWriteNoCellAndAnUnfinishedSequenceRedoesWhole)
{
    int writes = 0;
    u.OnUndo = [&](TObject *, TBaseGrid *, int c, int r, const QString &, const QString &) {
        EXPECT_GE(c, 0);
        EXPECT_GE(r, 0);
        ++writes;
    };
    Change(g, u, 1, 0, "p");
    u.StartSequence();
    Change(g, u, 1, 1, "q");
    Change(g, u, 1, 2, "s");
    u.Undo();
    u.Undo();
    EXPECT_EQ(u.Level(), 2);
    // The lone start marker is stepped over to the change before it.
    u.Undo();
    EXPECT_EQ(u.Level(), 0);
    EXPECT_EQ(g.Cells(1, 0), QString());
    EXPECT_EQ(writes, 3);
    u.Redo();
    u.Redo();
    EXPECT_EQ(g.Cells(1, 1), QString("q"));
    EXPECT_EQ(g.Cells(1, 2), QString("s"));
    EXPECT_EQ(u.Level(), 4);
}

TEST_F(UndoFixture, TheLimitKeepsTheLatestChanges)
{
    u.SetMaxLevel(3);
    for (int i = 0; i < 4; ++i)
        Change(g, u, i, 0, QString::number(i));
    ASSERT_EQ(u.Items()->Count(), 3);
    EXPECT_EQ(u.Items()->Items(0)->Col(), 1);
    EXPECT_EQ(u.Items()->Items(2)->Col(), 3);
    // A stop marker whose start went with the limit undoes everything before it.
    u.SetMaxLevel(0);
    u.StopSequence();
    u.Undo();
    EXPECT_EQ(u.Level(), 0);
    EXPECT_EQ(g.Cells(1, 0), QString());
    EXPECT_EQ(g.Cells(0, 0), QString("0"));
}

TEST_F(UndoFixture, EventsHearTheCurrentAndTheRestoredText)
{
    g.SetCells(1, 1, "old");
    Change(g, u, 1, 1, "new");
    QString cur, restored;
    u.OnUndo = [&](TObject *, TBaseGrid *grid, int, int, const QString &o, const QString &n) {
        EXPECT_EQ(grid, &g);
        cur = o;
        restored = n;
    };
    u.OnRedo = u.OnUndo;
    u.Undo();
    EXPECT_EQ(cur, QString("new"));
    EXPECT_EQ(restored, QString("old"));
    u.Redo();
    EXPECT_EQ(cur, QString("old"));
    EXPECT_EQ(restored, QString("new"));
}

TEST(UndoLink, EitherSideGoingAwayClearsTheOthersReference)
{
    auto grid = std::make_unique<TTestGrid>();
    {
        TProGridUndoRedo u;
        grid->SetUndoRedo(&u);
    }
    EXPECT_EQ(grid->UndoRedo(), nullptr);

    TProGridUndoRedo u;
    grid->SetUndoRedo(&u);
    u.RegisterChange(1, 1, "a", "b");
    grid.reset();
    EXPECT_EQ(u.Grid(), nullptr);
    u.Undo();
    u.Redo();
    EXPECT_EQ(u.Level(), 1);
}
