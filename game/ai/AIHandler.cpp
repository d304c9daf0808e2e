#include "game/ai/AIHandler.h"

#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

#include <algorithm>

namespace AIHandler {

namespace {

// Non-owning lists: every occurrence goes.
template <typename List, typename Item>
void Purge(List& list, const Item* item) {
    for (int i = list.Count() - 1; i >= 0; --i)
        if (list[i] == item)
            list.Delete(i);
}

} // namespace

TAIHandler::TAIHandler(GameData::TPlayer& player)
    : Player(player), Scenario(*player.Scenario), FWorld(Scenario.PlannerLock, std::defer_lock) {}

TAIHandler::~TAIHandler() {
    // The lists that point at records go before the records.
    MultiTasks.Clear();
    Available.Clear();
    Tasks.Clear();
    Armies.Clear();
    AIUnits.Clear();
}

void TAIHandler::Clear() {
    PassFlag = 0;
    MultiTasks.Clear();
    // Available points into AIUnits: it cannot outlive them.
    Available.Clear();
    Tasks.Clear();
    Armies.Clear();
    AIUnits.Clear();
    ScriptStack.Clear();
}

std::vector<TAIHandler*> TAIHandler::ScenarioHandlers() const {
    std::vector<TAIHandler*> handlers;
    for (GameData::TPlayer* player : Scenario.Players)
        if (auto* handler = dynamic_cast<TAIHandler*>(player->AI.get()))
            handlers.push_back(handler);
    if (std::find(handlers.begin(), handlers.end(), this) == handlers.end())
        handlers.push_back(const_cast<TAIHandler*>(this));
    return handlers;
}

uint32_t TAIHandler::NextID() {
    uint32_t id = IDCounter;
    for (const TAIHandler* handler : ScenarioHandlers())
        id = std::max(id, handler->IDCounter);
    IDCounter = id + 1;
    return id;
}

bool TAIHandler::AddAIUnit(GameData::TUnit& unit) {
    auto record = std::make_unique<TAIUnit>(this);
    record->ID = NextID();
    record->Clear();
    record->Fitness->UnitID = unit.ID;
    record->Alive = 1;
    AIUnits.Add(std::move(record));
    return true;
}

bool TAIHandler::RemoveAIUnit(GameData::TUnit& unit, bool dropTargetingTasks) {
    TAIUnit* const record = FindAIUnit(&unit);
    if (!record)
        return false;
    record->DropTargetingTasks = dropTargetingTasks;
    const GameData::TPlayer* const current = Scenario.CurrentPlayer;
    if (current && current->IsThreadRunning())
        record->Removed = true; // a worker may hold it: freed between its steps
    else
        FreeAIUnit(*record);
    return true;
}

void TAIHandler::FreeRemovedUnits() {
    for (int i = AIUnits.Count() - 1; i >= 0; --i)
        if (AIUnits[i]->Removed)
            FreeAIUnit(*AIUnits[i]);
}

void TAIHandler::FreeAIUnit(TAIUnit& unit) {
    const uint32_t unitID = unit.Fitness->UnitID;
    for (TAIHandler* handler : ScenarioHandlers())
        for (int i = handler->Tasks.Count() - 1; i >= 0; --i) {
            TAITask* const task = handler->Tasks[i];
            if (unit.DropTargetingTasks && unitID != 0 && task->Target().TargetID == unitID)
                handler->DeleteTask(*task);
            else if (task->HasAIUnit(unit))
                task->RemoveUnit(unit);
        }
    if (TAIArmy* army = FindArmyOfAIUnit(unit))
        army->RemoveUnit(unit);
    // A stored army may list a unit whose own record names no army.
    for (TAIArmy* army : Armies)
        Purge(army->Members, &unit);
    for (TAIMultiTask* multiTask : MultiTasks)
        Purge(multiTask->Combined->Units, &unit);
    Purge(Available, &unit);
    AIUnits.Remove(&unit);
}

void TAIHandler::DeleteTask(TAITask& task) {
    task.UnassignAll();
    for (TAIMultiTask* multiTask : MultiTasks)
        Purge(multiTask->Members, &task);
    Tasks.Remove(&task);
}

TAIUnit* TAIHandler::FindAIUnit(const GameData::TUnit* unit) const {
    return unit ? FindAIUnitByUnitID(unit->ID) : nullptr;
}

TAIUnit* TAIHandler::FindAIUnitByUnitID(uint32_t unitID) const {
    for (TAIUnit* unit : AIUnits)
        if (!unit->Removed && unit->Fitness->UnitID == unitID)
            return unit;
    return nullptr;
}

TAITask* TAIHandler::FindTaskByID(uint32_t id) const {
    for (TAITask* task : Tasks)
        if (task->ID == id)
            return task;
    return nullptr;
}

TAITask* TAIHandler::FindTaskOfAIUnit(const TAIUnit& unit) const {
    for (TAITask* task : Tasks)
        if (task->HasAIUnit(unit))
            return task;
    return nullptr;
}

TAIArmy* TAIHandler::FindArmyByID(uint32_t id) const {
    for (TAIArmy* army : Armies)
        if (army->ID == id)
            return army;
    return nullptr;
}

TAIArmy* TAIHandler::FindArmyOfAIUnit(const TAIUnit& unit) const {
    for (TAIArmy* army : Armies)
        if (army->HasUnit(unit))
            return army;
    return nullptr;
}

int32_t TAIHandler::DangerAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= DangerWidth)
        return 0;
    const size_t index = size_t(y) * size_t(DangerWidth) + size_t(x);
    return index < DangerGrid.size() ? DangerGrid[index] : 0;
}

void InstallComputerPlayers(GameData::TScenario& services) {
    services.PlannerFactory = [](GameData::TPlayer& player) {
        return std::unique_ptr<GameData::TComputerPlayer>(std::make_unique<TAIHandler>(player));
    };
}

} // namespace AIHandler
