#pragma once
// One BIFF8 "Workbook" stream in memory: the globals section and the sheet sections in stream
// order, read and written as a whole, with the operations that touch more than one section.
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/workbook/duzUXlsSheet.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include <cstdint>

class TOle2File;

// Item i is the sheet that BOUNDSHEET i describes; the sheets are owned.
class TSheetList : public TBaseList
{
public:
    ~TSheetList() override { Clear(); }

    TSheet *GetItems(int Index) const { return static_cast<TSheet *>(TObjectList::Items(Index)); }
    TSheet *Items(int Index) const { return GetItems(Index); }
    void SetItems(int Index, TSheet *aSheet) { TObjectList::SetItems(Index, aSheet); }
    int Add(TSheet *aSheet) { return TObjectList::Add(aSheet); }
    void Insert(int Index, TSheet *aSheet) { TObjectList::Insert(Index, aSheet); }

    // Up to SheetCount sheets from SheetPos; a worksheet first lets go of its shared pictures.
    void DeleteSheets(int32_t SheetPos, int32_t SheetCount);
    void SaveToStream(TOle2File *DataStream);
};

class TWorkbook : public TObject
{
public:
    TWorkbook();
    TWorkbook(const TWorkbook &) = delete;
    TWorkbook &operator=(const TWorkbook &) = delete;
    ~TWorkbook() override;

    // Replaces the whole content with the stream's: the globals and every sheet they list, each
    // ending with its EOF. Anything less is refused and leaves the workbook empty.
    void LoadFromStream(TOle2File *DataStream);
    // NeedsRecalc: the file changed since it was opened, so formulas drop their stored results.
    void SaveToStream(TOle2File *DataStream, bool NeedsRecalc);
    // The globals and one sheet, restricted to CellRange.
    void SaveRangeToStream(TOle2File *DataStream, int32_t SheetIndex, const TXlsCellRange &CellRange,
                           bool NeedsRecalc);

    // SheetCount sheets before InsertBefore; CopyFrom < 0: empty worksheets.
    void InsertSheets(int32_t CopyFrom, int32_t InsertBefore, int32_t SheetCount);
    void DeleteSheets(int32_t SheetPos, int32_t SheetCount);

    void InsertHPageBreak(int32_t SheetNo, uint16_t aRow);
    void InsertVPageBreak(int32_t SheetNo, uint16_t aCol);
    bool IsWorksheet(int32_t Index) const;
    void RestoreObjectCoords(int32_t dSheet);

    int32_t ActiveSheet() const { return FGlobals->ActiveSheet(); }
    // Only that sheet's tab stays selected.
    void SetActiveSheet(int32_t Value);
    bool IsXltTemplate() const { return FGlobals->IsXltTemplate(); }
    void SetIsXltTemplate(bool Value) { FGlobals->SetIsXltTemplate(Value); }
    // EInvalidCast for a chart or a sheet the engine does not interpret.
    TWorkSheet *WorkSheets(int32_t Index) const;

    TWorkbookGlobals *Globals() const { return FGlobals; }
    TSheetList *Sheets() const { return FSheets; }

private:
    void LoadSections(TOle2File *DataStream);
    // With a macro project every sheet needs a code name; new ones are made from the sheet names.
    void FixCodeNames();
    void FixSheetRows();
    void FixBoundSheetOffsets(bool NeedsRecalc);
    void FixRangeBoundSheetOffset(int32_t SheetIndex, const TXlsCellRange &CellRange, bool NeedsRecalc);
    // "Error reading Excel records. File invalid" unless every BOUNDSHEET has its sheet.
    void CheckSheetCount() const;
    // The lowest visible sheet, refusing a hidden sheet that is selected.
    int32_t FirstVisibleSheet() const;

    TWorkbookGlobals *FGlobals;
    TSheetList *FSheets;
};
