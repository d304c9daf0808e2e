// Small helpers for tests of the display: surfaces filled from pixel lists, pixel reads,
// the installed display hardware put back after each test, message boxes captured.
#pragma once

#include "platform/DirectDraw.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace TestSupport {

using namespace DirectX;

// Installs a machine for the lifetime of the object, then the default one again.
class InstalledHardware {
public:
    explicit InstalledHardware(TDisplayHardware hardware) {
        InstallDisplayHardware(std::move(hardware));
    }
    ~InstalledHardware() { InstallDisplayHardware(DefaultDisplayHardware()); }
};

struct TShownBox {
    std::string Text;
    std::string Caption;
    uint32_t Type;
};

// Records every message box shown while it lives.
class CapturedMessageBoxes {
public:
    CapturedMessageBoxes() {
        FPrevious = Win32::SetMessageBoxHandler([this](Win32::HWND, const std::string& text,
                                                       const std::string& caption, uint32_t type) {
            Boxes.push_back({text, caption, type});
            return Win32::IDOK;
        });
    }
    ~CapturedMessageBoxes() { Win32::SetMessageBoxHandler(std::move(FPrevious)); }

    std::vector<TShownBox> Boxes;

private:
    Win32::TMessageBoxHandler FPrevious;
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
inline std::vector<uint32_t> ReadPixels(IDirectDrawSurface7& surface) {
    DDSURFACEDESC2 desc;
    std::vector<uint32_t> pixels;
    if (surface.Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != Win32::DD_OK)
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

inline void FillSurface(IDirectDrawSurface7& surface, uint32_t value) {
    DDBLTFX fx;
    fx.dwSize = sizeof fx;
    fx.dwFillColor = value;
    ASSERT_EQ(surface.Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), Win32::DD_OK);
}

} // namespace TestSupport
