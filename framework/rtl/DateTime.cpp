// Dates and times as days since 1899-12-30.
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include <QDateTime>
#include <QElapsedTimer>
#include <cmath>

namespace {

constexpr int64_t kMaxDate = 2958465; // 9999-12-31
constexpr int64_t kMinDate = -693593; // 0001-01-01

// Days from 1970-01-01 (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int &y, int &m, int &d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

constexpr int64_t kEpochOffset = 25569; // 1970-01-01 as a TDateTime

// Splits a value into whole days and milliseconds of the day; the time of a negative value
// counts forward from its day's midnight, as the original does.
bool splitDateTime(TDateTime dt, int64_t &days, int &msecs)
{
    if (!std::isfinite(dt) || dt > kMaxDate + 1 || dt < kMinDate - 1)
        return false;
    const int64_t total = std::llround(dt * MSecsPerDay);
    days = total / MSecsPerDay;
    msecs = static_cast<int>(std::llabs(total % MSecsPerDay));
    return true;
}

TDateTime fromQDateTime(const QDateTime &q)
{
    const QDate d = q.date();
    const QTime t = q.time();
    return EncodeDate(d.year(), d.month(), d.day()) + EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
}

} // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInAMonth(int Year, int Month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12)
        return 0;
    return days[Month - 1] + (Month == 2 && IsLeapYear(Year) ? 1 : 0);
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime &Date)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month))
        return false;
    Date = static_cast<double>(daysFromCivil(Year, static_cast<unsigned>(Month), static_cast<unsigned>(Day)) + kEpochOffset);
    return true;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime &Time)
{
    if (Hour < 0 || Hour >= 24 || Min < 0 || Min >= 60 || Sec < 0 || Sec >= 60 || MSec < 0 || MSec >= 1000)
        return false;
    Time = (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day)
{
    TDateTime d;
    if (!TryEncodeDate(Year, Month, Day, d))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return d;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec)
{
    TDateTime t;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, t))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return t;
}

void DecodeDate(TDateTime Date, Word &Year, Word &Month, Word &Day)
{
    int64_t days;
    int ms;
    if (!splitDateTime(Date, days, ms) || days > kMaxDate || days < kMinDate) {
        Year = Month = Day = 0;
        return;
    }
    int y, m, d;
    civilFromDays(days - kEpochOffset, y, m, d);
    Year = static_cast<Word>(y);
    Month = static_cast<Word>(m);
    Day = static_cast<Word>(d);
}

void DecodeTime(TDateTime Time, Word &Hour, Word &Min, Word &Sec, Word &MSec)
{
    int64_t days;
    int ms = 0;
    if (!splitDateTime(Time, days, ms))
        ms = 0;
    Hour = static_cast<Word>(ms / 3600000);
    Min = static_cast<Word>(ms / 60000 % 60);
    Sec = static_cast<Word>(ms / 1000 % 60);
    MSec = static_cast<Word>(ms % 1000);
}

int DayOfWeek(TDateTime Date)
{
    int64_t days;
    int ms;
    if (!splitDateTime(Date, days, ms))
        return 0;
    // 1899-12-30 was a Saturday.
    return static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;
}

TDateTime Now() { return fromQDateTime(QDateTime::currentDateTime()); }
TDateTime Date() { return std::floor(Now()); }
TDateTime Time() { return Frac(Now()); }

namespace {
std::function<uint32_t()> &tickSource()
{
    static std::function<uint32_t()> source;
    return source;
}
} // namespace

uint32_t GetTickCount()
{
    if (tickSource())
        return tickSource()();
    // Milliseconds of the monotonic clock, which counts from the system's start.
    QElapsedTimer t;
    t.start();
    return static_cast<uint32_t>(t.msecsSinceReference());
}

void SetTickCountSource(std::function<uint32_t()> Source) { tickSource() = std::move(Source); }

// ---------------------------------------------------------------------------------------------
// Formatting

namespace {

QString pad(int v, int width) { return QString::number(v).rightJustified(width, QLatin1Char('0')); }

bool startsWithCI(const QString &s, qsizetype at, const char *what)
{
    return QStringView(s).mid(at).startsWith(QLatin1String(what), Qt::CaseInsensitive);
}

struct DateParts
{
    int y = 0, mo = 0, d = 0, dow = 0, h = 0, mi = 0, s = 0, ms = 0;
};

void formatInto(QString &out, const QString &fmt, const DateParts &p, TDateTime dt, int depth)
{
    if (depth > 2)
        return; // nested standard formats that name themselves
    QChar lastToken;
    const qsizetype n = fmt.size();
    qsizetype i = 0;
    // Whether an am/pm marker follows in the rest of the format: hours are then 1..12.
    auto ampmAhead = [&](qsizetype from) {
        for (qsizetype k = from; k < n; ++k)
            if (startsWithCI(fmt, k, "am/pm") || startsWithCI(fmt, k, "a/p") || startsWithCI(fmt, k, "ampm"))
                return true;
        return false;
    };
    auto count = [&](QChar c) {
        qsizetype k = i;
        while (k < n && fmt[k].toUpper() == c)
            ++k;
        return static_cast<int>(k - i);
    };
    while (i < n) {
        const QChar c = fmt[i];
        const QChar u = c.toUpper();
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype close = fmt.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? n : close;
            out += QStringView(fmt).mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (u == QLatin1Char('Y')) {
            const int k = count(u);
            out += k <= 2 ? pad(p.y % 100, 2) : pad(p.y, 4);
            i += k;
        } else if (u == QLatin1Char('M')) {
            const int k = count(u);
            if (lastToken == QLatin1Char('H') && k <= 2) {
                out += k == 1 ? QString::number(p.mi) : pad(p.mi, 2);
            } else {
                switch (k) {
                case 1: out += QString::number(p.mo); break;
                case 2: out += pad(p.mo, 2); break;
                case 3: out += ActiveFormatSettings().ShortMonthNames[p.mo]; break;
                default: out += ActiveFormatSettings().LongMonthNames[p.mo];
                }
            }
            i += k;
        } else if (u == QLatin1Char('D')) {
            const int k = count(u);
            switch (k) {
            case 1: out += QString::number(p.d); break;
            case 2: out += pad(p.d, 2); break;
            case 3: out += ActiveFormatSettings().ShortDayNames[p.dow]; break;
            case 4: out += ActiveFormatSettings().LongDayNames[p.dow]; break;
            case 5: formatInto(out, ActiveFormatSettings().ShortDateFormat, p, dt, depth + 1); break;
            default: formatInto(out, ActiveFormatSettings().LongDateFormat, p, dt, depth + 1);
            }
            i += k;
        } else if (u == QLatin1Char('H')) {
            const int k = count(u);
            int h = p.h;
            if (ampmAhead(i + k)) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            out += k == 1 ? QString::number(h) : pad(h, 2);
            i += k;
        } else if (u == QLatin1Char('N')) {
            const int k = count(u);
            out += k == 1 ? QString::number(p.mi) : pad(p.mi, 2);
            i += k;
        } else if (u == QLatin1Char('S')) {
            const int k = count(u);
            out += k == 1 ? QString::number(p.s) : pad(p.s, 2);
            i += k;
        } else if (u == QLatin1Char('Z')) {
            const int k = count(u);
            out += k < 3 ? QString::number(p.ms) : pad(p.ms, 3);
            i += k;
        } else if (u == QLatin1Char('T')) {
            const int k = count(u);
            formatInto(out, k == 1 ? ActiveFormatSettings().ShortTimeFormat : ActiveFormatSettings().LongTimeFormat, p, dt, depth + 1);
            i += k;
        } else if (u == QLatin1Char('C')) {
            formatInto(out, ActiveFormatSettings().ShortDateFormat, p, dt, depth + 1);
            if (p.h || p.mi || p.s || p.ms) {
                out += QLatin1Char(' ');
                formatInto(out, ActiveFormatSettings().LongTimeFormat, p, dt, depth + 1);
            }
            ++i;
        } else if (startsWithCI(fmt, i, "am/pm")) {
            const bool pm = p.h >= 12;
            const QString word = fmt.mid(i + (pm ? 3 : 0), 2);
            out += word;
            i += 5;
        } else if (startsWithCI(fmt, i, "a/p")) {
            out += fmt[i + (p.h >= 12 ? 2 : 0)];
            i += 3;
        } else if (startsWithCI(fmt, i, "ampm")) {
            out += p.h >= 12 ? ActiveFormatSettings().TimePMString : ActiveFormatSettings().TimeAMString;
            i += 4;
        } else if (c == QLatin1Char('/')) {
            out += ActiveFormatSettings().DateSeparator;
            ++i;
        } else if (c == QLatin1Char(':')) {
            out += ActiveFormatSettings().TimeSeparator;
            ++i;
        } else {
            out += c;
            ++i;
        }
        if (u.isLetter())
            lastToken = u;
    }
}

} // namespace

QString FormatDateTime(const QString &Format, TDateTime DateTime)
{
    DateParts p;
    Word y, mo, d, h, mi, s, ms;
    DecodeDate(DateTime, y, mo, d);
    DecodeTime(DateTime, h, mi, s, ms);
    p.y = y; p.mo = mo; p.d = d; p.h = h; p.mi = mi; p.s = s; p.ms = ms;
    p.dow = y ? DayOfWeek(DateTime) : 0;
    QString out;
    formatInto(out, Format.isEmpty() ? QStringLiteral("c") : Format, p, DateTime, 0);
    return out;
}

QString DateToStr(TDateTime Date) { return FormatDateTime(QStringLiteral("ddddd"), Date); }
QString TimeToStr(TDateTime Time) { return FormatDateTime(QStringLiteral("tt"), Time); }
QString DateTimeToStr(TDateTime DateTime) { return FormatDateTime(QStringLiteral("c"), DateTime); }

// ---------------------------------------------------------------------------------------------
// Parsing

namespace {

struct Scanner
{
    const QString &s;
    qsizetype i = 0;
    void blanks()
    {
        while (i < s.size() && s[i] == QLatin1Char(' '))
            ++i;
    }
    bool number(int &v, int &digits)
    {
        blanks();
        v = 0;
        digits = 0;
        while (i < s.size() && s[i].unicode() >= '0' && s[i].unicode() <= '9') {
            if (digits < 9)
                v = v * 10 + (s[i].unicode() - '0');
            ++digits;
            ++i;
        }
        return digits > 0 && digits <= 9;
    }
    bool ch(QChar c)
    {
        blanks();
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    bool word(const QString &w)
    {
        blanks();
        if (!w.isEmpty() && QStringView(s).mid(i).startsWith(w, Qt::CaseInsensitive)) {
            i += w.size();
            return true;
        }
        return false;
    }
    bool atEnd()
    {
        blanks();
        return i >= s.size();
    }
};

enum DateOrder { doMDY, doDMY, doYMD };

DateOrder dateOrder()
{
    for (QChar c : ActiveFormatSettings().ShortDateFormat) {
        const QChar u = c.toUpper();
        if (u == QLatin1Char('D'))
            return doDMY;
        if (u == QLatin1Char('Y'))
            return doYMD;
        if (u == QLatin1Char('M'))
            return doMDY;
    }
    return doMDY;
}

bool scanDate(Scanner &sc, TDateTime &out)
{
    int n1, n2, n3 = 0, l1, l2, l3 = 0;
    if (!sc.number(n1, l1) || !sc.ch(ActiveFormatSettings().DateSeparator) || !sc.number(n2, l2))
        return false;
    const bool three = sc.ch(ActiveFormatSettings().DateSeparator);
    if (three && !sc.number(n3, l3))
        return false;
    const int currentYear = QDate::currentDate().year();
    int y, m, d, ylen;
    const DateOrder order = dateOrder();
    if (!three) {
        y = currentYear;
        ylen = 4;
        if (order == doDMY) { d = n1; m = n2; }
        else { m = n1; d = n2; }
    } else {
        switch (order) {
        case doMDY: m = n1; d = n2; y = n3; ylen = l3; break;
        case doDMY: d = n1; m = n2; y = n3; ylen = l3; break;
        default: y = n1; m = n2; d = n3; ylen = l1;
        }
    }
    if (ylen <= 2) {
        const int window = ActiveFormatSettings().TwoDigitYearCenturyWindow;
        const int century = currentYear - window;
        y += century / 100 * 100;
        if (window > 0 && y < century)
            y += 100;
    }
    return TryEncodeDate(y, m, d, out);
}

bool scanTime(Scanner &sc, TDateTime &out)
{
    int ampm = -1; // -1 none, 0 am, 1 pm
    auto marker = [&] {
        if (sc.word(ActiveFormatSettings().TimeAMString) || sc.word(QStringLiteral("AM")) || sc.word(QStringLiteral("A")))
            ampm = 0;
        else if (sc.word(ActiveFormatSettings().TimePMString) || sc.word(QStringLiteral("PM")) || sc.word(QStringLiteral("P")))
            ampm = 1;
    };
    marker();
    int h, mi = 0, s = 0, ms = 0, len;
    if (!sc.number(h, len))
        return false;
    if (sc.ch(ActiveFormatSettings().TimeSeparator)) {
        if (!sc.number(mi, len))
            return false;
        if (sc.ch(ActiveFormatSettings().TimeSeparator)) {
            if (!sc.number(s, len))
                return false;
            if (sc.ch(ActiveFormatSettings().DecimalSeparator) && !sc.number(ms, len))
                return false;
        }
    }
    if (ampm < 0)
        marker();
    if (ampm >= 0) {
        if (h < 1 || h > 12)
            return false;
        h = h % 12 + (ampm == 1 ? 12 : 0);
    }
    return TryEncodeTime(h, mi, s, ms, out);
}

} // namespace

bool TryStrToDate(const QString &S, TDateTime &Value)
{
    Scanner sc{S};
    TDateTime d;
    if (!scanDate(sc, d) || !sc.atEnd())
        return false;
    Value = d;
    return true;
}

bool TryStrToTime(const QString &S, TDateTime &Value)
{
    Scanner sc{S};
    TDateTime t;
    if (!scanTime(sc, t) || !sc.atEnd())
        return false;
    Value = t;
    return true;
}

bool TryStrToDateTime(const QString &S, TDateTime &Value)
{
    Scanner sc{S};
    TDateTime d = 0, t = 0;
    if (scanDate(sc, d)) {
        if (!sc.atEnd() && !scanTime(sc, t))
            return false;
    } else {
        sc.i = 0;
        if (!scanTime(sc, t))
            return false;
    }
    if (!sc.atEnd())
        return false;
    // The time of a day before 1899-12-30 still counts forward from its midnight.
    Value = d < 0 ? d - t : d + t;
    return true;
}

TDateTime StrToDate(const QString &S)
{
    TDateTime v;
    if (!TryStrToDate(S, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(S));
    return v;
}

TDateTime StrToTime(const QString &S)
{
    TDateTime v;
    if (!TryStrToTime(S, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(S));
    return v;
}

TDateTime StrToDateTime(const QString &S)
{
    TDateTime v;
    if (!TryStrToDateTime(S, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(S));
    return v;
}

// ---------------------------------------------------------------------------------------------
// Months and explicit settings

TDateTime IncMonth(TDateTime Date, int NumberOfMonths)
{
    Word y, m, d;
    DecodeDate(Date, y, m, d);
    if (y == 0)
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    int64_t months = static_cast<int64_t>(y) * 12 + (m - 1) + NumberOfMonths;
    const int ny = static_cast<int>(months >= 0 ? months / 12 : (months - 11) / 12);
    const int nm = static_cast<int>(months - static_cast<int64_t>(ny) * 12) + 1;
    const int nd = std::min<int>(d, DaysInAMonth(ny, nm));
    const TDateTime day = EncodeDate(ny, nm, nd);
    const double time = std::fabs(Frac(Date));
    return day < 0 ? day - time : day + time;
}

QString FormatDateTime(const QString &Format, TDateTime DateTime, const TFormatSettings &Settings)
{
    TFormatSettingsScope scope(Settings);
    return FormatDateTime(Format, DateTime);
}

TDateTime StrToDate(const QString &S, const TFormatSettings &Settings)
{
    TFormatSettingsScope scope(Settings);
    return StrToDate(S);
}

TDateTime StrToTime(const QString &S, const TFormatSettings &Settings)
{
    TFormatSettingsScope scope(Settings);
    return StrToTime(S);
}
