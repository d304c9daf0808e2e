// Fonts rasterised from DejaVu Sans by the font builder.
#include "tools/FontBuilder.h"
#include "engine/graphics/GfxPixels.h"
#include "platform/classlib/Bitmap.h"
#include "platform/classlib/Files.h"
#include "tests/engine/graphics/FontTestSupport.h"
#include "tests/support/DisplayFixtures.h"
#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Gfx;
using namespace TestSupport;

namespace {

std::unique_ptr<TFont> BuiltFont(const Tools::TFontBuildOptions& options) {
    auto font = std::make_unique<TFont>();
    Tools::BuildFont(Tools::DefaultFontFile, options, *font);
    return font;
}

uint16_t PixelOf(const TFont& font, uint8_t glyph, int x, int y) {
    const size_t at =
        ((size_t(glyph) * size_t(font.CellHeight()) + size_t(y)) * size_t(font.CellWidth()) +
         size_t(x)) *
        2;
    return static_cast<uint16_t>(font.Pixels()[at] | font.Pixels()[at + 1] << 8);
}

int InkOf(const TFont& font, uint8_t glyph) {
    int ink = 0;
    for (int y = 0; y < font.CellHeight(); ++y)
        for (int x = 0; x < font.CellWidth(); ++x)
            ink += PixelOf(font, glyph, x, y) != font.ColourKey();
    return ink;
}

} // namespace

TEST(FontBuilder, CellsWidthsAndInkOfTheLatin1Characters) {
    Tools::TFontBuildOptions options;
    options.PixelSize = 16;
    options.ID = 12;
    const auto built = BuiltFont(options);
    const TFont& font = *built;
    EXPECT_EQ(font.ID, 12u);
    EXPECT_EQ(font.BitsPerPixel(), 16);
    EXPECT_EQ(font.ColourKey(), 0xF81Fu);
    EXPECT_GE(font.CellHeight(), 16);
    EXPECT_LE(font.CellHeight(), 22);
    // Proportional widths; control characters are blank and take no room.
    EXPECT_LT(font.GlyphWidth('i'), font.GlyphWidth('m'));
    EXPECT_GT(font.GlyphWidth(' '), 0);
    EXPECT_EQ(InkOf(font, ' '), 0);
    for (const uint8_t control : {0, 9, 10, 13, 0x7F, 0x85, 0x9F}) {
        EXPECT_EQ(font.GlyphWidth(control), 0) << int(control);
        EXPECT_EQ(InkOf(font, control), 0) << int(control);
    }
    // Latin-1 above 0xA0: e acute is an e with an accent above it.
    EXPECT_EQ(font.GlyphWidth(0xE9), font.GlyphWidth('e'));
    EXPECT_GT(InkOf(font, 0xE9), InkOf(font, 'e'));
    EXPECT_GT(InkOf(font, 0xC4), InkOf(font, 'A')); // A diaeresis
    // Black ink, so drawing in a colour gives exactly that colour.
    for (int y = 0; y < font.CellHeight(); ++y)
        for (int x = 0; x < font.CellWidth(); ++x) {
            const uint16_t p = PixelOf(font, 'g', x, y);
            EXPECT_TRUE(p == 0 || p == 0xF81F);
            if (x >= font.GlyphWidth('g')) {
                EXPECT_EQ(p, 0xF81F) << "ink beyond the drawn width";
            }
        }
    // The descender of g reaches below the baseline, where x has none.
    const auto lowestInk = [&](uint8_t glyph) {
        int lowest = -1;
        for (int y = 0; y < font.CellHeight(); ++y)
            for (int x = 0; x < font.CellWidth(); ++x)
                if (PixelOf(font, glyph, x, y) != 0xF81F)
                    lowest = y;
        return lowest;
    };
    EXPECT_GT(lowestInk('g'), lowestInk('x'));
}

TEST(FontBuilder, FontsRoundTripByteForByte) {
    for (const bool bold : {false, true}) {
        Tools::TFontBuildOptions options;
        options.PixelSize = 11;
        options.Bold = bold;
        const std::vector<uint8_t> record = SavedBytes(*BuiltFont(options));
        TFont loaded;
        ClassLib::TMemoryStream stream(record);
        loaded.LoadFromStream(&stream);
        EXPECT_EQ(SavedBytes(loaded), record);
    }
}

TEST(FontBuilder, StyleAndColour) {
    Tools::TFontBuildOptions options;
    options.PixelSize = 20;
    const auto regular = BuiltFont(options);
    options.Bold = true;
    const auto bold = BuiltFont(options);
    EXPECT_GT(InkOf(*bold, 'a'), InkOf(*regular, 'a') * 5 / 4);
    EXPECT_GE(bold->GlyphWidth('a'), regular->GlyphWidth('a'));

    options.Bold = false;
    options.Italic = true;
    const auto italic = BuiltFont(options);
    // The slanted l leans right: its top row's ink starts right of its bottom row's.
    const auto firstInk = [&](const TFont& font, int y) {
        for (int x = 0; x < font.CellWidth(); ++x)
            if (PixelOf(font, 'l', x, y) != font.ColourKey())
                return x;
        return -1;
    };
    int top = 0, bottom = italic->CellHeight() - 1;
    while (firstInk(*italic, top) < 0)
        ++top;
    while (firstInk(*italic, bottom) < 0)
        --bottom;
    EXPECT_GT(firstInk(*italic, top), firstInk(*italic, bottom));

    options.Italic = false;
    options.Colour = 0xFFD700;
    const auto gold = BuiltFont(options);
    const int x = firstInk(*gold, top);
    ASSERT_GE(x, 0);
    EXPECT_EQ(PixelOf(*gold, 'l', x, top), PackColor565(0xFFD700));
    options.Colour = 0xFF00FF; // magenta ink takes green for the key
    EXPECT_EQ(BuiltFont(options)->ColourKey(), 0x07E0u);
}

TEST(FontBuilder, UnusableFilesAndSizesAreReported) {
    TFont font;
    Tools::TFontBuildOptions options;
    EXPECT_EQ(ErrorOf([&] { Tools::BuildFont("/nowhere/font.ttf", options, font); }),
              "Cannot read the font file '/nowhere/font.ttf'.");
    options.PixelSize = 2;
    EXPECT_EQ(ErrorOf([&] { Tools::BuildFont(Tools::DefaultFontFile, options, font); }),
              "Font size 2 is outside 4 to 200.");
}

// Leaves font_output/text.bmp in the test's build folder: a line of text in dark blue on
// cream, to be looked at.
TEST(FontBuilder, RenderedLineOfText) {
    Tools::TFontBuildOptions options;
    options.PixelSize = 18;
    const auto built = BuiltFont(options);
    const TFont& font = *built;
    const AnsiString line = "Varnholt: the quick brown fox jumps over the lazy dog. \xC4pfel, "
                            "\xD6l & S\xFC\xDF 1234567890!";
    const int width = font.TextWidth(line) + 8, height = font.CellHeight() * 2 + 8;
    auto directDraw = PrimaryDirectDraw();
    auto surface = MakeSurface(*directDraw, width, height, TPixelLayout::RGB565);
    FillSurface(*surface, PackColor565(0xFFF8E0));
    font.DrawString(surface.Get(), 4, 4, nullptr, PackColor565(0x1A2A80), line);
    font.DrawString(surface.Get(), 4, 4 + font.CellHeight(), nullptr, PackColor565(0xA01010),
                    "Gold 250, Mana 17/20");
    ClassLib::TBitmap bitmap(width, height);
    const std::vector<uint32_t> pixels = ReadPixels(*surface);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.ScanLine(y)[x] = static_cast<uint16_t>(pixels[size_t(y * width + x)]);
    ClassLib::ForceDirectories("font_output");
    bitmap.SaveToFile("font_output/text.bmp");
    EXPECT_TRUE(ClassLib::FileExists("font_output/text.bmp"));
}
