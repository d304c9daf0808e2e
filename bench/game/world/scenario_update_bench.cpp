// One update of the scenario on the largest map: 3,000 objects (animated scenery,
// still scenery, groups, some of them walking back and forth) with all three
// particle pools full.
#include "game/world/data/GlobalData.h"
#include "game/world/groups/Group.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace GameData;

namespace {

constexpr int MapSize = 128;
constexpr int ObjectCount = 3000;
constexpr int GroupCount = 400;
constexpr int WalkerCount = 40;

struct TBenchWorld {
    TBenchWorld() {
        for (int i = 0; i < 3; ++i)
            Data.SetConstant(Data2::gcFirstStepHeight + i, 10 * (i + 1));
        Data.SetConstant(Data2::gcSightDistanceScale, 1);
        Data2::TUnitPrototype& prototype = Data.AddUnitPrototype(1, "Walker");
        TestSupport::SetStat(prototype.Stats, HITPOINTS, 30);
        TestSupport::SetStat(prototype.Stats, ACTIONPOINTS, 30000);
        TestSupport::SetStat(prototype.Stats, SIGHT, 3);
        TestSupport::TTinyWorldOptions options;
        options.Width = options.Height = MapSize;
        World = std::make_unique<TestSupport::TTinyWorld>(options);
        TScenario& scenario = *World->Scenario;
        scenario.BeginTurnOf(0);
        for (int i = 0; i < GroupCount; ++i) {
            TGroup* group = World->AddGroup(uint8_t(i % 2), (i * 7) % MapSize, (i * 13) % MapSize);
            group->AddUnit(TestSupport::MakeUnit(1), true, false);
            if (i < WalkerCount && i % 2 == 0)
                Walkers.push_back(group);
        }
        for (int i = scenario.Objects.Count(); i < ObjectCount; ++i)
            World->AddDoodle(i % 3 == 0 ? TestSupport::TTinyWorld::Fountain
                                        : TestSupport::TTinyWorld::Tree,
                             (i * 11) % MapSize, (i * 5) % MapSize);
        scenario.UpdateAllVisibility();
    }

    void KeepWalkersMoving() {
        TScenario& scenario = *World->Scenario;
        for (TGroup* group : Walkers)
            if (group->AnimState == asIdle && group->Activity == gaNone) {
                const int x = group->X / CellSize;
                group->MoveTo(x < MapSize / 2 ? x + 3 : x - 3, group->Y / CellSize, true, 0);
            }
        scenario.CurrentPlayer->TakeAction();
        // Only one weather lasts at a time; holding all three targets up keeps every
        // pool full, the heaviest case.
        scenario.WeatherCounters[0] = RainDropCount;
        scenario.WeatherCounters[1] = SnowFlakeCount;
        scenario.WeatherCounters[2] = SandSeedCount;
        for (size_t live = 3; live < 6; ++live)
            scenario.WeatherCounters[live] = std::max(scenario.WeatherCounters[live], 1);
    }

    TestSupport::TTestGameData Data;
    std::unique_ptr<TestSupport::TTinyWorld> World;
    std::vector<TGroup*> Walkers;
};

void BM_ScenarioUpdate(benchmark::State& state) {
    TBenchWorld world;
    TScenario& scenario = *world.World->Scenario;
    scenario.SetWeather(1);
    for (int i = 0; i < 2000; ++i) { // fill the pools
        world.KeepWalkersMoving();
        scenario.Update();
    }
    for (auto _ : state) {
        world.KeepWalkersMoving();
        scenario.Update();
    }
    state.counters["objects"] = scenario.Objects.Count();
    state.counters["particles"] =
        scenario.WeatherCounters[3] + scenario.WeatherCounters[4] + scenario.WeatherCounters[5];
}
BENCHMARK(BM_ScenarioUpdate)->Unit(benchmark::kMicrosecond);

void BM_WeatherDraw(benchmark::State& state) {
    TBenchWorld world;
    TScenario& scenario = *world.World->Scenario;
    scenario.SetWeather(1);
    for (int i = 0; i < 2000; ++i) {
        world.KeepWalkersMoving();
        scenario.Update();
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(scenario.DrawWeatherParticles());
}
// Drawing all three pools into the weather tile.
BENCHMARK(BM_WeatherDraw)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
