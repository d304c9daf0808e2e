// Where a unit may stand. Placing units on the map is the scenario's
// (TScenario::PlaceUnit and its relatives, UnitPlacement.cpp).
#pragma once

namespace GameData {

class TGroup;
class TScenario;

// On the map, passable, and neither a group (other than ignore) nor a city or
// building on it.
bool IsCellFree(const TScenario& scenario, int x, int y, const TGroup* ignore = nullptr);

} // namespace GameData
