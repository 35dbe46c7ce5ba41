#include "models/presence_absence/GroupSims.h"
#include "framework/rtl/System.h"
#include "models/presence_absence/CoOccurrenceSims.h"
#include "workspace/TarvixHelpers.h"

#include <algorithm>
#include <cmath>

int32_t PresenceValue(const QString &Text)
{
    int i = 0;
    const int n = static_cast<int>(Text.size());
    while (i < n && Text[i] == QLatin1Char(' ')) ++i;
    bool negative = false;
    if (i < n && (Text[i] == QLatin1Char('+') || Text[i] == QLatin1Char('-'))) negative = Text[i++] == QLatin1Char('-');
    bool nonZero = false;
    for (; i < n && Text[i] >= QLatin1Char('0') && Text[i] <= QLatin1Char('9'); ++i)
        if (Text[i] != QLatin1Char('0')) nonZero = true;
    return nonZero && !negative ? 1 : 0;
}

// ---- Work grid -----------------------------------------------------------------------------

void TWorkGrid::Reset(int32_t Cols, int32_t Rows)
{
    cols_ = std::max(Cols, 0);
    rows_ = std::max(Rows, 0);
    ids_.assign(static_cast<size_t>(cols_) * static_cast<size_t>(rows_), EmptyId);
    texts_.clear();
    presence_.clear();
    one_.clear();
    lookup_.clear();
    Intern(QString());
}

int32_t TWorkGrid::Intern(const QString &Text)
{
    const auto found = lookup_.constFind(Text);
    if (found != lookup_.constEnd()) return found.value();
    const int32_t id = static_cast<int32_t>(texts_.size());
    texts_.push_back(Text);
    presence_.push_back(static_cast<uint8_t>(PresenceValue(Text)));
    one_.push_back(Text == QLatin1String("1") ? 1 : 0);
    lookup_.insert(Text, id);
    return id;
}

// ---- Statistics ----------------------------------------------------------------------------

void GroupStatistic(std::span<double> Values, int32_t Count, double Observed, bool Histogram, TGroupStatistic &S)
{
    S = TGroupStatistic{};
    S.Observed = Observed;
    Count = std::clamp<int32_t>(Count, 0, static_cast<int32_t>(Values.size()));
    MeanVariance(Count, Values, S.Mean, S.Variance);
    TailProbabilities(Values, Observed, Count, S.P1, S.P2, S.Greater, S.Equal, S.Less);
    S.Ses = S.Variance > 0 ? (Observed - S.Mean) / std::sqrt(S.Variance) : 0.0;
    if (!Histogram || Count < 1) return;
    QuickSortReal(Values, 0, Count - 1);
    BuildHistogram(Count - 1, Values, Observed, S.Position);
    HistogramToText(S.Edges, S.Counts);
    HistogramToColumns(S.Low, S.High, S.Counts);
}

double GroupIndexValue(const Matrix &O_Mat, Matrix &F_Mat, TInfoMat info, int32_t Index, double &Variance,
                       int32_t &Row_Pairs, std::vector<double> &Scratch)
{
    Variance = 0;
    F_Mat.SetLength(info[0], info[1]);
    F_Mat.Fill(0);
    CopyNonEmptyRows(O_Mat, F_Mat, info);
    MarginalTotals(F_Mat, info);
    const int64_t n = info[3];
    Row_Pairs = static_cast<int32_t>(n * (n - 1) / 2);
    // The whole-matrix indices write element 0 also when no pair is left.
    Scratch.assign(static_cast<size_t>(std::max(Row_Pairs, 1)), 0.0);
    const std::span<double> pairs(Scratch.data(), static_cast<size_t>(Row_Pairs));
    Matrix M = F_Mat;
    DropEmptyColumns(M, info);
    MarginalTotals(M, info);
    double mean = 0, variance = 0;
    switch (Index) {
    case giCScore:
        CScoreUnits(M, info, pairs);
        MeanVariance(Row_Pairs, pairs, mean, Variance);
        return mean;
    case giCheckerboards: CheckerboardCount(M, info, Scratch); return Scratch[0];
    case giCombinations: SpeciesCombinations(M, info, Scratch); return Scratch[0];
    case giVRatio: VRatio(M, info, Scratch); return Scratch[0];
    case giRelativeOverlap: PairRelativeOverlap(M, info, pairs); break;
    case giUnion: PairUnion(M, info, pairs); break;
    case giOverlap: PairSharedSites(M, info, pairs); break;
    default: return 0;
    }
    MeanVariance(Row_Pairs, pairs, mean, variance);
    return mean;
}

// ---- Labels --------------------------------------------------------------------------------

int32_t TGroupSims::GroupOf(int32_t Position) const
{
    const int32_t id = Grouping == grRows ? Work.Id(1, Position) : Work.Id(Position, 1);
    return static_cast<size_t>(id) < groupOfId_.size() ? groupOfId_[static_cast<size_t>(id)] : -1;
}

void TGroupSims::ListLabels(bool Rows)
{
    GuildList.clear();
    groupOfId_.assign(Work.Texts().size(), -1);
    const int32_t last = Rows ? Work.RowCount() - 1 : Work.ColCount() - 1;
    std::vector<int32_t> counts;
    for (int32_t k = 1; k <= last; ++k) {
        const int32_t id = Rows ? Work.Id(1, k) : Work.Id(k, 1);
        int32_t &g = groupOfId_[static_cast<size_t>(id)];
        if (g < 0) {
            g = static_cast<int32_t>(GuildList.size());
            GuildList << Work.Texts()[static_cast<size_t>(id)];
            counts.push_back(0);
        }
        ++counts[static_cast<size_t>(g)];
    }
    GuildCounts = std::move(counts);
}

bool TGroupSims::BuildGuildList(const QString &TooFew, QString &Message)
{
    ListLabels(true);
    Favored.assign(static_cast<size_t>(std::max(Work.RowCount() - 1, 0)), 0);
    for (int32_t count : GuildCounts)
        if (count < 2) {
            Message = TooFew;
            return false;
        }
    GuildCount = static_cast<int32_t>(GuildList.size());
    BuildFavoredSpreads();
    return true;
}

bool TGroupSims::BuildRegionList(QString &Message)
{
    ListLabels(false);
    for (int32_t count : GuildCounts)
        if (count < 2) {
            Message = QStringLiteral("Each region must contain at least 2 sites.");
            return false;
        }
    GuildCount = static_cast<int32_t>(GuildList.size());
    return true;
}

// The species are dealt to the groups in turn, like cards, each group taking at most its size;
// after each card the table keeps the spread between the fullest and the emptiest group.
void TGroupSims::BuildFavoredSpreads()
{
    const int32_t steps = std::max(Work.RowCount() - 1, 0);
    const int32_t groups = static_cast<int32_t>(GuildCounts.size());
    Favored.assign(static_cast<size_t>(steps), 0);
    if (groups == 0) return;
    std::vector<int32_t> f(static_cast<size_t>(groups), 0);
    const auto full = [&](int32_t i) { return f[static_cast<size_t>(i)] >= GuildCounts[static_cast<size_t>(i)]; };
    int32_t cursor = -1;
    for (int32_t k = 1; k <= steps; ++k) {
        ++cursor;
        while (cursor < groups && full(cursor)) ++cursor;
        if (cursor >= groups) {
            cursor = 0;
            while (cursor < groups && full(cursor)) ++cursor;
            // The sizes add up to the rows, so a group has room until the last card.
            if (cursor >= groups) break;
        }
        ++f[static_cast<size_t>(cursor)];
        const auto [lo, hi] = std::minmax_element(f.begin(), f.end());
        Favored[static_cast<size_t>(k - 1)] = *hi - *lo;
    }
}

void TGroupSims::ReadFavoredMatrix()
{
    const int32_t C = Work.ColCount(), R = Work.RowCount();
    Richness.assign(static_cast<size_t>(std::max(C - 1, 0)), 0);
    for (int32_t p = 2; p < C; ++p) {
        int32_t total = 0;
        for (int32_t r = 1; r < R; ++r) total += Work.Presence(p, r);
        Richness[static_cast<size_t>(p - 1)] = total;
    }
}

int32_t TGroupSims::CountFavoredStates() const
{
    const int32_t C = Work.ColCount(), R = Work.RowCount();
    std::vector<int32_t> labels(static_cast<size_t>(std::max(R, 0)), -1);
    for (int32_t r = 1; r < R; ++r) labels[static_cast<size_t>(r)] = GroupOf(r);
    std::vector<int32_t> n(static_cast<size_t>(GuildCount));
    int32_t count = 0;
    for (int32_t p = 2; p < C; ++p) {
        const int32_t f = Richness[static_cast<size_t>(p - 1)];
        if (!(f > 1 && f < R - 2) || GuildCount == 0) continue;
        std::fill(n.begin(), n.end(), 0);
        for (int32_t r = 1; r < R; ++r) {
            const int32_t g = labels[static_cast<size_t>(r)];
            if (g >= 0 && Work.IsOne(p, r)) ++n[static_cast<size_t>(g)];
        }
        const auto [lo, hi] = std::minmax_element(n.begin(), n.end());
        if (*hi - *lo == Favored[static_cast<size_t>(f - 1)]) ++count;
    }
    return count;
}

// ---- Shuffles ------------------------------------------------------------------------------

void TGroupSims::ShuffleGroupLabels(int32_t Which)
{
    const int32_t C = Work.ColCount(), R = Work.RowCount();
    if (Which == grRows) {
        if (C < 2) return;
        for (int32_t r = 1; r < R; ++r) Work.Exchange(1, r, 1, 1 + Random(R - 1));
    } else {
        if (R < 2) return;
        for (int32_t c = 1; c < C; ++c) Work.Exchange(c, 1, 1 + Random(C - 1), 1);
    }
}

void TGroupSims::ShuffleRowCells()
{
    const int32_t C = Work.ColCount(), R = Work.RowCount();
    if (C < 3) return;
    for (int32_t r = 1; r < R; ++r)
        for (int32_t c = 2; c < C; ++c) Work.Exchange(c, r, 2 + Random(C - 2), r);
}

void TGroupSims::ShuffleColumnCells()
{
    const int32_t C = Work.ColCount(), R = Work.RowCount();
    if (C < 3 || R < 2) return;
    for (int32_t c = 2; c < C; ++c)
        for (int32_t r = 1; r < R; ++r) Work.Exchange(c, r, c, 1 + Random(R - 1));
}

void TGroupSims::Randomize(int32_t Randomization)
{
    switch (Randomization) {
    case rzEquiprobable:
        ShuffleColumnCells();
        ShuffleRowCells();
        break;
    case rzFixedSpecies: ShuffleColumnCells(); break;
    case rzFixedSites: ShuffleRowCells(); break;
    default: ShuffleGroupLabels(grRows); break;
    }
}

// ---- Group evaluation ----------------------------------------------------------------------

void TGroupSims::InitMatrices(int32_t g, TInfoMat &info)
{
    const int32_t C = Work.ColCount(), R = Work.RowCount();
    const int32_t size = g >= 0 && g < static_cast<int32_t>(GuildCounts.size()) ? GuildCounts[static_cast<size_t>(g)] : 0;
    if (Grouping == grRows)
        info = {std::max(C - 1, 1), size + 1, std::max(C - 2, 0), size};
    else
        info = {size + 1, std::max(R - 1, 1), size, std::max(R - 2, 0)};
    O_Mat.SetLength(info[0], info[1]);
    O_Mat.Fill(0);
    int32_t i = 0;
    if (Grouping == grRows) {
        for (int32_t r = 1; r < R && i < size; ++r) {
            if (GroupOf(r) != g) continue;
            ++i;
            for (int32_t j = 1; j <= C - 2; ++j) O_Mat[j][i] = Work.Presence(j + 1, r);
        }
    } else {
        for (int32_t c = 1; c < C && i < size; ++c) {
            if (GroupOf(c) != g) continue;
            ++i;
            int32_t *column = O_Mat[i];
            for (int32_t j = 1; j <= R - 2; ++j) column[j] = Work.Presence(c, j + 1);
        }
    }
    MarginalTotals(O_Mat, info);
}

double TGroupSims::EvaluateGroup(int32_t g, double &Variance, bool &Present)
{
    TInfoMat info{};
    InitMatrices(g, info);
    Present = O_Mat[0][0] >= 1;
    return GroupIndexValue(O_Mat, F_Mat, info, Index, Variance, Row_Pairs, scratch_);
}

// ---- Run -----------------------------------------------------------------------------------

bool TGroupRun::Observe(bool RequirePresence)
{
    ObservedFavoredStates = 0;
    if (Sims.Grouping == grRows) Sims.ReadFavoredMatrix();
    if (Sims.Grouping == grRows && FavoredStates) ObservedFavoredStates = Sims.CountFavoredStates();
    ObservedIndex.assign(static_cast<size_t>(Sims.GuildCount), 0.0);
    for (int32_t g = 0; g < Sims.GuildCount; ++g) {
        bool present = false;
        ObservedIndex[static_cast<size_t>(g)] = Sims.EvaluateGroup(g, LastVariance, present);
        if (RequirePresence && !present) return false;
    }
    MeanVariance(Sims.GuildCount, ObservedIndex, ObservedMean, ObservedVariance);
    return true;
}

void TGroupRun::Prepare(int32_t N)
{
    N = std::max(N, 0);
    SimMeans.assign(static_cast<size_t>(N), 0.0);
    SimVariances.assign(static_cast<size_t>(N), 0.0);
    SimFavoredStates.assign(static_cast<size_t>(N), 0.0);
    GroupValues = Real_Matrix(N, std::max(Sims.GuildCount, 1));
    row_.assign(static_cast<size_t>(Sims.GuildCount), 0.0);
    Completed = 0;
}

void TGroupRun::Shuffle()
{
    if (Randomization < 0) Sims.ShuffleGroupLabels(Sims.Grouping);
    else Sims.Randomize(Randomization);
    if (Sims.Grouping == grRows && FavoredStates && Completed < static_cast<int32_t>(SimFavoredStates.size()))
        SimFavoredStates[static_cast<size_t>(Completed)] = Sims.CountFavoredStates();
}

bool TGroupRun::Evaluate(bool RequirePresence)
{
    if (Completed >= static_cast<int32_t>(SimMeans.size())) return false;
    for (int32_t g = 0; g < Sims.GuildCount; ++g) {
        bool present = false;
        const double value = Sims.EvaluateGroup(g, LastVariance, present);
        if (RequirePresence && !present) return false;
        row_[static_cast<size_t>(g)] = value;
        GroupValues[Completed][g] = value;
    }
    MeanVariance(Sims.GuildCount, row_, SimMeans[static_cast<size_t>(Completed)],
                 SimVariances[static_cast<size_t>(Completed)]);
    ++Completed;
    return true;
}

void TGroupRun::Finish()
{
    m_guildregion.assign(static_cast<size_t>(Sims.GuildCount), 0.0);
    v_guildregion.assign(static_cast<size_t>(Sims.GuildCount), 0.0);
    std::vector<double> column(static_cast<size_t>(Completed));
    for (int32_t g = 0; g < Sims.GuildCount; ++g) {
        for (int32_t k = 0; k < Completed; ++k) column[static_cast<size_t>(k)] = GroupValues[k][g];
        MeanVariance(Completed, column, m_guildregion[static_cast<size_t>(g)], v_guildregion[static_cast<size_t>(g)]);
    }
    const bool favored = Sims.Grouping == grRows && FavoredStates;
    GroupStatistic(SimMeans, Completed, ObservedMean, true, MeanStatistic);
    GroupStatistic(SimVariances, Completed, ObservedVariance, true, VarianceStatistic);
    GroupStatistic(SimFavoredStates, Completed, ObservedFavoredStates, favored, FavoredStatistic);
}

// ---- Texts ---------------------------------------------------------------------------------

std::vector<QStringList> GroupTable(const TGroupRun &Run, const QString &FirstHeader)
{
    std::vector<QStringList> t;
    t.push_back({FirstHeader, QStringLiteral("Number of Observations"), QStringLiteral("Observed Index"),
                 QStringLiteral("Mean/Simulated indices"), QStringLiteral("Var/Simulated indices")});
    const TGroupSims &s = Run.Sims;
    for (int32_t g = 0; g < s.GuildCount; ++g) {
        const auto at = [g](const std::vector<double> &v) { return static_cast<size_t>(g) < v.size() ? v[g] : 0.0; };
        t.push_back({s.GuildList.value(g), QString::number(s.GuildCounts[static_cast<size_t>(g)]),
                     FloatToStr75(at(Run.ObservedIndex)), FloatToStr75(at(Run.m_guildregion)),
                     FloatToStr75(at(Run.v_guildregion))});
    }
    return t;
}

namespace {

// Line k of a text whose lines end with CR LF; empty past its end.
QString LineOf(const QStringList &Lines, int k) { return k < Lines.size() ? Lines[k] : QString(); }

QString Row(const QStringList &Cells)
{
    QString line;
    for (const QString &c : Cells) line += c + QLatin1Char(' ');
    return line;
}

} // namespace

QStringList GroupSummaryLines(const TGroupSummary &S)
{
    const QString rule(46, QLatin1Char('_'));
    QStringList s;
    s << QStringLiteral("Input file = ") + S.FileName;
    s << QStringLiteral("Rows = %1; Columns = %2").arg(S.Rows).arg(S.Cols);
    s << QStringLiteral("Iterations = %1").arg(S.Iterations);
    s << QStringLiteral("Random seed = %1").arg(S.Seed);
    s << S.Settings;
    for (const auto &[title, b] : S.Blocks) {
        s << rule << QString() << title;
        s << QStringLiteral("Observed index = ") + FloatToStr75(b->Observed);
        s << QStringLiteral("Mean of simulated indices = ") + FloatToStr75(b->Mean);
        s << QStringLiteral("Variance of simulated indices = ") + FloatToStr75(b->Variance);
        s << QStringLiteral("p(observed <= expected) = ") + FloatToStr75(b->P1);
        s << QStringLiteral("p(observed >= expected) = ") + FloatToStr75(b->P2);
        s << QString();
        s << QStringLiteral("Number of times observed index < simulated indices = %1").arg(b->Less);
        s << QStringLiteral("Number of times observed index = simulated indices = %1").arg(b->Equal);
        s << QStringLiteral("Number of times observed index > simulated indices = %1").arg(b->Greater);
        s << QStringLiteral("Standardized Effect Size = ") + FloatToStr75(b->Ses);
        s << QString();
        s << QStringLiteral("Simulation frequencies:") << QStringLiteral("Histogram          # Simulations");
        const QStringList edges = b->Edges.split(QStringLiteral("\r\n"));
        const QStringList counts = b->Counts.split(QStringLiteral("\r\n"));
        for (int k = 0; k <= 13; ++k) s << LineOf(edges, k) + QStringLiteral("  ") + LineOf(counts, k);
    }
    s << rule << QString() << S.TableTitle << QString();
    for (const QStringList &row : S.Table) s << Row(row);
    s << rule << QString() << QStringLiteral("INPUT MATRIX:") << QString();
    for (const QStringList &row : S.Input) s << Row(row);
    return s;
}
