#include "platform/classlib/MulDiv.h"

#include <cstdint>
#include <limits>

namespace Win32 {

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const int64_t product = int64_t(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const uint64_t magnitude = product < 0 ? uint64_t(-product) : uint64_t(product);
    const uint64_t divisor = c < 0 ? uint64_t(-int64_t(c)) : uint64_t(c);
    const uint64_t rounded = (magnitude + divisor / 2) / divisor;
    if (rounded > uint64_t(std::numeric_limits<int>::max()) + (negative ? 1 : 0))
        return -1;
    return negative ? static_cast<int>(-int64_t(rounded)) : static_cast<int>(rounded);
}

} // namespace Win32
