#include "game/world/paths/StepCost.h"

#include "game/world/data/LoadedGlobalData.h"
#include "game/world/paths/Occupant.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"

#include <algorithm>
#include <cstdlib>

namespace GameData {

TStepHeights TStepHeights::Current() {
    return {Data2::GameConstant(Data2::gcFirstStepHeight),
            Data2::GameConstant(Data2::gcFirstStepHeight + 1),
            Data2::GameConstant(Data2::gcFirstStepHeight + 2)};
}

bool MayPassOccupant(const TPlayer* player, const TMapObject* occupant) {
    if (!player)
        return false;
    const int8_t relation = player->GetRelation(OccupantOwner(occupant));
    return relation == RelationSelf || relation == reFriendly;
}

int32_t TerrainStepCost(const TScenario& scenario, int from, int to, bool diagonal,
                        const TStepHeights& heights) {
    int32_t cost = scenario.Costs[size_t(to)];
    if (cost < BlockedStep) {
        if (diagonal)
            cost += cost / 2;
        const int rise = scenario.Heights[size_t(to)] - scenario.Heights[size_t(from)];
        const int step = std::abs(rise);
        if (step >= heights.Impassable)
            cost = BlockedStep;
        else if (step >= heights.Steep)
            cost = rise >= 0 ? cost + cost / 2 : cost - cost / 4;
        else if (step >= heights.Gentle)
            cost = rise >= 0 ? cost + cost / 4 : cost - cost / 4;
    }
    return std::max(cost, int32_t(1));
}

int32_t StepCostWithOccupancy(const TScenario& scenario, int from, int to, bool diagonal,
                              const TPlayer* player, const TStepHeights& heights) {
    const TMapObject* occupant = scenario.Occupancy[size_t(to)];
    if (occupant && !MayPassOccupant(player, occupant))
        return BlockedStep;
    return TerrainStepCost(scenario, from, to, diagonal, heights);
}

int32_t StepCostTerrain(const TScenario& scenario, int fromX, int fromY, const TPlayer* /*player*/,
                        int toX, int toY) {
    return TerrainStepCost(scenario, scenario.CellIndex(fromX, fromY), scenario.CellIndex(toX, toY),
                           fromX != toX && fromY != toY, TStepHeights::Current());
}

int32_t StepCost(const TScenario& scenario, int fromX, int fromY, const TPlayer* player, int toX,
                 int toY) {
    return StepCostWithOccupancy(scenario, scenario.CellIndex(fromX, fromY),
                                 scenario.CellIndex(toX, toY), fromX != toX && fromY != toY, player,
                                 TStepHeights::Current());
}

} // namespace GameData
