#include "engine/core/Random.h"

#include <gtest/gtest.h>

using namespace Base;

TEST(Random, FixedSequenceFromZero) {
    TRandomSeed seed;
    EXPECT_EQ(NextRandom(seed), 0u); // state 1
    EXPECT_EQ(seed.Low, 1u);
    EXPECT_EQ(seed.High, 0u);
    EXPECT_EQ(NextRandom(seed), 0x15Au); // state 0x0000015A00004E36
    EXPECT_EQ(seed.Low, 0x4E36u);
    EXPECT_EQ(seed.High, 0x15Au);
    // Further values worked out with 64-bit arithmetic by hand.
    uint64_t state = 0x0000015A00004E36ull;
    for (int i = 0; i < 1000; ++i) {
        state = state * 0x0000015A00004E35ull + 1;
        ASSERT_EQ(NextRandom(seed), uint32_t(state >> 32) & 0x7FFFFFFFu);
    }
    EXPECT_EQ(seed.Low, uint32_t(state));
}

TEST(Random, CarryFromTheLowHalfAndTheTopBitIsCleared) {
    uint32_t low = 0xFFFFFFFFu, high = 0xFFFFFFFFu;
    // (2^64 - 1) * m + 1 = 1 - m (mod 2^64)
    const uint64_t expected = uint64_t(0) - 0x0000015A00004E35ull + 1;
    EXPECT_EQ(NextRandom(&low, &high), uint32_t(expected >> 32) & 0x7FFFFFFFu);
    EXPECT_EQ(low, uint32_t(expected));
    EXPECT_EQ(high, uint32_t(expected >> 32));
}

TEST(Random, StatesAreIndependentAndCanBeSetAside) {
    InitRandomStates();
    EXPECT_EQ(RandomSeed.Low, 1u);
    EXPECT_EQ(AIRandomSeed.Low, 1u);
    TRandomSeed twin = RandomSeed;
    for (int i = 0; i < 10; ++i)
        NextRandom(RandomSeed);
    SavedRandomSeed = RandomSeed;
    for (int i = 0; i < 37; ++i) // a simulated battle decision
        NextRandom(RandomSeed);
    RandomSeed = SavedRandomSeed;
    for (int i = 0; i < 10; ++i)
        NextRandom(twin);
    EXPECT_EQ(NextRandom(RandomSeed), NextRandom(twin));
}
