// Where each texel's run of equal texels ends along its row. With it the rasteriser sees
// that a span samples one texel value only, and blends that value without sampling each
// pixel; built once for a texture and dropped when its pixels change.
#pragma once

#include "platform/PixelView.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Win32 {

class TTexelRuns {
public:
    explicit TTexelRuns(const TPixelView& pixels);

    // The first column after x in row y whose texel differs from that at (x, y), or the
    // row's width.
    int32_t RunEnd(int32_t x, int32_t y) const {
        return FRunEnds[size_t(y) * size_t(FWidth) + size_t(x)];
    }
    // Rows too wide for the table have no runs.
    static bool Fits(const TPixelView& pixels) { return pixels.Width <= 65535; }

private:
    int32_t FWidth;
    std::vector<uint16_t> FRunEnds;
};

} // namespace Win32
