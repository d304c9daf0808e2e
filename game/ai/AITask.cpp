#include "game/ai/AITask.h"

#include "game/ai/AIHandler.h"
#include "game/ai/AIRanking.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/players/PlayerAction.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

#include <cstdlib>

namespace AIHandler {

using namespace GameData;

namespace {

// Units a task of each type holds before it stops recruiting.
constexpr int AttackUnitCap = 3;
constexpr int GoToCellCap = 3;
constexpr int GuardCap = 6;
constexpr int CityCap = 12;
// Recruits farther than this from the task's first unit are left for others.
constexpr int32_t RecruitRange = 20;

const TPlayer* PlayerOf(const TUnit& unit) {
    return dynamic_cast<const TPlayer*>(unit.GetPlayer());
}

} // namespace

// ---- TAITaskHeader

TAITaskHeader::TAITaskHeader(TAIHandler* handler) : Target(std::make_unique<TAITarget>(handler)) {}

void TAITaskHeader::Assign(const Data::TDataObject* source) {
    const auto* other = dynamic_cast<const TAITaskHeader*>(source);
    if (!other) {
        TDataObject::Assign(source);
        return;
    }
    TaskType = other->TaskType;
    Target->Assign(other->Target.get());
}

void TAITaskHeader::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    TaskType = stream->ReadValue<int32_t>();
    Target->LoadFromStream(stream);
}

void TAITaskHeader::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    stream->WriteValue(TaskType);
    Target->SaveToStream(stream);
}

void TAITaskHeader::Clear() {
    TaskType = ttNone;
    Target->Clear();
}

// ---- TAITask

TAITask::TAITask(TAIHandler* handler, bool newID)
    : Handler(handler), Header(std::make_unique<TAITaskHeader>(handler)) {
    if (newID && handler)
        ID = handler->NextID();
}

void TAITask::Assign(const Data::TDataObject* source) {
    const auto* other = dynamic_cast<const TAITask*>(source);
    if (!other) {
        TDataObject::Assign(source);
        return;
    }
    Header->Assign(other->Header.get());
    Reserved = other->Reserved;
    Priority = other->Priority;
    Strength = other->Strength;
    RequiredStrength = other->RequiredStrength;
    Name = other->Name;
    Active = other->Active;
    ID = other->ID;
    for (TAIUnit* unit : other->Units)
        if (!HasAIUnit(*unit))
            Units.Add(unit);
}

void TAITask::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    Data::ReadStreamString(stream, Name);
    Header->LoadFromStream(stream);
    Reserved = stream->ReadValue<int32_t>();
    Priority = stream->ReadValue<int32_t>();
    Strength = stream->ReadValue<int32_t>();
    RequiredStrength = stream->ReadValue<int32_t>();
    Active = stream->ReadValue<uint8_t>();
    const int32_t count = Data::ReadCount(*stream, 4);
    for (int32_t i = 0; i < count; ++i) {
        const auto id = stream->ReadValue<uint32_t>();
        TAIUnit* unit = Handler ? Handler->AIUnits.FindByID(id) : nullptr;
        if (!unit)
            throw Data::EInvalidData("AIUnit with given ID not found.");
        if (!HasAIUnit(*unit))
            Units.Add(unit);
    }
}

void TAITask::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    Data::WriteStreamString(stream, Name);
    Header->SaveToStream(stream);
    stream->WriteValue(Reserved);
    stream->WriteValue(Priority);
    stream->WriteValue(Strength);
    stream->WriteValue(RequiredStrength);
    stream->WriteValue(Active);
    // Records of units that left are not stored, so nothing may name them.
    uint32_t count = 0;
    for (const TAIUnit* unit : Units)
        count += unit->Removed ? 0 : 1;
    stream->WriteValue(count);
    for (const TAIUnit* unit : Units)
        if (!unit->Removed)
            stream->WriteValue(unit->ID);
}

void TAITask::Clear() {
    Header->Clear();
    Units.Clear();
    Priority = 0;
    Strength = 0;
    RequiredStrength = 0;
    Name = "";
    Active = 1;
}

bool TAITask::IsFinished() {
    TAITarget& target = Target();
    const TPlayer* self = Handler ? &Handler->Player : nullptr;
    switch (Type()) {
    case ttAttackUnit: {
        // A stored task whose kind names no unit has nothing left to attack.
        const TUnit* unit = target.IsValid() ? target.GetUnit() : nullptr;
        return !unit || !self || PlayerOf(*unit) == self;
    }
    case ttAttackGroup: {
        const TGroup* group = target.IsValid() ? target.GetGroup() : nullptr;
        return !group || !self || group->GetOwner() == self;
    }
    case ttGuardUnit:
    case ttGoToUnit: {
        if (!target.IsValid() || !self)
            return true;
        const TUnit* unit = target.GetUnit();
        if (!unit || !unit->GetCity())
            return false;
        // Standing in a town of a stranger or an enemy: the unit is out of reach.
        const int8_t relation = self->GetRelation(PlayerOf(*unit));
        return relation != RelationSelf && relation != reFriendly;
    }
    case ttGoToCell: {
        if (!self || Handler->Scenario.IndexOfPlayer(self) == 0)
            return false;
        for (TAIUnit* unit : Units)
            if (unit->IsAlive() && unit->IsPlaceable() &&
                std::abs(unit->CellX() - target.X) <= target.Radius &&
                std::abs(unit->CellY() - target.Y) <= target.Radius)
                return true;
        return false;
    }
    default:
        return false;
    }
}

bool TAITask::RecruitUnits(TAIVirtualUnitList& available) {
    switch (Type()) {
    case ttAttackUnit:
        return RecruitAttackUnit(available);
    case ttGoToCell:
        return RecruitForPlace(available, GoToCellCap);
    case ttGuardCell:
    case ttGuardUnit:
        return RecruitForPlace(available, GuardCap);
    case ttCity:
        return RecruitForCity(available);
    case ttGoToUnit:
        return Units.Count() > 0;
    default:
        return false;
    }
}

bool TAITask::RecruitAttackUnit(TAIVirtualUnitList& available) {
    TAITarget& target = Target();
    const TUnit* enemy = target.GetUnit();
    if (!enemy)
        return false;
    RequiredStrength = enemy->Effective.Value(HITPOINTS);
    Strength = 0;
    for (int i = Units.Count() - 1; i >= 0; --i) {
        if (i >= Units.Count())
            continue;
        TAIUnit& unit = *Units[i];
        if (unit.IsAlive() && unit.IsPlaceable())
            Strength += unit.AttackFitness(*Header);
        else
            RemoveUnit(unit);
    }
    if (Units.Count() >= AttackUnitCap)
        return false;
    if (Strength >= RequiredStrength)
        return true;

    if (Units.Count() > 0) {
        RankByDistance(Units, target.X, target.Y);
        const TAIUnit& first = *Units[0];
        RankByDistance(available, first.CellX(), first.CellY());
    } else {
        RankByDistance(available, target.X, target.Y);
    }
    for (TAIUnit* candidate : available) {
        TAIUnit& unit = *candidate;
        if (!unit.IsCandidate())
            continue;
        if (Units.Count() > 0 && unit.Rating >= RecruitRange)
            continue;
        if (unit.AttackFitness(*Header) == 0 && unit.ManaFitness(*Header) == 0)
            continue;
        // A group joins whole; one that would overfill the task stays out, unless an
        // army brings it.
        const TGroup* group = unit.GetGroup();
        if (group && group->UnitCount() + Units.Count() > AttackUnitCap && !unit.InArmy)
            continue;
        Units.Add(&unit);
        unit.Assigned = 1;
        Strength += unit.AttackFitness(*Header);
        AddCompanions(unit);
        if (Units.Count() >= AttackUnitCap)
            break;
        if (Strength >= RequiredStrength)
            return true;
    }
    return Strength >= RequiredStrength;
}

bool TAITask::RecruitForPlace(TAIVirtualUnitList& available, int cap) {
    DropUnplaceable();
    if (Units.Count() >= cap)
        return false;
    const bool scouting = Type() == ttGoToCell;
    if (scouting)
        RankByScouting(available, *Header);
    else
        RankByDefence(available, *Header);
    const TGroup* guarded = nullptr;
    if (Type() == ttGuardUnit)
        if (const TUnit* ward = Target().GetUnit())
            guarded = ward->GetGroup();
    for (TAIUnit* candidate : available) {
        TAIUnit& unit = *candidate;
        if (!unit.IsCandidate() || unit.InArmy)
            continue;
        if (Units.Count() > 0 && unit.DistanceTo(*Units[0]) >= RecruitRange)
            continue;
        if (guarded && unit.GetGroup() == guarded)
            continue;
        const int32_t fitness =
            scouting ? unit.ScoutFitness(*Header) : unit.DefenceFitness(*Header);
        if (fitness <= 0)
            continue;
        Units.Add(&unit);
        unit.Assigned = 1;
        AddCompanions(unit);
        if (Units.Count() >= cap)
            return true;
    }
    return Units.Count() > 0;
}

bool TAITask::RecruitForCity(TAIVirtualUnitList& available) {
    const TCity* city = Target().GetCity();
    if (!city || city->HasScriptedEntry())
        return false;
    DropUnplaceable();
    if (Units.Count() >= CityCap)
        return false;
    RankBySiege(available, *Header);
    for (TAIUnit* candidate : available) {
        TAIUnit& unit = *candidate;
        if (!unit.IsCandidate())
            continue;
        if (Units.Count() > 0 && unit.DistanceTo(*Units[0]) >= RecruitRange)
            continue;
        if (unit.SiegeFitness(*Header) <= 0)
            continue;
        Units.Add(&unit);
        unit.Assigned = 1;
        AddCompanions(unit);
        if (Units.Count() >= CityCap)
            return true;
    }
    return Units.Count() > 0;
}

void TAITask::AddCompanions(TAIUnit& unit) {
    // Only units no task holds come along: a unit is never in two tasks.
    const auto join = [this](TAIUnit& companion) {
        Units.Add(&companion);
        companion.Assigned = 1;
        if (Type() == ttAttackUnit)
            Strength += companion.AttackFitness(*Header);
    };
    if (unit.InArmy && unit.Army) {
        for (TAIUnit* member : unit.Army->Members)
            if (member != &unit && !member->Assigned && !member->Removed)
                join(*member);
        return;
    }
    const TGroup* group = unit.GetGroup();
    if (!group || !Handler)
        return;
    const TUnit* self = unit.GetUnit();
    for (TUnit* mate : group->Units) {
        if (!mate || mate == self)
            continue;
        TAIUnit* record = Handler->FindAIUnit(mate);
        if (record && !record->Assigned && !record->InArmy)
            join(*record);
    }
}

void TAITask::DropUnplaceable() {
    for (int i = Units.Count() - 1; i >= 0; --i) {
        if (i >= Units.Count())
            continue;
        TAIUnit& unit = *Units[i];
        if (!unit.IsAlive() || !unit.IsPlaceable())
            RemoveUnit(unit);
    }
}

bool TAITask::AssignUnit(TAIUnit& unit) {
    if (unit.Assigned || unit.InArmy || unit.Removed)
        return false;
    unit.Assigned = 1;
    Units.Add(&unit);
    return true;
}

bool TAITask::UnassignUnit(TAIUnit& unit) {
    // A unit another task holds stays there, flag and all.
    if (unit.InArmy || !unit.Assigned || !HasAIUnit(unit))
        return false;
    RemoveUnit(unit);
    return true;
}

bool TAITask::AssignArmy(TAIArmy& army) {
    for (TAIUnit* member : army.Members) {
        if (HasAIUnit(*member) || member->Removed)
            continue;
        // The latest order wins: a member another task holds leaves it.
        if (Handler)
            for (TAITask* other : Handler->Tasks)
                if (other != this && other->HasAIUnit(*member))
                    other->RemoveUnit(*member);
        member->Assigned = 1;
        Units.Add(member);
    }
    return true;
}

bool TAITask::UnassignArmy(TAIArmy& army) {
    for (int i = army.Members.Count() - 1; i >= 0; --i) {
        TAIUnit& member = *army.Members[i];
        if (!member.Assigned || !HasAIUnit(member))
            return false;
        RemoveUnit(member);
    }
    return true;
}

void TAITask::UnassignAll() {
    while (Units.Count() > 0)
        RemoveUnit(*Units[Units.Count() - 1]);
}

void TAITask::RemoveUnit(TAIUnit& unit) {
    unit.Assigned = 0;
    for (int i = Units.IndexOf(&unit); i >= 0; i = Units.IndexOf(&unit))
        Units.Delete(i);
}

void TAITask::SetGoToCell(int x, int y, int radius) {
    Header->Clear();
    Header->TaskType = ttGoToCell;
    TAITarget& target = Target();
    target.Kind = tkCell;
    target.SetTarget(nullptr);
    target.X = x;
    target.Y = y;
    target.Radius = radius;
}

void TAITask::SetCity(const TCity& city) {
    Header->Clear();
    Header->TaskType = ttCity;
    TAITarget& target = Target();
    target.Kind = tkCity;
    target.SetTarget(&city);
    target.X = city.CellX();
    target.Y = city.CellY();
}

bool TAITask::HasUnit(const TUnit& unit) const {
    const TAIUnit* record = Handler ? Handler->FindAIUnit(&unit) : nullptr;
    return record && HasAIUnit(*record);
}

bool TAITask::HasAIUnit(const TAIUnit& unit) const {
    return Units.IndexOf(&unit) >= 0;
}

bool TAITask::HasArmy(const TAIArmy& army) const {
    for (const TAIUnit* unit : Units)
        if (unit->InArmy && unit->Army == &army)
            return true;
    return false;
}

namespace {

bool IsEnemyUnit(const TAIHandler& handler, const TUnit* unit) {
    return unit && handler.Player.GetRelation(PlayerOf(*unit)) == reEnemy;
}

} // namespace

void TAITask::UpdateTarget() {
    TAITarget& target = Target();
    if (!Handler || !target.IsValid() || !target.IsVisible())
        return;
    target.UpdatePosition();
    if (Type() == ttAttackUnit && IsEnemyUnit(*Handler, target.GetUnit()))
        Active = 1;
}

void TAITask::OnSighting(const TSighting& sighting) {
    TAITarget& target = Target();
    if (!Handler || !target.IsValid() || target.TargetID != sighting.UnitID)
        return;
    if (Type() == ttAttackUnit && IsEnemyUnit(*Handler, target.GetUnit()))
        Active = 1;
    target.SetPosition(sighting);
}

// ---- TAIMultiTask

TAIMultiTask::TAIMultiTask(TAIHandler* handler)
    : Handler(handler), Combined(std::make_unique<TAITask>(handler, true)) {}

bool TAIMultiTask::Prepare() {
    if (Members.Count() == 0)
        return false;
    TAITask* first = Members[0];
    switch (first->Type()) {
    case ttAttackUnit:
        break;
    case ttGoToCell:
    case ttGuardCell:
    case ttGuardUnit:
    case ttCity:
    case ttIdle:
    case ttGoToUnit:
        Combined->CopyFrom(first);
        return true;
    default:
        return false;
    }

    TAITask* lead = first;
    for (int i = 1; i < Members.Count(); ++i) {
        TAITask* member = Members[i];
        TAITarget& target = member->Target();
        if (!target.IsValid() || !target.IsVisible() || !target.IsHostile())
            continue;
        TAITarget& leading = lead->Target();
        if (!leading.IsValid() || !leading.IsVisible() || member->Priority > lead->Priority)
            lead = member;
    }
    TAITarget& leading = lead->Target();
    if (!leading.IsValid() || !leading.IsHostile())
        return false;
    // A target inside a town has no group to fight in the field.
    const TUnit* enemy = leading.GetUnit();
    const TGroup* group = enemy ? enemy->GetGroup() : nullptr;
    if (!group)
        return false;

    Combined->Header->TaskType = ttAttackGroup;
    TAITarget& target = Combined->Target();
    target.Kind = tkGroup;
    target.SetTarget(group);
    target.X = leading.X;
    target.Y = leading.Y;
    Combined->Units.Clear();
    for (TAITask* member : Members)
        for (TAIUnit* unit : member->Units)
            if (!Combined->HasAIUnit(*unit)) {
                unit->Fitness->Header = Combined->Header.get();
                Combined->Units.Add(unit);
            }
    return true;
}

} // namespace AIHandler
