#include "game/world/units/UnitStats.h"

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

} // namespace
