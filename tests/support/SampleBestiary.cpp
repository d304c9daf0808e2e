#include "tests/support/SampleBestiary.h"

#include "engine/core/Base.h"
#include "game/world/data/GlobalData.h"

#include <algorithm>

namespace TestSupport {

namespace {

struct TConstant {
    int Index;
    int32_t Value;
};

constexpr TConstant SampleConstants[] = {
    {Data2::gcDefaultMorale, 50},           {Data2::gcMaxMorale, 100},
    {Data2::gcMoraleLossPerDamage, 30},     {Data2::gcKillMoralePerLevel, 2},
    {Data2::gcKillMoraleBase, 3},           {Data2::gcLeastActionPoints, 4},
    {Data2::gcExperiencePerDamageDealt, 2}, {Data2::gcExperiencePerDamageTaken, 1},
    {Data2::gcKillExperience, 20},
};

} // namespace

Data2::TSpellPrototype& AddSampleSpell(TTestGameData& data, const TSampleSpell& sample) {
    Data2::TSpellPrototype& spell = data.AddSpell(sample.ID, sample.MinLevel);
    spell.Group = int16_t(sample.Class);
    Base::CopyStringBounded(spell.Name, sample.Name, sizeof spell.Name);
    spell.TargetFlags = uint32_t(sample.TargetFlags);
    spell.ManaCost = uint16_t(sample.ManaCost);
    spell.APCost = uint16_t(sample.APCost);
    spell.CastExperience = uint16_t(sample.Experience);
    spell.Phase = uint16_t(sample.Phase);
    std::copy(std::begin(sample.Params), std::end(sample.Params), spell.Params);
    return spell;
}

void AddSampleBestiary(TTestGameData& data) {
    for (const TConstant& constant : SampleConstants)
        data.SetConstant(constant.Index, constant.Value);
    for (int i = 0; i < SampleBattleSpellCount; ++i)
        AddSampleSpell(data, SampleBattleSpells[i]);
    for (int i = 0; i < SampleUnitCount; ++i) {
        const TSampleUnit& sample = SampleUnits[i];
        Data2::TUnitPrototype& prototype = data.AddUnitPrototype(sample.ID, sample.Name);
        std::copy(std::begin(sample.Words), std::end(sample.Words), prototype.Stats.Words);
        prototype.Stats.LearnableSpells = sample.LearnableSpells;
        prototype.Stats.Spells = sample.Spells;
        prototype.Stats.LearnableSkills = sample.LearnableSkills;
        prototype.Stats.Skills = sample.Skills;
        prototype.CreatureType = int16_t(sample.CreatureType);
        prototype.IsHero = uint8_t(sample.IsHero);
    }
}

} // namespace TestSupport
