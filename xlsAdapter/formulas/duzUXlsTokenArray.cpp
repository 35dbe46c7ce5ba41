#include "xlsAdapter/formulas/duzUXlsTokenArray.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/formulas/duzUXlsFormula.h"

#include <algorithm>

namespace {

const char *const STokenNotSupported = "Error reading formula, Token Id: 0x%2x is not supported";

constexpr int32_t MaxRow = 65535;
constexpr int32_t MaxCol = 255;

bool Is3D(uint8_t Base) { return Base >= 0x3A && Base <= 0x3D; }

// One walk over a token array with everything that moves its references.
class TTokenWalker
{
public:
    TTokenWalker(uint8_t *aData, const TSheetInfo &aSheetInfo) : Data(aData), SheetInfo(aSheetInfo) {}

    int32_t RowPos = 0, RowCount = 0, RowOffset = 0;
    int32_t ColPos = 0, ColCount = 0, ColOffset = 0;
    bool SheetCopy = false;
    int32_t CopyRow = -1, CopyCol = -1;
    bool RelativeOnly = true;

    void Walk(int32_t Start, int32_t End);

private:
    uint8_t *Data;
    const TSheetInfo &SheetInfo;
    int32_t FEnd = 0;

    bool Copying() const { return CopyRow >= 0 || CopyCol >= 0; }
    // The n bytes from p belong to the token array.
    void Need(int32_t p, int64_t n, uint8_t Token) const
    {
        if (n < 0 || p + n > FEnd)
            throw ETokenException(Token);
    }
    int32_t Step(int32_t t);
    int32_t ReferenceStep(int32_t t);
    void NameStep(int32_t p);
    void CellStep(int32_t t, int32_t p, int32_t TargetSheet);
    void AreaStep(int32_t t, int32_t p, int32_t TargetSheet);
    void CellPositionStep(int32_t t);

    void MakeError(int32_t t);
    int32_t Value(int32_t Pos, bool IsCol) const { return IsCol ? Data[Pos] : GetWord(Data, Pos); }
    bool Shift(int32_t t, int32_t Pos, bool IsCol, int32_t Delta, bool Check, int32_t P);
    bool DeleteFromArea(int32_t t, int32_t Pos1, int32_t Pos2, bool IsCol, int32_t P, int32_t n);
    bool Offset(int32_t t, int32_t RowPos_, int32_t ColWordPos, int32_t ColPos_);
    void CopyMove(int32_t RowPos_, int32_t ColWordPos, int32_t ColPos_);
};

void TTokenWalker::Walk(int32_t Start, int32_t End)
{
    FEnd = End;
    int32_t p = Start;
    while (p < End)
        p += Step(p);
}

// The size of the token at t, after adjusting it.
int32_t TTokenWalker::Step(int32_t t)
{
    const uint8_t token = Data[t];
    int32_t size = 0;
    switch (token) {
    case 0x01:
    case 0x02:
        Need(t, 5, token);
        CellPositionStep(t);
        return 5;
    case 0x17: {
        Need(t, 2, token);
        try {
            size = 1 + int32_t(StrDataSize(false, Data, t + 1, FEnd));
        } catch (const Exception &) {
            throw ETokenException(token);
        }
        return size;
    }
    case 0x19:
        Need(t, 4, token);
        size = Data[t + 1] & 0x04 ? 4 + 2 * GetWord(Data, t + 2) + 2 : 4;
        break;
    case 0x1C:
    case 0x1D:
        size = 2;
        break;
    case 0x1E:
    case 0x21:
    case 0x41:
    case 0x61:
    case 0x29: // the member-function token, in each of its classes
    case 0x49:
    case 0x69:
        size = 3;
        break;
    case 0x22:
    case 0x42:
    case 0x62:
        size = 4;
        break;
    case 0x1F:
        size = 9;
        break;
    default:
        if (token >= 0x03 && token <= 0x16) {
            size = 1;
            break;
        }
        return ReferenceStep(t);
    }
    Need(t, size, token);
    return size;
}

int32_t TTokenWalker::ReferenceStep(int32_t t)
{
    const uint8_t token = Data[t];
    uint8_t base = BaseToken(token);
    const bool known = token >= 0x20 && token < 0x80
                       && (base == 0x20 || (base >= 0x23 && base <= 0x25) || (base >= 0x2A && base <= 0x2D)
                           || (base >= 0x39 && base <= 0x3D));
    if (!known)
        throw ETokenException(token);
    if (Copying() && (base == 0x2C || base == 0x2D)) {
        Data[t] = uint8_t(token - 8);
        base = uint8_t(base - 8);
    }
    int32_t target = SheetInfo.FormulaSheet;
    int32_t p = t + 1;
    if (Is3D(base)) {
        Need(t, 3, token);
        if (SheetInfo.GetSheet) {
            target = SheetInfo.GetSheet(GetWord(Data, p));
            if (SheetCopy && target == SheetInfo.FormulaSheet && SheetInfo.SetSheet)
                SetWord(Data, p, SheetInfo.SetSheet(SheetInfo.InsSheet));
        }
        p += 2;
    }
    switch (base) {
    case 0x20:
        Need(p, 7, token);
        return p + 7 - t;
    case 0x39:
        Need(p, 6, token);
        NameStep(p + 2);
        return p + 6 - t;
    case 0x23:
        Need(p, 4, token);
        NameStep(p);
        return p + 4 - t;
    case 0x24:
    case 0x2A:
    case 0x3A:
    case 0x3C:
        Need(p, 4, token);
        CellStep(t, p, target);
        return p + 4 - t;
    case 0x2C:
        Need(p, 4, token);
        return p + 4 - t;
    case 0x2D:
        Need(p, 8, token);
        return p + 8 - t;
    default: // areas
        Need(p, 8, token);
        AreaStep(t, p, target);
        return p + 8 - t;
    }
}

void TTokenWalker::NameStep(int32_t p)
{
    TNameRecordList *names = SheetInfo.Names;
    const int32_t index = GetWord(Data, p) - 1;
    if (!names || !SheetCopy || index < 0 || index >= names->Count() || !names->Items(index))
        return;
    const TNameRecord *name = names->Items(index);
    if (name->RangeSheet() != SheetInfo.FormulaSheet && name->RangeSheet() != -1)
        return;
    const QString text = name->Name();
    for (int32_t i = 0; i < names->Count(); ++i) {
        const TNameRecord *other = names->Items(i);
        if (other && other->RangeSheet() == SheetInfo.InsSheet && other->Name() == text) {
            SetWord(Data, p, i + 1);
            return;
        }
    }
}

void TTokenWalker::CellStep(int32_t t, int32_t p, int32_t TargetSheet)
{
    const int32_t rowPos = p, colPos = p + 2;
    if (TargetSheet == SheetInfo.InsSheet) {
        if (Value(rowPos, false) >= RowPos && !Shift(t, rowPos, false, RowCount, true, RowPos))
            return;
        if (Value(colPos, true) >= ColPos && !Shift(t, colPos, true, ColCount, true, ColPos))
            return;
    }
    if (!Offset(t, rowPos, colPos, colPos))
        return;
    CopyMove(rowPos, colPos, colPos);
}

void TTokenWalker::AreaStep(int32_t t, int32_t p, int32_t TargetSheet)
{
    const int32_t r1 = p, r2 = p + 2, c1 = p + 4, c2 = p + 6;
    if (TargetSheet == SheetInfo.InsSheet) {
        if (RowCount < 0) {
            if (!DeleteFromArea(t, r1, r2, false, RowPos, -RowCount))
                return;
        } else {
            if (Value(r1, false) >= RowPos && !Shift(t, r1, false, RowCount, true, RowPos))
                return;
            const int32_t last = Value(r2, false);
            if (last >= RowPos && last != MaxRow && !Shift(t, r2, false, RowCount, true, RowPos))
                return;
        }
        // Deleted columns leave an area as deleted rows do.
        if (ColCount < 0) {
            if (!DeleteFromArea(t, c1, c2, true, ColPos, -ColCount))
                return;
        } else {
            if (Value(c1, true) >= ColPos && !Shift(t, c1, true, ColCount, true, ColPos))
                return;
            if (Value(c2, true) >= ColPos && Value(c2, true) != MaxCol && !Shift(t, c2, true, ColCount, true, ColPos))
                return;
        }
    }
    if (!Offset(t, r1, c1, c1) || !Offset(t, r2, c2, c2))
        return;
    CopyMove(r1, c1, c1);
    CopyMove(r2, c2, c2);
}

void TTokenWalker::CellPositionStep(int32_t t)
{
    if (SheetInfo.InsSheet != SheetInfo.FormulaSheet || SheetCopy || Copying())
        return;
    const int32_t rowPos = t + 1, colPos = t + 3;
    if (Value(rowPos, false) >= RowPos && !Shift(t, rowPos, false, RowCount, true, RowPos))
        return;
    if (!Shift(t, rowPos, false, RowOffset, false, 0))
        return;
    if (Value(colPos, true) >= ColPos && !Shift(t, colPos, true, ColCount, true, ColPos))
        return;
    Shift(t, colPos, true, ColOffset, false, 0);
}

void TTokenWalker::MakeError(int32_t t)
{
    const uint8_t token = Data[t];
    switch (BaseToken(token)) {
    case 0x24:
    case 0x25:
        Data[t] = uint8_t(token + 6);
        return;
    case 0x3A:
    case 0x3B:
        Data[t] = uint8_t(token + 2);
        return;
    case 0x2A:
    case 0x2B:
    case 0x3C:
    case 0x3D:
        return; // already an error
    default:
        throw ETokenException(token);
    }
}

// False when the field left the sheet or its cells were deleted: the token is then an error.
bool TTokenWalker::Shift(int32_t t, int32_t Pos, bool IsCol, int32_t Delta, bool Check, int32_t P)
{
    const int32_t value = Value(Pos, IsCol);
    if (Check && Delta < 0 && P >= 0 && value >= P && value < P - Delta) {
        MakeError(t);
        return false;
    }
    const int32_t v = value + Delta;
    if (v < 0 || v > (IsCol ? MaxCol : MaxRow)) {
        MakeError(t);
        return false;
    }
    if (IsCol)
        Data[Pos] = uint8_t(v);
    else
        SetWord(Data, Pos, v);
    return true;
}

// n rows (or columns) deleted at P from the area whose first and last field lie at Pos1, Pos2.
bool TTokenWalker::DeleteFromArea(int32_t t, int32_t Pos1, int32_t Pos2, bool IsCol, int32_t P, int32_t n)
{
    const int32_t max = IsCol ? MaxCol : MaxRow;
    const int32_t first = Value(Pos1, IsCol), last = Value(Pos2, IsCol);
    if (first < P) {
        if (last == max || last < P)
            return true;
        return Shift(t, Pos2, IsCol, std::max(-n, P - last - 1), false, 0);
    }
    if (last < P + n) {
        MakeError(t);
        return false;
    }
    if (!Shift(t, Pos1, IsCol, std::max(-n, P - first), false, 0))
        return false;
    return last == max || Shift(t, Pos2, IsCol, -n, false, 0);
}

// One corner moved by the offsets; its flags are in the column word.
bool TTokenWalker::Offset(int32_t t, int32_t RowPos_, int32_t ColWordPos, int32_t ColPos_)
{
    const uint16_t flags = GetWord(Data, ColWordPos);
    if ((!RelativeOnly || (flags & 0x8000)) && !Shift(t, RowPos_, false, RowOffset, false, 0))
        return false;
    return (RelativeOnly && !(flags & 0x4000)) || Shift(t, ColPos_, true, ColOffset, false, 0);
}

// A cell-relative corner becomes the cell's own: rows wrap at 16 bits, columns at 8 bits, so the
// flags of the column word stay as they were.
void TTokenWalker::CopyMove(int32_t RowPos_, int32_t ColWordPos, int32_t ColPos_)
{
    if (!Copying())
        return;
    const uint16_t flags = GetWord(Data, ColWordPos);
    if (CopyRow >= 0 && (!RelativeOnly || (flags & 0x8000)))
        SetWord(Data, RowPos_, GetWord(Data, RowPos_) + CopyRow);
    if (CopyCol >= 0 && (!RelativeOnly || (flags & 0x4000)))
        Data[ColPos_] = uint8_t(Data[ColPos_] + CopyCol);
}

} // namespace

uint8_t BaseToken(uint8_t Token) { return Token >= 0x20 && Token < 0x80 ? uint8_t((Token & 0x1F) | 0x20) : Token; }

ETokenException::ETokenException(int32_t aToken)
    : EExcelException(Format(QString::fromLatin1(STokenNotSupported), {aToken})), Token(aToken)
{
}

void ArrangeInsertTokens(uint8_t *Data, int32_t Start, int32_t End, int32_t aRowPos, int32_t aRowCount,
                         int32_t RowOffset, int32_t aColPos, int32_t aColCount, int32_t ColOffset,
                         const TSheetInfo &SheetInfo, bool RelativeOnly)
{
    TTokenWalker w(Data, SheetInfo);
    w.RowPos = aRowPos;
    w.RowCount = aRowCount;
    w.RowOffset = RowOffset;
    w.ColPos = aColPos;
    w.ColCount = aColCount;
    w.ColOffset = ColOffset;
    w.RelativeOnly = RelativeOnly;
    w.Walk(Start, End);
}

void ArrangeSheetTokens(uint8_t *Data, int32_t Start, int32_t End, const TSheetInfo &SheetInfo)
{
    TTokenWalker w(Data, SheetInfo);
    w.SheetCopy = true;
    w.Walk(Start, End);
}

void ExpandSharedTokens(uint8_t *Data, int32_t Start, int32_t End, int32_t Row, int32_t Col)
{
    const TSheetInfo none;
    TTokenWalker w(Data, none);
    w.CopyRow = Row;
    w.CopyCol = Col;
    w.Walk(Start, End);
}
