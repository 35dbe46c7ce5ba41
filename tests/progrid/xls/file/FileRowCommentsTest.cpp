// The by-row index of a sheet's objects.
#include "xlsAdapter/file/duzUWbRowComments.h"

#include "framework/rtl/Exceptions.h"

#include <gtest/gtest.h>

namespace {
std::vector<int32_t> Row(const TRowComments &c, int r) { return c[r].List(); }
} // namespace

TEST(FileRowComments, AddKeepsRowsSortedAndPositionsInOrder)
{
    TRowComments c;
    c.Add(5, 0);
    c.Add(2, 1);
    c.Add(5, 2);
    EXPECT_EQ(c.Count(), 2);
    EXPECT_EQ(Row(c, 2), std::vector<int32_t>{1});
    EXPECT_EQ(Row(c, 5), (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(&c[3], &c.EmptySlot());
    EXPECT_EQ(c[3].Count(), 0);
    EXPECT_EQ(c[5].Row, 5);
    EXPECT_THROW(c[5][2], EListError);
}

TEST(FileRowComments, DeleteMovesLaterPositionsDown)
{
    TRowComments c;
    c.Add(5, 0);
    c.Add(2, 1);
    c.Add(5, 2);
    c.Delete(5, 0);
    EXPECT_EQ(Row(c, 5), std::vector<int32_t>{1});
    EXPECT_EQ(Row(c, 2), std::vector<int32_t>{0});
    // A row without entry is left alone, and so is everything else.
    c.Delete(3, 0);
    EXPECT_EQ(Row(c, 5), std::vector<int32_t>{1});
    EXPECT_EQ(Row(c, 2), std::vector<int32_t>{0});
    EXPECT_EQ(c.Count(), 2);
    // Positions below the removed one stay; a bad position raises the list error.
    c.Add(7, 4);
    c.Delete(5, 0);
    EXPECT_EQ(Row(c, 2), std::vector<int32_t>{0});
    EXPECT_EQ(Row(c, 7), std::vector<int32_t>{3});
    EXPECT_THROW(c.Delete(7, 1), EListError);
}
