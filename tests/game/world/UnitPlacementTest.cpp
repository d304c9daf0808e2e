// Units put on the map and taken off it: the nearest cell that can take a unit, the
// groups it may join, start areas, and what becomes of the place a unit leaves; the
// look-ups by kind and the spell check over the registry.
#include "tests/game/world/CityGroupFixture.h"

#include <algorithm>

namespace CityGroupTests {
namespace {

using TestSupport::ErrorOf;

class UnitPlacementTest : public CityGroupTest {
protected:
    static constexpr TPlacementOptions Join{.AllowJoin = true, .NewID = true, .GiveToAI = true};
    static constexpr TPlacementOptions Apart{.AllowJoin = false, .NewID = true, .GiveToAI = true};

    UnitPlacementTest() { Scenario().BeginTurnOf(Red); }

    void Block(int x, int y) { Scenario().Costs[size_t(Scenario().CellIndex(x, y))] = Impassable; }
    static TPoint CellOf(const TUnit& unit) {
        const TGroup* group = unit.GetGroup();
        return {group->X / CellSize, group->Y / CellSize};
    }
    TGroup* GroupWith(uint8_t owner, int x, int y, std::initializer_list<int> prototypes) {
        TGroup* group = World->AddGroup(owner, x, y);
        for (int prototype : prototypes)
            group->AddUnit(Make(prototype), true, false);
        return group;
    }
};

TEST_F(UnitPlacementTest, NewUnitsTakeTheNearestCellOfTheFirstRingWithRoom) {
    TUnit* first = Scenario().PlaceNewUnit(Red, 5, 5, Apart, Make(SoldierID));
    EXPECT_EQ(CellOf(*first), (TPoint{5, 5})) << "a free cell itself: ring 0";
    EXPECT_EQ(first->GetGroup()->OwnerIndex, Red);
    EXPECT_EQ(Scenario().Units.FindByID(first->ID), first);
    EXPECT_EQ(Log, (std::vector<std::string>{"Red+" + TLogPlanner::Id(*first)}));

    // Around (2, 6) only ring 2 has room: of its four nearest cells the first in row
    // order, straight above, wins.
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            Block(2 + dx, 6 + dy);
    TUnit* second = Scenario().PlaceNewUnit(Blue, 2, 6, Apart, Make(SoldierID));
    EXPECT_EQ(CellOf(*second), (TPoint{2, 4}));

    // Cells beyond the map and impassable ones are never taken, whatever stands there.
    TUnit* corner = Scenario().PlaceNewUnit(Red, -3, 0, Apart, Make(SoldierID));
    EXPECT_EQ(CellOf(*corner), (TPoint{0, 0}));
}

TEST_F(UnitPlacementTest, OnlyAnOwnGroupWithRoomIsJoinedAndOnlyWhenAllowed) {
    TGroup* full = GroupWith(Red, 5, 5, {SoldierID, SoldierID, SoldierID});
    TGroup* hero = GroupWith(Red, 9, 9, {HeroID});
    TGroup* blue = GroupWith(Blue, 2, 9, {SoldierID});
    const struct {
        const char* Name;
        uint8_t Owner;
        TPoint Cell;
        int Prototype;
        TPlacementOptions Options;
        TGroup* Joined; // null: a new group on the nearest free cell
        TPoint Expected;
    } cases[] = {
        {"a full group of the same owner", Red, {5, 5}, SoldierID, Join, nullptr, {5, 4}},
        {"an own group with room", Red, {9, 9}, SoldierID, Join, hero, {9, 9}},
        {"a second hero", Red, {9, 9}, HeroID, Join, nullptr, {9, 8}},
        {"joining not allowed", Red, {9, 9}, SoldierID, Apart, nullptr, {9, 8}},
        {"another player's group", Red, {2, 9}, SoldierID, Join, nullptr, {2, 8}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const int objects = Scenario().Objects.Count();
        TUnit* unit =
            Scenario().PlaceNewUnit(c.Owner, c.Cell.X, c.Cell.Y, c.Options, Make(c.Prototype));
        TGroup* group = unit->GetGroup();
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(CellOf(*unit), c.Expected);
        if (c.Joined) {
            EXPECT_EQ(group, c.Joined);
            EXPECT_EQ(Scenario().Objects.Count(), objects);
        } else {
            EXPECT_EQ(group->UnitCount(), 1);
            EXPECT_EQ(group->OwnerIndex, c.Owner);
            Scenario().RemoveUnit(unit, true, true); // room again for the next case
        }
    }
    EXPECT_EQ(full->UnitCount(), 3);
    EXPECT_EQ(blue->UnitCount(), 1);
}

TEST_F(UnitPlacementTest, AUnitPlacedOnACityServesItsOwner) {
    TCity* city = World->AddCity(Blue, 6, 6);
    TUnit* unit = Registered(SoldierID, Red);
    const TPoint centre = CellToPixelCentre(7, 7);
    Scenario().PlaceUnit(*unit, centre.X, centre.Y, Apart, Red);
    EXPECT_EQ(unit->GetCity(), city);
    EXPECT_EQ(unit->Marker, CityOwnerByte);
    EXPECT_TRUE(city->IsOtherUnit(*unit));
    EXPECT_EQ(ErrorOf([&] { Scenario().PlaceUnit(*unit, 20, 20, Apart, Red); }),
              "Error placing unit!")
        << "a unit that has a place is not put into a second one";
}

TEST_F(UnitPlacementTest, AreasOfferTheirCellsInOrderThenTheNeighbourhoodOfTheLast) {
    Block(0, 0);
    GroupWith(Blue, 1, 0, {SoldierID});
    Data::TDynamicArray<TField> cells;
    for (TField cell : {TField{0, 0}, TField{1, 0}, TField{3, 0}, TField{2, 0}})
        cells.Add(cell);
    TUnit* first = Scenario().PlaceUnitInArea(Make(SoldierID), Red, Apart, cells);
    EXPECT_EQ(CellOf(*first), (TPoint{3, 0}));
    TUnit* second = Scenario().PlaceUnitInArea(Make(SoldierID), Red, Apart, cells);
    EXPECT_EQ(CellOf(*second), (TPoint{2, 0}));
    TUnit* third = Scenario().PlaceUnitInArea(Make(SoldierID), Red, Apart, cells);
    EXPECT_EQ(CellOf(*third), (TPoint{2, 1})) << "nearest to the last cell tried";

    // A loose unit keeps its identifier and leaves the loose units.
    TUnit* loose = Registered(SoldierID);
    Scenario().LooseUnits.Add(loose);
    Scenario().PlaceUnitInArea(*loose, Red, Apart, Data::TDynamicArray<TField>());
    EXPECT_EQ(CellOf(*loose), (TPoint{0, 1})) << "no cells: around the map's first";
    EXPECT_EQ(Scenario().LooseUnits.Count(), 0);
}

TEST_F(UnitPlacementTest, AMapWithoutRoomRefusesAndKeepsNothing) {
    for (int y = 0; y < Scenario().Height; ++y)
        for (int x = 0; x < Scenario().Width; ++x)
            Block(x, y);
    const int units = Scenario().Units.Count();
    const int objects = Scenario().Objects.Count();
    EXPECT_EQ(ErrorOf([&] { Scenario().PlaceNewUnit(Red, 5, 5, Apart, Make(SoldierID)); }),
              "There is no place for new unit in scenario!");
    EXPECT_EQ(ErrorOf([&] {
                  Scenario().PlaceUnitInArea(Make(SoldierID), Red, Apart,
                                             Data::TDynamicArray<TField>());
              }),
              "There is no place for new unit in scenario!");
    EXPECT_EQ(Scenario().Units.Count(), units);
    EXPECT_EQ(Scenario().Objects.Count(), objects);
}

TEST_F(UnitPlacementTest, RemovedUnitsLeaveTheirPlaceAndEmptiedGroupsTheMap) {
    TGroup* alone = GroupWith(Red, 2, 2, {SoldierID});
    TGroup* pair = GroupWith(Red, 4, 2, {SoldierID, HeroID});
    TCity* city = World->AddCity(Red, 6, 6);
    city->GateGroup->AddUnit(Make(SoldierID), true, false);
    TUnit* atGate = city->GateGroup->UnitAt(0);
    TUnit* garrison = city->AddOtherUnit(Make(SoldierID), true, false);
    TUnit* loose = Registered(SoldierID);
    Scenario().LooseUnits.Add(loose);
    Player(Red).SelectObject(alone);
    Log.clear();

    const uint32_t aloneUnitID = alone->UnitAt(0)->ID;
    const uint32_t aloneID = alone->ID;
    Scenario().RemoveUnit(alone->UnitAt(0), true, true);
    EXPECT_EQ(Scenario().FindObjectByID(aloneID), nullptr);
    EXPECT_EQ(Player(Red).Selection, nullptr);
    EXPECT_EQ(Scenario().Units.FindByID(aloneUnitID), nullptr);
    EXPECT_EQ(Log, (std::vector<std::string>{"Red-" + std::to_string(aloneUnitID)}));

    TUnit* kept = pair->UnitAt(1);
    Scenario().RemoveUnit(kept, false, false);
    EXPECT_EQ(pair->UnitCount(), 1);
    EXPECT_EQ(kept->Owner, nullptr);
    EXPECT_EQ(Scenario().Units.FindByID(kept->ID), kept) << "still registered";

    EXPECT_TRUE(Scenario().IsGateGroup(*atGate));
    EXPECT_FALSE(Scenario().IsGateGroup(*pair->UnitAt(0)));
    Scenario().RemoveUnit(atGate, true, false);
    EXPECT_EQ(city->GateGroup->UnitCount(), 0);
    EXPECT_GE(Scenario().IndexOfObject(city), 0) << "the city keeps its emptied gate group";

    Scenario().RemoveUnit(garrison, false, false);
    EXPECT_FALSE(city->IsOtherUnit(*garrison));
    EXPECT_EQ(garrison->Owner, nullptr);

    const uint32_t looseID = loose->ID;
    Scenario().RemoveUnit(loose, true, false);
    EXPECT_EQ(Scenario().LooseUnits.Count(), 0);
    EXPECT_EQ(Scenario().Units.FindByID(looseID), nullptr);
}

TEST_F(UnitPlacementTest, LookUpsByKindAndWhatTheCurrentPlayerIsShown) {
    TGroup* own = GroupWith(Red, 1, 1, {SoldierID});
    TGroup* hidden = GroupWith(Blue, 10, 10, {SoldierID});
    TCity* city = World->AddCity(Blue, 6, 1);
    Data.SetConstant(Data2::gcSightDistanceScale, 1);
    Scenario().UpdateAllVisibility();
    ASSERT_FALSE(Player(Red).IsObjectVisible(*hidden));

    EXPECT_EQ(Scenario().FindGroupByID(own->ID), own);
    EXPECT_EQ(Scenario().FindGroupByID(city->ID), nullptr);
    EXPECT_EQ(Scenario().FindCityByID(city->ID), city);
    EXPECT_EQ(Scenario().FindCityByID(own->ID), nullptr);
    EXPECT_EQ(Scenario().FindBuildingByID(city->ID), nullptr);

    const TPoint ownCentre = CellToPixelCentre(1, 1);
    const TPoint hiddenCentre = CellToPixelCentre(10, 10);
    EXPECT_EQ(Scenario().ObjectIndexAtPoint(ownCentre.X, ownCentre.Y),
              Scenario().IndexOfObject(own));
    EXPECT_EQ(Scenario().ObjectIndexAtPixel(hiddenCentre.X, hiddenCentre.Y),
              Scenario().IndexOfObject(hidden));
    EXPECT_EQ(Scenario().ObjectIndexAtPoint(hiddenCentre.X, hiddenCentre.Y), -1);
    Scenario().CurrentPlayer = nullptr;
    EXPECT_EQ(Scenario().ObjectIndexAtPoint(hiddenCentre.X, hiddenCentre.Y),
              Scenario().IndexOfObject(hidden))
        << "without a current player everything counts";
}

TEST_F(UnitPlacementTest, EveryRegisteredUnitForgetsSpellsAboveItsLevel) {
    Data.AddSpell(5, 1);
    Data.AddSpell(6, 3);
    TUnit* grouped = GroupWith(Red, 2, 2, {SoldierID})->UnitAt(0);
    TUnit* loose = Registered(SoldierID);
    for (TUnit* unit : {grouped, loose}) {
        unit->Own.Spells |= MaskBit(5) | MaskBit(6);
        unit->RecalculateStats(false);
    }
    Scenario().ValidateUnitSpells();
    for (const TUnit* unit : {grouped, loose}) {
        EXPECT_TRUE(unit->KnowsSpell(5));
        EXPECT_FALSE(unit->KnowsSpell(6)) << "needs level 3";
    }
}

} // namespace
} // namespace CityGroupTests
