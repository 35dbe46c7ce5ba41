#include "framework/rtl/System.h"
#include "framework/rtl/CodePage.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <cmath>

TEST(Random, SequenceMatchesTheLinearCongruentialGenerator)
{
    RandSeed = 0;
    const int expected[] = {0, 0, 8, 2, 2, 6, 3, 1};
    for (int e : expected)
        EXPECT_EQ(Random(10), e);
    RandSeed = 1;
    EXPECT_DOUBLE_EQ(Random(), 134775814.0 / 4294967296.0);
}

// A clock seed is reported to the user and may be typed back, where 0 or less means "seed from
// the clock": whatever the clock reads, the seed lies in 1 .. 2^31 - 1 and follows the reading.
TEST(Random, ClockSeedsArePositive32BitValues)
{
    const struct
    {
        uint64_t ticks;
        uint32_t seed;
    } cases[] = {
        {0x12345678u, 0x12345678u},     {0x92345678u, 0x12345678u},          {0xFFFFFFFFu, 0x7FFFFFFFu},
        {0x80000000u, 1u},              {0x5'00000000u, 1u},                 {0x7'7FFFFFFEu, 0x7FFFFFFEu},
    };
    for (const auto &c : cases) {
        SetRandomizeClock([&c] { return c.ticks; });
        Randomize();
        EXPECT_EQ(RandSeed, c.seed) << std::hex << c.ticks;
        EXPECT_GT(static_cast<int32_t>(RandSeed), 0) << std::hex << c.ticks;
    }
    SetRandomizeClock({});
    Randomize();
    EXPECT_GT(static_cast<int32_t>(RandSeed), 0);
}

TEST(Round, HalvesGoToEven)
{
    struct { double x; int64_t r; } cases[] = {
        {382.5, 382}, {383.5, 384}, {-2.5, -2}, {-3.5, -4}, {0.49999999999999994, 0}, {2.6, 3}, {-2.6, -3}};
    for (auto c : cases)
        EXPECT_EQ(Round(c.x), c.r) << c.x;
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(2.7), 2);
}

TEST(CodePage, Windows1252RoundTrip)
{
    const QByteArray all = [] { QByteArray b; for (int i = 0; i < 256; ++i) b.append(char(i)); return b; }();
    EXPECT_EQ(StringToAnsi(AnsiToString(all)), all);
    EXPECT_EQ(AnsiToString(QByteArray("\x80")), QString(QChar(0x20AC)));
    EXPECT_EQ(StringToAnsi(QString(QChar(0x20AC))), QByteArray("\x80"));
    EXPECT_EQ(StringToAnsi(QStringLiteral("a\u4e2db")), QByteArray("a?b"));
    EXPECT_EQ(AnsiToString(QByteArray("\xe9")), QStringLiteral("\u00e9"));
}
