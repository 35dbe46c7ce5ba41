// A file object without its workbook (before Connect, after Disconnect): every operation on the
// workbook raises one clear error and touches nothing.
#include "FileFixture.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include <functional>

using namespace xfile;

namespace {

const QString NoWorkbook = QStringLiteral("The file object has no workbook. Call Connect before using it");

struct TFileCall
{
    const char *Name;
    std::function<void(TXLSFile &)> Call;
};

std::vector<TFileCall> WorkbookOperations(const QString &ExistingFile, const QString &NewFile)
{
    TXlsCellValue v;
    TRTFRunList runs;
    const TWbFormat fmt;
    const TImageProperties props;
    const TXlsCellRange range{1, 1, 2, 2};
    return {
        {"OpenFile", [=](TXLSFile &f) { f.OpenFile(ExistingFile); }},
        {"OpenFileAndSearch", [=](TXLSFile &f) { f.OpenFileAndSearch(ExistingFile); }},
        {"LoadFromStream",
         [](TXLSFile &f) {
             auto m = ole::MemStream(tpl::File());
             f.LoadFromStream(m.get());
         }},
        {"NewFile", [](TXLSFile &f) { f.NewFile(1); }},
        {"Save", [=](TXLSFile &f) { f.Save(true, NewFile, {}, {}); }},
        {"Save to a stream",
         [](TXLSFile &f) {
             TMemoryStream out;
             f.Save(true, QString(), {}, {}, &out);
         }},
        {"SheetCount", [](TXLSFile &f) { f.SheetCount(); }},
        {"IsWorksheet", [](TXLSFile &f) { f.IsWorksheet(1); }},
        {"SelectSheet", [](TXLSFile &f) { f.SelectSheet(1); }},
        {"InsertAndCopySheets", [](TXLSFile &f) { f.InsertAndCopySheets(-1, 1, 1); }},
        {"DeleteSheet", [](TXLSFile &f) { f.DeleteSheet(1); }},
        {"ClearSheet", [](TXLSFile &f) { f.ClearSheet(); }},
        {"ActiveSheetName", [](TXLSFile &f) { f.ActiveSheetName(); }},
        {"SetActiveSheetName", [](TXLSFile &f) { f.SetActiveSheetName("A"); }},
        {"ActiveSheetCodeName", [](TXLSFile &f) { f.ActiveSheetCodeName(); }},
        {"SetActiveSheetCodeName", [](TXLSFile &f) { f.SetActiveSheetCodeName("A"); }},
        {"ActiveSheetVisible", [](TXLSFile &f) { f.ActiveSheetVisible(); }},
        {"SetActiveSheetVisible", [](TXLSFile &f) { f.SetActiveSheetVisible(sv_Hidden); }},
        // Cell values.
        {"GetCellValue", [](TXLSFile &f) { f.GetCellValue(1, 1); }},
        {"SetCellValue", [](TXLSFile &f) { f.SetCellValue(1, 1, Variant(1.0)); }},
        {"GetCellValueX", [](TXLSFile &f) { f.GetCellValueX(1, 1); }},
        {"SetCellValueX", [=](TXLSFile &f) { f.SetCellValueX(1, 1, v); }},
        {"GetCellValueX2", [=](TXLSFile &f) mutable { f.GetCellValueX2(1, 1, v, runs); }},
        {"AssignCellValueX2", [=](TXLSFile &f) mutable { f.AssignCellValueX2(1, 1, v, runs); }},
        {"CellCount", [](TXLSFile &f) { f.CellCount(1); }},
        {"GetCellData", [](TXLSFile &f) { f.GetCellData(1, 0); }},
        {"GetCellDataX", [](TXLSFile &f) { f.GetCellDataX(1, 0); }},
        {"GetCellDataX2", [=](TXLSFile &f) mutable { f.GetCellDataX2(1, 0, v, runs); }},
        {"AssignCellData", [](TXLSFile &f) { f.AssignCellData(1, 0, Variant(1.0)); }},
        {"AssignCellDataX", [=](TXLSFile &f) { f.AssignCellDataX(1, 0, v); }},
        {"AssignCellDataX2", [=](TXLSFile &f) { f.AssignCellDataX2(1, 0, v, runs); }},
        {"AssignBlockData", [](TXLSFile &f) { f.AssignBlockData(1, 0, Variant(1.0)); }},
        {"SetBounds", [](TXLSFile &f) { f.SetBounds(1); }},
        {"GetCellFormula", [](TXLSFile &f) { f.GetCellFormula(1, 1); }},
        {"SetCellFormula", [](TXLSFile &f) { f.SetCellFormula(1, 1, "=1"); }},
        {"SetCellFormulaX", [](TXLSFile &f) { f.SetCellFormulaX(1, 1, "=1", Variant(1.0)); }},
        {"SetCellString", [](TXLSFile &f) { f.SetCellString(1, 1, "1", "", ""); }},
        {"SetCellString with a format", [=](TXLSFile &f) { f.SetCellString(1, 1, "1", fmt, "", ""); }},
        // Names, sizes, formats and the sheet's settings.
        {"GetExcelNameCount", [](TXLSFile &f) { f.GetExcelNameCount(); }},
        {"RangeCount", [](TXLSFile &f) { f.RangeCount(); }},
        {"GetRangeName", [](TXLSFile &f) { f.GetRangeName(1); }},
        {"GetRangeR1", [](TXLSFile &f) { f.GetRangeR1(1); }},
        {"GetRangeR2", [](TXLSFile &f) { f.GetRangeR2(1); }},
        {"GetRangeC1", [](TXLSFile &f) { f.GetRangeC1(1); }},
        {"GetRangeC2", [](TXLSFile &f) { f.GetRangeC2(1); }},
        {"SetRangeR1", [](TXLSFile &f) { f.SetRangeR1(1, 1); }},
        {"SetRangeR2", [](TXLSFile &f) { f.SetRangeR2(1, 1); }},
        {"SetRangeC1", [](TXLSFile &f) { f.SetRangeC1(1, 1); }},
        {"SetRangeC2", [](TXLSFile &f) { f.SetRangeC2(1, 1); }},
        {"GetRangeSheet", [](TXLSFile &f) { f.GetRangeSheet(1); }},
        {"AddRange",
         [](TXLSFile &f) {
             TXlsNamedRange r;
             r.Name = "A";
             r.RangeFormula = "=$A$1";
             f.AddRange(r);
         }},
        {"GetColumnWidth", [](TXLSFile &f) { f.GetColumnWidth(1); }},
        {"GetColumnWidthHiddenIsZero", [](TXLSFile &f) { f.GetColumnWidthHiddenIsZero(1); }},
        {"GetRowHeight", [](TXLSFile &f) { f.GetRowHeight(1); }},
        {"GetRowHeightHiddenIsZero", [](TXLSFile &f) { f.GetRowHeightHiddenIsZero(1); }},
        {"SetColumnWidth", [](TXLSFile &f) { f.SetColumnWidth(1, 100); }},
        {"SetRowHeight", [](TXLSFile &f) { f.SetRowHeight(1, 100); }},
        {"GetRowHidden", [](TXLSFile &f) { f.GetRowHidden(1); }},
        {"GetColumnHidden", [](TXLSFile &f) { f.GetColumnHidden(1); }},
        {"SetRowHidden", [](TXLSFile &f) { f.SetRowHidden(1, true); }},
        {"SetColumnHidden", [](TXLSFile &f) { f.SetColumnHidden(1, true); }},
        {"DefaultColWidth", [](TXLSFile &f) { f.DefaultColWidth(); }},
        {"DefaultRowHeight", [](TXLSFile &f) { f.DefaultRowHeight(); }},
        {"GetAutoRowHeight", [](TXLSFile &f) { f.GetAutoRowHeight(1); }},
        {"SetAutoRowHeight", [](TXLSFile &f) { f.SetAutoRowHeight(1, true); }},
        {"GetColumnFormat", [](TXLSFile &f) { f.GetColumnFormat(1); }},
        {"GetRowFormat", [](TXLSFile &f) { f.GetRowFormat(1); }},
        {"SetColumnFormat", [](TXLSFile &f) { f.SetColumnFormat(1, 15); }},
        {"SetRowFormat", [](TXLSFile &f) { f.SetRowFormat(1, 15); }},
        {"GetCellFormat", [](TXLSFile &f) { f.GetCellFormat(1, 1); }},
        {"SetCellFormat", [](TXLSFile &f) { f.SetCellFormat(1, 1, 15); }},
        {"GetColorPalette", [](TXLSFile &f) { f.GetColorPalette(1); }},
        {"SetColorPalette", [](TXLSFile &f) { f.SetColorPalette(1, 0); }},
        {"GetFontList", [](TXLSFile &f) { f.GetFontList(0); }},
        {"SetFontList", [](TXLSFile &f) { f.SetFontList(0, TWbFont()); }},
        {"GetFormatList", [](TXLSFile &f) { f.GetFormatList(0); }},
        {"SetFormatList", [=](TXLSFile &f) { f.SetFormatList(0, fmt); }},
        {"GetUsedPaletteColors", [](TXLSFile &f) { f.GetUsedPaletteColors(); }},
        {"FontListCount", [](TXLSFile &f) { f.FontListCount(); }},
        {"FormatListCount", [](TXLSFile &f) { f.FormatListCount(); }},
        {"AddFormat", [=](TXLSFile &f) { f.AddFormat(fmt); }},
        {"AddFont", [](TXLSFile &f) { f.AddFont(TWbFont()); }},
        {"PageFooter", [](TXLSFile &f) { f.PageFooter(); }},
        {"PageHeader", [](TXLSFile &f) { f.PageHeader(); }},
        {"SetPageFooter", [](TXLSFile &f) { f.SetPageFooter("x"); }},
        {"SetPageHeader", [](TXLSFile &f) { f.SetPageHeader("x"); }},
        {"ShowGridLines", [](TXLSFile &f) { f.ShowGridLines(); }},
        {"SetShowGridLines", [](TXLSFile &f) { f.SetShowGridLines(true); }},
        {"ShowGridHeaders", [](TXLSFile &f) { f.ShowGridHeaders(); }},
        {"SetShowGridHeaders", [](TXLSFile &f) { f.SetShowGridHeaders(true); }},
        {"PrintGridLines", [](TXLSFile &f) { f.PrintGridLines(); }},
        {"SetPrintGridLines", [](TXLSFile &f) { f.SetPrintGridLines(true); }},
        {"SheetZoom", [](TXLSFile &f) { f.SheetZoom(); }},
        {"SetSheetZoom", [](TXLSFile &f) { f.SetSheetZoom(100); }},
        {"Margins", [](TXLSFile &f) { f.Margins(); }},
        {"SetMargins", [](TXLSFile &f) { f.SetMargins(TXlsMargins()); }},
        {"PrintNumberOfHorizontalPages", [](TXLSFile &f) { f.PrintNumberOfHorizontalPages(); }},
        {"PrintNumberOfVerticalPages", [](TXLSFile &f) { f.PrintNumberOfVerticalPages(); }},
        {"PrintScale", [](TXLSFile &f) { f.PrintScale(); }},
        {"PrintOptions", [](TXLSFile &f) { f.PrintOptions(); }},
        {"PrintToFit", [](TXLSFile &f) { f.PrintToFit(); }},
        {"SetPrintNumberOfHorizontalPages", [](TXLSFile &f) { f.SetPrintNumberOfHorizontalPages(1); }},
        {"SetPrintNumberOfVerticalPages", [](TXLSFile &f) { f.SetPrintNumberOfVerticalPages(1); }},
        {"SetPrintScale", [](TXLSFile &f) { f.SetPrintScale(100); }},
        {"SetPrintOptions", [](TXLSFile &f) { f.SetPrintOptions(0); }},
        {"SetPrintToFit", [](TXLSFile &f) { f.SetPrintToFit(true); }},
        {"PrintHCentered", [](TXLSFile &f) { f.PrintHCentered(); }},
        {"PrintVCentered", [](TXLSFile &f) { f.PrintVCentered(); }},
        {"SetPrintHCentered", [](TXLSFile &f) { f.SetPrintHCentered(true); }},
        {"SetPrintVCentered", [](TXLSFile &f) { f.SetPrintVCentered(true); }},
        {"PrintCopies", [](TXLSFile &f) { f.PrintCopies(); }},
        {"PrinterDriverSettings", [](TXLSFile &f) { f.PrinterDriverSettings(); }},
        {"PrintPaperSize", [](TXLSFile &f) { f.PrintPaperSize(); }},
        {"PrintXResolution", [](TXLSFile &f) { f.PrintXResolution(); }},
        {"PrintYResolution", [](TXLSFile &f) { f.PrintYResolution(); }},
        {"SetPrintCopies", [](TXLSFile &f) { f.SetPrintCopies(1); }},
        {"SetPrinterDriverSettings", [](TXLSFile &f) { f.SetPrinterDriverSettings({1, {1, 2}}); }},
        {"SetPrintPaperSize", [](TXLSFile &f) { f.SetPrintPaperSize(9); }},
        {"SetPrintXResolution", [](TXLSFile &f) { f.SetPrintXResolution(600); }},
        {"SetPrintYResolution", [](TXLSFile &f) { f.SetPrintYResolution(600); }},
        {"IsXltTemplate", [](TXLSFile &f) { f.IsXltTemplate(); }},
        {"SetIsXltTemplate", [](TXLSFile &f) { f.SetIsXltTemplate(true); }},
        {"InsertHPageBreak", [](TXLSFile &f) { f.InsertHPageBreak(2); }},
        {"InsertVPageBreak", [](TXLSFile &f) { f.InsertVPageBreak(2); }},
        {"DeleteHPageBreak", [](TXLSFile &f) { f.DeleteHPageBreak(2); }},
        {"DeleteVPageBreak", [](TXLSFile &f) { f.DeleteVPageBreak(2); }},
        {"HasHPageBreak", [](TXLSFile &f) { f.HasHPageBreak(2); }},
        {"HasVPageBreak", [](TXLSFile &f) { f.HasVPageBreak(2); }},
        {"GetCellMergedBounds", [](TXLSFile &f) { f.GetCellMergedBounds(1, 1); }},
        {"GetCellMergedList", [](TXLSFile &f) { f.GetCellMergedList(0); }},
        {"CellMergedListCount", [](TXLSFile &f) { f.CellMergedListCount(); }},
        {"MergeCells", [](TXLSFile &f) { f.MergeCells(1, 1, 2, 2); }},
        {"UnMergeCells", [](TXLSFile &f) { f.UnMergeCells(1, 1, 2, 2); }},
        {"Options1904Dates", [](TXLSFile &f) { f.Options1904Dates(); }},
        {"OptionsR1C1", [](TXLSFile &f) { f.OptionsR1C1(); }},
        {"OptionsSaveExternalLinkValues", [](TXLSFile &f) { f.OptionsSaveExternalLinkValues(); }},
        {"SetOptions1904Dates", [](TXLSFile &f) { f.SetOptions1904Dates(true); }},
        {"SetOptionsR1C1", [](TXLSFile &f) { f.SetOptionsR1C1(true); }},
        {"SetOptionsSaveExternalLinkValues", [](TXLSFile &f) { f.SetOptionsSaveExternalLinkValues(true); }},
        {"OptionsPrecisionAsDisplayed", [](TXLSFile &f) { f.OptionsPrecisionAsDisplayed(); }},
        {"SetOptionsPrecisionAsDisplayed", [](TXLSFile &f) { f.SetOptionsPrecisionAsDisplayed(true); }},
        {"OutlineSummaryColsRightOfDetail", [](TXLSFile &f) { f.OutlineSummaryColsRightOfDetail(); }},
        {"OutlineSummaryRowsBelowDetail", [](TXLSFile &f) { f.OutlineSummaryRowsBelowDetail(); }},
        {"OutlineAutomaticStyles", [](TXLSFile &f) { f.OutlineAutomaticStyles(); }},
        {"SetOutlineSummaryColsRightOfDetail", [](TXLSFile &f) { f.SetOutlineSummaryColsRightOfDetail(true); }},
        {"SetOutlineSummaryRowsBelowDetail", [](TXLSFile &f) { f.SetOutlineSummaryRowsBelowDetail(true); }},
        {"SetOutlineAutomaticStyles", [](TXLSFile &f) { f.SetOutlineAutomaticStyles(true); }},
        {"GetRowOutlineLevel", [](TXLSFile &f) { f.GetRowOutlineLevel(1); }},
        {"SetRowOutlineLevel", [](TXLSFile &f) { f.SetRowOutlineLevel(1, 2, 1); }},
        {"GetColOutlineLevel", [](TXLSFile &f) { f.GetColOutlineLevel(1); }},
        {"SetColOutlineLevel", [](TXLSFile &f) { f.SetColOutlineLevel(1, 2, 1); }},
        {"FreezePanes", [](TXLSFile &f) { f.FreezePanes(2, 2); }},
        {"GetFrozenPanes",
         [](TXLSFile &f) {
             int32_t r = 0, c = 0;
             f.GetFrozenPanes(r, c);
         }},
        {"SplitWindow", [](TXLSFile &f) { f.SplitWindow(100, 100); }},
        {"GetSplitWindow",
         [](TXLSFile &f) {
             int32_t x = 0, y = 0;
             f.GetSplitWindow(x, y);
         }},
        {"AutofitRow", [](TXLSFile &f) { f.AutofitRow(1, 2, true, false, 1); }},
        {"AutofitCol", [](TXLSFile &f) { f.AutofitCol(1, 2, false, 1); }},
        {"AutofitRowsOnWorkbook", [](TXLSFile &f) { f.AutofitRowsOnWorkbook(true, false, 1); }},
        {"MaxRow", [](TXLSFile &f) { f.MaxRow(); }},
        {"MaxCol", [](TXLSFile &f) { f.MaxCol(); }},
        {"IsEmptyRow", [](TXLSFile &f) { f.IsEmptyRow(1); }},
        {"ColByIndex", [](TXLSFile &f) { f.ColByIndex(1, 1); }},
        {"ColIndexCount", [](TXLSFile &f) { f.ColIndexCount(1); }},
        {"ColIndex", [](TXLSFile &f) { f.ColIndex(1, 1); }},
        {"SetAutoFilter", [](TXLSFile &f) { f.SetAutoFilter(1, 1, 2); }},
        {"RemoveAutoFilter", [](TXLSFile &f) { f.RemoveAutoFilter(); }},
        {"HasAutoFilter", [](TXLSFile &f) { f.HasAutoFilter(); }},
        {"HasAutoFilter at a cell", [](TXLSFile &f) { f.HasAutoFilter(1, 1); }},
        {"GetAutoFilterRange", [](TXLSFile &f) { f.GetAutoFilterRange(); }},
        // Pictures, comments, hyperlinks and the clipboard.
        {"BeginSheet", [](TXLSFile &f) { f.BeginSheet(); }},
        {"GetPicturesCount", [](TXLSFile &f) { f.GetPicturesCount(0); }},
        {"GetPictureName", [](TXLSFile &f) { f.GetPictureName(0, 0); }},
        {"GetPicture",
         [](TXLSFile &f) {
             TMemoryStream pic;
             TXlsImgTypes type = xli_Png;
             TClientAnchor anchor;
             f.GetPicture(0, 0, &pic, type, anchor);
         }},
        {"AssignPicture", [](TXLSFile &f) { f.AssignPicture(0, 0, ByteArray{1, 2}, xli_Png); }},
        {"AssignPicture with properties",
         [=](TXLSFile &f) { f.AssignPicture(0, 0, ByteArray{1, 2}, xli_Png, props, at_MoveAndResize); }},
        {"AssignPictureProperties", [=](TXLSFile &f) { f.AssignPictureProperties(0, 0, props, at_MoveAndResize); }},
        {"AddImage", [=](TXLSFile &f) { f.AddImage(ByteArray{1, 2}, xli_Png, props, at_MoveAndResize); }},
        {"ClearImage", [](TXLSFile &f) { f.ClearImage(0); }},
        {"DeleteImage", [](TXLSFile &f) { f.DeleteImage(0); }},
        {"GetCommentsCount", [](TXLSFile &f) { f.GetCommentsCount(1); }},
        {"GetCommentText", [](TXLSFile &f) { f.GetCommentText(1, 0); }},
        {"GetCommentColumn", [](TXLSFile &f) { f.GetCommentColumn(1, 0); }},
        {"GetCellComment", [](TXLSFile &f) { f.GetCellComment(1, 1); }},
        {"AssignComment", [](TXLSFile &f) { f.AssignComment(1, 0, "x"); }},
        {"SetCellComment", [=](TXLSFile &f) { f.SetCellComment(1, 1, "x", props); }},
        {"HyperLinkCount", [](TXLSFile &f) { f.HyperLinkCount(); }},
        {"GetHyperLink", [](TXLSFile &f) { f.GetHyperLink(1); }},
        {"SetHyperLink", [](TXLSFile &f) { f.SetHyperLink(1, THyperLink()); }},
        {"GetHyperLinkCellRange", [](TXLSFile &f) { f.GetHyperLinkCellRange(1); }},
        {"SetHyperLinkCellRange", [=](TXLSFile &f) { f.SetHyperLinkCellRange(1, range); }},
        {"AddHyperLink", [=](TXLSFile &f) { f.AddHyperLink(range, THyperLink()); }},
        {"DeleteHyperLink", [](TXLSFile &f) { f.DeleteHyperLink(1); }},
        {"CopyToClipboard", [](TXLSFile &f) { f.CopyToClipboard(); }},
        {"CopyToClipboard of a range", [=](TXLSFile &f) { f.CopyToClipboard(range); }},
        {"CopyToClipboardFormat", [=](TXLSFile &f) { f.CopyToClipboardFormat(range); }},
        {"PasteFromClipboard", [](TXLSFile &f) { f.PasteFromClipboard(1, 1); }},
        {"PasteFromXlsClipboardFormat",
         [](TXLSFile &f) {
             auto m = ole::MemStream(tpl::File());
             f.PasteFromXlsClipboardFormat(1, 1, m.get());
         }},
    };
}

} // namespace

TEST(FileNotConnected, EveryWorkbookOperationRaises)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath("book.xls");
    WriteFile(existing, tpl::File());
    const QString target = dir.filePath("new.xls");

    for (const TFileCall &op : WorkbookOperations(existing, target)) {
        TXLSFile never(nullptr);
        EXPECT_EQ(ole::MessageOf([&] { op.Call(never); }), NoWorkbook) << op.Name << " before Connect";
        EXPECT_EQ(never.ActiveSheet(), 0) << op.Name;
        EXPECT_FALSE(never.IsFileModified) << op.Name;

        TXLSFile gone(nullptr);
        gone.Connect();
        gone.NewFile(1);
        gone.Disconnect();
        EXPECT_EQ(ole::MessageOf([&] { op.Call(gone); }), NoWorkbook) << op.Name << " after Disconnect";
    }
    // What keeps no workbook data of its own answers without one: the clean-up calls, the
    // object's own fields and the empty hooks.
    TXLSFile bare(nullptr);
    EXPECT_NO_THROW({
        bare.CloseFile();
        bare.SetActiveSheet(2);
        bare.SetInvalidateFormulas(true);
        bare.PrepareBlockData(1, 1, 2, 2);
        bare.PasteBlockData();
        bare.RefreshPivotTables();
        bare.RefreshChartRanges("");
        bare.EndSheet(0);
        bare.ParseComments();
        bare.PasteFromTextClipboardFormat(1, 1, "x");
        bare.Disconnect();
    });
    EXPECT_EQ(bare.ActiveSheet(), 2);
    EXPECT_TRUE(bare.InvalidateFormulas());
    EXPECT_EQ(bare.GetFirstColumn(), 1);
    EXPECT_EQ(bare.GetTWorkbook(), nullptr);

    // No save wrote anything, and the file to open is as it was.
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(ReadFile(existing), tpl::File());

    // Connected again, the object works.
    TXLSFile f(nullptr);
    f.Connect();
    f.OpenFile(existing);
    EXPECT_EQ(f.SheetCount(), 1);
    f.Disconnect();
}

TEST(FileNotConnected, FontAndFormatOfAWorkbookWithoutListsRaise)
{
    // Connected, nothing loaded: no font or format to replace. The new entry is not kept (nor
    // leaked).
    Connected c;
    EXPECT_THROW(c.F.SetFontList(0, TWbFont()), EListError);
    EXPECT_THROW(c.F.SetFormatList(0, TWbFormat()), EListError);
}
