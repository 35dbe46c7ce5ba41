#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"
#include <QSet>
#include <cmath>

// ---------------------------------------------------------------------------------------------
// Column walks

bool TProStringGrid::CalcRows(int &FromRow, int &ToRow) const
{
    if (FromRow == -1 || ToRow == -1) {
        FromRow = FixedRows();
        ToRow = RowCount() - FFixedFooters - 1;
    }
    if (FCalcRealRows)
        return true;
    return FFloatingFooter->Visible() ? ToRow > RowCount() - 1 : ToRow > RowCount();
}

bool TProStringGrid::CalcRowValue(int ACol, int r, bool RealRows, bool RowTest, double &Value)
{
    const bool hidden = RealRows && IsHiddenRow(r);
    const int d = RealRows ? DisplRowIndex(r) : r;
    if (RowTest) {
        // Tree and group rows are left out only while the grid is grouped.
        if (!hidden && GroupColumn() != -1 && (IsNode(d) || IsSummary(d)))
            return false;
        if (!hidden && !IsBaseCell(ACol, d))
            return false;
    }
    try {
        Value = RealRows ? AllFloats(ACol, r) : Floats(ACol, r);
    } catch (const EProGridError &) {
        return false;
    }
    return true;
}

double TProStringGrid::ColumnSum(int ACol, int FromRow, int ToRow)
{
    const bool real = CalcRows(FromRow, ToRow);
    ExportNotification(esExportStart, FromRow);
    double sum = 0, v = 0;
    for (int r = FromRow; r <= ToRow; ++r)
        if (CalcRowValue(ACol, r, real, true, v)) {
            ExportNotification(esExportNextRow, r);
            sum += v;
        }
    ExportNotification(esExportDone, -1);
    return sum;
}

double TProStringGrid::ColumnAvg(int ACol, int FromRow, int ToRow)
{
    CalcRows(FromRow, ToRow);
    // Every row of the range counts, also those that hold no number.
    const int n = ToRow - FromRow + 1;
    if (n <= 0)
        return 0;
    return ColumnSum(ACol, FromRow, ToRow) / n;
}

double TProStringGrid::ColumnExtreme(int ACol, int FromRow, int ToRow, bool Max)
{
    const bool real = CalcRows(FromRow, ToRow);
    // The first cell is the start value even when it would not take part.
    double x = real ? AllFloats(ACol, FromRow) : Floats(ACol, FromRow);
    ExportNotification(esExportStart, FromRow);
    double v = 0;
    for (int r = FromRow; r <= ToRow; ++r)
        if (CalcRowValue(ACol, r, real, true, v)) {
            ExportNotification(esExportNextRow, r);
            if (Max ? v > x : v < x)
                x = v;
        }
    ExportNotification(esExportDone, -1);
    return x;
}

double TProStringGrid::ColumnMin(int ACol, int FromRow, int ToRow) { return ColumnExtreme(ACol, FromRow, ToRow, false); }

double TProStringGrid::ColumnMax(int ACol, int FromRow, int ToRow) { return ColumnExtreme(ACol, FromRow, ToRow, true); }

double TProStringGrid::ColumnStdDev(int ACol, int FromRow, int ToRow)
{
    const bool real = CalcRows(FromRow, ToRow);
    const int n = ToRow - FromRow + 1;
    if (n <= 0)
        return 0;
    const double avg = ColumnAvg(ACol, FromRow, ToRow);
    ExportNotification(esExportStart, FromRow);
    double s = 0;
    for (int r = FromRow; r <= ToRow; ++r) {
        ExportNotification(esExportNextRow, r);
        // No row is skipped: a cell without a number ends the calculation with its error.
        const double d = (real ? AllFloats(ACol, r) : Floats(ACol, r)) - avg;
        s += d * d;
    }
    ExportNotification(esExportDone, -1);
    return std::sqrt(s / n);
}

double TProStringGrid::ColumnDistinct(int ACol, int FromRow, int ToRow)
{
    CalcRows(FromRow, ToRow);
    ExportNotification(esExportStart, FromRow);
    QSet<QString> seen;
    for (int r = FromRow; r <= ToRow; ++r) {
        ExportNotification(esExportNextRow, r);
        seen.insert(AnsiLowerCase(GetCellEx(ACol, r)));
    }
    ExportNotification(esExportDone, -1);
    return double(seen.size());
}

double TProStringGrid::ColumnCustomCalc(int ACol, int FromRow, int ToRow)
{
    double res = 0;
    if (OnColumnCalc)
        OnColumnCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

double TProStringGrid::GroupCustomCalc(int ACol, int FromRow, int ToRow)
{
    double res = 0;
    if (OnGroupCalc)
        OnGroupCalc(this, ACol, FromRow, ToRow, res);
    return res;
}

// ---------------------------------------------------------------------------------------------
// Row walks

double TProStringGrid::RowSum(int ARow, int FromCol, int ToCol)
{
    double sum = 0;
    for (int c = FromCol; c <= ToCol; ++c) {
        if (!IsBaseCell(c, ARow))
            continue;
        try {
            sum += Floats(c, ARow);
        } catch (const EProGridError &) {
        }
    }
    return sum;
}

double TProStringGrid::RowAvg(int ARow, int FromCol, int ToCol)
{
    const int n = ToCol - FromCol + 1;
    return n > 0 ? RowSum(ARow, FromCol, ToCol) / n : 0;
}

double TProStringGrid::RowExtreme(int ARow, int FromCol, int ToCol, bool Max)
{
    double x = Floats(FromCol, ARow);
    for (int c = FromCol; c <= ToCol; ++c) {
        if (!IsBaseCell(c, ARow))
            continue;
        try {
            const double v = Floats(c, ARow);
            if (Max ? v > x : v < x)
                x = v;
        } catch (const EProGridError &) {
        }
    }
    return x;
}

double TProStringGrid::RowMin(int ARow, int FromCol, int ToCol) { return RowExtreme(ARow, FromCol, ToCol, false); }

double TProStringGrid::RowMax(int ARow, int FromCol, int ToCol) { return RowExtreme(ARow, FromCol, ToCol, true); }

// ---------------------------------------------------------------------------------------------
// Footer

bool TProStringGrid::FooterRowShown() const
{
    return FFloatingFooter && FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() == fsFixedLastRow;
}

void TProStringGrid::CalcFooterColumns(int ACol)
{
    if (!FooterRowShown() || !FFloatingFooter->EnableCalculation())
        return;
    const int footer = RowCount() - 1;
    const int h = FFloatingFooter->CalculateHiddenRows() ? NumHiddenRows() : 0;
    const int from = FixedRows(), to = RowCount() - 2 + h;
    // With hidden rows the data rows count in real rows whatever their number.
    const bool oldReal = FCalcRealRows;
    FCalcRealRows = h > 0;
    struct TRestore
    {
        bool &f;
        bool v;
        ~TRestore() { f = v; }
    } restore{FCalcRealRows, oldReal};

    const int first = ACol == -1 ? 0 : ACol;
    const int last = ACol == -1 ? AllColCount() - 1 : ACol;
    for (int c = first; c <= last; ++c) {
        if (!HasCellProperties(c, footer))
            continue;
        switch (TColumnCalcType(GetCellProperties(c, footer)->CalcType() & 0x7F)) {
        case acSUM:
            SetFloats(c, footer, ColumnSum(c, from, to));
            break;
        case acAVG:
            SetFloats(c, footer, ColumnAvg(c, from, to));
            break;
        case acCOUNT:
            SetInts(c, footer, RowCount() - FixedRows() - 1 + h);
            break;
        case acMIN:
            SetFloats(c, footer, ColumnMin(c, from, to));
            break;
        case acMAX:
            SetFloats(c, footer, ColumnMax(c, from, to));
            break;
        case acCUSTOM: {
            QString value;
            if (OnFooterCalc)
                OnFooterCalc(this, c, footer + h, value);
            else if (FFloatingFooter->OnCalcFooter)
                FFloatingFooter->OnCalcFooter(this, c, footer + h, value);
            SetCellEx(c, footer, value);
            break;
        }
        case acDISTINCT:
            SetFloats(c, footer, ColumnDistinct(c, from, to));
            break;
        case acSTDDEV:
            SetFloats(c, footer, ColumnStdDev(c, from, to));
            break;
        default:
            break;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Displayed text

QString TProStringGrid::GetFormattedCell(int ACol, int ARow)
{
    QString s = GetCellEx(ACol, ARow);
    if (!OnGetFloatFormat)
        return s;
    const int kind = NumericTextKind(s);
    if (kind != ntkInteger && kind != ntkDecimal && kind != ntkExponent)
        return s;
    bool isFloat = true;
    QString fmt = FloatFormat();
    OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
    if (!isFloat || fmt.isEmpty())
        return s;
    try {
        if (fmt.contains(QChar('d')))
            return Format(fmt, {Ints(ACol, ARow)});
        return Format(fmt, {Floats(ACol, ARow)});
    } catch (const Exception &) {
        return s;
    }
}
