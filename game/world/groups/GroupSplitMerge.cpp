// Groups change composition on the map: the units marked for splitting stay behind
// as a new group when a move starts, and a group that walks onto another takes its
// units over.
#include "engine/core/Random.h"
#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"
#include "game/world/units/Unit.h"

namespace GameData {

void TGroup::Split() {
    if (!SplitPending() || !Scenario)
        return;
    auto created = std::make_unique<TGroup>(Scenario);
    created->X = X;
    created->Y = Y;
    created->OwnerIndex = OwnerIndex;
    created->Facing = Facing;
    created->CampStyle = CampStyle;
    created->CampState = CampState;
    created->Frame = Frame;
    TGroup* added = nullptr;
    try {
        added = static_cast<TGroup*>(Scenario->AddObject(std::move(created)));
    } catch (...) {
        throw ClassLib::Exception("TGroup::Split - Unknown error!");
    }
    CampState = csNone;
    Scenario->OccupancyMayChange(this);
    CampStyle = int32_t(Base::NextRandom(Base::RandomSeed) % 4);
    for (int slot = 0; slot < UnitCount(); ++slot)
        if (SplitMarks[size_t(slot)]) {
            TUnit* const unit = Units[size_t(slot)];
            added->Units[size_t(added->UnitCount())] = unit;
            unit->Owner = added;
        }
    for (int slot = MaxGroupUnits - 1; slot >= 0; --slot) {
        if (!Units[size_t(slot)] || !SplitMarks[size_t(slot)])
            continue;
        for (int i = slot; i + 1 < MaxGroupUnits; ++i) {
            Units[size_t(i)] = Units[size_t(i + 1)];
            SplitMarks[size_t(i)] = SplitMarks[size_t(i + 1)];
        }
        Units[MaxGroupUnits - 1] = nullptr;
        SplitMarks[MaxGroupUnits - 1] = 0;
    }
    SplitMarks = {};
    added->SplitMarks = {};
    MoveHeroesForward();
    added->MoveHeroesForward();
    Invalidated = 1;
    added->Invalidated = 1;
    UpdateOwnerVisibility();
}

void TGroup::MergeWith(TGroup* other) {
    if (!other || other == this || !Scenario || UnitCount() + other->UnitCount() > MaxGroupUnits)
        return;
    Facing = other->Facing;
    std::array<TUnit*, MaxGroupUnits> own{};
    const int ownCount = UnitCount();
    for (int slot = ownCount - 1; slot >= 0; --slot)
        own[size_t(slot)] = Units[size_t(slot)];
    Units = {};
    SplitMarks = {};
    int next = 0;
    for (int slot = 0; slot < other->UnitCount(); ++slot) {
        TUnit* const unit = other->Units[size_t(slot)];
        Units[size_t(next++)] = unit;
        unit->Owner = this;
    }
    for (int slot = 0; slot < ownCount; ++slot)
        Units[size_t(next++)] = own[size_t(slot)];
    other->Units = {};
    other->SplitMarks = {};
    CampState = other->CampState;
    Scenario->OccupancyMayChange(this);
    CampStyle = other->CampStyle;
    Frame = other->Frame;
    // The other group may be ticking in this very update: the scenario keeps it
    // until the update is over.
    Scenario->RetireObject(other);
    MoveHeroesForward();
    Invalidated = 1;
    UpdateOwnerVisibility();
}

} // namespace GameData
