// What the world model needs of a computer player's planner. The computer player's
// library implements it and installs its factory in the scenario.
#pragma once

namespace GameData {

class TPlayer;

class TComputerPlayer {
public:
    virtual ~TComputerPlayer() = default;
    // The whole turn, on the player's worker thread: posts actions, waits for each,
    // and returns once its end of turn has been taken.
    virtual void PlayTurn() = 0;
};

// Placeholder until the computer player's library lands: it plays no move and ends
// its turn at once.
class TEndTurnPlanner : public TComputerPlayer {
public:
    explicit TEndTurnPlanner(TPlayer& player) : Player(player) {}
    void PlayTurn() override;

    TPlayer& Player;
};

} // namespace GameData
