#include "xlsAdapter/file/duzUExcelFile.h"

#include <gtest/gtest.h>

// The base supplies nothing: reads, writes and the factory all raise.
TEST(MapExcelFile, BaseOperationsRaiseAbstractError)
{
    TExcelFile f;
    EXPECT_THROW(f.GetCellFormat(1, 1), EAbstractError);
    EXPECT_THROW(f.SetColumnHidden(1, true), EAbstractError);
    EXPECT_THROW(f.RangeCount(), EAbstractError);
    EXPECT_THROW(f.Save(false, "x.xls", nullptr, nullptr), EAbstractError);
    TExcelAdapter a;
    EXPECT_THROW(a.GetWorkbook(), EAbstractError);
    a.SetBasePathToOpen("/tmp");
    EXPECT_EQ(a.BasePathToOpen(), "/tmp");
}
