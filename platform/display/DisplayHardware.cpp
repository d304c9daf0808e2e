#include "platform/display/DisplayHardware.h"

#include "platform/NeverDestroyed.h"
#include "platform/display/PixelLayout.h"

namespace Win32 {

namespace {
TDisplayHardware& Installed() {
    static TNeverDestroyed<TDisplayHardware> hardware(DefaultDisplayHardware());
    return hardware.Get();
}

DDPIXELFORMAT ZBufferFormat(uint32_t bits) {
    DDPIXELFORMAT format;
    format.dwSize = DDPIXELFORMAT_SIZE;
    format.dwFlags = DDPF_ZBUFFER;
    format.dwRGBBitCount = bits;
    format.dwGBitMask = bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    return format;
}

TD3DDeviceHardware Device(const GUID& guid, bool hardware) {
    TD3DDeviceHardware device;
    device.Description = hardware ? "Direct3D hardware device" : "Direct3D software device";
    device.Name = hardware ? "Direct3D HAL" : "RGB Emulation";
    device.Desc.deviceGUID = guid;
    device.Desc.dwDevCaps = hardware ? D3DDEVCAPS_HWRASTERIZATION : 0;
    device.Desc.dpcTriCaps.dwSize = 56;
    device.Desc.dpcTriCaps.dwTextureCaps = D3DPTEXTURECAPS_ALPHA;
    device.Desc.dwDeviceRenderBitDepth = DDBD_16 | DDBD_32;
    device.Desc.dwDeviceZBufferBitDepth = DDBD_16;
    device.Desc.dwMinTextureWidth = 1;
    device.Desc.dwMinTextureHeight = 1;
    device.Desc.dwMaxTextureWidth = 2048;
    device.Desc.dwMaxTextureHeight = 2048;
    device.ZBufferFormats = {ZBufferFormat(16)};
    device.TextureFormats = {PixelFormatOf(TPixelLayout::ARGB8888),
                             PixelFormatOf(TPixelLayout::ARGB4444)};
    return device;
}
} // namespace

DDPIXELFORMAT RgbFormat(uint32_t bits, uint32_t alpha, uint32_t red, uint32_t green,
                        uint32_t blue) {
    DDPIXELFORMAT format;
    format.dwSize = DDPIXELFORMAT_SIZE;
    format.dwFlags = DDPF_RGB | (alpha ? DDPF_ALPHAPIXELS : 0);
    format.dwRGBBitCount = bits;
    format.dwRBitMask = red;
    format.dwGBitMask = green;
    format.dwBBitMask = blue;
    format.dwRGBAlphaBitMask = alpha;
    return format;
}

TD3DDeviceHardware HardwareDevice(const GUID& guid) {
    return Device(guid, true);
}

TD3DDeviceHardware SoftwareDevice(const GUID& guid) {
    return Device(guid, false);
}

TDisplayAdapterHardware DisplayAdapter() {
    TDisplayAdapterHardware adapter;
    adapter.Driver = "display";
    adapter.Description = "Varnholt software display";
    adapter.Primary = true;
    adapter.HardwareCaps.dwSize = DDCAPS_DX7_SIZE;
    adapter.HardwareCaps.dwCaps2 = DDCAPS2_CANRENDERWINDOWED;
    adapter.HardwareCaps.ddsCaps.dwCaps = DDSCAPS_3DDEVICE | DDSCAPS_TEXTURE | DDSCAPS_ZBUFFER |
                                          DDSCAPS_PRIMARYSURFACE | DDSCAPS_OFFSCREENPLAIN;
    adapter.EmulationCaps = adapter.HardwareCaps;
    for (uint32_t bits : {16u, 32u})
        for (auto [width, height] : {std::pair{640u, 480u}, {800u, 600u}, {1024u, 768u}})
            adapter.Modes.push_back({width, height, bits});
    adapter.Desktop = {1280, 1024, 32};
    adapter.Devices = {HardwareDevice()};
    return adapter;
}

TDisplayHardware DefaultDisplayHardware() {
    return {{DisplayAdapter()}};
}

void InstallDisplayHardware(TDisplayHardware hardware) {
    Installed() = std::move(hardware);
}

const TDisplayHardware& InstalledDisplayHardware() {
    return Installed();
}

} // namespace Win32
