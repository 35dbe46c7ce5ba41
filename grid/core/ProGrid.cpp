#include "grid/core/ProGrid.h"
#include <algorithm>

TProStringGrid::TProStringGrid(TComponent *AOwner)
    : TBaseGrid(AOwner), FGridItems(std::make_unique<TGridItems>(this)),
      FSelectedRows(std::make_unique<TIntList>(0, 0)), FModifiedRows(std::make_unique<TIntList>(0, 0)),
      FEnabledRows(std::make_unique<TIntList>(0, 0)), FRowIndicator(std::make_unique<TBitmap>()),
      FSearchFooter(std::make_unique<TSearchFooter>(this, ComponentState().Contains(csDesigning))),
      FNavigation(std::make_unique<TNavigation>()), FMouseActions(std::make_unique<TMouseActions>()),
      FBands(std::make_unique<TBands>()), FFocusHelper(std::make_unique<TFocusHelper>()),
      FShowModified(std::make_unique<TShowModified>()), FControlList(std::make_unique<TControlList>()),
      FSyncGrid(std::make_unique<TSyncGrid>(this))
{
    FMouseActions->OnInvalidate = [this](TObject *) { Invalidate(); };
    FMouseActions->OnIsDesigning = [this](TObject *) { return ComponentState().Contains(csDesigning); };
    FBands->OnChange = [this](TObject *) { Invalidate(); };
    FShowModified->OnChange = [this](TObject *) { Invalidate(); };
    CreateOwnedObjects();
    FMaxColCount = ColCount();
    FFixedRowsMin = TCustomGrid::FixedRows();
    FFixedColsMin = TCustomGrid::FixedCols();
    SetRowCount(10);
    SetWidth(400);
    SetHeight(250);
    SetDefaultRowHeight(22);
    SetFixedRowHeight(DefaultRowHeight());
}

TProStringGrid::~TProStringGrid()
{
    DestroyOwnedObjects();
    for (TGridChangeNotifier *n : FNotifierList)
        n->RemoveFreeNotification(this);
    FNotifierList.clear();
    SetCellChecker(nullptr);
    FSyncGrid->SetGrid(nullptr);
    // Hidden rows hold the properties of their cells; nothing else would free them.
    for (int i = 0; i < FGridItems->Count(); ++i)
        FreeItemProps(FGridItems->Items(i));
}

// ---------------------------------------------------------------------------------------------
// Dimensions

void TProStringGrid::SetRowCount(int Value)
{
    const int oldCount = RowCount();
    if (RowCount() == FixedRows() && FFixedRowAlways && FSelHidden)
        UnHideSelection();
    TBaseGrid::SetRowCount(Value);
    if (RowCount() > FFixedRowsMin && FFixedRowAlways)
        SetFixedRows(FFixedRowsMin);
    FMaxRowCount = std::max(FMaxRowCount, Value);
    FNormalRowCount = Value;
    if (FFooterPanel)
        FFooterPanel->Invalidate();
    if (FooterRowShown() && !FRowsShifted && Value != oldCount && Value > 0 && oldCount > 0)
        MoveFooterRow(oldCount - 1, Value - 1);
}

// The rows have been moved already, the footer row with them.
void TProStringGrid::SetRowCountShifted(int Value)
{
    FRowsShifted = true;
    try {
        SetRowCount(Value);
    } catch (...) {
        FRowsShifted = false;
        throw;
    }
    FRowsShifted = false;
}

// The footer row follows the end of the grid; its cell properties (with the footer
// calculations) go along with its texts.
void TProStringGrid::MoveFooterRow(int From, int To)
{
    const int cols = std::max(ColCount() + FNumHidden, StoreColExtent());
    // The target's own properties would be lost under the copied ones.
    FreeCellPropsRect(0, To, cols - 1, To);
    for (int c = 0; c < cols; ++c) {
        SetGridCell(c, To, GetGridCell(c, From));
        SetGridObject(c, To, GetGridObject(c, From));
        // The old slots let go of the moved properties, also past the row count where the
        // clearing below does not look for properties.
        SetGridObject(c, From, nullptr);
    }
    FNilObjects = true;
    try {
        ClearRows(From, 1);
    } catch (...) {
        FNilObjects = false;
        throw;
    }
    CalcFooter(-1);
    FNilObjects = false;
}

void TProStringGrid::SetColCount(int Value)
{
    TBaseGrid::SetColCount(Value);
    if (ColCount() > FFixedColsMin && FFixedColAlways)
        SetFixedCols(FFixedColsMin);
    FMaxColCount = std::max(FMaxColCount, Value);
}

int TProStringGrid::FixedRows() const
{
    const int v = TBaseGrid::FixedRows();
    return (v == 0 && FFixedRowAlways) ? 1 : v;
}

int TProStringGrid::FixedCols() const
{
    const int v = TBaseGrid::FixedCols();
    return (v == 0 && FFixedColAlways) ? 1 : v;
}

void TProStringGrid::SetFixedRows(int Value)
{
    TBaseGrid::SetFixedRows((Value >= RowCount() && FFixedRowAlways) ? RowCount() - 1 : Value);
    if (!IsLoading())
        FFixedRowsMin = Value;
}

void TProStringGrid::SetFixedCols(int Value)
{
    TBaseGrid::SetFixedCols((Value >= ColCount() && FFixedColAlways) ? ColCount() - 1 : Value);
    if (!IsLoading())
        FFixedColsMin = Value;
}

void TProStringGrid::SetRow(int Value)
{
    if (Col() < 0 || Col() >= ColCount())
        MoveColRow(FixedCols(), Value, true, true);
    TBaseGrid::SetRow(Value);
    if (Row() != FOldRowSel && OnRowUpdate) {
        OnRowUpdate(this, FOldRowSel, Row());
        FOldRowSel = Row();
    }
    if (FMouseActions->DisjunctRowSelect())
        SelectionToRowSelect(false);
    // Only a real change is passed on, so that two grids following each other come to rest.
    TStringGrid *sync = FSyncGrid->Grid();
    if (sync && FSyncGrid->SelectionRow() && sync->Row() != Row())
        sync->SetRow(Row());
}

void TProStringGrid::SetCol(int Value)
{
    TBaseGrid::SetCol(Value);
    TStringGrid *sync = FSyncGrid->Grid();
    if (sync && FSyncGrid->SelectionColumn() && sync->Col() != Col())
        sync->SetCol(Col());
}

void TProStringGrid::SetTopRow(int Value)
{
    if (Value >= FixedRows() && Value <= RowCount() - 1)
        TBaseGrid::SetTopRow(Value);
}

void TProStringGrid::SetDefaultRowHeight(int Value)
{
    TBaseGrid::SetDefaultRowHeight(Value);
    if (ComponentState().Contains(csDesigning))
        FFixedRowHeight = Value;
    // The footer strip is as high as a row.
    if (FFloatingFooter) {
        FFloatingFooter->SetHeight(Value);
        if (FFloatingFooter->Visible() && FFooterPanel)
            FFooterPanel->SetHeight(Value);
    }
}

void TProStringGrid::SetFixedRowHeight(int Value)
{
    FFixedRowHeight = Value;
    if (IsLoading())
        return;
    if (Value == DefaultRowHeight()) {
        SetDefaultRowHeight(Value);
        return;
    }
    for (int r = 0; r < TBaseGrid::FixedRows(); ++r)
        SetRowHeights(r, Value);
}

void TProStringGrid::SetFixedColWidth(int Value)
{
    if (IsLoading() || Value == DefaultColWidth())
        return;
    for (int c = 0; c < TBaseGrid::FixedCols(); ++c)
        SetColWidths(c, Value);
}

void TProStringGrid::SetFixedFooters(int Value)
{
    FFixedFooters = Value;
    Invalidate();
}

void TProStringGrid::SetFixedRightCols(int Value)
{
    FFixedRightCols = Value;
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Synchronised grid

void TSyncGrid::SetGrid(TStringGrid *Value)
{
    if (Value && Value == FOwner)
        return;
    if (FGrid == Value)
        return;
    if (FGrid && FOwner)
        FGrid->RemoveFreeNotification(FOwner);
    FGrid = Value;
    if (FGrid && FOwner)
        FGrid->FreeNotification(FOwner);
}

void TSyncGrid::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TSyncGrid *>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    SetGrid(src->FGrid);
    FScrollHorizontal = src->FScrollHorizontal;
    FScrollVertical = src->FScrollVertical;
    FSelectionRow = src->FSelectionRow;
    FSelectionColumn = src->FSelectionColumn;
    FMoveRow = src->FMoveRow;
    FMoveColumn = src->FMoveColumn;
}

// ---------------------------------------------------------------------------------------------
// Save range and used cells

int TProStringGrid::SaveStartCol() const
{
    return (FSaveFixedCells || FSaveFixedCols) ? 0 : FixedCols();
}

int TProStringGrid::SaveEndCol() const
{
    return (FSaveFixedCells || FSaveFixedCols) ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
}

int TProStringGrid::SaveColCount() const
{
    return (FSaveFixedCells || FSaveFixedCols) ? ColCount() : ColCount() - FixedCols() - FFixedRightCols;
}

int TProStringGrid::SaveStartRow() const
{
    return (FSaveFixedCells || FSaveFixedRows) ? 0 : FixedRows();
}

int TProStringGrid::SaveEndRow() const
{
    return (FSaveFixedCells || FSaveFixedRows) ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
}

int TProStringGrid::SaveRowCount() const
{
    return (FSaveFixedCells || FSaveFixedRows) ? RowCount() : RowCount() - FixedRows() - FFixedFooters;
}

TRect TProStringGrid::UsedCells()
{
    int minC = ColCount() - 1, minR = RowCount() - 1, maxC = 0, maxR = 0;
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r) {
            if (GetCellEx(c, r).isEmpty())
                continue;
            minC = std::min(minC, c);
            minR = std::min(minR, r);
            maxC = std::max(maxC, c);
            maxR = std::max(maxR, r);
        }
    if (maxC < minC || maxR < minR)
        return {0, 0, 0, 0};
    return {minC, minR, maxC, maxR};
}
