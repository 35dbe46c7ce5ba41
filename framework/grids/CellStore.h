#pragma once
// The string grid's cell store: texts and objects by column and row, independent of the grid's
// counts (cells beyond them are kept).
//
// Rows are contiguous arrays of texts, so that a plain text cell costs its QString and little
// more; objects live in arrays of their own, made only for rows that hold one. Row arrays
// live in a directory indexed by row, so that moving or permuting rows moves one pointer per row.
// An index far beyond the used ones (a cell at column 100,000 of an otherwise short row, or a row
// far below the others) goes into a small ordered map instead, so a far cell costs no more than
// a near one.
#include <QString>
#include <cstdint>
#include <algorithm>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class TObject;

namespace grid_store {

inline bool IsEmptySlot(const QString &s) { return s.isEmpty(); }
template <typename P>
bool IsEmptySlot(P *p) { return !p; }
template <typename P>
bool IsEmptySlot(const std::unique_ptr<P> &p) { return !p; }

// Slots by index: a dense array from index 0, and an ordered map for indexes beyond it that
// would leave the array mostly empty. Every index reads as T{} until written; the map holds no
// empty slot.
template <typename T>
class TIndexedSlots
{
public:
    // The slot, or null when it was never written (or was emptied beyond the array).
    const T *Find(int i) const
    {
        if (size_t(i) < dense_.size())
            return &dense_[size_t(i)];
        if (!far_)
            return nullptr;
        const auto it = far_->find(i);
        return it == far_->end() ? nullptr : &it->second;
    }
    T *Find(int i) { return const_cast<T *>(std::as_const(*this).Find(i)); }

    // The slot, made when missing. Writing an empty value into it must be followed by Release.
    // The array grows by doubling, but not past Hint while the index is below it.
    T &Slot(int i, size_t Hint = SIZE_MAX)
    {
        if (size_t(i) < dense_.size())
            return dense_[size_t(i)];
        const size_t n = dense_.size();
        if (size_t(i) < n + std::max<size_t>(kSlack, n)) {
            const size_t need = size_t(i) + 1, cap = dense_.capacity();
            if (need > cap)
                dense_.reserve(need <= Hint ? std::min(std::max(2 * cap, need), Hint) : std::max(2 * cap, need));
            growDense(need);
            return dense_[size_t(i)];
        }
        if (!far_)
            far_ = std::make_unique<std::map<int, T>>();
        T &slot = (*far_)[i];
        maybeFold();
        // Folding moves the slot into the array.
        return size_t(i) < dense_.size() ? dense_[size_t(i)] : slot;
    }

    // Drops slot i from the map when it holds an empty value (array slots simply stay).
    void Release(int i)
    {
        if (size_t(i) < dense_.size() || !far_)
            return;
        const auto it = far_->find(i);
        if (it != far_->end() && IsEmptySlot(it->second))
            far_->erase(it);
        if (far_->empty())
            far_.reset();
    }

    // Moves the value out of slot i, leaving it empty.
    T Take(int i)
    {
        if (size_t(i) < dense_.size())
            return std::exchange(dense_[size_t(i)], T{});
        if (!far_)
            return T{};
        const auto it = far_->find(i);
        if (it == far_->end())
            return T{};
        T v = std::move(it->second);
        far_->erase(it);
        if (far_->empty())
            far_.reset();
        return v;
    }

    // Stores v in slot i (an empty v empties it).
    void Put(int i, T &&v)
    {
        if (IsEmptySlot(v)) {
            if (T *s = Find(i)) {
                *s = T{};
                Release(i);
            }
            return;
        }
        Slot(i) = std::move(v);
    }

    // The slot at From goes to To and the ones between shift by one towards From.
    void MoveIndex(int From, int To)
    {
        const int lo = std::min(From, To), hi = std::max(From, To);
        if (size_t(hi) < dense_.size()) {
            const auto b = dense_.begin();
            if (From < To)
                std::rotate(b + From, b + From + 1, b + To + 1);
            else
                std::rotate(b + To, b + From, b + From + 1);
            return;
        }
        std::vector<std::pair<int, T>> moved;
        ForEach(lo, hi, [&](int i, T &v) { moved.emplace_back(i, std::move(v)); });
        for (auto &[i, v] : moved)
            Put(i, T{});
        for (auto &[i, v] : moved)
            Put(i == From ? To : From < To ? i - 1 : i + 1, std::move(v));
    }

    // Calls f(i, slot) for every non-empty slot from lo to hi, in index order.
    template <typename F>
    void ForEach(int lo, int hi, F &&f)
    {
        const size_t n = dense_.size();
        for (size_t i = size_t(std::max(lo, 0)); i < n && int(i) <= hi; ++i)
            if (!IsEmptySlot(dense_[i]))
                f(int(i), dense_[i]);
        if (far_)
            for (auto it = far_->lower_bound(lo); it != far_->end() && it->first <= hi; ++it)
                f(it->first, it->second);
    }
    template <typename F>
    void ForEach(int lo, int hi, F &&f) const
    {
        const_cast<TIndexedSlots *>(this)->ForEach(lo, hi, [&f](int i, const T &v) { f(i, v); });
    }

    // One past the last non-empty slot (0 when there is none).
    int End() const
    {
        if (far_)
            return far_->rbegin()->first + 1;
        size_t n = dense_.size();
        while (n > 0 && IsEmptySlot(dense_[n - 1]))
            --n;
        return int(n);
    }

    size_t DenseSize() const { return dense_.size(); }

private:
    static constexpr size_t kSlack = 64;

    void growDense(size_t n)
    {
        dense_.resize(n);
        // Map slots now inside the array move into it.
        if (!far_)
            return;
        while (!far_->empty() && size_t(far_->begin()->first) < dense_.size()) {
            auto node = far_->extract(far_->begin());
            dense_[size_t(node.key())] = std::move(node.mapped());
        }
        if (far_->empty())
            far_.reset();
    }

    // Once the map holds about half of the slots up to its last one, the array is cheaper.
    void maybeFold()
    {
        const size_t span = size_t(far_->rbegin()->first) + 1 - dense_.size();
        if (span <= 2 * far_->size())
            growDense(size_t(far_->rbegin()->first) + 1);
    }

    std::vector<T> dense_;
    std::unique_ptr<std::map<int, T>> far_;
};

} // namespace grid_store

class TGridCellStore
{
public:
    TGridCellStore();
    ~TGridCellStore();
    TGridCellStore(const TGridCellStore &) = delete;
    TGridCellStore &operator=(const TGridCellStore &) = delete;

    // The text of a cell, or null when it has none.
    const QString *Text(int ACol, int ARow) const
    {
        const TRow *row = findRow(ARow);
        if (!row)
            return nullptr;
        const QString *s = row->Texts.Find(ACol);
        return s && !s->isEmpty() ? s : nullptr;
    }
    // A row's text array grows by doubling, but not past WidthHint (the grid's column count)
    // while the column is below it.
    void SetText(int ACol, int ARow, QString Value, int WidthHint = INT32_MAX);
    TObject *Object(int ACol, int ARow) const;
    void SetObject(int ACol, int ARow, TObject *Value);

    // Row FromRow replaces row ToRow and is left empty.
    void MoveRow(int FromRow, int ToRow);
    // Rows ARow1 and ARow2 trade places.
    void SwapRows(int ARow1, int ARow2);
    // Rows First .. First + Order.size() - 1 take the rows First + Order[i] had before; Order
    // must be a permutation of 0 .. size - 1.
    void PermuteRows(int First, const std::vector<int> &Order);
    // The row (column) at From goes to To and the ones between shift by one towards From.
    void MoveRowIndex(int From, int To);
    void MoveColIndex(int From, int To);

    // Cells with a text or an object.
    size_t Count() const;
    // One past the last column and row holding a cell.
    int ColExtent() const;
    int RowExtent() const;
    // Visit(col, row, object) for each object in the range, row by row, columns ascending.
    void VisitObjects(int ACol1, int ARow1, int ACol2, int ARow2,
                      const std::function<void(int, int, TObject *)> &Visit) const;

private:
    struct TRow
    {
        bool Empty() const { return TextCount == 0 && ObjectCount == 0; }
        grid_store::TIndexedSlots<QString> Texts;
        // Made with the row's first object.
        std::unique_ptr<grid_store::TIndexedSlots<TObject *>> Objects;
        int TextCount = 0;
        int ObjectCount = 0;
    };
    using TRowPtr = std::unique_ptr<TRow>;

    const TRow *findRow(int ARow) const
    {
        const TRowPtr *p = rows_.Find(ARow);
        return p ? p->get() : nullptr;
    }
    TRow *findRow(int ARow) { return const_cast<TRow *>(std::as_const(*this).findRow(ARow)); }
    TRow &row(int ARow);
    // Frees the row when its last cell went.
    void releaseIfEmpty(int ARow, TRow *Row);

    grid_store::TIndexedSlots<TRowPtr> rows_;
};
