// Size overlap's histogram source: 10,000 sets of 50 sizes drawn without replacement from a pool
// of 10,000 rows, as the engine draws them (table read once, bisection on the running
// probabilities, events on a time slice) beside the straightforward way (the table's texts read
// for every set, a walk down the running probabilities, events on every draw). Both must give the
// same sets from the same seed.
#include "bench/BenchMain.h"
#include "framework/grids/Grids.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/overlap_diversity/SizeOverlapSims.h"
#include "workspace/TarvixHelpers.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int Rows = 10000;
constexpr int SetSize = 50;
constexpr int Sets = 10000;
constexpr uint32_t Seed = 31;

TStringGrid *Table = nullptr;
std::vector<double> EngineSets, PlainSets;
uint32_t EngineSeedAfter = 0;

void SetUp()
{
    Table = new TStringGrid(nullptr);
    Table->SetColCount(3);
    Table->SetRowCount(Rows + 1);
    RandSeed = 5;
    for (int r = 1; r <= Rows; ++r) {
        Table->SetCells(0, r, QStringLiteral("sp%1").arg(r));
        Table->SetCells(1, r, FloatToStr(1 + Random(5000) / 10.0));
        // A tenth of the pool carries no weight.
        Table->SetCells(2, r, Random(10) == 0 ? QStringLiteral("0") : FloatToStr(0.5 + Random(20) / 4.0));
    }
}

void ProcessEvents() { QCoreApplication::processEvents(); }

void BM_HistogramSetsEngine(benchmark::State &state)
{
    for (auto _ : state) {
        TSizeOverlapSims sims;
        bool stop = false;
        sims.Context.InterruptFlag = &stop;
        sims.Context.ProcessMessages = ProcessEvents;
        sims.Options.BodySizeDistributionGroup = ssHistogram;
        std::vector<double> sizes, weights;
        for (int r = 1; r <= Rows; ++r) {
            sizes.push_back(LeadingReal(Table->Cells(1, r)));
            weights.push_back(LeadingReal(Table->Cells(2, r)));
        }
        sims.SetHistogram(std::move(sizes), std::move(weights));
        EngineSets.assign(static_cast<size_t>(Sets) * SetSize, 0);
        RandSeed = Seed;
        for (int s = 0; s < Sets; ++s)
            sims.SimulateNumberLine(SetSize, {}, std::span<double>(EngineSets).subspan(size_t(s) * SetSize, SetSize));
        EngineSeedAfter = RandSeed;
        if (stop) state.SkipWithError("the engine stopped");
    }
}
BENCHMARK(BM_HistogramSetsEngine)->Unit(benchmark::kMillisecond)->Iterations(3);

// The straightforward way, with the same rule for rows of weight 0 so that the sets agree.
void PlainHistogramSizes(std::span<double> Out)
{
    const int rows = Table->RowCount() - 1;
    std::vector<double> p(static_cast<size_t>(rows)), size(static_cast<size_t>(rows));
    std::vector<int32_t> used(static_cast<size_t>(rows), 0);
    double total = 0;
    for (int r = 1; r <= rows; ++r) {
        size[size_t(r - 1)] = LeadingReal(Table->Cells(1, r));
        const double w = LeadingReal(Table->Cells(2, r));
        p[size_t(r - 1)] = size[size_t(r - 1)] > 0 && w > 0 ? w : 0;
        total += p[size_t(r - 1)];
    }
    for (double &q : p) q /= total;
    for (double &o : Out) o = 0;
    for (double &o : Out) {
        for (int draw = 0; draw < SizeDrawLimit; ++draw) {
            ProcessEvents();
            const double x = Random();
            double sum = 0;
            int row = -1, last = -1;
            for (int k = 0; k < rows; ++k) {
                sum += p[size_t(k)];
                if (p[size_t(k)] > 0) {
                    last = k;
                    if (sum >= x) {
                        row = k;
                        break;
                    }
                }
            }
            if (row < 0) row = last;
            if (!used[size_t(row)]) {
                used[size_t(row)] = 1;
                o = size[size_t(row)];
                break;
            }
        }
    }
}

void BM_HistogramSetsStraightforward(benchmark::State &state)
{
    for (auto _ : state) {
        PlainSets.assign(static_cast<size_t>(Sets) * SetSize, 0);
        RandSeed = Seed;
        for (int s = 0; s < Sets; ++s) PlainHistogramSizes(std::span<double>(PlainSets).subspan(size_t(s) * SetSize, SetSize));
    }
    if (PlainSets != EngineSets || RandSeed != EngineSeedAfter)
        state.SkipWithError("the two ways drew different sets");
}
BENCHMARK(BM_HistogramSetsStraightforward)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(argc, argv, SetUp, [] {
        delete Table;
        Table = nullptr;
    });
}
