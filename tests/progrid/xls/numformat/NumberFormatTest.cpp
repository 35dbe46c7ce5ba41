// Number formats: section choice by sign and condition, colours, numbers, dates, times, elapsed
// times, locale blocks and text, with "." and "," as separators and "/" and ":" between date and
// time parts unless a test says otherwise. Expected texts are worked out by hand.
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/numformat/duzUWbNumberFormat.h"

#include <gtest/gtest.h>
#include <random>

namespace {

constexpr int32_t Unchanged = 0x12345678;
constexpr int32_t Red = 0x0000FF;
const QString Signs = QStringLiteral("###################");

struct Rendered
{
    QString Text;
    int32_t Color = Unchanged;
    bool HasDate = false;
    bool HasTime = false;
};

Rendered Render(const Variant &V, const QString &Format, bool Dates1904 = false)
{
    Rendered r;
    XlsFormatValueExt(V, Format, Dates1904, r.Color, r.HasDate, r.HasTime, r.Text);
    return r;
}

class NumFormat : public ::testing::Test
{
protected:
    TFormatSettings Settings; // the framework's defaults: "." "," "/" ":" and English names
    TFormatSettingsScope Scope{Settings};
};

struct Case
{
    const char *Format;
    double Value;
    const char *Expected;
    int32_t Color = Unchanged;
};

void Check(const std::vector<Case> &Cases)
{
    for (const Case &c : Cases) {
        const Rendered r = Render(Variant(c.Value), QString::fromUtf8(c.Format));
        EXPECT_EQ(r.Text, QString::fromUtf8(c.Expected)) << c.Format << " with " << c.Value;
        EXPECT_EQ(r.Color, c.Color) << c.Format << " with " << c.Value;
    }
}

} // namespace

TEST_F(NumFormat, NumberPlaceholders)
{
    Check({
        {"0.00", 1234.567, "1234.57"},
        {"#,##0.00", 1234.567, "1,234.57"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0", -1234567, "-1,234,567"},
        {"#,##0", 999.5, "1,000"},
        {"0.00", 0.125, "0.13"},  // halves away from zero
        {"0.00", -0.125, "-0.13"},
        {"0", 2.5, "3"},
        {"0.00", -0.001, "0.00"}, // no sign on a value that rounds to zero
        {"00000", 42, "00042"},
        {"#.##", 0.5, ".5"},
        {"0.0#", 1.5, "1.5"},
        {"0.0#", 1.25, "1.25"},
        {"#", 0, ""},
        {"0%", 0.256, "26%"},
        {"0.00%", 0.12345, "12.35%"},
        {"0.00E+00", 12345, "1.23E+04"},
        {"0.00E+00", 0.00012345, "1.23E-04"},
        {"0.00E+00", 9.999, "1.00E+01"}, // rounding carries into the exponent
        {"0.00E+00", 0, "0.00E+00"},
        {"0.0E-0", 1234, "1.2E3"},
        {"##0.0E+0", 12345, "12.3E+3"},
        {"##0.0E+0", 0.00012345, "123.4E-6"}, // the double is just below ...45
        {"$#,##0.00", 1234.5, "$1,234.50"},
        {"\"Total: \"0", 5, "Total: 5"},
        {"0\\ \\k\\g", 12, "12 kg"},
        {"0 \\k\\g", 12, "12 kg"},
        {"0_);(0)", 7, "7 "},
        {"#,##0 _$;-#,##0 _$", -1234, "-1,234  "},
        {"[$€-407]#,##0.00", 1234.5, "€1,234.50"},
        {"[$USD] 0", 3, "USD 3"},
    });
}

TEST_F(NumFormat, GeneralText)
{
    Check({
        {"General", 1234.5, "1234.5"},
        {"General", -0.1, "-0.1"},
        {"general", 1e20, "1E20"},
        {"Foo", 3.25, "3.25"},      // an unknown word
        {"0.0 G", 2.5, "2.5"},      // a stray letter drops what was built
        {"[Red]General", 2, "2", Red},
        {"", 1.5, "1.5"},
    });
}

TEST_F(NumFormat, SectionsAndConditions)
{
    Check({
        {"[Red]0.00", 2, "2.00", Red},
        {"[RED]0.00", 2, "2.00", Red}, // colour names in any letter case
        {"[red]0.00", -2, "-2.00", Red},
        {"[Purple]0.00", 2, "2.00"},   // not a colour: skipped
        {"0.00;[Red](0.00)", -3, "(3.00)", Red},
        {"0.00;[Red](0.00)", 3, "3.00"},
        {"0.00;(0.00)", -1.5, "(1.50)"},
        {"0;-0;\"zero\"", 0, "zero"},
        {"0;-0;\"zero\"", -2, "-2"},
        {"0;-0;\"zero\"", 7, "7"},
        {"0;(0)", 0, "0"},
        {"0;0;", 0, ""}, // an empty zero section
        {"[<=0]\"neg\";0", -5, "neg"},
        {"[<=0]\"neg\";0", 5, "5"},
        {"[>100]0;[<0]0", 50, Signs.toUtf8().constData()},
        {"[>100]0;[<0]0", 150, "150"},
        {"[>100]0;[<0]0", -5, "5"},
        {"[<-1]0", 5, Signs.toUtf8().constData()},
        {"[=1]\"one\";0", 1, "one"},
        {"[=1]\"one\";0", 2, "2"},
        {"[<>0]0;\"nil\"", 0, "nil"},
        {"[Blue][>=1000]#,##0;[Green]0", 1500, "1,500", 0xFF0000},
        {"[Blue][>=1000]#,##0;[Green]0", 5, "5", 0x008000},
        {"[Blue][>=1000]#,##0;[Green]0", -5, "-5", 0x008000},
        {"[>0.5]\"big\";\"small\"", 0.75, "big"},
        {"0;0;0;@", -4, "4"},
    });
}

TEST_F(NumFormat, DatesAndTimes)
{
    const struct
    {
        const char *Format;
        double Value;
        const char *Expected;
        bool HasDate, HasTime;
    } cases[] = {
        {"dd/mm/yyyy", 36526, "01/01/2000", true, false},
        {"d/m/yy", 36557, "1/2/00", true, false},
        {"yyyy-mm-dd", 36526, "2000-01-01", true, false},
        {"DD-MMM-YY", 36526, "01-Jan-00", true, false},
        {"mmmm d, yyyy", 36585.5, "February 29, 2000", true, false},
        {"dddd ddd", 36526, "Saturday Sat", true, false},
        {"dd/mm/yyyy", 2958466, "##", true, false}, // past 9999-12-31
        {"hh:mm", 0.75, "18:00", false, true},
        {"h:mm:ss", 0.5 + 3723.0 / 86400, "13:02:03", false, true},
        {"h:mm AM/PM", 0.75, "6:00 PM", false, true},
        {"h:mm:ss AM/PM", 0.25, "6:00:00 AM", false, true},
        {"h AM/PM", 0, "12 AM", false, true},
        {"hh:mm am/pm", 0.5, "12:00 PM", false, true},
        {"mm:ss", 0.0625 + 5.0 / 86400, "30:05", false, true}, // minutes, not the month
        {"h \"h\" mm", 0.0625, "1 h 30", false, true},
        {"mm", 0.0625, "12", true, false},                      // alone it is the month
        {"[h]:mm:ss", 1.5, "36:00:00", false, true},
        {"[h]", 1.5, "36", false, true},
        {"[hhh]:mm", 0.5, "012:00", false, true},
        {"[mm]:ss", 0.0625, "90:00", false, true},
        {"[s]", 11.0 / 86400, "11", false, true},             // not 10 for want of a last bit
        {"[h]:mm", -0.5, "-12:00", false, true},
        {"d/m/yyyy h:mm", 36526.75, "1/1/2000 18:00", true, true},
        {"yyyy\\y", 36526, "2000y", true, false},
        {"\"ß\"[h]", 1.5, "ß36", false, true}, // a letter that upper-cases to two
    };
    for (const auto &c : cases) {
        const Rendered r = Render(Variant(c.Value), QString::fromUtf8(c.Format));
        EXPECT_EQ(r.Text, QString::fromUtf8(c.Expected)) << c.Format;
        EXPECT_EQ(r.HasDate, c.HasDate) << c.Format;
        EXPECT_EQ(r.HasTime, c.HasTime) << c.Format;
    }
}

TEST_F(NumFormat, DateValuesAnd1904)
{
    EXPECT_EQ(Render(Variant(36526.0), "dd/mm/yyyy", true).Text, "02/01/2004");
    EXPECT_EQ(Render(Variant::FromDate(36526), "dd/mm/yyyy").Text, "01/01/2000");
    EXPECT_EQ(Render(Variant::FromDate(-1), "dd/mm/yyyy").Text, Signs);
    EXPECT_EQ(Render(Variant::FromDate(-1), "0.00").Text, Signs);
    // A plain negative number is still a day before 1900.
    EXPECT_EQ(Render(Variant(-1.0), "dd/mm/yyyy").Text, "29/12/1899");
}

TEST_F(NumFormat, LongDateAndTimeShortcuts)
{
    Rendered r = Render(Variant(36526.0), "[$-F800]dddd, mmmm dd, yyyy");
    EXPECT_EQ(r.Text, "Saturday, January 1, 2000");
    EXPECT_TRUE(r.HasDate);
    EXPECT_FALSE(r.HasTime);
    r = Render(Variant(36526.0), "[$-F800]", true);
    EXPECT_EQ(r.Text, "Friday, January 2, 2004");
    r = Render(Variant(0.75), "[$-F400]h:mm:ss AM/PM");
    EXPECT_EQ(r.Text, "6:00:00 PM");
    EXPECT_TRUE(r.HasTime);
    EXPECT_FALSE(r.HasDate);
    EXPECT_EQ(Render(Variant(-800000.0), "[$-f800]").Text, "##");
}

TEST_F(NumFormat, SettingsComeFromTheFramework)
{
    TFormatSettings s;
    s.DecimalSeparator = QLatin1Char(',');
    s.ThousandSeparator = QLatin1Char('.');
    s.DateSeparator = QLatin1Char('-');
    s.TimeSeparator = QLatin1Char('.');
    s.TimeAMString = QStringLiteral("vorm.");
    s.TimePMString = QString(); // an empty marker reads "PM"
    s.ShortMonthNames[1] = QStringLiteral("Jän");
    TFormatSettingsScope scope(s);
    EXPECT_EQ(Render(Variant(1234.567), "#,##0.00").Text, "1.234,57");
    EXPECT_EQ(Render(Variant(-0.5), "General").Text, "-0,5");
    EXPECT_EQ(Render(Variant(36526.0), "dd/mm/yyyy").Text, "01-01-2000");
    EXPECT_EQ(Render(Variant(36526.0), "d mmm").Text, "1 Jän");
    EXPECT_EQ(Render(Variant(0.25), "h:mm AM/PM").Text, "6.00 vorm.");
    EXPECT_EQ(Render(Variant(0.75), "h:mm AM/PM").Text, "6.00 PM");
}

TEST_F(NumFormat, LocaleBlocks)
{
    EXPECT_EQ(Render(Variant(36526.0), "[$-407]mmmm").Text, "Januar");
    EXPECT_EQ(Render(Variant(36526.0), "[$-40C]dddd d mmmm").Text, "samedi 1 janvier");
    EXPECT_EQ(Render(Variant(36526.0), "[$-1000407]mmmm").Text, "Januar"); // the last four digits
    // The locale names the date parts after it; numbers keep the current settings.
    EXPECT_EQ(Render(Variant(36526.0), "mmmm [$-407]mmmm").Text, "January Januar");
    EXPECT_EQ(Render(Variant(1234.5), "[$-407]#,##0.00").Text, "1,234.50");
    // Ids without a locale, or not hexadecimal, leave the settings as they are.
    EXPECT_EQ(Render(Variant(36526.0), "[$-ABCD]mmmm").Text, "January");
    EXPECT_EQ(Render(Variant(2.0), "[$-zz]0.00").Text, "2.00");
    // A block of one format does not reach the next.
    EXPECT_EQ(Render(Variant(36526.0), "mmmm").Text, "January");
}

TEST_F(NumFormat, TextValues)
{
    const struct
    {
        const char *Format;
        const char *Expected;
        int32_t Color;
    } cases[] = {
        {"@\" units\"", "10 units", Unchanged},
        {"0.00", "10", Unchanged},
        {"", "10", Unchanged},
        {"[Red]", "10", Red},
        {"[Blue]General", "10", 0xFF0000},
        {"[Red]0.00", "10", Unchanged},
        {"\"Name: \"@", "Name: 10", Unchanged},
        {"0;0;0;[Green]\"<\"@\">\"", "<10>", 0x008000},
        {"0;0;0", "10", Unchanged},
        {"[$USD-409] @", "USD 10", Unchanged},
        {"@ G", "10", Unchanged}, // a stray letter: the text unchanged
    };
    for (const auto &c : cases) {
        const Rendered r = Render(Variant(QStringLiteral("10")), QString::fromUtf8(c.Format));
        EXPECT_EQ(r.Text, QString::fromUtf8(c.Expected)) << c.Format;
        EXPECT_EQ(r.Color, c.Color) << c.Format;
        EXPECT_FALSE(r.HasDate || r.HasTime);
    }
}

TEST_F(NumFormat, ValueKinds)
{
    EXPECT_EQ(Render(Variant(), "0.00").Text, "");
    EXPECT_EQ(Render(Variant::Null(), "0.00").Text, "");
    EXPECT_EQ(Render(Variant(true), "0.00").Text, "TRUE");
    EXPECT_EQ(Render(Variant(false), "General").Text, "FALSE");
    EXPECT_EQ(Render(Variant(true), "").Text, "TRUE");
    EXPECT_EQ(Render(Variant(int32_t(42)), "").Text, "42");
    EXPECT_EQ(Render(Variant(int16_t(-7)), "0.0").Text, "-7.0");
    EXPECT_EQ(Render(Variant(uint8_t(5)), "0.00").Text, "5.00");
    EXPECT_EQ(Render(Variant(int64_t(1234567890123)), "#,##0").Text, "1,234,567,890,123");
    EXPECT_EQ(Render(Variant(0.5f), "0.00").Text, "0.50");
    EXPECT_EQ(Render(Variant::FromCurrency(12.3456), "0.00").Text, "12.35");
    // Other kinds keep their plain text.
    EXPECT_EQ(Render(Variant(uint32_t(7)), "0.00").Text, "7");
    EXPECT_EQ(Render(Variant(int8_t(-3)), "0.00").Text, "-3");
    EXPECT_EQ(Render(Variant::FromError(42), "0.00").Text, "");
    int32_t color = Unchanged;
    EXPECT_EQ(XlsFormatValue(Variant(-3.0), "0.00;[Red](0.00)", false, color), "(3.00)");
    EXPECT_EQ(color, Red);
}

TEST_F(NumFormat, HasXlsDateTime)
{
    const struct
    {
        const char *Format;
        bool Result, HasDate, HasTime;
    } cases[] = {
        {"0.00", false, false, false},
        {"General", false, false, false},
        {"@", false, false, false},
        {"yyyy-mm-dd", true, true, false},
        {"[$-F400]", true, false, true},
        {"[$-F800]", true, true, false},
        {"h:mm AM/PM", true, false, true},
        {"[h]:mm:ss", true, false, true},
        {"mm/dd/YYYY hh:mm", true, true, true},
        {"[<5]0;dd/mm/yyyy", true, true, false}, // 10 takes the second section
        {"[<5]dd/mm/yyyy;0", false, false, false},
    };
    for (const auto &c : cases) {
        bool hasDate = true, hasTime = true;
        EXPECT_EQ(HasXlsDateTime(QString::fromUtf8(c.Format), hasDate, hasTime), c.Result) << c.Format;
        EXPECT_EQ(hasDate, c.HasDate) << c.Format;
        EXPECT_EQ(hasTime, c.HasTime) << c.Format;
    }
}

TEST_F(NumFormat, MalformedFormats)
{
    Check({
        {"\"abc", 2.5, "abc"},              // an unterminated quote runs to the end
        {"0\"abc", 2.5, "3abc"},
        {"[Red", 2.5, "2.5"},               // an unterminated bracket
        {"[$", 2.5, "2.5"},
        {"[$€-407", 2.5, "2.5"},
        {"[h", 2.5, "2.5"},
        {"[>]0", 2.5, "3"},                 // a condition without a number is no condition
        {"[>abc]0;0", -2.5, "3"},
        {"[<=1e999]0;\"x\"", 2.5, "3"},
        {"0;0;0;0;0", 2.5, "3"},            // a fifth section is ignored
        {";;;;", 2.5, ""},
        {"[$-GGGG]0.0", 2.5, "2.5"},        // a locale block with a bad id
        {"[$-]0.0", 2.5, "2.5"},
        {"[hm]0", 2.5, "3"},
        {"0\\", 2.5, "3"},
        {"0_", 2.5, "3 "},
        {"0*", 2.5, "3"},
        {"E+", 2.5, "E+"},
        {"0.0.0", 2.5, "2.5.0"},
        {"]0[", 2.5, "2.5"},
        {"%", 2.5, "%"},
        {"0%", 1e307, "###################"},
    });
}

// Whatever the format, rendering ends and raises nothing.
TEST_F(NumFormat, RandomFormatsNeverRaise)
{
    const QString alphabet = QStringLiteral("0#?.,;[]\"\\_*%Ee+-$hHmMsSdDyYAPM/: @<>=Red!GF48");
    std::mt19937 gen(41);
    std::uniform_int_distribution<int> len(0, 24), pick(0, int(alphabet.size()) - 1);
    const Variant values[] = {Variant(2.5), Variant(-1234.5), Variant(0.0), Variant(36526.75),
                              Variant(QStringLiteral("t")), Variant::FromDate(-3), Variant(1e300)};
    for (int i = 0; i < 3000; ++i) {
        QString f;
        for (int k = len(gen); k > 0; --k)
            f += alphabet[pick(gen)];
        for (const Variant &v : values) {
            int32_t color = 0;
            bool d = false, t = false;
            QString text;
            EXPECT_NO_THROW(XlsFormatValueExt(v, f, i % 2 == 0, color, d, t, text)) << f.toStdString();
        }
    }
}
