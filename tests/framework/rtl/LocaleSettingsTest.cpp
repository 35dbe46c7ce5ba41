// Locale settings by numeric locale id, against the names and separators of Qt's locale data.
#include "framework/rtl/LocaleSettings.h"
#include <gtest/gtest.h>

TEST(LocaleSettings, KnownIdsFillTheSettings)
{
    TFormatSettings s;
    ASSERT_TRUE(GetLocaleFormatSettings(0x0407, s));
    EXPECT_EQ(s.DecimalSeparator, QLatin1Char(','));
    EXPECT_EQ(s.ThousandSeparator, QLatin1Char('.'));
    EXPECT_EQ(s.DateSeparator, QLatin1Char('.'));
    EXPECT_EQ(s.LongMonthNames[3], QString::fromUtf8("März"));
    EXPECT_EQ(s.LongDayNames[1], "Sonntag"); // index 1 is Sunday
    EXPECT_EQ(s.ShortDateFormat, "dd.mm.yy");
    EXPECT_EQ(FormatDateTime(s.LongTimeFormat, 0.75 + 5.0 / 86400, s), "18:00:05");

    ASSERT_TRUE(GetLocaleFormatSettings(0x0409, s));
    EXPECT_EQ(s.DecimalSeparator, QLatin1Char('.'));
    EXPECT_EQ(s.TimeAMString, "AM");
    EXPECT_EQ(FormatDateTime(s.ShortTimeFormat, 0.75, s), "6:00 PM");
    EXPECT_EQ(FormatDateTime(s.ShortDateFormat, 36526, s), "1/1/00");

    // Sort bits above the language id do not matter.
    ASSERT_TRUE(GetLocaleFormatSettings(0x1040C, s));
    EXPECT_EQ(s.LongMonthNames[1], "janvier");
}

TEST(LocaleSettings, UnknownIdsLeaveTheSettings)
{
    TFormatSettings s;
    s.DecimalSeparator = QLatin1Char('|');
    for (uint32_t id : {0u, 0xF800u, 0xF400u, 0xABCDu, 0x7Fu})
        EXPECT_FALSE(GetLocaleFormatSettings(id, s)) << id;
    EXPECT_EQ(s.DecimalSeparator, QLatin1Char('|'));
    EXPECT_EQ(s.LongMonthNames[1], "January");
}
