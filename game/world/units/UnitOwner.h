// What a unit asks of the group or city that holds it and of the player it serves.
// The world model's groups, cities and players answer; a unit held by nothing has
// no player, no group mates and regenerates as a marching unit.
#pragma once

#include <cstdint>
#include <span>

namespace GameData {

class TUnit;
class TGroup;
class TCity;

class TUnitPlayer {
public:
    virtual ~TUnitPlayer() = default;
    // The value scaled for the difficulty when this player is a hostile computer player.
    virtual int32_t ApplyDifficulty(int32_t value) const = 0;
    // The highest level the player's scenario lets units reach; 0 for no limit.
    virtual int MaximumUnitLevel() const = 0;
};

class TUnitOwner {
public:
    virtual ~TUnitOwner() = default;
    virtual TGroup* AsGroup() = 0; // map object kind 2, else null
    virtual TCity* AsCity() = 0;   // map object kind 6, else null
    // A group's owner; in a city, the city's answer for that unit. Null for none.
    virtual TUnitPlayer* PlayerOf(const TUnit& unit) = 0;
    virtual bool IsCivilian(const TUnit& unit) const = 0;
    virtual bool HasScriptedEntry() const = 0; // a city whose scripted-entry flag is set
    virtual bool IsCampPitched() const = 0;    // a group with its camp pitched
    // The unit slots of a group (empty slots null); nothing for a city.
    virtual std::span<TUnit* const> GroupUnits() const = 0;
    // Takes the unit out of its group, leaving it alive: its owner is cleared and
    // the scenario decides what becomes of it.
    virtual void TakeOutOfGroup(TUnit& unit) = 0;
};

} // namespace GameData
