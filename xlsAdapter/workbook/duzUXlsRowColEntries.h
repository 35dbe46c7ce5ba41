#pragma once
// Sheet-wide lists of row- and column-addressed entries: the cell store (ROW records and one
// list of cells per row) and the sheet's range owners (merged cells, conditional formats).
#include "framework/rtl/Variants.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/formulas/duzUXlsFormulaParser.h"
#include "xlsAdapter/records/duzUXlsRangeRecords.h"
#include "xlsAdapter/records/duzUXlsTypes.h"

class TColInfoList;
class TExcelFile;
class TMultipleValueRecord;
class TShrFmlaRecordList;
class TWorkbookGlobals;

// Item i holds the records of row i, in column order; the list reaches only the last row used.
class TBaseRowColList : public TBaseList
{
public:
    TBaseRowColRecordList *Items(int Index) const
    {
        return static_cast<TBaseRowColRecordList *>(TBaseList::Items(Index));
    }

    void AddRecord(TBaseRowColRecord *aRecord, int32_t aRow);
    void DeleteRows(uint16_t aRow, uint16_t aCount, const TSheetInfo &SheetInfo);
    void DeleteCols(uint16_t aCol, uint16_t aCount, const TSheetInfo &SheetInfo);
    virtual void InsertAndCopyRows(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                                   const TSheetInfo &SheetInfo, bool OnlyFormulas);
    virtual void InsertAndCopyCols(int32_t FirstCol, int32_t LastCol, int32_t DestCol, int32_t aCount,
                                   const TSheetInfo &SheetInfo, bool OnlyFormulas);
    virtual void ArrangeInsertRowsAndCols(int32_t InsRowPos, int32_t InsRowCount, int32_t InsColPos,
                                          int32_t InsColCount, const TSheetInfo &SheetInfo);
    void CopyFrom(const TBaseRowColList *aList);
    void SaveToStream(TOle2File *DataStream);
    void SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange);
    int64_t TotalSize();
    int64_t TotalRangeSize(const TXlsCellRange &CellRange);

protected:
    // A new, empty list of the row lists' class.
    virtual TBaseRowColRecordList *NewRowList() const = 0;
    // A new row list holding copies of row Source's records (only its formulas, with OnlyFormulas).
    TBaseRowColRecordList *CopyOfRow(int32_t Source, bool OnlyFormulas) const;
};

// Formulas reach the workbook's names, sheets and references through the cell list.
class TCellList : public TBaseRowColList, public IFormulaCellList
{
public:
    TCellList(TWorkbookGlobals *aGlobals, TRowRecordList *aRowRecordList, TColInfoList *aColInfoList);

    TCellRecordList *Items(int Index) const { return static_cast<TCellRecordList *>(TBaseRowColList::Items(Index)); }

    // "Invalid Row (%d)" or "Invalid Column (%d)" outside the sheet.
    void GetValueX2(int32_t Row, int32_t Col, TXlsCellValue &V, TRTFRunList *RTFRuns);
    TXlsCellValue GetValue(int32_t Row, int32_t Col);
    void SetValueX2(int32_t Row, int32_t Col, const TXlsCellValue &Value, const TRTFRunList *RTFRuns,
                    bool Options1904);
    void SetFormat(int32_t Row, int32_t Col, int32_t XF);

    // The formula's text ("=..."), "" where there is no formula.
    QString GetFormula(int32_t Row, int32_t Col);
    void SetFormula(int32_t Row, int32_t Col, const QString &Value);
    // A formula text with Value as its cached result; an empty text deletes the cell. A text that
    // does not encode raises the encoder's message and changes nothing.
    void AssignFormulaX(int32_t Row, int32_t Col, const QString &Formula, const Variant &Value, bool Options1904);

    // The data of the ARRAY or TABLE record of the formula at (Row, Col), for the formula decoder.
    ByteArray ArrayFormula(int32_t Row, int32_t Col) override;
    ByteArray TableFormula(int32_t Row, int32_t Col) override;
    QString GetName(int32_t ExternSheet, int32_t NameId) override;
    QString GetSheetName(int32_t SheetNumber) override;
    bool FindSheet(const QString &SheetName, int32_t &SheetIndex) override;
    int32_t AddExternSheet(int32_t FirstSheet, int32_t LastSheet) override;
    // Formulas that stand for a shared formula take its tokens.
    void FixFormulas(TShrFmlaRecordList *ShrFmlas);
    // After a sheet copy, the formulas' references to the copied sheet point to the copy.
    void ArrangeInsertSheet(const TSheetInfo &SheetInfo);
    // Automatic-height rows (every row with Forced) of Row1 .. Row2 take the height of their
    // contents; without KeepAutofit they keep that height afterwards.
    void RecalcRowHeights(TExcelFile *Workbook, int32_t Row1, int32_t Row2, bool Forced, bool KeepAutofit,
                          double Adjustment);
    // The columns take the width of their contents through Workbook (1-based columns).
    void RecalcColWidths(TExcelFile *Workbook, int32_t Col1, int32_t Col2, bool IgnoreStrings, double Adjustment);

    void InsertAndCopyCols(int32_t FirstCol, int32_t LastCol, int32_t DestCol, int32_t aCount,
                           const TSheetInfo &SheetInfo, bool OnlyFormulas) override;
    void ArrangeInsertRowsAndCols(int32_t InsRowPos, int32_t InsRowCount, int32_t InsColPos, int32_t InsColCount,
                                  const TSheetInfo &SheetInfo) override;
    int64_t FixTotalSize(bool NeedsRecalc);

protected:
    TBaseRowColRecordList *NewRowList() const override { return new TCellRecordList(); }

private:
    // The row's format when the row has one, else the column's, else 15.
    int32_t DefaultXF(int32_t Row, int32_t Col);
    // The ARRAY (or TABLE) record's data of the formula at (Row, Col).
    ByteArray AttachedFormula(int32_t Row, int32_t Col, bool Table);
    // Deletes the cell at Index of Row (when HadCell) and puts NewRecord in its place.
    void ReplaceCell(int32_t Row, int32_t Col, bool HadCell, int32_t Index, TCellRecord *NewRecord);

    TWorkbookGlobals *FGlobals;
    TRowRecordList *FRowRecordList;
    TColInfoList *FColInfoList;
};

// The cells of a sheet: its ROW records and the cell list beside them.
class TCells : public TObject
{
public:
    TCells(TWorkbookGlobals *aGlobals, TColInfoList *aColInfoList);
    ~TCells() override;

    TCellList *CellList() const { return FCellList; }
    TRowRecordList *RowList() const { return FRowList; }

    // While a sheet loads.
    void AddCell(TCellRecord *aRecord, int32_t aRow);
    // Every cell of the record; the record stays the caller's.
    void AddMultipleCells(TMultipleValueRecord *aRecord);
    void AddRow(TRowRecord *aRecord);
    // Standard ROW records for the rows that have cells and none, and for the last row.
    void FixRows();

    void Clear();
    void CopyFrom(const TCells *aList);
    void DeleteRows(uint16_t aRow, uint16_t aCount, const TSheetInfo &SheetInfo);
    void DeleteCols(uint16_t aCol, uint16_t aCount, const TSheetInfo &SheetInfo);
    void InsertAndCopyRows(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                           const TSheetInfo &SheetInfo, bool OnlyFormulas);
    void InsertAndCopyCols(int32_t FirstCol, int32_t LastCol, int32_t DestCol, int32_t aCount,
                           const TSheetInfo &SheetInfo, bool OnlyFormulas);
    void ArrangeInsertRowsAndCols(int32_t InsRowPos, int32_t InsRowCount, int32_t InsColPos, int32_t InsColCount,
                                  const TSheetInfo &SheetInfo);
    void ArrangeInsertSheet(const TSheetInfo &SheetInfo) { FCellList->ArrangeInsertSheet(SheetInfo); }

    // DIMENSIONS, then blocks of 32 rows: their ROW records, then their cells.
    void SaveToStream(TOle2File *DataStream);
    void SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange);
    int64_t TotalSize();
    int64_t FixTotalSize(bool NeedsRecalc);
    int64_t TotalRangeSize(const TXlsCellRange &CellRange);

private:
    // The rows that have ROW records, all columns they span.
    TXlsCellRange UsedRange();
    // Writes the range (with a stream) or only measures it; the size is what is written.
    int64_t SaveOrMeasure(TOle2File *DataStream, const TXlsCellRange &CellRange, bool NeedsRecalc);
    // Every ROW record spans its row's cells again.
    void FixColumnSpans();

    TRowRecordList *FRowList;
    TCellList *FCellList;
};

class TRangeList : public TBaseList
{
public:
    int Add(TRangeEntry *aRecord) { return TBaseList::Add(aRecord); }
    TRangeEntry *Items(int Index) const { return static_cast<TRangeEntry *>(TBaseList::Items(Index)); }
    TRangeEntry *GetItems(int Index) const { return Items(Index); }

    // Appends a copy of every entry.
    void CopyFrom(const TRangeList *aRangeList);
    void DeleteRowsOrCols(int32_t aRow, int32_t aCount, const TSheetInfo &SheetInfo, bool UseCols);
    void InsertAndCopyRowsOrCols(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                                 const TSheetInfo &SheetInfo, bool UseCols);
    void SaveToStream(TOle2File *DataStream);
    void SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange);
    int64_t TotalSize();
    int64_t TotalRangeSize(const TXlsCellRange &CellRange);
};
