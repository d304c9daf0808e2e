#include "tests/support/BattleBuilder.h"

#include "tests/support/UnitBuilder.h"

#include <algorithm>

namespace TestSupport {

using namespace GameData;

TUnit* TTestBattleSide::UnitAt(int index) const {
    return index >= 0 && index < UnitCount() ? FUnits[size_t(index)] : nullptr;
}

bool TTestBattleSide::AddUnit(TUnit& unit) {
    if (FUnits.size() >= 3)
        return false;
    FUnits.push_back(&unit);
    unit.Owner = this;
    return true;
}

void TTestBattleSide::RemoveUnit(TUnit& unit) {
    const auto found = std::find(FUnits.begin(), FUnits.end(), &unit);
    if (found == FUnits.end())
        return;
    FUnits.erase(found);
    unit.Owner = nullptr;
}

// No group class exists here: a distinct non-null address stands for "is one".
TGroup* TTestBattleSide::AsGroup() {
    return reinterpret_cast<TGroup*>(this);
}

TUnit* TTestUnitRegistry::Register(std::unique_ptr<TUnit> unit) {
    unit->ID = FNextID++;
    FUnits.push_back(std::move(unit));
    return FUnits.back().get();
}

void TTestUnitRegistry::Unregister(TUnit& unit) {
    const auto found =
        std::find_if(FUnits.begin(), FUnits.end(),
                     [&](const std::unique_ptr<TUnit>& held) { return held.get() == &unit; });
    if (found != FUnits.end())
        FUnits.erase(found);
}

bool TTestUnitRegistry::Holds(const TUnit* unit) const {
    return std::any_of(FUnits.begin(), FUnits.end(),
                       [&](const std::unique_ptr<TUnit>& held) { return held.get() == unit; });
}

std::unique_ptr<TUnit> MakeUnitAtLevel(int prototypeID, int level, bool allSpells) {
    std::unique_ptr<TUnit> unit = MakeUnit(prototypeID);
    unit->Own.Level() = int16_t(level);
    unit->Own.Experiences() =
        int16_t(std::min<int64_t>(unit->Own.ExperienceForLevel(level), INT16_MAX));
    unit->Own.RecalcValues();
    if (allSpells)
        unit->Own.Spells |= unit->Own.LearnableSpells;
    unit->RecalculateStats(true);
    return unit;
}

} // namespace TestSupport
