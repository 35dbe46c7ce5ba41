#pragma once
// The niche overlap engine: the resource-use matrices, their standardization and weighting, the
// pairwise Pianka and Czekanowski indices and the four randomization algorithms. It needs no
// window: the grid is read once per run and every option is passed in.
#include "workspace/TarvixTypes.h"

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

class TStringGrid;
class TStrings;

// Items of the options dialog's groups, in their order.
enum TNicheBreadth { nbRetained = 0, nbRelaxed = 1 };
enum TZeroStates { zsReshuffled = 0, zsRetained = 1 };
enum TNicheIndex { niPianka = 0, niCzekanowski = 1 };
enum TResourceStates { rsEquiprobable = 0, rsUserDefined = 1 };

class TNicheOverlapSims
{
public:
    // Indexed [column][row] with data from 1, sized as the grid read last.
    Real_Matrix ObservedMatrix;
    // Row proportions of the matrix analysed last (observed or simulated).
    Real_Matrix StandardizedMatrix;
    // The current randomized matrix, raw values before standardization.
    Real_Matrix SimulatedMatrix;
    // Sized with the others; nothing uses it.
    Real_Matrix DataDefinedMatrix;
    int32_t Algorithm = 1;
    int32_t Row_Pairs = 0;
    int32_t NumPairs = 0;

    // Species rows and resource-state columns of the matrices.
    int32_t Species() const { return species_; }
    int32_t States() const { return states_; }

    // Sizes the matrices as the grid and reads its data cells once: the real parse of every
    // cell (text reads 0) and the cells whose text is exactly "x", states the species cannot use.
    void SetUpMatrices(const TStringGrid &Grid);
    // Every pair of species rows.
    void Calculate_Row_Pairs();
    // Row totals of ObservedMatrix; false, with "Non Zero Row = r ; aborting simulation.", when a
    // row has no use.
    bool ZeroRows_Test(int32_t &NonZeroRows, int32_t &RowError);
    bool Excluded(int32_t c, int32_t r) const { return excluded_[c][r] != 0; }

    void StandardizeMatrix() { standardize(ObservedMatrix); }
    void StandardizeSimMatrix() { standardize(SimulatedMatrix); }
    // Divides every column c of ObservedMatrix by Weights[c - 1]; a weight that is not > 0, or
    // missing, zeroes its column.
    void UserDefined(std::span<const double> Weights);

    // The pair values of StandardizedMatrix in pair order, as the texts of the pair list hold
    // them: general format, 7 significant digits, "0" for a Pianka pair with a row without use.
    void PiankaIndexArray(TStrings &List);
    void CzekanowskiIndexArray(TStrings &List);
    // The same values as numbers, each the value its text holds; Pairs has Row_Pairs entries.
    void PairValues(int32_t Index, std::span<double> Pairs);

    static int32_t AlgorithmOf(int32_t NicheBreadth, int32_t ZeroStates);
    // Sets Algorithm and fills SimulatedMatrix from ObservedMatrix with the random source.
    void RandomizeMatrix(int32_t NicheBreadth, int32_t ZeroStates);

private:
    void standardize(const Real_Matrix &Source);
    // Raw pair values of StandardizedMatrix, unrounded.
    void pairs(int32_t Index, std::span<double> Out);
    // Moves the row's values of the columns cols_ into those columns in a random order.
    void permuteRow(int32_t r);

    int32_t species_ = 0;
    int32_t states_ = 0;
    TMatrixOf<uint8_t> excluded_;
    // Scratch of the pair and permutation loops, kept between matrices.
    std::vector<double> rows_, sumSquares_;
    std::vector<int32_t> cols_;
    std::vector<double> values_;
    std::vector<uint64_t> keys_;
};

// The value that FloatToStrF(Value, ffGeneral, 7, 5) writes, read back as a number.
double RoundToGeneral7(double Value);
// The permutation key of a random draw: the draw's 7,5 fixed text as a number of 1e-5 units
// (0 to 100000), so that keys order as their texts do. State is the source's state after the draw.
uint32_t PermutationKey(uint32_t State);
// Mean and variance (divisor n - 1) of all values; exactly the value and 0 when all are equal.
void MeanVarianceValues(std::span<const double> Values, double &Mean, double &Variance);
