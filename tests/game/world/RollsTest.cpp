// The random rolls of the unit rules, worked through from fixed seeds. A draw is
// NextRandom: state = state * 0x15A00004E35 + 1, result = high half & 0x7FFFFFFF;
// a real is draw * 2^-31, and u = 2 * real - 1.
#include "game/world/units/Rolls.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace GameData;
using Base::TRandomSeed;

TRandomSeed Seed(uint64_t state) {
    return TRandomSeed{uint32_t(state), uint32_t(state >> 32)};
}

// From state 1 the draws are 346, 13854878, 1621890440, 816282396, 1778554774, 821126358.
// First pair: u = -0.99999968, v = -0.98709664, s = 1.97436 >= 1, drawn again.
// Second pair: u = 0.51050318, v = -0.23977778, s = 0.31810688;
// sqrt(-2 ln s / s) = 2.68349606; u * that = 1.36993327.
constexpr double SeedOneDeviate = 1.36993327;

TEST(Rolls, GaussianDrawsAgainOutsideTheCircle) {
    TRandomSeed state = Seed(1);
    EXPECT_NEAR(GaussianRandom(state, 0, 1), SeedOneDeviate, 1e-7);
    TRandomSeed again = Seed(1);
    EXPECT_NEAR(GaussianRandom(again, 10, 2), 10 + 2 * SeedOneDeviate, 1e-7);
    // Four draws were taken: the fifth comes next.
    EXPECT_EQ(Base::NextRandom(state), 1778554774u);
}

// Two draws of exactly 2^30 give u = v = 0 and s = 0, whose logarithm has no value.
TEST(Rolls, GaussianDrawsAgainWhenBothDeviatesAreZero) {
    // State 0xEA4766109630EBE3 steps to 0x4000000000000000, then 0x4000000000000001:
    // both draws are 2^30. The next two are 1073742170 and 1087596702:
    // u = 2 * 1073742170 / 2^31 - 1 = 3.2223761e-7, v = 0.01290336, s = 1.66496716e-4,
    // sqrt(-2 ln s / s) = 323.284692, u * that = 1.04174487e-4.
    TRandomSeed state = Seed(0xEA4766109630EBE3ull);
    const double value = GaussianRandom(state, 10, 2);
    ASSERT_FALSE(std::isnan(value));
    EXPECT_NEAR(value, 10 + 2 * 1.04174487e-4, 1e-9);
}

TEST(Rolls, RandomRealSkipsZero) {
    // State 0 steps to 1, whose draw is 0; the next step gives 346.
    TRandomSeed state = Seed(0);
    EXPECT_DOUBLE_EQ(RandomReal(state), 346 * 0x1p-31);
}

struct TRollCase {
    uint64_t Seed;
    int32_t Value;
    int32_t Rolled;
};

// floor(v + deviate * v / 8 + 0.5).
const TRollCase RollCases[] = {
    {1, 8, 9},     // 8 + 1.36993 = 9.36993
    {1, 0, 0},     // standard deviation 0
    {1, 100, 117}, // 100 + 1.36993 * 12.5 = 117.12417
    {1, -16, -19}, // -16 + 1.36993 * -2 = -18.73987; floor(-18.23987)
    {2, 40, 40},   // pairs from state 2: s = 1.949 again; then u = 0.00810300,
                   // s = 0.98028196, deviate 0.00163332: 40 + 0.00817 = 40.00817
    {7, 20, 19},   // state 7: u = -0.50389790, s = 0.80368125, deviate -0.37161505:
                   // 20 - 0.92904 = 19.07096
};

TEST(Rolls, RollValueRoundsAGaussianAroundTheValue) {
    for (const TRollCase& c : RollCases) {
        SCOPED_TRACE(testing::Message() << "seed " << c.Seed << ", value " << c.Value);
        TRandomSeed state = Seed(c.Seed);
        EXPECT_EQ(RollValue(state, c.Value), c.Rolled);
    }
}

TEST(Rolls, SpreadValueMovesWithinTenPercentOnTheGameState) {
    struct TCase {
        uint64_t Seed;
        int32_t Value;
        int32_t Spread;
        bool Draws;
    };
    const TCase cases[] = {
        {2, 50, 55, true},  // r = 5: 50 - 5 + 692 mod 11 (= 10)
        {3, 50, 49, true},  // 50 - 5 + 1038 mod 11 (= 4)
        {2, 7, 7, true},    // r = 0: 7 + 692 mod 1
        {2, -5, 0, true},   // r = 0 still draws; -5 is raised to 0
        {2, -20, 0, false}, // r = -2: 2r + 1 < 1 leaves -20, raised to 0
        {3, 100, 99, true}, // r = 10: 100 - 10 + 1038 mod 21 (= 9)
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "seed " << c.Seed << ", value " << c.Value);
        Base::RandomSeed = Seed(c.Seed);
        EXPECT_EQ(SpreadValue(c.Value), c.Spread);
        TRandomSeed untouched = Seed(c.Seed);
        EXPECT_EQ(Base::RandomSeed.Low == untouched.Low && Base::RandomSeed.High == untouched.High,
                  !c.Draws);
    }
}

TEST(Rolls, ContestsRollTheAttackerFirst) {
    // State 1: a = 20 rolls 20 + 1.36993 * 2.5 = 23.42 -> 23. The next pair (1778554774,
    // 821126358): u = 0.65640821, s = 0.48622206, deviate 1.13049693.
    Base::RandomSeed = Seed(1);
    EXPECT_FALSE(RolledContest(20, 20)); // b: 20 + 1.1305 * 2.5 = 22.83 -> 23; not above
    Base::RandomSeed = Seed(1);
    EXPECT_TRUE(RolledContest(20, 19)); // b: 19 + 1.1305 * 2.375 = 21.68 -> 22

    EXPECT_TRUE(ExpectedContest(11, 10));
    EXPECT_FALSE(ExpectedContest(10, 10));
    EXPECT_TRUE(ExpectedContest(1, 0)); // a / b grows without bound
    EXPECT_FALSE(ExpectedContest(0, 0));
    EXPECT_FALSE(ExpectedContest(-1, 0));
}

TEST(Rolls, SameSeedSameNumbersAndOnlyTheGameStateMoves) {
    const auto run = [] {
        Base::InitRandomStates();
        Base::RandomSeed = Seed(0x0123456789ABCDEFull);
        std::vector<int32_t> results;
        for (int i = 0; i < 20; ++i) {
            results.push_back(RollValue(Base::RandomSeed, 10 * i));
            results.push_back(SpreadValue(10 * i));
            results.push_back(RolledContest(i, 20 - i));
        }
        return results;
    };
    const std::vector<int32_t> first = run();
    EXPECT_EQ(run(), first);

    Base::InitRandomStates();
    const TRandomSeed computerPlayer = Base::AIRandomSeed;
    const TRandomSeed saved = Base::SavedRandomSeed;
    RolledContest(5, 6);
    SpreadValue(50);
    EXPECT_EQ(Base::AIRandomSeed.Low, computerPlayer.Low);
    EXPECT_EQ(Base::AIRandomSeed.High, computerPlayer.High);
    EXPECT_EQ(Base::SavedRandomSeed.Low, saved.Low);
    EXPECT_EQ(Base::SavedRandomSeed.High, saved.High);
}

} // namespace
