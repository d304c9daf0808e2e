// Nearest-pixel scaling of ARGB images (width x height u32 pixels without gaps), and the
// word measure the text fitting uses.
#pragma once

#include <cstdint>

namespace Gfx {

// Maps the corner pixels onto each other; a destination side of 1 takes the source's
// first column or row.
void ScaleArgbNearest(const uint32_t* source, int sourceWidth, int sourceHeight,
                      uint32_t* destination, int destinationWidth, int destinationHeight);

// The number of characters before the first space, line feed, carriage return or 0.
int WordLength(const char* text);

} // namespace Gfx
