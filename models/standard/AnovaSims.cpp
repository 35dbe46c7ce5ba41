// One-way ANOVA F ratio and label shuffle.
#include "models/standard/AnovaSims.h"
#include "framework/rtl/System.h"

#include <utility>

void GroupLabels(const QStringList &Labels, QStringList &Distinct, std::vector<int32_t> &GroupOfRow)
{
    Distinct.clear();
    GroupOfRow.assign(static_cast<size_t>(Labels.size()), 0);
    for (qsizetype r = 0; r < Labels.size(); ++r) {
        qsizetype j = 0;
        while (j < Distinct.size() && Distinct[j].compare(Labels[r], Qt::CaseInsensitive) != 0) ++j;
        if (j == Distinct.size()) Distinct << Labels[r];
        GroupOfRow[static_cast<size_t>(r)] = static_cast<int32_t>(j);
    }
}

void TAnovaCalculator::Assign(std::span<const double> Values, int32_t Groups)
{
    values_.assign(Values.begin(), Values.end());
    groups_ = Groups;
    double sum = 0;
    for (double v : values_) sum += v;
    ga_ = values_.empty() ? 0 : sum / static_cast<double>(values_.size());
    sums_.assign(static_cast<size_t>(Groups), 0.0);
    start_.assign(static_cast<size_t>(Groups) + 1, 0);
    order_.assign(values_.size(), 0);
}

double TAnovaCalculator::FRatio(std::span<const int32_t> GroupOfRow, std::vector<int32_t> &Counts,
                                std::vector<double> &Means, std::vector<double> &Variances)
{
    const auto k = static_cast<size_t>(groups_);
    const auto n = values_.size();
    Counts.assign(k, 0);
    Means.assign(k, 0.0);
    Variances.assign(k, 0.0);
    std::fill(sums_.begin(), sums_.end(), 0.0);
    // Pass 1: counts and sums in row order.
    for (size_t a = 0; a < n; ++a) {
        const auto g = static_cast<size_t>(GroupOfRow[a]);
        ++Counts[g];
        sums_[g] += values_[a];
    }
    // Pass 2: the rows of each group, in row order, group after group.
    start_[0] = 0;
    for (size_t g = 0; g < k; ++g) start_[g + 1] = start_[g] + Counts[g];
    std::vector<int32_t> &next = order_;
    {
        std::vector<int32_t> fill(start_.begin(), start_.end() - 1);
        for (size_t a = 0; a < n; ++a) next[static_cast<size_t>(fill[static_cast<size_t>(GroupOfRow[a])]++)] = static_cast<int32_t>(a);
    }
    double ssb = 0, ssw = 0;
    for (size_t g = 0; g < k; ++g) {
        if (Counts[g] > 0) Means[g] = sums_[g] / static_cast<double>(Counts[g]);
        double ss = 0;
        for (int32_t i = start_[g]; i < start_[g + 1]; ++i) {
            const double d = values_[static_cast<size_t>(next[static_cast<size_t>(i)])] - Means[g];
            ss += d * d;
            ssw += d * d;
        }
        Variances[g] = ss == 0 || Counts[g] < 2 ? 0 : ss / static_cast<double>(Counts[g] - 1);
        ssb += (Means[g] - ga_) * (Means[g] - ga_) * Counts[g];
    }
    if (ssw == 0 || k < 2 || n == k) return 0;
    return (ssb / static_cast<double>(k - 1)) / (ssw / static_cast<double>(n - k));
}

void ShuffleLabels(std::span<int32_t> LabelRows, std::span<int32_t> GroupOfRow)
{
    const auto n = static_cast<int32_t>(LabelRows.size());
    for (int32_t i = 0; i < n; ++i) {
        const int32_t j = Random(n);
        std::swap(LabelRows[i], LabelRows[j]);
        std::swap(GroupOfRow[i], GroupOfRow[j]);
    }
}
