#pragma once
// main() of the benchmarks that need widgets: an offscreen QApplication around the runs.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <functional>

inline int RunWidgetBenchmarks(int argc, char **argv, const std::function<void()> &setUp = {},
                               const std::function<void()> &tearDown = {})
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (setUp)
        setUp();
    benchmark::RunSpecifiedBenchmarks();
    if (tearDown)
        tearDown();
    benchmark::Shutdown();
    return 0;
}
