#pragma once
// Rounding and the run-time's random generator.
#include <cstdint>
#include <functional>

// The generator's state; assigning it makes a run reproducible.
extern uint32_t RandSeed;

// Advances the state (state * 134775813 + 1 mod 2^32) and returns the high 32 bits of n * state:
// an integer in [0, n) for n > 0. For n <= 0 the state still advances and 0 is returned.
int32_t Random(int32_t n);
// Advances the state and returns state * 2^-32, in [0, 1).
double Random();
// Seeds from the low bits of a high-resolution clock. The seed is positive in 32 bits (1 to
// 2^31 - 1): a program that reports it lets the user type it back as a seed, and a seed field
// reads 0 or less as "seed from the clock".
void Randomize();
// The clock Randomize reads, in ticks; an empty function brings back the real clock. For tests.
void SetRandomizeClock(std::function<uint64_t()> Clock);

// Rounds to the nearest integer, halves to even (382.5 -> 382, 383.5 -> 384).
int64_t Round(double x);
// Drops the fraction.
int64_t Trunc(double x);
// Fractional part with the sign of x.
double Frac(double x);
