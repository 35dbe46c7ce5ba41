// Row and column autofit through the file object.
#include "FileFixture.h"
#include "xlsAdapter/file/duzUXlsAutofit.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"

using namespace xfile;

namespace {

void Put(TXLSFile &F, int Sheet, int Row, int Col, const Variant &V)
{
    F.GetTWorkbook()->WorkSheets(Sheet - 1)->Cells()->CellList()->SetValueX2(Row - 1, Col - 1, {V, -1, false},
                                                                               nullptr, false);
}

// Rows 2 and 4 hold values (automatic height), row 3 a value and a height set by hand; row 6 has
// no ROW record.
void Fill(TXLSFile &F, int Sheet = 1)
{
    Put(F, Sheet, 2, 1, Variant(3.5));
    Put(F, Sheet, 2, 3, Variant("text"));
    Put(F, Sheet, 3, 2, Variant(7.0));
    Put(F, Sheet, 4, 1, Variant(true));
    F.SetActiveSheet(Sheet);
    F.SetRowHeight(3, 600);
}

bool HasRowRecord(TXLSFile &F, int Row)
{
    return F.GetTWorkbook()->WorkSheets(F.ActiveSheet() - 1)->Cells()->RowList()->HasRow(Row - 1);
}

} // namespace

TEST(MapAutofit, RowHeightsFollowTheAdjustment)
{
    // 255 twentieths of a point per row, scaled and rounded half to even, at most 32767.
    const std::vector<std::pair<double, int>> cases = {
        {1.5, 382}, {1, 255}, {-1, 255}, {-0.5, 255}, {2, 510}, {0.5, 128}, {2.5, 638}, {0, 0}, {200, 32767}};
    for (const auto &[adjustment, height] : cases) {
        SCOPED_TRACE(adjustment);
        Connected c;
        c.F.NewFile(1);
        Fill(c.F);
        c.F.AutofitRow(1, 3, false, false, adjustment);
        EXPECT_EQ(c.F.GetRowHeight(2), height);
        EXPECT_FALSE(c.F.GetAutoRowHeight(2)); // fitted, then kept by hand
        EXPECT_EQ(c.F.GetRowHeight(3), 600);   // a height set by hand is not fitted
        EXPECT_EQ(c.F.GetRowHeight(4), 255);   // outside the rows
        EXPECT_TRUE(c.F.GetAutoRowHeight(4));
        EXPECT_FALSE(HasRowRecord(c.F, 1));    // no ROW record is made
    }
}

TEST(MapAutofit, ForcedRowsAndKeptAutomaticHeights)
{
    Connected c;
    c.F.NewFile(1);
    Fill(c.F);
    c.F.AutofitRow(1, 100, true, true, 1.5);
    for (int row : {2, 3, 4}) {
        EXPECT_EQ(c.F.GetRowHeight(row), 382) << row;
        EXPECT_EQ(c.F.GetAutoRowHeight(row), row != 3) << row;
    }
    EXPECT_FALSE(HasRowRecord(c.F, 6));
    EXPECT_EQ(c.F.GetRowHeight(6), 255);

    // A fitted automatic row that keeps its automatic height is fitted again.
    c.F.AutofitRow(2, 2, false, true, 2);
    EXPECT_EQ(c.F.GetRowHeight(2), 510);
}

TEST(MapAutofit, EveryWorksheetOfTheWorkbook)
{
    Connected c;
    c.F.NewFile(2);
    Fill(c.F, 1);
    Fill(c.F, 2);
    c.F.AutofitRowsOnWorkbook(false, false, 1.5);
    for (int sheet : {1, 2}) {
        c.F.SetActiveSheet(sheet);
        EXPECT_EQ(c.F.GetRowHeight(2), 382) << sheet;
        EXPECT_EQ(c.F.GetRowHeight(4), 382) << sheet;
        EXPECT_EQ(c.F.GetRowHeight(3), 600) << sheet;
    }
}

TEST(MapAutofit, ColumnFitChangesNoWidth)
{
    Connected c;
    c.F.NewFile(1);
    Fill(c.F);
    c.F.SetColumnWidth(1, 5000);
    c.F.GetFormatList(0); // reading a format sorts the number formats by id once
    const QByteArray before = StreamOf(SavedToMemory(c.F), "Workbook");
    for (double adjustment : {1.0, 1.5, 200.0}) {
        c.F.AutofitCol(1, 256, false, adjustment);
        c.F.AutofitCol(1, 3, true, adjustment);
    }
    EXPECT_EQ(StreamOf(SavedToMemory(c.F), "Workbook"), before);
    EXPECT_EQ(c.F.GetColumnWidth(1), 5000);
}

TEST(MapAutofit, AdjustedSizes)
{
    EXPECT_EQ(AdjustedAutofitSize(255, 1.5), 382);
    EXPECT_EQ(AdjustedAutofitSize(255, 3.5), 892); // 892.5, half to even
    EXPECT_EQ(AdjustedAutofitSize(40000, 1), 32767);
    EXPECT_EQ(AdjustedAutofitSize(40000, -3), 32767);
}
