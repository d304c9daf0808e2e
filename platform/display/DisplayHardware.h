// The display hardware our DirectDraw and Direct3D stand-ins report: by default one
// adapter ("the display") with one hardware 3D device, modes 640x480, 800x600 and
// 1024x768 at 16 (RGB565) and 32 bits. Tests install other machines to reach every
// choice the engine makes: more drivers, software devices, texture limits, failures.
#pragma once

#include "platform/ResultCodes.h"
#include "platform/classlib/AnsiString.h"
#include "platform/display/D3DTypes.h"

#include <functional>
#include <vector>

namespace Win32 {

using ClassLib::AnsiString;

struct TDisplayModeHardware {
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint32_t BitsPerPixel = 0;
};

struct TD3DDeviceHardware {
    AnsiString Description;
    AnsiString Name;
    D3DDEVICEDESC7 Desc; // its deviceGUID identifies the device
    std::vector<DDPIXELFORMAT> ZBufferFormats;
    std::vector<DDPIXELFORMAT> TextureFormats;
    HRESULT CreateResult = Win32::DD_OK; // a failure here makes CreateDevice fail
    HRESULT EnumZBufferFormatsResult = Win32::DD_OK;
    HRESULT EnumTextureFormatsResult = Win32::DD_OK;
};

struct TDisplayAdapterHardware {
    AnsiString Driver;
    AnsiString Description;
    bool Primary = true; // enumerated with a null GUID
    GUID Guid;
    DDCAPS HardwareCaps;
    DDCAPS EmulationCaps;
    std::vector<TDisplayModeHardware> Modes;
    bool Rgb555 = false; // 16-bit modes use X1R5G5B5 instead of RGB565
    HRESULT EnumModesResult = Win32::DD_OK;
    TDisplayModeHardware Desktop;
    bool HasDirect3D = true;
    std::vector<TD3DDeviceHardware> Devices;
    // Consulted before a surface is made; a failure code makes CreateSurface fail with it.
    std::function<HRESULT(const DDSURFACEDESC2&)> SurfaceFault;
};

struct TDisplayHardware {
    std::vector<TDisplayAdapterHardware> Adapters;
};

// Pieces for building machines.
DDPIXELFORMAT RgbFormat(uint32_t bits, uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue);
TD3DDeviceHardware HardwareDevice(const GUID& guid = IID_IDirect3DHALDevice);
TD3DDeviceHardware SoftwareDevice(const GUID& guid = IID_IDirect3DRGBDevice);
TDisplayAdapterHardware DisplayAdapter(); // the default adapter with its hardware device
TDisplayHardware DefaultDisplayHardware();

// The machine DirectDrawEnumerateExA and DirectDrawCreateEx see from now on.
void InstallDisplayHardware(TDisplayHardware hardware);
const TDisplayHardware& InstalledDisplayHardware();

} // namespace Win32
