#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/paths/StepCost.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"

#include <climits>

namespace GameData {

namespace {

// The 16 cells two steps out, around a camp's 3 x 3 cells.
constexpr int RingDX[16] = {0, 1, 2, 2, 2, 2, 2, 1, 0, -1, -2, -2, -2, -2, -2, -1};
constexpr int RingDY[16] = {2, 2, 2, 1, 0, -1, -2, -2, -2, -2, -2, -1, 0, 1, 2, 2};

bool IsCamped(const TMapObject& object) {
    if (object.Kind != okGroup)
        return false;
    const int32_t state = static_cast<const TGroup&>(object).CampState;
    return state == csSettingUp || state == csPitched;
}

} // namespace

void TScenario::FloodFillCosts(int x, int y, const TGroup& group) {
    FloodFillCosts(x, y, group.GetOwner());
}

void TScenario::FloodFillCostsFromCells(const Data::TDynamicArray<TField>& cells,
                                        const TGroup& group) {
    FloodFillCostsFromCells(cells, group.GetOwner());
}

int TScenario::BuildPath(int startX, int startY, const TGroup& group, int targetY, int targetX) {
    return BuildPath(startX, startY, group.GetOwner(), targetY, targetX);
}

int TScenario::BuildPathTo(int targetX, int targetY, const TGroup& group) {
    return BuildPathTo(targetX, targetY, group.GetOwner());
}

bool TScenario::ReachableCellTowardsTarget(int targetX, int targetY, int& outY, int& outX,
                                           const TGroup& group) const {
    return ReachableCellTowardsTarget(targetX, targetY, outY, outX, group.LowestActionPoints(),
                                      group.TMapObject::CellX(), group.TMapObject::CellY());
}

bool TScenario::IsObjectReachable(const TMapObject& object) const {
    return IsCellReachable(object.CellX(), object.CellY());
}

bool TScenario::FindApproachCell(const TMapObject& target, const TGroup& mover, int& outY,
                                 int& outX) const {
    const bool camped = IsCamped(target);
    const int count = camped ? 16 : 8;
    const int tx = target.CellX();
    const int ty = target.CellY();
    int best = Impassable;
    for (int i = 0; i < count; ++i) {
        const int x = tx + (camped ? RingDX[i] : NeighbourDX[i]);
        const int y = ty + (camped ? RingDY[i] : NeighbourDY[i]);
        if (!IsCellOnMap(x, y) || MoveCosts[size_t(CellIndex(x, y))] >= best ||
            !HeightStepAllowed(x, y, ty, tx) || mover.IsCellTakenByOther(x, y))
            continue;
        best = MoveCosts[size_t(CellIndex(x, y))];
        outX = x;
        outY = y;
    }
    return best < Impassable;
}

bool TScenario::CanApproachObject(const TMapObject& target, const TGroup& mover) const {
    int x = 0, y = 0;
    return FindApproachCell(target, mover, y, x);
}

bool TScenario::FindLocationEntryCell(const TLocation& location, const TGroup& group, int& outY,
                                      int& outX) const {
    bool shared = false;
    if (location.Kind == okCity) {
        const auto& city = static_cast<const TCity&>(location);
        const TPlayer* owner = group.GetOwner();
        const bool enemy = owner && owner->GetRelationToCity(&city) == reEnemy;
        shared = !city.HasScriptedEntry() && (!enemy || !city.HasDefenders());
    }
    int best = Impassable;
    for (const TField& cell : location.Footprint.Cells) {
        if (!IsCellOnMap(cell.X, cell.Y) || MoveCosts[size_t(CellIndex(cell.X, cell.Y))] >= best)
            continue;
        const bool free = !group.IsCellTakenByOther(cell.X, cell.Y);
        const bool ownSide = Occupancy[size_t(CellIndex(cell.X, cell.Y))] != nullptr &&
                             group.IsCellOpenFor(cell.X, cell.Y);
        if (!free && !(shared && ownSide))
            continue;
        best = MoveCosts[size_t(CellIndex(cell.X, cell.Y))];
        outX = cell.X;
        outY = cell.Y;
    }
    return best < Impassable;
}

bool TScenario::CanReachLocation(const TLocation& location, const TGroup& group) const {
    int x = 0, y = 0;
    return FindLocationEntryCell(location, group, y, x);
}

bool TScenario::IsCellInAnyCity(int x, int y) const {
    for (int i = 0; i < Objects.Count(); ++i)
        if (Objects[i]->Kind == okCity &&
            static_cast<const TCity*>(Objects[i])->Footprint.ContainsCell(x, y))
            return true;
    return false;
}

bool TScenario::FindNearestFreeCellOutsideCities(int& x, int& y) const {
    int64_t bestDistance = INT64_MAX;
    int bestX = -1, bestY = -1;
    for (int cy = 0; cy < Height; ++cy)
        for (int cx = 0; cx < Width; ++cx) {
            const int cell = CellIndex(cx, cy);
            if (MoveCosts[size_t(cell)] >= Impassable || Occupancy[size_t(cell)])
                continue;
            const int64_t dx = cx - x, dy = cy - y;
            if (dx * dx + dy * dy >= bestDistance || IsCellInAnyCity(cx, cy))
                continue;
            bestDistance = dx * dx + dy * dy;
            bestX = cx;
            bestY = cy;
        }
    if (bestX < 0)
        return false;
    x = bestX;
    y = bestY;
    return true;
}

bool TScenario::FreeCellTowardsTarget(int& x, int& y) {
    const TGroup* selected = CurrentPlayer ? CurrentPlayer->GetSelectedGroup() : nullptr;
    if (!selected || !IsCellOnMap(x, y))
        return false;
    const TGroup& group = *selected;
    const int ownX = group.TMapObject::CellX();
    const int ownY = group.TMapObject::CellY();
    if (x == ownX && y == ownY)
        return FindNearestFreeCellOutsideCities(x, y);

    constexpr int32_t Far = 10000;
    FillDistanceMap(ownX, ownY, Far, group.GetOwner());
    const int32_t lowest = group.LowestActionPoints();
    const int32_t budget = lowest > 10 ? lowest : 100;
    const TStepHeights heights = TStepHeights::Current();
    int cx = x, cy = y;
    // Distances fall with every step, so the walk ends; the bound guards the rest.
    for (int steps = 0; steps <= Width * Height; ++steps) {
        const int cell = CellIndex(cx, cy);
        if (Distances[size_t(cell)] <= budget && !Occupancy[size_t(cell)] &&
            !IsCellInAnyCity(cx, cy)) {
            x = cx;
            y = cy;
            return true;
        }
        int64_t best = INT64_MAX;
        int nextX = -1, nextY = -1;
        for (int n = 0; n < 8; ++n) {
            const int nx = cx + NeighbourDX[n], ny = cy + NeighbourDY[n];
            if (!IsCellOnMap(nx, ny))
                continue;
            const int32_t step = TerrainStepCost(Costs.data(), Heights.data(), CellIndex(nx, ny),
                                                 cell, (n & 1) != 0, heights);
            const int64_t total =
                int64_t(Distances[size_t(CellIndex(nx, ny))]) + (step >= BlockedStep ? Far : step);
            if (total < best) {
                best = total;
                nextX = nx;
                nextY = ny;
            }
        }
        if (best >= Far)
            return false;
        cx = nextX;
        cy = nextY;
        if (cx == ownX && cy == ownY)
            return false;
    }
    return false;
}

} // namespace GameData
