#include "platform/display/SdlDisplayWindow.h"
#include "platform/win32/WinWindow.h"
#include "tests/support/DisplayFixtures.h"

#include <gtest/gtest.h>

using namespace Win32;
using TestSupport::TestWindow;

TEST(SdlDisplayWindow, PresentsEachPixelFormatConverted) {
    TestWindow test(2, 1);
    EXPECT_EQ(SdlDisplayWindow::Of(test.Window), test.Display.get());
    EXPECT_EQ(GetSdlWindow(test.Window), test.Display->Handle());
    const struct {
        TPixelLayout layout;
        std::vector<uint8_t> bytes;
        std::vector<uint32_t> shown;
    } cases[] = {
        {TPixelLayout::RGB565, {0x1F, 0x00, 0xE0, 0x07}, {0xFF0000FF, 0xFF00FF00}},
        {TPixelLayout::RGB555, {0x00, 0x7C, 0x10, 0x42}, {0xFFFF0000, 0xFF848484}},
        {TPixelLayout::XRGB8888,
         {0x56, 0x34, 0x12, 0x00, 0xFF, 0xFF, 0xFF, 0x00},
         {0xFF123456, 0xFFFFFFFF}},
    };
    for (const auto& c : cases) {
        test.Display->Present({c.bytes.data(), int32_t(c.bytes.size()), 2, 1, c.layout});
        EXPECT_EQ(test.Display->Frame().Pixels, c.shown);
        EXPECT_EQ(test.Display->CaptureWindow().Pixels, c.shown);
    }
}

TEST(SdlDisplayWindow, ScalesTheFrameIntoTheWindowAndMapsClientCoordinates) {
    // A 2 x 1 frame in an 8 x 8 window: 8 x 4 pixels, 2 rows of black above and below.
    TestWindow test(8, 8);
    const std::vector<uint32_t> frame = {0x00FF0000, 0x000000FF};
    test.Display->Present(
        {reinterpret_cast<const uint8_t*>(frame.data()), 8, 2, 1, TPixelLayout::XRGB8888});
    EXPECT_EQ(test.Display->FrameRect(), (RECT{0, 2, 8, 6}));
    const TCapturedImage shown = test.Display->CaptureWindow();
    ASSERT_EQ(shown.Pixels.size(), 64u);
    EXPECT_EQ(shown.Pixels[0], 0xFF000000u);         // above the frame
    EXPECT_EQ(shown.Pixels[8 * 3 + 0], 0xFFFF0000u); // its left half
    EXPECT_EQ(shown.Pixels[8 * 3 + 7], 0xFF0000FFu); // its right half

    RECT client;
    ASSERT_TRUE(GetClientRect(test.Window, &client));
    EXPECT_EQ(client, (RECT{0, 0, 2, 1}));
    RECT placement;
    ASSERT_TRUE(GetWindowRect(test.Window, &placement));
    const POINT origin{placement.left, placement.top};
    POINT point{origin.x + 6, origin.y + 3}; // window pixel (6, 3)
    ASSERT_TRUE(ScreenToClient(test.Window, &point));
    EXPECT_EQ(point, (POINT{1, 0}));
    POINT back{1, 0};
    ASSERT_TRUE(ClientToScreen(test.Window, &back));
    EXPECT_EQ(back, (POINT{origin.x + 4, origin.y + 2}));

    // Detached when it goes: the window is a plain window again.
    test.Display.reset();
    EXPECT_EQ(SdlDisplayWindow::Of(test.Window), nullptr);
    EXPECT_EQ(GetSdlWindow(test.Window), nullptr);
}
