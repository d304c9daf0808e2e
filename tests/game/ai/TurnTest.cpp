// A computer player's turn on the tiny world, its actions executed on the test's
// thread: how many passes it plans, which tasks run together, and that the turn always
// ends and lets go of the world.
#include "game/ai/AIPassSchedule.h"
#include "game/world/data/GlobalData.h"
#include "game/world/players/ThreadTermination.h"
#include "tests/game/ai/AIWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace GameData;
using AIHandler::TAIHandler;
using AIHandler::TAITask;
using AIHandler::TPassSchedule;
using TestSupport::TAIWorld;
using TestSupport::TTestExecutor;
using TestSupport::TTinyWorldOptions;

constexpr int Soldier = 1;
constexpr int Giant = 2; // more hit points than a few soldiers can take in one go

class TurnTest : public ::testing::Test {
protected:
    TurnTest() {
        // Added first: adding moves the records.
        Data.AddUnitPrototype(Soldier, "Soldier");
        Data.AddUnitPrototype(Giant, "Giant");
        for (const int id : {Soldier, Giant}) {
            GameData::TUnitStats& stats =
                Data.Global().UnitPrototypes[Data.Global().FindUnitPrototype(id)].Stats;
            TestSupport::SetStat(stats, HITPOINTS, id == Giant ? 400 : 30);
            TestSupport::SetStat(stats, ACTIONPOINTS, 100);
            TestSupport::SetStat(stats, ATTACK, 12);
            TestSupport::SetStat(stats, DEFENCE, 4);
            TestSupport::SetStat(stats, SIGHT, 3);
        }
        Data.SetConstant(Data2::gcSightDistanceScale, 1);
        // Height steps that a flat map never reaches.
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
    }

    static TGroup* AddGroup(TAIWorld& world, uint8_t owner, int x, int y, int units = 1,
                            int prototype = Soldier) {
        TGroup* group = world.AddGroup(owner, x, y);
        for (int i = 0; i < units; ++i)
            group->AddUnit(TestSupport::MakeUnit(prototype), true, true);
        return group;
    }

    // An active attack on the target unit, carried out by the planner's unit.
    static TAITask& AddAttack(TAIHandler& handler, TUnit& target, TUnit& unit) {
        auto task = std::make_unique<TAITask>(&handler, true);
        task->Header->TaskType = AIHandler::ttAttackUnit;
        task->Target().Kind = AIHandler::tkUnit;
        task->Target().SetTarget(&target);
        task->Target().X = target.GetGroup()->TMapObject::CellX();
        task->Target().Y = target.GetGroup()->TMapObject::CellY();
        task->Priority = 100;
        task->AssignUnit(*handler.FindAIUnit(&unit));
        TAITask& added = *task;
        handler.Tasks.Add(task.release());
        return added;
    }

    static std::vector<uint32_t> Codes(const TTestExecutor& executor) {
        std::vector<uint32_t> codes;
        for (const TPlayerAction& action : executor.Taken)
            codes.push_back(action.Code);
        return codes;
    }

    static bool WorldIsFree(TScenario& scenario) {
        if (!scenario.PlannerLock.try_lock())
            return false;
        scenario.PlannerLock.unlock();
        return true;
    }

    TestSupport::TTestGameData Data;
};

TTinyWorldOptions BlueAloneOnComputer() {
    TTinyWorldOptions options;
    options.ThirdPlayerType = ptLocal;
    return options;
}

TEST(PassScheduleTest, PassesAndWhatRunsInThem) {
    TPassSchedule other(false);
    std::vector<std::pair<bool, bool>> runs; // attacks, escorts
    do
        runs.emplace_back(other.Runs(AIHandler::ttAttackGroup), other.Runs(AIHandler::ttGuardUnit));
    while (other.NextPass());
    const std::vector<std::pair<bool, bool>> expected = {
        {true, false}, {true, false}, {false, true}, {false, true}};
    EXPECT_EQ(runs, expected);

    TPassSchedule first(true);
    EXPECT_EQ(first.Passes(), 1);
    EXPECT_FALSE(first.NextPass());
}

TEST(PassScheduleTest, LinesOnTheLastPassGrantOneMoreUpToEightInAll) {
    TPassSchedule schedule(false);
    schedule.ScriptLinesPerformed(); // pass 0 of 4: no more passes
    EXPECT_EQ(schedule.Passes(), 4);
    int passes = 1;
    while (true) {
        if (schedule.Pass() == schedule.Passes() - 1)
            schedule.ScriptLinesPerformed();
        if (!schedule.NextPass())
            break;
        ++passes;
        // Extra passes run everything.
        if (schedule.Pass() >= 4) {
            EXPECT_TRUE(schedule.Runs(AIHandler::ttAttackGroup));
            EXPECT_TRUE(schedule.Runs(AIHandler::ttGuardUnit));
        }
    }
    EXPECT_EQ(passes, TPassSchedule::MaxPasses);
}

// A player with nothing to do reports, empties its sightings and ends the turn.
TEST_F(TurnTest, NothingToDoEndsTheTurnAtOnce) {
    for (const bool blueHasUnits : {false, true}) {
        SCOPED_TRACE(blueHasUnits);
        TAIWorld world(BlueAloneOnComputer());
        if (blueHasUnits)
            AddGroup(world, 1, 8, 8); // with no enemy unit anywhere
        TPlayer& blue = world.Player(1);
        blue.PushSighting(std::make_unique<TSighting>(TSighting{skUnitSpotted, 0, 3, 3, 1234, 0}));
        TTestExecutor executor(*world.Scenario);
        world.Scenario->BeginTurnOf(1);
        ASSERT_TRUE(executor.RunUntil([&] { return world.Scenario->CurrentPlayer != &blue; }));
        EXPECT_EQ(Codes(executor), (std::vector<uint32_t>{acReport, acEndTurn}));
        EXPECT_EQ(executor.Taken[0].P[0], uint32_t(arDone));
        EXPECT_EQ(blue.SightingCount(), 0);
    }
}

// Two attacks whose targets lie closer than 16 run as one; a task whose unit stands 31
// from its target neither takes another in nor is taken in.
TEST_F(TurnTest, AttacksOnTargetsCloseTogetherRunAsOne) {
    struct TCase {
        int TargetsApart;
        int FirstUnitFromItsTarget;
        int SecondUnitFromItsTarget;
        int ExpectedMultiTasks;
    };
    for (const TCase c :
         {TCase{15, 2, 2, 1}, TCase{16, 2, 2, 2}, TCase{15, 31, 2, 2}, TCase{15, 2, 31, 2}}) {
        SCOPED_TRACE(testing::Message() << c.TargetsApart << " " << c.FirstUnitFromItsTarget << " "
                                        << c.SecondUnitFromItsTarget);
        TTinyWorldOptions options;
        options.Width = 52; // one action point a step, diagonals too: distance in cells
        options.BaseCost = 1;
        TAIWorld world(options);
        TAIHandler& blue = world.Handler(1);
        const int farX = 2 + c.TargetsApart;
        TGroup* nearTarget = AddGroup(world, 0, 2, 5);
        TGroup* farTarget = AddGroup(world, 0, farX, 5);
        TGroup* first = AddGroup(world, 1, 2 + c.FirstUnitFromItsTarget, 5);
        TGroup* second = AddGroup(world, 1, farX + c.SecondUnitFromItsTarget, 5);
        AddAttack(blue, *nearTarget->UnitAt(0), *first->UnitAt(0));
        AddAttack(blue, *farTarget->UnitAt(0), *second->UnitAt(0));

        ASSERT_EQ(blue.BuildMultiTasks(), true);
        EXPECT_EQ(blue.MultiTasks.Count(), c.ExpectedMultiTasks);
        int members = 0;
        for (const AIHandler::TAIMultiTask* multi : blue.MultiTasks)
            members += multi->Members.Count();
        EXPECT_EQ(members, 2);
    }
}

// The planner reads the world only while the per-frame update stands still, and lets it
// go while each of its actions is executed.
TEST_F(TurnTest, ThePlannerLetsGoOfTheWorldWhileItsActionsExecute) {
    TAIWorld world(BlueAloneOnComputer());
    TScenario& scenario = *world.Scenario;
    AddGroup(world, 0, 3, 3);
    AddGroup(world, 1, 5, 3);
    TTestExecutor executor(scenario);
    int moves = 0;
    bool freeWhileExecuting = true;
    executor.OtherAction = [&](TPlayer&, const TPlayerAction& action) {
        freeWhileExecuting = freeWhileExecuting && WorldIsFree(scenario);
        moves += action.Code == acMoveGroup;
        return int32_t(arNoActionPoints);
    };
    TPlayer& blue = world.Player(1);
    scenario.BeginTurnOf(1);
    ASSERT_TRUE(executor.RunUntil([&] { return scenario.CurrentPlayer != &blue; }));
    EXPECT_EQ(moves, 2); // once in each of the first two passes
    EXPECT_TRUE(freeWhileExecuting);
    EXPECT_TRUE(WorldIsFree(scenario));

    // Held elsewhere, the world's update skips its frame.
    std::promise<void> held;
    std::promise<void> release;
    std::thread planner([&] {
        const std::lock_guard<std::mutex> lock(scenario.PlannerLock);
        held.set_value();
        release.get_future().wait();
    });
    held.get_future().wait();
    const uint32_t frames = scenario.FrameCounter;
    scenario.Update();
    EXPECT_EQ(scenario.FrameCounter, frames);
    release.set_value();
    planner.join();
    scenario.Update();
    EXPECT_EQ(scenario.FrameCounter, frames + 1);
}

// The scenario's first player plans once; script lines it finds on its last pass give
// it another, and escorts only run from the third pass on.
TEST_F(TurnTest, ScriptLinesOnTheLastPassExtendTheFirstPlayersTurn) {
    for (const bool queueLines : {false, true}) {
        SCOPED_TRACE(queueLines);
        TTinyWorldOptions options;
        options.SecondPlayerType = ptLocal;
        options.ThirdPlayerType = ptLocal;
        TAIWorld world(options);
        TScenario& scenario = *world.Scenario;
        TPlayer& red = world.Player(0);
        red.Type = ptComputer;
        TAIHandler& handler = world.Handler(0);
        TGroup* own = AddGroup(world, 0, 3, 3, 2);
        TGroup* enemy = AddGroup(world, 1, 5, 3);
        AddAttack(handler, *enemy->UnitAt(0), *own->UnitAt(0));
        auto escort = std::make_unique<TAITask>(&handler, true);
        escort->Header->TaskType = AIHandler::ttGuardUnit;
        escort->Target().Kind = AIHandler::tkUnit;
        escort->Target().SetTarget(own->UnitAt(0));
        escort->Target().Radius = 2;
        escort->Priority = 50;
        escort->AssignUnit(*handler.FindAIUnit(own->UnitAt(1)));
        handler.Tasks.Add(escort.release());
        if (queueLines) {
            ASSERT_TRUE(handler.QueueDeactivateTask(99999)); // names no task: does nothing
        }

        TTestExecutor executor(scenario);
        executor.OtherAction = [&](TPlayer&, const TPlayerAction&) {
            if (queueLines)
                handler.QueueDeactivateTask(99999);
            return int32_t(arNoActionPoints);
        };
        testing::internal::CaptureStderr();
        scenario.BeginTurnOf(0);
        const bool ended = executor.RunUntil([&] { return scenario.CurrentPlayer != &red; });
        const std::string log = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(ended);
        const auto selections =
            std::count_if(executor.Taken.begin(), executor.Taken.end(), [&](const auto& action) {
                return action.Code == acSelectObject && action.P[0] == own->ID;
            });
        // Without lines one pass; the line found at the start of the only pass grants a
        // second, the one found after the attack in it a third, for the escort.
        EXPECT_EQ(selections, queueLines ? 2 : 1);
        EXPECT_EQ(log.find("no executor for task type 5 yet") != std::string::npos, queueLines)
            << log;
    }
}

// Asked to stop while waiting for an action, the turn ends there and leaves the world
// free.
TEST_F(TurnTest, AStopEndsTheTurnWhereItStands) {
    TAIWorld world(BlueAloneOnComputer());
    TScenario& scenario = *world.Scenario;
    AddGroup(world, 0, 3, 3);
    AddGroup(world, 1, 5, 3);
    TTestExecutor executor(scenario);
    bool moving = false;
    executor.OtherAction = [&](TPlayer&, const TPlayerAction& action) {
        moving = moving || action.Code == acMoveGroup;
        return int32_t(arPending); // the walk never ends
    };
    TPlayer& blue = world.Player(1);
    scenario.BeginTurnOf(1);
    ASSERT_TRUE(executor.RunUntil([&] { return moving; }));
    blue.StopThread();
    EXPECT_FALSE(blue.IsThreadRunning());
    EXPECT_FALSE(blue.HasPendingAction());
    EXPECT_TRUE(WorldIsFree(scenario));
    EXPECT_TRUE(blue.TakeTurnError().empty());
}

// A planner whose records fail it at the start of a pass.
class TFailingHandler : public TAIHandler {
public:
    using TAIHandler::TAIHandler;
    void FreeRemovedUnits() override {
        if (FailOnce.exchange(false))
            throw ClassLib::Exception("The records are in a muddle.");
        TAIHandler::FreeRemovedUnits();
    }
    std::atomic<bool> FailOnce{false};
};

TEST_F(TurnTest, AFailingStepEndsTheTurnInsteadOfTheGame) {
    TTinyWorldOptions options = BlueAloneOnComputer();
    options.PlannerFactory = [](TPlayer& player) -> std::unique_ptr<TComputerPlayer> {
        return std::make_unique<TFailingHandler>(player);
    };
    TestSupport::TTinyWorld world(options);
    TScenario& scenario = *world.Scenario;
    TGroup* red = world.AddGroup(0, 3, 3);
    red->AddUnit(TestSupport::MakeUnit(Soldier), true, true);
    TGroup* blueGroup = world.AddGroup(1, 5, 3);
    blueGroup->AddUnit(TestSupport::MakeUnit(Soldier), true, true);
    TPlayer& blue = world.Player(1);
    static_cast<TFailingHandler&>(*blue.AI).FailOnce = true;

    TTestExecutor executor(scenario);
    testing::internal::CaptureStderr();
    scenario.BeginTurnOf(1);
    const bool ended = executor.RunUntil([&] { return scenario.CurrentPlayer != &blue; });
    const std::string log = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(ended);
    EXPECT_EQ(Codes(executor), (std::vector<uint32_t>{acReport, acEndTurn}));
    EXPECT_NE(log.find("Blue: the computer player gave up its turn: The records are in a muddle."),
              std::string::npos)
        << log;
    EXPECT_TRUE(WorldIsFree(scenario));
}

// A unit lost in the middle of the turn is let go of at the next pass, not at the end
// of the turn, and nothing touches its record after that.
TEST_F(TurnTest, UnitsLostDuringTheTurnAreFreedBetweenPasses) {
    TAIWorld world(BlueAloneOnComputer());
    TScenario& scenario = *world.Scenario;
    AddGroup(world, 0, 4, 4, 1, Giant); // more than one blue group can take
    TGroup* first = AddGroup(world, 1, 6, 4);
    AddGroup(world, 1, 6, 5);
    TAIHandler& blue = world.Handler(1);
    TUnit* lost = first->UnitAt(0);
    TTestExecutor executor(scenario);
    std::vector<int> recordsAtMoves;
    executor.OtherAction = [&](TPlayer& player, const TPlayerAction& action) {
        if (action.Code == acMoveGroup) {
            recordsAtMoves.push_back(blue.AIUnits.Count());
            if (lost && player.GetSelectedGroup() == first) {
                scenario.RemoveUnit(lost, true, true);
                lost = nullptr;
            }
        }
        return int32_t(arNoActionPoints);
    };
    TPlayer& player = world.Player(1);
    scenario.BeginTurnOf(1);
    ASSERT_TRUE(executor.RunUntil([&] { return scenario.CurrentPlayer != &player; }));
    // First pass: the nearer group moves and loses its unit; second pass: the other one,
    // recruited in its place, moves with one record left.
    EXPECT_EQ(recordsAtMoves, (std::vector<int>{2, 1}));
}

// An attack is as urgent as its target is soft: 100 / (DEFENCE + 1), a rating below 0
// counting as 0 instead of dividing by nothing.
TEST_F(TurnTest, AttacksAreRatedByTheirTargetsDefence) {
    for (const auto& [defence, priority] :
         {std::pair{4, 20}, std::pair{0, 100}, std::pair{-1, 100}}) {
        SCOPED_TRACE(defence);
        TAIWorld world;
        TGroup* target = AddGroup(world, 0, 2, 2);
        target->UnitAt(0)->Own.Value(DEFENCE) = int16_t(defence);
        TAIHandler& blue = world.Handler(1);
        blue.GenerateAttackTasks();
        ASSERT_EQ(blue.Tasks.Count(), 1);
        EXPECT_EQ(blue.Tasks[0]->Priority, priority);
        EXPECT_EQ(blue.Tasks[0]->Target().TargetID, target->UnitAt(0)->ID);
    }
}

// A scenario stored without planner records: at the start of the game each planner
// learns of its player's units, in groups and in towns, once.
TEST_F(TurnTest, AtTheStartEveryPlannerLearnsOfItsPlayersUnits) {
    TAIWorld world;
    TGroup* red = world.AddGroup(0, 2, 2);
    red->AddUnit(TestSupport::MakeUnit(Soldier), true, false);
    TCity* town = world.AddCity(1, 6, 6);
    auto defender = TestSupport::MakeUnit(Soldier);
    defender->Marker = CityOwnerByte;
    town->AddOtherUnit(std::move(defender), true, false);
    auto guest = TestSupport::MakeUnit(Soldier);
    guest->Marker = 0; // a red unit staying in the blue town
    town->AddOtherUnit(std::move(guest), true, false);
    ASSERT_EQ(world.Handler(0).AIUnits.Count() + world.Handler(1).AIUnits.Count(), 0);

    for (int round = 0; round < 2; ++round) {
        AIHandler::GiveUnitsToPlanners(*world.Scenario);
        EXPECT_EQ(world.Handler(0).AIUnits.Count(), 2);
        EXPECT_EQ(world.Handler(1).AIUnits.Count(), 1);
        EXPECT_EQ(world.Handler(2).AIUnits.Count(), 0);
    }
}

} // namespace
