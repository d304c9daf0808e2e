// The full search: every combination of the side's commands scored by one simulated
// round against the greedy prediction of the opponent.
#include "game/spells/BattleDecisions.h"
#include "game/spells/ScratchBattle.h"

#include "game/world/units/Unit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace GameData {

namespace {

constexpr double UnsimulatedCost = 1000000;
constexpr double ManaCostFactor = 0.1;

// Read only when the caller gave no state: a decision on a worker must not touch the
// battle's, which the main thread draws from meanwhile.
Base::TRandomSeed StartingRandom(const TBattle& battle, const TDecisionLimits& limits) {
    return limits.Random ? *limits.Random : *battle.Random;
}

struct TOption {
    int Target = -1;
    int Spell = -1;
};

// Which options a capped search keeps first: nothing, blows and guards, spells at
// the enemy, spells at friends.
int KeepRank(int slot, const TOption& option) {
    if (option.Target < 0)
        return 0;
    if (option.Spell < 0)
        return 1;
    return OnSameSide(slot, option.Target) ? 3 : 2;
}

// When every combination would pass the limit, each slot keeps its likeliest options,
// the longest list giving up one at a time, so every slot's choice is still searched
// rather than the first slots' options alone. The kept options stay in their order.
bool TrimToLimit(std::vector<TOption> (&options)[SideSlotCount], int first, int64_t limit) {
    const auto product = [&] {
        int64_t combinations = 1;
        for (const auto& list : options)
            combinations *= int64_t(list.size());
        return combinations;
    };
    if (product() <= limit)
        return false;
    std::vector<size_t> byRank[SideSlotCount];
    for (int i = 0; i < SideSlotCount; ++i) {
        for (size_t k = 0; k < options[i].size(); ++k)
            byRank[i].push_back(k);
        std::stable_sort(byRank[i].begin(), byRank[i].end(), [&](size_t a, size_t b) {
            return KeepRank(first + i, options[i][a]) < KeepRank(first + i, options[i][b]);
        });
    }
    size_t sizes[SideSlotCount] = {options[0].size(), options[1].size(), options[2].size()};
    while (int64_t(sizes[0]) * int64_t(sizes[1]) * int64_t(sizes[2]) > limit) {
        int longest = 0;
        for (int i = 1; i < SideSlotCount; ++i)
            if (sizes[i] > sizes[longest])
                longest = i;
        if (sizes[longest] <= 1)
            break;
        --sizes[longest];
    }
    for (int i = 0; i < SideSlotCount; ++i) {
        std::vector<size_t> kept(byRank[i].begin(), byRank[i].begin() + long(sizes[i]));
        std::sort(kept.begin(), kept.end());
        std::vector<TOption> trimmed;
        for (const size_t k : kept)
            trimmed.push_back(options[i][k]);
        options[i] = std::move(trimmed);
    }
    return true;
}

struct THitPoints {
    std::array<bool, BattleSlotCount> Alive{};
    std::array<int32_t, BattleSlotCount> Points{};
};

THitPoints ReadHitPoints(const TBattle& battle) {
    THitPoints read;
    for (int slot = 0; slot < BattleSlotCount; ++slot) {
        const TUnit* unit = battle.UnitAt(slot);
        read.Alive[slot] = unit && !unit->IsDead();
        read.Points[slot] = unit ? unit->Effective.Value(HITPOINTS) : 0;
    }
    return read;
}

// Part of the hit points a unit lost in the round, out of its level value.
double LostShare(const TUnit& unit, int32_t before) {
    const int32_t lost = std::max(0, before - unit.Effective.Value(HITPOINTS));
    const int32_t maximum = std::max<int32_t>(1, unit.Effective.AtLevel(HITPOINTS));
    return double(lost) / double(maximum);
}

double Weight(const TUnit& unit) {
    return unit.IsHero ? 2 : 1;
}

void ScoreAttackersRound(const TBattle& battle, const THitPoints& before, int32_t mana,
                         TBattlePlan& plan) {
    plan.Value = 0;
    plan.Cost = ManaCostFactor * mana;
    for (int slot = 0; slot < BattleSlotCount; ++slot) {
        const TUnit* alive = before.Alive[slot] ? battle.UnitAt(slot) : nullptr;
        if (!alive)
            continue;
        const TUnit& unit = *alive;
        const bool defender = IsDefenderSlot(slot);
        const double death = defender ? 100 : 50;
        const double term =
            unit.IsDead() ? death : std::trunc(LostShare(unit, before.Points[slot]) * 100);
        (defender ? plan.Value : plan.Cost) += Weight(unit) * term;
    }
}

void ScoreDefendersRound(const TBattle& battle, const THitPoints& before, int32_t mana,
                         TBattlePlan& plan) {
    plan.Value = 0;
    plan.Cost = ManaCostFactor * mana;
    for (int slot = 0; slot < BattleSlotCount; ++slot) {
        const TUnit* present = battle.UnitAt(slot);
        if (!present)
            continue;
        const TUnit& unit = *present;
        if (!before.Alive[slot]) {
            if (IsDefenderSlot(slot) && !unit.IsDead())
                plan.Value += 10;
            continue;
        }
        const double lost = LostShare(unit, before.Points[slot]);
        double term = 0;
        if (IsDefenderSlot(slot))
            term = unit.IsDead() ? 0 : std::trunc((1 - lost) * 100);
        else
            term = unit.IsDead() ? 30 : std::trunc(lost * 30);
        plan.Value += Weight(unit) * term;
    }
}

class TPlanSearch {
public:
    TPlanSearch(TBattle& battle, bool attackers, const TDecisionLimits& limits)
        : FReal(battle), FScratch(battle, StartingRandom(battle, limits)), FAttackers(attackers),
          FLimits(limits), FFirst(attackers ? 0 : FirstDefenderSlot) {}

    TPlanSearchStats Run();

private:
    std::vector<TOption> OptionsOf(int slot) const;
    void EvaluatePlan(const TOption* options, int count);
    bool ShouldStop() const {
        return FStats.PlansScored >= FLimits.PlanLimit ||
               (FLimits.StopRequested && (FStats.PlansScored & 15) == 0 && FLimits.StopRequested());
    }

    TBattle& FReal;
    TScratchBattle FScratch;
    bool FAttackers;
    const TDecisionLimits& FLimits;
    int FFirst;
    TBattlePlan FBest;
    TPlanSearchStats FStats;
};

std::vector<TOption> TPlanSearch::OptionsOf(int slot) const {
    const TBattle& battle = FScratch.Battle;
    std::vector<TOption> options{TOption{}};
    if (!battle.IsSlotAlive(slot) || !battle.UnitAt(slot)->CanAct())
        return options;
    for (int target = 0; target < BattleSlotCount; ++target) {
        if (!battle.IsSlotAlive(target))
            continue;
        // Without a spell: a blow at an enemy, or for defenders a guard of a friend.
        if (!OnSameSide(slot, target) || !FAttackers)
            options.push_back({target, -1});
        for (int spell = 0; spell < BattleSpellIndexCount; ++spell)
            if (battle.CanCastSpellAt(slot, spell + BattleSpellIndexBase, target))
                options.push_back({target, spell});
    }
    return options;
}

void TPlanSearch::EvaluatePlan(const TOption* options, int count) {
    TBattle& battle = FScratch.Battle;
    TBattlePlan plan;
    for (int i = 0; i < count; ++i) {
        const int slot = FFirst + i;
        plan.Target[i] = options[i].Target;
        plan.Spell[i] = options[i].Spell;
        TCombatantSlot& command = battle.Slots[slot];
        if (options[i].Target < 0)
            command = {command.Occupied, bcNone, -1, -1};
        else if (options[i].Spell >= 0)
            command = {command.Occupied, bcCastSpell, options[i].Spell + BattleSpellIndexBase,
                       options[i].Target};
        else if (OnSameSide(slot, options[i].Target))
            command = {command.Occupied, bcGuard, -1, options[i].Target};
        else
            command = {command.Occupied, bcAttack, -1, options[i].Target};
    }
    battle.SnapshotStats();
    battle.SaveCommands();
    const THitPoints before = ReadHitPoints(battle);
    if (!FAttackers)
        battle.ResolveGuardCommands();
    const TSpellRound round = battle.CastSpells(true);
    plan.Cost = UnsimulatedCost;
    plan.Value = 0;
    if (FAttackers ? round.AttackersAllSucceeded : round.DefendersAllSucceeded) {
        battle.SimulateAttacks();
        battle.SimulateCounterattacks();
        if (FAttackers)
            ScoreAttackersRound(battle, before, round.AttackerMana, plan);
        else
            ScoreDefendersRound(battle, before, round.DefenderMana, plan);
    }
    battle.RestoreStats();
    battle.RestoreCommands();
    ++FStats.PlansScored;
    if (IsBetterValueForCost(plan.Cost, plan.Value, FBest.Cost, FBest.Value))
        FBest = plan;
}

TPlanSearchStats TPlanSearch::Run() {
    TBattle& scratch = FScratch.Battle;
    if (FAttackers)
        ChooseDefendersGreedy(scratch, true);
    else
        ChooseAttackersGreedy(scratch, true);

    TBattleSide* side = FAttackers ? scratch.Attackers : scratch.Defenders;
    const int units = side ? std::min(side->UnitCount(), SideSlotCount) : 0;
    int searched = units >= 1 ? 1 : 0;
    if (units >= 2)
        searched = 2;
    if (units > 2 && scratch.IsSlotAlive(FFirst + 2))
        searched = 3;
    std::vector<TOption> options[SideSlotCount];
    for (int i = 0; i < SideSlotCount; ++i)
        options[i] = i < searched ? OptionsOf(FFirst + i) : std::vector<TOption>{TOption{}};
    FStats.Capped = TrimToLimit(options, FFirst, FLimits.PlanLimit);

    TOption chosen[SideSlotCount];
    bool halted = false;
    for (size_t a = 0; a < options[0].size() && !halted; ++a)
        for (size_t b = 0; b < options[1].size() && !halted; ++b)
            for (size_t c = 0; c < options[2].size() && !halted; ++c) {
                if (ShouldStop()) {
                    halted = true;
                    FStats.Stopped = FStats.PlansScored < FLimits.PlanLimit;
                    break;
                }
                chosen[0] = options[0][a];
                chosen[1] = options[1][b];
                chosen[2] = options[2][c];
                ++FStats.Combinations;
                EvaluatePlan(chosen, std::max(searched, 1));
            }
    for (int slot = FFirst; slot < FFirst + SideSlotCount; ++slot)
        FReal.ClearCommand(slot);
    if (FStats.Stopped)
        return FStats;
    if (FBest.Value != 0)
        for (int i = 0; i < SideSlotCount; ++i) {
            const int slot = FFirst + i;
            const int target = FBest.Target[i];
            if (target < 0)
                continue;
            if (FBest.Spell[i] >= 0)
                FReal.SetSpellCommand(slot, FBest.Spell[i] + BattleSpellIndexBase, target);
            else if (OnSameSide(slot, target))
                FReal.SetGuardCommand(slot, target);
            else
                FReal.SetAttackCommand(slot, target);
        }
    // Whoever can still act and has nothing to do strikes the enemy easiest to hurt.
    int weakest = -1;
    const int enemyFirst = FAttackers ? FirstDefenderSlot : 0;
    for (int slot = enemyFirst; slot < enemyFirst + SideSlotCount; ++slot)
        if (FReal.IsSlotAlive(slot) &&
            (weakest < 0 || FReal.UnitAt(slot)->Effective.Value(DEFENCE) <
                                FReal.UnitAt(weakest)->Effective.Value(DEFENCE)))
            weakest = slot;
    if (weakest >= 0)
        for (int slot = FFirst; slot < FFirst + SideSlotCount; ++slot)
            if (FReal.IsSlotAlive(slot) && FReal.UnitAt(slot)->CanAct() &&
                FReal.Slots[slot].Command == bcNone)
                FReal.SetAttackCommand(slot, weakest);
    return FStats;
}

} // namespace

bool IsBetterValueForCost(double costA, double valueA, double costB, double valueB) {
    if (costA == costB)
        return valueA > valueB;
    if (costA < costB)
        return valueA >= valueB;
    if (valueA <= valueB)
        return false;
    const double a = costA <= 0 ? 1 : costA;
    const double b = costB <= 0 ? 1 : costB;
    return valueA * valueA / a > valueB * valueB / b;
}

TPlanSearchStats ChooseAttackersByPlan(TBattle& battle, const TDecisionLimits& limits) {
    return TPlanSearch(battle, true, limits).Run();
}

TPlanSearchStats ChooseDefendersByPlan(TBattle& battle, const TDecisionLimits& limits) {
    return TPlanSearch(battle, false, limits).Run();
}

TPlanSearchStats ChooseBattleCommands(TBattle& battle, bool attackers,
                                      const TDecisionLimits& limits) {
    const TBattleSide* side = attackers ? battle.Attackers : battle.Defenders;
    if (!side)
        return {};
    if (!side->IsCommandedByLocalPerson())
        return attackers ? ChooseAttackersByPlan(battle, limits)
                         : ChooseDefendersByPlan(battle, limits);
    TScratchBattle scratch(battle, StartingRandom(battle, limits));
    if (attackers)
        ChooseAttackersGreedy(scratch.Battle, battle.CastInAutomaticCombat);
    else
        ChooseDefendersGreedy(scratch.Battle, battle.CastInAutomaticCombat);
    const int first = attackers ? 0 : FirstDefenderSlot;
    for (int slot = first; slot < first + SideSlotCount; ++slot) {
        const TCombatantSlot& chosen = scratch.Battle.Slots[slot];
        battle.Slots[slot].Command = chosen.Command;
        battle.Slots[slot].SpellID = chosen.SpellID;
        battle.Slots[slot].TargetSlot = chosen.TargetSlot;
    }
    return {};
}

} // namespace GameData
