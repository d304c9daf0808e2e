// A fight out of the viewing player's sight, from the attack to the world put back in
// order: three level-8 units against three, the computer choosing for both sides every
// round, no animation. The line-ups are the sample bestiary's costliest for the
// computer's decisions (wizards, whose rounds cost the most to simulate, and the knights
// the decision bench finds slowest against them). The reference is one decision of the
// attackers at the fight's start, so the ratio says how many decisions a fight costs.
#include "bench/RatioReporter.h"
#include "game/spells/BattleDecisions.h"
#include "tests/ui/screens/FightWorld.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

using namespace GameData;

constexpr int Wizard = 10;
constexpr int Knight = 3;
constexpr int Level = 8;
constexpr double TargetMs = 50;

using TestSupport::TFightWorld;
using TestSupport::TLineUp;

void MeasureFight(benchmark::State& state, const TLineUp& attackers, const TLineUp& defenders) {
    for (auto _ : state) {
        state.PauseTiming();
        auto world = std::make_unique<TFightWorld>(attackers, defenders, Level);
        Base::RandomSeed = {1, 0};
        state.ResumeTiming();
        world->Dialog->RunBackgroundGroupFight(world->Attacker, world->Defender);
        state.PauseTiming();
        if (world->Dialog->Fighting() || world->Game->Scenario->InBattle)
            state.SkipWithError("the fight did not end");
        world.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations());
}

void MeasureDecision(benchmark::State& state, const TLineUp& attackers, const TLineUp& defenders) {
    TFightWorld world(attackers, defenders, Level);
    TGroupBattleSide attackerSide(*world.Attacker);
    TGroupBattleSide defenderSide(*world.Defender);
    TScenarioUnitRegistry registry(*world.Game->Scenario);
    TBattle battle;
    battle.SetGroups(&attackerSide, &defenderSide);
    battle.Registry = &registry;
    for (auto _ : state) {
        Base::RandomSeed = {1, 0};
        ChooseBattleCommands(battle, true, {});
    }
    state.SetItemsProcessed(state.iterations());
}

const TLineUp Wizards{Wizard, Wizard, Wizard};
const TLineUp Knights{Knight, Knight, Knight};

void BM_BackgroundFightWizardsAgainstWizards(benchmark::State& state) {
    MeasureFight(state, Wizards, Wizards);
}
BENCHMARK(BM_BackgroundFightWizardsAgainstWizards)->Unit(benchmark::kMillisecond);

void BM_BackgroundFightWizardsAgainstKnights(benchmark::State& state) {
    MeasureFight(state, Wizards, Knights);
}
BENCHMARK(BM_BackgroundFightWizardsAgainstKnights)->Unit(benchmark::kMillisecond);

void BM_OneDecisionWizardsAgainstWizards(benchmark::State& state) {
    MeasureDecision(state, Wizards, Wizards);
}
BENCHMARK(BM_OneDecisionWizardsAgainstWizards)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Slowdown("BM_BackgroundFightWizardsAgainstWizards", "BM_OneDecisionWizardsAgainstWizards",
                   0.0);
        r.Slowdown("BM_BackgroundFightWizardsAgainstKnights", "BM_OneDecisionWizardsAgainstWizards",
                   0.0);
        for (const char* name : {"BM_BackgroundFightWizardsAgainstWizards",
                                 "BM_BackgroundFightWizardsAgainstKnights"}) {
            const Bench::TSpread fight = r.Time(name);
            std::printf("  %s best %.1f ms, median %.1f ms (target at most %.0f ms)\n", name,
                        fight.Min, fight.Median, TargetMs);
        }
    });
}
