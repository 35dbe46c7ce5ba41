// The selection as a rectangle and as text, running numbers, swapping two columns or rows, and
// the small hooks the input code calls.
#include "grid/core/ProGrid.h"
#include "framework/graphics/RichText.h"
#include "grid/core/ProUtil.h"

void TProStringGrid::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    SetSelection(GridRect(FromCol, FromRow, ToCol, ToRow));
}

namespace {

// The plain text of a rich-text cell; a text that does not read as RTF stays as it is.
QString RichCellPlain(const QString &Text)
{
    try {
        QString plain = RichTextPlain(RTFToRichText(Text.toLatin1()));
        if (plain.endsWith(QLatin1Char('\n')))
            plain.chop(1);
        return plain;
    } catch (const ERichTextError &) {
        return Text;
    }
}

} // namespace

QString TProStringGrid::SelectedText()
{
    TGridRect r = Selection();
    if (Options().Contains(goRowSelect) && FDragDropSettings->OleEntireRows()) {
        r.Left = 0;
        r.Right = ColCount() - 1;
    }
    const int c1 = std::min(r.Left, r.Right), c2 = std::max(r.Left, r.Right);
    std::vector<int> rows;
    if (FMouseActions->DisjunctRowSelect()) {
        for (int row = FixedRows(); row < RowCount(); ++row)
            if (RowSelect(row))
                rows.push_back(row);
    } else {
        for (int row = std::min(r.Top, r.Bottom); row <= std::max(r.Top, r.Bottom); ++row)
            rows.push_back(row);
    }
    QString out;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            out += QLatin1String("\r\n");
        for (int c = c1; c <= c2; ++c) {
            if (c > c1)
                out += QLatin1Char('\t');
            QString s = GetCellEx(c, rows[i]);
            if (s.contains(QLatin1String("{\\")))
                s = RichCellPlain(s);
            if (CountTextLines(s, true) > 1 && ExcelClipboardFormat())
                QuoteCSVMultiLine(s);
            out += s;
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Running numbers

void TProStringGrid::AutoNumberCol(int ACol)
{
    if (RowCount() <= 0)
        return;
    const int fr = FixedRows(), last = RowCount() - FFixedFooters - 1;
    for (int r = fr + AutoNumberStart(); r <= last; ++r) {
        const int v = r - fr + 1 + AutoNumberOffset();
        SetInts(ACol, AutoNumberDirection() == sdAscending ? r : fr + last - r, v);
    }
}

void TProStringGrid::AutoNumberRow(int ARow)
{
    if (ColCount() <= 0)
        return;
    const int fc = FixedCols(), last = ColCount() - FFixedRightCols - 1;
    for (int c = fc + AutoNumberStart(); c <= last; ++c) {
        const int v = c - fc + 1 + AutoNumberOffset();
        SetInts(AutoNumberDirection() == sdAscending ? c : fc + last - c, ARow, v);
    }
}

// ---------------------------------------------------------------------------------------------
// Swaps

void TProStringGrid::SwapCellControls(int A, int B, bool Column)
{
    const int ra = Column ? A : RealRowIndex(A), rb = Column ? B : RealRowIndex(B);
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem *ci = FControlList->GetControl(i);
        int &at = Column ? ci->FX : ci->FY;
        if (at == ra)
            at = rb;
        else if (at == rb)
            at = ra;
    }
    CellControlsUpdate(false);
}

void TProStringGrid::SwapColumns(int ACol1, int ACol2)
{
    const int cols = ColCount() + FNumHidden;
    if (ACol1 == ACol2 || ACol1 < 0 || ACol2 < 0 || ACol1 >= cols || ACol2 >= cols)
        return;
    // Texts and cell objects trade places; the properties learn their new column.
    for (int r = 0; r < RowCount(); ++r) {
        const QString t = GetGridCell(ACol1, r);
        TObject *o = GetGridObject(ACol1, r);
        SetGridCell(ACol1, r, GetGridCell(ACol2, r));
        SetGridObject(ACol1, r, GetGridObject(ACol2, r));
        SetGridCell(ACol2, r, t);
        SetGridObject(ACol2, r, o);
        if (auto *p = dynamic_cast<TCellProperties *>(GetGridObject(ACol1, r)))
            p->SetOwnerCol(ACol1);
        if (auto *p = dynamic_cast<TCellProperties *>(GetGridObject(ACol2, r)))
            p->SetOwnerCol(ACol2);
    }
    if (ACol1 < ColCount() && ACol2 < ColCount()) {
        const int w = ColWidths(ACol1);
        SetColWidths(ACol1, ColWidths(ACol2));
        SetColWidths(ACol2, w);
    }
    if (FSortSettings->Column() == ACol1)
        FSortSettings->SetColumn(ACol2);
    else if (FSortSettings->Column() == ACol2)
        FSortSettings->SetColumn(ACol1);
    SwapCellControls(ACol1, ACol2, true);
    Invalidate();
}

void TProStringGrid::SwapRows(int ARow1, int ARow2)
{
    if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount())
        return;
    SwapCellRows(ARow1, ARow2);
    const int cols = ColCount() + FNumHidden;
    for (int c = 0; c < cols; ++c) {
        if (auto *p = dynamic_cast<TCellProperties *>(GetGridObject(c, ARow1)))
            p->SetOwnerRow(ARow1);
        if (auto *p = dynamic_cast<TCellProperties *>(GetGridObject(c, ARow2)))
            p->SetOwnerRow(ARow2);
    }
    const int h = RowHeights(ARow1);
    SetRowHeights(ARow1, RowHeights(ARow2));
    SetRowHeights(ARow2, h);
    SwapCellControls(ARow1, ARow2, false);
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Hooks

void TProStringGrid::AutoInsertRow(int ARow)
{
    if (FNumNodes == 0) {
        InsertRows(ARow, 1, true);
        return;
    }
    if (GetParentRow(ARow) == -1)
        InsertNormalRow(RealRowIndex(ARow));
    else
        InsertChildRow(RealRowIndex(ARow), 0);
}

void TProStringGrid::AutoDeleteRow(int ARow)
{
    if (FNumNodes > 0) {
        if (GetParentRow(ARow) == -1)
            RemoveNormalRow(ARow);
        else
            RemoveChildRow(RealRowIndex(ARow));
    } else if (RowCount() - FixedRows() - FFixedFooters == 1 && !FFixedRowAlways) {
        ClearRows(ARow, 1);
    } else {
        FreeAndDeleteRows(ARow, 1);
    }
    if (OnAutoDeleteRow)
        OnAutoDeleteRow(this, ARow);
}

void TProStringGrid::FixedEdit(int ACol, int ARow, TGridFixedCellEditor &AEditor, TStrings *Values)
{
    if (OnFixedEdit)
        OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

void TProStringGrid::SelectionChanged(int ALeft, int ATop, int ARight, int ABottom)
{
    if (FLook == glVista || FLook == glWin7 || FLook == glOffice2007)
        RepaintRect(TRect(ALeft, ATop, ARight, ABottom));
    if (OnSelectionChanged)
        OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}
