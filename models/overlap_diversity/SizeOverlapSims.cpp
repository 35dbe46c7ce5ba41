#include "models/overlap_diversity/SizeOverlapSims.h"
#include "framework/rtl/System.h"
#include "workspace/TarvixHelpers.h"

#include <algorithm>
#include <cmath>

namespace {

const QString MsgUnableToSatisfy = QStringLiteral("Unable to satisfy restraints. Aborting simulation.");

// Halves to even without the run-time's range check: a draw of a huge user-defined law must not
// end the run with an exception.
double RoundHalfEven(double x) { return std::nearbyint(x); }

double Log10OrZero(double x) { return x > 0 ? std::log10(x) : 0.0; }

template <typename F>
void MapLine(int32_t Count, std::span<const double> Line, std::span<double> Out, F &&f)
{
    const size_t n = std::min({static_cast<size_t>(std::max(Count, 0)), Line.size(), Out.size()});
    for (size_t i = 0; i < n; ++i) Out[i] = f(Line[i]);
}

} // namespace

int32_t CountPositiveSizes(std::span<const double> Values)
{
    return static_cast<int32_t>(std::count_if(Values.begin(), Values.end(), [](double v) { return v > 0; }));
}

void NumberLineToSegments(int32_t Count, std::span<const double> Line, std::span<double> Segments)
{
    const int64_t n = std::min<int64_t>(Count, static_cast<int64_t>(Line.size()));
    for (int64_t i = 0; i + 1 < n && i < static_cast<int64_t>(Segments.size()); ++i)
        Segments[static_cast<size_t>(i)] = Line[static_cast<size_t>(i + 1)] - Line[static_cast<size_t>(i)];
}

double SegmentMetric(int32_t Metric, int32_t Segments, std::span<const double> Segment)
{
    if (Metric == smMinimumSegment) {
        double m = 0;
        MinReal(Segments, Segment, m);
        return m;
    }
    double mean = 0, variance = 0;
    MeanVariance(Segments, Segment, mean, variance);
    return variance;
}

TSizeOverlapSims::TSizeOverlapSims() : slice_(Context) { Context.InterruptFlag = &ownInterrupt_; }

void TSizeOverlapSims::Fail(const QString &Message)
{
    if (Context.ShowMessage) Context.ShowMessage(Message);
    if (Context.InterruptFlag) *Context.InterruptFlag = true;
}

// ---- Scales and metrics --------------------------------------------------------------------------

bool TSizeOverlapSims::LogSource() const
{
    return Options.BodySizeDistributionGroup == ssParametric &&
           (Options.BodySizeDistributionGroupMain == sdLogUniform ||
            Options.BodySizeDistributionGroupMain == sdLogNormal);
}

void TSizeOverlapSims::SourceTransform(int32_t Count, std::span<const double> Line, std::span<double> Out) const
{
    const bool log = LogSource();
    MapLine(Count, Line, Out, [log](double x) { return log ? Log10OrZero(x) : x; });
}

void TSizeOverlapSims::BackTransform(int32_t Count, std::span<const double> Line, std::span<double> Out) const
{
    const bool log = LogSource();
    MapLine(Count, Line, Out, [log](double v) { return log ? std::pow(10.0, v) : v; });
}

void TSizeOverlapSims::AnalysisTransform(int32_t Count, std::span<const double> Line, std::span<double> Out) const
{
    const bool log = Options.TransformationGroup == stSizeRatios;
    MapLine(Count, Line, Out, [log](double x) { return log ? Log10OrZero(x) : x; });
}

double TSizeOverlapSims::ObservedMetric(int32_t Segments, std::span<const double> Segment) const
{
    return SegmentMetric(Options.MetricGroup, Segments, Segment);
}

void TSizeOverlapSims::SimulatedMetric(int32_t Segments, std::span<const double> Segment, std::span<double> List,
                                       int32_t i) const
{
    if (i >= 0 && static_cast<size_t>(i) < List.size()) List[static_cast<size_t>(i)] = ObservedMetric(Segments, Segment);
}

// ---- Sources ----------------------------------------------------------------------------------------

void TSizeOverlapSims::SimulateNumberLine(int32_t N, std::span<const double> Observed, std::span<double> Out)
{
    if (Options.BodySizeDistributionGroup == ssHistogram) {
        if (HistogramWeights()) HistogramSizes(N, Out);
        else if (Context.InterruptFlag) *Context.InterruptFlag = true;
        return;
    }
    const bool user = Options.BodySizeDistributionGroupC == spUserDefined;
    switch (Options.BodySizeDistributionGroupMain) {
    case sdUniform: user ? UserUniformSizes(N, Observed, Out) : DataUniformSizes(N, Observed, Out); break;
    case sdNormal: user ? UserNormalSizes(N, Observed, Out) : DataNormalSizes(N, Observed, Out); break;
    case sdLogUniform: user ? UserLogUniformSizes(N, Observed, Out) : DataLogUniformSizes(N, Observed, Out); break;
    default: user ? UserLogNormalSizes(N, Observed, Out) : DataLogNormalSizes(N, Observed, Out); break;
    }
}

void TSizeOverlapSims::UniformBetween(int32_t N, double Minimum, double Range, bool Integer, std::span<double> Out)
{
    const int32_t n = std::min<int32_t>(N, static_cast<int32_t>(Out.size()));
    for (int32_t k = 0; k < n; ++k) {
        const double u = Random();
        Out[static_cast<size_t>(k)] = Integer ? std::trunc((Range + 1) * u) + Minimum : Range * u + Minimum;
    }
}

// The observed extremes are kept; the other N - 2 sizes are drawn between them.
void TSizeOverlapSims::DataUniformSizes(int32_t N, std::span<const double> Observed, std::span<double> Out)
{
    MinReal(N, Observed, SourceMinimum);
    MaxReal(N, Observed, SourceMaximum);
    const bool integer = Options.BodySizeDistributionGroupMain == sdUniform && IntegerSizes();
    if (N >= 1 && !Out.empty()) Out[0] = SourceMinimum;
    if (N >= 2 && Out.size() >= 2) Out[1] = SourceMaximum;
    if (N > 2 && Out.size() > 2)
        UniformBetween(N - 2, SourceMinimum, SourceMaximum - SourceMinimum, integer, Out.subspan(2));
}

void TSizeOverlapSims::DataLogUniformSizes(int32_t N, std::span<const double> Observed, std::span<double> Out)
{
    DataUniformSizes(N, Observed, Out);
}

void TSizeOverlapSims::UserUniformSizes(int32_t N, std::span<const double> Observed, std::span<double> Out)
{
    SourceMinimum = User.UniformMinimum;
    SourceMaximum = User.UniformMaximum;
    double range = SourceMaximum - SourceMinimum;
    if (IntegerSizes()) {
        SourceMinimum = RoundHalfEven(SourceMinimum);
        range = RoundHalfEven(range);
        UniformBetween(N, SourceMinimum, range, true, Out);
    } else {
        UniformBetween(N, SourceMinimum, range, false, Out);
    }
}

void TSizeOverlapSims::UserLogUniformSizes(int32_t N, std::span<const double> Observed, std::span<double> Out)
{
    SourceMinimum = User.LogUniformMinimum;
    SourceMaximum = User.LogUniformMaximum;
    UniformBetween(N, SourceMinimum, SourceMaximum - SourceMinimum, false, Out);
}

void TSizeOverlapSims::NormalDraws(int32_t N, bool Integer, bool Positive, std::span<double> Out)
{
    const int32_t n = std::min<int32_t>(N, static_cast<int32_t>(Out.size()));
    for (int32_t k = 0; k < n; ++k) {
        double g = 0;
        int32_t draws = 0;
        for (;;) {
            g = RandG(SourceMean, SourceSD);
            if (Integer) g = RoundHalfEven(g);
            if (!Positive || g > 0) break;
            // A law that almost never gives a positive size would hold the run for ever.
            if (++draws >= SizeDrawLimit) {
                Fail(MsgUnableToSatisfy);
                return;
            }
            if (slice_.Stopped()) return;
        }
        Out[static_cast<size_t>(k)] = g;
    }
}

void TSizeOverlapSims::DataNormalSizes(int32_t N, std::span<const double> Observed, std::span<double> Out)
{
    double variance = 0;
    MeanVariance(N, Observed, SourceMean, variance);
    SourceSD = std::sqrt(variance);
    NormalDraws(N, IntegerSizes(), true, Out);
}

void TSizeOverlapSims::UserNormalSizes(int32_t N, std::span<const double> Observed, std::span<double> Out)
{
    SourceMean = User.NormalMean;
    SourceSD = User.NormalSD;
    NormalDraws(N, IntegerSizes(), true, Out);
}

// Log values may be negative: nothing is drawn again.
void TSizeOverlapSims::DataLogNormalSizes(int32_t N, std::span<const double> Observed, std::span<double> Out)
{
    double variance = 0;
    MeanVariance(N, Observed, SourceMean, variance);
    SourceSD = std::sqrt(variance);
    NormalDraws(N, false, false, Out);
}

void TSizeOverlapSims::UserLogNormalSizes(int32_t N, std::span<const double> Observed, std::span<double> Out)
{
    SourceMean = User.LogNormalMean;
    SourceSD = User.LogNormalSD;
    NormalDraws(N, false, false, Out);
}

// ---- Histogram ------------------------------------------------------------------------------------

void TSizeOverlapSims::SetHistogram(std::vector<double> Sizes, std::vector<double> Weights)
{
    sizes_ = std::move(Sizes);
    weights_ = std::move(Weights);
    weights_.resize(sizes_.size(), 0.0);
    weightsRead_ = false;
}

bool TSizeOverlapSims::HistogramWeights()
{
    const size_t rows = sizes_.size();
    if (HistogramUsed.size() != rows) {
        HistogramUsed.assign(rows, 0);
        usedRows_.clear();
    }
    if (weightsRead_) return weightsUsable_;
    weightsRead_ = true;
    HistogramWeightList.assign(rows, 0.0);
    runningSums_.assign(rows, 0.0);
    lastPositive_ = -1;
    double total = 0;
    const auto weightOf = [this](size_t r) { return sizes_[r] > 0 && weights_[r] > 0 ? weights_[r] : 0.0; };
    for (size_t r = 0; r < rows; ++r) total += weightOf(r);
    weightsUsable_ = total > 0;
    if (!weightsUsable_) return false;
    double sum = 0;
    for (size_t r = 0; r < rows; ++r) {
        HistogramWeightList[r] = weightOf(r) / total;
        sum += HistogramWeightList[r];
        runningSums_[r] = sum;
        if (HistogramWeightList[r] > 0) lastPositive_ = static_cast<int32_t>(r);
    }
    return true;
}

int32_t TSizeOverlapSims::HistogramRow(double R) const
{
    // The running sums never fall, so the first one that reaches R is found by bisection; rows of
    // weight 0 share the sum of the row before them and are stepped over.
    auto it = std::lower_bound(runningSums_.begin(), runningSums_.end(), R);
    size_t r = static_cast<size_t>(it - runningSums_.begin());
    while (r < HistogramWeightList.size() && !(HistogramWeightList[r] > 0)) ++r;
    return r < HistogramWeightList.size() ? static_cast<int32_t>(r) : lastPositive_;
}

void TSizeOverlapSims::HistogramSizes(int32_t N, std::span<double> Out)
{
    const int32_t n = std::min<int32_t>(N, static_cast<int32_t>(Out.size()));
    std::fill(Out.begin(), Out.begin() + std::max(n, 0), 0.0);
    for (int32_t row : usedRows_) HistogramUsed[static_cast<size_t>(row)] = 0;
    usedRows_.clear();
    if (lastPositive_ < 0) return;
    for (int32_t k = 0; k < n; ++k) {
        int32_t found = -1;
        for (int32_t draw = 0; draw < SizeDrawLimit; ++draw) {
            if (slice_.Stopped()) return;
            const int32_t row = HistogramRow(Random());
            if (!HistogramUsed[static_cast<size_t>(row)]) {
                found = row;
                break;
            }
        }
        if (found < 0) {
            Fail(MsgUnableToSatisfy);
            return;
        }
        Out[static_cast<size_t>(k)] = sizes_[static_cast<size_t>(found)];
        HistogramUsed[static_cast<size_t>(found)] = 1;
        usedRows_.push_back(found);
    }
}
