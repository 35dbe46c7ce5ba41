#include "grid/core/ProGrid.h"
#include "framework/rtl/SysUtils.h"
#include <QSet>
#include <algorithm>

// ---------------------------------------------------------------------------------------------
// Row and column copies

void TProStringGrid::WidenColCount()
{
    if (FNumHidden)
        TBaseGrid::SetColCount(ColCount() + FNumHidden);
}

void TProStringGrid::NarrowColCount()
{
    if (FNumHidden)
        TBaseGrid::SetColCount(ColCount() - FNumHidden);
}

void TProStringGrid::CopyGridRow(int Dst, int Src)
{
    for (int c = 0; c < ColCount(); ++c) {
        SetGridCell(c, Dst, GetGridCell(c, Src));
        SetGridObject(c, Dst, GetGridObject(c, Src));
    }
}

void TProStringGrid::CopyGridCol(int Dst, int Src)
{
    for (int r = 0; r < RowCount(); ++r) {
        SetGridCell(Dst, r, GetGridCell(Src, r));
        SetGridObject(Dst, r, GetGridObject(Src, r));
    }
}

void TProStringGrid::DiscardStoreRow(int ARow)
{
    const int cols = StoreColExtent();
    FreeCellPropsRect(0, ARow, cols - 1, ARow);
    for (int c = 0; c < cols; ++c)
        if (!GetGridCell(c, ARow).isEmpty())
            SetGridCell(c, ARow, QString());
}

void TProStringGrid::RestoreCurrentRow(int OldRow, int OldTopRow)
{
    const int last = RowCount() - FFixedFooters;
    if (OldRow < last && OldRow >= FixedRows()) {
        SetRow(OldRow);
        SetTopRow(OldTopRow);
    } else if (FixedRows() < last) {
        SetRow(last - 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Clearing

void TProStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (RowCount() <= 0 || ColCount() <= 0)
        return;
    CheckCellIndex(ACol1, ARow1);
    for (int r = ARow1; r <= ARow2; ++r)
        for (int i = ACol1; i <= ACol2; ++i) {
            const int c = FSaveHiddenCells ? RealColIndex(i) : i;
            if (!FClearTextOnly && HasCellProperties(c, r)) {
                if (FNilObjects)
                    ClearGridCell(c, r);
                else
                    FreeCellPropsRect(c, r, c, r);
            }
            if (!IsDestroying() && !GetCellEx(c, r).isEmpty()) {
                SetCellEx(c, r, QString());
                if (c != i)
                    RepaintCell(i, r);
            }
        }
    // Cells kept beyond the counts may still hold properties; only a clear that reaches
    // them all may say that none are left.
    if (ACol1 == 0 && ARow1 == 0 && ACol2 >= StoreColExtent() - 1 && ARow2 >= StoreRowExtent() - 1 &&
        !FClearTextOnly)
        FHasCellProps = false;
    if (!IsDestroying() && !FBlockCellChange)
        CellsChanged(TRect(RealColIndex(ACol1), ARow1, RealColIndex(ACol2), ARow2));
}

void TProStringGrid::Clear()
{
    // No node outlives its cleared row; the count follows, whatever it had drifted to.
    if (HasNodes() && !IsDestroying()) {
        RemoveAllNodes();
        FNumNodes = 0;
    }
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(0, 0, ColCount() + FNumHidden - 1, RowCount() - 1);
    SetSearchInc(QString());
    if (FNumHidden > 0)
        Invalidate();
}

void TProStringGrid::ClearAll()
{
    Clear();
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TGridItem *item = FGridItems->Items(i);
        FreeItemProps(item);
        item->Items()->Clear();
    }
}

void TProStringGrid::ClearNormalCells()
{
    ClearRect(FixedCols(), FixedRows(), ColCount() + FNumHidden - FFixedRightCols - 1,
              RowCount() - FFixedFooters - 1);
}

void TProStringGrid::ClearRows(int RowIndex, int RCount)
{
    if (RCount > 0)
        ClearRect(0, RowIndex, ColCount() + FNumHidden - 1, RowIndex + RCount - 1);
}

void TProStringGrid::ClearNormalRows(int RowIndex, int RCount)
{
    if (RCount > 0)
        ClearRect(FixedCols(), RowIndex, ColCount() + FNumHidden - FFixedRightCols - 1, RowIndex + RCount - 1);
}

void TProStringGrid::ClearCols(int ColIndex, int CCount)
{
    if (CCount > 0)
        ClearRect(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
}

void TProStringGrid::ClearNormalCols(int ColIndex, int CCount)
{
    if (CCount > 0)
        ClearRect(ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - FFixedFooters - 1);
}

void TProStringGrid::ClearSelection()
{
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (RowSelect(RowSelectFlagIndex(r)))
                ClearRows(r, 1);
    } else if (FMouseActions->DisjunctColSelect()) {
        for (int c = FixedCols(); c < ColCount(); ++c)
            if (ColSelect(c))
                ClearCols(c, 1);
    } else {
        const TGridRect s = Selection();
        ClearRect(s.Left, s.Top, s.Right, s.Bottom);
    }
}

// ---------------------------------------------------------------------------------------------
// Rows

void TProStringGrid::InsertRows(int RowIndex, int RCount, bool UpdateCellControls)
{
    InsertRowBlock(RowIndex, RCount, UpdateCellControls);
}

void TProStringGrid::InsertRowBlock(int RowIndex, int RCount, bool UpdateCellControls)
{
    if (RCount <= 0)
        return;
    CheckCellIndex(0, RowIndex);
    const int lastWidth = ColWidths(ColCount() - 1);
    if (FSelHidden || Col() >= ColCount() || Row() >= RowCount())
        UnHideSelection();
    // Real rows from the insertion point on move down, hidden ones included; a row shown
    // again from hiding (no cell controls) keeps every real index.
    if (UpdateCellControls && NumHiddenRows() > 0) {
        const int real = RealRowIndex(RowIndex);
        for (int i = 0; i < FGridItems->Count(); ++i)
            if (TGridItem *item = FGridItems->Items(i); item->Idx() >= real)
                item->SetIdx(item->Idx() + RCount);
    }
    WidenColCount();
    const int oldCount = RowCount();
    // The rows that take the shifted end of the grid may hold cells kept beyond the count;
    // their properties would otherwise be overwritten without being freed.
    for (int t = oldCount; t < oldCount + RCount; ++t)
        DiscardStoreRow(t);
    SetRowCount(oldCount + RCount);
    // The footer row has moved to the end already and is no move target.
    for (int t = RowCount() - (FooterRowShown() ? 2 : 1); t >= RowIndex + RCount; --t) {
        CopyGridRow(t, t - RCount);
        SetRowHeights(t, RowHeights(t - RCount));
    }
    for (int t = RowIndex; t < RowIndex + RCount; ++t) {
        if (t < RowCount())
            SetRowHeights(t, DefaultRowHeight());
        ClearGridRow(t);
    }
    NarrowColCount();
    for (int k = 0; k < RCount; ++k) {
        if (FShowModified->Enabled() && RowIndex < FModifiedRows->Count())
            FModifiedRows->Insert(RowIndex, 0);
        if (FUseEnabledRows && RowIndex < FEnabledRows->Count())
            FEnabledRows->Insert(RowIndex, 0);
    }
    if (UpdateCellControls)
        InsertRowSelectFlags(RowIndex, RCount);
    SetColWidths(ColCount() - 1, lastWidth);
    if (UpdateCellControls && FControlList->Count() > 0) {
        const int real = RealRowIndex(RowIndex);
        for (int i = 0; i < FControlList->Count(); ++i)
            if (TControlItem *ci = FControlList->GetControl(i); ci->FY >= real)
                ci->FY += RCount;
        CellControlsUpdate(false);
    }
    if (!IsDestroying())
        CellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

// The disjunct row selection follows inserted rows.
void TProStringGrid::InsertRowSelectFlags(int RowIndex, int RCount)
{
    const int at = RowSelectFlagIndex(RowIndex);
    if (at < int(FRowSelect.size()))
        FRowSelect.insert(FRowSelect.begin() + at, size_t(RCount), 0);
    for (int i = 0; i < FSelectedRows->Count(); ++i)
        if (FSelectedRows->GetInteger(i) >= at)
            FSelectedRows->TList::SetItems(i, reinterpret_cast<void *>(intptr_t(FSelectedRows->GetInteger(i) + RCount)));
}

// Removed rows leave the modified, disabled and disjunct-selection lists.
void TProStringGrid::DeleteRowState(int RowIndex, int RCount, bool RowFlags)
{
    for (int k = 0; k < RCount; ++k) {
        if (FShowModified->Enabled() && RowIndex < FModifiedRows->Count())
            FModifiedRows->Delete(RowIndex);
        if (FUseEnabledRows && RowIndex < FEnabledRows->Count())
            FEnabledRows->Delete(RowIndex);
        if (RowFlags && RowIndex < int(FRowSelect.size()))
            FRowSelect.erase(FRowSelect.begin() + RowIndex);
    }
}

void TProStringGrid::RebuildSelectedRows()
{
    FSelectedRows->Clear();
    for (size_t r = 0; r < FRowSelect.size() && int(r) < RowCount(); ++r)
        if (FRowSelect[r])
            FSelectedRows->Add(int(r));
}

void TProStringGrid::ShiftHiddenRowsUp(int Above, int RCount)
{
    for (int i = 0; i < FGridItems->Count(); ++i)
        if (TGridItem *item = FGridItems->Items(i); item->Idx() > Above)
            item->SetIdx(item->Idx() - RCount);
}

void TProStringGrid::AddRow()
{
    if (FFloatingFooter->Visible()) {
        InsertRows(RowCount() - 1, 1, true);
        if (FFloatingFooter->FooterStyle() == fsFixedLastRow)
            ClearRows(RowCount() - 2, 1);
        return;
    }
    InsertRows(RowCount(), 1, true);
    ClearRows(RowCount() - 1, 1);
}

bool TProStringGrid::ClampRowBlock(int RowIndex, int &RCount) const
{
    if (RCount <= 0 || RowIndex >= RowCount())
        return false;
    CheckCellIndex(0, RowIndex);
    RCount = std::min(RCount, RowCount() - RowIndex);
    return true;
}

// Rows below the block move up; the rows they leave at the end are emptied so that no
// properties object is ever held by two cells.
void TProStringGrid::ShiftRowsUp(int RowIndex, int RCount, bool Heights)
{
    for (int t = RowIndex; t < RowCount(); ++t) {
        if (t + RCount < RowCount()) {
            CopyGridRow(t, t + RCount);
            if (Heights)
                SetRowHeights(t, RowHeights(t + RCount));
        } else {
            ClearGridRow(t);
        }
    }
}

void TProStringGrid::RemoveRows(int RowIndex, int RCount)
{
    if (!ClampRowBlock(RowIndex, RCount))
        return;
    if (FControlList->Count() > 0) {
        const int below = RealRowIndex(RowIndex + RCount);
        for (int i = 0; i < FControlList->Count(); ++i)
            if (TControlItem *ci = FControlList->GetControl(i); ci->FY >= below)
                ci->FY -= RCount;
    }
    FreeCellPropsRect(0, RowIndex, ColCount() + FNumHidden - 1, RowIndex + RCount - 1);
    const int lastWidth = ColWidths(ColCount() - 1);
    TGridUpdateLock update(this);
    WidenColCount();
    const int oldTop = TopRow(), oldRow = Row();
    if (NumHiddenRows() > 0)
        ShiftHiddenRowsUp(RealRowIndex(RowIndex), RCount);
    // Putting the current row back is no selection by the user.
    const bool disjunct = FMouseActions->DisjunctRowSelect();
    FMouseActions->SetDisjunctRowSelect(false);
    DeleteRowState(RowIndex, RCount, disjunct);
    ShiftRowsUp(RowIndex, RCount, true);
    for (int t = RowCount(); t < RowCount() + RCount; ++t)
        DiscardStoreRow(t);
    SetRowCountShifted(RowCount() - RCount);
    if (Row() >= RowCount() && RowCount() - 1 >= FixedRows())
        SetRow(RowCount() - 1);
    NarrowColCount();
    FMaxRowCount -= RCount;
    RestoreCurrentRow(oldRow, oldTop);
    SetColWidths(ColCount() - 1, lastWidth);
    FSelHidden = false;
    FMouseActions->SetDisjunctRowSelect(disjunct);
    update.Release();
    if (disjunct)
        RebuildSelectedRows();
    CellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
    const int vis = VisibleRowCount();
    if (TopRow() >= RowCount() + FixedRows() - vis - 2 && RowCount() - vis - 1 > 0)
        SetTopRow(RowCount() + FixedRows() - vis - 2);
    if (FControlList->Count() > 0)
        CellControlsUpdate(false);
}

void TProStringGrid::RemoveRowsEx(int RowIndex, int RCount)
{
    if (!ClampRowBlock(RowIndex, RCount))
        return;
    // Unlike the plain row shift, the removed rows' properties are freed and the vacated rows
    // emptied: a store must never hold one properties object in two cells.
    FreeCellPropsRect(0, RowIndex, ColCount() + FNumHidden - 1, RowIndex + RCount - 1);
    const int lastWidth = ColWidths(ColCount() - 1);
    const int oldRow = Row(), oldTop = TopRow();
    TGridUpdateLock update(this);
    WidenColCount();
    ShiftRowsUp(RowIndex, RCount, false);
    if (FMouseActions->DisjunctRowSelect())
        for (int k = 0; k < RCount && RowIndex < int(FRowSelect.size()); ++k)
            FRowSelect.erase(FRowSelect.begin() + RowIndex);
    SetRowCountShifted(RowCount() - RCount);
    FMaxRowCount -= RCount;
    NarrowColCount();
    SetColWidths(ColCount() - 1, lastWidth);
    if (oldRow < RowCount() && oldRow >= FixedRows()) {
        SetRow(oldRow);
        SetTopRow(oldTop);
    } else if (FixedRows() < RowCount()) {
        SetRow(FixedRows());
        SetTopRow(FixedRows());
    }
    update.Release();
    if (NumHiddenRows() > 0)
        ShiftHiddenRowsUp(RowIndex + RCount - 1, RCount);
    CellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

void TProStringGrid::DeleteRowBlock(int RowIndex, int RCount, bool UpdateCellControls)
{
    if (!ClampRowBlock(RowIndex, RCount))
        return;
    if (UpdateCellControls)
        for (int i = FControlList->Count() - 1; i >= 0; --i)
            if (TControlItem *ci = FControlList->GetControl(i); ci->FY >= RowIndex && ci->FY < RowIndex + RCount) {
                if (ci->FObject)
                    ci->FObject->SetVisible(false);
                FControlList->RemoveControl(i);
            }
    const int footers = FFixedFooters;
    FFixedFooters = 0;
    // The current row moves below; that must not rewrite the disjunct selection.
    const bool disjunct = FMouseActions->DisjunctRowSelect();
    FMouseActions->SetDisjunctRowSelect(false);
    const int lastWidth = ColWidths(ColCount() - 1);
    TGridUpdateLock update(this);
    WidenColCount();
    const int oldTop = TopRow(), oldRow = Row();
    if (UpdateCellControls && NumHiddenRows() > 0)
        ShiftHiddenRowsUp(RealRowIndex(RowIndex), RCount);
    if (disjunct && !FMouseActions->RowSelectPersistent())
        for (int k = 0; k < RCount && RowIndex < int(FRowSelect.size()); ++k)
            FRowSelect.erase(FRowSelect.begin() + RowIndex);
    // The removed rows' objects were freed or handed elsewhere by the caller; the rows moved
    // up leave their old slots empty.
    ShiftRowsUp(RowIndex, RCount, true);
    SetRowCountShifted(RowCount() - RCount);
    RestoreCurrentRow(oldRow, oldTop);
    NarrowColCount();
    SetColWidths(ColCount() - 1, lastWidth);
    update.Release();
    CellsChanged(TRect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
    if (TopRow() >= RowCount() - 1 && RowCount() - 1 >= FixedRows())
        SetTopRow(RowCount() - 1);
    FSelHidden = false;
    FMouseActions->SetDisjunctRowSelect(disjunct);
    if (FControlList->Count() > 0)
        CellControlsUpdate(false);
    FFixedFooters = footers;
}

void TProStringGrid::FreeAndDeleteRows(int RowIndex, int RCount)
{
    FreeCellPropsRect(0, RowIndex, TotalColCount() - 1, RowIndex + RCount - 1);
    DeleteRowBlock(RowIndex, RCount, true);
}

void TProStringGrid::RemoveDuplicates(int ACol, bool DoCase)
{
    CheckCellIndex(ACol, 0);
    const int c = RealColIndex(ACol);
    QSet<QString> seen;
    TGridUpdateLock update(this);
    int r = FixedRows();
    while (r < RowCount() - FFixedFooters) {
        const QString text = GetCellEx(c, r);
        const QString key = DoCase ? text : AnsiUpperCase(text);
        if (seen.contains(key)) {
            FreeAndDeleteRows(r, 1);
        } else {
            seen.insert(key);
            ++r;
        }
    }
    update.Release();
}

void TProStringGrid::RemoveSelectedRows()
{
    TGridUpdateLock update(this);
    if (FMouseActions->DisjunctRowSelect()) {
        QSet<int> selected;
        const int last = RowCount() - FFixedFooters - 1;
        for (int r = last; r >= FixedRows(); --r)
            if (RowSelect(RowSelectFlagIndex(r)))
                selected.insert(RowSelectFlagIndex(r));
        for (int r = last; r >= FixedRows(); --r)
            if (selected.contains(RowSelectFlagIndex(r)))
                FreeAndDeleteRows(r, 1);
        ClearRowSelect();
    } else {
        TGridRect s = Selection();
        if (s.Bottom < s.Top)
            std::swap(s.Top, s.Bottom);
        for (int r = s.Bottom; r >= s.Top; --r)
            FreeAndDeleteRows(r, 1);
    }
    update.Release();
}

void TProStringGrid::RemoveUnSelectedRows()
{
    TGridUpdateLock update(this);
    for (int r = RowCount() - FFixedFooters - 1; r >= FixedRows(); --r)
        if (!RowSelect(RowSelectFlagIndex(r)))
            FreeAndDeleteRows(r, 1);
    if (FMouseActions->RowSelectPersistent())
        SelectRows(FixedRows(), RowCount() - FixedRows());
    else
        ClearRowSelect();
    update.Release();
}

void TProStringGrid::RemoveSelectedCols()
{
    if (FMouseActions->DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= FixedCols(); --c)
            if (ColSelect(c)) {
                RemoveCols(c, 1);
                if (c < int(FColSelect.size()))
                    FColSelect.erase(FColSelect.begin() + c);
            }
        return;
    }
    TGridRect s = Selection();
    if (s.Right < s.Left)
        std::swap(s.Left, s.Right);
    RemoveCols(s.Left, s.Right - s.Left + 1);
}

void TProStringGrid::RemoveUnSelectedCols()
{
    if (FMouseActions->DisjunctColSelect()) {
        for (int c = ColCount() - 1; c >= FixedCols(); --c)
            if (!ColSelect(c)) {
                RemoveCols(c, 1);
                if (c < int(FColSelect.size()))
                    FColSelect.erase(FColSelect.begin() + c);
            }
    } else {
        TGridRect s = Selection();
        if (s.Right < s.Left)
            std::swap(s.Left, s.Right);
        RemoveCols(s.Right + 1, ColCount() - s.Right);
        RemoveCols(FixedCols(), s.Left - FixedCols());
    }
    ClearColSelect();
}

void TProStringGrid::HideRowsBySelection(bool Selected)
{
    TGridUpdateLock update(this);
    int r = FixedRows();
    while (r < RowCount()) {
        if (RowSelect(RowSelectFlagIndex(r)) == Selected) {
            const int real = RealRowIndex(r);
            const int before = RowCount();
            HideRows(real, real);
            if (RowCount() == before)
                ++r;
        } else {
            ++r;
        }
    }
    update.Release();
}

// ---------------------------------------------------------------------------------------------
// Columns

void TProStringGrid::InsertCols(int ColIndex, int CCount)
{
    if (CCount <= 0)
        return;
    CheckCellIndex(ColIndex, 0);
    const int oldTotal = ColCount() + FNumHidden;
    // Columns kept beyond the count that the shift overwrites give up their properties first.
    FreeCellPropsRect(oldTotal, 0, oldTotal + CCount - 1, RowCount() - 1);
    SetColCount(ColCount() + CCount);
    for (int t = ColCount() + FNumHidden - 1; t >= ColIndex + CCount; --t) {
        CopyGridCol(t, t - CCount);
        if (t < ColCount())
            SetColWidths(t, ColWidths(t - CCount));
        SetColVisible(t, ColVisible(t - CCount));
        if (size_t(t) < FAllColWidths.size() || size_t(t - CCount) < FAllColWidths.size())
            SetAllColWidthEntry(t, AllColWidthEntry(t - CCount));
    }
    for (int t = ColIndex; t < ColIndex + CCount; ++t) {
        if (t < ColCount())
            SetColWidths(t, DefaultColWidth());
        SetColVisible(t, true);
        ClearGridCol(t);
    }
}

void TProStringGrid::RemoveCols(int ColIndex, int CCount)
{
    if (CCount <= 0)
        return;
    CheckCellIndex(ColIndex, 0);
    const int total = ColCount() + FNumHidden;
    if (ColIndex + CCount > total)
        CCount = total - ColIndex;
    if (CCount <= 0)
        return;
    // Hidden columns inside the block leave the hidden count; only the shown ones leave ColCount.
    int hiddenGone = 0;
    for (int c = ColIndex; c < ColIndex + CCount; ++c)
        if (!ColVisible(c))
            ++hiddenGone;
    // Freed even with ClearTextOnly: the shift below overwrites these slots.
    FreeCellPropsRect(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
    ClearCols(ColIndex, CCount);
    WidenColCount();
    for (int t = ColIndex; t < ColCount(); ++t) {
        if (t + CCount < ColCount()) {
            CopyGridCol(t, t + CCount);
            SetColWidths(t, ColWidths(t + CCount));
            SetColVisible(t, ColVisible(t + CCount));
            if (size_t(t) < FAllColWidths.size() || size_t(t + CCount) < FAllColWidths.size())
                SetAllColWidthEntry(t, AllColWidthEntry(t + CCount));
        } else {
            ClearGridCol(t);
            SetColVisible(t, true);
        }
    }
    NarrowColCount();
    FNumHidden -= hiddenGone;
    SetColCount(ColCount() - (CCount - hiddenGone));
    CellsChanged(TRect(ColIndex, 0, ColIndex + CCount, RowCount() - 1));
}

// ---------------------------------------------------------------------------------------------
// Trimming, colours, merging runs

void TProStringGrid::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    for (int r = ARow1; r <= ARow2; ++r)
        for (int i = ACol1; i <= ACol2; ++i) {
            const int c = FSaveHiddenCells ? RealColIndex(i) : i;
            const QString text = GetCellEx(c, r);
            const QString trimmed = Trim(text);
            if (trimmed != text)
                SetCellEx(c, r, trimmed);
        }
}

void TProStringGrid::ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor)
{
    for (int r = ARow1; r <= ARow2; ++r)
        for (int c = ACol1; c <= ACol2; ++c)
            SetColors(c, r, AColor);
}

void TProStringGrid::MergeColumnCells(int ColIndex, bool MainMerge)
{
    const int last = RowCount() - FFixedFooters - 1;
    int start = FixedRows(), len = 1;
    for (int r = FixedRows() + 1; r <= last; ++r) {
        if (GetCellEx(ColIndex, r) == GetCellEx(ColIndex, r - 1) && (MainMerge || RowSpanIdentical(r, r - 1))) {
            ++len;
            continue;
        }
        if (len > 1)
            MergeCells(ColIndex, start, 1, len);
        start = r;
        len = 1;
    }
    if (len > 1)
        MergeCells(ColIndex, start, 1, len);
}

void TProStringGrid::MergeRowCells(int RowIndex, bool MainMerge)
{
    const int last = ColCount() - FFixedRightCols - 1;
    int start = FixedCols(), len = 1;
    for (int c = FixedCols() + 1; c <= last; ++c) {
        if (GetCellEx(c, RowIndex) == GetCellEx(c - 1, RowIndex) && (MainMerge || ColSpanIdentical(c, c - 1))) {
            ++len;
            continue;
        }
        if (len > 1)
            MergeCells(start, RowIndex, len, 1);
        start = c;
        len = 1;
    }
    if (len > 1)
        MergeCells(start, RowIndex, len, 1);
}

void TProStringGrid::SplitColumnCells(int ColIndex)
{
    int r = 0;
    while (r < RowCount() - FFixedFooters - 1) {
        if (IsYMergedCell(ColIndex, r)) {
            const int span = CellSpan(ColIndex, r).Y;
            SplitCells(ColIndex, r);
            r += span + 1;
        } else {
            ++r;
        }
    }
}

void TProStringGrid::SplitRowCells(int RowIndex)
{
    int c = 0;
    while (c < ColCount() - FFixedRightCols - 1) {
        const int span = CellSpan(c, RowIndex).X;
        if (IsMergedCell(c, RowIndex) && span >= 0) {
            SplitCells(c, RowIndex);
            c += span + 1;
        } else {
            ++c;
        }
    }
}

void TProStringGrid::SplitAllCells()
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (IsMergedCell(c, r))
                SplitCells(c, r);
}

void TProStringGrid::MergeCols(int ColIndex1, int ColIndex2, const QString &Separator)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetCellEx(ColIndex1, r, Trim(GetCellEx(ColIndex1, r) + Separator + GetCellEx(ColIndex2, r)));
    RemoveCols(ColIndex2, 1);
}

bool TProStringGrid::IsCell(const QString &SubStr, int &ACol, int &ARow) const
{
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            if (GetGridCell(c, r) == SubStr) {
                ACol = c;
                ARow = r;
                return true;
            }
    return false;
}

bool TProStringGrid::IsWideCell(int ACol, int ARow)
{
    return GetCellEx(ACol, ARow).startsWith(QLatin1String("|\\"));
}
