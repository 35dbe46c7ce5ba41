// Disjunct row and column selection, modified and disabled rows, the hidden selection and the
// small moves of the focused cell; repainting of rows, columns and rectangles.
#include "grid/core/ProGrid.h"
#include <algorithm>
#include <cstdlib>

namespace {

void Grow(std::vector<uint8_t> &list, int Count)
{
    if (Count > 0 && list.size() < size_t(Count))
        list.resize(size_t(Count), 0);
}

void GrowInts(TIntList &list, int Count)
{
    while (list.Count() < Count)
        list.TList::Add(nullptr);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Disjunct rows

bool TProStringGrid::RowSelect(int ARow)
{
    if (ARow >= RowCount() + NumHiddenRows() || ARow < 0)
        throw EProGridError(QStringLiteral("Invalid row ") + QString::number(ARow) + QStringLiteral(" accessed"));
    if (FMouseActions->DisjunctRowSelect()) {
        Grow(FRowSelect, ARow + 1);
        return FRowSelect[size_t(ARow)] != 0;
    }
    const TGridRect s = Selection();
    const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    return ARow >= top && ARow <= bottom;
}

void TProStringGrid::SetRowSelect(int ARow, bool Value)
{
    if (ARow < 0 || (ARow >= RowCount() + NumHiddenRows() && RowCount() > FixedRows()))
        throw EProGridError(QStringLiteral("Invalid row accessed"));
    // A row beyond the list counts as not selected.
    const bool state = size_t(ARow) < FRowSelect.size() && FRowSelect[size_t(ARow)];
    bool allow = true;
    if (state != Value && OnRowDisjunctSelect)
        OnRowDisjunctSelect(this, ARow, Value, allow);
    if (!allow)
        return;
    Grow(FRowSelect, ARow + 1);
    uint8_t &entry = FRowSelect[size_t(ARow)];
    if (Value) {
        if (!entry)
            RepaintRow(ARow);
        entry = 1;
        if (!FSelectedRows->HasValue(ARow))
            FSelectedRows->Add(ARow);
    } else {
        if (entry)
            RepaintRow(ARow);
        entry = 0;
        FSelectedRows->DeleteValue(ARow);
    }
    if (OnRowDisjunctSelected)
        OnRowDisjunctSelected(this, ARow);
}

int TProStringGrid::RowSelectCount() const
{
    if (FMouseActions->DisjunctRowSelect()) {
        const size_t n = std::min(size_t(std::max(RowCount() + NumHiddenRows(), 0)), FRowSelect.size());
        return int(std::count_if(FRowSelect.begin(), FRowSelect.begin() + std::ptrdiff_t(n), [](uint8_t v) { return v != 0; }));
    }
    const TGridRect s = Selection();
    return std::abs(s.Bottom - s.Top) + 1;
}

int TProStringGrid::RowSelectFlagIndex(int r) const
{
    return FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r;
}

void TProStringGrid::SelectRows(int RowIndex, int RCount)
{
    if (RowIndex + RCount > RowCount())
        RCount = RowCount() - RowIndex;
    if (!FMouseActions->DisjunctRowSelect()) {
        SetSelection(GridRect(FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1));
    } else {
        for (int r = RowIndex; r < RowIndex + RCount; ++r) {
            const int rr = RowSelectFlagIndex(r);
            if (rr < RowCount())
                SetRowSelect(rr, true);
        }
    }
    if (!FRowIndicator->Empty())
        RepaintCol(0);
}

void TProStringGrid::UnSelectRows(int RowIndex, int RCount)
{
    if (!FMouseActions->DisjunctRowSelect())
        return;
    for (int r = RowIndex; r < RowIndex + RCount; ++r) {
        const int rr = RowSelectFlagIndex(r);
        if (rr < RowCount())
            SetRowSelect(rr, false);
    }
}

void TProStringGrid::ClearRowSelect()
{
    for (size_t r = 0; r < FRowSelect.size(); ++r) {
        if (FRowSelect[r])
            RepaintRow(int(r));
        FRowSelect[r] = 0;
    }
    FSelectedRows->Clear();
}

void TProStringGrid::SelectionToRowSelect(bool AllRows)
{
    const TGridRect s = Selection();
    const int top = std::min(s.Top, s.Bottom), bottom = std::max(s.Top, s.Bottom);
    for (int c = FixedRows(); c < RowCount(); ++c) {
        const bool inside = c >= top && c <= bottom;
        if (inside || AllRows)
            SetRowSelect(RowSelectFlagIndex(c), inside);
    }
    if (NumHiddenRows() > 0)
        Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Disjunct columns

bool TProStringGrid::ColSelect(int ACol)
{
    if (ACol < 0 || ACol >= ColCount())
        throw EProGridError(QStringLiteral("Invalid column accessed"));
    Grow(FColSelect, ACol + 1);
    return FColSelect[size_t(ACol)] != 0;
}

void TProStringGrid::SetColSelect(int ACol, bool Value)
{
    if (ACol < 0 || ACol >= ColCount())
        throw EProGridError(QStringLiteral("Invalid column accessed"));
    Grow(FColSelect, ACol + 1);
    uint8_t &entry = FColSelect[size_t(ACol)];
    if (Value != (entry != 0))
        RepaintCol(ACol);
    entry = Value ? 1 : 0;
}

int TProStringGrid::ColSelectCount() const
{
    if (FMouseActions->DisjunctColSelect())
        return int(std::count_if(FColSelect.begin(), FColSelect.end(), [](uint8_t v) { return v != 0; }));
    const TGridRect s = Selection();
    return s.Right - s.Left + 1;
}

void TProStringGrid::SelectCols(int ColIndex, int CCount)
{
    if (!FMouseActions->DisjunctColSelect()) {
        SetSelection(GridRect(ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - 1));
        return;
    }
    for (int c = ColIndex; c < ColIndex + CCount && c < ColCount(); ++c)
        SetColSelect(c, true);
}

void TProStringGrid::UnSelectCols(int ColIndex, int CCount)
{
    if (!FMouseActions->DisjunctColSelect())
        return;
    for (int c = ColIndex; c < ColIndex + CCount && c < ColCount(); ++c)
        SetColSelect(c, false);
}

void TProStringGrid::ClearColSelect()
{
    for (size_t c = 0; c < FColSelect.size(); ++c) {
        if (FColSelect[c])
            RepaintCol(int(c));
        FColSelect[c] = 0;
    }
}

void TProStringGrid::SelectionToColSelect(bool AllCols)
{
    const TGridRect s = Selection();
    const int left = std::min(s.Left, s.Right), right = std::max(s.Left, s.Right);
    for (int c = FixedCols(); c < ColCount(); ++c) {
        const bool inside = c >= left && c <= right;
        if (inside || AllCols)
            SetColSelect(c, inside);
    }
}

void TProStringGrid::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow)
{
    SetRow(ToRow);
    SetCol(ToCol);
    SetSelection(GridRect(FromCol, FromRow, ToCol, ToRow));
}

// ---------------------------------------------------------------------------------------------
// Modified and disabled rows

bool TProStringGrid::RowModified(int ARow) const
{
    return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->GetInteger(ARow) == 1;
}

void TProStringGrid::SetRowModified(int ARow, bool Value)
{
    if (ARow < 0)
        return;
    GrowInts(*FModifiedRows, ARow + 1);
    FModifiedRows->SetInteger(ARow, Value ? 1 : 0);
    RepaintCell(0, ARow);
}

int TProStringGrid::ModifiedRowCount() const
{
    int n = 0;
    for (int i = 0; i < FModifiedRows->Count(); ++i)
        if (FModifiedRows->GetInteger(i) == 1)
            ++n;
    return n;
}

bool TProStringGrid::RowEnabled(int ARow) const
{
    return ARow < 0 || ARow >= FEnabledRows->Count() || FEnabledRows->GetInteger(ARow) == 0;
}

void TProStringGrid::SetRowEnabled(int ARow, bool Value)
{
    if (ARow < 0)
        return;
    if (ARow == Row()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (r != ARow && RowEnabled(r)) {
                SetRow(r);
                break;
            }
    }
    FUseEnabledRows = true;
    GrowInts(*FEnabledRows, ARow + 1);
    FEnabledRows->SetInteger(ARow, Value ? 0 : 1);
    RepaintRow(ARow);
}

// ---------------------------------------------------------------------------------------------
// Selection, focused cell

void TProStringGrid::SetSelection(const TGridRect &Value)
{
    TBaseGrid::SetSelection(Value);
    if (FActiveCellShow) {
        InvalidateRow(0);
        InvalidateCol(0);
    }
}

void TProStringGrid::SetActiveCellShow(bool v)
{
    if (FActiveCellShow == v)
        return;
    FActiveCellShow = v;
    Invalidate();
}

void TProStringGrid::SetRowIndicator(TBitmap *v)
{
    FRowIndicator->Assign(v);
    Invalidate();
}

void TProStringGrid::HideSelection()
{
    FOldSelection = Selection();
    SetSelection(GridRect(ColCount(), RowCount(), ColCount(), RowCount()));
    FSelHidden = true;
}

void TProStringGrid::UnHideSelection()
{
    FSelHidden = false;
    if (FOldSelection.Top < RowCount() && FOldSelection.Left < ColCount()) {
        SetSelection(FOldSelection);
        return;
    }
    const int t = (FixedRowAlways() && FixedRows() == RowCount()) ? 0 : FixedRows();
    const int l = (FixedColAlways() && FixedCols() == ColCount()) ? 0 : FixedCols();
    SetSelection(GridRect(l, t, l, t));
}

void TProStringGrid::GotoCell(int ACol, int ARow)
{
    SetRow(ARow);
    SetCol(ACol);
}

void TProStringGrid::EditCell(int ACol, int ARow)
{
    if (CanFocus())
        SetFocus();
    GotoCell(ACol, ARow);
    ShowInplaceEdit();
}

void TProStringGrid::SwapCells(const TGridCoord &FromCell, const TGridCoord &ToCell)
{
    const QString text = GetGridCell(FromCell.X, FromCell.Y);
    TObject *obj = GetGridObject(FromCell.X, FromCell.Y);
    SetGridCell(FromCell.X, FromCell.Y, GetGridCell(ToCell.X, ToCell.Y));
    SetGridObject(FromCell.X, FromCell.Y, GetGridObject(ToCell.X, ToCell.Y));
    SetGridCell(ToCell.X, ToCell.Y, text);
    SetGridObject(ToCell.X, ToCell.Y, obj);
}

// ---------------------------------------------------------------------------------------------
// Repainting

void TProStringGrid::RepaintRow(int ARow)
{
    if (ARow < 0 || IsDestroying())
        return;
    InvalidateRect(GridRect(0, ARow, LeftCol() + VisibleColCount(), ARow));
}

void TProStringGrid::RepaintCol(int ACol)
{
    if (ACol < 0 || IsDestroying())
        return;
    InvalidateRect(GridRect(ACol, TopRow(), ACol, TopRow() + VisibleRowCount()));
}

void TProStringGrid::RepaintRect(const TRect &r)
{
    if (r.Left < 0 || r.Top < 0 || r.Right < 0 || r.Bottom < 0)
        return;
    const int right = std::min(VisibleColCount() + FixedCols(), r.Right);
    const TRect a = TCustomGrid::CellRect(r.Left, r.Top);
    const TRect b = TCustomGrid::CellRect(right, r.Bottom);
    if (a.IsEmpty() || b.IsEmpty())
        Invalidate();
    else
        InvalidateRect(GridRect(r.Left, r.Top, right, r.Bottom));
}
