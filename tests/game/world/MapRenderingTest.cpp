// The retained map view against a from-scratch drawing of the same view, pixel for
// pixel, through scrolls and changing objects; fog edges drawn from hand-painted
// fog masks.
#include "engine/graphics/Sprite.h"
#include "game/world/data/GlobalData.h"
#include "game/world/fog/Fog.h"
#include "game/world/units/Unit.h"
#include "platform/classlib/Streams.h"
#include "tests/game/world/TextMap.h"
#include "tests/support/DisplayFixtures.h"
#include "tests/support/GlobalDataFixture.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "tools/SpriteWriter.h"

#include <gtest/gtest.h>

using namespace GameData;
using TestSupport::TTinyWorld;

namespace {

constexpr int SurfaceWidth = 360;
constexpr int SurfaceHeight = 260;
const RECT ViewClip{10, 20, 330, 240};
constexpr int32_t AllOptions = TScenario::roBackground | TScenario::roObjects;

std::unique_ptr<Gfx::TSprite> LoadSprite(const std::vector<Tools::TPicture>& frames,
                                         const Tools::TSpriteOptions& options) {
    auto sprite = std::make_unique<Gfx::TSprite>();
    ClassLib::TMemoryStream stream(Tools::EncodeSprite(frames, options));
    sprite->LoadFromStream(&stream);
    return sprite;
}

// Every tile pixel differs from its neighbours, so a misplaced copy shows.
std::unique_ptr<Gfx::TSprite> PatternedTile(int index) {
    Tools::TPicture picture{TileSize, TileSize, {}};
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
            picture.Pixels.push_back(0xFF000000u | uint32_t((x * 7 + index * 40) & 0xFF) << 16 |
                                     uint32_t((y * 5 + x) & 0xFF) << 8 | uint32_t(y * 3 & 0xFF));
    Tools::TSpriteOptions options;
    options.ID = uint32_t(100 + index);
    options.Keyed = false;
    return LoadSprite({picture}, options);
}

uint64_t Hash(const std::vector<uint32_t>& pixels) {
    uint64_t hash = 1469598103934665603ull;
    for (uint32_t pixel : pixels)
        hash = (hash ^ pixel) * 1099511628211ull;
    return hash;
}

TestSupport::TTinyWorldOptions Options24() {
    TestSupport::TTinyWorldOptions options;
    options.Width = 24;
    options.Height = 24;
    return options;
}

class TMapRedrawTest : public ::testing::Test {
protected:
    TMapRedrawTest() : World(Options24()) {
        std::vector<std::unique_ptr<Gfx::TSprite>> tiles;
        for (int i = 0; i < 36; ++i)
            tiles.push_back(PatternedTile(i));
        Scenario().Background.SetTiles(6, 6, std::move(tiles));
        Scenario().CurrentPlayer = nullptr; // every object shown, no fog
        for (int i = 0; i < 12; ++i)
            World.AddDoodle(i % 3 + 1, (i * 7) % 24, (i * 5 + 2) % 24);
        Fountain = World.AddDoodle(TTinyWorld::Fountain, 4, 3);
        Walker = World.AddDoodle(TTinyWorld::Tree, 2, 2);
    }

    TScenario& Scenario() { return *World.Scenario; }

    // The view drawn from scratch on a surface of its own.
    std::vector<uint32_t> Reference(int viewX, int viewY, int32_t options) {
        auto surface = TestSupport::MakeSurface(*DirectDraw, SurfaceWidth, SurfaceHeight,
                                                Win32::TPixelLayout::RGB565);
        TestSupport::FillSurface(*surface, 0);
        Scenario().DrawArea(surface.Get(), viewX, options, ViewClip, viewY);
        return TestSupport::ReadPixels(*surface);
    }

    void Redraw(int viewX, int viewY, int32_t options, bool force = false) {
        Scenario().RedrawMapView(Retained.Get(), viewX, force, options, ViewClip, viewY);
    }

    Win32::TRefPtr<Win32::IDirectDraw7> DirectDraw = TestSupport::PrimaryDirectDraw();
    Win32::TRefPtr<Win32::IDirectDrawSurface7> Retained = TestSupport::MakeSurface(
        *DirectDraw, SurfaceWidth, SurfaceHeight, Win32::TPixelLayout::RGB565);
    TTinyWorld World;
    TDoodle* Fountain = nullptr;
    TDoodle* Walker = nullptr;
};

TEST_F(TMapRedrawTest, ScrolledAndUpdatedViewEqualsAFullRedraw) {
    struct TStep {
        int ViewX, ViewY;
        int MoveX, MoveY; // the walker's move before the redraw
    };
    const TStep steps[] = {{0, 0, 0, 0},      {10, 0, 0, 0},      {47, 23, 13, 4},
                           {-3, 40, -25, 30}, {-3, 40, 40, 0},    {120, -31, 0, 0},
                           {439, 188, 7, -9}, {420, 200, -60, 0}, {800, 700, 0, 0},
                           {500, 300, 3, 3}};
    for (const int32_t options : {AllOptions, int32_t(TScenario::roObjects)}) {
        Redraw(0, 0, options, true);
        for (const TStep& step : steps) {
            SCOPED_TRACE(testing::Message()
                         << "options " << options << " view " << step.ViewX << ", " << step.ViewY);
            if (step.MoveX || step.MoveY)
                Scenario().MoveObject(Scenario().IndexOfObject(Walker), Walker->X + step.MoveX,
                                      Walker->Y + step.MoveY);
            for (int tick = 0; tick < 5; ++tick)
                Fountain->Tick();
            Redraw(step.ViewX, step.ViewY, options);
            EXPECT_EQ(Hash(TestSupport::ReadPixels(*Retained)),
                      Hash(Reference(step.ViewX, step.ViewY, options)));
        }
    }
}

// Objects the retained image did not show, or showed elsewhere: made far away and
// brought into the part of the image that stays, gone out of view and back to where
// they were drawn before, changed while out of view, each while the view moves a little.
TEST_F(TMapRedrawTest, ObjectsComingIntoTheKeptImageShowAsInAFullRedraw) {
    TDoodle* stranger = World.AddDoodle(TTinyWorld::Rock, 20, 20);
    const int walkerX = Walker->X;
    const int walkerY = Walker->Y;
    const int fountainX = Fountain->X;
    const int fountainY = Fountain->Y;
    struct TStep {
        int ViewX, ViewY;
        TDoodle* Object;
        int X, Y; // where the object goes before the redraw
    };
    const TStep steps[] = {
        {4, 4, stranger, 150, 120},    {8, 0, Walker, 900, 900},
        {8, 8, Fountain, 880, 860},    {12, 8, Walker, walkerX, walkerY},
        {16, 12, stranger, 860, 100},  {20, 12, Fountain, fountainX, fountainY},
        {360, 12, stranger, 500, 150}, {352, 20, Walker, 400, 60},
        {344, 28, stranger, 880, 860}, {340, 28, stranger, 500, 150},
    };
    Redraw(0, 0, AllOptions, true);
    for (const TStep& step : steps) {
        SCOPED_TRACE(testing::Message() << "view " << step.ViewX << ", " << step.ViewY);
        Scenario().MoveObject(Scenario().IndexOfObject(step.Object), step.X, step.Y);
        for (int tick = 0; tick < 5; ++tick)
            Fountain->Tick();
        Redraw(step.ViewX, step.ViewY, AllOptions);
        EXPECT_EQ(Hash(TestSupport::ReadPixels(*Retained)),
                  Hash(Reference(step.ViewX, step.ViewY, AllOptions)));
    }
}

TEST_F(TMapRedrawTest, ShortScrollKeepsTheImageAndLongOneStartsAgain) {
    Redraw(100, 100, AllOptions, true);
    // A pixel the map would never draw, inside the part that stays in view.
    auto pixels = TestSupport::ReadPixels(*Retained);
    const int x = 200;
    const int y = 100;
    pixels[size_t(y * SurfaceWidth + x)] = 0x1234;
    TestSupport::WritePixels(*Retained, pixels);

    Redraw(110, 100, AllOptions); // 10 pixels right: the image moves 10 left
    EXPECT_EQ(TestSupport::ReadPixels(*Retained)[size_t(y * SurfaceWidth + x - 10)], 0x1234u);
    EXPECT_TRUE(Scenario().LastDirtyRects().empty());

    Redraw(110 + 320, 100, AllOptions); // a whole view width: drawn afresh
    EXPECT_EQ(Hash(TestSupport::ReadPixels(*Retained)), Hash(Reference(430, 100, AllOptions)));
}

TEST_F(TMapRedrawTest, ChangedObjectsNearTogetherMergeIntoOneRectangle) {
    Redraw(0, 0, AllOptions, true);
    TDoodle* neighbour = World.AddDoodle(TTinyWorld::Tree, 3, 2);
    Redraw(0, 0, AllOptions);
    const auto move = [&](TDoodle* doodle, int dx) {
        Scenario().MoveObject(Scenario().IndexOfObject(doodle), doodle->X + dx, doodle->Y);
    };
    move(Walker, 5);
    move(neighbour, -5);
    Redraw(0, 0, AllOptions);
    ASSERT_EQ(Scenario().LastDirtyRects().size(), 1u);
    // The walker (cell 2) and its neighbour (cell 3) together span 80..160 across.
    EXPECT_EQ(Scenario().LastDirtyRects()[0].left, ViewClip.left + 80);
    EXPECT_EQ(Scenario().LastDirtyRects()[0].right, ViewClip.left + 160);

    TDoodle* farAway = World.AddDoodle(TTinyWorld::Tree, 6, 4);
    Redraw(0, 0, AllOptions);
    move(Walker, 5);
    move(farAway, 5);
    Redraw(0, 0, AllOptions);
    EXPECT_EQ(Scenario().LastDirtyRects().size(), 2u);
    EXPECT_EQ(Hash(TestSupport::ReadPixels(*Retained)), Hash(Reference(0, 0, AllOptions)));
}

TEST_F(TMapRedrawTest, RemovedObjectLeavesNoTrace) {
    Redraw(0, 0, AllOptions, true);
    Scenario().RemoveObject(Walker, 0);
    Redraw(0, 0, AllOptions);
    EXPECT_EQ(Hash(TestSupport::ReadPixels(*Retained)), Hash(Reference(0, 0, AllOptions)));
}

// A group's figure reaches past the group's bounds (the fixture's creature sprites are
// 56 x 56 from the group's centre); walking, it must not leave its edge behind.
TEST(MapRedraw, WalkingGroupLeavesNoTrace) {
    TestSupport::TGlobalDataSizes sizes;
    sizes.SpriteSize = 56;
    const TestSupport::TInstalledData installed{TestSupport::TGlobalDataFixture(sizes)};
    Data2::CreateGlobalData();
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    s.CurrentPlayer = nullptr;
    // Without a marker sprite, which would otherwise cover the figure.
    Gfx::TSprite* const marker = Data2::GlobalData->CommonSprites[5];
    Data2::GlobalData->CommonSprites[5] = nullptr;
    TGroup* group = world.AddGroup(0, 3, 3);
    auto unit = std::make_unique<TUnit>();
    unit->InitFromPrototype(
        Data2::GlobalData->UnitPrototypes[Data2::GlobalData->FindUnitPrototype(1)]);
    group->AddUnit(std::move(unit), true, false);
    ASSERT_NE(group->GetSprite(), nullptr);

    auto directDraw = TestSupport::PrimaryDirectDraw();
    auto retained = TestSupport::MakeSurface(*directDraw, SurfaceWidth, SurfaceHeight,
                                             Win32::TPixelLayout::RGB565);
    auto reference = TestSupport::MakeSurface(*directDraw, SurfaceWidth, SurfaceHeight,
                                              Win32::TPixelLayout::RGB565);
    s.RedrawMapView(retained.Get(), 0, true, AllOptions, ViewClip, 0);
    for (const int step : {13, 13, -30, 7}) {
        s.MoveObject(s.IndexOfObject(group), group->X + step, group->Y + step / 2);
        s.RedrawMapView(retained.Get(), 0, false, AllOptions, ViewClip, 0);
        TestSupport::FillSurface(*reference, 0);
        s.DrawArea(reference.Get(), 0, AllOptions, ViewClip, 0);
        EXPECT_EQ(Hash(TestSupport::ReadPixels(*retained)),
                  Hash(TestSupport::ReadPixels(*reference)));
    }
    Data2::GlobalData->CommonSprites[5] = marker;
}

// Fog-edge table entry i shows as pixel value i + 1: entries below 512 at the cell's
// corner, the others one pixel to the right of it.
class TFogDrawingTest : public ::testing::Test {
protected:
    TFogDrawingTest() {
        for (int entry = 0; entry < 1024; ++entry) {
            const uint32_t v = uint32_t(entry + 1);
            const uint32_t argb = 0xFF000000u | ((v >> 5) & 63) << 10 | (v & 31) << 3;
            Tools::TPicture picture{1, 1, {argb}};
            if (entry >= 512)
                picture = {2, 1, {0u, argb}};
            Tools::TSpriteOptions options;
            options.ID = uint32_t(10 + entry);
            EdgeSprites.push_back(LoadSprite({picture}, options));
            Data.Global().CommonSprites[10 + entry] = EdgeSprites.back().get();
        }
    }
    ~TFogDrawingTest() override {
        for (int entry = 0; entry < 1024; ++entry)
            Data.Global().CommonSprites[10 + entry] = nullptr;
    }

    TestSupport::TTestGameData Data;
    std::vector<std::unique_ptr<Gfx::TSprite>> EdgeSprites;
};

TEST_F(TFogDrawingTest, EachCellShowsTheTableEntriesOfItsMasks) {
    auto s = TestSupport::MakeTextMapScenario({"....", "....", "....", "...."});
    TFog& fog = *s->Players[0]->Fog;
    const char* rows[] = {"vve.", "vve.", "eee.", "...."};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            fog.Cells[size_t(s->CellIndex(x, y))] = rows[y][x] == 'v' ? 2 : rows[y][x] == 'e';
    s->CurrentPlayer = s->Players[0];

    struct TCase {
        int X, Y;
        int First, Second; // entries, -1 for none; worked out from the masks by hand
    };
    const TCase cases[] = {
        {0, 0, 432, 944}, // cells beyond the map count as unexplored
        {1, 1, 27, -1},   // fully explored around: no explored edge
        {2, 2, 1, 539},   {3, 0, 0, 584}, {3, 3, 0, 513},
    };
    struct TView {
        int ViewX, ViewY;
        RECT Clip;
    };
    for (const TView view : {TView{0, 0, {0, 0, 160, 160}}, TView{40, 40, {5, 7, 125, 127}}}) {
        auto directDraw = TestSupport::PrimaryDirectDraw();
        auto surface = TestSupport::MakeSurface(*directDraw, 170, 170, Win32::TPixelLayout::RGB565);
        TestSupport::FillSurface(*surface, 0);
        s->DrawFog(surface.Get(), view.ViewX, view.Clip, view.ViewY);
        const auto pixels = TestSupport::ReadPixels(*surface);
        for (const TCase& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "view " << view.ViewX << " cell " << c.X << ", " << c.Y);
            const int x = c.X * 40 + view.Clip.left - view.ViewX;
            const int y = c.Y * 40 + view.Clip.top - view.ViewY;
            const bool inView = x >= view.Clip.left && y >= view.Clip.top;
            const auto at = [&](int dx) { return pixels[size_t(y * 170 + x + dx)]; };
            if (!inView)
                continue; // left of or above the clip: nothing of it may show there
            EXPECT_EQ(at(0), uint32_t(c.First + 1));
            EXPECT_EQ(at(1), uint32_t(c.Second + 1));
        }
        if (view.ViewX > 0) { // the clip keeps cells that begin left of it out
            EXPECT_EQ(pixels[size_t(7 * 170 + 0)], 0u);
        }
    }
}

} // namespace
