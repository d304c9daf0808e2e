// Two peers loaded from the same level and fed the same seeded actions (group
// moves, splits and merges, city moves, purchases, ends of turn) stay in
// step: their saved bytes agree after every action whatever the C runtime's own
// generator holds on each machine, refused actions change nothing, a replay of the
// recorded actions from the saved start ends in the same state, and every state
// reached saves and loads back to the same bytes.
#include "tests/support/StateDigest.h"
#include "tests/tools/LevelFixture.h"
#include "tests/tools/LockstepHarness.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace LevelTests {
namespace {

using namespace GameData;
using TestSupport::LoadedScenario;
using TestSupport::SavedBytes;
using TestSupport::StateDigest;

constexpr int ActionCount = 260; // ten rounds of three players' turns, with room
constexpr int MinimumTurns = 10;
constexpr int RoundTripEvery = 40;

constexpr Base::TRandomSeed GameSeed{0x22, 0};

// A peer loaded from the file, every player local, with the game's seed.
TPeer StartPeer(const std::vector<uint8_t>& bytes) {
    TPeer peer{LoadedScenario(bytes), GameSeed, GameSeed};
    MakeAllPlayersLocal(*peer.Scenario);
    return peer;
}

TEST(Lockstep, TwoPeersAgreeAfterEveryActionAndAReplayEndsAlike) {
    const std::vector<uint8_t>& file = TLevelSet::Get().ScenarioFile(1);
    TPeer firstPeer = StartPeer(file);
    TPeer secondPeer = StartPeer(file);
    TScenario* first = firstPeer.Scenario.get();
    TScenario* second = secondPeer.Scenario.get();
    const std::vector<uint8_t> start = SavedBytes(*first);
    ASSERT_EQ(SavedBytes(*second), start);
    const uint16_t firstTurn = first->Turn;

    TActionDriver driver(0x5EED0022);
    std::vector<TPlayerAction> recorded;
    int refused = 0;
    int taken = 0;
    for (int step = 0; step < ActionCount; ++step) {
        const TPlayerAction action = driver.Next(*first);
        recorded.push_back(action);
        const uint64_t before = StateDigest(*first);
        // Each machine's runtime generator stands wherever its own past left it.
        std::srand(unsigned(step));
        const bool doneFirst = firstPeer.Execute(action);
        std::srand(~unsigned(step));
        const bool doneSecond = secondPeer.Execute(action);
        ASSERT_EQ(doneFirst, doneSecond) << step;
        const std::vector<uint8_t> saved = SavedBytes(*first);
        ASSERT_TRUE(SavedBytes(*second) == saved) << "step " << step << " code " << action.Code;
        const uint64_t after = StateDigest(*first);
        if (!doneFirst) {
            ASSERT_EQ(after, before) << "a refused action changed the game at step " << step;
            ++refused;
        } else {
            ++taken;
        }
        if (step % RoundTripEvery == 0) {
            const std::vector<uint8_t> bytes = SavedBytes(*first);
            ASSERT_TRUE(SavedBytes(*LoadedScenario(bytes)) == bytes) << step;
        }
    }
    EXPECT_GE(first->Turn - firstTurn, MinimumTurns);
    EXPECT_GT(refused, 20);
    EXPECT_GT(taken, 40);

    TPeer replay = StartPeer(start);
    for (size_t step = 0; step < recorded.size(); ++step)
        replay.Execute(recorded[step]);
    EXPECT_EQ(StateDigest(*replay.Scenario), StateDigest(*first));
}

TEST(Lockstep, MalformedActionsAreRefusedAlikeAndChangeNothing) {
    const std::vector<uint8_t>& file = TLevelSet::Get().ScenarioFile(1);
    TPeer first = StartPeer(file);
    TPeer second = StartPeer(file);
    const uint64_t digest = StateDigest(*first.Scenario);
    TActionDriver driver(77);
    for (int i = 0; i < 100; ++i) {
        const TPlayerAction action = driver.Malformed(*first.Scenario);
        EXPECT_FALSE(first.Execute(action)) << action.Code;
        EXPECT_FALSE(second.Execute(action)) << action.Code;
    }
    EXPECT_EQ(StateDigest(*first.Scenario), digest);
    EXPECT_EQ(StateDigest(*second.Scenario), digest);
}

} // namespace
} // namespace LevelTests
