// Actions come from the screens, the computer player and other machines alike; the
// executor checks each against the world before giving it its effect.
#pragma once

#include "game/world/players/PlayerAction.h"

namespace GameData {

class TScenario;

// 0 when the action may be executed. An action naming an object that does not exist,
// a cell off the map or an argument out of range is refused with "cannot go there"
// (arCannotGoThere); every machine refuses it alike, so the games stay in step.
int32_t ValidateAction(const TScenario& scenario, const TPlayerAction& action);

} // namespace GameData
