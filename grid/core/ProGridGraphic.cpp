// Cell graphics of the grid and its tri-state check boxes.
#include "grid/core/ProGrid.h"

TCellGraphic *TProStringGrid::GetCellGraphic(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return nullptr;
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) {
        // Column 0 shows the row selection through one graphic of the grid's own.
        TCellGraphic *g = FCellGraphic.get();
        g->SetCellType(ctRowCheckBox);
        if (ARow == 0) {
            const int normalRows = RowCount() - FixedRows();
            const int selected = RowSelectCount();
            g->SetCellAngle(selected > 0 && selected < normalRows ? 1 : 0);
            g->SetCellBoolean(selected >= normalRows);
        } else {
            g->SetCellAngle(0);
            g->SetCellBoolean(RowSelect(RealRowIndex(ARow)));
        }
        g->SetCellTransparent(FControlLook->ControlStyle() == csFlat);
        return g;
    }
    return dynamic_cast<TCellGraphic *>(GetGraphicObjectEx(ACol, ARow));
}

TCellGraphic *TProStringGrid::CreateCellGraphic(int ACol, int ARow)
{
    TObject *old = GetGraphicObjectEx(ACol, ARow);
    auto *g = new TCellGraphic();
    SetGraphicObjectEx(ACol, ARow, g);
    if (auto *oldGraphic = dynamic_cast<TCellGraphic *>(old))
        delete oldGraphic;
    if (NumHiddenColumns() > 0)
        RepaintCell(DisplColIndex(ACol), ARow);
    return g;
}

void TProStringGrid::AddCheckBox(int ACol, int ARow, TCheckBoxState State)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + NumHiddenColumns() || ARow >= RowCount() + NumHiddenRows())
        throw EProGridError(QStringLiteral("Invalid cell"));
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    TCellVAlign va = vaTop;
    if (VAlignment() == vtaCenter)
        va = vaCenter;
    else if (VAlignment() == vtaBottom)
        va = vaBottom;
    g->SetCheckBox(State, true, haBeforeText, va);
}

void TProStringGrid::AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State)
{
    const int first = MouseActions()->CheckAllCheck() ? 0 : FixedRows();
    for (int r = first; r < RowCount(); ++r)
        AddCheckBox(ACol, r, State);
}

bool TProStringGrid::GraphicCheckState(TCellGraphic *G, int ACol, int ARow, const QString &Text,
                                       bool RowBoxFromFlag, TCheckBoxState &State)
{
    if (!G)
        return false;
    switch (G->CellType()) {
    case ctCheckBox:
        State = BoolToCheckBoxState(G->CellBoolean());
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox:
        State = BoolToCheckBoxState(Text == GetCheckTrue(ACol, ARow));
        return true;
    case ctTriStateCheckBox:
        State = G->CellCheckBoxState();
        return true;
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        State = BoolToCheckBoxState(RowBoxFromFlag ? RowSelect(ARow) : G->CellBoolean());
        return true;
    default:
        return false;
    }
}

bool TProStringGrid::GetCheckBoxState(int ACol, int ARow, TCheckBoxState &State)
{
    if (NumHiddenRows() == 0)
        return GraphicCheckState(GetCellGraphic(ACol, ARow), ACol, ARow, GetCellEx(ACol, ARow), true, State);
    if (auto *props = dynamic_cast<TCellProperties *>(GetGridObjectsEx(ACol, ARow)))
        return GraphicCheckState(dynamic_cast<TCellGraphic *>(props->GraphicObject()), ACol, ARow,
                                 GetCellsEx(ACol, ARow), true, State);
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    // A plain box at a hidden-row position answers nothing.
    if (!g || g->CellType() == ctCheckBox)
        return false;
    return GraphicCheckState(g, ACol, ARow, GetCellEx(ACol, ARow), false, State);
}
