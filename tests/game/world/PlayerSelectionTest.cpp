// What a player has selected and acts with, what its orders plan over, what it
// selects when its turn begins, its relations to groups and cities, and the unit
// prototypes it has met.
#include "game/world/objects/Doodle.h"
#include "tests/game/world/CityGroupFixture.h"

#include <algorithm>

namespace CityGroupTests {
namespace {

class PlayerSelectionTest : public CityGroupTest {
protected:
    PlayerSelectionTest() {
        Data.SetConstant(Data2::gcSightDistanceScale, 1);
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
    }

    TGroup* Group(uint8_t owner, int x, int y, int prototype = SoldierID) {
        TGroup* group = World->AddGroup(owner, x, y);
        group->AddUnit(Make(prototype), true, false);
        return group;
    }

    std::vector<uint8_t> CostsFrom(const TGroup& group) {
        Scenario().FloodFillCosts(group.TMapObject::CellX(), group.TMapObject::CellY(), group);
        return Scenario().MoveCosts;
    }
};

TEST_F(PlayerSelectionTest, TheSelectedGroupOrCityAndTheGroupThatActs) {
    TGroup* group = Group(Red, 2, 2);
    TCity* empty = World->AddCity(Red, 6, 2);
    TCity* held = World->AddCity(Red, 6, 6);
    held->GateGroup->AddUnit(Make(SoldierID), true, false);
    TMapObject* tree = World->AddDoodle(TestSupport::TTinyWorld::Tree, 9, 9);
    const struct {
        const char* Name;
        TMapObject* Selection;
        TGroup* Group;
        TCity* City;
        TGroup* Active;
    } cases[] = {
        {"nothing", nullptr, nullptr, nullptr, nullptr},
        {"a group", group, group, nullptr, group},
        {"a city with nobody at the gate", empty, nullptr, empty, nullptr},
        {"a city with units at the gate", held, nullptr, held, held->GateGroup.get()},
        {"scenery", tree, nullptr, nullptr, nullptr},
    };
    TPlayer& red = Player(Red);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        red.SelectObject(c.Selection);
        EXPECT_EQ(red.GetSelectedGroup(), c.Group);
        EXPECT_EQ(red.GetSelectedCity(), c.City);
        EXPECT_EQ(red.GetActiveGroup(), c.Active);
    }
}

TEST_F(PlayerSelectionTest, RelationsToGroupsAndCitiesAreThoseToTheirOwners) {
    const struct {
        uint8_t Owner;
        int8_t Relation;
    } cases[] = {{Red, RelationSelf}, {Blue, reEnemy}, {Green, reNeutral}, {NoOwner, RelationNone}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Owner));
        EXPECT_EQ(Player(Red).GetRelationToGroup(World->AddGroup(c.Owner, 1, 1)), c.Relation);
        EXPECT_EQ(Player(Red).GetRelationToCity(World->AddCity(c.Owner, 4, 4)), c.Relation);
    }
    EXPECT_EQ(Player(Red).GetRelationToGroup(nullptr), RelationNone);
    EXPECT_EQ(Player(Red).GetRelationToCity(nullptr), RelationNone);
}

TEST_F(PlayerSelectionTest, SelectingAGroupRefillsTheMovementCostsFromItsCell) {
    TGroup* near = Group(Red, 2, 2);
    TGroup* far = Group(Red, 9, 8);
    const std::vector<uint8_t> fromNear = CostsFrom(*near);
    const std::vector<uint8_t> fromFar = CostsFrom(*far);
    ASSERT_NE(fromNear, fromFar);

    TPlayer& red = Player(Red);
    red.SelectObject(near);
    EXPECT_EQ(Scenario().MoveCosts, fromNear);
    red.SelectObject(far);
    EXPECT_EQ(Scenario().MoveCosts, fromFar);
    // Selected again after the map was filled for another group.
    CostsFrom(*near);
    red.SelectObject(far);
    EXPECT_EQ(Scenario().MoveCosts, fromFar);
}

TEST_F(PlayerSelectionTest, LeavingATownPlansFromItsExit) {
    TCity* city = World->AddCity(Red, 6, 6); // exits (6, 8) and (7, 8)
    city->GateGroup->AddUnit(Make(SoldierID), true, false);
    Scenario().FloodFillCostsFromCells(city->ExitArea.Cells, *city->GateGroup);
    const std::vector<uint8_t> fromExit = Scenario().MoveCosts;
    CostsFrom(*Group(Red, 1, 1));
    ASSERT_NE(Scenario().MoveCosts, fromExit);

    Scenario().BeginTurnOf(Red);
    city->PrepareLeave();
    EXPECT_EQ(Scenario().MoveCosts, fromExit);
    EXPECT_EQ(Scenario().MoveCosts[size_t(Scenario().CellIndex(7, 8))], 0);
    EXPECT_EQ(Player(Red).GetActiveGroup(), city->GateGroup.get());
}

TEST_F(PlayerSelectionTest, ATurnBeginsWithTheSavedSelectionOrElseTheGroupOfTheFirstUnit) {
    Group(Blue, 10, 10); // the lowest unit identifier, but blue's
    TGroup* first = Group(Red, 5, 5);
    Group(Red, 2, 2); // a later unit
    first->AddUnit(Make(SoldierID), true, false);
    TMapObject* tree = World->AddDoodle(TestSupport::TTinyWorld::Tree, 9, 2);
    const struct {
        const char* Name;
        uint32_t Saved;
        TMapObject* Selected;
    } cases[] = {
        {"nothing saved", 0, first},
        {"saved", tree->ID, tree},
        {"saved but gone", 99999, first},
    };
    TPlayer& red = Player(Red);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        red.SelectObject(nullptr);
        red.SavedSelectionID = c.Saved;
        Scenario().BeginTurnOf(Red);
        EXPECT_EQ(red.Selection, c.Selected);
    }
    // Green has no unit: nothing to select.
    Scenario().BeginTurnOf(Green);
    EXPECT_EQ(Player(Green).Selection, nullptr);
}

TEST_F(PlayerSelectionTest, HumanPlayersMeetThePrototypesOfTheUnitsTheySee) {
    Player(Green).Type = ptRemote; // a person at another machine
    Group(Red, 1, 5);
    Group(Green, 1, 9);
    Group(Blue, 3, 5, BeastID);               // beside red
    Group(Blue, 1, 10, HeroID);               // beside green
    Group(Blue, 10, 1, HeroID);               // out of everybody's sight but blue's
    TCity* city = World->AddCity(Blue, 2, 9); // beside green
    city->AddOtherUnit(Make(BeastID), true, false);
    Scenario().BeginTurnOf(Red);

    const auto met = [](const TPlayer& player) {
        std::vector<uint32_t> ids(player.MetPrototypes.begin(), player.MetPrototypes.end());
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    EXPECT_EQ(met(Player(Red)), (std::vector<uint32_t>{SoldierID, BeastID}));
    EXPECT_EQ(met(Player(Green)), (std::vector<uint32_t>{SoldierID, HeroID, BeastID}));
    EXPECT_EQ(met(Player(Blue)), std::vector<uint32_t>{}) << "the computer keeps no record";
}

} // namespace
} // namespace CityGroupTests
