#pragma once
// Records that carry formulas: FORMULA cells with their cached result (and the STRING record of a
// text result), the SHRFMLA, ARRAY and TABLE records that belong to formula cells, and NAME
// records of defined names.
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/records/duzUXlsBaseRecords.h"
#include "xlsAdapter/records/duzUXlsTypes.h"

#include <QString>
#include <cstdint>
#include <functional>

class IFormulaCellList;

constexpr uint16_t xlr_FORMULA = 0x0006;
constexpr uint16_t xlr_SHRFMLA = 0x04BC;
constexpr uint16_t xlr_ARRAY = 0x0221;
constexpr uint16_t xlr_TABLE = 0x0236;
constexpr uint16_t xlr_NAME = 0x0018;
constexpr uint16_t xlr_STRING = 0x0207;

class TTableRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TTableRecord)
    // Always calculated, and on open.
    TTableRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);

    void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount);
    void ArrangeCopyRowsAndCols(int32_t DeltaRow, int32_t DeltaCol);

private:
    // Range fields move by the deltas; "Too many entries ..." when one would leave the sheet. With
    // positions, only fields at or after them move.
    void Arrange(int32_t aRowPos, int32_t DeltaRow, int32_t aColPos, int32_t DeltaCol);
};

// An array formula's range and tokens stay where they are when rows, columns or cells move,
// as files store them.
class TArrayRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TArrayRecord)
    using TBaseRecord::TBaseRecord;

    void ArrangeInsertRowsAndCols(int32_t, int32_t, int32_t, int32_t) {}
    void ArrangeCopyRowsAndCols(int32_t, int32_t) {}
};

class TShrFmlaRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TShrFmlaRecord)
    TShrFmlaRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);

    uint16_t FirstRow() const { return GetWord(Data, 0); }
    uint16_t LastRow() const { return GetWord(Data, 2); }
    uint8_t FirstCol() const { return Data[4]; }
    uint8_t LastCol() const { return Data[5]; }

    // Row of the first formula cell that uses it in the low 16 bits, its column in the high ones.
    uint32_t Key = 0;

protected:
    TBaseRecord *DoCopyTo() const override;
};

class TFormulaRecord : public TCellRecord
{
    TARVIX_XLS_RECORD(TFormulaRecord)
    // Reads the cached result and marks the formula for recalculation on open.
    TFormulaRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    ~TFormulaRecord() override;
    // aDataSize zero bytes with the cell's place and format, and aValue as cached result.
    static TFormulaRecord *CreateFromData(uint16_t aId, int32_t aDataSize, uint16_t aRow, uint16_t aCol,
                                          uint16_t aXF, const Variant &aValue, bool Options1904);

    Variant Value() const override { return FormulaValue; }
    void SetFormulaValue(const Variant &v) { FormulaValue = v; }

    TTableRecord *TableRecord() const { return FTableRecord; }
    void SetTableRecord(TTableRecord *aRecord);
    TArrayRecord *ArrayRecord() const { return FArrayRecord; }
    void SetArrayRecord(TArrayRecord *aRecord);

    // The only token is Exp: Key = its row | its column shl 16.
    bool IsExp(uint32_t &Key) const;
    // The tokens of a shared formula (SHRFMLA data of aDataSize bytes) in place of the Exp token,
    // expanded for this cell.
    void MixShared(const uint8_t *PData, int32_t aDataSize);

    // The formula, its ARRAY and TABLE records, and the STRING record of a text result.
    void SaveToStream(TOle2File *Workbook) override;
    int32_t TotalSize() const override;
    int32_t TotalSizeNoHeaders() const override;
    // With NeedsRecalc, the cached result is dropped first.
    int64_t FixTotalSize(bool NeedsRecalc) override;

    void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                  const TSheetInfo &SheetInfo) override;
    void ArrangeCopyRowsAndCols(int32_t RowOffset, int32_t ColOffset) override;

    Variant FormulaValue;

protected:
    // A copy holds copies of the ARRAY and TABLE records and no cached result.
    TBaseRecord *DoCopyTo() const override;

private:
    TTableRecord *FTableRecord = nullptr;
    TArrayRecord *FArrayRecord = nullptr;

    int32_t TokenEnd() const { return 22 + GetWord(Data, 20); }
    // The cached result becomes an error of code 0 that reads Empty.
    void ResetValue();
    bool HasStringRecord() const;
    // Size of the STRING record and its CONTINUE records, with or without their headers.
    int32_t StringRecordSize(bool Headers) const;
    [[noreturn]] void FormulaError(int32_t Token) const;
};

// Maps a sheet index to the sheet's name.
using TGetSheetName = std::function<QString(int32_t)>;

class TNameRecord : public TBaseRecord
{
    TARVIX_XLS_RECORD(TNameRecord)
    // Refuses data too short for its name and tokens.
    TNameRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize);
    // A name with the tokens of Range.RangeFormula; references without a sheet go to sheet
    // max(NameSheetIndex, 0), whose name SheetName gives.
    static TNameRecord *CreateFromData(const TXlsNamedRange &Range, const TGetSheetName &SheetName,
                                       IFormulaCellList *CellList);

    QString Name() const;
    // -1 for a global name.
    int32_t RangeSheet() const { return GetWord(Data, 8) - 1; }
    int32_t TokenLength() const { return GetWord(Data, 4); }
    int32_t TokenStart() const { return 14 + NameSize(); }

    // The area of a name whose first token is a 3-D reference or area, else -1.
    int32_t GetR1() const { return Corner(3, 3); }
    int32_t GetR2() const { return Corner(3, 5); }
    int32_t GetC1() const { return Corner(5, 7); }
    int32_t GetC2() const { return Corner(5, 9); }
    // A 3-D reference first becomes an area of that one cell.
    void SetR1(int32_t Value) { SetCorner(3, Value); }
    void SetR2(int32_t Value) { SetCorner(5, Value); }
    void SetC1(int32_t Value) { SetCorner(7, Value); }
    void SetC2(int32_t Value) { SetCorner(9, Value); }
    // The sheet of the first token's EXTERNSHEET entry, or -1.
    int32_t RefersToSheet(const TGetSheet &GetSheet) const;

    void ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                  const TSheetInfo &SheetInfo);
    // A name local to sheet FirstSheet or a later one follows the inserted (or deleted) sheets.
    void ArrangeInsertSheets(int32_t FirstSheet, int32_t SheetCount);
    // This name as the one of the copy SheetInfo.InsSheet of sheet SheetInfo.FormulaSheet.
    TNameRecord *ArrangeCopySheet(const TSheetInfo &SheetInfo);

private:
    int32_t NameSize() const { return 1 + Data[3] * (Data[14] & 1 ? 2 : 1); }
    // The first token when it is a 3-D reference (0x3A) or area (0x3B) of any class, else 0.
    uint8_t First3DToken() const;
    int32_t Corner(int32_t RefOffset, int32_t AreaOffset) const;
    void SetCorner(int32_t AreaOffset, int32_t Value);
    [[noreturn]] void NameError(int32_t Token) const;
};

// The shared formulas of a sheet, found by the key of the formula cell they follow.
class TShrFmlaRecordList : public TBaseRecordList
{
public:
    int Add(TShrFmlaRecord *aRecord)
    {
        Sorted = false;
        return TBaseRecordList::Add(aRecord);
    }
    TShrFmlaRecord *Items(int Index) const { return static_cast<TShrFmlaRecord *>(TBaseRecordList::Items(Index)); }

    // By Key, ascending.
    void Sort();
    // The first record of key aItem (true), or where one would go (false).
    bool Find(uint32_t aItem, int32_t &Index);

    bool Sorted = false;
};

// The defined names of a workbook.
class TNameRecordList : public TBaseRecordList
{
public:
    int Add(TNameRecord *aRecord) { return TBaseRecordList::Add(aRecord); }
    TNameRecord *Items(int Index) const { return static_cast<TNameRecord *>(TBaseRecordList::Items(Index)); }

    void ArrangeInsertRowsAndCols(int32_t InsRow, int32_t aRowCount, int32_t InsCol, int32_t aColCount,
                                  const TSheetInfo &SheetInfo);
    // Names local to the deleted sheets go; the others follow the sheets after them.
    void DeleteSheets(int32_t SheetIndex, int32_t SheetCount);
    // SheetCount sheets inserted before BeforeSheet, copies of sheet CopyFrom when CopyFrom >= 0:
    // the names of the copied sheet get one copy per new sheet.
    void InsertSheets(int32_t CopyFrom, int32_t BeforeSheet, int32_t SheetCount, const TSheetInfo &SheetInfo);
};
