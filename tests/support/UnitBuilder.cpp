#include "tests/support/UnitBuilder.h"

#include "engine/core/Base.h"

#include <cmath>

namespace TestSupport {

using namespace GameData;

TTestGameData::TTestGameData() : FPrevious(std::move(Data2::GlobalData)) {
    Data2::GlobalData = std::make_unique<Data2::TGlobalData>(Data2::TEmptyGlobalData{});
    SetConstant(Data2::gcDefaultMorale, 50);
    SetConstant(Data2::gcLeastActionPoints, 1);
}

TTestGameData::~TTestGameData() {
    Data2::GlobalData = std::move(FPrevious);
}

Data2::TUnitPrototype& TTestGameData::AddUnitPrototype(int id, const std::string& name) {
    auto& prototypes = Global().UnitPrototypes;
    prototypes.SetCount(prototypes.Count() + 1);
    Data2::TUnitPrototype& prototype = prototypes[prototypes.Count() - 1];
    prototype.ID = id;
    prototype.Stats.Level() = 1;
    Base::CopyStringBounded(prototype.Name, name.c_str(), sizeof prototype.Name);
    prototype.Loaded = 1;
    return prototype;
}

Data2::TSpellPrototype& TTestGameData::AddSpell(int id, int minLevel) {
    auto& spells = Global().SpellPrototypes;
    spells.SetCount(spells.Count() + 1);
    Data2::TSpellPrototype& spell = spells[spells.Count() - 1];
    spell.ID = int16_t(id);
    spell.MinLevel = uint16_t(minLevel);
    return spell;
}

Data2::TSkillPrototype& TTestGameData::AddSkill(int id, int minLevel) {
    auto& skills = Global().SkillPrototypes;
    skills.SetCount(skills.Count() + 1);
    Data2::TSkillPrototype& skill = skills[skills.Count() - 1];
    skill.ID = int16_t(id);
    skill.MinLevel = uint16_t(minLevel);
    return skill;
}

void SetStat(TUnitStats& stats, TUnitStat stat, int16_t base, int16_t delta, int16_t every) {
    stats.Base(stat) = base;
    stats.Delta(stat) = delta;
    stats.Every(stat) = every;
}

std::unique_ptr<TUnit> MakeUnit(int prototypeID) {
    const Data2::TGlobalData& global = *Data2::GlobalData;
    auto unit = std::make_unique<TUnit>();
    unit->InitFromPrototype(global.UnitPrototypes[global.FindUnitPrototype(prototypeID)]);
    return unit;
}

std::unique_ptr<TUnit> MakeUnit(int prototypeID, int16_t hitPoints) {
    std::unique_ptr<TUnit> unit = MakeUnit(prototypeID);
    unit->Own.Value(HITPOINTS) = hitPoints;
    unit->Effective.Value(HITPOINTS) = hitPoints;
    return unit;
}

int32_t TTestPlayer::ApplyDifficulty(int32_t value) const {
    return static_cast<int32_t>(std::floor(double(value) * DifficultyPercent * 0.01 + 0.5));
}

void TTestOwner::Add(TUnit& unit) {
    for (TUnit*& slot : Slots)
        if (!slot) {
            slot = &unit;
            unit.Owner = this;
            return;
        }
}

// Neither class exists yet: a distinct non-null address stands for "is one".
TGroup* TTestOwner::AsGroup() {
    return IsCity ? nullptr : reinterpret_cast<TGroup*>(this);
}

TCity* TTestOwner::AsCity() {
    return IsCity ? reinterpret_cast<TCity*>(this) : nullptr;
}

std::span<TUnit* const> TTestOwner::GroupUnits() const {
    if (IsCity)
        return {};
    return Slots;
}

void TTestOwner::TakeOutOfGroup(TUnit& unit) {
    ++TakenOut;
    for (TUnit*& slot : Slots)
        if (slot == &unit)
            slot = nullptr;
    unit.Owner = nullptr;
}

} // namespace TestSupport
