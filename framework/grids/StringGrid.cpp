// TDrawGrid events and TStringGrid's cell store with its row and column string lists.
#include "framework/grids/Grids.h"
#include <algorithm>
#include <cstdint>
#include <vector>

// ---------------------------------------------------------------------------------------------
// TDrawGrid

TDrawGrid::TDrawGrid(TComponent *AOwner) : TCustomGrid(AOwner) {}

void TDrawGrid::DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TDrawGrid::SelectCell(int ACol, int ARow)
{
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, can);
    return can;
}

QString TDrawGrid::GetEditText(int ACol, int ARow)
{
    QString v;
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, v);
    return v;
}

QString TDrawGrid::GetEditMask(int ACol, int ARow)
{
    QString v;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, v);
    return v;
}

void TDrawGrid::SetEditText(int ACol, int ARow, const QString &Value)
{
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

void TDrawGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (OnColumnMoved)
        OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::RowMoved(int FromIndex, int ToIndex)
{
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::TopLeftChanged()
{
    TCustomGrid::TopLeftChanged();
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

// ---------------------------------------------------------------------------------------------
// TStringGrid

namespace {

const QString kIndexOutOfRange = QStringLiteral("Grid index out of range");

} // namespace

TStringGrid::TStringGrid(TComponent *AOwner) : TDrawGrid(AOwner) {}

TStringGrid::~TStringGrid()
{
    DetachBridge();
}

QString TStringGrid::Cells(int ACol, int ARow) const
{
    const QString *s = store_.Text(ACol, ARow);
    return s ? *s : QString();
}

void TStringGrid::SetCells(int ACol, int ARow, const QString &Value)
{
    if (ACol < 0 || ARow < 0)
        throw EInvalidGridOperation(kIndexOutOfRange);
    // The column count is the width a row written from the left is likely to reach.
    store_.SetText(ACol, ARow, Value, ColCount());
    InvalidateCell(ACol, ARow);
    if (editUpdate_ == 0 && EditorMode() && ACol == Col() && ARow == Row())
        InvalidateEditor();
}

TObject *TStringGrid::Objects(int ACol, int ARow) const
{
    return store_.Object(ACol, ARow);
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject *Value)
{
    if (ACol < 0 || ARow < 0)
        throw EInvalidGridOperation(kIndexOutOfRange);
    store_.SetObject(ACol, ARow, Value);
}

void TStringGrid::MoveCellRow(int FromRow, int ToRow)
{
    if (FromRow < 0 || ToRow < 0)
        throw EInvalidGridOperation(kIndexOutOfRange);
    if (FromRow == ToRow)
        return;
    store_.MoveRow(FromRow, ToRow);
    InvalidateRow(FromRow);
    InvalidateRow(ToRow);
}

void TStringGrid::SwapCellRows(int ARow1, int ARow2)
{
    if (ARow1 < 0 || ARow2 < 0)
        throw EInvalidGridOperation(kIndexOutOfRange);
    if (ARow1 == ARow2)
        return;
    store_.SwapRows(ARow1, ARow2);
    InvalidateRow(ARow1);
    InvalidateRow(ARow2);
}

void TStringGrid::PermuteCellRows(int First, const std::vector<int> &Order)
{
    const size_t n = Order.size();
    if (First < 0 || int64_t(First) + int64_t(n) > int64_t(INT32_MAX) + 1)
        throw EInvalidGridOperation(kIndexOutOfRange);
    std::vector<bool> seen(n);
    for (int i : Order) {
        if (i < 0 || size_t(i) >= n || seen[size_t(i)])
            throw EInvalidGridOperation(QStringLiteral("Row order is not a permutation"));
        seen[size_t(i)] = true;
    }
    if (n == 0)
        return;
    store_.PermuteRows(First, Order);
    InvalidateRect(GridRect(0, First, ColCount() - 1, First + int(n) - 1));
}

size_t TStringGrid::StoredCellCount() const
{
    return store_.Count();
}

TGridCoord TStringGrid::StoredCellExtent() const
{
    return {store_.ColExtent(), store_.RowExtent()};
}

void TStringGrid::VisitStoredObjects(int ACol1, int ARow1, int ACol2, int ARow2,
                                     const std::function<void(int, int, TObject *)> &Visit) const
{
    store_.VisitObjects(ACol1, ARow1, ACol2, ARow2, Visit);
}

TStrings *TStringGrid::Rows(int Index)
{
    if (Index < 0)
        throw EInvalidGridOperation(kIndexOutOfRange);
    auto &p = rows_[Index];
    if (!p)
        p = std::make_unique<TStringGridStrings>(this, true, Index);
    return p.get();
}

TStrings *TStringGrid::Cols(int Index)
{
    if (Index < 0)
        throw EInvalidGridOperation(kIndexOutOfRange);
    auto &p = cols_[Index];
    if (!p)
        p = std::make_unique<TStringGridStrings>(this, false, Index);
    return p.get();
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    if (DefaultDrawing()) {
        const QString text = Cells(ACol, ARow);
        if (!text.isEmpty()) {
            // The background is already filled; a clear brush keeps the text from filling it again.
            TBrush *b = Canvas()->Brush();
            const TBrushStyle style = b->Style();
            b->SetStyle(bsClear);
            Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, text);
            b->SetStyle(style);
        }
    }
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

QString TStringGrid::GetEditText(int ACol, int ARow)
{
    QString v = Cells(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, v);
    return v;
}

void TStringGrid::SetEditText(int ACol, int ARow, const QString &Value)
{
    ++editUpdate_;
    try {
        SetCells(ACol, ARow, Value);
    } catch (...) {
        --editUpdate_;
        throw;
    }
    --editUpdate_;
    TDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    store_.MoveColIndex(FromIndex, ToIndex);
    TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    store_.MoveRowIndex(FromIndex, ToIndex);
    TDrawGrid::RowMoved(FromIndex, ToIndex);
}

// ---------------------------------------------------------------------------------------------
// TStringGridStrings

TGridCoord TStringGridStrings::cell(int Index) const
{
    if (Index < 0 || Index >= GetCount())
        ListIndexError(Index);
    return isRow_ ? TGridCoord{Index, index_} : TGridCoord{index_, Index};
}

int TStringGridStrings::GetCount() const
{
    return isRow_ ? grid_->ColCount() : grid_->RowCount();
}

QString TStringGridStrings::Get(int Index) const
{
    const TGridCoord c = cell(Index);
    return grid_->Cells(c.X, c.Y);
}

TObject *TStringGridStrings::GetObject(int Index) const
{
    const TGridCoord c = cell(Index);
    return grid_->Objects(c.X, c.Y);
}

void TStringGridStrings::Put(int Index, const QString &S)
{
    const TGridCoord c = cell(Index);
    grid_->SetCells(c.X, c.Y, S);
}

void TStringGridStrings::PutObject(int Index, TObject *AObject)
{
    const TGridCoord c = cell(Index);
    grid_->SetObjects(c.X, c.Y, AObject);
}

void TStringGridStrings::Insert(int, const QString &)
{
    throw EInvalidGridOperation(QStringLiteral("Cannot insert or delete rows from grid"));
}

void TStringGridStrings::Delete(int)
{
    throw EInvalidGridOperation(QStringLiteral("Cannot insert or delete rows from grid"));
}

void TStringGridStrings::Clear()
{
    for (int i = 0, n = GetCount(); i < n; ++i) {
        Put(i, QString());
        PutObject(i, nullptr);
    }
}

int TStringGridStrings::Add(const QString &S)
{
    return AddObject(S, nullptr);
}

int TStringGridStrings::AddObject(const QString &S, TObject *AObject)
{
    // The list has a fixed length: adding fills its first empty cell.
    for (int i = 0, n = GetCount(); i < n; ++i) {
        if (Get(i).isEmpty() && !GetObject(i)) {
            Put(i, S);
            PutObject(i, AObject);
            return i;
        }
    }
    throw EInvalidGridOperation(kIndexOutOfRange);
}

void TStringGridStrings::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TStrings *>(Source);
    if (!src) {
        TStrings::Assign(Source);
        return;
    }
    if (src == this)
        return;
    // Read the source first: it may be a row or column of the same grid that overlaps.
    const int n = GetCount();
    std::vector<std::pair<QString, TObject *>> items;
    for (int i = 0; i < n && i < src->Count(); ++i)
        items.emplace_back(src->Strings(i), src->Objects(i));
    for (int i = 0; i < n; ++i) {
        const bool has = size_t(i) < items.size();
        Put(i, has ? items[size_t(i)].first : QString());
        PutObject(i, has ? items[size_t(i)].second : nullptr);
    }
}
