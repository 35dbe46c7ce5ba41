// Guild structure and species overlap runs on 200 species in 5 labelled groups x 60 sites,
// 10,000 iterations each, on the parsed work grid of the engine and on a work grid of cell texts
// that is shuffled, compared and parsed as text at every step. Both draw the same random numbers,
// so their summaries must be identical; the run stops with an error when they are not.
//   guild structure: "C-score" with favored states, label shuffles
//   species overlap: "Relative Overlap", "Equiprobable" (column then row cell shuffles)
#include "bench/BenchMain.h"
#include "framework/grids/Grids.h"
#include "framework/rtl/System.h"
#include "models/presence_absence/GroupSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

const int32_t Species = 200, Sites = 60, Groups = 5, Iterations = 10000;
const uint32_t Seed = 2024;

// The main grid's texts: titles, a label in column 1, presences from column 2.
QString Cell(int32_t c, int32_t r)
{
    if (r == 0) return c == 0 ? QStringLiteral("species") : c == 1 ? QStringLiteral("guild") : QStringLiteral("s%1").arg(c - 1);
    if (c == 0) return QStringLiteral("sp%1").arg(r);
    if (c == 1) return QStringLiteral("g%1").arg((r - 1) % Groups);
    // A fixed pattern of about 30% presences.
    return (uint32_t(c) * 2654435761u ^ uint32_t(r) * 40503u) % 10 < 3 ? QStringLiteral("1") : QStringLiteral("0");
}

struct TSetting
{
    int32_t Index;
    int32_t Randomization;  // -1 label shuffle
    bool Favored;
};
const TSetting Guild{giCScore, -1, true};
const TSetting Overlap{giRelativeOverlap, rzEquiprobable, false};

// The run on cell texts: the same steps with every label compared, every cell parsed and every
// shuffle exchanging texts of a string grid.
class TTextRun
{
public:
    explicit TTextRun(const TSetting &S) : s_(S), grid_(std::make_unique<TStringGrid>(nullptr))
    {
        grid_->SetColCount(Sites + 2);
        grid_->SetRowCount(Species + 1);
        for (int32_t c = 0; c < Sites + 2; ++c)
            for (int32_t r = 0; r <= Species; ++r) grid_->SetCells(c, r, Cell(c, r));
    }

    // Fills Run's observed and simulated values from text; Run.Sims holds the labels.
    void Simulate(TGroupRun &Run)
    {
        TGroupSims &l = Run.Sims;
        favoredMarginals();
        Run.ObservedFavoredStates = s_.Favored ? countFavored(l) : 0;
        Run.ObservedIndex.assign(static_cast<size_t>(l.GuildCount), 0.0);
        for (int32_t g = 0; g < l.GuildCount; ++g) Run.ObservedIndex[static_cast<size_t>(g)] = value(l, g);
        MeanVariance(l.GuildCount, Run.ObservedIndex, Run.ObservedMean, Run.ObservedVariance);
        Run.Prepare(Iterations);
        std::vector<double> row(static_cast<size_t>(l.GuildCount));
        for (int32_t k = 0; k < Iterations; ++k) {
            shuffle();
            if (s_.Favored) Run.SimFavoredStates[static_cast<size_t>(k)] = countFavored(l);
            for (int32_t g = 0; g < l.GuildCount; ++g) Run.GroupValues[k][g] = row[static_cast<size_t>(g)] = value(l, g);
            MeanVariance(l.GuildCount, row, Run.SimMeans[static_cast<size_t>(k)], Run.SimVariances[static_cast<size_t>(k)]);
            ++Run.Completed;
        }
    }

private:
    int32_t presence(int32_t c, int32_t r) const
    {
        try {
            return LeadingInt(grid_->Cells(c, r)) > 0 ? 1 : 0;
        } catch (const EConvertError &) {
            return 0;
        }
    }

    void swap(int32_t c1, int32_t r1, int32_t c2, int32_t r2)
    {
        const QString t = grid_->Cells(c1, r1);
        grid_->SetCells(c1, r1, grid_->Cells(c2, r2));
        grid_->SetCells(c2, r2, t);
    }

    void shuffle()
    {
        const int32_t C = grid_->ColCount(), R = grid_->RowCount();
        const auto rowCells = [&] {
            for (int32_t r = 1; r < R; ++r)
                for (int32_t c = 2; c < C; ++c) swap(c, r, 2 + Random(C - 2), r);
        };
        const auto columnCells = [&] {
            for (int32_t c = 2; c < C; ++c)
                for (int32_t r = 1; r < R; ++r) swap(c, r, c, 1 + Random(R - 1));
        };
        switch (s_.Randomization) {
        case -1:
            for (int32_t r = 1; r < R; ++r) swap(1, r, 1, 1 + Random(R - 1));
            break;
        case rzEquiprobable: columnCells(); rowCells(); break;
        case rzFixedSpecies: columnCells(); break;
        case rzFixedSites: rowCells(); break;
        default:
            for (int32_t r = 1; r < R; ++r) swap(1, r, 1, 1 + Random(R - 1));
            break;
        }
    }

    void favoredMarginals()
    {
        richness_.assign(static_cast<size_t>(grid_->ColCount()), 0);
        for (int32_t p = 2; p < grid_->ColCount(); ++p)
            for (int32_t r = 1; r < grid_->RowCount(); ++r) richness_[static_cast<size_t>(p - 1)] += presence(p, r);
    }

    int32_t countFavored(const TGroupSims &l) const
    {
        const int32_t C = grid_->ColCount(), R = grid_->RowCount();
        int32_t count = 0;
        for (int32_t p = 2; p < C; ++p) {
            int32_t lo = R, hi = 0;
            for (int32_t i = 0; i < l.GuildCount; ++i) {
                int32_t n = 0;
                for (int32_t r = 1; r < R; ++r)
                    if (grid_->Cells(1, r) == l.GuildList[i] && grid_->Cells(p, r) == QLatin1String("1")) ++n;
                lo = std::min(lo, n);
                hi = std::max(hi, n);
            }
            const int32_t f = richness_[static_cast<size_t>(p - 1)];
            if (f > 1 && f < R - 2 && hi - lo == l.Favored[static_cast<size_t>(f - 1)]) ++count;
        }
        return count;
    }

    double value(TGroupSims &l, int32_t g)
    {
        const int32_t C = grid_->ColCount(), R = grid_->RowCount();
        const int32_t size = l.GuildCounts[static_cast<size_t>(g)];
        TInfoMat info{C - 1, size + 1, C - 2, size};
        Matrix o(info[0], info[1]);
        int32_t i = 0;
        for (int32_t r = 1; r < R; ++r) {
            if (grid_->Cells(1, r) != l.GuildList[g]) continue;
            ++i;
            for (int32_t j = 1; j <= C - 2; ++j) o[j][i] = presence(j + 1, r);
        }
        MarginalTotals(o, info);
        double variance = 0;
        int32_t pairs = 0;
        return GroupIndexValue(o, f_, info, s_.Index, variance, pairs, scratch_);
    }

    TSetting s_;
    std::unique_ptr<TStringGrid> grid_;
    std::vector<int32_t> richness_;
    Matrix f_;
    std::vector<double> scratch_;
};

// Loads the labels of the run (the same on either work grid).
void LoadRun(TGroupRun &Run, const TSetting &S)
{
    Run.Sims.Work.Assign(Sites + 2, Species + 1, Cell);
    Run.Sims.Grouping = grRows;
    Run.Sims.Index = S.Index;
    Run.FavoredStates = S.Favored;
    Run.Randomization = S.Randomization;
    QString message;
    Run.Sims.BuildGuildList(QStringLiteral("few"), message);
}

QStringList Summary(TGroupRun &Run, const TSetting &S)
{
    Run.Finish();
    TGroupSummary s;
    s.Iterations = Run.Completed;
    s.Blocks = {{QStringLiteral("INDEX"), &Run.MeanStatistic}, {QStringLiteral("VARIANCE"), &Run.VarianceStatistic}};
    if (S.Favored) s.Blocks.push_back({QStringLiteral("FAVORED STATES"), &Run.FavoredStatistic});
    s.Table = GroupTable(Run, QStringLiteral("Guild"));
    return GroupSummaryLines(s);
}

QStringList FastSummary(const TSetting &S)
{
    TGroupRun run;
    LoadRun(run, S);
    RandSeed = Seed;
    run.Observe(false);
    run.Prepare(Iterations);
    for (int32_t k = 0; k < Iterations; ++k) {
        run.Shuffle();
        run.Evaluate(false);
    }
    return Summary(run, S);
}

QStringList TextSummary(const TSetting &S)
{
    TGroupRun run;
    LoadRun(run, S);
    TTextRun text(S);
    RandSeed = Seed;
    text.Simulate(run);
    return Summary(run, S);
}

void Measure(benchmark::State &State, const TSetting &S, bool Text)
{
    static std::map<const TSetting *, QStringList> reference;
    for (auto _ : State) {
        const QStringList summary = Text ? TextSummary(S) : FastSummary(S);
        QStringList &other = reference[&S];
        if (other.isEmpty()) other = summary;
        else if (other != summary) State.SkipWithError("the two work grids gave different summaries");
    }
}

void BM_GuildStructureParsed(benchmark::State &State) { Measure(State, Guild, false); }
void BM_GuildStructureText(benchmark::State &State) { Measure(State, Guild, true); }
void BM_SpeciesOverlapParsed(benchmark::State &State) { Measure(State, Overlap, false); }
void BM_SpeciesOverlapText(benchmark::State &State) { Measure(State, Overlap, true); }

BENCHMARK(BM_GuildStructureParsed)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GuildStructureText)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SpeciesOverlapParsed)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SpeciesOverlapText)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv) { return RunWidgetBenchmarks(argc, argv); }
