// TDrawGrid events and TStringGrid's cell store with its row and column string lists.
#include "framework/grids/Grids.h"
#include <algorithm>

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

// Re-keys the entries of an ordered map as if the item at `from` moved to `to`.
template <typename Map>
void moveKey(Map &m, int from, int to)
{
    const int lo = std::min(from, to), hi = std::max(from, to);
    auto first = m.lower_bound(lo);
    auto last = m.upper_bound(hi);
    if (first == last)
        return;
    std::vector<typename Map::node_type> moved;
    while (first != last) {
        auto next = std::next(first);
        moved.push_back(m.extract(first));
        first = next;
    }
    for (auto &n : moved) {
        const int k = n.key();
        if (k == from)
            n.key() = to;
        else
            n.key() = from < to ? k - 1 : k + 1;
        m.insert(std::move(n));
    }
}

} // namespace

TStringGrid::TStringGrid(TComponent *AOwner) : TDrawGrid(AOwner) {}

TStringGrid::~TStringGrid()
{
    DetachBridge();
}

const TStringGrid::TCell *TStringGrid::find(int ACol, int ARow) const
{
    if (!foundValid_ || foundRow_ != ARow) {
        auto r = data_.find(ARow);
        foundCells_ = r == data_.end() ? nullptr : &r->second;
        foundRow_ = ARow;
        foundValid_ = true;
    }
    if (!foundCells_)
        return nullptr;
    auto c = foundCells_->find(ACol);
    return c == foundCells_->end() ? nullptr : &c->second;
}

TStringGrid::TCell &TStringGrid::at(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        throw EInvalidGridOperation(kIndexOutOfRange);
    foundValid_ = false;
    return data_[ARow][ACol];
}

void TStringGrid::prune(int ACol, int ARow)
{
    auto r = data_.find(ARow);
    if (r == data_.end())
        return;
    auto c = r->second.find(ACol);
    if (c != r->second.end() && c->second.Text.isEmpty() && !c->second.Object)
        r->second.erase(c);
    if (r->second.empty()) {
        data_.erase(r);
        foundValid_ = false;
    }
}

QString TStringGrid::Cells(int ACol, int ARow) const
{
    const TCell *c = find(ACol, ARow);
    return c ? c->Text : QString();
}

void TStringGrid::SetCells(int ACol, int ARow, const QString &Value)
{
    at(ACol, ARow).Text = Value;
    // Only an emptied cell can have become prunable.
    if (Value.isEmpty())
        prune(ACol, ARow);
    InvalidateCell(ACol, ARow);
    if (editUpdate_ == 0 && EditorMode() && ACol == Col() && ARow == Row())
        InvalidateEditor();
}

TObject *TStringGrid::Objects(int ACol, int ARow) const
{
    const TCell *c = find(ACol, ARow);
    return c ? c->Object : nullptr;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject *Value)
{
    at(ACol, ARow).Object = Value;
    prune(ACol, ARow);
}

void TStringGrid::MoveCellRow(int FromRow, int ToRow)
{
    if (FromRow < 0 || ToRow < 0)
        throw EInvalidGridOperation(kIndexOutOfRange);
    if (FromRow == ToRow)
        return;
    foundValid_ = false;
    auto node = data_.extract(FromRow);
    data_.erase(ToRow);
    if (!node.empty()) {
        node.key() = ToRow;
        data_.insert(std::move(node));
    }
    InvalidateRow(FromRow);
    InvalidateRow(ToRow);
}

size_t TStringGrid::StoredCellCount() const
{
    size_t n = 0;
    for (const auto &r : data_)
        n += r.second.size();
    return n;
}

TGridCoord TStringGrid::StoredCellExtent() const
{
    TGridCoord e{0, 0};
    for (const auto &[row, cells] : data_) {
        if (cells.empty())
            continue;
        e.Y = std::max(e.Y, row + 1);
        e.X = std::max(e.X, cells.rbegin()->first + 1);
    }
    return e;
}

void TStringGrid::VisitStoredObjects(int ACol1, int ARow1, int ACol2, int ARow2,
                                     const std::function<void(int, int, TObject *)> &Visit) const
{
    for (auto r = data_.lower_bound(ARow1); r != data_.end() && r->first <= ARow2; ++r)
        for (auto c = r->second.lower_bound(ACol1); c != r->second.end() && c->first <= ACol2; ++c)
            if (c->second.Object)
                Visit(c->first, r->first, c->second.Object);
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
    for (auto &r : data_)
        moveKey(r.second, FromIndex, ToIndex);
    TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    foundValid_ = false;
    moveKey(data_, FromIndex, ToIndex);
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
