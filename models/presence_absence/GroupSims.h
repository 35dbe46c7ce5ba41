#pragma once
// The engine shared by guild structure and species overlap: the work grid parsed once per run,
// the group labels with their sizes, the label and cell shuffles, favored states, the index of
// one group's sub-matrix and the statistics of a run. Nothing here needs a window.
#include "workspace/TarvixTypes.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>
#include <vector>

// Grouping item of the options dialogs: labels in column 1 (rows) or in row 1 (columns).
enum TGroupAxis : int32_t { grRows = 0, grColumns = 1 };

// The index of a group's sub-matrix: guild structure's list, then species overlap's.
enum TGroupIndex : int32_t {
    giCScore, giCheckerboards, giCombinations, giVRatio, giRelativeOverlap, giUnion, giOverlap, giNone
};

// Species overlap's randomization item.
enum TGroupRandomization : int32_t {
    rzEquiprobable = 0, rzFixedSpecies = 1, rzFixedSites = 2, rzFixedSpeciesAndSites = 3
};

// Presence value of a cell text: leading blanks, an optional sign and the digits before the
// first other character; a positive number is present (1), anything else absent (0).
int32_t PresenceValue(const QString &Text);

// A copy of a grid's texts, every cell held as the number of its distinct text. Shuffles move
// those numbers, so the texts stay exact while the run reads presences and labels from tables.
class TWorkGrid
{
public:
    // Copies every cell of a grid of Cols x Rows; Cell(c, r) gives the text.
    template <typename F>
    void Assign(int32_t Cols, int32_t Rows, F Cell)
    {
        Reset(Cols, Rows);
        for (int32_t c = 0; c < cols_; ++c)
            for (int32_t r = 0; r < rows_; ++r) ids_[Index(c, r)] = Intern(Cell(c, r));
    }

    int32_t ColCount() const { return cols_; }
    int32_t RowCount() const { return rows_; }
    // Number of the text of a cell; cells outside the grid hold the empty text.
    int32_t Id(int32_t c, int32_t r) const { return Inside(c, r) ? ids_[Index(c, r)] : EmptyId; }
    const QString &Cells(int32_t c, int32_t r) const { return texts_[static_cast<size_t>(Id(c, r))]; }
    int32_t Presence(int32_t c, int32_t r) const { return presence_[static_cast<size_t>(ids_[Index(c, r)])]; }
    // The cell's text is exactly "1".
    bool IsOne(int32_t c, int32_t r) const { return one_[static_cast<size_t>(ids_[Index(c, r)])] != 0; }
    // Exchanges the texts of two cells inside the grid.
    void Exchange(int32_t c1, int32_t r1, int32_t c2, int32_t r2) { std::swap(ids_[Index(c1, r1)], ids_[Index(c2, r2)]); }

    // The distinct texts; a text's number is its position here.
    const std::vector<QString> &Texts() const { return texts_; }
    static constexpr int32_t EmptyId = 0;

private:
    void Reset(int32_t Cols, int32_t Rows);
    int32_t Intern(const QString &Text);
    bool Inside(int32_t c, int32_t r) const { return c >= 0 && r >= 0 && c < cols_ && r < rows_; }
    size_t Index(int32_t c, int32_t r) const { return static_cast<size_t>(c) * static_cast<size_t>(rows_) + r; }

    int32_t cols_ = 0, rows_ = 0;
    std::vector<int32_t> ids_;
    std::vector<QString> texts_;
    std::vector<uint8_t> presence_, one_;
    QHash<QString, int32_t> lookup_;
};

// One statistic of a run: the observed value against the simulated ones.
struct TGroupStatistic
{
    double Observed = 0, Mean = 0, Variance = 0, P1 = 0, P2 = 0, Ses = 0;
    // Iterations whose simulated value lies above, at or below the observed one.
    int32_t Less = 0, Equal = 0, Greater = 0;
    // Histogram texts (empty when no histogram was built): the observed value's position,
    // "low high" edge pairs, low edges, high edges and counts.
    QString Position, Edges, Low, High, Counts;
};

// Mean, variance, tail fractions and effect size of the first Count values against Observed;
// with Histogram the values are sorted and the histogram texts are filled.
void GroupStatistic(std::span<double> Values, int32_t Count, double Observed, bool Histogram, TGroupStatistic &S);

// The group's value for Index from its sub-matrix O_Mat (margins current, sizes in info): empty
// species rows are dropped into F_Mat, empty sites from a copy of it, then the index is taken.
// Variance gets the variance of the C-score units (0 otherwise). Scratch keeps the pair list.
double GroupIndexValue(const Matrix &O_Mat, Matrix &F_Mat, TInfoMat info, int32_t Index, double &Variance,
                       int32_t &Row_Pairs, std::vector<double> &Scratch);

// Labels, shuffles, favored states and group evaluation on one work grid.
class TGroupSims
{
public:
    TWorkGrid Work;
    int32_t Grouping = grRows;
    int32_t Index = giCScore;

    QStringList GuildList;
    std::vector<int32_t> GuildCounts;
    int32_t GuildCount = 0;
    // Expected spread of a site of richness f, at f - 1.
    std::vector<int32_t> Favored;
    // Richness of data column p (2..ColCount-1) at p - 1, from the presence values.
    std::vector<int32_t> Richness;

    // The current group's sub-matrix and the same without empty species rows.
    Matrix O_Mat, F_Mat;
    int32_t Row_Pairs = 0;

    // Labels of column 1 (rows) or row 1 (columns). False, with Message, when a label has fewer
    // than two rows (columns); TooFew is the message for rows.
    bool BuildGuildList(const QString &TooFew, QString &Message);
    bool BuildRegionList(QString &Message);
    void BuildFavoredSpreads();
    void ReadFavoredMatrix();
    int32_t CountFavoredStates() const;

    // One pass of swaps: every position exchanges with a partner drawn over the whole range.
    void ShuffleGroupLabels(int32_t Grouping);
    void ShuffleRowCells();
    void ShuffleColumnCells();
    void Randomize(int32_t Randomization);

    // Builds group g's O_Mat from the current labels; info gets its sizes.
    void InitMatrices(int32_t g, TInfoMat &info);
    // The value of group g; Present is false when its sub-matrix holds no presence.
    double EvaluateGroup(int32_t g, double &Variance, bool &Present);

    // Number of the label of a grouped row (column), -1 for a text that names no group.
    int32_t GroupOf(int32_t Position) const;

private:
    void ListLabels(bool Rows);
    // Group number of each distinct text, -1 for texts that are no label.
    std::vector<int32_t> groupOfId_;
    std::vector<double> scratch_;
};

// A whole run on the engine: the observed pass, one iteration at a time, and the statistics of
// the iterations done. The caller loads Sims.Work, the options and the labels first.
class TGroupRun
{
public:
    TGroupSims Sims;
    // Favored states are counted (rows grouping only).
    bool FavoredStates = false;
    // -1: label shuffle with the grouping; otherwise a TGroupRandomization.
    int32_t Randomization = -1;

    // Observed values: per group, their mean and variance, the favored-states count.
    std::vector<double> ObservedIndex;
    double ObservedMean = 0, ObservedVariance = 0, ObservedFavoredStates = 0;
    // The variance of the C-score units of the last group evaluated.
    double LastVariance = 0;
    // Per iteration: mean and variance of the group values, favored-states count; and the group
    // values themselves, [iteration][group].
    std::vector<double> SimMeans, SimVariances, SimFavoredStates;
    Real_Matrix GroupValues;
    int32_t Completed = 0;
    // Per group over the iterations: mean and variance of its values.
    std::vector<double> m_guildregion, v_guildregion;
    TGroupStatistic MeanStatistic, VarianceStatistic, FavoredStatistic;

    // The observed pass; false when RequirePresence and a group holds no presence.
    bool Observe(bool RequirePresence);
    // Sizes the arrays for N iterations.
    void Prepare(int32_t N);
    // The randomization of one iteration, then its favored-states count.
    void Shuffle();
    // Evaluates every group for the next iteration; false when RequirePresence and a group holds
    // no presence (the iteration is then not counted).
    bool Evaluate(bool RequirePresence);
    // Statistics of the completed iterations.
    void Finish();

private:
    std::vector<double> row_;
};

// The group table: a header row ("Guild", "Region" or "Groups" first), then per group its label,
// size, observed index and the mean and variance of its simulated values.
std::vector<QStringList> GroupTable(const TGroupRun &Run, const QString &FirstHeader);

// What the summary text is made of.
struct TGroupSummary
{
    QString FileName;
    int32_t Rows = 0, Cols = 0, Iterations = 0, Seed = 0;
    // Grouping, group count, index and the analysis's own setting line.
    QStringList Settings;
    // Titled result blocks in order ("INDEX", "VARIANCE", ...).
    std::vector<std::pair<QString, const TGroupStatistic *>> Blocks;
    QString TableTitle;
    std::vector<QStringList> Table;
    // The main grid's rows, titles included.
    std::vector<QStringList> Input;
};
QStringList GroupSummaryLines(const TGroupSummary &S);
