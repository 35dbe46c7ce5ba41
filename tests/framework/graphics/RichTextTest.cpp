#include "framework/graphics/RichText.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <QTextDocument>

namespace {
TRichRun run(const QString &text, TFontStyles style = {}, TColor color = clDefault, TRichVertical v = rvNormal,
             const QString &font = QString(), int size = 0)
{
    TRichRun r;
    r.Text = text;
    r.Style = style;
    r.Color = color;
    r.Vertical = v;
    r.FontName = font;
    r.FontSize = size;
    return r;
}

const TRichText kSample = {
    run("Plain {braces} \\ and caf\u00e9 "),
    run("bold", {fsBold}),
    run(" italic red\n", {fsItalic}, clRed),
    run("under", {fsUnderline}, clDefault, rvNormal, "Courier New", 12),
    run("2", {}, clBlue, rvSuperscript),
    run("i", {}, clDefault, rvSubscript, "Arial"),
    run("\t\u03b1\u2260\U0001F600", {fsStrikeOut}),
};
} // namespace

TEST(RichText, RtfRoundTripKeepsRuns)
{
    const QByteArray rtf = RichTextToRTF(kSample);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    for (char c : rtf)
        EXPECT_LT(uint8_t(c), 0x80) << "RTF is 7-bit";
    EXPECT_EQ(RTFToRichText(rtf), kSample);
}

TEST(RichText, ReadsRtfOfOtherWriters)
{
    const QByteArray rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Times New Roman;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;}{\\*\\generator Some Writer;}{\\*\\unknownthing skip me}"
        "{\\info{\\title T}}\\pard\\f1\\fs24 Hello \\b world\\b0 , \\cf1 red\\cf0\\par "
        "x\\super 2\\nosupersub  \\uc1\\u8364?\\'80\\~end}\r\n";
    TRichText runs = RTFToRichText(rtf);
    EXPECT_EQ(RichTextPlain(runs), QString::fromUtf8("Hello world, red\nx2 €€\u00a0end"));
    ASSERT_GE(runs.size(), 4u);
    EXPECT_EQ(runs[0].FontName, "Times New Roman");
    EXPECT_EQ(runs[0].FontSize, 12);
    EXPECT_EQ(runs[1].Text, "world");
    EXPECT_TRUE(runs[1].Style.Contains(fsBold));
    EXPECT_EQ(runs[3].Text, "red");
    EXPECT_EQ(runs[3].Color, clRed);
}

TEST(RichText, MalformedRtfRaises)
{
    const struct { QByteArray rtf; const char *needle; } cases[] = {
        {"", "not RTF"},
        {"plain text", "not RTF"},
        {"{\\rtf1 open", "not closed"},
        {"{\\rtf1 {\\b x}", "not closed"},
        {"{\\rtf1 x}}", "after the end"},
        {"{\\rtf1 x} trailing", "after the end"},
        {"{\\rtf1 bad \\'zz}", "hexadecimal"},
        {"{\\rtf1 x\\", "backslash"},
    };
    for (const auto &c : cases) {
        try {
            RTFToRichText(c.rtf);
            ADD_FAILURE() << "accepted " << c.rtf.constData();
        } catch (const ERichTextError &e) {
            EXPECT_TRUE(e.Message().contains(c.needle)) << e.Message().toStdString();
        }
    }
}

TEST(RichText, DocumentRoundTrip)
{
    QTextDocument doc;
    RichTextToDocument(kSample, &doc);
    EXPECT_EQ(doc.toPlainText(), RichTextPlain(kSample));
    EXPECT_EQ(DocumentToRichText(&doc), kSample);
}
