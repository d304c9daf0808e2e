// A unit's statistics: one 128-byte little-endian record, stored and streamed as a
// single block. The first 48 words are numbers that add element-wise (level,
// experience, morale, price, ten statistics of four words each, the experience
// curve and two spare words); four 64-bit masks of skills and spells follow.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace GameData {

static_assert(std::endian::native == std::endian::little,
              "TUnitStats is streamed as its in-memory bytes");

// The ten statistics, each with its value, BASE, DELTA and EVERY words.
enum TUnitStat : int {
    HITPOINTS = 0,
    HPREGENERATE = 1,
    MANA = 2,
    MANAREGENERATE = 3,
    ACTIONPOINTS = 4,
    MORALEREGENERATE = 5,
    ATTACK = 6,
    COUNTERATTACK = 7,
    DEFENCE = 8,
    SIGHT = 9,
};
constexpr int UnitStatCount = 10;
constexpr int UnitStatsWordCount = 48;

// Word indices of the record.
constexpr int swLevel = 0;
constexpr int swExperiences = 1;
constexpr int swMorale = 2;
constexpr int swPricePerLevel = 3;
constexpr int swFirstStat = 4; // statistic k: words 4 + 4k (value), +1 BASE, +2 DELTA, +3 EVERY
constexpr int swExperienceBase = 44;
constexpr int swExperienceDelta = 45;
constexpr int swSpare = 46; // two words carried along

struct TUnitStats {
    int16_t Words[UnitStatsWordCount];
    uint64_t LearnableSkills;
    uint64_t Skills;
    uint64_t LearnableSpells;
    uint64_t Spells;

    int16_t& Level() { return Words[swLevel]; }
    int16_t Level() const { return Words[swLevel]; }
    int16_t& Experiences() { return Words[swExperiences]; }
    int16_t Experiences() const { return Words[swExperiences]; }
    int16_t& Morale() { return Words[swMorale]; }
    int16_t Morale() const { return Words[swMorale]; }
    int16_t& PricePerLevel() { return Words[swPricePerLevel]; }
    int16_t PricePerLevel() const { return Words[swPricePerLevel]; }

    int16_t& Value(TUnitStat stat) { return Words[swFirstStat + 4 * stat]; }
    int16_t Value(TUnitStat stat) const { return Words[swFirstStat + 4 * stat]; }
    int16_t& Base(TUnitStat stat) { return Words[swFirstStat + 4 * stat + 1]; }
    int16_t Base(TUnitStat stat) const { return Words[swFirstStat + 4 * stat + 1]; }
    int16_t& Delta(TUnitStat stat) { return Words[swFirstStat + 4 * stat + 2]; }
    int16_t Delta(TUnitStat stat) const { return Words[swFirstStat + 4 * stat + 2]; }
    int16_t& Every(TUnitStat stat) { return Words[swFirstStat + 4 * stat + 3]; }
    int16_t Every(TUnitStat stat) const { return Words[swFirstStat + 4 * stat + 3]; }

    int16_t& ExperienceBase() { return Words[swExperienceBase]; }
    int16_t ExperienceBase() const { return Words[swExperienceBase]; }
    int16_t& ExperienceDelta() { return Words[swExperienceDelta]; }
    int16_t ExperienceDelta() const { return Words[swExperienceDelta]; }
};
static_assert(sizeof(TUnitStats) == 128);
static_assert(offsetof(TUnitStats, LearnableSkills) == 96);
static_assert(offsetof(TUnitStats, Skills) == 104);
static_assert(offsetof(TUnitStats, LearnableSpells) == 112);
static_assert(offsetof(TUnitStats, Spells) == 120);

} // namespace GameData
