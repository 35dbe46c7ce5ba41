#include "framework/rtl/System.h"
#include "framework/rtl/Exceptions.h"
#include <chrono>
#include <cmath>

uint32_t RandSeed = 0;

namespace {

std::function<uint64_t()> &RandomizeClock()
{
    static std::function<uint64_t()> clock;
    return clock;
}

}  // namespace

void SetRandomizeClock(std::function<uint64_t()> Clock) { RandomizeClock() = std::move(Clock); }

double RandG(double Mean, double StdDev)
{
    double d, c;
    do {
        d = 2 * Random() - 1;
        const double e = 2 * Random() - 1;
        c = d * d + e * e;
    } while (c >= 1 || c == 0); // c = 0 would divide by zero
    return Mean + StdDev * d * std::sqrt(-2 * std::log(c) / c);
}

void Randomize()
{
    const uint64_t ticks = RandomizeClock()
                               ? RandomizeClock()()
                               : static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const uint32_t seed = static_cast<uint32_t>(ticks) & 0x7FFFFFFFu;
    RandSeed = seed != 0 ? seed : 1u;
}

int64_t Round(double x)
{
    if (std::isnan(x) || std::isinf(x) || std::fabs(x) >= 9.2233720368547758e18)
        throw EInvalidOperation(QStringLiteral("Invalid floating point operation"));
    return static_cast<int64_t>(std::nearbyint(x)); // default rounding mode: halves to even
}

int64_t Trunc(double x)
{
    if (std::isnan(x) || std::isinf(x) || std::fabs(x) >= 9.2233720368547758e18)
        throw EInvalidOperation(QStringLiteral("Invalid floating point operation"));
    return static_cast<int64_t>(x);
}

double Frac(double x) { return x - std::trunc(x); }
