#include "game/spells/Battle.h"
#include "game/spells/SpellFormulas.h"

#include "game/world/data/LoadedGlobalData.h"
#include "game/world/units/Unit.h"

#include <cstring>
#include <iterator>

namespace GameData {

namespace {

constexpr int CastingPhases[] = {1, 3, 2};
constexpr int HighestSpellLevel = 8;

bool IsSlotNumber(int slot) {
    return slot >= 0 && slot < BattleSlotCount;
}

} // namespace

TBattle::~TBattle() {
    FreeAIThread();
}

void TBattle::Reset() {
    FreeAIThread();
    Attackers = nullptr;
    Defenders = nullptr;
    Slots = {};
    SavedSlots = {};
    Snapshots = {};
    AIDone = 0;
}

void TBattle::SetGroups(TBattleSide* attackers, TBattleSide* defenders) {
    Attackers = attackers;
    Defenders = defenders;
    for (int i = 0; i < SideSlotCount; ++i) {
        Slots[i].Occupied = attackers && i < attackers->UnitCount();
        Slots[FirstDefenderSlot + i].Occupied = defenders && i < defenders->UnitCount();
    }
}

void TBattle::SetDefenceBonus(int32_t bonus) {
    for (int slot = 0; slot < BattleSlotCount; ++slot)
        if (TUnit* unit = UnitAt(slot))
            unit->DefenceBonus = IsDefenderSlot(slot) ? bonus : 0;
}

void TBattle::ClearCommands() {
    for (int slot = 0; slot < BattleSlotCount; ++slot)
        ClearCommand(slot);
}

void TBattle::ClearCommand(int slot) {
    if (!IsSlotNumber(slot))
        return;
    Slots[slot].Command = bcNone;
    Slots[slot].SpellID = -1;
    Slots[slot].TargetSlot = -1;
}

bool TBattle::IsValidCommand(int slot, const TCombatantSlot& command) const {
    if (!IsSlotNumber(slot))
        return false;
    switch (command.Command) {
    case bcNone:
        return true;
    case bcAttack:
        return IsSlotNumber(command.TargetSlot);
    case bcGuard:
        return IsDefenderSlot(slot) && IsSlotNumber(command.TargetSlot);
    case bcCastSpell: {
        if (!IsSlotNumber(command.TargetSlot) || command.SpellID < FirstBattleSpell ||
            command.SpellID > LastBattleSpell)
            return false;
        return Data2::FindSpellByID(command.SpellID) != nullptr;
    }
    default:
        return false;
    }
}

bool TBattle::SetAttackCommand(int slot, int target) {
    const TCombatantSlot command{0, bcAttack, -1, target};
    if (!IsValidCommand(slot, command))
        return false;
    Slots[slot].Command = bcAttack;
    Slots[slot].SpellID = -1;
    Slots[slot].TargetSlot = target;
    return true;
}

bool TBattle::SetGuardCommand(int slot, int target) {
    const TCombatantSlot command{0, bcGuard, -1, target};
    if (!IsValidCommand(slot, command))
        return false;
    Slots[slot].Command = bcGuard;
    Slots[slot].SpellID = -1;
    Slots[slot].TargetSlot = target;
    return true;
}

bool TBattle::SetSpellCommand(int slot, int spellID, int target) {
    const TCombatantSlot command{0, bcCastSpell, spellID, target};
    if (!IsValidCommand(slot, command))
        return false;
    Slots[slot].Command = bcCastSpell;
    Slots[slot].SpellID = spellID;
    Slots[slot].TargetSlot = target;
    return true;
}

TUnit* TBattle::UnitAt(int slot) const {
    if (IsAttackerSlot(slot))
        return Attackers ? Attackers->UnitAt(slot) : nullptr;
    if (IsDefenderSlot(slot))
        return Defenders ? Defenders->UnitAt(slot - FirstDefenderSlot) : nullptr;
    return nullptr;
}

// A side has no unit beyond its count, so this is a slot with a unit.
bool TBattle::IsValidSlot(int slot) const {
    return UnitAt(slot) != nullptr;
}

bool TBattle::IsSlotAlive(int slot) const {
    const TUnit* unit = UnitAt(slot);
    return unit && !unit->IsDead();
}

int TBattle::SlotOfUnit(const TUnit* unit) const {
    if (!unit)
        return -1;
    for (int slot = 0; slot < BattleSlotCount; ++slot)
        if (UnitAt(slot) == unit)
            return slot;
    return -1;
}

int TBattle::ValidSlotOfUnit(const TUnit* unit) const {
    const int slot = SlotOfUnit(unit);
    return IsValidSlot(slot) ? slot : -1;
}

bool TBattle::AttackersDefeated() const {
    for (int slot = 0; slot < FirstDefenderSlot; ++slot)
        if (IsSlotAlive(slot))
            return false;
    return true;
}

bool TBattle::DefendersDefeated() const {
    for (int slot = FirstDefenderSlot; slot < BattleSlotCount; ++slot)
        if (IsSlotAlive(slot))
            return false;
    return true;
}

bool TBattle::AnyUnitCanAct() const {
    for (int slot = 0; slot < BattleSlotCount; ++slot)
        if (IsSlotAlive(slot) && UnitAt(slot)->CanAct())
            return true;
    return false;
}

bool TBattle::IsOver() const {
    return AttackersDefeated() || DefendersDefeated() || !AnyUnitCanAct();
}

bool TBattle::CanCastSpellAt(int slot, int spellID, int target) const {
    const Data2::TSpellPrototype* spell = Data2::FindSpellByID(spellID);
    const TUnit* caster = UnitAt(slot);
    if (!spell || !caster || !IsSlotNumber(target) || !caster->CanCastSpell(*spell))
        return false;
    const uint32_t flags = spell->TargetFlags & 0xFF;
    if ((flags & Data2::tfOwnCell) && target == slot)
        return true;
    if (OnSameSide(slot, target))
        return (flags & Data2::tfFriendlyGroup) != 0;
    return (flags & Data2::tfEnemyGroup) != 0;
}

void TBattle::ResolveGuardCommands() {
    std::array<bool, SideSlotCount> claimed{};
    const int defenderCount = Defenders ? std::min(Defenders->UnitCount(), SideSlotCount) : 0;
    for (int j = 0; j < defenderCount; ++j) {
        const int guard = FirstDefenderSlot + j;
        TCombatantSlot& command = Slots[guard];
        if (!IsSlotAlive(guard) || command.Command != bcGuard ||
            command.TargetSlot < FirstDefenderSlot)
            continue;
        const int protectedSlot = command.TargetSlot;
        int intercepted = -1;
        for (int a = 0; a < FirstDefenderSlot && intercepted < 0; ++a)
            if (IsSlotAlive(a) && !claimed[a] && Slots[a].Command == bcAttack &&
                Slots[a].TargetSlot == protectedSlot)
                intercepted = a;
        if (intercepted >= 0) {
            claimed[intercepted] = true;
            command = {command.Occupied, bcAttack, -1, intercepted};
            Slots[intercepted] = {Slots[intercepted].Occupied, bcAttack, -1, guard};
            continue;
        }
        int assailant = -1;
        for (int a = 0; a < FirstDefenderSlot && assailant < 0; ++a)
            if (IsSlotAlive(a) && Slots[a].Command == bcAttack && Slots[a].TargetSlot == guard)
                assailant = a;
        if (assailant >= 0)
            command = {command.Occupied, bcAttack, -1, assailant};
        else
            command = {command.Occupied, bcNone, -1, -1};
    }
    for (int slot = 0; slot < BattleSlotCount; ++slot) {
        if (!IsSlotAlive(slot) || Slots[slot].Command != bcAttack)
            continue;
        if (!UnitAt(slot)->CanAct() || !IsSlotAlive(Slots[slot].TargetSlot))
            ClearCommand(slot);
    }
}

TBattle::TCastWalk TBattle::BeginCasts() const {
    TCastWalk walk;
    for (int slot = 0; slot < BattleSlotCount; ++slot)
        if (Slots[slot].Command == bcCastSpell)
            walk.Spells[slot] = Data2::FindSpellByID(Slots[slot].SpellID);
    return walk;
}

int TBattle::NextCaster(TCastWalk& walk) const {
    constexpr int PhaseCount = int(std::size(CastingPhases));
    constexpr int PlacesPerLevel = SideSlotCount;
    constexpr int PlacesPerSide = HighestSpellLevel * PlacesPerLevel;
    constexpr int PlacesPerPhase = 2 * PlacesPerSide;
    constexpr int PlaceCount = PhaseCount * PlacesPerPhase;
    while (walk.Position < PlaceCount) {
        const int place = walk.Position++;
        const int inPhase = place % PlacesPerPhase;
        const int slot = (inPhase < PlacesPerSide ? 0 : FirstDefenderSlot) + place % PlacesPerLevel;
        const Data2::TSpellPrototype* spell = walk.Spells[slot];
        if (walk.Cast[slot] || !spell)
            continue;
        const int phase = CastingPhases[place / PlacesPerPhase];
        const int level = 1 + (inPhase % PlacesPerSide) / PlacesPerLevel;
        // Whether the spell belongs to the pass depends on the spell alone and is
        // checked before the caster; no check changes anything, so their order
        // changes nothing.
        const TCombatantSlot& command = Slots[slot];
        if (!command.Occupied || command.Command != bcCastSpell ||
            !IsSpellOfPass(*spell, level, phase) || !IsSlotAlive(slot) ||
            !UnitAt(slot)->CanCastSpell(*spell))
            continue;
        walk.Cast[slot] = true;
        return slot;
    }
    return -1;
}

TSpellRound TBattle::CastSpells(bool predict) {
    TSpellRound round;
    TCastWalk walk = BeginCasts();
    for (int slot = NextCaster(walk); slot >= 0; slot = NextCaster(walk)) {
        const Data2::TSpellPrototype* spell = walk.Spells[slot];
        const bool attackers = IsAttackerSlot(slot);
        (attackers ? round.AttackerMana : round.DefenderMana) += PaySpellCost(slot, spell);
        if (RollSpellSuccess(slot, spell, predict, 0, 0))
            ApplyBattleSpell(slot, spell);
        else
            (attackers ? round.AttackersAllSucceeded : round.DefendersAllSucceeded) = false;
    }
    return round;
}

void TBattle::ExecuteBlows(bool attackers, bool simulate) {
    TBattleSide* side = attackers ? Attackers : Defenders;
    const int first = attackers ? 0 : FirstDefenderSlot;
    const int count = side ? std::min(side->UnitCount(), SideSlotCount) : 0;
    for (int slot = first; slot < first + count; ++slot) {
        const TCombatantSlot& command = Slots[slot];
        if (!IsSlotAlive(slot) || command.Command != bcAttack || !IsSlotAlive(command.TargetSlot))
            continue;
        TUnit& unit = *UnitAt(slot);
        if (!unit.CanAct())
            continue;
        TUnit& target = *UnitAt(command.TargetSlot);
        if (simulate)
            attackers ? unit.SimulateAttack(target) : unit.SimulateCounterattack(target);
        else
            attackers ? unit.Attack(target) : unit.Counterattack(target);
    }
}

void TBattle::ExecuteAttacks() {
    ExecuteBlows(true, false);
}

void TBattle::ExecuteCounterattacks() {
    ExecuteBlows(false, false);
}

void TBattle::SimulateAttacks() {
    ExecuteBlows(true, true);
}

void TBattle::SimulateCounterattacks() {
    ExecuteBlows(false, true);
}

TSpellRound TBattle::PlayRound() {
    ResolveGuardCommands();
    const TSpellRound round = CastSpells(false);
    for (int slot = 0; slot < FirstDefenderSlot; ++slot)
        if (!IsSlotAlive(slot))
            ClearCommand(slot);
    ExecuteAttacks();
    ExecuteCounterattacks();
    return round;
}

void TBattle::SnapshotStats() {
    for (int slot = 0; slot < BattleSlotCount; ++slot) {
        TUnitSnapshot& snapshot = Snapshots[slot];
        if (TUnit* unit = UnitAt(slot)) {
            snapshot.Stats = unit->Own;
            snapshot.Prototype = unit->Prototype;
            snapshot.SavedPrototype = unit->SavedPrototype;
            snapshot.Name = unit->Name;
            unit->MarkEffectsRenewed();
        } else {
            snapshot = {};
        }
    }
    FSnapshotUnitCounts = SideUnitCounts();
}

std::array<int, 2> TBattle::SideUnitCounts() const {
    return {Attackers ? Attackers->UnitCount() : 0, Defenders ? Defenders->UnitCount() : 0};
}

void TBattle::RemoveUnitsBeyond(const std::array<int, 2>& counts) {
    for (int side = 1; side >= 0; --side) {
        TBattleSide* group = side ? Defenders : Attackers;
        while (group && group->UnitCount() > counts[side]) {
            TUnit* copy = group->UnitAt(group->UnitCount() - 1);
            group->RemoveUnit(*copy);
            if (Registry)
                Registry->Unregister(*copy);
        }
    }
    for (int slot = 0; slot < BattleSlotCount; ++slot)
        Slots[slot].Occupied = IsValidSlot(slot);
}

namespace {

bool SameStats(const TUnitStats& a, const TUnitStats& b) {
    return std::memcmp(&a, &b, sizeof(TUnitStats)) == 0;
}

// Whether the unit is as the last full restore of its slot left it, from the same
// statistics: restoring it again would change nothing. Simulated spells only add
// effects, which the restore drops, so the same count is the same effects.
bool IsAsRestored(const TUnit& unit, const TUnitSnapshot& snapshot) {
    return snapshot.Restored == &unit && unit.Effects.Count() == snapshot.RestoredEffects &&
           unit.Prototype == snapshot.Prototype &&
           (!snapshot.Prototype ||
            (unit.SavedPrototype == snapshot.SavedPrototype && unit.Name == snapshot.Name)) &&
           SameStats(snapshot.Stats, snapshot.RestoredFrom) &&
           SameStats(unit.Own, snapshot.RestoredOwn) &&
           SameStats(unit.Effective, snapshot.RestoredEffective);
}

} // namespace

void TBattle::RestoreStats() {
    // Copies made in the simulated round leave again.
    RemoveUnitsBeyond(FSnapshotUnitCounts);
    for (int slot = BattleSlotCount - 1; slot >= 0; --slot) {
        TUnit* unit = UnitAt(slot);
        if (!unit)
            continue;
        TUnitSnapshot& snapshot = Snapshots[slot];
        unit->DropUnrenewedEffects();
        if (IsAsRestored(*unit, snapshot))
            continue;
        unit->Own = snapshot.Stats;
        if (snapshot.Prototype) {
            unit->Prototype = snapshot.Prototype;
            unit->SavedPrototype = snapshot.SavedPrototype;
            unit->Name = snapshot.Name;
        }
        unit->RecalculateStats(true);
        snapshot.Restored = unit;
        snapshot.RestoredEffects = unit->Effects.Count();
        snapshot.RestoredFrom = snapshot.Stats;
        snapshot.RestoredOwn = unit->Own;
        snapshot.RestoredEffective = unit->Effective;
    }
}

void TBattle::RemoveBattleEffects() {
    for (int slot = BattleSlotCount - 1; slot >= 0; --slot) {
        TUnit* unit = UnitAt(slot);
        if (!unit)
            continue;
        // A copy lives only for the battle: it leaves its side and the registry.
        if (unit->HasEffect(ekBattleCopy) && Registry) {
            TBattleSide* side = IsAttackerSlot(slot) ? Attackers : Defenders;
            side->RemoveUnit(*unit);
            Registry->Unregister(*unit);
            Slots[slot].Occupied = IsValidSlot(slot);
            continue;
        }
        unit->RemoveBattleEffects();
    }
    for (int slot = 0; slot < BattleSlotCount; ++slot)
        Slots[slot].Occupied = IsValidSlot(slot);
}

void TBattle::RefreshUnitSprites() {
    if (!Attackers || !Defenders)
        return;
    for (int slot = 0; slot < BattleSlotCount; ++slot)
        if (IsValidSlot(slot))
            UnitAt(slot)->RefreshSprites();
}

} // namespace GameData
