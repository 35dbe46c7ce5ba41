// Column information: expanded per column on load, written back as runs of equal neighbours.
#include "RecordFixture.h"
#include "xlsAdapter/records/duzUXlsColInfo.h"

#include <vector>

using namespace rec;

namespace {

QByteArray ColInfoData(int first, int last, int width, int xf, int options)
{
    return Le16(first) + Le16(last) + Le16(width) + Le16(xf) + Le16(options) + Le16(0);
}

QByteArray ColInfo(int first, int last, int width, int xf, int options)
{
    return Record(0x007D, ColInfoData(first, last, width, xf, options));
}

// The list's records as read from a file.
void Load(TColInfoList &list, const QByteArray &data)
{
    Stream s(Record(0x007D, data) + Record(0x000A, {}));
    list.AddRecord(static_cast<TColInfoRecord *>(LoadRecord(s.file.get(), s.Header)));
}

std::vector<int> Columns(const TColInfoList &list)
{
    std::vector<int> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Items(i)->Column);
    return out;
}

QByteArray Saved(TColInfoList &list) { return Written([&](TOle2File &f) { list.SaveToStream(&f); }); }

TSheetInfo Sheet(int ins, int formula)
{
    TSheetInfo s;
    s.InsSheet = ins;
    s.FormulaSheet = formula;
    return s;
}

} // namespace

TEST(ColInfo, LoadsOneItemPerColumnAndWritesOneRun)
{
    TColInfoList list;
    Load(list, ColInfoData(2, 5, 3000, 20, 0x0101));
    EXPECT_EQ(Columns(list), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(list.Items(3)->Width, 3000);
    EXPECT_EQ(list.Items(3)->XF, 20);
    EXPECT_EQ(list.Items(3)->Options, 0x0101);
    EXPECT_EQ(Saved(list), ColInfo(2, 5, 3000, 20, 0x0101));
    EXPECT_EQ(list.TotalSize(), 16);
}

TEST(ColInfo, RunsBreakAtGapsAndDifferences)
{
    TColInfoList list;
    // Added out of order: writing sorts first.
    list.Add(new TColInfo(4, 500, 15, 0));
    list.Add(new TColInfo(1, 500, 15, 0));
    list.Add(new TColInfo(2, 500, 15, 0));
    EXPECT_EQ(Saved(list), ColInfo(1, 2, 500, 15, 0) + ColInfo(4, 4, 500, 15, 0));

    // Width, format or options differing from the run's first item start a new run.
    TColInfoList other;
    other.Add(new TColInfo(0, 500, 15, 0));
    other.Add(new TColInfo(1, 501, 15, 0));
    other.Add(new TColInfo(2, 501, 16, 0));
    other.Add(new TColInfo(3, 501, 16, 1));
    other.Add(new TColInfo(4, 501, 16, 1));
    EXPECT_EQ(Saved(other), ColInfo(0, 0, 500, 15, 0) + ColInfo(1, 1, 501, 15, 0) + ColInfo(2, 2, 501, 16, 0)
                                + ColInfo(3, 4, 501, 16, 1));
    EXPECT_EQ(other.TotalSize(), 4 * 16);
}

TEST(ColInfo, TheSheetEdge)
{
    // A run reaching 256 keeps 256 as its last column; an item starting at 256 or later is not written.
    TColInfoList list;
    for (int c = 250; c <= 256; ++c)
        list.Add(new TColInfo(uint16_t(c), 900, 15, 0));
    EXPECT_EQ(Saved(list), ColInfo(250, 256, 900, 15, 0));

    TColInfoList beyond;
    beyond.Add(new TColInfo(255, 900, 15, 0));
    beyond.Add(new TColInfo(256, 800, 15, 0));
    beyond.Add(new TColInfo(300, 800, 15, 0));
    EXPECT_EQ(Saved(beyond), ColInfo(255, 255, 900, 15, 0));
    EXPECT_EQ(beyond.TotalSize(), 16);
}

TEST(ColInfo, ARecordForEveryColumnOfTheFileStopsAtTheEdge)
{
    TColInfoList list;
    Load(list, ColInfoData(0, 65535, 700, 15, 0));
    EXPECT_EQ(list.Count(), 257);
    EXPECT_EQ(list.Items(256)->Column, 256);
    EXPECT_EQ(Saved(list), ColInfo(0, 256, 700, 15, 0));

    // Reversed or wholly beyond the edge: nothing.
    TColInfoList none;
    Load(none, ColInfoData(9, 3, 700, 15, 0));
    Load(none, ColInfoData(257, 65535, 700, 15, 0));
    EXPECT_EQ(none.Count(), 0);
    EXPECT_EQ(Saved(none), QByteArray());
}

TEST(ColInfo, ShortRecordsAreRefused)
{
    for (int n = 0; n < 10; ++n) {
        Stream s(Record(0x007D, ColInfoData(1, 2, 3, 4, 5).left(n)) + Record(0x000A, {}));
        EXPECT_EQ(MessageOf([&] { delete LoadRecord(s.file.get(), s.Header); }), "Record with ID 0x7D is invalid")
            << n;
    }
    // The reserved word is not needed.
    TColInfoList list;
    Load(list, ColInfoData(1, 2, 3, 4, 5).left(10));
    EXPECT_EQ(Saved(list), ColInfo(1, 2, 3, 4, 5));
}

TEST(ColInfo, SavingARangeWritesOnlyItsColumns)
{
    TColInfoList list;
    for (int c = 9; c >= 0; --c)
        list.Add(new TColInfo(uint16_t(c), uint16_t(c < 4 ? 100 : 200), 15, 0));
    const TXlsCellRange range{3, 0, 5, 65535};
    const QByteArray bytes = Written([&](TOle2File &f) { list.SaveRangeToStream(&f, range); });
    EXPECT_EQ(bytes, ColInfo(3, 3, 100, 15, 0) + ColInfo(4, 5, 200, 15, 0));
    EXPECT_EQ(list.TotalRangeSize(range), 32);

    const TXlsCellRange empty{20, 0, 30, 65535};
    EXPECT_EQ(Written([&](TOle2File &f) { list.SaveRangeToStream(&f, empty); }), QByteArray());
    EXPECT_EQ(list.TotalRangeSize(empty), 0);
}

TEST(ColInfo, FindOutlineLevelsAndGuts)
{
    TColInfoList list;
    int32_t index = -1;
    EXPECT_FALSE(list.Find(3, index));
    EXPECT_EQ(index, 0);
    list.Add(new TColInfo(7, 1, 15, 0));
    list.Add(new TColInfo(2, 1, 15, 0));
    EXPECT_TRUE(list.Find(7, index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find(5, index));
    EXPECT_EQ(index, 1);

    TColInfo c(0, 1, 15, 0x1001);
    c.SetColOutlineLevel(9);
    EXPECT_EQ(c.GetColOutlineLevel(), 1);
    EXPECT_EQ(c.Options, 0x1101);
    c.SetColOutlineLevel(5);
    EXPECT_EQ(c.Options, 0x1501);

    // GUTS stores the deepest level + 1, and 0 for none.
    QByteArray gutsData(8, 0);
    TGutsRecord guts(0x0080, Buffer(gutsData), 8);
    list.CalcGuts(&guts);
    EXPECT_EQ(guts.ColLevel(), 0);
    list.Items(0)->SetColOutlineLevel(3);
    list.Items(1)->SetColOutlineLevel(2);
    list.CalcGuts(&guts);
    EXPECT_EQ(guts.ColLevel(), 4);
}

TEST(ColInfo, InsertingColumnsMovesOnlyTheSheetsOwnItems)
{
    TColInfoList list;
    for (int c : {1, 3, 254})
        list.Add(new TColInfo(uint16_t(c), uint16_t(c), 15, 0));
    list.ArrangeInsertCols(2, 5, Sheet(0, 1));
    EXPECT_EQ(Columns(list), (std::vector<int>{1, 3, 254}));
    list.ArrangeInsertCols(2, 5, Sheet(1, 1));
    EXPECT_EQ(Columns(list), (std::vector<int>{1, 8, 259}));
    // The pushed-out column stays in the list and is not written.
    EXPECT_EQ(Saved(list), ColInfo(1, 1, 1, 15, 0) + ColInfo(8, 8, 3, 15, 0));
}

TEST(ColInfo, CopyingColumns)
{
    TColInfoList list;
    list.Add(new TColInfo(1, 100, 15, 0));
    list.Add(new TColInfo(2, 200, 15, 0));
    list.Add(new TColInfo(6, 999, 15, 0));
    // Two copies of columns 1..2 at 5: 5, 6 (replaced), 7, 8.
    list.CopyCols(1, 2, 5, 2, Sheet(0, 0));
    EXPECT_EQ(Columns(list), (std::vector<int>{1, 2, 5, 6, 7, 8}));
    const std::vector<int> widths{100, 200, 100, 200, 100, 200};
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list.Items(i)->Width, widths[size_t(i)]) << i;

    // Copies landing before the source keep the walk on the right item; beyond 256 none is made.
    TColInfoList left;
    left.Add(new TColInfo(10, 1, 15, 0));
    left.Add(new TColInfo(11, 2, 15, 0));
    left.CopyCols(10, 11, 0, 1, Sheet(0, 0));
    EXPECT_EQ(Columns(left), (std::vector<int>{0, 1, 10, 11}));
    EXPECT_EQ(left.Items(1)->Width, 2);
    left.CopyCols(10, 11, 255, 1, Sheet(0, 0));
    EXPECT_EQ(Columns(left), (std::vector<int>{0, 1, 10, 11, 255, 256}));

    TColInfoList copy;
    copy.Add(new TColInfo(40, 1, 1, 1));
    copy.CopyFrom(&left);
    EXPECT_EQ(Columns(copy), Columns(left));
    EXPECT_NE(copy.Items(0), left.Items(0));
}
