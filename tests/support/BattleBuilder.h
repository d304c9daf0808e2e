// Sides and a unit registry for battle tests: a group of up to three units whose
// owner answers with a test player, and a registry that hands out identifiers.
#pragma once

#include "game/spells/BattleSide.h"
#include "game/world/units/Unit.h"
#include "game/world/units/UnitOwner.h"

#include <memory>
#include <vector>

namespace TestSupport {

class TTestBattleSide : public GameData::TBattleSide, public GameData::TUnitOwner {
public:
    explicit TTestBattleSide(GameData::TUnitPlayer* player = nullptr, bool localPerson = false)
        : FPlayer(player), FLocalPerson(localPerson) {}

    int UnitCount() const override { return int(FUnits.size()); }
    GameData::TUnit* UnitAt(int index) const override;
    bool IsCommandedByLocalPerson() const override { return FLocalPerson; }
    GameData::TUnitPlayer* Player() const override { return FPlayer; }
    bool AddUnit(GameData::TUnit& unit) override;
    void RemoveUnit(GameData::TUnit& unit) override;

    GameData::TGroup* AsGroup() override;
    GameData::TCity* AsCity() override { return nullptr; }
    GameData::TUnitPlayer* PlayerOf(const GameData::TUnit&) override { return FPlayer; }
    bool IsCivilian(const GameData::TUnit&) const override { return false; }
    bool HasScriptedEntry() const override { return false; }
    bool IsCampPitched() const override { return false; }
    std::span<GameData::TUnit* const> GroupUnits() const override { return FUnits; }
    void TakeOutOfGroup(GameData::TUnit& unit) override { RemoveUnit(unit); }

private:
    GameData::TUnitPlayer* FPlayer;
    bool FLocalPerson;
    std::vector<GameData::TUnit*> FUnits;
};

// Owns every unit of a test battle; identifiers count up from 1.
class TTestUnitRegistry : public GameData::TBattleUnitRegistry {
public:
    GameData::TUnit* Register(std::unique_ptr<GameData::TUnit> unit) override;
    void Unregister(GameData::TUnit& unit) override;
    int Count() const { return int(FUnits.size()); }
    bool Holds(const GameData::TUnit* unit) const;

private:
    uint32_t FNextID = 1;
    std::vector<std::unique_ptr<GameData::TUnit>> FUnits;
};

// A unit of a sample prototype at a level (its statistics at their level values);
// with allSpells it knows every spell it could learn.
std::unique_ptr<GameData::TUnit> MakeUnitAtLevel(int prototypeID, int level, bool allSpells);

} // namespace TestSupport
