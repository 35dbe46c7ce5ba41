// Which cells, rows and columns the user selected, in the rectangular Selection and in the
// disjunct selections that the mouse and keys build; clearing the cell selection and the
// modified-row marks.
#include "grid/core/ProGrid.h"
#include <algorithm>
#include <cstdint>

namespace {

// A cell of the disjunct cell selection: the row in the high 16 bits, the column in the low ones.
int PackCell(int ACol, int ARow) { return int((uint32_t(ARow) << 16) | (uint32_t(ACol) & 0xFFFF)); }

} // namespace

int TProStringGrid::SelectedCellsCount()
{
    if (FMouseActions->DisjunctCellSelect())
        return FSelectedCells->Count();
    const TGridRect s = Selection();
    if (s.Left == s.Right && s.Top == s.Bottom) {
        FSelectedCells->Clear();
        FSelectedCells->Add(PackCell(Col(), Row()));
        return 1;
    }
    const int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
    const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    // The cells of one rectangle are distinct: no search for cells already listed.
    FSelectedCells->Refill((right - left + 1) * (bottom - top + 1), [&](auto Put) {
        for (int c = left; c <= right; ++c)
            for (int r = top; r <= bottom; ++r)
                Put(PackCell(c, r));
    });
    return FSelectedCells->Count();
}

TGridCoord TProStringGrid::GetSelectedCell(int Index) const
{
    const uint32_t v = uint32_t(FSelectedCells->GetInteger(Index));
    return {int(v & 0xFFFF), int(v >> 16)};
}

bool TProStringGrid::SelectedCells(int ACol, int ARow) const
{
    if (FMouseActions->DisjunctCellSelect())
        return InSelectedCells(ACol, ARow);
    const TGridRect s = Selection();
    return ACol >= std::min(s.Left, s.Right) && ACol <= std::max(s.Left, s.Right) && ARow >= std::min(s.Top, s.Bottom) &&
           ARow <= std::max(s.Top, s.Bottom);
}

void TProStringGrid::SetSelectedCells(int ACol, int ARow, bool Value)
{
    const int cell = PackCell(ACol, ARow);
    const bool listed = FSelectedCells->HasValue(cell);
    if (Value == listed)
        return;
    if (Value)
        FSelectedCells->Add(cell);
    else
        FSelectedCells->DeleteValue(cell);
    RepaintCell(ACol, ARow);
}

namespace {

// Widens [Low, High] to the merged block that holds the cell, along one axis.
void WidenToBlock(const TBaseGrid &g, int ACol, int ARow, bool Rows, int &Low, int &High)
{
    if (ACol < 0 || ARow < 0 || ACol >= g.ColCount() || ARow >= g.RowCount() || !g.IsMergedCell(ACol, ARow))
        return;
    const TPoint base = g.BaseCell(ACol, ARow);
    const TPoint span = g.CellSpan(ACol, ARow);
    const int first = Rows ? base.Y : base.X;
    Low = std::min(Low, first);
    High = std::max(High, first + (Rows ? span.Y : span.X));
}

} // namespace

// The rows from the selection's top to its bottom, and those of the merged blocks at its
// top-left and bottom-left corners.
int TProStringGrid::SelectedRowCount() const
{
    if (FMouseActions->DisjunctRowSelect())
        return FSelectedRows->Count();
    const TGridRect s = Selection();
    int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    const int left = std::min(s.Left, s.Right);
    WidenToBlock(*this, left, top, true, top, bottom);
    WidenToBlock(*this, left, bottom, true, top, bottom);
    return bottom - top + 1;
}

// The columns from the selection's left to its right, and those of the merged blocks at its
// top-left and top-right corners; with the disjunct column selection, the flagged columns.
int TProStringGrid::SelectedColCount() const
{
    if (FMouseActions->DisjunctColSelect())
        return ColSelectCount();
    const TGridRect s = Selection();
    int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
    const int top = std::min(s.Top, s.Bottom);
    WidenToBlock(*this, left, top, false, left, right);
    WidenToBlock(*this, right, top, false, left, right);
    return right - left + 1;
}

int TProStringGrid::GetSelectedRow(int Index) const
{
    if (Index < 0)
        return -1;
    if (FMouseActions->DisjunctRowSelect())
        return Index < FSelectedRows->Count() ? FSelectedRows->GetInteger(Index) : -1;
    const TGridRect s = Selection();
    const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    return Index <= bottom - top ? top + Index : -1;
}

void TProStringGrid::ClearSelectedCells()
{
    SetSelection(GridRect(FixedCols(), FixedRows(), FixedCols(), FixedRows()));
    FSelectedCells->Clear();
    Invalidate();
}

void TProStringGrid::ClearModifiedRows()
{
    FModifiedRows->Clear();
    Invalidate();
}
