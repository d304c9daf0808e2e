// A battle over copies of another battle's units, for the decisions to simulate on
// while the real units stay as they are (the fight screen draws them meanwhile).
#pragma once

#include "game/spells/Battle.h"
#include "game/world/units/Unit.h"
#include "game/world/units/UnitOwner.h"

#include <memory>
#include <vector>

namespace GameData {

// One side's copies; the copies answer to it as their owner, with the original side's player.
class TScratchSide : public TBattleSide, public TUnitOwner {
public:
    TScratchSide(bool localPerson, TUnitPlayer* player)
        : FLocalPerson(localPerson), FPlayer(player) {}

    int UnitCount() const override { return int(FUnits.size()); }
    TUnit* UnitAt(int index) const override;
    bool IsCommandedByLocalPerson() const override { return FLocalPerson; }
    TUnitPlayer* Player() const override { return FPlayer; }
    bool AddUnit(TUnit& unit) override;
    void RemoveUnit(TUnit& unit) override;

    TGroup* AsGroup() override { return nullptr; }
    TCity* AsCity() override { return nullptr; }
    TUnitPlayer* PlayerOf(const TUnit&) override { return FPlayer; }
    bool IsCivilian(const TUnit&) const override { return false; }
    bool HasScriptedEntry() const override { return false; }
    bool IsCampPitched() const override { return false; }
    std::span<TUnit* const> GroupUnits() const override { return FUnits; }
    void TakeOutOfGroup(TUnit& unit) override { RemoveUnit(unit); }

private:
    bool FLocalPerson;
    TUnitPlayer* FPlayer;
    std::vector<TUnit*> FUnits;
};

// Keeps the scratch units; copies made by spell 125 in a simulation come and go here.
class TScratchRegistry : public TBattleUnitRegistry {
public:
    TUnit* Register(std::unique_ptr<TUnit> unit) override;
    void Unregister(TUnit& unit) override;

private:
    std::vector<std::unique_ptr<TUnit>> FUnits;
};

class TScratchBattle {
public:
    // Whole copies of both sides' units and the battle's commands; its spells draw from
    // its own state, which starts as random.
    TScratchBattle(const TBattle& original, const Base::TRandomSeed& random);
    TScratchBattle(const TScratchBattle&) = delete;
    TScratchBattle& operator=(const TScratchBattle&) = delete;

    TBattle Battle;

private:
    Base::TRandomSeed FRandom;
    TScratchRegistry FRegistry;
    std::unique_ptr<TScratchSide> FAttackers;
    std::unique_ptr<TScratchSide> FDefenders;
};

// A unit's combat state kept aside and put back after a one-action simulation.
class TUnitKeeper {
public:
    explicit TUnitKeeper(TUnit& unit);
    void Restore();

private:
    TUnit& FUnit;
    TUnit FCopy;
    const Data2::TUnitPrototype* FSavedPrototype;
};

} // namespace GameData
