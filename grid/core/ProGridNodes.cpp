// Tree rows: node graphics in column 0 that own the rows below them, node levels, contracting and
// expanding through the hidden rows, rows inserted and removed under a node, and the glyph's
// hit area.
//
// A node's span counts real rows. Contracting hides the rows as plain hidden rows, never as a
// filter level, so taking filters off leaves them hidden and expanding brings back only the rows
// that contracting hid.
#include "grid/core/ProGrid.h"
#include "framework/controls/SysMetrics.h"

#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Node rows by real index

TCellGraphic *TProStringGrid::NodeGraphicAt(int ARealRow)
{
    if (ARealRow < 0 || ARealRow >= TotalRowCount())
        return nullptr;
    TObject *obj = nullptr;
    if (TStringList *list = GetHiddenRowStrings(ARealRow)) {
        if (list->Count() > 0)
            if (auto *props = dynamic_cast<TCellProperties *>(list->Objects(0)))
                obj = props->GraphicObject();
    } else {
        const int d = DisplRowIndex(ARealRow);
        if (d < RowCount() && HasCellProperties(0, d))
            obj = GetGraphicObjectEx(0, d);
    }
    auto *g = dynamic_cast<TCellGraphic *>(obj);
    return g && g->CellType() == ctNode ? g : nullptr;
}

TCellProperties *TProStringGrid::NodeRowProps(int ARealRow, bool Create)
{
    if (ARealRow < 0 || ARealRow >= TotalRowCount())
        return nullptr;
    if (TStringList *list = GetHiddenRowStrings(ARealRow)) {
        if (list->Count() == 0) {
            if (!Create)
                return nullptr;
            list->Add(QString());
        }
        auto *props = dynamic_cast<TCellProperties *>(list->Objects(0));
        if (!props && Create) {
            // A user object in the slot stays with the row, inside its new properties.
            TObject *user = list->Objects(0);
            props = new TCellProperties(this, 0, DisplRowIndex(ARealRow));
            props->SetCellObject(user);
            list->SetObjects(0, props);
            FHasCellProps = true;
        }
        return props;
    }
    const int d = DisplRowIndex(ARealRow);
    if (!Create && !HasCellProperties(0, d))
        return nullptr;
    return GetCellProperties(0, d);
}

int TProStringGrid::NodeEndRow(int ARealRow)
{
    const int total = TotalRowCount();
    const TCellGraphic *g = NodeGraphicAt(ARealRow);
    if (g && g->CellIndex() > 0)
        return std::min(total, ARealRow + g->CellIndex());
    // Up to the next node row, or the end of the grid.
    for (int r = ARealRow + 1; r < total; ++r)
        if (NodeGraphicAt(r))
            return r;
    return total;
}

void TProStringGrid::ShiftNodeLevels(int ARealRow, int Count, int Delta)
{
    const int last = std::min(TotalRowCount(), ARealRow + Count);
    for (int r = std::max(0, ARealRow); r < last; ++r) {
        // A new level needs properties; a lowered one only where there are some.
        if (TCellProperties *props = NodeRowProps(r, Delta > 0))
            props->SetNodeLevel(props->NodeLevel() + Delta);
    }
}

// ---------------------------------------------------------------------------------------------
// Adding and removing nodes

void TProStringGrid::AddNode(int ARow, int Span)
{
    if (ARow < 0 || ARow >= TotalRowCount() || IsHiddenRow(ARow))
        return;
    const int R = DisplRowIndex(ARow);
    TCellGraphic *g = CreateCellGraphic(0, R);
    g->SetCellType(ctNode);
    g->SetCellIndex(Span);
    g->SetCellBoolean(false);
    g->SetCellErrFrom(0);
    g->SetCellAngle(R);
    g->SetCellHAlign(haBeforeText);
    g->SetCellVAlign(vaCenter);
    g->SetCellVar(Variant(int32_t(-1)));
    ShiftNodeLevels(ARow, Span, 1);
    if (FNumNodes == 0)
        RepaintCol(0);
    ++FNumNodes;
    if (Col() == 0 && ColCount() > 1)
        SetCol(1);
}

void TProStringGrid::RemoveNodeAt(int ARealRow)
{
    TCellGraphic *g = NodeGraphicAt(ARealRow);
    if (!g)
        return;
    ExpandOneNode(ARealRow, true);
    if (g->CellIndex() > 0)
        ShiftNodeLevels(ARealRow, g->CellIndex(), -1);
    TCellProperties *props = NodeRowProps(ARealRow, false);
    props->SetGraphicObject(nullptr);
    delete g;
    if (FNumNodes > 0)
        --FNumNodes;
    if (!IsHiddenRow(ARealRow))
        RepaintCell(0, DisplRowIndex(ARealRow));
}

void TProStringGrid::RemoveNode(int ARow) { RemoveNodeAt(ARow); }

void TProStringGrid::RemoveAllNodes()
{
    // By real row, so that node rows a filter hides lose their node as well and no row is met
    // twice while expanding shows rows below it.
    for (int r = 0; r < TotalRowCount(); ++r)
        if (NodeGraphicAt(r))
            RemoveNodeAt(r);
    Invalidate();
}

void TProStringGrid::MarkSummaryRow(int ARow)
{
    if (ARow < 0 || ARow >= TotalRowCount() || IsHiddenRow(ARow))
        return;
    CreateCellGraphic(0, DisplRowIndex(ARow))->SetCellType(ctSummary);
}

// ---------------------------------------------------------------------------------------------
// Queries and setters by display row

bool TProStringGrid::GetNodeState(int ARow)
{
    const TCellGraphic *g = IsNode(ARow) ? NodeGraphicAt(RealRowIndex(ARow)) : nullptr;
    return g && g->CellBoolean();
}

void TProStringGrid::SetNodeState(int ARow, bool Value)
{
    if (!IsNode(ARow) || GetNodeState(ARow) == Value)
        return;
    if (Value)
        ContractNode(RealRowIndex(ARow));
    else
        ExpandNode(RealRowIndex(ARow));
}

int TProStringGrid::GetNodeLevel(int ARow)
{
    if (!IsNode(ARow))
        return -1;
    return GetCellProperties(0, ARow)->NodeLevel();
}

int TProStringGrid::GetNodeSpan(int ARow)
{
    return IsNode(ARow) ? NodeGraphicAt(RealRowIndex(ARow))->CellIndex() : -1;
}

void TProStringGrid::SetNodeSpan(int ARow, int Span)
{
    if (IsNode(ARow))
        NodeGraphicAt(RealRowIndex(ARow))->SetCellIndex(Span);
}

void TProStringGrid::UpdateNodeSpan(int ARow, int Delta)
{
    if (TCellGraphic *g = IsNode(ARow) ? NodeGraphicAt(RealRowIndex(ARow)) : nullptr)
        g->SetCellIndex(g->CellIndex() + Delta);
}

int TProStringGrid::GetSubNodeCount(int ARow)
{
    return IsNode(ARow) ? NodeGraphicAt(RealRowIndex(ARow))->CellErrFrom() : 0;
}

void TProStringGrid::UpdateSubNodeCount(int ARow, int Delta)
{
    if (TCellGraphic *g = IsNode(ARow) ? NodeGraphicAt(RealRowIndex(ARow)) : nullptr)
        g->SetCellErrFrom(g->CellErrFrom() + Delta);
}

int TProStringGrid::GetParentRow(int ARow)
{
    if (FNumNodes <= 0)
        return -1;
    auto level = [this](int r) { return GetCellProperties(0, r)->NodeLevel(); };
    int Level = 65535, Result = -1;
    if (IsNode(ARow)) {
        Level = level(ARow);
        Result = ARow;
    }
    int hidden = 0;
    for (int r = std::min(ARow, RowCount() - 1); r >= FixedRows(); --r) {
        if (!IsNode(r) || level(r) >= Level)
            continue;
        const int real = RealRowIndex(r);
        // A span of 0 or less reaches the next node row.
        const int S = NodeEndRow(real) - real;
        if (GetNodeState(r))
            hidden += S - 1;
        if (ARow < r + S - hidden)
            return r;
    }
    return Result;
}

// ---------------------------------------------------------------------------------------------
// Contracting and expanding

void TProStringGrid::ShowNodeRows(int FromRow, int ToRow)
{
    std::vector<int> rows;
    for (int i = 0; i < FGridItems->Count(); ++i)
        if (const TGridItem *it = FGridItems->Items(i); !it->Filtered && it->Idx() >= FromRow && it->Idx() <= ToRow)
            rows.push_back(it->Idx());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // Runs of neighbouring rows come back in one block each.
    for (size_t k = 0; k < rows.size();) {
        size_t e = k + 1;
        while (e < rows.size() && rows[e] == rows[e - 1] + 1)
            ++e;
        UnHideRows(rows[k], rows[e - 1]);
        k = e;
    }
}

void TProStringGrid::ExpandOneNode(int ARow, bool Footers)
{
    TCellGraphic *g = NodeGraphicAt(ARow);
    if (!g || !g->CellBoolean())
        return;
    g->SetCellBoolean(false);
    const int total = TotalRowCount();
    // Everything hidden up to the row that follows the node on screen, or for a span of 0 or
    // less up to the next node row shown.
    const int next = IsHiddenRow(ARow) ? DisplRowIndex(ARow) : DisplRowIndex(ARow) + 1;
    int end = total;
    if (g->CellIndex() <= 0) {
        for (int d = next; d < RowCount(); ++d)
            if (IsNode(d)) {
                end = RealRowIndex(d);
                break;
            }
    } else if (next < RowCount()) {
        end = RealRowIndex(next);
    }
    const int oldTop = TopRow(), oldRow = Row();
    const bool disjunct = FMouseActions->DisjunctRowSelect();
    FMouseActions->SetDisjunctRowSelect(false);
    const bool rowSelect = Options().Contains(goRowSelect);
    if (rowSelect)
        SetOptions(Options() - goRowSelect);
    const bool lock = FNumCellControls <= 0;
    if (lock)
        BeginUpdate();
    ShowNodeRows(ARow + 1, end - 1);
    if (rowSelect) {
        SetOptions(Options() + goRowSelect);
        if (oldRow < RowCount())
            SetRow(oldRow);
        if (oldTop < RowCount())
            SetTopRow(oldTop);
    }
    FMouseActions->SetDisjunctRowSelect(disjunct);
    if (lock)
        EndUpdate();
    if (Footers && !IsDestroying())
        CalcFooter(-1);
}

void TProStringGrid::ExpandNode(int ARow)
{
    if (FCellNode->ExpandOne()) {
        for (int d = FixedRows(); d < RowCount(); ++d) {
            if (!IsNode(d) || GetNodeState(d))
                continue;
            const int real = RealRowIndex(d);
            // The node itself and the nodes around it stay open: contracting one of those would
            // hide the node being expanded.
            if (real == ARow || (real < ARow && ARow < NodeEndRow(real)))
                continue;
            ContractNode(real);
        }
    }
    ExpandOneNode(ARow, true);
}

void TProStringGrid::ContractNode(int ARow)
{
    HideInplaceEdit();
    FForceSel = true;
    TCellGraphic *g = NodeGraphicAt(ARow);
    if (!g || g->CellBoolean() || IsHiddenRow(ARow)) {
        FForceSel = false;
        return;
    }
    g->SetCellBoolean(true);
    const int end = NodeEndRow(ARow);
    // Nested nodes already contracted have their rows hidden; they are marked expanded, since
    // expanding this node later shows all of its rows.
    for (int d = DisplRowIndex(ARow) + 1; d < RowCount(); ++d) {
        const int real = RealRowIndex(d);
        if (real >= end)
            break;
        TCellGraphic *n = NodeGraphicAt(real);
        if (!n || !n->CellBoolean())
            continue;
        n->SetCellBoolean(false);
        for (int i = 0; i < FControlList->Count(); ++i)
            if (TControlItem *ci = FControlList->GetControl(i); ci->FX == 1 && ci->FY == real + 1 && ci->FObject)
                ci->FObject->SetVisible(false);
    }
    // Rows hidden already (by a filter or a nested node) are skipped.
    HideRows(ARow + 1, end - 1);
    FForceSel = false;
    CalcFooter(-1);
}

void TProStringGrid::ExpandAll()
{
    {
        TGridUpdateLock update(this);
        // Rows an expansion shows come after d and are visited in turn.
        for (int d = FixedRows(); d < RowCount(); ++d)
            if (IsNode(d) && GetNodeState(d))
                ExpandOneNode(RealRowIndex(d), false);
    }
    if (!IsDestroying())
        CalcFooter(-1);
}

void TProStringGrid::ContractAll()
{
    {
        TGridUpdateLock update(this);
        ExpandAll();
        std::vector<std::pair<int, int>> blocks;
        for (int d = FixedRows(); d < RowCount();) {
            TCellGraphic *g = IsNode(d) ? NodeGraphicAt(RealRowIndex(d)) : nullptr;
            if (!g) {
                ++d;
                continue;
            }
            // Nested nodes stay marked expanded inside their contracted parent.
            g->SetCellBoolean(true);
            const int real = RealRowIndex(d), end = NodeEndRow(real);
            blocks.emplace_back(real + 1, end - 1);
            d = end >= TotalRowCount() ? RowCount() : std::max(d + 1, DisplRowIndex(end));
        }
        // From the bottom up, so that each hide moves the fewest rows.
        for (auto it = blocks.rbegin(); it != blocks.rend(); ++it)
            HideRows(it->first, it->second);
    }
    CellControlsUpdate(false);
    CalcFooter(-1);
}

// ---------------------------------------------------------------------------------------------
// Rows inside nodes

void TProStringGrid::InsertNormalRow(int ARow)
{
    // Hidden rows from the new row on move down with it.
    InsertRows(std::min(DisplRowIndex(ARow), RowCount()), 1, true);
}

void TProStringGrid::RemoveNormalRow(int ARow)
{
    if (ARow < 0 || ARow >= RowCount())
        return;
    FreeAndDeleteRows(ARow, 1);
    --FMaxRowCount;
}

void TProStringGrid::InsertChildRow(int ARow, int InsertAt)
{
    if (ARow < 0 || ARow >= TotalRowCount() || IsHiddenRow(ARow))
        return;
    const int R = DisplRowIndex(ARow);
    const int P = GetParentRow(R);
    int L = 1;
    if (P != -1) {
        UpdateNodeSpan(P, 1);
        UpdateSubNodeCount(P, 1);
        ExpandOneNode(RealRowIndex(P), true);
        L = GetNodeLevel(P);
    }
    // The ancestors further up grow with it; a node that answers as its own parent ends the walk
    // (spans shrunk below a deeper node).
    int A = P, Lv = L;
    while (Lv > 1 && A != -1 && A >= FixedRows()) {
        const int up = GetParentRow(A);
        if (up == -1 || up == A)
            break;
        A = up;
        if (GetNodeLevel(A) < Lv) {
            UpdateNodeSpan(A, 1);
            UpdateSubNodeCount(A, 1);
            ExpandOneNode(RealRowIndex(A), true);
            Lv = GetNodeLevel(A);
        }
    }
    const bool moveContents = IsNode(R) && InsertAt == 0;
    if (moveContents)
        InsertAt = 1;
    const int at = std::clamp(R + InsertAt, 0, RowCount());
    InsertRows(at, 1, true);
    if (moveContents) {
        const int cols = AllColCount();
        for (int c = 0; c < cols; ++c) {
            SetGridCell(c, R + 1, GetGridCell(c, R));
            SetGridCell(c, R, QString());
            if (c > 0) {
                SetGridObject(c, R + 1, GetGridObject(c, R));
                SetGridObject(c, R, nullptr);
                if (auto *props = dynamic_cast<TCellProperties *>(GetGridObject(c, R + 1)))
                    props->SetOwnerRow(R + 1);
            }
        }
    }
    if (P != -1)
        GetCellProperties(0, at)->SetNodeLevel(L);
    RepaintRect(TRect(0, R, ColCount() - 1, RowCount() - 1));
}

void TProStringGrid::RemoveChildRow(int ARow)
{
    if (ARow < 0 || ARow >= TotalRowCount() || IsHiddenRow(ARow))
        return;
    const int R = DisplRowIndex(ARow);
    const int P = GetParentRow(R);
    if (P != -1) {
        const int Lp = GetNodeLevel(P);
        if (GetNodeSpan(P) > 1) {
            UpdateNodeSpan(P, -1);
            UpdateSubNodeCount(P, -1);
        }
        ExpandOneNode(RealRowIndex(P), true);
        int cur = P;
        while (GetNodeLevel(cur) > 1) {
            const int up = GetParentRow(cur);
            // A node that answers as its own parent ends the walk.
            if (up == -1 || up == cur || GetNodeLevel(up) >= Lp)
                break;
            if (GetNodeSpan(up) > 1) {
                UpdateNodeSpan(up, -1);
                UpdateSubNodeCount(up, -1);
            }
            ExpandOneNode(RealRowIndex(up), true);
            cur = up;
        }
    }
    // Expanding may have shown rows above: the row is found again by its real index.
    const int d = DisplRowIndex(ARow);
    FreeAndDeleteRows(d, 1);
    --FMaxRowCount;
    // Cell controls below the removed row move up with their rows.
    if (FControlList->Count() > 0) {
        for (int i = 0; i < FControlList->Count(); ++i)
            if (TControlItem *ci = FControlList->GetControl(i); ci->FY > ARow)
                --ci->FY;
        CellControlsUpdate(false);
    }
}

// ---------------------------------------------------------------------------------------------
// The glyph's hit area

bool TProStringGrid::IsInNodeGlyph(int ARow, int X)
{
    if (!FMouseActions->PreciseNodeClick())
        return true;
    const int L = IsNode(ARow) ? GetNodeLevel(ARow)
                               : (ARow >= 0 && ARow < RowCount() && HasCellProperties(0, ARow)
                                      ? GetCellProperties(0, ARow)->NodeLevel()
                                      : 0);
    const int I = FCellNode->NodeIndent();
    int G = 4, M = 4;
    switch (FCellNode->NodeType()) {
    case cnFlat:
    case cnXP:
        break;
    case cn3D:
        G = 6;
        M = 0;
        break;
    case cnLeaf:
        G = 8;
        M = 2;
        break;
    case cnGlyph: {
        const TBitmap *glyph = FCellNode->ExpandGlyph();
        const bool has = glyph && !glyph->Empty();
        G = has ? glyph->Width() / 2 : 0;
        M = has ? 2 : 0;
        break;
    }
    }
    if (BiDiMode() != bdRightToLeft)
        return M + (L - 1) * I < X && X < G + L * I;
    const int V = RowCount() - FixedRows() > VisibleRowCount() ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    return Width() - 2 - L * I - G <= X + V && X + V < Width() - (L - 1) * I;
}
