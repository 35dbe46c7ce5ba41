// Record lists keep their running size, find cells by column and index ROW records by row.
#include "RecordFixture.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/workbook/duzUXlsSheet.h"

#include <vector>

using namespace rec;

namespace {

TSheetInfo SameSheet()
{
    TSheetInfo s;
    s.InsSheet = s.FormulaSheet = 0;
    return s;
}

TCellRecord *Cell(int row, int col, int extra = 0)
{
    QByteArray d = Le16(row) + Le16(col) + Le16(15) + QByteArray(extra, 0);
    return new TCellRecord(0x0203, Buffer(d), int32_t(d.size()));
}

// Rows 0 .. n-1, each with its row number as height so that copies can be told apart.
void FillRows(TRowRecordList &list, int n)
{
    for (int r = 0; r < n; ++r) {
        TRowRecord *row = TRowRecord::CreateStandard(uint16_t(r));
        row->SetHeight(100 + r);
        list.AddRecord(row);
    }
}

// Row field and height of each item (-1 for nil).
std::vector<std::pair<int, int>> Rows(const TRowRecordList &list)
{
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < list.Count(); ++i)
        out.emplace_back(list.HasRow(i) ? list.Items(i)->Row() : -1, list.HasRow(i) ? list.Items(i)->Height() : -1);
    return out;
}

} // namespace

TEST(RecordList, RunningSizeFollowsInsertionDeletionAndReplacement)
{
    TSheetRecordList list;
    list.Add(Make(0x1234, QByteArray(10, 1)).release());
    list.Add(nullptr);
    EXPECT_EQ(list.GetTotalSize(), 14);
    EXPECT_EQ(Written([&](TOle2File &f) { list.SaveToStream(&f); }), Record(0x1234, QByteArray(10, 1)));
    list.Insert(1, Make(0x1, B({1, 2})).release());
    EXPECT_EQ(list.GetTotalSize(), 20);
    list.SetItems(1, Make(0x1, B({1})).release());
    EXPECT_EQ(list.GetTotalSize(), 19);
    list.Delete(0);
    EXPECT_EQ(list.GetTotalSize(), 5);
    list.AdaptSize(3);
    EXPECT_EQ(list.GetTotalSize(), 8);
    list.AdaptSize(-3);
    // Extracting a nil slot hands back nil and leaves the size alone.
    list.Add(nullptr);
    EXPECT_EQ(list.Extract(nullptr), nullptr);
    EXPECT_EQ(list.GetTotalSize(), 5);
    list.Clear();
    EXPECT_EQ(list.GetTotalSize(), 0);

    TBaseRecordList two;
    two.Add(Make(0x1234, QByteArray(10, 1)).release());
    two.Add(nullptr);
    EXPECT_EQ(two.GetTotalSize(), 14);
    two.Delete(0);
    EXPECT_EQ(two.GetTotalSize(), 0);
    EXPECT_EQ(Written([&](TOle2File &f) { two.SaveToStream(&f); }), QByteArray());
}

TEST(RecordList, CopyFromAppendsCopiesAndKeepsNilItems)
{
    TBaseRecordList a, b;
    a.Add(Make<TRowRecord>(0x0208, QByteArray(16, 0)).release());
    a.Add(nullptr);
    b.CopyFrom(&a);
    b.CopyFrom(nullptr);
    ASSERT_EQ(b.Count(), 2);
    EXPECT_NE(b.Items(0), a.Items(0));
    EXPECT_NE(dynamic_cast<TRowRecord *>(b.Items(0)), nullptr);
    EXPECT_EQ(b.Items(1), nullptr);
    EXPECT_EQ(b.GetTotalSize(), 20);
}

TEST(RowColList, FindSortsFirstAndReturnsTheFirstMatchOrTheInsertionPoint)
{
    TCellRecordList cells;
    cells.Add(Cell(0, 9));
    cells.Add(Cell(0, 2));
    cells.Add(Cell(0, 5));
    int32_t index = -1;
    EXPECT_FALSE(cells.Find(7, index));
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(cells.Sorted);
    EXPECT_TRUE(cells.Find(5, index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(cells.Find(0, index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(cells.Find(10, index));
    EXPECT_EQ(index, 3);
    cells.Add(Cell(0, 1));
    EXPECT_FALSE(cells.Sorted);
    EXPECT_TRUE(cells.Find(1, index));
    EXPECT_EQ(index, 0);
    cells.Insert(2, Cell(0, 2));
    EXPECT_TRUE(cells.Sorted);
    EXPECT_TRUE(cells.Find(2, index));
    EXPECT_EQ(index, 1) << "the first of two records of the column";
}

TEST(RowColList, RangeSaveAndSizeTakeOnlyRecordsInside)
{
    TBaseRowColRecordList list;
    list.Add(Cell(1, 1));
    list.Add(Cell(1, 4, 2));
    list.Add(Cell(5, 2));
    list.Add(nullptr);
    const TXlsCellRange range{0, 0, 3, 4};
    EXPECT_EQ(list.TotalRangeSize(range, false), 10);
    EXPECT_EQ(list.TotalRangeSize({0, 0, 255, 65535}, false), 32);
    EXPECT_EQ(Written([&](TOle2File &f) { list.SaveRangeToStream(&f, range); }),
              Record(0x0203, Le16(1) + Le16(1) + Le16(15)));
    list.ArrangeCopyRowsAndCols(2, 1);
    EXPECT_EQ(list.Items(2)->Row(), 7);
    EXPECT_EQ(list.Items(2)->Column(), 3);
    list.ArrangeInsertRowsAndCols(4, 10, 0, 0, SameSheet());
    EXPECT_EQ(list.Items(0)->Row(), 3);
    EXPECT_EQ(list.Items(2)->Row(), 17);
}

TEST(CellList, CellsThatDoNotJoinAreWrittenOneByOne)
{
    TCellRecordList row;
    row.Add(Cell(3, 1));
    row.Add(Cell(3, 2, 8));
    row.Add(Cell(3, 7));
    EXPECT_EQ(row.GetTotalSize(), 10 + 18 + 10);
    EXPECT_EQ(row.TotalRangeSize({2, 0, 7, 65535}, false), 28);
    EXPECT_EQ(row.TotalRangeSize({0, 4, 255, 65535}, false), 0) << "the row lies outside";
    EXPECT_EQ(Written([&](TOle2File &f) { row.SaveRangeToStream(&f, {0, 0, 2, 10}); }),
              Record(0x0203, Le16(3) + Le16(1) + Le16(15)) + Record(0x0203, Le16(3) + Le16(2) + Le16(15) + QByteArray(8, 0)));
    EXPECT_EQ(Written([&](TOle2File &f) { row.SaveToStream(&f); }).size(), 38);
    EXPECT_EQ(TCellRecordList().GetTotalSize(), 0);
}

TEST(RowList, RecordsAreIndexedByTheirRow)
{
    TRowRecordList rows;
    EXPECT_EQ(rows.AddRecord(TRowRecord::CreateStandard(5)), 5);
    EXPECT_EQ(rows.AddRecord(TRowRecord::CreateStandard(2)), 2);
    ASSERT_EQ(rows.Count(), 6);
    for (int i : {0, 1, 3, 4})
        EXPECT_FALSE(rows.HasRow(i)) << i;
    EXPECT_TRUE(rows.HasRow(2));
    EXPECT_FALSE(rows.HasRow(6));
    EXPECT_FALSE(rows.HasRow(-1));
    EXPECT_EQ(rows.GetTotalSize(), 40);
    EXPECT_EQ(MessageOf([&] { rows.AddRecord(TRowRecord::CreateStandard(5)); }), QStringLiteral("Duplicated ROW record"));
    EXPECT_EQ(rows.GetTotalSize(), 40);
    EXPECT_EQ(MessageOf([&] { rows.Items(3); }), QStringLiteral("Missing ROW Record for row 3"));
    EXPECT_EQ(MessageOf([&] { rows.Items(40); }), QStringLiteral("Missing ROW Record for row 40"));
    EXPECT_EQ(MessageOf([&] { rows.TotalRangeSize({0, 2, 0, 3}, false); }), QStringLiteral("Missing ROW Record for row 3"));
    EXPECT_EQ(rows.TotalRangeSize({0, 2, 0, 2}, false), 20);
}

TEST(RowList, HeightsAndAutomaticHeight)
{
    TRowRecordList rows;
    EXPECT_EQ(rows.RowHeight(4), 0);
    EXPECT_TRUE(rows.IsAutoRowHeight(4));
    rows.AutoRowHeight(4, false);
    EXPECT_FALSE(rows.HasRow(4)) << "no record is made for the automatic flag";
    rows.SetRowHeight(4, 500);
    EXPECT_EQ(rows.RowHeight(4), 500);
    EXPECT_FALSE(rows.IsAutoRowHeight(4));
    rows.AutoRowHeight(4, true);
    EXPECT_TRUE(rows.IsAutoRowHeight(4));
    rows.AddRow(4);
    EXPECT_EQ(rows.RowHeight(4), 500) << "AddRow keeps an existing record";
}

TEST(RowList, DeleteRowsRenumbersTheRowsBelow)
{
    TRowRecordList rows;
    FillRows(rows, 10);
    rows.DeleteRows(2, 3, SameSheet());
    const std::vector<std::pair<int, int>> expected = {{0, 100}, {1, 101}, {2, 105}, {3, 106},
                                                       {4, 107}, {5, 108}, {6, 109}};
    EXPECT_EQ(Rows(rows), expected);
    EXPECT_EQ(rows.GetTotalSize(), 7 * 20);
    rows.DeleteRows(5, 10, SameSheet());
    EXPECT_EQ(rows.Count(), 5);
}

TEST(RowList, InsertAndCopyRowsTakesTheSourcesFromTheirMovedPlaces)
{
    TRowRecordList rows;
    FillRows(rows, 10);
    rows.InsertAndCopyRows(4, 5, 2, 1, SameSheet());
    std::vector<std::pair<int, int>> expected = {{0, 100}, {1, 101}, {2, 104}, {3, 105}};
    for (int r = 2; r < 10; ++r)
        expected.emplace_back(r + 2, 100 + r);
    EXPECT_EQ(Rows(rows), expected);

    // Copies below the source, twice, over a gap and past the end of the list.
    TRowRecordList more;
    more.AddRecord(TRowRecord::CreateStandard(0));
    TRowRecord *one = TRowRecord::CreateStandard(1);
    one->SetHeight(7);
    more.AddRecord(one);
    more.InsertAndCopyRows(0, 1, 4, 2, SameSheet());
    const std::vector<std::pair<int, int>> twice = {{0, 255}, {1, 7}, {-1, -1}, {-1, -1},
                                                    {4, 255}, {5, 7}, {6, 255}, {7, 7}};
    EXPECT_EQ(Rows(more), twice);
}

TEST(RowRecord, FieldsOptionsAndFormat)
{
    std::unique_ptr<TRowRecord> row(TRowRecord::CreateStandard(7));
    EXPECT_FALSE(row->IsModified());
    EXPECT_EQ(row->XF(), 15);
    EXPECT_EQ(row->Height(), 255);
    EXPECT_EQ(DataOf(*row), Le16(7) + Le16(0) + Le16(0) + Le16(255) + Le16(0) + Le16(0) + Le16(0x100) + Le16(15));
    row->Hide(true);
    EXPECT_TRUE(row->IsHidden());
    EXPECT_TRUE(row->IsModified());
    row->Hide(false);
    row->SetRowOutlineLevel(9);
    EXPECT_EQ(row->Options(), 0x101);
    row->SetXF(20);
    EXPECT_TRUE(row->IsFormatted());
    EXPECT_EQ(row->XF(), 20);
    EXPECT_EQ(row->Options(), 0x181);

    // Read from a file: word 8 is cleared, the format's high flag bits are masked off.
    auto read = Make<TRowRecord>(0x0208, Le16(3) + Le16(1) + Le16(9) + Le16(300) + Le16(0xABCD) + Le16(0)
                                             + Le16(0x1C0) + Le16(0x3016));
    EXPECT_EQ(GetWord(read->Data, 8), 0);
    EXPECT_EQ(read->XF(), 0x16);
    EXPECT_FALSE(read->IsAutoHeight());
    const QByteArray narrowed = Written([&](TOle2File &f) { read->SaveRangeToStream(&f, 2, 4); });
    EXPECT_EQ(narrowed.mid(4 + 2, 4), Le16(2) + Le16(5));
    EXPECT_EQ(read->MinCol(), 1);
    EXPECT_EQ(read->MaxCol(), 9);
}
