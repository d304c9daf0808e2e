// A colour-keyed surface as its opaque spans, row by row: a keyed blit then copies whole
// spans with no test per pixel, which is what makes thousands of sprites a frame cheap.
// The spans describe the pixels and key they were built from; the surface drops them
// whenever its pixels may change.
#pragma once

#include "platform/PixelView.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <vector>

namespace Win32 {

class TKeyedRuns {
public:
    TKeyedRuns(const TPixelView& pixels, uint32_t key);

    uint32_t Key() const { return FKey; }

    // What CopyPixels does with this key: the source rectangle of the pixels the runs were
    // built from onto target at (x, y). Source and target must be different pixels.
    void Copy(const TPixelView& target, int32_t x, int32_t y, const TPixelView& source,
              const RECT& sourceRect) const;

    // Byte offsets in the row, the end exclusive.
    struct TSpan {
        uint32_t Start;
        uint32_t End;
    };

    // Blits of part of a surface (a glyph from a sheet of glyphs) find their first span
    // through an index of the rows in blocks of this many pixels.
    static constexpr uint32_t BlockPixels = 32;

private:
    uint32_t FKey;
    std::vector<TSpan> FSpans;
    // Per row, FBlocks + 1 span indices: for each block the first span that ends after the
    // block's start, then the end of the row's spans.
    std::vector<uint32_t> FIndex;
    uint32_t FBlocks = 0;
};

} // namespace Win32
