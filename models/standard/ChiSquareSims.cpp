// The chi-square statistic and null models.
#include "models/standard/ChiSquareSims.h"
#include "framework/rtl/System.h"

#include <algorithm>

double ChiSquareStatistic(const Matrix &M, const Real_Matrix &E, int32_t Cols, int32_t Rows)
{
    double chi = 0;
    for (int32_t r = 0; r < Rows; ++r)
        for (int32_t c = 0; c < Cols; ++c) {
            const double d = M[c][r] - E[c][r];
            chi += d * d / E[c][r];
        }
    return chi;
}

void ProportionLine(std::span<const int32_t> Totals, std::vector<double> &Line)
{
    double sum = 0;
    for (int32_t t : Totals) sum += t;
    Line.resize(Totals.size());
    for (size_t i = 0; i < Totals.size(); ++i) Line[i] = Totals[i] / sum;
}

void TCumulativeLine::Assign(std::span<const double> Line)
{
    sums_.resize(Line.size());
    monotone_ = true;
    double running = 0;
    for (size_t i = 0; i < Line.size(); ++i) {
        if (!(Line[i] >= 0)) monotone_ = false;
        running += Line[i];
        sums_[i] = running;
    }
}

int32_t TCumulativeLine::PositionOf(double U) const
{
    const auto last = static_cast<int32_t>(sums_.size()) - 1;
    if (monotone_) {
        const auto it = std::lower_bound(sums_.begin(), sums_.end(), U);
        return it == sums_.end() ? last : static_cast<int32_t>(it - sums_.begin());
    }
    for (int32_t i = 0; i <= last; ++i)
        if (sums_[static_cast<size_t>(i)] >= U) return i;
    return last;
}

void RandomizeMatrixUnits(Matrix &S, const TCumulativeLine &Rows, const TCumulativeLine &Cols,
                          std::span<const double> RowLine, std::span<const double> ColLine, int32_t Total,
                          TSimContext &Context, TEventSlice &Slice)
{
    if (RowLine.empty() || ColLine.empty() || !(RowLine[0] > 0) || !(ColLine[0] > 0)) {
        if (Context.ShowMessage) Context.ShowMessage(QStringLiteral("Unable to satisfy restraints. Aborting simulation."));
        if (Context.InterruptFlag) *Context.InterruptFlag = true;
        return;
    }
    S.Fill(0);
    for (int32_t k = 0; k < Total; ++k) {
        if (Slice.Stopped()) return;
        const double u1 = Random();
        const double u2 = Random();
        ++S[Cols.PositionOf(u1)][Rows.PositionOf(u2)];
    }
}

void RandomizeColumnTotals(Matrix &S, std::span<const int32_t> ColTotals, int32_t Rows)
{
    S.Fill(0);
    if (Rows < 1) return;
    for (size_t c = 0; c < ColTotals.size(); ++c)
        for (int32_t k = 0; k < ColTotals[c]; ++k) ++S[static_cast<int32_t>(c)][Random(Rows)];
}

void RandomizeRowTotals(Matrix &S, std::span<const int32_t> RowTotals, int32_t Cols)
{
    S.Fill(0);
    if (Cols < 1) return;
    for (size_t r = 0; r < RowTotals.size(); ++r)
        for (int32_t k = 0; k < RowTotals[r]; ++k) ++S[Random(Cols)][static_cast<int32_t>(r)];
}
