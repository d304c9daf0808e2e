// A unit's statistics: one 128-byte little-endian record, stored and streamed as a
// single block. The first 48 words are numbers that add element-wise (level,
// experience, morale, price, ten statistics of four words each, the experience
// curve and two spare words); four 64-bit masks of skills and spells follow.
#pragma once

#include "engine/core/Random.h"
#include "game/world/units/UnitArithmetic.h"

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

constexpr int MaxUnitLevel = 20;
constexpr int MaskedIDCount = 64; // skill and spell identifiers 1-64 own one mask bit each

// Identifier n (1-64) is bit 64 - n; battle spells 65-128 share the bits of 1-64.
constexpr uint64_t MaskBit(int id) {
    const int folded = id > MaskedIDCount ? id - MaskedIDCount : id;
    return folded >= 1 && folded <= MaskedIDCount ? uint64_t(1) << (MaskedIDCount - folded) : 0;
}

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

    // BASE + ((LEVEL - 1) / EVERY) * DELTA; BASE alone when EVERY is 0. For the pools
    // (HITPOINTS, MANA, ACTIONPOINTS) this is the maximum, for the others the rating.
    int16_t AtLevel(TUnitStat stat) const;
    // Every statistic's value := AtLevel.
    void RecalcValues();
    // Experience needed for a level: the sum over l = 1..level of
    // (l > 1 ? EXPERIENCEBASE : 0) + (l - 1) * EXPERIENCEDELTA; 0 below level 1.
    int64_t ExperienceForLevel(int level) const;
    // The highest level up to 20 whose experience is reached; 1 when none is.
    int LevelForExperience(int64_t experience) const;
    void ResetExperience();
    // MORALE := the global default morale.
    void ResetMorale();
    // Learnable spells whose minimum level LEVEL reaches become known.
    void UpdateSpells();
    // Each BASE spread by about 10 % on the given random state (the game's when none is
    // named), then RecalcValues.
    void RandomizeBase(::Base::TRandomSeed& state);
    void RandomizeBase();
    // The 48 words added element-wise (saturating), the masks combined.
    void AddStats(const TUnitStats& delta);
};
static_assert(sizeof(TUnitStats) == 128);
static_assert(offsetof(TUnitStats, LearnableSkills) == 96);
static_assert(offsetof(TUnitStats, Skills) == 104);
static_assert(offsetof(TUnitStats, LearnableSpells) == 112);
static_assert(offsetof(TUnitStats, Spells) == 120);

} // namespace GameData
