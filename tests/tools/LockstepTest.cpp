// Two peers loaded from the same level and fed the same seeded actions stay in
// step: their digests agree after every action, refused actions change nothing, a
// replay of the recorded actions from the saved start ends in the same state, and
// every state reached saves and loads back to the same bytes.
#include "tests/support/StateDigest.h"
#include "tests/tools/LevelFixture.h"
#include "tests/tools/LockstepHarness.h"

#include <gtest/gtest.h>

namespace LevelTests {
namespace {

using namespace GameData;
using TestSupport::LoadedScenario;
using TestSupport::SavedBytes;
using TestSupport::StateDigest;

constexpr int ActionCount = 200;
constexpr int MinimumTurns = 10;
constexpr int RoundTripEvery = 40;

std::unique_ptr<TScenario> StartPeer(const std::vector<uint8_t>& file) {
    auto scenario = LoadedScenario(file);
    MakeAllPlayersLocal(*scenario);
    return scenario;
}

TEST(Lockstep, TwoPeersAgreeAfterEveryActionAndAReplayEndsAlike) {
    const std::vector<uint8_t>& file = TLevelSet::Get().ScenarioFile(1);
    const auto first = StartPeer(file);
    const auto second = StartPeer(file);
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
        const bool doneFirst = ExecuteAction(*first, action);
        const bool doneSecond = ExecuteAction(*second, action);
        ASSERT_EQ(doneFirst, doneSecond) << step;
        const uint64_t after = StateDigest(*first);
        ASSERT_EQ(StateDigest(*second), after) << "step " << step << " code " << action.Code;
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

    const auto replay = LoadedScenario(start);
    for (const TPlayerAction& action : recorded)
        ExecuteAction(*replay, action);
    EXPECT_EQ(StateDigest(*replay), StateDigest(*first));
}

TEST(Lockstep, MalformedActionsAreRefusedAlikeAndChangeNothing) {
    const std::vector<uint8_t>& file = TLevelSet::Get().ScenarioFile(1);
    const auto first = StartPeer(file);
    const auto second = StartPeer(file);
    const uint64_t digest = StateDigest(*first);
    TActionDriver driver(77);
    for (int i = 0; i < 100; ++i) {
        const TPlayerAction action = driver.Malformed(*first);
        EXPECT_FALSE(ExecuteAction(*first, action)) << action.Code;
        EXPECT_FALSE(ExecuteAction(*second, action)) << action.Code;
    }
    EXPECT_EQ(StateDigest(*first), digest);
    EXPECT_EQ(StateDigest(*second), digest);
}

} // namespace
} // namespace LevelTests
