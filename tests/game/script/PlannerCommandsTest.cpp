// The talking group and the turn read, conversations called, and the computer
// players steered through the lines queued on the planner that owns the task, army
// or unit.
#include "tests/game/script/CommandWorld.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace GameData;

namespace {

// Knows the tasks, armies and units a test gives it and records the lines queued.
class TRecordingPlanner : public TComputerPlayer {
public:
    void PlayTurn() override {}
    bool AddAIUnit(TUnit&) override { return true; }
    bool RemoveAIUnit(TUnit&, bool) override { return false; }

    bool HasTask(uint32_t id) const override { return Tasks.contains(id); }
    bool HasArmy(uint32_t id) const override { return Armies.contains(id); }
    bool HasAIUnit(const TUnit& unit) const override { return Units.contains(&unit); }

    bool QueueDeleteTask(uint32_t task) override { return Queue("DELETE_TASK", {task}); }
    bool QueueAssignUnitTask(uint32_t unit, uint32_t task) override {
        return Queue("ASSIGN_UNIT_TASK", {unit, task});
    }
    bool QueueUnassignUnitTask(uint32_t unit) override {
        return Queue("UNASSIGN_UNIT_TASK", {unit});
    }
    bool QueueAssignArmyTask(uint32_t army, uint32_t task) override {
        return Queue("ASSIGN_ARMY_TASK", {army, task});
    }
    bool QueueUnassignArmyTask(uint32_t army) override {
        return Queue("UNASSIGN_ARMY_TASK", {army});
    }
    bool QueueAddUnitArmy(uint32_t unit, uint32_t army) override {
        return Queue("ADD_UNIT_ARMY", {unit, army});
    }
    bool QueueRemoveUnitArmy(uint32_t unit) override { return Queue("REMOVE_UNIT_ARMY", {unit}); }
    bool QueueActivateTask(uint32_t task) override { return Queue("ACTIVATE_TASK", {task}); }
    bool QueueDeactivateTask(uint32_t task) override { return Queue("DEACTIVATE_TASK", {task}); }

    std::set<uint32_t> Tasks, Armies;
    std::set<const TUnit*> Units;
    bool ComputerPlayed = true;
    bool Full = false;
    std::vector<std::string> Lines;

private:
    bool Queue(const std::string& keyword, std::initializer_list<uint32_t> ids) {
        if (Full)
            throw ClassLib::Exception("The computer player's script queue is full.");
        if (!ComputerPlayed)
            return false;
        std::string line = keyword;
        for (const uint32_t id : ids)
            line += " " + std::to_string(id);
        Lines.push_back(line);
        return true;
    }
};

// Red (human) knows task 7 too but plays no computer turn; blue and green both own
// task 7, green also task 8 and army 20, blue army 21.
class PlannerCommands : public TestSupport::TCommandWorld {
public:
    PlannerCommands() {
        for (int i = 0; i < 3; ++i) {
            auto planner = std::make_unique<TRecordingPlanner>();
            planners[i] = planner.get();
            world.Player(i).AI = std::move(planner);
        }
        Red().ComputerPlayed = false;
        Red().Tasks = {9};
        Red().Units = {knight, redWolf};
        Blue().Tasks = {7};
        Blue().Armies = {21};
        Blue().Units = {blueWolf};
        Green().Tasks = {7, 8};
        Green().Armies = {20};
    }
    TRecordingPlanner& Red() { return *planners[0]; }
    TRecordingPlanner& Blue() { return *planners[1]; }
    TRecordingPlanner& Green() { return *planners[2]; }
    using TLines = std::vector<std::string>;

    TRecordingPlanner* planners[3] = {};
};

TEST_F(PlannerCommands, TheTalkingGroupAndTheTurnAreRead) {
    EXPECT_EQ(Query("<GETUNITSINGROUP>"), 2);
    EXPECT_EQ(Query("<GETUNITID(1)>"), int32_t(redWolf->ID));
    Unit(*red, Wolf);
    EXPECT_EQ(Query("<GETUNITID(2)>"), int32_t(red->UnitAt(2)->ID));
    for (const char* index : {"3", "-1"}) {
        const std::string command = std::string("GETUNITID(") + index + ")";
        EXPECT_EQ(Run("<" + command + ">"), Framed("Bad unit index!", command));
    }
    EXPECT_EQ(Run("<GETUNITSINGROUP(1)>"),
              Framed("Parameter(s) 1 NOT expected!", "GETUNITSINGROUP(1)"));

    conversation.SetTalkingGroup(nullptr);
    EXPECT_EQ(Query("<GETUNITSINGROUP>"), 0);
    EXPECT_EQ(Run("<GETUNITID(0)>"), Framed("No group to get UnitID from!", "GETUNITID(0)"));

    scenario.Turn = 40000;
    EXPECT_EQ(Query("<GETTURN>"), 40000 - 65536) << "a signed 16-bit count";
}

TEST_F(PlannerCommands, TasksAndArmiesAreSteeredOnTheirFirstOwnerInScenarioOrder) {
    const struct {
        std::string Command;
        TLines Blue, Green;
    } cases[] = {
        {"ACTIVATETASK(7)", {"ACTIVATE_TASK 7"}, {}},
        {"DEACTIVATETASK(3+4)", {"DEACTIVATE_TASK 7"}, {}},
        {"DELETETASK(8)", {}, {"DELETE_TASK 8"}},
        {"ASSIGNARMY(8,99)", {}, {"ASSIGN_ARMY_TASK 99 8"}}, // no army 99: queued all the same
        {"UNASSIGNARMY(20)", {}, {"UNASSIGN_ARMY_TASK 20"}},
        {"UNASSIGNARMY(21)", {"UNASSIGN_ARMY_TASK 21"}, {}},
    };
    for (const auto& c : cases) {
        Blue().Lines.clear();
        Green().Lines.clear();
        EXPECT_EQ(Run("<" + c.Command + ">"), "") << c.Command;
        EXPECT_EQ(Blue().Lines, c.Blue) << c.Command;
        EXPECT_EQ(Green().Lines, c.Green) << c.Command;
    }
    // Red plays no computer turn: its line would never be carried out.
    EXPECT_EQ(Run("<DELETETASK(9)>"), "");
    EXPECT_EQ(Red().Lines, TLines{});
}

TEST_F(PlannerCommands, RefusedCommandsQueueNothing) {
    const std::string w = Id(blueWolf);
    const struct {
        std::string Command;
        std::string Message;
    } refused[] = {
        {"ACTIVATETASK(5)", "Task with given ID not found: 5"},
        {"DEACTIVATETASK(5)", "Task with given ID not found: 5"},
        {"ACTIVATETASK(7,1)", "Parameter(s) 1 NOT expected!"},
        {"DELETETASK(5)", "[DeleteTask] Task with given ID not found: 5"},
        {"ASSIGNARMY(5,20)", "[AssignArmy] Task with given ID not found: 5"},
        {"UNASSIGNARMY(5)", "[UnAssignArmy] Army with given ID not found: 5"},
        {"ASSIGNUNITS(7)", "Command should have at least 1 parameters!"},
        {"ASSIGNUNITS(5," + w + ")", "Task with given ID not found: 5"},
        {"UNASSIGNUNITS(0," + w + ")", "[UnAssignUnits] Command should have at least 1 parameter!"},
        {"ASSIGNUNITSARMY(21)", "[AssignUnitsArmy] Command should have at least 2 parameters!"},
        {"ASSIGNUNITSARMY(5," + w + ")", "[AssignUnitsArmy] Army with given ID not found: 5"},
        {"UNASSIGNUNITSARMY", "[UnAssignUnitsArmy] Command should have at least 1 parameter!"},
        {"CALL(0)", "Conversation not found! ID=0"},
        {"GETTURN(1)", "Parameter(s) 1 NOT expected!"},
    };
    for (const auto& r : refused)
        EXPECT_EQ(Run("<" + r.Command + ">"), Framed(r.Message, r.Command));
    for (const TRecordingPlanner* planner : planners)
        EXPECT_EQ(planner->Lines, TLines{});
}

TEST_F(PlannerCommands, UnitListsEndAtTheFirstZeroAndStopAtTheFirstBadUnit) {
    const std::string w = Id(blueWolf), k = Id(knight), t = Id(townsman);
    EXPECT_EQ(Run("<ASSIGNUNITS(7," + w + ",0,13)>"), "") << "13 is ignored";
    Green().Units = {knight};
    EXPECT_EQ(Run("<ASSIGNUNITSARMY(20,99999," + k + ")>"), "")
        << "no unit 99999: skipped; whose the knight is is not asked";
    EXPECT_EQ(Run("<UNASSIGNUNITS(" + k + "," + w + ")><UNASSIGNUNITSARMY(" + w + ")>"), "")
        << "red holds the knight first and queues nothing";
    EXPECT_EQ(Blue().Lines, (TLines{"ASSIGN_UNIT_TASK " + w + " 7", "UNASSIGN_UNIT_TASK " + w,
                                    "REMOVE_UNIT_ARMY " + w}));
    EXPECT_EQ(Green().Lines, TLines{"ADD_UNIT_ARMY " + k + " 20"});
    EXPECT_EQ(Red().Lines, TLines{});

    const struct {
        std::string Command;
        std::string Message;
        TLines Blue; // the lines of the units before the bad one stay
    } refused[] = {
        {"ASSIGNUNITS(7," + w + "," + k + ")",
         "[AssignUnits] Unit with id: " + k + " doesn't have good player!",
         {"ASSIGN_UNIT_TASK " + w + " 7"}},
        {"ASSIGNUNITS(7," + t + ")",
         "[AssignUnits] Unit with id: " + t + " doesn't have an AIUnit!",
         {}},
        {"UNASSIGNUNITS(" + w + "," + t + ")",
         "[UnAssignUnits] Unit with id: " + t + " doesn't have an AI unit!",
         {"UNASSIGN_UNIT_TASK " + w}},
        {"ASSIGNUNITSARMY(21," + w + "," + t + ")",
         "[AssignUnitsArmy] Unit with id: " + t + " doesn't have an AIUnit!",
         {"ADD_UNIT_ARMY " + w + " 21"}},
        {"UNASSIGNUNITSARMY(" + t + ")",
         "[UnAssignUnitsArmy] Unit with id: " + t + " doesn't have an AI Unit!",
         {}},
    };
    for (const auto& r : refused) {
        Blue().Lines.clear();
        EXPECT_EQ(Run("<" + r.Command + ">"), Framed(r.Message, r.Command));
        EXPECT_EQ(Blue().Lines, r.Blue) << r.Command;
    }

    // A unit two planners claim: the first gets its line, then the command fails.
    Blue().Lines.clear();
    Green().Units = {blueWolf};
    const std::string both = "UNASSIGNUNITSARMY(" + w + ")";
    EXPECT_EQ(Run("<" + both + ">"), Framed("AIUnit in two AIHandlers!", both));
    EXPECT_EQ(Blue().Lines, TLines{"REMOVE_UNIT_ARMY " + w});

    // An offline unit takes no task.
    EXPECT_EQ(Run("<DELETEUNIT(" + w + ",1)>"), "");
    const struct {
        std::string Command, Tag;
    } offline[] = {{"ASSIGNUNITS(7," + w + ")", "[AssignUnits]"},
                   {"ASSIGNUNITSARMY(21," + w + ")", "[AssignUnitsArmy]"}};
    for (const auto& o : offline)
        EXPECT_EQ(Run("<" + o.Command + ">"),
                  Framed(o.Tag + " Unit with id: " + w + " is offline!", o.Command));
}

TEST_F(PlannerCommands, AFullQueueFailsTheCommand) {
    Blue().Full = true;
    EXPECT_EQ(Run("<ACTIVATETASK(7)>"),
              Framed("The computer player's script queue is full.", "ACTIVATETASK(7)"));
}

TEST_F(PlannerCommands, CalledConversationsAreQueuedOnceAndNeverWhileRunning) {
    auto made = std::make_unique<TConversation>();
    made->ID = 8;
    made->SetScenario(&scenario);
    auto* eight = static_cast<TConversation*>(scenario.Conversations.Add(std::move(made)));
    EXPECT_EQ(Run("<CALL(8)><CALL(8)>"), "");
    EXPECT_EQ(scenario.PopQueuedConversation(), eight);
    EXPECT_EQ(scenario.PopQueuedConversation(), nullptr);

    eight->Running = true;
    eight->Texts = {"<CALL(8)>"};
    EXPECT_EQ(eight->GetText(0), "");
    EXPECT_EQ(scenario.PopQueuedConversation(), nullptr) << "a conversation calling itself";
}

} // namespace
