#include "engine/core/PortableMath.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace Base {

namespace {

// ln 2 split so that e * Ln2High is exact for every binary exponent e.
constexpr double Ln2High = 0x1.62e42fefa3800p-1;
constexpr double Ln2Low = 0x1.ef35793c76730p-45;
constexpr double HalfPiHigh = 0x1.921fb54442d18p+0;
constexpr double HalfPiLow = 0x1.1a62633145c07p-54;
constexpr double Sqrt2 = 0x1.6a09e667f3bcdp+0;

// 2 / (2k + 1) for k = 1..12: the series of 2 atanh(s) past its first term.
constexpr std::array<double, 12> LogTerms = {2.0 / 3,  2.0 / 5,  2.0 / 7,  2.0 / 9,
                                             2.0 / 11, 2.0 / 13, 2.0 / 15, 2.0 / 17,
                                             2.0 / 19, 2.0 / 21, 2.0 / 23, 2.0 / 25};

// C(2n, n) / (4^n (2n + 1)) for n = 1..26: asin y = y + y * sum(term_n * y^2n). Both
// parts are exact doubles, so each term is the correctly rounded quotient.
constexpr int AsinTermCount = 26;
constexpr std::array<double, AsinTermCount> AsinTerms = [] {
    std::array<double, AsinTermCount> terms{};
    uint64_t central = 1; // C(2n, n)
    double power = 1;     // 4^n
    for (int n = 1; n <= AsinTermCount; ++n) {
        central = central * uint64_t(2 * n) * uint64_t(2 * n - 1) / uint64_t(n) / uint64_t(n);
        power *= 4;
        terms[size_t(n - 1)] = double(central) / (power * (2 * n + 1));
    }
    return terms;
}();

// asin y for |y| <= 1/2, where the series converges by at least a quarter a term.
double SmallAsin(double y) {
    const double z = y * y;
    double sum = AsinTerms[AsinTermCount - 1];
    for (int n = AsinTermCount - 2; n >= 0; --n)
        sum = sum * z + AsinTerms[size_t(n)];
    return y + y * (z * sum);
}

} // namespace

double PortableLog(double x) {
    if (x != x || x < 0)
        return std::numeric_limits<double>::quiet_NaN();
    if (x == 0)
        return -std::numeric_limits<double>::infinity();
    if (x == std::numeric_limits<double>::infinity())
        return x;
    int exponent = 0;
    uint64_t bits = std::bit_cast<uint64_t>(x);
    if (bits >> 52 == 0) { // subnormal: scaled into the normal range first
        bits = std::bit_cast<uint64_t>(x * 0x1p54);
        exponent = -54;
    }
    exponent += int(bits >> 52) - 1023;
    // x = m * 2^exponent with m in (sqrt 2 / 2, sqrt 2]; every step so far is exact.
    double m = std::bit_cast<double>((bits & 0x000FFFFFFFFFFFFFull) | 0x3FF0000000000000ull);
    if (m > Sqrt2) {
        m *= 0.5;
        ++exponent;
    }
    // ln(1 + f) = 2 atanh(s) with s = f / (2 + f), |s| < 0.172; written as
    // f - (f^2 / 2 - s (f^2 / 2 + R)) so that the large parts cancel exactly.
    const double f = m - 1;
    const double s = f / (2 + f);
    const double z = s * s;
    double sum = LogTerms[LogTerms.size() - 1];
    for (int k = int(LogTerms.size()) - 2; k >= 0; --k)
        sum = sum * z + LogTerms[size_t(k)];
    const double r = z * sum;
    const double halfSquare = 0.5 * f * f;
    const double e = exponent;
    return e * Ln2High - ((halfSquare - (s * (halfSquare + r) + e * Ln2Low)) - f);
}

double PortableAcos(double x) {
    if (!(x >= -1 && x <= 1))
        return std::numeric_limits<double>::quiet_NaN();
    if (x <= 0.5 && x >= -0.5)
        return HalfPiHigh - (SmallAsin(x) - HalfPiLow);
    // Near the ends acos x = 2 asin(sqrt((1 - |x|) / 2)), whose argument is at most
    // 1/2; 1 - |x| is exact there.
    if (x > 0)
        return 2 * SmallAsin(std::sqrt((1 - x) * 0.5));
    return 2 * (HalfPiHigh - (SmallAsin(std::sqrt((1 + x) * 0.5)) - HalfPiLow));
}

} // namespace Base
