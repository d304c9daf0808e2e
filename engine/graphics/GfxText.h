// Small helpers the font and colour-text code share.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace Gfx {

inline bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

// What ends a word: a blank or a line break.
inline bool IsWordSeparator(char c) {
    return c == ' ' || IsLineBreak(c);
}

// Text measures are summed in 64 bits and handed out cut to the 32-bit range.
inline int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace Gfx
