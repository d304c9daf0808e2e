// One update of the scenario on the largest map: 3,000 objects (animated scenery,
// still scenery, groups, some of them walking back and forth) with all three
// particle pools full; and how the update grows with the walking groups and with
// the objects on the map, against a memcpy of the occupancy grid.
#include "bench/RatioReporter.h"
#include "game/world/data/GlobalData.h"
#include "game/world/groups/Group.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace GameData;

namespace {

constexpr int MapSize = 128;
constexpr int ObjectCount = 3000;
constexpr int GroupCount = 400;
constexpr int WalkerCount = 20; // every other of the first 40 groups

struct TBenchWorld {
    // Every other group walks: walkers of the first side among the first groups.
    explicit TBenchWorld(int objectCount = ObjectCount, int groupCount = GroupCount,
                         int walkerCount = WalkerCount) {
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
        for (int i = 0; i < groupCount; ++i) {
            TGroup* group = World->AddGroup(uint8_t(i % 2), (i * 7) % MapSize, (i * 13) % MapSize);
            group->AddUnit(TestSupport::MakeUnit(1), true, false);
            if (i < 2 * walkerCount && i % 2 == 0)
                Walkers.push_back(group);
        }
        for (int i = scenario.Objects.Count(); i < objectCount; ++i)
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

// The update with walkers and objects given: arguments objects, groups, walkers.
void BM_UpdateGrowth(benchmark::State& state) {
    const int walkers = int(state.range(2));
    TBenchWorld world(int(state.range(0)), int(state.range(1)), walkers);
    TScenario& scenario = *world.World->Scenario;
    scenario.SetWeather(1);
    for (int i = 0; i < 300; ++i) {
        world.KeepWalkersMoving();
        scenario.Update();
    }
    for (auto _ : state) {
        world.KeepWalkersMoving();
        scenario.Update();
    }
    state.counters["objects"] = scenario.Objects.Count();
    state.counters["walkers"] = double(world.Walkers.size());
}
// Walkers from 20 to 400 among 3,000 objects (800 groups).
constexpr int WalkerSteps[] = {20, 50, 100, 200, 400};
// Objects from 750 to 12,000, a walker per 30 objects and a group per 8: the map
// filling up as a game goes on.
constexpr int ObjectSteps[] = {750, 1500, 3000, 6000, 12000};
void GrowthArguments(benchmark::internal::Benchmark* b) {
    for (const int walkers : WalkerSteps)
        b->Args({3000, 800, walkers});
    for (const int objects : ObjectSteps)
        b->Args({objects, objects / 8, std::max(objects / 30, 20)});
}
BENCHMARK(BM_UpdateGrowth)->Apply(GrowthArguments)->Unit(benchmark::kMicrosecond);

// A copy of the largest map's occupancy grid: what one full rebuild's clearing costs.
void BM_OccupancyMemcpy(benchmark::State& state) {
    const std::vector<TMapObject*> source(size_t(MapSize * MapSize));
    std::vector<TMapObject*> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size() * sizeof(TMapObject*));
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source.size() * sizeof(void*)));
}
BENCHMARK(BM_OccupancyMemcpy)->Unit(benchmark::kMicrosecond);

void PrintCurve(Bench::TRatioReporter& r, const char* title, int objects, int groups,
                const int* walkers, const int* objectCounts, int steps) {
    std::printf("\n  %s\n", title);
    const double memcpy = r.Time("BM_OccupancyMemcpy").Min;
    for (int i = 0; i < steps; ++i) {
        const int o = objectCounts ? objectCounts[i] : objects;
        const int g = objectCounts ? o / 8 : groups;
        const int w = walkers ? walkers[i] : std::max(o / 30, 20);
        char name[96];
        std::snprintf(name, sizeof name, "BM_UpdateGrowth/%d/%d/%d", o, g, w);
        const Bench::TSpread time = r.Time(name);
        std::printf("    %6d objects %4d walkers: best %8.1f us, median %8.1f us, %5.2f us a "
                    "walker, %6.1f memcpys\n",
                    o, w, time.Min, time.Median, time.Min / w, memcpy > 0 ? time.Min / memcpy : 0);
    }
}

} // namespace

int main(int argc, char** argv) {
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Slowdown("BM_ScenarioUpdate", "BM_OccupancyMemcpy", 0.0);
        const Bench::TSpread update = r.Time("BM_ScenarioUpdate");
        std::printf("  %-28s best %.1f us, median %.1f us\n", "BM_ScenarioUpdate", update.Min,
                    update.Median);
        PrintCurve(r, "Walkers among 3,000 objects (800 groups): should grow linearly", 3000, 800,
                   WalkerSteps, nullptr, 5);
        PrintCurve(r, "Objects, a walker per 30 and a group per 8: linear in objects too", 0, 0,
                   nullptr, ObjectSteps, 5);
        const double few = r.Time("BM_UpdateGrowth/3000/800/20").Min;
        const double many = r.Time("BM_UpdateGrowth/3000/800/400").Min;
        if (few > 0 && many > 0)
            std::printf("\n  Each walker beyond 20 adds %.2f us (best repetitions)\n",
                        (many - few) / 380.0);
    });
}
