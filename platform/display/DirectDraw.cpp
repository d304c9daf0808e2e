#include "platform/display/DirectDraw.h"

#include "platform/display/SdlDisplayWindow.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace Win32 {

using namespace Win32;

namespace {
constexpr uint32_t MaxSurfaceSide = 16384;

DDPIXELFORMAT ModeFormat(uint32_t bits, bool rgb555) {
    switch (bits) {
    case 16:
        return PixelFormatOf(rgb555 ? TPixelLayout::RGB555 : TPixelLayout::RGB565);
    case 24:
        return PixelFormatOf(TPixelLayout::RGB888);
    case 32:
        return PixelFormatOf(TPixelLayout::XRGB8888);
    default: {
        DDPIXELFORMAT format;
        format.dwSize = DDPIXELFORMAT_SIZE;
        format.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
        format.dwRGBBitCount = bits;
        return format;
    }
    }
}

DDSURFACEDESC2 ModeDesc(const TDisplayModeHardware& mode, bool rgb555) {
    DDSURFACEDESC2 desc;
    desc.dwSize = DDSURFACEDESC2_SIZE;
    desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
    desc.dwWidth = mode.Width;
    desc.dwHeight = mode.Height;
    desc.lPitch = int32_t(mode.Width * ((mode.BitsPerPixel + 7) / 8));
    desc.dwRefreshRate = 60;
    desc.ddpfPixelFormat = ModeFormat(mode.BitsPerPixel, rgb555);
    return desc;
}

void CopyBounded(char* target, size_t size, const AnsiString& text) {
    const size_t length = std::min(size - 1, text.size());
    std::memcpy(target, text.data(), length);
    target[length] = 0;
}

HRESULT MakeSurface(const std::shared_ptr<TDisplayState>& display, const DDSURFACEDESC2& desc,
                    TPixelLayout layout, bool hasPixels, TRefPtr<IDirectDrawSurface7>& surface) {
    try {
        surface = MakeRef<IDirectDrawSurface7>(display, desc, layout, hasPixels);
        return DD_OK;
    } catch (const std::bad_alloc&) {
        return DDERR_OUTOFMEMORY;
    }
}
} // namespace

DDPIXELFORMAT TDisplayState::DisplayFormat() const {
    return ModeFormat(Mode.BitsPerPixel, Adapter.Rgb555);
}

HRESULT IDirectDrawClipper::SetHWnd(uint32_t /*flags*/, HWND window) {
    FWindow = window;
    return DD_OK;
}

IDirectDraw7::IDirectDraw7(const TDisplayAdapterHardware& adapter)
    : FDisplay(std::make_shared<TDisplayState>()) {
    FDisplay->Adapter = adapter;
    FDisplay->Mode = adapter.Desktop;
}

HRESULT IDirectDraw7::GetDeviceIdentifier(DDDEVICEIDENTIFIER2* identifier,
                                          uint32_t /*flags*/) const {
    if (!identifier)
        return DDERR_INVALIDPARAMS;
    *identifier = {};
    CopyBounded(identifier->szDriver, sizeof identifier->szDriver, FDisplay->Adapter.Driver);
    CopyBounded(identifier->szDescription, sizeof identifier->szDescription,
                FDisplay->Adapter.Description);
    identifier->guidDeviceIdentifier = FDisplay->Adapter.Guid;
    return DD_OK;
}

HRESULT IDirectDraw7::GetCaps(DDCAPS* hardware, DDCAPS* emulation) const {
    if (!hardware && !emulation)
        return DDERR_INVALIDPARAMS;
    if (hardware)
        *hardware = FDisplay->Adapter.HardwareCaps;
    if (emulation)
        *emulation = FDisplay->Adapter.EmulationCaps;
    return DD_OK;
}

HRESULT
IDirectDraw7::EnumDisplayModes(uint32_t /*flags*/, const DDSURFACEDESC2* /*filter*/,
                               const std::function<bool(const DDSURFACEDESC2&)>& callback) const {
    const TDisplayAdapterHardware& adapter = FDisplay->Adapter;
    if (FAILED(adapter.EnumModesResult))
        return adapter.EnumModesResult;
    for (const TDisplayModeHardware& mode : adapter.Modes)
        if (!callback(ModeDesc(mode, adapter.Rgb555)))
            break;
    return DD_OK;
}

HRESULT IDirectDraw7::SetCooperativeLevel(HWND window, uint32_t flags) {
    const bool fullScreen = (flags & DDSCL_FULLSCREEN) != 0;
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    const bool normal = (flags & DDSCL_NORMAL) != 0;
    if (fullScreen != exclusive || normal == exclusive)
        return DDERR_INVALIDPARAMS;
    if (normal && FDisplay->ModeSet)
        RestoreDisplayMode();
    FDisplay->Window = window;
    FDisplay->CooperativeLevel = flags;
    return DD_OK;
}

HRESULT IDirectDraw7::SetDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                                     uint32_t /*refreshRate*/, uint32_t /*flags*/) {
    if (!FDisplay->Exclusive())
        return DDERR_NOEXCLUSIVEMODE;
    const auto& modes = FDisplay->Adapter.Modes;
    const auto mode = std::find_if(modes.begin(), modes.end(), [&](const auto& m) {
        return m.Width == width && m.Height == height && m.BitsPerPixel == bitsPerPixel;
    });
    if (mode == modes.end())
        return DDERR_INVALIDMODE;
    FDisplay->Mode = *mode;
    FDisplay->ModeSet = true;
    // A mode change takes the contents of every surface, as on the real display.
    for (IDirectDrawSurface7* surface : FDisplay->Surfaces)
        surface->MarkLost();
    if (SdlDisplayWindow* display = SdlDisplayWindow::Of(FDisplay->Window))
        display->SetFullScreen(true);
    return DD_OK;
}

HRESULT IDirectDraw7::GetDisplayMode(DDSURFACEDESC2* desc) const {
    if (!desc)
        return DDERR_INVALIDPARAMS;
    *desc = ModeDesc(FDisplay->Mode, FDisplay->Adapter.Rgb555);
    return DD_OK;
}

HRESULT IDirectDraw7::RestoreDisplayMode() {
    FDisplay->Mode = FDisplay->Adapter.Desktop;
    FDisplay->ModeSet = false;
    if (SdlDisplayWindow* display = SdlDisplayWindow::Of(FDisplay->Window))
        display->SetFullScreen(false);
    return DD_OK;
}

HRESULT IDirectDraw7::CreateSurface(const DDSURFACEDESC2& desc,
                                    TRefPtr<IDirectDrawSurface7>& surface) {
    surface.Reset();
    if (!(desc.dwFlags & DDSD_CAPS))
        return DDERR_INVALIDPARAMS;
    if (FDisplay->Adapter.SurfaceFault)
        if (const HRESULT fault = FDisplay->Adapter.SurfaceFault(desc); FAILED(fault))
            return fault;
    if (desc.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE)
        return CreatePrimary(desc, surface);
    if ((desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) ||
        desc.dwWidth == 0 || desc.dwHeight == 0 || desc.dwWidth > MaxSurfaceSide ||
        desc.dwHeight > MaxSurfaceSide)
        return DDERR_INVALIDPARAMS;
    const TPixelLayout layout = LayoutOf(
        (desc.dwFlags & DDSD_PIXELFORMAT) ? desc.ddpfPixelFormat : FDisplay->DisplayFormat());
    if (layout == TPixelLayout::Unsupported)
        return DDERR_INVALIDPIXELFORMAT;
    return MakeSurface(FDisplay, desc, layout, true, surface);
}

HRESULT IDirectDraw7::CreatePrimary(const DDSURFACEDESC2& desc,
                                    TRefPtr<IDirectDrawSurface7>& surface) {
    if (FDisplay->CooperativeLevel == 0)
        return DDERR_NOCOOPERATIVELEVELSET;
    if (FDisplay->PrimaryExists)
        return DDERR_PRIMARYSURFACEALREADYEXISTS;
    const TPixelLayout layout = LayoutOf(FDisplay->DisplayFormat());
    if (layout == TPixelLayout::Unsupported)
        return DDERR_INVALIDMODE;
    DDSURFACEDESC2 primaryDesc = desc;
    primaryDesc.dwWidth = FDisplay->Mode.Width;
    primaryDesc.dwHeight = FDisplay->Mode.Height;
    const bool flipChain = (desc.ddsCaps.dwCaps & DDSCAPS_FLIP) != 0;
    if (!flipChain) // shown by blitting onto it: it has no pixels of its own
        return MakeSurface(FDisplay, primaryDesc, layout, false, surface);

    if (!FDisplay->Exclusive())
        return DDERR_NOEXCLUSIVEMODE;
    if (!(desc.ddsCaps.dwCaps & DDSCAPS_COMPLEX) || !(desc.dwFlags & DDSD_BACKBUFFERCOUNT) ||
        desc.dwBackBufferCount != 1)
        return DDERR_INVALIDPARAMS;
    primaryDesc.ddsCaps.dwCaps |= DDSCAPS_FRONTBUFFER;
    TRefPtr<IDirectDrawSurface7> backBuffer;
    DDSURFACEDESC2 backDesc = primaryDesc;
    backDesc.dwFlags &= ~DDSD_BACKBUFFERCOUNT;
    backDesc.dwBackBufferCount = 0;
    backDesc.ddsCaps.dwCaps = DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX |
                              (desc.ddsCaps.dwCaps & DDSCAPS_3DDEVICE);
    if (const HRESULT result = MakeSurface(FDisplay, backDesc, layout, true, backBuffer);
        FAILED(result))
        return result;
    if (const HRESULT result = MakeSurface(FDisplay, primaryDesc, layout, true, surface);
        FAILED(result))
        return result;
    surface->Attach(std::move(backBuffer));
    return DD_OK;
}

HRESULT IDirectDraw7::CreateClipper(uint32_t /*flags*/, TRefPtr<IDirectDrawClipper>& clipper) {
    clipper = MakeRef<IDirectDrawClipper>();
    return DD_OK;
}

HRESULT IDirectDraw7::TestCooperativeLevel() const {
    return FDisplay->Loss;
}

HRESULT IDirectDraw7::RestoreAllSurfaces() {
    if (FAILED(FDisplay->Loss))
        return FDisplay->Loss;
    for (IDirectDrawSurface7* surface : FDisplay->Surfaces)
        surface->Restore();
    return DD_OK;
}

void IDirectDraw7::SimulateDisplayTaken(HRESULT state) {
    FDisplay->Loss = state;
    for (IDirectDrawSurface7* surface : FDisplay->Surfaces)
        surface->MarkLost();
}

void IDirectDraw7::SimulateDisplayReturned() {
    FDisplay->Loss = DD_OK;
}

HRESULT DirectDrawEnumerateExA(const TDDEnumCallback& callback, uint32_t /*flags*/) {
    for (const TDisplayAdapterHardware& adapter : InstalledDisplayHardware().Adapters)
        if (!callback(adapter.Primary ? nullptr : &adapter.Guid, adapter.Description.c_str(),
                      adapter.Driver.c_str()))
            break;
    return DD_OK;
}

HRESULT DirectDrawCreateEx(const GUID* guid, TRefPtr<IDirectDraw7>& directDraw) {
    directDraw.Reset();
    for (const TDisplayAdapterHardware& adapter : InstalledDisplayHardware().Adapters)
        if (guid ? (!adapter.Primary && adapter.Guid == *guid) : adapter.Primary) {
            directDraw = MakeRef<IDirectDraw7>(adapter);
            return DD_OK;
        }
    return DDERR_INVALIDDIRECTDRAWGUID;
}

} // namespace Win32
