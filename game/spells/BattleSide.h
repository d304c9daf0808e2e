// What a battle needs of the two groups that fight it and of the scenario that
// keeps their units. Groups answer for their sides; the scenario registers the units
// a battle brings into being, so every unit has an identifier and a saved game holds it.
#pragma once

#include <memory>

namespace GameData {

class TUnit;
class TUnitPlayer;

class TBattleSide {
public:
    virtual ~TBattleSide() = default;
    // Units fill the places from 0 without gaps.
    virtual int UnitCount() const = 0;
    // Null outside 0..UnitCount() - 1.
    virtual TUnit* UnitAt(int index) const = 0;
    // Whether a person at this machine commands the side (a local human player).
    virtual bool IsCommandedByLocalPerson() const = 0;
    // The player whose difficulty scales the side's rolls; null for none.
    virtual TUnitPlayer* Player() const = 0;
    // The unit joins the side in its first free place; false, changing nothing, when full.
    virtual bool AddUnit(TUnit& unit) = 0;
    // The unit leaves the side; the places behind it close up.
    virtual void RemoveUnit(TUnit& unit) = 0;
};

class TBattleUnitRegistry {
public:
    virtual ~TBattleUnitRegistry() = default;
    // Gives the unit a new identifier and keeps it; the unit stays where it is in memory.
    virtual TUnit* Register(std::unique_ptr<TUnit> unit) = 0;
    // Forgets and frees the unit.
    virtual void Unregister(TUnit& unit) = 0;
};

} // namespace GameData
