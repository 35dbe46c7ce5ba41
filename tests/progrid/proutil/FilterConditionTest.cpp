// Filter conditions and the date routines they and the date sort styles use.
#include "grid/core/ProUtil.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// Restores the locale settings a test changes.
struct TLocaleGuard
{
    TFormatSettings Saved = FormatSettings;
    ~TLocaleGuard() { FormatSettings = Saved; }
};

struct TMatchCase
{
    const char *Expression;
    const char *Value;
    bool CaseSensitive;
    bool Expected;
};

// A straightforward reading of the wildcard rules, trying every tail for a star: the answer the
// matcher must give. A "!" anywhere negates; double quotes are skipped.
bool ReferenceMatch(const QString &p, int i, const QString &v, int j)
{
    while (i < p.size() && (p[i] == '"' || p[i] == '!'))
        ++i;
    if (i == p.size())
        return j == v.size();
    if (p[i] == '*') {
        while (i < p.size() && (p[i] == '*' || p[i] == '"' || p[i] == '!'))
            ++i;
        for (int k = v.size(); k >= j; --k)
            if (ReferenceMatch(p, i, v, k))
                return true;
        return false;
    }
    if (j == v.size())
        return false;
    if (p[i] != '?' && p[i] != v[j])
        return false;
    return ReferenceMatch(p, i + 1, v, j + 1);
}

} // namespace

TEST(FilterCondition, ComparisonsWordsWildcardsAndOperators)
{
    TLocaleGuard guard;
    const TMatchCase cases[] = {
        // Comparisons, with and without a blank after the mark.
        {"> 10", "10", true, false},
        {">= 10", "10", true, true},
        {">10", "10.5", true, true},
        {"<=5", "5", true, true},
        {"<5", "5", true, false},
        {"<5", "-7", true, true},
        // Thousand and decimal separators of the locale.
        {">1000", "1,234.5", true, true},
        {"<1000", "1,234.5", true, false},
        // Text against text by character code; a number against text too.
        {">abc", "abd", true, true},
        {">abc", "abb", true, false},
        {">5", "x", true, true},
        // Dates (M/d/yyyy) compare as dates: as text "1/2/2011" would come first.
        {">12/31/2010", "1/2/2011", true, true},
        {"<12/31/2010", "1/2/2011", true, false},
        // A range: two terms joined by AND.
        {">5&<10", "7", true, true},
        {">5&<10", "12", true, false},
        {">5 & <10", "3", true, false},
        // Words: blanks outside quotes are dropped, quoted ones kept.
        {"New York", "NewYork", true, true},
        {"New York", "New York", true, false},
        {"\"New York\"", "New York", true, true},
        {"=abc", "abc", true, true},
        {"abc", "abcd", true, false},
        // Case.
        {"ABC", "abc", false, true},
        {"ABC", "abc", true, false},
        // Wildcards.
        {"*", "", true, true},
        {"*", "anything", true, true},
        {"?", "a", true, true},
        {"?", "", true, false},
        {"?", "ab", true, false},
        {"", "", true, true},
        {"", "x", true, false},
        {"ab*", "abc", true, true},
        {"!ab*", "abc", true, false},
        {"!ab*", "xbc", true, true},
        {"x*y", "xzy", true, true},
        {"*a*a*b", "aaab", true, true},
        {"*a*a*b", "aab", true, true},
        {"*a*a*b", "ab", true, false},
        // Left to right, no precedence: (a* OR *b) AND *c.
        {"a*|*b&*c", "ab", true, false},
        {"a*|*b&*c", "axc", true, true},
        {"a*;x*", "xy", true, true},
        {"a*^x*", "xy", true, true},
        // A group joined by AND is evaluated first.
        {"(a*|x*)&*z", "xyz", true, true},
        {"(a*|x*)&*z", "xy", true, false},
        {"*z&(a*|x*)", "byz", true, false},
        // Operator characters inside quotes are text.
        {"\"a&b\"", "a&b", true, true},
    };
    for (const TMatchCase &c : cases)
        EXPECT_EQ(MatchFilterExpression(c.Expression, c.Value, c.CaseSensitive), c.Expected)
            << c.Expression << " against " << c.Value;
}

TEST(FilterCondition, ConditionsJoinTheirOwnComparisons)
{
    // Called directly, a condition joins its greater and less tests with "&" or "^".
    EXPECT_TRUE(MatchFilterCondition(">5&<10", "7"));
    EXPECT_FALSE(MatchFilterCondition(">5&<10", "11"));
    // An operand ends at a blank, "&" or "|".
    EXPECT_TRUE(MatchFilterCondition(">10 ^ <5", "11"));
    EXPECT_TRUE(MatchFilterCondition(">10 ^ <5", "3"));
    EXPECT_FALSE(MatchFilterCondition(">10 ^ <5", "7"));
    EXPECT_TRUE(MatchFilterTerm("abc", "ABC", false));
    EXPECT_FALSE(MatchFilterTerm("abc", "ABC", true));
}

TEST(FilterCondition, WildcardsAgreeWithTheStraightforwardMatcher)
{
    QRandomGenerator rnd(20240611);
    const QString patternChars = QStringLiteral("ab*?\"");
    const QString valueChars = QStringLiteral("ab");
    for (int n = 0; n < 20000; ++n) {
        QString p, v;
        const int pl = rnd.bounded(9), vl = rnd.bounded(9);
        for (int i = 0; i < pl; ++i)
            p += patternChars[rnd.bounded(patternChars.size())];
        for (int i = 0; i < vl; ++i)
            v += valueChars[rnd.bounded(valueChars.size())];
        if (rnd.bounded(4) == 0)
            p.insert(rnd.bounded(p.size() + 1), QChar('!'));
        const bool expected = ReferenceMatch(p, 0, v, 0) != p.contains('!');
        ASSERT_EQ(MatchFilterCondition(p, v), expected) << p.toStdString() << " against " << v.toStdString();
    }
}

TEST(FilterCondition, NestingBeyondReasonRejectsTheCondition)
{
    const QString deep = QString(5000, QChar('(')) + "a" + QString(5000, QChar(')'));
    EXPECT_THROW(MatchFilterExpression(deep, "a", true), EConvertError);
    EXPECT_TRUE(MatchFilterExpression("((a))", "a", true));
}

TEST(DateText, LocaleDatesWithTimes)
{
    TLocaleGuard guard;
    FormatSettings.ShortDateFormat = "d/M/yyyy";
    TDateTime v = 0;
    ASSERT_TRUE(ParseLocaleDateTime("31/12/2011 23:59", v));
    EXPECT_DOUBLE_EQ(v, EncodeDate(2011, 12, 31) + EncodeTime(23, 59, 0, 0));
    ASSERT_TRUE(ParseLocaleDateTime("1/2/2011 10:20:30", v));
    EXPECT_DOUBLE_EQ(v, EncodeDate(2011, 2, 1) + EncodeTime(10, 20, 30, 0));
    v = 0;
    EXPECT_FALSE(ParseLocaleDateTime("31/12/2011 23", v));
    EXPECT_DOUBLE_EQ(v, EncodeDate(2011, 12, 31)) << "the date is still computed";
    for (const char *bad : {"32/12/2011", "31/13/2011", "31/11/2011", "1/2", "a/2/2011", "1/2/2011 24:00",
                            "1/2/2011 10:60", "12"})
        EXPECT_FALSE(ParseLocaleDateTime(bad, v)) << bad;
    FormatSettings.ShortDateFormat = "yyyy-MM-dd";
    FormatSettings.DateSeparator = '-';
    ASSERT_TRUE(ParseLocaleDateTime("2011-02-01", v));
    EXPECT_DOUBLE_EQ(v, EncodeDate(2011, 2, 1));
}

TEST(DateText, ShortDatesKeepLongYears)
{
    struct
    {
        const char *Text;
        bool US;
        TDateTime Expected;
    } cases[] = {
        {"1.2.11", false, EncodeDate(2011, 2, 1)},  {"1.2.26", false, EncodeDate(1926, 2, 1)},
        {"1-2-25", false, EncodeDate(2025, 2, 1)},  {"1.2.2011", false, EncodeDate(2011, 2, 1)},
        {"2/1/11", true, EncodeDate(2011, 2, 1)},   {"12/31/1999", true, EncodeDate(1999, 12, 31)},
        {"31.2.11", false, 0},                      {"1.2", false, 0},
        {"x", true, 0},                             {"1.2.11 10:00", false, 0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(c.US ? ParseShortDateUS(c.Text) : ParseShortDateEU(c.Text), c.Expected) << c.Text;
}

TEST(DateText, StepsLooksAndNumbers)
{
    TLocaleGuard guard;
    EXPECT_DOUBLE_EQ(StepDate(0, -1, 0, 0, EncodeDate(2011, 1, 15)), EncodeDate(2010, 12, 15));
    EXPECT_DOUBLE_EQ(StepDate(0, 13, 0, 0, EncodeDate(2011, 1, 15)), EncodeDate(2012, 2, 15));
    EXPECT_DOUBLE_EQ(StepDate(0, 1, 0, 0, EncodeDate(2011, 1, 31)), EncodeDate(2011, 2, 28));
    EXPECT_DOUBLE_EQ(StepDate(1, 0, 0, 0, EncodeDate(2012, 2, 29)), EncodeDate(2013, 2, 28));
    EXPECT_DOUBLE_EQ(StepDate(0, 0, 10, 0, EncodeDate(2011, 1, 25) + 0.5), EncodeDate(2011, 2, 4) + 0.5);
    EXPECT_DOUBLE_EQ(StepDate(1, 1, 0, 2.5, 100), 102.5) << "several given: the plain step";
    EXPECT_DOUBLE_EQ(StepDate(0, 0, 0, 7, 100), 107);

    EXPECT_TRUE(LooksLikeDate("1/2/3"));
    EXPECT_FALSE(LooksLikeDate("/1/2"));
    EXPECT_FALSE(LooksLikeDate("12/3"));
    EXPECT_FALSE(LooksLikeDate("1//3"));

    EXPECT_EQ(NormaliseNumberText("1,234.5"), "1234.5");
    FormatSettings.DecimalSeparator = ',';
    FormatSettings.ThousandSeparator = '.';
    EXPECT_EQ(NormaliseNumberText("1.234,5"), "1234.5");
    EXPECT_TRUE(MatchFilterExpression(">1000", "1.234,5", true));
}
