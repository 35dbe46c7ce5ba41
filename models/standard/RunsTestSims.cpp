// The runs test's sequence, null models and statistics.
#include "models/standard/RunsTestSims.h"
#include "framework/rtl/System.h"
#include "workspace/TarvixHelpers.h"

#include <algorithm>
#include <numeric>

namespace {

const QString kRestraints = QStringLiteral("Unable to satisfy restraints. Aborting simulation.");
// Draws one placement search may take before it gives up.
constexpr int32_t kMaxDraws = 199999;

void MeanOrCircular(TRunsDataType DataType, const std::vector<double> &Ones, double &Mean, double &Variance)
{
    const auto count = static_cast<int32_t>(Ones.size());
    if (DataType == rdAngular) CircularMeanVariance(count, Ones, Mean, Variance);
    else MeanVariance(count, Ones, Mean, Variance);
}

} // namespace

std::vector<int32_t> RunsSequenceOrder(std::span<const double> X)
{
    std::vector<int32_t> order(X.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return X[a] < X[b]; });
    return order;
}

int64_t CountOnes(std::span<const int32_t> Y, TRunsSampling Sampling)
{
    int64_t n = 0;
    for (int32_t y : Y)
        if (y > 0) n += Sampling == rsWithReplacement ? y : 1;
    return n;
}

void BuildNumberLine(std::span<const double> XSorted, std::vector<double> &NumberLine, double &NumberLineSum)
{
    NumberLineSum = 0;
    for (double x : XSorted) NumberLineSum += x;
    NumberLine.assign(XSorted.size(), 0.0);
    if (NumberLineSum > 0)
        for (size_t i = 0; i < XSorted.size(); ++i) NumberLine[i] = XSorted[i] / NumberLineSum;
}

void ShuffleSequence(std::span<int32_t> Sequence) { RandomSwapShuffle(Sequence); }

void ScatterOnes(std::span<int32_t> Sequence, int32_t OnesCount)
{
    std::fill(Sequence.begin(), Sequence.end(), 0);
    const auto n = static_cast<int32_t>(Sequence.size());
    if (n < 1) return;
    for (int32_t k = 0; k < OnesCount; ++k) ++Sequence[Random(n)];
}

void TWeightedPlacer::SetNumberLine(std::span<const double> NumberLine, double NumberLineSum)
{
    sum_ = NumberLineSum;
    negative_ = false;
    prefix_.resize(NumberLine.size());
    // The same additions, in the same order, as a running sum over the positions: a bisection
    // over these sums picks exactly the position a linear scan would.
    double running = 0;
    for (size_t i = 0; i < NumberLine.size(); ++i) {
        if (NumberLine[i] < 0) negative_ = true;
        running += NumberLine[i];
        prefix_[i] = running;
    }
}

int32_t TWeightedPlacer::PositionOf(double R) const
{
    const auto it = std::upper_bound(prefix_.begin(), prefix_.end(), R);
    const auto last = static_cast<int32_t>(prefix_.size()) - 1;
    return it == prefix_.end() ? last : static_cast<int32_t>(it - prefix_.begin());
}

bool TWeightedPlacer::refuse()
{
    // Negative weights are no proportions, and a zero total places nothing anywhere.
    if (sum_ > 0 && !negative_ && !prefix_.empty()) return false;
    if (ctx_.ShowMessage) ctx_.ShowMessage(kRestraints);
    if (ctx_.InterruptFlag) *ctx_.InterruptFlag = true;
    return true;
}

bool TWeightedPlacer::stopped() { return slice_.Stopped(); }

void TWeightedPlacer::PlaceOnesByWeight(std::span<int32_t> Sequence, int32_t OnesCount)
{
    if (refuse()) return;
    std::fill(Sequence.begin(), Sequence.end(), 0);
    for (int32_t k = 0; k < OnesCount; ++k) {
        for (int32_t draws = 1;; ++draws) {
            if (stopped()) return;
            const int32_t l = PositionOf(Random());
            if (Sequence[l] == 0) {
                Sequence[l] = 1;
                break;
            }
            if (draws >= kMaxDraws) {
                if (ctx_.ShowMessage) ctx_.ShowMessage(kRestraints);
                if (ctx_.InterruptFlag) *ctx_.InterruptFlag = true;
                return;
            }
        }
    }
}

void TWeightedPlacer::ScatterOnesByWeight(std::span<int32_t> Sequence, int32_t OnesCount)
{
    if (refuse()) return;
    std::fill(Sequence.begin(), Sequence.end(), 0);
    for (int32_t k = 0; k < OnesCount; ++k) {
        if (stopped()) return;
        ++Sequence[PositionOf(Random())];
    }
}

void RunStatistics(std::span<const double> XSorted, std::span<const int32_t> Sequence, TRunsDataType DataType,
                   std::vector<double> &Ones, int32_t &LongestRun, double &Mean, double &Variance)
{
    Ones.clear();
    int32_t run = 0;
    LongestRun = 0;
    for (size_t i = 0; i < Sequence.size(); ++i) {
        if (Sequence[i] >= 1) {
            LongestRun = std::max(LongestRun, ++run);
            Ones.push_back(XSorted[i]);
        } else {
            run = 0;
        }
    }
    MeanOrCircular(DataType, Ones, Mean, Variance);
}

void RunStatisticsCounts(std::span<const double> XSorted, std::span<const int32_t> Sequence, TRunsDataType DataType,
                         std::vector<double> &Ones, int32_t &LongestRun, double &Mean, double &Variance)
{
    Ones.clear();
    int32_t run = 0;
    LongestRun = 0;
    for (size_t i = 0; i < Sequence.size(); ++i) {
        const int32_t c = Sequence[i];
        if (c > 0) {
            run += c;
            LongestRun = std::max(LongestRun, run);
            Ones.insert(Ones.end(), static_cast<size_t>(c), XSorted[i]);
        } else {
            run = 0;
        }
    }
    MeanOrCircular(DataType, Ones, Mean, Variance);
}
