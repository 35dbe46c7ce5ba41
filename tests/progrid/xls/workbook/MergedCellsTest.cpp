// Merged cells and range lists: split into records of 513 ranges, kept in place as rows and
// columns move.
#include "tests/progrid/xls/records/RecordFixture.h"
#include "xlsAdapter/records/duzUXlsOtherRecords.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"

#include <typeinfo>
#include <vector>

using namespace rec;

namespace {

QByteArray Range(int r1, int r2, int c1, int c2) { return Le16(r1) + Le16(r2) + Le16(c1) + Le16(c2); }

TSheetInfo Sheet()
{
    TSheetInfo s;
    s.InsSheet = s.FormulaSheet = 0;
    return s;
}

// The ranges as {R1, R2, C1, C2}.
std::vector<TExcelRange> Ranges(const TMergedCells &m)
{
    std::vector<TExcelRange> out;
    for (int i = 0; i < m.MergedCount(); ++i) {
        const TXlsCellRange r = m.MergedCell(i);
        out.push_back(TExcelRange{uint16_t(r.Top), uint16_t(r.Bottom), uint16_t(r.Left), uint16_t(r.Right)});
    }
    return out;
}

std::vector<TExcelRange> Ranges(const TRangeValuesList &l)
{
    std::vector<TExcelRange> out;
    for (int i = 0; i < l.Count(); ++i)
        out.push_back(l.Items(i));
    return out;
}

// Loads the first record of Bytes (with its CONTINUE records) into m.
void Load(TMergedCells &m, const QByteArray &Bytes)
{
    Stream s(Bytes + Record(0x000A, {}));
    TBaseRecord *r = LoadRecord(s.file.get(), s.Header);
    m.LoadFromStream(s.file.get(), s.Header, static_cast<TRangeRecord *>(r));
}

} // namespace

TEST(MergedCells, SixHundredRangesMakeTwoRecordsThatLoadBack)
{
    TMergedCells m;
    QByteArray first = Le16(513), second = Le16(87);
    for (int i = 0; i < 600; ++i) {
        m.MergeCells(i * 2, 0, i * 2 + 1, 3);
        (i < 513 ? first : second) += Range(i * 2, i * 2 + 1, 0, 3);
    }
    const QByteArray bytes = Written([&](TOle2File &f) { m.SaveToStream(&f); });
    ASSERT_EQ(first.size(), 2 + 4104);
    ASSERT_EQ(second.size(), 2 + 696);
    EXPECT_EQ(bytes, Record(0x00E5, first) + Record(0x00E5, second));
    EXPECT_EQ(m.TotalSize(), bytes.size());

    TMergedCells a, b;
    Load(a, Record(0x00E5, first));
    Load(b, Record(0x00E5, second));
    EXPECT_EQ(Ranges(a).size() + Ranges(b).size(), 600u);
    EXPECT_EQ(a.MergedCell(512).Top, 1024);
    EXPECT_EQ(b.MergedCell(86).Bottom, 1199);

    TMergedCells empty;
    EXPECT_EQ(Written([&](TOle2File &f) { empty.SaveToStream(&f); }), QByteArray());
    EXPECT_EQ(empty.TotalSize(), 0);
}

TEST(MergedCells, LoadingFollowsContinueRecordsAndRefusesShortData)
{
    // The count in the record, the ranges split over a CONTINUE record.
    const QByteArray data = Le16(2) + Range(1, 2, 3, 4) + Range(5, 6, 7, 8);
    TMergedCells m;
    Load(m, Record(0x00E5, data.left(7)) + Record(0x003C, data.mid(7)));
    EXPECT_EQ(Ranges(m), (std::vector<TExcelRange>{{1, 2, 3, 4}, {5, 6, 7, 8}}));
    EXPECT_EQ(Written([&](TOle2File &f) { m.SaveToStream(&f); }), Record(0x00E5, data));

    for (int n = 0; n < data.size(); ++n) {
        TMergedCells cut;
        EXPECT_EQ(MessageOf([&] { Load(cut, Record(0x00E5, data.left(n))); }), ErrorReadingRecordText()) << n;
    }
    // A count far beyond the data fails before room is made for it.
    TMergedCells big;
    EXPECT_EQ(MessageOf([&] { Load(big, Record(0x00E5, Le16(65535) + Range(1, 2, 3, 4))); }), ErrorReadingRecordText());
}

TEST(MergedCells, MergingGrowsOverlapsAndIgnoresNonRanges)
{
    TMergedCells m;
    m.MergeCells(1, 1, 2, 2); // B2:C3
    int r1 = 2, c1 = 1, r2 = 3, c2 = 3; // B3:D4
    m.PreMerge(r1, c1, r2, c2);
    EXPECT_EQ(std::vector<int>({r1, c1, r2, c2}), std::vector<int>({1, 1, 3, 3}));
    EXPECT_EQ(m.MergedCount(), 0);
    m.MergeCells(r1, c1, r2, c2);
    EXPECT_EQ(Ranges(m), (std::vector<TExcelRange>{{1, 3, 1, 3}}));

    // A single cell, reversed rows or columns, and rectangles off the sheet.
    const int bad[][4] = {{5, 5, 5, 5}, {6, 1, 5, 2}, {5, 2, 6, 1}, {-1, 0, 2, 2}, {0, 0, 65536, 1}, {0, 0, 1, 256}};
    for (const auto &b : bad) {
        m.MergeCells(b[0], b[1], b[2], b[3]);
        int a1 = b[0], a2 = b[1], a3 = b[2], a4 = b[3];
        m.PreMerge(a1, a2, a3, a4);
        EXPECT_EQ(std::vector<int>({a1, a2, a3, a4}), std::vector<int>(b, b + 4));
    }
    EXPECT_EQ(m.MergedCount(), 1);
    // A rectangle over a single cell of a merged range takes the range in.
    int s1 = 2, s2 = 2, s3 = 2, s4 = 4;
    m.PreMerge(s1, s2, s3, s4);
    EXPECT_EQ(std::vector<int>({s1, s2, s3, s4}), std::vector<int>({1, 1, 3, 4}));

    TMergedCells u;
    u.MergeCells(0, 0, 3, 3);
    u.MergeCells(5, 0, 6, 0);
    u.UnMergeCells(0, 0, 3, 2);
    EXPECT_EQ(u.MergedCount(), 2);
    u.UnMergeCells(0, 0, 3, 3);
    EXPECT_EQ(Ranges(u), (std::vector<TExcelRange>{{5, 6, 0, 0}}));

    TXlsCellRange bounds{-1, -1, -1, -1};
    EXPECT_FALSE(u.CheckCell(4, 0, bounds));
    EXPECT_TRUE(u.CheckCell(6, 0, bounds));
    EXPECT_EQ(std::vector<int>({bounds.Left, bounds.Top, bounds.Right, bounds.Bottom}), std::vector<int>({0, 5, 0, 6}));
    u.Clear();
    EXPECT_EQ(u.MergedCount(), 0);
}

TEST(MergedCells, DeletingRows)
{
    TMergedCells m;
    m.MergeCells(5, 0, 7, 1);  // inside the deleted rows: goes
    m.MergeCells(6, 2, 8, 2);  // one column, would shrink to one cell: goes
    m.MergeCells(6, 3, 8, 4);  // two columns: rows 5..5
    m.MergeCells(9, 0, 10, 0); // below: moves up
    m.MergeCells(1, 0, 2, 0);  // above: stays
    m.DeleteRowsOrCols(5, 3, Sheet(), false);
    EXPECT_EQ(Ranges(m), (std::vector<TExcelRange>{{5, 5, 3, 4}, {6, 7, 0, 0}, {1, 2, 0, 0}}));

    // The same on columns: a one-row range that would shrink to one cell goes.
    TMergedCells c;
    c.MergeCells(0, 6, 0, 8);
    c.MergeCells(0, 6, 1, 8);
    c.MergeCells(3, 9, 4, 10);
    c.DeleteRowsOrCols(5, 3, Sheet(), true);
    EXPECT_EQ(Ranges(c), (std::vector<TExcelRange>{{0, 1, 5, 5}, {3, 4, 6, 7}}));

    // Allowed single cells stay (the kind conditional formats use).
    TRangeValuesList l(1000, 4);
    l.AddNewRange(6, 2, 8, 2);
    l.DeleteRows(5, 3, true, false);
    EXPECT_EQ(l.Count(), 1);
}

TEST(MergedCells, InsertingSqueezesAtTheEdgeAndCopiesWholeRanges)
{
    TMergedCells m;
    m.MergeCells(65530, 0, 65535, 1);
    m.MergeCells(0, 250, 1, 255);
    m.ArrangeInsertRowsAndCols(0, 10, 0, 10, Sheet());
    EXPECT_EQ(Ranges(m), (std::vector<TExcelRange>{{65535, 65535, 10, 11}, {10, 11, 255, 255}}));

    // Two copies of rows 2..3 at row 5: the range on 2..3 is copied, the one reaching row 5 is
    // only stretched (rows 5.. go down by 4).
    TMergedCells c;
    c.MergeCells(2, 0, 3, 1);
    c.MergeCells(3, 2, 5, 2);
    c.InsertAndCopyRowsOrCols(2, 3, 5, 2, Sheet(), false);
    EXPECT_EQ(Ranges(c), (std::vector<TExcelRange>{{2, 3, 0, 1}, {3, 9, 2, 2}, {5, 6, 0, 1}, {7, 8, 0, 1}}));

    // Source below the destination: it has moved down by the insertion before it is copied.
    TMergedCells below;
    below.MergeCells(6, 1, 7, 1);
    below.InsertAndCopyRowsOrCols(6, 7, 1, 1, Sheet(), false);
    EXPECT_EQ(Ranges(below), (std::vector<TExcelRange>{{8, 9, 1, 1}, {1, 2, 1, 1}}));

    // Columns.
    TMergedCells cols;
    cols.MergeCells(0, 1, 1, 1);
    cols.InsertAndCopyRowsOrCols(1, 1, 3, 1, Sheet(), true);
    EXPECT_EQ(Ranges(cols), (std::vector<TExcelRange>{{0, 1, 1, 1}, {0, 1, 3, 3}}));

    // A copy that would leave the sheet.
    TMergedCells edge;
    edge.MergeCells(0, 0, 1, 0);
    EXPECT_EQ(MessageOf([&] { edge.InsertAndCopyRowsOrCols(0, 1, 65535, 1, Sheet(), false); }),
              "Too many entries for this kind of record (65536 out of a maximum of 65535)");
}

TEST(RangeValues, CopyingIntersectingRanges)
{
    // Source 2..3 copied twice at 4 (before: nothing moves).
    TRangeValuesList l(1000, 4);
    l.AddNewRange(1, 0, 3, 0);   // ends right above the insertion: stretched over it
    l.AddNewRange(2, 1, 2, 2);   // first row of the block only: one copy per block
    l.AddNewRange(3, 3, 8, 3);   // reaches over the insertion point: left alone
    l.AddNewRange(10, 0, 12, 1); // does not touch the block
    uint16_t minR1 = 65535, maxR2 = 0;
    l.CopyRowsInclusive(2, 3, 4, 2, minR1, maxR2, false);
    EXPECT_EQ(Ranges(l), (std::vector<TExcelRange>{{1, 7, 0, 0}, {2, 2, 1, 2}, {3, 8, 3, 3}, {10, 12, 0, 1},
                                                   {4, 4, 1, 2}, {6, 6, 1, 2}}));
    EXPECT_EQ(minR1, 4);
    EXPECT_EQ(maxR2, 7);

    // A range covering the whole block, not right above the insertion: one copy over all blocks.
    TRangeValuesList w(1000, 4);
    w.AddNewRange(1, 0, 4, 1);
    minR1 = 65535, maxR2 = 0;
    w.CopyRowsInclusive(2, 3, 6, 2, minR1, maxR2, false);
    EXPECT_EQ(Ranges(w), (std::vector<TExcelRange>{{1, 4, 0, 1}, {6, 9, 0, 1}}));
    EXPECT_EQ(minR1, 6);
    EXPECT_EQ(maxR2, 9);

    // Source 6..7 (now 8..9) copied once at 2.
    TRangeValuesList a(1000, 4);
    a.AddNewRange(4, 0, 9, 1);   // starts right below the insertion: stretched up
    a.AddNewRange(8, 2, 8, 3);   // first row of the block
    a.AddNewRange(9, 4, 12, 4);  // from the block's last row down
    minR1 = 65535, maxR2 = 0;
    a.CopyRowsInclusive(6, 7, 2, 1, minR1, maxR2, false);
    EXPECT_EQ(Ranges(a), (std::vector<TExcelRange>{{2, 9, 0, 1}, {8, 8, 2, 3}, {9, 12, 4, 4}, {2, 2, 2, 3},
                                                   {3, 3, 4, 4}}));
    EXPECT_EQ(minR1, 2);
    EXPECT_EQ(maxR2, 3);
}

TEST(MergedCells, SavingARangeAndTheRangeList)
{
    TMergedCells m;
    m.MergeCells(0, 0, 1, 2);  // A1:C2 inside A1:C10
    m.MergeCells(8, 1, 9, 1);  // B9:B10 inside
    m.MergeCells(9, 0, 10, 0); // A10:A11 crosses the bottom
    m.MergeCells(0, 2, 0, 3);  // C1:D1 crosses the right
    const TXlsCellRange a1c10{0, 0, 2, 9};
    const QByteArray bytes = Written([&](TOle2File &f) { m.SaveRangeToStream(&f, a1c10); });
    EXPECT_EQ(bytes, Record(0x00E5, Le16(2) + Range(0, 1, 0, 2) + Range(8, 9, 1, 1)));
    EXPECT_EQ(m.TotalRangeSize(a1c10), bytes.size());
    const TXlsCellRange nothing{5, 20, 6, 30};
    EXPECT_EQ(Written([&](TOle2File &f) { m.SaveRangeToStream(&f, nothing); }), QByteArray());
    EXPECT_EQ(m.TotalRangeSize(nothing), 0);

    TRangeList list;
    list.Add(new TMergedCells());
    static_cast<TMergedCells *>(list.Items(0))->MergeCells(0, 0, 1, 1);
    list.Add(new TMergedCells());
    static_cast<TMergedCells *>(list.Items(1))->MergeCells(4, 4, 5, 5);
    TRangeList copy;
    copy.CopyFrom(&list);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(typeid(*copy.Items(1)), typeid(TMergedCells));
    EXPECT_EQ(copy.TotalSize(), 2 * (6 + 8));
    // The copies are independent of the originals.
    copy.DeleteRowsOrCols(0, 2, Sheet(), false);
    EXPECT_EQ(Ranges(*static_cast<TMergedCells *>(copy.Items(1))), (std::vector<TExcelRange>{{2, 3, 4, 5}}));
    EXPECT_EQ(Ranges(*static_cast<TMergedCells *>(list.Items(1))), (std::vector<TExcelRange>{{4, 5, 4, 5}}));
    copy.InsertAndCopyRowsOrCols(2, 3, 0, 1, Sheet(), false);
    EXPECT_EQ(Ranges(*static_cast<TMergedCells *>(copy.Items(1))),
              (std::vector<TExcelRange>{{4, 5, 4, 5}, {0, 1, 4, 5}}));
    EXPECT_EQ(Written([&](TOle2File &f) { copy.SaveToStream(&f); }),
              Record(0x00E5, Le16(2) + Range(4, 5, 4, 5) + Range(0, 1, 4, 5)));
    EXPECT_EQ(Written([&](TOle2File &f) { list.SaveRangeToStream(&f, TXlsCellRange{0, 0, 3, 3}); }),
              Record(0x00E5, Le16(1) + Range(0, 1, 0, 1)));
    EXPECT_EQ(list.TotalRangeSize(TXlsCellRange{0, 0, 3, 3}), 14);
}
