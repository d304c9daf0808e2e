// The campaign levels' computer-player guards and the conversations that steer them:
// a guard's task is stored with its player, holding the guarding group, and the
// conversation that names it releases it once played.
#include "game/ai/AIHandler.h"
#include "game/script/Conversation.h"
#include "game/world/groups/Group.h"
#include "tests/tools/LevelFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace LevelTests {
namespace {

using namespace GameData;

class LevelScripts : public testing::TestWithParam<int> {};

TEST_P(LevelScripts, GuardsHoldTheirCellsUntilTheirConversationsReleaseThem) {
    TLevelSet& set = TLevelSet::Get();
    const Tools::TLevelDescription& level = set.Description(GetParam());
    const auto scenario = LoadedScenario(set.ScenarioFile(GetParam()));
    EXPECT_EQ(scenario->Conversations.Count() > 0, !level.Conversations.empty());
    for (const Tools::TLevelGuard& guard : level.Guards) {
        SCOPED_TRACE(guard.Alias);
        ASSERT_EQ(scenario->GlobalAliasIndex(guard.Alias), guard.Global);
        const uint32_t taskID = uint32_t(scenario->Globals[size_t(guard.Global)]);
        TGroup* group = scenario->GroupAtCell(guard.X, guard.Y, nullptr);
        ASSERT_NE(group, nullptr);
        auto& handler =
            dynamic_cast<AIHandler::TAIHandler&>(*scenario->PlayerAt(group->OwnerIndex)->AI);
        const AIHandler::TAITask* task = handler.FindTaskByID(taskID);
        ASSERT_NE(task, nullptr);
        EXPECT_EQ(task->Type(), AIHandler::ttGuardCell);
        EXPECT_EQ(task->Name, guard.Alias);
        EXPECT_EQ(task->Target().Kind, AIHandler::tkCell);
        EXPECT_EQ(task->Target().X, guard.X);
        EXPECT_EQ(task->Target().Y, guard.Y);
        EXPECT_EQ(task->Target().Radius, guard.Radius);
        EXPECT_EQ(task->Units.Count(), group->UnitCount());
        for (int slot = 0; slot < group->UnitCount(); ++slot)
            EXPECT_TRUE(task->HasUnit(*group->UnitAt(slot))) << slot;

        // Every page that names the guard runs on the loaded level as the talk driver
        // would run it, and leaves the release on the guard's player.
        int pages = 0;
        for (TScenarioConversation* stored : scenario->Conversations) {
            auto& conversation = dynamic_cast<TConversation&>(*stored);
            for (size_t page = 0; page < conversation.Texts.size(); ++page)
                if (conversation.Texts[page].find(guard.Alias) != std::string::npos) {
                    ++pages;
                    conversation.GetText(int32_t(page));
                }
        }
        ASSERT_EQ(pages, 1);
        ASSERT_EQ(handler.ScriptStack.Count, 1);
        EXPECT_EQ(handler.ScriptStack.Lines[0], "DELETE_TASK " + std::to_string(taskID));
        EXPECT_TRUE(handler.ExecuteScriptCommands());
        EXPECT_EQ(handler.FindTaskByID(taskID), nullptr);
        for (int slot = 0; slot < group->UnitCount(); ++slot)
            EXPECT_FALSE(handler.FindAIUnit(group->UnitAt(slot))->Assigned) << slot;
    }
}

INSTANTIATE_TEST_SUITE_P(Campaign, LevelScripts, testing::Range(1, TLevelSet::LevelCount + 1));

} // namespace
} // namespace LevelTests
