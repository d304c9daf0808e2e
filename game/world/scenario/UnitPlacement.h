// Where a unit may stand, and putting a new unit on the map as a group of its own.
#pragma once

#include <cstdint>
#include <memory>

namespace GameData {

class TGroup;
class TScenario;
class TUnit;

// On the map, passable, and neither a group (other than ignore) nor a city or
// building on it.
bool IsCellFree(const TScenario& scenario, int x, int y, const TGroup* ignore = nullptr);
// The unit becomes a new group of the player on the free cell nearest to (x, y):
// rings of cells are searched outwards and the nearest free cell of the first ring
// that has one is taken. The unit keeps its identifier, which must not be in use.
// With no free cell "There is no place for new unit in scenario!" is raised and the
// unit is freed.
TGroup* PlaceNewUnit(TScenario& scenario, uint8_t player, int x, int y,
                     std::unique_ptr<TUnit> unit);

} // namespace GameData
