// The corpse a dead unit leaves on the map: the last frame of its dying sprite.
#pragma once

#include <memory>

namespace GameData {

class TNaturalCorpse;
class TScenario;
class TUnit;

// Null when the unit's prototype names no dying sprite for the direction.
std::unique_ptr<TNaturalCorpse> MakeUnitCorpse(TScenario& scenario, const TUnit& unit, int x, int y,
                                               int direction);

} // namespace GameData
