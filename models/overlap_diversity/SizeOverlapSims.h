#pragma once
// Body-size overlap: the sizes of an assemblage as a sorted number line, the segments between
// neighbours and their metric, and the size sources of the null model (uniform, normal, log-uniform
// and log-normal laws with parameters from the data or from the user, and a species-pool histogram
// drawn without replacement). The engine runs without a window: the run reads the options, the
// user parameters and the histogram table once and hands them in as plain values; events, messages
// and the stop request reach it through TSimContext.
#include "workspace/SimContext.h"

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

// Item indexes of the options dialog's groups.
enum TSizeMetric : int32_t { smMinimumSegment = 0, smSegmentVariance = 1 };
enum TSizeTransformation : int32_t { stSizeDifferences = 0, stSizeRatios = 1 };
enum TSizeRounding : int32_t { srNone = 0, srInteger = 1 };
enum TSizeSource : int32_t { ssParametric = 0, ssHistogram = 1 };
enum TSizeDistribution : int32_t { sdUniform = 0, sdNormal = 1, sdLogUniform = 2, sdLogNormal = 3 };
enum TSizeParameters : int32_t { spDataDefined = 0, spUserDefined = 1 };

struct TSizeOverlapOptions
{
    int32_t MetricGroup = smSegmentVariance;
    int32_t TransformationGroup = stSizeRatios;
    int32_t RoundingGroup = srNone;
    int32_t BodySizeDistributionGroup = ssParametric;
    int32_t BodySizeDistributionGroupMain = sdUniform;
    int32_t BodySizeDistributionGroupC = spDataDefined;
};

// The parameters of the user-defined sources as the four parameter dialogs hold them; the log
// sources' values are on the log10 scale.
struct TSizeUserParameters
{
    double UniformMinimum = 0, UniformMaximum = 1;
    double NormalMean = 5, NormalSD = 1;
    double LogUniformMinimum = 0, LogUniformMaximum = 1;
    double LogNormalMean = 5, LogNormalSD = 1;
};

class TStringGrid;

// ---- Sizes in grids -------------------------------------------------------------------------------
// Cells are read with the real parse: a text that is no number is 0, and only a size > 0 counts.

// Column Column of rows 1..RowCount-1; an empty list for a column outside the grid's data.
std::vector<double> GridColumnValues(const TStringGrid *Grid, int32_t Column);
// The sizes > 0 of a main-grid column, in row order.
std::vector<double> PositiveSizes(int32_t Column);
// Rows of the main grid whose column Column holds a size > 0.
int32_t CountPositiveSizes(int32_t Column);
// Rows 1.. of a histogram table whose size (column 1) is > 0.
int32_t CountPositiveHistogramSizes(const TStringGrid *Table);

// Draws allowed for one size before a source gives up.
inline constexpr int32_t SizeDrawLimit = 199999;

// Number of values > 0.
int32_t CountPositiveSizes(std::span<const double> Values);
// Segment[i] = Line[i + 1] - Line[i] for the Count - 1 gaps of the first Count entries.
void NumberLineToSegments(int32_t Count, std::span<const double> Line, std::span<double> Segments);
// The smallest segment, or the sample variance of the segments (0 for a single one).
double SegmentMetric(int32_t Metric, int32_t Segments, std::span<const double> Segment);

class TSizeOverlapSims
{
public:
    TSizeOverlapSims();
    TSizeOverlapSims(const TSizeOverlapSims &) = delete;
    TSizeOverlapSims &operator=(const TSizeOverlapSims &) = delete;

    TSimContext Context;
    TSizeOverlapOptions Options;
    TSizeUserParameters User;

    // The end points of the last uniform or log-uniform set, and the mean and standard deviation
    // of the last normal or log-normal set; the summary reports them.
    double SourceMinimum = 0, SourceMaximum = 0, SourceMean = 0, SourceSD = 0;
    // Selection probability of every histogram row; 1 for the rows of the current set.
    std::vector<double> HistogramWeightList;
    std::vector<int32_t> HistogramUsed;

    // The histogram table, rows 1.. of the editor: the size (column 1) and the colonization weight
    // (column 2) of every pool species. A row is drawn in proportion to its weight, and only when
    // its size and its weight are both > 0.
    void SetHistogram(std::vector<double> Sizes, std::vector<double> Weights);
    int32_t HistogramRows() const { return static_cast<int32_t>(sizes_.size()); }

    // True for the "Log uniform" and "Log normal" sources.
    bool LogSource() const;
    // log10 (0 for a value not > 0) for a log source, else a copy.
    void SourceTransform(int32_t Count, std::span<const double> Line, std::span<double> Out) const;
    // 10 to the power of each value for a log source, else a copy.
    void BackTransform(int32_t Count, std::span<const double> Line, std::span<double> Out) const;
    // log10 (0 for a value not > 0) under "Log (size ratios)", else a copy.
    void AnalysisTransform(int32_t Count, std::span<const double> Line, std::span<double> Out) const;
    double ObservedMetric(int32_t Segments, std::span<const double> Segment) const;
    void SimulatedMetric(int32_t Segments, std::span<const double> Segment, std::span<double> List, int32_t i) const;

    // N sizes on the source's scale from the chosen source; Observed holds the observed sizes on
    // that scale. A histogram that cannot serve sets the stop request.
    void SimulateNumberLine(int32_t N, std::span<const double> Observed, std::span<double> Out);

    // The row probabilities; false when no row carries a positive weight.
    bool HistogramWeights();
    // N sizes drawn from the histogram without replacement; all 0 when nothing could be drawn.
    void HistogramSizes(int32_t N, std::span<double> Out);

    void DataUniformSizes(int32_t N, std::span<const double> Observed, std::span<double> Out);
    void UserUniformSizes(int32_t N, std::span<const double> Observed, std::span<double> Out);
    void DataLogUniformSizes(int32_t N, std::span<const double> Observed, std::span<double> Out);
    void UserLogUniformSizes(int32_t N, std::span<const double> Observed, std::span<double> Out);
    void DataNormalSizes(int32_t N, std::span<const double> Observed, std::span<double> Out);
    void UserNormalSizes(int32_t N, std::span<const double> Observed, std::span<double> Out);
    void DataLogNormalSizes(int32_t N, std::span<const double> Observed, std::span<double> Out);
    void UserLogNormalSizes(int32_t N, std::span<const double> Observed, std::span<double> Out);

    // The histogram row a uniform draw R selects: the first row of positive weight whose running
    // probability reaches R, the last such row when rounding leaves the total below R; -1 when no
    // row has a positive weight. Valid after HistogramWeights.
    int32_t HistogramRow(double R) const;

private:
    bool Interrupted() const { return Context.InterruptFlag && *Context.InterruptFlag; }
    void Fail(const QString &Message);
    bool IntegerSizes() const { return Options.RoundingGroup == srInteger; }
    // N draws of Range × U + Minimum, or of Trunc((Range + 1) × U) + Minimum when Integer.
    void UniformBetween(int32_t N, double Minimum, double Range, bool Integer, std::span<double> Out);
    // Draws of G(SourceMean, SourceSD), rounded when Integer, redrawn until > 0 when Positive.
    void NormalDraws(int32_t N, bool Integer, bool Positive, std::span<double> Out);

    bool ownInterrupt_ = false;
    std::vector<double> sizes_, weights_;
    // Running sums of HistogramWeightList, and whether the probabilities are those of the table.
    std::vector<double> runningSums_;
    bool weightsRead_ = false;
    bool weightsUsable_ = false;
    int32_t lastPositive_ = -1;
    std::vector<int32_t> usedRows_;
    TEventSlice slice_;
};
