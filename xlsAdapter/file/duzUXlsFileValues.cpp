// Cell values, formulas and typed text entry of the file object: 1-based rows and columns in,
// 0-based model cells out; run positions are 1-based here and 0-based in the cell store.
#include "xlsAdapter/file/duzUXlsFile.h"

#include "xlsAdapter/formulas/duzUXlsFormula.h"
#include "xlsAdapter/workbook/duzUXlsRowColEntries.h"
#include "xlsAdapter/workbook/duzUXlsSheet.h"
#include "xlsAdapter/file/duzUXlsTypedEntry.h"
#include "xlsAdapter/workbook/duzUXlsWorkbook.h"
#include "xlsAdapter/workbook/duzUXlsWorkbookGlobals.h"

namespace {

TCellList *CellsOf(TWorkSheet *ws) { return ws->Cells()->CellList(); }

} // namespace

// Offset forms: the column counts from the current column range.

TXlsCellValue TXLSFile::GetCellDataX(int32_t aRow, int32_t aColOffset)
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws)
        return TXlsCellValue();
    return CellsOf(ws)->GetValue(aRow - 1, aColOffset + FirstColumn);
}

Variant TXLSFile::GetCellData(int32_t aRow, int32_t aColOffset) { return GetCellDataX(aRow, aColOffset).Value; }

void TXLSFile::GetCellDataX2(int32_t aRow, int32_t aColOffset, TXlsCellValue &v, TRTFRunList &RTFRuns)
{
    v = TXlsCellValue();
    RTFRuns.clear();
    if (TWorkSheet *ws = ActiveWorkSheet())
        CellsOf(ws)->GetValueX2(aRow - 1, aColOffset + FirstColumn, v, &RTFRuns);
}

void TXLSFile::AssignCellDataX2(int32_t aRow, int32_t aColOffset, const TXlsCellValue &Value,
                                const TRTFRunList &RTFRuns)
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws)
        return;
    CellsOf(ws)->SetValueX2(aRow - 1, aColOffset + FirstColumn, Value, &RTFRuns, Book()->Globals()->Is1904());
    IsFileModified = true;
}

void TXLSFile::AssignCellDataX(int32_t aRow, int32_t aColOffset, const TXlsCellValue &Value)
{
    AssignCellDataX2(aRow, aColOffset, Value, {});
}

void TXLSFile::AssignCellData(int32_t aRow, int32_t aColOffset, const Variant &Value)
{
    AssignCellDataX(aRow, aColOffset, TXlsCellValue{Value, -1, false});
}

int32_t TXLSFile::CellCount(int32_t aRow)
{
    return aRow >= 1 && aRow <= MaxRow() ? LastColumn - FirstColumn + 1 : 0;
}

void TXLSFile::SetBounds(int32_t aRangePos)
{
    const TNameRecord *Name = Book()->Globals()->Names().Items(aRangePos - 1);
    FirstColumn = Name->GetC1();
    LastColumn = Name->GetC2();
}

// Plain forms.

Variant TXLSFile::GetCellValue(int32_t aRow, int32_t aCol) { return GetCellData(aRow, aCol - FirstColumn - 1); }

void TXLSFile::SetCellValue(int32_t aRow, int32_t aCol, const Variant &Value)
{
    AssignCellData(aRow, aCol - FirstColumn - 1, Value);
}

TXlsCellValue TXLSFile::GetCellValueX(int32_t aRow, int32_t aCol)
{
    return GetCellDataX(aRow, aCol - FirstColumn - 1);
}

void TXLSFile::SetCellValueX(int32_t aRow, int32_t aCol, const TXlsCellValue &Value)
{
    AssignCellDataX(aRow, aCol - FirstColumn - 1, Value);
}

void TXLSFile::GetCellValueX2(int32_t aRow, int32_t aCol, TXlsCellValue &v, TRTFRunList &RTFRuns)
{
    GetCellDataX2(aRow, aCol - FirstColumn - 1, v, RTFRuns);
    for (TRTFRun &r : RTFRuns)
        ++r.FirstChar;
}

void TXLSFile::AssignCellValueX2(int32_t aRow, int32_t aCol, const TXlsCellValue &Value, TRTFRunList &RTFRuns)
{
    // A run at position 0 cannot move before the text; it stays at its start.
    for (TRTFRun &r : RTFRuns)
        if (r.FirstChar > 0)
            --r.FirstChar;
    AssignCellDataX2(aRow, aCol - FirstColumn - 1, Value, RTFRuns);
}

// Formulas.

QString TXLSFile::GetCellFormula(int32_t aRow, int32_t aCol)
{
    TWorkSheet *ws = ActiveWorkSheet();
    return ws ? CellsOf(ws)->GetFormula(aRow - 1, aCol - 1) : QString();
}

void TXLSFile::SetCellFormula(int32_t aRow, int32_t aCol, const QString &Value)
{
    TWorkSheet *ws = ActiveWorkSheet();
    if (!ws)
        return;
    CellsOf(ws)->SetFormula(aRow - 1, aCol - 1, Value);
    IsFileModified = true;
}

void TXLSFile::SetCellFormulaX(int32_t aRow, int32_t aCol, const QString &Formula, const Variant &Value)
{
    if (TWorkSheet *ws = ActiveWorkSheet())
        CellsOf(ws)->AssignFormulaX(aRow - 1, aCol - 1, Formula, Value, Book()->Globals()->Is1904());
}

// Typed text entry.

void TXLSFile::SetCellString(int32_t aRow, int32_t aCol, const QString &Text, const QString &DateFormat,
                             const QString &TimeFormat)
{
    StoreTypedText(aRow, aCol, Text, nullptr, DateFormat, TimeFormat);
}

void TXLSFile::SetCellString(int32_t aRow, int32_t aCol, const QString &Text, const TWbFormat &Fm,
                             const QString &DateFormat, const QString &TimeFormat)
{
    StoreTypedText(aRow, aCol, Text, &Fm, DateFormat, TimeFormat);
}

void TXLSFile::StoreTypedText(int32_t aRow, int32_t aCol, const QString &Text, const TWbFormat *Fm,
                              const QString &DateFormat, const QString &TimeFormat)
{
    if (!ActiveWorkSheet())
        return;
    const TTypedEntry e = ReadTypedEntry(Text, DateFormat, TimeFormat, ActiveFormatSettings());
    if (e.NumberFormat.isEmpty() && !Fm) {
        SetCellValue(aRow, aCol, e.Value);
        return;
    }
    // The given format, or the cell's own (XF 0 for a cell that does not exist), with the number
    // format the text asks for.
    TWbFormat F = Fm ? *Fm : GetFormatList(GetCellFormat(aRow, aCol));
    if (!e.NumberFormat.isEmpty())
        F.Format = e.NumberFormat;
    SetCellValueX(aRow, aCol, TXlsCellValue{e.Value, AddFormat(F), false});
}
