// What scripts ask of the world model about who owns a unit.
#pragma once

#include <cstdint>

namespace GameData {

class TScenario;
class TUnit;

// Index of the player owning the unit's group or city; -1 for none.
int PlayerIndexOfUnit(const TScenario& scenario, const TUnit& unit);
// Whether the player index names one of the scenario's players.
bool IsPlayerIndex(const TScenario& scenario, int32_t index);
// The turn as scripts read it: a signed 16-bit count.
int32_t ScriptTurn(const TScenario& scenario);

} // namespace GameData
