// Per-cell look, whole-row look, controls in cells, zoom, sizing permission and the setters of
// the grid properties that do more than store a value.
#include "grid/core/ProGrid.h"
#include <algorithm>
#include <memory>

namespace {
// The cell's properties when it has any; reading never creates them.
const TCellProperties *ExistingProps(const TProStringGrid *g, int c, int r)
{
    if (c < 0 || r < 0 || c >= g->TotalColCount() || r >= g->RowCount())
        return nullptr;
    return static_cast<const TCellProperties *>(g->GetGridObject(c, r));
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Per-cell look

TColor TProStringGrid::GetColorsTo(int ACol, int ARow)
{
    const TCellProperties *p = ExistingProps(this, ACol, ARow);
    return p ? p->BrushColorTo() : TColor(clNone);
}

void TProStringGrid::SetColorsTo(int ACol, int ARow, TColor Value)
{
    GetCellProperties(ACol, ARow)->SetBrushColorTo(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

TColor TProStringGrid::GetFontColors(int ACol, int ARow)
{
    const TCellProperties *p = ExistingProps(this, ACol, ARow);
    return p ? p->FontColor() : TColor(clNone);
}

void TProStringGrid::SetFontColors(int ACol, int ARow, TColor Value)
{
    GetCellProperties(ACol, ARow)->SetFontColor(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

TFontStyles TProStringGrid::GetFontStyles(int ACol, int ARow)
{
    const TCellProperties *p = ExistingProps(this, ACol, ARow);
    return p ? p->FontStyle() : TFontStyles();
}

void TProStringGrid::SetFontStyles(int ACol, int ARow, const TFontStyles &Value)
{
    GetCellProperties(ACol, ARow)->SetFontStyle(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

QString TProStringGrid::GetFontNames(int ACol, int ARow)
{
    const TCellProperties *p = ExistingProps(this, ACol, ARow);
    return p ? p->FontName() : QString();
}

void TProStringGrid::SetFontNames(int ACol, int ARow, const QString &Value)
{
    GetCellProperties(ACol, ARow)->SetFontName(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

int TProStringGrid::GetFontSizes(int ACol, int ARow)
{
    const TCellProperties *p = ExistingProps(this, ACol, ARow);
    return p ? p->FontSize() : 0;
}

void TProStringGrid::SetFontSizes(int ACol, int ARow, int Value)
{
    GetCellProperties(ACol, ARow)->SetFontSize(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

TAlignment TProStringGrid::GetAlignments(int ACol, int ARow)
{
    const TCellProperties *p = ExistingProps(this, ACol, ARow);
    return p ? p->Alignment() : taLeftJustify;
}

void TProStringGrid::SetAlignments(int ACol, int ARow, TAlignment Value)
{
    GetCellProperties(ACol, ARow)->SetAlignment(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

TCellGradientDirection TProStringGrid::GetGradientDir(int ACol, int ARow)
{
    const TCellProperties *p = ExistingProps(this, ACol, ARow);
    return p ? p->GradientDirection() : GradientVertical;
}

void TProStringGrid::SetGradientDir(int ACol, int ARow, TCellGradientDirection Value)
{
    GetCellProperties(ACol, ARow)->SetGradientDirection(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

bool TProStringGrid::GetReadOnly(int ACol, int ARow)
{
    return GetCellProperties(ACol, ARow)->ReadOnly();
}

void TProStringGrid::SetReadOnly(int ACol, int ARow, bool Value)
{
    GetCellProperties(ACol, ARow)->SetReadOnly(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

bool TProStringGrid::GetWordWraps(int ACol, int ARow)
{
    return GetCellProperties(ACol, ARow)->WordWrap();
}

void TProStringGrid::SetWordWraps(int ACol, int ARow, bool Value)
{
    GetCellProperties(ACol, ARow)->SetWordWrap(Value);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TProStringGrid::SetCellFont(int ACol, int ARow, const TFont *AFont)
{
    if (!AFont)
        return;
    TCellProperties *p = GetCellProperties(ACol, ARow);
    p->SetFontName(AFont->Name());
    p->SetFontSize(AFont->Size());
    p->SetFontStyle(AFont->Style());
    p->SetFontColor(AFont->Color());
    if (FUpdateCount == 0)
        RepaintCell(DisplColIndex(ACol), ARow);
}

// ---------------------------------------------------------------------------------------------
// Controls in cells

TControl *TProStringGrid::GetCellControls(int ACol, int ARow)
{
    return HasCellProperties(ACol, ARow) ? GetCellProperties(ACol, ARow)->Control() : nullptr;
}

void TProStringGrid::SetCellControls(int ACol, int ARow, TControl *Value)
{
    // The list keys a cell by its real row, so that hiding rows above does not lose it.
    const int realRow = RealRowIndex(ARow);
    if (!Value) {
        if (!HasCellProperties(ACol, ARow))
            return;
        TCellProperties *p = GetCellProperties(ACol, ARow);
        if (!p->Control())
            return;
        if (const int i = FControlList->ControlIndex(ACol, realRow); i >= 0)
            FControlList->RemoveControl(i);
        FNumCellControls = std::max(0, FNumCellControls - 1);
        p->SetControl(nullptr);
        return;
    }
    TCellProperties *p = GetCellProperties(ACol, ARow);
    if (const int i = FControlList->ControlIndex(ACol, realRow); i >= 0)
        FControlList->RemoveControl(i);
    if (!p->Control())
        ++FNumCellControls;
    FControlList->AddControl(ACol, realRow, Value);
    p->SetControl(Value);
    Value->SetParent(this);
    // One pixel more at the left and top covers the grid line before the cell.
    const TRect r = CellRect(DisplColIndex(ACol), ARow);
    Value->SetBounds(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
}

// ---------------------------------------------------------------------------------------------
// Whole-row look

bool TProStringGrid::CellPropsAreDefault(int ACol, int ARow)
{
    auto *p = static_cast<TCellProperties *>(GetGridObject(ACol, ARow));
    if (!p)
        return true;
    // A fresh object made in the cell's slot holds exactly the look a new cell would get.
    SetGridObject(ACol, ARow, nullptr);
    TCellProperties *fresh = GetCellProperties(ACol, ARow);
    SetGridObject(ACol, ARow, p);
    const std::unique_ptr<TCellProperties> keep(fresh);
    // A colour, font part or size left empty shows the default as well.
    auto color = [](TColor v, TColor d) { return v == clNone || v == d; };
    return !p->CellObject() && !p->GraphicObject() && !p->CalcObject() && !p->Control() &&
           p->BrushStyle() == fresh->BrushStyle() && color(p->BrushColor(), fresh->BrushColor()) &&
           color(p->BrushColorTo(), fresh->BrushColorTo()) && color(p->FontColor(), fresh->FontColor()) &&
           (p->FontSize() == 0 || p->FontSize() == fresh->FontSize()) &&
           (p->FontStyle().Empty() || p->FontStyle() == fresh->FontStyle()) &&
           (p->FontName().isEmpty() || p->FontName() == fresh->FontName()) &&
           p->CellSpanX() == fresh->CellSpanX() && p->CellSpanY() == fresh->CellSpanY() &&
           p->IsBaseCell() == fresh->IsBaseCell() && p->BorderWidth() == fresh->BorderWidth() &&
           p->BorderColor() == fresh->BorderColor() && p->Alignment() == fresh->Alignment() &&
           p->VAlignment() == fresh->VAlignment() && p->WordWrap() == fresh->WordWrap() &&
           p->CalcType() == fresh->CalcType() && p->NodeLevel() == fresh->NodeLevel() &&
           p->Editor() == fresh->Editor() && p->ReadOnly() == fresh->ReadOnly() &&
           p->GradientDirection() == fresh->GradientDirection();
}

void TProStringGrid::FreeCellPropsIfDefault(int ACol, int ARow)
{
    if (HasCellProperties(ACol, ARow) && CellPropsAreDefault(ACol, ARow))
        FreeCellProperties(ACol, ARow);
}

void TProStringGrid::SetRowColor(int ARow, TColor Value)
{
    const int cols = AllColCount();
    for (int c = FixedCols(); c < cols; ++c) {
        if (Value != clNone) {
            GetCellProperties(c, ARow)->SetBrushColor(Value);
        } else if (HasCellProperties(c, ARow)) {
            GetCellProperties(c, ARow)->SetBrushColor(clNone);
            FreeCellPropsIfDefault(c, ARow);
        }
    }
    RepaintRow(ARow);
}

void TProStringGrid::SetRowColorTo(int ARow, TColor Value)
{
    const int cols = AllColCount();
    for (int c = FixedCols(); c < cols; ++c) {
        if (Value != clNone) {
            GetCellProperties(c, ARow)->SetBrushColorTo(Value);
        } else if (HasCellProperties(c, ARow)) {
            GetCellProperties(c, ARow)->SetBrushColorTo(clNone);
            FreeCellPropsIfDefault(c, ARow);
        }
    }
    RepaintRow(ARow);
}

void TProStringGrid::SetRowFontColor(int ARow, TColor Value)
{
    const int cols = AllColCount();
    for (int c = FixedCols(); c < cols; ++c) {
        if (Value != clNone) {
            GetCellProperties(c, ARow)->SetFontColor(Value);
        } else if (HasCellProperties(c, ARow)) {
            GetCellProperties(c, ARow)->SetFontColor(clNone);
            FreeCellPropsIfDefault(c, ARow);
        }
    }
    RepaintRow(ARow);
}

// ---------------------------------------------------------------------------------------------
// Grid properties

void TProStringGrid::SetCursor(TCursor Value)
{
    TBaseGrid::SetCursor(Value);
    FOldCursor = Value;
}

void TProStringGrid::SetIntegralHeight(bool v)
{
    FIntegralHeight = v;
    SetBounds(Left(), Top(), Width(), Height());
}

void TProStringGrid::Zoom(int Delta)
{
    const int zoom = ZoomFactor() + Delta;
    if (zoom > 10 || zoom < -10)
        return;
    FScrollLock = true;
    SetZoomFactor(zoom);
    // A column or row of no size stays hidden, and none is made to vanish.
    for (int c = 0; c < ColCount(); ++c)
        if (const int w = ColWidths(c); w > 0 && w + Delta > 0)
            SetColWidths(c, w + Delta);
    for (int r = 0; r < RowCount(); ++r)
        if (const int h = RowHeights(r); h > 0 && h + Delta > 0)
            SetRowHeights(r, h + Delta);
    FScrollLock = false;
    if (ScrollProportional()) {
        UpdateVScrollProportional();
        UpdateHScrollProportional();
    }
}

void TProStringGrid::CalcSizingState(int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs)
{
    TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs);
    // The cell left of a column border and the cell above a row border are the ones sized.
    TGridCoord g = MouseCoord(X - 6, Y);
    if (g.Y >= 0 && g.Y < FixedRows() && g.X >= 0 && OnColumnSize) {
        bool allow = true;
        OnColumnSize(this, g.X, allow);
        if (!allow) {
            if (State == gsColSizing)
                State = gsNormal;
            FSizeFixed = false;
        }
    }
    g = MouseCoord(X, Y - 6);
    if (g.X < FixedCols() && g.Y >= 0 && OnRowSize) {
        bool allow = true;
        OnRowSize(this, g.Y, allow);
        if (!allow && State == gsRowSizing)
            State = gsNormal;
    }
}
