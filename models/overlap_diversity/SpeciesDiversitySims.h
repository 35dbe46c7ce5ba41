#pragma once
// Species diversity: the four diversity indices, the default and user-defined levels, the four
// random sampling schemes behind the accumulation and rarefaction curves, and the statistics of
// one curve row. Everything works on plain abundance vectors (one count per species row) and a
// sample matrix M[sample][species] without margins, and runs without a window: messages and the
// stop flag go through TSimContext.
#include "framework/rtl/Classes.h"
#include "workspace/SimContext.h"
#include "workspace/TarvixTypes.h"

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

// Items of the options dialog, in their order.
enum TDiversityIndex : int32_t { diRichness = 0, diHurlbertsPIE = 1, diDominance = 2, diShannon = 3 };
enum TDiversityAlgorithm : int32_t { daAccumulation = 0, daRarefaction = 1 };

extern const QString MsgAbundanceLevelBelowOne;
extern const QString MsgUnableToIndependentSample;

// The individuals of every species with a cumulative index over them, so that the species of
// the r-th individual (counting species by species from the first) is found in O(log species).
// It finds the same species as a walk that adds the counts from the first species until the sum
// reaches r. The index is a tree of nodes of Width entries, each node holding the running sums
// of its children: one node is searched with a count of the sums below r, which the compiler
// turns into a few vector compares, so a draw costs a handful of them per level.
class TIndividualPool
{
public:
    static constexpr int32_t Width = 32;

    // Counts must not be negative and their sum must fit 32 bits.
    void Assign(std::span<const int32_t> Counts);
    int32_t Size() const { return static_cast<int32_t>(counts_.size()); }
    int32_t Total() const { return total_; }
    const std::vector<int32_t> &Counts() const { return counts_; }
    // Takes individual r (1 <= r <= Total()) out of the pool and gives the index of its species.
    int32_t Draw(int32_t r);

private:
    std::vector<int32_t> counts_;
    // Every level in one array, the root node first and the leaves (one entry per species,
    // padded with zeros to whole nodes) last; levelStart_[k] is where level k begins.
    std::vector<int32_t> sums_;
    std::vector<size_t> levelStart_;
    int32_t total_ = 0;
};

// Mean, median, variance and 95% limits of one level's simulated values.
struct TCurveStatistics
{
    double Mean = 0, Median = 0, Variance = 0, Low = 0, High = 0;
};
// Works on a copy: the column keeps its order. Low is the value at sorted index
// Trunc(0.025 (n - 1)), High at Round(0.975 (n - 1)).
TCurveStatistics CurveStatistics(std::span<const double> Column);

class TSpeciesDiversitySims
{
public:
    TSpeciesDiversitySims() { Context.InterruptFlag = &ownInterrupt_; }
    TSpeciesDiversitySims(const TSpeciesDiversitySims &) = delete;
    TSpeciesDiversitySims &operator=(const TSpeciesDiversitySims &) = delete;

    TSimContext Context;
    // The index DetermineIndex computes (TDiversityIndex).
    int32_t Index = diRichness;
    // The main grid's column count, title column included: the samples are 1..ColCount-1.
    int32_t ColCount = 0;

    // The value of the last index computed.
    double indexResult = 0;
    // Non-zero entries of the last vector counted.
    int32_t NonZeroRows = 0;
    // Individuals of the vector being evaluated; during an accumulation draw, those still in
    // the pool.
    int32_t individualsCount = 0;
    int32_t NumLevels = 0;

    // NonZeroRows and indexResult := the number of non-zero entries.
    void getNonZeroRows(std::span<const int32_t> V);
    void getIndividualsCount(std::span<const int32_t> V, int32_t &Total) const;
    // The chosen index of V drawn at level b into indexResult; a level below 1 is reported and
    // gives false.
    bool DetermineIndex(std::span<const int32_t> V, int32_t b);
    void HurlbertsPIE(std::span<const int32_t> V, int32_t b);
    void Dominance(std::span<const int32_t> V, int32_t b);
    void ShannonIndex(std::span<const int32_t> V, int32_t b);

    // Levels 1, then steps of N / NumLevels, rounded on odd steps and truncated on even ones,
    // as long as they stay below N. The list ends at the last level written, and NumLevels
    // follows it.
    void setDefaultAbundanceLevels(int32_t N, std::vector<int32_t> &Levels);
    // The same with steps of ColCount / L below individualsCount; L = 0 sets the stop flag and
    // writes nothing.
    void SetDefaultSampleLevels(int32_t L, std::vector<int32_t> &Levels);
    // One level per line by the integer parse; values below 1 become 1.
    static void getAbundanceLevels(const TStrings &Lines, std::vector<int32_t> &Levels);

    // Draws k individuals without replacement, taking them out of the pool: successive calls on
    // one pool continue one draw. Never draws more than the pool holds.
    void Accumulation_DoRandomDraw(int32_t k, TIndividualPool &Pool, std::span<int32_t> Sample);
    // Draws k individuals without replacement from a private copy of the pool.
    void DoRandomDraw(int32_t k, std::span<const int32_t> Pool, std::span<int32_t> Sample);
    // Pools k samples drawn with replacement.
    void DoSampleDrawAccumulation(int32_t k, const Matrix &M, std::span<int32_t> Sample);
    // Pools k distinct samples, every k-subset equally likely; more than there are is reported,
    // sets the stop flag and adds nothing.
    void DoSampleDrawIndependent(int32_t k, const Matrix &M, std::span<int32_t> Sample);
    static void AddColumnToList(int32_t s, const Matrix &M, std::span<int32_t> Sample);

private:
    // The default-level rule over Bound with step d, L slots.
    void defaultLevels(int32_t L, double d, int32_t Bound, std::vector<int32_t> &Levels);
    void fail(const QString &Message);

    bool ownInterrupt_ = false;
    TIndividualPool scratch_;
    std::vector<char> used_;
};

// The integer parse of cells and level lines: leading blanks, an optional sign, the digits
// before the first character that does not belong; 0 without digits or beyond 32 bits.
int32_t DiversityInt(const QString &S);
