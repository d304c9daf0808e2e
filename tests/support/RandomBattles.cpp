#include "tests/support/RandomBattles.h"

#include "tests/support/BattleBuilder.h"
#include "tests/support/SampleBestiary.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace TestSupport {

using namespace GameData;

namespace {

constexpr int MaxSampleLevel = 8;

// The sides' make-up comes from a state of its own, so the game's state is only
// drawn on by the battle.
int Draw(Base::TRandomSeed& state, int n) {
    return int(Base::NextRandom(state) % uint32_t(n));
}

// The statistics the game shows and rules on. The own record's pools may dip below 0
// while an effect lends points, and a fixed-morale creature's own morale drifts
// unseen; its hit points never go below 0.
std::string CheckUnit(const TUnit& unit) {
    if (unit.ID == 0)
        return "a unit without an identifier";
    const std::string name = unit.Name.c_str();
    for (int k = 0; k < UnitStatCount; ++k)
        if (unit.Effective.Value(TUnitStat(k)) < 0)
            return "negative statistic " + std::to_string(k) + " of " + name;
    if (unit.Own.Value(HITPOINTS) < 0)
        return "negative own hit points of " + name;
    if (unit.Effective.Level() < 1)
        return "level below 1 of " + name;
    if (unit.Effective.Morale() < 0)
        return "negative morale of " + name;
    return {};
}

using TSideCommands = std::array<TCombatantSlot, SideSlotCount>;

TSideCommands CommandsOf(const TBattle& battle, bool attackers) {
    TSideCommands commands;
    const int first = attackers ? 0 : FirstDefenderSlot;
    std::copy_n(battle.Slots.begin() + first, SideSlotCount, commands.begin());
    return commands;
}

bool SameCommands(const TSideCommands& a, const TSideCommands& b) {
    return std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) {
        return x.Command == y.Command && x.SpellID == y.SpellID && x.TargetSlot == y.TargetSlot;
    });
}

void PutCommands(TBattle& battle, bool attackers, const TSideCommands& commands) {
    const int first = attackers ? 0 : FirstDefenderSlot;
    std::copy(commands.begin(), commands.end(), battle.Slots.begin() + first);
}

uint64_t Digest(uint64_t hash, const TUnit& unit) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&unit.Own);
    for (size_t i = 0; i < sizeof(TUnitStats); ++i)
        hash = (hash ^ bytes[i]) * 0x100000001B3ULL;
    return (hash ^ uint64_t(unit.Effects.Count())) * 0x100000001B3ULL;
}

} // namespace

TRandomBattleResult PlayRandomBattle(const TRandomBattleOptions& options) {
    Base::TRandomSeed makeUp{options.Seed, 0x9E3779B9u};
    Base::NextRandom(makeUp);
    TTestUnitRegistry registry;
    TTestPlayer players[2];
    TTestBattleSide sides[2] = {TTestBattleSide(&players[0]), TTestBattleSide(&players[1])};
    for (TTestBattleSide& side : sides) {
        const int count = 1 + Draw(makeUp, 3);
        for (int i = 0; i < count; ++i) {
            const int prototype = SampleUnits[Draw(makeUp, SampleUnitCount)].ID;
            const int level = 1 + Draw(makeUp, MaxSampleLevel);
            side.AddUnit(*registry.Register(MakeUnitAtLevel(prototype, level, true)));
        }
    }
    TBattle battle;
    battle.Registry = &registry;
    battle.SetGroups(&sides[0], &sides[1]);
    battle.SetDefenceBonus(Draw(makeUp, 2) ? 25 : 0);
    const int startingUnits = registry.Count();

    Base::RandomSeed = {options.Seed, 0};
    TRandomBattleResult result;
    const TDecisionLimits limits{{}, options.PlanLimit};
    while (!battle.IsOver() && result.Rounds < options.MaxRounds) {
        battle.ClearCommands();
        for (const bool attackers : {true, false}) {
            const TPlanSearchStats stats = ChooseBattleCommands(battle, attackers, limits);
            result.PlansScored += stats.PlansScored;
            ++result.Decisions;
            result.CappedDecisions += stats.Capped;
            if (stats.Capped && options.ComparePlanLimit > 0) {
                // Decisions leave the battle's random state alone: the second one
                // starts where the first did.
                const TSideCommands capped = CommandsOf(battle, attackers);
                ChooseBattleCommands(battle, attackers, {{}, options.ComparePlanLimit});
                result.ChangedDecisions += !SameCommands(capped, CommandsOf(battle, attackers));
                PutCommands(battle, attackers, capped);
            }
        }
        battle.PlayRound();
        ++result.Rounds;
        for (int slot = 0; slot < BattleSlotCount && result.Fault.empty(); ++slot)
            if (TUnit* unit = battle.UnitAt(slot))
                result.Fault = CheckUnit(*unit);
        if (!result.Fault.empty())
            return result;
    }
    result.AttackersWon = battle.DefendersDefeated() && !battle.AttackersDefeated();
    result.DefendersWon = battle.AttackersDefeated() && !battle.DefendersDefeated();
    battle.RemoveBattleEffects();
    if (registry.Count() != startingUnits)
        result.Fault = "copies left behind";
    for (const TTestBattleSide& side : sides)
        for (int i = 0; i < side.UnitCount(); ++i) {
            if (side.UnitAt(i)->Effects.Count() != 0)
                result.Fault = "battle effects left behind";
            result.Digest = Digest(result.Digest, *side.UnitAt(i));
        }
    result.RandomState = Base::RandomSeed;
    return result;
}

} // namespace TestSupport
