// The Direct3D framework: owns the display. It enumerates the display drivers with
// their modes and 3D devices, picks defaults, switches between full screen and a window
// (re-creating DirectDraw, surfaces and device each time, falling back to a software
// device where allowed), and serves the drawing code with surfaces, textures, the
// texture stage cache, clearing, presenting and direct access to the back buffer.
#pragma once

#include "platform/classlib/AnsiString.h"
#include "platform/display/Direct3D.h"
#include "platform/display/DirectDraw.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace D3DFrame {

using ClassLib::AnsiString;
using Win32::D3DDEVICEDESC7;
using Win32::DDCAPS;
using Win32::DDPIXELFORMAT;
using Win32::DDSURFACEDESC2;
using Win32::GUID;
using Win32::HDC;
using Win32::HWND;
using Win32::IDirect3D7;
using Win32::IDirect3DDevice7;
using Win32::IDirectDraw7;
using Win32::IDirectDrawSurface7;
using Win32::RECT;
using Win32::TRefPtr;

// Option bits given to the constructor.
constexpr uint32_t UseDirect3D = 0x01;
constexpr uint32_t DefaultModeRequired = 0x02;
constexpr uint32_t DefaultModeMatchesDepth = 0x04;
constexpr uint32_t SoftwareFallback = 0x08;
constexpr uint32_t FullScreenWithoutFlip = 0x10;

// Decides whether a display mode is offered; null accepts all.
using TModeFilter = bool (*)(const DDSURFACEDESC2& mode);

struct TD3DDeviceRecord {
    AnsiString Description;
    AnsiString Name;
    GUID Guid;
    D3DDEVICEDESC7 Desc;
    bool Hardware = false;
    int32_t DefaultMode = 0;
    std::vector<DDSURFACEDESC2> Modes; // the adapter's modes this device renders to
    std::vector<DDPIXELFORMAT> ZBufferFormats;
    std::vector<DDPIXELFORMAT> TextureFormats; // filled when the device is first created
};

struct TD3DAdapterRecord {
    AnsiString DriverName;
    AnsiString Description;
    bool Primary = false;
    GUID Guid;
    DDCAPS HardwareCaps;
    DDCAPS EmulationCaps;
    bool CanRenderWindowed = false;
    int32_t HardwareDevice = -1;
    int32_t SoftwareDevice = -1;
    int32_t DefaultMode = 0;
    std::vector<DDSURFACEDESC2> Modes; // by bit count, width, height
    std::vector<TD3DDeviceRecord> Devices;
};

class TD3DFramework {
public:
    // Enumerates the drivers; raises the enumeration's errors (nothing stays acquired).
    TD3DFramework(HWND window, const AnsiString& title, uint32_t flags, int32_t width,
                  int32_t height, int32_t bitsPerPixel, TModeFilter modeFilter);
    ~TD3DFramework();
    TD3DFramework(const TD3DFramework&) = delete;
    TD3DFramework& operator=(const TD3DFramework&) = delete;

    // An adapter, device or mode index out of range picks the default.
    void SetFullScreen(int32_t adapter, int32_t device, int32_t mode);
    void SetWindowed(int32_t adapter, int32_t device, const RECT& windowRect);
    void SetFullScreenDevice(int32_t device, int32_t mode);
    void SetWindowedDevice(int32_t device, const RECT& windowRect);
    void SetFullScreenMode(int32_t mode);
    void SetWindowedMode(const RECT& windowRect);
    void SetWindowPosition(int32_t x, int32_t y);
    void ReleaseAll();

    // Surfaces, textures and frames.
    TRefPtr<IDirectDrawSurface7> CreateSurface(DDSURFACEDESC2& desc);
    TRefPtr<IDirectDrawSurface7> CreateOffscreenSurface(int32_t width, int32_t height,
                                                        uint32_t extraCaps);
    // format null: the device's alpha format of the display's depth, else any 16-bit one.
    TRefPtr<IDirectDrawSurface7> CreateTexture(int32_t width, int32_t height, uint32_t stage,
                                               const DDPIXELFORMAT* format);
    void SetTexture(IDirectDrawSurface7* texture, uint32_t stage);
    void SetViewport(int32_t x, int32_t y, int32_t width, int32_t height);
    void SetAmbientLight(float red, float green, float blue);
    void ClearBackBuffer();
    void ShowFrame();
    bool LockBackBuffer();
    void UnlockBackBuffer();
    bool GetBackBufferDC();
    void ReleaseBackBufferDC();
    bool IsSurfaceLost() const;
    // 0 the display is ours, 1 another program holds it exclusively, 2 any other failure.
    int32_t TestCooperativeLevel() const;
    bool RestoreAllSurfaces();

    bool Initialised() const { return FInitialised; }
    uint32_t Flags() const { return FFlags; }
    const std::vector<TD3DAdapterRecord>& Adapters() const { return FAdapters; }
    int32_t DefaultAdapter() const { return FDefaultAdapter; }
    int32_t WindowedAdapter() const { return FWindowedAdapter; }
    HWND Window() const { return FWindow; }
    const AnsiString& Title() const { return FTitle; }
    bool Windowed() const { return FWindowed; }
    int32_t AdapterInUse() const { return FAdapterInUse; }
    int32_t DeviceInUse() const { return FDeviceInUse; }
    int32_t ModeInUse() const { return FModeInUse; }
    IDirectDraw7* DirectDraw() const { return FDirectDraw.Get(); }
    IDirect3D7* Direct3D() const { return FDirect3D.Get(); }
    IDirect3DDevice7* Device() const { return FDevice.Get(); }
    IDirectDrawSurface7* PrimarySurface() const { return FPrimary.Get(); }
    IDirectDrawSurface7* BackBuffer() const { return FBackBuffer.Get(); }
    const RECT& WindowRect() const { return FWindowRect; }
    // The display the rest of the program draws for: its size and RGB bit count.
    const DDSURFACEDESC2& CurrentMode() const { return FCurrentMode; }
    bool BackBufferLocked() const { return FBackBufferLocked; }
    // The last lock of the back buffer: its pitch and address serve direct pixel work.
    const DDSURFACEDESC2& BackBufferDesc() const { return FBackBufferDesc; }
    bool BackBufferDCHeld() const { return FBackBufferDCHeld; }
    HDC BackBufferDC() const { return FBackBufferDC; }
    IDirectDrawSurface7* CachedTexture(uint32_t stage) const { return FTextureCache.at(stage); }

private:
    void Enumerate(int32_t width, int32_t height, int32_t bitsPerPixel, TModeFilter filter);
    TD3DAdapterRecord EnumerateAdapter(const GUID* guid, int32_t width, int32_t height,
                                       int32_t bitsPerPixel, TModeFilter filter);
    void EnumerateDevices(IDirect3D7& direct3D, TD3DAdapterRecord& adapter, int32_t width,
                          int32_t height, int32_t bitsPerPixel);
    int32_t FindDefaultMode(const std::vector<DDSURFACEDESC2>& modes, int32_t width, int32_t height,
                            int32_t bitsPerPixel) const;

    void SwitchPresentation(bool windowed, int32_t adapter, int32_t device, int32_t mode,
                            const RECT* windowRect);
    void ChooseDeviceAndMode(bool windowed, int32_t device, int32_t mode, const RECT* windowRect);
    void CreateForChoice(bool windowed, int32_t device, int32_t mode, const RECT* windowRect);
    void ReleaseDeviceAndSurfaces();
    bool HardwareDeviceInUse() const;
    bool FlipChain() const;
    TD3DDeviceRecord* DeviceRecordInUse();

    void CreateSurfaces();
    void ReleaseSurfaces();
    void CreateDevice();
    void ReleaseDevice();

    bool FInitialised = false;
    uint32_t FFlags = 0;
    std::vector<TD3DAdapterRecord> FAdapters;
    int32_t FDefaultAdapter = 0;
    int32_t FWindowedAdapter = -1;
    HWND FWindow = nullptr;
    AnsiString FTitle;
    bool FWindowed = false;
    int32_t FAdapterInUse = -1;
    int32_t FDeviceInUse = -1;
    int32_t FModeInUse = -1;
    TRefPtr<IDirectDraw7> FDirectDraw;
    TRefPtr<IDirectDrawSurface7> FPrimary;
    TRefPtr<IDirectDrawSurface7> FBackBuffer;
    TRefPtr<IDirect3D7> FDirect3D;
    TRefPtr<IDirect3DDevice7> FDevice;
    RECT FWindowRect;
    DDSURFACEDESC2 FCurrentMode;
    bool FBackBufferLocked = false;
    DDSURFACEDESC2 FBackBufferDesc;
    bool FBackBufferDCHeld = false;
    HDC FBackBufferDC = nullptr;
    std::array<IDirectDrawSurface7*, Win32::D3DMAXTEXTURESTAGES> FTextureCache{};
};

// The program's one framework: made at start-up for the application's window, deleted
// when the window goes. Null while there is none.
extern std::unique_ptr<TD3DFramework> D3DFramework;

// Helpers for the drawing code.
void InitSurfaceDesc(DDSURFACEDESC2& desc, uint32_t flags, uint32_t caps);
void ClearSurface(IDirectDrawSurface7* surface);
bool IsRGB565(const DDSURFACEDESC2& desc);
int32_t CountBits(uint32_t mask);

} // namespace D3DFrame
