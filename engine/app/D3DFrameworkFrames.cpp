// What exists between switches: surfaces, the device, textures and the per-frame calls.
#include "engine/app/D3DFramework.h"

#include "engine/core/DXErrors.h"

#include <algorithm>
#include <bit>

namespace D3DFrame {

using namespace Win32;
using Base::ECreate3DDeviceError;
using Base::EDirect3DError;
using Base::EDirectDrawError;

namespace {
uint32_t RoundUpToPowerOfTwo(int32_t size) {
    uint32_t power = 1;
    while (int64_t(power) < size)
        power <<= 1;
    return power;
}

uint32_t ColourByte(float value) {
    return uint32_t(std::clamp(int32_t(value * 255), 0, 255));
}
} // namespace

void InitSurfaceDesc(DDSURFACEDESC2& desc, uint32_t flags, uint32_t caps) {
    desc = {};
    desc.dwSize = DDSURFACEDESC2_SIZE;
    desc.dwFlags = flags;
    desc.ddsCaps.dwCaps = caps;
    desc.ddpfPixelFormat.dwSize = DDPIXELFORMAT_SIZE;
}

void ClearSurface(IDirectDrawSurface7* surface) {
    DDBLTFX fx;
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0;
    surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

bool IsRGB565(const DDSURFACEDESC2& desc) {
    const DDPIXELFORMAT& format = desc.ddpfPixelFormat;
    return format.dwRGBBitCount == 16 && format.dwRBitMask == 0xF800 &&
           format.dwGBitMask == 0x07E0 && format.dwBBitMask == 0x001F;
}

int32_t CountBits(uint32_t mask) {
    return std::popcount(mask);
}

bool TD3DFramework::FlipChain() const {
    return !FWindowed && !(FFlags & FullScreenWithoutFlip);
}

TD3DDeviceRecord* TD3DFramework::DeviceRecordInUse() {
    if (FAdapterInUse < 0 || FDeviceInUse < 0)
        return nullptr;
    return &FAdapters[size_t(FAdapterInUse)].Devices[size_t(FDeviceInUse)];
}

void TD3DFramework::CreateSurfaces() {
    const uint32_t device3D = (FFlags & UseDirect3D) ? DDSCAPS_3DDEVICE : 0;
    DDSURFACEDESC2 desc;
    if (FlipChain()) {
        InitSurfaceDesc(desc, DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
                        DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | device3D);
        desc.dwBackBufferCount = 1;
        FPrimary = CreateSurface(desc);
        DDSCAPS2 caps;
        caps.dwCaps = DDSCAPS_BACKBUFFER;
        const HRESULT result = FPrimary->GetAttachedSurface(caps, FBackBuffer);
        if (FAILED(result))
            throw EDirectDrawError("GetAttachedSurface failed (%s).", result);
        return;
    }
    InitSurfaceDesc(desc, DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    FPrimary = CreateSurface(desc);
    InitSurfaceDesc(desc, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN | device3D);
    desc.dwWidth = FCurrentMode.dwWidth;
    desc.dwHeight = FCurrentMode.dwHeight;
    FBackBuffer = CreateSurface(desc);
    if (!FWindowed)
        return;
    TRefPtr<IDirectDrawClipper> clipper;
    HRESULT result = FDirectDraw->CreateClipper(0, clipper);
    if (FAILED(result))
        throw EDirectDrawError("CreateClipper failed (%s).", result);
    result = clipper->SetHWnd(0, FWindow);
    if (FAILED(result))
        throw EDirectDrawError("Clipper SetHWnd failed (%s).", result);
    result = FPrimary->SetClipper(clipper.Get());
    if (FAILED(result))
        throw EDirectDrawError("SetClipper failed (%s).", result);
}

void TD3DFramework::ReleaseSurfaces() {
    // A lock or device context still held would point into the surface about to go.
    ReleaseBackBufferDC();
    UnlockBackBuffer();
    FBackBufferLocked = false;
    FBackBufferDCHeld = false;
    FBackBufferDC = nullptr;
    FBackBuffer.Reset();
    FPrimary.Reset();
}

void TD3DFramework::CreateDevice() {
    TD3DDeviceRecord& record = *DeviceRecordInUse();
    const HRESULT result = FDirect3D->CreateDevice(record.Guid, FBackBuffer.Get(), FDevice);
    if (FAILED(result))
        throw ECreate3DDeviceError("CreateDevice failed (%s).", result);
    SetViewport(0, 0, int32_t(FCurrentMode.dwWidth), int32_t(FCurrentMode.dwHeight));
    if (!record.TextureFormats.empty())
        return;
    std::vector<DDPIXELFORMAT> formats;
    const HRESULT enumResult = FDevice->EnumTextureFormats([&](const DDPIXELFORMAT& format) {
        const bool unwanted =
            format.dwFlags & (DDPF_LUMINANCE | DDPF_BUMPLUMINANCE | DDPF_BUMPDUDV);
        if (!unwanted && ((format.dwFlags & DDPF_FOURCC) || format.dwRGBBitCount >= 16))
            formats.push_back(format);
        return true;
    });
    if (FAILED(enumResult))
        throw EDirect3DError("Texture format enumeration error (%s).", enumResult);
    if (formats.empty())
        throw EDirect3DError("No texture formats enumerated.");
    record.TextureFormats = std::move(formats);
}

void TD3DFramework::ReleaseDevice() {
    if ((FFlags & UseDirect3D) && FDevice)
        SetTexture(nullptr, 0);
    // The next device starts with no texture on any stage; the cache must say the same.
    FTextureCache.fill(nullptr);
    FDevice.Reset();
}

TRefPtr<IDirectDrawSurface7> TD3DFramework::CreateSurface(DDSURFACEDESC2& desc) {
    TRefPtr<IDirectDrawSurface7> surface;
    const HRESULT result =
        FDirectDraw ? FDirectDraw->CreateSurface(desc, surface) : DDERR_NOTINITIALIZED;
    if (FAILED(result))
        throw EDirectDrawError("CreateSurface failed (%s).", result);
    return surface;
}

TRefPtr<IDirectDrawSurface7> TD3DFramework::CreateOffscreenSurface(int32_t width, int32_t height,
                                                                   uint32_t extraCaps) {
    DDSURFACEDESC2 desc;
    InitSurfaceDesc(desc, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN | extraCaps);
    desc.dwWidth = uint32_t(width);
    desc.dwHeight = uint32_t(height);
    return CreateSurface(desc);
}

TRefPtr<IDirectDrawSurface7> TD3DFramework::CreateTexture(int32_t width, int32_t height,
                                                          uint32_t stage,
                                                          const DDPIXELFORMAT* format) {
    const TD3DDeviceRecord* device = DeviceRecordInUse();
    if (!device || !FDirectDraw)
        throw EDirect3DError("Create texture failed (%s).", DDERR_NOTINITIALIZED);
    DDSURFACEDESC2 desc;
    InitSurfaceDesc(desc,
                    DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_TEXTURESTAGE,
                    DDSCAPS_TEXTURE | (device->Hardware ? 0 : DDSCAPS_SYSTEMMEMORY));
    desc.dwTextureStage = stage;
    if (device->Hardware)
        desc.ddsCaps.dwCaps2 = DDSCAPS2_TEXTUREMANAGE;

    if (format) {
        desc.ddpfPixelFormat = *format;
    } else {
        const auto& formats = device->TextureFormats;
        auto chosen = std::find_if(formats.begin(), formats.end(), [&](const DDPIXELFORMAT& f) {
            return f.dwRGBBitCount == FCurrentMode.ddpfPixelFormat.dwRGBBitCount &&
                   (f.dwFlags & DDPF_ALPHAPIXELS);
        });
        if (chosen == formats.end())
            chosen = std::find_if(formats.begin(), formats.end(), [](const DDPIXELFORMAT& f) {
                return f.dwRGBBitCount == 16 && (f.dwFlags & DDPF_ALPHAPIXELS);
            });
        if (chosen == formats.end())
            throw EDirect3DError("Proper texture format not found.");
        desc.ddpfPixelFormat = *chosen;
    }

    const uint32_t caps = device->Desc.dpcTriCaps.dwTextureCaps;
    uint32_t textureWidth = uint32_t(std::max(width, 0));
    uint32_t textureHeight = uint32_t(std::max(height, 0));
    if (caps & D3DPTEXTURECAPS_POW2) {
        textureWidth = RoundUpToPowerOfTwo(width);
        textureHeight = RoundUpToPowerOfTwo(height);
    }
    if (desc.ddpfPixelFormat.dwFlags & DDPF_FOURCC) {
        textureWidth = (textureWidth + 3) & ~3u;
        textureHeight = (textureHeight + 3) & ~3u;
    }
    const uint32_t maxWidth = device->Desc.dwMaxTextureWidth ? device->Desc.dwMaxTextureWidth : 256;
    const uint32_t maxHeight =
        device->Desc.dwMaxTextureHeight ? device->Desc.dwMaxTextureHeight : 256;
    textureWidth = std::max(std::min(textureWidth, maxWidth), device->Desc.dwMinTextureWidth);
    textureHeight = std::max(std::min(textureHeight, maxHeight), device->Desc.dwMinTextureHeight);
    if (caps & D3DPTEXTURECAPS_SQUAREONLY)
        textureWidth = textureHeight = std::max(textureWidth, textureHeight);
    desc.dwWidth = textureWidth;
    desc.dwHeight = textureHeight;

    TRefPtr<IDirectDrawSurface7> texture;
    const HRESULT result = FDirectDraw->CreateSurface(desc, texture);
    if (FAILED(result))
        throw EDirect3DError("Create texture failed (%s).", result);
    return texture;
}

void TD3DFramework::SetTexture(IDirectDrawSurface7* texture, uint32_t stage) {
    if (stage >= FTextureCache.size() || FTextureCache[stage] == texture)
        return;
    FTextureCache[stage] = texture;
    if (FDevice)
        FDevice->SetTexture(stage, texture);
}

void TD3DFramework::SetViewport(int32_t x, int32_t y, int32_t width, int32_t height) {
    const D3DVIEWPORT7 viewport{uint32_t(x),      uint32_t(y), uint32_t(width),
                                uint32_t(height), 0.0f,        1.0f};
    const HRESULT result = FDevice ? FDevice->SetViewport(&viewport) : DDERR_NOTINITIALIZED;
    if (FAILED(result))
        throw EDirect3DError("SetViewport failed (%s).", result);
}

void TD3DFramework::SetAmbientLight(float red, float green, float blue) {
    if (FDevice)
        FDevice->SetRenderState(D3DRENDERSTATE_AMBIENT, 0xFF000000u | ColourByte(red) << 16 |
                                                            ColourByte(green) << 8 |
                                                            ColourByte(blue));
}

void TD3DFramework::ClearBackBuffer() {
    if (FBackBuffer)
        ClearSurface(FBackBuffer.Get());
}

void TD3DFramework::ShowFrame() {
    if (!FPrimary || !FBackBuffer)
        return;
    if (FlipChain())
        FPrimary->Flip(nullptr, DDFLIP_WAIT);
    else
        FPrimary->Blt(&FWindowRect, FBackBuffer.Get(), nullptr, DDBLT_WAIT, nullptr);
}

bool TD3DFramework::LockBackBuffer() {
    if (!FBackBufferLocked && FBackBuffer) {
        FBackBufferDesc = {};
        FBackBufferDesc.dwSize = DDSURFACEDESC2_SIZE;
        FBackBufferLocked =
            SUCCEEDED(FBackBuffer->Lock(nullptr, &FBackBufferDesc, DDLOCK_WAIT, nullptr));
    }
    return FBackBufferLocked;
}

void TD3DFramework::UnlockBackBuffer() {
    if (FBackBufferLocked && FBackBuffer && SUCCEEDED(FBackBuffer->Unlock(nullptr)))
        FBackBufferLocked = false;
}

bool TD3DFramework::GetBackBufferDC() {
    if (!FBackBufferDCHeld && FBackBuffer)
        FBackBufferDCHeld = SUCCEEDED(FBackBuffer->GetDC(&FBackBufferDC));
    return FBackBufferDCHeld;
}

void TD3DFramework::ReleaseBackBufferDC() {
    if (FBackBufferDCHeld && FBackBuffer && SUCCEEDED(FBackBuffer->ReleaseDC(FBackBufferDC)))
        FBackBufferDCHeld = false;
}

bool TD3DFramework::IsSurfaceLost() const {
    const auto lost = [](const TRefPtr<IDirectDrawSurface7>& surface) {
        return surface && surface->IsLost() != DD_OK;
    };
    return FlipChain() ? lost(FPrimary) : lost(FPrimary) || lost(FBackBuffer);
}

int32_t TD3DFramework::TestCooperativeLevel() const {
    if (!FDirectDraw)
        return 2;
    const HRESULT result = FDirectDraw->TestCooperativeLevel();
    if (SUCCEEDED(result))
        return 0;
    return result == DDERR_EXCLUSIVEMODEALREADYSET ? 1 : 2;
}

bool TD3DFramework::RestoreAllSurfaces() {
    return FDirectDraw && SUCCEEDED(FDirectDraw->RestoreAllSurfaces());
}

} // namespace D3DFrame
