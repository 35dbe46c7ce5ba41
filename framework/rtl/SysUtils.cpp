#include "framework/rtl/SysUtils.h"
#include <QLocale>
#include <QCollator>
#include <limits>

TFormatSettings FormatSettings;

namespace {
thread_local const TFormatSettings *activeSettings = nullptr;
}

const TFormatSettings &ActiveFormatSettings() { return activeSettings ? *activeSettings : FormatSettings; }

TFormatSettingsScope::TFormatSettingsScope(const TFormatSettings &Settings) : saved_(activeSettings)
{
    activeSettings = &Settings;
}

TFormatSettingsScope::~TFormatSettingsScope() { activeSettings = saved_; }

// ---------------------------------------------------------------------------------------------
// Integers

QString IntToStr(int32_t Value) { return QString::number(Value); }
QString IntToStr(int64_t Value) { return QString::number(Value); }
QString UIntToStr(uint64_t Value) { return QString::number(Value); }

QString IntToHex(int64_t Value, int Digits)
{
    QString s = QString::number(static_cast<uint64_t>(Value), 16).toUpper();
    if (s.size() < Digits)
        s.prepend(QString(Digits - s.size(), QLatin1Char('0')));
    return s;
}

namespace {

// Parses like the run-time's Val: leading blanks, sign, then decimal digits or a hex form.
// Hex forms may fill the whole unsigned width (so $FFFFFFFF is -1 for 32 bits).
bool parseInteger(const QString &S, int bits, int64_t &out)
{
    qsizetype i = 0;
    const qsizetype n = S.size();
    while (i < n && S[i] == QLatin1Char(' '))
        ++i;
    bool neg = false;
    if (i < n && (S[i] == QLatin1Char('-') || S[i] == QLatin1Char('+'))) {
        neg = S[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < n && S[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && S[i] == QLatin1Char('0') && (S[i + 1] == QLatin1Char('x') || S[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return false;
    const uint64_t signedMax = bits == 32 ? 0x7FFFFFFFull : 0x7FFFFFFFFFFFFFFFull;
    const uint64_t limit = base == 16 ? (bits == 32 ? 0xFFFFFFFFull : ~0ull) : (neg ? signedMax + 1 : signedMax);
    uint64_t v = 0;
    for (; i < n; ++i) {
        const char16_t c = S[i].unicode();
        const int d = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : 99;
        if (d >= base)
            return false;
        if (v > (limit - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base))
            return false;
        v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    }
    int64_t r;
    if (base == 16)
        r = bits == 32 ? static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(v))) : static_cast<int64_t>(v);
    else
        r = neg ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
    if (base == 16 && neg)
        r = bits == 32 ? static_cast<int32_t>(0u - static_cast<uint32_t>(r)) : static_cast<int64_t>(0ull - static_cast<uint64_t>(r));
    out = r;
    return true;
}

[[noreturn]] void invalidInteger(const QString &S)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(S));
}

} // namespace

bool TryStrToInt(const QString &S, int32_t &Value)
{
    int64_t v;
    if (!parseInteger(S, 32, v))
        return false;
    Value = static_cast<int32_t>(v);
    return true;
}

bool TryStrToInt64(const QString &S, int64_t &Value) { return parseInteger(S, 64, Value); }

int32_t StrToInt(const QString &S)
{
    int32_t v;
    if (!TryStrToInt(S, v))
        invalidInteger(S);
    return v;
}

int64_t StrToInt64(const QString &S)
{
    int64_t v;
    if (!TryStrToInt64(S, v))
        invalidInteger(S);
    return v;
}

int32_t StrToIntDef(const QString &S, int32_t Default)
{
    int32_t v;
    return TryStrToInt(S, v) ? v : Default;
}

int64_t StrToInt64Def(const QString &S, int64_t Default)
{
    int64_t v;
    return TryStrToInt64(S, v) ? v : Default;
}

// ---------------------------------------------------------------------------------------------
// Strings

QString TrimLeft(const QString &S)
{
    qsizetype i = 0;
    while (i < S.size() && S[i].unicode() <= ' ')
        ++i;
    return S.mid(i);
}

QString TrimRight(const QString &S)
{
    qsizetype n = S.size();
    while (n > 0 && S[n - 1].unicode() <= ' ')
        --n;
    return S.left(n);
}

QString Trim(const QString &S) { return TrimLeft(TrimRight(S)); }

QString LfLineBreaks(const QString &S)
{
    return QString(S).replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QString UpperCase(const QString &S)
{
    QString r = S;
    for (QChar &c : r)
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(c.unicode() - 32);
    return r;
}

QString LowerCase(const QString &S)
{
    QString r = S;
    for (QChar &c : r)
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + 32);
    return r;
}

QString AnsiUpperCase(const QString &S) { return S.toUpper(); }
QString AnsiLowerCase(const QString &S) { return S.toLower(); }

int CompareStr(const QString &S1, const QString &S2) { return QString::compare(S1, S2, Qt::CaseSensitive); }
int CompareText(const QString &S1, const QString &S2) { return QString::compare(UpperCase(S1), UpperCase(S2)); }
bool SameText(const QString &S1, const QString &S2) { return CompareText(S1, S2) == 0; }
bool SameStr(const QString &S1, const QString &S2) { return S1 == S2; }

namespace {
int collate(const QString &S1, const QString &S2, Qt::CaseSensitivity cs)
{
    // Locale order; ties broken by code points so that distinct strings never compare equal.
    static thread_local QCollator sensitive = [] {
        QCollator c{QLocale(QLocale::English, QLocale::UnitedStates)};
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    static thread_local QCollator insensitive = [] {
        QCollator c{QLocale(QLocale::English, QLocale::UnitedStates)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    const int r = (cs == Qt::CaseSensitive ? sensitive : insensitive).compare(S1, S2);
    if (r != 0)
        return r < 0 ? -1 : 1;
    return QString::compare(S1, S2, cs);
}
} // namespace

int AnsiCompareStr(const QString &S1, const QString &S2) { return collate(S1, S2, Qt::CaseSensitive); }
int AnsiCompareText(const QString &S1, const QString &S2) { return collate(S1, S2, Qt::CaseInsensitive); }
bool AnsiSameText(const QString &S1, const QString &S2) { return QString::compare(S1, S2, Qt::CaseInsensitive) == 0; }

QString AnsiQuotedStr(const QString &S, QChar Quote)
{
    QString r = S;
    r.replace(Quote, QString(2, Quote));
    return Quote + r + Quote;
}

QString QuotedStr(const QString &S) { return AnsiQuotedStr(S, QLatin1Char('\'')); }

QString AnsiDequotedStr(const QString &S, QChar Quote)
{
    if (S.isEmpty() || S[0] != Quote)
        return S;
    QString r;
    qsizetype i = 1;
    while (i < S.size()) {
        if (S[i] == Quote) {
            if (i + 1 < S.size() && S[i + 1] == Quote) {
                r += Quote;
                i += 2;
                continue;
            }
            return r; // closing quote; the rest is dropped
        }
        r += S[i++];
    }
    return r;
}

QString StringReplace(const QString &S, const QString &OldPattern, const QString &NewPattern,
                      TReplaceFlags Flags)
{
    if (OldPattern.isEmpty())
        return S;
    const Qt::CaseSensitivity cs = Flags.Contains(rfIgnoreCase) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    QString r;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = S.indexOf(OldPattern, from, cs);
        if (at < 0)
            break;
        r += QStringView(S).mid(from, at - from);
        r += NewPattern;
        from = at + OldPattern.size();
        if (!Flags.Contains(rfReplaceAll))
            break;
    }
    r += QStringView(S).mid(from);
    return r;
}

int Pos(const QString &SubStr, const QString &S, int Offset)
{
    if (SubStr.isEmpty() || Offset < 1 || Offset > S.size())
        return 0;
    return static_cast<int>(S.indexOf(SubStr, Offset - 1)) + 1;
}

QString Copy(const QString &S, int Index, int Count)
{
    if (Index < 1)
        Index = 1;
    if (Count <= 0 || Index > S.size())
        return QString();
    return S.mid(Index - 1, Count);
}

void Delete(QString &S, int Index, int Count)
{
    if (Index < 1 || Index > S.size() || Count <= 0)
        return;
    S.remove(Index - 1, Count);
}

void Insert(const QString &Source, QString &S, int Index)
{
    if (Index < 1)
        Index = 1;
    if (Index > S.size() + 1)
        Index = static_cast<int>(S.size()) + 1;
    S.insert(Index - 1, Source);
}

QString StringOfChar(QChar Ch, int Count) { return Count > 0 ? QString(Count, Ch) : QString(); }

QString BoolToStr(bool B, bool UseBoolStrs)
{
    if (UseBoolStrs)
        return B ? QStringLiteral("True") : QStringLiteral("False");
    return B ? QStringLiteral("-1") : QStringLiteral("0");
}

bool TryStrToBool(const QString &S, bool &Value)
{
    const QString t = Trim(S);
    if (SameText(t, QStringLiteral("True"))) { Value = true; return true; }
    if (SameText(t, QStringLiteral("False"))) { Value = false; return true; }
    double d;
    if (TryStrToFloat(t, d)) {
        Value = d != 0;
        return true;
    }
    return false;
}

bool StrToBool(const QString &S)
{
    bool b;
    if (!TryStrToBool(S, b))
        throw EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(S));
    return b;
}

// ---------------------------------------------------------------------------------------------
// Format

namespace {

[[noreturn]] void formatError(const QString &Fmt)
{
    throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(Fmt));
}

} // namespace

QString Format(const QString &Fmt, std::initializer_list<TVarRec> Args)
{
    const TVarRec *args = Args.begin();
    const int argc = static_cast<int>(Args.size());
    int next = 0;
    QString out;
    const qsizetype n = Fmt.size();
    qsizetype i = 0;
    auto takeArg = [&]() -> const TVarRec & {
        if (next >= argc)
            formatError(Fmt);
        return args[next++];
    };
    // A number from the format or '*' (taken from the arguments); -1 when absent.
    auto readNumber = [&](bool allowStar) -> int {
        if (i < n && allowStar && Fmt[i] == QLatin1Char('*')) {
            ++i;
            const TVarRec &a = takeArg();
            if (a.VType != TVarRec::vtInteger && a.VType != TVarRec::vtInt64)
                formatError(Fmt);
            return static_cast<int>(a.I);
        }
        if (i >= n || !Fmt[i].isDigit())
            return -1;
        int v = 0;
        while (i < n && Fmt[i].isDigit()) {
            v = v * 10 + (Fmt[i].unicode() - '0');
            if (v > 100000000)
                formatError(Fmt);
            ++i;
        }
        return v;
    };

    while (i < n) {
        const QChar c = Fmt[i++];
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        if (i >= n)
            formatError(Fmt);
        if (Fmt[i] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        // [index:][-][width][.prec]type
        int num = readNumber(true);
        if (i < n && Fmt[i] == QLatin1Char(':')) {
            ++i;
            if (num < 0)
                num = 0;
            next = num;
            num = -1;
        }
        bool left = false;
        if (num < 0 && i < n && Fmt[i] == QLatin1Char('-')) {
            left = true;
            ++i;
        }
        int width = num >= 0 ? num : readNumber(true);
        int prec = -1;
        if (i < n && Fmt[i] == QLatin1Char('.')) {
            ++i;
            prec = readNumber(true);
            if (prec < 0)
                prec = 0;
        }
        if (i >= n)
            formatError(Fmt);
        const char16_t type = QChar(Fmt[i++]).toUpper().unicode();
        const TVarRec &a = takeArg();
        const bool isInt = a.VType == TVarRec::vtInteger || a.VType == TVarRec::vtInt64;
        QString s;
        switch (type) {
        case 'D':
        case 'U': {
            if (!isInt)
                formatError(Fmt);
            int64_t v = a.I;
            if (type == 'U' && a.VType == TVarRec::vtInteger)
                v = static_cast<uint32_t>(static_cast<int32_t>(v));
            QString digits = QString::number(v < 0 ? -static_cast<uint64_t>(v) : static_cast<uint64_t>(v));
            if (prec > digits.size())
                digits.prepend(QString(prec - digits.size(), QLatin1Char('0')));
            s = (v < 0 ? QStringLiteral("-") : QString()) + digits;
            break;
        }
        case 'X': {
            if (!isInt)
                formatError(Fmt);
            const uint64_t v = a.VType == TVarRec::vtInteger ? static_cast<uint32_t>(static_cast<int32_t>(a.I))
                                                              : static_cast<uint64_t>(a.I);
            s = QString::number(v, 16).toUpper();
            if (prec > s.size())
                s.prepend(QString(prec - s.size(), QLatin1Char('0')));
            break;
        }
        case 'E': case 'F': case 'G': case 'N': case 'M': {
            double v;
            if (a.VType == TVarRec::vtExtended)
                v = a.E;
            else
                formatError(Fmt);
            switch (type) {
            case 'E': s = FloatToStrF(v, ffExponent, prec < 0 ? 15 : std::clamp(prec, 1, 18), 3); break;
            case 'F': s = FloatToStrF(v, ffFixed, 15, prec < 0 ? 2 : std::min(prec, 18)); break;
            case 'G': s = FloatToStrF(v, ffGeneral, prec < 0 ? 15 : std::clamp(prec, 1, 18), 3); break;
            case 'N': s = FloatToStrF(v, ffNumber, 15, prec < 0 ? 2 : std::min(prec, 18)); break;
            default:
                s = FloatToStrF(v, ffCurrency, 15, prec < 0 ? ActiveFormatSettings().CurrencyDecimals : std::min(prec, 18));
            }
            break;
        }
        case 'S':
            if (a.VType == TVarRec::vtString || a.VType == TVarRec::vtChar)
                s = a.S;
            else
                formatError(Fmt);
            if (prec >= 0 && prec < s.size())
                s.truncate(prec);
            break;
        case 'P':
            if (a.VType != TVarRec::vtPointer)
                formatError(Fmt);
            s = QString::number(reinterpret_cast<quintptr>(a.P), 16).toUpper().rightJustified(
                sizeof(void *) * 2, QLatin1Char('0'));
            break;
        default:
            formatError(Fmt);
        }
        if (width > s.size())
            s = left ? s.leftJustified(width) : s.rightJustified(width);
        out += s;
    }
    return out;
}
