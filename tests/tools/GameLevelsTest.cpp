// The game object loads the campaign's levels from the "scenario" archive: a level is
// read into a scenario of its own (the loading screen's task) and taken over only on
// the main thread afterwards; a file that fails to load leaves the running game alone.
#include "engine/widgets/DXWindowSystem.h"
#include "platform/win32/Desktop.h"
#include "tests/support/ErrorOf.h"
#include "tests/tools/LevelFixture.h"
#include "ui/game/Game.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace LevelTests {
namespace {

class GameLevelsTest : public ::testing::Test {
protected:
    GameLevelsTest() {
        TLevelSet& levels = TLevelSet::Get();
        Data2::TGlobalData& global = *Data2::GlobalData;
        global.LevelCount = TLevelSet::LevelCount;
        for (int level = 1; level <= TLevelSet::LevelCount; ++level) {
            levels.ScenarioFile(level); // written to the archive's folder
            const std::string name = levels.Description(level).Stem + ".scn";
            std::strncpy(global.LevelFiles[level - 1], name.c_str(), Data2::FileNameSize - 1);
        }
        Game.Init();
    }

    Win32::TDesktop Desktop;
    Win32::TScopedDesktop ScopedDesktop{Desktop};
    DXWin::TDXWindowSystem Windows;
    Main::TGame Game{&Windows};
};

TEST_F(GameLevelsTest, TheNextLevelIsReadAsideAndTakenOverOnTheMainThread) {
    Game.LoadScenario(Data2::GlobalData->LevelFiles[0], 1);
    ASSERT_TRUE(Game.HoldsScenario());
    const GameData::TScenario* first = Game.Scenario.get();
    EXPECT_EQ(Game.Level, 1);

    std::thread task([this] { Game.LoadNextLevel(); });
    task.join();
    // The running game is untouched until the main thread takes the new level.
    EXPECT_EQ(Game.Scenario.get(), first);
    EXPECT_EQ(Game.Level, 1);
    ASSERT_TRUE(Game.TakeNextLevel());
    EXPECT_NE(Game.Scenario.get(), nullptr);
    EXPECT_EQ(Game.Level, 2);
    EXPECT_FALSE(Game.TakeNextLevel());
    // The game's services came with it: the stored quests were made by the scripts.
    EXPECT_TRUE(bool(Game.Scenario->Quests.Factory));
}

TEST_F(GameLevelsTest, AFileThatFailsToLoadLeavesTheRunningGameAlone) {
    Game.LoadScenario(Data2::GlobalData->LevelFiles[0], 1);
    const GameData::TScenario* running = Game.Scenario.get();
    EXPECT_THROW(Game.LoadScenario("missing.scn", 2), std::exception);
    EXPECT_EQ(Game.Scenario.get(), running);
    EXPECT_EQ(Game.Level, 1);

    Game.Level = TLevelSet::LevelCount;
    EXPECT_EQ(TestSupport::ErrorOf([&] { Game.LoadNextLevel(); }), "The campaign has no level 4.");
    EXPECT_FALSE(Game.TakeNextLevel());
    EXPECT_EQ(Game.Scenario.get(), running);
}

} // namespace
} // namespace LevelTests
