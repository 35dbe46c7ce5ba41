// The file object's direct mappings: 1-based positions over the 0-based model, the defaults of a
// sheet that is no worksheet, fonts, formats and the palette.
#include "FileFixture.h"
#include "tests/progrid/xls/workbook/BookFixture.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"
#include "xlsAdapter/records/duzUXlsXF.h"

#include <functional>

using namespace xfile;

namespace {

// Sheet 1 a worksheet, sheet 2 a chart, sheet 3 a macro sheet the engine keeps as records.
QByteArray MixedBook()
{
    using namespace book;
    const QByteArray chart = Bof(0x0020) + Record(0x1002, QByteArray(16, 0)) + Record(0x1033, {})
                             + Record(0x1003, QByteArray(12, 0)) + Record(0x1034, {}) + Eof();
    const QByteArray macro = Bof(0x0040) + Record(0x0055, Le16(8)) + Window2(false) + Eof();
    return Globals(glob::BoundSheet("Sheet1") + glob::BoundSheet("Chart1", 0x0200)
                   + glob::BoundSheet("Macro1", 0x0100))
           + WorkSheet(true) + chart + macro;
}

struct GuardRead
{
    const char *What;
    std::function<int64_t(TXLSFile &)> Read;
    int64_t Default;
};

} // namespace

TEST(MapMappings, SheetsThatAreNoWorksheetReadDefaultsAndIgnoreWrites)
{
    const std::vector<GuardRead> reads = {
        {"GetCellFormat", [](TXLSFile &f) { return f.GetCellFormat(1, 1); }, -1},
        {"GetRowFormat", [](TXLSFile &f) { return f.GetRowFormat(1); }, 0},
        {"GetColumnFormat", [](TXLSFile &f) { return f.GetColumnFormat(1); }, -1},
        {"GetColumnWidth", [](TXLSFile &f) { return f.GetColumnWidth(1); }, 0},
        {"GetColumnWidthHiddenIsZero", [](TXLSFile &f) { return f.GetColumnWidthHiddenIsZero(1); }, 0},
        {"GetRowHeight", [](TXLSFile &f) { return f.GetRowHeight(1); }, 0},
        {"GetRowHeightHiddenIsZero", [](TXLSFile &f) { return f.GetRowHeightHiddenIsZero(1); }, 0},
        {"GetRowHidden", [](TXLSFile &f) { return f.GetRowHidden(1); }, 0},
        {"GetColumnHidden", [](TXLSFile &f) { return f.GetColumnHidden(1); }, 0},
        {"DefaultColWidth", [](TXLSFile &f) { return f.DefaultColWidth(); }, 10},
        {"DefaultRowHeight", [](TXLSFile &f) { return f.DefaultRowHeight(); }, 255},
        {"GetAutoRowHeight", [](TXLSFile &f) { return f.GetAutoRowHeight(1); }, 1},
        {"ShowGridLines", [](TXLSFile &f) { return f.ShowGridLines(); }, 1},
        {"ShowGridHeaders", [](TXLSFile &f) { return f.ShowGridHeaders(); }, 1},
        {"PrintGridLines", [](TXLSFile &f) { return f.PrintGridLines(); }, 1},
        {"PrintNumberOfHorizontalPages", [](TXLSFile &f) { return f.PrintNumberOfHorizontalPages(); }, 1},
        {"PrintNumberOfVerticalPages", [](TXLSFile &f) { return f.PrintNumberOfVerticalPages(); }, 1},
        {"PrintScale", [](TXLSFile &f) { return f.PrintScale(); }, 100},
        {"PrintOptions", [](TXLSFile &f) { return f.PrintOptions(); }, 0},
        {"PrintToFit", [](TXLSFile &f) { return f.PrintToFit(); }, 0},
        {"PrintHCentered", [](TXLSFile &f) { return f.PrintHCentered(); }, 0},
        {"PrintVCentered", [](TXLSFile &f) { return f.PrintVCentered(); }, 0},
        {"PrintCopies", [](TXLSFile &f) { return f.PrintCopies(); }, 1},
        {"PrinterDriverSettings", [](TXLSFile &f) { return int64_t(f.PrinterDriverSettings().Data.size()); }, 0},
        {"PrintPaperSize", [](TXLSFile &f) { return f.PrintPaperSize(); }, 0},
        {"PrintXResolution", [](TXLSFile &f) { return f.PrintXResolution(); }, 600},
        {"PrintYResolution", [](TXLSFile &f) { return f.PrintYResolution(); }, 600},
        {"OutlineSummaryColsRightOfDetail", [](TXLSFile &f) { return f.OutlineSummaryColsRightOfDetail(); }, 1},
        {"OutlineSummaryRowsBelowDetail", [](TXLSFile &f) { return f.OutlineSummaryRowsBelowDetail(); }, 1},
        {"OutlineAutomaticStyles", [](TXLSFile &f) { return f.OutlineAutomaticStyles(); }, 0},
        {"GetRowOutlineLevel", [](TXLSFile &f) { return f.GetRowOutlineLevel(1); }, 0},
        {"GetColOutlineLevel", [](TXLSFile &f) { return f.GetColOutlineLevel(1); }, 0},
        {"MaxRow", [](TXLSFile &f) { return f.MaxRow(); }, 0},
        {"MaxCol", [](TXLSFile &f) { return f.MaxCol(); }, 0},
        {"IsEmptyRow", [](TXLSFile &f) { return f.IsEmptyRow(1); }, 1},
        {"ColIndexCount", [](TXLSFile &f) { return f.ColIndexCount(1); }, 0},
        {"ColByIndex", [](TXLSFile &f) { return f.ColByIndex(1, 1); }, 0},
        {"ColIndex", [](TXLSFile &f) { return f.ColIndex(1, 1); }, 0},
        {"CellMergedListCount", [](TXLSFile &f) { return f.CellMergedListCount(); }, 0},
        {"HasHPageBreak", [](TXLSFile &f) { return f.HasHPageBreak(1); }, 0},
        {"HasVPageBreak", [](TXLSFile &f) { return f.HasVPageBreak(1); }, 0},
        {"HasAutoFilter", [](TXLSFile &f) { return f.HasAutoFilter(); }, 0},
        {"HasAutoFilter(row, col)", [](TXLSFile &f) { return f.HasAutoFilter(1, 1); }, 0},
        {"GetAutoFilterRange", [](TXLSFile &f) {
             const TXlsCellRange r = f.GetAutoFilterRange();
             return int64_t(r.Left == -1 && r.Top == -1 && r.Right == -1 && r.Bottom == -1);
         }, 1},
    };
    const auto writeAll = [](TXLSFile &f) {
        f.SetColumnWidth(1, 999);
        f.SetRowHeight(1, 999);
        f.SetRowHidden(1, true);
        f.SetColumnHidden(1, true);
        f.SetAutoRowHeight(1, false);
        f.SetColumnFormat(1, 3);
        f.SetRowFormat(1, 3);
        f.SetCellFormat(1, 1, 3);
        f.SetShowGridLines(false);
        f.SetShowGridHeaders(false);
        f.SetPrintGridLines(false);
        f.SetPrintNumberOfHorizontalPages(3);
        f.SetPrintScale(50);
        f.SetPrintOptions(2);
        f.SetPrintToFit(true);
        f.SetPrintHCentered(true);
        f.SetPrintCopies(3);
        f.SetPrintPaperSize(9);
        f.SetPrinterDriverSettings({1, {1, 2, 3}});
        f.SetOutlineSummaryRowsBelowDetail(false);
        f.SetOutlineAutomaticStyles(true);
        f.SetRowOutlineLevel(1, 2, 1);
        f.SetColOutlineLevel(1, 2, 1);
        f.MergeCells(1, 1, 2, 2);
        f.FreezePanes(2, 2);
        f.SplitWindow(400, 400);
        f.SetAutoFilter(1, 1, 2);
        f.AutofitRow(1, 10, true, false, 1.5);
        f.AutofitCol(1, 3, false, 2);
        TXlsNamedRange r;
        r.Name = "Block";
        r.RangeFormula = "=$A$1:$B$2";
        f.AddRange(r);
    };

    for (int sheet : {2, 3}) {
        SCOPED_TRACE(sheet);
        Connected c;
        LoadBytes(c.F, Compound({ole::Stream("Workbook", MixedBook())}));
        c.F.SetActiveSheet(sheet);
        ASSERT_FALSE(c.F.IsWorksheet(sheet));
        for (const GuardRead &g : reads)
            EXPECT_EQ(g.Read(c.F), g.Default) << g.What;
        int32_t r = 7, col = 8;
        c.F.GetFrozenPanes(r, col);
        EXPECT_EQ(r * 100 + col, 708);

        const QByteArray before = StreamOf(SavedToMemory(c.F), "Workbook");
        writeAll(c.F);
        EXPECT_EQ(StreamOf(SavedToMemory(c.F), "Workbook"), before);
        EXPECT_EQ(c.F.GetExcelNameCount(), 0);

        // The zoom of a chart is its own.
        if (sheet == 2) {
            c.F.SetSheetZoom(150);
            EXPECT_EQ(c.F.SheetZoom(), 150);
            EXPECT_NE(StreamOf(SavedToMemory(c.F), "Workbook"), before);
        }
    }

    // The same writes reach a worksheet: the guard tells the kinds apart.
    Connected c;
    LoadBytes(c.F, Compound({ole::Stream("Workbook", MixedBook())}));
    c.F.SetActiveSheet(1);
    writeAll(c.F);
    EXPECT_EQ(c.F.GetRowHeight(1), 382); // the forced fit after the height was set
    EXPECT_TRUE(c.F.GetRowHidden(1));
    EXPECT_TRUE(c.F.GetColumnHidden(1));
    EXPECT_FALSE(c.F.ShowGridLines());
    EXPECT_EQ(c.F.CellMergedListCount(), 1);
    EXPECT_TRUE(c.F.HasAutoFilter());
    EXPECT_EQ(c.F.GetRowOutlineLevel(2), 1);
    EXPECT_EQ(c.F.GetExcelNameCount(), 2);
}

TEST(MapMappings, FontsFormatsAndEmptyCells)
{
    Connected c;
    c.F.NewFile(1);
    TWorkbookGlobals *g = c.F.GetTWorkbook()->Globals();
    ASSERT_EQ(g->Fonts().Count(), 4);
    EXPECT_EQ(c.F.GetCellFormat(1, 1), -1);
    EXPECT_EQ(c.F.GetCellFormat(200, 30), -1);

    TWbFont courier = c.F.GetFontList(0);
    courier.Name = "Courier";
    courier.Size20 = 240;
    EXPECT_EQ(c.F.AddFont(courier), 5); // stored as the fifth font, there is no font 4
    EXPECT_EQ(c.F.FontListCount(), 6);
    EXPECT_EQ(c.F.GetFontList(5).Name, "Courier");
    EXPECT_EQ(c.F.GetFontList(5).Size20, 240);
    for (int same : {4, 99, -1}) {
        EXPECT_EQ(c.F.GetFontList(same).Name, "Arial") << same;
        EXPECT_EQ(c.F.GetFontList(same).Size20, c.F.GetFontList(0).Size20) << same;
    }
    c.F.SetFontList(4, courier);
    EXPECT_EQ(c.F.GetFontList(0).Name, "Arial");
    EXPECT_EQ(c.F.GetFontList(3).Name, "Arial");

    TWbFormat fmt = c.F.GetFormatList(15);
    fmt.Format = "0.000";
    fmt.Font = courier;
    const int32_t xfs = c.F.FormatListCount();
    const int32_t first = c.F.AddFormat(fmt);
    EXPECT_EQ(first, xfs);
    EXPECT_EQ(c.F.AddFormat(fmt), first);
    EXPECT_EQ(c.F.FormatListCount(), xfs + 1);
    EXPECT_EQ(c.F.GetFormatList(first).Format, "0.000");
    EXPECT_EQ(c.F.GetFormatList(first).Font.Name, "Courier");
    EXPECT_EQ(c.F.GetFormatList(1000).Font.Name, c.F.GetFormatList(0).Font.Name);

    c.F.SetCellFormat(2, 3, first);
    EXPECT_EQ(c.F.GetCellFormat(2, 3), first);
    TXlsCellValue v;
    c.F.GetTWorkbook()->WorkSheets(0)->Cells()->CellList()->GetValueX2(1, 2, v, nullptr);
    EXPECT_EQ(v.XF, first);

    // Palette entries 1 .. 56 are the model's 0 .. 55.
    c.F.SetColorPalette(1, 0x00123456);
    c.F.SetColorPalette(56, 0x00ABCDEF);
    EXPECT_EQ(g->GetColorPalette(0), 0x00123456u);
    EXPECT_EQ(g->GetColorPalette(55), 0x00ABCDEFu);
    EXPECT_EQ(c.F.GetColorPalette(56), 0x00ABCDEFu);
    EXPECT_EQ(c.F.GetUsedPaletteColors().size(), 57u);
}

TEST(MapMappings, ColumnsOutsideTheSheetAreIgnored)
{
    Connected c;
    c.F.NewFile(1);
    const QByteArray before = StreamOf(SavedToMemory(c.F), "Workbook");
    c.F.SetColumnHidden(300, true);
    c.F.SetColumnHidden(0, true);
    c.F.SetColumnHidden(257, true);
    EXPECT_EQ(StreamOf(SavedToMemory(c.F), "Workbook"), before);
    EXPECT_FALSE(c.F.GetColumnHidden(0));
    EXPECT_FALSE(c.F.GetColumnHidden(300));
    c.F.SetColumnHidden(256, true);
    EXPECT_TRUE(c.F.GetColumnHidden(256));
    EXPECT_TRUE(c.F.GetTWorkbook()->WorkSheets(0)->GetColHidden(255));
}

TEST(MapMappings, FreezePanesOutsideTheSheetIsRefused)
{
    Connected c;
    c.F.NewFile(1);
    const QByteArray before = StreamOf(SavedToMemory(c.F), "Workbook");
    const struct
    {
        int Row, Col;
        QString Message;
    } refused[] = {
        {3, 0, "The index \"0\" of the property \"Col\" is not in the range 1-256"},
        {0, 3, "The index \"0\" of the property \"Row\" is not in the range 1-65536"},
        {-1, -1, "The index \"-1\" of the property \"Row\" is not in the range 1-65536"},
        {65537, 1, "The index \"65537\" of the property \"Row\" is not in the range 1-65536"},
        {1, 257, "The index \"257\" of the property \"Col\" is not in the range 1-256"},
    };
    for (const auto &x : refused)
        EXPECT_EQ(ole::MessageOf([&] { c.F.FreezePanes(x.Row, x.Col); }), x.Message) << x.Row << "," << x.Col;
    // Nothing was written: no PANE record, the same stream.
    EXPECT_EQ(StreamOf(SavedToMemory(c.F), "Workbook"), before);

    // Frozen below row 3: PANE holds column split 0, row split 3, first row 3, first column 1,
    // active pane 2 (the lower one).
    const auto Panes = [&] {
        std::vector<QByteArray> panes;
        for (const Rec &r : Records(StreamOf(SavedToMemory(c.F), "Workbook")))
            if (r.Id == 0x0041)
                panes.push_back(r.Data.left(10));
        return panes;
    };
    c.F.FreezePanes(4, 1);
    EXPECT_EQ(Panes(), std::vector<QByteArray>{rec::Le16(0) + rec::Le16(3) + rec::Le16(3) + rec::Le16(1) + rec::Le16(2)});
    int32_t row = 0, col = 0;
    c.F.GetFrozenPanes(row, col);
    EXPECT_EQ(std::make_pair(row, col), std::make_pair(4, 1));
    // The top left cell unfreezes.
    c.F.FreezePanes(1, 1);
    EXPECT_TRUE(Panes().empty());
}

TEST(MapMappings, OneBasedPositionsReachTheZeroBasedModel)
{
    Connected c;
    c.F.NewFile(1);
    TWorkSheet *ws = c.F.GetTWorkbook()->WorkSheets(0);

    c.F.SetColumnWidth(2, 3000);
    c.F.SetRowHeight(3, 500);
    EXPECT_EQ(ws->GetColWidth(1), 3000);
    EXPECT_EQ(ws->GetRowHeight(2), 500);
    EXPECT_EQ(c.F.GetColumnWidth(2), 3000);
    EXPECT_EQ(c.F.GetRowHeight(3), 500);
    EXPECT_FALSE(c.F.GetAutoRowHeight(3));
    c.F.SetColumnHidden(2, true);
    EXPECT_EQ(c.F.GetColumnWidthHiddenIsZero(2), 0);
    EXPECT_EQ(c.F.GetColumnWidth(2), 3000);

    c.F.MergeCells(2, 2, 3, 4);
    const TXlsCellRange model = ws->CellMergedBounds(2, 2);
    EXPECT_EQ((std::vector<int>{model.Left, model.Top, model.Right, model.Bottom}), (std::vector<int>{1, 1, 3, 2}));
    const TXlsCellRange m = c.F.GetCellMergedBounds(3, 3);
    EXPECT_EQ((std::vector<int>{m.Left, m.Top, m.Right, m.Bottom}), (std::vector<int>{2, 2, 4, 3}));
    const TXlsCellRange l = c.F.GetCellMergedList(0);
    EXPECT_EQ((std::vector<int>{l.Left, l.Top, l.Right, l.Bottom}), (std::vector<int>{2, 2, 4, 3}));
    const TXlsCellRange single = c.F.GetCellMergedBounds(5, 6);
    EXPECT_EQ((std::vector<int>{single.Left, single.Top, single.Right, single.Bottom}),
              (std::vector<int>{6, 5, 6, 5}));

    c.F.SetRowOutlineLevel(2, 4, 2);
    c.F.SetRowOutlineLevel(6, 5, 3); // Last before First: nothing
    EXPECT_EQ(ws->GetRowOutlineLevel(1), 2);
    EXPECT_EQ(ws->GetRowOutlineLevel(3), 2);
    for (int row : {1, 5, 6})
        EXPECT_EQ(c.F.GetRowOutlineLevel(row), 0) << row;
    c.F.SetColOutlineLevel(3, 3, 1);
    EXPECT_EQ(ws->GetColOutlineLevel(2), 1);
    EXPECT_EQ(c.F.GetColOutlineLevel(3), 1);

    c.F.FreezePanes(3, 2);
    int32_t r = 0, col = 0;
    ws->GetFrozenPanes(r, col);
    EXPECT_EQ(r * 100 + col, 201);
    c.F.GetFrozenPanes(r, col);
    EXPECT_EQ(r * 100 + col, 302);

    // The auto filter and the name it leaves behind.
    c.F.SetAutoFilter(1, 2, 3);
    const TXlsCellRange af = c.F.GetAutoFilterRange();
    EXPECT_EQ((std::vector<int>{af.Left, af.Top, af.Right, af.Bottom}), (std::vector<int>{2, 1, 3, 1}));
    EXPECT_TRUE(c.F.HasAutoFilter(1, 2));
    EXPECT_FALSE(c.F.HasAutoFilter(1, 1));
    EXPECT_FALSE(c.F.HasAutoFilter(2, 2));
    ASSERT_EQ(c.F.RangeCount(), 1);
    EXPECT_EQ(c.F.GetRangeR1(1), 1);
    EXPECT_EQ(c.F.GetRangeR2(1), 1);
    EXPECT_EQ(c.F.GetRangeC1(1), 2);
    EXPECT_EQ(c.F.GetRangeC2(1), 3);
    EXPECT_EQ(c.F.GetRangeSheet(1), 1);
    c.F.SetRangeR2(1, 10);
    c.F.SetRangeC1(1, 1);
    EXPECT_EQ(c.F.GetTWorkbook()->Globals()->Names().Items(0)->GetR2(), 9);
    EXPECT_EQ(c.F.GetRangeC1(1), 1);
    EXPECT_THROW(c.F.GetRangeName(2), EListError);
    c.F.RemoveAutoFilter();
    EXPECT_FALSE(c.F.HasAutoFilter());

    c.F.InsertHPageBreak(5);
    EXPECT_TRUE(ws->HasHPageBreak(4));
    EXPECT_TRUE(c.F.HasHPageBreak(5));
    c.F.DeleteHPageBreak(5);
    EXPECT_FALSE(c.F.HasHPageBreak(5));
}

TEST(MapMappings, WorkbookOptionsAndR1C1OnEveryWorksheet)
{
    Connected c;
    c.F.NewFile(2);
    EXPECT_FALSE(c.F.Options1904Dates());
    EXPECT_FALSE(c.F.OptionsR1C1());
    c.F.SetOptionsR1C1(true);
    EXPECT_TRUE(c.F.GetTWorkbook()->WorkSheets(0)->IsR1C1());
    EXPECT_TRUE(c.F.GetTWorkbook()->WorkSheets(1)->IsR1C1());
    c.F.GetTWorkbook()->WorkSheets(0)->SetIsR1C1(false);
    EXPECT_FALSE(c.F.OptionsR1C1()); // the first worksheet decides
    c.F.SetOptions1904Dates(true);
    EXPECT_TRUE(c.F.GetTWorkbook()->Globals()->Is1904());
    c.F.SetInvalidateFormulas(true);
    EXPECT_TRUE(c.F.IsFileModified);
}

TEST(MapMappings, StoredRowsAndTheirCells)
{
    Connected c;
    c.F.NewFile(1);
    TCellList *cells = c.F.GetTWorkbook()->WorkSheets(0)->Cells()->CellList();
    for (auto [row, col] : {std::pair{2, 3}, {2, 5}, {4, 2}})
        cells->SetValueX2(row - 1, col - 1, {Variant(3.0), -1, false}, nullptr, false);

    EXPECT_EQ(c.F.MaxRow(), 4);
    EXPECT_EQ(c.F.MaxCol(), 5);
    for (auto [row, empty] : {std::pair{1, true}, {2, false}, {3, true}, {4, false}, {9, true}})
        EXPECT_EQ(c.F.IsEmptyRow(row), empty) << row;

    struct Case
    {
        int Row, Arg, ByIndex, Index;
    };
    // ColByIndex(Row, Arg) and ColIndex(Row, Arg): a missing column gives its insertion place.
    for (const Case &k : std::vector<Case>{{2, 1, 3, 1}, {2, 2, 5, 1}, {2, 3, 0, 1}, {2, 4, 0, 2}, {2, 5, 0, 2},
                                            {2, 6, 0, 3}, {3, 1, 0, 0}, {9, 1, 0, 0}, {2, 0, 0, 1}}) {
        EXPECT_EQ(c.F.ColByIndex(k.Row, k.Arg), k.ByIndex) << k.Row << "," << k.Arg;
        EXPECT_EQ(c.F.ColIndex(k.Row, k.Arg), k.Index) << k.Row << "," << k.Arg;
    }
    EXPECT_EQ(c.F.ColIndexCount(2), 2);
    EXPECT_EQ(c.F.ColIndexCount(3), 0);
    EXPECT_EQ(c.F.ColIndexCount(9), 0);
}
