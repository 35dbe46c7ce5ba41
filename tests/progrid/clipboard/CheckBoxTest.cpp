// Check boxes, radio buttons and radio groups in cells: adding, state, toggling through the
// tree, the undo record of a toggle, pasting into boxes and removing checked rows.
#include "../grid/GridFixture.h"
#include "framework/os/Clipbrd.h"
#include "grid/core/ProGridUndo.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

void Sized(TProStringGrid &g, int cols, int rows)
{
    g.SetColCount(cols);
    g.SetRowCount(rows);
}

TCheckBoxState TriState(TProStringGrid &g, int c, int r)
{
    TCheckBoxState s = cbGrayed;
    EXPECT_TRUE(g.GetCheckBoxState(c, r, s));
    return s;
}

} // namespace

TEST(CheckBoxes, DataBoxesKeepTheirStateInTheText)
{
    TTestGrid g;
    Sized(g, 3, 4);
    g.SetCells(1, 1, "N");
    g.AddCheckBox(1, 1, true, true);
    g.AddCheckBox(1, 2, true, true);
    g.SetCells(1, 3, "maybe");
    g.AddCheckBox(1, 3, false, true);
    EXPECT_EQ(ReadColumn(g, 1), QStringList({"", "N", "Y", "N"}));
    EXPECT_FALSE(g.IsChecked(1, 1));
    EXPECT_TRUE(g.IsChecked(1, 2));
    g.SetCells(1, 3, "other");
    EXPECT_TRUE(g.ToggleCheckBox(1, 3));
    EXPECT_EQ(g.Cells(1, 3), QString("Y"));
    EXPECT_TRUE(g.HasDataCheckBox(1, 3));
    EXPECT_FALSE(g.IsChecked(2, 2));
    EXPECT_FALSE(g.ToggleCheckBox(2, 2));
}

TEST(CheckBoxes, AddingBeyondTheGridIsRefused)
{
    TTestGrid g;
    Sized(g, 3, 3);
    for (auto add : std::vector<std::function<void()>>{[&] { g.AddCheckBox(3, 0, true, false); },
                                                        [&] { g.AddCheckBox(0, 3, cbChecked); },
                                                        [&] { g.AddRadioButton(0, 5, true); }}) {
        try {
            add();
            ADD_FAILURE() << "no error";
        } catch (const Exception &e) {
            EXPECT_EQ(e.Message(), QString("Invalid cell"));
        }
    }
    EXPECT_FALSE(g.HasCheckBox(0, 0));
}

TEST(CheckBoxes, TriStateBoxOutsideAGroupCyclesAndToggleFiresTheEvent)
{
    TTestGrid g;
    Sized(g, 3, 3);
    g.AddCheckBox(1, 1, cbUnchecked);
    std::vector<bool> heard;
    g.OnCheckBoxChange = [&](TObject *, int, int, bool s) { heard.push_back(s); };
    std::vector<TCheckBoxState> seen;
    for (int i = 0; i < 3; ++i) {
        g.ToggleCheckBox(1, 1);
        seen.push_back(TriState(g, 1, 1));
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    EXPECT_EQ(heard.size(), 3u);
}

TEST(CheckBoxes, TheTreeFollowsItsChildrenAndANodeSetsThemAll)
{
    TTestGrid g;
    Sized(g, 3, 6);
    g.AddNode(1, 4);
    g.Grouping()->SetAutoCheckGroup(true);
    g.AddCheckBoxColumn(2, false, false);
    EXPECT_EQ(g.GetCellType(2, 1), ctTriStateCheckBox);
    for (int r = 2; r <= 4; ++r)
        g.ToggleCheckBox(2, r);
    EXPECT_EQ(TriState(g, 2, 1), cbChecked);
    g.ToggleCheckBox(2, 3);
    EXPECT_EQ(TriState(g, 2, 1), cbGrayed);
    g.ToggleCheckBox(2, 2);
    g.ToggleCheckBox(2, 4);
    EXPECT_EQ(TriState(g, 2, 1), cbUnchecked);
    // The node's box checks itself and every child.
    g.ToggleCheckBox(2, 1);
    EXPECT_EQ(TriState(g, 2, 1), cbChecked);
    for (int r = 2; r <= 4; ++r)
        EXPECT_TRUE(g.IsChecked(2, r)) << r;
    EXPECT_FALSE(g.HasCheckBox(2, 0));
}

TEST(CheckBoxes, AToggleRecordsTheOldAndTheNewStateForEveryKind)
{
    TTestGrid g;
    Sized(g, 4, 3);
    TProGridUndoRedo u;
    g.SetUndoRedo(&u);
    g.AddCheckBox(1, 1, false, false);
    g.SetCells(2, 1, "Y");
    g.AddCheckBox(2, 1, false, true);
    g.AddCheckBox(3, 1, cbGrayed);
    g.ToggleCheckBox(1, 1);
    g.ToggleCheckBox(2, 1);
    g.ToggleCheckBox(3, 1);
    struct Want
    {
        int col;
        const char *orig, *value;
    } want[] = {{1, "N", "Y"}, {2, "Y", "N"}, {3, "N", "Y"}};
    ASSERT_EQ(u.Items()->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(u.Items()->Items(i)->Col(), want[i].col);
        EXPECT_EQ(u.Items()->Items(i)->OrigValue(), QString(want[i].orig)) << i;
        EXPECT_EQ(u.Items()->Items(i)->Value(), QString(want[i].value)) << i;
    }
    u.Undo();
    u.Undo();
    EXPECT_EQ(g.Cells(2, 1), QString("Y"));
    EXPECT_TRUE(g.IsChecked(2, 1));
}

TEST(CheckBoxes, UndoOfABoxInTheGraphicGivesBackItsStateAndKeepsTheCaption)
{
    TTestGrid g;
    Sized(g, 4, 3);
    TProGridUndoRedo u;
    g.SetUndoRedo(&u);
    g.SetCells(1, 1, "caption");
    g.AddCheckBox(1, 1, false, false);
    g.SetCells(3, 1, "tri");
    g.AddCheckBox(3, 1, cbUnchecked);
    g.ToggleCheckBox(1, 1);
    g.ToggleCheckBox(3, 1); // unchecked -> grayed
    g.ToggleCheckBox(3, 1); // grayed -> checked
    ASSERT_TRUE(g.IsChecked(1, 1));
    u.Undo();
    EXPECT_NE(TriState(g, 3, 1), cbChecked);
    u.Undo();
    u.Undo();
    EXPECT_FALSE(g.IsChecked(1, 1));
    EXPECT_EQ(g.Cells(1, 1), QString("caption"));
    EXPECT_EQ(g.Cells(3, 1), QString("tri"));
    u.Redo();
    EXPECT_TRUE(g.IsChecked(1, 1));
    EXPECT_EQ(g.Cells(1, 1), QString("caption"));
}

TEST(CheckBoxes, PastingCheckTextSetsTheBoxAndRemovingCheckedRowsKeepsTheOthers)
{
    TTestGrid g;
    g.SetOptions(g.Options() + goEditing);
    Sized(g, 3, 5);
    g.AddCheckBoxColumn(1, false, false);
    for (int r = 1; r < 5; ++r)
        g.SetCells(2, r, QString("r%1").arg(r));
    int lines = 0, fields = 0;
    g.PasteTextAt(1, 2, lines, fields, "Y\nN\nY");
    EXPECT_TRUE(g.IsChecked(1, 2));
    EXPECT_FALSE(g.IsChecked(1, 3));
    EXPECT_TRUE(g.IsChecked(1, 4));
    EXPECT_EQ(g.Cells(1, 2), QString());
    g.RemoveCheckedRows(1, true);
    EXPECT_EQ(ReadColumn(g, 2), QStringList({"", "r1", "r3"}));
    g.CheckAll(1);
    EXPECT_TRUE(g.IsChecked(1, 1) && g.IsChecked(1, 2));
    g.RemoveCheckBoxColumn(1);
    EXPECT_FALSE(g.HasCheckBox(1, 1));
}

TEST(RadioButtons, AClickUnchecksTheOtherButtonsOfTheColumnFixedRowsIncluded)
{
    TTestGrid g;
    Sized(g, 3, 5);
    g.AddRadioButtonColumn(2);
    g.AddRadioButton(2, 0, true);
    g.AddRadioButton(1, 3, true);
    EXPECT_TRUE(g.DoClickRadioButton(2, 3, false));
    EXPECT_FALSE(g.IsRadioButtonChecked(2, 0));
    EXPECT_TRUE(g.IsRadioButtonChecked(2, 3));
    EXPECT_TRUE(g.IsRadioButtonChecked(1, 3));
    EXPECT_EQ(g.GetRadioButtonColumnIndex(2), 3);
    g.SetRadioButtonState(2, 1, true);
    EXPECT_TRUE(g.IsRadioButtonChecked(2, 3));
    g.SetRadioButtonColumnIndex(2, 4);
    EXPECT_EQ(g.GetRadioButtonColumnIndex(2), 4);
    EXPECT_TRUE(g.HasCellControl(2, 4));
    g.RemoveRadioButtonColumn(2);
    EXPECT_FALSE(g.HasRadioButton(2, 4));
    EXPECT_FALSE(g.DoClickRadioButton(2, 4, false));
}

TEST(RadioGroups, SelectNextWrapsAndFollowsTheTextWithoutAnIndex)
{
    TTestGrid g;
    Sized(g, 3, 3);
    TStrings *options = g.CreateRadio(1, 1, 0, 2);
    for (const char *o : {"a", "b", "c"})
        options->Add(o);
    g.RadioSelectNext(1, 1, false);
    int idx = -5;
    EXPECT_TRUE(g.GetRadioIdx(1, 1, idx));
    EXPECT_EQ(idx, 0);
    EXPECT_EQ(g.Cells(1, 1), QString("a"));
    g.SetRadioIdx(1, 1, -1);
    EXPECT_EQ(g.Cells(1, 1), QString());
    g.SetCells(1, 1, "b");
    g.RadioSelectNext(1, 1, false);
    g.GetRadioIdx(1, 1, idx);
    EXPECT_EQ(idx, 2);
    EXPECT_EQ(g.Cells(1, 1), QString("c"));
    EXPECT_EQ(g.GetRadioStrings(1, 1), options);
    g.RemoveRadio(1, 1);
    EXPECT_FALSE(g.IsRadio(1, 1));
}

TEST(CheckBoxes, PreciseHitTestFindsTheBoxInTheCell)
{
    TTestGrid g;
    Sized(g, 3, 3);
    g.AddCheckBox(1, 1, false, false);
    EXPECT_TRUE(g.IsInCheckBox(1, 1, -100, -100));
    g.MouseActions()->SetPreciseCheckBoxCheck(true);
    const TRect C = g.CellRect(1, 1);
    EXPECT_TRUE(g.IsInCheckBox(1, 1, C.Left + 4, C.Top + 4));
    EXPECT_FALSE(g.IsInCheckBox(1, 1, C.Left + 40, C.Top + 4));
    EXPECT_FALSE(g.IsInCheckBox(2, 1, C.Left + 4, C.Top + 4));
}
