#include "game/spells/GroupBattleSide.h"

#include "game/world/groups/Group.h"
#include "game/world/players/Player.h"
#include "game/world/scenario/Scenario.h"

namespace GameData {

int TGroupBattleSide::UnitCount() const {
    return FGroup.UnitCount();
}

TUnit* TGroupBattleSide::UnitAt(int index) const {
    return index >= 0 && index < FGroup.UnitCount() ? FGroup.UnitAt(index) : nullptr;
}

bool TGroupBattleSide::IsCommandedByLocalPerson() const {
    const TPlayer* owner = FGroup.GetOwner();
    return owner && owner->Type == ptLocal;
}

TUnitPlayer* TGroupBattleSide::Player() const {
    return FGroup.GetOwner();
}

bool TGroupBattleSide::AddUnit(TUnit& unit) {
    if (FGroup.UnitCount() >= MaxGroupUnits)
        return false;
    FGroup.AddUnit(&unit, false);
    return true;
}

void TGroupBattleSide::RemoveUnit(TUnit& unit) {
    for (int i = 0; i < FGroup.UnitCount(); ++i)
        if (FGroup.UnitAt(i) == &unit) {
            FGroup.RemoveUnitAt(i, false, false);
            return;
        }
}

TUnit* TScenarioUnitRegistry::Register(std::unique_ptr<TUnit> unit) {
    return FScenario.RegisterUnit(std::move(unit), true);
}

void TScenarioUnitRegistry::Unregister(TUnit& unit) {
    FScenario.UnregisterUnit(&unit);
}

} // namespace GameData
