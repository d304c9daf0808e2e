// Fonts on a display: conversion while loading, the glyph surface, and text blitted from
// it matching text drawn in software.
#include "engine/app/D3DFramework.h"
#include "engine/core/GraphicsError.h"
#include "engine/graphics/GfxFont.h"
#include "engine/graphics/GfxPixels.h"
#include "tests/engine/graphics/FontTestSupport.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/support/DisplayFixtures.h"
#include "tests/support/ErrorOf.h"
#include "tools/FontBuilder.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Gfx;
using namespace TestSupport;

namespace {

using SpriteTests::Rgb555Machine;
using SpriteTests::TScopedDisplay;

// A surface of the display's format.
TRefPtr<IDirectDrawSurface7> DisplaySurface(int width, int height, uint32_t fill) {
    auto surface = D3DFrame::D3DFramework->CreateOffscreenSurface(width, height, 0);
    FillSurface(*surface, fill);
    return surface;
}

std::unique_ptr<TFont> LoadFont(const std::vector<uint8_t>& record) {
    auto font = std::make_unique<TFont>();
    ClassLib::TMemoryStream stream(record);
    font->LoadFromStream(&stream);
    return font;
}

std::vector<uint8_t> BuilderRecord(int pixelSize) {
    Tools::TFontBuildOptions options;
    options.PixelSize = pixelSize;
    TFont font;
    Tools::BuildFont(Tools::DefaultFontFile, options, font);
    return SavedBytes(font);
}

const char* const Paragraph =
    "Varnholt lies beyond the northern marshes. Its lords keep the old roads open, "
    "and the toll they take buys swords against what comes out of the fog \xE0 l'hiver.\n"
    "Gold: 1250   Mana: 17/20";

} // namespace

TEST(FontSurface, BlittedTextMatchesSoftwareText) {
    for (const bool rgb555 : {false, true}) {
        SCOPED_TRACE(rgb555 ? "RGB555" : "RGB565");
        TScopedDisplay display(16, rgb555 ? Rgb555Machine() : DefaultDisplayHardware());
        const auto record = BuilderRecord(14);
        const auto blitted = LoadFont(record), drawn = LoadFont(record);
        const uint32_t text = 0x2945, paper = 0xFFDF; // RGB565, converted where needed
        blitted->PrepareSurface(text, paper);
        ASSERT_TRUE(blitted->SurfaceBuilt());
        ASSERT_NE(blitted->GlyphSurface(), nullptr);
        EXPECT_EQ(blitted->GlyphSurface()->Width(), blitted->CellWidth() * 256);
        EXPECT_EQ(blitted->GlyphSurface()->Height(), blitted->CellHeight());

        const uint32_t fill = rgb555 ? ConvertPixel565To555(paper) : paper;
        auto a = DisplaySurface(300, 120, fill), b = DisplaySurface(300, 120, fill);
        const RECT box{-7, 3, 290, 200}, clip{0, 0, 250, 100};
        blitted->DrawWrappedText(a.Get(), box, &clip, text, Paragraph);
        drawn->DrawWrappedText(b.Get(), box, &clip, text, Paragraph);
        const auto pixels = ReadPixels(*a);
        EXPECT_EQ(pixels, ReadPixels(*b));
        const auto inked =
            std::count(pixels.begin(), pixels.end(), rgb555 ? ConvertPixel565To555(text) : text);
        EXPECT_GT(inked, 1000);
    }
}

TEST(FontSurface, GlyphCellsInThePreparedColour) {
    TScopedDisplay display;
    TFont font;
    MakeTestFont(font);
    font.PrepareSurface(0x0100, 0xFFFF);
    std::vector<uint32_t> cells = ReadPixels(*font.GlyphSurface());
    const int width = TestCellWidth * 256;
    // Glyph 'W' draws all 4 columns; 'a' only 3, the fourth stays background.
    for (const auto& [glyph, columns] : {std::pair{'W', 4}, std::pair{'a', 3}})
        for (int y = 0; y < TestCellHeight; ++y)
            for (int x = 0; x < TestCellWidth; ++x) {
                const uint32_t p = cells[size_t(y * width + glyph * TestCellWidth + x)];
                const bool ink = x < columns && TestGlyphPixel(x, y) != FontKey;
                EXPECT_EQ(p, ink ? TestGlyphPixel(x, y) + 0x0100u : 0xFFFFu) << glyph << x << y;
            }
    DDCOLORKEY key;
    ASSERT_EQ(font.GlyphSurface()->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0xFFFFu);
}

TEST(FontSurface, SurfaceLifecycle) {
    TFont font;
    MakeTestFont(font);
    font.PrepareSurface(0, 0xFFFF); // no display: nothing
    EXPECT_FALSE(font.SurfaceBuilt());

    TScopedDisplay display;
    font.PrepareSurface(0, 0xFFFF);
    ASSERT_TRUE(font.SurfaceBuilt());
    IDirectDrawSurface7* first = font.GlyphSurface();
    font.PrepareSurface(0x1234, 0); // already built: kept
    EXPECT_EQ(font.GlyphSurface(), first);

    font.RecreateSurface();
    EXPECT_TRUE(font.SurfaceBuilt());
    EXPECT_NE(font.GlyphSurface(), nullptr);
    font.RestoreSurface();
    EXPECT_NE(font.GlyphSurface(), nullptr);

    // Text in the prepared colour is drawn in software while the surface is away.
    auto target = DisplaySurface(8, 4, 0xAAAA);
    font.ReleaseSurface();
    EXPECT_FALSE(font.SurfaceBuilt());
    EXPECT_EQ(font.GlyphSurface(), nullptr);
    font.DrawGlyph(target.Get(), 0, 0, nullptr, 0, 'W');
    EXPECT_EQ(ReadPixels(*target)[0], 1u);
    font.RecreateSurface(); // not built: stays released
    EXPECT_EQ(font.GlyphSurface(), nullptr);

    // New glyphs drop the surface made of the old ones.
    font.PrepareSurface(0, 0xFFFF);
    MakeTestFont(font);
    EXPECT_FALSE(font.SurfaceBuilt());
}

TEST(FontSurface, LoadingConvertsForTheDisplay) {
    TFont source;
    MakeTestFont(source);
    const std::vector<uint8_t> record16 = SavedBytes(source);
    {
        TScopedDisplay display(16, Rgb555Machine());
        const auto font = LoadFont(record16);
        EXPECT_EQ(font->ColourKey(), 0x7C1Fu);
        // Saved as converted: the record now holds RGB555 pixels.
        EXPECT_NE(SavedBytes(*font), record16);
    }
    {
        TScopedDisplay display(32);
        EXPECT_EQ(ErrorOf([&] { LoadFont(record16); }), "Unsupported pixel format conversion.");
        EXPECT_THROW(LoadFont(record16), Base::EGraphicsError);

        // A 24-bit font widened for the 32-bit display draws into its surfaces.
        std::array<int16_t, GlyphCount> widths;
        widths.fill(2);
        std::vector<uint8_t> cells(size_t(2) * 256 * 3, 0);
        for (size_t i = 0; i < cells.size(); i += 3)
            cells[i] = 0x10;
        source.SetGlyphs(24, 2, 1, widths, 0xFFFFFF, cells);
        const auto font = LoadFont(SavedBytes(source));
        EXPECT_EQ(font->BitsPerPixel(), 32);
        auto target = DisplaySurface(4, 2, 0);
        font->DrawString(target.Get(), 1, 1, nullptr, 0x000200, "a");
        EXPECT_EQ(ReadPixels(*target), (std::vector<uint32_t>{0, 0, 0, 0, 0, 0x0210, 0x0210, 0}));
    }
}

TEST(FontSurface, TheRegistryCarriesGlyphSurfacesThroughDisplayChanges) {
    TScopedDisplay display;
    TFont a, b;
    MakeTestFont(a);
    MakeTestFont(b);
    a.PrepareSurface(0x0100, 0xFFFF);
    b.PrepareSurface(0x0200, 0xFFFF);
    ASSERT_EQ(FontRegistry.Count(), 2);
    EXPECT_EQ(FontRegistry.IndexOf(&a), 0);

    // Before the change: the surfaces go, the fonts stay prepared, registered, and drawable.
    ReleaseAllSurfaces();
    EXPECT_EQ(a.GlyphSurface(), nullptr);
    EXPECT_TRUE(a.SurfaceBuilt());
    EXPECT_EQ(FontRegistry.Count(), 2);
    auto before = DisplaySurface(8, 4, 0xAAAA);
    a.DrawGlyph(before.Get(), 0, 0, nullptr, 0x0100, 'W');
    EXPECT_EQ(ReadPixels(*before)[0], 0x0101u);

    // After it: rebuilt on the new display's device, in the same order.
    D3DFrame::D3DFramework->SetFullScreenMode(0);
    RecreateAllSurfaces();
    ASSERT_NE(a.GlyphSurface(), nullptr);
    ASSERT_NE(b.GlyphSurface(), nullptr);
    EXPECT_EQ(FontRegistry.IndexOf(&a), 0);
    EXPECT_EQ(FontRegistry.IndexOf(&b), 1);
    auto blitted = DisplaySurface(12, 4, 0xAAAA), drawn = DisplaySurface(12, 4, 0xAAAA);
    b.DrawString(blitted.Get(), 1, 1, nullptr, 0x0200, "Wai");
    TFont plain;
    MakeTestFont(plain);
    plain.DrawString(drawn.Get(), 1, 1, nullptr, 0x0200, "Wai");
    EXPECT_EQ(ReadPixels(*blitted), ReadPixels(*drawn));

    RestoreAllSurfaces();
    EXPECT_NE(a.GlyphSurface(), nullptr);

    // Released, cleared or destroyed fonts leave the registry.
    a.ReleaseSurface();
    EXPECT_EQ(FontRegistry.IndexOf(&a), -1);
    {
        TFont c;
        MakeTestFont(c);
        c.PrepareSurface(0, 0xFFFF);
        EXPECT_EQ(FontRegistry.Count(), 2);
    }
    EXPECT_EQ(FontRegistry.Count(), 1);
    b.Clear();
    EXPECT_EQ(FontRegistry.Count(), 0);
}
