// Path finding and fog on the largest map (128 x 128) with varied heights and
// obstacles: the movement-cost fill against a plain Dijkstra with a priority queue
// over the same step costs, and the fog of five players with 40 groups each.
#include "bench/RatioReporter.h"
#include "game/world/data/GlobalData.h"
#include "game/world/fog/Fog.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/paths/StepCost.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "tests/support/UnitBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <queue>
#include <vector>

using namespace GameData;

namespace {

constexpr int MapSize = 128;
constexpr int Centre = MapSize / 2;

struct TBenchWorld {
    explicit TBenchWorld(int costSpread, int side = MapSize) {
        Data.SetConstant(Data2::gcFirstStepHeight, 10);
        Data.SetConstant(Data2::gcFirstStepHeight + 1, 20);
        Data.SetConstant(Data2::gcFirstStepHeight + 2, 40);
        Data.SetConstant(Data2::gcSightTolerance, 5);
        Data.SetConstant(Data2::gcSightHeightOffset, 0);
        Data.SetConstant(Data2::gcSightDistanceScale, 1);
        Scenario.SetMapSize(side, side);
        uint64_t seed = 12345;
        const auto next = [&] {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            return uint32_t(seed >> 33);
        };
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const size_t cell = size_t(Scenario.CellIndex(x, y));
                // Rolling hills with some rough cells, one cell in ten blocked.
                Scenario.BaseHeights[cell] =
                    int16_t((x * 7 + y * 3) % 60 + (x * y) % 11 + next() % 8);
                Scenario.BaseCosts[cell] =
                    next() % 10 == 0 ? 255 : uint8_t(1 + next() % costSpread);
            }
        Scenario.BaseCosts[size_t(Scenario.CellIndex(side / 2, side / 2))] = 1;
        Scenario.RebuildTerrainGrids();
        for (int i = 0; i < MaxPlayers; ++i)
            Scenario.AddPlayer(std::make_unique<TPlayer>(&Scenario));
    }

    TestSupport::TTestGameData Data;
    TScenario Scenario;
};

TBenchWorld& World(int costSpread) {
    static TBenchWorld cheap(4);
    static TBenchWorld varied(20);
    return costSpread == 4 ? cheap : varied;
}

// The same costs by Dijkstra's algorithm: each cell settled once from a binary heap.
void DijkstraMoveCosts(const TScenario& s, const TPlayer* player, std::vector<uint8_t>& costs) {
    const TStepHeights heights = TStepHeights::Current();
    std::fill(costs.begin(), costs.end(), uint8_t(255));
    using TEntry = std::pair<int32_t, int32_t>;
    std::priority_queue<TEntry, std::vector<TEntry>, std::greater<>> open;
    const int start = s.CellIndex(Centre, Centre);
    costs[size_t(start)] = 0;
    open.push({0, start});
    while (!open.empty()) {
        const auto [cost, cell] = open.top();
        open.pop();
        if (cost > costs[size_t(cell)])
            continue;
        const int x = cell % MapSize, y = cell / MapSize;
        for (int n = 0; n < 8; ++n) {
            const int nx = x + NeighbourDX[n], ny = y + NeighbourDY[n];
            if (!s.IsCellOnMap(nx, ny))
                continue;
            const int next = s.CellIndex(nx, ny);
            const int32_t total =
                cost + StepCostWithOccupancy(s.Costs.data(), s.Heights.data(), s.Occupancy.data(),
                                             cell, next, nx != x && ny != y, player, heights);
            if (total <= 200 && total < costs[size_t(next)]) {
                costs[size_t(next)] = uint8_t(total);
                open.push({total, next});
            }
        }
    }
}

void BM_CostFill(benchmark::State& state) {
    TScenario& s = World(int(state.range(0))).Scenario;
    for (auto _ : state) {
        s.FloodFillCosts(Centre, Centre, s.Players[0]);
        benchmark::DoNotOptimize(s.MoveCosts.data());
    }
    state.SetItemsProcessed(state.iterations());
    int reached = 0;
    for (const uint8_t cost : s.MoveCosts)
        reached += cost < 255;
    state.counters["reached"] = reached;
    state.counters["peak_queue"] = s.FillBuckets.Peak();
}
BENCHMARK(BM_CostFill)->Arg(4)->Arg(20)->Unit(benchmark::kMicrosecond);

void BM_DijkstraReference(benchmark::State& state) {
    TScenario& s = World(int(state.range(0))).Scenario;
    std::vector<uint8_t> costs(s.MoveCosts.size());
    for (auto _ : state) {
        DijkstraMoveCosts(s, s.Players[0], costs);
        benchmark::DoNotOptimize(costs.data());
    }
    state.SetItemsProcessed(state.iterations());
    s.FloodFillCosts(Centre, Centre, s.Players[0]);
    state.counters["same_costs"] = costs == s.MoveCosts;
}
BENCHMARK(BM_DijkstraReference)->Arg(4)->Arg(20)->Unit(benchmark::kMicrosecond);

// The cheap hilly map cut to sides 32, 64 and 128, filled from its centre: the time
// per reached cell should not grow with the map.
void BM_CostFillSide(benchmark::State& state) {
    const int side = int(state.range(0));
    static TBenchWorld small(4, 32), middle(4, 64);
    TScenario& s = side == 32 ? small.Scenario : side == 64 ? middle.Scenario : World(4).Scenario;
    for (auto _ : state) {
        s.FloodFillCosts(side / 2, side / 2, s.Players[0]);
        benchmark::DoNotOptimize(s.MoveCosts.data());
    }
    int reached = 0;
    for (const uint8_t cost : s.MoveCosts)
        reached += cost < 255;
    state.SetItemsProcessed(state.iterations() * reached);
    state.counters["reached"] = reached;
    state.counters["ns_per_cell"] =
        benchmark::Counter(double(state.iterations()) * reached * 1e-9,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CostFillSide)->Arg(32)->Arg(64)->Arg(128)->Unit(benchmark::kMicrosecond);

// Every fill cell at cost 1 on the flat largest map: the widest front the queue sees.
void BM_CostFillWholeMap(benchmark::State& state) {
    TScenario& s = World(4).Scenario;
    const std::vector<uint8_t> costs = s.Costs;
    const std::vector<int16_t> heights = s.Heights;
    std::fill(s.Costs.begin(), s.Costs.end(), uint8_t(1));
    std::fill(s.Heights.begin(), s.Heights.end(), int16_t(0));
    for (auto _ : state) {
        s.FloodFillCosts(0, 0, s.Players[0]);
        benchmark::DoNotOptimize(s.MoveCosts.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["peak_queue"] = s.FillBuckets.Peak();
    s.Costs = costs;
    s.Heights = heights;
}
BENCHMARK(BM_CostFillWholeMap)->Unit(benchmark::kMicrosecond);

// The whole visibility pass of five players with 40 groups each spread over the
// map (sight 3 to 8): sources collected, sight spread, sightings, images.
// The computer player's distance fill over the whole cheap map: its queue holds
// each cell at most once.
void BM_DistanceFill(benchmark::State& state) {
    TScenario& s = World(4).Scenario;
    for (auto _ : state) {
        s.FillDistanceMap(Centre, Centre, 10000, s.Players[0]);
        benchmark::DoNotOptimize(s.Distances.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["peak_queue"] = s.FillQueue.Peak();
}
BENCHMARK(BM_DistanceFill)->Unit(benchmark::kMicrosecond);

// Once: the benchmark function runs several times, and prototypes must all be
// added before units point at them.
void AddSightGroups(TBenchWorld& world) {
    TScenario& s = world.Scenario;
    for (int sight = 3; sight <= 8; ++sight) {
        Data2::TUnitPrototype& prototype = world.Data.AddUnitPrototype(sight);
        TestSupport::SetStat(prototype.Stats, SIGHT, int16_t(sight));
    }
    uint64_t seed = 99;
    for (int p = 0; p < MaxPlayers; ++p)
        for (int g = 0; g < 40; ++g) {
            seed = seed * 6364136223846793005ull + 1442695040888963407ull;
            auto group = std::make_unique<TGroup>(&s);
            group->X = int16_t(int(seed >> 33) % MapSize * CellSize + HalfCell);
            group->Y = int16_t(int(seed >> 45) % MapSize * CellSize + HalfCell);
            group->OwnerIndex = uint8_t(p);
            auto* added = static_cast<TGroup*>(s.AddObject(std::move(group)));
            added->AddUnit(TestSupport::MakeUnit(3 + int((seed >> 20) % 6)), true, false);
        }
}

void BM_FogFivePlayers(benchmark::State& state) {
    TBenchWorld& world = World(20);
    TScenario& s = world.Scenario;
    static const bool added = (AddSightGroups(world), true);
    (void)added;
    s.CurrentPlayer = s.Players[0];
    for (auto _ : state) {
        s.UpdateAllVisibility();
        benchmark::DoNotOptimize(s.Players[0]->Fog->Cells.data());
    }
    state.SetItemsProcessed(state.iterations());
    s.CurrentPlayer = nullptr;
}
BENCHMARK(BM_FogFivePlayers)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return Bench::RunWithRatios(argc, argv, [](Bench::TRatioReporter& r) {
        r.Ratio("BM_CostFill/4", "BM_DijkstraReference/4", 1.5);
        r.Ratio("BM_CostFill/20", "BM_DijkstraReference/20", 1.5);
        for (const char* name : {"BM_CostFill/4", "BM_CostFill/20", "BM_CostFillWholeMap"}) {
            const Bench::TSpread time = r.Time(name);
            std::printf("  %-28s best %.3f ms, median %.3f ms (target under 0.5 ms)\n", name,
                        time.Min / 1000.0, time.Median / 1000.0);
        }
        for (const char* name :
             {"BM_CostFillSide/32", "BM_CostFillSide/64", "BM_CostFillSide/128"}) {
            const Bench::TSpread rate = r.Rate(name);
            std::printf("  %-28s best %.1f ns, median %.1f ns per reached cell\n", name,
                        1e9 / rate.Max, 1e9 / rate.Median);
        }
        const Bench::TSpread fog = r.Time("BM_FogFivePlayers");
        std::printf("  %-28s best %.2f ms, median %.2f ms (target under 5 ms)\n",
                    "BM_FogFivePlayers", fog.Min, fog.Median);
    });
}
