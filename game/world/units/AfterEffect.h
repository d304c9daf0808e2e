// Temporary changes to a unit's statistics, and the wounds shown floating over it.
#pragma once

#include "game/world/units/UnitStats.h"

#include <cstdint>

namespace Gfx {
class TSprite;
}

namespace GameData {

// Effect kinds with rules of their own; spells use their identifier as the kind.
constexpr int32_t ekFirstSpell = 1;
constexpr int32_t ekLastSpell = 128;       // of a spell kind only the newest effect counts
constexpr int32_t ekFirstBattleSpell = 65; // battle-spell effects end with the battle
constexpr int32_t ekTransformation = 87;   // the prototype is swapped while it lasts
constexpr int32_t ekAttacksSelf = 100;     // the unit's blows land on itself
constexpr int32_t ekLeavesGroup = 120;     // the unit leaves its group when the effect goes
constexpr int32_t ekSkillBase = 5000;      // a skill with a duration: kind = skill ID + 5000

struct TAfterEffect {
    TUnitStats Delta{};
    int32_t Duration = 0; // turns left
    int32_t Reserved = 0;
    int32_t Kind = 0;
    int32_t Renewed = 0;
    Gfx::TSprite* Icon = nullptr; // lent by its library; never stored
};

// An effect as stored: its icon slot is written as 0 and ignored when read.
#pragma pack(push, 1)
struct TAfterEffectRecord {
    TUnitStats Delta;
    int32_t Duration;
    int32_t Reserved;
    int32_t Kind;
    int32_t Renewed;
    uint32_t IconSlot;
};
#pragma pack(pop)
static_assert(sizeof(TAfterEffectRecord) == 148);

struct TWoundInfo {
    int32_t Damage;
    int32_t Age; // ticks
};
static_assert(sizeof(TWoundInfo) == 8);

constexpr int32_t WoundLifetime = 200; // ticks

} // namespace GameData
