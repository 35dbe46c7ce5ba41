// The cell store: values into the right cell records, ROW records kept in step, row and column
// operations, and the row blocks written behind a DIMENSIONS record.
#include "tests/progrid/xls/records/RecordFixture.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsCellRecords.h"
#include "xlsAdapter/records/duzUXlsColInfo.h"
#include "xlsAdapter/formulas/duzUXlsFormula.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/records/duzUXlsSST.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

#include <typeinfo>
#include <vector>

using namespace rec;

namespace {

TSheetInfo Sheet()
{
    TSheetInfo s;
    s.InsSheet = s.FormulaSheet = 0;
    return s;
}

struct Store
{
    TWorkbookGlobals globals;
    TSST &sst = globals.SST();
    TColInfoList cols;
    TCells cells{&globals, &cols};
    TCellList &list = *cells.CellList();
    TRowRecordList &rows = *cells.RowList();

    void Set(int row, int col, const Variant &v, int xf = -1, bool o1904 = false)
    {
        list.SetValueX2(row, col, TXlsCellValue{v, xf, false}, nullptr, o1904);
    }
    // The cell record at (row, col), nil when none.
    TCellRecord *Cell(int row, int col)
    {
        int32_t i;
        return row < list.Count() && list.Items(row)->Find(col, i) ? list.Items(row)->Items(i) : nullptr;
    }
    QByteArray Saved()
    {
        return Written([&](TOle2File &f) { cells.SaveToStream(&f); });
    }
};

QByteArray Row(int row, int minCol, int maxCol, int height = 255, int options = 0x100, int xf = 15)
{
    return Record(0x0208, Le16(row) + Le16(minCol) + Le16(maxCol) + Le16(height) + Le16(0) + Le16(0) + Le16(options)
                              + Le16(xf));
}

QByteArray Dimensions(int firstRow, int lastRow1, int firstCol, int lastCol1)
{
    return Record(0x0200, Le32(firstRow) + Le32(lastRow1) + Le16(firstCol) + Le16(lastCol1) + Le16(0));
}

QByteArray RK(int row, int col, uint32_t rk, int xf = 15) { return Record(0x027E, Le16(row) + Le16(col) + Le16(xf) + Le32(rk)); }

// The ids of the records in a written stream.
std::vector<int> Ids(const QByteArray &b)
{
    std::vector<int> out;
    for (int p = 0; p + 4 <= b.size(); p += 4 + GetWord(reinterpret_cast<const uint8_t *>(b.constData()), p + 2))
        out.push_back(GetWord(reinterpret_cast<const uint8_t *>(b.constData()), p));
    return out;
}

} // namespace

TEST(CellStore, ValuesBecomeTheRightRecords)
{
    Store s;
    // Empty with the default format makes nothing, and the fresh ROW record goes again.
    s.Set(4, 1, Variant(), 15);
    EXPECT_EQ(s.Cell(4, 1), nullptr);
    EXPECT_EQ(s.rows.Count(), 0);
    EXPECT_EQ(s.list.Count(), 0);

    const struct
    {
        Variant value;
        int xf;
        const std::type_info &cls;
        Variant back;
    } cases[] = {
        {Variant(), 20, typeid(TBlankRecord), Variant()},
        {Null(), 21, typeid(TBlankRecord), Variant()},
        {Variant(3), -1, typeid(TRKRecord), Variant(3.0)},
        {Variant(1000001.0), -1, typeid(TRKRecord), Variant(1000001.0)},
        {Variant(0.07), -1, typeid(TNumberRecord), Variant(0.07)},
        {Variant(1e10), -1, typeid(TNumberRecord), Variant(1e10)},
        {Variant(true), -1, typeid(TBoolErrRecord), Variant(true)},
        {Variant(QStringLiteral("abc")), -1, typeid(TLabelSSTRecord), Variant(QStringLiteral("abc"))},
        {Variant::FromDate(40000.5), -1, typeid(TRKRecord), Variant(40000.5)},
    };
    int col = 0;
    for (const auto &c : cases) {
        s.Set(2, col, c.value, c.xf);
        TCellRecord *cell = s.Cell(2, col);
        ASSERT_NE(cell, nullptr) << col;
        EXPECT_EQ(typeid(*cell), c.cls) << col;
        const TXlsCellValue v = s.list.GetValue(2, col);
        EXPECT_EQ(v.Value, c.back) << col;
        EXPECT_EQ(v.XF, c.xf >= 0 ? c.xf : 15) << col;
        EXPECT_FALSE(v.IsFormula);
        ++col;
    }
    EXPECT_EQ(s.rows.Items(2)->MinCol(), 0);
    EXPECT_EQ(s.rows.Items(2)->MaxCol(), col);

    // A text of "" deletes the text cell; an unsupported variant makes no cell either.
    s.Set(2, 7, Variant(QString()));
    EXPECT_EQ(s.Cell(2, 7), nullptr);
    s.Set(2, 6, Variant::FromError(7));
    EXPECT_EQ(s.Cell(2, 6), nullptr);
    EXPECT_EQ(s.sst.Count() > 0 ? s.sst.Refs(s.sst.Items(0)) : 0u, 0u);

    // 1904 dates are 1462 days smaller.
    s.Set(3, 0, Variant::FromDate(1462), -1, true);
    EXPECT_EQ(typeid(*s.Cell(3, 0)), typeid(TRKRecord));
    EXPECT_EQ(s.list.GetValue(3, 0).Value, Variant(0.0));
    s.Set(3, 1, Variant(1462.0), -1, true);
    EXPECT_EQ(s.list.GetValue(3, 1).Value, Variant(1462.0));

    // An empty position reads as no cell.
    const TXlsCellValue none = s.list.GetValue(9, 9);
    EXPECT_TRUE(VarIsEmpty(none.Value));
    EXPECT_EQ(none.XF, -1);
}

TEST(CellStore, PositionsOutsideTheSheetAreRefused)
{
    Store s;
    const struct
    {
        int row, col;
        const char *message;
    } cases[] = {{65536, 0, "Invalid Row (65536)"}, {-1, 0, "Invalid Row (-1)"}, {0, 256, "Invalid Column (256)"},
                 {0, -1, "Invalid Column (-1)"}};
    for (const auto &c : cases) {
        EXPECT_EQ(MessageOf([&] { s.Set(c.row, c.col, Variant(1)); }), c.message);
        EXPECT_EQ(MessageOf([&] { s.list.GetValue(c.row, c.col); }), c.message);
        EXPECT_EQ(MessageOf([&] { s.list.SetFormat(c.row, c.col, 20); }), c.message);
    }
    EXPECT_EQ(s.rows.Count(), 0);
    s.Set(65535, 255, Variant(1));
    EXPECT_EQ(s.list.GetValue(65535, 255).Value, Variant(1.0));
}

TEST(CellStore, RichTextAndTheStringTable)
{
    Store s;
    const TRTFRunList runs{{1, 5}, {3, 6}};
    s.list.SetValueX2(0, 0, TXlsCellValue{Variant(QStringLiteral("abcd")), -1, false}, &runs, false);
    TRTFRunList back{{9, 9}};
    TXlsCellValue v;
    s.list.GetValueX2(0, 0, v, &back);
    EXPECT_EQ(v.Value, Variant(QStringLiteral("abcd")));
    EXPECT_EQ(back, runs);
    // A cell without runs empties the list.
    s.Set(0, 1, Variant(QStringLiteral("x")));
    s.list.GetValueX2(0, 1, v, &back);
    EXPECT_TRUE(back.empty());
    // Replacing and deleting text cells gives their strings back.
    ASSERT_EQ(s.sst.Count(), 2);
    s.Set(0, 1, Variant(2));
    s.Set(0, 0, Variant());
    for (int i = 0; i < s.sst.Count(); ++i)
        EXPECT_EQ(s.sst.Refs(s.sst.Items(i)), 0u);
}

TEST(CellStore, DefaultFormatsOfRowsAndColumns)
{
    Store s;
    s.cols.Add(new TColInfo(2, 900, 40, 0));
    // The column's format is the default: Empty with it makes nothing, with 15 a BLANK.
    s.Set(0, 2, Variant(), 40);
    EXPECT_EQ(s.Cell(0, 2), nullptr);
    s.Set(0, 2, Variant(), 15);
    ASSERT_NE(s.Cell(0, 2), nullptr);
    EXPECT_EQ(s.Cell(0, 2)->XF(), 15);
    // A new number takes the column's format.
    s.Set(0, 2, Variant());
    EXPECT_EQ(s.Cell(0, 2)->XF(), 15);
    s.Set(1, 2, Variant(5));
    EXPECT_EQ(s.Cell(1, 2)->XF(), 40);

    // A formatted row wins over the column.
    s.rows.AddRow(3);
    s.rows.Items(3)->SetXF(30);
    s.Set(3, 2, Variant(5));
    EXPECT_EQ(s.Cell(3, 2)->XF(), 30);
    s.Set(3, 4, Variant(), 30);
    EXPECT_EQ(s.Cell(3, 4), nullptr);
}

TEST(CellStore, DeletingCellsAndTheirRowRecords)
{
    Store s;
    s.Set(0, 0, Variant(1));
    s.Set(5, 3, Variant(1));
    // The only cell of the last row: its standard ROW record goes, and empty rows above it too.
    s.Set(5, 3, Variant());
    EXPECT_EQ(s.rows.Count(), 1);
    EXPECT_EQ(s.list.Count(), 1);

    // A hidden row keeps its ROW record, with no columns.
    s.Set(5, 3, Variant(1));
    s.rows.Items(5)->Hide(true);
    s.Set(5, 3, Variant());
    ASSERT_EQ(s.rows.Count(), 6);
    EXPECT_EQ(s.rows.Items(5)->MinCol(), 0);
    EXPECT_EQ(s.rows.Items(5)->MaxCol(), 0);

    // A row that keeps cells gets their span.
    s.Set(1, 2, Variant(1));
    s.Set(1, 4, Variant(1));
    s.Set(1, 6, Variant(1));
    s.Set(1, 6, Variant());
    EXPECT_EQ(s.rows.Items(1)->MinCol(), 2);
    EXPECT_EQ(s.rows.Items(1)->MaxCol(), 5);
    // Emptying a middle row drops its standard ROW record.
    s.Set(1, 2, Variant());
    s.Set(1, 4, Variant());
    EXPECT_FALSE(s.rows.HasRow(1));
    EXPECT_TRUE(s.rows.HasRow(5));
}

TEST(CellStore, SetFormat)
{
    Store s;
    s.list.SetFormat(0, 0, 15);
    EXPECT_EQ(s.rows.Count(), 0);
    s.list.SetFormat(0, 0, 22);
    ASSERT_NE(s.Cell(0, 0), nullptr);
    EXPECT_EQ(typeid(*s.Cell(0, 0)), typeid(TBlankRecord));
    s.Set(1, 1, Variant(0.07));
    s.list.SetFormat(1, 1, 23);
    EXPECT_EQ(s.list.GetValue(1, 1).Value, Variant(0.07));
    EXPECT_EQ(s.list.GetValue(1, 1).XF, 23);
}

TEST(CellStore, SavingWritesDimensionsRowsAndJoinedCells)
{
    Store s;
    s.Set(2, 5, Variant(1));
    s.Set(2, 6, Variant(2));
    s.Set(2, 8, Variant(0.07));
    const QByteArray mulrk = Record(0x00BD, Le16(2) + Le16(5) + Le16(15) + Le32(0x3FF00000) + Le16(15)
                                                + Le32(0x40000000) + Le16(6));
    const QByteArray number = [] {
        QByteArray d(8, 0);
        const double v = 0.07;
        std::memcpy(d.data(), &v, 8);
        return Record(0x0203, Le16(2) + Le16(8) + Le16(15) + d);
    }();
    const QByteArray expected = Dimensions(2, 3, 0, 9) + Row(2, 0, 9) + mulrk + number;
    EXPECT_EQ(s.Saved(), expected);
    EXPECT_EQ(s.cells.TotalSize(), expected.size());
    EXPECT_EQ(s.cells.FixTotalSize(false), expected.size());

    // A range: its rows and columns only, the ROW span clipped to it.
    const TXlsCellRange range{5, 0, 5, 10};
    const QByteArray part = Written([&](TOle2File &f) { s.cells.SaveRangeToStream(&f, range); });
    EXPECT_EQ(part, Dimensions(0, 11, 5, 6) + Row(2, 5, 6) + RK(2, 5, 0x3FF00000));
    EXPECT_EQ(s.cells.TotalRangeSize(range), part.size());

    // An empty store.
    Store e;
    EXPECT_EQ(e.Saved(), Dimensions(0, 0, 0, 1));
    EXPECT_EQ(e.cells.TotalSize(), 18);
}

TEST(CellStore, RowsAreWrittenInBlocksOf32)
{
    Store s;
    for (int r = 0; r < 34; ++r)
        s.Set(r, 0, Variant(r));
    std::vector<int> expected{0x0200};
    for (int block : {0, 32}) {
        const int n = block == 0 ? 32 : 2;
        expected.insert(expected.end(), size_t(n), 0x0208);
        expected.insert(expected.end(), size_t(n), 0x027E);
    }
    const QByteArray bytes = s.Saved();
    EXPECT_EQ(Ids(bytes), expected);
    EXPECT_EQ(s.cells.TotalSize(), bytes.size());
}

TEST(CellStore, InsertingCopiesOfRows)
{
    Store s;
    for (int r = 0; r < 4; ++r) {
        s.Set(r, 0, Variant(r));
        s.rows.Items(r)->SetHeight(100 + r);
    }
    s.cells.InsertAndCopyRows(2, 3, 1, 2, Sheet(), false);
    const std::vector<int> values{0, 2, 3, 2, 3, 1, 2, 3};
    ASSERT_EQ(s.list.Count(), 8);
    ASSERT_EQ(s.rows.Count(), 8);
    for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(s.list.GetValue(r, 0).Value, Variant(double(values[size_t(r)]))) << r;
        EXPECT_EQ(s.Cell(r, 0)->Row(), r);
        EXPECT_EQ(s.rows.Items(r)->Row(), r);
        EXPECT_EQ(s.rows.Items(r)->Height(), 100 + values[size_t(r)]) << r;
    }

    // Deleting rows 1..4 brings the old rows back.
    s.cells.DeleteRows(1, 4, Sheet());
    ASSERT_EQ(s.list.Count(), 4);
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(s.list.GetValue(r, 0).Value, Variant(double(r)));
        EXPECT_EQ(s.Cell(r, 0)->Row(), r);
        EXPECT_EQ(s.rows.Items(r)->Row(), r);
    }

    // Copies below the source, past the end of the list.
    s.cells.InsertAndCopyRows(0, 0, 6, 1, Sheet(), false);
    ASSERT_EQ(s.list.Count(), 7);
    EXPECT_EQ(s.list.GetValue(6, 0).Value, Variant(0.0));
    EXPECT_EQ(s.Cell(6, 0)->Row(), 6);
}

TEST(CellStore, ColumnsMoveWithTheirInformation)
{
    Store s;
    s.cols.Add(new TColInfo(1, 777, 15, 0));
    for (int c = 0; c < 4; ++c)
        s.Set(0, c, Variant(c));
    s.Set(3, 1, Variant(10));
    // One copy of column 1 at column 3: the old 3 moves to 4.
    s.cells.InsertAndCopyCols(1, 1, 3, 1, Sheet(), false);
    const std::vector<double> row0{0, 1, 2, 1, 3};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(s.list.GetValue(0, c).Value, Variant(row0[size_t(c)])) << c;
        EXPECT_EQ(s.Cell(0, c)->Column(), c);
    }
    EXPECT_EQ(s.list.GetValue(3, 3).Value, Variant(10.0));
    EXPECT_EQ(s.rows.Items(0)->MaxCol(), 5);
    EXPECT_EQ(s.rows.Items(3)->MinCol(), 1);
    EXPECT_EQ(s.rows.Items(3)->MaxCol(), 4);
    int32_t i;
    ASSERT_TRUE(s.cols.Find(3, i));
    EXPECT_EQ(s.cols.Items(i)->Width, 777);

    // Deleting columns 0..1; the column information stays where it is.
    s.cells.DeleteCols(0, 2, Sheet());
    const std::vector<double> left{2, 1, 3};
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(s.list.GetValue(0, c).Value, Variant(left[size_t(c)])) << c;
    EXPECT_EQ(s.rows.Items(0)->MinCol(), 0);
    EXPECT_EQ(s.rows.Items(0)->MaxCol(), 3);
    EXPECT_EQ(s.rows.Items(3)->MaxCol(), 2);
    EXPECT_TRUE(s.cols.Find(1, i));

    // A copy that would land past column 255 is refused.
    Store e;
    e.Set(0, 250, Variant(1));
    EXPECT_EQ(MessageOf([&] { e.cells.InsertAndCopyCols(250, 250, 251, 6, Sheet(), false); }),
              "Too many entries for this kind of record (256 out of a maximum of 255)");
}

TEST(CellStore, LoadingSplitsMultipleRecordsAndFixesRows)
{
    Store s;
    // A ROW record for row 5 only, cells in rows 2 and 5, a MULRK of three cells in row 7.
    s.cells.AddRow(TRowRecord::CreateStandard(5));
    const QByteArray cell = Le16(2) + Le16(1) + Le16(15) + Le32(0x40080000);
    s.cells.AddCell(Make<TRKRecord>(0x027E, cell).release(), 2);
    s.cells.AddCell(Make<TRKRecord>(0x027E, Le16(5) + Le16(0) + Le16(15) + Le32(0x40080000)).release(), 5);
    auto mul = Make<TMulRKRecord>(0x00BD, Le16(7) + Le16(3) + Le16(15) + Le32(0x3FF00000) + Le16(16)
                                              + Le32(0x40000000) + Le16(17) + Le32(0x40080000) + Le16(99));
    s.cells.AddMultipleCells(mul.get());
    s.cells.FixRows();
    for (int r : {2, 5, 7})
        EXPECT_TRUE(s.rows.HasRow(r)) << r;
    EXPECT_FALSE(s.rows.HasRow(3));
    EXPECT_EQ(s.list.GetValue(7, 5).Value, Variant(3.0));
    EXPECT_EQ(s.list.GetValue(7, 4).XF, 16);

    // Every cell is written although the new ROW records span no columns.
    const QByteArray bytes = s.Saved();
    EXPECT_EQ(bytes.left(18), Dimensions(2, 8, 0, 6));
    EXPECT_EQ(Ids(bytes), (std::vector<int>{0x0200, 0x0208, 0x0208, 0x0208, 0x027E, 0x027E, 0x00BD}));
    EXPECT_EQ(s.cells.TotalSize(), bytes.size());

    // A copy is independent.
    Store c;
    c.cells.CopyFrom(&s.cells);
    s.cells.Clear();
    EXPECT_EQ(c.Saved(), bytes);
}

namespace {

// A FORMULA cell with the given tokens and no cached result of note.
TFormulaRecord *Formula(int row, int col, const QByteArray &tokens)
{
    const QByteArray d = Le16(row) + Le16(col) + Le16(15) + QByteArray(8, 0) + Le16(0) + Le32(0)
                         + Le16(int(tokens.size())) + tokens;
    return new TFormulaRecord(0x0006, Buffer(d), int32_t(d.size()));
}

} // namespace

TEST(CellStore, FormulasAttachedRecordsAndSharedFormulas)
{
    Store s;
    s.rows.AddRow(0);
    s.rows.AddRow(1);
    TFormulaRecord *array = Formula(0, 0, B({0x02, 0, 0, 0, 0}));
    const QByteArray arrayData = Le16(0) + Le16(1) + B({0, 0}) + Le16(0) + Le32(0) + Le16(3) + B({0x1E, 7, 0});
    array->SetArrayRecord(Make<TArrayRecord>(0x0221, arrayData).release());
    s.cells.AddCell(array, 0);
    s.cells.AddCell(Formula(0, 1, B({0x1E, 1, 0})), 0);
    s.Set(0, 2, Variant(5));
    // Row 1 holds a formula that stands for the shared formula of (0, 1).
    s.cells.AddCell(Formula(1, 1, B({0x01, 0, 0, 1, 0})), 1);
    s.cells.FixRows();

    EXPECT_EQ(s.list.ArrayFormula(0, 0), ByteArray(arrayData.begin(), arrayData.end()));
    EXPECT_TRUE(s.list.GetValue(0, 1).IsFormula);
    const struct
    {
        int row, col;
        bool table;
        const char *message;
    } errors[] = {
        {0, 1, false, "Formula at Row 0, column 1 is not supported. Token Id: 0x 1"},
        {0, 0, true, "Formula at Row 0, column 0 is not supported. Token Id: 0x 1"},
        {0, 2, false, "Can't find Shared Formula"},
        {0, 9, true, "Can't find Shared Formula"},
        {2, 0, false, "Invalid Row (2)"},
        {-1, 0, true, "Invalid Row (-1)"},
        {0, 256, false, "Invalid Column (256)"},
    };
    for (const auto &e : errors)
        EXPECT_EQ(MessageOf([&] { e.table ? s.list.TableFormula(e.row, e.col) : s.list.ArrayFormula(e.row, e.col); }),
                  e.message)
            << e.row << " " << e.col;

    TShrFmlaRecordList shared;
    auto shr = Make<TShrFmlaRecord>(0x04BC, Le16(0) + Le16(1) + B({1, 1}) + Le16(0) + Le16(3) + B({0x1E, 9, 0}));
    shr->Key = 0 | (1u << 16);
    shared.Add(shr.release());
    const int64_t before = s.cells.TotalSize();
    s.list.FixFormulas(&shared);
    TCellRecord *fixed = s.Cell(1, 1);
    ASSERT_EQ(fixed->DataSize, 25);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(fixed->Data) + 20, 5), Le16(3) + B({0x1E, 9, 0}));
    EXPECT_EQ(s.cells.TotalSize(), before - 27 + 25);
    // Formulas copy with the rows, and OnlyFormulas copies nothing else.
    s.cells.InsertAndCopyRows(0, 0, 3, 1, Sheet(), true);
    EXPECT_TRUE(s.list.GetValue(3, 0).IsFormula);
    EXPECT_EQ(s.Cell(3, 2), nullptr);
}
