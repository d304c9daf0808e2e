#include "game/world/units/UnitStats.h"

#include "game/world/data/LoadedGlobalData.h"
#include "game/world/units/Rolls.h"

namespace GameData {

int16_t TUnitStats::AtLevel(TUnitStat stat) const {
    const int every = Every(stat);
    if (every == 0)
        return Base(stat);
    return SaturateWord(Base(stat) + int64_t((Level() - 1) / every) * Delta(stat));
}

void TUnitStats::RecalcValues() {
    for (int k = 0; k < UnitStatCount; ++k)
        Value(TUnitStat(k)) = AtLevel(TUnitStat(k));
}

int64_t TUnitStats::ExperienceForLevel(int level) const {
    if (level < 1)
        return 0;
    const int64_t l = level;
    return (l - 1) * ExperienceBase() + l * (l - 1) / 2 * ExperienceDelta();
}

int TUnitStats::LevelForExperience(int64_t experience) const {
    for (int level = MaxUnitLevel; level >= 1; --level)
        if (experience >= ExperienceForLevel(level))
            return level;
    return 1;
}

void TUnitStats::ResetExperience() {
    Experiences() = SaturateWord(ExperienceForLevel(Level()));
}

void TUnitStats::ResetMorale() {
    Morale() = SaturateWord(Data2::GameConstant(Data2::gcDefaultMorale));
}

void TUnitStats::UpdateSpells() {
    for (int id = 1; id <= MaskedIDCount; ++id) {
        if (!(LearnableSpells & MaskBit(id)))
            continue;
        const Data2::TSpellPrototype* spell = Data2::FindSpellByID(id);
        if (spell && spell->MinLevel <= Level())
            Spells |= MaskBit(id);
    }
}

void TUnitStats::RandomizeBase(::Base::TRandomSeed& state) {
    for (int k = 0; k < UnitStatCount; ++k)
        Base(TUnitStat(k)) = SaturateWord(SpreadValue(state, Base(TUnitStat(k))));
    RecalcValues();
}

void TUnitStats::RandomizeBase() {
    RandomizeBase(::Base::RandomSeed);
}

void TUnitStats::AddStats(const TUnitStats& delta) {
    for (int word = 0; word < UnitStatsWordCount; ++word)
        Words[word] = SaturateWord(int64_t(Words[word]) + delta.Words[word]);
    LearnableSkills |= delta.LearnableSkills;
    Skills |= delta.Skills;
    LearnableSpells |= delta.LearnableSpells;
    Spells |= delta.Spells;
}

} // namespace GameData
