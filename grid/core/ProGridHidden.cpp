// Hidden columns and rows, and the cell access by real column and real row.
#include "grid/core/ProGrid.h"
#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Column mapping

void TProStringGrid::SetColVisible(int c, bool v)
{
    if (c < 0)
        return;
    if (size_t(c) >= FVisibleCol.size()) {
        if (v)
            return;
        FVisibleCol.resize(size_t(c) + 1, true);
    }
    FVisibleCol[size_t(c)] = v;
}

int TProStringGrid::AllColWidthEntry(int c) const
{
    return c >= 0 && size_t(c) < FAllColWidths.size() ? FAllColWidths[size_t(c)] : DefaultColWidth();
}

void TProStringGrid::SetAllColWidthEntry(int c, int w)
{
    if (c < 0)
        return;
    if (size_t(c) >= FAllColWidths.size())
        FAllColWidths.resize(size_t(c) + 1, int16_t(DefaultColWidth()));
    FAllColWidths[size_t(c)] = int16_t(w);
}

int TProStringGrid::RealColIndex(int ACol) const
{
    if (FNumHidden == 0)
        return ACol;
    if (ACol < 0)
        return 0;
    int visible = 0;
    for (size_t j = 0; j < FVisibleCol.size(); ++j) {
        if (!FVisibleCol[j])
            continue;
        if (visible == ACol)
            return int(j);
        ++visible;
    }
    // Past the flags every column is shown.
    return int(FVisibleCol.size()) + ACol - visible;
}

int TProStringGrid::DisplColIndex(int ACol) const
{
    if (FNumHidden == 0 || ACol <= 0)
        return ACol;
    const size_t n = std::min(size_t(ACol), FVisibleCol.size());
    int hidden = 0;
    for (size_t j = 0; j < n; ++j)
        if (!FVisibleCol[j])
            ++hidden;
    return ACol - hidden;
}

bool TProStringGrid::IsHiddenColumn(int ACol) const
{
    return !ColVisible(ACol);
}

// ---------------------------------------------------------------------------------------------
// Hiding and showing columns

void TProStringGrid::HideColumns(int FromCol, int ToCol)
{
    HideInplaceEdit();
    for (int c = std::max(FromCol, 0); c <= ToCol; ++c) {
        if (!ColVisible(c) || c >= ColCount() + FNumHidden || ColCount() <= 1)
            continue;
        const int d = DisplColIndex(c);
        if (size_t(c) >= FAllColWidths.size())
            FAllColWidths.resize(size_t(c) + 1, int16_t(DefaultColWidth()));
        FAllColWidths[size_t(c)] = int16_t(ColWidths(d));
        for (int k = d; k + 1 < ColCount(); ++k)
            SetColWidths(k, ColWidths(k + 1));
        ++FNumHidden;
        SetColVisible(c, false);
        if (Col() == ColCount() - 1 && Col() - 1 >= 0)
            SetCol(Col() - 1);
        SetColCount(ColCount() - 1);
    }
    Invalidate();
}

void TProStringGrid::UnHideColumns(int FromCol, int ToCol)
{
    HideInplaceEdit();
    for (int c = std::max(FromCol, 0); c <= ToCol; ++c) {
        if (ColVisible(c))
            continue;
        --FNumHidden;
        SetColVisible(c, true);
        SetColCount(ColCount() + 1);
        for (int k = ColCount() - 1; k >= DisplColIndex(c + 1) && k >= 1; --k)
            SetColWidths(k, ColWidths(k - 1));
        SetColWidths(DisplColIndex(c), AllColWidthEntry(c));
    }
    Invalidate();
}

int TProStringGrid::GetAllColWidths(int ACol) const
{
    if (IsHiddenColumn(ACol))
        return AllColWidthEntry(ACol);
    return ColWidths(DisplColIndex(ACol));
}

void TProStringGrid::SetAllColWidths(int ACol, int Value)
{
    if (ACol < 0)
        return;
    if (size_t(ACol) >= FAllColWidths.size())
        FAllColWidths.resize(size_t(ACol) + 1, int16_t(DefaultColWidth()));
    FAllColWidths[size_t(ACol)] = int16_t(Value);
    if (!IsHiddenColumn(ACol) && DisplColIndex(ACol) < ColCount())
        SetColWidths(DisplColIndex(ACol), Value);
}

// ---------------------------------------------------------------------------------------------
// Row mapping

int TProStringGrid::RealRowIndex(int ARow) const
{
    if (FGridItems->Count() == 0)
        return ARow;
    if (ARow < 0)
        return 0;
    return FGridItems->NthShownRow(ARow);
}

int TProStringGrid::DisplRowIndex(int ARow) const
{
    if (FGridItems->Count() == 0)
        return ARow;
    return ARow - FGridItems->CountBelow(ARow);
}

bool TProStringGrid::IsHiddenRow(int ARow) const
{
    return FGridItems->Count() > 0 && FGridItems->Find(ARow) != nullptr;
}

TStringList *TProStringGrid::GetHiddenRowStrings(int ARow) const
{
    TGridItem *item = FGridItems->Count() ? FGridItems->Find(ARow) : nullptr;
    return item ? item->Items() : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Row copies

TStringList *TProStringGrid::CopyRowStrings(int ARow) const
{
    auto *list = new TStringList;
    const int n = ColCount() + FNumHidden;
    for (int c = 0; c < n; ++c)
        list->AddObject(GetGridCell(c, ARow), GetGridObject(c, ARow));
    return list;
}

void TProStringGrid::RestoreRowStrings(int ARow, const TStringList *Strings)
{
    const int n = std::max(Strings->Count(), ColCount() + FNumHidden);
    for (int c = 0; c < n; ++c) {
        const bool has = c < Strings->Count();
        SetGridCell(c, ARow, has ? Strings->Strings(c) : QString());
        SetGridObject(c, ARow, has ? Strings->Objects(c) : nullptr);
    }
}

void TProStringGrid::FreeItemProps(TGridItem *Item)
{
    TStringList *list = Item->Items();
    for (int c = 0; c < list->Count(); ++c)
        if (auto *props = dynamic_cast<TCellProperties *>(list->Objects(c))) {
            list->SetObjects(c, nullptr);
            DisposeCellProperties(props);
        }
}

// ---------------------------------------------------------------------------------------------
// Hiding rows

void TProStringGrid::HideRows(int FromRow, int ToRow)
{
    if (ToRow < FromRow)
        return;
    const int b = FGridItems->CountBelow(FromRow);
    const int n = FGridItems->CountBelow(ToRow + 1) - b;
    if (ToRow - FromRow + 1 == n)
        return;
    const int D = FromRow - b;
    std::vector<char> already(size_t(ToRow - FromRow + 1), 0);
    for (int r = FromRow; r <= ToRow; ++r)
        already[size_t(r - FromRow)] = IsHiddenRow(r);
    int pos = b, k = 0;
    for (int r = FromRow; r <= ToRow; ++r) {
        if (already[size_t(r - FromRow)])
            continue;
        const int d = D + k;
        if (d >= RowCount())
            break;
        TGridItem *item = FGridItems->Insert(pos++);
        item->SetItems(CopyRowStrings(d));
        item->SetIdx(r);
        item->SetHeight(RowHeights(d));
        ++k;
    }
    for (int i = 0; i < FControlList->Count(); ++i)
        if (TControlItem *ci = FControlList->GetControl(i); ci->FX == 1 && ci->FY == D && ci->FObject)
            ci->FObject->SetVisible(false);
    // The rows' cells now belong to the items: the removal must not free them.
    DeleteRowBlock(D, k, false);
    CellControlsUpdate(false);
}

void TProStringGrid::HideRowsEx(int FromRow, int ToRow)
{
    if (ToRow < FromRow || IsHiddenRow(FromRow))
        return;
    const int D = DisplRowIndex(FromRow);
    const int count = std::min(ToRow - FromRow + 1, RowCount() - D);
    if (count <= 0)
        return;
    std::vector<TGridItem *> added;
    for (int r = FromRow; r < FromRow + count; ++r) {
        const int d = D + (r - FromRow);
        TGridItem *item = FGridItems->Add();
        item->SetItems(CopyRowStrings(d));
        item->SetHeight(RowHeights(d));
        added.push_back(item);
        // The objects went to the item: the removal below must find empty slots.
        for (int c = 0; c < ColCount() + FNumHidden; ++c)
            SetGridObject(c, d, nullptr);
    }
    // Rows hidden before keep their real indices: hiding moves no real row.
    std::vector<std::pair<TGridItem *, int>> kept;
    for (int i = 0; i < FGridItems->Count(); ++i)
        if (std::find(added.begin(), added.end(), FGridItems->Items(i)) == added.end())
            kept.emplace_back(FGridItems->Items(i), FGridItems->Items(i)->Idx());
    RemoveRowsEx(D, count);
    for (auto &[item, idx] : kept)
        item->SetIdx(idx);
    for (int r = FromRow; r < FromRow + count; ++r)
        added[size_t(r - FromRow)]->SetIdx(r);
    CellControlsUpdate(false);
}

void TProStringGrid::HideRowList(TIntList *RowList)
{
    const int rows = RowCount();
    std::vector<int> heights(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r)
        heights[size_t(r)] = RowHeights(r);
    // Rows outside the grid and repeated rows are left out: one row, one item.
    std::vector<int> list;
    for (int i = 0; i < RowList->Count(); ++i) {
        const int d = RowList->GetInteger(i);
        if (d >= 0 && d < rows && (list.empty() || d > list.back()))
            list.push_back(d);
    }
    // An empty list still opens its level: the filter lowers the level again when it is undone.
    ++FFilterLevel;
    if (list.empty())
        return;
    // Items name real rows, like every other hidden row, so that rows hidden later (contracted
    // nodes) do not shift where a filtered row comes back.
    std::vector<int> real(list.size());
    for (size_t k = 0; k < list.size(); ++k)
        real[k] = RealRowIndex(list[k]);
    for (size_t k = 0; k < list.size(); ++k) {
        const int d = list[k];
        TGridItem *item = FGridItems->Add();
        item->SetItems(CopyRowStrings(d));
        item->SetIdx(real[k]);
        item->SetHeight(heights[size_t(d)]);
        item->Level = FFilterLevel - 1;
        item->Filtered = true;
    }
    TGridUpdateLock update(this);
    size_t li = 0;
    int next = 0;
    for (int r = 0; r < rows; ++r) {
        if (li < list.size() && list[li] == r) {
            ++li;
            continue;
        }
        if (next != r) {
            MoveCellRow(r, next);
            SetRowHeights(next, heights[size_t(r)]);
        }
        ++next;
    }
    // The rows left behind at the end still hold cells the items took: emptied, nothing freed.
    for (int r = next; r < rows; ++r)
        ClearGridRow(r);
    SetRowCountShifted(rows - int(list.size()));
    update.Release();
    CellControlsUpdate(false);
}

// ---------------------------------------------------------------------------------------------
// Showing rows

void TProStringGrid::UnHideRow(int ARow)
{
    TGridItem *item = FGridItems->Count() ? FGridItems->Find(ARow) : nullptr;
    if (!item)
        return;
    const bool modified = FShowModified->Enabled();
    FShowModified->SetEnabled(false);
    const int d = DisplRowIndex(ARow);
    InsertRowBlock(d, 1, false);
    RestoreRowStrings(d, item->Items());
    SetRowHeights(d, item->Height());
    delete item;
    for (int i = 0; i < FControlList->Count(); ++i)
        if (TControlItem *ci = FControlList->GetControl(i); ci->FY == ARow && ci->FObject)
            ci->FObject->SetVisible(true);
    FShowModified->SetEnabled(modified);
    CellControlsUpdate(false);
}

void TProStringGrid::UnHideRows(int FromRow, int ToRow)
{
    if (!IsHiddenRow(FromRow))
        return;
    std::vector<TGridItem *> items;
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TGridItem *it = FGridItems->Items(i);
        if (it->Idx() >= FromRow && it->Idx() <= ToRow)
            items.push_back(it);
    }
    std::stable_sort(items.begin(), items.end(), [](TGridItem *a, TGridItem *b) { return a->Idx() < b->Idx(); });
    bool run = true;
    for (size_t k = 0; k < items.size(); ++k)
        run = run && items[k]->Idx() == FromRow + int(k);
    if (!run) {
        // Hidden rows mixed with shown ones: each goes back to its own place.
        for (TGridItem *it : items)
            UnHideRow(it->Idx());
        return;
    }
    const bool modified = FShowModified->Enabled();
    FShowModified->SetEnabled(false);
    const int D = DisplRowIndex(FromRow);
    InsertRowBlock(D, int(items.size()), false);
    for (TGridItem *it : items) {
        const int d = D + (it->Idx() - FromRow);
        RestoreRowStrings(d, it->Items());
        SetRowHeights(d, it->Height());
        delete it;
    }
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem *ci = FControlList->GetControl(i);
        if (ci->FX == 1 && ci->FY == D && ci->FObject) {
            const TRect r = TCustomGrid::CellRect(1, D);
            ci->FObject->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top - 1);
            ci->FObject->SetVisible(true);
        }
    }
    FShowModified->SetEnabled(modified);
    CellControlsUpdate(false);
}

void TProStringGrid::UnHideRowsAll()
{
    int pos = 0;
    while (pos < FGridItems->Count()) {
        const int first = FGridItems->Items(pos)->Idx();
        int last = first, i = pos + 1;
        while (i < FGridItems->Count() && FGridItems->Items(i)->Idx() == last + 1) {
            ++last;
            ++i;
        }
        const int before = FGridItems->Count();
        UnHideRows(first, last);
        // An item that could not be restored is stepped over rather than tried forever.
        if (FGridItems->Count() == before)
            pos = i;
    }
}

void TProStringGrid::UnHideRowList()
{
    const int L = FFilterLevel - 1;
    if (L < 0)
        return;
    auto ofLevel = [L](const TGridItem *it) { return it->Filtered && it->Level == L; };
    int m = 0;
    for (int i = 0; i < FGridItems->Count(); ++i)
        if (ofLevel(FGridItems->Items(i)))
            ++m;
    const int O = RowCount();
    if (Row() >= RowCount())
        FocusCell(FixedCols(), FixedRows());
    TGridUpdateLock update(this);
    // Rows kept beyond the count give up their properties before they are written over.
    for (int t = O; t < O + m; ++t)
        DiscardStoreRow(t);
    SetRowCountShifted(O + m);
    int s = O - 1;
    int item = FGridItems->Count() - 1;
    auto skipOtherLevels = [&] {
        while (item >= 0 && !ofLevel(FGridItems->Items(item)))
            --item;
    };
    // A row of the level comes back at its real index less the rows that stay hidden above it.
    std::vector<int> staying;
    for (int i = 0; i < FGridItems->Count(); ++i)
        if (!ofLevel(FGridItems->Items(i)))
            staying.push_back(FGridItems->Items(i)->Idx());
    std::sort(staying.begin(), staying.end());
    auto target = [&](const TGridItem *it) {
        return it->Idx() - int(std::lower_bound(staying.begin(), staying.end(), it->Idx()) - staying.begin());
    };
    skipOtherLevels();
    for (int t = O + m - 1; t >= 0 && s < t; --t) {
        if (item >= 0 && target(FGridItems->Items(item)) == t) {
            TGridItem *it = FGridItems->Items(item);
            RestoreRowStrings(t, it->Items());
            SetRowHeights(t, it->Height());
            --item;
            skipOtherLevels();
        } else if (s >= 0) {
            MoveCellRow(s, t);
            SetRowHeights(t, RowHeights(s));
            --s;
        }
    }
    // Rows hidden one by one stay hidden with their cells; with the last filter level gone every
    // filter item goes.
    for (int i = FGridItems->Count() - 1; i >= 0; --i) {
        const TGridItem *it = FGridItems->Items(i);
        if (FFilterLevel < 2 ? it->Filtered : ofLevel(it))
            FGridItems->Delete(i);
    }
    update.Release();
    CellControlsUpdate(false);
}

// ---------------------------------------------------------------------------------------------
// Cell access by real row

QString TProStringGrid::GetCellsEx(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return QString();
    if (TStringList *list = GetHiddenRowStrings(ARow)) {
        QString s = ACol < list->Count() ? list->Strings(ACol) : QString();
        GetDisplText(ACol, ARow, s);
        return s;
    }
    return GetCellEx(ACol, DisplRowIndex(ARow));
}

void TProStringGrid::SetCellsEx(int ACol, int ARow, const QString &Value)
{
    if (TStringList *list = GetHiddenRowStrings(ARow)) {
        while (list->Count() <= ACol)
            list->Add(QString());
        list->SetStrings(ACol, Value);
        return;
    }
    const int r = DisplRowIndex(ARow);
    SetCellEx(ACol, r, Value);
    const int d = DisplColIndex(ACol);
    if (d != ACol)
        RepaintCell(d, r);
}

QString TProStringGrid::GetGridCellsEx(int ACol, int ARow) const
{
    if (TStringList *list = GetHiddenRowStrings(ARow))
        return list->Strings(ACol);
    return GetGridCell(ACol, DisplRowIndex(ARow));
}

void TProStringGrid::SetGridCellsEx(int ACol, int ARow, const QString &Value)
{
    if (TStringList *list = GetHiddenRowStrings(ARow)) {
        list->SetStrings(ACol, Value);
        return;
    }
    SetGridCell(ACol, DisplRowIndex(ARow), Value);
}

TObject *TProStringGrid::GetObjectsEx(int ACol, int ARow)
{
    if (TStringList *list = GetHiddenRowStrings(ARow)) {
        TObject *obj = list->Objects(ACol);
        if (auto *props = dynamic_cast<TCellProperties *>(obj))
            return props->CellObject();
        return obj;
    }
    return GetObjectEx(ACol, DisplRowIndex(ARow));
}

// A hidden row's object slots hold cell properties, as the grid's cells do; the user object
// goes into them so that the row comes back with properties where properties are expected.
void TProStringGrid::SetObjectsEx(int ACol, int ARow, TObject *Value)
{
    if (TStringList *list = GetHiddenRowStrings(ARow)) {
        while (list->Count() <= ACol)
            list->Add(QString());
        auto *props = dynamic_cast<TCellProperties *>(list->Objects(ACol));
        if (!props) {
            props = new TCellProperties(this, ACol, DisplRowIndex(ARow));
            list->SetObjects(ACol, props);
            FHasCellProps = true;
        }
        props->SetCellObject(Value);
        return;
    }
    SetObjectEx(ACol, DisplRowIndex(ARow), Value);
}

TObject *TProStringGrid::GetGridObjectsEx(int ACol, int ARow) const
{
    if (TStringList *list = GetHiddenRowStrings(ARow))
        return list->Objects(ACol);
    return GetGridObject(ACol, DisplRowIndex(ARow));
}

// ---------------------------------------------------------------------------------------------
// Cell controls

void TProStringGrid::CellControlsUpdate(bool RebuildList)
{
    if (!Widget())
        return;
    if (RebuildList) {
        while (FControlList->Count() > 0)
            FControlList->RemoveControl(FControlList->Count() - 1);
        const int cols = ColCount() + FNumHidden;
        for (int c = 0; c < cols; ++c)
            for (int r = 0; r < RowCount(); ++r)
                if (HasCellProperties(c, r))
                    if (TControl *ctl = GetCellProperties(c, r)->Control())
                        FControlList->AddControl(c, RealRowIndex(r), ctl);
        FNumCellControls = FControlList->Count();
    }
    if (FNumCellControls <= 0)
        return;
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem *ci = FControlList->GetControl(i);
        TControl *ctl = ci->FObject;
        if (!ctl)
            continue;
        if (IsHiddenColumn(ci->FX) || IsHiddenRow(ci->FY)) {
            ctl->SetVisible(false);
            continue;
        }
        const int dc = DisplColIndex(ci->FX), dr = DisplRowIndex(ci->FY);
        const TRect r = dc < ColCount() && dr < RowCount() ? TCustomGrid::CellRect(dc, dr) : TRect();
        const bool fixed = dc < FixedCols() || dr < FixedRows();
        if (r.IsEmpty() && !fixed) {
            ctl->SetVisible(false);
            continue;
        }
        ctl->SetBounds(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
        ctl->SetVisible(true);
    }
    // A width change and back makes each shown control repaint its frame.
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControl *ctl = FControlList->GetControl(i)->FObject;
        if (!ctl || !ctl->Visible())
            continue;
        ctl->Invalidate();
        ctl->SetWidth(ctl->Width() + 1);
        ctl->SetWidth(ctl->Width() - 1);
    }
}
