// Actions come from the screens, the computer player and other machines alike; the
// executor checks each against the world before giving it its effect.
#pragma once

#include "game/world/players/PlayerAction.h"

namespace GameData {

class TCity;
class TPlayer;
class TScenario;

// 0 when the player on turn may execute the action. Only state that every machine
// shares is consulted, never what one machine's screens show: an action naming an
// object that does not exist, a cell off the map or an argument out of range, an
// order without a selected (or, for a move, active) group, a town action while the
// acting player's group has entered no town, fight commands while no fight runs, or
// an answer while no conversation waits for one is refused with "cannot go there"
// (arCannotGoThere); every machine refuses it alike, so the games stay in step.
int32_t ValidateAction(const TScenario& scenario, const TPlayerAction& action);

// The town whose gate group the player's group has become by entering it; null when
// the player stands in none.
TCity* FindEnteredCity(const TScenario& scenario, const TPlayer& player);
// A move of a unit between the places of the town the player has entered: the
// player's own unit, standing in the place named, moved between the gate group, the
// defender rows (only in the player's own town) and the other units, into a place
// with room that takes it. Moving a defender onto its own row is valid and changes
// nothing.
bool IsValidCityMove(const TScenario& scenario, const TPlayer& player, uint32_t from,
                     uint32_t unitID, uint32_t to, int32_t row);

} // namespace GameData
