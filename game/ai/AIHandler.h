// A player's computer-player planner: its records, its script queue and, for a
// computer-played player, the whole turn on the player's worker thread.
#pragma once

#include "game/ai/AIScriptStack.h"
#include "game/ai/AITask.h"
#include "game/ai/AIUnit.h"
#include "game/world/players/ComputerPlayer.h"
#include "game/world/players/PlayerAction.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace GameData {
class TGroup;
class TMapObject;
class TPlayer;
class TScenario;
class TUnit;
} // namespace GameData

namespace AIHandler {

class TAIHandler : public GameData::TComputerPlayer {
public:
    explicit TAIHandler(GameData::TPlayer& player);
    ~TAIHandler() override;

    void LoadFromStream(Data::TStream& stream) override;
    void SaveToStream(Data::TStream& stream) const override;
    void Clear();
    // Above every counter of the scenario's planners, so a script's ID reaches one
    // record only.
    uint32_t NextID();

    // The world's notifications (AIHandler.cpp).
    bool AddAIUnit(GameData::TUnit& unit) override;
    bool RemoveAIUnit(GameData::TUnit& unit, bool dropTargetingTasks) override;
    void FreeRemovedUnits() override;
    void DeleteTask(TAITask& task);

    // Look-ups in list order; null when nothing matches. Records marked removed are
    // not found.
    TAIUnit* FindAIUnit(const GameData::TUnit* unit) const;
    TAIUnit* FindAIUnitByUnitID(uint32_t unitID) const;
    TAITask* FindTaskByID(uint32_t id) const;
    TAITask* FindTaskOfAIUnit(const TAIUnit& unit) const;
    TAIArmy* FindArmyByID(uint32_t id) const;
    TAIArmy* FindArmyOfAIUnit(const TAIUnit& unit) const;
    bool HasTask(uint32_t taskID) const override { return FindTaskByID(taskID) != nullptr; }
    bool HasArmy(uint32_t armyID) const override { return FindArmyByID(armyID) != nullptr; }
    bool HasAIUnit(const GameData::TUnit& unit) const override {
        return FindAIUnit(&unit) != nullptr;
    }

    // The script queue (AIScriptCommands.cpp).
    bool QueueDeleteTask(uint32_t taskID) override;
    bool QueueAssignUnitTask(uint32_t unitID, uint32_t taskID) override;
    bool QueueUnassignUnitTask(uint32_t unitID) override;
    bool QueueAssignArmyTask(uint32_t armyID, uint32_t taskID) override;
    bool QueueUnassignArmyTask(uint32_t armyID) override;
    bool QueueAddUnitArmy(uint32_t unitID, uint32_t armyID) override;
    bool QueueRemoveUnitArmy(uint32_t unitID) override;
    bool QueueActivateTask(uint32_t taskID) override;
    bool QueueDeactivateTask(uint32_t taskID) override;
    // False when the queue was empty; otherwise performs every line, oldest first.
    bool ExecuteScriptCommands();

    // The danger the player's enemies pose to a cell; 0 outside the grid.
    int32_t DangerAt(int x, int y) const;

    // The turn (AITurn.cpp).
    void PlayTurn() override;
    void RunPasses();
    void RefreshUnits();
    void UpdateTaskTargets();
    bool UpdateTasks();
    void GenerateAttackTasks();
    void GenerateWanderTasks();
    void ProcessSightings();
    void AssignTasks();
    bool BuildMultiTasks();
    void ExecuteMultiTask(TAIMultiTask& multiTask);

    // Posting (AIActions.cpp): the world lock is let go while the main thread
    // executes the action, and taken again before the result is read.
    int32_t PostAndWait(const GameData::TPlayerAction& action);
    int32_t PostReport();
    int32_t PostSelect(const GameData::TMapObject* object);
    // acMoveGroup; "spotted" on arrival counts as done.
    int32_t PostMove(int x, int y, uint8_t p7, int32_t p5, const GameData::TMapObject* object,
                     bool intoLocation, uint32_t p3, bool toGroup);
    int32_t PostBreakCamp(const GameData::TGroup& group);
    // Lets go of the world for good: the main thread joins this worker before it
    // answers, so only the taking of the action is waited for.
    void PostEndTurn();
    // The selected group (or the selected city's gate group) walks to the cell, or
    // towards it when it cannot get there; strict: only the cell itself counts.
    int32_t MoveToCell(int x, int y, uint8_t p7, int32_t p5, bool strict);
    // Walks next to the object and fights (mode 1) or meets (mode 2) it, or towards it.
    int32_t MoveAgainst(const GameData::TMapObject& object, int mode, uint8_t p7, int32_t p5);

    // The executors (AIExecutors.cpp): true to run the multitask again.
    bool ExecuteAttackGroup(TAITask& task);

    GameData::TPlayer& Player;
    GameData::TScenario& Scenario;
    uint32_t PassFlag = 0;
    TAITaskList Tasks;
    TAIMultiTaskList MultiTasks;
    TAIUnitList AIUnits;
    TAIVirtualUnitList Available;
    TAIArmyList Armies;
    TAIScriptStack ScriptStack;
    std::vector<int32_t> DangerGrid; // by cell, DangerWidth cells a row
    int DangerWidth = 0;
    uint32_t IDCounter = 10000;

private:
    // Every planner of the scenario, this one included.
    std::vector<TAIHandler*> ScenarioHandlers() const;
    // Takes a unit's record out of every list that may point at it and frees it.
    void FreeAIUnit(TAIUnit& unit);

    bool IsComputerPlayed() const;
    bool QueueLine(const ClassLib::AnsiString& line);
    void PerformScriptLine(ClassLib::AnsiString line);

    // Held while the turn reads the world; see PostAndWait.
    std::unique_lock<std::mutex> FWorld;
    // Task types whose missing executor this turn has reported (a bit per type).
    uint32_t FMissingExecutorsSaid = 0;
    // EThreadTermination once the player's worker is asked to stop.
    void CheckStop() const;
};

// Gives every player of scenarios made from services a computer-player planner.
void InstallComputerPlayers(GameData::TScenario& services);
// Every planner learns of the units its player holds that it keeps no record of, as
// of a unit joining: a scenario stored without planner records starts with none.
void GiveUnitsToPlanners(GameData::TScenario& scenario);

} // namespace AIHandler
