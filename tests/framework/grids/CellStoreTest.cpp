// The string grid's cell store against a plain model: texts and objects near and far, beyond the
// counts, through every row and column move the store offers.
#include "framework/grids/Grids.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <tuple>
#include <vector>

namespace {

// The store's contents as an ordered map keyed by (row, column).
struct TModel
{
    std::map<std::pair<int, int>, QString> Texts;
    std::map<std::pair<int, int>, TObject *> Objects;

    template <typename F>
    void remapRows(F &&newRow)
    {
        decltype(Texts) t;
        decltype(Objects) o;
        for (auto &[k, v] : Texts)
            if (int r = newRow(k.first); r >= 0)
                t[{r, k.second}] = v;
        for (auto &[k, v] : Objects)
            if (int r = newRow(k.first); r >= 0)
                o[{r, k.second}] = v;
        Texts.swap(t);
        Objects.swap(o);
    }
    void SetText(int c, int r, const QString &v)
    {
        if (v.isEmpty())
            Texts.erase({r, c});
        else
            Texts[{r, c}] = v;
    }
    void SetObject(int c, int r, TObject *v)
    {
        if (v)
            Objects[{r, c}] = v;
        else
            Objects.erase({r, c});
    }
    // Row From replaces row To and leaves its own place empty.
    void MoveRow(int From, int To)
    {
        remapRows([&](int r) { return r == From ? To : r == To ? -1 : r; });
    }
    static int shifted(int i, int From, int To)
    {
        if (i == From)
            return To;
        if (From < To && i > From && i <= To)
            return i - 1;
        if (From > To && i >= To && i < From)
            return i + 1;
        return i;
    }
    void MoveColumn(int From, int To)
    {
        decltype(Texts) t;
        decltype(Objects) o;
        for (auto &[k, v] : Texts)
            t[{k.first, shifted(k.second, From, To)}] = v;
        for (auto &[k, v] : Objects)
            o[{k.first, shifted(k.second, From, To)}] = v;
        Texts.swap(t);
        Objects.swap(o);
    }
};

void ExpectSame(const TStringGrid &g, const TModel &m, const char *step)
{
    SCOPED_TRACE(step);
    std::set<std::pair<int, int>> cells;
    TGridCoord extent{0, 0};
    for (const auto &[k, v] : m.Texts) {
        ASSERT_EQ(g.Cells(k.second, k.first), v) << k.second << "," << k.first;
        cells.insert(k);
    }
    for (const auto &[k, v] : m.Objects) {
        ASSERT_EQ(g.Objects(k.second, k.first), v) << k.second << "," << k.first;
        cells.insert(k);
    }
    for (const auto &k : cells) {
        extent.Y = std::max(extent.Y, k.first + 1);
        extent.X = std::max(extent.X, k.second + 1);
    }
    EXPECT_EQ(g.StoredCellCount(), cells.size());
    EXPECT_EQ(g.StoredCellExtent(), extent);
    std::vector<std::tuple<int, int, TObject *>> visited, expected;
    g.VisitStoredObjects(0, 0, INT32_MAX, INT32_MAX, [&](int c, int r, TObject *o) { visited.emplace_back(c, r, o); });
    for (const auto &[k, v] : m.Objects)
        expected.emplace_back(k.second, k.first, v);
    EXPECT_EQ(visited, expected);
}

} // namespace

// Random writes and moves over near cells, cells past the counts and cells far out, checked
// against the model after every batch.
TEST(CellStore, MatchesAPlainModelThroughWritesAndMoves)
{
    TStringGrid g(nullptr);
    g.SetColCount(120);
    g.SetRowCount(120);
    TModel m;
    TObject objs[8];
    std::mt19937 rng(20240611);
    auto pick = [&](int n) { return int(rng() % uint32_t(n)); };
    auto index = [&] {
        switch (pick(10)) {
        case 0: return 100000 + pick(900000); // far out
        case 1: return 120 + pick(400);       // past the counts
        default: return pick(120);
        }
    };
    for (int step = 0; step < 4000; ++step) {
        const int op = pick(100);
        if (op < 55) {
            const int c = index(), r = index();
            const QString v = pick(4) == 0 ? QString() : QStringLiteral("v%1").arg(step);
            g.SetCells(c, r, v);
            m.SetText(c, r, v);
        } else if (op < 75) {
            const int c = index(), r = index();
            TObject *o = pick(3) == 0 ? nullptr : &objs[pick(8)];
            g.SetObjects(c, r, o);
            m.SetObject(c, r, o);
        } else if (op < 80) {
            const int a = index(), b = index();
            g.MoveCellRow(a, b);
            if (a != b)
                m.MoveRow(a, b);
        } else if (op < 85) {
            const int a = index(), b = index();
            g.SwapCellRows(a, b);
            m.remapRows([&](int r) { return r == a ? b : r == b ? a : r; });
        } else if (op < 90) {
            const int a = pick(120), b = pick(120);
            g.MoveRow(a, b);
            m.remapRows([&](int r) { return TModel::shifted(r, a, b); });
        } else if (op < 95) {
            const int a = pick(120), b = pick(120);
            g.MoveColumn(a, b);
            m.MoveColumn(a, b);
        } else {
            const int first = pick(2) ? pick(100) : 100000 + pick(1000);
            std::vector<int> order(size_t(1 + pick(30)));
            std::iota(order.begin(), order.end(), 0);
            std::shuffle(order.begin(), order.end(), rng);
            g.PermuteCellRows(first, order);
            m.remapRows([&](int r) {
                if (r < first || r >= first + int(order.size()))
                    return r;
                return first + int(std::find(order.begin(), order.end(), r - first) - order.begin());
            });
        }
        if (step % 200 == 199) {
            ExpectSame(g, m, "batch");
            if (HasFatalFailure())
                return;
        }
    }
    // Emptying every cell leaves nothing stored, far rows and columns included.
    for (const auto &[k, v] : m.Texts)
        g.SetCells(k.second, k.first, QString());
    for (const auto &[k, v] : m.Objects)
        g.SetObjects(k.second, k.first, nullptr);
    EXPECT_EQ(g.StoredCellCount(), 0u);
    EXPECT_EQ(g.StoredCellExtent(), TGridCoord({0, 0}));
}

// One row far wider than the grid, written from the right as well as from the left, moved and
// reordered whole.
TEST(CellStore, VeryWideRowsWriteMoveAndShift)
{
    constexpr int kWide = 300000;
    TStringGrid g(nullptr);
    g.SetColCount(10);
    for (int c = 0; c < kWide; ++c)
        g.SetCells(c, 2, QString::number(c));
    for (int c = kWide - 1; c >= 0; c -= 3)
        g.SetCells(c, 7, QStringLiteral("d%1").arg(c));
    TObject o;
    g.SetObjects(kWide - 1, 2, &o);
    EXPECT_EQ(g.StoredCellCount(), size_t(kWide + kWide / 3));
    EXPECT_EQ(g.StoredCellExtent(), TGridCoord({kWide, 8}));
    EXPECT_EQ(g.Cells(kWide - 2, 7), "");
    EXPECT_EQ(g.Cells(kWide - 4, 7), QStringLiteral("d%1").arg(kWide - 4));

    g.MoveCellRow(2, 500000);
    EXPECT_EQ(g.Cells(kWide - 1, 500000), QString::number(kWide - 1));
    EXPECT_EQ(g.Objects(kWide - 1, 500000), &o);
    EXPECT_EQ(g.Cells(0, 2), "");
    g.SwapCellRows(500000, 7);
    EXPECT_EQ(g.Cells(123456, 7), "123456");
    EXPECT_EQ(g.Cells(kWide - 1, 500000), QStringLiteral("d%1").arg(kWide - 1));

    // Moving a column shifts the cells after it in every row, the wide ones too.
    g.MoveColumn(0, 9);
    EXPECT_EQ(g.Cells(9, 7), "0");
    EXPECT_EQ(g.Cells(0, 7), "1");
    EXPECT_EQ(g.Cells(10, 7), "10");
    // The other row holds every third column from 2 on.
    EXPECT_EQ(g.Cells(1, 500000), "d2");
    EXPECT_EQ(g.Cells(7, 500000), "d8");
    EXPECT_EQ(g.Cells(8, 500000), "");
    EXPECT_EQ(g.Cells(9, 500000), "");
    EXPECT_EQ(g.StoredCellExtent(), TGridCoord({kWide, 500001}));
}

TEST(CellStore, PermutationsMustBeWholeAndMoveNothingOtherwise)
{
    TStringGrid g(nullptr);
    for (int r = 0; r < 4; ++r)
        g.SetCells(1, r, QString::number(r));
    for (const std::vector<int> &bad : {std::vector<int>{0, 0, 1}, {0, 3, 1}, {-1, 0}})
        EXPECT_THROW(g.PermuteCellRows(1, bad), EInvalidGridOperation);
    EXPECT_THROW(g.PermuteCellRows(-1, {0}), EInvalidGridOperation);
    auto column = [&g] {
        QString s;
        for (int r = 0; r < 4; ++r)
            s += g.Cells(1, r);
        return s;
    };
    EXPECT_EQ(column(), "0123");
    g.PermuteCellRows(1, {2, 0, 1});
    EXPECT_EQ(column(), "0312");
}
