// Orders that end at another group or a location: walking next to a group to fight
// or meet it, walking into a city or building, and the start of the fight or the
// meeting once both sides face each other.
#include "game/world/cities/City.h"
#include "game/world/cities/Location.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

namespace GameData {

namespace {
enum TOrderMode : uint8_t { omWalk = 0, omAttack = 1, omMeetOrEnter = 2 };

void PostLocal(TPlayer* owner, uint32_t code, uint32_t argument) {
    if (owner)
        owner->TryPostLocalAction(MakeAction(code, argument));
}
} // namespace

void TGroup::MoveAgainstGroup(TGroup* other, int mode, bool refill, int32_t reserve) {
    TCity* city = nullptr;
    if (!other || !BeginOrder(refill, city))
        return;
    int x = 0;
    int y = 0;
    if (!Scenario->FindApproachCell(*other, *this, y, x)) {
        Report(arCannotGoThere);
        return;
    }
    MergeOnArrival = 0;
    OrderMode = uint8_t(mode);
    TargetGroup = other;
    TargetLocation = nullptr;
    if (!city && IsOwnCell(x, y)) {
        if (mode == omAttack)
            StartFight(other);
        else
            StartMeeting(other);
        return;
    }
    PlanMove(x, y, reserve, city);
}

void TGroup::MoveIntoLocation(TMapObject* location, int32_t reserve, bool refill) {
    TCity* fromCity = nullptr;
    if (!location || (location->Kind != okCity && location->Kind != okBuilding) ||
        !BeginOrder(refill, fromCity))
        return;
    int x = 0;
    int y = 0;
    if (!Scenario->FindLocationEntryCell(*static_cast<TLocation*>(location), *this, y, x)) {
        Report(arCannotGoThere);
        return;
    }
    const TPlayer* owner = GetOwner();
    const auto* city = location->Kind == okCity ? static_cast<const TCity*>(location) : nullptr;
    const bool attack =
        city && owner && owner->GetRelationToCity(city) == reEnemy && city->HasDefenders();
    MergeOnArrival = 0;
    OrderMode = attack ? omAttack : omMeetOrEnter;
    TargetGroup = nullptr;
    TargetLocation = location;
    if (!fromCity && IsOwnCell(x, y)) {
        if (attack)
            StartCityAttack(location);
        else
            EnterLocation(location);
        return;
    }
    PlanMove(x, y, reserve, fromCity);
}

void TGroup::StartFight(TGroup* target) {
    if (!AnyUnitCanAct()) {
        OutOfPoints(true);
        return;
    }
    FaceCell(target->X / CellSize, target->Y / CellSize);
    target->FaceCell(X / CellSize, Y / CellSize);
    Engagement = omAttack;
    target->EngagedBy = omAttack;
}

void TGroup::StartMeeting(TGroup* target) {
    FaceCell(target->X / CellSize, target->Y / CellSize);
    target->FaceCell(X / CellSize, Y / CellSize);
    Engagement = omMeetOrEnter;
    target->EngagedBy = omMeetOrEnter;
}

void TGroup::EnterLocation(TMapObject* location) {
    if (!AllUnitsCanEnter(*location)) {
        OutOfPoints(true);
        return;
    }
    PostLocal(GetOwner(), location->Kind == okCity ? acEnterCity : acEnterBuilding, location->ID);
}

void TGroup::StartCityAttack(TMapObject* city) {
    if (!AnyUnitCanAct()) {
        OutOfPoints(true);
        return;
    }
    if (city->Kind == okCity)
        PostLocal(GetOwner(), acAttackCity, city->ID);
    else
        Report(arDone);
}

void TGroup::CheckEngagement() {
    TGroup* const target = TargetGroup;
    if (!Engagement || !target)
        return;
    const int ownX = X / CellSize;
    const int ownY = Y / CellSize;
    const int targetX = target->X / CellSize;
    const int targetY = target->Y / CellSize;
    const bool facing = Facing == DirectionToCell(ownX, ownY, targetX, targetY);
    const bool facedBack = target->CampState != csNone ||
                           target->Facing == DirectionToCell(targetX, targetY, ownX, ownY);
    if (!facing || !facedBack || Activity != gaNone || AnimState != asIdle)
        return;
    if (Engagement == omAttack) {
        Engagement = 0;
        target->EngagedBy = 0;
        InBattle = 1;
        target->InBattle = 1;
        PostLocal(GetOwner(), acAttackGroup, target->ID);
        return;
    }
    Engagement = EngagedBy = InBattle = 0;
    target->Engagement = target->EngagedBy = target->InBattle = 0;
    // The met group's units speak to the player who came to them, the leader first.
    const int owner = Scenario->IndexOfPlayer(GetOwner());
    if (const TUnit* leader = target->GetLeader())
        Scenario->TriggerConversations(owner, ceUnitMet, int32_t(leader->ID));
    for (const TUnit* unit : target->Units)
        if (unit && unit != target->GetLeader())
            Scenario->TriggerConversations(owner, ceUnitMet, int32_t(unit->ID));
    Report(arDone);
}

} // namespace GameData
