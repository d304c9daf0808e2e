#include "game/world/players/ActionValidation.h"

#include "game/world/cities/City.h"
#include "game/world/cities/Location.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/scenario/Scenario.h"

namespace GameData {

namespace {

// Answers of a side's fight commands: accept the commands, or flee.
constexpr uint32_t FightAnswerFlee = 2;
constexpr uint32_t FightAnswerAccept = 3;
// Merchants 0..3 and the town's two houses, 4 and 5.
constexpr uint32_t LastMerchant = 5;

bool IsObjectOfKind(const TScenario& scenario, uint32_t id, uint16_t kind) {
    return scenario.FindObjectOfKind(id, kind) != nullptr;
}

bool IsCell(const TScenario& scenario, uint32_t x, uint32_t y) {
    return x < MaxMapSize && y < MaxMapSize &&
           scenario.IsCellOnMap(static_cast<int>(x), static_cast<int>(y));
}

bool IsLocation(const TScenario& scenario, uint32_t id) {
    const TMapObject* object = scenario.FindObjectByID(id);
    return object &&
           (object->Kind == okCity || object->Kind == okBuilding || object->Kind == okLocation);
}

// The player's own group in that camp state: a camp is pitched from the march and
// broken once pitched; in between the group would never answer.
bool OwnsGroupInCampState(const TScenario& scenario, const TPlayer& player, uint32_t id,
                          int32_t campState) {
    const TGroup* group = scenario.FindGroupByID(id);
    return group && group->OwnerIndex == scenario.IndexOfPlayer(&player) &&
           group->CampState == campState;
}

// The town whose gate group the player's group has become by entering it.
bool HasEnteredCity(const TScenario& scenario, const TPlayer& player) {
    if (!scenario.InCity || !player.Selection)
        return false;
    const int index = scenario.IndexOfPlayer(&player);
    for (const TMapObject* object : scenario.Objects)
        if (object->Kind == okCity) {
            const TGroup* gate = static_cast<const TCity*>(object)->GateGroup.get();
            if (gate == player.Selection && gate->OwnerIndex == index)
                return true;
        }
    return false;
}

// The talk driver shows a conversation meant for the player and waits for its answer.
bool AwaitsAnswer(const TScenario& scenario, const TPlayer& player) {
    const int index = scenario.IndexOfPlayer(&player);
    for (const TScenarioConversation* conversation : scenario.Conversations)
        if (conversation->Running && conversation->IsTargetPlayer(index))
            return true;
    return false;
}

bool IsValid(const TScenario& scenario, const TPlayer& player, const TPlayerAction& action) {
    const uint32_t* p = action.P;
    const bool selected = player.GetSelectedGroup() != nullptr;
    switch (action.Code) {
    case acEndTurn:
        return true;
    case acAttackGroup:
        return selected && IsObjectOfKind(scenario, p[0], okGroup);
    case acPitchCamp:
        return OwnsGroupInCampState(scenario, player, p[0], csNone);
    case acBreakCamp:
        return OwnsGroupInCampState(scenario, player, p[0], csPitched);
    case acReport:
        return p[0] <= uint32_t(LastActionResult);
    case acSelectObject:
        return p[0] == 0 || scenario.FindObjectByID(p[0]) != nullptr;
    case acMoveGroup: {
        if (!player.GetActiveGroup() || !IsCell(scenario, p[0], p[1]))
            return false;
        const bool toGroup = (p[3] & 0xFF) != 0 || p[2] != 0;
        const bool intoLocation = ((p[3] >> 8) & 0xFF) != 0;
        if (toGroup)
            return IsObjectOfKind(scenario, p[5], okGroup);
        if (intoLocation)
            return IsLocation(scenario, p[5]);
        return p[5] == 0 || scenario.FindObjectByID(p[5]) != nullptr;
    }
    case acCastSpell:
        return selected && IsCell(scenario, p[2], p[3]);
    case acMarkSplit:
        return selected;
    case acEnterCity:
    case acAttackCity:
        return selected && IsObjectOfKind(scenario, p[0], okCity);
    case acEnterBuilding:
        return selected && IsObjectOfKind(scenario, p[0], okBuilding);
    case acLeaveCity:
        return HasEnteredCity(scenario, player);
    case acMoveCityUnit:
        // Places: gate group, defender rows, other units, civilian units.
        return HasEnteredCity(scenario, player) && p[0] <= 3 && p[2] <= 3 &&
               scenario.Units.FindByID(p[1]) != nullptr;
    case acFightCommands:
        return scenario.InBattle != 0 && (p[0] == FightAnswerFlee || p[0] == FightAnswerAccept);
    case acVisitMerchant:
        return HasEnteredCity(scenario, player) && p[0] <= LastMerchant;
    case acMerchantPurchase:
        return HasEnteredCity(scenario, player) && p[2] < uint32_t(scenario.PlayerCount()) &&
               (p[1] == 0 || scenario.Units.FindByID(p[1]) != nullptr);
    case acConversationChoice:
        return AwaitsAnswer(scenario, player);
    default:
        return false;
    }
}

} // namespace

int32_t ValidateAction(const TScenario& scenario, const TPlayerAction& action) {
    const TPlayer* player = scenario.CurrentPlayer;
    return player && IsValid(scenario, *player, action) ? 0 : arCannotGoThere;
}

} // namespace GameData
