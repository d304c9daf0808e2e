#include "game/world/objects/MapGeometry.h"
#include "game/world/paths/StepCost.h"
#include "game/world/scenario/Scenario.h"

#include <climits>

namespace GameData {

namespace {

struct TDescent {
    int X = -1;
    int Y = -1;
    int32_t Total = INT32_MAX;
};

// The neighbour to come from on the cheapest way into (x, y): the least MoveCosts
// plus the step from it; the earliest neighbour wins ties.
template <typename TStep>
TDescent CheapestPredecessor(const TScenario& scenario, int x, int y, TStep step) {
    TDescent best;
    const int to = scenario.CellIndex(x, y);
    for (int n = 0; n < 8; ++n) {
        const int nx = x + NeighbourDX[n];
        const int ny = y + NeighbourDY[n];
        if (!scenario.IsCellOnMap(nx, ny))
            continue;
        const int from = scenario.CellIndex(nx, ny);
        const int32_t total = scenario.MoveCosts[size_t(from)] + step(from, to, nx != x && ny != y);
        if (total < best.Total)
            best = {nx, ny, total};
    }
    return best;
}

// Moves the cells stored at Path[first .. PathLength-1] to the front.
int MovePathToFront(std::array<TPathCell, PathLength>& path, int first) {
    const int count = PathLength - first;
    for (int i = 0; i < count; ++i)
        path[size_t(i)] = path[size_t(first + i)];
    return count;
}

} // namespace

int TScenario::BuildPath(int startX, int startY, const TPlayer* player, int targetY, int targetX) {
    if (!IsCellOnMap(targetX, targetY) || !IsCellOnMap(startX, startY))
        return -1;
    if (startX == targetX && startY == targetY)
        return 0;
    if (MoveCosts[size_t(CellIndex(targetX, targetY))] > 254)
        return -1;
    const TStepHeights heights = TStepHeights::Current();
    const auto step = [&](int from, int to, bool diagonal) {
        return StepCostWithOccupancy(Costs.data(), Heights.data(), Occupancy.data(), from, to,
                                     diagonal, player, heights);
    };
    int x = targetX;
    int y = targetY;
    int k = PathLength - 1;
    Path[size_t(k)] = {int16_t(x), int16_t(y)};
    while (k >= 1 && (x != startX || y != startY)) {
        const TDescent best = CheapestPredecessor(*this, x, y, step);
        if (best.Total >= BlockedStep)
            return -1;
        x = best.X;
        y = best.Y;
        --k;
        Path[size_t(k)] = {int16_t(x), int16_t(y)};
    }
    if (x != startX || y != startY)
        return -1;
    return MovePathToFront(Path, k + 1);
}

int TScenario::BuildPathTo(int targetX, int targetY, const TPlayer* player) {
    if (!IsCellOnMap(targetX, targetY) || MoveCosts[size_t(CellIndex(targetX, targetY))] > 254)
        return -1;
    const TStepHeights heights = TStepHeights::Current();
    const auto step = [&](int from, int to, bool diagonal) {
        return StepCostWithOccupancy(Costs.data(), Heights.data(), Occupancy.data(), from, to,
                                     diagonal, player, heights);
    };
    int x = targetX;
    int y = targetY;
    int k = PathLength - 1;
    Path[size_t(k)] = {int16_t(x), int16_t(y)};
    while (k >= 1 && MoveCosts[size_t(CellIndex(x, y))] != 0) {
        const TDescent best = CheapestPredecessor(*this, x, y, step);
        if (best.Total >= BlockedStep)
            return -1;
        x = best.X;
        y = best.Y;
        --k;
        Path[size_t(k)] = {int16_t(x), int16_t(y)};
    }
    if (MoveCosts[size_t(CellIndex(x, y))] != 0)
        return -1;
    return MovePathToFront(Path, k);
}

bool TScenario::ReachableCellTowardsTarget(int targetX, int targetY, int& outY, int& outX,
                                           int budget, int ownX, int ownY) const {
    outX = -1;
    outY = -1;
    if (!IsCellOnMap(targetX, targetY))
        return false;
    const TStepHeights heights = TStepHeights::Current();
    const auto step = [&](int from, int to, bool diagonal) {
        return TerrainStepCost(Costs.data(), Heights.data(), from, to, diagonal, heights);
    };
    int x = targetX;
    int y = targetY;
    const int targetCost = MoveCosts[size_t(CellIndex(x, y))];
    if (targetCost > 254)
        return false;
    // Every step of the descent lowers the cost, so it ends within the fill's
    // range; the bound only guards grids changed since the fill.
    for (int steps = 0; targetCost > budget && steps <= Width * Height; ++steps) {
        const TDescent best = CheapestPredecessor(*this, x, y, step);
        if (best.Total >= BlockedStep)
            return false;
        x = best.X;
        y = best.Y;
        if (x == ownX && y == ownY)
            return false;
        if (MoveCosts[size_t(CellIndex(x, y))] <= budget)
            break;
    }
    if (MoveCosts[size_t(CellIndex(x, y))] > budget)
        return false;
    outX = x;
    outY = y;
    return true;
}

bool TScenario::FindNearestReachableCell(int& x, int& y) const {
    int64_t bestDistance = INT64_MAX;
    int bestX = -1;
    int bestY = -1;
    for (int cy = 0; cy < Height; ++cy)
        for (int cx = 0; cx < Width; ++cx) {
            const int cell = CellIndex(cx, cy);
            if (MoveCosts[size_t(cell)] > 254 || Occupancy[size_t(cell)])
                continue;
            const int64_t dx = cx - x;
            const int64_t dy = cy - y;
            if (dx * dx + dy * dy < bestDistance) {
                bestDistance = dx * dx + dy * dy;
                bestX = cx;
                bestY = cy;
            }
        }
    if (bestX < 0)
        return false;
    x = bestX;
    y = bestY;
    return true;
}

} // namespace GameData
