// Cell checkers, the formatted cell text and the grid settings of this group.
#include "../grid/GridFixture.h"
#include "editors/psgcheck.h"
#include "grid/core/PsgHTMLE.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Corrects "teh" to "the", marks "bad", and records where the grid stood for each cell.
class TSpellCheck : public TProStringGridCheck
{
public:
    explicit TSpellCheck(TProStringGrid *AGrid) : Grid(AGrid) {}
    QString Correct(int, int, const QString &s) override { return s == "teh" ? QString("the") : s; }
    QString MarkError(int c, int r, const QString &s) override
    {
        Visited.emplace_back(Grid->Col(), Grid->Row());
        return s == "bad" ? QString("<e>bad</e>") : s;
    }
    void StartCheck() override { ++Starts; }
    void StopCheck() override { ++Stops; }
    TProStringGrid *Grid;
    int Starts = 0, Stops = 0;
    std::vector<std::pair<int, int>> Visited;
};
} // namespace

TEST(CellCheck, WithoutCheckerOrWithTheBaseNothingChanges)
{
    TTestGrid g;
    g.SetCells(1, 1, "teh");
    EXPECT_TRUE(g.CheckCells(0, 0, 4, 9));
    TProStringGridCheck base;
    base.SetGotoCell(true);
    base.SetUseCorrect(true);
    base.SetUseMarkError(true);
    base.SetAutoCorrect(true);
    base.SetAutoMarkError(true);
    g.SetCellChecker(&base);
    g.SetCol(2);
    g.SetRow(3);
    EXPECT_TRUE(g.CheckGrid(true));
    EXPECT_EQ(g.Cells(1, 1), "teh");
    EXPECT_EQ(g.Col(), 2);
    EXPECT_EQ(g.Row(), 3);
}

TEST(CellCheck, CorrectionsAndMarksAreWrittenAndFailTheCheck)
{
    TTestGrid g;
    TSpellCheck check(&g);
    check.SetUseCorrect(true);
    g.SetCellChecker(&check);
    g.SetCells(1, 1, "teh");
    g.SetCells(2, 1, "bad");
    EXPECT_FALSE(g.CheckRow(false, 1));
    EXPECT_EQ(g.Cells(1, 1), "the");
    EXPECT_EQ(g.Cells(2, 1), "bad");
    EXPECT_EQ(check.Starts, 1);
    EXPECT_EQ(check.Stops, 1);
    EXPECT_TRUE(g.CheckRow(false, 1)) << "corrected cells pass";

    // With both operations on, each sees the original text and the marking wins.
    check.SetUseMarkError(true);
    check.SetGotoCell(true);
    g.SetCells(1, 2, "teh");
    g.SetCells(3, 2, "bad");
    g.SetCol(4);
    g.SetRow(8);
    EXPECT_FALSE(g.CheckCol(false, 3));
    EXPECT_EQ(g.Cells(3, 2), "<e>bad</e>");
    // Every cell of the column was made current in turn, then the old cell came back.
    ASSERT_GE(check.Visited.size(), 9u);
    for (int r = 1; r <= 9; ++r)
        EXPECT_EQ(check.Visited[size_t(r - 1)], std::make_pair(3, r));
    EXPECT_EQ(g.Col(), 4);
    EXPECT_EQ(g.Row(), 8);
    EXPECT_TRUE(g.CheckCell(1, 2)) << "MarkError gives the original back, so the correction is lost";
    EXPECT_EQ(g.Cells(1, 2), "teh");
}

TEST(CellCheck, AFreedCheckerIsForgotten)
{
    TTestGrid g;
    {
        TSpellCheck check(&g);
        g.SetCellChecker(&check);
        EXPECT_EQ(g.CellChecker(), &check);
    }
    EXPECT_EQ(g.CellChecker(), nullptr);
    EXPECT_TRUE(g.CheckGrid(false));
}

TEST(FormattedCell, FloatFormatEventFormatsNumbersOnly)
{
    TTestGrid g;
    g.SetCells(1, 1, "2.5");
    g.SetCells(1, 2, "abc");
    g.SetCells(1, 3, "42");
    EXPECT_EQ(g.GetFormattedCell(1, 1), "2.5");
    int calls = 0;
    QString fmt = "%.3f";
    g.OnGetFloatFormat = [&](TObject *, int, int, bool &IsFloat, QString &F) {
        ++calls;
        EXPECT_EQ(F, "%.2f");
        EXPECT_TRUE(IsFloat);
        F = fmt;
    };
    EXPECT_EQ(g.GetFormattedCell(1, 1), "2.500");
    EXPECT_EQ(g.GetFormattedCell(1, 2), "abc");
    EXPECT_EQ(calls, 1) << "letters never reach the event";
    fmt = "%5d";
    EXPECT_EQ(g.GetFormattedCell(1, 3), "   42");
    EXPECT_EQ(g.GetFormattedCell(1, 1), "2.5") << "no integer: left as it is";
    fmt = "";
    EXPECT_EQ(g.GetFormattedCell(1, 1), "2.5");
    g.OnGetFloatFormat = [](TObject *, int, int, bool &IsFloat, QString &) { IsFloat = false; };
    EXPECT_EQ(g.GetFormattedCell(1, 1), "2.5");
}

TEST(GridSettings, RepaintOnlyOnChangeAndListsAndListener)
{
    TTestGrid g;
    g.Invalidates = 0;
    g.SetHighlightColor(g.HighlightColor());
    g.SetShowDesignHelper(g.ShowDesignHelper());
    EXPECT_EQ(g.Invalidates, 0);
    g.SetHighlightColor(0x00FF00);
    EXPECT_EQ(g.Invalidates, 1);
    EXPECT_EQ(HTMLHighlightColor(), TColor(0x00FF00));
    g.SetHighlightColor(clHighlight);

    g.IgnoreColumns()->Add(3);
    EXPECT_TRUE(g.IsIgnoredColumn(3));
    EXPECT_FALSE(g.IsIgnoredColumn(2));
    TStringList items;
    items.Add("x");
    g.SetLookupItems(&items);
    g.SetLookupItems(nullptr);
    EXPECT_EQ(g.LookupItems()->Count(), 1);

    struct TListener : ITProStringGridSelect
    {
    } a, b;
    g.RegisterSelListener(&a);
    g.RegisterSelListener(&b);
    EXPECT_EQ(g.SelListener(), &b);
    g.UnRegisterSelListener(&a);
    EXPECT_EQ(g.SelListener(), nullptr);

    g.SetWordWrap(false);
    EXPECT_FALSE(g.WordWrap());
    g.WriteEditorValue(2, 2, "typed");
    EXPECT_EQ(g.Cells(2, 2), "typed");
    int width = 10;
    g.OnUpdateColumnSize = [](TObject *, int c, int &w) { w += c; };
    g.UpdateColumnSize(5, width);
    g.UpdateAutoColumnSize(2, width);
    EXPECT_EQ(width, 17);
}

TEST(FormattedCell, SavedTextsTakeTheFormatWithVirtualCells)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("f.csv");
    TTestGrid g;
    g.SetColCount(2);
    g.SetRowCount(2);
    g.SetCells(0, 0, "n");
    g.SetCells(1, 0, "v");
    g.SetCells(0, 1, "a");
    g.SetCells(1, 1, "2.5");
    g.OnGetFloatFormat = [](TObject *, int, int, bool &, QString &F) { F = "%.3f"; };
    g.SaveToCSV(file, false);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("2.500"));
    f.close();
    g.SetSaveVirtCells(false);
    g.SaveToCSV(file, false);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray raw = f.readAll();
    EXPECT_TRUE(raw.contains("2.5"));
    EXPECT_FALSE(raw.contains("2.50"));
}

namespace {
class TFixedGrid : public TTestGrid
{
public:
    using TProStringGrid::IsFixed;
};
} // namespace

TEST(CellTests, FixedEditableAndPassword)
{
    TFixedGrid g;
    int asked = 0;
    g.OnIsFixedCell = [&](TObject *, int ARow, int ACol, bool &IsFixed) {
        ++asked;
        IsFixed = ACol == 3 && ARow == 3;
    };
    g.SetFixedFooters(1);
    g.SetFixedRightCols(1);
    EXPECT_TRUE(g.IsFixed(2, g.RowCount() - 1));
    EXPECT_TRUE(g.IsFixed(g.ColCount() - 1, 3));
    EXPECT_EQ(asked, 0) << "footer rows and right fixed columns are fixed without asking";
    EXPECT_FALSE(g.IsFixed(2, 3));
    EXPECT_TRUE(g.IsFixed(3, 3));

    EXPECT_FALSE(g.IsEditable(2, 2)) << "editing is off";
    TGridOptions o = g.Options();
    o.Include(goEditing);
    g.SetOptions(o);
    EXPECT_TRUE(g.IsEditable(2, 2));
    EXPECT_FALSE(g.IsEditable(0, 2));
    EXPECT_FALSE(g.IsEditable(3, 3));
    g.GetCellProperties(2, 2)->SetReadOnly(true);
    EXPECT_FALSE(g.IsEditable(2, 2));

    TFixedGrid r;
    r.MouseActions()->SetRangeSelectAndEdit(true);
    EXPECT_TRUE(r.IsEditable(2, 2));

    EXPECT_FALSE(g.IsPassword(2, 2));
    g.OnIsPasswordCell = [](TObject *, int, int ACol, bool &p) { p = ACol == 2; };
    EXPECT_TRUE(g.IsPassword(2, 5));
    EXPECT_FALSE(g.IsPassword(1, 5));
}
