#include "game/world/players/ActionValidation.h"

#include "game/world/objects/MapGeometry.h"
#include "game/world/scenario/Scenario.h"

namespace GameData {

namespace {

bool IsObjectOfKind(const TScenario& scenario, uint32_t id, uint16_t kind) {
    return scenario.FindObjectOfKind(id, kind) != nullptr;
}

bool IsCell(const TScenario& scenario, uint32_t x, uint32_t y) {
    return x < MaxMapSize && y < MaxMapSize &&
           scenario.IsCellOnMap(static_cast<int>(x), static_cast<int>(y));
}

bool IsValid(const TScenario& scenario, const TPlayerAction& action) {
    const uint32_t* p = action.P;
    switch (action.Code) {
    case acEndTurn:
    case acLeaveCity:
    case acMarkSplit:
    case acConversationChoice:
        return true;
    case acAttackGroup:
    case acPitchCamp:
    case acBreakCamp:
        return IsObjectOfKind(scenario, p[0], okGroup);
    case acReport:
        return p[0] <= uint32_t(LastActionResult);
    case acSelectObject:
        return p[0] == 0 || scenario.FindObjectByID(p[0]) != nullptr;
    case acMoveGroup:
        return IsCell(scenario, p[0], p[1]) &&
               (p[5] == 0 || scenario.FindObjectByID(p[5]) != nullptr);
    case acCastSpell:
        return IsCell(scenario, p[2], p[3]);
    case acEnterCity:
    case acAttackCity:
        return IsObjectOfKind(scenario, p[0], okCity);
    case acEnterBuilding:
        return IsObjectOfKind(scenario, p[0], okBuilding);
    case acMoveCityUnit:
        // Places: gate group, defender rows, other units, civilian units.
        return p[0] <= 3 && p[2] <= 3 && scenario.Units.FindByID(p[1]) != nullptr;
    case acFightCommands:
        return p[0] <= 1;
    case acVisitMerchant:
        return p[0] <= 3;
    case acMerchantPurchase:
        return p[2] < uint32_t(scenario.PlayerCount()) &&
               (p[1] == 0 || scenario.Units.FindByID(p[1]) != nullptr);
    default:
        return false;
    }
}

} // namespace

int32_t ValidateAction(const TScenario& scenario, const TPlayerAction& action) {
    return IsValid(scenario, action) ? 0 : arCannotGoThere;
}

} // namespace GameData
