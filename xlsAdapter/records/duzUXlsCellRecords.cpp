#include "xlsAdapter/records/duzUXlsCellRecords.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

const char *const SInvalidCellValue = "Invalid cell value: \"%s\"";
const char *const SInvalidErrorCode = "Invalid cell error code: \"%s\"";

struct TErrorCode
{
    uint8_t Code;
    const char *Text;
};
const TErrorCode ErrorCodes[] = {{0x00, "#NULL!"}, {0x07, "#DIV/0!"}, {0x0F, "#VALUE!"}, {0x17, "#REF!"},
                                 {0x1D, "#NAME?"}, {0x24, "#NUM!"},   {0x2A, "#N/A"}};

[[noreturn]] void InvalidCellValue(const QString &Text)
{
    throw Exception(Format(QString::fromLatin1(SInvalidCellValue), {Text}));
}

double RKToDouble(uint32_t w)
{
    double d;
    if (w & 2)
        d = double(int32_t(w) >> 2);
    else
        d = std::bit_cast<double>(uint64_t(w & ~3u) << 32);
    return w & 1 ? d / 100 : d;
}

// Neighbouring cells of one kind join into one MUL record, up to the saved range's last column.
// The id names the class: the record factory and the cell setters make each id with one class.
bool JoinsNext(const TCellRecord *Cell, const TCellRecord *NextRecord, int32_t MaxCol)
{
    return NextRecord && NextRecord->Id == Cell->Id && NextRecord->Column() == Cell->Column() + 1
           && NextRecord->Column() <= MaxCol;
}

// The joined record's header, row and first column, then the first cell's entry.
void SaveFirstOfRun(TOle2File *Workbook, uint16_t MulId, uint16_t JoinedRecordSize, const uint8_t *Data,
                    int32_t EntrySize)
{
    Workbook->WriteHeader(MulId, uint16_t(JoinedRecordSize - 4));
    Workbook->WriteRawMem(Data, 4 + EntrySize);
}

// The last cell's entry, then its column as the run's last column.
void SaveLastOfRun(TOle2File *Workbook, const uint8_t *Data, int32_t EntrySize)
{
    Workbook->WriteRawMem(Data + 4, EntrySize);
    Workbook->WriteRawMem(Data + 2, 2);
}

// Cell Index of a MUL record's data as a record of its own: row, column, then its entry.
template <class T> TCellRecord *ExtractCell(uint16_t aId, int32_t EntrySize, const uint8_t *Data, int32_t Index)
{
    const int32_t size = 4 + EntrySize;
    T *r = new T(aId, TCellRecord::InlineData(), size);
    SetWord(r->Data, 0, GetWord(Data, 0));
    SetWord(r->Data, 2, GetWord(Data, 2) + Index);
    std::memcpy(r->Data + 4, Data + 4 + EntrySize * Index, size_t(EntrySize));
    return r;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// RK numbers

bool TryRKEncode(int32_t &RK, double Value)
{
    for (int k = 0; k <= 1; ++k) {
        const double y = (k == 0 ? 1.0 : 100.0) * Value;
        const uint64_t bits = std::bit_cast<uint64_t>(y);
        uint32_t candidates[2];
        int n = 0;
        if ((bits & 0xFFFFFFFFu) == 0 && ((bits >> 32) & 3) == 0)
            candidates[n++] = uint32_t(bits >> 32) + uint32_t(k);
        if (y == std::trunc(y) && y >= -536870912.0 && y <= 536870911.0)
            candidates[n++] = uint32_t(int32_t(y) * 4 + k + 2);
        // A form counts only when it reads back as the very same number.
        for (int i = 0; i < n; ++i) {
            if (std::bit_cast<uint64_t>(RKToDouble(candidates[i])) == std::bit_cast<uint64_t>(Value)) {
                RK = int32_t(candidates[i]);
                return true;
            }
        }
    }
    return false;
}

bool IsRKValue(double Value)
{
    int32_t rk;
    return TryRKEncode(rk, Value);
}

// ---------------------------------------------------------------------------------------------
// Single cells

TBlankRecord *TBlankRecord::CreateFromData(uint16_t aRow, uint16_t aCol, uint16_t aXF)
{
    return TCellRecord::CreateFromData<TBlankRecord>(xlr_BLANK, 6, aRow, aCol, aXF);
}

bool TBlankRecord::CanJoinNext(TCellRecord *NextRecord, int32_t MaxCol) const
{
    return JoinsNext(this, NextRecord, MaxCol);
}

void TBlankRecord::SaveFirstMul(TOle2File *Workbook, uint16_t JoinedRecordSize)
{
    SaveFirstOfRun(Workbook, xlr_MULBLANK, JoinedRecordSize, Data, 2);
}

void TBlankRecord::SaveMidMul(TOle2File *Workbook) { Workbook->WriteRawMem(Data + 4, 2); }

void TBlankRecord::SaveLastMul(TOle2File *Workbook) { SaveLastOfRun(Workbook, Data, 2); }

TBoolErrRecord::TBoolErrRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TCellRecord(aId, aData, aDataSize)
{
    CheckSize(8);
}

TBoolErrRecord *TBoolErrRecord::CreateFromData(uint16_t aRow, uint16_t aCol, uint16_t aXF)
{
    return TCellRecord::CreateFromData<TBoolErrRecord>(xlr_BOOLERR, 8, aRow, aCol, aXF);
}

Variant TBoolErrRecord::Value() const
{
    if (Data[7] == 0)
        return Variant(Data[6] != 0);
    for (const TErrorCode &e : ErrorCodes)
        if (e.Code == Data[6])
            return Variant(QString::fromLatin1(e.Text));
    return Variant(QString::fromLatin1(ErrorCodes[0].Text));
}

void TBoolErrRecord::SetValue(const Variant &V)
{
    switch (VarType(V)) {
    case varBoolean:
        Data[6] = V.AsBoolean() ? 1 : 0;
        Data[7] = 0;
        return;
    case varOleStr:
    case varString:
    case varUString: {
        const QString s = V.AsString();
        for (const TErrorCode &e : ErrorCodes) {
            if (s == QLatin1String(e.Text)) {
                Data[6] = e.Code;
                Data[7] = 1;
                return;
            }
        }
        throw Exception(Format(QString::fromLatin1(SInvalidErrorCode), {s}));
    }
    case varNull:
        InvalidCellValue(QString());
    default:
        InvalidCellValue(VarToStr(V));
    }
}

TNumberRecord::TNumberRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TCellRecord(aId, aData, aDataSize)
{
    CheckSize(14);
}

TNumberRecord *TNumberRecord::CreateFromData(uint16_t aRow, uint16_t aCol, uint16_t aXF)
{
    return TCellRecord::CreateFromData<TNumberRecord>(xlr_NUMBER, 14, aRow, aCol, aXF);
}

Variant TNumberRecord::Value() const
{
    uint64_t bits = GetLongWord(Data, 6) | (uint64_t(GetLongWord(Data, 10)) << 32);
    return Variant(std::bit_cast<double>(bits));
}

void TNumberRecord::SetValue(const Variant &V)
{
    const uint64_t bits = std::bit_cast<uint64_t>(V.AsDouble());
    SetLongWord(Data, 6, uint32_t(bits));
    SetLongWord(Data, 10, uint32_t(bits >> 32));
}

TRKRecord::TRKRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TCellRecord(aId, aData, aDataSize)
{
    CheckSize(10);
}

TRKRecord *TRKRecord::CreateFromData(uint16_t aRow, uint16_t aCol, uint16_t aXF)
{
    return TCellRecord::CreateFromData<TRKRecord>(xlr_RK, 10, aRow, aCol, aXF);
}

Variant TRKRecord::Value() const { return Variant(RKToDouble(GetLongWord(Data, 6))); }

void TRKRecord::SetValue(const Variant &V)
{
    const double d = V.AsDouble();
    int32_t rk = 0;
    if (!TryRKEncode(rk, d))
        InvalidCellValue(FloatToStr(d));
    SetLongWord(Data, 6, uint32_t(rk));
}

bool TRKRecord::CanJoinNext(TCellRecord *NextRecord, int32_t MaxCol) const
{
    return JoinsNext(this, NextRecord, MaxCol);
}

void TRKRecord::SaveFirstMul(TOle2File *Workbook, uint16_t JoinedRecordSize)
{
    SaveFirstOfRun(Workbook, xlr_MULRK, JoinedRecordSize, Data, 6);
}

void TRKRecord::SaveMidMul(TOle2File *Workbook) { Workbook->WriteRawMem(Data + 4, 6); }

void TRKRecord::SaveLastMul(TOle2File *Workbook) { SaveLastOfRun(Workbook, Data, 6); }

// ---------------------------------------------------------------------------------------------
// Runs of cells

TMultipleValueRecord::TMultipleValueRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize)
    : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(6);
}

void TMultipleValueRecord::CheckNextColumn() const
{
    // A run that passes the sheet's last column is refused as the run it is.
    if (GetWord(Data, 2) + CurrentCol > 255)
        Invalid();
}

TCellRecord *TMulBlankRecord::ExtractOneRecord()
{
    if (Eof())
        ErrorReadingRecord();
    CheckNextColumn();
    return ExtractCell<TBlankRecord>(xlr_BLANK, 2, Data, CurrentCol++);
}

TCellRecord *TMulRKRecord::ExtractOneRecord()
{
    if (Eof())
        ErrorReadingRecord();
    CheckNextColumn();
    return ExtractCell<TRKRecord>(xlr_RK, 6, Data, CurrentCol++);
}
