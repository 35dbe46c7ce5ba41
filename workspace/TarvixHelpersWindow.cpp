// The helper routines that need a grid, a message box or the main window.
#include "workspace/TarvixHelpers.h"

#include "framework/controls/Dialogs.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Streams.h"
#include "grid/core/ProUtil.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "grid/core/ProGrid.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixMain.h"

#include <algorithm>

namespace {

// Data columns and rows of the main grid (the title column and row excluded).
int32_t DataCols() { return Tarvix->MainGrid->ColCount() - 1; }
int32_t DataRows() { return Tarvix->MainGrid->RowCount() - 1; }

// Walks the data cells row by row until Accept refuses one.
template <typename Accept>
bool EveryDataCell(const TStringGrid *Grid, Accept accept)
{
    for (int r = 1; r < Grid->RowCount(); ++r)
        for (int c = 1; c < Grid->ColCount(); ++c)
            if (!accept(Grid->Cells(c, r), c, r))
                return false;
    return true;
}

QString AtRowCol(int r, int c) { return QStringLiteral(" @ Row %1 Col %2").arg(r).arg(c); }

}  // namespace

void TailProbabilities(std::span<const double> A, double Observed, double &P1, double &P2, int32_t &Greater,
                       int32_t &Equal, int32_t &Less)
{
    TailProbabilities(A, Observed, Tarvix->Iterations, P1, P2, Greater, Equal, Less);
}

void TailProbabilitiesInt(std::span<const int32_t> A, double Observed, double &P1, double &P2, int32_t &Greater,
                          int32_t &Equal, int32_t &Less)
{
    TailProbabilitiesInt(A, Observed, Tarvix->Iterations, P1, P2, Greater, Equal, Less);
}

void BuildHistogramIterations(std::span<const double> A, double Observed, QString &PositionText)
{
    BuildHistogramIterations(A, Tarvix->Iterations, Observed, PositionText);
}

void MarginalTotals(Matrix &M) { MarginalTotals(M, Tarvix->info_Mat); }

void RealMarginalTotals(Real_Matrix &M) { RealMarginalTotals(M, DataCols(), DataRows()); }

void CopyNonEmptyRows(const Matrix &Source, Matrix &Dest) { CopyNonEmptyRows(Source, Dest, Tarvix->info_Mat); }

void DropEmptyColumns(Matrix &M) { DropEmptyColumns(M, Tarvix->info_Mat); }

void CountNonZeroRows(const Matrix &M) { Tarvix->NonZeroRows = CountNonZeroRows(M, DataRows()); }

void CheckNonZeroRows(const Real_Matrix &M, int32_t Rows, int32_t &NonZeroRows, int32_t &RowError)
{
    NonZeroRows = 0;
    const int32_t last = std::min(Rows, M.Rows() - 1);
    for (int32_t r = 1; r <= last; ++r) {
        if (!(M[0][r] > 0)) {
            ShowMessage(QStringLiteral("Non Zero Row = ") + IntToStr(r) + QStringLiteral(" ; aborting simulation."));
            NonZeroRows = -1;
            RowError = r;
            return;
        }
        ++NonZeroRows;
    }
    RowError = 0;
}

void CheckNonZeroRows(const Real_Matrix &M)
{
    CheckNonZeroRows(M, DataRows(), Tarvix->NonZeroRows, Tarvix->RowError);
}

bool CheckPositiveIntegers(TProStringGrid *Grid)
{
    return EveryDataCell(Grid, [](const QString &text, int c, int r) {
        int32_t v;
        if (!TryStrToInt(text, v))
            return false;
        if (v > 0)
            return true;
        ShowMessage(QStringLiteral("Non-positive integer") + AtRowCol(r, c));
        return false;
    });
}

bool CheckPositiveReals(TStringGrid *Grid)
{
    return EveryDataCell(Grid, [](const QString &text, int c, int r) {
        if (StrToFloat(text) > 0)
            return true;
        ShowMessage(QStringLiteral("Non-positive real") + AtRowCol(r, c));
        return false;
    });
}

bool CheckDiversityLimits(const TStringGrid *Grid)
{
    if (Grid->RowCount() > 3401) {
        ShowMessage(QStringLiteral("Species Diversity Row Count Maximum = 3400"));
        return false;
    }
    if (Grid->ColCount() > 101) {
        ShowMessage(QStringLiteral("Species Diversity Column Count Maximum = 100"));
        return false;
    }
    return true;
}

bool CheckDiversityLimits() { return CheckDiversityLimits(Tarvix->MainGrid); }

void ReadWeightsTable(const QByteArray &Bytes, TStringGrid *Grid)
{
    TStringList lines;
    lines.SetText(TEncoding::DecodeFileText(Bytes));

    Grid->SetFixedRows(0);
    Grid->SetFixedCols(0);
    Grid->SetRowCount(1);
    Grid->SetColCount(1);
    Grid->SetCells(0, 0, QString());
    if (lines.Count() == 0)
        return;
    // Names with blanks come quoted from the writer.
    Grid->SetColCount(static_cast<int>(SplitTextCells(lines.Strings(0), u" ").size()));
    Grid->SetRowCount(lines.Count());
    for (int r = 0; r < lines.Count(); ++r) {
        const QStringList cells = SplitTextCells(lines.Strings(r), u" ");
        for (int c = 0; c < cells.size(); ++c)
            Grid->SetCells(c, r, cells[c]);
    }
}

void IntsToGridColumn(std::span<const int32_t> A, TStringGrid *Grid)
{
    for (size_t k = 0; k < A.size(); ++k)
        Grid->SetCells(1, static_cast<int>(k) + 1, IntToStr(A[k]));
}

void CopyColumnsToGrids(const TStringGrid *Source, TStringGrid *Grid1, TStringGrid *Grid2, int32_t A, int32_t B)
{
    const int rows = Source->RowCount();
    for (TStringGrid *g : {Grid1, Grid2}) {
        g->SetRowCount(rows);
        for (int r = 0; r < rows; ++r) {
            g->SetCells(0, r, Source->Cells(0, r));
            g->SetCells(1, r, Source->Cells(A, r));
            g->SetCells(2, r, Source->Cells(B, r));
        }
    }
}

void CopyColumnsToGrids(TStringGrid *Grid1, TStringGrid *Grid2, int32_t A, int32_t B)
{
    CopyColumnsToGrids(Tarvix->MainGrid, Grid1, Grid2, A, B);
}

void CopyRowTitles(const TStringGrid *Source, TStringGrid *Grid)
{
    for (int r = 0; r < Source->RowCount(); ++r)
        Grid->SetCells(0, r, Source->Cells(0, r));
}

void CopyRowTitles(TStringGrid *Grid) { CopyRowTitles(Tarvix->MainGrid, Grid); }

void StartProgress(const QString &Model)
{
    Progress->Restart(Tarvix->Iterations);
    Progress->MatrixLabel->SetCaption(IntToStr(DataRows()) + QStringLiteral(" rows; ") + IntToStr(DataCols()) +
                                      QStringLiteral(" columns; "));
    Progress->ModelLabel->SetCaption(Model);
    Progress->Show();
}

bool SimulationInterrupted()
{
    Application->ProcessMessages();
    if (!Tarvix->InterruptFlag)
        return false;
    Progress->Close();
    return true;
}
