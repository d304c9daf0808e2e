// The battle's view of a map group, and of the scenario that registers the units a
// battle makes.
#pragma once

#include "game/spells/BattleSide.h"

namespace GameData {

class TGroup;
class TScenario;

class TGroupBattleSide : public TBattleSide {
public:
    explicit TGroupBattleSide(TGroup& group) : FGroup(group) {}

    int UnitCount() const override;
    TUnit* UnitAt(int index) const override;
    // The group's owner is a local human player.
    bool IsCommandedByLocalPerson() const override;
    TUnitPlayer* Player() const override;
    // A unit made in battle is not handed to the owner's planner: it leaves with the battle.
    bool AddUnit(TUnit& unit) override;
    void RemoveUnit(TUnit& unit) override;

private:
    TGroup& FGroup;
};

class TScenarioUnitRegistry : public TBattleUnitRegistry {
public:
    explicit TScenarioUnitRegistry(TScenario& scenario) : FScenario(scenario) {}

    TUnit* Register(std::unique_ptr<TUnit> unit) override;
    void Unregister(TUnit& unit) override;

private:
    TScenario& FScenario;
};

} // namespace GameData
