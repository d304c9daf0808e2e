// A fight shown on screen and the same fight run in the background, from one start and
// one seed, end in the same world and the same random state: the screen only plays out
// what the battle's rules decided, so a peer that shows a fight and a peer that does not
// stay in step.
#include "engine/core/Random.h"
#include "engine/widgets/DXWindowSystem.h"
#include "game/world/groups/Group.h"
#include "game/world/scenario/Scenario.h"
#include "platform/win32/Desktop.h"
#include "tests/support/BattleBuilder.h"
#include "tests/support/SampleBestiary.h"
#include "tests/support/StateDigest.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "ui/game/Game.h"
#include "ui/screens/FightDialog.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <memory>
#include <thread>

namespace {

using namespace GameData;

using TLineUp = std::array<int, 3>;

constexpr int Footman = 1, Archer = 2, Knight = 3, Wolf = 4, Skeleton = 6, Wizard = 10,
              Priestess = 11;

struct TStart {
    const char* Name;
    TLineUp Attackers;
    TLineUp Defenders;
    int Level;
};

// Two computer players' groups side by side, watched by a third player.
class TFightWorld {
public:
    explicit TFightWorld(const TStart& start) {
        TestSupport::AddSampleBestiary(Data);
        TestSupport::TTinyWorld world;
        Attacker = AddLineUp(world, 0, 2, 2, start.Attackers, start.Level);
        Defender = AddLineUp(world, 1, 3, 2, start.Defenders, start.Level);
        Game = std::make_unique<Main::TGame>(&Windows);
        Game->Init();
        Game->Scenario = std::move(world.Scenario);
        TScenario& scenario = *Game->Scenario;
        for (int i = 0; i < 2; ++i)
            scenario.Players[i]->Type = ptComputer;
        scenario.CurrentPlayerIndex = 0;
        scenario.CurrentPlayer = scenario.Players[0];
        scenario.SetViewingPlayer(scenario.Players[2]);
        scenario.CurrentPlayer->SelectObject(Attacker);
        auto dialog = std::make_unique<Main::TFightDialog>(&Windows, *Game);
        Dialog = dialog.get();
        Game->FightDialog = std::move(dialog);
    }

    static TGroup* AddLineUp(TestSupport::TTinyWorld& world, uint8_t owner, int x, int y,
                             const TLineUp& lineUp, int level) {
        TGroup* group = world.AddGroup(owner, x, y);
        for (const int id : lineUp)
            group->AddUnit(TestSupport::MakeUnitAtLevel(id, level, true), true, false);
        return group;
    }

    // The fight played on the dialog tick by tick, as the screen shows it; the game
    // executes the sides' posted commands between the ticks.
    bool PlayShown() {
        Dialog->StartGroupFight(Attacker, Defender);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (Dialog->Fighting()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            Game->ExecuteAction();
            Dialog->Tick();
            if (Dialog->Battle.IsAIThreadRunning())
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }

    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
    TestSupport::TTestGameData Data;
    DXWin::TDXWindowSystem Windows;
    std::unique_ptr<Main::TGame> Game;
    TGroup* Attacker = nullptr;
    TGroup* Defender = nullptr;
    Main::TFightDialog* Dialog = nullptr;
};

struct TOutcome {
    uint64_t Digest = 0;
    Base::TRandomSeed Random{};
};

class FightAgreementTest : public testing::TestWithParam<TStart> {};

TEST_P(FightAgreementTest, ShownAndBackgroundFightsEndAlike) {
    const TStart& start = GetParam();
    const Base::TRandomSeed seed{0x1234567u, 0x89ABCDEu};

    TOutcome background;
    {
        Base::RandomSeed = seed;
        TFightWorld world(start);
        world.Dialog->RunBackgroundGroupFight(world.Attacker, world.Defender);
        ASSERT_FALSE(world.Dialog->Fighting());
        background = {TestSupport::StateDigest(*world.Game->Scenario), Base::RandomSeed};
    }
    TOutcome shown;
    {
        Base::RandomSeed = seed;
        TFightWorld world(start);
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
