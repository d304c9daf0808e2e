#include "engine/graphics/GfxRects.h"

#include "engine/graphics/GfxPixels.h"

#include <algorithm>

namespace Gfx {

using namespace Win32;

void FillRect(IDirectDrawSurface7* surface, int32_t x, int32_t y, int32_t width, int32_t height,
              uint32_t colour, const RECT* clip) {
    if (!surface || width < 1 || height < 1)
        return;
    DDSURFACEDESC2 desc;
    if (surface->GetSurfaceDesc(&desc) != DD_OK)
        return;
    int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    int64_t right = std::min<int64_t>(int64_t(x) + width, desc.dwWidth);
    int64_t bottom = std::min<int64_t>(int64_t(y) + height, desc.dwHeight);
    if (clip) {
        left = std::max<int64_t>(left, clip->left);
        top = std::max<int64_t>(top, clip->top);
        right = std::min<int64_t>(right, clip->right);
        bottom = std::min<int64_t>(bottom, clip->bottom);
    }
    if (left >= right || top >= bottom)
        return;
    RECT area{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
    DDBLTFX fx;
    fx.dwSize = sizeof fx;
    fx.dwFillColor = IsDisplayRGB565 ? colour : ConvertPixel565To555(static_cast<uint16_t>(colour));
    surface->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

void FrameRect(IDirectDrawSurface7* surface, int32_t x, int32_t y, int32_t width, int32_t height,
               uint32_t colour, const RECT* clip) {
    const int64_t right = int64_t(x) + width - 1, bottom = int64_t(y) + height - 1;
    if (right > INT32_MAX || bottom > INT32_MAX)
        return;
    FillRect(surface, x, y, width, 1, colour, clip);
    FillRect(surface, x, int32_t(bottom), width, 1, colour, clip);
    FillRect(surface, x, y, 1, height, colour, clip);
    FillRect(surface, int32_t(right), y, 1, height, colour, clip);
}

} // namespace Gfx
