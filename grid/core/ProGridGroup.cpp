// Grouping rows by the values of a column into a one-level outline (and a second level inside
// it), the group calculations, moving columns and rows with their cell controls, scrolling a cell
// into view and the column order list.
#include "grid/core/ProGrid.h"
#include "framework/controls/SysMetrics.h"

namespace {

// The previous value a group walk starts from; no data cell is expected to hold it.
const QString GroupSentinel = QString(QChar(0xFF)) + QChar(0xFE);

} // namespace

// ---------------------------------------------------------------------------------------------
// Header and summary colours

void TProStringGrid::ColorGroupCell(int ACol, int ARow, bool Header)
{
    const TGrouping *g = FGrouping.get();
    const TColor back = Header ? g->HeaderColor() : g->SummaryColor();
    const TColor to = Header ? g->HeaderColorTo() : g->SummaryColorTo();
    const TColor text = Header ? g->HeaderTextColor() : g->SummaryTextColor();
    if (back == clNone && to == clNone && text == clNone)
        return;
    TCellProperties *p = GetCellProperties(ACol, ARow);
    if (back != clNone)
        p->SetBrushColor(back);
    if (to != clNone)
        p->SetBrushColorTo(to);
    if (text != clNone)
        p->SetFontColor(text);
}

void TProStringGrid::ColorGroupRow(int ARow, bool Header)
{
    for (int c = 0; c < ColCount() + FNumHidden; ++c)
        ColorGroupCell(c, ARow, Header);
}

void TProStringGrid::ResetGroupRowColor(int ARow, bool Header)
{
    const TGrouping *g = FGrouping.get();
    const TColor back = Header ? g->HeaderColor() : g->SummaryColor();
    const TColor to = Header ? g->HeaderColorTo() : g->SummaryColorTo();
    for (int c = 0; c < ColCount() + FNumHidden; ++c) {
        if (!HasCellProperties(c, ARow))
            continue;
        TCellProperties *p = GetCellProperties(c, ARow);
        if (back != clNone)
            p->SetBrushColor(clNone);
        if (to != clNone)
            p->SetBrushColorTo(clNone);
    }
}

// ---------------------------------------------------------------------------------------------
// Grouping

void TProStringGrid::CloseGroup(int &h, int &a)
{
    const TGrouping *g = FGrouping.get();
    if (h > FixedRows() && g->Summary()) {
        // The summary row at h ends the group before the open one.
        InsertRows(h, 1, true);
        MarkSummaryRow(RealRowIndex(h));
        if (!g->MergeSummary())
            ColorGroupRow(h, false);
        ++h;
        ++a;
    }
    AddNode(RealRowIndex(h), a - h);
}

void TProStringGrid::Group(int ColIndex)
{
    if (ColIndex < FixedCols())
        return;
    if (FGroupColumn != -1)
        UnGroup();
    if (RowCount() - FixedRows() < 1 || ColIndex >= ColCount())
        return;
    BeginUpdate();
    struct TDone
    {
        TProStringGrid *G;
        ~TDone()
        {
            G->EndUpdate();
            if (G->FSearchFooter->Visible() && G->FSearchPanel) {
                G->FSearchPanel->SetWidth(G->FSearchPanel->Width() + 1);
                G->FSearchPanel->SetWidth(G->FSearchPanel->Width() - 1);
            }
        }
    } done{this};

    const TGrouping *g = FGrouping.get();
    FGroupColumn = ColIndex;
    FGroupWidth = ColWidths(ColIndex);
    if (FixedRows() > 0)
        FGroupCaption = GetGridCell(ColIndex, 0);
    if (FFixedFooters > 0)
        FGroupFooter = GetGridCell(ColIndex, RowCount() - 1);
    if (FSortSettings->AutoSortForGrouping()) {
        FSortSettings->SetColumn(ColIndex);
        QSort();
    }
    const int H = ColIndex == 1 ? 2 : 1;
    QString P = GroupSentinel;
    int h = -1, a = FixedRows();
    while (a <= RowCount() - 1 - FFixedFooters) {
        const QString v = GetGridCell(ColIndex, a);
        if (v != P) {
            if (h != -1)
                CloseGroup(h, a);
            InsertRows(a, 1, true);
            SetCellEx(H, a, v);
            if (!g->MergeHeader())
                ColorGroupRow(a, true);
            h = a;
            ++a;
        }
        if (a < RowCount() - 1)
            P = GetGridCell(ColIndex, a);
        ++a;
    }
    if (h == -1) {
        AddNode(RealRowIndex(FixedRows()), a - 1);
    } else {
        CloseGroup(h, a);
        if (!g->MergeHeader())
            ColorGroupRow(h, true);
    }
    if (g->Summary()) {
        InsertRows(a, 1, true);
        MarkSummaryRow(RealRowIndex(a));
        if (!g->MergeSummary())
            ColorGroupRow(a, false);
    }
    RemoveCols(ColIndex, 1);

    const bool mergeSummary = g->MergeSummary() && g->Summary();
    if (g->MergeHeader() || mergeSummary) {
        for (int b = FixedRows(); b < RowCount(); ++b) {
            if (IsNode(b)) {
                if (g->MergeHeader() && ColCount() > 1) {
                    MergeCells(1, b, ColCount() - 1, 1);
                    ColorGroupCell(1, b, true);
                }
            } else if (mergeSummary && ColCount() > 1 && (b == RowCount() - 1 || IsNode(b + 1))) {
                MergeCells(1, b, ColCount() - 1, 1);
                ColorGroupCell(1, b, false);
            }
        }
    }
    if (FCellNode->ExpandOne()) {
        for (int r = FixedRows(); r < AllRowCount(); ++r)
            if (NodeGraphicAt(r)) {
                ExpandNode(r);
                break;
            }
    }
    if (Col() >= ColCount() || Row() >= RowCount())
        FocusCell(FixedCols(), FixedRows());
    SetRow(FixedRows());
}

void TProStringGrid::UnGroup()
{
    if (FGroupColumn <= 0)
        return;
    const TGrouping *g = FGrouping.get();
    const bool expandOne = FCellNode->ExpandOne();
    FCellNode->SetExpandOne(false);
    ExpandAll();
    const int H = FGroupColumn == 1 ? 2 : 1;
    InsertCols(FGroupColumn, 1);
    SetColWidths(FGroupColumn, FGroupWidth);
    if (FixedRows() > 0)
        SetCellEx(FGroupColumn, 0, FGroupCaption);
    if (FFixedFooters > 0)
        SetCellEx(FGroupColumn, RowCount() - 1, FGroupFooter);
    QString V;
    int b = FixedRows();
    while (b <= RowCount() - 1 - FFixedFooters) {
        if (!IsNode(b)) {
            SetCellEx(FGroupColumn, b, V);
            ++b;
            continue;
        }
        if (g->Summary()) {
            const int s = b + std::max(1, GetNodeSpan(b));
            // Only a summary row goes: a group the user changed keeps its rows.
            if (s < RowCount() - FFixedFooters && IsSummary(s)) {
                if (g->MergeSummary())
                    SplitCells(1, s);
                else
                    ResetGroupRowColor(s, false);
                ClearRect(0, s, ColCount() - 1, s);
                RemoveRows(s, 1);
            }
        }
        V = GetGridCell(H, b);
        RemoveNode(RealRowIndex(b));
        FreeCellProperties(0, b);
        if (g->MergeHeader())
            SplitCells(1, b);
        else
            ResetGroupRowColor(b, true);
        ClearRect(0, b, ColCount() - 1, b);
        RemoveRows(b, 1);
    }
    FGroupColumn = -1;
    FCellNode->SetExpandOne(expandOne);
    Invalidate();
}

void TProStringGrid::SetGroupColumn(int Value)
{
    if (Value == -1)
        UnGroup();
    else if (Value > 0)
        Group(Value);
}

void TProStringGrid::SubGroup(int ColIndex)
{
    // The headers go into the next column; without one their texts would be lost.
    if (ColIndex < FixedCols() || ColIndex + 1 >= ColCount())
        return;
    TGridUpdateLock lock(this);
    const TGrouping *g = FGrouping.get();
    FGroupColumn = ColIndex;
    FGroupWidth = ColWidths(ColIndex);
    if (FixedRows() > 0)
        FGroupCaption = GetCellEx(ColIndex, 0);
    if (FFixedFooters > 0)
        FGroupFooter = GetCellEx(ColIndex, RowCount() - 1);
    const int H = ColIndex + 1;
    auto special = [this](int r) { return IsNode(r) || IsSummary(r); };
    auto header = [&](int r) {
        if (g->MergeHeader() && ColCount() - H > 0) {
            MergeCells(H, r, ColCount() - H, 1);
            ColorGroupCell(H, r, true);
        } else if (!g->MergeHeader()) {
            ColorGroupRow(r, true);
        }
    };
    auto makeNode = [&](int r, int span) {
        AddNode(RealRowIndex(r), span);
        if (TCellGraphic *ng = GetCellGraphic(0, r))
            ng->SetCellVar(Variant(int32_t(ColIndex)));
    };
    QString P = GroupSentinel;
    int h = -1, a = FixedRows() + 1;
    while (a < RowCount() - FFixedFooters) {
        const QString v = GetCellEx(ColIndex, a);
        if (v != P || special(a)) {
            if (h != -1 && !special(h))
                makeNode(h, a - h);
            if (!special(a)) {
                InsertChildRow(RealRowIndex(a), 0);
                SetCellEx(H, a, v);
                header(a);
            }
            h = a;
            ++a;
        }
        if (a < RowCount() && !special(a - 1)) {
            P = GetCellEx(ColIndex, a);
            SetCellEx(ColIndex, a, QString());
            ++a;
        } else {
            // After a node or summary row the next row always starts a group.
            P = GroupSentinel;
        }
    }
    if (h == -1 || !IsSummary(h)) {
        if (h == -1) {
            if (a < RowCount() - 1) {
                InsertChildRow(RealRowIndex(a), 0);
                makeNode(a, 2);
                SetCellEx(H, a, GetCellEx(ColIndex, a + 1));
                ++a;
                SetCellEx(ColIndex, a, QString());
            }
        } else {
            // Its header was merged and coloured when it was inserted.
            makeNode(h, a - h);
        }
        if (a <= RowCount() - 1 && !special(a - 1)) {
            SetCellEx(ColIndex, a, QString());
            ++a;
        }
        if (g->Summary()) {
            InsertRows(a, 1, true);
            MarkSummaryRow(RealRowIndex(a));
            if (g->MergeSummary() && ColCount() - H > 0) {
                MergeCells(H, a, ColCount() - H, 1);
                ColorGroupCell(H, a, false);
            } else {
                ColorGroupRow(a, false);
            }
        }
    }
    SetRow(std::min(FixedRows(), RowCount() - 1));
}

void TProStringGrid::SubUnGroup(int ColIndex)
{
    const TGrouping *g = FGrouping.get();
    ExpandAll();
    QString V;
    int b = FixedRows();
    while (b <= RowCount() - 1 - FFixedFooters) {
        if (!IsNode(b)) {
            SetCellEx(ColIndex, b, V);
            ++b;
            continue;
        }
        TCellGraphic *ng = GetCellGraphic(0, b);
        const bool ours = ng && ng->CellVar().VType() != varEmpty && ng->CellVar().AsInteger() == ColIndex;
        if (!ours) {
            ++b;
            continue;
        }
        V = GetCellEx(ColIndex + 1, b);
        RemoveNode(RealRowIndex(b));
        if (g->MergeHeader())
            SplitCells(ColIndex + 1, b);
        else
            ResetGroupRowColor(b, true);
        RemoveChildRow(RealRowIndex(b));
    }
}

// ---------------------------------------------------------------------------------------------
// Group calculations

void TProStringGrid::GroupCalc(int ColIndex, const TGroupValue &Value, bool AsInteger, TColumnCalcType FooterCalc)
{
    const bool summary = FGrouping->Summary();
    int r = FixedRows();
    while (r < RowCount()) {
        if (!IsNode(r) || GetNodeState(r)) {
            ++r;
            continue;
        }
        const int s = std::max(1, GetNodeSpan(r));
        const int target = summary ? r + s : r;
        if (target < RowCount()) {
            const double v = Value(ColIndex, r + 1, r + s - 1, s);
            if (AsInteger)
                SetInts(ColIndex, target, int(v));
            else
                SetFloats(ColIndex, target, v);
        }
        r += s;
    }
    if (FooterCalc != acNONE && FFloatingFooter->Visible())
        FFloatingFooter->SetColumnCalc(ColIndex, FooterCalc);
}

void TProStringGrid::GroupSum(int ColIndex)
{
    GroupCalc(ColIndex, [this](int c, int f, int t, int) { return f > t ? 0.0 : ColumnSum(c, f, t); }, false, acSUM);
}

void TProStringGrid::GroupAvg(int ColIndex)
{
    GroupCalc(ColIndex, [this](int c, int f, int t, int) { return f > t ? 0.0 : ColumnAvg(c, f, t); }, false, acAVG);
}

void TProStringGrid::GroupMin(int ColIndex)
{
    GroupCalc(ColIndex, [this](int c, int f, int t, int) { return f > t ? 0.0 : ColumnMin(c, f, t); }, false, acMIN);
}

void TProStringGrid::GroupMax(int ColIndex)
{
    GroupCalc(ColIndex, [this](int c, int f, int t, int) { return f > t ? 0.0 : ColumnMax(c, f, t); }, false, acMAX);
}

void TProStringGrid::GroupCount(int ColIndex)
{
    GroupCalc(ColIndex, [](int, int, int, int s) { return double(s - 1); }, true, acCOUNT);
}

void TProStringGrid::GroupCustomCalc(int ColIndex)
{
    GroupCalc(ColIndex, [this](int c, int f, int t, int) { return GroupCustomCalc(c, f, t); }, false, acNONE);
}

void TProStringGrid::GroupDistinct(int ColIndex)
{
    GroupCalc(ColIndex, [this](int c, int f, int t, int) { return f > t ? 0.0 : ColumnDistinct(c, f, t); }, false,
              acNONE);
}

void TProStringGrid::GroupStdDev(int ColIndex)
{
    GroupCalc(ColIndex, [this](int c, int f, int t, int) { return f > t ? 0.0 : ColumnStdDev(c, f, t); }, false,
              acNONE);
}

// ---------------------------------------------------------------------------------------------
// Moves

void TProStringGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FColumnOrder->Count() == 0)
        SetColumnOrder();
    TCustomGrid::MoveColumn(FromIndex, ToIndex);
    for (int i = 0; i < FControlList->Count(); ++i) {
        int &x = FControlList->GetControl(i)->FX;
        if (x == FromIndex)
            x = ToIndex;
        else if (ToIndex < FromIndex && x >= ToIndex && x < FromIndex)
            ++x;
        else if (ToIndex > FromIndex && x > FromIndex && x <= ToIndex)
            --x;
    }
    CellControlsUpdate(false);
}

void TProStringGrid::MoveRow(int FromIndex, int ToIndex)
{
    TCustomGrid::MoveRow(FromIndex, ToIndex);
    for (int i = 0; i < FControlList->Count(); ++i) {
        int &y = FControlList->GetControl(i)->FY;
        if (y == FromIndex)
            y = ToIndex;
        else if (ToIndex < FromIndex && y >= ToIndex && y < FromIndex)
            ++y;
        else if (ToIndex > FromIndex && y > FromIndex && y <= ToIndex)
            --y;
    }
    CellControlsUpdate(false);
}

void TProStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    TBaseGrid::ColumnMoved(FromIndex, ToIndex);
    if (FColumnOrder->Count() == 0)
        return;
    GrowColumnOrder();
    const int a = RealColIndex(FromIndex), b = RealColIndex(ToIndex);
    if (a < FColumnOrder->Count() && b < FColumnOrder->Count()) {
        const int v = FColumnOrder->GetInteger(a);
        FColumnOrder->Delete(a);
        FColumnOrder->Insert(b, v);
    }
}

void TProStringGrid::ScrollInView(int ColIndex, int RowIndex)
{
    if (ColIndex >= ColCount() || RowIndex >= RowCount() || ColIndex < 0 || RowIndex < 0)
        return;
    const int vc = VisibleColCount(), vr = VisibleRowCount();
    int L = LeftCol(), T = TopRow();
    if (ColIndex < LeftCol() || ColIndex >= LeftCol() + vc) {
        SetCol(ColIndex);
        L = std::max(FixedCols(), ColIndex - vc / 2);
    }
    if (RowIndex < TopRow() || RowIndex >= TopRow() + vr) {
        SetRow(RowIndex);
        T = std::max(FixedRows(), RowIndex - vr / 2);
    }
    if (L > ColCount() - (vc - 1))
        L = ColCount() - (vc - 1);
    if (FixedCols() + vc < ColCount())
        SetLeftCol(std::clamp(L, FixedCols(), ColCount() - 1));
    if (T > RowCount() - (vr - 1))
        T = RowCount() - (vr - 1);
    if (FixedRows() + vr >= RowCount())
        return;
    SetTopRow(std::clamp(T, FixedRows(), RowCount() - 1));
    if (FSearchFooter->Visible() && FSearchPanel) {
        int usable = Height() - FSearchPanel->Height();
        if (ColCount() > vc)
            usable -= GetSystemMetrics(SM_CYHSCROLL);
        while (TCustomGrid::CellRect(0, RowIndex).Bottom > usable && TopRow() < RowCount() - 1) {
            const int before = TopRow();
            SetTopRow(TopRow() + 1);
            if (TopRow() == before)
                break;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Column order

void TProStringGrid::SetColumnOrder()
{
    FColumnOrder->Clear();
    for (int c = 0; c < ColCount(); ++c)
        FColumnOrder->Add(c);
}

void TProStringGrid::GrowColumnOrder()
{
    // Columns added since the list was filled come from where they stand.
    const int n = ColCount() + FNumHidden;
    while (FColumnOrder->Count() < n)
        FColumnOrder->Add(FColumnOrder->Count());
}

void TProStringGrid::ResetColumnOrder()
{
    UnHideColumnsAll();
    if (FColumnOrder->Count() == 0) {
        SetColumnOrder();
        return;
    }
    GrowColumnOrder();
    // Each pass takes columns that stand too far right back home; a list that is no permutation
    // could move columns for ever, so the passes are bounded.
    for (int pass = 0; pass <= ColCount(); ++pass) {
        bool moved = false;
        for (int k = 0; k < ColCount() && k < FColumnOrder->Count(); ++k) {
            const int e = FColumnOrder->GetInteger(k);
            if (e < k && e >= 0) {
                MoveColumn(k, e);
                moved = true;
            }
        }
        if (!moved)
            break;
    }
}
