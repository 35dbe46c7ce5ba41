// Filtering rows: conditions per item, filter levels, narrowing while typing, the column filter
// drop-down and its check list, and the footer row under a filter.
#include "../grid/GridFixture.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class TFilterGrid : public TTestGrid
{
public:
    using TProStringGrid::CreateCellGraphic;
    using TProStringGrid::FFilterCol;
    using TProStringGrid::FilterCheckList;
    using TProStringGrid::FilterCheckListApply;
    using TProStringGrid::FilterDropDownSelect;
    using TProStringGrid::FilterDropList;
    using TProStringGrid::GetColumnFilter;
    using TProStringGrid::RowMatchesFilter;
};

// One fixed row, then the texts in column 1.
void Rows(TProStringGrid &g, const QStringList &col1)
{
    g.SetColCount(3);
    g.SetRowCount(col1.size() + 1);
    for (int i = 0; i < col1.size(); ++i)
        g.SetCells(1, i + 1, col1[i]);
}

QStringList Shown(TProStringGrid &g, int col = 1)
{
    QStringList out;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        out << g.Cells(col, r);
    return out;
}

TFilterData *AddItem(TProStringGrid &g, int col, const QString &cond, TFilterOperation op)
{
    TFilterData *item = g.Filter()->Add();
    item->SetColumn(int16_t(col));
    item->SetCondition(cond);
    item->SetOperation(op);
    return item;
}

} // namespace

TEST(Filter, ItemsJoinAndMatchTheTextTheyName)
{
    TFilterGrid g;
    const QByteArray deep(300, '(');
    Rows(g, {"$12", "7", "<b>Bold</b>", "apple", ""});
    g.SetCells(2, 4, "Pear");
    struct
    {
        TFilterCells Data;
        int Col;
        const char *Condition, *Prefix;
        bool CaseSensitive;
        std::vector<bool> Expected;  // rows 1 .. 5
    } cases[] = {
        // "$12" is 12; texts compare by character code with "10".
        {fcNormal, 1, ">10", "$", true, {true, false, true, true, false}},
        {fcStripHTML, 1, "Bold", "", true, {false, false, true, false, false}},
        {fcNormal, 1, "APPLE", "", false, {false, false, false, true, false}},
        {fcNormal, 1, "APPLE", "", true, {false, false, false, false, false}},
        {fcRow, -1, "pear", "", true, {false, false, false, true, false}},  // anywhere in the row, any case
        {fcNormal, 1, "", "", true, {true, true, true, true, true}},        // no condition
        {fcNormal, 1, deep.constData(), "", true, {false, false, false, false, false}},
    };
    for (const auto &c : cases) {
        g.Filter()->Clear();
        TFilterData *item = AddItem(g, c.Col, c.Condition, foNONE);
        item->SetData(c.Data);
        item->SetPrefix(c.Prefix);
        item->SetCaseSensitive(c.CaseSensitive);
        for (int r = 1; r <= 5; ++r)
            EXPECT_EQ(g.RowMatchesFilter(r), c.Expected[size_t(r - 1)]) << c.Condition << " row " << r;
    }
    // The display text by default, the stored one with fcNormal; a suffix only at the end.
    g.OnGetDisplText = [](TObject *, int c, int, QString &v) {
        if (c == 1 && v == "7")
            v = "7 kg";
    };
    g.Filter()->Clear();
    TFilterData *item = AddItem(g, 1, "7", foNONE);
    EXPECT_FALSE(g.RowMatchesFilter(2));
    item->SetSuffix(" kg");
    EXPECT_TRUE(g.RowMatchesFilter(2));
    item->SetData(fcNormal);
    item->SetSuffix("");
    EXPECT_TRUE(g.RowMatchesFilter(2));
}

TEST(Filter, OperationsShortCutsAndTheCustomEvent)
{
    TFilterGrid g;
    Rows(g, {"a", "b", "c"});
    AddItem(g, 1, "a", foNONE);
    AddItem(g, 1, "b", foOR);
    EXPECT_TRUE(g.RowMatchesFilter(1));
    EXPECT_TRUE(g.RowMatchesFilter(2));
    EXPECT_FALSE(g.RowMatchesFilter(3));
    AddItem(g, 1, "*", foAND);
    EXPECT_TRUE(g.RowMatchesFilter(2));
    AddItem(g, 1, "b", foXOR);
    EXPECT_TRUE(g.RowMatchesFilter(1));
    EXPECT_FALSE(g.RowMatchesFilter(2));

    // A failing short item rejects the row whatever follows.
    g.Filter()->Clear();
    AddItem(g, 1, "a", foSHORT);
    AddItem(g, 1, "*", foOR);
    EXPECT_TRUE(g.RowMatchesFilter(1));
    EXPECT_FALSE(g.RowMatchesFilter(2));

    std::vector<int> asked;
    g.OnCustomFilter = [&](TObject *, int r, bool &accept) {
        asked.push_back(r);
        accept = accept || r == 3;
    };
    EXPECT_TRUE(g.RowMatchesFilter(3));
    EXPECT_FALSE(g.RowMatchesFilter(2));
    EXPECT_EQ(asked, (std::vector<int>{3, 2}));
}

TEST(Filter, ActiveFilterHidesAndRestoresRows)
{
    TFilterGrid g;
    Rows(g, {"1", "20", "3", "40"});
    g.Filter()->Add()->SetColumn(1);
    g.Filter()->Items(0)->SetCondition(">10");
    std::vector<int> progress;
    g.OnFilterProgress = [&](TObject *, int16_t p) { progress.push_back(p); };
    g.SetRow(4);
    g.SetFilterActive(true);
    EXPECT_EQ(Shown(g), QStringList({"20", "40"}));
    EXPECT_EQ(g.FilterLevel(), 1);
    EXPECT_EQ(progress, (std::vector<int>{25, 50, 75, 100, 100}));
    g.SetFilterActive(false);
    EXPECT_EQ(Shown(g), QStringList({"1", "20", "3", "40"}));
    EXPECT_EQ(g.FilterLevel(), 0);
    EXPECT_EQ(g.Filter()->Count(), 1) << "the conditions stay";
    // FilterRow hides one row on its own.
    g.FilterRow(1);
    EXPECT_EQ(Shown(g), QStringList({"20", "3", "40"}));
    EXPECT_TRUE(g.IsHiddenRow(1));
}

TEST(Filter, NodeRowsStayWithFilterNormalCellsOnly)
{
    TFilterGrid g;
    Rows(g, {"group", "a", "b"});
    g.CreateCellGraphic(0, 1)->SetCellType(ctNode);
    AddItem(g, 1, "a", foNONE);
    g.ApplyFilter();
    EXPECT_EQ(Shown(g), QStringList({"group", "a"}));
    g.RemoveLastFilter();
    g.SetFilterNormalCellsOnly(false);
    g.ApplyFilter();
    EXPECT_EQ(Shown(g), QStringList({"a"}));
}

TEST(Filter, RemoveLastFilterCountsTheLevelsLeft)
{
    TFilterGrid g;
    Rows(g, {"1", "2", "3", "4"});
    for (const char *cond : {"<4", "<3", "<2"}) {
        g.Filter()->Clear();
        AddItem(g, 1, cond, foNONE);
        g.ApplyFilter();
    }
    EXPECT_EQ(Shown(g), QStringList({"1"}));
    EXPECT_TRUE(g.RemoveLastFilter());
    EXPECT_EQ(Shown(g), QStringList({"1", "2"}));
    EXPECT_FALSE(g.RemoveLastFilter());
    EXPECT_EQ(Shown(g), QStringList({"1", "2", "3"}));
    EXPECT_FALSE(g.RemoveLastFilter());
    EXPECT_EQ(Shown(g), QStringList({"1", "2", "3", "4"}));
    EXPECT_FALSE(g.RemoveLastFilter());
    EXPECT_EQ(Shown(g), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(g.FilterLevel(), 0);
    // A filter that hides every row keeps the header row.
    g.Filter()->Clear();
    AddItem(g, 1, "none", foNONE);
    g.ApplyFilter();
    EXPECT_EQ(g.RowCount(), 1);
    g.RemoveAllFilters();
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.Filter()->Count(), 1);
    g.RemoveAllFilters();
    EXPECT_EQ(g.Filter()->Count(), 0) << "without levels the conditions go";
}

TEST(Filter, NarrowDownAddsAndPeelsOffOneLevelPerCharacter)
{
    TFilterGrid g;
    Rows(g, {"apple", "banana", "cherry"});
    const struct
    {
        const char *Typed;
        int Level;
        QStringList Shown;
    } steps[] = {
        {"a", 1, {"apple", "banana"}}, {"an", 2, {"banana"}},           {"ana", 3, {"banana"}},
        {"an", 2, {"banana"}},         {"a", 1, {"apple", "banana"}},   {"", 0, {"apple", "banana", "cherry"}},
    };
    for (const auto &s : steps) {
        g.NarrowDown(s.Typed, 1);
        EXPECT_EQ(g.FilterLevel(), s.Level) << s.Typed;
        EXPECT_EQ(Shown(g), s.Shown) << s.Typed;
    }
    // Column -1: anywhere in the row, whatever the case.
    g.SetCells(2, 3, "Xylophone");
    g.NarrowDown("x", -1);
    EXPECT_EQ(Shown(g), QStringList({"cherry"}));
    g.NarrowDown("", -1);
    EXPECT_EQ(Shown(g).size(), 3);
}

TEST(Filter, NarrowDownMatchesTheTypedTextLiterally)
{
    TFilterGrid g;
    Rows(g, {"a b", "ab", "x<5y", "3", "a*b"});
    for (const char *typed : {"a", "a ", "a b"})
        g.NarrowDown(typed, 1);
    EXPECT_EQ(Shown(g), QStringList({"a b"}));
    g.NarrowDown("", 1);
    g.NarrowDown("<5", 1);
    EXPECT_EQ(Shown(g), QStringList({"x<5y"}));
    g.NarrowDown("", 1);
    g.NarrowDown("a*b", 1);
    EXPECT_EQ(Shown(g), QStringList({"a*b"}));
    g.NarrowDown("", 1);
    g.NarrowDown("A*", 1);
    EXPECT_EQ(Shown(g), QStringList({"a*b"})) << "case is ignored";
}

TEST(FilterDropDown, AValueFiltersExactlyTheRowsHoldingIt)
{
    TFilterGrid g;
    Rows(g, {"x*y", "xzy", "a=b", "a", "b c", "b c"});
    g.SetFilterDropDownAuto(true);
    std::vector<QString> names;
    g.OnFilterSelect = [&](TObject *, int col, int, const QString &name, QString &) {
        EXPECT_EQ(col, 1);
        names.push_back(name);
    };
    int done = 0;
    g.OnFilterDone = [&](TObject *) { ++done; };
    auto choose = [&](const QString &entry) {
        g.GetColumnFilter(1);
        g.FilterDropList()->Items()->Assign(g.FilterList());
        const int index = g.FilterList()->IndexOf(entry);
        EXPECT_GE(index, 0) << entry.toStdString();
        g.FFilterCol = 1;
        g.FilterDropDownSelect(index);
        EXPECT_EQ(g.FFilterCol, -1);
    };
    choose("x*y");
    EXPECT_EQ(Shown(g), QStringList({"x*y"}));
    choose("a=b");
    EXPECT_EQ(Shown(g), QStringList({"a=b"}));
    EXPECT_EQ(names.back(), "a=b");
    choose("b c=\"b c\"");
    EXPECT_EQ(Shown(g), QStringList({"b c", "b c"}));
    EXPECT_EQ(names.back(), "b c");
    choose("(All)");
    EXPECT_EQ(Shown(g).size(), 6);
    EXPECT_FALSE(g.Filter()->HasFilter(1));
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(done, 4);

    // An entry of the program's own is a friendly name and a condition.
    g.OnGetColumnFilter = [](TObject *, int, TStrings *list) { list->Add("Starts with x=x*"); };
    g.OnFilterSelect = [&](TObject *, int, int, const QString &name, QString &) { names.push_back(name); };
    choose("Starts with x=x*");
    EXPECT_EQ(names.back(), "Starts with x");
    EXPECT_EQ(Shown(g), QStringList({"x*y", "xzy"}));
    // A handler that rewrites a value's condition gives an expression.
    g.OnFilterSelect = [](TObject *, int, int, const QString &, QString &cond) { cond = "a*"; };
    choose("a");
    EXPECT_EQ(Shown(g), QStringList({"a=b", "a"}));

    // An index or column out of range does nothing.
    const int level = g.FilterLevel();
    g.FFilterCol = 1;
    g.FilterDropDownSelect(99);
    g.FFilterCol = 50;
    g.FilterDropDownSelect(0);
    EXPECT_EQ(g.FilterLevel(), level);
    EXPECT_EQ(g.FFilterCol, -1);
}

TEST(FilterDropDown, TheCheckedValuesJoinWithOr)
{
    TFilterGrid g;
    Rows(g, {"x*y", "xzy", "a", "b"});
    g.SetFilterDropDownAuto(true);
    g.GetColumnFilter(1);
    TDropCheckList *list = g.FilterCheckList();
    list->Items()->Assign(g.FilterList());
    list->SetChecked(g.FilterList()->IndexOf("x*y"), true);
    list->SetChecked(g.FilterList()->IndexOf("b"), true);
    g.FFilterCol = 1;
    g.FilterCheckListApply();
    EXPECT_EQ(Shown(g), QStringList({"x*y", "b"}));
    ASSERT_EQ(g.Filter()->Count(), 2);
    EXPECT_EQ(g.Filter()->Items(0)->Operation(), foNONE);
    EXPECT_EQ(g.Filter()->Items(1)->Operation(), foOR);
    EXPECT_TRUE(g.FilterActive());
}

TEST(Filter, TheFooterRowStaysLastUnderAFilter)
{
    TFilterGrid g;
    Rows(g, {"1", "20", "30", "40", "5", ""});
    g.FloatingFooter()->SetVisible(true);
    g.SetCells(1, 6, "Total");
    g.SetCells(2, 6, "footer");
    AddItem(g, 1, ">10", foNONE);
    g.ApplyFilter();
    EXPECT_EQ(Shown(g), QStringList({"20", "30", "40", "Total"}));
    g.RemoveLastFilter();
    EXPECT_EQ(Shown(g), QStringList({"1", "20", "30", "40", "5", "Total"}));
    EXPECT_EQ(g.Cells(2, 6), "footer");
    // A footer calculation follows the rows that are shown.
    g.FloatingFooter()->SetCalculateHiddenRows(false);
    g.FloatingFooter()->SetColumnCalc(1, acSUM);
    EXPECT_EQ(g.Cells(1, 6), "96.00");
    g.SetFilterActive(true);
    EXPECT_EQ(Shown(g), QStringList({"20", "30", "40", "90.00"}));
    g.SetFilterActive(false);
    EXPECT_EQ(Shown(g), QStringList({"1", "20", "30", "40", "5", "96.00"}));
    EXPECT_EQ(g.Cells(2, 6), "footer");
}
