#pragma once
// Workbook benchmarks write into a fresh "Workbook" stream of an in-memory compound file.
#include "framework/rtl/Streams.h"
#include "tests/progrid/xls/compound/OleFixture.h"
#include "xlsAdapter/compound/duzUOle2Impl.h"

#include <QByteArray>
#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

inline QByteArray BenchWorkbookSource()
{
    static const QByteArray bytes = ole::Build({ole::Root(), ole::Stream("Workbook", QByteArray(4096, 0))}).Bytes;
    return bytes;
}

// Runs Write against a fresh "Workbook" stream.
template <class Fn> void WithStream(Fn &&Write)
{
    auto src = ole::MemStream(BenchWorkbookSource());
    TMemoryStream out;
    TOle2File f(src.get());
    f.PrepareForWrite(&out, "Workbook", {});
    Write(f);
    f.Close();
    benchmark::DoNotOptimize(out.Size());
}

// Runs the benchmarks, then prints for each argument the time of the benchmark named Engine over
// that of the other one (the plain loop), after Label.
inline int RunWithRatio(int argc, char **argv, const std::string &Engine, const char *Label)
{
    class Reporter : public benchmark::ConsoleReporter
    {
    public:
        Reporter(std::string e, const char *l) : engineName(std::move(e)), label(l) {}
        void ReportRuns(const std::vector<Run> &reports) override
        {
            ConsoleReporter::ReportRuns(reports);
            for (const Run &r : reports) {
                const std::string name = r.benchmark_name();
                const auto slash = name.find('/');
                const std::string base = name.substr(0, slash);
                const std::string arg = slash == std::string::npos ? "" : name.substr(slash + 1);
                (base == engineName ? engine : plain)[arg] = r.GetAdjustedRealTime();
            }
        }
        void Finalize() override
        {
            ConsoleReporter::Finalize();
            for (const auto &[arg, t] : engine)
                if (plain.count(arg) && plain[arg] > 0)
                    std::printf("%s%s%s = %.1f\n", label, arg.empty() ? "" : " ", arg.c_str(), t / plain[arg]);
        }

    private:
        std::string engineName;
        const char *label;
        std::map<std::string, double> engine, plain;
    };
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Reporter reporter(Engine, Label);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
