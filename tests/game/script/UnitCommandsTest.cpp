// Units made, removed, killed, moved and found; cities handed over and filled;
// units counted in cities and areas.
#include "game/world/scenario/UnitPlacement.h"
#include "tests/game/script/CommandWorld.h"

#include <gtest/gtest.h>

using namespace GameData;

namespace {

class UnitCommands : public TestSupport::TCommandWorld {};

TEST_F(UnitCommands, PlacedUnitsGetFreshIdentifiersAndJoinTheirPlayersGroupsWithRoom) {
    const int units = scenario.Units.Count();
    EXPECT_EQ(Run("<PLACEUNITOFPROTOTYPE(-1,2,3,2,2)>"), "");
    const uint32_t id = uint32_t(conversation.Locals[0]);
    TUnit* placed = scenario.Units.FindByID(id);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(scenario.Units.Count(), units + 1);
    EXPECT_EQ(placed->Own.Level(), 3);
    EXPECT_TRUE(conversation.UnitsPlaced);
    EXPECT_EQ(placed->GetGroup(), red) << "red, of the talking group's player, has room";

    EXPECT_EQ(Run("<PLACEUNITOFPROTOTYPE(-1,2,3,2,2)>"), "");
    TGroup* group = scenario.Units.FindByID(uint32_t(conversation.Locals[0]))->GetGroup();
    ASSERT_NE(group, nullptr);
    EXPECT_NE(group, red) << "red is full now";
    EXPECT_EQ(group->OwnerIndex, 0);
    EXPECT_GE(scenario.IndexOfObject(group), 0);
    EXPECT_EQ(std::abs(group->TMapObject::CellX() - 2) <= 1 &&
                  std::abs(group->TMapObject::CellY() - 2) <= 1,
              true)
        << "the nearest free cell";

    EXPECT_EQ(Run("<PLACEUNITOFPROTOTYPE(1,2,30,0,0,777)>"), "");
    EXPECT_EQ(scenario.Units.FindByID(777)->Own.Level(), MaxUnitLevel) << "clamped to 20";
}

TEST_F(UnitCommands, RefusedPlacementsLeaveNothingBehind) {
    const int units = scenario.Units.Count();
    const int objects = scenario.Objects.Count() + 1; // with the stray group below
    const std::string k = Id(knight);
    const struct {
        std::string Command;
        std::string Message;
    } refused[] = {
        {"PLACEUNITOFPROTOTYPE(5,1,1,0,0)", "[PlaceUnitOfPrototype] Bad player index: 5"},
        {"PLACEUNITOFPROTOTYPE(0,1,0,0,0)", "Level cannot be less than 1! Level = 0"},
        {"PLACEUNITOFPROTOTYPE(0,9,1,0,0)", "Bad prototype ID! ID = 9"},
        {"PLACEUNITOFPROTOTYPE(0,1,1,12,0)", "The cell is not on the map: (12, 0)."},
        {"PLACEUNITOFPROTOTYPE(0,1,1,0,0," + k + ")",
         "Object with given ID is already in list (" + k + ")."},
    };
    for (const auto& c : refused)
        EXPECT_EQ(Run("<" + c.Command + ">"), Framed(c.Message, c.Command));
    TGroup* stray = world.AddGroup(NoOwner, 5, 5);
    conversation.SetTalkingGroup(stray);
    EXPECT_EQ(
        Run("<PLACEUNITOFPROTOTYPE(-1,1,1,0,0)>"),
        Framed("[PlaceUnitOfPrototype] Bad player index: 255", "PLACEUNITOFPROTOTYPE(-1,1,1,0,0)"));
    conversation.SetTalkingGroup(nullptr);
    EXPECT_EQ(Run("<PLACEUNITOFPROTOTYPE(-1,1,1,0,0)>"),
              Framed("No group to get PlayerIndex from!", "PLACEUNITOFPROTOTYPE(-1,1,1,0,0)"));

    std::fill(scenario.Costs.begin(), scenario.Costs.end(), Impassable);
    EXPECT_EQ(Run("<PLACEUNITOFPROTOTYPE(0,1,1,0,0)>"),
              "There is no place for new unit in scenario!");
    EXPECT_EQ(scenario.Units.Count(), units);
    EXPECT_EQ(scenario.Objects.Count(), objects);
}

TEST_F(UnitCommands, OfflineUnitsComeBackIntoCities) {
    const std::string w = Id(redWolf);
    EXPECT_EQ(Run("<DELETEUNIT(" + w + ",1)><GETUNITPOSITION(" + w + ")>"), "");
    EXPECT_EQ(conversation.Locals[0], -2);
    EXPECT_EQ(conversation.Locals[1], 0);
    EXPECT_GE(scenario.LooseUnits.IndexOf(redWolf), 0);
    EXPECT_EQ(red->UnitCount(), 1);

    const std::string c = Id(city);
    EXPECT_EQ(Run("<PLACEUNITSTOCITY(" + c + ",1," + w + "," + Id(knight) + ")>"), "")
        << "a unit on the map is skipped";
    EXPECT_EQ(redWolf->GetCity(), city);
    EXPECT_TRUE(city->IsCivilian(*redWolf));
    EXPECT_EQ(redWolf->GetPlayer(), &world.Player(1)) << "it serves the city's owner";
    EXPECT_EQ(knight->GetGroup(), red);
    EXPECT_EQ(scenario.LooseUnits.IndexOf(redWolf), -1);
    EXPECT_EQ(Query("<GETUNITPOSITION(" + w + ")>"), -1);
    EXPECT_EQ(conversation.Locals[1], int32_t(city->ID));
    EXPECT_EQ(Query("<GETUNITPOSITION(" + Id(blueWolf) + ")>"), 6);
    EXPECT_EQ(conversation.Locals[1], 2);

    const struct {
        std::string Command;
        std::string Message;
    } refused[] = {
        {"PLACEUNITSTOCITY(" + c + ",2," + w + ")", "Flag can be only 0 or 1"},
        {"PLACEUNITSTOCITY(" + c + ",0)", "Command should have at least 3 parameters!"},
        {"PLACEUNITSTOCITY(" + Id(red) + ",0," + w + ")", "Object not city! ID=" + Id(red)},
        {"PLACEUNITSTOCITY(5,0," + w + ")", "City object not found! ID = 5."},
        {"GETUNITPOSITION(5)", "Unit not found: 5."},
    };
    for (const auto& r : refused)
        EXPECT_EQ(Run("<" + r.Command + ">"), Framed(r.Message, r.Command));
}

TEST_F(UnitCommands, RemovingTheTalkingGroupsLastUnitLeavesNoDanglingGroup) {
    const int units = scenario.Units.Count();
    const uint32_t redID = red->ID;
    EXPECT_EQ(Run("<DELETEUNIT(" + Id(redWolf) + ",0)>"), "");
    EXPECT_EQ(scenario.Units.Count(), units - 1);
    EXPECT_EQ(conversation.TalkingGroup, red);
    EXPECT_EQ(Run("<DELETEUNIT(" + Id(knight) + ",0)><GETMONEY(0)>"), "");
    EXPECT_EQ(scenario.FindObjectByID(redID), nullptr) << "an empty group leaves the map";
    EXPECT_EQ(conversation.TalkingGroup, nullptr);
    EXPECT_EQ(Run("<DELETEUNIT(99,0)>"), "") << "no such unit: nothing";
}

TEST_F(UnitCommands, AComputerPlayerCannotSendItsOwnUnitsOfflineInItsTurn) {
    scenario.BeginTurnOf(1);
    const std::string command = "DELETEUNIT(" + Id(blueWolf) + ",1)";
    EXPECT_EQ(Run("<" + command + ">"),
              Framed("[DeleteUnit] Moving unit to offline in same player's turn!", command));
    EXPECT_EQ(blueWolf->GetGroup(), blue);
}

TEST_F(UnitCommands, KillingTakesAThousandHitPoints) {
    knight->Own.Value(HITPOINTS) = 1500;
    TestSupport::SetStat(knight->Own, HITPOINTS, 2000);
    knight->RecalculateStats(true);
    EXPECT_EQ(Query("<KILLUNIT(" + Id(knight) + ")><LIVESUNIT(" + Id(knight) + ")>"), 1);
    EXPECT_EQ(knight->Own.Value(HITPOINTS), 500);
    EXPECT_EQ(Query("<KILLUNIT(" + Id(redWolf) + ")><LIVESUNIT(" + Id(redWolf) + ")>"), 0);
    EXPECT_TRUE(redWolf->IsDead());
    EXPECT_EQ(conversation.TalkingGroup, red);
    EXPECT_EQ(Query("<KILLUNIT(99)><LIVESUNIT(99)>"), 0);
}

TEST_F(UnitCommands, CitiesChangeHands) {
    const std::string c = Id(city);
    EXPECT_EQ(Query("<GETCONTROLLER(" + c + ")>"), 1);
    EXPECT_EQ(Run("<SETCITYOWNER(" + c + ",-5)>"), "");
    EXPECT_EQ(city->Owner, 0) << "a negative index is the player on turn";
    EXPECT_EQ(Run("<SETCITYOWNER(" + c + ",1,1)>"), "");
    EXPECT_EQ(Query("<GETCONTROLLER(" + c + ")>"), 1);
    const struct {
        std::string Command;
        std::string Message;
    } refused[] = {
        {"SETCITYOWNER(" + c + ",5)", "Invalid player index: 5."},
        {"SETCITYOWNER(" + Id(red) + ")", "Object not city! ID=" + Id(red)},
        {"SETCITYOWNER(5)", "City object not found! ID = 5."},
        {"GETCONTROLLER(" + Id(red) + ")", "City object not found! ID = " + Id(red) + "."},
    };
    for (const auto& r : refused)
        EXPECT_EQ(Run("<" + r.Command + ">"), Framed(r.Message, r.Command));
}

TEST_F(UnitCommands, GroupsMoveOnlyOntoFreeCellsOfTheMap) {
    EXPECT_EQ(Run("<MOVEGROUP(4,5)>"), "");
    EXPECT_EQ(red->X, 4 * 40 + 20);
    EXPECT_EQ(red->Y, 5 * 40 + 20);
    EXPECT_EQ(Run("<MOVEGROUP(4,6," + Id(blueWolf) + ")>"), "");
    EXPECT_EQ(blue->TMapObject::CellY(), 6);
    const std::string w = Id(blueWolf);
    const struct {
        std::string Command;
        std::string Message;
    } refused[] = {
        {"MOVEGROUP(4,5," + w + ")", "The cell is taken: (4, 5)."},
        {"MOVEGROUP(8,8)", "The cell is taken: (8, 8)."},
        {"MOVEGROUP(-1,3)", "The cell is not on the map: (-1, 3)."},
        {"MOVEGROUP(1,1,99)", "Unit not found: 99."},
        {"MOVEGROUP(1,1," + Id(townsman) + ")", "Unit " + Id(townsman) + " is not in group"},
    };
    for (const auto& r : refused)
        EXPECT_EQ(Run("<" + r.Command + ">"), Framed(r.Message, r.Command));
    EXPECT_EQ(blue->TMapObject::CellY(), 6);
}

TEST_F(UnitCommands, AMovedGroupFindsItsWayAndSightFromItsNewCell) {
    scenario.UpdateAllVisibility();
    ASSERT_NE(FogAt(0, 11, 1), fsVisible);
    MakeCostsStale();
    EXPECT_EQ(Run("<MOVEGROUP(11,1)>"), "");
    EXPECT_EQ(MoveCostAt(11, 1), 0) << "costs filled from the new cell";
    EXPECT_EQ(FogAt(0, 11, 1), fsVisible);
    EXPECT_EQ(FogAt(0, 2, 2), fsExplored) << "the old cell is out of sight";
}

// The knight sees farthest; the wolf staying in the group sees two cells.
TEST_F(UnitCommands, TheSightOfUnitsTakenOrKilledGoesWithThem) {
    const auto farSighted = [&](TUnit* unit) {
        unit->Own.Value(SIGHT) = 6;
        unit->RecalculateStats(true);
    };
    for (const std::string flag : {"0", "1"}) {
        TUnit* seer = Unit(*red, Knight);
        farSighted(seer);
        scenario.UpdateAllVisibility();
        ASSERT_EQ(FogAt(0, 7, 2), fsVisible);
        EXPECT_EQ(Run("<DELETEUNIT(" + Id(seer) + "," + flag + ")>"), "");
        EXPECT_EQ(FogAt(0, 7, 2), fsExplored) << "to offline: " << flag;
    }

    farSighted(knight);
    scenario.UpdateAllVisibility();
    ASSERT_EQ(FogAt(0, 7, 2), fsVisible);
    EXPECT_EQ(Run("<KILLUNIT(" + Id(knight) + ")>"), "");
    for (int tick = 0; tick < 3000 && scenario.IsBusyFlagSet(); ++tick)
        scenario.Update();
    ASSERT_EQ(red->UnitCount(), 1) << "the dead knight left";
    EXPECT_EQ(FogAt(0, 7, 2), fsExplored);
}

TEST_F(UnitCommands, CellsMoneyAreasAndCities) {
    const std::string a = std::to_string(area->ID), c = Id(city);
    const struct {
        std::string Command;
        int32_t Result;
    } cases[] = {
        {"SQUAREEMPTY(1,1)", 1},
        {"SQUAREEMPTY(2,2)", 0}, // red
        {"SQUAREEMPTY(9,9)", 0}, // the city
        {"SQUAREEMPTY(12,0)", 0},
        {"SQUAREEMPTY(-1,0)", 0},
        {"GETMONEY", 1000},
        {"GETMONEY(1)", 1000},
        {"UNITINAREA(" + a + "," + Id(knight) + ")", 1},
        {"UNITINAREA(" + a + "," + Id(blueWolf) + ")", 0},
        {"UNITINAREA(" + a + "," + Id(townsman) + ")", 0},
        {"UNITINAREA(" + a + ",99)", 0},
        {"GETUNITSINAREA(" + a + ")", 2},
        {"GETUNITSINAREA(" + a + ",1)", 0},
        {"UNITSINCITY(" + c + "," + Id(townsman) + ")", 1},
        {"UNITSINCITY(" + c + "," + Id(townsman) + "," + Id(knight) + ")", 0},
        {"UNITSINCITY(" + c + ")", 1},
    };
    world.Player(0).Gold = 1000;
    for (const auto& t : cases)
        EXPECT_EQ(Query("<" + t.Command + ">"), t.Result) << t.Command;
    TUnit* gateWolf = Unit(*city->GateGroup, Wolf);
    EXPECT_EQ(Query("<UNITSINCITY(" + c + "," + Id(gateWolf) + ")>"), 1) << "the gate counts";
    const struct {
        std::string Command;
        std::string Message;
    } refused[] = {
        {"GETMONEY(3)", "Invalid player index: 3."},
        {"GETUNITSINAREA(" + a + ",5)", "GetUnitsInArea: bad player index: 5."},
        {"GETUNITSINAREA(99)", "Area not found: 99."},
        {"UNITINAREA(0,1)", "Area not found: 0."},
        {"UNITSINCITY(5,1)", "City object not found! ID = 5."},
    };
    for (const auto& r : refused)
        EXPECT_EQ(Run("<" + r.Command + ">"), Framed(r.Message, r.Command));
}

} // namespace
