#include "game/world/paths/StepCost.h"

#include "game/world/data/LoadedGlobalData.h"
#include "game/world/paths/Occupant.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"

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

int32_t StepCostTerrain(const TScenario& scenario, int fromX, int fromY, const TPlayer* /*player*/,
                        int toX, int toY) {
    return TerrainStepCost(scenario.Costs.data(), scenario.Heights.data(),
                           scenario.CellIndex(fromX, fromY), scenario.CellIndex(toX, toY),
                           fromX != toX && fromY != toY, TStepHeights::Current());
}

int32_t StepCost(const TScenario& scenario, int fromX, int fromY, const TPlayer* player, int toX,
                 int toY) {
    return StepCostWithOccupancy(scenario.Costs.data(), scenario.Heights.data(),
                                 scenario.Occupancy.data(), scenario.CellIndex(fromX, fromY),
                                 scenario.CellIndex(toX, toY), fromX != toX && fromY != toY, player,
                                 TStepHeights::Current());
}

} // namespace GameData
