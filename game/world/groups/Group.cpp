#include "game/world/groups/Group.h"

#include "engine/core/Random.h"
#include "game/world/orders/MovementSpeed.h"
#include "game/world/players/ComputerPlayer.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/GameSettings.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

#include <utility>

namespace GameData {

TGroup::TGroup(TScenario* scenario) : TMapObject(scenario) {
    Kind = okGroup;
}

TGroup::~TGroup() {
    for (TUnit* unit : Units)
        if (unit && unit->Owner == this)
            unit->Owner = nullptr;
}

void TGroup::Clear() {
    TMapObject::Clear();
    for (TUnit* unit : Units)
        if (unit && unit->Owner == this)
            unit->Owner = nullptr;
    Facing = 0;
    OwnerIndex = NoOwner;
    Units = {};
    SplitMarks = {};
    Ticks = 0;
    TicksPerStep = 1;
    PixelsPerStep = 4;
    Frame = 0;
    Activity = gaNone;
    AnimState = asIdle;
    TargetFacing = DesiredFacing = 0;
    StartX = StartY = CellX = CellY = NextX = NextY = TargetX = TargetY = 0;
    PathIndex = 0;
    TargetGroup = nullptr;
    TargetLocation = nullptr;
    MergeOnArrival = OrderMode = Engagement = EngagedBy = InBattle = 0;
    Reserve = 0;
    CampState = csNone;
    CampStyle = 0;
    KeptByte = Interrupted = Blocked = StopByOwner = StopByArea = 0;
    BlockedX = BlockedY = 0;
    StepPaid = 0;
}

void TGroup::LoadFromStream(TStream* stream) {
    TMapObject::LoadFromStream(stream);
    Facing = stream->ReadValue<uint8_t>();
    OwnerIndex = stream->ReadValue<uint8_t>();
    const auto count = stream->ReadValue<uint32_t>();
    Data::CheckData(count <= MaxGroupUnits);
    for (uint32_t i = 0; i < count; ++i) {
        TUnit* unit = Scenario->Units.GetByID(stream->ReadValue<uint32_t>());
        // A unit stands in one place only.
        Data::CheckData(unit != nullptr && FindUnitByID(unit->ID) == nullptr &&
                        (unit->Owner == nullptr || unit->Owner == this));
        Units[i] = unit;
        unit->Owner = this;
    }
    Ticks = stream->ReadValue<uint32_t>();
    // The walking pace is this machine's option, not the stored game's.
    stream->ReadValue<int16_t>();
    TicksPerStep = LocalTicksPerStep();
    for (uint8_t* field : {&Frame, &Activity, &AnimState, &TargetFacing, &DesiredFacing})
        *field = stream->ReadValue<uint8_t>();
    for (int16_t* field : {&StartX, &StartY, &CellX, &CellY, &NextX, &NextY, &TargetX, &TargetY})
        *field = stream->ReadValue<int16_t>();
    stream->ReadValue<int16_t>();
    stream->ReadValue<int16_t>();
    PathIndex = stream->ReadValue<int16_t>();
    // A path step indexes the scenario's path buffer.
    Data::CheckData(PathIndex >= 0 && PathIndex < PathLength);
    for (uint8_t* field : {&MergeOnArrival, &OrderMode, &Engagement, &EngagedBy, &InBattle,
                           &KeptByte, &Interrupted, &Blocked})
        *field = stream->ReadValue<uint8_t>();
    BlockedX = stream->ReadValue<int16_t>();
    BlockedY = stream->ReadValue<int16_t>();
    CampState = stream->ReadValue<int32_t>();
    CampStyle = stream->ReadValue<int32_t>();
    // A turn steps round until it meets the facing it aims at: one of eight.
    Data::CheckData(Facing < UnitDirectionCount && TargetFacing < UnitDirectionCount &&
                    DesiredFacing < UnitDirectionCount);
    // The group's own cell and the cells of its step index the map's grids.
    Data::CheckData(X >= 0 && Y >= 0 && IsOnMap());
    Data::CheckData(Scenario->IsCellOnMap(CellX, CellY) && Scenario->IsCellOnMap(NextX, NextY));
}

void TGroup::SaveToStream(TStream* stream) const {
    TMapObject::SaveToStream(stream);
    stream->WriteValue(Facing);
    stream->WriteValue(OwnerIndex);
    stream->WriteValue(static_cast<uint32_t>(UnitCount()));
    for (int i = 0; i < UnitCount(); ++i)
        stream->WriteValue(Units[size_t(i)]->ID);
    stream->WriteValue(Ticks);
    // The pace's place holds the default, so that peers with other options store alike.
    stream->WriteValue(int16_t(1));
    for (uint8_t field : {Frame, Activity, AnimState, TargetFacing, DesiredFacing})
        stream->WriteValue(field);
    for (int16_t field : {StartX, StartY, CellX, CellY, NextX, NextY, TargetX, TargetY})
        stream->WriteValue(field);
    stream->WriteValue(int16_t(0));
    stream->WriteValue(int16_t(0));
    stream->WriteValue(PathIndex);
    for (uint8_t field : {MergeOnArrival, OrderMode, Engagement, EngagedBy, InBattle, KeptByte,
                          Interrupted, Blocked})
        stream->WriteValue(field);
    stream->WriteValue(BlockedX);
    stream->WriteValue(BlockedY);
    stream->WriteValue(CampState);
    stream->WriteValue(CampStyle);
}

int16_t TGroup::LocalTicksPerStep() const {
    const TGameSettings* settings = Scenario ? Scenario->Settings : nullptr;
    return TicksPerStepForSpeed(settings ? settings->MovementSpeed
                                         : TGameSettings::DefaultMovementSpeed);
}

int TGroup::UnitCount() const {
    int count = 0;
    while (count < MaxGroupUnits && Units[size_t(count)])
        ++count;
    return count;
}

void TGroup::AddUnit(TUnit* unit, bool giveToAI) {
    const int slot = UnitCount();
    if (slot >= MaxGroupUnits)
        throw ClassLib::Exception("Maximum number of units in group reached.");
    unit->Owner = this;
    Units[size_t(slot)] = unit;
    if (TPlayer* owner = GetOwner(); giveToAI && owner && owner->AI)
        owner->AI->AddAIUnit(*unit);
    AfterCompositionChange();
}

TUnit* TGroup::AddUnit(std::unique_ptr<TUnit> unit, bool newID, bool giveToAI) {
    if (UnitCount() >= MaxGroupUnits)
        throw ClassLib::Exception("Maximum number of units in group reached.");
    TUnit* registered = Scenario->RegisterUnit(std::move(unit), newID);
    AddUnit(registered, giveToAI);
    return registered;
}

std::unique_ptr<TUnit> TGroup::RemoveUnitAt(int slot, bool unregister, bool fromAI) {
    TUnit* const unit = Units[size_t(slot)];
    if (TPlayer* owner = GetOwner(); fromAI && owner && owner->AI)
        owner->AI->RemoveAIUnit(*unit, false);
    unit->Owner = nullptr;
    std::unique_ptr<TUnit> released;
    if (unregister)
        released = Scenario->UnregisterUnit(unit);
    for (int i = slot; i + 1 < MaxGroupUnits; ++i) {
        Units[size_t(i)] = Units[size_t(i + 1)];
        SplitMarks[size_t(i)] = SplitMarks[size_t(i + 1)];
    }
    Units[MaxGroupUnits - 1] = nullptr;
    SplitMarks[MaxGroupUnits - 1] = 0;
    AfterCompositionChange();
    return released;
}

std::unique_ptr<TUnit> TGroup::RemoveUnit(TUnit* unit, bool unregister, bool fromAI) {
    for (int i = 0; i < UnitCount(); ++i)
        if (Units[size_t(i)] == unit)
            return RemoveUnitAt(i, unregister, fromAI);
    throw ClassLib::Exception("The unit is not in the group.");
}

void TGroup::RemoveAll(bool unregister) {
    for (int i = UnitCount() - 1; i >= 0; --i)
        RemoveUnitAt(i, unregister, false);
}

void TGroup::TakeOutOfGroup(TUnit& unit) {
    RemoveUnit(&unit, false, true);
    // Registered units always have a place: out of a group on the map they are loose.
    // A city's gate and defender groups are not on the map; the city decides.
    if (Scenario && Scenario->IndexOfObject(this) >= 0)
        Scenario->LooseUnits.Add(&unit);
}

void TGroup::MoveHeroesForward() {
    for (int i = MaxGroupUnits - 1; i >= 1; --i) {
        TUnit* const unit = Units[size_t(i)];
        if (unit && unit->IsHero && Units[size_t(i - 1)]) {
            std::swap(Units[size_t(i)], Units[size_t(i - 1)]);
            std::swap(SplitMarks[size_t(i)], SplitMarks[size_t(i - 1)]);
        }
    }
}

void TGroup::AfterCompositionChange() {
    MoveHeroesForward();
    ChooseCampStyle();
    Invalidated = 1;
}

void TGroup::ChooseCampStyle() {
    if (CampState != csNone)
        return;
    for (int i = 0; i < UnitCount(); ++i) {
        const Data2::TUnitPrototype* prototype = Units[size_t(i)]->Prototype;
        if (prototype && (prototype->CreatureType == 2 || prototype->CreatureType == 4 ||
                          prototype->CreatureType == 8)) {
            CampStyle = 4;
            return;
        }
    }
    CampStyle = int32_t(Base::NextRandom(Base::RandomSeed) % 4);
}

int TGroup::CanAddUnit(const TUnit& unit) const {
    if (UnitCount() >= MaxGroupUnits)
        return gjFull;
    if (unit.IsHero && HasHero())
        return gjSecondHero;
    return gjAllowed;
}

int TGroup::CanMerge(const TGroup& other) const {
    const bool split = SplitPending();
    int count = 0;
    for (int i = 0; i < UnitCount(); ++i)
        if (!split || !SplitMarks[size_t(i)])
            ++count;
    if (count + other.UnitCount() > MaxGroupUnits)
        return gjFull;
    if (HasStayingHero() && other.HasHero())
        return gjSecondHero;
    return gjAllowed;
}

bool TGroup::SplitPending() const {
    bool marked = false;
    bool unmarked = false;
    for (int i = 0; i < UnitCount(); ++i)
        (SplitMarks[size_t(i)] ? marked : unmarked) = true;
    return marked && unmarked;
}

void TGroup::SetOwner(uint8_t index) {
    if (index == OwnerIndex)
        return;
    TPlayer* const oldOwner = GetOwner();
    TPlayer* const newOwner = Scenario ? Scenario->PlayerAt(index) : nullptr;
    for (int i = 0; i < UnitCount(); ++i) {
        if (oldOwner && oldOwner->AI)
            oldOwner->AI->RemoveAIUnit(*Units[size_t(i)], false);
        if (newOwner && newOwner->AI)
            newOwner->AI->AddAIUnit(*Units[size_t(i)]);
    }
    OwnerIndex = index;
    // A new side may make the group a stranger on the current player's way, or its own.
    if (Scenario)
        Scenario->OccupancyMayChange(this);
}

TPlayer* TGroup::GetOwner() const {
    return Scenario ? Scenario->PlayerAt(OwnerIndex) : nullptr;
}

TUnitPlayer* TGroup::PlayerOf(const TUnit&) {
    return GetOwner();
}

TUnit* TGroup::GetLeader() const {
    const int count = UnitCount();
    if (count == 0)
        return nullptr;
    TUnit* leader = Units[0];
    for (int i = 0; i < count; ++i)
        if (Units[size_t(i)]->IsHero)
            leader = Units[size_t(i)];
    if (leader->IsDead())
        for (int i = 0; i < count; ++i)
            if (!Units[size_t(i)]->IsDead())
                leader = Units[size_t(i)];
    return leader;
}

bool TGroup::HasHero() const {
    for (int i = 0; i < UnitCount(); ++i)
        if (Units[size_t(i)]->IsHero)
            return true;
    return false;
}

bool TGroup::HasStayingHero() const {
    if (!SplitPending())
        return HasHero();
    for (int i = 0; i < UnitCount(); ++i)
        if (Units[size_t(i)]->IsHero && !SplitMarks[size_t(i)])
            return true;
    return false;
}

TUnit* TGroup::FindUnitByID(uint32_t id) const {
    for (int i = 0; i < UnitCount(); ++i)
        if (Units[size_t(i)]->ID == id)
            return Units[size_t(i)];
    return nullptr;
}

void TGroup::Deselect() {
    TMapObject::Deselect();
    SplitMarks = {};
}

} // namespace GameData
