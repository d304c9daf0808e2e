// A device context stands for the pixels GDI would draw into: here the locked
// memory of a DirectDraw surface.
#pragma once

#include <cstdint>

namespace Win32 {

struct TDeviceContext {
    uint8_t* Bits = nullptr;
    int32_t Pitch = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitsPerPixel = 0;
};
using HDC = TDeviceContext*;

} // namespace Win32
