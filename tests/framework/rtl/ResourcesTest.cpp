#include "framework/rtl/Resources.h"
#include <gtest/gtest.h>

TEST(Resources, RegisteredByNameOrNumberAndType)
{
    RegisterResource(RT_RCDATA, QStringLiteral("Logo"), QByteArray("abc"));
    RegisterResource(RT_RCDATA, QStringLiteral("#7"), QByteArray("seven"));
    QByteArray d;
    EXPECT_TRUE(FindResourceData(HInstance, QStringLiteral("LOGO"), RT_RCDATA, d));
    EXPECT_EQ(d, QByteArray("abc"));
    EXPECT_TRUE(FindResourceData(HInstance, 7, RT_RCDATA, d));
    EXPECT_EQ(d, QByteArray("seven"));
    // Another type, another module or another name: nothing.
    EXPECT_FALSE(FindResourceData(HInstance, QStringLiteral("Logo"), RT_BITMAP, d));
    EXPECT_FALSE(FindResourceData(HInstance + 1, QStringLiteral("Logo"), RT_RCDATA, d));
    EXPECT_FALSE(FindResourceData(HInstance, QStringLiteral("Other"), RT_RCDATA, d));
    UnregisterResource(RT_RCDATA, QStringLiteral("logo"));
    EXPECT_FALSE(FindResourceData(HInstance, QStringLiteral("Logo"), RT_RCDATA, d));
    UnregisterResource(RT_RCDATA, QStringLiteral("#7"));
}
