// Formula texts to tokens: literals, references, operators, functions and their operand
// classes, spaces, sheets, the forced 3-D mode, and the messages of bad texts.
#include "FormulaFixture.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

using namespace fml;

TEST(EncodeFormula, Tokens)
{
    FakeCellList cells;
    const struct
    {
        const char *text;
        const char *tokens;
    } cases[] = {
        {"=1+2", "1E 01 00 1E 02 00 03"},
        {"=A1", "44 00 00 00 C0"},
        {"=$A$1", "44 00 00 00 00"},
        {"=$A1", "44 00 00 00 80"},
        {"=a$1", "44 00 00 00 40"},
        {"=IV65536", "44 FF FF FF C0"},
        {"=SUM(1,2)", "1E 01 00 1E 02 00 42 02 04 00"},
        {"=PI()", "41 13 00"},
        {"=SUM()", "42 00 04 00"},
        {"=-1", "1E 01 00 13"},
        {"=#n/a", "1C 2A"},
        {"=#DIV/0!", "1C 07"},
        {"= 1", "19 40 00 01 1E 01 00"},
        {"=65535", "1E FF FF"},
        {"=65536", "1F 00 00 00 00 00 00 F0 40"},
        {"=1.5", "1F 00 00 00 00 00 00 F8 3F"},
        {"=2.0", "1E 02 00"},
        {"=15E-1", "1F 00 00 00 00 00 00 F8 3F"},
        {"=A:A", "45 00 00 FF FF 00 C0 00 C0"},
        {"=$B:C", "45 00 00 FF FF 01 80 02 C0"},
        {"=1:1", "45 00 00 00 00 00 C0 FF C0"},
        {"=$2:3", "45 01 00 02 00 00 40 FF C0"},
        {"=A1:B2", "45 00 00 01 00 00 C0 01 C0"},
        {"=IF(A1,,1)", "44 00 00 00 C0 16 1E 01 00 42 03 01 00"},
        {"=IF(A1,1,)", "44 00 00 00 C0 1E 01 00 16 42 03 01 00"},
        {"=SUM((A1,B1))", "24 00 00 00 C0 24 00 00 01 C0 10 15 42 01 04 00"},
        {"=SUM(A1,B1)", "24 00 00 00 C0 24 00 00 01 C0 42 02 04 00"},
        {"=A1,B1", "24 00 00 00 C0 24 00 00 01 C0 10"},
        {"=TRUE", "1D 01"},
        {"=false", "1D 00"},
        {"=\"a\"\"b\"", "17 03 00 61 22 62"},
        {"=\"\"", "17 00 00"},
        {"=1%", "1E 01 00 14"},
        {"=A1%", "44 00 00 00 C0 14"},
        {"=-2^2", "1E 02 00 13 1E 02 00 07"},
        {"=--1", "1E 01 00 13 13"},
        {"=-+1", "1E 01 00 12 13"},
        {"=1<>2", "1E 01 00 1E 02 00 0E"},
        {"=1<=2", "1E 01 00 1E 02 00 0A"},
        {"=1>=2", "1E 01 00 1E 02 00 0C"},
        {"=1=2", "1E 01 00 1E 02 00 0B"},
        {"=1<2", "1E 01 00 1E 02 00 09"},
        {"=1>2", "1E 01 00 1E 02 00 0D"},
        {"=1&2", "1E 01 00 1E 02 00 08"},
        {"=1-2*3/4", "1E 01 00 1E 02 00 1E 03 00 05 1E 04 00 06 04"},
        {"=(1)", "1E 01 00 15"},
        // Operand classes: value, reference and array arguments, function results.
        {"=ABS(A1)", "44 00 00 00 C0 41 18 00"},
        {"=MMULT(A1:B2,C1:D2)", "65 00 00 01 00 00 C0 01 C0 65 00 00 01 00 02 C0 03 C0 61 A5 00"},
        {"=ROWS(INDEX(A1:B2,1,1))", "25 00 00 01 00 00 C0 01 C0 1E 01 00 1E 01 00 22 03 1D 00 41 4C 00"},
        {"=INDEX(A1:B2,1)", "25 00 00 01 00 00 C0 01 C0 1E 01 00 42 02 1D 00"},
        {"=A1+B1", "44 00 00 00 C0 44 00 00 01 C0 03"},
        // Spaces: before tokens, around parentheses, before and after arguments.
        {"=1 +2", "1E 01 00 1E 02 00 19 40 00 01 03"},
        {"=( 1 )", "19 40 00 01 1E 01 00 19 40 04 01 15"},
        {"= (1)", "1E 01 00 19 40 02 01 15"},
        {"=SUM( A1 , B1 )", "19 40 00 01 24 00 00 00 C0 19 40 00 01 24 00 00 01 C0 19 40 04 01 42 02 04 00"},
        {"=PI( )", "19 40 04 01 41 13 00"},
        {"=- +1", "1E 01 00 19 40 00 01 12 13"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HexOf(Encode(QString::fromLatin1(c.text), &cells)), QLatin1String(c.tokens)) << c.text;
}

TEST(EncodeFormula, ReturnClassAndLength)
{
    FakeCellList cells;
    EXPECT_EQ(HexOf(Encode(QStringLiteral("=SUM(1,2)"), &cells, fmArray)), "1E 01 00 1E 02 00 62 02 04 00");
    EXPECT_EQ(HexOf(Encode(QStringLiteral("=A1"), &cells, fmRef)), "24 00 00 00 C0");
    EXPECT_EQ(HexOf(Encode(QStringLiteral("=A1"), &cells, fmArray)), "64 00 00 00 C0");

    TParseString p(QStringLiteral("=1+2"), &cells, fmValue);
    p.Parse();
    EXPECT_EQ(p.TotalSize(), 9);
    ByteArray b(12, 0xEE);
    p.CopyToPtr(b.data(), 1);
    EXPECT_EQ(HexOf(b), "EE 07 00 1E 01 00 1E 02 00 03 EE EE");
    ByteArray n(8, 0xEE);
    p.CopyToPtrNoLen(n.data(), 1);
    EXPECT_EQ(HexOf(n), "EE 1E 01 00 1E 02 00 03");
}

TEST(EncodeFormula, Sheets)
{
    FakeCellList cells;
    EXPECT_EQ(HexOf(Encode(QStringLiteral("=Sheet2!B3"), &cells)), "5A 00 00 02 00 01 C0");
    EXPECT_EQ(HexOf(Encode(QStringLiteral("='data 2010'!$A$1:B2"), &cells)), "5B 01 00 00 00 01 00 00 00 01 C0");
    EXPECT_EQ(HexOf(Encode(QStringLiteral("=SUM(sheet1:sheet2!A:A)"), &cells)),
              "3B 02 00 00 00 FF FF 00 C0 00 C0 42 01 04 00");
    // An entry is made once per sheet range.
    EXPECT_EQ(HexOf(Encode(QStringLiteral("=Sheet2!A1+sheet2!A2"), &cells)),
              "5A 00 00 00 00 00 C0 5A 00 00 01 00 00 C0 03");
    const std::vector<std::pair<int32_t, int32_t>> entries{{1, 1}, {2, 2}, {0, 1}};
    EXPECT_EQ(cells.ExternSheets, entries);

    // Forced 3-D: plain references become absolute references to the default sheet.
    const auto forced = [&](const QString &f) {
        auto p = TParseString::CreateExt(f, &cells, true, QStringLiteral("Data 2010"), fmRef);
        p->Parse();
        ByteArray b(size_t(p->TotalSize()));
        p->CopyToPtrNoLen(b.data(), 0);
        b.resize(b.size() - 2);
        return HexOf(b);
    };
    EXPECT_EQ(forced(QStringLiteral("=A1:B2")), "3B 01 00 00 00 01 00 00 00 01 00");
    EXPECT_EQ(forced(QStringLiteral("=B3")), "3A 01 00 02 00 01 00");
    EXPECT_EQ(forced(QStringLiteral("=Sheet2!B3")), "3A 00 00 02 00 01 C0");
    EXPECT_EQ(forced(QStringLiteral("=SUM(1)")), "1E 01 00 42 01 04 00");
    EXPECT_EQ(MessageOf([&] {
                  auto p = TParseString::CreateExt(QStringLiteral("=A1"), &cells, true, QStringLiteral("Gone"), fmRef);
                  p->Parse();
              }),
              "Invalid sheet: Gone");
}

TEST(EncodeFormula, Errors)
{
    FakeCellList cells;
    const QString tooLong = QStringLiteral("=") + QString(1023, QLatin1Char('1'));
    const QString longest = QStringLiteral("=") + QStringLiteral("1+").repeated(510) + QStringLiteral("1");
    const QString longString = QStringLiteral("=\"") + QString(256, QLatin1Char('a')) + QLatin1Char('"');
    const struct
    {
        QString text;
        QString message;
    } cases[] = {
        {"=1 ", "Unexpected char \" \" at pos 3 on formula: \"=1 \""},
        // Ranges and unions join references only.
        {"=11.:111", "Unexpected char \":\" at pos 5 on formula: \"=11.:111\""},
        {"=(1,A1)", "Unexpected char \",\" at pos 4 on formula: \"=(1,A1)\""},
        {"=A1:\"x\"", "Unexpected char \":\" at pos 8 on formula: \"=A1:\"x\"\""},
        // A colon before any operand.
        {"=:E", "Unexpected char \":\" at pos 2 on formula: \"=:E\""},
        {"=#N/B", "Unexpected Identifier: \"#N/B\" on formula \"=#N/B\""},
        {"=#VALUE?1", "Unexpected Identifier: \"#VALUE?1\" on formula \"=#VALUE?1\""},
        {"=FOO(1)", "Function not found: \"FOO\" on formula \"=FOO(1)\""},
        {"=Nosheet!A1", "Invalid sheet: NOSHEET"},
        {"='No sheet'!A1", "Invalid sheet: No sheet"},
        {"=Sheet1:Gone!A1", "Invalid sheet: GONE"},
        {"=Sheet1!MyName", "External names are not supported: MYNAME"},
        {"=Sheet1!A1B", "External names are not supported: A1B"},
        {"=Sheet1!A100000", "External names are not supported: A100000"},
        {"=Sheet1!A0", "Unexpected Identifier: \"0, 1\" on formula \"=Sheet1!A0\""},
        {"=Sheet1!12", "Unexpected Identifier: \"12, 0\" on formula \"=Sheet1!12\""},
        {"={1,2}", "Writing array formulas is not yet supported"},
        {tooLong, "Formula too long: \"" + tooLong + "\""},
        {"1+2", "Formula must start with \"=\": \"1+2\""},
        {"", "Formula must start with \"=\": \"\""},
        {"=", "Unexpected end of formula: \"=\""},
        {"=1+", "Unexpected end of formula: \"=1+\""},
        {"=SUM(1", "Unexpected end of formula: \"=SUM(1\""},
        {"=SUM(1,", "Unexpected end of formula: \"=SUM(1,\""},
        {"=SUM(1;2)", "Unexpected char \";\" at pos 7 on formula: \"=SUM(1;2)\""},
        {"=1)", "Unexpected char \")\" at pos 3 on formula: \"=1)\""},
        {"=(1", "Missing closing parentheses on formula: \"=(1\""},
        {"=\"abc", "Unterminated string on formula: \"=\"abc\""},
        {"='Sheet1!A1", "Unterminated string on formula: \"='Sheet1!A1\""},
        {"='Sheet1'A1", "Unexpected char \"A\" at pos 10 on formula: \"='Sheet1'A1\""},
        {longString, "Invalid String record"},
        {"=PI(1)", "Invalid number of parameters to function \"PI\": Expected 0 and found 1"},
        {"=IF(1)", "Invalid number of parameters to function \"IF\": Expected 2 and found 1"},
        {"=PI(,)", "Invalid number of parameters to function \"PI\": Expected 0 and found 2"},
        {"=Total", "Unexpected Identifier: \"TOTAL\" on formula \"=Total\""},
        {"=A:B1", "Unexpected Identifier: \"A:B1\" on formula \"=A:B1\""},
        {"=1" + QString(QChar(0x043A)), "Unexpected char \"" + QString(QChar(0x043A)) + "\" at pos 3 on formula: \"=1" +
                                            QString(QChar(0x043A)) + "\""},
        {"=" + QString(QChar(0x043A)), "Unexpected char \"" + QString(QChar(0x043A)) + "\" at pos 2 on formula: \"=" +
                                           QString(QChar(0x043A)) + "\""},
        {"=()", "Tarvix: Logical Error"},
        {"=1=>2", "Formula can't be evaluated: \"=1=>2\""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MessageOf([&] { Encode(c.text, &cells); }), c.message) << c.text.toStdString();

    // 1023 characters are the most a formula may have.
    EXPECT_EQ(longest.size(), 1022);
    EXPECT_NO_THROW(Encode(longest + QLatin1Char('1'), &cells));
    EXPECT_EQ(MessageOf([&] { Encode(longest + QStringLiteral("+1"), &cells); }),
              "Formula too long: \"" + longest + "+1\"");
}
