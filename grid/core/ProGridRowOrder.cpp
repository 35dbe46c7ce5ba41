// Rearranging stored rows: the one place where sorting moves cells from row to row.
#include "grid/core/ProGrid.h"

#include <vector>

void TProStringGrid::PermuteRowCells(int First, const std::vector<int> &Sources, int OnlyCol)
{
    const int n = int(Sources.size());
    if (OnlyCol >= 0) {
        std::vector<std::pair<QString, TObject *>> cells;
        cells.reserve(Sources.size());
        for (int src : Sources)
            cells.emplace_back(GetGridCell(OnlyCol, src), GetGridObject(OnlyCol, src));
        for (int k = 0; k < n; ++k) {
            SetGridCell(OnlyCol, First + k, cells[size_t(k)].first);
            SetGridObject(OnlyCol, First + k, cells[size_t(k)].second);
        }
        return;
    }
    // Each cycle of the rearrangement goes through one empty row past every stored cell and past
    // the rows being moved; whole rows move, cells kept beyond the column count included.
    const int spare = std::max(StoredCellExtent().Y, First + n);
    std::vector<char> done(Sources.size(), 0);
    for (int start = 0; start < n; ++start) {
        if (done[size_t(start)] || Sources[size_t(start)] == First + start)
            continue;
        MoveCellRow(First + start, spare);
        int cur = start;
        for (;;) {
            done[size_t(cur)] = 1;
            const int src = Sources[size_t(cur)] - First;
            if (src == start) {
                MoveCellRow(spare, First + cur);
                break;
            }
            MoveCellRow(First + src, First + cur);
            cur = src;
        }
    }
}

void TProStringGrid::SwapRowCells(int ARow1, int ARow2, int OnlyCol)
{
    if (ARow1 == ARow2)
        return;
    const int first = OnlyCol >= 0 ? OnlyCol : 0;
    const int last = OnlyCol >= 0 ? OnlyCol : std::max(StoreColExtent(), AllColCount()) - 1;
    for (int c = first; c <= last; ++c) {
        const QString t = GetGridCell(c, ARow1);
        TObject *o = GetGridObject(c, ARow1);
        SetGridCell(c, ARow1, GetGridCell(c, ARow2));
        SetGridObject(c, ARow1, GetGridObject(c, ARow2));
        SetGridCell(c, ARow2, t);
        SetGridObject(c, ARow2, o);
    }
}
