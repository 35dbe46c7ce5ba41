#include "xlsAdapter/records/duzUXlsRangeRecords.h"

#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int32_t MaxRow = 65535;
constexpr int32_t MaxCol = 255;

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return std::min(hi, std::max(lo, v)); }

// The "rows" of an operation: the columns when it works on columns.
uint16_t &First(TExcelRange &r, bool UseCols) { return UseCols ? r.C1 : r.R1; }
uint16_t &Last(TExcelRange &r, bool UseCols) { return UseCols ? r.C2 : r.R2; }

// A row (or column) a copy lands on; "Too many entries ..." outside the sheet.
uint16_t Checked(int32_t v, bool UseCols)
{
    uint16_t w = 0;
    IncWordChecked(w, v, UseCols ? MaxCol : MaxRow);
    return w;
}

bool Inside(const TExcelRange &r, const TXlsCellRange &Range)
{
    return r.R1 >= Range.Top && r.R2 <= Range.Bottom && r.C1 >= Range.Left && r.C2 <= Range.Right;
}

bool ValidRange(int32_t R1, int32_t C1, int32_t R2, int32_t C2)
{
    return R1 >= 0 && R1 <= R2 && R2 <= MaxRow && C1 >= 0 && C1 <= C2 && C2 <= MaxCol && (R1 != R2 || C1 != C2);
}

void WriteRange(TOle2File *DataStream, const TExcelRange &r)
{
    DataStream->Write16(r.R1);
    DataStream->Write16(r.R2);
    DataStream->Write16(r.C1);
    DataStream->Write16(r.C2);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TRangeValuesList

void TRangeValuesList::Load(TBaseRecord *aRecord, int32_t aPos)
{
    uint8_t w[2];
    ReadRecordMem(aRecord, aPos, 2, w);
    const int32_t n = GetWord(w, 0);
    // Room is only made for ranges the record really holds.
    if (RemainingRecordBytes(aRecord, aPos) < 8 * int64_t(n))
        ErrorReadingRecord();
    FList.reserve(FList.size() + size_t(n));
    for (int32_t i = 0; i < n; ++i) {
        uint8_t b[8];
        ReadRecordMem(aRecord, aPos, 8, b);
        FList.push_back(TExcelRange{GetWord(b, 0), GetWord(b, 2), GetWord(b, 4), GetWord(b, 6)});
    }
}

void TRangeValuesList::CopyFrom(const TRangeValuesList *RVL)
{
    if (RVL)
        FList.insert(FList.end(), RVL->FList.begin(), RVL->FList.end());
}

void TRangeValuesList::AddNewRange(int32_t FirstRow, int32_t FirstCol, int32_t LastRow, int32_t LastCol)
{
    if (ValidRange(FirstRow, FirstCol, LastRow, LastCol))
        FList.push_back(TExcelRange{uint16_t(FirstRow), uint16_t(LastRow), uint16_t(FirstCol), uint16_t(LastCol)});
}

void TRangeValuesList::PreAddNewRange(int32_t &R1, int32_t &C1, int32_t &R2, int32_t &C2)
{
    if (!ValidRange(R1, C1, R2, C2))
        return;
    for (int32_t i = Count() - 1; i >= 0; --i) {
        const TExcelRange r = FList[size_t(i)];
        if (r.R1 <= R2 && r.R2 >= R1 && r.C1 <= C2 && r.C2 >= C1) {
            R1 = std::min<int32_t>(R1, r.R1);
            R2 = std::max<int32_t>(R2, r.R2);
            C1 = std::min<int32_t>(C1, r.C1);
            C2 = std::max<int32_t>(C2, r.C2);
            Delete(i);
        }
    }
}

void TRangeValuesList::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos,
                                                int32_t aColCount)
{
    for (int32_t i = Count() - 1; i >= 0; --i) {
        TExcelRange &r = FList[size_t(i)];
        if (r.R1 >= aRowPos)
            r.R1 = uint16_t(Clamp(r.R1 + aRowCount, aRowPos, MaxRow));
        if (r.R2 >= aRowPos)
            r.R2 = uint16_t(Clamp(r.R2 + aRowCount, r.R1, MaxRow));
        if (r.C1 >= aColPos)
            r.C1 = uint16_t(Clamp(r.C1 + aColCount, aColPos, MaxCol));
        if (r.C2 >= aColPos)
            r.C2 = uint16_t(Clamp(r.C2 + aColCount, r.C1, MaxCol));
    }
}

void TRangeValuesList::DeleteRows(int32_t aRow, int32_t aCount, bool Allow1Cell, bool UseCols)
{
    for (int32_t i = Count() - 1; i >= 0; --i) {
        TExcelRange &r = FList[size_t(i)];
        if (First(r, UseCols) < aRow)
            continue;
        const int32_t last = Last(r, UseCols);
        // One column wide when deleting rows, one row high when deleting columns.
        const bool thin = First(r, !UseCols) == Last(r, !UseCols);
        if (last < aRow + aCount || (!Allow1Cell && last == aRow + aCount && thin))
            Delete(i);
    }
}

void TRangeValuesList::CopyRowsExclusive(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                                         bool UseCols)
{
    const int32_t h = LastRow - FirstRow + 1;
    const int32_t c = aCount * h;
    const int32_t f = FirstRow >= DestRow ? FirstRow + c : FirstRow;
    const int32_t l = LastRow >= DestRow ? LastRow + c : LastRow;
    const int32_t n = Count();
    for (int32_t i = 0; i < n; ++i) {
        TExcelRange r = FList[size_t(i)];
        if (First(r, UseCols) < f || Last(r, UseCols) > l)
            continue;
        for (int32_t k = 0; k < aCount; ++k) {
            const int32_t offset = DestRow + k * h - f;
            TExcelRange copy = r;
            First(copy, UseCols) = Checked(First(r, UseCols) + offset, UseCols);
            Last(copy, UseCols) = Checked(Last(r, UseCols) + offset, UseCols);
            FList.push_back(copy);
        }
    }
}

void TRangeValuesList::CopyRowsInclusive(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                                         uint16_t &MinR1, uint16_t &MaxR2, bool UseCols)
{
    const int32_t h = LastRow - FirstRow + 1;
    const int32_t c = aCount * h;
    const bool before = FirstRow < DestRow;
    const int32_t f = FirstRow >= DestRow ? FirstRow + c : FirstRow;
    const int32_t l = LastRow >= DestRow ? LastRow + c : LastRow;
    const int32_t e = l - f + 1;
    const auto follow = [&](TExcelRange r) {
        MinR1 = std::min(MinR1, First(r, UseCols));
        MaxR2 = std::max(MaxR2, Last(r, UseCols));
    };
    const int32_t n = Count();
    for (int32_t i = 0; i < n; ++i) {
        TExcelRange r = FList[size_t(i)];
        const int32_t a = First(r, UseCols), b = Last(r, UseCols);
        if (b < f || a > l)
            continue;
        if (before && b == DestRow - 1 && a <= f) {
            Last(FList[size_t(i)], UseCols) = Checked(b + c, UseCols);
            MaxR2 = std::max(MaxR2, Last(FList[size_t(i)], UseCols));
        } else if (!before && a == DestRow + c && b >= l) {
            First(FList[size_t(i)], UseCols) = Checked(a - c, UseCols);
            MinR1 = std::min(MinR1, First(FList[size_t(i)], UseCols));
        } else if ((before && b < DestRow) || (!before && a >= DestRow + c)) {
            if (a <= f && b >= l) {
                TExcelRange copy = r;
                First(copy, UseCols) = Checked(DestRow, UseCols);
                Last(copy, UseCols) = Checked(DestRow + aCount * e - 1, UseCols);
                FList.push_back(copy);
                follow(copy);
            } else {
                for (int32_t k = 0; k < aCount; ++k) {
                    TExcelRange copy = r;
                    First(copy, UseCols) = Checked(DestRow + k * e + std::max(0, a - f), UseCols);
                    Last(copy, UseCols) = Checked(DestRow + (k + 1) * e - 1 - std::max(0, l - b), UseCols);
                    FList.push_back(copy);
                    follow(copy);
                }
            }
        }
    }
}

int32_t TRangeValuesList::RepeatCountR(int32_t aCount) const
{
    return aCount <= 0 ? 1 : (aCount - 1) / MaxRangesPerRecord + 1;
}

namespace {

int32_t InLine(int32_t Line, int32_t aCount, int32_t PerRecord)
{
    return std::max(0, std::min(aCount, (Line + 1) * PerRecord) - Line * PerRecord);
}

} // namespace

int32_t TRangeValuesList::RecordSizeR(int32_t Line, int32_t aCount) const
{
    return FOtherDataLen + 2 + 8 * InLine(Line, aCount, MaxRangesPerRecord);
}

int64_t TRangeValuesList::TotalSizeR(int32_t aCount) const
{
    return int64_t(RepeatCountR(aCount)) * (FOtherDataLen + 6) + 8 * int64_t(aCount);
}

void TRangeValuesList::SaveToStreamR(TOle2File *DataStream, int32_t Line)
{
    const int32_t n = InLine(Line, Count(), MaxRangesPerRecord);
    DataStream->Write16(uint16_t(n));
    for (int32_t i = Line * MaxRangesPerRecord; i < Line * MaxRangesPerRecord + n; ++i)
        WriteRange(DataStream, FList[size_t(i)]);
}

int32_t TRangeValuesList::CountRangeRecords(const TXlsCellRange &Range) const
{
    return int32_t(std::count_if(FList.begin(), FList.end(), [&](const TExcelRange &r) { return Inside(r, Range); }));
}

void TRangeValuesList::SaveRangeToStreamR(TOle2File *DataStream, int32_t Line, int32_t aCount,
                                          const TXlsCellRange &Range)
{
    const int32_t n = InLine(Line, aCount, MaxRangesPerRecord);
    DataStream->Write16(uint16_t(n));
    int32_t skip = Line * MaxRangesPerRecord, written = 0;
    for (const TExcelRange &r : FList) {
        if (written >= n)
            break;
        if (!Inside(r, Range))
            continue;
        if (skip > 0) {
            --skip;
            continue;
        }
        WriteRange(DataStream, r);
        ++written;
    }
}

// ---------------------------------------------------------------------------------------------
// TRangeEntry

TRangeEntry::~TRangeEntry() { delete RangeValuesList; }

TRangeEntry *TRangeEntry::DoCopyTo() const
{
    std::unique_ptr<TRangeEntry> r(NewOfClass());
    r->RangeValuesList->CopyFrom(RangeValuesList);
    return r.release();
}

void TRangeEntry::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                           const TSheetInfo &)
{
    RangeValuesList->ArrangeInsertRowsAndCols(aRowPos, aRowCount, aColPos, aColCount);
}

void TRangeEntry::InsertAndCopyRowsOrCols(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                                          const TSheetInfo &SheetInfo, bool UseCols)
{
    const int32_t n = aCount * (LastRow - FirstRow + 1);
    if (UseCols)
        ArrangeInsertRowsAndCols(0, 0, DestRow, n, SheetInfo);
    else
        ArrangeInsertRowsAndCols(DestRow, n, 0, 0, SheetInfo);
}

void TRangeEntry::DeleteRowsOrCols(int32_t aRow, int32_t aCount, const TSheetInfo &SheetInfo, bool UseCols)
{
    if (UseCols)
        ArrangeInsertRowsAndCols(0, 0, aRow, -aCount, SheetInfo);
    else
        ArrangeInsertRowsAndCols(aRow, -aCount, 0, 0, SheetInfo);
}

// ---------------------------------------------------------------------------------------------
// TMergedCells

TMergedCells::TMergedCells() { RangeValuesList = new TRangeValuesList(513, 0); }

void TMergedCells::LoadFromStream(TOle2File *, TRecordHeader &, TRangeRecord *First)
{
    std::unique_ptr<TRangeRecord> owned(First);
    RangeValuesList->Clear();
    RangeValuesList->Load(First, 0);
}

void TMergedCells::SaveToStream(TOle2File *DataStream)
{
    const int32_t n = RangeValuesList->Count();
    if (n == 0)
        return;
    for (int32_t line = 0; line < RangeValuesList->RepeatCountR(n); ++line) {
        DataStream->WriteHeader(xlr_CELLMERGING, uint16_t(RangeValuesList->RecordSizeR(line, n)));
        RangeValuesList->SaveToStreamR(DataStream, line);
    }
}

void TMergedCells::SaveRangeToStream(TOle2File *DataStream, const TXlsCellRange &CellRange)
{
    const int32_t n = RangeValuesList->CountRangeRecords(CellRange);
    if (n == 0)
        return;
    for (int32_t line = 0; line < RangeValuesList->RepeatCountR(n); ++line) {
        DataStream->WriteHeader(xlr_CELLMERGING, uint16_t(RangeValuesList->RecordSizeR(line, n)));
        RangeValuesList->SaveRangeToStreamR(DataStream, line, n, CellRange);
    }
}

int64_t TMergedCells::TotalSize()
{
    const int32_t n = RangeValuesList->Count();
    return n == 0 ? 0 : RangeValuesList->TotalSizeR(n);
}

int64_t TMergedCells::TotalRangeSize(const TXlsCellRange &CellRange)
{
    const int32_t n = RangeValuesList->CountRangeRecords(CellRange);
    return n == 0 ? 0 : RangeValuesList->TotalSizeR(n);
}

void TMergedCells::InsertAndCopyRowsOrCols(int32_t FirstRow, int32_t LastRow, int32_t DestRow, int32_t aCount,
                                           const TSheetInfo &SheetInfo, bool UseCols)
{
    TRangeEntry::InsertAndCopyRowsOrCols(FirstRow, LastRow, DestRow, aCount, SheetInfo, UseCols);
    RangeValuesList->CopyRowsExclusive(FirstRow, LastRow, DestRow, aCount, UseCols);
}

void TMergedCells::DeleteRowsOrCols(int32_t aRow, int32_t aCount, const TSheetInfo &SheetInfo, bool UseCols)
{
    RangeValuesList->DeleteRows(aRow, aCount, false, UseCols);
    TRangeEntry::DeleteRowsOrCols(aRow, aCount, SheetInfo, UseCols);
}

void TMergedCells::MergeCells(int32_t FirstRow, int32_t FirstCol, int32_t LastRow, int32_t LastCol)
{
    RangeValuesList->AddNewRange(FirstRow, FirstCol, LastRow, LastCol);
}

void TMergedCells::PreMerge(int32_t &R1, int32_t &C1, int32_t &R2, int32_t &C2)
{
    RangeValuesList->PreAddNewRange(R1, C1, R2, C2);
}

void TMergedCells::UnMergeCells(int32_t FirstRow, int32_t FirstCol, int32_t LastRow, int32_t LastCol)
{
    for (int32_t i = RangeValuesList->Count() - 1; i >= 0; --i) {
        const TExcelRange &r = RangeValuesList->Items(i);
        if (r.R1 == FirstRow && r.R2 == LastRow && r.C1 == FirstCol && r.C2 == LastCol)
            RangeValuesList->Delete(i);
    }
}

bool TMergedCells::CheckCell(int32_t aRow, int32_t aCol, TXlsCellRange &CellBounds) const
{
    for (int32_t i = 0; i < RangeValuesList->Count(); ++i) {
        const TExcelRange &r = RangeValuesList->Items(i);
        if (r.R1 <= aRow && aRow <= r.R2 && r.C1 <= aCol && aCol <= r.C2) {
            CellBounds = MergedCell(i);
            return true;
        }
    }
    return false;
}

TXlsCellRange TMergedCells::MergedCell(int32_t i) const
{
    const TExcelRange &r = RangeValuesList->Items(i);
    return TXlsCellRange{r.C1, r.R1, r.C2, r.R2};
}
