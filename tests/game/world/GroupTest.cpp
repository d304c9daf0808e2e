// Groups: composition and its limits, owners and their planners, leaders, camps,
// occupancy, captions and the stored form.
#include "tests/game/world/CityGroupFixture.h"

#include "engine/core/Random.h"

#include <climits>
#include <cstring>

namespace CityGroupTests {
namespace {

using TestSupport::ErrorOf;

class GroupTest : public CityGroupTest {
protected:
    TGroup* RedGroup(std::initializer_list<int> prototypes, bool giveToAI = false) {
        TGroup* group = World->AddGroup(Red, 2, 2);
        for (int id : prototypes)
            group->AddUnit(Make(id), true, giveToAI);
        return group;
    }
};

TEST_F(GroupTest, UnitsFillFromTheFrontHeroesGoFirstAndAFourthIsRefused) {
    TGroup* group = RedGroup({SoldierID, SoldierID});
    TUnit* first = group->UnitAt(0);
    TUnit* second = group->UnitAt(1);
    TUnit* hero = group->AddUnit(Make(HeroID), true, false);
    EXPECT_EQ(group->UnitAt(0), hero); // a hero added last ends in slot 0
    EXPECT_EQ(group->UnitAt(1), first);
    EXPECT_EQ(group->UnitAt(2), second);
    EXPECT_EQ(group->UnitCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(group->UnitAt(i)->GetGroup(), group);

    EXPECT_EQ(group->CanAddUnit(*Make(SoldierID)), gjFull);
    EXPECT_EQ(ErrorOf([&] { group->AddUnit(Make(SoldierID), true, false); }),
              "Maximum number of units in group reached.");
    EXPECT_EQ(group->UnitCount(), 3);
    EXPECT_EQ(Scenario().Units.Count(), 3); // the refused unit never entered the registry

    TGroup* other = RedGroup({HeroID});
    EXPECT_EQ(other->CanAddUnit(*Make(HeroID)), gjSecondHero);
    EXPECT_EQ(other->CanAddUnit(*Make(SoldierID)), gjAllowed);
}

TEST_F(GroupTest, RemovingTheMiddleUnitClosesTheSlots) {
    TGroup* group = RedGroup({SoldierID, BeastID, SoldierID});
    TUnit* a = group->UnitAt(0);
    TUnit* b = group->UnitAt(1);
    TUnit* c = group->UnitAt(2);
    group->SplitMarks = {0, 0, 1};
    std::unique_ptr<TUnit> removed = group->RemoveUnitAt(1, true, false);
    EXPECT_EQ(removed.get(), b);
    EXPECT_EQ(b->Owner, nullptr);
    EXPECT_EQ(Scenario().Units.FindByID(b->ID), nullptr);
    EXPECT_EQ(group->UnitAt(0), a);
    EXPECT_EQ(group->UnitAt(1), c);
    EXPECT_EQ(group->UnitAt(2), nullptr);
    EXPECT_EQ(group->SplitMarks, (std::array<uint8_t, 3>{0, 1, 0})); // marks move with units

    group->RemoveAll(false);
    EXPECT_EQ(group->UnitCount(), 0);
    EXPECT_EQ(a->Owner, nullptr);
    EXPECT_EQ(Scenario().Units.Count(), 2); // kept registered
}

TEST_F(GroupTest, PlannersOfTheOwnerHearOfJoiningLeavingAndOwnerChanges) {
    TGroup* group = RedGroup({SoldierID}, true);
    const std::string id = TLogPlanner::Id(*group->UnitAt(0));
    EXPECT_EQ(Log, (std::vector<std::string>{"Red+" + id}));

    Log.clear();
    group->SetOwner(Blue);
    EXPECT_EQ(Log, (std::vector<std::string>{"Red-" + id, "Blue+" + id}));
    EXPECT_EQ(group->GetOwner(), &Player(Blue));
    EXPECT_EQ(group->UnitAt(0)->GetPlayer(), &Player(Blue));

    Log.clear();
    group->SetOwner(Blue); // unchanged: nobody hears of it
    group->AddUnit(Make(SoldierID), true, false);
    EXPECT_TRUE(Log.empty());

    group->RemoveUnitAt(0, false, true);
    EXPECT_EQ(Log, (std::vector<std::string>{"Blue-" + id}));

    Log.clear();
    group->SetOwner(NoOwner); // no owner has no planner
    EXPECT_EQ(Log.size(), 1u);
    EXPECT_EQ(group->GetOwner(), nullptr);
}

TEST_F(GroupTest, MergingCountsOnlyTheUnitsThatStay) {
    struct Case {
        std::initializer_list<int> Own;
        std::array<uint8_t, 3> Marks;
        std::initializer_list<int> Other;
        int Expected;
    };
    const Case cases[] = {
        {{SoldierID, SoldierID, SoldierID}, {0, 0, 1}, {SoldierID}, gjAllowed},
        {{SoldierID, SoldierID, SoldierID}, {0, 0, 0}, {SoldierID}, gjFull},
        {{SoldierID, SoldierID, SoldierID}, {1, 1, 1}, {SoldierID}, gjFull}, // all marked: no split
        {{HeroID, SoldierID}, {0, 0, 0}, {HeroID}, gjSecondHero},
        {{HeroID, SoldierID}, {1, 0, 0}, {HeroID}, gjAllowed}, // the hero splits off
    };
    for (const Case& c : cases) {
        TGroup* own = RedGroup(c.Own);
        own->SplitMarks = c.Marks;
        TGroup* other = RedGroup(c.Other);
        EXPECT_EQ(own->CanMerge(*other), c.Expected) << int(&c - cases);
    }
}

TEST_F(GroupTest, TheLeaderIsTheLastHeroOrTheLastLivingUnit) {
    TGroup* group = RedGroup({SoldierID, SoldierID});
    EXPECT_EQ(group->GetLeader(), group->UnitAt(0));
    group->UnitAt(0)->Own.Value(HITPOINTS) = 0;
    group->UnitAt(0)->RecalculateStats(false);
    EXPECT_EQ(group->GetLeader(), group->UnitAt(1));
    TUnit* hero = group->AddUnit(Make(HeroID), true, false);
    EXPECT_EQ(group->GetLeader(), hero);

    TGroup* empty = RedGroup({});
    EXPECT_EQ(empty->GetLeader(), nullptr);
    EXPECT_EQ(empty->GetSprite(), nullptr);
    EXPECT_EQ(empty->LowestHitPoints(), INT_MAX);
    EXPECT_EQ(empty->LowestActionPoints(), -1);
    EXPECT_TRUE(empty->AllUnitsDead());
}

TEST_F(GroupTest, MovingMeasuresSkipUnitsMarkedToSplitOff) {
    TGroup* group = RedGroup({SoldierID, SoldierID, HeroID});
    group->UnitAt(1)->AddActionPoints(-4);
    group->UnitAt(2)->AddMana(-5);
    EXPECT_EQ(group->LowestActionPoints(), 6);
    EXPECT_EQ(group->MovingMana(), 55);
    group->SplitMarks = {0, 1, 0};
    EXPECT_EQ(group->LowestActionPoints(), 10);
    EXPECT_EQ(group->MovingMaxHitPoints(), 60);
    EXPECT_EQ(group->TotalHitPoints(), 90);
    EXPECT_EQ(group->GroupSight(), 3);
    group->Deselect();
    EXPECT_EQ(group->SplitMarks, (std::array<uint8_t, 3>{}));
}

TEST_F(GroupTest, CampStyleFollowsTheCreaturesOrTheGamesState) {
    TGroup* beasts = RedGroup({SoldierID, BeastID});
    EXPECT_EQ(beasts->CampStyle, 4);

    Base::TRandomSeed expected = Base::RandomSeed;
    TGroup* soldiers = RedGroup({SoldierID});
    EXPECT_EQ(soldiers->CampStyle, int32_t(Base::NextRandom(expected) % 4));
    EXPECT_EQ(Base::RandomSeed.Low, expected.Low);
    EXPECT_EQ(Base::RandomSeed.High, expected.High);

    soldiers->CampState = csPitched; // a camped group keeps its tents
    const int32_t style = soldiers->CampStyle;
    soldiers->AddUnit(Make(BeastID), true, false);
    EXPECT_EQ(soldiers->CampStyle, style);
}

TEST_F(GroupTest, CampsCoverThreeByThreeCellsOnTheMapAndInTheOccupancyGrid) {
    TGroup* group = RedGroup({SoldierID});
    EXPECT_EQ(group->GetBounds(), (RECT{80, 80, 121, 121}));
    group->CampState = csPitched;
    EXPECT_EQ(group->GetBounds(), (RECT{40, 40, 161, 161}));
    EXPECT_EQ(group->GetMarkerBounds(), group->GetBounds());

    TGroup* enemy = World->AddGroup(Blue, 9, 9);
    enemy->AddUnit(Make(SoldierID), true, false);
    Scenario().BeginTurnOf(Red);
    const auto at = [&](int x, int y) {
        return Scenario().Occupancy[size_t(Scenario().CellIndex(x, y))];
    };
    for (int y = 1; y <= 3; ++y)
        for (int x = 1; x <= 3; ++x)
            EXPECT_EQ(at(x, y), group) << x << "," << y;
    EXPECT_EQ(at(4, 2), nullptr);
    EXPECT_EQ(at(9, 9), nullptr); // not seen by red
    enemy->Spotted = 1;
    Scenario().RebuildOccupancyGrid();
    EXPECT_EQ(at(9, 9), enemy);

    EXPECT_TRUE(group->IsCellTaken(2, 2)); // a camped group counts itself
    EXPECT_FALSE(enemy->IsCellTaken(9, 9));
    EXPECT_TRUE(group->IsCellOpenFor(1, 1));
    EXPECT_FALSE(group->IsCellOpenFor(9, 9));
    EXPECT_TRUE(group->IsCellOpenFor(5, 5));
}

TEST_F(GroupTest, TheCaptionSaysWhoseGroupItIsToTheViewingPlayer) {
    TGroup* own = RedGroup({SoldierID, HeroID});
    TGroup* enemy = World->AddGroup(Blue, 8, 8);
    enemy->AddUnit(Make(BeastID), true, false);
    TGroup* neutral = World->AddGroup(Green, 5, 8);
    TGroup* stray = World->AddGroup(NoOwner, 5, 5);
    Scenario().BeginTurnOf(Red);
    for (TGroup* group : {own, enemy, neutral, stray})
        group->Tick();
    EXPECT_EQ(own->Name, "Your group:\nHero (1), Soldier (1)");
    EXPECT_EQ(enemy->Name, "Enemy group:\nBeast (1)");
    EXPECT_EQ(neutral->Name, "Neutral group:\n");
    EXPECT_EQ(stray->Name, "Group:\n");
}

TEST_F(GroupTest, EnteringACityIsReportedToEveryOtherPlayer) {
    TGroup* group = RedGroup({SoldierID, SoldierID});
    TCity* city = World->AddCity(Blue, 6, 6);
    group->ReportEnteredCity(*city);
    EXPECT_EQ(Player(Red).SightingCount(), 0);
    for (int p : {Blue, Green}) {
        ASSERT_EQ(Player(p).SightingCount(), 2);
        const TSighting s = Player(p).GetSighting(1);
        EXPECT_EQ(s.Kind, skUnitEnteredCity);
        EXPECT_EQ(s.CellX, 2);
        EXPECT_EQ(s.UnitID, group->UnitAt(1)->ID);
        EXPECT_EQ(s.Extra, city->ID);
    }
}

TEST_F(GroupTest, AStoredGroupLoadsBackByteForByte) {
    TGroup* group = RedGroup({SoldierID, HeroID});
    group->Facing = 5;
    group->Ticks = 77;
    group->AnimState = asWalk;
    group->TargetX = 9;
    group->PathIndex = 12;
    group->KeptByte = 3;
    group->BlockedY = -4;
    group->CampState = csPacking;
    group->CampStyle = 2;
    const std::vector<uint8_t> bytes = Bytes(*group);
    const std::vector<uint32_t> ids{group->UnitAt(0)->ID, group->UnitAt(1)->ID};
    group->Clear(); // lets the units go

    TGroup loaded(&Scenario());
    ClassLib::TMemoryStream stream(bytes);
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(Bytes(loaded), bytes);
    EXPECT_EQ(loaded.UnitAt(0)->ID, ids[0]);
    EXPECT_EQ(loaded.UnitAt(1)->GetGroup(), &loaded);
    EXPECT_EQ(loaded.PixelsPerStep, 4);
}

TEST_F(GroupTest, StoredGroupsOutOfRangeAreRefused) {
    TGroup* group = RedGroup({SoldierID});
    const std::vector<uint8_t> good = Bytes(*group);
    const uint32_t unitID = group->UnitAt(0)->ID;
    group->Clear();
    constexpr size_t CountAt = 14, FirstIDAt = 18, PathIndexAt = 53;
    struct Case {
        size_t Offset;
        uint32_t Value;
        int Width;
        std::string Error;
    };
    const Case cases[] = {
        {CountAt, 4, 4, "Invalid data."},
        {CountAt, 0xFFFFFFFF, 4, "Invalid data."},
        {FirstIDAt, 4242, 4, "Object with given ID not found (4242)."},
        {FirstIDAt, 0, 4, "Invalid data."},
        {PathIndexAt, 256, 2, "Invalid data."},
        {PathIndexAt, 0xFFFF, 2, "Invalid data."},
        {PathIndexAt, 255, 2, "no error"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = good;
        std::memcpy(&bytes[c.Offset], &c.Value, size_t(c.Width));
        TGroup loaded(&Scenario());
        ClassLib::TMemoryStream stream(bytes);
        EXPECT_EQ(ErrorOf([&] { loaded.LoadFromStream(&stream); }), c.Error) << c.Offset;
    }
    // A unit already standing in another group cannot stand in this one too.
    TGroup holder(&Scenario());
    holder.AddUnit(Scenario().Units.FindByID(unitID), false);
    TGroup loaded(&Scenario());
    ClassLib::TMemoryStream stream(good);
    EXPECT_EQ(ErrorOf([&] { loaded.LoadFromStream(&stream); }), "Invalid data.");
    std::vector<uint8_t> cut(good.begin(), good.end() - 3);
    ClassLib::TMemoryStream shortStream(cut);
    EXPECT_NE(ErrorOf([&] { TGroup(&Scenario()).LoadFromStream(&shortStream); }), "no error");
}

} // namespace
} // namespace CityGroupTests
