#include "src/PlaceholderScreen.h"

#include "engine/app/DXApplication.h"
#include "platform/display/DirectDrawSurface.h"
#include "platform/display/PixelLayout.h"
#include "platform/win32/VirtualKeys.h"

#include <algorithm>

namespace Main {

using DXApp::Application;

namespace {

constexpr uint32_t FieldColour = 0x1C2430;
constexpr uint32_t Track = 0x3A4658;
constexpr uint32_t Bar = 0xE0A030;
constexpr uint32_t LightOff = 0x2A3444;
constexpr uint32_t LightOn = 0x60C070;
constexpr int32_t Margin = 40;
constexpr int32_t BarWidth = 60;
constexpr int32_t PixelsPerTick = 4;
constexpr int32_t Lights = 10;

// Fills the part of rect that lies on the surface with a 0x00RRGGBB colour.
void Fill(Win32::IDirectDrawSurface7& surface, Win32::TPixelLayout layout,
          const Win32::RECT& bounds, Win32::RECT rect, uint32_t colour) {
    rect.left = std::max(rect.left, bounds.left);
    rect.top = std::max(rect.top, bounds.top);
    rect.right = std::min(rect.right, bounds.right);
    rect.bottom = std::min(rect.bottom, bounds.bottom);
    if (rect.left >= rect.right || rect.top >= rect.bottom)
        return;
    Win32::DDBLTFX fx;
    fx.dwSize = sizeof fx;
    fx.dwFillColor = Win32::ArgbToPixel(layout, 0xFF000000 | colour);
    surface.Blt(&rect, nullptr, nullptr, Win32::DDBLT_COLORFILL | Win32::DDBLT_WAIT, &fx);
}

} // namespace

TPlaceholderScreen::TPlaceholderScreen(DXWin::TDXWindowSystem* windowSystem,
                                       int32_t runMilliseconds)
    : TDXWindow(windowSystem, DXWin::woBackground, 0), FRunMilliseconds(runMilliseconds) {
    SetBoundsRect({0, 0, 800, 600});
    OnDraw = [this](Win32::IDirectDrawSurface7* target, const Win32::RECT&) { DrawScreen(target); };
    OnTick = [this](DXWin::TDXControl*) {
        if (FRunMilliseconds > 0 && Application->GameTime >= FRunMilliseconds && !Application->Quit)
            Application->Terminate();
    };
    OnKeyDown = [](Win32::WPARAM& key, DXWin::TShiftState) {
        if (key == Win32::VK_F12)
            Application->ScreenshotRequest = true;
    };
}

void TPlaceholderScreen::DrawScreen(Win32::IDirectDrawSurface7* target) const {
    if (!target)
        return;
    Win32::DDSURFACEDESC2 desc;
    desc.dwSize = Win32::DDSURFACEDESC2_SIZE;
    target->GetSurfaceDesc(&desc);
    const auto width = int32_t(desc.dwWidth);
    const auto height = int32_t(desc.dwHeight);
    const Win32::RECT bounds{0, 0, width, height};
    // In a window the back buffer has the desktop's format, 16 bits or more.
    const Win32::TPixelLayout layout = Win32::LayoutOf(desc.ddpfPixelFormat);
    const auto fill = [&](Win32::RECT rect, uint32_t colour) {
        Fill(*target, layout, bounds, rect, colour);
    };

    fill(bounds, FieldColour);
    const int32_t middle = height / 2;
    fill({Margin, middle - 6, width - Margin, middle + 6}, Track);
    // The bar goes to the end of the track and back.
    const int32_t travel = std::max(1, width - 2 * Margin - BarWidth);
    const auto step = int32_t(Application->TickCount * PixelsPerTick % uint32_t(2 * travel));
    const int32_t x = Margin + (step < travel ? step : 2 * travel - step);
    fill({x, middle - 12, x + BarWidth, middle + 12}, Bar);
    // One light per second, in a row of ten.
    const auto second = int32_t(Application->TickCount / std::max(1u, Application->TicksPerSecond));
    for (int32_t i = 0; i < Lights; ++i) {
        const int32_t left = width / 2 + (i - Lights / 2) * 24;
        fill({left, middle + 40, left + 16, middle + 56},
             i == second % Lights ? LightOn : LightOff);
    }
}

} // namespace Main
