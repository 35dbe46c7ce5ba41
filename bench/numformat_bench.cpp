// Rendering 440,000 cell values through a number format ("0.00", "#,##0.00", "dd/mm/yyyy"),
// beside the plain conversion of the same values (FloatToStrF or FormatDateTime). The format
// string is parsed once; every later value reuses the parsed form.
#include "framework/rtl/SysUtils.h"
#include "xlsAdapter/numformat/duzUWbNumberFormat.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

std::vector<double> Numbers(int64_t n)
{
    std::vector<double> v;
    v.reserve(size_t(n));
    for (int64_t i = 0; i < n; ++i)
        v.push_back(double((i * 2654435761LL) % 100000007) / 1000.0 - 5000.0);
    return v;
}

std::vector<double> Dates(int64_t n)
{
    std::vector<double> v;
    v.reserve(size_t(n));
    for (int64_t i = 0; i < n; ++i)
        v.push_back(double(20000 + (i * 7919) % 30000));
    return v;
}

void Render(benchmark::State &state, const std::vector<double> &values, const QString &format)
{
    for (auto _ : state) {
        int32_t color = 0;
        for (double x : values)
            benchmark::DoNotOptimize(XlsFormatValue(Variant(x), format, false, color));
    }
    state.SetItemsProcessed(state.iterations() * int64_t(values.size()));
}

void BM_Format_0_00(benchmark::State &state) { Render(state, Numbers(state.range(0)), QStringLiteral("0.00")); }

// The plain conversion Convert of every value.
template <class Fn> void Plain(benchmark::State &state, const std::vector<double> &values, Fn &&Convert)
{
    for (auto _ : state)
        for (double x : values)
            benchmark::DoNotOptimize(Convert(x));
    state.SetItemsProcessed(state.iterations() * int64_t(values.size()));
}

void BM_Plain_Fixed2(benchmark::State &state)
{
    Plain(state, Numbers(state.range(0)), [](double x) { return FloatToStrF(x, ffFixed, 15, 2); });
}

void BM_Format_Thousands(benchmark::State &state)
{
    Render(state, Numbers(state.range(0)), QStringLiteral("#,##0.00"));
}

void BM_Plain_Number2(benchmark::State &state)
{
    Plain(state, Numbers(state.range(0)), [](double x) { return FloatToStrF(x, ffNumber, 15, 2); });
}

void BM_Format_Date(benchmark::State &state) { Render(state, Dates(state.range(0)), QStringLiteral("dd/mm/yyyy")); }

void BM_Plain_FormatDateTime(benchmark::State &state)
{
    const QString format = QStringLiteral("dd/mm/yyyy");
    Plain(state, Dates(state.range(0)), [&format](double x) { return FormatDateTime(format, x); });
}

} // namespace

BENCHMARK(BM_Format_0_00)->Arg(440000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plain_Fixed2)->Arg(440000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Format_Thousands)->Arg(440000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plain_Number2)->Arg(440000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Format_Date)->Arg(440000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Plain_FormatDateTime)->Arg(440000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
