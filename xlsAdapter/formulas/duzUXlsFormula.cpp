#include "xlsAdapter/formulas/duzUXlsFormula.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"
#include "xlsAdapter/formulas/duzUXlsFormulaParser.h"
#include "xlsAdapter/records/duzUXlsStrings.h"
#include "xlsAdapter/formulas/duzUXlsTokenArray.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

const char *const SFormulaNotSupported = "Formula at Row %d, column %d is not supported. Token Id: 0x%2x";
const char *const SNameNotSupported = "Error in Worksheet name: \"%s\". Token Id: 0x%2x";

// A STRING record holds at most 8219 bytes; each CONTINUE repeats the option byte before 8218 more.
constexpr int32_t StringFirstChunk = 8219;
constexpr int32_t StringNextChunk = 8218;

constexpr int32_t MaxNameSheet = 65001;

// The text of an error code, Empty for a code no formula shows.
Variant ErrorValue(uint8_t Code)
{
    for (const TFormulaErrorText &e : FormulaErrorTexts)
        if (e.Code == Code)
            return Variant(QString::fromLatin1(e.Text));
    return Variant();
}

bool IsText(const Variant &V)
{
    const TVarType t = V.VType();
    return t == varOleStr || t == varString || t == varUString;
}

// The BIFF8 string of a text result, with a 2-byte count.
ByteArray StringBytes(const Variant &V)
{
    const TExcelString s(2, V.AsString(), false);
    ByteArray b(size_t(s.TotalSize()));
    s.CopyToPtr(b.data(), 0);
    return b;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TTableRecord

TTableRecord::TTableRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(16);
    SetWord(Data, 6, GetWord(Data, 6) | 3);
}

void TTableRecord::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount)
{
    Arrange(aRowPos, aRowCount, aColPos, aColCount);
}

void TTableRecord::ArrangeCopyRowsAndCols(int32_t DeltaRow, int32_t DeltaCol) { Arrange(0, DeltaRow, 0, DeltaCol); }

void TTableRecord::Arrange(int32_t aRowPos, int32_t DeltaRow, int32_t aColPos, int32_t DeltaCol)
{
    // The range is checked whole before any of it is stored.
    uint16_t rows[2] = {GetWord(Data, 0), GetWord(Data, 2)};
    uint16_t cols[2] = {Data[4], Data[5]};
    for (uint16_t &r : rows)
        if (r != 0xFFFF && r >= aRowPos)
            IncWordChecked(r, DeltaRow, 65535);
    for (uint16_t &c : cols)
        if (c != 255 && c >= aColPos)
            IncWordChecked(c, DeltaCol, 255);
    SetWord(Data, 0, rows[0]);
    SetWord(Data, 2, rows[1]);
    Data[4] = uint8_t(cols[0]);
    Data[5] = uint8_t(cols[1]);
    // An input cell pushed off the sheet becomes "none".
    for (const int32_t at : {8, 12}) {
        int32_t row = GetWord(Data, at), col = Data[at + 2];
        if (row != 0xFFFF && row >= aRowPos)
            row += DeltaRow;
        if (col != 255 && col >= aColPos)
            col += DeltaCol;
        if (row < 0 || row > 65535 || col < 0 || col > 255) {
            SetWord(Data, at, 0xFFFF);
            SetWord(Data, at + 2, 0xFFFF);
        } else {
            SetWord(Data, at, row);
            Data[at + 2] = uint8_t(col);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// TShrFmlaRecord

TShrFmlaRecord::TShrFmlaRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(10);
}

TBaseRecord *TShrFmlaRecord::DoCopyTo() const
{
    auto *r = static_cast<TShrFmlaRecord *>(TBaseRecord::DoCopyTo());
    r->Key = Key;
    return r;
}

// ---------------------------------------------------------------------------------------------
// TFormulaRecord

TFormulaRecord::TFormulaRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TCellRecord(aId, aData, aDataSize)
{
    CheckSize(22);
    if (TokenEnd() > DataSize)
        Invalid();
    if (GetWord(Data, 12) == 0xFFFF) {
        switch (Data[6]) {
        case 0: // the text follows in a STRING record
            FormulaValue = Variant(QString(QLatin1String("")));
            break;
        case 1:
            FormulaValue = Variant(Data[8] == 1);
            break;
        case 2:
            FormulaValue = ErrorValue(Data[8]);
            break;
        default:
            break;
        }
    } else {
        double d = 0;
        std::memcpy(&d, Data + 6, 8);
        FormulaValue = Variant(d);
    }
    SetWord(Data, 14, GetWord(Data, 14) | 2);
}

TFormulaRecord::~TFormulaRecord()
{
    delete FTableRecord;
    delete FArrayRecord;
}

TFormulaRecord *TFormulaRecord::CreateFromData(uint16_t aId, int32_t aDataSize, uint16_t aRow, uint16_t aCol,
                                               uint16_t aXF, const Variant &aValue, bool Options1904)
{
    std::unique_ptr<TFormulaRecord> r(TCellRecord::CreateFromData<TFormulaRecord>(aId, aDataSize, aRow, aCol, aXF));
    uint8_t *d = r->Data;
    r->FormulaValue = Variant();
    const TVarType t = aValue.VType();
    if (t == varBoolean) {
        d[6] = 1;
        d[7] = 0;
        d[8] = aValue.AsBoolean() ? 1 : 0;
        SetWord(d, 12, 0xFFFF);
        r->FormulaValue = aValue;
    } else if (VarIsNumeric(aValue) || t == varDate) {
        double v = aValue.AsDouble();
        if (t == varDate && Options1904)
            v -= 1462;
        std::memcpy(d + 6, &v, 8);
        r->FormulaValue = Variant(v);
    } else if (IsText(aValue)) {
        d[6] = 0;
        SetWord(d, 12, 0xFFFF);
        r->FormulaValue = aValue;
    }
    return r.release();
}

void TFormulaRecord::SetTableRecord(TTableRecord *aRecord)
{
    if (aRecord != FTableRecord)
        delete FTableRecord;
    FTableRecord = aRecord;
}

void TFormulaRecord::SetArrayRecord(TArrayRecord *aRecord)
{
    if (aRecord != FArrayRecord)
        delete FArrayRecord;
    FArrayRecord = aRecord;
}

bool TFormulaRecord::IsExp(uint32_t &Key) const
{
    if (DataSize != 27 || GetWord(Data, 20) != 5 || Data[22] != 0x01)
        return false;
    Key = GetWord(Data, 23) | (uint32_t(GetWord(Data, 25)) << 16);
    return true;
}

void TFormulaRecord::MixShared(const uint8_t *PData, int32_t aDataSize)
{
    // The shared tokens must lie inside the shared formula's data.
    if (aDataSize < 10)
        FormulaError(0);
    const int32_t tokenLength = GetWord(PData, 8);
    if (10 + tokenLength > aDataSize)
        FormulaError(aDataSize > 10 ? PData[10] : 0);
    const int32_t newSize = aDataSize + 12;
    if (newSize > 0xFFFF)
        Invalid();
    auto *d = new uint8_t[size_t(newSize)];
    std::memcpy(d, Data, 20);
    std::memcpy(d + 20, PData + 8, size_t(aDataSize - 8));
    ReplaceData(d, newSize);
    try {
        ExpandSharedTokens(Data, 22, TokenEnd(), Row(), Column());
    } catch (const ETokenException &e) {
        FormulaError(e.Token);
    }
}

void TFormulaRecord::ResetValue()
{
    std::memset(Data + 6, 0, 8);
    Data[6] = 2;
    SetWord(Data, 12, 0xFFFF);
    std::memset(Data + 16, 0, 4);
    FormulaValue = Variant();
}

bool TFormulaRecord::HasStringRecord() const
{
    return GetWord(Data, 12) == 0xFFFF && Data[6] == 0 && !VarIsEmpty(FormulaValue) && !VarIsNull(FormulaValue);
}

int32_t TFormulaRecord::StringRecordSize(bool Headers) const
{
    if (!HasStringRecord())
        return 0;
    const int32_t header = Headers ? 4 : 0;
    int32_t remaining = int32_t(StringBytes(FormulaValue).size());
    const int32_t first = std::min(remaining, StringFirstChunk);
    int32_t n = header + first;
    remaining -= first;
    while (remaining > 0) {
        const int32_t chunk = std::min(remaining, StringNextChunk);
        n += header + 1 + chunk;
        remaining -= chunk;
    }
    return n;
}

void TFormulaRecord::SaveToStream(TOle2File *Workbook)
{
    TCellRecord::SaveToStream(Workbook);
    if (FArrayRecord)
        FArrayRecord->SaveToStream(Workbook);
    if (FTableRecord)
        FTableRecord->SaveToStream(Workbook);
    if (!HasStringRecord())
        return;
    const ByteArray s = StringBytes(FormulaValue);
    const int32_t total = int32_t(s.size());
    int32_t pos = std::min(total, StringFirstChunk);
    Workbook->WriteHeader(xlr_STRING, uint16_t(pos));
    Workbook->WriteRawMem(s.data(), pos);
    const uint8_t option = s[2];
    while (pos < total) {
        const int32_t chunk = std::min(total - pos, StringNextChunk);
        Workbook->WriteHeader(xlr_CONTINUE, uint16_t(chunk + 1));
        Workbook->WriteRawMem(&option, 1);
        Workbook->WriteRawMem(s.data() + pos, chunk);
        pos += chunk;
    }
}

int32_t TFormulaRecord::TotalSize() const
{
    return TCellRecord::TotalSize() + (FTableRecord ? FTableRecord->TotalSize() : 0)
           + (FArrayRecord ? FArrayRecord->TotalSize() : 0) + StringRecordSize(true);
}

int32_t TFormulaRecord::TotalSizeNoHeaders() const
{
    return TCellRecord::TotalSizeNoHeaders() + (FTableRecord ? FTableRecord->TotalSizeNoHeaders() : 0)
           + (FArrayRecord ? FArrayRecord->TotalSizeNoHeaders() : 0) + StringRecordSize(false);
}

int64_t TFormulaRecord::FixTotalSize(bool NeedsRecalc)
{
    if (NeedsRecalc)
        ResetValue();
    return TotalSize();
}

TBaseRecord *TFormulaRecord::DoCopyTo() const
{
    std::unique_ptr<TFormulaRecord> r(static_cast<TFormulaRecord *>(TCellRecord::DoCopyTo()));
    r->FTableRecord = CopyOf(FTableRecord);
    r->FArrayRecord = CopyOf(FArrayRecord);
    r->ResetValue();
    return r.release();
}

void TFormulaRecord::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                              const TSheetInfo &SheetInfo)
{
    TCellRecord::ArrangeInsertRowsAndCols(aRowPos, aRowCount, aColPos, aColCount, SheetInfo);
    try {
        ArrangeInsertTokens(Data, 22, TokenEnd(), aRowPos, aRowCount, 0, aColPos, aColCount, 0, SheetInfo, true);
    } catch (const ETokenException &e) {
        FormulaError(e.Token);
    }
    if (SheetInfo.FormulaSheet == SheetInfo.InsSheet) {
        if (FTableRecord)
            FTableRecord->ArrangeInsertRowsAndCols(aRowPos, aRowCount, aColPos, aColCount);
        if (FArrayRecord)
            FArrayRecord->ArrangeInsertRowsAndCols(aRowPos, aRowCount, aColPos, aColCount);
    }
}

void TFormulaRecord::ArrangeCopyRowsAndCols(int32_t RowOffset, int32_t ColOffset)
{
    try {
        ArrangeInsertTokens(Data, 22, TokenEnd(), 0, 0, RowOffset, 0, 0, ColOffset, TSheetInfo(), true);
    } catch (const ETokenException &e) {
        FormulaError(e.Token);
    }
    if (FTableRecord)
        FTableRecord->ArrangeCopyRowsAndCols(RowOffset, ColOffset);
    if (FArrayRecord)
        FArrayRecord->ArrangeCopyRowsAndCols(RowOffset, ColOffset);
    TCellRecord::ArrangeCopyRowsAndCols(RowOffset, ColOffset);
}

void TFormulaRecord::FormulaError(int32_t Token) const
{
    throw Exception(Format(QString::fromLatin1(SFormulaNotSupported), {Row() + 1, Column() + 1, Token}));
}

// ---------------------------------------------------------------------------------------------
// TNameRecord

TNameRecord::TNameRecord(uint16_t aId, PArrayOfByte aData, int32_t aDataSize) : TBaseRecord(aId, aData, aDataSize)
{
    CheckSize(15);
    if (TokenStart() + TokenLength() > DataSize)
        Invalid();
}

TNameRecord *TNameRecord::CreateFromData(const TXlsNamedRange &Range, const TGetSheetName &SheetName,
                                         IFormulaCellList *CellList)
{
    const TExcelString name(1, Range.Name, false);
    const int32_t nameSize = int32_t(name.TotalSize()) - 1;
    ByteArray tokens;
    const QString formula = Trim(Range.RangeFormula);
    if (!formula.isEmpty()) {
        const QString sheet = SheetName ? SheetName(std::max(Range.NameSheetIndex, 0)) : QString();
        std::unique_ptr<TParseString> p = TParseString::CreateExt(formula, CellList, true, sheet, fmRef);
        p->Parse();
        tokens.resize(size_t(p->TotalSize() - 2));
        p->CopyToPtrNoLen(tokens.data(), 0);
    }
    const int32_t size = 14 + nameSize + int32_t(tokens.size());
    auto *d = new uint8_t[size_t(size)]();
    SetWord(d, 0, Range.OptionFlags);
    d[3] = uint8_t(name.StrLen);
    SetWord(d, 4, int32_t(tokens.size()));
    if (Range.NameSheetIndex >= 0) {
        SetWord(d, 6, Range.NameSheetIndex + 1);
        SetWord(d, 8, Range.NameSheetIndex + 1);
    }
    name.CopyToPtr(d, 14, false);
    if (!tokens.empty())
        std::memcpy(d + 14 + nameSize, tokens.data(), tokens.size());
    return new TNameRecord(xlr_NAME, d, size);
}

QString TNameRecord::Name() const
{
    const int32_t n = Data[3];
    if (!(Data[14] & 1))
        return QString::fromLatin1(reinterpret_cast<const char *>(Data + 15), n);
    QString s(n, QChar());
    for (int32_t i = 0; i < n; ++i)
        s[i] = QChar(char16_t(GetWord(Data, 15 + 2 * i)));
    return s;
}

uint8_t TNameRecord::First3DToken() const
{
    const int32_t len = TokenLength();
    if (len == 0)
        return 0;
    const uint8_t base = BaseToken(Data[TokenStart()]);
    if ((base == 0x3A && len >= 7) || (base == 0x3B && len >= 11))
        return base;
    return 0;
}

int32_t TNameRecord::Corner(int32_t RefOffset, int32_t AreaOffset) const
{
    const uint8_t base = First3DToken();
    if (!base)
        return -1;
    // Rows are words at odd offsets from 3 on; columns are the low bytes of the column words.
    const bool isCol = base == 0x3B ? AreaOffset >= 7 : RefOffset >= 5;
    const int32_t at = TokenStart() + (base == 0x3B ? AreaOffset : RefOffset);
    return isCol ? Data[at] : GetWord(Data, at);
}

void TNameRecord::SetCorner(int32_t AreaOffset, int32_t Value)
{
    if (TokenLength() == 0)
        return;
    int32_t ts = TokenStart();
    if (First3DToken() == 0x3A) {
        // The reference becomes an area whose both corners are that cell.
        const int32_t newSize = DataSize + 4;
        if (newSize > 0xFFFF)
            Invalid();
        auto *d = new uint8_t[size_t(newSize)];
        std::memcpy(d, Data, size_t(ts + 5));
        std::memcpy(d + ts + 5, Data + ts + 3, 2);
        std::memcpy(d + ts + 7, Data + ts + 5, 2);
        std::memcpy(d + ts + 9, Data + ts + 5, 2);
        std::memcpy(d + ts + 11, Data + ts + 7, size_t(DataSize - ts - 7));
        d[ts] = uint8_t(d[ts] + 1);
        SetWord(d, 4, TokenLength() + 4);
        ReplaceData(d, newSize);
    }
    if (First3DToken() == 0x3B)
        SetWord(Data, ts + AreaOffset, Value);
}

int32_t TNameRecord::RefersToSheet(const TGetSheet &GetSheet) const
{
    if (!First3DToken() || !GetSheet)
        return -1;
    return GetSheet(GetWord(Data, TokenStart() + 1));
}

void TNameRecord::ArrangeInsertRowsAndCols(int32_t aRowPos, int32_t aRowCount, int32_t aColPos, int32_t aColCount,
                                           const TSheetInfo &SheetInfo)
{
    try {
        ArrangeInsertTokens(Data, TokenStart(), TokenStart() + TokenLength(), aRowPos, aRowCount, 0, aColPos,
                            aColCount, 0, SheetInfo, true);
    } catch (const ETokenException &e) {
        NameError(e.Token);
    }
}

void TNameRecord::ArrangeInsertSheets(int32_t FirstSheet, int32_t SheetCount)
{
    const int32_t sheet = RangeSheet();
    if (sheet >= 0 && sheet >= FirstSheet)
        IncWord(Data, 8, SheetCount, MaxNameSheet);
}

TNameRecord *TNameRecord::ArrangeCopySheet(const TSheetInfo &SheetInfo)
{
    try {
        ArrangeSheetTokens(Data, TokenStart(), TokenStart() + TokenLength(), SheetInfo);
    } catch (const ETokenException &e) {
        NameError(e.Token);
    }
    SetWord(Data, 8, SheetInfo.InsSheet + 1);
    return this;
}

void TNameRecord::NameError(int32_t Token) const
{
    throw Exception(Format(QString::fromLatin1(SNameNotSupported), {Name(), Token}));
}

// ---------------------------------------------------------------------------------------------
// TShrFmlaRecordList

void TShrFmlaRecordList::Sort()
{
    TList::Sort([](void *a, void *b) {
        const int64_t ka = a ? static_cast<TShrFmlaRecord *>(static_cast<TObject *>(a))->Key : -1;
        const int64_t kb = b ? static_cast<TShrFmlaRecord *>(static_cast<TObject *>(b))->Key : -1;
        return ka < kb ? -1 : ka > kb ? 1 : 0;
    });
    Sorted = true;
}

bool TShrFmlaRecordList::Find(uint32_t aItem, int32_t &Index)
{
    if (!Sorted)
        Sort();
    return FindSortedKey(Count(), aItem, [this](int32_t i) -> int64_t {
        const TShrFmlaRecord *r = Items(i);
        return r ? int64_t(r->Key) : -1;
    }, Index);
}

// ---------------------------------------------------------------------------------------------
// TNameRecordList

void TNameRecordList::ArrangeInsertRowsAndCols(int32_t InsRow, int32_t aRowCount, int32_t InsCol, int32_t aColCount,
                                               const TSheetInfo &SheetInfo)
{
    for (int i = 0; i < Count(); ++i)
        if (TNameRecord *r = Items(i))
            r->ArrangeInsertRowsAndCols(InsRow, aRowCount, InsCol, aColCount, SheetInfo);
}

void TNameRecordList::DeleteSheets(int32_t SheetIndex, int32_t SheetCount)
{
    for (int i = Count() - 1; i >= 0; --i) {
        TNameRecord *r = Items(i);
        if (!r)
            continue;
        const int32_t sheet = r->RangeSheet();
        if (sheet >= SheetIndex && sheet < SheetIndex + SheetCount)
            Delete(i);
        else
            r->ArrangeInsertSheets(SheetIndex, -SheetCount);
    }
}

void TNameRecordList::InsertSheets(int32_t CopyFrom, int32_t BeforeSheet, int32_t SheetCount,
                                   const TSheetInfo &SheetInfo)
{
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        TNameRecord *r = Items(i);
        if (!r)
            continue;
        const int32_t sheet = r->RangeSheet();
        if (CopyFrom >= 0
            && (sheet == CopyFrom || (sheet == -1 && r->RefersToSheet(SheetInfo.GetSheet) == SheetInfo.FormulaSheet))) {
            TSheetInfo info = SheetInfo;
            for (int32_t k = 0; k < SheetCount; ++k) {
                std::unique_ptr<TNameRecord> copy(CopyOf(r));
                info.InsSheet = BeforeSheet + k;
                copy->ArrangeCopySheet(info);
                Add(copy.get());
                copy.release();
            }
        }
        r->ArrangeInsertSheets(BeforeSheet, SheetCount);
    }
}
