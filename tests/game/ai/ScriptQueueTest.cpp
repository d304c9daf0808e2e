// The script command lines a computer player queues and carries out: their text, the
// bounded queue, bad lines, and what each line does to tasks and armies.
#include "game/ai/AIHandler.h"
#include "platform/classlib/Streams.h"
#include "tests/game/ai/AIWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

using namespace AIHandler;
using namespace GameData;
using TestSupport::MakeUnit;

namespace {

// Blue (computer) with a group of three units; red with one unit blue hunts.
class ScriptQueueTest : public ::testing::Test {
protected:
    ScriptQueueTest() {
        data.AddUnitPrototype(1, "Knight");
        TGroup* const group = world.AddGroup(1, 8, 8);
        for (int i = 0; i < 3; ++i)
            units.push_back(group->AddUnit(MakeUnit(1, 10), true, true));
        redGroup = world.AddGroup(0, 2, 3);
        prey = redGroup->AddUnit(MakeUnit(1, 10), true, true);
    }

    TAIUnit& Record(const TUnit* unit) { return *blue().FindAIUnit(unit); }
    TAIHandler& blue() { return world.Handler(1); }
    TAITask& AddTask(int32_t type) {
        auto task = std::make_unique<TAITask>(&blue(), true);
        if (type == ttAttackUnit) {
            task->Header->TaskType = ttAttackUnit;
            task->Target().Kind = tkUnit;
            task->Target().SetTarget(prey);
        } else {
            task->SetGoToCell(4, 4, 1);
        }
        TAITask* const raw = task.release();
        blue().Tasks.Add(raw);
        return *raw;
    }
    TAIArmy& AddArmy() {
        auto army = std::make_unique<TAIArmy>(&blue());
        army->ID = blue().NextID();
        return *blue().Armies.Add(std::move(army));
    }
    std::string Line(int index) { return blue().ScriptStack.Lines[size_t(index)]; }

    TestSupport::TTestGameData data;
    TestSupport::TAIWorld world;
    std::vector<TUnit*> units;
    TGroup* redGroup = nullptr;
    TUnit* prey = nullptr;
};

} // namespace

TEST_F(ScriptQueueTest, EachWriterQueuesItsKeywordAndDecimalIDs) {
    struct TCase {
        std::function<bool(TAIHandler&)> Write;
        const char* Line;
    };
    const TCase cases[] = {
        {[](TAIHandler& h) { return h.QueueDeleteTask(10007); }, "DELETE_TASK 10007"},
        {[](TAIHandler& h) { return h.QueueAssignUnitTask(10234, 10007); },
         "ASSIGN_UNIT_TASK 10234 10007"},
        {[](TAIHandler& h) { return h.QueueUnassignUnitTask(17); }, "UNASSIGN_UNIT_TASK 17"},
        {[](TAIHandler& h) { return h.QueueAssignArmyTask(3, 4); }, "ASSIGN_ARMY_TASK 3 4"},
        {[](TAIHandler& h) { return h.QueueUnassignArmyTask(3); }, "UNASSIGN_ARMY_TASK 3"},
        {[](TAIHandler& h) { return h.QueueAddUnitArmy(17, 3); }, "ADD_UNIT_ARMY 17 3"},
        {[](TAIHandler& h) { return h.QueueRemoveUnitArmy(17); }, "REMOVE_UNIT_ARMY 17"},
        {[](TAIHandler& h) { return h.QueueActivateTask(4294967295u); },
         "ACTIVATE_TASK 4294967295"},
        {[](TAIHandler& h) { return h.QueueDeactivateTask(0); }, "DEACTIVATE_TASK 0"},
    };
    int count = 0;
    for (const TCase& c : cases) {
        EXPECT_TRUE(c.Write(blue()));
        EXPECT_EQ(Line(count++), c.Line);
        // A human player's planner plays no pass: nothing is queued for it.
        EXPECT_FALSE(c.Write(world.Handler(0)));
    }
    EXPECT_EQ(blue().ScriptStack.Count, count);
    EXPECT_EQ(world.Handler(0).ScriptStack.Count, 0);
}

TEST_F(ScriptQueueTest, AFullQueueRefusesTheLine) {
    for (int i = 0; i < TAIScriptStack::MaxLines; ++i)
        ASSERT_TRUE(blue().QueueDeleteTask(uint32_t(i)));
    try {
        blue().QueueDeleteTask(999);
        FAIL() << "queued beyond the queue";
    } catch (const ClassLib::Exception& e) {
        EXPECT_EQ(e.Message, "The computer player's script queue is full.");
    }
    EXPECT_EQ(blue().ScriptStack.Count, TAIScriptStack::MaxLines);
    EXPECT_EQ(Line(TAIScriptStack::MaxLines - 1), "DELETE_TASK 499");
}

TEST_F(ScriptQueueTest, StoredQueuesOfMoreLinesThanItHoldsAreRefused) {
    for (const uint32_t count : {500u, 501u}) {
        ClassLib::TMemoryStream written;
        written.WriteValue(uint32_t(9));
        written.WriteValue(count);
        for (uint32_t i = 0; i < count; ++i)
            Data::WriteStreamString(&written, "DEACTIVATE_TASK 1");
        ClassLib::TMemoryStream stream(written.Bytes());
        TAIScriptStack stack;
        if (count <= 500) {
            stack.LoadFromStream(&stream);
            EXPECT_EQ(stack.Count, 500);
        } else {
            EXPECT_THROW(stack.LoadFromStream(&stream), Data::EInvalidData);
        }
    }
}

TEST_F(ScriptQueueTest, TokensAreTheBlankSeparatedWordsOfTheTrimmedLine) {
    struct TCase {
        const char* Line;
        const char* Token;
        const char* Rest;
    };
    for (const TCase c : {TCase{"DELETE_TASK 5", "DELETE_TASK", "5"},
                          {" \tDELETE_TASK  5 \r\n", "DELETE_TASK", " 5"},
                          {"5", "5", ""},
                          {"   ", "", ""}}) {
        std::string line = c.Line;
        EXPECT_EQ(TAIScriptStack::NextToken(line), c.Token) << c.Line;
        EXPECT_EQ(line, c.Rest) << c.Line;
    }
}

TEST_F(ScriptQueueTest, LinesRunOldestFirstAndAnEmptyQueueDoesNothing) {
    EXPECT_FALSE(blue().ExecuteScriptCommands());
    TAITask& task = AddTask(ttGoToCell);
    for (const bool activateFirst : {true, false}) {
        task.Active = 0;
        if (activateFirst)
            blue().QueueActivateTask(task.ID);
        blue().QueueDeactivateTask(task.ID);
        if (!activateFirst)
            blue().QueueActivateTask(task.ID);
        EXPECT_TRUE(blue().ExecuteScriptCommands());
        EXPECT_EQ(task.Active, activateFirst ? 0 : 1);
        EXPECT_EQ(blue().ScriptStack.Count, 0);
    }
}

TEST_F(ScriptQueueTest, BadLinesAreDroppedAndTheRestStillRun) {
    TAITask& task = AddTask(ttGoToCell);
    TAIScriptStack& queue = blue().ScriptStack;
    for (const char* line :
         {"DELETE_TASK ten", "ASSIGN_UNIT_TASK 12", "SHUFFLE_TASKS 1", "DEACTIVATE_TASK 5"})
        queue.Push(line);
    blue().QueueDeactivateTask(task.ID);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(blue().ExecuteScriptCommands());
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(task.Active, 0);
    EXPECT_EQ(queue.Count, 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
    EXPECT_NE(log.find("DELETE_TASK ten"), std::string::npos) << log;
}

TEST_F(ScriptQueueTest, ActivatingNeedsATargetThatIsStillThere) {
    TAITask& task = AddTask(ttAttackUnit);
    task.Active = 0;
    redGroup->X += 40; // one cell east
    blue().QueueActivateTask(task.ID);
    blue().ExecuteScriptCommands();
    EXPECT_EQ(task.Active, 1);
    EXPECT_EQ(task.Target().X, 3);
    EXPECT_EQ(task.Target().Y, 3);

    task.Active = 0;
    redGroup->RemoveUnitAt(0, true, true).reset();
    blue().QueueActivateTask(task.ID);
    blue().ExecuteScriptCommands();
    EXPECT_EQ(task.Active, 0);
}

TEST_F(ScriptQueueTest, LinesSteerUnitsThroughTasksAndArmies) {
    TAITask& hunt = AddTask(ttAttackUnit);
    TAITask& ford = AddTask(ttGoToCell);
    TAIArmy& army = AddArmy();
    TAIHandler& h = blue();
    const auto run = [&h] { EXPECT_TRUE(h.ExecuteScriptCommands()); };

    h.QueueAddUnitArmy(units[0]->ID, army.ID);
    h.QueueAddUnitArmy(units[1]->ID, army.ID);
    h.QueueAddUnitArmy(units[2]->ID, army.ID + 1000); // no such army
    run();
    EXPECT_EQ(army.Members.Count(), 2);
    EXPECT_EQ(Record(units[2]).InArmy, 0);

    h.QueueAssignArmyTask(army.ID, hunt.ID);
    h.QueueAssignUnitTask(units[2]->ID, ford.ID);
    run();
    EXPECT_EQ(hunt.Units.Count(), 2);
    EXPECT_EQ(ford.Units.Count(), 1);

    h.QueueUnassignArmyTask(army.ID);
    h.QueueRemoveUnitArmy(units[1]->ID);
    h.QueueUnassignUnitTask(units[2]->ID);
    run();
    EXPECT_EQ(hunt.Units.Count(), 0);
    EXPECT_EQ(ford.Units.Count(), 0);
    EXPECT_EQ(army.Members.Count(), 1);
    EXPECT_EQ(Record(units[1]).InArmy, 0);
    EXPECT_EQ(Record(units[2]).Assigned, 0);

    // Red's unit has no record of blue's to steer.
    const uint32_t huntID = hunt.ID;
    h.QueueAssignUnitTask(prey->ID, ford.ID);
    h.QueueDeleteTask(huntID);
    run();
    EXPECT_EQ(ford.Units.Count(), 0);
    EXPECT_FALSE(h.HasTask(huntID));
    EXPECT_TRUE(h.HasTask(ford.ID));
}
