// Saved workbooks stay byte for byte what earlier versions wrote: a new book of numbers (RK and
// full forms, runs of them), strings, booleans, blanks, formulas, rich text and formats, then that
// book reopened, edited and its rows moved. The reference files sit in tests/data/xls/.
#include "FileFixture.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/workbook/duzUXlsSheet.h"

using namespace xfile;

namespace {

QByteArray Reference(const char *Name)
{
    return ReadFile(QStringLiteral(TARVIX_TEST_DATA "/xls/") + QLatin1String(Name));
}

// The first differing byte, for a readable failure.
::testing::AssertionResult SameBytes(const QByteArray &Got, const QByteArray &Want)
{
    if (Want.isEmpty())
        return ::testing::AssertionFailure() << "missing reference file";
    const int n = int(std::min(Got.size(), Want.size()));
    for (int i = 0; i < n; ++i)
        if (Got[i] != Want[i])
            return ::testing::AssertionFailure() << "bytes differ at " << i << " of " << Want.size();
    if (Got.size() != Want.size())
        return ::testing::AssertionFailure() << "size " << Got.size() << ", want " << Want.size();
    return ::testing::AssertionSuccess();
}

void FillBook(TXLSFile &F)
{
    F.NewFile(1);
    TWbFormat money = F.GetFormatList(15);
    money.Format = QStringLiteral("#,##0.00");
    const int32_t moneyXF = F.AddFormat(money);
    TWbFormat wrapped = F.GetFormatList(15);
    wrapped.WrapText = true;
    wrapped.HAlignment = fha_center;
    const int32_t wrappedXF = F.AddFormat(wrapped);

    // A run of small integers (one MULRK), hundredths, binary fractions and numbers with no short
    // form, negatives and zero.
    for (int c = 1; c <= 12; ++c)
        F.SetCellValue(1, c, double(c * 3 - 7));
    const double mixed[] = {1.23, -0.5, 3.141592653589793, 1e300, 0.0, -1234567.0, 536870911.0, 536870912.0,
                            0.1, 2.5e-10, -0.01, 12345.67};
    for (int c = 1; c <= 12; ++c)
        F.SetCellValue(2, c, mixed[c - 1]);
    // Strings, repeated ones sharing the string table, wide characters, an empty text.
    const char *texts[] = {"alpha", "beta", "alpha", "", "\xc3\xa9t\xc3\xa9", "long text with spaces", "beta"};
    for (int c = 1; c <= 7; ++c)
        F.SetCellValue(3, c, QString::fromUtf8(texts[c - 1]));
    F.SetCellValue(4, 1, true);
    F.SetCellValue(4, 2, false);
    F.SetCellValue(4, 3, 7.0);
    // Blanks: formatted empty cells, a run of them and one alone.
    for (int c = 2; c <= 6; ++c)
        F.SetCellFormat(5, c, moneyXF);
    F.SetCellFormat(5, 9, wrappedXF);
    F.SetCellFormat(2, 1, moneyXF);
    F.SetCellFormat(3, 6, wrappedXF);
    // Formulas with number, text and boolean results.
    F.SetCellFormula(6, 1, QStringLiteral("=SUM(A1:L1)"));
    F.SetCellFormulaX(6, 2, QStringLiteral("=A3&B3"), QStringLiteral("alphabeta"));
    F.SetCellFormulaX(6, 3, QStringLiteral("=A1>B1"), false);
    F.SetCellFormulaX(6, 4, QStringLiteral("=B2*2"), -1.0);
    TRTFRunList runs = {{0, 0}, {3, 5}};
    TXlsCellValue rich;
    rich.Value = QStringLiteral("bold end");
    F.AssignCellValueX2(7, 2, rich, runs);
    // A row far below and a cell far right, and a cell overwritten by another kind.
    F.SetCellValue(300, 1, 42.0);
    F.SetCellValue(8, 200, QStringLiteral("far"));
    F.SetCellValue(1, 5, QStringLiteral("now text"));
    F.SetCellValue(3, 2, 99.0);
    F.SetRowHeight(2, 500);
    F.SetColumnWidth(3, 4000);
}

} // namespace

TEST(FileSavedBytes, NewBookOfEveryCellKind)
{
    Connected c;
    FillBook(c.F);
    EXPECT_TRUE(SameBytes(SavedToMemory(c.F), Reference("cellkinds.xls")));
}

TEST(FileSavedBytes, ReopenedBookEditedAndMoved)
{
    QByteArray first;
    {
        Connected c;
        FillBook(c.F);
        first = SavedToMemory(c.F);
    }
    Connected c;
    LoadBytes(c.F, first);
    TCells *cells = c.F.GetTWorkbook()->WorkSheets(0)->Cells();
    // Measured once as a save measures, so that what follows changes rows already measured.
    cells->TotalSize();
    c.F.SetCellValue(1, 3, 0.25);
    c.F.SetCellValue(1, 4, Variant());
    c.F.SetCellValue(1, 13, 5.0);
    c.F.SetCellValue(2, 2, Variant());
    c.F.SetCellValue(3, 1, QStringLiteral("gamma"));
    c.F.SetCellFormat(5, 7, 15);
    cells->TotalSize();
    TSheetInfo sheet;
    sheet.InsSheet = sheet.FormulaSheet = 0;
    cells->InsertAndCopyRows(0, 2, 9, 2, sheet, false);
    cells->DeleteRows(3, 1, sheet);
    cells->TotalSize();
    cells->InsertAndCopyCols(1, 2, 19, 1, sheet, false);
    cells->DeleteCols(0, 1, sheet);
    c.F.SetCellValue(1, 1, 8.0);
    EXPECT_TRUE(SameBytes(SavedToMemory(c.F), Reference("cellkinds_edited.xls")));
}
