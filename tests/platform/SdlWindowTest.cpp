#include "platform/SdlWindow.h"

#include <gtest/gtest.h>

using namespace Win32;
using DirectX::TPixelLayout;

TEST(SdlWindow, PresentsEachPixelFormatConverted) {
    SdlWindow window("present", 2, 1);
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
        window.Present({c.bytes.data(), int32_t(c.bytes.size()), 2, 1, c.layout});
        EXPECT_EQ(window.CaptureFrame().Pixels, c.shown);
        EXPECT_EQ(window.CaptureWindow().Pixels, c.shown);
    }
}
