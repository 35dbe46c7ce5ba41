#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/records/duzUXlsCellRecords.h"
#include "xlsAdapter/records/duzUXlsColInfo.h"
#include "xlsAdapter/formulas/duzUXlsFormula.h"
#include "xlsAdapter/records/duzUXlsSST.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"
#include "xlsAdapter/formulas/duzUXlsTokenArray.h"

#include <algorithm>
#include <memory>

namespace {

const char *const SInvalidRow = "Invalid Row (%d)";
const char *const SInvalidColumn = "Invalid Column (%d)";
const char *const SFormulaNotSupported = "Formula at Row %d, column %d is not supported. Token Id: 0x%2x";
const char *const SShrFmlaNotFound = "Can't find Shared Formula";

constexpr uint16_t xlr_DIMENSIONS = 0x0200;
constexpr int32_t RowsPerBlock = 32;

// A cell's id names its class: the record factory and the cell setters make each cell id with one
// class, so the id stands for a cast.
bool IsFormula(const TBaseRowColRecord *r) { return r->Id == xlr_FORMULA; }

TFormulaRecord *FormulaOf(TCellRecord *r) { return r && IsFormula(r) ? static_cast<TFormulaRecord *>(r) : nullptr; }

const TFormulaRecord *FormulaOf(const TCellRecord *r)
{
    return r && IsFormula(r) ? static_cast<const TFormulaRecord *>(r) : nullptr;
}

void CheckRowCol(int32_t Row, int32_t Col)
{
    if (Row < 0 || Row > 65535)
        throw Exception(Format(QString::fromLatin1(SInvalidRow), {Row}));
    if (Col < 0 || Col > 255)
        throw Exception(Format(QString::fromLatin1(SInvalidColumn), {Col}));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TBaseRowColList

void TBaseRowColList::AddRecord(TBaseRowColRecord *aRecord, int32_t aRow)
{
    std::unique_ptr<TBaseRowColRecord> owned(aRecord);
    while (Count() <= aRow)
        TBaseList::Add(NewRowList());
    Items(aRow)->Add(owned.release());
}

void TBaseRowColList::DeleteRows(uint16_t aRow, uint16_t aCount, const TSheetInfo &SheetInfo)
{
    const int end = std::min<int>(aRow + aCount, Count());
    for (int i = end - 1; i >= aRow; --i)
        Delete(i);
    ArrangeInsertRowsAndCols(aRow, -aCount, 0, 0, SheetInfo);
}

void TBaseRowColList::DeleteCols(uint16_t aCol, uint16_t aCount, const TSheetInfo &SheetInfo)
{
    for (int i = 0; i < Count(); ++i) {
        TBaseRowColRecordList *row = Items(i);
        for (int j = row->Count() - 1; j >= 0; --j)
            if (const TBaseRowColRecord *r = row->Items(j); r && r->Column() >= aCol && r->Column() < aCol + aCount)
                row->Delete(j);
    }
    ArrangeInsertRowsAndCols(0, 0, aCol, -aCount, SheetInfo);
}

TBaseRowColRecordList *TBaseRowColList::CopyOfRow(int32_t Source, bool OnlyFormulas) const
{
    std::unique_ptr<TBaseRowColRecordList> copy(NewRowList());
    if (Source < 0 || Source >= Count())
        return copy.release();
    const TBaseRowColRecordList *src = Items(Source);
    for (int i = 0; i < src->Count(); ++i) {
        const TBaseRowColRecord *r = src->Items(i);
        if (r && (!OnlyFormulas || IsFormula(r))) {
            std::unique_ptr<TBaseRowColRecord> c(CopyOf(r));
            copy->Add(c.get());
            c.release();
        }
    }
    // Copied in the source's order.
    copy->Sorted = src->Sorted;
    return copy.release();
}

void TBaseRowColList::InsertAndCopyRows(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                                        const TSheetInfo &SheetInfo, bool OnlyFormulas)
{
    const int32_t n = LastRow - FirstRow + 1;
    ArrangeInsertRowsAndCols(DestRow, n * aCount, 0, 0, SheetInfo);
    int32_t dest = DestRow, inserted = 0;
    for (int32_t k = 0; k < aCount; ++k) {
        for (int32_t r = FirstRow; r <= LastRow; ++r) {
            // The source rows have moved down by what was inserted above them.
            std::unique_ptr<TBaseRowColRecordList> copy(CopyOfRow(FirstRow >= DestRow ? r + inserted : r, OnlyFormulas));
            if (copy->Count() > 0)
                copy->ArrangeCopyRowsAndCols(dest - copy->Items(0)->Row(), 0);
            while (Count() < dest)
                TBaseList::Add(NewRowList());
            TBaseList::Insert(dest, copy.get());
            copy.release();
            ++dest;
            ++inserted;
        }
    }
}

void TBaseRowColList::InsertAndCopyCols(int32_t FirstCol, int32_t LastCol, int32_t DestCol, int32_t aCount,
                                        const TSheetInfo &SheetInfo, bool OnlyFormulas)
{
    const int32_t n = LastCol - FirstCol + 1;
    ArrangeInsertRowsAndCols(0, 0, DestCol, n * aCount, SheetInfo);
    const int32_t shift = FirstCol >= DestCol ? n * aCount : 0;
    int32_t dest = DestCol;
    for (int32_t k = 0; k < aCount; ++k) {
        for (int32_t c = FirstCol; c <= LastCol; ++c, ++dest) {
            for (int i = 0; i < Count(); ++i) {
                TBaseRowColRecordList *row = Items(i);
                int32_t index;
                if (!row->Find(c + shift, index) || (OnlyFormulas && !IsFormula(row->Items(index))))
                    continue;
                // A copy may not leave the sheet.
                uint16_t target = uint16_t(DestCol);
                IncWordChecked(target, dest - DestCol, 255);
                std::unique_ptr<TBaseRowColRecord> copy(CopyOf(row->Items(index)));
                copy->ArrangeCopyRowsAndCols(0, target - copy->Column());
                row->Find(target, index);
                row->Insert(index, copy.get());
                copy.release();
            }
        }
    }
}

void TBaseRowColList::ArrangeInsertRowsAndCols(int32_t InsRowPos, int32_t InsRowCount, int32_t InsColPos,
                                               int32_t InsColCount, const TSheetInfo &SheetInfo)
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->ArrangeInsertRowsAndCols(InsRowPos, InsRowCount, InsColPos, InsColCount, SheetInfo);
}

void TBaseRowColList::CopyFrom(const TBaseRowColList *aList)
{
    Clear();
    if (!aList)
        return;
    for (int i = 0; i < aList->Count(); ++i) {
        TBaseList::Add(aList->CopyOfRow(i, false));
    }
}

void TBaseRowColList::SaveToStream(TOle2File *DataStream)
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->SaveToStream(DataStream);
}

void TBaseRowColList::SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange)
{
    for (int i = std::max(CellRange.Top, 0); i <= CellRange.Bottom && i < Count(); ++i)
        Items(i)->SaveRangeToStream(DataStream, CellRange);
}

int64_t TBaseRowColList::TotalSize()
{
    int64_t n = 0;
    for (int i = 0; i < Count(); ++i)
        n += Items(i)->GetTotalSize();
    return n;
}

int64_t TBaseRowColList::TotalRangeSize(const TXlsCellRange &CellRange)
{
    int64_t n = 0;
    for (int i = std::max(CellRange.Top, 0); i <= CellRange.Bottom && i < Count(); ++i)
        n += Items(i)->TotalRangeSize(CellRange, false);
    return n;
}

// ---------------------------------------------------------------------------------------------
// TCellList

TCellList::TCellList(TWorkbookGlobals *aGlobals, TRowRecordList *aRowRecordList, TColInfoList *aColInfoList)
    : FGlobals(aGlobals), FRowRecordList(aRowRecordList), FColInfoList(aColInfoList)
{
}

int32_t TCellList::DefaultXF(int32_t Row, int32_t Col)
{
    if (FRowRecordList->HasRow(Row) && FRowRecordList->Items(Row)->IsFormatted())
        return FRowRecordList->Items(Row)->XF();
    int32_t index;
    if (FColInfoList && FColInfoList->Find(Col, index))
        return FColInfoList->Items(index)->XF;
    return 15;
}

void TCellList::GetValueX2(int32_t Row, int32_t Col, TXlsCellValue &V, TRTFRunList *RTFRuns)
{
    CheckRowCol(Row, Col);
    if (RTFRuns)
        RTFRuns->clear();
    V = TXlsCellValue();
    int32_t index;
    if (Row >= Count() || !Items(Row)->Find(Col, index))
        return;
    const TCellRecord *cell = Items(Row)->Items(index);
    V.XF = cell->XF();
    V.IsFormula = IsFormula(cell);
    TRichString text;
    const auto *sst = cell->Id == xlr_LABELSST ? static_cast<const TLabelSSTRecord *>(cell) : nullptr;
    const auto *rstring = cell->Id == xlr_RSTRING ? static_cast<const TRStringRecord *>(cell) : nullptr;
    if (sst)
        text = sst->AsRichString();
    else if (rstring)
        text = rstring->AsRichString();
    else {
        V.Value = cell->Value();
        return;
    }
    V.Value = text.Value;
    if (RTFRuns)
        *RTFRuns = text.RTFRuns;
}

TXlsCellValue TCellList::GetValue(int32_t Row, int32_t Col)
{
    TXlsCellValue v;
    GetValueX2(Row, Col, v, nullptr);
    return v;
}

void TCellList::SetValueX2(int32_t Row, int32_t Col, const TXlsCellValue &Value, const TRTFRunList *RTFRuns,
                           bool Options1904)
{
    CheckRowCol(Row, Col);
    FRowRecordList->AddRow(uint16_t(Row));
    const int32_t defaultXF = DefaultXF(Row, Col);
    int32_t index = 0;
    const bool had = Row < Count() && Items(Row)->Find(Col, index);
    const int32_t xf = Value.XF >= 0 ? Value.XF : had ? Items(Row)->Items(index)->XF() : defaultXF;

    // The new record is complete before the old one goes, so a refused value changes nothing.
    std::unique_ptr<TCellRecord> record;
    const Variant &v = Value.Value;
    const auto blank = [&] {
        if (xf != defaultXF)
            record.reset(TBlankRecord::CreateFromData(uint16_t(Row), uint16_t(Col), uint16_t(xf)));
    };
    switch (VarType(v)) {
    case varEmpty:
    case varNull:
        blank();
        break;
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64: {
        double d = v.AsDouble();
        if (Options1904 && VarType(v) == varDate)
            d -= 1462;
        if (IsRKValue(d))
            record.reset(TRKRecord::CreateFromData(uint16_t(Row), uint16_t(Col), uint16_t(xf)));
        else
            record.reset(TNumberRecord::CreateFromData(uint16_t(Row), uint16_t(Col), uint16_t(xf)));
        record->SetValue(Variant(d));
        break;
    }
    case varOleStr:
    case varString:
    case varUString: {
        const QString s = v.AsString();
        if (s.isEmpty()) {
            blank();
            break;
        }
        auto *label = TLabelSSTRecord::CreateFromData(uint16_t(Row), uint16_t(Col), uint16_t(xf), &FGlobals->SST());
        record.reset(label);
        if (RTFRuns && !RTFRuns->empty())
            label->SetAsRichString(TRichString{s, *RTFRuns});
        else
            label->SetAsString(s);
        break;
    }
    case varBoolean:
        record.reset(TBoolErrRecord::CreateFromData(uint16_t(Row), uint16_t(Col), uint16_t(xf)));
        record->SetValue(v);
        break;
    default:
        break;
    }
    ReplaceCell(Row, Col, had, index, record.release());
}

void TCellList::ReplaceCell(int32_t Row, int32_t Col, bool HadCell, int32_t Index, TCellRecord *NewRecord)
{
    std::unique_ptr<TCellRecord> record(NewRecord);
    TCellRecordList *cells = Row < Count() ? Items(Row) : nullptr;
    if (HadCell) {
        cells->DeleteCell(Index);
        if (!record) {
            TRowRecord *row = FRowRecordList->Items(Row);
            if (cells->Count() > 0) {
                row->SetMinCol(cells->Items(0)->Column());
                row->SetMaxCol(cells->Items(cells->Count() - 1)->Column() + 1);
            } else if (row->IsModified()) {
                row->SetMinCol(0);
                row->SetMaxCol(0);
            } else {
                FRowRecordList->SetItems(Row, nullptr);
            }
        }
    }
    // Empty rows at the end go, ROW record and all, unless the ROW record carries something.
    for (int32_t i = FRowRecordList->Count() - 1; i >= 0 && (i > Row || !record); --i) {
        const bool noCells = i >= Count() || Items(i)->Count() == 0;
        if (!noCells || (FRowRecordList->HasRow(i) && FRowRecordList->Items(i)->IsModified()))
            break;
        FRowRecordList->Delete(i);
        if (i == Count() - 1)
            Delete(i);
    }
    if (!record)
        return;
    TRowRecord *row = FRowRecordList->Items(Row);
    if (row->MaxCol() < Col + 1)
        row->SetMaxCol(Col + 1);
    if (row->MinCol() > Col)
        row->SetMinCol(Col);
    if (!cells) {
        while (Count() <= Row)
            TBaseList::Add(NewRowList());
        cells = Items(Row);
    }
    cells->InsertCell(Index, record.get());
    record.release();
}

void TCellList::SetFormat(int32_t Row, int32_t Col, int32_t XF)
{
    CheckRowCol(Row, Col);
    int32_t index;
    if (FRowRecordList->HasRow(Row) && Row < Count() && Items(Row)->Find(Col, index)) {
        Items(Row)->Items(index)->SetXF(XF);
        return;
    }
    SetValueX2(Row, Col, TXlsCellValue{Null(), XF, false}, nullptr, false);
}

QString TCellList::GetFormula(int32_t Row, int32_t Col)
{
    int32_t index;
    if (Row < 0 || Row >= Count() || !Items(Row)->Find(Col, index))
        return QString();
    const TFormulaRecord *f = FormulaOf(Items(Row)->Items(index));
    if (!f)
        return QString();
    return DecodeFormulaTokens(f->Data, f->DataSize, 22, this);
}

void TCellList::SetFormula(int32_t Row, int32_t Col, const QString &Value)
{
    AssignFormulaX(Row, Col, Value, Variant(), false);
}

void TCellList::AssignFormulaX(int32_t Row, int32_t Col, const QString &Formula, const Variant &Value,
                               bool Options1904)
{
    CheckRowCol(Row, Col);
    // Encoded before the ROW record is made, so that a text in error leaves no trace.
    std::unique_ptr<TParseString> parsed;
    if (!Formula.isEmpty()) {
        parsed = std::make_unique<TParseString>(Formula, this, fmValue);
        parsed->Parse();
    }
    FRowRecordList->AddRow(uint16_t(Row));
    int32_t index = 0;
    const bool had = Row < Count() && Items(Row)->Find(Col, index);
    const int32_t xf = had ? Items(Row)->Items(index)->XF() : DefaultXF(Row, Col);
    TFormulaRecord *record = nullptr;
    if (parsed) {
        record = TFormulaRecord::CreateFromData(xlr_FORMULA, parsed->TotalSize() + 20, uint16_t(Row), uint16_t(Col),
                                                uint16_t(xf), Value, Options1904);
        parsed->CopyToPtr(record->Data, 20);
    }
    ReplaceCell(Row, Col, had, index, record);
}

ByteArray TCellList::AttachedFormula(int32_t Row, int32_t Col, bool Table)
{
    if (Row < 0 || Row >= Count())
        throw Exception(Format(QString::fromLatin1(SInvalidRow), {Row}));
    if (Col < 0 || Col > 255)
        throw Exception(Format(QString::fromLatin1(SInvalidColumn), {Col}));
    int32_t index;
    const TFormulaRecord *f =
        Items(Row)->Find(Col, index) ? FormulaOf(Items(Row)->Items(index)) : nullptr;
    if (!f)
        throw Exception(QString::fromLatin1(SShrFmlaNotFound));
    const TBaseRecord *r = Table ? static_cast<const TBaseRecord *>(f->TableRecord()) : f->ArrayRecord();
    if (!r)
        throw Exception(Format(QString::fromLatin1(SFormulaNotSupported), {Row, Col, 1}));
    return ByteArray(r->Data, r->Data + r->DataSize);
}

ByteArray TCellList::ArrayFormula(int32_t Row, int32_t Col) { return AttachedFormula(Row, Col, false); }

ByteArray TCellList::TableFormula(int32_t Row, int32_t Col) { return AttachedFormula(Row, Col, true); }

QString TCellList::GetName(int32_t ExternSheet, int32_t NameId)
{
    return FGlobals->References().GetName(ExternSheet, NameId, FGlobals);
}

QString TCellList::GetSheetName(int32_t SheetNumber) { return FGlobals->References().GetSheetName(SheetNumber, FGlobals); }

bool TCellList::FindSheet(const QString &SheetName, int32_t &SheetIndex)
{
    const QString upper = AnsiUpperCase(SheetName);
    for (int32_t i = 0; i < FGlobals->SheetCount(); ++i)
        if (AnsiUpperCase(FGlobals->GetSheetName(i)) == upper) {
            SheetIndex = i;
            return true;
        }
    return false;
}

int32_t TCellList::AddExternSheet(int32_t FirstSheet, int32_t LastSheet)
{
    return FGlobals->References().AddSheet(FGlobals->SheetCount(), FirstSheet, LastSheet);
}

void TCellList::FixFormulas(TShrFmlaRecordList *ShrFmlas)
{
    for (int i = 0; i < Count(); ++i) {
        TCellRecordList *row = Items(i);
        for (int j = 0; j < row->Count(); ++j) {
            TFormulaRecord *f = FormulaOf(row->Items(j));
            uint32_t key;
            int32_t index;
            if (!f || !f->IsExp(key) || !ShrFmlas->Find(key, index))
                continue;
            const TShrFmlaRecord *shared = ShrFmlas->Items(index);
            const int64_t before = f->TotalSize();
            f->MixShared(shared->Data, shared->DataSize);
            row->AdaptSize(f->TotalSize() - before);
        }
    }
}

void TCellList::ArrangeInsertSheet(const TSheetInfo &SheetInfo)
{
    for (int i = 0; i < Count(); ++i) {
        TCellRecordList *row = Items(i);
        for (int j = 0; j < row->Count(); ++j) {
            TFormulaRecord *f = FormulaOf(row->Items(j));
            if (!f || f->DataSize < 22)
                continue;
            ArrangeSheetTokens(f->Data, 22, std::min<int32_t>(22 + GetWord(f->Data, 20), f->DataSize), SheetInfo);
        }
    }
}

void TCellList::InsertAndCopyCols(int32_t FirstCol, int32_t LastCol, int32_t DestCol, int32_t aCount,
                                  const TSheetInfo &SheetInfo, bool OnlyFormulas)
{
    TBaseRowColList::InsertAndCopyCols(FirstCol, LastCol, DestCol, aCount, SheetInfo, OnlyFormulas);
    if (!FColInfoList)
        return;
    const int32_t shift = FirstCol >= DestCol ? (LastCol - FirstCol + 1) * aCount : 0;
    FColInfoList->CopyCols(FirstCol + shift, LastCol + shift, DestCol, aCount, SheetInfo);
}

void TCellList::ArrangeInsertRowsAndCols(int32_t InsRowPos, int32_t InsRowCount, int32_t InsColPos,
                                         int32_t InsColCount, const TSheetInfo &SheetInfo)
{
    TBaseRowColList::ArrangeInsertRowsAndCols(InsRowPos, InsRowCount, InsColPos, InsColCount, SheetInfo);
    // Deleted columns leave the column information where it is.
    if (InsColCount > 0 && FColInfoList)
        FColInfoList->ArrangeInsertCols(InsColPos, InsColCount, SheetInfo);
}

int64_t TCellList::FixTotalSize(bool NeedsRecalc)
{
    int64_t n = 0;
    for (int i = 0; i < Count(); ++i)
        n += Items(i)->FixTotalSize(NeedsRecalc);
    return n;
}

// ---------------------------------------------------------------------------------------------
// TCells

TCells::TCells(TWorkbookGlobals *aGlobals, TColInfoList *aColInfoList)
    : FRowList(new TRowRecordList()), FCellList(new TCellList(aGlobals, FRowList, aColInfoList))
{
}

TCells::~TCells()
{
    delete FCellList;
    delete FRowList;
}

void TCells::AddCell(TCellRecord *aRecord, int32_t aRow) { FCellList->AddRecord(aRecord, aRow); }

void TCells::AddMultipleCells(TMultipleValueRecord *aRecord)
{
    while (!aRecord->Eof()) {
        TCellRecord *cell = aRecord->ExtractOneRecord();
        AddCell(cell, cell->Row());
    }
}

void TCells::AddRow(TRowRecord *aRecord) { FRowList->AddRecord(aRecord); }

void TCells::FixRows()
{
    // Every row with cells needs its ROW record, or its cells would not be written.
    const int32_t n = FCellList->Count();
    for (int32_t i = 0; i < n; ++i)
        if (FCellList->Items(i)->Count() > 0 || (i == n - 1 && n > FRowList->Count()))
            FRowList->AddRow(uint16_t(i));
}

void TCells::Clear()
{
    FRowList->Clear();
    FCellList->Clear();
}

void TCells::CopyFrom(const TCells *aList)
{
    Clear();
    if (!aList)
        return;
    FRowList->CopyFrom(aList->FRowList);
    FCellList->CopyFrom(aList->FCellList);
}

void TCells::DeleteRows(uint16_t aRow, uint16_t aCount, const TSheetInfo &SheetInfo)
{
    FRowList->DeleteRows(aRow, aCount, SheetInfo);
    FCellList->DeleteRows(aRow, aCount, SheetInfo);
}

void TCells::DeleteCols(uint16_t aCol, uint16_t aCount, const TSheetInfo &SheetInfo)
{
    FCellList->DeleteCols(aCol, aCount, SheetInfo);
    FixColumnSpans();
}

void TCells::InsertAndCopyRows(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                               const TSheetInfo &SheetInfo, bool OnlyFormulas)
{
    FRowList->InsertAndCopyRows(FirstRow, LastRow, DestRow, aCount, SheetInfo);
    FCellList->InsertAndCopyRows(FirstRow, LastRow, DestRow, aCount, SheetInfo, OnlyFormulas);
}

void TCells::InsertAndCopyCols(int32_t FirstCol, int32_t LastCol, int32_t DestCol, int32_t aCount,
                               const TSheetInfo &SheetInfo, bool OnlyFormulas)
{
    FCellList->InsertAndCopyCols(FirstCol, LastCol, DestCol, aCount, SheetInfo, OnlyFormulas);
    FixColumnSpans();
}

void TCells::ArrangeInsertRowsAndCols(int32_t InsRowPos, int32_t InsRowCount, int32_t InsColPos,
                                      int32_t InsColCount, const TSheetInfo &SheetInfo)
{
    FCellList->ArrangeInsertRowsAndCols(InsRowPos, InsRowCount, InsColPos, InsColCount, SheetInfo);
}

void TCells::FixColumnSpans()
{
    for (int32_t i = 0; i < FRowList->Count(); ++i) {
        if (!FRowList->HasRow(i))
            continue;
        TRowRecord *row = FRowList->Items(i);
        const TCellRecordList *cells = i < FCellList->Count() ? FCellList->Items(i) : nullptr;
        if (cells && cells->Count() > 0) {
            row->SetMinCol(cells->Items(0)->Column());
            row->SetMaxCol(cells->Items(cells->Count() - 1)->Column() + 1);
        } else {
            row->SetMinCol(0);
            row->SetMaxCol(0);
        }
    }
}

TXlsCellRange TCells::UsedRange()
{
    TXlsCellRange r;
    r.Top = FRowList->Count();
    r.Bottom = FRowList->Count() - 1;
    int32_t maxCol = 0;
    for (int32_t i = FRowList->Count() - 1; i >= 0; --i) {
        if (!FRowList->HasRow(i))
            continue;
        r.Top = i;
        maxCol = std::max<int32_t>(maxCol, FRowList->Items(i)->MaxCol());
        // A ROW record from a file may span fewer columns than its row has cells; cells read
        // out of order are written in column order, so that runs join.
        if (i < FCellList->Count() && FCellList->Items(i)->Count() > 0) {
            TCellRecordList *cells = FCellList->Items(i);
            if (!cells->Sorted)
                cells->Sort();
            // Cells past the sheet's last column (from a file) are never written.
            int32_t last = cells->Count() - 1;
            while (last >= 0 && cells->Items(last)->Column() > 255)
                --last;
            if (last >= 0)
                maxCol = std::max<int32_t>(maxCol, cells->Items(last)->Column() + 1);
        }
    }
    r.Left = 0;
    r.Right = std::clamp(maxCol - 1, 0, 255);
    return r;
}

int64_t TCells::SaveOrMeasure(TOle2File *DataStream, const TXlsCellRange &CellRange, bool NeedsRecalc)
{
    if (DataStream) {
        DataStream->WriteHeader(xlr_DIMENSIONS, 14);
        DataStream->Write32(uint32_t(CellRange.Top));
        DataStream->Write32(uint32_t(CellRange.Bottom + 1));
        DataStream->Write16(uint16_t(CellRange.Left));
        DataStream->Write16(uint16_t(CellRange.Right + 1));
        DataStream->Write16(0);
    }
    int64_t total = 18;
    for (int32_t block = std::max(CellRange.Top, 0); block <= CellRange.Bottom; block += RowsPerBlock) {
        const int32_t last = std::min(block + RowsPerBlock - 1, CellRange.Bottom);
        for (int32_t r = block; r <= last && r < FRowList->Count(); ++r) {
            if (!FRowList->HasRow(r))
                continue;
            if (DataStream)
                FRowList->Items(r)->SaveRangeToStream(DataStream, CellRange.Left, CellRange.Right);
            else
                total += FRowList->Items(r)->FixTotalSize(NeedsRecalc);
        }
        for (int32_t r = block; r <= last && r < FCellList->Count(); ++r) {
            if (DataStream)
                FCellList->Items(r)->SaveRangeToStream(DataStream, CellRange);
            else
                total += FCellList->Items(r)->TotalRangeSize(CellRange, NeedsRecalc);
        }
    }
    return total;
}

void TCells::SaveToStream(TOle2File *DataStream) { SaveOrMeasure(DataStream, UsedRange(), false); }

void TCells::SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange)
{
    SaveOrMeasure(DataStream, CellRange, false);
}

int64_t TCells::TotalSize() { return SaveOrMeasure(nullptr, UsedRange(), false); }

int64_t TCells::FixTotalSize(bool NeedsRecalc) { return SaveOrMeasure(nullptr, UsedRange(), NeedsRecalc); }

int64_t TCells::TotalRangeSize(const TXlsCellRange &CellRange) { return SaveOrMeasure(nullptr, CellRange, false); }

// ---------------------------------------------------------------------------------------------
// TRangeList

void TRangeList::CopyFrom(const TRangeList *aRangeList)
{
    if (!aRangeList)
        return;
    for (int i = 0; i < aRangeList->Count(); ++i) {
        std::unique_ptr<TRangeEntry> e(TRangeEntry::CopyTo(aRangeList->Items(i)));
        TBaseList::Add(e.get());
        e.release();
    }
}

void TRangeList::DeleteRowsOrCols(int32_t aRow, int32_t aCount, const TSheetInfo &SheetInfo, bool UseCols)
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->DeleteRowsOrCols(aRow, aCount, SheetInfo, UseCols);
}

void TRangeList::InsertAndCopyRowsOrCols(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                                         const TSheetInfo &SheetInfo, bool UseCols)
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->InsertAndCopyRowsOrCols(FirstRow, LastRow, DestRow, aCount, SheetInfo, UseCols);
}

void TRangeList::SaveToStream(TOle2File *DataStream)
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->SaveToStream(DataStream);
}

void TRangeList::SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange)
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->SaveRangeToStream(DataStream, CellRange);
}

int64_t TRangeList::TotalSize()
{
    int64_t n = 0;
    for (int i = 0; i < Count(); ++i)
        n += Items(i)->TotalSize();
    return n;
}

int64_t TRangeList::TotalRangeSize(const TXlsCellRange &CellRange)
{
    int64_t n = 0;
    for (int i = 0; i < Count(); ++i)
        n += Items(i)->TotalRangeSize(CellRange);
    return n;
}
