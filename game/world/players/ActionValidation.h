// Actions come from the screens, the computer player and other machines alike; the
// executor checks each against the world before giving it its effect.
#pragma once

#include "game/world/players/PlayerAction.h"

namespace GameData {

class TScenario;

// 0 when the player on turn may execute the action. Only state that every machine
// shares is consulted, never what one machine's screens show: an action naming an
// object that does not exist, a cell off the map or an argument out of range, an
// order without a selected (or, for a move, active) group, a town action while the
// acting player's group has entered no town, fight commands while no fight runs, or
// an answer while no conversation waits for one is refused with "cannot go there"
// (arCannotGoThere); every machine refuses it alike, so the games stay in step.
int32_t ValidateAction(const TScenario& scenario, const TPlayerAction& action);

} // namespace GameData
