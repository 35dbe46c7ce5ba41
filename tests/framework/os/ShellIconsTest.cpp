#include "framework/os/ShellIcons.h"
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(ShellIcons, SmallAndLargeListsShareIndexes)
{
    TSHFileInfo info;
    TCustomImageList *small = SHGetFileInfo(QString(), 0, info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    TCustomImageList *large = SHGetFileInfo(QString(), 0, info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(small->Width(), 16);
    EXPECT_EQ(large->Width(), 32);
    EXPECT_EQ(SHGetFileInfo(QStringLiteral("a.txt"), 0, info, SHGFI_SMALLICON), nullptr);

    QTemporaryDir dir;
    TSHFileInfo folder, text, text2, named;
    SHGetFileInfo(dir.path(), 0, folder, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    SHGetFileInfo(QStringLiteral("/no/such/a.txt"), FILE_ATTRIBUTE_NORMAL, text,
                  SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    SHGetFileInfo(QStringLiteral("/no/such/b.txt"), FILE_ATTRIBUTE_NORMAL, text2,
                  SHGFI_SYSICONINDEX | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES);
    SHGetFileInfo(QStringLiteral("/no/such/dir"), FILE_ATTRIBUTE_DIRECTORY, named,
                  SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES);
    // One icon per kind: folders share theirs, files of one type share theirs.
    EXPECT_EQ(named.iIcon, folder.iIcon);
    EXPECT_EQ(text.iIcon, text2.iIcon);
    EXPECT_NE(text.iIcon, folder.iIcon);
    EXPECT_EQ(small->Count(), large->Count());
    EXPECT_LT(text.iIcon, small->Count());
    EXPECT_FALSE(small->GetImage(folder.iIcon).isNull());
}
