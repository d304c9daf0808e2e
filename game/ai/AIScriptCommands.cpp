// The script command lines: scripts and executors queue them as text, the planner
// carries them out between its own steps.
#include "game/ai/AIHandler.h"

#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"

#include <cstdio>
#include <initializer_list>

namespace AIHandler {

namespace {

using ClassLib::AnsiString;

AnsiString Line(const char* keyword, std::initializer_list<uint32_t> ids) {
    AnsiString line = keyword;
    for (const uint32_t id : ids)
        line += " " + std::to_string(id);
    return line;
}

// The unit's record, when the unit is still in the scenario.
TAIUnit* RecordOfUnit(const TAIHandler& handler, uint32_t unitID) {
    return handler.Scenario.Units.FindByID(unitID) ? handler.FindAIUnitByUnitID(unitID) : nullptr;
}

void DeleteTask(TAIHandler& handler, const uint32_t* id) {
    if (TAITask* task = handler.FindTaskByID(id[0]))
        handler.DeleteTask(*task);
}

void AssignUnitTask(TAIHandler& handler, const uint32_t* id) {
    TAIUnit* const unit = RecordOfUnit(handler, id[0]);
    TAITask* const task = handler.FindTaskByID(id[1]);
    if (unit && task)
        task->AssignUnit(*unit);
}

void UnassignUnitTask(TAIHandler& handler, const uint32_t* id) {
    if (TAIUnit* unit = RecordOfUnit(handler, id[0]))
        if (TAITask* task = handler.FindTaskOfAIUnit(*unit))
            task->UnassignUnit(*unit);
}

void AssignArmyTask(TAIHandler& handler, const uint32_t* id) {
    TAIArmy* const army = handler.FindArmyByID(id[0]);
    TAITask* const task = handler.FindTaskByID(id[1]);
    if (army && task)
        task->AssignArmy(*army);
}

void UnassignArmyTask(TAIHandler& handler, const uint32_t* id) {
    TAIArmy* const army = handler.FindArmyByID(id[0]);
    if (!army)
        return;
    for (TAITask* task : handler.Tasks)
        for (const TAIUnit* member : army->Members)
            if (task->HasAIUnit(*member)) {
                task->UnassignArmy(*army);
                return;
            }
}

void AddUnitArmy(TAIHandler& handler, const uint32_t* id) {
    TAIUnit* const unit = RecordOfUnit(handler, id[0]);
    TAIArmy* const army = handler.FindArmyByID(id[1]);
    if (unit && army)
        army->AddUnit(*unit);
}

void RemoveUnitArmy(TAIHandler& handler, const uint32_t* id) {
    if (TAIUnit* unit = RecordOfUnit(handler, id[0]))
        if (TAIArmy* army = handler.FindArmyOfAIUnit(*unit))
            army->RemoveUnit(*unit);
}

void ActivateTask(TAIHandler& handler, const uint32_t* id) {
    TAITask* const task = handler.FindTaskByID(id[0]);
    if (task && task->Target().IsValid()) {
        task->Target().UpdatePosition();
        task->Active = 1;
    }
}

void DeactivateTask(TAIHandler& handler, const uint32_t* id) {
    if (TAITask* task = handler.FindTaskByID(id[0]))
        task->Active = 0;
}

struct TScriptCommand {
    const char* Keyword;
    int Arguments;
    void (*Perform)(TAIHandler&, const uint32_t*);
};

constexpr TScriptCommand Commands[] = {
    {"DELETE_TASK", 1, DeleteTask},
    {"ASSIGN_UNIT_TASK", 2, AssignUnitTask},
    {"UNASSIGN_UNIT_TASK", 1, UnassignUnitTask},
    {"ASSIGN_ARMY_TASK", 2, AssignArmyTask},
    {"UNASSIGN_ARMY_TASK", 1, UnassignArmyTask},
    {"ADD_UNIT_ARMY", 2, AddUnitArmy},
    {"REMOVE_UNIT_ARMY", 1, RemoveUnitArmy},
    {"ACTIVATE_TASK", 1, ActivateTask},
    {"DEACTIVATE_TASK", 1, DeactivateTask},
};

} // namespace

bool TAIHandler::IsComputerPlayed() const {
    return Player.Type == GameData::ptComputer;
}

bool TAIHandler::QueueLine(const AnsiString& line) {
    // A human player's planner never plays a pass, so its queue would only grow.
    if (!IsComputerPlayed())
        return false;
    if (!ScriptStack.Push(line))
        throw ClassLib::Exception("The computer player's script queue is full.");
    return true;
}

bool TAIHandler::QueueDeleteTask(uint32_t taskID) {
    return QueueLine(Line("DELETE_TASK", {taskID}));
}

bool TAIHandler::QueueAssignUnitTask(uint32_t unitID, uint32_t taskID) {
    return QueueLine(Line("ASSIGN_UNIT_TASK", {unitID, taskID}));
}

bool TAIHandler::QueueUnassignUnitTask(uint32_t unitID) {
    return QueueLine(Line("UNASSIGN_UNIT_TASK", {unitID}));
}

bool TAIHandler::QueueAssignArmyTask(uint32_t armyID, uint32_t taskID) {
    return QueueLine(Line("ASSIGN_ARMY_TASK", {armyID, taskID}));
}

bool TAIHandler::QueueUnassignArmyTask(uint32_t armyID) {
    return QueueLine(Line("UNASSIGN_ARMY_TASK", {armyID}));
}

bool TAIHandler::QueueAddUnitArmy(uint32_t unitID, uint32_t armyID) {
    return QueueLine(Line("ADD_UNIT_ARMY", {unitID, armyID}));
}

bool TAIHandler::QueueRemoveUnitArmy(uint32_t unitID) {
    return QueueLine(Line("REMOVE_UNIT_ARMY", {unitID}));
}

bool TAIHandler::QueueActivateTask(uint32_t taskID) {
    return QueueLine(Line("ACTIVATE_TASK", {taskID}));
}

bool TAIHandler::QueueDeactivateTask(uint32_t taskID) {
    return QueueLine(Line("DEACTIVATE_TASK", {taskID}));
}

bool TAIHandler::ExecuteScriptCommands() {
    if (ScriptStack.Count == 0)
        return false;
    while (ScriptStack.Count >= 1) {
        const AnsiString line = ScriptStack.Pop();
        try {
            PerformScriptLine(line);
        } catch (const ClassLib::Exception& e) {
            // One bad line must not cost the turn or the lines behind it.
            std::fprintf(stderr, "%s's computer player dropped the script line \"%s\": %s\n",
                         Player.Name.c_str(), line.c_str(), e.Message.c_str());
        }
    }
    return true;
}

void TAIHandler::PerformScriptLine(AnsiString line) {
    const AnsiString keyword = TAIScriptStack::NextToken(line);
    for (const TScriptCommand& command : Commands) {
        if (keyword != command.Keyword)
            continue;
        uint32_t ids[2] = {};
        for (int i = 0; i < command.Arguments; ++i)
            ids[i] = uint32_t(ClassLib::StrToInt(TAIScriptStack::NextToken(line)));
        command.Perform(*this, ids);
        return;
    }
}

} // namespace AIHandler
