// The sample bestiary for battle tests: the shipped sample data's unit prototypes
// and battle spells 65-125, with its tuning constants, installed in test game data.
#pragma once

#include "tests/support/UnitBuilder.h"

#include <cstdint>

namespace TestSupport {

struct TSampleSpell {
    int ID;
    int Class;
    const char* Name;
    int TargetFlags;
    int MinLevel;
    int ManaCost;
    int APCost;
    int Experience;
    int Phase;
    int16_t Params[10]; // P1 first
};

struct TSampleUnit {
    int ID;
    const char* Name;
    int CreatureType;
    int IsHero;
    int16_t Words[GameData::UnitStatsWordCount];
    uint64_t LearnableSpells;
    uint64_t Spells;
    uint64_t LearnableSkills;
    uint64_t Skills;
};

extern const TSampleSpell SampleBattleSpells[];
extern const TSampleUnit SampleUnits[];
extern const int SampleBattleSpellCount;
extern const int SampleUnitCount;

// Adds every sample unit prototype and battle spell, and sets the sample constants
// the battle rules read.
void AddSampleBestiary(TTestGameData& data);

// Adds one battle spell as the sample data has it.
Data2::TSpellPrototype& AddSampleSpell(TTestGameData& data, const TSampleSpell& spell);

} // namespace TestSupport
