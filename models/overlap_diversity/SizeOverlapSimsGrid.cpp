// The size routines' reading of the main grid and of the histogram table.
#include "models/overlap_diversity/SizeOverlapSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

std::vector<double> GridColumnValues(const TStringGrid *Grid, int32_t Column)
{
    std::vector<double> v;
    if (!Grid || Column < 1 || Column >= Grid->ColCount()) return v;
    v.reserve(static_cast<size_t>(std::max(Grid->RowCount() - 1, 0)));
    for (int r = 1; r < Grid->RowCount(); ++r) v.push_back(LeadingReal(Grid->Cells(Column, r)));
    return v;
}

std::vector<double> PositiveSizes(int32_t Column)
{
    std::vector<double> v = GridColumnValues(Tarvix->MainGrid, Column);
    std::erase_if(v, [](double x) { return !(x > 0); });
    return v;
}

int32_t CountPositiveSizes(int32_t Column) { return CountPositiveSizes(GridColumnValues(Tarvix->MainGrid, Column)); }

int32_t CountPositiveHistogramSizes(const TStringGrid *Table)
{
    return CountPositiveSizes(GridColumnValues(Table, 1));
}
