// Groups walking on their orders in the tiny world: cell by cell at the settings'
// speed, paying action points, and stopping with the report that says why.
#include "engine/sound/SoundStartup.h"
#include "game/world/orders/MovementSpeed.h"
#include "game/world/scenario/GameSettings.h"
#include "tests/engine/sound/SoundFrameworkFixture.h"
#include "tests/game/world/CityGroupFixture.h"

#include <map>
#include <tuple>

namespace CityGroupTests {
namespace {

constexpr int WalkerID = 4; // ACTIONPOINTS 100, SIGHT 3

class GroupMovementTest : public CityGroupTest {
protected:
    GroupMovementTest() {
        Data2::TUnitPrototype& walker = Data.AddUnitPrototype(WalkerID, "Walker");
        TestSupport::SetStat(walker.Stats, HITPOINTS, 30);
        TestSupport::SetStat(walker.Stats, MANA, 20);
        TestSupport::SetStat(walker.Stats, ACTIONPOINTS, 100);
        TestSupport::SetStat(walker.Stats, SIGHT, 3);
        Data.SetConstant(Data2::gcSightDistanceScale, 1);
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
        Scenario().BeginTurnOf(Red);
    }

    // A world of its own for each case: three players, green a person at this machine.
    static TestSupport::TTinyWorldOptions LocalGreen() {
        TestSupport::TTinyWorldOptions options;
        options.ThirdPlayerType = ptLocal;
        return options;
    }

    TGroup* Group(uint8_t owner, int x, int y, int units = 1) {
        TGroup* group = World->AddGroup(owner, x, y);
        for (int i = 0; i < units; ++i)
            group->AddUnit(Make(WalkerID), true, false);
        Scenario().UpdateAllVisibility();
        Player(owner).ResetFlags();
        return group;
    }

    // Updates until the owner gets a report; the report, or -1 after the limit.
    int32_t RunUntilReport(TPlayer& owner, int limit = 5000,
                           const std::function<void()>& eachUpdate = {}) {
        for (int i = 0; i < limit; ++i) {
            Scenario().Update();
            if (eachUpdate)
                eachUpdate();
            const TPlayerAction action = owner.TakeAction();
            if (action.Code == acReport)
                return int32_t(action.P[0]);
        }
        return -1;
    }

    // The report the order itself posted, or -1 when it posted none.
    int32_t ImmediateReport(TPlayer& owner) {
        const TPlayerAction action = owner.TakeAction();
        return action.Code == acReport ? int32_t(action.P[0]) : -1;
    }

    static TPoint CellOf(const TGroup& group) { return {group.X / CellSize, group.Y / CellSize}; }
};

TEST(MovementSpeedTest, TicksPerStepFollowTheSpeedTable) {
    const std::map<int32_t, int16_t> expected = {{-1, 7}, {0, 7}, {1, 5}, {2, 4}, {3, 2}, {4, 2}};
    for (const auto& [option, ticks] : expected)
        EXPECT_EQ(TicksPerStepForSpeed(option), ticks) << option;
}

TEST_F(GroupMovementTest, WalksCellByCellAtTheSettingsSpeedPayingEachStep) {
    for (int32_t speed : {0, 2, 3}) {
        SCOPED_TRACE(speed);
        const TSpeedSettings settings(speed);
        Scenario().Settings = &settings;
        TGroup* group = Group(Red, 1, 2 + speed);
        group->Facing = 2; // already facing east: no turn before the first step
        group->MoveTo(5, 2 + speed, true, 0);
        ASSERT_EQ(group->Activity, gaMove);

        const int ticksPerStep = TicksPerStepForSpeed(speed);
        std::vector<uint32_t> arrivals; // frame counters at cell centres
        std::vector<int32_t> points;
        int lastX = group->X;
        const int32_t report = RunUntilReport(Player(Red), 5000, [&] {
            // Never more than one position step at a time, never backwards.
            EXPECT_TRUE(group->X == lastX || group->X == lastX + NormalPixelsPerStep);
            if (group->X != lastX && group->X % CellSize == HalfCell) {
                arrivals.push_back(Scenario().FrameCounter);
                points.push_back(group->LowestActionPoints());
            }
            lastX = group->X;
            EXPECT_EQ(group->Y, (2 + speed) * CellSize + HalfCell);
        });
        EXPECT_EQ(report, arDone);
        EXPECT_EQ(CellOf(*group), (TPoint{5, 2 + speed}));
        EXPECT_EQ(points, (std::vector<int32_t>{80, 60, 40, 20}));
        ASSERT_EQ(arrivals.size(), 4u);
        for (size_t i = 1; i < arrivals.size(); ++i)
            EXPECT_EQ(arrivals[i] - arrivals[i - 1], uint32_t(10 * ticksPerStep));
        Scenario().Settings = nullptr;
    }
}

TEST_F(GroupMovementTest, WithoutSettingsGroupsWalkAtTheDefaultSpeed) {
    TGroup* group = Group(Red, 1, 2);
    group->MoveTo(3, 2, true, 0);
    EXPECT_EQ(RunUntilReport(Player(Red)), arDone);
    EXPECT_EQ(group->TicksPerStep, TicksPerStepForSpeed(TGameSettings::DefaultMovementSpeed));
    EXPECT_EQ(group->PixelsPerStep, NormalPixelsPerStep);
}

TEST_F(GroupMovementTest, AnEnemyOutOfTheViewersSightCrossesACellInOneUpdate) {
    TGroup* red = Group(Red, 1, 1);
    (void)red;
    TGroup* enemy = Group(Blue, 10, 10);
    enemy->Facing = 4; // north
    enemy->MoveTo(10, 8, true, 0);
    int moves = 0;
    int lastY = enemy->Y;
    EXPECT_EQ(RunUntilReport(Player(Blue), 5000,
                             [&] {
                                 if (enemy->Y != lastY) {
                                     EXPECT_EQ(lastY - enemy->Y, CellSize);
                                     ++moves;
                                 }
                                 lastY = enemy->Y;
                             }),
              arDone);
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(enemy->TicksPerStep, 1);
}

TEST_F(GroupMovementTest, StopsWithTheReportThatSaysWhy) {
    struct Case {
        const char* Name;
        int32_t Points;    // action points the walker keeps
        bool FriendOnPath; // a red group on (4, 2)
        int TargetX;
        int32_t Report;
        int StopX; // where the group stands afterwards
        int32_t PointsLeft;
    };
    const Case cases[] = {
        {"arrives", 100, false, 4, arDone, 4, 40},
        {"points run out on the way", 50, false, 7, arNoActionPoints, 3, 10},
        {"first cell unaffordable", 10, false, 4, arNoActionPoints, 1, 10},
        {"friend in the way at the points' end", 50, true, 7, arNoActionPoints, 2, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        World = std::make_unique<TestSupport::TTinyWorld>(LocalGreen());
        Scenario().BeginTurnOf(Red);
        TGroup* group = Group(Red, 1, 2);
        group->Facing = 2;
        group->UnitAt(0)->AddActionPoints(c.Points - 100);
        if (c.FriendOnPath)
            Group(Red, 3, 2);
        group->MoveTo(c.TargetX, 2, true, 0);
        int32_t report = ImmediateReport(Player(Red));
        if (report < 0)
            report = RunUntilReport(Player(Red));
        EXPECT_EQ(report, c.Report);
        EXPECT_EQ(CellOf(*group), (TPoint{c.StopX, 2}));
        EXPECT_EQ(group->LowestActionPoints(), c.PointsLeft);
        EXPECT_EQ(group->AnimState, asIdle);
        EXPECT_EQ(Player(Red).Blocked, c.Report == arNoActionPoints ? 1 : 0);
    }
}

TEST_F(GroupMovementTest, SpottingAnEnemyStopsTheWalkOnTheNextFreeCell) {
    TGroup* group = Group(Red, 1, 2);
    group->Facing = 2;
    Group(Blue, 4, 4);
    ASSERT_FALSE(Player(Red).IsCellVisible(4, 4));
    group->MoveTo(6, 2, true, 0);
    EXPECT_EQ(RunUntilReport(Player(Red)), arSpotted);
    EXPECT_TRUE(Player(Red).IsCellVisible(4, 4));
    EXPECT_EQ(Player(Red).Spotted, 1);
    EXPECT_LT(CellOf(*group).X, 6); // short of the target
    EXPECT_GT(CellOf(*group).X, 1);
    EXPECT_EQ(group->AnimState, asIdle);
}

} // namespace
} // namespace CityGroupTests

namespace CityGroupTests {
namespace {

TEST_F(GroupMovementTest, OrdersAgainstAGroupOrALocationEndInTheirAction) {
    struct Case {
        const char* Name;
        int Mode; // 1 attack, 2 meet, 3 enter the city
        uint32_t Code;
    };
    const Case cases[] = {
        {"fight", 1, acAttackGroup},
        {"meeting", 2, acReport},
        {"city", 3, acEnterCity},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        World = std::make_unique<TestSupport::TTinyWorld>(LocalGreen());
        Scenario().BeginTurnOf(Red);
        TGroup* group = Group(Red, 1, 2);
        TGroup* other = Group(c.Mode == 2 ? Green : Blue, 3, 2); // in sight from the start
        TCity* city = World->AddCity(Red, 4, 4);
        Player(Red).ResetFlags();
        if (c.Mode == 3)
            group->MoveIntoLocation(city, 0, true);
        else
            group->MoveAgainstGroup(other, c.Mode, true, 0);
        TPlayerAction taken{};
        for (int i = 0; i < 5000 && taken.Code == acNone; ++i) {
            Scenario().Update();
            taken = Player(Red).TakeAction();
        }
        EXPECT_EQ(taken.Code, c.Code);
        if (c.Mode == 1) {
            EXPECT_EQ(taken.P[0], other->ID);
            EXPECT_EQ(group->InBattle, 1);
            EXPECT_EQ(other->InBattle, 1);
            EXPECT_EQ(CellOf(*group), (TPoint{2, 2}));
            EXPECT_EQ(group->Facing, 2);
            EXPECT_EQ(other->Facing, 6); // turned to face the attacker
        } else if (c.Mode == 2) {
            EXPECT_EQ(taken.P[0], uint32_t(arDone));
            EXPECT_EQ(group->Engagement, 0);
            EXPECT_EQ(other->EngagedBy, 0);
        } else {
            EXPECT_EQ(taken.P[0], city->ID);
            EXPECT_TRUE(city->Footprint.ContainsCell(CellOf(*group).X, CellOf(*group).Y));
        }
    }
}

} // namespace
} // namespace CityGroupTests

namespace CityGroupTests {
namespace {

TEST_F(GroupMovementTest, AfterAFightBothSidesTakeOrdersAgain) {
    TGroup* group = Group(Red, 1, 2);
    TGroup* other = Group(Blue, 3, 2);
    Player(Red).ResetFlags();
    group->MoveAgainstGroup(other, 1, true, 0);
    TPlayerAction taken{};
    for (int i = 0; i < 5000 && taken.Code == acNone; ++i) {
        Scenario().Update();
        taken = Player(Red).TakeAction();
    }
    ASSERT_EQ(taken.Code, acAttackGroup);
    group->MoveTo(2, 5, true, 0);
    Scenario().Update();
    EXPECT_EQ(CellOf(*group), (TPoint{2, 2})) << "still fighting: no order is taken";

    // The fight screens end the fight.
    Scenario().ClearBattleFlags(group, other);
    EXPECT_FALSE(group->IsEngaged());
    EXPECT_FALSE(other->IsEngaged());
    group->MoveTo(2, 5, true, 0);
    EXPECT_EQ(RunUntilReport(Player(Red)), arDone);
    EXPECT_EQ(CellOf(*group), (TPoint{2, 5}));
}

TEST_F(GroupMovementTest, AGroupWhoseTargetLeavesTheMapEndsItsWalkAlone) {
    TGroup* group = Group(Red, 1, 2);
    TGroup* other = Group(Red, 5, 2);
    group->MoveToGroup(other, 0, true);
    Scenario().Update();
    Scenario().RemoveObject(other, 1);
    EXPECT_EQ(group->TargetGroup, nullptr);
    EXPECT_EQ(RunUntilReport(Player(Red)), arDone);
    EXPECT_EQ(CellOf(*group), (TPoint{5, 2}));
    EXPECT_EQ(group->UnitCount(), 1);
}

TEST_F(GroupMovementTest, TheGateGroupOfTheSelectedCityLeavesItThroughTheExit) {
    TCity* city = World->AddCity(Red, 6, 6); // exits (6, 8) and (7, 8)
    TGroup* gate = city->GateGroup.get();
    gate->AddUnit(Make(WalkerID), true, false);
    Player(Red).SelectObject(city);
    ASSERT_TRUE(gate->IsSelectedCityGroup());

    gate->MoveTo(7, 10, true, 0);
    EXPECT_EQ(Scenario().IndexOfObject(gate) >= 0, true); // on the map at once
    EXPECT_NE(city->GateGroup.get(), gate);
    EXPECT_EQ(city->GateGroup->UnitCount(), 0);
    EXPECT_EQ(city->GateGroup->OwnerIndex, Red);
    EXPECT_EQ(Player(Red).Selection, gate);
    EXPECT_EQ(CellOf(*gate), (TPoint{7, 8}));
    EXPECT_EQ(RunUntilReport(Player(Red)), arDone);
    EXPECT_EQ(CellOf(*gate), (TPoint{7, 10}));
    EXPECT_EQ(gate->LowestActionPoints(), 100 - 2 * 20);

    // Ordered onto an exit cell, the group only steps out.
    TGroup* next = city->GateGroup.get();
    next->AddUnit(Make(WalkerID), true, false);
    Player(Red).SelectObject(city);
    next->MoveTo(6, 8, true, 0);
    EXPECT_EQ(ImmediateReport(Player(Red)), arDone);
    EXPECT_EQ(CellOf(*next), (TPoint{6, 8}));
    EXPECT_GE(Scenario().IndexOfObject(next), 0);
}

} // namespace
} // namespace CityGroupTests

namespace CityGroupTests {
namespace {

TEST_F(GroupMovementTest, EveryOrderOfTheGateGroupStartsFromTheCity) {
    enum TOrder { ToCell, ToGroup, AgainstGroup, IntoLocation };
    struct Case {
        const char* Name;
        TOrder Order;
        uint32_t Code;
    };
    const Case cases[] = {
        {"to a cell", ToCell, acReport},
        {"onto a group", ToGroup, acReport},
        {"against a group", AgainstGroup, acAttackGroup},
        {"into a location", IntoLocation, acEnterCity},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        World = std::make_unique<TestSupport::TTinyWorld>();
        World->Scenario->AddPlayer(std::make_unique<TPlayer>(World->Scenario.get()));
        Scenario().BeginTurnOf(Red);
        TCity* city = World->AddCity(Red, 6, 6); // exits (6, 8) and (7, 8)
        TCity* other = World->AddCity(Red, 9, 8, "Otherburg");
        TGroup* friendly = Group(Red, 8, 10);
        TGroup* enemy = Group(Blue, 4, 10);
        enemy->Spotted = 1; // seen before: nothing new comes into view on the way
        TGroup* gate = city->GateGroup.get();
        gate->AddUnit(Make(WalkerID), true, false);
        Player(Red).SelectObject(city);
        Player(Red).ResetFlags();
        ASSERT_TRUE(gate->IsSelectedCityGroup());

        switch (c.Order) {
        case ToCell:
            gate->MoveTo(7, 10, true, 0);
            break;
        case ToGroup:
            gate->MoveToGroup(friendly, 0, true);
            break;
        case AgainstGroup:
            gate->MoveAgainstGroup(enemy, 1, true, 0);
            break;
        case IntoLocation:
            gate->MoveIntoLocation(other, 0, true);
            break;
        }
        // Out of the gate at once, onto an exit cell.
        EXPECT_GE(Scenario().IndexOfObject(gate), 0);
        EXPECT_NE(city->GateGroup.get(), gate);
        EXPECT_EQ(city->GateGroup->UnitCount(), 0);
        EXPECT_EQ(Player(Red).Selection, gate);
        EXPECT_TRUE(city->ExitArea.ContainsCell(CellOf(*gate).X, CellOf(*gate).Y));

        TPlayerAction taken{};
        for (int i = 0; i < 5000 && taken.Code == acNone; ++i) {
            Scenario().Update();
            taken = Player(Red).TakeAction();
        }
        EXPECT_EQ(taken.Code, c.Code);
        switch (c.Order) {
        case ToCell:
            EXPECT_EQ(taken.P[0], uint32_t(arDone));
            EXPECT_EQ(CellOf(*gate), (TPoint{7, 10}));
            break;
        case ToGroup:
            EXPECT_EQ(taken.P[0], uint32_t(arDone));
            EXPECT_EQ(gate->UnitCount(), 2);
            EXPECT_EQ(CellOf(*gate), (TPoint{8, 10}));
            break;
        case AgainstGroup:
            EXPECT_EQ(taken.P[0], enemy->ID);
            EXPECT_EQ(gate->InBattle, 1);
            break;
        case IntoLocation:
            EXPECT_EQ(taken.P[0], other->ID);
            EXPECT_TRUE(other->Footprint.ContainsCell(CellOf(*gate).X, CellOf(*gate).Y));
            break;
        }
    }
}

TEST_F(GroupMovementTest, WithoutPointsForTheEntryAGroupStopsInFrontOfTheLocation) {
    // The city covers (4..5, 2..3); it is entered on (4, 2) for 3 points more.
    struct Case {
        const char* Name;
        int StartX;
        int32_t Points;
        uint32_t Code;
        int StopX;
    };
    const Case cases[] = {
        {"points for the way and the entry", 1, 63, acEnterCity, 4},
        {"points for the way only", 1, 61, acReport, 3},
        {"next to it, points for the step only", 3, 21, acReport, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        World = std::make_unique<TestSupport::TTinyWorld>();
        World->Scenario->AddPlayer(std::make_unique<TPlayer>(World->Scenario.get()));
        Scenario().BeginTurnOf(Red);
        TCity* city = World->AddCity(Red, 4, 2);
        TGroup* group = Group(Red, c.StartX, 2);
        group->Facing = 2;
        group->UnitAt(0)->AddActionPoints(c.Points - 100);
        Player(Red).ResetFlags();

        group->MoveIntoLocation(city, 0, true);
        TPlayerAction taken = Player(Red).TakeAction();
        for (int i = 0; i < 5000 && taken.Code == acNone; ++i) {
            Scenario().Update();
            taken = Player(Red).TakeAction();
        }
        EXPECT_EQ(taken.Code, c.Code);
        if (c.Code == acReport) {
            EXPECT_EQ(taken.P[0], uint32_t(arNoActionPoints));
            EXPECT_EQ(Player(Red).Blocked, 1);
        }
        EXPECT_EQ(CellOf(*group), (TPoint{c.StopX, 2}));
        EXPECT_EQ(group->AnimState, asIdle);
    }
}

TEST_F(GroupMovementTest, GroupsTakeOrdersAgainOnceTheirBattleIsOver) {
    TGroup* group = Group(Red, 1, 2);
    TGroup* enemy = Group(Blue, 3, 2);
    Player(Red).ResetFlags(); // the enemy is in sight from the start
    group->MoveAgainstGroup(enemy, 1, true, 0);
    TPlayerAction taken{};
    for (int i = 0; i < 5000 && taken.Code == acNone; ++i) {
        Scenario().Update();
        taken = Player(Red).TakeAction();
    }
    ASSERT_EQ(taken.Code, acAttackGroup);

    // In battle both sides ignore orders.
    for (TGroup* side : {group, enemy}) {
        side->MoveTo(1, 6, true, 0);
        EXPECT_EQ(side->Activity, gaNone);
        EXPECT_EQ(ImmediateReport(*side->GetOwner()), -1);
    }

    // The end of the fight clears the flags; then orders are carried out again.
    group->InBattle = 0;
    enemy->InBattle = 0;
    enemy->MoveTo(3, 6, true, 0);
    EXPECT_EQ(RunUntilReport(Player(Blue)), arDone);
    EXPECT_EQ(CellOf(*enemy), (TPoint{3, 6}));
    group->MoveTo(2, 5, true, 0);
    EXPECT_EQ(RunUntilReport(Player(Red)), arDone);
    EXPECT_EQ(CellOf(*group), (TPoint{2, 5}));
}

TEST_F(GroupMovementTest, AWalkIsReportedToThePlayersWhoSeeIt) {
    TGroup* group = Group(Red, 1, 2, 2);
    group->Facing = 2;
    Group(Blue, 4, 2)->Spotted = 1; // seen before: the walk goes on
    ASSERT_TRUE(Player(Blue).IsCellVisible(3, 2));
    ASSERT_FALSE(Player(Green).IsCellVisible(3, 2));
    for (int p = 0; p < Scenario().PlayerCount(); ++p)
        Player(p).ClearSightings();

    group->MoveTo(3, 2, true, 0);
    EXPECT_EQ(RunUntilReport(Player(Red)), arDone);
    EXPECT_EQ(Player(Red).SightingCount(), 0);   // the owner
    EXPECT_EQ(Player(Green).SightingCount(), 0); // sees nothing there
    std::vector<std::tuple<int, int, uint32_t>> seen;
    for (int i = 0; i < Player(Blue).SightingCount(); ++i) {
        const TSighting sighting = Player(Blue).GetSighting(i);
        EXPECT_EQ(sighting.Kind, skUnitMoved);
        EXPECT_EQ(sighting.Extra, 0u);
        seen.emplace_back(sighting.CellX, sighting.CellY, sighting.UnitID);
    }
    const uint32_t a = group->UnitAt(0)->ID;
    const uint32_t b = group->UnitAt(1)->ID;
    const std::vector<std::tuple<int, int, uint32_t>> expected = {
        {2, 2, a}, {2, 2, b}, {3, 2, a}, {3, 2, b}};
    EXPECT_EQ(seen, expected);
}

TEST_F(GroupMovementTest, AGroupCanStillMoveWithPointsForItsCheapestStep) {
    struct Case {
        const char* Name;
        int X, Y;
        int32_t Points;
        bool Moves;
    };
    const Case cases[] = {
        {"points for a step", 1, 2, 20, true},
        {"one point short", 1, 2, 19, false},
        {"in a corner", 0, 0, 20, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TGroup* group = Group(Red, c.X, c.Y);
        group->UnitAt(0)->AddActionPoints(c.Points - 100);
        EXPECT_EQ(group->CanStillMove(), c.Moves);
        Scenario().RemoveObject(group, 1);
    }
    // Walled into its corner by two rocks (2 x 2 cells each), no step is cheap enough.
    TGroup* group = Group(Red, 0, 0);
    World->AddDoodle(TestSupport::TTinyWorld::Rock, 1, 0);
    World->AddDoodle(TestSupport::TTinyWorld::Rock, 0, 1);
    EXPECT_FALSE(group->CanStillMove());
}

} // namespace
} // namespace CityGroupTests

namespace CityGroupTests {
namespace {

class GroupDeathSoundTest : public GroupMovementTest {
protected:
    GroupDeathSoundTest() {
        auto sound = std::make_unique<DSFrame::TDSFramework>(nullptr);
        sound->Init(-1, DSFrame::dsoPlayPrimary | DSFrame::dsoExclusiveLevel, 6, 2, 500, 44100, 16,
                    2);
        Main::DSFramework = std::move(sound);
        Data2::TUnitPrototype& walker =
            Data.Global().UnitPrototypes[Data.Global().FindUnitPrototype(WalkerID)];
        walker.Sounds[0] = &Attack;
        walker.Sounds[1] = &Death;
        walker.Sounds[2] = &LastBreath;
    }
    ~GroupDeathSoundTest() override { Main::DSFramework.reset(); }

    // Kills the group's first unit and ticks until the dying begins.
    void KillFirstUnit(TGroup& group) {
        group.UnitAt(0)->AddHitPoints(-1000);
        ASSERT_TRUE(group.CheckForDeadUnits());
        for (int i = 0; i < 5 && group.AnimState != asDying; ++i)
            group.Tick();
        ASSERT_EQ(group.AnimState, asDying);
    }

    Win32::TManualClock Clock{100000};
    Win32::TScopedClock UseClock{Clock};
    Win32::TManualSoundOutput Output;
    Win32::TScopedSoundOutput UseOutput{Output};
    SoundFrameworkTesting::TTestStream Attack{1000};
    SoundFrameworkTesting::TTestStream Death{1000};
    SoundFrameworkTesting::TTestStream LastBreath{1000};
};

TEST_F(GroupDeathSoundTest, TheDeadAreHeardWhereThePlayerAtThisMachineSeesThem) {
    TGroup* far = Group(Blue, 10, 10, 2);
    ASSERT_FALSE(Player(Red).IsObjectVisible(*far));
    KillFirstUnit(*far);
    EXPECT_EQ(Main::DSFramework->TracksInUse(), 0);

    Scenario().BeginTurnOf(Blue); // the viewer stays red
    TGroup* own = Group(Red, 2, 2, 2);
    KillFirstUnit(*own);
    ASSERT_EQ(Main::DSFramework->TracksInUse(), 2);
    std::vector<const Audio::TAudioStream*> heard;
    for (int track = 0; track < 6; ++track)
        if (Main::DSFramework->Track(track).Stream)
            heard.push_back(Main::DSFramework->Track(track).Stream.get());
    EXPECT_EQ(heard, (std::vector<const Audio::TAudioStream*>{&Death, &LastBreath}));
}

} // namespace
} // namespace CityGroupTests
