#include "game/script/WorldQueries.h"

#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

namespace GameData {

int PlayerIndexOfUnit(const TScenario& scenario, const TUnit& unit) {
    if (const TGroup* group = unit.GetGroup())
        return scenario.IndexOfPlayer(group->GetOwner());
    if (const TCity* city = unit.GetCity())
        return scenario.IndexOfPlayer(city->GetOwner());
    return -1;
}

bool IsPlayerIndex(const TScenario& scenario, int32_t index) {
    return index >= 0 && index < scenario.PlayerCount();
}

int32_t ScriptTurn(const TScenario& scenario) {
    return static_cast<int16_t>(scenario.Turn);
}

} // namespace GameData
