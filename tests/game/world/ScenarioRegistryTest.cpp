// The object registry: identifiers, look-ups, removal and the draw order as objects move.
#include "game/world/objects/Drawings.h"
#include "game/world/scenario/Scenario.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <random>

using namespace GameData;
using TestSupport::ErrorOf;
using TestSupport::TTinyWorld;

namespace {

TMapObject* AddDrawing(TScenario& s, int x, int y, int layer = DefaultLayer) {
    auto drawing = std::make_unique<TDrawing>(&s);
    drawing->X = int16_t(x);
    drawing->Y = int16_t(y);
    drawing->Layer = int16_t(layer);
    return s.AddObject(std::move(drawing));
}

std::vector<TMapObject*> DrawOrder(const TScenario& s) {
    return {s.Objects.begin(), s.Objects.end()};
}

} // namespace

TEST(ScenarioRegistry, AddFindAndRemoveWithIdentifiersNeverReused) {
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    TMapObject* first = AddDrawing(s, 100, 100);
    TMapObject* second = world.AddDoodle(TTinyWorld::Tree, 2, 2);
    EXPECT_EQ(first->ID, FirstObjectID);
    EXPECT_EQ(second->ID, FirstObjectID + 1);
    EXPECT_EQ(s.FindObjectByID(second->ID), second);
    EXPECT_EQ(s.GetObjectByID(first->ID), first);
    EXPECT_EQ(s.FindObjectOfKind(second->ID, okDoodle), second);
    EXPECT_EQ(s.FindObjectOfKind(second->ID, okGroup), nullptr);
    EXPECT_EQ(s.GetObjectByID(0), nullptr);
    EXPECT_EQ(s.FindObjectByID(4242), nullptr);
    EXPECT_EQ(ErrorOf([&] { s.GetObjectByID(4242); }), "Object with given ID not found (4242).");

    const uint32_t removedID = second->ID;
    world.Player(1).SelectObject(second);
    s.RemoveObject(second, 0);
    EXPECT_EQ(world.Player(1).Selection, nullptr);
    EXPECT_EQ(s.FindObjectByID(removedID), nullptr);
    EXPECT_EQ(s.Objects.Count(), 1);
    EXPECT_EQ(AddDrawing(s, 0, 0)->ID, FirstObjectID + 2);

    // Objects read back from stored data keep their identifiers; later ones come above.
    auto loaded = std::make_unique<TDrawing>(&s);
    loaded->ID = 5000;
    s.AddLoadedObject(std::move(loaded));
    EXPECT_EQ(s.NewObjectID(), 5001u);
    for (uint32_t id : {0u, 5000u, first->ID}) {
        auto bad = std::make_unique<TDrawing>(&s);
        bad->ID = id;
        EXPECT_EQ(ErrorOf([&] { s.AddLoadedObject(std::move(bad)); }), "Invalid data.") << id;
    }
    EXPECT_EQ(s.Objects.Count(), 3);
}

TEST(ScenarioRegistry, DrawOrderIsLayerThenRowThenLargerColumnFirst) {
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    TMapObject* left = AddDrawing(s, 100, 200);
    TMapObject* right = AddDrawing(s, 200, 200);
    TMapObject* above = AddDrawing(s, 150, 100);
    TMapObject* underlay = AddDrawing(s, 0, 400, 9);
    TMapObject* overlay = AddDrawing(s, 0, 0, 12);
    EXPECT_EQ(DrawOrder(s), (std::vector<TMapObject*>{underlay, above, right, left, overlay}));

    // Moving to a lower row passes every object of its layer with a greater row.
    s.MoveObject(s.IndexOfObject(above), 150, 300);
    EXPECT_EQ(DrawOrder(s), (std::vector<TMapObject*>{underlay, right, left, above, overlay}));
    s.MoveObject(s.IndexOfObject(above), 150, 50);
    EXPECT_EQ(DrawOrder(s), (std::vector<TMapObject*>{underlay, above, right, left, overlay}));
    EXPECT_TRUE(s.IsDrawOrderSorted());
}

TEST(ScenarioRegistry, DrawOrderStaysSortedThroughRandomMovesAndRemovals) {
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    std::mt19937 random(7);
    for (int i = 0; i < 200; ++i)
        AddDrawing(s, int(random() % 480), int(random() % 480), 9 + int(random() % 3));
    for (int step = 0; step < 2000; ++step) {
        const int index = int(random() % uint32_t(s.Objects.Count()));
        if (step % 50 == 0) {
            s.RemoveObjectAt(index, 0);
            AddDrawing(s, int(random() % 480), int(random() % 480));
        } else {
            s.MoveObject(index, int(random() % 480), int(random() % 480));
        }
        ASSERT_TRUE(s.IsDrawOrderSorted()) << step;
    }
    for (TMapObject* object : s.Objects)
        ASSERT_EQ(s.FindObjectByID(object->ID), object);
}

TEST(ScenarioRegistry, PixelLookUpPrefersTheLastDrawnObject) {
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    TMapObject* tree = world.AddDoodle(TTinyWorld::Tree, 2, 2); // spans 80..120 x 50..110
    TMapObject* rock =
        world.AddDoodle(TTinyWorld::Rock, 2, 3); // spans 60..140 x 100..180, drawn later
    EXPECT_EQ(s.ObjectIndexAtPixel(85, 60), s.IndexOfObject(tree));
    EXPECT_EQ(s.ObjectIndexAtPixel(85, 105), s.IndexOfObject(rock));
    EXPECT_EQ(s.ObjectIndexAtCell(2, 3), s.IndexOfObject(rock));
    EXPECT_EQ(s.ObjectIndexAtPixel(400, 400), -1);
}

TEST(ScenarioRegistry, MapSizeAndStoredCellsAreChecked) {
    TScenario s;
    for (auto size : {std::pair{0, 4}, {4, 0}, {132, 4}, {10, 12}})
        EXPECT_NE(ErrorOf([&] { s.SetMapSize(size.first, size.second); }), "no error");
    s.SetMapSize(12, 8);
    EXPECT_EQ(s.Costs.size(), 96u);
    EXPECT_EQ(s.StoredCellIndex(11, 7), 95);
    for (auto cell : {std::pair{12, 0}, {0, 8}, {-1, 3}})
        EXPECT_EQ(ErrorOf([&] { s.StoredCellIndex(cell.first, cell.second); }), "Invalid data.");
}

TEST(ScenarioRegistry, AtMostFivePlayers) {
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    while (s.PlayerCount() < 5)
        s.AddPlayer(std::make_unique<TPlayer>(&s));
    EXPECT_EQ(ErrorOf([&] { s.AddPlayer(std::make_unique<TPlayer>(&s)); }),
              "A scenario holds at most 5 players.");
    EXPECT_EQ(s.PlayerCount(), 5);

    for (uint32_t count : {0u, 5u, 6u, 0xFFFFFFFFu}) {
        ClassLib::TMemoryStream stream;
        stream.WriteValue(count);
        stream.SetPosition(0);
        const std::string error = ErrorOf([&] { TScenario::ReadPlayerCount(stream); });
        EXPECT_EQ(error, count <= 5 ? "no error" : "Invalid data.") << count;
    }
}

TEST(ScenarioRegistry, ClearEmptiesEverythingAndKillsTheParticles) {
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    world.AddDoodle(TTinyWorld::Tree, 1, 1);
    s.RainDrops[3]->State = 0;
    s.Turn = 4;
    s.Clear();
    EXPECT_EQ(s.Objects.Count(), 0);
    EXPECT_EQ(s.PlayerCount(), 0);
    EXPECT_EQ(s.NextObjectID, FirstObjectID);
    EXPECT_EQ(s.CurrentPlayerIndex, -1);
    EXPECT_EQ(s.Turn, 0);
    EXPECT_EQ(s.RainDrops.Count(), RainDropCount);
    EXPECT_EQ(s.SnowFlakes.Count(), SnowFlakeCount);
    EXPECT_EQ(s.SandSeeds.Count(), SandSeedCount);
    EXPECT_EQ(s.RainDrops[3]->State, TRainDrop::Dead);
}

TEST(ScenarioRegistry, UnitsShareTheObjectIdentifiersAndStaySorted) {
    TestSupport::TTestGameData data;
    data.AddUnitPrototype(3, "Archer");
    TTinyWorld world;
    TScenario& s = *world.Scenario;
    AddDrawing(s, 0, 0);
    TUnit* first = s.RegisterUnit(TestSupport::MakeUnit(3), true);
    auto stored = TestSupport::MakeUnit(3);
    stored->ID = 900;
    TUnit* second = s.RegisterUnit(std::move(stored), false);
    EXPECT_EQ(first->ID, FirstObjectID + 1);
    EXPECT_EQ(s.Units[0], second);
    EXPECT_EQ(s.Units.FindByID(first->ID), first);
    auto duplicate = TestSupport::MakeUnit(3);
    duplicate->ID = 900;
    EXPECT_EQ(ErrorOf([&] { s.RegisterUnit(std::move(duplicate), false); }),
              "Object with given ID is already in list (900).");

    s.LooseUnits.Add(first);
    EXPECT_EQ(s.FindLooseUnit(first->ID), first);
    EXPECT_EQ(s.FindLooseUnit(900), nullptr);
    std::unique_ptr<TUnit> taken = s.UnregisterUnit(second);
    EXPECT_EQ(taken.get(), second);
    EXPECT_EQ(s.Units.Count(), 1);
    EXPECT_EQ(s.UnregisterUnit(second), nullptr);
}
