// The sort settings and their text form, the column filter conditions and the look of the filter
// drop-down.
#include "../grid/GridFixture.h"
#include "framework/rtl/Exceptions.h"

#include <gtest/gtest.h>

namespace {

// One fixed row; column 1 holds numbers, column 2 letters, column 4 a second key.
void Fill(TProStringGrid &g)
{
    g.SetColCount(5);
    g.SetRowCount(6);
    const QStringList c1 = {"3", "1", "2", "1", "3"};
    const QStringList c2 = {"b", "e", "a", "c", "d"};
    const QStringList c4 = {"x", "p", "y", "q", "z"};
    for (int i = 0; i < 5; ++i) {
        g.SetCells(1, i + 1, c1[i]);
        g.SetCells(2, i + 1, c2[i]);
        g.SetCells(4, i + 1, c4[i]);
    }
}

QStringList Normal(TProStringGrid &g, int col)
{
    QStringList out;
    for (int r = g.FixedRows(); r < g.RowCount(); ++r)
        out << g.Cells(col, r);
    return out;
}

QString ErrorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const Exception &e) {
        return e.Message();
    }
    return QStringLiteral("no error");
}

} // namespace

TEST(SortSettings, NewSettings)
{
    TTestGrid g;
    TSortSettings *s = g.SortSettings();
    EXPECT_EQ(s->SaveToString(), "u-1");
    EXPECT_EQ(s->Column(), -1);
    EXPECT_EQ(s->Row(), 0);
    EXPECT_FALSE(s->Show());
    EXPECT_TRUE(s->Full());
    EXPECT_TRUE(s->AutoFormat());
    EXPECT_TRUE(s->AutoSortForGrouping());
    EXPECT_TRUE(s->SortOnVirtualCells());
    EXPECT_EQ(s->IndexColor(), clYellow);
    EXPECT_EQ(s->IndexSortKey(), ikShift);
    EXPECT_EQ(s->HeaderMirrorColorTo(), clNone);
    EXPECT_TRUE(s->UpGlyph()->Empty());
}

TEST(SortSettings, LoadingAColumnSortsByIt)
{
    TTestGrid g;
    Fill(g);
    TSortSettings *s = g.SortSettings();
    s->SetIndexShow(true);
    s->LoadFromString("d2");
    EXPECT_TRUE(s->Show());
    EXPECT_FALSE(s->IndexShow());
    EXPECT_EQ(s->Direction(), sdDescending);
    EXPECT_EQ(s->Column(), 2);
    EXPECT_EQ(Normal(g, 2), QStringList({"e", "d", "c", "b", "a"}));
    EXPECT_EQ(s->SaveToString(), "d2");

    // A text that is no number turns the direction only.
    s->LoadFromString("u2x");
    EXPECT_EQ(s->Direction(), sdAscending);
    EXPECT_EQ(s->Column(), 2);
    EXPECT_EQ(Normal(g, 2), QStringList({"e", "d", "c", "b", "a"})) << "not sorted again";
    EXPECT_EQ(s->SaveToString(), "u2");

    s->LoadFromString("u1");
    EXPECT_EQ(Normal(g, 1), QStringList({"1", "1", "2", "3", "3"}));
}

TEST(SortSettings, LoadingAnIndexSortsByEveryKey)
{
    TTestGrid g;
    Fill(g);
    TSortSettings *s = g.SortSettings();
    s->LoadFromString("i;u1;d4");
    EXPECT_TRUE(s->IndexShow());
    EXPECT_TRUE(s->Show());
    EXPECT_EQ(Normal(g, 1), QStringList({"1", "1", "2", "3", "3"}));
    EXPECT_EQ(Normal(g, 4), QStringList({"q", "p", "y", "z", "x"}));
    EXPECT_EQ(s->SaveToString(), "i;u1;d4");

    // Entries too short to hold a column are passed over; nothing left means no sort.
    s->LoadFromString("i;x;;");
    EXPECT_EQ(g.SortIndexes()->Count(), 0);
    EXPECT_EQ(s->SaveToString(), "i;");

    s->Remove();
    EXPECT_EQ(s->Column(), -1);
    s->SetIndexShow(false);
    EXPECT_EQ(s->SaveToString(), "u-1");
}

TEST(SortSettings, BadTextsAndRows)
{
    TTestGrid g;
    Fill(g);
    TSortSettings *s = g.SortSettings();
    s->LoadFromString("");
    EXPECT_FALSE(s->Show()) << "an empty text does nothing";
    EXPECT_EQ(ErrorOf([&] { s->LoadFromString("d"); }), "Invalid sort settings specifier");
    EXPECT_TRUE(s->Show());
    EXPECT_EQ(s->Direction(), sdAscending);

    EXPECT_EQ(g.FixedRows(), 1);
    s->SetRow(0);
    EXPECT_EQ(ErrorOf([&] { s->SetRow(1); }), "Sort row should be smaller than number of fixed rows");
    EXPECT_EQ(s->Row(), 0);
    g.SetFixedRows(2);
    s->SetRow(1);
    EXPECT_EQ(s->Row(), 1);
}

TEST(SortSettings, ShowRepaintsOnAChangeAndDirectionToggles)
{
    TTestGrid g;
    TSortSettings *s = g.SortSettings();
    const int before = g.Invalidates;
    s->SetShow(false);
    EXPECT_EQ(g.Invalidates, before);
    s->SetShow(true);
    EXPECT_EQ(g.Invalidates, before + 1);
    s->ToggleDirection();
    EXPECT_EQ(s->Direction(), sdDescending);
    s->ToggleDirection();
    EXPECT_EQ(s->Direction(), sdAscending);
}

TEST(SortSettings, AssignLeavesTheCaseAndTheCellTextAlone)
{
    TTestGrid g1, g2;
    TSortSettings *a = g1.SortSettings();
    TSortSettings *b = g2.SortSettings();
    b->SetColumn(3);
    b->SetDirection(sdDescending);
    b->SetUndoSort(true);
    b->SetHeaderColorTo(clRed);
    b->SetIgnoreCase(true);
    b->SetSortOnVirtualCells(false);
    TBitmap glyph;
    glyph.SetSize(7, 5);
    b->SetUpGlyph(&glyph);
    a->Assign(b);
    EXPECT_EQ(a->Column(), 3);
    EXPECT_EQ(a->Direction(), sdDescending);
    EXPECT_TRUE(a->UndoSort());
    EXPECT_EQ(a->HeaderColorTo(), clRed);
    EXPECT_FALSE(a->IgnoreCase());
    EXPECT_TRUE(a->SortOnVirtualCells());
    EXPECT_EQ(a->UpGlyph()->Width(), 7);
    EXPECT_NE(a->UpGlyph(), b->UpGlyph());
}

TEST(Filter, ConditionsOfAColumn)
{
    TTestGrid g;
    TFilter *f = g.Filter();
    EXPECT_EQ(f->Owner(), &g);
    TFilterData *c2 = f->GetColFilter(2);
    EXPECT_EQ(f->Count(), 1);
    EXPECT_EQ(c2->Column(), 2);
    EXPECT_EQ(c2->Operation(), foNONE);
    EXPECT_EQ(f->GetColFilter(2), c2);
    TFilterData *c5 = f->GetColFilter(5);
    EXPECT_EQ(c5->Operation(), foAND);

    f->Add()->SetColumn(2);
    f->Add()->SetColumn(2);
    EXPECT_EQ(f->Count(), 4);
    f->RemoveColumnFilter(2);
    EXPECT_EQ(f->Count(), 1);
    EXPECT_FALSE(f->HasFilter(2));
    EXPECT_TRUE(f->HasFilter(5));

    // An inserted condition takes its place and joins like an added one.
    TFilterData *first = f->Insert(0);
    EXPECT_EQ(f->Items(0), first);
    EXPECT_EQ(first->Operation(), foAND);
    TFilterData *last = f->Insert(99);
    EXPECT_EQ(f->Items(2), last);
}

TEST(Filter, ConditionsCopyEveryField)
{
    TTestGrid g;
    TFilter *f = g.Filter();
    TFilterData *a = f->Add();
    TFilterData *b = f->Add();
    b->SetColumn(4);
    b->SetCondition(">3");
    b->SetCaseSensitive(false);
    b->SetPrefix("$");
    b->SetSuffix(" kg");
    b->SetOperation(foXOR);
    b->SetData(fcStripHTML);
    f->SetItems(0, b);
    EXPECT_EQ(a->Column(), 4);
    EXPECT_EQ(a->Condition(), ">3");
    EXPECT_FALSE(a->CaseSensitive());
    EXPECT_EQ(a->Prefix(), "$");
    EXPECT_EQ(a->Suffix(), " kg");
    EXPECT_EQ(a->Operation(), foXOR);
    EXPECT_EQ(a->Data(), fcStripHTML);
}

TEST(FilterDropDown, AssignKeepsAutoSizeAndGlyphChangesAreReported)
{
    TFilterDropDown a, b;
    EXPECT_EQ(a.Width(), 150);
    EXPECT_EQ(a.Height(), 150);
    EXPECT_EQ(a.Color(), clWindow);
    int changes = 0;
    a.OnChange = [&](TObject *) { ++changes; };
    b.SetAutoSize(true);
    b.SetColumnWidth(true);
    b.SetWidth(90);
    b.Font()->SetSize(14);
    TBitmap glyph;
    glyph.SetSize(12, 12);
    b.SetGlyphActive(&glyph);
    a.Assign(&b);
    EXPECT_FALSE(a.AutoSize());
    EXPECT_TRUE(a.ColumnWidth());
    EXPECT_EQ(a.Width(), 90);
    EXPECT_EQ(a.Font()->Size(), 14);
    EXPECT_EQ(a.GlyphActive()->Width(), 12);
    EXPECT_EQ(changes, 2);
}
