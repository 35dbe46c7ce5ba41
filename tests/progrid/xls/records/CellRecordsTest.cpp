// Cell value records: RK numbers, booleans and errors, numbers, and the MULBLANK and MULRK runs
// split on load and joined on save.
#include "RecordFixture.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsBaseRecordLists.h"
#include "xlsAdapter/records/duzUXlsCellRecords.h"

#include <bit>
#include <cmath>

using namespace rec;

namespace {

QByteArray Cell6(int row, int col, int xf) { return Le16(row) + Le16(col) + Le16(xf); }

TRKRecord *RK(int row, int col, int xf, uint32_t rk)
{
    const QByteArray d = Cell6(row, col, xf) + Le32(rk);
    return new TRKRecord(xlr_RK, Buffer(d), 10);
}

} // namespace

// Expected forms worked out by hand from the IEEE bits (high word of the double, or value x 4 + 2,
// plus 1 for hundredths).
TEST(RK, EncodingAndDecoding)
{
    const struct
    {
        double value;
        bool encodes;
        uint32_t rk;
    } cases[] = {
        {3.0, true, 0x40080000u},       {1000001.0, true, 0x003D0906u},  {524289.0, true, 0x00200006u},
        {524288.0, true, 0x41200000u},  {536870911.0, true, 0x7FFFFFFEu}, {536870912.0, true, 0x41C00000u},
        {-536870912.0, true, 0xC1C00000u}, {0.1, true, 0x40240001u},     {-1000001.0, true, 0xFFC2F6FEu},
        {0.0, true, 0x00000000u},       {12345.67, true, 0x004B5A1Fu},   {0.07, false, 0},
        {1e10, false, 0},               {0.7 + 0.1, false, 0},           {1.0 / 3, false, 0},
    };
    for (const auto &c : cases) {
        int32_t rk = 0;
        EXPECT_EQ(TryRKEncode(rk, c.value), c.encodes) << c.value;
        EXPECT_EQ(IsRKValue(c.value), c.encodes) << c.value;
        if (!c.encodes)
            continue;
        EXPECT_EQ(uint32_t(rk), c.rk) << c.value;
        std::unique_ptr<TRKRecord> r(RK(0, 0, 15, c.rk));
        EXPECT_EQ(std::bit_cast<uint64_t>(r->Value().AsDouble()), std::bit_cast<uint64_t>(c.value)) << c.value;
    }
    // The form that the encoding rule alone would give 0.7 + 0.1 reads back as 0.8.
    std::unique_ptr<TRKRecord> r(RK(0, 0, 15, 0x40540001u));
    EXPECT_EQ(r->Value().AsDouble(), 0.8);
    EXPECT_NE(0.7 + 0.1, 0.8);
}

TEST(RK, WritingANumberWithoutAnExactFormIsRefused)
{
    std::unique_ptr<TRKRecord> r(TRKRecord::CreateFromData(2, 3, 21));
    EXPECT_EQ(DataOf(*r), Cell6(2, 3, 21) + Le32(0));
    r->SetValue(Variant(1000001));
    EXPECT_EQ(GetLongWord(r->Data, 6), 0x003D0906u);
    EXPECT_EQ(MessageOf([&] { r->SetValue(Variant(0.07)); }),
              Format(QStringLiteral("Invalid cell value: \"%s\""), {FloatToStr(0.07)}));
    EXPECT_EQ(r->Value().AsDouble(), 1000001.0) << "the old value stays";
}

TEST(BoolErr, ValuesAndErrorTexts)
{
    const struct
    {
        int value, isError;
        Variant expected;
    } cases[] = {
        {1, 0, Variant(true)},      {0, 0, Variant(false)},         {2, 0, Variant(true)},
        {0x00, 1, Variant("#NULL!")}, {0x07, 1, Variant("#DIV/0!")}, {0x0F, 1, Variant("#VALUE!")},
        {0x17, 1, Variant("#REF!")}, {0x1D, 1, Variant("#NAME?")},  {0x24, 1, Variant("#NUM!")},
        {0x2A, 1, Variant("#N/A")},  {0x05, 1, Variant("#NULL!")},
    };
    for (const auto &c : cases) {
        auto r = Make<TBoolErrRecord>(xlr_BOOLERR, Cell6(0, 0, 15) + B({c.value, c.isError}));
        const Variant v = r->Value();
        EXPECT_EQ(VarType(v), VarType(c.expected)) << c.value;
        EXPECT_EQ(v, c.expected) << c.value;
    }
    std::unique_ptr<TBoolErrRecord> r(TBoolErrRecord::CreateFromData(1, 1, 15));
    r->SetValue(Variant("#DIV/0!"));
    EXPECT_EQ(DataOf(*r).right(2), B({0x07, 1}));
    r->SetValue(Variant(true));
    EXPECT_EQ(DataOf(*r).right(2), B({1, 0}));
    r->SetValue(Variant::FromAnsiString("#N/A"));
    EXPECT_EQ(DataOf(*r).right(2), B({0x2A, 1}));
    EXPECT_EQ(MessageOf([&] { r->SetValue(Variant("#n/a")); }), QStringLiteral("Invalid cell error code: \"#n/a\""));
    EXPECT_EQ(MessageOf([&] { r->SetValue(Null()); }), QStringLiteral("Invalid cell value: \"\""));
    EXPECT_EQ(MessageOf([&] { r->SetValue(Variant(12)); }), QStringLiteral("Invalid cell value: \"12\""));
    EXPECT_EQ(DataOf(*r).right(2), B({0x2A, 1})) << "a refused value leaves the record";
}

TEST(Number, DoubleAtOffsetSix)
{
    std::unique_ptr<TNumberRecord> r(TNumberRecord::CreateFromData(4, 5, 16));
    r->SetValue(Variant(0.07));
    EXPECT_EQ(DataOf(*r).mid(6), QByteArray::fromHex("ec51b81e85ebb13f"));
    EXPECT_EQ(r->Value().AsDouble(), 0.07);
    r->SetValue(Variant("2.5"));
    EXPECT_EQ(r->Value().AsDouble(), 2.5);
    std::unique_ptr<TBlankRecord> b(TBlankRecord::CreateFromData(4, 6, 17));
    EXPECT_TRUE(VarIsEmpty(b->Value()));
    b->SetValue(Variant(3));
    EXPECT_EQ(DataOf(*b), Cell6(4, 6, 17));
}

// Every class refuses data too short for its fields, on creation.
TEST(CellRecords, ShortRecordsAreRefused)
{
    const struct
    {
        int id, size;
        std::function<void(const QByteArray &)> make;
    } cases[] = {
        {xlr_BLANK, 6, [](const QByteArray &d) { Make<TBlankRecord>(xlr_BLANK, d); }},
        {xlr_BOOLERR, 8, [](const QByteArray &d) { Make<TBoolErrRecord>(xlr_BOOLERR, d); }},
        {xlr_NUMBER, 14, [](const QByteArray &d) { Make<TNumberRecord>(xlr_NUMBER, d); }},
        {xlr_RK, 10, [](const QByteArray &d) { Make<TRKRecord>(xlr_RK, d); }},
        {xlr_MULBLANK, 6, [](const QByteArray &d) { Make<TMulBlankRecord>(xlr_MULBLANK, d); }},
        {xlr_MULRK, 6, [](const QByteArray &d) { Make<TMulRKRecord>(xlr_MULRK, d); }},
    };
    for (const auto &c : cases) {
        for (int n = 0; n < c.size; ++n)
            EXPECT_EQ(MessageOf([&] { c.make(QByteArray(n, 0)); }),
                      Format(QStringLiteral("Record with ID 0x%x is invalid"), {c.id}))
                << c.id << " " << n;
        EXPECT_EQ(MessageOf([&] { c.make(QByteArray(c.size, 0)); }), QString()) << c.id;
    }
}

TEST(MulRecords, SplitIntoOneCellPerEntryWhateverTheLastColumnSays)
{
    // Three entries; the last-column field claims column 200.
    auto mul = Make<TMulRKRecord>(xlr_MULRK, Le16(7) + Le16(10) + Le16(15) + Le32(0x40080000u) + Le16(16)
                                                   + Le32(0x003D0906u) + Le16(17) + Le32(0x40240001u) + Le16(200));
    std::vector<std::unique_ptr<TCellRecord>> cells;
    while (!mul->Eof())
        cells.emplace_back(mul->ExtractOneRecord());
    ASSERT_EQ(cells.size(), 3u);
    const double values[] = {3.0, 1000001.0, 0.1};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(dynamic_cast<TRKRecord *>(cells[i].get()), nullptr);
        EXPECT_EQ(cells[i]->Row(), 7);
        EXPECT_EQ(cells[i]->Column(), 10 + i);
        EXPECT_EQ(cells[i]->XF(), 15 + i);
        EXPECT_EQ(cells[i]->Value().AsDouble(), values[i]);
        EXPECT_EQ(cells[i]->DataSize, 10);
    }
    EXPECT_EQ(MessageOf([&] { delete mul->ExtractOneRecord(); }), QStringLiteral("Error reading record"));

    auto blanks = Make<TMulBlankRecord>(xlr_MULBLANK, Le16(2) + Le16(3) + Le16(21) + Le16(22) + Le16(4));
    int n = 0;
    while (!blanks->Eof()) {
        std::unique_ptr<TCellRecord> b(blanks->ExtractOneRecord());
        ASSERT_NE(dynamic_cast<TBlankRecord *>(b.get()), nullptr);
        EXPECT_EQ(DataOf(*b), Cell6(2, 3 + n, 21 + n));
        ++n;
    }
    EXPECT_EQ(n, 2);
    // Odd data sizes hold only the whole entries.
    auto odd = Make<TMulRKRecord>(xlr_MULRK, Le16(0) + Le16(0) + QByteArray(6, 0) + QByteArray(5, 0));
    n = 0;
    while (!odd->Eof()) {
        delete odd->ExtractOneRecord();
        ++n;
    }
    EXPECT_EQ(n, 1);
}

TEST(MulRecords, NeighbouringRKAndBlankCellsAreJoinedOnSave)
{
    TCellRecordList row;
    row.Add(RK(1, 1, 15, 0x40080000u));
    row.Add(RK(1, 2, 16, 0x00200006u));
    row.Add(RK(1, 3, 17, 0x41200000u));
    row.Add(RK(1, 5, 18, 0x40240001u));
    const QByteArray mulrk = Record(xlr_MULRK, Le16(1) + Le16(1) + Le16(15) + Le32(0x40080000u) + Le16(16)
                                                   + Le32(0x00200006u) + Le16(17) + Le32(0x41200000u) + Le16(3));
    const QByteArray single = Record(xlr_RK, Cell6(1, 5, 18) + Le32(0x40240001u));
    EXPECT_EQ(Written([&](TOle2File &f) { row.SaveToStream(&f); }), mulrk + single);
    EXPECT_EQ(row.GetTotalSize(), mulrk.size() + single.size());

    const QByteArray upTo2 = Record(xlr_MULRK, Le16(1) + Le16(1) + Le16(15) + Le32(0x40080000u) + Le16(16)
                                                   + Le32(0x00200006u) + Le16(2));
    const TXlsCellRange right2{0, 0, 2, 65535};
    EXPECT_EQ(Written([&](TOle2File &f) { row.SaveRangeToStream(&f, right2); }), upTo2);
    EXPECT_EQ(row.TotalRangeSize(right2, false), upTo2.size());

    TCellRecordList blanks;
    for (int c = 3; c <= 5; ++c)
        blanks.Add(TBlankRecord::CreateFromData(0, uint16_t(c), uint16_t(20 + c)));
    const QByteArray mulblank = Record(xlr_MULBLANK, Cell6(0, 3, 23) + Le16(24) + Le16(25) + Le16(5));
    EXPECT_EQ(Written([&](TOle2File &f) { blanks.SaveToStream(&f); }), mulblank);
    EXPECT_EQ(blanks.GetTotalSize(), 6 + 2 * 3 + 4);
    EXPECT_EQ(Written([&](TOle2File &f) { blanks.SaveRangeToStream(&f, {0, 0, 4, 10}); }),
              Record(xlr_MULBLANK, Cell6(0, 3, 23) + Le16(24) + Le16(4)));
}

TEST(MulRecords, OtherCellsBreakARun)
{
    TCellRecordList row;
    row.Add(TBlankRecord::CreateFromData(0, 0, 15));
    row.Add(RK(0, 1, 15, 0x40080000u));
    row.Add(RK(0, 2, 15, 0x40080000u));
    row.Add(TNumberRecord::CreateFromData(0, 3, 15));
    row.Add(RK(0, 4, 15, 0x40080000u));
    row.Add(TBlankRecord::CreateFromData(0, 5, 15));
    row.Add(TBlankRecord::CreateFromData(0, 7, 15));
    const QByteArray out = Written([&](TOle2File &f) { row.SaveToStream(&f); });
    // BLANK, MULRK of two, NUMBER, RK, BLANK, BLANK
    EXPECT_EQ(out.size(), 10 + 22 + 18 + 14 + 10 + 10);
    EXPECT_EQ(row.GetTotalSize(), out.size());
    EXPECT_EQ(GetWord(reinterpret_cast<const uint8_t *>(out.constData()), 10), xlr_MULRK);
}
