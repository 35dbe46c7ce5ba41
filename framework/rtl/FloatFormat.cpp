// Float to text and back, with the decimal rounding of the original run-time.
#include "framework/rtl/SysUtils.h"
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <vector>

void FloatToDecimal(TFloatRec &Result, double Value, int Precision, int Decimals)
{
    Result = TFloatRec();
    if (std::isnan(Value)) {
        Result.Nan = true;
        return;
    }
    Result.Negative = std::signbit(Value);
    if (std::isinf(Value)) {
        Result.Inf = true;
        return;
    }
    if (Value == 0) {
        Result.Negative = false;
        return;
    }
    // The 18 leading digits, correctly rounded from the binary value, as the original's
    // extended-precision conversion gives them.
    // to_chars is locale-independent, unlike printf after the application set the locale.
    char buf[48];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(Value), std::chars_format::scientific, 17);
    *res.ptr = 0;
    // The digits are worked in place and copied out once: this runs for every number a grid shows.
    char digits[20];
    digits[0] = buf[0];
    std::memcpy(digits + 1, buf + 2, 17);
    int len = 18;
    int exponent = std::atoi(std::strchr(buf, 'e') + 1) + 1;

    Precision = std::clamp(Precision, 1, 18);
    // Round once at the first position that either limit reaches.
    long long keep = Precision;
    if (Decimals >= 0 && static_cast<long long>(exponent) + Decimals < keep)
        keep = static_cast<long long>(exponent) + Decimals;
    if (keep < 0) {
        Result.Negative = false;
        return;
    }
    const int k = static_cast<int>(keep);
    const bool up = k < len && digits[k] >= '5';
    len = std::min(len, k);
    if (up) {
        int i = k - 1;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i >= 0) {
            digits[i] = static_cast<char>(digits[i] + 1);
        } else {
            // All nines carried over: a single 1 one place up (k may be 0 here).
            digits[0] = '1';
            len = 1;
            ++exponent;
        }
    }
    while (len > 0 && digits[len - 1] == '0')
        --len;
    if (len == 0) {
        Result.Negative = false;
        return;
    }
    Result.Digits = QByteArray(digits, len);
    Result.Exponent = exponent;
}

namespace {

QString specialText(const TFloatRec &r)
{
    if (r.Nan)
        return QStringLiteral("NAN");
    return r.Negative ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// The digit at position i (0-based) of the record, '0' past its end.
inline QChar digitAt(const TFloatRec &r, int i)
{
    return QLatin1Char(i >= 0 && i < r.Digits.size() ? r.Digits[i] : '0');
}

QString exponentText(int e, int minDigits, bool plusSign)
{
    QString s = QString::number(std::abs(e));
    if (s.size() < minDigits)
        s.prepend(QString(minDigits - s.size(), QLatin1Char('0')));
    if (e < 0)
        return QLatin1Char('-') + s;
    return plusSign ? QLatin1Char('+') + s : s;
}

// Integer digits with optional thousand separators, then Decimals fraction digits.
QString fixedText(const TFloatRec &r, int Decimals, bool thousands)
{
    // One allocation for the whole text: grids format every number they show through here.
    const TFormatSettings &fs = ActiveFormatSettings();
    const int intDigits = r.Exponent > 0 ? r.Exponent : 0;
    QString ip;
    ip.reserve(std::max(intDigits, 1) + intDigits / 3 + std::max(Decimals, 0) + 1);
    if (intDigits == 0)
        ip += QLatin1Char('0');
    for (int i = 0; i < intDigits; ++i) {
        if (thousands && i > 0 && (intDigits - i) % 3 == 0)
            ip += fs.ThousandSeparator;
        ip += digitAt(r, i);
    }
    if (Decimals <= 0)
        return ip;
    ip += fs.DecimalSeparator;
    for (int i = 0; i < Decimals; ++i)
        ip += digitAt(r, r.Exponent + i);
    return ip;
}

QString generalText(const TFloatRec &r, int Precision, int Digits)
{
    if (r.Digits.isEmpty())
        return QStringLiteral("0");
    QString s = r.Negative ? QStringLiteral("-") : QString();
    const int n = static_cast<int>(r.Digits.size());
    if (r.Exponent > Precision || r.Exponent < -3) {
        s += QLatin1Char(r.Digits[0]);
        if (n > 1) {
            s += ActiveFormatSettings().DecimalSeparator;
            s += QLatin1String(r.Digits.constData() + 1, n - 1);
        }
        return s + QLatin1Char('E') + exponentText(r.Exponent - 1, std::clamp(Digits, 0, 4), false);
    }
    return s + fixedText(r, std::max(0, n - r.Exponent), false);
}

QString currencyText(const QString &amount, bool negative)
{
    const QString &c = ActiveFormatSettings().CurrencyString;
    if (!negative) {
        switch (ActiveFormatSettings().CurrencyFormat) {
        case 1: return amount + c;
        case 2: return c + QLatin1Char(' ') + amount;
        case 3: return amount + QLatin1Char(' ') + c;
        default: return c + amount;
        }
    }
    static const char *const patterns[16] = {
        "($1)", "-$1", "$-1", "$1-", "(1$)", "-1$", "1-$", "1$-",
        "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
    const char *p = patterns[ActiveFormatSettings().NegCurrFormat & 15];
    QString s;
    for (; *p; ++p) {
        if (*p == '$')
            s += c;
        else if (*p == '1')
            s += amount;
        else
            s += QLatin1Char(*p);
    }
    return s;
}

} // namespace

QString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits)
{
    Precision = std::clamp(Precision, 1, 18);
    TFloatRec r;
    switch (Format) {
    case ffGeneral:
        FloatToDecimal(r, Value, Precision, 9999);
        if (r.Nan || r.Inf)
            return specialText(r);
        return generalText(r, Precision, Digits);
    case ffExponent: {
        FloatToDecimal(r, Value, Precision, 9999);
        if (r.Nan || r.Inf)
            return specialText(r);
        QString s = r.Negative ? QStringLiteral("-") : QString();
        s += digitAt(r, 0);
        if (Precision > 1) {
            s += ActiveFormatSettings().DecimalSeparator;
            for (int i = 1; i < Precision; ++i)
                s += digitAt(r, i);
        }
        const int e = r.Digits.isEmpty() ? 0 : r.Exponent - 1;
        return s + QLatin1Char('E') + exponentText(e, std::clamp(Digits, 0, 4), true);
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
        Digits = std::clamp(Digits, 0, 18);
        FloatToDecimal(r, Value, Precision, Digits);
        if (r.Nan || r.Inf)
            return specialText(r);
        // Too many integer digits for the precision: the general form says it honestly.
        if (r.Exponent > Precision)
            return generalText(r, Precision, 0);
        const QString amount = fixedText(r, Digits, Format != ffFixed);
        if (Format == ffCurrency)
            return currencyText(amount, r.Negative);
        return r.Negative ? QLatin1Char('-') + amount : amount;
    }
    }
    return QString();
}

QString FloatToStr(double Value) { return FloatToStrF(Value, ffGeneral, 15, 0); }

QString CurrToStr(double Value)
{
    // Currency has four decimals and never uses the exponent form.
    TFloatRec r;
    FloatToDecimal(r, Value, 18, 4);
    if (r.Nan || r.Inf)
        return specialText(r);
    const QString s = fixedText(r, std::max(0, static_cast<int>(r.Digits.size()) - r.Exponent), false);
    return r.Negative ? QLatin1Char('-') + s : s;
}

// ---------------------------------------------------------------------------------------------
// Picture formats

namespace {

// Splits at ';' outside quotes.
QStringList splitSections(const QString &f)
{
    QStringList out;
    QString cur;
    QChar quote;
    for (QChar c : f) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            out << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    out << cur;
    return out;
}

QString applySection(const QString &fmt, double value)
{
    // First pass: the layout of the placeholders.
    int intPlaces = 0, intZeroFrom = -1, fracZeros = 0, fracPlaces = 0, expDigits = -1;
    bool thousands = false, point = false, expPlus = false;
    QChar expChar;
    {
        QChar quote;
        for (qsizetype i = 0; i < fmt.size(); ++i) {
            const QChar c = fmt[i];
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
                continue;
            }
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                quote = c;
            } else if (expDigits < 0 && (c == QLatin1Char('0') || c == QLatin1Char('#'))) {
                if (point) {
                    ++fracPlaces;
                    if (c == QLatin1Char('0'))
                        fracZeros = fracPlaces;
                } else {
                    if (c == QLatin1Char('0') && intZeroFrom < 0)
                        intZeroFrom = intPlaces;
                    ++intPlaces;
                }
            } else if (c == QLatin1Char('.') && expDigits < 0) {
                point = true;
            } else if (c == QLatin1Char(',') && !point && expDigits < 0) {
                thousands = true;
            } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && expDigits < 0 && i + 1 < fmt.size() &&
                       (fmt[i + 1] == QLatin1Char('+') || fmt[i + 1] == QLatin1Char('-'))) {
                expChar = c;
                expPlus = fmt[i + 1] == QLatin1Char('+');
                expDigits = 0;
                ++i;
                while (i + 1 < fmt.size() && fmt[i + 1] == QLatin1Char('0')) {
                    ++expDigits;
                    ++i;
                }
            }
        }
    }

    TFloatRec r;
    int exp10 = 0;
    if (expDigits >= 0) {
        const int mantInt = std::max(1, intPlaces);
        FloatToDecimal(r, value, std::clamp(mantInt + fracPlaces, 1, 18), 9999);
        if (!r.Digits.isEmpty()) {
            exp10 = r.Exponent - mantInt;
            r.Exponent = mantInt;
        }
    } else {
        FloatToDecimal(r, value, 18, fracPlaces);
    }
    if (r.Nan || r.Inf)
        return specialText(r);

    // Integer digits of the number (without leading zeros) and the fraction digits to show.
    QString intDigits;
    for (int i = 0; i < r.Exponent; ++i)
        intDigits += digitAt(r, i);
    QString frac;
    for (int i = 0; i < fracPlaces; ++i)
        frac += digitAt(r, r.Exponent + i);
    while (frac.size() > fracZeros && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    // Integer text with forced zeros, as many as the '0' placeholders ask.
    const int minInt = intZeroFrom < 0 ? 0 : intPlaces - intZeroFrom;
    if (intDigits.size() < minInt)
        intDigits.prepend(QString(minInt - intDigits.size(), QLatin1Char('0')));
    QString intText;
    for (qsizetype i = 0; i < intDigits.size(); ++i) {
        if (thousands && i > 0 && (intDigits.size() - i) % 3 == 0)
            intText += ActiveFormatSettings().ThousandSeparator;
        intText += intDigits[i];
    }

    // Second pass: literals stay where they are; the number goes at its placeholders.
    QString out;
    QChar quote;
    bool intDone = false;
    int fracPos = 0;
    bool inFrac = false, expDone = false;
    for (qsizetype i = 0; i < fmt.size(); ++i) {
        const QChar c = fmt[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                out += c;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (!expDone && (c == QLatin1Char('0') || c == QLatin1Char('#'))) {
            if (inFrac) {
                if (fracPos < frac.size())
                    out += frac[fracPos];
                ++fracPos;
            } else if (!intDone) {
                out += intText;
                intDone = true;
            }
        } else if (c == QLatin1Char('.') && !inFrac && !expDone) {
            if (!intDone) {
                out += intText;
                intDone = true;
            }
            inFrac = true;
            if (!frac.isEmpty())
                out += ActiveFormatSettings().DecimalSeparator;
        } else if (c == QLatin1Char(',') && !inFrac && !expDone) {
            // a thousands flag, not a literal
        } else if (c == expChar && !expDone && i + 1 < fmt.size() &&
                   (fmt[i + 1] == QLatin1Char('+') || fmt[i + 1] == QLatin1Char('-'))) {
            if (!intDone) {
                out += intText;
                intDone = true;
            }
            out += c;
            if (exp10 < 0)
                out += QLatin1Char('-');
            else if (expPlus)
                out += QLatin1Char('+');
            QString e = QString::number(std::abs(exp10));
            if (e.size() < expDigits)
                e.prepend(QString(expDigits - e.size(), QLatin1Char('0')));
            out += e;
            expDone = true;
            ++i;
            while (i + 1 < fmt.size() && fmt[i + 1] == QLatin1Char('0'))
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString FormatFloat(const QString &Format, double Value)
{
    if (Format.isEmpty())
        return FloatToStr(Value);
    const QStringList sections = splitSections(Format);
    // Which section applies depends on the value as that section would round it.
    if (Value == 0 || std::isnan(Value))
        return applySection(sections.size() > 2 && !sections[2].isEmpty() ? sections[2] : sections[0], Value);
    if (Value < 0 && sections.size() > 1 && !sections[1].isEmpty())
        return applySection(sections[1], -Value);
    const QString s = applySection(sections[0], Value);
    bool allZero = true;
    for (QChar c : s)
        if (c.isDigit() && c != QLatin1Char('0'))
            allZero = false;
    if (allZero && sections.size() > 2 && !sections[2].isEmpty())
        return applySection(sections[2], 0);
    if (Value < 0 && !allZero)
        return QLatin1Char('-') + s;
    return s;
}

// ---------------------------------------------------------------------------------------------
// Text to float

namespace {
constexpr long double kLargest15Digits = 1.79769313486232e308L;
} // namespace

bool TryStrToFloat(const QString &S, double &Value)
{
    const QString t = Trim(S);
    QByteArray a;
    a.reserve(t.size());
    qsizetype i = 0;
    const qsizetype n = t.size();
    auto copySign = [&] {
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            a.append(static_cast<char>(t[i++].unicode()));
    };
    // Copies a run of ASCII digits; returns how many there were.
    auto copyDigits = [&] {
        const qsizetype from = i;
        while (i < n && t[i].unicode() >= '0' && t[i].unicode() <= '9')
            a.append(static_cast<char>(t[i++].unicode()));
        return static_cast<int>(i - from);
    };
    copySign();
    int mantDigits = copyDigits();
    if (i < n && t[i] == ActiveFormatSettings().DecimalSeparator) {
        a.append('.');
        ++i;
        mantDigits += copyDigits();
    }
    if (mantDigits == 0)
        return false;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        a.append('e');
        ++i;
        copySign();
        if (copyDigits() == 0)
            return false;
    }
    if (i != n)
        return false;
    double v = 0;
    const auto res = std::from_chars(a.constData() + (a.startsWith('+') ? 1 : 0), a.constData() + a.size(), v);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is no value we can hold.
        const qsizetype e = a.indexOf('e');
        const QByteArray mant = e < 0 ? a : a.left(e);
        // The exponent saturates: its digits may be far more than an int holds.
        long long expPart = 0;
        if (e >= 0) {
            qsizetype k = e + 1;
            const bool negative = k < a.size() && a[k] == '-';
            if (k < a.size() && (a[k] == '-' || a[k] == '+'))
                ++k;
            for (; k < a.size(); ++k)
                expPart = std::min<long long>(expPart * 10 + (a[k] - '0'), 1000000000LL);
            if (negative)
                expPart = -expPart;
        }
        const qsizetype dot = mant.indexOf('.');
        qsizetype lead = -1;
        for (qsizetype k = 0; k < mant.size(); ++k)
            if (mant[k] >= '1' && mant[k] <= '9') { lead = k; break; }
        const qsizetype point = dot < 0 ? mant.size() : dot;
        const long long magnitude = static_cast<long long>(expPart) + (lead < point ? point - lead : point - lead + 1);
        if (magnitude > 0) {
            // The largest double written with 15 digits ("1.79769313486232E308") lies just
            // beyond it: it reads back as the largest double. Anything larger is no value.
            if (magnitude != 309 || std::fabs(std::strtold(a.constData(), nullptr)) > kLargest15Digits)
                return false;
            v = DBL_MAX;
        } else {
            v = 0;
        }
    } else if (res.ec != std::errc()) {
        return false;
    }
    if (a.startsWith('-'))
        v = -std::fabs(v);
    // Out of the double range is not a value we can hold.
    if (std::isinf(v))
        return false;
    Value = v;
    return true;
}

double StrToFloat(const QString &S)
{
    double v;
    if (!TryStrToFloat(S, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(S));
    return v;
}

double StrToFloatDef(const QString &S, double Default)
{
    double v;
    return TryStrToFloat(S, v) ? v : Default;
}

// ---------------------------------------------------------------------------------------------
// The same with explicit settings

QString FloatToStr(double Value, const TFormatSettings &Settings)
{
    TFormatSettingsScope scope(Settings);
    return FloatToStr(Value);
}

QString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits, const TFormatSettings &Settings)
{
    TFormatSettingsScope scope(Settings);
    return FloatToStrF(Value, Format, Precision, Digits);
}

QString FormatFloat(const QString &Format, double Value, const TFormatSettings &Settings)
{
    TFormatSettingsScope scope(Settings);
    return FormatFloat(Format, Value);
}

double StrToFloat(const QString &S, const TFormatSettings &Settings)
{
    TFormatSettingsScope scope(Settings);
    return StrToFloat(S);
}

bool TryStrToFloat(const QString &S, double &Value, const TFormatSettings &Settings)
{
    TFormatSettingsScope scope(Settings);
    return TryStrToFloat(S, Value);
}

void Val(const QString &S, double &Value, int &Code)
{
    // Made once: sorting calls this for every row.
    static const TFormatSettings point = [] {
        TFormatSettings s;
        s.DecimalSeparator = QLatin1Char('.');
        return s;
    }();
    // The longest prefix that converts tells where the first bad character is.
    double v = 0;
    if (TryStrToFloat(S, v, point) && (S.isEmpty() || S.back().unicode() > ' ')) {
        Value = v;
        Code = 0;
        return;
    }
    // The prefixes that have the form of a number, found in one pass: blanks, a sign, digits
    // with at most one point (one digit at least), then "e", a sign and digits.
    std::vector<qsizetype> ends;
    const qsizetype n = S.size();
    auto isDigit = [&](qsizetype k) { return S[k].unicode() >= '0' && S[k].unicode() <= '9'; };
    qsizetype i = 0;
    while (i < n && S[i].unicode() <= ' ')
        ++i;
    if (i < n && (S[i] == QLatin1Char('+') || S[i] == QLatin1Char('-')))
        ++i;
    int digits = 0;
    for (; i < n && isDigit(i); ++i, ++digits)
        ends.push_back(i + 1);
    if (i < n && S[i] == QLatin1Char('.')) {
        ++i;
        if (digits > 0)
            ends.push_back(i);
        for (; i < n && isDigit(i); ++i, ++digits)
            ends.push_back(i + 1);
    }
    if (digits > 0 && i < n && (S[i] == QLatin1Char('e') || S[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (S[i] == QLatin1Char('+') || S[i] == QLatin1Char('-')))
            ++i;
        for (; i < n && isDigit(i); ++i)
            ends.push_back(i + 1);
    }
    // The longest of them that converts; only a value out of range fails, and a longer prefix
    // is never smaller, so the search halves the candidates.
    qsizetype good = 0;
    size_t lo = 0, hi = ends.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (TryStrToFloat(S.left(ends[mid]), v, point)) {
            good = ends[mid];
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    Code = static_cast<int>(good) + 1;
}
