// The action-point cost of one step between neighbouring cells: the terrain cost
// of the cell entered, half as much again on a diagonal, changed by the height
// difference against the three step thresholds of the global data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace GameData {

class TMapObject;
class TPlayer;
class TScenario;

// Results of this value or more are blocked; sums may exceed it.
constexpr int32_t BlockedStep = 255;

// The three height-difference thresholds, ascending; from the third on a step is
// impassable. Read from the global data once per fill.
struct TStepHeights {
    int32_t Gentle = 0;
    int32_t Steep = 0;
    int32_t Impassable = 0;

    static TStepHeights Current();
};

// With the occupancy grid: a cell held by anyone but the player or a friend costs
// BlockedStep. A null player is a stranger to everyone.
int32_t StepCost(const TScenario& scenario, int fromX, int fromY, const TPlayer* player, int toX,
                 int toY);
// Terrain and heights only.
int32_t StepCostTerrain(const TScenario& scenario, int fromX, int fromY, const TPlayer* player,
                        int toX, int toY);

// True when the player may pass the occupant: the player's own or a friend's.
bool MayPassOccupant(const TPlayer* player, const TMapObject* occupant);

// The same for on-map cell indices into the scenario's grids (Costs, Heights,
// Occupancy), with the thresholds given; inline for the fills.
// Written without branches on the terrain: the fills call it for cells in no
// predictable order.
inline int32_t TerrainStepCost(const uint8_t* costs, const int16_t* heightGrid, int from, int to,
                               bool diagonal, const TStepHeights& heights) {
    const int32_t terrain = costs[size_t(to)];
    const int32_t base = terrain + (diagonal ? terrain / 2 : 0);
    const int rise = heightGrid[size_t(to)] - heightGrid[size_t(from)];
    const int step = rise < 0 ? -rise : rise;
    const int32_t quarter = base / 4;
    const int32_t up = step >= heights.Steep ? base / 2 : step >= heights.Gentle ? quarter : 0;
    const int32_t down = step >= heights.Gentle ? quarter : 0;
    int32_t cost = rise >= 0 ? base + up : base - down;
    cost = step >= heights.Impassable || terrain >= BlockedStep ? BlockedStep : cost;
    return cost < 1 ? 1 : cost;
}

inline int32_t StepCostWithOccupancy(const uint8_t* costs, const int16_t* heightGrid,
                                     TMapObject* const* occupancy, int from, int to, bool diagonal,
                                     const TPlayer* player, const TStepHeights& heights) {
    const TMapObject* occupant = occupancy[size_t(to)];
    if (occupant && !MayPassOccupant(player, occupant))
        return BlockedStep;
    return TerrainStepCost(costs, heightGrid, from, to, diagonal, heights);
}

} // namespace GameData
