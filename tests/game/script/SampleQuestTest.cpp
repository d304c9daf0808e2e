// The sample campaign's first quest, written in data/scripts, played in the tiny
// world: the hero reaches the ford, dies on the way, or comes too late.
#include "game/script/QuestObjective.h"
#include "game/world/objects/MapGeometry.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace GameData;

namespace {

constexpr int Hero = 1;
constexpr uint32_t FordArea = 1;

std::vector<ClassLib::AnsiString> ScriptLines(const std::string& path) {
    std::ifstream file(path);
    std::vector<ClassLib::AnsiString> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

class SampleQuest : public ::testing::Test {
protected:
    SampleQuest() {
        data.AddUnitPrototype(Hero, "Hero");
        group = world.AddGroup(0, 1, 1);
        hero = group->AddUnit(TestSupport::MakeUnit(Hero, 10), true, false);
        auto ford = std::make_unique<TArea>();
        ford->ID = FordArea;
        ford->AddCell({6, 6});
        ford->AddCell({7, 6});
        scenario.Areas.Add(std::move(ford));

        auto made = std::make_unique<TQuestObjective>();
        made->ID = 40;
        made->Name = "The Old Ford";
        made->SetScenario(&scenario);
        made->Check.SetScriptLines(ScriptLines(VRN_SOURCE_DIR "/data/scripts/level1-quest.txt"));
        quest = static_cast<TQuestObjective*>(scenario.Quests.Add(std::move(made)));
        quest->GiveQuest(int32_t(hero->ID));
        scenario.CurrentPlayerIndex = 0;
        scenario.Turn = 1;
        // Each side still playing, as the level builder leaves them.
        for (const size_t player : {0u, 1u, 2u})
            scenario.Globals[player] = 1;
    }

    void MoveGroupTo(int cellX, int cellY) {
        const TPoint centre = CellToPixelCentre(cellX, cellY);
        scenario.MoveObject(scenario.IndexOfObject(group), centre.X, centre.Y);
    }

    TestSupport::TTestGameData data;
    TestSupport::TTinyWorld world;
    TScenario& scenario = *world.Scenario;
    TGroup* group;
    TUnit* hero;
    TQuestObjective* quest;
};

} // namespace

TEST_F(SampleQuest, CompletedWhenTheHeroReachesTheFord) {
    ASSERT_FALSE(quest->Check.Script.empty());
    scenario.UpdateQuests();
    MoveGroupTo(5, 6);
    scenario.UpdateQuests();
    EXPECT_EQ(quest->State, qsActive);
    MoveGroupTo(7, 6);
    scenario.UpdateQuests();
    EXPECT_EQ(quest->State, qsCompleted);
    EXPECT_EQ(scenario.Globals[10], 1) << "the ferryman's count of sightings";
    // The level is won: player 1's global is the highest at 0.
    EXPECT_EQ(scenario.Globals[0], 1);
    EXPECT_EQ(scenario.Globals[1], 0);
    EXPECT_EQ(scenario.Globals[2], 1);
}

TEST_F(SampleQuest, FailedWhenTheHeroDies) {
    scenario.UpdateQuests();
    hero->Effective.Value(HITPOINTS) = 0;
    scenario.UpdateQuests();
    EXPECT_EQ(quest->State, qsFailed);
    EXPECT_EQ(scenario.Globals[0], 0) << "the level is lost";
    EXPECT_EQ(scenario.Globals[1], 1);
    EXPECT_EQ(scenario.Globals[10], 0);
}

TEST_F(SampleQuest, FailedWhenTurnTwelveHasPassed) {
    while (scenario.Turn <= 12) {
        scenario.UpdateQuests();
        ASSERT_EQ(quest->State, qsActive) << scenario.Turn;
        scenario.AdvanceTurn();
    }
    scenario.UpdateQuests();
    EXPECT_EQ(quest->State, qsFailed);
    EXPECT_EQ(scenario.Globals[0], 0) << "the level is lost";
    MoveGroupTo(6, 6);
    scenario.UpdateQuests();
    EXPECT_EQ(quest->State, qsFailed) << "too late";
    EXPECT_EQ(scenario.Globals[1], 1) << "no victory after the defeat";
}
