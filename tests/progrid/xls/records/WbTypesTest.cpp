// Value-type helpers of the workbook engine: column letters, quoted-text replacement, date
// formatting with the 1904 offset, ranges and template search.
#include "tests/progrid/xls/compound/OleFixture.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsTypes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>

TEST(WbTypes, ColumnLetters)
{
    const struct
    {
        int n;
        const char *letters;
    } cases[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {53, "BA"}, {256, "IV"}, {702, "ZZ"}, {703, "AAA"}};
    for (const auto &c : cases)
        EXPECT_EQ(ColumnLetters(c.n), QString::fromLatin1(c.letters)) << c.n;
}

TEST(WbTypes, ReplaceOutsideQuotes)
{
    EXPECT_EQ(ReplaceOutsideQuotes("h:mm AMPM", "AMPM", "AM/PM"), "h:mm AM/PM");
    EXPECT_EQ(ReplaceOutsideQuotes("h \"AMPM\" ampm", "AMPM", "AM/PM"), "h \"AMPM\" AM/PM");
    EXPECT_EQ(ReplaceOutsideQuotes("ampmAMPM", "AMPM", "x"), "xx");
    // A character whose upper case is longer does not shift what follows it.
    EXPECT_EQ(ReplaceOutsideQuotes(QString::fromUtf8("\"Straße\" AMPM"), "AMPM", "AM/PM"),
              QString::fromUtf8("\"Straße\" AM/PM"));
    EXPECT_EQ(ReplaceOutsideQuotes(QString::fromUtf8("ßaampm"), "AMPM", "x"), QString::fromUtf8("ßax"));
    // Longer than the first reserve of the result.
    const QString longText = QString(150, QLatin1Char('a')) + "AMPM";
    EXPECT_EQ(ReplaceOutsideQuotes(longText, "ampm", "AM/PM"), QString(150, QLatin1Char('a')) + "AM/PM");
}

TEST(WbTypes, FormatDateTimeWb)
{
    TFormatSettings fs;
    // 1462 days after 30 December 1899 is 1 January 1904.
    EXPECT_EQ(FormatDateTimeWb("yyyy-mm-dd", true, fs, 0), "1904-01-01");
    EXPECT_EQ(FormatDateTimeWb("yyyy-mm-dd", false, fs, 1462), "1904-01-01");
    EXPECT_EQ(FormatDateTimeWb("yyyy-mm-dd hh:nn", false, fs, 2.5), "1900-01-01 12:00");
    EXPECT_EQ(FormatDateTimeWb("yyyy-mm-dd", false, fs, std::nan("")), "##");
    EXPECT_EQ(FormatDateTimeWb("yyyy-mm-dd", false, fs, 1e10), "##");
    EXPECT_EQ(FormatDateTimeWb("yyyy-mm-dd", true, fs, 2958465.0), "##");
}

TEST(WbTypes, SmallHelpers)
{
    const TXlsCellRange r = OffsetRange(TXlsCellRange{1, 2, 3, 4}, -1, -1);
    EXPECT_EQ(r.Left, 0);
    EXPECT_EQ(r.Top, 1);
    EXPECT_EQ(r.Right, 2);
    EXPECT_EQ(r.Bottom, 3);

    TXlsNamedRange n{"a", "=A1", 5, 6};
    InitNamedRange(n);
    EXPECT_TRUE(n.Name.isEmpty() && n.RangeFormula.isEmpty());
    EXPECT_EQ(n.OptionFlags, 0);
    EXPECT_EQ(n.NameSheetIndex, 0);

    TFormatSettings fs;
    fs.TimeAMString.clear();
    fs.TimePMString = "pm";
    EnsureAmPm(fs);
    EXPECT_EQ(fs.TimeAMString, "AM");
    EXPECT_EQ(fs.TimePMString, "pm");

    double v = 0;
    EXPECT_TRUE(TextToFloatPoint("1.5", v));
    EXPECT_EQ(v, 1.5);
    EXPECT_FALSE(TextToFloatPoint("1,5", v));

    EXPECT_TRUE(IsAbsolutePath("C:x.xls"));
    EXPECT_TRUE(IsAbsolutePath("\\x.xls"));
    EXPECT_FALSE(IsAbsolutePath("x.xls"));
    EXPECT_EQ(WideUpper(QString::fromUtf8("äbß")), QString::fromUtf8("ÄBß"));
}

TEST(WbTypes, SearchTemplateFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile f(dir.filePath("t.xls"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    EXPECT_EQ(SearchTemplateFile("  " + dir.path() + "  ", "t.xls"), dir.path() + "/t.xls");
    EXPECT_EQ(SearchTemplateFile("", dir.path() + "/t.xls"), dir.path() + "/t.xls");
    EXPECT_EQ(ole::MessageOf([&] { SearchTemplateFile(dir.path(), "none.xls"); }),
              "Can't find the file \"" + dir.path() + "/none.xls\"");
    EXPECT_EQ(ole::MessageOf([&] { SearchTemplateFile("", "none-such-template.xls"); }),
              "Can't find the file \"none-such-template.xls\"");
}
