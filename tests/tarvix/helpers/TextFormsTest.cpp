#include "workspace/TarvixHelpers.h"
#include "workspace/WeightsTable.h"
#include "framework/controls/UiSeam.h"
#include "framework/grids/Grids.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/Exceptions.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <cfloat>
#include <cmath>
#include <memory>
#include <vector>

namespace {

TEST(FixedFormat, SevenDigitsFiveDecimals)
{
    EXPECT_EQ(FloatToStr75(0), "0.00000");
    EXPECT_EQ(FloatToStr75(1.2830348), "1.28303");
    EXPECT_EQ(FloatToStr75(1234.56789), "1234.56800");
    EXPECT_EQ(FloatToStr75(-0.5), "-0.50000");
}

TEST(HistogramText, RangesAndCounts)
{
    QString marker, ranges, counts;
    BuildHistogram(2, std::vector<double>{0, 3, 12}, 0, marker);
    HistogramToText(ranges, counts);
    EXPECT_TRUE(ranges.startsWith("\r\n0.00000 1.00000\r\n1.00000 2.00000\r\n2.00000 3.00000\r\n"));
    EXPECT_TRUE(ranges.endsWith("\r\n11.00000 12.00000\r\n"));
    EXPECT_EQ(ranges.count("\r\n"), 13);
    EXPECT_EQ(counts, "\r\n1\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n1\r\n");

    QString lower, upper, columnCounts;
    HistogramToColumns(lower, upper, columnCounts);
    EXPECT_EQ(lower, "\r\n0.00000\r\n1.00000\r\n2.00000\r\n3.00000\r\n4.00000\r\n5.00000\r\n6.00000\r\n7.00000\r\n"
                     "8.00000\r\n9.00000\r\n10.00000\r\n11.00000\r\n");
    EXPECT_TRUE(upper.startsWith("\r\n1.00000\r\n"));
    EXPECT_TRUE(upper.endsWith("\r\n12.00000\r\n"));
    EXPECT_EQ(upper.count("\r\n"), 13);
    EXPECT_EQ(columnCounts, counts);
}

TEST(HistogramText, FormatsTheLastBuild)
{
    QString marker, ranges, counts;
    BuildHistogram(0, std::vector<double>{0.125}, 0, marker);
    BuildHistogram(1, std::vector<double>{-1.5, 4.5}, 0, marker);
    HistogramToText(ranges, counts);
    EXPECT_TRUE(ranges.startsWith("\r\n-1.50000 -1.00000\r\n"));
    EXPECT_TRUE(counts.startsWith("\r\n1\r\n0\r\n"));
}

} // namespace

namespace {

std::unique_ptr<TStringList> Lines(std::initializer_list<const char *> lines)
{
    auto list = std::make_unique<TStringList>();
    for (const char *s : lines) list->Add(QString::fromLatin1(s));
    return list;
}

TEST(ListForms, MeanVarianceKeepsTinyVariances)
{
    double mean = -1, variance = -1;
    MeanVarianceList(*Lines({"1", "2", "3", "4"}), mean, variance);
    EXPECT_DOUBLE_EQ(mean, 2.5);
    EXPECT_DOUBLE_EQ(variance, 5.0 / 3);

    // Sample variance 5e-18: the array form rounds it to 0, the list form keeps it.
    const QString d = QString::number(std::sqrt(1e-17), 'g', 17);
    TStringList tiny;
    tiny.Add("0");
    tiny.Add(d);
    MeanVarianceList(tiny, mean, variance);
    EXPECT_NEAR(variance, 5e-18, 1e-30);
    EXPECT_GT(variance, 0);

    MeanVarianceList(*Lines({"7"}), mean, variance);
    EXPECT_EQ(mean, 7);
    EXPECT_EQ(variance, 0);
    MeanVarianceList(TStringList(), mean, variance);
    EXPECT_EQ(mean, 0);
    EXPECT_EQ(variance, 0);
}

TEST(ListForms, TailProbabilitiesDivideByTheLineCount)
{
    double p1 = -1, p2 = -1;
    int32_t greater, equal, less;
    TailProbabilitiesList(*Lines({"1", "3", "3", "2.0000000000000005"}), 2.0, p1, p2, greater, equal, less);
    EXPECT_EQ(greater, 1);
    EXPECT_EQ(equal, 1);
    EXPECT_EQ(less, 2);
    EXPECT_DOUBLE_EQ(p1, 0.5);
    EXPECT_DOUBLE_EQ(p2, 0.75);

    p1 = 0.125;
    p2 = 0.25;
    greater = equal = less = 3;
    TailProbabilitiesList(TStringList(), 2.0, p1, p2, greater, equal, less);
    EXPECT_EQ(p1, 0.125);
    EXPECT_EQ(p2, 0.25);
    EXPECT_EQ(greater + equal + less, 0);
}

TEST(ListForms, MedianOnASortedCopy)
{
    const auto list = Lines({"9", "-1", "4.5", "2"});
    double median = 0;
    MedianList(*list, median);
    EXPECT_EQ(median, 3.25);
    EXPECT_EQ(list->Strings(0), "9"); // the list itself keeps its order
    MedianList(*Lines({"9", "-1", "4.5"}), median);
    EXPECT_EQ(median, 4.5);
    median = 11;
    MedianList(TStringList(), median);
    EXPECT_EQ(median, 11);
}

TEST(ListForms, ALineThatIsNotANumberIsReported)
{
    double mean, variance;
    EXPECT_THROW(MeanVarianceList(*Lines({"1", "abc"}), mean, variance), EConvertError);
}

// The number at the start of a cell: a number out of range is no number (0, as any text that is
// none), never the shorter number its first digits make.
TEST(LeadingReal, ReadsTheLeadingNumberAndRefusesOneOutOfRange)
{
    const struct
    {
        const char *text;
        double value;
    } cases[] = {
        {"1e400", 0},       {"-1e400", 0},        {"1e400x", 0},     {"1e3080830808", 0},
        {"1.8e308", 0},     {"1e-400", 0},        {"1e-3080830808", 0},
        {"1e308", 1e308},   {"1.7976931348623158e308", DBL_MAX}, {"4.9e-324", 4.9e-324},
        {"99999999999999999999", 1e20},           {"1e40x", 1e40},   {"12abc", 12},
        {"1,5", 1},         {"1.5e", 1.5},        {"+1", 1},         {".5", 0.5},
        {"5.", 5},          {"-.e1", 0},          {"0x10", 0},       {"NaN", 0},
        {"Inf", 0},         {"-Inf", 0},          {"", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LeadingReal(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(LeadingReal, AWeightOutOfRangeGetsTheWeightsMessage)
{
    TStringGrid grid(nullptr);
    grid.SetColCount(2);
    grid.SetRowCount(3);
    grid.SetCells(1, 1, QStringLiteral("2"));
    grid.SetCells(1, 2, QStringLiteral("1e400"));
    TUiScript script;
    EXPECT_FALSE(CheckWeightsTable(&grid));
    EXPECT_EQ(script.Messages(), QStringList{QStringLiteral("Weights must be > 0 \r\nerror row: 2")});
}

} // namespace
