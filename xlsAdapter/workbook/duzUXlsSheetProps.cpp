// The sheet's view, page setup, rows, columns, merged cells and auto filter, read from and
// written to the records the sheet caches.
#include "xlsAdapter/workbook/duzUXlsSheet.h"

#include "xlsAdapter/records/duzUXlsColInfo.h"
#include "xlsAdapter/drawing/duzUXlsEscher.h"
#include "xlsAdapter/formulas/duzUXlsFormula.h"
#include "xlsAdapter/workbook/duzUXlsNotes.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr uint16_t xlr_LEFTMARGIN = 0x0026;
constexpr uint16_t xlr_RIGHTMARGIN = 0x0027;
constexpr uint16_t xlr_TOPMARGIN = 0x0028;
constexpr uint16_t xlr_BOTTOMMARGIN = 0x0029;
constexpr uint16_t xlr_VCENTER = 0x0084;
constexpr uint16_t xlr_DEFAULTROWHEIGHT = 0x0225;
constexpr uint16_t xlr_GUTS = 0x0080;
constexpr uint16_t xlr_DEFCOLWIDTH = 0x0055;
constexpr uint16_t xlr_DIMENSIONS = 0x0200;
constexpr uint16_t xlr_AUTOFILTER = 0x009E;
constexpr uint16_t xlr_AUTOFILTERINFO = 0x009D;
constexpr uint16_t xlr_FILTERMODE = 0x009B;
constexpr uint16_t xlr_PLS = 0x004D;
constexpr uint16_t xlr_SETUP = 0x00A1;

// 19 mm and 25 mm, what a sheet without margin records prints with.
constexpr double DefaultSideMargin = 0.7480314960629921;
constexpr double DefaultTopMargin = 0.984251968503937;

// The built-in name of an auto filter's range.
const QChar FilterDatabaseName(0x0D);
constexpr int32_t FilterNameFlags = 0x21; // hidden, built-in

void CheckPrintValue(int32_t Value, const char *Property)
{
    if (Value < 0 || Value > 65535)
        XlsIndexError(Value, QString::fromLatin1(Property), 0, 65535);
}

bool HasId(const TBaseRecord *R, std::initializer_list<uint16_t> Ids)
{
    return R && std::find(Ids.begin(), Ids.end(), R->Id) != Ids.end();
}

// The first record of the list with one of the ids, or -1.
int FirstOf(const TBaseRecordList *List, std::initializer_list<uint16_t> Ids)
{
    for (int i = 0; i < List->Count(); ++i)
        if (HasId(List->Items(i), Ids))
            return i;
    return -1;
}

void DeleteAll(TBaseRecordList *List, std::initializer_list<uint16_t> Ids)
{
    for (int i = List->Count() - 1; i >= 0; --i)
        if (HasId(List->Items(i), Ids))
            List->Delete(i);
}

// Before the record at Before, or at the end of the list when Before is -1.
template <class T> T *InsertRecord(TBaseRecordList *List, int Before, T *R)
{
    if (Before < 0)
        List->Add(R);
    else
        List->Insert(Before, R);
    return R;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TSheet

bool TSheet::Selected() const { return FWindow2 && FWindow2->Selected(); }

void TSheet::SetSelected(bool Value)
{
    if (FWindow2)
        FWindow2->SetSelected(Value);
}

bool TSheet::ShowGridLines() const { return !FWindow2 || FWindow2->ShowGridLines(); }

void TSheet::SetShowGridLines(bool Value)
{
    if (FWindow2)
        FWindow2->SetShowGridLines(Value);
}

bool TSheet::ShowGridHeaders() const { return !FWindow2 || FWindow2->ShowGridHeaders(); }

void TSheet::SetShowGridHeaders(bool Value)
{
    if (FWindow2)
        FWindow2->SetShowGridHeaders(Value);
}

bool TSheet::PrintGridLines() const { return !FPrintGridLines || FPrintGridLines->Value(); }

void TSheet::SetPrintGridLines(bool Value)
{
    if (FPrintGridLines)
        FPrintGridLines->SetValue(Value);
}

bool TSheet::IsR1C1() const { return FRefMode && FRefMode->IsR1C1(); }

void TSheet::SetIsR1C1(bool Value)
{
    if (FRefMode)
        FRefMode->SetIsR1C1(Value);
}

QString TSheet::PageHeader() const { return FPageHeader ? FPageHeader->Text() : QString(); }

QString TSheet::PageFooter() const { return FPageFooter ? FPageFooter->Text() : QString(); }

TXlsMargins TSheet::Margins() const
{
    TXlsMargins m;
    m.Left = FLeftMargin ? FLeftMargin->Value() : DefaultSideMargin;
    m.Right = FRightMargin ? FRightMargin->Value() : DefaultSideMargin;
    m.Top = FTopMargin ? FTopMargin->Value() : DefaultTopMargin;
    m.Bottom = FBottomMargin ? FBottomMargin->Value() : DefaultTopMargin;
    if (FSetup) {
        m.Header = FSetup->HeaderMargin();
        m.Footer = FSetup->FooterMargin();
    }
    return m;
}

void TSheet::AddMargin(TMarginRecord *&Field, uint16_t aId, double Value)
{
    if (!FPrintRecords)
        return;
    int After = FPrintRecords->Count() - 1;
    while (After >= 0
           && !HasId(FPrintRecords->Items(After), {xlr_LEFTMARGIN, xlr_RIGHTMARGIN, xlr_TOPMARGIN, xlr_BOTTOMMARGIN,
                                                   xlr_VCENTER, xlr_DEFAULTROWHEIGHT}))
        --After;
    auto *R = new TMarginRecord(aId, new uint8_t[8](), 8);
    InsertRecord(FPrintRecords, After < 0 ? -1 : After + 1, R);
    Field = R;
    R->SetValue(Value);
}

void TSheet::SetMargins(const TXlsMargins &Value)
{
    const struct
    {
        TMarginRecord *&Field;
        uint16_t Id;
        double Value;
    } Sides[] = {{FLeftMargin, xlr_LEFTMARGIN, Value.Left},
                 {FRightMargin, xlr_RIGHTMARGIN, Value.Right},
                 {FTopMargin, xlr_TOPMARGIN, Value.Top},
                 {FBottomMargin, xlr_BOTTOMMARGIN, Value.Bottom}};
    for (const auto &s : Sides) {
        if (s.Field)
            s.Field->SetValue(s.Value);
        else
            AddMargin(s.Field, s.Id, s.Value);
    }
    if (FSetup) {
        FSetup->SetHeaderMargin(Value.Header);
        FSetup->SetFooterMargin(Value.Footer);
    }
}

int32_t TSheet::SheetZoom() const { return FZoom ? FZoom->Zoom() : 100; }

void TSheet::SetSheetZoom(int32_t Value)
{
    if (!FZoom)
        AddZoomRecord();
    if (FZoom)
        FZoom->SetZoom(Value);
}

void TSheet::FreezePanes(int32_t row, int32_t col)
{
    const bool Frozen = row > 0 || col > 0;
    if (FWindow2) {
        FWindow2->SetIsFrozen(Frozen);
        FWindow2->SetIsFrozenButNoSplit(Frozen);
    }
    EnsurePane(Frozen);
    if (!FPane)
        return;
    FPane->SetRowSplit(row);
    FPane->SetFirstVisibleRow(std::max(FPane->FirstVisibleRow(), std::max(row, 1)));
    FPane->SetColSplit(col);
    FPane->SetFirstVisibleCol(std::max(FPane->FirstVisibleCol(), std::max(col, 1)));
    FPane->EnsureSelectedVisible();
}

void TSheet::SplitWindow(int32_t xOffset, int32_t yOffset)
{
    const bool Split = xOffset > 0 || yOffset > 0;
    if (FWindow2) {
        FWindow2->SetIsFrozen(false);
        FWindow2->SetIsFrozenButNoSplit(false);
    }
    EnsurePane(Split);
    if (!FPane)
        return;
    FPane->SetRowSplit(yOffset);
    FPane->SetColSplit(xOffset);
    if (FPane->FirstVisibleRow() == 0)
        FPane->SetFirstVisibleRow(1);
    if (FPane->FirstVisibleCol() == 0)
        FPane->SetFirstVisibleCol(1);
    FPane->EnsureSelectedVisible();
}

void TSheet::GetFrozenPanes(int32_t &row, int32_t &col) const
{
    row = 0;
    col = 0;
    if (FPane && (!FWindow2 || FWindow2->IsFrozen())) {
        row = FPane->RowSplit();
        col = FPane->ColSplit();
    }
}

void TSheet::GetSplitWindow(int32_t &xOffset, int32_t &yOffset) const
{
    xOffset = 0;
    yOffset = 0;
    if (FPane && FWindow2 && !FWindow2->IsFrozen()) {
        xOffset = FPane->ColSplit();
        yOffset = FPane->RowSplit();
    }
}

// ---------------------------------------------------------------------------------------------
// TWorkSheet: rows and columns

TColInfo *TWorkSheet::EnsureColInfo(int32_t aCol, int32_t XF, uint16_t Options)
{
    int32_t Index = 0;
    if (!FColumns->Find(aCol, Index))
        FColumns->Insert(Index, new TColInfo(uint16_t(aCol), uint16_t(FDefColWidth), uint16_t(XF), Options));
    return FColumns->Items(Index);
}

void TWorkSheet::SetColWidth(int32_t aCol, int32_t Value)
{
    int32_t Index = 0;
    if (FColumns->Find(aCol, Index))
        FColumns->Items(Index)->Width = uint16_t(Value);
    else
        FColumns->Insert(Index, new TColInfo(uint16_t(aCol), uint16_t(Value), 15, 0));
}

void TWorkSheet::SetRowHeight(int32_t aRow, int32_t Value) { FCells->RowList()->SetRowHeight(aRow, uint16_t(Value)); }

bool TWorkSheet::GetColHidden(int32_t aCol) const
{
    int32_t Index = 0;
    return FColumns->Find(aCol, Index) && (FColumns->Items(Index)->Options & 1);
}

bool TWorkSheet::GetRowHidden(int32_t aRow) const
{
    const TRowRecordList *Rows = FCells->RowList();
    return Rows->HasRow(aRow) && Rows->Items(aRow)->IsHidden();
}

void TWorkSheet::SetColHidden(int32_t aCol, bool Value)
{
    int32_t Index = 0;
    if (FColumns->Find(aCol, Index)) {
        TColInfo *c = FColumns->Items(Index);
        if (Value) {
            c->Options |= 1;
        } else {
            c->Options &= ~1;
            // A column hidden by width 0 would stay invisible.
            if (c->Width == 0)
                c->Width = uint16_t(FDefColWidth);
        }
    } else if (Value) {
        EnsureColInfo(aCol, 15, 1);
    }
}

void TWorkSheet::SetRowHidden(int32_t aRow, bool Value)
{
    TRowRecordList *Rows = FCells->RowList();
    Rows->AddRow(uint16_t(aRow));
    Rows->Items(aRow)->Hide(Value);
}

int32_t TWorkSheet::GetColFormat(int32_t aCol) const
{
    int32_t Index = 0;
    return FColumns->Find(aCol, Index) ? FColumns->Items(Index)->XF : -1;
}

int32_t TWorkSheet::GetRowFormat(int32_t aRow) const
{
    const TRowRecordList *Rows = FCells->RowList();
    if (!Rows->HasRow(aRow) || !Rows->Items(aRow)->IsFormatted())
        return -1;
    return Rows->Items(aRow)->XF();
}

void TWorkSheet::SetColFormat(int32_t aCol, int32_t Value)
{
    EnsureColInfo(aCol, Value, 0)->XF = uint16_t(Value);
    TCellList *Cells = FCells->CellList();
    for (int r = 0; r < Cells->Count(); ++r) {
        int32_t Index = 0;
        if (Cells->Items(r)->Find(aCol, Index))
            Cells->Items(r)->Items(Index)->SetXF(Value);
    }
}

void TWorkSheet::SetRowFormat(int32_t aRow, int32_t Value)
{
    TRowRecordList *Rows = FCells->RowList();
    Rows->AddRow(uint16_t(aRow));
    Rows->Items(aRow)->SetXF(Value);
    TCellList *Cells = FCells->CellList();
    if (aRow < 0 || aRow >= Cells->Count())
        return;
    TCellRecordList *Row = Cells->Items(aRow);
    for (int i = 0; i < Row->Count(); ++i)
        Row->Items(i)->SetXF(Value);
}

int32_t TWorkSheet::GetColOutlineLevel(int32_t col) const
{
    int32_t Index = 0;
    return FColumns->Find(col, Index) ? FColumns->Items(Index)->GetColOutlineLevel() : 0;
}

int32_t TWorkSheet::GetRowOutlineLevel(int32_t row) const
{
    const TRowRecordList *Rows = FCells->RowList();
    return Rows->HasRow(row) ? Rows->Items(row)->Options() & 7 : 0;
}

void TWorkSheet::AddGuts()
{
    if (FGuts)
        return;
    FGuts = InsertRecord(FMiscRecords1, FirstOf(FMiscRecords1, {xlr_DEFAULTROWHEIGHT}),
                         new TGutsRecord(xlr_GUTS, new uint8_t[8](), 8));
}

void TWorkSheet::SetColOulineLevel(int32_t col, int32_t Value)
{
    AddGuts();
    FGuts->RecalcNeeded = true;
    EnsureColInfo(col, 15, 0)->SetColOutlineLevel(Value);
}

void TWorkSheet::SetRowOulineLevel(int32_t row, int32_t Value)
{
    AddGuts();
    FGuts->RecalcNeeded = true;
    TRowRecordList *Rows = FCells->RowList();
    Rows->AddRow(uint16_t(row));
    Rows->Items(row)->SetRowOutlineLevel(Value);
}

// ---------------------------------------------------------------------------------------------
// Merged cells

TXlsCellRange TWorkSheet::CellMergedBounds(int32_t aRow, int32_t aCol) const
{
    TXlsCellRange Bounds{aCol, aRow, aCol, aRow};
    for (int i = 0; i < FRanges->Count(); ++i)
        if (auto *m = dynamic_cast<const TMergedCells *>(FRanges->Items(i)))
            if (m->CheckCell(aRow, aCol, Bounds))
                break;
    return Bounds;
}

int32_t TWorkSheet::CellMergedListCount() const
{
    int32_t n = 0;
    for (int i = 0; i < FRanges->Count(); ++i)
        if (auto *m = dynamic_cast<const TMergedCells *>(FRanges->Items(i)))
            n += m->MergedCount();
    return n;
}

TXlsCellRange TWorkSheet::CellMergedList(int32_t index) const
{
    if (index >= 0) {
        for (int i = 0; i < FRanges->Count(); ++i) {
            auto *m = dynamic_cast<const TMergedCells *>(FRanges->Items(i));
            if (!m)
                continue;
            if (index < m->MergedCount())
                return m->MergedCell(index);
            index -= m->MergedCount();
        }
    }
    return TXlsCellRange{0, 0, 0, 0};
}

void TWorkSheet::MergeCells(int32_t aRow1, int32_t aCol1, int32_t aRow2, int32_t aCol2)
{
    int32_t R1 = std::min(aRow1, aRow2), R2 = std::max(aRow1, aRow2);
    int32_t C1 = std::min(aCol1, aCol2), C2 = std::max(aCol1, aCol2);
    // Swallowing one range can widen the rectangle onto another.
    for (bool Changed = true; Changed;) {
        const int32_t r1 = R1, c1 = C1, r2 = R2, c2 = C2;
        for (int i = 0; i < FRanges->Count(); ++i)
            if (auto *m = dynamic_cast<TMergedCells *>(FRanges->Items(i)))
                m->PreMerge(R1, C1, R2, C2);
        Changed = r1 != R1 || c1 != C1 || r2 != R2 || c2 != C2;
    }
    TMergedCells *Last = nullptr;
    for (int i = FRanges->Count() - 1; i >= 0 && !Last; --i)
        Last = dynamic_cast<TMergedCells *>(FRanges->Items(i));
    if (!Last) {
        Last = new TMergedCells();
        FRanges->Add(Last);
    }
    Last->MergeCells(R1, C1, R2, C2);
}

void TWorkSheet::UnMergeCells(int32_t aRow1, int32_t aCol1, int32_t aRow2, int32_t aCol2)
{
    for (int i = 0; i < FRanges->Count(); ++i)
        if (auto *m = dynamic_cast<TMergedCells *>(FRanges->Items(i)))
            m->UnMergeCells(std::min(aRow1, aRow2), std::min(aCol1, aCol2), std::max(aRow1, aRow2),
                            std::max(aCol1, aCol2));
}

// ---------------------------------------------------------------------------------------------
// Auto filter

void TWorkSheet::SetAutoFilter(int32_t SheetIndex, int32_t Row, int32_t Col1, int32_t Col2)
{
    if (Col2 < Col1) {
        RemoveAutoFilter();
        return;
    }
    if (!FAutoFilterInfo)
        FAutoFilterInfo = InsertRecord(FMiscRecords1, FirstOf(FMiscRecords1, {xlr_DEFCOLWIDTH, xlr_DIMENSIONS}),
                                       new TAutoFilterInfoRecord(xlr_AUTOFILTERINFO, new uint8_t[2](), 2));
    FAutoFilterInfo->SetDropDownCount(std::abs(Col2 - Col1 + 1));

    FDrawing->RemoveAutoFilter();
    FDrawing->AddAutoFilter(Row, Col1, this, Col2);

    if (!FWorkbookGlobals)
        return;
    TXlsNamedRange Range;
    Range.Name = FilterDatabaseName;
    Range.NameSheetIndex = SheetIndex;
    Range.OptionFlags = FilterNameFlags;
    const QString RowText = QString::number(Row + 1);
    Range.RangeFormula = QStringLiteral("=$") + ColumnLetters(Col1 + 1) + QLatin1Char('$') + RowText
                         + QStringLiteral(":$") + ColumnLetters(Col2 + 1) + QLatin1Char('$') + RowText;
    FWorkbookGlobals->AddName(Range, FCells->CellList());
}

void TWorkSheet::RemoveAutoFilter()
{
    DeleteAll(FMiscRecords1, {xlr_AUTOFILTER, xlr_AUTOFILTERINFO, xlr_FILTERMODE});
    FAutoFilterInfo = nullptr;
    FDrawing->RemoveAutoFilter();
}

TXlsCellRange TWorkSheet::GetAutoFilterRange(int32_t Sheet) const
{
    if (FAutoFilterInfo && FWorkbookGlobals)
        if (const TNameRecord *n = FWorkbookGlobals->GetName(Sheet, FilterDatabaseName))
            return TXlsCellRange{n->GetC1(), n->GetR1(), n->GetC2(), n->GetR2()};
    return TXlsCellRange{-1, -1, -1, -1};
}

bool TWorkSheet::HasAutoFilter(int32_t sheet, int32_t row, int32_t col) const
{
    if (!FAutoFilterInfo)
        return false;
    const TXlsCellRange r = GetAutoFilterRange(sheet);
    return row >= r.Top && row <= r.Bottom && col >= r.Left && col <= r.Right;
}

// ---------------------------------------------------------------------------------------------
// Printing

int32_t TWorkSheet::PrintNumberOfHorizontalPages() const { return FSetup ? FSetup->FitWidth() : 1; }

void TWorkSheet::SetPrintNumberOfHorizontalPages(int32_t Value)
{
    if (FSetup)
        FSetup->SetFitWidth(Value);
}

int32_t TWorkSheet::PrintNumberOfVerticalPages() const { return FSetup ? FSetup->FitHeight() : 1; }

void TWorkSheet::SetPrintNumberOfVerticalPages(int32_t Value)
{
    if (FSetup)
        FSetup->SetFitHeight(Value);
}

int32_t TWorkSheet::PrintScale() const { return FSetup ? FSetup->Scale() : 100; }

void TWorkSheet::SetPrintScale(int32_t Value)
{
    CheckPrintValue(Value, "PrintScale");
    if (FSetup)
        FSetup->SetScale(Value);
}

int32_t TWorkSheet::PrintPaperSize() const { return FSetup ? FSetup->PrintPaperSize() : 1; }

void TWorkSheet::SetPrintPaperSize(int32_t Value)
{
    CheckPrintValue(Value, "PrintPaperSize");
    if (FSetup)
        FSetup->SetPrintPaperSize(Value);
}

int32_t TWorkSheet::PrintCopies() const { return FSetup ? FSetup->PrintCopies() : 1; }

void TWorkSheet::SetPrintCopies(int32_t Value)
{
    CheckPrintValue(Value, "PrintCopies");
    if (FSetup)
        FSetup->SetPrintCopies(Value);
}

int32_t TWorkSheet::PrintXResolution() const { return FSetup ? FSetup->PrintXResolution() : 600; }

void TWorkSheet::SetPrintXResolution(int32_t Value)
{
    CheckPrintValue(Value, "PrintXResolution");
    if (FSetup)
        FSetup->SetPrintXResolution(Value);
}

int32_t TWorkSheet::PrintYResolution() const { return FSetup ? FSetup->PrintYResolution() : 600; }

void TWorkSheet::SetPrintYResolution(int32_t Value)
{
    CheckPrintValue(Value, "PrintYResolution");
    if (FSetup)
        FSetup->SetPrintYResolution(Value);
}

int32_t TWorkSheet::PrintOptions() const { return FSetup ? FSetup->PrintOptions() : 0; }

void TWorkSheet::SetPrintOptions(int32_t Value)
{
    if (FSetup)
        FSetup->SetPrintOptions(Value);
}

bool TWorkSheet::PrintToFit() const { return FWSBool && FWSBool->FitToPage(); }

void TWorkSheet::SetPrintToFit(bool Value)
{
    if (FWSBool)
        FWSBool->SetFitToPage(Value);
}

bool TWorkSheet::OutlineSummaryRowsBelowDetail() const { return !FWSBool || FWSBool->OutlineSummaryRowsBelowDetail(); }

void TWorkSheet::SetOutlineSummaryRowsBelowDetail(bool Value)
{
    if (FWSBool)
        FWSBool->SetOutlineSummaryRowsBelowDetail(Value);
}

bool TWorkSheet::OutlineSummaryColsRightOfDetail() const
{
    return !FWSBool || FWSBool->OutlineSummaryColsRightOfDetail();
}

void TWorkSheet::SetOutlineSummaryColsRightOfDetail(bool Value)
{
    if (FWSBool)
        FWSBool->SetOutlineSummaryColsRightOfDetail(Value);
}

bool TWorkSheet::OutlineAutomaticStyles() const { return FWSBool && FWSBool->OutlineAutomaticStyles(); }

void TWorkSheet::SetOutlineAutomaticStyles(bool Value)
{
    if (FWSBool)
        FWSBool->SetOutlineAutomaticStyles(Value);
}

bool TWorkSheet::PrintHCentered() const { return FHCenter && FHCenter->Centered(); }

void TWorkSheet::SetPrintHCentered(bool Value)
{
    if (FHCenter)
        FHCenter->SetCentered(Value);
}

bool TWorkSheet::PrintVCentered() const { return FVCenter && FVCenter->Centered(); }

void TWorkSheet::SetPrintVCentered(bool Value)
{
    if (FVCenter)
        FVCenter->SetCentered(Value);
}

TPrinterDriverSettings TWorkSheet::PrinterDriverSettings() const
{
    return FPrinterDriverSettings ? FPrinterDriverSettings->PrinterData() : TPrinterDriverSettings{};
}

void TWorkSheet::SetPrinterDriverSettings(const TPrinterDriverSettings &Value)
{
    DeleteAll(FMiscRecords1, {xlr_PLS});
    FPrinterDriverSettings = nullptr;
    if (!Value.Data.empty())
        FPrinterDriverSettings =
            InsertRecord(FMiscRecords1, FirstOf(FMiscRecords1, {xlr_SETUP}), TPlsRecord::CreateFromData(Value));
    SetPrintOptions(PrintOptions() & ~4);
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TWorkSheet::AddImage(const QByteArray &Data, TXlsImgTypes DataType, const TImageProperties &Properties,
                          TWbAnchorType Anchor)
{
    FDrawing->AddImage(Data, DataType, this, Anchor, Properties);
}

void TWorkSheet::ClearImage(int32_t Index) { FDrawing->ClearImage(Index); }
void TWorkSheet::DeleteImage(int32_t Index) { FDrawing->DeleteImage(Index); }

void TWorkSheet::AssignDrawing(int32_t Index, const QByteArray &Data, TXlsImgTypes DataType)
{
    FDrawing->AssignDrawing(Index, Data, DataType);
}

void TWorkSheet::GetDrawingFromStream(int32_t Index, TStream *Data, TXlsImgTypes &DataType)
{
    FDrawing->GetDrawingFromStream(Index, Data, DataType);
}

int32_t TWorkSheet::DrawingCount() const { return FDrawing->DrawingCount(); }
int32_t TWorkSheet::GetDrawingRow(int32_t index) { return FDrawing->GetDrawingRow(index); }
QString TWorkSheet::GetDrawingName(int32_t index) { return FDrawing->GetDrawingName(index); }
TClientAnchor TWorkSheet::GetAnchor(int32_t Index) { return FDrawing->GetAnchor(Index); }
void TWorkSheet::SetAnchor(int32_t Index, const TClientAnchor &aAnchor) { FDrawing->SetAnchor(Index, aAnchor, this); }

void TWorkSheet::AddNewComment(int32_t Row, int32_t Col, const QString &Txt, const TImageProperties &Properties)
{
    FNotes->AddNewComment(Row, Col, Txt, FDrawing, Properties, this);
}

void TWorkSheet::RecalcRowHeights(TExcelFile *Workbook, int32_t Row1, int32_t Row2, bool Forced, bool KeepAutoFit,
                                  double Adjustment)
{
    FCells->CellList()->RecalcRowHeights(Workbook, Row1, Row2, Forced, KeepAutoFit, Adjustment);
}

void TWorkSheet::RecalcColWidths(TExcelFile *Workbook, int32_t Col1, int32_t Col2, bool IgnoreStrings,
                                 double Adjustment)
{
    FCells->CellList()->RecalcColWidths(Workbook, Col1, Col2, IgnoreStrings, Adjustment);
}
