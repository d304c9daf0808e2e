// Two peers loaded from the same level, each with its own game object, fed the same
// seeded actions (selections, group moves, splits and merges, town moves, purchases,
// ends of turn) through the game's executor stay in step: their saved bytes agree
// after every action whatever the C runtime's own generator holds on each machine,
// refused actions change nothing, a replay of the recorded actions from the level
// file ends in the same state, and every state reached saves and loads back to the
// same bytes.
#include "platform/win32/Desktop.h"
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

class Lockstep : public ::testing::Test {
protected:
    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
};

TEST_F(Lockstep, TwoPeersAgreeAfterEveryActionAndAReplayEndsAlike) {
    const std::vector<uint8_t>& file = TLevelSet::Get().ScenarioFile(1);
    TPeer firstPeer(LoadedScenario(file));
    TPeer secondPeer(LoadedScenario(file));
    TScenario* first = &firstPeer.Scenario();
    TScenario* second = &secondPeer.Scenario();
    ASSERT_EQ(SavedBytes(*second), SavedBytes(*first));
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
        const TPeer::TOutcome outcomeFirst = firstPeer.Execute(action);
        std::srand(~unsigned(step));
        const TPeer::TOutcome outcomeSecond = secondPeer.Execute(action);
        ASSERT_TRUE(outcomeFirst == outcomeSecond) << step;
        const bool doneFirst = !outcomeFirst.Refused;
        const std::vector<uint8_t> saved = SavedBytes(*first);
        ASSERT_TRUE(SavedBytes(*second) == saved) << "step " << step << " code " << action.Code;
        const uint64_t after = StateDigest(*first);
        if (!doneFirst) {
            ASSERT_EQ(after, before)
                << "a refused action changed the game at step " << step << " code " << action.Code;
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

    TPeer replay(LoadedScenario(file));
    for (size_t step = 0; step < recorded.size(); ++step)
        replay.Execute(recorded[step]);
    EXPECT_EQ(StateDigest(replay.Scenario()), StateDigest(*first));
}

TEST_F(Lockstep, MalformedActionsAreRefusedAlikeAndChangeNothing) {
    const std::vector<uint8_t>& file = TLevelSet::Get().ScenarioFile(1);
    TPeer first(LoadedScenario(file));
    TPeer second(LoadedScenario(file));
    const uint64_t digest = StateDigest(first.Scenario());
    TActionDriver driver(77);
    for (int i = 0; i < 100; ++i) {
        const TPlayerAction action = driver.Malformed(first.Scenario());
        EXPECT_TRUE(first.Execute(action).Refused) << action.Code;
        EXPECT_TRUE(second.Execute(action).Refused) << action.Code;
    }
    EXPECT_EQ(StateDigest(first.Scenario()), digest);
    EXPECT_EQ(StateDigest(second.Scenario()), digest);
}

} // namespace
} // namespace LevelTests
