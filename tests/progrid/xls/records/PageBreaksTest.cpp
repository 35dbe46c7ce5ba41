// Manual page breaks: one per row (column), shifted with inserted and deleted rows, written
// sorted as one record per kind, and refused when a record or a list cannot hold them.
#include "RecordFixture.h"
#include "xlsAdapter/records/duzUXlsPageBreaks.h"

#include <vector>

using namespace rec;

namespace {

std::vector<int> Rows(const THPageBreakList &list)
{
    std::vector<int> out;
    for (int i = 0; i < list.Count(); ++i)
        out.push_back(list.Items(i)->BreakData.Row);
    return out;
}

void AddBreaks(THPageBreakList &list, std::initializer_list<int> rows)
{
    for (int r : rows)
        list.AddBreak(r);
}

// A horizontal break as written: row, first and last column.
QByteArray HBreak(int row, int col1 = 0, int col2 = 255) { return Le16(row) + Le16(col1) + Le16(col2); }

const QString TooManyBreaks = QStringLiteral("Too many manual Page breaks for this sheet");

} // namespace

TEST(PageBreaks, OneBreakPerRowAndRowsDeletedAroundThem)
{
    THPageBreakList list;
    AddBreaks(list, {20, 9, 12, 10, 14});
    list.AddBreak(12);
    EXPECT_EQ(Rows(list), (std::vector<int>{9, 10, 12, 14, 20})) << "a second break at row 12 changes nothing";
    EXPECT_TRUE(list.HasPageBreak(14));
    EXPECT_FALSE(list.HasPageBreak(13));

    list.DeleteRows(10, 5);
    EXPECT_EQ(Rows(list), (std::vector<int>{9, 15}));

    list.DeleteBreak(9);
    list.DeleteBreak(3); // none there
    EXPECT_EQ(Rows(list), (std::vector<int>{15}));

    list.InsertRows(15, 2);
    list.InsertRows(20, 7); // after the last break: nothing moves
    EXPECT_EQ(Rows(list), (std::vector<int>{17}));
}

TEST(PageBreaks, WrittenSortedOneRecordPerKindAndNothingWithoutBreaks)
{
    THPageBreakList none;
    EXPECT_EQ(none.TotalSize(), 0);
    EXPECT_EQ(Written([&](TOle2File &f) { none.SaveToStream(&f); }), QByteArray());

    THPageBreakList two;
    AddBreaks(two, {40, 7});
    const QByteArray h = Written([&](TOle2File &f) { two.SaveToStream(&f); });
    EXPECT_EQ(h, Header(0x001B, 14) + Le16(2) + HBreak(7) + HBreak(40));
    EXPECT_EQ(two.TotalSize(), h.size());

    TVPageBreakList cols;
    cols.AddBreak(200);
    cols.AddBreak(3);
    const QByteArray v = Written([&](TOle2File &f) { cols.SaveToStream(&f); });
    EXPECT_EQ(v, Header(0x001A, 14) + Le16(2) + Le16(3) + Le16(0) + Le16(65535) + Le16(200) + Le16(0) + Le16(65535));
    EXPECT_EQ(cols.TotalSize(), v.size());
}

TEST(PageBreaks, LoadedBreaksMergeSortedAndKeepTheirColumns)
{
    const QByteArray first = Le16(3) + HBreak(30, 1, 9) + HBreak(7, 2, 8) + HBreak(30, 0, 255);
    const QByteArray second = Le16(2) + HBreak(7) + HBreak(12, 4, 5);
    Stream s(Record(0x001B, first) + Record(0x001B, second));
    THPageBreakList list;
    for (int i = 0; i < 2; ++i) {
        TBaseRecord *r = LoadRecord(s.file.get(), s.Header);
        ASSERT_NE(dynamic_cast<THPageBreakRecord *>(r), nullptr);
        list.AddRecord(static_cast<THPageBreakRecord *>(r));
    }
    EXPECT_EQ(Written([&](TOle2File &f) { list.SaveToStream(&f); }),
              Header(0x001B, 20) + Le16(3) + HBreak(7, 2, 8) + HBreak(12, 4, 5) + HBreak(30, 1, 9));

    THPageBreakList copy;
    copy.CopyFrom(&list);
    copy.CopyFrom(nullptr);
    EXPECT_EQ(Rows(copy), Rows(list));
    EXPECT_EQ(copy.Items(2)->BreakData.Col2, 9);

    // An appended break is put in its place before the list is searched or written.
    auto *b = new THPageBreak({1, 0, 255});
    copy.Add(b);
    EXPECT_FALSE(copy.Sorted);
    EXPECT_TRUE(copy.HasPageBreak(1));
    EXPECT_EQ(Rows(copy), (std::vector<int>{1, 7, 12, 30}));
}

TEST(PageBreaks, RangeSaveWritesTheBreaksInsideWithTheirSheetPlaces)
{
    THPageBreakList rows;
    AddBreaks(rows, {12, 2, 8, 5});
    const struct
    {
        int top, bottom;
        QByteArray expected;
    } cases[] = {
        {4, 10, Header(0x001B, 14) + Le16(2) + HBreak(5) + HBreak(8)},
        {5, 8, Header(0x001B, 14) + Le16(2) + HBreak(5) + HBreak(8)},
        {0, 65535, Header(0x001B, 26) + Le16(4) + HBreak(2) + HBreak(5) + HBreak(8) + HBreak(12)},
        {13, 100, QByteArray()},
        {6, 7, QByteArray()},
        {9, 3, QByteArray()},
    };
    for (const auto &c : cases) {
        const TXlsCellRange range{0, c.top, 255, c.bottom};
        EXPECT_EQ(Written([&](TOle2File &f) { rows.SaveRangeToStream(&f, range); }), c.expected) << c.top;
        EXPECT_EQ(rows.TotalRangeSize(range), c.expected.size()) << c.top;
    }

    // Vertical breaks filter by the range's columns.
    TVPageBreakList cols;
    for (int c : {1, 4, 9})
        cols.AddBreak(c);
    const TXlsCellRange range{2, 0, 9, 0};
    EXPECT_EQ(Written([&](TOle2File &f) { cols.SaveRangeToStream(&f, range); }),
              Header(0x001A, 14) + Le16(2) + Le16(4) + Le16(0) + Le16(65535) + Le16(9) + Le16(0) + Le16(65535));
    EXPECT_EQ(cols.TotalRangeSize(range), 18);
}

TEST(PageBreaks, AListHoldsAtMost1026Breaks)
{
    THPageBreakList list;
    for (int r = 0; r < 1025; ++r)
        list.AddBreak(2 * r);
    list.AddBreak(5000);
    EXPECT_EQ(list.Count(), 1026);
    EXPECT_EQ(MessageOf([&] { list.AddBreak(5001); }), TooManyBreaks);
    EXPECT_EQ(MessageOf([&] { list.AddBreak(4); }), TooManyBreaks) << "the limit is checked first";
    EXPECT_EQ(MessageOf([&] { list.Add(new THPageBreak({7, 0, 255})); }), TooManyBreaks);
    EXPECT_EQ(list.Count(), 1026);
    EXPECT_EQ(list.TotalSize(), 6 + 6 * 1026);

    // Loaded records merge up to the same limit: more would make a record no reader takes.
    QByteArray data = Le16(1027);
    for (int r = 0; r < 1027; ++r)
        data += HBreak(r);
    THPageBreakList loaded;
    EXPECT_EQ(MessageOf([&] { loaded.AddRecord(Make<THPageBreakRecord>(0x001B, data).release()); }), TooManyBreaks);
    EXPECT_EQ(loaded.Count(), 1026);
    THPageBreakList copy;
    copy.CopyFrom(&loaded);
    THPageBreakList one;
    one.AddBreak(2000);
    EXPECT_EQ(MessageOf([&] { copy.CopyFrom(&one); }), TooManyBreaks);
}

TEST(PageBreaks, BreaksPushedPastTheLastRowOrColumnAreRefusedAndNothingMoves)
{
    THPageBreakList rows;
    AddBreaks(rows, {10, 65530});
    EXPECT_EQ(MessageOf([&] { rows.InsertRows(5, 6); }),
              QStringLiteral("Too many entries for this kind of record (65536 out of a maximum of 65535)"));
    EXPECT_EQ(Rows(rows), (std::vector<int>{10, 65530}));
    rows.InsertRows(5, 5);
    EXPECT_EQ(Rows(rows), (std::vector<int>{15, 65535}));

    TVPageBreakList cols;
    cols.AddBreak(250);
    EXPECT_EQ(MessageOf([&] { cols.InsertCols(0, 6); }),
              QStringLiteral("Too many entries for this kind of record (256 out of a maximum of 255)"));
    EXPECT_EQ(cols.Items(0)->BreakData.Col, 250);
    cols.DeleteCols(100, 200);
    EXPECT_EQ(cols.Count(), 0);
    EXPECT_EQ(MessageOf([&] { cols.AddBreak(256); }),
              QStringLiteral("Too many entries for this kind of record (256 out of a maximum of 255)"));
}

TEST(PageBreaks, RecordsWhoseCountExceedsTheirDataAreRefused)
{
    const struct
    {
        int id;
        QByteArray data;
        bool valid;
    } cases[] = {
        {0x001B, QByteArray(), false},
        {0x001B, B({1}), false},
        {0x001B, Le16(0), true},
        {0x001B, Le16(1) + QByteArray(5, 0), false},
        {0x001B, Le16(1) + HBreak(3), true},
        {0x001A, Le16(2) + QByteArray(11, 0), false},
        {0x001A, Le16(0xFFFF) + QByteArray(60, 0), false},
        {0x001A, Le16(2) + QByteArray(14, 0), true}, // bytes after the breaks are kept
    };
    for (const auto &c : cases) {
        Stream s(Record(c.id, c.data));
        const QString msg = MessageOf([&] { std::unique_ptr<TBaseRecord>(LoadRecord(s.file.get(), s.Header)); });
        EXPECT_EQ(msg, c.valid ? QString() : QStringLiteral("Record with ID 0x%1 is invalid").arg(QString::number(c.id, 16).toUpper()))
            << c.data.toHex().toStdString();
    }

    auto v = Make<TVPageBreakRecord>(0x001A, Le16(1) + Le16(9) + Le16(2) + Le16(300));
    EXPECT_EQ(v->BreakData(0).Col, 9);
    EXPECT_EQ(v->BreakData(0).Row1, 2);
    EXPECT_EQ(v->BreakData(0).Row2, 300);
    EXPECT_FALSE(MessageOf([&] { v->BreakData(1); }).isEmpty());
}
