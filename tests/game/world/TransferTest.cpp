// Units carried between levels: only the living, refreshed; the scenario's waiting
// and required units; the stored form with both flags of every unit.
#include "game/world/scenario/Transfer.h"
#include "tests/game/world/CityGroupFixture.h"
#include "tests/support/StateDigest.h"

namespace CityGroupTests {
namespace {

using TestSupport::ErrorOf;
using TestSupport::LoadedScenario;
using TestSupport::SavedBytes;

class TransferTest : public CityGroupTest {
protected:
    TransferTest() {
        Group = World->AddGroup(Red, 2, 2);
        Alive = Group->AddUnit(Make(SoldierID), true, false);
        Fallen = Group->AddUnit(Make(HeroID), true, false);
        Enemy = World->AddGroup(Blue, 9, 9)->AddUnit(Make(BeastID), true, false);
        Loose = Scenario().RegisterUnit(Make(BeastID), true);
        Scenario().LooseUnits.Add(Loose);
    }

    TGroup* Group;
    TUnit* Alive;
    TUnit* Fallen;
    TUnit* Enemy;
    TUnit* Loose;
    TTransfer Transfer;
};

TEST_F(TransferTest, OnlyLivingUnitsOfThePlayerGoAndTheyGoRefreshed) {
    Alive->AddHitPoints(-25);
    Alive->AddMana(-20);
    Alive->ChangeMorale(-40);
    Fallen->AddHitPoints(-1000);
    ASSERT_TRUE(Fallen->IsDead());
    const uint32_t aliveID = Alive->ID;

    Transfer.TakePlayerUnits(Scenario(), Red);

    ASSERT_EQ(Transfer.Available.Count(), 1);
    TUnit* carried = Transfer.Available[0];
    EXPECT_EQ(carried->ID, aliveID);
    EXPECT_EQ(carried->Owner, nullptr);
    EXPECT_EQ(carried->Effective.Value(HITPOINTS), 30);
    EXPECT_EQ(carried->Effective.Value(MANA), 20);
    EXPECT_EQ(carried->Effective.Morale(), Data.Global().GameConstants[Data2::gcDefaultMorale]);
    EXPECT_EQ(Scenario().Units.FindByID(aliveID), nullptr);
    // The fallen hero stays behind, as dead as it was; the enemy is untouched.
    EXPECT_EQ(Scenario().Units.FindByID(Fallen->ID), Fallen);
    EXPECT_TRUE(Fallen->IsDead());
    EXPECT_EQ(Scenario().Units.FindByID(Enemy->ID), Enemy);
}

TEST_F(TransferTest, WaitingAndRequiredUnitsAreMarked) {
    Scenario().WaitingUnitIDs.Add(Loose->ID);
    Scenario().WaitingUnitIDs.Add(Enemy->ID); // not loose: skipped
    Scenario().WaitingUnitIDs.Add(424242);    // names nothing: skipped
    Scenario().RequiredUnitIDs.Add(Loose->ID);
    const uint32_t looseID = Loose->ID;

    Transfer.TakePlayerUnits(Scenario(), Red);
    Transfer.TakeWaitingUnits(Scenario());
    EXPECT_EQ(Scenario().LooseUnits.Count(), 0);
    ASSERT_EQ(Transfer.Available.Count(), 3);
    EXPECT_EQ(Transfer.Available[2]->FromScenario, 1);

    Transfer.PreselectRequiredUnits(Scenario());
    ASSERT_EQ(Transfer.Transferred.Count(), 1);
    EXPECT_EQ(Transfer.Transferred[0]->ID, looseID);
    EXPECT_EQ(Transfer.Transferred[0]->Required, 1);
    EXPECT_EQ(Transfer.Available.Count(), 2);
}

TEST_F(TransferTest, TheStoredFormKeepsBothFlagsOfEveryUnit) {
    Scenario().WaitingUnitIDs.Add(Loose->ID);
    Scenario().RequiredUnitIDs.Add(Loose->ID);
    Transfer.TakePlayerUnits(Scenario(), Red);
    Transfer.TakeWaitingUnits(Scenario());
    Transfer.PreselectRequiredUnits(Scenario());
    Transfer.MoveToTransferred(Transfer.Available[0]);

    ClassLib::TMemoryStream stream;
    Transfer.SaveToStream(&stream);
    TTransfer loaded;
    ClassLib::TMemoryStream input(stream.Bytes());
    loaded.LoadFromStream(&input);
    ASSERT_EQ(loaded.Transferred.Count(), 2);
    EXPECT_EQ(loaded.Transferred[0]->Required, 1);
    EXPECT_EQ(loaded.Transferred[0]->FromScenario, 1);
    EXPECT_EQ(loaded.Available.Count(), Transfer.Available.Count());
    ClassLib::TMemoryStream again;
    loaded.SaveToStream(&again);
    EXPECT_EQ(again.Bytes(), stream.Bytes());

    // The flags end the record: a flag above 1 and a short count are refused.
    std::vector<uint8_t> bytes = stream.Bytes();
    bytes[bytes.size() - 1] = 2;
    ClassLib::TMemoryStream badFlag(bytes);
    EXPECT_EQ(ErrorOf([&] { TTransfer().LoadFromStream(&badFlag); }), "Invalid data.");
    bytes = stream.Bytes();
    const size_t countOffset = bytes.size() - 2 * size_t(3) - 4;
    bytes[countOffset] = 2;
    ClassLib::TMemoryStream badCount(bytes);
    EXPECT_EQ(ErrorOf([&] { TTransfer().LoadFromStream(&badCount); }), "Invalid data.");
}

TEST_F(TransferTest, UnitsLeaveTheirTownsAndTheOldScenarioStillLoads) {
    TCity* city = World->AddCity(Red, 6, 6);
    TUnit* defender = Registered(SoldierID);
    city->AddDefender(0, defender, false);
    TUnit* garrison = city->AddOtherUnit(Make(HeroID), true, false);
    city->GateGroup->AddUnit(Make(SoldierID), true, false);
    TUnit* atGate = city->GateGroup->UnitAt(0);
    const std::vector<uint32_t> townIDs{defender->ID, garrison->ID, atGate->ID};

    Transfer.TakePlayerUnits(Scenario(), Red);

    EXPECT_EQ(Transfer.Available.Count(), 5); // with the two of the group
    for (uint32_t id : townIDs) {
        SCOPED_TRACE(id);
        EXPECT_NE(Transfer.Available.FindByID(id), nullptr);
        EXPECT_EQ(Scenario().Units.FindByID(id), nullptr);
    }
    EXPECT_FALSE(city->HasDefenders());
    EXPECT_EQ(city->OtherUnits.Count(), 0);
    EXPECT_EQ(city->GateGroup->UnitCount(), 0);
    EXPECT_GE(Scenario().IndexOfObject(city), 0);
    // The scenario left behind is whole: it saves and loads.
    const std::vector<uint8_t> bytes = SavedBytes(Scenario());
    const auto loaded = LoadedScenario(bytes);
    EXPECT_EQ(loaded->Units.Count(), Scenario().Units.Count());
}

TEST_F(TransferTest, ChosenUnitsJoinThePlayersArmyOnItsStartArea) {
    Scenario().RequiredUnitIDs.Add(Alive->ID);
    Transfer.TakePlayerUnits(Scenario(), Red);
    Transfer.PreselectRequiredUnits(Scenario());
    TUnit* carried = Transfer.Transferred[0];
    // A unit of the earlier scenario whose identifier the next one already uses.
    auto clash = Make(SoldierID);
    clash->ID = Enemy->ID;
    TUnit* clashing = clash.get();
    Transfer.Transferred.List().Add(clash.release());
    Transfer.Available.List().Add(Make(BeastID).release()); // not chosen
    carried->ID = 5000;
    const uint32_t carriedID = carried->ID;

    // The start area: one cell taken by a group of the player, one free cell.
    TGroup* waiting = World->AddGroup(Red, 4, 4);
    waiting->AddUnit(Make(SoldierID), true, false);
    Player(Red).Area.AddCell({4, 4});
    Player(Red).Area.AddCell({5, 4});
    Transfer.PlaceTransferredUnits(Scenario(), Red);

    EXPECT_EQ(Transfer.Transferred.Count(), 0);
    EXPECT_EQ(Transfer.Available.Count(), 0);
    EXPECT_EQ(waiting->UnitCount(), 1) << "no group of the start area is joined";
    ASSERT_EQ(Scenario().Units.FindByID(carriedID), carried);
    EXPECT_EQ(carried->GetGroup()->X / CellSize, 5);
    EXPECT_EQ(carried->GetGroup()->OwnerIndex, Red);
    ASSERT_NE(clashing->GetGroup(), nullptr) << "the full area sends it to the nearest free cell";
    EXPECT_NE(clashing->ID, Enemy->ID) << "a new identifier rather than two units of one";
    EXPECT_EQ(Scenario().Units.FindByID(Enemy->ID), Enemy);
    EXPECT_GT(Scenario().NewObjectID(), carriedID) << "later identifiers come above it";

    TTransfer nowhere;
    nowhere.Transferred.List().Add(Make(SoldierID).release());
    EXPECT_EQ(ErrorOf([&] { nowhere.PlaceTransferredUnits(Scenario(), 7); }),
              "No player at index 7.");
    EXPECT_EQ(nowhere.Transferred.Count(), 1) << "nothing is lost";
}

} // namespace
} // namespace CityGroupTests
