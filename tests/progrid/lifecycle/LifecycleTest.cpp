// Construction, destruction, copying, sizing and the owner-form relay of the grid.
#include "framework/controls/Forms.h"
#include "framework/controls/SysMetrics.h"
#include "framework/graphics/Themes.h"
#include "tests/progrid/grid/GridFixture.h"
#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {

class TProbeGrid : public TTestGrid
{
public:
    explicit TProbeGrid(TComponent *AOwner = nullptr) : TTestGrid(AOwner) {}
    using TBaseGrid::HasCellProperties;
    using TProStringGrid::CreateEditor;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TTestGrid::Paint();
    }
};

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

} // namespace

TEST(Construction, NewGridHasTheDocumentedDefaults)
{
    TProbeGrid g;
    EXPECT_EQ(g.RowCount(), 10);
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.DefaultRowHeight(), 22);
    EXPECT_EQ(g.FixedRowHeight(), 22);
    EXPECT_EQ(g.Width(), 400);
    EXPECT_EQ(g.Height(), 250);
    EXPECT_EQ(g.Look(), glXP);
    // The desktop here is a themed one of the newest kind.
    EXPECT_EQ(g.BorderColor(), TColor(0xB99D7F));
    EXPECT_EQ(g.SelectionColor(), TColor(0xEACAB6));
    EXPECT_EQ(g.SelectionColorTo(), clNone);
    EXPECT_EQ(g.ActiveCellColor(), TColor(0x808080));
    EXPECT_EQ(g.DUZGradientFrom(), TColor(0xFFFFFF));
    EXPECT_EQ(g.FloatFormat(), "%.2f");
    EXPECT_EQ(g.CheckTrue(), "Y");
    EXPECT_EQ(g.CheckFalse(), "N");
    EXPECT_EQ(g.Delimiter(), QChar(0));
    EXPECT_EQ(g.FilterDropDownClear(), "(All)");
    EXPECT_EQ(g.XMLEncoding(), "ISO-8859-1");
    EXPECT_EQ(g.PasswordChar(), QChar('*'));
    EXPECT_EQ(g.GroupColumn(), -1);
    EXPECT_EQ(g.XYOffset().X, 2);
    EXPECT_EQ(g.XYOffset().Y, 2);
    EXPECT_EQ(g.ScrollWidth(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_TRUE(g.IsThemed());
    EXPECT_TRUE(g.ControlStyle().Contains(csAcceptsControls));
    for (int c = 0; c < g.ColCount(); ++c)
        for (int r = 0; r < g.RowCount(); ++r)
            EXPECT_FALSE(g.HasCellProperties(c, r)) << c << "," << r;
    // Every companion exists from the start.
    EXPECT_NE(g.SortSettings(), nullptr);
    EXPECT_EQ(g.SortSettings()->Column(), -1);
    EXPECT_EQ(g.Filter()->Count(), 0);
    EXPECT_EQ(g.Grouping()->HeaderLineWidth(), 2);
    EXPECT_EQ(g.Grouping()->HeaderLineColor(), TColor(0xFF0000));
    EXPECT_EQ(g.FixedFont()->Name(), "Tahoma");
    EXPECT_TRUE(g.FixedFont()->Style().Contains(fsBold));
    EXPECT_TRUE(g.ActiveCellFont()->Style().Contains(fsBold));
    EXPECT_FALSE(g.FloatingFooter()->Visible());
    EXPECT_NE(g.FooterPanel(), nullptr);
    EXPECT_NE(g.SearchPanel(), nullptr);
    EXPECT_NE(g.FocusWindow(), nullptr);
    ASSERT_NE(g.ImageCache(), nullptr);
    EXPECT_EQ(g.ImageCache()->Count(), 0);
}

TEST(Construction, DefaultEditorIsTheGridsOwn)
{
    TProbeGrid g;
    TInplaceEdit *e = g.CreateEditor();
    EXPECT_NE(dynamic_cast<TProInplaceEdit *>(e), nullptr);
    EXPECT_EQ(e->Owner(), &g);
    // Not taken by the grid, so it is ours to free while the grid is whole.
    delete e;
}

TEST(Destruction, FreesPropertiesOfRowsNoLongerShown)
{
    int freed = 0;
    {
        TProbeGrid g;
        g.SetRowCount(30);
        g.SetCellProperties(2, 25, new TCountedProps(&g, 2, 25, freed));
        g.SetCellProperties(1, 1, new TCountedProps(&g, 1, 1, freed));
        g.SetRowCount(5);
        EXPECT_EQ(freed, 0);
    }
    EXPECT_EQ(freed, 2);
}

TEST(Destruction, ManyGridsComeAndGo)
{
    // Run under the sanitizer build, this leaves LeakSanitizer nothing to report.
    TForm form(nullptr);
    for (int i = 0; i < 100; ++i) {
        auto *g = new TProStringGrid(&form);
        if (i % 2)
            g->SetParent(&form);
        g->SetCells(1, 1, "x");
        g->SetColors(2, 2, clRed);
        g->SetRowCount(40 + i);
        g->HideRow(3);
        g->ColumnHeaders()->Add("h");
        g->Filter()->Add();
        delete g;
    }
}

TEST(Sizing, IntegralHeightRoundsToWholeRows)
{
    // 250 - ((250 - 0 - 2) mod 22) + 2 = 246; 250 - ((250 - 2) mod 20) + 2 = 244;
    // without a border 250 - (250 mod 22) = 242.
    struct Case
    {
        int rowHeight;
        TFormBorderStyle border;
        int expected;
    } cases[] = {{22, bsSingle, 246}, {20, bsSingle, 244}, {22, bsNone, 242}};
    for (const Case &c : cases) {
        TProbeGrid g;
        g.SetDefaultRowHeight(c.rowHeight);
        g.SetBorderStyle(c.border);
        g.SetIntegralHeight(true);
        ASSERT_GE(g.VisibleColCount() + g.FixedCols(), g.ColCount());
        g.SetHeight(250);
        EXPECT_EQ(g.Height(), c.expected) << c.rowHeight;
    }
    TProbeGrid plain;
    plain.SetHeight(250);
    EXPECT_EQ(plain.Height(), 250);
}

TEST(Sizing, IntegralHeightCountsTheHorizontalBarWhenColumnsAreCut)
{
    TProbeGrid g;
    g.SetColCount(30);
    g.SetIntegralHeight(true);
    const int sb = GetSystemMetrics(SM_CYHSCROLL);
    g.SetHeight(250);
    EXPECT_EQ(g.Height(), 250 - ((250 - sb - 2) % 22) + 2);
}

TEST(Copying, AssignTakesStructureSettingsAndTexts)
{
    TProbeGrid src, dst;
    src.SetColCount(7);
    src.SetRowCount(4);
    src.SetFixedRows(2);
    src.SetColWidths(3, 91);
    src.SetRowHeights(3, 41);
    src.SetOptions(src.Options() + goEditing);
    src.SetCells(0, 0, "corner");
    src.SetCells(6, 3, "last");
    src.Grouping()->SetMergeHeader(true);
    src.ProgressAppearance()->SetSteps(5);
    src.ControlLook()->SetCheckSize(21);
    TGrouping *ownGrouping = dst.Grouping();
    TGridProgressAppearance *ownProgress = dst.ProgressAppearance();

    dst.Assign(&src);
    EXPECT_EQ(dst.ColCount(), 7);
    EXPECT_EQ(dst.RowCount(), 4);
    EXPECT_EQ(dst.FixedRows(), 2);
    EXPECT_EQ(dst.ColWidths(3), 91);
    EXPECT_EQ(dst.RowHeights(3), 41);
    EXPECT_TRUE(dst.Options().Contains(goEditing));
    EXPECT_EQ(dst.Cells(0, 0), "corner");
    EXPECT_EQ(dst.Cells(6, 3), "last");
    EXPECT_EQ(dst.Grouping(), ownGrouping);
    EXPECT_TRUE(dst.Grouping()->MergeHeader());
    EXPECT_EQ(dst.ProgressAppearance(), ownProgress);
    EXPECT_EQ(dst.ProgressAppearance()->Steps(), 5);
}

TEST(Copying, OtherSourcesChangeNothing)
{
    TProbeGrid dst;
    dst.SetCells(1, 1, "kept");
    TStringGrid plain(nullptr);
    plain.SetColCount(9);
    plain.SetCells(1, 1, "other");
    dst.Assign(&plain);
    dst.AssignCells(&plain);
    EXPECT_EQ(dst.ColCount(), 5);
    EXPECT_EQ(dst.Cells(1, 1), "kept");
}

TEST(Painting, InvalidateAfterAnEditorChangeIsSwallowedOnce)
{
    TForm form(nullptr);
    auto *g = new TProbeGrid(&form);
    g->SetParent(&form);
    form.Show();
    Settle();
    g->Paints = 0;
    g->SetEditChange(true);
    g->Invalidate();
    Settle();
    EXPECT_EQ(g->Paints, 0);
    g->Invalidate();
    Settle();
    EXPECT_GT(g->Paints, 0);
}

TEST(FormRelay, GridFollowsTheFormAndKeepsItsHandler)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 600, 400);
    int earlier = 0;
    form->OnResize = [&](TObject *) { ++earlier; };
    auto *g = new TProbeGrid(form.get());
    g->SetSizeWithForm(true);

    form->SetBounds(0, 0, 630, 420);
    EXPECT_EQ(g->Width(), 430);
    EXPECT_EQ(g->Height(), 270);
    EXPECT_EQ(earlier, 1);

    // Too small: the grid stays, and the next change counts from the form size last followed.
    form->SetBounds(0, 0, 130, 420);
    EXPECT_EQ(g->Width(), 430);
    EXPECT_EQ(g->Height(), 270);
    EXPECT_EQ(earlier, 2);
    form->SetBounds(0, 0, 640, 425);
    EXPECT_EQ(g->Width(), 440);
    EXPECT_EQ(g->Height(), 275);

    delete g;
    form->SetBounds(0, 0, 700, 500);
    EXPECT_EQ(earlier, 4);
}

TEST(FormRelay, ErrorsOfTheEarlierHandlerAreDropped)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 600, 400);
    form.OnResize = [](TObject *) { throw Exception("boom"); };
    auto *g = new TProbeGrid(&form);
    g->SetSizeWithForm(true);
    EXPECT_NO_THROW(form.SetBounds(0, 0, 610, 400));
    EXPECT_EQ(g->Width(), 410);
}

TEST(FormRelay, GridOwnedByAFormThatGoesFirstIsSafe)
{
    auto *form = new TForm(nullptr);
    auto *g = new TProbeGrid(form);
    g->SetParent(form);
    delete form;
    SUCCEED();
}

TEST(Helpers, ParentFormEditMaskAndUnitState)
{
    TForm form(nullptr);
    TPanel panel(&form);
    panel.SetParent(&form);
    auto *g = new TProbeGrid(&form);
    g->SetParent(&panel);
    EXPECT_EQ(TProStringGrid::FindParentForm(g), &form);
    EXPECT_EQ(TProStringGrid::FindParentForm(&form), &form);
    TProbeGrid loose;
    EXPECT_EQ(TProStringGrid::FindParentForm(&loose), nullptr);

    g->SetEditMask("999");
    EXPECT_EQ(g->CellEditMask(1, 1), "999");
    g->OnGetEditMask = [](TObject *, int c, int r, QString &v) { v += QString::number(c * 10 + r); };
    EXPECT_EQ(g->CellEditMask(2, 3), "99923");

    EXPECT_EQ(WM_GRIDEDITDONE, RegisterWindowMessage("GridEditDone"));
    EXPECT_EQ(WM_DTPSHIFTFOCUS, RegisterWindowMessage("DTPShiftFocus"));
    EXPECT_NE(WM_GRIDEDITDONE, WM_DTPSHIFTFOCUS);
    EXPECT_NE(CF_GRIDCELLS, 0);
    EXPECT_EQ(GetDllVersion("comctl32.dll"), 6 << 16);
    EXPECT_EQ(GetDllVersion("COMCTL32.DLL"), 6 << 16);
    EXPECT_EQ(GetDllVersion("kernel32.dll"), -1);
    EXPECT_TRUE(ComCtrlOk);

    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = ',';
    FormatSettings.ThousandSeparator = '.';
    FormatSettings.ShortDateFormat = "dd.MM.yyyy";
    EXPECT_EQ(GridDecimalSeparator(), QChar(','));
    EXPECT_EQ(GridThousandSeparator(), QChar('.'));
    EXPECT_EQ(GridShortDateFormat(), "dd.MM.yyyy");
    FormatSettings = saved;
}

TEST(Helpers, DatePickerRelaysReportTheCurrentCell)
{
    TProbeGrid g;
    g.FocusCell(3, 4, true);
    int row = -1, col = -1;
    g.OnDatePickerCloseUp = [&](TObject *, int ARow, int ACol) {
        row = ARow;
        col = ACol;
    };
    g.DatePickerCloseUpRelay();
    EXPECT_EQ(row, 4);
    EXPECT_EQ(col, 3);
    QString text;
    g.OnEditChange = [&](TObject *, int, int, const QString &v) { text = v; };
    g.DatePickerChangeRelay(false, EncodeDate(2020, 2, 29));
    EXPECT_EQ(text, DateToStr(EncodeDate(2020, 2, 29)));
    g.DatePickerChangeRelay(true, EncodeTime(13, 5, 0, 0));
    EXPECT_EQ(text, TimeToStr(EncodeTime(13, 5, 0, 0)));
}

TEST(ScrollBars, AlwaysShownBarsAreDisabledWhileEverythingFits)
{
    TForm form(nullptr);
    auto *g = new TProbeGrid(&form);
    g->SetParent(&form);
    g->SetRowCount(3);
    g->SetScrollBarAlways(saVert);
    g->UpdateScrollBarAlways(false);
    EXPECT_TRUE(g->ScrollBarShown(true));
    EXPECT_FALSE(g->ScrollBarShown(false));
}

TEST(WindowHook, FocusWindowFollowsTheCellOnlyWhileRegistered)
{
    TForm form(nullptr);
    form.SetBounds(10, 10, 500, 350);
    auto *g = new TProbeGrid(&form);
    g->SetParent(&form);
    form.Show();
    Settle();
    g->FocusCell(2, 3, true);
    TGridFocusWindow *fw = g->FocusWindow();
    const TRect before = fw->BoundsRect();

    form.SetBounds(40, 30, 500, 350);
    Settle();
    EXPECT_EQ(fw->BoundsRect(), before);

    FocusWindowGrid = g;
    form.SetBounds(60, 50, 500, 350);
    Settle();
    const TRect cell = g->CellRect(2, 3);
    const TPoint tl = g->ClientToScreen(TPoint(cell.Left, cell.Top));
    EXPECT_EQ(fw->Left(), tl.X - 4);
    EXPECT_EQ(fw->Top(), tl.Y - 4);
    EXPECT_EQ(fw->Width(), cell.Width() + 9);
    EXPECT_EQ(fw->Height(), cell.Height() + 9);
    delete g;
    // A grid that goes away stops being followed.
    EXPECT_EQ(FocusWindowGrid, nullptr);
}

TEST(Loading, LoadedMovesAlwaysShowEditorAndWritesHeaders)
{
    TProbeGrid g;
    g.SetOptions(g.Options() + goAlwaysShowEditor);
    g.ColumnHeaders()->Add("a");
    g.ColumnHeaders()->Add("b");
    g.Loaded();
    EXPECT_FALSE(g.Options().Contains(goAlwaysShowEditor));
    EXPECT_TRUE(g.Navigation()->AlwaysEdit());
    EXPECT_EQ(g.Cells(0, 0), "a");
    EXPECT_EQ(g.Cells(1, 0), "b");
    // Headers written later land in the fixed row at once.
    g.RowHeaders()->Add("r0");
    g.RowHeaders()->Add("r1");
    EXPECT_EQ(g.Cells(0, 1), "r1");
}
