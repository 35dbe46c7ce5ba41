// The sheet references table: which sheet an EXTERNSHEET entry names, the prefix formulas show,
// entries kept right when sheets come and go, and the EXTERNSHEET split into CONTINUE records.
#include "GlobalsFixture.h"

#include <vector>

using namespace glob;

namespace {

// A SUPBOOK of another book: its encoded name, then one string per sheet.
QByteArray ExternalBook(const QByteArray &Encoded, std::initializer_list<QByteArray> Sheets)
{
    QByteArray d = Le16(int(Sheets.size())) + Str16(Encoded);
    for (const QByteArray &s : Sheets)
        d += Str16(s);
    return d;
}

using TRefs = std::vector<std::array<int, 3>>;

TRefs RefsOf(const TReferences &R)
{
    TRefs r;
    for (int i = 0; i < R.ExternRefCount(); ++i)
        r.push_back({R.ExternRef(i)->SupBookRecord, R.ExternRef(i)->FirstSheet, R.ExternRef(i)->LastSheet});
    return r;
}

QString Range(int Index, const char *Property, int Max)
{
    return QStringLiteral("The index \"%1\" of the property \"%2\" is not in the range 0-%3")
        .arg(Index)
        .arg(QLatin1String(Property))
        .arg(Max);
}

// Four sheets, this book's SUPBOOK, an external book with sheet Jan, and entries into both.
QByteArray FourSheets()
{
    return Bof() + BoundSheet("Sheet1") + BoundSheet("Sheet2") + BoundSheet("Sheet3") + BoundSheet("Sheet4")
           + LocalSupBook(4) + Record(0x01AE, ExternalBook("\x01\x01" "Cdata\x03" "book.xls", {"Jan"}))
           + ExternSheet({{0, 2, 2}, {0, 1, 3}, {1, 0, 0}, {0, 0xFFFE, 0xFFFE}, {7, 0, 0}}) + EmptySst() + Eof();
}

} // namespace

TEST(References, SheetsAndPrefixes)
{
    TWorkbookGlobals G;
    Load(G, FourSheets());
    TReferences &R = G.References();
    EXPECT_EQ(R.LocalSupBook, 0);
    EXPECT_EQ(R.GetSheet(0), 2);
    EXPECT_EQ(R.GetSheet(1), -1); // a range of sheets
    EXPECT_EQ(R.GetSheet(2), -1); // another book
    EXPECT_EQ(R.GetSheetName(0, &G), "'Sheet3'!");
    EXPECT_EQ(R.GetSheetName(1, &G), "'Sheet2:Sheet4'!");
    EXPECT_EQ(R.GetSheetName(2, &G), "'C:\\data\\[book.xls]Jan'!");
    EXPECT_EQ(R.GetSheetName(3, &G), ""); // no sheet
    EXPECT_EQ(MessageOf([&] { R.GetSheetName(4, &G); }), Range(7, "idx", 1));
    EXPECT_EQ(MessageOf([&] { R.GetSheet(5); }), Range(5, "Sheet Reference", 4));
    // read as an unsigned word
    EXPECT_EQ(MessageOf([&] { R.GetSheetName(-1, &G); }), Range(65535, "Sheet Reference", 4));

    EXPECT_EQ(R.SetSheet(2), 0);
    EXPECT_EQ(R.SetSheet(3), 5);
    EXPECT_EQ(RefsOf(R).back(), (std::array<int, 3>{0, 3, 3}));
    EXPECT_EQ(R.AddSheet(4, 1, 3), 1);
    EXPECT_EQ(R.AddSheet(4, 0, 3), 6);
}

TEST(References, BookNames)
{
    const struct
    {
        QByteArray encoded;
        QString book, prefix;
    } cases[] = {
        {"\x01\x01" "Cdata\x03" "book.xls", "C:\\data\\book.xls", "'C:\\data\\[book.xls]Jan'!"},
        {"\x01\x01@srv\x03" "share\x02" "b.xls", "\\\\srv\\share\\b.xls", "'\\\\srv\\share\\[b.xls]Jan'!"},
        {"\x01\x04up.xls", "..\\up.xls", "'..\\[up.xls]Jan'!"},
        {"\x01" "D:x.xls", "D:x.xls", "'D:[x.xls]Jan'!"},
        {"plain.xls", "plain.xls", "'[plain.xls]Jan'!"},
        {"\x02self", "", "'Jan'!"},
        {QByteArray("\x00x", 2), "", "'Jan'!"},
    };
    for (const auto &c : cases) {
        TReferences R;
        R.AddSupBook(Make<TSupBookRecord>(0x01AE, ExternalBook(c.encoded, {"Jan"})).release());
        auto es = Make<TExternSheetRecord>(0x0017, Le16(1) + Le16(0) + Le16(0) + Le16(0));
        R.AddExternRef(es.get());
        EXPECT_EQ(R.SupBook(0)->BookName(), c.book) << c.encoded.toStdString();
        EXPECT_EQ(R.GetSheetName(0, nullptr), c.prefix) << c.encoded.toStdString();
        EXPECT_EQ(R.SupBook(0)->SheetName(1, nullptr), "");
    }
    auto local = Make<TSupBookRecord>(0x01AE, Le16(3) + B({1, 4}));
    auto addIn = Make<TSupBookRecord>(0x01AE, Le16(1) + B({1, 0x3A}));
    EXPECT_TRUE(local->IsLocal());
    EXPECT_TRUE(addIn->IsAddIn());
    EXPECT_EQ(local->BookName(), "");
    // a count beyond the workbook's sheets names nothing there
    TWorkbookGlobals none;
    EXPECT_EQ(local->SheetName(1, &none), "");
    EXPECT_EQ(addIn->BookName(), "");
}

TEST(References, DeletingAndInsertingSheets)
{
    TWorkbookGlobals G;
    Load(G, Bof() + BoundSheet("Sheet1") + BoundSheet("Sheet2") + BoundSheet("Sheet3") + LocalSupBook(3)
                + Record(0x01AE, ExternalBook("x.xls", {"A", "B"}))
                + ExternSheet({{0, 1, 1}, {0, 2, 2}, {0, 0, 2}, {1, 1, 1}, {0, 0xFFFE, 0xFFFE}}) + EmptySst()
                + Eof());
    TReferences &R = G.References();
    G.DeleteSheets(1, 1);
    EXPECT_EQ(RefsOf(R), (TRefs{{0, 0xFFFF, 0xFFFF}, {0, 1, 1}, {0, 0, 1}, {1, 1, 1}, {0, 0xFFFE, 0xFFFE}}));
    EXPECT_EQ(R.SupBook(0)->SheetCount(), 2);
    EXPECT_EQ(G.SheetCount(), 2);
    EXPECT_EQ(G.GetSheetName(1), "Sheet3");

    G.InsertSheets(-1, 1, 0, "Sheet", 2);
    EXPECT_EQ(RefsOf(R), (TRefs{{0, 0xFFFF, 0xFFFF}, {0, 3, 3}, {0, 0, 3}, {1, 1, 1}, {0, 0xFFFE, 0xFFFE}}));
    EXPECT_EQ(R.SupBook(0)->SheetCount(), 4);
    // each new sheet goes in at the same place
    const QStringList names = {G.GetSheetName(0), G.GetSheetName(1), G.GetSheetName(2), G.GetSheetName(3)};
    EXPECT_EQ(names, QStringList({"Sheet1", "Sheet2", "Sheet", "Sheet3"}));

    // a shift past 65000 is refused and changes nothing
    TReferences Big;
    Big.AddSupBook(TSupBookRecord::CreateEmpty(3));
    Big.AddSheet(3, 64999, 64999);
    Big.AddSheet(3, 2, 2);
    EXPECT_EQ(MessageOf([&] { Big.InsertSheets(0, 2); }),
              "Too many entries for this kind of record (65001 out of a maximum of 65000)");
    EXPECT_EQ(RefsOf(Big), (TRefs{{0, 64999, 64999}, {0, 2, 2}}));
    EXPECT_EQ(Big.SupBook(0)->SheetCount(), 3);
    EXPECT_EQ(MessageOf([&] { Big.InsertSheets(0, -4); }),
              "Too many entries for this kind of record (-1 out of a maximum of 65000)");

    // the entries of another book are not this book's sheets
    auto other = Make<TSupBookRecord>(0x01AE, ExternalBook("x.xls", {"A"}));
    EXPECT_EQ(MessageOf([&] { other->InsertSheets(1); }), "Error reading Excel records. File invalid");
}

TEST(References, ExternSheetSplitOnSave)
{
    TReferences R;
    for (int i = 0; i < 1371; ++i)
        EXPECT_EQ(R.AddSheet(5, i, i), i);
    const QByteArray out = Written([&](TOle2File &f) { R.SaveToStream(&f); });
    ASSERT_EQ(out.size(), 8 + 4 + 8222 + 4 + 6);
    EXPECT_EQ(R.TotalSize(), out.size());
    EXPECT_EQ(out.left(8), LocalSupBook(5));
    EXPECT_EQ(out.mid(8, 6), Header(0x0017, 8222) + Le16(1371));
    EXPECT_EQ(out.mid(14 + 8214, 6), Le16(0) + Le16(1369) + Le16(1369));
    EXPECT_EQ(out.mid(14 + 8220), Header(0x003C, 6) + Le16(0) + Le16(1370) + Le16(1370));

    // and reads back across the CONTINUE record
    TReferences Back;
    Stream s(out.mid(8));
    std::unique_ptr<TBaseRecord> es(LoadRecord(s.file.get(), s.Header));
    Back.AddSupBook(TSupBookRecord::CreateEmpty(5));
    Back.AddExternRef(es.get());
    EXPECT_EQ(RefsOf(Back), RefsOf(R));

    // 1370 entries need no CONTINUE; none need no EXTERNSHEET
    TReferences Exact, None;
    for (int i = 0; i < 1370; ++i)
        Exact.AddSheet(5, i, i);
    EXPECT_EQ(Written([&](TOle2File &f) { Exact.SaveToStream(&f); }).size(), 8 + 4 + 8222);
    EXPECT_EQ(Exact.TotalSize(), 8 + 4 + 8222);
    None.AddSupBook(TSupBookRecord::CreateEmpty(1));
    EXPECT_EQ(Written([&](TOle2File &f) { None.SaveToStream(&f); }), LocalSupBook(1));
    EXPECT_EQ(None.TotalSize(), 8);
}

TEST(References, BadInput)
{
    // a count beyond the data is refused before anything is made from it
    TReferences R;
    auto es = Make<TExternSheetRecord>(0x0017, Le16(3) + Le16(0) + Le16(1) + Le16(1));
    EXPECT_EQ(MessageOf([&] { R.AddExternRef(es.get()); }), "Error reading record");
    EXPECT_EQ(R.ExternRefCount(), 0);
    auto empty = Make<TExternSheetRecord>(0x0017, B({1}));
    EXPECT_EQ(MessageOf([&] { R.AddExternRef(empty.get()); }), "Error reading record");

    auto name = Make<TExternNameRecord>(0x0023, Le16(0) + Le32(0) + B({2, 0}) + "ab");
    EXPECT_EQ(name->Name(), "ab");
    EXPECT_EQ(MessageOf([&] { R.AddExternName(name.get()); }), "Error reading Excel records. File invalid");
    auto wide = Make<TExternNameRecord>(0x0023, Le16(0) + Le32(0) + B({1, 1}) + Le16(0x20AC));
    EXPECT_EQ(wide->Name(), QString(QChar(0x20AC)));
    // names that do not fit their record
    for (const QByteArray &d : {Le16(0) + Le32(0) + B({2}), Le16(0) + Le32(0) + B({3, 0}) + "ab",
                                Le16(0) + Le32(0) + B({1, 1}) + "a"})
        EXPECT_EQ(MessageOf([&] { Make<TExternNameRecord>(0x0023, d); }), "Record with ID 0x23 is invalid");

    // a sheet name past the SUPBOOK's data
    TReferences Cut;
    Cut.AddSupBook(Make<TSupBookRecord>(0x01AE, Le16(2) + Str16("b.xls") + Le16(9) + B({0}) + "Jan").release());
    auto one = Make<TExternSheetRecord>(0x0017, Le16(1) + Le16(0) + Le16(1) + Le16(1));
    Cut.AddExternRef(one.get());
    EXPECT_EQ(MessageOf([&] { Cut.GetSheetName(0, nullptr); }), "Error reading record");
    EXPECT_EQ(MessageOf([&] { Make<TSupBookRecord>(0x01AE, B({1})); }), "Record with ID 0x1AE is invalid");
}
