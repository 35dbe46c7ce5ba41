// Finding cells: scan order, the match flags, the restrictions, replacing and the prefix search.
#include "tests/progrid/grid/GridFixture.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

// Records the rows the search reports while it walks the cells.
class TFindGrid : public TTestGrid
{
public:
    using TTestGrid::TTestGrid;
    std::vector<std::pair<TGridExportState, int>> Notes;
    int Visited() const
    {
        int n = 0;
        for (const auto &[s, r] : Notes)
            n += s == esExportNewRow;
        return n;
    }

protected:
    void ExportNotification(TGridExportState AState, int ARow) override { Notes.emplace_back(AState, ARow); }
};

// One fixed row and column around Cols x Rows normal cells.
void Area(TProStringGrid &g, int Cols, int Rows)
{
    g.SetColCount(Cols + 1);
    g.SetRowCount(Rows + 1);
    g.SetFixedCols(1);
    g.SetFixedRows(1);
}

} // namespace

TEST(Find, ScansColumnByColumnUnlessAskedForRows)
{
    TFindGrid g;
    Area(g, 3, 3);
    g.SetCells(1, 1, "b");
    g.SetCells(2, 1, "b");

    EXPECT_EQ(g.FindFirst("b", {}), TPoint(1, 1));
    EXPECT_TRUE(g.FindBusy());
    g.Notes.clear();
    EXPECT_EQ(g.FindNext(), TPoint(2, 1));
    // Rows 2 and 3 of column 1 come first.
    EXPECT_EQ(g.Visited(), 3);
    EXPECT_EQ(g.Notes.front(), std::make_pair(esExportStart, -1));
    EXPECT_EQ(g.Notes.back(), std::make_pair(esExportFail, -1));

    g.FindFirst("b", {fnDirectionLeftRight});
    g.Notes.clear();
    EXPECT_EQ(g.FindNext(), TPoint(2, 1));
    EXPECT_EQ(g.Visited(), 1);

    // No wrap-around: from the last hit nothing more is found.
    g.Notes.clear();
    EXPECT_EQ(g.FindNext(), TPoint(-1, -1));
    EXPECT_FALSE(g.FindBusy());
    EXPECT_EQ(g.Notes.back(), std::make_pair(esExportDone, -1));
    EXPECT_EQ(g.SearchCell(), TPoint(-1, -1));
}

TEST(Find, BackwardsStartsAtTheBottomRight)
{
    TFindGrid g;
    Area(g, 3, 3);
    g.SetCells(1, 1, "b");
    g.SetCells(3, 3, "b");
    EXPECT_EQ(g.Find(TPoint(-1, -1), "b", {fnBackward}), TPoint(3, 3));
    EXPECT_EQ(g.Visited(), 1);
    EXPECT_EQ(g.Find(TPoint(3, 3), "b", {fnBackward}), TPoint(1, 1));
    EXPECT_EQ(g.Find(TPoint(1, 1), "b", {fnBackward}), TPoint(-1, -1));
}

TEST(Find, MatchFlagsDecideWhatACellTextMatches)
{
    struct TCase
    {
        const char *Cell, *Search;
        TFindParams Params;
        bool Found;
    };
    const TCase cases[] = {
        {"abcd", "abc", {}, true},
        {"abcd", "abc", {fnMatchFull}, false},
        {"abc", "ABC", {fnMatchFull}, true},
        {"abcd", "abc", {fnMatchStart}, true},
        {"xabc", "abc", {fnMatchStart}, false},
        {"xabc", "abc", {}, true},
        {"ABC", "abc", {fnMatchCase}, false},
        {"abc", "abc", {fnMatchCase}, true},
        // A word half inside a bold tag.
        {"<b>ca</b>t", "cat", {fnIgnoreHTMLTags}, true},
        {"<b>ca</b>t", "cat", {}, false},
        {"12", ">10", {fnMatchRegular}, true},
        {"9", ">10", {fnMatchRegular}, false},
        {"Apple", "a*", {fnMatchRegular}, true},
        {"Apple", "a*", {fnMatchRegular, fnMatchCase}, false},
    };
    for (const TCase &t : cases) {
        TTestGrid g;
        Area(g, 1, 1);
        g.SetCells(1, 1, t.Cell);
        const TPoint hit = g.Find(TPoint(-1, -1), t.Search, t.Params);
        EXPECT_EQ(hit.X >= 0, t.Found) << t.Cell << " / " << t.Search;
        // The wide search reads the text as it stands, tags included.
        if (!t.Params.Contains(fnIgnoreHTMLTags))
            EXPECT_EQ(g.FindWide(TPoint(-1, -1), t.Search, t.Params).X >= 0, t.Found) << "wide " << t.Cell;
    }
}

TEST(Find, TwoDoubleQuotesFindTheFirstEmptyCell)
{
    TTestGrid g;
    Area(g, 2, 2);
    g.SetCells(1, 1, "x");
    g.SetCells(2, 1, "y");
    g.SetCells(2, 2, "z");
    EXPECT_EQ(g.Find(TPoint(-1, -1), "\"\"", {}), TPoint(1, 2));
    EXPECT_EQ(g.Find(TPoint(-1, -1), "\"\"", {fnDirectionLeftRight}), TPoint(1, 2));
}

TEST(Find, AreaAndLineRestrictions)
{
    TTestGrid g;
    Area(g, 3, 3);
    g.SetCells(0, 2, "k"); // fixed column
    g.SetCells(3, 1, "k");
    g.SetCells(2, 3, "k");
    EXPECT_EQ(g.Find(TPoint(-1, -1), "k", {fnDirectionLeftRight}), TPoint(3, 1));
    EXPECT_EQ(g.Find(TPoint(-1, -1), "k", {fnIncludeFixed}), TPoint(0, 2));

    g.FocusCell(2, 2);
    EXPECT_EQ(g.Find(TPoint(-1, -1), "k", {fnFindInCurrentCol}), TPoint(2, 3));
    EXPECT_EQ(g.Find(TPoint(-1, -1), "k", {fnFindInCurrentRow}), TPoint(-1, -1));
    // A step past the only row's end does not start the row over.
    g.FocusCell(1, 1);
    EXPECT_EQ(g.Find(TPoint(3, 1), "k", {fnFindInCurrentRow, fnDirectionLeftRight}), TPoint(-1, -1));

    g.SetFindRow(3);
    EXPECT_EQ(g.Find(TPoint(-1, -1), "k", {fnFindInPresetRow}), TPoint(2, 3));
    g.SetFindCol(3);
    EXPECT_EQ(g.Find(TPoint(-1, -1), "k", {fnFindInPresetCol}), TPoint(3, 1));

    g.SelectCells(2, 2, 3, 3);
    EXPECT_EQ(g.Find(TPoint(-1, -1), "k", {fnSelectedCells}), TPoint(2, 3));

    g.IgnoreColumns()->Add(3);
    EXPECT_EQ(g.Find(TPoint(-1, -1), "k", {fnDirectionLeftRight}), TPoint(2, 3));
}

TEST(Find, HiddenRowsAreSearchedOnlyWhenAsked)
{
    TTestGrid g;
    Area(g, 2, 4);
    g.SetCells(1, 3, "deep");
    g.HideRow(3);
    EXPECT_EQ(g.Find(TPoint(-1, -1), "deep", {}), TPoint(-1, -1));
    EXPECT_EQ(g.Find(TPoint(-1, -1), "deep", {fnIncludeHiddenRows}), TPoint(1, 3));
}

TEST(Find, AutoGotoMakesTheHitCurrent)
{
    TTestGrid g;
    Area(g, 3, 3);
    g.SetCells(2, 3, "q");
    g.Find(TPoint(-1, -1), "q", {});
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.Row(), 1);
    g.Find(TPoint(-1, -1), "q", {fnAutoGoto});
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.Row(), 3);
}

TEST(Find, EmptyAreasFindNothing)
{
    TTestGrid g;
    g.SetColCount(2);
    g.SetRowCount(2);
    g.SetFixedCols(1);
    g.SetFixedRows(1);
    g.SetFixedFooters(1);
    // Row 1 is the footer: no normal row is left.
    EXPECT_EQ(g.Find(TPoint(-1, -1), "\"\"", {}), TPoint(-1, -1));
    EXPECT_FALSE(g.FindBusy());
    EXPECT_EQ(g.Find(TPoint(-1, -1), "\"\"", {fnIncludeFixed}), TPoint(0, 0));
}

TEST(Replace, ReplacesEveryOccurrenceInTheStoredText)
{
    TTestGrid g;
    Area(g, 2, 2);
    g.SetCells(1, 1, "Cat and cat");
    g.SetCells(2, 2, "dog");
    EXPECT_EQ(g.Replace("cat", "dog", {}), 1);
    EXPECT_EQ(g.Cells(1, 1), "dog and dog");

    g.SetCells(1, 1, "Cat and cat");
    EXPECT_EQ(g.Replace("cat", "dog", {fnMatchCase}), 1);
    EXPECT_EQ(g.Cells(1, 1), "Cat and dog");

    // A replacement that still holds the text is not replaced again.
    g.SetCells(1, 2, "a");
    EXPECT_EQ(g.Replace("a", "aa", {fnMatchCase}), 2);
    EXPECT_EQ(g.Cells(1, 2), "aa");
    EXPECT_EQ(g.Cells(1, 1), "Caat aand dog");
}

TEST(Replace, KeepsWhatTheDisplayHookAddsOutOfTheCell)
{
    TTestGrid g;
    Area(g, 1, 2);
    g.SetCells(1, 1, "5");
    g.OnGetDisplText = [](TObject *, int, int, QString &Value) { Value += " kg"; };
    EXPECT_EQ(g.Replace("5", "6", {}), 1);
    EXPECT_EQ(g.GetGridCell(1, 1), "6");
    EXPECT_EQ(g.Cells(1, 1), "6 kg");
    // " kg" is found in every cell but stands in none.
    EXPECT_EQ(g.Replace("kg", "g", {}), 0);
    EXPECT_EQ(g.GetGridCell(1, 2), "");
}

TEST(Replace, MarksChangedRowsModified)
{
    TTestGrid g;
    Area(g, 1, 3);
    g.ShowModified()->SetEnabled(true);
    g.SetCells(1, 2, "old");
    g.ClearModifiedRows();
    g.Replace("old", "new", {});
    EXPECT_TRUE(g.RowModified(2));
    EXPECT_FALSE(g.RowModified(1));
}

TEST(Search, PrefixOfTheSortedColumnInUpperCase)
{
    TTestGrid g;
    Area(g, 2, 2);
    g.SetCells(1, 1, "Apple");
    g.SetCells(1, 2, "<b>Ban</b>ana");
    g.SetCells(2, 1, "Banjo");
    EXPECT_EQ(g.Search("BAN"), 2);
    EXPECT_EQ(g.Search("ban"), -1);
    g.SortSettings()->SetShow(true);
    g.SortSettings()->SetColumn(2);
    EXPECT_EQ(g.Search("BAN"), 1);
    g.SortSettings()->SetColumn(-1);
    EXPECT_EQ(g.Search("BAN"), -1);
    g.SetRowCount(1);
    EXPECT_EQ(g.Search("A"), -1);
}
