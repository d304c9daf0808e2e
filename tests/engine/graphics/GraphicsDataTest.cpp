// The whole path of the game's pictures: PNG files made into sprites and a sprite
// library by vrngfx, packed into "graphics.dat", opened from the archive, acquired by
// identifier and drawn every way onto the display.
#include "engine/core/Archive.h"
#include "engine/graphics/SpriteDrawing.h"
#include "engine/graphics/SpriteList.h"
#include "platform/classlib/Files.h"
#include "tests/engine/graphics/SpriteFixtures.h"
#include "tests/support/TempDir.h"
#include "tools/GfxTool.h"
#include "tools/PngFiles.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace Gfx;
using namespace SpriteTests;
using namespace Win32;

namespace {

constexpr uint16_t Background = 0x0841;

enum : uint32_t {
    RawID = 10,
    RunLineAID,
    RunLineBID,
    CompressedID,
    ShadowedID,
    GlowID,
    AdditiveID,
    UnusedID,
};

// Builds graphics.dat in a folder of its own and points the data path at it.
class GraphicsData : public ::testing::Test {
protected:
    void SetUp() override {
        FSavedDataPath = Data::DataPath;
        Data::DataPath = FDir.Path();
        const std::string pictures = FDir.Path() + "pictures/";
        const std::string sprites = FDir.Path() + "sprites/";
        const std::string graphics = FDir.Path() + "graphics/";
        for (const std::string& folder : {pictures, sprites, graphics})
            ClassLib::ForceDirectories(folder);
        // Two frames side by side.
        Tools::SavePng(pictures + "strip.png", Picture(26, 9, [&](int x, int y) {
                           return Strip.Pixels[size_t(y * 26 + x)];
                       }));
        Tools::SavePng(pictures + "shadow.png",
                       Picture(13, 9, [](int x, int y) { return x >= y ? 0xFF000000u : 0u; }));
        Tools::SavePng(pictures + "glow.png", Glow);

        const auto sprite = [&](uint32_t id, std::vector<std::string> options,
                                const std::string& picture) {
            std::vector<std::string> args{"sprite", "--id", std::to_string(id)};
            args.insert(args.end(), options.begin(), options.end());
            args.push_back(sprites + std::to_string(id) + ".gfx");
            args.push_back(pictures + picture);
            ASSERT_EQ(Tools::RunGfxTool(args), 0) << id;
        };
        sprite(RawID, {"--frames", "2", "--hotspot", "6,8"}, "strip.png");
        sprite(RunLineAID, {"--kind", "1", "--frames", "2"}, "strip.png");
        sprite(RunLineBID, {"--kind", "2", "--frames", "2"}, "strip.png");
        sprite(CompressedID, {"--kind", "3", "--frames", "2"}, "strip.png");
        sprite(ShadowedID, {"--kind", "1", "--shadow", pictures + "shadow.png"}, "glow.png");
        sprite(GlowID, {"--blend", "ff", "--kind", "3"}, "glow.png");
        sprite(AdditiveID, {"--blend", "fe"}, "glow.png");
        sprite(UnusedID, {}, "glow.png");

        std::vector<std::string> library{"library", "--id", "5", graphics + "sprites.gfxl"};
        for (uint32_t id = RawID; id <= UnusedID; ++id)
            library.push_back(sprites + std::to_string(id) + ".gfx");
        ASSERT_EQ(Tools::RunGfxTool(library), 0);
        ASSERT_EQ(Tools::PackFolder(graphics, FDir.Path() + "graphics.dat", false), 1);
    }
    void TearDown() override { Data::DataPath = FSavedDataPath; }

    TPicture Frame(int index) const {
        return Picture(13, 9,
                       [&](int x, int y) { return Strip.Pixels[size_t(y * 26 + index * 13 + x)]; });
    }

    TestSupport::TempDir FDir;
    ClassLib::AnsiString FSavedDataPath;
    const TPicture Strip = Picture(26, 9, [](int x, int y) -> uint32_t {
        return (x % 13 + y) % 5 == 0
                   ? 0u
                   : 0xFF000000u | uint32_t(x * 9) << 16 | uint32_t(y * 25) << 8 | 0x40;
    });
    const TPicture Glow = Picture(13, 9, [](int x, int y) -> uint32_t {
        return (x + y) % 3 == 0 ? 0u : 0xFF000000u | uint32_t(x * 19) << 16 | uint32_t(y * 27);
    });
};

struct TScreen {
    std::vector<uint32_t> Pixels;
    explicit TScreen(IDirectDrawSurface7* surface) : Pixels(TestSupport::ReadPixels(*surface)) {}
    uint16_t At(int x, int y) const { return uint16_t(Pixels[size_t(y) * 800 + size_t(x)]); }
};

void Fill(IDirectDrawSurface7* surface) {
    DDBLTFX fx;
    fx.dwFillColor = Background;
    surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
}

// Draws by draw, then compares the whole screen with the picture placed at (x, y).
template <class TDraw>
void ExpectScreen(IDirectDrawSurface7* screen, const TPicture& picture, int x, int y, bool mirrored,
                  const std::string& what, TDraw draw) {
    Fill(screen);
    draw();
    const TScreen pixels(screen);
    CountWrongPixels(
        800, 600, [&](int tx, int ty) { return pixels.At(tx, ty); }, picture, x, y, nullptr,
        mirrored, Background, what);
}

} // namespace

TEST_F(GraphicsData, SpritesFromTheArchiveAreDrawnEveryWay) {
    TScopedDisplay display;
    IDirectDrawSurface7* screen = display.BackBuffer();
    TSpriteList library(17);
    library.LoadFromArchive(Data::TArchive("graphics", Data::arPacked), "Sprites.GFXL");
    ASSERT_EQ(library.Directory().size(), 8u);
    EXPECT_EQ(library.ID, 5u);

    library.PreloadSprite(GlowID);
    TSprite* kinds[4];
    for (uint32_t id = RawID; id <= CompressedID; ++id) {
        TSprite* sprite = library.AcquireSpriteByID(id);
        ASSERT_EQ(sprite->Kind(), int(id - RawID));
        EXPECT_EQ(library.AcquireSpriteByID(id), sprite); // shared
        library.ReleaseSpriteByPointer(sprite);
        kinds[id - RawID] = sprite;
    }
    EXPECT_EQ(kinds[0]->HotSpotX, 6);
    EXPECT_EQ(library.FindSprite(UnusedID), nullptr);

    // In software first, at every edge, then from surfaces by blit.
    const int places[][2] = {{200, 100}, {-4, 10}, {792, 10}, {10, -3}, {10, 595}};
    for (bool surfaces : {false, true}) {
        for (TSprite* sprite : kinds) {
            if (surfaces)
                sprite->PrepareSurfaces(false);
            for (int frame = 0; frame < 2; ++frame)
                for (const auto& [x, y] : places)
                    ExpectScreen(screen, Frame(frame), x, y, false,
                                 "kind " + std::to_string(sprite->Kind()),
                                 [&] { DrawSprite(sprite, screen, frame, x, y, nullptr); });
        }
    }
    ExpectScreen(screen, Frame(1), 100, 100, true, "mirrored blit",
                 [&] { DrawSpriteMirrored(kinds[2], screen, 1, 100, 100, nullptr); });

    // Stretched to twice the size, and half a turn about (300, 300).
    Fill(screen);
    DrawSpriteStretched(kinds[1], screen, 0, {50, 60, 76, 78}, nullptr, true);
    const TScreen stretched(screen);
    EXPECT_EQ(stretched.At(50 + 2 * 4 + 1, 60 + 2 * 3), Expected(Frame(0), 4, 3, Background));
    Fill(screen);
    DrawSpriteTransformed(kinds[3], screen, 0, 300, 300, float(std::numbers::pi), 1, 1);
    EXPECT_EQ(TScreen(screen).At(294 + 12 - 4, 296 + 8 - 3), Expected(Frame(0), 4, 3, Background));

    // The shadowed sprite stays in software: its shadow halves what lies under it.
    TSprite* shadowed = library.AcquireSpriteByID(ShadowedID);
    shadowed->PrepareSurfaces(false);
    EXPECT_FALSE(shadowed->HasSurfaces());
    Fill(screen);
    DrawSprite(shadowed, screen, 0, 0, 0, nullptr);
    const TScreen shaded(screen);
    EXPECT_EQ(shaded.At(5, 2), uint16_t((Expected(Glow, 5, 2, Background) & 0xF7DE) >> 1));
    EXPECT_EQ(shaded.At(0, 1), Expected(Glow, 0, 1, Background));

    // The compressed premultiplied sprite, opaque where the picture is: exact texels by
    // quad, mirrored too; its pixels were dropped once its textures existed.
    TSprite* glow = library.FindSpriteChecked(GlowID);
    glow->PrepareSurfaces(true);
    ASSERT_TRUE(glow->HasSurfaces());
    const TPicture opaqueGlow = Picture(13, 9, [&](int x, int y) {
        const uint32_t p = Glow.Pixels[size_t(y * 13 + x)];
        return p >> 24 ? p : 0xFF000000u; // transparent texels add nothing: black over black
    });
    for (const auto& [x, y] : places) {
        for (bool mirrored : {false, true}) {
            Fill(screen);
            DDBLTFX fx;
            fx.dwFillColor = 0;
            RECT area{std::max(x, 0), std::max(y, 0), std::min(x + 13, 800), std::min(y + 9, 600)};
            screen->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL, &fx);
            (mirrored ? DrawSpriteMirrored : DrawSprite)(glow, screen, 0, x, y, nullptr);
            const TScreen pixels(screen);
            for (int py = 0; py < 9; ++py)
                for (int px = 0; px < 13; ++px) {
                    const int tx = x + px, ty = y + py;
                    if (tx < 0 || ty < 0 || tx >= 800 || ty >= 600)
                        continue;
                    const int sx = mirrored ? 12 - px : px;
                    ASSERT_EQ(pixels.At(tx, ty),
                              PackColor565(opaqueGlow.Pixels[size_t(py * 13 + sx)]))
                        << x << "," << y << (mirrored ? " mirrored" : "");
                }
        }
    }

    // After a display change every sprite is back with the same picture.
    TSprite* additive = library.AcquireSpriteByID(AdditiveID);
    additive->PrepareSurfaces(false);
    ReleaseAllSurfaces();
    library.ReleaseSurfaces();
    EXPECT_FALSE(glow->HasSurfaces());
    RecreateAllSurfaces();
    library.RecreateSurfaces();
    EXPECT_EQ(library.FindSprite(GlowID), glow);
    for (TSprite* sprite : kinds)
        EXPECT_TRUE(sprite->HasSurfaces());
    EXPECT_TRUE(glow->HasSurfaces() && additive->HasSurfaces());
    ExpectScreen(screen, Frame(1), 300, 200, false, "after the change",
                 [&] { DrawSprite(kinds[3], screen, 1, 300, 200, nullptr); });
    Fill(screen);
    DrawSprite(glow, screen, 0, 0, 0, nullptr);
    EXPECT_EQ(TScreen(screen).At(1, 0), PackColor565(Glow.Pixels[1]));
}

TEST(GfxTool, ReportsBadUsageAndBadFiles) {
    TestSupport::TempDir dir;
    const TPicture picture = Checker(6, 4);
    Tools::SavePng(dir.File("a.png"), picture);
    EXPECT_EQ(Tools::LoadPng(dir.File("a.png")).Pixels, picture.Pixels);
    const struct {
        std::vector<std::string> args;
        int result;
    } cases[] = {
        {{}, 2},
        {{"sprite", "--kind", "9", dir.File("x.gfx"), dir.File("a.png")}, 2},
        {{"sprite", "--frames"}, 2},
        {{"sprite", dir.File("x.gfx")}, 2},
        {{"sprite", dir.File("x.gfx"), dir.File("missing.png")}, 1},
        {{"sprite", "--frames", "4", dir.File("x.gfx"), dir.File("a.png")}, 1}, // 6 wide
        {{"sprite", "--kind", "1", "--bits", "24", dir.File("x.gfx"), dir.File("a.png")}, 1},
        {{"sprite", "--frames", "2", dir.File("x.gfx"), dir.File("a.png")}, 0},
        {{"library", dir.File("x.gfxl"), dir.File("x.gfx")}, 0},
        {{"library", dir.File("y.gfxl"), dir.File("x.gfx"), dir.File("x.gfx")}, 1}, // one ID
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tools::RunGfxTool(c.args), c.result) << (c.args.empty() ? "" : c.args.back());
    EXPECT_EQ(LoadSprite(Tools::LoadLooseFile(dir.File("x.gfx")))->FrameCount(), 2);
}
