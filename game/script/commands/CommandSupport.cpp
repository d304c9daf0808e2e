#include "game/script/commands/CommandSupport.h"

#include "game/script/Conversation.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"
#include "platform/classlib/Exception.h"

namespace GameData {

TScenario& ScenarioOf(const TConversation& conversation) {
    if (!conversation.Scenario)
        conversation.ScriptError("The script has no scenario.");
    return *conversation.Scenario;
}

TUnit* FindUnit(const TConversation& conversation, int32_t id) {
    return ScenarioOf(conversation).Units.FindByID(static_cast<uint32_t>(id));
}

TUnit& UnitOf(const TConversation& conversation, int32_t id) {
    TUnit* unit = FindUnit(conversation, id);
    if (!unit)
        conversation.ScriptError(ClassLib::Format("Unit not found: %d.", id));
    return *unit;
}

TScenarioConversation& ConversationOf(const TConversation& conversation, int32_t id) {
    TScenarioConversation* found = ScenarioOf(conversation).Conversations.FindByID(uint32_t(id));
    if (!found)
        conversation.ScriptError(ClassLib::Format("Conversation not found! ID=%d", id));
    return *found;
}

std::vector<int32_t> ReadUnitList(TConversation& conversation, ClassLib::AnsiString& params) {
    std::vector<int32_t> ids;
    for (int32_t id = conversation.NextOptionalExpression(params, 0); id != 0;
         id = conversation.NextOptionalExpression(params, 0))
        ids.push_back(id);
    return ids;
}

bool IsOffline(const TUnit& unit) {
    return !unit.GetGroup() && !unit.GetCity();
}

int PlayerIndexOf(const TScenario& scenario, const TUnit& unit) {
    const TUnitPlayer* player = unit.GetPlayer();
    return player ? scenario.IndexOfPlayer(dynamic_cast<const TPlayer*>(player)) : -1;
}

void RefillSelectedGroupCosts(TScenario& scenario) {
    const TPlayer* player = scenario.CurrentPlayer;
    TGroup* group = player ? player->GetSelectedGroup() : nullptr;
    // A gate group inside its city has no cell of its own.
    if (group && scenario.FindObjectByID(group->ID) == group)
        scenario.FloodFillCosts(group->TMapObject::CellX(), group->TMapObject::CellY(), *group);
}

bool MatchesMasks(const TScenario& scenario, const TUnit& unit, int32_t playerMask,
                  int32_t classMask) {
    const int index = PlayerIndexOf(scenario, unit);
    if (index < 0 || (static_cast<uint32_t>(playerMask) & (1u << (index & 31))) == 0)
        return false;
    const auto classes = static_cast<uint64_t>(static_cast<int64_t>(classMask));
    const auto unitClass = static_cast<uint64_t>(unit.CreatureType);
    return (classes & unitClass) == unitClass;
}

} // namespace GameData
