#pragma once
// The runs test's sequence along X, its four null models and its run statistics: plain routines
// over arrays, so that they run without a window.
#include "workspace/SimContext.h"

#include <cstdint>
#include <span>
#include <vector>

// Item orders of the options dialog's radio groups.
enum TRunsConstraint : int32_t { rcEquiprobable = 0, rcProportional = 1 };
enum TRunsSampling : int32_t { rsWithoutReplacement = 0, rsWithReplacement = 1 };
enum TRunsDataType : int32_t { rdLinear = 0, rdAngular = 1 };

// The row order that sorts X ascending; rows with equal X keep their order.
std::vector<int32_t> RunsSequenceOrder(std::span<const double> X);

// Number of ones to place: rows with Y > 0 without replacement, the sum of those Y with it.
int64_t CountOnes(std::span<const int32_t> Y, TRunsSampling Sampling);

// Proportional weight of each position: its X over the sum of all X; zeros when the sum is not
// positive.
void BuildNumberLine(std::span<const double> XSorted, std::vector<double> &NumberLine, double &NumberLineSum);

// Equiprobable null models. The sequence carries over from one draw to the next.
// Every position in turn swaps with one drawn over the whole sequence, itself included.
void ShuffleSequence(std::span<int32_t> Sequence);
// Drops OnesCount ones on uniformly drawn positions; a position may collect several.
void ScatterOnes(std::span<int32_t> Sequence, int32_t OnesCount);

// Proportional null models: a position is drawn with probability NumberLine[i]. Both refuse a
// weight total that is not positive, or any negative weight, with "Unable to satisfy
// restraints. Aborting simulation." and the stop flag; they let events in on a time slice and
// return as soon as the stop flag is set.
class TWeightedPlacer
{
public:
    explicit TWeightedPlacer(TSimContext &Context) : ctx_(Context), slice_(Context) {}

    // Takes the weights of one run.
    void SetNumberLine(std::span<const double> NumberLine, double NumberLineSum);
    // One one per position, each on a free position found by repeated draws; a search that
    // needs 199999 draws gives up with the restraints message.
    void PlaceOnesByWeight(std::span<int32_t> Sequence, int32_t OnesCount);
    // One weighted draw per one; a position may collect several.
    void ScatterOnesByWeight(std::span<int32_t> Sequence, int32_t OnesCount);

    // The first position whose running weight sum exceeds R (the last one when rounding leaves
    // the total at or below R).
    int32_t PositionOf(double R) const;

private:
    bool refuse();
    bool stopped();

    TSimContext &ctx_;
    TEventSlice slice_;
    std::vector<double> prefix_;
    double sum_ = 0;
    bool negative_ = false;
};

// Longest run of ones and the X values at the ones. Without replacement a position holding 1
// or more is one one; with counts a position holding c > 0 adds c to the run and its X c times.
// Ones receives those X values; Mean and Variance are their mean and sample variance, or their
// circular mean direction and circular variance for angles in degrees.
void RunStatistics(std::span<const double> XSorted, std::span<const int32_t> Sequence, TRunsDataType DataType,
                   std::vector<double> &Ones, int32_t &LongestRun, double &Mean, double &Variance);
void RunStatisticsCounts(std::span<const double> XSorted, std::span<const int32_t> Sequence, TRunsDataType DataType,
                         std::vector<double> &Ones, int32_t &LongestRun, double &Mean, double &Variance);
