#include "workspace/TarvixHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

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
