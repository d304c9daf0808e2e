#include "tests/support/RandomBattles.h"

#include "tests/support/BattleBuilder.h"
#include "tests/support/SampleBestiary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace TestSupport {
namespace {

using namespace GameData;

class RandomBattles : public ::testing::Test {
protected:
    RandomBattles() { AddSampleBestiary(Data); }
    TTestGameData Data;
};

// The full 1,000 run with the game's plan limit under the battle driver
// (bench/battle_bench); here a share, with a lower limit, that stays quick under the
// sanitizers.
constexpr uint32_t SanitizedBattleCount = 12;
constexpr int64_t SanitizedPlanLimit = 2000;

TEST_F(RandomBattles, ComputerSidesFightWithoutFaults) {
    for (uint32_t seed = 1; seed <= SanitizedBattleCount; ++seed) {
        const TRandomBattleResult result = PlayRandomBattle({seed, SanitizedPlanLimit});
        ASSERT_EQ(result.Fault, "") << "seed " << seed;
        EXPECT_GT(result.Rounds, 0) << "seed " << seed;
    }
}

TEST_F(RandomBattles, ABattleReplayedFromTheSameStateEndsTheSame) {
    for (const uint32_t seed : {3u, 17u}) {
        const TRandomBattleResult first = PlayRandomBattle({seed, SanitizedPlanLimit});
        const TRandomBattleResult second = PlayRandomBattle({seed, SanitizedPlanLimit});
        EXPECT_EQ(first.Rounds, second.Rounds) << seed;
        EXPECT_EQ(first.Digest, second.Digest) << seed;
        EXPECT_EQ(first.RandomState.Low, second.RandomState.Low) << seed;
        EXPECT_EQ(first.RandomState.High, second.RandomState.High) << seed;
    }
}

TEST_F(RandomBattles, ADecisionOnTheWorkerStopsWithinAFrame) {
    constexpr int Wizard = 10;
    constexpr int Knight = 3;
    TTestUnitRegistry registry;
    TTestPlayer player;
    TTestBattleSide attackers(&player);
    TTestBattleSide defenders(&player);
    for (int i = 0; i < 3; ++i) {
        attackers.AddUnit(*registry.Register(MakeUnitAtLevel(Wizard, 8, true)));
        defenders.AddUnit(*registry.Register(MakeUnitAtLevel(Knight, 8, true)));
    }
    TBattle battle;
    battle.Registry = &registry;
    battle.SetGroups(&attackers, &defenders);
    Base::RandomSeed = {77, 0};
    battle.StartAttackerAIThread();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(battle.IsAIThreadRunning());
    const auto asked = std::chrono::steady_clock::now();
    battle.FreeAIThread();
    const auto waited = std::chrono::steady_clock::now() - asked;
    // Two frames at 60 a second, with room for a loaded machine running sanitizers.
    EXPECT_LT(waited, std::chrono::milliseconds(40));
    EXPECT_FALSE(battle.HasAIThread());
    EXPECT_EQ(Base::RandomSeed.Low, 77u);
    EXPECT_EQ(Base::RandomSeed.High, 0u);
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_EQ(battle.Slots[slot].Command, bcNone);
}

TEST_F(RandomBattles, AFinishedDecisionSaysSo) {
    TTestUnitRegistry registry;
    TTestPlayer player;
    TTestBattleSide attackers(&player);
    TTestBattleSide defenders(&player);
    attackers.AddUnit(*registry.Register(MakeUnitAtLevel(1, 1, true)));
    defenders.AddUnit(*registry.Register(MakeUnitAtLevel(12, 1, true)));
    TBattle battle;
    battle.SetGroups(&attackers, &defenders);
    battle.StartDefenderAIThread();
    battle.AIThread->Join();
    EXPECT_EQ(battle.AIDone.load(), 1);
    EXPECT_FALSE(battle.IsAIThreadRunning());
    EXPECT_EQ(battle.Slots[3].Command, bcAttack);
    EXPECT_EQ(battle.Slots[3].TargetSlot, 0);
}

} // namespace
} // namespace TestSupport
