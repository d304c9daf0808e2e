// One tactical battle between two groups of up to three units: the commands of a
// round and the rules that carry them out. The fight screens drive the rounds; the
// computer chooses its side's commands on the battle's worker thread. The decisions
// copy the whole battle to simulate rounds on scratch units.
#pragma once

#include "engine/core/ActionThread.h"
#include "engine/core/Random.h"
#include "game/spells/BattleCommands.h"
#include "game/spells/BattleSide.h"
#include "game/world/units/UnitStats.h"
#include "platform/classlib/AnsiString.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

namespace Data2 {
struct TSpellPrototype;
struct TUnitPrototype;
} // namespace Data2

namespace GameData {

class TUnit;

// The effect kind that marks spell 125's copies of a caster.
constexpr int32_t ekBattleCopy = 125;

// What a side's spells cost in a round and whether every one of them took effect.
struct TSpellRound {
    int32_t AttackerMana = 0;
    int32_t DefenderMana = 0;
    bool AttackersAllSucceeded = true;
    bool DefendersAllSucceeded = true;
};

// Besides the statistics, what a simulated spell may change that a round's
// restore must undo: a transformation's prototype and name, copies joining a side.
struct TUnitSnapshot {
    TUnitStats Stats{};
    const Data2::TUnitPrototype* Prototype = nullptr;
    const Data2::TUnitPrototype* SavedPrototype = nullptr;
    ClassLib::AnsiString Name;
    // What the last full restore made of which statistics: a unit the simulated round
    // left as that restore did is not recomputed, as the plan search's rounds mostly leave
    // some of the six.
    const TUnit* Restored = nullptr;
    int RestoredEffects = 0;
    TUnitStats RestoredFrom{};
    TUnitStats RestoredOwn{};
    TUnitStats RestoredEffective{};
};

class TBattle {
public:
    TBattle() { Reset(); }
    TBattle(const TBattle&) = delete;
    TBattle& operator=(const TBattle&) = delete;
    ~TBattle(); // stops a running decision

    void Reset();
    void SetGroups(TBattleSide* attackers, TBattleSide* defenders);
    void SetDefenceBonus(int32_t bonus);

    void ClearCommands();
    void ClearCommand(int slot);
    // Commands may come from a peer or stored data: a slot or target outside 0..5,
    // a spell that is no known battle spell, or a guard by an attacker is refused
    // (false, the slot unchanged).
    bool SetAttackCommand(int slot, int target);
    bool SetGuardCommand(int slot, int target);
    bool SetSpellCommand(int slot, int spellID, int target);
    bool IsValidCommand(int slot, const TCombatantSlot& command) const;

    TUnit* UnitAt(int slot) const;
    bool IsValidSlot(int slot) const;
    bool IsSlotAlive(int slot) const;
    int SlotOfUnit(const TUnit* unit) const;
    int ValidSlotOfUnit(const TUnit* unit) const;
    bool AttackersDefeated() const;
    bool DefendersDefeated() const;
    // Whether any live unit can still act; a fight with none ends.
    bool AnyUnitCanAct() const;
    bool CanCastSpellAt(int slot, int spellID, int target) const;

    void ResolveGuardCommands();
    // Where a round's casts stand: each command's spell (looked up once, as a round
    // never changes it; a spell may only take a command away), which slots have cast,
    // and the walk's next place.
    struct TCastWalk {
        std::array<const Data2::TSpellPrototype*, BattleSlotCount> Spells{};
        std::array<bool, BattleSlotCount> Cast{};
        int Position = 0;
    };
    // The casts of a round, in phase order 1, 3, 2, within a phase the attackers'
    // before the defenders', lower levels first, slots in order; each slot casts at
    // most once. NextCaster judges each slot when the walk comes to it, so the effects
    // of the casts before count; it returns the slot, marked as cast, or -1 at the end.
    // Casting is the caller's: PaySpellCost, RollSpellSuccess(slot, spell, predict, 0, 0)
    // and on success ApplyBattleSpell, before the next caster is taken.
    TCastWalk BeginCasts() const;
    int NextCaster(TCastWalk& walk) const;
    // Every cast of the walk.
    TSpellRound CastSpells(bool predict);
    void ExecuteAttacks();
    void ExecuteCounterattacks();
    void SimulateAttacks();
    void SimulateCounterattacks();
    // A whole round as the fight screens drive it once both sides have commands:
    // guards, spells, attackers that died lose their commands, attacks, counterattacks.
    TSpellRound PlayRound();
    bool IsOver() const;

    // Battle spells.
    bool SpellMatchesPhase(int slot, const Data2::TSpellPrototype* prototype, int level,
                           int phase) const;
    int32_t PaySpellCost(int slot, const Data2::TSpellPrototype* prototype);
    bool RollSpellSuccess(int slot, const Data2::TSpellPrototype* prototype, bool predict,
                          int level, int phase);
    void ApplyBattleSpell(int slot, const Data2::TSpellPrototype* prototype);

    // Around a simulated round.
    void SnapshotStats();
    void RestoreStats();
    void SaveCommands() { SavedSlots = Slots; }
    // How many units each side has; units beyond the counts (copies made since) leave.
    std::array<int, 2> SideUnitCounts() const;
    void RemoveUnitsBeyond(const std::array<int, 2>& counts);
    void RestoreCommands() { Slots = SavedSlots; }

    // When the fight ends: battle effects end, and the copies spell 125 made leave
    // their sides and the registry.
    void RemoveBattleEffects();
    void RefreshUnitSprites();

    // The decision for one side on the worker thread. Its simulations draw from a copy
    // of Random taken here, on the calling thread: the worker never touches the state
    // itself, which the main thread goes on drawing from.
    void StartAttackerAIThread();
    void StartDefenderAIThread();
    bool IsAIThreadRunning() const;
    void FreeAIThread();
    bool HasAIThread() const { return AIThread != nullptr; }

    TBattleSide* Attackers = nullptr;
    TBattleSide* Defenders = nullptr;
    std::array<TUnitSnapshot, BattleSlotCount> Snapshots{};
    std::array<TCombatantSlot, BattleSlotCount> SavedSlots{};
    std::unique_ptr<Base::TActionThread> AIThread;
    std::atomic<uint8_t> AIDone{0};
    std::array<TCombatantSlot, BattleSlotCount> Slots{};
    // Where spell 125's copies get their identifiers; without one the spell makes none.
    TBattleUnitRegistry* Registry = nullptr;
    // Whether a person's side chosen automatically may cast spells: the settings'
    // CastInAutoCombat as it stood when the decision started.
    bool CastInAutomaticCombat = false;
    // The state the battle's spells and rolled contests draw from: the game's, or a
    // decision's private copy for its scratch battles. (The blows of ExecuteAttacks
    // roll on the game's state.)
    Base::TRandomSeed* Random = &Base::RandomSeed;

private:
    void StartAIThread(bool attackers);
    void RunAttackerDecision();
    void RunDefenderDecision();
    void RunDecision(bool attackers);
    void ExecuteBlows(bool attackers, bool simulate);
    std::array<int, 2> FSnapshotUnitCounts{};
    const Base::TActionThread* FDecisionThread = nullptr;
    Base::TRandomSeed FDecisionRandom{};
};

} // namespace GameData
