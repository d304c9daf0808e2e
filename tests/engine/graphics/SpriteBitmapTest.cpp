// Sprites drawn into class-library bitmaps, and rectangles filled in them.
#include "engine/graphics/SpriteDrawing.h"
#include "tests/engine/graphics/SpriteFixtures.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Gfx;
using namespace SpriteTests;
using ClassLib::TBitmap;
using ClassLib::TPixelFormat;

namespace {

uint32_t PixelAt(TBitmap& bitmap, int x, int y) {
    const Win32::TPixelView pixels = bitmap.Pixels();
    uint32_t value = 0;
    std::memcpy(&value, pixels.At(x, y), size_t(pixels.BytesPerPixel));
    return value;
}

// Every pixel of the bitmap, row by row.
std::vector<uint32_t> AllPixels(TBitmap& bitmap) {
    std::vector<uint32_t> all;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            all.push_back(PixelAt(bitmap, x, y));
    return all;
}

constexpr uint32_t Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF, White = 0xFFFFFFFF,
                   Clear = 0;

} // namespace

TEST(SpriteBitmap, KeyedSpriteCutAtTheLeftEdgeLeavesItsVisiblePixels) {
    // 3 x 2, drawn at (-1, 1) into 4 x 3: column 0 is cut off, the clear pixel keeps
    // the background.
    const TPicture picture{3, 2, {Red, Clear, Blue, Green, Green, White}};
    const struct {
        int Kind, Bits;
        uint32_t Background, Green, Blue, White;
    } cases[] = {
        {0, 16, 0x1234, 0x07E0, 0x001F, 0xFFFF},   {1, 16, 0x1234, 0x07E0, 0x001F, 0xFFFF},
        {2, 16, 0x1234, 0x07E0, 0x001F, 0xFFFF},   {3, 16, 0x1234, 0x07E0, 0x001F, 0xFFFF},
        {0, 32, 0x1044A0, 0xFF00, 0xFF, 0xFFFFFF}, {3, 32, 0x1044A0, 0xFF00, 0xFF, 0xFFFFFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.Kind) + ", " + std::to_string(c.Bits) + " bits");
        TSpriteOptions options;
        options.Kind = c.Kind;
        options.Bits = c.Bits;
        const auto sprite = LoadSprite(Tools::EncodeSprite({picture}, options));
        TBitmap bitmap(4, 3);
        if (c.Bits == 32)
            bitmap.SetPixelFormat(TPixelFormat::pf32bit);
        FillBitmapRect(&bitmap, {0, 0, 4, 3}, 0x1234, nullptr);
        DrawSpriteToBitmap(sprite.get(), &bitmap, 0, -1, 1, nullptr);
        const uint32_t o = c.Background;
        EXPECT_EQ(AllPixels(bitmap), (std::vector<uint32_t>{o, o, o, o,      //
                                                            o, c.Blue, o, o, //
                                                            c.Green, c.White, o, o}));
    }
}

TEST(SpriteBitmap, FillKeepsInsideTheBitmapAndTheClip) {
    const Win32::RECT clip{1, 0, 3, 2};
    const struct {
        Win32::RECT Rect;
        const Win32::RECT* Clip;
        std::vector<uint32_t> Expected; // 4 x 3, 1 = filled
    } cases[] = {
        {{-2, -1, 2, 1}, nullptr, {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {{2, 1, 9, 9}, nullptr, {0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1}},
        {{0, 0, 4, 3}, &clip, {0, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 0}},
        {{3, 0, 1, 3}, nullptr, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}, // left past right
        {{5, 0, 7, 3}, nullptr, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        TBitmap bitmap(4, 3);
        FillBitmapRect(&bitmap, c.Rect, 1, c.Clip);
        EXPECT_EQ(AllPixels(bitmap), c.Expected)
            << c.Rect.left << "," << c.Rect.top << "," << c.Rect.right << "," << c.Rect.bottom;
    }
    // A 32-bit bitmap is filled pixel by pixel too, not in 16-bit halves.
    TBitmap wide(2, 1);
    wide.SetPixelFormat(TPixelFormat::pf32bit);
    FillBitmapRect(&wide, {0, 0, 2, 1}, 0xF800, nullptr);
    EXPECT_EQ(AllPixels(wide), (std::vector<uint32_t>{0xF80000, 0xF80000}));
}

TEST(SpriteBitmap, ASpriteWithSurfacesPaintsItsVisibleRectangleBlack) {
    TScopedDisplay display;
    const auto sprite = LoadSprite(Tools::EncodeSprite({Checker(3, 2)}, {}));
    sprite->PrepareSurfaces(true);
    ASSERT_TRUE(sprite->HasSurfaces());
    TBitmap bitmap(4, 3);
    FillBitmapRect(&bitmap, {0, 0, 4, 3}, 0x1234, nullptr);
    DrawSpriteToBitmap(sprite.get(), &bitmap, 0, 2, 2, nullptr);
    const uint32_t o = 0x1234;
    EXPECT_EQ(AllPixels(bitmap), (std::vector<uint32_t>{o, o, o, o, o, o, o, o, o, o, 0, 0}));
}
