#include "grid/core/ProUtil.h"

#include <algorithm>

#include "framework/grids/Grids.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"

#include <array>

namespace
{
constexpr QChar CR = QChar(13);
constexpr QChar LF = QChar(10);
constexpr QChar DQ = QChar('"');

// Rewrites every line break (CR LF, lone CR, lone LF) with the replacement for its form.
QString MapLineBreaks(QStringView s, QStringView crlf, QStringView cr, QStringView lf)
{
    QString r;
    r.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i)
    {
        const QChar c = s[i];
        if (c == CR && i + 1 < s.size() && s[i + 1] == LF)
        {
            r += crlf;
            ++i;
        }
        else if (c == CR)
            r += cr;
        else if (c == LF)
            r += lf;
        else
            r += c;
    }
    return r;
}

// Upper case one character at a time, so positions in the result match the original text.
QString UpperSameLength(const QString &s)
{
    QString r(s);
    for (QChar &c : r)
        c = c.toUpper();
    return r;
}

int32_t Pos1(const QString &sub, const QString &s) { return int32_t(s.indexOf(sub)) + 1; }

// Code page 437, bytes 0x80 to 0xFF.
constexpr std::array<char16_t, 128> kOem437 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

// The OEM byte of a character, or '?' when code page 437 has none.
uint8_t CharToOem(QChar c)
{
    if (c.unicode() < 0x80)
        return uint8_t(c.unicode());
    for (size_t i = 0; i < kOem437.size(); ++i)
        if (kOem437[i] == c.unicode())
            return uint8_t(0x80 + i);
    return '?';
}
} // namespace

// ---- Quoting and line-break marks ----------------------------------------------------------------

bool HasLineBreak(const QString &s) { return s.contains(CR) || s.contains(LF); }

QString DoubleQuotes(const QString &s)
{
    QString r(s);
    return r.replace(DQ, QStringLiteral("\"\""));
}

QString UndoubleChar(QChar ch, const QString &s)
{
    if (!s.contains(ch))
        return s;
    QString r;
    r.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i)
    {
        r += s[i];
        if (s[i] == ch && i + 1 < s.size() && s[i + 1] == ch)
            ++i;
    }
    return r;
}

namespace
{
bool IsMarkOrEscape(QChar c) { return c == CSVMarkCRLF || c == CSVMarkLF || c == CSVMarkCR || c == CSVMarkEscape; }

// One writer for both forms: line breaks to marks (CR LF to "~" in the tilde form), and every
// character that the reader would take for a mark escaped.
QString EncodeLineMarks(const QString &s, bool tilde)
{
    QString r;
    r.reserve(s.size() + 4);
    if (tilde && s == QStringLiteral("^"))
        return QString(CSVMarkEscape) + s;
    for (qsizetype i = 0; i < s.size(); ++i)
    {
        const QChar c = s[i];
        if (c == CR && i + 1 < s.size() && s[i + 1] == LF)
        {
            r += tilde ? QChar('~') : CSVMarkCRLF;
            ++i;
        }
        else if (c == CR)
            r += CSVMarkCR;
        else if (c == LF)
            r += CSVMarkLF;
        else
        {
            if (IsMarkOrEscape(c) || (tilde && c == QChar('~')))
                r += CSVMarkEscape;
            r += c;
        }
    }
    return r;
}

void DecodeLineMarks(QString &s, bool tilde)
{
    if (tilde && s == QStringLiteral("^"))
    {
        s.clear();
        return;
    }
    // Most fields hold no mark; leave those untouched.
    qsizetype i = 0;
    while (i < s.size() && !IsMarkOrEscape(s[i]) && !(tilde && s[i] == QChar('~')))
        ++i;
    if (i == s.size())
        return;
    QString r = s.left(i);
    r.reserve(s.size() + 8);
    for (; i < s.size(); ++i)
    {
        const QChar c = s[i];
        if (c == CSVMarkEscape && i + 1 < s.size())
            r += s[++i];
        else if (c == CSVMarkCRLF || (tilde && c == QChar('~')))
            r += QStringLiteral("\r\n");
        else if (c == CSVMarkLF)
            r += LF;
        else if (c == CSVMarkCR)
            r += CR;
        else
            r += c;
    }
    s = r;
}
} // namespace

bool NeedsLineMarks(const QString &s, bool tilde)
{
    if (tilde && s == QStringLiteral("^"))
        return true;
    for (QChar c : s)
        if (c == CR || c == LF || IsMarkOrEscape(c) || (tilde && c == QChar('~')))
            return true;
    return false;
}

void LineBreaksToVT(QString &s)
{
    if (NeedsLineMarks(s))
        s = EncodeLineMarks(s, false);
}

void QuoteCSVMultiLine(QString &s)
{
    LineBreaksToVT(s);
    s = DQ + s + DQ;
}

void VTToLineBreaks(QString &s) { DecodeLineMarks(s, false); }

void LineBreaksToLF(QString &s)
{
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void LineBreaksToTilde(QString &s)
{
    if (NeedsLineMarks(s, true))
        s = EncodeLineMarks(s, true);
}

void TildeToLineBreaks(QString &s) { DecodeLineMarks(s, true); }

QString EncodeTextCell(const QString &cell, bool last)
{
    if (cell.isEmpty())
        return last ? QStringLiteral("\"\"") : QString();
    const bool quote = NeedsLineMarks(cell) || std::any_of(cell.begin(), cell.end(), [](QChar c) {
                           return c == QChar(' ') || c == QChar(',') || c == DQ;
                       });
    if (!quote)
        return cell;
    QString s = DoubleQuotes(cell);
    QuoteCSVMultiLine(s);
    return s;
}

QStringList SplitTextCells(QStringView line, QStringView separators)
{
    QStringList cells;
    qsizetype i = 0;
    const qsizetype n = line.size();
    auto isSeparator = [&](qsizetype k) { return separators.contains(line[k]); };
    while (true)
    {
        QString cell;
        if (i < n && line[i] == DQ)
        {
            const QStringView rest = line.mid(i + 1);
            const int32_t q = FindClosingQuote(DQ, rest);
            if (q > 0)
            {
                cell = UndoubleChar(DQ, rest.left(q - 1).toString());
                i += 1 + q;
            }
            else
            {
                cell = rest.toString();
                i = n;
            }
            while (i < n && !isSeparator(i))
                ++i;
        }
        else
        {
            const qsizetype from = i;
            while (i < n && !isSeparator(i))
                ++i;
            cell = line.mid(from, i - from).toString();
        }
        VTToLineBreaks(cell);
        cells << cell;
        if (i >= n)
            break;
        ++i; // the separator; one at the very end still opens an empty last cell
    }
    return cells;
}

int32_t FindClosingQuote(QChar q, QStringView s)
{
    int32_t run = 0;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i)
    {
        if (s[i] == q)
        {
            if (i == n - 1)
                return int32_t(i + 1);
            ++run;
        }
        else
        {
            if (run % 2 == 1)
                return int32_t(i); // 1-based position of the run's last quote
            run = 0;
        }
    }
    return 0;
}

int32_t FindClosingQuote(QChar q, const QString &s, int32_t &pos)
{
    pos = FindClosingQuote(q, QStringView(s));
    return pos;
}

int32_t CountClosingQuotes(QChar q, QStringView s)
{
    int32_t count = 0;
    for (int32_t p = FindClosingQuote(q, s); p > 0; p = FindClosingQuote(q, s))
    {
        ++count;
        s = s.mid(p);
    }
    return count;
}

int32_t CountChar(QChar ch, QStringView s)
{
    return int32_t(s.count(ch));
}

int32_t CharPos(QChar ch, const QString &s, int32_t &pos)
{
    pos = int32_t(s.indexOf(ch)) + 1;
    return pos;
}

void SplitToken(QString &text, QChar delimiter, QString &token)
{
    const qsizetype p = text.indexOf(delimiter);
    if (p < 0)
    {
        token.clear();
        return;
    }
    token = text.left(p);
    text.remove(0, p + 1);
}

void TextToOEM(QString &s)
{
    QByteArray oem;
    oem.reserve(s.size());
    for (QChar c : s)
        oem += char(CharToOem(c));
    s = AnsiToString(oem);
}

void OEMToText(QString &s)
{
    for (QChar &c : s)
    {
        // Characters that did not come from an 8-bit file are left alone.
        if (c.unicode() < 0x80 || !IsAnsiRepresentable(QString(c)))
            continue;
        const uint8_t b = uint8_t(CharToAnsi(c));
        if (b >= 0x80)
            c = QChar(kOem437[b - 0x80]);
    }
}

QString EncodeCellLineBreaks(const QString &s)
{
    if (!s.contains(CR))
        return s;
    QString r(s);
    for (QChar &c : r)
    {
        if (c == CR)
            c = QChar(9);
        else if (c == LF)
            c = QChar(8);
        else if (c.unicode() == 0)
            c = QChar(1);
    }
    return r;
}

void DecodeCellLineBreaks(const QString &s, bool multiLine, QString &result)
{
    if (!s.contains(QChar(8)))
    {
        result = s;
        return;
    }
    QString r(s);
    for (QChar &c : r)
    {
        if (c.unicode() == 9)
            c = CR;
        else if (c.unicode() == 8)
            c = LF;
        else if (c.unicode() == 1)
            c = QChar(0);
    }
    if (multiLine)
        result = r;
    else
        FirstLine(r, false, result);
}

void FirstLine(QString &text, bool keepRest, QString &line)
{
    const qsizetype p = text.indexOf(CR);
    if (p < 0)
    {
        line = text;
        text.clear();
        return;
    }
    line = text.left(p);
    if (!keepRest)
    {
        text.clear();
        return;
    }
    qsizetype cut = p + 1;
    if (cut < text.size() && text[cut] == LF)
        ++cut;
    text.remove(0, cut);
}

int32_t CountTextLines(const QString &s, bool multiLine)
{
    return multiLine ? 1 + int32_t(s.count(CR)) : 1;
}

QString LineBreaksToEscapes(const QString &s)
{
    return HasLineBreak(s) ? MapLineBreaks(s, u"\\n", u"\\n", u"\\n") : s;
}

QString EscapesToLineBreaks(const QString &s)
{
    QString r(s);
    return r.replace(QStringLiteral("\\n"), QString(CR));
}

QString LineBreaksToBR(const QString &s)
{
    QString r(s);
    return r.replace(CR, QStringLiteral("<br>"));
}

QString CRToLF(const QString &s)
{
    return s.contains(CR) ? MapLineBreaks(s, u"\n", u"\n", u"\n") : s;
}

QString RemoveCR(const QString &s)
{
    QString r(s);
    return r.remove(CR);
}

QString StringsToText(const TStrings &strings)
{
    QString r;
    for (int i = 0; i < strings.Count(); ++i)
        r += strings.Strings(i);
    return r;
}

void AddHTMLClipboardHeader(QString &html)
{
    const qsizetype n = html.size();
    auto number = [](const char *label, qsizetype v) {
        return QString::fromLatin1(label) + QStringLiteral("%1").arg(qlonglong(v), 8, 10, QChar('0')) +
               QStringLiteral("\r\n");
    };
    html = QStringLiteral("Version:1.0\r\n") + number("StartHTML:", 97) + number("EndHTML:", n + 306) +
           number("StartFragment:", 274) + number("EndFragment:", n + 274) +
           QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">") +
           QStringLiteral("<html><head><META http-equiv=Content-Type content=\"text/html; "
                          "charset=iso-8859-1\"></head><body><!--StartFragment-->") +
           html + QStringLiteral("<!--EndFragment--></body></html>");
}

// ---- Classification ------------------------------------------------------------------------------

QChar LocaleDecimalSeparator() { return FormatSettings.DecimalSeparator; }
QChar LocaleThousandSeparator() { return FormatSettings.ThousandSeparator; }
QChar LocaleDateSeparator() { return FormatSettings.DateSeparator; }
QChar LocaleTimeSeparator() { return FormatSettings.TimeSeparator; }
QString LocaleShortDateFormat() { return FormatSettings.ShortDateFormat; }

int32_t ClampSize(int32_t value, int32_t minimum, int32_t maximum)
{
    if (minimum == maximum)
        return value;
    int32_t r = value;
    if (minimum > 0 && value < minimum)
        r = minimum;
    if (maximum > 0 && value > maximum)
        r = maximum;
    return r;
}

bool PointInCellRange(const TGridRect &range, int32_t col, int32_t row)
{
    return col >= range.Left && col <= range.Right && row >= range.Top && row <= range.Bottom;
}

int32_t UpperCasePos(const QString &substr, const QString &s)
{
    return Pos1(substr, UpperSameLength(s));
}

int32_t CellTextKind(const QString &s, bool detectHTML)
{
    const QString t = s + QChar(' ');
    if (t.size() < 2)
        return ctkPlain;
    if (t[0] == QChar('='))
        return ctkFormula;
    if (t.startsWith(QStringLiteral("|\\")))
        return (t.size() >= 5 && t[3] == QChar('=') && t[4].unicode() == 0) ? ctkFormula : ctkWide;
    if (t.startsWith(QStringLiteral("{\\")))
        return ctkRichText;
    if (detectHTML && (t.contains(QStringLiteral("</")) || t.contains(QStringLiteral("<B")) ||
                       t.contains(QStringLiteral("<I")) || t.contains(QStringLiteral("<C"))))
        return ctkHTML;
    return ctkPlain;
}

bool IsNumberChar(QChar c) { return c.isNumber(); }
bool IsSignedNumberChar(QChar c) { return c.isNumber() || c == QChar('-'); }

bool IsFloatChar(QChar c)
{
    return c.isNumber() || c == LocaleThousandSeparator() || c == LocaleDecimalSeparator() || c == QChar('e') ||
           c == QChar('E');
}

bool IsFloatTextChar(QChar c)
{
    return c.isNumber() || c == QChar('-') || c == QChar('.') || c == QChar('e') || c == QChar('E') || c == QChar('+');
}

bool IsSignedFloatChar(QChar c) { return IsFloatChar(c) || c == QChar('+') || c == QChar('-'); }

int32_t NumericTextKind(const QString &s)
{
    if (s.isEmpty())
        return ntkNotNumber;
    const QChar dec = LocaleDecimalSeparator();
    const QChar thou = LocaleThousandSeparator();
    const qsizetype n = s.size();
    auto isExp = [](QChar c) { return c == QChar('e') || c == QChar('E'); };

    bool allDigits = true, decimalOk = true, expSeen = false;
    bool expOk = !isExp(s[0]);
    const QChar last = s[n - 1];
    if (last == QChar('+') || last == QChar('-') || isExp(last))
        expOk = false;
    int32_t minus = 0, decimals = 0;
    qsizetype lastThou = -1;
    for (qsizetype i = 0; i < n; ++i)
    {
        const QChar c = s[i];
        const bool digit = c.isNumber();
        const bool leadMinus = c == QChar('-') && i == 0;
        if (c == QChar('-'))
            ++minus;
        if (c == dec)
            ++decimals;
        if (!digit && !leadMinus)
            allDigits = false;
        if (c == thou)
        {
            if (lastThou >= 0 && i - lastThou <= 3)
                decimalOk = false;
            lastThou = i;
        }
        else if (!digit && !leadMinus && c != dec)
            decimalOk = false;
        if (isExp(c))
        {
            if (expSeen)
                expOk = false;
            expSeen = true;
        }
        if (!IsSignedFloatChar(c) || c == thou)
            expOk = false;
    }

    int32_t kind;
    if (allDigits)
        kind = ntkInteger;
    else if (decimalOk && !expSeen)
        kind = ntkDecimal;
    else if (expSeen && expOk)
        kind = ntkExponent;
    else
        kind = ntkNotNumber;
    if (minus > (kind == ntkExponent ? 2 : 1) || decimals > 1)
        kind = ntkNotNumber;
    return kind;
}

QString NumberTextToDecimal(const QString &s)
{
    if (s.isEmpty())
        return QString();
    bool negative = s.startsWith(QChar('(')) && s.endsWith(QChar(')'));
    qsizetype start = 0;
    while (s.size() - start >= 2 && !IsFloatChar(s[start]))
    {
        if (s[start] == QChar('-'))
            negative = true;
        ++start;
    }
    const QChar dec = LocaleDecimalSeparator();
    const QChar thou = LocaleThousandSeparator();
    QString r;
    for (qsizetype i = start; i < s.size(); ++i)
    {
        const QChar c = s[i];
        if (c == thou)
            continue;
        if (c == dec)
            r += QChar('.');
        else if (IsFloatTextChar(c))
            r += c;
        else
            break;
    }
    return negative ? QChar('-') + r : r;
}

QString ColorToHex(TColor color)
{
    const uint32_t v = uint32_t(color);
    return QStringLiteral("%1%2%3")
        .arg(v & 0xFF, 2, 16, QChar('0'))
        .arg((v >> 8) & 0xFF, 2, 16, QChar('0'))
        .arg((v >> 16) & 0xFF, 2, 16, QChar('0'))
        .toUpper();
}

void FillWithChar(QString &s, QChar ch)
{
    s.fill(ch);
}

QString MixedCaseText(const QString &s)
{
    auto isSeparator = [](QChar c) {
        return c == QChar(' ') || c == QChar('\'') || c == QChar(',') || c == QChar('-') || c == QChar('.');
    };
    const qsizetype n = s.size();
    QString r;
    r.reserve(n);
    bool capital = true;
    for (qsizetype i = 0; i < n; ++i)
    {
        const QChar c = s[i];
        if (isSeparator(c))
        {
            capital = true;
            r += c;
        }
        else
        {
            r += capital ? c.toUpper() : c.toLower();
            capital = false;
        }
        if (r.endsWith(QStringLiteral("Mc")) && (r.size() == 2 || r.endsWith(QStringLiteral(" Mc"))))
            capital = true;
        // A closing roman numeral (" II", " III") keeps its capitals.
        if (i >= n - 3 && (r.endsWith(QStringLiteral(" I")) || r.endsWith(QStringLiteral(" II"))))
            capital = true;
    }
    return r;
}

QString EncodeWideCellText(const QString &wide)
{
    QString r = QStringLiteral("|\\");
    r.reserve(2 + 2 * wide.size());
    for (QChar c : wide)
    {
        r += QChar(c.unicode() >> 8);
        r += QChar(c.unicode() & 0xFF);
    }
    return r;
}

QString DecodeWideCellText(const QString &s)
{
    if (!s.startsWith(QStringLiteral("|\\")))
        return s;
    QString r;
    r.reserve((s.size() - 2) / 2);
    for (qsizetype i = 2; i + 1 < s.size(); i += 2)
        r += QChar(char16_t((s[i + 1].unicode() + 256 * s[i].unicode()) & 0xFFFF));
    return r;
}

int32_t WidePos(const QString &substr, const QString &s)
{
    return Pos1(substr, s);
}

bool IsURL(const QString &s)
{
    return s.contains(QStringLiteral("://")) || s.contains(QStringLiteral("mailto:"));
}

void StripURLScheme(QString &s)
{
    qsizetype p = s.indexOf(QStringLiteral("://"));
    if (p >= 0)
    {
        s.remove(0, p + 3);
        return;
    }
    p = s.indexOf(QStringLiteral("mailto:"));
    if (p >= 0)
        s.remove(0, p + 7);
}

int32_t MakeURLLink(const QString &s, const QString &upperPrefix, QString &result)
{
    if (UpperCasePos(upperPrefix, s) == 0)
        return 0;
    QString t(s);
    t.replace(QChar('<'), QStringLiteral("&lt;")).replace(QChar('>'), QStringLiteral("&gt;"));
    const qsizetype start = UpperSameLength(t).indexOf(upperPrefix);
    auto inLink = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ||
               QStringView(u"%()-./:@\\_{}").contains(c);
    };
    qsizetype end = start;
    while (end < t.size() && inLink(t[end]))
        ++end;
    const QString link = t.mid(start, end - start);
    result = t.left(start) + QStringLiteral("<a href=\"") + link + QStringLiteral("\">") + link +
             QStringLiteral("</a>") + t.mid(end);
    return 1;
}

namespace
{
// A whole number: an optional sign and decimal digits, within 32 bits.
bool ParseWholeNumber(QStringView s, int32_t &value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QChar('-') || s[i] == QChar('+')))
        negative = s[i++] == QChar('-');
    if (i == s.size())
        return false;
    int64_t v = 0;
    for (; i < s.size(); ++i)
    {
        const char16_t u = s[i].unicode();
        if (u < '0' || u > '9')
            return false;
        v = v * 10 + (u - '0');
        if (v > int64_t(INT32_MAX) + 1)
            return false;
    }
    v = negative ? -v : v;
    if (v > INT32_MAX)
        return false;
    value = int32_t(v);
    return true;
}
} // namespace

bool ParseRCReference(const QString &s, TPoint &point)
{
    point = TPoint();
    const QString t = UpperSameLength(s);
    if (t.size() <= 3 || t[0] != QChar('R'))
        return false;
    const qsizetype c = t.indexOf(QChar('C'), 1);
    if (c < 0)
        return false;
    int32_t row = 0, col = 0;
    if (!ParseWholeNumber(QStringView(t).mid(1, c - 1), row) || !ParseWholeNumber(QStringView(t).mid(c + 1), col))
        return false;
    point = TPoint(col, row);
    return true;
}
