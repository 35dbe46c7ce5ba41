// The workbook globals: records routed into their tables on load, written back in place and in
// the section's order, the sizes, options, palette, sheets and name rules.
#include "GlobalsFixture.h"

using namespace glob;

namespace {

QByteArray Window1() { return Record(0x003D, Le16(0) + Le16(0) + Le16(0x2000) + Le16(0x1000) + Le16(0x38) + Le16(2) + Le16(1) + Le16(1) + Le16(0x258)); }
QByteArray Country() { return Record(0x008C, Le16(1) + Le16(49)); }
QByteArray Format164() { return Record(0x041E, Le16(164) + Str16("0.000")); }

// The default drawing group: Dgg, an empty BStore, default properties and split menu colours.
QByteArray DrawingGroup()
{
    const auto atom = [](int pre, int id, const char *hex) {
        const QByteArray body = QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
        return Le16(pre) + Le16(id) + Le32(uint32_t(body.size())) + body;
    };
    const QByteArray children = atom(0, 0xF006, "02000000 01000000 00000000 00000000") + atom(0x2F, 0xF001, "")
                                + atom(0x33, 0xF00B, "BF 00 08 00 08 00 81 01 09 00 00 08 C0 01 40 00 00 08")
                                + atom(0x40, 0xF11E, "0D 00 00 08 0C 00 00 08 17 00 00 08 F7 00 00 10");
    return Record(0x00EB, Le16(0xF) + Le16(0xF000) + Le32(uint32_t(children.size())) + children);
}

// The globals of the round trip, in the order the globals write them; the name Total is
// 'Data'!$A$1:$B$2.
QByteArray FullGlobals()
{
    return Bof() + Record(0x0060, {}) + Window1() + Record(0x0042, Le16(1200)) + Record(0x0161, B({7, 0}))
           + Country() + Record(0x0022, Le16(0)) + Record(0x000E, Le16(1)) + Record(0x00DA, Le16(0))
           + Font("Arial") + Font("Tahoma") + Format164() + Xf(0) + Xf(1) + Xf(0) + Style(0)
           + BoundSheet("Sheet1") + BoundSheet("Data", 1)
           + Record(0x01AE, Le16(1) + Str16("\x01\x01" "Cdata\x03" "book.xls") + Str16("Jan"))
           + Record(0x0023, Le16(0) + Le32(0) + B({3, 0}) + "abc" + Le16(2) + B({0x1C, 0x17})) + LocalSupBook(2)
           + ExternSheet({{0, 0, 0}, {1, 1, 1}})
           + Record(0x0018, Le16(0) + B({0, 5}) + Le16(11) + Le16(0) + Le16(0) + QByteArray(5, 0) + "Total"
                                + B({0x3B}) + Le16(1) + Le16(0) + Le16(1) + Le16(0) + Le16(1))
           + DrawingGroup() + EmptySst() + Eof();
}

int IndexOfId(TBaseRecordList &L, int Id, int From = 0)
{
    for (int i = From; i < L.Count(); ++i)
        if (L.Items(i)->Id == Id)
            return i;
    return -1;
}

} // namespace

TEST(Globals, RoundTripAndSize)
{
    TWorkbookGlobals G;
    const QByteArray in = FullGlobals();
    Load(G, in);
    EXPECT_EQ(G.SheetCount(), 2);
    EXPECT_EQ(G.GetSheetName(1), "Data");
    EXPECT_EQ(G.GetSheetVisible(1), sv_Hidden);
    EXPECT_EQ(G.Fonts().Count(), 2);
    EXPECT_EQ(G.Formats().Count(), 1);
    EXPECT_EQ(G.XF().Count(), 3);
    EXPECT_EQ(G.References().SupBookCount(), 2);
    EXPECT_EQ(G.References().SupBook(0)->ExternNames().Count(), 1);
    EXPECT_EQ(G.References().LocalSupBook, 1);
    EXPECT_EQ(G.References().GetSheetName(0, &G), "'C:\\data\\[book.xls]Jan'!");
    EXPECT_EQ(G.References().GetSheetName(1, &G), "'Data'!");
    EXPECT_TRUE(G.IsXltTemplate());
    EXPECT_FALSE(G.HasMacro());
    EXPECT_NE(G.DrawingGroup().RecordCache()->Dgg, nullptr);
    ASSERT_EQ(G.Names().Count(), 1);
    EXPECT_EQ(G.GetName(-1, "TOTAL"), G.Names().Items(0));
    EXPECT_EQ(G.References().GetName(-1, 0, &G), "Total");
    // WINDOW1, CODEPAGE, the unknown record, COUNTRY, 1904, PRECISION, BOOKBOOL, three
    // placeholders and STYLE
    EXPECT_EQ(G.MiscRecords().Count(), 11);
    EXPECT_EQ(G.ActiveSheet(), 2);
    EXPECT_FALSE(G.Is1904());
    EXPECT_FALSE(G.PrecisionAsDisplayed());
    EXPECT_TRUE(G.SaveExternalLinkValues());

    const QByteArray out = Saved(G);
    EXPECT_EQ(out, in);
    EXPECT_EQ(G.TotalSize(), out.size());

    // one sheet's copy: only its BOUNDSHEET and no drawing group, sized the same way
    const QByteArray range = Written([&](TOle2File &f) { G.SaveRangeToStream(&f, 1, {0, 0, 3, 3}); });
    QByteArray expected = in;
    expected.remove(expected.indexOf(BoundSheet("Sheet1")), BoundSheet("Sheet1").size());
    expected.remove(expected.indexOf(DrawingGroup()), DrawingGroup().size());
    EXPECT_EQ(range, expected);
    EXPECT_EQ(G.TotalRangeSize(1, {0, 0, 3, 3}), range.size());
    EXPECT_EQ(MessageOf([&] { G.TotalRangeSize(2, {}); }), "Sheet number \"2\" invalid. Must be between 0 and 1");

    // what it wrote loads and writes back the same
    TWorkbookGlobals Again;
    Load(Again, out);
    EXPECT_EQ(Saved(Again), out);

    G.Clear();
    EXPECT_EQ(G.SheetCount(), 0);
    EXPECT_EQ(G.MiscRecords().Count(), 0);
    EXPECT_EQ(G.Names().Count(), 0);
    EXPECT_EQ(G.ActiveSheet(), 0);
    EXPECT_FALSE(G.IsXltTemplate());
    EXPECT_EQ(MessageOf([&] { Saved(G); }), "A section of the workbook is not loaded");
}

TEST(Globals, ListsWithoutPlaceholderGoToTheirPlace)
{
    // no FORMAT records: a new one goes between the fonts and the cell formats
    TWorkbookGlobals G;
    Load(G, Bof() + Window1() + Font("Arial") + Xf(0) + Style(0) + BoundSheet("S") + EmptySst() + Eof());
    EXPECT_EQ(G.Formats().AddFormat("0.000"), 164);
    const QByteArray want =
        Bof() + Window1() + Font("Arial") + Format164() + Xf(0) + Style(0) + BoundSheet("S") + EmptySst() + Eof();
    EXPECT_EQ(Saved(G), want);
    EXPECT_EQ(G.TotalSize(), want.size());

    // only a FORMAT placeholder: the fonts before it, the cell formats after it
    TWorkbookGlobals F;
    Load(F, Bof() + Format164() + Style(0) + EmptySst() + Eof());
    F.Fonts().Add(Make<TFontRecord>(0x31, Font("Arial").mid(4)).release());
    F.XF().Add(Make<TXFRecord>(0xE0, Xf(0).mid(4)).release());
    const QByteArray wantF = Bof() + Font("Arial") + Format164() + Xf(0) + Style(0) + EmptySst() + Eof();
    EXPECT_EQ(Saved(F), wantF);
    EXPECT_EQ(F.TotalSize(), wantF.size());

    // none of the three lists: all before the first cell style
    TWorkbookGlobals N;
    Load(N, Bof() + Window1() + Style(0) + Style(3) + EmptySst() + Eof());
    N.XF().Add(Make<TXFRecord>(0xE0, Xf(0).mid(4)).release());
    N.Fonts().Add(Make<TFontRecord>(0x31, Font("Arial").mid(4)).release());
    const QByteArray wantN = Bof() + Window1() + Font("Arial") + Xf(0) + Style(0) + Style(3) + EmptySst() + Eof();
    EXPECT_EQ(Saved(N), wantN);
    EXPECT_EQ(N.TotalSize(), wantN.size());
}

TEST(Globals, PaletteGoesBeforeTheLastStyle)
{
    QByteArray in = Bof();
    for (int i = 0; i < 21; ++i)
        in += Xf(0);
    for (int i = 0; i < 6; ++i)
        in += Style(i);
    in += EmptySst() + Eof();
    TWorkbookGlobals G;
    Load(G, in);
    EXPECT_EQ(G.PaletteCache(), nullptr);
    EXPECT_EQ(G.GetColorPalette(2), 0x0000FFu); // red
    EXPECT_EQ(G.GetColorPalette(10), 0x800000u); // navy
    EXPECT_EQ(G.GetColorPalette(12), 0x800080u); // purple
    G.SetColorPalette(9, 0x123456);
    ASSERT_NE(G.PaletteCache(), nullptr);
    TBaseRecordList &M = G.MiscRecords();
    EXPECT_EQ(IndexOfId(M, 0x0092), M.Count() - 2);
    EXPECT_EQ(M.Items(M.Count() - 1)->Id, 0x0293);
    EXPECT_EQ(G.GetColorPalette(9), 0x123456u);
    EXPECT_EQ(G.GetColorPalette(10), 0x800000u);

    const QByteArray out = Saved(G);
    EXPECT_EQ(G.TotalSize(), out.size());
    const int at = out.indexOf(Style(5));
    ASSERT_GT(at, 230);
    // 56 colours after the count
    EXPECT_EQ(out.mid(at - 230, 6), Header(0x0092, 226) + Le16(56));
    EXPECT_EQ(out.mid(at - 230 + 6 + 9 * 4, 4), Le32(0x123456));

    // a PALETTE read from the file is used and not added again
    TWorkbookGlobals P;
    Load(P, out);
    EXPECT_EQ(P.GetColorPalette(9), 0x123456u);
    P.SetColorPalette(9, 0x654321);
    EXPECT_EQ(P.MiscRecords().Count(), M.Count());
}

TEST(Globals, OptionsWithoutTheirRecords)
{
    TWorkbookGlobals G;
    Load(G, Bof() + EmptySst() + Eof());
    G.SetActiveSheet(3);
    G.SetFirstSheetVisible(2);
    G.SetIs1904(true);
    G.SetPrecisionAsDisplayed(true);
    G.SetSaveExternalLinkValues(true);
    EXPECT_EQ(G.ActiveSheet(), 0);
    EXPECT_FALSE(G.Is1904());
    EXPECT_FALSE(G.PrecisionAsDisplayed());
    EXPECT_FALSE(G.SaveExternalLinkValues());

    TWorkbookGlobals W;
    Load(W, Bof() + Window1() + Record(0x0022, Le16(1)) + Record(0x000E, Le16(0)) + Record(0x00DA, Le16(1))
                + EmptySst() + Eof());
    EXPECT_TRUE(W.Is1904());
    EXPECT_TRUE(W.PrecisionAsDisplayed());
    EXPECT_FALSE(W.SaveExternalLinkValues());
    W.SetIs1904(false);
    W.SetPrecisionAsDisplayed(false);
    W.SetSaveExternalLinkValues(true);
    W.SetActiveSheet(1);
    W.SetFirstSheetVisible(4);
    const QByteArray out = Saved(W);
    EXPECT_EQ(out.mid(20 + 4 + 10, 8), Le16(1) + Le16(4) + Le16(1) + Le16(0x258));
    EXPECT_EQ(out.mid(20 + 22, 18), Record(0x0022, Le16(0)) + Record(0x000E, Le16(1)) + Record(0x00DA, Le16(0)));
}

TEST(Globals, Sheets)
{
    TWorkbookGlobals G;
    Load(G, Bof() + BoundSheet("Sheet1") + BoundSheet("Sheet2") + EmptySst() + Eof());
    G.SetSheetName(0, "a/b:c?");
    EXPECT_EQ(G.GetSheetName(0), "a_b.c_");
    EXPECT_EQ(MessageOf([&] { G.SetSheetName(0, "Sheet2"); }), "Sheet name already exists: Sheet2");
    EXPECT_EQ(G.GetSheetName(0), "a_b.c_");
    EXPECT_EQ(G.GetSheetName(1), "Sheet2");
    G.SetSheetName(0, "Sheet1");
    G.SetSheetVisible(1, sv_VeryHidden);
    EXPECT_EQ(G.GetSheetOptionFlags(1), 2);
    G.SheetSetOffset(1, 0x01020304);
    const QByteArray out = Saved(G);
    EXPECT_EQ(G.TotalSize(), out.size());
    EXPECT_NE(out.indexOf(Record(0x0085, Le32(0x01020304) + Le16(2) + B({6, 0}) + "Sheet2")), -1);
    EXPECT_FALSE(MessageOf([&] { G.DeleteSheets(1, 2); }).isEmpty());
    EXPECT_EQ(G.SheetCount(), 2);
    G.DeleteSheets(0, 2);
    EXPECT_EQ(G.SheetCount(), 0);
    G.InsertSheets(-1, 0, 0, "Sheet1", 1);
    EXPECT_EQ(G.GetSheetName(0), "Sheet1");

    TWorkbookGlobals M;
    Load(M, Bof() + Record(0x00D3, {}) + BoundSheet("Sheet1") + EmptySst() + Eof());
    EXPECT_TRUE(M.HasMacro());
    EXPECT_EQ(MessageOf([&] { M.DeleteSheets(0, 1); }), "Can't delete a sheet on a file containing macros");
    EXPECT_EQ(M.SheetCount(), 1);
}

TEST(Globals, RangeNames)
{
    const struct
    {
        QString name;
        bool valid;
    } cases[] = {
        {"Total", true}, {"C", true},      {"_x1", true},   {"\\a", true},   {"AB", true},   {"AB1C", true},
        {"A1B", true},   {"xyz", true},    {"\u00E9t\u00E9", true},         {"a?b", true},  {"A1", false},
        {"R", false},    {"r", false},     {"a b", false},  {"a.b", false},  {"AB12", false}, {"A12", false},
        {"", false},     {"1a", false},    {"?a", false},   {"a@b", false},  {"a~", false},  {"a\u00A7", false},
        {"a\u00B5", true}, {QString(254, u'x'), true},       {QString(255, u'x'), false},
    };
    for (const auto &c : cases) {
        int32_t flags = 0;
        EXPECT_EQ(TWorkbookGlobals::IsValidRangeName(c.name, flags), c.valid) << c.name.toStdString();
        EXPECT_EQ(flags, 0);
    }
    // a built-in name is one character below 14
    int32_t flags = 0x10;
    EXPECT_TRUE(TWorkbookGlobals::IsValidRangeName(QString(QChar(6)), flags));
    EXPECT_EQ(flags, 0x30);
    flags = 0;
    EXPECT_FALSE(TWorkbookGlobals::IsValidRangeName(QString(QChar(14)), flags));

    // a built-in name drops the last COUNTRY record
    TWorkbookGlobals G;
    Load(G, Bof() + Country() + Window1() + Country() + EmptySst() + Eof());
    G.CheckInternalNames(0x10);
    EXPECT_EQ(G.MiscRecords().Count(), 3);
    G.CheckInternalNames(0x20);
    EXPECT_EQ(G.MiscRecords().Count(), 2);
    EXPECT_EQ(G.MiscRecords().Items(1)->Id, 0x003D);
    G.DeleteCountry();
    G.DeleteCountry();
    EXPECT_EQ(G.MiscRecords().Count(), 1);
    EXPECT_EQ(G.TotalSize(), Saved(G).size());
}

TEST(Globals, BadInput)
{
    const QString invalid = "Error reading Excel records. File invalid";
    const struct
    {
        QByteArray bytes;
        QString message;
    } cases[] = {
        {Bof() + Window1() + Bof() + Eof(), invalid},
        {Bof() + Record(0x0023, Le16(0) + Le32(0) + B({1, 0}) + "a") + Eof(), invalid},
        {Bof() + Record(0x0017, Le16(2) + Le16(0) + Le16(0) + Le16(0)) + Eof(), "Error reading record"},
        {Bof() + BoundSheet("Sheet1") + BoundSheet("Sheet1") + Eof(), "Sheet name already exists: Sheet1"},
        {Bof() + Record(0x01AE, B({1})) + Eof(), "Record with ID 0x1AE is invalid"},
    };
    for (const auto &c : cases) {
        TWorkbookGlobals G;
        EXPECT_EQ(MessageOf([&] { Load(G, c.bytes); }), c.message);
    }

    // cut at every byte: loads or refuses, and what loads writes what it announces
    const QByteArray full = FullGlobals();
    for (qsizetype n = 20; n < full.size(); ++n) {
        TWorkbookGlobals G;
        try {
            Load(G, full.left(n));
        } catch (const Exception &) {
            continue;
        }
        EXPECT_EQ(G.TotalSize(), Saved(G).size()) << n;
    }
}
