// The grid's hooks: the built-in rule first, then the event, with the parameter orders of the events.
#include "GridFixture.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

class THookGrid : public TTestGrid
{
public:
    using TProStringGrid::CanAddRow;
    using TProStringGrid::ExpandClick;
    using TProStringGrid::GetCellBorder;
    using TProStringGrid::GetCellCanEdit;
    using TProStringGrid::GetCellColor;
    using TProStringGrid::GetCellCursor;
    using TProStringGrid::GetColumnFilter;
    using TProStringGrid::GetCheckFalse;
    using TProStringGrid::GetCheckTrue;
    using TProStringGrid::GridHint;
    using TProStringGrid::HasComboBox;
    using TProStringGrid::HasNoEditor;
    using TProStringGrid::HasSpinEdit;
    using TProStringGrid::IsFixed;
    using TProStringGrid::IsFixedCell;
    using TProStringGrid::RatingChange;
    using TProStringGrid::CreateCellGraphic;
};

using Cell = std::pair<int, int>;

} // namespace

TEST(HooksTest, EventsPassTheRowFirstWhereTheirTypesSaySo)
{
    THookGrid g;
    std::vector<Cell> color, canEdit, fixed;
    g.OnGetCellColor = [&](TObject *, int a, int b, TGridDrawState, TBrush *, TFont *) { color.push_back({a, b}); };
    g.OnCanEditCell = [&](TObject *, int a, int b, bool &) { canEdit.push_back({a, b}); };
    g.OnIsFixedCell = [&](TObject *, int a, int b, bool &) { fixed.push_back({a, b}); };
    TBrush brush;
    TFont font;
    g.GetCellColor(2, 5, TGridDrawState{}, &brush, &font);
    bool can = true;
    g.GetCellCanEdit(2, 5, can);
    bool isFixed = false;
    g.IsFixedCell(2, 5, isFixed);
    EXPECT_EQ(color, (std::vector<Cell>{{5, 2}}));
    EXPECT_EQ(canEdit, (std::vector<Cell>{{5, 2}}));
    EXPECT_EQ(fixed, (std::vector<Cell>{{5, 2}}));
    EXPECT_TRUE(can) << "a cell without properties stays editable";
}

TEST(HooksTest, IsFixedCellRules)
{
    THookGrid g;
    int fired = 0;
    g.OnIsFixedCell = [&](TObject *, int, int, bool &f) {
        ++fired;
        f = true;
    };
    bool f = true;
    g.IsFixedCell(3, 3, f);
    EXPECT_TRUE(f);
    EXPECT_EQ(fired, 0) << "a cell arriving fixed never asks the event";
    f = false;
    g.IsFixedCell(0, 3, f);
    EXPECT_TRUE(f);
    EXPECT_EQ(fired, 0) << "a fixed column is fixed by the rule";
    f = false;
    g.IsFixedCell(3, 3, f);
    EXPECT_TRUE(f);
    EXPECT_EQ(fired, 1);

    THookGrid one;
    one.SetFixedCols(0);
    one.SetFixedRowAlways(true);
    one.SetFixedRows(1);
    one.SetRowCount(1);
    f = false;
    one.IsFixedCell(1, 0, f);
    EXPECT_TRUE(f) << "a grid kept at its minimum keeps row 0 fixed";
}

TEST(HooksTest, FooterRowsAndRightFixedColumnsAreFixedWithoutAsking)
{
    THookGrid g;
    g.SetFixedFooters(1);
    g.SetFixedRightCols(1);
    int fired = 0;
    g.OnIsFixedCell = [&](TObject *, int, int, bool &) { ++fired; };
    EXPECT_TRUE(g.IsFixed(2, g.RowCount() - 1));
    EXPECT_TRUE(g.IsFixed(g.ColCount() - 1, 3));
    EXPECT_EQ(fired, 0);
    EXPECT_FALSE(g.IsFixed(2, 3));
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(g.IsFixed(0, 3));
}

TEST(HooksTest, EditAndSpinAndComboQuestions)
{
    THookGrid g;
    g.GetCellProperties(2, 2)->SetReadOnly(true);
    g.GetCellProperties(3, 2);
    bool can = true;
    g.GetCellCanEdit(2, 2, can);
    EXPECT_FALSE(can) << "read-only";
    can = true;
    g.GetCellCanEdit(3, 2, can);
    EXPECT_FALSE(can) << "a cell with properties in a grid without goEditing";
    g.SetOptions(g.Options() + goEditing);
    can = true;
    g.GetCellCanEdit(3, 2, can);
    EXPECT_TRUE(can);

    g.OnHasSpinEdit = [](TObject *, int, int, bool &h) { h = true; };
    EXPECT_FALSE(g.HasSpinEdit(0, 2)) << "never in a fixed cell";
    EXPECT_FALSE(g.HasSpinEdit(2, 0));
    EXPECT_TRUE(g.HasSpinEdit(2, 2));
    g.OnHasSpinEdit = nullptr;
    EXPECT_FALSE(g.HasSpinEdit(2, 2));
    g.ControlLook()->SetSpinButtonsAlwaysVisible(true);
    g.SetDefaultEditor(edFloatSpinEdit);
    EXPECT_TRUE(g.HasSpinEdit(2, 2));

    EXPECT_FALSE(g.HasComboBox(2, 2));
    g.ControlLook()->SetDropDownAlwaysVisible(true);
    EXPECT_FALSE(g.HasComboBox(2, 2));
    g.OnGetEditorType = [](TObject *, int c, int, TEditorType &e) { e = c == 2 ? edComboList : edNone; };
    EXPECT_TRUE(g.HasComboBox(2, 2));
    EXPECT_FALSE(g.HasNoEditor(2, 2));
    EXPECT_TRUE(g.HasNoEditor(3, 2));
    g.OnHasComboBox = [](TObject *, int, int, bool &) {};
    EXPECT_FALSE(g.HasComboBox(2, 2)) << "the event alone decides when assigned";
}

TEST(HooksTest, CheckTextsRatingsAndRows)
{
    THookGrid g;
    QString v;
    g.GetCheckTrue(1, 1, v);
    EXPECT_EQ(v, "Y");
    g.GetCheckFalse(1, 1, v);
    EXPECT_EQ(v, "N");
    g.OnGetCheckFalse = [](TObject *, int c, int r, QString &s) { s += QString::number(c) + QString::number(r); };
    g.GetCheckFalse(1, 2, v);
    EXPECT_EQ(v, "N12");

    double rate = 3;
    EXPECT_TRUE(g.RatingChange(1, 1, rate));
    g.OnRatingChange = [](TObject *, int, int, double &r, bool &allow) {
        r = 4.5;
        allow = false;
    };
    EXPECT_FALSE(g.RatingChange(1, 1, rate));
    EXPECT_EQ(rate, 4.5);

    bool canAdd = true;
    g.OnCanAddRow = [](TObject *, bool &c) { c = false; };
    g.CanAddRow(canAdd);
    EXPECT_FALSE(canAdd);
}

TEST(HooksTest, ColumnFilterValues)
{
    THookGrid g;
    g.SetRowCount(5);
    const char *texts[] = {"a b", " A B ", "c", "d e"};
    for (int r = 1; r <= 4; ++r)
        g.SetCells(1, r, texts[r - 1]);
    g.SetFilterDropDownAuto(true);
    g.HideRow(4);
    g.SetFilterDropDownClear("");
    EXPECT_TRUE(g.GetColumnFilter(1));
    EXPECT_EQ(g.FilterList()->Text(), "a b=\"a b\"\r\nc\r\nd e=\"d e\"\r\n") << "hidden rows count too";
    g.SetFilterIncremental(true);
    g.GetColumnFilter(1);
    EXPECT_EQ(g.FilterList()->Text(), "a b=\"a b\"\r\nc\r\n");
    EXPECT_FALSE(g.FilterList()->Sorted());
    g.SetFilterDropDownClear("(All)");
    g.GetColumnFilter(1);
    EXPECT_EQ(g.FilterList()->Strings(0), "(All)");
    EXPECT_EQ(g.FilterList()->Count(), 3);

    g.SetFilterDropDownClear("");
    EXPECT_FALSE(g.GetColumnFilter(0)) << "a fixed column offers nothing of its cells";
    std::vector<int> asked;
    g.OnGetColumnFilter = [&](TObject *, int c, TStrings *l) {
        asked.push_back(c);
        l->Add("z");
    };
    EXPECT_TRUE(g.GetColumnFilter(0));
    EXPECT_EQ(g.FilterList()->Text(), "z\r\n");
    g.SetFilterDropDownAuto(false);
    g.GetColumnFilter(1);
    EXPECT_EQ(g.FilterList()->Text(), "z\r\n");
    EXPECT_EQ(asked, (std::vector<int>{0, 1}));
}

TEST(HooksTest, GroupingBordersOnNodeAndSummaryRows)
{
    THookGrid g;
    g.CreateCellGraphic(0, 2)->SetCellType(ctNode);
    g.CreateCellGraphic(0, 4)->SetCellType(ctSummary);
    g.Grouping()->SetHeaderUnderline(true);
    g.Grouping()->SetHeaderLineColor(0x112233);
    g.Grouping()->SetHeaderLineWidth(3);
    g.Grouping()->SetSummaryLine(true);
    TPen pen;
    TCellBorders borders;
    g.GetCellBorder(1, 2, &pen, borders);
    EXPECT_EQ(borders, TCellBorders{cbBottom});
    EXPECT_EQ(pen.Color(), TColor(0x112233));
    EXPECT_EQ(pen.Width(), 3);
    g.GetCellBorder(1, 4, &pen, borders);
    EXPECT_EQ(borders, TCellBorders{cbTop});
    EXPECT_EQ(pen.Color(), clBlue);
    EXPECT_EQ(pen.Width(), 2);
    borders = TCellBorders{};
    g.GetCellBorder(0, 2, &pen, borders);
    g.GetCellBorder(1, 3, &pen, borders);
    EXPECT_TRUE(borders.Empty()) << "column 0 and plain rows keep their borders";
    EXPECT_TRUE(g.IsNode(2));
    EXPECT_FALSE(g.IsNode(-1));
    EXPECT_TRUE(g.IsSummary(4));
    EXPECT_FALSE(g.IsSummary(2));
}

TEST(HooksTest, HintsCursorAndExpandHeight)
{
    THookGrid g;
    QString hint = "h", wide;
    g.OnGridHint = [](TObject *, int r, int c, QString &s) { s = QString("r%1c%2").arg(r).arg(c); };
    g.GridHint(1, 2, hint, wide);
    EXPECT_EQ(hint, "r2c1");
    g.OnGridWideHint = [](TObject *, int, int, QString &s) { s = QString(QChar(0x0416)); };
    g.GridHint(1, 2, hint, wide);
    EXPECT_EQ(hint, QString("|\\") + QChar(0x04) + QChar(0x16));

    g.SetCursor(crCross);
    g.GetCellCursor(1, 1, 5, 5);
    EXPECT_EQ(g.ShownCursor(), crDefault) << "nothing happens without a handler";
    TCursor offered = crDefault;
    g.OnGetCellCursor = [&](TObject *, int, int, int, int, TCursor &c) {
        offered = c;
        c = crHandPoint;
    };
    g.GetCellCursor(1, 1, 5, 5);
    EXPECT_EQ(offered, crCross);
    EXPECT_EQ(g.ShownCursor(), crHandPoint);
    EXPECT_EQ(g.Cursor(), crCross);

    TCellGraphic *e = g.CreateCellGraphic(1, 3);
    e->SetCellType(ctExpand);
    e->SetCellAngle(80);
    e->SetCellIndex(20);
    bool seen = false;
    g.OnExpandClick = [&](TObject *, int c, int r, bool x) { seen = c == 1 && r == 3 && x; };
    g.ExpandClick(1, 3, true);
    EXPECT_TRUE(seen);
    EXPECT_EQ(g.RowHeights(3), 80);
    g.ExpandClick(1, 3, false);
    EXPECT_EQ(g.RowHeights(3), 20);
    g.ExpandClick(2, 3, true);
    EXPECT_EQ(g.RowHeights(3), g.DefaultRowHeight());
    g.AddCheckBox(3, 4, cbChecked);
    g.ExpandClick(3, 4, true);
    EXPECT_EQ(g.RowHeights(4), g.DefaultRowHeight()) << "a cell of another graphic keeps a usable row";
}

TEST(HooksTest, CellFontAndDefaultProps)
{
    THookGrid g;
    EXPECT_EQ(g.GetCellFont(1, 1), g.Font());
    TCellProperties *p = g.GetCellProperties(1, 1);
    EXPECT_EQ(p->BrushColor(), g.Color()) << "a new normal cell takes the grid's colour";
    EXPECT_EQ(g.GetCellProperties(1, 0)->BrushColor(), clNone) << "a fixed cell freezes no colour";
    g.Bands()->SetActive(true);
    EXPECT_EQ(g.GetCellProperties(2, 2)->BrushColor(), clNone) << "nor does a banded one";
    p->SetFontName("Courier");
    p->SetFontSize(14);
    p->SetFontColor(0x0000FF);
    TFont *f = g.GetCellFont(1, 1);
    EXPECT_EQ(f->Name(), "Courier");
    EXPECT_EQ(f->Size(), 14);
    EXPECT_EQ(f->Color(), TColor(0x0000FF));
    EXPECT_EQ(g.GetCellFont(2, 2), f) << "one font serves every cell with properties";
}
