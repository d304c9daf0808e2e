// Battles between map groups of a tiny world: the sides answer with the groups'
// units and owners, and copies made in battle pass through the scenario's registry.
#include "game/spells/Battle.h"
#include "game/spells/GroupBattleSide.h"
#include "tests/support/BattleBuilder.h"
#include "tests/support/SampleBestiary.h"
#include "tests/support/TinyWorld.h"

#include <gtest/gtest.h>

#include <optional>

namespace TestSupport {
namespace {

using namespace GameData;

constexpr int Priestess = 11; // can learn spell 61 and so 125
constexpr int Footman = 1;
constexpr int Doppelganger = 125;

class GroupBattle : public ::testing::Test {
protected:
    GroupBattle() {
        AddSampleBestiary(Data);
        World = std::make_unique<TTinyWorld>();
        Red = World->AddGroup(0, 2, 2);
        Blue = World->AddGroup(1, 3, 2);
        Red->AddUnit(MakeUnitAtLevel(Priestess, 8, true), true, false);
        Blue->AddUnit(MakeUnitAtLevel(Footman, 1, false), true, false);
        Blue->AddUnit(MakeUnitAtLevel(Footman, 1, false), true, false);
        RedSide.emplace(*Red);
        BlueSide.emplace(*Blue);
        Registry.emplace(*World->Scenario);
        Battle.Registry = &*Registry;
        Battle.SetGroups(&*RedSide, &*BlueSide);
    }

    TTestGameData Data;
    std::unique_ptr<TTinyWorld> World;
    TGroup* Red = nullptr;
    TGroup* Blue = nullptr;
    std::optional<TGroupBattleSide> RedSide;
    std::optional<TGroupBattleSide> BlueSide;
    std::optional<TScenarioUnitRegistry> Registry;
    TBattle Battle;
};

TEST_F(GroupBattle, SidesAreTheGroupsAndTheirOwners) {
    EXPECT_TRUE(Battle.IsValidSlot(0));
    EXPECT_FALSE(Battle.IsValidSlot(1));
    EXPECT_TRUE(Battle.IsValidSlot(4));
    EXPECT_EQ(Battle.UnitAt(3), Blue->UnitAt(0));
    EXPECT_TRUE(RedSide->IsCommandedByLocalPerson());
    EXPECT_FALSE(BlueSide->IsCommandedByLocalPerson());
    EXPECT_EQ(BlueSide->Player(), &World->Player(1));
}

TEST_F(GroupBattle, CopiesJoinTheGroupWithIdentifiersAndLeaveTheRegistryAfterwards) {
    const int registered = World->Scenario->Units.Count();
    ASSERT_TRUE(Battle.SetSpellCommand(0, Doppelganger, 0));
    ASSERT_TRUE(Battle.CanCastSpellAt(0, Doppelganger, 0));
    Battle.ApplyBattleSpell(0, nullptr);
    ASSERT_EQ(Red->UnitCount(), 3);
    EXPECT_EQ(World->Scenario->Units.Count(), registered + 2);
    for (const int slot : {1, 2}) {
        const TUnit* copy = Battle.UnitAt(slot);
        EXPECT_NE(copy->ID, 0u);
        EXPECT_EQ(World->Scenario->Units.GetByID(copy->ID), copy);
        EXPECT_EQ(copy->GetGroup(), Red);
    }
    Battle.RemoveBattleEffects();
    EXPECT_EQ(Red->UnitCount(), 1);
    EXPECT_EQ(World->Scenario->Units.Count(), registered);
    EXPECT_EQ(Battle.Slots[1].Occupied, 0);
}

} // namespace
} // namespace TestSupport
