// Plain rectangles drawn by colour fill: filled and framed.
#pragma once

#include "platform/display/DirectDrawSurface.h"

#include <cstdint>

namespace Gfx {

// colour is an RGB565 value (converted on RGB555 displays). The rectangle is cut to the
// surface and to clip when given; nothing is drawn unless width and height are at least 1.
void FillRect(Win32::IDirectDrawSurface7* surface, int32_t x, int32_t y, int32_t width,
              int32_t height, uint32_t colour, const Win32::RECT* clip);
// A one-pixel frame just inside the rectangle.
void FrameRect(Win32::IDirectDrawSurface7* surface, int32_t x, int32_t y, int32_t width,
               int32_t height, uint32_t colour, const Win32::RECT* clip);

} // namespace Gfx
