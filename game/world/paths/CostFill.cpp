#include "game/world/objects/MapGeometry.h"
#include "game/world/paths/StepCost.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace GameData {

namespace {

constexpr int32_t MaxMoveCost = TCostBuckets::MaxCost;

// The player's view of the terrain: cells held by anyone it may not pass cost as
// much as blocked terrain, which is what a step into them costs.
const uint8_t* EnterCostsFor(TScenario& scenario, const TPlayer* player) {
    std::vector<uint8_t>& enter = scenario.FillBuckets.EnterCosts();
    enter = scenario.Costs;
    TMapObject* const* const occupancy = scenario.Occupancy.data();
    const size_t cells = enter.size();
    constexpr size_t Run = 8;
    for (size_t first = 0; first < cells; first += Run) {
        const size_t last = std::min(first + Run, cells);
        // Most of the map is empty: a run of empty cells is passed over at once.
        uintptr_t any = 0;
        for (size_t cell = first; cell < last; ++cell)
            any |= reinterpret_cast<uintptr_t>(occupancy[cell]);
        if (any == 0)
            continue;
        for (size_t cell = first; cell < last; ++cell)
            if (occupancy[cell] && !MayPassOccupant(player, occupancy[cell]))
                enter[cell] = uint8_t(BlockedStep);
    }
    return enter.data();
}

// Dijkstra's order with a bucket per cost: a cell is expanded once, when its
// bucket comes up with its cost unchanged. On rough ground whether a neighbour
// improves is unpredictable, and mispredicting it was most of the time: each
// neighbour is relaxed by arithmetic alone, its entry written whether it counts or
// not, and the entries that count are chained to their buckets after each bucket.
void FillMoveCosts(TScenario& scenario, const TPlayer* player) {
    const TStepHeights heights = TStepHeights::Current();
    const int width = scenario.Width;
    const int height = scenario.Height;
    // Plain pointers and locals: the byte stores below would otherwise make the
    // compiler reload every vector's storage after each one.
    uint8_t* const costs = scenario.MoveCosts.data();
    const uint8_t* const terrain = EnterCostsFor(scenario, player);
    const int16_t* const heightGrid = scenario.Heights.data();
    TCostBuckets& buckets = scenario.FillBuckets;
    int32_t* const entries = buckets.Entries();
    int32_t* const links = buckets.Links();
    std::array<int32_t, MaxMoveCost + 1> heads;
    heads.fill(TCostBuckets::NoEntry);
    size_t used = buckets.Used();
    size_t chained = 0;
    const auto chainNewEntries = [&] {
        for (; chained < used; ++chained) {
            const size_t bucket = size_t(TCostBuckets::CostOf(entries[chained]));
            links[chained] = heads[bucket];
            heads[bucket] = int32_t(chained);
        }
    };
    const auto relax = [&](int cost, int cell, int next, int32_t packedNext, bool diagonal) {
        // A step may cost more than 255; the sum stays far inside 32 bits.
        const int32_t total =
            cost + TerrainStepCost(terrain, heightGrid, cell, next, diagonal, heights);
        const int32_t old = costs[size_t(next)];
        // All ones when the total improves and stays inside the buckets: arithmetic,
        // so that the compiler does not turn it back into a branch.
        const int32_t keep = ((total - old) & (total - MaxMoveCost - 1)) >> 31;
        costs[size_t(next)] = uint8_t(old + ((total - old) & keep));
        entries[used] = TCostBuckets::Entry(total, packedNext);
        used -= size_t(keep);
    };
    std::array<int, 8> cellSteps{};
    std::array<int32_t, 8> packedSteps{};
    for (int n = 0; n < 8; ++n) {
        cellSteps[size_t(n)] = NeighbourDY[n] * width + NeighbourDX[n];
        packedSteps[size_t(n)] = TCostBuckets::Pack(0, NeighbourDY[n]) + NeighbourDX[n];
    }
    chainNewEntries();
    // Held entries only grow while a bucket is walked and its entries go when it is
    // done: the peak comes at a bucket's end.
    size_t walked = 0;
    size_t peak = used;
    for (int cost = 0; cost <= MaxMoveCost; ++cost) {
        const size_t walkedBefore = walked;
        for (int32_t entry = heads[size_t(cost)]; entry != TCostBuckets::NoEntry;
             entry = links[size_t(entry)]) {
            ++walked;
            const int32_t packed = TCostBuckets::CellOf(entries[size_t(entry)]);
            const int x = packed & 0xFF;
            const int y = packed >> 8;
            const int cell = y * width + x;
            if (costs[size_t(cell)] != cost)
                continue;
            if (x > 0 && y > 0 && x + 1 < width && y + 1 < height) {
#pragma GCC unroll 8
                for (size_t n = 0; n < 8; ++n)
                    relax(cost, cell, cell + cellSteps[n], packed + packedSteps[n], (n & 1) != 0);
                continue;
            }
            for (int n = 0; n < 8; ++n) {
                const int nx = x + NeighbourDX[n];
                const int ny = y + NeighbourDY[n];
                if (nx >= 0 && ny >= 0 && nx < width && ny < height)
                    relax(cost, cell, ny * width + nx, TCostBuckets::Pack(nx, ny), (n & 1) != 0);
            }
        }
        peak = std::max(peak, used - walkedBefore);
        chainNewEntries();
    }
    buckets.Finish(used, int(peak));
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
    FillBuckets.Reset(MoveCosts.size());
    if (!IsCellOnMap(x, y))
        return;
    MoveCosts[size_t(CellIndex(x, y))] = 0;
    FillBuckets.Push(0, TCostBuckets::Pack(x, y));
    FillMoveCosts(*this, player);
}

void TScenario::FloodFillCostsFromCells(const Data::TDynamicArray<TField>& cells,
                                        const TPlayer* player) {
    std::fill(MoveCosts.begin(), MoveCosts.end(), Impassable);
    FillBuckets.Reset(MoveCosts.size());
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
