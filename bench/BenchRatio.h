#pragma once
// A console reporter that keeps each benchmark's adjusted real time (and counters), so a bench can
// print its ratios against plain loops once every run is done.
#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class TTimesReporter : public benchmark::ConsoleReporter
{
public:
    using TValues = std::map<std::string, double>;
    // Print gets the times by benchmark name and the counters by counter name.
    explicit TTimesReporter(std::function<void(TValues &Times, TValues &Counters)> Print) : FPrint(std::move(Print)) {}

    void ReportRuns(const std::vector<Run> &Reports) override
    {
        ConsoleReporter::ReportRuns(Reports);
        for (const Run &r : Reports) {
            FTimes[r.benchmark_name()] = r.GetAdjustedRealTime();
            for (const auto &[name, counter] : r.counters)
                FCounters[name] = counter.value;
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        if (FPrint)
            FPrint(FTimes, FCounters);
    }

private:
    std::function<void(TValues &, TValues &)> FPrint;
    TValues FTimes, FCounters;
};
