#pragma once
// The chi-square test's statistic and its three null models: plain routines over the count
// tables, so that they run without a window. Tables are indexed [column][row] from 0, without
// margins.
#include "workspace/SimContext.h"
#include "workspace/TarvixTypes.h"

#include <cstdint>
#include <span>
#include <vector>

// Item order of the options dialog's "Si&mulation options".
enum TChiSquareModel : int32_t { cmRandomizeMatrix = 0, cmRandomizeColumns = 1, cmRandomizeRows = 2 };

// Sum over the Cols x Rows cells of (M - E)^2 / E.
double ChiSquareStatistic(const Matrix &M, const Real_Matrix &E, int32_t Cols, int32_t Rows);

// Each total over the sum of all totals.
void ProportionLine(std::span<const int32_t> Totals, std::vector<double> &Line);

// Finds the first entry whose cumulative proportion reaches a uniform draw. The cumulative sums
// are the same additions, in the same order, as a running sum over the entries, so a bisection
// over them picks what a linear scan picks; with a negative proportion the sums do not rise, and
// the scan itself is used. A draw above the whole total takes the last entry.
class TCumulativeLine
{
public:
    void Assign(std::span<const double> Line);
    int32_t PositionOf(double U) const;

private:
    std::vector<double> sums_;
    bool monotone_ = true;
};

// Grand total kept: each of Total units falls into a cell with the product of its row's and its
// column's proportion (a column draw, then a row draw, per unit). Refuses, with the restraints
// message and the stop flag, a first row or first column of proportion 0 or less; lets events in
// on the slice and returns when the stop flag is set.
void RandomizeMatrixUnits(Matrix &S, const TCumulativeLine &Rows, const TCumulativeLine &Cols,
                          std::span<const double> RowLine, std::span<const double> ColLine, int32_t Total,
                          TSimContext &Context, TEventSlice &Slice);
// Column totals kept, rows equiprobable.
void RandomizeColumnTotals(Matrix &S, std::span<const int32_t> ColTotals, int32_t Rows);
// Row totals kept, columns equiprobable.
void RandomizeRowTotals(Matrix &S, std::span<const int32_t> RowTotals, int32_t Cols);
