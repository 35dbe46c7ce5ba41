// Text and number classification and the small conversions that go with it.
#include "grid/core/ProUtil.h"

#include "framework/grids/Grids.h"
#include "framework/rtl/SysUtils.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

namespace
{
// Sets the two number separators for one test and puts the former ones back.
class Separators : public ::testing::Test
{
protected:
    void Use(QChar decimal, QChar thousand)
    {
        FormatSettings.DecimalSeparator = decimal;
        FormatSettings.ThousandSeparator = thousand;
    }
    void SetUp() override { Use(QChar('.'), QChar(',')); }
    void TearDown() override { FormatSettings = saved_; }

private:
    TFormatSettings saved_ = FormatSettings;
};
} // namespace

TEST(CellText, Kinds)
{
    const struct
    {
        QString text;
        bool html;
        int32_t kind;
    } cases[] = {
        {QString(), true, ctkPlain},
        {QStringLiteral("="), false, ctkFormula},
        {QStringLiteral("=SUM(A1:A3)"), true, ctkFormula},
        {QStringLiteral("{\\rtf1 x}"), true, ctkRichText},
        {QStringLiteral("a <b>bold</b>"), true, ctkHTML},
        {QStringLiteral("a <b>bold"), true, ctkPlain},   // lower-case tag, no closing tag
        {QStringLiteral("<B>bold"), true, ctkHTML},
        {QStringLiteral("x</i>"), false, ctkPlain},
        {EncodeWideCellText(QStringLiteral("\u03a9mega")), true, ctkWide},
        {EncodeWideCellText(QStringLiteral("=1")), true, ctkFormula},
        {QStringLiteral("|\\"), true, ctkWide},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CellTextKind(c.text, c.html), c.kind) << c.text.toStdString();
}

TEST_F(Separators, NumericTextKindWithPointAndComma)
{
    const struct
    {
        const char *text;
        int32_t kind;
    } cases[] = {
        {"12", ntkInteger},
        {"-12", ntkInteger},
        {"-", ntkInteger},
        {"-1.5", ntkDecimal},
        {"1,234,567.89", ntkDecimal},
        {"1,2", ntkDecimal},
        {"1,,234", ntkNotNumber},      // thousand separators too close
        {"1,23,456", ntkNotNumber},
        {"1.2.3", ntkNotNumber},
        {"1-2", ntkNotNumber},
        {"--1", ntkNotNumber},
        {"1e5", ntkExponent},
        {"-1e-5", ntkExponent},
        {"1.5E+3", ntkExponent},
        {"e5", ntkNotNumber},
        {"1e", ntkNotNumber},
        {"1e5-", ntkNotNumber},
        {"1e5e2", ntkNotNumber},
        {"1,000e3", ntkNotNumber},
        {"1.5e3.2", ntkNotNumber},
        {"-1e-5-", ntkNotNumber},
        {"12a", ntkNotNumber},
        {"", ntkNotNumber},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NumericTextKind(QString::fromLatin1(c.text)), c.kind) << c.text;
}

TEST_F(Separators, NumericTextKindFollowsTheLocale)
{
    Use(QChar(','), QChar('.'));
    EXPECT_EQ(NumericTextKind(QStringLiteral("1.234.567,89")), ntkDecimal);
    EXPECT_EQ(NumericTextKind(QStringLiteral("1,2,3")), ntkNotNumber);
}

TEST_F(Separators, NumberTextToDecimal)
{
    const struct
    {
        const char *text;
        const char *plain;
    } cases[] = {
        {"(1,234.50)", "-1234.50"},
        {"$ 1,000", "1000"},
        {"-5", "-5"},
        {"12.5 kg", "12.5"},
        {"1.5e-3", "1.5e-3"},
        {"abc", ""},
        {"x", ""},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NumberTextToDecimal(QString::fromLatin1(c.text)), QString::fromLatin1(c.plain)) << c.text;

    Use(QChar(','), QChar('.'));
    EXPECT_EQ(NumberTextToDecimal(QStringLiteral("\u20ac 1.234,5")), QStringLiteral("1234.5"));
}

TEST(CellText, MixedCase)
{
    const struct
    {
        QString text;
        QString mixed;
    } cases[] = {
        {QStringLiteral("O'BRIEN-SMITH"), QStringLiteral("O'Brien-Smith")},
        {QStringLiteral("mcdonald ii"), QStringLiteral("McDonald II")},
        {QStringLiteral("JOHN MCDONALD III"), QStringLiteral("John McDonald III")},
        {QStringLiteral("macdonald"), QStringLiteral("Macdonald")},
        {QStringLiteral("smith-mcdonald"), QStringLiteral("Smith-Mcdonald")}, // "Mc" only at a word after a space
        {QStringLiteral("st. john,jr"), QStringLiteral("St. John,Jr")},
        {QStringLiteral("the iliad"), QStringLiteral("The Iliad")},
        {QStringLiteral("\u00e9MILE \u00c7A"), QStringLiteral("\u00c9mile \u00c7a")},
        {QString(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MixedCaseText(c.text), c.mixed);
}

TEST(CellText, WideEncodingRoundTrip)
{
    const QString wide = QStringLiteral("Gr\u00fc\u00dfe \u03a9 \U0001D11E");
    const QString enc = EncodeWideCellText(wide);
    EXPECT_EQ(enc.left(4), QStringLiteral("|\\") + QChar(0) + QChar('G'));
    for (QChar c : enc)
        EXPECT_LT(c.unicode(), 256);
    EXPECT_EQ(DecodeWideCellText(enc), wide);
    EXPECT_EQ(DecodeWideCellText(enc + QChar('x')), wide); // a lone last character is ignored
    EXPECT_EQ(DecodeWideCellText(QStringLiteral("plain")), QStringLiteral("plain"));
    EXPECT_EQ(WidePos(QStringLiteral("\u03a9"), wide), 7);
    EXPECT_EQ(WidePos(QStringLiteral("x"), wide), 0);
}

TEST(CellText, Links)
{
    const struct
    {
        const char *text;
        bool url;
        const char *stripped;
    } cases[] = {
        {"http://a.org/x", true, "a.org/x"},
        {"mailto:me@a.org", true, "me@a.org"},
        {"MAILTO:me@a.org", false, "MAILTO:me@a.org"},
        {"www.a.org", false, "www.a.org"},
    };
    for (const auto &c : cases)
    {
        QString s = QString::fromLatin1(c.text);
        EXPECT_EQ(IsURL(s), c.url) << c.text;
        StripURLScheme(s);
        EXPECT_EQ(s, QString::fromLatin1(c.stripped));
    }

    QString result = QStringLiteral("untouched");
    EXPECT_EQ(MakeURLLink(QStringLiteral("no link here"), QStringLiteral("WWW."), result), 0);
    EXPECT_EQ(result, QStringLiteral("untouched"));

    EXPECT_EQ(MakeURLLink(QStringLiteral("see WWW.a-b.org/x_(1) now"), QStringLiteral("WWW."), result), 1);
    EXPECT_EQ(result, QStringLiteral("see <a href=\"WWW.a-b.org/x_(1)\">WWW.a-b.org/x_(1)</a> now"));

    // Mark-up around the link is escaped, and text that grows when upper-cased does not shift the link.
    EXPECT_EQ(MakeURLLink(QStringLiteral("Stra\u00dfe <http://x.de>"), QStringLiteral("HTTP://"), result), 1);
    EXPECT_EQ(result, QStringLiteral("Stra\u00dfe &lt;<a href=\"http://x.de\">http://x.de</a>&gt;"));
    EXPECT_EQ(UpperCasePos(QStringLiteral("HTTP"), QStringLiteral("\u00df\u00df http")), 4);
}

TEST(CellText, RCReferences)
{
    const struct
    {
        const char *text;
        bool ok;
        TPoint point;
    } cases[] = {
        {"r12c3", true, {3, 12}},
        {"R1C20", true, {20, 1}},
        {"R1C", false, {}},
        {"RC12", false, {}},
        {"R1C2x", false, {}},
        {"X1C2", false, {}},
        {"R99999999999C1", false, {}},
    };
    for (const auto &c : cases)
    {
        TPoint p(-1, -1);
        EXPECT_EQ(ParseRCReference(QString::fromLatin1(c.text), p), c.ok) << c.text;
        EXPECT_EQ(p, c.point) << c.text;
    }
}

TEST(Numbers, ClampRangeColourAndFill)
{
    EXPECT_EQ(ClampSize(5, 10, 10), 5);
    EXPECT_EQ(ClampSize(5, 10, 0), 10);
    EXPECT_EQ(ClampSize(50, 0, 20), 20);
    EXPECT_EQ(ClampSize(50, 10, 0), 50);
    EXPECT_EQ(ClampSize(15, 10, 20), 15);
    const TGridRect range = GridRect(1, 2, 3, 4);
    EXPECT_TRUE(PointInCellRange(range, 1, 2));
    EXPECT_TRUE(PointInCellRange(range, 3, 4));
    EXPECT_FALSE(PointInCellRange(range, 0, 3));
    EXPECT_FALSE(PointInCellRange(range, 4, 3));
    EXPECT_FALSE(PointInCellRange(range, 2, 1));
    EXPECT_FALSE(PointInCellRange(range, 2, 5));
    EXPECT_EQ(IntMax(-3, 2), 2);
    EXPECT_EQ(IntMin(-3, 2), -3);

    EXPECT_EQ(ColorToHex(TColor(0x00A1B2C3)), QStringLiteral("C3B2A1"));
    EXPECT_EQ(ColorToHex(TColor(0x0000000F)), QStringLiteral("0F0000"));

    QString s = QStringLiteral("secret");
    FillWithChar(s, QChar('*'));
    EXPECT_EQ(s, QStringLiteral("******"));
}

TEST_F(Separators, CharacterClasses)
{
    Use(QChar(','), QChar('.'));
    const struct
    {
        char16_t c;
        bool number, signedNumber, floatChar, floatText, signedFloat;
    } cases[] = {
        {u'7', true, true, true, true, true},
        {u'\u0663', true, true, true, true, true}, // Arabic-Indic three
        {u'-', false, true, false, true, true},
        {u'+', false, false, false, true, true},
        {u',', false, false, true, false, true},
        {u'.', false, false, true, true, true},
        {u'e', false, false, true, true, true},
        {u'x', false, false, false, false, false},
    };
    for (const auto &c : cases)
    {
        const QChar ch(c.c);
        EXPECT_EQ(IsNumberChar(ch), c.number) << int(c.c);
        EXPECT_EQ(IsSignedNumberChar(ch), c.signedNumber) << int(c.c);
        EXPECT_EQ(IsFloatChar(ch), c.floatChar) << int(c.c);
        EXPECT_EQ(IsFloatTextChar(ch), c.floatText) << int(c.c);
        EXPECT_EQ(IsSignedFloatChar(ch), c.signedFloat) << int(c.c);
    }
}
