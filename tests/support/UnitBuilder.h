// Units for tests without archives: global data made in code with small prototypes,
// and stand-ins for the group and player that hold a unit.
#pragma once

#include "game/world/data/GlobalData.h"
#include "game/world/units/Unit.h"

#include <array>
#include <memory>
#include <string>

namespace TestSupport {

// Installs empty global data as Data2::GlobalData for its lifetime (the default
// morale 50, the least action cost 1, every other constant 0). Add every prototype
// before making units: adding moves the records units point at.
class TTestGameData {
public:
    TTestGameData();
    ~TTestGameData();
    TTestGameData(const TTestGameData&) = delete;
    TTestGameData& operator=(const TTestGameData&) = delete;

    // Level 1, no sprites, every statistic and the experience curve 0.
    Data2::TUnitPrototype& AddUnitPrototype(int id, const std::string& name = "Unit");
    Data2::TSpellPrototype& AddSpell(int id, int minLevel);
    Data2::TSkillPrototype& AddSkill(int id, int minLevel);
    void SetConstant(int index, int32_t value) { Global().GameConstants[index] = value; }

    Data2::TGlobalData& Global() { return *Data2::GlobalData; }

private:
    std::unique_ptr<Data2::TGlobalData> FPrevious;
};

// A statistic's BASE, DELTA and EVERY.
void SetStat(GameData::TUnitStats& stats, GameData::TUnitStat stat, int16_t base, int16_t delta = 0,
             int16_t every = 0);

// A unit made from the prototype with that identifier.
std::unique_ptr<GameData::TUnit> MakeUnit(int prototypeID);
// The same with the hit points, own and effective (below 1: dead).
std::unique_ptr<GameData::TUnit> MakeUnit(int prototypeID, int16_t hitPoints);

// A player scaling by a difficulty percentage as hostile computer players do, and
// with the scenario's maximum level.
class TTestPlayer : public GameData::TUnitPlayer {
public:
    int32_t ApplyDifficulty(int32_t value) const override;
    int MaximumUnitLevel() const override { return MaximumLevel; }

    int DifficultyPercent = 100;
    int MaximumLevel = 0;
};

// A group of up to three units, or a city when IsCity is set.
class TTestOwner : public GameData::TUnitOwner {
public:
    // Puts the unit in the first free slot and makes this its owner.
    void Add(GameData::TUnit& unit);

    GameData::TGroup* AsGroup() override;
    GameData::TCity* AsCity() override;
    GameData::TUnitPlayer* PlayerOf(const GameData::TUnit&) override { return Player; }
    bool IsCivilian(const GameData::TUnit&) const override { return Civilian; }
    bool HasScriptedEntry() const override { return ScriptedEntry; }
    bool IsCampPitched() const override { return CampPitched; }
    std::span<GameData::TUnit* const> GroupUnits() const override;
    void TakeOutOfGroup(GameData::TUnit& unit) override;

    std::array<GameData::TUnit*, 3> Slots{};
    GameData::TUnitPlayer* Player = nullptr;
    bool IsCity = false;
    bool Civilian = false;
    bool ScriptedEntry = false;
    bool CampPitched = false;
    int TakenOut = 0;
};

} // namespace TestSupport
