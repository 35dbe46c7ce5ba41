#include "framework/grids/CellStore.h"
#include <climits>

TGridCellStore::TGridCellStore() = default;
TGridCellStore::~TGridCellStore() = default;

TGridCellStore::TRow &TGridCellStore::row(int ARow)
{
    TRowPtr &p = rows_.Slot(ARow);
    if (!p)
        p = std::make_unique<TRow>();
    return *p;
}

void TGridCellStore::releaseIfEmpty(int ARow, TRow *Row)
{
    if (Row->Empty())
        rows_.Put(ARow, nullptr);
}

void TGridCellStore::SetText(int ACol, int ARow, QString Value, int WidthHint)
{
    if (Value.isEmpty()) {
        TRow *r = findRow(ARow);
        QString *s = r ? r->Texts.Find(ACol) : nullptr;
        if (!s || s->isEmpty())
            return;
        *s = QString();
        r->Texts.Release(ACol);
        --r->TextCount;
        releaseIfEmpty(ARow, r);
        return;
    }
    TRow &r = row(ARow);
    QString &s = r.Texts.Slot(ACol, size_t(std::max(WidthHint, 0)));
    if (s.isEmpty())
        ++r.TextCount;
    s = std::move(Value);
}

TObject *TGridCellStore::Object(int ACol, int ARow) const
{
    const TRow *r = findRow(ARow);
    if (!r || !r->Objects)
        return nullptr;
    TObject *const *o = r->Objects->Find(ACol);
    return o ? *o : nullptr;
}

void TGridCellStore::SetObject(int ACol, int ARow, TObject *Value)
{
    if (!Value) {
        TRow *r = findRow(ARow);
        TObject **o = r && r->Objects ? r->Objects->Find(ACol) : nullptr;
        if (!o || !*o)
            return;
        *o = nullptr;
        r->Objects->Release(ACol);
        if (--r->ObjectCount == 0)
            r->Objects.reset();
        releaseIfEmpty(ARow, r);
        return;
    }
    TRow &r = row(ARow);
    if (!r.Objects)
        r.Objects = std::make_unique<grid_store::TIndexedSlots<TObject *>>();
    TObject *&o = r.Objects->Slot(ACol);
    if (!o)
        ++r.ObjectCount;
    o = Value;
}

void TGridCellStore::MoveRow(int FromRow, int ToRow)
{
    if (FromRow == ToRow)
        return;
    rows_.Put(ToRow, rows_.Take(FromRow));
}

void TGridCellStore::SwapRows(int ARow1, int ARow2)
{
    if (ARow1 == ARow2)
        return;
    TRowPtr a = rows_.Take(ARow1);
    TRowPtr b = rows_.Take(ARow2);
    rows_.Put(ARow1, std::move(b));
    rows_.Put(ARow2, std::move(a));
}

void TGridCellStore::PermuteRows(int First, const std::vector<int> &Order)
{
    const int n = int(Order.size());
    std::vector<TRowPtr> taken(Order.size());
    for (int i = 0; i < n; ++i)
        taken[size_t(i)] = rows_.Take(First + i);
    for (int i = 0; i < n; ++i)
        rows_.Put(First + i, std::move(taken[size_t(Order[size_t(i)])]));
}

void TGridCellStore::MoveRowIndex(int From, int To)
{
    if (From != To)
        rows_.MoveIndex(From, To);
}

void TGridCellStore::MoveColIndex(int From, int To)
{
    if (From == To)
        return;
    rows_.ForEach(0, INT_MAX, [From, To](int, TRowPtr &r) {
        r->Texts.MoveIndex(From, To);
        if (r->Objects)
            r->Objects->MoveIndex(From, To);
    });
}

size_t TGridCellStore::Count() const
{
    size_t n = 0;
    rows_.ForEach(0, INT_MAX, [&n](int, const TRowPtr &r) {
        n += size_t(r->TextCount);
        // A cell with an object and a text is one cell.
        if (r->Objects)
            r->Objects->ForEach(0, INT_MAX, [&n, &r](int c, TObject *const &) {
                const QString *s = r->Texts.Find(c);
                if (!s || s->isEmpty())
                    ++n;
            });
    });
    return n;
}

int TGridCellStore::ColExtent() const
{
    int e = 0;
    rows_.ForEach(0, INT_MAX, [&e](int, const TRowPtr &r) {
        e = std::max(e, r->Texts.End());
        if (r->Objects)
            e = std::max(e, r->Objects->End());
    });
    return e;
}

int TGridCellStore::RowExtent() const { return rows_.End(); }

void TGridCellStore::VisitObjects(int ACol1, int ARow1, int ACol2, int ARow2,
                                  const std::function<void(int, int, TObject *)> &Visit) const
{
    rows_.ForEach(ARow1, ARow2, [&](int r, const TRowPtr &row) {
        if (row->Objects)
            row->Objects->ForEach(ACol1, ACol2, [&](int c, TObject *const &o) { Visit(c, r, o); });
    });
}
