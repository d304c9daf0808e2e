#include "game/ai/AIUnit.h"

#include "game/ai/AIHandler.h"
#include "game/ai/AITarget.h"
#include "game/ai/AITask.h"
#include "game/world/cities/City.h"
#include "game/world/groups/Group.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

#include <algorithm>

namespace AIHandler {

using namespace GameData;

namespace {

// What the unit's own record gives at its level, regardless of effects.
int32_t LevelValue(const TUnit& unit, TUnitStat stat) {
    return unit.Own.AtLevel(stat);
}

int32_t UnitAttackFitness(const TUnit& own, const TUnit& target) {
    return std::max(0,
                    2 * own.ExpectedAttackDamage(target) - target.ExpectedCounterattackDamage(own));
}

int32_t ManaAndSpells(const TUnit& unit) {
    return unit.SpellCount() + LevelValue(unit, MANA);
}

} // namespace

// ---- TAIFitness

void TAIFitness::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    UnitID = stream->ReadValue<uint32_t>();
}

void TAIFitness::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    stream->WriteValue(UnitID);
}

void TAIFitness::Clear() {
    Header = nullptr;
    UnitID = 0;
}

TUnit* TAIFitness::GetUnit() const {
    return Handler ? Handler->Scenario.Units.FindByID(UnitID) : nullptr;
}

int32_t TAIFitness::AttackFitness() const {
    const TUnit* own = GetUnit();
    if (!own || !Header)
        return 0;
    if (Header->TaskType == ttAttackUnit) {
        const TUnit* target = Header->Target->GetUnit();
        return target ? UnitAttackFitness(*own, *target) : 0;
    }
    if (Header->TaskType != ttAttackGroup)
        return 0;
    const TGroup* target = Header->Target->GetGroup();
    if (!target)
        return 0;
    if (const TGroup* group = own->GetGroup())
        return std::max(0, 2 * group->ExpectedDamageTo(*target) -
                               target->ExpectedCounterDamageTo(*group));
    int32_t best = 0;
    for (const TUnit* enemy : target->Units)
        if (enemy)
            best = std::max(best, UnitAttackFitness(*own, *enemy));
    return best;
}

int32_t TAIFitness::ManaFitness() const {
    const TUnit* own = GetUnit();
    if (!own || !Header)
        return 0;
    if (Header->TaskType == ttAttackUnit)
        return LevelValue(*own, MANA);
    if (Header->TaskType != ttAttackGroup)
        return 0;
    const TGroup* group = own->GetGroup();
    if (!group)
        return ManaAndSpells(*own);
    int32_t sum = 0;
    for (const TUnit* unit : group->Units)
        if (unit)
            sum += ManaAndSpells(*unit);
    return sum;
}

int32_t TAIFitness::TargetDistance() const {
    const TUnit* own = GetUnit();
    if (!own || !Header)
        return TravelLimit;
    return Header->Target->DistanceToUnit(*own);
}

int32_t TAIFitness::ScoutFitness() const {
    const TUnit* own = GetUnit();
    return own ? LevelValue(*own, SIGHT) * LevelValue(*own, ACTIONPOINTS) : 0;
}

int32_t TAIFitness::DefenceFitness() const {
    const TUnit* own = GetUnit();
    return own ? LevelValue(*own, COUNTERATTACK) : 0;
}

int32_t TAIFitness::SiegeFitness() const {
    const TUnit* own = GetUnit();
    if (!own)
        return 0;
    int32_t defence = 0;
    const TCity* city = Header ? Header->Target->GetCity() : nullptr;
    if (city) {
        int32_t sum = 0;
        int count = 0;
        for (const TUnit* defender : city->DefenderSlots)
            if (defender) {
                sum += LevelValue(*defender, DEFENCE);
                ++count;
            }
        if (count > 0)
            defence = sum / count;
    }
    return std::max(0, LevelValue(*own, ATTACK) - defence);
}

// ---- TAIUnit

TAIUnit::TAIUnit(TAIHandler* handler)
    : Handler(handler), Fitness(std::make_unique<TAIFitness>(handler)) {}

void TAIUnit::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    Assigned = stream->ReadValue<uint8_t>();
    Rating = stream->ReadValue<int32_t>();
    Alive = stream->ReadValue<uint8_t>();
    Fitness->LoadFromStream(stream);
    InArmy = stream->ReadValue<uint8_t>();
    if (InArmy)
        ArmyID = stream->ReadValue<uint32_t>();
}

void TAIUnit::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    stream->WriteValue(Assigned);
    stream->WriteValue(Rating);
    stream->WriteValue(Alive);
    Fitness->SaveToStream(stream);
    stream->WriteValue(InArmy);
    if (InArmy)
        stream->WriteValue(Army ? Army->ID : ArmyID);
}

void TAIUnit::Clear() {
    Fitness->Clear();
    Army = nullptr;
    ArmyID = 0;
    Assigned = 0;
    InArmy = 0;
    Alive = 0;
    Rating = 0;
    Removed = false;
    DropTargetingTasks = false;
}

bool TAIUnit::IsAlive() {
    if (!Alive || Removed)
        return false;
    const TUnit* unit = GetUnit();
    Alive = unit && !unit->IsDead();
    return Alive != 0;
}

TUnit* TAIUnit::GetUnit() const {
    return Fitness->GetUnit();
}

TGroup* TAIUnit::GetGroup() const {
    const TUnit* unit = GetUnit();
    return unit ? unit->GetGroup() : nullptr;
}

TCity* TAIUnit::GetCity() const {
    const TUnit* unit = GetUnit();
    return unit ? unit->GetCity() : nullptr;
}

int TAIUnit::CellX() const {
    int x = 0;
    int y = 0;
    const TUnit* unit = GetUnit();
    return unit && GetUnitCell(*unit, x, y) ? x : 0;
}

int TAIUnit::CellY() const {
    int x = 0;
    int y = 0;
    const TUnit* unit = GetUnit();
    return unit && GetUnitCell(*unit, x, y) ? y : 0;
}

bool TAIUnit::IsPlaceable() const {
    const TUnit* unit = GetUnit();
    return unit && (unit->GetGroup() || unit->GetCity());
}

bool TAIUnit::IsCivilianInCity() const {
    const TUnit* unit = GetUnit();
    const TCity* city = unit ? unit->GetCity() : nullptr;
    return city && city->IsCivilian(*unit);
}

bool TAIUnit::IsInFlaggedCity() const {
    const TUnit* unit = GetUnit();
    return unit && unit->IsInFlaggedCity();
}

bool TAIUnit::IsCandidate() {
    return IsAlive() && IsPlaceable() && !Assigned;
}

int32_t TAIUnit::TravelDistanceTo(int x, int y) const {
    const TUnit* unit = GetUnit();
    int fromX = 0;
    int fromY = 0;
    // A unit that stands nowhere is as far as anything gets.
    if (!Handler || !unit || !GetUnitCell(*unit, fromX, fromY))
        return TravelLimit;
    return Handler->Scenario.TravelDistance(fromX, fromY, TravelLimit, &Handler->Player, y, x);
}

int32_t TAIUnit::DistanceTo(const TAIUnit& other) const {
    if (!other.IsPlaceable())
        return 1000;
    return TravelDistanceTo(other.CellX(), other.CellY());
}

int32_t TAIUnit::AttackFitness(const TAITaskHeader& header) {
    Fitness->Header = &header;
    return Fitness->AttackFitness();
}

int32_t TAIUnit::ManaFitness(const TAITaskHeader& header) {
    Fitness->Header = &header;
    return Fitness->ManaFitness();
}

int32_t TAIUnit::TargetDistance(const TAITaskHeader& header) {
    Fitness->Header = &header;
    return Fitness->TargetDistance();
}

int32_t TAIUnit::ScoutFitness(const TAITaskHeader& header) {
    Fitness->Header = &header;
    return Fitness->ScoutFitness();
}

int32_t TAIUnit::DefenceFitness(const TAITaskHeader& header) {
    Fitness->Header = &header;
    return Fitness->DefenceFitness();
}

int32_t TAIUnit::SiegeFitness(const TAITaskHeader& header) {
    Fitness->Header = &header;
    return Fitness->SiegeFitness();
}

// ---- TAIArmy

namespace {

TAIUnit* FindMember(const Data::TDataList<TAIUnit>& units, uint32_t id) {
    TAIUnit* unit = units.FindByID(id);
    if (!unit)
        throw Data::EInvalidData("AIUnit with given ID not found.");
    return unit;
}

} // namespace

void TAIArmy::LoadFromStream(Data::TStream* stream) {
    TDataObject::LoadFromStream(stream);
    Data::ReadStreamString(stream, Name);
    const int32_t count = Data::ReadCount(*stream, 4);
    for (int32_t i = 0; i < count; ++i) {
        const auto id = stream->ReadValue<uint32_t>();
        if (!Handler)
            throw Data::EInvalidData("AIUnit with given ID not found.");
        TAIUnit* unit = FindMember(Handler->AIUnits, id);
        if (!HasUnit(*unit))
            Members.Add(unit);
    }
}

void TAIArmy::SaveToStream(Data::TStream* stream) const {
    TDataObject::SaveToStream(stream);
    Data::WriteStreamString(stream, Name);
    // Records of units that left are not stored, so nothing may name them.
    const auto count = std::count_if(Members.begin(), Members.end(),
                                     [](const TAIUnit* unit) { return !unit->Removed; });
    stream->WriteValue(static_cast<uint32_t>(count));
    for (const TAIUnit* unit : Members)
        if (!unit->Removed)
            stream->WriteValue(unit->ID);
}

void TAIArmy::Clear() {
    RemoveAll();
    Name = "";
}

bool TAIArmy::AddUnit(TAIUnit& unit) {
    if (unit.InArmy || unit.Assigned || unit.Removed)
        return false;
    if (HasAssignedMember() && Handler)
        for (TAITask* task : Handler->Tasks)
            if (task->HasArmy(*this)) {
                task->AssignUnit(unit);
                break;
            }
    unit.Army = this;
    unit.InArmy = 1;
    Members.Add(&unit);
    return true;
}

bool TAIArmy::RemoveUnit(TAIUnit& unit) {
    if (!unit.InArmy || unit.Army != this)
        return false;
    unit.Army = nullptr;
    unit.InArmy = 0;
    for (int i = Members.IndexOf(&unit); i >= 0; i = Members.IndexOf(&unit))
        Members.Delete(i);
    return true;
}

void TAIArmy::RemoveAll() {
    // Last to first; a member whose own record names another army (stored data out
    // of step) leaves the list all the same.
    while (Members.Count() > 0) {
        const int last = Members.Count() - 1;
        if (!RemoveUnit(*Members[last]))
            Members.Delete(last);
    }
}

bool TAIArmy::HasUnit(const TAIUnit& unit) const {
    return Members.IndexOf(&unit) >= 0;
}

bool TAIArmy::HasAssignedMember() const {
    return std::any_of(Members.begin(), Members.end(),
                       [](const TAIUnit* unit) { return unit->Assigned != 0; });
}

} // namespace AIHandler
