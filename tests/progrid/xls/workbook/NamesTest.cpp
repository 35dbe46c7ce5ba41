// Defined names in the globals: adding and finding them, the names behind formula name tokens,
// and the names following inserted and deleted rows, columns and sheets.
#include "GlobalsFixture.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/formulas/duzUXlsFormulaParser.h"

using namespace glob;

namespace {

// A NAME: option word, 8-bit name, local to sheet `sheet` (-1: global), then the tokens.
QByteArray Name(const QByteArray &name, const QByteArray &tokens, int sheet = -1, int options = 0)
{
    return Record(0x0018, Le16(options) + B({0, int(name.size())}) + Le16(int(tokens.size())) + Le16(0)
                              + Le16(sheet + 1) + B({0, 0, 0, 0}) + B({0}) + name + tokens);
}
QByteArray Area3D(int ext, int r1, int r2, int c1, int c2)
{
    return B({0x3B}) + Le16(ext) + Le16(r1) + Le16(r2) + Le16(c1) + Le16(c2);
}

// Formulas of names read and write sheets through the globals.
class TGlobalsCells : public IFormulaCellList
{
public:
    explicit TGlobalsCells(TWorkbookGlobals &g) : G(g) {}
    QString GetName(int32_t ExternSheet, int32_t NameId) override
    {
        return G.References().GetName(ExternSheet, NameId, &G);
    }
    QString GetSheetName(int32_t SheetNumber) override { return G.References().GetSheetName(SheetNumber, &G); }
    bool FindSheet(const QString &SheetName, int32_t &SheetIndex) override
    {
        for (int i = 0; i < G.SheetCount(); ++i)
            if (AnsiUpperCase(G.GetSheetName(i)) == AnsiUpperCase(SheetName)) {
                SheetIndex = i;
                return true;
            }
        return false;
    }
    int32_t AddExternSheet(int32_t FirstSheet, int32_t LastSheet) override
    {
        return G.References().AddSheet(G.SheetCount(), FirstSheet, LastSheet);
    }
    ByteArray ArrayFormula(int32_t, int32_t) override { return {}; }
    ByteArray TableFormula(int32_t, int32_t) override { return {}; }
    TWorkbookGlobals &G;
};

// Three sheets, this book's SUPBOOK with entries for sheets 0, 1 and 2, another book with one
// external name, a COUNTRY record and three names.
QByteArray ThreeSheets()
{
    return Bof() + Record(0x008C, Le16(1) + Le16(49)) + BoundSheet("Sheet1") + BoundSheet("Sheet2")
           + BoundSheet("Sheet3") + LocalSupBook(3) + Record(0x01AE, Le16(1) + Str16("x.xls") + Str16("A"))
           + Record(0x0023, Le16(0) + Le32(0) + B({3, 0}) + "ext")
           + ExternSheet({{0, 0, 0}, {0, 1, 1}, {0, 2, 2}, {1, 0, 0}, {7, 0, 0}})
           + Name("Global", Area3D(1, 2, 4, 0, 1)) + Name("Local1", Area3D(1, 0, 0, 0, 0), 1)
           + Name("Local2", Area3D(2, 5, 5, 3, 3), 2) + EmptySst() + Eof();
}

std::array<int, 4> AreaOf(const TNameRecord *n) { return {n->GetR1(), n->GetR2(), n->GetC1(), n->GetC2()}; }

} // namespace

TEST(Names, AddAndFind)
{
    TWorkbookGlobals G;
    Load(G, ThreeSheets());
    TGlobalsCells cells(G);
    ASSERT_EQ(G.Names().Count(), 3);
    EXPECT_EQ(G.GetName(-1, "GLOBAL"), G.Names().Items(0));
    EXPECT_EQ(G.GetName(1, "local1"), G.Names().Items(1));
    EXPECT_EQ(G.GetName(-1, "Local1"), nullptr);

    // equal but for letter case on the same sheet: replaced
    G.AddName({"GLOBAL", "=Sheet3!$B$2", 0, -1}, &cells);
    ASSERT_EQ(G.Names().Count(), 3);
    EXPECT_EQ(G.Names().Items(0)->Name(), "GLOBAL");
    EXPECT_EQ(AreaOf(G.Names().Items(0)), (std::array<int, 4>{1, 1, 1, 1}));
    EXPECT_EQ(G.Names().Items(0)->RefersToSheet([&](int32_t r) { return G.References().GetSheet(r); }), 2);
    // the same name on another sheet is another name
    G.AddName({"global", "", 0, 0}, &cells);
    EXPECT_EQ(G.Names().Count(), 4);
    EXPECT_EQ(G.GetName(0, "Global"), G.Names().Items(3));
    EXPECT_EQ(G.GetName(-1, "Global"), G.Names().Items(0));

    EXPECT_EQ(MessageOf([&] { G.AddName({"A1", "", 0, -1}, &cells); }), "Invalid named range: \"A1\"");
    EXPECT_EQ(MessageOf([&] { G.AddName({"a b", "", 0, -1}, &cells); }), "Invalid named range: \"a b\"");
    EXPECT_EQ(G.Names().Count(), 4);

    // a built-in name drops the COUNTRY record
    EXPECT_EQ(G.MiscRecords().Count(), 1);
    G.AddName({QString(QChar(6)), "", 0, 0}, &cells);
    EXPECT_EQ(G.Names().Count(), 5);
    EXPECT_EQ(GetWord(G.Names().Items(4)->Data, 0) & 0x20, 0x20);
    EXPECT_EQ(G.MiscRecords().Count(), 0);
    const QByteArray out = Saved(G);
    EXPECT_EQ(G.TotalSize(), out.size());

    // a name read from a file replaces whatever its name
    TWorkbookGlobals B1;
    Load(B1, Bof() + BoundSheet("S") + Name("R", {}) + EmptySst() + Eof());
    TGlobalsCells c1(B1);
    B1.AddName({"r", "", 0, -1}, &c1);
    EXPECT_EQ(B1.Names().Count(), 1);
    EXPECT_EQ(B1.Names().Items(0)->Name(), "r");
}

TEST(Names, NamesOfFormulaTokens)
{
    TWorkbookGlobals G;
    Load(G, ThreeSheets());
    TReferences &R = G.References();
    EXPECT_EQ(R.GetName(-1, 1, &G), "Local1");
    EXPECT_EQ(R.GetName(0, 2, &G), "Local2"); // an entry of this book
    EXPECT_EQ(R.GetName(3, 0, &G), "ext");
    const auto range = [](int i, const char *p, int max) {
        return QStringLiteral("The index \"%1\" of the property \"%2\" is not in the range 0-%3")
            .arg(i)
            .arg(QLatin1String(p))
            .arg(max);
    };
    EXPECT_EQ(MessageOf([&] { R.GetName(-1, 3, &G); }), range(3, "Name Index", 2));
    EXPECT_EQ(MessageOf([&] { R.GetName(3, 1, &G); }), range(1, "Name Index", 0));
    EXPECT_EQ(MessageOf([&] { R.GetName(4, 0, &G); }), range(7, "idx", 1));
    EXPECT_EQ(MessageOf([&] { R.GetName(5, 0, &G); }), range(5, "Sheet Reference", 4));
}

TEST(Names, FollowRowsColumnsAndSheets)
{
    TWorkbookGlobals G;
    Load(G, ThreeSheets());
    TSheetInfo S;
    S.InsSheet = 1;
    S.FormulaSheet = -1;
    S.GetSheet = [&](int32_t r) { return G.References().GetSheet(r); };
    S.Names = &G.Names();
    // rows 0..1 copied twice at row 1: 4 rows in at row 1 of sheet 2
    G.InsertAndCopyRowsAndCols(0, 1, 1, 2, 0, 0, 0, 0, S);
    EXPECT_EQ(AreaOf(G.Names().Items(0)), (std::array<int, 4>{6, 8, 0, 1}));
    EXPECT_EQ(AreaOf(G.Names().Items(2)), (std::array<int, 4>{5, 5, 3, 3})); // another sheet
    // columns 0..2 copied once at column 0
    G.InsertAndCopyRowsAndCols(0, 0, 0, 0, 0, 2, 0, 1, S);
    EXPECT_EQ(AreaOf(G.Names().Items(0)), (std::array<int, 4>{6, 8, 3, 4}));
    G.DeleteRowsAndCols(0, 2, 0, 1, S);
    EXPECT_EQ(AreaOf(G.Names().Items(0)), (std::array<int, 4>{4, 6, 2, 3}));

    // a copy of sheet 1 before sheet 2: its local name, and the global name that refers to it,
    // get a copy on the new sheet
    G.InsertSheets(1, 2, 0, "Sheet2", 1);
    EXPECT_EQ(G.GetSheetName(2), "Sheet21");
    ASSERT_EQ(G.Names().Count(), 5);
    EXPECT_EQ(G.Names().Items(1)->RangeSheet(), 1);
    EXPECT_EQ(G.Names().Items(2)->RangeSheet(), 3);
    EXPECT_EQ(G.Names().Items(3)->Name(), "Global");
    EXPECT_EQ(G.Names().Items(3)->RangeSheet(), 2);
    EXPECT_EQ(G.Names().Items(4)->Name(), "Local1");
    EXPECT_EQ(G.Names().Items(4)->RangeSheet(), 2);
    // deleting sheet 1 drops its local name; the later ones follow
    G.DeleteSheets(1, 1);
    ASSERT_EQ(G.Names().Count(), 4);
    EXPECT_EQ(G.Names().Items(1)->Name(), "Local2");
    EXPECT_EQ(G.Names().Items(1)->RangeSheet(), 2);
    EXPECT_EQ(G.Names().Items(2)->RangeSheet(), 1);
    EXPECT_EQ(G.Names().Items(3)->RangeSheet(), 1);
    EXPECT_EQ(G.TotalSize(), Saved(G).size());
}
