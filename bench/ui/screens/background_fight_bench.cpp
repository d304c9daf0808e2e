// A fight out of the viewing player's sight, from the attack to the world put back in
// order: three level-8 units against three, the computer choosing for both sides every
// round, no animation. The line-ups are the sample bestiary's costliest for the
// computer's decisions (wizards, whose rounds cost the most to simulate, and the knights
// the decision bench finds slowest against them). The reference is one decision of the
// attackers at the fight's start, so the ratio says how many decisions a fight costs.
#include "bench/RatioReporter.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/spells/BattleDecisions.h"
#include "game/world/groups/Group.h"
#include "game/world/scenario/Scenario.h"
#include "platform/win32/Desktop.h"
#include "tests/support/BattleBuilder.h"
#include "tests/support/SampleBestiary.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "ui/game/Game.h"
#include "ui/screens/FightDialog.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>

namespace {

using namespace GameData;

constexpr int Wizard = 10;
constexpr int Knight = 3;
constexpr int Level = 8;
constexpr double TargetMs = 50;

using TLineUp = std::array<int, 3>;

// The game object headless, on the tiny world with two computer players' line-ups
// facing each other out of the third player's sight.
class TFightWorld {
public:
    TFightWorld(const TLineUp& attackers, const TLineUp& defenders) {
        TestSupport::AddSampleBestiary(Data);
        TestSupport::TTinyWorld world;
        Attacker = AddLineUp(world, 0, 2, 2, attackers);
        Defender = AddLineUp(world, 1, 3, 2, defenders);
        Game = std::make_unique<Main::TGame>(&Windows);
        Game->Init();
        Game->Scenario = std::move(world.Scenario);
        TScenario& scenario = *Game->Scenario;
        for (int i = 0; i < 2; ++i)
            scenario.Players[i]->Type = ptComputer;
        scenario.CurrentPlayerIndex = 0;
        scenario.CurrentPlayer = scenario.Players[0];
        scenario.SetViewingPlayer(scenario.Players[2]);
        scenario.CurrentPlayer->SelectObject(Attacker);
        auto dialog = std::make_unique<Main::TFightDialog>(&Windows, *Game);
        Dialog = dialog.get();
        Game->FightDialog = std::move(dialog);
    }

    static TGroup* AddLineUp(TestSupport::TTinyWorld& world, uint8_t owner, int x, int y,
                             const TLineUp& lineUp) {
        TGroup* group = world.AddGroup(owner, x, y);
        for (const int id : lineUp)
            group->AddUnit(TestSupport::MakeUnitAtLevel(id, Level, true), true, false);
        return group;
    }

    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
    TestSupport::TTestGameData Data;
    DXWin::TDXWindowSystem Windows;
    std::unique_ptr<Main::TGame> Game;
    TGroup* Attacker = nullptr;
    TGroup* Defender = nullptr;
    Main::TFightDialog* Dialog = nullptr;
};

void MeasureFight(benchmark::State& state, const TLineUp& attackers, const TLineUp& defenders) {
    for (auto _ : state) {
        state.PauseTiming();
        auto world = std::make_unique<TFightWorld>(attackers, defenders);
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
    TFightWorld world(attackers, defenders);
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
