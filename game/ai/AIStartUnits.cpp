#include "game/ai/AIHandler.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

namespace AIHandler {

void GiveUnitsToPlanners(GameData::TScenario& scenario) {
    for (GameData::TUnit* unit : scenario.Units) {
        GameData::TPlayer* owner = nullptr;
        if (const GameData::TGroup* group = unit->GetGroup())
            owner = group->GetOwner();
        else if (const GameData::TCity* city = unit->GetCity())
            owner = city->GetUnitPlayer(*unit);
        if (owner && owner->AI && !owner->AI->HasAIUnit(*unit))
            owner->AI->AddAIUnit(*unit);
    }
}

} // namespace AIHandler
