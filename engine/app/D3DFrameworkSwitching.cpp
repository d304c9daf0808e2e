// Switching presentation, device and mode, with the fallbacks to the software device.
#include "engine/app/D3DFramework.h"

#include "engine/core/DXErrors.h"
#include "platform/win32/MessageBox.h"

namespace D3DFrame {

using namespace Win32;
using Base::ECreate3DDeviceError;
using Base::EDirect3DError;
using Base::EDirectDrawError;
using Base::EDirectXError;

namespace {
const char* const CouldNotCreateDevice = "\n\nCould not create 3D device. The 3D hardware may not "
                                         "support rendering in the current display mode.";
} // namespace

void TD3DFramework::SetFullScreen(int32_t adapter, int32_t device, int32_t mode) {
    SwitchPresentation(false, adapter, device, mode, nullptr);
}

void TD3DFramework::SetWindowed(int32_t adapter, int32_t device, const RECT& windowRect) {
    SwitchPresentation(true, adapter, device, -1, &windowRect);
}

void TD3DFramework::SetFullScreenDevice(int32_t device, int32_t mode) {
    ChooseDeviceAndMode(false, device, mode, nullptr);
}

void TD3DFramework::SetWindowedDevice(int32_t device, const RECT& windowRect) {
    ChooseDeviceAndMode(true, device, -1, &windowRect);
}

void TD3DFramework::SetFullScreenMode(int32_t mode) {
    ChooseDeviceAndMode(false, FDeviceInUse, mode, nullptr);
}

void TD3DFramework::SetWindowedMode(const RECT& windowRect) {
    ChooseDeviceAndMode(true, FDeviceInUse, -1, &windowRect);
}

void TD3DFramework::SetWindowPosition(int32_t x, int32_t y) {
    FWindowRect.right += x - FWindowRect.left;
    FWindowRect.bottom += y - FWindowRect.top;
    FWindowRect.left = x;
    FWindowRect.top = y;
}

void TD3DFramework::ReleaseAll() {
    ReleaseDevice();
    ReleaseSurfaces();
    if (FDirectDraw && !FWindowed) {
        FDirectDraw->RestoreDisplayMode();
        FDirectDraw->SetCooperativeLevel(FWindow, DDSCL_NORMAL);
    }
    FDirect3D.Reset();
    FDirectDraw.Reset();
}

void TD3DFramework::SwitchPresentation(bool windowed, int32_t adapter, int32_t device, int32_t mode,
                                       const RECT* windowRect) {
    ReleaseAll();
    FWindowed = windowed;
    if (adapter < 0 || adapter >= int32_t(FAdapters.size()))
        adapter = windowed && FWindowedAdapter >= 0 ? FWindowedAdapter : FDefaultAdapter;
    FAdapterInUse = adapter;
    const TD3DAdapterRecord& record = FAdapters[size_t(adapter)];
    try {
        HRESULT result = DirectDrawCreateEx(record.Primary ? nullptr : &record.Guid, FDirectDraw);
        if (FAILED(result))
            throw EDirectDrawError("Create DirectDraw failed (%s).", result);
        if ((FFlags & UseDirect3D) &&
            FAILED(FDirectDraw->QueryInterface(IID_IDirect3D7, FDirect3D)))
            throw EDirect3DError("Create Direct3D failed.");
        const uint32_t level = windowed ? DDSCL_NORMAL | DDSCL_FPUSETUP
                                        : DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_FPUSETUP;
        result = FDirectDraw->SetCooperativeLevel(FWindow, level);
        if (FAILED(result))
            throw EDirectDrawError("SetCooperativeLevel for DirectDraw failed (%s).", result);
    } catch (...) {
        ReleaseAll();
        throw;
    }
    ChooseDeviceAndMode(windowed, device, mode, windowRect);
}

bool TD3DFramework::HardwareDeviceInUse() const {
    if (!(FFlags & UseDirect3D) || FAdapterInUse < 0 || FDeviceInUse < 0)
        return false;
    return FAdapters[size_t(FAdapterInUse)].Devices[size_t(FDeviceInUse)].Hardware;
}

void TD3DFramework::ReleaseDeviceAndSurfaces() {
    ReleaseDevice();
    ReleaseSurfaces();
}

void TD3DFramework::ChooseDeviceAndMode(bool windowed, int32_t device, int32_t mode,
                                        const RECT* windowRect) {
    if (windowed != FWindowed || !FDirectDraw)
        return SwitchPresentation(windowed, FAdapterInUse, device, mode, windowRect);
    const TD3DAdapterRecord& adapter = FAdapters[size_t(FAdapterInUse)];
    try {
        CreateForChoice(windowed, device, mode, windowRect);
    } catch (ECreate3DDeviceError& error) {
        ReleaseDeviceAndSurfaces();
        if (!windowed || !HardwareDeviceInUse())
            throw;
        if ((FFlags & SoftwareFallback) && adapter.SoftwareDevice >= 0) {
            const AnsiString text =
                error.Message + CouldNotCreateDevice + " Switching to software rasterizer.";
            MessageBox(FWindow, text.c_str(), FTitle.c_str(), MB_ICONERROR);
            return ChooseDeviceAndMode(windowed, adapter.SoftwareDevice, mode, windowRect);
        }
        error.Message += AnsiString(CouldNotCreateDevice) +
                         " Change display mode of your desktop or select software rasterizer.";
        throw;
    } catch (EDirectXError& error) {
        ReleaseDeviceAndSurfaces();
        if (error.Code() != DDERR_OUTOFVIDEOMEMORY || !HardwareDeviceInUse())
            throw;
        int32_t softwareMode = -1;
        if (!windowed && adapter.SoftwareDevice >= 0) {
            const auto& modes = adapter.Devices[size_t(adapter.SoftwareDevice)].Modes;
            for (size_t i = 0; i < modes.size() && softwareMode < 0; ++i)
                if (modes[i].dwWidth == FCurrentMode.dwWidth &&
                    modes[i].dwHeight == FCurrentMode.dwHeight &&
                    modes[i].ddpfPixelFormat.dwRGBBitCount ==
                        FCurrentMode.ddpfPixelFormat.dwRGBBitCount)
                    softwareMode = int32_t(i);
        }
        if ((FFlags & SoftwareFallback) && adapter.SoftwareDevice >= 0 &&
            (windowed || softwareMode >= 0)) {
            const AnsiString text = error.Message +
                                    "\n\nNot enough video memory for hardware device. Switching "
                                    "to software rasterizer.";
            MessageBox(FWindow, text.c_str(), FTitle.c_str(), MB_ICONERROR);
            return ChooseDeviceAndMode(windowed, adapter.SoftwareDevice, softwareMode, windowRect);
        }
        error.Message += "\n\nNot enough video memory for hardware device.";
        throw;
    } catch (...) {
        ReleaseDeviceAndSurfaces();
        throw;
    }
}

void TD3DFramework::CreateForChoice(bool windowed, int32_t device, int32_t mode,
                                    const RECT* windowRect) {
    ReleaseDeviceAndSurfaces();
    const TD3DAdapterRecord& adapter = FAdapters[size_t(FAdapterInUse)];
    const std::vector<DDSURFACEDESC2>* modes = &adapter.Modes;
    int32_t defaultMode = adapter.DefaultMode;
    FDeviceInUse = -1;
    if (FFlags & UseDirect3D) {
        FDeviceInUse =
            device >= 0 && device < int32_t(adapter.Devices.size())
                ? device
                : (adapter.HardwareDevice >= 0 ? adapter.HardwareDevice : adapter.SoftwareDevice);
        modes = &adapter.Devices[size_t(FDeviceInUse)].Modes;
        defaultMode = adapter.Devices[size_t(FDeviceInUse)].DefaultMode;
    }
    if (!windowed) {
        FModeInUse = mode >= 0 && mode < int32_t(modes->size()) ? mode : defaultMode;
        FCurrentMode = (*modes)[size_t(FModeInUse)];
        FWindowRect = {0, 0, int32_t(FCurrentMode.dwWidth), int32_t(FCurrentMode.dwHeight)};
        const HRESULT result =
            FDirectDraw->SetDisplayMode(FCurrentMode.dwWidth, FCurrentMode.dwHeight,
                                        FCurrentMode.ddpfPixelFormat.dwRGBBitCount, 0, 0);
        if (FAILED(result))
            throw EDirectDrawError("SetDisplayMode failed (%s).", result);
    } else {
        FModeInUse = -1;
        FWindowRect = windowRect ? *windowRect : RECT{};
        const HRESULT result = FDirectDraw->GetDisplayMode(&FCurrentMode);
        if (FAILED(result))
            throw EDirectDrawError("GetDisplayMode failed (%s).", result);
        FCurrentMode.dwWidth = uint32_t(FWindowRect.right - FWindowRect.left);
        FCurrentMode.dwHeight = uint32_t(FWindowRect.bottom - FWindowRect.top);
        if (!adapter.CanRenderWindowed)
            throw EDirect3DError("Driver does not support windowed mode.");
        if (FCurrentMode.ddpfPixelFormat.dwRGBBitCount <= 8)
            throw EDirect3DError(
                "Application requires 16-bit or higher display mode to run in a window.");
    }
    CreateSurfaces();
    if (FFlags & UseDirect3D)
        CreateDevice();
}

} // namespace D3DFrame
