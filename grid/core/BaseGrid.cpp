#include "grid/core/BaseGrid.h"
#include "grid/core/ProGridUndo.h"
#include "grid/core/ProUtil.h"
#include <algorithm>
#include <memory>
#include <vector>

// ---------------------------------------------------------------------------------------------
// TCellProperties

TCellProperties::TCellProperties(TBaseGrid *AOwnerGrid, int ACol, int ARow)
    : FOwnerGrid(AOwnerGrid), FOwnerCol(ACol), FOwnerRow(ARow)
{
    if (FOwnerGrid) {
        FWordWrap = FOwnerGrid->FWordWrap;
        FOwnerGrid->FHasCellProps = true;
    }
}

void TCellProperties::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TCellProperties *>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FIsBaseCell = src->FIsBaseCell;
    FCellSpanX = src->FCellSpanX;
    FCellSpanY = src->FCellSpanY;
    FOwnerRow = src->FOwnerRow;
    FOwnerCol = src->FOwnerCol;
    FObject = src->FObject;
    FAlignment = src->FAlignment;
    FBorderColor = src->FBorderColor;
    FBorderWidth = src->FBorderWidth;
    FBrushColor = src->FBrushColor;
    FBrushStyle = src->FBrushStyle;
    FFontColor = src->FFontColor;
    FFontStyle = src->FFontStyle;
    FFontName = src->FFontName;
    FFontSize = src->FFontSize;
    FReadOnly = src->FReadOnly;
    FEditor = src->FEditor;
    FVAlignment = src->FVAlignment;
    FWordWrap = src->FWordWrap;
    FNodeLevel = src->FNodeLevel;
    FControl = src->FControl;
}

TPoint TCellProperties::GetBaseCell(int c, int r) const
{
    if (FIsBaseCell || FCellSpanX == -1 || FCellSpanY == -1)
        return {c, r};
    return {c - FCellSpanX, r - FCellSpanY};
}

void TCellProperties::RepaintOwner()
{
    if (FOwnerGrid)
        FOwnerGrid->RepaintCell(FOwnerCol, FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor v)
{
    FBrushColor = v;
    RepaintOwner();
}

void TCellProperties::SetBrushColorTo(TColor v)
{
    FBrushColorTo = v;
    RepaintOwner();
}

void TCellProperties::SetVAlignment(TVAlignment v)
{
    FVAlignment = v;
    RepaintOwner();
}

void TCellProperties::SetWordWrap(bool v)
{
    FWordWrap = v;
    RepaintOwner();
}

// ---------------------------------------------------------------------------------------------
// TBaseGrid: construction and the cell store

TBaseGrid::TBaseGrid(TComponent *AOwner) : TObjStringGrid(AOwner)
{
    TCustomGrid::SetGridLineWidth(0);
    TCustomGrid::SetDefaultDrawing(false);
    FStoreCols = ColCount();
    FStoreRows = RowCount();
}

TBaseGrid::~TBaseGrid()
{
    FDestroying = true;
    SetUndoRedo(nullptr);
    // Cells kept beyond the current counts own their properties too.
    FHasCellProps = true;
    FreeCellPropsRect(0, 0, StoreColExtent() - 1, StoreRowExtent() - 1);
}

void TBaseGrid::SetUndoRedo(TProGridUndoRedo *Value)
{
    if (FUndoRedo == Value)
        return;
    if (FUndoRedo) {
        FUndoRedo->RemoveFreeNotification(this);
        // The old history would otherwise keep a grid that no longer tells it when it goes.
        if (FUndoRedo->Grid() == this)
            FUndoRedo->SetGrid(nullptr);
    }
    FUndoRedo = Value;
    if (FUndoRedo) {
        FUndoRedo->FreeNotification(this);
        FUndoRedo->SetGrid(this);
    }
}

void TBaseGrid::Notification(TComponent *AComponent, TOperation Operation)
{
    TObjStringGrid::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FUndoRedo)
        FUndoRedo = nullptr;
}

void TBaseGrid::CheckCellIndex(int c, int r) const
{
    if (c < 0 || r < 0)
        throw EProGridError(QStringLiteral("Invalid cell index (%1, %2)").arg(c).arg(r));
}

void TBaseGrid::NoteStoreExtent(int c, int r)
{
    FStoreCols = std::max(FStoreCols, c + 1);
    FStoreRows = std::max(FStoreRows, r + 1);
}

int TBaseGrid::StoreColExtent() const { return std::max(FStoreCols, ColCount()); }
int TBaseGrid::StoreRowExtent() const { return std::max(FStoreRows, RowCount()); }

void TBaseGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    TObjStringGrid::SizeChanged(OldColCount, OldRowCount);
    NoteStoreExtent(ColCount() - 1, RowCount() - 1);
}

bool TBaseGrid::SelectCell(int ACol, int ARow)
{
    RepaintCell(Col(), Row());
    const bool result = TObjStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return result;
}

QString TBaseGrid::GetGridCell(int c, int r) const
{
    CheckCellIndex(c, r);
    return TStringGrid::Cells(c, r);
}

void TBaseGrid::SetGridCell(int c, int r, const QString &Value)
{
    CheckCellIndex(c, r);
    TStringGrid::SetCells(c, r, Value);
}

TObject *TBaseGrid::GetGridObject(int c, int r) const
{
    CheckCellIndex(c, r);
    return TStringGrid::Objects(c, r);
}

void TBaseGrid::SetGridObject(int c, int r, TObject *Value)
{
    CheckCellIndex(c, r);
    if (Value)
        NoteStoreExtent(c, r);
    TStringGrid::SetObjects(c, r, Value);
}

bool TBaseGrid::HasCellProperties(int c, int r) const
{
    return c >= 0 && c < TotalColCount() && r >= 0 && r < RowCount() && TStringGrid::Objects(c, r) != nullptr;
}

TCellProperties *TBaseGrid::GetCellProperties(int c, int r)
{
    CheckCellIndex(c, r);
    auto *props = static_cast<TCellProperties *>(TStringGrid::Objects(c, r));
    if (props)
        return props;
    props = new TCellProperties(this, c, r);
    SetGridObject(c, r, props);
    TFont font;
    TBrush brush;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetDefaultProps(c, r, &font, &brush, colorTo, mirror, mirrorTo, ha, va, ww, gd);
    props->FCalcType = acNONE;
    props->FAlignment = ha;
    props->FVAlignment = va;
    props->FWordWrap = ww;
    props->FFontName = font.Name();
    props->FFontSize = font.Size();
    props->FFontStyle = font.Style();
    props->FFontColor = font.Color();
    props->FBrushColor = brush.Color();
    props->FBrushColorTo = colorTo;
    props->FGradientDirection = gd;
    return props;
}

void TBaseGrid::SetCellProperties(int c, int r, TCellProperties *Value)
{
    CheckCellIndex(c, r);
    auto *old = static_cast<TCellProperties *>(TStringGrid::Objects(c, r));
    if (old == Value)
        return;
    delete old;
    SetGridObject(c, r, Value);
}

void TBaseGrid::FreeCellProperties(int c, int r)
{
    CheckCellIndex(c, r);
    delete static_cast<TCellProperties *>(TStringGrid::Objects(c, r));
    TStringGrid::SetObjects(c, r, nullptr);
}

void TBaseGrid::DisposeCellProperties(TCellProperties *AProps)
{
    if (AProps->FGraphicObject && AProps->FGraphicObject->ClassName() == QLatin1String("TCellGraphic"))
        delete AProps->FGraphicObject;
    delete AProps;
}

void TBaseGrid::FreeCellPropsRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (!FHasCellProps)
        return;
    // Only the stored objects are visited; their slots are emptied after the walk.
    std::vector<std::pair<TGridCoord, TCellProperties *>> found;
    VisitStoredObjects(std::max(ACol1, 0), std::max(ARow1, 0), ACol2, ARow2, [&found](int c, int r, TObject *obj) {
        found.push_back({TGridCoord{c, r}, static_cast<TCellProperties *>(obj)});
    });
    for (const auto &[cell, props] : found) {
        DisposeCellProperties(props);
        TStringGrid::SetObjects(cell.X, cell.Y, nullptr);
    }
}

void TBaseGrid::GetDefaultProps(int ACol, int ARow, TFont *AFont, TBrush *ABrush, TColor &AColorTo,
                                TColor &AMirrorColor, TColor &AMirrorColorTo, TAlignment &HA,
                                TVAlignment &VA, bool &WW, TCellGradientDirection &GD)
{
    AFont->Assign(Font());
    ABrush->SetColor(Color());
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;
    HA = taLeftJustify;
    VA = vtaTop;
    WW = FWordWrap;
    GD = GradientVertical;
}

// ---------------------------------------------------------------------------------------------
// Cell text

void TBaseGrid::GetDisplText(int ACol, int ARow, QString &Value)
{
    if (OnGetDisplText)
        OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDisplWideText(int ACol, int ARow, QString &Value)
{
    if (OnGetDisplWideText)
        OnGetDisplWideText(this, ACol, ARow, Value);
}

QString TBaseGrid::GetCellEx(int c, int r)
{
    CheckCellIndex(c, r);
    const TPoint b = HasCellProperties(c, r) ? BaseCell(c, r) : TPoint(c, r);
    QString value = TStringGrid::Cells(b.X, b.Y);
    if (b.Y < FNormalRowCount) {
        GetDisplText(b.X, b.Y, value);
        if (OnGetDisplWideText) {
            QString wide = DecodeWideCellText(value);
            GetDisplWideText(b.X, b.Y, wide);
            value = EncodeWideCellText(wide);
        }
    }
    return value;
}

void TBaseGrid::SetCellEx(int c, int r, const QString &Value)
{
    CheckCellIndex(c, r);
    if (HasCellProperties(c, r)) {
        const TPoint b = BaseCell(c, r);
        SetGridCell(b.X, b.Y, Value);
        CellChanged(b.X, b.Y);
        if (Parent())
            RepaintCell(c, r);
    } else {
        SetGridCell(c, r, Value);
    }
    if (FHideLastRow && r == RowCount() - 1)
        LastRowWritten();
}

TObject *TBaseGrid::GetObjectEx(int c, int r)
{
    CheckCellIndex(c, r);
    auto *props = static_cast<TCellProperties *>(TStringGrid::Objects(c, r));
    return props ? props->FObject : nullptr;
}

void TBaseGrid::SetObjectEx(int c, int r, TObject *Value)
{
    // Writing a blank first makes sure the cell's text storage exists.
    const bool empty = GetCellEx(c, r).isEmpty();
    if (empty)
        SetCellEx(c, r, QStringLiteral(" "));
    GetCellProperties(c, r)->FObject = Value;
    if (empty)
        SetCellEx(c, r, QString());
}

TObject *TBaseGrid::GetGraphicObjectEx(int c, int r)
{
    CheckCellIndex(c, r);
    auto *props = static_cast<TCellProperties *>(TStringGrid::Objects(c, r));
    return props ? props->FGraphicObject : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(int c, int r, TObject *Value)
{
    if (FDestroying)
        return;
    const bool empty = GetCellEx(c, r).isEmpty();
    if (empty)
        SetCellEx(c, r, QStringLiteral(" "));
    GetCellProperties(c, r)->FGraphicObject = Value;
    if (empty)
        SetCellEx(c, r, QString());
}

void TBaseGrid::ClearGridCol(int ACol)
{
    for (int r = 0; r < RowCount(); ++r) {
        SetGridObject(ACol, r, nullptr);
        SetCellEx(ACol, r, QString());
    }
}

void TBaseGrid::ClearGridRow(int ARow)
{
    for (int c = 0; c < ColCount(); ++c) {
        SetGridObject(c, ARow, nullptr);
        SetCellEx(c, ARow, QString());
    }
}

void TBaseGrid::ClearGridCell(int c, int r)
{
    SetCellEx(c, r, QString());
    SetGridObject(c, r, nullptr);
}

// ---------------------------------------------------------------------------------------------
// Merged cells

void TBaseGrid::MergeCells(int c, int r, int spanx, int spany)
{
    CheckCellIndex(c, r);
    ++FMergeCount;
    for (int i = c; i < c + spanx; ++i)
        for (int j = r; j < r + spany; ++j) {
            TCellProperties *p = GetCellProperties(i, j);
            p->FIsBaseCell = (i == c && j == r);
            if (p->FIsBaseCell) {
                p->FCellSpanX = spanx - 1;
                p->FCellSpanY = spany - 1;
            } else {
                p->FCellSpanX = i - c;
                p->FCellSpanY = j - r;
            }
        }
    for (int i = c; i < c + spanx; ++i)
        for (int j = r; j < r + spany; ++j)
            RepaintCell(i, j);
}

void TBaseGrid::SplitCells(int c, int r)
{
    CheckCellIndex(c, r);
    const TPoint b = GetCellProperties(c, r)->GetBaseCell(c, r);
    TCellProperties *base = GetCellProperties(b.X, b.Y);
    const int sx = base->FCellSpanX, sy = base->FCellSpanY;
    for (int i = b.X; i <= b.X + sx; ++i)
        for (int j = b.Y; j <= b.Y + sy; ++j) {
            TCellProperties *p = GetCellProperties(i, j);
            p->FIsBaseCell = true;
            p->FCellSpanX = -1;
            p->FCellSpanY = -1;
        }
    for (int i = b.X; i <= b.X + sx; ++i)
        for (int j = b.Y; j <= b.Y + sy; ++j)
            RepaintCell(i, j);
    --FMergeCount;
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return false;
    auto *p = static_cast<TCellProperties *>(TStringGrid::Objects(ACol, ARow));
    return p->FCellSpanX > 0 || p->FCellSpanY > 0;
}

bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow) const
{
    return IsMergedCell(ACol, ARow) && !IsBaseCell(ACol, ARow);
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const
{
    return HasCellProperties(ACol, ARow) && CellSpan(ACol, ARow).X > 0;
}

bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const
{
    return HasCellProperties(ACol, ARow) && CellSpan(ACol, ARow).Y > 0;
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return true;
    return static_cast<TCellProperties *>(TStringGrid::Objects(ACol, ARow))->FIsBaseCell;
}

TPoint TBaseGrid::BaseCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return {ACol, ARow};
    return static_cast<TCellProperties *>(TStringGrid::Objects(ACol, ARow))->GetBaseCell(ACol, ARow);
}

TPoint TBaseGrid::CellSpan(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return {0, 0};
    const TPoint b = BaseCell(ACol, ARow);
    auto *base = static_cast<TCellProperties *>(TStringGrid::Objects(b.X, b.Y));
    if (!base || base->FCellSpanX == -1 || base->FCellSpanY == -1)
        return {0, 0};
    return {base->FCellSpanX, base->FCellSpanY};
}

TPoint TBaseGrid::CellExt(int ACol, int ARow) const
{
    if (!IsMergedCell(ACol, ARow))
        return {0, 0};
    const TPoint b = BaseCell(ACol, ARow);
    const TPoint s = CellSpan(ACol, ARow);
    return {b.X + s.X - ACol, b.Y + s.Y - ARow};
}

TRect TBaseGrid::FullCell(int c, int r) const
{
    const TPoint b = BaseCell(c, r);
    const TPoint s = CellSpan(c, r);
    return {b.X, b.Y, b.X + s.X, b.Y + s.Y};
}

int TBaseGrid::MinRowSpan(int ARow) const
{
    int result = RowCount();
    for (int c = 0; c < ColCount(); ++c) {
        const int s = CellSpan(c, ARow).Y;
        if (s > 0 && s < result)
            result = s;
    }
    return result;
}

int TBaseGrid::MaxRowSpan(int ARow) const
{
    int result = 0;
    for (int c = 0; c < ColCount(); ++c)
        result = std::max(result, CellSpan(c, ARow).Y);
    return result;
}

bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2) const
{
    bool shared = false;
    for (int c = 0; c < ColCount(); ++c) {
        if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
            shared = true;
            if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y)
                return false;
        }
    }
    return shared;
}

bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2) const
{
    bool shared = false;
    for (int r = 0; r < RowCount(); ++r) {
        const int s1 = CellSpan(ACol1, r).X, s2 = CellSpan(ACol2, r).X;
        if (s1 > 0 && s2 > 0) {
            shared = true;
            if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X)
                return false;
        } else if (s1 != s2) {
            return false;
        }
    }
    return shared;
}

void TBaseGrid::FocusBaseCell()
{
    if (!HasCellProperties(Col(), Row()))
        return;
    const TPoint b = BaseCell(Col(), Row());
    if (b.X != Col())
        SetCol(b.X);
    if (b.Y != Row())
        SetRow(b.Y);
}

// ---------------------------------------------------------------------------------------------
// Keys, wheel and scrolling

void TBaseGrid::KeyDown(Word &Key, TShiftState Shift)
{
    const bool props = HasCellProperties(Col(), Row());
    const TPoint b = props ? BaseCell(Col(), Row()) : TPoint(Col(), Row());
    const TPoint span = props ? CellSpan(Col(), Row()) : TPoint(0, 0);
    // The framework then moves one cell from the adjusted position: from the block's first
    // column or row to the cell before the block, from its last one to the cell after it.
    switch (Key) {
    case VK_NEXT:
        if (VisibleRowCount() + TopRow() - FixedRows() == RowCount() - 1 && FHideLastRow && RowCount() > 1)
            SetRow(RowCount() - 2);
        break;
    case VK_LEFT:
        if (props && b.X < Col() && Col() > FixedCols() && b.X > 0)
            SetCol(std::max(b.X, FixedCols()));
        break;
    case VK_UP:
        if (props && b.Y < Row() && Row() > FixedRows() && b.Y > 0)
            SetRow(std::max(b.Y, FixedRows()));
        break;
    case VK_RIGHT: {
        const int e = b.X + span.X;
        if (props && e >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1 && e < ColCount())
            SetCol(e);
        break;
    }
    case VK_DOWN: {
        const int e = b.Y + span.Y;
        if (props && e >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1 && e < RowCount())
            SetRow(e);
        break;
    }
    default:
        break;
    }
    TObjStringGrid::KeyDown(Key, Shift);
    FocusBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    // Stepping from inside a block would land in it again and come back to its base cell.
    if (HasCellProperties(Col(), Row())) {
        const int e = BaseCell(Col(), Row()).Y + CellSpan(Col(), Row()).Y;
        if (e > Row() && e < RowCount() - 1)
            SetRow(e);
    }
    const bool result = TObjStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (VisibleRowCount() < Row() - TopRow() && Row() < RowCount() - 1 && FHideLastRow)
        SetTopRow(TopRow() + 1);
    FocusBaseCell();
    return result;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    const bool result = TObjStringGrid::DoMouseWheelUp(Shift, MousePos);
    FocusBaseCell();
    return result;
}

void TBaseGrid::TopLeftChanged()
{
    TObjStringGrid::TopLeftChanged();
    if (!FHasCellProps)
        return;
    const int lastRow = std::min(TopRow() + VisibleRowCount(), RowCount() - 1);
    for (int c = 0; c < FixedCols(); ++c)
        for (int r = TopRow(); r <= lastRow; ++r)
            if (IsMergedCell(c, r))
                RepaintCell(c, r);
    const int lastCol = std::min(LeftCol() + VisibleColCount(), ColCount() - 1);
    for (int r = 0; r < FixedRows(); ++r)
        for (int c = LeftCol(); c <= lastCol; ++c)
            if (IsMergedCell(c, r))
                RepaintCell(c, r);
}

// ---------------------------------------------------------------------------------------------
// Geometry

TRect TBaseGrid::CalcCellRect(int c, int r)
{
    int x = 0, y = 0;
    for (int i = 0; i < c; ++i)
        x += ColWidths(i);
    for (int i = 0; i < r; ++i)
        y += RowHeights(i);
    TRect rc(x, y, x + ColWidths(c), y + RowHeights(r));
    if (c >= FixedCols()) {
        int dx = 0;
        for (int i = 0; i < LeftCol(); ++i)
            dx += ColWidths(i);
        rc.Left -= dx;
        rc.Right -= dx;
    }
    if (r >= FixedRows()) {
        int dy = 0;
        for (int i = 0; i < TopRow(); ++i)
            dy += RowHeights(i);
        rc.Top -= dy;
        rc.Bottom -= dy;
    }
    const TRect origin = TCustomGrid::CellRect(LeftCol(), TopRow());
    OffsetRect(rc, c < FixedCols() ? 0 : origin.Left, r < FixedRows() ? 0 : origin.Top);
    return rc;
}

TRect TBaseGrid::CellRect(int c, int r)
{
    if (HasCellProperties(c, r)) {
        auto *p = static_cast<TCellProperties *>(TStringGrid::Objects(c, r));
        if (p->FCellSpanX != -1 && p->FCellSpanY != -1) {
            const TPoint b = BaseCell(c, r);
            const TPoint s = CellSpan(c, r);
            TRect r1 = CalcCellRect(b.X, b.Y);
            if (r1.Width() == 0)
                ++r1.Right;
            TRect r2 = CalcCellRect(b.X + s.X, b.Y + s.Y);
            if (r2.Width() == 0)
                --r2.Left;
            return {std::min(r1.Left, r2.Left), std::min(r1.Top, r2.Top),
                    std::max(r1.Right, r2.Right), std::max(r1.Bottom, r2.Bottom)};
        }
        if (p->FControl)
            return CalcCellRect(c, r);
    }
    const TRect fr = TCustomGrid::CellRect(c, r);
    return Bounds(fr.Left, fr.Top, ColWidths(c), RowHeights(r));
}

TPoint TBaseGrid::CellSize(int c, int r)
{
    TRect rc;
    if (IsMergedCell(c, r)) {
        const TPoint b = BaseCell(c, r);
        const TPoint s = CellSpan(c, r);
        const TRect r1 = CalcCellRect(b.X, b.Y);
        const TRect r2 = CalcCellRect(b.X + s.X, b.Y + s.Y);
        rc = TRect(std::min(r1.Left, r2.Left), std::min(r1.Top, r2.Top),
                   std::max(r1.Right, r2.Right), std::max(r1.Bottom, r2.Bottom));
    } else {
        rc = CalcCellRect(c, r);
    }
    return {rc.Width(), rc.Height()};
}

void TBaseGrid::RepaintCell(int c, int r)
{
    if (!Widget() || IsDestroying() || c < 0 || r < 0)
        return;
    InvalidateCell(c, r);
    if (IsMergedCell(c, r)) {
        const TRect f = FullCell(c, r);
        InvalidateRect(GridRect(f.Left, f.Top, f.Right, f.Bottom));
    }
}

// ---------------------------------------------------------------------------------------------
// Properties of the grid

void TBaseGrid::SetDefaultDrawing(bool v)
{
    FDefaultDrawing = v;
    TCustomGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(int v)
{
    FGridLineWidth = v;
    TCustomGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor v)
{
    FGridLineColor = v;
    Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor v)
{
    FGridFixedLineColor = v;
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Painting

void TBaseGrid::Paint()
{
    TObjStringGrid::Paint();
    ++FPaintID;
}

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    DoPaintCell(Canvas(), ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCell(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    DoPaintCell(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    DoPaintCell(ACanvas, ACol, ARow, ARect, AState, false);
}

void TBaseGrid::DrawCellText(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    TRect r = ARect;
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->DrawText(GetCellEx(ACol, ARow), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

namespace {

struct TSelectionBoxColors
{
    TColor From, To, MirrorFrom, MirrorTo, InnerTop, InnerBottom, Border, Corner;
};

const TSelectionBoxColors &SelectionBoxColors(TGridSelectionStyle Style, bool Focused)
{
    static const TSelectionBoxColors vista{0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB};
    static const TSelectionBoxColors win7{0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE};
    static const TSelectionBoxColors office{0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF};
    static const TSelectionBoxColors unfocused{0xF8F8F8, 0xE5E5E5, clNone, clNone, 0xFBFAFA, 0xF0F0F0, 0xD9D9D9, 0xEFEFEF};
    if (!Focused)
        return unfocused;
    return Style == ssWin7 ? win7 : Style == ssOffice2007 ? office : vista;
}

} // namespace

void TBaseGrid::PaintCellBackground(TCanvas *ACanvas, int ACol, const TRect &ARect, TGridDrawState AState,
                                    TColor ColorTo, TColor MirrorColor, TColor MirrorColorTo,
                                    TCellGradientDirection GD)
{
    const TColor from = ACanvas->Brush()->Color();
    if (AState.Contains(gdSelected) && FSelectionStyle != ssDefault && FShowSel) {
        // The box rounds only the outer ends of a selection several columns wide.
        const TGridRect sel = Selection();
        int position = 0;
        if (sel.Left == ACol && ACol < sel.Right)
            position = 1;
        else if (sel.Right == ACol && ACol > sel.Left)
            position = 2;
        else if (sel.Left < ACol && ACol < sel.Right)
            position = 3;
        TRect r = ARect;
        const TGridOptions opts = Options();
        if (!opts.Contains(goHorzLine))
            r.Bottom += 1;
        if (!opts.Contains(goVertLine))
            r.Right += 1;
        const TSelectionBoxColors &c =
            SelectionBoxColors(FSelectionStyle, Focused() || opts.Contains(goDrawFocusSelected));
        DrawRoundedSelectionShape(ACanvas, c.From, c.To, position, r, Color(), c.Corner, c.InnerTop, c.InnerBottom,
                                  c.Border, c.MirrorTo, c.MirrorFrom);
    } else if (MirrorColorTo == clNone && (ColorTo == clNone || from == clNone)) {
        // Most cells are one colour: a plain fill covers what the gradient's single band would.
        const TColor c = from == clNone ? ColorTo : from;
        if (c != clNone) {
            ACanvas->Brush()->SetStyle(bsSolid);
            ACanvas->Brush()->SetColor(c);
            ACanvas->FillRect(ARect);
        }
    } else if (MirrorColorTo == clNone) {
        GradientFill(ACanvas, from, ColorTo, GD == GradientHorizontal, ARect, 64);
    } else {
        FillCellBackground(ACanvas, ARect, from, true, false, clNone, true, MirrorColorTo, MirrorColor, ColorTo);
    }
    ACanvas->Brush()->SetColor(from);
}

void TBaseGrid::DoPaintCell(TCanvas *ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState,
                            bool Content)
{
    if (FHideLastRow && ARow == RowCount() - 1) {
        ACanvas->Brush()->SetColor(Color());
        ACanvas->Pen()->SetColor(Color());
        ACanvas->FillRect(ARect);
        return;
    }
    // A covered cell paints its whole block once per paint pass.
    if (HasCellProperties(ACol, ARow) && !IsBaseCell(ACol, ARow)) {
        const TPoint b = BaseCell(ACol, ARow);
        auto *base = static_cast<TCellProperties *>(TStringGrid::Objects(b.X, b.Y));
        if (base && base->FPaintID != FPaintID) {
            base->FPaintID = FPaintID;
            PaintCell(ACanvas, b.X, b.Y, ARect, AState);
        }
        return;
    }
    if (Content) {
        if (IsFixed(ACol, ARow)) {
            AState += gdFixed;
            AState -= gdSelected;
        }
        ARect = CellRect(ACol, ARow);
    }

    // A block scrolled partly under the fixed area must not paint over it.
    int fw = 0, fh = 0;
    if (ACol >= FixedCols())
        for (int i = 0; i < FixedCols(); ++i)
            fw += ColWidths(i);
    if (ARow >= FixedRows())
        for (int i = 0; i < FixedRows(); ++i)
            fh += RowHeights(i);
    const bool clip = (ACol >= FixedCols() && FixedCols() > 0 && ARect.Left < fw) ||
                      (ARow >= FixedRows() && FixedRows() > 0 && ARect.Top < fh);
    if (clip) {
        ACanvas->SaveState();
        ACanvas->IntersectClipRect(TRect(fw, fh, Width(), Height()));
    }

    ACanvas->Pen()->SetWidth(1);
    // Assigning rebuilds the canvas's font even when nothing changed; most cells share one font.
    TFont *cf = ACanvas->Font();
    const TFont *gf = Font();
    if (cf->Name() != gf->Name() || cf->Size() != gf->Size() || cf->Style() != gf->Style() ||
        cf->Color() != gf->Color() || cf->Charset() != gf->Charset() || cf->Pitch() != gf->Pitch() ||
        cf->Orientation() != gf->Orientation())
        cf->Assign(const_cast<TFont *>(gf));
    ACanvas->Brush()->SetColor(AState.Contains(gdFixed) ? FixedColor() : Color());
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(ACol, ARow, AState, false, true, true, ACanvas->Brush(), colorTo, mirror,
                        mirrorTo, ACanvas->Font(), ha, va, ww, gd);
    if (FHoverRow && ARow == FHoverRowIdx && !AState.Contains(gdSelected)) {
        ACanvas->Brush()->SetColor(FHoverRowColor);
        colorTo = FHoverRowColorTo;
        mirror = clNone;
        mirrorTo = clNone;
        gd = GradientVertical;
    }
    if ((FActiveRowShow && ARow == Row() && (ACol != Col() || !FShowSel) && ACol >= FixedCols()) ||
        (!Content && AState.Contains(gdSelected))) {
        ACanvas->Brush()->SetColor(FActiveRowColor);
        colorTo = FActiveRowColorTo;
        mirror = FActiveRowMirrorColor;
        mirrorTo = FActiveRowMirrorColorTo;
    }
    ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());
    PaintCellBackground(ACanvas, ACol, ARect, AState, colorTo, mirror, mirrorTo, gd);

    const bool fixed = AState.Contains(gdFixed);
    int half = 1;
    bool lines = true;
    if (fixed) {
        ACanvas->Pen()->SetColor(FGridFixedLineColor);
        ACanvas->Pen()->SetWidth(1);
    } else if (FGridLineWidth > 0) {
        ACanvas->Pen()->SetColor(FGridLineColor);
        ACanvas->Pen()->SetWidth(FGridLineWidth);
        half = (FGridLineWidth + 1) / 2;
    } else {
        lines = false;
    }
    const TGridOptions opts = Options();
    if (lines) {
        if (!(BaseCell(ACol, ARow).X == 0 && HasNodes()) &&
            ((opts.Contains(goHorzLine) && !fixed) || (opts.Contains(goFixedHorzLine) && fixed))) {
            ACanvas->MoveTo(ARect.Left - half + 1, ARect.Bottom - half);
            ACanvas->LineTo(ARect.Right - half + 1, ARect.Bottom - half);
        }
        if ((opts.Contains(goVertLine) && !fixed) || (opts.Contains(goFixedVertLine) && fixed)) {
            ACanvas->MoveTo(ARect.Right - half, ARect.Bottom - half);
            ACanvas->LineTo(ARect.Right - half, ARect.Top - half);
        }
    }

    if (Content) {
        TRect inner = ARect;
        if (fixed) {
            inner.Right -= 1;
            inner.Bottom -= 2;
        } else {
            InflateRect(inner, -FGridLineWidth, -FGridLineWidth);
        }
        DrawCellText(ACanvas, ACol, ARow, inner, AState);
    }
    if (clip)
        ACanvas->RestoreState();
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Pen()->SetStyle(psSolid);
}
