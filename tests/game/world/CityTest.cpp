// Cities: every unit in exactly one place through moves and refusals, owner changes
// in their three modes, groups entering, the new turn, the caption and the stored form.
#include "tests/game/world/CityGroupFixture.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace CityGroupTests {
namespace {

using TestSupport::ErrorOf;

class CityTest : public CityGroupTest {
protected:
    CityTest() : City(World->AddCity(Red, 6, 6)) { City->SetRowCount(2); }

    // Where the unit stands, checking that it stands nowhere else and calls that
    // place its home; -1 when the city does not hold it.
    int PlaceOf(const TUnit* unit) const {
        const auto count = [](const auto& list, const TUnit* u) {
            return int(std::count(list.begin(), list.end(), u));
        };
        const int gate = count(City->GateGroup->Units, unit);
        const int defender = count(City->DefenderSlots, unit);
        const int other = count(City->OtherUnits, unit);
        const int civilian = count(City->Civilians, unit);
        EXPECT_LE(gate + defender + other + civilian, 1) << unit->ID;
        if (gate) {
            EXPECT_EQ(unit->GetGroup(), City->GateGroup.get());
        } else if (defender + other + civilian) {
            EXPECT_EQ(unit->GetCity(), City);
        }
        return gate       ? int(cpGateGroup)
               : defender ? int(cpDefenders)
               : other    ? int(cpOtherUnits)
               : civilian ? int(cpCivilians)
                          : -1;
    }

    TCity* City;
};

TEST_F(CityTest, MovesKeepEveryUnitInExactlyOnePlaceAndRefuseWhatCannotBe) {
    TUnit* a = Registered(SoldierID);
    TUnit* b = Registered(SoldierID);
    TUnit* c = Registered(SoldierID);
    TUnit* d = Registered(HeroID);
    TUnit* e = Registered(SoldierID);
    for (TUnit* unit : {a, b, c, d})
        City->AddOtherUnit(unit, false);
    City->AddCivilian(e, false);
    struct Case {
        uint32_t From;
        TUnit* Unit;
        uint32_t To;
        int32_t Row;
        bool Done;
        int Place; // afterwards
        int DefenderRow;
    };
    const Case cases[] = {
        {cpOtherUnits, a, cpDefenders, -1, true, cpDefenders, 0}, // first row with room
        {cpOtherUnits, b, cpDefenders, 0, true, cpDefenders, 0},
        {cpOtherUnits, c, cpDefenders, 0, true, cpDefenders, 0},    // row 0 now full
        {cpOtherUnits, d, cpDefenders, 0, false, cpOtherUnits, -1}, // no room
        {cpOtherUnits, d, cpDefenders, -1, true, cpDefenders, 1},   // the next row with room
        {cpOtherUnits, d, cpDefenders, 2, false, cpDefenders, 1},   // not in other units
        {cpDefenders, d, cpDefenders, 2, false, cpDefenders, 1},    // no such row
        {cpDefenders, d, cpDefenders, -5, false, cpDefenders, 1},
        {cpDefenders, d, cpDefenders, 0, false, cpDefenders, 1}, // row 0 full
        {cpDefenders, d, cpDefenders, 1, true, cpDefenders, 1},  // own row: nothing
        {cpDefenders, a, cpDefenders, -1, true, cpDefenders, 0}, // -1: nothing
        {cpDefenders, a, cpDefenders, 1, true, cpDefenders, 1},
        {cpCivilians, e, cpGateGroup, 0, true, cpGateGroup, -1},
        {cpCivilians, e, cpOtherUnits, 0, false, cpGateGroup, -1}, // not a civilian any more
        {cpGateGroup, e, cpGateGroup, 0, true, cpGateGroup, -1},
        {cpGateGroup, e, cpCivilians, 0, true, cpCivilians, -1},
        {cpCivilians, e, 4, 0, false, cpCivilians, -1}, // no such place
        {7, e, cpOtherUnits, 0, false, cpCivilians, -1},
    };
    for (const Case& c : cases) {
        const auto before = Bytes(*City);
        EXPECT_EQ(City->MoveUnit(c.From, c.Unit->ID, c.To, c.Row), c.Done) << int(&c - cases);
        if (!c.Done) {
            EXPECT_EQ(Bytes(*City), before) << int(&c - cases);
        }
        EXPECT_EQ(PlaceOf(c.Unit), c.Place) << int(&c - cases);
        EXPECT_EQ(City->FindDefenderRow(*c.Unit), c.DefenderRow) << int(&c - cases);
        for (TUnit* unit : {a, b, c.Unit, d, e})
            EXPECT_NE(PlaceOf(unit), -1);
    }
    // Row 0 closed up behind the unit that left it.
    EXPECT_EQ(City->DefenderAt(0), b);
    EXPECT_EQ(City->DefenderAt(1), c);
    EXPECT_EQ(City->DefenderAt(2), nullptr);
    EXPECT_FALSE(City->MoveUnit(cpOtherUnits, 999999, cpCivilians, 0));

    // The gate group holds three at most.
    for (TUnit* unit : {a, b, c})
        ASSERT_TRUE(City->MoveUnit(cpDefenders, unit->ID, cpGateGroup, 0));
    EXPECT_FALSE(City->MoveUnit(cpDefenders, d->ID, cpGateGroup, 0));
    EXPECT_EQ(PlaceOf(d), cpDefenders);
}

TEST_F(CityTest, RemovingTheFirstDefenderOfAFullRowClosesTheRow) {
    TUnit* units[3] = {Registered(SoldierID), Registered(SoldierID), Registered(SoldierID)};
    for (TUnit* unit : units)
        ASSERT_TRUE(City->AddDefender(0, unit, false));
    EXPECT_EQ(City->CanAddDefender(0, *Registered(SoldierID)), djRowFull);
    City->RemoveDefenderAt(0, false, false);
    EXPECT_EQ(City->DefenderAt(0), units[1]);
    EXPECT_EQ(City->DefenderAt(1), units[2]);
    EXPECT_EQ(City->DefenderAt(2), nullptr);
    EXPECT_EQ(units[0]->Owner, nullptr);
    EXPECT_EQ(City->DefenderCountInRow(0), 2);

    TUnit* hero = Registered(HeroID);
    City->AddDefender(0, hero, false);
    EXPECT_EQ(City->CanAddDefender(1, *Registered(HeroID)), djAllowed);
    City->RemoveDefender(units[1], false, false);
    EXPECT_EQ(City->CanAddDefender(0, *Registered(HeroID)), djSecondHero);
    TUnit* gloomy = Registered(SoldierID);
    gloomy->ChangeMorale(-25); // 25, under the defenders' 30
    EXPECT_EQ(City->CanAddDefender(1, *gloomy), djMoraleTooLow);
}

// A city of red's holding: a red hero and soldier among the other units (player
// byte 255), a red soldier and a blue soldier (byte 1) defending, a green civilian
// (byte 2) and a red civilian hero.
class OwnerChangeTest : public CityTest {
protected:
    OwnerChangeTest() { Setup(0); }
    // A fresh city of red's at the given column.
    void Setup(int column) {
        City = World->AddCity(Red, column, 0);
        City->AddOtherUnit(RedHero = Registered(HeroID), false);
        City->AddOtherUnit(RedSoldier = Registered(SoldierID), false);
        City->AddDefender(0, RedDefender = Registered(SoldierID), false);
        City->AddDefender(0, BlueDefender = Registered(SoldierID, Blue), false);
        City->AddCivilian(GreenCivilian = Registered(SoldierID, Green), false);
        City->AddCivilian(RedCivilianHero = Registered(HeroID), false);
        Log.clear();
    }
    bool Gone(const TUnit* unit) { return Scenario().Units.List().IndexOf(unit) < 0; }
    static std::string Id(const TUnit* unit) { return TLogPlanner::Id(*unit); }

    TUnit *RedHero, *RedSoldier, *RedDefender, *BlueDefender, *GreenCivilian, *RedCivilianHero;
};

TEST_F(OwnerChangeTest, ToTheSameOwnerNothingChanges) {
    const auto before = Bytes(*City);
    City->ChangeOwner(Red, ocConquest);
    EXPECT_EQ(Bytes(*City), before);
    EXPECT_TRUE(Log.empty());
}

TEST_F(OwnerChangeTest, ConquestDeletesTheOldSidesHeroesTellingItsPlannerFirst) {
    // A city's units leave their planner with the tasks aimed at them ("x").
    const std::vector<std::string> expected{
        "Redx" + Id(RedSoldier),  "Blue+" + Id(RedSoldier),  "Redx" + Id(RedHero),
        "Redx" + Id(RedDefender), "Blue+" + Id(RedDefender), "Redx" + Id(RedCivilianHero)};
    City->ChangeOwner(Blue, ocConquest);
    // Other units last first, then the defender places, then the civilians.
    EXPECT_EQ(Log, expected);
    EXPECT_EQ(City->Owner, Blue);
    EXPECT_TRUE(Gone(RedHero));
    EXPECT_TRUE(Gone(RedCivilianHero));
}

TEST_F(OwnerChangeTest, EachModeDecidesWhoStaysWhoFollowsAndWhoGoes) {
    struct Expected {
        uint8_t Marker;
        int Place; // -1: deleted
    };
    struct Case {
        int Mode;
        Expected RedHero, RedDefender, BlueDefender, GreenCivilian;
    };
    const Case cases[] = {
        {ocTakeOverAll,
         {CityOwnerByte, cpOtherUnits},
         {CityOwnerByte, cpDefenders},
         {CityOwnerByte, cpDefenders},
         {CityOwnerByte, cpCivilians}},
        {ocConquest,
         {0, -1},
         {CityOwnerByte, cpDefenders},
         {CityOwnerByte, cpDefenders}, // came home to its own side
         {Green, cpCivilians}},        // a third side's unit stays
        // Red's units keep serving red and, red being blue's enemy, are sent away.
        {ocKeepLoyalty, {0, -1}, {0, -1}, {CityOwnerByte, cpDefenders}, {Green, cpCivilians}},
    };
    for (const Case& c : cases) {
        Setup(4 * int(&c - cases));
        std::map<const TUnit*, std::string> ids;
        for (const TUnit* unit :
             {RedHero, RedSoldier, RedDefender, BlueDefender, GreenCivilian, RedCivilianHero})
            ids[unit] = Id(unit);
        City->ChangeOwner(Blue, c.Mode);
        EXPECT_EQ(City->Owner, Blue);
        const std::pair<TUnit*, Expected> checks[] = {{RedHero, c.RedHero},
                                                      {RedDefender, c.RedDefender},
                                                      {BlueDefender, c.BlueDefender},
                                                      {GreenCivilian, c.GreenCivilian}};
        for (const auto& [unit, expected] : checks) {
            if (expected.Place < 0) {
                EXPECT_TRUE(Gone(unit)) << c.Mode << " " << ids[unit];
                continue;
            }
            ASSERT_FALSE(Gone(unit)) << c.Mode;
            EXPECT_EQ(unit->Marker, expected.Marker) << c.Mode << " " << ids[unit];
            EXPECT_EQ(PlaceOf(unit), expected.Place) << c.Mode << " " << ids[unit];
        }
        // Every deleted unit was dropped by its planner before it went.
        for (const auto& [unit, id] : ids)
            if (Gone(unit)) {
                EXPECT_NE(std::find(Log.begin(), Log.end(), "Redx" + id), Log.end())
                    << c.Mode << " " << id;
            }
    }
}

TEST_F(CityTest, AnEnemyGroupEnteringTakesTheCityAndStandsAtTheGate) {
    TUnit* defender = Registered(HeroID);
    const uint32_t defenderID = defender->ID;
    City->AddDefender(0, defender, false);
    TGroup* group = World->AddGroup(Blue, 6, 8);
    TUnit* first = group->AddUnit(Make(SoldierID), true, false);
    TUnit* second = group->AddUnit(Make(SoldierID), true, false);
    const size_t objects = size_t(Scenario().Objects.Count());
    Scenario().BeginTurnOf(Red); // the current player watches the city screen
    City->EnterGroup(*group);
    EXPECT_EQ(Scenario().InCity, 1);
    EXPECT_EQ(City->Owner, Blue);
    EXPECT_EQ(Scenario().Units.FindByID(defenderID), nullptr);  // red's hero is gone
    EXPECT_EQ(size_t(Scenario().Objects.Count()), objects - 1); // the group left the map
    EXPECT_EQ(City->GateGroup->OwnerIndex, Blue);
    EXPECT_EQ(City->GateGroup->UnitCount(), 2);
    for (TUnit* unit : {first, second}) {
        EXPECT_EQ(PlaceOf(unit), cpGateGroup);
        EXPECT_EQ(unit->Marker, Blue);
        EXPECT_EQ(unit->Effective.Value(ACTIONPOINTS), 10 - 3); // the city's entry cost
    }
    EXPECT_EQ(Player(Red).Selection, City->GateGroup.get());

    City->PrepareLeave();
    EXPECT_EQ(Scenario().InCity, 0);
    EXPECT_EQ(City->GateGroup->OwnerIndex, Red); // the current player's
    EXPECT_EQ(Player(Red).Selection, City);
    City->Deselect(); // whoever stayed at the gate goes to the other units
    EXPECT_EQ(PlaceOf(first), cpOtherUnits);
    EXPECT_EQ(PlaceOf(second), cpOtherUnits);
}

TEST_F(CityTest, DroppedRowsSendTheirDefendersToTheOtherUnits) {
    TUnit* first = Registered(SoldierID);
    TUnit* second = Registered(SoldierID);
    City->AddDefender(0, first, false);
    City->AddDefender(1, second, false);
    City->SetRowCount(1);
    EXPECT_EQ(City->DefenderPlaceCount(), 3);
    EXPECT_EQ(PlaceOf(first), cpDefenders);
    EXPECT_EQ(PlaceOf(second), cpOtherUnits);
    City->SetRowCount(3);
    EXPECT_EQ(City->DefenderPlaceCount(), 9);
    EXPECT_EQ(City->DefenderAt(8), nullptr);
}

TEST_F(CityTest, DisheartenedDefendersLeaveTheRowsAtTheOwnersTurn) {
    TUnit* brave = Registered(SoldierID);
    TUnit* gloomy = Registered(SoldierID);
    City->AddDefender(0, gloomy, false);
    City->AddDefender(0, brave, false);
    gloomy->ChangeMorale(-40); // 10; the turn's drift brings it no nearer than 29
    brave->AddActionPoints(-6);
    City->NewTurn();
    EXPECT_EQ(PlaceOf(gloomy), cpOtherUnits);
    EXPECT_EQ(City->DefenderAt(0), brave);
    EXPECT_EQ(brave->Effective.Value(ACTIONPOINTS), 10);
}

TEST_F(CityTest, TheNameShowsTheFirstRowOfDefenders) {
    City->Update();
    EXPECT_EQ(City->Name, "Tinyburg");
    City->AddDefender(1, Registered(HeroID), false);
    City->AddDefender(1, Registered(SoldierID), false);
    City->Update();
    EXPECT_EQ(City->Name, "Tinyburg\nDefenders: Hero (1), Soldier (1)");
}

TEST_F(CityTest, OtherUnitsSortByPlayerThenStrength) {
    TUnit* weak = Registered(SoldierID);
    TUnit* strong = Registered(SoldierID);
    TUnit* blue = Registered(SoldierID, Blue);
    strong->Own.Value(DEFENCE) = 11;
    strong->RecalculateStats(false);
    for (TUnit* unit : {blue, strong, weak})
        City->AddOtherUnit(unit, false);
    City->SortOtherUnits();
    EXPECT_EQ(City->OtherUnits[0], blue);
    EXPECT_EQ(City->OtherUnits[1], weak);
    EXPECT_EQ(City->OtherUnits[2], strong);
}

TEST_F(CityTest, LocationsCoverTheirFootprintAndAreLeftByTheNearestExit) {
    EXPECT_EQ(City->GetBounds(), (RECT{240, 240, 320, 320}));
    EXPECT_TRUE(City->HitTest(279, 319));
    EXPECT_FALSE(City->HitTest(320, 250));
    EXPECT_EQ(Scenario().ObjectIndexAtCell(7, 7), Scenario().IndexOfObject(City));
    int x = -1, y = -1;
    City->NearestExitCell(9, 9, x, y);
    EXPECT_EQ(TPoint(x, y), TPoint(7, 8));
    City->NearestExitCell(0, 0, x, y); // the first of equals wins
    EXPECT_EQ(TPoint(x, y), TPoint(6, 8));
    TBuilding building(&Scenario());
    building.NearestExitCell(0, 0, x, y); // no exit: unchanged
    EXPECT_EQ(TPoint(x, y), TPoint(6, 8));
    EXPECT_EQ(building.GetBounds(), RECT{});
    EXPECT_EQ(building.Name, "Building");
    EXPECT_EQ(building.GetSprite(), nullptr);
    building.Caption = "Mill";
    building.Footprint.AddCell({1, 1});
    building.SightArea.AddCell({1, 2});
    const auto stored = Bytes(building);
    TBuilding loaded(&Scenario());
    ClassLib::TMemoryStream stream(stored);
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(Bytes(loaded), stored);
    EXPECT_EQ(loaded.Name, "Mill"); // the caption names it
    EXPECT_EQ(loaded.Kind, okBuilding);

    TGroup* group = World->AddGroup(Red, 6, 8);
    group->AddUnit(Make(SoldierID), true, false)->AddActionPoints(-6); // 4 left
    EXPECT_EQ(GetLocationEntryCost(*City), 3);
    EXPECT_EQ(GetLocationEntryCost(building), 5);
    EXPECT_EQ(GetLocationEntryCost(*group), 0);
    EXPECT_TRUE(group->AllUnitsCanEnter(*City));
    EXPECT_FALSE(group->AllUnitsCanEnter(building));
    City->EntryCostFlag = 1; // a scripted entry costs as much as a building
    EXPECT_EQ(GetLocationEntryCost(*City), 5);
}

TEST_F(CityTest, GroupsAndCitiesLeavingTheMapGiveUpTheirUnits) {
    TGroup* group = World->AddGroup(Red, 2, 2);
    const uint32_t marching = group->AddUnit(Make(SoldierID), true, false)->ID;
    const uint32_t garrison = City->AddOtherUnit(Make(SoldierID), true, false)->ID;
    City->GateGroup->AddUnit(Make(SoldierID), true, false);
    const size_t units = size_t(Scenario().Units.Count());
    Scenario().BeginTurnOf(Red);
    Player(Red).SelectObject(City->GateGroup.get());

    Scenario().RemoveObject(group, 1);
    EXPECT_EQ(Scenario().Units.FindByID(marching), nullptr);
    Scenario().RemoveObject(City, 0);
    EXPECT_EQ(Scenario().Units.FindByID(garrison), nullptr);
    EXPECT_EQ(size_t(Scenario().Units.Count()), units - 3); // the gate's unit went as well
    EXPECT_EQ(Player(Red).Selection, nullptr);
    for (TUnit* unit : Scenario().Units)
        EXPECT_EQ(unit->Owner, nullptr);
}

TEST_F(CityTest, AStoredCityLoadsBackByteForByte) {
    City->Caption = "Harbour";
    City->LeadingValues = {7, 8};
    City->MusicID = 4;
    City->TrailingValues = {9, 10};
    City->EntryCostFlag = 1;
    City->KeptArea.AddCell({3, 4});
    City->Decorations.Add({1, -5, 6});
    City->AddDefender(1, Registered(SoldierID), false);
    City->AddOtherUnit(Registered(HeroID, Blue), false);
    City->AddCivilian(Registered(SoldierID), false);
    City->Mage.SpellPrices[3] = 40;
    City->Herbalist.Text2 = "Herbs";
    const std::vector<uint8_t> bytes = Bytes(*City);
    const uint32_t next = Scenario().NextObjectID;
    EXPECT_EQ(Bytes(*City), bytes); // saving changes nothing
    EXPECT_EQ(Scenario().NextObjectID, next);

    City->Clear(); // lets the units go
    TCity loaded(&Scenario());
    ClassLib::TMemoryStream stream(bytes);
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(Bytes(loaded), bytes);
    EXPECT_EQ(Scenario().NextObjectID, next); // every merchant kept its identifier
    EXPECT_EQ(loaded.Name, "Harbour");
    EXPECT_EQ(loaded.RowCount, 2);
    EXPECT_EQ(loaded.GateGroup->OwnerIndex, Red);
    EXPECT_EQ(loaded.DefenderAt(3)->GetCity(), &loaded);
}

TEST_F(CityTest, StoredCitiesOutOfRangeAreRefused) {
    City->RowCount = 1;
    City->DefenderSlots.resize(3);
    TUnit* defender = Registered(SoldierID);
    City->AddDefender(0, defender, false);
    const std::vector<uint8_t> good = Bytes(*City);
    City->Clear();
    // The location part: the map object's 12 bytes, the caption, the footprint of four
    // cells, the exit area of two and the empty sight area (16 bytes and 4 a cell).
    const size_t owner = 12 + (4 + 8) + (16 + 16) + (16 + 8) + 16 + 8;
    const size_t rows = owner + 1, others = rows + 12, places = others + 4, firstPlace = places + 4;
    const size_t decorations = firstPlace + 12 + 4 + 8 + 16;
    const size_t innkeeperType = decorations + 8 + 4;
    struct Case {
        size_t Offset;
        uint32_t Value;
        std::string Error;
    };
    const Case cases[] = {
        {rows, 2, "Invalid data."}, // six places named, three stored
        {places, 4, "Invalid data."},
        {places, 0x7FFFFFFF, "Invalid data."},
        {others, 0x40000000, "Invalid data."},
        {firstPlace, 0, "no error"},
        {firstPlace, 31337, "Object with given ID not found (31337)."},
        {innkeeperType, mtMage, "Invalid data."},
        {decorations, 0x7873696C, "Invalid data."}, // the tag reads "lisx"
    };
    ASSERT_EQ(std::string(good.begin() + long(decorations), good.begin() + long(decorations) + 4),
              "list");
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        std::memcpy(&bytes[c.Offset], &c.Value, 4);
        TCity loaded(&Scenario());
        ClassLib::TMemoryStream stream(bytes);
        EXPECT_EQ(ErrorOf([&] { loaded.LoadFromStream(&stream); }), c.Error) << c.Offset;
    }
    // A row with a hole before its second defender.
    City->SetRowCount(1);
    City->SetDefenderSlot(1, defender, false);
    std::vector<uint8_t> holed = Bytes(*City);
    City->Clear();
    TCity loaded(&Scenario());
    ClassLib::TMemoryStream stream(holed);
    EXPECT_EQ(ErrorOf([&] { loaded.LoadFromStream(&stream); }), "Invalid data.");
}

} // namespace
} // namespace CityGroupTests
