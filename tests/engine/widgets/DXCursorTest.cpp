// The window system draws the cursor sprite with its hot spot on the mouse, animated
// by the application's tick count.
#include "engine/app/DXApplication.h"
#include "engine/graphics/GfxPixels.h"
#include "engine/widgets/DXWindowSystem.h"
#include "platform/win32/WinMessages.h"
#include "tests/engine/graphics/SpriteFixtures.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace SpriteTests;

namespace {

constexpr uint32_t FrameColours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};

uint16_t PixelAt(Win32::IDirectDrawSurface7& surface, int x, int y) {
    Win32::DDSURFACEDESC2 desc;
    EXPECT_EQ(surface.Lock(nullptr, &desc, 0, nullptr), Win32::DD_OK);
    uint16_t pixel = 0;
    std::memcpy(&pixel, static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch + x * 2, 2);
    surface.Unlock(nullptr);
    return pixel;
}

} // namespace

TEST(DXCursor, DrawsTheFrameOfTheTickWithItsHotSpotOnTheMouse) {
    TScopedDisplay display;
    DXApp::TDXApplication application;
    DXApp::Application = &application;
    std::vector<TPicture> frames;
    for (const uint32_t colour : FrameColours)
        frames.push_back(Picture(4, 4, [colour](int, int) { return colour; }));
    TSpriteOptions options;
    options.HotSpotX = 2;
    options.HotSpotY = 1;
    const auto cursor = LoadSprite(Tools::EncodeSprite(frames, options));

    DXWin::TDXWindowSystem windows;
    windows.SetDefaultCursor(cursor.get());
    windows.HandleMessage(Win32::WM_MOUSEMOVE, 0, Win32::PointToLParam(50, 40));
    // Ten frames a second at a hundred ticks, round the three frames.
    const struct {
        uint32_t Ticks;
        int Frame;
    } cases[] = {{0, 0}, {19, 1}, {25, 2}, {30, 0}};
    for (const auto& c : cases) {
        application.TickCount = c.Ticks;
        display.Framework().ClearBackBuffer();
        windows.Draw(display.BackBuffer());
        Win32::IDirectDrawSurface7& back = *display.BackBuffer();
        EXPECT_EQ(PixelAt(back, 48, 39), Gfx::PackColor565(FrameColours[c.Frame]))
            << "tick " << c.Ticks;
        EXPECT_EQ(PixelAt(back, 51, 42), Gfx::PackColor565(FrameColours[c.Frame]));
        EXPECT_EQ(PixelAt(back, 47, 39), 0);
        EXPECT_EQ(PixelAt(back, 52, 42), 0);
    }
    windows.HideCursor();
    display.Framework().ClearBackBuffer();
    windows.Draw(display.BackBuffer());
    EXPECT_EQ(PixelAt(*display.BackBuffer(), 50, 40), 0);
    DXApp::Application = nullptr;
}
