// The occupancy grid kept up by each step, join and departure against a rebuild
// over every object, through walks, camps, deaths, removals, changes of side and
// turns.
#include "game/world/data/GlobalData.h"
#include "game/world/groups/Group.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace GameData;

namespace {

constexpr int MapSize = 24;

class OccupancyTest : public ::testing::Test {
protected:
    OccupancyTest() {
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
        Data.SetConstant(Data2::gcSightDistanceScale, 1);
        Data2::TUnitPrototype& prototype = Data.AddUnitPrototype(1, "Walker");
        TestSupport::SetStat(prototype.Stats, HITPOINTS, 30);
        TestSupport::SetStat(prototype.Stats, ACTIONPOINTS, 30000);
        TestSupport::SetStat(prototype.Stats, SIGHT, 3);
        TestSupport::TTinyWorldOptions options;
        options.Width = options.Height = MapSize;
        options.SecondPlayerType = ptLocal; // two sides at this machine: no planner runs
        World = std::make_unique<TestSupport::TTinyWorld>(options);
    }

    TScenario& Scenario() { return *World->Scenario; }

    TGroup* AddGroup(uint8_t owner, int x, int y) {
        TGroup* group = World->AddGroup(owner, x, y);
        group->AddUnit(TestSupport::MakeUnit(1), true, false);
        return group;
    }

    std::vector<TGroup*> Groups() {
        std::vector<TGroup*> groups;
        for (TMapObject* object : Scenario().Objects)
            if (object->Kind == okGroup)
                groups.push_back(static_cast<TGroup*>(object));
        return groups;
    }

    // The grid as it stands, then as a rebuild over every object makes it.
    void ExpectGridIsARebuild(int frame) {
        const std::vector<TMapObject*> kept = Scenario().Occupancy;
        Scenario().RebuildOccupancyGrid();
        for (int y = 0; y < MapSize; ++y)
            for (int x = 0; x < MapSize; ++x) {
                const size_t cell = size_t(Scenario().CellIndex(x, y));
                ASSERT_EQ(kept[cell], Scenario().Occupancy[cell])
                    << "frame " << frame << ", cell " << x << ", " << y;
            }
    }

    TestSupport::TTestGameData Data;
    std::unique_ptr<TestSupport::TTinyWorld> World;
};

TEST_F(OccupancyTest, StepsJoinsAndDeparturesKeepTheGridARebuild) {
    std::mt19937 random(34);
    const auto below = [&](int n) { return int(random() % uint32_t(n)); };
    Scenario().BeginTurnOf(0);
    for (int i = 0; i < 40; ++i)
        AddGroup(uint8_t(i % 2), below(MapSize), below(MapSize));
    for (int i = 0; i < 30; ++i)
        World->AddDoodle(TestSupport::TTinyWorld::Fountain, below(MapSize), below(MapSize));
    Scenario().UpdateAllVisibility();
    Scenario().RebuildOccupancyGrid();

    int changes = 0;
    for (int frame = 0; frame < 1500; ++frame) {
        std::vector<TGroup*> groups = Groups();
        for (TGroup* group : groups) {
            if (group->AnimState != asIdle || group->Activity != gaNone || below(4) != 0)
                continue;
            const int roll = below(20);
            if (roll == 0 && group->CampState == csNone)
                group->PitchCamp();
            else if (roll == 1 && group->CampState == csPitched)
                group->BreakCamp();
            else if (group->CampState == csNone)
                group->MoveTo(std::clamp(group->TMapObject::CellX() + below(9) - 4, 0, MapSize - 1),
                              std::clamp(group->TMapObject::CellY() + below(9) - 4, 0, MapSize - 1),
                              true, 0);
        }
        if (!groups.empty() && below(40) == 0) {
            // A fight's loser: its units die and the update takes the group off.
            TGroup* loser = groups[size_t(below(int(groups.size())))];
            for (int slot = 0; slot < loser->UnitCount(); ++slot)
                loser->UnitAt(slot)->TakeDamage(1000);
            Scenario().FlagDeadUnits();
            ++changes;
        }
        if (!groups.empty() && below(60) == 0) {
            Scenario().RemoveObject(groups[size_t(below(int(groups.size())))], 0);
            ++changes;
        }
        if (below(30) == 0) {
            AddGroup(uint8_t(below(2)), below(MapSize), below(MapSize));
            ++changes;
        }
        if (!groups.empty() && below(20) == 0) {
            // Won over: the group's side changes outside any move; its cells follow
            // at the grid's next change, here a group joining.
            TGroup* turned = groups[size_t(below(int(groups.size())))];
            turned->SetOwner(uint8_t(1 - turned->OwnerIndex));
            AddGroup(uint8_t(below(2)), below(MapSize), below(MapSize));
            ++changes;
        }
        if (below(200) == 0)
            Scenario().BeginTurnOf(below(2));
        Scenario().CurrentPlayer->TakeAction();
        Scenario().Update();
        ExpectGridIsARebuild(frame);
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(changes, 50);
}

} // namespace

namespace {

// A grid made for another player (as after loading, before the first change) is made
// anew when a group leaves: without the leaving group, which would dangle there.
TEST_F(OccupancyTest, AGroupLeavingAGridOfAnotherPlayerIsNotMarkedInTheRebuild) {
    Scenario().BeginTurnOf(0);
    TGroup* leaving = AddGroup(0, 4, 4);
    AddGroup(0, 6, 6);
    Scenario().RebuildOccupancyGrid();
    ASSERT_EQ(Scenario().Occupancy[size_t(Scenario().CellIndex(4, 4))], leaving);
    Scenario().CurrentPlayer = Scenario().PlayerAt(1);
    Scenario().RemoveObject(leaving, 0);
    for (const TMapObject* cell : Scenario().Occupancy)
        ASSERT_NE(cell, leaving);
    ExpectGridIsARebuild(0);
}

} // namespace
