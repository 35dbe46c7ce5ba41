// The empty workbook's "Workbook" stream: the records in order with their fields, the padding,
// and what the engine's loaders make of it.
#include "TemplateFixture.h"
#include "tests/progrid/xls/workbook/GlobalsFixture.h"

#include <QtEndian>

using namespace tpl;

namespace {

QByteArray Str8(const QByteArray &s) { return B({int(s.size()), 0}) + s; }
QByteArray Str16(const QByteArray &s) { return Le16(int(s.size())) + B({0}) + s; }
QByteArray Dbl(double v)
{
    QByteArray b(8, 0);
    qToLittleEndian(v, b.data());
    return b;
}

struct Want
{
    uint16_t Id;
    QByteArray Data;
    bool Exact = true;
};
Want Is(uint16_t id, const QByteArray &data) { return {id, data, true}; }
Want Any(uint16_t id) { return {id, {}, false}; }
Want W16(uint16_t id, int v) { return Is(id, Le16(v)); }

QByteArray BofData(int type)
{
    return Le16(0x0600) + Le16(type) + Le16(4920) + Le16(1997) + Le32(0xC0C1) + Le32(0x0306);
}

// The records in the order of the template's description; fields it fixes are compared whole,
// the rest (user name, stream offsets, XF records) by the tests below.
std::vector<Want> Expected()
{
    std::vector<Want> w = {
        Is(0x0809, BofData(5)), W16(0x00E1, 1200), W16(0x00C1, 0), Is(0x00E2, {}), Any(0x005C),
        W16(0x0042, 1200), W16(0x0161, 0), Is(0x01C0, {}), W16(0x013D, 1), W16(0x009C, 14),
        W16(0x0019, 0), W16(0x0012, 0), W16(0x0013, 0), W16(0x01AF, 0), W16(0x01BC, 0),
        Is(0x003D, Le16(360) + Le16(240) + Le16(14940) + Le16(9150) + Le16(0x38) + Le16(0) + Le16(0) + Le16(1)
                       + Le16(600)),
        W16(0x0040, 0), W16(0x008D, 0), W16(0x0022, 0), W16(0x000E, 1), W16(0x01B7, 0), W16(0x00DA, 0)};
    for (int i = 0; i < 4; ++i)
        w.push_back(Is(0x0031, Le16(200) + Le16(0) + Le16(0x7FFF) + Le16(400) + Le16(0) + B({0, 0, 0, 0})
                                   + Str8("Arial")));
    const std::pair<int, const char *> formats[] = {
        {5, R"("$U"\ #,##0;"$U"\ \-#,##0)"},
        {6, R"("$U"\ #,##0;[Red]"$U"\ \-#,##0)"},
        {7, R"("$U"\ #,##0.00;"$U"\ \-#,##0.00)"},
        {8, R"("$U"\ #,##0.00;[Red]"$U"\ \-#,##0.00)"},
        {42, R"(_ "$U"\ * #,##0_ ;_ "$U"\ * \-#,##0_ ;_ "$U"\ * "-"_ ;_ @_ )"},
        {41, R"(_ * #,##0_ ;_ * \-#,##0_ ;_ * "-"_ ;_ @_ )"},
        {44, R"(_ "$U"\ * #,##0.00_ ;_ "$U"\ * \-#,##0.00_ ;_ "$U"\ * "-"??_ ;_ @_ )"},
        {43, R"(_ * #,##0.00_ ;_ * \-#,##0.00_ ;_ * "-"??_ ;_ @_ )"},
    };
    for (const auto &f : formats)
        w.push_back(Is(0x041E, Le16(f.first) + Str16(f.second)));
    for (int i = 0; i < 21; ++i)
        w.push_back(Any(0x00E0));
    // Comma, Comma [0], Currency, Currency [0], Normal, Percent
    const int styles[][2] = {{16, 3}, {17, 6}, {18, 4}, {19, 7}, {0, 0}, {20, 5}};
    for (const auto &s : styles)
        w.push_back(Is(0x0293, Le16(0x8000 | s[0]) + B({s[1], 0xFF})));
    const std::vector<Want> rest = {
        W16(0x0160, 0), Any(0x0085), Is(0x008C, Le16(1) + Le16(598)), Any(0x01C1),
        Is(0x00FC, Le32(0) + Le32(0)), W16(0x00FF, 8), Any(0x0863), Is(0x000A, {}),
        // Sheet1
        Is(0x0809, BofData(0x10)), Any(0x020B), W16(0x000D, 1), W16(0x000C, 100), W16(0x000F, 1),
        W16(0x0011, 0), Is(0x0010, Dbl(0.001)), W16(0x005F, 1), W16(0x002A, 0), W16(0x002B, 0), W16(0x0082, 1),
        Is(0x0080, QByteArray(8, 0)), Is(0x0225, Le16(0) + Le16(255)), W16(0x0081, 0x04C1), Is(0x0014, {}),
        Is(0x0015, {}), W16(0x0083, 0), W16(0x0084, 0),
        Is(0x00A1, Le16(0) + Le16(255) + Le16(1) + Le16(1) + Le16(1) + Le16(4) + Le16(0) + Le16(0) + Dbl(0.5)
                       + Dbl(0.5) + Le16(0)),
        W16(0x0055, 8), Is(0x0200, QByteArray(14, 0)),
        Is(0x023E, Le16(0x06B6) + Le16(0) + Le16(0) + Le16(64) + QByteArray(10, 0)),
        Is(0x001D, B({3}) + Le16(0) + Le16(0) + Le16(0) + Le16(1) + Le16(0) + Le16(0) + B({0, 0})), Any(0x00EF),
        Is(0x000A, {})};
    w.insert(w.end(), rest.begin(), rest.end());
    return w;
}

int IndexOf(const std::vector<Rec> &r, uint16_t id, size_t from = 0)
{
    for (size_t i = from; i < r.size(); ++i)
        if (r[i].Id == id)
            return int(i);
    return -1;
}

} // namespace

TEST(TemplateWorkbook, RecordsInOrderThenZeroPadding)
{
    const QByteArray s = StreamBytes("Workbook");
    ASSERT_EQ(s.size(), 4096);
    const std::vector<Rec> r = Records(s);
    const std::vector<Want> w = Expected();
    ASSERT_EQ(r.size(), w.size());
    for (size_t i = 0; i < w.size(); ++i) {
        ASSERT_EQ(r[i].Id, w[i].Id) << "record " << i;
        if (w[i].Exact) {
            EXPECT_EQ(r[i].Data.toHex(' '), w[i].Data.toHex(' ')) << "record " << i << " id " << std::hex << w[i].Id;
        }
    }
    const int64_t end = r.back().Pos + 4;
    EXPECT_EQ(s.mid(end), QByteArray(4096 - end, 0));
}

TEST(TemplateWorkbook, UserNameSheetOffsetsAndPhonetic)
{
    const QByteArray s = StreamBytes("Workbook");
    const std::vector<Rec> r = Records(s);
    // WRITEACCESS: 112 bytes, a user name (2-byte count, 8-bit characters) then spaces.
    const QByteArray wa = r[IndexOf(r, 0x005C)].Data;
    ASSERT_EQ(wa.size(), 112);
    const int n = Get16(wa, 0);
    EXPECT_GT(n, 0);
    EXPECT_EQ(wa[2], '\0');
    EXPECT_EQ(wa.mid(3 + n), QByteArray(112 - 3 - n, ' '));
    // BOUNDSHEET: a visible worksheet "Sheet1" whose offset is that of the sheet's BOF.
    const QByteArray bs = r[IndexOf(r, 0x0085)].Data;
    const int sheetBof = IndexOf(r, 0x0809, 1);
    EXPECT_EQ(bs.mid(4), Le16(0) + Str8("Sheet1"));
    EXPECT_EQ(Get32(bs, 0), uint32_t(r[sheetBof].Pos));
    // INDEX: no rows; its DEFCOLWIDTH position.
    const QByteArray ix = r[IndexOf(r, 0x020B)].Data;
    ASSERT_EQ(ix.size(), 16);
    EXPECT_EQ(ix.left(12), QByteArray(12, 0));
    EXPECT_EQ(Get32(ix, 12), uint32_t(r[IndexOf(r, 0x0055)].Pos));
    EXPECT_EQ(r[IndexOf(r, 0x00EF)].Data.size(), 6);
}

TEST(TemplateWorkbook, CellFormats)
{
    const std::vector<Rec> r = Records(StreamBytes("Workbook"));
    const int first = IndexOf(r, 0x00E0);
    // font, format, style XF
    struct X
    {
        int Font, Format;
        bool Style;
    };
    std::vector<X> want = {{0, 0, true}, {1, 0, true}, {1, 0, true}, {2, 0, true}, {2, 0, true}};
    for (int i = 5; i <= 14; ++i)
        want.push_back({0, 0, true});
    want.push_back({0, 0, false});
    for (int fmt : {43, 41, 44, 42, 9})
        want.push_back({1, fmt, true});
    for (int i = 0; i < 21; ++i) {
        const QByteArray x = r[first + i].Data;
        ASSERT_EQ(x.size(), 20) << i;
        EXPECT_EQ(Get16(x, 0), want[i].Font) << "XF " << i;
        EXPECT_EQ(Get16(x, 2), want[i].Format) << "XF " << i;
        const uint16_t prot = Get16(x, 4);
        EXPECT_EQ(prot & 1, 1) << "locked, XF " << i;
        EXPECT_EQ(bool(prot & 4), want[i].Style) << "XF " << i;
        // A style XF has no parent (0xFFF); the cell XF's parent is XF 0.
        EXPECT_EQ(prot >> 4, want[i].Style ? 0xFFF : 0) << "XF " << i;
        EXPECT_EQ(uint8_t(x[6]), 0x20) << "bottom, general: XF " << i;
        EXPECT_EQ(x.mid(10, 8), QByteArray(8, 0)) << "no borders, no fill: XF " << i;
    }
}

TEST(TemplateWorkbook, GlobalsAndSheetLoad)
{
    const QByteArray s = StreamBytes("Workbook");
    Stream in(s);
    std::unique_ptr<TBaseRecord> first(LoadRecord(in.file.get(), in.Header));
    auto *bof = dynamic_cast<TBOFRecord *>(first.get());
    ASSERT_TRUE(bof);
    first.release();
    TWorkbookGlobals G;
    G.LoadFromStream(in.file.get(), in.Header, bof, nullptr);
    EXPECT_EQ(G.SheetCount(), 1);
    EXPECT_EQ(G.GetSheetName(0), "Sheet1");
    EXPECT_EQ(G.GetSheetVisible(0), sv_Visible);
    EXPECT_EQ(G.Fonts().Count(), 4);
    EXPECT_EQ(G.Formats().Count(), 8);
    EXPECT_EQ(G.XF().Count(), 21);
    EXPECT_EQ(G.SST().Count(), 0);
    EXPECT_EQ(G.ActiveSheet(), 0);
    EXPECT_FALSE(G.Is1904());
    EXPECT_FALSE(G.PrecisionAsDisplayed());
    EXPECT_TRUE(G.SaveExternalLinkValues());
    EXPECT_FALSE(G.IsXltTemplate());
    EXPECT_FALSE(G.HasMacro());
    // What the globals write back is what they measure, and loads to the same bytes again.
    const QByteArray saved = glob::Saved(G);
    EXPECT_EQ(saved.size(), G.TotalSize());
    TWorkbookGlobals again;
    glob::Load(again, saved);
    EXPECT_EQ(glob::Saved(again), saved);

    // The sheet follows, and the record reader reads it in the listed order.
    const std::vector<Rec> listed = Records(s);
    size_t k = size_t(IndexOf(listed, 0x0809, 1));
    for (;; ++k) {
        const uint16_t id = in.Header.Id;
        ASSERT_EQ(id, listed[k].Id) << "record " << k;
        std::unique_ptr<TBaseRecord> rec(LoadRecord(in.file.get(), in.Header));
        EXPECT_EQ(DataOf(*rec), listed[k].Data) << "record " << k;
        if (k == size_t(IndexOf(listed, 0x0809, 1))) {
            EXPECT_EQ(static_cast<TBOFRecord *>(rec.get())->BOFType(), 0x10);
        }
        if (id == 0x000A)
            break;
    }
    EXPECT_EQ(k + 1, listed.size());
}
