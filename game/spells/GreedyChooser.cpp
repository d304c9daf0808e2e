// The greedy chooser: unit by unit, the single action worth most against one enemy.
#include "game/spells/BattleDecisions.h"
#include "game/spells/ScratchBattle.h"

#include "game/world/units/Unit.h"

#include <algorithm>
#include <vector>

namespace GameData {

namespace {

constexpr int32_t KillValue = 100;
constexpr int32_t HeroKillValue = 150;

std::vector<int> LiveSlots(const TBattle& battle, bool attackers) {
    std::vector<int> slots;
    const int first = attackers ? 0 : FirstDefenderSlot;
    for (int slot = first; slot < first + SideSlotCount; ++slot)
        if (battle.IsSlotAlive(slot))
            slots.push_back(slot);
    return slots;
}

void ChooseGreedy(TBattle& battle, bool attackers, bool withSpells) {
    std::vector<int> enemies = LiveSlots(battle, !attackers);
    std::stable_sort(enemies.begin(), enemies.end(), [&](int a, int b) {
        return battle.UnitAt(a)->Effective.Value(DEFENCE) <
               battle.UnitAt(b)->Effective.Value(DEFENCE);
    });
    std::vector<int> own;
    for (const int slot : LiveSlots(battle, attackers)) {
        if (battle.UnitAt(slot)->CanAct())
            own.push_back(slot);
    }
    std::stable_sort(own.begin(), own.end(), [&](int a, int b) {
        return battle.UnitAt(a)->Effective.Value(MANA) > battle.UnitAt(b)->Effective.Value(MANA);
    });
    const int first = attackers ? 0 : FirstDefenderSlot;
    for (int slot = first; slot < first + SideSlotCount; ++slot)
        if (std::find(own.begin(), own.end(), slot) == own.end())
            battle.ClearCommand(slot);

    std::vector<std::unique_ptr<TUnitKeeper>> kept;
    for (const int slot : own)
        kept.push_back(std::make_unique<TUnitKeeper>(*battle.UnitAt(slot)));
    for (const int slot : enemies)
        kept.push_back(std::make_unique<TUnitKeeper>(*battle.UnitAt(slot)));
    battle.SaveCommands();
    const std::array<int, 2> counts = battle.SideUnitCounts();

    struct TChoice {
        int Spell = -1;
        int Target = -1;
    };
    std::vector<TChoice> choices(own.size());
    const int lastSpell = withSpells ? BattleSpellIndexCount - 1 : -1;
    for (size_t i = 0; i < own.size(); ++i) {
        TUnit& unit = *battle.UnitAt(own[i]);
        int32_t best = 0;
        for (const int enemy : enemies) {
            if (!battle.IsSlotAlive(enemy))
                continue;
            for (int spell = -1; spell <= lastSpell; ++spell) {
                if (spell >= 0 &&
                    !battle.CanCastSpellAt(own[i], spell + BattleSpellIndexBase, enemy))
                    continue;
                const int32_t value =
                    EvaluateAction(unit, *battle.UnitAt(enemy), !attackers, battle, spell);
                if (value > best) {
                    best = value;
                    choices[i] = {spell, enemy};
                }
            }
        }
        if (best <= 0) {
            const auto weakest = std::find_if(enemies.begin(), enemies.end(),
                                              [&](int enemy) { return battle.IsSlotAlive(enemy); });
            choices[i] = {-1, weakest == enemies.end() ? -1 : *weakest};
        } else {
            SimulateAction(unit, *battle.UnitAt(choices[i].Target), !attackers, battle,
                           choices[i].Spell);
        }
    }

    battle.RestoreCommands();
    battle.RemoveUnitsBeyond(counts);
    for (const auto& keeper : kept)
        keeper->Restore();
    for (size_t i = 0; i < own.size(); ++i) {
        const TChoice& choice = choices[i];
        if (choice.Target < 0)
            battle.ClearCommand(own[i]);
        else if (choice.Spell < 0)
            battle.SetAttackCommand(own[i], choice.Target);
        else
            battle.SetSpellCommand(own[i], choice.Spell + BattleSpellIndexBase, choice.Target);
    }
}

} // namespace

void SimulateAction(TUnit& attacker, TUnit& target, bool counter, TBattle& battle, int spell) {
    if (spell < 0) {
        counter ? attacker.SimulateCounterattack(target) : attacker.SimulateAttack(target);
        return;
    }
    const int slot = battle.SlotOfUnit(&attacker);
    const int targetSlot = battle.SlotOfUnit(&target);
    const int spellID = spell + BattleSpellIndexBase;
    if (slot < 0 || targetSlot < 0)
        return;
    battle.Slots[slot].Command = bcCastSpell;
    battle.Slots[slot].SpellID = spellID;
    battle.Slots[slot].TargetSlot = targetSlot;
    if (battle.CanCastSpellAt(slot, spellID, targetSlot) &&
        battle.RollSpellSuccess(slot, nullptr, true, 0, 0))
        battle.ApplyBattleSpell(slot, nullptr);
}

int32_t EvaluateAction(TUnit& attacker, TUnit& target, bool counter, TBattle& battle, int spell) {
    TUnitKeeper keptAttacker(attacker);
    TUnitKeeper keptTarget(target);
    const TCombatantSlot savedCommand = battle.SlotOfUnit(&attacker) >= 0
                                            ? battle.Slots[battle.SlotOfUnit(&attacker)]
                                            : TCombatantSlot{};
    const std::array<int, 2> counts = battle.SideUnitCounts();
    const int32_t before = target.Effective.Value(HITPOINTS);
    SimulateAction(attacker, target, counter, battle, spell);
    const int32_t lost = std::max(0, before - target.Effective.Value(HITPOINTS));
    const bool dies = target.IsDead();
    battle.RemoveUnitsBeyond(counts);
    keptAttacker.Restore();
    keptTarget.Restore();
    if (const int slot = battle.SlotOfUnit(&attacker); slot >= 0)
        battle.Slots[slot] = savedCommand;
    if (dies)
        return target.IsHero ? HeroKillValue : KillValue;
    return target.IsHero ? 2 * lost : lost;
}

void ChooseAttackersGreedy(TBattle& battle, bool withSpells) {
    ChooseGreedy(battle, true, withSpells);
}

void ChooseDefendersGreedy(TBattle& battle, bool withSpells) {
    ChooseGreedy(battle, false, withSpells);
}

} // namespace GameData
