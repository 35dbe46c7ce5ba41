#include "framework/os/Registry.h"
#include "tests/common/TestSupport.h"
#include <QDir>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

// Both roots live in a fresh temporary folder, never in the real user store.
class RegistryStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.filePath("user"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, dir_.filePath("machine"));
    }
    bool storeWritten(const QString &scope) const { return !QDir(dir_.filePath(scope)).isEmpty(); }
    QTemporaryDir dir_;
};

QString names(void (TRegistry::*get)(TStrings *), TRegistry &reg)
{
    TStringList list;
    (reg.*get)(&list);
    list.Sort();
    QStringList out;
    for (int i = 0; i < list.Count(); ++i)
        out << list.Strings(i);
    return out.join('|');
}

} // namespace

TEST_F(RegistryStore, ValuesRoundTripThroughANewObject)
{
    {
        TRegistry reg;
        EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("Software\\Tarvix\\Grid", true));
        EXPECT_EQ(reg.CurrentPath(), "Software\\Tarvix\\Grid");
        reg.WriteString("Name", "caf\u00e9 / 100%");
        reg.WriteInteger("Width", -64);
        reg.WriteBool("Stretch", true);
        reg.WriteFloat("Ratio", 0.1);
        reg.WriteString("a/b\\c%25", "odd name");
        reg.WriteString("", "default");
        reg.WriteString("NAME", "replaced");  // same value, other case
        ASSERT_TRUE(reg.OpenKey("Sub", true));  // relative to the current key
        EXPECT_EQ(reg.CurrentPath(), "Software\\Tarvix\\Grid\\Sub");
        reg.CloseKey();
        EXPECT_EQ(reg.CurrentPath(), "");
    }
    EXPECT_TRUE(storeWritten("user"));

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\software\\TARVIX\\grid"));
    EXPECT_EQ(reg.CurrentPath(), "Software\\Tarvix\\Grid");
    EXPECT_EQ(reg.ReadString("name"), "replaced");
    EXPECT_EQ(reg.ReadInteger("Width"), -64);
    EXPECT_TRUE(reg.ReadBool("Stretch"));
    EXPECT_EQ(reg.ReadFloat("Ratio"), 0.1);
    EXPECT_EQ(reg.ReadString("A/B\\C%25"), "odd name");
    EXPECT_EQ(reg.ReadString(""), "default");
    EXPECT_EQ(names(&TRegistry::GetValueNames, reg), "|a/b\\c%25|Name|Ratio|Stretch|Width");
    EXPECT_EQ(names(&TRegistry::GetKeyNames, reg), "Sub");
    EXPECT_TRUE(reg.KeyExists("sub"));  // the empty key was kept

    // Read-only keys take no changes.
    EXPECT_THROW(reg.WriteInteger("Width", 1), ERegistryException);
    EXPECT_FALSE(reg.DeleteValue("Width"));
    EXPECT_FALSE(reg.DeleteKey("Sub"));

    ASSERT_TRUE(reg.OpenKey("\\Software\\Tarvix", false));
    EXPECT_TRUE(reg.DeleteKey("Grid"));
    EXPECT_FALSE(reg.KeyExists("Grid"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Tarvix\\Grid\\Sub"));
    EXPECT_TRUE(reg.KeyExists("\\Software"));
}

TEST_F(RegistryStore, MissingKeysAndValuesAndBadData)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\App", true));
    EXPECT_FALSE(reg.OpenKey("Missing", false));
    EXPECT_FALSE(reg.OpenKeyReadOnly("\\Software\\Nope"));
    EXPECT_EQ(reg.CurrentPath(), "Software\\App");  // a failed open keeps the current key
    EXPECT_FALSE(reg.KeyExists("Missing"));
    EXPECT_FALSE(reg.DeleteKey("Missing"));
    EXPECT_FALSE(reg.DeleteValue("Missing"));
    EXPECT_FALSE(reg.ValueExists("Missing"));

    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryException);
    EXPECT_THROW(reg.ReadFloat("Missing"), ERegistryException);
    reg.WriteString("Text", "12abc");
    reg.WriteString("Big", "4294967296");
    reg.WriteString("Inf", "inf");
    EXPECT_THROW(reg.ReadInteger("Text"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("Big"), ERegistryException);
    EXPECT_THROW(reg.ReadBool("Text"), ERegistryException);
    EXPECT_THROW(reg.ReadFloat("Inf"), ERegistryException);
    EXPECT_THROW(reg.WriteFloat("NaN", std::nan("")), ERegistryException);

    // A key deleted while open takes no more values.
    TRegistry other;
    ASSERT_TRUE(other.DeleteKey("Software\\App"));
    EXPECT_THROW(reg.WriteString("Late", "x"), ERegistryException);

    EXPECT_THROW(reg.SetRootKey(HKEY_CLASSES_ROOT), ERegistryException);
}

TEST_F(RegistryStore, UserAndMachineRootsAreSeparate)
{
    TRegistry machine;
    machine.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(machine.OpenKey("Software\\Shared", true));
    machine.WriteInteger("Level", 3);
    machine.CloseKey();
    EXPECT_TRUE(storeWritten("machine"));

    TRegistry user;
    EXPECT_FALSE(user.KeyExists("Software\\Shared"));
    user.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(user.OpenKeyReadOnly("Software\\Shared"));
    EXPECT_EQ(user.ReadInteger("Level"), 3);
}

TEST_F(RegistryStore, IniFileOverAKey)
{
    {
        TRegistryIniFile ini("Software\\Tarvix\\Columns");
        ini.WriteInteger("Grid1", "Col0", 80);
        ini.WriteInteger("Grid1", "Pos0", 2);
        ini.WriteString("Grid2", "Title", "x=y");
        ini.UpdateFile();
        EXPECT_EQ(ini.RegIniFile()->CurrentPath(), "Software\\Tarvix\\Columns");
    }
    TRegistryIniFile ini("software\\tarvix\\columns");
    EXPECT_EQ(ini.ReadInteger("grid1", "col0", 64), 80);
    EXPECT_EQ(ini.ReadInteger("Grid1", "Col1", 64), 64);
    EXPECT_EQ(ini.ReadInteger("Nope", "Col0", -1), -1);
    EXPECT_EQ(ini.ReadString("Grid2", "Title", ""), "x=y");
    EXPECT_TRUE(ini.SectionExists("GRID2"));
    EXPECT_TRUE(ini.ValueExists("Grid1", "POS0"));

    TStringList list;
    list.Add("stale");
    ini.ReadSections(&list);
    list.Sort();
    EXPECT_EQ(list.CommaText(), "Grid1,Grid2");
    ini.ReadSectionValues("Grid1", &list);
    list.Sort();
    EXPECT_EQ(list.CommaText(), "Col0=80,Pos0=2");
    ini.ReadSection("Missing", &list);
    EXPECT_EQ(list.Count(), 0);

    ini.DeleteKey("Grid1", "Pos0");
    EXPECT_FALSE(ini.ValueExists("Grid1", "Pos0"));
    ini.EraseSection("Grid2");
    ini.EraseSection("");  // never the file's own key
    EXPECT_FALSE(ini.SectionExists("Grid2"));
    EXPECT_EQ(ini.ReadInteger("Grid1", "Col0", 0), 80);
    // The file's key stays current whatever the sections did.
    EXPECT_EQ(ini.RegIniFile()->CurrentPath(), "Software\\Tarvix\\Columns");
}
