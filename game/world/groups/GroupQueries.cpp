// What the screens, the orders and the computer player ask of a group.
#include "game/world/cities/City.h"
#include "game/world/cities/Location.h"
#include "game/world/data/GlobalData.h"
#include "game/world/groups/Group.h"
#include "game/world/objects/MapGeometry.h"
#include "game/world/paths/StepCost.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/scenario/ScriptRecords.h"
#include "game/world/units/Unit.h"

#include <algorithm>
#include <limits>

namespace GameData {

namespace {

int32_t LeastActionPoints() {
    return Data2::GlobalData->GameConstants[Data2::gcLeastActionPoints];
}

} // namespace

int32_t TGroup::LowestActionPoints() const {
    int32_t lowest = -1;
    for (int i = 0; i < UnitCount(); ++i)
        if (!SplitMarks[size_t(i)]) {
            const int32_t points = Units[size_t(i)]->Effective.Value(ACTIONPOINTS);
            lowest = lowest < 0 ? points : std::min(lowest, points);
        }
    return lowest;
}

int32_t TGroup::LowestMaxActionPoints() const {
    int32_t lowest = -1;
    for (int i = 0; i < UnitCount(); ++i)
        if (!SplitMarks[size_t(i)]) {
            const int32_t points = Units[size_t(i)]->Effective.AtLevel(ACTIONPOINTS);
            lowest = lowest < 0 ? points : std::min(lowest, points);
        }
    return lowest;
}

#define VRN_MOVING_SUM(name, expression)                                                           \
    int32_t TGroup::name() const {                                                                 \
        int32_t sum = 0;                                                                           \
        for (int i = 0; i < UnitCount(); ++i)                                                      \
            if (!SplitMarks[size_t(i)]) {                                                          \
                const TUnit& unit = *Units[size_t(i)];                                             \
                sum += (expression);                                                               \
            }                                                                                      \
        return sum;                                                                                \
    }

VRN_MOVING_SUM(MovingMana, unit.Effective.Value(MANA))
VRN_MOVING_SUM(MovingMaxMana, unit.Effective.AtLevel(MANA))
VRN_MOVING_SUM(MovingHitPoints, unit.Effective.Value(HITPOINTS))
VRN_MOVING_SUM(MovingMaxHitPoints, unit.Effective.AtLevel(HITPOINTS))
#undef VRN_MOVING_SUM

#define VRN_TOTAL(name, expression)                                                                \
    int32_t TGroup::name() const {                                                                 \
        int32_t sum = 0;                                                                           \
        for (int i = 0; i < UnitCount(); ++i) {                                                    \
            const TUnit& unit = *Units[size_t(i)];                                                 \
            sum += (expression);                                                                   \
        }                                                                                          \
        return sum;                                                                                \
    }

VRN_TOTAL(TotalActionPoints, unit.Effective.Value(ACTIONPOINTS))
VRN_TOTAL(TotalHitPoints, unit.Effective.Value(HITPOINTS))
VRN_TOTAL(TotalMaxHitPoints, unit.Effective.AtLevel(HITPOINTS))
VRN_TOTAL(TotalMana, unit.Effective.Value(MANA))
VRN_TOTAL(TotalAttack, unit.Effective.Value(ATTACK))
VRN_TOTAL(TotalDefence, unit.Effective.Value(DEFENCE))
VRN_TOTAL(TotalSpellCount, unit.SpellCount())
#undef VRN_TOTAL

int32_t TGroup::HighestSight() const {
    int32_t highest = 0;
    for (int i = 0; i < UnitCount(); ++i)
        highest = std::max<int32_t>(highest, Units[size_t(i)]->Effective.Value(SIGHT));
    return highest;
}

int32_t TGroup::GroupSight() const {
    return std::max(HighestSight(), 2);
}

bool TGroup::AllUnitsDead() const {
    for (int i = 0; i < UnitCount(); ++i)
        if (!Units[size_t(i)]->IsDead())
            return false;
    return true;
}

bool TGroup::AnyUnitCanAct() const {
    for (int i = 0; i < UnitCount(); ++i)
        if (Units[size_t(i)]->CanAct())
            return true;
    return false;
}

bool TGroup::AllUnitsCanEnter(const TMapObject& location) const {
    const int32_t cost = GetLocationEntryCost(location);
    for (int i = 0; i < UnitCount(); ++i)
        if (!Units[size_t(i)]->CanEnter(cost))
            return false;
    return true;
}

bool TGroup::AllUnitsCanAct() const {
    for (int i = 0; i < UnitCount(); ++i) {
        const TUnit& unit = *Units[size_t(i)];
        if (!unit.IsDead() && unit.Effective.Value(ACTIONPOINTS) < LeastActionPoints())
            return false;
    }
    return true;
}

void TGroup::SpendActionCost() {
    PayActionPoints(LeastActionPoints());
}

void TGroup::PayEntryCost(const TMapObject& location) {
    PayActionPoints(GetLocationEntryCost(location));
}

void TGroup::PayActionPoints(int32_t n) {
    for (int i = 0; i < UnitCount(); ++i)
        Units[size_t(i)]->AddActionPoints(-n);
}

int32_t TGroup::LowestHitPoints() const {
    int32_t lowest = std::numeric_limits<int32_t>::max();
    for (int i = 0; i < UnitCount(); ++i)
        lowest = std::min<int32_t>(lowest, Units[size_t(i)]->Effective.Value(HITPOINTS));
    return lowest;
}

int32_t TGroup::WeakestUnitMaxHitPoints() const {
    const TUnit* weakest = nullptr;
    for (int i = 0; i < UnitCount(); ++i)
        if (!weakest ||
            Units[size_t(i)]->Effective.Value(HITPOINTS) < weakest->Effective.Value(HITPOINTS))
            weakest = Units[size_t(i)];
    return weakest ? weakest->Effective.AtLevel(HITPOINTS) : 0;
}

int32_t TGroup::LowestMorale() const {
    int32_t lowest = std::numeric_limits<int32_t>::max();
    for (int i = 0; i < UnitCount(); ++i)
        lowest = std::min<int32_t>(lowest, Units[size_t(i)]->Effective.Morale());
    return UnitCount() ? lowest : 0;
}

int32_t TGroup::HighestMorale() const {
    int32_t highest = std::numeric_limits<int32_t>::min();
    for (int i = 0; i < UnitCount(); ++i)
        highest = std::max<int32_t>(highest, Units[size_t(i)]->Effective.Morale());
    return UnitCount() ? highest : 0;
}

int32_t TGroup::HighestLevel() const {
    int32_t highest = 0;
    for (int i = 0; i < UnitCount(); ++i)
        highest = std::max<int32_t>(highest, Units[size_t(i)]->Effective.Level());
    return highest;
}

int32_t TGroup::ExpectedDamage(const TGroup& other, bool counter, bool activeOnly) const {
    int32_t sum = 0;
    for (int i = 0; i < UnitCount(); ++i) {
        const TUnit& own = *Units[size_t(i)];
        if (activeOnly && !own.CanAct())
            continue;
        int32_t best = 0;
        for (int j = 0; j < other.UnitCount(); ++j) {
            const TUnit& target = *other.Units[size_t(j)];
            best = std::max<int32_t>(best, counter ? own.ExpectedCounterattackDamage(target)
                                                   : own.ExpectedAttackDamage(target));
        }
        sum += best;
    }
    return sum;
}

int32_t TGroup::ExpectedDamageTo(const TGroup& other) const {
    return ExpectedDamage(other, false, false);
}

int32_t TGroup::ExpectedDamageToByActive(const TGroup& other) const {
    return ExpectedDamage(other, false, true);
}

int32_t TGroup::ExpectedCounterDamageTo(const TGroup& other) const {
    return ExpectedDamage(other, true, false);
}

int32_t TGroup::ExpectedCounterDamageToByActive(const TGroup& other) const {
    return ExpectedDamage(other, true, true);
}

bool TGroup::IsSelectedCityGroup() const {
    const TPlayer* owner = GetOwner();
    const TCity* city = owner ? owner->GetSelectedCity() : nullptr;
    return city && city->GateGroup.get() == this && UnitCount() > 0;
}

bool TGroup::HasUnitConversation(int32_t playerIndex, int32_t kind) const {
    if (!Scenario)
        return false;
    for (int i = 0; i < UnitCount(); ++i)
        if (Scenario->FindConversation(playerIndex, kind, 1, int32_t(Units[size_t(i)]->ID)))
            return true;
    return false;
}

bool TGroup::CanStillMove() const {
    const int x = TMapObject::CellX();
    const int y = TMapObject::CellY();
    int32_t cheapest = BlockedStep;
    for (int d = 0; d < 8; ++d) {
        const int nx = x + NeighbourDX[d];
        const int ny = y + NeighbourDY[d];
        if (Scenario->IsCellOnMap(nx, ny))
            cheapest = std::min(cheapest, StepCost(*Scenario, x, y, GetOwner(), nx, ny));
    }
    return LowestActionPoints() >= cheapest;
}

bool TGroup::CheckForDeadUnits() {
    for (int i = 0; i < UnitCount(); ++i)
        if (Units[size_t(i)]->IsDead()) {
            Activity = gaRemoveDead;
            return true;
        }
    return false;
}

bool TGroup::IsNearPitchedCamp() const {
    const bool onlyTurning =
        (AnimState == asIdle || AnimState == asTurn || AnimState == asIdleTurn) &&
        Activity != gaMove;
    if (onlyTurning || !Scenario)
        return false;
    for (const TMapObject* object : Scenario->Objects) {
        if (object->Kind != okGroup || static_cast<const TGroup*>(object)->CampState != csPitched)
            continue;
        const int dx = object->X - X;
        const int dy = object->Y - Y;
        if (dx * dx + dy * dy < 1600)
            return true;
    }
    return false;
}

bool TGroup::IsCellTaken(int x, int y) const {
    const bool camping = CampState == csSettingUp || CampState == csPitched;
    return Scenario->GroupCoveringCell(x, y, camping ? nullptr : this) != nullptr;
}

bool TGroup::IsCellTakenByOther(int x, int y) const {
    if (!Scenario->IsCellOnMap(x, y))
        return false;
    const TMapObject* there = Scenario->Occupancy[size_t(Scenario->CellIndex(x, y))];
    const bool camping = CampState == csSettingUp || CampState == csPitched;
    return there && (camping || there != this);
}

bool TGroup::IsCellOpenFor(int x, int y) const {
    if (!Scenario->IsCellOnMap(x, y))
        return false;
    const TMapObject* there = Scenario->Occupancy[size_t(Scenario->CellIndex(x, y))];
    if (!there || there->Kind != okGroup)
        return true;
    const TPlayer* owner = GetOwner();
    const int relation =
        owner ? owner->GetRelationToGroup(static_cast<const TGroup*>(there)) : RelationNone;
    return relation == RelationSelf || relation == reFriendly;
}

void TGroup::NewTurn() {
    for (int i = 0; i < UnitCount(); ++i)
        Units[size_t(i)]->NewTurn();
}

void TGroup::AgeWounds() {
    for (int i = 0; i < UnitCount(); ++i)
        Units[size_t(i)]->AgeWounds();
}

void TGroup::ReportSeenBy() const {
    const int x = TMapObject::CellX();
    const int y = TMapObject::CellY();
    for (int p = 0; p < Scenario->PlayerCount(); ++p) {
        TPlayer* const player = Scenario->Players[p];
        if (p == OwnerIndex || !player->IsCellVisible(x, y))
            continue;
        for (int i = 0; i < UnitCount(); ++i) {
            auto sighting = std::make_unique<TSighting>();
            sighting->Kind = skUnitMoved;
            sighting->CellX = uint16_t(x);
            sighting->CellY = uint16_t(y);
            sighting->UnitID = Units[size_t(i)]->ID;
            player->PushSighting(std::move(sighting));
        }
    }
}

void TGroup::UpdateOwnerVisibility() const {
    Scenario->UpdateVisibilityOfIndex(OwnerIndex);
}

void TGroup::ReportEnteredCity(const TMapObject& city) const {
    for (TPlayer* player : Scenario->Players) {
        if (Scenario->IndexOfPlayer(player) == OwnerIndex)
            continue;
        for (int i = 0; i < UnitCount(); ++i) {
            auto sighting = std::make_unique<TSighting>();
            sighting->Kind = skUnitEnteredCity;
            sighting->CellX = uint16_t(TMapObject::CellX());
            sighting->CellY = uint16_t(TMapObject::CellY());
            sighting->UnitID = Units[size_t(i)]->ID;
            sighting->Extra = city.ID;
            player->PushSighting(std::move(sighting));
        }
    }
}

} // namespace GameData
