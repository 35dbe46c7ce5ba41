#include "framework/os/IniFiles.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <QFile>

namespace {
QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &data)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(data);
    return f.fileName();
}
} // namespace

TEST(IniFile, ReadsTypedValuesCaseInsensitively)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, "a.ini",
        "; settings\r\n[Grid]\r\nWidth = 64\r\nHex=0x1F\r\nDollar=$10\r\nOn=1\r\nRatio=2.5\r\nName=caf\xE9\r\n\r\n"
        "[Other]\r\nx=\r\n[grid]\r\nExtra=yes\r\n");
    TMemIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("GRID", "width", 0), 64);
    EXPECT_EQ(ini.ReadInteger("Grid", "Hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("Grid", "Dollar", 0), 16);
    EXPECT_EQ(ini.ReadInteger("Grid", "Name", -7), -7);
    EXPECT_EQ(ini.ReadInteger("Grid", "Missing", 5), 5);
    EXPECT_TRUE(ini.ReadBool("Grid", "On", false));
    EXPECT_TRUE(ini.ReadBool("Grid", "Missing", true));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Grid", "Ratio", 0), 2.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Grid", "Name", 1.5), 1.5);
    EXPECT_EQ(ini.ReadString("Grid", "Name", ""), QString::fromUtf8("café"));
    EXPECT_EQ(ini.ReadString("Other", "x", "def"), "");
    TStringList list;
    list.Add("stale");
    ini.ReadSections(&list);
    EXPECT_EQ(list.Text(), "Grid\r\nOther\r\n");
    ini.ReadSection("grid", &list);
    EXPECT_EQ(list.CommaText(), "Width,Hex,Dollar,On,Ratio,Name,Extra");
    ini.ReadSectionValues("Other", &list);
    EXPECT_EQ(list.Text(), "x=\r\n");
    ini.ReadSection("missing", &list);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(ini.SectionExists("OTHER"));
    EXPECT_TRUE(ini.ValueExists("Grid", "extra"));
    EXPECT_FALSE(ini.ValueExists("Grid", "nope"));
}

TEST(IniFile, WritesBackAndErases)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("b.ini");
    {
        TIniFile ini(path);
        ini.WriteInteger("S", "Count", 3);
        ini.WriteBool("S", "Flag", true);
        ini.WriteFloat("S", "F", 0.25);
        ini.WriteString("T", "Text", QString::fromUtf8("naïve"));
        ini.WriteString("T", "Gone", "x");
        ini.DeleteKey("T", "gone");
        ini.WriteString("U", "k", "v");
        ini.EraseSection("u");
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[S]\r\nCount=3\r\nFlag=1\r\nF=0.25\r\n\r\n[T]\r\nText=na\xEFve\r\n\r\n"));

    TMemIniFile mem(path);
    mem.WriteInteger("S", "COUNT", 4);
    EXPECT_EQ(TMemIniFile(path).ReadInteger("S", "Count", 0), 3); // not yet written
    mem.UpdateFile();
    EXPECT_EQ(TMemIniFile(path).ReadInteger("S", "Count", 0), 4);
    EXPECT_THROW(mem.WriteString("S", "a=b", "v"), EIniFileException);
    EXPECT_THROW(mem.WriteString("S", "k", "two\nlines"), EIniFileException);
}

TEST(IniFile, MalformedFilesRaiseWithLineNumber)
{
    QTemporaryDir dir;
    const struct { const char *text; const char *needle; } cases[] = {
        {"[A]\r\nok=1\r\njust words\r\n", "line 3"},
        {"[A\r\nx=1\r\n", "line 1"},
        {"x=1\r\n[A]\r\n", "outside any section"},
        {"[A]\r\n=1\r\n", "without a name"},
        {"[]\r\n", "empty section name"},
    };
    for (const auto &c : cases) {
        const QString path = writeFile(dir, "bad.ini", c.text);
        try {
            TMemIniFile ini(path);
            ADD_FAILURE() << "accepted " << c.text;
        } catch (const EIniFileException &e) {
            EXPECT_TRUE(e.Message().contains(c.needle)) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains("bad.ini")) << e.Message().toStdString();
        }
    }
}
