#pragma once
// Sheet sections: the common sheet with its cache of view and page-setup records, and the
// worksheet, whose records are sorted into cells, columns, notes, drawing, ranges, hyperlinks,
// page breaks and the records kept as read.
#include "xlsAdapter/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/duzUXlsSections.h"
#include "xlsAdapter/duzUXlsSheetSizes.h"

#include <QString>
#include <cstdint>

class TWorkbookGlobals;
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

    // Workbook load and save.
public:
    // The sheet's WINDOW2, nil when it has none.
    TWindow2Record *Window2Record() const { return FWindow2; }
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
};
