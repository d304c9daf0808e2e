// The sprite writer writes what the game reads: every storage kind, blend mode and
// sub-mode vrngfx offers draws like the raw sprite of the same pictures.
#include "engine/graphics/SpriteDrawing.h"
#include "engine/graphics/SpriteList.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/support/ErrorOf.h"
#include "tools/GfxTool.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Gfx;
using namespace SpriteTests;
using ClassLib::TBitmap;
using ClassLib::TPixelFormat;

namespace {

// Every pixel the sprite's frame 0 leaves on a bitmap of the format its pixels draw into.
std::vector<uint8_t> Drawn(const TBytes& record, bool wide) {
    const auto sprite = LoadSprite(record);
    TBitmap bitmap(sprite->Width, sprite->Height);
    if (wide)
        bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    FillBitmapRect(&bitmap, {0, 0, sprite->Width, sprite->Height}, 0x1234, nullptr);
    DrawSpriteToBitmap(sprite.get(), &bitmap, 0, 0, 0, nullptr);
    const Win32::TPixelView view = bitmap.Pixels();
    std::vector<uint8_t> pixels;
    for (int y = 0; y < bitmap.Height(); ++y)
        pixels.insert(pixels.end(), view.At(0, y),
                      view.At(0, y) + size_t(bitmap.Width() * view.BytesPerPixel));
    return pixels;
}

// The shadow rows of a record's only frame, as control-byte pixel counts per row.
std::vector<int> ShadowRowWidths(const TBytes& record, int height) {
    const auto sprite = LoadSprite(record);
    const std::vector<uint8_t>& rows = sprite->Frames.at(0).Shadow;
    std::vector<int> widths;
    size_t at = 0;
    for (int y = 0; y < height; ++y) {
        const size_t length = rows.at(at) | rows.at(at + 1) << 8;
        int width = 0;
        for (size_t i = at + 2; i < at + length; ++i)
            width += std::abs(int(int8_t(rows[i])));
        widths.push_back(width);
        at += length;
    }
    return widths;
}

} // namespace

TEST(SpriteWriter, EveryKindBlendModeAndSubModeDrawsLikeTheRawSprite) {
    // Wide enough that compression pays, with an incompressible stretch.
    const TPicture picture = Checker(40, 6, 7);
    for (int bits : {16, 24, 32})
        for (int blend : {0, 0xFF, 0xFE, 100})
            for (int kind = 0; kind <= 3; ++kind)
                for (int subMode = 0; subMode <= 3; ++subMode) {
                    TSpriteOptions options;
                    options.Kind = kind;
                    options.SubMode = subMode;
                    options.Bits = bits;
                    options.BlendMode = blend;
                    if ((blend != 0 && (kind == 1 || kind == 2 || bits != 32)) ||
                        (blend == 0 && (kind == 1 || kind == 2) && bits != 16))
                        continue; // refused by the writer
                    SCOPED_TRACE(::testing::Message() << "kind " << kind << ", sub-mode " << subMode
                                                      << ", " << bits << " bits, blend " << blend);
                    TSpriteOptions raw = options; // sub-modes draw frames over others
                    raw.Kind = 0;
                    const TBytes record = Tools::EncodeSprite({picture, picture}, options);
                    if (bits == 24 && blend == 0) { // no 24-bit bitmaps: the load must do
                        EXPECT_EQ(ErrorOfLoad(record), "no error");
                        continue;
                    }
                    const bool wide = blend == 0 && bits == 32;
                    EXPECT_EQ(Drawn(record, wide),
                              Drawn(Tools::EncodeSprite({picture, picture}, raw), wide));
                }
}

TEST(SpriteWriter, ShadowRowsCoverTheWholeWidth) {
    // Light pixels at the row ends, which a reader of wide pixels still counts.
    const TPicture shadow =
        Picture(9, 3, [](int x, int y) { return x > y && x < 7 ? 0xFF000000u : 0u; });
    for (int bits : {16, 24, 32}) {
        TSpriteOptions options;
        options.Bits = bits;
        options.Shadows = {shadow};
        EXPECT_EQ(ShadowRowWidths(Tools::EncodeSprite({Checker(9, 3)}, options), 3),
                  (std::vector<int>{9, 9, 9}))
            << bits;
    }
    const uint8_t darken[4] = {1, 0, 0, 0};
    EXPECT_EQ(Tools::EncodeShadowRow(darken, 4), (TBytes{4, 0, 0xFF, 3}));
}

TEST(SpriteWriter, LibrariesRefuseTwoSpritesWithOneIdentifier) {
    TSpriteOptions options;
    options.ID = 7;
    const TBytes sprite = Tools::EncodeSprite({Checker(3, 3)}, options);
    EXPECT_EQ(TestSupport::ErrorOf([&] {
                  Tools::EncodeSpriteLibrary(1, {sprite, sprite});
              }),
              "Two sprites have the identifier 7.");
    options.ID = 8;
    TSpriteList library(0);
    ClassLib::TMemoryStream stream(
        Tools::EncodeSpriteLibrary(1, {Tools::EncodeSprite({Checker(3, 3)}, options), sprite}));
    library.LoadFromStream(&stream);
    EXPECT_EQ(library.Sprites().Count(), 2);
}
