#include "xlsAdapter/file/duzUXlsTypedEntry.h"

#include "framework/rtl/System.h"
#include "xlsAdapter/records/duzUXlsTypes.h"
#include "xlsAdapter/records/duzUXlsXF.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t PercentFormat = 9;
constexpr int32_t PercentDecimalsFormat = 10;
constexpr int32_t ScientificFormat = 11;

bool IsDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// The exact value of the number text divided by 100, rounded once: the decimal exponent moves
// by two instead of a binary division after the rounding of the text.
double Percent(const QString &W, const TFormatSettings &Settings)
{
    QString t = Trim(W);
    t.replace(Settings.DecimalSeparator, QLatin1Char('.'));
    const qsizetype e = std::max(t.indexOf(QLatin1Char('e')), t.indexOf(QLatin1Char('E')));
    if (e < 0) {
        t += QStringLiteral("e-2");
    } else {
        qsizetype k = e + 1;
        const bool negative = k < t.size() && t[k] == QLatin1Char('-');
        if (k < t.size() && (t[k] == QLatin1Char('-') || t[k] == QLatin1Char('+')))
            ++k;
        // Saturates far beyond any double's exponent.
        long long exponent = 0;
        for (; k < t.size(); ++k)
            exponent = std::min<long long>(exponent * 10 + (t[k].unicode() - '0'), 100000000LL);
        t = t.left(e) + QLatin1Char('e') + QString::number((negative ? -exponent : exponent) - 2);
    }
    TFormatSettings point = Settings;
    point.DecimalSeparator = QLatin1Char('.');
    double v = 0;
    TryStrToFloat(t, v, point);
    return v;
}

// Thousand separators go only when every fourth character of the integer part, counted from
// its right end, is one (or a minus sign); otherwise the text stays as it is.
QString WithoutThousandSeparators(const QString &W, const TFormatSettings &Settings)
{
    const QChar ts = Settings.ThousandSeparator;
    const qsizetype p = W.indexOf(Settings.DecimalSeparator);
    if (p >= 0 && QStringView(W).mid(p).contains(ts))
        return W;
    if (W.startsWith(ts))
        return W;
    const QStringView integer = p >= 0 ? QStringView(W).left(p) : QStringView(W);
    for (qsizetype k = 4; k <= integer.size(); k += 4) {
        const QChar c = integer[integer.size() - k];
        if (c != ts && c != QLatin1Char('-'))
            return W;
    }
    QString r = W;
    r.remove(ts);
    return r;
}

// A decimal separator after the first character.
bool HasDecimals(const QString &W, const TFormatSettings &Settings)
{
    return W.indexOf(Settings.DecimalSeparator) >= 1;
}

// --- Dates and times --------------------------------------------------------------------------

struct TextScanner
{
    const QString &s;
    qsizetype i = 0;

    bool AtEnd() const { return i >= s.size(); }
    // At least one blank.
    bool Blanks()
    {
        const qsizetype from = i;
        while (i < s.size() && s[i] == QLatin1Char(' '))
            ++i;
        return i > from;
    }
    void OptionalBlanks() { Blanks(); }
    // 1 .. MaxDigits digits, no more.
    bool Number(int MaxDigits, int &Value, int &Digits)
    {
        Value = 0;
        Digits = 0;
        while (i < s.size() && IsDigit(s[i])) {
            if (++Digits > MaxDigits)
                return false;
            Value = Value * 10 + (s[i].unicode() - '0');
            ++i;
        }
        return Digits > 0;
    }
    bool Char(QChar c)
    {
        if (i < s.size() && s[i].toUpper() == c.toUpper()) {
            ++i;
            return true;
        }
        return false;
    }
    // The longest of Words (index 1..) that the text continues with, any case.
    template <size_t N> bool Word(const std::array<QString, N> &Words, int &Index)
    {
        qsizetype best = 0;
        for (size_t k = 1; k < N; ++k)
            if (!Words[k].isEmpty() && Words[k].size() > best
                && QStringView(s).mid(i).startsWith(Words[k], Qt::CaseInsensitive)) {
                best = Words[k].size();
                Index = int(k);
            }
        i += best;
        return best > 0;
    }
    bool Text(const QString &w)
    {
        if (!w.isEmpty() && QStringView(s).mid(i).startsWith(w, Qt::CaseInsensitive)) {
            i += w.size();
            return true;
        }
        return false;
    }
};

// Two-digit years: 00 .. 29 in this century, 30 .. 99 in the last, whatever today's date.
int FullYear(int Year, int Digits) { return Digits > 2 ? Year : Year < 30 ? 2000 + Year : 1900 + Year; }

// A date in the layout of the short date format: its day, month and year fields in their order,
// "/" standing for the date separator, month names where the format spells the month.
bool ScanDate(TextScanner &sc, const TFormatSettings &Settings, double &Value)
{
    const QString &f = Settings.ShortDateFormat;
    int day = -1, month = -1, year = -1;
    bool inQuote = false;
    for (qsizetype k = 0; k < f.size();) {
        const QChar c = f[k];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            inQuote = !inQuote;
            ++k;
            continue;
        }
        const QChar u = c.toUpper();
        if (!inQuote && (u == QLatin1Char('D') || u == QLatin1Char('M') || u == QLatin1Char('Y'))) {
            qsizetype n = 0;
            while (k + n < f.size() && f[k + n].toUpper() == u)
                ++n;
            k += n;
            int v = 0, digits = 0;
            if (u == QLatin1Char('D')) {
                if (n >= 3) {
                    // A weekday name says nothing the day, month and year do not.
                    int ignored = 0;
                    if (!sc.Word(Settings.LongDayNames, ignored) && !sc.Word(Settings.ShortDayNames, ignored))
                        return false;
                    continue;
                }
                if (!sc.Number(2, v, digits))
                    return false;
                day = v;
            } else if (u == QLatin1Char('M')) {
                if (n >= 3) {
                    if (!sc.Word(Settings.LongMonthNames, month) && !sc.Word(Settings.ShortMonthNames, month))
                        return false;
                } else {
                    if (!sc.Number(2, v, digits))
                        return false;
                    month = v;
                }
            } else {
                if (!sc.Number(4, v, digits))
                    return false;
                year = FullYear(v, digits);
            }
            continue;
        }
        ++k;
        if (c == QLatin1Char(' ')) {
            if (!sc.Blanks())
                return false;
        } else if (!sc.Char(!inQuote && c == QLatin1Char('/') ? Settings.DateSeparator : c)) {
            return false;
        }
    }
    TDateTime d;
    if (day < 0 || month < 0 || year < 0 || !TryEncodeDate(year, month, day, d))
        return false;
    Value = d;
    return true;
}

// h:mm or h:mm:ss, then an optional AM or PM marker.
bool ScanTime(TextScanner &sc, const TFormatSettings &Settings, double &Value)
{
    const auto separator = [&] { return sc.Char(Settings.TimeSeparator) || sc.Char(QLatin1Char(':')); };
    int h = 0, m = 0, s = 0, digits = 0;
    if (!sc.Number(2, h, digits) || !separator() || !sc.Number(2, m, digits))
        return false;
    if (separator() && !sc.Number(2, s, digits))
        return false;
    const qsizetype beforeMarker = sc.i;
    sc.OptionalBlanks();
    const bool am = sc.Text(Settings.TimeAMString) || sc.Text(QStringLiteral("AM"));
    const bool pm = !am && (sc.Text(Settings.TimePMString) || sc.Text(QStringLiteral("PM")));
    if (am || pm) {
        if (h > 12)
            return false;
        h = h % 12 + (pm ? 12 : 0);
    } else {
        sc.i = beforeMarker;
    }
    TDateTime t;
    if (!TryEncodeTime(h, m, s, 0, t))
        return false;
    Value = t;
    return true;
}

// A date, a time, or a date, blanks and a time; says which parts were read.
bool ScanDateTime(const QString &S, const TFormatSettings &Settings, double &Value, bool &ReadDate, bool &ReadTime)
{
    TextScanner sc{S};
    double d = 0, t = 0;
    ReadDate = ScanDate(sc, Settings, d);
    ReadTime = false;
    if (ReadDate) {
        if (!sc.AtEnd()) {
            if (!sc.Blanks() || !ScanTime(sc, Settings, t))
                return false;
            ReadTime = true;
        }
    } else {
        sc.i = 0;
        if (!ScanTime(sc, Settings, t))
            return false;
        ReadTime = true;
    }
    if (!sc.AtEnd())
        return false;
    // The time of a day before 1899-12-30 still counts forward from its midnight.
    Value = d < 0 ? d - t : d + t;
    return true;
}

// Texts such as "0.30" or "1.2.3", whose parts between points are whole numbers, are numbers
// or version labels to a reader even where a date routine would take them.
bool ReadsAsDateTime(const QString &S, double Value)
{
    if (Trunc(Value) != 0)
        return true;
    const QString t = S + QLatin1Char('.');
    qsizetype from = 0;
    for (int piece = 1; piece <= 3; ++piece) {
        const qsizetype dot = t.indexOf(QLatin1Char('.'), from);
        const QStringView p = QStringView(t).mid(from, dot - from);
        if (p.isEmpty() || !std::all_of(p.begin(), p.end(), IsDigit))
            return true;
        from = dot + 1;
        if (t.indexOf(QLatin1Char('.'), from) < 0)
            return piece == 1;
    }
    return false;
}

} // namespace

QString CurrencyNumberFormat(bool WithDecimals, const TFormatSettings &Settings)
{
    QString N = QStringLiteral("###,###");
    if (WithDecimals)
        N += QLatin1Char('.') + QString(Settings.CurrencyDecimals, QLatin1Char('0'));
    const QString C = Settings.CurrencyString;
    const QString sp = QStringLiteral("\\ ");
    QString P;
    switch (Settings.CurrencyFormat) {
    case 1: P = N + C; break;
    case 2: P = C + sp + N; break;
    case 3: P = N + sp + C; break;
    default: P = C + N;
    }
    const QString red = QStringLiteral(";[Red]");
    const QString paren = QStringLiteral("_);[Red]\\(");
    const QString close = QStringLiteral("\\)");
    switch (Settings.NegCurrFormat) {
    case 1: return P + red + QLatin1Char('-') + C + N;
    case 2: return P + red + C + QLatin1Char('-') + N;
    case 3: return P + red + C + N + QLatin1Char('-');
    case 4: return P + paren + N + C + close;
    case 5: return P + red + QLatin1Char('-') + N + C;
    case 6: return P + red + N + QLatin1Char('-') + C;
    case 7: return P + red + N + C + QLatin1Char('-');
    case 8: return P + red + QLatin1Char('-') + N + sp + C;
    case 9: return P + red + QLatin1Char('-') + C + sp + N;
    case 10: return P + red + N + sp + C + QLatin1Char('-');
    case 11: return P + red + C + sp + N + QLatin1Char('-');
    case 12: return P + red + C + sp + QLatin1Char('-') + N;
    case 13: return P + red + N + QLatin1Char('-') + sp + C;
    case 14: return P + paren + C + sp + N + close;
    case 15: return P + paren + N + sp + C + close;
    default: return P + paren + C + N + close;
    }
}

bool TryTypedDateTime(const QString &S, const QString &DateFormat, const QString &TimeFormat,
                      const TFormatSettings &Settings, double &Value, QString &Format)
{
    double v = 0;
    bool readDate = false, readTime = false;
    if (!ScanDateTime(S, Settings, v, readDate, readTime) || !ReadsAsDateTime(S, v))
        return false;
    // Only parts that were read count: where the time separator is a point, a date's points
    // would otherwise give it a time format too.
    const bool hasDate = readDate
                         && (S.contains(QLatin1Char('.')) || S.contains(QLatin1Char('/'))
                             || S.contains(QLatin1Char('-')) || S.contains(Settings.DateSeparator))
                         && Trunc(v) > 0;
    const bool hasTime = readTime && (S.contains(QLatin1Char(':')) || S.contains(Settings.TimeSeparator));
    if (!hasDate && !hasTime)
        return false;
    Format = hasDate ? (DateFormat.isEmpty() ? Settings.ShortDateFormat : DateFormat) : QString();
    if (hasTime)
        Format += (hasDate ? QStringLiteral(" ") : QString())
                  + ReplaceOutsideQuotes(TimeFormat.isEmpty() ? Settings.ShortTimeFormat : TimeFormat,
                                         QStringLiteral("AMPM"), QStringLiteral("AM/PM"));
    Value = v;
    return true;
}

TTypedEntry ReadTypedEntry(const QString &Text, const QString &DateFormat, const QString &TimeFormat,
                           const TFormatSettings &Settings)
{
    TTypedEntry r;
    const QString S = Trim(Text);
    QString W = S;
    bool isPercent = false, isCurrency = false;
    const QString &C = Settings.CurrencyString;
    if (W.startsWith(QLatin1Char('%'))) {
        W.remove(0, 1);
        isPercent = true;
    } else if (W.endsWith(QLatin1Char('%'))) {
        W.chop(1);
        isPercent = true;
    } else if (!C.isEmpty() && W.startsWith(C)) {
        W.remove(0, C.size());
        isCurrency = true;
    } else if (!C.isEmpty() && W.endsWith(C)) {
        W.chop(C.size());
        isCurrency = true;
    }
    // Looked for once the sign is gone, so that the "E" of a currency such as "EUR" is no exponent.
    const bool hasExp = W.indexOf(QLatin1Char('e'), 1, Qt::CaseInsensitive) >= 1;
    W = WithoutThousandSeparators(W, Settings);

    double number = 0;
    if (TryStrToFloat(W, number, Settings)) {
        r.Kind = TTypedEntry::teNumber;
        r.Value = isPercent ? Percent(W, Settings) : number;
        if (hasExp)
            r.NumberFormat = BuiltInFormat(ScientificFormat);
        else if (isPercent)
            r.NumberFormat = BuiltInFormat(HasDecimals(W, Settings) ? PercentDecimalsFormat : PercentFormat);
        else if (isCurrency)
            r.NumberFormat = CurrencyNumberFormat(HasDecimals(W, Settings), Settings);
        return r;
    }

    const QString upper = S.toUpper();
    if (upper == QLatin1String("FALSE") || upper == QLatin1String("TRUE")) {
        r.Kind = TTypedEntry::teBoolean;
        r.Value = upper == QLatin1String("TRUE");
        return r;
    }

    double when = 0;
    if (TryTypedDateTime(S, DateFormat, TimeFormat, Settings, when, r.NumberFormat)) {
        r.Kind = TTypedEntry::teDateTime;
        r.Value = Variant::FromDate(when);
        return r;
    }

    r.Kind = TTypedEntry::teText;
    r.Value = Text;
    return r;
}
