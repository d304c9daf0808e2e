// A window onto pixels in memory, as surfaces, textures and bitmaps hand them out.
#pragma once

#include <cstdint>

namespace Win32 {

struct TPixelView {
    uint8_t* Bits = nullptr;
    int32_t Pitch = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BytesPerPixel = 0;

    uint8_t* At(int32_t x, int32_t y) const { return Bits + y * Pitch + x * BytesPerPixel; }
};

} // namespace Win32
