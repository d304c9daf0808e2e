#include "platform/display/TexelRuns.h"
#

#include <cstddef>
#include <cstring>

namespace Win32 {

TTexelRuns::TTexelRuns(const TPixelView& pixels)
    : FWidth(pixels.Width), FRunEnds(size_t(pixels.Width) * size_t(pixels.Height)) {
    const int bytes = pixels.BytesPerPixel;
    for (int32_t y = 0; y < pixels.Height; ++y) {
        const uint8_t* row = pixels.Bits + ptrdiff_t(y) * pixels.Pitch;
        uint16_t* ends = FRunEnds.data() + size_t(y) * size_t(FWidth);
        int32_t end = FWidth;
        for (int32_t x = FWidth - 1; x >= 0; --x) {
            if (x + 1 < FWidth &&
                std::memcmp(row + x * bytes, row + (x + 1) * bytes, size_t(bytes)))
                end = x + 1;
            ends[x] = uint16_t(end);
        }
    }
}

} // namespace Win32
