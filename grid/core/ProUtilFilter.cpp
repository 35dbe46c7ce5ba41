// Filter conditions: the expression language of the grid's filters and searches, and the date
// routines it and the date sort styles use.
#include "grid/core/ProUtil.h"

#include "framework/rtl/SysUtils.h"

#include <cmath>
#include <variant>
#include <vector>

namespace {

constexpr QChar DQ = QChar('"');
// Deeper groups are refused rather than recursed into.
constexpr int MaxGroupDepth = 200;

bool IsOperatorChar(QChar c)
{
    return c == QChar('(') || c == QChar(';') || c == QChar('^') || c == QChar('&') || c == QChar('|');
}

// Trimmed, blanks outside double quotes dropped, a leading "=" dropped.
QString PrepareExpression(const QString &Expression)
{
    const QString t = Trim(Expression);
    QString r;
    r.reserve(t.size());
    bool quoted = false;
    for (QChar c : t) {
        if (c == DQ)
            quoted = !quoted;
        if (c == QChar(' ') && !quoted)
            continue;
        r += c;
    }
    if (r.startsWith(QChar('=')))
        r.remove(0, 1);
    return r;
}

// The first operator character outside double quotes; -1 when there is none.
qsizetype FindOperator(const QString &s)
{
    bool quoted = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == DQ)
            quoted = !quoted;
        else if (!quoted && IsOperatorChar(s[i]))
            return i;
    }
    return -1;
}

// The ")" that closes the "(" at the start; -1 when none does.
qsizetype FindClosingParenthesis(const QString &s)
{
    bool quoted = false;
    int depth = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == DQ)
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == QChar('('))
            ++depth;
        else if (c == QChar(')') && --depth == 0)
            return i;
    }
    return -1;
}

bool WholeNumber(const QString &s, int &Value)
{
    if (s.isEmpty() || s.size() > 9)
        return false;
    int v = 0;
    for (QChar c : s) {
        if (c < QChar('0') || c > QChar('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
    }
    Value = v;
    return true;
}

// A number text read with "." as decimal separator; only the whole text counts.
bool ReadNumber(const QString &s, double &Value)
{
    if (s.isEmpty())
        return false;
    int code = 0;
    double v = 0;
    Val(s, v, code);
    if (code != 0)
        return false;
    Value = v;
    return true;
}

// "*" any run (also none), "?" one character, anything else itself; anchored at both ends. The
// last star is the only one ever retried, which keeps the work to pattern x value steps.
bool WildcardMatch(QStringView p, QStringView v)
{
    qsizetype i = 0, j = 0, star = -1, mark = 0;
    while (j < v.size()) {
        if (i < p.size() && p[i] == QChar('*')) {
            star = i++;
            mark = j;
        } else if (i < p.size() && (p[i] == QChar('?') || p[i] == v[j])) {
            ++i;
            ++j;
        } else if (star >= 0) {
            i = star + 1;
            j = ++mark;
        } else {
            return false;
        }
    }
    while (i < p.size() && p[i] == QChar('*'))
        ++i;
    return i == p.size();
}

// What a compared text is, worked out once per value.
struct TCompareValue
{
    QString Text;
    bool IsDate = false;
    TDateTime Date = 0;
    bool IsNumber = false;
    double Number = 0;

    explicit TCompareValue(const QString &s) : Text(s)
    {
        IsDate = ParseLocaleDateTime(s, Date);
        IsNumber = ReadNumber(NormaliseNumberText(s), Number);
    }
};

int Sign(double d) { return d > 0 ? 1 : d < 0 ? -1 : 0; }

// The value against the operand: as dates when both are dates, as text when either is no number
// or only one is a date, else as numbers.
int CompareFilterValues(const TCompareValue &v, const TCompareValue &op)
{
    if (v.IsDate && op.IsDate)
        return Sign(v.Date - op.Date);
    if (!v.IsNumber || !op.IsNumber || v.IsDate || op.IsDate)
        return Sign(QStringView(v.Text).left(255).compare(QStringView(op.Text).left(255)));
    return Sign(v.Number - op.Number);
}

// One comparison of a condition: the operand after ">" or "<" up to a blank, "&" or "|" outside
// double quotes, without the quotes around it.
struct TComparison
{
    bool Made = false;
    bool Inclusive = false;
    std::unique_ptr<TCompareValue> Operand;

    TComparison(const QString &c, QChar mark)
    {
        const qsizetype at = c.indexOf(mark);
        if (at < 0)
            return;
        Made = true;
        qsizetype k = at + 1;
        if (k < c.size() && c[k] == QChar('=')) {
            Inclusive = true;
            ++k;
        }
        while (k < c.size() && c[k] == QChar(' '))
            ++k;
        const qsizetype start = k;
        bool quoted = false;
        for (; k < c.size(); ++k) {
            const QChar ch = c[k];
            if (ch == DQ)
                quoted = !quoted;
            else if (!quoted && (ch == QChar(' ') || ch == QChar('&') || ch == QChar('|')))
                break;
        }
        QString op = c.mid(start, k - start);
        if (op.startsWith(DQ))
            op.remove(0, 1);
        if (op.endsWith(DQ))
            op.chop(1);
        Operand = std::make_unique<TCompareValue>(op);
    }

    bool Passes(const TCompareValue &v, int Wanted) const
    {
        const int r = CompareFilterValues(v, *Operand);
        return r == Wanted || (Inclusive && r == 0);
    }
};

// One condition, already in the case it is matched in.
class TCondition
{
public:
    explicit TCondition(const QString &c)
        : FGreater(c, QChar('>')), FLess(c, QChar('<')), FNot(c.contains(QChar('!'))), FCaret(c.contains(QChar('^'))),
          FAmp(c.contains(QChar('&'))), FNegate(FNot)
    {
        for (QChar ch : c)
            if (ch != QChar('!') && ch != DQ)
                FPattern += ch;
    }

    bool Matches(const QString &v) const
    {
        if (FGreater.Made || FLess.Made) {
            const TCompareValue value(v);
            bool greater = FGreater.Made && FGreater.Passes(value, 1);
            bool less = FLess.Made && FLess.Passes(value, -1);
            // With a not-mark a comparison that is not written does not hold the other back.
            if (FNot) {
                greater = greater || !FGreater.Made;
                less = less || !FLess.Made;
            }
            if (FCaret)
                return greater || less;
            if (FAmp && FGreater.Made && FLess.Made)
                return greater && less;
            if ((FGreater.Made && greater) || (FLess.Made && less))
                return true;
        }
        return WildcardMatch(FPattern, v) != FNegate;
    }

private:
    TComparison FGreater;
    TComparison FLess;
    bool FNot;
    bool FCaret;
    bool FAmp;
    bool FNegate;
    QString FPattern;
};

} // namespace

// Terms joined by operators, each step combining with the operator before it; a group step
// ("(" as its operator) leaves the result alone for the step after it.
struct TFilterExpression::TSequence
{
    struct TStep
    {
        std::variant<std::unique_ptr<TCondition>, std::unique_ptr<TSequence>> Item;
        QChar Op;
    };
    std::vector<TStep> Steps;
    std::unique_ptr<TCondition> Last;

    static bool Eval(const TStep &s, const QString &v)
    {
        if (const auto *c = std::get_if<std::unique_ptr<TCondition>>(&s.Item))
            return (*c)->Matches(v);
        return std::get<std::unique_ptr<TSequence>>(s.Item)->Matches(v);
    }

    static void Combine(bool &Result, QChar Previous, bool Value)
    {
        if (Previous.isNull())
            Result = Value;
        else if (Previous == QChar('&'))
            Result = Result && Value;
        else if (Previous != QChar('('))
            Result = Result || Value;
    }

    bool Matches(const QString &v) const
    {
        bool result = true;
        QChar previous;
        for (const TStep &s : Steps) {
            Combine(result, previous, Eval(s, v));
            previous = s.Op;
        }
        const bool last = Last->Matches(v);
        if (previous.isNull())
            return last;
        Combine(result, previous, last);
        return result;
    }

    static std::unique_ptr<TSequence> Parse(const QString &Expression, bool CaseSensitive, int Depth)
    {
        if (Depth > MaxGroupDepth)
            throw EConvertError(QStringLiteral("Filter condition nested too deeply"));
        auto term = [CaseSensitive](const QString &t) {
            return std::make_unique<TCondition>(CaseSensitive ? t : AnsiUpperCase(t));
        };
        auto seq = std::make_unique<TSequence>();
        QString e = PrepareExpression(Expression);
        for (qsizetype k = FindOperator(e); k >= 0; k = FindOperator(e)) {
            if (e.startsWith(QChar('('))) {
                const qsizetype close = FindClosingParenthesis(e);
                const QString inner = close < 0 ? e.mid(1) : e.mid(1, close - 1);
                seq->Steps.push_back({Parse(inner, CaseSensitive, Depth + 1), QChar('(')});
                e = close < 0 ? QString() : e.mid(close + 1);
            } else {
                seq->Steps.push_back({term(e.left(k)), e[k]});
                e = e.mid(k + 1);
            }
        }
        seq->Last = term(e);
        return seq;
    }
};

TFilterExpression::TFilterExpression(const QString &Expression, bool CaseSensitive)
    : FExpression(Expression), FCaseSensitive(CaseSensitive), FRoot(TSequence::Parse(Expression, CaseSensitive, 0))
{
}

TFilterExpression::~TFilterExpression() = default;

bool TFilterExpression::Matches(const QString &Value) const
{
    return FRoot->Matches(FCaseSensitive ? Value : AnsiUpperCase(Value));
}

bool MatchFilterExpression(const QString &Expression, const QString &Value, bool CaseSensitive)
{
    return TFilterExpression(Expression, CaseSensitive).Matches(Value);
}

bool MatchFilterTerm(const QString &Term, const QString &Value, bool CaseSensitive)
{
    if (CaseSensitive)
        return MatchFilterCondition(Term, Value);
    return MatchFilterCondition(AnsiUpperCase(Term), AnsiUpperCase(Value));
}

bool MatchFilterCondition(const QString &Condition, const QString &Value)
{
    return TCondition(Condition).Matches(Value);
}

// ---------------------------------------------------------------------------------------------
// Dates

bool ParseLocaleDateTime(const QString &Text, TDateTime &Value)
{
    const QString fmt = LocaleShortDateFormat().toUpper();
    const QChar sep = LocaleDateSeparator();
    const qsizetype first = Text.indexOf(sep);
    if (first < 0)
        return false;
    const qsizetype second = Text.indexOf(sep, first + 1);
    if (second < 0)
        return false;
    QString fields[3] = {Text.left(first), Text.mid(first + 1, second - first - 1), Trim(Text.mid(second + 1))};
    QString time;
    if (const qsizetype blank = fields[2].indexOf(QChar(' ')); blank >= 0) {
        time = Trim(fields[2].mid(blank));
        fields[2] = fields[2].left(blank);
    }
    int numbers[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i)
        if (!WholeNumber(fields[i], numbers[i]))
            return false;
    // The fields come in the order the format places day, month and year.
    struct TPlace
    {
        qsizetype At;
        int *Target;
    };
    int day = 0, month = 0, year = 0;
    TPlace places[3] = {{fmt.indexOf(QChar('D')), &day}, {fmt.indexOf(QChar('M')), &month}, {fmt.indexOf(QChar('Y')), &year}};
    std::sort(std::begin(places), std::end(places), [](const TPlace &a, const TPlace &b) { return a.At < b.At; });
    int next = 0;
    for (const TPlace &p : places)
        if (p.At >= 0)
            *p.Target = numbers[next++];
    if (day >= 32 || month > 12)
        return false;
    TDateTime date = 0;
    if (!TryEncodeDate(year, month, day, date))
        return false;
    Value = date;
    if (time.isEmpty())
        return true;
    const QChar tsep = LocaleTimeSeparator();
    const qsizetype t1 = time.indexOf(tsep);
    if (t1 < 0)
        return false;
    int hours = 0, minutes = 0, seconds = 0;
    if (!WholeNumber(time.left(t1), hours) || hours > 23)
        return false;
    QString rest = time.mid(t1 + 1);
    if (const qsizetype t2 = rest.indexOf(tsep); t2 >= 0) {
        if (!WholeNumber(rest.mid(t2 + 1), seconds) || seconds > 60)
            return false;
        rest = rest.left(t2);
    }
    if (!WholeNumber(rest, minutes) || minutes >= 60)
        return false;
    TDateTime t = 0;
    if (!TryEncodeTime(hours, minutes, seconds, 0, t))
        return false;
    Value = date + t;
    return true;
}

namespace {

TDateTime ParseShortDate(const QString &Text, bool MonthFirst)
{
    QChar sep;
    for (QChar c : {QChar('/'), QChar('.'), QChar('-')})
        if (Text.contains(c)) {
            sep = c;
            break;
        }
    if (sep.isNull())
        return 0;
    const qsizetype first = Text.indexOf(sep);
    const qsizetype second = Text.indexOf(sep, first + 1);
    if (second < 0)
        return 0;
    int a = 0, b = 0, year = 0;
    if (!WholeNumber(Text.left(first), a) || !WholeNumber(Text.mid(first + 1, second - first - 1), b) ||
        !WholeNumber(Text.mid(second + 1), year))
        return 0;
    // Two-digit years fall into 1926 .. 2025; longer years stand as written.
    if (year < 100)
        year += year <= 25 ? 2000 : 1900;
    TDateTime d = 0;
    if (!TryEncodeDate(year, MonthFirst ? a : b, MonthFirst ? b : a, d))
        return 0;
    return d;
}

} // namespace

TDateTime ParseShortDateUS(const QString &Text) { return ParseShortDate(Text, true); }

TDateTime ParseShortDateEU(const QString &Text) { return ParseShortDate(Text, false); }

TDateTime StepDate(int Years, int Months, int Days, double Step, TDateTime Date)
{
    if (Years == 0 && Months == 0 && Days != 0)
        return Date + Days;
    const bool byYears = Years != 0 && Months == 0 && Days == 0;
    const bool byMonths = Months != 0 && Years == 0 && Days == 0;
    if (!byYears && !byMonths)
        return Date + Step;
    Word y = 0, m = 0, d = 0;
    DecodeDate(Date, y, m, d);
    int year = y + Years;
    int month = m + Months;
    // Whole years carried either way, so that any month count lands in 1 .. 12.
    year += (month - 1 >= 0 ? (month - 1) / 12 : -((12 - month) / 12));
    month = ((month - 1) % 12 + 12) % 12 + 1;
    if (year < 1 || year > 9999)
        return Date + Step;
    const int day = std::min<int>(d, DaysInAMonth(year, month));
    TDateTime result = 0;
    if (!TryEncodeDate(year, month, day, result))
        return Date + Step;
    const double time = std::fabs(Date - std::trunc(Date));
    return result >= 0 ? result + time : result - time;
}

bool LooksLikeDate(const QString &Text)
{
    const QChar sep = LocaleDateSeparator();
    const qsizetype first = Text.indexOf(sep);
    if (first < 1)
        return false;
    const QString rest = Text.mid(first + 1);
    return rest.indexOf(sep) >= 1;
}

QString NormaliseNumberText(const QString &Text)
{
    const QChar dec = LocaleDecimalSeparator();
    const QChar thou = LocaleThousandSeparator();
    QString r;
    r.reserve(Text.size());
    for (QChar c : Text) {
        if (c == dec)
            r += QChar('.');
        else if (c != thou)
            r += c;
    }
    return r;
}
