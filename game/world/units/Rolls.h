// The random rolls of the unit rules. They draw only from the seeded generator
// state they are given (the game's state where none is named), so every peer of a
// networked game rolls the same numbers.
#pragma once

#include "engine/core/Random.h"

#include <cstdint>

namespace GameData {

// A real in (0, 1): steps the state until its result is not 0, then result x 2^-31.
double RandomReal(Base::TRandomSeed& state);

// Normally distributed by the polar method: u and v uniform in (-1, 1) until
// 0 < s = u^2 + v^2 < 1; then u * sqrt(-2 ln s / s) * sd + mean.
// (ln by Base::PortableLog, the same bits on every machine).
double GaussianRandom(Base::TRandomSeed& state, double mean, double sd);

// floor(GaussianRandom(v, v / 8) + 0.5): a value rolled around v.
int32_t RollValue(Base::TRandomSeed& state, int32_t v);

// v - r + (NextRandom mod (2r + 1)) with r = v * 10 / 100, never below 0; on the
// given state, or the game's. Values of -10 and less draw nothing.
int32_t SpreadValue(Base::TRandomSeed& state, int32_t v);
int32_t SpreadValue(int32_t v);

// Whether a rolled a beats a rolled b (a rolled first), on the given state, or the game's.
bool RolledContest(Base::TRandomSeed& state, int32_t a, int32_t b);
bool RolledContest(int32_t a, int32_t b);
// The predictable twin: a / b > 1.
bool ExpectedContest(int32_t a, int32_t b);

} // namespace GameData
