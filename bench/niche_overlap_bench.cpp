// Niche overlap on 40 species x 30 resource states, 10,000 randomized matrices per algorithm:
// the engine's loop beside a straightforward loop that builds and re-reads texts the way the
// analysis was first written (keys and values of the permutations as text lists, "x" looked up
// in the grid for every cell, pair values appended as texts and re-read for their mean and
// variance, simulated statistics kept as texts). After timing, the text version's statistics must
// give the same summary as the whole run. A third measure is the whole run with its window.
#include "bench/BenchForms.h"
#include "bench/BenchMain.h"
#include "framework/rtl/Strings.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/System.h"
#include "models/overlap_diversity/NicheOverlapMain.h"
#include "models/overlap_diversity/NicheOverlapOpts.h"
#include "models/overlap_diversity/NicheOverlapUserDefined.h"
#include "workspace/ProgressSims.h"
#include "workspace/TarvixHelpers.h"
#include "workspace/TarvixMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace {

constexpr int kSpecies = 40, kStates = 30, kIterations = 10000;


// The breadth and zero-state options of algorithms 1 to 4.
void ChooseAlgorithm(int Algorithm)
{
    NicheOverlapOpts->NicheBreadthGroup->SetItemIndex(Algorithm <= 2 ? nbRelaxed : nbRetained);
    NicheOverlapOpts->ZeroStatesGroup->SetItemIndex(Algorithm % 2 == 0 ? zsRetained : zsReshuffled);
}

// ---- The straightforward version -------------------------------------------------------------

class TTextVersion
{
public:
    explicit TTextVersion(TNicheOverlapSims &S) : s_(S) {}

    void Randomize(int Algorithm)
    {
        TProStringGrid *g = Tarvix->MainGrid;
        Real_Matrix &sim = s_.SimulatedMatrix;
        const Real_Matrix &obs = s_.ObservedMatrix;
        if (Algorithm == 4)
            for (int c = 1; c <= kStates; ++c)
                for (int r = 1; r <= kSpecies; ++r) sim[c][r] = 0;
        for (int r = 1; r <= kSpecies; ++r) {
            if (Algorithm <= 2) {
                for (int c = 1; c <= kStates; ++c) {
                    const bool x = g->Cells(c, r) == QLatin1String("x");
                    sim[c][r] = !x && (Algorithm == 1 || obs[c][r] != 0) ? Random() : 0.0;
                }
                continue;
            }
            TStringList keys, sorted, values, columns;
            for (int c = 1; c <= kStates; ++c) {
                const bool eligible = Algorithm == 3 ? g->Cells(c, r) != QLatin1String("x") : obs[c][r] != 0;
                if (!eligible) {
                    if (Algorithm == 3) sim[c][r] = 0;
                    continue;
                }
                const QString key = FloatToStrF(Random(), ffFixed, 7, 5);
                keys.Add(key);
                sorted.Add(key);
                values.Add(QString::number(obs[c][r], 'g', 17));
                columns.Add(IntToStr(c));
            }
            sorted.Sort();
            std::vector<bool> used(static_cast<size_t>(sorted.Count()));
            for (int p = 0; p < keys.Count(); ++p) {
                int q = 0;
                while (sorted.Strings(q) != keys.Strings(p) || used[static_cast<size_t>(q)]) ++q;
                used[static_cast<size_t>(q)] = true;
                sim[StrToInt(columns.Strings(q))][r] = StrToFloat(values.Strings(p));
            }
        }
    }

    void PairTexts(TStrings &List, int Index)
    {
        const Real_Matrix &p = s_.StandardizedMatrix;
        for (int i = 1; i < kSpecies; ++i)
            for (int j = i + 1; j <= kSpecies; ++j) {
                double a = 0, b = 0, ab = 0, d = 0;
                for (int c = 1; c <= kStates; ++c) {
                    ab += p[c][i] * p[c][j];
                    a += p[c][i] * p[c][i];
                    b += p[c][j] * p[c][j];
                    d += std::fabs(p[c][i] - p[c][j]);
                }
                const double root = std::sqrt(a * b);
                const double v = Index == niPianka ? (root == 0 ? 0.0 : ab / root) : 1 - 0.5 * d;
                List.Add(FloatToStrF(v, ffGeneral, 7, 5));
            }
    }

    // One simulated matrix: its mean and variance appended as texts.
    void Iteration(int Algorithm, int Index)
    {
        Randomize(Algorithm);
        s_.StandardizeSimMatrix();
        TStringList pairs;
        PairTexts(pairs, Index);
        std::vector<double> values;
        for (int k = 0; k < pairs.Count(); ++k) values.push_back(StrToFloat(pairs.Strings(k)));
        double m = 0, v = 0;
        MeanVarianceValues(values, m, v);
        Means.Add(QString::number(m, 'g', 17));
        Variances.Add(QString::number(v, 'g', 17));
    }

    TStringList Means, Variances;

private:
    TNicheOverlapSims &s_;
};

// The engine's loop over one simulated matrix.
void FastIteration(TNicheOverlapSims &S, int Algorithm, std::vector<double> &Pairs, double &M, double &V)
{
    S.RandomizeMatrix(Algorithm <= 2 ? nbRelaxed : nbRetained, Algorithm % 2 == 0 ? zsRetained : zsReshuffled);
    S.StandardizeSimMatrix();
    S.PairValues(niPianka, Pairs);
    MeanVarianceValues(Pairs, M, V);
}

// The engine set up on the main grid as a run sets it up.
void Prepare(TNicheOverlapSims &S)
{
    S.SetUpMatrices(*Tarvix->MainGrid);
    S.Calculate_Row_Pairs();
    S.StandardizeMatrix();
}

// The whole run of Algorithm with seed 11 as the Analyze menu runs it, and its summary with the
// simulated statistics of the text version in place of its own; false when they differ.
bool SameSummary(int Algorithm, const TTextVersion &Text)
{
    ChooseAlgorithm(Algorithm);
    NicheOverlapOpts->IndexGroup->SetItemIndex(niPianka);
    NicheOverlapOpts->RandomSeedEdit->SetText(QStringLiteral("11"));
    Tarvix->Iterations = kIterations;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (NicheOverlap->Visible()) NicheOverlap->Close();
    });
    closer.start(1);
    NicheOverlap->Run();
    closer.stop();
    const QStringList fast = NicheOverlap->Memo1->Lines()->ToStringList();

    NicheOverlap->SimMeans.clear();
    NicheOverlap->SimVariances.clear();
    for (int i = 0; i < Text.Means.Count(); ++i) {
        NicheOverlap->SimMeans.push_back(StrToFloat(Text.Means.Strings(i)));
        NicheOverlap->SimVariances.push_back(StrToFloat(Text.Variances.Strings(i)));
    }
    NicheOverlap->ShowResults();
    const QStringList slow = NicheOverlap->Memo1->Lines()->ToStringList();
    return fast == slow && !fast.isEmpty();
}

void SetUp()
{
    StartMainWindow();
    NicheOverlapUserDefined = CreateForm<TNicheOverlapUserDefined>();
    NicheOverlapOpts = CreateForm<TNicheOverlapOpts>();
    NicheOverlap = CreateForm<TNicheOverlap>();
    TProStringGrid *g = Tarvix->MainGrid;
    g->SetRowCount(kSpecies + 1);
    g->SetColCount(kStates + 1);
    RandSeed = 4321;
    for (int r = 1; r <= kSpecies; ++r) {
        g->SetCells(0, r, QStringLiteral("sp%1").arg(r));
        for (int c = 1; c <= kStates; ++c) {
            const int k = Random(10);
            // Some states used, some not, a few forbidden; every species uses state 1.
            g->SetCells(c, r, c == 1 ? QStringLiteral("1") : k < 3 ? QStringLiteral("0")
                                                          : k == 3 ? QStringLiteral("x")
                                                                   : QString::number(Random(50) + 1));
        }
    }
    for (int c = 1; c <= kStates; ++c) g->SetCells(c, 0, QStringLiteral("s%1").arg(c));
}

void BM_NicheEngine(benchmark::State &state)
{
    const int algorithm = static_cast<int>(state.range(0));
    TNicheOverlapSims s;
    Prepare(s);
    std::vector<double> pairs(static_cast<size_t>(s.Row_Pairs));
    double sum = 0;
    for (auto _ : state) {
        RandSeed = 11;
        for (int i = 0; i < kIterations; ++i) {
            double m = 0, v = 0;
            FastIteration(s, algorithm, pairs, m, v);
            sum += m;
        }
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_NicheEngine)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);

void BM_NicheTextVersion(benchmark::State &state)
{
    const int algorithm = static_cast<int>(state.range(0));
    TNicheOverlapSims s;
    Prepare(s);
    std::unique_ptr<TTextVersion> text;
    for (auto _ : state) {
        RandSeed = 11;
        text = std::make_unique<TTextVersion>(s);
        for (int i = 0; i < kIterations; ++i) text->Iteration(algorithm, niPianka);
        benchmark::DoNotOptimize(text->Means.Count());
    }
    if (!SameSummary(algorithm, *text)) state.SkipWithError("the summaries differ");
}
BENCHMARK(BM_NicheTextVersion)->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->Iterations(1);

// The whole run with its progress window and results window, as the Analyze menu runs it.
void BM_NicheRun(benchmark::State &state)
{
    ChooseAlgorithm(static_cast<int>(state.range(0)));
    NicheOverlapOpts->RandomSeedEdit->SetText(QStringLiteral("11"));
    Tarvix->Iterations = kIterations;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (NicheOverlap->Visible()) NicheOverlap->Close();
    });
    closer.start(1);
    for (auto _ : state) NicheOverlap->Run();
    closer.stop();
}
BENCHMARK(BM_NicheRun)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return RunWidgetBenchmarks(argc, argv, SetUp, [] { QDir::setCurrent(QDir::tempPath()); });
}
