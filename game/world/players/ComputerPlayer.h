// What the world model needs of a computer player's planner. The computer player's
// library implements it and installs its factory in the scenario.
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
    // The player's units as the planner tracks them: a unit joins the player's
    // groups or cities, or leaves them (called before the unit goes).
    virtual void AddAIUnit(TUnit& unit) = 0;
    virtual void RemoveAIUnit(TUnit& unit) = 0;

    // Stored inside the player's record. Planners keep their own records after
    // their identifier; one that keeps none stores the identifier alone.
    virtual void LoadFromStream(Data::TStream& stream) { ID = stream.ReadValue<uint32_t>(); }
    virtual void SaveToStream(Data::TStream& stream) const { stream.WriteValue(ID); }

    uint32_t ID = 0;
};

// Placeholder until the computer player's library lands: it plays no move and ends
// its turn at once, so it keeps no record of the player's units.
class TEndTurnPlanner : public TComputerPlayer {
public:
    explicit TEndTurnPlanner(TPlayer& player) : Player(player) {}
    void PlayTurn() override;
    void AddAIUnit(TUnit&) override {}
    void RemoveAIUnit(TUnit&) override {}

    TPlayer& Player;
};

} // namespace GameData
