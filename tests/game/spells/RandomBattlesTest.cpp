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

// Making a capped decision again with another limit, to count what the cap changes,
// leaves the battle as it would have gone; with the same limit nothing changes.
TEST_F(RandomBattles, ADecisionMadeAgainToCompareLeavesTheBattleAlone) {
    constexpr int64_t LowLimit = 40;
    int capped = 0;
    for (const uint32_t seed : {3u, 17u, 29u}) {
        SCOPED_TRACE(seed);
        const TRandomBattleResult plain = PlayRandomBattle({seed, LowLimit});
        for (const int64_t compareLimit : {LowLimit, SanitizedPlanLimit}) {
            TRandomBattleOptions options{seed, LowLimit};
            options.ComparePlanLimit = compareLimit;
            const TRandomBattleResult compared = PlayRandomBattle(options);
            EXPECT_EQ(compared.Rounds, plain.Rounds);
            EXPECT_EQ(compared.Digest, plain.Digest);
            EXPECT_EQ(compared.RandomState.Low, plain.RandomState.Low);
            EXPECT_EQ(compared.CappedDecisions, plain.CappedDecisions);
            EXPECT_LE(compared.ChangedDecisions, compared.CappedDecisions);
            if (compareLimit == LowLimit) {
                EXPECT_EQ(compared.ChangedDecisions, 0);
            }
        }
        capped += plain.CappedDecisions;
    }
    EXPECT_GT(capped, 0);
}

// Three level-8 wizards against three level-8 knights: a search of many plans.
class StoppedDecisions : public RandomBattles {
protected:
    StoppedDecisions() : Attackers(&Player), Defenders(&Player) {
        constexpr int Wizard = 10;
        constexpr int Knight = 3;
        for (int i = 0; i < 3; ++i) {
            Attackers.AddUnit(*Registry.Register(MakeUnitAtLevel(Wizard, 8, true)));
            Defenders.AddUnit(*Registry.Register(MakeUnitAtLevel(Knight, 8, true)));
        }
        Battle.Registry = &Registry;
        Battle.SetGroups(&Attackers, &Defenders);
        Base::RandomSeed = {77, 0};
    }
    // The attackers' decision, asked to stop just after the search has looked at the
    // request for the given time; with stopAtThatLook, that look already sees it.
    TPlanSearchStats DecideAskedAfterLook(int look, bool stopAtThatLook) {
        Looks = LooksAfterRequest = 0;
        bool asked = false;
        TDecisionLimits limits;
        limits.StopRequested = [&] {
            if (asked) {
                ++LooksAfterRequest;
                return true;
            }
            if (++Looks == look) {
                asked = true;
                return stopAtThatLook;
            }
            return false;
        };
        const TPlanSearchStats stats = ChooseBattleCommands(Battle, true, limits);
        if (stopAtThatLook)
            LooksAfterRequest = 0;
        return stats;
    }

    TTestUnitRegistry Registry;
    TTestPlayer Player;
    TTestBattleSide Attackers;
    TTestBattleSide Defenders;
    TBattle Battle;
    int Looks = 0;
    int LooksAfterRequest = 0;
};

TEST_F(StoppedDecisions, ADecisionOnTheWorkerStopsWhenAsked) {
    Battle.StartAttackerAIThread();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(Battle.IsAIThreadRunning());
    Battle.FreeAIThread();
    EXPECT_FALSE(Battle.HasAIThread());
    EXPECT_EQ(Base::RandomSeed.Low, 77u);
    EXPECT_EQ(Base::RandomSeed.High, 0u);
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_EQ(Battle.Slots[slot].Command, bcNone);
}

// A request that comes just after the search has looked at it (the worst moment) ends
// the search at its next look, a few plans later: how soon in time depends only on
// how long those few plans take.
TEST_F(StoppedDecisions, TheSearchScoresOnlyAFewPlansAfterTheStopRequest) {
    constexpr int64_t MostPlansAfterTheRequest = 16;
    for (const int look : {1, 3, 10}) {
        SCOPED_TRACE(look);
        const TPlanSearchStats seenAtOnce = DecideAskedAfterLook(look, true);
        ASSERT_TRUE(seenAtOnce.Stopped);
        const TPlanSearchStats seenLater = DecideAskedAfterLook(look, false);
        EXPECT_TRUE(seenLater.Stopped);
        EXPECT_EQ(LooksAfterRequest, 1);
        const int64_t scoredAfterRequest = seenLater.PlansScored - seenAtOnce.PlansScored;
        EXPECT_GT(scoredAfterRequest, 0);
        EXPECT_LE(scoredAfterRequest, MostPlansAfterTheRequest);
        EXPECT_LT(seenLater.PlansScored, DefaultPlanLimit);
        for (int slot = 0; slot < 3; ++slot)
            EXPECT_EQ(Battle.Slots[slot].Command, bcNone);
        EXPECT_EQ(Base::RandomSeed.Low, 77u);
    }
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
