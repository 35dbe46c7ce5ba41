// Check boxes, radio buttons and radio groups in cells: adding, state, toggling and the tree.
#include "grid/core/ProGrid.h"
#include "grid/core/ProGridUndo.h"
#include "framework/rtl/Strings.h"

namespace {

bool IsBoxType(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
           t == ctTriStateCheckBox;
}

bool IsDataBoxType(TCellType t) { return t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox; }

} // namespace

TCellVAlign TProStringGrid::ControlVAlign() const
{
    if (VAlignment() == vtaCenter)
        return vaCenter;
    if (VAlignment() == vtaBottom)
        return vaBottom;
    return vaTop;
}

TCellGraphic *TProStringGrid::NewControlGraphic(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + NumHiddenColumns() || ARow >= RowCount() + NumHiddenRows())
        throw Exception(QStringLiteral("Invalid cell"));
    return CreateCellGraphic(ACol, ARow);
}

TCellGraphic *TProStringGrid::RealRowGraphic(int ACol, int ARow, QString *Text, bool &Real)
{
    Real = true;
    if (ACol < 0 || ARow < 0)
        return nullptr;
    if (NumHiddenRows() > 0) {
        if (auto *props = dynamic_cast<TCellProperties *>(GetGridObjectsEx(ACol, ARow))) {
            if (Text)
                *Text = GetCellsEx(ACol, ARow);
            return dynamic_cast<TCellGraphic *>(props->GraphicObject());
        }
        // No properties at the real cell: the displayed cell at that index answers.
        Real = false;
    }
    if (ARow >= RowCount() && NumHiddenRows() == 0)
        return nullptr;
    if (Text)
        *Text = GetCellEx(ACol, ARow);
    return GetCellGraphic(ACol, ARow);
}

// ---- Adding and removing ---------------------------------------------------------------------------

void TProStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data)
{
    TCellGraphic *g = NewControlGraphic(ACol, ARow);
    g->SetCheckBox(State, Data, true, haBeforeText, ControlVAlign());
    if (Data) {
        const QString text = GetCellsEx(ACol, ARow);
        if (text != FCheckTrue && text != FCheckFalse)
            SetCellsEx(ACol, ARow, State ? FCheckTrue : FCheckFalse);
    }
}

void TProStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox)
{
    for (int r = CheckColumnFirstRow(); r < RowCount(); ++r) {
        if (IsSummary(r))
            continue;
        if (IsNode(r))
            AddCheckBox(ACol, r, cbUnchecked);
        else
            AddCheckBox(ACol, r, DefaultState, DataCheckBox);
    }
}

void TProStringGrid::RemoveCheckBox(int ACol, int ARow)
{
    const TCellGraphic *g = dynamic_cast<TCellGraphic *>(GetGraphicObjectEx(ACol, ARow));
    if (!g || (g->CellType() != ctCheckBox && g->CellType() != ctDataCheckBox && g->CellType() != ctTriStateCheckBox))
        return;
    // A balloon's texts go with the graphic.
    RemoveCellGraphic(ACol, ARow);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TProStringGrid::RemoveCheckBoxColumn(int ACol)
{
    for (int r = CheckColumnFirstRow(); r < RowCount(); ++r)
        if (HasCheckBox(ACol, r))
            RemoveCheckBox(ACol, r);
}

void TProStringGrid::AddRadioButton(int ACol, int ARow, bool State)
{
    NewControlGraphic(ACol, ARow)->SetRadioButton(State, true, haBeforeText, ControlVAlign());
}

void TProStringGrid::RemoveRadioButton(int ACol, int ARow)
{
    if (RemoveCellGraphicOfType(ACol, ARow, ctRadioButton))
        RepaintCell(DisplColIndex(ACol), ARow);
}

void TProStringGrid::AddRadioButtonColumn(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        AddRadioButton(ACol, r, false);
}

void TProStringGrid::RemoveRadioButtonColumn(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (HasRadioButton(ACol, r))
            RemoveRadioButton(ACol, r);
}

void TProStringGrid::AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings *sl)
{
    TCellGraphic *g = NewControlGraphic(ACol, ARow);
    g->SetCellType(ctRadio);
    g->SetCellAngle(sl ? sl->Count() : 0);
    g->SetCellBoolean(DirRadio != 0);
    g->SetCellIndex(IdxRadio);
    g->SetCellBitmapObject(sl);
    g->SetCellCreated(false);
    RepaintCell(DisplColIndex(ACol), ARow);
}

TStrings *TProStringGrid::CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio)
{
    TCellGraphic *g = NewControlGraphic(ACol, ARow);
    auto *sl = new TStringList();
    g->SetCellType(ctRadio);
    g->SetCellAngle(0);
    g->SetCellBoolean(DirRadio != 0);
    g->SetCellIndex(IdxRadio);
    g->SetCellBitmapObject(sl);
    g->SetCellCreated(true);
    return sl;
}

void TProStringGrid::RemoveRadio(int ACol, int ARow)
{
    if (RemoveCellGraphicOfType(ACol, ARow, ctRadio))
        RepaintCell(DisplColIndex(ACol), ARow);
}

// ---- Queries ---------------------------------------------------------------------------------------

namespace {
template <typename Grid>
TCellGraphic *BaseGraphic(Grid *g, int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return nullptr;
    const TPoint b = g->BaseCell(ACol, ARow);
    return g->GetCellGraphic(b.X, b.Y);
}
} // namespace

bool TProStringGrid::HasCheckBox(int ACol, int ARow)
{
    const TCellGraphic *g = BaseGraphic(this, ACol, ARow);
    return g && IsBoxType(g->CellType());
}

bool TProStringGrid::HasDataCheckBox(int ACol, int ARow)
{
    const TCellGraphic *g = BaseGraphic(this, ACol, ARow);
    return g && IsDataBoxType(g->CellType());
}

bool TProStringGrid::HasRadioButton(int ACol, int ARow)
{
    const TCellGraphic *g = BaseGraphic(this, ACol, ARow);
    return g && g->CellType() == ctRadioButton;
}

bool TProStringGrid::IsRadio(int ACol, int ARow)
{
    const TCellGraphic *g = BaseGraphic(this, ACol, ARow);
    return g && g->CellType() == ctRadio;
}

bool TProStringGrid::HasCellControl(int ACol, int ARow)
{
    const TCellGraphic *g = BaseGraphic(this, ACol, ARow);
    if (!g)
        return false;
    switch (g->CellType()) {
    case ctCheckBox:
    case ctDataCheckBox:
    case ctRadio:
    case ctButton:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctRadioButton:
    case ctTriStateCheckBox:
        return true;
    default:
        return false;
    }
}

bool TProStringGrid::HasDataBoundGraphic(int ACol, int ARow)
{
    const TCellGraphic *g = BaseGraphic(this, ACol, ARow);
    return g && (IsDataBoxType(g->CellType()) || g->CellType() == ctDataImage);
}

bool TProStringGrid::IsRadioButtonChecked(int ACol, int ARow)
{
    const TCellGraphic *g = BaseGraphic(this, ACol, ARow);
    return g && g->CellType() == ctRadioButton && g->CellBoolean();
}

int TProStringGrid::GetRadioButtonColumnIndex(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsRadioButtonChecked(ACol, r))
            return r;
    return -1;
}

bool TProStringGrid::GetRadioIdx(int ACol, int ARow, int &IdxRadio)
{
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    IdxRadio = g->CellIndex();
    return g->CellType() == ctRadio;
}

TStrings *TProStringGrid::GetRadioStrings(int ACol, int ARow)
{
    const TCellGraphic *g = BaseGraphic(this, ACol, ARow);
    if (!g || g->CellType() != ctRadio)
        return nullptr;
    return dynamic_cast<TStrings *>(g->CellBitmapObject());
}

bool TProStringGrid::IsInCheckBox(int ACol, int ARow, int XPos, int YPos)
{
    const TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g || !(IsBoxType(g->CellType()) || g->CellType() == ctRadioButton))
        return false;
    if (!FMouseActions->PreciseCheckBoxCheck())
        return true;
    const int dc = DisplColIndex(ACol);
    const TRect C = CellRect(dc, ARow);
    const int K = FControlLook->CheckSize();
    int top = C.Top + 2;
    if (g->CellVAlign() == vaBottom)
        top = C.Bottom - K - 2;
    else if (g->CellVAlign() == vaCenter)
        top = C.Top + (C.Height() - K) / 2;
    TBrush brush;
    TFont font;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WW = false;
    TCellGradientDirection GD{};
    TGridDrawState state;
    GetVisualProperties(dc, ARow, state, false, false, true, &brush, colorTo, mirror, mirrorTo, &font, HA, VA, WW, GD);
    int left = C.Left + 2;
    if (HA == taRightJustify) {
        left = C.Right - K - 2;
        const QString text = GetCellEx(ACol, ARow);
        if (!text.isEmpty())
            left -= MeasureCanvas()->TextWidth(text);
    } else if (HA == taCenter) {
        left = C.Left + (C.Width() - K) / 2;
    }
    return XPos >= left && XPos < left + K && YPos >= top && YPos < top + K;
}

bool TProStringGrid::GetCheckBoxState(int ACol, int ARow, bool &State)
{
    bool real = true;
    QString text;
    TCellGraphic *g = RealRowGraphic(ACol, ARow, &text, real);
    if (!g)
        return false;
    switch (g->CellType()) {
    case ctCheckBox:
        State = g->CellBoolean();
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox:
        State = text == GetCheckTrue(ACol, ARow);
        return true;
    case ctTriStateCheckBox:
        State = g->CellCheckBoxState() == cbChecked;
        return true;
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        State = RowSelect(ARow);
        return true;
    default:
        return false;
    }
}

bool TProStringGrid::IsChecked(int ACol, int ARow)
{
    bool state = false;
    return GetCheckBoxState(ACol, ARow, state) && state;
}

// ---- Changing state --------------------------------------------------------------------------------

bool TProStringGrid::SetCheckBoxState(int ACol, int ARow, bool State)
{
    bool real = true;
    TCellGraphic *g = RealRowGraphic(ACol, ARow, nullptr, real);
    if (!g)
        return false;
    const int displRow = real ? DisplRowIndex(ARow) : ARow;
    switch (g->CellType()) {
    case ctCheckBox:
        g->SetCellBoolean(State);
        if (displRow >= 0)
            RepaintCell(DisplColIndex(ACol), displRow);
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        QString v;
        if (State)
            GetCheckTrue(ACol, ARow, v);
        else
            GetCheckFalse(ACol, ARow, v);
        if (real)
            SetCellsEx(ACol, ARow, v);
        else
            SetCellEx(ACol, ARow, v);
        return true;
    }
    case ctTriStateCheckBox:
        // A node's box set from above follows its children's state.
        g->SetCellCheckBoxState(BoolToCheckBoxState(State));
        if (displRow >= 0)
            RepaintCell(DisplColIndex(ACol), displRow);
        return true;
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        SetRowSelect(ARow, State);
        return true;
    default:
        return false;
    }
}

bool TProStringGrid::SetCheckBoxState(int ACol, int ARow, TCheckBoxState State)
{
    bool real = true;
    TCellGraphic *g = RealRowGraphic(ACol, ARow, nullptr, real);
    if (!g || g->CellType() != ctTriStateCheckBox)
        return false;
    g->SetCellCheckBoxState(State);
    const int displRow = real ? DisplRowIndex(ARow) : ARow;
    if (displRow >= 0)
        RepaintCell(DisplColIndex(ACol), displRow);
    return true;
}

bool TProStringGrid::UpdateCheckBoxState(int ACol, int ARow, bool State)
{
    const int realRow = RealRowIndex(ARow);
    bool real = true;
    QString text;
    TCellGraphic *g = RealRowGraphic(ACol, realRow, &text, real);
    if (!g)
        return false;
    switch (g->CellType()) {
    case ctCheckBox:
        if (g->CellBoolean() != State) {
            g->SetCellBoolean(State);
            CheckBoxChange(ACol, ARow, State);
            RepaintCell(DisplColIndex(ACol), ARow);
        }
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        const bool old = text == GetCheckTrue(ACol, ARow);
        QString v;
        if (State)
            GetCheckTrue(ACol, ARow, v);
        else
            GetCheckFalse(ACol, ARow, v);
        SetCellsEx(ACol, realRow, v);
        if (old != State)
            CheckBoxChange(ACol, ARow, State);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        if (RowSelect(ARow) != State) {
            SetRowSelect(ARow, State);
            CheckBoxChange(ACol, ARow, State);
        }
        return true;
    default:
        return false;
    }
}

void TProStringGrid::CheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        UpdateCheckBoxState(ACol, r, true);
    if (NumHiddenColumns() > 0)
        RepaintCol(DisplColIndex(ACol));
}

void TProStringGrid::UnCheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        UpdateCheckBoxState(ACol, r, false);
}

bool TProStringGrid::SetRadioButtonState(int ACol, int ARow, bool State)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType() != ctRadioButton)
        return false;
    if (g->CellBoolean() != State) {
        g->SetCellBoolean(State);
        RepaintCell(DisplColIndex(b.X), b.Y);
    }
    return true;
}

void TProStringGrid::SetRadioButtonColumnIndex(int ACol, int Index)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetRadioButtonState(ACol, r, r == Index);
}

bool TProStringGrid::SetRadioIdx(int ACol, int ARow, int IdxRadio)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    g->SetCellIndex(IdxRadio);
    if (IdxRadio == -1)
        SetCellEx(ACol, ARow, QString());
    RepaintCell(DisplColIndex(ACol), ARow);
    return g->CellType() == ctRadio;
}

bool TProStringGrid::ControlEditable(int ACol, int ARow)
{
    bool canEdit = true;
    GetCellCanEdit(ACol, ARow, canEdit);
    return canEdit;
}

void TProStringGrid::RadioSelectNext(int ACol, int ARow, bool CheckEditable)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType() != ctRadio)
        return;
    if (CheckEditable && !FControlLook->RadioAlwaysActive() && !ControlEditable(ACol, ARow))
        return;
    auto *options = dynamic_cast<TStrings *>(g->CellBitmapObject());
    const int count = options ? options->Count() : 0;
    if (count == 0)
        return;
    int N = 0;
    if (g->CellIndex() >= 0)
        N = g->CellIndex() + 1;
    else
        N = options->IndexOf(GetCellEx(ACol, ARow)) + 1;
    if (N >= count)
        N = 0;
    // A group below -1 keeps its choice in the cell text only.
    if (g->CellIndex() >= -1)
        g->SetCellIndex(N);
    g->SetCellVar(Variant(N));
    SetCellEx(ACol, ARow, options->Strings(N));
}

bool TProStringGrid::DoToggleCheckBox(int ACol, int ARow, bool CheckEditable)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    const bool group = FGrouping->AutoCheckGroup();
    bool nodeRow = false, contracted = false;
    int P = -1, S = 0;
    if (group) {
        if (IsNode(ARow)) {
            nodeRow = true;
            contracted = GetNodeState(ARow);
            const int realRow = RealRowIndex(ARow);
            S = NodeEndRow(realRow) - realRow;
        } else {
            P = GetParentRow(ARow);
            if (P >= 0 && P != ARow) {
                const int realP = RealRowIndex(P);
                S = NodeEndRow(realP) - realP;
            } else {
                P = -1;
            }
        }
    }
    if (!IsBoxType(g->CellType()))
        return false;
    if (CheckEditable && !FControlLook->CheckAlwaysActive() && !ControlEditable(ACol, ARow))
        return false;

    const QString checkTrue = GetCheckTrue(ACol, ARow);
    QString checkFalse;
    GetCheckFalse(ACol, ARow, checkFalse);
    QString oldText = GetCellEx(ACol, ARow), newText;
    // N is what the event and the tree hear; oldState and newState what the undo record keeps.
    bool N = false, oldState = false, newState = false;
    switch (g->CellType()) {
    case ctCheckBox:
        oldState = g->CellBoolean();
        g->SetCellBoolean(!oldState);
        N = newState = !oldState;
        break;
    case ctTriStateCheckBox: {
        const TCheckBoxState s = g->CellCheckBoxState();
        TCheckBoxState next;
        if (nodeRow)
            next = s == cbChecked ? cbUnchecked : cbChecked;
        else
            next = s == cbUnchecked ? cbGrayed : (s == cbGrayed ? cbChecked : cbUnchecked);
        g->SetCellCheckBoxState(next);
        oldState = s == cbChecked;
        newState = next == cbChecked;
        N = nodeRow && newState;
        break;
    }
    default:
        oldState = oldText == checkTrue;
        N = newState = !oldState;
        newText = N ? checkTrue : checkFalse;
        SetCellEx(ACol, ARow, newText);
        break;
    }

    RepaintCell(DisplColIndex(ACol), ARow);
    CheckBoxChange(ACol, ARow, N);

    if (group && S > 1) {
        if (nodeRow) {
            const int realRow = RealRowIndex(ARow);
            for (int k = 1; k < S; ++k) {
                if (!contracted && ARow + k >= RowCount())
                    break;
                SetCheckBoxState(ACol, contracted ? realRow + k : RealRowIndex(ARow + k), N);
            }
        } else if (P >= 0) {
            const int realP = RealRowIndex(P);
            bool F = false, differs = false;
            GetCheckBoxState(ACol, realP + 1, F);
            for (int k = 1; k < S; ++k) {
                bool s = false;
                GetCheckBoxState(ACol, realP + k, s);
                differs = differs || s != F;
            }
            SetCheckBoxState(ACol, realP, differs ? cbGrayed : (F ? cbChecked : cbUnchecked));
        }
    }

    if (TProGridUndoRedo *u = UndoRedo()) {
        // Data boxes restore the very text they held; the others record their state as text.
        if (IsDataBoxType(g->CellType()))
            u->RegisterChange(ACol, ARow, oldText, newText);
        else
            u->RegisterChange(ACol, ARow, oldState ? checkTrue : checkFalse, newState ? checkTrue : checkFalse);
    }
    return true;
}

bool TProStringGrid::DoClickRadioButton(int ACol, int ARow, bool CheckEditable)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType() != ctRadioButton)
        return false;
    if (CheckEditable && !FControlLook->CheckAlwaysActive() && !ControlEditable(ACol, ARow))
        return false;
    if (!g->CellBoolean()) {
        g->SetCellBoolean(true);
        RepaintCell(DisplColIndex(ACol), ARow);
        for (int r = 0; r < RowCount(); ++r) {
            if (r == ARow)
                continue;
            TCellGraphic *o = GetCellGraphic(ACol, r);
            if (o && o->CellType() == ctRadioButton && o->CellBoolean()) {
                o->SetCellBoolean(false);
                RepaintCell(DisplColIndex(ACol), r);
            }
        }
    }
    return true;
}

void TProStringGrid::RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked)
{
    TGridUpdateLock lock(this);
    for (int r = RowCount() - 1; r >= FixedRows(); --r)
        if (IsChecked(CheckBoxColumn, r) == RemoveChecked)
            RemoveRows(r, 1);
}
