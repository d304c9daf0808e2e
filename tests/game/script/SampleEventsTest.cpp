// The sample campaign's first level with the commands that change the world: the
// ferryman's report rewards the hero, and Ashford changes hands with a sparkle
// over its gate once the ford has been seen.
#include "game/script/Conversation.h"
#include "game/script/QuestObjective.h"
#include "game/script/TalkSession.h"
#include "game/world/objects/Drawings.h"
#include "game/world/objects/MapGeometry.h"
#include "tests/support/TinyWorld.h"
#include "tests/support/UnitBuilder.h"
#include "tools/ConversationSource.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace GameData;

namespace {

constexpr int Human = 1;
// The person's side on the campaign's levels and the side holding Ashford.
constexpr uint8_t Side = 1, Raiders = 2;
constexpr uint32_t FordReport = 503, AshfordRises = 504, FordQuest = 40;

std::string SourceFile(const std::string& name) {
    std::ifstream file(VRN_SOURCE_DIR "/data/scripts/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class SampleEvents : public ::testing::Test {
protected:
    SampleEvents() {
        TUnitStats& stats = data.AddUnitPrototype(Human, "Human").Stats;
        stats.ExperienceBase() = 100;
        stats.ExperienceDelta() = 50;
        TestSupport::SetStat(stats, HITPOINTS, 20);
        InstallQuestObjectives(scenario);
        InstallConversations(scenario);
        group = world.AddGroup(Side, 1, 1);
        hero = group->AddUnit(TestSupport::MakeUnit(Human, 10), true, false);
        hero->IsHero = 1;
        ashford = world.AddCity(Raiders, 9, 9, "Ashford");
        auto quest = std::make_unique<TQuestObjective>();
        quest->ID = FordQuest;
        quest->SetScenario(&scenario);
        quest->GiveQuest(int32_t(hero->ID));
        scenario.Quests.Add(std::move(quest));
        for (const char* file : {"level1-conversations.txt", "level1-events.txt"})
            for (std::unique_ptr<TConversation>& c :
                 Tools::ReadConversationSource(SourceFile(file))) {
                c->SetScenario(&scenario);
                scenario.Conversations.Add(std::move(c));
            }
        // As the level builder binds them.
        scenario.Globals[11] = int32_t(ashford->ID);
        scenario.Globals[12] = ashford->X;
        scenario.Globals[13] = ashford->Y;
        scenario.BeginTurnOf(Side);
    }

    // Plays the conversation through to its end; the talk's error, empty when none.
    std::string Play(uint32_t id) {
        TTalkSession talk(*static_cast<TConversation*>(scenario.Conversations.FindByID(id)), group);
        for (TTalkPage page; talk.NextPage(page);) {
        }
        return talk.Error();
    }

    TestSupport::TTestGameData data;
    TestSupport::TTinyWorld world;
    TScenario& scenario = *world.Scenario;
    TGroup* group;
    TCity* ashford;
    TUnit* hero;
};

TEST_F(SampleEvents, TheFordReportRewardsTheHero) {
    scenario.Globals[10] = 1;
    const int16_t morale = hero->Effective.Morale();
    EXPECT_EQ(Play(FordReport), "");
    EXPECT_EQ(hero->Own.Experiences(), 50);
    ASSERT_EQ(hero->Effects.Count(), 1);
    EXPECT_EQ(hero->Effects[0]->Duration, 3);
    EXPECT_EQ(hero->Effective.Morale(), std::min(morale + 10, 100));
}

TEST_F(SampleEvents, AshfordChangesHandsOnceTheFordIsSeen) {
    scenario.TriggerConversations(Side, ceEveryTurn, 0);
    auto* rises = static_cast<TConversation*>(scenario.PopQueuedConversation());
    ASSERT_NE(rises, nullptr);
    EXPECT_EQ(rises->ID, AshfordRises);
    EXPECT_EQ(Play(AshfordRises), "");
    EXPECT_EQ(ashford->Owner, Raiders) << "nobody has seen the ford yet";
    EXPECT_FALSE(rises->DeleteRequested);

    scenario.Globals[10] = 1;
    const int objects = scenario.Objects.Count();
    EXPECT_EQ(Play(AshfordRises), "");
    EXPECT_EQ(ashford->Owner, Side);
    EXPECT_EQ(scenario.Objects.Count(), objects + 1);
    EXPECT_EQ(scenario.AnimationsDone, 0) << "the talk waits for the sparkle";
    bool found = false;
    for (const TMapObject* object : scenario.Objects)
        if (const auto* animation = dynamic_cast<const TAnimation*>(object))
            found = found ||
                    (animation->X == ashford->X && animation->Y == ashford->Y && animation->Sprite);
    EXPECT_TRUE(found);
    EXPECT_TRUE(rises->DeleteRequested);
}

} // namespace
