#include "game/world/data/LoadedGlobalData.h"
#include "game/world/units/Unit.h"

#include <bit>

namespace GameData {

bool TUnit::KnowsSpell(int id) const {
    return (Effective.Spells & MaskBit(id)) != 0;
}

bool TUnit::CanLearnSpell(int id) const {
    return (Effective.LearnableSpells & MaskBit(id)) != 0;
}

bool TUnit::HasLevelForSpell(int id) const {
    const Data2::TSpellPrototype* spell = Data2::FindSpellByID(id);
    return spell && spell->MinLevel <= Effective.Level();
}

void TUnit::LearnSpell(int id) {
    Own.Spells |= MaskBit(id);
    RecalculateStats(true);
}

int TUnit::SpellCount() const {
    return std::popcount(Effective.Spells);
}

bool TUnit::HasUsableSpell() const {
    for (int id = 1; id <= MaskedIDCount; ++id)
        if (KnowsSpell(id) && HasLevelForSpell(id))
            return true;
    return false;
}

bool TUnit::CanCastSpell(const Data2::TSpellPrototype& spell) const {
    const uint64_t bit = MaskBit(spell.ID);
    return Effective.Value(ACTIONPOINTS) >= spell.APCost &&
           Effective.Value(MANA) >= spell.ManaCost && (Effective.LearnableSpells & bit) &&
           (Effective.Spells & bit) && spell.MinLevel <= Effective.Level();
}

void TUnit::ForgetSpellsAboveLevel() {
    for (int id = 1; id <= MaskedIDCount; ++id) {
        if (!KnowsSpell(id))
            continue;
        const Data2::TSpellPrototype* spell = Data2::FindSpellByID(id);
        if (spell && spell->MinLevel > Effective.Level())
            Own.Spells &= ~MaskBit(id);
    }
    RecalculateStats(true);
}

bool TUnit::HasSkill(int id) const {
    return (Effective.Skills & MaskBit(id)) != 0;
}

bool TUnit::CanLearnSkill(int id) const {
    return (Effective.LearnableSkills & MaskBit(id)) != 0;
}

bool TUnit::HasLevelForSkill(int id) const {
    const Data2::TSkillPrototype* skill = Data2::FindSkillByID(id);
    return skill && skill->MinLevel <= Effective.Level();
}

bool TUnit::LearnSkill(int id) {
    const Data2::TSkillPrototype* skill = Data2::FindSkillByID(id);
    if (!skill)
        return false;
    Own.AddStats(skill->PermanentDelta);
    if (skill->Duration > 0) {
        auto effect = std::make_unique<TAfterEffect>();
        effect->Delta = skill->TemporaryDelta;
        effect->Duration = skill->Duration;
        effect->Kind = skill->ID + ekSkillBase;
        Effects.Add(effect.release());
    }
    RecalculateStats(true);
    LevelUp();
    return true;
}

} // namespace GameData
