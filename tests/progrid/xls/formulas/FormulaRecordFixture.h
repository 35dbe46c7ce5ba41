#pragma once
// Token arrays and formula records built from their fields, and the records read back from a
// stream.
#include "FormulaFixture.h"
#include "tests/progrid/xls/records/RecordFixture.h"
#include "xlsAdapter/formulas/duzUXlsFormula.h"
#include "xlsAdapter/formulas/duzUXlsTokenArray.h"

namespace frm {

using namespace rec;

constexpr uint16_t Rel = 0xC000; // relative row and column

inline ByteArray Bytes(const QByteArray &b) { return ByteArray(b.begin(), b.end()); }
inline QByteArray Q(const ByteArray &b)
{
    return QByteArray(reinterpret_cast<const char *>(b.data()), qsizetype(b.size()));
}

inline QByteArray Ref(int row, int col, int flags = Rel, int token = 0x24)
{
    return B({token}) + Le16(row) + Le16(col | flags);
}
inline QByteArray Area(int r1, int r2, int c1, int c2, int flags = Rel, int token = 0x25)
{
    return B({token}) + Le16(r1) + Le16(r2) + Le16(c1 | flags) + Le16(c2 | flags);
}
inline QByteArray Ref3D(int ext, int row, int col, int flags = 0)
{
    return B({0x3A}) + Le16(ext) + Le16(row) + Le16(col | flags);
}
inline QByteArray Area3D(int ext, int r1, int r2, int c1, int c2, int flags = 0)
{
    return B({0x3B}) + Le16(ext) + Le16(r1) + Le16(r2) + Le16(c1 | flags) + Le16(c2 | flags);
}

// The data of a FORMULA cell: place, format, 8 result bytes, options, tokens.
inline QByteArray FormulaData(int row, int col, const QByteArray &result, const QByteArray &tokens, int options = 0)
{
    return Le16(row) + Le16(col) + Le16(15) + result + Le16(options) + Le32(0) + Le16(int(tokens.size())) + tokens;
}
inline QByteArray NumberResult(double v)
{
    QByteArray b(8, 0);
    std::memcpy(b.data(), &v, 8);
    return b;
}
// A result of type 0..3 with its byte.
inline QByteArray SpecialResult(int type, int value) { return B({type, 0, value, 0, 0, 0, 0xFF, 0xFF}); }

// The data of a NAME: 8-bit characters, local to sheet `sheet` (-1: global).
inline QByteArray NameData(const QString &name, const QByteArray &tokens, int sheet = -1)
{
    return Le16(0) + B({0, int(name.size())}) + Le16(int(tokens.size())) + Le16(0) + Le16(sheet + 1) + B({0, 0, 0, 0})
           + B({0}) + name.toLatin1() + tokens;
}

// Rows and columns move on the formula's own sheet.
inline TSheetInfo OnSheet(int sheet)
{
    TSheetInfo s;
    s.InsSheet = s.FormulaSheet = sheet;
    return s;
}

inline QString DecodeFormula(const TFormulaRecord &r, IFormulaCellList *cells = nullptr)
{
    return DecodeFormulaTokens(r.Data, r.DataSize, 22, cells);
}

} // namespace frm
