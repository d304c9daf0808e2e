#include "game/spells/ScratchBattle.h"

#include <algorithm>

namespace GameData {

TUnit* TScratchSide::UnitAt(int index) const {
    return index >= 0 && index < UnitCount() ? FUnits[size_t(index)] : nullptr;
}

bool TScratchSide::AddUnit(TUnit& unit) {
    if (UnitCount() >= SideSlotCount)
        return false;
    FUnits.push_back(&unit);
    unit.Owner = this;
    return true;
}

void TScratchSide::RemoveUnit(TUnit& unit) {
    const auto found = std::find(FUnits.begin(), FUnits.end(), &unit);
    if (found == FUnits.end())
        return;
    FUnits.erase(found);
    unit.Owner = nullptr;
}

TUnit* TScratchRegistry::Register(std::unique_ptr<TUnit> unit) {
    FUnits.push_back(std::move(unit));
    return FUnits.back().get();
}

void TScratchRegistry::Unregister(TUnit& unit) {
    const auto found =
        std::find_if(FUnits.begin(), FUnits.end(),
                     [&](const std::unique_ptr<TUnit>& held) { return held.get() == &unit; });
    if (found != FUnits.end())
        FUnits.erase(found);
}

namespace {

std::unique_ptr<TScratchSide> CopySide(const TBattleSide* side, TScratchRegistry& registry) {
    if (!side)
        return nullptr;
    auto copy = std::make_unique<TScratchSide>(side->IsCommandedByLocalPerson(), side->Player());
    for (int i = 0; i < side->UnitCount(); ++i) {
        const TUnit* unit = side->UnitAt(i);
        if (!unit)
            break;
        auto scratch = std::make_unique<TUnit>();
        scratch->CopyWhole(*unit);
        scratch->ShowWounds = 0;
        copy->AddUnit(*registry.Register(std::move(scratch)));
    }
    return copy;
}

} // namespace

TScratchBattle::TScratchBattle(const TBattle& original, const Base::TRandomSeed& random)
    : FRandom(random), FAttackers(CopySide(original.Attackers, FRegistry)),
      FDefenders(CopySide(original.Defenders, FRegistry)) {
    Battle.SetGroups(FAttackers.get(), FDefenders.get());
    Battle.Registry = &FRegistry;
    Battle.Random = &FRandom;
    Battle.CastInAutomaticCombat = original.CastInAutomaticCombat;
    for (int slot = 0; slot < BattleSlotCount; ++slot) {
        Battle.Slots[slot].Command = original.Slots[slot].Command;
        Battle.Slots[slot].SpellID = original.Slots[slot].SpellID;
        Battle.Slots[slot].TargetSlot = original.Slots[slot].TargetSlot;
    }
}

TUnitKeeper::TUnitKeeper(TUnit& unit) : FUnit(unit), FSavedPrototype(unit.SavedPrototype) {
    FCopy.CopyCombatState(unit);
    FCopy.Name = unit.Name;
}

void TUnitKeeper::Restore() {
    FUnit.CopyCombatState(FCopy);
    FUnit.SavedPrototype = FSavedPrototype;
    FUnit.Name = FCopy.Name;
}

} // namespace GameData
