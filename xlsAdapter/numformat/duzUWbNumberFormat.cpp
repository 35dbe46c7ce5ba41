#include "xlsAdapter/numformat/duzUWbNumberFormat.h"

#include "framework/rtl/LocaleSettings.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsTypes.h"

#include <QHash>
#include <array>
#include <cmath>
#include <string>

namespace {

// What a value that no section can show, or a negative date, looks like.
const QString NumberSigns = QStringLiteral("###################");
constexpr int MaxSections = 4;

enum class TCondOp : uint8_t { None, Le, Lt, Ne, Eq, Ge, Gt };

struct TNumItem
{
    enum TKind : uint8_t { IntDigit, DecDigit, Point, Lit, Exp } Kind;
    bool Zero = false; // "0" pads, "#" does not
    QString Text;      // Lit
    QChar ExpChar;     // Exp: "E" or "e"
    bool ExpPlus = false;
    int ExpDigits = 0;
};

// A number run, ready for the number formatter.
struct TNumPattern
{
    std::vector<TNumItem> Items;
    int IntCount = 0;
    int DecCount = 0;
    int MinInt = 0; // integer placeholders from the first "0" on
    bool Thousands = false;
    bool Scientific = false;
    bool Engineering = false; // a "#" among the integer placeholders: exponents step by IntCount
    double Scale = 1;         // 100 for each "%"
};

struct TDtItem
{
    enum TKind : uint8_t { Lit, Day, Month, Year, Hour, Minute, Second, AmPm, C, T, DateSep, TimeSep } Kind;
    uint8_t Count = 1;
    QChar Ch;
};

struct TToken
{
    enum TKind : uint8_t { tkText, tkDateTime, tkNumber, tkElapsed, tkAt } Kind;
    QString Text;
    std::vector<TDtItem> Dt;
    int Settings = -1; // DateTime: the locale block in force, -1 for the current settings
    TNumPattern Num;   // Number, and the zero padding of Elapsed
    QChar Unit;        // Elapsed: H, M or S
};

struct TSection
{
    TCondOp Op = TCondOp::None;
    double Limit = 0;
    enum TSpecial : uint8_t { spNone, spLongDate, spLongTime } Special = spNone;
    bool HasColor = false;
    int32_t Color = 0;
    std::vector<TToken> Tokens;
    bool General = false; // a part no reader takes: the general text replaces the rest
    bool HasDate = false;
    bool HasTime = false;
    bool TwelveHour = false;
    std::vector<TFormatSettings> Locales;
};

struct TTextSection
{
    bool Unchanged = true;
    bool HasColor = false;
    int32_t Color = 0;
    std::vector<TToken> Tokens;
    bool General = false;
};

struct TColorName
{
    const char *Name;
    int32_t Color;
};
const TColorName ColorNames[] = {{"Black", 0x000000}, {"Cyan", 0xFFFF00},   {"Blue", 0xFF0000},
                                 {"Green", 0x008000}, {"Magenta", 0xFF00FF}, {"Red", 0x0000FF},
                                 {"White", 0xFFFFFF}, {"Yellow", 0x00FFFF}};

bool IsIn(QChar c, const char *set)
{
    const ushort u = c.unicode();
    for (; *set; ++set)
        if (u == static_cast<uchar>(*set))
            return true;
    return false;
}

void AddText(std::vector<TToken> &Tokens, const QString &Text)
{
    if (Text.isEmpty())
        return;
    if (!Tokens.empty() && Tokens.back().Kind == TToken::tkText)
        Tokens.back().Text += Text;
    else
        Tokens.push_back(TToken{TToken::tkText, Text, {}, -1, {}, {}});
}

// ---------------------------------------------------------------------------------------------
// Sections and conditions

bool ReadCondition(const QString &Body, TCondOp &Op, double &Limit)
{
    static const struct { const char *Text; TCondOp Op; } ops[] = {
        {"<=", TCondOp::Le}, {"<>", TCondOp::Ne}, {"<", TCondOp::Lt},
        {"=", TCondOp::Eq},  {">=", TCondOp::Ge}, {">", TCondOp::Gt}};
    for (const auto &o : ops) {
        const QLatin1String t(o.Text);
        if (!Body.startsWith(t))
            continue;
        const QString number = Body.mid(t.size());
        double c = 0;
        if (number.trimmed().isEmpty() || !TextToFloatPoint(number, c) || !std::isfinite(c))
            return false;
        Op = o.Op;
        Limit = c;
        return true;
    }
    return false;
}

// Splits at unquoted ";" (at most four sections) and reads each section's condition.
void SplitSections(const QString &F, std::vector<QString> &Texts, std::vector<TSection> &Sections)
{
    const qsizetype n = F.size();
    Sections.emplace_back();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const QChar c = F[i];
        if (c == QLatin1Char('"')) {
            const qsizetype close = F.indexOf(QLatin1Char('"'), i + 1);
            i = close < 0 ? n : close + 1;
        } else if (c == QLatin1Char('\\')) {
            i += 2;
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = F.indexOf(QLatin1Char(']'), i + 1);
            if (close > i + 1 && IsIn(F[i + 1], "<=>")) {
                TSection &s = Sections.back();
                ReadCondition(F.mid(i + 1, close - i - 1), s.Op, s.Limit);
            }
            i = close < 0 ? n : close + 1;
        } else if (c == QLatin1Char(';')) {
            Texts.push_back(F.mid(start, i - start));
            if (Texts.size() == MaxSections)
                return;
            Sections.emplace_back();
            start = ++i;
        } else {
            ++i;
        }
    }
    Texts.push_back(F.mid(start));
}

TResultCondition Evaluate(const TSection &S, double x)
{
    TResultCondition r;
    if (S.Op == TCondOp::None)
        return r;
    const double c = S.Limit;
    bool holds = false;
    switch (S.Op) {
    case TCondOp::Le: holds = x <= c; r.SupressNeg = c <= 0; r.SupressNegComp = true; break;
    case TCondOp::Lt: holds = x < c; r.SupressNeg = c <= 0; r.SupressNegComp = true; break;
    case TCondOp::Ne: holds = x != c; r.SupressNeg = false; r.SupressNegComp = true; break;
    case TCondOp::Eq: holds = x == c; r.SupressNeg = true; r.SupressNegComp = false; break;
    case TCondOp::Ge: holds = x >= c; r.SupressNeg = false; r.SupressNegComp = c <= 0; break;
    case TCondOp::Gt: holds = x > c; r.SupressNeg = false; r.SupressNegComp = c <= 0; break;
    case TCondOp::None: break;
    }
    r.Assigned = true;
    r.Complement = !holds;
    return r;
}

// The section for x and whether its minus sign is dropped.
int ChooseSection(const std::vector<TSection> &Sections, double x, bool &SupressNeg)
{
    const int n = static_cast<int>(Sections.size());
    std::array<TResultCondition, MaxSections> cond;
    int sec = -1;
    for (int i = 0; i < n; ++i) {
        cond[i] = Evaluate(Sections[i], x);
        if (sec < 0 && cond[i].Assigned && !cond[i].Complement)
            sec = i;
    }
    if (sec >= 0) {
        SupressNeg = cond[sec].SupressNeg;
        return sec;
    }
    SupressNeg = false;
    if (!cond[0].Assigned && (x > 0 || n < 2 || (x == 0 && n <= 2)))
        return 0;
    if ((n > 1 && cond[1].Assigned) || (x >= 0 && n > 2))
        return n > 2 && cond[2].Assigned ? 3 : 2;
    SupressNeg = n == 2 && cond[0].Assigned ? cond[0].SupressNegComp : true;
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Readers: each takes what it recognises at Pos and moves Pos past it.

// A leading colour block; the position where reading goes on.
qsizetype ReadColor(const QString &S, bool &HasColor, int32_t &Color)
{
    if (!S.startsWith(QLatin1Char('[')))
        return 0;
    const qsizetype close = S.indexOf(QLatin1Char(']'));
    if (close < 0)
        return 0;
    const QStringView name = QStringView(S).mid(1, close - 1);
    for (const TColorName &c : ColorNames)
        if (name.compare(QLatin1String(c.Name), Qt::CaseInsensitive) == 0) {
            HasColor = true;
            Color = c.Color;
            return close + 1;
        }
    return 0;
}

// The currency text of a "[$" block: its characters up to the first "-" or "]".
QString CurrencyText(const QString &S, qsizetype Pos, qsizetype Close)
{
    const QString body = S.mid(Pos + 2, Close - Pos - 2);
    const qsizetype dash = body.indexOf(QLatin1Char('-'));
    return dash < 0 ? body : body.left(dash);
}

bool ReadLocale(const QString &S, qsizetype &Pos, TSection &Sec, int &Locale)
{
    if (S.size() - Pos < 4 || S[Pos] != QLatin1Char('[') || S[Pos + 1] != QLatin1Char('$'))
        return false;
    const qsizetype close = S.indexOf(QLatin1Char(']'), Pos);
    if (close < 0)
        return false;
    AddText(Sec.Tokens, CurrencyText(S, Pos, close));
    const qsizetype dash = S.indexOf(QLatin1Char('-'), Pos);
    if (dash >= 0 && dash < close) {
        const QString id = S.mid(dash + 1, close - dash - 1).right(4);
        bool ok = !id.isEmpty();
        for (QChar c : id)
            ok = ok && IsIn(c.toUpper(), "0123456789ABCDEF");
        TFormatSettings settings;
        if (ok && GetLocaleFormatSettings(id.toUInt(nullptr, 16), settings)) {
            Sec.Locales.push_back(settings);
            Locale = static_cast<int>(Sec.Locales.size()) - 1;
        }
    }
    Pos = close + 1;
    return true;
}

TNumPattern ZeroPattern(int Digits)
{
    TNumPattern p;
    for (int i = 0; i < Digits; ++i)
        p.Items.push_back(TNumItem{TNumItem::IntDigit, true, {}, {}, false, 0});
    p.IntCount = p.MinInt = Digits;
    return p;
}

bool ReadElapsed(const QString &Up, qsizetype &Pos, TSection &Sec)
{
    const qsizetype n = Up.size();
    if (Up[Pos] != QLatin1Char('[') || Pos + 1 >= n || !IsIn(Up[Pos + 1], "HMS"))
        return false;
    const QChar unit = Up[Pos + 1];
    qsizetype j = Pos + 1;
    while (j < n && Up[j] == unit)
        ++j;
    if (j >= n || Up[j] != QLatin1Char(']'))
        return false;
    TToken t{TToken::tkElapsed, {}, {}, -1, ZeroPattern(static_cast<int>(j - Pos - 1)), unit};
    Sec.Tokens.push_back(std::move(t));
    Pos = j + 1;
    return true;
}

bool ReadBracket(const QString &S, qsizetype &Pos, std::vector<TToken> &Tokens)
{
    if (S[Pos] != QLatin1Char('['))
        return false;
    const qsizetype close = S.indexOf(QLatin1Char(']'), Pos);
    if (close < 0)
        return false;
    if (close > Pos + 1 && S[Pos + 1] == QLatin1Char('$'))
        AddText(Tokens, CurrencyText(S, Pos, close));
    Pos = close + 1;
    return true;
}

bool ReadLiteral(const QString &S, qsizetype &Pos, std::vector<TToken> &Tokens)
{
    const qsizetype n = S.size();
    const QChar c = S[Pos];
    if (IsIn(c, " !$&'()<=>^{}~") || c.unicode() == 0x00B4) {
        AddText(Tokens, QString(c));
        ++Pos;
    } else if (c == QLatin1Char('\\') || c == QLatin1Char('*')) {
        if (Pos + 1 < n)
            AddText(Tokens, QString(S[Pos + 1]));
        Pos = std::min(Pos + 2, n);
    } else if (c == QLatin1Char('_')) {
        AddText(Tokens, QStringLiteral(" "));
        Pos = std::min(Pos + 2, n);
    } else if (c == QLatin1Char('"')) {
        const qsizetype close = S.indexOf(QLatin1Char('"'), Pos + 1);
        const qsizetype end = close < 0 ? n : close;
        AddText(Tokens, S.mid(Pos + 1, end - Pos - 1));
        Pos = close < 0 ? n : close + 1;
    } else {
        return false;
    }
    return true;
}

bool ReadDateTime(const QString &S, const QString &Up, qsizetype &Pos, TSection &Sec, int Locale)
{
    const qsizetype n = S.size();
    const qsizetype start = Pos;
    TToken t{TToken::tkDateTime, {}, {}, Locale, {}, {}};
    while (Pos < n && (IsIn(Up[Pos], "./:ACDHMNPQSTWY") || S[Pos] == QLatin1Char('\\'))) {
        const QChar c = S[Pos];
        const QChar u = Up[Pos];
        auto run = [&] {
            qsizetype k = Pos;
            while (k < n && Up[k] == u)
                ++k;
            const auto count = static_cast<uint8_t>(std::min<qsizetype>(k - Pos, 255));
            Pos = k;
            return count;
        };
        if (c == QLatin1Char('\\')) {
            if (Pos + 1 < n)
                t.Dt.push_back(TDtItem{TDtItem::Lit, 1, S[Pos + 1]});
            Pos = std::min(Pos + 2, n);
        } else if (QStringView(Up).mid(Pos, 5) == QLatin1String("AM/PM")) {
            t.Dt.push_back(TDtItem{TDtItem::AmPm, 1, {}});
            Pos += 5;
        } else if (u == QLatin1Char('D')) {
            t.Dt.push_back(TDtItem{TDtItem::Day, run(), {}});
        } else if (u == QLatin1Char('M')) {
            t.Dt.push_back(TDtItem{TDtItem::Month, run(), {}});
        } else if (u == QLatin1Char('Y')) {
            t.Dt.push_back(TDtItem{TDtItem::Year, run(), {}});
        } else if (u == QLatin1Char('H')) {
            t.Dt.push_back(TDtItem{TDtItem::Hour, run(), {}});
        } else if (u == QLatin1Char('N')) {
            t.Dt.push_back(TDtItem{TDtItem::Minute, run(), {}});
        } else if (u == QLatin1Char('S')) {
            t.Dt.push_back(TDtItem{TDtItem::Second, run(), {}});
        } else if (u == QLatin1Char('T')) {
            t.Dt.push_back(TDtItem{TDtItem::T, run(), {}});
        } else if (u == QLatin1Char('C')) {
            t.Dt.push_back(TDtItem{TDtItem::C, 1, {}});
            ++Pos;
        } else if (c == QLatin1Char('/')) {
            t.Dt.push_back(TDtItem{TDtItem::DateSep, 1, {}});
            ++Pos;
        } else if (c == QLatin1Char(':')) {
            t.Dt.push_back(TDtItem{TDtItem::TimeSep, 1, {}});
            ++Pos;
        } else {
            t.Dt.push_back(TDtItem{TDtItem::Lit, 1, c});
            ++Pos;
        }
    }
    if (Pos == start)
        return false;
    Sec.Tokens.push_back(std::move(t));
    return true;
}

// Collects a run of number characters and works out its placeholders.
bool ReadNumber(const QString &S, qsizetype &Pos, std::vector<TToken> &Tokens)
{
    const qsizetype n = S.size();
    if (!IsIn(S[Pos], "#%*+,-.0?Ee\\"))
        return false;
    TNumPattern p;
    auto lit = [&p](const QString &text) { p.Items.push_back(TNumItem{TNumItem::Lit, false, text, {}, false, 0}); };
    bool point = false;
    bool exp = false;
    bool intHash = false;
    while (Pos < n && IsIn(S[Pos], "#%*+,-.0?Ee\\")) {
        const QChar c = S[Pos];
        if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('?')) {
            const bool zero = c == QLatin1Char('0');
            if (exp) {
                lit(QString(zero ? c : QChar(QLatin1Char('#'))));
            } else if (point) {
                p.Items.push_back(TNumItem{TNumItem::DecDigit, zero, {}, {}, false, 0});
                ++p.DecCount;
            } else {
                p.Items.push_back(TNumItem{TNumItem::IntDigit, zero, {}, {}, false, 0});
                ++p.IntCount;
                if (zero && p.MinInt == 0)
                    p.MinInt = 1;
                else if (p.MinInt > 0)
                    ++p.MinInt;
                intHash = intHash || !zero;
            }
            ++Pos;
        } else if (c == QLatin1Char('%')) {
            p.Scale *= 100;
            lit(QStringLiteral("%"));
            ++Pos;
        } else if (c == QLatin1Char('*') || c == QLatin1Char('\\')) {
            if (Pos + 1 < n)
                lit(QString(S[Pos + 1]));
            Pos = std::min(Pos + 2, n);
        } else if (c == QLatin1Char('.') && !point && !exp) {
            p.Items.push_back(TNumItem{TNumItem::Point, false, {}, {}, false, 0});
            point = true;
            ++Pos;
        } else if (c == QLatin1Char(',') && !point && !exp && p.IntCount > 0) {
            p.Thousands = true; // a separator mark, never shown as such
            ++Pos;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && !exp && Pos + 2 < n &&
                   IsIn(S[Pos + 1], "+-") && IsIn(S[Pos + 2], "0#")) {
            qsizetype k = Pos + 2;
            int zeros = 0;
            while (k < n && IsIn(S[k], "0#")) {
                zeros += S[k] == QLatin1Char('0');
                ++k;
            }
            p.Items.push_back(TNumItem{TNumItem::Exp, false, {}, c, S[Pos + 1] == QLatin1Char('+'), zeros});
            exp = true;
            Pos = k;
        } else {
            lit(QString(c));
            ++Pos;
        }
    }
    p.Scientific = exp;
    p.Engineering = exp && intHash && p.IntCount > 1;
    TToken t{TToken::tkNumber, {}, {}, -1, std::move(p), {}};
    Tokens.push_back(std::move(t));
    return true;
}

// "m" and "mm" next to an hour or a seconds part (with only separators and literals between)
// are minutes; everything else decides whether the section shows a date, a time or both.
void ResolveDateTime(TSection &Sec)
{
    struct TField
    {
        TDtItem *Item; // null for an elapsed block or a number run
        QChar Kind;    // H, M, S for those that count as neighbours, 0 otherwise
    };
    std::vector<TField> fields;
    for (TToken &t : Sec.Tokens) {
        if (t.Kind == TToken::tkElapsed) {
            fields.push_back({nullptr, t.Unit});
            Sec.HasTime = true;
        } else if (t.Kind == TToken::tkNumber) {
            fields.push_back({nullptr, QChar()});
        } else if (t.Kind == TToken::tkDateTime) {
            for (TDtItem &d : t.Dt) {
                switch (d.Kind) {
                case TDtItem::Hour: fields.push_back({&d, QLatin1Char('H')}); break;
                case TDtItem::Second: fields.push_back({&d, QLatin1Char('S')}); break;
                case TDtItem::Day: case TDtItem::Month: case TDtItem::Year: case TDtItem::Minute:
                case TDtItem::C: case TDtItem::T:
                    fields.push_back({&d, QChar()});
                    break;
                case TDtItem::AmPm: Sec.TwelveHour = true; break;
                default: break;
                }
            }
        }
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        TDtItem *d = fields[i].Item;
        if (!d || d->Kind != TDtItem::Month || d->Count > 2)
            continue;
        const bool afterHour = i > 0 && fields[i - 1].Kind == QLatin1Char('H');
        const bool beforeSecond = i + 1 < fields.size() && fields[i + 1].Kind == QLatin1Char('S');
        if (afterHour || beforeSecond)
            d->Kind = TDtItem::Minute;
    }
    for (const TField &f : fields) {
        if (!f.Item)
            continue;
        switch (f.Item->Kind) {
        case TDtItem::Day: case TDtItem::Month: case TDtItem::Year: case TDtItem::C: Sec.HasDate = true; break;
        case TDtItem::Hour: case TDtItem::Minute: case TDtItem::Second: Sec.HasTime = true; break;
        default: break;
        }
    }
    if (Sec.TwelveHour)
        Sec.HasTime = true;
}

// Upper case one character at a time, so that positions match the section's.
QString UpperInPlace(const QString &S)
{
    QString up = S;
    for (QChar &c : up)
        c = c.toUpper();
    return up;
}

void ParseNumberSection(const QString &S, TSection &Sec)
{
    const QString up = UpperInPlace(S);
    if (up.contains(QLatin1String("[$-F800]"))) {
        Sec.Special = TSection::spLongDate;
        Sec.HasDate = true;
        return;
    }
    if (up.contains(QLatin1String("[$-F400]"))) {
        Sec.Special = TSection::spLongTime;
        Sec.HasTime = true;
        return;
    }
    qsizetype pos = ReadColor(S, Sec.HasColor, Sec.Color);
    int locale = -1;
    while (pos < S.size()) {
        if (ReadLocale(S, pos, Sec, locale) || ReadElapsed(up, pos, Sec) || ReadBracket(S, pos, Sec.Tokens) ||
            ReadLiteral(S, pos, Sec.Tokens) || ReadDateTime(S, up, pos, Sec, locale) ||
            ReadNumber(S, pos, Sec.Tokens))
            continue;
        Sec.General = true;
        break;
    }
    ResolveDateTime(Sec);
}

void ParseTextSection(const QString &S, bool First, TTextSection &Sec)
{
    qsizetype pos = ReadColor(S, Sec.HasColor, Sec.Color);
    if (First && !S.contains(QLatin1Char('@'))) {
        // The colour counts only when nothing but General follows it.
        const QStringView rest = QStringView(S).mid(pos);
        if (!rest.isEmpty() && rest.compare(QLatin1String("General"), Qt::CaseInsensitive) != 0)
            Sec.HasColor = false;
        return;
    }
    Sec.Unchanged = false;
    while (pos < S.size()) {
        if (ReadBracket(S, pos, Sec.Tokens) || ReadLiteral(S, pos, Sec.Tokens))
            continue;
        if (S[pos] == QLatin1Char('@')) {
            Sec.Tokens.push_back(TToken{TToken::tkAt, {}, {}, -1, {}, {}});
            ++pos;
            continue;
        }
        Sec.General = true;
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Formatters

void AppendNumber(QString &Out, int64_t V, int Width)
{
    char buf[24];
    int n = 0;
    uint64_t u = V < 0 ? uint64_t(0) - uint64_t(V) : uint64_t(V);
    do {
        buf[n++] = char('0' + u % 10);
        u /= 10;
    } while (u);
    if (V < 0)
        Out += QLatin1Char('-');
    for (int i = n; i < Width; ++i)
        Out += QLatin1Char('0');
    while (n > 0)
        Out += QLatin1Char(buf[--n]);
}

inline char DigitAt(const TFloatRec &r, int i)
{
    return i >= 0 && i < r.Digits.size() ? r.Digits[i] : '0';
}

void FormatNumber(const TNumPattern &P, double X, QString &Out)
{
    const TFormatSettings &fs = ActiveFormatSettings();
    if (P.IntCount + P.DecCount == 0) {
        for (const TNumItem &it : P.Items)
            if (it.Kind == TNumItem::Lit)
                Out += it.Text;
        return;
    }
    const double v = std::fabs(X) * P.Scale;
    if (!std::isfinite(v)) { // percent of a value near the largest double
        Out += NumberSigns;
        return;
    }
    TFloatRec r;
    std::string ints; // integer digits as shown
    int nInt = 0;
    int exponent = 0;
    int decStart = 0; // position in r.Digits of the first decimal
    if (P.Scientific) {
        const int width = std::max(P.IntCount, 1);
        FloatToDecimal(r, v, 18, 9999);
        if (!r.Digits.isEmpty()) {
            int e10 = r.Exponent;
            auto before = [&] {
                if (!P.Engineering)
                    return width;
                const int q = (e10 - 1) >= 0 ? (e10 - 1) / width : -((width - (e10 - 1) - 1) / width);
                return e10 - q * width;
            };
            int b = before();
            FloatToDecimal(r, v, b + P.DecCount, 9999);
            if (r.Exponent != e10) { // rounding carried into a new digit
                e10 = r.Exponent;
                b = before();
            }
            exponent = e10 - b;
            for (int i = 0; i < b; ++i)
                ints += DigitAt(r, i);
            decStart = b;
        }
    } else {
        FloatToDecimal(r, v, 18, P.DecCount);
        for (int i = 0; i < r.Exponent; ++i)
            ints += DigitAt(r, i);
        decStart = r.Exponent;
    }
    // Zeros that "0" placeholders ask for.
    if (int(ints.size()) < P.MinInt)
        ints.insert(0, size_t(P.MinInt) - ints.size(), '0');
    nInt = int(ints.size());
    // "#" decimals drop trailing zeros.
    int keepDec = P.DecCount;
    for (auto it = P.Items.rbegin(); it != P.Items.rend() && keepDec > 0; ++it) {
        if (it->Kind != TNumItem::DecDigit)
            continue;
        if (it->Zero || DigitAt(r, decStart + keepDec - 1) != '0')
            break;
        --keepDec;
    }
    auto emitInt = [&](int j) {
        if (P.Thousands && j > 0 && (nInt - j) % 3 == 0)
            Out += fs.ThousandSeparator;
        Out += QLatin1Char(ints[size_t(j)]);
    };
    if (X < 0 && !r.Digits.isEmpty())
        Out += QLatin1Char('-');
    int intIdx = 0;
    int decIdx = 0;
    for (const TNumItem &it : P.Items) {
        switch (it.Kind) {
        case TNumItem::IntDigit: {
            const int k = intIdx++;
            if (k == 0) {
                for (int j = 0; j < nInt - (P.IntCount - 1); ++j)
                    emitInt(j);
            } else {
                const int j = nInt - (P.IntCount - k);
                if (j >= 0)
                    emitInt(j);
            }
            break;
        }
        case TNumItem::DecDigit:
            if (decIdx < keepDec)
                Out += QLatin1Char(DigitAt(r, decStart + decIdx));
            ++decIdx;
            break;
        case TNumItem::Point:
            if (P.IntCount == 0)
                for (int j = 0; j < nInt; ++j)
                    emitInt(j);
            Out += fs.DecimalSeparator;
            break;
        case TNumItem::Lit:
            Out += it.Text;
            break;
        case TNumItem::Exp:
            Out += it.ExpChar;
            if (exponent < 0)
                Out += QLatin1Char('-');
            else if (it.ExpPlus)
                Out += QLatin1Char('+');
            AppendNumber(Out, std::abs(exponent), it.ExpDigits);
            break;
        }
    }
}

// Whole hours, minutes or seconds of an elapsed time, counted like the time of day is (to the
// millisecond) so that the blocks after it agree.
double ElapsedUnits(double X, QChar Unit)
{
    const int64_t unitMs = Unit == QLatin1Char('H') ? 3600000 : Unit == QLatin1Char('M') ? 60000 : 1000;
    const double ms = X * MSecsPerDay;
    if (std::fabs(ms) < 9e15)
        return double(std::llround(ms) / unitMs);
    return std::trunc(ms / double(unitMs));
}

void FormatDateTimeRun(const TToken &T, const TSection &Sec, double V, QString &Out)
{
    Word y, mo, d, h, mi, s, ms;
    DecodeDate(V, y, mo, d);
    if (y == 0) { // not a date of years 1 .. 9999
        Out += QStringLiteral("##");
        return;
    }
    DecodeTime(V, h, mi, s, ms);
    const TFormatSettings &fs = T.Settings >= 0 ? Sec.Locales[size_t(T.Settings)] : ActiveFormatSettings();
    int hour = h;
    if (Sec.TwelveHour) {
        hour %= 12;
        if (hour == 0)
            hour = 12;
    }
    for (const TDtItem &it : T.Dt) {
        const int wide = it.Count >= 2 ? 2 : 1;
        switch (it.Kind) {
        case TDtItem::Lit: Out += it.Ch; break;
        case TDtItem::Day:
            if (it.Count <= 2)
                AppendNumber(Out, d, wide);
            else
                Out += (it.Count == 3 ? fs.ShortDayNames : fs.LongDayNames)[size_t(DayOfWeek(V))];
            break;
        case TDtItem::Month:
            if (it.Count <= 2)
                AppendNumber(Out, mo, wide);
            else
                Out += (it.Count == 3 ? fs.ShortMonthNames : fs.LongMonthNames)[mo];
            break;
        case TDtItem::Year:
            if (it.Count <= 2)
                AppendNumber(Out, y % 100, 2);
            else
                AppendNumber(Out, y, 4);
            break;
        case TDtItem::Hour: AppendNumber(Out, hour, wide); break;
        case TDtItem::Minute: AppendNumber(Out, mi, wide); break;
        case TDtItem::Second: AppendNumber(Out, s, wide); break;
        case TDtItem::AmPm:
            if (h < 12)
                Out += fs.TimeAMString.isEmpty() ? QStringLiteral("AM") : fs.TimeAMString;
            else
                Out += fs.TimePMString.isEmpty() ? QStringLiteral("PM") : fs.TimePMString;
            break;
        case TDtItem::C: Out += FormatDateTime(QStringLiteral("c"), V, fs); break;
        case TDtItem::T: Out += FormatDateTime(it.Count == 1 ? QStringLiteral("t") : QStringLiteral("tt"), V, fs); break;
        case TDtItem::DateSep: Out += fs.DateSeparator; break;
        case TDtItem::TimeSep: Out += fs.TimeSeparator; break;
        }
    }
}

void FormatTextSection(const TTextSection &Sec, const QString &Text, int32_t &Color, QString &Result)
{
    if (Sec.HasColor)
        Color = Sec.Color;
    if (Sec.Unchanged || Sec.General) {
        Result = Text;
        return;
    }
    Result.clear();
    for (const TToken &t : Sec.Tokens)
        Result += t.Kind == TToken::tkAt ? Text : t.Text;
}

QString GeneralText(const Variant &V)
{
    try {
        return VarToStr(V);
    } catch (const Exception &) {
        return QString(); // error values have no text of their own
    }
}

} // namespace

struct TXlsNumberFormat::TParsed
{
    bool Empty = true;
    std::vector<TSection> Sections;
    TTextSection Text;

    void FormatNumberSection(const Variant &Value, double X, bool Dates1904, int32_t &Color, bool &HasDate,
                      bool &HasTime, QString &Result) const;
};

TXlsNumberFormat::TXlsNumberFormat(const QString &Format) : p_(std::make_unique<TParsed>())
{
    if (Format.isEmpty())
        return;
    p_->Empty = false;
    std::vector<QString> texts;
    SplitSections(Format, texts, p_->Sections);
    for (size_t i = 0; i < texts.size(); ++i)
        ParseNumberSection(texts[i], p_->Sections[i]);
    const bool fourth = texts.size() >= MaxSections;
    ParseTextSection(texts[fourth ? 3 : 0], !fourth, p_->Text);
}

TXlsNumberFormat::~TXlsNumberFormat() = default;

void TXlsNumberFormat::TParsed::FormatNumberSection(const Variant &Value, double X, bool Dates1904, int32_t &Color,
                                             bool &HasDate, bool &HasTime, QString &Result) const
{
    if (!std::isfinite(X)) {
        Result = GeneralText(Value);
        return;
    }
    bool supressNeg = false;
    const size_t chosen = size_t(ChooseSection(Sections, X, supressNeg));
    if (chosen >= Sections.size()) {
        Result = NumberSigns;
        return;
    }
    const TSection &sec = Sections[chosen];
    if (sec.Special == TSection::spLongDate) {
        HasDate = true;
        Result = FormatDateTimeWb(ActiveFormatSettings().LongDateFormat, Dates1904, X);
        return;
    }
    if (sec.Special == TSection::spLongTime) {
        HasTime = true;
        Result = FormatDateTimeWb(ActiveFormatSettings().LongTimeFormat, false, X);
        return;
    }
    if (sec.HasColor)
        Color = sec.Color;
    HasDate = HasDate || sec.HasDate;
    HasTime = HasTime || sec.HasTime;
    if (sec.General) {
        Result = GeneralText(Value);
        if (supressNeg && Result.startsWith(QLatin1Char('-')))
            Result.remove(0, 1);
        return;
    }
    const double shown = supressNeg && X < 0 ? -X : X;
    Result.clear();
    Result.reserve(32);
    for (const TToken &t : sec.Tokens) {
        switch (t.Kind) {
        case TToken::tkText: Result += t.Text; break;
        case TToken::tkDateTime: FormatDateTimeRun(t, sec, Dates1904 ? X + 1462 : X, Result); break;
        case TToken::tkNumber: FormatNumber(t.Num, shown, Result); break;
        case TToken::tkElapsed: FormatNumber(t.Num, ElapsedUnits(X, t.Unit), Result); break;
        case TToken::tkAt: break;
        }
    }
}

void TXlsNumberFormat::Render(const Variant &Value, bool Dates1904, int32_t &Color, bool &HasDate, bool &HasTime,
                              QString &Result) const
{
    const TVarType type = Value.VType();
    switch (type) {
    case varEmpty:
    case varNull:
        Result.clear();
        return;
    case varBoolean:
        // The spreadsheet's own words, whatever the format (the plain conversion says "True").
        Result = Value.AsBoolean() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        return;
    default:
        break;
    }
    if (p_->Empty) {
        Result = GeneralText(Value);
        return;
    }
    switch (type) {
    case varSmallint: case varInteger: case varSingle: case varDouble: case varCurrency: case varByte:
    case varInt64:
        p_->FormatNumberSection(Value, Value.AsDouble(), Dates1904, Color, HasDate, HasTime, Result);
        return;
    case varDate: {
        const double x = Value.AsDouble();
        if (x < 0)
            Result = NumberSigns;
        else
            p_->FormatNumberSection(Value, x, Dates1904, Color, HasDate, HasTime, Result);
        return;
    }
    case varUString: case varString: case varOleStr:
        FormatTextSection(p_->Text, Value.AsString(), Color, Result);
        return;
    default:
        Result = GeneralText(Value);
    }
}

std::shared_ptr<const TXlsNumberFormat> ParsedXlsFormat(const QString &Format)
{
    thread_local QHash<QString, std::shared_ptr<const TXlsNumberFormat>> cache;
    thread_local QString lastFormat;
    thread_local std::shared_ptr<const TXlsNumberFormat> last;
    if (last && Format == lastFormat)
        return last;
    auto it = cache.constFind(Format);
    if (it == cache.constEnd()) {
        if (cache.size() >= 1024) // a workbook rarely has more; start over rather than grow
            cache.clear();
        it = cache.insert(Format, std::make_shared<const TXlsNumberFormat>(Format));
    }
    lastFormat = Format;
    last = *it;
    return last;
}

void XlsFormatValueExt(const Variant &Value, const QString &Format, bool Dates1904, int32_t &Color, bool &HasDate,
                       bool &HasTime, QString &Result)
{
    HasDate = false;
    HasTime = false;
    ParsedXlsFormat(Format)->Render(Value, Dates1904, Color, HasDate, HasTime, Result);
}

QString XlsFormatValue(const Variant &Value, const QString &Format, bool Dates1904, int32_t &Color)
{
    bool hasDate = false;
    bool hasTime = false;
    QString result;
    XlsFormatValueExt(Value, Format, Dates1904, Color, hasDate, hasTime, result);
    return result;
}

bool HasXlsDateTime(const QString &Format, bool &HasDate, bool &HasTime)
{
    int32_t color = 0;
    QString text;
    XlsFormatValueExt(Variant(int32_t(10)), Format, false, color, HasDate, HasTime, text);
    return HasDate || HasTime;
}
