#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "tests/common/TestSupport.h"
#include "tests/framework/rtl/SettingsGuard.h"
#include <gtest/gtest.h>
#include <cmath>
#include <limits>


TEST(FloatToStrF, RoundsOnceAtTheFirstLimit)
{
    struct { double v; TFloatFormat f; int prec, digits; const char *text; } cases[] = {
        {1234.56789, ffFixed, 7, 5, "1234.56800"},
        {8.0 / 3, ffFixed, 7, 5, "2.66667"},
        {0.123456789, ffFixed, 7, 5, "0.12346"},
        {0.5, ffFixed, 7, 5, "0.50000"},
        {1.2830348, ffFixed, 7, 5, "1.28303"},
        {9.9999995, ffFixed, 7, 5, "10.00000"},
        {2.675, ffFixed, 15, 2, "2.67"},          // the double is just below 2.675
        {0.125, ffFixed, 15, 2, "0.13"},          // exact halves go away from zero
        {-0.125, ffFixed, 15, 2, "-0.13"},
        {-0.001, ffFixed, 7, 2, "0.00"},          // no "-0.00"
        {0.0006, ffFixed, 7, 3, "0.001"},
        {0.0004, ffFixed, 7, 3, "0.000"},
        {-0.0, ffFixed, 7, 2, "0.00"},
        {12345678.0, ffFixed, 7, 2, "1.234568E7"},
        {0.81110711, ffGeneral, 7, 5, "0.8111071"},
        {1e-6, ffGeneral, 7, 2, "1E-06"},
        {1234567.0, ffNumber, 15, 2, "1,234,567.00"},
        {-999.5, ffNumber, 3, 0, "-1E3"}, // rounding added a fourth integer digit,
        {1234.5, ffExponent, 4, 2, "1.235E+03"},
        {0.0, ffExponent, 3, 0, "0.00E+0"},
        {1.5, ffCurrency, 15, 2, "$1.50"},
        {-1.5, ffCurrency, 15, 2, "($1.50)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FloatToStrF(c.v, c.f, c.prec, c.digits), QString::fromLatin1(c.text)) << c.v;
}

TEST(FloatToStr, ShortestGeneralForm)
{
    struct { double v; const char *text; } cases[] = {
        {0.25, "0.25"}, {1e-6, "1E-6"}, {100, "100"}, {1.5e20, "1.5E20"}, {1e15, "1E15"},
        {123456789012345.0, "123456789012345"}, {0.1 + 0.2, "0.3"}, {1.0 / 3, "0.333333333333333"},
        {0.00001, "1E-5"}, {0.0001, "0.0001"}, {-0.0, "0"}, {-2.5, "-2.5"}, {1e21, "1E21"},
        {std::numeric_limits<double>::infinity(), "INF"}, {std::nan(""), "NAN"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FloatToStr(c.v), QString::fromLatin1(c.text)) << c.v;
    SettingsGuard g;
    TFormatSettings comma = FormatSettings;
    comma.DecimalSeparator = QLatin1Char(',');
    comma.ThousandSeparator = QLatin1Char('.');
    EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 15, 1, comma), QStringLiteral("1.234,5"));
    EXPECT_EQ(FloatToStr(2.5), QStringLiteral("2.5"));
    FormatSettings.DecimalSeparator = QLatin1Char(',');
    EXPECT_EQ(FloatToStr(2.5), QStringLiteral("2,5"));
    EXPECT_DOUBLE_EQ(StrToFloat(QStringLiteral("2,5")), 2.5);
    EXPECT_THROW(StrToFloat(QStringLiteral("2.5")), EConvertError);
}

TEST(FormatFloat, PictureFormats)
{
    struct { const char *fmt; double v; const char *text; } cases[] = {
        {"0.00", 3.14159, "3.14"}, {"0.00", -0.004, "0.00"}, {"#,##0.###", 1234567.5, "1,234,567.5"},
        {"#,##0.###", 0.1234, "0.123"}, {"#.##", 0.5, ".5"}, {"000", 7, "007"},
        {"0.00E+00", 12345, "1.23E+04"}, {"0.0E-0", 0.00012, "1.2E-4"},
        {"0.0;(0.0)", -2.25, "(2.3)"}, {"0;neg;'zero'", 0, "zero"}, {"'x='0.0", 2, "x=2.0"},
        {"0", -3, "-3"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatFloat(QString::fromLatin1(c.fmt), c.v), QString::fromLatin1(c.text)) << c.fmt;
}

TEST(StrToNumber, AcceptsAndRejects)
{
    EXPECT_EQ(StrToInt(QStringLiteral(" -42")), -42);
    EXPECT_EQ(StrToInt(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(StrToInt(QStringLiteral("-2147483648")), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(StrToInt(QStringLiteral("$1F")), 31);
    EXPECT_EQ(StrToInt(QStringLiteral("0x1f")), 31);
    EXPECT_EQ(StrToInt(QStringLiteral("-$10")), -16);
    EXPECT_EQ(StrToInt(QStringLiteral("$FFFFFFFF")), -1);
    EXPECT_THROW(StrToInt(QStringLiteral("$100000000")), EConvertError);
    EXPECT_THROW(StrToInt(QStringLiteral("$1G")), EConvertError);
    EXPECT_EQ(StrToInt64(QStringLiteral("99999999999")), 99999999999LL);
    for (const char *bad : {"12a", "99999999999", "2147483648", "", " ", "1 ", "--1", "1.0"})
        EXPECT_THROW(StrToInt(QString::fromLatin1(bad)), EConvertError) << bad;
    try {
        StrToInt(QStringLiteral("12a"));
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'12a' is not a valid integer value"));
    }
    EXPECT_EQ(StrToIntDef(QStringLiteral("x"), 7), 7);

    struct { const char *s; double v; } good[] = {
        {"1.5", 1.5}, {" -2.5e3 ", -2500}, {".5", 0.5}, {"5.", 5}, {"+1E-2", 0.01}, {"1e-400", 0}};
    for (const auto &c : good)
        EXPECT_DOUBLE_EQ(StrToFloat(QString::fromLatin1(c.s)), c.v) << c.s;
    for (const char *bad : {"inf", "nan", "0x10", "1e400", "", "1,5", "e5", "1e", "1.2.3", "$10"})
        EXPECT_THROW(StrToFloat(QString::fromLatin1(bad)), EConvertError) << bad;
    try {
        StrToFloat(QStringLiteral("inf"));
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'inf' is not a valid floating point value"));
    }
    // Val reads with a point whatever the settings and reports where it stopped.
    struct { const char *s; int code; double v; } vals[] = {{"1.5", 0, 1.5}, {" 2e3", 0, 2000}, {"12a", 3, 0}, {"", 1, 0}, {"1 ", 2, 0}};
    for (const auto &c : vals) {
        double v = -1;
        int code = -1;
        Val(QString::fromLatin1(c.s), v, code);
        EXPECT_EQ(code, c.code) << c.s;
        if (c.code == 0) {
            EXPECT_EQ(v, c.v);
        }
    }
    // Every double survives the trip through text at 17 digits.
    for (double v : {0.1, 1.0 / 3, 2.675, 1e-300, 123456.789e10})
        EXPECT_EQ(StrToFloat(FloatToStrF(v, ffExponent, 17, 0)), v);
}

TEST(Format, Specifiers)
{
    struct { QString got; const char *want; } cases[] = {
        {Format(QStringLiteral("%2x"), {24}), "18"},
        {Format(QStringLiteral("%.2f"), {3.14159}), "3.14"},
        {Format(QStringLiteral("%5d|%-5d|%.3d"), {42, 42, 7}), "   42|42   |007"},
        {Format(QStringLiteral("%s%0.8x"), {"$", 0xFF00}), "$0000FF00"},
        {Format(QStringLiteral("%X"), {-1}), "FFFFFFFF"},
        {Format(QStringLiteral("%u"), {-1}), "4294967295"},
        {Format(QStringLiteral("%1:s %0:s %s"), {"a", "b"}), "b a b"},
        {Format(QStringLiteral("%*d"), {4, 5}), "   5"},
        {Format(QStringLiteral("%.3s"), {"abcdef"}), "abc"},
        {Format(QStringLiteral("%e"), {1234.5}), "1.23450000000000E+003"},
        {Format(QStringLiteral("%g"), {0.5}), "0.5"},
        {Format(QStringLiteral("%n"), {1234.5}), "1,234.50"},
        {Format(QStringLiteral("%m"), {-3.0}), "($3.00)"},
        {Format(QStringLiteral("%d%%"), {50}), "50%"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.got, QString::fromLatin1(c.want));
    EXPECT_THROW(Format(QStringLiteral("%d"), {"x"}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%d %d"), {1}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%q"), {1}), EConvertError);
}

TEST(StringRoutines, OneBasedPositionsAndCase)
{
    EXPECT_EQ(Trim(QStringLiteral("\t a b \r\n")), QStringLiteral("a b"));
    EXPECT_EQ(TrimLeft(QStringLiteral("  x ")), QStringLiteral("x "));
    EXPECT_EQ(UpperCase(QStringLiteral("abc\u00e9")), QStringLiteral("ABC\u00e9"));
    EXPECT_EQ(AnsiUpperCase(QStringLiteral("abc\u00e9")), QStringLiteral("ABC\u00c9"));
    EXPECT_LT(CompareText(QStringLiteral("apple"), QStringLiteral("BANANA")), 0);
    EXPECT_TRUE(SameText(QStringLiteral("Hello"), QStringLiteral("hELLO")));
    EXPECT_GT(CompareStr(QStringLiteral("a"), QStringLiteral("B")), 0);
    EXPECT_LT(AnsiCompareStr(QStringLiteral("a"), QStringLiteral("B")), 0);
    EXPECT_EQ(Pos(QStringLiteral("lo"), QStringLiteral("hello")), 4);
    EXPECT_EQ(Pos(QStringLiteral("x"), QStringLiteral("hello")), 0);
    EXPECT_EQ(Pos(QString(), QStringLiteral("hello")), 0);
    EXPECT_EQ(Copy(QStringLiteral("hello"), 2, 3), QStringLiteral("ell"));
    EXPECT_EQ(Copy(QStringLiteral("hello"), 4, 100), QStringLiteral("lo"));
    EXPECT_EQ(Copy(QStringLiteral("hello"), 0, 2), QStringLiteral("he"));
    EXPECT_EQ(Copy(QStringLiteral("hello"), 9, 2), QString());
    QString s = QStringLiteral("hello");
    Delete(s, 2, 2);
    EXPECT_EQ(s, QStringLiteral("hlo"));
    Delete(s, 10, 1);
    EXPECT_EQ(s, QStringLiteral("hlo"));
    Insert(QStringLiteral("XY"), s, 2);
    EXPECT_EQ(s, QStringLiteral("hXYlo"));
    Insert(QStringLiteral("!"), s, 99);
    EXPECT_EQ(s, QStringLiteral("hXYlo!"));
    EXPECT_EQ(QuotedStr(QStringLiteral("it's")), QStringLiteral("'it''s'"));
    EXPECT_EQ(AnsiDequotedStr(QStringLiteral("\"a\"\"b\"rest"), QLatin1Char('"')), QStringLiteral("a\"b"));
    EXPECT_EQ(AnsiDequotedStr(QStringLiteral("plain"), QLatin1Char('"')), QStringLiteral("plain"));
    EXPECT_EQ(StringReplace(QStringLiteral("aAaA"), QStringLiteral("a"), QStringLiteral("x"), {}),
              QStringLiteral("xAaA"));
    EXPECT_EQ(StringReplace(QStringLiteral("aAaA"), QStringLiteral("a"), QStringLiteral("xa"),
                            {rfReplaceAll, rfIgnoreCase}),
              QStringLiteral("xaxaxaxa"));
    EXPECT_EQ(LfLineBreaks(QStringLiteral("a\r\nb\rc\n\rd\r")), QStringLiteral("a\nb\nc\n\nd\n"));
    EXPECT_EQ(IntToHex(255, 4), QStringLiteral("00FF"));
    EXPECT_EQ(IntToStr(int64_t(-9000000000)), QStringLiteral("-9000000000"));
    EXPECT_EQ(IntToStr(size_t(18446744073709551615ull)), QStringLiteral("18446744073709551615"));
    EXPECT_EQ(IntToStr(int16_t(-5)), QStringLiteral("-5"));
    EXPECT_EQ(BoolToStr(true, true), QStringLiteral("True"));
    EXPECT_EQ(BoolToStr(true), QStringLiteral("-1"));
    EXPECT_TRUE(StrToBool(QStringLiteral("true")));
    EXPECT_FALSE(StrToBool(QStringLiteral("0")));
    EXPECT_THROW(StrToBool(QStringLiteral("maybe")), EConvertError);
}
