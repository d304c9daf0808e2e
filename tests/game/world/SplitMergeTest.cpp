// Splitting and merging groups on the map: every unit stays in exactly one group.
#include "tests/game/world/CityGroupFixture.h"

namespace CityGroupTests {
namespace {

class SplitMergeTest : public CityGroupTest {
protected:
    static constexpr int WalkerID = 4; // ACTIONPOINTS 100

    SplitMergeTest() {
        Data2::TUnitPrototype& walker = Data.AddUnitPrototype(WalkerID, "Walker");
        TestSupport::SetStat(walker.Stats, ACTIONPOINTS, 100);
        TestSupport::SetStat(walker.Stats, HITPOINTS, 30);
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
        Scenario().BeginTurnOf(Red);
    }

    TGroup* Group(int x, int y, std::initializer_list<int> prototypes) {
        TGroup* group = World->AddGroup(Red, x, y);
        for (int id : prototypes)
            group->AddUnit(Make(id), true, false);
        return group;
    }

    int32_t RunUntilReport() {
        for (int i = 0; i < 5000; ++i) {
            Scenario().Update();
            const TPlayerAction action = Player(Red).TakeAction();
            if (action.Code == acReport)
                return int32_t(action.P[0]);
        }
        return -1;
    }

    // Every registered unit stands in exactly one group on the map, which holds it.
    void ExpectEveryUnitInOneGroup() {
        for (TUnit* unit : Scenario().Units) {
            int holders = 0;
            for (TMapObject* object : Scenario().Objects)
                if (object->Kind == okGroup && static_cast<TGroup*>(object)->FindUnitByID(unit->ID))
                    ++holders;
            EXPECT_EQ(holders, 1) << unit->ID;
            ASSERT_NE(unit->GetGroup(), nullptr);
            EXPECT_EQ(unit->GetGroup()->FindUnitByID(unit->ID), unit);
            EXPECT_GE(Scenario().IndexOfObject(unit->GetGroup()), 0);
        }
    }
};

TEST_F(SplitMergeTest, TheMarkedUnitStaysBehindAndTheRestWalksOn) {
    TGroup* group = Group(2, 2, {WalkerID, WalkerID, WalkerID});
    TUnit* a = group->UnitAt(0);
    TUnit* marked = group->UnitAt(1);
    TUnit* c = group->UnitAt(2);
    group->SplitMarks = {0, 1, 0};
    const int before = Scenario().Objects.Count();
    group->MoveTo(3, 2, true, 0);
    ASSERT_EQ(Scenario().Objects.Count(), before + 1);
    TGroup* stayed = marked->GetGroup();
    ASSERT_NE(stayed, group);
    EXPECT_EQ(stayed->UnitCount(), 1);
    EXPECT_EQ(stayed->X, 2 * CellSize + HalfCell);
    EXPECT_EQ(stayed->OwnerIndex, Red);
    EXPECT_EQ(group->UnitAt(0), a);
    EXPECT_EQ(group->UnitAt(1), c);
    EXPECT_EQ(group->UnitCount(), 2);
    EXPECT_EQ(group->SplitMarks, (std::array<uint8_t, 3>{}));
    ExpectEveryUnitInOneGroup();

    EXPECT_EQ(RunUntilReport(), arDone);
    EXPECT_EQ(group->X, 3 * CellSize + HalfCell);
    EXPECT_EQ(stayed->X, 2 * CellSize + HalfCell);
    ExpectEveryUnitInOneGroup();
}

TEST_F(SplitMergeTest, AGroupWalkingOntoAnotherTakesItsUnitsAfterThem) {
    TGroup* mover = Group(2, 2, {WalkerID, WalkerID});
    TGroup* standing = Group(4, 2, {SoldierID});
    TUnit* first = mover->UnitAt(0);
    TUnit* second = mover->UnitAt(1);
    TUnit* joined = standing->UnitAt(0);
    const uint32_t standingID = standing->ID;
    mover->MoveToGroup(standing, 0, true);
    EXPECT_EQ(RunUntilReport(), arDone);
    EXPECT_EQ(Scenario().FindObjectByID(standingID), nullptr); // off the map, deleted
    EXPECT_EQ(mover->UnitAt(0), joined);
    EXPECT_EQ(mover->UnitAt(1), first);
    EXPECT_EQ(mover->UnitAt(2), second);
    EXPECT_EQ(mover->X, 4 * CellSize + HalfCell);
    ExpectEveryUnitInOneGroup();
}

TEST_F(SplitMergeTest, MergesAtOnceOnTheSameCellAndNeverPastThreeUnits) {
    TGroup* a = Group(2, 2, {SoldierID, SoldierID});
    TGroup* b = Group(2, 2, {BeastID, SoldierID});
    a->MergeWith(b); // four units: nothing happens
    EXPECT_EQ(a->UnitCount(), 2);
    EXPECT_EQ(b->UnitCount(), 2);
    EXPECT_GE(Scenario().IndexOfObject(b), 0);
    ExpectEveryUnitInOneGroup();

    TGroup* c = Group(2, 2, {HeroID});
    const uint32_t cID = c->ID;
    c->CampState = csPitched;
    c->CampStyle = 3;
    a->MoveToGroup(c, 0, true);
    EXPECT_EQ(Player(Red).TakeAction().P[0], uint32_t(arDone));
    EXPECT_EQ(a->UnitCount(), 3);
    EXPECT_TRUE(a->UnitAt(0)->IsHero);
    EXPECT_EQ(a->CampState, csPitched);
    EXPECT_EQ(a->CampStyle, 3);
    Scenario().Update(); // the merged-away group is deleted after the update
    EXPECT_EQ(Scenario().FindObjectByID(cID), nullptr);
    ExpectEveryUnitInOneGroup();
}

} // namespace
} // namespace CityGroupTests
