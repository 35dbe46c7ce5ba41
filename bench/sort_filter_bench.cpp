// Sorting and filtering a 100,000 x 10 grid. QSort by a numeric and by a text column is set
// beside a plain std::sort of the same keys, already parsed, plus one pass that moves every row of
// a string grid of the same size to its sorted place; the ratios are printed at the end.
// ApplyFilter over all rows, and the worst wildcard pattern of many stars against 40 characters.
#include "bench/BenchMain.h"
#include "grid/core/ProGrid.h"
#include "grid/core/ProUtil.h"

#include "bench/BenchRatio.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 10;

// Column 1 numbers, column 2 words, the rest filler; row 0 is the fixed row.
QString CellText(int c, int r, std::mt19937 &rnd)
{
    if (c == 1)
        return QString::number(int(rnd() % 1000000)) + QStringLiteral(".5");
    if (c == 2) {
        QString w;
        for (int i = 0; i < 8; ++i)
            w += QChar('a' + int(rnd() % 26));
        return w;
    }
    return QString::number(r * kCols + c);
}

struct TScene
{
    std::unique_ptr<TProStringGrid> grid = std::make_unique<TProStringGrid>(nullptr);
    std::unique_ptr<TStringGrid> plain = std::make_unique<TStringGrid>(nullptr);
    std::vector<double> numbers;
    std::vector<QString> words;

    TScene()
    {
        std::mt19937 rnd(42);
        grid->SetColCount(kCols);
        grid->SetRowCount(kRows + 1);
        plain->SetColCount(kCols);
        plain->SetRowCount(kRows + 1);
        for (int r = 1; r <= kRows; ++r)
            for (int c = 0; c < kCols; ++c) {
                const QString t = CellText(c, r, rnd);
                grid->SetCells(c, r, t);
                plain->SetCells(c, r, t);
                if (c == 1)
                    numbers.push_back(t.toDouble());
                if (c == 2)
                    words.push_back(t);
            }
    }
};

TScene *g_scene = nullptr;

void SortBy(benchmark::State &state, int Col)
{
    TProStringGrid &g = *g_scene->grid;
    const QString first = g.Cells(Col, 1);
    for (auto _ : state) {
        g.Sort(Col, sdAscending);
        state.PauseTiming();
        g.QUnSort();
        state.ResumeTiming();
    }
    if (g.Cells(Col, 1) != first)
        state.SkipWithError("the order was not restored");
}

void BM_QSortNumeric(benchmark::State &state) { SortBy(state, 1); }
BENCHMARK(BM_QSortNumeric)->Unit(benchmark::kMillisecond);

void BM_QSortText(benchmark::State &state) { SortBy(state, 2); }
BENCHMARK(BM_QSortText)->Unit(benchmark::kMillisecond);

// Every row of the plain grid to its sorted place, one move each along the cycles.
void MoveRows(TStringGrid &g, const std::vector<int> &order)
{
    const int spare = kRows + 1;
    std::vector<char> done(order.size(), 0);
    for (size_t s = 0; s < order.size(); ++s) {
        if (done[s] || order[s] == int(s))
            continue;
        g.MoveCellRow(int(s) + 1, spare);
        size_t cur = s;
        for (;;) {
            done[cur] = 1;
            const size_t src = size_t(order[cur]);
            if (src == s) {
                g.MoveCellRow(spare, int(cur) + 1);
                break;
            }
            g.MoveCellRow(int(src) + 1, int(cur) + 1);
            cur = src;
        }
    }
}

template <typename Key>
void Baseline(benchmark::State &state, const std::vector<Key> &keys)
{
    TStringGrid &g = *g_scene->plain;
    for (auto _ : state) {
        std::vector<std::pair<Key, int>> k;
        k.reserve(keys.size());
        for (size_t i = 0; i < keys.size(); ++i)
            k.emplace_back(keys[i], int(i));
        std::sort(k.begin(), k.end());
        std::vector<int> order(k.size());
        for (size_t i = 0; i < k.size(); ++i)
            order[i] = k[i].second;
        MoveRows(g, order);
        state.PauseTiming();
        // Back to the first order for the next round.
        std::vector<int> back(order.size());
        for (size_t i = 0; i < order.size(); ++i)
            back[size_t(order[i])] = int(i);
        MoveRows(g, back);
        state.ResumeTiming();
    }
}

void BM_PlainSortNumeric(benchmark::State &state) { Baseline(state, g_scene->numbers); }
BENCHMARK(BM_PlainSortNumeric)->Unit(benchmark::kMillisecond);

void BM_PlainSortText(benchmark::State &state) { Baseline(state, g_scene->words); }
BENCHMARK(BM_PlainSortText)->Unit(benchmark::kMillisecond);

void BM_ApplyFilter(benchmark::State &state)
{
    TProStringGrid &g = *g_scene->grid;
    g.Filter()->Clear();
    TFilterData *item = g.Filter()->Add();
    item->SetColumn(1);
    item->SetCondition(QStringLiteral(">500000"));
    int shown = 0;
    for (auto _ : state) {
        g.ApplyFilter();
        state.PauseTiming();
        shown = g.RowCount();
        g.RemoveLastFilter();
        state.ResumeTiming();
    }
    state.counters["shown"] = shown - 1;
    if (g.RowCount() != kRows + 1)
        state.SkipWithError("rows not restored");
}
BENCHMARK(BM_ApplyFilter)->Unit(benchmark::kMillisecond);

void BM_WildcardManyStars(benchmark::State &state)
{
    const QString pattern = QStringLiteral("*a*a*a*a*a*a*a*a*b");
    const QString value(40, QChar('a'));
    bool m = true;
    for (auto _ : state) {
        m = MatchFilterExpression(pattern, value, true);
        benchmark::DoNotOptimize(m);
    }
    if (m)
        state.SkipWithError("matched");
}
BENCHMARK(BM_WildcardManyStars)->Unit(benchmark::kMicrosecond);

// Each sort's time over its plain counterpart.
void PrintRatios(TTimesReporter::TValues &Times, TTimesReporter::TValues &)
{
    for (const char *kind : {"Numeric", "Text"}) {
        const std::string grid = std::string("BM_QSort") + kind, plain = std::string("BM_PlainSort") + kind;
        if (Times.count(grid) && Times.count(plain) && Times[plain] > 0)
            std::printf("QSort / sorted keys and row moves, %s: %.1f\n", kind, Times[grid] / Times[plain]);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    g_scene = new TScene;
    TTimesReporter reporter(PrintRatios);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    delete g_scene;
    benchmark::Shutdown();
    return 0;
}
