// Software drawing of sprites into locked memory.
#include "engine/graphics/SpriteDrawing.h"
#include "tests/engine/graphics/SpriteFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace Gfx;
using namespace SpriteTests;

namespace {

constexpr uint16_t Background = 0x1234;

// Draws the sprite's frame at (x, y) into a 36 x 24 target and compares every pixel with
// what the picture should leave there.
void ExpectDrawn(TSprite& sprite, int frame, const TPicture& picture, int x, int y,
                 const Win32::RECT* clip, const std::string& what) {
    TPixels16 target(36, 24, Background);
    DrawSpriteToLocked(&sprite, target.Desc(), frame, x, y, clip);
    CountWrongPixels(
        target.Width, target.Height, [&](int tx, int ty) { return target.At(tx, ty); }, picture, x,
        y, clip, false, Background, what);
}

struct TPlace {
    int X, Y;
    const char* Where;
};
constexpr TPlace Places[] = {
    {3, 4, "inside"},           {-5, 2, "cut at the left"},   {27, 2, "cut at the right"},
    {2, -6, "cut at the top"},  {2, 19, "cut at the bottom"}, {-4, -3, "cut at a corner"},
    {-20, 2, "wholly outside"},
};

} // namespace

TEST(SpriteDrawing, EveryKindDrawsKeyedAndClippedAtEveryEdge) {
    const TPicture picture = Checker(13, 9);
    for (int kind = 0; kind <= 3; ++kind) {
        TSpriteOptions options;
        options.Kind = kind;
        const auto sprite = LoadSprite(Tools::EncodeSprite({picture}, options));
        for (const TPlace& place : Places)
            ExpectDrawn(*sprite, 0, picture, place.X, place.Y, nullptr,
                        "kind " + std::to_string(kind) + " " + place.Where);
        const Win32::RECT clip{5, 6, 11, 10};
        ExpectDrawn(*sprite, 0, picture, 3, 4, &clip, "kind " + std::to_string(kind) + " clip");
    }
}

TEST(SpriteDrawing, UnderLayersAreDrawnFirst) {
    const TPicture under = Picture(6, 4, [](int, int) { return 0xFF0000FFu; });
    const TPicture over = Picture(6, 4, [](int x, int) { return x < 3 ? 0xFFFF0000u : 0u; });
    const TPicture composed =
        Picture(6, 4, [](int x, int) { return x < 3 ? 0xFFFF0000u : 0xFF0000FFu; });
    for (int subMode : {2, 3}) {
        TSpriteOptions options;
        options.SubMode = subMode;
        const auto sprite = LoadSprite(Tools::EncodeSprite(
            subMode == 2 ? std::vector{over, under} : std::vector{under, over}, options));
        ExpectDrawn(*sprite, subMode == 2 ? 0 : 1, composed, 1, 1, nullptr, "sub-mode");
    }
}

TEST(SpriteDrawing, ShadowsDarkenWhatLiesUnderThem) {
    const TPicture picture = Picture(8, 3, [](int x, int) { return x < 2 ? 0xFFFFFFFFu : 0u; });
    const TPicture shadow =
        Picture(8, 3, [](int x, int) { return x >= 1 && x < 6 ? 0xFF000000u : 0u; });
    for (int bits : {16, 24, 32}) {
        TSpriteOptions options;
        options.Bits = bits;
        options.Shadows = {shadow};
        const auto sprite = LoadSprite(Tools::EncodeSprite({picture}, options));
        const int bytes = bits / 8;
        std::vector<uint8_t> memory(size_t(10 * 3 * bytes), 0xEE);
        Win32::DDSURFACEDESC2 desc;
        desc.dwWidth = 10;
        desc.dwHeight = 3;
        desc.lPitch = 10 * bytes;
        desc.lpSurface = memory.data();
        desc.ddpfPixelFormat.dwRGBBitCount = uint32_t(bits);
        const Win32::RECT clip{0, 0, 10, 2}; // the last row is clipped away
        DrawSpriteToLocked(sprite.get(), desc, 0, 0, 0, &clip);
        const auto pixel = [&](int x, int y) {
            return Win32::LoadPixel(memory.data() + (y * 10 + x) * bytes, bytes);
        };
        const uint32_t white = bits == 16 ? 0xFFFF : 0xFFFFFF;
        const uint32_t background = bits == 16 ? 0xEEEE : bits == 24 ? 0xEEEEEE : 0xEEEEEEEE;
        const uint32_t halfWhite = bits == 16 ? 0x7BEF : 0x7F7F7F;
        const uint32_t halfBackground = bits == 16 ? (0xEEEE & 0xF7DE) >> 1 : 0x777777;
        EXPECT_EQ(pixel(0, 0), white) << bits;
        EXPECT_EQ(pixel(1, 1), halfWhite) << bits;
        EXPECT_EQ(pixel(3, 0), halfBackground) << bits;
        EXPECT_EQ(pixel(6, 0), background) << bits;
        EXPECT_EQ(pixel(3, 2), background) << bits;
    }
}

TEST(SpriteDrawing, BlendedFramesMixWithTheBackground) {
    // Half-transparent grey over black and over white, by blend mode, clipped or not,
    // stored raw or compressed.
    const TPicture picture = Picture(4, 2, [](int, int) { return 0x80C08040u; });
    for (int mode : {0xFF, 0xFE, 0x01})
        for (int kind : {0, 3})
            for (uint16_t background : {uint16_t(0x0000), uint16_t(0xFFFF)}) {
                TSpriteOptions options;
                options.BlendMode = mode;
                options.Kind = kind;
                const auto sprite = LoadSprite(Tools::EncodeSprite({picture}, options));
                TPixels16 target(6, 2, background);
                DrawSpriteToLocked(sprite.get(), target.Desc(), 0, -1, 0, nullptr);
                const double a = 128 / 255.0;
                const uint32_t d = UnpackColor565(background);
                uint32_t expected = 0;
                for (int shift : {16, 8, 0}) {
                    const double s = 0xC08040 >> shift & 0xFF;
                    const double dc = d >> shift & 0xFF;
                    const double premultiplied = std::floor(s * 128 / 255);
                    const double v = mode == 0xFF   ? dc * (1 - a) + 0.5 + premultiplied
                                     : mode == 0xFE ? s * a + dc
                                                    : dc * (1 - a) + s * a;
                    expected |= uint32_t(std::min(std::trunc(v), 255.0)) << shift;
                }
                EXPECT_EQ(target.At(0, 1), PackColor565(expected)) << mode << " " << kind;
                EXPECT_EQ(target.At(2, 0), PackColor565(expected)) << mode << " " << kind;
                EXPECT_EQ(target.At(3, 0), background) << mode << " " << kind;
            }
}

TEST(SpriteDrawing, RunLineBWithoutKeyShowsTransparentRunsWhite) {
    const TPicture picture = Picture(5, 1, [](int x, int) { return x == 1 ? 0u : 0xFF0000FFu; });
    TSpriteOptions options;
    options.Kind = 2;
    TBytes record = Tools::EncodeSprite({picture}, options);
    const uint32_t none = NoColorKey;
    std::memcpy(record.data() + 4 + offsetof(TSpriteHeader, ColorKey), &none, 4);
    const auto sprite = LoadSprite(record);
    TPixels16 target(5, 1, Background);
    DrawSpriteToLocked(sprite.get(), target.Desc(), 0, 0, 0, nullptr);
    EXPECT_EQ(target.Pixels, (std::vector<uint16_t>{0x001F, 0xFFFF, 0x001F, 0x001F, 0x001F}));
}

TEST(SpriteDrawing, NothingIsDrawnThatTheFrameDoesNotHold) {
    TSpriteOptions options;
    options.Kind = 1;
    const auto sprite = LoadSprite(Tools::EncodeSprite({Checker(6, 6)}, options));
    TPixels16 target(8, 8, Background);
    const TPixels16 untouched = target;
    DrawSpriteToLocked(sprite.get(), target.Desc(), 1, 0, 0, nullptr); // no frame 1
    sprite->Frames[0].Clear(); // pixels gone, as after dropping them
    DrawSpriteToLocked(sprite.get(), target.Desc(), 0, 0, 0, nullptr);
    EXPECT_EQ(target.Pixels, untouched.Pixels);
    // A 16-bit sprite is not drawn into memory of another pixel size.
    std::vector<uint32_t> wide(64, 7);
    Win32::DDSURFACEDESC2 desc;
    desc.dwWidth = desc.dwHeight = 8;
    desc.lPitch = 32;
    desc.lpSurface = wide.data();
    desc.ddpfPixelFormat.dwRGBBitCount = 32;
    const auto fresh = LoadSprite(Tools::EncodeSprite({Checker(6, 6)}, options));
    DrawSpriteToLocked(fresh.get(), desc, 0, 0, 0, nullptr);
    EXPECT_EQ(wide, std::vector<uint32_t>(64, 7));
}
