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

// A player's own unit in the town: its player byte names the player, or the town's
// owner when it is the player.
bool BelongsTo(const TCity& city, const TUnit& unit, int playerIndex) {
    return unit.Marker == playerIndex ||
           (unit.Marker == CityOwnerByte && city.Owner == playerIndex);
}

bool StandsIn(const TCity& city, uint32_t place, const TUnit& unit) {
    switch (place) {
    case cpGateGroup:
        return city.GateGroup->FindUnitByID(unit.ID) == &unit;
    case cpDefenders:
        return city.IsDefender(unit);
    case cpOtherUnits:
        return city.IsOtherUnit(unit);
    default:
        return false;
    }
}

// The merchant of a building 0..5 that the town has.
bool HasBuilding(const TCity& city, uint32_t building) {
    const TMerchant* merchants[] = {&city.Innkeeper, &city.Mage,    &city.BattleMaster,
                                    &city.Herbalist, &city.Custom1, &city.Custom2};
    return building <= LastMerchant && merchants[building]->Enabled != 0;
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
        return FindEnteredCity(scenario, player) != nullptr;
    case acMoveCityUnit:
        return IsValidCityMove(scenario, player, p[0], p[1], p[2], int32_t(p[3]));
    case acFightCommands:
        return scenario.InBattle != 0 && (p[0] == FightAnswerFlee || p[0] == FightAnswerAccept);
    case acVisitMerchant: {
        const TCity* city = FindEnteredCity(scenario, player);
        return city && HasBuilding(*city, p[0]);
    }
    case acMerchantPurchase:
        // A player buys with its own gold only.
        return FindEnteredCity(scenario, player) &&
               p[2] == uint32_t(scenario.IndexOfPlayer(&player)) &&
               (p[1] == 0 || scenario.Units.FindByID(p[1]) != nullptr);
    case acConversationChoice:
        return AwaitsAnswer(scenario, player);
    default:
        return false;
    }
}

} // namespace

TCity* FindEnteredCity(const TScenario& scenario, const TPlayer& player) {
    if (!scenario.InCity || !player.Selection)
        return nullptr;
    const int index = scenario.IndexOfPlayer(&player);
    for (TMapObject* object : scenario.Objects)
        if (object->Kind == okCity) {
            auto* city = static_cast<TCity*>(object);
            const TGroup* gate = city->GateGroup.get();
            if (gate == player.Selection && gate->OwnerIndex == index)
                return city;
        }
    return nullptr;
}

bool IsValidCityMove(const TScenario& scenario, const TPlayer& player, uint32_t from,
                     uint32_t unitID, uint32_t to, int32_t row) {
    const TCity* city = FindEnteredCity(scenario, player);
    const TUnit* unit = scenario.Units.FindByID(unitID);
    // Civilians change hands only by hiring.
    if (!city || !unit || from > cpOtherUnits || to > cpOtherUnits || !StandsIn(*city, from, *unit))
        return false;
    const int index = scenario.IndexOfPlayer(&player);
    if (!BelongsTo(*city, *unit, index))
        return false;
    const bool ownTown = city->Owner == index;
    if ((from == cpDefenders || to == cpDefenders) && !ownTown)
        return false;
    if (to == cpGateGroup && from != cpGateGroup)
        return city->GateGroup->CanAddUnit(*unit) == gjAllowed;
    if (to != cpDefenders)
        return true;
    if (from == cpDefenders && (row == -1 || row == city->FindDefenderRow(*unit)))
        return true; // stays where it is
    if (row == -1)
        for (int r = 0; r < city->RowCount && row == -1; ++r)
            if (city->DefenderCountInRow(r) < DefenderRowSize)
                row = r;
    return row >= 0 && row < city->RowCount && city->CanAddDefender(row, *unit) == djAllowed;
}

int32_t ValidateAction(const TScenario& scenario, const TPlayerAction& action) {
    const TPlayer* player = scenario.CurrentPlayer;
    return player && IsValid(scenario, *player, action) ? 0 : arCannotGoThere;
}

} // namespace GameData
