#include "engine/core/PortableMath.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using Base::PortableAcos;
using Base::PortableLog;

struct TCase {
    double Input;
    double Output;
};

// The bits every machine must give. Each output is the exact value rounded to the
// nearest double, or one step beside it (the marked rows), as worked out with
// 200-bit arithmetic.
constexpr TCase LogCases[] = {
    {0x1p+0, 0x0p+0},
    {0x1p+1, 0x1.62e42fefa39efp-1},
    {0x1p-1, -0x1.62e42fefa39efp-1},
    {0x0.0000000000001p-1022, -0x1.74385446d71c3p+9},
    {0x1p-1022, -0x1.6232bdd7abcd2p+9},
    {0x1.fffffffffffffp+1023, 0x1.62e42fefa39efp+9},
    {0x1.999999999999ap-4, -0x1.26bb1bbb55515p+1},
    {0x1.8p-1, -0x1.269621134db92p-2},
    {0x1.3333333333333p-2, -0x1.34378fcbda721p+0},
    {0x1.ffffde7210be9p-1, -0x1.0c6f82d74d23p-20},
    {0x1.56e1fc2f8f359p-997, -0x1.5963447f87fb5p+9},
    {0x1.4p+3, 0x1.26bb1bbb55516p+1},
    {0x1.6a09e667f3bcdp+0, 0x1.62e42fefa39fp-2},
    {0x1.6a09e667f3bcep+0, 0x1.62e42fefa39f3p-2},
    {0x1.5bf0a8b145769p+1, 0x1p+0},
    {0x1.453d06b81c89p-1, -0x1.d0a817bfe715cp-2}, // one step off
    {0x1.12e0be826d695p-30, -0x1.4b927f32bffb8p+4},
    {0x1p-4, -0x1.62e42fefa39efp+1},
    {0x1.e240c9fbe76c9p+16, 0x1.77281cad8a844p+3},
};
constexpr TCase AcosCases[] = {
    {-0x1p+0, 0x1.921fb54442d18p+1},
    {-0x1p-1, 0x1.0c152382d7366p+1},
    {0x0p+0, 0x1.921fb54442d18p+0},
    {0x1p-1, 0x1.0c152382d7366p+0},
    {0x1p+0, 0x0p+0},
    {0x1.999999999999ap-4, 0x1.787b22ce3f59p+0},
    {-0x1.ccccccccccccdp-1, 0x1.586476251e745p+1},
    {0x1.6a09e667f3bcdp-1, 0x1.921fb54442d17p-1}, // one step off
    {0x1.fff2e48e8a71ep-1, 0x1.cf69d216bd74bp-7},
    {0x1.87de2a6aea963p-2, 0x1.2d97c7f3321d2p+0},
    {-0x1.03b779113228p-1, 0x1.0d2879f4d839bp+1}, // one step off
    {0x1.d906bcf328d46p-1, 0x1.921fb54442d1ap-2}, // one step off
    {-0x1p-2, 0x1.d2cf5c7c70f0cp+0},
    {0x1.8p-1, 0x1.720a392c1d955p-1},
    {0x1.79ca10c924223p-67, 0x1.921fb54442d18p+0},
};

int64_t StepsApart(double a, double b) {
    const auto ia = std::bit_cast<int64_t>(a), ib = std::bit_cast<int64_t>(b);
    return ia > ib ? ia - ib : ib - ia;
}

TEST(PortableMath, GivesTheTabledBits) {
    for (const TCase& c : LogCases)
        EXPECT_EQ(std::bit_cast<uint64_t>(PortableLog(c.Input)), std::bit_cast<uint64_t>(c.Output))
            << std::hexfloat << c.Input;
    for (const TCase& c : AcosCases)
        EXPECT_EQ(std::bit_cast<uint64_t>(PortableAcos(c.Input)), std::bit_cast<uint64_t>(c.Output))
            << std::hexfloat << c.Input;
}

// Across the ranges the rules use (the polar method's s in (0, 1), direction cosines in
// [-1, 1]) and the rest of the doubles, within an ulp of the C library.
TEST(PortableMath, StaysWithinAnUlpOfTheLibrary) {
    uint64_t state = 0x9E3779B97F4A7C15ull;
    const auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return state;
    };
    for (int i = 0; i < 200000; ++i) {
        const double unit = double(next() >> 11) * 0x1p-53; // [0, 1)
        if (unit > 0) {
            ASSERT_LE(StepsApart(PortableLog(unit), std::log(unit)), 1) << std::hexfloat << unit;
        }
        const double wide = std::ldexp(0.5 + unit, int(next() % 2000) - 1000);
        ASSERT_LE(StepsApart(PortableLog(wide), std::log(wide)), 1) << std::hexfloat << wide;
        const double cosine = 2 * unit - 1;
        ASSERT_LE(StepsApart(PortableAcos(cosine), std::acos(cosine)), 1)
            << std::hexfloat << cosine;
    }
}

TEST(PortableMath, EdgesOfTheDomain) {
    constexpr double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(PortableLog(0.0), -infinity);
    EXPECT_EQ(PortableLog(infinity), infinity);
    EXPECT_TRUE(std::isnan(PortableLog(-1.0)));
    EXPECT_TRUE(std::isnan(PortableLog(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_TRUE(std::isnan(PortableAcos(1.0000000000000002)));
    EXPECT_TRUE(std::isnan(PortableAcos(-infinity)));
    EXPECT_TRUE(std::isnan(PortableAcos(std::numeric_limits<double>::quiet_NaN())));
}

} // namespace
