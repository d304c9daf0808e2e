// Integer arithmetic of the unit rules: results that stick at the width they are
// stored in, and divisions whose divisor can reach 0.
#pragma once

#include <algorithm>
#include <cstdint>

namespace GameData {

// Statistics are 16-bit words: results beyond that width stick at its ends instead
// of wrapping round to the other sign.
constexpr int16_t SaturateWord(int64_t value) {
    return static_cast<int16_t>(std::clamp<int64_t>(value, INT16_MIN, INT16_MAX));
}

constexpr int32_t SaturateInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// numerator / divisor truncated toward zero. The divisors of the rules (a level, a
// maximum of hit points) are meant to be positive; at 0 or below the quotient is
// the one the formula tends to as the divisor shrinks to 0: 0 for a numerator of 0,
// else beyond every 16-bit statistic with the numerator's sign.
constexpr int64_t DivideTowardLimit(int64_t numerator, int64_t divisor) {
    if (divisor > 0)
        return numerator / divisor;
    return numerator > 0 ? INT32_MAX : numerator < 0 ? INT32_MIN : 0;
}

} // namespace GameData
