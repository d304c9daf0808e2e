// The fog-edge table: one 40 x 40 sprite per mask of the 3 x 3 cells around a cell. Masks
// 0-511 shade cells that are not in sight by which neighbours are; masks 512-1023 black out
// unexplored ones by which neighbours are explored. Each pixel's cover is interpolated from
// the cells around it, so neighbouring cells meet without seams.
#include "tools/content/Art.h"
#include "tools/content/ContentIds.h"

#include <algorithm>
#include <cmath>

namespace Content {

namespace {

constexpr int Cell = 40;

double Smooth(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// How clear pixel (x, y) of the centre cell is: bilinear between the centres of the
// cells around it (bit set: clear).
double Clearness(int mask, double x, double y) {
    const auto clear = [mask](int cx, int cy) { // cx, cy in -1..1
        return (mask >> ((cy + 1) * 3 + (cx + 1)) & 1) != 0 ? 1.0 : 0.0;
    };
    const double u = (x + 0.5) / Cell - 0.5, v = (y + 0.5) / Cell - 0.5; // -0.5..0.5
    const int x0 = u < 0 ? -1 : 0, y0 = v < 0 ? -1 : 0;
    const double fx = u - x0, fy = v - y0;
    const double top = clear(x0, y0) * (1 - fx) + clear(x0 + 1, y0) * fx;
    const double bottom = clear(x0, y0 + 1) * (1 - fx) + clear(x0 + 1, y0 + 1) * fx;
    return Smooth(top * (1 - fy) + bottom * fy);
}

TPicture FogEdge(int mask, double opacity) {
    TPicture picture{Cell, Cell, {}};
    picture.Pixels.reserve(Cell * Cell);
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x) {
            const double cover = (1 - Clearness(mask, x, y)) * opacity;
            const auto alpha = uint32_t(std::lround(cover * 255));
            picture.Pixels.push_back(alpha << 24 | 0x080810);
        }
    return picture;
}

} // namespace

void DrawFogEdges(TLibrary& library) {
    for (int entry = 0; entry < 1024; ++entry) {
        const bool explored = entry >= 512;
        library.Add(CommonSlot::FirstFogEdge + uint32_t(entry),
                    {FogEdge(entry & 511, explored ? 1.0 : 0.55)}, BlendedOptions());
    }
}

} // namespace Content
