#include "engine/graphics/GfxPixels.h"
#include "engine/graphics/GfxKeyedRows.h"
#include "engine/graphics/GfxScaling.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Gfx;

TEST(GfxPixels, PackingAndUnpacking) {
    EXPECT_EQ(PackColor565(0x00FFFFFF), 0xFFFF);
    EXPECT_EQ(PackColor555(0x00FFFFFF), 0x7FFF);
    EXPECT_EQ(PackColor565(0x00123456), 0x11AA); // 0x10 << 8 | 0x34 << 3 | 0x56 >> 3
    EXPECT_EQ(PackColor555(0x00123456), 0x08CA); // 0x10 << 7 | 0x30 << 2 | 0x56 >> 3
    EXPECT_EQ(UnpackColor565(0xFFFF), 0x00F8FCF8u);
    EXPECT_EQ(UnpackColor555(0xFFFF), 0x00F8F8F8u); // bit 15 ignored
    EXPECT_EQ(UnpackColor555(0x7C00), 0x00F80000u);
    EXPECT_EQ(ConvertPixel565To555(0xF81F), 0x7C1F);
    EXPECT_EQ(ConvertPixel565To555(0x0020), 0x0000); // the lowest green bit goes
    EXPECT_EQ(SwapRedBlue(0xAA123456), 0x00563412u);

    EXPECT_TRUE(IsDisplayRGB565);
    EXPECT_EQ(PackColor16(0x00FF0000), 0xF800);
    EXPECT_EQ(UnpackColor16(0x07E0), 0x0000FC00u);
    IsDisplayRGB565 = false;
    EXPECT_EQ(PackColor16(0x00FF0000), 0x7C00);
    EXPECT_EQ(UnpackColor16(0x03E0), 0x0000F800u);
    IsDisplayRGB565 = true;
}

TEST(GfxPixels, RowConversionsHonourPitches) {
    // 2 x 2 pixels in rows of 3 pixels, converted in place; the padding stays.
    std::vector<uint16_t> image = {0xF81F, 0xFFFF, 0x1234, 0x07E0, 0x0020, 0x5678};
    ConvertRow565To555(image.data(), image.data(), 2, 2, 6, 6);
    EXPECT_EQ(image, (std::vector<uint16_t>{0x7C1F, 0x7FFF, 0x1234, 0x03E0, 0x0000, 0x5678}));

    const std::vector<uint8_t> rgb = {1, 2, 3, 4, 5, 6, 9, 9, 7, 8, 9, 10, 11, 12, 9, 9};
    std::vector<uint32_t> wide(4);
    ConvertRow24To32(rgb.data(), wide.data(), 2, 2, 8, 8);
    EXPECT_EQ(wide, (std::vector<uint32_t>{0x030201, 0x060504, 0x090807, 0x0C0B0A}));
    wide[0] |= 0xFF000000; // the top byte is dropped
    std::vector<uint8_t> narrow(12);
    ConvertRow32To24(wide.data(), narrow.data(), 2, 2, 8, 6);
    EXPECT_EQ(narrow, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(GfxPixels, KeyedRowsLeaveKeyedPixels) {
    std::vector<uint16_t> source, target(11, 7), expected;
    for (uint16_t i = 0; i < 11; ++i) {
        source.push_back(i % 4 == 1 ? 0xF81F : i);
        expected.push_back(i % 4 == 1 ? 7 : i);
    }
    BlitKeyedRow16(source.data(), target.data(), 11, 0xF81F);
    EXPECT_EQ(target, expected);
    BlitKeyedRow16(source.data(), target.data(), 11, 0xFFFFFFFF); // no key: a copy
    EXPECT_EQ(target, source);

    const std::vector<uint8_t> deep = {1, 2, 3, 0xFF, 0, 0xFF, 4, 5, 6};
    std::vector<uint8_t> deepTarget(9, 0);
    BlitKeyedRow24(deep.data(), deepTarget.data(), 3, 0xFF00FF);
    EXPECT_EQ(deepTarget, (std::vector<uint8_t>{1, 2, 3, 0, 0, 0, 4, 5, 6}));
    const std::vector<uint8_t> white = {0xFF, 0xFF, 0xFF};
    BlitKeyedRow24(white.data(), deepTarget.data(), 1, 0xFFFFFFFF); // no key: drawn
    EXPECT_EQ(deepTarget[0], 0xFF);

    const std::vector<uint32_t> wide = {5, 0xFF00FF, 6, 0xFF00FF, 8};
    std::vector<uint32_t> wideTarget(5, 1);
    BlitKeyedRow32(wide.data(), wideTarget.data(), 5, 0xFF00FF);
    EXPECT_EQ(wideTarget, (std::vector<uint32_t>{5, 1, 6, 1, 8}));

    // Tinted: the pixel plus the offset, cut to the pixel's size.
    const std::vector<uint16_t> glyph = {0, 0x0001, 0xFFFF};
    std::vector<uint16_t> glyphTarget(3, 9);
    BlitKeyedTintRow16(glyph.data(), glyphTarget.data(), 3, 0, 0x0100);
    EXPECT_EQ(glyphTarget, (std::vector<uint16_t>{9, 0x0101, 0x00FF}));
    std::vector<uint8_t> tinted24(6, 9);
    const std::vector<uint8_t> glyph24 = {0, 0, 0, 0xFF, 0xFF, 0xFF};
    BlitKeyedTintRow24(glyph24.data(), tinted24.data(), 2, 0, 2);
    EXPECT_EQ(tinted24, (std::vector<uint8_t>{9, 9, 9, 1, 0, 0}));
    std::vector<uint32_t> tinted32(2, 9);
    const std::vector<uint32_t> glyph32 = {3, 0xFFFFFFFF};
    BlitKeyedTintRow32(glyph32.data(), tinted32.data(), 2, 3, 2);
    EXPECT_EQ(tinted32, (std::vector<uint32_t>{9, 1}));
}

TEST(GfxScaling, NearestScalingMapsCornersOntoCorners) {
    std::vector<uint32_t> source(16);
    for (uint32_t i = 0; i < 16; ++i)
        source[i] = i; // (x, y) holds 4 y + x
    std::vector<uint32_t> half(4);
    ScaleArgbNearest(source.data(), 4, 4, half.data(), 2, 2);
    EXPECT_EQ(half, (std::vector<uint32_t>{0, 3, 12, 15}));
    std::vector<uint32_t> one(1);
    ScaleArgbNearest(source.data(), 4, 4, one.data(), 1, 1);
    EXPECT_EQ(one, (std::vector<uint32_t>{0}));
    std::vector<uint32_t> column(3);
    ScaleArgbNearest(source.data(), 4, 4, column.data(), 1, 3); // rows 0, 1, 3
    EXPECT_EQ(column, (std::vector<uint32_t>{0, 4, 12}));
}

TEST(GfxScaling, WordLengthStopsAtBreaks) {
    EXPECT_EQ(WordLength("word rest"), 4);
    EXPECT_EQ(WordLength("line\nnext"), 4);
    EXPECT_EQ(WordLength("cr\r"), 2);
    EXPECT_EQ(WordLength("end"), 3);
    EXPECT_EQ(WordLength(" lead"), 0);
    EXPECT_EQ(WordLength(""), 0);
}
