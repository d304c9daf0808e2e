// A surface description as files store it: the 124-byte DDSURFACEDESC2 of 32-bit
// DirectDraw, little-endian, its surface pointer kept as an opaque 32-bit word.
#pragma once

#include "platform/display/DDrawTypes.h"

#include <cstdint>

namespace Win32 {

#pragma pack(push, 1)
struct TStoredColorKey {
    uint32_t Low;
    uint32_t High;
};

struct TStoredSurfaceDesc {
    uint32_t Size;
    uint32_t Flags;
    uint32_t Height;
    uint32_t Width;
    int32_t PitchOrLinearSize;
    uint32_t BackBufferCount;
    uint32_t RefreshRate;
    uint32_t AlphaBitDepth;
    uint32_t Reserved;
    uint32_t Surface; // meaningless once stored
    TStoredColorKey DestOverlay;
    TStoredColorKey DestBlt;
    TStoredColorKey SourceOverlay;
    TStoredColorKey SourceBlt;
    DDPIXELFORMAT PixelFormat;
    DDSCAPS2 Caps;
    uint32_t TextureStage;
};
#pragma pack(pop)
static_assert(sizeof(TStoredSurfaceDesc) == DDSURFACEDESC2_SIZE);
static_assert(sizeof(DDSCAPS2) == 16);

inline TStoredSurfaceDesc ToStoredSurfaceDesc(const DDSURFACEDESC2& d) {
    const auto key = [](const DDCOLORKEY& k) {
        return TStoredColorKey{k.dwColorSpaceLowValue, k.dwColorSpaceHighValue};
    };
    return {DDSURFACEDESC2_SIZE,
            d.dwFlags,
            d.dwHeight,
            d.dwWidth,
            d.lPitch,
            d.dwBackBufferCount,
            d.dwRefreshRate,
            d.dwAlphaBitDepth,
            d.dwReserved,
            0,
            key(d.ddckCKDestOverlay),
            key(d.ddckCKDestBlt),
            key(d.ddckCKSrcOverlay),
            key(d.ddckCKSrcBlt),
            d.ddpfPixelFormat,
            d.ddsCaps,
            d.dwTextureStage};
}

inline DDSURFACEDESC2 FromStoredSurfaceDesc(const TStoredSurfaceDesc& s) {
    const auto key = [](const TStoredColorKey& k) { return DDCOLORKEY{k.Low, k.High}; };
    DDSURFACEDESC2 d;
    d.dwSize = DDSURFACEDESC2_SIZE;
    d.dwFlags = s.Flags;
    d.dwHeight = s.Height;
    d.dwWidth = s.Width;
    d.lPitch = s.PitchOrLinearSize;
    d.dwBackBufferCount = s.BackBufferCount;
    d.dwRefreshRate = s.RefreshRate;
    d.dwAlphaBitDepth = s.AlphaBitDepth;
    d.dwReserved = s.Reserved;
    d.ddckCKDestOverlay = key(s.DestOverlay);
    d.ddckCKDestBlt = key(s.DestBlt);
    d.ddckCKSrcOverlay = key(s.SourceOverlay);
    d.ddckCKSrcBlt = key(s.SourceBlt);
    d.ddpfPixelFormat = s.PixelFormat;
    d.ddsCaps = s.Caps;
    d.dwTextureStage = s.TextureStage;
    return d;
}

} // namespace Win32
