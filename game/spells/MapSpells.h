// Map spells: whether one would take effect on a cell (the computer player's
// prediction), what each does when it lands, and the same rules on scratch copies
// for the computer player's rating.
#pragma once

#include "engine/core/Random.h"

#include <cstdint>
#include <span>

namespace GameData {

class TScenario;
class TUnit;

constexpr int LastMapSpell = 61;

// Uses no random draw and changes nothing.
bool CanCastMapSpell(TScenario& scenario, const TUnit& caster, int spellID, int x, int y);

// The spell lands on cell (x, y): its rule, then the caster's experience and kill
// rewards, the sightings of the players who see it, the dead flagged and the
// selected group's reachable area refreshed. Draws from the game's random state.
// Spell 33's visual draws the radius it revealed.
struct TMapSpellOutcome {
    bool Affected = false;
    int RevealedRadius = 0;
};
TMapSpellOutcome CastMapSpell(TScenario& scenario, TUnit& caster, int spellID, int x, int y);

// The unit-level part of spells 5 to 60 on copies, contests judged by their
// expectation and plain draws from the given state (the computer player's own).
// The units stand as one group on the target cell; other IDs change nothing. What
// a spell does to its caster is done to a copy: the caster stays as it is.
void ApplySpellToUnits(TScenario& scenario, const TUnit& caster, int spellID,
                       std::span<TUnit* const> units, Base::TRandomSeed& random);

// One sighting of kind 2 for every player that sees a cell within the square of the
// radius around (x, y) and has not been told yet.
void AnnounceSpell(TScenario& scenario, int radius, int spellID, int x, int y, int casterCellX,
                   int casterCellY, uint32_t casterID);

// Spell 33's radius in cells for a caster of the level: the parameters may shrink it
// to nothing, never below.
int RevealRadius(int p0, int p1, int level);

} // namespace GameData
