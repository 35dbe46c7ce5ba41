// Formula text to tokens: a recursive descent with one routine per precedence level, each one
// emitting its tokens as soon as its operands are complete, so the output is already postfix.
#include "xlsAdapter/formulas/duzUXlsFormulaParser.h"

#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsStrings.h"

#include <cmath>
#include <cstring>

namespace {

const char *const SFormulaStart = "Formula must start with \"=\": \"%s\"";
const char *const SFormulaTooLong = "Formula too long: \"%s\"";
const char *const SUnexpectedEof = "Unexpected end of formula: \"%s\"";
const char *const SUnexpectedChar = "Unexpected char \"%s\" at pos %d on formula: \"%s\"";
const char *const SUnterminatedString = "Unterminated string on formula: \"%s\"";
const char *const SStringExpected = "String expected";
const char *const SMissingParen = "Missing closing parentheses on formula: \"%s\"";
const char *const SUnexpectedId = "Unexpected Identifier: \"%s\" on formula \"%s\"";
const char *const SFunctionNotFound = "Function not found: \"%s\" on formula \"%s\"";
const char *const SInvalidParams = "Invalid number of parameters to function \"%s\": Expected %d and found %d";
const char *const SInvalidSheet = "Invalid sheet: %s";
const char *const SExternNames = "External names are not supported: ";
const char *const SArrayFormulas = "Writing array formulas is not yet supported";
const char *const SCantEvaluate = "Formula can't be evaluated: \"%s\"";
const char *const SLogicalError = "Tarvix: Logical Error";

// ParsePos may not pass this: at most 1023 characters are read.
constexpr int32_t MaxFormulaLen = 1024;

constexpr uint8_t ptgParen = 0x15;
constexpr uint8_t ptgAttr = 0x19;

[[noreturn]] void Raise(const char *Fmt, std::initializer_list<TVarRec> Args)
{
    throw Exception(Format(QString::fromLatin1(Fmt), Args));
}
[[noreturn]] void LogicalError() { throw Exception(QString::fromLatin1(SLogicalError)); }

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool IsLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}
bool IsNameChar(QChar c)
{
    return IsLetter(c) || IsDigit(c) || c == QLatin1Char('_') || c == QLatin1Char('\\') || c == QLatin1Char('.') ||
           c == QLatin1Char(':');
}

TFmReturnType TokenClass(uint8_t t)
{
    if (t == 0x0F || t == 0x10 || t == 0x11 || (t & 0x60) == 0x20)
        return fmRef;
    if ((t & 0x60) == 0x60)
        return fmArray;
    return fmValue;
}

uint8_t ClassBits(TFmReturnType c) { return c == fmValue ? 0x40 : c == fmRef ? 0x20 : 0x60; }

// Only tokens that carry class bits change.
void SetTokenClass(uint8_t &t, TFmReturnType c)
{
    if (t & 0x60)
        t = uint8_t((t & ~0x60) | ClassBits(c));
}

TFmReturnType ParamClass(const TCellFunctionData &f, int32_t k)
{
    const QChar c = FunctionParamLetter(f, k);
    if (c == QLatin1Char('V') || c == QLatin1Char('-'))
        return fmValue;
    if (c == QLatin1Char('R'))
        return fmRef;
    if (c == QLatin1Char('A'))
        return fmArray;
    LogicalError();
}

} // namespace

TParseString::TParseString(const QString &aw, IFormulaCellList *aCellList, TFmReturnType ReturnType)
    : Fw(aw), FCellList(aCellList), InitialRefMode(ReturnType)
{
    for (const TFormulaErrorText &e : FormulaErrorTexts)
        MaxErrorLen = qMax(MaxErrorLen, int32_t(std::strlen(e.Text)));
}

std::unique_ptr<TParseString> TParseString::CreateExt(const QString &aw, IFormulaCellList *aCellList, bool aForce3D,
                                                      const QString &aDefault3DExternSheet,
                                                      TFmReturnType ReturnType)
{
    auto p = std::make_unique<TParseString>(aw, aCellList, ReturnType);
    p->Default3DExternSheet = aDefault3DExternSheet;
    p->Force3d = aForce3D;
    return p;
}

int32_t TParseString::TotalSize() const { return int32_t(FParsedData.size() + FParsedArrayData.size() + 2); }

void TParseString::CopyToPtr(uint8_t *Ptr, int32_t aPos) const
{
    SetWord(Ptr, aPos, int32_t(FParsedData.size() + FParsedArrayData.size()));
    CopyToPtrNoLen(Ptr, aPos + 2);
}

void TParseString::CopyToPtrNoLen(uint8_t *Ptr, int32_t destIndex) const
{
    if (!FParsedData.empty())
        std::memcpy(Ptr + destIndex, FParsedData.data(), FParsedData.size());
    if (!FParsedArrayData.empty())
        std::memcpy(Ptr + destIndex + FParsedData.size(), FParsedArrayData.data(), FParsedArrayData.size());
}

void TParseString::Parse()
{
    LastRefOp = -1;
    DirectlyInFormula.clear();
    FParsedData.clear();
    FParsedArrayData.clear();
    if (Fw.isEmpty() || Fw[0] != QLatin1Char('='))
        Raise(SFormulaStart, {Fw});
    NextChar();
    Expression();
    ConvertLastRefValueType(InitialRefMode);
    if (!AtEnd())
        UnexpectedChar(CharAt(ParsePos));
    if (StackWs.Count() > 0)
        LogicalError();

    // What cannot be read back is not written.
    ByteArray check(size_t(TotalSize()), 0);
    CopyToPtr(check.data(), 0);
    try {
        DecodeFormulaTokens(check, 2, FCellList);
    } catch (const Exception &) {
        Raise(SCantEvaluate, {Fw});
    }
}

// ---------------------------------------------------------------------------------------------
// Reading

bool TParseString::PeekChar(QChar &c) const
{
    if (AtEnd())
        return false;
    c = CharAt(ParsePos);
    return true;
}

bool TParseString::PeekCharWs(QChar &c) const
{
    int32_t p = ParsePos;
    while (p <= Fw.size() && CharAt(p) == QLatin1Char(' '))
        ++p;
    if (p > Fw.size())
        return false;
    c = CharAt(p);
    return true;
}

void TParseString::NextChar()
{
    if (AtEnd())
        return;
    if (++ParsePos > MaxFormulaLen)
        Raise(SFormulaTooLong, {Fw});
}

void TParseString::SkipWhiteSpaces()
{
    int32_t count = 0;
    while (!AtEnd() && CharAt(ParsePos) == QLatin1Char(' ')) {
        if (count < 255)
            ++count;
        NextChar();
    }
    if (AtEnd())
        return;
    const QChar c = CharAt(ParsePos);
    const uint8_t kind = c == QLatin1Char('(') ? 2 : c == QLatin1Char(')') ? 4 : 0;
    StackWs.Push({uint8_t(count), kind});
}

void TParseString::RestorePos(int32_t SavePos, int32_t SaveWs)
{
    ParsePos = SavePos;
    TWhiteSpace ws;
    while (StackWs.Count() > SaveWs)
        StackWs.Pop(ws);
}

void TParseString::UnexpectedChar(QChar c) const { Raise(SUnexpectedChar, {QString(c), ParsePos, Fw}); }
void TParseString::UnexpectedEof() const { Raise(SUnexpectedEof, {Fw}); }
void TParseString::UnexpectedIdentifier(const QString &Id) const { Raise(SUnexpectedId, {Id, Fw}); }

// ---------------------------------------------------------------------------------------------
// Emitting

void TParseString::AddParsedSpace(const TWhiteSpace &ws)
{
    FParsedData.insert(FParsedData.end(), {ptgAttr, 0x40, ws.Kind, ws.Count});
}

void TParseString::AddParsed(const ByteArray &Bytes, bool PopWhiteSpace)
{
    if (PopWhiteSpace) {
        TWhiteSpace ws;
        StackWs.Pop(ws);
        if (ws.Count > 0)
            AddParsedSpace(ws);
    }
    if (Bytes[0] != ptgParen && Bytes[0] != ptgAttr)
        LastRefOp = int32_t(FParsedData.size());
    FParsedData.insert(FParsedData.end(), Bytes.begin(), Bytes.end());
}

void TParseString::AddParsed(std::initializer_list<uint8_t> Bytes, bool PopWhiteSpace)
{
    AddParsed(ByteArray(Bytes), PopWhiteSpace);
}

void TParseString::ConvertLastRefValueType(TFmReturnType RefMode)
{
    if (LastRefOp < 0)
        LogicalError();
    uint8_t &t = FParsedData[size_t(LastRefOp)];
    if (RefMode == fmValue) {
        if (TokenClass(t) != fmArray)
            SetTokenClass(t, fmValue);
    } else if (RefMode == fmArray) {
        SetTokenClass(t, fmArray);
    }
}

// ---------------------------------------------------------------------------------------------
// Operators, lowest precedence first

void TParseString::Expression()
{
    ConcatExpression();
    QChar c;
    while (PeekCharWs(c) && (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>'))) {
        ConvertLastRefValueType(fmValue);
        SkipWhiteSpaces();
        NextChar();
        uint8_t op = c == QLatin1Char('=') ? 0x0B : c == QLatin1Char('<') ? 0x09 : 0x0D;
        QChar c2;
        if (PeekChar(c2)) {
            const QString two = QString(c) + c2;
            const uint8_t op2 = two == QLatin1String(">=") ? 0x0C
                                : two == QLatin1String("<=") ? 0x0A
                                : two == QLatin1String("<>") ? 0x0E
                                                             : 0;
            if (op2) {
                NextChar();
                op = op2;
            }
        }
        ConcatExpression();
        ConvertLastRefValueType(fmValue);
        AddParsed({op});
    }
}

template <class Next>
void TParseString::BinaryLevel(Next next, std::initializer_list<std::pair<char, uint8_t>> Ops)
{
    (this->*next)();
    QChar c;
    while (PeekCharWs(c)) {
        uint8_t op = 0;
        for (const auto &o : Ops)
            if (c == QLatin1Char(o.first))
                op = o.second;
        if (!op)
            return;
        ConvertLastRefValueType(fmValue);
        SkipWhiteSpaces();
        NextChar();
        (this->*next)();
        ConvertLastRefValueType(fmValue);
        AddParsed({op});
    }
}

void TParseString::ConcatExpression() { BinaryLevel(&TParseString::AddExpression, {{'&', 0x08}}); }
void TParseString::AddExpression() { BinaryLevel(&TParseString::MultExpression, {{'+', 0x03}, {'-', 0x04}}); }
void TParseString::MultExpression() { BinaryLevel(&TParseString::PowerExpression, {{'*', 0x05}, {'/', 0x06}}); }
void TParseString::PowerExpression() { BinaryLevel(&TParseString::PercentExpression, {{'^', 0x07}}); }

void TParseString::PercentExpression()
{
    UnaryExpression();
    QChar c;
    while (PeekCharWs(c) && c == QLatin1Char('%')) {
        ConvertLastRefValueType(fmValue);
        SkipWhiteSpaces();
        NextChar();
        AddParsed({0x14});
    }
}

void TParseString::UnaryExpression()
{
    QString signs;
    QChar c;
    while (PeekCharWs(c) && (c == QLatin1Char('+') || c == QLatin1Char('-'))) {
        SkipWhiteSpaces();
        NextChar();
        signs += c;
    }
    RefExpression();
    if (signs.isEmpty())
        return;
    ConvertLastRefValueType(fmValue);
    // The sign next to the operand applies first, so that the tokens read back as written.
    for (qsizetype i = signs.size() - 1; i >= 0; --i)
        AddParsed({uint8_t(signs[i] == QLatin1Char('-') ? 0x13 : 0x12)});
}

bool TParseString::LastIsRef() const
{
    return LastRefOp >= 0 && TokenClass(FParsedData[size_t(LastRefOp)]) == fmRef;
}

void TParseString::RefExpression()
{
    Factor();
    QChar c;
    while (PeekCharWs(c) &&
           (c == QLatin1Char(':') || (c == QLatin1Char(',') && !DirectlyInFormula.endsWith(QLatin1Char('1'))))) {
        // A range or union joins references only: "11.:111" would otherwise read back as rows,
        // and "=:E" has no operand before its colon at all.
        if (!LastIsRef())
            UnexpectedChar(c);
        SkipWhiteSpaces();
        NextChar();
        Factor();
        if (!LastIsRef())
            UnexpectedChar(c);
        AddParsed({uint8_t(c == QLatin1Char(':') ? 0x11 : 0x10)});
    }
}

// ---------------------------------------------------------------------------------------------
// Operands

void TParseString::Factor()
{
    QChar c;
    if (!PeekCharWs(c))
        UnexpectedEof();
    if (c.unicode() >= 256)
        UnexpectedChar(c);
    if (c == QLatin1Char('(')) {
        SkipWhiteSpaces();
        NextChar();
        DirectlyInFormula += QLatin1Char('0');
        Expression();
        DirectlyInFormula.chop(1);
        if (!PeekCharWs(c) || c != QLatin1Char(')'))
            Raise(SMissingParen, {Fw});
        SkipWhiteSpaces();
        NextChar();
        TWhiteSpace ws;
        StackWs.Pop(ws);
        if (ws.Count > 0)
            AddParsedSpace(ws);
        AddParsed({ptgParen});
    } else if (c == QLatin1Char('"')) {
        GetString();
    } else if (c == QLatin1Char('{')) {
        throw Exception(QString::fromLatin1(SArrayFormulas));
    } else if (c == QLatin1Char('#')) {
        GetError();
    } else if (!GetRef()) {
        if (IsDigit(c))
            GetNumber();
        else if (IsLetter(c) || c == QLatin1Char('\\') || c == QLatin1Char('_'))
            GetIdentifier();
        else if (c == QLatin1Char('\''))
            GetQuotedSheet();
    }
}

void TParseString::GetNumber()
{
    SkipWhiteSpaces();
    QString s;
    QChar c;
    while (PeekChar(c) && (IsDigit(c) || c == QLatin1Char('.'))) {
        s += c;
        NextChar();
    }
    if (PeekChar(c) && (c == QLatin1Char('e') || c == QLatin1Char('E'))) {
        s += c;
        NextChar();
        if (PeekChar(c) && (c == QLatin1Char('+') || c == QLatin1Char('-'))) {
            s += c;
            NextChar();
        }
        while (PeekChar(c) && IsDigit(c)) {
            s += c;
            NextChar();
        }
    }
    const double v = InvariantTextToFloat(s);
    if (v >= 0 && v <= 65535 && v == std::floor(v)) {
        const int32_t i = int32_t(v);
        AddParsed({0x1E, uint8_t(i), uint8_t(i >> 8)});
        return;
    }
    ByteArray b(9);
    b[0] = 0x1F;
    std::memcpy(b.data() + 1, &v, 8);
    AddParsed(b);
}

QString TParseString::ReadQuoted(QChar Quote)
{
    NextChar();
    QString s;
    for (;;) {
        if (AtEnd())
            Raise(SUnterminatedString, {Fw});
        const QChar c = CharAt(ParsePos);
        NextChar();
        if (c == Quote) {
            QChar n;
            if (!PeekChar(n) || n != Quote)
                break;
            NextChar();
        }
        s += c;
    }
    return s;
}

void TParseString::GetString()
{
    SkipWhiteSpaces();
    QChar c;
    if (!PeekChar(c) || c != QLatin1Char('"'))
        throw Exception(QString::fromLatin1(SStringExpected));
    const QString s = ReadQuoted(c);
    const TExcelString str(1, s, false);
    ByteArray b(size_t(1 + str.TotalSize()));
    b[0] = 0x17;
    str.CopyToPtr(b.data(), 1);
    AddParsed(b);
}

void TParseString::GetError()
{
    SkipWhiteSpaces();
    QString s;
    for (;;) {
        if (AtEnd())
            UnexpectedIdentifier(s);
        s += CharAt(ParsePos);
        NextChar();
        const QString u = UpperCase(s);
        for (const TFormulaErrorText &e : FormulaErrorTexts)
            if (u == QLatin1String(e.Text)) {
                AddParsed({0x1C, e.Code});
                return;
            }
        if (s.size() > MaxErrorLen)
            UnexpectedIdentifier(s);
    }
}

QString TParseString::ReadName()
{
    QString s;
    QChar c;
    while (PeekChar(c) && IsNameChar(c)) {
        s += c;
        NextChar();
    }
    return UpperCase(s);
}

void TParseString::GetIdentifier()
{
    SkipWhiteSpaces();
    const QString s = ReadName();
    QChar c;
    if (PeekChar(c) && c == QLatin1Char('('))
        GetFunction(s);
    else if (PeekChar(c) && c == QLatin1Char('!'))
        GetSheetRef(s);
    else if (s == QLatin1String("TRUE"))
        AddParsed({0x1D, 1});
    else if (s == QLatin1String("FALSE"))
        AddParsed({0x1D, 0});
    else
        UnexpectedIdentifier(s);
}

void TParseString::GetQuotedSheet()
{
    SkipWhiteSpaces();
    QChar c = CharAt(ParsePos);
    const QString s = ReadQuoted(c);
    if (!PeekChar(c))
        UnexpectedEof();
    if (c != QLatin1Char('!'))
        UnexpectedChar(c);
    GetSheetRef(s);
}

void TParseString::GetFunction(const QString &Name)
{
    const int32_t index = FindFunction(Name);
    if (index < 0)
        Raise(SFunctionNotFound, {Name, Fw});
    const TCellFunctionData &f = FuncNameArray()[size_t(index)];
    DirectlyInFormula += QLatin1Char('1');
    NextChar();
    int32_t count = 0;
    for (;;) {
        const int32_t start = ParsePos;
        Expression();
        bool emptyList = false;
        if (ParsePos == start) {
            SkipWhiteSpaces();
            if (AtEnd())
                UnexpectedEof();
            if (count > 0 || CharAt(ParsePos) == QLatin1Char(',')) {
                AddParsed({0x16});
            } else {
                emptyList = true;
                TWhiteSpace ws;
                StackWs.Pop(ws);
                if (ws.Count > 0)
                    AddParsedSpace(ws);
            }
        } else {
            ConvertLastRefValueType(ParamClass(f, count));
            SkipWhiteSpaces();
            if (AtEnd())
                UnexpectedEof();
            TWhiteSpace ws;
            StackWs.Pop(ws); // spaces before "," are dropped
            if (ws.Count > 0 && ws.Kind > 0)
                AddParsedSpace(ws);
        }
        const QChar c = CharAt(ParsePos);
        if (c == QLatin1Char(',')) {
            NextChar();
            if (AtEnd())
                UnexpectedEof();
            ++count;
            continue;
        }
        if (c != QLatin1Char(')'))
            UnexpectedChar(c);
        if (!emptyList)
            ++count;
        break;
    }
    NextChar();
    DirectlyInFormula.chop(1);
    if (count < f.MinArgCount || count > f.MaxArgCount)
        Raise(SInvalidParams, {f.Name, f.MinArgCount, count});
    const uint8_t cls = ClassBits(f.ReturnType);
    if (f.MinArgCount == f.MaxArgCount)
        AddParsed({uint8_t(0x01 + cls), uint8_t(index), uint8_t(index >> 8)});
    else
        AddParsed({uint8_t(0x02 + cls), uint8_t(count), uint8_t(index), uint8_t(index >> 8)});
}

// ---------------------------------------------------------------------------------------------
// References

void TParseString::ReadCellAddress(TCellAddress &a)
{
    a = TCellAddress();
    QChar c;
    if (PeekChar(c) && c == QLatin1Char('$')) {
        NextChar();
        if (PeekChar(c) && IsDigit(c))
            a.RowAbs = true;
        else
            a.ColAbs = true;
    }
    while (PeekChar(c) && IsLetter(c) && a.Col <= 256) {
        a.Col = a.Col * 26 + (c.toUpper().unicode() - 'A' + 1);
        a.HasLetters = true;
        NextChar();
    }
    if (PeekChar(c) && c == QLatin1Char('$')) {
        NextChar();
        a.RowAbs = true;
    }
    while (PeekChar(c) && IsDigit(c) && a.Row < 65537) {
        a.Row = a.Row * 10 + (c.unicode() - '0');
        a.HasDigits = true;
        NextChar();
    }
}

// The second corner after the ":" at ParsePos. A side given only by rows or only by columns
// spans the whole sheet the other way; both corners must then lie on the sheet.
bool TParseString::ReadArea(TCellAddress &First, TCellAddress &Second)
{
    NextChar();
    ReadCellAddress(Second);
    if (!First.HasLetters && !Second.HasLetters) {
        First.Col = 1;
        Second.Col = 256;
    }
    if (!First.HasDigits && !Second.HasDigits) {
        First.Row = 1;
        Second.Row = 65536;
    }
    return First.InRange() && Second.InRange();
}

int32_t TParseString::ExternSheetOf(const QString &SheetText)
{
    const qsizetype colon = SheetText.indexOf(QLatin1Char(':'));
    const QString first = colon < 0 ? SheetText : SheetText.left(colon);
    const QString last = colon < 0 ? SheetText : SheetText.mid(colon + 1);
    int32_t i1 = -1;
    int32_t i2 = -1;
    if (!FCellList || !FCellList->FindSheet(first, i1))
        Raise(SInvalidSheet, {first});
    if (!FCellList->FindSheet(last, i2))
        Raise(SInvalidSheet, {last});
    return FCellList->AddExternSheet(i1, i2);
}

namespace {

uint16_t ColWord(int32_t Col, bool ColAbs, bool RowAbs)
{
    return uint16_t(((Col - 1) & 0xFF) | (RowAbs ? 0 : 0x8000) | (ColAbs ? 0 : 0x4000));
}

void PutWord(ByteArray &b, int32_t v)
{
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

} // namespace

void TParseString::AddCellRef(const TCellAddress &a, int32_t ExternSheet)
{
    ByteArray b{uint8_t(ExternSheet < 0 ? 0x24 : 0x3A)};
    if (ExternSheet >= 0)
        PutWord(b, ExternSheet);
    PutWord(b, a.Row - 1);
    PutWord(b, ColWord(a.Col, a.ColAbs, a.RowAbs));
    AddParsed(b);
}

void TParseString::AddAreaRef(const TCellAddress &a, const TCellAddress &z, int32_t ExternSheet)
{
    ByteArray b{uint8_t(ExternSheet < 0 ? 0x25 : 0x3B)};
    if (ExternSheet >= 0)
        PutWord(b, ExternSheet);
    PutWord(b, a.Row - 1);
    PutWord(b, z.Row - 1);
    PutWord(b, ColWord(a.Col, a.ColAbs, a.RowAbs));
    PutWord(b, ColWord(z.Col, z.ColAbs, z.RowAbs));
    AddParsed(b);
}

bool TParseString::GetRef()
{
    const int32_t savePos = ParsePos;
    const int32_t saveWs = StackWs.Count();
    SkipWhiteSpaces();
    TCellAddress a;
    ReadCellAddress(a);
    if (a.HasLetters && a.HasDigits && !a.InRange()) {
        RestorePos(savePos, saveWs);
        return false;
    }
    // Forced 3-D references are absolute.
    const auto force3d = [this](TCellAddress &x, TCellAddress &y) {
        if (Force3d)
            x.ColAbs = x.RowAbs = y.ColAbs = y.RowAbs = true;
        return Force3d ? ExternSheetOf(Default3DExternSheet) : -1;
    };
    QChar c;
    if (PeekChar(c) && c == QLatin1Char(':')) {
        const int32_t colonPos = ParsePos;
        TCellAddress first = a;
        TCellAddress second;
        if (ReadArea(first, second)) {
            const int32_t ext = force3d(first, second);
            AddAreaRef(first, second, ext);
            return true;
        }
        ParsePos = colonPos;
    }
    if (!a.HasLetters || !a.HasDigits) {
        RestorePos(savePos, saveWs);
        return false;
    }
    const int32_t ext = force3d(a, a);
    AddCellRef(a, ext);
    return true;
}

void TParseString::GetSheetRef(const QString &SheetText)
{
    NextChar(); // "!"
    const int32_t ext = ExternSheetOf(SheetText);
    const int32_t start = ParsePos;
    TCellAddress a;
    ReadCellAddress(a);
    QChar c;
    if ((!a.HasLetters && !a.HasDigits) || a.Row > 65536 || a.Col > 256 || (PeekChar(c) && IsLetter(c))) {
        ParsePos = start;
        throw Exception(QString::fromLatin1(SExternNames) + ReadName());
    }
    const QString where = QString::number(a.Row) + QStringLiteral(", ") + QString::number(a.Col);
    if (a.HasLetters && a.HasDigits && !a.InRange())
        UnexpectedIdentifier(where);
    if (PeekChar(c) && c == QLatin1Char(':')) {
        const int32_t colonPos = ParsePos;
        TCellAddress first = a;
        TCellAddress second;
        if (ReadArea(first, second)) {
            AddAreaRef(first, second, ext);
            return;
        }
        ParsePos = colonPos;
    }
    if (!a.HasLetters || !a.HasDigits)
        UnexpectedIdentifier(where);
    AddCellRef(a, ext);
}
