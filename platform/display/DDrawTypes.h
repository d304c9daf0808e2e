// DirectDraw 7 structures and flags, with the values DirectX gives them. The
// structures are our own and hold only the fields the engine reads or sets.
#pragma once

#include "platform/Guid.h"
#include "platform/WinTypes.h"
#include "platform/display/DeviceContext.h"

#include <cstdint>

namespace Win32 {

// Surface description fields (DDSURFACEDESC2::dwFlags).
constexpr uint32_t DDSD_CAPS = 0x1;
constexpr uint32_t DDSD_HEIGHT = 0x2;
constexpr uint32_t DDSD_WIDTH = 0x4;
constexpr uint32_t DDSD_PITCH = 0x8;
constexpr uint32_t DDSD_BACKBUFFERCOUNT = 0x20;
constexpr uint32_t DDSD_LPSURFACE = 0x800;
constexpr uint32_t DDSD_PIXELFORMAT = 0x1000;
constexpr uint32_t DDSD_CKSRCBLT = 0x10000;
constexpr uint32_t DDSD_REFRESHRATE = 0x40000;
constexpr uint32_t DDSD_LINEARSIZE = 0x80000;
constexpr uint32_t DDSD_TEXTURESTAGE = 0x100000;

// Surface capabilities (DDSCAPS2::dwCaps).
constexpr uint32_t DDSCAPS_BACKBUFFER = 0x4;
constexpr uint32_t DDSCAPS_COMPLEX = 0x8;
constexpr uint32_t DDSCAPS_FLIP = 0x10;
constexpr uint32_t DDSCAPS_FRONTBUFFER = 0x20;
constexpr uint32_t DDSCAPS_OFFSCREENPLAIN = 0x40;
constexpr uint32_t DDSCAPS_PRIMARYSURFACE = 0x200;
constexpr uint32_t DDSCAPS_SYSTEMMEMORY = 0x800;
constexpr uint32_t DDSCAPS_TEXTURE = 0x1000;
constexpr uint32_t DDSCAPS_3DDEVICE = 0x2000;
constexpr uint32_t DDSCAPS_VIDEOMEMORY = 0x4000;
constexpr uint32_t DDSCAPS_ZBUFFER = 0x20000;
// DDSCAPS2::dwCaps2.
constexpr uint32_t DDSCAPS2_TEXTUREMANAGE = 0x10;

// Pixel format flags (DDPIXELFORMAT::dwFlags).
constexpr uint32_t DDPF_ALPHAPIXELS = 0x1;
constexpr uint32_t DDPF_FOURCC = 0x4;
constexpr uint32_t DDPF_PALETTEINDEXED8 = 0x20;
constexpr uint32_t DDPF_RGB = 0x40;
constexpr uint32_t DDPF_ZBUFFER = 0x400;
constexpr uint32_t DDPF_LUMINANCE = 0x20000;
constexpr uint32_t DDPF_BUMPLUMINANCE = 0x40000;
constexpr uint32_t DDPF_BUMPDUDV = 0x80000;

// Blt flags.
constexpr uint32_t DDBLT_COLORFILL = 0x400;
constexpr uint32_t DDBLT_DDFX = 0x800;
constexpr uint32_t DDBLT_KEYSRC = 0x8000;
constexpr uint32_t DDBLT_KEYSRCOVERRIDE = 0x10000;
constexpr uint32_t DDBLT_ROTATIONANGLE = 0x40000;
constexpr uint32_t DDBLT_WAIT = 0x1000000;

// DDBLTFX::dwDDFX, with DDBLT_DDFX.
constexpr uint32_t DDBLTFX_MIRRORLEFTRIGHT = 0x2;

constexpr uint32_t DDLOCK_WAIT = 0x1;
constexpr uint32_t DDLOCK_READONLY = 0x10;
constexpr uint32_t DDLOCK_WRITEONLY = 0x20;
constexpr uint32_t DDFLIP_WAIT = 0x1;

// Colour key kinds for SetColorKey and GetColorKey.
constexpr uint32_t DDCKEY_DESTBLT = 0x2;
constexpr uint32_t DDCKEY_SRCBLT = 0x8;

// Cooperative levels.
constexpr uint32_t DDSCL_FULLSCREEN = 0x1;
constexpr uint32_t DDSCL_NORMAL = 0x8;
constexpr uint32_t DDSCL_EXCLUSIVE = 0x10;
constexpr uint32_t DDSCL_FPUSETUP = 0x200;

// DirectDrawEnumerateEx flags.
constexpr uint32_t DDENUM_ATTACHEDSECONDARYDEVICES = 0x1;
constexpr uint32_t DDENUM_DETACHEDSECONDARYDEVICES = 0x2;
constexpr uint32_t DDENUM_NONDISPLAYDEVICES = 0x4;

// Driver capabilities (DDCAPS::dwCaps2).
constexpr uint32_t DDCAPS2_CANRENDERWINDOWED = 0x80000;

// Bit depths a 3D device renders to (D3DDEVICEDESC7::dwDeviceRenderBitDepth).
constexpr uint32_t DDBD_8 = 0x800;
constexpr uint32_t DDBD_16 = 0x400;
constexpr uint32_t DDBD_24 = 0x200;
constexpr uint32_t DDBD_32 = 0x100;

constexpr uint32_t DDSURFACEDESC2_SIZE = 124; // the size the engine's stored records use
constexpr uint32_t DDPIXELFORMAT_SIZE = 32;
constexpr uint32_t DDCAPS_DX7_SIZE = 380;

struct DDPIXELFORMAT {
    uint32_t dwSize = 0;
    uint32_t dwFlags = 0;
    uint32_t dwFourCC = 0;
    uint32_t dwRGBBitCount = 0;
    uint32_t dwRBitMask = 0;
    uint32_t dwGBitMask = 0;
    uint32_t dwBBitMask = 0;
    uint32_t dwRGBAlphaBitMask = 0;
};
static_assert(sizeof(DDPIXELFORMAT) == DDPIXELFORMAT_SIZE);

struct DDCOLORKEY {
    uint32_t dwColorSpaceLowValue = 0;
    uint32_t dwColorSpaceHighValue = 0;
};

struct DDSCAPS2 {
    uint32_t dwCaps = 0;
    uint32_t dwCaps2 = 0;
    uint32_t dwCaps3 = 0;
    uint32_t dwCaps4 = 0;
};

struct DDSURFACEDESC2 {
    uint32_t dwSize = 0;
    uint32_t dwFlags = 0;
    uint32_t dwHeight = 0;
    uint32_t dwWidth = 0;
    int32_t lPitch = 0; // shares its slot with the linear size
    uint32_t dwBackBufferCount = 0;
    uint32_t dwRefreshRate = 0;
    uint32_t dwAlphaBitDepth = 0;
    uint32_t dwReserved = 0;
    void* lpSurface = nullptr;
    DDCOLORKEY ddckCKDestOverlay;
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
    uint32_t dwTextureStage = 0;
};

struct DDBLTFX {
    uint32_t dwSize = 0;
    uint32_t dwDDFX = 0;          // DDBLTFX_ effects
    uint32_t dwRotationAngle = 0; // hundredths of a degree
    uint32_t dwFillColor = 0;     // a pixel value of the destination's format
    DDCOLORKEY ddckSrcColorkey;
};

struct DDCAPS {
    uint32_t dwSize = 0;
    uint32_t dwCaps = 0;
    uint32_t dwCaps2 = 0;
    uint32_t dwCKeyCaps = 0;
    uint32_t dwFXCaps = 0;
    uint32_t dwVidMemTotal = 0;
    uint32_t dwVidMemFree = 0;
    DDSCAPS2 ddsCaps;
};

struct DDDEVICEIDENTIFIER2 {
    char szDriver[512] = {};
    char szDescription[512] = {};
    GUID guidDeviceIdentifier;
};

} // namespace Win32
