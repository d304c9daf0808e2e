// Scenery, backgrounds, drawings, animations, corpses and areas on the tiny world.
#include "game/world/objects/Doodle.h"
#include "game/world/objects/Drawings.h"
#include "game/world/objects/MapSounds.h"
#include "game/world/scenario/Scenario.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TinyWorld.h"

#include <gtest/gtest.h>

#include "platform/classlib/Bitmap.h"

#include <cstring>

using namespace GameData;
using TestSupport::ErrorOf;
using TestSupport::TTinyWorld;

namespace {

int CostAt(const TScenario& s, int x, int y) {
    return s.Costs[size_t(s.CellIndex(x, y))];
}

class TRecordingSounds : public TMapSounds {
public:
    int EffectVolume() const override { return Effect; }
    int PlayEffectByID(uint32_t soundID, int volume) override {
        PlayedID = soundID;
        PlayedVolume = volume;
        return 5;
    }
    bool IsTrackPlaying(int) const override { return true; }
    void SetTrackVolume(int track, int volume) override {
        SetTrack = track;
        SetVolume = volume;
    }
    void FadeOutTrack(int track) override { FadedTrack = track; }
    void PlayInterfaceSound(uint32_t, int, bool) override {}

    int Effect = 100;
    uint32_t PlayedID = 0;
    int PlayedVolume = -1;
    int SetTrack = -1;
    int SetVolume = -1;
    int FadedTrack = -1;
};

} // namespace

TEST(Doodle, LoopingAnimationAdvancesEveryPeriodAndWraps) {
    TTinyWorld world;
    TDoodle* fountain = world.AddDoodle(TTinyWorld::Fountain, 2, 2);
    ASSERT_EQ(fountain->AnimationFrameCount(), 4);
    fountain->Frame = 0;
    std::vector<int> frames;
    for (int tick = 1; tick <= 20; ++tick) {
        fountain->Tick();
        frames.push_back(fountain->GetFrame());
    }
    const std::vector<int> expected = {0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 0};
    EXPECT_EQ(frames, expected);
}

TEST(Doodle, TerrainPatchesAddToTheGridsAndCostsStayWithin0To255) {
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    world.AddDoodle(TTinyWorld::Tree, 3, 4);
    EXPECT_EQ(CostAt(s, 3, 4), 30);
    EXPECT_EQ(s.Heights[size_t(s.CellIndex(3, 4))], 3);
    EXPECT_EQ(CostAt(s, 4, 4), 20);

    // The rock covers 2 x 2 cells; 20 + 250 would wrap past 255.
    world.AddDoodle(TTinyWorld::Rock, 6, 6);
    for (int y = 5; y <= 7; ++y)
        for (int x = 5; x <= 7; ++x)
            EXPECT_EQ(CostAt(s, x, y), (x >= 6 && y >= 6) ? 255 : 20) << x << "," << y;

    // A negative delta stops at 0.
    for (TDoodlePrototype& prototype : s.DoodlePrototypes)
        if (prototype.ID == TTinyWorld::Tree)
            prototype.CostDelta = -50;
    s.RebuildTerrainGrids();
    EXPECT_EQ(CostAt(s, 3, 4), 0);
}

TEST(Doodle, PatchAtTheMapEdgeTouchesOnlyCellsOnTheMap) {
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    world.AddDoodle(TTinyWorld::Rock, 11, 11);
    EXPECT_EQ(CostAt(s, 11, 11), 255);
    EXPECT_EQ(CostAt(s, 10, 11), 20);
    EXPECT_EQ(CostAt(s, 11, 10), 20);
    int patched = 0;
    for (uint8_t cost : s.Costs)
        patched += cost != 20;
    EXPECT_EQ(patched, 1);
}

TEST(Doodle, AmbientSoundFadesWithDistanceFromTheViewCentre) {
    TTinyWorld world;
    TRecordingSounds sounds;
    world.Scenario->Sounds = &sounds;
    TDoodle* fountain = world.AddDoodle(TTinyWorld::Fountain, 0, 0);
    // The listener is at (view left + (800 - 230) / 2, view top + 300) = (285, 300)
    // for the view below; the fountain's sprite centre is (20, 20) + offset.
    TMapView& view = world.Scenario->View;
    view.Left = 20 - 285;
    view.Top = 20 - 300 + 250;
    fountain->Tick();
    EXPECT_EQ(sounds.PlayedID, TTinyWorld::AmbientSoundID);
    EXPECT_EQ(sounds.PlayedVolume, 80); // 250 pixels away: 100 less (250 - 150) / 5
    EXPECT_EQ(fountain->SoundTrack, 5);

    sounds.Effect = 50;
    view.Top = 20 - 300;
    fountain->Tick();
    EXPECT_EQ(sounds.SetTrack, 5);
    EXPECT_EQ(sounds.SetVolume, 50);

    world.Scenario->InBattle = 1;
    sounds.SetVolume = -1;
    fountain->Tick();
    EXPECT_EQ(sounds.SetVolume, -1);
    fountain->StopSound();
    EXPECT_EQ(sounds.FadedTrack, 5);
    EXPECT_EQ(fountain->SoundTrack, -1);
}

TEST(Doodle, StreamKeepsItsStateAndFindsItsPrototypeAgain) {
    TTinyWorld world;
    TDoodle* tree = world.AddDoodle(TTinyWorld::Tree, 1, 2);
    tree->Active = 0;
    tree->Ticks = 77;
    ClassLib::TMemoryStream stream;
    tree->SaveToStream(&stream);

    TDoodle copy(world.Scenario.get());
    stream.SetPosition(0);
    copy.LoadFromStream(&stream);
    EXPECT_EQ(copy.ID, tree->ID);
    EXPECT_EQ(copy.X, tree->X);
    EXPECT_EQ(copy.Y, tree->Y);
    EXPECT_EQ(copy.Prototype, tree->Prototype);
    EXPECT_EQ(copy.Name, "Tree");
    EXPECT_EQ(copy.Active, 0);
    EXPECT_EQ(copy.Ticks, 77);
    EXPECT_EQ(copy.GetSprite(), tree->GetSprite());

    // The prototype identifier sits after ID, kind, X, Y, Layer.
    std::vector<uint8_t> bytes = stream.Bytes();
    bytes[12] = 99;
    ClassLib::TMemoryStream unknown(bytes);
    EXPECT_EQ(ErrorOf([&] { copy.LoadFromStream(&unknown); }), "Prototype not found.");
    bytes = stream.Bytes();
    bytes[4] = okGroup;
    ClassLib::TMemoryStream wrongKind(bytes);
    EXPECT_EQ(ErrorOf([&] { copy.LoadFromStream(&wrongKind); }), "Invalid data.");
}

TEST(Background, LoadsTilesAndRefusesBadRecords) {
    TTinyWorld world;
    EXPECT_EQ(world.Scenario->Background.Width, 3);
    EXPECT_EQ(world.Scenario->Background.Height, 3);
    EXPECT_EQ(world.Scenario->Background.Tile(2, 2)->Width, TileSize);

    const std::vector<uint8_t> good = TestSupport::TinyBackground(2, 1);
    auto loadError = [&](const std::function<void(std::vector<uint8_t>&)>& change) {
        std::vector<uint8_t> bytes = good;
        change(bytes);
        ClassLib::TMemoryStream stream(bytes);
        TBackground background(nullptr, 0);
        const std::string error = ErrorOf([&] { background.LoadFromStream(&stream); });
        if (error != "no error") {
            EXPECT_TRUE(background.Tiles.empty());
        }
        return error;
    };
    EXPECT_EQ(loadError([](auto&) {}), "no error");
    EXPECT_EQ(loadError([](auto& b) { b[4] = 'X'; }), "Invalid data.");
    EXPECT_EQ(loadError([](auto& b) { b[8] = 0; }), "Invalid data.");                 // width 0
    EXPECT_EQ(loadError([](auto& b) { b[8] = 0xFF, b[9] = 0x7F; }), "Invalid data."); // too many
    EXPECT_NE(loadError([](auto& b) { b.resize(b.size() - 10); }), "no error");
    // Pixel word of the first tile: 24 bits per pixel.
    EXPECT_EQ(loadError([](auto& b) { b[20 + 4 + 8] = 24; }), "Invalid data.");
}

TEST(Animation, WaitsForItsDelayThenPlaysEachFrameOnceAndEnds) {
    TTinyWorld world;
    TAnimation animation(world.Scenario.get());
    animation.Setup(TTinyWorld::SparkleSprite, 100, 50, 0, 12, 100);
    int ticks = 0;
    for (; ticks < 49; ++ticks) {
        animation.Tick();
        EXPECT_EQ(animation.GetSprite(), nullptr);
    }
    std::vector<int> frames;
    while (!animation.Finished && ticks < 100) {
        animation.Tick();
        ++ticks;
        frames.push_back(animation.Frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ticks, 52);
    EXPECT_EQ(animation.Sprite, nullptr);
}

TEST(Animation, WithAPeriodAdvancesOnDelayAndEveryPeriodAfter) {
    TTinyWorld world;
    TAnimation animation(world.Scenario.get());
    animation.Setup(TTinyWorld::SparkleSprite, 0, 3, 5, 12, 0);
    std::vector<int> advancedOn;
    for (int tick = 1; tick <= 20 && !animation.Finished; ++tick) {
        const int before = animation.Frame;
        animation.Tick();
        if (animation.Frame != before)
            advancedOn.push_back(tick);
    }
    EXPECT_EQ(advancedOn, (std::vector<int>{3, 8, 13}));
}

TEST(Animation, StreamRoundTripAndAStoredFrameTheSpriteLacksIsInvalid) {
    TTinyWorld world;
    TAnimation animation(world.Scenario.get());
    animation.Setup(TTinyWorld::SparkleSprite, 30, 2, 4, 12, 40);
    animation.Tick();
    animation.Tick();
    ClassLib::TMemoryStream stream;
    animation.SaveToStream(&stream);

    TAnimation copy(world.Scenario.get());
    stream.SetPosition(0);
    copy.LoadFromStream(&stream);
    EXPECT_EQ(copy.Frame, 1);
    EXPECT_EQ(copy.Counter, 2);
    EXPECT_EQ(copy.Delay, 2);
    EXPECT_EQ(copy.Period, 4);
    EXPECT_EQ(copy.Layer, 12);
    ASSERT_NE(copy.Sprite, nullptr);
    EXPECT_EQ(copy.Sprite->ID, TTinyWorld::SparkleSprite);

    std::vector<uint8_t> bytes = stream.Bytes();
    bytes[13] = 9; // Frame, after ID, kind, X, Y, Layer, Shown
    ClassLib::TMemoryStream badFrame(bytes);
    EXPECT_EQ(ErrorOf([&] { copy.LoadFromStream(&badFrame); }), "Invalid data.");
    bytes = stream.Bytes();
    bytes[bytes.size() - 4] = 77; // sprite ID
    ClassLib::TMemoryStream badSprite(bytes);
    EXPECT_EQ(ErrorOf([&] { copy.LoadFromStream(&badSprite); }), "Invalid data.");
}

TEST(NaturalCorpse, CountsDownWithTheTurnsUnlessItStaysForEver) {
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    auto addCorpse = [&](int turnsLeft) {
        auto corpse = std::make_unique<TNaturalCorpse>(&s);
        corpse->TurnsLeft = turnsLeft;
        return s.AddObject(std::move(corpse))->ID;
    };
    const uint32_t forever = addCorpse(TNaturalCorpse::StaysForever);
    const uint32_t now = addCorpse(0);
    const uint32_t later = addCorpse(2);
    s.AdvanceTurn();
    EXPECT_NE(s.FindObjectByID(forever), nullptr);
    EXPECT_EQ(s.FindObjectByID(now), nullptr);
    EXPECT_NE(s.FindObjectByID(later), nullptr);
    s.AdvanceTurn();
    EXPECT_EQ(s.FindObjectByID(later), nullptr);
    EXPECT_NE(s.FindObjectByID(forever), nullptr);
    EXPECT_EQ(s.Turn, 2);
}

TEST(Area, CellsStaySortedDuplicatesStayAndNearestIsTheFirstOnTies) {
    TArea area;
    EXPECT_EQ(area.NearestCellIndex(5, 5), -1);
    for (TField cell : {TField{6, 5}, TField{4, 5}, TField{9, 1}, TField{4, 5}})
        area.AddCell(cell);
    ASSERT_EQ(area.Cells.Count(), 4);
    EXPECT_EQ(area.Cells[0].X, 9);
    EXPECT_EQ(area.Cells[1].X, 4);
    EXPECT_EQ(area.Cells[2].X, 4);
    EXPECT_TRUE(area.ContainsCell(4, 5));
    EXPECT_FALSE(area.ContainsCell(5, 5));
    EXPECT_EQ(area.NearestCellIndex(5, 5), 1);

    ClassLib::TMemoryStream stream;
    area.SaveToStream(&stream);
    std::vector<uint8_t> bytes = stream.Bytes();
    stream.SetPosition(0);
    TArea copy;
    copy.LoadFromStream(&stream);
    EXPECT_EQ(copy.Cells.Count(), 4);
    // The first cell's row after ID, "list" and count: put it below the others.
    bytes[14] = 50;
    ClassLib::TMemoryStream unsorted(bytes);
    EXPECT_EQ(ErrorOf([&] { copy.LoadFromStream(&unsorted); }), "Invalid data.");
}

TEST(MapObject, DrawsItsFrameAtThePositionLessTheViewAndHotSpot) {
    TTinyWorld world;
    TDoodle* tree = world.AddDoodle(TTinyWorld::Tree, 2, 2); // anchor (100, 100), hot spot (20, 50)
    ClassLib::TBitmap bitmap(200, 200);
    const RECT clip{0, 0, 200, 200};
    tree->DrawToBitmap(&bitmap, 50, clip, 40);
    auto lit = [&](int x, int y) { return bitmap.ScanLine(y)[x] != 0; };
    EXPECT_TRUE(lit(30, 10));
    EXPECT_TRUE(lit(69, 69));
    EXPECT_FALSE(lit(29, 10));
    EXPECT_FALSE(lit(70, 10));
    EXPECT_FALSE(lit(30, 70));

    ClassLib::TBitmap elsewhere(200, 200);
    tree->DrawToBitmap(&elsewhere, 400, clip, 40);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(elsewhere.ScanLine(y)[x], 0);
}

TEST(MapObject, NeedsRedrawAfterAChangeOfPlaceSelectionOrFrame) {
    TTinyWorld world;
    TDoodle* fountain = world.AddDoodle(TTinyWorld::Fountain, 3, 3);
    fountain->StoreDrawnState();
    EXPECT_FALSE(fountain->NeedsRedraw());
    fountain->Select();
    EXPECT_TRUE(fountain->NeedsRedraw());
    fountain->StoreDrawnState();
    fountain->Frame = (fountain->Frame + 1) % 4;
    EXPECT_TRUE(fountain->NeedsRedraw());
    fountain->StoreDrawnState();
    world.Scenario->MoveObject(world.Scenario->IndexOfObject(fountain), 141, 140);
    EXPECT_TRUE(fountain->NeedsRedraw());
    fountain->StoreDrawnState();
    fountain->Invalidated = 1;
    EXPECT_TRUE(fountain->NeedsRedraw());
    EXPECT_TRUE(fountain->IsOnMap());
    fountain->X = 480;
    EXPECT_FALSE(fountain->IsOnMap());
}
