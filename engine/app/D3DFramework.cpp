// Construction and enumeration of the drivers, their display modes and 3D devices.
#include "engine/app/D3DFramework.h"

#include "engine/core/DXErrors.h"

#include <algorithm>
#include <exception>

namespace D3DFrame {

using namespace Win32;
using Base::EDirect3DError;
using Base::EDirectDrawError;
using ClassLib::Exception;

namespace {
constexpr size_t NameLength = 79; // the records keep names of at most 80 characters with the 0
constexpr size_t TitleLength = 255;

AnsiString Bounded(const char* text, size_t length) {
    return AnsiString(text).substr(0, length);
}

uint32_t RenderDepthFlag(uint32_t bits) {
    switch (bits) {
    case 32:
        return DDBD_32;
    case 24:
        return DDBD_24;
    case 16:
        return DDBD_16;
    case 8:
        return DDBD_8;
    default:
        return 0;
    }
}
} // namespace

std::unique_ptr<TD3DFramework> D3DFramework;

TD3DFramework::TD3DFramework(HWND window, const AnsiString& title, uint32_t flags, int32_t width,
                             int32_t height, int32_t bitsPerPixel, TModeFilter modeFilter)
    : FFlags(flags), FWindow(window), FTitle(title.substr(0, TitleLength)) {
    try {
        Enumerate(width, height, bitsPerPixel, modeFilter);
    } catch (...) {
        ReleaseAll();
        FAdapters.clear();
        throw;
    }
}

TD3DFramework::~TD3DFramework() {
    ReleaseAll();
    FAdapters.clear();
    FFlags = 0;
    FInitialised = false;
}

void TD3DFramework::Enumerate(int32_t width, int32_t height, int32_t bitsPerPixel,
                              TModeFilter filter) {
    struct TDriver {
        bool Primary;
        GUID Guid;
    };
    std::vector<TDriver> drivers;
    DirectDrawEnumerateExA(
        [&](const GUID* guid, const char*, const char*) {
            drivers.push_back({guid == nullptr, guid ? *guid : GUID{}});
            return true;
        },
        DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_DETACHEDSECONDARYDEVICES |
            DDENUM_NONDISPLAYDEVICES);
    for (const TDriver& driver : drivers) {
        // A driver that fails any step is left out; the others may still serve.
        try {
            FAdapters.push_back(EnumerateAdapter(driver.Primary ? nullptr : &driver.Guid, width,
                                                 height, bitsPerPixel, filter));
        } catch (const std::exception&) {
        }
    }
    if (FAdapters.empty())
        throw EDirectDrawError("No drivers or 3D devices were enumerated.");
    FDefaultAdapter = 0;
    FWindowedAdapter = -1;
    for (size_t i = 0; i < FAdapters.size() && FWindowedAdapter < 0; ++i)
        if (FAdapters[i].CanRenderWindowed)
            FWindowedAdapter = int32_t(i);
    FInitialised = true;
}

TD3DAdapterRecord TD3DFramework::EnumerateAdapter(const GUID* guid, int32_t width, int32_t height,
                                                  int32_t bitsPerPixel, TModeFilter filter) {
    TD3DAdapterRecord adapter;
    TRefPtr<IDirectDraw7> directDraw;
    HRESULT result = DirectDrawCreateEx(guid, directDraw);
    if (FAILED(result))
        throw EDirectDrawError("Can't create DirectDraw during enumeration (%s).", result);
    DDDEVICEIDENTIFIER2 identifier;
    result = directDraw->GetDeviceIdentifier(&identifier, 0);
    if (FAILED(result))
        throw EDirectDrawError("Can't get a device identifier during enumeration (%s).", result);
    adapter.DriverName = Bounded(identifier.szDriver, NameLength);
    adapter.Description = Bounded(identifier.szDescription, NameLength);
    adapter.Primary = guid == nullptr;
    if (guid)
        adapter.Guid = *guid;

    adapter.HardwareCaps.dwSize = DDCAPS_DX7_SIZE;
    adapter.EmulationCaps.dwSize = DDCAPS_DX7_SIZE;
    result = directDraw->GetCaps(&adapter.HardwareCaps, &adapter.EmulationCaps);
    if (FAILED(result))
        throw EDirectDrawError("Can't obtain DirectDraw capabilities during enumeration (%s).",
                               result);
    adapter.CanRenderWindowed = (adapter.HardwareCaps.dwCaps2 & DDCAPS2_CANRENDERWINDOWED) != 0;

    result = directDraw->EnumDisplayModes(0, nullptr, [&](const DDSURFACEDESC2& mode) {
        if (mode.ddpfPixelFormat.dwRGBBitCount > 8 && (!filter || filter(mode)))
            adapter.Modes.push_back(mode);
        return true;
    });
    if (FAILED(result) || adapter.Modes.empty())
        throw EDirectDrawError("Mode enumeration error or no modes (%s).", result);
    std::stable_sort(adapter.Modes.begin(), adapter.Modes.end(),
                     [](const DDSURFACEDESC2& a, const DDSURFACEDESC2& b) {
                         return std::tie(a.ddpfPixelFormat.dwRGBBitCount, a.dwWidth, a.dwHeight) <
                                std::tie(b.ddpfPixelFormat.dwRGBBitCount, b.dwWidth, b.dwHeight);
                     });
    adapter.DefaultMode = FindDefaultMode(adapter.Modes, width, height, bitsPerPixel);

    if (FFlags & UseDirect3D) {
        TRefPtr<IDirect3D7> direct3D;
        if (FAILED(directDraw->QueryInterface(IID_IDirect3D7, direct3D)))
            throw EDirect3DError("Can't create Direct3D during enumeration.");
        EnumerateDevices(*direct3D, adapter, width, height, bitsPerPixel);
        int32_t transformAndLight = -1, lastHardware = -1, lastSoftware = -1, reference = -1;
        for (size_t i = 0; i < adapter.Devices.size(); ++i) {
            const TD3DDeviceRecord& device = adapter.Devices[i];
            if (device.Hardware && device.Guid == IID_IDirect3DTnLHalDevice)
                transformAndLight = int32_t(i);
            else if (device.Hardware)
                lastHardware = int32_t(i);
            else if (device.Guid == IID_IDirect3DRefDevice)
                reference = int32_t(i);
            else
                lastSoftware = int32_t(i);
        }
        adapter.HardwareDevice = transformAndLight >= 0 ? transformAndLight : lastHardware;
        adapter.SoftwareDevice = lastSoftware >= 0 ? lastSoftware : reference;
    }
    return adapter;
}

void TD3DFramework::EnumerateDevices(IDirect3D7& direct3D, TD3DAdapterRecord& adapter,
                                     int32_t width, int32_t height, int32_t bitsPerPixel) {
    const HRESULT result = direct3D.EnumDevices(
        [&](const char* description, const char* name, const D3DDEVICEDESC7& desc) {
            // A device that fails any step is left out; the others may still serve.
            try {
                const bool needsNoZBuffer =
                    (desc.dpcTriCaps.dwRasterCaps & D3DPRASTERCAPS_ZBUFFERLESSHSR) != 0;
                if (!(adapter.HardwareCaps.ddsCaps.dwCaps & DDSCAPS_ZBUFFER) && !needsNoZBuffer)
                    throw Exception("Device doesn't support z-buffers.");
                TD3DDeviceRecord device;
                device.Description = Bounded(description, NameLength);
                device.Name = Bounded(name, NameLength);
                device.Desc = desc;
                device.Guid = desc.deviceGUID;
                device.Hardware = (desc.dwDevCaps & D3DDEVCAPS_HWRASTERIZATION) != 0;
                for (const DDSURFACEDESC2& mode : adapter.Modes)
                    if (desc.dwDeviceRenderBitDepth &
                        RenderDepthFlag(mode.ddpfPixelFormat.dwRGBBitCount))
                        device.Modes.push_back(mode);
                if (device.Modes.empty())
                    throw Exception("No modes available for device.");
                if (!needsNoZBuffer) {
                    const HRESULT zResult =
                        direct3D.EnumZBufferFormats(device.Guid, [&](const DDPIXELFORMAT& format) {
                            if (format.dwFlags == DDPF_ZBUFFER)
                                device.ZBufferFormats.push_back(format);
                            return true;
                        });
                    if (FAILED(zResult) || device.ZBufferFormats.empty())
                        throw EDirect3DError("Z-buffer enumeration error or no z-buffers (%s).",
                                             zResult);
                }
                device.DefaultMode = FindDefaultMode(device.Modes, width, height, bitsPerPixel);
                adapter.Devices.push_back(std::move(device));
            } catch (const std::exception&) {
            }
            return true;
        });
    if (FAILED(result) || adapter.Devices.empty())
        throw EDirect3DError("Device enumeration error or no devices (%s).", result);
}

int32_t TD3DFramework::FindDefaultMode(const std::vector<DDSURFACEDESC2>& modes, int32_t width,
                                       int32_t height, int32_t bitsPerPixel) const {
    for (size_t i = 0; i < modes.size(); ++i) {
        const DDSURFACEDESC2& mode = modes[i];
        if (int32_t(mode.dwWidth) == width && int32_t(mode.dwHeight) == height &&
            (!(FFlags & DefaultModeMatchesDepth) ||
             int32_t(mode.ddpfPixelFormat.dwRGBBitCount) == bitsPerPixel))
            return int32_t(i);
    }
    if (FFlags & DefaultModeRequired)
        throw Exception("Default mode not found.");
    return 0;
}

} // namespace D3DFrame
