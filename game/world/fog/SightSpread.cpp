#include "game/world/data/LoadedGlobalData.h"
#include "game/world/fog/Fog.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace GameData {

namespace {

constexpr int16_t Unreached = -1;
constexpr int8_t LowestAngle = -90;
constexpr int StraightSightCost = 6;
constexpr int DiagonalSightCost = 9;
constexpr int SlopeSightCost = 2;

int Sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

struct TFog::TSpread {
    int CentreX;
    int CentreY;
    int CentreHeight;
    int32_t Tolerance;
    int32_t HeightOffset;
    int32_t DistanceScale;
    const std::vector<int16_t>& Heights;
};

bool TFog::PropagateSight(const TSpread& spread, int tx, int ty, int s, int s2) {
    if (!IsOnGrid(tx, ty))
        return false;
    const int t = CellAt(tx, ty);
    const int targetHeight = spread.Heights[size_t(t)];

    const auto budgetFrom = [&](int source) {
        const bool diagonal = source % Width != tx && source / Width != ty;
        int budget = Budget[size_t(source)] - (diagonal ? DiagonalSightCost : StraightSightCost);
        const int sourceHeight = spread.Heights[size_t(source)];
        if (sourceHeight < targetHeight)
            budget -= SlopeSightCost;
        else if (sourceHeight > targetHeight)
            budget += SlopeSightCost;
        return budget;
    };
    int budget = budgetFrom(s);
    int horizon = Horizon[size_t(s)];
    if (s2 >= 0) {
        budget = std::max(budget, budgetFrom(s2));
        horizon = std::min(horizon, int(Horizon[size_t(s2)]));
    }
    if (budget < 0)
        return false;

    const int dx = spread.CentreX - tx;
    const int dy = spread.CentreY - ty;
    const double distance =
        std::trunc(std::sqrt(100.0 * double(dx * dx + dy * dy)) * double(spread.DistanceScale));
    const int rise = (targetHeight - spread.CentreHeight) / 10 - spread.HeightOffset;
    const int angle =
        int(std::trunc(std::atan2(double(rise), distance) * 180.0 * (1.0 / std::numbers::pi)));

    Budget[size_t(t)] = int16_t(budget);
    // A negative distance scale could turn angles past 127 degrees: kept in the byte.
    Horizon[size_t(t)] = int8_t(std::clamp(std::max(angle, horizon), -128, 127));
    if (!(int64_t(horizon) - spread.Tolerance > angle))
        Cells[size_t(t)] = fsVisible;
    return true;
}

void TFog::SpreadSight(int index) {
    const TSightSource& source = SightSources[size_t(index)];
    if (!Scenario || Scenario->Width != Width || Scenario->Height != Height)
        return;
    const int cx = source.X / CellSize;
    const int cy = source.Y / CellSize;
    if (source.X < 0 || source.Y < 0 || !IsOnGrid(cx, cy))
        return;

    // Every ring costs at least 4 points (a straight step down a slope), so sight
    // cannot pass this radius: only the square inside it needs fresh scratch.
    const int sight = std::max(source.Sight, 2);
    const int start = int(std::min<int64_t>(int64_t(sight) * 6 - 3, INT16_MAX));
    const int reach = std::min(start / 4 + 1, int(std::max(Width, Height)));
    for (int y = std::max(cy - reach, 0); y <= std::min(cy + reach, int(Height) - 1); ++y) {
        const int row = CellAt(0, y);
        const int left = row + std::max(cx - reach, 0);
        const int right = row + std::min(cx + reach, int(Width) - 1) + 1;
        std::fill(Budget.begin() + left, Budget.begin() + right, Unreached);
        std::fill(Horizon.begin() + left, Horizon.begin() + right, LowestAngle);
    }

    const int centre = CellAt(cx, cy);
    Cells[size_t(centre)] = fsVisible;
    Budget[size_t(centre)] = int16_t(start);
    const TSpread spread{cx,
                         cy,
                         Scenario->Heights[size_t(centre)],
                         Data2::GameConstant(Data2::gcSightTolerance),
                         Data2::GameConstant(Data2::gcSightHeightOffset),
                         Data2::GameConstant(Data2::gcSightDistanceScale),
                         Scenario->Heights};

    // Source cells one ring nearer the centre; -1 where a cell is off the grid
    // (its target then is too, as the grid is a rectangle holding the centre).
    const auto at = [&](int dx, int dy) {
        return IsOnGrid(cx + dx, cy + dy) ? CellAt(cx + dx, cy + dy) : -1;
    };
    const auto reachCell = [&](int dx, int dy, int sdx, int sdy, int s2dx, int s2dy, bool two) {
        if (!IsOnGrid(cx + dx, cy + dy))
            return false;
        return PropagateSight(spread, cx + dx, cy + dy, at(sdx, sdy), two ? at(s2dx, s2dy) : -1);
    };
    // Corners from their diagonal neighbour, axis cells from their straight one.
    const auto corner = [&](int dx, int dy) {
        return reachCell(dx, dy, dx - Sign(dx), dy - Sign(dy), 0, 0, false);
    };
    const auto& axis = corner;
    // (k, +-r) from (k, +-(r-1)) and (k - sign k, +-(r-1)); (+-r, k) likewise.
    const auto edgeRow = [&](int k, int dy) {
        return reachCell(k, dy, k, dy - Sign(dy), k - Sign(k), dy - Sign(dy), true);
    };
    const auto edgeColumn = [&](int dx, int k) {
        return reachCell(dx, k, dx - Sign(dx), k, dx - Sign(dx), k - Sign(k), true);
    };

    bool reached = true;
    for (int r = 1; reached && r <= reach; ++r) {
        reached = false;
        reached |= corner(r, r);
        reached |= corner(r, -r);
        reached |= corner(-r, -r);
        reached |= corner(-r, r);
        reached |= axis(0, r);
        reached |= axis(r, 0);
        reached |= axis(0, -r);
        reached |= axis(-r, 0);
        const auto sides = [&](int k) {
            reached |= edgeRow(k, r);
            reached |= edgeRow(k, -r);
            reached |= edgeColumn(r, k);
            reached |= edgeColumn(-r, k);
        };
        for (int k = 1; k <= r - 1; ++k)
            sides(k);
        for (int k = -(r - 1); k <= -1; ++k)
            sides(k);
    }

    for (int n = 0; n < 8; ++n)
        if (IsOnGrid(cx + NeighbourDX[n], cy + NeighbourDY[n]))
            Cells[size_t(CellAt(cx + NeighbourDX[n], cy + NeighbourDY[n]))] = fsVisible;
}

} // namespace GameData
