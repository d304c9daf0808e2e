// Stored units of any bytes: loading refuses what cannot hold; a unit that loads
// stores itself in a form that loads again, and goes through turns, experience,
// blows and morale without overflowing its numbers.
#include "engine/core/Random.h"
#include "game/world/data/GlobalData.h"
#include "game/world/units/Unit.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

namespace {

void InstallGlobalData() {
    if (Data2::GlobalData)
        return;
    Data2::GlobalData = std::make_unique<Data2::TGlobalData>(Data2::TEmptyGlobalData{});
    for (int i = 0; i < Data2::GameConstantCount; ++i)
        Data2::GlobalData->GameConstants[i] = 7 * i - 50;
    auto& prototypes = Data2::GlobalData->UnitPrototypes;
    prototypes.SetCount(2);
    prototypes[0].ID = 1;
    prototypes[1].ID = 2;
    prototypes[1].CreatureType = 4;
    auto& spells = Data2::GlobalData->SpellPrototypes;
    spells.SetCount(1);
    spells[0].ID = 1;
    spells[0].MinLevel = 3;
}

std::vector<uint8_t> Saved(const GameData::TUnit& unit) {
    ClassLib::TMemoryStream stream;
    unit.SaveToStream(&stream);
    return stream.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallGlobalData();
    GameData::TUnit unit;
    try {
        ClassLib::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
        unit.LoadFromStream(&stream);
    } catch (const std::exception&) {
        return 0;
    }
    GameData::TUnit again;
    ClassLib::TMemoryStream stream(Saved(unit));
    again.LoadFromStream(&stream);

    Base::RandomSeed = {uint32_t(size), 0};
    unit.NewTurn();
    unit.GainExperience(1000, 20);
    unit.AddHitPoints(30000);
    unit.AddMana(-30000);
    unit.ChangeMorale(-200);
    unit.TakeDamage(again.AttackDamage(unit));
    again.Attack(unit);
    unit.Counterattack(again);
    unit.SimulateAttack(again);
    unit.LearnSpell(1);
    unit.ForgetSpellsAboveLevel();
    (void)unit.IsImmuneToSpell(1);
    (void)unit.DisplayName();
    unit.MarkEffectsRenewed();
    unit.DropUnrenewedEffects();
    unit.RemoveBattleEffects();
    for (int turn = 0; turn < 3; ++turn)
        unit.NewTurn();
    return 0;
}
