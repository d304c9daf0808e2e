#include "engine/graphics/GfxScaling.h"

namespace Gfx {

namespace {
// The source index for destination index i when n destination cells span m source cells.
int64_t MapCorner(int64_t i, int64_t m, int64_t n) {
    return n > 1 ? (m - 1) * i / (n - 1) : 0;
}
} // namespace

void ScaleArgbNearest(const uint32_t* source, int sourceWidth, int sourceHeight,
                      uint32_t* destination, int destinationWidth, int destinationHeight) {
    for (int y = 0; y < destinationHeight; ++y) {
        const uint32_t* row =
            source + MapCorner(y, sourceHeight, destinationHeight) * int64_t(sourceWidth);
        for (int x = 0; x < destinationWidth; ++x)
            *destination++ = row[MapCorner(x, sourceWidth, destinationWidth)];
    }
}

int WordLength(const char* text) {
    int length = 0;
    while (text[length] != 0 && text[length] != ' ' && text[length] != '\n' && text[length] != '\r')
        ++length;
    return length;
}

} // namespace Gfx
