#include "game/world/units/Rolls.h"

#include "engine/core/PortableMath.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace GameData {

double RandomReal(Base::TRandomSeed& state) {
    uint32_t result = 0;
    do
        result = Base::NextRandom(state);
    while (result == 0);
    return result * 0x1p-31;
}

double GaussianRandom(Base::TRandomSeed& state, double mean, double sd) {
    double u = 0;
    double s = 0;
    // s = 0 would take the logarithm of 0: draw again, as for points outside the circle.
    do {
        u = 2 * RandomReal(state) - 1;
        const double v = 2 * RandomReal(state) - 1;
        s = u * u + v * v;
    } while (s >= 1 || s == 0);
    return u * std::sqrt(-2 * Base::PortableLog(s) / s) * sd + mean;
}

int32_t RollValue(Base::TRandomSeed& state, int32_t v) {
    const double rolled = std::floor(GaussianRandom(state, v, v * 0.125) + 0.5);
    // The tails of a large value could pass the integer's range.
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::fmin(std::fmax(rolled, lowest), highest));
}

int32_t SpreadValue(Base::TRandomSeed& state, int32_t v) {
    const int32_t r = static_cast<int32_t>(int64_t(v) * 10 / 100);
    int64_t spread = v;
    if (2 * int64_t(r) + 1 >= 1)
        spread = int64_t(v) - r + int64_t(Base::NextRandom(state)) % (2 * int64_t(r) + 1);
    return static_cast<int32_t>(std::clamp<int64_t>(spread, 0, INT32_MAX));
}

int32_t SpreadValue(int32_t v) {
    return SpreadValue(Base::RandomSeed, v);
}

bool RolledContest(Base::TRandomSeed& state, int32_t a, int32_t b) {
    const int32_t rolledA = RollValue(state, a);
    return rolledA > RollValue(state, b);
}

bool RolledContest(int32_t a, int32_t b) {
    return RolledContest(Base::RandomSeed, a, b);
}

bool ExpectedContest(int32_t a, int32_t b) {
    // a / b grows without bound as b shrinks to 0.
    if (b == 0)
        return a > 0;
    return double(a) / double(b) > 1.0;
}

} // namespace GameData
