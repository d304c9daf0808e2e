// The command a combatant is given for one round, and the six slots of a battle:
// 0-2 the attacking group's units, 3-5 the defending group's (unit slot = slot - 3).
#pragma once

#include <cstdint>

namespace GameData {

enum TBattleCommand : int32_t {
    bcNone = 0,
    bcAttack = 1,    // TargetSlot
    bcCastSpell = 2, // SpellID on TargetSlot
    bcGuard = 3,     // TargetSlot a friendly slot; defenders only
};

struct TCombatantSlot {
    uint8_t Occupied = 0;
    int32_t Command = bcNone;
    int32_t SpellID = -1;
    int32_t TargetSlot = -1;
};

constexpr int BattleSlotCount = 6;
constexpr int SideSlotCount = 3;
constexpr int FirstDefenderSlot = 3;
constexpr int FirstBattleSpell = 65;
constexpr int LastBattleSpell = 125;
// Spells of a side are offered by index: battle spell ID = index + 64.
constexpr int BattleSpellIndexBase = 64;
constexpr int BattleSpellIndexCount = 64;

constexpr bool IsAttackerSlot(int slot) {
    return slot >= 0 && slot < FirstDefenderSlot;
}
constexpr bool IsDefenderSlot(int slot) {
    return slot >= FirstDefenderSlot && slot < BattleSlotCount;
}
constexpr bool OnSameSide(int a, int b) {
    return (a < FirstDefenderSlot) == (b < FirstDefenderSlot);
}

} // namespace GameData
