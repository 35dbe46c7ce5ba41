// Token arrays to formula text: operands, operators, functions, spaces, array constants, the
// cell list's names, sheets, array and table formulas, and token arrays that are cut or broken.
#include "FormulaFixture.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

using namespace fml;

TEST(DecodeFormula, Tokens)
{
    FakeCellList cells;
    cells.ExternSheets = {{1, 1}, {0, 2}};
    const struct
    {
        const char *tokens;
        const char *text;
    } cases[] = {
        {"1E 01 00 1E 02 00 03", "=1+2"},
        {"1E 01 00 13", "=-1"},
        {"1E 01 00 12 14", "=+1%"},
        {"1E 01 00 1E 02 00 19 40 00 02 03", "=1  +2"},
        {"24 00 00 00 C0", "=A1"},
        {"24 00 00 00 00", "=$A$1"},
        {"24 00 00 00 80", "=$A1"},
        {"24 00 00 00 40", "=A$1"},
        {"44 FF FF FF C0", "=IV65536"},
        {"2C 04 00 02 C0", "=C5"},
        {"25 00 00 FF FF 01 C0 02 C0", "=B:C"},
        {"25 00 00 FF FF 01 00 02 40", "=$B:C"},
        {"25 00 00 00 00 00 C0 FF C0", "=A1:IV1"},
        {"65 01 00 02 00 00 00 01 00", "=$A$2:$B$3"},
        {"1C 2A", "=#N/A"},
        {"1C 07", "=#DIV/0!"},
        {"1C 05", "=#TARVIX_UNKNOWN"},
        {"1D 01", "=TRUE"},
        {"1D 02", "=FALSE"},
        {"1E FF FF", "=65535"},
        {"1F 00 00 00 00 00 00 F8 3F", "=1.5"},
        {"1F 00 00 00 00 00 00 F0 40", "=65536"},
        {"17 03 00 61 22 62", "=\"a\"\"b\""},
        {"17 00 00", "=\"\""},
        {"24 00 00 00 C0 24 00 00 01 C0 10 15", "=(A1,B1)"},
        {"24 00 00 00 C0 24 00 00 01 C0 0F", "=A1 B1"},
        {"24 00 00 00 C0 24 00 00 01 C0 11", "=A1:B1"},
        {"1E 01 00 1E 02 00 09 1E 03 00 0E", "=1<2<>3"},
        {"1E 01 00 1E 02 00 0A 1E 03 00 0C 1E 04 00 0B 1E 05 00 0D", "=1<=2>=3=4>5"},
        {"17 01 00 61 17 01 00 62 08 1E 02 00 07", "=\"a\"&\"b\"^2"},
        {"1E 01 00 1E 02 00 05 1E 03 00 06 1E 04 00 04", "=1*2/3-4"},
        // Functions: fixed, variable, no arguments, missing argument, user-defined.
        {"41 13 00", "=PI()"},
        {"42 00 04 00", "=SUM()"},
        {"1E 01 00 1E 02 00 42 02 04 00", "=SUM(1,2)"},
        {"44 00 00 00 C0 16 1E 01 00 42 03 01 00", "=IF(A1,,1)"},
        {"23 01 00 00 00 1E 05 00 42 02 FF 00", "=MyName(5)"},
        {"23 02 00 00 00", "=Total"},
        {"25 00 00 02 00 00 C0 01 C0 19 10 00 00", "=SUM(A1:B3)"},
        // A choose jump table, volatile and skip attributes and memory tokens leave no text.
        {"1E 02 00 19 04 02 00 08 00 0C 00 10 00 1E 05 00 19 08 03 00 1E 06 00 19 08 03 00 42 03 64 00",
         "=CHOOSE(2,5,6)"},
        {"19 01 00 00 1E 01 00", "=1"},
        {"29 00 00 1E 01 00 27 00 00 00 00 00 00 28 2F 1A 1B", "=1"},
        // Spaces before parentheses, carriage returns.
        {"1E 01 00 19 40 04 01 19 40 02 02 15", "=  (1 )"},
        {"1E 01 00 19 40 01 01 13", "=\r-1"},
        {"1E 01 00 19 40 05 02 19 40 03 01 15", "=\r(1\r\r)"},
        {"1E 01 00 19 40 09 02 14", "=1%"},
        // Reference errors keep their size.
        {"2A 00 00 00 00 1E 01 00 03", "=#REF!+1"},
        {"2B 00 00 00 00 00 00 00 00", "=#REF!"},
        {"3C 00 00 00 00 00 00", "=#REF!"},
        {"3D 00 00 00 00 00 00 00 00 00 00", "=#REF!"},
        // 3-D references and external names show the sheet prefix of their entry.
        {"3A 00 00 02 00 01 C0", "='Sheet2'!B3"},
        {"5B 01 00 00 00 FF FF 00 00 00 00", "='Sheet1:Data 2010'!$A:$A"},
        {"39 00 00 02 00 00 00", "='Sheet2'!Total"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Decode(Hex(c.tokens), &cells), QString::fromLatin1(c.text)) << c.tokens;
    // 16-bit characters.
    EXPECT_EQ(Decode(Hex("17 02 01 41 00 3A 04"), &cells), QStringLiteral("=\"A") + QChar(0x043A) + QLatin1Char('"'));
}

TEST(DecodeFormula, NumbersIgnoreTheDecimalSeparator)
{
    TFormatSettings fs;
    fs.DecimalSeparator = QLatin1Char(',');
    fs.ThousandSeparator = QLatin1Char('.');
    TFormatSettingsScope scope(fs);
    EXPECT_EQ(Decode(Hex("1F 00 00 00 00 00 00 E0 3F"), nullptr), "=0.5");
    EXPECT_EQ(Decode(Hex("1F 00 00 00 00 00 4A 93 40"), nullptr), "=1234.5");
}

TEST(DecodeFormula, ArrayConstants)
{
    // {1,"ab";TRUE,#DIV/0!}: 2 columns, 2 rows after the tokens; a memory area's rectangles
    // come first in the array data.
    const ByteArray tokens = Hex("26 00 00 00 00 09 00 20 00 00 00 00 00 00 00 15");
    const ByteArray data = Hex("01 00 00 00 00 00 00 00 00 00"
                               " 01 01 00"
                               " 01 00 00 00 00 00 00 F0 3F"
                               " 02 02 00 00 61 62"
                               " 04 01 00 00 00 00 00 00 00"
                               " 10 07 00 00 00 00 00 00 00");
    ByteArray all = tokens;
    all.insert(all.end(), data.begin(), data.end());
    EXPECT_EQ(Decode(all, nullptr, int32_t(tokens.size())), "=({1,\"ab\";TRUE,#DIV/0!})");

    // An empty item or one of an unknown type is refused with its type.
    ByteArray bad = Hex("20 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(MessageOf([&] { Decode(bad, nullptr, 8); }), "Error reading formula, Token Id: 0x 0 is not supported");
    bad.back() = 0x03;
    bad.insert(bad.end(), 8, 0);
    EXPECT_EQ(MessageOf([&] { Decode(bad, nullptr, 8); }), "Error reading formula, Token Id: 0x 3 is not supported");
}

TEST(DecodeFormula, ArrayAndTableFormulas)
{
    FakeCellList cells;
    // ARRAY record of B3: range, options, reserved, then SUM(A1:A2*2) as tokens at offset 14.
    ByteArray arr = Hex("02 00 02 00 01 01 00 00 00 00 00 00");
    const ByteArray arrTokens = Hex("25 00 00 01 00 00 C0 00 C0 1E 02 00 05 42 01 04 00");
    arr.push_back(uint8_t(arrTokens.size()));
    arr.push_back(0);
    arr.insert(arr.end(), arrTokens.begin(), arrTokens.end());
    cells.Arrays[{2, 1}] = arr;
    EXPECT_EQ(Decode(Hex("01 02 00 01 00"), &cells), "{=SUM(A1:A2*2)}");

    // TABLE records: input cells at 8/10 and, with bit 3 of byte 6, at 12/14.
    cells.Tables[{4, 3}] = Hex("04 00 05 00 03 04 00 00 00 00 00 00 01 00 01 00");
    EXPECT_EQ(Decode(Hex("02 04 00 03 00"), &cells), "{=TABLE($A$1,)}");
    cells.Tables[{4, 3}][6] = 0x08;
    EXPECT_EQ(Decode(Hex("02 04 00 03 00"), &cells), "{=TABLE($A$1,$B$2)}");

    // Short records, a missing one, and an array formula that points at an array formula.
    cells.Tables[{4, 3}].resize(15);
    EXPECT_EQ(MessageOf([&] { Decode(Hex("02 04 00 03 00"), &cells); }),
              "Error reading formula, Token Id: 0x 2 is not supported");
    cells.Arrays[{2, 1}].resize(13);
    EXPECT_EQ(MessageOf([&] { Decode(Hex("81 02 00 01 00"), &cells); }),
              "Error reading formula, Token Id: 0x81 is not supported");
    EXPECT_EQ(MessageOf([&] { Decode(Hex("01 07 00 01 00"), &cells); }), "Can't find Shared Formula");
    cells.Arrays[{2, 1}] = Hex("02 00 02 00 01 01 00 00 00 00 00 00 05 00 01 02 00 01 00");
    EXPECT_EQ(MessageOf([&] { Decode(Hex("01 02 00 01 00"), &cells); }),
              "Error reading formula, Token Id: 0x 1 is not supported");
}

TEST(DecodeFormula, Errors)
{
    FakeCellList cells;
    const struct
    {
        const char *tokens;
        const char *message;
    } cases[] = {
        {"18", "Error reading formula, Token Id: 0x18 is not supported"},
        {"00", "Error reading formula, Token Id: 0x 0 is not supported"},
        {"1E 01 00 30", "Error reading formula, Token Id: 0x30 is not supported"},
        {"1E 01 00 7E", "Error reading formula, Token Id: 0x7E is not supported"},
        {"41 70 01", "The index \"368\" of the property \"Function name\" is not in the range 0-367"},
        {"42 01 FF FF", "The index \"65535\" of the property \"Function name\" is not in the range 0-367"},
        {"03", "String Stack is empty"},
        {"1E 01 00 42 02 04 00", "String Stack is empty"},
        {"", "String Stack is empty"},
        {"23 05 00 00 00", "no name 4"},
        {"3A 07 00 00 00 00 00", "no entry 7"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MessageOf([&] { Decode(Hex(c.tokens), &cells); }), QString::fromLatin1(c.message)) << c.tokens;

    // Tokens that need the cell list.
    for (const char *t : {"23 01 00 00 00", "39 00 00 01 00 00 00", "3A 00 00 00 00 00 00", "01 00 00 00 00"})
        EXPECT_EQ(MessageOf([&] { Decode(Hex(t), nullptr); }), "References must not be nil") << t;
}

// Whatever the cut, decoding stops with its own message before it reads past the tokens.
TEST(DecodeFormula, CutTokensRaiseTheirToken)
{
    const struct
    {
        const char *tokens;
        int keep; // bytes of the token array that the data holds
        const char *message;
    } cases[] = {
        {"1E 01 00 1F 00 00 00 00 00 00 F0 3F 03", 6, "Error reading formula, Token Id: 0x1F is not supported"},
        {"17 05 00 61 62 63 64 65", 6, "Error reading formula, Token Id: 0x17 is not supported"},
        {"17 02 01 61 00 62 00", 6, "Error reading formula, Token Id: 0x17 is not supported"},
        {"1E 01 00 19 04 03 00 08 00 0A 00 0C 00 0E 00", 12, "Error reading formula, Token Id: 0x19 is not supported"},
        {"1E 01 00 19 40 00", 6, "Error reading formula, Token Id: 0x19 is not supported"},
        {"44 00 00 00", 4, "Error reading formula, Token Id: 0x44 is not supported"},
        {"1E 01 00 1E 02 00", 3, "Error reading formula, Token Id: 0x1E is not supported"},
        {"3B 00 00 00 00 00 00 00 00 00 00", 10, "Error reading formula, Token Id: 0x3B is not supported"},
    };
    FakeCellList cells;
    cells.ExternSheets = {{0, 0}};
    for (const auto &c : cases) {
        const ByteArray full = WithLength(Hex(c.tokens));
        const ByteArray cut(full.begin(), full.begin() + 2 + c.keep);
        EXPECT_EQ(MessageOf([&] { DecodeFormulaTokens(cut, 2, &cells); }), QString::fromLatin1(c.message))
            << c.tokens;
    }

    // A token that runs past the length word into the data after it.
    EXPECT_EQ(MessageOf([&] { Decode(Hex("1E 01 00 1E 02 00"), nullptr, 4); }),
              "Error reading formula, Token Id: 0x1E is not supported");
    // Array constants past their data.
    EXPECT_EQ(MessageOf([&] { Decode(Hex("20 00 00 00 00 00 00 00 00 00"), nullptr, 8); }),
              "Error reading formula, Token Id: 0x20 is not supported");
    EXPECT_EQ(MessageOf([&] { Decode(Hex("60 00 00 00 00 00 00 00 00 00 00 01 00 00 00"), nullptr, 8); }),
              "Error reading formula, Token Id: 0x60 is not supported");
    EXPECT_EQ(MessageOf([&] { Decode(Hex("40 00 00 00 00 00 00 00 00 00 00 02 05 00 00 61"), nullptr, 8); }),
              "Error reading formula, Token Id: 0x40 is not supported");
    EXPECT_EQ(MessageOf([&] { Decode(Hex("26 00 00 00 00 00 00 1E 01 00 02 00 00 00 00 00 00 00 00"), nullptr, 10); }),
              "Error reading formula, Token Id: 0x26 is not supported");
    // No room for the length word.
    EXPECT_EQ(MessageOf([&] { DecodeFormulaTokens(Hex("01"), 2, nullptr); }),
              "Error reading formula, Token Id: 0x 0 is not supported");
}

// Every cut of a token array with array data, with the length word kept or made to fit, decodes
// or stops with a decoder message; the buffers are exactly as long as the cut.
TEST(DecodeFormula, EveryCut)
{
    FakeCellList cells;
    cells.ExternSheets = {{0, 1}};
    const ByteArray tokens = Hex("19 40 00 01 17 02 00 61 62 1F 00 00 00 00 00 00 F8 3F 08"
                                 " 3B 00 00 00 00 02 00 00 C0 01 C0 19 10 00 00"
                                 " 24 01 00 02 40 20 00 00 00 00 00 00 00 10 15"
                                 " 1E 03 00 19 04 01 00 04 00 06 00 42 03 64 00 08");
    const ByteArray data = Hex("00 00 00 04 01 00 00 00 00 00 00 00");
    ByteArray all = tokens;
    all.insert(all.end(), data.begin(), data.end());
    const ByteArray full = WithLength(all, int32_t(tokens.size()));
    EXPECT_EQ(DecodeFormulaTokens(full, 2, &cells),
              "= \"ab\"&1.5&CHOOSE(SUM('Sheet1:Sheet2'!A1:B3),(C$2,{TRUE}),3)");
    for (size_t n = 0; n < full.size(); ++n) {
        for (bool fit : {false, true}) {
            ByteArray cut(full.begin(), full.begin() + qsizetype(n));
            if (fit && n >= 2) {
                cut[0] = uint8_t(n - 2);
                cut[1] = 0;
            }
            const QString m = MessageOf([&] { DecodeFormulaTokens(cut, 2, &cells); });
            EXPECT_TRUE(m.isEmpty() || m.startsWith("Error reading formula, Token Id: ") ||
                        m == "String Stack is empty")
                << n << " " << fit << " " << m.toStdString();
        }
    }
}
