// The computer's battle decisions on the sample bestiary. The plan search of three
// level 8 wizards knowing every spell they can learn (the most options a side of the
// sample bestiary has) against three knights, uncapped and with the plan limit; and
// the battle driver: 1,000 random battles with both sides chosen by the computer.
#include "game/spells/BattleDecisions.h"
#include "tests/support/BattleBuilder.h"
#include "tests/support/RandomBattles.h"
#include "tests/support/SampleBestiary.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <limits>

namespace {

using namespace GameData;
using namespace TestSupport;

constexpr int Wizard = 10;
constexpr int Knight = 3;
constexpr int64_t Uncapped = std::numeric_limits<int64_t>::max();

struct TWorstCase {
    TWorstCase() {
        AddSampleBestiary(Data);
        for (int i = 0; i < 3; ++i) {
            Attackers.AddUnit(*Registry.Register(MakeUnitAtLevel(Wizard, 8, true)));
            Defenders.AddUnit(*Registry.Register(MakeUnitAtLevel(Knight, 8, true)));
        }
        Battle.Registry = &Registry;
        Battle.SetGroups(&Attackers, &Defenders);
    }
    TTestGameData Data;
    TTestUnitRegistry Registry;
    TTestPlayer Player;
    TTestBattleSide Attackers{&Player};
    TTestBattleSide Defenders{&Player};
    TBattle Battle;
};

void BM_PlanSearchWorstCase(benchmark::State& state) {
    TWorstCase worst;
    const int64_t limit = state.range(0) ? state.range(0) : Uncapped;
    TPlanSearchStats stats;
    for (auto _ : state) {
        Base::RandomSeed = {1, 0};
        stats = ChooseBattleCommands(worst.Battle, true, {{}, limit});
        benchmark::DoNotOptimize(worst.Battle.Slots);
    }
    state.counters["plans_scored"] = double(stats.PlansScored);
    state.counters["plans_per_s"] = benchmark::Counter(
        double(stats.PlansScored), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PlanSearchWorstCase)->Arg(0)->Arg(DefaultPlanLimit)->Unit(benchmark::kMillisecond);

// The battle driver: random battles by seed from 1, with the plan limit (0 uncapped),
// so the two runs show what the cap changes in wins and rounds.
void BM_ThousandRandomBattles(benchmark::State& state) {
    TTestGameData data;
    AddSampleBestiary(data);
    const int64_t limit = state.range(0) ? state.range(0) : Uncapped;
    const auto battles = uint32_t(state.range(1));
    int faults = 0;
    int attackerWins = 0;
    int defenderWins = 0;
    int64_t plans = 0;
    int64_t rounds = 0;
    int decisions = 0;
    int capped = 0;
    for (auto _ : state) {
        for (uint32_t seed = 1; seed <= battles; ++seed) {
            const TRandomBattleResult result = PlayRandomBattle({seed, limit});
            if (!result.Fault.empty()) {
                ++faults;
                std::fprintf(stderr, "seed %u: %s\n", seed, result.Fault.c_str());
            }
            attackerWins += result.AttackersWon;
            defenderWins += result.DefendersWon;
            plans += result.PlansScored;
            rounds += result.Rounds;
            decisions += result.Decisions;
            capped += result.CappedDecisions;
        }
    }
    state.counters["faults"] = faults;
    state.counters["attacker_wins"] = attackerWins;
    state.counters["defender_wins"] = defenderWins;
    state.counters["rounds"] = double(rounds);
    state.counters["plans_scored"] = double(plans);
    state.counters["decisions"] = decisions;
    state.counters["capped_decisions"] = capped;
}
BENCHMARK(BM_ThousandRandomBattles)
    ->Args({DefaultPlanLimit, 1000})
    ->Args({0, 1000})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// What the cap costs: each battle played with the limit and uncapped from the same
// state; battles whose winner differs, and whose length differs.
void BM_CapCost(benchmark::State& state) {
    TTestGameData data;
    AddSampleBestiary(data);
    const auto battles = uint32_t(state.range(0));
    int otherWinner = 0;
    int otherLength = 0;
    int cappedBattles = 0;
    for (auto _ : state) {
        for (uint32_t seed = 1; seed <= battles; ++seed) {
            const TRandomBattleResult capped = PlayRandomBattle({seed, DefaultPlanLimit});
            if (capped.CappedDecisions == 0)
                continue;
            ++cappedBattles;
            const TRandomBattleResult full = PlayRandomBattle({seed, Uncapped});
            otherWinner += capped.AttackersWon != full.AttackersWon ||
                           capped.DefendersWon != full.DefendersWon;
            otherLength += capped.Rounds != full.Rounds;
        }
    }
    state.counters["battles_with_capped_decisions"] = cappedBattles;
    state.counters["other_winner"] = otherWinner;
    state.counters["other_length"] = otherLength;
}
BENCHMARK(BM_CapCost)->Arg(1000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
