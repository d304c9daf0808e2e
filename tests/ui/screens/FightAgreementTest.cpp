// A fight shown on screen and the same fight run in the background, from one start and
// one seed, end in the same world and the same random state: the screen only plays out
// what the battle's rules decided, so a peer that shows a fight and a peer that does not
// stay in step.
#include "engine/core/Random.h"
#include "tests/support/StateDigest.h"
#include "tests/ui/screens/FightWorld.h"

#include <gtest/gtest.h>

namespace {

using namespace GameData;

using TestSupport::TFightWorld;
using TestSupport::TLineUp;

constexpr int Footman = 1, Archer = 2, Knight = 3, Wolf = 4, Skeleton = 6, Wizard = 10,
              Priestess = 11;

struct TStart {
    const char* Name;
    TLineUp Attackers;
    TLineUp Defenders;
    int Level;
};

struct TOutcome {
    uint64_t Digest = 0;
    Base::TRandomSeed Random{};
};

class FightAgreementTest : public testing::TestWithParam<TStart> {};

TEST_P(FightAgreementTest, ShownAndBackgroundFightsEndAlike) {
    const TStart& start = GetParam();
    const Base::TRandomSeed seed{0x1234567u, 0x89ABCDEu};

    // The seed is set before the world is built: new groups draw their camp style from it.
    TOutcome background;
    {
        Base::RandomSeed = seed;
        TFightWorld world(start.Attackers, start.Defenders, start.Level);
        world.Dialog->RunBackgroundGroupFight(world.Attacker, world.Defender);
        ASSERT_FALSE(world.Dialog->Fighting());
        background = {TestSupport::StateDigest(*world.Game->Scenario), Base::RandomSeed};
    }
    TOutcome shown;
    {
        Base::RandomSeed = seed;
        TFightWorld world(start.Attackers, start.Defenders, start.Level);
        ASSERT_TRUE(world.PlayShown()) << "the shown fight did not end";
        shown = {TestSupport::StateDigest(*world.Game->Scenario), Base::RandomSeed};
    }
    EXPECT_EQ(shown.Digest, background.Digest);
    EXPECT_EQ(shown.Random.Low, background.Random.Low);
    EXPECT_EQ(shown.Random.High, background.Random.High);
    // The fight drew on the game's state at all, or the comparison proves nothing.
    EXPECT_TRUE(background.Random.Low != seed.Low || background.Random.High != seed.High);
}

// Blows only; casters on both sides; healers and guards (the computer's defenders guard
// their weaker units); undead against the living.
INSTANTIATE_TEST_SUITE_P(
    Starts, FightAgreementTest,
    testing::Values(
        TStart{"Blows", {Footman, Knight, Wolf}, {Footman, Archer, Wolf}, 2},
        TStart{"Spells", {Wizard, Footman, Priestess}, {Wizard, Knight, Archer}, 3},
        TStart{"HealersAndGuards", {Knight, Knight, Priestess}, {Priestess, Footman, Archer}, 3},
        TStart{"Undead", {Skeleton, Skeleton, Wizard}, {Priestess, Knight, Wolf}, 2}),
    [](const testing::TestParamInfo<TStart>& info) { return info.param.Name; });

} // namespace
