// What the world model and the scripts need of a computer player's planner. The
// computer player's library implements it and installs its factory in the scenario;
// the scripts reach a planner only through this interface.
#pragma once

#include "engine/core/StreamData.h"

#include <cstdint>

namespace GameData {

class TPlayer;
class TUnit;

class TComputerPlayer {
public:
    virtual ~TComputerPlayer() = default;
    // The whole turn, on the player's worker thread: posts actions, waits for each,
    // and returns once its end of turn has been taken.
    virtual void PlayTurn() = 0;
    // A unit joined this player's groups or cities: the planner starts its record.
    virtual bool AddAIUnit(TUnit& unit) = 0;
    // A unit is leaving this player (called before it goes): its record leaves every
    // planner's tasks and armies, and with dropTargetingTasks the tasks aimed at it go
    // too. False when the planner had no record of it.
    virtual bool RemoveAIUnit(TUnit& unit, bool dropTargetingTasks) = 0;
    // Records of units that left are only marked while a worker may hold them; this
    // frees them. Called where no worker of this scenario runs.
    virtual void FreeRemovedUnits() {}

    // Look-ups the scripts steer by.
    virtual bool HasTask(uint32_t /*taskID*/) const { return false; }
    virtual bool HasArmy(uint32_t /*armyID*/) const { return false; }
    virtual bool HasAIUnit(const TUnit& /*unit*/) const { return false; }

    // The script command lines, carried out at the planner's next planning step.
    // False when nothing was queued: only a computer-played player's planner keeps a
    // queue. A full queue raises "The computer player's script queue is full.".
    virtual bool QueueDeleteTask(uint32_t /*taskID*/) { return false; }
    virtual bool QueueAssignUnitTask(uint32_t /*unitID*/, uint32_t /*taskID*/) { return false; }
    virtual bool QueueUnassignUnitTask(uint32_t /*unitID*/) { return false; }
    virtual bool QueueAssignArmyTask(uint32_t /*armyID*/, uint32_t /*taskID*/) { return false; }
    virtual bool QueueUnassignArmyTask(uint32_t /*armyID*/) { return false; }
    virtual bool QueueAddUnitArmy(uint32_t /*unitID*/, uint32_t /*armyID*/) { return false; }
    virtual bool QueueRemoveUnitArmy(uint32_t /*unitID*/) { return false; }
    virtual bool QueueActivateTask(uint32_t /*taskID*/) { return false; }
    virtual bool QueueDeactivateTask(uint32_t /*taskID*/) { return false; }

    // The planner's record inside the player's record. This base keeps no units,
    // tasks, armies or lines: it writes the empty record and refuses a stored one
    // that is not empty, which only the computer player's library can read.
    virtual void LoadFromStream(Data::TStream& stream);
    virtual void SaveToStream(Data::TStream& stream) const;

    uint32_t ID = 0;
};

// The planner of a scenario made without the computer player's library (tools and
// tests of the world alone): it plays no move and ends its turn at once.
class TEndTurnPlanner : public TComputerPlayer {
public:
    explicit TEndTurnPlanner(TPlayer& player) : Player(player) {}
    void PlayTurn() override;
    bool AddAIUnit(TUnit&) override { return true; }
    bool RemoveAIUnit(TUnit&, bool) override { return false; }

    TPlayer& Player;
};

} // namespace GameData
