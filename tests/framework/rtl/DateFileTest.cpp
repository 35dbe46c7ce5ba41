#include "framework/rtl/SysUtils.h"
#include "tests/common/TestSupport.h"
#include "tests/framework/rtl/SettingsGuard.h"
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <set>


TEST(Dates, EncodeDecodeRoundTrip)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(2000, 2, 29), 36585);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_THROW(EncodeDate(2001, 2, 29), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    for (TDateTime d : {-693593.0, -1.0, 0.0, 59.0, 36585.0, 2958465.0}) {
        Word y, m, day;
        DecodeDate(d, y, m, day);
        EXPECT_EQ(EncodeDate(y, m, day), d) << d;
    }
    // The time of a negative value counts forward from that day's midnight.
    Word y, m, d, h, mi, s, ms;
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, mi, s, ms);
    EXPECT_EQ(QList<int>({y, m, d, h, mi}), QList<int>({1899, 12, 29, 6, 0}));
    // Rounding to the millisecond never yields 24:00.
    DecodeTime(0.99999999999, h, mi, s, ms);
    EXPECT_EQ(h, 0);
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 7)), 1); // a Sunday
    EXPECT_EQ(DayOfWeek(0), 7);
}

TEST(Dates, FormatDateTimePatterns)
{
    const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
    struct { const char *fmt; const char *text; } cases[] = {
        {"d/m/yy", "5/3/24"}, {"dd.mm.yyyy", "05.03.2024"}, {"ddd dddd", "Tue Tuesday"},
        {"mmm mmmm", "Mar March"}, {"h:m", "14:7"}, {"hh:nn:ss.zzz", "14:07:09.045"},
        {"h:nn am/pm", "2:07 pm"}, {"h a/p", "2 p"}, {"h:nn AMPM", "2:07 PM"},
        {"'day' d \"of\" m", "day 5 of 3"}, {"c", "3/5/2024 2:07:09 PM"}, {"ddddd", "3/5/2024"},
        {"tt", "2:07:09 PM"}, {"yyyy-mm-dd hh:nn", "2024-03-05 14:07"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatDateTime(QString::fromLatin1(c.fmt), t), QString::fromLatin1(c.text)) << c.fmt;
    EXPECT_EQ(FormatDateTime(QStringLiteral("c"), EncodeDate(2024, 3, 5)), QStringLiteral("3/5/2024"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("h AMPM"), EncodeTime(0, 30, 0, 0)), QStringLiteral("12 AM"));
    EXPECT_EQ(DateToStr(t), QStringLiteral("3/5/2024"));
    EXPECT_EQ(TimeToStr(t), QStringLiteral("2:07:09 PM"));
}

TEST(Dates, IncMonthCutsTheDay)
{
    struct { int y, m, d, add, ry, rm, rd; } cases[] = {
        {2024, 1, 31, 1, 2024, 2, 29}, {2023, 1, 31, 1, 2023, 2, 28}, {2024, 3, 15, -3, 2023, 12, 15},
        {2024, 12, 1, 1, 2025, 1, 1}, {2024, 5, 31, -14, 2023, 3, 31}, {2024, 5, 31, 0, 2024, 5, 31},
    };
    for (const auto &c : cases)
        EXPECT_EQ(IncMonth(EncodeDate(c.y, c.m, c.d), c.add), EncodeDate(c.ry, c.rm, c.rd)) << c.y << "-" << c.m;
    EXPECT_DOUBLE_EQ(IncMonth(EncodeDate(2024, 1, 1) + 0.25), EncodeDate(2024, 2, 1) + 0.25);
    EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1)), EConvertError);
}

TEST(Dates, ParseWithTheSettings)
{
    SettingsGuard g;
    EXPECT_EQ(StrToDate(QStringLiteral("3/5/2024")), EncodeDate(2024, 3, 5));
    EXPECT_DOUBLE_EQ(StrToTime(QStringLiteral("2:07 PM")), EncodeTime(14, 7, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime(QStringLiteral("12:00 AM")), 0);
    EXPECT_DOUBLE_EQ(StrToTime(QStringLiteral("23:59:59")), EncodeTime(23, 59, 59, 0));
    EXPECT_DOUBLE_EQ(StrToDateTime(QStringLiteral("3/5/2024 14:07")), EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 0, 0));
    // Round trip through the default text forms.
    const TDateTime t = EncodeDate(1999, 12, 31) + EncodeTime(23, 5, 1, 0);
    EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(t)), t);
    for (const char *bad : {"2/30/2024", "13/1/2024", "3-5-2024", "", "3/5/2024x", "1/2/3/4"})
        EXPECT_THROW(StrToDate(QString::fromLatin1(bad)), EConvertError) << bad;
    for (const char *bad : {"24:00", "13:00 PM", "1:60", "x"})
        EXPECT_THROW(StrToTime(QString::fromLatin1(bad)), EConvertError) << bad;
    FormatSettings.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    FormatSettings.DateSeparator = QLatin1Char('.');
    EXPECT_EQ(StrToDate(QStringLiteral("05.03.2024")), EncodeDate(2024, 3, 5));
    EXPECT_EQ(DateToStr(EncodeDate(2024, 3, 5)), QStringLiteral("05.03.2024"));
    // Explicit settings leave the global ones alone.
    TFormatSettings de = FormatSettings;
    de.DateSeparator = QLatin1Char('-');
    de.ShortDateFormat = QStringLiteral("yyyy/mm/dd");
    EXPECT_EQ(FormatDateTime(QStringLiteral("ddddd"), EncodeDate(2024, 3, 5), de), QStringLiteral("2024-03-05"));
    EXPECT_EQ(StrToDate(QStringLiteral("2024-3-5"), de), EncodeDate(2024, 3, 5));
    EXPECT_EQ(DateToStr(EncodeDate(2024, 3, 5)), QStringLiteral("05.03.2024"));
    // Two-digit years fall inside the century window around today.
    Word y, m, d;
    DecodeDate(StrToDate(QStringLiteral("1.1.05")), y, m, d);
    EXPECT_EQ(y % 100, 5);
    EXPECT_LT(std::abs(int(y) - QDate::currentDate().year()), 100);
}

TEST(Files, NamesAndFolders)
{
    struct { const char *path; const char *name, *dir, *fpath, *ext; } cases[] = {
        {"/a/b/c.txt", "c.txt", "/a/b", "/a/b/", ".txt"},
        {"c.tar.gz", "c.tar.gz", "", "", ".gz"},
        {"/a.b/c", "c", "/a.b", "/a.b/", ""},
        {"/x", "x", "/", "/", ""},
    };
    for (const auto &c : cases) {
        const QString p = QString::fromLatin1(c.path);
        EXPECT_EQ(ExtractFileName(p), QString::fromLatin1(c.name));
        EXPECT_EQ(ExtractFileDir(p), QString::fromLatin1(c.dir));
        EXPECT_EQ(ExtractFilePath(p), QString::fromLatin1(c.fpath));
        EXPECT_EQ(ExtractFileExt(p), QString::fromLatin1(c.ext));
    }
    EXPECT_EQ(ChangeFileExt(QStringLiteral("/a.b/c"), QStringLiteral(".xls")), QStringLiteral("/a.b/c.xls"));
    EXPECT_EQ(ChangeFileExt(QStringLiteral("d.txt"), QString()), QStringLiteral("d"));
    EXPECT_EQ(IncludeTrailingPathDelimiter(QStringLiteral("/a")), QStringLiteral("/a/"));
    EXPECT_EQ(ExcludeTrailingPathDelimiter(QStringLiteral("/a/")), QStringLiteral("/a"));

    QTemporaryDir tmp;
    const QString root = tmp.path() + QLatin1Char('/');
    const QString saved = GetCurrentDir();
    SetCurrentDir(root);
    EXPECT_EQ(ExpandFileName(QStringLiteral("x/../y.txt")), QDir::currentPath() + QStringLiteral("/y.txt"));
    SetCurrentDir(saved);
    EXPECT_THROW(SetCurrentDir(root + QStringLiteral("missing")), EInOutError);
    EXPECT_EQ(GetCurrentDir(), saved);

    EXPECT_TRUE(ForceDirectories(root + QStringLiteral("p/q/r")));
    EXPECT_TRUE(DirectoryExists(root + QStringLiteral("p/q/r")));
    EXPECT_FALSE(FileExists(root + QStringLiteral("p/q")));
    for (const char *n : {"A.TXT", "b.txt", "c.dat", ".hidden.txt"}) {
        QFile f(root + QString::fromLatin1(n));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("abc");
    }
    EXPECT_EQ(FileGetSize(root + QStringLiteral("b.txt")), 3);
    EXPECT_GT(FileAge(root + QStringLiteral("b.txt")), 0);
    EXPECT_EQ(FileAge(root + QStringLiteral("none")), -1);
    TDateTime changed = 0;
    ASSERT_TRUE(FileAge(root + QStringLiteral("b.txt"), changed));
    EXPECT_LT(std::abs(changed - Now()), 1.0); // written moments ago
    EXPECT_FALSE(FileAge(root + QStringLiteral("p"), changed));

    auto find = [&](const QString &mask, int attr) {
        std::set<QString> names;
        TSearchRec sr;
        for (int rc = FindFirst(root + mask, attr, sr); rc == 0; rc = FindNext(sr))
            names.insert(sr.Name);
        FindClose(sr);
        return names;
    };
    EXPECT_EQ(find(QStringLiteral("*.txt"), faAnyFile & ~faHidden), (std::set<QString>{"A.TXT", "b.txt"}));
    EXPECT_EQ(find(QStringLiteral("*.*"), 0), (std::set<QString>{"A.TXT", "b.txt", "c.dat"}));
    EXPECT_EQ(find(QStringLiteral("*"), faDirectory), (std::set<QString>{"A.TXT", "b.txt", "c.dat", "p"}));
    EXPECT_EQ(find(QStringLiteral("?.dat"), faAnyFile), (std::set<QString>{"c.dat"}));
    EXPECT_TRUE(find(QStringLiteral("*.none"), faAnyFile).empty());

    EXPECT_FALSE(RenameFile(root + QStringLiteral("b.txt"), root + QStringLiteral("c.dat")));
    EXPECT_TRUE(RenameFile(root + QStringLiteral("b.txt"), root + QStringLiteral("d.txt")));
    EXPECT_TRUE(DeleteFile(root + QStringLiteral("d.txt")));
    EXPECT_FALSE(DeleteFile(root + QStringLiteral("d.txt")));
    EXPECT_FALSE(DeleteFile(root + QStringLiteral("p")));
    EXPECT_FALSE(RemoveDir(root + QStringLiteral("p")));
    EXPECT_TRUE(RemoveDir(root + QStringLiteral("p/q/r")));
}
