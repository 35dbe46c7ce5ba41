// Cell text conversions used by the delimited-text, own-text, clipboard and settings formats.
#include "grid/core/ProUtil.h"

#include "framework/rtl/CodePage.h"
#include "framework/rtl/Strings.h"
#include "tests/common/TestSupport.h"

#include <QRegularExpression>
#include <QRegularExpressionMatch>
#include <gtest/gtest.h>

namespace
{
const QString CRLF = QStringLiteral("\r\n");

// Writes one field the way the delimited-text writer does for a quoted cell.
QString WriteQuotedField(const QString &text)
{
    QString s = DoubleQuotes(text);
    QuoteCSVMultiLine(s);
    return s;
}

// Reads the first field of a line the way the delimited-text reader does.
QString ReadFirstField(const QString &line)
{
    EXPECT_TRUE(line.startsWith(QChar('"')));
    const QString rest = line.mid(1);
    const int32_t p = FindClosingQuote(QChar('"'), rest);
    if (p == 0)
        return QString();
    QString field = UndoubleChar(QChar('"'), rest.left(p - 1));
    VTToLineBreaks(field);
    return field;
}
} // namespace

TEST(CsvQuoting, AwkwardTextsSurviveAWriteAndReadAsOneLineField)
{
    const QString texts[] = {
        QStringLiteral("plain"),
        QStringLiteral("say \"hi\""),
        QStringLiteral("\""),
        QStringLiteral("\"\""),
        QStringLiteral("a,b"),
        QStringLiteral("   leading blanks"),
        QStringLiteral("ends in quote\""),
        QStringLiteral("two\r\nlines"),
        QStringLiteral("lone\nLF"),
        QStringLiteral("lone\rCR"),
        QStringLiteral("\r\n\r\nblank lines\r\n"),
        QStringLiteral("quote \"and\"\r\nbreak"),
        QStringLiteral("caf\u00e9 \u00d1and\u00fa"),
        QString(),
    };
    for (const QString &t : texts)
    {
        const QString field = WriteQuotedField(t);
        EXPECT_FALSE(field.contains(QChar('\r')) || field.contains(QChar('\n'))) << t.toStdString();
        EXPECT_EQ(ReadFirstField(field + QStringLiteral(",next")), t);
        EXPECT_EQ(ReadFirstField(field), t);
    }
}

TEST(CsvQuoting, FindClosingQuote)
{
    const struct
    {
        const char *text;
        int32_t pos;
    } cases[] = {
        {"a\"\"b\",", 5},  // doubled quotes are text, the single one closes
        {"ab\"\"", 4},     // a quote at the very end closes, whatever the run
        {"\",x", 1},       // empty field
        {"\"\"\",x", 3},   // a doubled quote, then the closing one
        {"\"\"x", 0},      // only doubled quotes
        {"abc", 0},
        {"", 0},
    };
    for (const auto &c : cases)
    {
        int32_t pos = -1;
        EXPECT_EQ(FindClosingQuote(QChar('"'), QString::fromLatin1(c.text), pos), c.pos) << c.text;
        EXPECT_EQ(pos, c.pos);
    }
}

TEST(CsvQuoting, CountsUsedByDelimiterDetection)
{
    EXPECT_EQ(CountClosingQuotes(QChar(','), u"1,2,3"), 2);
    EXPECT_EQ(CountClosingQuotes(QChar(','), u"a,,b"), 0);
    EXPECT_EQ(CountClosingQuotes(QChar(','), u"a,b,"), 2);
    EXPECT_EQ(CountClosingQuotes(QChar(';'), u""), 0);
    EXPECT_EQ(CountChar(QChar(','), u"a,,b,"), 3);
    EXPECT_EQ(CountChar(QChar(';'), u"a,b"), 0);
}

TEST(CsvQuoting, DoublingAndUndoubling)
{
    EXPECT_EQ(DoubleQuotes(QStringLiteral("a\"b\"\"")), QStringLiteral("a\"\"b\"\"\"\""));
    EXPECT_EQ(UndoubleChar(QChar('"'), QStringLiteral("a\"\"b")), QStringLiteral("a\"b"));
    EXPECT_EQ(UndoubleChar(QChar('"'), QStringLiteral("\"\"\"")), QStringLiteral("\"\""));
    EXPECT_EQ(UndoubleChar(QChar('~'), QStringLiteral("~~~~")), QStringLiteral("~~"));
}

TEST(CsvQuoting, TildeForm)
{
    QString s = QStringLiteral("^");
    TildeToLineBreaks(s);
    EXPECT_TRUE(s.isEmpty());
    s = QStringLiteral("a~b");
    TildeToLineBreaks(s);
    EXPECT_EQ(s, QStringLiteral("a\r\nb"));

    // A lone LF or CR keeps its mark; "~", "^" and the marks held as text are escaped.
    s = QStringLiteral("a\r\nb\nc\rd");
    LineBreaksToTilde(s);
    EXPECT_EQ(s, QStringLiteral("a~b\u000cc\u000ed"));
    TildeToLineBreaks(s);
    EXPECT_EQ(s, QStringLiteral("a\r\nb\nc\rd"));
    for (const QString &text : {QStringLiteral("^"), QStringLiteral("x~y"), QStringLiteral("\u000b\u0010")}) {
        s = text;
        LineBreaksToTilde(s);
        EXPECT_NE(s, text);
        TildeToLineBreaks(s);
        EXPECT_EQ(s, text);
    }
}

TEST(CsvQuoting, SingleLineAndMarks)
{
    QString s = QStringLiteral("a\r\nb\rc");
    LineBreaksToLF(s);
    EXPECT_EQ(s, QStringLiteral("a\nb\rc"));

    s = QStringLiteral("a\r\nb\nc\rd");
    QuoteCSVMultiLine(s);
    EXPECT_EQ(s, QStringLiteral("\"a\u000bb\u000cc\u000ed\""));

    s = QStringLiteral("no marks");
    VTToLineBreaks(s);
    EXPECT_EQ(s, QStringLiteral("no marks"));
}

TEST(TextTokens, CharPosAndSplitToken)
{
    int32_t pos = -1;
    EXPECT_EQ(CharPos(QChar('b'), QStringLiteral("abcb"), pos), 2);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(CharPos(QChar('z'), QStringLiteral("abc"), pos), 0);
    EXPECT_EQ(pos, 0);

    QString text = QStringLiteral("one;two;three"), token;
    SplitToken(text, QChar(';'), token);
    EXPECT_EQ(token, QStringLiteral("one"));
    EXPECT_EQ(text, QStringLiteral("two;three"));
    text = QStringLiteral(";x");
    SplitToken(text, QChar(';'), token);
    EXPECT_EQ(token, QString());
    EXPECT_EQ(text, QStringLiteral("x"));
    token = QStringLiteral("old");
    SplitToken(text, QChar(';'), token);
    EXPECT_TRUE(token.isEmpty());
    EXPECT_EQ(text, QStringLiteral("x"));
}

TEST(OemText, ConvertsThroughCodePage437)
{
    QString s = QStringLiteral("\u00c7a\u00e9\u00bd\u2591");
    TextToOEM(s);
    EXPECT_EQ(StringToAnsi(s), QByteArray("\x80" "a" "\x82\xab\xb0"));
    OEMToText(s);
    EXPECT_EQ(s, QStringLiteral("\u00c7a\u00e9\u00bd\u2591"));

    s = QStringLiteral("\u20ac1"); // the euro sign has no OEM byte
    TextToOEM(s);
    EXPECT_EQ(s, QStringLiteral("?1"));
}

TEST(OwnTextFormat, CellLineBreaks)
{
    const QString cell = QStringLiteral("a\r\nb") + QChar(0) + QStringLiteral("c\r\nd");
    const QString enc = EncodeCellLineBreaks(cell);
    EXPECT_FALSE(enc.contains(QChar('\r')) || enc.contains(QChar('\n')) || enc.contains(QChar(0)));
    QString dec;
    DecodeCellLineBreaks(enc, true, dec);
    EXPECT_EQ(dec, cell);
    DecodeCellLineBreaks(enc, false, dec);
    EXPECT_EQ(dec, QStringLiteral("a"));

    const QString noCR = QStringLiteral("a\tb\nc");
    EXPECT_EQ(EncodeCellLineBreaks(noCR), noCR);
    DecodeCellLineBreaks(noCR, false, dec);
    EXPECT_EQ(dec, noCR);
}

TEST(OwnTextFormat, FirstLineAndLineCount)
{
    const struct
    {
        const char *text;
        bool keep;
        const char *line;
        const char *rest;
    } cases[] = {
        {"a\r\nb\r\nc", true, "a", "b\r\nc"},
        {"a\r\nb", false, "a", ""},
        {"a\r\r\nb", true, "a", "\r\nb"},
        {"a\rb", true, "a", "b"},
        {"abc", true, "abc", ""},
        {"", true, "", ""},
    };
    for (const auto &c : cases)
    {
        QString text = QString::fromLatin1(c.text), line;
        FirstLine(text, c.keep, line);
        EXPECT_EQ(line, QString::fromLatin1(c.line)) << c.text;
        EXPECT_EQ(text, QString::fromLatin1(c.rest)) << c.text;
    }
    EXPECT_EQ(CountTextLines(QStringLiteral("a\r\nb\r\nc"), true), 3);
    EXPECT_EQ(CountTextLines(QStringLiteral("a\r\nb\r\nc"), false), 1);
    EXPECT_EQ(CountTextLines(QString(), true), 1);
}

TEST(OtherFormats, SettingsEscapesHtmlAndClipboardText)
{
    const QString text = QStringLiteral("Page\r\nheader");
    EXPECT_EQ(LineBreaksToEscapes(text), QStringLiteral("Page\\nheader"));
    EXPECT_EQ(EscapesToLineBreaks(LineBreaksToEscapes(text)), QStringLiteral("Page\rheader"));
    EXPECT_EQ(EscapesToLineBreaks(QStringLiteral("a\\nb\\n")), QStringLiteral("a\rb\r"));
    EXPECT_EQ(LineBreaksToEscapes(QStringLiteral("a\nb")), QStringLiteral("a\\nb"));

    EXPECT_EQ(LineBreaksToBR(QStringLiteral("a\r\nb")), QStringLiteral("a<br>\nb"));
    EXPECT_EQ(CRToLF(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a\nb\nc\nd"));
    EXPECT_EQ(RemoveCR(QStringLiteral("a\r\nb\r")), QStringLiteral("a\nb"));
}

TEST(OtherFormats, StringsToTextJoinsWithoutSeparators)
{
    TStringList lines;
    EXPECT_EQ(StringsToText(lines), QString());
    lines.Add(QStringLiteral("<b>Title"));
    lines.Add(QString());
    lines.Add(QStringLiteral(" line</b>"));
    EXPECT_EQ(StringsToText(lines), QStringLiteral("<b>Title line</b>"));
}

TEST(OtherFormats, HtmlClipboardHeaderOffsetsPointIntoTheResult)
{
    for (const QString &fragment : {QString(), QStringLiteral("<table><tr><td>x</td></tr></table>")})
    {
        QString html = fragment;
        AddHTMLClipboardHeader(html);
        auto offset = [&](const QString &label) {
            const QRegularExpressionMatch m =
                QRegularExpression(label + QStringLiteral(":(\\d{8})\r\n")).match(html);
            EXPECT_TRUE(m.hasMatch()) << label.toStdString();
            return m.captured(1).toInt();
        };
        EXPECT_TRUE(html.startsWith(QStringLiteral("Version:1.0\r\n")));
        EXPECT_TRUE(html.mid(offset(QStringLiteral("StartHTML"))).startsWith(QStringLiteral("<!DOCTYPE")));
        EXPECT_EQ(offset(QStringLiteral("EndHTML")), html.size());
        const int32_t start = offset(QStringLiteral("StartFragment"));
        EXPECT_TRUE(html.left(start).endsWith(QStringLiteral("<!--StartFragment-->")));
        EXPECT_EQ(html.mid(start, offset(QStringLiteral("EndFragment")) - start), fragment);
        EXPECT_TRUE(html.endsWith(QStringLiteral("<!--EndFragment--></body></html>")));
    }
    QString empty;
    AddHTMLClipboardHeader(empty);
    EXPECT_TRUE(empty.contains(QStringLiteral("EndHTML:00000306\r\n")));
    EXPECT_TRUE(empty.contains(QStringLiteral("EndFragment:00000274\r\n")));
}
