// Sorting rows: the comparison in its sort styles, plain, indexed and group sorts, undoing a
// sort, and what moves with the rows.
#include "../grid/GridFixture.h"
#include "grid/core/ProUtil.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace {

class TSortGrid : public TTestGrid
{
public:
    using TProStringGrid::CompareCells;
    using TProStringGrid::CreateCellGraphic;
};

struct TLocaleGuard
{
    TFormatSettings Saved = FormatSettings;
    ~TLocaleGuard() { FormatSettings = Saved; }
};

// One fixed row, then the texts in column 1 (and column 2 when given).
void Rows(TProStringGrid &g, const QStringList &col1, const QStringList &col2 = {})
{
    g.SetColCount(4);
    g.SetRowCount(col1.size() + 1);
    for (int i = 0; i < col1.size(); ++i) {
        g.SetCells(1, i + 1, col1[i]);
        if (i < col2.size())
            g.SetCells(2, i + 1, col2[i]);
    }
}

QStringList Column(TProStringGrid &g, int col)
{
    QStringList out;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        out << g.Cells(col, r);
    return out;
}

QStringList Pairs(TProStringGrid &g)
{
    QStringList out;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        out << g.Cells(1, r) + "," + g.Cells(2, r);
    return out;
}

} // namespace

TEST(Sort, AutoFormatSortsNumbersAsNumbers)
{
    TSortGrid g;
    Rows(g, {"10", "9", "100"});
    g.Sort(1, sdAscending);
    EXPECT_EQ(Column(g, 1), QStringList({"9", "10", "100"}));
    g.Sort(1, sdDescending);
    EXPECT_EQ(Column(g, 1), QStringList({"100", "10", "9"}));
    g.SortSettings()->SetAutoFormat(false);
    g.Sort(1, sdAscending);
    EXPECT_EQ(Column(g, 1), QStringList({"10", "100", "9"}));
    g.SortSettings()->SetIgnoreCase(true);
    Rows(g, {"b", "C", "a"});
    g.Sort(1, sdAscending);
    EXPECT_EQ(Column(g, 1), QStringList({"a", "b", "C"}));
}

TEST(Sort, AutomaticDetectionLooksAtTheFirstRowsText)
{
    TLocaleGuard guard;
    TSortGrid g;
    // Each pair orders one way as its detected kind and the other way as text.
    struct
    {
        const char *A, *B;
        int Expected;
    } cases[] = {
        {"10/01/2010", "9/01/2010", 1},              // dates (M/d/yyyy)
        {"9/01/2010", "10/01/2010", -1},
        {"10/01/2010 10:30", "9/01/2010 11:00", 1},  // dates with times
        {"7:45", "12:00", -1},                       // times
        {"12:00", "7:45", 1},
        {"1234/5/6", "12/31/1999", 1},               // separator too far in: text
        {"12/31/1999", "1234/5/6", 1},               // a date against no date: 0
        {"9/01/2010", "xyz", -1},                    // the other text holds no separator: text
    };
    for (const auto &c : cases) {
        Rows(g, {c.A, c.B});
        EXPECT_EQ(g.CompareCells(1, 1, 2, sdAscending), c.Expected) << c.A << " / " << c.B;
    }
    // Check boxes are compared by their state whatever the text.
    Rows(g, {"a", "b"});
    g.CreateCellGraphic(1, 1)->SetCheckBox(true, false, false, haLeft, vaTop);
    g.CreateCellGraphic(1, 2)->SetCheckBox(false, false, false, haLeft, vaTop);
    EXPECT_EQ(g.CompareCells(1, 1, 2, sdAscending), 1);
    // A tri-state box is not one of them: its cell compares as text.
    g.AddCheckBox(1, 1, cbChecked);
    EXPECT_EQ(g.CompareCells(1, 1, 2, sdAscending), -1);
}

TEST(Sort, StylesFromTheFormatHook)
{
    TLocaleGuard guard;
    TSortGrid g;
    TSortStyle style = ssNumeric;
    QString prefix, suffix;
    g.OnGetFormat = [&](TObject *, int, TSortStyle &s, QString &p, QString &x) {
        s = style;
        p = prefix;
        x = suffix;
    };
    g.OnCustomCompare = [](TObject *, const QString &a, const QString &b, int &res) { res = a.size() - b.size(); };
    g.OnRawCompare = [&g](TObject *, int c, int r1, int r2, int &res) {
        res = g.Cells(c + 1, r1).compare(g.Cells(c + 1, r2));
    };
    struct
    {
        TSortStyle Style;
        const char *Prefix, *Suffix, *A, *B;
        int Expected;
    } cases[] = {
        {ssNumeric, "$", "", "$5", "$40", -1},
        {ssNumeric, "", " kg", "5 kg", "40 kg", -1},
        {ssNumeric, "", "", "abc", "xyz", 0},      // neither is a number
        {ssNumeric, "", "", "12abc", "9", 1},      // the leading number counts
        {ssNumeric, "", "", "1,200", "999", -1},   // without thousands: 1
        {ssFinancial, "", "", "1,200", "999", 1},
        {ssAlphabetic, "", "", "abc", "ABD", 1},
        {ssAlphaCase, "", "", "abc", "ABD", 1},
        {ssAlphaNoCase, "", "", "abc", "ABD", -1},
        {ssAnsiAlphaNoCase, "", "", "abc", "ABD", -1},
        {ssHTML, "", "", "<b>b</b>", "a", 1},
        {ssShortDateEU, "", "", "1.2.11", "2.1.11", 1},
        {ssShortDateUS, "", "", "1.2.11", "2.1.11", -1},
        {ssDate, "", "", "1/2/2011", "12/31/2010", 1},
        {ssTime, "", "", "7:45", "12:00", -1},
        {ssAlphaNumeric, "", "", "10", "9", 1},
        {ssAlphaNumeric, "", "", "10", "9a", -1},
        {ssCustom, "", "", "aaa", "b", 1},
        {ssRaw, "", "", "x", "x", -1},
    };
    for (const auto &c : cases) {
        style = c.Style;
        prefix = c.Prefix;
        suffix = c.Suffix;
        Rows(g, {c.A, c.B}, {"a", "b"});
        EXPECT_EQ(g.CompareCells(1, 1, 2, sdAscending), c.Expected) << int(c.Style) << ": " << c.A << " / " << c.B;
    }
    // Pictures: an image list index orders its cells, a cell without one comes first.
    style = ssImages;
    Rows(g, {"", "", ""});
    g.CreateCellGraphic(1, 1)->SetImageIdx(3, haLeft, vaTop);
    g.CreateCellGraphic(1, 2)->SetImageIdx(1, haLeft, vaTop);
    EXPECT_EQ(g.CompareCells(1, 1, 2, sdAscending), 1);
    EXPECT_EQ(g.CompareCells(1, 3, 2, sdAscending), -1);
}

TEST(Sort, BlanksGoToTheChosenEndInBothDirections)
{
    TSortGrid g;
    g.SortSettings()->SetIgnoreBlanks(true);
    const struct
    {
        TSortBlankPosition Pos;
        TSortDirection Dir;
        QStringList Expected;
    } cases[] = {
        {blLast, sdAscending, {"a", "b", "", ""}},
        {blLast, sdDescending, {"b", "a", "", ""}},
        {blFirst, sdAscending, {"", "", "a", "b"}},
        {blFirst, sdDescending, {"", "", "b", "a"}},
    };
    for (const auto &c : cases) {
        Rows(g, {"b", "", "a", ""});
        g.SortSettings()->SetBlankPos(c.Pos);
        g.Sort(1, c.Dir);
        EXPECT_EQ(Column(g, 1), c.Expected) << int(c.Pos) << int(c.Dir);
    }
}

TEST(Sort, TiesGoToTheColumnsOnTheRight)
{
    TSortGrid g;
    Rows(g, {"1", "1", "0"}, {"b", "a", "z"});
    g.Sort(1, sdAscending);
    EXPECT_EQ(Pairs(g), QStringList({"0,z", "1,a", "1,b"}));
    // Ties in column 2 are not decided by column 1 on its left.
    Rows(g, {"2", "1", "3"}, {"x", "x", "a"});
    g.SetCells(3, 1, "a");
    g.SetCells(3, 2, "b");
    g.Sort(2, sdAscending);
    EXPECT_EQ(Pairs(g), QStringList({"3,a", "2,x", "1,x"}));
    // An ignored column takes no part: the tie goes on to column 3.
    g.IgnoreColumns()->Add(2);
    Rows(g, {"1", "1"}, {"b", "a"});
    g.SetCells(3, 1, "a");
    g.SetCells(3, 2, "b");
    g.Sort(1, sdAscending);
    EXPECT_EQ(Pairs(g), QStringList({"1,b", "1,a"}));
}

TEST(Sort, IndexedSortWithDirectionsPerColumn)
{
    TSortGrid g;
    Rows(g, {"b", "a", "c", "a"}, {"1", "2", "1", "1"});
    g.SortIndexes()->AddIndex(2, false);
    g.SortIndexes()->AddIndex(1, true);
    g.QSortIndexed();
    EXPECT_EQ(Pairs(g), QStringList({"a,2", "a,1", "b,1", "c,1"}));
    EXPECT_EQ(g.SortIndexes()->Count(), 2) << "the indexes stay";
    g.Sort(1, sdAscending);
    EXPECT_EQ(g.SortIndexes()->Count(), 0) << "a plain sort empties them";

    Rows(g, {"b", "a"});
    EXPECT_EQ(GridErrorOf([&] { g.QSortIndexed(); }), "No indexes specified for indexed sort");
    EXPECT_EQ(Column(g, 1), QStringList({"b", "a"}));
}

TEST(Sort, UnSortRestoresTheOrderBeforeTheFirstSort)
{
    TSortGrid g;
    Rows(g, {"3", "1", "2", "1"}, {"c", "d", "a", "b"});
    const QStringList before = Pairs(g);
    g.Sort(1, sdAscending);
    g.Sort(2, sdDescending);
    EXPECT_EQ(Pairs(g), QStringList({"1,d", "3,c", "1,b", "2,a"}));
    const int swaps = g.Swaps();
    g.QUnSort();
    EXPECT_EQ(Pairs(g), before);
    EXPECT_GT(g.Swaps(), swaps);
    // Sorted again after a row was added: the reference starts at the order of that moment.
    g.AddRow();
    g.SetCells(1, 5, "0");
    const QStringList withRow = Pairs(g);
    g.Sort(1, sdAscending);
    g.QUnSort();
    EXPECT_EQ(Pairs(g), withRow);
}

TEST(Sort, NormalCellsOnlyKeepsTheRowNumbers)
{
    TSortGrid g;
    Rows(g, {"c", "a", "b"});
    for (int r = 1; r <= 3; ++r)
        g.SetCells(0, r, QString::number(r));
    g.SortSettings()->SetNormalCellsOnly(true);
    g.Sort(1, sdAscending);
    EXPECT_EQ(Column(g, 0), QStringList({"1", "2", "3"}));
    EXPECT_EQ(Column(g, 1), QStringList({"a", "b", "c"}));
}

TEST(Sort, GroupSortSortsEachExpandedGroupOfTheDeepestLevel)
{
    TSortGrid g;
    Rows(g, {"N1", "c", "a", "b", "N2", "z", "N3", "y", "x", "m"});
    auto node = [&](int row, int span, bool contracted) {
        TCellGraphic *n = g.CreateCellGraphic(0, row);
        n->SetCellType(ctNode);
        n->SetCellIndex(span);
        n->SetCellBoolean(contracted);
        for (int r = row; r < row + span; ++r)
            g.GetCellProperties(0, r)->SetNodeLevel(1);
    };
    node(1, 4, false);
    node(5, 2, false);
    node(7, 3, true);
    g.SortSettings()->SetColumn(1);
    g.QSortGroup();
    EXPECT_EQ(Column(g, 1), QStringList({"N1", "a", "b", "c", "N2", "z", "N3", "y", "x", "m"}));
    EXPECT_TRUE(g.IsNode(1));
    EXPECT_TRUE(g.IsNode(5));
}

TEST(Sort, RowsTakeTheirLooksHeightsAndFlagsAlong)
{
    TSortGrid g;
    Rows(g, {"c", "a", "b"});
    g.SetColors(1, 1, clRed);
    g.SetRowHeights(1, 40);
    g.ShowModified()->SetEnabled(true);
    g.SetRowModified(1, true);
    g.MouseActions()->SetDisjunctRowSelect(true);
    g.Navigation()->SetMoveRowOnSort(true);
    g.SetRowSelect(1, true);
    g.Sort(1, sdAscending);
    EXPECT_EQ(g.GetColors(1, 3), clRed);
    EXPECT_EQ(g.RowHeights(3), 40);
    EXPECT_EQ(g.RowHeights(1), g.DefaultRowHeight());
    EXPECT_TRUE(g.RowModified(3));
    EXPECT_FALSE(g.RowModified(1));
    EXPECT_TRUE(g.RowSelect(3));
    EXPECT_FALSE(g.RowSelect(1));
    ASSERT_EQ(g.SelectedRows()->Count(), 1);
    EXPECT_EQ(g.SelectedRows()->GetInteger(0), 3);
}

TEST(Sort, TheCurrentRowStaysOrFollowsItsData)
{
    TSortGrid g;
    Rows(g, {"c", "a", "b"});
    std::vector<std::pair<int, int>> updates;
    g.OnRowUpdate = [&](TObject *, int o, int n) { updates.emplace_back(o, n); };
    g.SetRow(1);
    updates.clear();
    g.Sort(1, sdAscending);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(updates, (std::vector<std::pair<int, int>>{{1, 1}})) << "the row's content changed";
    g.Navigation()->SetMoveRowOnSort(true);
    g.Sort(1, sdDescending);
    EXPECT_EQ(g.Cells(1, g.Row()), "a") << "the current row follows its data";
    EXPECT_EQ(g.Row(), 3);
}

TEST(Sort, SortLineSwapsRowsOutOfOrder)
{
    TSortGrid g;
    Rows(g, {"1", "1", "2"}, {"b", "a", "c"});
    g.SetRowHeights(1, 30);
    const int compares = g.Compares();
    EXPECT_TRUE(g.SortLine(1, 1, 2)) << "a tie goes on to column 2";
    EXPECT_EQ(Pairs(g), QStringList({"1,a", "1,b", "2,c"}));
    EXPECT_EQ(g.RowHeights(2), 30);
    EXPECT_FALSE(g.SortLine(1, 2, 3));
    EXPECT_FALSE(g.SortLine(1, 1, 1));
    EXPECT_GT(g.Compares(), compares);

    // A range of rows alone; no column, no sort.
    Rows(g, {"4", "3", "2", "1"});
    g.QuickSort(1, 2, 3);
    EXPECT_EQ(Column(g, 1), QStringList({"4", "2", "3", "1"}));
    g.QuickSort(-1, 1, 4);
    EXPECT_EQ(Column(g, 1), QStringList({"4", "2", "3", "1"}));
    EXPECT_EQ(GridErrorOf([&] { g.CompareCells(-1, 1, 2, sdAscending); }), "Invalid cell index (-1, 1)");
}

// ---- Faults the sort must not have ----------------------------------------------------------

TEST(SortFaults, SingleColumnMovesStoredTextsOnly)
{
    TSortGrid g;
    Rows(g, {"3", "1", "2"}, {"x", "y", "z"});
    g.OnGetDisplText = [](TObject *, int c, int, QString &v) {
        if (c == 1)
            v += " kg";
    };
    g.SortSettings()->SetSingleColumn(true);
    g.SortSettings()->SetAutoFormat(false);
    g.Sort(1, sdAscending);
    for (int r = 1; r <= 3; ++r)
        EXPECT_FALSE(g.GetGridCell(1, r).contains("kg")) << r;
    EXPECT_EQ(Column(g, 1), QStringList({"1 kg", "2 kg", "3 kg"}));
    EXPECT_EQ(Column(g, 2), QStringList({"x", "y", "z"})) << "other columns stay";
    g.SortSwapRows(1, 3);
    EXPECT_EQ(g.GetGridCell(1, 1), "3");
    EXPECT_EQ(Column(g, 2), QStringList({"x", "y", "z"}));
}

TEST(SortFaults, CellsBeyondTheCountsStayAndNoPropertiesAreLost)
{
    int freed = 0;
    TSortGrid g;
    Rows(g, {"d", "b", "e", "a", "c"});
    for (int r = 1; r <= 5; ++r)
        g.SetCellProperties(2, r, new TCountedProps(&g, 2, r, freed));
    g.GetCellProperties(2, 1)->SetBrushColor(clRed);
    // Rows 4 and 5 stay in the store beyond the lowered count.
    g.SetRowCount(4);
    g.Sort(1, sdAscending);
    EXPECT_EQ(Column(g, 1), QStringList({"b", "d", "e"}));
    EXPECT_EQ(g.GetCellProperties(2, 2)->BrushColor(), clRed) << "the properties went with their row";
    EXPECT_EQ(freed, 0);
    g.SetRowCount(6);
    EXPECT_EQ(g.Cells(1, 4), "a");
    EXPECT_EQ(g.Cells(1, 5), "c");
    EXPECT_NE(g.GetGridObject(2, 5), nullptr);
}

TEST(SortFaults, AnAdversarialOrderDoesNotDeepenTheRecursion)
{
    // McIlroy's adversary makes every partition of a quicksort as lopsided as it can be: a
    // recursion on both parts would go about one level deeper per row (in one direction the deep
    // side is the left one, in the other the right one).
    const int n = 3000;
    for (TSortDirection dir : {sdAscending, sdDescending}) {
        TSortGrid g;
        g.SetColCount(2);
        g.SetRowCount(n + 1);
        for (int r = 1; r <= n; ++r)
            g.SetCells(1, r, QString::number(r));
        g.OnGetFormat = [](TObject *, int, TSortStyle &s, QString &, QString &) { s = ssCustom; };
        std::vector<int> val(size_t(n + 1), n + 1);
        int solid = 0, candidate = 0;
        char base = 0;
        uintptr_t lowest = reinterpret_cast<uintptr_t>(&base);
        g.OnCustomCompare = [&](TObject *, const QString &a, const QString &b, int &res) {
            char probe = 0;
            lowest = std::min(lowest, reinterpret_cast<uintptr_t>(&probe));
            const int x = a.toInt(), y = b.toInt();
            const int gas = n + 1;
            if (val[size_t(x)] == gas && val[size_t(y)] == gas)
                val[size_t(x == candidate ? x : y)] = solid++;
            if (val[size_t(x)] == gas)
                candidate = x;
            else if (val[size_t(y)] == gas)
                candidate = y;
            res = val[size_t(x)] > val[size_t(y)] ? 1 : val[size_t(x)] < val[size_t(y)] ? -1 : 0;
        };
        g.Sort(1, dir);
        EXPECT_GT(g.Compares(), n * n / 8) << "the adversary made the sort quadratic";
        EXPECT_LT(reinterpret_cast<uintptr_t>(&base) - lowest, 64u * 1024u) << int(dir);
        for (int r = 2; r <= n; ++r) {
            const int a = val[size_t(g.Cells(1, r - 1).toInt())], b = val[size_t(g.Cells(1, r).toInt())];
            ASSERT_TRUE(dir == sdAscending ? a <= b : a >= b) << r;
        }
    }
}

TEST(Sort, NumericColumnsThroughTheWholeSort)
{
    // Mixed and blank cells in an automatic column, sorted by the full sort (not one comparison).
    TSortGrid g;
    g.SortSettings()->SetIgnoreBlanks(true);
    g.SortSettings()->SetBlankPos(blLast);
    Rows(g, {"10", "", "9", "2.5", "100"});
    g.Sort(1, sdAscending);
    EXPECT_EQ(Column(g, 1), QStringList({"2.5", "9", "10", "100", ""}));
    g.Sort(1, sdDescending);
    EXPECT_EQ(Column(g, 1), QStringList({"100", "10", "9", "2.5", ""}));

    // Many rows with repeated values: ties go on to the column on the right, and a row never
    // loses its place against itself once the pivot has moved. The order is known beforehand.
    TSortGrid h;
    const int n = 500;
    h.SetColCount(3);
    h.SetRowCount(n + 1);
    std::vector<std::pair<int, QString>> expected;
    uint32_t x = 12345;
    for (int r = 1; r <= n; ++r) {
        x = x * 1103515245u + 12345u;
        const int v = int((x >> 16) % 40);
        const QString w = QString::number((x >> 8) % 100000).rightJustified(6, QChar('0'));
        h.SetCells(1, r, QString::number(v));
        h.SetCells(2, r, w);
        expected.emplace_back(v, w);
    }
    std::sort(expected.begin(), expected.end());
    h.Sort(1, sdAscending);
    for (int r = 1; r <= n; ++r) {
        ASSERT_EQ(h.Cells(1, r), QString::number(expected[size_t(r - 1)].first)) << r;
        ASSERT_EQ(h.Cells(2, r), expected[size_t(r - 1)].second) << r;
    }
}

TEST(Sort, APivotMetAgainAfterItMovedIsNotWalkedAcrossEveryColumn)
{
    // Distinct values in column 1: no comparison of two different rows ties there, so the
    // columns on the right are never asked, even for the pivot's row met again at a new place.
    TSortGrid g;
    const int n = 2000, cols = 6;
    g.SetColCount(cols);
    g.SetRowCount(n + 1);
    for (int r = 1; r <= n; ++r) {
        g.SetCells(1, r, QString::number((r * 7919) % n));
        for (int c = 2; c < cols; ++c)
            g.SetCells(c, r, QStringLiteral("same"));
    }
    g.OnGetFormat = [](TObject *, int ACol, TSortStyle &s, QString &, QString &) { s = ACol == 1 ? ssNumeric : ssCustom; };
    int asked = 0;
    g.OnCustomCompare = [&](TObject *, const QString &, const QString &, int &res) {
        ++asked;
        res = 0;
    };
    g.Sort(1, sdAscending);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("0"));
    EXPECT_EQ(g.Cells(1, n), QString::number(n - 1));
    EXPECT_EQ(asked, 0);
}
