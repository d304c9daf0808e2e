// Small helpers for tests of the display: surfaces filled from pixel lists, pixel reads,
// the installed display hardware put back after each test, message boxes captured.
#pragma once

#include "platform/display/DirectDraw.h"
#include "platform/display/SdlDisplayWindow.h"
#include "platform/win32/Desktop.h"
#include "platform/win32/WinWindow.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace TestSupport {

using namespace Win32;

// Installs a machine for the lifetime of the object, then the default one again.
class InstalledHardware {
public:
    explicit InstalledHardware(TDisplayHardware hardware) {
        InstallDisplayHardware(std::move(hardware));
    }
    ~InstalledHardware() { InstallDisplayHardware(DefaultDisplayHardware()); }
};

// A desktop of its own with one window of the given client size and its display
// window, on SDL's dummy video driver.
class TestWindow {
public:
    TestWindow(int width, int height) {
        Win32::WNDCLASS windowClass;
        windowClass.lpfnWndProc = [](Win32::HWND w, Win32::UINT m, Win32::WPARAM wp,
                                     Win32::LPARAM lp) {
            return Win32::DefWindowProc(w, m, wp, lp);
        };
        windowClass.lpszClassName = "DisplayTest";
        Win32::RegisterClass(windowClass);
        Window = Win32::CreateWindowEx(0, "DisplayTest", "Display test", Win32::WS_POPUP, 0, 0,
                                       width, height, nullptr, nullptr);
        Display = std::make_unique<Win32::SdlDisplayWindow>(Window, "Display test");
    }
    ~TestWindow() {
        Display.reset();
        Win32::DestroyWindow(Window);
    }

    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
    Win32::HWND Window = nullptr;
    std::unique_ptr<Win32::SdlDisplayWindow> Display;
};

inline TRefPtr<IDirectDraw7> PrimaryDirectDraw() {
    TRefPtr<IDirectDraw7> directDraw;
    EXPECT_EQ(DirectDrawCreateEx(nullptr, directDraw), Win32::DD_OK);
    return directDraw;
}

inline TRefPtr<IDirectDrawSurface7> MakeSurface(IDirectDraw7& directDraw, int width, int height,
                                                TPixelLayout layout, uint32_t extraCaps = 0) {
    DDSURFACEDESC2 desc;
    desc.dwSize = DDSURFACEDESC2_SIZE;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = uint32_t(width);
    desc.dwHeight = uint32_t(height);
    desc.ddpfPixelFormat = PixelFormatOf(layout);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | extraCaps;
    TRefPtr<IDirectDrawSurface7> surface;
    EXPECT_EQ(directDraw.CreateSurface(desc, surface), Win32::DD_OK);
    return surface;
}

// Pixel values row after row, as stored (16-bit values for 16-bit layouts).
inline std::vector<uint32_t> ReadPixels(IDirectDrawSurface7& surface,
                                        uint32_t lockFlags = DDLOCK_WAIT) {
    DDSURFACEDESC2 desc;
    std::vector<uint32_t> pixels;
    if (surface.Lock(nullptr, &desc, lockFlags, nullptr) != Win32::DD_OK)
        return pixels;
    const int bytes = int(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    for (uint32_t y = 0; y < desc.dwHeight; ++y)
        for (uint32_t x = 0; x < desc.dwWidth; ++x) {
            uint32_t value = 0;
            std::memcpy(&value, static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch + x * bytes,
                        size_t(bytes));
            pixels.push_back(value);
        }
    surface.Unlock(nullptr);
    return pixels;
}

inline void WritePixels(IDirectDrawSurface7& surface, const std::vector<uint32_t>& pixels) {
    DDSURFACEDESC2 desc;
    ASSERT_EQ(surface.Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), Win32::DD_OK);
    const int bytes = int(desc.ddpfPixelFormat.dwRGBBitCount / 8);
    ASSERT_EQ(pixels.size(), size_t(desc.dwWidth) * desc.dwHeight);
    for (uint32_t y = 0; y < desc.dwHeight; ++y)
        for (uint32_t x = 0; x < desc.dwWidth; ++x)
            std::memcpy(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch + x * bytes,
                        &pixels[y * desc.dwWidth + x], size_t(bytes));
    surface.Unlock(nullptr);
}

// Blit effects with nothing set but their size.
inline DDBLTFX Fx() {
    DDBLTFX fx;
    fx.dwSize = sizeof fx;
    return fx;
}

inline void FillSurface(IDirectDrawSurface7& surface, uint32_t value) {
    DDBLTFX fx;
    fx.dwSize = sizeof fx;
    fx.dwFillColor = value;
    ASSERT_EQ(surface.Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), Win32::DD_OK);
}

} // namespace TestSupport
