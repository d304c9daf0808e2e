// How the computer chooses a side's commands: a greedy chooser that picks the best
// single action unit by unit, and a full search over the side's whole round. Both
// simulate with expected values on scratch units and write only the battle's slots.
#pragma once

#include "game/spells/Battle.h"

#include "engine/core/Random.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace GameData {

struct TBattlePlan {
    int32_t Target[SideSlotCount] = {-1, -1, -1};
    int32_t Spell[SideSlotCount] = {-1, -1, -1}; // index: battle spell ID - 64
    double Cost = 0;
    double Value = 0;
};

// The plan search scores at most this many plans, so every peer stops at the same one.
constexpr int64_t DefaultPlanLimit = 20000;

struct TDecisionLimits {
    // Polled between simulations; a stopped decision leaves its side without commands.
    std::function<bool()> StopRequested;
    int64_t PlanLimit = DefaultPlanLimit;
    // Where the simulations' draws start. A decision on a worker thread takes it on the
    // thread that owns the state; unset, a copy of the battle's state is taken now.
    std::optional<Base::TRandomSeed> Random{};
};

// What a search did, for benchmarks and tests.
struct TPlanSearchStats {
    int64_t PlansScored = 0;
    int64_t Combinations = 0; // combinations searched
    bool Capped = false;      // more combinations than the limit: options were left out
    bool Stopped = false;
};

// 100 for a target that would die (150 for a hero), else the hit points it would
// lose (doubled for a hero); measured on the units, which are put back afterwards.
int32_t EvaluateAction(TUnit& attacker, TUnit& target, bool counter, TBattle& battle, int spell);
// A spell given by index (battle spell ID - 64) is cast when it may be and is expected
// to take hold; -1 is a plain blow (the counterattack with counter).
void SimulateAction(TUnit& attacker, TUnit& target, bool counter, TBattle& battle, int spell);

// The greedy chooser simulates on the battle's own units, which it puts back, and
// draws from the battle's Random: the decisions run it on scratch battles.
void ChooseAttackersGreedy(TBattle& battle, bool withSpells);
void ChooseDefendersGreedy(TBattle& battle, bool withSpells);
TPlanSearchStats ChooseAttackersByPlan(TBattle& battle, const TDecisionLimits& limits = {});
TPlanSearchStats ChooseDefendersByPlan(TBattle& battle, const TDecisionLimits& limits = {});

bool IsBetterValueForCost(double costA, double valueA, double costB, double valueB);

// The decision the battle's worker thread makes for one side: the greedy chooser
// with the cast-in-automatic-combat setting for a person's side, the plan search for
// the computer's. Both simulate on a scratch battle drawing from its own copy of the
// random state; the battle's own state is neither read (with limits.Random set) nor
// changed.
TPlanSearchStats ChooseBattleCommands(TBattle& battle, bool attackers,
                                      const TDecisionLimits& limits = {});

} // namespace GameData
