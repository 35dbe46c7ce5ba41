// Standard tests' null models: each figure runs twice, once through the engine (events on a
// time slice, positions found by bisection) and once the straightforward way (events let in and
// a linear scan on every draw), so that the two lines print one above the other.
#include "bench/BenchMain.h"
#include "framework/rtl/System.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "models/standard/AnovaSims.h"
#include "models/standard/ChiSquareSims.h"
#include "workspace/TarvixHelpers.h"
#include "models/standard/RunsTestSims.h"

#include <QApplication>
#include <vector>

namespace {

// ---- Runs test: one "Proportional", "Without replacement" sequence, 10,000 positions, 1,000 ones

struct RunsFixture
{
    std::vector<double> line;
    double sum = 0;
    std::vector<int32_t> sequence = std::vector<int32_t>(10000, 0);
    RunsFixture()
    {
        std::vector<double> x(10000);
        for (size_t i = 0; i < x.size(); ++i) x[i] = 1.0 + static_cast<double>(i % 97);
        BuildNumberLine(x, line, sum);
    }
};

void BM_RunsPlacementEngine(benchmark::State &state)
{
    RunsFixture f;
    bool stop = false;
    TSimContext ctx;
    ctx.InterruptFlag = &stop;
    ctx.ProcessMessages = [] { QApplication::processEvents(); };
    TWeightedPlacer placer(ctx);
    placer.SetNumberLine(f.line, f.sum);
    RandSeed = 1;
    for (auto _ : state) {
        placer.PlaceOnesByWeight(f.sequence, 1000);
        benchmark::DoNotOptimize(f.sequence.data());
    }
}
BENCHMARK(BM_RunsPlacementEngine)->Unit(benchmark::kMicrosecond);

void BM_RunsPlacementStraightforward(benchmark::State &state)
{
    RunsFixture f;
    RandSeed = 1;
    for (auto _ : state) {
        std::fill(f.sequence.begin(), f.sequence.end(), 0);
        for (int k = 0; k < 1000; ++k) {
            for (;;) {
                QApplication::processEvents();
                const double r = Random();
                double running = 0;
                size_t l = 0;
                for (; l + 1 < f.line.size(); ++l) {
                    running += f.line[l];
                    if (running > r) break;
                }
                if (f.sequence[l] == 0) {
                    f.sequence[l] = 1;
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(f.sequence.data());
    }
}
BENCHMARK(BM_RunsPlacementStraightforward)->Unit(benchmark::kMicrosecond);

// ---- Chi-square: one "randomize matrix" placement, 20 x 20, grand total 100,000 -------------------

struct ChiFixture
{
    std::vector<int32_t> rowTotals = std::vector<int32_t>(20), colTotals = std::vector<int32_t>(20);
    std::vector<double> rowLine, colLine;
    Matrix s = Matrix(20, 20);
    ChiFixture()
    {
        for (int i = 0; i < 20; ++i) {
            rowTotals[i] = 2500 + 250 * (i % 5);
            colTotals[i] = 5000;
        }
        ProportionLine(rowTotals, rowLine);
        ProportionLine(colTotals, colLine);
    }
};

void BM_ChiSquarePlacementEngine(benchmark::State &state)
{
    ChiFixture f;
    bool stop = false;
    TSimContext ctx;
    ctx.InterruptFlag = &stop;
    ctx.ProcessMessages = [] { QApplication::processEvents(); };
    TEventSlice slice(ctx);
    TCumulativeLine rows, cols;
    rows.Assign(f.rowLine);
    cols.Assign(f.colLine);
    RandSeed = 1;
    for (auto _ : state) {
        RandomizeMatrixUnits(f.s, rows, cols, f.rowLine, f.colLine, 100000, ctx, slice);
        benchmark::DoNotOptimize(f.s.Data());
    }
}
BENCHMARK(BM_ChiSquarePlacementEngine)->Unit(benchmark::kMicrosecond);

void BM_ChiSquarePlacementStraightforward(benchmark::State &state)
{
    ChiFixture f;
    RandSeed = 1;
    const auto scan = [](const std::vector<double> &line, double u) {
        double running = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            running += line[i];
            if (running >= u) return static_cast<int32_t>(i);
        }
        return static_cast<int32_t>(line.size() - 1);
    };
    for (auto _ : state) {
        f.s.Fill(0);
        for (int k = 0; k < 100000; ++k) {
            QApplication::processEvents();
            const double u1 = Random();
            const double u2 = Random();
            ++f.s[scan(f.colLine, u1)][scan(f.rowLine, u2)];
        }
        benchmark::DoNotOptimize(f.s.Data());
    }
}
BENCHMARK(BM_ChiSquarePlacementStraightforward)->Unit(benchmark::kMicrosecond);

// ---- ANOVA: one iteration (shuffle and F ratio), 10,000 rows, 20 labels ---------------------------

struct AnovaFixture
{
    QStringList labels, distinct;
    std::vector<double> values;
    QStringList valueTexts;
    std::vector<int32_t> groups, rows;
    AnovaFixture()
    {
        for (int a = 0; a < 10000; ++a) {
            labels << QStringLiteral("guild%1").arg(a % 20);
            values.push_back(0.5 * (a % 37) + 0.01 * (a % 11));
            valueTexts << FloatToStr(values.back());
            rows.push_back(a);
        }
        GroupLabels(labels, distinct, groups);
    }
};

void BM_AnovaIterationEngine(benchmark::State &state)
{
    AnovaFixture f;
    TAnovaCalculator calc;
    calc.Assign(f.values, static_cast<int32_t>(f.distinct.size()));
    std::vector<int32_t> counts;
    std::vector<double> means, variances;
    RandSeed = 1;
    for (auto _ : state) {
        ShuffleLabels(f.rows, f.groups);
        benchmark::DoNotOptimize(calc.FRatio(f.groups, counts, means, variances));
    }
}
BENCHMARK(BM_AnovaIterationEngine)->Unit(benchmark::kMicrosecond);

// Labels and value texts in string lists; per label a scan of every row, the values read from
// their texts each time.
void BM_AnovaIterationStraightforward(benchmark::State &state)
{
    AnovaFixture f;
    const int n = static_cast<int>(f.labels.size()), k = static_cast<int>(f.distinct.size());
    RandSeed = 1;
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) f.labels.swapItemsAt(i, Random(n));
        std::vector<double> means(static_cast<size_t>(k)), variances(static_cast<size_t>(k));
        std::vector<int> counts(static_cast<size_t>(k), 0);
        for (int j = 0; j < k; ++j) {
            TStringList sums;
            for (int a = 0; a < n; ++a)
                if (f.labels[a] == f.distinct[j]) {
                    sums.Add(f.valueTexts[a]);
                    ++counts[static_cast<size_t>(j)];
                }
            MeanVarianceList(sums, means[static_cast<size_t>(j)], variances[static_cast<size_t>(j)]);
        }
        double ga = 0;
        for (double v : f.values) ga += v;
        ga /= n;
        double ssb = 0, ssw = 0;
        for (int j = 0; j < k; ++j) ssb += (means[j] - ga) * (means[j] - ga) * counts[j];
        for (int j = 0; j < k; ++j)
            for (int a = 0; a < n; ++a)
                if (f.labels[a] == f.distinct[j]) {
                    const double d = StrToFloat(f.valueTexts[a]) - means[j];
                    ssw += d * d;
                }
        benchmark::DoNotOptimize((ssb / (k - 1)) / (ssw / (n - k)));
    }
}
BENCHMARK(BM_AnovaIterationStraightforward)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) { return RunWidgetBenchmarks(argc, argv); }
