// Saved games: stored cells that index the map are checked before any update walks
// on them, units at a town's gate survive a save, and what is stored is the same
// on every machine: no local option, no runtime generator, and a loaded game draws
// on as the saved one would have.
#include "engine/core/Random.h"
#include "game/world/orders/MovementSpeed.h"
#include "game/world/scenario/GameSettings.h"
#include "tests/game/world/CityGroupFixture.h"
#include "tests/support/StateDigest.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace CityGroupTests {
namespace {

using TestSupport::ErrorOf;
using TestSupport::LoadedScenario;
using TestSupport::SavedBytes;

constexpr int WalkerID = 4; // ACTIONPOINTS 100

class SavedGameTest : public CityGroupTest {
protected:
    SavedGameTest() {
        Data2::TUnitPrototype& walker = Data.AddUnitPrototype(WalkerID, "Walker");
        TestSupport::SetStat(walker.Stats, HITPOINTS, 30);
        TestSupport::SetStat(walker.Stats, ACTIONPOINTS, 100);
        TestSupport::SetStat(walker.Stats, SIGHT, 3);
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
    }

    // A red walker on its way east along row 2, a few pixels into its first step.
    TGroup* Walking() {
        TGroup* group = World->AddGroup(Red, 2, 2);
        group->AddUnit(Make(WalkerID), true, false);
        Scenario().BeginTurnOf(Red);
        group->MoveTo(8, 2, true, 0);
        for (int i = 0; i < 40 && !(group->AnimState == asWalk && group->X % CellSize != 20); ++i)
            Scenario().Update();
        return group;
    }

    static void Play(TScenario& scenario, int updates) {
        for (int i = 0; i < updates; ++i) {
            scenario.Update();
            if (scenario.CurrentPlayer)
                while (scenario.CurrentPlayer->TakeAction().Code != acNone) {
                }
        }
    }
};

TEST_F(SavedGameTest, StoredCellsOffTheMapAreRefusedAndCellsOnItWalkSafely) {
    const TGroup* walker = Walking();
    ASSERT_EQ(walker->AnimState, asWalk);
    const uint32_t id = walker->ID;
    const size_t next = size_t(walker->PathIndex + 1);
    const auto pixel = [](int cell) {
        return int16_t(std::clamp(cell * CellSize + HalfCell, -32768, 32767));
    };
    using TSet = std::function<void(TScenario&, TGroup&, int)>;
    const std::vector<std::pair<const char*, TSet>> fields = {
        {"step's cell x", [](TScenario&, TGroup& g, int v) { g.CellX = int16_t(v); }},
        {"step's cell y", [](TScenario&, TGroup& g, int v) { g.CellY = int16_t(v); }},
        {"next cell x", [](TScenario&, TGroup& g, int v) { g.NextX = int16_t(v); }},
        {"next cell y", [](TScenario&, TGroup& g, int v) { g.NextY = int16_t(v); }},
        {"position x", [&](TScenario&, TGroup& g, int v) { g.X = pixel(v); }},
        {"position y", [&](TScenario&, TGroup& g, int v) { g.Y = pixel(v); }},
        {"path cell x", [&](TScenario& s, TGroup&, int v) { s.Path[next].X = int16_t(v); }},
        {"path cell y", [&](TScenario& s, TGroup&, int v) { s.Path[next].Y = int16_t(v); }},
        {"last path cell", [](TScenario& s, TGroup&, int v) { s.Path.back().X = int16_t(v); }},
    };
    const int edge = Scenario().Width; // the map is square
    const std::vector<std::pair<int, bool>> values = {
        {0, true}, {edge - 1, true}, {-1, false}, {edge, false}, {127, false}, {-32768, false},
    };
    const std::vector<uint8_t> walking = SavedBytes(Scenario());
    for (const auto& [what, set] : fields)
        for (const auto& [value, onMap] : values) {
            const auto copy = LoadedScenario(walking);
            set(*copy, *static_cast<TGroup*>(copy->FindObjectByID(id)), value);
            const std::vector<uint8_t> crafted = SavedBytes(*copy);
            if (!onMap) {
                EXPECT_EQ(ErrorOf([&] { LoadedScenario(crafted); }), "Invalid data.")
                    << what << " " << value;
                continue;
            }
            // Loaded and played on: the walk goes wherever it leads, within the grids.
            const auto loaded = LoadedScenario(crafted);
            Play(*loaded, 300);
            EXPECT_NE(loaded->FindObjectByID(id), nullptr) << what << " " << value;
        }
}

// A facing the turn can never meet would keep the group turning, and its owner
// waiting, for ever.
TEST_F(SavedGameTest, StoredFacingsAreOneOfEight) {
    TGroup* group = Walking();
    const std::vector<std::pair<const char*, uint8_t*>> fields = {
        {"facing", &group->Facing},
        {"target facing", &group->TargetFacing},
        {"desired facing", &group->DesiredFacing},
    };
    for (const auto& [what, field] : fields)
        for (const auto& [value, valid] :
             {std::pair{0, true}, std::pair{7, true}, std::pair{8, false}, std::pair{255, false}}) {
            const uint8_t kept = *field;
            *field = uint8_t(value);
            const std::vector<uint8_t> crafted = SavedBytes(Scenario());
            *field = kept;
            EXPECT_EQ(ErrorOf([&] { LoadedScenario(crafted); }),
                      valid ? "no error" : "Invalid data.")
                << what << " " << value;
        }
}

TEST_F(SavedGameTest, UnitsAtTheGateOfASelectedTownAreSaved) {
    TCity* city = World->AddCity(Red, 6, 6);
    TUnit* hero = city->AddOtherUnit(Make(HeroID), true, false);
    TUnit* soldier = city->AddOtherUnit(Make(SoldierID), true, false);
    TUnit* beast = city->AddOtherUnit(Make(BeastID), true, false);
    Scenario().BeginTurnOf(Red);
    Player(Red).SelectObject(city);
    ASSERT_TRUE(city->MoveUnit(cpOtherUnits, soldier->ID, cpGateGroup, -1));
    ASSERT_TRUE(city->MoveUnit(cpOtherUnits, hero->ID, cpGateGroup, -1));
    ASSERT_EQ(city->GateGroup->UnitCount(), 2);

    const std::vector<uint8_t> saved = SavedBytes(Scenario());
    auto loaded = LoadedScenario(saved);
    EXPECT_EQ(SavedBytes(*loaded), saved);
    const auto* copy = static_cast<const TCity*>(loaded->FindObjectByID(city->ID));
    ASSERT_NE(copy, nullptr);
    // Where leaving the town would have put them: after the others, last slot first.
    std::vector<uint32_t> others;
    for (const TUnit* unit : copy->OtherUnits) {
        others.push_back(unit->ID);
        EXPECT_EQ(unit->Owner, copy);
    }
    const uint32_t gateFirst = city->GateGroup->Units[0]->ID;
    const uint32_t gateSecond = city->GateGroup->Units[1]->ID;
    EXPECT_EQ(others, (std::vector<uint32_t>{beast->ID, gateSecond, gateFirst}));
    EXPECT_EQ(loaded->Units.Count(), Scenario().Units.Count());

    // The record is the one the town keeps once the player looks elsewhere.
    Player(Red).SelectObject(nullptr);
    EXPECT_EQ(city->GateGroup->UnitCount(), 0);
    EXPECT_EQ(SavedBytes(Scenario()), saved);
}

TEST_F(SavedGameTest, AGroupStoresNoPaceAndWalksAtThisMachinesAfterLoading) {
    TGroup* group = World->AddGroup(Red, 2, 2);
    group->AddUnit(Make(WalkerID), true, false);
    group->TicksPerStep = 1;
    const std::vector<uint8_t> slow = Bytes(*group);
    group->TicksPerStep = TicksPerStepForSpeed(0);
    EXPECT_EQ(Bytes(*group), slow);

    for (int32_t speed : {0, 4}) {
        const TSpeedSettings settings(speed);
        TScenario again;
        again.Settings = &settings;
        ClassLib::TMemoryStream stream(SavedBytes(Scenario()));
        again.LoadFromStream(&stream);
        const auto* copy = static_cast<const TGroup*>(again.FindObjectByID(group->ID));
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->TicksPerStep, TicksPerStepForSpeed(speed)) << speed;
    }
}

// Two machines build and play the same world from the same game state; each one's
// runtime generator stands elsewhere. Scenery frames, idle glances and frames, and
// the weather come out alike.
TEST_F(SavedGameTest, TwoMachinesStoreTheSameBytesWhateverTheirRuntimeGenerator) {
    const auto build = [&](unsigned runtimeSeed) {
        Base::RandomSeed = {0x22, 0};
        std::srand(runtimeSeed);
        auto world = std::make_unique<TestSupport::TTinyWorld>();
        for (int x = 1; x < 11; x += 2)
            world->AddDoodle(TestSupport::TTinyWorld::Fountain, x, 9);
        for (int x = 1; x < 11; x += 3)
            world->AddGroup(0, x, 2)->AddUnit(Make(WalkerID), true, false);
        world->Scenario->Weather = 1;
        world->Scenario->BeginTurnOf(0);
        return world;
    };
    auto first = build(1);
    auto second = build(2);
    ASSERT_EQ(SavedBytes(*first->Scenario), SavedBytes(*second->Scenario));
    for (int i = 0; i < 600; ++i) {
        std::srand(unsigned(i));
        Play(*first->Scenario, 1);
        std::srand(unsigned(7 * i + 3));
        Play(*second->Scenario, 1);
    }
    EXPECT_EQ(SavedBytes(*first->Scenario), SavedBytes(*second->Scenario));
}

TEST_F(SavedGameTest, ALoadedGameDrawsOnAsTheSavedOneWouldHave) {
    for (int x = 1; x < 11; x += 3)
        World->AddGroup(Red, x, 2)->AddUnit(Make(WalkerID), true, false);
    Scenario().Weather = 1;
    Scenario().BeginTurnOf(Red);
    Play(Scenario(), 100);
    auto loaded = LoadedScenario(SavedBytes(Scenario()));
    for (int i = 0; i < 600; ++i) {
        Play(Scenario(), 1);
        Play(*loaded, 1);
    }
    EXPECT_EQ(SavedBytes(*loaded), SavedBytes(Scenario()));
}

} // namespace
} // namespace CityGroupTests
