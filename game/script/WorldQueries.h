// What scripts ask of the world model about where units stand and who owns them.
#pragma once

#include <cstdint>

namespace GameData {

class TMapObject;
class TScenario;
class TCity;
class TUnit;

// The group map object holding the unit; null for a unit in a city or loose.
const TMapObject* GroupOfUnit(const TUnit& unit);
// The city map object holding the unit; null otherwise.
const TMapObject* CityOfUnit(const TUnit& unit);
// Index of the player owning the unit's group or city; -1 for none.
int PlayerIndexOfUnit(const TScenario& scenario, const TUnit& unit);
// The city with that identifier; null when none.
const TCity* FindCity(const TScenario& scenario, int32_t id);
// Whether the player index names one of the scenario's players.
bool IsPlayerIndex(const TScenario& scenario, int32_t index);

} // namespace GameData
