// The operations of the file object that map directly onto the workbook model: 1-based rows,
// columns and palette entries in, 0-based ones to the model; on a sheet that is no worksheet the
// sheet-level reads give fixed defaults and the writes do nothing.
#include "xlsAdapter/file/duzUXlsFile.h"

#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/formulas/duzUXlsFormula.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/workbook/duzUXlsSheet.h"
#include "xlsAdapter/workbook/duzUXlsWorkbook.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"
#include "xlsAdapter/records/duzUXlsXF.h"
#include "xlsAdapter/duzXlsMessages.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int32_t MaxColumns = 256;
constexpr int32_t MaxRows = 65536;
constexpr int32_t PaletteEntries = 56;

// The worksheet's value, or Default without one.
template <class C, class T, class D> T ReadOr(TWorkSheet *ws, T (C::*Get)() const, D Default)
{
    return ws ? (ws->*Get)() : T(Default);
}

// Sets the value on a worksheet; nothing without one.
template <class C, class T, class V> void WriteIf(TWorkSheet *ws, void (C::*Set)(T), const V &Value)
{
    if (ws)
        (ws->*Set)(Value);
}

// The index-th (1-based) defined name.
TNameRecord *NameAt(const TWorkbook &W, int32_t index) { return W.Globals()->Names().Items(index - 1); }

// Each bound of a model range + 1.
TXlsCellRange OneBased(const TXlsCellRange &R) { return {R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1}; }

} // namespace

TSheet *TXLSFile::ActiveSheetObject() const { return Book()->Sheets()->Items(FActiveSheet - 1); }

TWorkSheet *TXLSFile::ActiveWorkSheet() const
{
    return Book()->IsWorksheet(FActiveSheet - 1) ? Book()->WorkSheets(FActiveSheet - 1) : nullptr;
}

void TXLSFile::ChangeLayout(const std::function<void(TWorkSheet *)> &Change)
{
    if (TWorkSheet *ws = ActiveWorkSheet()) {
        Change(ws);
        Book()->RestoreObjectCoords(FActiveSheet - 1);
    }
}

// The file format has no font 4: interface index 4 stands for font 0, the ones above it for the
// font before; an index outside the list stands for font 0 too.
int32_t TXLSFile::FontModelIndex(int32_t index) const
{
    const int32_t i = index == 4 ? 0 : index > 4 ? index - 1 : index;
    return i >= 0 && i < Book()->Globals()->Fonts().Count() ? i : 0;
}

int32_t TXLSFile::XFModelIndex(int32_t index) const
{
    return index >= 0 && index < Book()->Globals()->XF().Count() ? index : 0;
}

// Named ranges.

int32_t TXLSFile::GetExcelNameCount() { return Book()->Globals()->Names().Count(); }
QString TXLSFile::GetRangeName(int32_t index) { return NameAt(*Book(), index)->Name(); }
int32_t TXLSFile::GetRangeR1(int32_t index) { return NameAt(*Book(), index)->GetR1() + 1; }
int32_t TXLSFile::GetRangeR2(int32_t index) { return NameAt(*Book(), index)->GetR2() + 1; }
int32_t TXLSFile::GetRangeC1(int32_t index) { return NameAt(*Book(), index)->GetC1() + 1; }
int32_t TXLSFile::GetRangeC2(int32_t index) { return NameAt(*Book(), index)->GetC2() + 1; }
void TXLSFile::SetRangeR1(int32_t index, int32_t value) { NameAt(*Book(), index)->SetR1(value - 1); }
void TXLSFile::SetRangeR2(int32_t index, int32_t value) { NameAt(*Book(), index)->SetR2(value - 1); }
void TXLSFile::SetRangeC1(int32_t index, int32_t value) { NameAt(*Book(), index)->SetC1(value - 1); }
void TXLSFile::SetRangeC2(int32_t index, int32_t value) { NameAt(*Book(), index)->SetC2(value - 1); }

int32_t TXLSFile::GetRangeSheet(int32_t index)
{
    TReferences &Refs = Book()->Globals()->References();
    return NameAt(*Book(), index)->RefersToSheet([&Refs](int32_t SheetRef) { return Refs.GetSheet(SheetRef); }) + 1;
}

void TXLSFile::AddRange(TXlsNamedRange &NamedRange)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        Book()->Globals()->AddName(NamedRange, ws->Cells()->CellList());
}

// Sizes and hidden state.

int32_t TXLSFile::GetColumnWidth(int32_t aCol)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? ws->GetColWidth(aCol - 1) : 0;
}

int32_t TXLSFile::GetColumnWidthHiddenIsZero(int32_t aCol)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? ws->GetColWidth(aCol - 1, true) : 0;
}

int32_t TXLSFile::GetRowHeight(int32_t aRow)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? ws->GetRowHeight(aRow - 1) : 0;
}

int32_t TXLSFile::GetRowHeightHiddenIsZero(int32_t aRow)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? ws->GetRowHeight(aRow - 1, true) : 0;
}

void TXLSFile::SetColumnWidth(int32_t aCol, int32_t Value)
{
    ChangeLayout([&](TWorkSheet *ws) { ws->SetColWidth(aCol - 1, Value); });
}

void TXLSFile::SetRowHeight(int32_t aRow, int32_t Value)
{
    ChangeLayout([&](TWorkSheet *ws) { ws->SetRowHeight(aRow - 1, Value); });
}

bool TXLSFile::GetRowHidden(int32_t aRow)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws && ws->GetRowHidden(aRow - 1);
}

bool TXLSFile::GetColumnHidden(int32_t aCol)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws && aCol >= 1 && aCol <= MaxColumns && ws->GetColHidden(aCol - 1);
}

void TXLSFile::SetRowHidden(int32_t aRow, bool Value)
{
    ChangeLayout([&](TWorkSheet *ws) { ws->SetRowHidden(aRow - 1, Value); });
}

void TXLSFile::SetColumnHidden(int32_t aCol, bool Value)
{
    if (aCol >= 1 && aCol <= MaxColumns)
        ChangeLayout([&](TWorkSheet *ws) { ws->SetColHidden(aCol - 1, Value); });
}

int32_t TXLSFile::DefaultColWidth() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::DefColWidth, 10); }
int32_t TXLSFile::DefaultRowHeight() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::DefRowHeight, 255); }

bool TXLSFile::GetAutoRowHeight(int32_t Row)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return !ws || ws->Cells()->RowList()->IsAutoRowHeight(Row - 1);
}

void TXLSFile::SetAutoRowHeight(int32_t Row, bool Value)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->Cells()->RowList()->AutoRowHeight(Row - 1, Value);
}

// Formats, palette and fonts.

int32_t TXLSFile::GetColumnFormat(int32_t aColumn)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? ws->GetColFormat(aColumn - 1) : -1;
}

int32_t TXLSFile::GetRowFormat(int32_t aRow)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? ws->GetRowFormat(aRow - 1) : 0;
}

void TXLSFile::SetColumnFormat(int32_t aColumn, int32_t Value)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->SetColFormat(aColumn - 1, Value);
}

void TXLSFile::SetRowFormat(int32_t aRow, int32_t Value)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->SetRowFormat(aRow - 1, Value);
}

int32_t TXLSFile::GetCellFormat(int32_t aRow, int32_t aCol)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? ws->Cells()->CellList()->GetValue(aRow - 1, aCol - 1).XF : -1;
}

void TXLSFile::SetCellFormat(int32_t aRow, int32_t aCol, int32_t Value)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->Cells()->CellList()->SetFormat(aRow - 1, aCol - 1, Value);
}

uint32_t TXLSFile::GetColorPalette(TColorPaletteRange Index)
{
    return Book()->Globals()->GetColorPalette(Index - 1);
}

void TXLSFile::SetColorPalette(TColorPaletteRange Index, uint32_t Value)
{
    Book()->Globals()->SetColorPalette(Index - 1, Value);
}

TWbFont TXLSFile::GetFontList(int32_t index)
{
    return Book()->Globals()->Fonts().Items(FontModelIndex(index))->WbFont();
}

void TXLSFile::SetFontList(int32_t index, const TWbFont &Value)
{
    if (index == 4)
        return;
    // The list takes the record only when the index is in it (a workbook without fonts has none).
    std::unique_ptr<TFontRecord> Font(TFontRecord::CreateFromWbFont(Value));
    Book()->Globals()->Fonts().SetItems(FontModelIndex(index), Font.get());
    Font.release();
}

TWbFormat TXLSFile::GetFormatList(int32_t index)
{
    TWorkbookGlobals *g = Book()->Globals();
    return g->XF().Items(XFModelIndex(index))->WbFormat(&g->Fonts(), &g->Formats());
}

void TXLSFile::SetFormatList(int32_t index, const TWbFormat &Value)
{
    TWorkbookGlobals *g = Book()->Globals();
    const int32_t i = XFModelIndex(index);
    std::unique_ptr<TXFRecord> XF(TXFRecord::CreateFromFormat(Value, &g->Fonts(), &g->Formats()));
    g->XF().SetItems(i, XF.get());
    XF.release();
}

BooleanArray TXLSFile::GetUsedPaletteColors()
{
    TWorkbookGlobals *g = Book()->Globals();
    return g->XF().GetUsedColors(PaletteEntries + 1, &g->Fonts());
}

int32_t TXLSFile::FontListCount() { return Book()->Globals()->Fonts().Count() + 1; }
int32_t TXLSFile::FormatListCount() { return Book()->Globals()->XF().Count(); }

int32_t TXLSFile::AddFormat(const TWbFormat &Fmt)
{
    TWorkbookGlobals *g = Book()->Globals();
    std::unique_ptr<TXFRecord> XF(TXFRecord::CreateFromFormat(Fmt, &g->Fonts(), &g->Formats()));
    int32_t Index = -1;
    if (g->XF().FindFormat(XF.get(), Index))
        return Index;
    return g->XF().Add(XF.release());
}

int32_t TXLSFile::AddFont(const TWbFont &Fmt) { return Book()->Globals()->Fonts().AddFont(Fmt); }

// Page, view and print settings.

QString TXLSFile::PageFooter() { return ActiveSheetObject()->PageFooter(); }
QString TXLSFile::PageHeader() { return ActiveSheetObject()->PageHeader(); }
void TXLSFile::SetPageFooter(const QString &Value) { ActiveSheetObject()->SetPageFooter(Value); }
void TXLSFile::SetPageHeader(const QString &Value) { ActiveSheetObject()->SetPageHeader(Value); }

bool TXLSFile::ShowGridLines() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::ShowGridLines, true); }
void TXLSFile::SetShowGridLines(bool Value) { WriteIf(ActiveWorkSheet(), &TWorkSheet::SetShowGridLines, Value); }
bool TXLSFile::ShowGridHeaders() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::ShowGridHeaders, true); }
void TXLSFile::SetShowGridHeaders(bool Value) { WriteIf(ActiveWorkSheet(), &TWorkSheet::SetShowGridHeaders, Value); }
bool TXLSFile::PrintGridLines() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrintGridLines, true); }
void TXLSFile::SetPrintGridLines(bool Value) { WriteIf(ActiveWorkSheet(), &TWorkSheet::SetPrintGridLines, Value); }

int32_t TXLSFile::SheetZoom() { return ActiveSheetObject()->SheetZoom(); }
void TXLSFile::SetSheetZoom(int32_t Value) { ActiveSheetObject()->SetSheetZoom(Value); }
TXlsMargins TXLSFile::Margins() { return ActiveSheetObject()->Margins(); }
void TXLSFile::SetMargins(const TXlsMargins &Value) { ActiveSheetObject()->SetMargins(Value); }

uint16_t TXLSFile::PrintNumberOfHorizontalPages()
{
    return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrintNumberOfHorizontalPages, 1);
}
uint16_t TXLSFile::PrintNumberOfVerticalPages()
{
    return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrintNumberOfVerticalPages, 1);
}
int32_t TXLSFile::PrintScale() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrintScale, 100); }
uint8_t TXLSFile::PrintOptions() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrintOptions, 0); }
bool TXLSFile::PrintToFit() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrintToFit, false); }
void TXLSFile::SetPrintNumberOfHorizontalPages(uint16_t Value)
{
    WriteIf(ActiveWorkSheet(), &TWorkSheet::SetPrintNumberOfHorizontalPages, Value);
}
void TXLSFile::SetPrintNumberOfVerticalPages(uint16_t Value)
{
    WriteIf(ActiveWorkSheet(), &TWorkSheet::SetPrintNumberOfVerticalPages, Value);
}
void TXLSFile::SetPrintScale(int32_t Value) { WriteIf(ActiveWorkSheet(), &TWorkSheet::SetPrintScale, Value); }
void TXLSFile::SetPrintOptions(uint8_t Value) { WriteIf(ActiveWorkSheet(), &TWorkSheet::SetPrintOptions, Value); }
void TXLSFile::SetPrintToFit(bool Value) { WriteIf(ActiveWorkSheet(), &TWorkSheet::SetPrintToFit, Value); }
bool TXLSFile::PrintHCentered() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrintHCentered, false); }
bool TXLSFile::PrintVCentered() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrintVCentered, false); }
void TXLSFile::SetPrintHCentered(bool Value) { WriteIf(ActiveWorkSheet(), &TWorkSheet::SetPrintHCentered, Value); }
void TXLSFile::SetPrintVCentered(bool Value) { WriteIf(ActiveWorkSheet(), &TWorkSheet::SetPrintVCentered, Value); }
int32_t TXLSFile::PrintCopies() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrintCopies, 1); }
TPrinterDriverSettings TXLSFile::PrinterDriverSettings()
{
    return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrinterDriverSettings, TPrinterDriverSettings());
}
int32_t TXLSFile::PrintPaperSize() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrintPaperSize, 0); }
int32_t TXLSFile::PrintXResolution() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrintXResolution, 600); }
int32_t TXLSFile::PrintYResolution() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::PrintYResolution, 600); }
void TXLSFile::SetPrintCopies(int32_t Value) { WriteIf(ActiveWorkSheet(), &TWorkSheet::SetPrintCopies, Value); }

void TXLSFile::SetPrinterDriverSettings(const TPrinterDriverSettings &Value)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->SetPrinterDriverSettings(Value);
}

void TXLSFile::SetPrintPaperSize(int32_t Value) { WriteIf(ActiveWorkSheet(), &TWorkSheet::SetPrintPaperSize, Value); }
void TXLSFile::SetPrintXResolution(int32_t Value)
{
    WriteIf(ActiveWorkSheet(), &TWorkSheet::SetPrintXResolution, Value);
}
void TXLSFile::SetPrintYResolution(int32_t Value)
{
    WriteIf(ActiveWorkSheet(), &TWorkSheet::SetPrintYResolution, Value);
}

bool TXLSFile::IsXltTemplate() { return Book()->IsXltTemplate(); }
void TXLSFile::SetIsXltTemplate(bool Value) { Book()->SetIsXltTemplate(Value); }

void TXLSFile::InsertHPageBreak(int32_t aRow) { Book()->InsertHPageBreak(FActiveSheet - 1, uint16_t(aRow - 1)); }
void TXLSFile::InsertVPageBreak(int32_t aCol) { Book()->InsertVPageBreak(FActiveSheet - 1, uint16_t(aCol - 1)); }
void TXLSFile::DeleteHPageBreak(int32_t aRow) { ActiveSheetObject()->DeleteHPageBreak(uint16_t(aRow - 1)); }
void TXLSFile::DeleteVPageBreak(int32_t aCol) { ActiveSheetObject()->DeleteVPageBreak(uint16_t(aCol - 1)); }

bool TXLSFile::HasHPageBreak(int32_t aRow)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws && ws->HasHPageBreak(aRow - 1);
}

bool TXLSFile::HasVPageBreak(int32_t aCol)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws && ws->HasVPageBreak(aCol - 1);
}

// Merged cells and workbook options.

TXlsCellRange TXLSFile::GetCellMergedBounds(int32_t aRow, int32_t aCol)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? OneBased(ws->CellMergedBounds(aRow - 1, aCol - 1)) : TXlsCellRange();
}

TXlsCellRange TXLSFile::GetCellMergedList(int32_t index)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? OneBased(ws->CellMergedList(index)) : TXlsCellRange();
}

int32_t TXLSFile::CellMergedListCount() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::CellMergedListCount, 0); }

void TXLSFile::MergeCells(int32_t FirstRow, int32_t FirstCol, int32_t LastRow, int32_t LastCol)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->MergeCells(FirstRow - 1, FirstCol - 1, LastRow - 1, LastCol - 1);
}

void TXLSFile::UnMergeCells(int32_t FirstRow, int32_t FirstCol, int32_t LastRow, int32_t LastCol)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->UnMergeCells(FirstRow - 1, FirstCol - 1, LastRow - 1, LastCol - 1);
}

bool TXLSFile::Options1904Dates() { return Book()->Globals()->Is1904(); }

bool TXLSFile::OptionsR1C1()
{
    for (int i = 0; i < Book()->Sheets()->Count(); ++i)
        if (Book()->IsWorksheet(i))
            return Book()->WorkSheets(i)->IsR1C1();
    return false;
}

bool TXLSFile::OptionsSaveExternalLinkValues() { return Book()->Globals()->SaveExternalLinkValues(); }
void TXLSFile::SetOptions1904Dates(bool Value) { Book()->Globals()->SetIs1904(Value); }

void TXLSFile::SetOptionsR1C1(bool Value)
{
    for (int i = 0; i < Book()->Sheets()->Count(); ++i)
        if (Book()->IsWorksheet(i))
            Book()->WorkSheets(i)->SetIsR1C1(Value);
}

void TXLSFile::SetOptionsSaveExternalLinkValues(bool Value) { Book()->Globals()->SetSaveExternalLinkValues(Value); }
bool TXLSFile::OptionsPrecisionAsDisplayed() { return Book()->Globals()->PrecisionAsDisplayed(); }
void TXLSFile::SetOptionsPrecisionAsDisplayed(bool Value) { Book()->Globals()->SetPrecisionAsDisplayed(Value); }

// Outline.

bool TXLSFile::OutlineSummaryColsRightOfDetail()
{
    return ReadOr(ActiveWorkSheet(), &TWorkSheet::OutlineSummaryColsRightOfDetail, true);
}
bool TXLSFile::OutlineSummaryRowsBelowDetail()
{
    return ReadOr(ActiveWorkSheet(), &TWorkSheet::OutlineSummaryRowsBelowDetail, true);
}
bool TXLSFile::OutlineAutomaticStyles()
{
    return ReadOr(ActiveWorkSheet(), &TWorkSheet::OutlineAutomaticStyles, false);
}
void TXLSFile::SetOutlineSummaryColsRightOfDetail(bool Value)
{
    WriteIf(ActiveWorkSheet(), &TWorkSheet::SetOutlineSummaryColsRightOfDetail, Value);
}
void TXLSFile::SetOutlineSummaryRowsBelowDetail(bool Value)
{
    WriteIf(ActiveWorkSheet(), &TWorkSheet::SetOutlineSummaryRowsBelowDetail, Value);
}
void TXLSFile::SetOutlineAutomaticStyles(bool Value)
{
    WriteIf(ActiveWorkSheet(), &TWorkSheet::SetOutlineAutomaticStyles, Value);
}

int32_t TXLSFile::GetRowOutlineLevel(int32_t aRow)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? ws->GetRowOutlineLevel(aRow - 1) : 0;
}

void TXLSFile::SetRowOutlineLevel(int32_t FirstRow, int32_t LastRow, int32_t Level)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        for (int32_t r = FirstRow; r <= LastRow; ++r)
            ws->SetRowOulineLevel(r - 1, Level);
}

int32_t TXLSFile::GetColOutlineLevel(int32_t aCol)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? ws->GetColOutlineLevel(aCol - 1) : 0;
}

void TXLSFile::SetColOutlineLevel(int32_t FirstCol, int32_t LastCol, int32_t Level)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        for (int32_t c = FirstCol; c <= LastCol; ++c)
            ws->SetColOulineLevel(c - 1, Level);
}

// Panes.

void TXLSFile::FreezePanes(int32_t Row, int32_t Col)
{
    // (1, 1) is the top left cell and unfreezes; a split before it has no place in the PANE record.
    if (Row < 1 || Row > MaxRows)
        XlsIndexError(Row, QStringLiteral("Row"), 1, MaxRows);
    if (Col < 1 || Col > MaxColumns)
        XlsIndexError(Col, QStringLiteral("Col"), 1, MaxColumns);
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->FreezePanes(Row - 1, Col - 1);
}

void TXLSFile::GetFrozenPanes(int32_t &Row, int32_t &Col)
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws)
        return;
    ws->GetFrozenPanes(Row, Col);
    ++Row;
    ++Col;
}

void TXLSFile::SplitWindow(int32_t xOffset, int32_t yOffset)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->SplitWindow(xOffset, yOffset);
}

void TXLSFile::GetSplitWindow(int32_t &xOffset, int32_t &yOffset)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->GetSplitWindow(xOffset, yOffset);
}

// Autofit.

void TXLSFile::AutofitRow(int32_t row1, int32_t row2, bool AutofitNotAutofittingRows, bool keepHeightAutomatic,
                          double adjustment)
{
    ChangeLayout([&](TWorkSheet *ws) {
        ws->RecalcRowHeights(this, row1 - 1, row2 - 1, AutofitNotAutofittingRows, keepHeightAutomatic, adjustment);
    });
}

void TXLSFile::AutofitCol(int32_t Col1, int32_t Col2, bool IgnoreStrings, double Adjustment)
{
    ChangeLayout([&](TWorkSheet *ws) { ws->RecalcColWidths(this, Col1 - 1, Col2 - 1, IgnoreStrings, Adjustment); });
}

void TXLSFile::AutofitRowsOnWorkbook(bool AutofitNotAutofittingRows, bool KeepSizesAutomatic, double Adjustment)
{
    for (int i = 0; i < Book()->Sheets()->Count(); ++i) {
        if (!Book()->IsWorksheet(i))
            continue;
        Book()->WorkSheets(i)->RecalcRowHeights(this, 0, MaxRows - 1, AutofitNotAutofittingRows,
                                                   KeepSizesAutomatic, Adjustment);
        Book()->RestoreObjectCoords(i);
    }
}

// Stored rows and cells.

TCellRecordList *TXLSFile::StoredRow(int32_t Row) const
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws || Row < 1 || Row > ws->Cells()->CellList()->Count())
        return nullptr;
    return ws->Cells()->CellList()->Items(Row - 1);
}

int32_t TXLSFile::MaxRow()
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? ws->Cells()->RowList()->Count() : 0;
}

int32_t TXLSFile::MaxCol()
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws)
        return 0;
    const TRowRecordList *Rows = ws->Cells()->RowList();
    int32_t Result = 0;
    for (int32_t r = 0; r < Rows->Count(); ++r)
        if (Rows->HasRow(r))
            Result = std::max<int32_t>(Result, Rows->Items(r)->MaxCol());
    return Result;
}

bool TXLSFile::IsEmptyRow(int32_t aRow)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return !ws || !ws->Cells()->RowList()->HasRow(aRow - 1);
}

int32_t TXLSFile::ColByIndex(int32_t Row, int32_t ColIndex)
{
    TCellRecordList *Cells = StoredRow(Row);
    if (!Cells || ColIndex < 1 || ColIndex > Cells->Count())
        return 0;
    return Cells->Items(ColIndex - 1)->Column() + 1;
}

int32_t TXLSFile::ColIndexCount(int32_t Row)
{
    TCellRecordList *Cells = StoredRow(Row);
    return Cells ? Cells->Count() : 0;
}

int32_t TXLSFile::ColIndex(int32_t Row, int32_t Col)
{
    TCellRecordList *Cells = StoredRow(Row);
    if (!Cells || Cells->Count() == 0)
        return 0;
    int32_t Index = 0;
    Cells->Find(Col - 1, Index);
    return Index + 1;
}

// Auto filter.

void TXLSFile::SetAutoFilter(int32_t row, int32_t col1, int32_t col2)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->SetAutoFilter(FActiveSheet - 1, row - 1, col1 - 1, col2 - 1);
}

void TXLSFile::RemoveAutoFilter()
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        ws->RemoveAutoFilter();
}

bool TXLSFile::HasAutoFilter() { return ReadOr(ActiveWorkSheet(), &TWorkSheet::HasAutoFilter, false); }

bool TXLSFile::HasAutoFilter(int32_t row, int32_t col)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws && ws->HasAutoFilter(FActiveSheet - 1, row - 1, col - 1);
}

TXlsCellRange TXLSFile::GetAutoFilterRange()
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? OneBased(ws->GetAutoFilterRange(FActiveSheet - 1)) : TXlsCellRange{-1, -1, -1, -1};
}
