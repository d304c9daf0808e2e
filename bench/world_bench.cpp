// The scenario's object registry with 3,000 objects on a 128 x 128 map: finding an
// object by identifier and keeping the draw order as objects move. The reference is
// a plain scan of the draw-ordered list for the identifier.
#include "bench/RatioReporter.h"
#include "game/world/objects/Drawings.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

using namespace GameData;

namespace {

constexpr int ObjectCount = 3000;
constexpr int MapPixels = MaxMapSize * CellSize;

struct TBenchWorld {
    explicit TBenchWorld(bool withCurrentPlayer) {
        Scenario.SetMapSize(MaxMapSize, MaxMapSize);
        std::mt19937 random(11);
        for (int i = 0; i < ObjectCount; ++i) {
            auto drawing = std::make_unique<TDrawing>(&Scenario);
            drawing->X = int16_t(random() % MapPixels);
            drawing->Y = int16_t(random() % MapPixels);
            drawing->Layer = int16_t(9 + random() % 3);
            IDs.push_back(Scenario.AddObject(std::move(drawing))->ID);
        }
        if (withCurrentPlayer) {
            Scenario.AddPlayer(std::make_unique<TPlayer>(&Scenario));
            Scenario.CurrentPlayer = Scenario.Players[0];
            Scenario.CurrentPlayerIndex = 0;
        }
    }
    TScenario Scenario;
    std::vector<uint32_t> IDs;
};

void BM_FindObjectByID(benchmark::State& state) {
    TBenchWorld world(false);
    std::mt19937 random(3);
    for (auto _ : state)
        benchmark::DoNotOptimize(world.Scenario.FindObjectByID(world.IDs[random() % ObjectCount]));
    state.SetItemsProcessed(state.iterations());
}

void BM_ScanForID(benchmark::State& state) {
    TBenchWorld world(false);
    std::mt19937 random(3);
    for (auto _ : state) {
        const uint32_t id = world.IDs[random() % ObjectCount];
        TMapObject* found = nullptr;
        for (TMapObject* object : world.Scenario.Objects)
            if (object->ID == id) {
                found = object;
                break;
            }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations());
}

// A group's step: one cell in any direction, the draw order kept by neighbour swaps.
void MoveObjects(benchmark::State& state, bool withCurrentPlayer) {
    TBenchWorld world(withCurrentPlayer);
    TScenario& s = world.Scenario;
    std::mt19937 random(5);
    for (auto _ : state) {
        const int index = int(random() % ObjectCount);
        const TMapObject* object = s.Objects[index];
        const int facing = int(random() % 8);
        const int x = std::clamp(object->X + NeighbourDX[facing] * CellSize, 0, MapPixels - 1);
        const int y = std::clamp(object->Y + NeighbourDY[facing] * CellSize, 0, MapPixels - 1);
        s.MoveObject(index, x, y);
    }
    state.SetItemsProcessed(state.iterations());
    if (!s.IsDrawOrderSorted())
        state.SkipWithError("draw order lost");
}

void BM_MoveObjectDrawOrder(benchmark::State& state) {
    MoveObjects(state, false);
}

// With a current player every move also rebuilds the occupancy grid.
void BM_MoveObjectWithOccupancy(benchmark::State& state) {
    MoveObjects(state, true);
}

} // namespace

BENCHMARK(BM_FindObjectByID);
BENCHMARK(BM_ScanForID);
BENCHMARK(BM_MoveObjectDrawOrder);
BENCHMARK(BM_MoveObjectWithOccupancy);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Bench::TRatioReporter reporter([](Bench::TRatioReporter& r) {
        r.Ratio("BM_FindObjectByID", "BM_ScanForID", 10.0);
        std::printf("  ns per look-up: %.1f; ns per moved object: %.1f (draw order), %.1f "
                    "(with the occupancy grid)\n",
                    r.Time("BM_FindObjectByID"), r.Time("BM_MoveObjectDrawOrder"),
                    r.Time("BM_MoveObjectWithOccupancy"));
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
