// Commands that read the talking group and the turn, call another conversation,
// and steer the computer players. Steering never touches a planner's tasks: it
// queues a line on the planner that owns the task, army or unit, which carries it
// out when it next plans.
#include "game/script/WorldQueries.h"
#include "game/script/commands/CommandHandlers.h"
#include "game/script/commands/CommandSupport.h"
#include "game/world/groups/Group.h"
#include "game/world/players/ComputerPlayer.h"
#include "game/world/scenario/Scenario.h"
#include "platform/classlib/Exception.h"

#include <vector>

namespace GameData {

using ClassLib::AnsiString;
using ClassLib::Format;
using ClassLib::IntToStr;

namespace {

int32_t OnlyParameter(TConversation& c, AnsiString& params) {
    const int32_t value = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    return value;
}

// The first player, in scenario order, whose planner the test accepts; null for none.
template <class Test>
TPlayer* FirstPlayerWhose(const TConversation& c, Test test) {
    for (TPlayer* player : ScenarioOf(c).Players)
        if (player->AI && test(*player->AI))
            return player;
    return nullptr;
}

TPlayer* TaskOwner(const TConversation& c, int32_t taskID) {
    return FirstPlayerWhose(
        c, [&](const TComputerPlayer& ai) { return ai.HasTask(uint32_t(taskID)); });
}

TPlayer* ArmyOwner(const TConversation& c, int32_t armyID) {
    return FirstPlayerWhose(
        c, [&](const TComputerPlayer& ai) { return ai.HasArmy(uint32_t(armyID)); });
}

// A planner of a player no computer plays keeps no queue and refuses the line: it
// would never be carried out, so it is dropped without a message. A full queue
// becomes the command's error.
template <class Write>
void Queue(const TConversation& c, Write write) {
    try {
        write();
    } catch (const ClassLib::Exception& e) {
        c.ScriptError(e.Message);
    }
}

AnsiString UnitMessage(const char* command, int32_t id, const char* problem) {
    return AnsiString(command) + " Unit with id: " + IntToStr(id) + problem;
}

} // namespace

bool GetUnitsInGroupCommand(TConversation& c, AnsiString& params, AnsiString&) {
    c.CheckNoMoreParameters(params);
    c.Locals[0] = c.TalkingGroup ? c.TalkingGroup->UnitCount() : 0;
    return true;
}

bool GetUnitIDCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t index = OnlyParameter(c, params);
    const TGroup* group = c.TalkingGroup;
    if (!group)
        c.ScriptError("No group to get UnitID from!");
    if (index < 0 || index >= group->UnitCount())
        c.ScriptError("Bad unit index!");
    c.Locals[0] = int32_t(group->UnitAt(index)->ID);
    return true;
}

bool ActivateTaskCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t taskID = OnlyParameter(c, params);
    TPlayer* owner = TaskOwner(c, taskID);
    if (!owner)
        c.ScriptError(Format("Task with given ID not found: %d", taskID));
    Queue(c, [&] { owner->AI->QueueActivateTask(uint32_t(taskID)); });
    return true;
}

bool DeactivateTaskCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t taskID = OnlyParameter(c, params);
    TPlayer* owner = TaskOwner(c, taskID);
    if (!owner)
        c.ScriptError(Format("Task with given ID not found: %d", taskID));
    Queue(c, [&] { owner->AI->QueueDeactivateTask(uint32_t(taskID)); });
    return true;
}

bool AssignUnitsCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t taskID = c.NextExpression(params);
    const std::vector<int32_t> unitIDs = ReadUnitList(c, params);
    if (unitIDs.empty())
        c.ScriptError(Format("Command should have at least %d parameters!", 1));
    TPlayer* owner = TaskOwner(c, taskID);
    if (!owner)
        c.ScriptError(Format("Task with given ID not found: %d", taskID));
    TScenario& scenario = ScenarioOf(c);
    const int ownerIndex = scenario.IndexOfPlayer(owner);
    for (const int32_t id : unitIDs) {
        const TUnit* unit = FindUnit(c, id);
        if (!unit)
            continue;
        if (IsOffline(*unit))
            c.ScriptError(UnitMessage("[AssignUnits]", id, " is offline!"));
        if (PlayerIndexOf(scenario, *unit) != ownerIndex)
            c.ScriptError(UnitMessage("[AssignUnits]", id, " doesn't have good player!"));
        if (!owner->AI->HasAIUnit(*unit))
            c.ScriptError(UnitMessage("[AssignUnits]", id, " doesn't have an AIUnit!"));
        Queue(c, [&] { owner->AI->QueueAssignUnitTask(uint32_t(id), uint32_t(taskID)); });
    }
    return true;
}

bool UnassignUnitsCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const std::vector<int32_t> unitIDs = ReadUnitList(c, params);
    if (unitIDs.empty())
        c.ScriptError("[UnAssignUnits] Command should have at least 1 parameter!");
    for (const int32_t id : unitIDs) {
        const TUnit* unit = FindUnit(c, id);
        if (!unit)
            continue;
        TPlayer* holder =
            FirstPlayerWhose(c, [&](const TComputerPlayer& ai) { return ai.HasAIUnit(*unit); });
        if (!holder)
            c.ScriptError(UnitMessage("[UnAssignUnits]", id, " doesn't have an AI unit!"));
        Queue(c, [&] { holder->AI->QueueUnassignUnitTask(uint32_t(id)); });
    }
    return true;
}

bool AssignArmyCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t taskID = c.NextExpression(params);
    const int32_t armyID = c.NextExpression(params);
    c.CheckNoMoreParameters(params);
    TPlayer* owner = TaskOwner(c, taskID);
    if (!owner)
        c.ScriptError(AnsiString("[AssignArmy] Task with given ID not found: ") + IntToStr(taskID));
    // The army is the planner's to find when it carries the line out.
    Queue(c, [&] { owner->AI->QueueAssignArmyTask(uint32_t(armyID), uint32_t(taskID)); });
    return true;
}

bool UnassignArmyCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t armyID = OnlyParameter(c, params);
    TPlayer* owner = ArmyOwner(c, armyID);
    if (!owner)
        c.ScriptError(AnsiString("[UnAssignArmy] Army with given ID not found: ") +
                      IntToStr(armyID));
    Queue(c, [&] { owner->AI->QueueUnassignArmyTask(uint32_t(armyID)); });
    return true;
}

bool DeleteTaskCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t taskID = OnlyParameter(c, params);
    TPlayer* owner = TaskOwner(c, taskID);
    if (!owner)
        c.ScriptError(AnsiString("[DeleteTask] Task with given ID not found: ") + IntToStr(taskID));
    Queue(c, [&] { owner->AI->QueueDeleteTask(uint32_t(taskID)); });
    return true;
}

bool AssignUnitsArmyCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const int32_t armyID = c.NextExpression(params);
    const std::vector<int32_t> unitIDs = ReadUnitList(c, params);
    if (unitIDs.empty())
        c.ScriptError("[AssignUnitsArmy] Command should have at least 2 parameters!");
    TPlayer* owner = ArmyOwner(c, armyID);
    if (!owner)
        c.ScriptError(AnsiString("[AssignUnitsArmy] Army with given ID not found: ") +
                      IntToStr(armyID));
    for (const int32_t id : unitIDs) {
        const TUnit* unit = FindUnit(c, id);
        if (!unit)
            continue;
        if (IsOffline(*unit))
            c.ScriptError(UnitMessage("[AssignUnitsArmy]", id, " is offline!"));
        // Whose the unit is matters not: only that the army's planner has a record of it.
        if (!owner->AI->HasAIUnit(*unit))
            c.ScriptError(UnitMessage("[AssignUnitsArmy]", id, " doesn't have an AIUnit!"));
        Queue(c, [&] { owner->AI->QueueAddUnitArmy(uint32_t(id), uint32_t(armyID)); });
    }
    return true;
}

bool UnassignUnitsArmyCommand(TConversation& c, AnsiString& params, AnsiString&) {
    const std::vector<int32_t> unitIDs = ReadUnitList(c, params);
    if (unitIDs.empty())
        c.ScriptError("[UnAssignUnitsArmy] Command should have at least 1 parameter!");
    for (const int32_t id : unitIDs) {
        const TUnit* unit = FindUnit(c, id);
        if (!unit)
            continue;
        bool held = false;
        for (TPlayer* player : ScenarioOf(c).Players) {
            if (!player->AI || !player->AI->HasAIUnit(*unit))
                continue;
            if (held)
                c.ScriptError("AIUnit in two AIHandlers!");
            Queue(c, [&] { player->AI->QueueRemoveUnitArmy(uint32_t(id)); });
            held = true;
        }
        if (!held)
            c.ScriptError(UnitMessage("[UnAssignUnitsArmy]", id, " doesn't have an AI Unit!"));
    }
    return true;
}

bool GetTurnCommand(TConversation& c, AnsiString& params, AnsiString&) {
    c.CheckNoMoreParameters(params);
    c.Locals[0] = ScriptTurn(ScenarioOf(c));
    return true;
}

bool CallCommand(TConversation& c, AnsiString& params, AnsiString&) {
    TScenarioConversation& called = ConversationOf(c, OnlyParameter(c, params));
    // Not queued again while queued or running: a conversation may call itself.
    ScenarioOf(c).QueueConversation(&called);
    return true;
}

} // namespace GameData
