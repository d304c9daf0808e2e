// The ten eight-direction sprite sets of a unit, in the order of the prototype's
// sprite identifiers: five for the map, five for battle.
#pragma once

#include "game/world/data/Prototypes.h"

namespace GameData {

using Data2::UnitDirectionCount;
using Data2::UnitSpriteSetCount;

enum TUnitSpriteSet : int {
    usMapStanding = 0,
    usMapDying = 1,
    usMapWalking = 2,
    usNeverAcquired = 3,
    usMapCasting = 4,
    usBattleIdle = 5,
    usBattleDeath = 6,
    usBattleAnimation1 = 7,
    usBattleAttack = 8,
    usBattleSpellCast = 9,
};

constexpr bool IsBattleSpriteSet(TUnitSpriteSet set) {
    return set >= usBattleIdle;
}

} // namespace GameData
