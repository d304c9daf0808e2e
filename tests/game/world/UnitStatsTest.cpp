#include "game/world/units/UnitStats.h"
#include "engine/core/Random.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace GameData;

uint16_t WordAt(const uint8_t* bytes, int offset) {
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

// The record is streamed as its bytes: every named field must land at its stored offset.
TEST(UnitStats, NamedFieldsLieAtTheirStoredOffsets) {
    TUnitStats stats{};
    stats.Level() = 7;
    stats.Experiences() = 1234;
    stats.Morale() = 55;
    stats.PricePerLevel() = 30;
    stats.Value(HITPOINTS) = 101;
    stats.Every(HITPOINTS) = 3;
    stats.Base(ATTACK) = 60;
    stats.Delta(SIGHT) = -2;
    stats.ExperienceBase() = 200;
    stats.ExperienceDelta() = 50;
    stats.LearnableSkills = 0x1122334455667788ull;
    stats.Spells = 1ull << 63;

    uint8_t bytes[128];
    std::memcpy(bytes, &stats, sizeof bytes);
    EXPECT_EQ(WordAt(bytes, 0), 7);
    EXPECT_EQ(WordAt(bytes, 2), 1234);
    EXPECT_EQ(WordAt(bytes, 4), 55);
    EXPECT_EQ(WordAt(bytes, 6), 30);
    EXPECT_EQ(WordAt(bytes, 8), 101);
    EXPECT_EQ(WordAt(bytes, 14), 3);
    EXPECT_EQ(WordAt(bytes, 8 + 8 * 6 + 2), 60);
    EXPECT_EQ(WordAt(bytes, 8 + 8 * 9 + 4), 0xFFFE);
    EXPECT_EQ(WordAt(bytes, 88), 200);
    EXPECT_EQ(WordAt(bytes, 90), 50);
    EXPECT_EQ(bytes[96], 0x88);
    EXPECT_EQ(bytes[103], 0x11);
    EXPECT_EQ(bytes[127], 0x80);
}

struct TLevelCase {
    int16_t Base, Delta, Every, Level, AtLevel;
};

TEST(UnitStats, LevelFormula) {
    const TLevelCase cases[] = {
        {10, 5, 0, 1, 10},              // EVERY 0: BASE at every level
        {10, 5, 0, 20, 10},             //
        {10, 5, 3, 3, 10},              // (3 - 1) / 3 = 0
        {10, 5, 3, 4, 15},              // (4 - 1) / 3 = 1
        {10, 5, 3, 7, 20},              // 6 / 3 = 2
        {10, 5, 3, 10, 25},             // 9 / 3 = 3
        {10, 2, -2, 5, 6},              // 4 / -2 = -2: 10 - 4
        {30000, 1000, 1, 20, 32767},    // 30000 + 19 * 1000 stops at the word's end
        {-30000, 1000, 1, 20, -11000},  //
        {-30000, -1000, 1, 20, -32768}, // and at its other end
    };
    for (const TLevelCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.Base << " " << c.Delta << " " << c.Every << " at " << c.Level);
        TUnitStats stats{};
        TestSupport::SetStat(stats, SIGHT, c.Base, c.Delta, c.Every);
        stats.Level() = c.Level;
        EXPECT_EQ(stats.AtLevel(SIGHT), c.AtLevel);
        stats.RecalcValues();
        EXPECT_EQ(stats.Value(SIGHT), c.AtLevel);
    }
}

TEST(UnitStats, ExperienceThresholds) {
    TUnitStats stats{};
    stats.ExperienceBase() = 100;
    stats.ExperienceDelta() = 50;
    // Level l adds (l > 1 ? 100 : 0) + (l - 1) * 50: 0, 150, 350, 600, 900, ...
    EXPECT_EQ(stats.ExperienceForLevel(0), 0);
    EXPECT_EQ(stats.ExperienceForLevel(1), 0);
    EXPECT_EQ(stats.ExperienceForLevel(2), 150);
    EXPECT_EQ(stats.ExperienceForLevel(3), 350);
    EXPECT_EQ(stats.ExperienceForLevel(4), 600);
    // Level 20: 19 * 100 + 50 * (1 + ... + 19) = 1900 + 9500.
    EXPECT_EQ(stats.ExperienceForLevel(20), 11400);

    const std::pair<int, int> levels[] = {{-5, 1},     {0, 1},      {149, 1},   {150, 2},
                                          {349, 2},    {350, 3},    {599, 3},   {600, 4},
                                          {11399, 19}, {11400, 20}, {32767, 20}};
    for (const auto& [experience, level] : levels)
        EXPECT_EQ(stats.LevelForExperience(experience), level) << experience;

    stats.Level() = 3;
    stats.ResetExperience();
    EXPECT_EQ(stats.Experiences(), 350);
    // A curve steeper than the word: the experience stops at its end.
    stats.ExperienceBase() = 30000;
    EXPECT_EQ(stats.ExperienceForLevel(3), 60000 + 150);
    stats.ResetExperience();
    EXPECT_EQ(stats.Experiences(), 32767);
}

TEST(UnitStats, AddStatsSaturatesWordsAndCombinesMasks) {
    TUnitStats stats{};
    TUnitStats delta{};
    stats.Words[5] = 32000;
    delta.Words[5] = 1000;
    stats.Words[47] = -32000;
    delta.Words[47] = -1000;
    stats.Words[10] = 7;
    delta.Words[10] = -3;
    stats.Spells = 0b0101;
    delta.Spells = 0b0011;
    delta.LearnableSkills = 1ull << 63;
    stats.AddStats(delta);
    EXPECT_EQ(stats.Words[5], 32767);
    EXPECT_EQ(stats.Words[47], -32768);
    EXPECT_EQ(stats.Words[10], 4);
    EXPECT_EQ(stats.Spells, 0b0111u);
    EXPECT_EQ(stats.LearnableSkills, 1ull << 63);
}

TEST(UnitStats, SpellsBecomeKnownAtTheirLevel) {
    TestSupport::TTestGameData data;
    data.AddSpell(1, 1);
    data.AddSpell(2, 3);
    data.AddSpell(66, 1); // a battle spell: bit of 2, but looked up as 2
    TUnitStats stats{};
    stats.Level() = 2;
    stats.LearnableSpells = MaskBit(1) | MaskBit(2) | MaskBit(5); // 5 has no prototype
    stats.UpdateSpells();
    EXPECT_EQ(stats.Spells, MaskBit(1));
    stats.Level() = 3;
    stats.UpdateSpells();
    EXPECT_EQ(stats.Spells, MaskBit(1) | MaskBit(2));
    EXPECT_EQ(MaskBit(1), 1ull << 63);
    EXPECT_EQ(MaskBit(64), 1ull);
    EXPECT_EQ(MaskBit(65), MaskBit(1));
    EXPECT_EQ(MaskBit(0), 0u);
    EXPECT_EQ(MaskBit(129), 0u);
}

TEST(UnitStats, RandomizeBaseSpreadsEveryBaseInOrder) {
    TestSupport::TTestGameData data;
    const int16_t bases[UnitStatCount] = {50, 7, 0, -5, -20, 100, 30, 12, 9, 1000};
    TUnitStats stats{};
    stats.Level() = 1;
    for (int k = 0; k < UnitStatCount; ++k)
        stats.Base(TUnitStat(k)) = bases[k];
    // Draws from state 3, one per BASE whose r = BASE * 10 / 100 is not negative:
    // 50: 1038 mod 11 = 4 -> 49; 7: r 0 -> 7; 0 -> 0; -5: r 0 -> -5, raised to 0;
    // -20: r -2, no draw -> 0; 100: 1555615883 mod 21 = 17 -> 107;
    // 30: 1053753172 mod 7 = 3 -> 30; 12: 432710033 mod 3 = 2 -> 13; 9 -> 9;
    // 1000: 2100082710 mod 201 = 138 -> 1038.
    Base::RandomSeed = {3, 0};
    stats.RandomizeBase();
    const int16_t spread[UnitStatCount] = {49, 7, 0, 0, 0, 107, 30, 13, 9, 1038};
    for (int k = 0; k < UnitStatCount; ++k) {
        EXPECT_EQ(stats.Base(TUnitStat(k)), spread[k]) << k;
        EXPECT_EQ(stats.Value(TUnitStat(k)), spread[k]) << k;
    }
}

} // namespace
