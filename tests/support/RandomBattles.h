// Random battles between groups of the sample bestiary, both sides chosen by the
// computer, for tests and the battle driver.
#pragma once

#include "engine/core/Random.h"
#include "game/spells/BattleDecisions.h"

#include <cstdint>
#include <string>

namespace TestSupport {

struct TRandomBattleOptions {
    uint32_t Seed = 1;
    int64_t PlanLimit = GameData::DefaultPlanLimit;
    int MaxRounds = 40;
    // Above 0, every decision the plan limit capped is made again from the same state
    // with this limit, to count the decisions the cap changed; the battle goes on with
    // the capped one.
    int64_t ComparePlanLimit = 0;
};

struct TRandomBattleResult {
    int Rounds = 0;
    bool AttackersWon = false;
    bool DefendersWon = false;
    int64_t PlansScored = 0;
    int Decisions = 0;
    int CappedDecisions = 0;
    int ChangedDecisions = 0; // capped decisions whose commands differ with ComparePlanLimit
    uint64_t Digest = 0;      // of every unit's statistics after the battle
    Base::TRandomSeed RandomState{};
    std::string Fault; // empty when every unit kept an identifier and no negative statistic
};

// Needs the sample bestiary installed. Two groups of one to three units of random
// prototypes and levels 1-8, knowing every spell they could learn, fight until the
// battle is over; the game's random state starts from the seed.
TRandomBattleResult PlayRandomBattle(const TRandomBattleOptions& options);

} // namespace TestSupport
