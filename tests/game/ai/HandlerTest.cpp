// The planner's records of a player: its stored form, the units it tracks as they
// come and go, IDs unique across the scenario, and the danger look-up.
#include "game/ai/AIHandler.h"
#include "platform/classlib/Streams.h"
#include "tests/game/ai/AIWorld.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

using namespace AIHandler;
using namespace GameData;
using TestSupport::MakeUnit;

namespace {

using TBytes = std::vector<uint8_t>;

TBytes Saved(const TComputerPlayer& planner) {
    ClassLib::TMemoryStream stream;
    planner.SaveToStream(stream);
    return stream.Bytes();
}

void Load(TComputerPlayer& planner, const TBytes& bytes) {
    ClassLib::TMemoryStream stream(bytes);
    planner.LoadFromStream(stream);
}

// Raw stored words for records no writer makes.
struct TRecord {
    TRecord& U32(uint32_t value) {
        Stream.WriteValue(value);
        return *this;
    }
    TRecord& U8(uint8_t value) {
        Stream.WriteValue(value);
        return *this;
    }
    ClassLib::TMemoryStream Stream;
};

std::string LoadError(TComputerPlayer& planner, const TBytes& bytes) {
    try {
        Load(planner, bytes);
    } catch (const ClassLib::Exception& e) {
        return e.Message;
    }
    return "";
}

// Red with a group of three units, blue with a group of two; every unit known to its
// owner's planner.
class HandlerTest : public ::testing::Test {
protected:
    HandlerTest() {
        data.AddUnitPrototype(1, "Knight");
        TGroup* const redGroup = world.AddGroup(0, 2, 2);
        TGroup* const blueGroup = world.AddGroup(1, 8, 8);
        for (int i = 0; i < 3; ++i)
            red.push_back(redGroup->AddUnit(MakeUnit(1, 10), true, true));
        for (int i = 0; i < 2; ++i)
            blue.push_back(blueGroup->AddUnit(MakeUnit(1, 10), true, true));
    }

    TAIUnit& Record(TAIHandler& handler, const TUnit* unit) {
        TAIUnit* const record = handler.FindAIUnit(unit);
        EXPECT_NE(record, nullptr);
        return *record;
    }
    // A task of the handler aimed at the unit.
    TAITask& AttackTask(TAIHandler& handler, const TUnit& target) {
        auto task = std::make_unique<TAITask>(&handler, true);
        task->Header->TaskType = ttAttackUnit;
        task->Target().Kind = tkUnit;
        task->Target().SetTarget(&target);
        TAITask* const raw = task.release();
        handler.Tasks.Add(raw);
        return *raw;
    }
    TAITask& GoToTask(TAIHandler& handler) {
        auto task = std::make_unique<TAITask>(&handler, true);
        task->SetGoToCell(5, 6, 2);
        TAITask* const raw = task.release();
        handler.Tasks.Add(raw);
        return *raw;
    }
    TAIArmy& Army(TAIHandler& handler, const char* name) {
        auto army = std::make_unique<TAIArmy>(&handler);
        army->ID = handler.NextID();
        army->Name = name;
        return *handler.Armies.Add(std::move(army));
    }

    TestSupport::TTestGameData data;
    TestSupport::TAIWorld world;
    std::vector<TUnit*> red;
    std::vector<TUnit*> blue;
};

} // namespace

TEST_F(HandlerTest, UnitsJoiningAPlayerGetOneRecordEach) {
    TAIHandler& redAI = world.Handler(0);
    ASSERT_EQ(redAI.AIUnits.Count(), 3);
    for (TUnit* unit : red) {
        const TAIUnit& record = Record(redAI, unit);
        EXPECT_EQ(record.Fitness->UnitID, unit->ID);
        EXPECT_EQ(record.Alive, 1);
        EXPECT_FALSE(world.Handler(1).HasAIUnit(*unit));
    }
}

TEST_F(HandlerTest, StoredRecordsLoadBackByteForByte) {
    TAIHandler& blueAI = world.Handler(1);
    TAIArmy& army = Army(blueAI, "Vanguard");
    ASSERT_TRUE(army.AddUnit(Record(blueAI, blue[0])));
    TAITask& attack = AttackTask(blueAI, *red[0]);
    attack.Priority = 33;
    ASSERT_TRUE(attack.AssignArmy(army));
    TAITask& go = GoToTask(blueAI);
    go.Name = "Ford";
    go.Active = 0;
    ASSERT_TRUE(go.AssignUnit(Record(blueAI, blue[1])));
    blueAI.PassFlag = 1;
    ASSERT_TRUE(blueAI.QueueDeactivateTask(go.ID));
    ASSERT_TRUE(blueAI.QueueAssignUnitTask(blue[1]->ID, attack.ID));

    const TBytes bytes = Saved(blueAI);
    TAIHandler copy(world.Player(1));
    Load(copy, bytes);
    EXPECT_EQ(Saved(copy), bytes);

    EXPECT_EQ(copy.IDCounter, blueAI.IDCounter);
    ASSERT_EQ(copy.Armies.Count(), 1);
    const TAIUnit* member = copy.FindAIUnit(blue[0]);
    ASSERT_NE(member, nullptr);
    EXPECT_EQ(member->Army, copy.Armies[0]);
    ASSERT_NE(copy.FindTaskByID(attack.ID), nullptr);
    EXPECT_EQ(copy.FindTaskOfAIUnit(*member), copy.FindTaskByID(attack.ID));
    EXPECT_EQ(copy.ScriptStack.Count, 2);
}

TEST_F(HandlerTest, AnEmptyPlannerStoresTheRecordTheWorldKeepsWithoutOne) {
    TAIHandler empty(world.Player(2));
    TEndTurnPlanner placeholder(world.Player(2));
    empty.ID = placeholder.ID = 41;
    EXPECT_EQ(Saved(empty), Saved(placeholder));
    Load(placeholder, Saved(empty));
}

TEST_F(HandlerTest, StoredRecordsNamingMissingRecordsAreRefused) {
    const auto head = [](TRecord& r, uint32_t units) { r.U32(1).U32(20000).U32(0).U32(units); };
    // A unit in army 777, which is not stored.
    TRecord noArmy;
    head(noArmy, 1);
    noArmy.U32(10000).U8(0).U32(0).U8(1).U32(0).U32(5).U8(1).U32(777);
    noArmy.U32(0).U32(0).U32(0).U32(0);
    // A task holding unit record 555, which is not stored.
    TRecord noUnit;
    head(noUnit, 0);
    noUnit.U32(1).U32(10001).U32(0).U32(10002).U32(ttGoToCell).U32(0).U32(0).U32(tkCell);
    noUnit.U32(1).U32(1).U32(0).U32(0).U32(0).U8(1);
    noUnit.U32(0).U32(0).U32(0).U32(0).U8(1).U32(1).U32(555);
    noUnit.U32(0).U32(0).U32(0);

    TAIHandler handler(world.Player(1));
    EXPECT_EQ(LoadError(handler, noArmy.Stream.Bytes()), "AIArmy with given ID not found.");
    EXPECT_EQ(LoadError(handler, noUnit.Stream.Bytes()), "AIUnit with given ID not found.");
}

TEST_F(HandlerTest, RecordIDsAreUniqueAcrossThePlannersOfTheScenario) {
    TAIHandler& redAI = world.Handler(0);
    TAIHandler& blueAI = world.Handler(1);
    TAIHandler& greenAI = world.Handler(2);
    // Blue's stored records carried a higher counter.
    blueAI.IDCounter = 20000;
    const uint32_t first = greenAI.NextID();
    EXPECT_EQ(first, 20000u);
    EXPECT_EQ(redAI.NextID(), first + 1);
    EXPECT_EQ(blueAI.NextID(), first + 2);
    EXPECT_EQ(TAITask(&greenAI, true).ID, first + 3);
}

TEST_F(HandlerTest, ARecordIDAlreadyTakenIsRefused) {
    TAIHandler& redAI = world.Handler(0);
    const uint32_t taken = redAI.AIUnits[0]->ID;
    for (int player = 0; player < 3; ++player)
        world.Handler(player).IDCounter = taken;
    try {
        redAI.AddAIUnit(*blue[0]);
        FAIL() << "a second record with one ID";
    } catch (const ClassLib::Exception& e) {
        EXPECT_EQ(e.Message,
                  "Object with given ID is already in list (" + std::to_string(taken) + ").");
    }
    EXPECT_EQ(redAI.AIUnits.Count(), 3);
}

TEST_F(HandlerTest, AUnitLeavingTakesItsRecordOutOfEveryPlannerAndMaybeTheTasksAimedAtIt) {
    for (const bool drop : {false, true}) {
        SCOPED_TRACE(drop ? "dropping" : "keeping");
        TestSupport::TAIWorld w;
        TGroup* const redGroup = w.AddGroup(0, 2, 2);
        TUnit* const unit = redGroup->AddUnit(MakeUnit(1, 10), true, true);
        TUnit* const other = redGroup->AddUnit(MakeUnit(1, 10), true, true);
        TAIHandler& redAI = w.Handler(0);
        TAIHandler& blueAI = w.Handler(1);
        TAIArmy& army = Army(redAI, "Guard");
        TAIUnit& record = Record(redAI, unit);
        ASSERT_TRUE(army.AddUnit(record));
        ASSERT_TRUE(army.AddUnit(Record(redAI, other)));
        // Red's own guard of the unit, held by the unit's army.
        TAITask& guard = AttackTask(redAI, *unit);
        guard.Header->TaskType = ttGuardUnit;
        ASSERT_TRUE(guard.AssignArmy(army));
        const uint32_t guardID = guard.ID;
        const uint32_t huntID = AttackTask(blueAI, *unit).ID;

        EXPECT_TRUE(redAI.RemoveAIUnit(*unit, drop));
        EXPECT_FALSE(redAI.RemoveAIUnit(*unit, drop));
        EXPECT_EQ(redAI.FindAIUnit(unit), nullptr);
        EXPECT_EQ(redAI.AIUnits.Count(), 1);
        ASSERT_EQ(army.Members.Count(), 1);
        EXPECT_EQ(blueAI.HasTask(huntID), !drop);
        EXPECT_EQ(redAI.HasTask(guardID), !drop);
        if (!drop) {
            ASSERT_EQ(guard.Units.Count(), 1);
            EXPECT_EQ(guard.Units[0], redAI.FindAIUnit(other));
        }
        Load(redAI, Saved(redAI)); // nothing left pointing at the freed record
    }
}

TEST_F(HandlerTest, ACityChangingOwnerDropsTheTasksAimedAtItsUnits) {
    GameData::TCity* const city = world.AddCity(1, 6, 6);
    TUnit* const townsman = city->AddOtherUnit(MakeUnit(1, 10), true, true);
    const uint32_t huntID = AttackTask(world.Handler(0), *townsman).ID;
    city->ChangeOwner(2, ocTakeOverAll);
    EXPECT_FALSE(world.Handler(0).HasTask(huntID));
    EXPECT_FALSE(world.Handler(1).HasAIUnit(*townsman));
    EXPECT_TRUE(world.Handler(2).HasAIUnit(*townsman));
}

namespace {

// Holds its worker until released, then ends its turn.
class TGatePlanner : public TComputerPlayer {
public:
    explicit TGatePlanner(TPlayer& player) : Player(player) {}
    void PlayTurn() override {
        Gate.get_future().wait();
        Player.PostAction(true, MakeAction(acEndTurn));
        Player.WaitUntilActionTaken();
    }
    bool AddAIUnit(TUnit&) override { return true; }
    bool RemoveAIUnit(TUnit&, bool) override { return false; }

    TPlayer& Player;
    std::promise<void> Gate;
};

} // namespace

TEST(HandlerWorker, AUnitLeavingWhileAWorkerRunsIsFreedOnlyAfterIt) {
    TestSupport::TTestGameData data;
    data.AddUnitPrototype(1);
    TGatePlanner* gate = nullptr;
    TestSupport::TTinyWorldOptions options;
    options.PlannerFactory = [&gate](TPlayer& player) -> std::unique_ptr<TComputerPlayer> {
        if (player.Scenario->PlayerCount() < 2)
            return std::make_unique<TAIHandler>(player);
        auto planner = std::make_unique<TGatePlanner>(player);
        gate = planner.get();
        return planner;
    };
    TestSupport::TTinyWorld world(options);
    TScenario& s = *world.Scenario;
    TGroup* const group = world.AddGroup(0, 2, 2);
    TUnit* const leaving = group->AddUnit(MakeUnit(1, 10), true, true);
    TUnit* const staying = group->AddUnit(MakeUnit(1, 10), true, true);
    auto& redAI = static_cast<TAIHandler&>(*world.Player(0).AI);
    TAIUnit* const held = redAI.FindAIUnit(leaving);
    auto task = std::make_unique<TAITask>(&redAI, true);
    task->SetGoToCell(3, 3, 1);
    ASSERT_TRUE(task->AssignUnit(*held));
    ASSERT_TRUE(task->AssignUnit(*redAI.FindAIUnit(staying)));
    TAITask* const heldTask = task.release();
    redAI.Tasks.Add(heldTask);
    redAI.Available.Add(held);

    s.BeginTurnOf(2); // green's worker now runs
    ASSERT_TRUE(world.Player(2).IsThreadRunning());
    std::unique_ptr<TUnit> gone = group->RemoveUnitAt(0, true, true);
    gone.reset();
    // What a worker holds stays readable; nothing finds it or stores it.
    EXPECT_EQ(held->Fitness->UnitID, heldTask->Units[0]->Fitness->UnitID);
    EXPECT_EQ(redAI.Available[0], held);
    EXPECT_EQ(redAI.AIUnits.Count(), 2);
    EXPECT_EQ(redAI.FindAIUnitByUnitID(held->Fitness->UnitID), nullptr);
    const TBytes whileMarked = Saved(redAI);

    gate->Gate.set_value();
    TestSupport::TTestExecutor executor(s);
    ASSERT_TRUE(executor.RunUntil([&] { return s.CurrentPlayer == &world.Player(0); }));
    EXPECT_EQ(redAI.AIUnits.Count(), 1);
    ASSERT_EQ(heldTask->Units.Count(), 1);
    EXPECT_EQ(heldTask->Units[0], redAI.FindAIUnit(staying));
    EXPECT_EQ(redAI.Available.Count(), 0);
    EXPECT_EQ(Saved(redAI), whileMarked);
}

TEST_F(HandlerTest, DangerOutsideTheGridIsNone) {
    TAIHandler& blueAI = world.Handler(1);
    EXPECT_EQ(blueAI.DangerAt(0, 0), 0); // not built yet
    blueAI.DangerGrid = {1, 2, 3, 4, 5, 6};
    blueAI.DangerWidth = 3;
    struct TCase {
        int X, Y, Danger;
    };
    for (const TCase c : {TCase{0, 0, 1}, {2, 1, 6}, {3, 0, 0}, {-1, 1, 0}, {0, 2, 0}, {1, -1, 0}})
        EXPECT_EQ(blueAI.DangerAt(c.X, c.Y), c.Danger) << c.X << "," << c.Y;
}
