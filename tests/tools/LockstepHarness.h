// Two peers kept in lockstep: a seeded driver makes the actions a game's players
// would post (selections, group moves, split marks and merges, town moves, purchases,
// ends of turn) along with malformed and out-of-range ones, and each peer's game
// object executes them with its own executor, as a networked game does.
#pragma once

#include "engine/core/Random.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/world/players/PlayerAction.h"
#include "game/world/scenario/Scenario.h"
#include "ui/game/Game.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace Main {
class TCityWindow;
class TFightDialog;
} // namespace Main

namespace LevelTests {

class TActionDriver {
public:
    explicit TActionDriver(uint64_t seed) : State(seed) {}
    // The next action for the scenario's current player: mostly well-formed ones,
    // every fifth malformed, and an end of turn at least every twelfth. An order for a
    // group not selected comes after the group's selection.
    GameData::TPlayerAction Next(const GameData::TScenario& scenario);
    // An action every peer must refuse: unknown codes, objects and units, places
    // and players out of range.
    GameData::TPlayerAction Malformed(const GameData::TScenario& scenario);

private:
    uint32_t Draw();
    uint32_t Below(uint32_t n) { return n == 0 ? 0 : Draw() % n; }
    uint32_t AnyUnitID(const GameData::TScenario& scenario);
    GameData::TPlayerAction GroupOrder(const GameData::TScenario& scenario);

    uint64_t State;
    int SinceEndOfTurn = 0;
    std::optional<GameData::TPlayerAction> FFollowUp;
};

// One machine of a networked game: its window system and game object (the screens
// headless), and the game's random states, which the process keeps in one place, so
// each peer swaps its own in to act.
class TPeer {
public:
    // Starts the scenario as a networked game with every player at this machine, so
    // no worker thread runs behind the harness.
    explicit TPeer(std::unique_ptr<GameData::TScenario> scenario);
    ~TPeer();

    struct TOutcome {
        int32_t Result = GameData::arPending; // pending while the map or a walk has yet to answer
        bool Refused = false;                 // by the executor, before anything changed
        bool operator==(const TOutcome&) const = default;
    };
    // Posts the action for the player on turn and lets the game execute it; a walk it
    // starts plays out over the updates that follow.
    TOutcome Execute(const GameData::TPlayerAction& action);

    GameData::TScenario& Scenario() const { return *FGame->Scenario; }
    // The fight dialog the program installs, so that attacks run and fight commands
    // reach it; returns it.
    Main::TFightDialog& InstallFightDialog();
    // The town window the program installs, so that town actions reach it.
    Main::TCityWindow& InstallTownWindow();

private:
    struct TSeedSwap;
    // Executes what the game left waiting (reports, the next turn's opening report),
    // as its next updates would, so that the next action finds the slot empty.
    void Settle();

    DXWin::TDXWindowSystem FWindows;
    std::unique_ptr<Main::TGame> FGame;
    Base::TRandomSeed FSeed{};
    Base::TRandomSeed FAISeed{};
    Base::TRandomSeed FSavedSeed{};
};

} // namespace LevelTests
