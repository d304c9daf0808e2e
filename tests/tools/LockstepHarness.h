// Two peers kept in lockstep: a seeded driver makes the actions a game's players
// would post (group moves, split marks and merges, city moves, purchases, ends of
// turn) along with malformed and
// out-of-range ones, and an executor gives them their effect as the game object
// would. Refused actions change nothing.
#pragma once

#include "engine/core/Random.h"
#include "game/world/players/PlayerAction.h"
#include "game/world/scenario/Scenario.h"

#include <cstdint>
#include <memory>

namespace LevelTests {

class TActionDriver {
public:
    explicit TActionDriver(uint64_t seed) : State(seed) {}
    // The next action for the scenario's current player: mostly well-formed ones,
    // every fifth malformed, and an end of turn at least every twelfth.
    GameData::TPlayerAction Next(const GameData::TScenario& scenario);
    // An action every peer must refuse: unknown codes, objects and units, places
    // and players out of range.
    GameData::TPlayerAction Malformed(const GameData::TScenario& scenario);

private:
    uint32_t Draw();
    uint32_t Below(uint32_t n) { return n == 0 ? 0 : Draw() % n; }
    uint32_t AnyUnitID(const GameData::TScenario& scenario);

    uint64_t State;
    int SinceEndOfTurn = 0;
};

// False when the action was refused: by validation or by the world itself.
bool ExecuteAction(GameData::TScenario& scenario, const GameData::TPlayerAction& action);

// One machine of a networked game: its scenario and the game's random states,
// which the process keeps in one place, so each peer swaps its own in to act.
struct TPeer {
    std::unique_ptr<GameData::TScenario> Scenario;
    Base::TRandomSeed Seed{};
    Base::TRandomSeed AISeed{};

    // ExecuteAction with this peer's random states. Visual variety draws from the
    // scenario's own plain generator, which the peer's scenario carries.
    bool Execute(const GameData::TPlayerAction& action);
};

// Every player played from this machine, so no worker thread runs behind the harness.
void MakeAllPlayersLocal(GameData::TScenario& scenario);

} // namespace LevelTests
