#pragma once
// The one-way ANOVA test's F ratio over labels held as group numbers: plain routines, so that
// they run without a window.
#include <QStringList>
#include <cstdint>
#include <span>
#include <vector>

// The distinct labels in order of first appearance, and each row's group: the first distinct
// label equal to its own, letter case ignored ("a" joins "A").
void GroupLabels(const QStringList &Labels, QStringList &Distinct, std::vector<int32_t> &GroupOfRow);

// F ratio of the rows' values split by group, with each group's count, mean and sample variance.
// Fewer than two groups, or no spread within groups, give 0. The sums run in the row order of
// each group, group after group, so the value is the same to the last bit as summing group by
// group over the rows.
class TAnovaCalculator
{
public:
    void Assign(std::span<const double> Values, int32_t Groups);
    double GrandAverage() const { return ga_; }
    double FRatio(std::span<const int32_t> GroupOfRow, std::vector<int32_t> &Counts, std::vector<double> &Means,
                  std::vector<double> &Variances);

private:
    std::vector<double> values_;
    int32_t groups_ = 0;
    double ga_ = 0;
    std::vector<double> sums_;
    std::vector<int32_t> start_, order_;
};

// Every row in turn swaps its label (text row and group) with a row drawn over all rows.
void ShuffleLabels(std::span<int32_t> LabelRows, std::span<int32_t> GroupOfRow);
