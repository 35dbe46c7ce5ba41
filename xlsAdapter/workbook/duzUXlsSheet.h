#pragma once
// Sheet sections: the common sheet with its cache of view and page-setup records, and the
// worksheet, whose records are sorted into cells, columns, notes, drawing, ranges, hyperlinks,
// page breaks and the records kept as read.
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/workbook/duzUXlsSections.h"
#include "xlsAdapter/records/duzUXlsSheetSizes.h"
#include "xlsAdapter/records/duzUXlsTypes.h"

#include <QString>
#include <cstdint>

class TWorkbookGlobals;
class TExcelFile;
class TWindow2Record;
class TSCLRecord;
class TPaneRecord;
class TGutsRecord;
class TPageHeaderFooterRecord;
class TPrintGridLinesRecord;
class TMarginRecord;
class TSetupRecord;
class TPlsRecord;
class TWsBoolRecord;
class TPrintCenteredRecord;
class TAutoFilterInfoRecord;
class TRefModeRecord;
class TCodeNameRecord;
class THPageBreakList;
class TVPageBreakList;
class TDrawing;
class TCells;
class TRangeList;
class TNoteList;
class TColInfoList;
class TColInfo;
class THLinkList;

// The records of a sheet kept as read (a sheet of a kind the engine does not load).
class TSheetRecordList : public TBaseRecordList
{
};

class TSheet : public TBaseSection
{
public:
    explicit TSheet(TWorkbookGlobals *aWorkbookGlobals);
    ~TSheet() override;

    // The cached references go; they point into lists the sheet is about to empty.
    void Clear() override;
    int64_t TotalSize() override;
    int64_t TotalRangeSize(int32_t SheetIndex, const TXlsCellRange &CellRange) override;
    // What SaveToStream writes; NeedsRecalc lets formulas drop their stored results first.
    virtual int64_t FixTotalSize(bool NeedsRecalc);

    // Re-derives the cached references from the sheet's lists.
    virtual void FixCachePointers() {}
    // Sets the text of Record (nothing for nil) and keeps its list's size right.
    virtual void SetPageHeaderFooter(TPageHeaderFooterRecord *Record, const QString &Text) = 0;
    virtual void AddZoomRecord() = 0;
    virtual void EnsurePane(bool) {}
    virtual void DeleteHPageBreak(uint16_t) {}
    virtual void DeleteVPageBreak(uint16_t) {}
    virtual void InsertHPageBreak(uint16_t) {}
    virtual void InsertVPageBreak(uint16_t) {}
    virtual void RestoreObjectCoords() {}
    virtual void FixRows() {}

    QString CodeName() const;
    void SetCodeName(const QString &Value);

    TWorkbookGlobals *WorkbookGlobals() const { return FWorkbookGlobals; }

    TDimensionsRec OriginalDimensions;

protected:
    // A later record of the same id replaces the reference.
    void CacheRecord(TBaseRecord *R);
    // Every record of List, in order.
    void CacheRecords(const TBaseRecordList *List);
    void ClearCache();

    TWorkbookGlobals *FWorkbookGlobals;
    TWindow2Record *FWindow2 = nullptr;
    TPageHeaderFooterRecord *FPageHeader = nullptr;
    TPageHeaderFooterRecord *FPageFooter = nullptr;
    TPrintGridLinesRecord *FPrintGridLines = nullptr;
    TMarginRecord *FLeftMargin = nullptr;
    TMarginRecord *FRightMargin = nullptr;
    TMarginRecord *FTopMargin = nullptr;
    TMarginRecord *FBottomMargin = nullptr;
    TSetupRecord *FSetup = nullptr;
    TPlsRecord *FPrinterDriverSettings = nullptr;
    TWsBoolRecord *FWSBool = nullptr;
    TPrintCenteredRecord *FHCenter = nullptr;
    TPrintCenteredRecord *FVCenter = nullptr;
    TSCLRecord *FZoom = nullptr;
    TGutsRecord *FGuts = nullptr;
    TPaneRecord *FPane = nullptr;
    TAutoFilterInfoRecord *FAutoFilterInfo = nullptr;
    TRefModeRecord *FRefMode = nullptr;
    // The list the page-setup records live in; not owned.
    TBaseRecordList *FPrintRecords = nullptr;
    TCodeNameRecord *FCodeName = nullptr;

    // View and page setup. A read without its record gives the default; a write without its
    // record is dropped, except for margins, zoom and panes, whose records are made.
public:
    bool Selected() const;
    void SetSelected(bool Value);
    bool ShowGridLines() const;
    void SetShowGridLines(bool Value);
    bool ShowGridHeaders() const;
    void SetShowGridHeaders(bool Value);
    bool PrintGridLines() const;
    void SetPrintGridLines(bool Value);
    bool IsR1C1() const;
    void SetIsR1C1(bool Value);
    QString PageHeader() const;
    void SetPageHeader(const QString &Value) { SetPageHeaderFooter(FPageHeader, Value); }
    QString PageFooter() const;
    void SetPageFooter(const QString &Value) { SetPageHeaderFooter(FPageFooter, Value); }
    // In inches; header and footer margins live in SETUP and are dropped without it.
    TXlsMargins Margins() const;
    void SetMargins(const TXlsMargins &Value);
    int32_t SheetZoom() const;
    void SetSheetZoom(int32_t Value);
    // Rows and columns above and left of (row, col) stay in place; (0, 0) unfreezes.
    void FreezePanes(int32_t row, int32_t col);
    // Split positions in twips; (0, 0) removes the split.
    void SplitWindow(int32_t xOffset, int32_t yOffset);
    void GetFrozenPanes(int32_t &row, int32_t &col) const;
    void GetSplitWindow(int32_t &xOffset, int32_t &yOffset) const;

protected:
    // A new margin record of id aId after the last margin, VCENTER or DEFAULTROWHEIGHT record of
    // the print records (at their end when there is none), cached in Field.
    void AddMargin(TMarginRecord *&Field, uint16_t aId, double Value);
};

class TWorkSheet : public TSheet, public TSheetSizes
{
public:
    explicit TWorkSheet(TWorkbookGlobals *aWorkbookGlobals);
    // An empty sheet, as the built-in empty workbook has it.
    static TWorkSheet *CreateFromData(TWorkbookGlobals *aWorkbookGlobals, TSST *SST);
    ~TWorkSheet() override;

    void Clear() override;
    // Everything goes: the sheet becomes the empty sheet of the built-in workbook.
    void ClearValues();

    // Takes First in every case.
    void LoadFromStream(TOle2File *DataStream, TRecordHeader &RecordHeader, TBOFRecord *First, TSST *SST) override;
    void SaveToStream(TOle2File *DataStream) override;
    void SaveRangeToStream(TOle2File *DataStream, int32_t SheetIndex, const TXlsCellRange &CellRange) override;
    int64_t TotalSize() override;
    int64_t FixTotalSize(bool NeedsRecalc) override;
    int64_t TotalRangeSize(int32_t SheetIndex, const TXlsCellRange &CellRange) override;

    void FixCachePointers() override;
    void SetPageHeaderFooter(TPageHeaderFooterRecord *Record, const QString &Text) override;
    // An SCL of 100 right after WINDOW2; nothing on a sheet without one.
    void AddZoomRecord() override;
    void EnsurePane(bool Needed) override;

    void DeleteHPageBreak(uint16_t aRow) override;
    void DeleteVPageBreak(uint16_t aCol) override;
    void InsertHPageBreak(uint16_t aRow) override;
    void InsertVPageBreak(uint16_t aCol) override;
    bool HasHPageBreak(int32_t Row);
    bool HasVPageBreak(int32_t Col);

    void FixRows() override;
    void RestoreObjectCoords() override;

    // Sizes the drawing's anchors are measured in: 1/256 of a character, twips.
    int32_t GetColWidth(int32_t aCol, bool HiddenIsZero) const override;
    int32_t GetRowHeight(int32_t aRow, bool HiddenIsZero) const override;

    TCells *Cells() const { return FCells; }
    TNoteList *Notes() const { return FNotes; }
    THLinkList *HLinks() const { return FHLinks; }
    TDrawing *Drawing() const { return FDrawing; }
    TRangeList *Ranges() const { return FRanges; }
    TColInfoList *Columns() const { return FColumns; }
    int32_t DefRowHeight() const { return FDefRowHeight; }
    int32_t DefColWidth() const { return FDefColWidth; }

protected:
    // Loads the first sheet of the built-in empty workbook.
    void DoCreateFromData(TSST *SST);

    TBaseRecordList *FMiscRecords1;
    TBaseRecordList *FMiscRecords2;
    THPageBreakList *FHPageBreaks;
    TVPageBreakList *FVPageBreaks;
    TDrawing *FDrawing;
    TCells *FCells;
    TRangeList *FRanges;
    TNoteList *FNotes;
    TColInfoList *FColumns;
    THLinkList *FHLinks;
    int32_t FDefRowHeight = 255;
    int32_t FDefColWidth = 10 * 293;

private:
    // The kept-record list that holds R, or nil.
    TBaseRecordList *ListOf(const TBaseRecord *R) const;

    // Rows, columns, merged cells, auto filter, printing and the drawing.
public:
    int32_t GetColWidth(int32_t aCol) const { return GetColWidth(aCol, false); }
    int32_t GetRowHeight(int32_t aRow) const { return GetRowHeight(aRow, false); }
    void SetColWidth(int32_t aCol, int32_t Value);
    void SetRowHeight(int32_t aRow, int32_t Value);
    bool GetColHidden(int32_t aCol) const;
    bool GetRowHidden(int32_t aRow) const;
    void SetColHidden(int32_t aCol, bool Value);
    void SetRowHidden(int32_t aRow, bool Value);
    // -1 for a column or row without a format of its own.
    int32_t GetColFormat(int32_t aCol) const;
    int32_t GetRowFormat(int32_t aRow) const;
    // The cells already in the column (row) take the format too; no cells are made.
    void SetColFormat(int32_t aCol, int32_t Value);
    void SetRowFormat(int32_t aRow, int32_t Value);
    int32_t GetColOutlineLevel(int32_t col) const;
    int32_t GetRowOutlineLevel(int32_t row) const;
    void SetColOulineLevel(int32_t col, int32_t Value);
    void SetRowOulineLevel(int32_t row, int32_t Value);

    // The merged range holding the cell, or the cell alone.
    TXlsCellRange CellMergedBounds(int32_t aRow, int32_t aCol) const;
    int32_t CellMergedListCount() const;
    // All four bounds 0 for an index out of range.
    TXlsCellRange CellMergedList(int32_t index) const;
    // Merged ranges the rectangle touches are swallowed by it.
    void MergeCells(int32_t aRow1, int32_t aCol1, int32_t aRow2, int32_t aCol2);
    void UnMergeCells(int32_t aRow1, int32_t aCol1, int32_t aRow2, int32_t aCol2);

    // Drop-downs on Col1..Col2 of Row and the hidden filter name of sheet SheetIndex; Col2 < Col1
    // removes the filter.
    void SetAutoFilter(int32_t SheetIndex, int32_t Row, int32_t Col1, int32_t Col2);
    // The filter name stays.
    void RemoveAutoFilter();
    bool HasAutoFilter() const { return FAutoFilterInfo != nullptr; }
    bool HasAutoFilter(int32_t sheet, int32_t row, int32_t col) const;
    // All four -1 without a filter.
    TXlsCellRange GetAutoFilterRange(int32_t Sheet) const;

    int32_t PrintNumberOfHorizontalPages() const;
    void SetPrintNumberOfHorizontalPages(int32_t Value);
    int32_t PrintNumberOfVerticalPages() const;
    void SetPrintNumberOfVerticalPages(int32_t Value);
    // The writes of these refuse values outside 0..65535.
    int32_t PrintScale() const;
    void SetPrintScale(int32_t Value);
    int32_t PrintPaperSize() const;
    void SetPrintPaperSize(int32_t Value);
    int32_t PrintCopies() const;
    void SetPrintCopies(int32_t Value);
    int32_t PrintXResolution() const;
    void SetPrintXResolution(int32_t Value);
    int32_t PrintYResolution() const;
    void SetPrintYResolution(int32_t Value);
    int32_t PrintOptions() const;
    void SetPrintOptions(int32_t Value);
    bool PrintToFit() const;
    void SetPrintToFit(bool Value);
    bool OutlineSummaryRowsBelowDetail() const;
    void SetOutlineSummaryRowsBelowDetail(bool Value);
    bool OutlineSummaryColsRightOfDetail() const;
    void SetOutlineSummaryColsRightOfDetail(bool Value);
    bool OutlineAutomaticStyles() const;
    void SetOutlineAutomaticStyles(bool Value);
    bool PrintHCentered() const;
    void SetPrintHCentered(bool Value);
    bool PrintVCentered() const;
    void SetPrintVCentered(bool Value);
    TPrinterDriverSettings PrinterDriverSettings() const;
    // No data bytes remove the settings.
    void SetPrinterDriverSettings(const TPrinterDriverSettings &Value);

    void AddImage(const QByteArray &Data, TXlsImgTypes DataType, const TImageProperties &Properties,
                  TWbAnchorType Anchor);
    void ClearImage(int32_t Index);
    void DeleteImage(int32_t Index);
    void AssignDrawing(int32_t Index, const QByteArray &Data, TXlsImgTypes DataType);
    void GetDrawingFromStream(int32_t Index, TStream *Data, TXlsImgTypes &DataType);
    int32_t DrawingCount() const;
    int32_t GetDrawingRow(int32_t index);
    QString GetDrawingName(int32_t index);
    TClientAnchor GetAnchor(int32_t Index);
    void SetAnchor(int32_t Index, const TClientAnchor &aAnchor);
    void AddNewComment(int32_t Row, int32_t Col, const QString &Txt, const TImageProperties &Properties);

    // Autofit of the cells' rows and columns (0-based), Workbook giving the cells' formats.
    void RecalcRowHeights(TExcelFile *Workbook, int32_t Row1, int32_t Row2, bool Forced, bool KeepAutoFit,
                          double Adjustment);
    void RecalcColWidths(TExcelFile *Workbook, int32_t Col1, int32_t Col2, bool IgnoreStrings, double Adjustment);

protected:
    // A GUTS record before DEFAULTROWHEIGHT, when the sheet has none.
    void AddGuts();

private:
    // A COLINFO of aCol, made (default width, XF, Options) when the column has none.
    TColInfo *EnsureColInfo(int32_t aCol, int32_t XF, uint16_t Options);
};
