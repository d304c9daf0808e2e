// Sprites on the display: conversion, device surfaces and textures, the registries,
// and drawing by blit and textured quad.
#include "engine/core/GraphicsError.h"
#include "engine/graphics/SpriteDrawing.h"
#include "tests/engine/graphics/SpriteFixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numbers>

using namespace Gfx;
using namespace SpriteTests;
using namespace Win32;

namespace {

constexpr uint16_t Background = 0x1234;

void Fill(IDirectDrawSurface7* surface, uint16_t value) {
    DDBLTFX fx;
    fx.dwFillColor = value;
    surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
}

// The back buffer's pixels with a reader for CountWrongPixels.
struct TScreen {
    std::vector<uint32_t> Pixels;
    explicit TScreen(IDirectDrawSurface7* surface) : Pixels(TestSupport::ReadPixels(*surface)) {}
    uint16_t At(int x, int y) const { return uint16_t(Pixels[size_t(y) * 800 + size_t(x)]); }
    std::function<uint16_t(int, int)> Reader() const {
        return [this](int x, int y) { return At(x, y); };
    }
};

std::unique_ptr<TSprite> Prepared(const TBytes& record, bool drop = false) {
    auto sprite = LoadSprite(record, sfConvert);
    sprite->PrepareSurfaces(drop);
    return sprite;
}

TBytes Opaque(const TPicture& picture, int blendMode = 0, int kind = 0) {
    TSpriteOptions options;
    options.BlendMode = blendMode;
    options.Kind = kind;
    return Tools::EncodeSprite({picture}, options);
}

struct TPlace {
    int X, Y;
    const char* Where;
};
constexpr TPlace Places[] = {
    {300, 200, "inside"},       {-5, 20, "cut at the left"},    {795, 20, "cut at the right"},
    {20, -4, "cut at the top"}, {20, 595, "cut at the bottom"},
};

} // namespace

TEST(SpriteSurfaces, CalibrationFindsTheLayoutAndATexelOffset) {
    {
        TScopedDisplay display;
        EXPECT_TRUE(IsDisplayRGB565);
        EXPECT_FLOAT_EQ(TexelOffset, -0.01f); // our device covers the pixel on the quad's edge
        EXPECT_EQ(TestSupport::ReadPixels(*display.BackBuffer())[0], 0u);
        EXPECT_EQ(display.Framework().CachedTexture(0), nullptr);
    }
    TScopedDisplay rgb555(16, Rgb555Machine());
    EXPECT_FALSE(IsDisplayRGB565);
}

TEST(SpriteSurfaces, TextureFormatsArePreferredInOrder) {
    DDPIXELFORMAT dxt3;
    dxt3.dwFlags = DDPF_FOURCC;
    dxt3.dwFourCC = 0x33545844;
    const DDPIXELFORMAT argb32 = PixelFormatOf(TPixelLayout::ARGB8888);
    const DDPIXELFORMAT argb4444 = PixelFormatOf(TPixelLayout::ARGB4444);
    const DDPIXELFORMAT argb1555 = PixelFormatOf(TPixelLayout::ARGB1555);
    const struct {
        std::vector<DDPIXELFORMAT> offered;
        TTextureFormatChooser chooser;
        const char* chosen;
    } cases[] = {
        {{argb32, dxt3}, ChooseTextureFormat, "DXT3"},
        {{argb32, dxt3}, ChooseTextureFormatNoDXT, "32"},
        {{argb4444, argb32}, ChooseTextureFormat, "32"},
        {{argb1555, argb4444}, ChooseTextureFormat, "16"},
        {{argb1555}, ChooseTextureFormat, "No valid textures enumerated."},
    };
    for (const auto& c : cases) {
        TDisplayHardware machine = DefaultDisplayHardware();
        machine.Adapters[0].Devices[0].TextureFormats = c.offered;
        TScopedDisplay display(16, machine, false);
        std::string chosen;
        try {
            DDPIXELFORMAT format;
            c.chooser(format);
            chosen = (format.dwFlags & DDPF_FOURCC) ? "DXT3" : std::to_string(format.dwRGBBitCount);
        } catch (const ClassLib::Exception& e) {
            chosen = e.Message;
        }
        EXPECT_EQ(chosen, c.chosen);
    }
}

TEST(SpriteSurfaces, KeyedSpritesAreBlittedAndClippedAtEveryEdge) {
    TScopedDisplay display;
    const TPicture picture = Checker(13, 9);
    for (int kind = 0; kind <= 3; ++kind) {
        TSpriteOptions options;
        options.Kind = kind;
        const auto sprite = Prepared(Tools::EncodeSprite({picture}, options));
        ASSERT_TRUE(sprite->HasSurfaces());
        for (const TPlace& place : Places) {
            Fill(display.BackBuffer(), Background);
            DrawSprite(sprite.get(), display.BackBuffer(), 0, place.X, place.Y, nullptr);
            const TScreen screen(display.BackBuffer());
            CountWrongPixels(800, 600, screen.Reader(), picture, place.X, place.Y, nullptr, false,
                             Background, std::to_string(kind) + " " + place.Where);
        }
    }
}

TEST(SpriteSurfaces, MirroredBlitsKeepEveryVisibleColumnInPlace) {
    TScopedDisplay display;
    const TPicture picture = Checker(13, 9);
    const auto sprite = Prepared(Tools::EncodeSprite({picture}, {}));
    const RECT clip{10, 0, 800, 600};
    for (const auto& [x, clipped] : {std::pair{300, false}, {-4, false}, {793, false}, {6, true}}) {
        Fill(display.BackBuffer(), Background);
        DrawSpriteMirrored(sprite.get(), display.BackBuffer(), 0, x, 100,
                           clipped ? &clip : nullptr);
        const TScreen screen(display.BackBuffer());
        CountWrongPixels(800, 600, screen.Reader(), picture, x, 100, clipped ? &clip : nullptr,
                         true, Background, "mirrored at " + std::to_string(x));
    }
    // Without surfaces nothing is mirrored.
    const auto software = LoadSprite(Tools::EncodeSprite({picture}, {}));
    Fill(display.BackBuffer(), Background);
    DrawSpriteMirrored(software.get(), display.BackBuffer(), 0, 10, 10, nullptr);
    EXPECT_EQ(TScreen(display.BackBuffer()).At(11, 10), Background);
}

TEST(SpriteSurfaces, BlendedSpritesAreDrawnAsTexturedQuads) {
    TScopedDisplay display;
    // Opaque and premultiplied: the quad must show each texel exactly where it belongs.
    const TPicture picture = Checker(13, 9);
    const TPicture solid = Picture(
        13, 9, [&](int x, int y) { return picture.Pixels[size_t(y * 13 + x)] | 0xFF000000u; });
    for (int kind : {0, 3}) {
        const auto sprite = Prepared(Opaque(solid, 0xFF, kind));
        ASSERT_TRUE(sprite->HasSurfaces());
        for (const TPlace& place : Places) {
            for (bool mirrored : {false, true}) {
                Fill(display.BackBuffer(), Background);
                (mirrored ? DrawSpriteMirrored : DrawSprite)(sprite.get(), display.BackBuffer(), 0,
                                                             place.X, place.Y, nullptr);
                const TScreen screen(display.BackBuffer());
                CountWrongPixels(800, 600, screen.Reader(), solid, place.X, place.Y, nullptr,
                                 mirrored, Background,
                                 std::string(place.Where) + (mirrored ? " mirrored" : ""));
            }
        }
    }
    // Additive over black: the colours scaled by their alpha, as in software.
    const auto glow = Prepared(Opaque(Picture(4, 4, [](int, int) { return 0x80F08040u; }), 0xFE));
    Fill(display.BackBuffer(), 0);
    DrawSprite(glow.get(), display.BackBuffer(), 0, 0, 0, nullptr);
    const uint32_t drawn = UnpackColor565(TScreen(display.BackBuffer()).At(1, 1));
    EXPECT_NEAR(double(drawn >> 16), 0xF0 * 128 / 255.0, 8);
    EXPECT_NEAR(double(drawn >> 8 & 0xFF), 0x80 * 128 / 255.0, 4);
}

TEST(SpriteSurfaces, StretchedTurnedAndBeamDraws) {
    TScopedDisplay display;
    const TPicture picture = Checker(10, 6);
    const auto sprite = Prepared(Tools::EncodeSprite({picture}, {}));
    IDirectDrawSurface7* screen = display.BackBuffer();

    Fill(screen, Background);
    DrawSpriteStretched(sprite.get(), screen, 0, {100, 100, 120, 112}, nullptr, true);
    TScreen stretched(screen);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(stretched.At(100 + x, 100 + y), Expected(picture, x / 2, y / 2, Background));
    Fill(screen, Background);
    DrawSpriteStretched(sprite.get(), screen, 0, {790, 100, 801, 112}, nullptr, true);
    EXPECT_EQ(TScreen(screen).At(795, 105), Background); // reaches past the target: nothing

    // Half a turn about the centre (200, 100): the picture upside down and back to front.
    Fill(screen, Background);
    DrawSpriteTransformed(sprite.get(), screen, 0, 200, 100, float(std::numbers::pi), 1, 1);
    const TScreen turned(screen);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(turned.At(195 + x, 97 + y), Expected(picture, 9 - x, 5 - y, Background));

    // A blended sprite turns about its hot spot, which lands on (x, y).
    TSpriteOptions blended;
    blended.BlendMode = 0xFF;
    blended.HotSpotX = 2;
    blended.HotSpotY = 1;
    const auto solid = Prepared(
        Tools::EncodeSprite({Picture(4, 2, [](int, int) { return 0xFFFFFFFFu; })}, blended));
    Fill(screen, 0);
    DrawSpriteTransformed(solid.get(), screen, 0, 400, 300, 0, 2, 2);
    const TScreen scaled(screen);
    EXPECT_EQ(scaled.At(396, 298), 0xFFFF);
    EXPECT_EQ(scaled.At(403, 301), 0xFFFF);
    EXPECT_EQ(scaled.At(395, 298), 0);
    EXPECT_EQ(scaled.At(404, 302), 0);

    // A beam along x; mode 1 runs the sprite's height along it, so it is 4 pixels thick.
    Fill(screen, 0);
    DrawSpriteBeam(solid.get(), 0, 100, 50, 100, 50, 0);
    EXPECT_EQ(TScreen(screen).At(100, 50), 0);
    DrawSpriteBeam(solid.get(), 0, 100, 50, 140, 50, 1);
    const TScreen beam(screen);
    EXPECT_EQ(beam.At(120, 47), 0);
    EXPECT_EQ(beam.At(120, 48), 0xFFFF);
    EXPECT_EQ(beam.At(120, 51), 0xFFFF);
    EXPECT_EQ(beam.At(120, 52), 0);
}

TEST(SpriteSurfaces, PreparedSpritesFollowTheRegistry) {
    TScopedDisplay display;
    TSpriteOptions options;
    std::vector<std::unique_ptr<TSprite>> sprites;
    for (int i = 0; i < 3; ++i)
        sprites.push_back(Prepared(Tools::EncodeSprite({Checker(5, 5, uint32_t(i))}, options)));
    ASSERT_EQ(SpriteRegistry.Count(), 3);

    // A shadow layer is drawn in software only: no surfaces, not registered.
    options.Shadows = {Picture(5, 5, [](int, int) { return 0xFF000000u; })};
    const auto shadowed = Prepared(Tools::EncodeSprite({Checker(5, 5)}, options));
    EXPECT_FALSE(shadowed->HasSurfaces());
    EXPECT_EQ(SpriteRegistry.Count(), 3);

    ReleaseAllSurfaces();
    EXPECT_FALSE(sprites[1]->HasSurfaces());
    RecreateAllSurfaces();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(sprites[size_t(i)]->HasSurfaces());
        EXPECT_EQ(SpriteRegistry[i], sprites[size_t(i)].get());
    }
    // Destroyed while its surfaces are away, a sprite still leaves the registry.
    ReleaseAllSurfaces();
    sprites.erase(sprites.begin() + 1);
    RecreateAllSurfaces();
    EXPECT_EQ(SpriteRegistry.Count(), 2);

    // Dropping the pixels leaves surfaces only, outside the registry.
    const auto dropped = Prepared(Tools::EncodeSprite({Checker(5, 5)}, {}), true);
    EXPECT_TRUE(dropped->Flags & sfSurfaceOnly);
    EXPECT_TRUE(dropped->Frames[0].Pixels.empty());
    EXPECT_EQ(SpriteRegistry.IndexOf(dropped.get()), -1);
    // Lost surfaces come back with their pictures.
    display.Framework().DirectDraw()->SimulateDisplayTaken();
    display.Framework().DirectDraw()->SimulateDisplayReturned();
    display.Framework().RestoreAllSurfaces();
    RestoreAllSurfaces();
    Fill(display.BackBuffer(), Background);
    DrawSprite(sprites[0].get(), display.BackBuffer(), 0, 0, 0, nullptr);
    EXPECT_EQ(TScreen(display.BackBuffer()).At(1, 0), Expected(Checker(5, 5), 1, 0, Background));
}

TEST(SpriteSurfaces, UnderLayerFramesAreComposedIntoEachSurface) {
    TScopedDisplay display;
    std::vector<TPicture> frames;
    for (int i = 0; i < 4; ++i)
        frames.push_back(Picture(5, 1, [i](int x, int) { return x == i ? 0xFFFF0000u : 0u; }));
    frames.push_back(Picture(5, 1, [](int, int) { return 0xFF0000FFu; }));
    TSpriteOptions options;
    options.SubMode = 2;
    const auto sprite = Prepared(Tools::EncodeSprite(frames, options));
    ASSERT_EQ(sprite->DrawableFrameCount(), 4);
    EXPECT_EQ(sprite->Surface(4), nullptr);
    for (int i = 0; i < 4; ++i) {
        const auto pixels = TestSupport::ReadPixels(*sprite->Surface(i));
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(pixels[size_t(x)], x == i ? 0xF800u : 0x001Fu) << i;
    }
}

TEST(SpriteSurfaces, LargeBlendedSpritesAreScaledIntoTheTexture) {
    TDisplayHardware machine = DefaultDisplayHardware();
    machine.Adapters[0].Devices[0].Desc.dwMaxTextureWidth = 256;
    TScopedDisplay display(16, machine);
    const auto sprite = Prepared(
        Opaque(Picture(300, 200, [](int x, int) { return 0xFF000000u | uint32_t(x); }), 0xFF));
    EXPECT_FLOAT_EQ(sprite->TextureScaleX, 256.0f / 300.0f);
    EXPECT_FLOAT_EQ(sprite->TextureScaleY, 1.0f);
    const auto texels = TestSupport::ReadPixels(*sprite->Surface(0));
    EXPECT_EQ(texels[255], 0xFF00012Bu); // the last column of the picture: 299
    EXPECT_EQ(texels[199 * 256], 0xFF000000u);
}

TEST(SpriteSurfaces, FramesAreConvertedToTheDisplayFormat) {
    const TPicture picture = Checker(6, 4);
    {
        TScopedDisplay rgb555(16, Rgb555Machine());
        for (int kind = 0; kind <= 3; ++kind) {
            TSpriteOptions options;
            options.Kind = kind;
            const auto sprite = LoadSprite(Tools::EncodeSprite({picture}, options), sfConvert);
            EXPECT_EQ(sprite->ColorKey, 0x7C1Fu) << kind;
            EXPECT_EQ(sprite->Kind(), kind == 3 ? 0 : kind); // compressed rows are expanded
            std::vector<uint16_t> memory(24, 0x0001);
            DDSURFACEDESC2 desc;
            desc.dwWidth = 6;
            desc.dwHeight = 4;
            desc.lPitch = 12;
            desc.lpSurface = memory.data();
            desc.ddpfPixelFormat.dwRGBBitCount = 16;
            DrawSpriteToLocked(sprite.get(), desc, 0, 0, 0, nullptr);
            for (int i = 0; i < 24; ++i)
                ASSERT_EQ(memory[size_t(i)],
                          picture.Pixels[size_t(i)] >> 24
                              ? ConvertPixel565To555(Expected(picture, i % 6, i / 6, 0))
                              : 0x0001)
                    << kind;
        }
        // Blended sprites keep their ARGB pixels.
        const auto blended = LoadSprite(Opaque(picture, 0xFF), sfConvert);
        EXPECT_EQ(blended->PixelWord, 0xFF20);
    }
    TScopedDisplay wide(32);
    TSpriteOptions options;
    options.Bits = 24;
    const auto sprite = LoadSprite(Tools::EncodeSprite({picture}, options), sfConvert);
    EXPECT_EQ(sprite->BitsPerPixel(), 32);
    ASSERT_EQ(sprite->Frames[0].Pixels.size(), 6u * 4 * 4);
    uint32_t first;
    std::memcpy(&first, sprite->Frames[0].Pixels.data() + 4, 4);
    EXPECT_EQ(first, picture.Pixels[1] & 0xFFFFFF);
    EXPECT_EQ(ErrorOfLoad(Tools::EncodeSprite({picture}, {}), sfConvert),
              "Unsupported pixel format conversion.");
    EXPECT_EQ(ErrorOfLoad(Tools::EncodeSprite({picture}, {}), 0), "no error");
}

TEST(SpriteSurfaces, SurfaceDumpsLoadIntoSurfacesAndSaveAsTheyCame) {
    TScopedDisplay display;
    TSpriteOptions options;
    options.Kind = 4;
    const TPicture picture = Checker(7, 3);
    const TBytes record = Tools::EncodeSprite({picture, Checker(7, 3, 1)}, options);
    const auto sprite = LoadSprite(record, sfConvert);
    EXPECT_EQ(sprite->Flags & (sfSurfaces | sfSurfaceOnly), sfSurfaces | sfSurfaceOnly);
    EXPECT_EQ(SaveSprite(*sprite), record);
    Fill(display.BackBuffer(), Background);
    DrawSprite(sprite.get(), display.BackBuffer(), 0, 2, 2, nullptr);
    const TScreen screen(display.BackBuffer());
    CountWrongPixels(20, 10, screen.Reader(), picture, 2, 2, nullptr, false, Background, "dump");

    // A stored pitch other than the surface's: the sizes differ.
    TBytes other = record;
    int32_t pitch;
    const size_t pitchAt = 4 + sizeof(TSpriteHeader) + 16;
    std::memcpy(&pitch, other.data() + pitchAt, 4);
    pitch += 16;
    std::memcpy(other.data() + pitchAt, &pitch, 4);
    other.resize(other.size() + 200);
    EXPECT_EQ(ErrorOfLoad(other), "Unequal surface sizes!");
}

// A sprite without its pixels (a surface dump, or pixels dropped) cannot make its
// surfaces again: the registry must leave it to its library, not re-create it empty.
TEST(SpriteSurfaces, SurfaceOnlySpritesStayOutOfTheRegistry) {
    TScopedDisplay display;
    const TPicture picture = Checker(7, 3);
    TSpriteOptions dumpOptions;
    dumpOptions.Kind = 4;
    const auto dump = LoadSprite(Tools::EncodeSprite({picture}, dumpOptions), sfConvert);
    const auto dropped = Prepared(Tools::EncodeSprite({picture}, {}), true);

    for (TSprite* sprite : {dump.get(), dropped.get()}) {
        sprite->PrepareSurfaces(false);
        EXPECT_EQ(SpriteRegistry.IndexOf(sprite), -1);
        ReleaseAllSurfaces();
        RecreateAllSurfaces();
        Fill(display.BackBuffer(), Background);
        DrawSprite(sprite, display.BackBuffer(), 0, 2, 2, nullptr);
        const TScreen screen(display.BackBuffer());
        EXPECT_EQ(CountWrongPixels(20, 10, screen.Reader(), picture, 2, 2, nullptr, false,
                                   Background, "after a display change"),
                  0);
    }
}
