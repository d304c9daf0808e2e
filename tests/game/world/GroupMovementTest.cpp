// Groups walking on their orders in the tiny world: cell by cell at the settings'
// speed, paying action points, and stopping with the report that says why.
#include "game/world/orders/MovementSpeed.h"
#include "game/world/scenario/GameSettings.h"
#include "tests/game/world/CityGroupFixture.h"

#include <map>

namespace CityGroupTests {
namespace {

constexpr int WalkerID = 4; // ACTIONPOINTS 100, SIGHT 3

class TSpeedSettings : public TGameSettings {
public:
    explicit TSpeedSettings(int32_t speed) : Speed(speed) {}
    int32_t Difficulty() const override { return 1; }
    int32_t MovementSpeed() const override { return Speed; }
    int32_t Speed;
};

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
