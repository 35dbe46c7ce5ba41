#pragma once
// Presence-absence indices, null-model matrix generators and the treatment of degenerate
// matrices. Everything works on `Matrix` values indexed [site][species] with the margins at
// index 0, and runs without a window: the run hands in its event pump, message box, progress
// display and stop flag through TSimContext.
#include "workspace/SimContext.h"
#include "workspace/TarvixTypes.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// ---- Indices ------------------------------------------------------------------------------
// Live counts come from info_Mat: item 2 sites, item 3 species (data cells M[1..s][1..n]).
// Pairwise routines write one value per species pair (1,2), (1,3), ..., (n-1,n) from Out[0] and
// never past the end of Out; whole-matrix routines write Out[0] only.

void PairSharedSites(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out);
void PairUnion(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out);
// Shared sites over the union of the pair's sites, 0 where the union is empty.
void PairRelativeOverlap(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out);
void CScoreUnits(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out);
// Reads the row totals M[0][r]; they must be current.
void CheckerboardCount(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out);
void SpeciesCombinations(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out);
// Reads the site totals M[c][0]; they must be current.
void VRatio(const Matrix &M, const TInfoMat &info_Mat, std::span<double> Out);

// ---- Generators -----------------------------------------------------------------------------

// Row and column constraints of the options dialog, in its item order.
enum TConstraint : int32_t { cnEquiprobable = 0, cnFixedSum = 1, cnProportional = 2, cnUserDefined = 3 };
enum TFixedFixed : int32_t { ffSequentialSwap = 0, ffIndependentSwap = 1, ffKnightsTour = 2 };
enum TDegenerate : int32_t { dgRetain = 0, dgDiscard = 1, dgSplit = 2, dgFix = 3 };

// The null-model generators of one run. P is the observed matrix (margins current), Q receives
// a matrix of its own of P's size; generators work over all P.Rows() - 1 species and
// P.Cols() - 1 sites.
class TCoOccurrenceSims
{
public:
    TCoOccurrenceSims();
    TCoOccurrenceSims(const TCoOccurrenceSims &) = delete;
    TCoOccurrenceSims &operator=(const TCoOccurrenceSims &) = delete;

    TSimContext Context;
    // Option indexes of the dialog.
    int32_t RowGroup = cnFixedSum;
    int32_t ColumnGroup = cnFixedSum;
    int32_t FixedFixedGroup = ffSequentialSwap;
    int32_t DegenerateGroup = dgRetain;
    // The progress bar's maximum goes back to this after the sequential swap's burn-in.
    int32_t Iterations = 0;

    // Weight vectors: [0] the total weight, [i] the weight of site (species) i over the total.
    std::vector<double> SitesNumberLine;
    std::vector<double> SpeciesNumberLine;
    // Sequential-swap chain and whether its burn-in has run. The run fills Fixed_Mat with the
    // observed matrix and clears Done at its start.
    Matrix Fixed_Mat;
    bool Done = false;
    // Set by a Split step whose matrix has an empty row or column.
    bool DegenerateFlag = false;

    void GenerateNullMatrix(const Matrix &P, Matrix &Q);

    void ShuffleCells(const Matrix &P, Matrix &Q);
    void ShuffleWithinRows(const Matrix &P, Matrix &Q);
    void ShuffleWithinColumns(const Matrix &P, Matrix &Q);
    void FillRowsWeightedSites(const Matrix &P, Matrix &Q);
    void FillColumnsWeightedSpecies(const Matrix &P, Matrix &Q);
    void FillTotalWeightedSites(const Matrix &P, Matrix &Q);
    void FillTotalWeightedSpecies(const Matrix &P, Matrix &Q);
    void FillTotalWeightedBoth(const Matrix &P, Matrix &Q);
    void KnightsTourFill(const Matrix &P, Matrix &Q);
    void SequentialSwap(const Matrix &P, Matrix &Q);
    void IndependentSwap(const Matrix &P, Matrix &Q);
    // Flips one randomly found checkerboard of Q. False when it stopped on the stop request or
    // when Q has no checkerboard at all (then it is the only matrix with its margins and stays).
    bool CheckerboardSwap(Matrix &Q);
    // Number of swaps per independent matrix and of the sequential burn-in.
    static int32_t SwapCount(int32_t Rows, int32_t Cols);

    void SiteWeightsFromMargins(const Matrix &P);
    void SpeciesWeightsFromMargins(const Matrix &P);
    // Weights of sites (species) 1.. as read from the weights editor; values past the vector's
    // length are ignored.
    void LoadSiteWeights(std::span<const double> Weights);
    void LoadSpeciesWeights(std::span<const double> Weights);

    // One generation step: draw, bring the margins up to date, treat a degenerate matrix.
    void NextSimulatedMatrix(const Matrix &P, Matrix &Q);
    static bool IsDegenerate(const Matrix &Q);
    void FixDegenerate(Matrix &Q);

private:
    // N checkerboard swaps on Q, Swaps counting them as they go; stops early on the stop request.
    // False, with Q untouched, when Q has no checkerboard.
    bool SwapMany(Matrix &Q, int32_t N, int32_t &Swaps);
    // Places one presence at the cell Cell() draws, drawing again while it is taken; false when
    // stopped or when the draws ran out (which it reports).
    template <typename CellFn>
    bool Place(CellFn Cell);
    bool Interrupted() const { return Context.InterruptFlag && *Context.InterruptFlag; }
    void Fail(const QString &Message);
    void Caption(const QString &Text);
    void CloseProgress();

    bool ownInterrupt_ = false;
    // The last generator left Q with current margins (the swaps and the knight's tour do).
    bool marginsCurrent_ = false;
    // The sequential chain has no checkerboard: it is the only matrix with its margins.
    bool chainLocked_ = false;
    TEventSlice slice_;
};

extern const QString MsgUnableToSatisfy;
extern const QString MsgDiscarded3000;
