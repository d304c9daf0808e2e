// Arithmetic shared by the spell rules: parameters, percentages and values scaled
// for a player's difficulty.
#pragma once

#include "game/world/data/Prototypes.h"
#include "game/world/units/Unit.h"

#include <cstdint>

namespace GameData {

// Battle spells number their parameters P1..P7 from the first stored one.
inline int64_t SpellParam(const Data2::TSpellPrototype& spell, int k) {
    return k >= 1 && k <= Data2::SpellParamCount ? spell.Params[k - 1] : 0;
}

// Whether the spell is cast in the pass of that phase and level. A spell of phase 0 or
// level 0 belongs to every pass, and so does a pass of phase or level 0.
inline bool IsSpellOfPass(const Data2::TSpellPrototype& spell, int level, int phase) {
    if (phase != 0 && spell.Phase != 0 && phase != spell.Phase)
        return false;
    return level == 0 || spell.MinLevel == 0 || level == spell.MinLevel;
}

// value x percent / 100, the product in 64 bits, truncating toward zero.
inline int64_t Percent(int64_t value, int64_t percent) {
    return value * percent / 100;
}

// The value scaled by the difficulty of the unit's player, when it has one.
inline int32_t ScaledForPlayer(const TUnit& unit, int64_t value) {
    const int32_t bounded = SaturateInt32(value);
    const TUnitPlayer* player = unit.GetPlayer();
    return player ? player->ApplyDifficulty(bounded) : bounded;
}

} // namespace GameData
