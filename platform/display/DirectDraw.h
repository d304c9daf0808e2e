// DirectDraw 7 over the installed display hardware (DisplayHardware.h): driver
// enumeration, the DirectDraw object with its display modes and surfaces, clippers.
// What reaches the primary surface is shown by the display window attached to the
// window given to SetCooperativeLevel (SdlDisplayWindow.h); without one nothing is
// shown. Display modes never change the real screen: a full-screen mode shows the
// window full screen on the desktop with the mode's picture scaled to fit.
#pragma once

#include "platform/display/DirectDrawSurface.h"
#include "platform/display/DisplayHardware.h"

#include <functional>
#include <memory>
#include <vector>

namespace Win32 {

class IDirect3D7;

// What a DirectDraw object and its surfaces share; outlives the object while surfaces remain.
struct TDisplayState {
    TDisplayAdapterHardware Adapter;
    HWND Window = nullptr;
    uint32_t CooperativeLevel = 0;
    bool ModeSet = false;
    TDisplayModeHardware Mode; // the desktop until a mode is set
    bool PrimaryExists = false;
    std::vector<IDirectDrawSurface7*> Surfaces; // every live surface, not owned
    HRESULT Loss = Win32::DD_OK; // another program holds the display while this fails

    bool Exclusive() const { return (CooperativeLevel & DDSCL_EXCLUSIVE) != 0; }
    DDPIXELFORMAT DisplayFormat() const;
};

class IDirectDrawClipper : public IUnknown {
public:
    HRESULT SetHWnd(uint32_t flags, HWND window);
    HWND Window() const { return FWindow; }

private:
    HWND FWindow = nullptr;
};

class IDirectDraw7 : public IUnknown {
public:
    explicit IDirectDraw7(const TDisplayAdapterHardware& adapter);

    HRESULT GetDeviceIdentifier(DDDEVICEIDENTIFIER2* identifier, uint32_t flags) const;
    HRESULT GetCaps(DDCAPS* hardware, DDCAPS* emulation) const;
    // The callback returns false to stop the enumeration.
    HRESULT EnumDisplayModes(uint32_t flags, const DDSURFACEDESC2* filter,
                             const std::function<bool(const DDSURFACEDESC2&)>& callback) const;
    HRESULT QueryInterface(const GUID& iid, TRefPtr<IDirect3D7>& direct3D);
    HRESULT SetCooperativeLevel(HWND window, uint32_t flags);
    HRESULT SetDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel,
                           uint32_t refreshRate, uint32_t flags);
    HRESULT GetDisplayMode(DDSURFACEDESC2* desc) const;
    HRESULT RestoreDisplayMode();
    HRESULT CreateSurface(const DDSURFACEDESC2& desc, TRefPtr<IDirectDrawSurface7>& surface);
    HRESULT CreateClipper(uint32_t flags, TRefPtr<IDirectDrawClipper>& clipper);
    HRESULT TestCooperativeLevel() const;
    HRESULT RestoreAllSurfaces();

    // Stand-ins for another program taking the display away and giving it back: every
    // surface is lost, TestCooperativeLevel reports state until the display returns,
    // and restoring fails meanwhile.
    void SimulateDisplayTaken(HRESULT state = Win32::DDERR_EXCLUSIVEMODEALREADYSET);
    void SimulateDisplayReturned();

    const std::shared_ptr<TDisplayState>& Display() const { return FDisplay; }

private:
    HRESULT CreatePrimary(const DDSURFACEDESC2& desc, TRefPtr<IDirectDrawSurface7>& surface);

    std::shared_ptr<TDisplayState> FDisplay;
};

// Reports every display driver: the primary one with a null GUID. The callback returns
// false to stop.
using TDDEnumCallback =
    std::function<bool(const GUID* guid, const char* description, const char* driverName)>;
HRESULT DirectDrawEnumerateExA(const TDDEnumCallback& callback, uint32_t flags);
// guid null: the primary driver.
HRESULT DirectDrawCreateEx(const GUID* guid, TRefPtr<IDirectDraw7>& directDraw);

} // namespace Win32
