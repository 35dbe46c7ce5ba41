#pragma once
// Rounding and the run-time's random generator.
#include <cstdint>
#include <functional>

// The generator's state; assigning it makes a run reproducible.
extern uint32_t RandSeed;

// One step of the generator: state * RandomMultiplier + RandomIncrement (mod 2^32).
inline constexpr uint32_t RandomMultiplier = 134775813u;
inline constexpr uint32_t RandomIncrement = 1u;
// The integer in [0, n) that a state gives for n > 0: the high 32 bits of n * state.
inline int32_t RandomBelow(uint32_t State, int32_t n)
{
    return static_cast<int32_t>((static_cast<uint64_t>(static_cast<uint32_t>(n)) * State) >> 32);
}

// Advances the state and returns RandomBelow(state, n). For n <= 0 the state still advances and 0
// is returned.
// Inline: simulations draw millions of these, and a call per draw is a tenth of a shuffle.
inline int32_t Random(int32_t n)
{
    RandSeed = RandSeed * RandomMultiplier + RandomIncrement;
    if (n <= 0)
        return 0;
    return RandomBelow(RandSeed, n);
}
// Advances the state and returns state * 2^-32, in [0, 1).
inline double Random()
{
    RandSeed = RandSeed * RandomMultiplier + RandomIncrement;
    return static_cast<double>(RandSeed) * (1.0 / 4294967296.0);
}
// Seeds from the low bits of a high-resolution clock. The seed is positive in 32 bits (1 to
// 2^31 - 1): a program that reports it lets the user type it back as a seed, and a seed field
// reads 0 or less as "seed from the clock".
void Randomize();
// The clock Randomize reads, in ticks; an empty function brings back the real clock. For tests.
void SetRandomizeClock(std::function<uint64_t()> Clock);
// A normal draw with the given mean and standard deviation, by the polar method on the generator
// above: two real draws u1, u2 in turn, d = 2 u1 - 1, c = d^2 + (2 u2 - 1)^2, drawn again while
// c >= 1 or c = 0; the result is Mean + StdDev * d * sqrt(-2 ln c / c).
double RandG(double Mean, double StdDev);

// Rounds to the nearest integer, halves to even (382.5 -> 382, 383.5 -> 384).
int64_t Round(double x);
// Drops the fraction.
int64_t Trunc(double x);
// Fractional part with the sign of x.
double Frac(double x);
