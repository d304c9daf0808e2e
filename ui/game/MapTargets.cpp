// What lies under the mouse for the player on turn: which of its groups would act,
// what a click would make of the target, and what the way there costs.
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "ui/game/MapWindow.h"

namespace Main {

using namespace GameData;

namespace {

// A conversation of this kind makes a group someone to talk to.
constexpr int32_t TalkConversationKind = 2;
constexpr uint8_t Unreached = 255;

} // namespace

TGroup* TMapWindow::ActiveGroup() const {
    const TPlayer* player = FScenario ? FScenario->CurrentPlayer : nullptr;
    return player ? player->GetActiveGroup() : nullptr;
}

bool TMapWindow::IsOwnGroup(const TGroup* group) const {
    const TPlayer* player = FScenario ? FScenario->CurrentPlayer : nullptr;
    return player && group && player->GetRelationToGroup(group) == RelationSelf;
}

bool TMapWindow::IsOwnCity(const TCity* city) const {
    const TPlayer* player = FScenario ? FScenario->CurrentPlayer : nullptr;
    return player && city && player->GetRelationToCity(city) == RelationSelf;
}

bool TMapWindow::IsAccessibleCity(const TCity* city) const {
    const TPlayer* player = FScenario ? FScenario->CurrentPlayer : nullptr;
    if (!player || !city)
        return false;
    const int8_t relation = player->GetRelationToCity(city);
    return relation == reFriendly || (relation == reNeutral && player->HasAccessToCity(*city));
}

bool TMapWindow::SelectedOwnCity() const {
    const TPlayer* player = FScenario ? FScenario->CurrentPlayer : nullptr;
    return player && IsOwnCity(player->GetSelectedCity());
}

bool TMapWindow::SelectedAccessibleCity() const {
    const TPlayer* player = FScenario ? FScenario->CurrentPlayer : nullptr;
    return player && IsAccessibleCity(player->GetSelectedCity());
}

bool TMapWindow::SelectedTownHasGateGroup() const {
    const TPlayer* player = FScenario ? FScenario->CurrentPlayer : nullptr;
    const TCity* city = player ? player->GetSelectedCity() : nullptr;
    return city && (IsOwnCity(city) || IsAccessibleCity(city)) && city->GateGroup &&
           city->GateGroup->UnitCount() > 0;
}

bool TMapWindow::HasMovableGroup() const {
    const TPlayer* player = FScenario ? FScenario->CurrentPlayer : nullptr;
    return player && (IsOwnGroup(player->GetSelectedGroup()) || SelectedTownHasGateGroup());
}

void TMapWindow::RefreshCosts(const TGroup& group) {
    // The cost map is shared: every order fills it again for its own group, so a
    // posted action or a step of the group makes it stale for the hover.
    const int32_t points = group.LowestActionPoints();
    const uint32_t actions = FScenario->ActionCounter.load();
    if (FCostsGroup == &group && FCostsGroupID == group.ID && FCostsX == group.X &&
        FCostsY == group.Y && FCostsPoints == points && FCostsFrame == actions)
        return;
    FCostsGroup = &group;
    FCostsGroupID = group.ID;
    FCostsX = group.X;
    FCostsY = group.Y;
    FCostsPoints = points;
    FCostsFrame = actions;
    const TCity* city =
        FScenario->CurrentPlayer ? FScenario->CurrentPlayer->GetSelectedCity() : nullptr;
    if (city && city->GateGroup.get() == &group)
        FScenario->FloodFillCostsFromCells(city->ExitArea.Cells, group);
    else
        FScenario->FloodFillCosts(group.TMapObject::CellX(), group.TMapObject::CellY(), group);
}

int32_t TMapWindow::PathCostTo(int32_t cellX, int32_t cellY) {
    const TGroup* group = ActiveGroup();
    if (!group || !FScenario->IsCellOnMap(cellX, cellY))
        return -1;
    RefreshCosts(*group);
    const uint8_t cost = FScenario->MoveCosts[size_t(FScenario->CellIndex(cellX, cellY))];
    return cost == Unreached ? -1 : cost;
}

TMapTarget TMapWindow::ClassifyTarget(int32_t x, int32_t y) {
    FHoverCost = -1;
    TMapTarget target;
    const TPlayer* player = FScenario ? FScenario->CurrentPlayer : nullptr;
    const int32_t mapX = ViewX() + x, mapY = ViewY() + y;
    if (!player || mapX < 0 || mapY < 0 || mapX >= FScenario->Width * CellSize ||
        mapY >= FScenario->Height * CellSize || !HasMovableGroup())
        return target;
    TGroup* active = ActiveGroup();
    const int index = FScenario->ObjectIndexAtPoint(mapX, mapY);
    TMapObject* hit = index >= 0 ? FScenario->Objects[index] : nullptr;
    if (!active || hit == active)
        return target;
    ScreenToTile(x, y, target.CellX, target.CellY);
    target.Object = hit;
    // The approach and entry cells are found on the active group's costs.
    RefreshCosts(*active);
    // Goes to the cell when the way there exists.
    const auto goTo = [this, &target](int32_t code, int32_t cellX, int32_t cellY) {
        target.CellX = cellX;
        target.CellY = cellY;
        FHoverCost = PathCostTo(cellX, cellY);
        target.Code = FHoverCost >= 0 ? code : tcBlocked;
        return target;
    };
    const auto blocked = [&target](int32_t code) {
        target.Code = code;
        return target;
    };

    if (!hit || (hit->Kind != okGroup && hit->Kind != okCity && hit->Kind != okBuilding))
        return goTo(tcMove, target.CellX, target.CellY);

    if (hit->Kind == okGroup) {
        auto* other = static_cast<TGroup*>(hit);
        if (IsOwnGroup(other)) {
            switch (active->CanMerge(*other)) {
            case gjFull:
                return blocked(tcTooManyUnits);
            case gjSecondHero:
                return blocked(tcTwoHeroes);
            default:
                return goTo(tcMerge, other->TMapObject::CellX(), other->TMapObject::CellY());
            }
        }
        const bool talk =
            other->HasUnitConversation(FScenario->CurrentPlayerIndex, TalkConversationKind);
        if (!talk && player->GetRelationToGroup(other) != reEnemy)
            return blocked(tcNone);
        int approachX = 0, approachY = 0;
        if (!FScenario->FindApproachCell(*other, *active, approachY, approachX))
            return blocked(tcBlocked);
        return goTo(talk ? tcTalk : tcAttack, approachX, approachY);
    }

    const auto* location = static_cast<const TLocation*>(hit);
    int32_t code = tcEnter;
    if (hit->Kind == okCity) {
        const auto* city = static_cast<const TCity*>(hit);
        if (city == player->GetSelectedCity() && active == city->GateGroup.get())
            return blocked(tcEnterSelectedCity);
        if (player->GetRelationToCity(city) == reEnemy && city->HasDefenders())
            code = tcAttackCity;
    }
    int entryX = 0, entryY = 0;
    if (!FScenario->FindLocationEntryCell(*location, *active, entryY, entryX))
        return blocked(tcBlocked);
    return goTo(code, entryX, entryY);
}

TMapTarget TMapWindow::ClassifyTargetNoGroup(int32_t x, int32_t y) const {
    TMapTarget target;
    const TPlayer* player = FScenario ? FScenario->CurrentPlayer : nullptr;
    const int32_t mapX = ViewX() + x, mapY = ViewY() + y;
    if (!player || mapX < 0 || mapY < 0 || mapX >= FScenario->Width * CellSize ||
        mapY >= FScenario->Height * CellSize)
        return target;
    ScreenToTile(x, y, target.CellX, target.CellY);
    const int index = FScenario->ObjectIndexAtPoint(mapX, mapY);
    target.Object = index >= 0 ? FScenario->Objects[index] : nullptr;
    if (!target.Object)
        return target;
    switch (target.Object->Kind) {
    case okGroup:
        target.Code = ntGroup;
        break;
    case okBuilding:
        target.Code = ntLocation;
        break;
    case okCity: {
        const auto* city = static_cast<const TCity*>(target.Object);
        const bool enters = city == player->GetSelectedCity() && !city->HasScriptedEntry() &&
                            (IsOwnCity(city) || IsAccessibleCity(city));
        target.Code = enters ? ntEnterCity : ntLocation;
        break;
    }
    default:
        break;
    }
    return target;
}

} // namespace Main
