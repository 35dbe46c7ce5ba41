#include "xlsAdapter/formulas/duzUXlsFormulaParser.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsTypes.h"

#include <cstring>
#include <vector>

namespace {

const char *const STokenNotSupported = "Error reading formula, Token Id: 0x%2x is not supported";
const char *const SReferencesNil = "References must not be nil";

[[noreturn]] void TokenError(int32_t Token)
{
    throw Exception(Format(QString::fromLatin1(STokenNotSupported), {Token}));
}

QString ColText(uint16_t ColWord)
{
    return (ColWord & 0x4000 ? QString() : QStringLiteral("$")) + ColumnLetters((ColWord & 0xFF) + 1);
}

QString CellText(uint16_t Row, uint16_t ColWord)
{
    return ColText(ColWord) + (ColWord & 0x8000 ? QString() : QStringLiteral("$")) + QString::number(Row + 1);
}

QString AreaText(uint16_t Row1, uint16_t Row2, uint16_t Col1, uint16_t Col2)
{
    if (Row1 == 0 && Row2 == 65535)
        return ColText(Col1) + QLatin1Char(':') + ColText(Col2);
    return CellText(Row1, Col1) + QLatin1Char(':') + CellText(Row2, Col2);
}

QString QuotedText(const QString &s)
{
    QString r = s;
    r.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + r + QLatin1Char('"');
}

// One pass over a token array. Tokens may not reach past TokenLimit, array-constant data not
// past DataSize; a formula of an ARRAY record (Nested) may not point at another one.
class TDecoder
{
public:
    TDecoder(const uint8_t *aData, int32_t aDataSize, int32_t aStart, IFormulaCellList *aCellList, bool aNested)
        : Data(aData), DataSize(aDataSize), Start(aStart), CellList(aCellList), Nested(aNested)
    {
    }

    QString Run()
    {
        if (Start < 2 || Start > DataSize)
            TokenError(0);
        End = Start + GetWord(Data, Start - 2);
        TokenLimit = qMin(End, DataSize);
        ArrayPos = End;
        int32_t pos = Start;
        int32_t last = 0;
        while (pos < End) {
            if (pos >= DataSize)
                TokenError(last); // the length word promises more tokens than the data holds
            last = Data[pos];
            pos += Token(pos);
        }
        QString s;
        Stack.Pop(s);
        return Prefix + s;
    }

private:
    const uint8_t *Data;
    int32_t DataSize;
    int32_t Start;
    IFormulaCellList *CellList;
    bool Nested;
    int32_t End = 0;
    int32_t TokenLimit = 0;
    int32_t ArrayPos = 0;
    QString Prefix = QStringLiteral("=");
    TFormulaStack Stack;

    // Stops a token whose data would run past the tokens.
    void Need(int32_t pos, int32_t n) const
    {
        if (int64_t(pos) + 1 + n > TokenLimit)
            TokenError(Data[pos]);
    }
    // The same for array-constant data.
    void NeedArray(int32_t n, uint8_t Token) const
    {
        if (int64_t(ArrayPos) + n > DataSize)
            TokenError(Token);
    }
    IFormulaCellList *References() const
    {
        Assert(CellList != nullptr, QString::fromLatin1(SReferencesNil));
        return CellList;
    }

    void PushText(const QString &s) { Stack.Push(Stack.FmSpaces + s); }
    // A reference error token of n data bytes.
    int32_t RefError(int32_t pos, int32_t n)
    {
        Need(pos, n);
        PushText(QStringLiteral("#REF!"));
        return n + 1;
    }
    QString Pop()
    {
        QString s;
        Stack.Pop(s);
        return s;
    }
    void Binary(const char *Op)
    {
        const QString right = Pop();
        const QString left = Pop();
        Stack.Push(left + Stack.FmSpaces + QLatin1String(Op) + right);
    }
    QString Arguments(int32_t Count)
    {
        if (Count < 1)
            return QStringLiteral("()");
        std::vector<QString> args(static_cast<size_t>(Count));
        for (int32_t i = Count - 1; i >= 0; --i)
            args[size_t(i)] = Pop();
        QString r = QStringLiteral("(");
        for (int32_t i = 0; i < Count; ++i) {
            if (i > 0)
                r += QLatin1Char(',');
            r += args[size_t(i)];
        }
        return r + QLatin1Char(')');
    }
    const TCellFunctionData &Function(int32_t Index) const
    {
        if (Index >= FunctionCount)
            XlsIndexError(Index, QStringLiteral("Function name"), 0, FunctionCount - 1);
        return FuncNameArray()[size_t(Index)];
    }

    // Acts on the token at pos; the token's whole length.
    int32_t Token(int32_t pos)
    {
        const uint8_t b = Data[pos];
        const uint8_t t = b & 0x40 ? uint8_t((b & 0x3F) | 0x20) : uint8_t(b & 0x3F);
        const uint8_t *d = Data + pos + 1;
        static const char *const Operators[] = {"+", "-", "*", "/", "^", "&", "<", "<=", "=", ">=", ">", "<>", " ", ",", ":"};
        switch (t) {
        case 0x01:
        case 0x02:
            return ArrayOrTable(pos, b, t);
        case 0x03: case 0x04: case 0x05: case 0x06: case 0x07: case 0x08: case 0x09: case 0x0A:
        case 0x0B: case 0x0C: case 0x0D: case 0x0E: case 0x0F: case 0x10: case 0x11:
            Binary(Operators[t - 0x03]);
            return 1;
        case 0x12:
        case 0x13: {
            const QString s = Pop();
            PushText(QLatin1String(t == 0x12 ? "+" : "-") + s);
            return 1;
        }
        case 0x14: {
            const QString s = Pop();
            Stack.Push(s + Stack.FmSpaces + QLatin1Char('%'));
            return 1;
        }
        case 0x15: {
            const QString s = Pop();
            Stack.Push(Stack.FmPreSpaces + QLatin1Char('(') + s + Stack.FmPostSpaces + QLatin1Char(')'));
            return 1;
        }
        case 0x16:
            PushText(QString());
            return 1;
        case 0x17: {
            int64_t size = 0;
            QString s;
            try {
                ReadStrData(false, Data, pos + 1, TokenLimit, size, s);
            } catch (const Exception &) {
                TokenError(b);
            }
            PushText(QuotedText(s));
            return int32_t(1 + size);
        }
        case 0x19:
            return Attribute(pos);
        case 0x1A:
        case 0x1B:
        case 0x28:
        case 0x2F:
            return 1;
        case 0x1C:
            Need(pos, 1);
            PushText(FormulaErrorText(d[0]));
            return 2;
        case 0x1D:
            Need(pos, 1);
            PushText(QLatin1String(d[0] == 1 ? "TRUE" : "FALSE"));
            return 2;
        case 0x1E:
            Need(pos, 2);
            PushText(QString::number(GetWord(d, 0)));
            return 3;
        case 0x1F: {
            Need(pos, 8);
            double v;
            std::memcpy(&v, d, 8);
            PushText(FloatToInvariantText(v));
            return 9;
        }
        case 0x20:
            Need(pos, 7);
            PushText(ArrayConstant(b));
            return 8;
        case 0x21: {
            Need(pos, 2);
            const TCellFunctionData &f = Function(GetWord(d, 0));
            const QString args = Arguments(f.MaxArgCount);
            PushText(f.Name + args);
            return 3;
        }
        case 0x22: {
            Need(pos, 3);
            const int32_t count = d[0] & 0x7F;
            const int32_t index = GetWord(d, 1);
            if (index == 255) {
                const QString args = Arguments(count - 1);
                const QString name = Pop();
                PushText(name + args);
            } else {
                const TCellFunctionData &f = Function(index);
                const QString args = Arguments(count);
                PushText(f.Name + args);
            }
            return 4;
        }
        case 0x23:
            Need(pos, 4);
            PushText(References()->GetName(-1, GetWord(d, 0) - 1));
            return 5;
        case 0x24:
        case 0x2C:
            Need(pos, 4);
            PushText(CellText(GetWord(d, 0), GetWord(d, 2)));
            return 5;
        case 0x25:
        case 0x2D:
            Need(pos, 8);
            PushText(AreaText(GetWord(d, 0), GetWord(d, 2), GetWord(d, 4), GetWord(d, 6)));
            return 9;
        case 0x26:
        case 0x2E: {
            Need(pos, 6);
            NeedArray(2, b);
            const int32_t rects = GetWord(Data, ArrayPos);
            NeedArray(2 + 8 * rects, b);
            ArrayPos += 2 + 8 * rects;
            return 7;
        }
        case 0x27:
            Need(pos, 6);
            return 7;
        case 0x29:
            Need(pos, 2);
            return 3;
        case 0x2A:
            return RefError(pos, 4);
        case 0x2B:
            return RefError(pos, 8);
        case 0x39: {
            Need(pos, 6);
            IFormulaCellList *refs = References();
            const int32_t sheet = GetWord(d, 0);
            PushText(refs->GetSheetName(sheet) + refs->GetName(sheet, GetWord(d, 2) - 1));
            return 7;
        }
        case 0x3A:
            Need(pos, 6);
            PushText(References()->GetSheetName(GetWord(d, 0)) + CellText(GetWord(d, 2), GetWord(d, 4)));
            return 7;
        case 0x3B:
            Need(pos, 10);
            PushText(References()->GetSheetName(GetWord(d, 0)) +
                     AreaText(GetWord(d, 2), GetWord(d, 4), GetWord(d, 6), GetWord(d, 8)));
            return 11;
        case 0x3C:
            return RefError(pos, 6);
        case 0x3D:
            return RefError(pos, 10);
        default:
            TokenError(b);
        }
    }

    // Exp and Tbl: the array or table formula of the cell they point at.
    int32_t ArrayOrTable(int32_t pos, uint8_t b, uint8_t t)
    {
        Need(pos, 4);
        if (Nested)
            TokenError(b);
        const int32_t row = GetWord(Data, pos + 1);
        const int32_t col = GetWord(Data, pos + 3);
        if (t == 0x01) {
            const ByteArray a = References()->ArrayFormula(row, col);
            if (a.size() < 14)
                TokenError(b);
            PushText(QLatin1Char('{') + TDecoder(a.data(), int32_t(a.size()), 14, CellList, true).Run() +
                     QLatin1Char('}'));
        } else {
            const ByteArray tb = References()->TableFormula(row, col);
            if (tb.size() < 16)
                TokenError(b);
            QString args = CellText(GetWord(tb.data(), 8), GetWord(tb.data(), 10)) + QLatin1Char(',');
            if (tb[6] & 0x08)
                args += CellText(GetWord(tb.data(), 12), GetWord(tb.data(), 14));
            PushText(QStringLiteral("{=TABLE(") + args + QStringLiteral(")}"));
        }
        Prefix.clear();
        return 5;
    }

    int32_t Attribute(int32_t pos)
    {
        Need(pos, 3);
        const uint8_t flags = Data[pos + 1];
        if (flags & 0x04) {
            const int32_t n = GetWord(Data, pos + 2);
            const int32_t size = 4 + 2 * (n + 1);
            Need(pos, size - 1);
            return size;
        }
        if (flags & 0x10) {
            const QString s = Pop();
            PushText(QStringLiteral("SUM(") + s + QLatin1Char(')'));
        } else if (flags & 0x40) {
            const int32_t count = Data[pos + 3];
            const QString spaces(count, QLatin1Char(' '));
            const QString returns(count, QChar(13));
            switch (Data[pos + 2]) {
            case 0: Stack.FmSpaces = spaces; break;
            case 1: Stack.FmSpaces = returns; break;
            case 2: Stack.FmPreSpaces = spaces; break;
            case 3: Stack.FmPreSpaces = returns; break;
            case 4: Stack.FmPostSpaces = spaces; break;
            case 5: Stack.FmPostSpaces = returns; break;
            default: break;
            }
        }
        return 4;
    }

    // The next array constant of the array data: "{a,b;c,d}".
    QString ArrayConstant(uint8_t Token)
    {
        NeedArray(3, Token);
        const int32_t cols = Data[ArrayPos] + 1;
        const int32_t rows = GetWord(Data, ArrayPos + 1) + 1;
        ArrayPos += 3;
        QString r = QStringLiteral("{");
        for (int32_t row = 0; row < rows; ++row) {
            if (row > 0)
                r += QLatin1Char(';');
            for (int32_t col = 0; col < cols; ++col) {
                if (col > 0)
                    r += QLatin1Char(',');
                r += ArrayItem(Token);
            }
        }
        return r + QLatin1Char('}');
    }

    QString ArrayItem(uint8_t Token)
    {
        NeedArray(1, Token);
        const uint8_t type = Data[ArrayPos++];
        switch (type) {
        case 1: {
            NeedArray(8, Token);
            double v;
            std::memcpy(&v, Data + ArrayPos, 8);
            ArrayPos += 8;
            return FloatToInvariantText(v);
        }
        case 2: {
            int64_t size = 0;
            QString s;
            try {
                ReadStrData(true, Data, ArrayPos, DataSize, size, s);
            } catch (const Exception &) {
                TokenError(Token);
            }
            ArrayPos += int32_t(size);
            return QuotedText(s);
        }
        case 4:
        case 0x10: {
            NeedArray(8, Token);
            const uint8_t v = Data[ArrayPos];
            ArrayPos += 8;
            if (type == 4)
                return QLatin1String(v == 1 ? "TRUE" : "FALSE");
            return FormulaErrorText(v);
        }
        default:
            TokenError(type);
        }
    }
};

} // namespace

QString DecodeFormulaTokens(const uint8_t *Data, int32_t DataSize, int32_t Start, IFormulaCellList *CellList)
{
    return TDecoder(Data, DataSize, Start, CellList, false).Run();
}

QString DecodeFormulaTokens(const ByteArray &Data, int32_t Start, IFormulaCellList *CellList)
{
    return DecodeFormulaTokens(Data.data(), int32_t(Data.size()), Start, CellList);
}
