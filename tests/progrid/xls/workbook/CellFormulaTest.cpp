// Formulas in the cell store: texts through the encoder into FORMULA cells and back, and the
// sheets and names of the workbook they refer to.
#include "GlobalsFixture.h"
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/records/duzUXlsColInfo.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"

using namespace glob;

namespace {

// Three sheets; this book's SUPBOOK with one EXTERNSHEET entry, for "My Sheet" only, and a name
// "Total" standing for 'My Sheet'!$A$1.
QByteArray ThreeSheets()
{
    return Bof() + BoundSheet("Data") + BoundSheet("My Sheet") + BoundSheet("Other") + LocalSupBook(3)
           + ExternSheet({{0, 1, 1}})
           + Record(0x0018, Le16(0) + B({0, 5}) + Le16(7) + Le16(0) + Le16(0) + B({0, 0, 0, 0}) + B({0}) + "Total"
                                + B({0x3A}) + Le16(0) + Le16(0) + Le16(0))
           + EmptySst() + Eof();
}

struct Book
{
    TWorkbookGlobals globals;
    TColInfoList cols;
    TCells cells{&globals, &cols};
    TCellList &list = *cells.CellList();

    Book() { Load(globals, ThreeSheets()); }

    const TFormulaRecord *Formula(int row, int col)
    {
        int32_t i;
        if (row >= list.Count() || !list.Items(row)->Find(col, i))
            return nullptr;
        return dynamic_cast<const TFormulaRecord *>(list.Items(row)->Items(i));
    }
    // The length word and the tokens of the formula at (row, col).
    QByteArray Tokens(int row, int col)
    {
        const TFormulaRecord *f = Formula(row, col);
        return f ? QByteArray(reinterpret_cast<const char *>(f->Data + 20), f->DataSize - 20) : QByteArray();
    }
};

} // namespace

TEST(CellFormula, TextsReadBackWithTheirCachedValues)
{
    Book b;
    const struct
    {
        const char *text;
        Variant value;
        QByteArray tokens; // worked out by hand from the BIFF8 token table
    } cases[] = {
        // tInt 1, tInt 2, tInt 3, tMul, tAdd
        {"=1+2*3", Variant(7.0), Le16(11) + B({0x1E, 1, 0, 0x1E, 2, 0, 0x1E, 3, 0, 0x05, 0x03})},
        // tStr "a", tStr "b", tConcat
        {"=\"a\"&\"b\"", Variant(QStringLiteral("ab")), Le16(9) + B({0x17, 1, 0, 'a', 0x17, 1, 0, 'b', 0x08})},
        // tBool TRUE
        {"=TRUE", Variant(true), Le16(2) + B({0x1D, 1})},
    };
    int row = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        b.list.AssignFormulaX(row, 2, QString::fromLatin1(c.text), c.value, false);
        EXPECT_EQ(b.Tokens(row, 2), c.tokens);
        EXPECT_EQ(b.list.GetFormula(row, 2), QString::fromLatin1(c.text));
        const TXlsCellValue v = b.list.GetValue(row, 2);
        EXPECT_EQ(v.Value, c.value);
        EXPECT_TRUE(v.IsFormula);
        EXPECT_EQ(v.XF, 15);
        EXPECT_EQ(b.cells.RowList()->Items(row)->MaxCol(), 3);
        ++row;
    }

    // A 1904 date as cached value is 1462 days smaller; SetFormula caches nothing.
    b.list.AssignFormulaX(5, 0, QStringLiteral("=1"), Variant::FromDate(1462), true);
    EXPECT_EQ(b.list.GetValue(5, 0).Value, Variant(0.0));
    b.list.SetFormula(5, 0, QStringLiteral("=2"));
    EXPECT_EQ(b.list.GetFormula(5, 0), "=2");
    EXPECT_TRUE(VarIsEmpty(b.list.GetValue(5, 0).Value));

    // A formula over a value keeps its format; an empty text deletes the cell and its row.
    b.list.SetValueX2(6, 1, TXlsCellValue{Variant(3), 40, false}, nullptr, false);
    b.list.SetFormula(6, 1, QStringLiteral("=4"));
    EXPECT_EQ(b.list.GetValue(6, 1).XF, 40);
    EXPECT_EQ(b.list.GetFormula(6, 1), "=4");
    b.list.SetFormula(6, 1, QString());
    EXPECT_EQ(b.Formula(6, 1), nullptr);
    EXPECT_EQ(b.cells.RowList()->Count(), 6);

    // Positions without a formula read "".
    EXPECT_EQ(b.list.GetFormula(0, 3), "");
    EXPECT_EQ(b.list.GetFormula(900, 0), "");
    b.list.SetValueX2(7, 0, TXlsCellValue{Variant(1), -1, false}, nullptr, false);
    EXPECT_EQ(b.list.GetFormula(7, 0), "");
    EXPECT_EQ(MessageOf([&] { b.list.SetFormula(65536, 0, QStringLiteral("=1")); }), "Invalid Row (65536)");
    EXPECT_EQ(MessageOf([&] { b.list.SetFormula(0, 256, QStringLiteral("=1")); }), "Invalid Column (256)");
}

TEST(CellFormula, OtherSheetsResolveThroughTheReferences)
{
    Book b;
    TReferences &refs = b.globals.References();
    ASSERT_EQ(refs.ExternRefCount(), 1);

    // The entry for "My Sheet" is found, whatever the letter case of the text.
    b.list.AssignFormulaX(0, 0, QStringLiteral("='my sheet'!B3*2"), Variant(4.0), false);
    EXPECT_EQ(refs.ExternRefCount(), 1);
    // tRef3d (value class) to entry 0, row 2, column 1 relative; tInt 2; tMul
    EXPECT_EQ(b.Tokens(0, 0), Le16(11) + B({0x5A, 0, 0, 2, 0, 1, 0xC0, 0x1E, 2, 0, 0x05}));
    EXPECT_EQ(b.list.GetFormula(0, 0), "='My Sheet'!B3*2");
    EXPECT_EQ(b.list.GetValue(0, 0).Value, Variant(4.0));

    // "Data" has no entry yet: one is added for it, and used again.
    b.list.SetFormula(1, 0, QStringLiteral("=SUM('Data'!A1:B3)"));
    ASSERT_EQ(refs.ExternRefCount(), 2);
    EXPECT_EQ(refs.ExternRef(1)->FirstSheet, 0);
    EXPECT_EQ(refs.ExternRef(1)->LastSheet, 0);
    EXPECT_EQ(refs.ExternRef(1)->SupBookRecord, refs.LocalSupBook);
    EXPECT_EQ(b.list.GetFormula(1, 0), "=SUM('Data'!A1:B3)");
    b.list.SetFormula(1, 1, QStringLiteral("='Data'!C1"));
    EXPECT_EQ(refs.ExternRefCount(), 2);
    EXPECT_EQ(b.list.GetFormula(1, 1), "='Data'!C1");

    // A name token reads as the workbook's name.
    TFormulaRecord *name = TFormulaRecord::CreateFromData(xlr_FORMULA, 27, 2, 0, 15, Variant(), false);
    SetWord(name->Data, 20, 5);
    name->Data[22] = 0x43; // tName, value class, name 1
    name->Data[23] = 1;
    b.cells.AddCell(name, 2);
    EXPECT_EQ(b.list.GetFormula(2, 0), "=Total");
}

TEST(CellFormula, TextsThatDoNotEncodeChangeNothing)
{
    Book b;
    b.list.SetValueX2(0, 0, TXlsCellValue{Variant(5), -1, false}, nullptr, false);
    for (const char *text : {"='Nope'!A1", "=1+", "=SUM(1"}) {
        SCOPED_TRACE(text);
        EXPECT_NE(MessageOf([&] { b.list.SetFormula(0, 0, QString::fromLatin1(text)); }), "");
        EXPECT_NE(MessageOf([&] { b.list.SetFormula(3, 0, QString::fromLatin1(text)); }), "");
    }
    EXPECT_EQ(b.list.GetValue(0, 0).Value, Variant(5.0));
    EXPECT_FALSE(b.list.GetValue(0, 0).IsFormula);
    // No ROW record is left behind for row 3.
    EXPECT_EQ(b.cells.RowList()->Count(), 1);
    EXPECT_EQ(b.list.Count(), 1);
}
