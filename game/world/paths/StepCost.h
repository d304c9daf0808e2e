// The action-point cost of one step between neighbouring cells: the terrain cost
// of the cell entered, half as much again on a diagonal, changed by the height
// difference against the three step thresholds of the global data.
#pragma once

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

// The same for on-map cell indices, with the thresholds given.
int32_t TerrainStepCost(const TScenario& scenario, int from, int to, bool diagonal,
                        const TStepHeights& heights);
int32_t StepCostWithOccupancy(const TScenario& scenario, int from, int to, bool diagonal,
                              const TPlayer* player, const TStepHeights& heights);

// True when the player may pass the occupant: the player's own or a friend's.
bool MayPassOccupant(const TPlayer* player, const TMapObject* occupant);

} // namespace GameData
