#include "game/world/objects/MapGeometry.h"
#include "game/world/paths/StepCost.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>
#include <cstdlib>

namespace GameData {

namespace {

constexpr int32_t MaxMoveCost = TCostBuckets::MaxCost;

// Dijkstra's order with a bucket per cost: a cell is expanded once, when its
// bucket comes up with its cost unchanged.
void FillMoveCosts(TScenario& scenario, const TPlayer* player) {
    const TStepHeights heights = TStepHeights::Current();
    const int width = scenario.Width;
    const int height = scenario.Height;
    // Plain pointers: the byte stores below would otherwise make the compiler
    // reload every vector's storage after each one.
    uint8_t* const costs = scenario.MoveCosts.data();
    const uint8_t* const terrain = scenario.Costs.data();
    const int16_t* const heightGrid = scenario.Heights.data();
    TMapObject* const* const occupancy = scenario.Occupancy.data();
    TCostBuckets& buckets = scenario.FillBuckets;
    for (int cost = 0; cost <= MaxMoveCost; ++cost) {
        const std::vector<int32_t>& bucket = buckets.Bucket(cost);
        for (size_t i = 0; i < bucket.size(); ++i) {
            const int x = bucket[i] & 0xFF;
            const int y = bucket[i] >> 8;
            const int cell = y * width + x;
            if (costs[size_t(cell)] != cost)
                continue;
            for (int n = 0; n < 8; ++n) {
                const int nx = x + NeighbourDX[n];
                const int ny = y + NeighbourDY[n];
                if (nx < 0 || ny < 0 || nx >= width || ny >= height)
                    continue;
                const int next = ny * width + nx;
                // Every step costs at least 1: nothing to gain.
                if (costs[size_t(next)] <= cost + 1)
                    continue;
                // A step may cost more than 255; the sum stays far inside 32 bits.
                const int32_t total =
                    cost + StepCostWithOccupancy(terrain, heightGrid, occupancy, cell, next,
                                                 (n & 1) != 0, player, heights);
                if (total > MaxMoveCost || total >= costs[size_t(next)])
                    continue;
                costs[size_t(next)] = uint8_t(total);
                buckets.Push(total, TCostBuckets::Pack(nx, ny));
            }
        }
        buckets.ClearBucket(cost);
    }
}

} // namespace

bool TScenario::HeightStepAllowed(int fromX, int fromY, int toY, int toX) const {
    if (!IsCellOnMap(fromX, fromY) || !IsCellOnMap(toX, toY))
        return false;
    const int step =
        std::abs(Heights[size_t(CellIndex(toX, toY))] - Heights[size_t(CellIndex(fromX, fromY))]);
    return step < TStepHeights::Current().Impassable;
}

void TScenario::FloodFillCosts(int x, int y, const TPlayer* player) {
    std::fill(MoveCosts.begin(), MoveCosts.end(), Impassable);
    FillBuckets.Reset();
    if (!IsCellOnMap(x, y))
        return;
    MoveCosts[size_t(CellIndex(x, y))] = 0;
    FillBuckets.Push(0, TCostBuckets::Pack(x, y));
    FillMoveCosts(*this, player);
}

void TScenario::FloodFillCostsFromCells(const Data::TDynamicArray<TField>& cells,
                                        const TPlayer* player) {
    std::fill(MoveCosts.begin(), MoveCosts.end(), Impassable);
    FillBuckets.Reset();
    for (const TField& field : cells) {
        if (!IsCellOnMap(field.X, field.Y))
            continue;
        const int cell = CellIndex(field.X, field.Y);
        const TMapObject* occupant = Occupancy[size_t(cell)];
        if (occupant && !MayPassOccupant(player, occupant))
            continue;
        if (MoveCosts[size_t(cell)] == 0)
            continue; // listed twice
        MoveCosts[size_t(cell)] = 0;
        FillBuckets.Push(0, TCostBuckets::Pack(field.X, field.Y));
    }
    FillMoveCosts(*this, player);
}

// Relaxed from a queue until nothing improves: the maximum may be any size, too
// large for a bucket per cost. The stored values are the cheapest totals whatever
// the order, so a cell improved while it waits is taken later with its newer value.
void TScenario::FillDistanceMap(int x, int y, int32_t maximum, const TPlayer* /*player*/) {
    maximum = std::max(maximum, int32_t(0));
    DistanceMaximum = maximum;
    std::fill(Distances.begin(), Distances.end(), maximum);
    FillQueue.Reset(Width * Height);
    if (!IsCellOnMap(x, y))
        return;
    Distances[size_t(CellIndex(x, y))] = 0;
    FillQueue.Push(CellIndex(x, y));
    const TStepHeights heights = TStepHeights::Current();
    while (!FillQueue.IsEmpty()) {
        const int cell = FillQueue.Pop();
        const int cx = cell % Width;
        const int cy = cell / Width;
        for (int n = 0; n < 8; ++n) {
            const int nx = cx + NeighbourDX[n];
            const int ny = cy + NeighbourDY[n];
            if (!IsCellOnMap(nx, ny))
                continue;
            const int next = CellIndex(nx, ny);
            const int32_t step =
                TerrainStepCost(Costs.data(), Heights.data(), cell, next, (n & 1) != 0, heights);
            // Summed in 64 bits: a maximum near the top of 32 bits must not wrap.
            const int64_t total =
                int64_t(step >= BlockedStep ? maximum : step) + Distances[size_t(cell)];
            if (total > maximum || total >= Distances[size_t(next)])
                continue;
            Distances[size_t(next)] = int32_t(total);
            FillQueue.Push(next);
        }
    }
}

int32_t TScenario::TravelDistance(int fromX, int fromY, int32_t maximum, const TPlayer* player,
                                  int toY, int toX) {
    FillDistanceMap(fromX, fromY, maximum, player);
    return DistanceAt(toX, toY);
}

int32_t TScenario::DistanceAt(int x, int y) const {
    return IsCellOnMap(x, y) ? Distances[size_t(CellIndex(x, y))] : DistanceMaximum;
}

bool TScenario::IsCellReachable(int x, int y) const {
    return IsCellOnMap(x, y) && MoveCosts[size_t(CellIndex(x, y))] < Impassable;
}

} // namespace GameData
